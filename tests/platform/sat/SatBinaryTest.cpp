// The SAB tokenizer: hand-built data for each tag, the corpus drawings' binary solids against
// the text their records stand for, and damaged data.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "arxhost/Dxf.h"
#include "sat/Sat.h"

namespace plx::sat {
namespace {

// Builds SAB data value by value.
class Sab {
 public:
  explicit Sab(const char* magic = "ASM BinaryFile4") { Raw(magic, 15); }
  Sab& Int32Raw(std::int32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(std::uint8_t(std::uint32_t(v) >> (8 * i)));
    return *this;
  }
  Sab& Int(std::int32_t v) { return Tag(0x04).Int32Raw(v); }
  Sab& Ptr(std::int32_t v) { return Tag(0x0C).Int32Raw(v); }
  Sab& Real(double v) { return Tag(0x06).DoubleRaw(v); }
  Sab& Str(const std::string& s) {
    Tag(0x07).bytes_.push_back(std::uint8_t(s.size()));
    return Raw(s.data(), s.size());
  }
  Sab& LongStr(const std::string& s) {
    Tag(0x12).Int32Raw(std::int32_t(s.size()));
    return Raw(s.data(), s.size());
  }
  Sab& Name(std::initializer_list<std::string> parts) {
    size_t i = 0;
    for (const std::string& p : parts) {
      Tag(++i == parts.size() ? 0x0D : 0x0E).bytes_.push_back(std::uint8_t(p.size()));
      Raw(p.data(), p.size());
    }
    return *this;
  }
  Sab& Pos(double x, double y, double z) { return Tag(0x13).DoubleRaw(x).DoubleRaw(y).DoubleRaw(z); }
  Sab& Vec(double x, double y, double z) { return Tag(0x14).DoubleRaw(x).DoubleRaw(y).DoubleRaw(z); }
  Sab& True() { return Tag(0x0B); }
  Sab& False() { return Tag(0x0A); }
  Sab& End() { return Tag(0x11); }
  Sab& Header(int version) {
    Int32Raw(version).Int32Raw(0).Int32Raw(2).Int32Raw(4);
    return Str("Open Design Alliance ACIS Builder").Str("ACIS 223.00 NT").Str("Thu Apr 18 2024")
        .Real(1).Real(1e-6).Real(1e-10);
  }
  Sab& EndMarker() { return Name({"End", "of", "ASM", "data"}); }
  Sab& Tag(std::uint8_t t) {
    bytes_.push_back(t);
    return *this;
  }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  Sab& Raw(const char* p, size_t n) {
    bytes_.insert(bytes_.end(), p, p + n);
    return *this;
  }
  Sab& DoubleRaw(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, 8);
    for (int i = 0; i < 8; ++i) bytes_.push_back(std::uint8_t(bits >> (8 * i)));
    return *this;
  }
  std::vector<std::uint8_t> bytes_;
};

// The ACIS data of a corpus solid (model space or a block) by its handle.
const plx::dxf::ModelerData* CorpusSolid(const char* file, std::uint64_t handle) {
  static std::map<std::string, plx::dxf::Drawing> drawings;
  auto it = drawings.find(file);
  if (it == drawings.end()) {
    std::string error;
    auto drawing = plx::dxf::ReadDxfFile(plx::test::CorpusDir() / file, error);
    EXPECT_TRUE(drawing) << error;
    if (!drawing) return nullptr;
    it = drawings.emplace(file, std::move(*drawing)).first;
  }
  std::vector<const plx::dxf::Entity*> all;
  for (const plx::dxf::Block& b : it->second.blocks)
    for (const plx::dxf::Entity& e : b.entities) all.push_back(&e);
  for (const plx::dxf::Entity& e : it->second.entities) all.push_back(&e);
  for (const plx::dxf::Entity* e : all)
    if (e->handle == handle) return &std::get<plx::dxf::ModelerData>(e->data);
  ADD_FAILURE() << "no entity " << std::hex << handle << " in " << file;
  return nullptr;
}

std::vector<std::uint8_t> CorpusSab(const char* file, std::uint64_t handle) {
  const plx::dxf::ModelerData* solid = CorpusSolid(file, handle);
  return solid ? solid->sab : std::vector<std::uint8_t>{};
}

std::string CorpusSat(const char* file, std::uint64_t handle) {
  const plx::dxf::ModelerData* solid = CorpusSolid(file, handle);
  return solid ? solid->sat : std::string{};
}

// The text form's spelling of a SAB logical at its place.
bool SameLogical(const Token& binary, const Token& text) {
  static const char* const kFirst[] = {"forward", "single", "out", "forward_v", "I", "no_rotate", "no_reflect", "no_shear"};
  static const char* const kSecond[] = {"reversed", "double", "in", "reverse_v", "F", "rotate", "reflect", "shear"};
  for (const char* w : binary.kind == Token::Kind::kTrue ? kFirst : kSecond)
    if (text.text == w) return true;
  return false;
}

// Compares a SAB record with the text record it stands for, token for token: typed numbers
// against text numbers, a position against three numbers, logicals against their words.
void ExpectSameRecord(const Record& binary, const Record& text, size_t index) {
  SCOPED_TRACE("record " + std::to_string(index) + " (" + text.name + ")");
  EXPECT_EQ(binary.name, text.name);
  size_t t = 0;
  auto number = [&](double value) {
    ASSERT_LT(t, text.tokens.size());
    const Token& tt = text.tokens[t++];
    ASSERT_EQ(tt.kind, Token::Kind::kNumber);
    EXPECT_EQ(tt.real, value);
  };
  for (const Token& b : binary.tokens) {
    switch (b.kind) {
      case Token::Kind::kInteger:
      case Token::Kind::kReal:
        number(b.real);
        break;
      case Token::Kind::kPosition:
      case Token::Kind::kVector:
        number(b.vec.x);
        number(b.vec.y);
        number(b.vec.z);
        break;
      case Token::Kind::kTrue:
      case Token::Kind::kFalse:
        ASSERT_LT(t, text.tokens.size());
        EXPECT_TRUE(SameLogical(b, text.tokens[t])) << text.tokens[t].text;
        ++t;
        break;
      default:
        ASSERT_LT(t, text.tokens.size());
        EXPECT_EQ(b.kind, text.tokens[t].kind);
        EXPECT_EQ(b.integer, text.tokens[t].integer);
        EXPECT_EQ(b.text, text.tokens[t].text);
        ++t;
        break;
    }
  }
  EXPECT_EQ(t, text.tokens.size());
}

TEST(SatBinary, ReadsHeaderRecordsAndEveryTag) {
  Sab sab;
  sab.Header(22300)
      .Name({"asmheader"}).Ptr(-1).Int(-1).Str("208.0.4.7009").End()
      .Name({"body"}).Ptr(-1).Int(-1).Ptr(-1).Ptr(2).Ptr(-1).Ptr(3).End()
      .Name({"lump"}).Ptr(-1).Int(-1).Ptr(-1).Ptr(-1).Ptr(-1).Ptr(1).End()
      .Name({"sphere", "surface"}).Ptr(-1).Int(-1).Ptr(-1).Pos(1, 2, 3).Real(5).Vec(1, 0, 0).Vec(0, 0, 1)
      .True().False().True().True().True().End()
      .Name({"integer_attrib", "name_attrib", "gen", "attrib"}).Ptr(-1).Int(-1).Ptr(-1).Ptr(-1).Ptr(1)
      .LongStr("a long string").Name({"exppc"}).End()
      .EndMarker();
  const File file = ParseBinary(sab.Bytes());
  EXPECT_EQ(file.header.version, 22300);
  EXPECT_EQ(file.header.bodyCount, 2);
  EXPECT_EQ(file.header.flags, 4);
  EXPECT_EQ(file.header.product, "Open Design Alliance ACIS Builder");
  EXPECT_EQ(file.header.acisVersion, "ACIS 223.00 NT");
  EXPECT_EQ(file.header.date, "Thu Apr 18 2024");
  EXPECT_EQ(file.header.resabs, 1e-6);
  EXPECT_EQ(file.header.resnor, 1e-10);
  EXPECT_TRUE(file.sawEnd);
  ASSERT_EQ(file.records.size(), 5u);
  EXPECT_EQ(file.records[3].name, "sphere-surface");
  EXPECT_EQ(file.records[4].name, "integer_attrib-name_attrib-gen-attrib");

  // The cursor reads them as it reads the text of version 700 and later.
  Cursor body(file, 1);
  EXPECT_EQ(body.Pointer(), 2);
  EXPECT_EQ(body.Pointer(), -1);
  EXPECT_EQ(body.Pointer(), 3);
  EXPECT_TRUE(body.AtEnd());
  Cursor sphere(file, 3);
  const Vec3 centre = sphere.Triple();
  EXPECT_EQ(centre.z, 3);
  EXPECT_EQ(sphere.Real(), 5);
  sphere.Triple();
  sphere.Triple();
  EXPECT_EQ(sphere.Choice({"forward_v", "reverse_v"}), 0);
  EXPECT_EQ(sphere.Choice({"I", "F"}), 1);
  EXPECT_FALSE(sphere.Bound());
  Cursor attrib(file, 4);
  attrib.Skip(3);
  EXPECT_EQ(attrib.String(), "a long string");
  EXPECT_EQ(attrib.Word(), "exppc");
  Cursor header(file, 0);
  EXPECT_EQ(header.String(), "208.0.4.7009");
}

// One string holding a transform's fields gives the tokens of its text, as the text form has.
TEST(SatBinary, SplitsATransformWrittenAsOneString) {
  Sab sab;
  sab.Header(22300)
      .Name({"transform"}).Ptr(-1).Int(-1)
      .LongStr("1 0 0 0 1 0 0 0 1 128.5 -135 0 1 no_rotate no_reflect no_shear ").End()
      .EndMarker();
  const File file = ParseBinary(sab.Bytes());
  ASSERT_EQ(file.records.size(), 1u);
  const File text = ParseText(
      "22300 0 2 4 \n@3 ODA @4 ACIS @4 date \n1 1e-06 1e-10 \n"
      "transform $-1 -1 1 0 0 0 1 0 0 0 1 128.5 -135 0 1 no_rotate no_reflect no_shear #\n"
      "End-of-ACIS-data \n");
  ASSERT_EQ(text.records.size(), 1u);
  ExpectSameRecord(file.records[0], text.records[0], 0);
}

// The sphere of the R2018 drawing, record for record as its text form would be written.
TEST(SatBinary, CorpusSphereEqualsItsText) {
  const std::vector<std::uint8_t> bytes = CorpusSab("ezdxf_sphere_r2018.dxf", 0x9C);
  ASSERT_FALSE(bytes.empty());
  const File file = ParseBinary(bytes);
  const File text = ParseText(
      "22300 0 2 4 \n@33 Open Design Alliance ACIS Builder @14 ACIS 223.00 NT @24 Thu Apr 18 08:32:25 2024 \n"
      "1 9.9999999999999995e-007 1e-010 \n"
      "asmheader $-1 -1 @12 208.0.4.7009 #\n"
      "body $-1 -1 $-1 $2 $-1 $3 #\n"
      "lump $-1 -1 $-1 $-1 $4 $1 #\n"
      "transform $-1 -1 1 0 0 0 1 0 0 0 1 0 0 0 1 no_rotate no_reflect no_shear #\n"
      "shell $-1 -1 $-1 $-1 $-1 $5 $-1 $2 #\n"
      "face $-1 -1 $-1 $-1 $-1 $4 $-1 $6 forward single #\n"
      "sphere-surface $-1 -1 $-1 0 0 0 5 1 0 0 0 0 1 forward_v I I I I #\n"
      "End-of-ACIS-data \n");
  EXPECT_EQ(file.header.version, 22300);
  EXPECT_EQ(file.header.product, text.header.product);
  EXPECT_EQ(file.header.date, text.header.date);
  EXPECT_EQ(file.header.resabs, text.header.resabs);
  ASSERT_EQ(file.records.size(), text.records.size());
  for (size_t i = 0; i < text.records.size(); ++i) ExpectSameRecord(file.records[i], text.records[i], i);
}

// The R2013 drawing keeps in SAB what its R2000 copy keeps in SAT text (version 400): the same
// records, one later for the asmheader, with equal values field for field.
TEST(SatBinary, CorpusR2013SolidsEqualTheirR2000Text) {
  for (std::uint64_t handle : {0x176, 0x2E1, 0x37D}) {
    SCOPED_TRACE(handle);
    const File binary = ParseBinary(CorpusSab("libredwg_example_2013.dxf", handle));
    const File text = ParseText(CorpusSat("libredwg_example_2000.dxf", handle));
    EXPECT_EQ(text.header.version, 400);
    EXPECT_EQ(binary.header.version, 21800);
    ASSERT_EQ(binary.records.size(), text.records.size() + 1);
    EXPECT_EQ(binary.records[0].name, "asmheader");
    auto pointer = [](std::int64_t p) { return p < 0 ? p : p + 1; };
    for (size_t i = 0; i < text.records.size(); ++i) {
      const std::string& name = text.records[i].name;
      SCOPED_TRACE(std::to_string(i) + " " + name);
      ASSERT_EQ(binary.records[i + 1].name, name);
      Cursor b(binary, i + 1), t(text, i);
      EXPECT_EQ(b.attribute(), pointer(t.attribute()));
      if (name == "coedge") {
        for (int k = 0; k < 4; ++k) EXPECT_EQ(b.Pointer(), pointer(t.Pointer()));
        EXPECT_EQ(b.Choice({"forward", "reversed"}), t.Choice({"forward", "reversed"}));
        EXPECT_EQ(b.Pointer(), pointer(t.Pointer()));
        EXPECT_EQ(b.Integer(), 0);  // only the binary versions write it
      } else if (name == "edge") {
        // Version 400 leaves out the parameters and the convexity.
        EXPECT_EQ(b.Pointer(), pointer(t.Pointer()));
        b.Real();
        EXPECT_EQ(b.Pointer(), pointer(t.Pointer()));
        b.Real();
        EXPECT_EQ(b.Pointer(), pointer(t.Pointer()));
        EXPECT_EQ(b.Pointer(), pointer(t.Pointer()));
        EXPECT_EQ(b.Choice({"forward", "reversed"}), t.Choice({"forward", "reversed"}));
        EXPECT_EQ(b.String(), "unknown");
        EXPECT_TRUE(t.AtEnd());
        continue;
      } else if (name == "vertex") {
        EXPECT_EQ(b.Pointer(), pointer(t.Pointer()));
        b.Integer();  // 21200 and later: which end of the edge
      }
      // The rest field for field, by the type the text gives.
      while (!t.AtEnd()) {
        ASSERT_FALSE(b.AtEnd());
        const Token& next = *t.Peek();
        if (next.kind == Token::Kind::kPointer) {
          EXPECT_EQ(b.Pointer(), pointer(t.Pointer()));
        } else if (next.kind == Token::Kind::kWord) {
          const std::string word = next.text;
          if (word == "forward" || word == "reversed")
            EXPECT_EQ(b.Choice({"forward", "reversed"}), t.Choice({"forward", "reversed"}));
          else if (word == "single" || word == "double")
            EXPECT_EQ(b.Choice({"single", "double"}), t.Choice({"single", "double"}));
          else if (word == "out" || word == "in")
            EXPECT_EQ(b.Choice({"out", "in"}), t.Choice({"out", "in"}));
          else if (word == "forward_v" || word == "reverse_v")
            EXPECT_EQ(b.Choice({"forward_v", "reverse_v"}), t.Choice({"forward_v", "reverse_v"}));
          else if (word == "I" || word == "F")
            EXPECT_EQ(b.Bound(), t.Bound());
          else
            ADD_FAILURE() << "word " << word;
        } else if (b.Peek()->kind == Token::Kind::kPosition || b.Peek()->kind == Token::Kind::kVector) {
          const Vec3 bv = b.Triple(), tv = t.Triple();
          EXPECT_EQ(bv.x, tv.x);
          EXPECT_EQ(bv.y, tv.y);
          EXPECT_EQ(bv.z, tv.z);
        } else if (b.Peek()->kind == Token::Kind::kInteger) {
          EXPECT_EQ(b.Integer(), t.Integer());
        } else {
          EXPECT_EQ(b.Real(), t.Real());
        }
      }
      EXPECT_TRUE(b.AtEnd());
    }
  }
}

TEST(SatBinary, EveryCorpusSolidTokenizes) {
  for (std::uint64_t handle : {0x622, 0x62C}) {
    const File file = ParseBinary(CorpusSab("ezdxf_uncommon.dxf", handle));
    EXPECT_GT(file.records.size(), 50u);
    EXPECT_TRUE(file.sawEnd);
    // Autodesk writes the transform as three vectors, a translation, a scale and three logicals.
    for (size_t i = 0; i < file.records.size(); ++i)
      if (file.records[i].name == "transform") {
        Cursor c(file, i);
        for (int k = 0; k < 4; ++k) c.Triple();
        EXPECT_EQ(c.Real(), 1);
        EXPECT_EQ(c.Choice({"no_rotate", "rotate"}), 0);
      }
  }
}

// Every cut of a real solid's data, and every flipped byte of its header and first records,
// gives a reason or a file, never a crash (the sanitizer build watches).
TEST(SatBinary, DamagedDataGivesAReason) {
  const std::vector<std::uint8_t> whole = CorpusSab("ezdxf_sphere_r2018.dxf", 0x9C);
  ASSERT_FALSE(whole.empty());
  for (size_t n = 0; n < whole.size(); ++n) {
    const std::span<const std::uint8_t> cut(whole.data(), n);
    try {
      ParseBinary(cut);
      ADD_FAILURE() << "a cut after " << n << " bytes was taken";
    } catch (const FormatError& e) {
      EXPECT_GT(std::strlen(e.what()), 10u);
    }
  }
  for (size_t i = 0; i < whole.size(); ++i)
    for (std::uint8_t flip : {0x01, 0x80, 0xFF}) {
      std::vector<std::uint8_t> changed = whole;
      changed[i] ^= flip;
      try {
        const File file = ParseBinary(changed);
        for (size_t r = 0; r < file.records.size(); ++r) {
          Cursor c(file, r);
          while (!c.AtEnd()) c.Skip();
        }
      } catch (const FormatError&) {
      }
    }
  try {
    ParseBinary(std::vector<std::uint8_t>{'n', 'o', 't'});
    ADD_FAILURE();
  } catch (const FormatError& e) {
    EXPECT_STREQ(e.what(), "not SAB data: the ACIS binary header is missing");
  }
  Sab unknown;
  unknown.Header(22300).Name({"body"}).Ptr(-1).Tag(0x2A).End().EndMarker();
  try {
    ParseBinary(unknown.Bytes());
    ADD_FAILURE();
  } catch (const FormatError& e) {
    EXPECT_NE(std::string(e.what()).find("record 0 (body) holds the unknown tag 2A"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace plx::sat
