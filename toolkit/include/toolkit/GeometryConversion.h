// Values between the host's geometry (AcGePoint3d, AcGeVector3d, AcGeMatrix3d, AcCmColor) and
// openNURBS (ON_3dPoint, ON_3dVector, ON_Xform, ON_3dmObjectAttributes). Coordinates and
// matrix entries are copied unchanged: both sides keep 4 x 4 matrices row-major with the
// translation in column 3, so no entry is transposed. None of these can fail.
#pragma once

#include "arx.h"
#include "opennurbs.h"

AcGePoint3d ONPointToAcGePoint(const ON_3dPoint& point);
AcGeVector3d ONVectorToAcGeVector(const ON_3dVector& vector);
// entry[i][j] = m_xform[i][j] for all 16 entries, a projection's bottom row included.
AcGeMatrix3d XformToAcGeMatrix(const ON_Xform& xform);
// By the colour source: layer and material give ByLayer, object gives ByColor with the red,
// green and blue of m_color (alpha dropped); parent and anything else give the default colour.
AcCmColor AttributesColorToAcCmColor(const ON_3dmObjectAttributes& attributes);
ON_3dPoint AcGePointToONPoint(const AcGePoint3d& point);
ON_3dVector AcGeVectorToONVector(const AcGeVector3d& vector);
ON_Xform AcGeMatrixToXform(const AcGeMatrix3d& matrix);
