#include "opennurbs/text_log.h"

#include <cstdarg>
#include <cstdio>

void ON_TextLog::Print(const char* format, ...) {
  if (!format) return;
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length > 0) {
    const size_t old = text_.size();
    text_.resize(old + static_cast<size_t>(length) + 1);
    std::vsnprintf(text_.data() + old, static_cast<size_t>(length) + 1, format, args);
    text_.resize(old + static_cast<size_t>(length));
  }
  va_end(args);
}
