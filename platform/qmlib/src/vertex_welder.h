// Merges identical vertices while a mesh is read: an open-addressing hash table (linear
// probing, load at most one half, or three quarters for tables of megabytes) keyed by exact
// float equality of the three coordinates (+0 and -0 are equal; coordinates are finite by the
// time they arrive). A slot holds the vertex's index and a tag of its hash, eight bytes: a
// probe reads the vertex itself only when the tags agree, which for a returning vertex is one
// recently touched, and a probe sequence mostly stays within the cache line of eight slots it
// starts in. Large tables miss the cache on nearly every first probe: callers that know the
// next vertices ask for their slots early (Prefetch), so the misses overlap instead of
// queueing. Tables of megabytes are fresh memory from the system, zero already and on huge
// pages, faulted in by a thread of their own while the first probes go on: on a virtual
// machine the faults of fresh memory cost more than filling it, so the table is kept small
// and never cleared.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <thread>
#include <utility>
#include <vector>

#include "opennurbs.h"

namespace qmlib {

// Asks the system to back the whole huge pages inside [data, data + bytes) with huge pages when
// they are first touched. Arrays of hundreds of megabytes otherwise take a page fault every
// 4 KiB, and on a virtual machine those faults cost more than filling the array. Call it
// before the memory is written; it changes nothing else.
void AdviseHugePages(void* data, size_t bytes);

using MemoryRange = std::pair<void*, size_t>;

// Faults in the pages of fresh memory about to be filled, on a thread of its own that runs
// ahead of the filling: on a virtual machine the first touch of fresh memory costs about as
// much as filling it, and the two then overlap. Several ranges come in slices of each in turn,
// in proportion to their sizes, for arrays filled side by side. Contents are not touched (the
// system only maps the pages), so the filling needs no synchronisation; the memory must stay
// mapped until the thread is stopped and joined (destroying it does both). Where no thread can
// be started, an empty one comes back and the filling faults the pages in itself.
std::jthread PrefaultAhead(std::vector<MemoryRange> ranges);

class VertexWelder {
 public:
  // vertices receives every new vertex; expectedVertices sizes the table (it grows as needed).
  VertexWelder(ON_3fPointArray& vertices, size_t expectedVertices);

  // The index of the vertex (x, y, z), appended when it is new; -1 when the vertex list is
  // full (a mesh counts its vertices in an int).
  int IndexOf(float x, float y, float z);

  // A hint that IndexOf(x, y, z) follows soon: starts loading its first slot.
  void Prefetch(float x, float y, float z) const {
    __builtin_prefetch(&slots_.Get()[Hash(x, y, z) & mask_]);
  }

 private:
  struct Slot {
    uint32_t tag;       // the hash's high half
    uint32_t position;  // the vertex's index + 1; 0: empty
  };
  // An array of zeroed slots: from the heap when small, else mapped fresh on huge pages.
  class SlotTable {
   public:
    SlotTable() = default;
    explicit SlotTable(size_t slotCount);
    SlotTable(const SlotTable&) = delete;
    SlotTable& operator=(const SlotTable&) = delete;
    ~SlotTable();
    Slot* Get() const { return slots_; }
    void Swap(SlotTable& other) noexcept {
      std::swap(slots_, other.slots_);
      std::swap(mappedBytes_, other.mappedBytes_);
      prefault_.swap(other.prefault_);
    }

   private:
    Slot* slots_ = nullptr;
    size_t mappedBytes_ = 0;  // 0: from the heap
    // Faults a mapped table in ahead of the probes, which touch it all over from the start;
    // stopped and joined before the table is unmapped.
    std::jthread prefault_;
  };

  static uint32_t FloatBits(float value) {
    value += 0.0f;  // -0 becomes +0, so that equal floats hash alike
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
  }
  static uint64_t Hash(float x, float y, float z) {
    uint64_t h = FloatBits(x) * 0x9E3779B97F4A7C15ull;
    h ^= FloatBits(y) * 0xC2B2AE3D27D4EB4Full;
    h ^= FloatBits(z) * 0x165667B19E3779F9ull;
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    return h ^ (h >> 32);
  }
  static size_t MaxLoad(size_t slotCount);
  void Rehash(size_t slotCount);

  ON_3fPointArray& vertices_;
  SlotTable slots_;
  size_t slotCount_ = 0;
  size_t mask_ = 0;
  size_t maxLoad_ = 0;  // MaxLoad(slotCount_): the table grows past it
};

}  // namespace qmlib
