// AcDbBody::acisOut and the host's ACISOUT and MASSPROP commands.
#include <memory>

#include "DrawingBuilders.h"
#include "ModellerTestSupport.h"
#include "SatStructure.h"
#include "arx.h"
#include "dbents.h"
#include "win32/text.h"

namespace plx::modeller {
namespace {

using plx::test::HostSession;
using plx::test::ScriptedInput;
using plx::test::TempDir;
using plx::test::TranscriptCapture;

std::unique_ptr<AcDb3dSolid> BoxSolid(double x, double y, double z) {
  auto solid = std::make_unique<AcDb3dSolid>();
  EXPECT_EQ(solid->createBox(x, y, z), Acad::eOk);
  return solid;
}

TEST(AcisOut, WritesOneBodyPerEntityThatReadsBackWithItsKind) {
  TempDir dir;
  auto box = BoxSolid(2, 3, 4);
  AcDbVoidPtrArray pieces;
  ASSERT_EQ(box->explode(pieces), Acad::eOk);
  ASSERT_FALSE(pieces.isEmpty());
  auto sphere = std::make_unique<AcDb3dSolid>();
  ASSERT_EQ(sphere->createSphere(1.5), Acad::eOk);
  AcDbBody body;
  ASSERT_EQ(body.setBody(sphere->body()), Acad::eOk);

  AcDbVoidPtrArray list;
  list.append(static_cast<AcDbEntity*>(box.get()));
  list.append(pieces[0]);  // a region
  list.append(static_cast<AcDbEntity*>(&body));
  const auto path = dir / "three.sat";
  ASSERT_EQ(AcDbBody::acisOut(path.wstring().c_str(), list), Acad::eOk);

  const SatReadResult read = ReadSatFile(path.wstring());
  ASSERT_TRUE(read.Ok()) << plx::Utf8FromWide(read.reason);
  ASSERT_EQ(read.bodies.size(), 3u);
  EXPECT_EQ(read.bodies[0].Kind(), ShapeKind::kSolid);
  EXPECT_NEAR(read.bodies[0].Volume(), 24, 1e-9);
  EXPECT_EQ(read.bodies[1].Kind(), ShapeKind::kRegion);
  // A body's modeller data goes out as it is; its sphere is closed, so it reads back as a solid.
  EXPECT_NEAR(read.bodies[2].Volume(), 4.5 * testing::kPi, 1e-6);
  for (int i = 0; i < pieces.length(); ++i) delete static_cast<AcDbEntity*>(pieces[i]);
}

TEST(AcisOut, RefusesBadListsWithoutTouchingTheFile) {
  TempDir dir;
  const auto path = dir / "kept.sat";
  plx::test::WriteFile(path, "old");
  const std::wstring name = path.wstring();
  auto box = BoxSolid(1, 1, 1);
  AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 1));
  AcDb3dSolid empty;

  AcDbVoidPtrArray none;
  EXPECT_EQ(AcDbBody::acisOut(name.c_str(), none), Acad::eInvalidInput);
  AcDbVoidPtrArray withNull;
  withNull.append(static_cast<AcDbEntity*>(box.get()));
  withNull.append(nullptr);
  EXPECT_EQ(AcDbBody::acisOut(name.c_str(), withNull), Acad::eNullEntityPointer);
  AcDbVoidPtrArray withLine;
  withLine.append(static_cast<AcDbEntity*>(box.get()));
  withLine.append(static_cast<AcDbEntity*>(&line));
  EXPECT_EQ(AcDbBody::acisOut(name.c_str(), withLine), Acad::eWrongObjectType);
  AcDbVoidPtrArray withEmpty;
  withEmpty.append(static_cast<AcDbEntity*>(&empty));
  EXPECT_EQ(AcDbBody::acisOut(name.c_str(), withEmpty), Acad::eNotApplicable);
  AcDbVoidPtrArray good;
  good.append(static_cast<AcDbEntity*>(box.get()));
  EXPECT_EQ(AcDbBody::acisOut(nullptr, good), Acad::eInvalidInput);
  EXPECT_EQ(AcDbBody::acisOut(L"", good), Acad::eInvalidInput);
  EXPECT_EQ(AcDbBody::acisOut((dir / "no" / "x.sat").wstring().c_str(), good),
            Acad::eFileAccessErr);

  EXPECT_EQ(plx::test::ReadFile(path), "old");
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    files += entry.is_regular_file();
  EXPECT_EQ(files, 1u);
}

// Runs the lines as a script in a fresh session and returns the transcript.
std::wstring RunLines(const std::vector<std::wstring>& lines) {
  TranscriptCapture transcript;
  HostSession session;
  {
    ScriptedInput script(lines);
    host::RunCommandLoop();
  }
  return transcript.Text();
}

TEST(AcisOutCommand, WritesTheSelectedSolidsAndNamesWhatIsLeftOut) {
  TempDir dir;
  const std::wstring path = (dir / "out").wstring();  // ".sat" is added
  const std::wstring text =
      RunLines({L"BOX", L"0,0,0", L"2,3,4", L"SPHERE", L"10,0,0", L"1", L"LINE", L"0,0,0", L"5,5,5",
                L"", L"ACISOUT", L"ALL", L"", path});
  EXPECT_NE(text.find(L"1 object(s) not a 3D solid, body or region left out."), std::wstring::npos)
      << plx::Utf8FromWide(text);
  EXPECT_NE(text.find(L"ACISOUT: 2 object(s) written to"), std::wstring::npos)
      << plx::Utf8FromWide(text);
  const SatReadResult read = ReadSatFile(path + L".sat");
  ASSERT_TRUE(read.Ok()) << plx::Utf8FromWide(read.reason);
  ASSERT_EQ(read.bodies.size(), 2u);
  EXPECT_NEAR(read.bodies[0].Volume() + read.bodies[1].Volume(), 24 + 4 * testing::kPi / 3, 1e-6);
  const plx::test::SatFile file = plx::test::SplitSat(plx::test::ReadFile(dir / "out.sat"));
  EXPECT_EQ(file.Count("plane-surface"), 6u);
  EXPECT_EQ(file.Count("sphere-surface"), 1u);
}

TEST(AcisOutCommand, AsksBeforeReplacingAndKeepsTheFileOnNo) {
  TempDir dir;
  const auto path = dir / "old.sat";
  plx::test::WriteFile(path, "old");
  const std::wstring text =
      RunLines({L"BOX", L"0,0,0", L"1,1,1", L"ACISOUT", L"ALL", L"", path.wstring(), L"No"});
  EXPECT_NE(text.find(L"already exists. Replace it?"), std::wstring::npos);
  EXPECT_EQ(plx::test::ReadFile(path), "old");
  RunLines({L"BOX", L"0,0,0", L"1,1,1", L"ACISOUT", L"ALL", L"", path.wstring(), L"Yes"});
  EXPECT_EQ(plx::test::ReadFile(path).compare(0, 4, "700 "), 0);
}

TEST(AcisOutCommand, WithoutSolidsSaysSoAndWritesNothing) {
  TempDir dir;
  const std::wstring text = RunLines({L"LINE", L"0,0,0", L"1,1,1", L"", L"ACISOUT", L"ALL", L""});
  EXPECT_NE(text.find(L"ACISOUT: no 3D solid, body or region was selected."), std::wstring::npos);
  EXPECT_EQ(text.find(L"Enter file name"), std::wstring::npos);
}

TEST(MassPropCommand, PrintsVolumeBoundingBoxAndCentroid) {
  const std::wstring text = RunLines({L"BOX", L"1,2,3", L"3,5,7", L"MASSPROP", L"ALL", L""});
  EXPECT_NE(text.find(L"Volume:                  24.0000\n"), std::wstring::npos)
      << plx::Utf8FromWide(text);
  EXPECT_NE(text.find(L"Bounding box:         X: 1.0000  --  3.0000\n"
                      L"                      Y: 2.0000  --  5.0000\n"
                      L"                      Z: 3.0000  --  7.0000\n"),
            std::wstring::npos);
  EXPECT_NE(text.find(L"Centroid:             X: 2.0000\n"
                      L"                      Y: 3.5000\n"
                      L"                      Z: 5.0000\n"),
            std::wstring::npos);
}

TEST(MassPropCommand, CombinesSeveralSolidsByVolume) {
  // A 2x2x2 box at the origin and a 1x1x1 box further out: centroid weighted 8 to 1.
  const std::wstring text = RunLines(
      {L"BOX", L"0,0,0", L"2,2,2", L"BOX", L"10,0,0", L"11,1,1", L"MASSPROP", L"ALL", L""});
  EXPECT_NE(text.find(L"Volume:                  9.0000\n"), std::wstring::npos)
      << plx::Utf8FromWide(text);
  EXPECT_NE(text.find(L"Centroid:             X: " + plx::FormatWide(L"%.4f", (8 * 1 + 10.5) / 9)),
            std::wstring::npos);
  EXPECT_NE(text.find(L"Bounding box:         X: 0.0000  --  11.0000\n"), std::wstring::npos);
}

}  // namespace
}  // namespace plx::modeller
