// Symbol tables of a new drawing, adding and finding records by name, record names.
#include <gtest/gtest.h>

#include "DrawingBuilders.h"
#include "TestSupport.h"
#include "arx.h"

using plx::test::HostSession;

namespace {

AcDbDatabase* Db() { return acdbHostApplicationServices()->workingDatabase(); }

std::wstring NameOf(AcDbSymbolTableRecord* record) {
  ACHAR* name = nullptr;
  EXPECT_EQ(record->getName(name), Acad::eOk);
  std::wstring text = name;
  acutDelString(name);
  EXPECT_EQ(name, nullptr);
  return text;
}

}  // namespace

TEST(NewDrawing, HoldsModelAndPaperSpaceLayerZeroAndTheThreeLinetypes) {
  HostSession session;
  AcDbBlockTable* blocks = nullptr;
  ASSERT_EQ(Db()->getSymbolTable(blocks, AcDb::kForRead), Acad::eOk);
  AcDbBlockTableRecord* model = nullptr;
  ASSERT_EQ(blocks->getAt(L"*MODEL_SPACE", model, AcDb::kForRead), Acad::eOk);  // any case
  EXPECT_EQ(NameOf(model), L"*Model_Space");
  EXPECT_EQ(model->objectId(), Db()->modelSpaceId());
  EXPECT_TRUE(model->isLayout());
  model->close();
  EXPECT_TRUE(blocks->has(ACDB_PAPER_SPACE));
  blocks->close();

  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(Db()->getLayerTable(layers, AcDb::kForRead), Acad::eOk);
  AcDbLayerTableRecord* zero = nullptr;
  ASSERT_EQ(layers->getAt(L"0", zero, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(zero->color().colorIndex(), 7);
  EXPECT_TRUE(zero->color().isByACI());
  EXPECT_FALSE(zero->isOff() || zero->isFrozen() || zero->isLocked());
  EXPECT_EQ(zero->linetypeObjectId(), Db()->continuousLinetype());
  zero->close();
  layers->close();

  AcDbLinetypeTable* linetypes = nullptr;
  ASSERT_EQ(Db()->getLinetypeTable(linetypes, AcDb::kForRead), Acad::eOk);
  std::vector<std::wstring> names;
  AcDbLinetypeTableIterator* it = nullptr;
  linetypes->newIterator(it);
  for (; !it->done(); it->step()) {
    AcDbLinetypeTableRecord* record = nullptr;
    ASSERT_EQ(it->getRecord(record, AcDb::kForRead), Acad::eOk);
    names.push_back(NameOf(record));
    record->close();
  }
  delete it;
  linetypes->close();
  EXPECT_EQ(names, (std::vector<std::wstring>{L"ByBlock", L"ByLayer", L"Continuous"}));
}

TEST(LayerTable, AddAndFindByNameOrId) {
  HostSession session;
  AcDbLayerTable* table = nullptr;
  ASSERT_EQ(Db()->getLayerTable(table, AcDb::kForWrite), Acad::eOk);
  auto* record = new AcDbLayerTableRecord;
  ASSERT_EQ(record->setName(L"Walls"), Acad::eOk);
  AcCmColor color;
  color.setRGB(10, 20, 30);
  ASSERT_EQ(record->setColor(color), Acad::eOk);
  AcDbObjectId id;
  ASSERT_EQ(table->add(id, record), Acad::eOk);
  EXPECT_TRUE(record->isWriteEnabled());
  record->close();

  AcDbObjectId found;
  EXPECT_EQ(table->getAt(L"WALLS", found), Acad::eOk);
  EXPECT_EQ(found, id);
  EXPECT_TRUE(table->has(id));
  AcDbLayerTableRecord* opened = nullptr;
  ASSERT_EQ(table->getAt(L"walls", opened, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(opened->color(), color);
  opened->close();
  EXPECT_EQ(table->getAt(L"Roof", found), Acad::eKeyNotFound);

  auto* duplicate = new AcDbLayerTableRecord;
  duplicate->setName(L"walls");
  EXPECT_EQ(table->add(duplicate), Acad::eDuplicateRecordName);
  delete duplicate;
  auto* unnamed = new AcDbLayerTableRecord;
  EXPECT_EQ(table->add(unnamed), Acad::eInvalidSymbolTableName);
  delete unnamed;
  auto* wrong = new AcDbLinetypeTableRecord;
  wrong->setName(L"Dashed");
  EXPECT_EQ(static_cast<AcDbSymbolTable*>(table)->add(wrong), Acad::eWrongObjectType);
  delete wrong;
  table->close();

  ASSERT_EQ(Db()->getLayerTable(table, AcDb::kForRead), Acad::eOk);
  auto* late = new AcDbLayerTableRecord;
  late->setName(L"Late");
  EXPECT_EQ(table->add(late), Acad::eNotOpenForWrite);
  delete late;
  table->close();
}

TEST(LayerTable, NamesFollowTheHostsRules) {
  HostSession session;
  AcDbLayerTableRecord record;
  EXPECT_EQ(record.setName(L""), Acad::eInvalidSymbolTableName);
  EXPECT_EQ(record.setName(L"a<b"), Acad::eInvalidSymbolTableName);
  EXPECT_EQ(record.setName(L"Glass and steel"), Acad::eOk);
  AcCmColor byLayer;
  EXPECT_EQ(record.setColor(byLayer), Acad::eInvalidInput);  // a layer has its own colour
  const ACHAR* name = nullptr;
  record.getName(name);
  EXPECT_STREQ(name, L"Glass and steel");
}

TEST(LayerTable, RenamingARecordMovesItsName) {
  HostSession session;
  const AcDbObjectId id = plx::test::AddLayer(L"Old");
  plx::test::AddLayer(L"Taken");
  AcDbLayerTableRecord* record = nullptr;
  ASSERT_EQ(acdbOpenObject(record, id, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(record->setName(L"TAKEN"), Acad::eDuplicateRecordName);
  EXPECT_EQ(record->setName(L"New"), Acad::eOk);
  record->close();
  AcDbLayerTable* table = nullptr;
  Db()->getLayerTable(table, AcDb::kForRead);
  AcDbObjectId found;
  EXPECT_EQ(table->getAt(L"Old", found), Acad::eKeyNotFound);
  EXPECT_EQ(table->getAt(L"New", found), Acad::eOk);
  EXPECT_EQ(found, id);
  table->close();
}

TEST(Entity, LayerAndLinetypeByNameOrId) {
  HostSession session;
  const AcDbObjectId walls = plx::test::AddLayer(L"Walls", 1);
  AcDbLine line;
  EXPECT_EQ(line.setLayer(L"Missing"), Acad::eKeyNotFound);
  EXPECT_EQ(line.setLayer(L"walls"), Acad::eOk);
  EXPECT_EQ(line.layerId(), walls);
  ACHAR* name = line.layer();
  EXPECT_STREQ(name, L"Walls");
  acutDelString(name);
  EXPECT_EQ(line.setLayer(AcDbObjectId()), Acad::eNullObjectId);
  EXPECT_EQ(line.setLayer(Db()->continuousLinetype()), Acad::eWrongObjectType);
  EXPECT_EQ(line.setLinetype(L"CONTINUOUS"), Acad::eOk);
  EXPECT_EQ(line.linetypeId(), Db()->continuousLinetype());
  name = line.linetype();
  EXPECT_STREQ(name, L"Continuous");
  acutDelString(name);
  EXPECT_EQ(line.setLinetype(L"Dashed"), Acad::eKeyNotFound);
}
