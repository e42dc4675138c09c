// DXFIN: a DXF file into the working drawing.
//
// The symbol tables and model and paper space are opened for write once, the file's linetypes,
// layers and blocks are added, and the entities are appended in batches while the file is
// read, so that a drawing of a million faces is never held whole in the reader's model. Should
// the file turn out damaged, or the drawing refuse a step half-way, everything added so far is
// taken back again, so that the drawing is as it was.
//
// What the drawing already has wins: a layer, linetype or named block of the drawing keeps its
// settings and its entities, and the file's entities use it. An anonymous block ("*U3") whose
// name is taken gets the next free number.
//
// A file can ask for more than a drawing holds: a block that inserts itself (directly or
// through other blocks) is refused before its entities are added, and so is an INSERT array
// past the import's budget of copies. Running out of memory part-way takes back what was added.
#include "Import.h"

#include <algorithm>
#include <cctype>
#include <cwctype>
#include <filesystem>
#include <memory>
#include <new>
#include <unordered_map>

#include "../db/Access.h"
#include "../runtime/Session.h"
#include "arxhost/DxfImport.h"
#include "win32/text.h"
#include "win32/transcript.h"

namespace plx::dxf {
namespace {

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

std::string StatusText(Acad::ErrorStatus es) {
  return "status " + std::to_string(static_cast<int>(es));
}

}  // namespace

std::wstring TableName(std::string_view name) {
  std::wstring wide = plx::WideFromUtf8(name);
  for (size_t i = 0; i < wide.size(); ++i)
    if (std::wstring_view(L"<>/\\\":;?*|,=`").find(wide[i]) != std::wstring_view::npos &&
        !(i == 0 && wide[i] == L'*'))
      wide[i] = L'_';
  return wide;
}

ImportTables::ImportTables(AcDbDatabase& database, const Drawing& drawing, AcDbLayerTable& layers,
                           AcDbLinetypeTable& linetypes, AcDbBlockTable& blocks)
    : database_(database),
      drawing_(drawing),
      layerTable_(layers),
      linetypeTable_(linetypes),
      blockTable_(blocks) {
  fileLayers_.reserve(drawing.layers.size());
  for (const plx::dxf::Layer& layer : drawing.layers)
    fileLayers_.emplace(UpperAscii(layer.name), &layer);
  for (const plx::dxf::Linetype& linetype : drawing.linetypes)
    fileLinetypes_.emplace(UpperAscii(linetype.name), &linetype);
}

AcDbObjectId ImportTables::Linetype(const std::string& name) {
  if (const auto it = linetypes_.find(name); it != linetypes_.end()) return it->second;
  const std::string upper = UpperAscii(name);
  AcDbObjectId id;
  if (upper.empty() || upper == "BYLAYER") {
    id = database_.byLayerLinetype();
  } else if (upper == "BYBLOCK") {
    id = database_.byBlockLinetype();
  } else {
    const std::wstring tableName = TableName(name);
    if (linetypeTable_.getAt(tableName.c_str(), id) != Acad::eOk) {
      auto record = std::make_unique<AcDbLinetypeTableRecord>();
      record->setName(tableName.c_str());
      if (const auto file = fileLinetypes_.find(upper); file != fileLinetypes_.end())
        record->setComments(plx::WideFromUtf8(file->second->description).c_str());
      const Acad::ErrorStatus es = linetypeTable_.add(id, record.get());
      if (es != Acad::eOk) {
        error_ = "the drawing refused the linetype " + name + " (" + StatusText(es) + ")";
        return AcDbObjectId();
      }
      record.release()->close();
    }
  }
  linetypes_.emplace(name, id);
  return id;
}

AcDbObjectId ImportTables::Layer(const std::string& name) {
  if (const auto it = layers_.find(name); it != layers_.end()) return it->second;
  const std::wstring tableName = TableName(name.empty() ? std::string("0") : name);
  AcDbObjectId id;
  if (layerTable_.getAt(tableName.c_str(), id) != Acad::eOk) {
    auto record = std::make_unique<AcDbLayerTableRecord>();
    record->setName(tableName.c_str());
    if (const auto file = fileLayers_.find(UpperAscii(name)); file != fileLayers_.end()) {
      const plx::dxf::Layer& layer = *file->second;
      AcCmColor color;
      if (layer.trueColour != kNoTrueColour)
        color.setRGB(static_cast<Adesk::UInt8>(layer.trueColour >> 16 & 0xFF),
                     static_cast<Adesk::UInt8>(layer.trueColour >> 8 & 0xFF),
                     static_cast<Adesk::UInt8>(layer.trueColour & 0xFF));
      else
        color.setColorIndex(static_cast<Adesk::UInt16>(
            layer.colour >= 1 && layer.colour <= 255 ? layer.colour : 7));
      record->setColor(color);
      record->setIsOff(layer.off);
      record->setIsFrozen((layer.flags & 1) != 0);
      record->setIsLocked((layer.flags & 4) != 0);
      const std::string upperLinetype = UpperAscii(layer.linetype);
      if (!layer.linetype.empty() && upperLinetype != "BYLAYER" && upperLinetype != "BYBLOCK") {
        const AcDbObjectId linetype = Linetype(layer.linetype);
        if (linetype.isNull()) return AcDbObjectId();
        record->setLinetypeObjectId(linetype);
      }
    }
    const Acad::ErrorStatus es = layerTable_.add(id, record.get());
    if (es != Acad::eOk) {
      error_ = "the drawing refused the layer " + name + " (" + StatusText(es) + ")";
      return AcDbObjectId();
    }
    record.release()->close();
  }
  layers_.emplace(name, id);
  return id;
}

AcDbObjectId ImportTables::Block(const std::string& name) const {
  const auto it = blocks_.find(UpperAscii(name));
  return it == blocks_.end() ? AcDbObjectId() : it->second;
}

std::string ImportTables::At(size_t position) const {
  return (drawing_.binary ? "byte " : "line ") + std::to_string(position) + ": ";
}

const MlineStyle* ImportTables::FindMlineStyle(const std::string& name, uint64_t handle) const {
  const std::string upper = UpperAscii(name);
  for (const MlineStyle& style : drawing_.mlineStyles)
    if ((handle != 0 && style.handle == handle) ||
        (!upper.empty() && UpperAscii(style.name) == upper))
      return &style;
  return nullptr;
}

namespace {

template <class T>
void CloseIfOpen(T*& object) {
  if (object) object->close();
  object = nullptr;
}

// A free name for an anonymous block of the file whose name the drawing already uses. The
// search for a stem goes on from where the last one ended (next), so that thousands of blocks
// of one name cost one probe each, not a search from 1 each.
std::wstring FreeAnonymousName(const AcDbBlockTable& table, const std::wstring& name,
                               std::unordered_map<std::wstring, unsigned>& next) {
  std::wstring stem = name;
  while (stem.size() > 1 && std::iswdigit(stem.back())) stem.pop_back();
  unsigned& n = next.try_emplace(stem, 1u).first->second;
  for (;; ++n) {
    std::wstring candidate = stem + std::to_wstring(n);
    if (!table.has(candidate.c_str())) {
      ++n;
      return candidate;
    }
  }
}

// Entities arrive in batches while the file is read (what the reader keeps comes at the end).
// The tables and spaces stay open for write from the first batch to the end; should the file
// turn out damaged, or the drawing refuse a step, Abandon takes back all that was added.
class Import final : public EntitySink {
 public:
  explicit Import(AcDbDatabase& database) : database_(database), mark_(database.handseed()) {}
  ~Import() override { CloseAll(); }

  SinkAnswer Take(const Drawing& drawing, std::vector<Entity>& batch,
                  std::string& error) override {
    // Without the file's layer table yet, layers would get the host's defaults; inserts want
    // their blocks and multilines their styles (OBJECTS follows). Solids come with their ACIS
    // data, which the reader found in ACDSDATA beforehand or holds them back until it has.
    if (drawing.layers.empty()) return SinkAnswer::kKept;
    if (!Start(drawing, error)) return SinkAnswer::kFailed;
    for (const Entity& entity : batch)
      if (entity.kind == EntityKind::kMline ||
          (entity.kind == EntityKind::kInsert &&
           tables_->Block(std::get<InsertData>(entity.data).block).isNull()))
        return SinkAnswer::kKept;
    return AddEntities(batch, error) ? SinkAnswer::kTaken : SinkAnswer::kFailed;
  }

  // The rest after the whole file was read.
  bool Finish(const Drawing& drawing, std::string& error) {
    drawing_ = &drawing;
    if (!Start(drawing, error) || !AddBlocks(error) || !AddEntities(drawing.entities, error))
      return false;
    CloseAll();
    return true;
  }

  // Takes back all that the import added (its objects are the newest of the drawing), so that
  // the drawing is as it was, down to its handle seed.
  void Abandon() {
    CloseAll();
    plx::db::DiscardObjectsFrom(database_, mark_);
  }

  const ImportCounts& Counts() const { return counts_; }

 private:
  bool Start(const Drawing& drawing, std::string& error) {
    drawing_ = &drawing;
    if (tables_) return true;
    if (!Open(error)) return false;
    tables_ = std::make_unique<ImportTables>(database_, drawing, *layers_, *linetypes_, *blocks_);
    return AddTables(error) && AddBlocks(error);
  }

  bool Open(std::string& error) {
    Acad::ErrorStatus es = database_.getLayerTable(layers_, AcDb::kForWrite);
    if (es == Acad::eOk) es = database_.getLinetypeTable(linetypes_, AcDb::kForWrite);
    if (es == Acad::eOk) es = database_.getBlockTable(blocks_, AcDb::kForWrite);
    if (es == Acad::eOk)
      es = acdbOpenObject(modelSpace_, database_.modelSpaceId(), AcDb::kForWrite);
    if (es == Acad::eOk)
      es = acdbOpenObject(paperSpace_, database_.paperSpaceId(), AcDb::kForWrite);
    if (es != Acad::eOk) {
      error = "the drawing's tables or spaces are open elsewhere (" + StatusText(es) +
              "); nothing was imported";
      return false;
    }
    return true;
  }

  void CloseAll() {
    tables_.reset();
    for (AcDbBlockTableRecord*& record : openBlocks_) CloseIfOpen(record);
    openBlocks_.clear();
    CloseIfOpen(paperSpace_);
    CloseIfOpen(modelSpace_);
    CloseIfOpen(blocks_);
    CloseIfOpen(linetypes_);
    CloseIfOpen(layers_);
  }

  // The file's tables in their order, so that the drawing lists them as the file does.
  bool AddTables(std::string& error) {
    for (const Linetype& linetype : drawing_->linetypes)
      if (tables_->Linetype(linetype.name).isNull()) return error = tables_->Error(), false;
    for (const Layer& layer : drawing_->layers)
      if (tables_->Layer(layer.name).isNull()) return error = tables_->Error(), false;
    return true;
  }

  // Every block's record first, so that inserts find blocks defined later in the file; then
  // the entities of the blocks that are new. Blocks already added are not added again.
  bool AddBlocks(std::string& error) {
    tables_->SetBlock("*MODEL_SPACE", database_.modelSpaceId());
    tables_->SetBlock("*PAPER_SPACE", database_.paperSpaceId());
    std::vector<std::pair<const Block*, AcDbBlockTableRecord*>> fill;
    const std::vector<Block>& blocks = drawing_->blocks;
    fill.reserve(blocks.size() - blocksAdded_);
    for (; blocksAdded_ < blocks.size(); ++blocksAdded_) {
      const Block& block = blocks[blocksAdded_];
      const std::string upper = UpperAscii(block.name);
      if (upper == "*MODEL_SPACE" || upper == "$MODEL_SPACE") {
        tables_->SetBlock(upper, database_.modelSpaceId());
        fill.emplace_back(&block, modelSpace_);
        continue;
      }
      if (upper == "*PAPER_SPACE" || upper == "$PAPER_SPACE") {
        tables_->SetBlock(upper, database_.paperSpaceId());
        fill.emplace_back(&block, paperSpace_);
        continue;
      }
      std::wstring name = TableName(block.name);
      AcDbObjectId existing;
      if (blocks_->getAt(name.c_str(), existing) == Acad::eOk) {
        if (name.empty() || name[0] != L'*') {
          tables_->SetBlock(upper, existing);
          continue;
        }
        name = FreeAnonymousName(*blocks_, name, nextAnonymous_);
      }
      auto made = std::make_unique<AcDbBlockTableRecord>();
      made->setName(name.c_str());
      made->setOrigin(AcGePoint3d(block.base.x, block.base.y, block.base.z));
      AcDbObjectId id;
      ReserveOneMore(openBlocks_);
      const Acad::ErrorStatus es = blocks_->add(id, made.get());
      if (es != Acad::eOk) {
        error = "the drawing refused the block " + block.name + " (" + StatusText(es) + ")";
        return false;
      }
      AcDbBlockTableRecord* record = made.release();
      openBlocks_.push_back(record);
      tables_->SetBlock(upper, id);
      fill.emplace_back(&block, record);
    }
    if (!RefuseCycles(fill, error)) return false;
    for (const auto& [block, record] : fill)
      for (const Entity& entity : block->entities)
        if (!AppendEntity(entity, *record, *tables_, counts_, error)) return false;
    return true;
  }

  // A block that inserts itself, directly or through others, would make every query of its
  // extents or pieces endless. Only blocks new in this call can close a cycle: the drawing's
  // own blocks and those of earlier calls could not name them when they were filled.
  bool RefuseCycles(const std::vector<std::pair<const Block*, AcDbBlockTableRecord*>>& fill,
                    std::string& error) const {
    std::unordered_map<AcDbObjectId, size_t> index;
    for (size_t i = 0; i < fill.size(); ++i)
      if (fill[i].second != modelSpace_ && fill[i].second != paperSpace_)
        index.emplace(fill[i].second->objectId(), i);
    // Depth-first, without recursion (a chain can be as long as the file has blocks).
    enum : char { kNew, kOnPath, kDone };
    std::vector<char> state(fill.size(), kNew);
    struct Step {
      size_t block;
      size_t entity;
    };
    std::vector<Step> path;
    for (size_t firstIndex = 0; firstIndex < fill.size(); ++firstIndex) {
      if (state[firstIndex] != kNew || !index.count(fill[firstIndex].second->objectId())) continue;
      path.push_back({firstIndex, 0});
      state[firstIndex] = kOnPath;
      while (!path.empty()) {
        Step& step = path.back();
        const std::vector<Entity>& entities = fill[step.block].first->entities;
        if (step.entity == entities.size()) {
          state[step.block] = kDone;
          path.pop_back();
          continue;
        }
        const Entity& entity = entities[step.entity++];
        const auto* insert = std::get_if<InsertData>(&entity.data);
        if (!insert) continue;
        const auto target = index.find(tables_->Block(insert->block));
        if (target == index.end() || state[target->second] == kDone) continue;
        if (state[target->second] == kOnPath) {
          std::string chain;
          bool on = false;
          for (const Step& s : path) {
            on = on || s.block == target->second;
            if (on) chain += fill[s.block].first->name + " > ";
          }
          chain += fill[target->second].first->name;
          error = tables_->At(entity.position) + "the block " + fill[target->second].first->name +
                  " inserts itself (" + chain + "); a block cannot contain itself";
          return false;
        }
        state[target->second] = kOnPath;
        path.push_back({target->second, 0});
      }
    }
    return true;
  }

  bool AddEntities(const std::vector<Entity>& entities, std::string& error) {
    for (const Entity& entity : entities)
      if (!AppendEntity(entity, entity.paperSpace ? *paperSpace_ : *modelSpace_, *tables_, counts_,
                        error))
        return false;
    return true;
  }

  AcDbDatabase& database_;
  const AcDbHandle mark_;  // the handle seed before the import
  const Drawing* drawing_ = nullptr;
  std::unique_ptr<ImportTables> tables_;
  size_t blocksAdded_ = 0;
  AcDbLayerTable* layers_ = nullptr;
  AcDbLinetypeTable* linetypes_ = nullptr;
  AcDbBlockTable* blocks_ = nullptr;
  AcDbBlockTableRecord* modelSpace_ = nullptr;
  AcDbBlockTableRecord* paperSpace_ = nullptr;
  std::vector<AcDbBlockTableRecord*> openBlocks_;
  std::unordered_map<std::wstring, unsigned> nextAnonymous_;
  ImportCounts counts_;
};

}  // namespace
}  // namespace plx::dxf

namespace plx::host {

bool ImportDxfFile(const std::filesystem::path& path, AcDbDatabase& database, std::string& error,
                   DxfImportReport* report) {
  const std::string outOfMemory =
      "not enough memory to import " + path.string() + "; the drawing is as it was.";
  auto drawing = std::make_unique<dxf::Drawing>();
  dxf::Import import(database);
  try {
    if (!dxf::ReadDxfFile(path, *drawing, error, import) || !import.Finish(*drawing, error)) {
      // The file's model goes first, so that the roll-back has memory to work with.
      drawing.reset();
      import.Abandon();
      // The reader also answers for memory that ran out in the import's batches.
      if (error == dxf::kReadOutOfMemory) error = outOfMemory;
      return false;
    }
  } catch (const std::bad_alloc&) {
    drawing.reset();
    import.Abandon();
    error = outOfMemory;
    return false;
  }
  if (report) {
    const dxf::ImportCounts& counts = import.Counts();
    report->appended = counts.appended;
    report->skipped = drawing->skipped;
    for (const auto& [type, count] : counts.skipped) report->skipped[type] += count;
    report->leftOut = counts.leftOut;
    report->unreadable = counts.unreadable;
  }
  return true;
}

namespace {

void Dxfin(bool& imported);

// Out of memory anywhere in the command ends it as a failure; the import itself has undone
// what it added by then.
void DxfinCommand() {
  bool imported = false;
  try {
    Dxfin(imported);
  } catch (const std::bad_alloc&) {
    if (imported) {
      WriteTranscript(
          L"DXFIN: not enough memory to report on the import; the file was imported.\n");
      return;
    }
    WriteTranscript(L"DXFIN: not enough memory to import the file; the drawing is as it was.\n");
    FailCurrentCommand();
  }
}

void Dxfin(bool& imported) {
  const std::optional<std::filesystem::path> file = AskFileToImport(L"DXFIN", ".dxf");
  if (!file) return;
  const std::filesystem::path& path = *file;

  std::string error;
  DxfImportReport report;
  if (!ImportDxfFile(path, *acdbHostApplicationServices()->workingDatabase(), error, &report)) {
    WriteTranscript(L"DXFIN: " + plx::WideFromUtf8(error) + L"\n");
    FailCurrentCommand();
    return;
  }
  imported = true;
  for (const auto& [type, count] : report.skipped)
    WriteTranscript(
        plx::FormatWide(L"DXFIN: skipped %d %s\n", count, plx::WideFromUtf8(type).c_str()));
  for (const auto& [type, count] : report.leftOut)
    WriteTranscript(plx::FormatWide(L"DXFIN: left out %d %s whose data the drawing cannot hold\n",
                                    count, plx::WideFromUtf8(type).c_str()));
  for (const std::string& unreadable : report.unreadable)
    WriteTranscript(L"DXFIN: " + plx::WideFromUtf8(unreadable) + L"\n");
  WriteTranscript(
      plx::FormatWide(L"DXFIN: %d objects imported.\n", static_cast<int>(report.appended)));
}

}  // namespace

void RegisterZoomCommand();

void RegisterDxfCommands() {
  AddHostCommand(L"DXFIN", DxfinCommand);
  RegisterZoomCommand();
}

}  // namespace plx::host
