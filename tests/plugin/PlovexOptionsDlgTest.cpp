// The options dialog: its compiled template, the values it offers from the registry and what
// it stores, driven on the command line of a host session with the registry in a temporary
// folder.
#include <gtest/gtest.h>

#include "PlovexOptionsDlg.h"
#include "TVKGUI.h"
#include "TestSupport.h"
#include "aced.h"
#include "mfc/resources.h"
#include "win32/text.h"

using plx::test::HostSession;
using plx::test::ScopedEnv;
using plx::test::ScriptedInput;
using plx::test::TempDir;
using plx::test::TranscriptCapture;

namespace {

const wchar_t kKey[] = L"Software\\TALVEK\\Plovex for AutoCAD";

class OptionsDialog : public ::testing::Test {
 protected:
  struct Outcome {
    INT_PTR result;
    int type;
    int resolution;
    std::wstring transcript;
  };

  Outcome Run(const std::vector<std::wstring>& lines) {
    CPlovexOptionsDlg dialog(CWnd::FromHandle(adsw_acadMainWnd()));
    ScriptedInput input(lines);
    TranscriptCapture transcript;
    const INT_PTR result = dialog.DoModal();
    return {result, dialog.m_nType, dialog.m_nResolution, transcript.Text()};
  }

  static void Store(const wchar_t* name, int value) {
    TVKRegistry registry;
    ASSERT_EQ(registry.SetKey(kKey, 1), 1);
    ASSERT_EQ(registry.WriteInt(name, value), 1);
  }
  static int Stored(const wchar_t* name) {
    TVKRegistry registry;
    registry.SetKey(kKey, 1);
    return registry.ReadInt(name, 12345);  // 12345: nothing stored
  }
  std::filesystem::path RegistryFile() const { return config_.Path() / "plovex" / "registry.reg"; }

  HostSession session_;
  TempDir config_;
  ScopedEnv env_{"XDG_CONFIG_HOME", config_.Path().string()};
};

std::string Utf8(const std::wstring& text) { return plx::Utf8FromWide(text); }

}  // namespace

TEST(OptionsDialogTemplate, IsCompiledIntoTheModuleAsDesigned) {
  const plx::mfc::DialogResource* dialog = plx::mfc::FindDialogResource(IDD_PLOVEX_OPTIONS);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->id, 200u);
  EXPECT_FALSE(dialog->extended);
  EXPECT_EQ(dialog->style,
            static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT));
  EXPECT_EQ(dialog->exStyle, 0u);
  EXPECT_EQ(std::vector<int>({dialog->x, dialog->y, dialog->cx, dialog->cy}),
            std::vector<int>({0, 0, 248, 92}));
  EXPECT_STREQ(dialog->caption, L"Plovex for AutoCAD Options");
  EXPECT_STREQ(dialog->typeface, L"MS Sans Serif");
  EXPECT_EQ(dialog->pointSize, 8);

  struct Item {
    int id;
    const wchar_t* className;
    const wchar_t* text;
    DWORD style;  // besides WS_CHILD and WS_VISIBLE
    std::vector<int> rect;
  };
  const Item expected[] = {
      {200, L"Button", L"ASCII", BS_AUTORADIOBUTTON | WS_GROUP, {56, 7, 34, 10}},
      {201, L"Button", L"Binary", BS_AUTORADIOBUTTON, {102, 7, 35, 10}},
      {1022, L"msctls_trackbar32", L"Slider1", TBS_AUTOTICKS | WS_TABSTOP, {51, 22, 190, 21}},
      {IDOK, L"Button", L"&OK", BS_DEFPUSHBUTTON | WS_TABSTOP, {70, 71, 50, 14}},
      {IDCANCEL, L"Button", L"&Cancel", BS_PUSHBUTTON | WS_TABSTOP, {128, 71, 50, 14}},
      {-1, L"Static", L"Resolution", SS_LEFT | WS_GROUP, {7, 25, 34, 8}},
      {-1, L"Static", L"Low", SS_LEFT | WS_GROUP, {54, 44, 14, 8}},
      {-1, L"Static", L"High", SS_LEFT | WS_GROUP, {225, 44, 16, 8}},
      {-1, L"Static", L"Medium", SS_LEFT | WS_GROUP, {134, 44, 26, 8}},
      {-1, L"Static", L"", SS_ETCHEDHORZ, {8, 62, 233, 1}},
      {-1, L"Static", L"STL file type", SS_LEFT | WS_GROUP, {7, 7, 40, 8}},
  };
  ASSERT_EQ(dialog->itemCount, 11);
  for (int i = 0; i < 11; ++i) {
    const plx::mfc::DialogItemResource& item = dialog->items[i];
    SCOPED_TRACE(i + 1);
    EXPECT_EQ(item.id, expected[i].id);
    EXPECT_EQ(std::wstring(item.className), expected[i].className);
    EXPECT_EQ(std::wstring(item.text), expected[i].text);
    EXPECT_EQ(item.style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | expected[i].style));
    EXPECT_EQ(item.exStyle, 0u);
    EXPECT_EQ(std::vector<int>({item.x, item.y, item.cx, item.cy}), expected[i].rect);
  }
}

TEST(OptionsDialogTemplate, ProductNameIsStringOneHundred) {
  CString name;
  ASSERT_TRUE(name.LoadString(IDS_PROJNAME));
  EXPECT_EQ(name, L"Plovex for AutoCAD");
}

TEST(OptionsDialogMembers, StartAtMinusOneAndZero) {
  CPlovexOptionsDlg dialog(nullptr);
  EXPECT_EQ(dialog.m_nType, -1);
  EXPECT_EQ(dialog.m_nResolution, 0);
  EXPECT_EQ(dialog.m_nIDHelp, 200u);
}

TEST_F(OptionsDialog, ThreeLinesAnswerIt) {
  const Outcome out = Run({L"Binary", L"50", L"OK"});
  EXPECT_EQ(out.result, IDOK);
  EXPECT_EQ(out.transcript,
            L"[Plovex for AutoCAD Options]\n"
            L"STL file type [ASCII/Binary] <Binary>: Binary\n"
            L"Resolution (0 to 100) <50>: 50\n"
            L"Choose a button [OK/Cancel] <OK>: OK\n");
  EXPECT_EQ(out.type, 1);
  EXPECT_EQ(out.resolution, 50);
}

TEST_F(OptionsDialog, FirstUseOffersBinaryAndTheMiddleAndStoresBoth) {
  const Outcome out = Run({L"", L"", L""});
  EXPECT_EQ(out.result, IDOK);
  EXPECT_NE(out.transcript.find(L"<Binary>"), std::wstring::npos) << Utf8(out.transcript);
  EXPECT_NE(out.transcript.find(L"<50>"), std::wstring::npos) << Utf8(out.transcript);
  EXPECT_EQ(out.type, 1);
  EXPECT_EQ(out.resolution, 50);
  // OK stores both, also values the user did not change.
  EXPECT_EQ(Stored(L"Type"), 1);
  EXPECT_EQ(Stored(L"Resolution"), 50);
}

TEST_F(OptionsDialog, ChosenValuesAreStoredAndOfferedNextTime) {
  const Outcome first = Run({L"ASCII", L"80", L"OK"});
  EXPECT_EQ(first.result, IDOK);
  EXPECT_EQ(first.type, 0);
  EXPECT_EQ(first.resolution, 80);
  EXPECT_EQ(Stored(L"Type"), 0);
  EXPECT_EQ(Stored(L"Resolution"), 80);
  const Outcome second = Run({L"", L"", L"OK"});
  EXPECT_NE(second.transcript.find(L"STL file type [ASCII/Binary] <ASCII>: "), std::wstring::npos)
      << Utf8(second.transcript);
  EXPECT_NE(second.transcript.find(L"Resolution (0 to 100) <80>: "), std::wstring::npos);
  EXPECT_EQ(second.type, 0);
  EXPECT_EQ(second.resolution, 80);
}

TEST_F(OptionsDialog, StoredTypeZeroChecksAscii) {
  Store(L"Type", 0);
  const Outcome out = Run({L"", L"", L"OK"});
  EXPECT_NE(out.transcript.find(L"<ASCII>"), std::wstring::npos) << Utf8(out.transcript);
  EXPECT_EQ(out.type, 0);
}

TEST_F(OptionsDialog, StoredTypeSevenChecksNothingAndOkStoresMinusOne) {
  Store(L"Type", 7);
  const Outcome out = Run({L"", L"", L"OK"});
  EXPECT_EQ(out.result, IDOK);
  EXPECT_NE(out.transcript.find(L"STL file type [ASCII/Binary]: \n"), std::wstring::npos)
      << Utf8(out.transcript);
  EXPECT_EQ(out.type, -1);
  EXPECT_EQ(Stored(L"Type"), -1);
}

TEST_F(OptionsDialog, StoredResolutionOutOfRangeShowsTheClampedPositionAndOkStoresIt) {
  Store(L"Resolution", 250);
  const Outcome out = Run({L"", L"", L"OK"});
  EXPECT_NE(out.transcript.find(L"Resolution (0 to 100) <100>: "), std::wstring::npos)
      << Utf8(out.transcript);
  EXPECT_EQ(out.resolution, 100);
  EXPECT_EQ(Stored(L"Resolution"), 100);
  Store(L"Resolution", -20);
  EXPECT_EQ(Run({L"", L"", L"OK"}).resolution, 0);
  EXPECT_EQ(Stored(L"Resolution"), 0);
}

TEST_F(OptionsDialog, TypedResolutionIsClampedBySlider) {
  EXPECT_EQ(Run({L"", L"1000", L"OK"}).resolution, 100);
  EXPECT_EQ(Stored(L"Resolution"), 100);
}

struct CancelCase {
  const char* name;
  std::vector<std::wstring> lines;
};

class OptionsDialogCancel : public OptionsDialog,
                            public ::testing::WithParamInterface<CancelCase> {};

TEST_P(OptionsDialogCancel, StoresNothingAndKeepsTheValuesReadAtInitialisation) {
  Store(L"Type", 0);
  Store(L"Resolution", 20);
  const std::string before = plx::test::ReadFile(RegistryFile());
  const Outcome out = Run(GetParam().lines);
  EXPECT_EQ(out.result, IDCANCEL);
  EXPECT_EQ(out.type, 0);
  EXPECT_EQ(out.resolution, 20);
  EXPECT_EQ(plx::test::ReadFile(RegistryFile()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, OptionsDialogCancel,
    ::testing::Values(CancelCase{"CancelButton", {L"Binary", L"90", L"Cancel"}},
                      CancelCase{"CancelAbbreviated", {L"", L"", L"c"}},
                      CancelCase{"EscAtTheType", {L"^C"}},
                      CancelCase{"EscAtTheResolution", {L"Binary", L"^C"}},
                      CancelCase{"EscAtTheButtons", {L"Binary", L"90", L"^C"}},
                      CancelCase{"ScriptEnds", {L"Binary"}}),
    [](const ::testing::TestParamInfo<CancelCase>& info) { return std::string(info.param.name); });

TEST_F(OptionsDialog, CancelOnFirstUseCreatesNoRegistry) {
  const Outcome out = Run({L"Cancel"});
  EXPECT_EQ(out.result, IDCANCEL);
  EXPECT_EQ(out.type, 1);
  EXPECT_EQ(out.resolution, 50);
  EXPECT_FALSE(std::filesystem::exists(RegistryFile()));
}

TEST_F(OptionsDialog, WithoutItsTemplateDoModalFailsAndTheMembersStay) {
  // A program without the module's resources: the template is looked for in a module that has
  // none, as when no resource handle was pushed and no library carries the dialog.
  struct Elsewhere : CPlovexOptionsDlg {
    Elsewhere() : CPlovexOptionsDlg(nullptr) { m_nIDHelp = 4711; }
  } dialog;
  ScriptedInput input({L"Binary", L"50", L"OK"});
  EXPECT_EQ(dialog.DoModal(), -1);
  EXPECT_EQ(dialog.m_nType, -1);
  EXPECT_EQ(dialog.m_nResolution, 0);
  EXPECT_FALSE(std::filesystem::exists(RegistryFile()));
}
