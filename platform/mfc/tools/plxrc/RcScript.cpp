// The resource compiler's front end. A script is read as UTF-8 (a UTF-8 or UTF-16LE byte-order
// mark is honoured), comments are blanked, the preprocessor keeps the active lines and collects
// object-like #defines, and a recursive-descent parser reads the resource statements.
//
// Styles follow the classic resource compiler: a control statement starts from its default
// style (WS_CHILD | WS_VISIBLE plus the statement's own, e.g. BS_PUSHBUTTON | WS_TABSTOP for
// PUSHBUTTON), ORs the given terms in and takes "NOT term" out; a dialog without STYLE is
// WS_POPUP | WS_BORDER | WS_SYSMENU, CAPTION adds WS_CAPTION and FONT adds DS_SETFONT.
#include "RcScript.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "afxres.h"
#include "win32.h"

namespace plxrc {
namespace {

namespace fs = std::filesystem;

constexpr int kMaxIncludeDepth = 32;
constexpr int kMaxMacroDepth = 64;

std::pair<const std::string, long long> NameValue(const char* name, long long value) {
  return {name, value};
}

const std::map<std::string, long long>& BuiltinNames() {
#define PLXRC_NAME(n) NameValue(#n, n)
  static const std::map<std::string, long long> names = {
      PLXRC_NAME(IDOK),
      PLXRC_NAME(IDCANCEL),
      PLXRC_NAME(IDABORT),
      PLXRC_NAME(IDRETRY),
      PLXRC_NAME(IDIGNORE),
      PLXRC_NAME(IDYES),
      PLXRC_NAME(IDNO),
      PLXRC_NAME(IDC_STATIC),
      PLXRC_NAME(WS_OVERLAPPED),
      PLXRC_NAME(WS_POPUP),
      PLXRC_NAME(WS_CHILD),
      PLXRC_NAME(WS_MINIMIZE),
      PLXRC_NAME(WS_VISIBLE),
      PLXRC_NAME(WS_DISABLED),
      PLXRC_NAME(WS_CLIPSIBLINGS),
      PLXRC_NAME(WS_CLIPCHILDREN),
      PLXRC_NAME(WS_MAXIMIZE),
      PLXRC_NAME(WS_CAPTION),
      PLXRC_NAME(WS_BORDER),
      PLXRC_NAME(WS_DLGFRAME),
      PLXRC_NAME(WS_VSCROLL),
      PLXRC_NAME(WS_HSCROLL),
      PLXRC_NAME(WS_SYSMENU),
      PLXRC_NAME(WS_THICKFRAME),
      PLXRC_NAME(WS_GROUP),
      PLXRC_NAME(WS_TABSTOP),
      PLXRC_NAME(WS_MINIMIZEBOX),
      PLXRC_NAME(WS_MAXIMIZEBOX),
      PLXRC_NAME(WS_OVERLAPPEDWINDOW),
      PLXRC_NAME(WS_POPUPWINDOW),
      PLXRC_NAME(WS_EX_DLGMODALFRAME),
      PLXRC_NAME(WS_EX_NOPARENTNOTIFY),
      PLXRC_NAME(WS_EX_TOPMOST),
      PLXRC_NAME(WS_EX_ACCEPTFILES),
      PLXRC_NAME(WS_EX_TRANSPARENT),
      PLXRC_NAME(WS_EX_TOOLWINDOW),
      PLXRC_NAME(WS_EX_WINDOWEDGE),
      PLXRC_NAME(WS_EX_CLIENTEDGE),
      PLXRC_NAME(WS_EX_CONTEXTHELP),
      PLXRC_NAME(WS_EX_RIGHT),
      PLXRC_NAME(WS_EX_CONTROLPARENT),
      PLXRC_NAME(WS_EX_STATICEDGE),
      PLXRC_NAME(WS_EX_APPWINDOW),
      PLXRC_NAME(DS_ABSALIGN),
      PLXRC_NAME(DS_SYSMODAL),
      PLXRC_NAME(DS_3DLOOK),
      PLXRC_NAME(DS_FIXEDSYS),
      PLXRC_NAME(DS_NOFAILCREATE),
      PLXRC_NAME(DS_LOCALEDIT),
      PLXRC_NAME(DS_SETFONT),
      PLXRC_NAME(DS_MODALFRAME),
      PLXRC_NAME(DS_NOIDLEMSG),
      PLXRC_NAME(DS_SETFOREGROUND),
      PLXRC_NAME(DS_CONTROL),
      PLXRC_NAME(DS_CENTER),
      PLXRC_NAME(DS_CENTERMOUSE),
      PLXRC_NAME(DS_CONTEXTHELP),
      PLXRC_NAME(DS_SHELLFONT),
      PLXRC_NAME(BS_PUSHBUTTON),
      PLXRC_NAME(BS_DEFPUSHBUTTON),
      PLXRC_NAME(BS_CHECKBOX),
      PLXRC_NAME(BS_AUTOCHECKBOX),
      PLXRC_NAME(BS_RADIOBUTTON),
      PLXRC_NAME(BS_3STATE),
      PLXRC_NAME(BS_AUTO3STATE),
      PLXRC_NAME(BS_GROUPBOX),
      PLXRC_NAME(BS_USERBUTTON),
      PLXRC_NAME(BS_AUTORADIOBUTTON),
      PLXRC_NAME(BS_PUSHBOX),
      PLXRC_NAME(BS_OWNERDRAW),
      PLXRC_NAME(BS_TYPEMASK),
      PLXRC_NAME(BS_LEFTTEXT),
      PLXRC_NAME(BS_TEXT),
      PLXRC_NAME(BS_ICON),
      PLXRC_NAME(BS_BITMAP),
      PLXRC_NAME(BS_LEFT),
      PLXRC_NAME(BS_RIGHT),
      PLXRC_NAME(BS_CENTER),
      PLXRC_NAME(BS_TOP),
      PLXRC_NAME(BS_BOTTOM),
      PLXRC_NAME(BS_VCENTER),
      PLXRC_NAME(BS_PUSHLIKE),
      PLXRC_NAME(BS_MULTILINE),
      PLXRC_NAME(BS_NOTIFY),
      PLXRC_NAME(BS_FLAT),
      PLXRC_NAME(SS_LEFT),
      PLXRC_NAME(SS_CENTER),
      PLXRC_NAME(SS_RIGHT),
      PLXRC_NAME(SS_ICON),
      PLXRC_NAME(SS_BLACKRECT),
      PLXRC_NAME(SS_GRAYRECT),
      PLXRC_NAME(SS_WHITERECT),
      PLXRC_NAME(SS_BLACKFRAME),
      PLXRC_NAME(SS_GRAYFRAME),
      PLXRC_NAME(SS_WHITEFRAME),
      PLXRC_NAME(SS_USERITEM),
      PLXRC_NAME(SS_SIMPLE),
      PLXRC_NAME(SS_LEFTNOWORDWRAP),
      PLXRC_NAME(SS_OWNERDRAW),
      PLXRC_NAME(SS_BITMAP),
      PLXRC_NAME(SS_ENHMETAFILE),
      PLXRC_NAME(SS_ETCHEDHORZ),
      PLXRC_NAME(SS_ETCHEDVERT),
      PLXRC_NAME(SS_ETCHEDFRAME),
      PLXRC_NAME(SS_TYPEMASK),
      PLXRC_NAME(SS_NOPREFIX),
      PLXRC_NAME(SS_NOTIFY),
      PLXRC_NAME(SS_CENTERIMAGE),
      PLXRC_NAME(SS_RIGHTJUST),
      PLXRC_NAME(SS_SUNKEN),
      PLXRC_NAME(ES_LEFT),
      PLXRC_NAME(ES_CENTER),
      PLXRC_NAME(ES_RIGHT),
      PLXRC_NAME(ES_MULTILINE),
      PLXRC_NAME(ES_UPPERCASE),
      PLXRC_NAME(ES_LOWERCASE),
      PLXRC_NAME(ES_PASSWORD),
      PLXRC_NAME(ES_AUTOVSCROLL),
      PLXRC_NAME(ES_AUTOHSCROLL),
      PLXRC_NAME(ES_NOHIDESEL),
      PLXRC_NAME(ES_READONLY),
      PLXRC_NAME(ES_WANTRETURN),
      PLXRC_NAME(ES_NUMBER),
      PLXRC_NAME(TBS_AUTOTICKS),
      PLXRC_NAME(TBS_VERT),
      PLXRC_NAME(TBS_HORZ),
      PLXRC_NAME(TBS_TOP),
      PLXRC_NAME(TBS_BOTTOM),
      PLXRC_NAME(TBS_LEFT),
      PLXRC_NAME(TBS_RIGHT),
      PLXRC_NAME(TBS_BOTH),
      PLXRC_NAME(TBS_NOTICKS),
      PLXRC_NAME(TBS_ENABLESELRANGE),
      PLXRC_NAME(TBS_FIXEDLENGTH),
      PLXRC_NAME(TBS_NOTHUMB),
      PLXRC_NAME(TBS_TOOLTIPS),
      PLXRC_NAME(TBS_REVERSED),
      PLXRC_NAME(TBS_DOWNISLEFT),
  };
#undef PLXRC_NAME
  return names;
}

// Headers of the platform that scripts include for the names above.
bool IsPlatformHeader(const std::string& name) {
  std::string lower = fs::path(name).filename().string();
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  static const std::set<std::string> headers = {
      "afxres.h", "winres.h", "windows.h", "winresrc.h", "commctrl.h", "winuser.h", "afxwin.h"};
  return headers.count(lower) != 0;
}

// ---- text ----------------------------------------------------------------------------------

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes UTF-8; false at the first malformed sequence.
bool DecodeUtf8(const std::string& in, std::u32string& out) {
  for (size_t i = 0; i < in.size();) {
    const unsigned char b = static_cast<unsigned char>(in[i]);
    int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) >= in.size()) return false;
    char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
    for (int k = 1; k <= extra; ++k) {
      const unsigned char t = static_cast<unsigned char>(in[i + static_cast<size_t>(k)]);
      if ((t & 0xC0) != 0x80) return false;
      c = (c << 6) | (t & 0x3F);
    }
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    out += c;
    i += static_cast<size_t>(extra) + 1;
  }
  return true;
}

std::string ReadScriptFile(const std::string& path, const std::string& from, int fromLine) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw CompileError(from.empty() ? path : from, fromLine, "cannot open '" + path + "'");
  std::stringstream buffer;
  buffer << in.rdbuf();
  std::string bytes = buffer.str();
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    std::string utf8;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      char32_t c =
          static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
      if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
        const char32_t low = static_cast<unsigned char>(bytes[i + 2]) |
                             (static_cast<unsigned char>(bytes[i + 3]) << 8);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
          i += 2;
        }
      }
      AppendUtf8(utf8, c);
    }
    return utf8;
  }
  if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
  std::u32string check;
  if (!DecodeUtf8(bytes, check)) throw CompileError(path, 1, "the file is not UTF-8 text");
  return bytes;
}

// Blanks // and /* */ comments outside string literals, keeping the line structure.
std::string StripComments(const std::string& text) {
  std::string out = text;
  bool inString = false;
  for (size_t i = 0; i < out.size(); ++i) {
    if (inString) {
      if (out[i] == '\\' && i + 1 < out.size() && out[i + 1] != '\n')
        ++i;
      else if (out[i] == '"' || out[i] == '\n')
        inString = false;
      continue;
    }
    if (out[i] == '"') {
      inString = true;
    } else if (out[i] == '/' && i + 1 < out.size() && out[i + 1] == '/') {
      while (i < out.size() && out[i] != '\n') out[i++] = ' ';
    } else if (out[i] == '/' && i + 1 < out.size() && out[i + 1] == '*') {
      out[i] = out[i + 1] = ' ';
      for (i += 2; i < out.size() && !(out[i] == '*' && i + 1 < out.size() && out[i + 1] == '/');
           ++i)
        if (out[i] != '\n') out[i] = ' ';
      if (i < out.size()) out[i] = out[i + 1] = ' ';
      ++i;
    }
  }
  return out;
}

// ---- tokens --------------------------------------------------------------------------------

enum class Kind { kIdent, kNumber, kString, kPunct, kEnd };

struct Token {
  Kind kind = Kind::kEnd;
  std::string text;  // identifier, punctuation, or the number as written
  long long number = 0;
  std::u32string str;  // string literal, decoded
  std::string file;
  int line = 0;
};

bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Decodes a string literal's body: "" is a quote; \n \t \r \a \\ \" \0ooo and \xhh escapes.
std::u32string DecodeLiteral(const std::string& body, const std::string& file, int line) {
  std::u32string raw;
  if (!DecodeUtf8(body, raw)) throw CompileError(file, line, "malformed UTF-8 in a string");
  std::u32string out;
  for (size_t i = 0; i < raw.size(); ++i) {
    const char32_t c = raw[i];
    if (c == U'"' && i + 1 < raw.size() && raw[i + 1] == U'"') {
      out += U'"';
      ++i;
    } else if (c == U'\\' && i + 1 < raw.size()) {
      const char32_t e = raw[++i];
      switch (e) {
        case U'n': out += U'\n'; break;
        case U't': out += U'\t'; break;
        case U'r': out += U'\r'; break;
        case U'a': out += U'\a'; break;
        case U'\\': out += U'\\'; break;
        case U'"': out += U'"'; break;
        case U'x': {
          char32_t v = 0;
          int n = 0;
          while (n < 4 && i + 1 < raw.size() &&
                 std::isxdigit(static_cast<int>(raw[i + 1] & 0x7F)) && raw[i + 1] < 0x80) {
            const char32_t d = raw[++i];
            v = v * 16 + (d <= U'9' ? d - U'0' : (d | 0x20) - U'a' + 10);
            ++n;
          }
          if (n == 0) throw CompileError(file, line, "\\x without hexadecimal digits");
          out += v;
          break;
        }
        default:
          if (e >= U'0' && e <= U'7') {
            char32_t v = e - U'0';
            for (int n = 1; n < 3 && i + 1 < raw.size() && raw[i + 1] >= U'0' && raw[i + 1] <= U'7';
                 ++n)
              v = v * 8 + (raw[++i] - U'0');
            out += v;
          } else {
            out += U'\\';
            out += e;
          }
      }
    } else {
      out += c;
    }
  }
  return out;
}

void Tokenize(const std::string& line, const std::string& file, int lineNo,
              std::vector<Token>& out) {
  for (size_t i = 0; i < line.size();) {
    const char c = line[i];
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
      continue;
    }
    Token t;
    t.file = file;
    t.line = lineNo;
    const bool wide = (c == 'L' || c == 'l') && i + 1 < line.size() && line[i + 1] == '"';
    if (c == '"' || wide) {
      size_t j = i + (wide ? 2 : 1);
      std::string body;
      for (;;) {
        if (j >= line.size()) throw CompileError(file, lineNo, "unterminated string");
        if (line[j] == '"') {
          if (j + 1 < line.size() && line[j + 1] == '"') {
            body += "\"\"";
            j += 2;
            continue;
          }
          break;
        }
        if (line[j] == '\\' && j + 1 < line.size()) {
          body += line[j];
          body += line[j + 1];
          j += 2;
          continue;
        }
        body += line[j++];
      }
      t.kind = Kind::kString;
      t.str = DecodeLiteral(body, file, lineNo);
      i = j + 1;
    } else if (IsIdentStart(c)) {
      size_t j = i;
      while (j < line.size() && IsIdentChar(line[j])) ++j;
      t.kind = Kind::kIdent;
      t.text = line.substr(i, j - i);
      i = j;
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      size_t j = i;
      while (j < line.size() && IsIdentChar(line[j])) ++j;
      t.kind = Kind::kNumber;
      t.text = line.substr(i, j - i);
      std::string digits = t.text;
      while (!digits.empty() && (digits.back() == 'L' || digits.back() == 'l' ||
                                 digits.back() == 'U' || digits.back() == 'u'))
        digits.pop_back();
      size_t used = 0;
      try {
        t.number = std::stoll(digits, &used, 0);
      } catch (const std::exception&) {
        used = 0;
      }
      if (digits.empty() || used != digits.size())
        throw CompileError(file, lineNo, "bad number '" + t.text + "'");
      i = j;
    } else if (std::string("(),|&+-*/~!{}").find(c) != std::string::npos) {
      t.kind = Kind::kPunct;
      t.text = std::string(1, c);
      ++i;
    } else {
      throw CompileError(file, lineNo, std::string("unexpected character '") + c + "'");
    }
    out.push_back(std::move(t));
  }
}

// ---- preprocessor --------------------------------------------------------------------------

struct Macro {
  std::vector<Token> body;
  bool functionLike = false;
};

class Preprocessor {
 public:
  explicit Preprocessor(std::vector<std::string> includeDirs)
      : includeDirs_(std::move(includeDirs)) {}

  void Run(const std::string& path, const std::string& from, int fromLine, int depth) {
    if (depth > kMaxIncludeDepth) throw CompileError(from, fromLine, "#include nested too deeply");
    files_.push_back(path);
    const std::string text = StripComments(ReadScriptFile(path, from, fromLine));
    std::vector<std::pair<int, std::string>> lines;
    {
      int lineNo = 1;
      std::string current;
      int startLine = 1;
      for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\n') {
          if (!current.empty() && current.back() == '\r') current.pop_back();
          if (!current.empty() && current.back() == '\\') {
            current.pop_back();
          } else {
            lines.emplace_back(startLine, current);
            current.clear();
            startLine = lineNo + 1;
          }
          ++lineNo;
        } else {
          current += text[i];
        }
      }
    }
    const size_t depthAtStart = conditions_.size();
    for (const auto& [lineNo, line] : lines) {
      const size_t first = line.find_first_not_of(" \t");
      if (first != std::string::npos && line[first] == '#') {
        Directive(path, lineNo, line.substr(first + 1), depth);
      } else if (Active()) {
        Tokenize(line, path, lineNo, tokens_);
      }
    }
    if (conditions_.size() != depthAtStart)
      throw CompileError(path, conditions_.back().line, "#if without #endif");
  }

  std::vector<Token>& Tokens() { return tokens_; }
  const std::map<std::string, Macro>& Macros() const { return macros_; }
  const std::vector<std::string>& Files() const { return files_; }

 private:
  struct Condition {
    bool active;  // this branch is taken
    bool taken;   // some branch of this #if was taken
    bool parentActive;
    int line;  // of the #if, for an #if left open
  };

  bool Active() const { return conditions_.empty() || conditions_.back().active; }

  void Directive(const std::string& file, int line, const std::string& rest, int depth) {
    size_t i = rest.find_first_not_of(" \t");
    if (i == std::string::npos) return;  // the null directive
    size_t j = i;
    while (j < rest.size() && IsIdentChar(rest[j])) ++j;
    const std::string name = rest.substr(i, j - i);
    std::string arg = rest.substr(j);
    arg.erase(0, arg.find_first_not_of(" \t"));
    while (!arg.empty() && std::isspace(static_cast<unsigned char>(arg.back()))) arg.pop_back();

    if (name == "ifdef" || name == "ifndef") {
      const bool defined = macros_.count(FirstWord(arg, file, line)) != 0;
      Push(name == "ifdef" ? defined : !defined, line);
    } else if (name == "if") {
      Push(Active() && Evaluate(arg, file, line) != 0, line);
    } else if (name == "elif") {
      Condition& c = Top(file, line, name);
      const bool take = c.parentActive && !c.taken && Evaluate(arg, file, line) != 0;
      c.active = take;
      c.taken = c.taken || take;
    } else if (name == "else") {
      Condition& c = Top(file, line, name);
      c.active = c.parentActive && !c.taken;
      c.taken = true;
    } else if (name == "endif") {
      Top(file, line, name);
      conditions_.pop_back();
    } else if (!Active()) {
      return;
    } else if (name == "include") {
      Include(arg, file, line, depth);
    } else if (name == "define") {
      Define(arg, file, line);
    } else if (name == "undef") {
      macros_.erase(FirstWord(arg, file, line));
    } else if (name == "pragma" || name == "line") {
      return;
    } else if (name == "error") {
      throw CompileError(file, line, "#error " + arg);
    } else {
      throw CompileError(file, line, "unknown directive #" + name);
    }
  }

  void Push(bool take, int line) {
    const bool parent = Active();
    conditions_.push_back({parent && take, take, parent, line});
  }

  Condition& Top(const std::string& file, int line, const std::string& name) {
    if (conditions_.empty()) throw CompileError(file, line, "#" + name + " without #if");
    return conditions_.back();
  }

  static std::string FirstWord(const std::string& arg, const std::string& file, int line) {
    size_t j = 0;
    while (j < arg.size() && IsIdentChar(arg[j])) ++j;
    if (j == 0 || !IsIdentStart(arg[0])) throw CompileError(file, line, "a macro name is expected");
    return arg.substr(0, j);
  }

  void Define(const std::string& arg, const std::string& file, int line) {
    const std::string name = FirstWord(arg, file, line);
    Macro macro;
    std::string body = arg.substr(name.size());
    if (!body.empty() && body[0] == '(') {
      // Function-like macros are kept out of the way; using one is an error.
      macro.functionLike = true;
    } else {
      Tokenize(body, file, line, macro.body);
    }
    macros_[name] = std::move(macro);
  }

  void Include(const std::string& arg, const std::string& file, int line, int depth) {
    if (arg.size() < 2 ||
        !((arg.front() == '"' && arg.back() == '"') || (arg.front() == '<' && arg.back() == '>')))
      throw CompileError(file, line, "#include expects \"file\" or <file>");
    const std::string name = arg.substr(1, arg.size() - 2);
    std::vector<fs::path> candidates;
    if (arg.front() == '"') candidates.push_back(fs::path(file).parent_path() / name);
    for (const std::string& dir : includeDirs_) candidates.push_back(fs::path(dir) / name);
    for (const fs::path& candidate : candidates) {
      std::error_code ec;
      if (fs::is_regular_file(candidate, ec)) {
        Run(candidate.lexically_normal().string(), file, line, depth + 1);
        return;
      }
    }
    if (IsPlatformHeader(name)) return;  // its names are built in
    throw CompileError(file, line, "cannot find include file '" + name + "'");
  }

  long long Evaluate(const std::string& expression, const std::string& file, int line);

  std::vector<std::string> includeDirs_;
  std::vector<Token> tokens_;
  std::map<std::string, Macro> macros_;
  std::vector<Condition> conditions_;
  std::vector<std::string> files_;
};

// ---- expressions ---------------------------------------------------------------------------

// Integer expressions over tokens: | & + - * / ~ ! unary minus, parentheses, numbers, macros
// and the built-in names. In a style, "NOT term" removes the term from the style.
class ExpressionReader {
 public:
  ExpressionReader(std::vector<Token>& tokens, size_t& pos,
                   const std::map<std::string, Macro>& macros, bool allowDefined)
      : tokens_(tokens), pos_(pos), macros_(macros), allowDefined_(allowDefined) {}

  long long Or() {
    long long v = And();
    while (Accept("|")) v |= And();
    return v;
  }

  // A style: terms joined by '|', each may be "NOT term".
  void Style(long long& add, long long& remove) {
    do {
      if (PeekIdent("NOT")) {
        ++pos_;
        remove |= And();
      } else {
        add |= And();
      }
    } while (Accept("|"));
  }

  long long And() {
    long long v = Sum();
    while (Accept("&")) v &= Sum();
    return v;
  }

 private:
  long long Sum() {
    long long v = Product();
    for (;;) {
      if (Accept("+"))
        v += Product();
      else if (Accept("-"))
        v -= Product();
      else
        return v;
    }
  }

  long long Product() {
    long long v = Unary();
    for (;;) {
      if (Accept("*")) {
        v *= Unary();
      } else if (Peek("/")) {
        const Token& at = tokens_[pos_++];
        const long long d = Unary();
        if (d == 0) throw CompileError(at.file, at.line, "division by zero");
        v /= d;
      } else {
        return v;
      }
    }
  }

  long long Unary() {
    if (Accept("-")) return -Unary();
    if (Accept("~")) return ~Unary();
    if (Accept("!")) return !Unary();
    if (Accept("(")) {
      const long long v = Or();
      Expect(")");
      return v;
    }
    const Token& t = Current();
    if (t.kind == Kind::kNumber) {
      ++pos_;
      return t.number;
    }
    if (t.kind == Kind::kIdent) {
      ++pos_;
      if (allowDefined_ && t.text == "defined") {
        const bool paren = Accept("(");
        const Token& name = Current();
        if (name.kind != Kind::kIdent)
          throw CompileError(name.file, name.line, "defined() expects a name");
        ++pos_;
        if (paren) Expect(")");
        return macros_.count(name.text) ? 1 : 0;
      }
      return Name(t, 0);
    }
    throw CompileError(t.file, t.line, "a number is expected" + Found(t));
  }

  long long Name(const Token& t, int depth) {
    auto macro = macros_.find(t.text);
    if (macro != macros_.end()) {
      if (macro->second.functionLike)
        throw CompileError(t.file, t.line, "function-like macro '" + t.text + "' is not supported");
      if (depth > kMaxMacroDepth)
        throw CompileError(t.file, t.line, "macro '" + t.text + "' expands forever");
      std::vector<Token> body = macro->second.body;
      if (body.empty()) throw CompileError(t.file, t.line, "macro '" + t.text + "' has no value");
      for (Token& b : body) {
        b.file = t.file;
        b.line = t.line;
      }
      Token end;
      end.file = t.file;
      end.line = t.line;
      body.push_back(end);
      size_t inner = 0;
      ExpressionReader reader(body, inner, macros_, allowDefined_);
      reader.depth_ = depth + 1;
      const long long v = reader.Or();
      if (body[inner].kind != Kind::kEnd)
        throw CompileError(t.file, t.line, "macro '" + t.text + "' is not a number");
      return v;
    }
    auto builtin = BuiltinNames().find(t.text);
    if (builtin != BuiltinNames().end()) return builtin->second;
    if (allowDefined_) return 0;  // as the C preprocessor does in #if
    throw CompileError(t.file, t.line, "undefined name '" + t.text + "'");
  }

  static std::string Found(const Token& t) {
    if (t.kind == Kind::kEnd) return " at the end of the input";
    if (t.kind == Kind::kString) return ", found a string";
    return ", found '" + t.text + "'";
  }

  const Token& Current() const { return tokens_[pos_]; }
  bool Peek(const char* punct) const {
    return Current().kind == Kind::kPunct && Current().text == punct;
  }
  bool PeekIdent(const char* word) const {
    return Current().kind == Kind::kIdent && Current().text == word;
  }
  bool Accept(const char* punct) {
    if (!Peek(punct)) return false;
    ++pos_;
    return true;
  }
  void Expect(const char* punct) {
    if (!Accept(punct))
      throw CompileError(Current().file, Current().line,
                         std::string("'") + punct + "' is expected" + Found(Current()));
  }

  std::vector<Token>& tokens_;
  size_t& pos_;
  const std::map<std::string, Macro>& macros_;
  bool allowDefined_;
  int depth_ = 0;
};

long long Preprocessor::Evaluate(const std::string& expression, const std::string& file, int line) {
  std::vector<Token> tokens;
  Tokenize(expression, file, line, tokens);
  Token end;
  end.file = file;
  end.line = line;
  tokens.push_back(end);
  size_t pos = 0;
  ExpressionReader reader(tokens, pos, macros_, true);
  const long long v = reader.Or();
  if (tokens[pos].kind != Kind::kEnd) throw CompileError(file, line, "bad #if expression");
  return v;
}

// ---- parser --------------------------------------------------------------------------------

struct ControlKind {
  const char* keyword;
  const char32_t* className;
  uint32_t defaultStyle;
  bool hasText;
};

const ControlKind* FindControlKind(const std::string& keyword) {
  static const ControlKind kinds[] = {
      {"LTEXT", U"Static", SS_LEFT | WS_GROUP, true},
      {"RTEXT", U"Static", SS_RIGHT | WS_GROUP, true},
      {"CTEXT", U"Static", SS_CENTER | WS_GROUP, true},
      {"PUSHBUTTON", U"Button", BS_PUSHBUTTON | WS_TABSTOP, true},
      {"DEFPUSHBUTTON", U"Button", BS_DEFPUSHBUTTON | WS_TABSTOP, true},
      {"RADIOBUTTON", U"Button", BS_RADIOBUTTON | WS_TABSTOP, true},
      {"AUTORADIOBUTTON", U"Button", BS_AUTORADIOBUTTON | WS_TABSTOP, true},
      {"CHECKBOX", U"Button", BS_CHECKBOX | WS_TABSTOP, true},
      {"AUTOCHECKBOX", U"Button", BS_AUTOCHECKBOX | WS_TABSTOP, true},
      {"GROUPBOX", U"Button", BS_GROUPBOX, true},
      {"EDITTEXT", U"Edit", ES_LEFT | WS_BORDER | WS_TABSTOP, false},
  };
  for (const ControlKind& k : kinds)
    if (keyword == k.keyword) return &k;
  return nullptr;
}

// The predefined window classes that CONTROL may name by keyword.
const char32_t* PredefinedClass(const std::string& word) {
  static const std::map<std::string, const char32_t*> classes = {
      {"BUTTON", U"Button"},   {"STATIC", U"Static"},       {"EDIT", U"Edit"},
      {"LISTBOX", U"ListBox"}, {"SCROLLBAR", U"ScrollBar"}, {"COMBOBOX", U"ComboBox"}};
  auto it = classes.find(word);
  return it == classes.end() ? nullptr : it->second;
}

bool IsMemoryFlag(const std::string& word) {
  static const std::set<std::string> flags = {"DISCARDABLE", "MOVEABLE", "FIXED",
                                              "PURE",        "IMPURE",   "PRELOAD",
                                              "LOADONCALL",  "SHARED",   "NONSHARED"};
  return flags.count(word) != 0;
}

class Parser {
 public:
  Parser(std::vector<Token>& tokens, const std::map<std::string, Macro>& macros)
      : tokens_(tokens), macros_(macros) {
    Token end;
    end.file = tokens.empty() ? std::string() : tokens.back().file;
    end.line = tokens.empty() ? 1 : tokens.back().line;
    tokens_.push_back(end);
  }

  void Run(Script& script) {
    while (Current().kind != Kind::kEnd) {
      if (AcceptIdent("STRINGTABLE")) {
        StringTable(script);
      } else if (AcceptIdent("LANGUAGE")) {
        SkipLanguage();
      } else {
        const Token name = Current();
        const long long id = Number();
        const Token type = Current();
        if (type.kind != Kind::kIdent)
          throw Error(type, "a resource type is expected" + Found(type));
        ++pos_;
        if (type.text == "DIALOG" || type.text == "DIALOGEX") {
          if (id < 1 || id > 0xFFFF)
            throw Error(name, "dialog id " + std::to_string(id) + " is out of range 1 to 65535");
          for (const Dialog& d : script.dialogs)
            if (d.id == static_cast<uint32_t>(id))
              throw Error(name, "dialog " + std::to_string(id) + " is defined twice");
          script.dialogs.push_back(DialogBody(static_cast<uint32_t>(id), type.text == "DIALOGEX"));
        } else {
          throw Error(type, "resource type " + type.text + " is not supported");
        }
      }
    }
  }

 private:
  Dialog DialogBody(uint32_t id, bool extended) {
    Dialog d;
    d.id = id;
    d.extended = extended;
    while (Current().kind == Kind::kIdent && IsMemoryFlag(Current().text)) ++pos_;
    d.x = Short("x");
    Expect(",");
    d.y = Short("y");
    Expect(",");
    d.cx = Short("width");
    Expect(",");
    d.cy = Short("height");
    if (extended && Accept(",")) Number();  // help id
    bool haveStyle = false, haveCaption = false, haveFont = false;
    long long style = 0;
    for (;;) {
      const Token t = Current();
      if (AcceptIdent("STYLE")) {
        long long add = 0, remove = 0;
        Expression().Style(add, remove);
        style = add & ~remove;
        haveStyle = true;
      } else if (AcceptIdent("EXSTYLE")) {
        d.exStyle = static_cast<uint32_t>(Expression().Or());
      } else if (AcceptIdent("CAPTION")) {
        d.caption = String();
        haveCaption = true;
      } else if (AcceptIdent("FONT")) {
        const long long size = Number();
        if (size < 1 || size > 0x7FFF)
          throw Error(t, "font size " + std::to_string(size) + " is out of range");
        d.pointSize = static_cast<int>(size);
        Expect(",");
        d.typeface = String();
        if (extended) {
          // weight, italic, charset
          for (int i = 0; i < 3 && Accept(","); ++i) Number();
        }
        haveFont = true;
      } else if (AcceptIdent("LANGUAGE")) {
        SkipLanguage();
      } else if (AcceptIdent("CHARACTERISTICS") || AcceptIdent("VERSION")) {
        Number();
      } else if (t.kind == Kind::kIdent && (t.text == "MENU" || t.text == "CLASS")) {
        throw Error(t, "dialog " + t.text + " is not supported");
      } else {
        break;
      }
    }
    d.style = static_cast<uint32_t>(haveStyle ? style : (WS_POPUP | WS_BORDER | WS_SYSMENU));
    if (haveCaption) d.style |= static_cast<uint32_t>(WS_CAPTION);
    if (haveFont) d.style |= static_cast<uint32_t>(DS_SETFONT);
    Begin();
    while (!AcceptEnd()) d.controls.push_back(ControlStatement(extended));
    return d;
  }

  Control ControlStatement(bool extended) {
    const Token t = Current();
    if (t.kind != Kind::kIdent) throw Error(t, "a control statement is expected" + Found(t));
    ++pos_;
    Control c;
    long long add = 0, remove = 0;
    uint32_t base = static_cast<uint32_t>(WS_CHILD | WS_VISIBLE);
    if (t.text == "CONTROL") {
      c.text = String();
      Expect(",");
      c.id = Id();
      Expect(",");
      const Token cls = Current();
      if (cls.kind == Kind::kString) {
        ++pos_;
        c.className = cls.str;
      } else if (cls.kind == Kind::kIdent && PredefinedClass(cls.text)) {
        ++pos_;
        c.className = PredefinedClass(cls.text);
      } else {
        throw Error(cls, "a window class is expected" + Found(cls));
      }
      Expect(",");
      Expression().Style(add, remove);
      Expect(",");
      Rect(c);
    } else if (const ControlKind* kind = FindControlKind(t.text)) {
      c.className = kind->className;
      base |= kind->defaultStyle;
      if (kind->hasText) {
        c.text = String();
        Expect(",");
      }
      c.id = Id();
      Expect(",");
      Rect(c);
      if (Accept(",")) Expression().Style(add, remove);
    } else {
      throw Error(t, "control " + t.text + " is not supported");
    }
    if (Accept(",")) c.exStyle = static_cast<uint32_t>(Expression().Or());
    if (extended && Accept(",")) Number();  // help id
    c.style = static_cast<uint32_t>((base | add) & ~remove);
    return c;
  }

  void Rect(Control& c) {
    c.x = Short("x");
    Expect(",");
    c.y = Short("y");
    Expect(",");
    c.cx = Short("width");
    Expect(",");
    c.cy = Short("height");
  }

  void StringTable(Script& script) {
    while (Current().kind == Kind::kIdent && IsMemoryFlag(Current().text)) ++pos_;
    for (;;) {
      if (AcceptIdent("LANGUAGE"))
        SkipLanguage();
      else if (AcceptIdent("CHARACTERISTICS") || AcceptIdent("VERSION"))
        Number();
      else
        break;
    }
    Begin();
    while (!AcceptEnd()) {
      const Token at = Current();
      const long long id = Number();
      if (id < 0 || id > 0xFFFF)
        throw Error(at, "string id " + std::to_string(id) + " is out of range 0 to 65535");
      for (const StringEntry& s : script.strings)
        if (s.id == static_cast<uint32_t>(id))
          throw Error(at, "string " + std::to_string(id) + " is defined twice");
      Accept(",");
      script.strings.push_back({static_cast<uint32_t>(id), String()});
    }
  }

  void SkipLanguage() {
    Language();
    Expect(",");
    Language();
  }

  // LANGUAGE takes names of winnt.h that are not built in; their values do not matter here.
  void Language() {
    const Token t = Current();
    if (t.kind != Kind::kIdent && t.kind != Kind::kNumber)
      throw Error(t, "a language is expected" + Found(t));
    ++pos_;
  }

  void Begin() {
    if (!AcceptIdent("BEGIN") && !Accept("{"))
      throw Error(Current(), "BEGIN is expected" + Found(Current()));
  }
  bool AcceptEnd() {
    if (Current().kind == Kind::kEnd) throw Error(Current(), "END is missing");
    return AcceptIdent("END") || Accept("}");
  }

  ExpressionReader Expression() { return ExpressionReader(tokens_, pos_, macros_, false); }
  long long Number() {
    // A resource statement's number never contains a top-level '|', but a style does.
    return Expression().Or();
  }
  int Short(const char* what) {
    const Token at = Current();
    const long long v = Number();
    if (v < -32768 || v > 32767)
      throw Error(at,
                  std::string(what) + " " + std::to_string(v) + " is out of range -32768 to 32767");
    return static_cast<int>(v);
  }
  int Id() {
    const Token at = Current();
    const long long v = Number();
    if (v < -32768 || v > 0xFFFF)
      throw Error(at, "control id " + std::to_string(v) + " is out of range");
    return static_cast<int>(v > 0x7FFF ? v - 0x10000 : v);  // a WORD: 65535 is IDC_STATIC
  }
  std::u32string String() {
    const Token t = Current();
    if (t.kind == Kind::kString) {
      ++pos_;
      return t.str;
    }
    if (t.kind == Kind::kIdent) {
      auto macro = macros_.find(t.text);
      if (macro != macros_.end() && macro->second.body.size() == 1 &&
          macro->second.body[0].kind == Kind::kString) {
        ++pos_;
        return macro->second.body[0].str;
      }
    }
    throw Error(t, "a string is expected" + Found(t));
  }

  static std::string Found(const Token& t) {
    if (t.kind == Kind::kEnd) return " at the end of the input";
    if (t.kind == Kind::kString) return ", found a string";
    return ", found '" + t.text + "'";
  }
  static CompileError Error(const Token& t, const std::string& message) {
    return CompileError(t.file, t.line, message);
  }

  const Token& Current() const { return tokens_[pos_]; }
  bool Accept(const char* punct) {
    if (Current().kind != Kind::kPunct || Current().text != punct) return false;
    ++pos_;
    return true;
  }
  bool AcceptIdent(const char* word) {
    if (Current().kind != Kind::kIdent || Current().text != word) return false;
    ++pos_;
    return true;
  }
  void Expect(const char* punct) {
    if (!Accept(punct))
      throw Error(Current(), std::string("'") + punct + "' is expected" + Found(Current()));
  }

  std::vector<Token>& tokens_;
  const std::map<std::string, Macro>& macros_;
  size_t pos_ = 0;
};

}  // namespace

Script CompileScript(const std::string& path, const std::vector<std::string>& includeDirs) {
  Preprocessor pre(includeDirs);
  pre.Run(path, std::string(), 0, 0);
  Script script;
  Parser(pre.Tokens(), pre.Macros()).Run(script);
  script.files = pre.Files();
  return script;
}

}  // namespace plxrc
