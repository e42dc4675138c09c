// The toolkit's writers in the real host program: a command of a test module writes one entity
// of each writer's kind into model space, and LIST shows each with its class, layer, colour and
// geometry as written.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "TestSupport.h"

using plx::test::RunArxhost;
using plx::test::TempDir;

namespace {

struct Listed {
  std::string type, layer, color, cls, geometry;
};

// Each LIST block, with the lines that follow its header up to the next block.
std::vector<Listed> ParseList(const std::string& output) {
  static const std::regex block(
      R"re( +(\S+) +Layer: "([^"]*)"\n +Space: Model space\n +Color: (.+?)    Linetype: "BYLAYER"\n +Handle = [0-9a-f]+\n +Class = (\w+)\n((?:(?! +\S+ +Layer: ")[^\n]*\n)*))re");
  std::vector<Listed> found;
  for (auto it = std::sregex_iterator(output.begin(), output.end(), block);
       it != std::sregex_iterator(); ++it)
    found.push_back({(*it)[1], (*it)[2], (*it)[3], (*it)[4], (*it)[5]});
  return found;
}

struct Expected {
  const char* cls;
  const char* type;
  const char* layer;
  const char* color;
  std::vector<std::string> geometry;  // lines the entity's block holds
};

}  // namespace

TEST(WritersList, ShowsEachWrittenEntity) {
  TempDir dir;
  const auto result = RunArxhost(dir, "PLXWRITE\nLIST\nALL\n\n", {"--load", "PlxWriterTest.arx"});
  ASSERT_EQ(result.exitCode, 0) << result.output;
  ASSERT_NE(result.output.find("Written.\n"), std::string::npos) << result.output;
  const std::vector<Listed> listed = ParseList(result.output);
  const std::string origin = "X=    0.0000  Y=    0.0000  Z=    0.0000";
  const std::vector<Expected> expected = {
      {"AcDbPoint",
       "POINT",
       "Points",
       "1 (red)",
       {"at point, X=    1.0000  Y=    2.0000  Z=    3.0000"}},
      {"AcDbLine",
       "LINE",
       "Lines",
       "2 (yellow)",
       {"from point, " + origin, "to point, X=    3.0000  Y=    4.0000  Z=    0.0000"}},
      {"AcDbCircle",
       "CIRCLE",
       "Curves",
       "3 (green)",
       {"center point, X=    5.0000  Y=    5.0000  Z=    0.0000", "radius     2.0000"}},
      {"AcDbArc",
       "ARC",
       "Curves",
       "3 (green)",
       {"center point, X=   10.0000  Y=    0.0000  Z=    0.0000", "radius     1.5000",
        "start angle       90", "end angle      180"}},
      {"AcDb3dPolyline",
       "POLYLINE",
       "Curves",
       "30",
       {"3D polyline: 4 vertices, closed", "at point, X=    0.0000  Y=    1.0000  Z=    1.0000"}},
      {"AcDbSpline",
       "SPLINE",
       "Splines",
       "140",
       {"Degree: 3", "Properties: Non-rational, Open", "Number of control points: 4",
        "Control point 2, X=    1.0000  Y=    2.0000  Z=    0.0000"}},
      {"AcDbSpline",
       "SPLINE",
       "Splines",
       "140",
       {"Number of fit points: 3", "Fit point 2, X=    2.0000  Y=    1.0000  Z=    0.0000"}},
      {"AcDbFace",
       "3DFACE",
       "Faces",
       "5 (blue)",
       {"first point, " + origin, "second point, X=    4.0000  Y=    0.0000  Z=    0.0000",
        "third point, X=    0.0000  Y=    3.0000  Z=    0.0000",
        "fourth point, X=    0.0000  Y=    3.0000  Z=    0.0000"}},
      {"AcDbLine",
       "LINE",
       "Edges",
       "2 (yellow)",
       {"from point, " + origin, "to point, X=    4.0000  Y=    0.0000  Z=    0.0000"}},
      {"AcDbLine",
       "LINE",
       "Edges",
       "2 (yellow)",
       {"from point, " + origin, "to point, X=    0.0000  Y=    3.0000  Z=    0.0000"}},
      {"AcDbLine",
       "LINE",
       "Edges",
       "2 (yellow)",
       {"from point, X=    4.0000  Y=    0.0000  Z=    0.0000",
        "to point, X=    0.0000  Y=    3.0000  Z=    0.0000"}},
      {"AcDbPoint", "POINT", "Corners", "1 (red)", {"at point, " + origin}},
      {"AcDbPoint",
       "POINT",
       "Corners",
       "1 (red)",
       {"at point, X=    4.0000  Y=    0.0000  Z=    0.0000"}},
      {"AcDbPoint",
       "POINT",
       "Corners",
       "1 (red)",
       {"at point, X=    0.0000  Y=    3.0000  Z=    0.0000"}},
      {"AcDbPolyFaceMesh",
       "POLYLINE",
       "Meshes",
       "6 (magenta)",
       {"Polyface mesh: 4 vertices, 2 faces"}},
      {"AcDbSubDMesh",
       "MESH",
       "Meshes",
       "4 (cyan)",
       {"Vertices: 4  Faces: 2  Edges: 5", "Smoothness level: 0"}},
  };
  ASSERT_EQ(listed.size(), expected.size()) << result.output;
  for (size_t i = 0; i < expected.size(); ++i) {
    const Expected& e = expected[i];
    EXPECT_EQ(
        (std::vector<std::string>{listed[i].cls, listed[i].type, listed[i].layer, listed[i].color}),
        (std::vector<std::string>{e.cls, e.type, e.layer, e.color}))
        << "entity " << i;
    for (const std::string& line : e.geometry)
      EXPECT_NE(listed[i].geometry.find(line), std::string::npos)
          << e.cls << " lacks \"" << line << "\" in\n"
          << listed[i].geometry;
  }
}
