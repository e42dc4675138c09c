#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "opennurbs.h"

TEST(ONVersion, IsTheExpectedRelease) { EXPECT_EQ(ON_Version(), 200707180); }

TEST(ONPoint, ArithmeticBetweenPointsAndVectors) {
  const ON_3dPoint a(1, 2, 3);
  const ON_3dPoint b(4, 6, 3);
  const ON_3dVector d = b - a;
  EXPECT_EQ(d, ON_3dVector(3, 4, 0));
  EXPECT_DOUBLE_EQ(d.Length(), 5.0);
  EXPECT_DOUBLE_EQ(a.DistanceTo(b), 5.0);
  EXPECT_EQ(a + d, b);
  EXPECT_EQ(b - d, a);
  EXPECT_EQ(ON_CrossProduct(ON_3dVector(1, 0, 0), ON_3dVector(0, 1, 0)), ON_3dVector(0, 0, 1));
  EXPECT_DOUBLE_EQ(ON_DotProduct(ON_3dVector(1, 2, 3), ON_3dVector(4, 5, 6)), 32.0);
  EXPECT_EQ(a[0], 1.0);
  EXPECT_EQ(a[2], 3.0);
}

TEST(ONPoint, FloatAndDoubleConvert) {
  const ON_3fPoint f(0.1f, -2.5f, 1e30f);
  const ON_3dPoint d = f;
  EXPECT_EQ(d.x, static_cast<double>(0.1f));
  EXPECT_EQ(ON_3fPoint(d), f);
  EXPECT_TRUE(f.IsValid());
  EXPECT_FALSE(ON_3fPoint(std::numeric_limits<float>::infinity(), 0, 0).IsValid());
  EXPECT_FALSE(ON_3dPoint(0, std::nan(""), 0).IsValid());
}

TEST(ONVector, UnitizeRefusesZero) {
  ON_3dVector v(0, 3, 4);
  EXPECT_TRUE(v.Unitize());
  EXPECT_DOUBLE_EQ(v.y, 0.6);
  ON_3dVector zero;
  EXPECT_FALSE(zero.Unitize());
  EXPECT_TRUE(zero.IsZero());
  ON_3fVector f(2, 0, 0);
  EXPECT_TRUE(f.Unitize());
  EXPECT_EQ(f, ON_3fVector(1, 0, 0));
}

TEST(ONColor, PacksRedInTheLowByte) {
  const ON_Color c(10, 20, 30);
  EXPECT_EQ(static_cast<unsigned int>(c), 0x001E140Au);
  EXPECT_EQ(c.Red(), 10);
  EXPECT_EQ(c.Green(), 20);
  EXPECT_EQ(c.Blue(), 30);
  EXPECT_EQ(c.Alpha(), 0);
  const ON_Color fromPacked(0x00FF8001u);
  EXPECT_EQ(fromPacked.Red(), 1);
  EXPECT_EQ(fromPacked.Green(), 0x80);
  EXPECT_EQ(fromPacked.Blue(), 0xFF);
  EXPECT_EQ(ON_Color().Red(), 0);
}

TEST(ONColor, SetRGBClampsAndKeepsAlphaZero) {
  ON_Color c(1, 2, 3, 200);
  EXPECT_EQ(c.Alpha(), 200);
  c.SetRGB(-5, 300, 128);
  EXPECT_EQ(c.Red(), 0);
  EXPECT_EQ(c.Green(), 255);
  EXPECT_EQ(c.Blue(), 128);
  EXPECT_EQ(c.Alpha(), 0);
}

TEST(ONBoundingBox, GrowsFromEmpty) {
  ON_BoundingBox box;
  EXPECT_FALSE(box.IsValid());
  box.Set(ON_3dPoint(1, 2, 3), true);
  EXPECT_TRUE(box.IsValid());
  box.Set(ON_3dPoint(-1, 5, 3), true);
  EXPECT_EQ(box.m_min, ON_3dPoint(-1, 2, 3));
  EXPECT_EQ(box.m_max, ON_3dPoint(1, 5, 3));
  EXPECT_EQ(box.Diagonal(), ON_3dVector(2, 3, 0));
  box.Set(ON_3dPoint(7, 7, 7), false);
  EXPECT_EQ(box.m_min, box.m_max);
}
