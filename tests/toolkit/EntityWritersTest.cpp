// The entity writers on a real drawing: the entities each makes, their geometry, layer and
// colour, and the mesh writers' faces, topology edges and topology vertices.
#include <gtest/gtest.h>

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

ON_Mesh MeshOf(const std::vector<ON_3dPoint>& vertices, const std::vector<std::array<int, 4>>& faces) {
  ON_Mesh mesh;
  for (const ON_3dPoint& p : vertices) mesh.SetVertex(mesh.VertexCount(), p);
  for (const auto& f : faces) mesh.SetQuad(mesh.FaceCount(), f[0], f[1], f[2], f[3]);
  return mesh;
}

ON_Mesh SharedEdge() {
  return MeshOf({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1, 2, 2}, {0, 2, 3, 3}});
}

ON_Mesh Box() {
  return MeshOf({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}},
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

INSTANTIATE_TEST_SUITE_P(
    Meshes, MeshEntities,
    ::testing::Values(MeshCase{"TwoTrianglesSharingAnEdge", SharedEdge, 2, 5, 4},
                      MeshCase{"Box", Box, 6, 12, 8},
                      MeshCase{"TwoCoincidentVertices", [] { return MeshOf({{1, 1, 1}, {1, 1, 1}}, {}); }, 0, 0, 1},
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
    With<AcDbLine>(id, [&](AcDbLine& line) { lines.emplace_back(line.startPoint(), line.endPoint()); });
  const AcGePoint3d p0(0, 0, 0), p1(1, 0, 0), p2(1, 1, 0), p3(0, 1, 0);
  EXPECT_EQ(lines, (std::vector<std::pair<AcGePoint3d, AcGePoint3d>>{{p0, p1}, {p0, p2}, {p0, p3}, {p1, p2}, {p2, p3}}));
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
  EXPECT_EQ(CountByClass(), (std::map<std::wstring, int>{{L"AcDbFace", 8}, {L"AcDbLine", 17}, {L"AcDbPoint", 12}}));
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
