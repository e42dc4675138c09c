// The entity writers on a real drawing: the entities each makes, their geometry, layer and
// colour, and the mesh writers' faces, topology edges and topology vertices.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "MeshDrawing.h"
#include "TestSupport.h"
#include "toolkit/EntityWriters.h"
#include "toolkit/LastError.h"

using namespace plx::test;

namespace {

const wchar_t kUnchanged[] = L"unchanged";

// Model space entities by exact class name.
std::map<std::wstring, int> CountByClass() {
  std::map<std::wstring, int> counts;
  for (const AcDbObjectId& id : ModelSpaceEntities()) {
    AcDbEntity* entity = nullptr;
    EXPECT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForRead), Acad::eOk);
    if (!entity) continue;
    ++counts[entity->isA()->name()];
    entity->close();
  }
  return counts;
}

// Opens the entity of id as T for read and hands it to check.
template <class T, class Check>
void With(const AcDbObjectId& id, Check&& check) {
  T* entity = nullptr;
  ASSERT_EQ(acdbOpenObject(entity, id, AcDb::kForRead), Acad::eOk);
  check(*entity);
  entity->close();
}

void ExpectLayerAndColour(const AcDbObjectId& id, const wchar_t* layer, Adesk::UInt16 colour) {
  With<AcDbEntity>(id, [&](AcDbEntity& entity) {
    ACHAR* name = entity.layer();
    EXPECT_STREQ(name, layer);
    acutDelString(name);
    EXPECT_EQ(entity.colorIndex(), colour);
  });
}

ON_Mesh MeshOf(const std::vector<ON_3dPoint>& vertices,
               const std::vector<std::array<int, 4>>& faces) {
  ON_Mesh mesh;
  for (const ON_3dPoint& p : vertices) mesh.SetVertex(mesh.VertexCount(), p);
  for (const auto& f : faces) mesh.SetQuad(mesh.FaceCount(), f[0], f[1], f[2], f[3]);
  return mesh;
}

ON_Mesh SharedEdge() {
  return MeshOf({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1, 2, 2}, {0, 2, 3, 3}});
}

ON_Mesh Box() {
  return MeshOf(
      {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}},
      {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}});
}

class EntityWriters : public ::testing::Test {
 protected:
  void SetUp() override { SetGeometryError(kUnchanged); }
  void TearDown() override { EXPECT_EQ(GetGeometryError(), kUnchanged); }
  HostSession session_;
};

struct MeshCase {
  const char* name;
  ON_Mesh (*make)();
  int faces, lines, points;
  friend void PrintTo(const MeshCase& c, std::ostream* os) { *os << c.name; }
};

class MeshEntities : public ::testing::TestWithParam<MeshCase> {
 protected:
  HostSession session_;
};

}  // namespace

TEST_P(MeshEntities, GiveFacesTopologyEdgesAndTopologyVertices) {
  const ON_Mesh mesh = GetParam().make();
  const AcCmColor colour = IndexColour(2);
  EXPECT_EQ(MeshToFaces(mesh, L"Faces", colour), 1);
  EXPECT_EQ(MeshEdgesToLines(mesh, L"Edges", colour), 1);
  EXPECT_EQ(MeshVerticesToPoints(mesh, L"Vertices", colour), 1);
  std::map<std::wstring, int> expected;
  if (GetParam().faces) expected[L"AcDbFace"] = GetParam().faces;
  if (GetParam().lines) expected[L"AcDbLine"] = GetParam().lines;
  if (GetParam().points) expected[L"AcDbPoint"] = GetParam().points;
  EXPECT_EQ(CountByClass(), expected);
}

INSTANTIATE_TEST_SUITE_P(Meshes, MeshEntities,
                         ::testing::Values(MeshCase{"TwoTrianglesSharingAnEdge", SharedEdge, 2, 5,
                                                    4},
                                           MeshCase{"Box", Box, 6, 12, 8},
                                           MeshCase{"TwoCoincidentVertices",
                                                    [] {
                                                      return MeshOf({{1, 1, 1}, {1, 1, 1}}, {});
                                                    },
                                                    0, 0, 1},
                                           MeshCase{"Empty", [] { return ON_Mesh(); }, 0, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EntityWriters, MeshFacesTakeTheCornersOfTheirIndices) {
  ON_Mesh mesh = SharedEdge();
  mesh.SetQuad(2, 1, 9, 2, 3);  // names a vertex the mesh lacks: left out
  MeshToFaces(mesh, L"Faces", IndexColour(4));
  const std::vector<AcDbObjectId> ids = ModelSpaceEntities();
  ASSERT_EQ(ids.size(), 2u);
  With<AcDbFace>(ids[1], [](AcDbFace& face) {
    const AcGePoint3d expected[4] = {{0, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 1, 0}};
    for (Adesk::UInt16 k = 0; k < 4; ++k) {
      AcGePoint3d corner;
      face.getVertexAt(k, corner);
      EXPECT_EQ(corner, expected[k]) << k;
    }
  });
  ExpectLayerAndColour(ids[0], L"Faces", 4);
  EXPECT_EQ(GetGeometryError(), kUnchanged);
}

TEST_F(EntityWriters, MeshEdgesRunFromTheLowerTopologyVertexToTheUpper) {
  // The shared corners are repeated: the lines still join the four distinct positions.
  const ON_Mesh mesh = MeshOf({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 0}, {1, 1, 0}, {0, 1, 0}},
                              {{0, 1, 2, 2}, {3, 4, 5, 5}});
  MeshEdgesToLines(mesh, L"", IndexColour(256));
  std::vector<std::pair<AcGePoint3d, AcGePoint3d>> lines;
  for (const AcDbObjectId& id : ModelSpaceEntities())
    With<AcDbLine>(id,
                   [&](AcDbLine& line) { lines.emplace_back(line.startPoint(), line.endPoint()); });
  const AcGePoint3d p0(0, 0, 0), p1(1, 0, 0), p2(1, 1, 0), p3(0, 1, 0);
  EXPECT_EQ(lines, (std::vector<std::pair<AcGePoint3d, AcGePoint3d>>{
                       {p0, p1}, {p0, p2}, {p0, p3}, {p1, p2}, {p2, p3}}));
  ExpectLayerAndColour(ModelSpaceEntities()[0], L"0", 256);
}

TEST_F(EntityWriters, MeshVerticesArePointsInTopologyOrder) {
  const ON_Mesh mesh = MeshOf({{3, 0, 0}, {1, 2, 3}, {3, 0, 0}, {-1, 0.5, 0}}, {});
  MeshVerticesToPoints(mesh, L"Points", IndexColour(1));
  std::vector<AcGePoint3d> points;
  for (const AcDbObjectId& id : ModelSpaceEntities())
    With<AcDbPoint>(id, [&](AcDbPoint& point) { points.push_back(point.position()); });
  EXPECT_EQ(points, (std::vector<AcGePoint3d>{{3, 0, 0}, {1, 2, 3}, {-1, 0.5, 0}}));
}

TEST_F(EntityWriters, MeshArraysAreWrittenInIndexOrder) {
  ON_ClassArray<ON_Mesh> meshes;
  EXPECT_EQ(MeshToFaces(meshes, L"None", IndexColour(1)), 1);
  EXPECT_EQ(MeshEdgesToLines(meshes, L"None", IndexColour(1)), 1);
  EXPECT_EQ(MeshVerticesToPoints(meshes, L"None", IndexColour(1)), 1);
  EXPECT_TRUE(ModelSpaceEntities().empty());
  EXPECT_FALSE(HasLayer(L"None"));

  meshes.Append(SharedEdge());
  meshes.Append(Box());
  MeshToFaces(meshes, L"", IndexColour(1));
  MeshEdgesToLines(meshes, L"", IndexColour(1));
  MeshVerticesToPoints(meshes, L"", IndexColour(1));
  EXPECT_EQ(CountByClass(),
            (std::map<std::wstring, int>{{L"AcDbFace", 8}, {L"AcDbLine", 17}, {L"AcDbPoint", 12}}));
  // The box's first face follows the square's two.
  With<AcDbFace>(ModelSpaceEntities()[2], [](AcDbFace& face) {
    AcGePoint3d corner;
    face.getVertexAt(1, corner);
    EXPECT_EQ(corner, AcGePoint3d(0, 1, 0));
  });
}

TEST_F(EntityWriters, PointGoesToItsLayerInItsColour) {
  AcCmColor trueColour;
  trueColour.setRGB(10, 20, 30);
  EXPECT_EQ(PointToEntity(ON_3dPoint(1.5, -2, 7), L"New layer", trueColour), 1);
  ASSERT_EQ(ModelSpaceEntities().size(), 1u);
  With<AcDbPoint>(ModelSpaceEntities()[0], [&](AcDbPoint& point) {
    EXPECT_EQ(point.position(), AcGePoint3d(1.5, -2, 7));
    EXPECT_EQ(point.color(), trueColour);
  });
  EXPECT_TRUE(HasLayer(L"New layer"));
}

namespace {

// An arc of the given sweep whose start point lies in the direction start from centre, about
// normal (start perpendicular to normal, both unit), with the angle interval beginning at
// intervalStart: the start angle must not depend on it.
ON_Arc ArcFrom(const ON_3dPoint& centre, const ON_3dVector& normal, const ON_3dVector& start,
               double radius, double sweep, double intervalStart = 0.0) {
  // The plane's x axis is turned back by intervalStart, so that the interval's start lands on
  // the wanted point.
  const ON_3dVector side = ON_CrossProduct(normal, start);
  const ON_3dVector x = std::cos(intervalStart) * start - std::sin(intervalStart) * side;
  const ON_Plane plane(centre, x, ON_CrossProduct(normal, x));
  return ON_Arc(ON_Circle(plane, radius), ON_Interval(intervalStart, intervalStart + sweep));
}

struct ArcAngleCase {
  const char* name;
  ON_3dVector normal;
  ON_3dVector start;  // direction of the start point from the centre
  double startAngle;
  double intervalStart;
  friend void PrintTo(const ArcAngleCase& c, std::ostream* os) { *os << c.name; }
};

class ArcStartAngle : public ::testing::TestWithParam<ArcAngleCase> {
 protected:
  HostSession session_;
};

const double kSixtyFourth = 1.0 / 64.0;
const double kSteepZ = std::sqrt(1.0 - kSixtyFourth * kSixtyFourth);

}  // namespace

TEST_P(ArcStartAngle, IsMeasuredFromTheArbitraryAxisOfTheNormal) {
  const ArcAngleCase& c = GetParam();
  const ON_3dPoint centre(2, -1, 4);
  const double sweep = 1.25;
  const ON_Arc arc = ArcFrom(centre, c.normal, c.start, 3, sweep, c.intervalStart);
  ASSERT_TRUE(arc.IsValid());
  EXPECT_EQ(ArcToEntity(arc, L"Arcs", IndexColour(3)), 1);
  const std::vector<AcDbObjectId> ids = ModelSpaceEntities();
  ASSERT_EQ(ids.size(), 1u);
  With<AcDbArc>(ids[0], [&](AcDbArc& entity) {
    EXPECT_NEAR(entity.startAngle(), c.startAngle, 1e-12);
    EXPECT_NEAR(entity.totalAngle(), sweep, 1e-12);
    EXPECT_NEAR(entity.radius(), 3, 1e-12);
    EXPECT_EQ(entity.center(), AcGePoint3d(2, -1, 4));
    // The host puts the arc where the openNURBS arc is.
    AcGePoint3d start, end;
    entity.getStartPoint(start);
    entity.getEndPoint(end);
    EXPECT_LT(
        start.distanceTo(AcGePoint3d(arc.StartPoint().x, arc.StartPoint().y, arc.StartPoint().z)),
        1e-12);
    EXPECT_LT(end.distanceTo(AcGePoint3d(arc.EndPoint().x, arc.EndPoint().y, arc.EndPoint().z)),
              1e-12);
  });
  ExpectLayerAndColour(ids[0], L"Arcs", 3);
}

INSTANTIATE_TEST_SUITE_P(
    Normals, ArcStartAngle,
    ::testing::Values(
        ArcAngleCase{"PlusZStartAlongX", {0, 0, 1}, {1, 0, 0}, 0, 0},
        ArcAngleCase{"PlusZStartAlongY", {0, 0, 1}, {0, 1, 0}, ON_PI / 2, 0},
        ArcAngleCase{"MinusZStartAlongX", {0, 0, -1}, {1, 0, 0}, ON_PI, 0},
        ArcAngleCase{"PlusXStartAlongY", {1, 0, 0}, {0, 1, 0}, 0, 0},
        ArcAngleCase{"PlusXStartAlongZ", {1, 0, 0}, {0, 0, 1}, ON_PI / 2, 0},
        // |N.x| exactly 1/64 takes world Z: Ax = Z x N = (0, 1, 0).
        ArcAngleCase{"XExactlyOneSixtyFourth", {kSixtyFourth, 0, kSteepZ}, {0, 1, 0}, 0, 0},
        // Just below it both are small: world Y gives Ax = Y x N, near +X.
        ArcAngleCase{"XJustBelowOneSixtyFourth",
                     {0.015, 0, std::sqrt(1 - 0.015 * 0.015)},
                     {0, 1, 0},
                     ON_PI / 2,
                     0},
        // |N.y| exactly 1/64 takes world Z too: Ax = Z x N = (-1, 0, 0).
        ArcAngleCase{"YExactlyOneSixtyFourth", {0, kSixtyFourth, kSteepZ}, {1, 0, 0}, ON_PI, 0},
        ArcAngleCase{"IntervalNotFromZero", {0, 0, 1}, {0, 1, 0}, ON_PI / 2, 2.0},
        ArcAngleCase{"EndPastOneTurn",
                     {0, 0, 1},
                     {std::cos(-1e-3), std::sin(-1e-3), 0},
                     2 * ON_PI - 1e-3,
                     0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EntityWriters, FullSweepArcBecomesACircle) {
  const ON_Arc arc = ArcFrom({1, 1, 1}, {0, 0, -1}, {1, 0, 0}, 2, 2 * ON_PI);
  ASSERT_TRUE(arc.IsCircle());
  ON_SimpleArray<ON_Arc> arcs;
  arcs.Append(arc);
  arcs.Append(ArcFrom({0, 0, 0}, {0, 0, 1}, {1, 0, 0}, 1, ON_PI));
  EXPECT_EQ(ArcToEntity(arcs, L"", IndexColour(1)), 1);
  EXPECT_EQ(CountByClass(), (std::map<std::wstring, int>{{L"AcDbArc", 1}, {L"AcDbCircle", 1}}));
  With<AcDbCircle>(ModelSpaceEntities()[0], [](AcDbCircle& circle) {
    EXPECT_EQ(circle.center(), AcGePoint3d(1, 1, 1));
    EXPECT_EQ(circle.radius(), 2);
    EXPECT_EQ(circle.normal(), AcGeVector3d(0, 0, -1));
  });
}

TEST_F(EntityWriters, CirclesTakeCentreRadiusAndNormal) {
  ON_SimpleArray<ON_Circle> circles;
  circles.Append(ON_Circle(ON_3dPoint(1, 2, 3), ON_3dVector(0, 1, 0), 4));
  circles.Append(ON_Circle(ON_3dPoint(0, 0, 0), ON_3dVector(0, 0, 1), 0.5));
  EXPECT_EQ(CircleToEntity(circles, L"Circles", IndexColour(2)), 1);
  const std::vector<AcDbObjectId> ids = ModelSpaceEntities();
  ASSERT_EQ(ids.size(), 2u);
  With<AcDbCircle>(ids[0], [](AcDbCircle& circle) {
    EXPECT_EQ(circle.center(), AcGePoint3d(1, 2, 3));
    EXPECT_EQ(circle.radius(), 4);
    EXPECT_EQ(circle.normal(), AcGeVector3d(0, 1, 0));
  });
  ExpectLayerAndColour(ids[1], L"Circles", 2);
}

TEST_F(EntityWriters, LinesInEveryForm) {
  EXPECT_EQ(LineToEntity(ON_Line({0, 0, 0}, {1, 2, 3}), L"A", IndexColour(1)), 1);
  EXPECT_EQ(LineToEntity(ON_3dPoint(4, 5, 6), ON_3dPoint(-1, -1, -1), L"B", IndexColour(2)), 1);
  ON_SimpleArray<ON_Line> lines;
  lines.Append(ON_Line({0, 0, 0}, {0, 0, 9}));
  lines.Append(ON_Line({1, 0, 0}, {1, 0, 9}));
  EXPECT_EQ(LineToEntity(lines, L"C", IndexColour(3)), 1);
  const std::vector<AcDbObjectId> ids = ModelSpaceEntities();
  ASSERT_EQ(ids.size(), 4u);
  const AcGePoint3d ends[4][2] = {{{0, 0, 0}, {1, 2, 3}},
                                  {{4, 5, 6}, {-1, -1, -1}},
                                  {{0, 0, 0}, {0, 0, 9}},
                                  {{1, 0, 0}, {1, 0, 9}}};
  for (size_t i = 0; i < ids.size(); ++i)
    With<AcDbLine>(ids[i], [&](AcDbLine& line) {
      EXPECT_EQ(line.startPoint(), ends[i][0]) << i;
      EXPECT_EQ(line.endPoint(), ends[i][1]) << i;
    });
  ExpectLayerAndColour(ids[1], L"B", 2);
  ExpectLayerAndColour(ids[3], L"C", 3);
}

TEST_F(EntityWriters, PointArraysGiveOnePointEach) {
  ON_3dPointArray points;
  points.Append(ON_3dPoint(1, 0, 0));
  points.Append(ON_3dPoint(1, 0, 0));
  points.Append(ON_3dPoint(0, 0, 2));
  EXPECT_EQ(PointToEntity(points, L"", IndexColour(7)), 1);
  EXPECT_EQ(CountByClass(), (std::map<std::wstring, int>{{L"AcDbPoint", 3}}));
  EXPECT_EQ(PointToEntity(ON_3dPointArray(), L"", IndexColour(7)), 1);
  EXPECT_EQ(ModelSpaceEntities().size(), 3u);
}

TEST_F(EntityWriters, SettersFillAnEntityTheCallerHolds) {
  AcDbPoint point;
  EXPECT_EQ(SetPointGeometry(ON_Point(1, 2, 3), &point), 1);
  EXPECT_EQ(point.position(), AcGePoint3d(1, 2, 3));
  AcDbLine line;
  EXPECT_EQ(SetLineGeometry(ON_Line({1, 1, 1}, {2, 2, 2}), &line), 1);
  EXPECT_EQ(line.startPoint(), AcGePoint3d(1, 1, 1));
  EXPECT_EQ(line.endPoint(), AcGePoint3d(2, 2, 2));
  AcDbCircle circle;
  EXPECT_EQ(SetCircleGeometry(ON_Circle(ON_3dPoint(0, 0, 5), ON_3dVector(1, 0, 0), 7), &circle), 1);
  EXPECT_EQ(circle.normal(), AcGeVector3d(1, 0, 0));
  AcDbArc arc;
  EXPECT_EQ(SetArcGeometry(ArcFrom({0, 0, 0}, {0, 0, 1}, {0, -1, 0}, 1, 1), &arc), 1);
  EXPECT_NEAR(arc.startAngle(), 3 * ON_PI / 2, 1e-12);
  EXPECT_NEAR(arc.endAngle(), 3 * ON_PI / 2 + 1, 1e-12);
}

struct PolylineCase {
  const char* name;
  std::vector<ON_3dPoint> points;
  int vertices;
  bool closed;
  friend void PrintTo(const PolylineCase& c, std::ostream* os) { *os << c.name; }
};

class PolylineEntity : public ::testing::TestWithParam<PolylineCase> {
 protected:
  HostSession session_;
};

TEST_P(PolylineEntity, HasAVertexPerPointAndClosesAClosedPolyline) {
  ON_Polyline polyline;
  for (const ON_3dPoint& p : GetParam().points) polyline.Append(p);
  ON_ClassArray<ON_Polyline> polylines;
  polylines.Append(polyline);
  EXPECT_EQ(PolylineToEntity(polylines, L"Polylines", IndexColour(6)), 1);
  const std::vector<AcDbObjectId> ids = ModelSpaceEntities();
  ASSERT_EQ(ids.size(), 1u);
  With<AcDb3dPolyline>(ids[0], [&](AcDb3dPolyline& entity) {
    EXPECT_EQ(entity.isClosed(), GetParam().closed);
    std::vector<AcGePoint3d> positions;
    AcDbObjectIterator* it = entity.vertexIterator();
    for (; !it->done(); it->step()) {
      AcDb3dPolylineVertex* vertex = nullptr;
      ASSERT_EQ(acdbOpenObject(vertex, it->objectId(), AcDb::kForRead), Acad::eOk);
      positions.push_back(vertex->position());
      vertex->close();
    }
    delete it;
    ASSERT_EQ(static_cast<int>(positions.size()), GetParam().vertices);
    for (size_t i = 0; i < positions.size(); ++i) {
      const ON_3dPoint& p = GetParam().points[i];
      EXPECT_EQ(positions[i], AcGePoint3d(p.x, p.y, p.z));
    }
  });
  ExpectLayerAndColour(ids[0], L"Polylines", 6);
}

INSTANTIATE_TEST_SUITE_P(
    Polylines, PolylineEntity,
    ::testing::Values(
        PolylineCase{
            "ClosedOfFivePoints", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 1}, {0, 0, 0}}, 4, true},
        PolylineCase{
            "ThreePointsBackToTheFirstStayOpen", {{0, 0, 0}, {1, 0, 0}, {0, 0, 0}}, 3, false},
        PolylineCase{"Open", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {2, 1, 0}}, 4, false},
        PolylineCase{"LastNearlyTheFirstStaysOpen",
                     {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 1e-12}},
                     4,
                     false}),
    [](const auto& info) { return std::string(info.param.name); });
