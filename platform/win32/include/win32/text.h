// Shared by the stand-ins: wide text, UTF-8 and the platform's printf rules.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

namespace plx {

std::string Utf8FromWide(std::wstring_view text);
// Appends one code point as UTF-8 (surrogates and values past U+10FFFF as U+FFFD).
void AppendUtf8(std::string& out, char32_t c);
std::wstring WideFromUtf8(std::string_view text);

// Rewrites a format of the platform's wide printf family for glibc: %s and %c take wide
// arguments there (%ls, %lc), %S and %C narrow ones (%s, %c); %ls, %hs and the rest pass.
std::wstring TranslateWideFormat(const wchar_t* format);

// Formats with the platform's wide rules into a string of any length.
std::wstring FormatWideV(const wchar_t* format, va_list args);
std::wstring FormatWide(const wchar_t* format, ...);

// A path of the platform (either separator) as a Linux path in UTF-8.
std::string NativePath(std::wstring_view path);

}  // namespace plx
