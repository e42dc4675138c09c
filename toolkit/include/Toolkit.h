// The toolkit as the export commands see it.
#pragma once

#include "toolkit/LastError.h"
#include "toolkit/Release.h"
