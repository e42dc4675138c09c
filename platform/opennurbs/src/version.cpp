#include "opennurbs/version.h"

int ON_Version() { return 200707180; }
