// A 4x4 transformation of the host's geometry library: entry[row][column], points as columns,
// the translation in the last column, the last row (0, 0, 0, 1) for an affine map.
#pragma once

#include "gepnt3d.h"
#include "gevec3d.h"

class AcGeMatrix3d {
 public:
  AcGeMatrix3d();  // identity

  static const AcGeMatrix3d kIdentity;

  AcGeMatrix3d& setToIdentity();
  AcGeMatrix3d& setToTranslation(const AcGeVector3d& v);
  // A rotation by angle (radians, counter-clockwise about axis) around center.
  AcGeMatrix3d& setToRotation(double angle, const AcGeVector3d& axis,
                              const AcGePoint3d& center = AcGePoint3d::kOrigin);
  AcGeMatrix3d& setToScaling(double scale, const AcGePoint3d& center = AcGePoint3d::kOrigin);
  static AcGeMatrix3d translation(const AcGeVector3d& v);
  static AcGeMatrix3d rotation(double angle, const AcGeVector3d& axis,
                               const AcGePoint3d& center = AcGePoint3d::kOrigin);
  static AcGeMatrix3d scaling(double scale, const AcGePoint3d& center = AcGePoint3d::kOrigin);

  AcGeVector3d translation() const { return {entry[0][3], entry[1][3], entry[2][3]}; }
  AcGeMatrix3d operator*(const AcGeMatrix3d& m) const;
  AcGeMatrix3d& operator*=(const AcGeMatrix3d& m) { return *this = *this * m; }
  AcGeMatrix3d& preMultBy(const AcGeMatrix3d& left) { return *this = left * *this; }
  AcGeMatrix3d& postMultBy(const AcGeMatrix3d& right) { return *this = *this * right; }
  AcGePoint3d operator*(const AcGePoint3d& p) const;
  AcGeVector3d operator*(const AcGeVector3d& v) const;
  double operator()(unsigned row, unsigned column) const { return entry[row][column]; }
  double& operator()(unsigned row, unsigned column) { return entry[row][column]; }
  bool operator==(const AcGeMatrix3d& m) const { return isEqualTo(m); }
  bool operator!=(const AcGeMatrix3d& m) const { return !isEqualTo(m); }

  bool isEqualTo(const AcGeMatrix3d& m, const AcGeTol& tol = AcGeContext::gTol) const;
  double det() const;
  // The inverse; a singular matrix gives the identity, as the platform's does not promise more.
  AcGeMatrix3d inverse() const;
  AcGeMatrix3d& invert() { return *this = inverse(); }
  AcGeMatrix3d& transposeIt();
  bool isSingular(const AcGeTol& tol = AcGeContext::gTol) const;
  // Columns orthogonal and of one length: a rotation or mirror with a uniform scale.
  bool isUniScaledOrtho(const AcGeTol& tol = AcGeContext::gTol) const;
  // The largest scale of the linear part along any axis column.
  double scale() const;
  // Columns orthogonal to each other, of any lengths (no shear).
  bool isScaledOrtho(const AcGeTol& tol = AcGeContext::gTol) const;

  // The map that takes the world axes to the given axes at origin (columns x, y, z, origin).
  AcGeMatrix3d& setCoordSystem(const AcGePoint3d& origin, const AcGeVector3d& xAxis, const AcGeVector3d& yAxis,
                               const AcGeVector3d& zAxis);
  void getCoordSystem(AcGePoint3d& origin, AcGeVector3d& xAxis, AcGeVector3d& yAxis, AcGeVector3d& zAxis) const;
  // The map that takes the "from" system onto the "to" system (axes need not be unit).
  AcGeMatrix3d& setToAlignCoordSys(const AcGePoint3d& fromOrigin, const AcGeVector3d& fromXAxis,
                                   const AcGeVector3d& fromYAxis, const AcGeVector3d& fromZAxis,
                                   const AcGePoint3d& toOrigin, const AcGeVector3d& toXAxis,
                                   const AcGeVector3d& toYAxis, const AcGeVector3d& toZAxis);
  static AcGeMatrix3d alignCoordSys(const AcGePoint3d& fromOrigin, const AcGeVector3d& fromXAxis,
                                    const AcGeVector3d& fromYAxis, const AcGeVector3d& fromZAxis,
                                    const AcGePoint3d& toOrigin, const AcGeVector3d& toXAxis,
                                    const AcGeVector3d& toYAxis, const AcGeVector3d& toZAxis);
  // Object coordinates of a plane with this normal to world coordinates: the object X axis by
  // the host's arbitrary-axis rule, Y = normal x X, the origin fixed. A zero normal is taken as Z.
  AcGeMatrix3d& setToPlaneToWorld(const AcGeVector3d& normal);
  AcGeMatrix3d& setToWorldToPlane(const AcGeVector3d& normal);
  static AcGeMatrix3d planeToWorld(const AcGeVector3d& normal);
  static AcGeMatrix3d worldToPlane(const AcGeVector3d& normal);
  // A mirror in the plane through point with this normal.
  AcGeMatrix3d& setToMirroring(const AcGePoint3d& point, const AcGeVector3d& normal);
  static AcGeMatrix3d mirroring(const AcGePoint3d& point, const AcGeVector3d& normal);

  double entry[4][4];
};

inline AcGeVector3d& AcGeVector3d::transformBy(const AcGeMatrix3d& m) { return *this = m * *this; }
inline AcGePoint3d& AcGePoint3d::transformBy(const AcGeMatrix3d& m) { return *this = m * *this; }
