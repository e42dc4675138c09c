#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "opennurbs.h"

namespace {

// A unit square as one quad (0, 1, 2, 3) plus a triangle (0, 1, 4) above it.
ON_Mesh SquareAndTriangle() {
  ON_Mesh mesh;
  mesh.SetVertex(0, ON_3dPoint(0, 0, 0));
  mesh.SetVertex(1, ON_3dPoint(1, 0, 0));
  mesh.SetVertex(2, ON_3dPoint(1, 1, 0));
  mesh.SetVertex(3, ON_3dPoint(0, 1, 0));
  mesh.SetVertex(4, ON_3dPoint(0.5, 0, 1));
  mesh.SetQuad(0, 0, 1, 2, 3);
  mesh.SetTriangle(1, 0, 1, 4);
  return mesh;
}

}  // namespace

TEST(ONMesh, SettersSetOrAppendAndRefuseGaps) {
  ON_Mesh mesh;
  EXPECT_TRUE(mesh.SetVertex(0, ON_3dPoint(1, 2, 3)));
  EXPECT_FALSE(mesh.SetVertex(2, ON_3dPoint(0, 0, 0)));
  EXPECT_FALSE(mesh.SetVertex(-1, ON_3dPoint(0, 0, 0)));
  EXPECT_TRUE(mesh.SetVertex(0, ON_3fPoint(4, 5, 6)));
  EXPECT_EQ(mesh.VertexCount(), 1);
  EXPECT_EQ(mesh.m_V[0], ON_3fPoint(4, 5, 6));

  EXPECT_TRUE(mesh.SetTriangle(0, 0, 1, 2));
  EXPECT_FALSE(mesh.SetQuad(2, 0, 1, 2, 3));
  EXPECT_TRUE(mesh.SetQuad(1, 0, 1, 2, 3));
  EXPECT_TRUE(mesh.SetQuad(0, 3, 2, 1, 0));
  ASSERT_EQ(mesh.FaceCount(), 2);
  EXPECT_EQ(mesh.m_F[0].vi[0], 3);
  EXPECT_TRUE(mesh.m_F[0].IsQuad());
  // Invalid indices are stored as given: the clean-ups deal with them.
  EXPECT_TRUE(mesh.SetTriangle(2, -1, 7, 9));
  EXPECT_EQ(mesh.m_F[2].vi[0], -1);
  EXPECT_EQ(mesh.m_F[2].vi[3], 9);
}

TEST(ONMesh, TrianglesRepeatTheThirdIndex) {
  const ON_Mesh mesh = SquareAndTriangle();
  EXPECT_EQ(mesh.FaceCount(), 2);
  EXPECT_EQ(mesh.TriangleCount(), 1);
  EXPECT_EQ(mesh.QuadCount(), 1);
  EXPECT_EQ(mesh.m_F[1].vi[2], mesh.m_F[1].vi[3]);
  EXPECT_TRUE(mesh.IsValid());
}

TEST(ONMesh, CopyIsDeepAndAssignmentReplacesEverything) {
  ON_Mesh original = SquareAndTriangle();
  original.m_C.Append(ON_Color(10, 20, 30));
  ON_Mesh copy(original);
  copy.m_V[0] = ON_3fPoint(9, 9, 9);
  copy.m_F[0].vi[0] = 4;
  EXPECT_EQ(original.m_V[0], ON_3fPoint(0, 0, 0));
  EXPECT_EQ(original.m_F[0].vi[0], 0);
  ASSERT_EQ(copy.m_C.Count(), 1);

  ON_Mesh target;
  target.SetVertex(0, ON_3dPoint(5, 5, 5));
  target.m_C.Append(ON_Color(1, 1, 1));
  target.m_C.Append(ON_Color(2, 2, 2));
  target.m_N.Append(ON_3fVector(0, 0, 1));
  target = original;
  EXPECT_EQ(target.VertexCount(), 5);
  EXPECT_EQ(target.FaceCount(), 2);
  ASSERT_EQ(target.m_C.Count(), 1);
  EXPECT_EQ(static_cast<unsigned int>(target.m_C[0]), static_cast<unsigned int>(ON_Color(10, 20, 30)));
  EXPECT_EQ(target.m_N.Count(), 0);

  target = ON_Mesh();
  EXPECT_EQ(target.VertexCount(), 0);
  EXPECT_EQ(target.m_C.Count(), 0);
}

TEST(ONMesh, ListAppendCopiesTheWorkingMesh) {
  ON_ClassArray<ON_Mesh> meshes;
  ON_Mesh working = SquareAndTriangle();
  meshes.Append(working);
  working.m_V[0] = ON_3fPoint(-1, -1, -1);
  meshes.Append(working);
  ASSERT_EQ(meshes.Count(), 2);
  EXPECT_EQ(meshes[0].m_V[0], ON_3fPoint(0, 0, 0));
  EXPECT_EQ(meshes[1].m_V[0], ON_3fPoint(-1, -1, -1));
  meshes.Destroy();
  EXPECT_EQ(meshes.Count(), 0);
}

TEST(ONMesh, MoveLeavesTheSourceEmpty) {
  ON_Mesh source = SquareAndTriangle();
  ON_Mesh target(std::move(source));
  EXPECT_EQ(target.FaceCount(), 2);
  EXPECT_EQ(source.FaceCount(), 0);  // NOLINT: moved-from state is specified
  EXPECT_EQ(source.VertexCount(), 0);
}

TEST(ONMesh, CapacityConstructorReservesOnly) {
  const ON_Mesh mesh(100, 200, true, false);
  EXPECT_EQ(mesh.FaceCount(), 0);
  EXPECT_EQ(mesh.VertexCount(), 0);
  EXPECT_GE(mesh.m_F.Capacity(), 100);
  EXPECT_GE(mesh.m_V.Capacity(), 200);
  EXPECT_GE(mesh.m_N.Capacity(), 200);
}

TEST(ONMesh, DestroyReleasesAndEmptyKeepsStorage) {
  ON_Mesh mesh = SquareAndTriangle();
  mesh.m_C.Append(ON_Color(1, 2, 3));
  mesh.Empty();
  EXPECT_EQ(mesh.VertexCount(), 0);
  EXPECT_EQ(mesh.FaceCount(), 0);
  EXPECT_EQ(mesh.m_C.Count(), 0);
  EXPECT_GE(mesh.m_V.Capacity(), 5);
  mesh = SquareAndTriangle();
  mesh.Destroy();
  EXPECT_EQ(mesh.VertexCount(), 0);
  EXPECT_EQ(mesh.m_V.Capacity(), 0);
  EXPECT_EQ(mesh.m_F.Capacity(), 0);
}

TEST(ONMesh, TranslateMovesInDoubleAndBoundsFollow) {
  ON_Mesh mesh = SquareAndTriangle();
  EXPECT_TRUE(mesh.Translate(ON_3dVector(-5, 0, 1)));
  const ON_BoundingBox box = mesh.BoundingBox();
  ASSERT_TRUE(box.IsValid());
  EXPECT_EQ(box.m_min, ON_3dPoint(-5, 0, 1));
  EXPECT_EQ(box.m_max, ON_3dPoint(-4, 1, 2));
  EXPECT_EQ(mesh.m_V[4], ON_3fPoint(-4.5f, 0, 2));
  // Moving there and back keeps float vertices where they were.
  ON_Mesh far = SquareAndTriangle();
  far.m_V[4] = ON_3fPoint(0.1f, 0.2f, 0.3f);
  far.Translate(ON_3dVector(5, 0, 1));
  far.Translate(ON_3dVector(-5, 0, -1));
  EXPECT_NEAR(far.m_V[4].x, 0.1f, 1e-6f);
  EXPECT_FALSE(mesh.Translate(ON_3dVector(std::numeric_limits<double>::infinity(), 0, 0)));
  EXPECT_EQ(mesh.m_V[0], ON_3fPoint(-5, 0, 1));
  EXPECT_FALSE(ON_Mesh().BoundingBox().IsValid());
}

TEST(ONMesh, TranslateThroughGeometryBase) {
  ON_Mesh mesh = SquareAndTriangle();
  ON_Geometry& geometry = mesh;
  EXPECT_TRUE(geometry.Translate(ON_3dVector(1, 1, 1)));
  EXPECT_EQ(mesh.m_V[0], ON_3fPoint(1, 1, 1));
}

struct ValidityCase {
  const char* name;
  std::vector<ON_3fPoint> vertices;
  std::vector<ON_MeshFace> faces;
  int normals;  // -1: one per vertex
  bool valid;
};

void PrintTo(const ValidityCase& c, std::ostream* os) { *os << c.name; }

class ONMeshValidity : public testing::TestWithParam<ValidityCase> {};

TEST_P(ONMeshValidity, MatchesExpectation) {
  const ValidityCase& c = GetParam();
  ON_Mesh mesh;
  for (const ON_3fPoint& v : c.vertices) mesh.m_V.Append(v);
  for (const ON_MeshFace& f : c.faces) mesh.m_F.Append(f);
  const int normals = c.normals < 0 ? mesh.VertexCount() : c.normals;
  for (int i = 0; i < normals; ++i) mesh.m_N.Append(ON_3fVector(0, 0, 1));
  mesh.m_C.Append(ON_Color(1, 2, 3));  // one mesh colour never makes a mesh invalid
  ON_TextLog log;
  EXPECT_EQ(mesh.IsValid(&log), c.valid);
  EXPECT_EQ(log.Text().empty(), c.valid) << log.Text();
  EXPECT_EQ(mesh.IsValid(nullptr), c.valid);
}

const std::vector<ON_3fPoint> kFour = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
const float kInf = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Cases, ONMeshValidity,
    testing::Values(ValidityCase{"Triangle", kFour, {{{0, 1, 2, 2}}}, 0, true},
                    ValidityCase{"Quad", kFour, {{{0, 1, 2, 3}}}, 0, true},
                    ValidityCase{"VertexNormals", kFour, {{{0, 1, 2, 3}}}, -1, true},
                    ValidityCase{"NoFaces", kFour, {}, 0, false},
                    ValidityCase{"TwoVertices", {{0, 0, 0}, {1, 0, 0}}, {{{0, 1, 1, 1}}}, 0, false},
                    ValidityCase{"NegativeIndex", kFour, {{{-1, 1, 2, 2}}}, 0, false},
                    ValidityCase{"IndexPastEnd", kFour, {{{0, 1, 4, 4}}}, 0, false},
                    ValidityCase{"QuadFourthPastEnd", kFour, {{{0, 1, 2, 4}}}, 0, false},
                    ValidityCase{"RepeatedCorner", kFour, {{{0, 0, 2, 2}}}, 0, false},
                    ValidityCase{"QuadClosesOnFirst", kFour, {{{0, 1, 2, 0}}}, 0, false},
                    ValidityCase{"NonFiniteVertex", {{0, 0, 0}, {1, 0, 0}, {kInf, 1, 0}}, {{{0, 1, 2, 2}}}, 0, false},
                    ValidityCase{"NormalCountMismatch", kFour, {{{0, 1, 2, 3}}}, 2, false}),
    [](const testing::TestParamInfo<ValidityCase>& info) { return std::string(info.param.name); });
