// Keyword prompts on the command line.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "toolkit/Prompts.h"
#include "win32/text.h"

using namespace plx::test;

namespace {

class Prompts : public ::testing::Test {
 protected:
  HostSession session_;
};

TEST_F(Prompts, YesNoShowsTheDefault) {
  ScriptedInput input({L""});
  TranscriptCapture transcript;
  int value = 0;
  EXPECT_EQ(AskYesNo(L"Overwrite", value), 1);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(transcript.Text().rfind(L"Overwrite [Yes/No] <No>: ", 0), 0u)
      << plx::Utf8FromWide(transcript.Text());
}

TEST_F(Prompts, YesNoEnterKeepsANonZeroDefault) {
  ScriptedInput input({L""});
  TranscriptCapture transcript;
  int value = 5;
  EXPECT_EQ(AskYesNo(L"Keep", value), 1);
  EXPECT_EQ(value, 5);
  EXPECT_EQ(transcript.Text().rfind(L"Keep [Yes/No] <Yes>: ", 0), 0u);
}

struct YesNoCase {
  const wchar_t* typed;
  int start;
  int answer;
  friend void PrintTo(const YesNoCase& c, std::ostream* os) { *os << plx::Utf8FromWide(c.typed); }
};

class YesNoAnswer : public ::testing::TestWithParam<YesNoCase> {
 protected:
  HostSession session_;
};

TEST_P(YesNoAnswer, SetsTheValue) {
  ScriptedInput input({GetParam().typed});
  int value = GetParam().start;
  EXPECT_EQ(AskYesNo(L"Go on", value), 1);
  EXPECT_EQ(value, GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(Abbreviations, YesNoAnswer,
                         ::testing::Values(YesNoCase{L"y", 0, 1}, YesNoCase{L"Y", 0, 1},
                                           YesNoCase{L"yes", 0, 1}, YesNoCase{L"YES", 0, 1},
                                           YesNoCase{L"ye", 0, 1}, YesNoCase{L"n", 1, 0},
                                           YesNoCase{L"No", 7, 0}, YesNoCase{L"NO", 1, 0}));

TEST_F(Prompts, YesNoCancelKeepsTheValue) {
  ScriptedInput input({L"^C"});
  int value = 0;
  EXPECT_EQ(AskYesNo(L"Overwrite", value), 0);
  EXPECT_EQ(value, 0);
  int other = 1;
  EXPECT_EQ(AskYesNo(L"Overwrite", other), 0);  // the input has ended: a cancel
  EXPECT_EQ(other, 1);
}

TEST_F(Prompts, YesNoOtherAnswerIsAskedAgain) {
  ScriptedInput input({L"maybe", L"n"});
  TranscriptCapture transcript;
  int value = 1;
  EXPECT_EQ(AskYesNo(L"Overwrite", value), 1);
  EXPECT_EQ(value, 0);
  EXPECT_NE(transcript.Text().find(L"Invalid option keyword."), std::wstring::npos);
}

TEST_F(Prompts, KeywordPromptWithAndWithoutDefault) {
  {
    ScriptedInput input({L"a"});
    TranscriptCapture transcript;
    CString result = L"before";
    EXPECT_EQ(AskKeyword(L"File type", L"Binary Ascii", result, L"Binary"), 1);
    EXPECT_EQ(result, L"Ascii");
    EXPECT_EQ(transcript.Text().rfind(L"File type [Binary/Ascii] <Binary>: ", 0), 0u);
  }
  {
    ScriptedInput input({L"BIN"});
    TranscriptCapture transcript;
    CString result;
    EXPECT_EQ(AskKeyword(L"File type", L"Binary Ascii", result, L""), 1);
    EXPECT_EQ(result, L"Binary");
    EXPECT_EQ(transcript.Text().rfind(L"File type [Binary/Ascii] : ", 0), 0u);
  }
}

TEST_F(Prompts, KeywordEnterTakesTheDefault) {
  ScriptedInput input({L"", L""});
  CString result = L"kept";
  EXPECT_EQ(AskKeyword(L"Answer", L"Yes No", result, L""), 0);
  EXPECT_EQ(result, L"kept");
  EXPECT_EQ(AskKeyword(L"Answer", L"Yes No", result, L"No"), 1);
  EXPECT_EQ(result, L"No");
}

TEST_F(Prompts, KeywordDefaultNeedNotBeInTheList) {
  ScriptedInput input({L""});
  CString result;
  EXPECT_EQ(AskKeyword(L"Answer", L"Left Right", result, L"Middle"), 1);
  EXPECT_EQ(result, L"Middle");
}

TEST_F(Prompts, KeywordCancelKeepsTheResult) {
  ScriptedInput input({L"^C"});
  CString result = L"kept";
  EXPECT_EQ(AskKeyword(L"Answer", L"Yes No", result, L"No"), 0);
  EXPECT_EQ(result, L"kept");
}

TEST_F(Prompts, DoubleBlankShowsTwoSlashes) {
  ScriptedInput input({L"b"});
  TranscriptCapture transcript;
  CString result;
  EXPECT_EQ(AskKeyword(L"Pick", L"A  B", result, L""), 1);
  EXPECT_EQ(result, L"B");
  EXPECT_EQ(transcript.Text().rfind(L"Pick [A//B] : ", 0), 0u);
}

TEST_F(Prompts, LongKeywordComesBackWhole) {
  ScriptedInput input({L"verylongkeywordofthirtychars"});
  CString result;
  EXPECT_EQ(AskKeyword(L"Mode", L"Short VeryLongKeywordOfThirtyChars", result, L""), 1);
  EXPECT_EQ(result, L"VeryLongKeywordOfThirtyChars");
}

}  // namespace
