// ON_Mesh: construction, copying, face and vertex setters, validity, moving and bounds.
// The clean-ups are in mesh_cleanup.cpp.
#include "opennurbs/mesh.h"

#include <cmath>

bool ON_MeshFace::IsValid(int mesh_vertex_count) const {
  for (int index : vi) {
    if (index < 0 || index >= mesh_vertex_count) return false;
  }
  if (vi[0] == vi[1] || vi[1] == vi[2] || vi[2] == vi[0]) return false;
  return vi[3] == vi[2] || (vi[3] != vi[0] && vi[3] != vi[1]);
}

ON_Mesh::ON_Mesh() = default;

ON_Mesh::ON_Mesh(int initial_face_array_capacity, int initial_vertex_array_capacity, bool has_vertex_normals,
                 bool /*has_texture_coordinates*/) {
  if (initial_face_array_capacity > 0) m_F.Reserve(static_cast<size_t>(initial_face_array_capacity));
  if (initial_vertex_array_capacity > 0) {
    m_V.Reserve(static_cast<size_t>(initial_vertex_array_capacity));
    if (has_vertex_normals) m_N.Reserve(static_cast<size_t>(initial_vertex_array_capacity));
  }
}

ON_Mesh::ON_Mesh(const ON_Mesh& other) = default;
ON_Mesh::ON_Mesh(ON_Mesh&& other) noexcept = default;
ON_Mesh& ON_Mesh::operator=(const ON_Mesh& other) = default;
ON_Mesh& ON_Mesh::operator=(ON_Mesh&& other) noexcept = default;
ON_Mesh::~ON_Mesh() = default;

void ON_Mesh::Destroy() {
  DestroyTopology();
  m_V.Destroy();
  m_F.Destroy();
  m_N.Destroy();
  m_FN.Destroy();
  m_C.Destroy();
}

void ON_Mesh::Empty() {
  DestroyTopology();
  m_V.Empty();
  m_F.Empty();
  m_N.Empty();
  m_FN.Empty();
  m_C.Empty();
}

int ON_Mesh::TriangleCount() const {
  int count = 0;
  for (int i = 0; i < m_F.Count(); ++i) count += m_F[i].IsTriangle() ? 1 : 0;
  return count;
}

int ON_Mesh::QuadCount() const { return m_F.Count() - TriangleCount(); }

bool ON_Mesh::SetVertex(int vertex_index, const ON_3dPoint& vertex_location) {
  return SetVertex(vertex_index, ON_3fPoint(vertex_location));
}

bool ON_Mesh::SetVertex(int vertex_index, const ON_3fPoint& vertex_location) {
  DestroyTopology();
  if (vertex_index == m_V.Count()) {
    m_V.Append(vertex_location);
    return true;
  }
  if (vertex_index < 0 || vertex_index > m_V.Count()) return false;
  m_V[vertex_index] = vertex_location;
  return true;
}

bool ON_Mesh::SetVertexNormal(int vertex_index, const ON_3dVector& normal) {
  if (vertex_index == m_N.Count()) {
    m_N.Append(ON_3fVector(normal));
    return true;
  }
  if (vertex_index < 0 || vertex_index > m_N.Count()) return false;
  m_N[vertex_index] = ON_3fVector(normal);
  return true;
}

bool ON_Mesh::SetTriangle(int face_index, int a, int b, int c) { return SetQuad(face_index, a, b, c, c); }

bool ON_Mesh::SetQuad(int face_index, int a, int b, int c, int d) {
  DestroyTopology();
  const ON_MeshFace face{{a, b, c, d}};
  if (face_index == m_F.Count()) {
    m_F.Append(face);
    return true;
  }
  if (face_index < 0 || face_index > m_F.Count()) return false;
  m_F[face_index] = face;
  return true;
}

bool ON_Mesh::IsValid(ON_TextLog* text_log) const {
  const int vertexCount = m_V.Count();
  const int faceCount = m_F.Count();
  if (faceCount < 1) {
    if (text_log) text_log->Print("ON_Mesh has no faces.\n");
    return false;
  }
  if (vertexCount < 3) {
    if (text_log) text_log->Print("ON_Mesh has %d vertices; at least 3 are needed.\n", vertexCount);
    return false;
  }
  if (m_N.Count() != 0 && m_N.Count() != vertexCount) {
    if (text_log) text_log->Print("ON_Mesh has %d vertex normals for %d vertices.\n", m_N.Count(), vertexCount);
    return false;
  }
  if (m_FN.Count() != 0 && m_FN.Count() != faceCount) {
    if (text_log) text_log->Print("ON_Mesh has %d face normals for %d faces.\n", m_FN.Count(), faceCount);
    return false;
  }
  for (int i = 0; i < vertexCount; ++i) {
    if (!m_V[i].IsValid()) {
      if (text_log) text_log->Print("ON_Mesh vertex %d is not finite.\n", i);
      return false;
    }
  }
  for (int i = 0; i < faceCount; ++i) {
    if (!m_F[i].IsValid(vertexCount)) {
      const int* vi = m_F[i].vi;
      if (text_log)
        text_log->Print("ON_Mesh face %d (%d, %d, %d, %d) is not valid for %d vertices.\n", i, vi[0], vi[1], vi[2],
                        vi[3], vertexCount);
      return false;
    }
  }
  return true;
}

bool ON_Mesh::Translate(const ON_3dVector& translation_vector) {
  if (!translation_vector.IsValid()) return false;
  DestroyTopology();  // rounding to float may join or part vertices
  for (int i = 0; i < m_V.Count(); ++i) {
    ON_3fPoint& v = m_V[i];
    v = ON_3fPoint(ON_3dPoint(v) + translation_vector);
  }
  return true;
}

const ON_MeshTopology& ON_Mesh::Topology() const {
  if (!m_top.topology_) {
    m_top.topology_ = new ON_MeshTopology;
    m_top.topology_->Create(*this);
  }
  return *m_top.topology_;
}

void ON_Mesh::DestroyTopology() { m_top.Reset(); }

ON_BoundingBox ON_Mesh::BoundingBox() const {
  ON_BoundingBox box;
  for (int i = 0; i < m_V.Count(); ++i) box.Set(ON_3dPoint(m_V[i]), i > 0);
  return box;
}
