// The command stack (groups of commands, found by global or local name without regard to
// case, the most recently made group first), the command processor and acedCommand.
#include <cstdarg>
#include <cwchar>
#include <memory>

#include "Session.h"
#include "aced.h"
#include "win32/text.h"
#include "win32/transcript.h"

namespace plx::host {
namespace {

class Command final : public AcEdCommand {
 public:
  Command(std::wstring global, std::wstring local, Adesk::Int32 flags, AcRxFunctionPtr function,
          AcEdUIContext* ui, int fcode, HINSTANCE resource)
      : global_(std::move(global)), local_(std::move(local)), flags_(flags), function_(function),
        ui_(ui), fcode_(fcode), resource_(resource) {}
  const ACHAR* globalName() const override { return global_.c_str(); }
  const ACHAR* localName() const override { return local_.c_str(); }
  Adesk::Int32 commandFlags() const override { return flags_; }
  AcRxFunctionPtr functionAddr() const override { return function_; }
  AcEdUIContext* UIContext() const override { return ui_; }
  int functionCode() const override { return fcode_; }
  HINSTANCE resourceHandle() const override { return resource_; }

 private:
  std::wstring global_, local_;
  Adesk::Int32 flags_;
  AcRxFunctionPtr function_;
  AcEdUIContext* ui_;
  int fcode_;
  HINSTANCE resource_;
};

struct Group {
  std::wstring name;
  std::vector<std::unique_ptr<Command>> commands;
};

class CommandStack final : public AcEdCommandStack {
 public:
  Acad::ErrorStatus addCommand(const ACHAR* group, const ACHAR* global, const ACHAR* local,
                               Adesk::Int32 flags, AcRxFunctionPtr function, AcEdUIContext* ui,
                               int fcode, HINSTANCE resource, AcEdCommand** created) override {
    if (!group || !*group || !global || !*global || !function) return Acad::eInvalidInput;
    Group* g = FindGroup(group);
    if (!g) {
      groups_.push_back(std::make_unique<Group>());
      g = groups_.back().get();
      g->name = group;
    }
    for (const auto& c : g->commands)
      if (EqualsNoCase(c->globalName(), global)) return Acad::eDuplicateKey;
    g->commands.push_back(std::make_unique<Command>(global, local && *local ? local : global, flags,
                                                    function, ui, fcode, resource));
    if (created) *created = g->commands.back().get();
    return Acad::eOk;
  }

  Acad::ErrorStatus removeCmd(const ACHAR* group, const ACHAR* global) override {
    Group* g = group ? FindGroup(group) : nullptr;
    if (!g || !global) return Acad::eKeyNotFound;
    for (auto it = g->commands.begin(); it != g->commands.end(); ++it)
      if (EqualsNoCase((*it)->globalName(), global)) {
        g->commands.erase(it);
        return Acad::eOk;
      }
    return Acad::eKeyNotFound;
  }

  Acad::ErrorStatus removeGroup(const ACHAR* group) override {
    for (auto it = groups_.begin(); it != groups_.end(); ++it)
      if (group && EqualsNoCase((*it)->name, group)) {
        groups_.erase(it);
        return Acad::eOk;
      }
    return Acad::eKeyNotFound;
  }

  AcEdCommand* lookupCmd(const ACHAR* name, bool globalLookup, bool) const override {
    if (!name) return nullptr;
    for (auto g = groups_.rbegin(); g != groups_.rend(); ++g)
      for (const auto& c : (*g)->commands)
        if (EqualsNoCase(c->globalName(), name) || (!globalLookup && EqualsNoCase(c->localName(), name)))
          return c.get();
    return nullptr;
  }

  // Global names first in every group, then local names: "_LINE" and "LINE" both find LINE.
  AcEdCommand* Find(const std::wstring& name) const {
    if (AcEdCommand* c = lookupCmd(name.c_str(), true, true)) return c;
    return lookupCmd(name.c_str(), false, true);
  }

  AcEdCommandIterator* iterator() override;

  void Clear() { groups_.clear(); }

  std::vector<std::unique_ptr<Group>> groups_;

 private:
  Group* FindGroup(const ACHAR* name) const {
    for (const auto& g : groups_)
      if (EqualsNoCase(g->name, name)) return g.get();
    return nullptr;
  }
};

class CommandIterator final : public AcEdCommandIterator {
 public:
  explicit CommandIterator(const CommandStack& stack) : stack_(stack) { Skip(); }
  bool done() const override { return group_ >= stack_.groups_.size(); }
  bool next() override {
    if (done()) return false;
    ++command_;
    Skip();
    return !done();
  }
  const AcEdCommand* command() const override {
    return done() ? nullptr : stack_.groups_[group_]->commands[command_].get();
  }
  const ACHAR* commandGroup() const override {
    return done() ? nullptr : stack_.groups_[group_]->name.c_str();
  }

 private:
  void Skip() {
    while (group_ < stack_.groups_.size() && command_ >= stack_.groups_[group_]->commands.size()) {
      ++group_;
      command_ = 0;
    }
  }
  const CommandStack& stack_;
  size_t group_ = 0;
  size_t command_ = 0;
};

AcEdCommandIterator* CommandStack::iterator() { return new CommandIterator(*this); }

CommandStack& Stack() {
  // Lives as long as the process: modules may still hold the pointer at exit.
  static auto* stack = new CommandStack;
  return *stack;
}

class SysRegistry final : public AcRxDictionary {
 public:
  AcRxObject* at(const ACHAR* key) const override {
    if (key && std::wstring(key) == ACRX_COMMAND_DOCK) return &Stack();
    return nullptr;
  }
};

std::wstring StripCommandPrefix(std::wstring name) {
  while (!name.empty() && (name[0] == L'.' || name[0] == L'\'')) name.erase(0, 1);
  return name;
}

}  // namespace

bool RunCommandFunction(const std::wstring& typed);

void AddHostCommand(const wchar_t* name, void (*function)()) {
  AcEdCommandStack& stack = Stack();
  stack.addCommand(L"ACAD", (L"_" + std::wstring(name)).c_str(), name, ACRX_CMD_MODAL, function);
}

void ResetCommands() { Stack().Clear(); }

namespace {
bool g_commandFailed = false;  // of the command running now
bool g_lastFailed = false;     // of the command that ended last
}  // namespace

void FailCurrentCommand() { g_commandFailed = true; }

bool CommandFailed() { return g_lastFailed; }

bool RunCommand(const std::wstring& typed) {
  // Commands nest (acedCommand inside a command): each keeps its own failure.
  const bool outerFailed = g_commandFailed;
  g_commandFailed = false;
  const bool ran = RunCommandFunction(typed);
  g_lastFailed = g_commandFailed;
  g_commandFailed = outerFailed;
  return ran;
}

bool RunCommandFunction(const std::wstring& typed) {
  const std::wstring name = StripCommandPrefix(Trim(typed));
  AcEdCommand* command = name.empty() ? nullptr : Stack().Find(name);
  if (!command) {
    plx::WriteTranscript(L"Unknown command \"" + Upper(name) + L"\".  Press F1 for help.\n");
    return false;
  }
  try {
    command->functionAddr()();
  } catch (...) {
    // Nothing may unwind into the host's command loop; the command did not finish, so
    // acedCommand answers RTERROR.
    g_commandFailed = true;
    plx::WriteTranscript(L"\nUnhandled exception in command " + Upper(name) + L".\n");
  }
  return true;
}

void RunCommandLoop() {
  for (;;) {
    std::optional<std::wstring> line = ReadInputLine(L"Command: ", false);
    if (!line) {
      if (InputEnded()) break;
      continue;
    }
    if (line->empty()) continue;
    RunCommand(*line);
  }
  plx::FlushTranscript();
}

}  // namespace plx::host

ACRX_DEFINE_MEMBERS(AcRxDictionary, AcRxObject)
ACRX_DEFINE_MEMBERS(AcEdCommandStack, AcRxObject)

AcRxDictionary* acrxSysRegistry() {
  static auto* registry = new plx::host::SysRegistry;
  return registry;
}

namespace {

std::wstring FormatReal(double v) { return plx::FormatWide(L"%.17g", v); }

// Runs the words as the user would type them: a command name, then its answers; words left
// when a command ends start the next command.
int RunWords(std::vector<std::wstring> words) {
  if (words.empty()) return RTNORM;
  plx::host::TokenInput tokens(std::move(words));
  plx::host::PushInput(&tokens);
  int result = RTNORM;
  while (std::optional<std::wstring> name = tokens.ReadLine()) {
    plx::WriteTranscript(L"Command: " + *name + L"\n");
    if (name->empty()) continue;
    if (!plx::host::RunCommand(*name) || plx::host::CommandFailed()) {
      result = RTERROR;
      break;
    }
  }
  plx::host::PopInput();
  return result;
}

}  // namespace

int acedCommand(int rtype, ...) {
  std::vector<std::wstring> words;
  va_list args;
  va_start(args, rtype);
  for (int type = rtype; type != RTNONE && type != 0; type = va_arg(args, int)) {
    switch (type) {
      case RTSTR: {
        const ACHAR* s = va_arg(args, const ACHAR*);
        words.emplace_back(s ? s : L"");
        break;
      }
      case RTREAL:
      case RTANG:
        words.push_back(FormatReal(va_arg(args, double)));
        break;
      case RTSHORT:
        words.push_back(std::to_wstring(va_arg(args, int)));
        break;
      case RTLONG:
        words.push_back(std::to_wstring(va_arg(args, Adesk::Int32)));
        break;
      case RTPOINT:
      case RT3DPOINT: {
        const double* p = va_arg(args, const double*);
        words.push_back(FormatReal(p[0]) + L"," + FormatReal(p[1]) +
                        (type == RT3DPOINT ? L"," + FormatReal(p[2]) : L""));
        break;
      }
      default:
        va_end(args);
        return RTERROR;
    }
  }
  va_end(args);
  return RunWords(std::move(words));
}

int acedCmd(const resbuf* list) {
  std::vector<std::wstring> words;
  for (const resbuf* rb = list; rb; rb = rb->rbnext) {
    switch (rb->restype) {
      case RTSTR: words.emplace_back(rb->resval.rstring ? rb->resval.rstring : L""); break;
      case RTREAL:
      case RTANG: words.push_back(FormatReal(rb->resval.rreal)); break;
      case RTSHORT: words.push_back(std::to_wstring(rb->resval.rint)); break;
      case RTLONG: words.push_back(std::to_wstring(rb->resval.rlong)); break;
      case RTPOINT:
      case RT3DPOINT:
        words.push_back(FormatReal(rb->resval.rpoint[0]) + L"," + FormatReal(rb->resval.rpoint[1]) +
                        (rb->restype == RT3DPOINT ? L"," + FormatReal(rb->resval.rpoint[2]) : L""));
        break;
      case RTNONE: break;
      default: return RTERROR;
    }
  }
  return RunWords(std::move(words));
}
