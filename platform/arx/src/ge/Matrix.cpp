// AcGeMatrix3d: products, inverse (Gauss-Jordan with partial pivoting) and the global tolerance.
#include <cmath>
#include <utility>

#include "gemat3d.h"

AcGeTol AcGeContext::gTol;

const AcGeMatrix3d AcGeMatrix3d::kIdentity;

AcGeMatrix3d::AcGeMatrix3d() { setToIdentity(); }

AcGeMatrix3d& AcGeMatrix3d::setToIdentity() {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) entry[i][j] = i == j ? 1.0 : 0.0;
  return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToTranslation(const AcGeVector3d& v) {
  setToIdentity();
  entry[0][3] = v.x;
  entry[1][3] = v.y;
  entry[2][3] = v.z;
  return *this;
}

// Rodrigues' formula about the unit axis, then moved so that center stays fixed.
AcGeMatrix3d& AcGeMatrix3d::setToRotation(double angle, const AcGeVector3d& axis, const AcGePoint3d& center) {
  setToIdentity();
  const AcGeVector3d u = axis.normal();
  const double c = std::cos(angle), s = std::sin(angle), t = 1 - c;
  entry[0][0] = t * u.x * u.x + c;
  entry[0][1] = t * u.x * u.y - s * u.z;
  entry[0][2] = t * u.x * u.z + s * u.y;
  entry[1][0] = t * u.x * u.y + s * u.z;
  entry[1][1] = t * u.y * u.y + c;
  entry[1][2] = t * u.y * u.z - s * u.x;
  entry[2][0] = t * u.x * u.z - s * u.y;
  entry[2][1] = t * u.y * u.z + s * u.x;
  entry[2][2] = t * u.z * u.z + c;
  const AcGeVector3d moved = center.asVector() - (*this * center.asVector());
  entry[0][3] = moved.x;
  entry[1][3] = moved.y;
  entry[2][3] = moved.z;
  return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToScaling(double scale, const AcGePoint3d& center) {
  setToIdentity();
  for (int i = 0; i < 3; ++i) {
    entry[i][i] = scale;
    entry[i][3] = (1 - scale) * center[static_cast<unsigned>(i)];
  }
  return *this;
}

AcGeMatrix3d AcGeMatrix3d::translation(const AcGeVector3d& v) { return AcGeMatrix3d().setToTranslation(v); }
AcGeMatrix3d AcGeMatrix3d::rotation(double angle, const AcGeVector3d& axis, const AcGePoint3d& center) {
  return AcGeMatrix3d().setToRotation(angle, axis, center);
}
AcGeMatrix3d AcGeMatrix3d::scaling(double scale, const AcGePoint3d& center) {
  return AcGeMatrix3d().setToScaling(scale, center);
}

AcGeMatrix3d AcGeMatrix3d::operator*(const AcGeMatrix3d& m) const {
  AcGeMatrix3d r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      double sum = 0;
      for (int k = 0; k < 4; ++k) sum += entry[i][k] * m.entry[k][j];
      r.entry[i][j] = sum;
    }
  return r;
}

AcGePoint3d AcGeMatrix3d::operator*(const AcGePoint3d& p) const {
  double out[4];
  for (int i = 0; i < 4; ++i) out[i] = entry[i][0] * p.x + entry[i][1] * p.y + entry[i][2] * p.z + entry[i][3];
  // A projective last row divides through; an affine one leaves w at 1.
  if (out[3] != 1.0 && out[3] != 0.0) return {out[0] / out[3], out[1] / out[3], out[2] / out[3]};
  return {out[0], out[1], out[2]};
}

AcGeVector3d AcGeMatrix3d::operator*(const AcGeVector3d& v) const {
  return {entry[0][0] * v.x + entry[0][1] * v.y + entry[0][2] * v.z,
          entry[1][0] * v.x + entry[1][1] * v.y + entry[1][2] * v.z,
          entry[2][0] * v.x + entry[2][1] * v.y + entry[2][2] * v.z};
}

bool AcGeMatrix3d::isEqualTo(const AcGeMatrix3d& m, const AcGeTol& tol) const {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      if (std::abs(entry[i][j] - m.entry[i][j]) > tol.equalVector()) return false;
  return true;
}

double AcGeMatrix3d::det() const {
  // Expansion over the first row of 3x3 minors of the 4x4 matrix.
  auto minor3 = [this](int skipColumn) {
    double m[3][3];
    for (int i = 1; i < 4; ++i)
      for (int j = 0, c = 0; j < 4; ++j)
        if (j != skipColumn) m[i - 1][c++] = entry[i][j];
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
  };
  double d = 0;
  for (int j = 0; j < 4; ++j) d += (j % 2 ? -1.0 : 1.0) * entry[0][j] * minor3(j);
  return d;
}

bool AcGeMatrix3d::isSingular(const AcGeTol& tol) const { return std::abs(det()) <= tol.equalVector(); }

AcGeMatrix3d AcGeMatrix3d::inverse() const {
  double a[4][8];
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      a[i][j] = entry[i][j];
      a[i][j + 4] = i == j ? 1.0 : 0.0;
    }
  for (int col = 0; col < 4; ++col) {
    int pivot = col;
    for (int r = col + 1; r < 4; ++r)
      if (std::abs(a[r][col]) > std::abs(a[pivot][col])) pivot = r;
    if (std::abs(a[pivot][col]) < 1e-300) return AcGeMatrix3d();
    if (pivot != col)
      for (int j = 0; j < 8; ++j) std::swap(a[pivot][j], a[col][j]);
    const double p = a[col][col];
    for (int j = 0; j < 8; ++j) a[col][j] /= p;
    for (int r = 0; r < 4; ++r)
      if (r != col) {
        const double f = a[r][col];
        for (int j = 0; j < 8; ++j) a[r][j] -= f * a[col][j];
      }
  }
  AcGeMatrix3d r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) r.entry[i][j] = a[i][j + 4];
  return r;
}

AcGeMatrix3d& AcGeMatrix3d::transposeIt() {
  for (int i = 0; i < 4; ++i)
    for (int j = i + 1; j < 4; ++j) std::swap(entry[i][j], entry[j][i]);
  return *this;
}

bool AcGeMatrix3d::isUniScaledOrtho(const AcGeTol& tol) const {
  AcGeVector3d c[3];
  for (int j = 0; j < 3; ++j) c[j] = {entry[0][j], entry[1][j], entry[2][j]};
  const double s2 = (c[0].lengthSqrd() + c[1].lengthSqrd() + c[2].lengthSqrd()) / 3;
  if (s2 <= 0) return false;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      if (std::abs(c[i].dotProduct(c[j]) - (i == j ? s2 : 0.0)) > tol.equalVector() * s2 * 1e3) return false;
  return entry[3][0] == 0 && entry[3][1] == 0 && entry[3][2] == 0 && entry[3][3] == 1;
}

double AcGeMatrix3d::scale() const {
  double s = 0;
  for (int j = 0; j < 3; ++j) s = std::max(s, AcGeVector3d(entry[0][j], entry[1][j], entry[2][j]).length());
  return s;
}
