// Faceted entities read into openNURBS meshes: 3D faces, 2D solids, polyface and polygon
// meshes. A reader builds a fresh mesh and, on success, replaces the caller's mesh with it
// (colours included); on failure the caller's mesh is untouched and the reason is in the
// geometry module's last-error text. Entities are passed open for read.
#pragma once

#include "afx.h"
#include "arx.h"
#include "opennurbs.h"

// One quad c0, c1, c2, c3, or the triangle c0, c1, c2 when c2 equals c3. Always 1.
int FaceToMesh(AcDbFace* face, ON_Mesh& mesh);
// As FaceToMesh, the quad taking the corners p0, p1, p3, p2. Always 1.
int Solid2dToMesh(AcDbSolid* solid, ON_Mesh& mesh);
// 1, or 0 with "Invalid mesh" when the cleaned mesh is not valid.
int PolyFaceMeshToMesh(AcDbPolyFaceMesh* entity, ON_Mesh& mesh);
int PolygonMeshToMesh(AcDbPolygonMesh* entity, ON_Mesh& mesh);
// The reader for the entity's exact class, or 0 for any other class.
int MeshEntityToMesh(AcDbEntity* entity, ON_Mesh& mesh);

// Lets the user pick one face or mesh and reads it; 0 when the pick was cancelled.
int PickMesh(const CString& prompt, int highlight, ON_Mesh& mesh, AcDbObjectId& id);
int PickMesh(const CString& prompt, int highlight, ON_Mesh& mesh);
// Lets the user select faces and meshes; the ids are appended to ids and every id of ids is
// read into meshes (emptied first). 1 when at least one mesh was read.
int SelectMeshes(const CString& prompt, int highlight, ON_ClassArray<ON_Mesh>& meshes, AcDbObjectIdArray& ids);
int SelectMeshes(const CString& prompt, int highlight, ON_ClassArray<ON_Mesh>& meshes);
