// Entity writers: points, lines, circles, arcs, 3D polylines and the faces, edges and vertices
// of meshes as new entities in model space. Mesh edges and vertices come from the mesh
// topology, so that a vertex or edge that faces share is written once.
#include "toolkit/EntityWriters.h"

#include <cmath>

#include "geometry/AppendEntity.h"

namespace {

AcGePoint3d ToAcGe(const ON_3dPoint& p) { return AcGePoint3d(p.x, p.y, p.z); }
AcGeVector3d ToAcGe(const ON_3dVector& v) { return AcGeVector3d(v.x, v.y, v.z); }

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
    for (Adesk::UInt16 k = 0; k < 4; ++k)
      entity->setVertexAt(k, ToAcGe(ON_3dPoint(mesh.m_V[face.vi[k]])));
    AppendAndClose(entity, layer, colour);
  }
  return 1;
}

int MeshToFaces(const ON_ClassArray<ON_Mesh>& meshes, const CString& layer,
                const AcCmColor& colour) {
  return EachOf(meshes, [&](const ON_Mesh& mesh) { MeshToFaces(mesh, layer, colour); });
}

int MeshEdgesToLines(const ON_Mesh& mesh, const CString& layer, const AcCmColor& colour) {
  const ON_MeshTopology& top = mesh.Topology();
  for (int e = 0; e < top.TopEdgeCount(); ++e) {
    const ON_MeshTopologyEdge& edge = top.m_tope[e];
    AppendAndClose(new AcDbLine(ToAcGe(top.TopVertexPoint(edge.m_topvi[0])),
                                ToAcGe(top.TopVertexPoint(edge.m_topvi[1]))),
                   layer, colour);
  }
  return 1;
}

int MeshEdgesToLines(const ON_ClassArray<ON_Mesh>& meshes, const CString& layer,
                     const AcCmColor& colour) {
  return EachOf(meshes, [&](const ON_Mesh& mesh) { MeshEdgesToLines(mesh, layer, colour); });
}

int MeshVerticesToPoints(const ON_Mesh& mesh, const CString& layer, const AcCmColor& colour) {
  const ON_MeshTopology& top = mesh.Topology();
  for (int v = 0; v < top.TopVertexCount(); ++v)
    PointToEntity(top.TopVertexPoint(v), layer, colour);
  return 1;
}

int MeshVerticesToPoints(const ON_ClassArray<ON_Mesh>& meshes, const CString& layer,
                         const AcCmColor& colour) {
  return EachOf(meshes, [&](const ON_Mesh& mesh) { MeshVerticesToPoints(mesh, layer, colour); });
}

int SetPointGeometry(const ON_Point& point, AcDbPoint* entity) {
  entity->setPosition(ToAcGe(point.point));
  return 1;
}

int SetLineGeometry(const ON_Line& line, AcDbLine* entity) {
  entity->setStartPoint(ToAcGe(line.from));
  entity->setEndPoint(ToAcGe(line.to));
  return 1;
}

int SetCircleGeometry(const ON_Circle& circle, AcDbCircle* entity) {
  entity->setCenter(ToAcGe(circle.Center()));
  entity->setRadius(circle.Radius());
  entity->setNormal(ToAcGe(circle.Normal()));
  return 1;
}

int SetArcGeometry(const ON_Arc& arc, AcDbArc* entity) {
  const AcGePoint3d centre = ToAcGe(arc.Center());
  AcGeVector3d start = ToAcGe(arc.StartPoint()) - centre;
  start.normalize(AcGeContext::gTol);
  AcGeVector3d normal = ToAcGe(arc.Normal());
  normal.normalize(AcGeContext::gTol);
  // The arbitrary axis algorithm: near the world Z axis the X axis comes from world Y.
  const double kArbitraryAxisLimit = 1.0 / 64.0;
  const AcGeVector3d world =
      std::fabs(normal.x) < kArbitraryAxisLimit && std::fabs(normal.y) < kArbitraryAxisLimit
          ? AcGeVector3d(0, 1, 0)
          : AcGeVector3d(0, 0, 1);
  AcGeVector3d xAxis = world.crossProduct(normal);
  xAxis.normalize(AcGeContext::gTol);
  const double startAngle = xAxis.angleTo(start, normal);
  entity->setCenter(centre);
  entity->setNormal(normal);
  entity->setRadius(arc.Radius());
  entity->setStartAngle(startAngle);
  entity->setEndAngle(startAngle + arc.AngleRadians());
  return 1;
}

int AppendPolylineVertices(const ON_Polyline& polyline, AcDb3dPolyline* entity) {
  ON_Polyline points = polyline;
  const bool closed = points.IsClosed(0.0);
  if (closed) points.Remove();
  for (int i = 0; i < points.Count(); ++i) {
    auto* vertex = new AcDb3dPolylineVertex(ToAcGe(points[i]));
    entity->appendVertex(vertex);
    vertex->close();  // a refused vertex is outside any database: closing releases it
  }
  if (closed) entity->makeClosed();
  return 1;
}

int PointToEntity(const ON_3dPointArray& points, const CString& layer, const AcCmColor& colour) {
  return EachOf(points, [&](const ON_3dPoint& point) { PointToEntity(point, layer, colour); });
}

int LineToEntity(const ON_Line& line, const CString& layer, const AcCmColor& colour) {
  AppendAndClose(new AcDbLine(ToAcGe(line.from), ToAcGe(line.to)), layer, colour);
  return 1;
}

int LineToEntity(const ON_3dPoint& from, const ON_3dPoint& to, const CString& layer,
                 const AcCmColor& colour) {
  return LineToEntity(ON_Line(from, to), layer, colour);
}

int LineToEntity(const ON_SimpleArray<ON_Line>& lines, const CString& layer,
                 const AcCmColor& colour) {
  return EachOf(lines, [&](const ON_Line& line) { LineToEntity(line, layer, colour); });
}

int CircleToEntity(const ON_Circle& circle, const CString& layer, const AcCmColor& colour) {
  auto* entity = new AcDbCircle;
  SetCircleGeometry(circle, entity);
  AppendAndClose(entity, layer, colour);
  return 1;
}

int CircleToEntity(const ON_SimpleArray<ON_Circle>& circles, const CString& layer,
                   const AcCmColor& colour) {
  return EachOf(circles, [&](const ON_Circle& circle) { CircleToEntity(circle, layer, colour); });
}

int ArcToEntity(const ON_Arc& arc, const CString& layer, const AcCmColor& colour) {
  if (arc.IsCircle()) return CircleToEntity(static_cast<const ON_Circle&>(arc), layer, colour);
  auto* entity = new AcDbArc;
  SetArcGeometry(arc, entity);
  AppendAndClose(entity, layer, colour);
  return 1;
}

int ArcToEntity(const ON_SimpleArray<ON_Arc>& arcs, const CString& layer, const AcCmColor& colour) {
  return EachOf(arcs, [&](const ON_Arc& arc) { ArcToEntity(arc, layer, colour); });
}

int PolylineToEntity(const ON_Polyline& polyline, const CString& layer, const AcCmColor& colour) {
  auto* entity = new AcDb3dPolyline;
  AppendPolylineVertices(polyline, entity);
  AppendAndClose(entity, layer, colour);
  return 1;
}

int PolylineToEntity(const ON_ClassArray<ON_Polyline>& polylines, const CString& layer,
                     const AcCmColor& colour) {
  return EachOf(polylines,
                [&](const ON_Polyline& polyline) { PolylineToEntity(polyline, layer, colour); });
}
