#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "QMLib.h"
#include "stl_format.h"
#include "support/temp_folder.h"
#include "support/test_meshes.h"
#include "win32/text.h"

using qmtest::PathOf;
using qmtest::TempFolder;

namespace {

struct Record {
  float normal[3];
  float corners[9];
  uint16_t attribute;
};

std::vector<Record> Records(const std::string& bytes) {
  std::vector<Record> out;
  for (size_t at = 84; at + 50 <= bytes.size(); at += 50) {
    Record r;
    std::memcpy(r.normal, bytes.data() + at, 12);
    std::memcpy(r.corners, bytes.data() + at + 12, 36);
    std::memcpy(&r.attribute, bytes.data() + at + 48, 2);
    out.push_back(r);
  }
  return out;
}

uint32_t CountField(const std::string& bytes) {
  uint32_t n = 0;
  std::memcpy(&n, bytes.data() + 80, 4);
  return n;
}

ON_ClassArray<ON_Mesh> BoxAndTetrahedron() {
  ON_ClassArray<ON_Mesh> meshes;
  meshes.Append(qmtest::Box(ON_3dPoint(0, 0, 0), ON_3dPoint(2, 3, 4), ON_Color(255, 0, 0)));
  ON_Mesh tetrahedron = qmtest::Tetrahedron(ON_3dPoint(5, 5, 5), 1);
  tetrahedron.m_C.Append(ON_Color(0, 0, 255));
  meshes.Append(tetrahedron);
  return meshes;
}

size_t CountOccurrences(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

}  // namespace

TEST(StlWriter, BinaryLayoutCountsAndNormals) {
  TempFolder folder;
  const auto path = folder / "parts.stl";
  ASSERT_EQ(QMSTL::MeshToSTL(BoxAndTetrahedron(), PathOf(path.string()), 1), 1) << QMSTL::GetError().GetString();
  EXPECT_TRUE(QMSTL::GetError().IsEmpty());
  const std::string bytes = qmtest::ReadBytes(path);
  ASSERT_EQ(bytes.size(), 84u + 50u * 16u);
  EXPECT_NE(bytes.compare(0, 5, "solid"), 0);
  EXPECT_EQ(CountField(bytes), 16u);
  for (const Record& r : Records(bytes)) {
    const double length = std::sqrt(r.normal[0] * r.normal[0] + r.normal[1] * r.normal[1] + r.normal[2] * r.normal[2]);
    EXPECT_NEAR(length, 1.0, 1e-6);
    // Outward: the normal points away from the centre of the part it belongs to.
    const bool inBox = r.corners[0] <= 2 && r.corners[1] <= 3 && r.corners[2] <= 4;
    const double cx = inBox ? 1 : 5.25, cy = inBox ? 1.5 : 5.25, cz = inBox ? 2 : 5.25;
    const double mx = (r.corners[0] + r.corners[3] + r.corners[6]) / 3 - cx;
    const double my = (r.corners[1] + r.corners[4] + r.corners[7]) / 3 - cy;
    const double mz = (r.corners[2] + r.corners[5] + r.corners[8]) / 3 - cz;
    EXPECT_GT(mx * r.normal[0] + my * r.normal[1] + mz * r.normal[2], 0.0);
  }
}

TEST(StlWriter, QuadsSplitAlongTheFirstDiagonal) {
  TempFolder folder;
  ON_ClassArray<ON_Mesh> meshes;
  ON_Mesh& quad = meshes.AppendNew();
  quad.SetVertex(0, ON_3dPoint(0, 0, 0));
  quad.SetVertex(1, ON_3dPoint(1, 0, 0));
  quad.SetVertex(2, ON_3dPoint(1, 1, 0));
  quad.SetVertex(3, ON_3dPoint(0, 1, 0));
  quad.SetQuad(0, 0, 1, 2, 3);
  const auto path = folder / "quad.stl";
  ASSERT_EQ(QMSTL::MeshToSTL(meshes, PathOf(path.string()), 1), 1);
  const std::vector<Record> records = Records(qmtest::ReadBytes(path));
  ASSERT_EQ(records.size(), 2u);
  const float first[9] = {0, 0, 0, 1, 0, 0, 1, 1, 0};
  const float second[9] = {0, 0, 0, 1, 1, 0, 0, 1, 0};
  EXPECT_EQ(std::memcmp(records[0].corners, first, sizeof first), 0);
  EXPECT_EQ(std::memcmp(records[1].corners, second, sizeof second), 0);
  EXPECT_EQ(records[0].normal[2], 1.0f);
  EXPECT_EQ(records[1].normal[2], 1.0f);
  EXPECT_EQ(records[0].attribute, 0);  // no colour: no colour word
}

TEST(StlWriter, DegenerateFacetGetsZeroNormal) {
  TempFolder folder;
  ON_ClassArray<ON_Mesh> meshes;
  ON_Mesh& line = meshes.AppendNew();
  line.SetVertex(0, ON_3dPoint(0, 0, 0));
  line.SetVertex(1, ON_3dPoint(1, 1, 1));
  line.SetVertex(2, ON_3dPoint(2, 2, 2));  // on the line through the other two
  line.SetTriangle(0, 0, 1, 2);
  for (int type : {0, 1}) {
    const auto path = folder / ("line" + std::to_string(type) + ".stl");
    ASSERT_EQ(QMSTL::MeshToSTL(meshes, PathOf(path.string()), type), 1);
    const std::string bytes = qmtest::ReadBytes(path);
    if (type == 1) {
      const Record r = Records(bytes).at(0);
      EXPECT_EQ(r.normal[0], 0.0f);
      EXPECT_EQ(r.normal[1], 0.0f);
      EXPECT_EQ(r.normal[2], 0.0f);
    } else {
      EXPECT_NE(bytes.find("facet normal 0 0 0\n"), std::string::npos) << bytes;
    }
  }
}

struct ColourCase {
  int red, green, blue;
  uint16_t word;
};

void PrintTo(const ColourCase& c, std::ostream* os) { *os << c.red << "," << c.green << "," << c.blue; }

class StlWriterColour : public testing::TestWithParam<ColourCase> {};

TEST_P(StlWriterColour, MeshColourGoesIntoEveryFacetWord) {
  const ColourCase& c = GetParam();
  TempFolder folder;
  ON_ClassArray<ON_Mesh> meshes;
  meshes.Append(qmtest::Box(ON_3dPoint(0, 0, 0), ON_3dPoint(1, 1, 1), ON_Color(c.red, c.green, c.blue)));
  meshes.Append(qmtest::Tetrahedron(ON_3dPoint(3, 3, 3), 1));  // no colour
  const auto path = folder / "colour.stl";
  ASSERT_EQ(QMSTL::MeshToSTL(meshes, PathOf(path.string()), 1), 1);
  const std::vector<Record> records = Records(qmtest::ReadBytes(path));
  ASSERT_EQ(records.size(), 16u);
  for (size_t i = 0; i < 12; ++i) EXPECT_EQ(records[i].attribute, c.word) << i;
  for (size_t i = 12; i < 16; ++i) EXPECT_EQ(records[i].attribute, 0) << i;
  EXPECT_EQ(qmlib::StlColorWord(ON_Color(c.red, c.green, c.blue)), c.word);
}

// Bit 15 set, red in bits 10-14, green 5-9, blue 0-4, each the channel's top five bits.
INSTANTIATE_TEST_SUITE_P(Channels, StlWriterColour,
                         testing::Values(ColourCase{255, 255, 255, 0xFFFF}, ColourCase{0, 0, 0, 0x8000},
                                         ColourCase{255, 0, 0, 0xFC00}, ColourCase{0, 255, 0, 0x83E0},
                                         ColourCase{0, 0, 255, 0x801F}, ColourCase{10, 20, 30, 0x8443},
                                         ColourCase{7, 8, 15, 0x8021}, ColourCase{128, 64, 32, 0xC104}));

// Meshes of several scales with thin facets and quads, large enough to fill several of the
// writer's buffers: every record holds the corners exactly and a normal within 1e-6 of the
// unit normal computed in double with a division per component; reading the file back joins
// the corners into the same vertices.
TEST(StlWriter, LargeMeshesMatchADoublePrecisionReference) {
  ON_ClassArray<ON_Mesh> meshes;
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<double>(seed >> 8) / (1u << 24);
  };
  for (const double scale : {1e-3, 1.0, 1e4}) {
    ON_Mesh& mesh = meshes.AppendNew();
    for (int i = 0; i < 40000; ++i) {
      const ON_3fPoint p(static_cast<float>((next() - 0.5) * scale), static_cast<float>((next() - 0.5) * scale),
                         static_cast<float>((next() - 0.5) * scale));
      mesh.m_V.Append(p);
      // A neighbour a millionth of the scale away makes thin facets.
      mesh.m_V.Append(ON_3fPoint(p.x + static_cast<float>(1e-6 * scale), p.y, p.z));
    }
    // Distinct corners, so that every facet survives the reader's joining.
    const int n = mesh.VertexCount();
    auto after = [&](int i) { return (i + 2 + static_cast<int>(next() * 1000)) % n; };
    for (int f = 0; f < 70000; ++f) {
      const int a = static_cast<int>(next() * n) & ~1;
      const int b = after(a), c = after(b), d = after(c);
      if (f % 3 == 0) mesh.m_F.Append(ON_MeshFace{{a, b, c, d}});
      else if (f % 3 == 1) mesh.m_F.Append(ON_MeshFace{{a, a + 1, c, c}});
      else mesh.m_F.Append(ON_MeshFace{{a, b, c, c}});
    }
  }
  TempFolder folder;
  const auto path = folder / "large.stl";
  ASSERT_EQ(QMSTL::MeshToSTL(meshes, PathOf(path.string()), 1), 1) << QMSTL::GetError().GetString();
  const std::string bytes = qmtest::ReadBytes(path);
  const std::vector<Record> records = Records(bytes);
  // The facets in file order: each face, then the second half of a quad.
  std::vector<qmtest::Triangle> expected;
  for (int m = 0; m < meshes.Count(); ++m) {
    const ON_Mesh& mesh = meshes[m];
    for (int f = 0; f < mesh.FaceCount(); ++f) {
      const int* vi = mesh.m_F[f].vi;
      auto put = [&](int a, int b, int c) {
        const ON_3fPoint &p = mesh.m_V[a], &q = mesh.m_V[b], &r = mesh.m_V[c];
        expected.push_back({p.x, p.y, p.z, q.x, q.y, q.z, r.x, r.y, r.z});
      };
      put(vi[0], vi[1], vi[2]);
      if (vi[2] != vi[3]) put(vi[0], vi[2], vi[3]);
    }
  }
  ASSERT_EQ(records.size(), expected.size());
  ASSERT_EQ(CountField(bytes), expected.size());
  double worst = 0;
  for (size_t i = 0; i < records.size(); ++i) {
    const qmtest::Triangle& t = expected[i];
    ASSERT_EQ(std::memcmp(records[i].corners, t.data(), sizeof records[i].corners), 0) << "facet " << i;
    const double u[3] = {double(t[3]) - t[0], double(t[4]) - t[1], double(t[5]) - t[2]};
    const double v[3] = {double(t[6]) - t[0], double(t[7]) - t[1], double(t[8]) - t[2]};
    const double n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    for (int k = 0; k < 3; ++k) {
      const double reference = length > 0 ? n[k] / length : 0.0;
      worst = std::max(worst, std::abs(records[i].normal[k] - reference));
    }
  }
  EXPECT_LT(worst, 1e-6);

  ON_Mesh back;
  ASSERT_EQ(QMSTL::STLToMesh(PathOf(path.string()), back), 1) << QMSTL::GetError().GetString();
  int used = 0;  // distinct vertices the faces name; the scales keep the meshes apart
  for (int m = 0; m < meshes.Count(); ++m) {
    std::vector<bool> named(static_cast<size_t>(meshes[m].VertexCount()));
    for (int f = 0; f < meshes[m].FaceCount(); ++f)
      for (int k : meshes[m].m_F[f].vi) named[static_cast<size_t>(k)] = true;
    used += static_cast<int>(std::count(named.begin(), named.end(), true));
  }
  EXPECT_EQ(back.VertexCount(), used);
  EXPECT_TRUE(qmtest::Triangles(back) == qmtest::Triangles(meshes));
}

namespace {

// Meshes that fill the writer's buffers several times over: random corners over scales from
// 1e-3 to 1e37, thin facets, quads, degenerate faces (zero normal), meshes with and without a
// colour, and an empty mesh between them.
ON_ClassArray<ON_Mesh> ManyBuffersOfFacets(int facesPerMesh = 40000) {
  ON_ClassArray<ON_Mesh> meshes;
  uint32_t seed = 2024;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<double>(seed >> 8) / (1u << 24);
  };
  for (const double scale : {1e-3, 1.0, 1e6, 1e37}) {
    ON_Mesh& mesh = meshes.AppendNew();
    for (int i = 0; i < 20000; ++i) {
      const ON_3fPoint p(static_cast<float>((next() - 0.5) * scale), static_cast<float>((next() - 0.5) * scale),
                         static_cast<float>((next() - 0.5) * scale));
      mesh.m_V.Append(p);
      mesh.m_V.Append(ON_3fPoint(p.x, p.y, std::nextafter(p.z, 1e38f)));
    }
    const int n = mesh.VertexCount();
    auto any = [&] { return static_cast<int>(next() * n); };
    for (int f = 0; f < facesPerMesh; ++f) {
      const int a = any() & ~1;
      switch (f % 4) {
        case 0: mesh.m_F.Append(ON_MeshFace{{a, any(), any(), any()}}); break;
        case 1: mesh.m_F.Append(ON_MeshFace{{a, a + 1, any(), any()}}); break;
        case 2: mesh.m_F.Append(ON_MeshFace{{a, a, a + 1, a + 1}}); break;
        default: {
          const int c = any();
          mesh.m_F.Append(ON_MeshFace{{a, any(), c, c}});
        }
      }
    }
    if (scale != 1.0) mesh.m_C.Append(ON_Color(static_cast<int>(next() * 255), 90, 200));
    if (scale == 1e-3) meshes.AppendNew();
  }
  return meshes;
}

// The binary file as the format and the writer's normal define it: the normal is the cross
// product in double of the float corners' differences, times the reciprocal of its length,
// rounded to float; zero for a degenerate facet.
std::string ReferenceBinary(const ON_ClassArray<ON_Mesh>& meshes) {
  std::string header = "QMSTL binary STL by QMLib90Ux64, facet colours VisCAM/SolidView";
  header.resize(80, ' ');
  std::string records;
  uint32_t count = 0;
  for (int m = 0; m < meshes.Count(); ++m) {
    const ON_Mesh& mesh = meshes[m];
    const uint16_t word = mesh.m_C.Count() > 0 ? qmlib::StlColorWord(mesh.m_C[0]) : 0;
    auto put = [&](const ON_3fPoint& a, const ON_3fPoint& b, const ON_3fPoint& c) {
      const double u[3] = {double(b.x) - a.x, double(b.y) - a.y, double(b.z) - a.z};
      const double v[3] = {double(c.x) - a.x, double(c.y) - a.y, double(c.z) - a.z};
      const double n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
      const double squared = n[0] * n[0] + n[1] * n[1] + n[2] * n[2];
      float normal[3] = {0, 0, 0};
      if (squared > 0) {
        const double inverse = 1.0 / std::sqrt(squared);
        for (int k = 0; k < 3; ++k) normal[k] = static_cast<float>(n[k] * inverse);
      }
      char record[50];
      std::memcpy(record, normal, 12);
      std::memcpy(record + 12, &a, 12);
      std::memcpy(record + 24, &b, 12);
      std::memcpy(record + 36, &c, 12);
      std::memcpy(record + 48, &word, 2);
      records.append(record, sizeof record);
      ++count;
    };
    for (int f = 0; f < mesh.FaceCount(); ++f) {
      const int* vi = mesh.m_F[f].vi;
      put(mesh.m_V[vi[0]], mesh.m_V[vi[1]], mesh.m_V[vi[2]]);
      if (vi[2] != vi[3]) put(mesh.m_V[vi[0]], mesh.m_V[vi[2]], mesh.m_V[vi[3]]);
    }
  }
  std::string file = header;
  file.append(reinterpret_cast<const char*>(&count), 4);
  return file + records;
}

}  // namespace

// The whole file, byte for byte, against the reference; twice in a row, so the second write
// runs on the buffers the first one left behind. The larger meshes are written by several
// threads, each at its place in the file, with pieces that end inside a mesh.
class StlWriterBytes : public testing::TestWithParam<int> {};

TEST_P(StlWriterBytes, BinaryFileIsByteForByteTheReference) {
  const ON_ClassArray<ON_Mesh> meshes = ManyBuffersOfFacets(GetParam());
  const std::string expected = ReferenceBinary(meshes);
  ASSERT_GT(expected.size(), size_t{4} << 20);
  TempFolder folder;
  for (const char* name : {"first.stl", "second.stl"}) {
    const auto path = folder / name;
    ASSERT_EQ(QMSTL::MeshToSTL(meshes, PathOf(path.string()), 1), 1) << QMSTL::GetError().GetString();
    const std::string bytes = qmtest::ReadBytes(path);
    ASSERT_EQ(bytes.size(), expected.size());
    const auto mismatch = std::mismatch(bytes.begin(), bytes.end(), expected.begin());
    EXPECT_TRUE(mismatch.first == bytes.end()) << name << ": first difference at byte " << (mismatch.first - bytes.begin());
  }
}

INSTANTIATE_TEST_SUITE_P(FacesPerMesh, StlWriterBytes, testing::Values(40000, 150000));

// Written by several threads, a file with two bad faces far apart names the first of them, as
// writing in order would, and is abandoned.
TEST(StlWriter, ThreadedWriteNamesTheFirstBadFace) {
  ON_ClassArray<ON_Mesh> meshes = ManyBuffersOfFacets(150000);
  meshes[2].m_F[70000].vi[1] = -1;
  meshes[4].m_F[100].vi[0] = meshes[4].VertexCount();
  TempFolder folder;
  const auto path = folder / "old.stl";
  qmtest::WriteBytes(path, "an earlier export\n");
  EXPECT_EQ(QMSTL::MeshToSTL(meshes, PathOf(path.string()), 1), 0);
  const std::wstring error = QMSTL::GetError().GetString();
  EXPECT_NE(error.find(L"face 70000 of mesh 2 names vertex -1"), std::wstring::npos) << error;
  EXPECT_EQ(qmtest::ReadBytes(path), "an earlier export\n");
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"old.stl"});
}

// Triangles are written two at a time: a bad one is named whether it comes first or second of
// its pair or on its own at the end, and whether a corner is not finite or an index is wrong.
TEST(StlWriter, ABadTriangleIsNamedWhereverItFallsInItsPair) {
  for (const int bad : {0, 1, 6, 7, 8})
    for (const bool index : {false, true}) {
      ON_ClassArray<ON_Mesh> meshes;
      ON_Mesh& strip = meshes.AppendNew();
      for (int i = 0; i < 11; ++i) strip.m_V.Append(ON_3fPoint(static_cast<float>(i / 2), static_cast<float>(i % 2), 0));
      for (int f = 0; f < 9; ++f) strip.m_F.Append(ON_MeshFace{{f, f + 1, f + 2, f + 2}});
      // One past the last vertex, or a vertex added there that is not finite.
      strip.m_F[bad].vi[1] = strip.VertexCount();
      if (!index) strip.m_V.Append(ON_3fPoint(0, std::numeric_limits<float>::quiet_NaN(), 0));
      TempFolder folder;
      EXPECT_EQ(QMSTL::MeshToSTL(meshes, PathOf((folder / "strip.stl").string()), 1), 0);
      const std::wstring error = QMSTL::GetError().GetString();
      const std::wstring expected = L"face " + std::to_wstring(bad) + L" of mesh 0 " +
                                    (index ? L"names vertex 11" : L"has a corner whose coordinates are not finite");
      EXPECT_NE(error.find(expected), std::wstring::npos) << "face " << bad << ": " << error;
    }
}

// Bad data found late, after several buffers have gone to the file: the message names the face,
// the old file stays, and the temporary is gone. Every corner of a quad, every kind of
// non-finite number, and indices past either end.
struct LateFault {
  int corner;  // 0..3 of the damaged quad
  int kind;    // 0 +inf, 1 -inf, 2 NaN, 3 index -1, 4 index one past the vertices
  int type;
};

void PrintTo(const LateFault& c, std::ostream* os) { *os << c.corner << '/' << c.kind << '/' << c.type; }

class StlWriterLateFault : public testing::TestWithParam<LateFault> {};

TEST_P(StlWriterLateFault, AbandonsTheFileAndNamesTheFace) {
  const LateFault c = GetParam();
  ON_ClassArray<ON_Mesh> meshes = ManyBuffersOfFacets();
  ON_Mesh& mesh = meshes[3];
  const int face = mesh.FaceCount() - 8;  // a quad
  int* vi = mesh.m_F[face].vi;
  ASSERT_NE(vi[2], vi[3]);
  std::wstring expected = L"face " + std::to_wstring(face) + L" of mesh 3 ";
  if (c.kind < 3) {
    // A corner of its own, so that no other face sees the damage first.
    ON_3fPoint p = mesh.m_V[vi[c.corner]];
    const float bad[] = {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                         std::numeric_limits<float>::quiet_NaN()};
    (c.corner == 0 ? p.x : c.corner == 1 ? p.y : c.corner == 2 ? p.z : p.x) = bad[c.kind];
    vi[c.corner] = mesh.m_V.Count();
    mesh.m_V.Append(p);
    expected += L"has a corner whose coordinates are not finite numbers";
  } else {
    vi[c.corner] = c.kind == 3 ? -1 : mesh.VertexCount();
    expected += L"names vertex " + std::to_wstring(vi[c.corner]);
  }
  TempFolder folder;
  const auto path = folder / "old.stl";
  qmtest::WriteBytes(path, "an earlier export\n");
  EXPECT_EQ(QMSTL::MeshToSTL(meshes, PathOf(path.string()), c.type), 0);
  const std::wstring error = QMSTL::GetError().GetString();
  EXPECT_NE(error.find(expected), std::wstring::npos) << error;
  EXPECT_EQ(qmtest::ReadBytes(path), "an earlier export\n");
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"old.stl"});
}

std::vector<LateFault> LateFaults() {
  std::vector<LateFault> cases;
  for (int corner = 0; corner < 4; ++corner)
    for (int kind = 0; kind < 5; ++kind) cases.push_back({corner, kind, kind == 2 ? corner % 2 : 1});
  cases.push_back({3, 0, 0});
  cases.push_back({1, 4, 0});
  return cases;
}

std::string LateFaultName(const testing::TestParamInfo<LateFault>& info) {
  const char* kinds[] = {"Inf", "MinusInf", "NaN", "IndexMinusOne", "IndexPastEnd"};
  return std::string(info.param.type ? "Binary" : "Ascii") + kinds[info.param.kind] + "Corner" +
         std::to_string(info.param.corner);
}

INSTANTIATE_TEST_SUITE_P(Cases, StlWriterLateFault, testing::ValuesIn(LateFaults()), LateFaultName);

TEST(StlWriter, AsciiIsOneSolidBlockWithExactNumbers) {
  TempFolder folder;
  ON_ClassArray<ON_Mesh> meshes = BoxAndTetrahedron();
  meshes.Append(qmtest::Tetrahedron(ON_3dPoint(0.1, -1e-30, 0.7), 0.3));
  meshes.Append(qmtest::Tetrahedron(ON_3dPoint(-3e37, 1e37, 1.17549435e-38), 1e37));
  const auto path = folder / "parts.stl";
  ASSERT_EQ(QMSTL::MeshToSTL(meshes, PathOf(path.string()), 0), 1) << QMSTL::GetError().GetString();
  const std::string text = qmtest::ReadBytes(path);
  EXPECT_EQ(text.rfind("solid ", 0), 0u);
  EXPECT_EQ(CountOccurrences(text, "\nendsolid"), 1u);
  EXPECT_EQ(CountOccurrences(text, "solid"), 2u);  // "solid" and "endsolid"
  EXPECT_EQ(CountOccurrences(text, "facet normal"), 24u);
  EXPECT_EQ(CountOccurrences(text, "vertex"), 72u);
  EXPECT_EQ(text.back(), '\n');

  // Shortest round-trip numbers: reading back gives the very floats written.
  ON_Mesh back;
  ASSERT_EQ(QMSTL::STLToMesh(PathOf(path.string()), back), 1) << QMSTL::GetError().GetString();
  EXPECT_EQ(qmtest::Triangles(back), qmtest::Triangles(meshes));
}

TEST(StlWriter, EmptyListWritesValidEmptyFiles) {
  TempFolder folder;
  const ON_ClassArray<ON_Mesh> none;
  const auto binary = folder / "empty-binary.stl";
  const auto ascii = folder / "empty-ascii.stl";
  ASSERT_EQ(QMSTL::MeshToSTL(none, PathOf(binary.string()), 1), 1);
  ASSERT_EQ(QMSTL::MeshToSTL(none, PathOf(ascii.string()), 0), 1);
  const std::string bytes = qmtest::ReadBytes(binary);
  ASSERT_EQ(bytes.size(), 84u);
  EXPECT_EQ(CountField(bytes), 0u);
  EXPECT_EQ(qmtest::ReadBytes(ascii), "solid QMSTL\nendsolid QMSTL\n");
  for (const auto& path : {binary, ascii}) {
    ON_Mesh back = qmtest::Sentinel();
    ASSERT_EQ(QMSTL::STLToMesh(PathOf(path.string()), back), 1) << QMSTL::GetError().GetString();
    EXPECT_EQ(back.FaceCount(), 0);
    EXPECT_EQ(back.VertexCount(), 0);
    EXPECT_EQ(back.m_C.Count(), 0);
  }
}

TEST(StlWriter, ReplacesAnExistingFileAndLeavesNoTemporary) {
  TempFolder folder;
  const auto path = folder / "out.stl";
  qmtest::WriteBytes(path, std::string(100000, 'x'));
  ::chmod(path.c_str(), 0640);
  ASSERT_EQ(QMSTL::MeshToSTL(BoxAndTetrahedron(), PathOf(path.string()), 1), 1);
  EXPECT_EQ(qmtest::ReadBytes(path).size(), 84u + 50u * 16u);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"out.stl"});
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);  // the replaced file's mode is kept
}

namespace {

unsigned ModeOf(const std::filesystem::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : ~0u;
}

}  // namespace

// A file that nobody may write is refused before anything is written, also for the
// super-user, who could write it: its bytes and its mode stay as they were.
class StlWriterReadOnly : public testing::TestWithParam<unsigned> {};

TEST_P(StlWriterReadOnly, RefusesTheFileAndLeavesItAlone) {
  TempFolder folder;
  const auto path = folder / "locked.stl";
  const std::string oldContent = "an export that must stay\n";
  qmtest::WriteBytes(path, oldContent);
  ASSERT_EQ(::chmod(path.c_str(), GetParam()), 0);
  for (int type : {0, 1}) {
    EXPECT_EQ(QMSTL::MeshToSTL(BoxAndTetrahedron(), PathOf(path.string()), type), 0);
    EXPECT_EQ(std::wstring(QMSTL::GetError().GetString()),
              L"Unable to replace file " + plx::WideFromUtf8(path.string()) + L": it is read-only");
    EXPECT_EQ(qmtest::ReadBytes(path), oldContent);
    EXPECT_EQ(ModeOf(path), GetParam());
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"locked.stl"});
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, StlWriterReadOnly, testing::Values(0444u, 0400u, 0555u),
                         [](const testing::TestParamInfo<unsigned>& info) {
                           char name[16];
                           std::snprintf(name, sizeof name, "Mode%04o", info.param);
                           return std::string(name);
                         });

class StlWriterKeepsMode : public testing::TestWithParam<unsigned> {};

TEST_P(StlWriterKeepsMode, NewFileHasTheReplacedFilesPermissionBits) {
  TempFolder folder;
  const auto path = folder / "out.stl";
  qmtest::WriteBytes(path, "old");
  ASSERT_EQ(::chmod(path.c_str(), GetParam()), 0);
  ASSERT_EQ(QMSTL::MeshToSTL(BoxAndTetrahedron(), PathOf(path.string()), 1), 1) << QMSTL::GetError().GetString();
  EXPECT_EQ(qmtest::ReadBytes(path).size(), 84u + 50u * 16u);
  EXPECT_EQ(ModeOf(path), GetParam());
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"out.stl"});
}

// Setuid and setgid bits are not handed on to a data file.
INSTANTIATE_TEST_SUITE_P(Modes, StlWriterKeepsMode, testing::Values(0600u, 0640u, 0664u, 0666u, 0660u, 0602u),
                         [](const testing::TestParamInfo<unsigned>& info) {
                           char name[16];
                           std::snprintf(name, sizeof name, "Mode%04o", info.param);
                           return std::string(name);
                         });

TEST(StlWriter, SetIdBitsAreNotHandedOn) {
  TempFolder folder;
  const auto path = folder / "out.stl";
  qmtest::WriteBytes(path, "old");
  ASSERT_EQ(::chmod(path.c_str(), 06644), 0);
  ASSERT_EQ(QMSTL::MeshToSTL(BoxAndTetrahedron(), PathOf(path.string()), 0), 1) << QMSTL::GetError().GetString();
  EXPECT_EQ(ModeOf(path), 0644u);
}

// The super-user replacing someone else's file leaves it theirs.
TEST(StlWriter, ReplacedFileKeepsItsOwnerAndGroup) {
  if (::geteuid() != 0) GTEST_SKIP() << "only the super-user can give a file to another user";
  TempFolder folder;
  const auto path = folder / "theirs.stl";
  qmtest::WriteBytes(path, "old");
  ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_EQ(QMSTL::MeshToSTL(BoxAndTetrahedron(), PathOf(path.string()), 1), 1) << QMSTL::GetError().GetString();
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, 65534u);
  EXPECT_EQ(info.st_gid, 65534u);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(info.st_size, 84 + 50 * 16);
}

// A link stays a link: the file it leads to gets the new content, in its own folder, and a
// read-only file behind a link is refused like any other.
TEST(StlWriter, LinkIsFollowedToTheFileItLeadsTo) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "real");
  const auto real = folder / "real" / "model.stl";
  const auto link = folder / "link.stl";
  qmtest::WriteBytes(real, "old");
  ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
  std::filesystem::create_symlink("real/model.stl", link);
  ASSERT_EQ(QMSTL::MeshToSTL(BoxAndTetrahedron(), PathOf(link.string()), 1), 1) << QMSTL::GetError().GetString();
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(std::filesystem::read_symlink(link), "real/model.stl");
  EXPECT_EQ(qmtest::ReadBytes(real).size(), 84u + 50u * 16u);
  EXPECT_EQ(ModeOf(real), 0640u);
  auto entries = folder.Entries();
  std::sort(entries.begin(), entries.end());
  EXPECT_EQ(entries, (std::vector<std::string>{"link.stl", "real"}));

  const std::string written = qmtest::ReadBytes(real);
  ASSERT_EQ(::chmod(real.c_str(), 0444), 0);
  EXPECT_EQ(QMSTL::MeshToSTL(ON_ClassArray<ON_Mesh>(), PathOf(link.string()), 1), 0);
  EXPECT_EQ(std::wstring(QMSTL::GetError().GetString()),
            L"Unable to replace file " + plx::WideFromUtf8(link.string()) + L": it is read-only");
  EXPECT_EQ(qmtest::ReadBytes(real), written);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
}

// A dangling link names no file yet: it is replaced by the new file.
TEST(StlWriter, DanglingLinkIsReplacedByTheFile) {
  TempFolder folder;
  const auto link = folder / "dangling.stl";
  std::filesystem::create_symlink("nowhere/none.stl", link);
  ASSERT_EQ(QMSTL::MeshToSTL(BoxAndTetrahedron(), PathOf(link.string()), 0), 1) << QMSTL::GetError().GetString();
  EXPECT_FALSE(std::filesystem::is_symlink(link));
  EXPECT_TRUE(std::filesystem::is_regular_file(link));
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"dangling.stl"});
}

// Names up to the file system's 255 bytes: the temporary beside the target has a short name of
// its own, so it fits wherever the target's name fits.
TEST(StlWriter, NamesUpToTheLongestTheFolderTakes) {
  TempFolder folder;
  for (size_t length : {size_t{237}, size_t{238}, size_t{246}, size_t{254}, size_t{255}}) {
    const std::string name = std::string(length - 4, 'n') + ".stl";
    const auto path = folder / name;
    for (int type : {0, 1}) {
      ASSERT_EQ(QMSTL::MeshToSTL(BoxAndTetrahedron(), PathOf(path.string()), type), 1)
          << length << ": " << QMSTL::GetError().GetString();
      ON_Mesh back;
      ASSERT_EQ(QMSTL::STLToMesh(PathOf(path.string()), back), 1) << QMSTL::GetError().GetString();
      EXPECT_EQ(back.FaceCount(), 16);
    }
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{name});
    std::filesystem::remove(path);
  }
}

namespace {

// Runs as an ordinary user for its lifetime when the tests run as the super-user, who may write
// in any folder; an ordinary user's tests run as they are.
class OrdinaryUser {
 public:
  OrdinaryUser() {
    if (::geteuid() != 0) return;
    switched_ = ::setegid(kNobody) == 0 && ::seteuid(kNobody) == 0;
  }
  OrdinaryUser(const OrdinaryUser&) = delete;
  OrdinaryUser& operator=(const OrdinaryUser&) = delete;
  ~OrdinaryUser() {
    if (switched_ && (::seteuid(0) != 0 || ::setegid(0) != 0)) std::abort();
  }
  bool Ready() const { return ::geteuid() != 0; }

 private:
  static constexpr uid_t kNobody = 65534;
  bool switched_ = false;
};

}  // namespace

// A folder that takes no new file: the file in it cannot be replaced by a complete new one,
// even when the file itself may be written. The message names the folder and says why.
TEST(StlWriter, FolderThatTakesNoNewFileIsNamedAndTheFileKept) {
  TempFolder folder;
  ASSERT_EQ(::chmod(folder.Path().c_str(), 0755), 0);
  const auto locked = folder / "locked";
  std::filesystem::create_directory(locked);
  const auto writable = locked / "writable.stl";
  const auto othersFile = locked / "others.stl";
  const std::string oldContent = "kept as it was\n";
  qmtest::WriteBytes(writable, oldContent);
  qmtest::WriteBytes(othersFile, oldContent);
  ASSERT_EQ(::chmod(writable.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(othersFile.c_str(), 0644), 0);
  const auto viaLink = folder / "via link.stl";
  std::filesystem::create_symlink(writable, viaLink);
  ASSERT_EQ(::chmod(locked.c_str(), 0555), 0);

  const bool superUser = ::geteuid() == 0;  // others.stl then belongs to someone else
  std::vector<std::wstring> errors;
  std::vector<int> results;
  {
    const OrdinaryUser user;
    ASSERT_TRUE(user.Ready());
    // The separators as the caller wrote them come back in the message.
    const std::wstring folderShown = plx::WideFromUtf8(folder.Path().string()) + L"\\locked";
    for (const wchar_t* name : {L"writable.stl", L"others.stl", L"new.stl"}) {
      results.push_back(QMSTL::MeshToSTL(BoxAndTetrahedron(), CString(folderShown + L"\\" + name), 1));
      errors.push_back(QMSTL::GetError().GetString());
    }
    results.push_back(QMSTL::MeshToSTL(BoxAndTetrahedron(), PathOf(viaLink.string()), 0));
    errors.push_back(QMSTL::GetError().GetString());
  }
  const std::wstring shown = plx::WideFromUtf8(folder.Path().string()) + L"\\locked";
  EXPECT_EQ(results, (std::vector<int>{0, 0, 0, 0}));
  EXPECT_EQ(errors[0], L"Unable to replace file " + shown + L"\\writable.stl: no new file can be made in its folder " +
                           shown + L" (Permission denied), and the file is only replaced by a complete new one "
                           L"written in that folder");
  // A file the user may not write is refused for that reason, before the folder is tried.
  if (superUser) {
    EXPECT_EQ(errors[1], L"Unable to replace file " + shown + L"\\others.stl: Permission denied");
  }
  EXPECT_EQ(errors[2], L"Unable to create file " + shown + L"\\new.stl: Permission denied");
  // Through a link the folder named is the one that holds the file.
  EXPECT_EQ(errors[3], L"Unable to replace file " + plx::WideFromUtf8(viaLink.string()) +
                           L": no new file can be made in its folder " +
                           plx::WideFromUtf8(std::filesystem::canonical(locked).string()) +
                           L" (Permission denied), and the file is only replaced by a complete new one written "
                           L"in that folder");

  EXPECT_EQ(qmtest::ReadBytes(writable), oldContent);
  EXPECT_EQ(qmtest::ReadBytes(othersFile), oldContent);
  EXPECT_EQ(ModeOf(writable), 0666u);
  EXPECT_EQ(ModeOf(othersFile), 0644u);
  std::vector<std::string> entries;
  for (const auto& entry : std::filesystem::directory_iterator(locked)) entries.push_back(entry.path().filename().string());
  std::sort(entries.begin(), entries.end());
  EXPECT_EQ(entries, (std::vector<std::string>{"others.stl", "writable.stl"}));
  ::chmod(locked.c_str(), 0755);
}

TEST(StlWriter, WindowsSeparatorsAndUtf8Names) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "sub");
  std::wstring path = plx::WideFromUtf8(folder.Path().string());
  path += L"\\sub\\caf\u00e9 \u6f22.stl";
  ASSERT_EQ(QMSTL::MeshToSTL(BoxAndTetrahedron(), CString(path), 0), 1) << QMSTL::GetError().GetString();
  EXPECT_TRUE(std::filesystem::exists(folder / "sub" / "caf\xc3\xa9 \xe6\xbc\xa2.stl"));
  ON_Mesh back;
  EXPECT_EQ(QMSTL::STLToMesh(CString(path), back), 1) << QMSTL::GetError().GetString();
  EXPECT_EQ(back.FaceCount(), 16);
}

// Every failure keeps an existing target intact, leaves nothing beside it and says why.
struct FailureCase {
  const char* name;
  int type;
  int damage;  // 0 none, 1 a face index past the vertices, 2 a non-finite vertex, 3 a negative index
  const char* target;  // relative to the folder; "" for the prepared target
  const wchar_t* expected;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class StlWriterFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(StlWriterFailure, KeepsTheOldFileAndExplains) {
  const FailureCase& c = GetParam();
  TempFolder folder;
  const auto existing = folder / "old.stl";
  const std::string oldContent = "the previous export\n";
  qmtest::WriteBytes(existing, oldContent);
  std::filesystem::create_directory(folder / "a folder.stl");

  ON_ClassArray<ON_Mesh> meshes = BoxAndTetrahedron();
  if (c.damage == 1) meshes[1].m_F[2].vi[1] = 4;
  if (c.damage == 2) meshes[0].m_V[7].y = std::numeric_limits<float>::quiet_NaN();
  if (c.damage == 3) meshes[0].m_F[5].vi[3] = -2;

  const std::string target = *c.target ? (folder / c.target).string() : existing.string();
  EXPECT_EQ(QMSTL::MeshToSTL(meshes, PathOf(target), c.type), 0);
  const CString error = QMSTL::GetError();
  EXPECT_NE(std::wstring(error.GetString()).find(c.expected), std::wstring::npos) << error.GetString();
  EXPECT_EQ(qmtest::ReadBytes(existing), oldContent);
  auto entries = folder.Entries();
  std::sort(entries.begin(), entries.end());
  EXPECT_EQ(entries, (std::vector<std::string>{"a folder.stl", "old.stl"}));
  EXPECT_TRUE(std::filesystem::is_empty(folder / "a folder.stl"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StlWriterFailure,
    testing::Values(FailureCase{"TypeTwo", 2, 0, "", L"Unknown STL file type 2: use 0 for ASCII or 1 for binary"},
                    FailureCase{"TypeMinusOne", -1, 0, "", L"Unknown STL file type -1"},
                    FailureCase{"FaceIndexPastVertices", 1, 1, "", L"face 2 of mesh 1 names vertex 4, but the mesh has 4 vertices"},
                    FailureCase{"NegativeFaceIndexAscii", 0, 3, "", L"face 5 of mesh 0 names vertex -2"},
                    FailureCase{"NonFiniteVertexBinary", 1, 2, "", L"are not finite numbers"},
                    FailureCase{"NonFiniteVertexAscii", 0, 2, "", L"are not finite numbers"},
                    FailureCase{"MissingFolder", 1, 0, "no such folder/out.stl", L"Unable to create file "},
                    FailureCase{"TargetIsAFolder", 0, 0, "a folder.stl", L"it is a folder"}),
    [](const testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST(StlWriter, MissingFolderMessageNamesThePathAsGiven) {
  TempFolder folder;
  const std::string native = (folder / "missing").string();
  std::wstring shown = plx::WideFromUtf8(native) + L"\\out.stl";
  EXPECT_EQ(QMSTL::MeshToSTL(BoxAndTetrahedron(), CString(shown), 1), 0);
  EXPECT_EQ(std::wstring(QMSTL::GetError().GetString()),
            L"Unable to create file " + shown + L": No such file or directory");
}

TEST(StlWriter, EmptyPathFails) {
  EXPECT_EQ(QMSTL::MeshToSTL(BoxAndTetrahedron(), CString(L""), 1), 0);
  EXPECT_EQ(std::wstring(QMSTL::GetError().GetString()), L"Unable to create the STL file: no file name was given");
}

TEST(StlWriter, BinaryFacetCountLimit) {
  std::wstring error;
  EXPECT_TRUE(qmlib::CheckBinaryFacetCount(0xFFFFFFFFull, error));
  EXPECT_TRUE(error.empty());
  EXPECT_FALSE(qmlib::CheckBinaryFacetCount(0x100000000ull, error));
  EXPECT_EQ(error, L"Unable to write a binary STL file of 4294967296 facets: the format counts at most 4294967295");
}
