// MFC stand-in, Unicode build: CString and its kin, the extension-module start-up, windows,
// dialogs and the file dialog.
#pragma once

#include "win32.h"
#include "afxstr.h"
#include "afxcoll.h"
#include "afxdll.h"
#include "afxwin.h"
#include "afxdlgs.h"
