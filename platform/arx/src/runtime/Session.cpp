// A host session: what a fresh start of the host sets up, and what its end takes down.
#include <malloc.h>

#include <mutex>

#include "Session.h"
#include "arxhost/Modeller.h"

namespace plx::host {

namespace {

// A drawing of a million entities makes and drops selection lists of several megabytes per
// command; returning that memory to the system after each one makes every next command fault
// it in again page by page. The host keeps what it freed for reuse, as a CAD host does.
void KeepFreedMemory() {
  static std::once_flag once;
  std::call_once(once, [] {
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
  });
}

}  // namespace

void StartSession(const SessionOptions& options) {
  KeepFreedMemory();
  EndSession();
  ResetSysVars(options);
  RegisterSysVarCommands();
  RegisterMenuCommands();
  RegisterModuleCommands();
  RegisterScriptCommand();
  ResetDrawing();
  RegisterDrawingCommands();
  RegisterSolidCommands();
  RegisterAcisOutCommands();
  RegisterDxfCommands();
}

void EndSession() {
  // Modules first: their unload handlers still talk to the host.
  UnloadAllModules();
  ResetDrawing();
  ResetCommands();
  ResetMenus();
  ResetInput();
  ResetScripts();
  ResetUiCounters();
}

}  // namespace plx::host
