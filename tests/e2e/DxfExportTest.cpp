// Real drawings of other programs end to end: arxhost imports a corpus drawing with `_dxfin`
// and exports its 3D faces and meshes with Plovex, as a user would; admesh counts the facets of
// the STL file, which must be the faces the drawing holds (a quad gives two triangles).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <regex>
#include <string>

#include "TestSupport.h"
#include "arxhost/Dxf.h"
#include "arxhost/DxfImport.h"
#include "dbsol3d.h"
#include "dbsymtb.h"

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


// ---------------------------------------------------------------------------------------------
// Solids from their ACIS data

struct SolidDrawing {
  const char* file;
  int solids;  // in model space
};

// The solids of model space after an import into a drawing of its own, and the box around them.
int ModelSpaceSolids(const fs::path& path, std::array<double, 6>& bounds) {
  AcDbDatabase database;
  std::string error;
  EXPECT_TRUE(plx::host::ImportDxfFile(path, database, error)) << error;
  bounds = {1e300, -1e300, 1e300, -1e300, 1e300, -1e300};
  AcDbBlockTableRecord* space = nullptr;
  if (acdbOpenObject(space, database.modelSpaceId(), AcDb::kForRead) != Acad::eOk) return 0;
  AcDbBlockTableRecordIterator* it = nullptr;
  space->newIterator(it);
  int solids = 0;
  for (; !it->done(); it->step()) {
    AcDbEntity* entity = nullptr;
    if (it->getEntity(entity, AcDb::kForRead) != Acad::eOk) continue;
    if (entity->isKindOf(AcDb3dSolid::desc())) {
      ++solids;
      AcDbExtents extents;
      EXPECT_EQ(entity->getGeomExtents(extents), Acad::eOk);
      const AcGePoint3d lo = extents.minPoint(), hi = extents.maxPoint();
      for (int a = 0; a < 3; ++a) {
        bounds[2 * a] = std::min(bounds[2 * a], lo[a]);
        bounds[2 * a + 1] = std::max(bounds[2 * a + 1], hi[a]);
      }
    }
    entity->close();
  }
  delete it;
  space->close();
  return solids;
}

class DxfSolidsExport : public testing::TestWithParam<SolidDrawing> {};

// Each solid comes out as one closed part (admesh finds every edge shared by two facets), and
// the file spans the solids' extents, to the tessellation's chord error.
TEST_P(DxfSolidsExport, EachSolidComesOutAsOneClosedPart) {
  const fs::path source = plx::test::CorpusDir() / GetParam().file;
  std::array<double, 6> bounds{};
  ASSERT_EQ(ModelSpaceSolids(source, bounds), GetParam().solids);

  TempDir dir, temp, config;
  const fs::path target = dir / "solids.stl";
  const std::string script =
      "_dxfin\n" + source.string() + "\nPlovex\nALL\n\n" + target.string() + "\nBinary\n50\nOK\n";
  const ProcessResult run =
      RunArxhost(dir, script, {"--load", "Plovex_VC90x64.arx"},
                 {"TEMP=" + temp.Path().string(), "XDG_CONFIG_HOME=" + config.Path().string()});
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(run.output.find("skipped"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("Successfully exported " + std::to_string(GetParam().solids) +
                            " meshes to a STL file"),
            std::string::npos)
      << run.output;
  ASSERT_TRUE(fs::exists(target)) << run.output;

  const ProcessResult admesh =
      RunProcess({"/usr/bin/admesh", "--exact", "--normal-directions", target.string()});
  ASSERT_EQ(admesh.exitCode, 0) << admesh.output;
  std::smatch m;
  ASSERT_TRUE(std::regex_search(admesh.output, m, std::regex(R"(Number of parts\s*:\s*(\d+))")))
      << admesh.output;
  EXPECT_EQ(std::stoi(m[1]), GetParam().solids) << admesh.output;
  ASSERT_TRUE(std::regex_search(admesh.output, m,
                                std::regex(R"(Total disconnected facets\s*:\s*(\d+))")))
      << admesh.output;
  EXPECT_EQ(std::stoi(m[1]), 0) << admesh.output;
  ASSERT_TRUE(std::regex_search(admesh.output, m, std::regex(R"(Facets reversed\s*:\s*(\d+))")))
      << admesh.output;
  EXPECT_EQ(std::stoi(m[1]), 0) << admesh.output;
  double diagonal = 0;
  for (int a = 0; a < 3; ++a) diagonal += std::pow(bounds[2 * a + 1] - bounds[2 * a], 2);
  diagonal = std::sqrt(diagonal);
  const char* axes[] = {"X", "Y", "Z"};
  for (int a = 0; a < 3; ++a) {
    const std::regex axis(std::string("Min ") + axes[a] + R"( =\s*(\S+), Max )" + axes[a] +
                          R"( =\s*(\S+))");
    ASSERT_TRUE(std::regex_search(admesh.output, m, axis)) << admesh.output;
    EXPECT_NEAR(std::stod(m[1]), bounds[2 * a], 0.01 * diagonal) << axes[a];
    EXPECT_NEAR(std::stod(m[2]), bounds[2 * a + 1], 0.01 * diagonal) << axes[a];
  }
}

INSTANTIATE_TEST_SUITE_P(Corpus, DxfSolidsExport,
                         testing::Values(SolidDrawing{"ezdxf_3dsolids.dxf", 4},
                                         SolidDrawing{"ezdxf_torus_r2010.dxf", 1}),
                         [](const testing::TestParamInfo<SolidDrawing>& info) {
                           std::string name = fs::path(info.param.file).stem().string();
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
