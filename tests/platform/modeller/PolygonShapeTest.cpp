#include <algorithm>

#include "ModellerTestSupport.h"

namespace plx::modeller {
namespace {

using testing::ExpectExtents;
using Polygons = std::vector<std::vector<Point3>>;

// Unit cube, each face counter-clockwise seen from outside.
Polygons Cube(double offset = 0) {
  auto p = [&](double x, double y, double z) { return Point3{x + offset, y, z}; };
  return {
      {p(0, 0, 0), p(0, 1, 0), p(1, 1, 0), p(1, 0, 0)},  // bottom
      {p(0, 0, 1), p(1, 0, 1), p(1, 1, 1), p(0, 1, 1)},  // top
      {p(0, 0, 0), p(1, 0, 0), p(1, 0, 1), p(0, 0, 1)},  // front
      {p(0, 1, 0), p(0, 1, 1), p(1, 1, 1), p(1, 1, 0)},  // back
      {p(0, 0, 0), p(0, 0, 1), p(0, 1, 1), p(0, 1, 0)},  // left
      {p(1, 0, 0), p(1, 1, 0), p(1, 1, 1), p(1, 0, 1)},  // right
  };
}

TEST(PolygonShape, ClosedPolygonsMakeASolid) {
  const ShapeResult made = Shape::FromPolygons(Cube());
  ASSERT_TRUE(made.Ok());
  EXPECT_EQ(made.shape.Kind(), ShapeKind::kSolid);
  EXPECT_NEAR(made.shape.Volume(), 1, 1e-12);
  ExpectExtents(made.shape, {0, 0, 0}, {1, 1, 1});
}

TEST(PolygonShape, OrientsInconsistentAndInsideOutPolygons) {
  Polygons mixed = Cube();
  std::reverse(mixed[1].begin(), mixed[1].end());
  std::reverse(mixed[4].begin(), mixed[4].end());
  Polygons inverted = Cube();
  for (auto& polygon : inverted) std::reverse(polygon.begin(), polygon.end());
  for (const Polygons& polygons : {mixed, inverted}) {
    const ShapeResult made = Shape::FromPolygons(polygons);
    ASSERT_TRUE(made.Ok());
    EXPECT_EQ(made.shape.Kind(), ShapeKind::kSolid);
    EXPECT_NEAR(made.shape.Volume(), 1, 1e-12);
    std::vector<Triangle> triangles;
    ASSERT_EQ(made.shape.Tessellate(0.5, triangles), Acad::eOk);
    EXPECT_NEAR(testing::SignedVolume(triangles), 1, 1e-9);
  }
}

TEST(PolygonShape, DropsRepeatedCornersAndFlatPolygons) {
  Polygons polygons = Cube();
  polygons[0].insert(polygons[0].begin() + 1, polygons[0][0]);  // repeated corner
  polygons[1].push_back(polygons[1][0]);                         // loop closed explicitly
  polygons.push_back({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});         // no area
  polygons.push_back({{0, 0, 0}, {0, 0, 0}});
  const ShapeResult made = Shape::FromPolygons(polygons);
  ASSERT_TRUE(made.Ok());
  EXPECT_EQ(made.shape.Kind(), ShapeKind::kSolid);
  EXPECT_NEAR(made.shape.Volume(), 1, 1e-12);
}

TEST(PolygonShape, OpenPolygonsMakeABody) {
  Polygons polygons = Cube();
  polygons.pop_back();
  const ShapeResult made = Shape::FromPolygons(polygons);
  ASSERT_TRUE(made.Ok());
  EXPECT_EQ(made.shape.Kind(), ShapeKind::kBody);
  EXPECT_NEAR(made.shape.Area(), 5, 1e-12);
  EXPECT_EQ(made.shape.Volume(), 0);
}

TEST(PolygonShape, SeparateClosedPartsMakeOneSolid) {
  Polygons polygons = Cube();
  const Polygons second = Cube(3);
  polygons.insert(polygons.end(), second.begin(), second.end());
  const ShapeResult made = Shape::FromPolygons(polygons);
  ASSERT_TRUE(made.Ok());
  EXPECT_EQ(made.shape.Kind(), ShapeKind::kSolid);
  EXPECT_NEAR(made.shape.Volume(), 2, 1e-12);
  ExpectExtents(made.shape, {0, 0, 0}, {4, 1, 1});
}

TEST(PolygonShape, BuiltSolidTakesPartInBooleans) {
  const Shape cube = testing::Made(Shape::FromPolygons(Cube()));
  const Shape box = testing::Made(Shape::Box({0.5, 0, 0}, {1.5, 1, 1}));
  const ShapeResult united = cube.Boolean(BoolOp::kUnite, box);
  ASSERT_TRUE(united.Ok());
  EXPECT_NEAR(united.shape.Volume(), 1.5, 1e-9);
}

TEST(PolygonShape, NonPlanarQuadIsSplit) {
  Polygons polygons = Cube();
  // Lift one top corner: the top and two sides are no longer planar quads.
  for (auto& polygon : polygons)
    for (Point3& p : polygon)
      if (p.x == 1 && p.y == 1 && p.z == 1) p.z = 1.5;
  const ShapeResult made = Shape::FromPolygons(polygons);
  ASSERT_TRUE(made.Ok());
  EXPECT_EQ(made.shape.Kind(), ShapeKind::kSolid);
  EXPECT_GT(made.shape.Volume(), 1);
}

TEST(PolygonShape, RefusesBadInput) {
  struct Case {
    Polygons polygons;
    Acad::ErrorStatus status;
  };
  const Case cases[] = {
      {{}, Acad::eInvalidInput},
      {{{{0, 0, 0}, {1, 0, 0}}}, Acad::eInvalidInput},
      {{{{0, 0, 0}, {1, NAN, 0}, {1, 1, 0}}}, Acad::eInvalidInput},
      {{{{0, 0, 0}, {2, 0, 0}, {2, 2, 1}, {1, 3, 0}, {0, 2, 0}}}, Acad::eNonPlanarEntity},
  };
  for (const Case& c : cases) {
    const ShapeResult made = Shape::FromPolygons(c.polygons);
    EXPECT_EQ(made.status, c.status);
    EXPECT_FALSE(made.reason.empty());
    EXPECT_TRUE(made.shape.IsNull());
  }
}

}  // namespace
}  // namespace plx::modeller
