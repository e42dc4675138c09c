// The host's geometry: vectors, points, matrices and the global tolerance.
#include <gtest/gtest.h>

#include <cmath>

#include "arx.h"

TEST(Vector, ProductsLengthsAndAngles) {
  const AcGeVector3d x = AcGeVector3d::kXAxis, y = AcGeVector3d::kYAxis;
  EXPECT_EQ(x.crossProduct(y), AcGeVector3d::kZAxis);
  EXPECT_DOUBLE_EQ(x.dotProduct(y), 0);
  EXPECT_DOUBLE_EQ(AcGeVector3d(3, 4, 0).length(), 5);
  EXPECT_EQ(AcGeVector3d(0, 0, 7).normal(), AcGeVector3d::kZAxis);
  EXPECT_DOUBLE_EQ(x.angleTo(y), M_PI / 2);
  EXPECT_DOUBLE_EQ(x.angleTo(-x), M_PI);
  EXPECT_DOUBLE_EQ(y.angleTo(x, AcGeVector3d::kZAxis), 3 * M_PI / 2);
  EXPECT_TRUE(AcGeVector3d().isZeroLength());
  EXPECT_TRUE(AcGeVector3d().normal().isZeroLength());  // no unit vector: left as it is
}

TEST(Point, EqualityUsesTheGlobalTolerance) {
  EXPECT_DOUBLE_EQ(AcGeContext::gTol.equalPoint(), 1e-10);
  const AcGePoint3d p(1, 2, 3);
  EXPECT_TRUE(p.isEqualTo(AcGePoint3d(1, 2, 3 + 5e-11), AcGeContext::gTol));
  EXPECT_FALSE(p.isEqualTo(AcGePoint3d(1, 2, 3 + 1e-9)));
  AcGeTol loose;
  loose.setEqualPoint(1e-3);
  EXPECT_TRUE(p.isEqualTo(AcGePoint3d(1.0005, 2, 3), loose));
  EXPECT_EQ(AcGePoint3d(4, 6, 3) - p, AcGeVector3d(3, 4, 0));
  EXPECT_DOUBLE_EQ(p.distanceTo(AcGePoint3d(4, 6, 3)), 5);
}

TEST(Matrix, TranslationRotationAndInverse) {
  AcGeMatrix3d move;
  move.setToTranslation(AcGeVector3d(1, 2, 3));
  EXPECT_EQ(move.translation(), AcGeVector3d(1, 2, 3));
  EXPECT_EQ(move * AcGePoint3d(1, 1, 1), AcGePoint3d(2, 3, 4));
  EXPECT_EQ(move * AcGeVector3d(1, 1, 1), AcGeVector3d(1, 1, 1));  // vectors do not move
  const AcGeMatrix3d turn = AcGeMatrix3d::rotation(M_PI / 2, AcGeVector3d::kZAxis, AcGePoint3d(1, 0, 0));
  EXPECT_TRUE((turn * AcGePoint3d(2, 0, 0)).isEqualTo(AcGePoint3d(1, 1, 0), AcGeTol()));
  const AcGeMatrix3d both = move * turn;
  EXPECT_TRUE((both.inverse() * both).isEqualTo(AcGeMatrix3d::kIdentity));
  AcGePoint3d p(2, 0, 0);
  p.transformBy(both);
  EXPECT_TRUE(p.isEqualTo(AcGePoint3d(2, 3, 3)));
  EXPECT_TRUE(turn.isUniScaledOrtho());
  EXPECT_DOUBLE_EQ(AcGeMatrix3d::scaling(2).det(), 8);
}

TEST(Array, GrowsAndFinds) {
  AcGePoint3dArray points(0, 8);
  EXPECT_TRUE(points.isEmpty());
  points.append(AcGePoint3d(1, 0, 0));
  points.append(AcGePoint3d(2, 0, 0));
  EXPECT_EQ(points.length(), 2);
  EXPECT_EQ(points.find(AcGePoint3d(2, 0, 0)), 1);
  points.removeAt(0);
  EXPECT_EQ(points.first(), AcGePoint3d(2, 0, 0));
  AcDbObjectIdArray ids;
  ids.setLogicalLength(3);
  EXPECT_TRUE(ids[2].isNull());
}
