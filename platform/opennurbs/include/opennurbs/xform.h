// ON_Xform: a 4 x 4 transform in m_xform[row][column], acting on points as column vectors, so
// the translation is in column 3 of rows 0 to 2. A default-constructed transform is the
// identity.
#pragma once

#include "opennurbs/point.h"

class ON_Xform {
 public:
  ON_Xform() { Identity(); }
  // d on the diagonal, zero elsewhere (so ON_Xform(1.0) is the identity).
  explicit ON_Xform(double d);
  explicit ON_Xform(const double m[4][4]);

  double* operator[](int row) { return m_xform[row]; }
  const double* operator[](int row) const { return m_xform[row]; }

  void Identity();
  void Zero();
  void Translation(const ON_3dVector& delta);
  bool IsIdentity(double zero_tolerance = 0.0) const;
  // True when every entry is finite.
  bool IsValid() const;

  // The product this * rhs: rhs is applied first.
  ON_Xform operator*(const ON_Xform& rhs) const;
  // The transformed point, divided by its homogeneous weight (unless that weight is 0).
  ON_3dPoint operator*(const ON_3dPoint& p) const;
  // Vectors take the linear part only.
  ON_3dVector operator*(const ON_3dVector& v) const;

  double m_xform[4][4];
};
