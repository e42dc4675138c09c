// openNURBS geometry written as new entities of the drawing. Every writer gives each entity it
// makes the layer (an empty name leaves the current one) and colour, appends it to model space
// of the working database and closes it; statuses are not read and every writer returns 1. The
// array forms write their elements in index order; an empty array makes nothing.
#pragma once

#include "afx.h"
#include "arx.h"
#include "opennurbs.h"

// One AcDbPoint at the point.
int PointToEntity(const ON_3dPoint& point, const CString& layer, const AcCmColor& colour);

// One AcDbFace per mesh face, its corners 0 to 3 the vertices of the face's four indices (a
// triangle's fourth corner is its third). A face that names a vertex the mesh lacks is left out.
int MeshToFaces(const ON_Mesh& mesh, const CString& layer, const AcCmColor& colour);
int MeshToFaces(const ON_ClassArray<ON_Mesh>& meshes, const CString& layer,
                const AcCmColor& colour);
// One AcDbLine per edge of the mesh topology, from its first topological vertex to its second.
int MeshEdgesToLines(const ON_Mesh& mesh, const CString& layer, const AcCmColor& colour);
int MeshEdgesToLines(const ON_ClassArray<ON_Mesh>& meshes, const CString& layer,
                     const AcCmColor& colour);
// One AcDbPoint per vertex of the mesh topology: mesh vertices at one position give one point.
int MeshVerticesToPoints(const ON_Mesh& mesh, const CString& layer, const AcCmColor& colour);
int MeshVerticesToPoints(const ON_ClassArray<ON_Mesh>& meshes, const CString& layer,
                         const AcCmColor& colour);

// Geometry setters: fill an entity that the caller constructed and still holds (open for
// write, or outside the database). Statuses are not read; always 1.
// The point's position.
int SetPointGeometry(const ON_Point& point, AcDbPoint* entity);
// Start, then end point.
int SetLineGeometry(const ON_Line& line, AcDbLine* entity);
// Centre, radius, then normal (the plane's z axis).
int SetCircleGeometry(const ON_Circle& circle, AcDbCircle* entity);
// Centre, normal, radius, start and end angle. The start angle is the direction of the arc's
// start point seen from its centre, measured about the normal from the X axis that the
// arbitrary axis algorithm gives for the normal; the end angle is the start angle plus the
// sweep, not reduced to one turn.
int SetArcGeometry(const ON_Arc& arc, AcDbArc* entity);
// One vertex per point; a closed polyline (at least four points, the last equal to the first)
// gives its last point no vertex and closes the 3D polyline instead.
int AppendPolylineVertices(const ON_Polyline& polyline, AcDb3dPolyline* entity);

int PointToEntity(const ON_3dPointArray& points, const CString& layer, const AcCmColor& colour);
// One AcDbLine from from to to.
int LineToEntity(const ON_Line& line, const CString& layer, const AcCmColor& colour);
int LineToEntity(const ON_3dPoint& from, const ON_3dPoint& to, const CString& layer,
                 const AcCmColor& colour);
int LineToEntity(const ON_SimpleArray<ON_Line>& lines, const CString& layer,
                 const AcCmColor& colour);
int CircleToEntity(const ON_Circle& circle, const CString& layer, const AcCmColor& colour);
int CircleToEntity(const ON_SimpleArray<ON_Circle>& circles, const CString& layer,
                   const AcCmColor& colour);
// An arc of a full turn becomes an AcDbCircle, any other an AcDbArc.
int ArcToEntity(const ON_Arc& arc, const CString& layer, const AcCmColor& colour);
int ArcToEntity(const ON_SimpleArray<ON_Arc>& arcs, const CString& layer, const AcCmColor& colour);
// One AcDb3dPolyline per polyline, filled by AppendPolylineVertices.
int PolylineToEntity(const ON_Polyline& polyline, const CString& layer, const AcCmColor& colour);
int PolylineToEntity(const ON_ClassArray<ON_Polyline>& polylines, const CString& layer,
                     const AcCmColor& colour);
