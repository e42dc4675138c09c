// Small meshes with known facets, and helpers to compare what a reader gives back.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "afx.h"
#include "opennurbs.h"

namespace qmtest {

// An axis-aligned box as six outward quads over eight vertices, with one mesh colour.
inline ON_Mesh Box(const ON_3dPoint& lo, const ON_3dPoint& hi, ON_Color colour) {
  ON_Mesh mesh;
  for (int i = 0; i < 8; ++i)
    mesh.SetVertex(i, ON_3dPoint(i & 1 ? hi.x : lo.x, i & 2 ? hi.y : lo.y, i & 4 ? hi.z : lo.z));
  const int quads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
  for (int f = 0; f < 6; ++f) mesh.SetQuad(f, quads[f][0], quads[f][1], quads[f][2], quads[f][3]);
  mesh.m_C.Append(colour);
  return mesh;
}

// A tetrahedron of four outward triangles with its corner at origin, legs of length size.
inline ON_Mesh Tetrahedron(const ON_3dPoint& origin, double size) {
  ON_Mesh mesh;
  mesh.SetVertex(0, origin);
  mesh.SetVertex(1, origin + ON_3dVector(size, 0, 0));
  mesh.SetVertex(2, origin + ON_3dVector(0, size, 0));
  mesh.SetVertex(3, origin + ON_3dVector(0, 0, size));
  mesh.SetTriangle(0, 0, 2, 1);
  mesh.SetTriangle(1, 0, 1, 3);
  mesh.SetTriangle(2, 0, 3, 2);
  mesh.SetTriangle(3, 1, 2, 3);
  return mesh;
}

// A closed sphere of rings x segments vertices (quads between rings, triangles at the poles).
inline ON_Mesh Sphere(const ON_3dPoint& centre, double radius, int rings, int segments) {
  ON_Mesh mesh;
  const double pi = 3.14159265358979323846;
  mesh.SetVertex(0, centre + ON_3dVector(0, 0, -radius));
  for (int r = 1; r < rings; ++r) {
    const double phi = -pi / 2 + pi * r / rings;
    for (int s = 0; s < segments; ++s) {
      const double theta = 2 * pi * s / segments;
      mesh.SetVertex(mesh.VertexCount(), centre + ON_3dVector(radius * std::cos(phi) * std::cos(theta),
                                                              radius * std::cos(phi) * std::sin(theta),
                                                              radius * std::sin(phi)));
    }
  }
  const int top = mesh.VertexCount();
  mesh.SetVertex(top, centre + ON_3dVector(0, 0, radius));
  auto at = [&](int r, int s) { return 1 + (r - 1) * segments + (s % segments); };
  for (int s = 0; s < segments; ++s) mesh.SetTriangle(mesh.FaceCount(), 0, at(1, s + 1), at(1, s));
  for (int r = 1; r + 1 < rings; ++r)
    for (int s = 0; s < segments; ++s) mesh.SetQuad(mesh.FaceCount(), at(r, s), at(r, s + 1), at(r + 1, s + 1), at(r + 1, s));
  for (int s = 0; s < segments; ++s) mesh.SetTriangle(mesh.FaceCount(), top, at(rings - 1, s), at(rings - 1, s + 1));
  return mesh;
}

inline int FacetCount(const ON_ClassArray<ON_Mesh>& meshes) {
  int n = 0;
  for (int m = 0; m < meshes.Count(); ++m) n += meshes[m].TriangleCount() + 2 * meshes[m].QuadCount();
  return n;
}

using Triangle = std::array<float, 9>;

// Every facet as its nine coordinates, quads split (a, b, c), (a, c, d), sorted.
inline std::vector<Triangle> Triangles(const ON_ClassArray<ON_Mesh>& meshes) {
  std::vector<Triangle> out;
  for (int m = 0; m < meshes.Count(); ++m) {
    const ON_Mesh& mesh = meshes[m];
    for (int f = 0; f < mesh.FaceCount(); ++f) {
      const int* vi = mesh.m_F[f].vi;
      auto put = [&](int a, int b, int c) {
        const ON_3fPoint& p = mesh.m_V[a];
        const ON_3fPoint& q = mesh.m_V[b];
        const ON_3fPoint& r = mesh.m_V[c];
        out.push_back({p.x, p.y, p.z, q.x, q.y, q.z, r.x, r.y, r.z});
      };
      put(vi[0], vi[1], vi[2]);
      if (vi[2] != vi[3]) put(vi[0], vi[2], vi[3]);
    }
  }
  std::sort(out.begin(), out.end());
  return out;
}

inline std::vector<Triangle> Triangles(const ON_Mesh& mesh) {
  ON_ClassArray<ON_Mesh> one;
  one.Append(mesh);
  return Triangles(one);
}

inline CString PathOf(const std::string& utf8) { return CString(utf8.c_str()); }

// A mesh that no successful read could give, to show that a failed read left it alone.
inline ON_Mesh Sentinel() {
  ON_Mesh mesh = Tetrahedron(ON_3dPoint(-7, -7, -7), 3);
  mesh.m_C.Append(ON_Color(1, 2, 3));
  mesh.m_N.Append(ON_3fVector(0, 0, 1));
  return mesh;
}

inline bool IsSentinel(const ON_Mesh& mesh) {
  return mesh.VertexCount() == 4 && mesh.FaceCount() == 4 && mesh.m_C.Count() == 1 && mesh.m_N.Count() == 1 &&
         mesh.m_V[0] == ON_3fPoint(-7, -7, -7) && Triangles(mesh) == Triangles(Sentinel());
}

// Binary STL bytes from raw facets (normal zero), with the given header and count.
struct RawFacet {
  float corners[9];
  uint16_t attribute;
};

inline std::string BinaryStl(const std::vector<RawFacet>& facets, const std::string& header, uint32_t count) {
  std::string bytes(80, ' ');
  std::memcpy(bytes.data(), header.data(), std::min<size_t>(header.size(), 80));
  bytes.append(reinterpret_cast<const char*>(&count), 4);
  for (const RawFacet& f : facets) {
    const float normal[3] = {0, 0, 0};
    bytes.append(reinterpret_cast<const char*>(normal), 12);
    bytes.append(reinterpret_cast<const char*>(f.corners), 36);
    bytes.append(reinterpret_cast<const char*>(&f.attribute), 2);
  }
  return bytes;
}

inline std::string BinaryStl(const std::vector<RawFacet>& facets) {
  return BinaryStl(facets, "test", static_cast<uint32_t>(facets.size()));
}

}  // namespace qmtest
