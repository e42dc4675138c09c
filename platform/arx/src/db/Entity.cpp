// AcDbEntity: layer, linetype and colour (looked up in the entity's database, else the working
// one), highlights, the geometry hooks' defaults and the common part of LIST.
#include "Access.h"
#include "aced.h"
#include <cwctype>

#include "win32/text.h"
#include "win32/transcript.h"

using plx::db::ObjectAccess;

ACRX_DEFINE_MEMBERS(AcDbEntity, AcDbObject)
ACRX_DEFINE_MEMBERS(AcDbObjectIterator, AcRxObject)

namespace {

AcDbDatabase* DatabaseOf(const AcDbEntity& entity) {
  return entity.database() ? entity.database() : plx::db::WorkingDatabase();
}

AcDbObjectId FindRecord(AcDbDatabase* database, const AcDbObjectId& tableId, const ACHAR* name) {
  if (!database || !name) return AcDbObjectId();
  const auto* table = plx::db::ObjectAs<AcDbSymbolTable>(tableId);
  if (!table) return AcDbObjectId();
  const auto& byName = table->Data().byName;
  const auto it = byName.find(plx::db::UpperName(name));
  if (it == byName.end() || it->second.isErased()) return AcDbObjectId();
  return it->second;
}

ACHAR* RecordName(const AcDbObjectId& id) {
  const auto* record = plx::db::ObjectAs<AcDbSymbolTableRecord>(id);
  return acutNewString(record ? record->Name().c_str() : L"");
}

}  // namespace

AcDbEntity::AcDbEntity(const AcDbEntity& other)
    : AcDbObject(other), layer_(other.layer_), linetype_(other.linetype_), color_(other.color_),
      colorSet_(other.colorSet_) {}

AcDbObjectId AcDbEntity::blockId() const {
  // A vertex belongs to the block of its polyline or mesh.
  AcDbObjectId owner = ownerId();
  for (int depth = 0; depth < 2 && !owner.isNull(); ++depth) {
    AcDbObject* object = plx::db::ObjectAt(owner);
    if (!object) break;
    if (AcDbBlockTableRecord::cast(object)) return owner;
    owner = object->ownerId();
  }
  return AcDbObjectId();
}

Acad::ErrorStatus AcDbEntity::setColor(const AcCmColor& color, Adesk::Boolean) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  color_ = color;
  colorSet_ = true;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setColorIndex(Adesk::UInt16 index, Adesk::Boolean) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  AcCmColor color;
  const Acad::ErrorStatus es = color.setColorIndex(index);
  if (es != Acad::eOk) return es;
  color_ = color;
  colorSet_ = true;
  return Acad::eOk;
}

ACHAR* AcDbEntity::layer() const { return RecordName(layer_); }

Acad::ErrorStatus AcDbEntity::setLayer(const ACHAR* name, Adesk::Boolean doSubents, bool allowHiddenLayer) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  AcDbDatabase* database = DatabaseOf(*this);
  const AcDbObjectId id = FindRecord(database, database ? database->layerTableId() : AcDbObjectId(), name);
  if (id.isNull()) return Acad::eKeyNotFound;
  return setLayer(id, doSubents, allowHiddenLayer);
}

Acad::ErrorStatus AcDbEntity::setLayer(AcDbObjectId layer, Adesk::Boolean, bool) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (layer.isNull()) return Acad::eNullObjectId;
  if (!plx::db::ObjectAs<AcDbLayerTableRecord>(layer)) return Acad::eWrongObjectType;
  if (database() && layer.database() != database()) return Acad::eWrongDatabase;
  layer_ = layer;
  return Acad::eOk;
}

ACHAR* AcDbEntity::linetype() const { return RecordName(linetype_); }

Acad::ErrorStatus AcDbEntity::setLinetype(const ACHAR* name, Adesk::Boolean doSubents) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  AcDbDatabase* database = DatabaseOf(*this);
  const AcDbObjectId id = FindRecord(database, database ? database->linetypeTableId() : AcDbObjectId(), name);
  if (id.isNull()) return Acad::eKeyNotFound;
  return setLinetype(id, doSubents);
}

Acad::ErrorStatus AcDbEntity::setLinetype(AcDbObjectId linetype, Adesk::Boolean) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (linetype.isNull()) return Acad::eNullObjectId;
  if (!plx::db::ObjectAs<AcDbLinetypeTableRecord>(linetype)) return Acad::eWrongObjectType;
  if (database() && linetype.database() != database()) return Acad::eWrongDatabase;
  linetype_ = linetype;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setPropertiesFrom(const AcDbEntity* from, Adesk::Boolean) {
  if (!from) return Acad::eNullEntityPointer;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  layer_ = from->layer_;
  linetype_ = from->linetype_;
  color_ = from->color_;
  colorSet_ = true;
  return Acad::eOk;
}

void AcDbEntity::setDatabaseDefaults() { setDatabaseDefaults(DatabaseOf(*this)); }

void AcDbEntity::setDatabaseDefaults(AcDbDatabase* database) {
  if (!database || !isWriteEnabled()) return;
  const auto& impl = database->GetImpl();
  layer_ = impl.clayer;
  linetype_ = impl.celtype;
  color_ = impl.cecolor;
  colorSet_ = true;
}

Acad::ErrorStatus AcDbEntity::highlight(const AcDbFullSubentPath&, const Adesk::Boolean) const {
  if (!isReadEnabled()) return Acad::eNotOpenForRead;
  ++highlights_;
  highlighted_ = true;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::unhighlight(const AcDbFullSubentPath&, const Adesk::Boolean) const {
  if (!isReadEnabled()) return Acad::eNotOpenForRead;
  highlighted_ = false;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::getGeomExtents(AcDbExtents&) const { return Acad::eInvalidExtents; }

Acad::ErrorStatus AcDbEntity::transformBy(const AcGeMatrix3d&) { return Acad::eNotApplicable; }

Acad::ErrorStatus AcDbEntity::getTransformedCopy(const AcGeMatrix3d& matrix, AcDbEntity*& copy) const {
  auto* cloned = AcDbEntity::cast(clone());
  if (!cloned) return Acad::eNotApplicable;
  const Acad::ErrorStatus es = cloned->transformBy(matrix);
  if (es != Acad::eOk) {
    delete cloned;
    return es;
  }
  copy = cloned;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::explode(AcDbVoidPtrArray&) const { return Acad::eNotApplicable; }

namespace {

std::wstring ColorText(const AcCmColor& color) {
  static const wchar_t* kNames[8] = {L"", L"red", L"yellow", L"green", L"cyan", L"blue", L"magenta", L"white"};
  if (color.isByLayer()) return L"BYLAYER";
  if (color.isByBlock()) return L"BYBLOCK";
  if (color.isNone()) return L"NONE";
  if (color.isByColor()) return plx::FormatWide(L"%d,%d,%d", color.red(), color.green(), color.blue());
  const int index = color.colorIndex();
  if (index >= 1 && index <= 7) return plx::FormatWide(L"%d (%ls)", index, kNames[index]);
  return std::to_wstring(index);
}

std::wstring SpaceText(const AcDbEntity& entity) {
  const AcDbDatabase* database = entity.database();
  const AcDbObjectId block = entity.blockId();
  if (!database || block.isNull()) return L"none";
  if (block == database->modelSpaceId()) return L"Model space";
  if (block == database->paperSpaceId()) return L"Paper space";
  const auto* record = plx::db::ObjectAs<AcDbSymbolTableRecord>(block);
  return L"Block " + (record ? record->Name() : std::wstring());
}

}  // namespace

// The host's LIST layout: the type name in a column of its own, then the properties.
void AcDbEntity::list() const {
  ACHAR* layerName = layer();
  ACHAR* linetypeName = linetype();
  const wchar_t* type = isA()->dxfName() ? isA()->dxfName() : isA()->name();
  ACHAR handle[17] = L"";
  objectId().handle().getIntoAsciiBuffer(handle);
  for (ACHAR* c = handle; *c; ++c) *c = static_cast<ACHAR>(std::towlower(static_cast<wint_t>(*c)));
  plx::WriteTranscript(plx::FormatWide(L"                  %-10ls Layer: \"%ls\"\n", type, layerName));
  plx::WriteTranscript(plx::FormatWide(L"                            Space: %ls\n", SpaceText(*this).c_str()));
  plx::WriteTranscript(plx::FormatWide(L"                   Color: %ls    Linetype: \"%ls\"\n",
                                       ColorText(color_).c_str(), plx::db::UpperName(linetypeName).c_str()));
  plx::WriteTranscript(plx::FormatWide(L"                   Handle = %ls\n", handle));
  plx::WriteTranscript(plx::FormatWide(L"                   Class = %ls\n", isA()->name()));
  ListGeometry();
  acutDelString(layerName);
  acutDelString(linetypeName);
}

namespace plx::db {

std::wstring ListPoint(const AcGePoint3d& p) {
  return plx::FormatWide(L"X=%10.4f  Y=%10.4f  Z=%10.4f", p.x, p.y, p.z);
}

}  // namespace plx::db
