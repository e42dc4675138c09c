// SAT files through the host's modeller: the bodies of a file placed in model space, and
// drawing entities written to one file.
#include "aced.h"
#include "dbsol3d.h"
#include "dbsymtb.h"
#include "host/HostModule.h"
#include "toolkit/ErrorStatusText.h"
#include "toolkit/Exchange.h"

namespace {

// Table and record are opened anew for each entity, so a long file never holds model space.
Acad::ErrorStatus AppendToModelSpace(AcDbEntity* entity) {
  AcDbBlockTable* table = nullptr;
  Acad::ErrorStatus es = acdbHostApplicationServices()->workingDatabase()->getSymbolTable(table, AcDb::kForRead);
  if (es != Acad::eOk) return es;
  AcDbBlockTableRecord* modelSpace = nullptr;
  es = table->getAt(ACDB_MODEL_SPACE, modelSpace, AcDb::kForWrite, false);
  table->close();
  if (es != Acad::eOk) return es;
  AcDbObjectId id;
  es = modelSpace->appendAcDbEntity(id, entity);
  modelSpace->close();
  return es;
}

}  // namespace

int ImportSAT(const CString& path, const AcGeMatrix3d& transform, int zoom) {
  AcDbVoidPtrArray entities;
  const Acad::ErrorStatus status = AcDbBody::acisIn(path, entities);
  if (status != Acad::eOk) {
    HostLastError.Set(ErrorStatusText(status));
    return 0;
  }
  for (int i = 0; i < entities.length(); ++i) {
    auto* entity = static_cast<AcDbEntity*>(entities[i]);
    entity->transformBy(transform);  // an entity that refuses is appended where it is
    if (AppendToModelSpace(entity) == Acad::eOk)
      entity->close();
    else
      delete entity;  // in no database: nobody else would release it
  }
  if (zoom) acedCommand(RTSTR, L"_zoom", RTSTR, L"_extents", RTNONE);
  if (entities.isEmpty()) {
    HostLastError.Set(L"No entites imported");
    return 0;
  }
  return 1;
}

int ExportSAT(const AcDbObjectIdArray& ids, const CString& path) {
  AcDbVoidPtrArray entities;
  for (int i = 0; i < ids.length(); ++i) {
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, ids[i], AcDb::kForRead, false) == Acad::eOk) entities.append(entity);
  }
  const Acad::ErrorStatus status = AcDbBody::acisOut(path, entities);
  for (int i = 0; i < entities.length(); ++i) static_cast<AcDbEntity*>(entities[i])->close();
  if (status != Acad::eOk) {
    HostLastError.Set(ErrorStatusText(status));
    return 0;
  }
  return 1;
}
