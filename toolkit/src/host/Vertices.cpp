// Vertices and face records of 3D polylines and polyface meshes, and the copy of a polygon
// mesh grid into a polyface mesh. A polygon mesh of M rows and N columns yields its vertex of
// row r and column c as the (r * N + c)-th; each grid cell becomes one quad, and a mesh closed
// in M or N gets the cells that join its last row or column to the first.
#include <vector>

#include "db3dpolyline.h"
#include "dbpolyfacemesh.h"
#include "dbpolygonmesh.h"
#include "toolkit/Layers.h"

namespace {

// Face records hold signed 16-bit vertex numbers.
constexpr int kMaxFaceVertex = 32767;

Adesk::Int16 Cut16(int value) {
  return static_cast<Adesk::Int16>(static_cast<uint16_t>(value & 0xFFFF));
}

// The position of the vertex the iterator stands on: opened by id in a database, taken from
// the iterator for a mesh outside one. False when it cannot be read.
bool ReadGridVertex(AcDbObjectIterator& it, AcGePoint3d& position) {
  const AcDbObjectId id = it.objectId();
  if (id.isNull()) {
    const AcDbPolygonMeshVertex* vertex = AcDbPolygonMeshVertex::cast(it.entity());
    if (!vertex) return false;
    position = vertex->position();
    return true;
  }
  AcDbObject* object = nullptr;
  if (acdbOpenAcDbObject(object, id, AcDb::kForRead, false, AcDbPolygonMeshVertex::desc()) !=
      Acad::eOk)
    return false;
  position = static_cast<AcDbPolygonMeshVertex*>(object)->position();
  object->close();
  return true;
}

}  // namespace

Acad::ErrorStatus AppendPolylineVertex(AcDb3dPolyline* polyline, const AcGePoint3d& point) {
  AcDb3dPolylineVertex* vertex = new AcDb3dPolylineVertex(point);
  const Acad::ErrorStatus es = polyline->appendVertex(vertex);
  vertex->close();  // a refused vertex, outside any database and unowned, goes with it
  return es;
}

Acad::ErrorStatus AppendPolyFaceVertex(AcDbPolyFaceMesh* mesh, const AcGePoint3d& point) {
  AcDbPolyFaceMeshVertex* vertex = new AcDbPolyFaceMeshVertex(point);
  const Acad::ErrorStatus es = mesh->appendVertex(vertex);
  vertex->close();
  return es;
}

Acad::ErrorStatus AppendFaceRecord(AcDbPolyFaceMesh* mesh, int a, int b, int c, int d) {
  AcDbFaceRecord* face = new AcDbFaceRecord(Cut16(a), Cut16(b), Cut16(c), Cut16(d));
  const Acad::ErrorStatus es = mesh->appendFaceRecord(face);
  face->close();
  return es;
}

int PolygonMeshToPolyFaceMesh(const AcDbPolygonMesh* source, AcDbPolyFaceMesh* target) {
  const int m = source->mSize();
  const int n = source->nSize();
  const bool closedM = source->isMClosed();
  const bool closedN = source->isNClosed();

  // A vertex that cannot be read still takes its number (at the origin), so that the faces
  // keep theirs; the faces that would use it are left out.
  std::vector<bool> readable;
  if (AcDbObjectIterator* it = source->vertexIterator()) {
    for (; !it->done(); it->step(false, true)) {
      AcGePoint3d position;
      const bool read = ReadGridVertex(*it, position);
      AppendPolyFaceVertex(target, read ? position : AcGePoint3d::kOrigin);
      readable.push_back(read);
    }
    delete it;
  }

  auto face = [&](int a, int b, int c, int d) {
    for (const int v : {a, b, c, d}) {
      if (v > kMaxFaceVertex) return;  // a number that a face record cannot hold
      // A face that names a vertex the target lacks (the source yielded fewer than M x N)
      // would corrupt the polyface mesh: it is left out.
      if (v < 1 || static_cast<size_t>(v) > readable.size()) return;
      if (!readable[static_cast<size_t>(v - 1)]) return;
    }
    AppendFaceRecord(target, a, b, c, d);
  };
  if (m > 0 && n > 0) {
    const int last = (m - 1) * n;
    for (int i = 0; i < m * n; ++i) {
      const int r = i / n;
      const int c = i % n;
      if (c < n - 1 && r < m - 1)
        face(i + 1, i + 2, i + n + 2, i + n + 1);
      else if (c == n - 1 && closedN && r < m - 1)
        face(i + 1, i - n + 2, i + 2, i + n + 1);
      else if (r == m - 1 && c < n - 1 && closedM)
        face(i + 1, i + 2, i - last + 2, i - last + 1);
    }
    if (closedM && closedN) face(n, m * n, last + 1, 1);
  }
  return 1;
}
