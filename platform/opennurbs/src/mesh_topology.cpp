// ON_MeshTopology: vertices joined by position through a hash of their coordinates, edges
// from the sides of every face, sorted by their two topological vertices and made unique.
// Linear in the mesh size apart from the sort of the sides.
#include "opennurbs/mesh_topology.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "opennurbs/mesh.h"

namespace {

struct PositionKey {
  float x, y, z;
  friend bool operator==(const PositionKey& a, const PositionKey& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
  }
};

struct PositionHash {
  size_t operator()(const PositionKey& k) const {
    // + 0.0f turns -0 into +0, so that the two equal values hash alike.
    const float v[3] = {k.x + 0.0f, k.y + 0.0f, k.z + 0.0f};
    uint32_t bits[3];
    std::memcpy(bits, v, sizeof bits);
    uint64_t h = 1469598103934665603ull;
    for (uint32_t b : bits) h = (h ^ b) * 1099511628211ull;
    return static_cast<size_t>(h ^ (h >> 29));
  }
};

// One side of one face, its ends ordered low to high.
struct Side {
  int low, high;
  int face, corner;
  bool reversed;
};

// The element at offset of a list that may not have been allocated (when it is empty).
const int* At(const ON_SimpleArray<int>& list, int offset) {
  return list.Array() ? list.Array() + offset : nullptr;
}

}  // namespace

void ON_MeshTopology::Destroy() {
  m_mesh = nullptr;
  m_topv_map.Destroy();
  m_topv.Destroy();
  m_tope.Destroy();
  m_topf.Destroy();
  vi_.Destroy();
  topei_.Destroy();
  topfi_.Destroy();
}

bool ON_MeshTopology::Create(const ON_Mesh& mesh) {
  Destroy();
  const int vertexCount = mesh.m_V.Count();
  const int faceCount = mesh.m_F.Count();

  // Topological vertices, numbered in the order of their first mesh vertex.
  m_topv_map.Reserve(static_cast<size_t>(vertexCount));
  std::unordered_map<PositionKey, int, PositionHash> byPosition;
  byPosition.reserve(static_cast<size_t>(vertexCount));
  std::vector<int> vertexCounts;
  for (int i = 0; i < vertexCount; ++i) {
    const ON_3fPoint& p = mesh.m_V[i];
    int top = static_cast<int>(vertexCounts.size());
    if (p.IsValid()) {
      // A NaN is unequal to itself, so only finite positions go through the map.
      const auto found = byPosition.emplace(PositionKey{p.x, p.y, p.z}, top);
      if (!found.second) top = found.first->second;
    }
    if (top == static_cast<int>(vertexCounts.size())) vertexCounts.push_back(0);
    ++vertexCounts[static_cast<size_t>(top)];
    m_topv_map.Append(top);
  }
  const int topCount = static_cast<int>(vertexCounts.size());

  // Each vertex's mesh vertices, ascending, in one shared list.
  std::vector<int> vertexStart(static_cast<size_t>(topCount) + 1, 0);
  for (int t = 0; t < topCount; ++t) vertexStart[t + 1] = vertexStart[t] + vertexCounts[t];
  vi_.SetCapacity(static_cast<size_t>(vertexCount));
  vi_.SetCount(vertexCount);
  {
    std::vector<int> fill(vertexStart.begin(), vertexStart.end() - 1);
    for (int i = 0; i < vertexCount; ++i) vi_[fill[m_topv_map[i]]++] = i;
  }

  // The sides of every face whose indices all name vertices.
  std::vector<Side> sides;
  sides.reserve(static_cast<size_t>(faceCount) * 4);
  m_topf.Reserve(static_cast<size_t>(faceCount));
  for (int f = 0; f < faceCount; ++f) {
    const ON_MeshFace& face = mesh.m_F[f];
    ON_MeshTopologyFace& topFace = m_topf.AppendNew();
    for (int k = 0; k < 4; ++k) topFace.m_topei[k] = -1;
    bool inRange = true;
    for (int index : face.vi) inRange = inRange && index >= 0 && index < vertexCount;
    if (!inRange) continue;
    const int corners = face.IsTriangle() ? 3 : 4;
    for (int k = 0; k < corners; ++k) {
      const int a = m_topv_map[face.vi[k]];
      const int b = m_topv_map[face.vi[(k + 1) % corners]];
      if (a == b) continue;  // a side of no length is no edge
      sides.push_back(Side{std::min(a, b), std::max(a, b), f, k, a > b});
    }
  }
  std::sort(sides.begin(), sides.end(), [](const Side& a, const Side& b) {
    if (a.low != b.low) return a.low < b.low;
    if (a.high != b.high) return a.high < b.high;
    if (a.face != b.face) return a.face < b.face;
    return a.corner < b.corner;
  });

  // Edges: one per run of equal ends; their faces in the shared face list.
  topfi_.SetCapacity(sides.size());
  std::vector<int> edgeFaceStart;
  std::vector<int> vertexEdgeCounts(static_cast<size_t>(topCount), 0);
  for (size_t s = 0; s < sides.size(); ++s) {
    const Side& side = sides[s];
    if (s == 0 || side.low != sides[s - 1].low || side.high != sides[s - 1].high) {
      ON_MeshTopologyEdge& edge = m_tope.AppendNew();
      edge.m_topvi[0] = side.low;
      edge.m_topvi[1] = side.high;
      edgeFaceStart.push_back(topfi_.Count());
      ++vertexEdgeCounts[static_cast<size_t>(side.low)];
      ++vertexEdgeCounts[static_cast<size_t>(side.high)];
    }
    const int e = m_tope.Count() - 1;
    ++m_tope[e].m_topf_count;
    topfi_.Append(side.face);
    ON_MeshTopologyFace& topFace = m_topf[side.face];
    topFace.m_topei[side.corner] = e;
    topFace.m_reve[side.corner] = side.reversed ? 1 : 0;
  }
  for (int f = 0; f < faceCount; ++f) {
    if (!mesh.m_F[f].IsTriangle()) continue;
    m_topf[f].m_topei[3] = m_topf[f].m_topei[2];
    m_topf[f].m_reve[3] = m_topf[f].m_reve[2];
  }
  for (int e = 0; e < m_tope.Count(); ++e) m_tope[e].m_topfi = At(topfi_, edgeFaceStart[e]);

  // Each vertex's edges, ascending: the edges are visited in order.
  std::vector<int> edgeStart(static_cast<size_t>(topCount) + 1, 0);
  for (int t = 0; t < topCount; ++t) edgeStart[t + 1] = edgeStart[t] + vertexEdgeCounts[t];
  topei_.SetCapacity(static_cast<size_t>(edgeStart[topCount]));
  topei_.SetCount(edgeStart[topCount]);
  {
    std::vector<int> fill(edgeStart.begin(), edgeStart.end() - 1);
    for (int e = 0; e < m_tope.Count(); ++e)
      for (int end : m_tope[e].m_topvi) topei_[fill[end]++] = e;
  }

  m_topv.Reserve(static_cast<size_t>(topCount));
  for (int t = 0; t < topCount; ++t) {
    ON_MeshTopologyVertex& v = m_topv.AppendNew();
    v.m_v_count = vertexCounts[t];
    v.m_vi = At(vi_, vertexStart[t]);
    v.m_tope_count = vertexEdgeCounts[t];
    v.m_topei = At(topei_, edgeStart[t]);
  }
  m_mesh = &mesh;
  return true;
}

ON_3dPoint ON_MeshTopology::TopVertexPoint(int topvi) const {
  if (!m_mesh || topvi < 0 || topvi >= m_topv.Count()) return ON_3dPoint();
  return ON_3dPoint(m_mesh->m_V[m_topv[topvi].m_vi[0]]);
}
