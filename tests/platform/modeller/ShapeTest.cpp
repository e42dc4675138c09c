#include "ModellerTestSupport.h"

namespace plx::modeller {
namespace {

using testing::Apply;
using testing::ExpectExtents;
using testing::kPi;
using testing::Made;
using testing::Scaling;
using testing::Translation;

TEST(Shape, DefaultIsNullWithoutExtents) {
  const Shape shape;
  EXPECT_TRUE(shape.IsNull());
  EXPECT_EQ(shape.Kind(), ShapeKind::kNull);
  Point3 min, max;
  EXPECT_EQ(shape.Extents(min, max), Acad::eNullExtents);
  EXPECT_EQ(shape.Volume(), 0.0);
  const Shape copy = shape;
  EXPECT_TRUE(copy.IsNull());
}

TEST(Shape, CopyIsIndependentOfItsSource) {
  Shape original = Made(Shape::Box({0, 0, 0}, {1, 2, 3}));
  Shape copy = original;
  ASSERT_EQ(Apply(copy, Translation(10, 0, 0)), Acad::eOk);
  ExpectExtents(original, {0, 0, 0}, {1, 2, 3});
  ExpectExtents(copy, {10, 0, 0}, {11, 2, 3});

  Shape assigned;
  assigned = copy;
  ASSERT_EQ(Apply(copy, Scaling(2, 2, 2)), Acad::eOk);
  ExpectExtents(assigned, {10, 0, 0}, {11, 2, 3});
  ExpectExtents(copy, {20, 0, 0}, {22, 4, 6});

  // Released source: the copy lives on alone (LeakSanitizer watches the rest).
  { Shape temporary = original; assigned = temporary; }
  ExpectExtents(assigned, {0, 0, 0}, {1, 2, 3});
}

TEST(Shape, CopiesTessellateIndependently) {
  const Shape original = Made(Shape::Sphere({0, 0, 0}, 1));
  std::vector<Triangle> coarse, fine, again;
  ASSERT_EQ(original.Tessellate(0.01, coarse), Acad::eOk);
  const Shape copy = original;
  ASSERT_EQ(copy.Tessellate(10, fine), Acad::eOk);
  ASSERT_EQ(original.Tessellate(0.01, again), Acad::eOk);
  EXPECT_LT(coarse.size(), fine.size());
  EXPECT_EQ(coarse.size(), again.size());
}

TEST(Shape, MoveLeavesSourceNull) {
  Shape source = Made(Shape::Sphere({0, 0, 0}, 1));
  Shape target = std::move(source);
  EXPECT_TRUE(source.IsNull());  // NOLINT(bugprone-use-after-move)
  EXPECT_EQ(target.Kind(), ShapeKind::kSolid);
}

TEST(ShapeTransform, TranslationMovesExactly) {
  Shape box = Made(Shape::Box({0, 0, 0}, {1, 2, 3}));
  ASSERT_EQ(Apply(box, Translation(-5, 2, 0.5)), Acad::eOk);
  ExpectExtents(box, {-5, 2, 0.5}, {-4, 4, 3.5});
  EXPECT_NEAR(box.Volume(), 6, 1e-9);
}

// The box is kept between calls: every change of the shape must show in the next answer.
TEST(ShapeTransform, ExtentsFollowEveryChange) {
  Shape torus = Made(Shape::Torus({0, 0, 0}, 3, 1));
  ExpectExtents(torus, {-4, -4, -1}, {4, 4, 1}, 1e-6);
  ASSERT_EQ(Apply(torus, Translation(10, -2, 0.5)), Acad::eOk);
  ExpectExtents(torus, {6, -6, -0.5}, {14, 2, 1.5}, 1e-6);
  // A quarter turn about X: the ring now stands in the XZ plane.
  testing::Matrix turn = testing::Identity();
  turn[1][1] = 0, turn[1][2] = -1, turn[2][1] = 1, turn[2][2] = 0;
  ASSERT_EQ(Apply(torus, turn), Acad::eOk);
  ExpectExtents(torus, {6, -1.5, -6}, {14, 0.5, 2}, 1e-6);
  const Shape copy = torus;
  ExpectExtents(copy, {6, -1.5, -6}, {14, 0.5, 2}, 1e-6);
  ASSERT_EQ(Apply(torus, Scaling(2, 2, 2)), Acad::eOk);
  ExpectExtents(torus, {12, -3, -12}, {28, 1, 4}, 2e-6);
  ExpectExtents(copy, {6, -1.5, -6}, {14, 0.5, 2}, 1e-6);
}

// A torus cut open is no longer a whole torus: its box is that of what is left.
TEST(ShapeTransform, ExtentsOfACutTorusAreThoseOfWhatIsLeft) {
  const Shape torus = Made(Shape::Torus({0, 0, 0}, 3, 1));
  const Shape half = Made(torus.Boolean(BoolOp::kSubtract, Made(Shape::Box({0, -5, -2}, {5, 5, 2}))));
  ExpectExtents(half, {-4, -4, -1}, {0, 4, 1}, 1e-6);
  const Shape slice = Made(torus.Boolean(BoolOp::kIntersect, Made(Shape::Box({-5, -5, 0.5}, {5, 5, 2}))));
  // At the cut the tube reaches sqrt(1 - 0.5^2) beyond the ring's circle.
  const double reach = 3 + std::sqrt(0.75);
  ExpectExtents(slice, {-reach, -reach, 0.5}, {reach, reach, 1}, 1e-6);
}

TEST(ShapeTransform, UniformScaleKeepsShape) {
  Shape sphere = Made(Shape::Sphere({1, 0, 0}, 1));
  ASSERT_EQ(Apply(sphere, Scaling(3, 3, 3)), Acad::eOk);
  ExpectExtents(sphere, {0, -3, -3}, {6, 3, 3}, 1e-7);
  EXPECT_NEAR(sphere.Volume(), 4 * kPi * 27 / 3, 1e-6);
}

TEST(ShapeTransform, RotationAboutZ) {
  Shape box = Made(Shape::Box({0, 0, 0}, {1, 2, 3}));
  testing::Matrix m = testing::Identity();
  m[0][0] = 0, m[0][1] = -1, m[1][0] = 1, m[1][1] = 0;
  ASSERT_EQ(Apply(box, m), Acad::eOk);
  ExpectExtents(box, {-2, 0, 0}, {0, 1, 3});
}

TEST(ShapeTransform, NonUniformScaleStretchesSphere) {
  Shape sphere = Made(Shape::Sphere({0, 0, 0}, 1));
  ASSERT_EQ(Apply(sphere, Scaling(2, 1, 3)), Acad::eOk);
  // Free-form after the stretch: extents within the modeller's confusion distance, the volume
  // within the approximation of the surface.
  ExpectExtents(sphere, {-2, -1, -3}, {2, 1, 3}, 2e-7);
  EXPECT_NEAR(sphere.Volume(), 8 * kPi, 1e-3 * 8 * kPi);
  std::vector<Triangle> triangles;
  ASSERT_EQ(sphere.Tessellate(0.5, triangles), Acad::eOk);
  EXPECT_NEAR(testing::SignedVolume(triangles), 8 * kPi, 0.05 * 8 * kPi);
}

TEST(ShapeTransform, MirrorsStayOutwardFacing) {
  for (const testing::Matrix& m : {Scaling(-1, 1, 1), Scaling(-2, 1, 1)}) {
    Shape box = Made(Shape::Box({1, 0, 0}, {2, 1, 1}));
    ASSERT_EQ(Apply(box, m), Acad::eOk);
    const double sx = -m[0][0];
    ExpectExtents(box, {-2 * sx, 0, 0}, {-sx, 1, 1}, 2e-7);
    EXPECT_NEAR(box.Volume(), sx, 1e-6);
    std::vector<Triangle> triangles;
    ASSERT_EQ(box.Tessellate(0.5, triangles), Acad::eOk);
    EXPECT_NEAR(testing::SignedVolume(triangles), sx, 1e-6);
  }
}

TEST(ShapeTransform, RefusesProjectiveAndSingularMatrices) {
  Shape box = Made(Shape::Box({0, 0, 0}, {1, 1, 1}));
  testing::Matrix projective = testing::Identity();
  projective[3][0] = 0.5;
  EXPECT_EQ(Apply(box, projective), Acad::eInvalidInput);
  EXPECT_EQ(Apply(box, Scaling(1, 0, 1)), Acad::eInvalidInput);
  testing::Matrix notFinite = Translation(NAN, 0, 0);
  EXPECT_EQ(Apply(box, notFinite), Acad::eInvalidInput);
  ExpectExtents(box, {0, 0, 0}, {1, 1, 1});
}

TEST(ShapeTransform, NullShapeStaysNull) {
  Shape shape;
  EXPECT_EQ(Apply(shape, Translation(1, 2, 3)), Acad::eOk);
  EXPECT_TRUE(shape.IsNull());
}

}  // namespace
}  // namespace plx::modeller
