// Faceted bodies as SAT records: planar polygon faces on straight edges, for meshes that go to
// the modeller through a SAT file. The records are built directly from the face list, so the
// cost is linear in the mesh size (no sewing).
#pragma once

#include <cstdint>
#include <vector>

#include "sat/SatWriter.h"

namespace plx::sat {

struct PolyPoint {
  double x = 0, y = 0, z = 0;
};

// One closed shell or open sheet. Faces name corners by index into vertices; equal positions
// must already share one index (edges are shared by the index pair). Each face must be planar,
// have at least three distinct corners and a non-zero area; its corners run anticlockwise seen
// from the side its normal points to. Faces that meet at an edge should run it in opposite
// directions (consistent orientation); that is what makes their coedges partners of opposite
// senses, as the modeller expects.
struct Polyhedron {
  std::vector<PolyPoint> vertices;
  std::vector<std::vector<int>> faces;
};

// Appends one body with one lump (one shell) for each polyhedron given, and returns the body's
// record index. singleSided: faces of a solid ("single"); otherwise double-sided sheets
// ("double out"). Vertices that no face names get no record.
int64_t AddPolyhedralBody(SatDocument& document, const std::vector<const Polyhedron*>& lumps,
                          bool singleSided);

}  // namespace plx::sat
