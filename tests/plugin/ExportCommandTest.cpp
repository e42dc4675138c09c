// The export command in a host session, answered on the command line: the selection, the
// Save-As and options dialogs, their cancels, the success message with the count of meshes,
// and a writer failure in a message box under the product caption. The registry lives in a
// temporary folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "Caption.h"
#include "ExportCommand.h"
#include "QMLib.h"
#include "TVKGUI.h"
#include "TestSupport.h"
#include "arx.h"
#include "arxhost/Drawing.h"
#include "win32/text.h"

namespace fs = std::filesystem;
using plx::test::HostSession;
using plx::test::ScopedEnv;
using plx::test::ScriptedInput;
using plx::test::TempDir;
using plx::test::TranscriptCapture;

namespace {

const wchar_t kKey[] = L"Software\\TALVEK\\Plovex for AutoCAD";

AcDbObjectId Append(AcDbEntity* entity) {
  AcDbBlockTableRecord* space = nullptr;
  EXPECT_EQ(acdbOpenObject(space, acdbHostApplicationServices()->workingDatabase()->modelSpaceId(),
                           AcDb::kForWrite),
            Acad::eOk);
  AcDbObjectId id;
  EXPECT_EQ(space->appendAcDbEntity(id, entity), Acad::eOk);
  entity->close();
  space->close();
  return id;
}

AcDbObjectId AddLine(double x) {
  return Append(new AcDbLine(AcGePoint3d(x, 0, 0), AcGePoint3d(x + 1, 1, 0)));
}
AcDbObjectId AddFace(double x) {
  return Append(new AcDbFace(AcGePoint3d(x, 0, 0), AcGePoint3d(x + 1, 0, 0),
                             AcGePoint3d(x + 1, 1, 0), AcGePoint3d(x, 1, 0)));
}

class ExportCommand : public ::testing::Test {
 protected:
  struct Outcome {
    int result;
    std::string transcript;
  };

  // Runs the command's body the way the command table does, caption first.
  Outcome Run(const std::vector<std::wstring>& lines) {
    BuildCaption();
    ScriptedInput input(lines);
    TranscriptCapture transcript;
    const int result = ExportToSTL();
    return {result, transcript.Utf8()};
  }

  std::wstring Target(const char* name = "out.stl") const {
    return plx::WideFromUtf8((dir_ / name).string());
  }
  fs::path RegistryFile() const { return config_.Path() / "plovex" / "registry.reg"; }
  static void Store(const wchar_t* name, int value) {
    TVKRegistry registry;
    ASSERT_EQ(registry.SetKey(kKey, 1), 1);
    ASSERT_EQ(registry.WriteInt(name, value), 1);
  }

  HostSession session_;
  TempDir dir_;
  TempDir config_;
  TempDir temp_;
  ScopedEnv xdg_{"XDG_CONFIG_HOME", config_.Path().string()};
  ScopedEnv tempEnv_{"TEMP", temp_.Path().string()};
};

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

TEST(FacetResFromResolution, FollowsTheFormulaUnbounded) {
  for (const int resolution : {0, 1, 50, 99, 100, -10, 150})
    EXPECT_EQ(FacetResFromResolution(resolution),
              static_cast<double>(resolution) / 100.0 * 9.99 + 0.01)
        << resolution;
  EXPECT_DOUBLE_EQ(FacetResFromResolution(0), 0.01);
  EXPECT_DOUBLE_EQ(FacetResFromResolution(50), 5.005);
  EXPECT_DOUBLE_EQ(FacetResFromResolution(100), 10.0);
  EXPECT_LT(FacetResFromResolution(-10), 0.0);
  EXPECT_GT(FacetResFromResolution(150), 10.0);
}

TEST_F(ExportCommand, CancelledSelectionShowsNoDialog) {
  AddFace(0);
  const Outcome out = Run({L"^C"});
  EXPECT_EQ(out.result, 0);
  EXPECT_TRUE(Has(out.transcript, "Failure [No entities selected]\n")) << out.transcript;
  EXPECT_FALSE(Has(out.transcript, "Enter file name")) << out.transcript;
  EXPECT_FALSE(Has(out.transcript, "Options]")) << out.transcript;
  EXPECT_EQ(plx::host::ResourceHandleDepth(), 0);
}

struct CancelCase {
  const char* name;
  std::vector<std::wstring> answers;  // after the selection and the file name
  bool optionsShown;
  friend void PrintTo(const CancelCase& c, std::ostream* os) { *os << c.name; }
};

class ExportCancel : public ExportCommand, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(ExportCancel, KeepsTheHighlightAndWritesNothing) {
  const AcDbObjectId face = AddFace(0);
  const AcDbObjectId line = AddLine(3);
  std::vector<std::wstring> lines = {L"ALL", L""};
  if (GetParam().optionsShown) lines.push_back(Target());
  for (const std::wstring& answer : GetParam().answers) lines.push_back(answer);
  const Outcome out = Run(lines);
  EXPECT_EQ(out.result, 0);
  EXPECT_TRUE(Has(out.transcript, "Failure [Command cancelled]\n")) << out.transcript;
  EXPECT_EQ(Has(out.transcript, "[Plovex for AutoCAD Options]"), GetParam().optionsShown)
      << out.transcript;
  EXPECT_FALSE(Has(out.transcript, "Successfully")) << out.transcript;
  EXPECT_TRUE(plx::host::IsHighlighted(face));
  EXPECT_TRUE(plx::host::IsHighlighted(line));
  EXPECT_FALSE(fs::exists(dir_ / "out.stl"));
  EXPECT_TRUE(fs::is_empty(dir_.Path()));
  EXPECT_FALSE(fs::exists(RegistryFile()));
  EXPECT_EQ(plx::host::ResourceHandleDepth(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ExportCancel,
    ::testing::Values(CancelCase{"save_as", {L"^C"}, false},
                      CancelCase{"options_at_once", {L"^C"}, true},
                      CancelCase{"options_button", {L"Binary", L"80", L"Cancel"}, true}));

TEST_F(ExportCommand, LinesOnlyWriteAnEmptyFileAfterBothDialogs) {
  AddLine(0);
  AddLine(2);
  const Outcome out = Run({L"ALL", L"", Target(), L"Binary", L"50", L"OK"});
  EXPECT_EQ(out.result, 1);
  EXPECT_TRUE(Has(out.transcript, "Enter file name <Export.stl>: ")) << out.transcript;
  EXPECT_TRUE(Has(out.transcript, "[Plovex for AutoCAD Options]")) << out.transcript;
  EXPECT_TRUE(Has(out.transcript, "Successfully exported 0 meshes to a STL file\n"))
      << out.transcript;
  EXPECT_EQ(fs::file_size(dir_ / "out.stl"), 84u);
  EXPECT_EQ(plx::host::ResourceHandleDepth(), 0);
}

TEST_F(ExportCommand, CountsTheObjectsThatConvertedAndRestoresFacetRes) {
  AddFace(0);
  AddLine(5);
  auto* box = new AcDb3dSolid;
  ASSERT_EQ(box->createBox(2, 2, 2), Acad::eOk);  // about the origin: below zero
  Append(box);
  resbuf value;
  value.restype = RTREAL;
  value.resval.rreal = 0.7;
  ASSERT_EQ(acedSetVar(L"FACETRES", &value), RTNORM);
  const Outcome out = Run({L"ALL", L"", Target(), L"Binary", L"100", L"OK"});
  EXPECT_EQ(out.result, 1);
  EXPECT_TRUE(Has(out.transcript, "Successfully exported 2 meshes to a STL file\n"))
      << out.transcript;
  // A face's quad gives two triangles, the box twelve.
  EXPECT_EQ(fs::file_size(dir_ / "out.stl"), 84u + 50u * 14u);
  ASSERT_EQ(acedGetVar(L"FACETRES", &value), RTNORM);
  EXPECT_EQ(value.resval.rreal, 0.7);
  EXPECT_FALSE(fs::exists(temp_ / "TVKTemp.stl"));
  EXPECT_TRUE(fs::exists(RegistryFile()));
  EXPECT_EQ(plx::host::ResourceHandleDepth(), 0);
}

// A stored type that no radio button stands for leaves the dialog with none checked (-1),
// which the writer refuses.
TEST_F(ExportCommand, WriterFailureShowsItsTextUnderTheCaption) {
  AddFace(0);
  Store(L"Type", 7);
  plx::test::WriteFile(dir_ / "out.stl", "old content");
  const Outcome out = Run({L"ALL", L"", Target(), L"Yes", L"", L"50", L"OK"});
  EXPECT_EQ(out.result, 0);
  const std::string error = plx::Utf8FromWide(QMSTL::GetError().GetString());
  ASSERT_FALSE(error.empty());
  EXPECT_TRUE(Has(out.transcript, "[" + plx::Utf8FromWide(ProductCaption) + "] " + error + "\n"))
      << out.transcript;
  EXPECT_FALSE(Has(out.transcript, "Failure")) << out.transcript;
  EXPECT_FALSE(Has(out.transcript, "Successfully")) << out.transcript;
  EXPECT_EQ(plx::test::ReadFile(dir_ / "out.stl"), "old content");
  EXPECT_EQ(plx::host::ResourceHandleDepth(), 0);
}

// The writer cannot create its file in a folder of the kernel's.
TEST_F(ExportCommand, UnwritableFolderFailsInAMessageBox) {
  AddFace(0);
  const Outcome out = Run({L"ALL", L"", L"/proc/plovex-export.stl", L"ASCII", L"0", L"OK"});
  EXPECT_EQ(out.result, 0);
  const std::string error = plx::Utf8FromWide(QMSTL::GetError().GetString());
  ASSERT_FALSE(error.empty());
  EXPECT_TRUE(Has(out.transcript, "[" + plx::Utf8FromWide(ProductCaption) + "] " + error + "\n"))
      << out.transcript;
  EXPECT_FALSE(Has(out.transcript, "Successfully")) << out.transcript;
  EXPECT_EQ(plx::host::ResourceHandleDepth(), 0);
}
