// arxhost: the host program. Loads modules, then reads commands from a script (one input per
// line) or from an interactive "Command: " prompt, and unloads the modules at the end.
//
//   arxhost [--release LETTER] [--load MODULE]... [-b SCRIPT]
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <memory>
#include <string>
#include <vector>

#include "arxhost/Host.h"
#include "win32/text.h"
#include "win32/transcript.h"

extern char** environ;

namespace {

// Windows always names a temporary folder in TEMP; give this process one where the
// environment names none, so that modules find it as they would there.
void EnsureTempFolder() {
  for (char** e = environ; *e; ++e)
    if (strncasecmp(*e, "TEMP=", 5) == 0) return;
  const char* tmpdir = std::getenv("TMPDIR");
  setenv("TEMP", tmpdir && *tmpdir ? tmpdir : "/tmp", 1);
}

int Usage() {
  std::fprintf(stderr, "usage: arxhost [--release LETTER] [--load MODULE]... [-b SCRIPT]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "C.UTF-8");
  EnsureTempFolder();
  plx::host::SessionOptions options;
  std::vector<std::wstring> modules;
  std::wstring script;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--release" && hasValue) {
      options.release = plx::WideFromUtf8(argv[++i]);
    } else if (arg == "--load" && hasValue) {
      modules.push_back(plx::WideFromUtf8(argv[++i]));
    } else if (arg == "-b" && hasValue) {
      script = plx::WideFromUtf8(argv[++i]);
    } else if (arg == "-h" || arg == "--help") {
      Usage();
      return 0;
    } else {
      return Usage();
    }
  }

  std::unique_ptr<plx::host::InputSource> input;
  if (!script.empty()) {
    std::wstring error;
    input = plx::host::MakeScriptFileInput(script, error);
    if (!input) {
      std::fprintf(stderr, "arxhost: %s\n", plx::Utf8FromWide(error).c_str());
      return 1;
    }
  } else {
    input = plx::host::MakeTerminalInput();
  }

  plx::host::StartSession(options);
  int status = 0;
  for (const std::wstring& module : modules) {
    std::wstring error;
    if (!plx::host::LoadModule(module, error)) {
      plx::WriteTranscript(error + L"\n");
      status = 1;
    }
  }
  plx::host::PushInput(input.get());
  plx::host::RunCommandLoop();
  plx::host::PopInput();
  plx::host::EndSession();
  plx::FlushTranscript();
  return status;
}
