// Mesh clean-up for SAT faceted bodies. Corners are welded by exact position (meshes from
// polygon meshes and TVKMesh repeat their corners per face). A quad whose fourth corner leaves
// the plane of the others by more than a relative 1e-9 becomes two triangles (a, b, c) and
// (a, c, d), as the STL writer splits it; a face with fewer than three distinct corners or no
// area is left out. Orientation spreads across edges shared by exactly two faces (breadth
// first); a part whose every edge has two faces is closed and is turned outwards by the sign
// of its volume.
#include "mesh_to_sat.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "vertex_welder.h"
#include "win32/text.h"

namespace qmlib {
namespace {

struct V3 {
  double x, y, z;
};

V3 At(const ON_3fPointArray& v, int i) { return {v[i].x, v[i].y, v[i].z}; }
V3 Sub(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 Cross(V3 a, V3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

V3 Newell(const ON_3fPointArray& v, const std::vector<int>& face) {
  V3 n{0, 0, 0};
  for (size_t i = 0; i < face.size(); ++i) {
    const V3 a = At(v, face[i]), b = At(v, face[(i + 1) % face.size()]);
    n.x += (a.y - b.y) * (a.z + b.z);
    n.y += (a.z - b.z) * (a.x + b.x);
    n.z += (a.x - b.x) * (a.y + b.y);
  }
  return n;
}

uint64_t Key(int a, int b) {
  const uint32_t lo = static_cast<uint32_t>(std::min(a, b)),
                 hi = static_cast<uint32_t>(std::max(a, b));
  return (static_cast<uint64_t>(hi) << 32) | lo;
}

struct KeyHash {
  size_t operator()(uint64_t key) const {
    return std::hash<uint64_t>()(key * 0x9E3779B97F4A7C15ull);
  }
};

// Whether face runs from a to b (in its corner order).
bool Runs(const std::vector<int>& face, int a, int b) {
  for (size_t i = 0; i < face.size(); ++i)
    if (face[i] == a && face[(i + 1) % face.size()] == b) return true;
  return false;
}

}  // namespace

bool MeshToPolyhedra(const ON_Mesh& mesh, bool orient, std::vector<plx::sat::Polyhedron>& parts,
                     bool& closed, std::wstring& error) {
  const int vertexCount = mesh.VertexCount();
  if (mesh.FaceCount() == 0 || vertexCount == 0) {
    error = L"The mesh is empty: it has no faces.";
    return false;
  }
  for (int i = 0; i < vertexCount; ++i) {
    const ON_3fPoint& p = mesh.m_V[i];
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
      error = plx::FormatWide(L"Vertex %d of the mesh is not finite.", i);
      return false;
    }
  }

  ON_3fPointArray welded;
  std::vector<int> weld(vertexCount);
  {
    VertexWelder welder(welded, static_cast<size_t>(vertexCount));
    for (int i = 0; i < vertexCount; ++i)
      weld[i] = welder.IndexOf(mesh.m_V[i].x, mesh.m_V[i].y, mesh.m_V[i].z);
  }
  double low[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL}, high[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  for (int i = 0; i < welded.Count(); ++i) {
    const float c[3] = {welded[i].x, welded[i].y, welded[i].z};
    for (int k = 0; k < 3; ++k)
      low[k] = std::min(low[k], double(c[k])), high[k] = std::max(high[k], double(c[k]));
  }
  const double size = std::hypot(high[0] - low[0], high[1] - low[1], high[2] - low[2]);
  // A face needs an area above a relative 1e-14 of the mesh's size squared (Newell's vector is
  // twice the area).
  const double minNewell = 2e-14 * size * size;

  std::vector<std::vector<int>> faces;
  faces.reserve(mesh.FaceCount());
  auto keep = [&](std::vector<int> corners) {
    // Repeated corners collapse; what is left must enclose an area.
    std::vector<int> distinct;
    for (int c : corners)
      if (distinct.empty() || distinct.back() != c) distinct.push_back(c);
    while (distinct.size() > 1 && distinct.front() == distinct.back()) distinct.pop_back();
    if (distinct.size() == 4 && (distinct[0] == distinct[2] || distinct[1] == distinct[3])) return;
    if (distinct.size() < 3) return;
    const V3 n = Newell(welded, distinct);
    if (!(std::sqrt(Dot(n, n)) > minNewell)) return;
    faces.push_back(std::move(distinct));
  };
  for (int f = 0; f < mesh.FaceCount(); ++f) {
    const ON_MeshFace& face = mesh.m_F[f];
    const int count = face.IsQuad() ? 4 : 3;
    std::vector<int> corners(count);
    for (int k = 0; k < count; ++k) {
      if (face.vi[k] < 0 || face.vi[k] >= vertexCount) {
        error = plx::FormatWide(L"Face %d names vertex %d, which the mesh does not have.", f,
                                face.vi[k]);
        return false;
      }
      corners[k] = weld[face.vi[k]];
    }
    if (count == 4) {
      const V3 n = Newell(welded, corners);
      const double length = std::sqrt(Dot(n, n));
      bool planar = length > 0;
      if (planar) {
        const V3 a = At(welded, corners[0]);
        for (int k = 1; k < 4 && planar; ++k)
          planar = std::fabs(Dot(Sub(At(welded, corners[k]), a), n)) / length <= 1e-9 * size;
      }
      if (!planar) {
        keep({corners[0], corners[1], corners[2]});
        keep({corners[0], corners[2], corners[3]});
        continue;
      }
    }
    keep(std::move(corners));
  }
  if (faces.empty()) {
    error = L"The mesh has no face with an area: every face is degenerate.";
    return false;
  }

  // Faces by edge.
  std::unordered_map<uint64_t, std::vector<int>, KeyHash> byEdge;
  byEdge.reserve(faces.size() * 2);
  for (size_t f = 0; f < faces.size(); ++f)
    for (size_t i = 0; i < faces[f].size(); ++i)
      byEdge[Key(faces[f][i], faces[f][(i + 1) % faces[f].size()])].push_back(static_cast<int>(f));

  // Connected parts, turned to agree as they are found.
  std::vector<int> part(faces.size(), -1);
  std::vector<std::vector<int>> partFaces;
  for (size_t seed = 0; seed < faces.size(); ++seed) {
    if (part[seed] >= 0) continue;
    const int id = static_cast<int>(partFaces.size());
    partFaces.emplace_back();
    std::vector<int> queue{static_cast<int>(seed)};
    part[seed] = id;
    for (size_t q = 0; q < queue.size(); ++q) {
      const int f = queue[q];
      partFaces[id].push_back(f);
      const std::vector<int>& face = faces[f];
      for (size_t i = 0; i < face.size(); ++i) {
        const int a = face[i], b = face[(i + 1) % face.size()];
        const std::vector<int>& around = byEdge[Key(a, b)];
        for (int g : around) {
          if (part[g] >= 0) continue;
          part[g] = id;
          // Across a manifold edge the neighbour must run it the other way.
          if (orient && around.size() == 2 && Runs(faces[g], a, b))
            std::reverse(faces[g].begin(), faces[g].end());
          queue.push_back(g);
        }
      }
    }
  }

  closed = true;
  parts.clear();
  parts.reserve(partFaces.size());
  std::vector<int> local(welded.Count(), -1);
  for (const std::vector<int>& members : partFaces) {
    bool partClosed = true;
    for (int f : members)
      for (size_t i = 0; i < faces[f].size() && partClosed; ++i)
        partClosed = byEdge[Key(faces[f][i], faces[f][(i + 1) % faces[f].size()])].size() == 2;
    closed = closed && partClosed;
    if (orient && partClosed) {
      double volume = 0;
      for (int f : members) {
        const V3 a = At(welded, faces[f][0]);
        for (size_t i = 1; i + 1 < faces[f].size(); ++i)
          volume += Dot(a, Cross(At(welded, faces[f][i]), At(welded, faces[f][i + 1])));
      }
      if (volume < 0)
        for (int f : members) std::reverse(faces[f].begin(), faces[f].end());
    }
    plx::sat::Polyhedron poly;
    for (int f : members) {
      std::vector<int> corners;
      corners.reserve(faces[f].size());
      for (int v : faces[f]) {
        if (local[v] < 0) {
          local[v] = static_cast<int>(poly.vertices.size());
          poly.vertices.push_back({welded[v].x, welded[v].y, welded[v].z});
        }
        corners.push_back(local[v]);
      }
      poly.faces.push_back(std::move(corners));
    }
    for (int f : members)
      for (int v : faces[f]) local[v] = -1;
    parts.push_back(std::move(poly));
  }
  return true;
}

}  // namespace qmlib
