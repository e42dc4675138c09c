// Real drawings of other programs end to end: arxhost imports a corpus drawing with `_dxfin`
// and exports its 3D faces and meshes with Plovex, as a user would; admesh counts the facets of
// the STL file, which must be the faces the drawing holds (a quad gives two triangles).
#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <string>

#include "TestSupport.h"
#include "arxhost/Dxf.h"

namespace fs = std::filesystem;
using plx::test::ProcessResult;
using plx::test::RunArxhost;
using plx::test::RunProcess;
using plx::test::TempDir;

namespace {

// The triangles of the model space faces and polyface meshes of a file, counted from the
// reader's model: a four-cornered face or record is two, a three-cornered one is one.
unsigned TrianglesOf(const fs::path& path, unsigned& objects) {
  std::string error;
  const auto drawing = plx::dxf::ReadDxfFile(path, error);
  EXPECT_TRUE(drawing) << error;
  unsigned triangles = 0;
  objects = 0;
  if (!drawing) return 0;
  for (const plx::dxf::Entity& e : drawing->entities) {
    if (e.paperSpace) continue;
    if (const auto* face = std::get_if<plx::dxf::CornerData>(&e.data);
        face && e.kind == plx::dxf::EntityKind::kFace) {
      triangles += face->corners[3] == face->corners[2] ? 1 : 2;
      ++objects;
    }
    if (const auto* p = std::get_if<plx::dxf::PolylineData>(&e.data);
        p && p->kind == plx::dxf::PolylineKind::kPolyface) {
      for (const auto& f : p->faces) {
        int corners = 0;
        for (int index : f.indices) corners += index != 0;
        triangles += corners == 4 ? 2 : corners == 3 ? 1 : 0;
      }
      ++objects;
    }
  }
  return triangles;
}

unsigned AdmeshFacets(const fs::path& path, std::string& output) {
  const ProcessResult run = RunProcess({"/usr/bin/admesh", "--exact", path.string()});
  output = run.output;
  EXPECT_EQ(run.exitCode, 0) << run.output;
  std::smatch m;
  if (std::regex_search(run.output, m, std::regex(R"(Number of facets\s*:\s*(\d+))")))
    return std::stoul(m[1]);
  return 0;
}

class DxfExport : public testing::TestWithParam<const char*> {};

TEST_P(DxfExport, ImportedFacesComeOutAsTheirTriangles) {
  const fs::path source = plx::test::CorpusDir() / GetParam();
  unsigned objects = 0;
  const unsigned triangles = TrianglesOf(source, objects);
  ASSERT_GT(triangles, 0u);

  TempDir dir, temp, config;
  const fs::path target = dir / "out.stl";
  const std::string script =
      "_dxfin\n" + source.string() + "\nPlovex\nALL\n\n" + target.string() + "\nBinary\n50\nOK\n";
  const ProcessResult run =
      RunArxhost(dir, script, {"--load", "Plovex_VC90x64.arx"},
                 {"TEMP=" + temp.Path().string(), "XDG_CONFIG_HOME=" + config.Path().string()});
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(
      run.output.find("Successfully exported " + std::to_string(objects) + " meshes to a STL file"),
      std::string::npos)
      << run.output;
  ASSERT_TRUE(fs::exists(target)) << run.output;

  std::string output;
  EXPECT_EQ(AdmeshFacets(target, output), triangles) << output;
  // The file's own count agrees with its size.
  const std::string data = plx::test::ReadFile(target);
  ASSERT_GE(data.size(), 84u);
  uint32_t count = 0;
  std::memcpy(&count, data.data() + 80, 4);
  EXPECT_EQ(count, triangles);
  EXPECT_EQ(data.size(), 84 + 50ull * count);
}

INSTANTIATE_TEST_SUITE_P(Corpus, DxfExport,
                         testing::Values("ezdxf_3dface.dxf", "assimp_PinkEggFromLW.dxf",
                                         "assimp_issue_2229.dxf"),
                         [](const testing::TestParamInfo<const char*>& info) {
                           std::string name = fs::path(info.param).stem().string();
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
