// Flat faces as NURBS surfaces: one bilinear patch each, its corners the control points, so
// the patch passes through every corner and its sides are the straight edges of the face.
#include "TVKGeo.h"

int TVKNurbsSurface::CreateTriangle(ON_NurbsSurface& surface, const ON_3dPoint& a,
                                    const ON_3dPoint& b, const ON_3dPoint& c) {
  return CreateQuad(surface, a, b, c, c);
}

int TVKNurbsSurface::CreateQuad(ON_NurbsSurface& surface, const ON_3dPoint& a, const ON_3dPoint& b,
                                const ON_3dPoint& c, const ON_3dPoint& d) {
  if (!a.IsValid() || !b.IsValid() || !c.IsValid() || !d.IsValid()) return 0;
  ON_NurbsSurface patch(3, false, 2, 2, 2, 2);
  for (int dir = 0; dir < 2; ++dir) {
    patch.SetKnot(dir, 0, 0.0);
    patch.SetKnot(dir, 1, 1.0);
  }
  patch.SetCV(0, 0, a);
  patch.SetCV(1, 0, b);
  patch.SetCV(1, 1, c);
  patch.SetCV(0, 1, d);
  surface = patch;
  return 1;
}
