// TVKRegistry over its .reg file in a temporary configuration folder.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>

#include "TVKGUI.h"
#include "TestSupport.h"

using plx::test::ReadFile;
using plx::test::ScopedEnv;
using plx::test::TempDir;
using plx::test::WriteFile;

namespace {

const wchar_t kKey[] = L"Software\\TALVEK\\Plovex for AutoCAD";

class Registry : public ::testing::Test {
 protected:
  std::filesystem::path File() const { return dir_ / "plovex" / "registry.reg"; }

  TempDir dir_;
  ScopedEnv config_{"XDG_CONFIG_HOME", dir_.Path().string()};
};

int Read(const wchar_t* name, int defaultValue, int root = 1, const wchar_t* key = kKey) {
  TVKRegistry registry;
  registry.SetKey(key, root);
  return registry.ReadInt(name, defaultValue);
}

int Write(const wchar_t* name, int value, int root = 1, const wchar_t* key = kKey) {
  TVKRegistry registry;
  registry.SetKey(key, root);
  return registry.WriteInt(name, value);
}

class RegistryValue : public Registry, public ::testing::WithParamInterface<int> {};

}  // namespace

TEST_F(Registry, MissingValuesGiveTheDefault) {
  EXPECT_EQ(Read(L"Type", 1), 1);
  EXPECT_EQ(Read(L"Resolution", 50), 50);
  EXPECT_FALSE(std::filesystem::exists(File()));  // reading creates nothing
  ASSERT_EQ(Write(L"Type", 0), 1);
  EXPECT_EQ(Read(L"Resolution", 50), 50);
  EXPECT_EQ(Read(L"Type", 1, 1, L"Software\\TALVEK\\Other"), 1);
}

TEST_P(RegistryValue, WrittenValueIsReadByANewInstance) {
  ASSERT_EQ(Write(L"Resolution", GetParam()), 1);
  EXPECT_EQ(Read(L"Resolution", 12345), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Values, RegistryValue,
                         ::testing::Values(0, 1, 50, 100, 250, -1, 7, INT_MAX, INT_MIN));

TEST_F(Registry, FileIsInTheRegistryEditorsFormat) {
  ASSERT_EQ(Write(L"Type", 1), 1);
  ASSERT_EQ(Write(L"Resolution", 50), 1);
  ASSERT_EQ(Write(L"Type", -1), 1);  // replaces the line in place
  EXPECT_EQ(ReadFile(File()),
            "Windows Registry Editor Version 5.00\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\TALVEK\\Plovex for AutoCAD]\n"
            "\"Type\"=dword:ffffffff\n"
            "\"Resolution\"=dword:00000032\n"
            "\n");
}

TEST_F(Registry, WriteReplacesTheFileAtomicallyAndLeavesNothingBehind) {
  ASSERT_EQ(Write(L"Type", 1), 1);
  const auto before = std::filesystem::status(File()).permissions();
  for (int i = 0; i < 20; ++i) ASSERT_EQ(Write(L"Resolution", i), 1);
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(File().parent_path()))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"registry.reg", "registry.reg.lock"}));
  EXPECT_EQ(before & std::filesystem::perms::others_read, std::filesystem::perms::none);
}

TEST_F(Registry, ConcurrentWritersInOtherProcessesLoseNoValue) {
  constexpr int kWriters = 8;
  std::vector<pid_t> children;
  for (int i = 0; i < kWriters; ++i) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      bool ok = true;
      for (int round = 0; round < 10; ++round) {
        const std::wstring name = L"Writer" + std::to_wstring(i);
        ok = ok && Write(name.c_str(), i * 100 + round) == 1;
      }
      _exit(ok ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  for (int i = 0; i < kWriters; ++i) {
    const std::wstring name = L"Writer" + std::to_wstring(i);
    EXPECT_EQ(Read(name.c_str(), -1), i * 100 + 9);
  }
}

TEST_F(Registry, KeysAndNamesIgnoreCaseAndRootsAreSeparate) {
  ASSERT_EQ(Write(L"Type", 0), 1);
  EXPECT_EQ(Read(L"TYPE", 1, 1, L"software\\talvek\\PLOVEX FOR AUTOCAD"), 0);
  EXPECT_EQ(Read(L"Type", 1, 1, L"\\Software\\\\TALVEK\\Plovex for AutoCAD\\"), 0);
  EXPECT_EQ(Read(L"Type", 1, 2), 1);  // HKEY_LOCAL_MACHINE holds nothing
  ASSERT_EQ(Write(L"Type", 5, 2), 1);
  EXPECT_EQ(Read(L"Type", 1, 2), 5);
  EXPECT_EQ(Read(L"Type", 1, 1), 0);
  EXPECT_NE(
      ReadFile(File()).find(
          "[HKEY_LOCAL_MACHINE\\Software\\TALVEK\\Plovex for AutoCAD]\n\"Type\"=dword:00000005\n"),
      std::string::npos);
}

TEST_F(Registry, UnknownRootOrEmptyKeySelectsNothing) {
  TVKRegistry registry;
  EXPECT_EQ(registry.ReadInt(L"Type", 3), 3);  // no key selected yet
  EXPECT_EQ(registry.WriteInt(L"Type", 3), 0);
  EXPECT_EQ(registry.SetKey(kKey, 9), 0);
  EXPECT_EQ(registry.WriteInt(L"Type", 3), 0);
  EXPECT_EQ(registry.SetKey(L"\\\\", 1), 0);
  EXPECT_EQ(registry.WriteInt(L"Type", 3), 0);
  EXPECT_EQ(registry.SetKey(kKey, 1), 1);
  EXPECT_EQ(registry.WriteInt(L"", 3), 0);
  EXPECT_FALSE(std::filesystem::exists(File()));
}

TEST_F(Registry, LinesItDoesNotWriteAreKept) {
  std::filesystem::create_directories(File().parent_path());
  const std::string foreign =
      "Windows Registry Editor Version 5.00\n\n"
      "[HKEY_CURRENT_USER\\Software\\Other]\n"
      "\"Name\"=\"text with \\\"quotes\\\"\"\n"
      "\"Blob\"=hex:01,02,\\\n  03,04\n"
      "; a comment\n\n"
      "[HKEY_CURRENT_USER\\Software\\TALVEK\\Plovex for AutoCAD]\n"
      "\"Type\"=\"not a dword\"\n"
      "\"Resolution\"=dword:zz000000\n";
  WriteFile(File(), foreign);
  EXPECT_EQ(Read(L"Type", 1), 1);  // a string is no DWORD
  EXPECT_EQ(Read(L"Resolution", 50), 50);
  ASSERT_EQ(Write(L"Resolution", 60), 1);
  const std::string after = ReadFile(File());
  EXPECT_NE(
      after.find(
          "\"Name\"=\"text with \\\"quotes\\\"\"\n\"Blob\"=hex:01,02,\\\n  03,04\n; a comment\n"),
      std::string::npos)
      << after;
  EXPECT_NE(after.find("\"Type\"=\"not a dword\"\n\"Resolution\"=dword:0000003c\n"),
            std::string::npos)
      << after;
  EXPECT_EQ(Read(L"Resolution", 50), 60);
}

TEST_F(Registry, ReadsAFileThatTheRegistryEditorExported) {
  std::filesystem::create_directories(File().parent_path());
  const std::string text =
      "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\TALVEK\\Plovex "
      "for AutoCAD]\r\n"
      "\"Resolution\"=dword:0000004B\r\n";
  std::string utf16 = "\xFF\xFE";
  for (const char c : text) utf16 += {c, '\0'};
  WriteFile(File(), utf16);
  EXPECT_EQ(Read(L"Resolution", 50), 75);
}

TEST_F(Registry, WriteFailsCleanlyWhenTheFolderCannotBeMade) {
  WriteFile(dir_ / "plovex", "a file where the folder should be");
  EXPECT_EQ(Write(L"Type", 0), 0);
  EXPECT_EQ(Read(L"Type", 1), 1);
  EXPECT_EQ(ReadFile(dir_ / "plovex"), "a file where the folder should be");
}

TEST(RegistryLocation, FallsBackToHomeConfigWhenXdgIsUnsetOrRelative) {
  TempDir home;
  ScopedEnv homeEnv("HOME", home.Path().string());
  for (const char* xdg : {"", "relative/config"}) {
    ScopedEnv config("XDG_CONFIG_HOME", xdg);
    ASSERT_EQ(Write(L"Type", 0), 1);
    EXPECT_TRUE(std::filesystem::exists(home / ".config/plovex/registry.reg")) << xdg;
    std::filesystem::remove_all(home / ".config");
  }
}
