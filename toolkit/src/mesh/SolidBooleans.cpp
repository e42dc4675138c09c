// Drawing objects to 3D solids, and lists of them united, intersected and subtracted into one.
// Solids and bodies hand a clone's body to the target (the host's setBody copies it, so the
// clone is released at once); meshes go through the SAT transfer of MeshToSolid. A failure
// deep inside keeps its own text: the outer operations add none.
#include "mesh/MeshModule.h"
#include "toolkit/ErrorStatusText.h"
#include "toolkit/LastError.h"
#include "toolkit/MeshReaders.h"
#include "toolkit/SolidConversion.h"

namespace {

// The target takes a copy of the entity's body, through a clone as the host expects.
void TakeBodyOfClone(const AcDbModelerEntity* entity, AcDb3dSolid* target) {
  AcDbModelerEntity* clone = static_cast<AcDbModelerEntity*>(entity->clone());
  target->setBody(clone->body());
  delete clone;
}

// Combines the objects into the target, one temporary solid per further object.
int CombineObjects(const AcDbObjectIdArray& ids, AcDb3dSolid* target, AcDb::BoolOperType operation) {
  if (!ObjectToSolid(ids[0], target)) return 0;
  for (int i = 1; i < ids.length(); ++i) {
    AcDb3dSolid* other = new AcDb3dSolid;
    if (!ObjectToSolid(ids[i], other)) {
      other->close();
      return 0;
    }
    const Acad::ErrorStatus status = target->booleanOper(operation, other);
    other->close();
    if (status != Acad::eOk) {
      MeshLastError.Set(ErrorStatusText(status));
      return 0;
    }
    if (operation == AcDb::kBoolIntersect && target->isNull()) {
      MeshLastError.Set(L"Objects do not have a common intersection");
      return 0;
    }
  }
  return 1;
}

}  // namespace

int BodyToSolid(AcDbBody* body, AcDb3dSolid* target) {
  TakeBodyOfClone(body, target);
  return target->isNull() ? 0 : 1;
}

int ObjectToSolid(const AcDbObjectId& id, AcDb3dSolid* target) {
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead, false) != Acad::eOk) {
    MeshLastError.Set(L"Unable to read object");
    return 0;
  }
  // Exact names: classes derived from these are not converted.
  const std::wstring name = entity->isA()->name();
  int result = 1;
  if (name == L"AcDbPolyFaceMesh" || name == L"AcDbPolygonMesh") {
    ON_Mesh mesh;
    if (MeshEntityToMesh(entity, mesh)) {
      result = MeshToSolid(mesh, target);
    } else {
      MeshLastError.Set(GetGeometryError());
      result = 0;
    }
  } else if (name == L"AcDb3dSolid" || name == L"AcDbBody") {
    TakeBodyOfClone(static_cast<AcDbModelerEntity*>(entity), target);
  } else {
    MeshLastError.Set(L"Object is not a mesh or solid");
    result = 0;
  }
  entity->close();
  return result;
}

int ObjectsToSolids(const AcDbObjectIdArray& ids, AcArray<AcDb3dSolid*>& solids) {
  solids.setLogicalLength(0);
  for (int i = 0; i < ids.length(); ++i) {
    AcDb3dSolid* solid = new AcDb3dSolid;
    if (ObjectToSolid(ids[i], solid)) solids.append(static_cast<AcDb3dSolid*>(solid->clone()));
    solid->close();
  }
  if (solids.isEmpty()) {
    MeshLastError.Set(L"Unable to solidify objects");
    return 0;
  }
  return 1;
}

int UniteObjects(const AcDbObjectIdArray& ids, AcDb3dSolid* target) {
  return CombineObjects(ids, target, AcDb::kBoolUnite);
}

int IntersectObjects(const AcDbObjectIdArray& ids, AcDb3dSolid* target) {
  return CombineObjects(ids, target, AcDb::kBoolIntersect);
}

int SubtractObjects(const AcDbObjectIdArray& ids, const AcDbObjectIdArray& toolIds, AcDb3dSolid* target) {
  if (!UniteObjects(ids, target)) return 0;
  AcDb3dSolid* tools = new AcDb3dSolid;
  if (!UniteObjects(toolIds, tools)) {
    tools->close();
    return 0;
  }
  const Acad::ErrorStatus status = target->booleanOper(AcDb::kBoolSubtract, tools);
  tools->close();
  if (status != Acad::eOk) {
    MeshLastError.Set(ErrorStatusText(status));
    return 0;
  }
  return 1;
}
