// Multilines: element placement by justification and scale, miters at corners, and explode
// into lines and cap arcs.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "arx.h"

namespace {

void ExpectNear(const AcGePoint3d& a, const AcGePoint3d& b, double tol = 1e-9) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
  EXPECT_NEAR(a.z, b.z, tol);
}

struct Pieces {
  std::vector<std::unique_ptr<AcDbEntity>> items;
  explicit Pieces(const AcDbEntity& entity) {
    AcDbVoidPtrArray array;
    EXPECT_EQ(entity.explode(array), Acad::eOk);
    for (void* p : array) items.emplace_back(static_cast<AcDbEntity*>(p));
  }
  const AcDbLine* Line(size_t i) const { return AcDbLine::cast(items.at(i).get()); }
};

// An L: (0,0) -> (4,0) -> (4,4).
AcDbMline Corner(Mline::MlineJustification justification, double scale) {
  AcDbMline m;
  m.setJustification(justification);
  m.setScale(scale);
  m.appendSeg(AcGePoint3d(0, 0, 0));
  m.appendSeg(AcGePoint3d(4, 0, 0));
  m.appendSeg(AcGePoint3d(4, 4, 0));
  return m;
}

TEST(Mline, ZeroJustificationCentresTheElementsAndMitersTheCorner) {
  const AcDbMline m = Corner(Mline::kZero, 2);
  EXPECT_EQ(m.numVertices(), 3);
  EXPECT_TRUE(m.axisAt(1).isEqualTo(AcGeVector3d(0, 1, 0)));
  const Pieces pieces(m);
  // Two elements (+1 and -1 at scale 2), two segments each; no caps in the standard style.
  ASSERT_EQ(pieces.items.size(), 4u);
  const AcDbLine* top0 = pieces.Line(0);
  const AcDbLine* top1 = pieces.Line(1);
  const AcDbLine* bottom0 = pieces.Line(2);
  ASSERT_TRUE(top0 && top1 && bottom0);
  ExpectNear(top0->startPoint(), AcGePoint3d(0, 1, 0));
  ExpectNear(top0->endPoint(), AcGePoint3d(3, 1, 0));  // the inner corner, on the miter
  ExpectNear(top1->endPoint(), AcGePoint3d(3, 4, 0));
  ExpectNear(bottom0->endPoint(), AcGePoint3d(5, -1, 0));
}

TEST(Mline, TopAndBottomJustificationPutAnOuterElementOnThePath) {
  const Pieces top(Corner(Mline::kTop, 1));
  ExpectNear(top.Line(0)->startPoint(), AcGePoint3d(0, 0, 0));
  ExpectNear(top.Line(2)->startPoint(), AcGePoint3d(0, -1, 0));
  const Pieces bottom(Corner(Mline::kBottom, 1));
  ExpectNear(bottom.Line(0)->startPoint(), AcGePoint3d(0, 1, 0));
  ExpectNear(bottom.Line(2)->startPoint(), AcGePoint3d(0, 0, 0));
}

TEST(Mline, CapsMitersAndArcsFromItsStyle) {
  AcDbMline m = Corner(Mline::kZero, 1);
  AcDbMlineStyle style;
  int index = -1;
  ASSERT_EQ(style.addElement(index, 0.25, AcCmColor(), AcDbObjectId()), Acad::eOk);
  EXPECT_EQ(index, 1);  // between +0.5 and -0.5
  ASSERT_EQ(style.addElement(index, -0.25, AcCmColor(), AcDbObjectId()), Acad::eOk);
  style.setStartSquareCap(true);
  style.setEndRoundCap(true);
  style.setEndInnerArcs(true);
  style.setShowMiters(true);
  style.setName(L"FOUR");
  ASSERT_EQ(m.SetStyle(style), Acad::eOk);
  const Pieces pieces(m);
  // 4 elements x 2 segments, 1 miter, 1 square start cap, 1 round end cap, 1 inner arc.
  ASSERT_EQ(pieces.items.size(), 12u);
  const AcDbLine* miter = pieces.Line(8);
  ASSERT_TRUE(miter);
  ExpectNear(miter->startPoint(), AcGePoint3d(3.5, 0.5, 0));
  ExpectNear(miter->endPoint(), AcGePoint3d(4.5, -0.5, 0));
  const AcDbLine* cap = pieces.Line(9);
  ASSERT_TRUE(cap);
  ExpectNear(cap->startPoint(), AcGePoint3d(0, 0.5, 0));
  ExpectNear(cap->endPoint(), AcGePoint3d(0, -0.5, 0));
  const AcDbArc* round = AcDbArc::cast(pieces.items[10].get());
  const AcDbArc* inner = AcDbArc::cast(pieces.items[11].get());
  ASSERT_TRUE(round && inner);
  EXPECT_NEAR(round->radius(), 0.5, 1e-12);
  EXPECT_NEAR(inner->radius(), 0.25, 1e-12);
  // The end cap bulges beyond the last vertex (4, 4) along +Y.
  AcGePoint3d s, e, mid;
  double p0 = 0, p1 = 0;
  round->getStartParam(p0);
  round->getEndParam(p1);
  round->getPointAtParam((p0 + p1) / 2, mid);
  ExpectNear(mid, AcGePoint3d(4, 4.5, 0));
  round->getStartPoint(s);
  round->getEndPoint(e);
  ExpectNear(s, AcGePoint3d(4.5, 4, 0));
  ExpectNear(e, AcGePoint3d(3.5, 4, 0));
}

TEST(Mline, ClosedMultilinesHaveNoCapsAndMiterEveryVertex) {
  AcDbMline m;
  m.setJustification(Mline::kZero);
  for (auto [x, y] : {std::pair{0.0, 0.0}, {4.0, 0.0}, {4.0, 4.0}, {0.0, 4.0}})
    m.appendSeg(AcGePoint3d(x, y, 0));
  m.setClosedMline(true);
  const Pieces pieces(m);
  ASSERT_EQ(pieces.items.size(), 8u);
  ExpectNear(pieces.Line(0)->startPoint(), AcGePoint3d(0.5, 0.5, 0));
  ExpectNear(pieces.Line(4)->startPoint(), AcGePoint3d(-0.5, -0.5, 0));
  AcDbExtents box;
  ASSERT_EQ(m.getGeomExtents(box), Acad::eOk);
  ExpectNear(box.minPoint(), AcGePoint3d(-0.5, -0.5, 0));
}

TEST(Mline, TransformsTheVerticesAndScale) {
  AcDbMline m = Corner(Mline::kZero, 1);
  const AcGeMatrix3d mirror = AcGeMatrix3d::mirroring(AcGePoint3d(0, 0, 0), AcGeVector3d(1, 0, 0));
  const Pieces before(m);
  ASSERT_EQ(m.transformBy(mirror * AcGeMatrix3d::scaling(2)), Acad::eOk);
  EXPECT_DOUBLE_EQ(m.scale(), 2);
  const Pieces after(m);
  ASSERT_EQ(after.items.size(), before.items.size());
  for (size_t i = 0; i < before.items.size(); ++i) {
    ExpectNear(after.Line(i)->startPoint(),
               mirror * AcGeMatrix3d::scaling(2) * before.Line(i)->startPoint());
    ExpectNear(after.Line(i)->endPoint(),
               mirror * AcGeMatrix3d::scaling(2) * before.Line(i)->endPoint());
  }
  AcGeMatrix3d stretch;
  stretch.entry[0][0] = 3;
  EXPECT_EQ(m.transformBy(stretch), Acad::eCannotScaleNonUniformly);
  AcGePoint3d last;
  EXPECT_EQ(m.removeLastSeg(last), Acad::eOk);
  EXPECT_EQ(m.numVertices(), 2);
}

}  // namespace
