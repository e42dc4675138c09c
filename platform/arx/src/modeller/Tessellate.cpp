// Tessellation at the host's FACETRES: BRepMesh with deflections relative to the shape's size,
// so that a shape's triangle count depends on FACETRES and not on its scale, except for shapes
// of flat polygons alone, whose triangles FACETRES cannot change and which are cut directly
// (FlatFaces.h). Triangles come out counter-clockwise seen from outside: a reversed face turns
// its triangles over.
#include <BRepMesh_IncrementalMesh.hxx>
#include <BRepTools.hxx>
#include <BRep_Tool.hxx>
#include <Poly_Triangulation.hxx>
#include <TopExp_Explorer.hxx>
#include <TopLoc_Location.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Face.hxx>

#include <algorithm>
#include <cmath>

#include "FlatFaces.h"
#include "ShapeImpl.h"

namespace plx::modeller {

namespace {

bool SameInFloat(const Point3& a, const Point3& b) {
  return static_cast<float>(a.x) == static_cast<float>(b.x) && static_cast<float>(a.y) == static_cast<float>(b.y) &&
         static_cast<float>(a.z) == static_cast<float>(b.z);
}

// Collapsed triangles (at poles, or across features below float precision) carry no area; once
// corners are single precision, as every consumer stores them, their neighbours meet without
// them.
bool Collapsed(const Triangle& t) {
  return SameInFloat(t.v[0], t.v[1]) || SameInFloat(t.v[1], t.v[2]) || SameInFloat(t.v[0], t.v[2]);
}

}  // namespace

MeshDensity DensityFor(double facetres, double diagonal) {
  MeshDensity density;
  const double ratio = 0.5 / facetres;
  // Steeper above the default so that the top of the range gives the host's fine meshes.
  density.linear = diagonal * 0.01 * std::pow(ratio, facetres < 0.5 ? 0.55 : 1.4);
  density.angular = std::clamp(0.5 * std::sqrt(ratio), 0.05, 1.0);
  return density;
}

Acad::ErrorStatus Shape::Tessellate(double facetres, std::vector<Triangle>& triangles) const {
  if (!std::isfinite(facetres) || facetres < 0.01 || facetres > 10.0) return Acad::eOutOfRange;
  if (IsNull()) return Acad::eInvalidInput;
  Point3 min, max;
  if (const Acad::ErrorStatus status = Extents(min, max); status != Acad::eOk) return status;
  const double diagonal = std::hypot(max.x - min.x, max.y - min.y, max.z - min.z);
  if (!(diagonal > 0)) return Acad::eDegenerateGeometry;
  const MeshDensity density = DensityFor(facetres, diagonal);
  std::vector<Triangle> out;
  const Acad::ErrorStatus status = Guarded([&] {
    // A moved shape is its data under a location: the data is meshed where it lies and the
    // triangles are moved, which costs less than meshing through the location and gives a shape
    // the same mesh wherever it is placed.
    const TopLoc_Location placement = impl_->shape.Location();
    const TopoDS_Shape shape = impl_->shape.Located(TopLoc_Location());
    if (TriangulateFlatFaces(shape, placement.Transformation(), out)) {
      std::erase_if(out, Collapsed);
      return Acad::eOk;
    }
    // The mesher keeps an existing finer mesh; a coarser FACETRES must start afresh.
    BRepTools::Clean(shape);
    BRepMesh_IncrementalMesh mesher(shape, density.linear, /*isRelative=*/false, density.angular,
                                    /*isInParallel=*/false);
    if (!mesher.IsDone()) return Acad::eGeneralModelingFailure;
    for (TopExp_Explorer e(shape, TopAbs_FACE); e.More(); e.Next()) {
      const TopoDS_Face& face = TopoDS::Face(e.Current());
      TopLoc_Location location;
      const Handle(Poly_Triangulation) mesh = BRep_Tool::Triangulation(face, location);
      if (mesh.IsNull()) return Acad::eGeneralModelingFailure;
      const gp_Trsf trsf = (placement * location).Transformation();
      const bool reversed = face.Orientation() == TopAbs_REVERSED;
      out.reserve(out.size() + mesh->NbTriangles());
      for (int i = 1; i <= mesh->NbTriangles(); ++i) {
        int n[3];
        mesh->Triangle(i).Get(n[0], n[1], n[2]);
        if (reversed) std::swap(n[1], n[2]);
        Triangle t;
        for (int k = 0; k < 3; ++k) {
          const gp_Pnt p = mesh->Node(n[k]).Transformed(trsf);
          t.v[k] = {p.X(), p.Y(), p.Z()};
        }
        if (Collapsed(t)) continue;
        out.push_back(t);
      }
    }
    return Acad::eOk;
  });
  if (status == Acad::eOk) triangles = std::move(out);
  return status;
}

}  // namespace plx::modeller
