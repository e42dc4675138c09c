// UTF-8 conversion and the translation of the platform's wide printf formats for glibc.
#include "win32/text.h"

#include <cwchar>
#include <vector>

namespace plx {

void AppendUtf8(std::string& out, char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
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

std::string Utf8FromWide(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t wc : text) AppendUtf8(out, static_cast<char32_t>(wc));
  return out;
}

std::wstring WideFromUtf8(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    auto b = static_cast<unsigned char>(text[i]);
    uint32_t c = 0xFFFD;
    size_t extra = 0;
    if (b < 0x80) {
      c = b;
    } else if ((b & 0xE0) == 0xC0) {
      c = b & 0x1F;
      extra = 1;
    } else if ((b & 0xF0) == 0xE0) {
      c = b & 0x0F;
      extra = 2;
    } else if ((b & 0xF8) == 0xF0) {
      c = b & 0x07;
      extra = 3;
    } else {
      ++i;
      out += static_cast<wchar_t>(0xFFFD);
      continue;
    }
    if (i + extra >= text.size()) {  // truncated sequence at the end
      out += static_cast<wchar_t>(0xFFFD);
      break;
    }
    bool valid = true;
    for (size_t k = 1; k <= extra; ++k) {
      auto cont = static_cast<unsigned char>(text[i + k]);
      if ((cont & 0xC0) != 0x80) {
        valid = false;
        extra = k - 1;
        break;
      }
      c = (c << 6) | (cont & 0x3F);
    }
    out += static_cast<wchar_t>(valid ? c : 0xFFFD);
    i += extra + 1;
  }
  return out;
}

std::wstring TranslateWideFormat(const wchar_t* format) {
  std::wstring out;
  if (!format) return out;
  out.reserve(wcslen(format) + 8);
  for (const wchar_t* p = format; *p;) {
    if (*p != L'%') {
      out += *p++;
      continue;
    }
    out += *p++;
    if (*p == L'%') {
      out += *p++;
      continue;
    }
    while (*p && wcschr(L"-+ #0'", *p)) out += *p++;
    while (*p && (*p == L'*' || (*p >= L'0' && *p <= L'9'))) out += *p++;
    if (*p == L'.') {
      out += *p++;
      while (*p && (*p == L'*' || (*p >= L'0' && *p <= L'9'))) out += *p++;
    }
    // Length: remember h or l for s and c; rewrite the platform's I64/I32/I.
    wchar_t size = 0;
    std::wstring length;
    for (;;) {
      if (*p == L'h' || *p == L'l' || *p == L'L' || *p == L'z' || *p == L'j' || *p == L't') {
        if (!size) size = *p;
        length += *p++;
      } else if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') {
        length += L"ll";
        p += 3;
      } else if (p[0] == L'I' && p[1] == L'3' && p[2] == L'2') {
        p += 3;
      } else if (p[0] == L'I') {
        length += L"z";
        p += 1;
      } else {
        break;
      }
    }
    wchar_t conv = *p;
    if (!conv) {
      out += length;
      break;
    }
    ++p;
    switch (conv) {
      case L's':
        out += size == L'h' ? L"s" : L"ls";
        break;
      case L'S':
        out += size == L'l' ? L"ls" : L"s";
        break;
      case L'c':
        out += size == L'h' ? L"c" : L"lc";
        break;
      case L'C':
        out += size == L'l' ? L"lc" : L"c";
        break;
      default:
        out += length;
        out += conv;
    }
  }
  return out;
}

std::wstring FormatWideV(const wchar_t* format, va_list args) {
  const std::wstring translated = TranslateWideFormat(format);
  std::vector<wchar_t> buffer(256);
  for (;;) {
    va_list copy;
    va_copy(copy, args);
    const int n = vswprintf(buffer.data(), buffer.size(), translated.c_str(), copy);
    va_end(copy);
    if (n >= 0) return std::wstring(buffer.data(), static_cast<size_t>(n));
    // glibc gives -1 both for a short buffer and for a bad conversion: stop growing at 64 MiB.
    if (buffer.size() >= (size_t{1} << 24)) return std::wstring();
    buffer.resize(buffer.size() * 4);
  }
}

std::wstring FormatWide(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  std::wstring out = FormatWideV(format, args);
  va_end(args);
  return out;
}

std::string NativePath(std::wstring_view path) {
  std::wstring copy(path);
  for (wchar_t& c : copy)
    if (c == L'\\') c = L'/';
  return Utf8FromWide(copy);
}

}  // namespace plx
