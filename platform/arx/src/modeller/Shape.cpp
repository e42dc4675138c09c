// Shape: value semantics over a TopoDS_Shape (copies share OCCT's data, which no operation
// changes in place except through a private deep copy), tight extents, host matrices and mass
// properties.
#include <BRepBndLib.hxx>
#include <BRepLib.hxx>
#include <BRep_Tool.hxx>
#include <BRepBuilderAPI_Copy.hxx>
#include <BRepBuilderAPI_GTransform.hxx>
#include <BRepBuilderAPI_Transform.hxx>
#include <BRepGProp.hxx>
#include <Bnd_Box.hxx>
#include <GProp_GProps.hxx>
#include <Geom_Plane.hxx>
#include <Geom_ToroidalSurface.hxx>
#include <TopExp_Explorer.hxx>
#include <TopLoc_Location.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <gp_GTrsf.hxx>
#include <gp_Mat.hxx>
#include <gp_Trsf.hxx>

#include <cmath>

#include "ShapeImpl.h"
#include "win32/text.h"

namespace plx::modeller {

namespace {

TopoDS_Shape DeepCopy(const TopoDS_Shape& shape) {
  if (shape.IsNull()) return shape;
  BRepBuilderAPI_Copy copy(shape, /*copyGeom=*/true, /*copyMesh=*/false);
  return copy.Shape();
}

double Determinant(const double (&m)[4][4]) {
  return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
         m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
         m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

// Columns orthogonal and of one length: a rotation or mirror times a uniform scale, which
// gp_Trsf holds exactly (it would silently make anything else uniform).
bool IsConformal(const double (&m)[4][4]) {
  double gram[3][3];
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) gram[i][j] = m[0][i] * m[0][j] + m[1][i] * m[1][j] + m[2][i] * m[2][j];
  const double s2 = (gram[0][0] + gram[1][1] + gram[2][2]) / 3.0;
  constexpr double kTolerance = 1e-10;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      if (std::abs(gram[i][j] - (i == j ? s2 : 0.0)) > kTolerance * s2) return false;
  return true;
}

// The exact box of a face that is a whole torus (every edge a seam or a pole), added to box;
// false for any other face. Found numerically, such a box costs milliseconds; in closed form
// the ring's circle reaches R * sqrt(1 - a_i^2) from the centre along world axis i (a the
// torus axis) and the tube adds r.
bool AddWholeTorus(const TopoDS_Face& face, Bnd_Box& box) {
  TopLoc_Location location;
  const Handle(Geom_Surface) surface = BRep_Tool::Surface(face, location);
  Handle(Geom_ToroidalSurface) torus = Handle(Geom_ToroidalSurface)::DownCast(surface);
  if (torus.IsNull()) return false;
  for (TopExp_Explorer e(face, TopAbs_EDGE); e.More(); e.Next()) {
    const TopoDS_Edge& edge = TopoDS::Edge(e.Current());
    if (!BRep_Tool::IsClosed(edge, face) && !BRep_Tool::Degenerated(edge)) return false;
  }
  if (!location.IsIdentity())
    torus = Handle(Geom_ToroidalSurface)::DownCast(torus->Transformed(location.Transformation()));
  if (torus.IsNull()) return false;
  const gp_Pnt centre = torus->Location();
  const gp_Dir axis = torus->Axis().Direction();
  const double major = torus->MajorRadius(), minor = torus->MinorRadius();
  const double reach[3] = {major * std::sqrt(std::max(0.0, 1.0 - axis.X() * axis.X())) + minor,
                           major * std::sqrt(std::max(0.0, 1.0 - axis.Y() * axis.Y())) + minor,
                           major * std::sqrt(std::max(0.0, 1.0 - axis.Z() * axis.Z())) + minor};
  box.Update(centre.X() - reach[0], centre.Y() - reach[1], centre.Z() - reach[2], centre.X() + reach[0],
             centre.Y() + reach[1], centre.Z() + reach[2]);
  return true;
}

// The transform leaves out the curves of edges in the parameter space of planar faces, which
// OCCT then projects afresh on every request (the mesher asks several times per edge). Stored
// once, they are the same curves, so the shape and its meshes stay as they were.
void StorePlanePCurves(const TopoDS_Shape& shape) {
  for (TopExp_Explorer f(shape, TopAbs_FACE); f.More(); f.Next()) {
    const TopoDS_Face& face = TopoDS::Face(f.Current());
    TopLoc_Location location;
    if (Handle(Geom_Plane)::DownCast(BRep_Tool::Surface(face, location)).IsNull()) continue;
    for (TopExp_Explorer e(face, TopAbs_EDGE); e.More(); e.Next())
      BRepLib::BuildPCurveForEdgeOnPlane(TopoDS::Edge(e.Current()), face);
  }
}

}  // namespace

std::wstring FailureText(const Standard_Failure& failure) {
  std::string text = "Modeller failure";
  if (const char* type = failure.DynamicType()->Name()) text += std::string(" (") + type + ")";
  const char* message = failure.GetMessageString();
  if (message && *message) text += std::string(": ") + message;
  return plx::WideFromUtf8(text + ".");
}

ShapeResult Failure(Acad::ErrorStatus status, std::wstring reason) {
  ShapeResult result;
  result.status = status;
  result.reason = std::move(reason);
  return result;
}

Shape ShapeAccess::Make(const TopoDS_Shape& shape, ShapeKind kind) {
  auto impl = std::make_unique<Shape::Impl>();
  impl->shape = shape;
  impl->kind = shape.IsNull() ? ShapeKind::kNull : kind;
  return Shape(std::move(impl));
}

const TopoDS_Shape& ShapeAccess::Get(const Shape& shape) {
  static const TopoDS_Shape kNullShape;
  return shape.impl_ ? shape.impl_->shape : kNullShape;
}

void ShapeAccess::Set(Shape& shape, const TopoDS_Shape& value) {
  shape.impl_->shape = value;
  shape.impl_->extents.reset();
}

Shape::Shape() = default;
Shape::Shape(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Shape::~Shape() = default;
Shape::Shape(Shape&& other) noexcept = default;
Shape& Shape::operator=(Shape&& other) noexcept = default;

TopoDS_Shape Shape::Impl::PrivateShape() const { return Shared() ? DeepCopy(shape) : shape; }

Shape::Shape(const Shape& other) {
  if (other.IsNull()) return;
  // A deep copy of OCCT's data costs as much as meshing a box; sharing it is safe because
  // nothing changes it in place but through PrivateShape.
  impl_ = std::make_unique<Impl>(*other.impl_);
}

Shape& Shape::operator=(const Shape& other) {
  if (this != &other) *this = Shape(other);
  return *this;
}

bool Shape::IsNull() const { return !impl_ || impl_->shape.IsNull(); }

ShapeKind Shape::Kind() const { return IsNull() ? ShapeKind::kNull : impl_->kind; }

Acad::ErrorStatus Shape::Extents(Point3& min, Point3& max) const {
  if (IsNull()) return Acad::eNullExtents;
  if (!impl_->extents) {
    Impl::Box found;
    const Acad::ErrorStatus status = Guarded([&] {
      Bnd_Box box;
      // Face by face, as AddOptimal itself goes; whole tori in closed form. Without
      // triangulation and shape tolerances: the exact box, not one grown by a mesh.
      TopExp_Explorer faces(impl_->shape, TopAbs_FACE);
      bool anyTorus = false;
      for (TopExp_Explorer e(impl_->shape, TopAbs_FACE); e.More() && !anyTorus; e.Next())
        anyTorus = !Handle(Geom_ToroidalSurface)::DownCast(BRep_Tool::Surface(TopoDS::Face(e.Current()))).IsNull();
      if (!anyTorus) {
        BRepBndLib::AddOptimal(impl_->shape, box, false, false);
      } else {
        for (; faces.More(); faces.Next()) {
          const TopoDS_Face& face = TopoDS::Face(faces.Current());
          if (!AddWholeTorus(face, box)) BRepBndLib::AddOptimal(face, box, false, false);
        }
        // Edges and vertices outside any face (a wire body) count as well.
        for (TopExp_Explorer e(impl_->shape, TopAbs_EDGE, TopAbs_FACE); e.More(); e.Next())
          BRepBndLib::AddOptimal(e.Current(), box, false, false);
      }
      if (box.IsVoid()) return Acad::eNullExtents;
      box.Get(found.min.x, found.min.y, found.min.z, found.max.x, found.max.y, found.max.z);
      return Acad::eOk;
    });
    if (status != Acad::eOk) return status;
    impl_->extents = found;
  }
  min = impl_->extents->min;
  max = impl_->extents->max;
  return Acad::eOk;
}

Acad::ErrorStatus Shape::Transform(const double (&m)[4][4]) {
  for (const auto& row : m)
    for (double v : row)
      if (!std::isfinite(v)) return Acad::eInvalidInput;
  if (m[3][0] != 0.0 || m[3][1] != 0.0 || m[3][2] != 0.0 || m[3][3] != 1.0) return Acad::eInvalidInput;
  double scale = 0;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) scale = std::max(scale, std::abs(m[i][j]));
  if (scale == 0.0 || std::abs(Determinant(m)) <= 1e-12 * scale * scale * scale) return Acad::eInvalidInput;
  if (IsNull()) return Acad::eOk;
  return Guarded([&] {
    TopoDS_Shape moved;
    if (IsConformal(m)) {
      gp_Trsf trsf;
      trsf.SetValues(m[0][0], m[0][1], m[0][2], m[0][3], m[1][0], m[1][1], m[1][2], m[1][3], m[2][0], m[2][1],
                     m[2][2], m[2][3]);
      if (!trsf.IsNegative() && std::abs(trsf.ScaleFactor() - 1.0) <= TopLoc_Location::ScalePrec()) {
        // A rigid motion is a location on the same data, as OCCT moves shapes itself: nothing
        // is copied, and the data stays shared with the shapes it was shared with. The motions
        // are composed into one location, which would otherwise grow by a link per move.
        moved = impl_->shape.Located(TopLoc_Location(trsf * impl_->shape.Location().Transformation()));
      } else {
        moved = MovedCopy(impl_->shape, trsf);
        if (moved.IsNull()) {
          BRepBuilderAPI_Transform transform(impl_->shape, trsf, /*copy=*/true);
          if (!transform.IsDone()) return Acad::eGeneralModelingFailure;
          moved = transform.Shape();
        }
        StorePlanePCurves(moved);
      }
    } else {
      gp_GTrsf gtrsf;
      gtrsf.SetVectorialPart(gp_Mat(m[0][0], m[0][1], m[0][2], m[1][0], m[1][1], m[1][2], m[2][0], m[2][1], m[2][2]));
      gtrsf.SetTranslationPart(gp_XYZ(m[0][3], m[1][3], m[2][3]));
      BRepBuilderAPI_GTransform transform(impl_->shape, gtrsf, /*copy=*/true);
      if (!transform.IsDone()) return Acad::eGeneralModelingFailure;
      moved = transform.Shape();
    }
    impl_->shape = moved;
    // A pure translation moves the box with the shape; anything else needs it found afresh.
    const bool translation = m[0][0] == 1.0 && m[0][1] == 0.0 && m[0][2] == 0.0 && m[1][0] == 0.0 &&
                             m[1][1] == 1.0 && m[1][2] == 0.0 && m[2][0] == 0.0 && m[2][1] == 0.0 &&
                             m[2][2] == 1.0;
    if (translation && impl_->extents) {
      for (Point3* p : {&impl_->extents->min, &impl_->extents->max}) {
        p->x += m[0][3];
        p->y += m[1][3];
        p->z += m[2][3];
      }
    } else {
      impl_->extents.reset();
    }
    return Acad::eOk;
  });
}

double Shape::Volume() const {
  if (Kind() != ShapeKind::kSolid) return 0.0;
  double volume = 0.0;
  Guarded([&] {
    GProp_GProps props;
    BRepGProp::VolumeProperties(impl_->shape, props, kVolumePrecision);
    volume = props.Mass();
    return Acad::eOk;
  });
  return volume;
}

double Shape::Area() const {
  if (IsNull()) return 0.0;
  double area = 0.0;
  Guarded([&] {
    GProp_GProps props;
    BRepGProp::SurfaceProperties(impl_->shape, props);
    area = props.Mass();
    return Acad::eOk;
  });
  return area;
}

}  // namespace plx::modeller
