#include <gtest/gtest.h>

#include <cmath>

#include "opennurbs.h"

namespace {

void ExpectNear(const ON_3dVector& a, const ON_3dVector& b, double tol = 1e-15) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
  EXPECT_NEAR(a.z, b.z, tol);
}

void ExpectNear(const ON_3dPoint& a, const ON_3dPoint& b, double tol = 1e-12) {
  ExpectNear(ON_3dVector(a), ON_3dVector(b), tol);
}

struct AxisCase {
  ON_3dVector normal;
  ON_3dVector xaxis;
};

class ONPlaneAxes : public testing::TestWithParam<AxisCase> {};

TEST_P(ONPlaneAxes, XAxisIsTheLibrarysPerpendicular) {
  const AxisCase& c = GetParam();
  const ON_Plane plane(ON_3dPoint(1, 2, 3), c.normal);
  ASSERT_TRUE(plane.IsValid());
  ON_3dVector unitNormal = c.normal;
  unitNormal.Unitize();
  ON_3dVector x = c.xaxis;
  x.Unitize();
  ExpectNear(plane.xaxis, x);
  ExpectNear(plane.zaxis, unitNormal);
  ExpectNear(plane.yaxis, ON_CrossProduct(unitNormal, x));
  EXPECT_EQ(plane.origin, ON_3dPoint(1, 2, 3));
}

INSTANTIATE_TEST_SUITE_P(
    Normals, ONPlaneAxes,
    testing::Values(
        AxisCase{{0, 0, 1}, {1, 0, 0}}, AxisCase{{0, 0, -1}, {-1, 0, 0}},
        AxisCase{{1, 0, 0}, {0, 1, 0}}, AxisCase{{0, 1, 0}, {0, 0, 1}},
        AxisCase{{-1, 0, 0}, {0, -1, 0}},
        // |y| > |x|: (0, z, -y) when |z| > |y|; (0, -z, y) when |z| >= |x|; else (y, -x, 0).
        AxisCase{{1, 2, 3}, {0, 3, -2}}, AxisCase{{1, 3, 2}, {0, -2, 3}},
        AxisCase{{2, 3, 1}, {3, -2, 0}},
        // |y| <= |x|: (z, 0, -x) when |z| > |x|; (-z, 0, x) when |z| > |y|; else (-y, x, 0).
        AxisCase{{2, 1, 3}, {3, 0, -2}}, AxisCase{{3, 1, 2}, {-2, 0, 3}},
        AxisCase{{3, 2, 1}, {-2, 3, 0}}));

TEST(ONPlane, DownwardNormalKeepsYAxisUp) {
  const ON_Plane plane(ON_3dPoint(0, 0, 0), ON_3dVector(0, 0, -1));
  ExpectNear(plane.yaxis, ON_3dVector(0, 1, 0));
}

TEST(ONPlane, FrameTakesXAlongFirstAxisAndStraightensTheSecond) {
  const ON_Plane plane(ON_3dPoint(1, 1, 1), ON_3dVector(2, 0, 0), ON_3dVector(1, 3, 0));
  ASSERT_TRUE(plane.IsValid());
  ExpectNear(plane.xaxis, ON_3dVector(1, 0, 0));
  ExpectNear(plane.yaxis, ON_3dVector(0, 1, 0));
  ExpectNear(plane.zaxis, ON_3dVector(0, 0, 1));
  ExpectNear(plane.PointAt(2, 3), ON_3dPoint(3, 4, 1));
}

TEST(ONPlane, ZeroNormalOrParallelAxesGiveAnInvalidPlane) {
  EXPECT_FALSE(ON_Plane(ON_3dPoint(0, 0, 0), ON_3dVector(0, 0, 0)).IsValid());
  EXPECT_FALSE(ON_Plane(ON_3dPoint(0, 0, 0), ON_3dVector(1, 0, 0), ON_3dVector(2, 0, 0)).IsValid());
  EXPECT_TRUE(ON_Plane::World_xy.IsValid());
}

TEST(ONCircle, StartsOnThePlanesXAxisAndTurnsAboutTheNormal) {
  const ON_Circle circle(ON_Plane(ON_3dPoint(0, 0, 0), ON_3dVector(0, 0, -1)), ON_3dPoint(1, 2, 3),
                         2.0);
  ASSERT_TRUE(circle.IsValid());
  EXPECT_EQ(circle.Center(), ON_3dPoint(1, 2, 3));
  ExpectNear(circle.PointAt(0), ON_3dPoint(-1, 2, 3));
  ExpectNear(circle.PointAt(ON_PI / 2), ON_3dPoint(1, 4, 3));
  EXPECT_DOUBLE_EQ(circle.Circumference(), 4 * ON_PI);
  double t = 0;
  ASSERT_TRUE(circle.ClosestPointTo(ON_3dPoint(1, 0, 7), &t));
  EXPECT_NEAR(t, 1.5 * ON_PI, 1e-15);
  EXPECT_FALSE(circle.ClosestPointTo(ON_3dPoint(1, 2, 9), &t));
  EXPECT_FALSE(ON_Circle(ON_Plane::World_xy, 0.0).IsValid());
}

struct ArcCreateCase {
  double t0;
  double t1;
  bool created;
  bool circle;
};

class ONArcCreate : public testing::TestWithParam<ArcCreateCase> {};

TEST_P(ONArcCreate, RefusesEmptyReversedAndOverlongIntervals) {
  const ArcCreateCase& c = GetParam();
  ON_Arc arc;
  arc.m_angle.Set(0.25, 0.5);
  EXPECT_EQ(arc.Create(ON_Circle(ON_Plane::World_xy, 3.0), ON_Interval(c.t0, c.t1)), c.created);
  if (c.created) {
    EXPECT_EQ(arc.IsCircle(), c.circle);
    EXPECT_DOUBLE_EQ(arc.AngleRadians(), c.t1 - c.t0);
    EXPECT_DOUBLE_EQ(arc.radius, 3.0);
  } else {
    EXPECT_EQ(arc.m_angle, ON_Interval(0.25, 0.5));  // left as it was
  }
}

INSTANTIATE_TEST_SUITE_P(Intervals, ONArcCreate,
                         testing::Values(ArcCreateCase{0, ON_PI / 2, true, false},
                                         ArcCreateCase{1, 1, false, false},
                                         ArcCreateCase{2, 1, false, false},
                                         ArcCreateCase{0, 2 * ON_PI + 1e-6, false, false},
                                         ArcCreateCase{0, 2 * ON_PI, true, true},
                                         ArcCreateCase{1, 1 + 2 * ON_PI - 1e-11, true, true},
                                         ArcCreateCase{0, 2 * ON_PI - 1e-8, true, false},
                                         ArcCreateCase{-ON_PI, ON_PI / 4, true, false}));

TEST(ONArc, EndsAndBoundsOfAQuarter) {
  const ON_Arc arc(ON_Circle(ON_Plane::World_xy, 1.0), ON_Interval(0, ON_PI / 2));
  ExpectNear(arc.StartPoint(), ON_3dPoint(1, 0, 0));
  ExpectNear(arc.MidPoint(), ON_3dPoint(ON_SQRT1_2, ON_SQRT1_2, 0));
  ExpectNear(arc.EndPoint(), ON_3dPoint(0, 1, 0));
  EXPECT_DOUBLE_EQ(arc.Length(), ON_PI / 2);
  const ON_BoundingBox box = arc.BoundingBox();
  ExpectNear(box.m_min, ON_3dPoint(0, 0, 0));
  ExpectNear(box.m_max, ON_3dPoint(1, 1, 0));
  const ON_BoundingBox full = ON_Arc().BoundingBox();
  ExpectNear(full.m_min, ON_3dPoint(-1, -1, 0));
  ExpectNear(full.m_max, ON_3dPoint(1, 1, 0));
}

TEST(ONEllipse, PointsFollowTheAxes) {
  const ON_Ellipse ellipse(
      ON_Plane(ON_3dPoint(1, 1, 0), ON_3dVector(0, 1, 0), ON_3dVector(-1, 0, 0)), 3.0, 2.0);
  ASSERT_TRUE(ellipse.IsValid());
  ExpectNear(ellipse.PointAt(0), ON_3dPoint(1, 4, 0));
  ExpectNear(ellipse.PointAt(ON_PI / 2), ON_3dPoint(-1, 1, 0));
  EXPECT_FALSE(ON_Ellipse(ON_Plane::World_xy, 1.0, 0.0).IsValid());
}

TEST(ONLine, PointAtAndTangent) {
  const ON_Line line(ON_3dPoint(1, 0, 0), ON_3dPoint(1, 0, 4));
  EXPECT_EQ(line.PointAt(0), line.from);
  EXPECT_EQ(line.PointAt(1), line.to);
  EXPECT_EQ(line.PointAt(0.25), ON_3dPoint(1, 0, 1));
  EXPECT_EQ(line.Tangent(), ON_3dVector(0, 0, 1));
  EXPECT_DOUBLE_EQ(line.Length(), 4.0);
  EXPECT_FALSE(ON_Line(line.from, line.from).IsValid());
}

}  // namespace
