#include "host/HostModule.h"
#include "toolkit/LastError.h"

LastErrorText HostLastError;

CString GetHostError() { return HostLastError.Get(); }
void SetHostError(const CString& text) { HostLastError.Set(text); }
