#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "QMLib.h"
#include "SatStructure.h"
#include "support/temp_folder.h"
#include "support/test_meshes.h"
#include "win32/text.h"

using plx::test::CheckSatStructure;
using plx::test::JoinProblems;
using plx::test::SatFile;
using plx::test::SplitSat;
using qmtest::PathOf;
using qmtest::TempFolder;

namespace {

long Target(const std::string& pointer) { return std::stol(pointer.substr(1)); }

// The volume a faceted body encloses, from its faces' loops (positive when the faces, with
// their senses, point outwards).
double FacetedVolume(const SatFile& file) {
  double volume = 0;
  for (const auto& face : file.records) {
    if (face.name != "face") continue;
    for (long loop = Target(face.fields[1]); loop >= 0;
         loop = Target(file.records[loop].fields[0])) {
      std::vector<std::array<double, 3>> corners;
      const long first = Target(file.records[loop].fields[1]);
      long c = first;
      do {
        const auto& coedge = file.records[c];
        const auto& edge = file.records[Target(coedge.fields[3])];
        const long vertex = Target(edge.fields[coedge.fields[4] == "forward" ? 0 : 2]);
        const auto& point = file.records[Target(file.records[vertex].fields[1])];
        corners.push_back(
            {std::stod(point.fields[0]), std::stod(point.fields[1]), std::stod(point.fields[2])});
        c = Target(coedge.fields[0]);
      } while (c != first);
      double faceVolume = 0;
      for (size_t i = 1; i + 1 < corners.size(); ++i) {
        const auto &a = corners[0], &b = corners[i], &d = corners[i + 1];
        faceVolume += a[0] * (b[1] * d[2] - b[2] * d[1]) - a[1] * (b[0] * d[2] - b[2] * d[0]) +
                      a[2] * (b[0] * d[1] - b[1] * d[0]);
      }
      volume += (face.fields[5] == "forward" ? 1 : -1) * faceVolume / 6;
    }
  }
  return volume;
}

ON_Mesh Cube() { return qmtest::Box(ON_3dPoint(0, 0, 0), ON_3dPoint(2, 2, 2), ON_Color(1, 2, 3)); }

// The cube as 12 triangles, each with its own three corners.
ON_Mesh LooseTriangleCube() {
  const ON_Mesh cube = Cube();
  ON_Mesh mesh;
  for (int f = 0; f < cube.FaceCount(); ++f) {
    const ON_MeshFace& q = cube.m_F[f];
    for (const auto& tri : {std::array<int, 3>{q.vi[0], q.vi[1], q.vi[2]},
                            std::array<int, 3>{q.vi[0], q.vi[2], q.vi[3]}}) {
      const int base = mesh.VertexCount();
      for (int k = 0; k < 3; ++k) mesh.SetVertex(base + k, cube.m_V[tri[k]]);
      mesh.SetTriangle(mesh.FaceCount(), base, base + 1, base + 2);
    }
  }
  return mesh;
}

ON_Mesh Flipped(ON_Mesh mesh, int onlyFace = -1) {
  for (int f = 0; f < mesh.FaceCount(); ++f) {
    if (onlyFace >= 0 && f != onlyFace) continue;
    ON_MeshFace& face = mesh.m_F[f];
    if (face.IsQuad())
      face = {{face.vi[3], face.vi[2], face.vi[1], face.vi[0]}};
    else
      face = {{face.vi[2], face.vi[1], face.vi[0], face.vi[0]}};
  }
  return mesh;
}

class MeshToSat : public ::testing::Test {
 protected:
  SatFile Write(const ON_Mesh& mesh, int orient = 1) {
    const auto path = folder_ / "mesh.sat";
    EXPECT_EQ(QMACISMesh::MeshToSAT(mesh, PathOf(path.string()), orient), 1)
        << plx::Utf8FromWide(QMACISMesh::GetError().Str());
    EXPECT_TRUE(QMACISMesh::GetError().IsEmpty());
    return SplitSat(qmtest::ReadBytes(path));
  }
  void ExpectFailure(const ON_Mesh& mesh, const std::wstring& text) {
    const auto path = folder_ / "kept.sat";
    qmtest::WriteBytes(path, "old");
    EXPECT_EQ(QMACISMesh::MeshToSAT(mesh, PathOf(path.string()), 1), 0);
    EXPECT_NE(std::wstring(QMACISMesh::GetError().Str()).find(text), std::wstring::npos)
        << plx::Utf8FromWide(QMACISMesh::GetError().Str());
    EXPECT_EQ(qmtest::ReadBytes(path), "old");
    EXPECT_EQ(folder_.Entries().size(), 1u);
  }
  TempFolder folder_;
};

struct ClosedCase {
  const char* name;
  ON_Mesh (*make)();
  size_t faces, edges, vertices;
  double volume;
};

class MeshToSatClosed : public MeshToSat, public ::testing::WithParamInterface<ClosedCase> {};

TEST_P(MeshToSatClosed, GivesOneClosedOutwardBody) {
  const SatFile file = Write(GetParam().make());
  EXPECT_EQ(JoinProblems(CheckSatStructure(file, true)), "");
  EXPECT_EQ(file.declaredBodies, 1);
  EXPECT_EQ(file.Count("lump"), 1u);
  EXPECT_EQ(file.Count("face"), GetParam().faces);
  EXPECT_EQ(file.Count("plane-surface"), GetParam().faces);
  EXPECT_EQ(file.Count("edge"), GetParam().edges);
  EXPECT_EQ(file.Count("straight-curve"), GetParam().edges);
  EXPECT_EQ(file.Count("vertex"), GetParam().vertices);
  EXPECT_NEAR(FacetedVolume(file), GetParam().volume, 1e-9);
  for (const auto& r : file.records)
    if (r.name == "face") {
      EXPECT_EQ(r.fields[6], "single");
    }
}

const ClosedCase kClosed[] = {
    {"CubeOnSharedCorners", Cube, 6, 12, 8, 8},
    {"CubeOfLooseTriangles", LooseTriangleCube, 12, 18, 8, 8},
    {"InsideOutCube", [] { return Flipped(Cube()); }, 6, 12, 8, 8},
    {"CubeWithOneFaceTurned", [] { return Flipped(Cube(), 3); }, 6, 12, 8, 8},
    {"Tetrahedron", [] { return qmtest::Tetrahedron(ON_3dPoint(1, 1, 1), 3); }, 4, 6, 4, 4.5},
};

INSTANTIATE_TEST_SUITE_P(Meshes, MeshToSatClosed, ::testing::ValuesIn(kClosed),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MeshToSat, LargeSphereStaysClosedWithItsVolume) {
  const ON_Mesh sphere = qmtest::Sphere(ON_3dPoint(5, 5, 5), 3, 60, 80);
  const SatFile file = Write(sphere);
  EXPECT_EQ(JoinProblems(CheckSatStructure(file, true)), "");
  double expected = 0;
  for (const auto& t : qmtest::Triangles(sphere)) {
    const double a[3] = {t[0], t[1], t[2]}, b[3] = {t[3], t[4], t[5]}, c[3] = {t[6], t[7], t[8]};
    expected += (a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0]) +
                 a[2] * (b[0] * c[1] - b[1] * c[0])) /
                6;
  }
  EXPECT_NEAR(FacetedVolume(file), expected, 1e-6 * expected);
}

TEST_F(MeshToSat, OrientZeroKeepsTheFacesAsGiven) {
  const SatFile file = Write(Flipped(Cube()), 0);
  EXPECT_NEAR(FacetedVolume(file), -8, 1e-9);
}

TEST_F(MeshToSat, OpenMeshGivesDoubleSidedFacesWithBoundaryEdgesUnpaired) {
  ON_Mesh open = Cube();
  open.m_F.SetCount(5);
  const SatFile file = Write(open);
  EXPECT_EQ(JoinProblems(CheckSatStructure(file, false)), "");
  size_t unpaired = 0;
  for (const auto& r : file.records) {
    if (r.name == "face") {
      EXPECT_EQ(r.fields[6], "double");
    }
    if (r.name == "coedge") unpaired += r.fields[2] == "$-1";
  }
  EXPECT_EQ(unpaired, 4u);
}

TEST_F(MeshToSat, NonPlanarQuadIsSplitAndDegenerateFacesLeftOut) {
  ON_Mesh mesh;
  mesh.SetVertex(0, ON_3dPoint(0, 0, 0));
  mesh.SetVertex(1, ON_3dPoint(1, 0, 0));
  mesh.SetVertex(2, ON_3dPoint(1, 1, 0.5));
  mesh.SetVertex(3, ON_3dPoint(0, 1, 0));
  mesh.SetVertex(4, ON_3dPoint(2, 0, 0));  // on the line through 0 and 1
  mesh.SetVertex(5, ON_3dPoint(0, 0, 0));  // the same place as 0
  mesh.SetQuad(0, 0, 1, 2, 3);
  mesh.SetTriangle(1, 0, 1, 4);  // no area
  mesh.SetTriangle(2, 0, 5, 1);  // two corners weld into one
  const SatFile file = Write(mesh);
  EXPECT_EQ(JoinProblems(CheckSatStructure(file, false)), "");
  EXPECT_EQ(file.Count("face"), 2u);
  EXPECT_EQ(file.Count("edge"), 5u);
  EXPECT_EQ(file.Count("vertex"), 4u);
}

TEST_F(MeshToSat, DisjointPartsBecomeLumpsOfOneBody) {
  ON_Mesh mesh = Cube();
  const ON_Mesh other = qmtest::Tetrahedron(ON_3dPoint(5, 5, 5), 1);
  const int base = mesh.VertexCount();
  for (int i = 0; i < other.VertexCount(); ++i) mesh.SetVertex(base + i, other.m_V[i]);
  for (int f = 0; f < other.FaceCount(); ++f)
    mesh.SetTriangle(mesh.FaceCount(), base + other.m_F[f].vi[0], base + other.m_F[f].vi[1],
                     base + other.m_F[f].vi[2]);
  const SatFile file = Write(mesh);
  EXPECT_EQ(JoinProblems(CheckSatStructure(file, true)), "");
  EXPECT_EQ(file.declaredBodies, 1);
  EXPECT_EQ(file.Count("lump"), 2u);
  EXPECT_NEAR(FacetedVolume(file), 8 + 1.0 / 6, 1e-6);
}

TEST_F(MeshToSat, MeshesThatCannotBecomeABodyFailWithAReason) {
  ExpectFailure(ON_Mesh(), L"empty");
  ON_Mesh flat;
  flat.SetVertex(0, ON_3dPoint(0, 0, 0));
  flat.SetVertex(1, ON_3dPoint(1, 0, 0));
  flat.SetVertex(2, ON_3dPoint(2, 0, 0));
  flat.SetTriangle(0, 0, 1, 2);
  ExpectFailure(flat, L"no face with an area");
  ON_Mesh infinite = Cube();
  infinite.m_V[5].y = std::numeric_limits<float>::infinity();
  ExpectFailure(infinite, L"Vertex 5");
  ON_Mesh nan = Cube();
  nan.m_V[0].x = std::numeric_limits<float>::quiet_NaN();
  ExpectFailure(nan, L"not finite");
  ON_Mesh missing = Cube();
  missing.m_F[2].vi[1] = 40;
  ExpectFailure(missing, L"Face 2 names vertex 40");
}

TEST_F(MeshToSat, UnwritablePathFailsWithItsName) {
  const auto path = folder_ / "no" / "mesh.sat";
  EXPECT_EQ(QMACISMesh::MeshToSAT(Cube(), PathOf(path.string()), 1), 0);
  EXPECT_NE(std::wstring(QMACISMesh::GetError().Str()).find(L"mesh.sat"), std::wstring::npos);
}

TEST_F(MeshToSat, ListGivesABodyPerMeshOrOneForAll) {
  ON_ClassArray<ON_Mesh> meshes;
  meshes.Append(Cube());
  meshes.Append(qmtest::Tetrahedron(ON_3dPoint(5, 5, 5), 1));
  const auto path = folder_ / "list.sat";
  ASSERT_EQ(QMACISMesh::MeshToSAT(meshes, PathOf(path.string()), 1, 1), 1);
  SatFile file = SplitSat(qmtest::ReadBytes(path));
  EXPECT_EQ(JoinProblems(CheckSatStructure(file, true)), "");
  EXPECT_EQ(file.declaredBodies, 2);
  EXPECT_EQ(file.Count("lump"), 2u);

  ASSERT_EQ(QMACISMesh::MeshToSAT(meshes, PathOf(path.string()), 1, 0), 1);
  file = SplitSat(qmtest::ReadBytes(path));
  EXPECT_EQ(JoinProblems(CheckSatStructure(file, true)), "");
  EXPECT_EQ(file.declaredBodies, 1);
  EXPECT_EQ(file.Count("lump"), 2u);
}

TEST_F(MeshToSat, ListFailsForAnEmptyListOrABadMeshNamingIt) {
  const auto path = folder_ / "list.sat";
  ON_ClassArray<ON_Mesh> meshes;
  EXPECT_EQ(QMACISMesh::MeshToSAT(meshes, PathOf(path.string()), 1, 1), 0);
  EXPECT_EQ(std::wstring(QMACISMesh::GetError().Str()), L"The mesh list is empty.");
  meshes.Append(Cube());
  meshes.Append(ON_Mesh());
  EXPECT_EQ(QMACISMesh::MeshToSAT(meshes, PathOf(path.string()), 1, 1), 0);
  EXPECT_EQ(std::wstring(QMACISMesh::GetError().Str()).rfind(L"Mesh 1: ", 0), 0u);
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
