#include "ModellerTestSupport.h"

namespace plx::modeller {
namespace {

using testing::ExpectExtents;
using testing::kPi;
using testing::Made;

TEST(ShapeBoolean, UniteOverlappingBoxes) {
  const Shape a = Made(Shape::Box({0, 0, 0}, {2, 2, 2}));
  const Shape b = Made(Shape::Box({1, 1, 1}, {3, 3, 3}));
  const ShapeResult united = a.Boolean(BoolOp::kUnite, b);
  ASSERT_TRUE(united.Ok());
  EXPECT_EQ(united.shape.Kind(), ShapeKind::kSolid);
  EXPECT_NEAR(united.shape.Volume(), 8 + 8 - 1, 1e-9);
  ExpectExtents(united.shape, {0, 0, 0}, {3, 3, 3});
  // Operands untouched.
  EXPECT_NEAR(a.Volume(), 8, 1e-9);
  EXPECT_NEAR(b.Volume(), 8, 1e-9);
}

// A copy shares the modeller's data with its source until one changes: a Boolean on either
// must neither see the other as the same shape nor pass its work on to it.
TEST(ShapeBoolean, CopiesCombineAsIndependentShapes) {
  const Shape cylinder = Made(Shape::Cylinder({1, 1, -1}, 0.5, 4));
  const Shape copy = cylinder;
  std::vector<Triangle> before;
  ASSERT_EQ(cylinder.Tessellate(0.5, before), Acad::eOk);

  const ShapeResult united = cylinder.Boolean(BoolOp::kUnite, copy);
  ASSERT_TRUE(united.Ok());
  EXPECT_NEAR(united.shape.Volume(), cylinder.Volume(), 1e-9);
  const ShapeResult common = copy.Boolean(BoolOp::kIntersect, cylinder);
  ASSERT_TRUE(common.Ok());
  EXPECT_NEAR(common.shape.Volume(), cylinder.Volume(), 1e-9);
  const ShapeResult nothing = cylinder.Boolean(BoolOp::kSubtract, copy);
  ASSERT_TRUE(nothing.Ok());
  EXPECT_TRUE(nothing.shape.IsNull());

  const Shape box = Made(Shape::Box({0, 0, 0}, {2, 2, 2}));
  const ShapeResult cut = box.Boolean(BoolOp::kSubtract, copy);
  ASSERT_TRUE(cut.Ok());
  EXPECT_NEAR(cut.shape.Volume(), 8 - kPi * 0.25 * 2, 1e-9);

  // The source meshes to the same triangles as before any of it.
  std::vector<Triangle> after;
  ASSERT_EQ(cylinder.Tessellate(0.5, after), Acad::eOk);
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); ++i)
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(after[i].v[k].x, before[i].v[k].x);
      EXPECT_EQ(after[i].v[k].y, before[i].v[k].y);
      EXPECT_EQ(after[i].v[k].z, before[i].v[k].z);
    }
}

TEST(ShapeBoolean, UniteOfTouchingBoxesMergesTheirFaces) {
  const Shape a = Made(Shape::Box({0, 0, 0}, {1, 1, 1}));
  const Shape b = Made(Shape::Box({1, 0, 0}, {2, 1, 1}));
  const ShapeResult united = a.Boolean(BoolOp::kUnite, b);
  ASSERT_TRUE(united.Ok());
  std::vector<Shape> faces;
  ASSERT_EQ(united.shape.Explode(faces), Acad::eOk);
  EXPECT_EQ(faces.size(), 6u);
  EXPECT_NEAR(united.shape.Volume(), 2, 1e-9);
}

TEST(ShapeBoolean, IntersectOverlapping) {
  const Shape a = Made(Shape::Box({0, 0, 0}, {2, 2, 2}));
  const Shape b = Made(Shape::Sphere({2, 2, 2}, 1));
  const ShapeResult common = a.Boolean(BoolOp::kIntersect, b);
  ASSERT_TRUE(common.Ok());
  EXPECT_NEAR(common.shape.Volume(), 4 * kPi / 3 / 8, 1e-6);
  ExpectExtents(common.shape, {1, 1, 1}, {2, 2, 2}, 1e-7);
}

TEST(ShapeBoolean, EmptyIntersectionGivesNullShape) {
  const Shape a = Made(Shape::Box({0, 0, 0}, {1, 1, 1}));
  const Shape b = Made(Shape::Sphere({5, 5, 5}, 1));
  const ShapeResult common = a.Boolean(BoolOp::kIntersect, b);
  EXPECT_EQ(common.status, Acad::eOk);
  EXPECT_TRUE(common.shape.IsNull());
}

TEST(ShapeBoolean, SubtractCylinderFromBox) {
  const Shape box = Made(Shape::Box({-2, -2, 0}, {2, 2, 1}));
  const Shape hole = Made(Shape::Cylinder({0, 0, -1}, 1, 3));
  const ShapeResult cut = box.Boolean(BoolOp::kSubtract, hole);
  ASSERT_TRUE(cut.Ok());
  EXPECT_NEAR(cut.shape.Volume(), 16 - kPi, 1e-6);
  ExpectExtents(cut.shape, {-2, -2, 0}, {2, 2, 1});
}

TEST(ShapeBoolean, SubtractEverythingGivesNullShape) {
  const Shape small = Made(Shape::Box({0, 0, 0}, {1, 1, 1}));
  const Shape large = Made(Shape::Box({-1, -1, -1}, {2, 2, 2}));
  const ShapeResult cut = small.Boolean(BoolOp::kSubtract, large);
  EXPECT_EQ(cut.status, Acad::eOk);
  EXPECT_TRUE(cut.shape.IsNull());
}

TEST(ShapeBoolean, UniteOfDisjointSolidsKeepsBoth) {
  const Shape a = Made(Shape::Box({0, 0, 0}, {1, 1, 1}));
  const Shape b = Made(Shape::Box({3, 0, 0}, {4, 1, 1}));
  const ShapeResult united = a.Boolean(BoolOp::kUnite, b);
  ASSERT_TRUE(united.Ok());
  EXPECT_NEAR(united.shape.Volume(), 2, 1e-9);
  ExpectExtents(united.shape, {0, 0, 0}, {4, 1, 1});
}

TEST(ShapeBoolean, RefusesNullAndMixedOperands) {
  const Shape box = Made(Shape::Box({0, 0, 0}, {1, 1, 1}));
  std::vector<Shape> faces;
  ASSERT_EQ(box.Explode(faces), Acad::eOk);
  for (const ShapeResult& r : {box.Boolean(BoolOp::kUnite, Shape()), Shape().Boolean(BoolOp::kUnite, box),
                               box.Boolean(BoolOp::kUnite, faces[0])}) {
    EXPECT_EQ(r.status, Acad::eInvalidInput);
    EXPECT_FALSE(r.reason.empty());
    EXPECT_TRUE(r.shape.IsNull());
  }
}

}  // namespace
}  // namespace plx::modeller
