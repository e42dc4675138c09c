#include "common/LastErrorText.h"
#include "mesh/MeshModule.h"
#include "toolkit/LastError.h"

LastErrorText MeshLastError;

CString GetMeshError() { return MeshLastError.Get(); }
void SetMeshError(const CString& text) { MeshLastError.Set(text); }
