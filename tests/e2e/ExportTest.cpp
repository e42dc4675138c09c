// The Plovex command in the real host program: drawings built with the host's commands, the
// objects selected, the file named and the options answered on the command line, as a user
// would; the STL file then read back by admesh and assimp.
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>

#include <array>
#include <assimp/Importer.hpp>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace fs = std::filesystem;
using plx::test::ProcessResult;
using plx::test::ReadFile;
using plx::test::RunArxhost;
using plx::test::RunProcess;
using plx::test::TempDir;

namespace {

// Layers and colours: a quad face red by layer, a triangle face in a true colour, a polyface
// mesh (one quad, one triangle) green, a 3 x 4 polygon mesh closed in M by PEDIT, an open
// 2 x 3 one, and a box in positive space in blue.
const char* kFlatDrawing = R"(-LAYER
Make
Red
Color
1
Red

3DFACE
0,0,0
4,0,0
4,3,0
0,3,0

COLOR
T
10,20,30
3DFACE
0,0,1
4,0,1
4,3,1


COLOR
3
PFACE
0,0,2
2,0,2
2,2,2
0,2,3
3,3,3

1
2
3
4

-1
4
5


COLOR
BYLAYER
3DMESH
3
4
0,5,0
1,5,0
2,5,0
3,5,0
0,6,1
1,6,1
2,6,1
3,6,1
0,7,0
1,7,0
2,7,0
3,7,0
PEDIT
L
Mclose

3DMESH
2
3
0,9,0
1,9,0
2,9,0
0,10,0
1,10,1
2,10,0
COLOR
5
BOX
10,10,0
12,13,2
)";

// Triangles of the flat drawing: 2 + 1 + (2 + 1) + 9 * 2 + 2 * 2 + 12.
constexpr unsigned kFlatTriangles = 40;

const char* kNegativeSphere = "COLOR\n6\nSPHERE\n-5,-4,-3\n2\n";

struct Stl {
  std::string header;
  std::vector<std::array<float, 9>> facets;
  std::vector<uint16_t> attributes;
};

// Our own reading of a binary STL file: the attribute words that no reader here hands on.
Stl ReadBinaryStl(const fs::path& path) {
  const std::string data = ReadFile(path);
  Stl stl;
  if (data.size() < 84) return stl;
  stl.header = data.substr(0, 80);
  uint32_t count = 0;
  std::memcpy(&count, data.data() + 80, 4);
  EXPECT_EQ(data.size(), 84 + 50ull * count);
  for (uint32_t i = 0; i < count && 84 + 50ull * (i + 1) <= data.size(); ++i) {
    const char* facet = data.data() + 84 + 50ull * i;
    std::array<float, 9> corners;
    std::memcpy(corners.data(), facet + 12, 36);
    uint16_t attribute;
    std::memcpy(&attribute, facet + 48, 2);
    stl.facets.push_back(corners);
    stl.attributes.push_back(attribute);
  }
  return stl;
}

// The VisCAM/SolidView attribute word of a colour.
uint16_t ColourWord(int red, int green, int blue) {
  return static_cast<uint16_t>(0x8000 | (red >> 3) << 10 | (green >> 3) << 5 | (blue >> 3));
}

struct AdmeshReport {
  unsigned facets = 0;
  std::array<double, 6> bounds{};  // min x, max x, min y, max y, min z, max z
  double volume = 0;
  int parts = 0;
  int reversed = -1, disconnected = -1;
  std::string output;
};

// admesh checks for exactly matching edges and facet directions (which count the parts) and
// fills or removes nothing, so that its figures are those of the file as written.
AdmeshReport Admesh(const fs::path& path) {
  const ProcessResult run =
      RunProcess({"/usr/bin/admesh", "--exact", "--normal-directions", path.string()});
  AdmeshReport report;
  report.output = run.output;
  EXPECT_EQ(run.exitCode, 0) << run.output;
  std::smatch m;
  if (std::regex_search(run.output, m, std::regex(R"(Number of facets\s*:\s*(\d+))")))
    report.facets = std::stoul(m[1]);
  const char* axes[] = {"X", "Y", "Z"};
  for (int a = 0; a < 3; ++a) {
    const std::regex bounds(std::string("Min ") + axes[a] + R"( =\s*(\S+), Max )" + axes[a] +
                            R"( =\s*(\S+))");
    if (std::regex_search(run.output, m, bounds)) {
      report.bounds[2 * a] = std::stod(m[1]);
      report.bounds[2 * a + 1] = std::stod(m[2]);
    }
  }
  if (std::regex_search(run.output, m, std::regex(R"(Number of parts\s*:\s*(\d+))")))
    report.parts = std::stoi(m[1]);
  if (std::regex_search(run.output, m, std::regex(R"(Volume\s*:\s*(\S+))")))
    report.volume = std::stod(m[1]);
  if (std::regex_search(run.output, m, std::regex(R"(Facets reversed\s*:\s*(\d+))")))
    report.reversed = std::stoi(m[1]);
  if (std::regex_search(run.output, m, std::regex(R"(Total disconnected facets\s*:\s*(\d+))")))
    report.disconnected = std::stoi(m[1]);
  return report;
}

struct AssimpReport {
  bool read = false;
  std::string error;
  unsigned meshes = 0, triangles = 0;
  std::array<double, 6> bounds{1e300, -1e300, 1e300, -1e300, 1e300, -1e300};
  bool hasColours = false;
  std::vector<uint16_t> faceColours;  // the colour of each face's first corner, as a VisCAM word
};

AssimpReport ReadWithAssimp(const fs::path& path) {
  Assimp::Importer importer;
  const aiScene* scene = importer.ReadFile(path.string(), 0);
  AssimpReport report;
  if (!scene) {
    report.error = importer.GetErrorString();
    return report;
  }
  report.read = true;
  report.meshes = scene->mNumMeshes;
  for (unsigned i = 0; i < scene->mNumMeshes; ++i) {
    const aiMesh* mesh = scene->mMeshes[i];
    for (unsigned f = 0; f < mesh->mNumFaces; ++f)
      report.triangles += mesh->mFaces[f].mNumIndices == 3 ? 1 : 0;
    for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
      const aiVector3D& p = mesh->mVertices[v];
      const double xyz[3] = {p.x, p.y, p.z};
      for (int a = 0; a < 3; ++a) {
        report.bounds[2 * a] = std::min(report.bounds[2 * a], xyz[a]);
        report.bounds[2 * a + 1] = std::max(report.bounds[2 * a + 1], xyz[a]);
      }
    }
    report.hasColours = report.hasColours || mesh->HasVertexColors(0);
    if (!mesh->HasVertexColors(0)) continue;
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
      const aiColor4D& c = mesh->mColors[0][mesh->mFaces[f].mIndices[0]];
      const auto five = [](float v) { return static_cast<int>(std::lround(v * 31)); };
      report.faceColours.push_back(
          static_cast<uint16_t>(0x8000 | five(c.r) << 10 | five(c.g) << 5 | five(c.b)));
    }
  }
  return report;
}

void ExpectBounds(const std::array<double, 6>& found, const std::array<double, 6>& expected,
                  double tolerance, const std::string& what) {
  for (int i = 0; i < 6; ++i)
    EXPECT_NEAR(found[i], expected[i], tolerance) << what << " bound " << i;
}

class Export : public ::testing::Test {
 protected:
  // The drawing, then the Plovex command with every answer, then what follows.
  ProcessResult Run(const std::string& drawing, const std::string& answers,
                    const std::string& after = "") {
    return RunArxhost(
        dir_, drawing + "Plovex\n" + answers + after, {"--load", "Plovex_VC90x64.arx"},
        {"TEMP=" + temp_.Path().string(), "XDG_CONFIG_HOME=" + config_.Path().string()});
  }
  static std::string Answers(const fs::path& target, const char* type, int resolution) {
    return "ALL\n\n" + target.string() + "\n" + type + "\n" + std::to_string(resolution) + "\nOK\n";
  }
  fs::path Target(const char* name = "out.stl") const { return dir_ / name; }

  TempDir dir_, temp_, config_;
};

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

TEST_F(Export, FlatDrawingInBinaryReadsBackWithItsColours) {
  const ProcessResult run = Run(kFlatDrawing, Answers(Target(), "Binary", 50));
  ASSERT_EQ(run.exitCode, 0) << run.output;
  ASSERT_TRUE(Has(run.output, "Successfully exported 6 meshes to a STL file\n")) << run.output;

  const Stl stl = ReadBinaryStl(Target());
  ASSERT_EQ(stl.facets.size(), kFlatTriangles);
  EXPECT_NE(stl.header.rfind("solid", 0), 0u);
  // In drawing order: red quad, true-colour triangle, green polyface, two meshes by layer
  // (red), blue box.
  std::vector<uint16_t> expected;
  auto add = [&](unsigned count, uint16_t word) { expected.insert(expected.end(), count, word); };
  add(2, ColourWord(255, 0, 0));
  add(1, ColourWord(10, 20, 30));
  add(3, ColourWord(0, 255, 0));
  add(18 + 4, ColourWord(255, 0, 0));
  add(12, ColourWord(0, 0, 255));
  EXPECT_EQ(stl.attributes, expected);

  const AdmeshReport admesh = Admesh(Target());
  EXPECT_EQ(admesh.facets, kFlatTriangles) << admesh.output;
  ExpectBounds(admesh.bounds, {0, 12, 0, 13, 0, 3}, 1e-4, "admesh");

  const AssimpReport assimp = ReadWithAssimp(Target());
  ASSERT_TRUE(assimp.read) << assimp.error;
  EXPECT_EQ(assimp.triangles, kFlatTriangles);
  ExpectBounds(assimp.bounds, {0, 12, 0, 13, 0, 3}, 1e-4, "assimp");
  ASSERT_TRUE(assimp.hasColours);
  EXPECT_EQ(assimp.faceColours, expected);
}

TEST_F(Export, AsciiFileIsOneSolidForEveryReader) {
  const ProcessResult run = Run(kFlatDrawing, Answers(Target(), "ASCII", 50));
  ASSERT_TRUE(Has(run.output, "Successfully exported 6 meshes to a STL file\n")) << run.output;
  const std::string text = ReadFile(Target());
  EXPECT_EQ(text.rfind("solid", 0), 0u);
  size_t solids = 0;
  for (size_t at = 0; (at = text.find("endsolid", at)) != std::string::npos; ++at) ++solids;
  EXPECT_EQ(solids, 1u);

  const AdmeshReport admesh = Admesh(Target());
  EXPECT_TRUE(Has(admesh.output, "ASCII")) << admesh.output;
  EXPECT_EQ(admesh.facets, kFlatTriangles) << admesh.output;
  ExpectBounds(admesh.bounds, {0, 12, 0, 13, 0, 3}, 1e-4, "admesh");
  const AssimpReport assimp = ReadWithAssimp(Target());
  ASSERT_TRUE(assimp.read) << assimp.error;
  EXPECT_EQ(assimp.meshes, 1u);
  EXPECT_EQ(assimp.triangles, kFlatTriangles);
  ExpectBounds(assimp.bounds, {0, 12, 0, 13, 0, 3}, 1e-4, "assimp");
}

// The sphere lies below zero in every coordinate: it comes out where it lies, as one closed
// part of the sphere's volume, and the drawing keeps no copy of it.
TEST_F(Export, SolidBelowZeroComesOutWhereItLiesAndLeavesNothingBehind) {
  const std::string drawing = std::string("SETVAR\nFACETRES\n0.8\n") + kNegativeSphere;
  const ProcessResult run =
      Run(drawing, Answers(Target(), "Binary", 100), "GETVAR\nFACETRES\nLIST\nALL\n\n");
  ASSERT_TRUE(Has(run.output, "Successfully exported 1 meshes to a STL file\n")) << run.output;
  EXPECT_TRUE(Has(run.output, "FACETRES = 0.8")) << run.output;
  EXPECT_TRUE(Has(run.output, "Select objects: ALL\n1 found\n")) << run.output;
  EXPECT_EQ(run.output.find("Class = AcDb3dSolid"), run.output.rfind("Class = AcDb3dSolid"))
      << run.output;
  EXPECT_FALSE(fs::exists(temp_ / "TVKTemp.stl"));
  EXPECT_TRUE(fs::is_empty(temp_.Path()));

  const AdmeshReport admesh = Admesh(Target());
  ExpectBounds(admesh.bounds, {-7, -3, -6, -2, -5, -1}, 0.01, "admesh");
  EXPECT_EQ(admesh.parts, 1) << admesh.output;
  EXPECT_EQ(admesh.disconnected, 0) << admesh.output;
  EXPECT_EQ(admesh.reversed, 0) << admesh.output;
  EXPECT_NEAR(admesh.volume, 4.0 / 3.0 * 3.14159265 * 8, 0.05 * 33.5) << admesh.output;
  const AssimpReport assimp = ReadWithAssimp(Target());
  ASSERT_TRUE(assimp.read) << assimp.error;
  EXPECT_EQ(assimp.triangles, admesh.facets);
  ExpectBounds(assimp.bounds, {-7, -3, -6, -2, -5, -1}, 0.01, "assimp");
  const Stl stl = ReadBinaryStl(Target());
  ASSERT_FALSE(stl.attributes.empty());
  EXPECT_EQ(stl.attributes.front(), ColourWord(255, 0, 255));
}

// A second export of the same drawing after the first finds the same single object.
TEST_F(Export, SecondExportFindsTheSameObjects) {
  const std::string first = Answers(Target("a.stl"), "Binary", 0);
  const ProcessResult run = Run(std::string(kFlatDrawing) + kNegativeSphere, first,
                                "Plovex\n" + Answers(Target("b.stl"), "Binary", 0));
  size_t successes = 0;
  for (size_t at = 0;
       (at = run.output.find("Successfully exported 7 meshes", at)) != std::string::npos; ++at)
    ++successes;
  EXPECT_EQ(successes, 2u) << run.output;
  EXPECT_EQ(ReadFile(Target("a.stl")), ReadFile(Target("b.stl")));
}

// Higher resolution gives more triangles for the sphere, and its triangles add to the rest.
TEST_F(Export, ResolutionRefinesOnlyCurvedSolids) {
  std::map<int, unsigned> sphere, all;
  for (const int resolution : {0, 100}) {
    const fs::path alone = Target(("sphere" + std::to_string(resolution) + ".stl").c_str());
    const fs::path whole = Target(("all" + std::to_string(resolution) + ".stl").c_str());
    Run(kNegativeSphere, Answers(alone, "Binary", resolution));
    Run(std::string(kFlatDrawing) + kNegativeSphere, Answers(whole, "Binary", resolution));
    sphere[resolution] = Admesh(alone).facets;
    all[resolution] = Admesh(whole).facets;
    EXPECT_EQ(ReadWithAssimp(whole).triangles, all[resolution]);
  }
  EXPECT_GT(sphere[0], 0u);
  EXPECT_GT(sphere[100], 10 * sphere[0]);
  for (const int resolution : {0, 100})
    EXPECT_EQ(all[resolution], kFlatTriangles + sphere[resolution]) << resolution;
}

struct CancelCase {
  const char* name;
  const char* answers;  // {target} stands for the file name
  const char* message;
  bool optionsShown;
  friend void PrintTo(const CancelCase& c, std::ostream* os) { *os << c.name; }
};

class ExportCancel : public Export, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(ExportCancel, PrintsItsMessageAndWritesNothing) {
  std::string answers = GetParam().answers;
  const size_t at = answers.find("{target}");
  if (at != std::string::npos) answers.replace(at, 8, Target().string());
  // The script ends inside the command where no line is given: that is a cancel.
  const ProcessResult run = Run("3DFACE\n0,0,0\n1,0,0\n1,1,0\n\n\n", answers);
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_TRUE(Has(run.output, GetParam().message)) << run.output;
  EXPECT_EQ(Has(run.output, "[Plovex for AutoCAD Options]"), GetParam().optionsShown) << run.output;
  EXPECT_FALSE(Has(run.output, "Successfully")) << run.output;
  EXPECT_FALSE(fs::exists(Target()));
  EXPECT_FALSE(fs::exists(config_ / "plovex" / "registry.reg"));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ExportCancel,
    ::testing::Values(
        CancelCase{"selection", "", "Failure [No entities selected]\n", false},
        CancelCase{"selection_escape", "ALL\n^C\n", "Failure [No entities selected]\n", false},
        CancelCase{"save_as", "ALL\n\n", "Failure [Command cancelled]\n", false},
        CancelCase{"options", "ALL\n\n{target}\nBinary\n", "Failure [Command cancelled]\n", true},
        CancelCase{"options_cancel_button", "ALL\n\n{target}\nBinary\n30\nCancel\n",
                   "Failure [Command cancelled]\n", true}));

TEST_F(Export, LinesOnlyGiveAnEmptyFile) {
  const ProcessResult run =
      Run("LINE\n0,0,0\n1,1,1\n\nCIRCLE\n0,0,0\n3\n", Answers(Target(), "Binary", 50));
  EXPECT_TRUE(Has(run.output, "[Plovex for AutoCAD Options]")) << run.output;
  EXPECT_TRUE(Has(run.output, "Successfully exported 0 meshes to a STL file\n")) << run.output;
  EXPECT_EQ(fs::file_size(Target()), 84u);
}

// A stored type that no radio button stands for leaves the dialog with none checked (-1); the
// writer refuses it, and the old file is left as it was.
TEST_F(Export, WriterFailureShowsAMessageBoxAndKeepsTheOldFile) {
  fs::create_directories(config_ / "plovex");
  plx::test::WriteFile(config_ / "plovex" / "registry.reg",
                       "Windows Registry Editor Version 5.00\n\n"
                       "[HKEY_CURRENT_USER\\Software\\TALVEK\\Plovex for AutoCAD]\n"
                       "\"Type\"=dword:00000007\n\"Resolution\"=dword:00000032\n");
  plx::test::WriteFile(Target(), "the old file");
  const ProcessResult run =
      Run("3DFACE\n0,0,0\n1,0,0\n1,1,0\n\n\n", "ALL\n\n" + Target().string() + "\nYes\n\n\nOK\n");
  const std::regex box(R"(\[Plovex for AutoCAD 2012 version 1\.0\] [^\n]+\n)");
  EXPECT_TRUE(std::regex_search(run.output, box)) << run.output;
  EXPECT_FALSE(Has(run.output, "Failure [")) << run.output;
  EXPECT_FALSE(Has(run.output, "Successfully")) << run.output;
  EXPECT_EQ(ReadFile(Target()), "the old file");
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_.Path())) ++files;
  EXPECT_EQ(files, 2u);  // the old file and the script: no half-written file beside them
}

TEST_F(Export, ExistingFileIsReplacedByTheCompleteNewOne) {
  plx::test::WriteFile(Target(), std::string(5000, 'x'));
  const ProcessResult run =
      Run(kFlatDrawing, "ALL\n\n" + Target().string() + "\nYes\nBinary\n50\nOK\n");
  ASSERT_TRUE(Has(run.output, "Successfully exported 6 meshes")) << run.output;
  EXPECT_EQ(fs::file_size(Target()), 84u + 50u * kFlatTriangles);
  EXPECT_EQ(Admesh(Target()).facets, kFlatTriangles);
}

TEST_F(Export, DecliningTheOverwriteAsksForAnotherName) {
  plx::test::WriteFile(Target(), "keep me");
  const ProcessResult run =
      Run(kFlatDrawing, "ALL\n\n" + Target().string() + "\nNo\n" + Target("other.stl").string() +
                            "\nBinary\n50\nOK\n");
  ASSERT_TRUE(Has(run.output, "Successfully exported 6 meshes")) << run.output;
  EXPECT_EQ(ReadFile(Target()), "keep me");
  EXPECT_EQ(Admesh(Target("other.stl")).facets, kFlatTriangles);
}

// The host refuses to overwrite a read-only file: after "Replace it?" is answered Yes, the
// writer's message shows in the box, and the file keeps its bytes and its mode.
TEST_F(Export, ReadOnlyFileIsRefusedAndKept) {
  plx::test::WriteFile(Target(), "the old file");
  fs::permissions(Target(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const ProcessResult run =
      Run("3DFACE\n0,0,0\n1,0,0\n1,1,0\n\n\n", "ALL\n\n" + Target().string() + "\nYes\nBinary\n50\nOK\n");
  EXPECT_TRUE(Has(run.output, "already exists. Replace it? [Yes/No] <No>: Yes\n")) << run.output;
  EXPECT_TRUE(Has(run.output, "[Plovex for AutoCAD 2012 version 1.0] Unable to replace file " + Target().string() +
                                  ": it is read-only\n"))
      << run.output;
  EXPECT_FALSE(Has(run.output, "Successfully")) << run.output;
  EXPECT_EQ(ReadFile(Target()), "the old file");
  EXPECT_EQ(fs::status(Target()).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_.Path())) ++files;
  EXPECT_EQ(files, 2u);  // the old file and the script
}

// 'Plovex inside another command: at 3DFACE's point prompt and at ERASE's selection prompt it
// exports what the drawing holds then, and the interrupted command goes on where it stood. A
// command that is not transparent is refused there.
TEST_F(Export, TransparentlyInsideAnotherCommand) {
  const auto answers = [](const fs::path& target) {
    return "ALL\n\n" + target.string() + "\nBinary\n50\nOK\n";
  };
  const std::string script = "3DFACE\n0,0,0\n4,0,0\n4,3,0\n0,3,0\n\n"
                             "3DFACE\n'Plovex\n" + answers(Target("first.stl")) + "0,0,5\n1,0,5\n1,1,5\n\n\n"
                             "ERASE\n'_Plovex\n" + answers(Target("second.stl")) + "'ERASE\nALL\n\n"
                             "Plovex\nALL\n\n";
  const ProcessResult run = RunArxhost(dir_, script, {"--load", "Plovex_VC90x64.arx"},
                                       {"TEMP=" + temp_.Path().string(), "XDG_CONFIG_HOME=" + config_.Path().string()});
  EXPECT_TRUE(Has(run.output, "Specify first point or [Invisible]: 'Plovex\n>>Select objects: ALL\n")) << run.output;
  EXPECT_TRUE(Has(run.output, "Successfully exported 1 meshes to a STL file\nResuming 3DFACE command.\n"
                              "Specify first point or [Invisible]: 0,0,5\n"))
      << run.output;
  EXPECT_TRUE(Has(run.output, "Select objects: '_Plovex\n>>Select objects: ALL\n2 found\n")) << run.output;
  EXPECT_TRUE(Has(run.output, "Successfully exported 2 meshes to a STL file\nResuming ERASE command.\n"
                              "Select objects: 'ERASE\n** That command may not be invoked transparently **\n"
                              "Select objects: ALL\n2 found\n"))
      << run.output;
  // ERASE took both faces: nothing is left to export.
  EXPECT_TRUE(Has(run.output, "Failure [No entities selected]\n")) << run.output;
  // Files this small are taken for ASCII by admesh; assimp reads them.
  EXPECT_EQ(fs::file_size(Target("first.stl")), 84u + 50u * 2u);
  EXPECT_EQ(ReadWithAssimp(Target("first.stl")).triangles, 2u);
  EXPECT_EQ(ReadWithAssimp(Target("second.stl")).triangles, 3u);
}

// A name of 252 bytes (124 two-byte letters), within the dialog's 260 characters and the file
// system's 255 bytes: the file is written beside it through a temporary of a short name.
TEST_F(Export, LongNameOfMultibyteLettersIsWritten) {
  std::string name;
  for (int i = 0; i < 124; ++i) name += "\xc3\xa9";
  name += ".stl";
  ASSERT_EQ(name.size(), 252u);
  const ProcessResult run = Run("3DFACE\n0,0,0\n1,0,0\n1,1,0\n\n\n", Answers(Target(name.c_str()), "Binary", 50));
  EXPECT_TRUE(Has(run.output, "Successfully exported 1 meshes to a STL file\n")) << run.output;
  EXPECT_EQ(fs::file_size(Target(name.c_str())), 84u + 50u);
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_.Path())) ++files;
  EXPECT_EQ(files, 2u);  // the file and the script
}
