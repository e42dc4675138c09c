// The database's insides, shared by its source files and the editor: slots of objects by
// handle, symbol-table and block data, and the object state that the open rules change.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "Pool.h"
#include "dbmain.h"
#include "dbsymtb.h"

struct AcDbDatabase::Impl {
  Adesk::UInt32 serial = 0;
  plx::db::PagedArray<AcDbObject*> slots;  // by handle; slot 0 is the null handle
  Adesk::UInt32 objects = 0;               // slots that hold an object
  bool closing = false;
  AcDbObjectId blockTable, layerTable, linetypeTable;
  AcDbObjectId layerZero, byLayer, byBlock, continuous, modelSpace, paperSpace;
  AcDbObjectId clayer, celtype;
  AcCmColor cecolor;
};

namespace plx::db {

struct SymbolTableData {
  const AcRxClass* recordClass = nullptr;
  std::vector<AcDbObjectId> records;
  std::unordered_map<std::wstring, AcDbObjectId> byName;  // upper-case names
};

struct EntityListData {
  PagedArray<AcDbObjectId> ids;
};

// Every database by serial number (null once gone), so that an id whose database is gone finds
// nothing. Constant-initialised: the working database may go at exit after other statics.
struct DatabaseList {
  AcDbDatabase** bySerial = nullptr;
  Adesk::UInt32 count = 0;
  Adesk::UInt32 capacity = 0;
};
inline constinit DatabaseList theDatabases{};

inline AcDbDatabase* DatabaseBySerial(Adesk::UInt32 serial) {
  return serial < theDatabases.count ? theDatabases.bySerial[serial] : nullptr;
}

// The object of an id without opening it; null when the id names nothing (any more).
inline AcDbObject* ObjectAt(const AcDbObjectId& id) {
  if (id.isNull()) return nullptr;
  AcDbDatabase* database = DatabaseBySerial(id.DatabaseSerial());
  return database ? database->GetImpl().slots.At(id.Slot()) : nullptr;
}
AcDbDatabase* WorkingDatabase();
// A new empty drawing becomes the host's own working database.
void ReplaceWorkingDatabase();
void ForgetWorking(AcDbDatabase* database);
std::wstring UpperName(std::wstring_view name);

template <class T>
T* ObjectAs(const AcDbObjectId& id) {
  return T::cast(ObjectAt(id));
}

struct ObjectAccess {
  // Gives the object a slot in the database: open for write when asked, else closed.
  static AcDbObjectId Add(AcDbDatabase& database, AcDbObject* object, const AcDbObjectId& owner, bool openForWrite);
  static Acad::ErrorStatus Open(AcDbObject& object, AcDb::OpenMode mode, bool openErased);
  static void SetHeld(AcDbObject& object, bool held) { object.heldByOwner_ = held; }
  static bool Held(const AcDbObject& object) { return object.heldByOwner_; }
  static void SetErased(AcDbObject& object, bool erased) { object.erased_ = erased; }
  static void SetOwner(AcDbObject& object, const AcDbObjectId& owner) { object.owner_ = owner; }
  static bool ColorSet(const AcDbEntity& entity) { return entity.colorSet_; }
  static int Highlights(const AcDbEntity& entity) { return entity.highlights_; }
  static bool Highlighted(const AcDbEntity& entity) { return entity.highlighted_; }
  // Runs a change on a sub-object that its owner's open for write covers.
  template <class Change>
  static Acad::ErrorStatus AsWriter(AcDbObject& object, Change change) {
    const bool was = object.writer_;
    object.writer_ = true;
    const Acad::ErrorStatus es = change();
    object.writer_ = was;
    return es;
  }
  // Fills what was never set from the database's current layer, linetype and colour.
  static void FillDefaults(AcDbEntity& entity, AcDbDatabase& database);
  // Copies layer, linetype and (if the vertex has none of its own) colour from the owner.
  static void InheritProperties(AcDbEntity& vertex, const AcDbEntity& owner);
};

// Takes back every object added to the database from the handle mark on (a handseed taken
// before), newest first, as if it had never been added: each leaves its owner's entity or
// record list and is deleted, and the handle seed is mark again. For work that failed half-way
// and whose new objects nobody else holds; objects added before mark are not touched.
void DiscardObjectsFrom(AcDbDatabase& database, const AcDbHandle& mark);

// Prints a point as the host's LIST does.
std::wstring ListPoint(const AcGePoint3d& p);

}  // namespace plx::db
