#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "QMLib.h"
#include "support/temp_folder.h"
#include "support/test_meshes.h"

using qmtest::PathOf;
using qmtest::RawFacet;
using qmtest::TempFolder;

namespace {

ON_ClassArray<ON_Mesh> Parts() {
  ON_ClassArray<ON_Mesh> meshes;
  meshes.Append(qmtest::Box(ON_3dPoint(1, 2, 3), ON_3dPoint(4, 6, 8), ON_Color(200, 100, 50)));
  meshes.Append(qmtest::Tetrahedron(ON_3dPoint(-2, -2, -2), 1.5));
  return meshes;
}

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

const char kAsciiTwoFacets[] =
    "solid two\n"
    "  facet normal 0 0 1\n"
    "    outer loop\n"
    "      vertex 0 0 0\n"
    "      vertex 1 0 0\n"
    "      vertex 0 1 0\n"
    "    endloop\n"
    "  endfacet\n"
    "  facet normal 0 0 1\n"
    "    outer loop\n"
    "      vertex 1 0 0\n"
    "      vertex 1 1 0\n"
    "      vertex 0 1 0\n"
    "    endloop\n"
    "  endfacet\n"
    "endsolid two\n";

}  // namespace

class StlRoundTrip : public testing::TestWithParam<int> {};

TEST_P(StlRoundTrip, GivesBackTheTrianglesWithSharedVertices) {
  TempFolder folder;
  const auto path = folder / "parts.stl";
  const ON_ClassArray<ON_Mesh> meshes = Parts();
  ASSERT_EQ(QMSTL::MeshToSTL(meshes, PathOf(path.string()), GetParam()), 1) << QMSTL::GetError().GetString();
  ON_Mesh back = qmtest::Sentinel();
  ASSERT_EQ(QMSTL::STLToMesh(PathOf(path.string()), back), 1) << QMSTL::GetError().GetString();
  EXPECT_TRUE(QMSTL::GetError().IsEmpty());
  EXPECT_EQ(back.FaceCount(), 16);
  EXPECT_EQ(back.TriangleCount(), 16);
  EXPECT_EQ(back.VertexCount(), 12);  // 8 box corners and 4 tetrahedron corners, merged
  EXPECT_EQ(back.m_C.Count(), 0);
  EXPECT_EQ(back.m_N.Count(), 0);
  EXPECT_TRUE(back.IsValid());
  EXPECT_EQ(qmtest::Triangles(back), qmtest::Triangles(meshes));
  const ON_BoundingBox box = back.BoundingBox();
  EXPECT_EQ(box.m_min, ON_3dPoint(-2, -2, -2));
  EXPECT_EQ(box.m_max, ON_3dPoint(4, 6, 8));
}

INSTANTIATE_TEST_SUITE_P(Types, StlRoundTrip, testing::Values(0, 1),
                         [](const testing::TestParamInfo<int>& info) { return info.param ? "Binary" : "Ascii"; });

TEST(StlReader, LargeSphereRoundTrip) {
  TempFolder folder;
  ON_ClassArray<ON_Mesh> meshes;
  meshes.Append(qmtest::Sphere(ON_3dPoint(10, 20, 30), 5, 60, 80));
  for (int type : {0, 1}) {
    const auto path = folder / "sphere.stl";
    ASSERT_EQ(QMSTL::MeshToSTL(meshes, PathOf(path.string()), type), 1);
    ON_Mesh back;
    ASSERT_EQ(QMSTL::STLToMesh(PathOf(path.string()), back), 1) << QMSTL::GetError().GetString();
    EXPECT_EQ(back.FaceCount(), qmtest::FacetCount(meshes));
    EXPECT_EQ(back.VertexCount(), meshes[0].VertexCount());
    EXPECT_EQ(qmtest::Triangles(back), qmtest::Triangles(meshes));
  }
}

// Over two million facets: the face array is large enough to be taken from the system on huge
// pages, and the vertex list outgrows its first reservation. Every facet must come back in
// order, corner for corner, over one shared vertex per grid point.
TEST(StlReader, LargeBinaryGridKeepsFacetOrderAndSharesEveryGridPoint) {
  constexpr int kCols = 1200, kRows = 920;  // 2 208 000 facets, a file of 110 MB
  ON_ClassArray<ON_Mesh> meshes;
  ON_Mesh& grid = meshes.AppendNew();
  for (int r = 0; r <= kRows; ++r)
    for (int c = 0; c <= kCols; ++c) grid.m_V.Append(ON_3fPoint(c * 0.5f, r * 0.25f, static_cast<float>((c * r) % 7)));
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kCols; ++c) {
      const int d = r * (kCols + 1) + c;
      grid.m_F.Append(ON_MeshFace{{d, d + 1, d + kCols + 2, d + kCols + 2}});
      grid.m_F.Append(ON_MeshFace{{d, d + kCols + 2, d + kCols + 1, d + kCols + 1}});
    }
  }
  TempFolder folder;
  const auto path = folder / "grid.stl";
  ASSERT_EQ(QMSTL::MeshToSTL(meshes, PathOf(path.string()), 1), 1) << QMSTL::GetError().GetString();
  ON_Mesh back;
  ASSERT_EQ(QMSTL::STLToMesh(PathOf(path.string()), back), 1) << QMSTL::GetError().GetString();
  ASSERT_EQ(back.FaceCount(), grid.FaceCount());
  EXPECT_EQ(back.VertexCount(), grid.VertexCount());
  int wrong = 0;
  for (int f = 0; f < grid.FaceCount(); ++f) {
    for (int k = 0; k < 3; ++k) {
      if (!(back.m_V[back.m_F[f].vi[k]] == grid.m_V[grid.m_F[f].vi[k]])) ++wrong;
    }
    if (back.m_F[f].vi[3] != back.m_F[f].vi[2]) ++wrong;
  }
  EXPECT_EQ(wrong, 0);
}

// Small files are read whole in one go, larger ones in chunks: spheres of 1 308 and 1 310
// facets make binary files of 65 484 and 65 584 bytes, either side of the 64 KiB limit, and
// the ASCII file is padded to either side of it.
TEST(StlReader, FilesEitherSideOfTheWholeReadLimitReadAlike) {
  TempFolder folder;
  const auto path = folder / "sphere.stl";
  for (auto [rings, segments] : {std::pair{7, 109}, std::pair{6, 131}}) {
    ON_ClassArray<ON_Mesh> meshes;
    meshes.Append(qmtest::Sphere(ON_3dPoint(1, 2, 3), 5, rings, segments));
    ASSERT_EQ(QMSTL::MeshToSTL(meshes, PathOf(path.string()), 1), 1);
    ON_Mesh back;
    ASSERT_EQ(QMSTL::STLToMesh(PathOf(path.string()), back), 1) << QMSTL::GetError().GetString();
    EXPECT_EQ(back.VertexCount(), meshes[0].VertexCount()) << segments;
    EXPECT_EQ(qmtest::Triangles(back), qmtest::Triangles(meshes)) << segments;
  }
  const std::string text = kAsciiTwoFacets;
  for (size_t size : {size_t{65535}, size_t{65536}, size_t{65537}}) {
    qmtest::WriteBytes(path, text + std::string(size - text.size(), '\n'));
    ON_Mesh back;
    ASSERT_EQ(QMSTL::STLToMesh(PathOf(path.string()), back), 1) << size << ": " << QMSTL::GetError().GetString();
    EXPECT_EQ(back.FaceCount(), 2) << size;
  }
}

// Disjoint triangles have three vertices a facet where the reader expects half a vertex: the
// joining table, large enough to be mapped and faulted in by a thread of its own, is replaced
// three times while being filled, and every facet must still find its own corners.
TEST(StlReader, ATriangleSoupOutgrowsTheJoiningTableItWasGiven) {
  constexpr int kFacets = 300'000;
  std::vector<RawFacet> soup(kFacets);
  for (int f = 0; f < kFacets; ++f) {
    const auto x = static_cast<float>(f % 1000), y = static_cast<float>(f / 1000);
    soup[f] = RawFacet{{x, y, 0, x + 0.5f, y, 0, x, y + 0.5f, 1}, 0};
  }
  TempFolder folder;
  const auto path = folder / "soup.stl";
  qmtest::WriteBytes(path, qmtest::BinaryStl(soup));
  ON_Mesh back;
  ASSERT_EQ(QMSTL::STLToMesh(PathOf(path.string()), back), 1) << QMSTL::GetError().GetString();
  ASSERT_EQ(back.FaceCount(), kFacets);
  EXPECT_EQ(back.VertexCount(), 3 * kFacets);
  int wrong = 0;
  for (int f = 0; f < kFacets; ++f) {
    for (int k = 0; k < 3; ++k) {
      const ON_3fPoint& v = back.m_V[back.m_F[f].vi[k]];
      if (!(v == ON_3fPoint(soup[f].corners[3 * k], soup[f].corners[3 * k + 1], soup[f].corners[3 * k + 2]))) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST(StlReader, BinaryIsDecidedBySizeWhateverTheHeaderSays) {
  TempFolder folder;
  const auto path = folder / "solid-header.stl";
  qmtest::WriteBytes(path, qmtest::BinaryStl({{{0, 0, 0, 1, 0, 0, 0, 1, 0}, 0}, {{0, 0, 0, 0, 1, 0, 0, 0, 1}, 0}},
                                             "solid written by a careless exporter", 2));
  ON_Mesh mesh;
  ASSERT_EQ(QMSTL::STLToMesh(PathOf(path.string()), mesh), 1) << QMSTL::GetError().GetString();
  EXPECT_EQ(mesh.FaceCount(), 2);
  EXPECT_EQ(mesh.VertexCount(), 4);
}

TEST(StlReader, MergesOnlyExactlyEqualVertices) {
  TempFolder folder;
  const auto path = folder / "merge.stl";
  const float e = 1e-7f;
  qmtest::WriteBytes(path, qmtest::BinaryStl({{{0, 0, 0, 1, 0, 0, 0, 1, 0}, 0},
                                              {{-0.0f, 0, 0, 1, 0, 0, 0, 0, 1}, 0},   // -0 is 0
                                              {{e, 0, 0, 1, 0, 0, 0, 0, 1}, 0}}));    // near is not equal
  ON_Mesh mesh;
  ASSERT_EQ(QMSTL::STLToMesh(PathOf(path.string()), mesh), 1);
  EXPECT_EQ(mesh.VertexCount(), 5);
  EXPECT_EQ(mesh.m_F[0].vi[0], mesh.m_F[1].vi[0]);
  EXPECT_NE(mesh.m_F[2].vi[0], mesh.m_F[0].vi[0]);
  EXPECT_EQ(mesh.m_F[1].vi[2], mesh.m_F[2].vi[2]);
}

TEST(StlReader, DropsFacetsWhoseCornersCoincide) {
  TempFolder folder;
  const auto path = folder / "degenerate.stl";
  qmtest::WriteBytes(path, qmtest::BinaryStl({{{0, 0, 0, 1, 0, 0, 0, 1, 0}, 0}, {{1, 1, 1, 1, 1, 1, 2, 2, 2}, 0}}));
  ON_Mesh mesh;
  ASSERT_EQ(QMSTL::STLToMesh(PathOf(path.string()), mesh), 1);
  EXPECT_EQ(mesh.FaceCount(), 1);
  EXPECT_TRUE(mesh.IsValid());
}

namespace {

// A facet dropped for coinciding corners takes the vertices that only it used with it.
struct DegenerateCase {
  const char* name;
  bool ascii;
  std::vector<RawFacet> facets;
  int vertices;  // left in the mesh
  int faces;
};

void PrintTo(const DegenerateCase& c, std::ostream* os) { *os << c.name; }

std::string AsciiStl(const std::vector<RawFacet>& facets) {
  std::string text = "solid degenerate\n";
  char line[128];
  for (const RawFacet& f : facets) {
    text += "facet normal 0 0 0\nouter loop\n";
    for (int k = 0; k < 3; ++k) {
      std::snprintf(line, sizeof line, "vertex %.9g %.9g %.9g\n", f.corners[3 * k], f.corners[3 * k + 1],
                    f.corners[3 * k + 2]);
      text += line;
    }
    text += "endloop\nendfacet\n";
  }
  return text + "endsolid degenerate\n";
}

}  // namespace

class StlReaderDegenerate : public testing::TestWithParam<DegenerateCase> {};

TEST_P(StlReaderDegenerate, LeavesNoVertexThatNoFaceUses) {
  const DegenerateCase& c = GetParam();
  TempFolder folder;
  const auto path = folder / "degenerate.stl";
  qmtest::WriteBytes(path, c.ascii ? AsciiStl(c.facets) : qmtest::BinaryStl(c.facets));
  ON_Mesh mesh = qmtest::Sentinel();
  ASSERT_EQ(QMSTL::STLToMesh(PathOf(path.string()), mesh), 1) << QMSTL::GetError().GetString();
  EXPECT_EQ(mesh.VertexCount(), c.vertices);
  EXPECT_EQ(mesh.FaceCount(), c.faces);
  EXPECT_EQ(mesh.m_N.Count(), 0);
  EXPECT_EQ(mesh.m_C.Count(), 0);
  std::vector<bool> used(static_cast<size_t>(mesh.VertexCount()), false);
  for (int f = 0; f < mesh.FaceCount(); ++f) {
    for (int index : mesh.m_F[f].vi) {
      ASSERT_GE(index, 0);
      ASSERT_LT(index, mesh.VertexCount());
      used[static_cast<size_t>(index)] = true;
    }
  }
  EXPECT_EQ(std::count(used.begin(), used.end(), false), 0);

  // The kept triangles are exactly the file's facets that have an area, corner for corner.
  std::vector<qmtest::Triangle> expected;
  for (const RawFacet& f : c.facets) {
    const ON_3fPoint a(f.corners[0], f.corners[1], f.corners[2]), b(f.corners[3], f.corners[4], f.corners[5]),
        d(f.corners[6], f.corners[7], f.corners[8]);
    if (a != b && b != d && d != a)
      expected.push_back({a.x, a.y, a.z, b.x, b.y, b.z, d.x, d.y, d.z});
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(qmtest::Triangles(mesh), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, StlReaderDegenerate,
    testing::Values(
        DegenerateCase{"BinaryOneFacetAtOnePoint", false, {{{1, 2, 3, 1, 2, 3, 1, 2, 3}, 0}}, 0, 0},
        DegenerateCase{"AsciiTwoFacetsAtOnePointEach", true,
                       {{{1, 2, 3, 1, 2, 3, 1, 2, 3}, 0}, {{4, 5, 6, 4, 5, 6, 4, 5, 6}, 0}}, 0, 0},
        DegenerateCase{"BinaryTwoCornersMeetBeforeAGoodFacet", false,
                       {{{5, 5, 5, 5, 5, 5, 6, 6, 6}, 0}, {{0, 0, 0, 1, 0, 0, 0, 1, 0}, 0}, {{9, 9, 9, 9, 9, 9, 9, 9, 9}, 0}},
                       3, 1},
        DegenerateCase{"AsciiDegenerateBetweenFacetsThatShareAnEdge", true,
                       {{{0, 0, 0, 1, 0, 0, 0, 1, 0}, 0},
                        {{7, 7, 7, 1, 0, 0, 7, 7, 7}, 0},
                        {{1, 0, 0, 1, 1, 0, 0, 1, 0}, 0}},
                       4, 2},
        DegenerateCase{"BinaryDegenerateReusesAKeptVertex", false,
                       {{{0, 0, 0, 0, 0, 0, 3, 3, 3}, 0}, {{0, 0, 0, 1, 0, 0, 3, 3, 3}, 0}}, 3, 1}),
    [](const testing::TestParamInfo<DegenerateCase>& info) { return std::string(info.param.name); });

TEST(StlReader, AsciiToleratesCaseLayoutAndSeveralSolids) {
  TempFolder folder;
  const auto path = folder / "loose.stl";
  qmtest::WriteBytes(path,
                     "  \r\nSOLID Part1\r\nFACET NORMAL 0 0 1\r\nOUTER LOOP\r\nVERTEX +1 0 0\r\nVERTEX 0 1e0 0\r\n"
                     "VERTEX 0 0 -0.5E+1\r\nENDLOOP\r\nENDFACET\r\nENDSOLID Part1\r\n"
                     "solid second\nfacet normal 0 0 0 outer loop vertex 0 0 0 vertex 1 0 0 vertex 0 1 0 endloop "
                     "endfacet\nendsolid\n\n");
  ON_Mesh mesh;
  ASSERT_EQ(QMSTL::STLToMesh(PathOf(path.string()), mesh), 1) << QMSTL::GetError().GetString();
  EXPECT_EQ(mesh.FaceCount(), 2);
  EXPECT_EQ(mesh.VertexCount(), 4);
  EXPECT_EQ(mesh.m_V[0], ON_3fPoint(1, 0, 0));
  EXPECT_EQ(mesh.m_V[2], ON_3fPoint(0, 0, -5));
}

TEST(StlReader, AsciiWordsAndLinesMayCrossTheReadBuffer) {
  TempFolder folder;
  const auto path = folder / "spacious.stl";
  // A name line and white space of several MiB each, so that reads end inside them.
  std::string text = kAsciiTwoFacets;
  text.insert(std::strlen("solid "), std::string(3 << 20, 'n'));
  text.insert(text.find("outer loop"), std::string(3 << 20, ' '));
  text.insert(text.find("endsolid"), std::string(1 << 20, '\n'));
  qmtest::WriteBytes(path, text);
  ON_Mesh mesh;
  ASSERT_EQ(QMSTL::STLToMesh(PathOf(path.string()), mesh), 1) << QMSTL::GetError().GetString();
  EXPECT_EQ(mesh.FaceCount(), 2);
  EXPECT_EQ(mesh.VertexCount(), 4);
}

TEST(StlReader, AsciiMayStartAfterLongWhiteSpace) {
  TempFolder folder;
  const auto path = folder / "indented.stl";
  qmtest::WriteBytes(path, std::string(500, ' ') + kAsciiTwoFacets);
  ON_Mesh mesh;
  ASSERT_EQ(QMSTL::STLToMesh(PathOf(path.string()), mesh), 1) << QMSTL::GetError().GetString();
  EXPECT_EQ(mesh.FaceCount(), 2);
  qmtest::WriteBytes(path, std::string(500, ' ') + "nothing");
  EXPECT_EQ(QMSTL::STLToMesh(PathOf(path.string()), mesh), 0);
  EXPECT_NE(std::wstring(QMSTL::GetError().GetString()).find(L"line 1: expected \"solid\", found \"nothing\""),
            std::wstring::npos)
      << QMSTL::GetError().GetString();
}

TEST(StlReader, AsciiRejectsAnOverlongWord) {
  TempFolder folder;
  const auto path = folder / "long.stl";
  qmtest::WriteBytes(path, "solid t\nfacet normal " + std::string(5000, '1') + " 0 0\n");
  ON_Mesh mesh = qmtest::Sentinel();
  EXPECT_EQ(QMSTL::STLToMesh(PathOf(path.string()), mesh), 0);
  EXPECT_NE(std::wstring(QMSTL::GetError().GetString()).find(L"line 2: a word of more than 1024 characters"),
            std::wstring::npos)
      << QMSTL::GetError().GetString();
  EXPECT_TRUE(qmtest::IsSentinel(mesh));
}

TEST(StlReader, EveryTruncatedBinaryPrefixIsRejected) {
  TempFolder folder;
  const auto whole = folder / "whole.stl";
  ASSERT_EQ(QMSTL::MeshToSTL(Parts(), PathOf(whole.string()), 1), 1);
  const std::string bytes = qmtest::ReadBytes(whole);
  const auto path = folder / "prefix.stl";
  for (size_t length = 0; length < bytes.size(); ++length) {
    qmtest::WriteBytes(path, bytes.substr(0, length));
    ON_Mesh mesh = qmtest::Sentinel();
    ASSERT_EQ(QMSTL::STLToMesh(PathOf(path.string()), mesh), 0) << length;
    ASSERT_FALSE(QMSTL::GetError().IsEmpty()) << length;
    ASSERT_TRUE(qmtest::IsSentinel(mesh)) << length;
  }
}

TEST(StlReader, EveryTruncatedAsciiPrefixIsRejected) {
  TempFolder folder;
  const auto whole = folder / "whole.stl";
  ASSERT_EQ(QMSTL::MeshToSTL(Parts(), PathOf(whole.string()), 0), 1);
  const std::string text = qmtest::ReadBytes(whole);
  // Past "endsolid" only its optional name and the line end remain: those prefixes are whole.
  const size_t complete = text.rfind("endsolid") + std::strlen("endsolid");
  const auto path = folder / "prefix.stl";
  for (size_t length = 0; length < complete; ++length) {
    qmtest::WriteBytes(path, text.substr(0, length));
    ON_Mesh mesh = qmtest::Sentinel();
    ASSERT_EQ(QMSTL::STLToMesh(PathOf(path.string()), mesh), 0) << length << ": " << text.substr(0, length);
    ASSERT_FALSE(QMSTL::GetError().IsEmpty()) << length;
    ASSERT_TRUE(qmtest::IsSentinel(mesh)) << length;
  }
  qmtest::WriteBytes(path, text.substr(0, complete));
  ON_Mesh mesh;
  EXPECT_EQ(QMSTL::STLToMesh(PathOf(path.string()), mesh), 1) << QMSTL::GetError().GetString();
}

struct BadFileCase {
  const char* name;
  std::string bytes;
  const wchar_t* expected;
};

void PrintTo(const BadFileCase& c, std::ostream* os) { *os << c.name; }

class StlReaderBadFile : public testing::TestWithParam<BadFileCase> {};

TEST_P(StlReaderBadFile, IsRejectedWithItsReasonAndTheMeshKept) {
  const BadFileCase& c = GetParam();
  TempFolder folder;
  const auto path = folder / "bad.stl";
  qmtest::WriteBytes(path, c.bytes);
  ON_Mesh mesh = qmtest::Sentinel();
  EXPECT_EQ(QMSTL::STLToMesh(PathOf(path.string()), mesh), 0);
  const std::wstring error = QMSTL::GetError().GetString();
  EXPECT_NE(error.find(c.expected), std::wstring::npos) << error;
  EXPECT_NE(error.find(L"bad.stl"), std::wstring::npos) << error;
  EXPECT_TRUE(qmtest::IsSentinel(mesh));
}

std::string Ascii(const std::string& body) { return "solid t\n" + body + "endsolid t\n"; }

const std::string kFacetStart = "facet normal 0 0 1\nouter loop\n";
const std::string kCorners = "vertex 0 0 0\nvertex 1 0 0\nvertex 0 1 0\n";
const std::string kFacetEnd = "endloop\nendfacet\n";

std::string BinaryWithCount(uint32_t count, int facets) {
  std::vector<RawFacet> raw(static_cast<size_t>(facets), RawFacet{{0, 0, 0, 1, 0, 0, 0, 1, 0}, 0});
  return qmtest::BinaryStl(raw, "binary", count);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StlReaderBadFile,
    testing::Values(
        BadFileCase{"Empty", "", L"is empty"},
        BadFileCase{"ShortNotSolid", "hello", L"is not an STL file: it has 5 bytes"},
        BadFileCase{"AbsurdCount", BinaryWithCount(0xFFFFFFFFu, 1),
                    L"truncated or inconsistent: its header counts 4294967295 facets, which take 214748364834 bytes, "
                    L"but the file has 134 bytes"},
        BadFileCase{"CountBeyondData", BinaryWithCount(3, 2), L"header counts 3 facets"},
        BadFileCase{"TrailingBytes", BinaryWithCount(1, 1) + "x", L"truncated or inconsistent"},
        BadFileCase{"NaNCorner", qmtest::BinaryStl({{{0, 0, 0, 1, 0, 0, 0, 1, 0}, 0}, {{0, 0, 0, 1, kNaN, 0, 0, 1, 0}, 0}}),
                    L"facet 2 has a corner whose coordinates are not finite numbers"},
        BadFileCase{"InfiniteCorner", qmtest::BinaryStl({{{kInf, 0, 0, 1, 0, 0, 0, 1, 0}, 0}}),
                    L"facet 1 has a corner whose coordinates are not finite numbers"},
        BadFileCase{"AsciiNaN", Ascii(kFacetStart + "vertex 0 0 0\nvertex nan 0 0\nvertex 0 1 0\n" + kFacetEnd),
                    L"line 5: a vertex coordinate is not a finite number"},
        BadFileCase{"AsciiInfinity", Ascii(kFacetStart + "vertex 0 0 inf\nvertex 1 0 0\nvertex 0 1 0\n" + kFacetEnd),
                    L"line 4: a vertex coordinate is not a finite number"},
        BadFileCase{"AsciiOutOfFloatRange", Ascii(kFacetStart + "vertex 0 0 1e39\n" + kCorners + kFacetEnd),
                    L"line 4: a vertex coordinate is out of the range of a float"},
        BadFileCase{"AsciiBadNumber", Ascii(kFacetStart + "vertex 0 1.2.3 0\n" + kCorners + kFacetEnd),
                    L"line 4: expected a vertex coordinate, found \"1.2.3\""},
        BadFileCase{"AsciiMissingNormal", Ascii("facet\nouter loop\n" + kCorners + kFacetEnd),
                    L"line 3: expected \"normal\" after \"facet\", found \"outer\""},
        BadFileCase{"AsciiMissingOuterLoop", Ascii("facet normal 0 0 1\n" + kCorners + kFacetEnd),
                    L"line 3: expected \"outer loop\", found \"vertex\""},
        BadFileCase{"AsciiTwoVertices", Ascii(kFacetStart + "vertex 0 0 0\nvertex 1 0 0\n" + kFacetEnd),
                    L"line 6: expected \"vertex\", found \"endloop\""},
        BadFileCase{"AsciiFourVertices", Ascii(kFacetStart + kCorners + "vertex 1 1 0\n" + kFacetEnd),
                    L"line 7: expected \"endloop\" after three vertices, found \"vertex\""},
        BadFileCase{"AsciiMissingEndfacet", Ascii(kFacetStart + kCorners + "endloop\n"),
                    L"line 8: expected \"endfacet\", found \"endsolid\""},
        BadFileCase{"AsciiMissingEndsolid", "solid t\n" + kFacetStart + kCorners + kFacetEnd,
                    L"line 9: the file ends before \"endsolid\""},
        BadFileCase{"AsciiShortNormal", Ascii("facet normal 0 0\nouter loop\n" + kCorners + kFacetEnd),
                    L"line 3: expected a normal component, found \"outer\""},
        BadFileCase{"AsciiStrayWord", Ascii("widget\n"), L"line 2: expected \"facet\" or \"endsolid\", found \"widget\""},
        BadFileCase{"AsciiTextAfterEndsolid", std::string(kAsciiTwoFacets) + "trailing words\n",
                    L"line 17: expected \"solid\", found \"trailing\""},
        BadFileCase{"AsciiControlBytesShownSafely", Ascii(std::string("fa\x01\x02") + "cet\n"),
                    L"found \"fa??cet\""},
        BadFileCase{"NotStlAtAll", std::string(200, 'z'), L"truncated or inconsistent"}),
    [](const testing::TestParamInfo<BadFileCase>& info) { return std::string(info.param.name); });

TEST(StlReader, MissingFileAndFolderAreRejected) {
  TempFolder folder;
  ON_Mesh mesh = qmtest::Sentinel();
  const std::string missing = (folder / "nothing here.stl").string();
  EXPECT_EQ(QMSTL::STLToMesh(PathOf(missing), mesh), 0);
  EXPECT_EQ(std::wstring(QMSTL::GetError().GetString()),
            L"Unable to open file " + std::wstring(PathOf(missing).GetString()) + L": No such file or directory");
  EXPECT_EQ(QMSTL::STLToMesh(PathOf(folder.Path().string()), mesh), 0);
  EXPECT_NE(std::wstring(QMSTL::GetError().GetString()).find(L"it is not a regular file"), std::wstring::npos);
  EXPECT_EQ(QMSTL::STLToMesh(CString(L""), mesh), 0);
  EXPECT_FALSE(QMSTL::GetError().IsEmpty());
  EXPECT_TRUE(qmtest::IsSentinel(mesh));
}

TEST(StlReader, ReadsThroughWindowsSeparators) {
  TempFolder folder;
  qmtest::WriteBytes(folder / "two.stl", kAsciiTwoFacets);
  std::string path = folder.Path().string() + "\\two.stl";
  ON_Mesh mesh;
  ASSERT_EQ(QMSTL::STLToMesh(PathOf(path), mesh), 1) << QMSTL::GetError().GetString();
  EXPECT_EQ(mesh.FaceCount(), 2);
  EXPECT_EQ(mesh.VertexCount(), 4);
}
