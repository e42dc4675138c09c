// TVKRegistry over a .reg text file. The file holds the export format's header line, then
// sections "[HKEY_CURRENT_USER\Key\Path]" with lines "name"=dword:0000002a (names quoted with
// \\ and \" escapes, @ for the default value). Lines this class does not write (strings, hex
// values, comments) are kept as they are, so a rewrite loses nothing.
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "TVKGUI.h"
#include "win32/text.h"

namespace {

namespace fs = std::filesystem;

constexpr const wchar_t* kHeader = L"Windows Registry Editor Version 5.00";

struct Line {
  std::wstring name;  // value name as stored (unescaped); empty for a line that is not a value
  bool isValue = false;
  std::wstring text;  // the whole line as written, continuation lines included
};

struct Section {
  std::wstring key;
  std::vector<Line> lines;
};

struct RegFile {
  std::vector<Section> sections;
};

bool EqualNoCase(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i])))
      return false;
  return true;
}

fs::path RegistryFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && *xdg == '/') return fs::path(xdg) / "plovex";
  const char* home = std::getenv("HOME");
  fs::path base;
  if (home && *home) {
    base = home;
  } else if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir && *pw->pw_dir) {
    base = pw->pw_dir;
  } else {
    base = ".";
  }
  return base / ".config" / "plovex";
}

fs::path RegistryFile() { return RegistryFolder() / "registry.reg"; }

// The file's text; UTF-16LE (as the registry editor writes) and UTF-8 are both read.
std::optional<std::wstring> ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string bytes = buffer.str();
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    std::wstring text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      wchar_t c = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                       (static_cast<unsigned char>(bytes[i + 1]) << 8));
      if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
        const wchar_t low = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i + 2]) |
                                                 (static_cast<unsigned char>(bytes[i + 3]) << 8));
        if (low >= 0xDC00 && low <= 0xDFFF) {
          c = static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
          i += 2;
        }
      }
      text += c;
    }
    return text;
  }
  const size_t bom = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  return plx::WideFromUtf8(std::string_view(bytes).substr(bom));
}

// Parses a quoted value name at the start of line; the length of the quoted part in used.
std::optional<std::wstring> ParseName(const std::wstring& line, size_t& used) {
  if (line.rfind(L"@=", 0) == 0) {
    used = 1;
    return std::wstring();
  }
  if (line.empty() || line[0] != L'"') return std::nullopt;
  std::wstring name;
  for (size_t i = 1; i < line.size(); ++i) {
    if (line[i] == L'\\' && i + 1 < line.size()) {
      name += line[++i];
    } else if (line[i] == L'"') {
      used = i + 1;
      return name;
    } else {
      name += line[i];
    }
  }
  return std::nullopt;
}

RegFile Parse(const std::wstring& text) {
  RegFile file;
  std::vector<std::wstring> lines;
  {
    std::wstring current;
    for (size_t i = 0; i <= text.size(); ++i) {
      if (i == text.size() || text[i] == L'\n') {
        if (!current.empty() && current.back() == L'\r') current.pop_back();
        lines.push_back(current);
        current.clear();
      } else {
        current += text[i];
      }
    }
  }
  Section* section = nullptr;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::wstring line = lines[i];
    // A value may continue on the next lines with a trailing backslash (hex data).
    while (!line.empty() && line.back() == L'\\' && i + 1 < lines.size())
      line += L"\n" + lines[++i];
    std::wstring trimmed = line;
    while (!trimmed.empty() && std::iswspace(static_cast<wint_t>(trimmed.back())))
      trimmed.pop_back();
    if (trimmed.empty() || trimmed == kHeader) continue;
    if (trimmed.front() == L'[' && trimmed.back() == L']') {
      file.sections.push_back({trimmed.substr(1, trimmed.size() - 2), {}});
      section = &file.sections.back();
      continue;
    }
    if (!section) continue;  // nothing belongs outside a key
    Line entry;
    entry.text = trimmed;
    size_t used = 0;
    if (std::optional<std::wstring> name = ParseName(trimmed, used);
        name && used < trimmed.size() && trimmed[used] == L'=') {
      entry.isValue = true;
      entry.name = *name;
    }
    section->lines.push_back(std::move(entry));
  }
  return file;
}

std::wstring Serialise(const RegFile& file) {
  std::wstring out = std::wstring(kHeader) + L"\n\n";
  for (const Section& section : file.sections) {
    out += L"[" + section.key + L"]\n";
    for (const Line& line : section.lines) out += line.text + L"\n";
    out += L"\n";
  }
  return out;
}

std::wstring QuotedName(const std::wstring& name) {
  std::wstring out = L"\"";
  for (const wchar_t c : name) {
    if (c == L'\\' || c == L'"') out += L'\\';
    out += c;
  }
  return out + L"\"";
}

std::optional<int> DwordOf(const Line& line) {
  size_t used = 0;
  if (!ParseName(line.text, used)) return std::nullopt;
  std::wstring value = line.text.substr(used + 1);
  while (!value.empty() && std::iswspace(static_cast<wint_t>(value.front()))) value.erase(0, 1);
  if (value.size() != 14 || !EqualNoCase(value.substr(0, 6), L"dword:")) return std::nullopt;
  uint32_t v = 0;
  for (size_t i = 6; i < value.size(); ++i) {
    const wchar_t c = value[i];
    if (!std::iswxdigit(static_cast<wint_t>(c))) return std::nullopt;
    v = v * 16 + static_cast<uint32_t>(
                     c <= L'9' ? c - L'0' : (std::towlower(static_cast<wint_t>(c)) - L'a' + 10));
  }
  return static_cast<int>(v);
}

std::wstring DwordLine(const std::wstring& name, int value) {
  wchar_t hex[16];
  swprintf(hex, 16, L"%08x", static_cast<unsigned>(static_cast<uint32_t>(value)));
  return (name.empty() ? std::wstring(L"@") : QuotedName(name)) + L"=dword:" + hex;
}

// Writes a new file beside the registry and renames it over the old one.
bool ReplaceFile(const fs::path& path, const std::wstring& text) {
  std::string temp = (path.parent_path() / (path.filename().string() + ".XXXXXX")).string();
  const int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  const std::string bytes = plx::Utf8FromWide(text);
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
    if (n <= 0) break;
    written += static_cast<size_t>(n);
  }
  const bool ok = written == bytes.size() && fsync(fd) == 0;  // mkstemp made it 0600
  if (close(fd) != 0 || !ok || std::rename(temp.c_str(), path.c_str()) != 0) {
    unlink(temp.c_str());
    return false;
  }
  return true;
}

// Serialises writers of all processes for one read-modify-write.
class WriteLock {
 public:
  explicit WriteLock(const fs::path& registry) {
    fd_ = open((registry.string() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ >= 0 && flock(fd_, LOCK_EX) != 0) {
      close(fd_);
      fd_ = -1;
    }
  }
  ~WriteLock() {
    if (fd_ >= 0) close(fd_);  // closing releases the lock
  }
  WriteLock(const WriteLock&) = delete;
  WriteLock& operator=(const WriteLock&) = delete;
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

const wchar_t* RootName(int root) {
  switch (root) {
    case TVKRegistry::kClassesRoot: return L"HKEY_CLASSES_ROOT";
    case TVKRegistry::kCurrentUser: return L"HKEY_CURRENT_USER";
    case TVKRegistry::kLocalMachine: return L"HKEY_LOCAL_MACHINE";
    case TVKRegistry::kUsers: return L"HKEY_USERS";
    default: return nullptr;
  }
}

}  // namespace

TVKRegistry::TVKRegistry() = default;
TVKRegistry::~TVKRegistry() = default;

int TVKRegistry::SetKey(CString key, int root) {
  key_.Empty();
  const wchar_t* rootName = RootName(root);
  if (!rootName) return 0;
  // Empty names between separators mean nothing to the registry.
  std::wstring path;
  int start = 0;
  for (CString part = key.Tokenize(L"\\", start); start >= 0; part = key.Tokenize(L"\\", start))
    if (!part.IsEmpty()) path += L"\\" + part.Str();
  if (path.empty()) return 0;
  key_ = CString(rootName) + path.c_str();
  return 1;
}

int TVKRegistry::ReadInt(CString name, int defaultValue) {
  if (key_.IsEmpty()) return defaultValue;
  const std::optional<std::wstring> text = ReadText(RegistryFile());
  if (!text) return defaultValue;
  const RegFile file = Parse(*text);
  // The last section and line of a name win, as when the registry editor imports the file.
  std::optional<int> found;
  for (const Section& section : file.sections)
    if (EqualNoCase(section.key, key_.Str()))
      for (const Line& line : section.lines)
        if (line.isValue && EqualNoCase(line.name, name.Str())) found = DwordOf(line);
  return found.value_or(defaultValue);
}

int TVKRegistry::WriteInt(CString name, int value) {
  if (key_.IsEmpty() || name.IsEmpty()) return 0;
  const fs::path path = RegistryFile();
  std::error_code ec;
  fs::create_directories(path.parent_path(), ec);
  if (ec) return 0;
  WriteLock lock(path);
  if (!lock.Held()) return 0;
  RegFile file;
  if (const std::optional<std::wstring> text = ReadText(path))
    file = Parse(*text);
  else if (fs::exists(path, ec))
    return 0;  // present but unreadable: do not replace it
  Section* section = nullptr;
  for (Section& s : file.sections)
    if (EqualNoCase(s.key, key_.Str())) section = &s;
  if (!section) {
    file.sections.push_back({key_.Str(), {}});
    section = &file.sections.back();
  }
  Line line{name.Str(), true, DwordLine(name.Str(), value)};
  bool replaced = false;
  for (Line& l : section->lines)
    if (l.isValue && EqualNoCase(l.name, line.name)) {
      l = line;
      replaced = true;
    }
  if (!replaced) section->lines.push_back(line);
  return ReplaceFile(path, Serialise(file)) ? 1 : 0;
}
