// Vertices: the sub-objects of polylines and meshes. Each is an entity of its own with an id
// once its owner is in a database; the owner's vertex iterator walks them in order.
#pragma once

#include <vector>

#include "dbmain.h"

class AcDbVertex : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbVertex);

 protected:
  AcDbVertex() = default;
  AcDbVertex(const AcDbVertex&) = default;
};

namespace plx::db {

// The sub-objects of a complex entity, in order: held by the entity while it is outside a
// database, by the database (as ids, found in constant time) once it is in one.
class VertexList {
 public:
  VertexList() = default;
  VertexList(const VertexList& other);  // deep: copies of every sub-object, in no database
  VertexList& operator=(const VertexList&) = delete;
  ~VertexList();

  // Appends a new sub-object: the owner must be open for write (eNotOpenForWrite), the vertex
  // new (eAlreadyInDb). In a database, the vertex gets its id and stays open for write.
  Acad::ErrorStatus Append(AcDbEntity& owner, AcDbEntity* vertex, AcDbObjectId* id);
  // The owner has entered a database: every held sub-object follows, closed.
  void AddToDatabase(AcDbEntity& owner);

  size_t Size() const { return ids_.empty() ? held_.size() : ids_.size(); }
  size_t LiveCount() const;
  // The sub-object itself, without opening it; null when it is gone.
  AcDbEntity* At(size_t index) const;
  AcDbObjectId IdAt(size_t index) const { return index < ids_.size() ? ids_[index] : AcDbObjectId(); }
  bool ErasedAt(size_t index) const;

 private:
  std::vector<AcDbEntity*> held_;
  std::vector<AcDbObjectId> ids_;
};

// Walks one or two lists (a polyface mesh's vertices, then its face records).
class VertexIterator final : public AcDbObjectIterator {
 public:
  VertexIterator(const VertexList* first, const VertexList* second = nullptr);
  void start(bool atEnd = false) override;
  bool done() const override;
  void step(bool backwards = false, bool skipErasedObjects = true) override;
  AcDbObjectId objectId() override;
  AcDbEntity* entity() override;
  void setPosition(AcDbEntity* entity) override;
  void setPosition(AcDbObjectId id) override;

 private:
  size_t Count() const;
  const VertexList* ListOf(size_t position, size_t& index) const;
  bool ErasedAt(size_t position) const;
  const VertexList* first_;
  const VertexList* second_;
  long position_ = 0;
};

}  // namespace plx::db
