// A point and a vector in two dimensions.
#pragma once

#include <cmath>

#include "getol.h"

class AcGeVector2d {
 public:
  AcGeVector2d() = default;
  AcGeVector2d(double xx, double yy) : x(xx), y(yy) {}
  static const AcGeVector2d kXAxis;
  static const AcGeVector2d kYAxis;
  AcGeVector2d operator+(const AcGeVector2d& v) const { return {x + v.x, y + v.y}; }
  AcGeVector2d operator-(const AcGeVector2d& v) const { return {x - v.x, y - v.y}; }
  AcGeVector2d operator*(double s) const { return {x * s, y * s}; }
  double length() const { return std::hypot(x, y); }
  double dotProduct(const AcGeVector2d& v) const { return x * v.x + y * v.y; }
  // Angle from the X axis, 0 to 2 pi.
  double angle() const {
    const double a = std::atan2(y, x);
    return a < 0 ? a + 2 * 3.14159265358979323846 : a;
  }
  AcGeVector2d normal(const AcGeTol& tol = AcGeContext::gTol) const {
    const double len = length();
    return len <= tol.equalVector() ? *this : AcGeVector2d(x / len, y / len);
  }
  bool isEqualTo(const AcGeVector2d& v, const AcGeTol& tol = AcGeContext::gTol) const {
    return (*this - v).length() <= tol.equalVector();
  }
  double x = 0, y = 0;
};

class AcGePoint2d {
 public:
  AcGePoint2d() = default;
  AcGePoint2d(double xx, double yy) : x(xx), y(yy) {}
  static const AcGePoint2d kOrigin;
  AcGePoint2d operator+(const AcGeVector2d& v) const { return {x + v.x, y + v.y}; }
  AcGePoint2d operator-(const AcGeVector2d& v) const { return {x - v.x, y - v.y}; }
  AcGeVector2d operator-(const AcGePoint2d& p) const { return {x - p.x, y - p.y}; }
  bool operator==(const AcGePoint2d& p) const { return isEqualTo(p); }
  bool operator!=(const AcGePoint2d& p) const { return !isEqualTo(p); }
  double distanceTo(const AcGePoint2d& p) const { return (*this - p).length(); }
  bool isEqualTo(const AcGePoint2d& p, const AcGeTol& tol = AcGeContext::gTol) const {
    return distanceTo(p) <= tol.equalPoint();
  }
  double x = 0, y = 0;
};

inline const AcGeVector2d AcGeVector2d::kXAxis{1, 0};
inline const AcGeVector2d AcGeVector2d::kYAxis{0, 1};
inline const AcGePoint2d AcGePoint2d::kOrigin{0, 0};
