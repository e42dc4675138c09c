// The start-up of an MFC extension library: the module record, attaching it to MFC's chain of
// resource modules (CDynLinkLibrary) and the current resource handle.
#pragma once

#include "win32.h"

struct AFX_EXTENSION_MODULE {
  BOOL bInitialized = FALSE;
  HMODULE hModule = nullptr;
  HMODULE hResource = nullptr;
};

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module);
void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL all = FALSE);

// The module whose resources MFC looks in first.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE resource);

// Joins the chain of modules that MFC searches for resources, until destroyed.
class CDynLinkLibrary {
 public:
  explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL system = FALSE);
  CDynLinkLibrary(const CDynLinkLibrary&) = delete;
  CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;
  virtual ~CDynLinkLibrary();

  HMODULE m_hModule;
  HMODULE m_hResource;
  BOOL m_bSystem;
};

// The modules of the resource chain, most recent first; for the dialog and string loaders.
int AfxResourceModuleCount();
HMODULE AfxResourceModuleAt(int index);
