// The DXF import's insides, shared by the command and the entity conversion: names of the
// file resolved to ids of the drawing (each name looked up once, then kept in a hash map),
// and the conversion of one entity of the model into database objects.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "arxhost/Dxf.h"
#include "dbsymtb.h"

namespace plx::dxf {

// A name that the symbol tables take: characters they refuse become '_' (a leading '*', which
// marks anonymous blocks and the host's hidden layers, is kept).
std::wstring TableName(std::string_view name);

// Layers, linetypes and blocks of the file in the drawing. Each lookup by a name already seen
// is one hash-map probe.
class ImportTables {
 public:
  ImportTables(AcDbDatabase& database, const Drawing& drawing, AcDbLayerTable& layers,
               AcDbLinetypeTable& linetypes, AcDbBlockTable& blocks);
  ImportTables(const ImportTables&) = delete;
  ImportTables& operator=(const ImportTables&) = delete;

  // The layer of that name; one the drawing lacks is made with the file's settings (or the
  // host's defaults when the file's table does not list it). Null when the table refuses it.
  AcDbObjectId Layer(const std::string& name);
  // Empty or BYLAYER: by layer; a linetype the drawing lacks is made (its description from the
  // file, when it has one).
  AcDbObjectId Linetype(const std::string& name);
  // The block table record of a block of the file (model and paper space included); null for
  // a name the file and the drawing lack.
  AcDbObjectId Block(const std::string& name) const;
  void SetBlock(const std::string& name, AcDbObjectId id) { blocks_[name] = id; }
  // The file's multiline style of that name or handle, or null.
  const MlineStyle* FindMlineStyle(const std::string& name, uint64_t handle) const;

  AcDbDatabase& Database() const { return database_; }
  AcDbBlockTable& BlockTable() const { return blockTable_; }
  // "line N: " (or "byte N: " in a binary file), to open a message about the record there.
  std::string At(size_t position) const;
  // What went wrong when a lookup gave the null id.
  const std::string& Error() const { return error_; }

 private:
  AcDbDatabase& database_;
  const Drawing& drawing_;
  AcDbLayerTable& layerTable_;
  AcDbLinetypeTable& linetypeTable_;
  AcDbBlockTable& blockTable_;
  std::unordered_map<std::string, AcDbObjectId> layers_, linetypes_, blocks_;
  std::unordered_map<std::string, const plx::dxf::Layer*> fileLayers_;
  std::unordered_map<std::string, const plx::dxf::Linetype*> fileLinetypes_;
  std::string error_;
};

// Block references that INSERT arrays of one import may make in all: each copy is an entity
// of its own, and a 116-byte file can ask for a billion.
constexpr uint64_t kMaxArrayCopies = 1000000;

// Room for one more element, made before the drawing takes an object, so that recording the
// object (to close it later) cannot run out of memory once the drawing holds it.
template <class T>
void ReserveOneMore(std::vector<T>& list) {
  if (list.size() == list.capacity()) list.reserve(list.empty() ? 64 : list.size() * 2);
}

struct ImportCounts {
  size_t appended = 0;
  uint64_t arrayCopies = 0;            // block references made by arrays (rows x columns above 1)
  std::map<std::string, int> skipped;  // not held by the drawing model
  std::map<std::string, int> leftOut;  // held, but refused by its class
  // Solids, bodies and regions whose ACIS data cannot be read: "3DSOLID 2E1: <reason>".
  std::vector<std::string> unreadable;
};

// The entities of a 3DSOLID, BODY or REGION, of the class the file names, one for each body of
// its ACIS data (SAT text or SAB), not yet in the drawing. Empty with the reason when the data
// cannot be read: none, a SAB byte count that does not match, damaged records, geometry the
// modeller cannot use, no face.
std::vector<std::unique_ptr<AcDbEntity>> MakeModelers(const Entity& entity, const ModelerData& data,
                                                      std::string& reason);
// "<type> <handle>: <reason>", the handle in hexadecimal as the file writes it.
std::string UnreadableText(const Entity& entity, const std::string& reason);

// Whether the drawing model holds entities of this kind (the others are skipped).
bool IsHeldKind(EntityKind kind);

// Makes the entity's database objects (several for an array insert) and appends them to the
// record, which is open for write. An entity whose data its class refuses is counted in
// counts.leftOut and appends nothing. False with error only when the database refuses a step.
bool AppendEntity(const Entity& entity, AcDbBlockTableRecord& record, ImportTables& tables,
                  ImportCounts& counts, std::string& error);

}  // namespace plx::dxf
