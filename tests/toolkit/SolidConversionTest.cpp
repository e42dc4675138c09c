// Meshes and objects to 3D solids on a real drawing and the real modeller: the SAT transfer
// (its temporary file gone after every read), the class test on what the modeller made, and
// unions, intersections and subtractions measured by volume.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>

#include "MeshDrawing.h"
#include "QMLib.h"
#include "TestSupport.h"
#include "toolkit/LastError.h"
#include "toolkit/SolidConversion.h"

namespace fs = std::filesystem;
using namespace plx::test;

namespace {

const wchar_t kUnchanged[] = L"unchanged";
const wchar_t kNotSolid[] = L"Mesh does not describe a solid object";
const wchar_t kNotMeshOrSolid[] = L"Object is not a mesh or solid";

AcDbObjectIdArray Ids(std::initializer_list<AcDbObjectId> list) {
  AcDbObjectIdArray ids(0, 8);
  for (const AcDbObjectId& id : list) ids.append(id);
  return ids;
}

// The unit cube [0,1]^3 scaled by size, on 8 shared vertices, faces turned outwards.
ON_Mesh CubeMesh(double size = 1) {
  ON_Mesh mesh;
  for (int i = 0; i < 8; ++i) mesh.SetVertex(i, ON_3dPoint(size * (i & 1), size * ((i >> 1) & 1), size * (i >> 2)));
  mesh.SetQuad(0, 0, 2, 3, 1);
  mesh.SetQuad(1, 4, 5, 7, 6);
  mesh.SetQuad(2, 0, 1, 5, 4);
  mesh.SetQuad(3, 2, 6, 7, 3);
  mesh.SetQuad(4, 0, 4, 6, 2);
  mesh.SetQuad(5, 1, 3, 7, 5);
  return mesh;
}

AcDbObjectId AddCubePolyFace(double size) {
  std::vector<AcGePoint3d> vertices;
  for (int i = 0; i < 8; ++i) vertices.emplace_back(size * (i & 1), size * ((i >> 1) & 1), size * (i >> 2));
  return AddPolyFace(vertices, {{1, 3, 4, 2}, {5, 6, 8, 7}, {1, 2, 6, 5}, {3, 7, 8, 4}, {1, 5, 7, 3}, {2, 4, 8, 6}});
}

// A torus-like grid closed in both directions: tube radius r about a circle of radius R.
AcDbObjectId AddTorusGrid(int m, int n, double bigR, double r) {
  AcGePoint3dArray points;
  for (int i = 0; i < m; ++i) {
    const double u = 2 * std::numbers::pi * i / m;
    for (int j = 0; j < n; ++j) {
      const double v = 2 * std::numbers::pi * j / n;
      points.append(AcGePoint3d((bigR + r * std::cos(v)) * std::cos(u), (bigR + r * std::cos(v)) * std::sin(u),
                                r * std::sin(v)));
    }
  }
  return AddEntity(new AcDbPolygonMesh(AcDb::kSimpleMesh, static_cast<Adesk::Int16>(m), static_cast<Adesk::Int16>(n),
                                       points, true, true));
}

// The volume of a closed grid of quads, each split into two triangles, by the divergence rule.
double GridVolume(int m, int n, double bigR, double r) {
  auto at = [&](int i, int j) {
    const double u = 2 * std::numbers::pi * (i % m) / m, v = 2 * std::numbers::pi * (j % n) / n;
    return AcGeVector3d((bigR + r * std::cos(v)) * std::cos(u), (bigR + r * std::cos(v)) * std::sin(u), r * std::sin(v));
  };
  double six = 0;
  for (int i = 0; i < m; ++i)
    for (int j = 0; j < n; ++j) {
      const AcGeVector3d a = at(i, j), b = at(i + 1, j), c = at(i + 1, j + 1), d = at(i, j + 1);
      six += a.dotProduct(b.crossProduct(c)) + a.dotProduct(c.crossProduct(d));
    }
  return std::abs(six) / 6;
}

AcDbObjectId AddBox(const AcGePoint3d& low, double size) { return AddEntity(NewBox(low, size, size, size)); }

double Volume(const AcDb3dSolid& solid) { return solid.volume(); }

class SolidConversionTest : public ::testing::Test {
 protected:
  void SetUp() override { SetMeshError(kUnchanged); }
  void TearDown() override { EXPECT_TRUE(TemporaryFiles().empty()) << "a temporary SAT file was left"; }

  std::vector<fs::path> TemporaryFiles() const {
    std::vector<fs::path> left;
    for (const auto& entry : fs::directory_iterator(temp_.Path()))
      if (entry.path().filename().string().rfind("TVK", 0) == 0) left.push_back(entry.path());
    return left;
  }

  HostSession session_;
  TempDir temp_;
  ScopedEnv env_{"TEMP", temp_.Path().string()};
};

}  // namespace

TEST_F(SolidConversionTest, ClosedMeshBecomesASolidOfItsVolume) {
  AcDb3dSolid target;
  ASSERT_EQ(MeshToSolid(CubeMesh(2), &target), 1) << GetMeshError().GetString();
  EXPECT_NEAR(Volume(target), 8.0, 1e-9);
  EXPECT_EQ(GetMeshError(), kUnchanged);
}

TEST_F(SolidConversionTest, ClosedPolyFaceAndPolygonMeshesBecomeSolids) {
  AcDbEntity* entity = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(entity, AddCubePolyFace(3), AcDb::kForRead), Acad::eOk);
  AcDb3dSolid cube;
  EXPECT_EQ(MeshToSolid(static_cast<AcDbPolyFaceMesh*>(entity), &cube), 1) << GetMeshError().GetString();
  entity->close();
  EXPECT_NEAR(Volume(cube), 27.0, 1e-9);

  ASSERT_EQ(acdbOpenAcDbEntity(entity, AddTorusGrid(24, 12, 5, 1), AcDb::kForRead), Acad::eOk);
  AcDb3dSolid torus;
  EXPECT_EQ(MeshToSolid(static_cast<AcDbPolygonMesh*>(entity), &torus), 1) << GetMeshError().GetString();
  entity->close();
  EXPECT_NEAR(Volume(torus), GridVolume(24, 12, 5, 1), 1e-6 * GridVolume(24, 12, 5, 1));
}

TEST_F(SolidConversionTest, OpenMeshesGoByWhatTheModellerMadeOfThem) {
  // An open box is a body: accepted, though the target is no closed volume.
  ON_Mesh open = CubeMesh();
  open.m_F.Remove(5);
  AcDb3dSolid fromBody;
  EXPECT_EQ(MeshToSolid(open, &fromBody), 1) << GetMeshError().GetString();
  EXPECT_FALSE(fromBody.isNull());

  // One flat square is a region: refused, the target untouched.
  ON_Mesh square;
  for (int i = 0; i < 4; ++i) square.SetVertex(i, ON_3dPoint(i == 1 || i == 2, i >= 2, 0));
  square.SetQuad(0, 0, 1, 2, 3);
  AcDb3dSolid target;
  EXPECT_EQ(MeshToSolid(square, &target), 0);
  EXPECT_EQ(GetMeshError(), kNotSolid);
  EXPECT_TRUE(target.isNull());
}

TEST_F(SolidConversionTest, AFailingWriterLeavesItsOwnTextAndNoFile) {
  AcDb3dSolid target;
  EXPECT_EQ(MeshToSolid(ON_Mesh(), &target), 0);
  EXPECT_FALSE(GetMeshError().IsEmpty());
  EXPECT_EQ(GetMeshError(), QMACISMesh::GetError());
  EXPECT_TRUE(target.isNull());
}

TEST_F(SolidConversionTest, WithoutATempFolderTheRuntimeChoosesOne) {
  ScopedEnv unset{"TEMP", ""};
  AcDb3dSolid target;
  EXPECT_EQ(MeshToSolid(CubeMesh(), &target), 1) << GetMeshError().GetString();
}

TEST_F(SolidConversionTest, MeshToEntitiesHandsTheCallerEveryEntity) {
  ON_ClassArray<ON_Mesh> meshes;
  meshes.Append(CubeMesh());
  ON_Mesh apart = CubeMesh();
  for (int i = 0; i < apart.m_V.Count(); ++i) apart.m_V[i].x += 5;
  meshes.Append(apart);
  AcDbVoidPtrArray entities;
  ASSERT_EQ(MeshToEntities(meshes, entities, 1, 1), 1) << GetMeshError().GetString();
  ASSERT_GE(entities.length(), 1);
  double volume = 0;
  for (int i = 0; i < entities.length(); ++i) {
    auto* entity = static_cast<AcDbModelerEntity*>(entities[i]);
    volume += entity->volume();
    delete entity;
  }
  EXPECT_NEAR(volume, 2.0, 1e-9);
}

TEST_F(SolidConversionTest, MeshEntitiesThatCannotBeReadKeepTheReadersText) {
  const AcDbObjectId broken = AddPolyFace({{0, 0, 0}, {1, 0, 0}}, {});
  AcDbEntity* entity = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(entity, broken, AcDb::kForRead), Acad::eOk);
  AcDbVoidPtrArray entities;
  EXPECT_EQ(MeshToEntities(static_cast<AcDbPolyFaceMesh*>(entity), entities), 0);
  EXPECT_EQ(GetMeshError(), GetGeometryError());
  EXPECT_TRUE(entities.isEmpty());
  entity->close();
}

TEST_F(SolidConversionTest, BodyToSolidTakesACopyOfTheBody) {
  AcDbBody body;
  AcDb3dSolid* box = NewBox(AcGePoint3d(0, 0, 0), 1, 2, 3);
  ASSERT_EQ(body.setBody(box->body()), Acad::eOk);
  delete box;
  AcDb3dSolid target;
  EXPECT_EQ(BodyToSolid(&body, &target), 1);
  EXPECT_NEAR(Volume(target), 6.0, 1e-9);
  EXPECT_FALSE(body.isNull());

  AcDbBody empty;
  AcDb3dSolid none;
  EXPECT_EQ(BodyToSolid(&empty, &none), 0);
  EXPECT_EQ(GetMeshError(), kUnchanged);
}

// A class of its own below the 3D solid: names are compared exactly.
class DerivedSolid : public AcDb3dSolid {
 public:
  ACRX_DECLARE_MEMBERS(DerivedSolid);
};
ACRX_DEFINE_MEMBERS(DerivedSolid, AcDb3dSolid);

TEST_F(SolidConversionTest, ObjectsOfOtherClassesAreRefused) {
  // A box explodes into regions, one per face.
  AcDb3dSolid* box = NewBox(AcGePoint3d(0, 0, 0), 1, 1, 1);
  AcDbVoidPtrArray pieces;
  ASSERT_EQ(box->explode(pieces), Acad::eOk);
  delete box;
  ASSERT_FALSE(pieces.isEmpty());
  auto* region = static_cast<AcDbEntity*>(pieces[0]);
  ASSERT_STREQ(region->isA()->name(), L"AcDbRegion");
  for (int i = 1; i < pieces.length(); ++i) delete static_cast<AcDbEntity*>(pieces[i]);
  auto* derived = new DerivedSolid;
  derived->createBox(1, 1, 1);

  for (const AcDbObjectId& id : {AddLine(), AddFace(), AddEntity(region), AddEntity(derived)}) {
    SetMeshError(kUnchanged);
    AcDb3dSolid target;
    EXPECT_EQ(ObjectToSolid(id, &target), 0);
    EXPECT_EQ(GetMeshError(), kNotMeshOrSolid);
    EXPECT_TRUE(target.isNull());
  }
}

// Two 2 x 2 x 2 boxes, the second moved by 1 along x: they share a 1 x 2 x 2 slab.
class SolidBooleansTest : public SolidConversionTest {
 protected:
  AcDbObjectId first_ = AddBox(AcGePoint3d(0, 0, 0), 2);
  AcDbObjectId second_ = AddBox(AcGePoint3d(1, 0, 0), 2);
};

TEST_F(SolidBooleansTest, UnionIntersectionAndSubtractionOfOverlappingBoxes) {
  AcDb3dSolid united, common, difference;
  EXPECT_EQ(UniteObjects(Ids({first_, second_}), &united), 1);
  EXPECT_EQ(IntersectObjects(Ids({first_, second_}), &common), 1);
  EXPECT_EQ(SubtractObjects(Ids({first_}), Ids({second_}), &difference), 1);
  EXPECT_NEAR(Volume(united), 12.0, 1e-9);
  EXPECT_NEAR(Volume(common), 4.0, 1e-9);
  EXPECT_NEAR(Volume(difference), 4.0, 1e-9);
  EXPECT_EQ(GetMeshError(), kUnchanged);
}

TEST_F(SolidBooleansTest, OneIdIsTakenAsItIs) {
  AcDb3dSolid united, common;
  EXPECT_EQ(UniteObjects(Ids({first_}), &united), 1);
  EXPECT_EQ(IntersectObjects(Ids({first_}), &common), 1);
  EXPECT_NEAR(Volume(united), 8.0, 1e-9);
  EXPECT_NEAR(Volume(common), 8.0, 1e-9);
}

TEST_F(SolidBooleansTest, DisjointObjectsHaveNoCommonIntersection) {
  const AcDbObjectId far = AddBox(AcGePoint3d(10, 0, 0), 1);
  AcDb3dSolid target;
  EXPECT_EQ(IntersectObjects(Ids({first_, far}), &target), 0);
  EXPECT_EQ(GetMeshError(), L"Objects do not have a common intersection");
  EXPECT_TRUE(target.isNull());
}

TEST_F(SolidBooleansTest, MeshesAndBodiesTakePartLikeSolids) {
  auto* body = new AcDbBody;
  AcDb3dSolid* box = NewBox(AcGePoint3d(1, 0, 0), 2, 2, 2);
  body->setBody(box->body());
  delete box;
  AcDb3dSolid target;
  EXPECT_EQ(UniteObjects(Ids({first_, AddEntity(body), AddCubePolyFace(1)}), &target), 1) << GetMeshError().GetString();
  EXPECT_NEAR(Volume(target), 12.0, 1e-9);
}

TEST_F(SolidBooleansTest, AFailingObjectStopsTheUnionWithItsText) {
  AcDb3dSolid target;
  EXPECT_EQ(UniteObjects(Ids({first_, AddLine(), second_}), &target), 0);
  EXPECT_EQ(GetMeshError(), kNotMeshOrSolid);
  EXPECT_NEAR(Volume(target), 8.0, 1e-9);  // the objects before the failing one

  AcDb3dSolid difference;
  EXPECT_EQ(SubtractObjects(Ids({first_, second_}), Ids({AddFace()}), &difference), 0);
  EXPECT_EQ(GetMeshError(), kNotMeshOrSolid);
  EXPECT_NEAR(Volume(difference), 12.0, 1e-9);  // the union of the first list
}

TEST_F(SolidBooleansTest, ObjectsToSolidsConvertsWhatItCan) {
  AcArray<AcDb3dSolid*> solids;
  EXPECT_EQ(ObjectsToSolids(Ids({first_, AddLine(), second_}), solids), 1);
  EXPECT_EQ(GetMeshError(), kNotMeshOrSolid);  // the last failing object's
  ASSERT_EQ(solids.length(), 2);
  for (int i = 0; i < solids.length(); ++i) {
    EXPECT_NEAR(Volume(*solids[i]), 8.0, 1e-9);
    delete solids[i];
  }

  AcDb3dSolid kept;
  solids.append(&kept);  // emptied, not deleted
  EXPECT_EQ(ObjectsToSolids(Ids({AddLine(), AddFace()}), solids), 0);
  EXPECT_EQ(GetMeshError(), L"Unable to solidify objects");
  EXPECT_TRUE(solids.isEmpty());
}
