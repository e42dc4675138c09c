// The host's growable array: a logical length (the elements in use) within a physical length
// (the room reserved), growing by the grow length. Indices are int, as on the platform; an
// index outside 0 .. length()-1 is a broken precondition (asserted).
#pragma once

#include <algorithm>
#include <cassert>
#include <vector>

template <class T>
class AcArray {
 public:
  explicit AcArray(int physicalLength = 0, int growLength = 8) : grow_(growLength > 0 ? growLength : 8) {
    if (physicalLength > 0) items_.reserve(static_cast<size_t>(physicalLength));
  }

  int length() const { return static_cast<int>(items_.size()); }
  int logicalLength() const { return length(); }
  int physicalLength() const { return static_cast<int>(items_.capacity()); }
  int growLength() const { return grow_; }
  bool isEmpty() const { return items_.empty(); }

  T& operator[](int i) { assert(i >= 0 && i < length()); return items_[static_cast<size_t>(i)]; }
  const T& operator[](int i) const { assert(i >= 0 && i < length()); return items_[static_cast<size_t>(i)]; }
  T& at(int i) { return (*this)[i]; }
  const T& at(int i) const { return (*this)[i]; }
  T& first() { return (*this)[0]; }
  const T& first() const { return (*this)[0]; }
  T& last() { return (*this)[length() - 1]; }
  const T& last() const { return (*this)[length() - 1]; }

  // Appends and returns the new element's index.
  int append(const T& value) {
    items_.push_back(value);
    return length() - 1;
  }
  AcArray& append(const AcArray& other) {
    items_.insert(items_.end(), other.items_.begin(), other.items_.end());
    return *this;
  }
  AcArray& insertAt(int index, const T& value) {
    assert(index >= 0 && index <= length());
    items_.insert(items_.begin() + index, value);
    return *this;
  }
  AcArray& setAt(int index, const T& value) { (*this)[index] = value; return *this; }
  AcArray& removeAt(int index) {
    assert(index >= 0 && index < length());
    items_.erase(items_.begin() + index);
    return *this;
  }
  AcArray& removeFirst() { return removeAt(0); }
  AcArray& removeLast() { return removeAt(length() - 1); }
  AcArray& removeAll() { items_.clear(); return *this; }
  bool remove(const T& value, int start = 0) {
    int index = -1;
    if (!find(value, index, start)) return false;
    removeAt(index);
    return true;
  }
  AcArray& setLogicalLength(int n) { items_.resize(static_cast<size_t>(std::max(n, 0))); return *this; }
  AcArray& setPhysicalLength(int n) {
    if (n < length()) items_.resize(static_cast<size_t>(std::max(n, 0)));
    items_.reserve(static_cast<size_t>(std::max(n, 0)));
    return *this;
  }
  AcArray& setGrowLength(int n) { if (n > 0) grow_ = n; return *this; }
  AcArray& reverse() { std::reverse(items_.begin(), items_.end()); return *this; }

  bool contains(const T& value, int start = 0) const {
    int index = -1;
    return find(value, index, start);
  }
  bool find(const T& value, int& index, int start = 0) const {
    for (int i = std::max(start, 0); i < length(); ++i)
      if (items_[static_cast<size_t>(i)] == value) {
        index = i;
        return true;
      }
    return false;
  }
  int find(const T& value) const {
    int index = -1;
    return find(value, index) ? index : -1;
  }

  T* asArrayPtr() { return items_.data(); }
  const T* asArrayPtr() const { return items_.data(); }

  bool operator==(const AcArray& other) const { return items_ == other.items_; }

  // Range-for over the elements.
  T* begin() { return items_.data(); }
  T* end() { return items_.data() + items_.size(); }
  const T* begin() const { return items_.data(); }
  const T* end() const { return items_.data() + items_.size(); }

 private:
  std::vector<T> items_;
  int grow_;
};
