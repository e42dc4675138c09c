// Objects to meshes on a real drawing: which objects convert, the one colour of each mesh, and
// the tessellation of solids and bodies through the temporary STL file in TEMP, FACETRES set
// for the call and restored, solids below zero written from a shifted copy.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "MeshDrawing.h"
#include "QMLib.h"
#include "TestSupport.h"
#include "toolkit/LastError.h"
#include "toolkit/MeshConversion.h"
#include "toolkit/SysVars.h"

namespace fs = std::filesystem;
using namespace plx::test;

namespace {

const wchar_t kNotConvertible[] =
    L"Entity is not a 3D Face, PolyFace Mesh, Polygon Mesh, Body or 3D Solid";
const wchar_t kUnchanged[] = L"unchanged";

AcDbObjectIdArray Ids(std::initializer_list<AcDbObjectId> list) {
  AcDbObjectIdArray ids(0, 8);
  for (const AcDbObjectId& id : list) ids.append(id);
  return ids;
}

double FacetRes() {
  double value = -1;
  EXPECT_EQ(GetSysVarReal(L"FACETRES", value), 1);
  return value;
}

class ObjectsToMeshesTest : public ::testing::Test {
 protected:
  void SetUp() override { SetMeshError(kUnchanged); }

  // One object through the whole road; the mesh list's only mesh, or an empty mesh.
  ON_Mesh Convert(const AcDbObjectId& id, const double* facetRes, int expectedCount = 1) {
    ON_ClassArray<ON_Mesh> meshes;
    EXPECT_EQ(ObjectsToMeshes(Ids({id}), meshes, facetRes), 1);
    EXPECT_EQ(meshes.Count(), expectedCount);
    return meshes.Count() == 1 ? meshes[0] : ON_Mesh();
  }

  fs::path TempStl() const { return temp_ / "TVKTemp.stl"; }

  HostSession session_;
  TempDir temp_;
  ScopedEnv env_{"TEMP", temp_.Path().string()};
};

void ExpectBox(const ON_Mesh& mesh, const AcGePoint3d& low, const AcGePoint3d& high,
               double tolerance = 1e-5) {
  const ON_BoundingBox box = mesh.BoundingBox();
  EXPECT_NEAR(box.m_min.x, low.x, tolerance);
  EXPECT_NEAR(box.m_min.y, low.y, tolerance);
  EXPECT_NEAR(box.m_min.z, low.z, tolerance);
  EXPECT_NEAR(box.m_max.x, high.x, tolerance);
  EXPECT_NEAR(box.m_max.y, high.y, tolerance);
  EXPECT_NEAR(box.m_max.z, high.z, tolerance);
}

}  // namespace

TEST_F(ObjectsToMeshesTest, EmptyIdListEmptiesTheMeshList) {
  ON_ClassArray<ON_Mesh> meshes;
  meshes.Append(FilledMesh());
  EXPECT_EQ(ObjectsToMeshes(AcDbObjectIdArray(0, 8), meshes, nullptr), 1);
  EXPECT_EQ(meshes.Count(), 0);
  EXPECT_EQ(GetMeshError(), kUnchanged);
}

TEST_F(ObjectsToMeshesTest, LinesAndCirclesDoNotConvert) {
  const AcDbObjectId circle =
      AddEntity(new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, 1), 2));
  ON_ClassArray<ON_Mesh> meshes;
  meshes.Append(FilledMesh());
  EXPECT_EQ(ObjectsToMeshes(Ids({AddLine(), circle}), meshes, nullptr), 1);
  EXPECT_EQ(meshes.Count(), 0);
  EXPECT_EQ(GetMeshError(), kNotConvertible);
}

TEST_F(ObjectsToMeshesTest, ConvertsInSelectionOrderWithOneColourEach) {
  const AcDbObjectId face = AddFace(5);
  const AcDbObjectId polyface = AddSquarePolyFace(-3);
  ON_ClassArray<ON_Mesh> meshes;
  EXPECT_EQ(ObjectsToMeshes(Ids({face, AddLine(), polyface}), meshes, nullptr), 1);
  ASSERT_EQ(meshes.Count(), 2);
  EXPECT_EQ(meshes[0].QuadCount(), 1);
  EXPECT_FLOAT_EQ(meshes[0].BoundingBox().m_min.x, 5.0f);
  EXPECT_EQ(meshes[1].TriangleCount(), 2);
  EXPECT_FLOAT_EQ(meshes[1].BoundingBox().m_min.x, -3.0f);
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(meshes[i].m_C.Count(), 1) << i;
    EXPECT_EQ(meshes[i].m_C[0].Red(), 255) << i;  // colour 7 of the default layer: white
  }
  EXPECT_EQ(GetMeshError(), kNotConvertible);  // the line's reason stays
}

TEST_F(ObjectsToMeshesTest, ErasedObjectIsNotRead) {
  const AcDbObjectId face = AddFace();
  AcDbEntity* entity = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(entity, face, AcDb::kForWrite), Acad::eOk);
  ASSERT_EQ(entity->erase(), Acad::eOk);
  entity->close();
  ON_Mesh mesh = FilledMesh();
  EXPECT_EQ(ObjectToMesh(face, mesh, nullptr), 0);
  EXPECT_EQ(GetMeshError(), L"Unable to read object");
  EXPECT_EQ(mesh.VertexCount(), 5);
}

struct ColourCase {
  const char* name;
  void (*colour)(const AcDbObjectId& id);
  int red, green, blue;
  friend void PrintTo(const ColourCase& c, std::ostream* os) { *os << c.name; }
};

class MeshColour : public ::testing::TestWithParam<ColourCase> {
 protected:
  HostSession session_;
};

TEST_P(MeshColour, IsTheObjectsColour) {
  const AcDbObjectId id = AddFace();
  GetParam().colour(id);
  ON_ClassArray<ON_Mesh> meshes;
  ASSERT_EQ(ObjectsToMeshes(Ids({id}), meshes, nullptr), 1);
  ASSERT_EQ(meshes.Count(), 1);
  ASSERT_EQ(meshes[0].m_C.Count(), 1);
  const ON_Color colour = meshes[0].m_C[0];
  EXPECT_EQ((std::array{colour.Red(), colour.Green(), colour.Blue()}),
            (std::array{GetParam().red, GetParam().green, GetParam().blue}));
}

INSTANTIATE_TEST_SUITE_P(Methods, MeshColour,
                         ::testing::Values(ColourCase{"true_colour",
                                                      [](const AcDbObjectId& id) {
                                                        AcCmColor c;
                                                        c.setRGB(10, 20, 30);
                                                        Recolour(id, c);
                                                      },
                                                      10, 20, 30},
                                           ColourCase{"by_block",
                                                      [](const AcDbObjectId& id) {
                                                        AcCmColor c;
                                                        c.setColorMethod(AcCmEntityColor::kByBlock);
                                                        Recolour(id, c);
                                                      },
                                                      255, 255, 255},
                                           ColourCase{"by_layer",
                                                      [](const AcDbObjectId& id) {
                                                        AddLayer(L"Green", 3);
                                                        MoveToLayer(id, L"Green");
                                                      },
                                                      0, 255, 0},
                                           ColourCase{"index",
                                                      [](const AcDbObjectId& id) {
                                                        Recolour(id, IndexColour(1));
                                                      },
                                                      255, 0, 0}));

TEST_F(ObjectsToMeshesTest, SolidInPositiveSpaceIsWrittenDirectly) {
  const AcDbObjectId id = AddEntity(NewBox(AcGePoint3d(2, 3, 0), 1, 2, 3));
  const ON_Mesh mesh = Convert(id, nullptr);
  EXPECT_EQ(mesh.TriangleCount(), 12);
  ExpectBox(mesh, AcGePoint3d(2, 3, 0), AcGePoint3d(3, 5, 3));
  ASSERT_EQ(mesh.m_C.Count(), 1);
  EXPECT_EQ(ModelSpaceCountWithErased(), 1);  // no copy went through the drawing
  EXPECT_FALSE(fs::exists(TempStl()));
}

TEST_F(ObjectsToMeshesTest, SolidBelowZeroIsWrittenFromAShiftedCopyAndMovedBack) {
  const AcDbObjectId id = AddEntity(NewBox(AcGePoint3d(-5, 2, -1), 1, 1, 1));
  const ON_Mesh mesh = Convert(id, nullptr);
  EXPECT_EQ(mesh.TriangleCount(), 12);
  ExpectBox(mesh, AcGePoint3d(-5, 2, -1), AcGePoint3d(-4, 3, 0));
  EXPECT_EQ(ModelSpaceEntities(), std::vector<AcDbObjectId>{id});
  EXPECT_EQ(ModelSpaceCountWithErased(), 2);  // the copy, erased
  // The solid itself has not moved.
  AcDbEntity* solid = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(solid, id, AcDb::kForRead), Acad::eOk);
  AcDbExtents extents;
  ASSERT_EQ(solid->getGeomExtents(extents), Acad::eOk);
  solid->close();
  EXPECT_NEAR(extents.minPoint().x, -5, 1e-9);
  EXPECT_NEAR(extents.minPoint().z, -1, 1e-9);
  EXPECT_FALSE(fs::exists(TempStl()));
}

TEST_F(ObjectsToMeshesTest, BodyIsTessellatedThroughATemporarySolid) {
  AcDb3dSolid* sphere = NewSphere(AcGePoint3d(-1, 4, 2), 1.5);
  auto* body = new AcDbBody;
  ASSERT_EQ(body->setBody(sphere->body()), Acad::eOk);
  delete sphere;
  const AcDbObjectId id = AddEntity(body);
  const ON_Mesh mesh = Convert(id, nullptr);
  EXPECT_GT(mesh.TriangleCount(), 50);
  // The facets lie inside the sphere, the deepest by the deflection of the coarse default.
  ExpectBox(mesh, AcGePoint3d(-2.5, 2.5, 0.5), AcGePoint3d(0.5, 5.5, 3.5), 0.05);
  EXPECT_EQ(mesh.m_C.Count(), 1);
  EXPECT_EQ(ModelSpaceEntities(), std::vector<AcDbObjectId>{id});
}

TEST_F(ObjectsToMeshesTest, BodyWithoutModellerBodyFailsWithoutAText) {
  const AcDbObjectId id = AddEntity(new AcDbBody);
  ON_Mesh mesh = Convert(id, nullptr, 0);
  EXPECT_EQ(GetMeshError(), kUnchanged);
}

namespace {

// A solid under another class name: exact names do not match derived classes.
class PlxTestSolid : public AcDb3dSolid {
 public:
  ACRX_DECLARE_MEMBERS(PlxTestSolid);
};
ACRX_DEFINE_MEMBERS(PlxTestSolid, AcDb3dSolid)

}  // namespace

TEST_F(ObjectsToMeshesTest, ClassDerivedFromASolidIsNotConverted) {
  auto* solid = new PlxTestSolid;
  ASSERT_EQ(solid->createBox(1, 1, 1), Acad::eOk);
  const AcDbObjectId id = AddEntity(solid);
  Convert(id, nullptr, 0);
  EXPECT_EQ(GetMeshError(), kNotConvertible);
}

TEST_F(ObjectsToMeshesTest, NullFacetResLeavesFacetResAndUsesItsValue) {
  const AcDbObjectId id = AddEntity(NewSphere(AcGePoint3d(5, 5, 5), 2));
  ASSERT_EQ(SetSysVarReal(L"FACETRES", 2.0), 1);
  const int atVariable = Convert(id, nullptr).TriangleCount();
  EXPECT_EQ(FacetRes(), 2.0);
  ASSERT_EQ(SetSysVarReal(L"FACETRES", 0.5), 1);
  const double two = 2.0;
  EXPECT_EQ(Convert(id, &two).TriangleCount(), atVariable);
  EXPECT_EQ(FacetRes(), 0.5);
  const double coarse = 0.01;
  EXPECT_LT(Convert(id, &coarse).TriangleCount(), atVariable);
  EXPECT_EQ(FacetRes(), 0.5);
}

TEST_F(ObjectsToMeshesTest, FacetResIsRestoredAfterAFailedWrite) {
  const AcDbObjectId id = AddEntity(NewBox(AcGePoint3d(-1, -1, -1), 2, 2, 2));
  ScopedEnv missing("TEMP", (temp_ / "missing" / "folder").string());
  ASSERT_EQ(SetSysVarReal(L"FACETRES", 3.0), 1);
  const double fine = 9.0;
  Convert(id, &fine, 0);
  EXPECT_EQ(GetMeshError(), L"Unable to write temporary file");
  EXPECT_EQ(FacetRes(), 3.0);
  EXPECT_EQ(ModelSpaceEntities(), std::vector<AcDbObjectId>{id});
}

// Coordinates beyond the range of a float come back from the file as infinities, which the
// reader refuses: the file stays for the user to look at.
TEST_F(ObjectsToMeshesTest, FailedReadBackKeepsTheTemporaryFile) {
  const AcDbObjectId id = AddEntity(NewBox(AcGePoint3d(1e39, 0, 0), 1e39, 1, 1));
  ASSERT_EQ(SetSysVarReal(L"FACETRES", 3.0), 1);
  const double coarse = 0.5;
  ON_Mesh mesh;
  EXPECT_EQ(ObjectToMesh(id, mesh, &coarse), 0);
  EXPECT_EQ(GetMeshError(), QMSTL::GetError());
  EXPECT_NE(GetMeshError(), kUnchanged);
  EXPECT_TRUE(fs::exists(TempStl()));
  EXPECT_EQ(FacetRes(), 3.0);
}
