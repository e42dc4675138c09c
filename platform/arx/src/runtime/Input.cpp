// The command line's input channel: a stack of sources (script, terminal, acedCommand's
// answers), one input per line, and the prompts of the editor functions on top of it.
#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <fstream>
#include <iostream>
#include <sstream>

#include "Session.h"
#include "aced.h"
#include "win32/text.h"
#include "win32/transcript.h"

namespace plx::host {
namespace {

class LinesInput final : public InputSource {
 public:
  explicit LinesInput(std::vector<std::wstring> lines) : lines_(std::move(lines)) {}
  std::optional<std::wstring> ReadLine() override {
    if (next_ >= lines_.size()) return std::nullopt;
    return lines_[next_++];
  }
  bool EchoesInput() const override { return true; }

 private:
  std::vector<std::wstring> lines_;
  size_t next_ = 0;
};

class TerminalInput final : public InputSource {
 public:
  std::optional<std::wstring> ReadLine() override {
    std::string line;
    if (!std::getline(std::cin, line)) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return plx::WideFromUtf8(line);
  }
  bool EchoesInput() const override { return false; }
};

std::vector<std::wstring> SplitLines(std::wstring_view text) {
  std::vector<std::wstring> lines;
  size_t begin = 0;
  while (begin < text.size()) {
    size_t end = text.find(L'\n', begin);
    if (end == std::wstring_view::npos) end = text.size();
    std::wstring line(text.substr(begin, end - begin));
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    lines.push_back(std::move(line));
    begin = end + 1;
  }
  return lines;
}

struct InputState {
  std::vector<InputSource*> stack;
  std::vector<InputSource*> scripts;  // pushed by SCRIPT, owned elsewhere
  bool ended = false;
  InitGet initGet;
  std::wstring lastKeyword;
};

InputState& State() {
  static InputState state;
  return state;
}

}  // namespace

std::unique_ptr<InputSource> MakeScriptInput(const std::vector<std::wstring>& lines) {
  return std::make_unique<LinesInput>(lines);
}

std::unique_ptr<InputSource> MakeScriptInputFromText(std::wstring_view text) {
  return std::make_unique<LinesInput>(SplitLines(text));
}

std::unique_ptr<InputSource> MakeScriptFileInput(const std::wstring& path, std::wstring& error) {
  std::ifstream in(plx::NativePath(path), std::ios::binary);
  if (!in) {
    error = L"Unable to open script file \"" + path + L"\".";
    return nullptr;
  }
  std::stringstream buffer;
  buffer << in.rdbuf();
  return MakeScriptInputFromText(plx::WideFromUtf8(buffer.str()));
}

std::unique_ptr<InputSource> MakeTerminalInput() { return std::make_unique<TerminalInput>(); }

void PushInput(InputSource* source) {
  State().stack.push_back(source);
  State().ended = false;
}

void PushScriptInput(InputSource* source) {
  PushInput(source);
  State().scripts.push_back(source);
}

void PopInput() {
  // Scripts that SCRIPT started above the source being popped end with it.
  auto& stack = State().stack;
  auto& scripts = State().scripts;
  while (!stack.empty() && std::find(scripts.begin(), scripts.end(), stack.back()) != scripts.end()) {
    scripts.erase(std::find(scripts.begin(), scripts.end(), stack.back()));
    stack.pop_back();
  }
  if (!stack.empty()) stack.pop_back();
}

void ResetInput() { State() = InputState{}; }

bool InputEnded() { return State().ended; }

InitGet TakeInitGet() {
  InitGet pending = std::move(State().initGet);
  State().initGet = InitGet{};
  return pending;
}

void SetInitGet(InitGet init) { State().initGet = std::move(init); }

void SetLastKeyword(const std::wstring& keyword) { State().lastKeyword = keyword; }

const std::wstring& LastKeyword() { return State().lastKeyword; }

std::optional<std::wstring> ReadInput(const std::wstring& prompt) {
  for (;;) {
    std::optional<std::wstring> line = ReadInputLine(prompt, true);
    if (!line || line->size() < 2 || (*line)[0] != L'\'') return line;
    // The interrupted prompt's pending keywords and last keyword outlive the command.
    InitGet pending = TakeInitGet();
    const std::wstring keyword = LastKeyword();
    RunTransparentCommand(*line);
    SetInitGet(std::move(pending));
    SetLastKeyword(keyword);
  }
}

std::optional<std::wstring> ReadTextInput(const std::wstring& prompt) { return ReadInputLine(prompt, true); }

std::optional<std::wstring> ReadInputLine(const std::wstring& prompt, bool cancelAtEnd) {
  plx::WriteTranscript(cancelAtEnd && InTransparentCommand() ? L">>" + prompt : prompt);
  auto& stack = State().stack;
  // Exhausted answers of acedCommand give way to the input below them.
  for (size_t i = stack.size(); i-- > 0;) {
    std::optional<std::wstring> line = stack[i]->ReadLine();
    if (!line) continue;
    if (stack[i]->EchoesInput()) plx::WriteTranscript(*line + L"\n");
    const std::wstring trimmed = Trim(*line);
    if (trimmed == L"^C" || trimmed == L"\x1b") {
      plx::WriteTranscript(L"*Cancel*\n");
      return std::nullopt;
    }
    return trimmed;
  }
  State().ended = true;
  plx::WriteTranscript(cancelAtEnd ? L"*Cancel*\n" : L"\n");
  plx::FlushTranscript();
  return std::nullopt;
}

}  // namespace plx::host

