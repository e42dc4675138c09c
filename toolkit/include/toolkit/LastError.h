// The reason of each toolkit module's most recent failure. Getters return a copy; reading
// does not clear a text, and no operation clears one: it is empty only until the first failure.
#pragma once

#include "afx.h"

CString GetMeshError();      // mesh and solid conversion
CString GetGeometryError();  // entity geometry readers and writers
CString GetHostError();      // host utilities and selection

void SetMeshError(const CString& text);
void SetGeometryError(const CString& text);
void SetHostError(const CString& text);
