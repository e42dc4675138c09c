// CString: formatting by the platform's wide rules, comparison and tokens.
#include <gtest/gtest.h>

#include "afx.h"

namespace {

struct FormatCase {
  const wchar_t* format;
  std::wstring expected;
};

class CStringFormat : public ::testing::TestWithParam<FormatCase> {};

}  // namespace

TEST_P(CStringFormat, FollowsThePlatformsWidePrintfRules) {
  CString s;
  s.Format(GetParam().format, L"wide", "narrow", 42, 3.14159);
  EXPECT_EQ(s, GetParam().expected.c_str());
}

// Every format takes the same four arguments: a wide string, a narrow one, an int, a double.
INSTANTIATE_TEST_SUITE_P(
    Conversions, CStringFormat,
    ::testing::Values(FormatCase{L"%s|%S|%d|%5.2f", L"wide|narrow|42| 3.14"},
                      FormatCase{L"[%-6s][%8S]%05d%.0f", L"[wide  ][  narrow]000423"},
                      FormatCase{L"%ls %hs %i %e", L"wide narrow 42 3.141590e+00"},
                      FormatCase{L"%%s %s%%", L"%s wide%"}));

TEST(CString, FormatTakesAnyLengthAndAppendFormatAppends) {
  const std::wstring longText(5000, L'x');
  CString s;
  s.Format(L"<%s>", longText.c_str());
  EXPECT_EQ(s.GetLength(), 5002);
  s = L"count:";
  s.AppendFormat(L" %d", 7);
  EXPECT_EQ(s, L"count: 7");
}

TEST(CString, FormatsNonAsciiWideText) {
  CString s;
  s.Format(L"%s|%5s|%c", L"Gr\u00fc\u00dfe", L"\u00e9t\u00e9", L'\u00df');
  EXPECT_EQ(s, L"Gr\u00fc\u00dfe|  \u00e9t\u00e9|\u00df");
}

TEST(CString, CompareNoCaseIgnoresCaseOnlyAndOrders) {
  const CString s(L"Plovex STL");
  EXPECT_EQ(s.CompareNoCase(L"plovex stl"), 0);
  EXPECT_EQ(s.CompareNoCase(L"PLOVEX STL"), 0);
  EXPECT_LT(s.CompareNoCase(L"plovex stm"), 0);
  EXPECT_GT(s.CompareNoCase(L"plovex"), 0);
  EXPECT_LT(CString(L"").CompareNoCase(L"a"), 0);
  EXPECT_EQ(CString(L"").CompareNoCase(nullptr), 0);
  EXPECT_NE(s.Compare(L"plovex stl"), 0);
}

TEST(CString, TokenizeSkipsEmptyTokensAndEndsWithMinusOne) {
  const CString path(L"\\Software\\\\TALVEK\\Plovex for AutoCAD\\");
  std::vector<std::wstring> tokens;
  int start = 0;
  for (CString t = path.Tokenize(L"\\", start); start >= 0; t = path.Tokenize(L"\\", start))
    tokens.push_back(t.Str());
  EXPECT_EQ(tokens, (std::vector<std::wstring>{L"Software", L"TALVEK", L"Plovex for AutoCAD"}));
  EXPECT_EQ(start, -1);

  int again = 0;
  const CString list(L"a, b;c");
  EXPECT_EQ(list.Tokenize(L",; ", again), L"a");
  EXPECT_EQ(list.Tokenize(L",; ", again), L"b");
  EXPECT_EQ(list.Tokenize(L",; ", again), L"c");
  EXPECT_EQ(list.Tokenize(L",; ", again), L"");
  EXPECT_EQ(again, -1);

  int none = 0;
  EXPECT_EQ(CString(L";;;").Tokenize(L";", none), L"");
  EXPECT_EQ(none, -1);
}
