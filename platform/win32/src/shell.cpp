// Message boxes, the shell's "open" verb and file-name patterns, without a window system:
// boxes go to the transcript, "open" goes to xdg-open where a display is present.
#include <dirent.h>
#include <fnmatch.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "win32.h"
#include "win32/text.h"
#include "win32/transcript.h"

extern char** environ;

int MessageBoxW(HWND, LPCWSTR text, LPCWSTR caption, UINT) {
  std::wstring box = L"[";
  box += caption ? caption : L"Error";
  box += L"] ";
  box += text ? text : L"";
  box += L"\n";
  plx::WriteTranscript(box);
  return IDOK;
}

namespace {

HINSTANCE ShellResult(intptr_t code) { return reinterpret_cast<HINSTANCE>(code); }

bool HasDisplay() {
  const char* x = std::getenv("DISPLAY");
  const char* w = std::getenv("WAYLAND_DISPLAY");
  return (x && *x) || (w && *w);
}

}  // namespace

HINSTANCE ShellExecuteW(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR, LPCWSTR, INT) {
  if (verb && *verb && std::wstring(verb) != L"open") return ShellResult(SE_ERR_NOASSOC);
  if (!file || !*file) return ShellResult(SE_ERR_FNF);
  const std::string path = plx::NativePath(file);
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return ShellResult(SE_ERR_FNF);
  if (!HasDisplay()) return ShellResult(42);  // nothing to show it on; the file is there
  char program[] = "xdg-open";
  std::vector<char*> argv = {program, const_cast<char*>(path.c_str()), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, program, nullptr, nullptr, argv.data(), environ) != 0)
    return ShellResult(SE_ERR_NOASSOC);
  int status = 0;
  waitpid(pid, &status, 0);
  return ShellResult(WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 42 : SE_ERR_NOASSOC);
}

namespace {

struct FindState {
  std::vector<WIN32_FIND_DATAW> matches;
  size_t next = 0;
};

void Fill(const std::string& folder, const std::string& name, WIN32_FIND_DATAW& data) {
  data = WIN32_FIND_DATAW{};
  struct stat st {};
  if (stat((folder + name).c_str(), &st) == 0) {
    data.dwFileAttributes = S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    data.nFileSizeLow = static_cast<DWORD>(st.st_size & 0xFFFFFFFFu);
    data.nFileSizeHigh = static_cast<DWORD>(static_cast<uint64_t>(st.st_size) >> 32);
  }
  const std::wstring wide = plx::WideFromUtf8(name);
  const size_t n = std::min(wide.size(), static_cast<size_t>(MAX_PATH - 1));
  wmemcpy(data.cFileName, wide.data(), n);
  data.cFileName[n] = L'\0';
}

}  // namespace

HANDLE FindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW data) {
  if (!pattern || !data) return INVALID_HANDLE_VALUE;
  const std::string full = plx::NativePath(pattern);
  const size_t slash = full.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string("./") : full.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? full : full.substr(slash + 1);
  DIR* dir = opendir(folder.c_str());
  if (!dir) return INVALID_HANDLE_VALUE;
  auto* state = new FindState;
  while (dirent* entry = readdir(dir)) {
    if (fnmatch(name.c_str(), entry->d_name, FNM_CASEFOLD) != 0) continue;
    WIN32_FIND_DATAW found;
    Fill(folder, entry->d_name, found);
    state->matches.push_back(found);
  }
  closedir(dir);
  if (state->matches.empty()) {
    delete state;
    return INVALID_HANDLE_VALUE;
  }
  *data = state->matches[state->next++];
  return state;
}

BOOL FindNextFileW(HANDLE find, LPWIN32_FIND_DATAW data) {
  if (!find || find == INVALID_HANDLE_VALUE || !data) return FALSE;
  auto* state = static_cast<FindState*>(find);
  if (state->next >= state->matches.size()) return FALSE;
  *data = state->matches[state->next++];
  return TRUE;
}

BOOL FindClose(HANDLE find) {
  if (!find || find == INVALID_HANDLE_VALUE) return FALSE;
  delete static_cast<FindState*>(find);
  return TRUE;
}
