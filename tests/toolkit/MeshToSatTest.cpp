// Meshes through a SAT file into the host's modeller: QMACISMesh::MeshToSAT writes the file,
// AcDbBody::acisIn reads it back, as the toolkit's mesh-to-solid road does.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "MeshDrawing.h"
#include "QMLib.h"
#include "TestSupport.h"
#include "toolkit/MeshReaders.h"
#include "win32/text.h"

namespace plx::test {
namespace {

double MeshVolume(const ON_Mesh& mesh) {
  double volume = 0;
  auto add = [&](int a, int b, int c) {
    const ON_3fPoint &p = mesh.m_V[a], &q = mesh.m_V[b], &r = mesh.m_V[c];
    volume += (double(p.x) * (double(q.y) * r.z - double(q.z) * r.y) -
               double(p.y) * (double(q.x) * r.z - double(q.z) * r.x) +
               double(p.z) * (double(q.x) * r.y - double(q.y) * r.x)) /
              6;
  };
  for (int f = 0; f < mesh.FaceCount(); ++f) {
    const int* v = mesh.m_F[f].vi;
    add(v[0], v[1], v[2]);
    if (v[2] != v[3]) add(v[0], v[2], v[3]);
  }
  return volume;
}

ON_Mesh Cube(bool looseTriangles) {
  ON_Mesh mesh;
  ON_3dPoint corner[8];
  for (int i = 0; i < 8; ++i) corner[i] = ON_3dPoint(i & 1 ? 3 : 1, i & 2 ? 4 : 2, i & 4 ? 5 : 3);
  const int quads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                           {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
  if (!looseTriangles) {
    for (int i = 0; i < 8; ++i) mesh.SetVertex(i, corner[i]);
    for (int f = 0; f < 6; ++f) mesh.SetQuad(f, quads[f][0], quads[f][1], quads[f][2], quads[f][3]);
    return mesh;
  }
  for (const auto& q : quads) {
    const int tris[2][3] = {{q[0], q[1], q[2]}, {q[0], q[2], q[3]}};
    for (const auto& t : tris) {
      const int base = mesh.VertexCount();
      for (int k = 0; k < 3; ++k) mesh.SetVertex(base + k, corner[t[k]]);
      mesh.SetTriangle(mesh.FaceCount(), base, base + 1, base + 2);
    }
  }
  return mesh;
}

class MeshToSatRead : public ::testing::Test {
 protected:
  // Writes mesh as SAT and reads it back; the entities are owned by the fixture.
  Acad::ErrorStatus WriteAndRead(const ON_Mesh& mesh) {
    const std::wstring path = (dir_ / "mesh.sat").wstring();
    EXPECT_EQ(QMACISMesh::MeshToSAT(mesh, CString(path.c_str()), 1), 1)
        << Utf8FromWide(QMACISMesh::GetError().Str());
    return AcDbBody::acisIn(path.c_str(), entities_);
  }
  AcDbModelerEntity* Only() {
    EXPECT_EQ(entities_.length(), 1);
    return entities_.isEmpty() ? nullptr
                               : AcDbModelerEntity::cast(static_cast<AcDbEntity*>(entities_[0]));
  }
  ~MeshToSatRead() override {
    for (int i = 0; i < entities_.length(); ++i) delete static_cast<AcDbEntity*>(entities_[i]);
  }

  HostSession session_;
  TempDir dir_;
  AcDbVoidPtrArray entities_;
};

TEST_F(MeshToSatRead, ClosedMeshesBecomeOneSolidWithTheirVolume) {
  for (const bool loose : {false, true}) {
    SCOPED_TRACE(loose ? "12 triangles with their own corners" : "6 quads on 8 shared corners");
    for (int i = 0; i < entities_.length(); ++i) delete static_cast<AcDbEntity*>(entities_[i]);
    entities_.setLogicalLength(0);
    const ON_Mesh cube = Cube(loose);
    ASSERT_EQ(WriteAndRead(cube), Acad::eOk);
    AcDbModelerEntity* entity = Only();
    ASSERT_TRUE(entity);
    EXPECT_STREQ(entity->isA()->name(), L"AcDb3dSolid");
    EXPECT_NEAR(entity->volume(), 8, 1e-9);
    AcDbExtents extents;
    ASSERT_EQ(entity->getGeomExtents(extents), Acad::eOk);
    EXPECT_NEAR(extents.minPoint().x, 1, 1e-9);
    EXPECT_NEAR(extents.maxPoint().z, 5, 1e-9);
  }
}

TEST_F(MeshToSatRead, ClosedPolygonMeshBecomesASolidWithItsVolume) {
  // A torus as a polygon mesh closed in both directions.
  AcGePoint3dArray points;
  const int m = 16, n = 10;
  const double pi = 3.14159265358979323846;
  for (int r = 0; r < m; ++r)
    for (int c = 0; c < n; ++c) {
      const double u = 2 * pi * r / m, v = 2 * pi * c / n;
      points.append(AcGePoint3d((6 + 2 * std::cos(v)) * std::cos(u),
                                (6 + 2 * std::cos(v)) * std::sin(u), 2 * std::sin(v)));
    }
  const AcDbObjectId id =
      AddEntity(new AcDbPolygonMesh(AcDb::kSimpleMesh, m, n, points, true, true));
  AcDbPolygonMesh* entity = nullptr;
  ASSERT_EQ(acdbOpenObject(entity, id, AcDb::kForRead), Acad::eOk);
  ON_Mesh mesh;
  ASSERT_EQ(PolygonMeshToMesh(entity, mesh), 1);
  entity->close();
  const double volume = std::fabs(MeshVolume(mesh));
  ASSERT_GT(volume, 100);

  ASSERT_EQ(WriteAndRead(mesh), Acad::eOk);
  AcDbModelerEntity* solid = Only();
  ASSERT_TRUE(solid);
  EXPECT_STREQ(solid->isA()->name(), L"AcDb3dSolid");
  EXPECT_NEAR(solid->volume(), volume, 1e-6 * volume);
}

TEST_F(MeshToSatRead, OpenMeshBecomesABody) {
  ON_Mesh open = Cube(false);
  open.m_F.SetCount(5);
  ASSERT_EQ(WriteAndRead(open), Acad::eOk);
  AcDbModelerEntity* entity = Only();
  ASSERT_TRUE(entity);
  EXPECT_STREQ(entity->isA()->name(), L"AcDbBody");
  EXPECT_NEAR(entity->area(), 2 * 2 + 2 * (2 * 2 + 2 * 2),
              1e-9);  // five faces of the 2 x 2 x 2 cube
}

TEST_F(MeshToSatRead, EmptyMeshWritesNoFileAndSaysWhy) {
  const std::wstring path = (dir_ / "empty.sat").wstring();
  EXPECT_EQ(QMACISMesh::MeshToSAT(ON_Mesh(), CString(path.c_str()), 1), 0);
  EXPECT_EQ(std::wstring(QMACISMesh::GetError().Str()), L"The mesh is empty: it has no faces.");
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace plx::test
