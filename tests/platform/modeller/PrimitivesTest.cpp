#include <functional>
#include <limits>

#include "ModellerTestSupport.h"

namespace plx::modeller {
namespace {

using testing::ExpectExtents;
using testing::kPi;
using testing::Made;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct BadSize {
  const char* name;
  friend void PrintTo(const BadSize& c, std::ostream* os) { *os << c.name; }
  std::function<ShapeResult()> make;
  Acad::ErrorStatus status;
};

class PrimitiveRefuses : public ::testing::TestWithParam<BadSize> {};

TEST_P(PrimitiveRefuses, WithStatusAndReason) {
  const ShapeResult result = GetParam().make();
  EXPECT_EQ(result.status, GetParam().status);
  EXPECT_FALSE(result.reason.empty());
  EXPECT_TRUE(result.shape.IsNull());
  EXPECT_EQ(result.shape.Kind(), ShapeKind::kNull);
}

INSTANTIATE_TEST_SUITE_P(
    Primitives, PrimitiveRefuses,
    ::testing::Values(
        BadSize{"BoxFlatInZ", [] { return Shape::Box({0, 0, 1}, {2, 2, 1}); }, Acad::eDegenerateGeometry},
        BadSize{"BoxFlatInX", [] { return Shape::Box({3, 0, 0}, {3, 2, 2}); }, Acad::eDegenerateGeometry},
        BadSize{"BoxNaN", [] { return Shape::Box({0, kNaN, 0}, {1, 1, 1}); }, Acad::eInvalidInput},
        BadSize{"SphereZero", [] { return Shape::Sphere({0, 0, 0}, 0); }, Acad::eDegenerateGeometry},
        BadSize{"SphereNegative", [] { return Shape::Sphere({0, 0, 0}, -1); }, Acad::eDegenerateGeometry},
        BadSize{"SphereInfinite", [] { return Shape::Sphere({0, 0, 0}, kInf); }, Acad::eInvalidInput},
        BadSize{"SphereCentreNaN", [] { return Shape::Sphere({kNaN, 0, 0}, 1); }, Acad::eInvalidInput},
        BadSize{"CylinderZeroHeight", [] { return Shape::Cylinder({0, 0, 0}, 1, 0); }, Acad::eDegenerateGeometry},
        BadSize{"CylinderNegativeRadius", [] { return Shape::Cylinder({0, 0, 0}, -1, 2); },
                Acad::eDegenerateGeometry},
        BadSize{"CylinderNaNHeight", [] { return Shape::Cylinder({0, 0, 0}, 1, kNaN); }, Acad::eInvalidInput},
        BadSize{"ConeZeroRadius", [] { return Shape::Cone({0, 0, 0}, 0, 2); }, Acad::eDegenerateGeometry},
        BadSize{"ConeZeroHeight", [] { return Shape::Cone({0, 0, 0}, 1, 0); }, Acad::eDegenerateGeometry},
        BadSize{"TorusTubeTooWide", [] { return Shape::Torus({0, 0, 0}, 2, 2); }, Acad::eDegenerateGeometry},
        BadSize{"TorusZeroRadius", [] { return Shape::Torus({0, 0, 0}, 0, 1); }, Acad::eDegenerateGeometry},
        BadSize{"TorusNegativeTube", [] { return Shape::Torus({0, 0, 0}, 3, -1); }, Acad::eDegenerateGeometry},
        BadSize{"WedgeFlatInY", [] { return Shape::Wedge({0, 1, 0}, {2, 1, 2}); }, Acad::eDegenerateGeometry},
        BadSize{"WedgeInfinite", [] { return Shape::Wedge({0, 0, 0}, {kInf, 1, 1}); }, Acad::eInvalidInput}),
    [](const auto& info) { return std::string(info.param.name); });

struct Expected {
  const char* name;
  friend void PrintTo(const Expected& c, std::ostream* os) { *os << c.name; }
  std::function<ShapeResult()> make;
  Point3 min, max;
  double volume;
};

class PrimitiveShape : public ::testing::TestWithParam<Expected> {};

TEST_P(PrimitiveShape, HasTightExtentsAndVolume) {
  const Shape shape = Made(GetParam().make());
  EXPECT_EQ(shape.Kind(), ShapeKind::kSolid);
  // Tori are bounded numerically, within the modeller's confusion distance.
  ExpectExtents(shape, GetParam().min, GetParam().max, 2e-7);
  EXPECT_NEAR(shape.Volume(), GetParam().volume, 1e-6 * GetParam().volume);
}

INSTANTIATE_TEST_SUITE_P(
    Primitives, PrimitiveShape,
    ::testing::Values(
        Expected{"Box", [] { return Shape::Box({1, 2, 3}, {4, 6, 8}); }, {1, 2, 3}, {4, 6, 8}, 60},
        Expected{"BoxCornersSwapped", [] { return Shape::Box({4, 2, 8}, {1, 6, 3}); }, {1, 2, 3}, {4, 6, 8}, 60},
        Expected{"Sphere", [] { return Shape::Sphere({1, 2, 3}, 2); }, {-1, 0, 1}, {3, 4, 5}, 32 * kPi / 3},
        Expected{"Cylinder", [] { return Shape::Cylinder({1, 1, 0}, 2, 5); }, {-1, -1, 0}, {3, 3, 5}, 20 * kPi},
        Expected{"CylinderDown", [] { return Shape::Cylinder({0, 0, 0}, 1, -3); }, {-1, -1, -3}, {1, 1, 0}, 3 * kPi},
        Expected{"Cone", [] { return Shape::Cone({0, 0, 2}, 1, 3); }, {-1, -1, 2}, {1, 1, 5}, kPi},
        Expected{"ConeDown", [] { return Shape::Cone({0, 0, 0}, 3, -1); }, {-3, -3, -1}, {3, 3, 0}, 3 * kPi},
        Expected{"Torus", [] { return Shape::Torus({0, 0, 1}, 5, 1); }, {-6, -6, 0}, {6, 6, 2}, 10 * kPi * kPi},
        Expected{"Wedge", [] { return Shape::Wedge({0, 0, 0}, {4, 2, 3}); }, {0, 0, 0}, {4, 2, 3}, 12},
        Expected{"WedgeFromHighCorner", [] { return Shape::Wedge({4, 2, 3}, {0, 0, 0}); }, {0, 0, 0}, {4, 2, 3}, 12}),
    [](const auto& info) { return std::string(info.param.name); });

// Height of the wedge within a thin slab at x in [x0, x1].
double SlabHeight(const Shape& wedge, double x0, double x1) {
  const Shape slab = Made(Shape::Box({x0, -100, -100}, {x1, 100, 100}));
  const ShapeResult cut = wedge.Boolean(BoolOp::kIntersect, slab);
  EXPECT_TRUE(cut.Ok());
  Point3 min, max;
  EXPECT_EQ(cut.shape.Extents(min, max), Acad::eOk);
  return max.z - min.z;
}

struct WedgeCase {
  Point3 first, other;
};

class WedgeShape : public ::testing::TestWithParam<WedgeCase> {};

TEST_P(WedgeShape, IsFullHeightAtFirstCornerAndSlopesToOther) {
  const auto [a, b] = GetParam();
  const Shape wedge = Made(Shape::Wedge(a, b));
  const double height = std::abs(b.z - a.z);
  const double step = 0.05 * (b.x - a.x);
  auto slab = [&](double x) { return SlabHeight(wedge, std::min(x, x + step), std::max(x, x + step)); };
  EXPECT_NEAR(slab(a.x), height, 1e-7);
  EXPECT_NEAR(slab(b.x - step), 0.05 * height, 1e-7);
  // The base lies at the first corner's Z.
  const Shape layer = Made(Shape::Box({-100, -100, a.z - 0.01}, {100, 100, a.z + 0.01}));
  const ShapeResult base = wedge.Boolean(BoolOp::kIntersect, layer);
  ASSERT_TRUE(base.Ok());
  Point3 min, max;
  ASSERT_EQ(base.shape.Extents(min, max), Acad::eOk);
  EXPECT_NEAR(max.x - min.x, std::abs(b.x - a.x), 0.01 * std::abs(b.x - a.x) + 1e-7);
}

INSTANTIATE_TEST_SUITE_P(Primitives, WedgeShape,
                         ::testing::Values(WedgeCase{{0, 0, 0}, {4, 2, 3}}, WedgeCase{{4, 2, 3}, {0, 0, 0}},
                                           WedgeCase{{1, 5, 0}, {-3, 2, 2}}, WedgeCase{{0, 0, 4}, {2, -1, 1}}));

}  // namespace
}  // namespace plx::modeller
