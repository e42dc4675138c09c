#include "vertex_welder.h"

#include <bit>
#include <climits>
#include <cstring>

namespace qmlib {

namespace {

uint32_t FloatBits(float value) {
  value += 0.0f;  // -0 becomes +0, so that equal floats hash alike
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

}  // namespace

VertexWelder::VertexWelder(ON_3fPointArray& vertices, size_t expectedVertices) : vertices_(vertices) {
  // Load factor at most one half keeps probe sequences short.
  Rehash(std::bit_ceil(expectedVertices * 2 + 16));
}

uint64_t VertexWelder::Hash(float x, float y, float z) {
  uint64_t h = FloatBits(x) * 0x9E3779B97F4A7C15ull;
  h ^= FloatBits(y) * 0xC2B2AE3D27D4EB4Full;
  h ^= FloatBits(z) * 0x165667B19E3779F9ull;
  h ^= h >> 29;
  h *= 0xBF58476D1CE4E5B9ull;
  return h ^ (h >> 32);
}

void VertexWelder::Rehash(size_t slotCount) {
  std::vector<Slot> old(slotCount, Slot{0.0f, 0.0f, 0.0f, -1});
  old.swap(slots_);
  mask_ = slotCount - 1;
  for (const Slot& entry : old) {
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
  if (static_cast<size_t>(count + 1) * 2 > slots_.size()) Rehash(slots_.size() * 2);
  return count;
}

}  // namespace qmlib
