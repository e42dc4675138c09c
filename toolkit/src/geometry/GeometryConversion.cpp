// Conversions at the boundary between the host's geometry and openNURBS.
#include "toolkit/GeometryConversion.h"

AcGePoint3d ONPointToAcGePoint(const ON_3dPoint& point) {
  return AcGePoint3d(point.x, point.y, point.z);
}

AcGeVector3d ONVectorToAcGeVector(const ON_3dVector& vector) {
  return AcGeVector3d(vector.x, vector.y, vector.z);
}

AcGeMatrix3d XformToAcGeMatrix(const ON_Xform& xform) {
  AcGeMatrix3d matrix;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) matrix.entry[i][j] = xform.m_xform[i][j];
  return matrix;
}

AcCmColor AttributesColorToAcCmColor(const ON_3dmObjectAttributes& attributes) {
  AcCmColor color;
  switch (attributes.ColorSource()) {
    case ON::color_from_layer:
    case ON::color_from_material:  // the material's colour is not carried over
      color.setColorMethod(AcCmEntityColor::kByLayer);
      break;
    case ON::color_from_object: {
      const ON_Color& rgb = attributes.m_color;
      color.setColorMethod(AcCmEntityColor::kByColor);
      color.setRGB(static_cast<Adesk::UInt8>(rgb.Red()), static_cast<Adesk::UInt8>(rgb.Green()),
                   static_cast<Adesk::UInt8>(rgb.Blue()));
      break;
    }
    default:  // a parent's colour is left as the default, not made ByBlock
      break;
  }
  return color;
}

ON_3dPoint AcGePointToONPoint(const AcGePoint3d& point) {
  return ON_3dPoint(point.x, point.y, point.z);
}

ON_3dVector AcGeVectorToONVector(const AcGeVector3d& vector) {
  return ON_3dVector(vector.x, vector.y, vector.z);
}

ON_Xform AcGeMatrixToXform(const AcGeMatrix3d& matrix) {
  ON_Xform xform;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) xform.m_xform[i][j] = matrix.entry[i][j];
  return xform;
}
