// Lightweight, 2D and 3D polylines: segment kinds, bulge arcs in their normal's object
// coordinates, parameters and lengths, boxes, transforms and explode.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "DrawingBuilders.h"
#include "TestSupport.h"
#include "arx.h"

using plx::test::AddToModelSpace;
using plx::test::HostSession;

namespace {

constexpr double kPi = 3.14159265358979323846;

void ExpectNear(const AcGePoint3d& a, const AcGePoint3d& b, double tol = 1e-9) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
  EXPECT_NEAR(a.z, b.z, tol);
}

// (0,0) -> (2,0) straight, (2,0) -> (2,2) a half circle bulging to +X (bulge 1 turns
// counter-clockwise), (2,2) -> (0,2) straight; closed back to (0,0).
AcDbPolyline Track(bool closed) {
  AcDbPolyline pl;
  pl.addVertexAt(0, AcGePoint2d(0, 0));
  pl.addVertexAt(1, AcGePoint2d(2, 0), 1.0);
  pl.addVertexAt(2, AcGePoint2d(2, 2));
  pl.addVertexAt(3, AcGePoint2d(0, 2));
  pl.setClosed(closed);
  return pl;
}

TEST(Polyline, SegmentKindsAndTheirGeometry) {
  AcDbPolyline pl = Track(false);
  EXPECT_EQ(pl.segType(0), AcDbPolyline::kLine);
  EXPECT_EQ(pl.segType(1), AcDbPolyline::kArc);
  EXPECT_EQ(pl.segType(3), AcDbPolyline::kPoint);  // the last vertex of an open polyline
  EXPECT_EQ(pl.segType(9), AcDbPolyline::kEmpty);
  pl.setClosed(true);
  EXPECT_EQ(pl.segType(3), AcDbPolyline::kLine);
  AcGeLineSeg3d line;
  ASSERT_EQ(pl.getLineSegAt(3, line), Acad::eOk);
  EXPECT_EQ(line.startPoint(), AcGePoint3d(0, 2, 0));
  EXPECT_EQ(line.endPoint(), AcGePoint3d(0, 0, 0));
  EXPECT_EQ(pl.getLineSegAt(1, line), Acad::eNotApplicable);
  AcGeCircArc3d arc;
  ASSERT_EQ(pl.getArcSegAt(1, arc), Acad::eOk);
  ExpectNear(arc.center(), AcGePoint3d(2, 1, 0));
  EXPECT_NEAR(arc.radius(), 1, 1e-12);
  EXPECT_TRUE(arc.normal().isEqualTo(AcGeVector3d(0, 0, 1)));
  ExpectNear(arc.startPoint(), AcGePoint3d(2, 0, 0));
  ExpectNear(arc.endPoint(), AcGePoint3d(2, 2, 0));
  ExpectNear(arc.evalPoint((arc.startAng() + arc.endAng()) / 2), AcGePoint3d(3, 1, 0));
  // A clockwise bulge gives the reversed normal, so the arc still runs from start to end.
  pl.setBulgeAt(1, -1.0);
  ASSERT_EQ(pl.getArcSegAt(1, arc), Acad::eOk);
  EXPECT_TRUE(arc.normal().isEqualTo(AcGeVector3d(0, 0, -1)));
  ExpectNear(arc.startPoint(), AcGePoint3d(2, 0, 0));
  ExpectNear(arc.endPoint(), AcGePoint3d(2, 2, 0));
  ExpectNear(arc.evalPoint((arc.startAng() + arc.endAng()) / 2), AcGePoint3d(1, 1, 0));
  EXPECT_EQ(pl.getArcSegAt(0, arc), Acad::eNotApplicable);
  AcDbPolyline one;
  one.addVertexAt(0, AcGePoint2d(1, 1));
  EXPECT_EQ(one.segType(0), AcDbPolyline::kPoint);
  EXPECT_EQ(AcDbPolyline().segType(0), AcDbPolyline::kEmpty);
  one.addVertexAt(1, AcGePoint2d(1, 1));
  one.setClosed(true);
  EXPECT_EQ(one.segType(0), AcDbPolyline::kCoincident);
  EXPECT_EQ(one.addVertexAt(5, AcGePoint2d(0, 0)), Acad::eInvalidIndex);
}

TEST(Polyline, ParametersRunVertexByVertexAlongArcs) {
  const AcDbPolyline pl = Track(true);
  double s = -1, e = -1;
  pl.getStartParam(s);
  pl.getEndParam(e);
  EXPECT_EQ(s, 0);
  EXPECT_EQ(e, 4);
  AcGePoint3d p;
  ASSERT_EQ(pl.getPointAtParam(1.5, p), Acad::eOk);
  ExpectNear(p, AcGePoint3d(3, 1, 0));
  ASSERT_EQ(pl.getPointAtParam(0.25, p), Acad::eOk);
  ExpectNear(p, AcGePoint3d(0.5, 0, 0));
  EXPECT_EQ(pl.getPointAtParam(4.5, p), Acad::eInvalidInput);
  double d = 0;
  pl.getDistAtParam(4, d);
  EXPECT_NEAR(d, 2 + kPi + 2 + 2, 1e-12);
  pl.getDistAtParam(1.5, d);
  EXPECT_NEAR(d, 2 + kPi / 2, 1e-12);
  pl.getEndPoint(p);
  EXPECT_EQ(p, AcGePoint3d(0, 0, 0));
  double area = 0;
  pl.getArea(area);
  EXPECT_NEAR(area, 4 + kPi / 2, 1e-12);
  AcDbExtents box;
  ASSERT_EQ(pl.getGeomExtents(box), Acad::eOk);
  ExpectNear(box.maxPoint(), AcGePoint3d(3, 2, 0));
}

TEST(Polyline, ObjectCoordinatesFollowTheArbitraryAxis) {
  AcDbPolyline pl = Track(false);
  pl.setNormal(AcGeVector3d(1, 0, 0));
  pl.setElevation(5);
  // Normal +X: object X is world Y, object Y is world Z, the elevation runs along world X.
  AcGePoint3d p;
  pl.getPointAt(1, p);
  ExpectNear(p, AcGePoint3d(5, 2, 0));
  AcGePoint2d flat;
  pl.getPointAt(1, flat);
  EXPECT_EQ(flat, AcGePoint2d(2, 0));
  AcGeCircArc3d arc;
  pl.getArcSegAt(1, arc);
  ExpectNear(arc.center(), AcGePoint3d(5, 2, 1));
  ExpectNear(arc.evalPoint((arc.startAng() + arc.endAng()) / 2), AcGePoint3d(5, 3, 1));
}

TEST(Polyline, TransformsKeepEveryPointOnItsPlace) {
  const AcGeMatrix3d matrices[] = {
      AcGeMatrix3d::rotation(0.9, AcGeVector3d(1, 2, 3), AcGePoint3d(1, 1, 1)),
      AcGeMatrix3d::mirroring(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 1, 0)) *
          AcGeMatrix3d::scaling(2)};
  for (const AcGeMatrix3d& m : matrices) {
    AcDbPolyline pl = Track(true);
    pl.setElevation(1.5);
    AcGePoint3d before[9];
    for (int i = 0; i <= 8; ++i) pl.getPointAtParam(i * 0.5, before[i]);
    ASSERT_EQ(pl.transformBy(m), Acad::eOk);
    for (int i = 0; i <= 8; ++i) {
      AcGePoint3d after;
      pl.getPointAtParam(i * 0.5, after);
      ExpectNear(after, m * before[i]);
    }
  }
  AcDbPolyline pl = Track(true);
  AcGeMatrix3d stretch;
  stretch.entry[0][0] = 2;
  EXPECT_EQ(pl.transformBy(stretch), Acad::eCannotScaleNonUniformly);
}

TEST(Polyline, ExplodesIntoLinesAndArcs) {
  const AcDbPolyline pl = Track(true);
  AcDbVoidPtrArray pieces;
  ASSERT_EQ(pl.explode(pieces), Acad::eOk);
  ASSERT_EQ(pieces.length(), 4);
  std::unique_ptr<AcDbEntity> arcPiece(static_cast<AcDbEntity*>(pieces[1]));
  const AcDbArc* arc = AcDbArc::cast(arcPiece.get());
  ASSERT_NE(arc, nullptr);
  AcGePoint3d mid;
  double s = 0, e = 0;
  arc->getStartParam(s);
  arc->getEndParam(e);
  arc->getPointAtParam((s + e) / 2, mid);
  ExpectNear(mid, AcGePoint3d(3, 1, 0));
  for (int i : {0, 2, 3}) {
    std::unique_ptr<AcDbEntity> piece(static_cast<AcDbEntity*>(pieces[i]));
    EXPECT_STREQ(piece->isA()->name(), L"AcDbLine");
  }
}

TEST(Polyline2d, VerticesAtTheElevationInTheirPlane) {
  HostSession session;
  AcGePoint3dArray points;
  points.append(AcGePoint3d(0, 0, 0));
  points.append(AcGePoint3d(4, 0, 0));
  points.append(AcGePoint3d(4, 3, 0));
  AcGeDoubleArray bulges;
  bulges.append(0);
  bulges.append(1);
  bulges.append(0);
  auto* made = new AcDb2dPolyline(AcDb::k2dSimplePoly, points, 5, false, 0, 0, &bulges);
  const AcDbObjectId id = AddToModelSpace(made);
  AcDb2dPolyline* pl = nullptr;
  ASSERT_EQ(acdbOpenObject(pl, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(pl->elevation(), 5);
  AcDbObjectIterator* it = pl->vertexIterator();
  int count = 0;
  for (; !it->done(); it->step(false, true), ++count) {
    AcDb2dVertex* vertex = nullptr;
    ASSERT_EQ(acdbOpenObject(vertex, it->objectId(), AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(vertex->position().z, 0);
    if (count == 1) {
      EXPECT_EQ(vertex->bulge(), 1);
      EXPECT_EQ(pl->vertexPosition(*vertex), AcGePoint3d(4, 0, 5));
    }
    vertex->close();
  }
  delete it;
  EXPECT_EQ(count, 3);
  double e = 0, d = 0;
  pl->getEndParam(e);
  EXPECT_EQ(e, 2);
  pl->getDistAtParam(e, d);
  EXPECT_NEAR(d, 4 + kPi * 1.5, 1e-12);  // a half circle over the chord of 3
  AcGePoint3d p;
  pl->getPointAtParam(1.5, p);
  ExpectNear(p, AcGePoint3d(5.5, 1.5, 5));
  pl->close();
}

TEST(Polyline3d, CurveQueriesSkipControlVertices) {
  AcGePoint3dArray points;
  points.append(AcGePoint3d(0, 0, 0));
  points.append(AcGePoint3d(3, 0, 0));
  points.append(AcGePoint3d(3, 4, 0));
  AcDb3dPolyline pl(AcDb::k3dSimplePoly, points);
  double e = 0, d = 0;
  pl.getEndParam(e);
  EXPECT_EQ(e, 2);
  pl.getDistAtParam(2, d);
  EXPECT_EQ(d, 7);
  ASSERT_EQ(pl.makeClosed(), Acad::eOk);
  EXPECT_TRUE(pl.isClosed());
  pl.getEndParam(e);
  EXPECT_EQ(e, 3);
  pl.getDistAtParam(3, d);
  EXPECT_EQ(d, 12);
  AcGePoint3d p;
  pl.getPointAtParam(2.5, p);
  ExpectNear(p, AcGePoint3d(1.5, 2, 0));
  pl.getEndPoint(p);
  EXPECT_EQ(p, AcGePoint3d(0, 0, 0));
  EXPECT_EQ(AcDb3dPolyline().getStartParam(d), Acad::eDegenerateGeometry);
}

}  // namespace
