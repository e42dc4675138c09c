#pragma once

#include "acadstrc.h"
#include "afx.h"

// The words of a host error status ("Success" for eOk, "Was Erased" for eWasErased); the empty
// text for a code without words, above 432, or negative.
CString ErrorStatusText(Acad::ErrorStatus status);
