// Reading the drawing properties of entities, and the effective colour of an entity. Every
// getter opens the entity for read and closes it before returning, so a caller may hold the
// same entity open for read meanwhile.
#include "toolkit/Properties.h"

#include "acutmem.h"
#include "dbmain.h"
#include "dbsymtb.h"

namespace {

// A string that the host handed out, copied and released.
CString TakeHostString(ACHAR* text) {
  CString copy(text ? text : L"");
  acutDelString(text);
  return copy;
}

// Opens the entity of id for read, lets read() take what it needs, and closes it again.
// False when the entity does not open; the status of the close is not looked at.
template <class Read>
bool ReadEntity(const AcDbObjectId& id, Read read) {
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead, false) != Acad::eOk) return false;
  read(*entity);
  entity->close();
  return true;
}

// The name of a block table record that the caller's id names.
Acad::ErrorStatus ReadRecordName(const AcDbObjectId& recordId, CString& name) {
  AcDbObject* object = nullptr;
  Acad::ErrorStatus es =
      acdbOpenAcDbObject(object, recordId, AcDb::kForRead, false, AcDbBlockTableRecord::desc());
  if (es != Acad::eOk) return es;
  ACHAR* text = nullptr;
  es = static_cast<AcDbBlockTableRecord*>(object)->getName(text);
  if (es == Acad::eOk) name = TakeHostString(text);
  object->close();
  return es;
}

}  // namespace

Acad::ErrorStatus GetEntityRGB(const AcDbObjectId& id, PackedRGB& rgb) {
  rgb = kWhiteRGB;
  AcDbEntity* entity = nullptr;
  Acad::ErrorStatus es = acdbOpenAcDbEntity(entity, id, AcDb::kForRead, false);
  if (es != Acad::eOk) return es;
  const AcCmColor color = entity->color();
  es = entity->close();
  if (es != Acad::eOk) return es;

  if (color.isByLayer()) {
    // By the layer's name in the working database, not through the entity's layer id, and only
    // the layer's colour index counts (a true-colour layer gives its nearest index).
    int index = 0;
    if (GetLayerColorIndex(GetEntityLayer(id), index) == Acad::eOk) rgb = ACIToRGB(index);
  } else if (color.isByBlock()) {
    // The owning block's references are not followed: by block stays white.
  } else if (color.isByColor()) {
    rgb = PackRGB(color.red(), color.green(), color.blue());
  } else if (color.isByACI()) {
    rgb = ACIToRGB(color.colorIndex());
  }
  return Acad::eOk;
}

PackedRGB GetEntityRGB(const AcDbObjectId& id) {
  PackedRGB rgb = kWhiteRGB;
  GetEntityRGB(id, rgb);
  return rgb;
}

Acad::ErrorStatus SetEntityColor(AcDbEntity* entity, const PackedRGB& rgb) {
  if (rgb == 0) return entity->setColorIndex(7, true);
  return entity->setColor(RGBToAcCmColor(rgb), true);
}

Acad::ErrorStatus GetLayerColorIndex(const CString& layer, int& index) {
  AcDbLayerTable* table = nullptr;
  Acad::ErrorStatus es =
      acdbHostApplicationServices()->workingDatabase()->getSymbolTable(table, AcDb::kForRead);
  if (es != Acad::eOk) return es;
  AcDbLayerTableRecord* record = nullptr;
  es = table->getAt(layer, record, AcDb::kForRead, false);
  if (es == Acad::eOk) {
    index = record->color().colorIndex();
    record->close();
  }
  table->close();
  return es;
}

int GetLayerColorIndex(const CString& layer) {
  int index = -1;
  GetLayerColorIndex(layer, index);
  return index;
}

Acad::ErrorStatus GetLayerRGB(const CString& layer, PackedRGB& rgb) {
  int index = 0;
  const Acad::ErrorStatus es = GetLayerColorIndex(layer, index);
  if (es == Acad::eOk) rgb = ACIToRGB(index);
  return es;
}

PackedRGB GetLayerRGB(const CString& layer) {
  PackedRGB rgb = kWhiteRGB;
  GetLayerRGB(layer, rgb);
  return rgb;
}

void GetEntityLayer(const AcDbObjectId& id, CString& layer) {
  ReadEntity(id, [&](const AcDbEntity& entity) { layer = TakeHostString(entity.layer()); });
}

CString GetEntityLayer(const AcDbObjectId& id) {
  CString layer;
  GetEntityLayer(id, layer);
  return layer;
}

void GetEntityLinetype(const AcDbObjectId& id, CString& linetype) {
  ReadEntity(id, [&](const AcDbEntity& entity) { linetype = TakeHostString(entity.linetype()); });
}

CString GetEntityLinetype(const AcDbObjectId& id) {
  CString linetype;
  GetEntityLinetype(id, linetype);
  return linetype;
}

void GetEntityColor(const AcDbObjectId& id, AcCmColor& color) {
  ReadEntity(id, [&](const AcDbEntity& entity) { color = entity.color(); });
}

AcCmColor GetEntityColor(const AcDbObjectId& id) {
  AcCmColor color;
  GetEntityColor(id, color);
  return color;
}

void GetEntityLayerAndColor(const AcDbObjectId& id, CString& layer, AcCmColor& color) {
  ReadEntity(id, [&](const AcDbEntity& entity) {
    layer = TakeHostString(entity.layer());
    color = entity.color();
  });
}

void GetEntityLayerId(const AcDbObjectId& id, AcDbObjectId& layerId) {
  ReadEntity(id, [&](const AcDbEntity& entity) { layerId = entity.layerId(); });
}

AcDbObjectId GetEntityLayerId(const AcDbObjectId& id) {
  AcDbObjectId layerId;
  GetEntityLayerId(id, layerId);
  return layerId;
}

void GetEntityLinetypeId(const AcDbObjectId& id, AcDbObjectId& linetypeId) {
  ReadEntity(id, [&](const AcDbEntity& entity) { linetypeId = entity.linetypeId(); });
}

AcDbObjectId GetEntityLinetypeId(const AcDbObjectId& id) {
  AcDbObjectId linetypeId;
  GetEntityLinetypeId(id, linetypeId);
  return linetypeId;
}

void GetEntityBlockId(const AcDbObjectId& id, AcDbObjectId& blockId) {
  ReadEntity(id, [&](const AcDbEntity& entity) { blockId = entity.blockId(); });
}

AcDbObjectId GetEntityBlockId(const AcDbObjectId& id) {
  AcDbObjectId blockId;
  GetEntityBlockId(id, blockId);
  return blockId;
}

CString GetEntityClassName(const AcDbObjectId& id) {
  CString name;
  ReadEntity(id, [&](const AcDbEntity& entity) { name = entity.isA()->name(); });
  return name;
}

Acad::ErrorStatus GetEntityBlockName(const AcDbObjectId& id, CString& name) {
  AcDbEntity* entity = nullptr;
  Acad::ErrorStatus es = acdbOpenAcDbEntity(entity, id, AcDb::kForRead, false);
  if (es != Acad::eOk) return es;
  const AcDbObjectId blockId = entity->blockId();
  es = entity->close();
  if (es != Acad::eOk) return es;
  return ReadRecordName(blockId, name);
}

CString GetEntityBlockName(const AcDbObjectId& id) {
  CString name;
  GetEntityBlockName(id, name);
  return name;
}
