#include <cmath>

#include "ModellerTestSupport.h"

namespace plx::modeller {
namespace {

using testing::kPi;
using testing::Made;

double Distance(const Point3& a, const Point3& b) { return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z); }

Point3 Cross(const Point3& a, const Point3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// A point of an arc at angle t: centre + r (cos t ref + sin t (normal x ref)).
Point3 ArcPoint(const Curve& c, double t) {
  const Point3 y = Cross(c.normal, c.refAxis);
  return {c.center.x + c.radius * (std::cos(t) * c.refAxis.x + std::sin(t) * y.x),
          c.center.y + c.radius * (std::cos(t) * c.refAxis.y + std::sin(t) * y.y),
          c.center.z + c.radius * (std::cos(t) * c.refAxis.z + std::sin(t) * y.z)};
}

TEST(ShapeExplode, BoxGivesSixRegions) {
  const Shape box = Made(Shape::Box({0, 0, 0}, {1, 2, 3}));
  std::vector<Shape> faces;
  ASSERT_EQ(box.Explode(faces), Acad::eOk);
  ASSERT_EQ(faces.size(), 6u);
  double area = 0;
  for (const Shape& f : faces) {
    EXPECT_EQ(f.Kind(), ShapeKind::kRegion);
    area += f.Area();
  }
  EXPECT_NEAR(area, 2 * (2 + 3 + 6), 1e-9);
}

TEST(ShapeExplode, CylinderGivesTwoRegionsAndABody) {
  const Shape cylinder = Made(Shape::Cylinder({0, 0, 0}, 1, 2));
  std::vector<Shape> faces;
  ASSERT_EQ(cylinder.Explode(faces), Acad::eOk);
  int regions = 0, bodies = 0;
  for (const Shape& f : faces) {
    if (f.Kind() == ShapeKind::kRegion) {
      ++regions;
      std::vector<Curve> curves;
      ASSERT_EQ(f.ExplodeToCurves(curves), Acad::eOk);
      ASSERT_EQ(curves.size(), 1u);
      EXPECT_EQ(curves[0].type, Curve::Type::kCircle);
      EXPECT_NEAR(curves[0].radius, 1, 1e-12);
      EXPECT_NEAR(curves[0].center.x, 0, 1e-12);
      EXPECT_NEAR(std::abs(curves[0].normal.z), 1, 1e-12);
    } else {
      EXPECT_EQ(f.Kind(), ShapeKind::kBody);
      EXPECT_NEAR(f.Area(), 4 * kPi, 1e-9);
      ++bodies;
    }
  }
  EXPECT_EQ(regions, 2);
  EXPECT_EQ(bodies, 1);
}

TEST(ShapeExplode, RegionOfABoxFaceGivesFourChainedLines) {
  const Shape box = Made(Shape::Box({0, 0, 0}, {1, 2, 3}));
  std::vector<Shape> faces;
  ASSERT_EQ(box.Explode(faces), Acad::eOk);
  std::vector<Curve> curves;
  ASSERT_EQ(faces[0].ExplodeToCurves(curves), Acad::eOk);
  ASSERT_EQ(curves.size(), 4u);
  for (size_t i = 0; i < curves.size(); ++i) {
    EXPECT_EQ(curves[i].type, Curve::Type::kLine);
    EXPECT_NEAR(Distance(curves[i].end, curves[(i + 1) % curves.size()].start), 0, 1e-12);
  }
}

TEST(ShapeExplode, ArcEndsAgreeWithItsAngles) {
  // A box with a quarter cylinder cut from its corner: top and bottom carry arcs.
  const Shape box = Made(Shape::Box({0, 0, 0}, {2, 2, 1}));
  const Shape cylinder = Made(Shape::Cylinder({0, 0, -1}, 1, 3));
  const ShapeResult cut = box.Boolean(BoolOp::kSubtract, cylinder);
  ASSERT_TRUE(cut.Ok());
  std::vector<Shape> faces;
  ASSERT_EQ(cut.shape.Explode(faces), Acad::eOk);
  int arcs = 0;
  for (const Shape& f : faces) {
    if (f.Kind() != ShapeKind::kRegion) continue;
    std::vector<Curve> curves;
    ASSERT_EQ(f.ExplodeToCurves(curves), Acad::eOk);
    for (const Curve& c : curves) {
      if (c.type != Curve::Type::kArc) continue;
      ++arcs;
      EXPECT_NEAR(c.radius, 1, 1e-9);
      EXPECT_NEAR(c.endAngle - c.startAngle, kPi / 2, 1e-9);
      EXPECT_NEAR(Distance(ArcPoint(c, c.startAngle), c.start), 0, 1e-9);
      EXPECT_NEAR(Distance(ArcPoint(c, c.endAngle), c.end), 0, 1e-9);
    }
  }
  EXPECT_EQ(arcs, 2);
}

TEST(ShapeExplode, RefusesWrongKinds) {
  const Shape box = Made(Shape::Box({0, 0, 0}, {1, 1, 1}));
  std::vector<Curve> curves;
  EXPECT_EQ(box.ExplodeToCurves(curves), Acad::eInvalidInput);
  std::vector<Shape> faces;
  EXPECT_EQ(Shape().Explode(faces), Acad::eInvalidInput);
  ASSERT_EQ(box.Explode(faces), Acad::eOk);
  std::vector<Shape> again;
  EXPECT_EQ(faces[0].Explode(again), Acad::eInvalidInput);
}

}  // namespace
}  // namespace plx::modeller

namespace plx::modeller {
namespace {

// A body of a single curved face breaks into its edges; seams and degenerate edges are left
// out, so an explode that recurses through its pieces ends.
struct CurvedFaceCase {
  const char* name;
  ShapeResult (*make)();
  size_t circles;
};

class ShapeExplodeCurvedFace : public ::testing::TestWithParam<CurvedFaceCase> {};

TEST_P(ShapeExplodeCurvedFace, BodyOfOneFaceGivesItsBoundaryCircles) {
  const Shape solid = testing::Made(GetParam().make());
  std::vector<Shape> faces;
  ASSERT_EQ(solid.Explode(faces), Acad::eOk);
  int bodies = 0;
  for (const Shape& f : faces) {
    if (f.Kind() != ShapeKind::kBody) continue;
    ++bodies;
    std::vector<Curve> curves;
    ASSERT_EQ(f.ExplodeToCurves(curves), Acad::eOk);
    EXPECT_EQ(curves.size(), GetParam().circles);
    for (const Curve& c : curves) EXPECT_EQ(c.type, Curve::Type::kCircle);
  }
  EXPECT_EQ(bodies, 1);
}

INSTANTIATE_TEST_SUITE_P(Primitives, ShapeExplodeCurvedFace,
                         ::testing::Values(CurvedFaceCase{"Cylinder",
                                                          [] {
                                                            return Shape::Cylinder({0, 0, 0}, 1, 2);
                                                          },
                                                          2},
                                           CurvedFaceCase{"Cone",
                                                          [] {
                                                            return Shape::Cone({0, 0, 0}, 1, 2);
                                                          },
                                                          1},
                                           CurvedFaceCase{"Sphere",
                                                          [] {
                                                            return Shape::Sphere({0, 0, 0}, 1);
                                                          },
                                                          0},
                                           CurvedFaceCase{"Torus",
                                                          [] {
                                                            return Shape::Torus({0, 0, 0}, 3, 1);
                                                          },
                                                          0}),
                         [](const ::testing::TestParamInfo<CurvedFaceCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(ShapeExplode, BodyOfSeveralFacesDoesNotBreakIntoCurves) {
  const Shape open =
      testing::Made(Shape::FromPolygons({{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}},
                                         {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}}}));
  ASSERT_EQ(open.Kind(), ShapeKind::kBody);
  std::vector<Curve> curves;
  EXPECT_EQ(open.ExplodeToCurves(curves), Acad::eInvalidInput);
  std::vector<Shape> faces;
  ASSERT_EQ(open.Explode(faces), Acad::eOk);
  EXPECT_EQ(faces.size(), 2u);
}

}  // namespace
}  // namespace plx::modeller
