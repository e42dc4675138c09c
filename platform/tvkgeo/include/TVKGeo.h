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

class TVKNurbsSurface {
 public:
  // Makes surface the bilinear patch (degree 1 both ways, domain [0, 1] x [0, 1]) with the
  // corners a at (0, 0), b at (1, 0), c at (1, 1) and d at (0, 1); a triangle is the patch
  // whose last side shrinks to c (d = c). Returns 1, or 0 with the surface left as it was
  // when a corner is not finite.
  static int CreateTriangle(ON_NurbsSurface& surface, const ON_3dPoint& a, const ON_3dPoint& b,
                            const ON_3dPoint& c);
  static int CreateQuad(ON_NurbsSurface& surface, const ON_3dPoint& a, const ON_3dPoint& b,
                        const ON_3dPoint& c, const ON_3dPoint& d);
};
