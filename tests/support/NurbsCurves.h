// openNURBS curves the suites put to the curve tests and writers: lines, polylines, the
// rational quadratic circle and arcs, and cubics.
#pragma once

#include <cmath>
#include <vector>

#include "opennurbs.h"

namespace plx::test {

// A curve of the given degree through its control points (Euclidean) and weights, with the
// openNURBS knots given; an empty weight list makes a non-rational curve.
inline ON_NurbsCurve Nurbs(int degree, const std::vector<ON_3dPoint>& points,
                           const std::vector<double>& knots,
                           const std::vector<double>& weights = {}) {
  ON_NurbsCurve curve;
  const bool rational = !weights.empty();
  curve.Create(3, rational, degree + 1, static_cast<int>(points.size()));
  for (size_t i = 0; i < points.size(); ++i) {
    const double w = rational ? weights[i] : 1.0;
    const ON_3dPoint& p = points[i];
    curve.SetCV(static_cast<int>(i), ON_3dPoint(w * p.x, w * p.y, w * p.z), w);
  }
  for (size_t k = 0; k < knots.size(); ++k) curve.SetKnot(static_cast<int>(k), knots[k]);
  return curve;
}

// A degree-1 curve through the points, a knot at each.
inline ON_NurbsCurve DegreeOne(const std::vector<ON_3dPoint>& points) {
  std::vector<double> knots;
  for (size_t i = 0; i < points.size(); ++i) knots.push_back(static_cast<double>(i));
  return Nurbs(1, points, knots);
}

// The circle of radius r about centre in the plane z = centre.z, counter-clockwise from +X:
// nine control points on a square, weights 1 and sqrt(1/2), double knots at each quarter.
inline ON_NurbsCurve RationalCircle(const ON_3dPoint& centre, double r) {
  const double s = std::sqrt(0.5);
  const double square[9][2] = {{1, 0},   {1, 1},  {0, 1},  {-1, 1}, {-1, 0},
                               {-1, -1}, {0, -1}, {1, -1}, {1, 0}};
  std::vector<ON_3dPoint> points;
  std::vector<double> weights;
  for (int i = 0; i < 9; ++i) {
    points.emplace_back(centre.x + r * square[i][0], centre.y + r * square[i][1], centre.z);
    weights.push_back(i % 2 ? s : 1.0);
  }
  return Nurbs(2, points, {0, 0, 1, 1, 2, 2, 3, 3, 4, 4}, weights);
}

// The quarter circle of radius r about centre from centre + r * x to centre + r * y, x and y
// perpendicular unit vectors.
inline ON_NurbsCurve RationalQuarter(const ON_3dPoint& centre, const ON_3dVector& x,
                                     const ON_3dVector& y, double r) {
  return Nurbs(2, {centre + r * x, centre + r * (x + y), centre + r * y}, {0, 0, 1, 1},
               {1, std::sqrt(0.5), 1});
}

// A clamped cubic through four control points: openNURBS knots 0, 0, 0, 1, 1, 1.
inline ON_NurbsCurve ClampedCubic(const std::vector<ON_3dPoint>& points) {
  return Nurbs(3, points, {0, 0, 0, 1, 1, 1});
}

// A non-rational cubic that interpolates points of the circle of radius r about the origin in
// the world xy plane, the first and last at angle 0 (a closed curve near the circle).
inline ON_NurbsCurve CubicNearCircle(double r) {
  // Control points of the uniform B-spline whose curve runs near the circle: each point on a
  // circle of radius r * 3 / (2 + cos(2 pi / n)) gives a curve that touches it n times.
  const int n = 8;
  const double scale = 3.0 / (2.0 + std::cos(2.0 * ON_PI / n));
  std::vector<ON_3dPoint> points;
  for (int i = 0; i < n + 3; ++i) {
    const double a = 2.0 * ON_PI * (i % n) / n;
    points.emplace_back(r * scale * std::cos(a), r * scale * std::sin(a), 0.0);
  }
  std::vector<double> knots;
  for (int i = 0; i < n + 3 + 2; ++i) knots.push_back(i);
  return Nurbs(3, points, knots);
}

}  // namespace plx::test
