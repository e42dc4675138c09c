// A faceted body in SAT records: body -> lump -> shell -> face -> loop -> coedge -> edge ->
// vertex -> point, with a plane-surface per face and a straight-curve per edge. An edge is the
// unordered pair of its end vertices; the coedges of all faces along one edge are linked in a
// ring of partners (two for a manifold edge, none for a boundary edge). An edge runs from the
// corner where its first face meets it, so that face's coedge is forward, and the curve's
// parameter is the distance from its start.
#include "sat/SatPolyhedron.h"

#include <cassert>
#include <cmath>
#include <unordered_map>

namespace plx::sat {
namespace {

struct Vec {
  double x, y, z;
};

Vec Sub(const PolyPoint& a, const PolyPoint& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double Dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double Length(const Vec& v) { return std::sqrt(Dot(v, v)); }
Vec Scaled(const Vec& v, double s) { return {v.x * s, v.y * s, v.z * s}; }

// Newell's normal: robust for any planar polygon, whatever its first corners.
Vec NewellNormal(const Polyhedron& poly, const std::vector<int>& face) {
  Vec n{0, 0, 0};
  for (size_t i = 0; i < face.size(); ++i) {
    const PolyPoint& a = poly.vertices[face[i]];
    const PolyPoint& b = poly.vertices[face[(i + 1) % face.size()]];
    n.x += (a.y - b.y) * (a.z + b.z);
    n.y += (a.z - b.z) * (a.x + b.x);
    n.z += (a.x - b.x) * (a.y + b.y);
  }
  const double length = Length(n);
  return length > 0 ? Scaled(n, 1 / length) : Vec{0, 0, 1};
}

struct PairHash {
  size_t operator()(uint64_t key) const {
    return std::hash<uint64_t>()(key * 0x9E3779B97F4A7C15ull);
  }
};

uint64_t EdgeKey(int a, int b) {
  const uint32_t lo = static_cast<uint32_t>(a < b ? a : b),
                 hi = static_cast<uint32_t>(a < b ? b : a);
  return (static_cast<uint64_t>(hi) << 32) | lo;
}

struct EdgeUse {
  int64_t coedge;
  int64_t next;  // next coedge on the same edge (ring), filled at the end
};

void AddLump(SatDocument& doc, const Polyhedron& poly, int64_t body, int64_t lump, int64_t nextLump,
             bool singleSided) {
  const int64_t shell = doc.Reserve();
  doc.Set(lump, RecordText("lump").Pointer(nextLump).Pointer(shell).Pointer(body));

  struct Edge {
    int v0, v1;
    int64_t record, curve;
    int64_t firstCoedge;
  };
  size_t corners = 0;
  for (const auto& face : poly.faces) corners += face.size();
  std::vector<Edge> edges;
  edges.reserve(corners / 2 + 1);
  std::unordered_map<uint64_t, int, PairHash> edgeIndex;
  edgeIndex.reserve(corners);
  std::vector<int64_t> coedgeRecord(corners);  // by corner, faces one after another
  std::vector<int> cornerEdge(corners);
  std::vector<int64_t> ringNext(corners, -1);  // next corner on the same edge
  std::vector<int64_t> ringLast;               // by edge: last corner added to its ring
  ringLast.reserve(corners / 2 + 1);
  std::vector<int64_t> ringFirst;
  ringFirst.reserve(corners / 2 + 1);

  std::vector<int64_t> faceRecord(poly.faces.size()), loopRecord(poly.faces.size());
  for (auto& record : faceRecord) record = doc.Reserve();
  size_t corner = 0;
  for (size_t f = 0; f < poly.faces.size(); ++f) {
    const std::vector<int>& face = poly.faces[f];
    assert(face.size() >= 3);
    loopRecord[f] = doc.Reserve();
    const int64_t surface = doc.Reserve();
    RecordText faceText("face");
    faceText.Pointer(f + 1 < poly.faces.size() ? faceRecord[f + 1] : -1)
        .Pointer(loopRecord[f])
        .Pointer(shell)
        .Pointer(-1)
        .Pointer(surface)
        .Word("forward");
    if (singleSided)
      faceText.Word("single");
    else
      faceText.Word("double out");
    doc.Set(faceRecord[f], faceText);

    // The plane: root at the first corner, u along the first edge made normal to the plane.
    const Vec normal = NewellNormal(poly, face);
    const PolyPoint& root = poly.vertices[face[0]];
    Vec u = Sub(poly.vertices[face[1]], root);
    const double along = Dot(u, normal);
    u = {u.x - normal.x * along, u.y - normal.y * along, u.z - normal.z * along};
    if (Length(u) == 0)
      u = std::fabs(normal.x) < 0.9 ? Vec{0, -normal.z, normal.y} : Vec{normal.z, 0, -normal.x};
    u = Scaled(u, 1 / Length(u));
    doc.Set(surface, RecordText("plane-surface")
                         .Triple(root.x, root.y, root.z)
                         .Triple(normal.x, normal.y, normal.z)
                         .Triple(u.x, u.y, u.z)
                         .Word("forward_v I I I I"));

    const size_t n = face.size();
    for (size_t i = 0; i < n; ++i) {
      coedgeRecord[corner + i] = doc.Reserve();
      const int a = face[i], b = face[(i + 1) % n];
      auto [it, added] = edgeIndex.try_emplace(EdgeKey(a, b), static_cast<int>(edges.size()));
      if (added) {
        edges.push_back(Edge{a, b, -1, -1, coedgeRecord[corner + i]});
        ringFirst.push_back(static_cast<int64_t>(corner + i));
        ringLast.push_back(static_cast<int64_t>(corner + i));
      } else {
        ringNext[ringLast[it->second]] = static_cast<int64_t>(corner + i);
        ringLast[it->second] = static_cast<int64_t>(corner + i);
      }
      cornerEdge[corner + i] = it->second;
    }
    doc.Set(loopRecord[f],
            RecordText("loop").Pointer(-1).Pointer(coedgeRecord[corner]).Pointer(faceRecord[f]));
    corner += n;
  }
  doc.Set(shell, RecordText("shell")
                     .Pointer(-1)
                     .Pointer(-1)
                     .Pointer(poly.faces.empty() ? -1 : faceRecord[0])
                     .Pointer(-1)
                     .Pointer(lump));

  for (Edge& edge : edges) {
    edge.record = doc.Reserve();
    edge.curve = doc.Reserve();
  }
  // Vertex and point records for the vertices that edges use; each vertex names its first edge.
  std::vector<int64_t> vertexRecord(poly.vertices.size(), -1);
  std::vector<int> vertexEdge(poly.vertices.size(), -1);
  for (size_t e = 0; e < edges.size(); ++e)
    for (int v : {edges[e].v0, edges[e].v1})
      if (vertexRecord[v] < 0) {
        vertexRecord[v] = doc.Reserve();
        vertexEdge[v] = static_cast<int>(e);
      }
  for (size_t v = 0; v < poly.vertices.size(); ++v) {
    if (vertexRecord[v] < 0) continue;
    const PolyPoint& p = poly.vertices[v];
    const int64_t point = doc.Add(RecordText("point").Triple(p.x, p.y, p.z));
    doc.Set(vertexRecord[v],
            RecordText("vertex").Pointer(edges[vertexEdge[v]].record).Pointer(point));
  }

  corner = 0;
  for (size_t f = 0; f < poly.faces.size(); ++f) {
    const std::vector<int>& face = poly.faces[f];
    const size_t n = face.size();
    for (size_t i = 0; i < n; ++i) {
      const size_t c = corner + i;
      const int e = cornerEdge[c];
      // Partners: the next coedge in the edge's ring; none when the edge has one face.
      int64_t partner = ringNext[c] >= 0 ? ringNext[c] : ringFirst[e];
      partner = partner == static_cast<int64_t>(c) ? -1 : coedgeRecord[partner];
      doc.Set(coedgeRecord[c], RecordText("coedge")
                                   .Pointer(coedgeRecord[corner + (i + 1) % n])
                                   .Pointer(coedgeRecord[corner + (i + n - 1) % n])
                                   .Pointer(partner)
                                   .Pointer(edges[e].record)
                                   .Word(face[i] == edges[e].v0 ? "forward" : "reversed")
                                   .Pointer(loopRecord[f])
                                   .Pointer(-1));
    }
    corner += n;
  }

  for (const Edge& edge : edges) {
    const PolyPoint& p0 = poly.vertices[edge.v0];
    const Vec d = Sub(poly.vertices[edge.v1], p0);
    const double length = Length(d);
    const Vec dir = Scaled(d, 1 / length);
    doc.Set(edge.record, RecordText("edge")
                             .Pointer(vertexRecord[edge.v0])
                             .Int(0)
                             .Pointer(vertexRecord[edge.v1])
                             .Real(length)
                             .Pointer(edge.firstCoedge)
                             .Pointer(edge.curve)
                             .Word("forward")
                             .String("unknown"));
    doc.Set(edge.curve, RecordText("straight-curve")
                            .Triple(p0.x, p0.y, p0.z)
                            .Triple(dir.x, dir.y, dir.z)
                            .Word("I I"));
  }
}

}  // namespace

int64_t AddPolyhedralBody(SatDocument& document, const std::vector<const Polyhedron*>& lumps,
                          bool singleSided) {
  const int64_t body = document.Reserve();
  const int64_t transform = document.Reserve();
  std::vector<int64_t> lumpRecords(lumps.size());
  for (auto& record : lumpRecords) record = document.Reserve();
  document.Set(body, RecordText("body")
                         .Pointer(lumps.empty() ? -1 : lumpRecords[0])
                         .Pointer(-1)
                         .Pointer(transform));
  document.Set(transform, RecordText("transform", RecordText::Prefix::kTransform)
                              .Word("1 0 0 0 1 0 0 0 1 0 0 0 1 no_rotate no_reflect no_shear"));
  for (size_t i = 0; i < lumps.size(); ++i)
    AddLump(document, *lumps[i], body, lumpRecords[i],
            i + 1 < lumps.size() ? lumpRecords[i + 1] : -1, singleSided);
  document.CountBody();
  return body;
}

}  // namespace plx::sat
