// The host's side of SAT files: AcDbBody::acisIn, the classes of what it returns, setBody's
// classification, cleanBody and the ACISIN command.
#include <gtest/gtest.h>

#include <ostream>

#include "DrawingBuilders.h"
#include "SatBoxes.h"
#include "SatCorpus.h"
#include "TestSupport.h"
#include "arx.h"
#include "arxhost/Modeller.h"
#include "win32/text.h"

namespace plx::test {
namespace {

using modeller::Shape;
using modeller::ShapeKind;

void DeleteAll(AcDbVoidPtrArray& entities) {
  for (int i = 0; i < entities.length(); ++i) delete static_cast<AcDbEntity*>(entities[i]);
  entities.setLogicalLength(0);
}

std::string ClassName(void* entity) {
  return plx::Utf8FromWide(static_cast<AcDbEntity*>(entity)->isA()->name());
}

TEST(AcisIn, MakesOneEntityPerBodyOfTheClassItsGeometryCallsFor) {
  TempDir dir;
  // A closed box, a box without a face (an open shell), and a region from the corpus.
  SatBoxWriter writer(700);
  SatBody box, open;
  box.lumps.push_back({});
  open.lumps.push_back({});
  open.lumps[0].open = true;
  WriteFile(dir / "two.sat", writer.Write({box, open}));
  const auto region = CorpusSatTexts("libredwg_example_2000.dxf").at(0);
  ASSERT_EQ(region.entity, "REGION");

  AcDbVoidPtrArray entities;
  ASSERT_EQ(AcDbBody::acisIn((dir / "two.sat").wstring().c_str(), entities), Acad::eOk);
  ASSERT_EQ(entities.length(), 2);
  EXPECT_EQ(ClassName(entities[0]), "AcDb3dSolid");
  EXPECT_EQ(ClassName(entities[1]), "AcDbBody");
  auto* solid = static_cast<AcDb3dSolid*>(entities[0]);
  EXPECT_TRUE(solid->database() == nullptr);
  EXPECT_NEAR(solid->volume(), 1, 1e-12);
  // Appends to what the list holds.
  ASSERT_EQ(AcDbBody::acisIn(SaveSat(dir, region).wstring().c_str(), entities), Acad::eOk);
  ASSERT_EQ(entities.length(), 3);
  EXPECT_EQ(ClassName(entities[2]), "AcDbRegion");
  DeleteAll(entities);
}

TEST(AcisIn, ReadsEveryCorpusSolidAsA3dSolidAndEveryRegionAsARegion) {
  TempDir dir;
  for (const CorpusSat& sat : AllCorpusSat()) {
    AcDbVoidPtrArray entities;
    ASSERT_EQ(AcDbBody::acisIn(SaveSat(dir, sat).wstring().c_str(), entities), Acad::eOk)
        << sat.Name();
    ASSERT_EQ(entities.length(), 1) << sat.Name();
    EXPECT_EQ(ClassName(entities[0]), sat.entity == "REGION" ? "AcDbRegion" : "AcDb3dSolid")
        << sat.Name();
    DeleteAll(entities);
  }
}

struct Failing {
  const char* name;
  const char* content;  // null: no file
  Acad::ErrorStatus status;
  friend void PrintTo(const Failing& failing, std::ostream* out) { *out << failing.name; }
};

class AcisInFailures : public testing::TestWithParam<Failing> {};

TEST_P(AcisInFailures, GiveTheirStatusAndAppendNothing) {
  TempDir dir;
  const auto path = dir / "in.sat";
  if (GetParam().content) WriteFile(path, GetParam().content);
  AcDbVoidPtrArray entities;
  entities.append(nullptr);  // what the caller held stays as it was
  EXPECT_EQ(AcDbBody::acisIn(path.wstring().c_str(), entities), GetParam().status);
  EXPECT_EQ(entities.length(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    All, AcisInFailures,
    testing::Values(Failing{"Missing", nullptr, Acad::eFileNotFound},
                    Failing{"Empty", "", Acad::eCannotRestoreFromAcisFile},
                    Failing{"NotSat", "0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\nEOF\n",
                            Acad::eCannotRestoreFromAcisFile},
                    // The second body is broken: the first is not returned either.
                    Failing{
                        "SecondBodyBroken",
                        "700 0 2 0\n@1 a @1 b @1 c\n1 1e-06 1e-10\nbody $-1 -1 $-1 $-1 $-1 $-1 #\n"
                        "body $-1 -1 $-1 $0 $-1 $-1 #\n",
                        Acad::eCannotRestoreFromAcisFile}),
    [](const testing::TestParamInfo<Failing>& info) { return std::string(info.param.name); });

TEST(AcisIn, GivesNothingForAFileWithoutBodiesAndRefusesAnEmptyName) {
  TempDir dir;
  WriteFile(dir / "none.sat", "400 0 0 0\n4 test 4 ACIS 0 \n1 1e-06 1e-10\nEnd-of-ACIS-data\n");
  AcDbVoidPtrArray entities;
  EXPECT_EQ(AcDbBody::acisIn((dir / "none.sat").wstring().c_str(), entities), Acad::eOk);
  EXPECT_EQ(entities.length(), 0);
  EXPECT_EQ(AcDbBody::acisIn(L"", entities), Acad::eInvalidInput);
  EXPECT_EQ(AcDbBody::acisIn(nullptr, entities), Acad::eInvalidInput);
}

TEST(SetBody, ClassifiesTheBodyByItsGeometry) {
  // A closed volume that came from an AcDbBody is a solid's in the 3D solid that takes it, and
  // a Boolean with another solid then works.
  AcDbBody body;
  AcDb3dSolid box;
  ASSERT_EQ(box.createBox(2, 2, 2), Acad::eOk);
  Shape asBody = *static_cast<const Shape*>(box.body());
  ASSERT_EQ(body.setBody(&asBody), Acad::eOk);
  AcDb3dSolid target;
  ASSERT_EQ(target.setBody(body.body()), Acad::eOk);
  EXPECT_EQ(static_cast<const Shape*>(target.body())->Kind(), ShapeKind::kSolid);
  AcDb3dSolid other;
  ASSERT_EQ(other.createSphere(1.5), Acad::eOk);
  EXPECT_EQ(target.booleanOper(AcDb::kBoolUnite, &other), Acad::eOk);
  EXPECT_GT(target.volume(), 8);

  // One planar face is a region's, whatever takes it.
  TempDir dir;
  AcDbVoidPtrArray entities;
  ASSERT_EQ(
      AcDbBody::acisIn(
          SaveSat(dir, CorpusSatTexts("libredwg_2000_TS1.dxf").at(1)).wstring().c_str(), entities),
      Acad::eOk);
  AcDb3dSolid holder;
  ASSERT_EQ(holder.setBody(static_cast<AcDbRegion*>(entities[0])->body()), Acad::eOk);
  EXPECT_EQ(static_cast<const Shape*>(holder.body())->Kind(), ShapeKind::kRegion);
  DeleteAll(entities);
}

TEST(CleanBody, MergesFacesAndReportsWhetherTheSolidHoldsAVolume) {
  AcDb3dSolid empty;
  EXPECT_EQ(empty.cleanBody(), Acad::eInvalidInput);

  // Two boxes side by side in one body: cleaning leaves one box of six faces.
  TempDir dir;
  SatBoxWriter writer(700);
  SatBody two;
  two.lumps.push_back({{0, 0, 0}, {1, 1, 1}, false});
  two.lumps.push_back({{5, 0, 0}, {1, 1, 1}, false});
  WriteFile(dir / "two.sat", writer.Write({two}));
  AcDbVoidPtrArray entities;
  ASSERT_EQ(AcDbBody::acisIn((dir / "two.sat").wstring().c_str(), entities), Acad::eOk);
  auto* solid = static_cast<AcDb3dSolid*>(entities[0]);
  ASSERT_EQ(ClassName(solid), "AcDb3dSolid");
  EXPECT_EQ(solid->cleanBody(), Acad::eOk);
  EXPECT_NEAR(solid->volume(), 2, 1e-12);
  DeleteAll(entities);

  // A cube of twelve triangles becomes a cube of six faces.
  std::vector<std::vector<modeller::Point3>> triangles;
  const int quads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                           {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
  auto corner = [](int i) {
    return modeller::Point3{double(i & 1), double((i >> 1) & 1), double((i >> 2) & 1)};
  };
  for (const auto& q : quads) {
    triangles.push_back({corner(q[0]), corner(q[1]), corner(q[2])});
    triangles.push_back({corner(q[0]), corner(q[2]), corner(q[3])});
  }
  modeller::ShapeResult mesh = Shape::FromPolygons(triangles);
  ASSERT_TRUE(mesh.Ok());
  AcDb3dSolid cube;
  ASSERT_EQ(cube.setBody(&mesh.shape), Acad::eOk);
  AcDbVoidPtrArray faces;
  ASSERT_EQ(cube.explode(faces), Acad::eOk);
  EXPECT_EQ(faces.length(), 12);
  DeleteAll(faces);
  EXPECT_EQ(cube.cleanBody(), Acad::eOk);
  ASSERT_EQ(cube.explode(faces), Acad::eOk);
  EXPECT_EQ(faces.length(), 6);
  DeleteAll(faces);
  EXPECT_NEAR(cube.volume(), 1, 1e-12);

  // An open body is cleaned like any other; it is just no volume.
  SatBody open;
  open.lumps.push_back({});
  open.lumps[0].open = true;
  WriteFile(dir / "open.sat", writer.Write({open}));
  ASSERT_EQ(AcDbBody::acisIn((dir / "open.sat").wstring().c_str(), entities), Acad::eOk);
  AcDb3dSolid target;
  ASSERT_EQ(target.setBody(static_cast<AcDbBody*>(entities[0])->body()), Acad::eOk);
  EXPECT_EQ(target.cleanBody(), Acad::eOk);
  EXPECT_FALSE(target.isNull());
  DeleteAll(entities);
}

TEST(AcisinCommand, AppendsTheBodiesToModelSpace) {
  TempDir dir;
  SaveSat(dir, CorpusSatTexts("ezdxf_torus_r2000.dxf").at(0));
  const auto path = dir / "ezdxf_torus_r2000_0";  // without extension: .sat is assumed
  HostSession session;
  TranscriptCapture transcript;
  {
    ScriptedInput script(
        {L"ACISIN", plx::WideFromUtf8(path.string()), L"ACISIN", L"nothing-here.sat"});
    host::RunCommandLoop();
  }
  const auto ids = ModelSpaceIds();
  ASSERT_EQ(ids.size(), 1u);
  AcDbEntity* entity = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(entity, ids[0], AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(plx::Utf8FromWide(entity->isA()->name()), "AcDb3dSolid");
  entity->close();
  const std::string text = transcript.Utf8();
  EXPECT_NE(text.find("Enter name of file to import: "), std::string::npos) << text;
  EXPECT_NE(text.find("ACISIN: 1 objects imported."), std::string::npos) << text;
  EXPECT_NE(text.find("ACISIN: File not found"), std::string::npos) << text;
}

}  // namespace
}  // namespace plx::test
