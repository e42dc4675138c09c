// Entity writers: points, lines, circles, arcs, 3D polylines and the faces, edges and vertices
// of meshes as new entities in model space. Mesh edges and vertices come from the mesh
// topology, so that a vertex or edge that faces share is written once.
#include "toolkit/EntityWriters.h"

#include "geometry/AppendEntity.h"

namespace {

AcGePoint3d ToAcGe(const ON_3dPoint& p) { return AcGePoint3d(p.x, p.y, p.z); }

template <class Item, class Writer>
int EachOf(const Item& items, Writer&& write) {
  for (int i = 0; i < items.Count(); ++i) write(items[i]);
  return 1;
}

}  // namespace

int PointToEntity(const ON_3dPoint& point, const CString& layer, const AcCmColor& colour) {
  AppendAndClose(new AcDbPoint(ToAcGe(point)), layer, colour);
  return 1;
}

int MeshToFaces(const ON_Mesh& mesh, const CString& layer, const AcCmColor& colour) {
  const int vertexCount = mesh.m_V.Count();
  for (int f = 0; f < mesh.m_F.Count(); ++f) {
    const ON_MeshFace& face = mesh.m_F[f];
    bool inRange = true;
    for (int index : face.vi) inRange = inRange && index >= 0 && index < vertexCount;
    if (!inRange) continue;  // its corners are nowhere
    auto* entity = new AcDbFace;
    for (Adesk::UInt16 k = 0; k < 4; ++k) entity->setVertexAt(k, ToAcGe(ON_3dPoint(mesh.m_V[face.vi[k]])));
    AppendAndClose(entity, layer, colour);
  }
  return 1;
}

int MeshToFaces(const ON_ClassArray<ON_Mesh>& meshes, const CString& layer, const AcCmColor& colour) {
  return EachOf(meshes, [&](const ON_Mesh& mesh) { MeshToFaces(mesh, layer, colour); });
}

int MeshEdgesToLines(const ON_Mesh& mesh, const CString& layer, const AcCmColor& colour) {
  const ON_MeshTopology& top = mesh.Topology();
  for (int e = 0; e < top.TopEdgeCount(); ++e) {
    const ON_MeshTopologyEdge& edge = top.m_tope[e];
    AppendAndClose(new AcDbLine(ToAcGe(top.TopVertexPoint(edge.m_topvi[0])), ToAcGe(top.TopVertexPoint(edge.m_topvi[1]))),
                   layer, colour);
  }
  return 1;
}

int MeshEdgesToLines(const ON_ClassArray<ON_Mesh>& meshes, const CString& layer, const AcCmColor& colour) {
  return EachOf(meshes, [&](const ON_Mesh& mesh) { MeshEdgesToLines(mesh, layer, colour); });
}

int MeshVerticesToPoints(const ON_Mesh& mesh, const CString& layer, const AcCmColor& colour) {
  const ON_MeshTopology& top = mesh.Topology();
  for (int v = 0; v < top.TopVertexCount(); ++v) PointToEntity(top.TopVertexPoint(v), layer, colour);
  return 1;
}

int MeshVerticesToPoints(const ON_ClassArray<ON_Mesh>& meshes, const CString& layer, const AcCmColor& colour) {
  return EachOf(meshes, [&](const ON_Mesh& mesh) { MeshVerticesToPoints(mesh, layer, colour); });
}
