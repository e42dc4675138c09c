// The host's primitives as OCCT solids. Sizes are checked here: OCCT builds degenerate shapes
// from zero or negative sizes without complaint.
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCone.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakeSphere.hxx>
#include <BRepPrimAPI_MakeTorus.hxx>
#include <BRepPrimAPI_MakeWedge.hxx>
#include <gp_Ax2.hxx>

#include <cmath>

#include "ShapeImpl.h"

namespace plx::modeller {

namespace {

bool Finite(const Point3& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

gp_Pnt ToPnt(const Point3& p) { return gp_Pnt(p.x, p.y, p.z); }

// Runs make (returning a TopoDS_Shape) behind the modeller's door.
template <class Make>
ShapeResult MakeSolid(Make&& make) {
  ShapeResult result;
  TopoDS_Shape shape;
  result.status = Guarded(
      [&] {
        shape = make();
        return shape.IsNull() ? Acad::eGeneralModelingFailure : Acad::eOk;
      },
      &result.reason);
  if (result.Ok())
    result.shape = ShapeAccess::Make(shape, ShapeKind::kSolid);
  else if (result.reason.empty())
    result.reason = L"The modeller could not make the solid.";
  return result;
}

// Axis along Z, or down it for a negative height.
gp_Ax2 VerticalAxis(const Point3& base, double height) {
  return gp_Ax2(ToPnt(base), height > 0 ? gp::DZ() : -gp::DZ());
}

const wchar_t* CheckCorners(const Point3& a, const Point3& b) {
  if (!Finite(a) || !Finite(b)) return L"A corner is not a finite point.";
  if (a.x == b.x || a.y == b.y || a.z == b.z) return L"The corners must differ in X, Y and Z.";
  return nullptr;
}

}  // namespace

ShapeResult Shape::Box(const Point3& a, const Point3& b) {
  if (const wchar_t* problem = CheckCorners(a, b))
    return Failure(Finite(a) && Finite(b) ? Acad::eDegenerateGeometry : Acad::eInvalidInput, problem);
  return MakeSolid([&] {
    const gp_Pnt low(std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z));
    const gp_Pnt high(std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z));
    return BRepPrimAPI_MakeBox(low, high).Shape();
  });
}

ShapeResult Shape::Sphere(const Point3& centre, double radius) {
  if (!Finite(centre) || !std::isfinite(radius)) return Failure(Acad::eInvalidInput, L"The sphere's values must be finite.");
  if (radius <= 0) return Failure(Acad::eDegenerateGeometry, L"The radius must be positive.");
  return MakeSolid([&] { return BRepPrimAPI_MakeSphere(ToPnt(centre), radius).Shape(); });
}

ShapeResult Shape::Cylinder(const Point3& base, double radius, double height) {
  if (!Finite(base) || !std::isfinite(radius) || !std::isfinite(height))
    return Failure(Acad::eInvalidInput, L"The cylinder's values must be finite.");
  if (radius <= 0) return Failure(Acad::eDegenerateGeometry, L"The radius must be positive.");
  if (height == 0) return Failure(Acad::eDegenerateGeometry, L"The height must not be zero.");
  return MakeSolid(
      [&] { return BRepPrimAPI_MakeCylinder(VerticalAxis(base, height), radius, std::abs(height)).Shape(); });
}

ShapeResult Shape::Cone(const Point3& base, double radius, double height) {
  if (!Finite(base) || !std::isfinite(radius) || !std::isfinite(height))
    return Failure(Acad::eInvalidInput, L"The cone's values must be finite.");
  if (radius <= 0) return Failure(Acad::eDegenerateGeometry, L"The radius must be positive.");
  if (height == 0) return Failure(Acad::eDegenerateGeometry, L"The height must not be zero.");
  return MakeSolid(
      [&] { return BRepPrimAPI_MakeCone(VerticalAxis(base, height), radius, 0.0, std::abs(height)).Shape(); });
}

ShapeResult Shape::Torus(const Point3& centre, double radius, double tubeRadius) {
  if (!Finite(centre) || !std::isfinite(radius) || !std::isfinite(tubeRadius))
    return Failure(Acad::eInvalidInput, L"The torus's values must be finite.");
  if (radius <= 0 || tubeRadius <= 0) return Failure(Acad::eDegenerateGeometry, L"The radii must be positive.");
  // A tube as wide as the ring would cross itself, which the modeller cannot hold as a solid.
  if (tubeRadius >= radius)
    return Failure(Acad::eDegenerateGeometry, L"The tube radius must be less than the torus radius.");
  return MakeSolid([&] { return BRepPrimAPI_MakeTorus(gp_Ax2(ToPnt(centre), gp::DZ()), radius, tubeRadius).Shape(); });
}

ShapeResult Shape::Wedge(const Point3& a, const Point3& b) {
  if (const wchar_t* problem = CheckCorners(a, b))
    return Failure(Finite(a) && Finite(b) ? Acad::eDegenerateGeometry : Acad::eInvalidInput, problem);
  return MakeSolid([&] {
    // OCCT's wedge tapers along its local Y to an edge at local X = 0 (ltx = 0). Local X runs
    // from the first corner towards the other in X, local Y is the height (world Z, either
    // way), local Z = X x Y comes out along world +Y or -Y; the origin sits where local Z starts.
    const double sx = b.x > a.x ? 1.0 : -1.0;
    const double sz = b.z > a.z ? 1.0 : -1.0;
    const gp_Dir localX(sx, 0, 0);
    const gp_Dir localZ(0, -sx * sz, 0);  // (sx,0,0) x (0,0,sz)
    const double originY = localZ.Y() > 0 ? std::min(a.y, b.y) : std::max(a.y, b.y);
    const gp_Ax2 frame(gp_Pnt(a.x, originY, a.z), localZ, localX);
    return BRepPrimAPI_MakeWedge(frame, std::abs(b.x - a.x), std::abs(b.z - a.z), std::abs(b.y - a.y), 0.0).Shape();
  });
}

}  // namespace plx::modeller
