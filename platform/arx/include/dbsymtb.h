// Symbol tables of the drawing: blocks, layers and linetypes, each a table of named records.
// Names are found without regard to case, in constant time; a table keeps its records in the
// order they were added.
#pragma once

#include <memory>
#include <string>

#include "dbmain.h"

class AcDbSymbolTableRecord;
class AcDbSymbolTableIterator;
class AcDbBlockTableRecordIterator;

namespace plx::db {
struct SymbolTableData;
struct EntityListData;
}

class AcDbSymbolTableRecord : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbSymbolTableRecord);
  // A new copy of the name (release with acutDelString), or the record's own text.
  Acad::ErrorStatus getName(ACHAR*& name) const;
  Acad::ErrorStatus getName(const ACHAR*& name) const;
  // eInvalidSymbolTableName for an empty name or one with <>/\":;?*|,=` characters;
  // eDuplicateRecordName when the record's table holds the name under another record.
  Acad::ErrorStatus setName(const ACHAR* name);
  bool isDependent() const { return false; }
  bool isResolved() const { return true; }

  const std::wstring& Name() const { return name_; }

 protected:
  AcDbSymbolTableRecord();
  AcDbSymbolTableRecord(const AcDbSymbolTableRecord& other);

 private:
  std::wstring name_;
};

class AcDbSymbolTable : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbSymbolTable);
  ~AcDbSymbolTable() override;

  // eKeyNotFound for a name the table lacks (erased records count only with getErasedRecord).
  Acad::ErrorStatus getAt(const ACHAR* name, AcDbObjectId& id, bool getErasedRecord = false) const;
  Acad::ErrorStatus getAt(const ACHAR* name, AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                          bool openErasedRecord = false) const;
  bool has(const ACHAR* name) const;
  bool has(AcDbObjectId id) const;
  // The table must be open for write (eNotOpenForWrite); the record new (eAlreadyInDb), of the
  // table's record class (eWrongObjectType), named (eInvalidSymbolTableName) with a name the
  // table lacks (eDuplicateRecordName). The added record is open for write until closed.
  Acad::ErrorStatus add(AcDbSymbolTableRecord* record);
  Acad::ErrorStatus add(AcDbObjectId& id, AcDbSymbolTableRecord* record);
  // A new iterator, the caller's to delete.
  Acad::ErrorStatus newIterator(AcDbSymbolTableIterator*& iterator, bool atBeginning = true,
                                bool skipDeleted = true) const;

  plx::db::SymbolTableData& Data() const { return *data_; }

 protected:
  explicit AcDbSymbolTable(const AcRxClass* recordClass);
  AcDbSymbolTable(const AcDbSymbolTable& other);

 private:
  std::unique_ptr<plx::db::SymbolTableData> data_;
};

class AcDbSymbolTableIterator {
 public:
  virtual ~AcDbSymbolTableIterator();
  void start(bool atBeginning = true, bool skipDeleted = true);
  bool done() const;
  void step(bool forward = true, bool skipDeleted = true);
  Acad::ErrorStatus getRecordId(AcDbObjectId& id) const;
  Acad::ErrorStatus getRecord(AcDbSymbolTableRecord*& record, AcDb::OpenMode mode, bool openErasedRecord = false) const;

 protected:
  friend class AcDbSymbolTable;
  explicit AcDbSymbolTableIterator(const AcDbSymbolTable& table);

 private:
  void Skip(bool forward, bool skipDeleted);
  const AcDbSymbolTable& table_;
  long position_ = 0;
};

// Blocks.
class AcDbBlockTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbBlockTableRecord);
  AcDbBlockTableRecord();
  ~AcDbBlockTableRecord() override;
  AcRxObject* clone() const override;

  // Appends a new entity: the record must be in a database and open for write
  // (eNotOpenForWrite, eNoDatabase), the entity new (eAlreadyInDb; eNullEntityPointer for
  // null). Layer, linetype and colour that were never set become the database's current ones.
  // The appended entity is open for write until closed.
  Acad::ErrorStatus appendAcDbEntity(AcDbEntity* entity);
  Acad::ErrorStatus appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity);
  // A new iterator over the entities in order, the caller's to delete.
  Acad::ErrorStatus newIterator(AcDbBlockTableRecordIterator*& iterator, bool atBeginning = true,
                                bool skipDeleted = true) const;
  AcGePoint3d origin() const { return origin_; }
  Acad::ErrorStatus setOrigin(const AcGePoint3d& origin);
  bool isLayout() const;
  bool isAnonymous() const;
  bool hasEntities() const;

  plx::db::EntityListData& Entities() const { return *entities_; }

 private:
  std::unique_ptr<plx::db::EntityListData> entities_;
  AcGePoint3d origin_;
};

class AcDbBlockTableRecordIterator {
 public:
  ~AcDbBlockTableRecordIterator();
  void start(bool atBeginning = true, bool skipDeleted = true);
  bool done() const;
  void step(bool forward = true, bool skipDeleted = true);
  Acad::ErrorStatus getEntityId(AcDbObjectId& id) const;
  Acad::ErrorStatus getEntity(AcDbEntity*& entity, AcDb::OpenMode mode, bool openErasedEntity = false) const;
  // Moves to the entity; eKeyNotFound when the record does not hold it.
  Acad::ErrorStatus seek(AcDbObjectId id);
  AcDbBlockTableRecord* blockTableRecord() const { return const_cast<AcDbBlockTableRecord*>(&record_); }

 private:
  friend class AcDbBlockTableRecord;
  explicit AcDbBlockTableRecordIterator(const AcDbBlockTableRecord& record);
  void Skip(bool forward, bool skipDeleted);
  const AcDbBlockTableRecord& record_;
  long position_ = 0;
};

class AcDbBlockTableIterator : public AcDbSymbolTableIterator {
 public:
  Acad::ErrorStatus getRecord(AcDbBlockTableRecord*& record, AcDb::OpenMode mode, bool openErasedRecord = false) const;
  using AcDbSymbolTableIterator::getRecord;

 private:
  friend class AcDbBlockTable;
  using AcDbSymbolTableIterator::AcDbSymbolTableIterator;
};

class AcDbBlockTable : public AcDbSymbolTable {
 public:
  ACRX_DECLARE_MEMBERS(AcDbBlockTable);
  AcDbBlockTable();
  AcRxObject* clone() const override;
  using AcDbSymbolTable::getAt;
  using AcDbSymbolTable::add;
  using AcDbSymbolTable::newIterator;
  Acad::ErrorStatus getAt(const ACHAR* name, AcDbBlockTableRecord*& record, AcDb::OpenMode mode,
                          bool openErasedRecord = false) const;
  Acad::ErrorStatus add(AcDbBlockTableRecord* record) { return AcDbSymbolTable::add(record); }
  Acad::ErrorStatus add(AcDbObjectId& id, AcDbBlockTableRecord* record) { return AcDbSymbolTable::add(id, record); }
  Acad::ErrorStatus newIterator(AcDbBlockTableIterator*& iterator, bool atBeginning = true,
                                bool skipDeleted = true) const;
};

// Layers.
class AcDbLayerTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLayerTableRecord);
  AcDbLayerTableRecord();  // colour index 7, on, thawed, unlocked
  AcRxObject* clone() const override;

  AcCmColor color() const { return color_; }
  // A layer takes a colour index or a true colour: by layer, by block and the like give
  // eInvalidInput.
  Acad::ErrorStatus setColor(const AcCmColor& color);
  bool isFrozen() const { return frozen_; }
  Acad::ErrorStatus setIsFrozen(bool frozen);
  bool isOff() const { return off_; }
  Acad::ErrorStatus setIsOff(bool off);
  bool isLocked() const { return locked_; }
  Acad::ErrorStatus setIsLocked(bool locked);
  bool isHidden() const { return false; }
  // Continuous unless set.
  AcDbObjectId linetypeObjectId() const { return linetype_; }
  Acad::ErrorStatus setLinetypeObjectId(AcDbObjectId linetype);

 private:
  AcCmColor color_;
  AcDbObjectId linetype_;
  bool frozen_ = false, off_ = false, locked_ = false;
};

class AcDbLayerTableIterator : public AcDbSymbolTableIterator {
 public:
  Acad::ErrorStatus getRecord(AcDbLayerTableRecord*& record, AcDb::OpenMode mode, bool openErasedRecord = false) const;
  using AcDbSymbolTableIterator::getRecord;

 private:
  friend class AcDbLayerTable;
  using AcDbSymbolTableIterator::AcDbSymbolTableIterator;
};

class AcDbLayerTable : public AcDbSymbolTable {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLayerTable);
  AcDbLayerTable();
  AcRxObject* clone() const override;
  using AcDbSymbolTable::getAt;
  using AcDbSymbolTable::add;
  using AcDbSymbolTable::newIterator;
  Acad::ErrorStatus getAt(const ACHAR* name, AcDbLayerTableRecord*& record, AcDb::OpenMode mode,
                          bool openErasedRecord = false) const;
  Acad::ErrorStatus add(AcDbLayerTableRecord* record) { return AcDbSymbolTable::add(record); }
  Acad::ErrorStatus add(AcDbObjectId& id, AcDbLayerTableRecord* record) { return AcDbSymbolTable::add(id, record); }
  Acad::ErrorStatus newIterator(AcDbLayerTableIterator*& iterator, bool atBeginning = true,
                                bool skipDeleted = true) const;
};

// Linetypes.
class AcDbLinetypeTableRecord : public AcDbSymbolTableRecord {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLinetypeTableRecord);
  AcDbLinetypeTableRecord();
  AcRxObject* clone() const override;
  Acad::ErrorStatus comments(const ACHAR*& text) const;
  Acad::ErrorStatus setComments(const ACHAR* text);

 private:
  std::wstring comments_;
};

class AcDbLinetypeTableIterator : public AcDbSymbolTableIterator {
 public:
  Acad::ErrorStatus getRecord(AcDbLinetypeTableRecord*& record, AcDb::OpenMode mode,
                              bool openErasedRecord = false) const;
  using AcDbSymbolTableIterator::getRecord;

 private:
  friend class AcDbLinetypeTable;
  using AcDbSymbolTableIterator::AcDbSymbolTableIterator;
};

class AcDbLinetypeTable : public AcDbSymbolTable {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLinetypeTable);
  AcDbLinetypeTable();
  AcRxObject* clone() const override;
  using AcDbSymbolTable::getAt;
  using AcDbSymbolTable::add;
  using AcDbSymbolTable::newIterator;
  Acad::ErrorStatus getAt(const ACHAR* name, AcDbLinetypeTableRecord*& record, AcDb::OpenMode mode,
                          bool openErasedRecord = false) const;
  Acad::ErrorStatus add(AcDbLinetypeTableRecord* record) { return AcDbSymbolTable::add(record); }
  Acad::ErrorStatus add(AcDbObjectId& id, AcDbLinetypeTableRecord* record) { return AcDbSymbolTable::add(id, record); }
  Acad::ErrorStatus newIterator(AcDbLinetypeTableIterator*& iterator, bool atBeginning = true,
                                bool skipDeleted = true) const;
};

// Standard names.
#define ACDB_MODEL_SPACE ACRX_T("*Model_Space")
#define ACDB_PAPER_SPACE ACRX_T("*Paper_Space")
