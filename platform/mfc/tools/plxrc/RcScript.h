// The resource script as plxrc understands it: the subset of the classic resource language that
// the project's modules use (DIALOG and DIALOGEX templates, STRINGTABLE), after the
// preprocessor (#include, #define, #if/#ifdef) has run.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace plxrc {

struct Control {
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  int id = -1;
  std::u32string className;
  std::u32string text;
};

struct Dialog {
  uint32_t id = 0;
  bool extended = false;
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  std::u32string caption;
  int pointSize = 0;
  std::u32string typeface;
  std::vector<Control> controls;
};

struct StringEntry {
  uint32_t id = 0;
  std::u32string text;
};

struct Script {
  std::vector<Dialog> dialogs;
  std::vector<StringEntry> strings;
  std::vector<std::string> files;  // the script and every file it included, for the depfile
};

// A mistake in the script, with the file and line where it was found.
class CompileError : public std::runtime_error {
 public:
  CompileError(const std::string& file, int line, const std::string& message)
      : std::runtime_error(file + "(" + std::to_string(line) + "): error: " + message) {}
};

// Reads and compiles a script; includes are looked for beside the including file, then in
// includeDirs. Throws CompileError (also for a file that cannot be read).
Script CompileScript(const std::string& path, const std::vector<std::string>& includeDirs);

}  // namespace plxrc
