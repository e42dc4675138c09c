#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "opennurbs.h"

namespace {

void ExpectNear(const ON_3dPoint& a, const ON_3dPoint& b, double tol = 1e-12) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
  EXPECT_NEAR(a.z, b.z, tol);
}

ON_3dPointArray Points(std::initializer_list<ON_3dPoint> list) {
  ON_3dPointArray points;
  for (const ON_3dPoint& p : list) points.Append(p);
  return points;
}

TEST(ONLineCurve, DomainRunsOverTheLength) {
  const ON_LineCurve curve(ON_3dPoint(1, 2, 3), ON_3dPoint(4, 6, 3));
  EXPECT_TRUE(curve.IsValid());
  EXPECT_EQ(curve.Domain(), ON_Interval(0, 5));
  EXPECT_EQ(curve.PointAtStart(), ON_3dPoint(1, 2, 3));
  EXPECT_EQ(curve.PointAtEnd(), ON_3dPoint(4, 6, 3));
  ExpectNear(curve.PointAt(2.5), ON_3dPoint(2.5, 4, 3));
  EXPECT_FALSE(curve.IsClosed());
}

TEST(ONLineCurve, ZeroLengthIsBuiltButNotValid) {
  const ON_LineCurve curve(ON_3dPoint(1, 1, 1), ON_3dPoint(1, 1, 1));
  EXPECT_EQ(curve.m_line.from, ON_3dPoint(1, 1, 1));
  EXPECT_EQ(curve.Domain(), ON_Interval(0, 0));
  EXPECT_FALSE(curve.IsValid());
  EXPECT_EQ(curve.PointAt(0), ON_3dPoint(1, 1, 1));
}

TEST(ONCurve, SetDomainRemapsAndRefusesNonIncreasing) {
  ON_LineCurve line(ON_3dPoint(0, 0, 0), ON_3dPoint(10, 0, 0));
  EXPECT_FALSE(line.SetDomain(3, 3));
  EXPECT_FALSE(line.SetDomain(4, 3));
  EXPECT_EQ(line.Domain(), ON_Interval(0, 10));
  ASSERT_TRUE(line.SetDomain(-1, 1));
  ExpectNear(line.PointAt(0), ON_3dPoint(5, 0, 0));

  ON_PolylineCurve polyline(Points({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}));
  ASSERT_TRUE(polyline.SetDomain(10, 14));
  EXPECT_EQ(polyline.m_t[1], 12.0);
  ExpectNear(polyline.PointAt(13), ON_3dPoint(1, 0.5, 0));
}

TEST(ONArcCurve, CircleRunsOverItsCircumference) {
  const ON_ArcCurve curve(ON_Circle(ON_Plane::World_xy, ON_3dPoint(1, 0, 0), 2.0));
  EXPECT_TRUE(curve.IsValid());
  EXPECT_TRUE(curve.IsCircle());
  EXPECT_TRUE(curve.IsClosed());
  EXPECT_EQ(curve.Domain(), ON_Interval(0, 4 * ON_PI));
  ExpectNear(curve.PointAt(0), ON_3dPoint(3, 0, 0));
  ExpectNear(curve.PointAt(ON_PI), ON_3dPoint(1, 2, 0));  // a quarter of the way round
  ExpectNear(curve.PointAtEnd(), ON_3dPoint(3, 0, 0));
}

TEST(ONArcCurve, ArcRunsOverItsAngles) {
  const ON_ArcCurve curve(ON_Arc(ON_Circle(ON_Plane::World_xy, 1.0), ON_Interval(0, ON_PI / 2)));
  EXPECT_FALSE(curve.IsClosed());
  EXPECT_EQ(curve.Domain(), ON_Interval(0, ON_PI / 2));
  ExpectNear(curve.PointAt(ON_PI / 4), ON_3dPoint(ON_SQRT1_2, ON_SQRT1_2, 0));
  ExpectNear(curve.PointAtEnd(), ON_3dPoint(0, 1, 0));
}

TEST(ONPolylineCurve, PointKAtParameterK) {
  const ON_PolylineCurve curve(Points({{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}}));
  EXPECT_TRUE(curve.IsValid());
  EXPECT_EQ(curve.PointCount(), 4);
  EXPECT_EQ(curve.Domain(), ON_Interval(0, 3));
  for (int k = 0; k < 4; ++k) EXPECT_EQ(curve.PointAt(k), curve.m_pline[k]);
  ExpectNear(curve.PointAt(1.5), ON_3dPoint(2, 1, 0));
  EXPECT_FALSE(curve.IsClosed());
}

TEST(ONPolylineCurve, RepeatedPointIsBuiltButNotValid) {
  const ON_PolylineCurve curve(Points({{0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {1, 1, 0}}));
  EXPECT_EQ(curve.PointCount(), 4);
  EXPECT_EQ(curve.Domain(), ON_Interval(0, 3));
  EXPECT_FALSE(curve.IsValid());
  EXPECT_FALSE(ON_PolylineCurve(Points({{0, 0, 0}})).IsValid());
  EXPECT_FALSE(ON_PolylineCurve().Domain().IsValid());
}

TEST(ONPolylineCurve, ClosedWhenLastEqualsFirst) {
  const ON_PolylineCurve curve(Points({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 0}}));
  EXPECT_TRUE(curve.IsValid());
  EXPECT_TRUE(curve.IsClosed());
}

TEST(ONPolyCurve, AppendTakesOwnershipAndChainsDomains) {
  ON_PolyCurve poly;
  EXPECT_FALSE(poly.Append(nullptr));
  ASSERT_TRUE(poly.Append(new ON_LineCurve(ON_3dPoint(0, 0, 0), ON_3dPoint(2, 0, 0))));
  ASSERT_TRUE(
      poly.Append(new ON_ArcCurve(ON_Arc(ON_Circle(ON_Plane::World_xy, ON_3dPoint(2, 1, 0), 1.0),
                                         ON_Interval(-ON_PI / 2, ON_PI / 2)))));
  EXPECT_EQ(poly.Count(), 2);
  EXPECT_TRUE(poly.IsValid());
  EXPECT_EQ(poly.SegmentDomain(0), ON_Interval(0, 2));
  EXPECT_DOUBLE_EQ(poly.SegmentDomain(1)[1], 2 + ON_PI);
  ExpectNear(poly.PointAt(1), ON_3dPoint(1, 0, 0));
  ExpectNear(poly.PointAt(2 + ON_PI / 2), ON_3dPoint(3, 1, 0));
  ExpectNear(poly.PointAtEnd(), ON_3dPoint(2, 2, 0));
  EXPECT_EQ(poly.SegmentCurve(2), nullptr);

  // A copy owns copies of the segments: both can be destroyed.
  const ON_PolyCurve copy(poly);
  EXPECT_NE(copy.SegmentCurve(0), poly.SegmentCurve(0));
  ExpectNear(copy.PointAtEnd(), ON_3dPoint(2, 2, 0));
  std::unique_ptr<ON_Curve> duplicate(poly.DuplicateCurve());
  ExpectNear(duplicate->PointAt(1), ON_3dPoint(1, 0, 0));
}

TEST(ONPolyCurve, EmptyIsNotValid) {
  ON_PolyCurve poly;
  EXPECT_FALSE(poly.IsValid());
  EXPECT_FALSE(poly.Domain().IsValid());
  ON_3dPoint p;
  EXPECT_FALSE(poly.EvPoint(0, p));
}

TEST(ONCurve, TranslateMovesEveryKind) {
  const ON_3dVector v(1, 2, 3);
  ON_LineCurve line(ON_3dPoint(0, 0, 0), ON_3dPoint(1, 0, 0));
  ON_ArcCurve arc(ON_Circle(ON_Plane::World_xy, 1.0));
  ON_PolylineCurve polyline(Points({{0, 0, 0}, {1, 0, 0}}));
  ON_Curve* curves[] = {&line, &arc, &polyline};
  for (ON_Curve* curve : curves) {
    const ON_3dPoint before = curve->PointAtStart();
    ASSERT_TRUE(curve->Translate(v));
    ExpectNear(curve->PointAtStart(), before + v);
  }
  const ON_BoundingBox box = arc.BoundingBox();
  ExpectNear(box.m_min, ON_3dPoint(0, 1, 3));
  ExpectNear(box.m_max, ON_3dPoint(2, 3, 3));
}

}  // namespace
