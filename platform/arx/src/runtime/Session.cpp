// A host session: what a fresh start of the host sets up, and what its end takes down.
#include "Session.h"
#include "arxhost/Modeller.h"

namespace plx::host {

void StartSession(const SessionOptions& options) {
  EndSession();
  ResetSysVars(options);
  RegisterSysVarCommands();
  RegisterMenuCommands();
  RegisterModuleCommands();
  RegisterScriptCommand();
  ResetDrawing();
  RegisterDrawingCommands();
  RegisterSolidCommands();
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
