// ON_Mesh clean-ups. Each is one pass over the faces and at most one over the vertices, with
// an index map the size of the vertex list, so the cost is linear in the mesh size.
#include <vector>

#include "opennurbs/mesh.h"

namespace {

// Keeps the entries of a per-vertex array whose new index is not -1, in order.
template <class Array>
void CompactPerVertex(Array& values, const std::vector<int>& newIndex, int keptCount) {
  for (int i = 0; i < static_cast<int>(newIndex.size()); ++i) {
    if (newIndex[i] >= 0) values[newIndex[i]] = values[i];
  }
  values.SetCount(keptCount);
}

}  // namespace

bool ON_Mesh::CullUnusedVertices() {
  DestroyTopology();
  const int vertexCount = m_V.Count();
  std::vector<int> newIndex(static_cast<size_t>(vertexCount), -1);
  for (int f = 0; f < m_F.Count(); ++f) {
    for (int index : m_F[f].vi) {
      if (index >= 0 && index < vertexCount) newIndex[index] = 0;
    }
  }
  int kept = 0;
  for (int& index : newIndex) {
    if (index == 0) index = kept++;
  }
  if (kept == vertexCount) return true;

  // Per-vertex arrays follow only when they are per vertex; a single mesh colour stays.
  const bool perVertexNormals = m_N.Count() == vertexCount;
  const bool perVertexColours = m_C.Count() == vertexCount;
  CompactPerVertex(m_V, newIndex, kept);
  if (perVertexNormals) CompactPerVertex(m_N, newIndex, kept);
  if (perVertexColours) CompactPerVertex(m_C, newIndex, kept);

  // Out-of-range indices stay out of range: the list only shrinks.
  for (int f = 0; f < m_F.Count(); ++f) {
    for (int& index : m_F[f].vi) {
      if (index >= 0 && index < vertexCount) index = newIndex[index];
    }
  }
  return true;
}

int ON_Mesh::CullDegenerateFaces() {
  DestroyTopology();
  const int vertexCount = m_V.Count();
  const bool faceNormals = HasFaceNormals();
  auto same = [this](int a, int b) { return a == b || m_V[a] == m_V[b]; };

  int changed = 0;
  int kept = 0;
  for (int f = 0; f < m_F.Count(); ++f) {
    const ON_MeshFace face = m_F[f];
    const int cornerCount = face.IsTriangle() ? 3 : 4;
    bool inRange = true;
    for (int k = 0; k < cornerCount; ++k) inRange = inRange && face.vi[k] >= 0 && face.vi[k] < vertexCount;
    if (!inRange) {
      ++changed;
      continue;
    }

    // Collapse corners that repeat their predecessor, cyclically.
    int corners[4];
    int n = 0;
    for (int k = 0; k < cornerCount; ++k) {
      if (n == 0 || !same(corners[n - 1], face.vi[k])) corners[n++] = face.vi[k];
    }
    while (n > 1 && same(corners[n - 1], corners[0])) --n;
    // A quad whose opposite corners meet covers no area: both of its triangles fold.
    const bool folded = n == 4 && (same(corners[0], corners[2]) || same(corners[1], corners[3]));
    if (n < 3 || folded) {
      ++changed;
      continue;
    }
    ON_MeshFace repaired = face;
    if (n == 3) {
      repaired = ON_MeshFace{{corners[0], corners[1], corners[2], corners[2]}};
      if (cornerCount != 3 || repaired.vi[0] != face.vi[0] || repaired.vi[1] != face.vi[1] ||
          repaired.vi[2] != face.vi[2])
        ++changed;
    }
    if (faceNormals) m_FN[kept] = m_FN[f];
    m_F[kept++] = repaired;
  }
  m_F.SetCount(kept);
  if (faceNormals) m_FN.SetCount(kept);
  return changed;
}

bool ON_Mesh::Compact() {
  CullUnusedVertices();
  m_V.Shrink();
  m_F.Shrink();
  m_N.Shrink();
  m_FN.Shrink();
  m_C.Shrink();
  return true;
}
