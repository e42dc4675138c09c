// The SAT text tokenizer and the record cursor on the variants real files carry.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "sat/Sat.h"

namespace plx::sat {
namespace {

const char* kText700 =
    "700 0 1 0 \n"
    "@33 Open Design Alliance ACIS Builder @12 ACIS 32.0 NT @24 Fri May 13 10:01:59 2022 \n"
    "1 9.9999999999999995e-007 1e-010 \n"
    "body $1 -1 $-1 $2 $-1 $-1 #\n"
    "eye_refinement $-1 -1 @5 grid  1 @3 tri 1 @10 end_fields #\n"
    "lump $-1 -1 $-1 $-1 $-1 $0 #\n"
    "edge $-1 -1 $-1 $-1 0 $-1 6.2831853071795862 $-1 $-1 forward @7 unknown #\n"
    "End-of-ACIS-data \n";

TEST(SatText, ReadsHeaderAndRecordsOfVersion700) {
  const File file = ParseText(kText700);
  EXPECT_EQ(file.header.version, 700);
  EXPECT_EQ(file.header.bodyCount, 1);
  EXPECT_EQ(file.header.product, "Open Design Alliance ACIS Builder");
  EXPECT_EQ(file.header.acisVersion, "ACIS 32.0 NT");
  EXPECT_EQ(file.header.date, "Fri May 13 10:01:59 2022");
  EXPECT_DOUBLE_EQ(file.header.resabs, 1e-6);
  ASSERT_EQ(file.records.size(), 4u);
  EXPECT_TRUE(file.sawEnd);
  EXPECT_EQ(file.records[0].name, "body");
  EXPECT_EQ(file.records[0].line, 4);

  Cursor body(file, 0);
  EXPECT_EQ(body.attribute(), 1);
  EXPECT_EQ(body.Pointer(), 2);
  EXPECT_EQ(body.Pointer(), -1);
  EXPECT_EQ(body.Pointer(), -1);
  EXPECT_TRUE(body.AtEnd());

  // A counted string keeps its trailing space; the next field follows it.
  Cursor eye(file, 1);
  EXPECT_EQ(eye.String(), "grid ");
  EXPECT_EQ(eye.Integer(), 1);
  EXPECT_EQ(eye.String(), "tri");

  Cursor edge(file, 3);
  EXPECT_EQ(edge.Pointer(), -1);
  EXPECT_DOUBLE_EQ(edge.Real(), 0.0);
  edge.Pointer();
  EXPECT_DOUBLE_EQ(edge.Real(), 6.2831853071795862);
  edge.Skip(2);
  EXPECT_EQ(edge.Choice({"forward", "reversed"}), 0);
  EXPECT_EQ(edge.String(), "unknown");
}

TEST(SatText, ReadsCountedStringsOfVersion400ThroughSpaces) {
  const File file = ParseText(
      "400 0 1 0 \n33 Open Design Alliance ACIS Builder 12 ACIS 32.0 NT 24 Tue Apr 26 10:26:08 "
      "2022 \n"
      "1 1e-06 1e-10\n"
      "name_attrib $-1 $-1 $-1 $-1 11 a  b c d 12 7 #\n"
      "transform $-1 1 0 0 0 1 0 0 0 1 128 135 0 1 no_rotate no_reflect no_shear #\n");
  EXPECT_EQ(file.header.product, "Open Design Alliance ACIS Builder");
  EXPECT_FALSE(file.sawEnd);
  ASSERT_EQ(file.records.size(), 2u);
  Cursor attrib(file, 0);
  attrib.Skip(3);
  EXPECT_EQ(attrib.String(), "a  b c d 12");
  EXPECT_EQ(attrib.Integer(), 7);
  EXPECT_TRUE(attrib.AtEnd());

  Cursor transform(file, 1);
  const Vec3 row = transform.Triple();
  EXPECT_EQ(row.x, 1);
  transform.Skip(6);
  const Vec3 move = transform.Triple();
  EXPECT_EQ(move.x, 128);
  EXPECT_EQ(move.y, 135);
}

TEST(SatText, ReadsVersion106WithNumbersForKeywords) {
  const File file = ParseText(
      "106 3 1 0\n"
      "face $-1 $-1 $-1 $-1 $-1 0 1 0 #\n"
      "cone-surface $-1 0 0 0 0 0 1 5 0 0 1 0 0 0 1 5 1 0 0 0 1 2.5 #\n"
      "End-of-ACIS-data\n");
  EXPECT_EQ(file.header.version, 106);
  EXPECT_TRUE(file.header.product.empty());
  Cursor face(file, 0);
  face.Skip(4);
  EXPECT_EQ(face.Choice({"forward", "reversed"}), 0);
  EXPECT_EQ(face.Choice({"single", "double"}), 1);
  EXPECT_EQ(face.Choice({"out", "in"}), 0);
  Cursor cone(file, 1);
  cone.Triple();
  cone.Triple();
  cone.Triple();
  cone.Real();
  EXPECT_FALSE(cone.Bound().has_value());
  EXPECT_FALSE(cone.Bound().has_value());
  cone.Skip(3);
  EXPECT_EQ(cone.Choice({"forward", "reversed"}), 1);
  EXPECT_FALSE(cone.Bound().has_value());
  EXPECT_FALSE(cone.Bound().has_value());
  EXPECT_FALSE(cone.Bound().has_value());
  EXPECT_DOUBLE_EQ(*cone.Bound(), 2.5);
  EXPECT_TRUE(cone.AtEnd());
}

TEST(SatText, SkipsHistoryAndExtraPointerOnlyOnEntityRecordsFrom700) {
  const File file = ParseText(
      "21500 4 2 24\n16 Autodesk AutoCAD 20 ASM 223.0.1.1930 OSX 0\n25.4 1e-06 1e-10\n"
      "asmheader $-1 -1 @12 223.0.1.1930 #\n"
      "vertex $-1 -1 $-1 $-1 2 $3 #\n"
      "persubent-acadSolidHistory-attrib $-1 -1 $-1 $-1 $1 1 1 1 1000000000 #\n"
      "point $-1 -1 $-1 0.25 -0 1e3 #\n");
  EXPECT_DOUBLE_EQ(file.header.unitsScale, 25.4);
  EXPECT_TRUE(file.header.date.empty());
  Cursor header(file, 0);
  EXPECT_EQ(header.String(), "223.0.1.1930");
  Cursor vertex(file, 1);
  EXPECT_EQ(vertex.Pointer(), -1);
  EXPECT_EQ(vertex.Integer(), 2);
  EXPECT_EQ(vertex.Pointer(), 3);
  Cursor attrib(file, 2);
  EXPECT_EQ(attrib.Pointer(), -1);
  EXPECT_EQ(attrib.Pointer(), -1);
  EXPECT_EQ(attrib.Pointer(), 1);
  Cursor point(file, 3);
  const Vec3 p = point.Triple();
  EXPECT_DOUBLE_EQ(p.x, 0.25);
  EXPECT_DOUBLE_EQ(p.z, 1000.0);
}

TEST(SatText, ReadsBlocksAsOneField) {
  const File file = ParseText(
      "700 0 1 0\n@1 a @1 b @1 c\n1 1e-06 1e-10\n"
      "pcurve $-1 -1 $-1 0 reversed { exppc nubs 1 open 2 { ref 0 } I I } 0 0 #\n");
  Cursor pcurve(file, 0);
  EXPECT_EQ(pcurve.Integer(), 0);
  EXPECT_EQ(pcurve.Choice({"forward", "reversed"}), 1);
  Cursor copy = pcurve;
  copy.Skip();
  EXPECT_DOUBLE_EQ(copy.Real(), 0.0);
  pcurve.Open();
  EXPECT_EQ(pcurve.Word(), "exppc");
  EXPECT_EQ(pcurve.Word(), "nubs");
}

struct BadText {
  const char* name;
  const char* text;
  const char* message;
  friend void PrintTo(const BadText& bad, std::ostream* out) { *out << bad.name; }
};

class SatTextErrors : public testing::TestWithParam<BadText> {};

TEST_P(SatTextErrors, NameWhatIsWrong) {
  try {
    ParseText(GetParam().text);
    FAIL() << "no error";
  } catch (const FormatError& e) {
    EXPECT_NE(std::string(e.what()).find(GetParam().message), std::string::npos) << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    All, SatTextErrors,
    testing::Values(BadText{"Empty", "", "empty"},
                    BadText{"NotSat", "solid cube\nfacet normal 0 0 1\n", "not a SAT file"},
                    BadText{"Version", "5 0 1 0\n", "unknown version"},
                    BadText{"ShortHeader", "700 0 1 0\n@1 a @1 b @1 c\n", "header ends"},
                    BadText{"BadStrings", "700 0 1 0\n@99 a\n1 1 1\n", "line 2"},
                    BadText{"Unended", "106 1 1 0\nbody $-1 $-1 $-1\n",
                            "record 0 (body) on line 2 is not ended"},
                    BadText{"LongString", "700 0 1 0\n@1 a @1 b @1 c\n1 1 1\nx $-1 -1 @50 abc #\n",
                            "string runs past"},
                    BadText{"BadPointer", "106 1 1 0\nbody $x #\n", "not a pointer"}),
    [](const testing::TestParamInfo<BadText>& info) { return std::string(info.param.name); });

TEST(SatCursor, ChecksPointersAndTypes) {
  const File file = ParseText("106 1 1 0\nbody $-1 $5 forward 1.5 #\nlump $-1 #\n");
  Cursor body(file, 0);
  EXPECT_THROW(body.Pointer(), FormatError);
  try {
    Cursor again(file, 0);
    again.Skip();
    again.Integer();
    FAIL();
  } catch (const FormatError& e) {
    EXPECT_EQ(std::string(e.what()),
              "record 0 (body) on line 2: an integer was expected, not a word");
  }
  Cursor third(file, 0);
  third.Skip(2);
  EXPECT_THROW(third.Integer(), FormatError);  // 1.5 is not integral
  Cursor lump(file, 1);
  EXPECT_THROW(lump.Pointer(), FormatError);  // ends
}

}  // namespace
}  // namespace plx::sat
