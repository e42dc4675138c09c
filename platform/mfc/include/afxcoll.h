// MFC's CStringArray.
#pragma once

#include <vector>

#include "afxstr.h"

class CStringArray {
 public:
  INT_PTR GetSize() const { return static_cast<INT_PTR>(items_.size()); }
  INT_PTR GetCount() const { return GetSize(); }
  INT_PTR GetUpperBound() const { return GetSize() - 1; }
  bool IsEmpty() const { return items_.empty(); }
  void SetSize(INT_PTR size) { items_.resize(size > 0 ? static_cast<size_t>(size) : 0); }

  const CString& GetAt(INT_PTR index) const { return items_.at(static_cast<size_t>(index)); }
  CString& ElementAt(INT_PTR index) { return items_.at(static_cast<size_t>(index)); }
  void SetAt(INT_PTR index, const CString& value) { items_.at(static_cast<size_t>(index)) = value; }
  const CString& operator[](INT_PTR index) const { return GetAt(index); }
  CString& operator[](INT_PTR index) { return ElementAt(index); }

  INT_PTR Add(const CString& value) {
    items_.push_back(value);
    return GetUpperBound();
  }
  void InsertAt(INT_PTR index, const CString& value, INT_PTR count = 1);
  void RemoveAt(INT_PTR index, INT_PTR count = 1);
  void RemoveAll() { items_.clear(); }
  INT_PTR Append(const CStringArray& other);
  void Copy(const CStringArray& other) { items_ = other.items_; }

 private:
  std::vector<CString> items_;
};
