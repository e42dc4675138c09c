// SCRIPT: runs the lines of a script file as if typed, before the input that called it goes on.
#include <memory>
#include <vector>

#include "Session.h"
#include "win32/transcript.h"

namespace plx::host {
namespace {

// The scripts started in this session; their input stays on the stack, exhausted, until the
// session ends.
std::vector<std::unique_ptr<InputSource>>& Scripts() {
  static std::vector<std::unique_ptr<InputSource>> scripts;
  return scripts;
}

void ScriptCommand() {
  std::optional<std::wstring> path = ReadInput(L"Enter script file name: ");
  if (!path || path->empty()) return;
  std::wstring error;
  std::unique_ptr<InputSource> script = MakeScriptFileInput(*path, error);
  if (!script) {
    WriteTranscript(error + L"\n");
    return;
  }
  PushScriptInput(script.get());
  Scripts().push_back(std::move(script));
}

}  // namespace

void RegisterScriptCommand() { AddHostCommand(L"SCRIPT", ScriptCommand); }

void ResetScripts() { Scripts().clear(); }

}  // namespace plx::host
