// Entities to openNURBS geometry. EntityToGeometry picks a reader by the entity's own run-time
// class name (exact, case included; a derived class matches nothing) and appends what it makes
// to the caller's list: every appended object is new, on the heap, and the caller's to delete.
// The list is only appended to, never cleared. Entities are passed open (read is enough) and
// stay open. All return 1 on success and 0 on failure, the reason in GetGeometryError() where a
// reader gave one.
#pragma once

#include "arx.h"
#include "opennurbs.h"

// Points, lines, rays, construction lines, circles, arcs, ellipses, lightweight and 3D
// polylines, splines, 3D faces, polyface and polygon meshes, 2D solids, multilines and
// hatches (their lines), 3D solids, bodies and regions (exploded, each piece in turn), block
// references (against definitions, read only) and texts (an empty ON_TextEntity2). Any other
// class: 0, nothing appended, no error text.
int EntityToGeometry(AcDbEntity* entity, ON_SimpleArray<ON_Geometry*>& geometry,
                     const ON_ClassArray<ON_InstanceDefinition>& definitions);

// Explode the entity and convert each piece with EntityToGeometry (without definitions); a
// piece that cannot be converted is passed over. 0 only when the explode fails.
int SolidToGeometry(AcDb3dSolid* solid, ON_SimpleArray<ON_Geometry*>& geometry);
int BodyToGeometry(AcDbBody* body, ON_SimpleArray<ON_Geometry*>& geometry);
int RegionToGeometry(AcDbRegion* region, ON_SimpleArray<ON_Geometry*>& geometry);

// The line pieces of the exploded entity appended as line curves, in piece order; pieces of
// other kinds (round caps, arc edges) are passed over. 0 when the explode fails: the multiline
// then sets "Unable to explode MLINE object", the hatch no text.
int MlineToLineCurves(AcDbMline* mline, ON_ClassArray<ON_LineCurve>& lines);
int HatchToLineCurves(AcDbHatch* hatch, ON_ClassArray<ON_LineCurve>& lines);

// Sets the reference's transform to the block transform, then the uuid of the first
// definition whose name equals the block's name exactly. 0 when the block name cannot be read
// (the reference untouched) or no definition matches (the uuid untouched).
int BlockReferenceToInstanceRef(AcDbBlockReference* reference, ON_InstanceRef& instance,
                                const ON_ClassArray<ON_InstanceDefinition>& definitions);

// The 2D solid's corners as a surface: the triangle c0, c1, c2 when c2 equals c3 (within the
// host's tolerance), else the patch c0, c1, c3, c2. The geometry module's result: 0 on failure.
int Solid2dToNurbsSurface(AcDbSolid* solid, ON_NurbsSurface& surface);
