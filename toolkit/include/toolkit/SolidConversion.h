// Meshes and drawing objects to modeller entities: meshes reach the modeller through a
// temporary SAT file (written by the data-exchange module, read back by the host), 3D solids
// and bodies hand their body to a target solid, and lists of objects are united, intersected
// or subtracted into one 3D solid. Every operation returns 1 or 0 and, except BodyToSolid,
// leaves the reason of a failure in the mesh module's last-error text.
//
// A target solid is new and in no database, or open for write; it is never closed, deleted
// or appended here. Entities passed in are open for read and stay open.
#pragma once

#include "arx.h"
#include "opennurbs.h"

// The mesh as modeller entities appended to entities (new, in no database, the caller's).
// option goes unchanged to QMACISMesh::MeshToSAT.
int MeshToEntities(const ON_Mesh& mesh, AcDbVoidPtrArray& entities, int option);
int MeshToEntities(const ON_ClassArray<ON_Mesh>& meshes, AcDbVoidPtrArray& entities, int firstOption,
                   int secondOption);
// The entity read as a mesh first; its reader's text on failure.
int MeshToEntities(AcDbPolyFaceMesh* entity, AcDbVoidPtrArray& entities);
int MeshToEntities(AcDbPolygonMesh* entity, AcDbVoidPtrArray& entities);

// The target takes the body of the mesh's first modeller entity. "Mesh does not describe a
// solid object" when that entity is neither a 3D solid nor a body (the target untouched); when
// the target's body then fails the modeller's check, its words (the target keeps the body).
int MeshToSolid(const ON_Mesh& mesh, AcDb3dSolid* target);
int MeshToSolid(AcDbPolyFaceMesh* entity, AcDb3dSolid* target);
int MeshToSolid(AcDbPolygonMesh* entity, AcDb3dSolid* target);

// The target takes a copy of the body's modeller body; 1 when the target is not null
// afterwards. Sets no text.
int BodyToSolid(AcDbBody* body, AcDb3dSolid* target);

// The object (a polyface or polygon mesh, a 3D solid or a body, by exact class name) as the
// target's body. "Object is not a mesh or solid" for any other class.
int ObjectToSolid(const AcDbObjectId& id, AcDb3dSolid* target);
// One new 3D solid (in no database, the caller's) per object that converts, in id order;
// solids empties first (what it held is not deleted). "Unable to solidify objects" when none
// converts; 1 when at least one did.
int ObjectsToSolids(const AcDbObjectIdArray& ids, AcArray<AcDb3dSolid*>& solids);

// The union or intersection of the objects into the target. ids must not be empty. An empty
// intersection: "Objects do not have a common intersection", the target null.
int UniteObjects(const AcDbObjectIdArray& ids, AcDb3dSolid* target);
int IntersectObjects(const AcDbObjectIdArray& ids, AcDb3dSolid* target);
// The union of ids minus the union of toolIds into the target; neither list may be empty.
int SubtractObjects(const AcDbObjectIdArray& ids, const AcDbObjectIdArray& toolIds, AcDb3dSolid* target);
