// The editor's prompts over scripted input: keywords, numbers, points, cancel.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "win32/text.h"
#include "arx.h"

using plx::test::HostSession;
using plx::test::ScriptedInput;
using plx::test::TranscriptCapture;

struct KeywordCase {
  const wchar_t* typed;
  const wchar_t* keyword;  // null: refused
  friend void PrintTo(const KeywordCase& c, std::ostream* os) { *os << plx::Utf8FromWide(c.typed); }
};

class Keywords : public ::testing::TestWithParam<KeywordCase> {};

TEST_P(Keywords, MatchByAbbreviationOrWholeWordInAnyCase) {
  HostSession session;
  TranscriptCapture transcript;
  ScriptedInput script({GetParam().typed, L"No"});
  acedInitGet(0, L"Yes No LType eXit");
  ACHAR result[133];
  ASSERT_EQ(acedGetKword(L"Answer [Yes/No/LType/eXit]: ", result), RTNORM);
  EXPECT_STREQ(result, GetParam().keyword ? GetParam().keyword : L"No");
  EXPECT_EQ(transcript.Text().find(L"Invalid option keyword.") != std::wstring::npos, GetParam().keyword == nullptr);
}

INSTANTIATE_TEST_SUITE_P(Inputs, Keywords,
                         ::testing::Values(KeywordCase{L"y", L"Yes"}, KeywordCase{L"YES", L"Yes"},
                                           KeywordCase{L"ye", L"Yes"}, KeywordCase{L"lt", L"LType"},
                                           KeywordCase{L"ltyp", L"LType"}, KeywordCase{L"x", L"eXit"},
                                           KeywordCase{L"exit", L"eXit"}, KeywordCase{L"l", nullptr},
                                           KeywordCase{L"e", nullptr}, KeywordCase{L"maybe", nullptr},
                                           KeywordCase{L"yess", nullptr}));

TEST(Prompts, EmptyAnswerAndCancel) {
  HostSession session;
  TranscriptCapture transcript;
  ScriptedInput script({L"", L"", L"3", L"^C"});
  ACHAR result[133];
  acedInitGet(0, L"Yes No");
  EXPECT_EQ(acedGetKword(L"? ", result), RTNONE);
  acedInitGet(RSG_NONULL, L"Yes No");
  int value = 0;
  EXPECT_EQ(acedGetInt(L"n: ", &value), RTNORM);  // the empty line is refused, 3 taken
  EXPECT_EQ(value, 3);
  EXPECT_EQ(acedGetKword(L"? ", result), RTCAN);
  EXPECT_EQ(acedGetKword(L"? ", result), RTCAN);  // the script has ended
}

TEST(Prompts, NumbersAndPoints) {
  HostSession session;
  TranscriptCapture transcript;
  ScriptedInput script({L"abc", L"-2.5", L"1,2", L"@1,1,1", L"40000", L"7", L"-1", L"4"});
  ads_real real = 0;
  EXPECT_EQ(acedGetReal(L"r: ", &real), RTNORM);
  EXPECT_DOUBLE_EQ(real, -2.5);
  ads_point p, q;
  EXPECT_EQ(acedGetPoint(nullptr, L"p: ", p), RTNORM);
  EXPECT_DOUBLE_EQ(p[0], 1);
  EXPECT_DOUBLE_EQ(p[2], 0);
  EXPECT_EQ(acedGetPoint(p, L"q: ", q), RTNORM);
  EXPECT_DOUBLE_EQ(q[0], 2);
  EXPECT_DOUBLE_EQ(q[2], 1);
  int n = 0;
  EXPECT_EQ(acedGetInt(L"n: ", &n), RTNORM);  // 40000 does not fit a short
  EXPECT_EQ(n, 7);
  acedInitGet(RSG_NONEG, nullptr);
  EXPECT_EQ(acedGetInt(L"n: ", &n), RTNORM);
  EXPECT_EQ(n, 4);
  EXPECT_NE(transcript.Text().find(L"Requires numeric value."), std::wstring::npos);
}
