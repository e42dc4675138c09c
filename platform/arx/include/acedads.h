// The editor's selection functions: selection sets and single picks over the command line,
// and erasing by selection name.
//
// acedSSGet modes: null or "" asks "Select objects: " until an empty line; ":$" asks with the
// caller's prompt pair (pt1: two wide strings, the adding and the removing prompt); ":S" ends
// after the first selection that finds something; "A" or "X" takes every entity of the
// drawing without asking; "L" the last entity; "P" the previous set; "W" and "C" the window
// and crossing between the points pt1 and pt2. A leading "_" is ignored.
// At the prompt the user gives: ALL, Last, Previous, Window or Crossing (then two corners),
// BOX, Add, Remove, Undo, SIngle, AUto, a point (the entity there, or else the corner of an
// implied window), or an entity handle in hex ("2A", or "#2A" where a handle reads as a
// keyword). An empty line finishes.
// filter: result buffers of DXF group codes that every entity must match: 0 (or RTDXF0) the
// type name ("LINE", "3DFACE", "POLYLINE"; comma lists and * ? wildcards), 8 the layer name
// (the same patterns), 62 the colour index.
// Results: RTNORM with a new set in ss (free with acedSSFree); RTCAN when cancelled; RTERROR
// when nothing was selected or the mode is unknown (no set is made).
#pragma once

#include "adsdef.h"

int acedSSGet(const ACHAR* str, const void* pt1, const void* pt2, const resbuf* filter, ads_name ss);
int acedSSFree(const ads_name sname);
int acedSSLength(const ads_name sname, Adesk::Int32* len);
// The entity at index i (0-based); RTERROR past the end or for an unknown set.
int acedSSName(const ads_name ss, Adesk::Int32 i, ads_name entres);
// Null ename: a new empty set. Null sname: a new set holding ename. Otherwise ename joins
// sname, and result names sname.
int acedSSAdd(const ads_name ename, const ads_name sname, ads_name result);
int acedSSDel(const ads_name ename, const ads_name ss);
// RTNORM when ename is in the set, else RTERROR.
int acedSSMemb(const ads_name ename, const ads_name ss);

// One pick: asks str (or "Select object: ") for an entity handle or a point. RTNORM with the
// entity and the pick point; RTERROR when nothing is there (or the line is empty); RTCAN
// when cancelled; RTKWORD for a keyword of acedInitGet.
int acedEntSel(const ACHAR* str, ads_name entres, ads_point ptres);

// Erases the entity, or restores it when it is erased. RTERROR for a name that names no
// entity or an entity that is open.
int acdbEntDel(const ads_name ent);
