// Shared state of the host utilities and selection module.
#pragma once

#include "afx.h"
#include "common/LastErrorText.h"
#include "dbsubeid.h"
#include "toolkit/Release.h"

extern LastErrorText HostLastError;
extern const CString ReleaseNames[kAcadReleaseCount];

// The null object id with the null sub-entity id: highlighting with it marks the whole entity.
extern const AcDbFullSubentPath kWholeEntity;
