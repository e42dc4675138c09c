// The drawing database: object slots by handle (constant-time ids), the default tables and
// records of a new drawing, the working database and the open functions.
#include <algorithm>
#include <array>
#include <cwctype>
#include <memory>
#include <new>

#include "Access.h"
#include "dbsymtb.h"

namespace plx::db {
namespace {

// The first handle of a drawing's own objects: the handles below belong to the tables, so an
// entity's handle never reads as a short keyword.
constexpr Adesk::UInt32 kFirstObjectHandle = 0x20;

struct Working {
  std::unique_ptr<AcDbDatabase> own;
  AcDbDatabase* current = nullptr;
};

Working& TheWorking() {
  static Working working;
  return working;
}

// Serial 0 is never used, so that the null id names no database. Serials are never reused (an
// old id must not find a newer drawing), so each database keeps one pointer here for good.
Adesk::UInt32 AddDatabase(AcDbDatabase* database) {
  DatabaseList& list = theDatabases;
  if (list.count == 0) list.count = 1;
  if (list.count >= list.capacity) {
    const Adesk::UInt32 capacity = list.capacity ? list.capacity * 2 : 16;
    auto** grown = new AcDbDatabase*[capacity]();
    for (Adesk::UInt32 i = 0; i < list.count; ++i) grown[i] = list.bySerial ? list.bySerial[i] : nullptr;
    delete[] list.bySerial;
    list.bySerial = grown;
    list.capacity = capacity;
  }
  list.bySerial[list.count] = database;
  return list.count++;
}

}  // namespace

AcDbDatabase* WorkingDatabase() {
  Working& w = TheWorking();
  if (w.current) return w.current;
  if (!w.own) w.own = std::make_unique<AcDbDatabase>();
  return w.own.get();
}

std::wstring UpperName(std::wstring_view name) {
  std::wstring out(name);
  for (wchar_t& c : out) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return out;
}

AcDbObjectId ObjectAccess::Add(AcDbDatabase& database, AcDbObject* object, const AcDbObjectId& owner,
                               bool openForWrite) {
  auto& impl = database.GetImpl();
  // The slot first: should memory run out there, the object is still the caller's, untouched.
  impl.slots.ReserveOneMore();
  object->database_ = &database;
  object->slot_ = static_cast<Adesk::UInt32>(impl.slots.size());
  object->owner_ = owner;
  object->heldByOwner_ = false;
  object->writer_ = openForWrite;
  object->readers_ = 0;
  impl.slots.push_back(object);
  ++impl.objects;
  object->AddOwnedObjects();
  return object->objectId();
}

Acad::ErrorStatus ObjectAccess::Open(AcDbObject& object, AcDb::OpenMode mode, bool openErased) {
  constexpr Adesk::UInt16 kMaxReaders = 255;
  if (mode == AcDb::kForNotify) {
    ++object.notifiers_;
    return Acad::eOk;
  }
  if (object.erased_ && !openErased) return Acad::eWasErased;
  if (object.writer_) return Acad::eWasOpenForWrite;
  if (mode == AcDb::kForRead) {
    if (object.readers_ >= kMaxReaders) return Acad::eAtMaxReaders;
    ++object.readers_;
    return Acad::eOk;
  }
  if (object.readers_ > 0) return Acad::eWasOpenForRead;
  object.writer_ = true;
  return Acad::eOk;
}

void ObjectAccess::FillDefaults(AcDbEntity& entity, AcDbDatabase& database) {
  const auto& impl = database.GetImpl();
  if (entity.layer_.isNull()) entity.layer_ = impl.clayer;
  if (entity.linetype_.isNull()) entity.linetype_ = impl.celtype;
  if (!entity.colorSet_) entity.color_ = impl.cecolor;
}

void ObjectAccess::InheritProperties(AcDbEntity& vertex, const AcDbEntity& owner) {
  if (vertex.layer_.isNull()) vertex.layer_ = owner.layer_;
  if (vertex.linetype_.isNull()) vertex.linetype_ = owner.linetype_;
  if (!vertex.colorSet_) vertex.color_ = owner.color_;
}

namespace {

// Erased records keep a name lookup while no live record takes their name: once the records
// that took it are gone, the latest erased one is found by it again.
void RestoreErasedNames(SymbolTableData& data) {
  try {
    for (auto r = data.records.rbegin(); r != data.records.rend(); ++r) {
      const auto* record = AcDbSymbolTableRecord::cast(ObjectAt(*r));
      if (record && record->isErased()) data.byName.emplace(UpperName(record->Name()), *r);
    }
  } catch (const std::bad_alloc&) {
    // Only the lookup of an erased name is lost.
  }
}

}  // namespace

void DiscardObjectsFrom(AcDbDatabase& database, const AcDbHandle& mark) {
  auto& impl = database.GetImpl();
  const size_t first = std::max<size_t>(static_cast<size_t>(mark.value()), kFirstObjectHandle);
  // Tables that lost a name; fixed room, as this also runs after memory ran out.
  std::array<SymbolTableData*, 16> renamed{};
  size_t renamedCount = 0;
  for (size_t slot = impl.slots.size(); slot-- > first;) {
    AcDbObject* object = impl.slots[slot];
    if (!object) continue;
    const AcDbObjectId id = object->objectId();
    // Owners added before the mark list the object last, as it came last; owners added after
    // it go themselves.
    AcDbObject* owner = ObjectAt(object->ownerId());
    if (auto* record = AcDbBlockTableRecord::cast(owner)) {
      PagedArray<AcDbObjectId>& ids = record->Entities().ids;
      if (!ids.empty() && ids.back() == id) ids.pop_back();
    } else if (auto* table = AcDbSymbolTable::cast(owner)) {
      SymbolTableData& data = table->Data();
      if (!data.records.empty() && data.records.back() == id) data.records.pop_back();
      auto it = data.byName.end();
      try {
        if (const auto* named = AcDbSymbolTableRecord::cast(object))
          it = data.byName.find(UpperName(named->Name()));
      } catch (const std::bad_alloc&) {
        // Work that ran out of memory takes its objects back here: look without allocating.
        it = std::find_if(data.byName.begin(), data.byName.end(),
                          [&](const auto& entry) { return entry.second == id; });
      }
      if (it != data.byName.end() && it->second == id) {
        data.byName.erase(it);
        const auto known = renamed.begin() + static_cast<std::ptrdiff_t>(renamedCount);
        if (std::find(renamed.begin(), known, &data) == known && renamedCount < renamed.size())
          renamed[renamedCount++] = &data;
      }
    }
    delete object;
  }
  impl.slots.Truncate(first);
  for (size_t i = 0; i < renamedCount; ++i) RestoreErasedNames(*renamed[i]);
}

}  // namespace plx::db

using plx::db::ObjectAccess;

ACRX_DEFINE_MEMBERS(AcDbDatabase, AcRxObject)

namespace {

template <class Table>
AcDbObjectId AddTable(AcDbDatabase& database) {
  return ObjectAccess::Add(database, new Table, AcDbObjectId(), false);
}

AcDbObjectId AddRecord(AcDbDatabase& database, const AcDbObjectId& tableId, AcDbSymbolTableRecord* record,
                       const wchar_t* name) {
  record->setName(name);
  auto* table = plx::db::ObjectAs<AcDbSymbolTable>(tableId);
  const AcDbObjectId id = ObjectAccess::Add(database, record, tableId, false);
  table->Data().records.push_back(id);
  table->Data().byName[plx::db::UpperName(name)] = id;
  return id;
}

}  // namespace

AcDbDatabase::AcDbDatabase(bool, bool) : impl_(new Impl) {
  impl_->serial = plx::db::AddDatabase(this);
  impl_->slots.push_back(nullptr);
  impl_->blockTable = AddTable<AcDbBlockTable>(*this);
  impl_->layerTable = AddTable<AcDbLayerTable>(*this);
  impl_->linetypeTable = AddTable<AcDbLinetypeTable>(*this);
  impl_->byBlock = AddRecord(*this, impl_->linetypeTable, new AcDbLinetypeTableRecord, L"ByBlock");
  impl_->byLayer = AddRecord(*this, impl_->linetypeTable, new AcDbLinetypeTableRecord, L"ByLayer");
  impl_->continuous = AddRecord(*this, impl_->linetypeTable, new AcDbLinetypeTableRecord, L"Continuous");
  auto* zero = new AcDbLayerTableRecord;
  zero->setLinetypeObjectId(impl_->continuous);
  impl_->layerZero = AddRecord(*this, impl_->layerTable, zero, L"0");
  impl_->modelSpace = AddRecord(*this, impl_->blockTable, new AcDbBlockTableRecord, ACDB_MODEL_SPACE);
  impl_->paperSpace = AddRecord(*this, impl_->blockTable, new AcDbBlockTableRecord, ACDB_PAPER_SPACE);
  impl_->clayer = impl_->layerZero;
  impl_->celtype = impl_->byLayer;
  impl_->slots.resize(plx::db::kFirstObjectHandle, nullptr);
}

AcDbDatabase::~AcDbDatabase() {
  impl_->closing = true;
  // Ids of this database find nothing from here on, also while the objects go.
  plx::db::theDatabases.bySerial[impl_->serial] = nullptr;
  for (AcDbObject* object : impl_->slots) delete object;
  plx::db::ForgetWorking(this);
  delete impl_;
}

Acad::ErrorStatus AcDbDatabase::getSymbolTable(AcDbBlockTable*& table, AcDb::OpenMode mode) {
  return acdbOpenObject(table, impl_->blockTable, mode);
}
Acad::ErrorStatus AcDbDatabase::getSymbolTable(AcDbLayerTable*& table, AcDb::OpenMode mode) {
  return acdbOpenObject(table, impl_->layerTable, mode);
}
Acad::ErrorStatus AcDbDatabase::getSymbolTable(AcDbLinetypeTable*& table, AcDb::OpenMode mode) {
  return acdbOpenObject(table, impl_->linetypeTable, mode);
}

AcDbObjectId AcDbDatabase::blockTableId() const { return impl_->blockTable; }
AcDbObjectId AcDbDatabase::layerTableId() const { return impl_->layerTable; }
AcDbObjectId AcDbDatabase::linetypeTableId() const { return impl_->linetypeTable; }
AcDbObjectId AcDbDatabase::layerZero() const { return impl_->layerZero; }
AcDbObjectId AcDbDatabase::byLayerLinetype() const { return impl_->byLayer; }
AcDbObjectId AcDbDatabase::byBlockLinetype() const { return impl_->byBlock; }
AcDbObjectId AcDbDatabase::continuousLinetype() const { return impl_->continuous; }
AcDbObjectId AcDbDatabase::modelSpaceId() const { return impl_->modelSpace; }
AcDbObjectId AcDbDatabase::paperSpaceId() const { return impl_->paperSpace; }
AcDbObjectId AcDbDatabase::clayer() const { return impl_->clayer; }
AcDbObjectId AcDbDatabase::celtype() const { return impl_->celtype; }
AcCmColor AcDbDatabase::cecolor() const { return impl_->cecolor; }

Acad::ErrorStatus AcDbDatabase::setClayer(AcDbObjectId layer) {
  if (layer.isNull()) return Acad::eNullObjectId;
  if (layer.database() != this || !plx::db::ObjectAs<AcDbLayerTableRecord>(layer)) return Acad::eWrongObjectType;
  impl_->clayer = layer;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::setCeltype(AcDbObjectId linetype) {
  if (linetype.isNull()) return Acad::eNullObjectId;
  if (linetype.database() != this || !plx::db::ObjectAs<AcDbLinetypeTableRecord>(linetype))
    return Acad::eWrongObjectType;
  impl_->celtype = linetype;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::setCecolor(const AcCmColor& color) {
  impl_->cecolor = color;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::getAcDbObjectId(AcDbObjectId& id, bool, const AcDbHandle& handle, Adesk::UInt32) {
  if (handle.isNull()) return Acad::eNullHandle;
  if (handle.value() >= impl_->slots.size() || !impl_->slots[static_cast<size_t>(handle.value())])
    return Acad::eUnknownHandle;
  id = AcDbObjectId::FromParts(impl_->serial, static_cast<Adesk::UInt32>(handle.value()));
  return Acad::eOk;
}

AcDbHandle AcDbDatabase::handseed() const { return AcDbHandle(impl_->slots.size()); }

Adesk::UInt32 AcDbDatabase::approxNumObjects() const { return impl_->objects; }

AcDbDatabase* AcDbHostApplicationServices::workingDatabase() const { return plx::db::WorkingDatabase(); }

void AcDbHostApplicationServices::setWorkingDatabase(AcDbDatabase* database) {
  plx::db::TheWorking().current = database == plx::db::TheWorking().own.get() ? nullptr : database;
}

AcDbHostApplicationServices* acdbHostApplicationServices() {
  static AcDbHostApplicationServices services;
  return &services;
}

namespace plx::db {

void ForgetWorking(AcDbDatabase* database) {
  if (TheWorking().current == database) TheWorking().current = nullptr;
}

void ReplaceWorkingDatabase() {
  Working& w = TheWorking();
  w.current = nullptr;
  w.own.reset();
  w.own = std::make_unique<AcDbDatabase>();
}

}  // namespace plx::db

Acad::ErrorStatus acdbOpenObject(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode, bool openErased,
                                 const AcRxClass* pClass) {
  object = nullptr;
  if (id.isNull()) return Acad::eNullObjectId;
  AcDbObject* found = plx::db::ObjectAt(id);
  if (!found) return Acad::eUnknownHandle;
  if (pClass && !found->isKindOf(pClass)) return Acad::eNotThatKindOfClass;
  const Acad::ErrorStatus es = ObjectAccess::Open(*found, mode, openErased);
  if (es == Acad::eOk) object = found;
  return es;
}

Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode, bool openErased,
                                     const AcRxClass* pClass) {
  return acdbOpenObject(object, id, mode, openErased, pClass);
}

Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& entity, AcDbObjectId id, AcDb::OpenMode mode, bool openErased) {
  entity = nullptr;
  if (id.isNull()) return Acad::eNullObjectId;
  AcDbObject* found = plx::db::ObjectAt(id);
  if (!found) return Acad::eUnknownHandle;
  if (!AcDbEntity::cast(found)) return Acad::eNotAnEntity;
  const Acad::ErrorStatus es = ObjectAccess::Open(*found, mode, openErased);
  if (es == Acad::eOk) entity = static_cast<AcDbEntity*>(found);
  return es;
}

namespace {
// Marks an ads_name as an entity's (a selection set's names carry another mark).
constexpr Adesk::LongPtr kEntityNameMark = 0x454E54;  // "ENT"
}  // namespace

Acad::ErrorStatus acdbGetAdsName(ads_name name, AcDbObjectId id) {
  if (!name) return Acad::eInvalidInput;
  if (id.isNull()) return Acad::eNullObjectId;
  if (!plx::db::ObjectAt(id)) return Acad::eUnknownHandle;
  name[0] = id.asOldId();
  name[1] = kEntityNameMark;
  return Acad::eOk;
}

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name name) {
  if (!name || name[1] != kEntityNameMark) return Acad::eInvalidAdsName;
  AcDbObjectId found;
  found.setFromOldId(name[0]);
  if (!plx::db::ObjectAt(found)) return Acad::eInvalidAdsName;
  id = found;
  return Acad::eOk;
}

bool AcDbObjectId::isValid() const { return plx::db::ObjectAt(*this) != nullptr; }

bool AcDbObjectId::isErased() const {
  const AcDbObject* object = plx::db::ObjectAt(*this);
  return object && object->isErased();
}

AcDbDatabase* AcDbObjectId::database() const {
  return isNull() ? nullptr : plx::db::DatabaseBySerial(database_);
}

AcRxClass* AcDbObjectId::objectClass() const {
  const AcDbObject* object = plx::db::ObjectAt(*this);
  return object ? object->isA() : nullptr;
}
