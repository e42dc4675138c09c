// The host's drawing commands run from scripts: what they build, with the host's prompts.
#include <gtest/gtest.h>

#include "DrawingBuilders.h"
#include "TestSupport.h"
#include "arx.h"

using plx::test::HostSession;
using plx::test::ModelSpaceIds;
using plx::test::ScriptedInput;
using plx::test::TranscriptCapture;

namespace {

void Command(const std::wstring& command, const std::vector<std::wstring>& answers) {
  ScriptedInput script(answers);
  ASSERT_TRUE(plx::host::RunCommand(command));
}

template <class T>
struct Opened {
  explicit Opened(const AcDbObjectId& id) { EXPECT_EQ(acdbOpenObject(object, id, AcDb::kForRead), Acad::eOk); }
  ~Opened() {
    if (object) object->close();
  }
  T* operator->() const { return object; }
  T* object = nullptr;
};

std::vector<std::vector<int>> FaceRecords(const AcDbPolyFaceMesh& mesh) {
  std::vector<std::vector<int>> faces;
  AcDbObjectIterator* it = mesh.vertexIterator();
  for (; !it->done(); it->step()) {
    AcDbFaceRecord* record = nullptr;
    if (acdbOpenObject(record, it->objectId(), AcDb::kForRead) != Acad::eOk) continue;
    std::vector<int> v;
    for (Adesk::UInt16 k = 0; k < 4; ++k) {
      Adesk::Int16 index = 0;
      record->getVertexAt(k, index);
      v.push_back(index);
    }
    faces.push_back(v);
    record->close();
  }
  delete it;
  return faces;
}

}  // namespace

TEST(DrawCommands, LineDrawsSegmentsUndoesAndCloses) {
  HostSession session;
  TranscriptCapture transcript;
  Command(L"LINE", {L"0,0", L"5,0", L"9,9", L"U", L"5,5", L"@0,-5", L"C"});
  const std::vector<AcDbObjectId> ids = ModelSpaceIds();
  ASSERT_EQ(ids.size(), 4u);
  Opened<AcDbLine> last(ids.back());
  EXPECT_EQ(last->startPoint(), AcGePoint3d(5, 0, 0));
  EXPECT_EQ(last->endPoint(), AcGePoint3d(0, 0, 0));
  Opened<AcDbLine> second(ids[1]);
  EXPECT_EQ(second->endPoint(), AcGePoint3d(5, 5, 0));
  EXPECT_NE(transcript.Text().find(L"Specify next point or [Undo]: 5,0\nSpecify next point or [Undo]: 9,9\n"
                                   L"Specify next point or [Close/Undo]: U\n"),
            std::wstring::npos);
}

TEST(DrawCommands, PointAndCircle) {
  HostSession session;
  Command(L"POINT", {L"1,2,3"});
  Command(L"CIRCLE", {L"0,0", L"2.5"});
  Command(L"_circle", {L"10,0", L"d", L"4"});
  Command(L"CIRCLE", {L"3P", L"1,0", L"0,1", L"-1,0"});
  Command(L"CIRCLE", {L"2P", L"0,0", L"0,6"});
  Command(L"CIRCLE", {L"3P", L"0,0", L"1,1", L"2,2"});  // on one line: no circle
  const std::vector<AcDbObjectId> ids = ModelSpaceIds();
  ASSERT_EQ(ids.size(), 5u);
  EXPECT_EQ(Opened<AcDbPoint>(ids[0])->position(), AcGePoint3d(1, 2, 3));
  EXPECT_DOUBLE_EQ(Opened<AcDbCircle>(ids[1])->radius(), 2.5);
  EXPECT_DOUBLE_EQ(Opened<AcDbCircle>(ids[2])->radius(), 2);
  EXPECT_NEAR(Opened<AcDbCircle>(ids[3])->radius(), 1, 1e-12);
  EXPECT_TRUE(Opened<AcDbCircle>(ids[3])->center().isEqualTo(AcGePoint3d(0, 0, 0), AcGeTol()));
  EXPECT_EQ(Opened<AcDbCircle>(ids[4])->center(), AcGePoint3d(0, 3, 0));
}

TEST(DrawCommands, ThreeDFaceChainsFacesAndMarksInvisibleEdges) {
  HostSession session;
  Command(L"3DFACE", {L"0,0,0", L"1,0,0", L"I", L"1,1,0", L"0,1,0", L"0,2,0", L"", L""});
  const std::vector<AcDbObjectId> ids = ModelSpaceIds();
  ASSERT_EQ(ids.size(), 2u);
  Opened<AcDbFace> first(ids[0]);
  Adesk::Boolean visible = true;
  first->isEdgeVisibleAt(2, visible);
  EXPECT_FALSE(visible);
  first->isEdgeVisibleAt(1, visible);
  EXPECT_TRUE(visible);
  Opened<AcDbFace> second(ids[1]);  // from the third and fourth corners, a triangle
  AcGePoint3d p0, p2, p3;
  second->getVertexAt(0, p0);
  second->getVertexAt(2, p2);
  second->getVertexAt(3, p3);
  EXPECT_EQ(p0, AcGePoint3d(1, 1, 0));
  EXPECT_EQ(p2, AcGePoint3d(0, 2, 0));
  EXPECT_EQ(p3, p2);
}

TEST(DrawCommands, PfaceBuildsVerticesAndSignedFaceRecords) {
  HostSession session;
  TranscriptCapture transcript;
  Command(L"PFACE", {L"0,0,0", L"1,0,0", L"1,1,0", L"0,1,0", L"0.5,1.5,0", L"", L"1", L"2", L"3", L"-4", L"",
                 L"1", L"9", L"2", L"", L"4", L"3", L"5", L"2", L"1", L"", L""});
  const std::vector<AcDbObjectId> ids = ModelSpaceIds();
  ASSERT_EQ(ids.size(), 1u);
  Opened<AcDbPolyFaceMesh> mesh(ids[0]);
  EXPECT_EQ(mesh->numVertices(), 5);
  // The second face has two vertices and is dropped; the five-sided one becomes a quad and a
  // triangle with the edge between them invisible.
  EXPECT_EQ(FaceRecords(*mesh.object),
            (std::vector<std::vector<int>>{{1, 2, 3, -4}, {4, 3, 5, -2}, {-4, 2, 1, 0}}));
  EXPECT_NE(transcript.Text().find(L"Vertex number must be between 1 and 5"), std::wstring::npos);
  EXPECT_NE(transcript.Text().find(L"A face needs at least three vertices; face 2 dropped."), std::wstring::npos);
  EXPECT_NE(transcript.Text().find(L"Face 1, vertex 4:\nEnter a vertex number or [Color/Layer] <next face>: -4"),
            std::wstring::npos);
}

TEST(DrawCommands, PfaceFacesTakeTheirOwnColourAndLayer) {
  HostSession session;
  plx::test::AddLayer(L"Glass", 4);
  Command(L"PFACE", {L"0,0,0", L"1,0,0", L"1,1,0", L"", L"C", L"1", L"L", L"Glass", L"1", L"2", L"3", L"", L""});
  Opened<AcDbPolyFaceMesh> mesh(ModelSpaceIds()[0]);
  AcDbObjectIterator* it = mesh->vertexIterator();
  for (int i = 0; i < 3; ++i) it->step();
  AcDbFaceRecord* record = nullptr;
  ASSERT_EQ(acdbOpenObject(record, it->objectId(), AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(record->colorIndex(), 1);
  EXPECT_EQ(record->layerId(), plx::test::AddLayer(L"Glass"));
  record->close();
  delete it;
}

TEST(DrawCommands, ThreeDMeshAsksEveryVertexRowByRow) {
  HostSession session;
  TranscriptCapture transcript;
  Command(L"3DMESH", {L"1", L"2", L"3", L"0,0,0", L"1,0,0", L"2,0,0", L"0,1,0", L"1,1,1", L"2,1,0"});
  EXPECT_NE(transcript.Text().find(L"Requires an integer between 2 and 256."), std::wstring::npos);
  EXPECT_NE(transcript.Text().find(L"Specify location for vertex (1, 2): 2,1,0"), std::wstring::npos);
  Opened<AcDbPolygonMesh> mesh(ModelSpaceIds()[0]);
  EXPECT_EQ(mesh->mSize(), 2);
  EXPECT_EQ(mesh->nSize(), 3);
  EXPECT_FALSE(mesh->isMClosed());
  AcDbExtents box;
  mesh->getGeomExtents(box);
  EXPECT_EQ(box.maxPoint(), AcGePoint3d(2, 1, 1));
}

TEST(DrawCommands, PeditClosesMeshesAndPolylines) {
  HostSession session;
  Command(L"3DMESH", {L"2", L"2", L"0,0", L"1,0", L"0,1", L"1,1"});
  Command(L"PEDIT", {L"L", L"M", L"N", L"U", L""});
  Opened<AcDbPolygonMesh> mesh(ModelSpaceIds()[0]);
  EXPECT_TRUE(mesh->isMClosed());
  EXPECT_FALSE(mesh->isNClosed());
  mesh.object->close();
  mesh.object = nullptr;
  Command(L"3DPOLY", {L"0,0,0", L"1,0,0", L"1,1,1", L""});
  Command(L"PEDIT", {plx::test::HandleText(ModelSpaceIds()[1]), L"C", L""});
  Opened<AcDb3dPolyline> polyline(ModelSpaceIds()[1]);
  EXPECT_TRUE(polyline->isClosed());
}

TEST(DrawCommands, CancelledCommandsLeaveTheDrawingAsItWas) {
  HostSession session;
  Command(L"3DMESH", {L"2", L"2", L"0,0", L"^C"});
  Command(L"PFACE", {L"0,0", L"1,0", L"1,1", L"", L"1", L"^C"});
  Command(L"CIRCLE", {L"0,0", L"^C"});
  EXPECT_TRUE(ModelSpaceIds().empty());
}
