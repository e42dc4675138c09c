// Meshes to faceted SAT bodies: corners welded by position, degenerate faces left out,
// non-planar quads split, faces turned to agree with their neighbours and closed parts
// outwards, one lump per connected part. The records are built directly (no sewing), so the
// cost stays linear in the mesh size.
#pragma once

#include <string>
#include <vector>

#include "opennurbs.h"
#include "sat/SatPolyhedron.h"

namespace qmlib {

// The connected parts of mesh as polyhedra (parts), and whether every part is closed. orient:
// turn faces to agree with their neighbours and closed parts outwards; otherwise every face
// keeps its corner order. false with a reason for an empty mesh, a non-finite vertex, a face
// that names a missing vertex, or no face with an area.
bool MeshToPolyhedra(const ON_Mesh& mesh, bool orient, std::vector<plx::sat::Polyhedron>& parts,
                     bool& closed, std::wstring& error);

}  // namespace qmlib
