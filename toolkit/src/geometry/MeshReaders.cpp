// Readers of faceted entities. Faces are added through the geometry module (TVKMesh); the
// polyface and polygon meshes are cleaned up (unused vertices, degenerate faces) and tested for
// validity before they replace the caller's mesh.
#include "toolkit/MeshReaders.h"

#include <vector>

#include "TVKGeo.h"
#include "geometry/GeometryModule.h"
#include "toolkit/LastError.h"
#include "toolkit/Selection.h"

namespace {

ON_3dPoint ToOn(const AcGePoint3d& p) { return ON_3dPoint(p.x, p.y, p.z); }

int Magnitude(Adesk::Int16 index) { return index < 0 ? -static_cast<int>(index) : index; }

// The clean-up and validity test shared by the polyface and polygon mesh readers.
int FinishMesh(ON_Mesh& local, ON_Mesh& mesh) {
  local.CullUnusedVertices();
  local.CullDegenerateFaces();
  local.Compact();
  if (!local.IsValid(nullptr)) {
    GeometryLastError.Set(L"Invalid mesh");
    return 0;
  }
  mesh = local;
  return 1;
}

// The positions of a mesh entity's vertices in iterator order; false when one does not open.
template <class Vertex, class Mesh>
bool ReadVertexPositions(Mesh* entity, size_t limit, std::vector<ON_3dPoint>& points) {
  AcDbObjectIterator* it = entity->vertexIterator();
  if (!it) return false;
  bool ok = true;
  for (; !it->done() && points.size() < limit; it->step(false, true)) {
    AcDbObject* object = nullptr;
    if (acdbOpenAcDbObject(object, it->objectId(), AcDb::kForRead, false, Vertex::desc()) != Acad::eOk) {
      ok = false;
      break;
    }
    points.push_back(ToOn(static_cast<Vertex*>(object)->position()));
    object->close();
  }
  delete it;
  return ok;
}

}  // namespace

int FaceToMesh(AcDbFace* face, ON_Mesh& mesh) {
  AcGePoint3d c[4];
  for (Adesk::UInt16 i = 0; i < 4; ++i) face->getVertexAt(i, c[i]);
  ON_Mesh local;
  if (c[2].isEqualTo(c[3], AcGeContext::gTol))
    TVKMesh::AddTriangle(local, ToOn(c[0]), ToOn(c[1]), ToOn(c[2]));
  else
    TVKMesh::AddQuad(local, ToOn(c[0]), ToOn(c[1]), ToOn(c[2]), ToOn(c[3]));
  mesh = local;
  return 1;
}

int Solid2dToMesh(AcDbSolid* solid, ON_Mesh& mesh) {
  AcGePoint3d p[4];
  for (Adesk::UInt16 i = 0; i < 4; ++i) solid->getPointAt(i, p[i]);
  ON_Mesh local;
  // A 2D solid's corners run in a Z: the third and fourth change places for the quad.
  if (p[2].isEqualTo(p[3], AcGeContext::gTol))
    TVKMesh::AddTriangle(local, ToOn(p[0]), ToOn(p[1]), ToOn(p[2]));
  else
    TVKMesh::AddQuad(local, ToOn(p[0]), ToOn(p[1]), ToOn(p[3]), ToOn(p[2]));
  mesh = local;
  return 1;
}

int PolyFaceMeshToMesh(AcDbPolyFaceMesh* entity, ON_Mesh& mesh) {
  const int faceCount = entity->numFaces();
  const int vertexCount = entity->numVertices();
  ON_Mesh local(faceCount, vertexCount, false, false);
  AcDbObjectIterator* it = entity->vertexIterator();
  if (!it) {
    GeometryLastError.Set(L"Invalid mesh");
    return 0;
  }
  int i = 0;
  int j = 0;
  bool ok = true;
  // Vertices come first, then face records: they are told apart by position alone.
  for (; !it->done(); it->step(false, true), ++i) {
    AcDbObject* object = nullptr;
    if (i < vertexCount) {
      if (acdbOpenAcDbObject(object, it->objectId(), AcDb::kForRead, false, AcDbPolyFaceMeshVertex::desc()) !=
          Acad::eOk) {
        ok = false;
        break;
      }
      local.SetVertex(i, ToOn(static_cast<AcDbPolyFaceMeshVertex*>(object)->position()));
    } else {
      if (acdbOpenAcDbObject(object, it->objectId(), AcDb::kForRead, false, AcDbFaceRecord::desc()) != Acad::eOk) {
        ok = false;
        break;
      }
      auto* record = static_cast<AcDbFaceRecord*>(object);
      Adesk::Int16 v[4] = {0, 0, 0, 0};
      for (Adesk::UInt16 k = 0; k < 4; ++k) record->getVertexAt(k, v[k]);
      if (v[3] == 0)
        local.SetTriangle(j, Magnitude(v[0]) - 1, Magnitude(v[1]) - 1, Magnitude(v[2]) - 1);
      else
        local.SetQuad(j, Magnitude(v[0]) - 1, Magnitude(v[1]) - 1, Magnitude(v[2]) - 1, Magnitude(v[3]) - 1);
      ++j;
    }
    object->close();
  }
  delete it;
  if (!ok) {
    // A vertex or face record that does not open is not used: the mesh cannot be trusted.
    GeometryLastError.Set(L"Invalid mesh");
    return 0;
  }
  return FinishMesh(local, mesh);
}

int PolygonMeshToMesh(AcDbPolygonMesh* entity, ON_Mesh& mesh) {
  ON_Mesh local;
  const int m = entity->mSize();
  const int n = entity->nSize();
  const bool closedM = entity->isMClosed() == 1;
  const bool closedN = entity->isNClosed() == 1;
  if (m < 1 || n < 1) {
    GeometryLastError.Set(L"Invalid mesh");
    return 0;
  }
  const size_t count = static_cast<size_t>(m) * static_cast<size_t>(n);
  std::vector<ON_3dPoint> p;
  p.reserve(count);
  // A smoothed mesh carries more vertices than the grid: the first M x N fill it.
  if (!ReadVertexPositions<AcDbPolygonMeshVertex>(entity, count, p) || p.size() != count) {
    GeometryLastError.Set(L"Invalid mesh");
    return 0;
  }
  const int last = (m - 1) * n;
  for (int d = 0; d < m * n; ++d) {
    const int r = d / n;
    const int c = d % n;
    if (c < n - 1 && r < m - 1) TVKMesh::AddQuad(local, p[d], p[d + 1], p[d + n + 1], p[d + n]);
    if (c == n - 1 && r < m - 1 && closedN) TVKMesh::AddQuad(local, p[d], p[d + 1 - n], p[d + 1], p[d + n]);
    if (r == m - 1 && c < n - 1 && closedM) TVKMesh::AddQuad(local, p[d], p[d + 1], p[d + 1 - last], p[d - last]);
  }
  if (closedM && closedN) TVKMesh::AddQuad(local, p[n - 1], p[m * n - 1], p[(m - 1) * n], p[0]);
  return FinishMesh(local, mesh);
}

int MeshEntityToMesh(AcDbEntity* entity, ON_Mesh& mesh) {
  const std::wstring name = entity->isA()->name();
  if (name == L"AcDbFace") return FaceToMesh(static_cast<AcDbFace*>(entity), mesh);
  if (name == L"AcDbSolid") return Solid2dToMesh(static_cast<AcDbSolid*>(entity), mesh);
  if (name == L"AcDbPolyFaceMesh") return PolyFaceMeshToMesh(static_cast<AcDbPolyFaceMesh*>(entity), mesh);
  if (name == L"AcDbPolygonMesh") return PolygonMeshToMesh(static_cast<AcDbPolygonMesh*>(entity), mesh);
  GeometryLastError.Set(L"Entity is not a 3D Face, 2D Solid, PolyFace Mesh or Polygon Mesh");
  return 0;
}

namespace {

void MeshClassNames(CStringArray& names) {
  names.Add(L"AcDbFace");
  names.Add(L"AcDbPolyFaceMesh");
  names.Add(L"AcDbPolygonMesh");
}

}  // namespace

int PickMesh(const CString& prompt, int highlight, ON_Mesh& mesh, AcDbObjectId& id) {
  CStringArray names;
  MeshClassNames(names);
  if (!PickObjectOfClasses(prompt, highlight, names, id)) {
    GeometryLastError.Set(GetHostError());
    return 0;
  }
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead, false) != Acad::eOk) return 0;
  const int result = MeshEntityToMesh(entity, mesh);
  entity->close();
  return result;
}

int PickMesh(const CString& prompt, int highlight, ON_Mesh& mesh) {
  AcDbObjectId scratch;
  return PickMesh(prompt, highlight, mesh, scratch);
}

int SelectMeshes(const CString& prompt, int highlight, ON_ClassArray<ON_Mesh>& meshes, AcDbObjectIdArray& ids) {
  CStringArray names;
  MeshClassNames(names);
  if (!SelectObjectsOfClasses(prompt, highlight, names, ids)) {
    GeometryLastError.Set(GetHostError());
    return 0;
  }
  meshes.Empty();
  ON_Mesh working;
  for (int i = 0; i < ids.length(); ++i) {
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, ids[i], AcDb::kForRead, false) != Acad::eOk) continue;
    if (MeshEntityToMesh(entity, working) == 1) meshes.Append(working);
    entity->close();
  }
  if (meshes.Count() > 0) return 1;
  GeometryLastError.Set(L"Meshes not selected");
  return 0;
}

int SelectMeshes(const CString& prompt, int highlight, ON_ClassArray<ON_Mesh>& meshes) {
  AcDbObjectIdArray ids(0, 8);
  return SelectMeshes(prompt, highlight, meshes, ids);
}
