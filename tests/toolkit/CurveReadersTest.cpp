// The point and curve readers on host entities: where each curve starts, its domain, the
// openNURBS plane of circles, elliptical arcs evaluated against the ellipse, bulges through both
// polyline readers, spline knots, vertices of 2D and 3D polylines, and curve sampling.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "TestDrawing.h"
#include "TestSupport.h"
#include "toolkit/CurveReaders.h"

using namespace plx::test;

namespace {

constexpr double kPi = 3.14159265358979323846;
const double kHalfRoot = std::sqrt(0.5);

void ExpectNear(const ON_3dPoint& a, const ON_3dPoint& b, double tol = 1e-12) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
  EXPECT_NEAR(a.z, b.z, tol);
}

ON_3dPoint On(const AcGePoint3d& p) { return {p.x, p.y, p.z}; }

TEST(CurveReaders, PointKeepsItsPosition) {
  AcDbPoint point(AcGePoint3d(1, 2, 3));
  ON_Point onPoint(9, 9, 9);
  EXPECT_EQ(PointToONPoint(&point, onPoint), 1);
  EXPECT_EQ(onPoint.point, ON_3dPoint(1, 2, 3));
}

TEST(CurveReaders, LineRunsOverItsLength) {
  AcDbLine line(AcGePoint3d(1, 1, 1), AcGePoint3d(4, 5, 1));
  ON_LineCurve curve;
  EXPECT_EQ(LineToLineCurve(&line, curve), 1);
  EXPECT_EQ(curve.m_line.from, ON_3dPoint(1, 1, 1));
  EXPECT_EQ(curve.m_line.to, ON_3dPoint(4, 5, 1));
  EXPECT_EQ(curve.Domain(), ON_Interval(0, 5));
}

struct UnboundedCase {
  bool ray;
  AcGePoint3d base;
  AcGeVector3d direction;
  ON_3dPoint from;
  ON_3dPoint to;
};

class UnboundedLines : public testing::TestWithParam<UnboundedCase> {};

TEST_P(UnboundedLines, BecomeSegmentsAboutTheBasePoint) {
  const UnboundedCase& c = GetParam();
  ON_LineCurve curve;
  if (c.ray) {
    AcDbRay ray;
    ray.setBasePoint(c.base);
    ray.setUnitDir(c.direction);
    EXPECT_EQ(RayToLineCurve(&ray, curve), 1);
  } else {
    AcDbXline xline;
    xline.setBasePoint(c.base);
    xline.setUnitDir(c.direction);
    EXPECT_EQ(XlineToLineCurve(&xline, curve), 1);
  }
  ExpectNear(curve.m_line.from, c.from, 0);
  ExpectNear(curve.m_line.to, c.to, 0);
  EXPECT_EQ(curve.Domain(), ON_Interval(0, c.ray ? 1 : 2));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, UnboundedLines,
    testing::Values(UnboundedCase{true, {1, 2, 3}, {1, 0, 0}, {1, 2, 3}, {2, 2, 3}},
                    UnboundedCase{true, {0, 0, 0}, {0, 0, -1}, {0, 0, 0}, {0, 0, -1}},
                    // A construction line runs from B + D to B - D, against its direction.
                    UnboundedCase{false, {0, 0, 0}, {0, 1, 0}, {0, 1, 0}, {0, -1, 0}},
                    UnboundedCase{false, {5, 5, 5}, {0, 0, 1}, {5, 5, 6}, {5, 5, 4}}));

struct CircleCase {
  AcGeVector3d normal;
  ON_3dVector xaxis;  // where openNURBS starts the circle
};

class CircleReader : public testing::TestWithParam<CircleCase> {};

TEST_P(CircleReader, FullCircleFromTheOpenNurbsXAxis) {
  const CircleCase& c = GetParam();
  AcDbCircle circle(AcGePoint3d(1, 2, 3), c.normal, 2.0);
  ON_ArcCurve curve;
  EXPECT_EQ(CircleToArcCurve(&circle, curve), 1);
  EXPECT_TRUE(curve.IsValid());
  EXPECT_TRUE(curve.IsCircle());
  EXPECT_TRUE(curve.IsClosed());
  EXPECT_EQ(curve.Domain(), ON_Interval(0, 4 * kPi));
  EXPECT_EQ(curve.Radius(), 2.0);
  ExpectNear(curve.PointAtStart(), ON_3dPoint(1, 2, 3) + 2.0 * c.xaxis);
  // A quarter of the domain later the circle has turned a right angle about the normal.
  const ON_3dVector n(c.normal.x, c.normal.y, c.normal.z);
  ExpectNear(curve.PointAt(kPi), ON_3dPoint(1, 2, 3) + 2.0 * ON_CrossProduct(n, c.xaxis));
}

INSTANTIATE_TEST_SUITE_P(Normals, CircleReader,
                         testing::Values(CircleCase{{0, 0, 1}, {1, 0, 0}},
                                         CircleCase{{0, 0, -1}, {-1, 0, 0}},
                                         CircleCase{{1, 0, 0}, {0, 1, 0}},
                                         CircleCase{{0, 1, 0}, {0, 0, 1}}));

struct ArcCase {
  AcGeVector3d normal;
  double start;
  double end;
  double sweep;
};

class ArcReader : public testing::TestWithParam<ArcCase> {};

TEST_P(ArcReader, RunsFromTheEntitysStartToItsEnd) {
  const ArcCase& c = GetParam();
  AcDbArc arc(AcGePoint3d(1, -1, 2), c.normal, 3.0, c.start, c.end);
  ON_ArcCurve curve;
  EXPECT_EQ(ArcToArcCurve(&arc, curve), 1);
  EXPECT_TRUE(curve.IsValid());
  EXPECT_NEAR(curve.AngleRadians(), c.sweep, 1e-12);
  AcGePoint3d start, end, mid;
  arc.getStartPoint(start);
  arc.getEndPoint(end);
  double s = 0, e = 0;
  arc.getStartParam(s);
  arc.getEndParam(e);
  arc.getPointAtParam(0.5 * (s + e), mid);
  ExpectNear(curve.PointAtStart(), On(start));
  ExpectNear(curve.PointAtEnd(), On(end));
  ExpectNear(curve.PointAt(curve.Domain().ParameterAt(0.5)), On(mid));
}

INSTANTIATE_TEST_SUITE_P(Arcs, ArcReader,
                         testing::Values(ArcCase{{0, 0, 1}, 0, kPi / 2, kPi / 2},
                                         ArcCase{{0, 0, 1}, 3 * kPi / 2, kPi / 4, 3 * kPi / 4},
                                         ArcCase{{0, 0, -1}, 0.3, 2.0, 1.7},
                                         ArcCase{{1, 2, 2}, 1.0, 5.0, 4.0},
                                         // Equal angles: a full turn.
                                         ArcCase{{0, 0, 1}, 1.0, 1.0, 2 * kPi},
                                         ArcCase{{0, 1, 0}, 0.0, 0.0, 2 * kPi}));

TEST(CurveReaders, QuarterArcThroughTheDiagonal) {
  AcDbArc arc(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, 1), 1.0, 0.0, kPi / 2);
  ON_ArcCurve curve;
  ArcToArcCurve(&arc, curve);
  ExpectNear(curve.PointAtStart(), ON_3dPoint(1, 0, 0));
  ExpectNear(curve.PointAtEnd(), ON_3dPoint(0, 1, 0));
  ExpectNear(curve.PointAt(curve.Domain().ParameterAt(0.5)), ON_3dPoint(kHalfRoot, kHalfRoot, 0));
  EXPECT_FALSE(curve.IsClosed());
}

struct EllipseCase {
  AcGeVector3d normal;
  AcGeVector3d major;
  double ratio;
  double start;
  double end;
};

class EllipseReader : public testing::TestWithParam<EllipseCase> {};

TEST_P(EllipseReader, NurbsFormLiesOnTheEllipseAndRunsBetweenItsEnds) {
  const EllipseCase& c = GetParam();
  const AcGePoint3d center(2, -3, 1);
  AcDbEllipse ellipse(center, c.normal, c.major, c.ratio, c.start, c.end);
  ASSERT_FALSE(ellipse.isNull());
  ON_NurbsCurve curve;
  EXPECT_EQ(EllipseToNurbsCurve(&ellipse, curve), 1);
  ASSERT_TRUE(curve.IsValid());
  EXPECT_TRUE(curve.IsRational());
  EXPECT_EQ(curve.Order(), 3);

  AcGePoint3d start, end;
  ellipse.getStartPoint(start);
  ellipse.getEndPoint(end);
  const double scale = c.major.length();
  ExpectNear(curve.PointAtStart(), On(start), 1e-12 * scale);
  ExpectNear(curve.PointAtEnd(), On(end), 1e-12 * scale);
  if (ellipse.isClosed()) {
    EXPECT_EQ(curve.CVCount(), 9);
    EXPECT_EQ(curve.Domain(), ON_Interval(0, 2 * kPi));
    ExpectNear(curve.PointAtStart(), On(center + c.major), 1e-12 * scale);
  } else {
    EXPECT_EQ(curve.Domain(), ON_Interval(ellipse.paramAtAngle(ellipse.startAngle()),
                                          ellipse.paramAtAngle(ellipse.endAngle())));
  }

  // On the ellipse: (u / a)^2 + (v / b)^2 = 1 in the ellipse's frame, no height above it.
  const AcGeVector3d x = c.major.normal(), y = ellipse.minorAxis().normal(), n = c.normal.normal();
  const double a = c.major.length(), b = a * c.ratio;
  const ON_Interval domain = curve.Domain();
  for (int i = 0; i < 50; ++i) {
    const ON_3dPoint p = curve.PointAt(domain.ParameterAt(i / 49.0));
    const AcGeVector3d d(p.x - center.x, p.y - center.y, p.z - center.z);
    const double u = d.dotProduct(x) / a, v = d.dotProduct(y) / b;
    EXPECT_NEAR(u * u + v * v, 1.0, 1e-9) << i;
    EXPECT_NEAR(d.dotProduct(n) / a, 0.0, 1e-9) << i;
    if (!ellipse.isClosed() && i > 0 && i < 49) {
      // Inside the arc: the angle from the start runs below the sweep.
      double t = std::atan2(v, u) - ellipse.paramAtAngle(ellipse.startAngle());
      while (t < 0) t += 2 * kPi;
      EXPECT_LT(t, ellipse.paramAtAngle(ellipse.endAngle()) -
                       ellipse.paramAtAngle(ellipse.startAngle()) + 1e-9);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Forms, EllipseReader,
                         testing::Values(EllipseCase{{0, 0, 1}, {4, 0, 0}, 0.5, 0, 2 * kPi},
                                         EllipseCase{{0, 0, 1}, {4, 0, 0}, 0.5, 0.3, 2.0},
                                         EllipseCase{{0, 0, 1}, {0, 3, 0}, 0.25, 5.5, 5.5 + 4.0},
                                         EllipseCase{{0, 0, -1}, {2, 2, 0}, 0.6, 1.0, 6.0},
                                         // An oblique normal, full and as an arc.
                                         EllipseCase{{1, 1, 1}, {1, -1, 0}, 0.4, 0, 2 * kPi},
                                         EllipseCase{{1, 1, 1}, {-2, 2, 0}, 0.7, 2.5, 4.0},
                                         EllipseCase{
                                             {0.2, -0.5, 1}, {1000, 0, -200}, 0.01, 0.1, 0.2}));

TEST(CurveReaders, EllipticalQuarterStartsAtTheMajorAxisEnd) {
  AcDbEllipse ellipse(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, 1), AcGeVector3d(2, 0, 0), 0.5, 0,
                      kPi / 2);
  ON_NurbsCurve curve;
  EllipseToNurbsCurve(&ellipse, curve);
  EXPECT_EQ(curve.CVCount(), 3);
  EXPECT_EQ(curve.Domain(), ON_Interval(0, kPi / 2));
  ExpectNear(curve.PointAtStart(), ON_3dPoint(2, 0, 0));
  ExpectNear(curve.PointAtEnd(), ON_3dPoint(0, 1, 0));
}

struct PolylineVertex {
  double x, y, bulge;
};

std::unique_ptr<AcDbPolyline> MakePolyline(const std::vector<PolylineVertex>& vertices, bool closed,
                                           double elevation = 0) {
  auto polyline = std::make_unique<AcDbPolyline>();
  for (unsigned i = 0; i < vertices.size(); ++i)
    polyline->addVertexAt(i, AcGePoint2d(vertices[i].x, vertices[i].y), vertices[i].bulge);
  polyline->setClosed(closed);
  polyline->setElevation(elevation);
  return polyline;
}

struct PolylineCase {
  std::vector<PolylineVertex> vertices;
  bool closed;
  int points;
};

class LightweightPolyline : public testing::TestWithParam<PolylineCase> {};

TEST_P(LightweightPolyline, VerticesInOrderFirstRepeatedWhenClosed) {
  const PolylineCase& c = GetParam();
  auto polyline = MakePolyline(c.vertices, c.closed, 2.5);
  ON_PolylineCurve curve;
  EXPECT_EQ(PolylineToPolylineCurve(polyline.get(), curve), 1);
  ASSERT_EQ(curve.PointCount(), c.points);
  for (int k = 0; k < c.points; ++k) {
    const PolylineVertex& v = c.vertices[static_cast<size_t>(k) % c.vertices.size()];
    EXPECT_EQ(curve.m_pline[k], ON_3dPoint(v.x, v.y, 2.5)) << k;
    EXPECT_EQ(curve.m_t[k], k);
  }
  if (c.points > 0) {
    EXPECT_EQ(curve.Domain(), ON_Interval(0, c.points - 1));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, LightweightPolyline,
    testing::Values(PolylineCase{{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, false, 4},
                    PolylineCase{{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, true, 5},
                    // Bulges are not looked at: the arc becomes its chord.
                    PolylineCase{{{0, 0, 1}, {2, 0, -0.5}, {2, 2, 0}}, false, 3},
                    PolylineCase{{}, true, 0}));

TEST(CurveReaders, ClosedPolylineEndingOnItsFirstVertexKeepsBothPoints) {
  auto polyline = MakePolyline({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 0}}, true);
  ON_PolylineCurve curve;
  PolylineToPolylineCurve(polyline.get(), curve);
  ASSERT_EQ(curve.PointCount(), 5);
  EXPECT_EQ(curve.m_pline[3], ON_3dPoint(0, 0, 0));
  EXPECT_EQ(curve.m_pline[4], ON_3dPoint(0, 0, 0));
  EXPECT_FALSE(curve.IsValid());  // built all the same
}

TEST(CurveReaders, BulgedPolylineGivesLineAndArcPiecesAfterThoseHeld) {
  // A unit square whose second side bulges outwards (+1, a half circle) and whose closing side
  // bulges the other way (-1).
  auto polyline = MakePolyline({{0, 0, 0}, {1, 0, 1}, {1, 1, 0}, {0, 1, -1}}, true, 3);
  ON_PolyCurve poly;
  ASSERT_TRUE(poly.Append(new ON_LineCurve(ON_3dPoint(-5, 0, 0), ON_3dPoint(-4, 0, 0))));
  EXPECT_EQ(PolylineToPolyCurve(polyline.get(), poly), 1);
  ASSERT_EQ(poly.Count(), 5);
  EXPECT_EQ(poly.SegmentCurve(0)->PointAtStart(), ON_3dPoint(-5, 0, 0));  // kept in front

  const auto* line = dynamic_cast<const ON_LineCurve*>(poly.SegmentCurve(1));
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->m_line.from, ON_3dPoint(0, 0, 3));
  EXPECT_EQ(line->m_line.to, ON_3dPoint(1, 0, 3));

  const auto* outward = dynamic_cast<const ON_ArcCurve*>(poly.SegmentCurve(2));
  ASSERT_NE(outward, nullptr);
  ExpectNear(outward->PointAtStart(), ON_3dPoint(1, 0, 3));
  ExpectNear(outward->PointAtEnd(), ON_3dPoint(1, 1, 3));
  ExpectNear(outward->PointAt(outward->Domain().ParameterAt(0.5)), ON_3dPoint(1.5, 0.5, 3));
  EXPECT_NEAR(outward->AngleRadians(), kPi, 1e-12);

  EXPECT_NE(dynamic_cast<const ON_LineCurve*>(poly.SegmentCurve(3)), nullptr);

  // The negative bulge turns clockwise seen from above: the half circle swings into the square.
  const auto* inward = dynamic_cast<const ON_ArcCurve*>(poly.SegmentCurve(4));
  ASSERT_NE(inward, nullptr);
  ExpectNear(inward->PointAtStart(), ON_3dPoint(0, 1, 3));
  ExpectNear(inward->PointAtEnd(), ON_3dPoint(0, 0, 3));
  ExpectNear(inward->PointAt(inward->Domain().ParameterAt(0.5)), ON_3dPoint(0.5, 0.5, 3));
  EXPECT_TRUE(poly.IsValid());
}

TEST(CurveReaders, PolylineToPolyCurveSkipsCoincidentSegments) {
  auto polyline = MakePolyline({{0, 0, 0}, {0, 0, 0}, {1, 0, 0.25}, {2, 0, 0}}, false);
  ON_PolyCurve poly;
  PolylineToPolyCurve(polyline.get(), poly);
  ASSERT_EQ(poly.Count(), 2);
  EXPECT_NE(dynamic_cast<const ON_LineCurve*>(poly.SegmentCurve(0)), nullptr);
  EXPECT_NE(dynamic_cast<const ON_ArcCurve*>(poly.SegmentCurve(1)), nullptr);
}

AcGePoint3dArray PointArray(std::initializer_list<AcGePoint3d> list) {
  AcGePoint3dArray points;
  for (const AcGePoint3d& p : list) points.append(p);
  return points;
}

struct SplineCase {
  int degree;
  bool rational;
  std::vector<double> knots;  // the host's, with the end knots
};

class SplineReader : public testing::TestWithParam<SplineCase> {};

TEST_P(SplineReader, KeepsControlPointsAndInnerKnotsNotWeights) {
  const SplineCase& c = GetParam();
  const AcGePoint3dArray points =
      PointArray({{0, 0, 0}, {1, 2, 0}, {3, 2, 1}, {4, 0, 0}, {6, 1, 2}});
  AcGeDoubleArray knots, weights;
  for (double k : c.knots) knots.append(k);
  const int count = static_cast<int>(c.knots.size()) - c.degree - 1;
  AcGePoint3dArray used;
  for (int i = 0; i < count; ++i) {
    used.append(points[i]);
    weights.append(c.rational ? 1.0 + i : 1.0);
  }
  AcDbSpline spline(c.degree, c.rational, false, false, used, knots, weights);
  ASSERT_FALSE(spline.isNull());
  ON_NurbsCurve curve;
  EXPECT_EQ(SplineToNurbsCurve(&spline, curve), 1);
  EXPECT_TRUE(curve.IsValid());
  EXPECT_FALSE(curve.IsRational());
  EXPECT_EQ(curve.Order(), c.degree + 1);
  ASSERT_EQ(curve.CVCount(), count);
  ASSERT_EQ(curve.KnotCount(), static_cast<int>(c.knots.size()) - 2);
  for (int i = 0; i < curve.KnotCount(); ++i)
    EXPECT_EQ(curve.Knot(i), c.knots[static_cast<size_t>(i) + 1]);
  for (int i = 0; i < count; ++i) {
    ON_3dPoint cv;
    curve.GetCV(i, cv);
    EXPECT_EQ(cv, On(used[i]));
    EXPECT_EQ(curve.Weight(i), 1.0);
  }
  // Same parametrisation: the non-rational spline and the curve agree everywhere.
  if (!c.rational) {
    for (double f : {0.0, 0.3, 0.7, 1.0}) {
      double s = 0, e = 0;
      spline.getStartParam(s);
      spline.getEndParam(e);
      AcGePoint3d p;
      spline.getPointAtParam(s + f * (e - s), p);
      ExpectNear(curve.PointAt(s + f * (e - s)), On(p), 1e-12);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Splines, SplineReader,
                         testing::Values(SplineCase{3, false, {0, 0, 0, 0, 1, 1, 1, 1}},
                                         SplineCase{3, false, {0, 0, 0, 0, 0.5, 2, 2, 2, 2}},
                                         SplineCase{2, true, {1, 1, 1, 2, 3, 3, 3}},
                                         SplineCase{1, false, {0, 0, 1, 3, 4, 4}}));

// 2D and 3D polylines keep their vertices in the database.
class PolylineVertices : public ::testing::Test {
 protected:
  HostSession session_;
};

template <class Entity>
AcDbObjectId AddAndOpen(Entity* entity, Entity*& opened) {
  const AcDbObjectId id = AddEntity(entity);
  EXPECT_EQ(acdbOpenObject(opened, id, AcDb::kForRead), Acad::eOk);
  return id;
}

TEST_F(PolylineVertices, TwoDimensionalTakesElevationAsZInItsOwnSystem) {
  auto* made = new AcDb2dPolyline(AcDb::k2dSimplePoly,
                                  PointArray({{0, 0, 0}, {4, 0, 0}, {4, 3, 0}}), 5.0, true);
  made->setNormal(AcGeVector3d(1, 0, 0));  // not applied: the points stay in object coordinates
  AcDb2dPolyline* polyline = nullptr;
  AddAndOpen(made, polyline);
  ASSERT_NE(polyline, nullptr);
  ON_PolylineCurve curve;
  EXPECT_EQ(Polyline2dToPolylineCurve(polyline, curve), 1);
  polyline->close();
  ASSERT_EQ(curve.PointCount(), 4);
  EXPECT_EQ(curve.m_pline[0], ON_3dPoint(0, 0, 5));
  EXPECT_EQ(curve.m_pline[2], ON_3dPoint(4, 3, 5));
  EXPECT_EQ(curve.m_pline[3], ON_3dPoint(0, 0, 5));
  EXPECT_EQ(curve.Domain(), ON_Interval(0, 3));
}

TEST_F(PolylineVertices, ThreeDimensionalOpenAndClosed) {
  for (bool closed : {false, true}) {
    AcDb3dPolyline* polyline = nullptr;
    AddAndOpen(new AcDb3dPolyline(AcDb::k3dSimplePoly,
                                  PointArray({{0, 0, 0}, {1, 2, 3}, {4, 5, 6}}), closed),
               polyline);
    ASSERT_NE(polyline, nullptr);
    ON_PolylineCurve curve;
    EXPECT_EQ(Polyline3dToPolylineCurve(polyline, curve), 1);
    polyline->close();
    ASSERT_EQ(curve.PointCount(), closed ? 4 : 3);
    EXPECT_EQ(curve.m_pline[1], ON_3dPoint(1, 2, 3));
    EXPECT_EQ(curve.m_pline[2], ON_3dPoint(4, 5, 6));
    if (closed) {
      EXPECT_EQ(curve.m_pline[3], ON_3dPoint(0, 0, 0));
    }
  }
}

TEST(CurveReaders, PointsToPointArrayKeepsOrder) {
  const ON_3dPointArray points = PointsToPointArray(PointArray({{1, 2, 3}, {-1, 0, 7}}));
  ASSERT_EQ(points.Count(), 2);
  EXPECT_EQ(points[0], ON_3dPoint(1, 2, 3));
  EXPECT_EQ(points[1], ON_3dPoint(-1, 0, 7));
  EXPECT_EQ(PointsToPointArray(AcGePoint3dArray()).Count(), 0);
}

struct SampleCase {
  double step;
  std::vector<double> xs;
};

class SampleCurveSteps : public testing::TestWithParam<SampleCase> {};

TEST_P(SampleCurveSteps, AppendsStepsAndAlwaysTheEnd) {
  const SampleCase& c = GetParam();
  AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
  AcGePoint3dArray points = PointArray({{-7, -7, -7}});
  EXPECT_EQ(SampleCurve(&line, c.step, points), 1);
  ASSERT_EQ(points.length(), static_cast<int>(c.xs.size()) + 1);
  EXPECT_EQ(points[0], AcGePoint3d(-7, -7, -7));
  for (size_t i = 0; i < c.xs.size(); ++i)
    EXPECT_NEAR(points[static_cast<int>(i) + 1].x, c.xs[i], 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Steps, SampleCurveSteps,
                         testing::Values(SampleCase{3, {0, 3, 6, 9, 10}}, SampleCase{5, {0, 5, 10}},
                                         SampleCase{20, {0, 10}}));

TEST(CurveReaders, SampleCurveOnAnArcSpacesByParameter) {
  AcDbArc arc(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, 1), 2.0, 0, kPi);
  AcGePoint3dArray points;
  SampleCurve(&arc, kPi / 2, points);  // a quarter of the length 2 pi
  ASSERT_EQ(points.length(), 5);
  EXPECT_NEAR(points[2].y, 2.0, 1e-12);
  EXPECT_NEAR(points[4].x, -2.0, 1e-12);
}

}  // namespace
