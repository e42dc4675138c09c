// Shared state of the mesh and solid conversion module.
#pragma once

#include "common/LastErrorText.h"

extern LastErrorText MeshLastError;
