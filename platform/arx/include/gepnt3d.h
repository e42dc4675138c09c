// A point in three dimensions, as the host's geometry library spells it.
#pragma once

#include "gevec3d.h"

class AcGePoint3d {
 public:
  AcGePoint3d() = default;
  AcGePoint3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}

  static const AcGePoint3d kOrigin;

  AcGePoint3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
  AcGePoint3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
  AcGeVector3d operator-(const AcGePoint3d& p) const { return {x - p.x, y - p.y, z - p.z}; }
  AcGePoint3d& operator+=(const AcGeVector3d& v) { x += v.x; y += v.y; z += v.z; return *this; }
  AcGePoint3d& operator-=(const AcGeVector3d& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
  AcGePoint3d operator*(double s) const { return {x * s, y * s, z * s}; }
  // Equality within the global tolerance, as on the platform.
  bool operator==(const AcGePoint3d& p) const { return isEqualTo(p); }
  bool operator!=(const AcGePoint3d& p) const { return !isEqualTo(p); }
  double operator[](unsigned i) const { return i == 0 ? x : i == 1 ? y : z; }
  double& operator[](unsigned i) { return i == 0 ? x : i == 1 ? y : z; }

  AcGePoint3d& set(double xx, double yy, double zz) { x = xx; y = yy; z = zz; return *this; }
  double distanceTo(const AcGePoint3d& p) const { return (*this - p).length(); }
  bool isEqualTo(const AcGePoint3d& p, const AcGeTol& tol = AcGeContext::gTol) const {
    return distanceTo(p) <= tol.equalPoint();
  }
  AcGeVector3d asVector() const { return {x, y, z}; }
  AcGePoint3d& transformBy(const AcGeMatrix3d& m);
  AcGePoint3d& scaleBy(double factor, const AcGePoint3d& wrt = kOrigin) {
    return *this = wrt + (*this - wrt) * factor;
  }

  double x = 0, y = 0, z = 0;
};

inline const AcGePoint3d AcGePoint3d::kOrigin{0, 0, 0};

inline AcGePoint3d operator*(double s, const AcGePoint3d& p) { return p * s; }
