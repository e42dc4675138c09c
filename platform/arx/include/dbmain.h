// The host's drawing database: objects, entities, the database and the open/close rules.
//
// Open rules: an object of a database is opened by id (acdbOpenObject and its relatives) and
// closed with close(). Many readers or one writer: opening for read an object that is open for
// write gives eWasOpenForWrite; opening for write an object open for read gives
// eWasOpenForRead, and one open for write eWasOpenForWrite. An erased object opens only when
// asked to open erased (otherwise eWasErased). kForNotify always opens.
//
// Objects outside a database (made with new and not appended) may be read and written freely;
// close() on such an object deletes it, unless another object owns it (a vertex appended to a
// mesh that is not in a database yet). Appending hands the object to the database, which
// deletes it when the database goes; the appended object is then open for write until closed.
#pragma once

#include <cstddef>

#include "acadstrc.h"
#include "acdb.h"
#include "acutmem.h"
#include "adesk.h"
#include "adsdef.h"
#include "dbcolor.h"
#include "dbid.h"
#include "dbptrar.h"
#include "dbsubeid.h"
#include "gemat3d.h"
#include "gepnt3d.h"
#include "rxobject.h"

class AcDbBlockTable;
class AcDbLayerTable;
class AcDbLinetypeTable;
class AcDbDatabase;
class AcDbEntity;

namespace plx::db {
struct ObjectAccess;
}

class AcDbObject : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbObject);
  ~AcDbObject() override;
  AcDbObject& operator=(const AcDbObject&) = delete;

  // Objects come from the database's pools, whose memory a later drawing reuses; new and delete
  // work as ever (the size comes back through the virtual destructor).
  static void* operator new(size_t size);
  static void operator delete(void* object, size_t size);

  // The null id for an object outside a database.
  AcDbObjectId objectId() const;
  AcDbObjectId ownerId() const { return owner_; }
  virtual Acad::ErrorStatus setOwnerId(AcDbObjectId owner);
  void getAcDbHandle(AcDbHandle& handle) const { handle = objectId().handle(); }
  AcDbDatabase* database() const { return database_; }

  // Ends one open (the writer's, else one reader's, else a notification). An object outside a
  // database is deleted, unless owned by another. eNotOpenForRead when it was not open.
  Acad::ErrorStatus close();
  // Erases or (erasing false) restores; the object must be open for write. eWasErased when
  // erasing an erased object, eNotApplicable when restoring one that is not erased.
  Acad::ErrorStatus erase(Adesk::Boolean erasing = true);
  Acad::ErrorStatus upgradeOpen();    // eWasOpenForRead with other readers
  Acad::ErrorStatus downgradeOpen();  // eNotOpenForWrite unless open for write

  bool isErased() const { return erased_; }
  bool isReadEnabled() const;
  bool isWriteEnabled() const;
  bool isNotifyEnabled() const { return notifiers_ > 0; }
  bool isNewObject() const { return database_ == nullptr; }
  // A deep copy outside any database: the caller's to release (close() or delete).
  AcRxObject* clone() const override = 0;

 protected:
  AcDbObject() = default;
  // A copy keeps nothing of the database state: it is new and in no database.
  AcDbObject(const AcDbObject&) : AcRxObject() {}

  // Called when the object enters a database: an owner of sub-objects (vertices) adds them.
  virtual void AddOwnedObjects() {}

 private:
  friend struct plx::db::ObjectAccess;
  AcDbDatabase* database_ = nullptr;
  Adesk::UInt32 slot_ = 0;
  AcDbObjectId owner_;
  bool heldByOwner_ = false;  // a sub-object of an owner that is not in a database yet
  Adesk::UInt16 readers_ = 0;
  Adesk::UInt16 notifiers_ = 0;
  bool writer_ = false;
  bool erased_ = false;
};

// A box aligned with the axes. A new one is empty (min above max), growing with each point.
class AcDbExtents {
 public:
  AcDbExtents();
  AcDbExtents(const AcGePoint3d& min, const AcGePoint3d& max);
  const AcGePoint3d& minPoint() const { return min_; }
  const AcGePoint3d& maxPoint() const { return max_; }
  // eInvalidExtents when min is above max in some coordinate.
  Acad::ErrorStatus set(const AcGePoint3d& min, const AcGePoint3d& max);
  void addPoint(const AcGePoint3d& point);
  void addExt(const AcDbExtents& other);
  void expandBy(const AcGeVector3d& delta);
  // The box around the eight transformed corners.
  void transformBy(const AcGeMatrix3d& matrix);
  bool isEmpty() const { return min_.x > max_.x; }

 private:
  AcGePoint3d min_, max_;
};

class AcDbEntity : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbEntity);

  // The block table record that owns the entity; null outside a database.
  AcDbObjectId blockId() const;

  AcCmColor color() const { return color_; }
  Acad::ErrorStatus setColor(const AcCmColor& color, Adesk::Boolean doSubents = true);
  Adesk::UInt16 colorIndex() const { return color_.colorIndex(); }
  // 0 by block, 256 by layer, 1 to 255 an index; eInvalidInput above 257.
  Acad::ErrorStatus setColorIndex(Adesk::UInt16 index, Adesk::Boolean doSubents = true);
  AcCmEntityColor entityColor() const { return color_.entityColor(); }

  // The layer's name as a new string (release with acutDelString); "" when none is set.
  ACHAR* layer() const;
  AcDbObjectId layerId() const { return layer_; }
  // By name, in the entity's database or else the working one: eKeyNotFound when it has no
  // such layer. By id: eNullObjectId, or eWrongObjectType for an id that is not a layer.
  Acad::ErrorStatus setLayer(const ACHAR* name, Adesk::Boolean doSubents = true, bool allowHiddenLayer = false);
  Acad::ErrorStatus setLayer(AcDbObjectId layer, Adesk::Boolean doSubents = true, bool allowHiddenLayer = false);

  ACHAR* linetype() const;  // release with acutDelString
  AcDbObjectId linetypeId() const { return linetype_; }
  Acad::ErrorStatus setLinetype(const ACHAR* name, Adesk::Boolean doSubents = true);
  Acad::ErrorStatus setLinetype(AcDbObjectId linetype, Adesk::Boolean doSubents = true);

  // Layer, linetype and colour of another entity.
  Acad::ErrorStatus setPropertiesFrom(const AcDbEntity* from, Adesk::Boolean doSubents = true);

  // The current layer, linetype and colour of the database (the working one by default).
  void setDatabaseDefaults();
  void setDatabaseDefaults(AcDbDatabase* database);

  // The whole entity (a null path) or a part of it; recorded by the host, which has no screen.
  Acad::ErrorStatus highlight(const AcDbFullSubentPath& subId = kNullSubent,
                              const Adesk::Boolean highlightAll = false) const;
  Acad::ErrorStatus unhighlight(const AcDbFullSubentPath& subId = kNullSubent,
                                const Adesk::Boolean highlightAll = false) const;

  // Geometry hooks for every entity class. The defaults: eInvalidExtents, eNotApplicable.
  virtual Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const;
  virtual Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix);
  // A transformed clone outside the database.
  virtual Acad::ErrorStatus getTransformedCopy(const AcGeMatrix3d& matrix, AcDbEntity*& copy) const;
  // New entities (outside any database, the caller's) that make up this one.
  virtual Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const;
  // Prints the entity on the command line: type, layer, space, colour, linetype, handle, then
  // the class's own lines (ListGeometry).
  virtual void list() const;

 protected:
  AcDbEntity() = default;
  AcDbEntity(const AcDbEntity& other);
  // The lines of list() after the common ones.
  virtual void ListGeometry() const {}

 private:
  friend struct plx::db::ObjectAccess;
  AcDbObjectId layer_;
  AcDbObjectId linetype_;
  AcCmColor color_;
  bool colorSet_ = false;  // appending gives an entity that was never coloured the current colour
  mutable int highlights_ = 0;
  mutable bool highlighted_ = false;
};

// Walks the sub-objects of a complex entity (vertices, face records) in order.
class AcDbObjectIterator : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbObjectIterator);
  // At the first (or, atEnd, the last) object that is not erased.
  virtual void start(bool atEnd = false) = 0;
  virtual bool done() const = 0;
  virtual void step(bool backwards = false, bool skipErasedObjects = true) = 0;
  virtual AcDbObjectId objectId() = 0;
  // The object itself, for an owner outside a database (whose sub-objects have no id).
  virtual AcDbEntity* entity() = 0;
  virtual void setPosition(AcDbEntity* entity) = 0;
  virtual void setPosition(AcDbObjectId id) = 0;
};

class AcDbDatabase : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbDatabase);
  // A new drawing: the block table with "*Model_Space" and "*Paper_Space", the layer table with
  // layer "0" (colour 7, Continuous), the linetype table with "ByBlock", "ByLayer" and
  // "Continuous". Without buildDefaultDrawing the same (there is no file to read).
  explicit AcDbDatabase(bool buildDefaultDrawing = true, bool noDocument = false);
  ~AcDbDatabase() override;
  AcDbDatabase(const AcDbDatabase&) = delete;
  AcDbDatabase& operator=(const AcDbDatabase&) = delete;

  Acad::ErrorStatus getSymbolTable(AcDbBlockTable*& table, AcDb::OpenMode mode);
  Acad::ErrorStatus getSymbolTable(AcDbLayerTable*& table, AcDb::OpenMode mode);
  Acad::ErrorStatus getSymbolTable(AcDbLinetypeTable*& table, AcDb::OpenMode mode);
  Acad::ErrorStatus getBlockTable(AcDbBlockTable*& table, AcDb::OpenMode mode) { return getSymbolTable(table, mode); }
  Acad::ErrorStatus getLayerTable(AcDbLayerTable*& table, AcDb::OpenMode mode) { return getSymbolTable(table, mode); }
  Acad::ErrorStatus getLinetypeTable(AcDbLinetypeTable*& table, AcDb::OpenMode mode) {
    return getSymbolTable(table, mode);
  }
  AcDbObjectId blockTableId() const;
  AcDbObjectId layerTableId() const;
  AcDbObjectId linetypeTableId() const;
  AcDbObjectId layerZero() const;
  AcDbObjectId byLayerLinetype() const;
  AcDbObjectId byBlockLinetype() const;
  AcDbObjectId continuousLinetype() const;
  AcDbObjectId modelSpaceId() const;
  AcDbObjectId paperSpaceId() const;
  AcDbObjectId currentSpaceId() const { return modelSpaceId(); }

  // Current layer (CLAYER), linetype (CELTYPE) and colour (CECOLOR) of new entities.
  AcDbObjectId clayer() const;
  Acad::ErrorStatus setClayer(AcDbObjectId layer);  // eWrongObjectType for a non-layer id
  AcDbObjectId celtype() const;
  Acad::ErrorStatus setCeltype(AcDbObjectId linetype);
  AcCmColor cecolor() const;
  Acad::ErrorStatus setCecolor(const AcCmColor& color);

  // The object of a handle: eNullHandle for the null handle, eUnknownHandle for one that names
  // nothing (createIfNotFound is not supported and changes nothing).
  Acad::ErrorStatus getAcDbObjectId(AcDbObjectId& id, bool createIfNotFound, const AcDbHandle& handle,
                                    Adesk::UInt32 xRefId = 0);
  // The next handle that an object will get.
  AcDbHandle handseed() const;
  // Objects in the database, erased ones included.
  Adesk::UInt32 approxNumObjects() const;

  struct Impl;
  Impl& GetImpl() const { return *impl_; }

 private:
  Impl* impl_;
};

class AcDbHostApplicationServices {
 public:
  virtual ~AcDbHostApplicationServices() = default;
  // The drawing that the host works on; there is always one.
  virtual AcDbDatabase* workingDatabase() const;
  // Makes another database the working one; null restores the host's own.
  virtual void setWorkingDatabase(AcDbDatabase* database);
};

AcDbHostApplicationServices* acdbHostApplicationServices();

// Opens an object: eNullObjectId, eUnknownHandle for an id whose database is gone, eWasErased
// (unless openErased), eWasOpenForRead, eWasOpenForWrite, eAtMaxReaders; with a class, an
// object that is not of it gives eNotThatKindOfClass. object is null on failure.
Acad::ErrorStatus acdbOpenObject(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode,
                                 bool openErased = false, const AcRxClass* pClass = nullptr);
Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased = false, const AcRxClass* pClass = nullptr);
// eNotAnEntity for an object that is not an entity.
Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& entity, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased = false);

template <class T>
Acad::ErrorStatus acdbOpenObject(T*& object, AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false) {
  AcDbObject* opened = nullptr;
  const Acad::ErrorStatus es = acdbOpenObject(opened, id, mode, openErased, T::desc());
  object = es == Acad::eOk ? static_cast<T*>(opened) : nullptr;
  return es;
}

// Selection names of entities: eInvalidAdsName for a name that names no object, eNullObjectId
// for the null id.
Acad::ErrorStatus acdbGetAdsName(ads_name name, AcDbObjectId id);
Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name name);
