#include "geometry/GeometryModule.h"
#include "toolkit/LastError.h"

LastErrorText GeometryLastError;

CString GetGeometryError() { return GeometryLastError.Get(); }
void SetGeometryError(const CString& text) { GeometryLastError.Set(text); }
