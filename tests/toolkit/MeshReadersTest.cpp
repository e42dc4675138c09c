// The face and mesh entity readers on entities of a real drawing: corner order, the polyface
// mesh's face records, the polygon mesh's grid closed in each direction, the clean-up, and
// that a reader replaces the caller's whole mesh or leaves it alone.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "MeshDrawing.h"
#include "TestSupport.h"
#include "toolkit/LastError.h"
#include "toolkit/MeshReaders.h"
#include "arxhost/Drawing.h"
#include "win32/text.h"

using namespace plx::test;

namespace {

const wchar_t kNotAMeshEntity[] =
    L"Entity is not a 3D Face, 2D Solid, PolyFace Mesh or Polygon Mesh";
const wchar_t kUnchanged[] = L"unchanged";

// Opens the entity for read, reads it with MeshEntityToMesh and closes it.
int ReadEntity(const AcDbObjectId& id, ON_Mesh& mesh) {
  AcDbEntity* entity = nullptr;
  EXPECT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForRead), Acad::eOk);
  if (!entity) return -1;
  const int result = MeshEntityToMesh(entity, mesh);
  entity->close();
  return result;
}

template <class Entity, class Reader>
int ReadWith(const AcDbObjectId& id, ON_Mesh& mesh, Reader reader) {
  Entity* entity = nullptr;
  EXPECT_EQ(acdbOpenObject(entity, id, AcDb::kForRead), Acad::eOk);
  if (!entity) return -1;
  const int result = reader(entity, mesh);
  entity->close();
  return result;
}

std::vector<std::array<double, 3>> Corners(const ON_Mesh& mesh, int face) {
  const int count = mesh.m_F[face].IsTriangle() ? 3 : 4;
  std::vector<std::array<double, 3>> corners;
  for (int k = 0; k < count; ++k) corners.push_back(Corner(mesh, face, k));
  return corners;
}

class MeshReaders : public ::testing::Test {
 protected:
  void SetUp() override { SetGeometryError(kUnchanged); }
  HostSession session_;
};

}  // namespace

// The face becomes a triangle only when its third and fourth corners agree within gTol.
struct FaceCase {
  const char* name;
  AcGePoint3d fourth;
  bool triangle;
  friend void PrintTo(const FaceCase& c, std::ostream* os) { *os << c.name; }
};

class FaceCorners : public ::testing::TestWithParam<FaceCase> {
 protected:
  HostSession session_;
};

TEST_P(FaceCorners, GiveAQuadOrATriangleInTheirOrder) {
  const AcGePoint3d c0(0, 0, 0), c1(2, 0, 0), c2(2, 3, 1);
  const AcGePoint3d c3 = GetParam().fourth;
  const AcDbObjectId face = AddEntity(new AcDbFace(c0, c1, c2, c3));
  const AcDbObjectId solid = AddEntity(new AcDbSolid(c0, c1, c2, c3));
  for (const bool viaDispatch : {false, true}) {
    ON_Mesh faceMesh, solidMesh;
    if (viaDispatch) {
      ASSERT_EQ(ReadEntity(face, faceMesh), 1);
      ASSERT_EQ(ReadEntity(solid, solidMesh), 1);
    } else {
      ASSERT_EQ(ReadWith<AcDbFace>(face, faceMesh, FaceToMesh), 1);
      ASSERT_EQ(ReadWith<AcDbSolid>(solid, solidMesh, Solid2dToMesh), 1);
    }
    ASSERT_EQ(faceMesh.FaceCount(), 1);
    ASSERT_EQ(solidMesh.FaceCount(), 1);
    if (GetParam().triangle) {
      const std::vector<std::array<double, 3>> triangle = {Xyz(c0), Xyz(c1), Xyz(c2)};
      EXPECT_EQ(Corners(faceMesh, 0), triangle);
      EXPECT_EQ(Corners(solidMesh, 0), triangle);
    } else {
      EXPECT_EQ(Corners(faceMesh, 0), (std::vector{Xyz(c0), Xyz(c1), Xyz(c2), Xyz(c3)}));
      // A 2D solid's corners run in a Z.
      EXPECT_EQ(Corners(solidMesh, 0), (std::vector{Xyz(c0), Xyz(c1), Xyz(c3), Xyz(c2)}));
    }
    EXPECT_EQ(faceMesh.m_C.Count(), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Corners, FaceCorners,
    ::testing::Values(FaceCase{"distinct", AcGePoint3d(0, 3, 1), false},
                      FaceCase{"equal", AcGePoint3d(2, 3, 1), true},
                      FaceCase{"within_gTol", AcGePoint3d(2, 3, 1 + 1e-12), true},
                      FaceCase{"beyond_gTol", AcGePoint3d(2, 3, 1.0009765625), false}));

TEST_F(MeshReaders, PolyFaceDropsTheSignsOfInvisibleEdges) {
  const std::vector<AcGePoint3d> v = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 1}};
  const AcDbObjectId id = AddPolyFace(v, {{1, 2, 3, 0}, {-1, 2, -3, 4}});
  ON_Mesh mesh;
  ASSERT_EQ(ReadWith<AcDbPolyFaceMesh>(id, mesh, PolyFaceMeshToMesh), 1);
  ASSERT_EQ(mesh.FaceCount(), 2);
  EXPECT_EQ(mesh.VertexCount(), 4);
  EXPECT_TRUE(mesh.m_F[0].IsTriangle());
  EXPECT_EQ(Corners(mesh, 0), (std::vector{Xyz(v[0]), Xyz(v[1]), Xyz(v[2])}));
  EXPECT_TRUE(mesh.m_F[1].IsQuad());
  EXPECT_EQ(Corners(mesh, 1), (std::vector{Xyz(v[0]), Xyz(v[1]), Xyz(v[2]), Xyz(v[3])}));
  EXPECT_EQ(GetGeometryError(), kUnchanged);
}

TEST_F(MeshReaders, PolyFaceLosesTheVertexThatNoFaceNames) {
  const AcDbObjectId id = AddPolyFace({{0, 0, 0}, {1, 0, 0}, {7, 7, 7}, {1, 1, 0}, {0, 1, 0}},
                                      {{1, 2, 4, 0}, {1, 4, 5, 0}});
  ON_Mesh mesh;
  ASSERT_EQ(ReadEntity(id, mesh), 1);
  EXPECT_EQ(mesh.VertexCount(), 4);
  EXPECT_EQ(mesh.FaceCount(), 2);
  for (int i = 0; i < mesh.VertexCount(); ++i) EXPECT_NE(mesh.m_V[i].x, 7.0f) << i;
  EXPECT_EQ(Corners(mesh, 1),
            (std::vector<std::array<double, 3>>{{0, 0, 0}, {1, 1, 0}, {0, 1, 0}}));
}

// Records that name vertex 0 or a vertex beyond the list are left out; the rest reads.
TEST_F(MeshReaders, PolyFaceRecordsOutsideTheVertexListAreLeftOut) {
  const AcDbObjectId id =
      AddPolyFace({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, {{1, 2, 0, 3}, {1, 2, 3, 0}, {1, 2, 9, 0}});
  ON_Mesh mesh;
  ASSERT_EQ(ReadEntity(id, mesh), 1);
  EXPECT_EQ(mesh.FaceCount(), 1);
  EXPECT_EQ(mesh.VertexCount(), 3);
  EXPECT_TRUE(mesh.IsValid());
}

TEST_F(MeshReaders, PolyFaceWithoutFacesIsInvalidAndLeavesTheMeshAlone) {
  const AcDbObjectId id = AddPolyFace({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, {});
  ON_Mesh mesh = FilledMesh();
  ASSERT_EQ(ReadWith<AcDbPolyFaceMesh>(id, mesh, PolyFaceMeshToMesh), 0);
  EXPECT_EQ(GetGeometryError(), L"Invalid mesh");
  EXPECT_EQ(mesh.VertexCount(), 5);
  EXPECT_EQ(mesh.FaceCount(), 2);
  ASSERT_EQ(mesh.m_C.Count(), 1);
  EXPECT_EQ(mesh.m_C[0].Green(), 2);
}

TEST_F(MeshReaders, PolyFaceWhoseFacesAllCollapseIsInvalid) {
  const AcDbObjectId id = AddPolyFace({{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}, {{1, 2, 3, 0}});
  ON_Mesh mesh = FilledMesh();
  EXPECT_EQ(ReadEntity(id, mesh), 0);
  EXPECT_EQ(GetGeometryError(), L"Invalid mesh");
  EXPECT_EQ(mesh.VertexCount(), 5);
}

struct GridCase {
  bool closedM, closedN;
  int quads;
  friend void PrintTo(const GridCase& c, std::ostream* os) {
    *os << (c.closedM ? "closedM" : "openM") << '_' << (c.closedN ? "closedN" : "openN");
  }
};

class PolygonGrid : public ::testing::TestWithParam<GridCase> {
 protected:
  HostSession session_;
};

// Every quad is one cell of the grid read as the cycle (r, c), (r, c + 1), (r + 1, c + 1),
// (r + 1, c), rows and columns wrapping in a closed direction; each cell comes once.
TEST_P(PolygonGrid, GivesOneQuadPerCellInOneOrientation) {
  const int m = 3, n = 4;
  const AcDbObjectId id = AddPolygonMesh(m, n, GetParam().closedM, GetParam().closedN);
  ON_Mesh mesh;
  ASSERT_EQ(ReadWith<AcDbPolygonMesh>(id, mesh, PolygonMeshToMesh), 1);
  ASSERT_EQ(mesh.FaceCount(), GetParam().quads);
  EXPECT_EQ(mesh.QuadCount(), GetParam().quads);

  std::map<std::array<double, 3>, std::pair<int, int>> cell;
  for (int r = 0; r < m; ++r)
    for (int c = 0; c < n; ++c) cell[Xyz(GridPoint(r, c))] = {r, c};
  std::set<std::pair<int, int>> starts;
  for (int f = 0; f < mesh.FaceCount(); ++f) {
    std::vector<std::pair<int, int>> rc;
    for (int k = 0; k < 4; ++k) {
      auto found = cell.find(Corner(mesh, f, k));
      ASSERT_NE(found, cell.end()) << "face " << f;
      rc.push_back(found->second);
    }
    bool cycle = false;
    for (int start = 0; start < 4 && !cycle; ++start) {
      const auto [r, c] = rc[start];
      const std::pair<int, int> expected[4] = {
          {r, c}, {r, (c + 1) % n}, {(r + 1) % m, (c + 1) % n}, {(r + 1) % m, c}};
      cycle = true;
      for (int k = 0; k < 4; ++k) cycle = cycle && rc[(start + k) % 4] == expected[k];
      if (cycle) starts.insert({r, c});
    }
    EXPECT_TRUE(cycle) << "face " << f;
  }
  EXPECT_EQ(static_cast<int>(starts.size()), GetParam().quads);
}

INSTANTIATE_TEST_SUITE_P(Closing, PolygonGrid,
                         ::testing::Values(GridCase{false, false, 6}, GridCase{false, true, 8},
                                           GridCase{true, false, 9}, GridCase{true, true, 12}));

TEST_F(MeshReaders, PolygonMeshClosedBothWaysEndsWithTheCornerQuad) {
  const AcDbObjectId id = AddPolygonMesh(3, 4, true, true);
  ON_Mesh mesh;
  ASSERT_EQ(ReadEntity(id, mesh), 1);
  ASSERT_EQ(mesh.FaceCount(), 12);
  // P[3], P[11], P[8], P[0]: (0, 3), (2, 3), (2, 0), (0, 0).
  EXPECT_EQ(Corners(mesh, 11), (std::vector{Xyz(GridPoint(0, 3)), Xyz(GridPoint(2, 3)),
                                            Xyz(GridPoint(2, 0)), Xyz(GridPoint(0, 0))}));
}

struct ReplaceCase {
  const char* name;
  AcDbObjectId (*make)();
  int faces;
  friend void PrintTo(const ReplaceCase& c, std::ostream* os) { *os << c.name; }
};

class ReaderReplaces : public ::testing::TestWithParam<ReplaceCase> {
 protected:
  HostSession session_;
};

TEST_P(ReaderReplaces, TheWholeEarlierMeshAndItsColour) {
  const AcDbObjectId id = GetParam().make();
  ON_Mesh mesh = FilledMesh();
  ASSERT_EQ(ReadEntity(id, mesh), 1);
  EXPECT_EQ(mesh.FaceCount(), GetParam().faces);
  EXPECT_EQ(mesh.m_C.Count(), 0);
  EXPECT_TRUE(mesh.IsValid());
  const ON_BoundingBox box = mesh.BoundingBox();
  EXPECT_LT(box.m_max.x, 10.0);  // nothing of the earlier mesh, which lay from x = 10 on
}

INSTANTIATE_TEST_SUITE_P(
    Entities, ReaderReplaces,
    ::testing::Values(ReplaceCase{"face", [] { return AddFace(); }, 1},
                      ReplaceCase{"solid2d",
                                  [] {
                                    return AddEntity(
                                        new AcDbSolid(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0),
                                                      AcGePoint3d(0, 1, 0), AcGePoint3d(1, 1, 0)));
                                  },
                                  1},
                      ReplaceCase{"polyface", [] { return AddSquarePolyFace(); }, 2},
                      ReplaceCase{"polygon", [] { return AddPolygonMesh(2, 3, false, false); },
                                  2}));

TEST_F(MeshReaders, MeshEntityToMeshRefusesOtherClasses) {
  auto* box = new AcDb3dSolid;
  ASSERT_EQ(box->createBox(1, 1, 1), Acad::eOk);
  for (const AcDbObjectId id : {AddLine(), AddEntity(box)}) {
    SetGeometryError(kUnchanged);
    ON_Mesh mesh = FilledMesh();
    EXPECT_EQ(ReadEntity(id, mesh), 0);
    EXPECT_EQ(GetGeometryError(), kNotAMeshEntity);
    EXPECT_EQ(mesh.VertexCount(), 5);
  }
}

namespace {

// A face under another class name: exact names do not match derived classes.
class PlxTestFace : public AcDbFace {
 public:
  ACRX_DECLARE_MEMBERS(PlxTestFace);
  using AcDbFace::AcDbFace;
};
ACRX_DEFINE_MEMBERS(PlxTestFace, AcDbFace)

}  // namespace

TEST_F(MeshReaders, MeshEntityToMeshRefusesAClassDerivedFromAFace) {
  const AcDbObjectId id = AddEntity(new PlxTestFace(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0),
                                                    AcGePoint3d(1, 1, 0), AcGePoint3d(0, 1, 0)));
  ON_Mesh mesh;
  EXPECT_EQ(ReadEntity(id, mesh), 0);
  EXPECT_EQ(GetGeometryError(), kNotAMeshEntity);
}

namespace {

// An entity as typed at a selection or pick prompt.
std::wstring Typed(const AcDbObjectId& id) { return L"#" + HandleOf(id); }

}  // namespace

TEST_F(MeshReaders, PickMeshFiltersOutOtherClassesAndReadsTheMesh) {
  const AcDbObjectId line = AddLine(0);
  const AcDbObjectId solid2d = AddEntity(new AcDbSolid(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0),
                                                       AcGePoint3d(0, 1, 0), AcGePoint3d(1, 1, 0)));
  const AcDbObjectId face = AddFace(4);
  ScriptedInput input({Typed(line), Typed(solid2d), Typed(face)});
  TranscriptCapture transcript;
  ON_Mesh mesh = FilledMesh();
  AcDbObjectId id;
  EXPECT_EQ(PickMesh(L"Pick a mesh: ", 1, mesh, id), 1);
  EXPECT_EQ(id, face);
  EXPECT_TRUE(plx::host::IsHighlighted(face));
  EXPECT_EQ(mesh.QuadCount(), 1);
  EXPECT_EQ(mesh.m_C.Count(), 0);
  EXPECT_EQ(transcript.Text(), L"Pick a mesh: " + Typed(line) + L"\n\nObject was filtered out\n" +
                                   L"Pick a mesh: " + Typed(solid2d) +
                                   L"\n\nObject was filtered out\nPick a mesh: " + Typed(face) +
                                   L"\n");
  EXPECT_EQ(GetGeometryError(), kUnchanged);
}

TEST_F(MeshReaders, PickMeshCancelledCopiesTheHostReason) {
  AddFace();
  ScriptedInput input({L"^C"});
  TranscriptCapture transcript;
  ON_Mesh mesh = FilledMesh();
  EXPECT_EQ(PickMesh(L"", 1, mesh), 0);
  EXPECT_EQ(GetGeometryError(), L"Object selection cancelled");
  EXPECT_EQ(GetHostError(), L"Object selection cancelled");
  EXPECT_EQ(mesh.VertexCount(), 5);
}

TEST_F(MeshReaders, SelectMeshesReadsTheIdsItWasGivenFirst) {
  const AcDbObjectId polyface = AddSquarePolyFace(-3);
  const AcDbObjectId line = AddLine(0), face = AddFace(4);
  AcDbObjectIdArray ids(0, 8);
  ids.append(polyface);
  ScriptedInput input({Typed(face), Typed(line), L""});
  TranscriptCapture transcript;
  ON_ClassArray<ON_Mesh> meshes;
  meshes.Append(FilledMesh());
  EXPECT_EQ(SelectMeshes(L"Select meshes: ", 1, meshes, ids), 1);
  ASSERT_EQ(ids.length(), 2);
  EXPECT_EQ(ids[0], polyface);
  EXPECT_EQ(ids[1], face);
  EXPECT_TRUE(plx::host::IsHighlighted(face));
  EXPECT_FALSE(plx::host::IsHighlighted(line));
  ASSERT_EQ(meshes.Count(), 2);
  EXPECT_EQ(meshes[0].TriangleCount(), 2);
  EXPECT_FLOAT_EQ(meshes[0].BoundingBox().m_min.x, -3.0f);
  EXPECT_EQ(meshes[1].QuadCount(), 1);
  for (int i = 0; i < 2; ++i) EXPECT_EQ(meshes[i].m_C.Count(), 0) << i;
  EXPECT_NE(transcript.Text().find(L"1 object(s) were filtered out\n"), std::wstring::npos)
      << plx::Utf8FromWide(transcript.Text());
  EXPECT_EQ(GetGeometryError(), kUnchanged);
}

TEST_F(MeshReaders, SelectMeshesCancelledLeavesTheListAndCopiesTheHostReason) {
  AddFace();
  ScriptedInput input({L"^C"});
  TranscriptCapture transcript;
  ON_ClassArray<ON_Mesh> meshes;
  meshes.Append(FilledMesh());
  EXPECT_EQ(SelectMeshes(L"", 1, meshes), 0);
  EXPECT_EQ(GetHostError(), L"No entities selected");
  EXPECT_EQ(GetGeometryError(), L"No entities selected");
  ASSERT_EQ(meshes.Count(), 1);
  EXPECT_EQ(meshes[0].VertexCount(), 5);
}

TEST_F(MeshReaders, SelectMeshesWithNothingReadableFails) {
  const AcDbObjectId empty = AddPolyFace({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, {});
  ScriptedInput input({Typed(empty), L""});
  TranscriptCapture transcript;
  ON_ClassArray<ON_Mesh> meshes;
  meshes.Append(FilledMesh());
  AcDbObjectIdArray ids(0, 8);
  EXPECT_EQ(SelectMeshes(L"Select meshes: ", 0, meshes, ids), 0);
  EXPECT_EQ(GetGeometryError(), L"Meshes not selected");
  EXPECT_EQ(ids.length(), 1);
  EXPECT_EQ(meshes.Count(), 0);
}
