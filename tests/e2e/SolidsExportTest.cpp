// Solids united by the toolkit in the real host program, then exported with Plovex: admesh
// reads one closed part whose volume is the union's.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "TestSupport.h"

namespace fs = std::filesystem;
using namespace plx::test;

namespace {

double Figure(const std::string& text, const char* pattern) {
  std::smatch m;
  return std::regex_search(text, m, std::regex(pattern)) ? std::stod(m[1]) : -1;
}

}  // namespace

TEST(SolidsExport, TwoBoxesUnitedExportAsOneClosedPart) {
  TempDir dir, temp, config;
  const fs::path target = dir / "union.stl";
  const ProcessResult run = RunArxhost(
      dir,
      "BOX\n0,0,0\n2,2,2\nBOX\n1,0,0\n3,2,2\nUNITESELECTED\nALL\n\n"
      "Plovex\nALL\n\n" + target.string() + "\nBinary\n50\nOK\n",
      {"--load", "Plovex_VC90x64.arx", "--load", "PlovexSolidsTest.arx"},
      {"TEMP=" + temp.Path().string(), "XDG_CONFIG_HOME=" + config.Path().string()});
  ASSERT_NE(run.output.find("United 2 objects"), std::string::npos) << run.output;
  ASSERT_NE(run.output.find("Successfully exported 1 meshes"), std::string::npos) << run.output;

  const ProcessResult admesh = RunProcess({"/usr/bin/admesh", "--exact", "--normal-directions", target.string()});
  ASSERT_EQ(admesh.exitCode, 0) << admesh.output;
  EXPECT_EQ(Figure(admesh.output, R"(Number of parts\s*:\s*(\d+))"), 1) << admesh.output;
  EXPECT_EQ(Figure(admesh.output, R"(Total disconnected facets\s*:\s*(\d+))"), 0) << admesh.output;
  EXPECT_NEAR(Figure(admesh.output, R"(Volume\s*:\s*(\S+))"), 12.0, 1e-4) << admesh.output;
  EXPECT_TRUE(fs::is_empty(temp.Path()));
}
