// Planar polygons to a shape without sewing: equal corners are welded into one vertex, every
// pair of welded vertices gets one edge shared by the faces on both sides, and the faces are
// turned (breadth first across edges with two faces) to agree with their neighbours. A
// connected part whose every edge has exactly two faces becomes a closed shell, oriented
// outwards by the sign of its volume.
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepGProp.hxx>
#include <BRep_Builder.hxx>
#include <GProp_GProps.hxx>
#include <Precision.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Iterator.hxx>
#include <TopoDS_Shell.hxx>
#include <TopoDS_Solid.hxx>
#include <TopoDS_Vertex.hxx>
#include <TopoDS_Wire.hxx>
#include <gp_Pln.hxx>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <deque>
#include <unordered_map>

#include "ShapeImpl.h"

namespace plx::modeller {

namespace {

struct PointKey {
  std::uint64_t bits[3];
  bool operator==(const PointKey&) const = default;
};

struct PointKeyHash {
  size_t operator()(const PointKey& k) const {
    std::uint64_t h = k.bits[0] * 0x9E3779B97F4A7C15ull;
    h ^= k.bits[1] + 0x632BE59BD9B4E019ull + (h << 6) + (h >> 2);
    h ^= k.bits[2] + 0x85EBCA77C2B2AE63ull + (h << 6) + (h >> 2);
    return static_cast<size_t>(h);
  }
};

PointKey KeyOf(const Point3& p) {
  PointKey key;
  const double c[3] = {p.x + 0.0, p.y + 0.0, p.z + 0.0};  // -0 and +0 weld
  std::memcpy(key.bits, c, sizeof c);
  return key;
}

std::uint64_t EdgeKey(int a, int b) {
  return (static_cast<std::uint64_t>(std::min(a, b)) << 32) | static_cast<std::uint32_t>(std::max(a, b));
}

gp_XYZ NewellNormal(const std::vector<int>& loop, const std::vector<Point3>& points) {
  gp_XYZ n(0, 0, 0);
  for (size_t i = 0; i < loop.size(); ++i) {
    const Point3& p = points[loop[i]];
    const Point3& q = points[loop[(i + 1) % loop.size()]];
    n += gp_XYZ((p.y - q.y) * (p.z + q.z), (p.z - q.z) * (p.x + q.x), (p.x - q.x) * (p.y + q.y));
  }
  return n;
}

struct Use {
  int loop;
  bool forward;  // runs from the lower vertex index to the higher
};

// Loops of welded vertex indices, planar, with area; a non-planar quad becomes two triangles.
Acad::ErrorStatus CollectLoops(const std::vector<std::vector<Point3>>& polygons, std::vector<Point3>& points,
                               std::vector<std::vector<int>>& loops, std::wstring& reason) {
  std::unordered_map<PointKey, int, PointKeyHash> welded;
  for (const auto& polygon : polygons) {
    std::vector<int> loop;
    for (const Point3& p : polygon) {
      if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
        reason = L"A polygon corner is not a finite point.";
        return Acad::eInvalidInput;
      }
      const auto [it, added] = welded.try_emplace(KeyOf(p), static_cast<int>(points.size()));
      if (added) points.push_back(p);
      if (loop.empty() || loop.back() != it->second) loop.push_back(it->second);
    }
    while (loop.size() > 1 && loop.front() == loop.back()) loop.pop_back();
    if (loop.size() < 3) continue;
    double size = 0;  // largest distance from the first corner along an axis
    for (int i : loop)
      size = std::max({size, std::abs(points[i].x - points[loop[0]].x), std::abs(points[i].y - points[loop[0]].y),
                       std::abs(points[i].z - points[loop[0]].z)});
    const gp_XYZ normal = NewellNormal(loop, points);
    if (!(normal.Modulus() > 1e-12 * size * size)) continue;  // no area
    const gp_XYZ unit = normal / normal.Modulus();
    const Point3& o = points[loop[0]];
    const double tolerance = std::max(Precision::Confusion(), 1e-9 * size);
    bool planar = true;
    for (int i : loop) {
      const Point3& p = points[i];
      if (std::abs(gp_XYZ(p.x - o.x, p.y - o.y, p.z - o.z).Dot(unit)) > tolerance) planar = false;
    }
    if (planar) {
      loops.push_back(std::move(loop));
    } else if (loop.size() == 4) {
      loops.push_back({loop[0], loop[1], loop[2]});
      loops.push_back({loop[0], loop[2], loop[3]});
    } else {
      reason = L"A polygon is not planar.";
      return Acad::eNonPlanarEntity;
    }
  }
  if (loops.empty()) {
    reason = L"No polygon with an area is left.";
    return Acad::eInvalidInput;
  }
  return Acad::eOk;
}

}  // namespace

ShapeResult Shape::FromPolygons(const std::vector<std::vector<Point3>>& polygons) {
  ShapeResult result;
  std::vector<Point3> points;
  std::vector<std::vector<int>> loops;
  result.status = CollectLoops(polygons, points, loops, result.reason);
  if (!result.Ok()) return result;

  std::unordered_map<std::uint64_t, std::vector<Use>> uses;
  uses.reserve(loops.size() * 2);
  for (size_t i = 0; i < loops.size(); ++i)
    for (size_t k = 0; k < loops[i].size(); ++k) {
      const int a = loops[i][k], b = loops[i][(k + 1) % loops[i].size()];
      uses[EdgeKey(a, b)].push_back({static_cast<int>(i), a < b});
    }

  // Components across edges with two faces, each face turned to run opposite its neighbour.
  std::vector<int> component(loops.size(), -1);
  std::vector<char> flipped(loops.size(), 0);
  std::vector<char> closed;
  for (size_t seed = 0; seed < loops.size(); ++seed) {
    if (component[seed] >= 0) continue;
    const int c = static_cast<int>(closed.size());
    closed.push_back(1);
    component[seed] = c;
    std::deque<int> queue{static_cast<int>(seed)};
    while (!queue.empty()) {
      const int i = queue.front();
      queue.pop_front();
      const auto& loop = loops[i];
      for (size_t k = 0; k < loop.size(); ++k) {
        const auto& edgeUses = uses[EdgeKey(loop[k], loop[(k + 1) % loop.size()])];
        if (edgeUses.size() != 2) {
          closed[c] = 0;
          continue;
        }
        const Use& mine = edgeUses[0].loop == i ? edgeUses[0] : edgeUses[1];
        const Use& theirs = edgeUses[0].loop == i ? edgeUses[1] : edgeUses[0];
        if (theirs.loop == i) continue;  // a slit inside one polygon
        const char wanted = static_cast<char>(flipped[i] ^ (mine.forward == theirs.forward));
        if (component[theirs.loop] < 0) {
          component[theirs.loop] = c;
          flipped[theirs.loop] = wanted;
          queue.push_back(theirs.loop);
        } else if (flipped[theirs.loop] != wanted) {
          closed[c] = 0;  // not orientable, as a Moebius strip
        }
      }
    }
  }

  TopoDS_Shape shape;
  bool allClosed = true;
  result.status = Guarded(
      [&] {
        BRep_Builder builder;
        std::vector<TopoDS_Vertex> vertices(points.size());
        for (size_t i = 0; i < points.size(); ++i)
          builder.MakeVertex(vertices[i], gp_Pnt(points[i].x, points[i].y, points[i].z), Precision::Confusion());
        std::unordered_map<std::uint64_t, TopoDS_Edge> edges;
        edges.reserve(uses.size());
        for (const auto& [key, edgeUses] : uses) {
          const int a = static_cast<int>(key >> 32), b = static_cast<int>(key & 0xFFFFFFFFu);
          BRepBuilderAPI_MakeEdge make(vertices[a], vertices[b]);
          if (!make.IsDone()) return Acad::eGeneralModelingFailure;
          edges.emplace(key, make.Edge());
        }
        std::vector<TopoDS_Shell> shells(closed.size());
        for (auto& shell : shells) builder.MakeShell(shell);
        for (size_t i = 0; i < loops.size(); ++i) {
          std::vector<int> loop = loops[i];
          if (flipped[i]) std::reverse(loop.begin(), loop.end());
          TopoDS_Wire wire;
          builder.MakeWire(wire);
          for (size_t k = 0; k < loop.size(); ++k) {
            const int a = loop[k], b = loop[(k + 1) % loop.size()];
            const TopoDS_Edge& edge = edges.at(EdgeKey(a, b));
            builder.Add(wire, a < b ? edge : TopoDS::Edge(edge.Reversed()));
          }
          wire.Closed(Standard_True);
          gp_XYZ centroid(0, 0, 0);
          for (int v : loop) centroid += gp_XYZ(points[v].x, points[v].y, points[v].z);
          centroid /= static_cast<double>(loop.size());
          const gp_Pln plane(gp_Pnt(centroid), gp_Dir(NewellNormal(loop, points)));
          BRepBuilderAPI_MakeFace face(plane, wire, Standard_True);
          if (!face.IsDone()) return Acad::eGeneralModelingFailure;
          builder.Add(shells[component[i]], face.Face());
        }
        for (const char c : closed) allClosed = allClosed && c;
        TopoDS_Compound compound;
        builder.MakeCompound(compound);
        for (size_t c = 0; c < shells.size(); ++c) {
          TopoDS_Shell& shell = shells[c];
          if (closed[c]) {
            shell.Closed(Standard_True);
            TopoDS_Solid solid;
            builder.MakeSolid(solid);
            builder.Add(solid, shell);
            GProp_GProps props;
            BRepGProp::VolumeProperties(solid, props);
            if (props.Mass() < 0) {
              shell.Reverse();
              builder.MakeSolid(solid);
              builder.Add(solid, shell);
            }
            // A body keeps its closed parts as shells beside the open ones.
            builder.Add(compound, allClosed ? TopoDS_Shape(solid) : TopoDS_Shape(shell));
          } else {
            builder.Add(compound, shell);
          }
        }
        shape = compound;
        if (shells.size() == 1) shape = TopoDS_Iterator(compound).Value();
        return Acad::eOk;
      },
      &result.reason);
  if (!result.Ok()) {
    if (result.reason.empty()) result.reason = L"The modeller could not build faces from the polygons.";
    return result;
  }
  result.shape = ShapeAccess::Make(shape, allClosed ? ShapeKind::kSolid : ShapeKind::kBody);
  return result;
}

}  // namespace plx::modeller
