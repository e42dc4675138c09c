// Volume, area and centroid by OCCT's global properties (Gauss integration over the faces).
#include <BRepGProp.hxx>
#include <GProp_GProps.hxx>

#include "ShapeImpl.h"

namespace plx::modeller {

Acad::ErrorStatus GetMassProperties(const Shape& shape, MassProperties& properties) {
  if (shape.IsNull()) return Acad::eInvalidInput;
  MassProperties result;
  const Acad::ErrorStatus status = Guarded([&] {
    const TopoDS_Shape& occt = ShapeAccess::Get(shape);
    GProp_GProps surface;
    BRepGProp::SurfaceProperties(occt, surface);
    result.area = surface.Mass();
    gp_Pnt centre = surface.CentreOfMass();
    if (shape.Kind() == ShapeKind::kSolid) {
      GProp_GProps volume;
      BRepGProp::VolumeProperties(occt, volume, kVolumePrecision);
      result.volume = volume.Mass();
      if (result.volume != 0) centre = volume.CentreOfMass();
    }
    result.centroid = {centre.X(), centre.Y(), centre.Z()};
    return Acad::eOk;
  });
  if (status == Acad::eOk) properties = result;
  return status;
}

}  // namespace plx::modeller
