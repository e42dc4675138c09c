// ON_TextLog: where IsValid and other diagnostics describe what they found. This stand-in
// keeps the text in memory; Text() returns everything printed so far.
#pragma once

#include <string>

class ON_TextLog {
 public:
  ON_TextLog() = default;

  // printf-style; appends to the text.
  void Print(const char* format, ...) __attribute__((format(printf, 2, 3)));
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};
