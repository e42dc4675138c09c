// Shared state of the entity geometry module.
#pragma once

#include "common/LastErrorText.h"

extern LastErrorText GeometryLastError;
