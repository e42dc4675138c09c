// The entity classes of the drawing model beyond the simple ones: exact run-time and DXF
// names, a trip through the database, clone, a transformed copy, and each class's LIST lines.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "DrawingBuilders.h"
#include "TestSupport.h"
#include "arx.h"
#include "win32/text.h"

using plx::test::AddToModelSpace;
using plx::test::HostSession;
using plx::test::TranscriptCapture;

namespace {

struct ModelCase {
  const wchar_t* name;
  const wchar_t* dxfName;
  std::function<AcDbEntity*()> make;
  const wchar_t* listed;  // a fragment of the class's own LIST lines
  friend void PrintTo(const ModelCase& c, std::ostream* os) { *os << plx::Utf8FromWide(c.name); }
};

AcDbEntity* MakePolyline() {
  auto* pl = new AcDbPolyline;
  pl->addVertexAt(0, AcGePoint2d(0, 0));
  pl->addVertexAt(1, AcGePoint2d(2, 0), 1.0);
  pl->addVertexAt(2, AcGePoint2d(2, 2));
  return pl;
}

AcDbEntity* MakeSpline() {
  AcGePoint3dArray fit;
  fit.append(AcGePoint3d(0, 0, 0));
  fit.append(AcGePoint3d(1, 1, 0));
  fit.append(AcGePoint3d(2, 0, 0));
  fit.append(AcGePoint3d(3, 1, 0));
  return new AcDbSpline(fit);
}

AcDbEntity* MakeMline() {
  auto* m = new AcDbMline;
  m->appendSeg(AcGePoint3d(0, 0, 0));
  m->appendSeg(AcGePoint3d(4, 0, 0));
  return m;
}

AcDbEntity* MakeHatch() {
  auto* h = new AcDbHatch;
  AcGePoint2dArray v;
  for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 1}}) v.append(AcGePoint2d(x, y));
  h->appendLoop(AcDbHatch::kExternal, v, AcGeDoubleArray());
  return h;
}

AcDbEntity* MakeSubD() {
  auto* mesh = new AcDbSubDMesh;
  AcGePoint3dArray v;
  v.append(AcGePoint3d(0, 0, 0));
  v.append(AcGePoint3d(1, 0, 0));
  v.append(AcGePoint3d(0, 1, 0));
  AcArray<Adesk::Int32> faces;
  for (int i : {3, 0, 1, 2}) faces.append(i);
  mesh->setSubDMesh(v, faces, 0);
  return mesh;
}

AcDbEntity* Make2dPolyline() {
  AcGePoint3dArray v;
  v.append(AcGePoint3d(0, 0, 0));
  v.append(AcGePoint3d(1, 0, 0));
  return new AcDb2dPolyline(AcDb::k2dSimplePoly, v, 2.0);
}

class ModelClass : public ::testing::TestWithParam<ModelCase> {};

TEST_P(ModelClass, KeepsItsNamesThroughDatabaseCloneAndTransform) {
  HostSession session;
  std::unique_ptr<AcDbEntity> made(GetParam().make());
  EXPECT_STREQ(made->isA()->name(), GetParam().name);
  EXPECT_STREQ(made->isA()->dxfName(), GetParam().dxfName);
  AcDbExtents before;
  const bool bounded = made->getGeomExtents(before) == Acad::eOk;
  const AcDbObjectId id = AddToModelSpace(made.release());
  AcDbEntity* entity = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForRead), Acad::eOk);
  EXPECT_STREQ(entity->isA()->name(), GetParam().name);
  std::unique_ptr<AcDbEntity> copy(AcDbEntity::cast(entity->clone()));
  ASSERT_TRUE(copy);
  EXPECT_STREQ(copy->isA()->name(), GetParam().name);
  EXPECT_TRUE(copy->objectId().isNull());
  AcDbEntity* moved = nullptr;
  ASSERT_EQ(entity->getTransformedCopy(AcGeMatrix3d::translation(AcGeVector3d(10, 20, 30)), moved),
            Acad::eOk);
  std::unique_ptr<AcDbEntity> movedOwner(moved);
  if (bounded) {
    AcDbExtents after;
    ASSERT_EQ(moved->getGeomExtents(after), Acad::eOk);
    EXPECT_TRUE(
        after.minPoint().isEqualTo(before.minPoint() + AcGeVector3d(10, 20, 30), AcGeTol()));
    EXPECT_TRUE(
        after.maxPoint().isEqualTo(before.maxPoint() + AcGeVector3d(10, 20, 30), AcGeTol()));
  }
  {
    TranscriptCapture transcript;
    entity->list();
    EXPECT_NE(transcript.Text().find(std::wstring(L"Class = ") + GetParam().name),
              std::wstring::npos);
    EXPECT_NE(transcript.Text().find(GetParam().listed), std::wstring::npos) << transcript.Utf8();
  }
  entity->close();
}

INSTANTIATE_TEST_SUITE_P(
    Classes, ModelClass,
    ::testing::Values(
        ModelCase{L"AcDbRay", L"RAY",
                  [] {
                    auto* r = new AcDbRay;
                    r->setBasePoint(AcGePoint3d(1, 2, 3));
                    return r;
                  },
                  L"base point"},
        ModelCase{L"AcDbXline", L"XLINE", [] { return new AcDbXline; }, L"unit direction"},
        ModelCase{L"AcDbArc", L"ARC", [] { return new AcDbArc(AcGePoint3d(1, 1, 0), 2, 0, 1.5); },
                  L"start angle"},
        ModelCase{L"AcDbEllipse", L"ELLIPSE",
                  [] {
                    return new AcDbEllipse(AcGePoint3d(), AcGeVector3d::kZAxis,
                                           AcGeVector3d(3, 0, 0), 0.5);
                  },
                  L"Radius Ratio:     0.5000"},
        ModelCase{L"AcDbPolyline", L"LWPOLYLINE", MakePolyline, L"bulge     1.0000"},
        ModelCase{L"AcDb2dPolyline", L"POLYLINE", Make2dPolyline, L"elevation     2.0000"},
        ModelCase{L"AcDbSpline", L"SPLINE", MakeSpline, L"Number of fit points: 4"},
        ModelCase{L"AcDbMline", L"MLINE", MakeMline, L"Style = STANDARD"},
        ModelCase{L"AcDbHatch", L"HATCH", MakeHatch, L"Hatch pattern ANSI31"},
        ModelCase{L"AcDbText", L"TEXT",
                  [] { return new AcDbText(AcGePoint3d(1, 1, 0), L"Plovex", AcDbObjectId(), 2.5); },
                  L"Text: Plovex"},
        ModelCase{L"AcDbSubDMesh", L"MESH", MakeSubD, L"Vertices: 3  Faces: 1  Edges: 3"}));

TEST(ModelClass, CurvesDeriveFromAcDbCurve) {
  for (const AcRxClass* c :
       {AcDbRay::desc(), AcDbXline::desc(), AcDbArc::desc(), AcDbEllipse::desc(),
        AcDbPolyline::desc(), AcDb2dPolyline::desc(), AcDbSpline::desc()})
    EXPECT_TRUE(c->isDerivedFrom(AcDbCurve::desc())) << plx::Utf8FromWide(c->name());
  for (const AcRxClass* c : {AcDbMline::desc(), AcDbHatch::desc(), AcDbText::desc(),
                             AcDbBlockReference::desc(), AcDbSubDMesh::desc()})
    EXPECT_FALSE(c->isDerivedFrom(AcDbCurve::desc())) << plx::Utf8FromWide(c->name());
  EXPECT_STREQ(AcDb2dVertex::desc()->name(), L"AcDb2dVertex");
  EXPECT_TRUE(AcDb2dVertex::desc()->isDerivedFrom(AcDbVertex::desc()));
}

}  // namespace
