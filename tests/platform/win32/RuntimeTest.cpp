// The Windows runtime stand-in: path splitting, wide formats, environment, files.
#include <gtest/gtest.h>

#include <cstdlib>

#include "TestSupport.h"
#include "win32.h"
#include "win32/text.h"

struct SplitCase {
  const wchar_t* path;
  const wchar_t* drive;
  const wchar_t* dir;
  const wchar_t* name;
  const wchar_t* ext;
  friend void PrintTo(const SplitCase& c, std::ostream* os) { *os << plx::Utf8FromWide(c.path); }
};

class SplitPath : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitPath, SplitsOnBothSeparators) {
  wchar_t drive[_MAX_DRIVE], dir[_MAX_DIR], name[_MAX_FNAME], ext[_MAX_EXT];
  _wsplitpath(GetParam().path, drive, dir, name, ext);
  EXPECT_STREQ(drive, GetParam().drive);
  EXPECT_STREQ(dir, GetParam().dir);
  EXPECT_STREQ(name, GetParam().name);
  EXPECT_STREQ(ext, GetParam().ext);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, SplitPath,
    ::testing::Values(SplitCase{L"C:\\Program Files\\Plovex\\Plovex_VC90x64.arx", L"C:", L"\\Program Files\\Plovex\\",
                                L"Plovex_VC90x64", L".arx"},
                      SplitCase{L"/opt/plovex/bin/Plovex_VC90x64.arx", L"", L"/opt/plovex/bin/", L"Plovex_VC90x64", L".arx"},
                      SplitCase{L"/a\\b/c.tar.gz", L"", L"/a\\b/", L"c.tar", L".gz"},
                      SplitCase{L"name", L"", L"", L"name", L""}, SplitCase{L"", L"", L"", L"", L""},
                      SplitCase{L"/dir.d/noext", L"", L"/dir.d/", L"noext", L""}));

TEST(SplitPath, CutsEachPartToItsBuffer) {
  std::wstring longDir = L"/" + std::wstring(400, L'd') + L"/file.txt";
  wchar_t dir[_MAX_DIR];
  _wsplitpath(longDir.c_str(), nullptr, dir, nullptr, nullptr);
  EXPECT_EQ(wcslen(dir), static_cast<size_t>(_MAX_DIR - 1));
}


TEST(WideFormat, FollowsThePlatformsRules) {
  EXPECT_EQ(plx::FormatWide(L"%s %s version %d.%d", L"Plovex for", L"AutoCAD 2011", 1, 0),
            L"Plovex for AutoCAD 2011 version 1.0");
  EXPECT_EQ(plx::FormatWide(L"[%S]", "narrow"), L"[narrow]");
  EXPECT_EQ(plx::FormatWide(L"[%ls|%hs]", L"wide", "narrow"), L"[wide|narrow]");
  EXPECT_EQ(plx::FormatWide(L"%c%C", L'w', 'n'), L"wn");
  EXPECT_EQ(plx::FormatWide(L"%-6s|%5.2f|%%|%I64d", L"ab", 3.14159, static_cast<long long>(1) << 40),
            L"ab    | 3.14|%|1099511627776");
  EXPECT_EQ(plx::FormatWide(L"%s", std::wstring(100000, L'x').c_str()).size(), 100000u);
}

TEST(WideFormat, SwprintfSCutsNothingAndRefusesShortBuffers) {
  wchar_t buffer[8];
  EXPECT_EQ(swprintf_s(buffer, 8, L"%s", L"1234567"), 7);
  EXPECT_STREQ(buffer, L"1234567");
  EXPECT_EQ(swprintf_s(buffer, 8, L"%s", L"12345678"), -1);
  EXPECT_STREQ(buffer, L"");
}

TEST(Utf8, RoundTripsAndReplacesBrokenSequences) {
  const std::wstring text = L"Gr\u00fc\u00dfe \u20ac \U0001F600";
  EXPECT_EQ(plx::WideFromUtf8(plx::Utf8FromWide(text)), text);
  EXPECT_EQ(plx::WideFromUtf8("a\xff" "b"), L"a\xFFFD" L"b");
  EXPECT_EQ(plx::WideFromUtf8("a\xe2\x82"), L"a\xFFFD");
}

TEST(Environment, LooksUpNamesWithoutRegardToCase) {
  plx::test::ScopedEnv env("PLOVEX_TEST_TEMP", "/some/where");
  ASSERT_NE(_wgetenv(L"plovex_test_temp"), nullptr);
  EXPECT_STREQ(_wgetenv(L"Plovex_Test_Temp"), L"/some/where");
  EXPECT_EQ(_wgetenv(L"PLOVEX_NOT_SET_ANYWHERE"), nullptr);
}

// Plain ASCII names are compared in place; a name with other characters is widened first. An
// ASCII name must not find a variable whose name only looks like it.
TEST(Environment, LooksUpNamesBeyondAscii) {
  plx::test::ScopedEnv summer("PLOVEX_\xC3\x89T\xC3\x89", "caf\xC3\xA9");
  plx::test::ScopedEnv plain("PLOVEX_ETE_PLAIN", "plain");
  EXPECT_STREQ(_wgetenv(L"PLOVEX_\u00c9T\u00c9"), L"caf\u00e9");
  EXPECT_EQ(_wgetenv(L"PLOVEX_ETE"), nullptr);
  EXPECT_EQ(_wgetenv(L"PLOVEX_\u00c9TE"), nullptr);
  EXPECT_STREQ(_wgetenv(L"plovex_ete_plain"), L"plain");
}

TEST(Files, TempNamesAreUniqueInTheGivenFolderAndUnlinkWorks) {
  plx::test::TempDir dir;
  const std::wstring folder = plx::WideFromUtf8(dir.Path().string());
  wchar_t* first = _wtempnam(folder.c_str(), L"TVK");
  wchar_t* second = _wtempnam(folder.c_str(), L"TVK");
  ASSERT_TRUE(first && second);
  EXPECT_STRNE(first, second);
  EXPECT_EQ(std::wstring(first).rfind(folder + L"/TVK", 0), 0u);
  plx::test::WriteFile(plx::NativePath(first), "x");
  EXPECT_EQ(_wunlink(first), 0);
  EXPECT_EQ(_wunlink(first), -1);
  std::free(first);
  std::free(second);
}

TEST(Files, FindFirstFileMatchesPatternsWithoutRegardToCase) {
  plx::test::TempDir dir;
  plx::test::WriteFile(dir / "Drawing1.DXF", "");
  plx::test::WriteFile(dir / "drawing2.dxf", "");
  plx::test::WriteFile(dir / "notes.txt", "");
  const std::wstring pattern = plx::WideFromUtf8(dir.Path().string()) + L"\\*.dxf";
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(pattern.c_str(), &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  int count = 1;
  while (FindNextFileW(find, &data)) ++count;
  FindClose(find);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(FindFirstFileW((plx::WideFromUtf8(dir.Path().string()) + L"/*.sat").c_str(), &data),
            INVALID_HANDLE_VALUE);
}

TEST(Shell, OpenReportsAMissingFile) {
  const auto result = reinterpret_cast<UINT_PTR>(
      ShellExecuteW(nullptr, L"open", L"/no/such/file.chm", L"", nullptr, SW_SHOW));
  EXPECT_LE(result, 32u);
}

TEST(Module, FileNameOfTheProgramItself) {
  wchar_t path[MAX_PATH];
  ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
  EXPECT_NE(std::wstring(path).find(L"win32_tests"), std::wstring::npos);
  wchar_t tiny[4];
  EXPECT_EQ(GetModuleFileNameW(nullptr, tiny, 4), 3u);
}
