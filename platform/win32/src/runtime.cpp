// The C runtime calls of the platform: paths, formatting, environment, temporary files.
#include <dirent.h>
#include <dlfcn.h>
#include <fnmatch.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <map>
#include <mutex>
#include <string>

#include "win32.h"
#include "win32/text.h"

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

void CopyPart(wchar_t* out, size_t capacity, const wchar_t* begin, const wchar_t* end) {
  if (!out) return;
  size_t n = std::min(static_cast<size_t>(end - begin), capacity - 1);
  wmemcpy(out, begin, n);
  out[n] = L'\0';
}

std::wstring Lower(std::wstring_view s) {
  std::wstring out(s);
  for (wchar_t& c : out) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return out;
}

}  // namespace

DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size) {
  if (!buffer || size == 0) return 0;
  std::string path;
  if (!module) {
    char exe[4096];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) return 0;
    path.assign(exe, static_cast<size_t>(n));
  } else {
    // A module handle is what dlopen returned for it.
    struct link_map* map = nullptr;
    if (dlinfo(reinterpret_cast<void*>(module), RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name)
      return 0;
    char* real = realpath(map->l_name, nullptr);
    path = real ? real : map->l_name;
    std::free(real);
  }
  const std::wstring wide = plx::WideFromUtf8(path);
  const size_t n = std::min(wide.size(), static_cast<size_t>(size - 1));
  wmemcpy(buffer, wide.data(), n);
  buffer[n] = L'\0';
  return static_cast<DWORD>(n);
}

void _wsplitpath(const wchar_t* path, wchar_t* drive, wchar_t* dir, wchar_t* fname, wchar_t* ext) {
  if (!path) path = L"";
  const wchar_t* end = path + wcslen(path);
  const wchar_t* p = path;
  if (end - p >= 2 && p[1] == L':' && std::iswalpha(static_cast<wint_t>(p[0]))) {
    CopyPart(drive, _MAX_DRIVE, p, p + 2);
    p += 2;
  } else {
    CopyPart(drive, _MAX_DRIVE, p, p);
  }
  const wchar_t* lastSep = nullptr;
  for (const wchar_t* q = p; q < end; ++q)
    if (IsSeparator(*q)) lastSep = q;
  const wchar_t* nameBegin = lastSep ? lastSep + 1 : p;
  CopyPart(dir, _MAX_DIR, p, nameBegin);
  const wchar_t* dot = nullptr;
  for (const wchar_t* q = nameBegin; q < end; ++q)
    if (*q == L'.') dot = q;
  const wchar_t* nameEnd = dot ? dot : end;
  CopyPart(fname, _MAX_FNAME, nameBegin, nameEnd);
  CopyPart(ext, _MAX_EXT, nameEnd, end);
}

int _swprintf(wchar_t* buffer, const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  const std::wstring text = plx::FormatWideV(format, args);
  va_end(args);
  wmemcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<int>(text.size());
}

int swprintf_s(wchar_t* buffer, size_t size, const wchar_t* format, ...) {
  if (!buffer || size == 0) return -1;
  va_list args;
  va_start(args, format);
  const std::wstring text = plx::FormatWideV(format, args);
  va_end(args);
  if (text.size() >= size) {
    buffer[0] = L'\0';
    return -1;
  }
  wmemcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<int>(text.size());
}

wchar_t* _wgetenv(const wchar_t* name) {
  if (!name) return nullptr;
  static std::mutex mutex;
  static std::map<std::wstring, std::wstring> values;
  const std::wstring wanted = Lower(name);
  for (char** env = environ; env && *env; ++env) {
    const char* eq = std::strchr(*env, '=');
    if (!eq) continue;
    const std::string_view key(*env, static_cast<size_t>(eq - *env));
    // Most names are plain ASCII: compared in place, without a wide copy of every name (the
    // export road asks for TEMP once per solid).
    const bool ascii = std::all_of(key.begin(), key.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
      if (key.size() != wanted.size() ||
          !std::equal(key.begin(), key.end(), wanted.begin(), [](char c, wchar_t w) {
            return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(static_cast<unsigned char>(c)))) == w;
          }))
        continue;
    } else if (Lower(plx::WideFromUtf8(key)) != wanted) {
      continue;
    }
    std::lock_guard<std::mutex> lock(mutex);
    std::wstring& slot = values[wanted];
    slot = plx::WideFromUtf8(eq + 1);
    return slot.data();
  }
  return nullptr;
}

wchar_t* _wtempnam(const wchar_t* dir, const wchar_t* prefix) {
  std::string folder = dir ? plx::NativePath(dir) : std::string();
  struct stat st {};
  if (folder.empty() || stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    const char* tmp = std::getenv("TMPDIR");
    folder = tmp && *tmp ? tmp : "/tmp";
  }
  if (folder.back() != '/') folder += '/';
  const std::string stem = folder + (prefix ? plx::Utf8FromWide(prefix) : std::string()) + "XXXXXX";
  std::string name = stem;
  const int fd = mkstemp(name.data());
  if (fd < 0) return nullptr;
  close(fd);
  // The platform only names the file; the caller creates it. Keep the name unique by
  // removing the placeholder only now that the name has been reserved once.
  unlink(name.c_str());
  const std::wstring wide = plx::WideFromUtf8(name);
  auto* out = static_cast<wchar_t*>(std::malloc((wide.size() + 1) * sizeof(wchar_t)));
  if (!out) return nullptr;
  wmemcpy(out, wide.c_str(), wide.size() + 1);
  return out;
}

int _wunlink(const wchar_t* path) {
  if (!path) return -1;
  return unlink(plx::NativePath(path).c_str()) == 0 ? 0 : -1;
}
