// openNURBS's dynamic arrays. ON_SimpleArray<T> holds trivially copyable values and moves
// them as bytes (growth by realloc, new elements of AppendNew zeroed), as openNURBS does;
// ON_ClassArray<T> holds objects with constructors, copies and destructors (meshes).
// Counts and indices are int. Indexing outside 0 .. Count()-1 is a broken precondition.
#pragma once

#include <cassert>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

template <class T>
class ON_SimpleArray {
  static_assert(std::is_trivially_copyable_v<T>, "ON_SimpleArray holds trivially copyable values");

 public:
  ON_SimpleArray() noexcept = default;
  explicit ON_SimpleArray(size_t initialCapacity) { Reserve(initialCapacity); }
  ON_SimpleArray(const ON_SimpleArray& other) { *this = other; }
  ON_SimpleArray(ON_SimpleArray&& other) noexcept
      : a_(std::exchange(other.a_, nullptr)),
        count_(std::exchange(other.count_, 0)),
        capacity_(std::exchange(other.capacity_, 0)) {}
  ~ON_SimpleArray() { std::free(a_); }

  ON_SimpleArray& operator=(const ON_SimpleArray& other) {
    if (this != &other) {
      if (other.count_ > capacity_) Reallocate(other.count_);
      if (other.count_ > 0) std::memcpy(static_cast<void*>(a_), other.a_, sizeof(T) * other.count_);
      count_ = other.count_;
    }
    return *this;
  }
  ON_SimpleArray& operator=(ON_SimpleArray&& other) noexcept {
    if (this != &other) {
      std::free(a_);
      a_ = std::exchange(other.a_, nullptr);
      count_ = std::exchange(other.count_, 0);
      capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
  }

  int Count() const { return count_; }
  int Capacity() const { return capacity_; }
  unsigned int SizeOfElement() const { return static_cast<unsigned int>(sizeof(T)); }

  T& operator[](int i) {
    assert(i >= 0 && i < count_);
    return a_[i];
  }
  const T& operator[](int i) const {
    assert(i >= 0 && i < count_);
    return a_[i];
  }
  // The element at i, or null when i is outside the array.
  T* At(int i) { return i >= 0 && i < count_ ? a_ + i : nullptr; }
  const T* At(int i) const { return i >= 0 && i < count_ ? a_ + i : nullptr; }

  // The storage (null while the array has never held anything), the first and last element
  // (null when empty).
  T* Array() { return a_; }
  const T* Array() const { return a_; }
  T* First() { return count_ > 0 ? a_ : nullptr; }
  const T* First() const { return count_ > 0 ? a_ : nullptr; }
  T* Last() { return count_ > 0 ? a_ + count_ - 1 : nullptr; }
  const T* Last() const { return count_ > 0 ? a_ + count_ - 1 : nullptr; }

  // Appends a zeroed element and returns it.
  T& AppendNew() {
    if (count_ == capacity_) Grow(count_ + 1);
    std::memset(static_cast<void*>(a_ + count_), 0, sizeof(T));
    return a_[count_++];
  }
  void Append(const T& value) {
    if (count_ == capacity_) {
      const T copy = value;  // value may live in the storage that Grow releases
      Grow(count_ + 1);
      a_[count_++] = copy;
    } else {
      a_[count_++] = value;
    }
  }
  // Appends count values from p (p may be null when count is 0; it must not point into this).
  void Append(int count, const T* p) {
    if (count <= 0 || !p) return;
    if (count_ + count > capacity_) Grow(count_ + count);
    std::memcpy(static_cast<void*>(a_ + count_), p, sizeof(T) * count);
    count_ += count;
  }
  // Inserts value before index i (0 .. Count()); other indices are ignored.
  void Insert(int i, const T& value) {
    if (i < 0 || i > count_) return;
    const T copy = value;
    if (count_ == capacity_) Grow(count_ + 1);
    std::memmove(static_cast<void*>(a_ + i + 1), a_ + i, sizeof(T) * (count_ - i));
    a_[i] = copy;
    ++count_;
  }
  // Removes the last element; with an index, that element (later ones move down).
  void Remove() {
    if (count_ > 0) --count_;
  }
  void Remove(int i) {
    if (i < 0 || i >= count_) return;
    std::memmove(static_cast<void*>(a_ + i), a_ + i + 1, sizeof(T) * (count_ - i - 1));
    --count_;
  }

  // Count 0, storage kept.
  void Empty() { count_ = 0; }
  // Count 0, storage released.
  void Destroy() {
    std::free(a_);
    a_ = nullptr;
    count_ = 0;
    capacity_ = 0;
  }
  void Zero() {
    if (a_) std::memset(static_cast<void*>(a_), 0, sizeof(T) * capacity_);
  }

  // Makes room for at least newCapacity elements; never shrinks.
  void Reserve(size_t newCapacity) {
    assert(newCapacity <= static_cast<size_t>(INT_MAX));
    if (newCapacity > static_cast<size_t>(capacity_)) Reallocate(static_cast<int>(newCapacity));
  }
  // Sets the capacity exactly; a smaller one cuts the count.
  void SetCapacity(size_t newCapacity) {
    assert(newCapacity <= static_cast<size_t>(INT_MAX));
    if (newCapacity == 0) {
      Destroy();
      return;
    }
    if (static_cast<int>(newCapacity) != capacity_) Reallocate(static_cast<int>(newCapacity));
    if (count_ > capacity_) count_ = capacity_;
  }
  // Sets the count (0 .. capacity after growing); new elements are not initialised.
  void SetCount(int count) {
    if (count < 0) return;
    if (count > capacity_) Reallocate(count);
    count_ = count;
  }
  // Releases the capacity beyond the count.
  void Shrink() { SetCapacity(static_cast<size_t>(count_)); }

 private:
  void Grow(int minCapacity) {
    // Doubling keeps appends amortised O(1).
    long long next = capacity_ < 4 ? 4 : 2LL * capacity_;
    if (next < minCapacity) next = minCapacity;
    if (next > INT_MAX) next = INT_MAX;
    Reallocate(static_cast<int>(next));
  }
  void Reallocate(int newCapacity) {
    void* p = std::realloc(static_cast<void*>(a_), sizeof(T) * static_cast<size_t>(newCapacity));
    if (!p) throw std::bad_alloc();
    a_ = static_cast<T*>(p);
    capacity_ = newCapacity;
  }

  T* a_ = nullptr;
  int count_ = 0;
  int capacity_ = 0;
};

template <class T>
class ON_ClassArray {
 public:
  ON_ClassArray() = default;
  explicit ON_ClassArray(size_t initialCapacity) { Reserve(initialCapacity); }

  int Count() const { return static_cast<int>(items_.size()); }
  int Capacity() const { return static_cast<int>(items_.capacity()); }

  T& operator[](int i) {
    assert(i >= 0 && i < Count());
    return items_[static_cast<size_t>(i)];
  }
  const T& operator[](int i) const {
    assert(i >= 0 && i < Count());
    return items_[static_cast<size_t>(i)];
  }
  T* At(int i) { return i >= 0 && i < Count() ? items_.data() + i : nullptr; }
  const T* At(int i) const { return i >= 0 && i < Count() ? items_.data() + i : nullptr; }

  T* Array() { return items_.empty() ? nullptr : items_.data(); }
  const T* Array() const { return items_.empty() ? nullptr : items_.data(); }
  T* First() { return items_.empty() ? nullptr : items_.data(); }
  const T* First() const { return items_.empty() ? nullptr : items_.data(); }
  T* Last() { return items_.empty() ? nullptr : &items_.back(); }
  const T* Last() const { return items_.empty() ? nullptr : &items_.back(); }

  // Appends a default-constructed element and returns it.
  T& AppendNew() { return items_.emplace_back(); }
  // Appends a copy of value (value may be an element of this array).
  void Append(const T& value) { items_.push_back(value); }
  void Append(int count, const T* p) {
    if (count <= 0 || !p) return;
    items_.insert(items_.end(), p, p + count);
  }
  void Insert(int i, const T& value) {
    if (i < 0 || i > Count()) return;
    items_.insert(items_.begin() + i, value);
  }
  void Remove() {
    if (!items_.empty()) items_.pop_back();
  }
  void Remove(int i) {
    if (i < 0 || i >= Count()) return;
    items_.erase(items_.begin() + i);
  }

  // Destroys the elements, keeps the storage.
  void Empty() { items_.clear(); }
  // Destroys the elements and releases the storage.
  void Destroy() { std::vector<T>().swap(items_); }

  void Reserve(size_t newCapacity) {
    assert(newCapacity <= static_cast<size_t>(INT_MAX));
    items_.reserve(newCapacity);
  }
  // Sets the count; new elements are default-constructed, removed ones destroyed.
  void SetCount(int count) {
    if (count >= 0) items_.resize(static_cast<size_t>(count));
  }
  void SetCapacity(size_t newCapacity) {
    if (newCapacity < items_.size()) items_.resize(newCapacity);
    if (newCapacity > items_.capacity()) {
      items_.reserve(newCapacity);
    } else {
      items_.shrink_to_fit();
      items_.reserve(newCapacity);
    }
  }
  void Shrink() { items_.shrink_to_fit(); }

 private:
  std::vector<T> items_;
};
