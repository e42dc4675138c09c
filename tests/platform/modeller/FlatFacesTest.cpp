// Flat polygons cut into triangles without the mesher: the polygon clipper on its own, and shapes
// of flat faces tessellated through it, which must come out as closed as the mesher's.
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRep_Builder.hxx>
#include <Geom_Plane.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Vertex.hxx>
#include <TopoDS_Wire.hxx>

#include <algorithm>
#include <map>
#include <tuple>

#include "FlatFaces.h"
#include "ModellerTestSupport.h"

namespace plx::modeller {
namespace {

using testing::Made;
using Polygons = std::vector<std::vector<Point3>>;

double Turn(const Point2& a, const Point2& b, const Point2& c) {
  return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

double Area(const std::vector<Point2>& polygon) {
  double twice = 0;
  for (size_t i = 1; i + 1 < polygon.size(); ++i) twice += Turn(polygon[0], polygon[i], polygon[i + 1]);
  return std::abs(twice) / 2;
}

struct Outline {
  const char* name;
  std::vector<Point2> corners;
  friend void PrintTo(const Outline& o, std::ostream* os) { *os << o.name; }
};

class ClipEarsCovers : public ::testing::TestWithParam<Outline> {};

// Every corner used, n - 2 triangles all turning left and none flat, and together exactly the
// polygon's area: with no triangle overlapping another, that is the polygon covered once.
TEST_P(ClipEarsCovers, WithTrianglesTurningLeftEitherWayRound) {
  for (const bool reversed : {false, true}) {
    std::vector<Point2> corners = GetParam().corners;
    if (reversed) std::reverse(corners.begin(), corners.end());
    std::vector<std::array<uint32_t, 3>> triangles;
    ASSERT_TRUE(ClipEars(corners, triangles)) << "reversed " << reversed;
    ASSERT_EQ(triangles.size(), corners.size() - 2);
    double area = 0;
    std::vector<bool> used(corners.size());
    for (const auto& t : triangles) {
      const double twice = Turn(corners[t[0]], corners[t[1]], corners[t[2]]);
      EXPECT_GT(twice, 1e-9) << "reversed " << reversed;
      area += twice / 2;
      for (uint32_t i : t) used[i] = true;
    }
    EXPECT_NEAR(area, Area(corners), 1e-12) << "reversed " << reversed;
    EXPECT_TRUE(std::all_of(used.begin(), used.end(), [](bool u) { return u; }));
  }
}

INSTANTIATE_TEST_SUITE_P(
    FlatFaces, ClipEarsCovers,
    ::testing::Values(
        Outline{"Square", {{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
        Outline{"LShape", {{0, 0}, {3, 0}, {3, 1}, {1, 1}, {1, 3}, {0, 3}}},
        Outline{"Comb", {{0, 0}, {5, 0}, {5, 3}, {4, 3}, {4, 1}, {3, 1}, {3, 3}, {2, 3}, {2, 1}, {1, 1}, {1, 3}, {0, 3}}},
        // A reflex corner right on the first ear's diagonal: cutting there would leave a corner
        // in the middle of an edge.
        Outline{"Dart", {{0, 0}, {2, 1}, {0, 2}, {1, 1}}},
        // Corners in the middle of edges, as where a face meets two neighbours along one side.
        Outline{"SidesSplit", {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}, {1, 2}, {0, 2}, {0, 1}}},
        Outline{"TriangleWithAFlatSide", {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {1.5, 2}}},
        Outline{"CornerOnTheDiagonal", {{0, 0}, {2, 0}, {2, 2}, {1, 1}}},
        Outline{"FarFromTheOrigin", {{3e7, 3e7}, {3e7 + 0.003, 3e7}, {3e7 + 0.003, 3e7 + 0.001}, {3e7 + 0.001, 3e7 + 0.001},
                                     {3e7 + 0.001, 3e7 + 0.003}, {3e7, 3e7 + 0.003}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FlatFaces, ClipEarsRefusesWhatIsNoPolygon) {
  const std::vector<std::pair<const char*, std::vector<Point2>>> cases = {
      {"no corner", {}},
      {"two corners", {{0, 0}, {1, 0}}},
      {"no area", {{0, 0}, {1, 0}, {2, 0}}},
      {"a corner twice", {{0, 0}, {1, 0}, {1, 1}, {1, 0}, {0, 1}}},
      {"not a number", {{0, 0}, {1, 0}, {NAN, 1}}},
      {"infinite", {{0, 0}, {INFINITY, 0}, {1, 1}}},
  };
  for (const auto& [name, corners] : cases) {
    std::vector<std::array<uint32_t, 3>> triangles;
    EXPECT_FALSE(ClipEars(corners, triangles)) << name;
  }
}

// Every edge of the triangles met once in each direction: no hole, no crack, no flap.
void ExpectClosed(const std::vector<Triangle>& triangles) {
  using Key = std::tuple<double, double, double>;
  std::map<std::pair<Key, Key>, int> edges;
  for (const Triangle& t : triangles)
    for (int k = 0; k < 3; ++k) {
      const Point3 &a = t.v[k], &b = t.v[(k + 1) % 3];
      ++edges[{{a.x, a.y, a.z}, {b.x, b.y, b.z}}];
    }
  for (const auto& [edge, count] : edges) {
    ASSERT_EQ(count, 1) << "an edge repeated";
    ASSERT_EQ(edges.count({edge.second, edge.first}), 1u) << "an edge without its other side";
  }
}

double Area(const std::vector<Triangle>& triangles) {
  double area = 0;
  for (const Triangle& t : triangles) {
    const Point3 &a = t.v[0], &b = t.v[1], &c = t.v[2];
    const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z, vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
    area += std::hypot(uy * vz - uz * vy, uz * vx - ux * vz, ux * vy - uy * vx) / 2;
  }
  return area;
}

// An L-shaped prism: its two ends are concave hexagons.
Polygons LPrism() {
  const std::vector<Point3> bottom = {{0, 0, 0}, {3, 0, 0}, {3, 1, 0}, {1, 1, 0}, {1, 3, 0}, {0, 3, 0}};
  Polygons faces;
  faces.push_back(std::vector<Point3>(bottom.rbegin(), bottom.rend()));
  faces.push_back({});
  for (const Point3& p : bottom) faces.back().push_back({p.x, p.y, 2});
  for (size_t i = 0; i < bottom.size(); ++i) {
    const Point3 &a = bottom[i], &b = bottom[(i + 1) % bottom.size()];
    faces.push_back({a, b, {b.x, b.y, 2}, {a.x, a.y, 2}});
  }
  return faces;
}

// A column of two unit cubes whose sides are single faces with a corner halfway up each
// vertical edge, where the two cubes' corners weld.
Polygons SplitColumn() {
  auto ring = [](double z) { return std::vector<Point3>{{0, 0, z}, {1, 0, z}, {1, 1, z}, {0, 1, z}}; };
  const auto low = ring(0), mid = ring(1), high = ring(2);
  Polygons faces = {{low[3], low[2], low[1], low[0]}, high};
  for (int i = 0; i < 4; ++i) {
    const int j = (i + 1) % 4;
    faces.push_back({low[i], low[j], mid[j], high[j], high[i], mid[i]});
  }
  return faces;
}

// The L prism mirrored: a mirror turns the planes' axes left-handed, and their faces must still
// face outwards.
Shape MirroredLPrism() {
  Shape shape = Made(Shape::FromPolygons(LPrism()));
  EXPECT_EQ(testing::Apply(shape, testing::Scaling(-1, 1, 1)), Acad::eOk);
  return shape;
}

TEST(FlatFaces, FlatSolidsComeOutClosedWithTheirVolumeAndArea) {
  const std::pair<const char*, Shape> shapes[] = {
      {"box", Made(Shape::Box({-1, -2, -3}, {4, 5, 6}))},
      {"wedge", Made(Shape::Wedge({0, 0, 0}, {3, 2, 1}))},
      {"L prism", Made(Shape::FromPolygons(LPrism()))},
      {"mirrored L prism", MirroredLPrism()},
      {"split column", Made(Shape::FromPolygons(SplitColumn()))},
  };
  for (const auto& [name, shape] : shapes) {
    SCOPED_TRACE(name);
    std::vector<Triangle> triangles;
    ASSERT_EQ(shape.Tessellate(0.5, triangles), Acad::eOk);
    ExpectClosed(triangles);
    EXPECT_NEAR(testing::SignedVolume(triangles), shape.Volume(), 1e-9 * shape.Volume());
    EXPECT_NEAR(Area(triangles), shape.Area(), 1e-9 * shape.Area());
  }
  // Each face of n corners gives n - 2 triangles, with no point added.
  std::vector<Triangle> triangles;
  ASSERT_EQ(Made(Shape::FromPolygons(LPrism())).Tessellate(10, triangles), Acad::eOk);
  EXPECT_EQ(triangles.size(), 2 * 4 + 6 * 2u);
  ASSERT_EQ(Made(Shape::FromPolygons(SplitColumn())).Tessellate(10, triangles), Acad::eOk);
  EXPECT_EQ(triangles.size(), 2 * 2 + 4 * 4u);
}

// Wires keep their edges in the order they run, one way or the other, or in none at all (OCCT
// does not require it): each gives the same face.
TEST(FlatFaces, AWireCutsTheSameWhateverOrderItKeepsItsEdgesIn) {
  const gp_Pnt corners[] = {{0, 0, 5}, {2, 0, 5}, {2, 1, 5}, {1, 1, 5}, {1, 2, 5}, {0, 2, 5}};
  BRep_Builder builder;
  TopoDS_Vertex vertices[6];
  for (int i = 0; i < 6; ++i) builder.MakeVertex(vertices[i], corners[i], 1e-7);
  TopoDS_Edge edges[6];
  for (int i = 0; i < 6; ++i) edges[i] = BRepBuilderAPI_MakeEdge(vertices[i], vertices[(i + 1) % 6]).Edge();
  for (const std::array<int, 6>& order : {std::array<int, 6>{0, 1, 2, 3, 4, 5}, {5, 4, 3, 2, 1, 0}, {0, 2, 4, 1, 3, 5}}) {
    SCOPED_TRACE(::testing::PrintToString(order));
    TopoDS_Wire wire;
    builder.MakeWire(wire);
    for (int i : order) builder.Add(wire, edges[i]);
    wire.Closed(true);
    TopoDS_Face face;
    builder.MakeFace(face, new Geom_Plane(gp_Pnt(0, 0, 5), gp::DZ()), 1e-7);
    builder.Add(face, wire);
    std::vector<Triangle> triangles;
    ASSERT_TRUE(TriangulateFlatFaces(face, gp_Trsf(), triangles));
    ASSERT_EQ(triangles.size(), 4u);
    EXPECT_NEAR(Area(triangles), 3, 1e-12);
    for (const Triangle& t : triangles) {
      const Point3 &a = t.v[0], &b = t.v[1], &c = t.v[2];
      EXPECT_GT((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x), 0) << "faces down";
    }
  }
}

// A face with a hole has two wires, which the clipper does not take: such a shape goes to the
// mesher whole, and still closes.
TEST(FlatFaces, AFaceWithAHoleLeavesTheShapeToTheMesher) {
  const Shape block = Made(Shape::Box({0, 0, 0}, {4, 4, 2}));
  const Shape core = Made(Shape::Box({1, 1, -1}, {3, 3, 3}));
  const Shape frame = Made(block.Boolean(BoolOp::kSubtract, core));
  std::vector<Triangle> triangles;
  ASSERT_EQ(frame.Tessellate(0.5, triangles), Acad::eOk);
  ExpectClosed(triangles);
  EXPECT_NEAR(testing::SignedVolume(triangles), 24, 1e-9);
}

}  // namespace
}  // namespace plx::modeller
