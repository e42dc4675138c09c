// Hatches: loops, the ANSI31 pattern's lines clipped by the boundary with islands, user
// patterns, dashes, explode into boundary and pattern lines, area and transforms.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "arx.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

AcGePoint2dArray Square(double x0, double y0, double size) {
  AcGePoint2dArray v;
  v.append(AcGePoint2d(x0, y0));
  v.append(AcGePoint2d(x0 + size, y0));
  v.append(AcGePoint2d(x0 + size, y0 + size));
  v.append(AcGePoint2d(x0, y0 + size));
  return v;
}

// The total length of a hatch's lines after evaluation.
double PatternLength(AcDbHatch& hatch) {
  EXPECT_EQ(hatch.evaluateHatch(), Acad::eOk);
  double total = 0;
  for (int i = 0; i < hatch.numHatchLines(); ++i) {
    AcGePoint2d a, b;
    hatch.getHatchLineDataAt(i, a, b);
    total += a.distanceTo(b);
  }
  return total;
}

TEST(Hatch, Ansi31FillsASquareWithLinesAt45Degrees) {
  AcDbHatch hatch;
  ASSERT_EQ(hatch.setPattern(AcDbHatch::kPreDefined, L"ANSI31"), Acad::eOk);
  ASSERT_EQ(hatch.appendLoop(AcDbHatch::kExternal, Square(0, 0, 1), AcGeDoubleArray()), Acad::eOk);
  ASSERT_EQ(hatch.numPatternDefinitions(), 1);
  double angle = 0, bx = 1, by = 1, ox = 0, oy = 0;
  AcGeDoubleArray dashes;
  ASSERT_EQ(hatch.getPatternDefinitionAt(0, angle, bx, by, ox, oy, dashes), Acad::eOk);
  EXPECT_NEAR(angle, kPi / 4, 1e-15);
  EXPECT_NEAR(ox, -0.125 * std::sqrt(0.5), 1e-15);
  EXPECT_NEAR(oy, 0.125 * std::sqrt(0.5), 1e-15);
  EXPECT_TRUE(dashes.isEmpty());
  // Lines 0.125 apart across the 45 degree direction: (y - x) / sqrt(2) = k / 8 for k = -5 .. 5,
  // k = 0 the diagonal; their total length is the square's area over the spacing, near enough.
  const double total = PatternLength(hatch);
  EXPECT_EQ(hatch.numHatchLines(), 11);
  EXPECT_NEAR(total, 1 / 0.125, 0.2);
  for (int i = 0; i < hatch.numHatchLines(); ++i) {
    AcGePoint2d a, b;
    hatch.getHatchLineDataAt(i, a, b);
    EXPECT_NEAR(std::abs((b.y - a.y) / (b.x - a.x)), 1, 1e-9);
    for (const AcGePoint2d& p : {a, b}) {
      EXPECT_GE(p.x, -1e-9);
      EXPECT_LE(p.x, 1 + 1e-9);
      EXPECT_GE(p.y, -1e-9);
      EXPECT_LE(p.y, 1 + 1e-9);
    }
  }
  double area = 0;
  hatch.getArea(area);
  EXPECT_NEAR(area, 1, 1e-12);
}

TEST(Hatch, AnIslandIsLeftOpen) {
  AcDbHatch hatch;
  hatch.setPattern(AcDbHatch::kUserDefined, L"_USER");
  hatch.setPatternSpace(0.5);
  hatch.appendLoop(AcDbHatch::kExternal, Square(0, 0, 4), AcGeDoubleArray());
  hatch.appendLoop(AcDbHatch::kDefault, Square(1, 1, 2), AcGeDoubleArray());
  // Horizontal lines at y = 0, 0.5 .. 3.5 (y = 4 lies on the top edge and is not counted);
  // those at 1 .. 2.5 cross the island and come in two pieces of 1.
  const double total = PatternLength(hatch);
  EXPECT_EQ(hatch.numHatchLines(), 4 + 2 * 4);
  EXPECT_NEAR(total, 4 * 4 + 4 * 2, 1e-9);
  double area = 0;
  hatch.getArea(area);
  EXPECT_NEAR(area, 12, 1e-12);
  hatch.setPatternDouble(true);
  EXPECT_EQ(hatch.numPatternDefinitions(), 2);
}

TEST(Hatch, BulgedAndEdgeLoopsAreCutOnTheirArcs) {
  // A disc of radius 1 as a polyline of two half circles, and the same as one arc edge.
  AcGePoint2dArray v;
  v.append(AcGePoint2d(1, 0));
  v.append(AcGePoint2d(-1, 0));
  AcGeDoubleArray bulges;
  bulges.append(1);
  bulges.append(1);
  AcDbHatch fromBulges;
  fromBulges.setPattern(AcDbHatch::kPreDefined, L"LINE");
  ASSERT_EQ(fromBulges.appendLoop(AcDbHatch::kExternal, v, bulges), Acad::eOk);
  AcDbHatch fromEdges;
  fromEdges.setPattern(AcDbHatch::kPreDefined, L"LINE");
  AcGeCircArc2d circle(AcGePoint2d(0, 0), 1);
  AcGeVoidPointerArray edges;
  edges.append(&circle);
  AcGeIntArray types;
  types.append(AcDbHatch::kCirArc);
  ASSERT_EQ(fromEdges.appendLoop(AcDbHatch::kExternal, edges, types), Acad::eOk);
  double a1 = 0, a2 = 0;
  fromBulges.getArea(a1);
  fromEdges.getArea(a2);
  EXPECT_NEAR(a1, kPi, 1e-12);
  EXPECT_NEAR(a2, kPi, 1e-12);
  const double l1 = PatternLength(fromBulges), l2 = PatternLength(fromEdges);
  EXPECT_EQ(fromBulges.numHatchLines(),
            15);  // y = -0.875 .. 0.875; the tangent at y = -1 adds none
  EXPECT_NEAR(l1, l2, 1e-9);
  double chords = 0;
  for (int k = -7; k <= 7; ++k) chords += 2 * std::sqrt(1 - (k / 8.0) * (k / 8.0));
  EXPECT_NEAR(l1, chords, 1e-9);
  types[0] = AcDbHatch::kEllArc;
  EXPECT_EQ(fromEdges.appendLoop(AcDbHatch::kExternal, edges, types), Acad::eInvalidInput);
  EXPECT_EQ(fromEdges.numLoops(), 1);
}

TEST(Hatch, DashesBreakTheLines) {
  AcDbHatch hatch;
  hatch.setPattern(AcDbHatch::kCustomDefined, L"DASHED");
  hatch.appendLoop(AcDbHatch::kExternal, Square(0, 0, 4), AcGeDoubleArray());
  AcGeDoubleArray dashes;
  dashes.append(0.5);
  dashes.append(-0.5);
  ASSERT_EQ(hatch.AppendPatternDefinition(0, 0, 0.25, 0, 1, dashes), Acad::eOk);
  EXPECT_EQ(hatch.AppendPatternDefinition(0, 0, 0, 1, 0, dashes), Acad::eInvalidInput);
  // Lines at y = 0.25 .. 3.25, each 4 long, half drawn in 4 dashes.
  const double total = PatternLength(hatch);
  EXPECT_EQ(hatch.numHatchLines(), 4 * 4);
  EXPECT_NEAR(total, 4 * 2, 1e-9);
}

TEST(Hatch, ExplodesIntoBoundaryThenPatternLines) {
  AcDbHatch hatch;
  hatch.setNormal(AcGeVector3d(0, 0, -1));
  hatch.setElevation(2);
  hatch.appendLoop(AcDbHatch::kExternal, Square(0, 0, 1), AcGeDoubleArray());
  AcDbVoidPtrArray array;
  ASSERT_EQ(hatch.explode(array), Acad::eOk);
  std::vector<std::unique_ptr<AcDbEntity>> pieces;
  for (void* p : array) pieces.emplace_back(static_cast<AcDbEntity*>(p));
  ASSERT_EQ(pieces.size(), 4u + 11u);
  for (const auto& piece : pieces) ASSERT_STREQ(piece->isA()->name(), L"AcDbLine");
  // Normal -Z: object X is world -X, the elevation lies along -Z.
  const AcDbLine* first = AcDbLine::cast(pieces[0].get());
  EXPECT_EQ(first->startPoint(), AcGePoint3d(0, 0, -2));
  EXPECT_EQ(first->endPoint(), AcGePoint3d(-1, 0, -2));

  AcDbHatch solid;
  solid.setPattern(AcDbHatch::kPreDefined, L"SOLID");
  EXPECT_TRUE(solid.isSolidFill());
  solid.appendLoop(AcDbHatch::kExternal, Square(0, 0, 1), AcGeDoubleArray());
  AcDbVoidPtrArray boundary;
  ASSERT_EQ(solid.explode(boundary), Acad::eOk);
  EXPECT_EQ(boundary.length(), 4);
  for (void* p : boundary) delete static_cast<AcDbEntity*>(p);
}

TEST(Hatch, TransformCarriesBoundaryAndPattern) {
  AcDbHatch hatch;
  hatch.appendLoop(AcDbHatch::kExternal, Square(0, 0, 2), AcGeDoubleArray());
  const double before = PatternLength(hatch);
  const int count = hatch.numHatchLines();
  const AcGeMatrix3d m = AcGeMatrix3d::translation(AcGeVector3d(5, 1, 3)) *
                         AcGeMatrix3d::rotation(0.5, AcGeVector3d(1, 0, 1)) *
                         AcGeMatrix3d::scaling(2);
  ASSERT_EQ(hatch.transformBy(m), Acad::eOk);
  EXPECT_DOUBLE_EQ(hatch.patternScale(), 2);
  EXPECT_NEAR(PatternLength(hatch), before * 2, 1e-9);
  EXPECT_EQ(hatch.numHatchLines(), count);
  AcDbExtents box;
  ASSERT_EQ(hatch.getGeomExtents(box), Acad::eOk);
  AcDbExtents expected;
  for (const AcGePoint3d& p :
       {AcGePoint3d(0, 0, 0), AcGePoint3d(2, 0, 0), AcGePoint3d(2, 2, 0), AcGePoint3d(0, 2, 0)})
    expected.addPoint(m * p);
  EXPECT_TRUE(box.minPoint().isEqualTo(expected.minPoint(), AcGeTol()));
  EXPECT_TRUE(box.maxPoint().isEqualTo(expected.maxPoint(), AcGeTol()));
  AcGeMatrix3d stretch;
  stretch.entry[0][0] = 2;
  EXPECT_EQ(hatch.transformBy(stretch), Acad::eCannotScaleNonUniformly);
}

TEST(Hatch, RefusesBadLoopsAndPatterns) {
  AcDbHatch hatch;
  AcGePoint2dArray one;
  one.append(AcGePoint2d(0, 0));
  EXPECT_EQ(hatch.appendLoop(AcDbHatch::kExternal, one, AcGeDoubleArray()), Acad::eInvalidInput);
  AcGeDoubleArray wrong;
  wrong.append(0.5);
  EXPECT_EQ(hatch.appendLoop(AcDbHatch::kExternal, Square(0, 0, 1), wrong), Acad::eInvalidInput);
  EXPECT_EQ(hatch.setPattern(AcDbHatch::kPreDefined, L""), Acad::eInvalidInput);
  EXPECT_EQ(hatch.setPatternScale(0), Acad::eInvalidInput);
  EXPECT_EQ(hatch.numLoops(), 0);
  AcDbExtents box;
  EXPECT_EQ(hatch.getGeomExtents(box), Acad::eInvalidExtents);
  AcDbHatch dense;
  dense.appendLoop(AcDbHatch::kExternal, Square(0, 0, 1e6), AcGeDoubleArray());
  EXPECT_EQ(dense.evaluateHatch(), Acad::eHatchTooDense);
  AcDbVoidPtrArray pieces;
  EXPECT_EQ(dense.explode(pieces), Acad::eHatchTooDense);
  EXPECT_TRUE(pieces.isEmpty());
}

}  // namespace
