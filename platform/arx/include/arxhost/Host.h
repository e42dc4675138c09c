// The host runtime behind the SDK stand-in, for the host program and for tests: a session with
// its input channel, command processor, system variables, menus and loaded modules.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "accmd.h"

namespace plx::host {

// Where the answers to prompts come from: script lines or a terminal.
class InputSource {
 public:
  virtual ~InputSource() = default;
  // The next line without its line end; nullopt at the end of the input.
  virtual std::optional<std::wstring> ReadLine() = 0;
  // A script's input is echoed after its prompt on the transcript; a terminal echoes itself.
  virtual bool EchoesInput() const = 0;
};

std::unique_ptr<InputSource> MakeScriptInput(const std::vector<std::wstring>& lines);
std::unique_ptr<InputSource> MakeScriptInputFromText(std::wstring_view text);
// nullptr with the reason in error when the file cannot be read.
std::unique_ptr<InputSource> MakeScriptFileInput(const std::wstring& path, std::wstring& error);
std::unique_ptr<InputSource> MakeTerminalInput();

struct SessionOptions {
  // First letter of _VERNUM; empty makes _VERNUM empty.
  std::wstring release = L"F";
};

// Starts a fresh session: system variables at their defaults, the host's own commands
// registered, no menu, no module. Ends any earlier session first.
void StartSession(const SessionOptions& options = {});
// Unloads every module (kUnloadAppMsg, library detach) and clears the session.
void EndSession();

// Gives the session its input until the matching PopInput; sources nest (acedCommand's answers
// stand above the script).
void PushInput(InputSource* source);
void PopInput();

// Asks one input on the command line. nullopt: cancelled ("^C" or Esc typed, or the input ended).
// An input "'NAME" runs the command NAME there when it is registered ACRX_CMD_TRANSPARENT (its
// prompts marked ">>", then "Resuming ... command."), or is refused with the host's message
// when it is not; either way the prompt is asked again.
std::optional<std::wstring> ReadInput(const std::wstring& prompt);

// Runs one command by global name ("_LINE") or local name ("LINE"), any case; a leading '.'
// or '\'' is ignored. Prints the host's message and returns false for an unknown name.
bool RunCommand(const std::wstring& name);
// A host command that could not do its work says so here; acedCommand then answers RTERROR.
void FailCurrentCommand();
// Reads "Command: " inputs from the current input until it ends.
void RunCommandLoop();

// Modules: load by path (ARXLOAD), unload by path or file name (ARXUNLOAD). False with the
// host's message in error.
bool LoadModule(const std::wstring& path, std::wstring& error);
bool UnloadModule(const std::wstring& nameOrPath, std::wstring& error);
std::vector<std::wstring> LoadedModules();

// The menu bar: inserted pop-ups by position.
struct MenuBarEntry {
  int position;
  std::wstring group;
  std::wstring popup;  // alias as written in the menu file, e.g. "POP1"
  std::wstring title;
};
std::vector<MenuBarEntry> MenuBar();
std::vector<std::wstring> LoadedMenuGroups();

// System variables for tests: remove one (so it cannot be read) or set a read-only one.
void RemoveSysVar(const std::wstring& name);
void ForceSysVarString(const std::wstring& name, const std::wstring& value);

// Counters of calls that have no other visible effect.
int InitAcUiDllCalls();
int ResourceHandleDepth();

}  // namespace plx::host
