// Transparent commands: "'NAME" at a prompt of another command runs NAME there when it is
// registered transparent, is refused otherwise, and the interrupted prompt is asked again with
// nothing of its answer lost.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DrawingBuilders.h"
#include "TestSupport.h"
#include "arx.h"
#include "arxhost/Drawing.h"
#include "win32/text.h"

using plx::test::HostSession;
using plx::test::ScriptedInput;
using plx::test::TranscriptCapture;

namespace {

std::vector<std::wstring> g_log;

std::wstring PointText(int status, const ads_point p) {
  return status == RTNORM ? plx::FormatWide(L"%g,%g", p[0], p[1])
                          : plx::FormatWide(L"status %d", status);
}

void AskPoint() {
  ads_point p;
  const int status = acedGetPoint(nullptr, L"Outer point: ", p);
  g_log.push_back(L"outer " + PointText(status, p));
}

std::wstring Selected(const wchar_t* who) {
  ads_name set;
  const int status = acedSSGet(nullptr, nullptr, nullptr, nullptr, set);
  if (status != RTNORM) return plx::FormatWide(L"%ls status %d", who, status);
  Adesk::Int32 length = 0;
  acedSSLength(set, &length);
  acedSSFree(set);
  return plx::FormatWide(L"%ls selected %d", who, static_cast<int>(length));
}

void AskSelection() { g_log.push_back(Selected(L"outer")); }

void AskKeyword() {
  acedInitGet(0, L"Yes No");
  ACHAR answer[133] = {};
  const int status = acedGetKword(L"Outer [Yes/No]: ", answer);
  g_log.push_back(status == RTNORM ? L"outer " + std::wstring(answer)
                                   : plx::FormatWide(L"outer status %d", status));
}

void AskText() {
  ACHAR answer[133] = {};
  acedGetString(1, L"Outer text: ", answer);
  g_log.push_back(L"outer text " + std::wstring(answer));
}

void Peek() {
  ads_point p;
  const int status = acedGetPoint(nullptr, L"Peek point: ", p);
  g_log.push_back(L"peek " + PointText(status, p));
}

void PeekKeyword() {
  acedInitGet(0, L"Alpha Beta");
  ACHAR answer[133] = {};
  acedGetKword(L"Peek [Alpha/Beta]: ", answer);
  g_log.push_back(L"peek " + std::wstring(answer));
}

void PeekSelection() { g_log.push_back(Selected(L"peek")); }

void Modal() { g_log.push_back(L"modal ran"); }

struct TransparentCase {
  const char* name;
  const wchar_t* outer;
  std::vector<std::wstring> answers;
  std::vector<std::wstring> log;
  std::wstring transcript;         // the whole transcript when not empty
  std::vector<std::wstring> says;  // parts it must hold
};

void PrintTo(const TransparentCase& c, std::ostream* os) { *os << c.name; }

const wchar_t* kRefused = L"** That command may not be invoked transparently **\n";

class TransparentCommand : public ::testing::TestWithParam<TransparentCase> {
 protected:
  void SetUp() override {
    g_log.clear();
    const struct {
      const wchar_t* name;
      Adesk::Int32 flags;
      AcRxFunctionPtr function;
    } commands[] = {{L"AskPoint", ACRX_CMD_MODAL, AskPoint},
                    {L"AskSelection", ACRX_CMD_MODAL, AskSelection},
                    {L"AskKeyword", ACRX_CMD_MODAL, AskKeyword},
                    {L"AskText", ACRX_CMD_MODAL, AskText},
                    {L"Peek", ACRX_CMD_TRANSPARENT, Peek},
                    {L"PeekKeyword", ACRX_CMD_TRANSPARENT, PeekKeyword},
                    {L"PeekSelection", ACRX_CMD_TRANSPARENT | ACRX_CMD_USEPICKSET, PeekSelection},
                    {L"Modal", ACRX_CMD_MODAL, Modal}};
    for (const auto& c : commands)
      ASSERT_EQ(acedRegCmds->addCommand(L"GRP", (L"_" + std::wstring(c.name)).c_str(), c.name,
                                        c.flags, c.function),
                Acad::eOk);
    plx::test::AddToModelSpace(
        new AcDbFace(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0)));
    plx::test::AddToModelSpace(new AcDbLine(AcGePoint3d(5, 5, 0), AcGePoint3d(6, 6, 0)));
  }

  HostSession session_;
};

}  // namespace

TEST_P(TransparentCommand, RunsOrIsRefusedAndThePromptIsAskedAgain) {
  const TransparentCase& c = GetParam();
  TranscriptCapture transcript;
  {
    ScriptedInput script(c.answers);
    EXPECT_TRUE(plx::host::RunCommand(c.outer));
  }
  EXPECT_EQ(g_log, c.log);
  if (!c.transcript.empty()) {
    EXPECT_EQ(transcript.Text(), c.transcript);
  }
  for (const std::wstring& part : c.says)
    EXPECT_NE(transcript.Text().find(part), std::wstring::npos) << plx::Utf8FromWide(part) << "\n"
                                                                << transcript.Utf8();
  EXPECT_EQ(plx::host::OpenSelectionSets(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Prompts, TransparentCommand,
    ::testing::Values(
        TransparentCase{"AtAPointPrompt",
                        L"AskPoint",
                        {L"'Peek", L"5,6", L"1,2"},
                        {L"peek 5,6", L"outer 1,2"},
                        L"Outer point: 'Peek\n>>Peek point: 5,6\nResuming ASKPOINT command.\nOuter "
                        L"point: 1,2\n",
                        {}},
        TransparentCase{"ByGlobalNameInAnyCase",
                        L"AskPoint",
                        {L"'_PEEK", L"3,4", L"1,2"},
                        {L"peek 3,4", L"outer 1,2"},
                        L"",
                        {L"Resuming ASKPOINT command.\n"}},
        TransparentCase{"NonTransparentIsRefusedAtAPointPrompt",
                        L"AskPoint",
                        {L"'Modal", L"'_modal", L"1,2"},
                        {L"outer 1,2"},
                        std::wstring(L"Outer point: 'Modal\n") + kRefused +
                            L"Outer point: '_modal\n" + kRefused + L"Outer point: 1,2\n",
                        {}},
        TransparentCase{
            "AtASelectionPrompt",
            L"AskSelection",
            {L"'Peek", L"7,7", L"ALL", L""},
            {L"peek 7,7", L"outer selected 2"},
            L"Select objects: 'Peek\n>>Peek point: 7,7\nResuming ASKSELECTION command.\n"
            L"Select objects: ALL\n2 found\nSelect objects: \n",
            {}},
        TransparentCase{
            "SelectingInsideASelection",
            L"AskSelection",
            {L"L", L"'PeekSelection", L"ALL", L"", L""},
            {L"peek selected 2", L"outer selected 1"},
            L"",
            {L">>Select objects: ALL\n", L"Resuming ASKSELECTION command.\nSelect objects: \n"}},
        TransparentCase{
            "NonTransparentIsRefusedAtASelectionPrompt",
            L"AskSelection",
            {L"'Modal", L"ALL", L""},
            {L"outer selected 2"},
            L"",
            {std::wstring(L"Select objects: 'Modal\n") + kRefused + L"Select objects: ALL\n"}},
        TransparentCase{
            "KeywordsOfBothPromptsHold",
            L"AskKeyword",
            {L"'PeekKeyword", L"b", L"y"},
            {L"peek Beta", L"outer Yes"},
            L"",
            {L">>Peek [Alpha/Beta]: b\nResuming ASKKEYWORD command.\nOuter [Yes/No]: y\n"}},
        TransparentCase{"NotNestedInsideATransparentCommand",
                        L"AskPoint",
                        {L"'Peek", L"'Peek", L"'Modal", L"3,4", L"1,2"},
                        {L"peek 3,4", L"outer 1,2"},
                        std::wstring(L"Outer point: 'Peek\n>>Peek point: 'Peek\n") + kRefused +
                            L">>Peek point: 'Modal\n" + kRefused +
                            L">>Peek point: 3,4\nResuming ASKPOINT command.\nOuter point: 1,2\n",
                        {}},
        TransparentCase{"CancelEndsOnlyTheTransparentCommand",
                        L"AskPoint",
                        {L"'Peek", L"^C", L"1,2"},
                        {L"peek status -5002", L"outer 1,2"},
                        L"",
                        {L"*Cancel*\nResuming ASKPOINT command.\nOuter point: 1,2\n"}},
        TransparentCase{"UnknownNameIsReported",
                        L"AskPoint",
                        {L"'Nothing", L"1,2"},
                        {L"outer 1,2"},
                        L"Outer point: 'Nothing\nUnknown command \"NOTHING\".  Press F1 for "
                        L"help.\nOuter point: 1,2\n",
                        {}},
        TransparentCase{"AnApostropheAloneIsAnAnswer",
                        L"AskPoint",
                        {L"'", L"1,2"},
                        {L"outer 1,2"},
                        L"",
                        {L"Outer point: '\nInvalid point.\n"}},
        TransparentCase{"TextIsTakenAsTyped",
                        L"AskText",
                        {L"'Peek"},
                        {L"outer text 'Peek"},
                        L"Outer text: 'Peek\n",
                        {}},
        TransparentCase{"TheEndOfTheInputCancelsBoth",
                        L"AskPoint",
                        {L"'Peek"},
                        {L"peek status -5002", L"outer status -5002"},
                        L"",
                        {}}),
    [](const ::testing::TestParamInfo<TransparentCase>& info) {
      return std::string(info.param.name);
    });

// acedCommand's answers reach transparent commands as typed input does.
TEST(TransparentCommandThroughAcedCommand, RunsAtThePromptItsWordsAnswer) {
  HostSession session;
  TranscriptCapture transcript;
  g_log.clear();
  acedRegCmds->addCommand(L"GRP", L"_AskPoint", L"AskPoint", ACRX_CMD_MODAL, AskPoint);
  acedRegCmds->addCommand(L"GRP", L"_Peek", L"Peek", ACRX_CMD_TRANSPARENT, Peek);
  EXPECT_EQ(
      acedCommand(RTSTR, L"_AskPoint", RTSTR, L"'_Peek", RTSTR, L"8,9", RTSTR, L"1,1", RTNONE),
      RTNORM);
  EXPECT_EQ(g_log, (std::vector<std::wstring>{L"peek 8,9", L"outer 1,1"}));
}
