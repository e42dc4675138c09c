// What a refused or rolled-back import must leave alone in the working drawing: the entities of
// every block table record, the layers and the blocks.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "arx.h"
#include "dbsymtb.h"

namespace plx::test {

struct DrawingSnapshot {
  int entities = 0;
  std::vector<std::wstring> layers, blocks;
  bool operator==(const DrawingSnapshot&) const = default;
};

inline DrawingSnapshot TakeDrawingSnapshot() {
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  DrawingSnapshot s;
  AcDbBlockTable* table = nullptr;
  EXPECT_EQ(db->getBlockTable(table, AcDb::kForRead), Acad::eOk);
  AcDbBlockTableIterator* records = nullptr;
  table->newIterator(records);
  for (; !records->done(); records->step()) {
    AcDbBlockTableRecord* record = nullptr;
    EXPECT_EQ(records->getRecord(record, AcDb::kForRead), Acad::eOk);
    s.blocks.push_back(record->Name());
    AcDbBlockTableRecordIterator* entities = nullptr;
    record->newIterator(entities);
    for (; !entities->done(); entities->step()) ++s.entities;
    delete entities;
    record->close();
  }
  delete records;
  table->close();
  AcDbLayerTable* layers = nullptr;
  EXPECT_EQ(db->getLayerTable(layers, AcDb::kForRead), Acad::eOk);
  AcDbLayerTableIterator* it = nullptr;
  layers->newIterator(it);
  for (; !it->done(); it->step()) {
    AcDbLayerTableRecord* layer = nullptr;
    EXPECT_EQ(it->getRecord(layer, AcDb::kForRead), Acad::eOk);
    s.layers.push_back(layer->Name());
    layer->close();
  }
  delete it;
  layers->close();
  return s;
}

}  // namespace plx::test
