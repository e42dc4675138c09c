// Builders of faceted entities and solids in model space of the working database, written with
// the host's own calls, and small probes of openNURBS meshes.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "TestDrawing.h"
#include "arx.h"
#include "opennurbs.h"

namespace plx::test {

struct FaceRecord {
  Adesk::Int16 a, b, c, d;
};

inline AcDbObjectId AddPolyFace(const std::vector<AcGePoint3d>& vertices,
                                const std::vector<FaceRecord>& faces) {
  auto* mesh = new AcDbPolyFaceMesh;
  for (const AcGePoint3d& p : vertices)
    EXPECT_EQ(mesh->appendVertex(new AcDbPolyFaceMeshVertex(p)), Acad::eOk);
  for (const FaceRecord& f : faces)
    EXPECT_EQ(mesh->appendFaceRecord(new AcDbFaceRecord(f.a, f.b, f.c, f.d)), Acad::eOk);
  return AddEntity(mesh);
}

// A unit square as a polyface mesh of two triangles, at x.
inline AcDbObjectId AddSquarePolyFace(double x = 0) {
  return AddPolyFace({{x, 0, 0}, {x + 1, 0, 0}, {x + 1, 1, 0}, {x, 1, 0}},
                     {{1, 2, 3, 0}, {1, 3, 4, 0}});
}

// The grid point of row r and column c: distinct for every vertex.
inline AcGePoint3d GridPoint(int r, int c) { return AcGePoint3d(c, r, 0.5 * r * c); }

inline AcDbObjectId AddPolygonMesh(int m, int n, bool closedM, bool closedN) {
  AcGePoint3dArray points;
  for (int r = 0; r < m; ++r)
    for (int c = 0; c < n; ++c) points.append(GridPoint(r, c));
  return AddEntity(new AcDbPolygonMesh(AcDb::kSimpleMesh, static_cast<Adesk::Int16>(m),
                                       static_cast<Adesk::Int16>(n), points, closedM, closedN));
}

// A box with its lowest corner at low.
inline AcDb3dSolid* NewBox(const AcGePoint3d& low, double x, double y, double z) {
  auto* solid = new AcDb3dSolid;
  EXPECT_EQ(solid->createBox(x, y, z), Acad::eOk);
  AcGeMatrix3d move;
  move.setToTranslation(AcGeVector3d(low.x + x / 2, low.y + y / 2, low.z + z / 2));
  EXPECT_EQ(solid->transformBy(move), Acad::eOk);
  return solid;
}

inline AcDb3dSolid* NewSphere(const AcGePoint3d& centre, double radius) {
  auto* solid = new AcDb3dSolid;
  EXPECT_EQ(solid->createSphere(radius), Acad::eOk);
  AcGeMatrix3d move;
  move.setToTranslation(centre.asVector());
  EXPECT_EQ(solid->transformBy(move), Acad::eOk);
  return solid;
}

// The entities of model space in drawing order, erased ones included or not.
inline std::vector<AcDbObjectId> ModelSpaceEntities(bool withErased = false) {
  std::vector<AcDbObjectId> ids;
  AcDbBlockTableRecord* space = nullptr;
  EXPECT_EQ(acdbOpenObject(space, Working()->modelSpaceId(), AcDb::kForRead), Acad::eOk);
  if (!space) return ids;
  AcDbBlockTableRecordIterator* it = nullptr;
  space->newIterator(it, true, !withErased);
  for (; !it->done(); it->step(true, !withErased)) {
    AcDbObjectId id;
    it->getEntityId(id);
    ids.push_back(id);
  }
  delete it;
  space->close();
  return ids;
}

inline int ModelSpaceCountWithErased() { return static_cast<int>(ModelSpaceEntities(true).size()); }

inline std::array<double, 3> Corner(const ON_Mesh& mesh, int face, int corner) {
  const ON_3fPoint& p = mesh.m_V[mesh.m_F[face].vi[corner]];
  return {p.x, p.y, p.z};
}

inline std::array<double, 3> Xyz(const AcGePoint3d& p) { return {p.x, p.y, p.z}; }

// A mesh that holds something and a colour, to show that a reader replaces all of it.
inline ON_Mesh FilledMesh() {
  ON_Mesh mesh;
  for (int i = 0; i < 5; ++i) mesh.SetVertex(i, ON_3dPoint(10 + i, 20, 30 * i));
  mesh.SetTriangle(0, 0, 1, 2);
  mesh.SetQuad(1, 1, 2, 3, 4);
  ON_Color colour;
  colour.SetRGB(1, 2, 3);
  mesh.m_C.Append(colour);
  return mesh;
}

}  // namespace plx::test
