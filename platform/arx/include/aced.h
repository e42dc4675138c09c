// The host's editor functions: commands and menus, system variables, command-line output,
// input prompts and result buffers. All return RTNORM on success unless said otherwise.
#pragma once

#include "accmd.h"
#include "adsdef.h"
#include "win32.h"

// Runs host commands with their answers: pairs of a type (RTSTR, RTREAL, RTSHORT, RTLONG,
// RTPOINT, RT3DPOINT, RTENAME) and a value, ended by RTNONE. An empty string is Enter.
// RTERROR when the first word names no command.
int acedCommand(int rtype, ...);
int acedCmd(const resbuf* args);

// Changes the menu bar: "P<n>=+<group>.<pop>" inserts a pop-up of a loaded menu group at
// position n, "P<n>=-" removes the one there. RTERROR when the group or pop-up is unknown.
int acedMenuCmd(const ACHAR* command);

// Reads a system variable into result (its string allocated for acutRelRb); RTERROR for an
// unknown name. Writing checks type, range and read-only state: RTERROR when refused.
int acedGetVar(const ACHAR* name, resbuf* result);
int acedSetVar(const ACHAR* name, const resbuf* value);

// Prints on the command line; %s takes a wide string. Returns the characters printed.
int acutPrintf(const ACHAR* format, ...);

// Result buffers: acutNewRb gives one of the type, zeroed; acutRelRb frees a whole list and
// the strings of its RTSTR members.
resbuf* acutNewRb(int type);
int acutRelRb(resbuf* list);
ACHAR* acutNewString(const ACHAR* text);

HWND adsw_acadMainWnd();

// Prompts. Each returns RTNORM with the value, RTNONE for an empty answer where allowed,
// RTCAN when cancelled, RTKWORD when a keyword of acedInitGet was given (acedGetInput tells
// which), RTERROR when the input cannot go on.
int acedInitGet(int flags, const ACHAR* keywords);
int acedGetKword(const ACHAR* prompt, ACHAR* result);
int acedGetKword(const ACHAR* prompt, ACHAR* result, size_t resultLength);
int acedGetInput(ACHAR* result);
int acedGetInput(ACHAR* result, size_t resultLength);
int acedGetString(int cronly, const ACHAR* prompt, ACHAR* result);
int acedGetString(int cronly, const ACHAR* prompt, ACHAR* result, size_t resultLength);
int acedGetInt(const ACHAR* prompt, int* result);
int acedGetReal(const ACHAR* prompt, ads_real* result);
int acedGetDist(const ads_point base, const ACHAR* prompt, ads_real* result);
int acedGetPoint(const ads_point base, const ACHAR* prompt, ads_point result);
int acedGetCorner(const ads_point base, const ACHAR* prompt, ads_point result);
