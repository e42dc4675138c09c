// Splines: NURBS data round trips and refusals, evaluation against the Bezier form, rational
// arcs, interpolation through fit points with and without end tangents, length and transforms.
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

AcGePoint3dArray Points(std::initializer_list<AcGePoint3d> list) {
  AcGePoint3dArray a;
  for (const AcGePoint3d& p : list) a.append(p);
  return a;
}

AcGeDoubleArray Doubles(std::initializer_list<double> list) {
  AcGeDoubleArray a;
  for (double d : list) a.append(d);
  return a;
}

TEST(Spline, NurbsDataRoundTripWithUnitWeights) {
  const AcGePoint3dArray controls = Points({{0, 0, 0}, {1, 2, 0}, {3, 2, 0}, {4, 0, 1}});
  AcDbSpline spline;
  EXPECT_TRUE(spline.isNull());
  ASSERT_EQ(spline.setNurbsData(3, false, false, false, controls, Doubles({0, 0, 0, 0, 1, 1, 1, 1}),
                                AcGeDoubleArray(), 0, 0),
            Acad::eOk);
  EXPECT_FALSE(spline.isNull());
  int degree = 0;
  Adesk::Boolean rational = true, closed = true, periodic = true;
  AcGePoint3dArray c;
  AcGeDoubleArray knots, weights;
  double ct = 1, kt = 1;
  ASSERT_EQ(spline.getNurbsData(degree, rational, closed, periodic, c, knots, weights, ct, kt),
            Acad::eOk);
  EXPECT_EQ(degree, 3);
  EXPECT_FALSE(rational);
  EXPECT_FALSE(closed);
  EXPECT_FALSE(periodic);
  EXPECT_EQ(c, controls);
  EXPECT_EQ(knots, Doubles({0, 0, 0, 0, 1, 1, 1, 1}));
  EXPECT_EQ(weights, Doubles({1, 1, 1, 1}));
  // The cubic Bezier form at t = 0.5: (P0 + 3 P1 + 3 P2 + P3) / 8.
  AcGePoint3d mid;
  ASSERT_EQ(spline.getPointAtParam(0.5, mid), Acad::eOk);
  ExpectNear(mid, AcGePoint3d((0 + 3 + 9 + 4) / 8.0, (0 + 6 + 6 + 0) / 8.0, 1 / 8.0));
  AcGePoint3d end;
  spline.getEndPoint(end);
  ExpectNear(end, AcGePoint3d(4, 0, 1));
  EXPECT_EQ(spline.getPointAtParam(1.5, mid), Acad::eInvalidInput);
}

struct BadData {
  int degree;
  bool rational;
  int controls;
  std::vector<double> knots;
  std::vector<double> weights;
};

class SplineRefuses : public ::testing::TestWithParam<BadData> {};

TEST_P(SplineRefuses, BadNurbsDataAndChangesNothing) {
  AcDbSpline spline(1, false, false, false, Points({{0, 0, 0}, {1, 0, 0}}), Doubles({0, 0, 1, 1}),
                    AcGeDoubleArray());
  ASSERT_FALSE(spline.isNull());
  AcGePoint3dArray controls;
  for (int i = 0; i < GetParam().controls; ++i) controls.append(AcGePoint3d(i, i * i, 0));
  AcGeDoubleArray knots, weights;
  for (double k : GetParam().knots) knots.append(k);
  for (double w : GetParam().weights) weights.append(w);
  EXPECT_EQ(spline.setNurbsData(GetParam().degree, GetParam().rational, false, false, controls,
                                knots, weights),
            Acad::eInvalidInput);
  EXPECT_EQ(spline.numControlPoints(), 2);
  EXPECT_EQ(spline.degree(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplineRefuses,
    ::testing::Values(BadData{0, false, 2, {0, 1}, {}},                      // degree 0
                      BadData{3, false, 3, {0, 0, 0, 0, 1, 1, 1}, {}},       // too few controls
                      BadData{2, false, 3, {0, 0, 0, 1, 1}, {}},             // one knot short
                      BadData{2, false, 3, {0, 0, 1, 0, 1, 1}, {}},          // decreasing
                      BadData{2, false, 3, {1, 1, 1, 1, 1, 1}, {}},          // no domain
                      BadData{2, true, 3, {0, 0, 0, 1, 1, 1}, {1, 1}},       // a weight short
                      BadData{2, true, 3, {0, 0, 0, 1, 1, 1}, {1, 0, 1}}));  // zero weight

TEST(Spline, RationalQuarterCircle) {
  const double w = std::sqrt(0.5);
  AcDbSpline arc(2, true, false, false, Points({{1, 0, 0}, {1, 1, 0}, {0, 1, 0}}),
                 Doubles({0, 0, 0, 1, 1, 1}), Doubles({1, w, 1}));
  ASSERT_FALSE(arc.isNull());
  for (double u : {0.1, 0.37, 0.5, 0.9}) {
    AcGePoint3d p;
    arc.getPointAtParam(u, p);
    EXPECT_NEAR(p.asVector().length(), 1, 1e-12);
  }
  double length = 0;
  ASSERT_EQ(arc.getDistAtParam(1, length), Acad::eOk);
  EXPECT_NEAR(length, kPi / 2, 1e-9);
  EXPECT_DOUBLE_EQ(arc.weightAt(1), w);
}

TEST(Spline, FitPointsLieOnTheCurve) {
  const AcGePoint3dArray fit =
      Points({{0, 0, 0}, {1, 2, 0}, {3, 3, 1}, {6, 1, 0}, {8, 4, 2}, {9, 0, 0}});
  const AcDbSpline spline(fit);
  ASSERT_FALSE(spline.isNull());
  EXPECT_EQ(spline.degree(), 3);
  EXPECT_TRUE(spline.hasFitData());
  EXPECT_EQ(spline.numFitPoints(), 6);
  int degree = 0;
  Adesk::Boolean rational = false, closed = false, periodic = false;
  AcGePoint3dArray controls;
  AcGeDoubleArray knots, weights;
  double ct = 0, kt = 0;
  spline.getNurbsData(degree, rational, closed, periodic, controls, knots, weights, ct, kt);
  EXPECT_EQ(controls.length(), 6);
  EXPECT_EQ(knots.length(), 10);
  // Chord-length parameters: each fit point is reached at its share of the polygon's length.
  std::vector<double> chord = {0};
  for (int i = 1; i < fit.length(); ++i)
    chord.push_back(chord.back() + fit[i].distanceTo(fit[i - 1]));
  for (int i = 0; i < fit.length(); ++i) {
    AcGePoint3d p;
    spline.getPointAtParam(chord[static_cast<size_t>(i)] / chord.back(), p);
    ExpectNear(p, fit[i]);
  }
}

TEST(Spline, EndTangentsAreHonoured) {
  const AcGePoint3dArray fit = Points({{0, 0, 0}, {2, 1, 0}, {4, 0, 0}});
  const AcDbSpline spline(fit, AcGeVector3d(0, 1, 0), AcGeVector3d(0, -1, 0));
  ASSERT_FALSE(spline.isNull());
  EXPECT_EQ(spline.numControlPoints(), 5);
  // The second control point lies on the start tangent, the one before last on the end's.
  AcGePoint3d c1, c3;
  spline.getControlPointAt(1, c1);
  spline.getControlPointAt(3, c3);
  EXPECT_NEAR(c1.x, 0, 1e-12);
  EXPECT_GT(c1.y, 0);
  EXPECT_NEAR(c3.x, 4, 1e-12);
  EXPECT_GT(c3.y, 0);
  AcGePoint3d mid;
  spline.getPointAtParam(0.5, mid);
  ExpectNear(mid, AcGePoint3d(2, 1, 0));
  AcGePoint3dArray got;
  int degree = 0;
  double tol = -1;
  Adesk::Boolean tangents = false;
  AcGeVector3d t0, t1;
  ASSERT_EQ(spline.getFitData(got, degree, tol, tangents, t0, t1), Acad::eOk);
  EXPECT_TRUE(tangents);
  EXPECT_EQ(t1, AcGeVector3d(0, -1, 0));
}

TEST(Spline, TooFewFitPointsGiveANullSpline) {
  EXPECT_TRUE(AcDbSpline(Points({{1, 1, 1}})).isNull());
  EXPECT_TRUE(AcDbSpline(Points({{1, 1, 1}, {1, 1, 1}})).isNull());
  EXPECT_TRUE(AcDbSpline(Points({{0, 0, 0}, {1, 0, 0}}), 1).isNull());  // order 1
  const AcDbSpline two(Points({{0, 0, 0}, {2, 0, 0}}));
  ASSERT_FALSE(two.isNull());
  EXPECT_EQ(two.degree(), 1);
  double length = 0;
  two.getDistAtParam(1, length);
  EXPECT_NEAR(length, 2, 1e-12);
}

TEST(Spline, TransformMovesControlAndFitPoints) {
  AcDbSpline spline(Points({{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 2, 0}}));
  AcGePoint3d before;
  spline.getPointAtParam(0.4, before);
  AcGeMatrix3d m = AcGeMatrix3d::rotation(0.3, AcGeVector3d::kZAxis);
  m.entry[0][0] *= 2;  // not uniform: splines take any affine map
  ASSERT_EQ(spline.transformBy(m), Acad::eOk);
  AcGePoint3d after, fit;
  spline.getPointAtParam(0.4, after);
  ExpectNear(after, m * before);
  spline.getFitPointAt(3, fit);
  ExpectNear(fit, m * AcGePoint3d(3, 2, 0));
  EXPECT_TRUE(AcDbSpline(Points({{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {0, 0, 0}})).isClosed());
}

}  // namespace
