// The host's primitive commands answered by a script, one line a prompt.
#include "DrawingBuilders.h"
#include "ModellerTestSupport.h"
#include "arx.h"
#include "win32/text.h"

namespace plx::modeller {
namespace {

using plx::test::HostSession;
using plx::test::ScriptedInput;
using plx::test::TranscriptCapture;
using testing::ExpectExtents;

// Runs the lines as a script in a fresh session; returns the bodies of the modeller entities
// that model space holds afterwards.
std::vector<Shape> RunScript(const std::vector<std::wstring>& lines) {
  HostSession session;
  {
    ScriptedInput script(lines);
    host::RunCommandLoop();
  }
  std::vector<Shape> made;
  for (const AcDbObjectId& id : plx::test::ModelSpaceIds()) {
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) continue;
    if (auto* solid = AcDbModelerEntity::cast(entity); solid && solid->body())
      made.push_back(*static_cast<const Shape*>(solid->body()));
    entity->close();
  }
  return made;
}

// The prompts appear in this order on the transcript.
void ExpectPromptsInOrder(const std::wstring& text, const std::vector<std::wstring>& prompts) {
  size_t at = 0;
  for (const std::wstring& prompt : prompts) {
    const size_t found = text.find(prompt, at);
    ASSERT_NE(found, std::wstring::npos) << plx::Utf8FromWide(prompt) << " in\n" << plx::Utf8FromWide(text);
    at = found + prompt.size();
  }
}

struct CommandCase {
  const char* name;
  friend void PrintTo(const CommandCase& c, std::ostream* os) { *os << c.name; }
  std::vector<std::wstring> lines;
  std::vector<std::wstring> prompts;
  Point3 min, max;
};

class SolidCommand : public ::testing::TestWithParam<CommandCase> {};

TEST_P(SolidCommand, AsksInOrderAndMakesTheSolid) {
  TranscriptCapture transcript;
  const std::vector<Shape> made = RunScript(GetParam().lines);
  ExpectPromptsInOrder(transcript.Text(), GetParam().prompts);
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(made[0].Kind(), ShapeKind::kSolid);
  ExpectExtents(made[0], GetParam().min, GetParam().max, 2e-7);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, SolidCommand,
    ::testing::Values(
        CommandCase{"Box",
                    {L"BOX", L"1,2,3", L"4,6,8"},
                    {L"Specify first corner: ", L"Specify other corner: "},
                    {1, 2, 3},
                    {4, 6, 8}},
        CommandCase{"BoxRelativeCorner",
                    {L"_box", L"1,2,3", L"@1,1,1"},
                    {L"Specify first corner: ", L"Specify other corner: "},
                    {1, 2, 3},
                    {2, 3, 4}},
        CommandCase{"Sphere", {L"SPHERE", L"5,5,5", L"2"}, {L"Specify center point: ", L"Specify radius: "}, {3, 3, 3}, {7, 7, 7}},
        CommandCase{"Cylinder",
                    {L"CYLINDER", L"0,0,1", L"2", L"3"},
                    {L"Specify center point of base: ", L"Specify base radius: ", L"Specify height: "},
                    {-2, -2, 1},
                    {2, 2, 4}},
        CommandCase{"Cone",
                    {L"CONE", L"0,0,0", L"1", L"-2"},
                    {L"Specify center point of base: ", L"Specify base radius: ", L"Specify height: "},
                    {-1, -1, -2},
                    {1, 1, 0}},
        CommandCase{"Torus",
                    {L"TORUS", L"0,0,0", L"5", L"1"},
                    {L"Specify center point: ", L"Specify radius: ", L"Specify tube radius: "},
                    {-6, -6, -1},
                    {6, 6, 1}},
        CommandCase{"Wedge",
                    {L"WEDGE", L"0,0,0", L"4,2,3"},
                    {L"Specify first corner: ", L"Specify other corner: "},
                    {0, 0, 0},
                    {4, 2, 3}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SolidCommands, RefusedRadiusIsAskedAgain) {
  TranscriptCapture transcript;
  const std::vector<Shape> made = RunScript({L"SPHERE", L"0,0,0", L"0", L"-1", L"abc", L"2"});
  ExpectPromptsInOrder(transcript.Text(), {L"Specify radius: ", L"Specify radius: ", L"Specify radius: ",
                                           L"Specify radius: "});
  ASSERT_EQ(made.size(), 1u);
  ExpectExtents(made[0], {-2, -2, -2}, {2, 2, 2}, 1e-7);
}

TEST(SolidCommands, CancelMakesNothing) {
  for (const std::vector<std::wstring>& lines :
       {std::vector<std::wstring>{L"BOX", L"0,0,0", L"^C"}, {L"CYLINDER", L"0,0,0", L"1"}, {L"TORUS", L"^C"}}) {
    TranscriptCapture transcript;
    EXPECT_TRUE(RunScript(lines).empty());
    EXPECT_NE(transcript.Text().find(L"*Cancel*"), std::wstring::npos);
    EXPECT_EQ(transcript.Text().find(L"created."), std::wstring::npos);
  }
}

TEST(SolidCommands, SizesTheModellerRefusesAreNamed) {
  struct Case {
    std::vector<std::wstring> lines;
    const wchar_t* message;
  };
  const Case cases[] = {
      {{L"BOX", L"0,0,0", L"2,2,0"}, L"The corners must differ in X, Y and Z."},
      {{L"WEDGE", L"0,0,0", L"0,2,2"}, L"The corners must differ in X, Y and Z."},
      {{L"TORUS", L"0,0,0", L"1", L"2"}, L"The tube radius must be less than the torus radius."},
  };
  for (const Case& c : cases) {
    TranscriptCapture transcript;
    EXPECT_TRUE(RunScript(c.lines).empty());
    EXPECT_NE(transcript.Text().find(c.message), std::wstring::npos) << plx::Utf8FromWide(transcript.Text());
  }
}

TEST(SolidCommands, SeveralInOneScript) {
  TranscriptCapture transcript;
  const std::vector<Shape> made =
      RunScript({L"BOX", L"0,0,0", L"1,1,1", L"SPHERE", L"3,3,3", L"1", L"CONE", L"0,0,0", L"1", L"1"});
  ASSERT_EQ(made.size(), 3u);
  ExpectExtents(made[1], {2, 2, 2}, {4, 4, 4}, 1e-7);
}

}  // namespace
}  // namespace plx::modeller
