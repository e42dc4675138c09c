#include "vertex_welder.h"

#include <sys/mman.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace qmlib {

namespace {

constexpr size_t kHugePage = size_t{2} << 20;

constexpr uintptr_t HugePageCeil(uintptr_t n) { return (n + kHugePage - 1) / kHugePage * kHugePage; }

}  // namespace

void AdviseHugePages(void* data, size_t bytes) {
  const auto start = reinterpret_cast<uintptr_t>(data);
  const uintptr_t first = HugePageCeil(start);
  const uintptr_t last = (start + bytes) / kHugePage * kHugePage;
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

std::jthread PrefaultAhead(std::vector<MemoryRange> ranges) {
  try {
    return std::jthread([ranges = std::move(ranges)](std::stop_token stop) {
      constexpr size_t kSlice = size_t{8} << 20;
      size_t largest = 0;
      for (const MemoryRange& range : ranges) largest = std::max(largest, range.second);
      const size_t rounds = (largest + kSlice - 1) / kSlice;
      for (size_t round = 0; round < rounds && !stop.stop_requested(); ++round) {
        for (auto [data, bytes] : ranges) {
          const size_t from = bytes / rounds * round;
          const size_t to = round + 1 == rounds ? bytes : bytes / rounds * (round + 1);
          if (::madvise(static_cast<char*>(data) + from, to - from, MADV_POPULATE_WRITE) != 0) return;
        }
      }
    });
  } catch (...) {  // no thread to be had: a system error, or no memory for its state
    return {};
  }
}

VertexWelder::SlotTable::SlotTable(size_t slotCount) {
  const size_t bytes = slotCount * sizeof(Slot);
  if (bytes < kHugePage) {
    slots_ = static_cast<Slot*>(std::calloc(slotCount, sizeof(Slot)));
    if (!slots_) throw std::bad_alloc();
    return;
  }
  // Mapped with a huge page's room to spare, then trimmed to whole huge pages, marked as such
  // before the first touch: one fault per 2 MiB, and the system hands the pages over zeroed.
  const size_t size = HugePageCeil(bytes);
  void* mapped = ::mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<uintptr_t>(mapped);
  const uintptr_t aligned = HugePageCeil(start);
  if (aligned > start) ::munmap(mapped, aligned - start);
  if (const uintptr_t tail = start + kHugePage - aligned; tail > 0) ::munmap(reinterpret_cast<void*>(aligned + size), tail);
  slots_ = reinterpret_cast<Slot*>(aligned);
  mappedBytes_ = size;
  ::madvise(slots_, size, MADV_HUGEPAGE);
  // The probes touch pages all over the table from the first vertex on.
  prefault_ = PrefaultAhead({MemoryRange{slots_, size}});
}

VertexWelder::SlotTable::~SlotTable() {
  if (prefault_.joinable()) {
    prefault_.request_stop();
    prefault_.join();
  }
  if (mappedBytes_ > 0)
    ::munmap(slots_, mappedBytes_);
  else
    std::free(slots_);
}

// Half full at most while the table fits in cache, where the shorter probes are what counts;
// three quarters once it is fresh memory by the megabyte, whose faults cost more than a probe
// that mostly stays in its cache line.
size_t VertexWelder::MaxLoad(size_t slotCount) {
  return slotCount * sizeof(Slot) >= kHugePage ? slotCount / 4 * 3 : slotCount / 2;
}

VertexWelder::VertexWelder(ON_3fPointArray& vertices, size_t expectedVertices) : vertices_(vertices) {
  size_t slotCount = 16;
  while (MaxLoad(slotCount) < expectedVertices + 8) slotCount *= 2;
  Rehash(slotCount);
}

void VertexWelder::Rehash(size_t slotCount) {
  SlotTable old(slotCount);
  old.Swap(slots_);
  const size_t oldCount = slotCount_;
  slotCount_ = slotCount;
  mask_ = slotCount - 1;
  maxLoad_ = MaxLoad(slotCount);
  Slot* slots = slots_.Get();
  for (size_t i = 0; i < oldCount; ++i) {
    const Slot entry = old.Get()[i];
    if (entry.position == 0) continue;
    const ON_3fPoint& v = vertices_[static_cast<int>(entry.position - 1)];
    size_t slot = Hash(v.x, v.y, v.z) & mask_;
    while (slots[slot].position != 0) slot = (slot + 1) & mask_;
    slots[slot] = entry;
  }
}

int VertexWelder::IndexOf(float x, float y, float z) {
  const uint64_t hash = Hash(x, y, z);
  const auto tag = static_cast<uint32_t>(hash >> 32);
  Slot* slots = slots_.Get();
  const ON_3fPoint* vertices = vertices_.Array();
  size_t slot = hash & mask_;
  for (;;) {
    const Slot entry = slots[slot];
    if (entry.position == 0) break;
    if (entry.tag == tag) {
      const ON_3fPoint& v = vertices[entry.position - 1];
      if (v.x == x && v.y == y && v.z == z) return static_cast<int>(entry.position - 1);
    }
    slot = (slot + 1) & mask_;
  }
  const int count = vertices_.Count();
  if (count == INT_MAX) return -1;
  vertices_.Append(ON_3fPoint(x, y, z));
  slots[slot] = Slot{tag, static_cast<uint32_t>(count) + 1};
  if (static_cast<size_t>(count) + 1 > maxLoad_) Rehash(slotCount_ * 2);
  return count;
}

}  // namespace qmlib
