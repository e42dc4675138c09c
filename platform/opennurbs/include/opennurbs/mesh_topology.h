// ON_MeshTopology: how the faces of an ON_Mesh meet. Mesh vertices at exactly one position
// (single-precision coordinates compared as values, so 0 and -0 agree and a vertex with a NaN
// coordinate stands alone) become one topological vertex; each side that faces share becomes
// one topological edge. Built by ON_Mesh::Topology on first use and kept until the mesh
// changes through one of its members.
#pragma once

#include "opennurbs/array.h"
#include "opennurbs/point.h"

class ON_Mesh;

struct ON_MeshTopologyVertex {
  int m_tope_count;    // edges that end at this vertex
  const int* m_topei;  // their indices, ascending
  int m_v_count;       // mesh vertices at this position (at least one)
  const int* m_vi;     // their indices, ascending; m_vi[0] gives the vertex its order
};

struct ON_MeshTopologyEdge {
  int m_topvi[2];      // the lower topological vertex, then the upper one
  int m_topf_count;    // faces that have this edge as a side
  const int* m_topfi;  // their indices, ascending (a face that names the edge twice, twice)
};

struct ON_MeshTopologyFace {
  // The edge of each side: side k runs from corner k to corner k + 1 (a triangle's third side
  // back to corner 0, its m_topei[3] repeating m_topei[2]). -1 for a side whose ends are one
  // topological vertex, and for every side of a face that names a vertex the mesh lacks.
  int m_topei[4];
  // 1 when the side runs from the edge's m_topvi[1] to its m_topvi[0].
  char m_reve[4];
  bool IsTriangle() const { return m_topei[2] == m_topei[3] && m_reve[2] == m_reve[3]; }
};

class ON_MeshTopology {
 public:
  ON_MeshTopology() = default;
  ON_MeshTopology(const ON_MeshTopology&) = delete;
  ON_MeshTopology& operator=(const ON_MeshTopology&) = delete;

  // Builds the topology of mesh, which must outlive it and not change meanwhile. True on
  // success; an empty mesh gives an empty topology.
  bool Create(const ON_Mesh& mesh);
  void Destroy();

  int TopVertexCount() const { return m_topv.Count(); }
  int TopEdgeCount() const { return m_tope.Count(); }
  int TopFaceCount() const { return m_topf.Count(); }
  // The position of the topological vertex (that of its first mesh vertex); the origin for
  // an index out of range.
  ON_3dPoint TopVertexPoint(int topvi) const;
  bool IsValid() const { return m_mesh != nullptr; }

  const ON_Mesh* m_mesh = nullptr;
  ON_SimpleArray<int> m_topv_map;                // mesh vertex index to topological vertex
  ON_SimpleArray<ON_MeshTopologyVertex> m_topv;  // in the order of their first mesh vertex
  ON_SimpleArray<ON_MeshTopologyEdge> m_tope;    // by lower, then upper topological vertex
  ON_SimpleArray<ON_MeshTopologyFace> m_topf;    // one per mesh face, in face order

 private:
  // The index lists that the vertices and edges point into.
  ON_SimpleArray<int> vi_;
  ON_SimpleArray<int> topei_;
  ON_SimpleArray<int> topfi_;
};
