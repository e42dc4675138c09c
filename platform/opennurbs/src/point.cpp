// Vector normalisation, kept out of line because of the zero and non-finite cases.
#include "opennurbs/point.h"

bool ON_3dVector::Unitize() {
  const double length = Length();
  if (!(length > 0.0) || !std::isfinite(length)) return false;
  x /= length;
  y /= length;
  z /= length;
  return true;
}

bool ON_3fVector::Unitize() {
  ON_3dVector v(*this);
  if (!v.Unitize()) return false;
  *this = ON_3fVector(v);
  return true;
}
