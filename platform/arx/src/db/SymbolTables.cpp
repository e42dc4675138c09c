// Symbol tables and their records: names found without regard to case through a hash map,
// records kept in the order they were added; block table records hold their entities' ids.
#include <cwchar>

#include "Access.h"
#include "aced.h"

using plx::db::ObjectAccess;
using plx::db::SymbolTableData;

ACRX_DEFINE_MEMBERS(AcDbSymbolTableRecord, AcDbObject)
ACRX_DEFINE_MEMBERS(AcDbSymbolTable, AcDbObject)
ACRX_DXF_DEFINE_MEMBERS(AcDbBlockTableRecord, AcDbSymbolTableRecord, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0,
                        BLOCK_RECORD, ACAD)
ACRX_DXF_DEFINE_MEMBERS(AcDbLayerTableRecord, AcDbSymbolTableRecord, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0,
                        LAYER, ACAD)
ACRX_DXF_DEFINE_MEMBERS(AcDbLinetypeTableRecord, AcDbSymbolTableRecord, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0,
                        LTYPE, ACAD)
ACRX_DXF_DEFINE_MEMBERS(AcDbBlockTable, AcDbSymbolTable, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, TABLE, ACAD)
ACRX_DXF_DEFINE_MEMBERS(AcDbLayerTable, AcDbSymbolTable, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, TABLE, ACAD)
ACRX_DXF_DEFINE_MEMBERS(AcDbLinetypeTable, AcDbSymbolTable, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, TABLE,
                        ACAD)

namespace {

bool ValidSymbolName(const ACHAR* name) {
  if (!name || !*name || std::wcslen(name) > 255) return false;
  return std::wcspbrk(name, L"<>/\\\":;?*|,=`") == nullptr;
}

AcDbSymbolTable* TableOf(const AcDbSymbolTableRecord& record) {
  return record.database() ? plx::db::ObjectAs<AcDbSymbolTable>(record.ownerId()) : nullptr;
}

}  // namespace

AcDbSymbolTableRecord::AcDbSymbolTableRecord() = default;
AcDbSymbolTableRecord::AcDbSymbolTableRecord(const AcDbSymbolTableRecord& other)
    : AcDbObject(other), name_(other.name_) {}

Acad::ErrorStatus AcDbSymbolTableRecord::getName(ACHAR*& name) const {
  name = acutNewString(name_.c_str());
  return name ? Acad::eOk : Acad::eOutOfMemory;
}

Acad::ErrorStatus AcDbSymbolTableRecord::getName(const ACHAR*& name) const {
  name = name_.c_str();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::setName(const ACHAR* name) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!ValidSymbolName(name) && !(name && name[0] == L'*' && ValidSymbolName(name + 1)))
    return Acad::eInvalidSymbolTableName;
  if (AcDbSymbolTable* table = TableOf(*this)) {
    auto& byName = table->Data().byName;
    const std::wstring key = plx::db::UpperName(name);
    const auto it = byName.find(key);
    if (it != byName.end() && it->second != objectId() && !it->second.isErased()) return Acad::eDuplicateRecordName;
    byName.erase(plx::db::UpperName(name_));
    byName[key] = objectId();
  }
  name_ = name;
  return Acad::eOk;
}

AcDbSymbolTable::AcDbSymbolTable(const AcRxClass* recordClass) : data_(new SymbolTableData) {
  data_->recordClass = recordClass;
}

// A copy of a table holds no records: they belong to the table's database.
AcDbSymbolTable::AcDbSymbolTable(const AcDbSymbolTable& other) : AcDbObject(other), data_(new SymbolTableData) {
  data_->recordClass = other.data_->recordClass;
}

AcDbSymbolTable::~AcDbSymbolTable() = default;

Acad::ErrorStatus AcDbSymbolTable::getAt(const ACHAR* name, AcDbObjectId& id, bool getErasedRecord) const {
  if (!name) return Acad::eInvalidInput;
  const auto it = data_->byName.find(plx::db::UpperName(name));
  if (it == data_->byName.end() || (!getErasedRecord && it->second.isErased())) return Acad::eKeyNotFound;
  id = it->second;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const ACHAR* name, AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                                         bool openErasedRecord) const {
  AcDbObjectId id;
  const Acad::ErrorStatus es = getAt(name, id, openErasedRecord);
  if (es != Acad::eOk) return es;
  return acdbOpenObject(record, id, mode, openErasedRecord);
}

bool AcDbSymbolTable::has(const ACHAR* name) const {
  AcDbObjectId id;
  return getAt(name, id) == Acad::eOk;
}

bool AcDbSymbolTable::has(AcDbObjectId id) const {
  const AcDbObject* object = plx::db::ObjectAt(id);
  return object && !object->isErased() && object->ownerId() == objectId();
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbSymbolTableRecord* record) {
  AcDbObjectId id;
  return add(id, record);
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbObjectId& id, AcDbSymbolTableRecord* record) {
  if (!record) return Acad::eNullObjectPointer;
  if (!database()) return Acad::eNoDatabase;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (record->database()) return Acad::eAlreadyInDb;
  if (!record->isKindOf(data_->recordClass)) return Acad::eWrongObjectType;
  if (record->Name().empty()) return Acad::eInvalidSymbolTableName;
  const std::wstring key = plx::db::UpperName(record->Name());
  const auto it = data_->byName.find(key);
  if (it != data_->byName.end() && !it->second.isErased()) return Acad::eDuplicateRecordName;
  if (auto* layer = AcDbLayerTableRecord::cast(record); layer && layer->linetypeObjectId().isNull())
    layer->setLinetypeObjectId(database()->continuousLinetype());
  // Room in the lists before the database takes the record, so that running out of memory
  // leaves the record the caller's and the table as it was.
  if (data_->records.size() == data_->records.capacity())
    data_->records.reserve(data_->records.empty() ? 16 : data_->records.size() * 2);
  const auto [slot, inserted] = data_->byName.try_emplace(key);
  try {
    id = ObjectAccess::Add(*database(), record, objectId(), true);
  } catch (...) {
    if (inserted) data_->byName.erase(slot);
    throw;
  }
  data_->records.push_back(id);
  slot->second = id;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::newIterator(AcDbSymbolTableIterator*& iterator, bool atBeginning,
                                               bool skipDeleted) const {
  iterator = new AcDbSymbolTableIterator(*this);
  iterator->start(atBeginning, skipDeleted);
  return Acad::eOk;
}

AcDbSymbolTableIterator::AcDbSymbolTableIterator(const AcDbSymbolTable& table) : table_(table) {}
AcDbSymbolTableIterator::~AcDbSymbolTableIterator() = default;

void AcDbSymbolTableIterator::start(bool atBeginning, bool skipDeleted) {
  position_ = atBeginning ? 0 : static_cast<long>(table_.Data().records.size()) - 1;
  Skip(atBeginning, skipDeleted);
}

bool AcDbSymbolTableIterator::done() const {
  return position_ < 0 || position_ >= static_cast<long>(table_.Data().records.size());
}

void AcDbSymbolTableIterator::step(bool forward, bool skipDeleted) {
  if (done()) return;
  position_ += forward ? 1 : -1;
  Skip(forward, skipDeleted);
}

void AcDbSymbolTableIterator::Skip(bool forward, bool skipDeleted) {
  if (!skipDeleted) return;
  while (!done() && table_.Data().records[static_cast<size_t>(position_)].isErased()) position_ += forward ? 1 : -1;
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecordId(AcDbObjectId& id) const {
  if (done()) return Acad::eInvalidIndex;
  id = table_.Data().records[static_cast<size_t>(position_)];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecord(AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                                                     bool openErasedRecord) const {
  AcDbObjectId id;
  const Acad::ErrorStatus es = getRecordId(id);
  if (es != Acad::eOk) return es;
  return acdbOpenObject(record, id, mode, openErasedRecord);
}

// Blocks.

AcDbBlockTableRecord::AcDbBlockTableRecord() : entities_(new plx::db::EntityListData) {}
AcDbBlockTableRecord::~AcDbBlockTableRecord() = default;

// A copy of a block is an empty block of the same name: its entities stay in the drawing.
AcRxObject* AcDbBlockTableRecord::clone() const {
  auto* copy = new AcDbBlockTableRecord;
  copy->setName(Name().c_str());
  copy->origin_ = origin_;
  return copy;
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbEntity* entity) {
  AcDbObjectId id;
  return appendAcDbEntity(id, entity);
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity) {
  if (!entity) return Acad::eNullEntityPointer;
  if (!database()) return Acad::eNoDatabase;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (entity->database()) return Acad::eAlreadyInDb;
  ObjectAccess::FillDefaults(*entity, *database());
  entities_->ids.ReserveOneMore();
  id = ObjectAccess::Add(*database(), entity, objectId(), true);
  entities_->ids.push_back(id);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::newIterator(AcDbBlockTableRecordIterator*& iterator, bool atBeginning,
                                                    bool skipDeleted) const {
  iterator = new AcDbBlockTableRecordIterator(*this);
  iterator->start(atBeginning, skipDeleted);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::setOrigin(const AcGePoint3d& origin) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  origin_ = origin;
  return Acad::eOk;
}

bool AcDbBlockTableRecord::isLayout() const {
  return plx::db::UpperName(Name()) == L"*MODEL_SPACE" || plx::db::UpperName(Name()).rfind(L"*PAPER_SPACE", 0) == 0;
}

bool AcDbBlockTableRecord::isAnonymous() const { return !Name().empty() && Name()[0] == L'*' && !isLayout(); }

bool AcDbBlockTableRecord::hasEntities() const {
  for (const AcDbObjectId& id : entities_->ids)
    if (!id.isErased()) return true;
  return false;
}

AcDbBlockTableRecordIterator::AcDbBlockTableRecordIterator(const AcDbBlockTableRecord& record) : record_(record) {}
AcDbBlockTableRecordIterator::~AcDbBlockTableRecordIterator() = default;

void AcDbBlockTableRecordIterator::start(bool atBeginning, bool skipDeleted) {
  position_ = atBeginning ? 0 : static_cast<long>(record_.Entities().ids.size()) - 1;
  Skip(atBeginning, skipDeleted);
}

bool AcDbBlockTableRecordIterator::done() const {
  return position_ < 0 || position_ >= static_cast<long>(record_.Entities().ids.size());
}

void AcDbBlockTableRecordIterator::step(bool forward, bool skipDeleted) {
  if (done()) return;
  position_ += forward ? 1 : -1;
  Skip(forward, skipDeleted);
}

void AcDbBlockTableRecordIterator::Skip(bool forward, bool skipDeleted) {
  if (!skipDeleted) return;
  while (!done() && record_.Entities().ids[static_cast<size_t>(position_)].isErased()) position_ += forward ? 1 : -1;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntityId(AcDbObjectId& id) const {
  if (done()) return Acad::eInvalidIndex;
  id = record_.Entities().ids[static_cast<size_t>(position_)];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntity(AcDbEntity*& entity, AcDb::OpenMode mode,
                                                          bool openErasedEntity) const {
  AcDbObjectId id;
  const Acad::ErrorStatus es = getEntityId(id);
  if (es != Acad::eOk) return es;
  return acdbOpenAcDbEntity(entity, id, mode, openErasedEntity);
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::seek(AcDbObjectId id) {
  const auto& ids = record_.Entities().ids;
  for (size_t i = 0; i < ids.size(); ++i)
    if (ids[i] == id) {
      position_ = static_cast<long>(i);
      return Acad::eOk;
    }
  return Acad::eKeyNotFound;
}

AcDbBlockTable::AcDbBlockTable() : AcDbSymbolTable(AcDbBlockTableRecord::desc()) {}
AcRxObject* AcDbBlockTable::clone() const { return new AcDbBlockTable(*this); }

Acad::ErrorStatus AcDbBlockTable::getAt(const ACHAR* name, AcDbBlockTableRecord*& record, AcDb::OpenMode mode,
                                        bool openErasedRecord) const {
  AcDbObjectId id;
  const Acad::ErrorStatus es = AcDbSymbolTable::getAt(name, id, openErasedRecord);
  if (es != Acad::eOk) return es;
  return acdbOpenObject(record, id, mode, openErasedRecord);
}

Acad::ErrorStatus AcDbBlockTable::newIterator(AcDbBlockTableIterator*& iterator, bool atBeginning,
                                              bool skipDeleted) const {
  iterator = new AcDbBlockTableIterator(*this);
  iterator->start(atBeginning, skipDeleted);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableIterator::getRecord(AcDbBlockTableRecord*& record, AcDb::OpenMode mode,
                                                    bool openErasedRecord) const {
  AcDbObjectId id;
  const Acad::ErrorStatus es = getRecordId(id);
  if (es != Acad::eOk) return es;
  return acdbOpenObject(record, id, mode, openErasedRecord);
}

// Layers.

AcDbLayerTableRecord::AcDbLayerTableRecord() { color_.setColorIndex(7); }
AcRxObject* AcDbLayerTableRecord::clone() const { return new AcDbLayerTableRecord(*this); }

Acad::ErrorStatus AcDbLayerTableRecord::setColor(const AcCmColor& color) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!color.isByACI() && !color.isByColor()) return Acad::eInvalidInput;
  color_ = color;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLayerTableRecord::setIsFrozen(bool frozen) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  frozen_ = frozen;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLayerTableRecord::setIsOff(bool off) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  off_ = off;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLayerTableRecord::setIsLocked(bool locked) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  locked_ = locked;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLayerTableRecord::setLinetypeObjectId(AcDbObjectId linetype) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!linetype.isNull() && !plx::db::ObjectAs<AcDbLinetypeTableRecord>(linetype)) return Acad::eWrongObjectType;
  linetype_ = linetype;
  return Acad::eOk;
}

AcDbLayerTable::AcDbLayerTable() : AcDbSymbolTable(AcDbLayerTableRecord::desc()) {}
AcRxObject* AcDbLayerTable::clone() const { return new AcDbLayerTable(*this); }

Acad::ErrorStatus AcDbLayerTable::getAt(const ACHAR* name, AcDbLayerTableRecord*& record, AcDb::OpenMode mode,
                                        bool openErasedRecord) const {
  AcDbObjectId id;
  const Acad::ErrorStatus es = AcDbSymbolTable::getAt(name, id, openErasedRecord);
  if (es != Acad::eOk) return es;
  return acdbOpenObject(record, id, mode, openErasedRecord);
}

Acad::ErrorStatus AcDbLayerTable::newIterator(AcDbLayerTableIterator*& iterator, bool atBeginning,
                                              bool skipDeleted) const {
  iterator = new AcDbLayerTableIterator(*this);
  iterator->start(atBeginning, skipDeleted);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLayerTableIterator::getRecord(AcDbLayerTableRecord*& record, AcDb::OpenMode mode,
                                                    bool openErasedRecord) const {
  AcDbObjectId id;
  const Acad::ErrorStatus es = getRecordId(id);
  if (es != Acad::eOk) return es;
  return acdbOpenObject(record, id, mode, openErasedRecord);
}

// Linetypes.

AcDbLinetypeTableRecord::AcDbLinetypeTableRecord() = default;
AcRxObject* AcDbLinetypeTableRecord::clone() const { return new AcDbLinetypeTableRecord(*this); }

Acad::ErrorStatus AcDbLinetypeTableRecord::comments(const ACHAR*& text) const {
  text = comments_.c_str();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLinetypeTableRecord::setComments(const ACHAR* text) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  comments_ = text ? text : L"";
  return Acad::eOk;
}

AcDbLinetypeTable::AcDbLinetypeTable() : AcDbSymbolTable(AcDbLinetypeTableRecord::desc()) {}
AcRxObject* AcDbLinetypeTable::clone() const { return new AcDbLinetypeTable(*this); }

Acad::ErrorStatus AcDbLinetypeTable::getAt(const ACHAR* name, AcDbLinetypeTableRecord*& record, AcDb::OpenMode mode,
                                           bool openErasedRecord) const {
  AcDbObjectId id;
  const Acad::ErrorStatus es = AcDbSymbolTable::getAt(name, id, openErasedRecord);
  if (es != Acad::eOk) return es;
  return acdbOpenObject(record, id, mode, openErasedRecord);
}

Acad::ErrorStatus AcDbLinetypeTable::newIterator(AcDbLinetypeTableIterator*& iterator, bool atBeginning,
                                                 bool skipDeleted) const {
  iterator = new AcDbLinetypeTableIterator(*this);
  iterator->start(atBeginning, skipDeleted);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLinetypeTableIterator::getRecord(AcDbLinetypeTableRecord*& record, AcDb::OpenMode mode,
                                                       bool openErasedRecord) const {
  AcDbObjectId id;
  const Acad::ErrorStatus es = getRecordId(id);
  if (es != Acad::eOk) return es;
  return acdbOpenObject(record, id, mode, openErasedRecord);
}
