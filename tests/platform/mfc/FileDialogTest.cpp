// CFileDialog on the command line: default name and extension, overwrite question, refusals
// and cancel, against real files in a temporary folder.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "afx.h"
#include "win32/text.h"

using plx::test::HostSession;
using plx::test::ScriptedInput;
using plx::test::TempDir;
using plx::test::TranscriptCapture;

namespace {

const wchar_t kFilter[] = L"Stereolithography STL Files (*.stl)|*.stl||";

struct Outcome {
  INT_PTR result;
  std::wstring path;
  std::wstring transcript;
};

Outcome Ask(const TempDir& dir, const std::vector<std::wstring>& lines, BOOL open = FALSE,
            DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
            const wchar_t* initial = L"Export.stl") {
  CFileDialog dialog(open, L"stl", initial, flags, kFilter, nullptr);
  const std::wstring folder = plx::WideFromUtf8(dir.Path().string());
  dialog.m_ofn.lpstrInitialDir = folder.c_str();
  ScriptedInput input(lines);
  TranscriptCapture transcript;
  const INT_PTR result = dialog.DoModal();
  return {result, dialog.GetPathName().Str(), transcript.Text()};
}

std::wstring In(const TempDir& dir, const std::string& name) {
  return plx::WideFromUtf8((dir / name).string());
}

struct NameCase {
  const char* name;
  std::wstring answer;
  std::string expected;  // file name in the folder
};

class FileDialogName : public ::testing::TestWithParam<NameCase> {};

}  // namespace

TEST_P(FileDialogName, GivesTheFullPath) {
  HostSession session;
  TempDir dir;
  const Outcome out = Ask(dir, {GetParam().answer});
  EXPECT_EQ(out.result, IDOK) << plx::Utf8FromWide(out.transcript);
  EXPECT_EQ(out.path, In(dir, GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, FileDialogName,
    ::testing::Values(NameCase{"EmptyLineTakesTheDefault", L"", "Export.stl"},
                      NameCase{"DefaultExtensionIsAdded", L"part", "part.stl"},
                      NameCase{"OtherExtensionIsKept", L"part.txt", "part.txt"},
                      NameCase{"QuotesAreRemoved", L"\"my part\"", "my part.stl"},
                      NameCase{"BackslashesAreSeparators", L"sub\\..\\part", "part.stl"},
                      NameCase{"DotInAFolderIsNoExtension", L"./v1.0/../part", "part.stl"}),
    [](const ::testing::TestParamInfo<NameCase>& info) { return std::string(info.param.name); });

TEST(FileDialog, PromptShowsTheDefaultAndTheNamePartsFollowThePath) {
  HostSession session;
  TempDir dir;
  CFileDialog dialog(FALSE, L"stl", L"Export.stl", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kFilter,
                     nullptr);
  EXPECT_STREQ(dialog.m_ofn.lpstrDefExt, L"stl");
  EXPECT_EQ(dialog.m_ofn.Flags & (OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT), 6u);
  EXPECT_STREQ(dialog.m_ofn.lpstrFilter, L"Stereolithography STL Files (*.stl)");
  EXPECT_STREQ(dialog.m_ofn.lpstrFilter + wcslen(dialog.m_ofn.lpstrFilter) + 1, L"*.stl");
  const std::wstring absolute = In(dir, "model.stl");
  ScriptedInput input({absolute});
  TranscriptCapture transcript;
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(transcript.Text(), L"Enter file name <Export.stl>: " + absolute + L"\n");
  EXPECT_EQ(dialog.GetPathName(), absolute.c_str());
  EXPECT_EQ(dialog.GetFileName(), L"model.stl");
  EXPECT_EQ(dialog.GetFileExt(), L"stl");
  EXPECT_EQ(dialog.GetFileTitle(), L"model");
  EXPECT_EQ(dialog.GetFolderPath(), plx::WideFromUtf8(dir.Path().string()).c_str());
}

TEST(FileDialog, ExistingFileAsksBeforeReplacingAndNoAsksForAnotherName) {
  HostSession session;
  TempDir dir;
  plx::test::WriteFile(dir / "Export.stl", "old");
  const Outcome out = Ask(dir, {L"", L"No", L"other"});
  EXPECT_EQ(out.result, IDOK);
  EXPECT_EQ(out.path, In(dir, "other.stl"));
  EXPECT_EQ(out.transcript, L"Enter file name <Export.stl>: \n" + In(dir, "Export.stl") +
                                L" already exists. Replace it? [Yes/No] <No>: No\n"
                                L"Enter file name <Export.stl>: other\n");
  EXPECT_EQ(plx::test::ReadFile(dir / "Export.stl"), "old");
}

struct ReplaceCase {
  const char* name;
  std::vector<std::wstring> lines;
  INT_PTR result;
};

class FileDialogReplace : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(FileDialogReplace, AnswersTheQuestion) {
  HostSession session;
  TempDir dir;
  plx::test::WriteFile(dir / "Export.stl", "old");
  const Outcome out = Ask(dir, GetParam().lines);
  EXPECT_EQ(out.result, GetParam().result) << plx::Utf8FromWide(out.transcript);
  if (GetParam().result == IDOK) {
    EXPECT_EQ(out.path, In(dir, "Export.stl"));
  }
  EXPECT_EQ(plx::test::ReadFile(dir / "Export.stl"), "old");  // the dialog never touches the file
}

INSTANTIATE_TEST_SUITE_P(
    Answers, FileDialogReplace,
    ::testing::Values(ReplaceCase{"Yes", {L"", L"Yes"}, IDOK},
                      ReplaceCase{"Abbreviated", {L"", L"y"}, IDOK},
                      ReplaceCase{"RefusedThenYes", {L"Export", L"maybe", L"YES"}, IDOK},
                      ReplaceCase{"EmptyIsNo", {L"", L"", L"^C"}, IDCANCEL},
                      ReplaceCase{"EscAtTheQuestion", {L"", L"^C"}, IDCANCEL},
                      ReplaceCase{"ScriptEndsAtTheQuestion", {L""}, IDCANCEL}),
    [](const ::testing::TestParamInfo<ReplaceCase>& info) { return std::string(info.param.name); });

TEST(FileDialog, WithoutOverwritePromptAnExistingFileIsTakenAtOnce) {
  HostSession session;
  TempDir dir;
  plx::test::WriteFile(dir / "Export.stl", "old");
  const Outcome out = Ask(dir, {L""}, FALSE, OFN_HIDEREADONLY);
  EXPECT_EQ(out.result, IDOK);
  EXPECT_EQ(out.transcript.find(L"already exists"), std::wstring::npos);
}

struct RefusalCase {
  const char* name;
  std::wstring answer;
  std::wstring message;  // after the folder's path
};

class FileDialogRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(FileDialogRefusal, ExplainsAndAsksAgain) {
  HostSession session;
  TempDir dir;
  std::filesystem::create_directory(dir / "sub");
  std::filesystem::create_directory(dir / "box.stl");
  const Outcome out = Ask(dir, {GetParam().answer, L"good"});
  EXPECT_EQ(out.result, IDOK);
  EXPECT_EQ(out.path, In(dir, "good.stl"));
  EXPECT_NE(out.transcript.find(GetParam().message), std::wstring::npos)
      << plx::Utf8FromWide(out.transcript);
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileDialogRefusal,
    ::testing::Values(RefusalCase{"Folder", L"sub/", L"/sub is a folder.\n"},
                      RefusalCase{"FolderNamedWithTheExtension", L"box",
                                  L"/box.stl is a folder.\n"},
                      RefusalCase{"MissingFolder", L"missing/part", L"/missing does not exist.\n"}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

TEST(FileDialog, OpeningAMissingFileIsRefusedWhenItMustExist) {
  HostSession session;
  TempDir dir;
  plx::test::WriteFile(dir / "there.stl", "x");
  const Outcome out = Ask(dir, {L"absent", L"there"}, TRUE, OFN_FILEMUSTEXIST);
  EXPECT_EQ(out.result, IDOK);
  EXPECT_EQ(out.path, In(dir, "there.stl"));
  EXPECT_NE(out.transcript.find(In(dir, "absent.stl") + L" was not found.\n"), std::wstring::npos);
}

TEST(FileDialog, CancelGivesIdCancel) {
  HostSession session;
  TempDir dir;
  const Outcome esc = Ask(dir, {L"^C"});
  EXPECT_EQ(esc.result, IDCANCEL);
  EXPECT_EQ(esc.transcript, L"Enter file name <Export.stl>: ^C\n*Cancel*\n");
  EXPECT_EQ(Ask(dir, {}).result, IDCANCEL);
}

TEST(FileDialog, WithoutADefaultAnEmptyLineIsAskedAgain) {
  HostSession session;
  TempDir dir;
  const Outcome out = Ask(dir, {L"", L"named"}, FALSE, OFN_OVERWRITEPROMPT, nullptr);
  EXPECT_EQ(out.result, IDOK);
  EXPECT_EQ(out.path, In(dir, "named.stl"));
  EXPECT_EQ(out.transcript, L"Enter file name: \nRequires a file name.\nEnter file name: named\n");
}
