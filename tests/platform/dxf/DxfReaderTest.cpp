// The DXF reader of `_dxfin` against the real drawings of the corpus and against files built
// here to show the format's corners (binary codes, code pages, damage).
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>

#include "CorpusExpectations.h"
#include "TestSupport.h"
#include "arxhost/Dxf.h"

namespace {

using namespace plx::dxf;
using plx::test::CorpusFiles;
using plx::test::Expected;
using plx::test::Table;
namespace fs = std::filesystem;

// Every entity of the drawing, blocks first.
std::vector<const Entity*> AllEntities(const Drawing& d) {
  std::vector<const Entity*> all;
  for (const Block& b : d.blocks)
    for (const Entity& e : b.entities) all.push_back(&e);
  for (const Entity& e : d.entities) all.push_back(&e);
  return all;
}

Drawing ReadCorpus(const std::string& name) {
  std::string error;
  auto drawing = ReadDxfFile(plx::test::CorpusDir() / name, error);
  EXPECT_TRUE(drawing) << name << ": " << error;
  return drawing ? std::move(*drawing) : Drawing{};
}

class DxfCorpus : public testing::TestWithParam<std::string> {};

TEST_P(DxfCorpus, HoldsWhatTheFileHolds) {
  const std::string& name = GetParam();
  const Expected* expected = nullptr;
  for (const Expected& e : Table())
    if (name == e.file) expected = &e;
  ASSERT_NE(expected, nullptr) << "no counts for " << name;
  Drawing d = ReadCorpus(name);

  std::map<std::string, int> types = d.skipped;
  std::array<int, 5> polyface{};
  std::vector<std::string> meshes;
  int coloured = 0, colourSum = 0, trueColoured = 0;
  for (const Entity* e : AllEntities(d)) {
    ASSERT_NE(e->kind, EntityKind::kOther);
    ++types[e->type];
    if (e->colour != kColourByLayer) ++coloured, colourSum += e->colour;
    if (e->trueColour != kNoTrueColour) ++trueColoured;
    if (const auto* p = std::get_if<PolylineData>(&e->data)) {
      if (p->kind == PolylineKind::kPolyface) {
        polyface[0] += static_cast<int>(p->vertices.size());
        polyface[1] += static_cast<int>(p->faces.size());
        for (const PolyfaceFace& f : p->faces) {
          polyface[2] += std::count(f.indices.begin(), f.indices.end(), 0) == 0;
          polyface[3] +=
              std::any_of(f.indices.begin(), f.indices.end(), [](int i) { return i < 0; });
          polyface[4] += f.colour != kColourByLayer;
        }
      }
      if (p->kind == PolylineKind::kPolygonMesh) {
        meshes.push_back(std::to_string(p->meshM) + "x" + std::to_string(p->meshN) + "/" +
                         std::to_string(e->colour) + "/" + std::to_string(p->flags & (1 | 32)));
        size_t control = std::count_if(p->vertices.begin(), p->vertices.end(),
                                       [](const PolylineVertex& v) { return (v.flags & 16) != 0; });
        if (control == 0)
          EXPECT_EQ(p->vertices.size(), static_cast<size_t>(p->meshM * p->meshN));
        else
          EXPECT_EQ(control, static_cast<size_t>(p->meshM * p->meshN));
      }
    }
  }
  std::string typeText;
  for (const auto& [type, count] : types)
    typeText += (typeText.empty() ? "" : " ") + type + ":" + std::to_string(count);
  EXPECT_EQ(typeText, expected->types);
  EXPECT_EQ(polyface, expected->polyface);
  EXPECT_EQ(meshes, expected->meshes);
  EXPECT_EQ(coloured, expected->coloured);
  EXPECT_EQ(colourSum, expected->colourSum);
  EXPECT_EQ(trueColoured, expected->trueColoured);
  EXPECT_EQ(static_cast<int>(d.layers.size()), expected->layers);
  EXPECT_EQ(std::count_if(d.layers.begin(), d.layers.end(), [](const Layer& l) { return l.off; }),
            expected->layersOff);
}

INSTANTIATE_TEST_SUITE_P(Files, DxfCorpus, testing::ValuesIn(CorpusFiles()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           std::string name = fs::path(info.param).stem().string();
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

TEST(DxfCorpusFiles, AreThere) { EXPECT_EQ(CorpusFiles().size(), Table().size()); }

// ---------------------------------------------------------------------------------------------
// Details of real files

TEST(DxfReader, ReadsFaceCornersAndColours) {
  Drawing d = ReadCorpus("ezdxf_Minimal_DXF_AC1006.dxf");
  EXPECT_EQ(d.version, "AC1006");
  ASSERT_EQ(d.entities.size(), 3u);
  const Entity* face = nullptr;
  for (const Entity& e : d.entities)
    if (e.kind == EntityKind::kFace) face = face ? face : &e;
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(face->layer, "1");
  EXPECT_EQ(face->colour, 1);
  const auto& corners = std::get<CornerData>(face->data).corners;
  EXPECT_EQ(corners[0], (Vec3{-0.5, -0.5, -0.5}));
}

TEST(DxfReader, ReadsLayerColoursAndOffLayers) {
  Drawing d = ReadCorpus("libredwg_r10_entities.dxf");
  const Layer* defpoints = d.FindLayer("DEFPOINTS");
  ASSERT_NE(defpoints, nullptr);
  EXPECT_TRUE(defpoints->off);
  EXPECT_EQ(defpoints->colour, 7);
  EXPECT_EQ(defpoints->linetype, "CONTINUOUS");
  EXPECT_FALSE(d.FindLayer("0")->off);
}

TEST(DxfReader, ReadsPolyfaceFaceRecords) {
  Drawing d = ReadCorpus("assimp_wuson.dxf");
  const Block* block = nullptr;
  for (const Block& b : d.blocks)
    if (!b.entities.empty()) block = &b;
  ASSERT_NE(block, nullptr);
  const Entity& mesh = block->entities.at(0);
  const auto& p = std::get<PolylineData>(mesh.data);
  EXPECT_EQ(p.kind, PolylineKind::kPolyface);
  EXPECT_EQ(p.meshM, 3205);  // the counts the record announces
  EXPECT_EQ(p.meshN, 3732);
  for (const PolyfaceFace& f : p.faces) {
    EXPECT_NE(f.indices[0], 0);
    EXPECT_EQ(f.indices[3], 0);  // triangles only
  }
  const auto& insert = std::get<InsertData>(d.entities.at(0).data);
  EXPECT_EQ(insert.block, block->name);
}

TEST(DxfReader, ReadsHatchBoundaries) {
  Drawing d = ReadCorpus("ezdxf_hatches_2.dxf");
  std::vector<const HatchData*> hatches;
  for (const Entity& e : d.entities)
    if (const auto* h = std::get_if<HatchData>(&e.data)) hatches.push_back(h);
  ASSERT_EQ(hatches.size(), 2u);
  ASSERT_EQ(hatches[0]->loops.size(), 1u);
  std::vector<int> types;
  for (const HatchEdge& e : hatches[0]->loops[0].edges) types.push_back(e.type);
  EXPECT_EQ(types, (std::vector<int>{1, 3, 1, 2, 1, 1, 1, 4, 1, 1}));
  const HatchEdge& spline = hatches[0]->loops[0].edges[7];
  EXPECT_FALSE(spline.controlPoints.empty());
  EXPECT_EQ(spline.knots.size(), spline.controlPoints.size() + spline.degree + 1);
  ASSERT_EQ(hatches[1]->loops.size(), 1u);
  EXPECT_EQ(hatches[1]->loops[0].polyline.size(), 800u);
  EXPECT_TRUE(hatches[1]->solid);
}

TEST(DxfReader, ReadsLightweightPolylineBulges) {
  Drawing d = ReadCorpus("libredwg_example_2000.dxf");
  size_t vertices = 0;
  for (const Entity* e : AllEntities(d))
    if (const auto* p = std::get_if<LwPolylineData>(&e->data)) vertices += p->vertices.size();
  EXPECT_EQ(vertices, 3712u);
}

TEST(DxfReader, ReadsSubdivisionMesh) {
  Drawing d = ReadCorpus("ezdxf_uncommon.dxf");
  const MeshData* mesh = nullptr;
  for (const Entity* e : AllEntities(d))
    if (const auto* m = std::get_if<MeshData>(&e->data)) mesh = m;
  ASSERT_NE(mesh, nullptr);
  EXPECT_FALSE(mesh->vertices.empty());
  EXPECT_FALSE(mesh->faces.empty());
}

// ---------------------------------------------------------------------------------------------
// ACIS data

TEST(DxfSat, DeciphersTheTextOfR2000ToR2010Solids) {
  for (const char* name :
       {"ezdxf_torus_r2000.dxf", "ezdxf_torus_r2004.dxf", "ezdxf_torus_r2010.dxf"}) {
    Drawing d = ReadCorpus(name);
    ASSERT_EQ(d.entities.size(), 1u) << name;
    const auto& solid = std::get<ModelerData>(d.entities[0].data);
    // The ACIS header: version, records, bodies, history flag.
    std::string first = solid.sat.substr(0, solid.sat.find('\n'));
    int version = 0, records = 0, bodies = 0, history = -1;
    EXPECT_EQ(std::sscanf(first.c_str(), "%d %d %d %d", &version, &records, &bodies, &history), 4)
        << first;
    EXPECT_GE(version, 400) << first;
    EXPECT_GE(bodies, 1) << first;
    EXPECT_NE(solid.sat.find("torus"), std::string::npos) << name;
    EXPECT_NE(solid.sat.find("End-of-ACIS-data"), std::string::npos) << name;
    EXPECT_TRUE(solid.sab.empty());
  }
}

TEST(DxfSat, KeepsTheBinaryDataOfR2013Solids) {
  Drawing d = ReadCorpus("ezdxf_sphere_r2018.dxf");
  ASSERT_EQ(d.entities.size(), 1u);
  const auto& solid = std::get<ModelerData>(d.entities[0].data);
  EXPECT_TRUE(solid.sat.empty());
  ASSERT_EQ(solid.sab.size(), 567u);
  EXPECT_EQ(std::string(solid.sab.begin(), solid.sab.begin() + 14), "ASM BinaryFile");
}

// The binary data whose byte count does not match what its hex lines hold is kept, marked
// damaged, so that the import can name the solid; the file itself still reads.
TEST(DxfSat, MarksBinaryDataWhoseByteCountIsWrong) {
  const std::string whole = plx::test::ReadFile(plx::test::CorpusDir() / "ezdxf_sphere_r2018.dxf");
  const std::string count = "\n 94\n      567\n";
  const size_t at = whole.find(count);
  ASSERT_NE(at, std::string::npos);
  for (const char* written : {"566", "568", "99999"}) {
    std::string changed = whole;
    changed.replace(at, count.size(), std::string("\n 94\n") + written + "\n");
    std::string error;
    auto d = ReadDxf(changed, error);
    ASSERT_TRUE(d) << error;
    ASSERT_EQ(d->entities.size(), 1u);
    const auto& solid = std::get<ModelerData>(d->entities[0].data);
    EXPECT_EQ(solid.sabDamage,
              std::string("its ACIS data holds 567 bytes, not the ") + written + " its count gives");
  }
  std::string error;
  auto d = ReadDxf(whole, error);
  ASSERT_TRUE(d) << error;
  EXPECT_TRUE(std::get<ModelerData>(d->entities[0].data).sabDamage.empty());
}

// ACDSDATA follows the entities: a solid handed on while the file streams in (past the first
// batch, or inside a block) still gets its binary data.
TEST(DxfSat, StreamedSolidsGetTheirBinaryData) {
  std::string whole = plx::test::ReadFile(plx::test::CorpusDir() / "libredwg_example_2013.dxf");
  struct Collect final : EntitySink {
    std::vector<Entity> taken;
    size_t batches = 0;
    SinkAnswer Take(const Drawing&, std::vector<Entity>& batch, std::string&) override {
      ++batches;
      for (Entity& e : batch) taken.push_back(std::move(e));
      return SinkAnswer::kTaken;
    }
  } sink;
  // Two thousand points after the solids make the reader hand them over in a batch, before
  // it has come to ACDSDATA.
  std::string points;
  for (int i = 0; i < 2000; ++i)
    points += "0\nPOINT\n8\n0\n10\n" + std::to_string(i) + "\n20\n0\n30\n0\n";
  const size_t entities = whole.find("\nENTITIES");
  ASSERT_NE(entities, std::string::npos);
  const size_t endsec = whole.find("\nENDSEC", entities);
  ASSERT_NE(endsec, std::string::npos);
  whole.insert(whole.rfind('\n', endsec - 1) + 1, points);
  const plx::test::TempDir dir;
  const fs::path file = dir / "streamed_2013.dxf";
  plx::test::WriteFile(file, whole);
  Drawing d;
  std::string error;
  ASSERT_TRUE(ReadDxfFile(file, d, error, sink)) << error;
  EXPECT_GE(sink.batches, 2u);
  for (Entity& e : d.entities) sink.taken.push_back(std::move(e));
  int solids = 0;
  for (const Entity& e : sink.taken)
    if (const auto* m = std::get_if<ModelerData>(&e.data)) {
      ++solids;
      EXPECT_GT(m->sab.size(), 100u) << e.type << " " << std::hex << e.handle;
      EXPECT_TRUE(m->sabDamage.empty());
    }
  EXPECT_EQ(solids, 3);
}

// A file that names an older release but keeps its solids' binary data in ACDSDATA all the
// same: the solids, and all that follows them, wait for the data instead of going out without.
TEST(DxfSat, SolidsOfAnOlderReleaseWaitForLaterBinaryData) {
  std::string whole = plx::test::ReadFile(plx::test::CorpusDir() / "libredwg_example_2013.dxf");
  const size_t version = whole.find("AC1027");
  ASSERT_NE(version, std::string::npos);
  whole.replace(version, 6, "AC1024");
  struct Collect final : EntitySink {
    std::vector<Entity> taken;
    SinkAnswer Take(const Drawing&, std::vector<Entity>& batch, std::string&) override {
      for (Entity& e : batch) taken.push_back(std::move(e));
      return SinkAnswer::kTaken;
    }
  } sink;
  std::string points;
  for (int i = 0; i < 2000; ++i)
    points += "0\nPOINT\n8\n0\n10\n" + std::to_string(i) + "\n20\n0\n30\n0\n";
  const size_t entities = whole.find("\nENTITIES");
  ASSERT_NE(entities, std::string::npos);
  const size_t endsec = whole.find("\nENDSEC", entities);
  ASSERT_NE(endsec, std::string::npos);
  whole.insert(whole.rfind('\n', endsec - 1) + 1, points);
  const plx::test::TempDir dir;
  const fs::path file = dir / "older_release.dxf";
  plx::test::WriteFile(file, whole);
  Drawing d;
  std::string error;
  ASSERT_TRUE(ReadDxfFile(file, d, error, sink)) << error;
  for (Entity& e : d.entities) sink.taken.push_back(std::move(e));
  int solids = 0;
  for (const Entity& e : sink.taken)
    if (const auto* m = std::get_if<ModelerData>(&e.data)) {
      ++solids;
      EXPECT_GT(m->sab.size(), 100u) << e.type << " " << std::hex << e.handle;
    }
  EXPECT_EQ(solids, 3);
  EXPECT_GE(std::count_if(sink.taken.begin(), sink.taken.end(),
                          [](const Entity& e) { return e.kind == EntityKind::kPoint; }),
            2000);
}

TEST(DxfSat, CipherRoundTrips) {
  const std::string plain = "400 0 1 0 \n@7 unknown ^A ~{} 14 ASM-BODY 7.0 A  ^ ";
  std::string enciphered = EncipherSat(plain);
  EXPECT_NE(enciphered, plain);
  EXPECT_EQ(DecipherSat(enciphered), plain);
  EXPECT_EQ(DecipherSat("koo o n o "), "400 0 1 0 ");
  EXPECT_EQ(EncipherSat("A"), "^ ");
}

// ---------------------------------------------------------------------------------------------
// Groups

std::string Wrap(const std::string& entities, const std::string& header = "") {
  std::string out;
  if (!header.empty()) out += "0\nSECTION\n2\nHEADER\n" + header + "0\nENDSEC\n";
  return out + "0\nSECTION\n2\nENTITIES\n" + entities + "0\nENDSEC\n0\nEOF\n";
}

TEST(DxfGroups, SplitsOnLineFeedAndStripsCarriageReturns) {
  std::string data =
      "  0\r\r\nSECTION\r\n  2\r\nENTITIES\n  0\r\nLINE\r\n  8\r\nA B \r\n 10\r\n  1.5  \r\n"
      " 11\n-2e3\n  0\nENDSEC\n  0\nEOF";
  std::string error;
  auto d = ReadDxf(data, error);
  ASSERT_TRUE(d) << error;
  ASSERT_EQ(d->entities.size(), 1u);
  EXPECT_EQ(d->entities[0].layer, "A B");
  EXPECT_EQ(d->entities[0].position, 5u);
  const auto& line = std::get<LineData>(d->entities[0].data);
  EXPECT_EQ(line.start.x, 1.5);
  EXPECT_EQ(line.end.x, -2000);
}

TEST(DxfGroups, TypesValuesByCode) {
  EXPECT_EQ(KindOfCode(0), ValueKind::kString);
  EXPECT_EQ(KindOfCode(10), ValueKind::kDouble);
  EXPECT_EQ(KindOfCode(62), ValueKind::kInt16);
  EXPECT_EQ(KindOfCode(90), ValueKind::kInt32);
  EXPECT_EQ(KindOfCode(160), ValueKind::kInt64);
  EXPECT_EQ(KindOfCode(280), ValueKind::kInt16);
  EXPECT_EQ(KindOfCode(290), ValueKind::kBool);
  EXPECT_EQ(KindOfCode(310), ValueKind::kBinary);
  EXPECT_EQ(KindOfCode(330), ValueKind::kString);
  EXPECT_EQ(KindOfCode(420), ValueKind::kInt32);
  EXPECT_EQ(KindOfCode(1004), ValueKind::kBinary);
  EXPECT_EQ(KindOfCode(1040), ValueKind::kDouble);
  EXPECT_EQ(KindOfCode(1071), ValueKind::kInt32);
  EXPECT_EQ(KindOfCode(1059), ValueKind::kDouble);
  EXPECT_EQ(KindOfCode(1060), ValueKind::kInt16);
  EXPECT_EQ(KindOfCode(1072), ValueKind::kString);
  EXPECT_EQ(KindOfCode(20000), ValueKind::kString);
  EXPECT_EQ(KindOfCode(-5), ValueKind::kString);
}

// A code and a value in every form the reader takes, each line ended by LF, by CR LF, or by
// the end of the data: the same group comes out, with the value's text trimmed of blanks.
TEST(DxfGroups, ReadsEveryFormOfCodeAndNumber) {
  struct Case {
    const char* code;
    const char* value;
    int expectedCode;
    double real;
    int64_t integer;
    const char* text;
  };
  const Case cases[] = {
      {"10", "1.5", 10, 1.5, 0, "1.5"},
      {" 10", "2.5", 10, 2.5, 0, "2.5"},
      {"  0", "LINE", 0, 0, 0, "LINE"},
      {"330", "1F", 330, 0, 0, "1F"},
      {" 1 ", " x", 1, 0, 0, " x"},
      {"007", "y", 7, 0, 0, "y"},
      {"  10", "  -0.225  ", 10, -0.225, 0, "-0.225"},
      {"\t10 \t", "\t7", 10, 7, 0, "7"},
      {"10", "-0", 10, -0.0, 0, "-0"},
      {"10", "1e3", 10, 1000, 0, "1e3"},
      {"10", "+2.5", 10, 2.5, 0, "+2.5"},
      {"10", ".5", 10, 0.5, 0, ".5"},
      {"10", "5.", 10, 5, 0, "5."},
      {"10", "1234567890123456", 10, 1234567890123456.0, 0, "1234567890123456"},
      {"10", "0.30000000000000004", 10, 0.30000000000000004, 0, "0.30000000000000004"},
      {"62", "7", 62, 0, 7, "7"},
      {"62", " -3 ", 62, 0, -3, "-3"},
      {"62", "007", 62, 0, 7, "007"},
      {"62", "+5", 62, 0, 5, "+5"},
      {"62", "1.0", 62, 0, 1, "1.0"},
      {"62", "-2.9", 62, 0, -2, "-2.9"},
      {"90", "99999999999", 90, 0, UINT32_MAX, "99999999999"},
      {"90", "-99999999999", 90, 0, INT32_MIN, "-99999999999"},
      {"160", "123456789012345678", 160, 0, 123456789012345678, "123456789012345678"},
      {"160", "-1234567890123456789", 160, 0, -1234567890123456789, "-1234567890123456789"},
      {"-5", "x", -5, 0, 0, "x"},
      {"999999999", " kept ", 999999999, 0, 0, " kept "},
  };
  for (const Case& c : cases) {
    for (const std::string end : {"\n", "\r\n", ""}) {
      const std::string data = std::string(c.code) + "\n" + c.value + end;
      SCOPED_TRACE(data);
      GroupReader reader(data);
      Group g;
      ASSERT_TRUE(reader.Next(g)) << reader.Error();
      EXPECT_EQ(g.code, c.expectedCode);
      EXPECT_EQ(g.position, 1u);
      EXPECT_EQ(g.text, c.text);
      EXPECT_EQ(std::memcmp(&g.real, &c.real, sizeof g.real), 0) << g.real;
      EXPECT_EQ(g.integer, c.integer);
      EXPECT_FALSE(reader.Next(g));
      EXPECT_FALSE(reader.Failed()) << reader.Error();
    }
  }
}

// Near misses of the usual forms are damage, named as such whichever way they were read.
TEST(DxfGroups, RefusesNearMissesOfCodesAndNumbers) {
  const std::pair<const char*, const char*> cases[] = {
      {"1234567890\n1\n", "line 1: '1234567890' is not a group code"},
      {"1 0\n1\n", "line 1: '1 0' is not a group code"},
      {"-\n1\n", "line 1: '-' is not a group code"},
      {"\r10\n1\n", "line 1: '?10' is not a group code"},
      {"10\n", "line 1: group code 10 has no value (the file ends)"},
      {"10\n1.5.\n", "line 2: '1.5.' is not a finite number (group 10)"},
      {"10\n1 5\n", "line 2: '1 5' is not a finite number (group 10)"},
      {"10\n--1\n", "line 2: '--1' is not a finite number (group 10)"},
      {"10\n\n", "line 2: '' is not a finite number (group 10)"},
      {"62\n1e\n", "line 2: '1e' is not an integer (group 62)"},
      {"62\n0x10\n", "line 2: '0x10' is not an integer (group 62)"},
      {"160\n99999999999999999999\n",
       "line 2: '99999999999999999999' is not an integer (group 160)"},
  };
  for (const auto& [data, message] : cases) {
    GroupReader reader(data);
    Group g;
    EXPECT_FALSE(reader.Next(g)) << data;
    EXPECT_EQ(reader.Error(), message) << data;
  }
}

// Writes binary DXF groups; R12 files have one-byte codes.
class BinaryWriter {
 public:
  explicit BinaryWriter(bool r12) : r12_(r12) { data_.assign("AutoCAD Binary DXF\r\n\x1a\0", 22); }
  BinaryWriter& Code(int code) {
    if (r12_ && code < 255) {
      data_ += static_cast<char>(code);
    } else {
      if (r12_) data_ += '\xff';
      Raw(static_cast<int16_t>(code));
    }
    return *this;
  }
  BinaryWriter& Text(int code, const std::string& s) {
    return Code(code), data_ += s, data_ += '\0', *this;
  }
  BinaryWriter& Real(int code, double v) { return Code(code), Raw(v), *this; }
  BinaryWriter& Int16(int code, int16_t v) { return Code(code), Raw(v), *this; }
  BinaryWriter& Int32(int code, int32_t v) { return Code(code), Raw(v), *this; }
  BinaryWriter& Bool(int code, bool v) { return Code(code), data_ += static_cast<char>(v), *this; }
  BinaryWriter& Chunk(int code, const std::string& bytes) {
    return Code(code), data_ += static_cast<char>(bytes.size()), data_ += bytes, *this;
  }
  const std::string& Data() const { return data_; }

 private:
  template <typename T>
  void Raw(T v) {
    char bytes[sizeof(T)];
    std::memcpy(bytes, &v, sizeof(T));
    data_.append(bytes, sizeof(T));
  }
  bool r12_;
  std::string data_;
};

TEST(DxfGroups, ReadsBinaryR2000) {
  Drawing d = ReadCorpus("ezdxf_bin_dxf_r2000.dxf");
  EXPECT_TRUE(d.binary);
  EXPECT_EQ(d.version, "AC1015");
  EXPECT_EQ(d.codePage, "ANSI_1252");
  ASSERT_EQ(d.skipped.size(), 0u);
  EXPECT_EQ(std::get<TextData>(d.entities.at(0).data).text.empty(), false);
}

TEST(DxfGroups, ReadsBinaryWithEveryValueKind) {
  for (bool r12 : {true, false}) {
    BinaryWriter w(r12);
    w.Text(0, "SECTION").Text(2, "ENTITIES");
    w.Text(0, "3DFACE").Text(5, "2F").Text(8, "Faces").Int16(62, -3).Int32(420, 0x123456);
    w.Real(10, 1.25).Real(20, 2).Real(30, 3).Real(11, 4).Real(21, 5).Real(31, 6);
    w.Real(12, 7).Real(22, 8).Real(32, 9).Real(13, 10).Real(23, 11).Real(33, 12).Int16(70, 5);
    w.Bool(290, true)
        .Chunk(310, std::string("\x00\x01\xff", 3))
        .Text(1001, "APP")
        .Chunk(1004, "xy");
    w.Real(1010, 1).Int16(1070, 2).Int32(1071, 70000);
    w.Text(0, "ENDSEC").Text(0, "EOF");
    std::string error;
    auto d = ReadDxf(w.Data(), error);
    ASSERT_TRUE(d) << error;
    EXPECT_TRUE(d->binary);
    ASSERT_EQ(d->entities.size(), 1u);
    const Entity& e = d->entities[0];
    EXPECT_EQ(e.handle, 0x2Fu);
    EXPECT_EQ(e.layer, "Faces");
    EXPECT_EQ(e.colour, -3);
    EXPECT_EQ(e.trueColour, 0x123456);
    const auto& face = std::get<CornerData>(e.data);
    EXPECT_EQ(face.corners[0], (Vec3{1.25, 2, 3}));
    EXPECT_EQ(face.corners[3], (Vec3{10, 11, 12}));
    EXPECT_EQ(face.invisibleEdges, 5);
  }
}

TEST(DxfGroups, ReadsBinaryChunks) {
  BinaryWriter w(false);
  w.Text(0, "SECTION").Chunk(310, std::string("\x00\x01\xff", 3));
  GroupReader reader(w.Data());
  Group g;
  ASSERT_TRUE(reader.Next(g));
  ASSERT_TRUE(reader.Next(g));
  EXPECT_EQ(g.position, 32u);
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(AppendBinaryChunk(g, true, bytes));
  EXPECT_EQ(bytes, (std::vector<uint8_t>{0, 1, 255}));
  GroupReader ascii("310\n00A1ff\n310\n0G\n");
  bytes.clear();
  ASSERT_TRUE(ascii.Next(g));
  ASSERT_TRUE(AppendBinaryChunk(g, false, bytes));
  EXPECT_EQ(bytes, (std::vector<uint8_t>{0, 0xA1, 0xFF}));
  ASSERT_TRUE(ascii.Next(g));
  EXPECT_FALSE(AppendBinaryChunk(g, false, bytes));
  EXPECT_EQ(bytes.size(), 3u);
}

// ---------------------------------------------------------------------------------------------
// Code pages

std::string TextOf(const std::string& data) {
  std::string error;
  auto d = ReadDxf(data, error);
  EXPECT_TRUE(d) << error;
  if (!d || d->entities.empty()) return {};
  return std::get<TextData>(d->entities[0].data).text;
}

TEST(DxfText, DecodesTheDrawingCodePageBeforeR2007) {
  std::string header1251 = "9\n$ACADVER\n1\nAC1015\n9\n$DWGCODEPAGE\n3\nANSI_1251\n";
  EXPECT_EQ(TextOf(Wrap("0\nTEXT\n1\n\xc0\xe1\n", header1251)), "\xd0\x90\xd0\xb1");  // "Аб"
  std::string header932 = "9\n$ACADVER\n1\nAC1012\n9\n$DWGCODEPAGE\n3\ndos932\n";
  EXPECT_EQ(TextOf(Wrap("0\nTEXT\n1\n\x82\xa0\n", header932)), "\xe3\x81\x82");  // "あ"
  // No header: Windows-1252.
  EXPECT_EQ(TextOf(Wrap("0\nTEXT\n1\n45\xb0 \x80\n")), "45\xc2\xb0 \xe2\x82\xac");
}

TEST(DxfText, ReadsUtf8FromR2007) {
  std::string header = "9\n$ACADVER\n1\nAC1021\n9\n$DWGCODEPAGE\n3\nANSI_1252\n";
  EXPECT_EQ(TextOf(Wrap("0\nTEXT\n1\n\xe2\x88\x85 2\n", header)), "\xe2\x88\x85 2");
  // A byte that is not UTF-8 is kept as Windows-1252.
  EXPECT_EQ(TextOf(Wrap("0\nTEXT\n1\nA\xb0\n", header)), "A\xc2\xb0");
}

TEST(DxfText, ResolvesUnicodeEscapes) {
  EXPECT_EQ(TextOf(Wrap("0\nTEXT\n1\n\\U+2205 2\\U+00b0\n")), "\xe2\x88\x85 2\xc2\xb0");
  EXPECT_EQ(TextOf(Wrap("0\nTEXT\n1\n\\U+D83D\\U+DE00\n")), "\xf0\x9f\x98\x80");
  EXPECT_EQ(TextOf(Wrap("0\nTEXT\n1\n\\U+12 \\P\n")), "\\U+12 \\P");
  EXPECT_EQ(TextOf(Wrap("0\nTEXT\n1\n\\M+182A0\n")), "\xe3\x81\x82");
}

TEST(DxfText, DecodesRealFiles) {
  auto texts = [](const Drawing& d) {
    std::string all;
    for (const Entity* e : AllEntities(d))
      if (const auto* m = std::get_if<MTextData>(&e->data)) all += m->text + "\n";
    return all;
  };
  std::string ts1 = texts(ReadCorpus("libredwg_2000_TS1.dxf"));  // ANSI_1252 byte and an escape
  EXPECT_NE(ts1.find("45\xc2\xb0"), std::string::npos);
  EXPECT_NE(ts1.find("\xe2\x88\x85"
                     "2.3794"),
            std::string::npos);
  std::string uncommon = texts(ReadCorpus("ezdxf_uncommon.dxf"));  // R2018: UTF-8
  EXPECT_NE(uncommon.find("\xe2\x88\x85"
                          "2.5999"),
            std::string::npos);
}

// ---------------------------------------------------------------------------------------------
// Damage

// Every number reads to the double that the full conversion gives, to the last bit, whether
// the short path of plain decimals takes it or not.
class DxfNumbers : public testing::TestWithParam<const char*> {};

TEST_P(DxfNumbers, ReadAsTheFullConversion) {
  std::string text = GetParam();
  std::string error;
  auto drawing = ReadDxf(Wrap("0\nPOINT\n10\n" + text + "\n"), error);
  ASSERT_TRUE(drawing) << error;
  ASSERT_EQ(drawing->entities.size(), 1u);
  const double got = std::get<PointData>(drawing->entities[0].data).position.x;
  std::string_view digits = text;
  while (!digits.empty() && digits.front() == ' ') digits.remove_prefix(1);
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  double expected = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), expected);
  EXPECT_EQ(std::memcmp(&got, &expected, sizeof got), 0) << text << ": " << got;
}

INSTANTIATE_TEST_SUITE_P(Texts, DxfNumbers,
                         testing::Values("0", "-0", "0.1", "-0.3", "124.875", "0.1625",
                                         "123456789012345", "1234567890123456", "9007199254740993",
                                         "0.000000000000001", "3.14159265358979", "2.718281828459045",
                                         "0.30000000000000004", "1e5", "-1.5E-3", "1.", ".5", "-.5",
                                         "+2.5", "  7.25", "007.50", "1e308"));

std::string ErrorOf(const std::string& data) {
  std::string error;
  EXPECT_FALSE(ReadDxf(data, error));
  return error;
}

TEST(DxfDamage, NamesTheLine) {
  EXPECT_EQ(ErrorOf(Wrap("0\nLINE\nxx\n0\n")), "line 7: 'xx' is not a group code");
  EXPECT_EQ(ErrorOf(Wrap("0\nLINE\n10\n1.5.2\n")),
            "line 8: '1.5.2' is not a finite number (group 10)");
  EXPECT_EQ(ErrorOf(Wrap("0\nLINE\n10\nnan\n")), "line 8: 'nan' is not a finite number (group 10)");
  EXPECT_EQ(ErrorOf(Wrap("0\nLINE\n62\nred\n")), "line 8: 'red' is not an integer (group 62)");
  EXPECT_EQ(ErrorOf("0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n"),
            "line 7: group code 10 has no value (the file ends)");
  EXPECT_EQ(ErrorOf("0\nSECTION\n2\nENTITIES\n0\nLINE\n"),
            "line 5: the file ends inside the ENTITIES section (cut short?)");
  EXPECT_EQ(ErrorOf("0\nSECTION\n2\nENTITIES\n0\nEOF\n"),
            "line 5: 'EOF' inside the ENTITIES section (ENDSEC missing)");
  EXPECT_EQ(ErrorOf("0\nSECTION\n2\nENTITIES\n0\nENDSEC\n"),
            "line 5: the file ends without EOF (cut short?)");
  EXPECT_EQ(ErrorOf("0\nSECTION\n0\nENDSEC\n0\nEOF\n"), "line 1: SECTION without a name");
  EXPECT_EQ(ErrorOf(""), "line 0: the file ends without EOF (cut short?)");
}

TEST(DxfDamage, RefusesMeshesThatDoNotAddUp) {
  std::string polyface =
      "0\nPOLYLINE\n66\n1\n70\n64\n71\n1\n72\n1\n"
      "0\nVERTEX\n70\n192\n0\nVERTEX\n70\n128\n71\n1\n72\n-2\n73\n1\n0\nSEQEND\n";
  EXPECT_EQ(ErrorOf(Wrap(polyface)), "line 5: polyface face refers to vertex 2 of 1");
  std::string huge = polyface;
  huge.replace(huge.find("-2\n"), 3, "-99999999999\n");
  EXPECT_EQ(ErrorOf(Wrap(huge)), "line 5: polyface face refers to vertex 2147483648 of 1");
  std::string mesh = "0\nPOLYLINE\n66\n1\n70\n16\n71\n2\n72\n2\n0\nVERTEX\n70\n64\n0\nSEQEND\n";
  EXPECT_EQ(ErrorOf(Wrap(mesh)), "line 5: polygon mesh of 2 x 2 has 1 vertices");
  EXPECT_EQ(ErrorOf("0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n70\n64\n0\nVERTEX\n70\n128\n71\n1\n"),
            "line 13: the file ends inside the POLYLINE at line 5 (cut short?)");
}

TEST(DxfDamage, RefusesBinaryCutInAValue) {
  BinaryWriter w(false);
  w.Text(0, "SECTION").Text(2, "ENTITIES").Text(0, "LINE").Real(10, 1);
  std::string data = w.Data().substr(0, w.Data().size() - 3);
  EXPECT_EQ(ErrorOf(data), "byte " + std::to_string(data.size() - 7) +
                               ": the file ends inside the value of group 10");
  EXPECT_EQ(ErrorOf(w.Data() + std::string("\x00\x00"
                                           "ENDS",
                                           6)),
            "byte " + std::to_string(w.Data().size()) + ": the string of group 0 is not ended");
}

TEST(DxfDamage, ReportsAMissingFile) {
  std::string error;
  EXPECT_FALSE(ReadDxfFile("/nonexistent/drawing.dxf", error));
  EXPECT_EQ(error, "cannot open /nonexistent/drawing.dxf");
}

// Every prefix of a file is read or refused with a message; only the prefixes that hold the
// whole file up to EOF are read.
class DxfTruncated : public testing::TestWithParam<const char*> {};

TEST_P(DxfTruncated, EveryPrefixFailsCleanly) {
  std::string data = plx::test::ReadFile(plx::test::CorpusDir() / GetParam());
  bool binary = data.rfind("AutoCAD Binary DXF", 0) == 0;
  size_t eofEnd = data.rfind("EOF") + (binary ? 4 : 3);
  size_t step = data.size() > 20000 ? data.size() / 300 : 1;
  for (size_t length = 0;; length = std::min(length + step, data.size())) {
    std::string prefix = data.substr(0, length);
    std::string error;
    auto d = ReadDxf(prefix, error);
    if (length >= eofEnd) {
      EXPECT_TRUE(d) << length << ": " << error;
    } else {
      ASSERT_FALSE(d) << "prefix of " << length << " bytes was read";
      ASSERT_TRUE(error.rfind("line ", 0) == 0 || error.rfind("byte ", 0) == 0) << error;
    }
    if (length == data.size()) break;
  }
}

INSTANTIATE_TEST_SUITE_P(Files, DxfTruncated,
                         testing::Values("ezdxf_Minimal_DXF_AC1006.dxf",
                                         "libredwg_r10_entities.dxf", "ezdxf_bin_dxf_r2000.dxf",
                                         "ezdxf_torus_r2000.dxf", "assimp_issue_2229.dxf"));

}  // namespace
