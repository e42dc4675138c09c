#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "opennurbs.h"

namespace {

ON_Mesh MeshOf(const std::vector<ON_3fPoint>& vertices, const std::vector<ON_MeshFace>& faces) {
  ON_Mesh mesh;
  for (const ON_3fPoint& v : vertices) mesh.m_V.Append(v);
  for (const ON_MeshFace& f : faces) mesh.m_F.Append(f);
  return mesh;
}

std::vector<int> Indices(const ON_MeshFace& f) { return {f.vi[0], f.vi[1], f.vi[2], f.vi[3]}; }

// Vertices 0..3 a unit square, 4 a copy of vertex 2's place, 5 apart.
const std::vector<ON_3fPoint> kPoints = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {1, 1, 0}, {2, 2, 2}};

}  // namespace

TEST(ONMeshCleanup, CullUnusedVerticesRenumbersFacesAndPerVertexArrays) {
  ON_Mesh mesh = MeshOf({{0, 0, 0}, {9, 9, 9}, {1, 0, 0}, {8, 8, 8}, {0, 1, 0}}, {{{0, 2, 4, 4}}});
  for (int i = 0; i < 5; ++i) mesh.m_N.Append(ON_3fVector(static_cast<float>(i), 0, 0));
  EXPECT_TRUE(mesh.CullUnusedVertices());
  ASSERT_EQ(mesh.VertexCount(), 3);
  EXPECT_EQ(mesh.m_V[1], ON_3fPoint(1, 0, 0));
  EXPECT_EQ(mesh.m_V[2], ON_3fPoint(0, 1, 0));
  EXPECT_EQ(Indices(mesh.m_F[0]), (std::vector<int>{0, 1, 2, 2}));
  ASSERT_EQ(mesh.m_N.Count(), 3);
  EXPECT_EQ(mesh.m_N[2].x, 4.0f);
  EXPECT_TRUE(mesh.IsValid());
}

TEST(ONMeshCleanup, CullUnusedVerticesKeepsTheMeshColourAndPerVertexColours) {
  ON_Mesh single = MeshOf({{0, 0, 0}, {5, 5, 5}, {1, 0, 0}, {0, 1, 0}}, {{{0, 2, 3, 3}}});
  single.m_C.Append(ON_Color(10, 20, 30));
  single.CullUnusedVertices();
  ASSERT_EQ(single.m_C.Count(), 1);
  EXPECT_EQ(single.m_C[0].Blue(), 30);

  ON_Mesh perVertex = MeshOf({{0, 0, 0}, {5, 5, 5}, {1, 0, 0}, {0, 1, 0}}, {{{0, 2, 3, 3}}});
  for (int i = 0; i < 4; ++i) perVertex.m_C.Append(ON_Color(i, 0, 0));
  perVertex.CullUnusedVertices();
  ASSERT_EQ(perVertex.m_C.Count(), 3);
  EXPECT_EQ(perVertex.m_C[1].Red(), 2);
}

TEST(ONMeshCleanup, CullUnusedVerticesLeavesBadIndicesBad) {
  ON_Mesh mesh = MeshOf(kPoints, {{{0, 1, 2, 2}}, {{-1, 1, 2, 2}}, {{0, 1, 9, 9}}});
  mesh.CullUnusedVertices();
  ASSERT_EQ(mesh.VertexCount(), 3);
  EXPECT_EQ(mesh.m_F[1].vi[0], -1);
  EXPECT_GE(mesh.m_F[2].vi[2], mesh.VertexCount());
}

struct DegenerateCase {
  const char* name;
  ON_MeshFace face;
  std::vector<int> expected;  // empty: the face is removed
};

void PrintTo(const DegenerateCase& c, std::ostream* os) { *os << c.name; }

class ONMeshDegenerate : public testing::TestWithParam<DegenerateCase> {};

TEST_P(ONMeshDegenerate, RepairsOrRemoves) {
  const DegenerateCase& c = GetParam();
  // A good triangle first, so that removal shows as a count of one.
  ON_Mesh mesh = MeshOf(kPoints, {{{0, 1, 5, 5}}, c.face});
  const bool unchanged = c.expected == Indices(c.face);
  EXPECT_EQ(mesh.CullDegenerateFaces(), unchanged ? 0 : 1);
  if (c.expected.empty()) {
    EXPECT_EQ(mesh.FaceCount(), 1);
  } else {
    ASSERT_EQ(mesh.FaceCount(), 2);
    EXPECT_EQ(Indices(mesh.m_F[1]), c.expected);
    EXPECT_TRUE(mesh.m_F[1].IsValid(mesh.VertexCount()));
  }
  EXPECT_EQ(Indices(mesh.m_F[0]), (std::vector<int>{0, 1, 5, 5}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ONMeshDegenerate,
    testing::Values(DegenerateCase{"GoodQuad", {{0, 1, 2, 3}}, {0, 1, 2, 3}},
                    DegenerateCase{"GoodTriangle", {{0, 1, 2, 2}}, {0, 1, 2, 2}},
                    DegenerateCase{"QuadRepeatsAnIndex", {{0, 1, 1, 3}}, {0, 1, 3, 3}},
                    DegenerateCase{"QuadCornersAtOnePlace", {{0, 1, 2, 4}}, {0, 1, 2, 2}},
                    DegenerateCase{"QuadEndsOnItsStart", {{0, 1, 2, 0}}, {0, 1, 2, 2}},
                    DegenerateCase{"QuadFoldedOnDiagonal", {{0, 1, 0, 3}}, {}},
                    DegenerateCase{"QuadFoldedOnOtherDiagonal", {{0, 1, 2, 1}}, {}},
                    DegenerateCase{"QuadOfTwoPoints", {{0, 1, 0, 1}}, {}},
                    DegenerateCase{"TriangleRepeatsAnIndex", {{0, 0, 2, 2}}, {}},
                    DegenerateCase{"TriangleCornersAtOnePlace", {{2, 4, 0, 0}}, {}},
                    DegenerateCase{"NegativeIndex", {{-1, 1, 2, 2}}, {}},
                    DegenerateCase{"IndexPastEnd", {{0, 1, 2, 6}}, {}}),
    [](const testing::TestParamInfo<DegenerateCase>& info) { return std::string(info.param.name); });

TEST(ONMeshCleanup, FaceNormalsFollowTheirFaces) {
  ON_Mesh mesh = MeshOf(kPoints, {{{0, 0, 1, 1}}, {{0, 1, 2, 2}}, {{-1, 0, 1, 1}}, {{0, 2, 3, 3}}});
  for (int i = 0; i < 4; ++i) mesh.m_FN.Append(ON_3fVector(static_cast<float>(i), 0, 0));
  EXPECT_EQ(mesh.CullDegenerateFaces(), 2);
  ASSERT_EQ(mesh.FaceCount(), 2);
  ASSERT_EQ(mesh.m_FN.Count(), 2);
  EXPECT_EQ(mesh.m_FN[0].x, 1.0f);
  EXPECT_EQ(mesh.m_FN[1].x, 3.0f);
}

TEST(ONMeshCleanup, ReaderSequenceLeavesOnlyUsedVerticesAndGoodFaces) {
  // As a polyface reader builds it: a face naming vertex 0 (index -1), one past the end,
  // a vertex no face names, a vertex only a dropped face names.
  ON_Mesh mesh;
  const ON_3dPoint points[] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {7, 7, 7}, {8, 8, 8}};
  for (int i = 0; i < 6; ++i) mesh.SetVertex(i, points[i]);
  mesh.SetQuad(0, 0, 1, 2, 3);
  mesh.SetTriangle(1, -1, 1, 2);
  mesh.SetTriangle(2, 0, 1, 6);
  mesh.SetTriangle(3, 0, 5, 5);
  mesh.CullUnusedVertices();
  mesh.CullDegenerateFaces();
  mesh.Compact();
  EXPECT_EQ(mesh.FaceCount(), 1);
  EXPECT_EQ(mesh.VertexCount(), 4);
  EXPECT_EQ(mesh.m_V.Capacity(), 4);
  EXPECT_EQ(Indices(mesh.m_F[0]), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_TRUE(mesh.IsValid());
}

TEST(ONMeshCleanup, MeshWithoutGoodFacesEndsInvalid) {
  ON_Mesh mesh = MeshOf(kPoints, {{{0, 0, 1, 1}}, {{2, 4, 4, 4}}});
  mesh.CullUnusedVertices();
  mesh.CullDegenerateFaces();
  mesh.Compact();
  EXPECT_EQ(mesh.FaceCount(), 0);
  EXPECT_EQ(mesh.VertexCount(), 0);
  EXPECT_FALSE(mesh.IsValid());
}

TEST(ONMeshCleanup, LargeGridStaysIntact) {
  // 1000 x 1000 quads with every vertex used: nothing may change.
  const int n = 1000;
  ON_Mesh mesh((n) * (n), (n + 1) * (n + 1), false, false);
  for (int r = 0; r <= n; ++r)
    for (int c = 0; c <= n; ++c) mesh.m_V.Append(ON_3fPoint(static_cast<float>(c), static_cast<float>(r), 0));
  for (int r = 0; r < n; ++r)
    for (int c = 0; c < n; ++c) {
      const int d = r * (n + 1) + c;
      mesh.m_F.Append(ON_MeshFace{{d, d + 1, d + n + 2, d + n + 1}});
    }
  mesh.CullUnusedVertices();
  EXPECT_EQ(mesh.CullDegenerateFaces(), 0);
  mesh.Compact();
  EXPECT_EQ(mesh.VertexCount(), (n + 1) * (n + 1));
  EXPECT_EQ(mesh.QuadCount(), n * n);
  EXPECT_TRUE(mesh.IsValid());
}
