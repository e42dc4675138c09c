// Subdivision meshes: the control mesh as a vertex array and a face list of corner counts
// followed by vertex indices.
#include <algorithm>
#include <unordered_set>

#include "Access.h"
#include "CurveMath.h"
#include "dbsubd.h"
#include "win32/text.h"

using namespace plx::db;

ACRX_DXF_DEFINE_MEMBERS(AcDbSubDMesh, AcDbEntity, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0,
                        MESH, ACAD)

namespace {
constexpr int kMaxLevel = 4;
}

Acad::ErrorStatus AcDbSubDMesh::setSubDMesh(const AcGePoint3dArray& vertexArray,
                                            const AcArray<Adesk::Int32>& faceArray, int subDLevel) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (subDLevel < 0 || subDLevel > kMaxLevel) return Acad::eInvalidInput;
  for (const AcGePoint3d& p : vertexArray)
    if (!Finite(p)) return Acad::eInvalidInput;
  int faces = 0;
  for (int i = 0; i < faceArray.length();) {
    const Adesk::Int32 corners = faceArray[i];
    if (corners < 3 || corners > faceArray.length() - i - 1) return Acad::eInvalidInput;
    for (int k = 1; k <= corners; ++k)
      if (faceArray[i + k] < 0 || faceArray[i + k] >= vertexArray.length())
        return Acad::eInvalidInput;
    i += corners + 1;
    ++faces;
  }
  vertices_ = vertexArray;
  faces_ = faceArray;
  faceCount_ = faces;
  level_ = subDLevel;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::setSmoothLevel(int level) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (level < 0 || level > kMaxLevel) return Acad::eInvalidInput;
  level_ = level;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::subDLevel(Adesk::Int32& level) const {
  level = level_;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::numOfVertices(Adesk::Int32& count) const {
  count = vertices_.length();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::numOfFaces(Adesk::Int32& count) const {
  count = faceCount_;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::numOfEdges(Adesk::Int32& count) const {
  std::unordered_set<uint64_t> edges;
  for (int i = 0; i < faces_.length(); i += faces_[i] + 1) {
    const int corners = faces_[i];
    for (int k = 0; k < corners; ++k) {
      const uint32_t a = static_cast<uint32_t>(faces_[i + 1 + k]);
      const uint32_t b = static_cast<uint32_t>(faces_[i + 1 + (k + 1) % corners]);
      edges.insert(static_cast<uint64_t>(std::min(a, b)) << 32 | std::max(a, b));
    }
  }
  count = static_cast<Adesk::Int32>(edges.size());
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::getVertices(AcGePoint3dArray& vertexArray) const {
  vertexArray = vertices_;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::getFaceArray(AcArray<Adesk::Int32>& faceArray) const {
  faceArray = faces_;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::getVertexAt(Adesk::Int32 index, AcGePoint3d& vertex) const {
  if (index < 0 || index >= vertices_.length()) return Acad::eInvalidIndex;
  vertex = vertices_[index];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::setVertexAt(Adesk::Int32 index, const AcGePoint3d& vertex) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (index < 0 || index >= vertices_.length()) return Acad::eInvalidIndex;
  if (!Finite(vertex)) return Acad::eInvalidInput;
  vertices_[index] = vertex;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::getGeomExtents(AcDbExtents& extents) const {
  if (vertices_.isEmpty()) return Acad::eInvalidExtents;
  extents = AcDbExtents();
  for (const AcGePoint3d& p : vertices_) extents.addPoint(p);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSubDMesh::transformBy(const AcGeMatrix3d& matrix) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  for (AcGePoint3d& p : vertices_) p.transformBy(matrix);
  return Acad::eOk;
}

void AcDbSubDMesh::ListGeometry() const {
  Adesk::Int32 edges = 0;
  numOfEdges(edges);
  ListLine(plx::FormatWide(L"                  Vertices: %d  Faces: %d  Edges: %d",
                           vertices_.length(), faceCount_, edges));
  ListLine(plx::FormatWide(L"                  Smoothness level: %d", level_));
}
