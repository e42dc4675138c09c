// Coordinate systems of AcGeMatrix3d: frames given by axes, the alignment of one frame onto
// another, mirrors, and the host's object coordinate systems. An object lying in a plane keeps
// its coordinates in the plane's system, whose X axis the arbitrary-axis rule picks: world Y
// crossed with the normal when the normal is within 1/64 of the world Z axis in both X and Y,
// otherwise world Z crossed with the normal.
#include <cmath>

#include "gemat3d.h"

namespace {

AcGeVector3d Column(const AcGeMatrix3d& m, int j) {
  return {m.entry[0][j], m.entry[1][j], m.entry[2][j]};
}

}  // namespace

bool AcGeMatrix3d::isScaledOrtho(const AcGeTol& tol) const {
  const AcGeVector3d c[3] = {Column(*this, 0), Column(*this, 1), Column(*this, 2)};
  for (int i = 0; i < 3; ++i)
    for (int j = i + 1; j < 3; ++j) {
      const double scale = c[i].length() * c[j].length();
      if (scale <= 0 || std::abs(c[i].dotProduct(c[j])) > tol.equalVector() * scale * 1e3)
        return false;
    }
  return entry[3][0] == 0 && entry[3][1] == 0 && entry[3][2] == 0 && entry[3][3] == 1;
}

AcGeMatrix3d& AcGeMatrix3d::setCoordSystem(const AcGePoint3d& origin, const AcGeVector3d& xAxis,
                                           const AcGeVector3d& yAxis, const AcGeVector3d& zAxis) {
  setToIdentity();
  const AcGeVector3d axes[3] = {xAxis, yAxis, zAxis};
  for (int j = 0; j < 3; ++j)
    for (unsigned i = 0; i < 3; ++i) entry[i][j] = axes[j][i];
  for (unsigned i = 0; i < 3; ++i) entry[i][3] = origin[i];
  return *this;
}

void AcGeMatrix3d::getCoordSystem(AcGePoint3d& origin, AcGeVector3d& xAxis, AcGeVector3d& yAxis,
                                  AcGeVector3d& zAxis) const {
  xAxis = Column(*this, 0);
  yAxis = Column(*this, 1);
  zAxis = Column(*this, 2);
  origin.set(entry[0][3], entry[1][3], entry[2][3]);
}

AcGeMatrix3d& AcGeMatrix3d::setToAlignCoordSys(
    const AcGePoint3d& fromOrigin, const AcGeVector3d& fromXAxis, const AcGeVector3d& fromYAxis,
    const AcGeVector3d& fromZAxis, const AcGePoint3d& toOrigin, const AcGeVector3d& toXAxis,
    const AcGeVector3d& toYAxis, const AcGeVector3d& toZAxis) {
  const AcGeMatrix3d from =
      AcGeMatrix3d().setCoordSystem(fromOrigin, fromXAxis, fromYAxis, fromZAxis);
  const AcGeMatrix3d to = AcGeMatrix3d().setCoordSystem(toOrigin, toXAxis, toYAxis, toZAxis);
  return *this = to * from.inverse();
}

AcGeMatrix3d AcGeMatrix3d::alignCoordSys(const AcGePoint3d& fromOrigin,
                                         const AcGeVector3d& fromXAxis,
                                         const AcGeVector3d& fromYAxis,
                                         const AcGeVector3d& fromZAxis, const AcGePoint3d& toOrigin,
                                         const AcGeVector3d& toXAxis, const AcGeVector3d& toYAxis,
                                         const AcGeVector3d& toZAxis) {
  return AcGeMatrix3d().setToAlignCoordSys(fromOrigin, fromXAxis, fromYAxis, fromZAxis, toOrigin,
                                           toXAxis, toYAxis, toZAxis);
}

AcGeMatrix3d& AcGeMatrix3d::setToPlaneToWorld(const AcGeVector3d& normal) {
  const AcGeVector3d n = normal.isZeroLength() ? AcGeVector3d::kZAxis : normal.normal();
  // Both tests strict, as the rule is written: |x| = 1/64 already takes world Z.
  const AcGeVector3d world = (std::abs(n.x) < 1.0 / 64 && std::abs(n.y) < 1.0 / 64)
                                 ? AcGeVector3d::kYAxis
                                 : AcGeVector3d::kZAxis;
  const AcGeVector3d x = world.crossProduct(n).normal();
  return setCoordSystem(AcGePoint3d::kOrigin, x, n.crossProduct(x), n);
}

AcGeMatrix3d& AcGeMatrix3d::setToWorldToPlane(const AcGeVector3d& normal) {
  // The plane's frame is orthonormal: its inverse is its transpose.
  return setToPlaneToWorld(normal).transposeIt();
}

AcGeMatrix3d AcGeMatrix3d::planeToWorld(const AcGeVector3d& normal) {
  return AcGeMatrix3d().setToPlaneToWorld(normal);
}
AcGeMatrix3d AcGeMatrix3d::worldToPlane(const AcGeVector3d& normal) {
  return AcGeMatrix3d().setToWorldToPlane(normal);
}

AcGeMatrix3d& AcGeMatrix3d::setToMirroring(const AcGePoint3d& point, const AcGeVector3d& normal) {
  setToIdentity();
  const AcGeVector3d n = normal.normal();
  for (unsigned i = 0; i < 3; ++i)
    for (unsigned j = 0; j < 3; ++j) entry[i][j] -= 2 * n[i] * n[j];
  const double d = 2 * point.asVector().dotProduct(n);
  for (unsigned i = 0; i < 3; ++i) entry[i][3] = d * n[i];
  return *this;
}

AcGeMatrix3d AcGeMatrix3d::mirroring(const AcGePoint3d& point, const AcGeVector3d& normal) {
  return AcGeMatrix3d().setToMirroring(point, normal);
}
