// Scale factors along the three axes, as block references carry them.
#pragma once

#include <cmath>

#include "getol.h"

class AcGeScale3d {
 public:
  AcGeScale3d() = default;  // 1, 1, 1
  explicit AcGeScale3d(double factor) : sx(factor), sy(factor), sz(factor) {}
  AcGeScale3d(double xFactor, double yFactor, double zFactor)
      : sx(xFactor), sy(yFactor), sz(zFactor) {}
  static const AcGeScale3d kIdentity;

  AcGeScale3d operator*(const AcGeScale3d& s) const { return {sx * s.sx, sy * s.sy, sz * s.sz}; }
  AcGeScale3d operator*(double s) const { return {sx * s, sy * s, sz * s}; }
  double operator[](unsigned i) const { return i == 0 ? sx : i == 1 ? sy : sz; }
  double& operator[](unsigned i) { return i == 0 ? sx : i == 1 ? sy : sz; }
  bool operator==(const AcGeScale3d& s) const { return isEqualTo(s); }
  bool operator!=(const AcGeScale3d& s) const { return !isEqualTo(s); }
  AcGeScale3d& set(double xFactor, double yFactor, double zFactor) {
    sx = xFactor;
    sy = yFactor;
    sz = zFactor;
    return *this;
  }
  bool isProportional(const AcGeTol& tol = AcGeContext::gTol) const {
    return std::abs(sx - sy) <= tol.equalVector() && std::abs(sy - sz) <= tol.equalVector();
  }
  bool isEqualTo(const AcGeScale3d& s, const AcGeTol& tol = AcGeContext::gTol) const {
    return std::abs(sx - s.sx) <= tol.equalVector() && std::abs(sy - s.sy) <= tol.equalVector() &&
           std::abs(sz - s.sz) <= tol.equalVector();
  }

  double sx = 1, sy = 1, sz = 1;
};

inline const AcGeScale3d AcGeScale3d::kIdentity{1, 1, 1};
