// A bounded straight segment in two dimensions; parameter 0 at the start to 1 at the end.
#pragma once

#include "gepnt2d.h"

class AcGeLineSeg2d {
 public:
  AcGeLineSeg2d() = default;  // from the origin to (1, 0)
  AcGeLineSeg2d(const AcGePoint2d& start, const AcGePoint2d& end) : start_(start), end_(end) {}
  AcGeLineSeg2d& set(const AcGePoint2d& start, const AcGePoint2d& end) {
    start_ = start;
    end_ = end;
    return *this;
  }
  AcGePoint2d startPoint() const { return start_; }
  AcGePoint2d endPoint() const { return end_; }
  double length() const { return start_.distanceTo(end_); }
  AcGePoint2d evalPoint(double param) const { return start_ + (end_ - start_) * param; }
  bool isEqualTo(const AcGeLineSeg2d& other, const AcGeTol& tol = AcGeContext::gTol) const {
    return start_.isEqualTo(other.start_, tol) && end_.isEqualTo(other.end_, tol);
  }

 private:
  AcGePoint2d start_;
  AcGePoint2d end_{1, 0};
};
