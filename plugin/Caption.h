// The product caption, and the bodies of the help and About commands.
#pragma once

#include "win32.h"

constexpr int kProductCaptionSize = 256;

// The caption last built: "Plovex for <release name> version 1.0".
extern wchar_t ProductCaption[kProductCaptionSize];

void BuildCaption();
void ShowPlovexHelp();
void ShowPlovexAbout();
