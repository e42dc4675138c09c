// Faces are added with vertices of their own: no search for shared corners, so that adding a
// face costs the same whatever the mesh already holds.
#include <cmath>

#include "TVKGeo.h"

namespace {

bool Finite(const ON_3dPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

}  // namespace

int TVKMesh::AddTriangle(ON_Mesh& mesh, const ON_3dPoint& a, const ON_3dPoint& b, const ON_3dPoint& c) {
  const int first = mesh.VertexCount();
  mesh.SetVertex(first, a);
  mesh.SetVertex(first + 1, b);
  mesh.SetVertex(first + 2, c);
  mesh.SetTriangle(mesh.FaceCount(), first, first + 1, first + 2);
  return Finite(a) && Finite(b) && Finite(c) ? 1 : 0;
}

int TVKMesh::AddQuad(ON_Mesh& mesh, const ON_3dPoint& a, const ON_3dPoint& b, const ON_3dPoint& c,
                     const ON_3dPoint& d) {
  const int first = mesh.VertexCount();
  mesh.SetVertex(first, a);
  mesh.SetVertex(first + 1, b);
  mesh.SetVertex(first + 2, c);
  mesh.SetVertex(first + 3, d);
  mesh.SetQuad(mesh.FaceCount(), first, first + 1, first + 2, first + 3);
  return Finite(a) && Finite(b) && Finite(c) && Finite(d) ? 1 : 0;
}
