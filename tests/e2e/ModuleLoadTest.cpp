// The module in the real host program: load, commands, menu, caption, help, About, unload.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"

namespace fs = std::filesystem;
using plx::test::RunArxhost;
using plx::test::TempDir;

namespace {

// A copy of the module and the libraries beside it in a folder of the test's own, so that a
// test may put files beside the module.
fs::path CopyModule(const TempDir& dir) {
  const fs::path target = dir / "module";
  fs::create_directory(target);
  for (const auto& entry : fs::directory_iterator(plx::test::BinDir())) {
    const std::string name = entry.path().filename().string();
    if (name == "Plovex_VC90x64.arx" || name == "Plovex.mnu" || entry.path().extension() == ".so")
      fs::copy_file(entry.path(), target / name);
  }
  return target / "Plovex_VC90x64.arx";
}

}  // namespace

struct CaptionCase {
  const char* release;
  const char* caption;
  friend void PrintTo(const CaptionCase& c, std::ostream* os) { *os << '"' << c.release << '"'; }
};

class AboutCaption : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(AboutCaption, NamesTheRunningRelease) {
  TempDir dir;
  const auto result = RunArxhost(dir, "PlovexAbout\n",
                                 {"--release", GetParam().release, "--load", "Plovex_VC90x64.arx"});
  EXPECT_EQ(result.exitCode, 0) << result.output;
  EXPECT_NE(result.output.find(std::string("[") + GetParam().caption + "]"), std::string::npos)
      << result.output;
}

INSTANTIATE_TEST_SUITE_P(Releases, AboutCaption,
                         ::testing::Values(CaptionCase{"E", "Plovex for AutoCAD 2011 version 1.0"},
                                           CaptionCase{"F", "Plovex for AutoCAD 2012 version 1.0"},
                                           CaptionCase{"D", "Plovex for AutoCAD 2010 version 1.0"},
                                           CaptionCase{"Q", "Plovex for AutoCAD ???? version 1.0"},
                                           CaptionCase{"e", "Plovex for AutoCAD ???? version 1.0"},
                                           CaptionCase{"", "Plovex for AutoCAD ???? version 1.0"}));

TEST(ModuleLoad, DefaultReleaseIsTheNewestSupported) {
  TempDir dir;
  const auto result = RunArxhost(dir, "PlovexAbout\n", {"--load", "Plovex_VC90x64"});
  EXPECT_NE(result.output.find("[Plovex for AutoCAD 2012 version 1.0]"), std::string::npos) << result.output;
}

TEST(ModuleLoad, HelpWithoutHelpFileShowsTheErrorUnderTheCaption) {
  TempDir dir;
  const fs::path module = CopyModule(dir);
  const auto result = RunArxhost(dir, "PlovexHelp\n", {"--release", "E", "--load", module.string()});
  EXPECT_NE(result.output.find("[Plovex for AutoCAD 2011 version 1.0] Error displaying Plovex for "
                               "AutoCAD help file."),
            std::string::npos)
      << result.output;
}

TEST(ModuleLoad, HelpFileBesideTheModuleOpensWithoutError) {
  TempDir dir;
  const fs::path module = CopyModule(dir);
  plx::test::WriteFile(module.parent_path() / "Plovex.chm", "help");
  // No display here: the shell finds the file and has nothing to show it on.
  const auto result = RunArxhost(dir, "PlovexHelp\n", {"--load", module.string()},
                                 {"DISPLAY=", "WAYLAND_DISPLAY="});
  EXPECT_EQ(result.output.find("Error displaying"), std::string::npos) << result.output;
}

TEST(ModuleLoad, LoadsTheMenuBesideTheModuleAndInsertsThePopup) {
  TempDir dir;
  const fs::path module = CopyModule(dir);
  const auto result = RunArxhost(dir, "MENUBAR\n", {"--load", module.string()});
  EXPECT_NE(result.output.find("Customization Group: PLOVEX"), std::string::npos) << result.output;
  EXPECT_NE(result.output.find("P10  Plovex.pop1  &Plovex"), std::string::npos) << result.output;
}

TEST(ModuleLoad, MissingMenuFileStillLeavesTheCommands) {
  TempDir dir;
  const fs::path module = CopyModule(dir);
  fs::remove(module.parent_path() / "Plovex.mnu");
  const auto result = RunArxhost(dir, "PlovexAbout\nMENUBAR\n", {"--load", module.string()});
  EXPECT_NE(result.output.find("Unable to open menu file"), std::string::npos) << result.output;
  EXPECT_NE(result.output.find("[Plovex for AutoCAD 2012 version 1.0]"), std::string::npos) << result.output;
  EXPECT_NE(result.output.find("no inserted pop-up"), std::string::npos) << result.output;
}

TEST(ModuleLoad, CommandsAnswerToGlobalAndLocalNamesInAnyCase) {
  TempDir dir;
  const auto result = RunArxhost(dir, "_PlovexAbout\nplovexabout\n_PLOVEXHELP\nPlovexExport\n",
                                 {"--load", "Plovex_VC90x64.arx"});
  size_t abouts = 0;
  for (size_t at = 0; (at = result.output.find("Copyright", at)) != std::string::npos; ++at) ++abouts;
  EXPECT_EQ(abouts, 2u) << result.output;
  EXPECT_NE(result.output.find("Error displaying"), std::string::npos);
  EXPECT_NE(result.output.find("Unknown command \"PLOVEXEXPORT\".  Press F1 for help."), std::string::npos);
}

TEST(ModuleLoad, UnloadRemovesTheCommandsAndKeepsThePopup) {
  TempDir dir;
  const auto result = RunArxhost(dir,
                                 "ARXUNLOAD\nPlovex_VC90x64\nPlovexAbout\n_Plovex\nPlovexHelp\nMENUBAR\n",
                                 {"--load", "Plovex_VC90x64.arx"});
  EXPECT_NE(result.output.find("Plovex_VC90x64 successfully unloaded."), std::string::npos) << result.output;
  EXPECT_NE(result.output.find("Unknown command \"PLOVEXABOUT\""), std::string::npos);
  EXPECT_NE(result.output.find("Unknown command \"_PLOVEX\""), std::string::npos);
  EXPECT_NE(result.output.find("Unknown command \"PLOVEXHELP\""), std::string::npos);
  EXPECT_NE(result.output.find("P10  Plovex.pop1"), std::string::npos);
}

TEST(ModuleLoad, ArxloadFromAScriptAndRefusalsOfTheLoader) {
  TempDir dir;
  plx::test::WriteFile(dir / "bogus.arx", "not a module");
  const auto result = RunArxhost(dir, "ARXLOAD\nPlovex_VC90x64\nARXLOAD\nPlovex_VC90x64\nARXLOAD\n" +
                                          (dir / "bogus.arx").string() + "\nPlovexAbout\n");
  EXPECT_NE(result.output.find("Plovex_VC90x64.arx is already loaded."), std::string::npos) << result.output;
  EXPECT_NE(result.output.find("failed to load"), std::string::npos);
  EXPECT_NE(result.output.find("Copyright"), std::string::npos);
}
