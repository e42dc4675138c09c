// Merges identical vertices while a mesh is read: an open-addressing hash table (linear
// probing, load at most one half) keyed by exact float equality of the three coordinates
// (+0 and -0 are equal; coordinates are finite by the time they arrive). Each slot holds the
// coordinates beside the index, so a lookup touches one cache line, not also the vertex list.
#pragma once

#include <cstdint>
#include <vector>

#include "opennurbs.h"

namespace qmlib {

class VertexWelder {
 public:
  // vertices receives every new vertex; expectedVertices sizes the table (it grows as needed).
  VertexWelder(ON_3fPointArray& vertices, size_t expectedVertices);

  // The index of the vertex (x, y, z), appended when it is new; -1 when the vertex list is
  // full (a mesh counts its vertices in an int).
  int IndexOf(float x, float y, float z);

 private:
  struct Slot {
    float x, y, z;
    int32_t index;  // -1: empty
  };

  static uint64_t Hash(float x, float y, float z);
  void Rehash(size_t slotCount);

  ON_3fPointArray& vertices_;
  std::vector<Slot> slots_;
  size_t mask_ = 0;
};

}  // namespace qmlib
