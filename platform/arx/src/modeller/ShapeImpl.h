// Private to the modeller: the OCCT shape inside a Shape, and the door every OCCT call goes
// through so that no exception (Standard_Failure does not derive from std::exception) leaves.
#pragma once

#include <Standard_Failure.hxx>
#include <TopoDS_Shape.hxx>
#include <gp_Trsf.hxx>

#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>

#include "arxhost/Modeller.h"

namespace plx::modeller {

struct Shape::Impl {
  TopoDS_Shape shape;
  ShapeKind kind = ShapeKind::kNull;
  // Copies share shape's data (OCCT's topology and geometry) until one of them is changed;
  // every shape that shares it holds this token. OCCT changes a shape in place in two ways:
  // a tessellation (a cache that every Tessellate clears first) and the tolerances that
  // Booleans raise on their arguments, so Booleans and Clean work on a private copy while the
  // data is shared.
  std::shared_ptr<const char> sharers = std::make_shared<const char>();
  bool Shared() const { return sharers.use_count() > 1; }
  // shape as a deep copy of its own (geometry and all, no mesh); the shape itself when no
  // other shape shares its data. May throw Standard_Failure.
  TopoDS_Shape PrivateShape() const;
  // The tight box costs milliseconds on curved faces and the export road asks for it several
  // times, so it is kept until the shape changes: whatever replaces or moves shape must reset
  // or move it too.
  struct Box {
    Point3 min, max;
  };
  mutable std::optional<Box> extents;
};

struct ShapeAccess {
  static Shape Make(const TopoDS_Shape& shape, ShapeKind kind);
  // The OCCT shape; a null TopoDS_Shape for a null Shape.
  static const TopoDS_Shape& Get(const Shape& shape);
  static void Set(Shape& shape, const TopoDS_Shape& value);
};

std::wstring FailureText(const Standard_Failure& failure);

// Runs body (returning Acad::ErrorStatus); a modeller exception becomes a status and, when
// reason is given, its text.
template <class Body>
Acad::ErrorStatus Guarded(Body&& body, std::wstring* reason = nullptr) {
  try {
    return body();
  } catch (const Standard_Failure& failure) {
    if (reason) *reason = FailureText(failure);
  } catch (const std::bad_alloc&) {
    if (reason) *reason = L"Out of memory in the modeller.";
    return Acad::eOutOfMemory;
  } catch (const std::exception& e) {
    if (reason) *reason = L"Modeller failure: " + std::wstring(e.what(), e.what() + std::char_traits<char>::length(e.what()));
  } catch (...) {
    if (reason) *reason = L"Modeller failure.";
  }
  return Acad::eGeneralModelingFailure;
}

ShapeResult Failure(Acad::ErrorStatus status, std::wstring reason);

// shape moved by trsf into topology and geometry of its own: the shape OCCT's
// BRepBuilderAPI_Transform(shape, trsf, copy) makes (the same geometry, tolerances, flags,
// orientations and locations, shared sub-shapes still shared, no mesh kept), built in one walk
// at a fraction of its cost. A null shape when shape is null or holds what only OCCT's transform
// repeats exactly: a face or container met twice, an edge closed on a face without being its
// seam. May throw Standard_Failure.
TopoDS_Shape MovedCopy(const TopoDS_Shape& shape, const gp_Trsf& trsf);

// Relative error of volumes: OCCT's fixed-order integration is off by about 1e-5 on faces
// bounded by approximated pcurves (a solid read back from SAT), the adaptive one is not.
constexpr double kVolumePrecision = 1e-9;

// What a shape's geometry makes it: closed shells bounding solids a 3D solid, one planar face
// a region, anything else a body; null for a null shape.
ShapeKind ClassifyGeometry(const TopoDS_Shape& shape);

}  // namespace plx::modeller
