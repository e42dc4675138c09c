// Strings that the host hands out (AcDbEntity::layer, AcDbSymbolTableRecord::getName) are the
// caller's to release with acutDelString.
#pragma once

#include "adesk.h"

void acutDelString(ACHAR*& text);
// Replaces text by a copy of newText (null frees it); returns 0 (eOk).
int acutUpdString(const ACHAR* newText, ACHAR*& text);
