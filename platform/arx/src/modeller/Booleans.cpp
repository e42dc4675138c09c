// Booleans (BRepAlgoAPI, then coplanar faces merged again as the host's modeller leaves them)
// and explode: a solid or body into its faces, a region or a body of one face into the curves
// of its edges (seams and degenerate edges left out).
#include <BRepAdaptor_Curve.hxx>
#include <BRepAdaptor_Surface.hxx>
#include <BRepAlgoAPI_Common.hxx>
#include <BRepAlgoAPI_Cut.hxx>
#include <BRepAlgoAPI_Fuse.hxx>
#include <BRepBuilderAPI_Copy.hxx>
#include <BRep_Tool.hxx>
#include <ShapeUpgrade_UnifySameDomain.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <cmath>
#include <gp_Circ.hxx>
#include <gp_Elips.hxx>
#include <memory>

#include "ShapeImpl.h"

namespace plx::modeller {

namespace {

int Count(const TopoDS_Shape& shape, TopAbs_ShapeEnum type) {
  int n = 0;
  for (TopExp_Explorer e(shape, type); e.More(); e.Next()) ++n;
  return n;
}

Point3 ToPoint(const gp_XYZ& p) { return {p.X(), p.Y(), p.Z()}; }

// The single solid of a result without its compound around it; the compound otherwise.
TopoDS_Shape Unwrap(const TopoDS_Shape& shape, TopAbs_ShapeEnum type) {
  TopExp_Explorer e(shape, type);
  if (!e.More()) return shape;
  TopoDS_Shape first = e.Current();
  e.Next();
  return e.More() ? shape : first;
}

constexpr double kTwoPi = 6.283185307179586;

// Angles of an arc or ellipse from the edge's parameters, which are angles from the conic's X
// axis about its normal. A reversed edge runs about the turned-over normal, where parameter t
// lies at angle -t.
void SetAngles(Curve& curve, double first, double last, bool reversed) {
  double start = std::fmod(reversed ? -last : first, kTwoPi);
  if (start < 0) start += kTwoPi;
  curve.startAngle = start;
  curve.endAngle = start + (last - first);
}

Curve EdgeToCurve(const TopoDS_Edge& edge) {
  Curve curve;
  BRepAdaptor_Curve adaptor(edge);
  const bool reversed = edge.Orientation() == TopAbs_REVERSED;
  const double first = adaptor.FirstParameter(), last = adaptor.LastParameter();
  curve.start = ToPoint(adaptor.Value(reversed ? last : first).XYZ());
  curve.end = ToPoint(adaptor.Value(reversed ? first : last).XYZ());
  const bool closed = std::abs(last - first - kTwoPi) < 1e-9;
  switch (adaptor.GetType()) {
    case GeomAbs_Line:
      curve.type = Curve::Type::kLine;
      break;
    case GeomAbs_Circle: {
      const gp_Circ c = adaptor.Circle();
      gp_Dir normal = c.Axis().Direction();
      gp_Dir ref = c.XAxis().Direction();
      curve.type = closed ? Curve::Type::kCircle : Curve::Type::kArc;
      curve.center = ToPoint(c.Location().XYZ());
      curve.radius = c.Radius();
      if (reversed) normal.Reverse();
      curve.normal = ToPoint(normal.XYZ());
      curve.refAxis = ToPoint(ref.XYZ());
      if (!closed) SetAngles(curve, first, last, reversed);
      break;
    }
    case GeomAbs_Ellipse: {
      const gp_Elips e = adaptor.Ellipse();
      gp_Dir normal = e.Axis().Direction();
      if (reversed) normal.Reverse();
      curve.type = Curve::Type::kEllipse;
      curve.center = ToPoint(e.Location().XYZ());
      curve.normal = ToPoint(normal.XYZ());
      curve.majorAxis = ToPoint(e.XAxis().Direction().XYZ() * e.MajorRadius());
      curve.refAxis = ToPoint(e.XAxis().Direction().XYZ());
      curve.radiusRatio = e.MinorRadius() / e.MajorRadius();
      if (closed) {
        curve.startAngle = 0;
        curve.endAngle = kTwoPi;
      } else {
        SetAngles(curve, first, last, reversed);
      }
      break;
    }
    default: {
      curve.type = Curve::Type::kSpline;
      constexpr int kSamples = 32;
      for (int i = 0; i <= kSamples; ++i) {
        const double t = first + (last - first) * i / kSamples;
        curve.points.push_back(ToPoint(adaptor.Value(reversed ? first + last - t : t).XYZ()));
      }
      break;
    }
  }
  return curve;
}

}  // namespace

ShapeResult Shape::Boolean(BoolOp op, const Shape& other) const {
  if (IsNull() || other.IsNull()) return Failure(Acad::eInvalidInput, L"A Boolean needs two shapes.");
  if (Kind() != other.Kind()) return Failure(Acad::eInvalidInput, L"A Boolean needs two shapes of one kind.");
  const ShapeKind kind = Kind();
  const TopAbs_ShapeEnum content = kind == ShapeKind::kSolid ? TopAbs_SOLID : TopAbs_FACE;
  ShapeResult result;
  TopoDS_Shape shape;
  result.status = Guarded(
      [&] {
        // The algorithm raises tolerances on its arguments in place: shapes sharing their
        // data with copies must not pass that on to them.
        const TopoDS_Shape a = impl_->PrivateShape();
        const TopoDS_Shape b = &other == this ? a : other.impl_->PrivateShape();
        std::unique_ptr<BRepAlgoAPI_BooleanOperation> algo;
        switch (op) {
          case BoolOp::kUnite: algo = std::make_unique<BRepAlgoAPI_Fuse>(a, b); break;
          case BoolOp::kIntersect: algo = std::make_unique<BRepAlgoAPI_Common>(a, b); break;
          case BoolOp::kSubtract: algo = std::make_unique<BRepAlgoAPI_Cut>(a, b); break;
          default: return Acad::eInvalidInput;
        }
        if (!algo->IsDone() || algo->HasErrors()) return Acad::eGeneralModelingFailure;
        shape = algo->Shape();
        if (Count(shape, content) == 0) {
          shape.Nullify();
          return Acad::eOk;
        }
        ShapeUpgrade_UnifySameDomain unify(shape, /*UnifyEdges=*/true, /*UnifyFaces=*/true, /*ConcatBSplines=*/false);
        unify.Build();
        shape = Unwrap(unify.Shape(), content);
        return Acad::eOk;
      },
      &result.reason);
  if (!result.Ok()) {
    if (result.reason.empty()) result.reason = L"The modeller could not combine the shapes.";
    return result;
  }
  result.shape = ShapeAccess::Make(shape, kind);
  return result;
}

Acad::ErrorStatus Shape::Explode(std::vector<Shape>& pieces) const {
  if (Kind() != ShapeKind::kSolid && Kind() != ShapeKind::kBody) return Acad::eInvalidInput;
  std::vector<Shape> faces;
  const Acad::ErrorStatus status = Guarded([&] {
    for (TopExp_Explorer e(impl_->shape, TopAbs_FACE); e.More(); e.Next()) {
      const TopoDS_Face& face = TopoDS::Face(e.Current());
      const bool planar = BRepAdaptor_Surface(face, false).GetType() == GeomAbs_Plane;
      BRepBuilderAPI_Copy copy(face, true, false);
      faces.push_back(ShapeAccess::Make(copy.Shape(), planar ? ShapeKind::kRegion : ShapeKind::kBody));
    }
    return Acad::eOk;
  });
  if (status == Acad::eOk) pieces = std::move(faces);
  return status;
}

Acad::ErrorStatus Shape::ExplodeToCurves(std::vector<Curve>& curves) const {
  if (Kind() != ShapeKind::kRegion && Kind() != ShapeKind::kBody) return Acad::eInvalidInput;
  std::vector<Curve> found;
  const Acad::ErrorStatus status = Guarded([&] {
    if (Kind() == ShapeKind::kBody && Count(impl_->shape, TopAbs_FACE) != 1)
      return Acad::eInvalidInput;
    // Each edge once: a seam is met twice (once each way) and bounds the face on both sides.
    TopTools_IndexedMapOfShape seen;
    for (TopExp_Explorer f(impl_->shape, TopAbs_FACE); f.More(); f.Next()) {
      const TopoDS_Face& face = TopoDS::Face(f.Current());
      for (TopExp_Explorer e(face, TopAbs_EDGE); e.More(); e.Next()) {
        const TopoDS_Edge& edge = TopoDS::Edge(e.Current());
        if (BRep_Tool::Degenerated(edge) || BRep_Tool::IsClosed(edge, face)) continue;
        if (seen.Contains(edge)) continue;
        seen.Add(edge);
        found.push_back(EdgeToCurve(edge));
      }
    }
    return Acad::eOk;
  });
  if (status == Acad::eOk) curves = std::move(found);
  return status;
}

}  // namespace plx::modeller
