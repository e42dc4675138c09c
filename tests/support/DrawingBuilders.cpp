#include "DrawingBuilders.h"

#include <gtest/gtest.h>

namespace plx::test {

AcDbObjectId AddToModelSpace(AcDbEntity* entity, const wchar_t* layer) {
  AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
  if (layer) {
    EXPECT_EQ(entity->setLayer(layer), Acad::eOk);
  }
  AcDbBlockTable* table = nullptr;
  EXPECT_EQ(database->getBlockTable(table, AcDb::kForRead), Acad::eOk);
  AcDbBlockTableRecord* space = nullptr;
  EXPECT_EQ(table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite), Acad::eOk);
  table->close();
  AcDbObjectId id;
  EXPECT_EQ(space->appendAcDbEntity(id, entity), Acad::eOk);
  space->close();
  entity->close();
  return id;
}

AcDbObjectId AddLayer(const wchar_t* name, Adesk::UInt16 colorIndex) {
  AcDbLayerTable* table = nullptr;
  EXPECT_EQ(acdbHostApplicationServices()->workingDatabase()->getLayerTable(table, AcDb::kForWrite), Acad::eOk);
  AcDbObjectId id;
  if (table->getAt(name, id) != Acad::eOk) {
    auto* record = new AcDbLayerTableRecord;
    record->setName(name);
    AcCmColor color;
    color.setColorIndex(colorIndex);
    record->setColor(color);
    EXPECT_EQ(table->add(id, record), Acad::eOk);
    record->close();
  }
  table->close();
  return id;
}

std::vector<AcDbObjectId> ModelSpaceIds() {
  std::vector<AcDbObjectId> ids;
  AcDbBlockTableRecord* space = nullptr;
  if (acdbOpenObject(space, acdbHostApplicationServices()->workingDatabase()->modelSpaceId(), AcDb::kForRead) !=
      Acad::eOk)
    return ids;
  AcDbBlockTableRecordIterator* it = nullptr;
  space->newIterator(it);
  for (; !it->done(); it->step()) {
    AcDbObjectId id;
    it->getEntityId(id);
    ids.push_back(id);
  }
  delete it;
  space->close();
  return ids;
}

std::wstring HandleText(const AcDbObjectId& id) {
  ACHAR text[17];
  id.handle().getIntoAsciiBuffer(text);
  return text;
}

std::vector<AcDbObjectId> SetIds(const ads_name set) {
  std::vector<AcDbObjectId> ids;
  Adesk::Int32 length = 0;
  if (acedSSLength(set, &length) != RTNORM) return ids;
  for (Adesk::Int32 i = 0; i < length; ++i) {
    ads_name name;
    AcDbObjectId id;
    if (acedSSName(set, i, name) == RTNORM && acdbGetObjectId(id, name) == Acad::eOk) ids.push_back(id);
  }
  return ids;
}

}  // namespace plx::test
