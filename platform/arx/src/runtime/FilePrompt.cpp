// The file prompt of the host's import commands, answered on the command line.
#include <filesystem>

#include "Session.h"
#include "win32/text.h"
#include "win32/transcript.h"

namespace plx::host {

std::optional<std::filesystem::path> AskFileToImport(const std::wstring& command, const char* defaultExtension) {
  const std::optional<std::wstring> answer = ReadInput(L"Enter name of file to import: ");
  if (!answer) {
    FailCurrentCommand();
    return std::nullopt;
  }
  std::wstring name = Trim(*answer);
  if (name.size() >= 2 && name.front() == L'"' && name.back() == L'"') name = name.substr(1, name.size() - 2);
  if (name.empty()) {
    WriteTranscript(command + L": no file name was given.\n");
    FailCurrentCommand();
    return std::nullopt;
  }
  std::filesystem::path path = NativePath(name);
  std::error_code ec;
  // As the host's file prompts do, a name without extension means a file of the command's kind.
  if (!std::filesystem::exists(path, ec) && !path.has_extension()) path += defaultExtension;
  return path;
}

}  // namespace plx::host
