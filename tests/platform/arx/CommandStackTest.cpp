// The host's command stack and command processor.
#include <gtest/gtest.h>

#include <stdexcept>

#include "TestSupport.h"
#include "arx.h"
#include "win32/text.h"

using plx::test::HostSession;
using plx::test::ScriptedInput;
using plx::test::TranscriptCapture;

namespace {
int g_runs = 0;
std::wstring g_answer;
void Counting() { ++g_runs; }
void Asking() { g_answer = plx::host::ReadInput(L"Answer: ").value_or(L"<cancel>"); }
void Throwing() { throw std::runtime_error("lost"); }
}  // namespace

TEST(CommandStack, FindsCommandsByGlobalOrLocalNameInAnyCase) {
  HostSession session;
  TranscriptCapture transcript;
  g_runs = 0;
  ASSERT_EQ(acedRegCmds->addCommand(L"GRP", L"_Count", L"Count", ACRX_CMD_TRANSPARENT, Counting), Acad::eOk);
  for (const wchar_t* typed : {L"_Count", L"_COUNT", L"count", L"COUNT", L".Count", L"'count"})
    EXPECT_TRUE(plx::host::RunCommand(typed)) << typed;
  EXPECT_EQ(g_runs, 6);
  EXPECT_FALSE(plx::host::RunCommand(L"Counter"));
  EXPECT_NE(transcript.Text().find(L"Unknown command \"COUNTER\".  Press F1 for help.\n"), std::wstring::npos);
}

TEST(CommandStack, RefusesDuplicatesAndRemovesByGroupAndGlobalName) {
  HostSession session;
  EXPECT_EQ(acedRegCmds->addCommand(L"GRP", L"_Count", L"Count", 0, Counting), Acad::eOk);
  EXPECT_EQ(acedRegCmds->addCommand(L"GRP", L"_Count", L"Other", 0, Counting), Acad::eDuplicateKey);
  EXPECT_EQ(acedRegCmds->addCommand(L"GRP", L"", L"Count", 0, Counting), Acad::eInvalidInput);
  EXPECT_EQ(acedRegCmds->removeCmd(L"OTHER", L"_Count"), Acad::eKeyNotFound);
  EXPECT_EQ(acedRegCmds->removeCmd(L"GRP", L"_Count"), Acad::eOk);
  EXPECT_EQ(acedRegCmds->lookupCmd(L"_Count"), nullptr);
}

TEST(CommandStack, IteratesGroupsInOrderOfCreation) {
  HostSession session;
  acedRegCmds->addCommand(L"G1", L"_A", L"A", 0, Counting);
  acedRegCmds->addCommand(L"G2", L"_B", L"B", 0, Counting);
  acedRegCmds->addCommand(L"G1", L"_C", L"C", 0, Counting);
  std::wstring seen;
  AcEdCommandIterator* it = acedRegCmds->iterator();
  for (; !it->done(); it->next())
    if (std::wstring(it->commandGroup()) != L"ACAD") seen += std::wstring(it->commandGroup()) + it->command()->localName() + L" ";
  delete it;
  EXPECT_EQ(seen, L"G1A G1C G2B ");
}

TEST(AcedCommand, AnswersTheCommandsPromptsAndFallsBackToTheInput) {
  HostSession session;
  TranscriptCapture transcript;
  acedRegCmds->addCommand(L"GRP", L"_Ask", L"Ask", 0, Asking);
  EXPECT_EQ(acedCommand(RTSTR, L"_Ask", RTSTR, L"given", RTNONE), RTNORM);
  EXPECT_EQ(g_answer, L"given");
  EXPECT_EQ(acedCommand(RTSTR, L"_Ask", RTREAL, 2.5, RTNONE), RTNORM);
  EXPECT_EQ(g_answer, L"2.5");
  {
    ScriptedInput script({L"from the script"});
    EXPECT_EQ(acedCommand(RTSTR, L"_Ask", RTNONE), RTNORM);
  }
  EXPECT_EQ(g_answer, L"from the script");
  EXPECT_EQ(acedCommand(RTSTR, L"_NoSuchCommand", RTNONE), RTERROR);
}

// An exception stops at the command: the host says so and the command counts as failed, so
// that a caller of acedCommand does not take it for done.
TEST(AcedCommand, CommandThatThrowsFails) {
  HostSession session;
  TranscriptCapture transcript;
  acedRegCmds->addCommand(L"GRP", L"_Throw", L"Throw", 0, Throwing);
  acedRegCmds->addCommand(L"GRP", L"_Count", L"Count", 0, Counting);
  g_runs = 0;
  EXPECT_EQ(acedCommand(RTSTR, L"_Throw", RTNONE), RTERROR);
  EXPECT_NE(transcript.Text().find(L"\nUnhandled exception in command _THROW.\n"), std::wstring::npos)
      << transcript.Utf8();
  // The next command runs and succeeds as usual.
  EXPECT_EQ(acedCommand(RTSTR, L"_Count", RTNONE), RTNORM);
  EXPECT_EQ(g_runs, 1);
}

TEST(CommandLoop, RunsAScriptAndCancelsWhatTheScriptLeavesOpen) {
  HostSession session;
  TranscriptCapture transcript;
  acedRegCmds->addCommand(L"GRP", L"_Ask", L"Ask", 0, Asking);
  acedRegCmds->addCommand(L"GRP", L"_Count", L"Count", 0, Counting);
  g_runs = 0;
  ScriptedInput script({L"Count", L"", L"  count  ", L"Ask"});
  plx::host::RunCommandLoop();
  EXPECT_EQ(g_runs, 2);
  EXPECT_EQ(g_answer, L"<cancel>");
  EXPECT_NE(transcript.Text().find(L"Answer: *Cancel*\n"), std::wstring::npos) << transcript.Utf8();
}

TEST(ScriptCommand, RunsTheFileBeforeTheInputThatCalledIt) {
  HostSession session;
  TranscriptCapture transcript;
  plx::test::TempDir dir;
  plx::test::WriteFile(dir / "inner.scr", "Count\r\nAsk\r\ninner answer\r\n");
  acedRegCmds->addCommand(L"GRP", L"_Ask", L"Ask", 0, Asking);
  acedRegCmds->addCommand(L"GRP", L"_Count", L"Count", 0, Counting);
  g_runs = 0;
  {
    ScriptedInput script({L"SCRIPT", plx::WideFromUtf8((dir / "inner.scr").string()), L"Count", L"SCRIPT",
                          plx::WideFromUtf8((dir / "missing.scr").string())});
    plx::host::RunCommandLoop();
  }
  EXPECT_EQ(g_runs, 2);
  EXPECT_EQ(g_answer, L"inner answer");
  EXPECT_NE(transcript.Text().find(L"Unable to open script file"), std::wstring::npos);
}
