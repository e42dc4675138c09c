// Solids out to SAT and back through arxhost, as a user's script does: a primitive is drawn and
// measured with MASSPROP, written with ACISOUT, erased, read back with ACISIN and measured
// again; both measures must agree and the file must hold the primitive's own surface.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"

using plx::test::ProcessResult;
using plx::test::RunArxhost;
using plx::test::TempDir;

namespace {

struct ScriptCase {
  const char* name;
  const char* draw;     // script lines that draw the solid
  const char* surface;  // a record the file must hold
  friend void PrintTo(const ScriptCase& c, std::ostream* os) { *os << c.name; }
};

const ScriptCase kCases[] = {
    {"Box", "BOX\n1,2,3\n4,6,8\n", "plane-surface"},
    {"Sphere", "SPHERE\n5,5,5\n2\n", "sphere-surface"},
    {"Cylinder", "CYLINDER\n0,0,0\n1.5\n4\n", "cone-surface"},
    {"Cone", "CONE\n3,3,0\n2\n5\n", "cone-surface"},
    {"Torus", "TORUS\n20,20,5\n6\n1.5\n", "torus-surface"},
    {"Wedge", "WEDGE\n0,0,0\n4,2,3\n", "plane-surface"},
};

// The MASSPROP blocks of the transcript, from "Mass:" to the centroid's Z line.
std::vector<std::string> MassBlocks(const std::string& output) {
  std::vector<std::string> blocks;
  for (size_t at = output.find("Mass:"); at != std::string::npos;
       at = output.find("Mass:", at + 1)) {
    const size_t z = output.find("Z:", output.find("Centroid:", at));
    blocks.push_back(output.substr(at, output.find('\n', z) - at));
  }
  return blocks;
}

class AcisScript : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(AcisScript, SolidKeepsItsMeasuresThroughAcisoutAndAcisin) {
  TempDir dir;
  const std::string file = (dir / "solid.sat").string();
  const std::string script = std::string(GetParam().draw) + "MASSPROP\nALL\n\nACISOUT\nALL\n\n" +
                             file + "\nERASE\nALL\n\nACISIN\n" + file + "\nMASSPROP\nALL\n\n";
  const ProcessResult result = RunArxhost(dir, script);
  ASSERT_EQ(result.exitCode, 0) << result.output;
  EXPECT_NE(result.output.find("ACISOUT: 1 object(s) written to"), std::string::npos)
      << result.output;
  EXPECT_NE(result.output.find("ACISIN: 1 objects imported."), std::string::npos) << result.output;
  const std::vector<std::string> blocks = MassBlocks(result.output);
  ASSERT_EQ(blocks.size(), 2u) << result.output;
  EXPECT_EQ(blocks[0], blocks[1]);
  EXPECT_NE(plx::test::ReadFile(file).find(GetParam().surface), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Primitives, AcisScript, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AcisScriptErrors, AcisoutWithNothingSolidSelectedWritesNothing) {
  TempDir dir;
  const std::string file = (dir / "none.sat").string();
  const ProcessResult result = RunArxhost(dir, "LINE\n0,0,0\n1,1,1\n\nACISOUT\nALL\n\n");
  EXPECT_NE(result.output.find("ACISOUT: no 3D solid, body or region was selected."),
            std::string::npos)
      << result.output;
  EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
