#include <functional>

#include "ModellerTestSupport.h"

namespace plx::modeller {
namespace {

using testing::Made;

constexpr double kFacetRes[] = {0.01, 0.5, 1, 5, 10};

size_t Count(const Shape& shape, double facetres) {
  std::vector<Triangle> triangles;
  EXPECT_EQ(shape.Tessellate(facetres, triangles), Acad::eOk);
  return triangles.size();
}

TEST(MeshDensity, FollowsFacetRes) {
  const MeshDensity low = DensityFor(0.01, 10), mid = DensityFor(0.5, 10), high = DensityFor(10, 10);
  EXPECT_NEAR(mid.linear, 0.1, 1e-12);
  EXPECT_NEAR(mid.angular, 0.5, 1e-12);
  EXPECT_NEAR(low.linear, 0.1 * std::pow(50.0, 0.55), 1e-12);
  EXPECT_NEAR(low.angular, 1.0, 1e-12);  // clamped
  EXPECT_NEAR(high.linear, 0.1 * std::pow(0.05, 1.4), 1e-12);
  EXPECT_NEAR(high.angular, 0.5 * std::sqrt(0.05), 1e-12);
  EXPECT_NEAR(DensityFor(0.5, 20).linear, 2 * mid.linear, 1e-12);
}

struct Curved {
  const char* name;
  friend void PrintTo(const Curved& c, std::ostream* os) { *os << c.name; }
  std::function<ShapeResult(double scale)> make;
};

class CurvedTessellation : public ::testing::TestWithParam<Curved> {};

TEST_P(CurvedTessellation, GrowsWithFacetResAndNotWithSize) {
  const Shape small = Made(GetParam().make(1));
  const Shape large = Made(GetParam().make(100));
  size_t previous = 0;
  for (double r : kFacetRes) {
    const size_t n = Count(small, r);
    EXPECT_GT(n, previous) << "FACETRES " << r;
    previous = n;
    const double ratio = static_cast<double>(Count(large, r)) / static_cast<double>(n);
    EXPECT_NEAR(ratio, 1.0, 0.05) << "FACETRES " << r;
  }
}

TEST_P(CurvedTessellation, FacesOutwardsAndEnclosesTheVolume) {
  const Shape shape = Made(GetParam().make(1));
  for (double r : {0.5, 5.0}) {
    std::vector<Triangle> triangles;
    ASSERT_EQ(shape.Tessellate(r, triangles), Acad::eOk);
    EXPECT_NEAR(testing::SignedVolume(triangles), shape.Volume(), 0.05 * shape.Volume());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Tessellate, CurvedTessellation,
    ::testing::Values(Curved{"Sphere", [](double s) { return Shape::Sphere({s, 2 * s, 0}, s); }},
                      Curved{"Cylinder", [](double s) { return Shape::Cylinder({0, 0, 0}, s, 3 * s); }},
                      Curved{"Cone", [](double s) { return Shape::Cone({0, s, 0}, s, -2 * s); }},
                      Curved{"Torus", [](double s) { return Shape::Torus({0, 0, 0}, 3 * s, s); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Tessellate, SphereCountsNearTheHostsMeasures) {
  // Measured on this modeller: 82, 306, 752, 7268, 19198 at FACETRES 0.01 ... 10.
  const Shape sphere = Made(Shape::Sphere({0, 0, 0}, 1));
  const size_t measured[] = {82, 306, 752, 7268, 19198};
  for (size_t i = 0; i < std::size(kFacetRes); ++i) {
    const double n = static_cast<double>(Count(sphere, kFacetRes[i]));
    EXPECT_NEAR(n / static_cast<double>(measured[i]), 1.0, 0.1) << "FACETRES " << kFacetRes[i];
  }
}

TEST(Tessellate, FlatFacesIgnoreFacetRes) {
  const Shape box = Made(Shape::Box({0, 0, 0}, {1, 2, 3}));
  for (double r : kFacetRes) EXPECT_EQ(Count(box, r), 12u);
  const Shape wedge = Made(Shape::Wedge({0, 0, 0}, {1, 2, 3}));
  EXPECT_EQ(Count(wedge, 10), 8u);
}

TEST(Tessellate, CoarserAfterFinerStartsAfresh) {
  const Shape sphere = Made(Shape::Sphere({0, 0, 0}, 1));
  const size_t coarse = Count(sphere, 0.5);
  EXPECT_GT(Count(sphere, 10), coarse);
  EXPECT_EQ(Count(sphere, 0.5), coarse);
}

TEST(Tessellate, RefusesBadFacetResAndNullShape) {
  const Shape sphere = Made(Shape::Sphere({0, 0, 0}, 1));
  std::vector<Triangle> triangles(3);
  for (double r : {0.0, 0.009, 10.5, -1.0, static_cast<double>(NAN)}) {
    EXPECT_EQ(sphere.Tessellate(r, triangles), Acad::eOutOfRange) << r;
    EXPECT_EQ(triangles.size(), 3u);
  }
  EXPECT_EQ(Shape().Tessellate(0.5, triangles), Acad::eInvalidInput);
}

TEST(Tessellate, OpenBodyAndRegion) {
  const Shape cylinder = Made(Shape::Cylinder({0, 0, 0}, 1, 1));
  std::vector<Shape> faces;
  ASSERT_EQ(cylinder.Explode(faces), Acad::eOk);
  for (const Shape& f : faces) {
    std::vector<Triangle> triangles;
    ASSERT_EQ(f.Tessellate(0.5, triangles), Acad::eOk);
    EXPECT_FALSE(triangles.empty());
  }
}

}  // namespace
}  // namespace plx::modeller
