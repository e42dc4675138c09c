// Text of DXF strings: code pages to UTF-8 and the host's escapes, and the cipher of ACIS text.
//
// Before R2007 strings are in the code page named by $DWGCODEPAGE (iconv does the conversion;
// Windows-1252, by far the most common, has a table of its own). Characters outside the code
// page are written as \U+XXXX (a UTF-16 unit) or \M+NXXXX (a double-byte character of one of
// the five East Asian code pages, N = 1..5).
#include <iconv.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#include "ParserParts.h"
#include "win32/text.h"

namespace plx::dxf {

using detail::Cat;

namespace {

// Windows-1252 0x80..0x9F; the rest of the upper half is Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

void AppendCp1252(std::string& out, unsigned char c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0xA0) {
    plx::AppendUtf8(out, kCp1252High[c - 0x80]);
  } else {
    plx::AppendUtf8(out, c);
  }
}

// Length of the valid UTF-8 sequence at s[i], or 0.
size_t Utf8Length(std::string_view s, size_t i) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
  if (n == 0 || i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
  if (n == 2 && c < 0xC2) return 0;  // overlong
  return n;
}

int Hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool Hex4(std::string_view s, size_t at, unsigned& value) {
  if (at + 4 > s.size()) return false;
  value = 0;
  for (size_t k = 0; k < 4; ++k) {
    int d = Hex(s[at + k]);
    if (d < 0) return false;
    value = value * 16 + static_cast<unsigned>(d);
  }
  return true;
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// The iconv name of a $DWGCODEPAGE value, or empty.
std::string IconvName(std::string_view name) {
  std::string n = Upper(name);
  auto digitsAfter = [&](std::string_view prefix) -> std::string {
    if (n.rfind(prefix, 0) != 0 || n.size() == prefix.size()) return {};
    std::string digits = n.substr(prefix.size());
    for (char c : digits)
      if (!std::isdigit(static_cast<unsigned char>(c))) return {};
    return digits;
  };
  if (std::string d = digitsAfter("ANSI_"); !d.empty()) return Cat({"CP", d});
  if (std::string d = digitsAfter("DOS"); !d.empty()) return Cat({"CP", d});
  if (std::string d = digitsAfter("ISO8859-"); !d.empty()) return Cat({"ISO-8859-", d});
  if (std::string d = digitsAfter("ISO-8859-"); !d.empty()) return Cat({"ISO-8859-", d});
  if (n == "MACINTOSH" || n == "BIG5" || n == "GB2312" || n == "JOHAB") return n;
  if (n == "KSC5601") return "CP949";
  if (n == "UTF8" || n == "UTF-8") return "UTF-8";
  return {};
}

// Code pages of the \M+N escapes.
const char* MbcsCodePage(int n) {
  switch (n) {
    case 1: return "CP932";
    case 2: return "CP950";
    case 3: return "CP949";
    case 4: return "JOHAB";
    case 5: return "CP936";
    default: return nullptr;
  }
}

// Converts bytes with iconv; bytes it refuses are read as Windows-1252.
void Convert(void* handle, std::string_view raw, std::string& out) {
  iconv_t cd = static_cast<iconv_t>(handle);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char buffer[1024];
  char* in = const_cast<char*>(raw.data());
  size_t inLeft = raw.size();
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, outPtr - buffer);
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      AppendCp1252(out, static_cast<unsigned char>(*in));
      ++in;
      --inLeft;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
}

std::string ConvertMbcs(int page, unsigned value) {
  std::string out;
  const char* name = MbcsCodePage(page);
  if (!name) return out;
  iconv_t cd = iconv_open("UTF-8", name);
  if (cd == reinterpret_cast<iconv_t>(-1)) return out;
  char bytes[2] = {static_cast<char>(value >> 8), static_cast<char>(value & 0xFF)};
  std::string_view raw = (value >> 8) ? std::string_view(bytes, 2) : std::string_view(bytes + 1, 1);
  Convert(cd, raw, out);
  iconv_close(cd);
  return out;
}

// Resolves \U+XXXX (with surrogate pairs) and \M+NXXXX in UTF-8 text.
std::string ResolveEscapes(const std::string& text) {
  if (text.find('\\') == std::string::npos) return text;
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c != '\\' || i + 1 >= text.size()) {
      out += c;
      ++i;
      continue;
    }
    char next = text[i + 1];
    unsigned value = 0;
    if (next == '\\') {  // an escaped backslash stays as it is
      out += "\\\\";
      i += 2;
    } else if ((next == 'U' || next == 'u') && i + 2 < text.size() && text[i + 2] == '+' &&
               Hex4(text, i + 3, value)) {
      i += 7;
      char32_t cp = value;
      unsigned low = 0;
      if (value >= 0xD800 && value < 0xDC00 && i + 7 <= text.size() && text[i] == '\\' &&
          (text[i + 1] == 'U' || text[i + 1] == 'u') && text[i + 2] == '+' &&
          Hex4(text, i + 3, low) && low >= 0xDC00 && low < 0xE000) {
        cp = 0x10000 + ((value - 0xD800) << 10) + (low - 0xDC00);
        i += 7;
      } else if (value >= 0xD800 && value < 0xE000) {
        cp = 0xFFFD;
      }
      plx::AppendUtf8(out, cp);
    } else if ((next == 'M' || next == 'm') && i + 3 < text.size() && text[i + 2] == '+' &&
               text[i + 3] >= '1' && text[i + 3] <= '5' && Hex4(text, i + 4, value)) {
      std::string decoded = ConvertMbcs(text[i + 3] - '0', value);
      if (decoded.empty()) {
        out.append(text, i, 8);
      } else {
        out += decoded;
      }
      i += 8;
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

}  // namespace

TextDecoder::TextDecoder() = default;

TextDecoder::~TextDecoder() {
  if (iconv_) iconv_close(static_cast<iconv_t>(iconv_));
}

bool TextDecoder::SetCodePage(std::string_view name) {
  std::string iconvName = IconvName(name);
  if (iconvName.empty()) return false;
  if (iconvName != "CP1252" && iconvName != "UTF-8") {
    iconv_t cd = iconv_open("UTF-8", iconvName.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    if (iconv_) iconv_close(static_cast<iconv_t>(iconv_));
    iconv_ = cd;
  }
  codePage_ = std::string(name);
  iconvName_ = iconvName;
  return true;
}

std::string TextDecoder::Decode(std::string_view raw) const {
  bool plain = true;
  for (char c : raw) {
    if (static_cast<unsigned char>(c) >= 0x80 || c == '\\') {
      plain = false;
      break;
    }
  }
  if (plain) return std::string(raw);
  std::string text;
  text.reserve(raw.size() + 8);
  if (utf8_ || iconvName_ == "UTF-8") {
    for (size_t i = 0; i < raw.size();) {
      size_t n = Utf8Length(raw, i);
      if (n == 0) {
        AppendCp1252(text, static_cast<unsigned char>(raw[i]));
        ++i;
      } else {
        text.append(raw.substr(i, n));
        i += n;
      }
    }
  } else if (iconvName_ == "CP1252" || !iconv_) {
    for (char c : raw) AppendCp1252(text, static_cast<unsigned char>(c));
  } else {
    Convert(iconv_, raw, text);
  }
  return ResolveEscapes(text);
}

std::string DecipherSat(std::string_view enciphered) {
  std::string out;
  out.reserve(enciphered.size());
  for (size_t i = 0; i < enciphered.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(enciphered[i]);
    if (c == '^' && i + 1 < enciphered.size() && enciphered[i + 1] == ' ') ++i;
    // The cipher maps printable ASCII onto itself; anything else is passed through.
    out += (c > 32 && c < 127) ? static_cast<char>(159 - c) : static_cast<char>(c);
  }
  return out;
}

std::string EncipherSat(std::string_view plain) {
  std::string out;
  out.reserve(plain.size() + 8);
  for (char ch : plain) {
    unsigned char c = static_cast<unsigned char>(ch);
    char e = (c > 32 && c < 127) ? static_cast<char>(159 - c) : ch;
    out += e;
    if (e == '^') out += ' ';
  }
  return out;
}

}  // namespace plx::dxf
