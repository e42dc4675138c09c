// Builders of small drawings in the working database, written with the host's own calls so
// that the operations under test do not build their own fixtures.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "arx.h"

namespace plx::test {

inline AcDbDatabase* Working() { return acdbHostApplicationServices()->workingDatabase(); }

// Appends a new entity to model space of database (the working one by default) and closes it.
inline AcDbObjectId AddEntity(AcDbEntity* entity, AcDbDatabase* database = nullptr) {
  if (!database) database = Working();
  AcDbBlockTableRecord* space = nullptr;
  EXPECT_EQ(acdbOpenObject(space, database->modelSpaceId(), AcDb::kForWrite), Acad::eOk);
  AcDbObjectId id;
  EXPECT_EQ(space->appendAcDbEntity(id, entity), Acad::eOk);
  entity->close();
  space->close();
  return id;
}

inline AcDbObjectId AddLine(double x = 0) {
  return AddEntity(new AcDbLine(AcGePoint3d(x, 0, 0), AcGePoint3d(x + 1, 1, 0)));
}

inline AcDbObjectId AddFace(double x = 0) {
  return AddEntity(new AcDbFace(AcGePoint3d(x, 0, 0), AcGePoint3d(x + 1, 0, 0),
                                AcGePoint3d(x + 1, 1, 0), AcGePoint3d(x, 1, 0)));
}

inline AcDbObjectId AddPoint(double x, double y, double z) {
  return AddEntity(new AcDbPoint(AcGePoint3d(x, y, z)));
}

// A layer of database with a colour index.
inline AcDbObjectId AddLayer(const wchar_t* name, Adesk::UInt16 colorIndex,
                             AcDbDatabase* database = nullptr) {
  if (!database) database = Working();
  AcDbLayerTable* table = nullptr;
  EXPECT_EQ(database->getSymbolTable(table, AcDb::kForWrite), Acad::eOk);
  auto* record = new AcDbLayerTableRecord;
  EXPECT_EQ(record->setName(name), Acad::eOk);
  AcCmColor colour;
  colour.setColorIndex(colorIndex);
  EXPECT_EQ(record->setColor(colour), Acad::eOk);
  AcDbObjectId id;
  EXPECT_EQ(table->add(id, record), Acad::eOk);
  record->close();
  table->close();
  return id;
}

inline bool HasLayer(const wchar_t* name) {
  AcDbLayerTable* table = nullptr;
  if (Working()->getSymbolTable(table, AcDb::kForRead) != Acad::eOk) return false;
  const bool has = table->has(name);
  table->close();
  return has;
}

// The entity's handle as the user types it at a selection prompt.
inline std::wstring HandleOf(const AcDbObjectId& id) {
  ACHAR text[17] = {};
  id.handle().getIntoAsciiBuffer(text, 17);
  return text;
}

// Sets the colour of the entity of an id.
inline void Recolour(const AcDbObjectId& id, const AcCmColor& colour) {
  AcDbEntity* entity = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(entity->setColor(colour), Acad::eOk);
  entity->close();
}

inline void MoveToLayer(const AcDbObjectId& id, const wchar_t* layer) {
  AcDbEntity* entity = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(entity->setLayer(layer), Acad::eOk);
  entity->close();
}

inline AcCmColor IndexColour(Adesk::UInt16 index) {
  AcCmColor colour;
  colour.setColorIndex(index);
  return colour;
}

}  // namespace plx::test
