// Finding a module's compiled resources. An instance handle is the module's dlopen handle (null
// is the main program); its table is the exported symbol PlxResourceTable. dlsym on a handle
// also searches the module's dependencies, so a hit counts only when the symbol lies in the
// module itself, or a module without resources would show those of a library it uses.
#include "mfc/resources.h"

#include <dlfcn.h>
#include <link.h>

#include "afxdll.h"
#include "afxstr.h"

namespace plx::mfc {
namespace {

struct link_map* LinkMapOf(void* handle) {
  struct link_map* map = nullptr;
  if (!handle || dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0) return nullptr;
  return map;
}

// glibc's dlopen handle is the module's link map: a handle counts only when it is one of the
// loaded modules, so that a stray value never reaches dlsym.
bool IsLoadedModule(void* handle) {
  void* self = dlopen(nullptr, RTLD_NOW);
  struct link_map* map = LinkMapOf(self);
  dlclose(self);
  while (map && map->l_prev) map = map->l_prev;
  for (; map; map = map->l_next)
    if (static_cast<void*>(map) == handle) return true;
  return false;
}

template <class Found>
const auto* Search(Found find, HINSTANCE* module) {
  using Result = decltype(find(ModuleResources(nullptr)));
  auto visit = [&](HINSTANCE candidate) -> Result {
    const ResourceTable* table = ModuleResources(candidate);
    Result hit = table ? find(table) : nullptr;
    if (hit && module) *module = candidate;
    return hit;
  };
  if (Result hit = visit(AfxGetResourceHandle())) return hit;
  for (int i = 0; i < AfxResourceModuleCount(); ++i)
    if (Result hit = visit(AfxResourceModuleAt(i))) return hit;
  return Result(nullptr);
}

}  // namespace

const ResourceTable* ModuleResources(HINSTANCE module) {
  if (module && !IsLoadedModule(module)) return nullptr;
  void* handle = module ? static_cast<void*>(module) : dlopen(nullptr, RTLD_NOW);
  if (!handle) return nullptr;
  void* symbol = dlsym(handle, kResourceTableSymbol);
  struct link_map* owner = nullptr;
  Dl_info info;
  const bool found = symbol &&
                     dladdr1(symbol, &info, reinterpret_cast<void**>(&owner), RTLD_DL_LINKMAP) &&
                     owner && owner == LinkMapOf(handle);
  if (!module) dlclose(handle);
  if (!found) return nullptr;
  const auto* table = static_cast<const ResourceTable*>(symbol);
  return table->version == kResourceTableVersion ? table : nullptr;
}

const DialogResource* FindDialogResource(UINT id, HINSTANCE* module) {
  return Search(
      [id](const ResourceTable* table) -> const DialogResource* {
        for (int i = 0; i < table->dialogCount; ++i)
          if (table->dialogs[i].id == id) return &table->dialogs[i];
        return nullptr;
      },
      module);
}

const wchar_t* FindStringResource(UINT id, HINSTANCE* module) {
  return Search(
      [id](const ResourceTable* table) -> const wchar_t* {
        for (int i = 0; i < table->stringCount; ++i)
          if (table->strings[i].id == id) return table->strings[i].text;
        return nullptr;
      },
      module);
}

}  // namespace plx::mfc

BOOL CString::LoadString(UINT nID) {
  const wchar_t* text = plx::mfc::FindStringResource(nID);
  if (!text) return FALSE;
  *this = text;
  return TRUE;
}
