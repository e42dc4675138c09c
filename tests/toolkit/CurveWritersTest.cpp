// The curve writers on a real drawing: the entity each kind of curve becomes, the spline's
// NURBS data, the spline that the host refuses, and splines through fit points.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "MeshDrawing.h"
#include "NurbsCurves.h"
#include "TestSupport.h"
#include "toolkit/CurveWriters.h"
#include "toolkit/LastError.h"

using namespace plx::test;

namespace {

const wchar_t kUnchanged[] = L"unchanged";
const wchar_t kSplineRefused[] = L"Enable to create Spline";

std::wstring ClassOf(const AcDbObjectId& id) {
  AcDbEntity* entity = nullptr;
  EXPECT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForRead), Acad::eOk);
  if (!entity) return L"";
  const std::wstring name = entity->isA()->name();
  entity->close();
  return name;
}

template <class T, class Check>
void With(const AcDbObjectId& id, Check&& check) {
  T* entity = nullptr;
  ASSERT_EQ(acdbOpenObject(entity, id, AcDb::kForRead), Acad::eOk);
  check(*entity);
  entity->close();
}

AcGePoint3d ToAcGe(const ON_3dPoint& p) { return AcGePoint3d(p.x, p.y, p.z); }

void ExpectNear(const AcGePoint3d& a, const ON_3dPoint& b, double tol = 1e-9) {
  EXPECT_LT(a.distanceTo(ToAcGe(b)), tol) << "(" << a.x << ", " << a.y << ", " << a.z << ") vs ("
                                          << b.x << ", " << b.y << ", " << b.z << ")";
}

struct SplineData {
  int degree = 0;
  Adesk::Boolean rational = false, closed = false, periodic = false;
  AcGePoint3dArray points;
  AcGeDoubleArray knots, weights;
};

SplineData DataOf(const AcDbSpline& spline) {
  SplineData d;
  double controlTol = 0, knotTol = 0;
  EXPECT_EQ(spline.getNurbsData(d.degree, d.rational, d.closed, d.periodic, d.points, d.knots,
                                d.weights, controlTol, knotTol),
            Acad::eOk);
  return d;
}

std::vector<double> Values(const AcGeDoubleArray& a) {
  return std::vector<double>(a.begin(), a.end());
}

class CurveWriters : public ::testing::Test {
 protected:
  void SetUp() override { SetGeometryError(kUnchanged); }
  HostSession session_;
};

struct KindCase {
  const char* name;
  ON_NurbsCurve (*make)();
  const wchar_t* cls;
  friend void PrintTo(const KindCase& c, std::ostream* os) { *os << c.name; }
};

class CurveEntity : public ::testing::TestWithParam<KindCase> {
 protected:
  HostSession session_;
};

}  // namespace

TEST_P(CurveEntity, IsTheSimplestEntityThatDescribesIt) {
  const ON_NurbsCurve curve = GetParam().make();
  EXPECT_EQ(CurveToEntity(curve, L"Curves", IndexColour(4)), 1);
  const std::vector<AcDbObjectId> ids = ModelSpaceEntities();
  ASSERT_EQ(ids.size(), 1u);
  EXPECT_EQ(ClassOf(ids[0]), GetParam().cls);
  // Whatever it became, it starts and ends where the curve does.
  With<AcDbCurve>(ids[0], [&](AcDbCurve& entity) {
    AcGePoint3d start, end;
    ASSERT_EQ(entity.getStartPoint(start), Acad::eOk);
    ASSERT_EQ(entity.getEndPoint(end), Acad::eOk);
    ExpectNear(start, curve.PointAtStart());
    ExpectNear(end, curve.PointAtEnd());
    ACHAR* layer = entity.layer();
    EXPECT_STREQ(layer, L"Curves");
    acutDelString(layer);
    EXPECT_EQ(entity.colorIndex(), 4);
  });
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, CurveEntity,
    ::testing::Values(KindCase{"TwoPointDegreeOneIsALine",
                               [] {
                                 return DegreeOne({{1, 2, 3}, {4, 6, 3}});
                               },
                               L"AcDbLine"},
                      KindCase{"StraightPolylineIsALine",
                               [] {
                                 return DegreeOne({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
                               },
                               L"AcDbLine"},
                      KindCase{"RationalCircleIsACircle",
                               [] {
                                 return RationalCircle({1, 2, 3}, 5);
                               },
                               L"AcDbCircle"},
                      KindCase{"RationalQuarterIsAnArc",
                               [] {
                                 return RationalQuarter({0, 0, 0}, {0, 1, 0}, {-1, 0, 0}, 2);
                               },
                               L"AcDbArc"},
                      KindCase{"DegreeOneWithCornersIsA3dPolyline",
                               [] {
                                 return DegreeOne({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {1, 1, 1}});
                               },
                               L"AcDb3dPolyline"},
                      KindCase{"ClampedCubicIsASpline",
                               [] {
                                 return ClampedCubic({{0, 0, 0}, {1, 2, 0}, {3, 2, 1}, {4, 0, 0}});
                               },
                               L"AcDbSpline"},
                      KindCase{"CubicNearACircleIsASpline", [] { return CubicNearCircle(3); },
                               L"AcDbSpline"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CurveWriters, CircleKeepsCentreRadiusAndNormal) {
  CurveToEntity(RationalCircle({1, 2, 3}, 5), L"", IndexColour(1));
  With<AcDbCircle>(ModelSpaceEntities()[0], [](AcDbCircle& circle) {
    ExpectNear(circle.center(), ON_3dPoint(1, 2, 3));
    EXPECT_NEAR(circle.radius(), 5, 1e-9);
    EXPECT_TRUE(circle.normal().isEqualTo(AcGeVector3d(0, 0, 1)));
  });
}

TEST_F(CurveWriters, ArcKeepsTheCurvesStartPointAndSweep) {
  const ON_NurbsCurve curve = RationalQuarter({1, 1, 0}, {0, 1, 0}, {-1, 0, 0}, 2);
  CurveToEntity(curve, L"", IndexColour(1));
  With<AcDbArc>(ModelSpaceEntities()[0], [&](AcDbArc& arc) {
    EXPECT_NEAR(arc.totalAngle(), ON_PI / 2, 1e-9);
    EXPECT_NEAR(arc.radius(), 2, 1e-9);
    EXPECT_NEAR(arc.startAngle(), ON_PI / 2, 1e-9);  // (0, 1, 0) seen from the centre
    AcGePoint3d start;
    arc.getStartPoint(start);
    ExpectNear(start, ON_3dPoint(1, 3, 0));
  });
}

TEST_F(CurveWriters, PolylineHasTheCurvesVertices) {
  const ON_NurbsCurve curve = DegreeOne({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 0}});
  CurveToEntity(curve, L"", IndexColour(1));
  With<AcDb3dPolyline>(ModelSpaceEntities()[0], [](AcDb3dPolyline& polyline) {
    EXPECT_TRUE(polyline.isClosed());
    int count = 0;
    AcDbObjectIterator* it = polyline.vertexIterator();
    for (; !it->done(); it->step()) ++count;
    delete it;
    EXPECT_EQ(count, 4);
  });
}

TEST_F(CurveWriters, ClampedCubicGivesTheSplineItsKnotsOnceMoreAtEachEnd) {
  const std::vector<ON_3dPoint> points = {{0, 0, 0}, {1, 2, 0}, {3, 2, 1}, {4, 0, 0}};
  AcDbSpline spline;
  EXPECT_EQ(NurbsCurveToSpline(ClampedCubic(points), &spline), 1);
  const SplineData d = DataOf(spline);
  EXPECT_EQ(d.degree, 3);
  EXPECT_FALSE(d.rational);
  EXPECT_FALSE(d.closed);
  EXPECT_FALSE(d.periodic);
  EXPECT_EQ(Values(d.knots), (std::vector<double>{0, 0, 0, 0, 1, 1, 1, 1}));
  EXPECT_EQ(Values(d.weights), (std::vector<double>{1, 1, 1, 1}));
  ASSERT_EQ(d.points.length(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(d.points[i], ToAcGe(points[static_cast<size_t>(i)]));
  EXPECT_EQ(GetGeometryError(), kUnchanged);
}

TEST_F(CurveWriters, RationalCurveGivesEuclideanPointsAndItsWeights) {
  // A quadratic that is no arc: weights 1, 3, 1 on a bent control polygon.
  const ON_NurbsCurve curve = Nurbs(2, {{0, 0, 0}, {2, 4, 0}, {4, 0, 2}}, {0, 0, 2, 2}, {1, 3, 1});
  CurveToEntity(curve, L"", IndexColour(1));
  ASSERT_EQ(ModelSpaceEntities().size(), 1u);
  With<AcDbSpline>(ModelSpaceEntities()[0], [&](AcDbSpline& spline) {
    const SplineData d = DataOf(spline);
    EXPECT_EQ(d.degree, 2);
    EXPECT_TRUE(d.rational);
    EXPECT_EQ(Values(d.weights), (std::vector<double>{1, 3, 1}));
    EXPECT_EQ(Values(d.knots), (std::vector<double>{0, 0, 0, 2, 2, 2}));
    EXPECT_EQ(d.points[1], AcGePoint3d(2, 4, 0));
    AcGePoint3d mid;
    ASSERT_EQ(spline.getPointAtParam(1.0, mid), Acad::eOk);
    ExpectNear(mid, curve.PointAt(1.0));
  });
}

TEST_F(CurveWriters, ClosedAndPeriodicFlagsReachTheSpline) {
  // A uniform closed cubic whose last three control points repeat the first three.
  const ON_NurbsCurve curve = CubicNearCircle(2);
  ASSERT_TRUE(curve.IsPeriodic());
  AcDbSpline spline;
  EXPECT_EQ(NurbsCurveToSpline(curve, &spline), 1);
  const SplineData d = DataOf(spline);
  EXPECT_TRUE(d.closed);
  EXPECT_TRUE(d.periodic);
  EXPECT_EQ(d.knots.length(), curve.CVCount() + 4);
  EXPECT_EQ(d.knots[0], curve.Knot(0));
  EXPECT_EQ(d.knots[d.knots.length() - 1], curve.Knot(curve.KnotCount() - 1));
}

TEST_F(CurveWriters, RefusedSplineIsReportedAndStillAppended) {
  ON_NurbsCurve curve = ClampedCubic({{0, 0, 0}, {1, 2, 0}, {3, 2, 0}, {4, 0, 0}});
  curve.SetKnot(3, -1);  // knots that fall: the host refuses the data
  AcDbSpline spline;
  EXPECT_EQ(NurbsCurveToSpline(curve, &spline), 0);
  EXPECT_TRUE(spline.isNull());
  EXPECT_EQ(GetGeometryError(), kSplineRefused);

  SetGeometryError(kUnchanged);
  EXPECT_EQ(CurveToEntity(curve, L"Refused", IndexColour(1)), 1);
  EXPECT_EQ(GetGeometryError(), kSplineRefused);
  const std::vector<AcDbObjectId> ids = ModelSpaceEntities();
  ASSERT_EQ(ids.size(), 1u);
  With<AcDbSpline>(ids[0], [](AcDbSpline& appended) { EXPECT_TRUE(appended.isNull()); });
}

TEST_F(CurveWriters, ArrayFormWritesEachCurveInOrder) {
  ON_ClassArray<ON_NurbsCurve> curves;
  EXPECT_EQ(CurveToEntity(curves, L"None", IndexColour(1)), 1);
  EXPECT_TRUE(ModelSpaceEntities().empty());
  curves.Append(RationalCircle({0, 0, 0}, 1));
  curves.Append(DegreeOne({{0, 0, 0}, {1, 1, 1}}));
  curves.Append(ClampedCubic({{0, 0, 0}, {1, 2, 0}, {3, 2, 0}, {4, 0, 0}}));
  EXPECT_EQ(CurveToEntity(curves, L"", IndexColour(1)), 1);
  const std::vector<AcDbObjectId> ids = ModelSpaceEntities();
  ASSERT_EQ(ids.size(), 3u);
  EXPECT_EQ(ClassOf(ids[0]), L"AcDbCircle");
  EXPECT_EQ(ClassOf(ids[1]), L"AcDbLine");
  EXPECT_EQ(ClassOf(ids[2]), L"AcDbSpline");
}

TEST_F(CurveWriters, FitPointSplinePassesThroughEveryPoint) {
  ON_3dPointArray points;
  const ON_3dPoint fit[5] = {{0, 0, 0}, {1, 2, 0}, {3, 3, 1}, {6, 1, 2}, {8, 4, 0}};
  for (const ON_3dPoint& p : fit) points.Append(p);
  EXPECT_EQ(FitPointsToSpline(points, L"Fit", IndexColour(2)), 1);
  const std::vector<AcDbObjectId> ids = ModelSpaceEntities();
  ASSERT_EQ(ids.size(), 1u);
  With<AcDbSpline>(ids[0], [&](AcDbSpline& spline) {
    EXPECT_FALSE(spline.isNull());
    EXPECT_EQ(spline.degree(), 3);
    // The host spaces fit points by chord length over 0 to 1: each lies at its chord fraction.
    double total = 0;
    for (int i = 1; i < 5; ++i) total += fit[i].DistanceTo(fit[i - 1]);
    double along = 0;
    for (int i = 0; i < 5; ++i) {
      if (i > 0) along += fit[i].DistanceTo(fit[i - 1]);
      AcGePoint3d p;
      ASSERT_EQ(spline.getPointAtParam(along / total, p), Acad::eOk);
      ExpectNear(p, fit[i], 1e-9);
    }
    ACHAR* layer = spline.layer();
    EXPECT_STREQ(layer, L"Fit");
    acutDelString(layer);
  });
  EXPECT_EQ(GetGeometryError(), kUnchanged);
}

TEST_F(CurveWriters, TooFewFitPointsGiveANullSplineAppendedAllTheSame) {
  ON_3dPointArray points;
  points.Append(ON_3dPoint(1, 1, 1));
  EXPECT_EQ(FitPointsToSpline(points, L"", IndexColour(2)), 1);
  ASSERT_EQ(ModelSpaceEntities().size(), 1u);
  With<AcDbSpline>(ModelSpaceEntities()[0],
                   [](AcDbSpline& spline) { EXPECT_TRUE(spline.isNull()); });
  EXPECT_EQ(GetGeometryError(), kUnchanged);
}
