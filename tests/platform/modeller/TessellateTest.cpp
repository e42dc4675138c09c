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

// A rigid motion only places the shape: its mesh is the mesh of the shape where it was, moved
// along, and meshing the moved copy leaves the original's mesh as it was.
TEST(Tessellate, AMovedShapeMeshesAsItselfMoved) {
  // A turn of 0.7 about (2, 3, 6) / 7, then a shift far from the origin: two motions in turn.
  const double c = std::cos(0.7), s = std::sin(0.7), x = 2 / 7.0, y = 3 / 7.0, z = 6 / 7.0;
  testing::Matrix turn = testing::Identity();
  const double r[3][3] = {{c + x * x * (1 - c), x * y * (1 - c) - z * s, x * z * (1 - c) + y * s},
                          {y * x * (1 - c) + z * s, c + y * y * (1 - c), y * z * (1 - c) - x * s},
                          {z * x * (1 - c) - y * s, z * y * (1 - c) + x * s, c + z * z * (1 - c)}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) turn[i][j] = r[i][j];
  const auto moved = [&](const Point3& p) {
    return Point3{r[0][0] * p.x + r[0][1] * p.y + r[0][2] * p.z + 1000,
                  r[1][0] * p.x + r[1][1] * p.y + r[1][2] * p.z - 50,
                  r[2][0] * p.x + r[2][1] * p.y + r[2][2] * p.z + 7};
  };
  for (const Shape& original : {Made(Shape::Cone({0, 1, 0}, 1, -2)), Made(Shape::Torus({0, 0, 0}, 3, 1)),
                                Made(Shape::Wedge({0, 1, 0}, {2, 3, 1}))}) {
    std::vector<Triangle> before, after, again;
    ASSERT_EQ(original.Tessellate(0.5, before), Acad::eOk);
    Shape copy = original;
    ASSERT_EQ(testing::Apply(copy, turn), Acad::eOk);
    ASSERT_EQ(testing::Apply(copy, testing::Translation(1000, -50, 7)), Acad::eOk);
    ASSERT_EQ(copy.Tessellate(0.5, after), Acad::eOk);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i)
      for (int k = 0; k < 3; ++k) {
        const Point3 expected = moved(before[i].v[k]);
        const Point3& got = after[i].v[k];
        ASSERT_LT(std::hypot(got.x - expected.x, got.y - expected.y, got.z - expected.z), 1e-9)
            << "triangle " << i << " corner " << k;
      }
    ASSERT_EQ(original.Tessellate(0.5, again), Acad::eOk);
    ASSERT_EQ(again.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i)
      for (int k = 0; k < 3; ++k) ASSERT_EQ(again[i].v[k].x, before[i].v[k].x) << "triangle " << i;
  }
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
