// SAT into the modeller: the corpus solids, every version's layout, analytic and B-spline
// geometry, several shells, lumps and bodies, transforms, classification and the statuses of
// files that cannot be read.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <ostream>
#include <tuple>

#include "SatBoxes.h"
#include "SatCorpus.h"
#include "arxhost/Modeller.h"
#include "sat/Sat.h"
#include "win32/text.h"

namespace plx::modeller {
namespace {

constexpr double kPi = 3.14159265358979323846;

double MeshVolume(const std::vector<Triangle>& triangles) {
  double volume = 0;
  for (const Triangle& t : triangles) {
    const Point3 &a = t.v[0], &b = t.v[1], &c = t.v[2];
    volume += (a.x * (b.y * c.z - b.z * c.y) - a.y * (b.x * c.z - b.z * c.x) +
               a.z * (b.x * c.y - b.y * c.x)) /
              6.0;
  }
  return volume;
}

// Directed edges of the welded triangles that have no opposite edge: 0 for a closed mesh
// oriented consistently.
int FreeEdges(const std::vector<Triangle>& triangles) {
  std::map<std::tuple<double, double, double>, int> ids;
  auto id = [&](const Point3& p) {
    return ids.emplace(std::make_tuple(p.x, p.y, p.z), int(ids.size())).first->second;
  };
  std::map<std::pair<int, int>, int> directed;
  for (const Triangle& t : triangles)
    for (int k = 0; k < 3; ++k) {
      const int a = id(t.v[k]), b = id(t.v[(k + 1) % 3]);
      if (a != b) ++directed[{a, b}];
    }
  int free = 0;
  for (const auto& [edge, count] : directed) {
    const auto opposite = directed.find({edge.second, edge.first});
    free += std::abs(count - (opposite == directed.end() ? 0 : opposite->second));
  }
  return free;
}

// The volume of the corpus primitives by their formulas; 0 where there is none.
double FormulaVolume(const std::string& name) {
  if (name.rfind("ezdxf_torus_", 0) == 0) return 2 * kPi * kPi * 32 * 10 * 10;  // R 32, r 10
  if (name == "ezdxf_3dsolids_0") return kPi * 0.25 * 0.25 * 1 / 3;             // cone r 0.25, h 1
  return 0;
}

class SatCorpusSolids : public testing::TestWithParam<test::CorpusSat> {};

TEST_P(SatCorpusSolids, ReadIntoValidShapesOfTheirKind) {
  const test::CorpusSat& sat = GetParam();
  test::TempDir dir;
  const SatReadResult read = ReadSatFile(test::SaveSat(dir, sat).wstring());
  ASSERT_EQ(read.status, Acad::eOk) << plx::Utf8FromWide(read.reason);
  ASSERT_EQ(read.bodies.size(), 1u);
  const Shape& shape = read.bodies[0];
  if (sat.entity == "REGION") {
    EXPECT_EQ(shape.Kind(), ShapeKind::kRegion);
    EXPECT_GT(shape.Area(), 0);
    std::vector<Curve> curves;
    EXPECT_EQ(shape.ExplodeToCurves(curves), Acad::eOk);
    EXPECT_GE(curves.size(), 3u);
    return;
  }
  ASSERT_EQ(shape.Kind(), ShapeKind::kSolid);
  std::vector<Triangle> triangles;
  ASSERT_EQ(shape.Tessellate(5.0, triangles), Acad::eOk);
  EXPECT_EQ(FreeEdges(triangles), 0);
  const double volume = shape.Volume();
  EXPECT_GT(volume, 0);
  EXPECT_NEAR(MeshVolume(triangles), volume, 5e-3 * volume);
  const double formula = FormulaVolume(sat.Name());
  if (formula > 0) {
    EXPECT_NEAR(volume, formula, 1e-6 * formula);
  }
}

INSTANTIATE_TEST_SUITE_P(Corpus, SatCorpusSolids, testing::ValuesIn(test::AllCorpusSat()),
                         [](const testing::TestParamInfo<test::CorpusSat>& info) {
                           return info.param.Name();
                         });

TEST(SatReader, PlacesTheCorpusSolidsWhereTheDrawingsSayTheyAre) {
  // The torus's transform moves it to 128,135,0 (the drawing's extents: 86..170, 93..177).
  const SatReadResult torus = ReadSatText(test::CorpusSatTexts("ezdxf_torus_r2000.dxf").at(0).text);
  ASSERT_TRUE(torus.Ok());
  Point3 lo, hi;
  ASSERT_EQ(torus.bodies[0].Extents(lo, hi), Acad::eOk);
  EXPECT_NEAR(lo.x, 86, 1e-6);
  EXPECT_NEAR(hi.y, 177, 1e-6);
  EXPECT_NEAR(hi.z, 10, 1e-6);
  // The cone's apex is at the origin, its base circle of radius 0.25 at x = -1.
  const SatReadResult cone = ReadSatText(test::CorpusSatTexts("ezdxf_3dsolids.dxf").at(0).text);
  ASSERT_TRUE(cone.Ok());
  ASSERT_EQ(cone.bodies[0].Extents(lo, hi), Acad::eOk);
  EXPECT_NEAR(lo.x, -1, 1e-6);
  EXPECT_NEAR(hi.x, 0, 1e-6);
  EXPECT_NEAR(hi.y, 0.25, 1e-6);
}

class SatVersions : public testing::TestWithParam<int> {};

TEST_P(SatVersions, ReadABoxWithOrWithoutTheEndMarker) {
  test::SatBoxWriter writer(GetParam());
  test::SatBody body;
  body.lumps.push_back({{1, 2, 3}, {2, 3, 4}, false});
  for (bool endMarker : {true, false}) {
    const SatReadResult read = ReadSatText(writer.Write({body}, endMarker));
    ASSERT_EQ(read.status, Acad::eOk) << plx::Utf8FromWide(read.reason);
    ASSERT_EQ(read.bodies.size(), 1u);
    EXPECT_EQ(read.bodies[0].Kind(), ShapeKind::kSolid);
    EXPECT_NEAR(read.bodies[0].Volume(), 24, 1e-9);
    Point3 lo, hi;
    ASSERT_EQ(read.bodies[0].Extents(lo, hi), Acad::eOk);
    EXPECT_NEAR(lo.x, 1, 1e-9);
    EXPECT_NEAR(hi.z, 7, 1e-9);
  }
}

INSTANTIATE_TEST_SUITE_P(All, SatVersions, testing::Values(106, 400, 700, 20800, 21200, 21500),
                         [](const testing::TestParamInfo<int>& info) {
                           return "v" + std::to_string(info.param);
                         });

TEST(SatReader, ReadsCavitiesLumpsAndBodies) {
  test::SatBoxWriter writer(700);
  test::SatBody hollow;
  hollow.lumps.push_back({{0, 0, 0}, {4, 4, 4}, true});
  test::SatBody twoLumps;
  twoLumps.lumps.push_back({{0, 0, 0}, {1, 1, 1}, false});
  twoLumps.lumps.push_back({{5, 0, 0}, {1, 2, 1}, false});
  const SatReadResult read = ReadSatText(writer.Write({hollow, twoLumps}));
  ASSERT_EQ(read.status, Acad::eOk) << plx::Utf8FromWide(read.reason);
  ASSERT_EQ(read.bodies.size(), 2u);
  EXPECT_EQ(read.bodies[0].Kind(), ShapeKind::kSolid);
  EXPECT_NEAR(read.bodies[0].Volume(), 64 - 8, 1e-9);
  EXPECT_NEAR(read.bodies[0].Area(), 6 * 16 + 6 * 4, 1e-9);
  EXPECT_EQ(read.bodies[1].Kind(), ShapeKind::kSolid);
  EXPECT_NEAR(read.bodies[1].Volume(), 3, 1e-9);
  std::vector<Triangle> triangles;
  ASSERT_EQ(read.bodies[0].Tessellate(0.5, triangles), Acad::eOk);
  EXPECT_EQ(FreeEdges(triangles), 0);
  EXPECT_NEAR(MeshVolume(triangles), 56, 1e-9);
}

TEST(SatReader, AppliesTheBodyTransform) {
  test::SatBoxWriter writer(400);
  test::SatBody body;
  body.lumps.push_back({{0, 0, 0}, {1, 2, 3}, false});
  body.transformed = true;
  // x goes to y, y to -x; then a move by 10, 20, 30.
  body.transform = {0, 1, 0, -1, 0, 0, 0, 0, 1, 10, 20, 30};
  const SatReadResult read = ReadSatText(writer.Write({body}));
  ASSERT_EQ(read.status, Acad::eOk) << plx::Utf8FromWide(read.reason);
  Point3 lo, hi;
  ASSERT_EQ(read.bodies[0].Extents(lo, hi), Acad::eOk);
  EXPECT_NEAR(lo.x, 8, 1e-9);
  EXPECT_NEAR(hi.x, 10, 1e-9);
  EXPECT_NEAR(lo.y, 20, 1e-9);
  EXPECT_NEAR(hi.y, 21, 1e-9);
  EXPECT_NEAR(lo.z, 30, 1e-9);
  EXPECT_NEAR(read.bodies[0].Volume(), 6, 1e-9);
}

const char* kHeader700 = "700 0 1 0\n@4 test @12 ACIS 32.0 NT @0 \n1 1e-06 1e-10\n";

TEST(SatReader, ReadsAWholeSphereAndAReversedOne) {
  // A sphere face without loops is the whole sphere; a negative radius points the normal in,
  // which the reversed face turns back out.
  for (const char* surface :
       {"sphere-surface $-1 -1 $-1 1 2 3 5 1 0 0 0 0 1 forward_v I I I I #\n",
        "sphere-surface $-1 -1 $-1 1 2 3 -5 1 0 0 0 0 1 forward_v I I I I #\n"}) {
    const bool inward = std::string(surface).find(" -5 ") != std::string::npos;
    const std::string text =
        std::string(kHeader700) + "body $-1 -1 $-1 $1 $-1 $-1 #\nlump $-1 -1 $-1 $-1 $2 $0 #\n" +
        "shell $-1 -1 $-1 $-1 $-1 $3 $-1 $1 #\n" + "face $-1 -1 $-1 $-1 $-1 $2 $-1 $4 " +
        (inward ? "reversed" : "forward") + " single #\n" + surface;
    const SatReadResult read = ReadSatText(text);
    ASSERT_EQ(read.status, Acad::eOk) << plx::Utf8FromWide(read.reason);
    ASSERT_EQ(read.bodies[0].Kind(), ShapeKind::kSolid);
    EXPECT_NEAR(read.bodies[0].Volume(), 4.0 / 3.0 * kPi * 125, 1e-6);
  }
}

TEST(SatReader, ReadsBSplineSurfacesAndCurves) {
  // A bilinear patch over the unit square (knot ends with multiplicity = degree), and a region
  // whose loop closes with a B-spline edge.
  const std::string patch =
      std::string(kHeader700) +
      "body $-1 -1 $-1 $1 $-1 $-1 #\nlump $-1 -1 $-1 $-1 $2 $0 #\n"
      "shell $-1 -1 $-1 $-1 $-1 $3 $-1 $1 #\n"
      "face $-1 -1 $-1 $-1 $-1 $2 $-1 $4 forward double out #\n"
      "spline-surface $-1 -1 $-1 forward { exactsur full nubs 1 1 open open none none 2 2 "
      "0 1 2 1 0 1 3 1 0 0 0 2 0 0 0 3 0 2 3 0 0 0 0 0 0 0 0 F 1 F 0 F 1 F 0 } I I I I #\n";
  SatReadResult read = ReadSatText(patch);
  ASSERT_EQ(read.status, Acad::eOk) << plx::Utf8FromWide(read.reason);
  EXPECT_EQ(read.bodies[0].Kind(), ShapeKind::kBody);
  EXPECT_NEAR(read.bodies[0].Area(), 6, 1e-9);

  const std::string
      triangle = std::string(kHeader700) +
                 "body $-1 -1 $-1 $1 $-1 $-1 #\nlump $-1 -1 $-1 $-1 $2 $0 #\nshell $-1 -1 $-1 $-1 "
                 "$-1 $3 $-1 $1 #\n"
                 "face $-1 -1 $-1 $-1 $4 $2 $-1 $5 forward double out #\n"
                 "loop $-1 -1 $-1 $-1 $6 $3 #\n"
                 "plane-surface $-1 -1 $-1 0 0 0 0 0 1 1 0 0 forward_v I I I I #\n"
                 "coedge $-1 -1 $-1 $7 $8 $-1 $9 forward $4 $-1 #\n"          // 6
                 "coedge $-1 -1 $-1 $8 $6 $-1 $10 forward $4 $-1 #\n"         // 7
                 "coedge $-1 -1 $-1 $6 $7 $-1 $11 forward $4 $-1 #\n"         // 8
                 "edge $-1 -1 $-1 $12 0 $13 2 $6 $15 forward @7 unknown #\n"  // 9
                 "edge $-1 -1 $-1 $13 0 $14 2 $7 $16 forward @7 unknown #\n"  // 10
                 "edge $-1 -1 $-1 $14 0 $12 1 $8 $17 forward @7 unknown #\n"  // 11
                 "vertex $-1 -1 $-1 $9 $18 #\nvertex $-1 -1 $-1 $10 $19 #\nvertex $-1 -1 $-1 $11 "
                 "$20 #\n"                                        // 12-14
                 "straight-curve $-1 -1 $-1 0 0 0 1 0 0 I I #\n"  // 15
                 "straight-curve $-1 -1 $-1 2 0 0 0 1 0 I I #\n"  // 16
                 "intcurve-curve $-1 -1 $-1 forward { exactcur full nubs 1 open 2 0 1 1 1 2 2 0 0 "
                 "0 0 1e-06 } I I #\n"  // 17
                 "point $-1 -1 $-1 0 0 0 #\npoint $-1 -1 $-1 2 0 0 #\npoint $-1 -1 $-1 2 2 0 #\n";
  read = ReadSatText(triangle);
  ASSERT_EQ(read.status, Acad::eOk) << plx::Utf8FromWide(read.reason);
  EXPECT_EQ(read.bodies[0].Kind(), ShapeKind::kRegion);
  EXPECT_NEAR(read.bodies[0].Area(), 2, 1e-9);
}

// Records as a binary tokenizer gives them: typed numbers, logicals for keywords, positions and
// vectors as one token, the transform as one string.
TEST(SatReader, ReadsTypedTokensAsTheBinaryFormGivesThem) {
  using Kind = sat::Token::Kind;
  auto pointer = [](std::int64_t i) {
    sat::Token t;
    t.kind = Kind::kPointer;
    t.integer = i;
    return t;
  };
  auto integer = [](std::int64_t i) {
    sat::Token t;
    t.kind = Kind::kInteger;
    t.integer = i;
    return t;
  };
  auto real = [](double v) {
    sat::Token t;
    t.kind = Kind::kReal;
    t.real = v;
    return t;
  };
  auto text = [](const char* s) {
    sat::Token t;
    t.kind = Kind::kString;
    t.text = s;
    return t;
  };
  auto yes = [] {
    sat::Token t;
    t.kind = Kind::kTrue;
    return t;
  };
  auto triple = [](Kind kind, double x, double y, double z) {
    sat::Token t;
    t.kind = kind;
    t.vec = {x, y, z};
    return t;
  };
  auto record = [](const char* name, std::vector<sat::Token> tokens) {
    sat::Record r;
    r.name = name;
    r.tokens = std::move(tokens);
    return r;
  };
  sat::File file;
  file.header.version = 22300;
  file.records = {
      record("asmheader", {pointer(-1), integer(-1), text("208.0.4.7009")}),
      record("body", {pointer(-1), integer(-1), pointer(-1), pointer(2), pointer(-1), pointer(3)}),
      record("lump", {pointer(-1), integer(-1), pointer(-1), pointer(-1), pointer(4), pointer(1)}),
      record("transform", {pointer(-1), integer(-1),
                           text("1 0 0 0 1 0 0 0 1 10 0 0 1 no_rotate no_reflect no_shear ")}),
      record("shell", {pointer(-1), integer(-1), pointer(-1), pointer(-1), pointer(-1), pointer(5),
                       pointer(-1), pointer(2)}),
      record("face", {pointer(-1), integer(-1), pointer(-1), pointer(-1), pointer(-1), pointer(4),
                      pointer(-1), pointer(6), yes(), yes()}),
      record("sphere-surface",
             {pointer(-1), integer(-1), pointer(-1), triple(Kind::kPosition, 0, 0, 0), real(5),
              triple(Kind::kVector, 1, 0, 0), triple(Kind::kVector, 0, 0, 1), yes(), yes(), yes(),
              yes(), yes()}),
  };
  const SatReadResult read = ReadSat(file);
  ASSERT_EQ(read.status, Acad::eOk) << plx::Utf8FromWide(read.reason);
  ASSERT_EQ(read.bodies.size(), 1u);
  EXPECT_EQ(read.bodies[0].Kind(), ShapeKind::kSolid);
  EXPECT_NEAR(read.bodies[0].Volume(), 4.0 / 3.0 * kPi * 125, 1e-6);
  Point3 lo, hi;
  ASSERT_EQ(read.bodies[0].Extents(lo, hi), Acad::eOk);
  EXPECT_NEAR(lo.x, 5, 1e-6);
  EXPECT_NEAR(hi.x, 15, 1e-6);
}

TEST(SatReader, GivesNoShapeForAFileWithoutBodies) {
  const SatReadResult read = ReadSatText(std::string(kHeader700) + "End-of-ACIS-data\n");
  EXPECT_EQ(read.status, Acad::eOk);
  EXPECT_TRUE(read.bodies.empty());
}

TEST(SatReader, ClassifiesOpenShellsAsBodies) {
  // The box without its bottom face.
  test::SatBoxWriter writer(700);
  test::SatBody body;
  body.lumps.push_back({});
  body.lumps[0].open = true;
  const std::string text = writer.Write({body});
  const SatReadResult read = ReadSatText(text);
  ASSERT_EQ(read.status, Acad::eOk) << plx::Utf8FromWide(read.reason);
  EXPECT_EQ(read.bodies[0].Kind(), ShapeKind::kBody);
  EXPECT_NEAR(read.bodies[0].Area(), 5, 1e-9);
}

struct BadFile {
  const char* name;
  const char* content;  // null: no file at all
  Acad::ErrorStatus status;
  const char* reason;
  friend void PrintTo(const BadFile& file, std::ostream* out) { *out << file.name; }
};

class SatReaderFiles : public testing::TestWithParam<BadFile> {};

TEST_P(SatReaderFiles, GiveTheirStatusAndAReason) {
  test::TempDir dir;
  const auto path = dir / "input.sat";
  if (GetParam().content) test::WriteFile(path, GetParam().content);
  const SatReadResult read = ReadSatFile(path.wstring());
  EXPECT_EQ(read.status, GetParam().status);
  EXPECT_TRUE(read.bodies.empty());
  EXPECT_NE(plx::Utf8FromWide(read.reason).find(GetParam().reason), std::string::npos)
      << plx::Utf8FromWide(read.reason);
}

INSTANTIATE_TEST_SUITE_P(
    All, SatReaderFiles,
    testing::Values(
        BadFile{"Missing", nullptr, Acad::eFileNotFound, "File not found"},
        BadFile{"Empty", "", Acad::eCannotRestoreFromAcisFile, "empty"},
        BadFile{"NotSat", "solid box\n  facet normal 0 0 1\n", Acad::eCannotRestoreFromAcisFile,
                "not a SAT file"},
        BadFile{"Binary", "ACIS BinaryFile\x01\x02", Acad::eCannotRestoreFromAcisFile, "Binary"},
        BadFile{"UnknownSurface",
                "700 0 1 0\n@1 a @1 b @1 c\n1 1e-06 1e-10\nbody $-1 -1 $-1 $1 $-1 $-1 #\n"
                "lump $-1 -1 $-1 $-1 $2 $0 #\nshell $-1 -1 $-1 $-1 $-1 $3 $-1 $1 #\n"
                "face $-1 -1 $-1 $-1 $-1 $2 $-1 $4 forward single #\n"
                "blend-surface $-1 -1 $-1 #\n",
                Acad::eCannotRestoreFromAcisFile, "record 4 (blend-surface)"},
        BadFile{"BrokenPointer",
                "700 0 1 0\n@1 a @1 b @1 c\n1 1e-06 1e-10\nbody $-1 -1 $-1 $7 $-1 $-1 #\n",
                Acad::eCannotRestoreFromAcisFile,
                "record 0 (body) on line 4: pointer $7 names no record"},
        BadFile{"WrongRecord",
                "700 0 1 0\n@1 a @1 b @1 c\n1 1e-06 1e-10\nbody $-1 -1 $-1 $0 $-1 $-1 #\n",
                Acad::eCannotRestoreFromAcisFile, "a lump was expected at $0"},
        BadFile{"CircularChain",
                "700 0 1 0\n@1 a @1 b @1 c\n1 1e-06 1e-10\nbody $-1 -1 $-1 $1 $-1 $-1 #\n"
                "lump $-1 -1 $-1 $1 $-1 $0 #\n",
                Acad::eCannotRestoreFromAcisFile, "runs in a circle"},
        BadFile{"ZeroRadius",
                "700 0 1 0\n@1 a @1 b @1 c\n1 1e-06 1e-10\nbody $-1 -1 $-1 $1 $-1 $-1 #\n"
                "lump $-1 -1 $-1 $-1 $2 $0 #\nshell $-1 -1 $-1 $-1 $-1 $3 $-1 $1 #\n"
                "face $-1 -1 $-1 $-1 $-1 $2 $-1 $4 forward single #\n"
                "sphere-surface $-1 -1 $-1 0 0 0 0 1 0 0 0 0 1 forward_v I I I I #\n",
                Acad::eCannotRestoreFromAcisFile,
                "record 4 (sphere-surface) on line 8: the radius is zero"}),
    [](const testing::TestParamInfo<BadFile>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace plx::modeller
