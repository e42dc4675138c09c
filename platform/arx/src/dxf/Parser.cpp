// Sections of a DXF file into the drawing model.
//
// A file is a run of sections (0 SECTION, 2 name, ..., 0 ENDSEC) ended by 0 EOF. Every record
// starts with a 0 group and runs to the next one. The header comes first and sets how strings
// are decoded ($ACADVER, $DWGCODEPAGE); tables give layers, linetypes and block records; blocks
// and entities hold entities, where a POLYLINE is followed by its VERTEX records and SEQEND,
// and an INSERT with attributes by ATTRIB records and SEQEND. From R2013 the ACIS data of
// solids lies in ACDSDATA, keyed by the solid's handle. Anything left open at the end of the
// data (a section, a block, a polyline, no EOF) means the file was cut short: it fails.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <new>
#include <unordered_map>

#include "ParserParts.h"

namespace plx::dxf {

using detail::Cat;
using detail::ParseHandle;
using detail::Trim;

const Layer* Drawing::FindLayer(std::string_view name) const {
  for (const Layer& layer : layers)
    if (layer.name == name) return &layer;
  return nullptr;
}

const Block* Drawing::FindBlock(std::string_view name) const {
  for (const Block& block : blocks)
    if (block.name == name) return &block;
  return nullptr;
}

namespace {

// The binary ACIS data of ACDSDATA, by the handle of the entity it belongs to.
struct AcisData {
  std::vector<uint8_t> bytes;
  std::string damage;  // why the bytes cannot be taken; empty when they can
};
using AcisByHandle = std::unordered_map<uint64_t, AcisData>;

class Parser {
 public:
  // acis: the binary ACIS data, when an earlier reading of the same file found it, so that
  // entities get theirs as they are read (ACDSDATA comes after them).
  // holdSolids: no earlier reading found the binary ACIS data, so a solid could still get its
  // data from an ACDSDATA section further on; from the first such solid, nothing more is
  // handed to the sink.
  explicit Parser(std::string_view data, EntitySink* sink = nullptr, AcisByHandle acis = {},
                  bool holdSolids = false)
      : data_(data),
        reader_(data),
        context_{decoder_, false, false, {}},
        sab_(std::move(acis)),
        sink_(sink),
        holdSolids_(holdSolids) {}
  AcisByHandle TakeAcis() { return std::move(sab_); }

  bool Run(Drawing& drawing);
  const std::string& Error() const { return error_; }
  // Whether the failure was the sink's, not the file's.
  bool SinkFailed() const { return sinkFailed_; }

 private:
  bool Fail(const std::string& what) {
    if (error_.empty())
      error_ = reader_.Failed() ? reader_.Error() : Cat({reader_.Where(), ": ", what});
    return false;
  }
  bool FailWith(const std::string& message) {
    if (error_.empty()) error_ = message;
    return false;
  }
  bool FailAt(size_t position, const std::string& what) {
    if (error_.empty())
      error_ = Cat({reader_.IsBinary() ? "byte " : "line ", std::to_string(position), ": ", what});
    return false;
  }
  // Reads the groups after a 0 group up to the next 0 group (left unread).
  bool ReadRecord();
  // Reads the next 0 group; false (with an error) when the data ends or is damaged.
  bool NextRecordStart(Group& group, std::string_view inside);

  bool ReadHeader(Drawing& drawing);
  bool ReadTables(Drawing& drawing);
  bool ReadBlocks(Drawing& drawing);
  bool ReadEntities(Drawing& drawing, std::vector<Entity>& into, std::string_view end,
                    std::string_view inside);
  bool ReadObjects(Drawing& drawing);
  bool ReadAcdsData();
  bool SkipSection(std::string_view name);
  bool Follow(const char* what, Drawing& drawing, Entity& owner);
  void AttachSab(Entity& entity);
  void AttachSab(std::vector<Entity>& entities);
  void ReserveEntities(Drawing& drawing);

  std::string_view data_;
  GroupReader reader_;
  TextDecoder decoder_;
  detail::ReadContext context_;
  std::vector<Group> record_;
  std::string error_;
  AcisByHandle sab_;
  EntitySink* sink_ = nullptr;  // null once it kept a batch
  bool holdSolids_ = false;
  bool sinkFailed_ = false;
};

// A solid, body or region that the binary ACIS data of an ACDSDATA section (keyed by its
// handle) could still reach, as AttachSab would at the end of the reading.
bool MayGetSabLater(const Entity& entity) {
  const auto* modeler = std::get_if<ModelerData>(&entity.data);
  return modeler && entity.handle != 0 && modeler->sab.empty() && modeler->sabDamage.empty();
}

// Small enough to stay in cache, large enough that handing it over costs nothing.
constexpr size_t kSinkBatch = 1024;

bool Parser::ReadRecord() {
  record_.clear();
  Group g;
  while (reader_.Next(g)) {
    if (g.code == 0) {
      reader_.Unread();
      return true;
    }
    if (g.code != 999) record_.push_back(g);
  }
  return !reader_.Failed() || Fail("");
}

bool Parser::NextRecordStart(Group& g, std::string_view inside) {
  while (reader_.Next(g)) {
    if (g.code == 0) return true;
    if (g.code == 999) continue;
    return Fail(Cat({"a record must start with group 0, not ", std::to_string(g.code)}));
  }
  if (reader_.Failed()) return Fail("");
  return Fail(Cat({"the file ends inside ", inside, " (cut short?)"}));
}

bool Parser::Run(Drawing& drawing) {
  drawing.binary = reader_.IsBinary();
  context_.binary = reader_.IsBinary();
  Group g;
  while (true) {
    if (!reader_.Next(g)) {
      if (reader_.Failed()) return Fail("");
      return Fail("the file ends without EOF (cut short?)");
    }
    if (g.code == 999) continue;
    std::string_view type = Trim(g.text);
    if (g.code != 0) return Fail(Cat({"expected a SECTION, found group ", std::to_string(g.code)}));
    if (type == "EOF") break;
    if (type != "SECTION") return Fail(Cat({"expected a SECTION, found '", type, "'"}));
    // The name comes right after; the header's variables follow without a 0 group.
    size_t at = g.position;
    std::string name;
    if (reader_.Next(g) && g.code == 2) {
      name = std::string(Trim(g.text));
    } else if (reader_.Failed()) {
      return Fail("");
    }
    if (name.empty()) return FailAt(at, "SECTION without a name");
    // Some sections (ACDSDATA) open with groups of their own before the first record.
    if (name != "HEADER" && !ReadRecord()) return false;
    bool ok = name == "HEADER"   ? ReadHeader(drawing)
              : name == "TABLES" ? ReadTables(drawing)
              : name == "BLOCKS" ? ReadBlocks(drawing)
              : name == "ENTITIES"
                  ? (ReserveEntities(drawing),
                     ReadEntities(drawing, drawing.entities, "ENDSEC", "the ENTITIES section"))
              : name == "OBJECTS"  ? ReadObjects(drawing)
              : name == "ACDSDATA" ? ReadAcdsData()
                                   : SkipSection(name);
    if (!ok) return false;
  }
  if (!sab_.empty()) {
    AttachSab(drawing.entities);
    for (Block& block : drawing.blocks) AttachSab(block.entities);
  }
  return true;
}

bool Parser::SkipSection(std::string_view name) {
  std::string inside = Cat({"the ", name, " section"});
  Group g;
  while (true) {
    if (!NextRecordStart(g, inside)) return false;
    std::string_view type = Trim(g.text);
    if (type == "ENDSEC") return ReadRecord();
    if (type == "EOF") return Fail(Cat({"EOF inside ", inside, " (ENDSEC missing)"}));
    if (!ReadRecord()) return false;
  }
}

bool Parser::ReadHeader(Drawing& drawing) {
  Group g;
  std::string variable;
  while (true) {
    if (!reader_.Next(g)) {
      if (reader_.Failed()) return Fail("");
      return Fail("the file ends inside the HEADER section (cut short?)");
    }
    if (g.code == 0) {
      std::string_view type = Trim(g.text);
      if (type == "ENDSEC") return ReadRecord();
      return Fail(Cat({"'", type, "' inside the HEADER section (ENDSEC missing)"}));
    }
    if (g.code == 9) {
      variable = std::string(Trim(g.text));
      continue;
    }
    if (variable == "$ACADVER" && g.code == 1) {
      drawing.version = std::string(Trim(g.text));
      // AC1021 (R2007) and later write UTF-8.
      if (drawing.version.size() == 6 && drawing.version.rfind("AC", 0) == 0) {
        decoder_.SetUtf8(drawing.version >= "AC1021");
        context_.enciphered = drawing.version >= "AC1012" && drawing.version <= "AC1024";
      }
    } else if (variable == "$DWGCODEPAGE" && g.code == 3) {
      drawing.codePage = std::string(Trim(g.text));
      decoder_.SetCodePage(drawing.codePage);
    } else if (variable == "$INSUNITS" && g.code == 70) {
      drawing.insUnits = static_cast<int>(g.integer);
    }
  }
}

bool Parser::ReadTables(Drawing& drawing) {
  Group g;
  std::string table;
  while (true) {
    if (!NextRecordStart(g, "the TABLES section")) return false;
    std::string_view type = Trim(g.text);
    if (!ReadRecord()) return false;
    if (type == "ENDSEC") return true;
    if (type == "EOF") return Fail("EOF inside the TABLES section (ENDSEC missing)");
    if (type == "TABLE") {
      table.clear();
      for (const Group& r : record_)
        if (r.code == 2 && table.empty()) table = std::string(Trim(r.text));
      continue;
    }
    if (type == "ENDTAB") {
      table.clear();
      continue;
    }
    if (type == "LAYER") {
      Layer layer;
      for (const Group& r : record_) {
        switch (r.code) {
          case 2: layer.name = decoder_.Decode(Trim(r.text)); break;
          case 5: layer.handle = ParseHandle(r.text); break;
          case 6: layer.linetype = decoder_.Decode(Trim(r.text)); break;
          case 62:
            layer.off = r.integer < 0;
            layer.colour = static_cast<int>(r.integer < 0 ? -r.integer : r.integer);
            break;
          case 420: layer.trueColour = static_cast<int32_t>(r.integer & 0xFFFFFF); break;
          case 70: layer.flags = static_cast<int>(r.integer); break;
          default: break;
        }
      }
      drawing.layers.push_back(std::move(layer));
    } else if (type == "LTYPE") {
      Linetype linetype;
      for (const Group& r : record_) {
        switch (r.code) {
          case 2: linetype.name = decoder_.Decode(Trim(r.text)); break;
          case 3: linetype.description = decoder_.Decode(r.text); break;
          case 40: linetype.patternLength = r.real; break;
          case 49: linetype.dashes.push_back(r.real); break;
          default: break;
        }
      }
      drawing.linetypes.push_back(std::move(linetype));
    } else if (type == "BLOCK_RECORD") {
      BlockRecord record;
      for (const Group& r : record_) {
        if (r.code == 2) record.name = decoder_.Decode(Trim(r.text));
        if (r.code == 5) record.handle = ParseHandle(r.text);
      }
      drawing.blockRecords.push_back(std::move(record));
    }
  }
}

bool Parser::ReadBlocks(Drawing& drawing) {
  Group g;
  while (true) {
    if (!NextRecordStart(g, "the BLOCKS section")) return false;
    std::string_view type = Trim(g.text);
    size_t at = g.position;
    if (!ReadRecord()) return false;
    if (type == "ENDSEC") return true;
    if (type == "EOF") return Fail("EOF inside the BLOCKS section (ENDSEC missing)");
    if (type != "BLOCK") return FailAt(at, Cat({"'", type, "' outside a block"}));
    Block block;
    for (const Group& r : record_) {
      switch (r.code) {
        case 2: block.name = decoder_.Decode(Trim(r.text)); break;
        case 5: block.handle = ParseHandle(r.text); break;
        case 8: block.layer = decoder_.Decode(Trim(r.text)); break;
        case 70: block.flags = static_cast<int>(r.integer); break;
        case 10: block.base.x = r.real; break;
        case 20: block.base.y = r.real; break;
        case 30: block.base.z = r.real; break;
        default: break;
      }
    }
    if (!ReadEntities(drawing, block.entities, "ENDBLK", Cat({"the block ", block.name})))
      return false;
    drawing.blocks.push_back(std::move(block));
  }
}

// Reads the records that belong to an owner (VERTEX of a POLYLINE, ATTRIB of an INSERT) up to
// its SEQEND. A missing SEQEND before the next entity is forgiven.
bool Parser::Follow(const char* what, Drawing& drawing, Entity& owner) {
  Group g;
  while (true) {
    if (!NextRecordStart(g, Cat({"the ", owner.type, " at ", reader_.IsBinary() ? "byte " : "line ",
                                 std::to_string(owner.position)})))
      return false;
    std::string_view type = Trim(g.text);
    size_t at = g.position;
    if (type == "SEQEND") return ReadRecord();
    if (type != what) {
      reader_.Unread();
      return true;
    }
    if (!ReadRecord()) return false;
    if (owner.kind == EntityKind::kPolyline) {
      if (!detail::AddVertex(record_, at, owner, context_)) return FailWith(context_.error);
    } else {
      ++drawing.skipped[std::string(type)];
    }
  }
}

bool Parser::ReadEntities(Drawing& drawing, std::vector<Entity>& into, std::string_view end,
                          std::string_view inside) {
  Group g;
  std::string where(inside);
  while (true) {
    if (!NextRecordStart(g, where)) return false;
    std::string_view type = Trim(g.text);
    size_t at = g.position;
    if (type == end) return ReadRecord();
    if (type == "EOF" || type == "ENDSEC" || type == "BLOCK" || type == "SECTION")
      return Fail(Cat({"'", type, "' inside ", where, " (", end, " missing)"}));
    if (!ReadRecord()) return false;
    if (type == "SEQEND") continue;
    if (type.empty()) return FailAt(at, "an entity without a type");
    Entity entity;
    entity.type = std::string(type);
    entity.position = at;
    if (!detail::ReadEntity(record_, entity, context_)) return FailWith(context_.error);
    if (entity.kind == EntityKind::kPolyline) {
      if (!Follow("VERTEX", drawing, entity)) return false;
      if (!detail::FinishPolyline(entity, context_)) return FailWith(context_.error);
    } else if (entity.kind == EntityKind::kInsert &&
               std::get<InsertData>(entity.data).hasAttributes) {
      if (!Follow("ATTRIB", drawing, entity)) return false;
    }
    if (entity.kind == EntityKind::kOther) {
      ++drawing.skipped[entity.type];
      continue;
    }
    if (!sab_.empty()) AttachSab(entity);
    if (holdSolids_ && sink_ && MayGetSabLater(entity)) sink_ = nullptr;
    into.push_back(std::move(entity));
    if (sink_ && into.size() >= kSinkBatch && &into == &drawing.entities) {
      switch (sink_->Take(drawing, into, error_)) {
        case SinkAnswer::kTaken: into.clear(); break;
        case SinkAnswer::kKept: sink_ = nullptr; break;
        case SinkAnswer::kFailed: sinkFailed_ = true; return false;
      }
    }
  }
}

bool Parser::ReadObjects(Drawing& drawing) {
  Group g;
  while (true) {
    if (!NextRecordStart(g, "the OBJECTS section")) return false;
    std::string_view type = Trim(g.text);
    if (!ReadRecord()) return false;
    if (type == "ENDSEC") return true;
    if (type == "EOF") return Fail("EOF inside the OBJECTS section (ENDSEC missing)");
    if (type != "MLINESTYLE") continue;
    MlineStyle style;
    bool elements = false;
    for (const Group& r : record_) {
      MlineStyleElement* e = style.elements.empty() ? nullptr : &style.elements.back();
      switch (r.code) {
        case 2: style.name = decoder_.Decode(Trim(r.text)); break;
        case 5: style.handle = ParseHandle(r.text); break;
        case 70: style.flags = static_cast<int>(r.integer); break;
        case 51: style.startAngle = r.real; break;
        case 52: style.endAngle = r.real; break;
        case 71: elements = true; break;
        case 49:
          if (elements) style.elements.push_back({r.real, kColourByLayer, {}});
          break;
        case 62:
          if (e) e->colour = static_cast<int>(r.integer);
          break;
        case 6:
          if (e) e->linetype = decoder_.Decode(Trim(r.text));
          break;
        default: break;
      }
    }
    drawing.mlineStyles.push_back(std::move(style));
  }
}

// ACDSRECORD: ... 2 AcDbDs::ID, 280, 320 <handle of the solid>, 2 ASM_Data, 280, 94 <size>,
// 310 chunks. A size that the chunks do not match marks the data damaged: the solid is then
// named and left out, while the rest of the drawing, whose structure is sound, still comes in.
bool Parser::ReadAcdsData() {
  Group g;
  while (true) {
    if (!NextRecordStart(g, "the ACDSDATA section")) return false;
    std::string_view type = Trim(g.text);
    if (!ReadRecord()) return false;
    if (type == "ENDSEC") return true;
    if (type == "EOF") return Fail("EOF inside the ACDSDATA section (ENDSEC missing)");
    if (type != "ACDSRECORD") continue;
    uint64_t handle = 0;
    bool asm_ = false;
    int64_t size = -1;
    AcisData acis;
    for (const Group& r : record_) {
      if (r.code == 320) handle = ParseHandle(r.text);
      if (r.code == 2) asm_ = Trim(r.text) == "ASM_Data";
      if (asm_ && r.code == 94) size = r.integer;
      if (asm_ && r.code == 310 && !AppendBinaryChunk(r, reader_.IsBinary(), acis.bytes))
        return FailAt(r.position, "the ACIS data is not hexadecimal");
    }
    if (!asm_ || handle == 0) continue;
    if (size >= 0 && static_cast<uint64_t>(size) != acis.bytes.size())
      acis.damage = Cat({"its ACIS data holds ", std::to_string(acis.bytes.size()),
                         " bytes, not the ", std::to_string(size), " its count gives"});
    sab_[handle] = std::move(acis);
  }
}

// Reserves room for as many entities as the rest of the data could hold. Growing a vector of
// a million entities step by step copies each several times and writes every page anew; pages
// of the reserve that are never written cost no memory.
void Parser::ReserveEntities(Drawing& drawing) {
  constexpr size_t kSmallestRecord = 96;  // bytes of the shortest ASCII entity worth counting
  size_t estimate = data_.size() / kSmallestRecord;
  // Batches handed over reuse the same room.
  if (sink_) estimate = std::min(estimate, kSinkBatch);
  if (estimate <= drawing.entities.capacity()) return;
  try {
    drawing.entities.reserve(estimate);
  } catch (const std::exception&) {
    // Address space refused: the vector grows as it goes.
    return;
  }
  // On small pages the first write of a large array faults every dozen entities, which costs
  // more than reading them; huge pages make that a fault every few thousand. Small drawings
  // stay on small pages, where zeroing whole huge pages would cost more than it saves.
  constexpr uintptr_t kHugePage = uintptr_t{2} << 20;
  constexpr size_t kHugeArray = size_t{32} << 20;
  if (drawing.entities.capacity() * sizeof(Entity) < kHugeArray) return;
  uintptr_t begin = reinterpret_cast<uintptr_t>(drawing.entities.data());
  uintptr_t end = begin + drawing.entities.capacity() * sizeof(Entity);
  begin = (begin + kHugePage - 1) & ~(kHugePage - 1);
  end &= ~(kHugePage - 1);
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

void Parser::AttachSab(Entity& entity) {
  auto* modeler = std::get_if<ModelerData>(&entity.data);
  if (!modeler || !modeler->sab.empty() || !modeler->sabDamage.empty()) return;
  auto it = sab_.find(entity.handle);
  if (it == sab_.end()) return;
  modeler->sab = it->second.bytes;
  modeler->sabDamage = it->second.damage;
}

void Parser::AttachSab(std::vector<Entity>& entities) {
  for (Entity& e : entities) AttachSab(e);
}

}  // namespace

namespace {

// How a reading ended: a failure of the file itself (damaged, cut short) or of something else
// (the sink refused, memory ran out), after which the rest of the file is still unread.
enum class Outcome { kRead, kDamaged, kStopped };

// acis: in, the binary ACIS data an earlier reading found (may be null); out, what this one found.
// holdSolids: see Parser.
Outcome ReadInto(std::string_view data, Drawing& drawing, std::string& error, EntitySink* sink,
                 AcisByHandle* acis = nullptr, bool holdSolids = false) {
  error.clear();
  try {
    Parser parser(data, sink, acis ? std::move(*acis) : AcisByHandle{}, holdSolids);
    if (!parser.Run(drawing)) {
      error = parser.Error();
      return parser.SinkFailed() ? Outcome::kStopped : Outcome::kDamaged;
    }
    if (acis) *acis = parser.TakeAcis();
    return Outcome::kRead;
  } catch (const std::bad_alloc&) {
    error = kReadOutOfMemory;
    return Outcome::kStopped;
  } catch (const std::length_error&) {
    error = kReadOutOfMemory;
    return Outcome::kStopped;
  }
}

// Reads the whole file handing nothing on, to find whether it is damaged (error set) or not.
Outcome Check(std::string_view data, std::string& error, AcisByHandle* acis = nullptr) {
  struct Discard final : EntitySink {
    SinkAnswer Take(const Drawing&, std::vector<Entity>&, std::string&) override {
      return SinkAnswer::kTaken;
    }
  } discard;
  Drawing checked;
  return ReadInto(data, checked, error, &discard, acis);
}

// From R2013 (AC1027) the solids' ACIS data lies in ACDSDATA, after the entities. Only the
// header is read: its $ACADVER comes first in files that have one.
bool KeepsAcisApart(std::string_view data) {
  GroupReader reader(data);
  Group g;
  auto next = [&] {
    while (reader.Next(g))
      if (g.code != 999) return true;
    return false;
  };
  if (!next() || g.code != 0 || Trim(g.text) != "SECTION") return false;
  if (!next() || g.code != 2 || Trim(g.text) != "HEADER") return false;
  bool version = false;
  while (next() && g.code != 0) {
    if (g.code == 9) {
      version = Trim(g.text) == "$ACADVER";
    } else if (version && g.code == 1) {
      const std::string_view value = Trim(g.text);
      return value.size() == 6 && value.substr(0, 2) == "AC" && value >= "AC1027";
    }
  }
  return false;
}

// The file mapped, for as long as it is read.
class MappedFile {
 public:
  MappedFile(const std::filesystem::path& path, std::string& error);
  ~MappedFile() {
    if (data_) ::munmap(data_, size_);
  }
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  bool Ok() const { return ok_; }
  std::string_view View() const { return {static_cast<const char*>(data_), size_}; }

 private:
  void* data_ = nullptr;
  size_t size_ = 0;
  bool ok_ = false;
};

}  // namespace

std::optional<Drawing> ReadDxf(std::string_view data, std::string& error) {
  Drawing drawing;
  if (ReadInto(data, drawing, error, nullptr) != Outcome::kRead) return std::nullopt;
  return drawing;
}

MappedFile::MappedFile(const std::filesystem::path& path, std::string& error) {
  // Mapped rather than read: a drawing of a million faces is a few hundred megabytes, and
  // copying it into a zero-filled buffer first costs as much as a good part of the parse.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = Cat({"cannot open ", path.string()});
    return;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    error = Cat({"cannot read ", path.string()});
    return;
  }
  size_ = static_cast<size_t>(info.st_size);
  if (size_ == 0) {
    ::close(fd);
    ok_ = true;
    return;
  }
  void* mapped = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
  ::close(fd);
  if (mapped == MAP_FAILED) {
    error = Cat({"cannot read ", path.string()});
    return;
  }
  data_ = mapped;
  ok_ = true;
}

std::optional<Drawing> ReadDxfFile(const std::filesystem::path& path, std::string& error) {
  MappedFile file(path, error);
  if (!file.Ok()) return std::nullopt;
  return ReadDxf(file.View(), error);
}

bool ReadDxfFile(const std::filesystem::path& path, Drawing& drawing, std::string& error,
                 EntitySink& sink) {
  MappedFile file(path, error);
  if (!file.Ok()) return false;
  const std::string_view data = file.View();
  if (KeepsAcisApart(data)) {
    // Checked whole first, holding no more than a batch: a damaged file fails before the sink
    // has seen anything of it. The check also finds the solids' binary data, which the file
    // keeps after them, so that the second reading hands each solid over with its own.
    AcisByHandle acis;
    if (Check(data, error, &acis) != Outcome::kRead) return false;
    return ReadInto(data, drawing, error, &sink, &acis) == Outcome::kRead;
  }
  // One reading: a file that turns out damaged half-way fails as it would have before the
  // sink saw anything, and the sink undoes what it took. Should the sink stop the reading
  // early, damage further on still speaks first, as if the file had been checked beforehand.
  if (const Outcome outcome = ReadInto(data, drawing, error, &sink, nullptr, true);
      outcome != Outcome::kStopped)
    return outcome == Outcome::kRead;
  std::string damage;
  if (Check(data, damage) == Outcome::kDamaged) error = damage;
  return false;
}

}  // namespace plx::dxf
