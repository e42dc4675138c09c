// The resources that plxrc compiles into a module: dialog templates and string tables, laid out
// as the classic templates are (styles, positions and sizes in dialog units, controls in
// template order). Every module with resources exports one table under kResourceTableSymbol;
// MFC finds it by the module's instance handle, which is the module's dlopen handle (null is
// the main program).
#pragma once

#include "win32.h"

namespace plx::mfc {

struct DialogItemResource {
  DWORD style;  // WS_CHILD and WS_VISIBLE included, as the compiler adds them
  DWORD exStyle;
  short x, y, cx, cy;
  int id;                    // -1 for IDC_STATIC
  const wchar_t* className;  // "Button", "Static", "msctls_trackbar32", ... never null
  const wchar_t* text;       // never null; empty when the control has none
};

struct DialogResource {
  UINT id;
  BOOL extended;  // DIALOGEX
  DWORD style;
  DWORD exStyle;
  short x, y, cx, cy;
  const wchar_t* caption;   // never null
  WORD pointSize;           // 0 without a FONT statement
  const wchar_t* typeface;  // never null
  const DialogItemResource* items;
  int itemCount;
};

struct StringResource {
  UINT id;
  const wchar_t* text;
};

struct ResourceTable {
  UINT version;  // kResourceTableVersion
  const DialogResource* dialogs;
  int dialogCount;
  const StringResource* strings;
  int stringCount;
};

inline constexpr UINT kResourceTableVersion = 1;
inline constexpr const char* kResourceTableSymbol = "PlxResourceTable";

// The table of one module, or null when the module has none (or is of another version).
const ResourceTable* ModuleResources(HINSTANCE module);

// Looks as MFC does: in the current resource handle (AfxGetResourceHandle), then along the
// chain of extension libraries, most recent first. Null when no module holds the resource.
// module, when not null, receives the module that held it.
const DialogResource* FindDialogResource(UINT id, HINSTANCE* module = nullptr);
const wchar_t* FindStringResource(UINT id, HINSTANCE* module = nullptr);

}  // namespace plx::mfc
