// The host's global geometry context.
#pragma once

#include "getol.h"
