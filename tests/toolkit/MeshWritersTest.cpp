// The mesh writers: openNURBS meshes into polyface meshes (face records, the order of vertices
// and records, the host's refusals and the vertex limit) and subdivision meshes (face lists,
// layer and colour), and solids and bodies tessellated into polyface meshes.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "MeshDrawing.h"
#include "TestSupport.h"
#include "toolkit/LastError.h"
#include "toolkit/MeshConversion.h"
#include "toolkit/MeshReaders.h"
#include "toolkit/MeshWriters.h"
#include "toolkit/SysVars.h"

using namespace plx::test;

namespace {

const wchar_t kUnchanged[] = L"unchanged";

using Record = std::array<int, 4>;

struct PolyFaceContent {
  std::vector<AcGePoint3d> vertices;
  std::vector<Record> records;
};

// The vertices and face records of a polyface mesh in the database, in iterator order.
PolyFaceContent ReadPolyFace(const AcDbObjectId& id) {
  PolyFaceContent content;
  AcDbPolyFaceMesh* mesh = nullptr;
  EXPECT_EQ(acdbOpenObject(mesh, id, AcDb::kForRead), Acad::eOk);
  if (!mesh) return content;
  AcDbObjectIterator* it = mesh->vertexIterator();
  for (; !it->done(); it->step(false, true)) {
    AcDbObject* object = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(object, it->objectId(), AcDb::kForRead), Acad::eOk);
    if (!object) continue;
    if (auto* vertex = AcDbPolyFaceMeshVertex::cast(object)) {
      EXPECT_TRUE(content.records.empty()) << "a vertex after a face record";
      content.vertices.push_back(vertex->position());
    } else if (auto* record = AcDbFaceRecord::cast(object)) {
      Record r{};
      for (Adesk::UInt16 k = 0; k < 4; ++k) {
        Adesk::Int16 v = 0;
        record->getVertexAt(k, v);
        r[k] = v;
      }
      content.records.push_back(r);
    }
    object->close();
  }
  delete it;
  mesh->close();
  return content;
}

// A new polyface mesh in model space, filled by the writer while open for write.
AcDbObjectId WritePolyFace(const ON_Mesh& mesh, int& result, Acad::ErrorStatus& status,
                           int existingVertices = 0) {
  auto* target = new AcDbPolyFaceMesh;
  for (int i = 0; i < existingVertices; ++i) {
    auto* vertex = new AcDbPolyFaceMeshVertex(AcGePoint3d(-1, -1, -i));
    EXPECT_EQ(target->appendVertex(vertex), Acad::eOk);
    vertex->close();
  }
  const AcDbObjectId id = AddEntity(target);
  EXPECT_EQ(acdbOpenObject(target, id, AcDb::kForWrite), Acad::eOk);
  result = MeshToPolyFaceMesh(mesh, target, status);
  EXPECT_TRUE(target->isWriteEnabled());  // the writer leaves it open
  target->close();
  return id;
}

ON_Mesh MeshOf(int vertexCount, const std::vector<std::array<int, 4>>& faces) {
  ON_Mesh mesh;
  for (int i = 0; i < vertexCount; ++i) mesh.SetVertex(i, ON_3dPoint(i, 2.5 * i, -0.25 * i));
  for (const auto& f : faces) mesh.SetQuad(mesh.FaceCount(), f[0], f[1], f[2], f[3]);
  return mesh;
}

class MeshWriters : public ::testing::Test {
 protected:
  void SetUp() override {
    SetGeometryError(kUnchanged);
    SetMeshError(kUnchanged);
  }
  HostSession session_;
};

struct FaceCase {
  const char* name;
  std::vector<std::array<int, 4>> faces;
  std::vector<Record> records;
  std::vector<Adesk::Int32> faceList;
  friend void PrintTo(const FaceCase& c, std::ostream* os) { *os << c.name; }
};

class MeshFaces : public ::testing::TestWithParam<FaceCase> {
 protected:
  void SetUp() override { SetGeometryError(kUnchanged); }
  HostSession session_;
};

}  // namespace

TEST_P(MeshFaces, BecomeFaceRecordsAndSubdivisionFaceLists) {
  const ON_Mesh mesh = MeshOf(4, GetParam().faces);
  int result = -1;
  Acad::ErrorStatus status = Acad::eInvalidInput;  // overwritten on success
  const AcDbObjectId id = WritePolyFace(mesh, result, status);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(status, Acad::eOk);
  const PolyFaceContent content = ReadPolyFace(id);
  ASSERT_EQ(content.vertices.size(), 4u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(content.vertices[i], AcGePoint3d(i, 2.5 * i, -0.25 * i));
  EXPECT_EQ(content.records, GetParam().records);

  AcDbSubDMesh subd;
  EXPECT_EQ(MeshToSubDMesh(mesh, &subd), 1);
  AcArray<Adesk::Int32> faceList;
  ASSERT_EQ(subd.getFaceArray(faceList), Acad::eOk);
  EXPECT_EQ(std::vector<Adesk::Int32>(faceList.begin(), faceList.end()), GetParam().faceList);
  AcGePoint3dArray vertices;
  ASSERT_EQ(subd.getVertices(vertices), Acad::eOk);
  EXPECT_EQ(vertices.length(), 4);
  Adesk::Int32 level = -1;
  subd.subDLevel(level);
  EXPECT_EQ(level, 0);
  EXPECT_EQ(GetGeometryError(), kUnchanged);
}

INSTANTIATE_TEST_SUITE_P(
    Faces, MeshFaces,
    ::testing::Values(
        FaceCase{"Triangle", {{0, 1, 2, 2}}, {{1, 2, 3, 0}}, {3, 0, 1, 2}},
        FaceCase{"Quad", {{0, 1, 2, 3}}, {{1, 2, 3, 4}}, {4, 0, 1, 2, 3}},
        FaceCase{"RepeatedFirstIndexIsAQuad", {{0, 0, 1, 2}}, {{1, 1, 2, 3}}, {4, 0, 0, 1, 2}},
        FaceCase{"TriangleThenQuad",
                 {{0, 1, 2, 2}, {0, 2, 3, 1}},
                 {{1, 2, 3, 0}, {1, 3, 4, 2}},
                 {3, 0, 1, 2, 4, 0, 2, 3, 1}},
        FaceCase{"NoFaces", {}, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MeshWriters, EmptyMeshAppendsNothingAndSucceeds) {
  int result = -1;
  Acad::ErrorStatus status = Acad::eInvalidInput;
  const AcDbObjectId id = WritePolyFace(ON_Mesh(), result, status);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(status, Acad::eOk);
  const PolyFaceContent content = ReadPolyFace(id);
  EXPECT_TRUE(content.vertices.empty());
  EXPECT_TRUE(content.records.empty());

  AcDbSubDMesh subd;
  EXPECT_EQ(MeshToSubDMesh(ON_Mesh(), &subd), 1);
  Adesk::Int32 count = -1;
  subd.numOfVertices(count);
  EXPECT_EQ(count, 0);
}

TEST_F(MeshWriters, ARefusedVertexKeepsTheOnesBeforeAndWritesNoFaceRecord) {
  // The target already numbers 32765 vertices: the mesh's third vertex is one too many.
  const ON_Mesh mesh = MeshOf(3, {{0, 1, 2, 2}});
  int result = -1;
  Acad::ErrorStatus status = Acad::eOk;
  const AcDbObjectId id = WritePolyFace(mesh, result, status, 32765);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(status, Acad::eTooManyVertices);
  EXPECT_EQ(GetGeometryError(), L"Too Many Vertices");
  const PolyFaceContent content = ReadPolyFace(id);
  ASSERT_EQ(content.vertices.size(), 32767u);
  EXPECT_EQ(content.vertices[32766], AcGePoint3d(1, 2.5, -0.25));
  EXPECT_TRUE(content.records.empty());
}

TEST_F(MeshWriters, MeshBeyondTheVertexLimitFailsWithTheStatusWordsAndNoFaceRecord) {
  ON_Mesh mesh;
  for (int i = 0; i < 40000; ++i) mesh.SetVertex(i, ON_3dPoint(i % 200, i / 200, 0));
  for (int i = 0; i + 2 < 40000; i += 3) mesh.SetTriangle(mesh.FaceCount(), i, i + 1, i + 2);
  auto* target = new AcDbPolyFaceMesh;
  const AcDbObjectId id = AddEntity(target);
  ASSERT_EQ(acdbOpenObject(target, id, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(MeshToPolyFaceMesh(mesh, target), 0);
  target->close();
  EXPECT_EQ(GetGeometryError(), L"Too Many Vertices");
  const PolyFaceContent content = ReadPolyFace(id);
  EXPECT_EQ(content.vertices.size(), 32767u);
  EXPECT_TRUE(content.records.empty());
}

TEST_F(MeshWriters, FaceNamingAMissingVertexIsRefusedBeforeAnythingIsWritten) {
  for (const std::array<int, 4>& bad :
       {std::array<int, 4>{0, 1, 3, 3}, std::array<int, 4>{-1, 0, 1, 2}}) {
    const ON_Mesh mesh = MeshOf(3, {{0, 1, 2, 2}, bad});
    int result = -1;
    Acad::ErrorStatus status = Acad::eOk;
    const AcDbObjectId id = WritePolyFace(mesh, result, status);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(status, Acad::eInvalidFaceVertexIndex);
    EXPECT_EQ(GetGeometryError(), L"Invalid Face Vertex Index");
    const PolyFaceContent content = ReadPolyFace(id);
    EXPECT_TRUE(content.vertices.empty());
    EXPECT_TRUE(content.records.empty());
  }
}

TEST_F(MeshWriters, TargetNotOpenForWriteGivesTheHostsStatus) {
  const AcDbObjectId id = AddEntity(new AcDbPolyFaceMesh);
  AcDbPolyFaceMesh* target = nullptr;
  ASSERT_EQ(acdbOpenObject(target, id, AcDb::kForRead), Acad::eOk);
  Acad::ErrorStatus status = Acad::eOk;
  EXPECT_EQ(MeshToPolyFaceMesh(MeshOf(3, {{0, 1, 2, 2}}), target, status), 0);
  target->close();
  EXPECT_EQ(status, Acad::eNotOpenForWrite);
  EXPECT_EQ(GetGeometryError(), L"Not Open For Write");
}

TEST_F(MeshWriters, PolyFaceMeshReadsBackAsTheMesh) {
  ON_Mesh mesh;
  const ON_3dPoint corners[5] = {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}, {1, 1, 3}};
  for (int i = 0; i < 5; ++i) mesh.SetVertex(i, corners[i]);
  mesh.SetQuad(0, 0, 3, 2, 1);
  for (int i = 0; i < 4; ++i) mesh.SetTriangle(1 + i, i, (i + 1) % 4, 4);
  int result = -1;
  Acad::ErrorStatus status = Acad::eOk;
  const AcDbObjectId id = WritePolyFace(mesh, result, status);
  ASSERT_EQ(result, 1);
  AcDbPolyFaceMesh* entity = nullptr;
  ASSERT_EQ(acdbOpenObject(entity, id, AcDb::kForRead), Acad::eOk);
  ON_Mesh back;
  EXPECT_EQ(PolyFaceMeshToMesh(entity, back), 1);
  entity->close();
  ASSERT_EQ(back.VertexCount(), 5);
  ASSERT_EQ(back.FaceCount(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(ON_3dPoint(back.m_V[i]), corners[i]);
  for (int f = 0; f < 5; ++f)
    for (int k = 0; k < 4; ++k) EXPECT_EQ(back.m_F[f].vi[k], mesh.m_F[f].vi[k]) << f << " " << k;
}

TEST_F(MeshWriters, SubdivisionMeshesGoToModelSpaceWithLayerAndColour) {
  const ON_Mesh mesh = MeshOf(4, {{0, 1, 2, 3}});
  EXPECT_EQ(MeshToSubDMesh(mesh, L"Meshes", IndexColour(3)), 1);
  EXPECT_EQ(MeshToSubDMesh(mesh, 7, L"", IndexColour(5)), 1);
  ON_ClassArray<ON_Mesh> list;
  list.Append(MeshOf(3, {{0, 1, 2, 2}}));
  list.Append(mesh);
  EXPECT_EQ(MeshToSubDMesh(list, 0, L"List", IndexColour(1)), 1);
  EXPECT_EQ(MeshToSubDMesh(ON_ClassArray<ON_Mesh>(), 0, L"Nothing", IndexColour(1)), 1);
  EXPECT_FALSE(HasLayer(L"Nothing"));

  const std::vector<AcDbObjectId> ids = ModelSpaceEntities();
  ASSERT_EQ(ids.size(), 4u);
  const struct {
    const wchar_t* layer;
    Adesk::UInt16 colour;
    int faces;
    int vertices;
  } expected[4] = {{L"Meshes", 3, 1, 4}, {L"0", 5, 1, 4}, {L"List", 1, 1, 3}, {L"List", 1, 1, 4}};
  for (size_t i = 0; i < ids.size(); ++i) {
    AcDbSubDMesh* subd = nullptr;
    ASSERT_EQ(acdbOpenObject(subd, ids[i], AcDb::kForRead), Acad::eOk);
    EXPECT_STREQ(subd->isA()->name(), L"AcDbSubDMesh");
    ACHAR* layer = subd->layer();
    EXPECT_STREQ(layer, expected[i].layer);
    acutDelString(layer);
    EXPECT_EQ(subd->colorIndex(), expected[i].colour);
    Adesk::Int32 count = 0;
    subd->numOfFaces(count);
    EXPECT_EQ(count, expected[i].faces);
    subd->numOfVertices(count);
    EXPECT_EQ(count, expected[i].vertices);
    subd->close();
  }
  EXPECT_EQ(GetGeometryError(), kUnchanged);
}

namespace {

class SolidToPolyFace : public ::testing::TestWithParam<double> {
 protected:
  void SetUp() override { SetMeshError(kUnchanged); }
  HostSession session_;
  TempDir temp_;
  ScopedEnv env_{"TEMP", temp_.Path().string()};
};

// The triangles of a mesh as sets of corner positions, in face order.
std::vector<std::array<std::array<double, 3>, 3>> Triangles(const ON_Mesh& mesh) {
  std::vector<std::array<std::array<double, 3>, 3>> triangles;
  for (int f = 0; f < mesh.FaceCount(); ++f)
    triangles.push_back({Corner(mesh, f, 0), Corner(mesh, f, 1), Corner(mesh, f, 2)});
  return triangles;
}

}  // namespace

TEST_P(SolidToPolyFace, WritesTheTrianglesOfTheTessellation) {
  const double facetRes = GetParam();
  AcDb3dSolid* const solids[2] = {NewBox(AcGePoint3d(1, 2, 3), 4, 5, 6),
                                  NewSphere(AcGePoint3d(5, 5, 5), 2)};
  for (AcDb3dSolid* solid : solids) {
    ON_Mesh expected;
    ASSERT_EQ(SolidToMesh(solid, expected, &facetRes), 1);
    ASSERT_EQ(expected.QuadCount(), 0);

    auto* target = new AcDbPolyFaceMesh;
    const AcDbObjectId id = AddEntity(target);
    ASSERT_EQ(acdbOpenObject(target, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(SolidToPolyFaceMesh(solid, target, &facetRes), 1);
    target->close();
    EXPECT_EQ(ReadPolyFace(id).records.size(), static_cast<size_t>(expected.TriangleCount()));

    AcDbPolyFaceMesh* entity = nullptr;
    ASSERT_EQ(acdbOpenObject(entity, id, AcDb::kForRead), Acad::eOk);
    ON_Mesh back;
    EXPECT_EQ(PolyFaceMeshToMesh(entity, back), 1);
    entity->close();
    EXPECT_EQ(Triangles(back), Triangles(expected));
    EXPECT_EQ(back.m_C.Count(), 0);  // no colour is taken
    delete solid;
  }
  EXPECT_EQ(GetMeshError(), kUnchanged);
}

INSTANTIATE_TEST_SUITE_P(FacetRes, SolidToPolyFace, ::testing::Values(0.5, 2.0));

TEST_F(MeshWriters, BodyIsWrittenThroughATemporarySolid) {
  TempDir temp;
  ScopedEnv env("TEMP", temp.Path().string());
  AcDb3dSolid* sphere = NewSphere(AcGePoint3d(3, 3, 3), 1);
  auto* body = new AcDbBody;
  ASSERT_EQ(body->setBody(sphere->body()), Acad::eOk);
  const double facetRes = 1.0;
  ON_Mesh expected;
  ASSERT_EQ(SolidToMesh(sphere, expected, &facetRes), 1);
  delete sphere;

  auto* target = new AcDbPolyFaceMesh;
  const AcDbObjectId id = AddEntity(target);
  ASSERT_EQ(acdbOpenObject(target, id, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(SolidToPolyFaceMesh(body, target, &facetRes), 1);
  target->close();
  EXPECT_EQ(ReadPolyFace(id).records.size(), static_cast<size_t>(expected.TriangleCount()));
  // The temporary solid stayed out of the drawing.
  EXPECT_EQ(ModelSpaceEntities(), std::vector<AcDbObjectId>{id});

  // A body without a modeller body fails without a text.
  auto* empty = new AcDbBody;
  ASSERT_EQ(acdbOpenObject(target, id, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(SolidToPolyFaceMesh(empty, target, &facetRes), 0);
  target->close();
  EXPECT_EQ(GetMeshError(), kUnchanged);
  delete empty;
  delete body;
}

TEST_F(MeshWriters, SolidFailuresLeaveTheirReasonInTheMeshText) {
  TempDir temp;
  AcDb3dSolid* solid = NewBox(AcGePoint3d(0, 0, 0), 1, 1, 1);
  auto* target = new AcDbPolyFaceMesh;
  const AcDbObjectId id = AddEntity(target);
  {
    ScopedEnv missing("TEMP", (temp.Path() / "missing").string());
    ASSERT_EQ(acdbOpenObject(target, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(SolidToPolyFaceMesh(solid, target, nullptr), 0);
    target->close();
    EXPECT_EQ(GetMeshError(), L"Unable to write temporary file");
  }
  ScopedEnv env("TEMP", temp.Path().string());
  // A target open for read refuses the first vertex: its words are copied into the mesh text.
  ASSERT_EQ(acdbOpenObject(target, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(SolidToPolyFaceMesh(solid, target, nullptr), 0);
  target->close();
  EXPECT_EQ(GetMeshError(), L"Not Open For Write");
  EXPECT_EQ(GetGeometryError(), L"Not Open For Write");
  EXPECT_TRUE(ReadPolyFace(id).vertices.empty());
  delete solid;
}
