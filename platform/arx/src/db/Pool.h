// Memory of the drawing database: blocks for its objects by size class, and paged arrays for
// its lists of slots and ids. A drawing of a million entities is made and dropped many times in
// a session; blocks and pages that a drawing gives back are kept for the next one, so that a
// new drawing costs neither malloc's bookkeeping nor the system's first touch of fresh pages.
// The database is used from one thread, as the host's is.
#pragma once

#include <cstddef>
#include <iterator>
#include <vector>

namespace plx::db {

// A block of at least size bytes, 16-byte aligned; Release takes the same size back.
void* AllocateBlock(std::size_t size);
void ReleaseBlock(void* block, std::size_t size);

// The pages of PagedArray: kPageBytes each.
inline constexpr std::size_t kPageBytes = 8192;
void* AllocatePage();
void ReleasePage(void* page);

// A growing array of trivially copyable values in fixed pages: appending never moves what is
// there, and an index is found with a shift and a mask.
template <class T>
class PagedArray {
 public:
  static constexpr std::size_t kPerPage = kPageBytes / sizeof(T);
  static_assert((kPerPage & (kPerPage - 1)) == 0, "a page holds a power of two of values");

  class const_iterator {
   public:
    using iterator_category = std::bidirectional_iterator_tag;
    using value_type = T;
    using difference_type = std::ptrdiff_t;
    using pointer = const T*;
    using reference = const T&;

    const_iterator() = default;
    const_iterator(const PagedArray* array, std::size_t index) : array_(array), index_(index) {}
    reference operator*() const { return (*array_)[index_]; }
    pointer operator->() const { return &(*array_)[index_]; }
    const_iterator& operator++() { ++index_; return *this; }
    const_iterator operator++(int) { const_iterator old = *this; ++index_; return old; }
    const_iterator& operator--() { --index_; return *this; }
    const_iterator operator--(int) { const_iterator old = *this; --index_; return old; }
    bool operator==(const const_iterator& other) const { return index_ == other.index_; }

   private:
    const PagedArray* array_ = nullptr;
    std::size_t index_ = 0;
  };
  using iterator = const_iterator;
  using const_reverse_iterator = std::reverse_iterator<const_iterator>;

  PagedArray() = default;
  PagedArray(const PagedArray&) = delete;
  PagedArray& operator=(const PagedArray&) = delete;
  ~PagedArray() { clear(); }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T& operator[](std::size_t i) { return pages_[i / kPerPage][i % kPerPage]; }
  const T& operator[](std::size_t i) const { return pages_[i / kPerPage][i % kPerPage]; }
  // The value at i, or value-initialised T past the end.
  T At(std::size_t i) const { return i < size_ ? (*this)[i] : T(); }
  const T& back() const { return (*this)[size_ - 1]; }

  void push_back(const T& value) {
    ReserveOneMore();
    (*this)[size_++] = value;
  }
  // Room for one more value, so that the next push_back cannot run out of memory: callers
  // that must record something once it is done make the room first.
  void ReserveOneMore() {
    if (size_ < pages_.size() * kPerPage) return;
    pages_.reserve(pages_.size() + 1);
    pages_.push_back(static_cast<T*>(AllocatePage()));
  }
  // Grows to count values, the new ones set to value; never shrinks.
  void resize(std::size_t count, const T& value) {
    while (size_ < count) push_back(value);
  }
  void pop_back() { --size_; }
  // Shrinks to count values (never grows), giving back the pages no longer needed.
  void Truncate(std::size_t count) {
    if (count >= size_) return;
    size_ = count;
    const std::size_t keep = (count + kPerPage - 1) / kPerPage;
    while (pages_.size() > keep) {
      ReleasePage(pages_.back());
      pages_.pop_back();
    }
  }
  void clear() {
    for (T* page : pages_) ReleasePage(page);
    pages_.clear();
    size_ = 0;
  }

  const_iterator begin() const { return const_iterator(this, 0); }
  const_iterator end() const { return const_iterator(this, size_); }
  const_reverse_iterator rbegin() const { return const_reverse_iterator(end()); }
  const_reverse_iterator rend() const { return const_reverse_iterator(begin()); }

 private:
  std::vector<T*> pages_;
  std::size_t size_ = 0;
};

}  // namespace plx::db
