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
int MeshToFaces(const ON_ClassArray<ON_Mesh>& meshes, const CString& layer, const AcCmColor& colour);
// One AcDbLine per edge of the mesh topology, from its first topological vertex to its second.
int MeshEdgesToLines(const ON_Mesh& mesh, const CString& layer, const AcCmColor& colour);
int MeshEdgesToLines(const ON_ClassArray<ON_Mesh>& meshes, const CString& layer, const AcCmColor& colour);
// One AcDbPoint per vertex of the mesh topology: mesh vertices at one position give one point.
int MeshVerticesToPoints(const ON_Mesh& mesh, const CString& layer, const AcCmColor& colour);
int MeshVerticesToPoints(const ON_ClassArray<ON_Mesh>& meshes, const CString& layer, const AcCmColor& colour);
