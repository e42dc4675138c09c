// Erasing goes through the entity's selection name, as the host's own ERASE does: acdbEntDel
// erases, and applied again to the same entity restores it.
#include "acedads.h"
#include "dbmain.h"
#include "toolkit/SysVars.h"

int EraseEntity(const AcDbObjectId& id) {
  ads_name name = {0, 0};
  if (acdbGetAdsName(name, id) != Acad::eOk) return 0;
  return acdbEntDel(name) == RTNORM ? 1 : 0;
}

int EraseEntities(const AcDbObjectIdArray& ids) {
  for (const AcDbObjectId& id : ids) EraseEntity(id);
  return 1;
}
