// Layers, properties and appending to the drawing, polyface meshes from polygon meshes, and
// string lookups.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "TestDrawing.h"
#include "TestSupport.h"
#include "toolkit/Layers.h"

using namespace plx::test;

namespace {

using Face = std::array<int, 4>;

class Layers : public ::testing::Test {
 protected:
  HostSession session_;
};

AcDbLayerTableRecord* OpenLayer(const AcDbObjectId& id) {
  AcDbLayerTableRecord* record = nullptr;
  EXPECT_EQ(acdbOpenObject(record, id, AcDb::kForRead), Acad::eOk);
  return record;
}

TEST_F(Layers, GetOrCreateFindsOrCreatesOnRequest) {
  AcDbObjectId id;
  EXPECT_EQ(GetOrCreateLayer(L"Walls", 0, id), Acad::eNullObjectId);
  EXPECT_EQ(static_cast<int>(Acad::eNullObjectId), 16);
  EXPECT_TRUE(GetOrCreateLayer(L"Walls", 0).isNull());
  EXPECT_FALSE(HasLayer(L"Walls"));

  EXPECT_EQ(GetOrCreateLayer(L"Walls", 1, id), Acad::eOk);
  EXPECT_TRUE(HasLayer(L"Walls"));
  AcDbLayerTableRecord* record = OpenLayer(id);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->Name(), L"Walls");
  EXPECT_EQ(record->color().colorIndex(), 7);  // the host's default
  EXPECT_FALSE(record->isFrozen());
  record->close();

  AcDbObjectId again;
  EXPECT_EQ(GetOrCreateLayer(L"Walls", 0, again), Acad::eOk);
  EXPECT_EQ(again, id);
  EXPECT_EQ(GetOrCreateLayer(L"Walls", 1), id);
}

TEST_F(Layers, GetOrCreateRefusesABadName) {
  AcDbObjectId id;
  EXPECT_EQ(GetOrCreateLayer(L"a<b", 1, id), Acad::eInvalidSymbolTableName);
  EXPECT_FALSE(HasLayer(L"a<b"));
  EXPECT_TRUE(GetOrCreateLayer(L"a<b", 1).isNull());
}

TEST_F(Layers, LayerTableThatDoesNotOpenChangesNothing) {
  AcDbLayerTable* held = nullptr;
  ASSERT_EQ(Working()->getSymbolTable(held, AcDb::kForWrite), Acad::eOk);
  AcDbObjectId id;
  EXPECT_EQ(GetOrCreateLayer(L"Walls", 0, id), Acad::eWasOpenForWrite);
  EXPECT_EQ(GetOrCreateLayer(L"Walls", 1, id), Acad::eWasOpenForWrite);
  EXPECT_EQ(CreateLayer(L"Walls", id, 0, 0, 0, 0), Acad::eWasOpenForWrite);
  AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  EXPECT_EQ(SetEntityLayer(&line, L"Walls"), Acad::eWasOpenForWrite);
  held->close();
  EXPECT_FALSE(HasLayer(L"Walls"));
}

TEST_F(Layers, ModelSpaceThatDoesNotOpenAppendsNothing) {
  AcDbBlockTableRecord* held = nullptr;
  ASSERT_EQ(acdbOpenObject(held, Working()->modelSpaceId(), AcDb::kForWrite), Acad::eOk);
  AcDbLine* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  AcDbObjectId id;
  EXPECT_EQ(AppendToModelSpace(line, id, nullptr), Acad::eWasOpenForWrite);
  EXPECT_TRUE(line->isNewObject());
  held->close();
  delete line;
}

TEST_F(Layers, CreateLayerSetsColourAndFlags) {
  AcDbObjectId id;
  EXPECT_EQ(CreateLayer(L"Hidden", id, PackRGB(10, 20, 30), 1, 1, 1), Acad::eOk);
  AcDbLayerTableRecord* record = OpenLayer(id);
  ASSERT_NE(record, nullptr);
  EXPECT_TRUE(record->color().isByColor());
  EXPECT_EQ(record->color().red(), 10);
  EXPECT_EQ(record->color().green(), 20);
  EXPECT_EQ(record->color().blue(), 30);
  EXPECT_TRUE(record->isFrozen());
  EXPECT_TRUE(record->isLocked());
  EXPECT_TRUE(record->isOff());
  record->close();
}

TEST_F(Layers, CreateLayerOfBlackKeepsATrueColour) {
  EXPECT_EQ(CreateLayer(L"Black", 0, 0, 0, 0), Acad::eOk);
  AcDbObjectId id = GetOrCreateLayer(L"Black", 0);
  AcDbLayerTableRecord* record = OpenLayer(id);
  ASSERT_NE(record, nullptr);
  EXPECT_TRUE(record->color().isByColor());
  EXPECT_EQ(record->color().red() + record->color().green() + record->color().blue(), 0);
  EXPECT_FALSE(record->isFrozen() || record->isLocked() || record->isOff());
  record->close();
}

TEST_F(Layers, CreateLayerOfAnExistingNameChangesNothing) {
  const AcDbObjectId existing = AddLayer(L"Red", 1);
  AcDbObjectId id;
  EXPECT_EQ(CreateLayer(L"Red", id, PackRGB(0, 0, 255), 1, 1, 1), Acad::eOk);
  EXPECT_EQ(id, existing);
  AcDbLayerTableRecord* record = OpenLayer(id);
  ASSERT_NE(record, nullptr);
  EXPECT_TRUE(record->color().isByACI());
  EXPECT_EQ(record->color().colorIndex(), 1);
  EXPECT_FALSE(record->isFrozen() || record->isLocked() || record->isOff());
  record->close();
}

TEST_F(Layers, SetEntityLayerWithAnEmptyNameChangesNothing) {
  AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  const AcDbObjectId before = line.layerId();
  EXPECT_EQ(SetEntityLayer(&line, L""), Acad::eOk);
  EXPECT_EQ(line.layerId(), before);
  EXPECT_FALSE(HasLayer(L""));
}

TEST_F(Layers, SetEntityLayerCreatesAMissingLayer) {
  AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  EXPECT_EQ(SetEntityLayer(&line, L"Pipes"), Acad::eOk);
  ASSERT_TRUE(HasLayer(L"Pipes"));
  EXPECT_EQ(line.layerId(), GetOrCreateLayer(L"Pipes", 0));
  AcDbLayerTableRecord* record = OpenLayer(line.layerId());
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->color().colorIndex(), 7);
  record->close();
}

TEST_F(Layers, SetEntityPropertiesOfBlackGivesIndexSeven) {
  AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  EXPECT_EQ(SetEntityProperties(&line, L"Ink", PackedRGB(0)), Acad::eOk);
  EXPECT_TRUE(line.color().isByACI());
  EXPECT_EQ(line.colorIndex(), 7);
  EXPECT_EQ(line.layerId(), GetOrCreateLayer(L"Ink", 0));

  EXPECT_EQ(SetEntityProperties(&line, L"", IndexColour(3)), Acad::eOk);
  EXPECT_EQ(line.colorIndex(), 3);
  EXPECT_EQ(line.layerId(), GetOrCreateLayer(L"Ink", 0));
}

TEST_F(Layers, SetEntityPropertiesStopsAtAFailingLayer) {
  AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  line.setColorIndex(2);
  EXPECT_EQ(SetEntityProperties(&line, L"bad|name", PackedRGB(0x0000FF)),
            Acad::eInvalidSymbolTableName);
  EXPECT_EQ(line.colorIndex(), 2);
}

TEST_F(Layers, AppendToModelSpaceClosesModelSpace) {
  AcDbLine* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  AcDbObjectId id;
  EXPECT_EQ(AppendToModelSpace(line, id, nullptr), Acad::eOk);
  EXPECT_FALSE(id.isNull());
  EXPECT_EQ(line->objectId(), id);
  EXPECT_TRUE(line->isWriteEnabled());  // the entity stays open for the caller
  EXPECT_EQ(line->ownerId(), Working()->modelSpaceId());
  line->close();

  AcDbBlockTableRecord* space = nullptr;
  ASSERT_EQ(acdbOpenObject(space, Working()->modelSpaceId(), AcDb::kForWrite), Acad::eOk);
  space->close();

  AcDbLine* second = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(2, 0, 0));
  EXPECT_EQ(AppendToModelSpace(second, nullptr), Acad::eOk);
  EXPECT_FALSE(second->isNewObject());
  second->close();
}

TEST_F(Layers, AppendToAGivenRecordLeavesItOpen) {
  AcDbBlockTableRecord* paper = nullptr;
  ASSERT_EQ(acdbOpenObject(paper, Working()->paperSpaceId(), AcDb::kForWrite), Acad::eOk);
  AcDbLine* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  AcDbObjectId id;
  EXPECT_EQ(AppendToModelSpace(line, id, paper), Acad::eOk);
  EXPECT_TRUE(paper->isWriteEnabled());
  EXPECT_EQ(line->ownerId(), Working()->paperSpaceId());
  line->close();
  paper->close();
}

TEST_F(Layers, AppendOfAnEntityAlreadyInTheDrawingFails) {
  AcDbLine* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  ASSERT_EQ(AppendToModelSpace(line, nullptr), Acad::eOk);
  EXPECT_EQ(AppendToModelSpace(line, nullptr), Acad::eAlreadyInDb);
  line->close();
}

TEST_F(Layers, SetPropertiesAndAppendInAllForms) {
  AcDbObjectId id;
  AcDbLine* a = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  EXPECT_EQ(SetPropertiesAndAppend(a, L"A", IndexColour(1), nullptr), Acad::eOk);
  EXPECT_EQ(a->colorIndex(), 1);
  EXPECT_EQ(a->layerId(), GetOrCreateLayer(L"A", 0));
  EXPECT_EQ(a->ownerId(), Working()->modelSpaceId());
  a->close();

  AcDbLine* b = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  EXPECT_EQ(SetPropertiesAndAppend(b, L"B", IndexColour(2), id, nullptr), Acad::eOk);
  EXPECT_EQ(b->objectId(), id);
  b->close();

  AcDbLine* c = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  EXPECT_EQ(SetPropertiesAndAppend(c, L"C", PackRGB(1, 2, 3), nullptr), Acad::eOk);
  EXPECT_TRUE(c->color().isByColor());
  EXPECT_EQ(c->color().blue(), 3);
  c->close();

  AcDbBlockTableRecord* paper = nullptr;
  ASSERT_EQ(acdbOpenObject(paper, Working()->paperSpaceId(), AcDb::kForWrite), Acad::eOk);
  AcDbLine* d = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  EXPECT_EQ(SetPropertiesAndAppend(d, L"D", PackedRGB(0), id, paper), Acad::eOk);
  EXPECT_EQ(d->objectId(), id);
  EXPECT_EQ(d->colorIndex(), 7);
  EXPECT_EQ(d->ownerId(), Working()->paperSpaceId());
  d->close();
  paper->close();
}

TEST_F(Layers, SetPropertiesAndAppendThatFailsLeavesTheEntityWithTheCaller) {
  AcDbLine* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  AcDbObjectId id;
  EXPECT_EQ(SetPropertiesAndAppend(line, L"x*y", PackedRGB(5), id, nullptr),
            Acad::eInvalidSymbolTableName);
  EXPECT_TRUE(line->isNewObject());
  EXPECT_TRUE(id.isNull());
  delete line;
}

TEST_F(Layers, VerticesAndFaceRecords) {
  AcDbPolyFaceMesh* mesh = new AcDbPolyFaceMesh;
  EXPECT_EQ(AppendPolyFaceVertex(mesh, AcGePoint3d(0, 0, 0)), Acad::eOk);
  EXPECT_EQ(AppendPolyFaceVertex(mesh, AcGePoint3d(1, 0, 0)), Acad::eOk);
  EXPECT_EQ(AppendPolyFaceVertex(mesh, AcGePoint3d(0, 1, 0)), Acad::eOk);
  EXPECT_EQ(AppendFaceRecord(mesh, 1, 2, 3, 0), Acad::eOk);
  EXPECT_EQ(AppendFaceRecord(mesh, 70000, -1, 2, 3), Acad::eOk);  // cut to 16 bits
  EXPECT_EQ(mesh->numVertices(), 3);
  EXPECT_EQ(mesh->numFaces(), 2);
  auto* face = AcDbFaceRecord::cast(mesh->Faces().At(1));
  ASSERT_NE(face, nullptr);
  Adesk::Int16 v = 0;
  face->getVertexAt(0, v);
  EXPECT_EQ(v, 4464);
  face->getVertexAt(1, v);
  EXPECT_EQ(v, -1);
  ASSERT_EQ(AppendToModelSpace(mesh, nullptr), Acad::eOk);
  mesh->close();

  AcDb3dPolyline* polyline = new AcDb3dPolyline;
  EXPECT_EQ(AppendPolylineVertex(polyline, AcGePoint3d(0, 0, 0)), Acad::eOk);
  EXPECT_EQ(AppendPolylineVertex(polyline, AcGePoint3d(1, 2, 3)), Acad::eOk);
  ASSERT_EQ(polyline->Vertices().Size(), 2u);
  auto* vertex = AcDb3dPolylineVertex::cast(polyline->Vertices().At(1));
  ASSERT_NE(vertex, nullptr);
  EXPECT_EQ(vertex->position(), AcGePoint3d(1, 2, 3));
  delete polyline;
}

TEST_F(Layers, AppendingToAMeshOpenForReadIsRefused) {
  AcDbPolyFaceMesh* mesh = new AcDbPolyFaceMesh;
  AcDbObjectId id;
  ASSERT_EQ(AppendToModelSpace(mesh, id, nullptr), Acad::eOk);
  mesh->close();
  AcDbPolyFaceMesh* reading = nullptr;
  ASSERT_EQ(acdbOpenObject(reading, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(AppendPolyFaceVertex(reading, AcGePoint3d(0, 0, 0)), Acad::eNotOpenForWrite);
  EXPECT_EQ(AppendFaceRecord(reading, 1, 2, 3, 0), Acad::eNotOpenForWrite);
  EXPECT_EQ(reading->numVertices(), 0);
  reading->close();
}

// The polyface mesh's vertices and faces, outside or inside a database.
void ReadPolyFace(const AcDbPolyFaceMesh& mesh, std::vector<AcGePoint3d>& points,
                  std::vector<Face>& faces) {
  for (size_t i = 0; i < mesh.Vertices().Size(); ++i)
    if (auto* v = AcDbPolyFaceMeshVertex::cast(mesh.Vertices().At(i)))
      points.push_back(v->position());
  for (size_t i = 0; i < mesh.Faces().Size(); ++i)
    if (auto* f = AcDbFaceRecord::cast(mesh.Faces().At(i))) {
      Face face{};
      for (Adesk::UInt16 k = 0; k < 4; ++k) {
        Adesk::Int16 v = 0;
        f->getVertexAt(k, v);
        face[k] = v;
      }
      faces.push_back(face);
    }
}

AcDbPolygonMesh* Grid(Adesk::Int16 m, Adesk::Int16 n, bool closedM, bool closedN) {
  AcGePoint3dArray points;
  for (int r = 0; r < m; ++r)
    for (int c = 0; c < n; ++c) points.append(AcGePoint3d(c, r, r * c));
  return new AcDbPolygonMesh(AcDb::kSimpleMesh, m, n, points, closedM, closedN);
}

struct GridCase {
  const char* name;
  Adesk::Int16 m, n;
  bool closedM, closedN;
  std::vector<Face> faces;
  friend void PrintTo(const GridCase& c, std::ostream* os) { *os << c.name; }
};

class PolygonToPolyFace : public ::testing::TestWithParam<GridCase> {
 protected:
  HostSession session_;
};

TEST_P(PolygonToPolyFace, CopiesTheGridAndItsCells) {
  const GridCase& grid = GetParam();
  AcDbPolygonMesh* source = Grid(grid.m, grid.n, grid.closedM, grid.closedN);
  AcDbPolyFaceMesh target;
  EXPECT_EQ(PolygonMeshToPolyFaceMesh(source, &target), 1);
  std::vector<AcGePoint3d> points;
  std::vector<Face> faces;
  ReadPolyFace(target, points, faces);
  ASSERT_EQ(points.size(), static_cast<size_t>(grid.m * grid.n));
  for (int r = 0; r < grid.m; ++r)
    for (int c = 0; c < grid.n; ++c)
      EXPECT_EQ(points[static_cast<size_t>(r * grid.n + c)], AcGePoint3d(c, r, r * c));
  EXPECT_EQ(faces, grid.faces);
  delete source;
}

// The same from a mesh in the drawing, whose vertices are opened by id.
TEST_P(PolygonToPolyFace, ReadsAMeshInTheDrawing) {
  const GridCase& grid = GetParam();
  AcDbPolygonMesh* source = Grid(grid.m, grid.n, grid.closedM, grid.closedN);
  const AcDbObjectId id = AddEntity(source);
  AcDbPolygonMesh* reading = nullptr;
  ASSERT_EQ(acdbOpenObject(reading, id, AcDb::kForRead), Acad::eOk);
  AcDbPolyFaceMesh target;
  EXPECT_EQ(PolygonMeshToPolyFaceMesh(reading, &target), 1);
  reading->close();
  std::vector<AcGePoint3d> points;
  std::vector<Face> faces;
  ReadPolyFace(target, points, faces);
  EXPECT_EQ(points.size(), static_cast<size_t>(grid.m * grid.n));
  EXPECT_EQ(faces, grid.faces);
}

INSTANTIATE_TEST_SUITE_P(
    Grids, PolygonToPolyFace,
    ::testing::Values(
        GridCase{"open2x2", 2, 2, false, false, {{1, 2, 4, 3}}},
        GridCase{
            "closed2x3",
            2,
            3,
            true,
            true,
            {{1, 2, 5, 4}, {2, 3, 6, 5}, {3, 1, 4, 6}, {4, 5, 2, 1}, {5, 6, 3, 2}, {3, 6, 4, 1}}},
        GridCase{
            "closedN3x3",
            3,
            3,
            false,
            true,
            {{1, 2, 5, 4}, {2, 3, 6, 5}, {3, 1, 4, 6}, {4, 5, 8, 7}, {5, 6, 9, 8}, {6, 4, 7, 9}}},
        GridCase{"closedM3x2", 3, 2, true, false, {{1, 2, 4, 3}, {3, 4, 6, 5}, {5, 6, 2, 1}}}),
    [](const ::testing::TestParamInfo<GridCase>& info) { return std::string(info.param.name); });

TEST_F(Layers, PolygonMeshWithAnErasedVertexKeepsTheNumbering) {
  AcDbPolygonMesh* source = Grid(2, 3, false, false);
  const AcDbObjectId id = AddEntity(source);
  // Erase the fifth vertex (row 1, column 1): the iterator passes over it.
  AcDbPolygonMesh* mesh = nullptr;
  ASSERT_EQ(acdbOpenObject(mesh, id, AcDb::kForRead), Acad::eOk);
  const AcDbObjectId fifth = mesh->Vertices().IdAt(4);
  mesh->close();
  AcDbEntity* vertex = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(vertex, fifth, AcDb::kForWrite), Acad::eOk);
  vertex->erase();
  vertex->close();

  ASSERT_EQ(acdbOpenObject(mesh, id, AcDb::kForRead), Acad::eOk);
  AcDbPolyFaceMesh target;
  EXPECT_EQ(PolygonMeshToPolyFaceMesh(mesh, &target), 1);
  mesh->close();
  std::vector<AcGePoint3d> points;
  std::vector<Face> faces;
  ReadPolyFace(target, points, faces);
  EXPECT_EQ(points.size(), 5u);
  // Faces number the grid as if it were whole; one that would name the missing sixth vertex is
  // left out rather than written into a corrupt polyface mesh.
  EXPECT_EQ(faces, (std::vector<Face>{{1, 2, 5, 4}}));
}

TEST(FindStringIndex, ExactAndFirst) {
  CStringArray names;
  EXPECT_EQ(FindStringIndex(names, L"AcDbFace"), -1);
  names.Add(L"AcDbFace");
  names.Add(L"AcDbPolyFaceMesh");
  EXPECT_EQ(FindStringIndex(names, L"AcDbPolyFaceMesh"), 1);
  EXPECT_EQ(FindStringIndex(names, L"acdbpolyfacemesh"), -1);
  EXPECT_EQ(FindStringIndex(names, L"AcDbFac"), -1);
  names.Add(L"AcDbFace");
  EXPECT_EQ(FindStringIndex(names, L"AcDbFace"), 0);
  EXPECT_EQ(FindStringIndex(names, L""), -1);
}

TEST_F(Layers, BlockNames) {
  CString name = L"kept";
  EXPECT_EQ(GetBlockName(Working()->modelSpaceId(), name), Acad::eOk);
  EXPECT_EQ(name, L"*Model_Space");
  EXPECT_EQ(GetBlockName(Working()->paperSpaceId()), L"*Paper_Space");

  name = L"kept";
  EXPECT_EQ(GetBlockName(Working()->layerZero(), name), Acad::eNotThatKindOfClass);
  EXPECT_EQ(name, L"kept");
  EXPECT_EQ(GetBlockName(AcDbObjectId::kNull, name), Acad::eNullObjectId);
  EXPECT_EQ(name, L"kept");
  EXPECT_EQ(GetBlockName(AcDbObjectId::kNull), L"");
}

}  // namespace
