// A bounded straight segment in three dimensions. Its parameter runs from 0 at the start point
// to 1 at the end point.
#pragma once

#include "gemat3d.h"
#include "gepnt3d.h"

class AcGeLineSeg3d {
 public:
  AcGeLineSeg3d() = default;  // from the origin to (1, 0, 0)
  AcGeLineSeg3d(const AcGePoint3d& start, const AcGePoint3d& end) : start_(start), end_(end) {}
  AcGeLineSeg3d& set(const AcGePoint3d& start, const AcGePoint3d& end) {
    start_ = start;
    end_ = end;
    return *this;
  }

  AcGePoint3d startPoint() const { return start_; }
  AcGePoint3d endPoint() const { return end_; }
  AcGePoint3d midPoint() const { return start_ + (end_ - start_) * 0.5; }
  double length() const { return start_.distanceTo(end_); }
  // The unit direction; the zero vector for a segment of no length.
  AcGeVector3d direction() const { return (end_ - start_).normal(); }
  AcGePoint3d evalPoint(double param) const { return start_ + (end_ - start_) * param; }
  bool isEqualTo(const AcGeLineSeg3d& other, const AcGeTol& tol = AcGeContext::gTol) const {
    return start_.isEqualTo(other.start_, tol) && end_.isEqualTo(other.end_, tol);
  }
  AcGeLineSeg3d& transformBy(const AcGeMatrix3d& matrix) {
    start_.transformBy(matrix);
    end_.transformBy(matrix);
    return *this;
  }

 private:
  AcGePoint3d start_;
  AcGePoint3d end_{1, 0, 0};
};
