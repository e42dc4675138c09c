// The maker's geometry module: faces added to meshes (and, later, surfaces and curve tests).
#pragma once

#include "opennurbs.h"

class TVKMesh {
 public:
  // Appends the triangle a, b, c (or the quad a, b, c, d) with vertices of its own; the faces
  // the mesh held stay and no colour is added. Returns 1, or 0 when a corner is not finite
  // (the face is then added all the same, so the caller's mesh always holds it).
  static int AddTriangle(ON_Mesh& mesh, const ON_3dPoint& a, const ON_3dPoint& b, const ON_3dPoint& c);
  static int AddQuad(ON_Mesh& mesh, const ON_3dPoint& a, const ON_3dPoint& b, const ON_3dPoint& c,
                     const ON_3dPoint& d);
};
