// The application object in-process: message dispatch, the command table, the menu at start.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PlovexApp.h"
#include "TestSupport.h"
#include "arx.h"

using plx::test::HostSession;
using plx::test::TranscriptCapture;

namespace {

struct Registered {
  std::wstring group, global, local;
  Adesk::Int32 flags;
};

std::vector<Registered> CommandsOf(const wchar_t* group) {
  std::vector<Registered> found;
  AcEdCommandIterator* it = acedRegCmds->iterator();
  for (; !it->done(); it->next())
    if (std::wstring(it->commandGroup()) == group)
      found.push_back({it->commandGroup(), it->command()->globalName(), it->command()->localName(),
                       it->command()->commandFlags()});
  delete it;
  return found;
}

}  // namespace

TEST(PlovexApp, OtherMessageCodesAnswerOkAndChangeNothing) {
  HostSession session;
  for (int code : {0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 100}) {
    EXPECT_EQ(acrxEntryPoint(static_cast<AcRx::AppMsgCode>(code), nullptr), AcRx::kRetOK) << code;
    EXPECT_TRUE(CommandsOf(L"TVK_Plovex").empty()) << code;
  }
}

TEST(PlovexApp, InitRegistersExactlyTheThreeCommandsInOrder) {
  HostSession session;
  TranscriptCapture transcript;
  ASSERT_EQ(acrxEntryPoint(AcRx::kInitAppMsg, nullptr), AcRx::kRetOK);
  const auto commands = CommandsOf(L"TVK_Plovex");
  ASSERT_EQ(commands.size(), 3u);
  const wchar_t* globals[] = {L"_Plovex", L"_PlovexHelp", L"_PlovexAbout"};
  const wchar_t* locals[] = {L"Plovex", L"PlovexHelp", L"PlovexAbout"};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(commands[i].global, globals[i]);
    EXPECT_EQ(commands[i].local, locals[i]);
    EXPECT_EQ(commands[i].flags, ACRX_CMD_TRANSPARENT);
  }
  EXPECT_EQ(acrxEntryPoint(AcRx::kUnloadAppMsg, nullptr), AcRx::kRetOK);
  EXPECT_TRUE(CommandsOf(L"TVK_Plovex").empty());
}

namespace {
bool g_commandsKnownAtMenuLoad = false;
std::wstring g_menuPathAsked;
void RecordingMenuLoad() {
  g_commandsKnownAtMenuLoad = acedRegCmds->lookupCmd(L"_PlovexAbout") != nullptr;
  g_menuPathAsked = plx::host::ReadInput(L"Menu: ").value_or(L"");
}
}  // namespace

TEST(PlovexApp, RegistersTheCommandsBeforeLoadingTheMenuBesideTheModule) {
  HostSession session;
  TranscriptCapture transcript;
  acedRegCmds->addCommand(L"TEST", L"_menuload", L"menuload", 0, RecordingMenuLoad);
  acrxEntryPoint(AcRx::kInitAppMsg, nullptr);
  EXPECT_TRUE(g_commandsKnownAtMenuLoad);
  // In-process the module file is the test program itself.
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring folder(self);
  folder.erase(folder.find_last_of(L"/\\") + 1);
  EXPECT_EQ(g_menuPathAsked, folder + L"Plovex.mnu");
  acrxEntryPoint(AcRx::kUnloadAppMsg, nullptr);
}

TEST(PlovexApp, MissingMenuStillAnswersOkWithTheCommandsRegistered) {
  HostSession session;
  TranscriptCapture transcript;
  EXPECT_EQ(acrxEntryPoint(AcRx::kInitAppMsg, nullptr), AcRx::kRetOK);
  EXPECT_EQ(CommandsOf(L"TVK_Plovex").size(), 3u);
  EXPECT_TRUE(plx::host::MenuBar().empty());
  acrxEntryPoint(AcRx::kUnloadAppMsg, nullptr);
}

TEST(PlovexApp, LibraryEntryStartsTheUiLibraryOnEveryAttach) {
  HostSession session;
  const HINSTANCE before = ModuleInstance;
  const auto fake = reinterpret_cast<HINSTANCE>(0x1234);
  EXPECT_TRUE(DllMain(fake, DLL_PROCESS_ATTACH, nullptr));
  EXPECT_EQ(ModuleInstance, fake);
  EXPECT_TRUE(DllMain(nullptr, DLL_PROCESS_ATTACH, nullptr));
  EXPECT_EQ(ModuleInstance, nullptr);
  EXPECT_EQ(plx::host::InitAcUiDllCalls(), 2);
  EXPECT_TRUE(DllMain(nullptr, DLL_THREAD_ATTACH, nullptr));
  EXPECT_TRUE(DllMain(nullptr, DLL_PROCESS_DETACH, nullptr));
  ModuleInstance = before;
}
