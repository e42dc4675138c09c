// The module highlights whole entities only, and never removes a highlight.
#include "dbmain.h"
#include "host/HostModule.h"
#include "toolkit/SysVars.h"

const AcDbFullSubentPath kWholeEntity(AcDbObjectId::kNull, AcDbSubentId());

void HighlightEntity(const AcDbObjectId& id) {
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead, false) != Acad::eOk) return;
  entity->highlight(kWholeEntity, false);
  entity->close();
}
