// ON_Mesh: a polygon mesh of triangles and quads over single-precision vertices, as openNURBS
// holds it. A face names four vertex indices; a triangle repeats its third (vi[2] == vi[3]).
#pragma once

#include "opennurbs/array.h"
#include "opennurbs/bounding_box.h"
#include "opennurbs/color.h"
#include "opennurbs/mesh_topology.h"
#include "opennurbs/object.h"
#include "opennurbs/point.h"
#include "opennurbs/text_log.h"

struct ON_MeshFace {
  int vi[4];

  bool IsTriangle() const { return vi[2] == vi[3]; }
  bool IsQuad() const { return vi[2] != vi[3]; }
  // True when every index names one of mesh_vertex_count vertices and the corners are
  // distinct (apart from the repeated third index of a triangle).
  bool IsValid(int mesh_vertex_count) const;
};

class ON_3fPointArray : public ON_SimpleArray<ON_3fPoint> {
 public:
  using ON_SimpleArray<ON_3fPoint>::ON_SimpleArray;
};

class ON_3fVectorArray : public ON_SimpleArray<ON_3fVector> {
 public:
  using ON_SimpleArray<ON_3fVector>::ON_SimpleArray;
};

class ON_Mesh : public ON_Geometry {
 public:
  ON_Mesh();
  // Reserves room for the given numbers of faces and vertices (negative counts reserve
  // nothing); has_vertex_normals reserves the normals too. Texture coordinates are not held.
  ON_Mesh(int initial_face_array_capacity, int initial_vertex_array_capacity, bool has_vertex_normals,
          bool has_texture_coordinates);
  ON_Mesh(const ON_Mesh& other);
  ON_Mesh(ON_Mesh&& other) noexcept;
  ON_Mesh& operator=(const ON_Mesh& other);
  ON_Mesh& operator=(ON_Mesh&& other) noexcept;
  ~ON_Mesh() override;

  // How the faces meet, built on the first call and kept until a member of this mesh changes
  // it. Code that writes m_V or m_F directly calls DestroyTopology afterwards.
  const ON_MeshTopology& Topology() const;
  void DestroyTopology();

  // Removes every vertex, face, normal and colour and releases the storage.
  void Destroy();
  // Removes every vertex, face, normal and colour; the storage is kept for reuse.
  void Empty();

  // Fails for a mesh without faces, with fewer than three vertices, with a non-finite vertex,
  // with an invalid face (ON_MeshFace::IsValid), or whose normal arrays are neither empty nor
  // one per vertex (m_N) and per face (m_FN). m_C may hold one colour for the whole mesh or
  // one per vertex and is not looked at.
  bool IsValid(ON_TextLog* text_log = nullptr) const override;

  // Adds translation_vector to every vertex (computed in double, stored as float). Fails,
  // changing nothing, when the vector is not finite.
  bool Translate(const ON_3dVector& translation_vector) override;
  ON_BoundingBox BoundingBox() const override;

  int VertexCount() const { return m_V.Count(); }
  int FaceCount() const { return m_F.Count(); }
  int TriangleCount() const;
  int QuadCount() const;
  bool HasVertexNormals() const { return m_N.Count() > 0 && m_N.Count() == m_V.Count(); }
  bool HasFaceNormals() const { return m_FN.Count() > 0 && m_FN.Count() == m_F.Count(); }

  // Sets the vertex at vertex_index, or appends it when vertex_index == VertexCount().
  // False for any other index.
  bool SetVertex(int vertex_index, const ON_3dPoint& vertex_location);
  bool SetVertex(int vertex_index, const ON_3fPoint& vertex_location);
  // Sets or appends a vertex normal, as SetVertex does for m_N.
  bool SetVertexNormal(int vertex_index, const ON_3dVector& normal);
  // Sets the face at face_index, or appends it when face_index == FaceCount(); false for any
  // other face index. Vertex indices are stored as given, valid or not: the clean-ups below
  // deal with bad ones.
  bool SetTriangle(int face_index, int a, int b, int c);
  bool SetQuad(int face_index, int a, int b, int c, int d);

  // Removes the vertices that no face names (with their normals, and their colours when
  // m_C holds one per vertex) and renumbers the faces. Indices that name no vertex are left
  // as they are. Linear in the mesh size. Returns true.
  bool CullUnusedVertices();
  // Repairs or removes degenerate faces: a face with an index that names no vertex is
  // removed; corners that repeat (same index, or same place) collapse, so a quad becomes a
  // triangle, and a face left with fewer than three corners, or a quad folded onto its
  // diagonal, is removed. Face normals follow their faces. Linear. Returns the number of
  // faces repaired or removed.
  int CullDegenerateFaces();
  // Removes unused vertices (CullUnusedVertices) and releases spare storage. Returns true.
  bool Compact();

  ON_3fPointArray m_V;             // vertices
  ON_SimpleArray<ON_MeshFace> m_F;  // faces
  ON_3fVectorArray m_N;            // vertex normals: empty or one per vertex
  ON_3fVectorArray m_FN;           // face normals: empty or one per face
  ON_SimpleArray<ON_Color> m_C;    // vertex colours: empty, one per vertex, or one for the mesh

 private:
  // The topology built on demand; a copy or a moved-to mesh builds its own.
  class TopologyCache {
   public:
    TopologyCache() = default;
    TopologyCache(const TopologyCache&) {}
    TopologyCache& operator=(const TopologyCache&) {
      Reset();
      return *this;
    }
    TopologyCache(TopologyCache&& other) noexcept { other.Reset(); }
    TopologyCache& operator=(TopologyCache&& other) noexcept {
      Reset();
      other.Reset();
      return *this;
    }
    ~TopologyCache() { Reset(); }
    void Reset() {
      delete topology_;
      topology_ = nullptr;
    }
    ON_MeshTopology* topology_ = nullptr;
  };
  mutable TopologyCache m_top;
};
