// arxhost -b builds a drawing of faces, lines and meshes on several layers with the host's
// commands; LIST shows each entity's handle, class, layer and colour as built, and the
// handles name the entities again in a later run.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "TestSupport.h"

using plx::test::RunArxhost;
using plx::test::TempDir;

namespace {

const char* kBuild = R"(-LAYER
Make
Walls
Color
1
Walls
Make
Roof
Color
T
10,20,30
Roof
Set
Walls

3DFACE
0,0,0
1,0,0
1,1,0
0,1,0

COLOR
3
LINE
0,0,0
2,0,0

LAYER
Set
Roof

COLOR
BYLAYER
PFACE
0,0,0
1,0,0
1,1,0
0,1,1

1
2
3
-4


3DMESH
2
3
0,0,0
1,0,0
2,0,0
0,1,0
1,1,1
2,1,0
PEDIT
L
Mclose

LAYER
Make
Floor

COLOR
T
200,100,50
3DFACE
5,5,0
6,5,0
6,6,0


)";

struct Listed {
  std::string type, layer, color, handle, cls;
};

std::vector<Listed> ParseList(const std::string& output) {
  static const std::regex block(
      R"re( +(\S+) +Layer: "([^"]*)"\n +Space: Model space\n +Color: (.+?)    Linetype: "BYLAYER"\n +Handle = ([0-9a-f]+)\n +Class = (\w+)\n)re");
  std::vector<Listed> found;
  for (auto it = std::sregex_iterator(output.begin(), output.end(), block); it != std::sregex_iterator(); ++it)
    found.push_back({(*it)[1], (*it)[2], (*it)[3], (*it)[4], (*it)[5]});
  return found;
}

}  // namespace

TEST(DrawingList, ShowsEveryEntityAsBuilt) {
  TempDir dir;
  const auto result = RunArxhost(dir, std::string(kBuild) + "LIST\nALL\n\n");
  ASSERT_EQ(result.exitCode, 0) << result.output;
  EXPECT_NE(result.output.find("Select objects: ALL\n5 found\n"), std::string::npos) << result.output;
  const std::vector<Listed> listed = ParseList(result.output);
  ASSERT_EQ(listed.size(), 5u) << result.output;
  const std::vector<std::vector<std::string>> expected = {
      {"3DFACE", "Walls", "BYLAYER", "AcDbFace"},
      {"LINE", "Walls", "3 (green)", "AcDbLine"},
      {"POLYLINE", "Roof", "BYLAYER", "AcDbPolyFaceMesh"},
      {"POLYLINE", "Roof", "BYLAYER", "AcDbPolygonMesh"},
      {"3DFACE", "Floor", "200,100,50", "AcDbFace"}};
  for (size_t i = 0; i < listed.size(); ++i) {
    EXPECT_EQ((std::vector<std::string>{listed[i].type, listed[i].layer, listed[i].color, listed[i].cls}), expected[i])
        << "entity " << i;
    for (size_t j = 0; j < i; ++j) EXPECT_NE(listed[i].handle, listed[j].handle);
  }
  EXPECT_NE(result.output.find("Polyface mesh: 4 vertices, 1 faces"), std::string::npos);
  EXPECT_NE(result.output.find("Polygon mesh: M=2 N=3, closed in M, open in N"), std::string::npos);
}

TEST(DrawingList, HandlesNameTheSameEntitiesInEveryRun) {
  TempDir dir;
  const auto first = ParseList(RunArxhost(dir, std::string(kBuild) + "LIST\nALL\n\n").output);
  ASSERT_EQ(first.size(), 5u);
  const auto result = RunArxhost(dir, std::string(kBuild) + "ERASE\n" + first[1].handle + "\n\nLIST\n" +
                                            first[3].handle + "\nALL\nR\n" + first[0].handle + "\n\n");
  const std::vector<Listed> listed = ParseList(result.output);
  ASSERT_EQ(listed.size(), 3u) << result.output;
  EXPECT_EQ(listed[0].cls, "AcDbPolygonMesh");  // in selection order; the erased line is gone
  EXPECT_EQ(listed[1].cls, "AcDbPolyFaceMesh");
  EXPECT_EQ(listed[2].handle, first[4].handle);
  EXPECT_NE(result.output.find("1 found\nSelect objects: ALL\n4 found (1 duplicate), 4 total\n"), std::string::npos)
      << result.output;
}

TEST(DrawingList, CancelledSelectionListsNothing) {
  TempDir dir;
  const auto result = RunArxhost(dir, std::string(kBuild) + "LIST\nALL\n");  // the script ends inside the selection
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_TRUE(ParseList(result.output).empty());
  EXPECT_NE(result.output.find("*Cancel*"), std::string::npos);
}
