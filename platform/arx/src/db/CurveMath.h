// Shared arithmetic of the curve entities: angles, object coordinate systems, tight boxes of
// elliptic arcs, arc lengths by Gauss-Legendre quadrature, the frame carried by a transform,
// and the LIST line writer.
#pragma once

#include <cmath>
#include <string>

#include "dbmain.h"
#include "gemat3d.h"

namespace plx::db {

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kTwoPi = 2 * kPi;
// Parameters on a curve may stray from their interval by this much and still count as on it.
inline constexpr double kParamSlack = 1e-9;

inline bool Finite(double v) { return std::isfinite(v); }
inline bool Finite(const AcGePoint3d& p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}
inline bool Finite(const AcGeVector3d& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// An angle reduced to 0 .. 2 pi (2 pi itself becomes 0).
double NormalizeAngle(double angle);
// The counter-clockwise sweep from start to end, in (0, 2 pi]: equal angles are a full turn.
double Sweep(double start, double end);

// The object X and Y axes of a plane with this normal (the arbitrary-axis rule).
void OcsAxes(const AcGeVector3d& normal, AcGeVector3d& xAxis, AcGeVector3d& yAxis);
// A point given in the object coordinates of the normal, in world coordinates, and back.
AcGePoint3d OcsToWorld(const AcGeVector3d& normal, const AcGePoint3d& ocs);
AcGePoint3d WorldToOcs(const AcGeVector3d& normal, const AcGePoint3d& world);

// Adds the tight box of c + u cos t + v sin t for t in [t0, t1] (t1 >= t0).
void AddEllipticExtents(AcDbExtents& extents, const AcGePoint3d& c, const AcGeVector3d& u,
                        const AcGeVector3d& v, double t0, double t1);

// The integral of f over [a, b]: five-point Gauss-Legendre on equal panels.
template <class F>
double Integrate(F&& f, double a, double b, int panels) {
  static const double kNodes[5] = {-0.9061798459386640, -0.5384693101056831, 0.0,
                                   0.5384693101056831, 0.9061798459386640};
  static const double kWeights[5] = {0.2369268850561891, 0.4786286704993665, 0.5688888888888889,
                                     0.4786286704993665, 0.2369268850561891};
  if (b == a || panels <= 0) return 0;
  const double h = (b - a) / panels;
  double sum = 0;
  for (int p = 0; p < panels; ++p) {
    const double mid = a + h * (p + 0.5);
    for (int k = 0; k < 5; ++k) sum += kWeights[k] * f(mid + 0.5 * h * kNodes[k]);
  }
  return sum * 0.5 * h;
}

// Where a transform takes a plane's frame: the images of its X and Y axes, and the normal
// X' x Y' that keeps the sense of arcs in it (a mirror turns the normal over).
struct CarriedFrame {
  AcGeVector3d xAxis, yAxis, normal;
};
CarriedFrame CarryFrame(const AcGeMatrix3d& matrix, const AcGeVector3d& xAxis,
                        const AcGeVector3d& yAxis);

// One LIST line on the transcript.
void ListLine(const std::wstring& text);
std::wstring ListVector(const AcGeVector3d& v);

}  // namespace plx::db
