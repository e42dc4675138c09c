// CString on std::wstring; formatting goes through the platform's wide printf rules.
#include <algorithm>
#include <cwctype>

#include "afxcoll.h"
#include "afxstr.h"
#include "win32/text.h"

namespace {

bool IsSpace(wchar_t c) { return std::iswspace(static_cast<wint_t>(c)) != 0; }

}  // namespace

CString::CString(const char* text) : s_(text ? plx::WideFromUtf8(text) : std::wstring()) {}

wchar_t* CString::GetBuffer(int minLength) {
  if (minLength > GetLength()) s_.resize(static_cast<size_t>(minLength));
  return s_.data();
}

wchar_t* CString::GetBufferSetLength(int length) {
  s_.resize(length > 0 ? static_cast<size_t>(length) : 0);
  return s_.data();
}

void CString::ReleaseBuffer(int newLength) {
  if (newLength < 0)
    s_.resize(wcslen(s_.c_str()));
  else
    s_.resize(std::min(static_cast<size_t>(newLength), s_.size()));
}

void CString::Format(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(format, args);
  va_end(args);
}

void CString::FormatV(const wchar_t* format, va_list args) { s_ = plx::FormatWideV(format, args); }

void CString::AppendFormat(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  s_ += plx::FormatWideV(format, args);
  va_end(args);
}

int CString::CompareNoCase(const wchar_t* other) const {
  const wchar_t* a = s_.c_str();
  const wchar_t* b = other ? other : L"";
  for (;; ++a, ++b) {
    const wint_t ca = std::towlower(static_cast<wint_t>(*a));
    const wint_t cb = std::towlower(static_cast<wint_t>(*b));
    if (ca != cb) return ca < cb ? -1 : 1;
    if (!ca) return 0;
  }
}

int CString::Find(wchar_t ch, int start) const {
  if (start < 0 || start > GetLength()) return -1;
  const size_t at = s_.find(ch, static_cast<size_t>(start));
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const wchar_t* sub, int start) const {
  if (!sub || start < 0 || start > GetLength()) return -1;
  const size_t at = s_.find(sub, static_cast<size_t>(start));
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(wchar_t ch) const {
  const size_t at = s_.rfind(ch);
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::FindOneOf(const wchar_t* chars) const {
  if (!chars) return -1;
  const size_t at = s_.find_first_of(chars);
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

CString CString::Left(int count) const {
  count = std::clamp(count, 0, GetLength());
  return CString(s_.substr(0, static_cast<size_t>(count)));
}

CString CString::Right(int count) const {
  count = std::clamp(count, 0, GetLength());
  return CString(s_.substr(s_.size() - static_cast<size_t>(count)));
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
  first = std::clamp(first, 0, GetLength());
  count = std::clamp(count, 0, GetLength() - first);
  return CString(s_.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString& CString::MakeUpper() {
  for (wchar_t& c : s_) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return *this;
}

CString& CString::MakeLower() {
  for (wchar_t& c : s_) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return *this;
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }

CString& CString::TrimLeft() {
  size_t i = 0;
  while (i < s_.size() && IsSpace(s_[i])) ++i;
  s_.erase(0, i);
  return *this;
}

CString& CString::TrimRight() {
  while (!s_.empty() && IsSpace(s_.back())) s_.pop_back();
  return *this;
}

CString& CString::Trim(wchar_t ch) { return TrimRight(ch).TrimLeft(ch); }

CString& CString::TrimLeft(wchar_t ch) {
  size_t i = 0;
  while (i < s_.size() && s_[i] == ch) ++i;
  s_.erase(0, i);
  return *this;
}

CString& CString::TrimRight(wchar_t ch) {
  while (!s_.empty() && s_.back() == ch) s_.pop_back();
  return *this;
}

int CString::Replace(const wchar_t* oldText, const wchar_t* newText) {
  if (!oldText || !*oldText) return 0;
  const std::wstring from(oldText);
  const std::wstring to(newText ? newText : L"");
  int count = 0;
  std::wstring out;
  out.reserve(s_.size());
  size_t pos = 0;
  for (size_t hit; (hit = s_.find(from, pos)) != std::wstring::npos; pos = hit + from.size()) {
    out.append(s_, pos, hit - pos);
    out += to;
    ++count;
  }
  out.append(s_, pos, std::wstring::npos);
  s_ = std::move(out);
  return count;
}

int CString::Replace(wchar_t oldCh, wchar_t newCh) {
  int count = 0;
  for (wchar_t& c : s_)
    if (c == oldCh) {
      c = newCh;
      ++count;
    }
  return count;
}

int CString::Remove(wchar_t ch) {
  const size_t before = s_.size();
  s_.erase(std::remove(s_.begin(), s_.end(), ch), s_.end());
  return static_cast<int>(before - s_.size());
}

int CString::Insert(int index, const wchar_t* text) {
  index = std::clamp(index, 0, GetLength());
  if (text) s_.insert(static_cast<size_t>(index), text);
  return GetLength();
}

int CString::Delete(int index, int count) {
  if (index >= 0 && index < GetLength() && count > 0)
    s_.erase(static_cast<size_t>(index), static_cast<size_t>(count));
  return GetLength();
}

CString CString::Tokenize(const wchar_t* delimiters, int& start) const {
  if (start < 0 || start >= GetLength() || !delimiters) {
    start = -1;
    return CString();
  }
  const size_t begin = s_.find_first_not_of(delimiters, static_cast<size_t>(start));
  if (begin == std::wstring::npos) {
    start = -1;
    return CString();
  }
  size_t end = s_.find_first_of(delimiters, begin);
  if (end == std::wstring::npos) end = s_.size();
  start = static_cast<int>(std::min(end + 1, s_.size() + 1));
  return CString(s_.substr(begin, end - begin));
}

void CStringArray::InsertAt(INT_PTR index, const CString& value, INT_PTR count) {
  if (index < 0 || count <= 0) return;
  if (static_cast<size_t>(index) > items_.size()) items_.resize(static_cast<size_t>(index));
  items_.insert(items_.begin() + index, static_cast<size_t>(count), value);
}

void CStringArray::RemoveAt(INT_PTR index, INT_PTR count) {
  if (index < 0 || count <= 0 || static_cast<size_t>(index) >= items_.size()) return;
  const size_t last = std::min(items_.size(), static_cast<size_t>(index + count));
  items_.erase(items_.begin() + index, items_.begin() + static_cast<std::ptrdiff_t>(last));
}

INT_PTR CStringArray::Append(const CStringArray& other) {
  const INT_PTR first = GetSize();
  items_.insert(items_.end(), other.items_.begin(), other.items_.end());
  return first;
}
