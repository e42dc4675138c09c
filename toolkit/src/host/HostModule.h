// Shared state of the host utilities and selection module.
#pragma once

#include "afx.h"
#include "common/LastErrorText.h"
#include "toolkit/Release.h"

extern LastErrorText HostLastError;
extern const CString ReleaseNames[kAcadReleaseCount];
