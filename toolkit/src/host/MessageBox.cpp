#include <cstdarg>

#include "aced.h"
#include "toolkit/SysVars.h"

void ShowFormattedMessage(CString caption, UINT type, const wchar_t* format, ...) {
  CString text;
  va_list args;
  va_start(args, format);
  text.FormatV(format, args);
  va_end(args);
  MessageBoxW(adsw_acadMainWnd(), text, caption, type);
}
