// Merges identical vertices while a mesh is read: an open-addressing hash table (linear
// probing, load at most one half) keyed by exact float equality of the three coordinates
// (+0 and -0 are equal; coordinates are finite by the time they arrive). Each slot holds the
// coordinates beside the index, so a lookup touches one cache line, not also the vertex list.
// Large tables miss the cache on nearly every first probe: callers that know the next
// vertices ask for their slots early (Prefetch), so the misses overlap instead of queueing,
// and tables of megabytes sit on huge pages where the system offers them, to spare the TLB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "opennurbs.h"

namespace qmlib {

// Asks the system to back the whole huge pages inside [data, data + bytes) with huge pages when
// they are first touched. Arrays of hundreds of megabytes otherwise take a page fault every
// 4 KiB, and on a virtual machine those faults cost more than filling the array. Call it
// before the memory is written; it changes nothing else.
void AdviseHugePages(void* data, size_t bytes);

class VertexWelder {
 public:
  // vertices receives every new vertex; expectedVertices sizes the table (it grows as needed).
  VertexWelder(ON_3fPointArray& vertices, size_t expectedVertices);

  // The index of the vertex (x, y, z), appended when it is new; -1 when the vertex list is
  // full (a mesh counts its vertices in an int).
  int IndexOf(float x, float y, float z);

  // A hint that IndexOf(x, y, z) follows soon: starts loading its first slot.
  void Prefetch(float x, float y, float z) const {
    __builtin_prefetch(&slots_[Hash(x, y, z) & mask_]);
  }

 private:
  struct Slot {
    float x, y, z;
    int32_t index;  // -1: empty
  };
  struct FreeSlots {
    void operator()(Slot* slots) const;
  };
  using SlotTable = std::unique_ptr<Slot[], FreeSlots>;

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
  static SlotTable NewTable(size_t slotCount);
  void Rehash(size_t slotCount);

  ON_3fPointArray& vertices_;
  SlotTable slots_;
  size_t slotCount_ = 0;
  size_t mask_ = 0;
};

}  // namespace qmlib
