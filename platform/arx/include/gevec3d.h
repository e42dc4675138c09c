// A vector in three dimensions, as the host's geometry library spells it.
#pragma once

#include <cmath>

#include "getol.h"

class AcGeMatrix3d;

class AcGeVector3d {
 public:
  AcGeVector3d() = default;
  AcGeVector3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}

  static const AcGeVector3d kIdentity;  // the zero vector, as on the platform
  static const AcGeVector3d kXAxis;
  static const AcGeVector3d kYAxis;
  static const AcGeVector3d kZAxis;

  AcGeVector3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
  AcGeVector3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
  AcGeVector3d operator-() const { return {-x, -y, -z}; }
  AcGeVector3d operator*(double s) const { return {x * s, y * s, z * s}; }
  AcGeVector3d operator/(double s) const { return {x / s, y / s, z / s}; }
  AcGeVector3d& operator+=(const AcGeVector3d& v) { x += v.x; y += v.y; z += v.z; return *this; }
  AcGeVector3d& operator-=(const AcGeVector3d& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
  AcGeVector3d& operator*=(double s) { x *= s; y *= s; z *= s; return *this; }
  AcGeVector3d& operator/=(double s) { x /= s; y /= s; z /= s; return *this; }
  // Equality within the global tolerance, as on the platform.
  bool operator==(const AcGeVector3d& v) const { return isEqualTo(v); }
  bool operator!=(const AcGeVector3d& v) const { return !isEqualTo(v); }
  double operator[](unsigned i) const { return i == 0 ? x : i == 1 ? y : z; }
  double& operator[](unsigned i) { return i == 0 ? x : i == 1 ? y : z; }

  AcGeVector3d& set(double xx, double yy, double zz) { x = xx; y = yy; z = zz; return *this; }
  double length() const { return std::sqrt(x * x + y * y + z * z); }
  double lengthSqrd() const { return x * x + y * y + z * z; }
  double dotProduct(const AcGeVector3d& v) const { return x * v.x + y * v.y + z * v.z; }
  AcGeVector3d crossProduct(const AcGeVector3d& v) const {
    return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
  }
  // The unit vector along this one; a vector of zero length (within tol) stays as it is.
  AcGeVector3d normal(const AcGeTol& tol = AcGeContext::gTol) const {
    const double len = length();
    return len <= tol.equalVector() ? *this : *this / len;
  }
  AcGeVector3d& normalize(const AcGeTol& tol = AcGeContext::gTol) { return *this = normal(tol); }
  // The angle to v in radians, 0 to pi.
  double angleTo(const AcGeVector3d& v) const {
    return std::atan2(crossProduct(v).length(), dotProduct(v));
  }
  // The angle to v counter-clockwise about reference, 0 to 2 pi.
  double angleTo(const AcGeVector3d& v, const AcGeVector3d& reference) const {
    const double angle = angleTo(v);
    return crossProduct(v).dotProduct(reference) < 0 ? 2 * 3.14159265358979323846 - angle : angle;
  }
  bool isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const { return length() <= tol.equalVector(); }
  bool isUnitLength(const AcGeTol& tol = AcGeContext::gTol) const {
    return std::abs(length() - 1.0) <= tol.equalVector();
  }
  bool isEqualTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const {
    return (*this - v).length() <= tol.equalVector();
  }
  bool isParallelTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const {
    return normal(tol).crossProduct(v.normal(tol)).length() <= tol.equalVector();
  }
  bool isCodirectionalTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const {
    return normal(tol).isEqualTo(v.normal(tol), tol);
  }
  bool isPerpendicularTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const {
    return std::abs(normal(tol).dotProduct(v.normal(tol))) <= tol.equalVector();
  }
  // Some vector at a right angle to this one (the arbitrary-axis choice of the host).
  AcGeVector3d perpVector() const {
    const AcGeVector3d n = normal();
    const AcGeVector3d axis = (std::abs(n.x) < 1.0 / 64 && std::abs(n.y) < 1.0 / 64) ? kYAxis : kZAxis;
    return axis.crossProduct(n).normal();
  }
  // Applies the linear part of m (translation does not move a vector).
  AcGeVector3d& transformBy(const AcGeMatrix3d& m);

  double x = 0, y = 0, z = 0;
};

inline const AcGeVector3d AcGeVector3d::kIdentity{0, 0, 0};
inline const AcGeVector3d AcGeVector3d::kXAxis{1, 0, 0};
inline const AcGeVector3d AcGeVector3d::kYAxis{0, 1, 0};
inline const AcGeVector3d AcGeVector3d::kZAxis{0, 0, 1};

inline AcGeVector3d operator*(double s, const AcGeVector3d& v) { return v * s; }
