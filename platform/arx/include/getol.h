// The host's geometric tolerance: two points are equal when their distance is at most
// equalPoint; two vectors when their difference is at most equalVector long.
#pragma once

class AcGeTol {
 public:
  AcGeTol() = default;
  double equalPoint() const { return equalPoint_; }
  double equalVector() const { return equalVector_; }
  void setEqualPoint(double value) { equalPoint_ = value; }
  void setEqualVector(double value) { equalVector_ = value; }

 private:
  double equalPoint_ = 1e-10;
  double equalVector_ = 1e-12;
};

// The global tolerance that every comparison takes by default; one instance in the host.
struct AcGeContext {
  static AcGeTol gTol;
};
