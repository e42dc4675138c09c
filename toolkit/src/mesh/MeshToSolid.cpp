// Meshes to modeller entities through a temporary SAT file: the data-exchange module writes
// the mesh as a faceted body, the host reads the file back into new entities, and the file is
// deleted before the host's verdict is looked at, so that no transfer leaves one behind.
#include <cstdlib>

#include "QMLib.h"
#include "mesh/MeshModule.h"
#include "toolkit/ErrorStatusText.h"
#include "toolkit/LastError.h"
#include "toolkit/MeshReaders.h"
#include "toolkit/SolidConversion.h"
#include "win32.h"

namespace {

// Entities that acisIn made and nobody took over: they are in no database.
void ReleaseEntities(AcDbVoidPtrArray& entities, int from) {
  for (int i = from; i < entities.length(); ++i) delete static_cast<AcDbEntity*>(entities[i]);
  entities.setLogicalLength(from);
}

// A fresh name in the "temp" folder (the runtime's own folder when that is not set).
bool TemporarySatName(CString& name) {
  wchar_t* reserved = _wtempnam(_wgetenv(L"temp"), L"TVK");
  if (!reserved) return false;
  name = reserved;
  std::free(reserved);
  return true;
}

// write(path) writes the SAT file; returns 1 with the new entities appended, or 0.
template <typename Write>
int TransferThroughSat(AcDbVoidPtrArray& entities, Write write) {
  CString name;
  if (!TemporarySatName(name)) {
    MeshLastError.Set(L"Unable to name a temporary file");
    return 0;
  }
  if (!write(name)) {
    MeshLastError.Set(QMACISMesh::GetError());
    return 0;
  }
  const Acad::ErrorStatus status = AcDbBody::acisIn(name, entities);
  _wunlink(name);
  if (status != Acad::eOk) {
    MeshLastError.Set(ErrorStatusText(status));
    return 0;
  }
  return 1;
}

template <typename Entity>
int ReadEntity(Entity* entity, ON_Mesh& mesh);

template <>
int ReadEntity(AcDbPolyFaceMesh* entity, ON_Mesh& mesh) {
  return PolyFaceMeshToMesh(entity, mesh);
}

template <>
int ReadEntity(AcDbPolygonMesh* entity, ON_Mesh& mesh) {
  return PolygonMeshToMesh(entity, mesh);
}

// Reads a mesh entity, or keeps the reader's text as this module's.
template <typename Entity>
bool ReadMeshEntity(Entity* entity, ON_Mesh& mesh) {
  if (ReadEntity(entity, mesh)) return true;
  MeshLastError.Set(GetGeometryError());
  return false;
}

}  // namespace

int MeshToEntities(const ON_Mesh& mesh, AcDbVoidPtrArray& entities, int option) {
  return TransferThroughSat(entities, [&](const CString& path) { return QMACISMesh::MeshToSAT(mesh, path, option); });
}

int MeshToEntities(const ON_ClassArray<ON_Mesh>& meshes, AcDbVoidPtrArray& entities, int firstOption,
                   int secondOption) {
  return TransferThroughSat(entities, [&](const CString& path) {
    return QMACISMesh::MeshToSAT(meshes, path, firstOption, secondOption);
  });
}

int MeshToEntities(AcDbPolyFaceMesh* entity, AcDbVoidPtrArray& entities) {
  ON_Mesh mesh;
  return ReadMeshEntity(entity, mesh) ? MeshToEntities(mesh, entities, 1) : 0;
}

int MeshToEntities(AcDbPolygonMesh* entity, AcDbVoidPtrArray& entities) {
  ON_Mesh mesh;
  return ReadMeshEntity(entity, mesh) ? MeshToEntities(mesh, entities, 1) : 0;
}

int MeshToSolid(const ON_Mesh& mesh, AcDb3dSolid* target) {
  AcDbVoidPtrArray entities;
  if (!MeshToEntities(mesh, entities, 1)) return 0;
  AcDbEntity* first = entities.isEmpty() ? nullptr : static_cast<AcDbEntity*>(entities[0]);
  const std::wstring name = first ? first->isA()->name() : std::wstring();
  if (name != L"AcDb3dSolid" && name != L"AcDbBody") {
    ReleaseEntities(entities, 0);
    MeshLastError.Set(L"Mesh does not describe a solid object");
    return 0;
  }
  // setBody copies, so every entity of the transfer can go.
  target->setBody(static_cast<AcDbModelerEntity*>(first)->body());
  ReleaseEntities(entities, 0);
  const Acad::ErrorStatus status = target->cleanBody();
  if (status != Acad::eOk) {
    MeshLastError.Set(ErrorStatusText(status));
    return 0;
  }
  return 1;
}

int MeshToSolid(AcDbPolyFaceMesh* entity, AcDb3dSolid* target) {
  ON_Mesh mesh;
  return ReadMeshEntity(entity, mesh) ? MeshToSolid(mesh, target) : 0;
}

int MeshToSolid(AcDbPolygonMesh* entity, AcDb3dSolid* target) {
  ON_Mesh mesh;
  return ReadMeshEntity(entity, mesh) ? MeshToSolid(mesh, target) : 0;
}
