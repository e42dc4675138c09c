// MFC's module state as far as an extension library sees it: the current resource handle and
// the chain of resource modules that CDynLinkLibrary objects join.
#include <algorithm>
#include <vector>

#include "afxdll.h"

namespace {

struct ModuleState {
  HINSTANCE resource = nullptr;
  std::vector<CDynLinkLibrary*> chain;  // most recent last
};

ModuleState& State() {
  static ModuleState state;
  return state;
}

}  // namespace

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module) {
  if (!module) return FALSE;
  state.hModule = module;
  state.hResource = module;
  state.bInitialized = TRUE;
  return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL) {
  auto& chain = State().chain;
  for (CDynLinkLibrary* link : std::vector<CDynLinkLibrary*>(chain))
    if (link->m_hModule == state.hModule) delete link;
  state.bInitialized = FALSE;
}

HINSTANCE AfxGetResourceHandle() { return State().resource; }
void AfxSetResourceHandle(HINSTANCE resource) { State().resource = resource; }

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL system)
    : m_hModule(state.hModule), m_hResource(state.hResource), m_bSystem(system) {
  State().chain.push_back(this);
}

CDynLinkLibrary::~CDynLinkLibrary() {
  auto& chain = State().chain;
  chain.erase(std::remove(chain.begin(), chain.end(), this), chain.end());
}

int AfxResourceModuleCount() { return static_cast<int>(State().chain.size()); }

HMODULE AfxResourceModuleAt(int index) {
  const auto& chain = State().chain;
  if (index < 0 || static_cast<size_t>(index) >= chain.size()) return nullptr;
  return chain[chain.size() - 1 - static_cast<size_t>(index)]->m_hResource;
}
