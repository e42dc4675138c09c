// Sub-entity paths: which part of an entity (a face, an edge, a vertex) an operation means. The
// null path means the whole entity.
#pragma once

#include "adesk.h"
#include "dbid.h"

struct AcDbSubentType {
  enum SubentType { kNullSubentType = 0, kFaceSubentType, kEdgeSubentType, kVertexSubentType };
};

class AcDbSubentId {
 public:
  AcDbSubentId() = default;
  AcDbSubentId(AcDbSubentType::SubentType type, Adesk::GsMarker index) : type_(type), index_(index) {}
  AcDbSubentType::SubentType type() const { return type_; }
  Adesk::GsMarker index() const { return index_; }
  bool operator==(const AcDbSubentId& o) const { return type_ == o.type_ && index_ == o.index_; }
  bool operator!=(const AcDbSubentId& o) const { return !(*this == o); }

 private:
  AcDbSubentType::SubentType type_ = AcDbSubentType::kNullSubentType;
  Adesk::GsMarker index_ = 0;
};

class AcDbFullSubentPath {
 public:
  AcDbFullSubentPath() = default;
  AcDbFullSubentPath(const AcDbObjectId& entity, const AcDbSubentId& subent) : subent_(subent) {
    if (!entity.isNull()) ids_.append(entity);
  }
  AcDbFullSubentPath(const AcDbObjectIdArray& path, const AcDbSubentId& subent) : ids_(path), subent_(subent) {}
  AcDbObjectIdArray& objectIds() { return ids_; }
  const AcDbObjectIdArray& objectIds() const { return ids_; }
  AcDbSubentId& subentId() { return subent_; }
  const AcDbSubentId& subentId() const { return subent_; }
  // No entity and no sub-entity: the whole entity.
  bool isNull() const { return ids_.isEmpty() && subent_ == AcDbSubentId(); }
  bool operator==(const AcDbFullSubentPath& o) const { return ids_ == o.ids_ && subent_ == o.subent_; }

 private:
  AcDbObjectIdArray ids_;
  AcDbSubentId subent_;
};

inline const AcDbFullSubentPath kNullSubent{};
