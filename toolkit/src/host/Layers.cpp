// Layers of the working database, an entity's layer and colour, and appending entities to
// model space or a block table record.
#include "toolkit/Layers.h"

#include "dbmain.h"
#include "dbsymtb.h"

namespace {

AcDbDatabase* WorkingDatabase() { return acdbHostApplicationServices()->workingDatabase(); }

// Looks a layer of the working database up, the table opened for write as the creation that
// may follow needs it. The status of a failing open; otherwise found tells.
Acad::ErrorStatus LookUpLayer(const CString& name, AcDbObjectId& id, bool& found) {
  AcDbLayerTable* table = nullptr;
  const Acad::ErrorStatus es = WorkingDatabase()->getSymbolTable(table, AcDb::kForWrite);
  if (es != Acad::eOk) return es;
  // Any failing lookup counts as missing, not only an unknown name.
  found = table->getAt(name, id, false) == Acad::eOk;
  table->close();
  return Acad::eOk;
}

// Adds a named record to the layer table; the record is closed, or deleted when it was refused.
Acad::ErrorStatus AddLayer(AcDbLayerTableRecord* record, AcDbObjectId& id) {
  AcDbLayerTable* table = nullptr;
  Acad::ErrorStatus es = WorkingDatabase()->getSymbolTable(table, AcDb::kForWrite);
  if (es != Acad::eOk) {
    delete record;
    return es;
  }
  es = table->add(id, record);
  // Closing a record that stayed outside the database deletes it.
  record->close();
  table->close();
  return es;
}

template <class Colour>
Acad::ErrorStatus ApplyColour(AcDbEntity* entity, const Colour& colour);

template <>
Acad::ErrorStatus ApplyColour(AcDbEntity* entity, const PackedRGB& colour) {
  return SetEntityColor(entity, colour);
}

template <>
Acad::ErrorStatus ApplyColour(AcDbEntity* entity, const AcCmColor& colour) {
  return entity->setColor(colour, true);
}

template <class Colour>
Acad::ErrorStatus SetProperties(AcDbEntity* entity, const CString& layer, const Colour& colour) {
  const Acad::ErrorStatus es = SetEntityLayer(entity, layer);
  if (es != Acad::eOk) return es;
  return ApplyColour(entity, colour);
}

template <class Colour>
Acad::ErrorStatus SetAndAppend(AcDbEntity* entity, const CString& layer, const Colour& colour,
                               AcDbObjectId& id, AcDbBlockTableRecord* record) {
  const Acad::ErrorStatus es = SetProperties(entity, layer, colour);
  if (es != Acad::eOk) return es;
  return AppendToModelSpace(entity, id, record);
}

}  // namespace

Acad::ErrorStatus GetOrCreateLayer(const CString& name, int create, AcDbObjectId& id) {
  bool found = false;
  const Acad::ErrorStatus es = LookUpLayer(name, id, found);
  if (es != Acad::eOk) return es;
  if (found) return Acad::eOk;
  if (!create) return Acad::eNullObjectId;
  // A name the host refuses is refused again by add, whose status is the answer.
  AcDbLayerTableRecord* record = new AcDbLayerTableRecord;
  record->setName(name);
  return AddLayer(record, id);
}

AcDbObjectId GetOrCreateLayer(const CString& name, int create) {
  AcDbObjectId id;
  if (GetOrCreateLayer(name, create, id) != Acad::eOk) return AcDbObjectId::kNull;
  return id;
}

Acad::ErrorStatus CreateLayer(const CString& name, AcDbObjectId& id, PackedRGB colour, int frozen,
                              int locked, int off) {
  bool found = false;
  const Acad::ErrorStatus es = LookUpLayer(name, id, found);
  if (es != Acad::eOk || found) return es;
  AcCmColor trueColour;
  trueColour.setRGB(static_cast<Adesk::UInt8>(colour & 0xFF),
                    static_cast<Adesk::UInt8>(colour >> 8 & 0xFF),
                    static_cast<Adesk::UInt8>(colour >> 16 & 0xFF));
  AcDbLayerTableRecord* record = new AcDbLayerTableRecord;
  record->setName(name);
  record->setColor(trueColour);
  record->setIsFrozen(frozen != 0);
  record->setIsLocked(locked != 0);
  record->setIsOff(off != 0);
  return AddLayer(record, id);
}

Acad::ErrorStatus CreateLayer(const CString& name, PackedRGB colour, int frozen, int locked,
                              int off) {
  AcDbObjectId id;
  return CreateLayer(name, id, colour, frozen, locked, off);
}

Acad::ErrorStatus SetEntityLayer(AcDbEntity* entity, const CString& layer) {
  if (layer.IsEmpty()) return Acad::eOk;
  AcDbObjectId id;
  const Acad::ErrorStatus es = GetOrCreateLayer(layer, 1, id);
  if (es != Acad::eOk) return es;
  return entity->setLayer(id, true, false);
}

Acad::ErrorStatus SetEntityProperties(AcDbEntity* entity, const CString& layer,
                                      const PackedRGB& colour) {
  return SetProperties(entity, layer, colour);
}

Acad::ErrorStatus SetEntityProperties(AcDbEntity* entity, const CString& layer,
                                      const AcCmColor& colour) {
  return SetProperties(entity, layer, colour);
}

Acad::ErrorStatus AppendToModelSpace(AcDbEntity* entity, AcDbObjectId& id,
                                     AcDbBlockTableRecord* record) {
  if (record) return record->appendAcDbEntity(id, entity);
  AcDbBlockTable* table = nullptr;
  Acad::ErrorStatus es = WorkingDatabase()->getSymbolTable(table, AcDb::kForRead);
  if (es != Acad::eOk) return es;
  AcDbBlockTableRecord* modelSpace = nullptr;
  es = table->getAt(ACDB_MODEL_SPACE, modelSpace, AcDb::kForWrite, false);
  table->close();
  if (es != Acad::eOk) return es;
  es = modelSpace->appendAcDbEntity(id, entity);
  modelSpace->close();
  return es;
}

Acad::ErrorStatus AppendToModelSpace(AcDbEntity* entity, AcDbBlockTableRecord* record) {
  AcDbObjectId id;
  return AppendToModelSpace(entity, id, record);
}

Acad::ErrorStatus SetPropertiesAndAppend(AcDbEntity* entity, const CString& layer,
                                         const AcCmColor& colour, AcDbBlockTableRecord* record) {
  AcDbObjectId id;
  return SetAndAppend(entity, layer, colour, id, record);
}

Acad::ErrorStatus SetPropertiesAndAppend(AcDbEntity* entity, const CString& layer,
                                         const AcCmColor& colour, AcDbObjectId& id,
                                         AcDbBlockTableRecord* record) {
  return SetAndAppend(entity, layer, colour, id, record);
}

Acad::ErrorStatus SetPropertiesAndAppend(AcDbEntity* entity, const CString& layer,
                                         const PackedRGB& colour, AcDbBlockTableRecord* record) {
  AcDbObjectId id;
  return SetAndAppend(entity, layer, colour, id, record);
}

Acad::ErrorStatus SetPropertiesAndAppend(AcDbEntity* entity, const CString& layer,
                                         const PackedRGB& colour, AcDbObjectId& id,
                                         AcDbBlockTableRecord* record) {
  return SetAndAppend(entity, layer, colour, id, record);
}

Acad::ErrorStatus GetBlockName(const AcDbObjectId& record, CString& name) {
  AcDbObject* object = nullptr;
  Acad::ErrorStatus es =
      acdbOpenAcDbObject(object, record, AcDb::kForRead, false, AcDbBlockTableRecord::desc());
  if (es != Acad::eOk) return es;
  ACHAR* text = nullptr;
  es = static_cast<AcDbBlockTableRecord*>(object)->getName(text);
  if (es == Acad::eOk) {
    name = text;
    acutDelString(text);
  }
  object->close();
  return es;
}

CString GetBlockName(const AcDbObjectId& record) {
  CString name;
  GetBlockName(record, name);
  return name;
}

int FindStringIndex(const CStringArray& array, CString text) {
  for (INT_PTR i = 0; i < array.GetSize(); ++i)
    if (array[i].Compare(text) == 0) return static_cast<int>(i);
  return -1;
}
