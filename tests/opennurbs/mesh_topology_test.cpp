// ON_MeshTopology through ON_Mesh::Topology: vertices joined by position, each edge once, the
// order of vertices and edges, the faces' sides, and a cache that follows the mesh.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "opennurbs.h"

namespace {

using Pairs = std::vector<std::pair<int, int>>;

ON_Mesh MeshOf(const std::vector<ON_3dPoint>& vertices,
               const std::vector<std::vector<int>>& faces) {
  ON_Mesh mesh;
  for (const ON_3dPoint& p : vertices) mesh.SetVertex(mesh.VertexCount(), p);
  for (const std::vector<int>& f : faces) {
    if (f.size() == 3)
      mesh.SetTriangle(mesh.FaceCount(), f[0], f[1], f[2]);
    else
      mesh.SetQuad(mesh.FaceCount(), f[0], f[1], f[2], f[3]);
  }
  return mesh;
}

// Two triangles on the unit square, sharing the diagonal 0-2.
ON_Mesh SharedEdge() {
  return MeshOf({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1, 2}, {0, 2, 3}});
}

ON_Mesh SharedEdgeRepeatedCorners() {
  return MeshOf({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 0}, {1, 1, 0}, {0, 1, 0}},
                {{0, 1, 2}, {3, 4, 5}});
}

const std::vector<ON_3dPoint> kBoxCorners = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                                             {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
const std::vector<std::vector<int>> kBoxQuads = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                                 {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};

ON_Mesh Box() { return MeshOf(kBoxCorners, kBoxQuads); }

// The box with four vertices of its own for each quad.
ON_Mesh BoxOfSeparateQuads() {
  std::vector<ON_3dPoint> vertices;
  std::vector<std::vector<int>> faces;
  for (const std::vector<int>& q : kBoxQuads) {
    std::vector<int> face;
    for (int corner : q) {
      face.push_back(static_cast<int>(vertices.size()));
      vertices.push_back(kBoxCorners[static_cast<size_t>(corner)]);
    }
    faces.push_back(face);
  }
  return MeshOf(vertices, faces);
}

Pairs Edges(const ON_MeshTopology& top) {
  Pairs edges;
  for (int e = 0; e < top.TopEdgeCount(); ++e)
    edges.emplace_back(top.m_tope[e].m_topvi[0], top.m_tope[e].m_topvi[1]);
  return edges;
}

struct CountCase {
  const char* name;
  ON_Mesh (*make)();
  int vertices;
  int edges;
  friend void PrintTo(const CountCase& c, std::ostream* os) { *os << c.name; }
};

class MeshTopologyCounts : public ::testing::TestWithParam<CountCase> {};

}  // namespace

TEST_P(MeshTopologyCounts, JoinVerticesByPositionAndGiveEachEdgeOnce) {
  const ON_Mesh mesh = GetParam().make();
  const ON_MeshTopology& top = mesh.Topology();
  EXPECT_EQ(top.TopVertexCount(), GetParam().vertices);
  EXPECT_EQ(top.TopEdgeCount(), GetParam().edges);
  EXPECT_EQ(top.TopFaceCount(), mesh.FaceCount());
  EXPECT_EQ(top.m_topv_map.Count(), mesh.VertexCount());
  EXPECT_EQ(top.m_mesh, &mesh);
  // Every edge lies between two distinct vertices and appears once.
  const Pairs edges = Edges(top);
  for (size_t e = 0; e < edges.size(); ++e) {
    EXPECT_LT(edges[e].first, edges[e].second);
    if (e > 0) {
      EXPECT_LT(edges[e - 1], edges[e]);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Meshes, MeshTopologyCounts,
    ::testing::Values(CountCase{"TwoTrianglesSharingAnEdge", SharedEdge, 4, 5},
                      CountCase{"TheSameWithRepeatedCorners", SharedEdgeRepeatedCorners, 4, 5},
                      CountCase{"BoxOfSixQuadsOnEightVertices", Box, 8, 12},
                      CountCase{"BoxOfSixSeparateQuads", BoxOfSeparateQuads, 8, 12},
                      CountCase{"Empty", [] { return ON_Mesh(); }, 0, 0},
                      CountCase{"TwoCoincidentVerticesWithoutFaces",
                                [] {
                                  return MeshOf({{1, 2, 3}, {1, 2, 3}}, {});
                                },
                                1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MeshTopology, OrdersVerticesByTheirFirstMeshVertexAndEdgesByTheirEnds) {
  const ON_Mesh mesh = SharedEdgeRepeatedCorners();
  const ON_MeshTopology& top = mesh.Topology();
  const std::vector<int> map(top.m_topv_map.Array(),
                             top.m_topv_map.Array() + top.m_topv_map.Count());
  EXPECT_EQ(map, (std::vector<int>{0, 1, 2, 0, 2, 3}));
  ASSERT_EQ(top.TopVertexCount(), 4);
  EXPECT_EQ(top.m_topv[0].m_v_count, 2);
  EXPECT_EQ(std::vector<int>(top.m_topv[0].m_vi, top.m_topv[0].m_vi + 2), (std::vector<int>{0, 3}));
  EXPECT_EQ(std::vector<int>(top.m_topv[2].m_vi, top.m_topv[2].m_vi + 2), (std::vector<int>{2, 4}));
  EXPECT_EQ(top.TopVertexPoint(3), ON_3dPoint(0, 1, 0));
  EXPECT_EQ(top.TopVertexPoint(4), ON_3dPoint(0, 0, 0));
  EXPECT_EQ(Edges(top), (Pairs{{0, 1}, {0, 2}, {0, 3}, {1, 2}, {2, 3}}));
  // The shared diagonal is the one edge with two faces.
  EXPECT_EQ(top.m_tope[1].m_topf_count, 2);
  EXPECT_EQ(top.m_tope[1].m_topfi[0], 0);
  EXPECT_EQ(top.m_tope[1].m_topfi[1], 1);
  EXPECT_EQ(top.m_tope[0].m_topf_count, 1);
  // Vertex 0 ends the edges 0-1, 0-2 and 0-3.
  EXPECT_EQ(
      std::vector<int>(top.m_topv[0].m_topei, top.m_topv[0].m_topei + top.m_topv[0].m_tope_count),
      (std::vector<int>{0, 1, 2}));
}

TEST(MeshTopology, FacesNameTheEdgeOfEachSideAndItsDirection) {
  const ON_Mesh mesh = SharedEdge();
  const ON_MeshTopology& top = mesh.Topology();
  // Face 0 runs 0-1, 1-2, 2-0: the third side runs against the edge 0-2.
  const ON_MeshTopologyFace& f0 = top.m_topf[0];
  EXPECT_EQ(std::vector<int>(f0.m_topei, f0.m_topei + 4), (std::vector<int>{0, 3, 1, 1}));
  EXPECT_EQ(std::vector<int>(f0.m_reve, f0.m_reve + 4), (std::vector<int>{0, 0, 1, 1}));
  EXPECT_TRUE(f0.IsTriangle());
  const ON_Mesh boxMesh = Box();
  const ON_MeshTopology& box = boxMesh.Topology();
  EXPECT_FALSE(box.m_topf[0].IsTriangle());
}

TEST(MeshTopology, JoinsSignedZerosAndKeepsNonFiniteVerticesApart) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  ON_Mesh mesh = MeshOf({{0, 0, 0}, {-0.0, 0, -0.0}, {1, 0, 0}}, {});
  mesh.SetVertex(3, ON_3fPoint(nan, 0, 0));
  mesh.SetVertex(4, ON_3fPoint(nan, 0, 0));
  const ON_MeshTopology& top = mesh.Topology();
  EXPECT_EQ(top.TopVertexCount(), 4);
  EXPECT_EQ(top.m_topv_map[1], 0);
  EXPECT_NE(top.m_topv_map[3], top.m_topv_map[4]);
}

TEST(MeshTopology, LeavesOutSidesOfNoLengthAndFacesThatNameMissingVertices) {
  // Corners 0 and 1 are at one place: the quad has three edges and one side without an edge.
  ON_Mesh mesh = MeshOf({{0, 0, 0}, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, {{0, 1, 2, 3}});
  mesh.SetTriangle(1, 0, 2, 9);
  const ON_MeshTopology& top = mesh.Topology();
  EXPECT_EQ(Edges(top), (Pairs{{0, 1}, {0, 2}, {1, 2}}));
  EXPECT_EQ(top.m_topf[0].m_topei[0], -1);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(top.m_topf[1].m_topei[k], -1);
}

TEST(MeshTopology, IsBuiltAgainAfterTheMeshChanges) {
  ON_Mesh mesh = SharedEdge();
  EXPECT_EQ(mesh.Topology().TopEdgeCount(), 5);
  const ON_Mesh copy = mesh;
  EXPECT_EQ(copy.Topology().m_mesh, &copy);

  mesh.SetVertex(3, ON_3dPoint(0, 0, 0));  // now at vertex 0: the triangle 0-2-3 has no area
  EXPECT_EQ(mesh.Topology().TopVertexCount(), 3);
  EXPECT_EQ(mesh.Topology().TopEdgeCount(), 3);

  ON_Mesh moved = std::move(mesh);
  EXPECT_EQ(moved.Topology().m_mesh, &moved);
  EXPECT_EQ(moved.Topology().TopEdgeCount(), 3);

  moved.Translate(ON_3dVector(1, 0, 0));
  EXPECT_EQ(moved.Topology().TopVertexPoint(1), ON_3dPoint(2, 0, 0));
  moved.m_F.Empty();
  moved.DestroyTopology();
  EXPECT_EQ(moved.Topology().TopEdgeCount(), 0);
  EXPECT_EQ(copy.Topology().TopEdgeCount(), 5);
}
