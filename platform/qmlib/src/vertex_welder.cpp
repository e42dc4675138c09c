#include "vertex_welder.h"

#include <sys/mman.h>

#include <bit>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace qmlib {

namespace {

constexpr size_t kHugePage = size_t{2} << 20;

}  // namespace

void AdviseHugePages(void* data, size_t bytes) {
  const auto start = reinterpret_cast<uintptr_t>(data);
  const uintptr_t first = (start + kHugePage - 1) / kHugePage * kHugePage;
  const uintptr_t last = (start + bytes) / kHugePage * kHugePage;
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

VertexWelder::VertexWelder(ON_3fPointArray& vertices, size_t expectedVertices) : vertices_(vertices) {
  // Load factor at most one half keeps probe sequences short.
  Rehash(std::bit_ceil(expectedVertices * 2 + 16));
}

void VertexWelder::FreeSlots::operator()(Slot* slots) const { std::free(slots); }

VertexWelder::SlotTable VertexWelder::NewTable(size_t slotCount) {
  const size_t bytes = slotCount * sizeof(Slot);
  Slot* slots = nullptr;
  if (bytes >= kHugePage) {
    // Whole huge pages, marked before the first touch so that the kernel backs them so.
    slots = static_cast<Slot*>(std::aligned_alloc(kHugePage, (bytes + kHugePage - 1) / kHugePage * kHugePage));
    if (slots) ::madvise(slots, bytes, MADV_HUGEPAGE);
  } else {
    slots = static_cast<Slot*>(std::malloc(bytes));
  }
  if (!slots) throw std::bad_alloc();
  for (size_t i = 0; i < slotCount; ++i) slots[i] = Slot{0.0f, 0.0f, 0.0f, -1};
  return SlotTable(slots);
}

void VertexWelder::Rehash(size_t slotCount) {
  SlotTable old = NewTable(slotCount);
  old.swap(slots_);
  const size_t oldCount = slotCount_;
  slotCount_ = slotCount;
  mask_ = slotCount - 1;
  for (size_t i = 0; i < oldCount; ++i) {
    const Slot& entry = old[i];
    if (entry.index < 0) continue;
    size_t slot = Hash(entry.x, entry.y, entry.z) & mask_;
    while (slots_[slot].index >= 0) slot = (slot + 1) & mask_;
    slots_[slot] = entry;
  }
}

int VertexWelder::IndexOf(float x, float y, float z) {
  size_t slot = Hash(x, y, z) & mask_;
  for (;;) {
    const Slot& entry = slots_[slot];
    if (entry.index < 0) break;
    if (entry.x == x && entry.y == y && entry.z == z) return entry.index;
    slot = (slot + 1) & mask_;
  }
  const int count = vertices_.Count();
  if (count == INT_MAX) return -1;
  vertices_.Append(ON_3fPoint(x, y, z));
  slots_[slot] = Slot{x, y, z, count};
  if (static_cast<size_t>(count + 1) * 2 > slotCount_) Rehash(slotCount_ * 2);
  return count;
}

}  // namespace qmlib
