// CString: a wide-character string with MFC's interface. Format and FormatV follow the
// platform's wide printf rules (%s takes a wide string, %S a narrow one).
#pragma once

#include <cstdarg>
#include <functional>
#include <string>

#include "win32.h"

class CString {
 public:
  CString() = default;
  CString(const CString&) = default;
  CString(CString&&) noexcept = default;
  CString(const wchar_t* text) : s_(text ? text : L"") {}              // NOLINT: as in MFC
  CString(const wchar_t* text, int length) : s_(text ? text : L"", text && length > 0 ? length : 0) {}
  CString(const char* text);                                           // NOLINT: UTF-8
  CString(wchar_t ch, int repeat = 1) : s_(repeat > 0 ? repeat : 0, ch) {}  // NOLINT
  CString(const std::wstring& text) : s_(text) {}                      // NOLINT

  CString& operator=(const CString&) = default;
  CString& operator=(CString&&) noexcept = default;
  CString& operator=(const wchar_t* text) {
    s_ = text ? text : L"";
    return *this;
  }
  CString& operator=(wchar_t ch) {
    s_.assign(1, ch);
    return *this;
  }

  operator const wchar_t*() const { return s_.c_str(); }  // NOLINT: as in MFC
  const wchar_t* GetString() const { return s_.c_str(); }
  const std::wstring& Str() const { return s_; }

  int GetLength() const { return static_cast<int>(s_.size()); }
  bool IsEmpty() const { return s_.empty(); }
  void Empty() { s_.clear(); }
  wchar_t GetAt(int index) const { return s_.at(static_cast<size_t>(index)); }
  void SetAt(int index, wchar_t ch) { s_.at(static_cast<size_t>(index)) = ch; }
  wchar_t operator[](int index) const { return GetAt(index); }

  // A writable buffer of at least minLength characters (plus the terminator); ReleaseBuffer
  // takes the length from the terminator (-1) or from the argument.
  wchar_t* GetBuffer(int minLength = 0);
  wchar_t* GetBufferSetLength(int length);
  void ReleaseBuffer(int newLength = -1);

  void Format(const wchar_t* format, ...);
  void FormatV(const wchar_t* format, va_list args);
  void AppendFormat(const wchar_t* format, ...);

  CString& operator+=(const CString& other) {
    s_ += other.s_;
    return *this;
  }
  CString& operator+=(const wchar_t* text) {
    if (text) s_ += text;
    return *this;
  }
  CString& operator+=(wchar_t ch) {
    s_ += ch;
    return *this;
  }
  void Append(const wchar_t* text) { *this += text; }
  void AppendChar(wchar_t ch) { s_ += ch; }

  int Compare(const wchar_t* other) const { return s_.compare(other ? other : L""); }
  int CompareNoCase(const wchar_t* other) const;

  int Find(wchar_t ch, int start = 0) const;
  int Find(const wchar_t* sub, int start = 0) const;
  int ReverseFind(wchar_t ch) const;
  int FindOneOf(const wchar_t* chars) const;

  CString Left(int count) const;
  CString Right(int count) const;
  CString Mid(int first) const;
  CString Mid(int first, int count) const;

  CString& MakeUpper();
  CString& MakeLower();
  CString& Trim();
  CString& TrimLeft();
  CString& TrimRight();
  CString& Trim(wchar_t ch);
  CString& TrimLeft(wchar_t ch);
  CString& TrimRight(wchar_t ch);
  int Replace(const wchar_t* oldText, const wchar_t* newText);
  int Replace(wchar_t oldCh, wchar_t newCh);
  int Remove(wchar_t ch);
  int Insert(int index, const wchar_t* text);
  int Delete(int index, int count = 1);
  CString Tokenize(const wchar_t* delimiters, int& start) const;

  // The string resource nID of the current resources (AfxGetResourceHandle, then the extension
  // libraries' chain). FALSE, and the string unchanged, when no module holds it.
  BOOL LoadString(UINT nID);

  friend CString operator+(const CString& a, const CString& b) { return CString(a.s_ + b.s_); }
  friend CString operator+(const CString& a, const wchar_t* b) {
    CString r(a);
    r += b;
    return r;
  }
  friend CString operator+(const wchar_t* a, const CString& b) {
    CString r(a);
    r += b;
    return r;
  }
  friend CString operator+(const CString& a, wchar_t b) {
    CString r(a);
    r += b;
    return r;
  }
  friend bool operator==(const CString& a, const CString& b) { return a.s_ == b.s_; }
  friend bool operator==(const CString& a, const wchar_t* b) { return a.s_ == (b ? b : L""); }
  friend bool operator==(const wchar_t* a, const CString& b) { return b == a; }
  friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
  friend bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
  friend bool operator!=(const wchar_t* a, const CString& b) { return !(b == a); }
  friend bool operator<(const CString& a, const CString& b) { return a.s_ < b.s_; }

 private:
  std::wstring s_;
};

typedef CString CStringW;

template <>
struct std::hash<CString> {
  size_t operator()(const CString& s) const noexcept { return std::hash<std::wstring>()(s.Str()); }
};
