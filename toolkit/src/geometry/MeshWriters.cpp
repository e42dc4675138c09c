// Mesh writers. A polyface mesh gets all its vertices before any face record, so that every
// record may name any vertex; a subdivision mesh takes its faces as one list of corner counts
// followed by the corners' indices.
#include "toolkit/MeshWriters.h"

#include "geometry/AppendEntity.h"
#include "geometry/GeometryModule.h"
#include "toolkit/ErrorStatusText.h"
#include "toolkit/Layers.h"

namespace {

AcGePoint3d ToAcGe(const ON_3fPoint& p) { return AcGePoint3d(p.x, p.y, p.z); }

int Refuse(Acad::ErrorStatus& status, Acad::ErrorStatus refusal) {
  status = refusal;
  GeometryLastError.Set(ErrorStatusText(refusal));
  return 0;
}

}  // namespace

int MeshToPolyFaceMesh(const ON_Mesh& mesh, AcDbPolyFaceMesh* target, Acad::ErrorStatus& status) {
  const int vertexCount = mesh.m_V.Count();
  for (int f = 0; f < mesh.m_F.Count(); ++f)
    for (int index : mesh.m_F[f].vi)
      if (index < 0 || index >= vertexCount) return Refuse(status, Acad::eInvalidFaceVertexIndex);

  for (int i = 0; i < vertexCount; ++i) {
    status = AppendPolyFaceVertex(target, ToAcGe(mesh.m_V[i]));
    if (status != Acad::eOk) return Refuse(status, status);
  }
  for (int f = 0; f < mesh.m_F.Count(); ++f) {
    const int* vi = mesh.m_F[f].vi;
    const int fourth = vi[2] == vi[3] ? 0 : vi[3] + 1;
    status = AppendFaceRecord(target, vi[0] + 1, vi[1] + 1, vi[2] + 1, fourth);
    if (status != Acad::eOk) return Refuse(status, status);
  }
  status = Acad::eOk;
  return 1;
}

int MeshToPolyFaceMesh(const ON_Mesh& mesh, AcDbPolyFaceMesh* target) {
  Acad::ErrorStatus status = Acad::eOk;
  return MeshToPolyFaceMesh(mesh, target, status);
}

int MeshToSubDMesh(const ON_Mesh& mesh, AcDbSubDMesh* target) {
  AcGePoint3dArray vertices(mesh.m_V.Count());
  for (int i = 0; i < mesh.m_V.Count(); ++i) vertices.append(ToAcGe(mesh.m_V[i]));
  AcArray<Adesk::Int32> faces(5 * mesh.m_F.Count());
  for (int f = 0; f < mesh.m_F.Count(); ++f) {
    const ON_MeshFace& face = mesh.m_F[f];
    const int corners = face.IsTriangle() ? 3 : 4;
    faces.append(corners);
    for (int k = 0; k < corners; ++k) faces.append(face.vi[k]);
  }
  target->setSubDMesh(vertices, faces, 0);
  return 1;
}

int MeshToSubDMesh(const ON_Mesh& mesh, const CString& layer, const AcCmColor& colour) {
  auto* entity = new AcDbSubDMesh;
  MeshToSubDMesh(mesh, entity);
  AppendAndClose(entity, layer, colour);
  return 1;
}

int MeshToSubDMesh(const ON_Mesh& mesh, int /*reserved*/, const CString& layer,
                   const AcCmColor& colour) {
  return MeshToSubDMesh(mesh, layer, colour);
}

int MeshToSubDMesh(const ON_ClassArray<ON_Mesh>& meshes, int reserved, const CString& layer,
                   const AcCmColor& colour) {
  for (int i = 0; i < meshes.Count(); ++i) MeshToSubDMesh(meshes[i], reserved, layer, colour);
  return 1;
}
