// The maker's geometry module: faces added to meshes, patches made into NURBS surfaces, and
// what simple curve a curve is.
#pragma once

#include "opennurbs.h"

class TVKMesh {
 public:
  // Appends the triangle a, b, c (or the quad a, b, c, d) with vertices of its own; the faces
  // the mesh held stay and no colour is added. Returns 1, or 0 when a corner is not finite
  // (the face is then added all the same, so the caller's mesh always holds it).
  static int AddTriangle(ON_Mesh& mesh, const ON_3dPoint& a, const ON_3dPoint& b,
                         const ON_3dPoint& c);
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

// Tests of what simple curve a curve is, relative to the curve's size: 1 when it is, with the
// out-value set; 0 otherwise, the out-value untouched. Only NURBS curves are recognised.
class TVKCurve {
 public:
  // A degree-1 curve whose points lie in order on one segment: from is its start, to its end.
  static int IsLine(const ON_Curve* curve, ON_Line& line);
  // A rational quadratic that runs once round a circle: centre, normal (about which the curve
  // runs counter-clockwise, the x axis towards its start) and radius.
  static int IsCircle(const ON_Curve* curve, ON_Circle& circle);
  // A rational quadratic on a circle, turning one way: the plane's x axis points at the
  // curve's start, the angle interval is 0 to the sweep (2 pi for a full circle).
  static int IsArc(const ON_Curve* curve, ON_Arc& arc);
  // A degree-1 curve: its points in order, repeated points once, the last equal to the first
  // when the curve is closed.
  static int IsPolyline(const ON_Curve* curve, ON_Polyline& polyline);
};
