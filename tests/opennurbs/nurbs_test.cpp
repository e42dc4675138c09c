#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "opennurbs.h"

namespace {

void ExpectNear(const ON_3dPoint& a, const ON_3dPoint& b, double tol = 1e-12) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
  EXPECT_NEAR(a.z, b.z, tol);
}

std::vector<double> Knots(const ON_NurbsCurve& curve) {
  std::vector<double> knots;
  for (int i = 0; i < curve.KnotCount(); ++i) knots.push_back(curve.Knot(i));
  return knots;
}

struct ClampedCase {
  int order;
  int count;
  double delta;
  std::vector<double> knots;
};

class ONNurbsClamped : public testing::TestWithParam<ClampedCase> {};

TEST_P(ONNurbsClamped, KnotsHoldOrderPlusCountMinusTwo) {
  const ClampedCase& c = GetParam();
  std::vector<ON_3dPoint> points;
  for (int i = 0; i < c.count; ++i) points.emplace_back(i, i * i, 0);
  ON_NurbsCurve curve;
  ASSERT_TRUE(curve.CreateClampedUniformNurbs(3, c.order, c.count, points.data(), c.delta));
  EXPECT_TRUE(curve.IsValid());
  EXPECT_FALSE(curve.IsRational());
  EXPECT_EQ(curve.Degree(), c.order - 1);
  EXPECT_EQ(curve.CVCount(), c.count);
  EXPECT_EQ(curve.KnotCount(), c.order + c.count - 2);
  EXPECT_EQ(Knots(curve), c.knots);
  EXPECT_EQ(curve.Domain(), ON_Interval(c.knots.front(), c.knots.back()));
  // Clamped: the curve starts and ends on its end control points.
  ExpectNear(curve.PointAtStart(), points.front());
  ExpectNear(curve.PointAtEnd(), points.back());
  for (int i = 0; i < c.count; ++i) {
    ON_3dPoint cv;
    ASSERT_TRUE(curve.GetCV(i, cv));
    EXPECT_EQ(cv, points[static_cast<size_t>(i)]);
    EXPECT_EQ(curve.Weight(i), 1.0);
  }
  EXPECT_FALSE(curve.IsPeriodic());
}

INSTANTIATE_TEST_SUITE_P(Orders, ONNurbsClamped,
                         testing::Values(ClampedCase{4, 4, 1.0, {0, 0, 0, 1, 1, 1}},
                                         ClampedCase{4, 6, 1.0, {0, 0, 0, 1, 2, 3, 3, 3}},
                                         ClampedCase{2, 3, 1.0, {0, 1, 2}},
                                         ClampedCase{3, 5, 0.5, {0, 0, 0.5, 1, 1.5, 1.5}}));

TEST(ONNurbsCurve, CreateRefusesTooFewPoints) {
  ON_NurbsCurve curve;
  const ON_3dPoint p[2] = {{0, 0, 0}, {1, 0, 0}};
  EXPECT_FALSE(curve.CreateClampedUniformNurbs(3, 4, 2, p));
  EXPECT_FALSE(curve.Create(3, false, 1, 3));
  EXPECT_FALSE(curve.IsValid());
  EXPECT_EQ(curve.Knot(0), ON_UNSET_VALUE);
  EXPECT_FALSE(curve.SetKnot(0, 1.0));
}

TEST(ONNurbsCurve, CubicBezierMatchesBernsteinForm) {
  const ON_3dPoint p[4] = {{0, 0, 0}, {1, 2, 0}, {3, 2, 1}, {4, 0, 0}};
  ON_NurbsCurve curve;
  ASSERT_TRUE(curve.CreateClampedUniformNurbs(3, 4, 4, p));
  for (double t : {0.0, 0.2, 0.5, 0.9, 1.0}) {
    const double s = 1 - t;
    const double b[4] = {s * s * s, 3 * s * s * t, 3 * s * t * t, t * t * t};
    ON_3dPoint expected;
    for (int i = 0; i < 4; ++i) expected += b[i] * ON_3dVector(p[i]);
    ExpectNear(curve.PointAt(t), expected, 1e-14);
  }
}

TEST(ONNurbsCurve, RationalQuarterCircleStaysOnTheCircle) {
  ON_NurbsCurve curve(3, true, 3, 3);
  curve.SetCV(0, ON_3dPoint(1, 0, 0));
  curve.SetCV(1, ON_3dPoint(1, 1, 0));
  curve.SetCV(2, ON_3dPoint(0, 1, 0));
  ASSERT_TRUE(curve.SetWeight(1, ON_SQRT1_2));
  const double knots[4] = {0, 0, 1, 1};
  for (int i = 0; i < 4; ++i) curve.SetKnot(i, knots[i]);
  ASSERT_TRUE(curve.IsValid());
  ON_3dPoint cv;
  curve.GetCV(1, cv);
  EXPECT_EQ(cv, ON_3dPoint(1, 1, 0));  // Euclidean, not the stored w * point
  EXPECT_EQ(curve.CV(1)[0], ON_SQRT1_2);
  for (int i = 0; i <= 100; ++i) {
    const ON_3dPoint p = curve.PointAt(i / 100.0);
    EXPECT_NEAR(std::hypot(p.x, p.y), 1.0, 1e-12);
    EXPECT_EQ(p.z, 0.0);
  }
  ExpectNear(curve.PointAt(0.5), ON_3dPoint(ON_SQRT1_2, ON_SQRT1_2, 0), 1e-15);
}

TEST(ONNurbsCurve, SetDomainKeepsTheShape) {
  const ON_3dPoint p[5] = {{0, 0, 0}, {1, 1, 0}, {2, -1, 0}, {3, 1, 0}, {4, 0, 0}};
  ON_NurbsCurve curve;
  ASSERT_TRUE(curve.CreateClampedUniformNurbs(3, 3, 5, p));
  const ON_3dPoint mid = curve.PointAt(1.5);
  ASSERT_TRUE(curve.SetDomain(10, 16));
  EXPECT_EQ(curve.Domain(), ON_Interval(10, 16));
  ExpectNear(curve.PointAt(13), mid);
  EXPECT_FALSE(curve.SetDomain(2, 1));
}

TEST(ONNurbsCurve, MakeRationalAndTranslateKeepPoints) {
  const ON_3dPoint p[3] = {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}};
  ON_NurbsCurve curve;
  ASSERT_TRUE(curve.CreateClampedUniformNurbs(3, 3, 3, p));
  EXPECT_FALSE(curve.SetWeight(1, 2.0));
  ASSERT_TRUE(curve.MakeRational());
  ASSERT_TRUE(curve.SetWeight(1, 2.0));
  ON_3dPoint cv;
  curve.GetCV(1, cv);
  EXPECT_EQ(cv, ON_3dPoint(1, 1, 0));
  ASSERT_TRUE(curve.Translate(ON_3dVector(0, 0, 5)));
  curve.GetCV(1, cv);
  EXPECT_EQ(cv, ON_3dPoint(1, 1, 5));
  EXPECT_EQ(curve.Weight(1), 2.0);
  ExpectNear(curve.PointAtEnd(), ON_3dPoint(2, 0, 5));
}

TEST(ONNurbsCurve, ClosedAndPeriodic) {
  // A uniform cubic whose last three control points repeat the first three.
  const ON_3dPoint ring[6] = {{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}};
  ON_NurbsCurve periodic(3, false, 4, 6);
  for (int i = 0; i < 6; ++i) periodic.SetCV(i, ring[i]);
  for (int i = 0; i < periodic.KnotCount(); ++i) periodic.SetKnot(i, i - 2.0);
  EXPECT_TRUE(periodic.IsValid());
  EXPECT_TRUE(periodic.IsPeriodic());
  EXPECT_TRUE(periodic.IsClosed());

  const ON_3dPoint square[5] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 0}};
  ON_NurbsCurve clamped;
  ASSERT_TRUE(clamped.CreateClampedUniformNurbs(3, 3, 5, square));
  EXPECT_TRUE(clamped.IsClosed());
  EXPECT_FALSE(clamped.IsPeriodic());
}

TEST(ONEllipse, NurbFormIsTheRationalNinePointForm) {
  const ON_Plane plane(ON_3dPoint(1, 2, 3), ON_3dVector(1, 1, 0), ON_3dVector(-1, 1, 1));
  const ON_Ellipse ellipse(plane, 4.0, 1.5);
  ON_NurbsCurve curve;
  ASSERT_EQ(ellipse.GetNurbForm(curve), 1);
  EXPECT_TRUE(curve.IsValid());
  EXPECT_TRUE(curve.IsRational());
  EXPECT_EQ(curve.Order(), 3);
  EXPECT_EQ(curve.CVCount(), 9);
  EXPECT_EQ(Knots(curve), (std::vector<double>{0, 0, ON_PI / 2, ON_PI / 2, ON_PI, ON_PI,
                                               1.5 * ON_PI, 1.5 * ON_PI, 2 * ON_PI, 2 * ON_PI}));
  EXPECT_EQ(curve.Domain(), ON_Interval(0, 2 * ON_PI));
  for (int i = 0; i < 9; ++i) EXPECT_DOUBLE_EQ(curve.Weight(i), i % 2 ? ON_SQRT1_2 : 1.0);
  ON_3dPoint first;
  curve.GetCV(0, first);
  ExpectNear(first, ellipse.PointAt(0));
  EXPECT_TRUE(curve.IsClosed());
  // Equal to the ellipse's own parameter at multiples of pi/4 only at the double knots, but
  // every point lies on the ellipse.
  for (int i = 0; i <= 64; ++i) {
    const double t = 2 * ON_PI * i / 64;
    double u = 0, v = 0;
    plane.ClosestPointTo(curve.PointAt(t), &u, &v);
    EXPECT_NEAR((u / 4.0) * (u / 4.0) + (v / 1.5) * (v / 1.5), 1.0, 1e-12);
    EXPECT_NEAR(plane.DistanceTo(curve.PointAt(t)), 0.0, 1e-12);
  }
  for (int k = 0; k < 4; ++k)
    ExpectNear(curve.PointAt(k * ON_PI / 2), ellipse.PointAt(k * ON_PI / 2));
  EXPECT_EQ(ON_Ellipse(plane, 0.0, 1.0).GetNurbForm(curve), 0);
}

TEST(ONNurbsSurface, BilinearPatchInterpolatesItsCorners) {
  ON_NurbsSurface surface(3, false, 2, 2, 2, 2);
  surface.SetCV(0, 0, ON_3dPoint(0, 0, 0));
  surface.SetCV(1, 0, ON_3dPoint(2, 0, 0));
  surface.SetCV(1, 1, ON_3dPoint(2, 2, 2));
  surface.SetCV(0, 1, ON_3dPoint(0, 2, 0));
  for (int dir = 0; dir < 2; ++dir) {
    surface.SetKnot(dir, 0, 0.0);
    surface.SetKnot(dir, 1, 1.0);
  }
  EXPECT_TRUE(surface.IsValid());
  EXPECT_EQ(surface.Domain(0), ON_Interval(0, 1));
  ExpectNear(surface.PointAt(1, 1), ON_3dPoint(2, 2, 2));
  ExpectNear(surface.PointAt(1, 0), ON_3dPoint(2, 0, 0));
  ExpectNear(surface.PointAt(0.5, 0.5), ON_3dPoint(1, 1, 0.5));
  const ON_BoundingBox box = surface.BoundingBox();
  EXPECT_EQ(box.m_max, ON_3dPoint(2, 2, 2));
  EXPECT_FALSE(ON_NurbsSurface().IsValid());
  EXPECT_FALSE(surface.SetCV(2, 0, ON_3dPoint()));
}

}  // namespace
