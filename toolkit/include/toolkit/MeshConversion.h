// Drawing objects to openNURBS meshes: 3D faces, polyface and polygon meshes through the
// entity readers, 3D solids and bodies tessellated by the host through a temporary STL file.
// Every mesh an object gives carries exactly one colour in m_C, its object's. Failures leave
// their reason in the mesh module's last-error text.
//
// facetRes: the value FACETRES takes while a solid is tessellated (0.01 to 10); null leaves
// FACETRES alone.
#pragma once

#include "arx.h"
#include "opennurbs.h"

// Empties meshes and appends one mesh per id that converts, in id order. Always 1.
int ObjectsToMeshes(const AcDbObjectIdArray& ids, ON_ClassArray<ON_Mesh>& meshes, const double* facetRes);
// Opens the object for read, converts it and appends its colour. 1 or 0.
int ObjectToMesh(const AcDbObjectId& id, ON_Mesh& mesh, const double* facetRes);
// Converts an entity held open for read by its exact class name. 1 or 0.
int EntityToMesh(AcDbEntity* entity, ON_Mesh& mesh, const double* facetRes);
// Tessellates a solid (open for read, or outside the database); a solid below zero in any
// coordinate is written from a shifted copy and its mesh moved back. 1 or 0.
int SolidToMesh(AcDb3dSolid* solid, ON_Mesh& mesh, const double* facetRes);
// Tessellates a body through a temporary solid that takes its ACIS body. 1 or 0.
int BodyToMesh(AcDbBody* body, ON_Mesh& mesh, const double* facetRes);

// Tessellates the solid (open for read) as SolidToMesh does and writes the mesh into target
// (open for write, kept open) through MeshToPolyFaceMesh; no colour is taken. 1, or 0 with the
// reason in the mesh module's last-error text (a refusal of the polyface mesh in its words);
// what was appended to target before a refusal stays.
int SolidToPolyFaceMesh(AcDb3dSolid* solid, AcDbPolyFaceMesh* target, const double* facetRes);
// The same for a body, through a temporary solid that takes its ACIS body; a body that holds
// nothing gives 0 without a text.
int SolidToPolyFaceMesh(AcDbBody* body, AcDbPolyFaceMesh* target, const double* facetRes);
