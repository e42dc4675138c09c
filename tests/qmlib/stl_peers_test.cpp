// Our STL files as other readers see them: admesh (the Debian command) and assimp (the
// library), on the same files, for facet counts, bounds, closed surfaces and colours.
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>

#include <assimp/Importer.hpp>
#include <cstdio>
#include <map>
#include <regex>
#include <string>

#include "QMLib.h"
#include "support/temp_folder.h"
#include "support/test_meshes.h"

using qmtest::PathOf;
using qmtest::TempFolder;

namespace {

// Box (0,0,0)-(2,3,4) in red, a sphere around (10, 0, 0) of radius 1 in (40, 72, 200), whose
// five-bit channels are 5, 9, 25, and a tetrahedron without colour.
ON_ClassArray<ON_Mesh> Scene() {
  ON_ClassArray<ON_Mesh> meshes;
  meshes.Append(qmtest::Box(ON_3dPoint(0, 0, 0), ON_3dPoint(2, 3, 4), ON_Color(255, 0, 0)));
  meshes.Append(qmtest::Sphere(ON_3dPoint(10, 0, 0), 1, 12, 16));
  meshes[1].m_C.Append(ON_Color(40, 72, 200));
  meshes.Append(qmtest::Tetrahedron(ON_3dPoint(-3, -1, -2), 1));
  return meshes;
}

struct AdmeshReport {
  int exitCode = -1;
  std::string text;
  std::map<std::string, double> values;
};

AdmeshReport RunAdmesh(const std::string& path) {
  AdmeshReport report;
  const std::string command = "admesh --exact --normal-directions '" + path + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return report;
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) report.text.append(buffer, n);
  report.exitCode = pclose(pipe);
  const std::regex bound(R"(Min ([XYZ]) = *(-?[0-9.]+), Max [XYZ] = *(-?[0-9.]+))");
  for (std::sregex_iterator it(report.text.begin(), report.text.end(), bound), end; it != end; ++it) {
    report.values["min" + (*it)[1].str()] = std::stod((*it)[2].str());
    report.values["max" + (*it)[1].str()] = std::stod((*it)[3].str());
  }
  std::smatch m;
  if (std::regex_search(report.text, m, std::regex(R"(Number of facets *: *([0-9]+))")))
    report.values["facets"] = std::stod(m[1].str());
  if (std::regex_search(report.text, m, std::regex(R"(Total disconnected facets *: *([0-9]+))")))
    report.values["disconnected"] = std::stod(m[1].str());
  for (const char* key : {"Number of parts", "Facets reversed", "Backwards edges", "Volume"}) {
    if (std::regex_search(report.text, m, std::regex(std::string(key) + R"( *: *(-?[0-9.]+))")))
      report.values[key] = std::stod(m[1].str());
  }
  return report;
}

}  // namespace

class StlPeers : public testing::TestWithParam<int> {};

TEST_P(StlPeers, AdmeshReadsCountsBoundsAndClosedParts) {
  TempFolder folder;
  const auto path = folder / "scene.stl";
  const ON_ClassArray<ON_Mesh> meshes = Scene();
  ASSERT_EQ(QMSTL::MeshToSTL(meshes, PathOf(path.string()), GetParam()), 1) << QMSTL::GetError().GetString();
  const AdmeshReport report = RunAdmesh(path.string());
  ASSERT_EQ(report.exitCode, 0) << report.text;
  EXPECT_NE(report.text.find(GetParam() ? "Binary STL file" : "ASCII STL file"), std::string::npos) << report.text;
  EXPECT_EQ(report.values.at("facets"), qmtest::FacetCount(meshes)) << report.text;
  EXPECT_EQ(report.values.at("Number of parts"), 3) << report.text;
  EXPECT_EQ(report.values.at("disconnected"), 0) << report.text;  // every quad split shares its edges
  EXPECT_EQ(report.values.at("Facets reversed"), 0) << report.text;  // consistently oriented
  EXPECT_EQ(report.values.at("Backwards edges"), 0) << report.text;
  // Box 24, tetrahedron 1/6, the 12 x 16 sphere a little under 4/3 pi: positive, so outward.
  EXPECT_GT(report.values.at("Volume"), 24 + 1.0 / 6 + 3.9) << report.text;
  EXPECT_LT(report.values.at("Volume"), 24 + 1.0 / 6 + 4.0 / 3 * 3.14159265) << report.text;
  EXPECT_DOUBLE_EQ(report.values.at("minX"), -3);
  EXPECT_DOUBLE_EQ(report.values.at("maxX"), 11);
  EXPECT_DOUBLE_EQ(report.values.at("minY"), -1);
  EXPECT_DOUBLE_EQ(report.values.at("maxY"), 3);
  EXPECT_DOUBLE_EQ(report.values.at("minZ"), -2);
  EXPECT_DOUBLE_EQ(report.values.at("maxZ"), 4);
}

TEST_P(StlPeers, AssimpReadsCountsAndBounds) {
  TempFolder folder;
  const auto path = folder / "scene.stl";
  const ON_ClassArray<ON_Mesh> meshes = Scene();
  ASSERT_EQ(QMSTL::MeshToSTL(meshes, PathOf(path.string()), GetParam()), 1);
  Assimp::Importer importer;
  const aiScene* scene = importer.ReadFile(path.string(), aiProcess_JoinIdenticalVertices);
  ASSERT_NE(scene, nullptr) << importer.GetErrorString();
  unsigned faces = 0;
  aiVector3D lo(1e30f, 1e30f, 1e30f), hi(-1e30f, -1e30f, -1e30f);
  for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
    const aiMesh* mesh = scene->mMeshes[m];
    faces += mesh->mNumFaces;
    for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
      const aiVector3D& p = mesh->mVertices[v];
      lo = aiVector3D(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
      hi = aiVector3D(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
    }
  }
  EXPECT_EQ(faces, static_cast<unsigned>(qmtest::FacetCount(meshes)));
  EXPECT_EQ(lo, aiVector3D(-3, -1, -2));
  EXPECT_EQ(hi, aiVector3D(11, 3, 4));
}

INSTANTIATE_TEST_SUITE_P(Types, StlPeers, testing::Values(0, 1),
                         [](const testing::TestParamInfo<int>& info) { return info.param ? "Binary" : "Ascii"; });

// assimp keeps a binary file's facet colours (VisCAM/SolidView words, bit 15 set) as vertex
// colours, each channel read as its five bits / 31; a facet without bit 15 gets assimp's
// default grey (0.6).
TEST(StlPeersColour, AssimpReadsBinaryFacetColours) {
  TempFolder folder;
  const auto path = folder / "scene.stl";
  const ON_ClassArray<ON_Mesh> meshes = Scene();
  ASSERT_EQ(QMSTL::MeshToSTL(meshes, PathOf(path.string()), 1), 1);
  Assimp::Importer importer;
  const aiScene* scene = importer.ReadFile(path.string(), 0);
  ASSERT_NE(scene, nullptr) << importer.GetErrorString();
  ASSERT_EQ(scene->mNumMeshes, 1u);
  const aiMesh* mesh = scene->mMeshes[0];
  ASSERT_TRUE(mesh->HasVertexColors(0));
  ASSERT_EQ(mesh->mNumFaces, static_cast<unsigned>(qmtest::FacetCount(meshes)));
  ASSERT_EQ(mesh->mNumVertices, 3u * mesh->mNumFaces);
  // Facets in file order: the box's 12, the sphere's, then the tetrahedron's 4.
  const unsigned boxEnd = 12;
  const unsigned sphereEnd = mesh->mNumFaces - 4;
  for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
    const aiColor4D expected = f < boxEnd      ? aiColor4D(31 / 31.0f, 0, 0, 1)
                               : f < sphereEnd ? aiColor4D(5 / 31.0f, 9 / 31.0f, 25 / 31.0f, 1)
                                               : aiColor4D(0.6f, 0.6f, 0.6f, 0.6f);
    for (unsigned corner = 0; corner < 3; ++corner) {
      const aiColor4D& c = mesh->mColors[0][3 * f + corner];
      ASSERT_NEAR(c.r, expected.r, 1e-5f) << f;
      ASSERT_NEAR(c.g, expected.g, 1e-5f) << f;
      ASSERT_NEAR(c.b, expected.b, 1e-5f) << f;
      ASSERT_NEAR(c.a, expected.a, 1e-5f) << f;
    }
  }
}
