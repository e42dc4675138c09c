// Triangles and quads as NURBS surfaces: the patch holds its corners in order, its sides are
// straight, and a corner that is not finite leaves the caller's surface alone.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "TVKGeo.h"

namespace {

void ExpectNear(const ON_3dPoint& a, const ON_3dPoint& b, double tol = 1e-12) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
  EXPECT_NEAR(a.z, b.z, tol);
}

TEST(TVKNurbsSurface, QuadCornersInOrderAndStraightSides) {
  const ON_3dPoint a(0, 0, 0), b(4, 0, 0), c(4, 2, 1), d(0, 2, 3);
  ON_NurbsSurface surface;
  ASSERT_NE(TVKNurbsSurface::CreateQuad(surface, a, b, c, d), 0);
  EXPECT_TRUE(surface.IsValid());
  EXPECT_EQ(surface.Degree(0), 1);
  EXPECT_EQ(surface.Degree(1), 1);
  EXPECT_EQ(surface.Domain(0), ON_Interval(0, 1));
  EXPECT_EQ(surface.Domain(1), ON_Interval(0, 1));
  EXPECT_EQ(surface.PointAt(0, 0), a);
  EXPECT_EQ(surface.PointAt(1, 0), b);
  EXPECT_EQ(surface.PointAt(1, 1), c);
  EXPECT_EQ(surface.PointAt(0, 1), d);
  // Each side runs straight between its two corners.
  ExpectNear(surface.PointAt(0.25, 0), ON_3dPoint(1, 0, 0));
  ExpectNear(surface.PointAt(1, 0.5), ON_3dPoint(4, 1, 0.5));
  ExpectNear(surface.PointAt(0, 0.5), ON_3dPoint(0, 1, 1.5));
}

TEST(TVKNurbsSurface, TriangleShrinksTheLastSideToItsThirdCorner) {
  const ON_3dPoint a(1, 1, 1), b(3, 1, 1), c(2, 4, 1);
  ON_NurbsSurface surface;
  ASSERT_NE(TVKNurbsSurface::CreateTriangle(surface, a, b, c), 0);
  EXPECT_TRUE(surface.IsValid());
  EXPECT_EQ(surface.PointAt(0, 0), a);
  EXPECT_EQ(surface.PointAt(1, 0), b);
  EXPECT_EQ(surface.PointAt(1, 1), c);
  EXPECT_EQ(surface.PointAt(0, 1), c);
  ExpectNear(surface.PointAt(0.5, 0.5), ON_3dPoint(2, 2.5, 1));  // inside the triangle
  const ON_BoundingBox box = surface.BoundingBox();
  EXPECT_EQ(box.m_min, ON_3dPoint(1, 1, 1));
  EXPECT_EQ(box.m_max, ON_3dPoint(3, 4, 1));
}

TEST(TVKNurbsSurface, ReplacesWhatTheSurfaceHeld) {
  ON_NurbsSurface surface(3, true, 3, 3, 4, 5);
  ASSERT_NE(TVKNurbsSurface::CreateQuad(surface, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}), 0);
  EXPECT_FALSE(surface.IsRational());
  EXPECT_EQ(surface.CVCount(0), 2);
  EXPECT_EQ(surface.CVCount(1), 2);
}

TEST(TVKNurbsSurface, CornerNotFiniteFailsAndLeavesTheSurface) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  ON_NurbsSurface surface;
  ASSERT_NE(TVKNurbsSurface::CreateTriangle(surface, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}), 0);
  EXPECT_EQ(TVKNurbsSurface::CreateQuad(surface, {0, 0, 0}, {nan, 0, 0}, {1, 1, 0}, {0, 1, 0}), 0);
  EXPECT_EQ(TVKNurbsSurface::CreateTriangle(surface, {0, 0, 0}, {1, 0, 0}, {0, inf, 0}), 0);
  EXPECT_EQ(surface.PointAt(0, 1), ON_3dPoint(0, 1, 0));  // still the first triangle
  ON_NurbsSurface empty;
  EXPECT_EQ(TVKNurbsSurface::CreateQuad(empty, {0, 0, 0}, {1, 0, 0}, {1, 1, inf}, {0, 1, 0}), 0);
  EXPECT_FALSE(empty.IsValid());
}

}  // namespace
