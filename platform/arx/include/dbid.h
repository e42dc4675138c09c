// Object ids: the handle by which an object of an open drawing is found, in constant time.
// An id names its database and the object's slot there (the slot number is its handle); the
// null id names nothing. Ids outlive neither their database nor the session.
#pragma once

#include <cstddef>
#include <functional>

#include "acarray.h"
#include "adesk.h"
#include "dbhandle.h"

class AcDbDatabase;
class AcRxClass;

class AcDbObjectId {
 public:
  AcDbObjectId() = default;

  static const AcDbObjectId kNull;

  bool isNull() const { return index_ == 0; }
  void setNull() { database_ = 0; index_ = 0; }
  // Names an object of a database that still exists.
  bool isValid() const;
  bool isErased() const;
  bool isEffectivelyErased() const { return isErased(); }
  AcDbHandle handle() const { return AcDbHandle(index_); }
  AcDbDatabase* database() const;
  AcRxClass* objectClass() const;

  // One integer for the id, and back; an integer that names no id gives the null id.
  Adesk::IntPtr asOldId() const {
    return static_cast<Adesk::IntPtr>((static_cast<Adesk::UInt64>(database_) << 32) | index_);
  }
  AcDbObjectId& setFromOldId(Adesk::IntPtr oldId) {
    const auto v = static_cast<Adesk::UInt64>(oldId);
    database_ = static_cast<Adesk::UInt32>(v >> 32);
    index_ = static_cast<Adesk::UInt32>(v);
    return *this;
  }

  bool operator==(const AcDbObjectId& o) const { return database_ == o.database_ && index_ == o.index_; }
  bool operator!=(const AcDbObjectId& o) const { return !(*this == o); }
  bool operator<(const AcDbObjectId& o) const { return asOldId() < o.asOldId(); }
  bool operator>(const AcDbObjectId& o) const { return o < *this; }
  bool operator<=(const AcDbObjectId& o) const { return !(o < *this); }
  bool operator>=(const AcDbObjectId& o) const { return !(*this < o); }

  // The database's serial number and the object's slot; for the host's own code.
  Adesk::UInt32 DatabaseSerial() const { return database_; }
  Adesk::UInt32 Slot() const { return index_; }
  static AcDbObjectId FromParts(Adesk::UInt32 database, Adesk::UInt32 slot) {
    AcDbObjectId id;
    id.database_ = database;
    id.index_ = slot;
    return id;
  }

 private:
  Adesk::UInt32 database_ = 0;
  Adesk::UInt32 index_ = 0;
};

inline const AcDbObjectId AcDbObjectId::kNull{};

template <>
struct std::hash<AcDbObjectId> {
  size_t operator()(const AcDbObjectId& id) const noexcept {
    return std::hash<Adesk::IntPtr>()(id.asOldId());
  }
};

typedef AcArray<AcDbObjectId> AcDbObjectIdArray;
