// Shapes bounded by flat polygons alone (boxes, wedges, prisms of polylines, solids made from
// meshes) need no mesher: each face's triangles join its own corners, which its neighbours share,
// so the mesh is closed wherever the shape is. This costs a small part of what BRepMesh spends
// setting itself up for the same faces.
#pragma once

#include <TopoDS_Shape.hxx>
#include <gp_Trsf.hxx>

#include <array>
#include <cstdint>
#include <vector>

#include "arxhost/Modeller.h"

namespace plx::modeller {

struct Point2 {
  double x = 0, y = 0;
};

// Triangles (corner index triples, counter-clockwise in the plane whichever way the polygon
// runs) covering the simple polygon corners, by ear clipping. A corner on the line between
// its neighbours is never cut off alone, so no triangle is flat. False when the polygon has
// fewer than three corners, no area, a repeated corner, or no ear left to cut (it crosses
// itself); triangles is then unspecified.
bool ClipEars(const std::vector<Point2>& corners, std::vector<std::array<uint32_t, 3>>& triangles);

// Appends to out the triangles of every face of shape, moved by placement and counter-clockwise
// seen from outside, when every face is a plane bounded by one wire of straight edges whose
// polygon ClipEars takes. False, with out as it was, when any face is not.
bool TriangulateFlatFaces(const TopoDS_Shape& shape, const gp_Trsf& placement, std::vector<Triangle>& out);

}  // namespace plx::modeller
