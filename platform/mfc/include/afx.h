// MFC stand-in, Unicode build: CString and its kin, and the extension-module start-up.
#pragma once

#include "win32.h"
#include "afxstr.h"
#include "afxcoll.h"
#include "afxdll.h"
