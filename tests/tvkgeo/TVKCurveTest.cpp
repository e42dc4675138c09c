// TVKCurve's tests of what simple curve a NURBS curve is: which tests accept each kind of
// curve, what each out-value holds, and that curves close to one of the kinds are not taken.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "NurbsCurves.h"
#include "TVKGeo.h"

using namespace plx::test;

namespace {

constexpr double kTol = 1e-9;

void ExpectNear(const ON_3dPoint& a, const ON_3dPoint& b, double tol = kTol) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
  EXPECT_NEAR(a.z, b.z, tol);
}

void ExpectNear(const ON_3dVector& a, const ON_3dVector& b, double tol = kTol) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
  EXPECT_NEAR(a.z, b.z, tol);
}

struct KindCase {
  const char* name;
  ON_NurbsCurve (*make)();
  int line, circle, arc, polyline;
  friend void PrintTo(const KindCase& c, std::ostream* os) { *os << c.name; }
};

class CurveKind : public ::testing::TestWithParam<KindCase> {};

}  // namespace

TEST_P(CurveKind, IsAcceptedByTheTestsOfItsKind) {
  const ON_NurbsCurve curve = GetParam().make();
  ON_Line line;
  ON_Circle circle;
  ON_Arc arc;
  ON_Polyline polyline;
  EXPECT_EQ(TVKCurve::IsLine(&curve, line), GetParam().line);
  EXPECT_EQ(TVKCurve::IsCircle(&curve, circle), GetParam().circle);
  EXPECT_EQ(TVKCurve::IsArc(&curve, arc), GetParam().arc);
  EXPECT_EQ(TVKCurve::IsPolyline(&curve, polyline), GetParam().polyline);
}

INSTANTIATE_TEST_SUITE_P(
    Curves, CurveKind,
    ::testing::Values(
        KindCase{"TwoPointLine",
                 [] {
                   return DegreeOne({{0, 0, 0}, {3, 4, 0}});
                 },
                 1, 0, 0, 1},
        KindCase{"CollinearPointsInOrder",
                 [] {
                   return DegreeOne({{0, 0, 0}, {1, 1, 1}, {3, 3, 3}});
                 },
                 1, 0, 0, 1},
        KindCase{"CollinearPointsTurningBack",
                 [] {
                   return DegreeOne({{0, 0, 0}, {3, 0, 0}, {1, 0, 0}});
                 },
                 0, 0, 0, 1},
        KindCase{"PolylineWithCorners",
                 [] {
                   return DegreeOne({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {2, 1, 1}});
                 },
                 0, 0, 0, 1},
        KindCase{"NearlyStraight",
                 [] {
                   return DegreeOne({{0, 0, 0}, {50, 1e-4, 0}, {100, 0, 0}});
                 },
                 0, 0, 0, 1},
        KindCase{"RationalCircle",
                 [] {
                   return RationalCircle({1, 2, 3}, 5);
                 },
                 0, 1, 1, 0},
        KindCase{"RationalQuarterArc",
                 [] {
                   return RationalQuarter({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 2);
                 },
                 0, 0, 1, 0},
        KindCase{"CubicNearACircle", [] { return CubicNearCircle(10); }, 0, 0, 0, 0},
        KindCase{"ClampedCubic",
                 [] {
                   return ClampedCubic({{0, 0, 0}, {1, 2, 0}, {3, 2, 0}, {4, 0, 0}});
                 },
                 0, 0, 0, 0},
        KindCase{"NonRationalQuadratic",
                 [] {
                   return Nurbs(2, {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {0, 0, 1, 1});
                 },
                 0, 0, 0, 0},
        KindCase{"QuarterArcWithAWrongWeight",
                 [] {
                   return Nurbs(2, {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {0, 0, 1, 1}, {1, 0.7, 1});
                 },
                 0, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TVKCurve, LineRunsFromTheCurvesStartToItsEnd) {
  const ON_NurbsCurve curve = DegreeOne({{1, 2, 3}, {2, 2, 3}, {5, 2, 3}});
  ON_Line line;
  ASSERT_EQ(TVKCurve::IsLine(&curve, line), 1);
  EXPECT_EQ(line.from, ON_3dPoint(1, 2, 3));
  EXPECT_EQ(line.to, ON_3dPoint(5, 2, 3));
}

TEST(TVKCurve, PolylineHoldsThePointsInOrderAndClosesOnTheFirst) {
  ON_Polyline polyline;
  const ON_NurbsCurve open = DegreeOne({{0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {1, 1, 0}});
  ASSERT_EQ(TVKCurve::IsPolyline(&open, polyline), 1);
  ASSERT_EQ(polyline.Count(), 3);  // the repeated point once
  EXPECT_EQ(polyline[2], ON_3dPoint(1, 1, 0));
  EXPECT_FALSE(polyline.IsClosed());

  const ON_NurbsCurve square = DegreeOne({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 0}});
  ASSERT_EQ(TVKCurve::IsPolyline(&square, polyline), 1);
  ASSERT_EQ(polyline.Count(), 5);
  EXPECT_EQ(polyline[4], polyline[0]);
  EXPECT_TRUE(polyline.IsClosed());
}

TEST(TVKCurve, CircleHasTheCurvesCentreNormalAndRadius) {
  const ON_NurbsCurve curve = RationalCircle({1, 2, 3}, 5);
  ON_Circle circle;
  ASSERT_EQ(TVKCurve::IsCircle(&curve, circle), 1);
  ExpectNear(circle.Center(), ON_3dPoint(1, 2, 3));
  ExpectNear(circle.Normal(), ON_3dVector(0, 0, 1));
  EXPECT_NEAR(circle.Radius(), 5, kTol);
  EXPECT_TRUE(circle.IsValid());
  ExpectNear(circle.PointAt(0), ON_3dPoint(6, 2, 3));  // its x axis points at the start
}

struct ArcCase {
  const char* name;
  ON_3dPoint centre;
  ON_3dVector x, y;
  double radius;
  ON_3dVector normal;
  friend void PrintTo(const ArcCase& c, std::ostream* os) { *os << c.name; }
};

class ArcOfCurve : public ::testing::TestWithParam<ArcCase> {};

TEST_P(ArcOfCurve, HasTheCurvesStartPointEndPointAndSweep) {
  const ArcCase& c = GetParam();
  const ON_NurbsCurve curve = RationalQuarter(c.centre, c.x, c.y, c.radius);
  ON_Arc arc;
  ASSERT_EQ(TVKCurve::IsArc(&curve, arc), 1);
  ExpectNear(arc.Center(), c.centre);
  ExpectNear(arc.Normal(), c.normal);
  EXPECT_NEAR(arc.Radius(), c.radius, kTol);
  EXPECT_NEAR(arc.AngleRadians(), ON_PI / 2, 1e-9);
  EXPECT_TRUE(arc.IsValid());
  ExpectNear(arc.StartPoint(), curve.PointAtStart());
  ExpectNear(arc.EndPoint(), curve.PointAtEnd());
  ExpectNear(arc.MidPoint(), curve.PointAt(0.5 * (curve.Domain()[0] + curve.Domain()[1])), 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    Arcs, ArcOfCurve,
    ::testing::Values(
        ArcCase{"CounterClockwiseInXY", {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 2, {0, 0, 1}},
        ArcCase{"ClockwiseInXY", {1, 1, 0}, {0, 1, 0}, {1, 0, 0}, 3, {0, 0, -1}},
        ArcCase{"InAVerticalPlane", {0, 5, 5}, {0, 1, 0}, {0, 0, 1}, 0.5, {1, 0, 0}},
        ArcCase{"Tilted", {-2, 3, 1}, {0.6, 0, 0.8}, {0, 1, 0}, 10, {-0.8, 0, 0.6}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TVKCurve, HalfCircleOfTwoQuartersIsAnArcOfHalfATurn) {
  const double s = std::sqrt(0.5);
  const ON_NurbsCurve curve = Nurbs(2, {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {-1, 1, 0}, {-1, 0, 0}},
                                    {0, 0, 1, 1, 2, 2}, {1, s, 1, s, 1});
  ON_Arc arc;
  ASSERT_EQ(TVKCurve::IsArc(&curve, arc), 1);
  EXPECT_NEAR(arc.AngleRadians(), ON_PI, 1e-9);
  ON_Circle circle;
  EXPECT_EQ(TVKCurve::IsCircle(&curve, circle), 0);
}

TEST(TVKCurve, FullCircleAsAnArcSweepsAWholeTurn) {
  const ON_NurbsCurve curve = RationalCircle({0, 0, 0}, 1);
  ON_Arc arc;
  ASSERT_EQ(TVKCurve::IsArc(&curve, arc), 1);
  EXPECT_NEAR(arc.AngleRadians(), 2 * ON_PI, 1e-12);
  EXPECT_TRUE(arc.IsCircle());
}

TEST(TVKCurve, RefusalsLeaveTheOutValueAlone) {
  const ON_NurbsCurve cubic = ClampedCubic({{0, 0, 0}, {1, 2, 0}, {3, 2, 0}, {4, 0, 0}});
  ON_Line line({7, 7, 7}, {8, 8, 8});
  ON_Polyline polyline;
  polyline.Append(ON_3dPoint(9, 9, 9));
  EXPECT_EQ(TVKCurve::IsLine(&cubic, line), 0);
  EXPECT_EQ(TVKCurve::IsPolyline(&cubic, polyline), 0);
  EXPECT_EQ(line.from, ON_3dPoint(7, 7, 7));
  EXPECT_EQ(polyline.Count(), 1);
  ON_NurbsCurve empty;
  EXPECT_EQ(TVKCurve::IsLine(&empty, line), 0);
  EXPECT_EQ(TVKCurve::IsLine(nullptr, line), 0);
  ON_Arc arc;
  EXPECT_EQ(TVKCurve::IsArc(nullptr, arc), 0);
}
