// Shared state of the mesh and solid conversion module.
#pragma once

#include "arx.h"
#include "common/LastErrorText.h"

extern LastErrorText MeshLastError;

// A new 3D solid outside any database that holds the ACIS body of a clone of body; the caller
// closes it. Null when the body cannot be cloned ("Error processing solid") or holds nothing
// (no text).
AcDb3dSolid* SolidOfBody(AcDbBody* body);
