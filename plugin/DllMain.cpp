// The library entry function: keeps the module's instance handle, attaches the module to MFC
// as an extension library so that its dialog resource is found, and starts the UI library.
#include "PlovexApp.h"
#include "acdocman.h"
#include "afx.h"

HINSTANCE ModuleInstance = nullptr;

namespace {

AFX_EXTENSION_MODULE PlovexExtension;
HINSTANCE PreviousResource = nullptr;

// The per-drawing data manager of the SDK; the module keeps nothing per drawing.
struct CDocData {};
AcApDataManager<CDocData> DocData;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    ModuleInstance = instance;
    if (!PlovexExtension.bInitialized && AfxInitExtensionModule(PlovexExtension, instance)) {
      PreviousResource = AfxGetResourceHandle();
      PlovexExtension.hResource = instance;
      new CDynLinkLibrary(PlovexExtension);
    }
    InitAcUiDLL();
  } else if (reason == DLL_PROCESS_DETACH) {
    if (PlovexExtension.bInitialized) AfxTermExtensionModule(PlovexExtension, FALSE);
  }
  return TRUE;
}
