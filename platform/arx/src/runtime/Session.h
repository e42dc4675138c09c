// Private state of the host runtime, shared by its source files.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "arxhost/Host.h"

namespace plx::host {

// Answers handed to acedCommand, consumed before the input below them.
class TokenInput final : public InputSource {
 public:
  explicit TokenInput(std::vector<std::wstring> tokens) : tokens_(std::move(tokens)) {}
  std::optional<std::wstring> ReadLine() override {
    if (next_ >= tokens_.size()) return std::nullopt;
    return tokens_[next_++];
  }
  bool EchoesInput() const override { return true; }
  bool Exhausted() const { return next_ >= tokens_.size(); }

 private:
  std::vector<std::wstring> tokens_;
  size_t next_ = 0;
};

// Pending acedInitGet for the next prompt.
struct InitGet {
  int flags = 0;
  std::vector<std::wstring> keywords;
};

// The keyword of init that input names (any case, whole or by its capitals), or null.
const std::wstring* MatchKeyword(const InitGet& init, const std::wstring& input);

bool InputEnded();
// Whether the command that ran last called FailCurrentCommand.
bool CommandFailed();
// ReadInput, where the end of the input may be reported as a plain line end (the command
// prompt: nothing was being asked).
std::optional<std::wstring> ReadInputLine(const std::wstring& prompt, bool cancelAtEnd);
// ReadInput without transparent commands: a text answer is taken as typed, a leading '\''
// included.
std::optional<std::wstring> ReadTextInput(const std::wstring& prompt);
// Runs the command that input "'NAME" names at a prompt when it is transparent; otherwise says
// why it does not run. The caller asks its prompt again either way.
void RunTransparentCommand(const std::wstring& typed);
// Whether a command runs transparently now (its prompts are marked ">>").
bool InTransparentCommand();
InitGet TakeInitGet();
void SetInitGet(InitGet init);
void SetLastKeyword(const std::wstring& keyword);
const std::wstring& LastKeyword();

// Each registers the host's own commands of its topic in group "ACAD".
void RegisterSysVarCommands();
void RegisterMenuCommands();
void RegisterModuleCommands();
void RegisterScriptCommand();
// Pushes a script's input that ends with the source below it.
void PushScriptInput(InputSource* source);
void ResetScripts();
void RegisterDrawingCommands();
// DXFIN and ZOOM.
void RegisterDxfCommands();

void ResetSysVars(const SessionOptions& options);
void ResetMenus();
void ResetCommands();
void ResetInput();
void UnloadAllModules();
void ResetUiCounters();
// A new empty working drawing; selection sets freed.
void ResetDrawing();

// Asks for the file an import command reads ("Enter name of file to import: "): surrounding
// quotes are dropped, and a name without extension that names no file gets defaultExtension
// (".dxf"). Cancel fails the command; an empty answer prints "<command>: no file name was
// given." and fails it; nullopt in both cases.
std::optional<std::filesystem::path> AskFileToImport(const std::wstring& command, const char* defaultExtension);

// Registers one of the host's commands as "_NAME" and "NAME".
void AddHostCommand(const wchar_t* name, void (*function)());

std::wstring Upper(std::wstring_view text);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
std::wstring Trim(std::wstring_view text);

}  // namespace plx::host
