// Rays, construction lines, arcs and ellipses: parameters and points, the sense of arcs about
// their normal, object coordinates by the arbitrary-axis rule, ellipse angles and parameters,
// and the geometry library's arcs and frames.
#include <gtest/gtest.h>

#include <cmath>

#include "arx.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

void ExpectNear(const AcGePoint3d& a, const AcGePoint3d& b, double tol = 1e-9) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
  EXPECT_NEAR(a.z, b.z, tol);
}

void ExpectNear(const AcGeVector3d& a, const AcGeVector3d& b, double tol = 1e-9) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
  EXPECT_NEAR(a.z, b.z, tol);
}

AcGeVector3d XAxisOf(const AcGeVector3d& normal) {
  AcGePoint3d o;
  AcGeVector3d x, y, z;
  AcGeMatrix3d::planeToWorld(normal).getCoordSystem(o, x, y, z);
  return x;
}

struct AxisCase {
  AcGeVector3d normal;
  AcGeVector3d xAxis;
};

class ArbitraryAxis : public ::testing::TestWithParam<AxisCase> {};

TEST_P(ArbitraryAxis, PicksTheHostsObjectXAxis) {
  ExpectNear(XAxisOf(GetParam().normal), GetParam().xAxis);
  // The frame is right-handed and orthonormal: world to plane undoes plane to world.
  const AcGeMatrix3d there = AcGeMatrix3d::planeToWorld(GetParam().normal);
  EXPECT_TRUE(
      (AcGeMatrix3d::worldToPlane(GetParam().normal) * there).isEqualTo(AcGeMatrix3d::kIdentity));
  EXPECT_NEAR(there.det(), 1.0, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Normals, ArbitraryAxis,
    ::testing::Values(AxisCase{AcGeVector3d(0, 0, 1), AcGeVector3d(1, 0, 0)},
                      AxisCase{AcGeVector3d(0, 0, -1), AcGeVector3d(-1, 0, 0)},
                      AxisCase{AcGeVector3d(1, 0, 0), AcGeVector3d(0, 1, 0)},
                      AxisCase{AcGeVector3d(0, 1, 0), AcGeVector3d(-1, 0, 0)},
                      // |N.x| exactly 1/64 takes world Z, as the rule's strict test says.
                      AxisCase{AcGeVector3d(1.0 / 64, 0, std::sqrt(1 - 1.0 / 4096)),
                               AcGeVector3d(0, 1, 0)}));

TEST(Ray, RunsFromItsBasePointWithoutEnd) {
  AcDbRay ray;
  ASSERT_EQ(ray.setBasePoint(AcGePoint3d(1, 2, 3)), Acad::eOk);
  ASSERT_EQ(ray.setUnitDir(AcGeVector3d(2, 0, 0)), Acad::eOk);
  EXPECT_EQ(ray.unitDir(), AcGeVector3d(1, 0, 0));
  EXPECT_EQ(ray.setUnitDir(AcGeVector3d()), Acad::eInvalidInput);
  double p = -1;
  AcGePoint3d pt;
  EXPECT_EQ(ray.getStartParam(p), Acad::eOk);
  EXPECT_EQ(p, 0);
  EXPECT_EQ(ray.getEndParam(p), Acad::eNotApplicable);
  EXPECT_EQ(ray.getEndPoint(pt), Acad::eNotApplicable);
  ASSERT_EQ(ray.getPointAtParam(4, pt), Acad::eOk);
  EXPECT_EQ(pt, AcGePoint3d(5, 2, 3));
  EXPECT_EQ(ray.getPointAtParam(-1, pt), Acad::eInvalidInput);
  double d = 0;
  ASSERT_EQ(ray.getDistAtParam(4, d), Acad::eOk);
  EXPECT_EQ(d, 4);
  EXPECT_FALSE(ray.isClosed());
  AcDbExtents box;
  EXPECT_EQ(ray.getGeomExtents(box), Acad::eInvalidExtents);
  ASSERT_EQ(ray.transformBy(AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis)), Acad::eOk);
  ExpectNear(ray.basePoint(), AcGePoint3d(-2, 1, 3));
  ExpectNear(ray.unitDir(), AcGeVector3d(0, 1, 0));
}

TEST(Xline, RunsBothWaysThroughItsBasePoint) {
  AcDbXline xline;
  xline.setBasePoint(AcGePoint3d(0, 0, 0));
  xline.setSecondPoint(AcGePoint3d(0, 5, 0));
  EXPECT_EQ(xline.unitDir(), AcGeVector3d(0, 1, 0));
  AcGePoint3d pt;
  ASSERT_EQ(xline.getPointAtParam(-2, pt), Acad::eOk);
  EXPECT_EQ(pt, AcGePoint3d(0, -2, 0));
  double p = 0;
  EXPECT_EQ(xline.getStartParam(p), Acad::eNotApplicable);
  ASSERT_EQ(xline.getParamAtPoint(AcGePoint3d(0, 7, 0), p), Acad::eOk);
  EXPECT_DOUBLE_EQ(p, 7);
  EXPECT_EQ(xline.getParamAtPoint(AcGePoint3d(1, 7, 0), p), Acad::ePointNotOnEntity);
}

TEST(Arc, RunsCounterClockwiseAboutItsNormal) {
  AcDbArc arc(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 1, 0, kPi / 2);
  AcGePoint3d s, e, mid;
  arc.getStartPoint(s);
  arc.getEndPoint(e);
  ExpectNear(s, AcGePoint3d(1, 0, 0));
  ExpectNear(e, AcGePoint3d(0, 1, 0));
  ASSERT_EQ(arc.getPointAtParam(kPi / 4, mid), Acad::eOk);
  ExpectNear(mid, AcGePoint3d(std::sqrt(0.5), std::sqrt(0.5), 0));
  double d = 0;
  arc.getDistAtParam(kPi / 2, d);
  EXPECT_NEAR(d, kPi / 2, 1e-12);
  double p = 0;
  ASSERT_EQ(arc.getParamAtPoint(mid, p), Acad::eOk);
  EXPECT_NEAR(p, kPi / 4, 1e-12);
  EXPECT_EQ(arc.getParamAtPoint(AcGePoint3d(-1, 0, 0), p), Acad::ePointNotOnEntity);

  // Seen from below, the object X axis is -X and counter-clockwise turns the other way.
  AcDbArc under(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, -1), 1, 0, kPi / 2);
  under.getStartPoint(s);
  under.getEndPoint(e);
  ExpectNear(s, AcGePoint3d(-1, 0, 0));
  ExpectNear(e, AcGePoint3d(0, 1, 0));
  EXPECT_EQ(under.getPointAtParam(kPi, mid), Acad::eInvalidInput);
}

TEST(Arc, AnArcAcrossTheXAxisEndsAboveTwoPi) {
  AcDbArc arc(AcGePoint3d(0, 0, 0), 2, 1.5 * kPi, 0.5 * kPi);
  double s = 0, e = 0;
  arc.getStartParam(s);
  arc.getEndParam(e);
  EXPECT_DOUBLE_EQ(s, 1.5 * kPi);
  EXPECT_DOUBLE_EQ(e, 2.5 * kPi);
  EXPECT_DOUBLE_EQ(arc.endAngle(), 0.5 * kPi);
  EXPECT_NEAR(arc.length(), 2 * kPi, 1e-12);
  AcDbExtents box;
  ASSERT_EQ(arc.getGeomExtents(box), Acad::eOk);
  ExpectNear(box.minPoint(), AcGePoint3d(0, -2, 0));
  ExpectNear(box.maxPoint(), AcGePoint3d(2, 2, 0));
  EXPECT_EQ(arc.setRadius(-1), Acad::eInvalidInput);
  EXPECT_EQ(arc.setStartAngle(NAN), Acad::eInvalidInput);
  EXPECT_EQ(arc.setStartAngle(5 * kPi), Acad::eOk);
  EXPECT_NEAR(arc.startAngle(), kPi, 1e-12);
}

TEST(Arc, TransformsKeepItsPointsAMirrorIncluded) {
  const AcGeMatrix3d matrices[] = {
      AcGeMatrix3d::rotation(0.7, AcGeVector3d(1, 1, 0), AcGePoint3d(1, 2, 3)),
      AcGeMatrix3d::mirroring(AcGePoint3d(0, 0, 0), AcGeVector3d(1, 0, 0)),
      AcGeMatrix3d::scaling(3, AcGePoint3d(1, 0, 0)) *
          AcGeMatrix3d::rotation(kPi, AcGeVector3d::kYAxis)};
  for (const AcGeMatrix3d& m : matrices) {
    AcDbArc arc(AcGePoint3d(1, 1, 0), AcGeVector3d(0, 0.6, 0.8), 2, 0.3, 2.0);
    AcGePoint3d s, e, mid;
    arc.getStartPoint(s);
    arc.getEndPoint(e);
    arc.getPointAtParam(1.15, mid);
    ASSERT_EQ(arc.transformBy(m), Acad::eOk);
    AcGePoint3d s2, e2, mid2;
    arc.getStartPoint(s2);
    arc.getEndPoint(e2);
    double p0 = 0, p1 = 0;
    arc.getStartParam(p0);
    arc.getEndParam(p1);
    arc.getPointAtParam((p0 + p1) / 2, mid2);
    ExpectNear(s2, m * s);
    ExpectNear(e2, m * e);
    ExpectNear(mid2, m * mid);
  }
  AcDbArc arc(AcGePoint3d(0, 0, 0), 1, 0, 1);
  AcGeMatrix3d stretch;
  stretch.entry[1][1] = 2;
  EXPECT_EQ(arc.transformBy(stretch), Acad::eCannotScaleNonUniformly);
}

TEST(Ellipse, ParametersAndAnglesAgreeOnlyOnTheAxes) {
  AcDbEllipse ellipse(AcGePoint3d(1, 0, 0), AcGeVector3d::kZAxis, AcGeVector3d(2, 0, 0), 0.5);
  EXPECT_FALSE(ellipse.isNull());
  EXPECT_TRUE(ellipse.isClosed());
  ExpectNear(ellipse.minorAxis(), AcGeVector3d(0, 1, 0));
  for (double a : {0.0, kPi / 2, kPi, 1.5 * kPi, 2 * kPi})
    EXPECT_NEAR(ellipse.paramAtAngle(a), a, 1e-12);
  // At the angle 45 degrees the point (x, x) satisfies x = 2 cos t = sin t: tan t = 2.
  const double t = ellipse.paramAtAngle(kPi / 4);
  EXPECT_NEAR(t, std::atan(2.0), 1e-12);
  EXPECT_NEAR(ellipse.angleAtParam(t), kPi / 4, 1e-12);
  AcGePoint3d p;
  ASSERT_EQ(ellipse.getPointAtParam(t, p), Acad::eOk);
  EXPECT_NEAR(p.x - 1, p.y, 1e-12);
  double length = 0;
  ASSERT_EQ(ellipse.getDistAtParam(2 * kPi, length), Acad::eOk);
  EXPECT_NEAR(length, 9.688448220547675, 1e-9);  // perimeter of the 2 x 1 ellipse
  AcDbExtents box;
  ellipse.getGeomExtents(box);
  ExpectNear(box.minPoint(), AcGePoint3d(-1, -1, 0));
  ExpectNear(box.maxPoint(), AcGePoint3d(3, 1, 0));
}

TEST(Ellipse, AnArcRunsFromItsStartAngleToItsEndAngle) {
  AcDbEllipse arc(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, AcGeVector3d(0, 4, 0), 0.25, kPi / 2,
                  kPi / 4);
  EXPECT_FALSE(arc.isClosed());
  EXPECT_NEAR(arc.startAngle(), kPi / 2, 1e-12);
  EXPECT_NEAR(arc.endAngle(), kPi / 4 + 2 * kPi, 1e-12);  // above the start, within one turn
  double p0 = 0, p1 = 0;
  arc.getStartParam(p0);
  arc.getEndParam(p1);
  EXPECT_LT(p0, p1);
  EXPECT_NEAR(p0, arc.paramAtAngle(arc.startAngle()), 1e-12);
  AcGePoint3d s, e;
  arc.getStartPoint(s);
  arc.getEndPoint(e);
  // The major axis points along Y; the angle is measured from it about Z.
  ExpectNear(s, AcGePoint3d(-1, 0, 0));
  EXPECT_NEAR(std::atan2(-e.x, e.y), kPi / 4, 1e-12);
  EXPECT_EQ(arc.set(AcGePoint3d(), AcGeVector3d::kZAxis, AcGeVector3d(0, 0, 1), 0.5),
            Acad::eInvalidInput);
  EXPECT_EQ(arc.setRadiusRatio(1.5), Acad::eInvalidInput);
  AcDbEllipse null;
  EXPECT_TRUE(null.isNull());
}

TEST(Ellipse, TransformsKeepItsParameters) {
  AcDbEllipse ellipse(AcGePoint3d(1, 2, 3), AcGeVector3d(0, 0, 1), AcGeVector3d(3, 0, 0), 0.5, 0.2,
                      2.5);
  const AcGeMatrix3d m = AcGeMatrix3d::mirroring(AcGePoint3d(0, 0, 0), AcGeVector3d(1, 1, 0)) *
                         AcGeMatrix3d::scaling(2) *
                         AcGeMatrix3d::rotation(0.4, AcGeVector3d(0, 1, 1));
  double p0 = 0, p1 = 0;
  ellipse.getStartParam(p0);
  ellipse.getEndParam(p1);
  AcGePoint3d before[3];
  for (int i = 0; i < 3; ++i) ellipse.getPointAtParam(p0 + (p1 - p0) * i / 2, before[i]);
  ASSERT_EQ(ellipse.transformBy(m), Acad::eOk);
  for (int i = 0; i < 3; ++i) {
    AcGePoint3d after;
    ellipse.getPointAtParam(p0 + (p1 - p0) * i / 2, after);
    ExpectNear(after, m * before[i]);
  }
  EXPECT_NEAR(ellipse.majorRadius(), 6, 1e-12);
}

TEST(CircArc3d, ThroughThreePointsAndItsFrame) {
  const AcGeCircArc3d arc(AcGePoint3d(1, 0, 0), AcGePoint3d(0, 1, 0), AcGePoint3d(-1, 0, 0));
  ExpectNear(arc.center(), AcGePoint3d(0, 0, 0));
  EXPECT_NEAR(arc.radius(), 1, 1e-12);
  ExpectNear(arc.normal(), AcGeVector3d(0, 0, 1));
  EXPECT_NEAR(arc.endAng() - arc.startAng(), kPi, 1e-12);
  ExpectNear(arc.endPoint(), AcGePoint3d(-1, 0, 0));
  // Clockwise through the same ends: the normal turns over.
  const AcGeCircArc3d back(AcGePoint3d(1, 0, 0), AcGePoint3d(0, -1, 0), AcGePoint3d(-1, 0, 0));
  ExpectNear(back.normal(), AcGeVector3d(0, 0, -1));
  ExpectNear(back.evalPoint(kPi / 2), AcGePoint3d(0, -1, 0));
  AcGeCircArc3d moved = arc;
  moved.transformBy(AcGeMatrix3d::mirroring(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 1, 0)));
  ExpectNear(moved.startPoint(), AcGePoint3d(1, 0, 0));
  ExpectNear(moved.evalPoint(kPi / 2), AcGePoint3d(0, -1, 0));
}

TEST(GeVector, AngleToAboutAReference) {
  const AcGeVector3d x = AcGeVector3d::kXAxis, y = AcGeVector3d::kYAxis;
  EXPECT_NEAR(x.angleTo(y), kPi / 2, 1e-15);
  EXPECT_NEAR(x.angleTo(y, AcGeVector3d::kZAxis), kPi / 2, 1e-15);
  EXPECT_NEAR(x.angleTo(y, -AcGeVector3d::kZAxis), 1.5 * kPi, 1e-15);
  EXPECT_NEAR(x.angleTo(-x, AcGeVector3d::kZAxis), kPi, 1e-15);
  EXPECT_TRUE(AcGePoint3d(1, 1, 1).isEqualTo(AcGePoint3d(1, 1, 1 + 1e-11), AcGeContext::gTol));
  EXPECT_FALSE(AcGePoint3d(1, 1, 1).isEqualTo(AcGePoint3d(1, 1, 1 + 1e-9), AcGeContext::gTol));
}

TEST(GeMatrix, AlignsOneFrameOntoAnother) {
  const AcGeMatrix3d m = AcGeMatrix3d::alignCoordSys(
      AcGePoint3d(1, 0, 0), AcGeVector3d::kXAxis, AcGeVector3d::kYAxis, AcGeVector3d::kZAxis,
      AcGePoint3d(0, 0, 5), AcGeVector3d::kYAxis, -AcGeVector3d::kXAxis, AcGeVector3d::kZAxis);
  ExpectNear(m * AcGePoint3d(1, 0, 0), AcGePoint3d(0, 0, 5));
  ExpectNear(m * AcGePoint3d(2, 0, 0), AcGePoint3d(0, 1, 5));
  EXPECT_TRUE(m.isUniScaledOrtho());
  AcGeMatrix3d sheared;
  sheared.entry[0][1] = 0.5;
  EXPECT_FALSE(sheared.isScaledOrtho());
  AcGeMatrix3d stretched;
  stretched.entry[0][0] = 3;
  EXPECT_TRUE(stretched.isScaledOrtho());
  EXPECT_FALSE(stretched.isUniScaledOrtho());
  const AcGeMatrix3d mirror = AcGeMatrix3d::mirroring(AcGePoint3d(0, 0, 2), AcGeVector3d::kZAxis);
  ExpectNear(mirror * AcGePoint3d(1, 1, 0), AcGePoint3d(1, 1, 4));
  EXPECT_NEAR(mirror.det(), -1, 1e-12);
}

}  // namespace
