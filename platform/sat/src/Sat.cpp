// ACIS SAT and SAB files.
#include "sat/Sat.h"
