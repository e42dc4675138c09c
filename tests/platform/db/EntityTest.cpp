// Entity classes: exact run-time names, geometry, clone, transform, and the vertex iteration of
// polyface meshes, polygon meshes and 3D polylines.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "DrawingBuilders.h"
#include "TestSupport.h"
#include "arx.h"
#include "win32/text.h"

using plx::test::AddToModelSpace;
using plx::test::HostSession;

struct ClassCase {
  const wchar_t* name;
  const wchar_t* dxfName;
  std::function<AcDbEntity*()> make;
  friend void PrintTo(const ClassCase& c, std::ostream* os) { *os << plx::Utf8FromWide(c.name); }
};

class EntityClass : public ::testing::TestWithParam<ClassCase> {};

TEST_P(EntityClass, HasItsExactNameAndSurvivesTheDatabase) {
  HostSession session;
  std::unique_ptr<AcDbEntity> made(GetParam().make());
  EXPECT_STREQ(made->isA()->name(), GetParam().name);
  EXPECT_STREQ(made->isA()->dxfName(), GetParam().dxfName);
  EXPECT_TRUE(made->isKindOf(AcDbEntity::desc()));
  const AcDbObjectId id = AddToModelSpace(made.release());
  EXPECT_STREQ(id.objectClass()->name(), GetParam().name);
  AcDbEntity* entity = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForRead), Acad::eOk);
  std::unique_ptr<AcDbEntity> copy(AcDbEntity::cast(entity->clone()));
  ASSERT_TRUE(copy);
  EXPECT_STREQ(copy->isA()->name(), GetParam().name);
  EXPECT_TRUE(copy->objectId().isNull());
  EXPECT_EQ(copy->layerId(), entity->layerId());
  entity->close();
}

INSTANTIATE_TEST_SUITE_P(
    Classes, EntityClass,
    ::testing::Values(ClassCase{L"AcDbPoint", L"POINT", [] { return new AcDbPoint(AcGePoint3d(1, 2, 3)); }},
                      ClassCase{L"AcDbLine", L"LINE",
                                [] { return new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)); }},
                      ClassCase{L"AcDbCircle", L"CIRCLE",
                                [] { return new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 2); }},
                      ClassCase{L"AcDbFace", L"3DFACE",
                                [] { return new AcDbFace(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0)); }},
                      ClassCase{L"AcDbPolyFaceMesh", L"POLYLINE", [] { return new AcDbPolyFaceMesh; }},
                      ClassCase{L"AcDbPolygonMesh", L"POLYLINE", [] { return new AcDbPolygonMesh; }},
                      ClassCase{L"AcDb3dPolyline", L"POLYLINE", [] { return new AcDb3dPolyline; }},
                      ClassCase{L"AcDbPolyFaceMeshVertex", L"VERTEX", [] { return new AcDbPolyFaceMeshVertex; }},
                      ClassCase{L"AcDbFaceRecord", L"VERTEX", [] { return new AcDbFaceRecord(1, 2, 3, 0); }},
                      ClassCase{L"AcDbPolygonMeshVertex", L"VERTEX", [] { return new AcDbPolygonMeshVertex; }},
                      ClassCase{L"AcDb3dPolylineVertex", L"VERTEX", [] { return new AcDb3dPolylineVertex; }}));

TEST(EntityClass, DerivedClassesKeepTheirParents) {
  EXPECT_TRUE(AcDbLine::desc()->isDerivedFrom(AcDbCurve::desc()));
  EXPECT_TRUE(AcDb3dPolyline::desc()->isDerivedFrom(AcDbCurve::desc()));
  EXPECT_TRUE(AcDbFaceRecord::desc()->isDerivedFrom(AcDbVertex::desc()));
  EXPECT_FALSE(AcDbFace::desc()->isDerivedFrom(AcDbCurve::desc()));
  EXPECT_STREQ(AcDbEntity::desc()->name(), L"AcDbEntity");
  EXPECT_STREQ(AcDbBlockTableRecord::desc()->name(), L"AcDbBlockTableRecord");
  EXPECT_STREQ(AcDbLayerTableRecord::desc()->name(), L"AcDbLayerTableRecord");
}

TEST(Face, CornersAndInvisibleEdges) {
  AcDbFace face(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0), AcGePoint3d(0, 1, 0), true, false);
  AcGePoint3d p;
  ASSERT_EQ(face.getVertexAt(2, p), Acad::eOk);
  EXPECT_EQ(p, AcGePoint3d(1, 1, 0));
  EXPECT_EQ(face.getVertexAt(4, p), Acad::eInvalidIndex);
  EXPECT_EQ(face.setVertexAt(3, AcGePoint3d(0, 2, 0)), Acad::eOk);
  Adesk::Boolean visible = true;
  face.isEdgeVisibleAt(1, visible);
  EXPECT_FALSE(visible);
  face.makeEdgeVisibleAt(1);
  face.makeEdgeInvisibleAt(3);
  face.isEdgeVisibleAt(1, visible);
  EXPECT_TRUE(visible);
  face.isEdgeVisibleAt(3, visible);
  EXPECT_FALSE(visible);
  AcDbFace triangle(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0));
  AcGePoint3d c2, c3;
  triangle.getVertexAt(2, c2);
  triangle.getVertexAt(3, c3);
  EXPECT_TRUE(c2.isEqualTo(c3, AcGeContext::gTol));
}

TEST(Geometry, ExtentsAndTransforms) {
  AcDbLine line(AcGePoint3d(1, 2, 3), AcGePoint3d(-1, 5, 0));
  AcDbExtents box;
  ASSERT_EQ(line.getGeomExtents(box), Acad::eOk);
  EXPECT_EQ(box.minPoint(), AcGePoint3d(-1, 2, 0));
  EXPECT_EQ(box.maxPoint(), AcGePoint3d(1, 5, 3));
  ASSERT_EQ(line.transformBy(AcGeMatrix3d::translation(AcGeVector3d(10, 0, 0))), Acad::eOk);
  EXPECT_EQ(line.startPoint(), AcGePoint3d(11, 2, 3));

  AcDbCircle circle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 2);
  circle.getGeomExtents(box);
  EXPECT_EQ(box.minPoint(), AcGePoint3d(-2, -2, 0));
  AcGeMatrix3d stretch;
  stretch.entry[0][0] = 2;
  EXPECT_EQ(circle.transformBy(stretch), Acad::eCannotScaleNonUniformly);
  ASSERT_EQ(circle.transformBy(AcGeMatrix3d::scaling(3)), Acad::eOk);
  EXPECT_DOUBLE_EQ(circle.radius(), 6);
  EXPECT_EQ(circle.setRadius(0), Acad::eInvalidInput);

  AcDbEntity* moved = nullptr;
  ASSERT_EQ(line.getTransformedCopy(AcGeMatrix3d::translation(AcGeVector3d(0, 0, 1)), moved), Acad::eOk);
  EXPECT_EQ(AcDbLine::cast(moved)->startPoint(), AcGePoint3d(11, 2, 4));
  EXPECT_EQ(line.startPoint(), AcGePoint3d(11, 2, 3));
  moved->close();  // outside a database: released
}

namespace {

// A polyface mesh in model space: four vertices, the faces (1, 2, 3, 0) and (-1, 2, -3, 4).
AcDbObjectId AddPolyface() {
  auto* mesh = new AcDbPolyFaceMesh;
  const AcGePoint3d points[4] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 1}};
  for (const AcGePoint3d& p : points) {
    auto* vertex = new AcDbPolyFaceMeshVertex(p);
    EXPECT_EQ(mesh->appendVertex(vertex), Acad::eOk);
    vertex->close();  // held by the mesh: close releases nothing
  }
  EXPECT_EQ(mesh->appendFaceRecord(new AcDbFaceRecord(1, 2, 3, 0)), Acad::eOk);
  EXPECT_EQ(mesh->appendFaceRecord(new AcDbFaceRecord(-1, 2, -3, 4)), Acad::eOk);
  return AddToModelSpace(mesh);
}

}  // namespace

TEST(PolyFaceMesh, IteratesVerticesThenFaceRecordsWithTheirSigns) {
  HostSession session;
  const AcDbObjectId id = AddPolyface();
  AcDbPolyFaceMesh* mesh = nullptr;
  ASSERT_EQ(acdbOpenObject(mesh, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(mesh->numVertices(), 4);
  EXPECT_EQ(mesh->numFaces(), 2);
  AcDbObjectIterator* it = mesh->vertexIterator();
  std::vector<AcGePoint3d> positions;
  std::vector<std::vector<int>> faces;
  int i = 0;
  for (; !it->done(); it->step(false, true), ++i) {
    AcDbObject* object = nullptr;
    if (i < 4) {
      ASSERT_EQ(acdbOpenAcDbObject(object, it->objectId(), AcDb::kForRead, false, AcDbPolyFaceMeshVertex::desc()),
                Acad::eOk);
      positions.push_back(AcDbPolyFaceMeshVertex::cast(object)->position());
      EXPECT_EQ(AcDbEntity::cast(object)->blockId(), acdbHostApplicationServices()->workingDatabase()->modelSpaceId());
    } else {
      ASSERT_EQ(acdbOpenAcDbObject(object, it->objectId(), AcDb::kForRead, false, AcDbFaceRecord::desc()), Acad::eOk);
      std::vector<int> corners;
      for (Adesk::UInt16 k = 0; k < 4; ++k) {
        Adesk::Int16 v = 0;
        EXPECT_EQ(AcDbFaceRecord::cast(object)->getVertexAt(k, v), Acad::eOk);
        corners.push_back(v);
      }
      faces.push_back(corners);
    }
    EXPECT_EQ(object->ownerId(), id);
    object->close();
  }
  delete it;
  EXPECT_EQ(i, 6);
  EXPECT_EQ(positions[3], AcGePoint3d(0, 1, 1));
  EXPECT_EQ(faces, (std::vector<std::vector<int>>{{1, 2, 3, 0}, {-1, 2, -3, 4}}));
  AcDbExtents box;
  ASSERT_EQ(mesh->getGeomExtents(box), Acad::eOk);
  EXPECT_EQ(box.maxPoint(), AcGePoint3d(1, 1, 1));
  mesh->close();
}

TEST(PolyFaceMesh, RefusesVerticesWhileOpenForRead) {
  HostSession session;
  const AcDbObjectId id = AddPolyface();
  AcDbPolyFaceMesh* mesh = nullptr;
  ASSERT_EQ(acdbOpenObject(mesh, id, AcDb::kForRead), Acad::eOk);
  auto* vertex = new AcDbPolyFaceMeshVertex;
  EXPECT_EQ(mesh->appendVertex(vertex), Acad::eNotOpenForWrite);
  delete vertex;
  mesh->close();
}

TEST(PolyFaceMesh, RefusesAVertexThatNoFaceRecordCouldNumber) {
  HostSession session;
  for (const bool inDatabase : {false, true}) {
    auto* mesh = new AcDbPolyFaceMesh;
    AcDbObjectId id;
    if (inDatabase) {
      id = AddToModelSpace(mesh);
      ASSERT_EQ(acdbOpenObject(mesh, id, AcDb::kForWrite), Acad::eOk);
    }
    for (size_t i = 0; i < AcDbPolyFaceMesh::kMaxVertices; ++i) {
      auto* vertex = new AcDbPolyFaceMeshVertex(AcGePoint3d(static_cast<double>(i), 0, 0));
      ASSERT_EQ(mesh->appendVertex(vertex), Acad::eOk) << i;
      vertex->close();
    }
    auto* extra = new AcDbPolyFaceMeshVertex(AcGePoint3d(-1, 0, 0));
    EXPECT_EQ(mesh->appendVertex(extra), Acad::eTooManyVertices);
    AcDbObjectId extraId;
    EXPECT_EQ(mesh->appendVertex(extraId, extra), Acad::eTooManyVertices);
    EXPECT_FALSE(extra->database());
    delete extra;
    EXPECT_EQ(mesh->numVertices(), 32767);
    // Face records are not limited by it.
    auto* face = new AcDbFaceRecord(32765, 32766, 32767, 0);
    EXPECT_EQ(mesh->appendFaceRecord(face), Acad::eOk);
    face->close();
    if (inDatabase)
      mesh->close();
    else
      delete mesh;
  }
}

TEST(PolyFaceMesh, AVertexHeldByOneMeshIsRefusedByEveryMesh) {
  HostSession session;
  AcDbPolyFaceMesh first, second;
  auto* vertex = new AcDbPolyFaceMeshVertex(AcGePoint3d(1, 2, 3));
  ASSERT_EQ(first.appendVertex(vertex), Acad::eOk);
  EXPECT_EQ(first.appendVertex(vertex), Acad::eAlreadyInDb);
  EXPECT_EQ(second.appendVertex(vertex), Acad::eAlreadyInDb);
  EXPECT_EQ(first.numVertices(), 1);
  EXPECT_EQ(second.numVertices(), 0);

  AcDbPolyFaceMesh* drawn = nullptr;
  ASSERT_EQ(acdbOpenObject(drawn, AddPolyface(), AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(drawn->appendVertex(vertex), Acad::eAlreadyInDb);
  EXPECT_FALSE(vertex->database());
  drawn->close();
}

TEST(PolyFaceMesh, AppendingToAnOpenMeshGivesTheVertexAnId) {
  HostSession session;
  const AcDbObjectId id = AddPolyface();
  AcDbPolyFaceMesh* mesh = nullptr;
  ASSERT_EQ(acdbOpenObject(mesh, id, AcDb::kForWrite), Acad::eOk);
  auto* vertex = new AcDbPolyFaceMeshVertex(AcGePoint3d(5, 5, 5));
  AcDbObjectId vertexId;
  ASSERT_EQ(mesh->appendVertex(vertexId, vertex), Acad::eOk);
  EXPECT_FALSE(vertexId.isNull());
  EXPECT_TRUE(vertex->isWriteEnabled());
  EXPECT_EQ(mesh->appendVertex(vertex), Acad::eAlreadyInDb);
  vertex->close();
  EXPECT_EQ(mesh->numVertices(), 5);

  std::unique_ptr<AcDbPolyFaceMesh> copy(AcDbPolyFaceMesh::cast(mesh->clone()));
  ASSERT_EQ(mesh->transformBy(AcGeMatrix3d::translation(AcGeVector3d(0, 0, 10))), Acad::eOk);
  mesh->close();
  EXPECT_EQ(copy->numVertices(), 5);
  EXPECT_EQ(copy->numFaces(), 2);
  AcDbExtents box;
  copy->getGeomExtents(box);
  EXPECT_EQ(box.maxPoint(), AcGePoint3d(5, 5, 5)) << "the copy does not move with the original";
  AcDbObjectIterator* it = copy->vertexIterator();
  EXPECT_TRUE(it->objectId().isNull());  // outside a database: no ids, but the objects
  ASSERT_TRUE(AcDbPolyFaceMeshVertex::cast(it->entity()));
  delete it;

  AcDbVoidPtrArray pieces;
  ASSERT_EQ(copy->explode(pieces), Acad::eOk);
  ASSERT_EQ(pieces.length(), 2);
  for (void* piece : pieces) {
    EXPECT_STREQ(static_cast<AcDbEntity*>(piece)->isA()->name(), L"AcDbFace");
    delete static_cast<AcDbEntity*>(piece);
  }
}

TEST(PolygonMesh, GridSizeClosedFlagsAndVertexOrder) {
  HostSession session;
  AcGePoint3dArray points;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) points.append(AcGePoint3d(c, r, 0));
  const AcDbObjectId id = AddToModelSpace(new AcDbPolygonMesh(AcDb::kSimpleMesh, 3, 4, points, false, false));
  AcDbPolygonMesh* mesh = nullptr;
  ASSERT_EQ(acdbOpenObject(mesh, id, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(mesh->mSize(), 3);
  EXPECT_EQ(mesh->nSize(), 4);
  EXPECT_EQ(mesh->isMClosed(), false);
  EXPECT_EQ(mesh->polyMeshType(), AcDb::kSimpleMesh);
  EXPECT_EQ(mesh->makeNClosed(), Acad::eOk);
  EXPECT_EQ(mesh->isNClosed(), true);
  EXPECT_EQ(mesh->setMSize(1), Acad::eInvalidInput);
  AcDbObjectIterator* it = mesh->vertexIterator();
  int index = 0;
  for (; !it->done(); it->step(false, true), ++index) {
    AcDbPolygonMeshVertex* vertex = nullptr;
    ASSERT_EQ(acdbOpenObject(vertex, it->objectId(), AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(vertex->position(), AcGePoint3d(index % 4, index / 4, 0));  // N varies fastest
    EXPECT_EQ(vertex->vertexType(), AcDb::k3dSimpleVertex);
    vertex->close();
  }
  delete it;
  EXPECT_EQ(index, 12);
  mesh->close();
}

TEST(Polyline3d, VerticesAndClosing) {
  HostSession session;
  auto* polyline = new AcDb3dPolyline;
  for (int i = 0; i < 3; ++i) {
    auto* vertex = new AcDb3dPolylineVertex(AcGePoint3d(i, i * i, 0));
    ASSERT_EQ(polyline->appendVertex(vertex), Acad::eOk);
    vertex->close();
  }
  EXPECT_FALSE(polyline->isClosed());
  ASSERT_EQ(polyline->makeClosed(), Acad::eOk);
  const AcDbObjectId id = AddToModelSpace(polyline);
  AcDb3dPolyline* opened = nullptr;
  ASSERT_EQ(acdbOpenObject(opened, id, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(opened->isClosed());
  AcDbObjectIterator* it = opened->vertexIterator();
  std::vector<AcGePoint3d> points;
  for (; !it->done(); it->step()) {
    AcDb3dPolylineVertex* vertex = nullptr;
    ASSERT_EQ(acdbOpenObject(vertex, it->objectId(), AcDb::kForRead), Acad::eOk);
    points.push_back(vertex->position());
    vertex->close();
  }
  delete it;
  opened->close();
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[2], AcGePoint3d(2, 4, 0));
}
