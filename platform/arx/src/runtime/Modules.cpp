// Loading modules as the host does: dlopen, the version handshake, the library entry function
// (process attach), kInitAppMsg; and the reverse at unload. A module stays loaded only while
// it has unlocked itself (unlockApplication) for unloading.
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "Session.h"
#include "aced.h"
#include "rxdefs.h"
#include "rxdlinkr.h"
#include "win32/text.h"
#include "win32/transcript.h"

namespace plx::host {
namespace {

typedef BOOL (*DllMainFn)(HINSTANCE, DWORD, LPVOID);

struct Module {
  std::wstring path;  // as found on disk
  std::wstring name;  // file name
  void* handle = nullptr;
  AcRxEntryPointFn entry = nullptr;
  DllMainFn dllMain = nullptr;
  bool unlocked = false;
  bool mdiAware = false;
};

std::vector<Module>& Modules() {
  static std::vector<Module> modules;
  return modules;
}

Module* FindByHandle(void* handle) {
  for (Module& m : Modules())
    if (m.handle == handle) return &m;
  return nullptr;
}

std::wstring FileName(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"/\\");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool Exists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// A bare name is looked for in the current folder, then beside the host program; ".arx" is
// added when the name has no extension.
std::string Resolve(const std::wstring& typed) {
  std::wstring name = typed;
  if (FileName(name).find(L'.') == std::wstring::npos) name += L".arx";
  std::string path = NativePath(name);
  if (Exists(path) || path.find('/') != std::string::npos) return path;
  char exe[4096];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n > 0) {
    std::string beside(exe, static_cast<size_t>(n));
    beside = beside.substr(0, beside.rfind('/') + 1) + path;
    if (Exists(beside)) return beside;
  }
  return path;
}

void Detach(Module& m) {
  if (m.dllMain) m.dllMain(reinterpret_cast<HINSTANCE>(m.handle), DLL_PROCESS_DETACH, nullptr);
  dlclose(m.handle);
}

void ArxLoadCommand() {
  std::optional<std::wstring> path = ReadInput(L"Enter ARX/DBX file name: ");
  if (!path || path->empty()) return;
  std::wstring error;
  if (!LoadModule(*path, error)) WriteTranscript(error + L"\n");
}

void ArxUnloadCommand() {
  std::optional<std::wstring> name = ReadInput(L"Enter ARX/DBX file name to unload: ");
  if (!name || name->empty()) return;
  std::wstring error;
  if (!UnloadModule(*name, error)) WriteTranscript(error + L"\n");
  else WriteTranscript(FileName(*name) + L" successfully unloaded.\n");
}

class DynamicLinker final : public AcRxDynamicLinker {
 public:
  bool unlockApplication(void* appId) const override {
    Module* m = FindByHandle(appId);
    if (m) m->unlocked = true;
    return m != nullptr;
  }
  bool lockApplication(void* appId) const override {
    Module* m = FindByHandle(appId);
    if (m) m->unlocked = false;
    return m != nullptr;
  }
  bool isApplicationLocked(const ACHAR* name) const override {
    for (const Module& m : Modules())
      if (name && (EqualsNoCase(m.name, name) || m.path == name)) return !m.unlocked;
    return false;
  }
  bool registerAppMDIAware(void* appId) const override {
    Module* m = FindByHandle(appId);
    if (m) m->mdiAware = true;
    return m != nullptr;
  }
};

}  // namespace

bool LoadModule(const std::wstring& typed, std::wstring& error) {
  const std::string path = Resolve(typed);
  const std::wstring widePath = WideFromUtf8(path);
  const std::wstring name = FileName(widePath);
  for (const Module& m : Modules())
    if (EqualsNoCase(m.name, name)) {
      error = name + L" is already loaded.";
      return false;
    }
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    error = L"AcRxDynamicLinker failed to load '" + widePath + L"'" +
            (why ? L": " + WideFromUtf8(why) : std::wstring());
    return false;
  }
  auto version = reinterpret_cast<AcRxGetApiVersionFn>(dlsym(handle, "acrxGetApiVersion"));
  auto entry = reinterpret_cast<AcRxEntryPointFn>(dlsym(handle, "acrxEntryPoint"));
  if (!version || !entry || version() != ACRX_API_VERSION) {
    dlclose(handle);
    error = L"AcRxDynamicLinker failed to load '" + widePath + L"': " +
            (!version || !entry ? L"not an ObjectARX application." : L"built for another host version.");
    return false;
  }
  Module m;
  m.path = widePath;
  m.name = name;
  m.handle = handle;
  m.entry = entry;
  m.dllMain = reinterpret_cast<DllMainFn>(dlsym(handle, "DllMain"));
  Modules().push_back(m);
  if (m.dllMain) m.dllMain(reinterpret_cast<HINSTANCE>(handle), DLL_PROCESS_ATTACH, nullptr);
  if (entry(AcRx::kInitAppMsg, handle) != AcRx::kRetOK) {
    Modules().pop_back();
    Detach(m);
    error = L"AcRxDynamicLinker failed to load '" + widePath + L"': initialization failed.";
    return false;
  }
  return true;
}

bool UnloadModule(const std::wstring& typed, std::wstring& error) {
  auto& modules = Modules();
  std::wstring name = FileName(typed);
  if (name.find(L'.') == std::wstring::npos) name += L".arx";
  auto it = std::find_if(modules.begin(), modules.end(),
                         [&](const Module& m) { return EqualsNoCase(m.name, name) || m.path == typed; });
  if (it == modules.end()) {
    error = name + L" is not loaded.";
    return false;
  }
  if (!it->unlocked) {
    error = L"Unable to unload " + it->name + L": the application is locked.";
    return false;
  }
  Module m = *it;
  m.entry(AcRx::kUnloadAppMsg, m.handle);
  modules.erase(std::find_if(modules.begin(), modules.end(), [&](const Module& x) { return x.handle == m.handle; }));
  Detach(m);
  return true;
}

std::vector<std::wstring> LoadedModules() {
  std::vector<std::wstring> names;
  for (const Module& m : Modules()) names.push_back(m.path);
  return names;
}

void UnloadAllModules() {
  // Last loaded first; the host unloads locked modules too when it ends.
  while (!Modules().empty()) {
    Module m = Modules().back();
    m.entry(AcRx::kUnloadAppMsg, m.handle);
    Modules().pop_back();
    Detach(m);
  }
}

void RegisterModuleCommands() {
  AddHostCommand(L"ARXLOAD", ArxLoadCommand);
  AddHostCommand(L"ARXUNLOAD", ArxUnloadCommand);
}

}  // namespace plx::host

ACRX_DEFINE_MEMBERS(AcRxDynamicLinker, AcRxObject)

AcRxDynamicLinker* acrxDynamicLinkerPtr() {
  static auto* linker = new plx::host::DynamicLinker;
  return linker;
}
