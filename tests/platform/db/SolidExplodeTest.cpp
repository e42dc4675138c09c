// Explode of 3D solids, bodies and regions: solids into faces, regions and bodies of one face
// into the curve entities of their edges, each with the owner's properties.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "arx.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Pieces {
  std::vector<std::unique_ptr<AcDbEntity>> items;
  std::map<std::wstring, int> counts;
  explicit Pieces(const AcDbEntity& entity) {
    AcDbVoidPtrArray array;
    EXPECT_EQ(entity.explode(array), Acad::eOk);
    for (void* p : array) {
      items.emplace_back(static_cast<AcDbEntity*>(p));
      ++counts[items.back()->isA()->name()];
    }
  }
};

void ExpectNear(const AcGePoint3d& a, const AcGePoint3d& b, double tol = 1e-9) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
  EXPECT_NEAR(a.z, b.z, tol);
}

TEST(SolidExplode, BoxFacesBreakIntoFourLinesEach) {
  AcDb3dSolid box;
  ASSERT_EQ(box.createBox(2, 4, 6), Acad::eOk);
  box.setColorIndex(3);
  const Pieces faces(box);
  ASSERT_EQ(faces.counts, (std::map<std::wstring, int>{{L"AcDbRegion", 6}}));
  int lines = 0;
  for (const auto& face : faces.items) {
    const Pieces edges(*face);
    ASSERT_EQ(edges.counts, (std::map<std::wstring, int>{{L"AcDbLine", 4}}));
    for (const auto& edge : edges.items) {
      EXPECT_EQ(edge->colorIndex(), 3);
      const auto* line = AcDbLine::cast(edge.get());
      EXPECT_NEAR(std::abs(line->startPoint().x), 1.0, 1e-12);
      ++lines;
    }
  }
  EXPECT_EQ(lines, 24);
}

TEST(SolidExplode, CylinderEndsInCirclesWithoutItsSeam) {
  AcDb3dSolid cylinder;
  ASSERT_EQ(cylinder.createFrustum(4, 1.5, 1.5, 1.5), Acad::eOk);
  const Pieces faces(cylinder);
  ASSERT_EQ(faces.counts, (std::map<std::wstring, int>{{L"AcDbBody", 1}, {L"AcDbRegion", 2}}));
  for (const auto& face : faces.items) {
    const Pieces edges(*face);
    const bool body = face->isA() == AcDbBody::desc();
    ASSERT_EQ(edges.counts, (std::map<std::wstring, int>{{L"AcDbCircle", body ? 2 : 1}}));
    for (const auto& edge : edges.items) {
      const auto* circle = AcDbCircle::cast(edge.get());
      EXPECT_NEAR(circle->radius(), 1.5, 1e-12);
      EXPECT_NEAR(std::abs(circle->center().z), 2.0, 1e-12);
    }
  }
}

TEST(SolidExplode, SphereBodyHasNoEdgesToGive) {
  AcDb3dSolid sphere;
  ASSERT_EQ(sphere.createSphere(2), Acad::eOk);
  const Pieces faces(sphere);
  ASSERT_EQ(faces.counts, (std::map<std::wstring, int>{{L"AcDbBody", 1}}));
  const Pieces edges(*faces.items[0]);
  EXPECT_TRUE(edges.items.empty());
}

TEST(SolidExplode, RegionArcsRunBetweenTheEdgeEnds) {
  // A box with a quarter cylinder cut from a corner: its top and bottom faces hold a quarter arc.
  AcDb3dSolid box, cylinder;
  ASSERT_EQ(box.createBox(4, 4, 2), Acad::eOk);
  ASSERT_EQ(cylinder.createFrustum(6, 1, 1, 1), Acad::eOk);
  AcGeMatrix3d move;
  move.entry[0][3] = 2;
  move.entry[1][3] = 2;
  ASSERT_EQ(cylinder.transformBy(move), Acad::eOk);
  ASSERT_EQ(box.booleanOper(AcDb::kBoolSubtract, &cylinder), Acad::eOk);
  const Pieces faces(box);
  int arcs = 0;
  for (const auto& face : faces.items) {
    if (face->isA() != AcDbRegion::desc()) continue;
    const Pieces edges(*face);
    for (const auto& edge : edges.items) {
      const auto* arc = AcDbArc::cast(edge.get());
      if (!arc) continue;
      ++arcs;
      EXPECT_NEAR(arc->radius(), 1.0, 1e-9);
      EXPECT_NEAR(arc->totalAngle(), kPi / 2, 1e-9);
      AcGePoint3d start, end;
      arc->getStartPoint(start);
      arc->getEndPoint(end);
      // Both ends lie on the box's sides through the corner (2, 2).
      EXPECT_NEAR(std::min(std::abs(start.x - 2), std::abs(start.y - 2)), 0.0, 1e-9);
      EXPECT_NEAR(std::min(std::abs(end.x - 2), std::abs(end.y - 2)), 0.0, 1e-9);
      ExpectNear(arc->center(), AcGePoint3d(2, 2, start.z));
    }
  }
  EXPECT_EQ(arcs, 2);
}

TEST(SolidExplode, EmptyEntityIsNotApplicable) {
  AcDbRegion region;
  AcDbVoidPtrArray pieces;
  EXPECT_EQ(region.explode(pieces), Acad::eNotApplicable);
  EXPECT_EQ(pieces.length(), 0);
}

}  // namespace
