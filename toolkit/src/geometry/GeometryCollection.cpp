// The geometry collection: a dispatch table by run-time class name, the readers of multiline
// and hatch lines, 2D solids and block references, and the explode of modeller entities, whose
// pieces go back through the table. Pieces of an explode belong to no database: those of a
// multiline or hatch are closed (which releases them), those of a modeller entity deleted.
#include "toolkit/GeometryCollection.h"

#include <cwchar>

#include "TVKGeo.h"
#include "geometry/GeometryModule.h"
#include "toolkit/CurveReaders.h"
#include "toolkit/GeometryConversion.h"
#include "toolkit/Layers.h"
#include "toolkit/MeshReaders.h"

namespace {

// Nesting of modeller explodes; pieces that kept exploding into modeller entities would
// otherwise never end.
constexpr int kMaxExplodeDepth = 32;
thread_local int explodeDepth = 0;

bool IsClass(const AcDbObject* object, const wchar_t* name) {
  return std::wcscmp(object->isA()->name(), name) == 0;
}

// Makes an object, lets the reader fill it and appends it; deletes it when the reader fails.
template <class Object, class Entity, class Reader>
int AppendRead(AcDbEntity* entity, ON_SimpleArray<ON_Geometry*>& geometry, Reader reader) {
  Object* object = new Object;
  if (!reader(static_cast<Entity*>(entity), *object)) {
    delete object;
    return 0;
  }
  geometry.Append(object);
  return 1;
}

// The multiline and hatch rows: all lines or none.
template <class Entity>
int AppendLines(AcDbEntity* entity, ON_SimpleArray<ON_Geometry*>& geometry,
                int (*reader)(Entity*, ON_ClassArray<ON_LineCurve>&)) {
  ON_ClassArray<ON_LineCurve> lines;
  if (!reader(static_cast<Entity*>(entity), lines)) return 0;
  for (int i = 0; i < lines.Count(); ++i) geometry.Append(new ON_LineCurve(lines[i]));
  return 1;
}

// The pieces' lines, by class name: multilines give arcs for round caps, hatches for arc edges.
int ReadLinePieces(const AcDbEntity* entity, ON_ClassArray<ON_LineCurve>& lines,
                   const wchar_t* failure) {
  AcDbVoidPtrArray pieces;
  if (entity->explode(pieces) != Acad::eOk) {
    if (failure) GeometryLastError.Set(failure);
    // Anything handed out before the failure is released, so a failing explode loses nothing.
    for (int i = 0; i < pieces.length(); ++i)
      if (pieces[i]) static_cast<AcDbEntity*>(pieces[i])->close();
    return 0;
  }
  for (int i = 0; i < pieces.length(); ++i) {
    auto* piece = static_cast<AcDbEntity*>(pieces[i]);
    if (!piece) continue;
    if (IsClass(piece, L"AcDbLine")) {
      const auto* line = static_cast<const AcDbLine*>(piece);
      lines.Append(ON_LineCurve(AcGePointToONPoint(line->startPoint()),
                                AcGePointToONPoint(line->endPoint())));
    }
    piece->close();
  }
  return 1;
}

int ExplodeToGeometry(const AcDbEntity* entity, ON_SimpleArray<ON_Geometry*>& geometry) {
  AcDbVoidPtrArray pieces;
  if (entity->explode(pieces) != Acad::eOk) {
    for (int i = 0; i < pieces.length(); ++i) delete static_cast<AcDbEntity*>(pieces[i]);
    return 0;
  }
  // A single piece of the entity's own class would explode the same way again.
  const bool intoItself = pieces.length() == 1 && pieces[0] &&
                          IsClass(static_cast<AcDbEntity*>(pieces[0]), entity->isA()->name());
  const ON_ClassArray<ON_InstanceDefinition> noDefinitions;
  ++explodeDepth;
  for (int i = 0; i < pieces.length(); ++i) {
    auto* piece = static_cast<AcDbEntity*>(pieces[i]);
    if (!piece) continue;
    if (!intoItself && explodeDepth <= kMaxExplodeDepth)
      EntityToGeometry(piece, geometry, noDefinitions);
    delete piece;
  }
  --explodeDepth;
  return 1;
}

}  // namespace

int EntityToGeometry(AcDbEntity* entity, ON_SimpleArray<ON_Geometry*>& geometry,
                     const ON_ClassArray<ON_InstanceDefinition>& definitions) {
  const wchar_t* name = entity->isA()->name();
  auto is = [name](const wchar_t* candidate) { return std::wcscmp(name, candidate) == 0; };
  if (is(L"AcDbPoint")) return AppendRead<ON_Point, AcDbPoint>(entity, geometry, PointToONPoint);
  if (is(L"AcDbLine")) return AppendRead<ON_LineCurve, AcDbLine>(entity, geometry, LineToLineCurve);
  if (is(L"AcDbRay")) return AppendRead<ON_LineCurve, AcDbRay>(entity, geometry, RayToLineCurve);
  if (is(L"AcDbXline"))
    return AppendRead<ON_LineCurve, AcDbXline>(entity, geometry, XlineToLineCurve);
  if (is(L"AcDbMline")) return AppendLines<AcDbMline>(entity, geometry, MlineToLineCurves);
  if (is(L"AcDbCircle"))
    return AppendRead<ON_ArcCurve, AcDbCircle>(entity, geometry, CircleToArcCurve);
  if (is(L"AcDbArc")) return AppendRead<ON_ArcCurve, AcDbArc>(entity, geometry, ArcToArcCurve);
  if (is(L"AcDbEllipse"))
    return AppendRead<ON_NurbsCurve, AcDbEllipse>(entity, geometry, EllipseToNurbsCurve);
  if (is(L"AcDbPolyline"))
    return AppendRead<ON_PolylineCurve, AcDbPolyline>(entity, geometry, PolylineToPolylineCurve);
  if (is(L"AcDb3dPolyline"))
    return AppendRead<ON_PolylineCurve, AcDb3dPolyline>(entity, geometry,
                                                        Polyline3dToPolylineCurve);
  if (is(L"AcDbSpline"))
    return AppendRead<ON_NurbsCurve, AcDbSpline>(entity, geometry, SplineToNurbsCurve);
  if (is(L"AcDbFace")) return AppendRead<ON_Mesh, AcDbFace>(entity, geometry, FaceToMesh);
  if (is(L"AcDbPolyFaceMesh"))
    return AppendRead<ON_Mesh, AcDbPolyFaceMesh>(entity, geometry, PolyFaceMeshToMesh);
  if (is(L"AcDbPolygonMesh"))
    return AppendRead<ON_Mesh, AcDbPolygonMesh>(entity, geometry, PolygonMeshToMesh);
  if (is(L"AcDbSolid"))
    return AppendRead<ON_NurbsSurface, AcDbSolid>(entity, geometry, Solid2dToNurbsSurface);
  if (is(L"AcDbHatch")) return AppendLines<AcDbHatch>(entity, geometry, HatchToLineCurves);
  if (is(L"AcDb3dSolid")) return SolidToGeometry(static_cast<AcDb3dSolid*>(entity), geometry);
  if (is(L"AcDbBody")) return BodyToGeometry(static_cast<AcDbBody*>(entity), geometry);
  if (is(L"AcDbRegion")) return RegionToGeometry(static_cast<AcDbRegion*>(entity), geometry);
  if (is(L"AcDbBlockReference")) {
    return AppendRead<ON_InstanceRef, AcDbBlockReference>(
        entity, geometry, [&definitions](AcDbBlockReference* reference, ON_InstanceRef& instance) {
          return BlockReferenceToInstanceRef(reference, instance, definitions);
        });
  }
  if (is(L"AcDbText")) {
    geometry.Append(new ON_TextEntity2);
    return 1;
  }
  return 0;
}

int SolidToGeometry(AcDb3dSolid* solid, ON_SimpleArray<ON_Geometry*>& geometry) {
  return ExplodeToGeometry(solid, geometry);
}

int BodyToGeometry(AcDbBody* body, ON_SimpleArray<ON_Geometry*>& geometry) {
  return ExplodeToGeometry(body, geometry);
}

int RegionToGeometry(AcDbRegion* region, ON_SimpleArray<ON_Geometry*>& geometry) {
  return ExplodeToGeometry(region, geometry);
}

int MlineToLineCurves(AcDbMline* mline, ON_ClassArray<ON_LineCurve>& lines) {
  return ReadLinePieces(mline, lines, L"Unable to explode MLINE object");
}

int HatchToLineCurves(AcDbHatch* hatch, ON_ClassArray<ON_LineCurve>& lines) {
  return ReadLinePieces(hatch, lines, nullptr);
}

int BlockReferenceToInstanceRef(AcDbBlockReference* reference, ON_InstanceRef& instance,
                                const ON_ClassArray<ON_InstanceDefinition>& definitions) {
  CString blockName;
  if (GetBlockName(reference->blockTableRecord(), blockName) != Acad::eOk) return 0;
  instance.m_xform = AcGeMatrixToXform(reference->blockTransform());
  for (int i = 0; i < definitions.Count(); ++i) {
    if (blockName.Compare(definitions[i].Name()) == 0) {
      instance.m_instance_definition_uuid = definitions[i].Uuid();
      return 1;
    }
  }
  return 0;
}

int Solid2dToNurbsSurface(AcDbSolid* solid, ON_NurbsSurface& surface) {
  AcGePoint3d c[4];
  for (Adesk::UInt16 i = 0; i < 4; ++i) solid->getPointAt(i, c[i]);
  // A 2D solid's corners run in a Z: the third and fourth change places for the patch.
  if (c[2].isEqualTo(c[3], AcGeContext::gTol))
    return TVKNurbsSurface::CreateTriangle(surface, AcGePointToONPoint(c[0]),
                                           AcGePointToONPoint(c[1]), AcGePointToONPoint(c[2]));
  return TVKNurbsSurface::CreateQuad(surface, AcGePointToONPoint(c[0]), AcGePointToONPoint(c[1]),
                                     AcGePointToONPoint(c[3]), AcGePointToONPoint(c[2]));
}
