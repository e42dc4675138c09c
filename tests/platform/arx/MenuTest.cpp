// Partial menus: loading a menu file and inserting its pop-ups into the menu bar.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "arx.h"
#include "win32/text.h"

using plx::test::HostSession;
using plx::test::TempDir;
using plx::test::TranscriptCapture;

namespace {
const char* kMenu =
    "***MENUGROUP=Sample\r\n***POP1\r\n**SAMPLE\r\n[&Sample]\r\n[&Run]^C^C_Run\r\n***POP2\r\n[Other]\r\n";
}

TEST(Menus, MenuloadThenInsertAPopupAtItsPosition) {
  HostSession session;
  TranscriptCapture transcript;
  TempDir dir;
  plx::test::WriteFile(dir / "Sample.mnu", kMenu);
  const std::wstring path = plx::WideFromUtf8((dir / "Sample.mnu").string());
  ASSERT_EQ(acedCommand(RTSTR, L"_menuload", RTSTR, path.c_str(), RTNONE), RTNORM);
  ASSERT_EQ(plx::host::LoadedMenuGroups().size(), 1u);
  EXPECT_EQ(acedMenuCmd(L"P10=+Sample.pop1"), RTNORM);
  EXPECT_EQ(acedMenuCmd(L"P3=+sample.SAMPLE"), RTNORM);  // by alias, any case
  const auto bar = plx::host::MenuBar();
  ASSERT_EQ(bar.size(), 2u);
  EXPECT_EQ(bar[0].position, 3);
  EXPECT_EQ(bar[1].position, 11);  // moved on by the insertion before it
  EXPECT_EQ(bar[1].title, L"&Sample");
  EXPECT_EQ(acedMenuCmd(L"P3=-"), RTNORM);
  EXPECT_EQ(plx::host::MenuBar().size(), 1u);
}

TEST(Menus, RefusesUnknownGroupsPopupsAndMalformedCommands) {
  HostSession session;
  TranscriptCapture transcript;
  for (const wchar_t* bad : {L"P10=+Plovex.pop1", L"P10=", L"X10=+a.b", L"P0=+a.b", L"P=+a.b", L"P10=+nodot", L""})
    EXPECT_EQ(acedMenuCmd(bad), RTERROR) << bad;
  EXPECT_TRUE(plx::host::MenuBar().empty());
}

TEST(Menus, MissingFileAndFileWithoutGroupAreReported) {
  HostSession session;
  TranscriptCapture transcript;
  TempDir dir;
  plx::test::WriteFile(dir / "nogroup.mnu", "***POP1\n[Title]\n");
  const std::wstring missing = plx::WideFromUtf8((dir / "missing.mnu").string());
  const std::wstring nogroup = plx::WideFromUtf8((dir / "nogroup.mnu").string());
  acedCommand(RTSTR, L"_menuload", RTSTR, missing.c_str(), RTNONE);
  acedCommand(RTSTR, L"_menuload", RTSTR, nogroup.c_str(), RTNONE);
  EXPECT_NE(transcript.Text().find(L"Unable to open menu file"), std::wstring::npos);
  EXPECT_NE(transcript.Text().find(L"has no MENUGROUP"), std::wstring::npos);
  EXPECT_TRUE(plx::host::LoadedMenuGroups().empty());
}
