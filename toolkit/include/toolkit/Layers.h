// Adding to the drawing's structure: layers of the working database, an entity's layer and
// colour, appending entities to model space or a block table record, vertices and face records
// of 3D polylines and polyface meshes, block names, and finding a text in a string array.
// These operations set no last-error text: they return the status of the step that decided.
// An entity handed to them is new and open for write; they never close it, appended or not.
#pragma once

#include "acadstrc.h"
#include "afx.h"
#include "dbcolor.h"
#include "dbid.h"
#include "gepnt3d.h"
#include "toolkit/Properties.h"

class AcDb3dPolyline;
class AcDbBlockTableRecord;
class AcDbEntity;
class AcDbPolyFaceMesh;
class AcDbPolygonMesh;

// Finds the layer of that name (eOk and its id), or creates it with the host's defaults when
// create is non-zero (the status of the addition). A missing layer with create 0 gives
// eNullObjectId, id then naming no layer.
Acad::ErrorStatus GetOrCreateLayer(const CString& name, int create, AcDbObjectId& id);
AcDbObjectId GetOrCreateLayer(const CString& name, int create);  // null when none

// Finds the layer (eOk, its colour and flags untouched), or creates it with the true colour of
// colour (0 is a true-colour black) and the given flags.
Acad::ErrorStatus CreateLayer(const CString& name, AcDbObjectId& id, PackedRGB colour, int frozen,
                              int locked, int off);
Acad::ErrorStatus CreateLayer(const CString& name, PackedRGB colour, int frozen, int locked,
                              int off);

// Puts the entity on the layer, creating the layer when needed; an empty name leaves the
// entity where it is (eOk).
Acad::ErrorStatus SetEntityLayer(AcDbEntity* entity, const CString& layer);

// SetEntityLayer, then the colour: a PackedRGB through SetEntityColor (0 becomes colour index
// 7), an AcCmColor as it is. Each step runs only after the one before succeeded; the first
// failing status is returned.
Acad::ErrorStatus SetEntityProperties(AcDbEntity* entity, const CString& layer,
                                      const PackedRGB& colour);
Acad::ErrorStatus SetEntityProperties(AcDbEntity* entity, const CString& layer,
                                      const AcCmColor& colour);

// Appends the entity to record, or to "*Model_Space" of the working database when record is
// null (opened and closed here). A given record must be open for write and stays so.
Acad::ErrorStatus AppendToModelSpace(AcDbEntity* entity, AcDbObjectId& id,
                                     AcDbBlockTableRecord* record);
Acad::ErrorStatus AppendToModelSpace(AcDbEntity* entity, AcDbBlockTableRecord* record);

// SetEntityProperties, then AppendToModelSpace. On failure the entity stays outside the
// database and open, in the caller's hands.
Acad::ErrorStatus SetPropertiesAndAppend(AcDbEntity* entity, const CString& layer,
                                         const AcCmColor& colour, AcDbBlockTableRecord* record);
Acad::ErrorStatus SetPropertiesAndAppend(AcDbEntity* entity, const CString& layer,
                                         const AcCmColor& colour, AcDbObjectId& id,
                                         AcDbBlockTableRecord* record);
Acad::ErrorStatus SetPropertiesAndAppend(AcDbEntity* entity, const CString& layer,
                                         const PackedRGB& colour, AcDbBlockTableRecord* record);
Acad::ErrorStatus SetPropertiesAndAppend(AcDbEntity* entity, const CString& layer,
                                         const PackedRGB& colour, AcDbObjectId& id,
                                         AcDbBlockTableRecord* record);

// Append a new vertex or face record to an entity open for write; the new object is closed
// whatever the append returned. Face-record numbers count the vertices from 1 and are stored
// in 16 bits; 0 as d makes a triangle. The append's status.
Acad::ErrorStatus AppendPolylineVertex(AcDb3dPolyline* polyline, const AcGePoint3d& point);
Acad::ErrorStatus AppendPolyFaceVertex(AcDbPolyFaceMesh* mesh, const AcGePoint3d& point);
Acad::ErrorStatus AppendFaceRecord(AcDbPolyFaceMesh* mesh, int a, int b, int c, int d);

// Copies the vertices of an M x N polygon mesh grid into the polyface mesh, and one quad for
// each grid cell, the closing cells of a mesh closed in M or N included. Always 1: vertices or
// faces that the host refuses are missing from target. A polyface mesh numbers at most 32767
// vertices; a larger grid gets no faces beyond that.
int PolygonMeshToPolyFaceMesh(const AcDbPolygonMesh* source, AcDbPolyFaceMesh* target);

// The name of a block table record; name is written only on success.
Acad::ErrorStatus GetBlockName(const AcDbObjectId& record, CString& name);
CString GetBlockName(const AcDbObjectId& record);  // empty on failure

// The index of the first element equal to text (exact, case included); -1 when none.
int FindStringIndex(const CStringArray& array, CString text);
