#include "FlatFaces.h"

#include <BRepTools_WireExplorer.hxx>
#include <BRep_Tool.hxx>
#include <Geom_Line.hxx>
#include <Geom_Plane.hxx>
#include <Geom_RectangularTrimmedSurface.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopLoc_Location.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Iterator.hxx>
#include <TopoDS_Vertex.hxx>
#include <TopoDS_Wire.hxx>
#include <gp_Ax3.hxx>

#include <algorithm>
#include <cmath>

namespace plx::modeller {

namespace {

// Ear clipping over a ring of corners kept as links, so that cutting an ear is O(1). Only a
// corner that is not strictly convex can lie in an ear, so a convex polygon (most faces) is
// clipped in linear time.
class EarClipper {
 public:
  EarClipper(const std::vector<Point2>& corners, double area2, double tolerance)
      : p_(corners), sign_(area2 > 0 ? 1 : -1), tolerance_(tolerance), next_(corners.size()),
        prev_(corners.size()), convex_(corners.size()) {
    const auto n = static_cast<uint32_t>(corners.size());
    for (uint32_t i = 0; i < n; ++i) {
      next_[i] = i + 1 == n ? 0 : i + 1;
      prev_[i] = i == 0 ? n - 1 : i - 1;
    }
    // Every corner counts as reflex until Classify finds it convex.
    reflex_ = n;
    for (uint32_t i = 0; i < n; ++i) Classify(i);
  }

  bool Run(std::vector<std::array<uint32_t, 3>>& triangles) {
    size_t remaining = p_.size();
    uint32_t i = 0;
    size_t tried = 0;
    while (remaining > 3) {
      if (IsEar(i)) {
        Emit(prev_[i], i, next_[i], triangles);
        const uint32_t a = prev_[i], c = next_[i];
        next_[a] = c;
        prev_[c] = a;
        Classify(a);
        Classify(c);
        --remaining;
        i = c;
        tried = 0;
      } else {
        i = next_[i];
        if (++tried > remaining) return false;  // a full turn without an ear
      }
    }
    if (Turn(prev_[i], i, next_[i]) <= tolerance_) return false;
    Emit(prev_[i], i, next_[i], triangles);
    return true;
  }

 private:
  // Twice the triangle's area, positive when it turns the way the polygon runs.
  double Turn(uint32_t a, uint32_t b, uint32_t c) const {
    const double cross = (p_[b].x - p_[a].x) * (p_[c].y - p_[a].y) - (p_[b].y - p_[a].y) * (p_[c].x - p_[a].x);
    return sign_ * cross;
  }

  void Classify(uint32_t i) {
    const bool convex = Turn(prev_[i], i, next_[i]) > tolerance_;
    if (convex == static_cast<bool>(convex_[i])) return;
    if (convex)
      --reflex_;
    else
      ++reflex_;
    convex_[i] = convex;
  }

  bool IsEar(uint32_t i) const {
    if (!convex_[i]) return false;
    if (reflex_ == 0) return true;
    const uint32_t a = prev_[i], c = next_[i];
    for (uint32_t j = next_[c]; j != a; j = next_[j]) {
      if (convex_[j]) continue;
      // Inside or on the ear: cutting it would leave j on a diagonal or cross the boundary.
      if (Turn(a, i, j) >= -tolerance_ && Turn(i, c, j) >= -tolerance_ && Turn(c, a, j) >= -tolerance_) return false;
    }
    return true;
  }

  void Emit(uint32_t a, uint32_t b, uint32_t c, std::vector<std::array<uint32_t, 3>>& triangles) const {
    triangles.push_back(sign_ > 0 ? std::array<uint32_t, 3>{a, b, c} : std::array<uint32_t, 3>{a, c, b});
  }

  const std::vector<Point2>& p_;
  const double sign_;
  const double tolerance_;
  std::vector<uint32_t> next_, prev_;
  std::vector<char> convex_;
  size_t reflex_ = 0;  // corners not strictly convex
};

bool IsLine(const TopoDS_Edge& edge) {
  TopLoc_Location location;
  double first, last;
  Handle(Geom_Curve) curve = BRep_Tool::Curve(edge, location, first, last);
  if (curve.IsNull()) return false;
  if (const auto trimmed = Handle(Geom_TrimmedCurve)::DownCast(curve)) curve = trimmed->BasisCurve();
  return curve->DynamicType() == STANDARD_TYPE(Geom_Line);
}

// Two directions in the face's plane whose cross product is its outward normal: the surface's
// normal (X cross Y, which is the axis's own direction only when the axis is right-handed),
// turned over on a reversed face. False when the face is not on a plane.
bool OutwardFrame(const TopoDS_Face& face, gp_Dir& u, gp_Dir& v) {
  TopLoc_Location location;
  Handle(Geom_Surface) surface = BRep_Tool::Surface(face, location);
  if (surface.IsNull()) return false;
  if (const auto trimmed = Handle(Geom_RectangularTrimmedSurface)::DownCast(surface))
    surface = trimmed->BasisSurface();
  const auto plane = Handle(Geom_Plane)::DownCast(surface);
  if (plane.IsNull()) return false;
  gp_Ax3 axes = plane->Position();
  if (!location.IsIdentity()) axes.Transform(location.Transformation());
  gp_Dir normal = axes.XDirection() ^ axes.YDirection();
  if (face.Orientation() == TopAbs_REVERSED) normal.Reverse();
  u = axes.XDirection();
  v = normal ^ u;
  return true;
}

// The vertex two edges share, when they share exactly one.
bool SharedVertex(const std::array<TopoDS_Vertex, 2>& a, const std::array<TopoDS_Vertex, 2>& b, TopoDS_Vertex& shared) {
  const bool first = a[0].IsSame(b[0]) || a[0].IsSame(b[1]);
  const bool second = a[1].IsSame(b[0]) || a[1].IsSame(b[1]);
  if (first == second) return false;
  shared = first ? a[0] : a[1];
  return true;
}

// The corners of the face's only wire in the order the wire runs; false when the face has
// anything but one wire of straight edges.
bool WireCorners(const TopoDS_Face& face, std::vector<gp_Pnt>& corners, std::vector<std::array<TopoDS_Vertex, 2>>& ends) {
  corners.clear();
  ends.clear();
  TopoDS_Iterator wires(face);
  if (!wires.More() || wires.Value().ShapeType() != TopAbs_WIRE) return false;
  const TopoDS_Wire wire = TopoDS::Wire(wires.Value());
  wires.Next();
  if (wires.More()) return false;
  for (TopoDS_Iterator e(wire); e.More(); e.Next()) {
    if (e.Value().ShapeType() != TopAbs_EDGE) return false;
    const TopoDS_Edge& edge = TopoDS::Edge(e.Value());
    const TopAbs_Orientation orientation = edge.Orientation();
    if (orientation != TopAbs_FORWARD && orientation != TopAbs_REVERSED) return false;
    if (BRep_Tool::Degenerated(edge) || !IsLine(edge)) return false;
    ends.emplace_back();
    TopExp::Vertices(edge, ends.back()[0], ends.back()[1]);
    if (ends.back()[0].IsNull() || ends.back()[1].IsNull()) return false;
  }
  // Wires made from polygons and read from SAT keep their edges in the order they run, either
  // way round: each corner is then the vertex an edge shares with the next.
  bool chained = ends.size() >= 3;
  TopoDS_Vertex shared;
  for (size_t i = 0; chained && i < ends.size(); ++i) {
    chained = SharedVertex(ends[i], ends[i + 1 == ends.size() ? 0 : i + 1], shared);
    if (chained) corners.push_back(BRep_Tool::Pnt(shared));
  }
  if (chained) return true;
  // Otherwise the explorer puts them in order, at many times the cost.
  corners.clear();
  for (BRepTools_WireExplorer e(wire, face); e.More(); e.Next()) corners.push_back(BRep_Tool::Pnt(e.CurrentVertex()));
  // It skips what it cannot chain; a face it did not walk whole is the mesher's.
  return corners.size() == ends.size();
}

}  // namespace

bool ClipEars(const std::vector<Point2>& corners, std::vector<std::array<uint32_t, 3>>& triangles) {
  const size_t n = corners.size();
  if (n < 3 || n > UINT32_MAX) return false;
  // The area from the first corner, not the origin: a face far out would lose it to rounding.
  const Point2 o = corners[0];
  double minX = o.x, maxX = minX, minY = o.y, maxY = minY, area2 = 0;
  for (size_t i = 0; i < n; ++i) {
    const Point2& p = corners[i];
    const Point2& q = corners[i + 1 == n ? 0 : i + 1];
    area2 += (p.x - o.x) * (q.y - o.y) - (q.x - o.x) * (p.y - o.y);
    minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
  }
  const double size = std::max(maxX - minX, maxY - minY);
  // Far below any feature a drawing holds, far above the rounding of a cross product.
  const double tolerance = 1e-12 * size * size;
  if (!(std::abs(area2) > tolerance)) return false;  // no area, or not finite
  triangles.clear();
  // A triangle with area has three different corners and is its own ear: most faces of solids
  // made from meshes are one, so they skip the clipper's lists.
  if (n == 3) {
    triangles.push_back(area2 > 0 ? std::array<uint32_t, 3>{0, 1, 2} : std::array<uint32_t, 3>{0, 2, 1});
    return true;
  }
  std::vector<Point2> sorted = corners;
  std::sort(sorted.begin(), sorted.end(), [](const Point2& a, const Point2& b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
  for (size_t i = 1; i < n; ++i)
    if (sorted[i].x == sorted[i - 1].x && sorted[i].y == sorted[i - 1].y) return false;
  triangles.reserve(n - 2);
  return EarClipper(corners, area2, tolerance).Run(triangles);
}

bool TriangulateFlatFaces(const TopoDS_Shape& shape, const gp_Trsf& placement, std::vector<Triangle>& out) {
  const size_t start = out.size();
  const bool moved = placement.Form() != gp_Identity;
  std::vector<gp_Pnt> corners;
  std::vector<std::array<TopoDS_Vertex, 2>> ends;
  std::vector<Point2> flat;
  std::vector<std::array<uint32_t, 3>> triangles;
  for (TopExp_Explorer e(shape, TopAbs_FACE); e.More(); e.Next()) {
    const TopoDS_Face& face = TopoDS::Face(e.Current());
    gp_Dir u, v;
    if (!OutwardFrame(face, u, v) || !WireCorners(face, corners, ends)) {
      out.resize(start);
      return false;
    }
    flat.resize(corners.size());
    for (size_t i = 0; i < corners.size(); ++i) {
      const gp_XYZ& p = corners[i].XYZ();
      flat[i] = {p.Dot(u.XYZ()), p.Dot(v.XYZ())};
    }
    if (!ClipEars(flat, triangles)) {
      out.resize(start);
      return false;
    }
    if (moved)
      for (gp_Pnt& p : corners) p.Transform(placement);
    for (const auto& t : triangles) {
      Triangle triangle;
      for (int k = 0; k < 3; ++k) {
        const gp_Pnt& p = corners[t[k]];
        triangle.v[k] = {p.X(), p.Y(), p.Z()};
      }
      out.push_back(triangle);
    }
  }
  return true;
}

}  // namespace plx::modeller
