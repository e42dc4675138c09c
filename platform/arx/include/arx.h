// The host SDK stand-in: one header for the module's code.
#pragma once

#include "win32.h"
#include "adesk.h"
#include "acadstrc.h"
#include "adsdef.h"
#include "rxobject.h"
#include "rxdefs.h"
#include "rxdlinkr.h"
#include "accmd.h"
#include "aced.h"
#include "acdocman.h"
#include "acui.h"
#include "rxarxapp.h"
