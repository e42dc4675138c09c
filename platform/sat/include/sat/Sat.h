// ACIS SAT and SAB files: the umbrella header of the stand-in.
#pragma once

#include "sat/Binary.h"
#include "sat/Records.h"
#include "sat/Text.h"
