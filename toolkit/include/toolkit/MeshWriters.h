// openNURBS meshes written into the host's mesh entities: polyface meshes and subdivision
// meshes. A mesh face is a triangle when its third and fourth indices are equal and a quad
// otherwise; no other test is made.
#pragma once

#include "acadstrc.h"
#include "afx.h"
#include "arx.h"
#include "opennurbs.h"

// Appends every vertex of mesh to target (open for write, kept open), then one face record per
// face: the vertex numbers are the indices plus 1, and a triangle's fourth number is 0. Stops
// at the first vertex or record that the host refuses (a polyface mesh numbers at most 32767
// vertices): status holds its code, the geometry module's last-error text its words, and what
// was appended stays. A face that names a vertex the mesh lacks would make a corrupt polyface
// mesh: it is reported as eInvalidFaceVertexIndex before anything is appended. 1 with status
// eOk on success, else 0.
int MeshToPolyFaceMesh(const ON_Mesh& mesh, AcDbPolyFaceMesh* target, Acad::ErrorStatus& status);
int MeshToPolyFaceMesh(const ON_Mesh& mesh, AcDbPolyFaceMesh* target);

// Sets target's vertices and faces from mesh at subdivision level 0; target stays open. The
// face list gives each face as 3, a, b, c or 4, a, b, c, d. The host's status is not read.
// Always 1.
int MeshToSubDMesh(const ON_Mesh& mesh, AcDbSubDMesh* target);
// A new subdivision mesh from mesh, on the layer (an empty name leaves the current one) in the
// colour, appended to model space and closed. Always 1.
int MeshToSubDMesh(const ON_Mesh& mesh, const CString& layer, const AcCmColor& colour);
// As the form before; reserved is not read.
int MeshToSubDMesh(const ON_Mesh& mesh, int reserved, const CString& layer,
                   const AcCmColor& colour);
// One new subdivision mesh per mesh, in index order; an empty list makes nothing. Always 1.
int MeshToSubDMesh(const ON_ClassArray<ON_Mesh>& meshes, int reserved, const CString& layer,
                   const AcCmColor& colour);
