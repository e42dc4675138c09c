// Entities to openNURBS geometry through the dispatch table: one object per simple row, lines
// of multilines and hatches, modeller entities exploded down to their edge curves, block
// references against definitions, and the whole model space of a real drawing imported in
// process. Every object appended is the caller's: the helper below frees them all, so the
// suite runs clean under LeakSanitizer.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <typeinfo>

#include "DrawingBuilders.h"
#include "TestDrawing.h"
#include "TestSupport.h"
#include "toolkit/Exchange.h"
#include "toolkit/GeometryCollection.h"
#include "toolkit/LastError.h"

using namespace plx::test;

namespace {

const wchar_t kUnchanged[] = L"unchanged";

// The caller's list, deleted with everything in it.
struct GeometryList {
  ON_SimpleArray<ON_Geometry*> items;
  ~GeometryList() {
    for (int i = 0; i < items.Count(); ++i) delete items[i];
  }
  int Count() const { return items.Count(); }
  template <class T>
  T* At(int i) const {
    return dynamic_cast<T*>(items[i]);
  }
  // Objects by openNURBS type name.
  std::map<std::string, int> Types(int from = 0) const {
    std::map<std::string, int> counts;
    for (int i = from; i < items.Count(); ++i) ++counts[TypeName(*items[i])];
    return counts;
  }
  static std::string TypeName(const ON_Geometry& g) {
    if (dynamic_cast<const ON_Point*>(&g)) return "ON_Point";
    if (dynamic_cast<const ON_LineCurve*>(&g)) return "ON_LineCurve";
    if (dynamic_cast<const ON_ArcCurve*>(&g)) return "ON_ArcCurve";
    if (dynamic_cast<const ON_NurbsCurve*>(&g)) return "ON_NurbsCurve";
    if (dynamic_cast<const ON_PolylineCurve*>(&g)) return "ON_PolylineCurve";
    if (dynamic_cast<const ON_Mesh*>(&g)) return "ON_Mesh";
    if (dynamic_cast<const ON_NurbsSurface*>(&g)) return "ON_NurbsSurface";
    if (dynamic_cast<const ON_InstanceRef*>(&g)) return "ON_InstanceRef";
    if (dynamic_cast<const ON_TextEntity2*>(&g)) return "ON_TextEntity2";
    return typeid(g).name();
  }
};

const ON_ClassArray<ON_InstanceDefinition> kNoDefinitions;

// Opens the entity for read, converts it and closes it.
int Convert(const AcDbObjectId& id, GeometryList& list,
            const ON_ClassArray<ON_InstanceDefinition>& definitions = kNoDefinitions) {
  AcDbEntity* entity = nullptr;
  EXPECT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForRead), Acad::eOk);
  if (!entity) return -1;
  const int result = EntityToGeometry(entity, list.items, definitions);
  entity->close();
  return result;
}

AcGePoint3dArray Points(std::initializer_list<AcGePoint3d> list) {
  AcGePoint3dArray points;
  for (const AcGePoint3d& p : list) points.append(p);
  return points;
}

class GeometryCollection : public ::testing::Test {
 protected:
  void SetUp() override { SetGeometryError(kUnchanged); }
  HostSession session_;
};

// One row of the table that makes one object of one type.
struct RowCase {
  const char* name;
  std::function<AcDbEntity*()> make;
  const char* type;
};

class GeometryCollectionRow : public ::testing::TestWithParam<RowCase> {
 protected:
  HostSession session_;
};

TEST_P(GeometryCollectionRow, AppendsOneObjectOfTheRowsType) {
  const AcDbObjectId id = AddEntity(GetParam().make());
  GeometryList list;
  list.items.Append(new ON_Point(7, 7, 7));  // what the caller held stays in front
  ASSERT_EQ(Convert(id, list), 1);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.At<ON_Point>(0)->point, ON_3dPoint(7, 7, 7));
  EXPECT_EQ(GeometryList::TypeName(*list.items[1]), GetParam().type);
  // Converting again appends again: the list is never cleared.
  ASSERT_EQ(Convert(id, list), 1);
  EXPECT_EQ(list.Count(), 3);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GeometryCollectionRow,
    ::testing::Values(
        RowCase{"Point", [] { return new AcDbPoint(AcGePoint3d(1, 2, 3)); }, "ON_Point"},
        RowCase{"Line", [] { return new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)); },
                "ON_LineCurve"},
        RowCase{"Ray", [] { return new AcDbRay; }, "ON_LineCurve"},
        RowCase{"Xline", [] { return new AcDbXline; }, "ON_LineCurve"},
        RowCase{"Circle",
                [] { return new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, 1), 1); },
                "ON_ArcCurve"},
        RowCase{"Arc", [] { return new AcDbArc(AcGePoint3d(0, 0, 0), 1, 0, 1); }, "ON_ArcCurve"},
        RowCase{"Ellipse",
                [] {
                  return new AcDbEllipse(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, 1),
                                         AcGeVector3d(2, 0, 0), 0.5);
                },
                "ON_NurbsCurve"},
        RowCase{"Polyline",
                [] {
                  auto* p = new AcDbPolyline;
                  p->addVertexAt(0, AcGePoint2d(0, 0));
                  p->addVertexAt(1, AcGePoint2d(1, 0), 0.5);
                  p->addVertexAt(2, AcGePoint2d(1, 1));
                  return p;
                },
                "ON_PolylineCurve"},
        RowCase{"Polyline3d",
                [] {
                  return new AcDb3dPolyline(AcDb::k3dSimplePoly, Points({{0, 0, 0}, {1, 1, 1}}));
                },
                "ON_PolylineCurve"},
        RowCase{"Spline",
                [] {
                  return new AcDbSpline(Points({{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}}));
                },
                "ON_NurbsCurve"},
        RowCase{"Face",
                [] {
                  return new AcDbFace(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0),
                                      AcGePoint3d(1, 1, 0), AcGePoint3d(0, 1, 0));
                },
                "ON_Mesh"},
        RowCase{"PolygonMesh",
                [] {
                  return new AcDbPolygonMesh(AcDb::kSimpleMesh, 2, 2,
                                             Points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}),
                                             false, false);
                },
                "ON_Mesh"},
        RowCase{"Solid2d",
                [] {
                  return new AcDbSolid(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0),
                                       AcGePoint3d(0, 1, 0), AcGePoint3d(1, 1, 0));
                },
                "ON_NurbsSurface"},
        RowCase{"Text", [] { return new AcDbText(AcGePoint3d(1, 2, 3), L"Plovex"); },
                "ON_TextEntity2"}),
    [](const ::testing::TestParamInfo<RowCase>& info) { return std::string(info.param.name); });

TEST_F(GeometryCollection, TextGivesOneEmptyTextEntity) {
  auto* text = new AcDbText(AcGePoint3d(5, 6, 7), L"Hello");
  text->setHeight(2.5);
  GeometryList list;
  ASSERT_EQ(Convert(AddEntity(text), list), 1);
  ASSERT_EQ(list.Count(), 1);
  const auto* entity = list.At<ON_TextEntity2>(0);
  ASSERT_NE(entity, nullptr);
  EXPECT_TRUE(entity->m_usertext.empty());
  EXPECT_EQ(entity->m_plane.origin, ON_3dPoint(0, 0, 0));
  EXPECT_EQ(entity->m_textheight, 1.0);
}

TEST_F(GeometryCollection, UnlistedClassGivesNothing) {
  GeometryList list;
  list.items.Append(new ON_Point);
  auto* polyline2d = new AcDb2dPolyline(AcDb::k2dSimplePoly, Points({{0, 0, 0}, {1, 0, 0}}));
  EXPECT_EQ(Convert(AddEntity(polyline2d), list), 0);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(GetGeometryError(), CString(kUnchanged));
}

TEST_F(GeometryCollection, FailingReaderAppendsNothingAndKeepsItsReason) {
  // A polyface mesh without faces is not a valid mesh.
  auto* mesh = new AcDbPolyFaceMesh;
  const AcDbObjectId id = AddEntity(mesh);
  GeometryList list;
  EXPECT_EQ(Convert(id, list), 0);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(GetGeometryError(), CString(L"Invalid mesh"));
}

TEST_F(GeometryCollection, Solid2dCornersGoToThePatchInZOrder) {
  struct Case {
    AcGePoint3d c[4];
    ON_3dPoint at11, at01;  // the patch corners (1, 1) and (0, 1)
  };
  const Case cases[] = {
      // Corners in a Z: the patch takes c0, c1, c3, c2.
      {{{0, 0, 0}, {2, 0, 0}, {0, 1, 0}, {2, 1, 0}}, {2, 1, 0}, {0, 1, 0}},
      // c2 equal to c3 within gTol: the triangle c0, c1, c2.
      {{{0, 0, 0}, {2, 0, 0}, {1, 1, 0}, {1, 1 + 1e-12, 0}}, {1, 1, 0}, {1, 1, 0}},
  };
  for (const Case& c : cases) {
    AcDbSolid solid(c.c[0], c.c[1], c.c[2], c.c[3]);
    ON_NurbsSurface surface;
    EXPECT_NE(Solid2dToNurbsSurface(&solid, surface), 0);
    EXPECT_EQ(surface.PointAt(0, 0), ON_3dPoint(0, 0, 0));
    EXPECT_EQ(surface.PointAt(1, 0), ON_3dPoint(2, 0, 0));
    EXPECT_EQ(surface.PointAt(1, 1), c.at11);
    EXPECT_EQ(surface.PointAt(0, 1), c.at01);
  }
}

// The ends of the explode's line pieces, in piece order.
std::vector<std::pair<ON_3dPoint, ON_3dPoint>> LinePieces(const AcDbEntity& entity) {
  AcDbVoidPtrArray pieces;
  EXPECT_EQ(entity.explode(pieces), Acad::eOk);
  std::vector<std::pair<ON_3dPoint, ON_3dPoint>> lines;
  for (void* p : pieces) {
    std::unique_ptr<AcDbEntity> piece(static_cast<AcDbEntity*>(p));
    if (piece->isA() != AcDbLine::desc()) continue;
    const auto* line = AcDbLine::cast(piece.get());
    const AcGePoint3d a = line->startPoint(), b = line->endPoint();
    lines.emplace_back(ON_3dPoint(a.x, a.y, a.z), ON_3dPoint(b.x, b.y, b.z));
  }
  return lines;
}

void ExpectLines(const GeometryList& list,
                 const std::vector<std::pair<ON_3dPoint, ON_3dPoint>>& lines) {
  ASSERT_EQ(list.Types(),
            (std::map<std::string, int>{{"ON_LineCurve", static_cast<int>(lines.size())}}));
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto* curve = list.At<ON_LineCurve>(static_cast<int>(i));
    EXPECT_EQ(curve->m_line.from, lines[i].first) << i;
    EXPECT_EQ(curve->m_line.to, lines[i].second) << i;
  }
}

TEST_F(GeometryCollection, RoundCappedMultilineGivesItsLinesOnly) {
  AcDbMlineStyle style;
  style.setStartRoundCap(true);
  style.setEndRoundCap(true);
  auto* mline = new AcDbMline;
  ASSERT_EQ(mline->SetStyle(style), Acad::eOk);
  mline->appendSeg(AcGePoint3d(0, 0, 0));
  mline->appendSeg(AcGePoint3d(4, 0, 0));
  mline->appendSeg(AcGePoint3d(4, 4, 0));
  const auto lines = LinePieces(*mline);
  ASSERT_EQ(lines.size(), 4u);  // two elements of two segments; the caps are arcs
  GeometryList list;
  ASSERT_EQ(Convert(AddEntity(mline), list), 1);
  ExpectLines(list, lines);
}

TEST_F(GeometryCollection, HatchWithArcEdgesGivesItsLinesOnly) {
  auto* hatch = new AcDbHatch;
  AcGePoint2dArray corners;
  for (auto [x, y] : {std::pair{0.0, 0.0}, {4.0, 0.0}, {4.0, 4.0}, {0.0, 4.0}})
    corners.append(AcGePoint2d(x, y));
  AcGeDoubleArray bulges;
  for (double b : {0.0, 0.4, 0.0, -0.3}) bulges.append(b);
  ASSERT_EQ(hatch->appendLoop(AcDbHatch::kExternal, corners, bulges), Acad::eOk);
  const auto lines = LinePieces(*hatch);
  ASSERT_GT(lines.size(), 2u);
  GeometryList list;
  ASSERT_EQ(Convert(AddEntity(hatch), list), 1);
  ExpectLines(list, lines);
}

TEST_F(GeometryCollection, HatchThatCannotExplodeGivesNothingAndNoReason) {
  auto* hatch = new AcDbHatch;
  AcGePoint2dArray corners;
  for (auto [x, y] : {std::pair{0.0, 0.0}, {1e6, 0.0}, {1e6, 1e6}, {0.0, 1e6}})
    corners.append(AcGePoint2d(x, y));
  ASSERT_EQ(hatch->appendLoop(AcDbHatch::kExternal, corners, AcGeDoubleArray()), Acad::eOk);
  GeometryList list;
  EXPECT_EQ(Convert(AddEntity(hatch), list), 0);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(GetGeometryError(), CString(kUnchanged));
}

// A multiline whose explode fails (its class name stays "AcDbMline").
class UnexplodableMline : public AcDbMline {
 public:
  Acad::ErrorStatus explode(AcDbVoidPtrArray&) const override { return Acad::eInvalidInput; }
};

TEST_F(GeometryCollection, MultilineThatCannotExplodeSaysSo) {
  UnexplodableMline mline;
  ON_ClassArray<ON_LineCurve> lines;
  EXPECT_EQ(MlineToLineCurves(&mline, lines), 0);
  EXPECT_EQ(GetGeometryError(), CString(L"Unable to explode MLINE object"));
  GeometryList list;
  EXPECT_EQ(EntityToGeometry(&mline, list.items, kNoDefinitions), 0);
  EXPECT_EQ(list.Count(), 0);
}

AcDbObjectId AddSolid(const std::function<Acad::ErrorStatus(AcDb3dSolid&)>& make) {
  auto* solid = new AcDb3dSolid;
  EXPECT_EQ(make(*solid), Acad::eOk);
  return AddEntity(solid);
}

struct SolidCase {
  const char* name;
  std::function<Acad::ErrorStatus(AcDb3dSolid&)> make;
  std::map<std::string, int> types;
};

class GeometryCollectionSolid : public ::testing::TestWithParam<SolidCase> {
 protected:
  void SetUp() override { SetGeometryError(kUnchanged); }
  HostSession session_;
};

TEST_P(GeometryCollectionSolid, ExplodesDownToEdgeCurves) {
  GeometryList list;
  EXPECT_EQ(Convert(AddSolid(GetParam().make), list), 1);
  EXPECT_EQ(list.Types(), GetParam().types);
  EXPECT_EQ(GetGeometryError(), CString(kUnchanged));
}

INSTANTIATE_TEST_SUITE_P(
    Primitives, GeometryCollectionSolid,
    ::testing::Values(
        // Six regions of four lines each.
        SolidCase{
            "Box", [](AcDb3dSolid& s) { return s.createBox(1, 2, 3); }, {{"ON_LineCurve", 24}}},
        // Two end regions of one circle each, and a body whose seam is left out.
        SolidCase{"Cylinder",
                  [](AcDb3dSolid& s) { return s.createFrustum(2, 1, 1, 1); },
                  {{"ON_ArcCurve", 4}}},
        SolidCase{"Sphere", [](AcDb3dSolid& s) { return s.createSphere(1); }, {}},
        SolidCase{"Torus", [](AcDb3dSolid& s) { return s.createTorus(3, 1); }, {}},
        // Five regions: two triangles and three rectangles.
        SolidCase{"Wedge",
                  [](AcDb3dSolid& s) { return s.createWedge(1, 2, 3); },
                  {{"ON_LineCurve", 18}}}),
    [](const ::testing::TestParamInfo<SolidCase>& info) { return std::string(info.param.name); });

TEST_F(GeometryCollection, ModellerEntitiesThatCannotExplodeGiveZero) {
  GeometryList list;
  AcDb3dSolid solid;
  AcDbBody body;
  AcDbRegion region;
  EXPECT_EQ(SolidToGeometry(&solid, list.items), 0);
  EXPECT_EQ(BodyToGeometry(&body, list.items), 0);
  EXPECT_EQ(RegionToGeometry(&region, list.items), 0);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(GetGeometryError(), CString(kUnchanged));
}

// A body that explodes into a copy of itself (its class name stays "AcDbBody").
class SelfExplodingBody : public AcDbBody {
 public:
  Acad::ErrorStatus explode(AcDbVoidPtrArray& pieces) const override {
    pieces.append(new SelfExplodingBody(*this));
    return Acad::eOk;
  }
};

TEST_F(GeometryCollection, PieceThatExplodesIntoItsOwnKindEnds) {
  SelfExplodingBody body;
  GeometryList list;
  EXPECT_EQ(EntityToGeometry(&body, list.items, kNoDefinitions), 1);
  EXPECT_EQ(list.Count(), 0);
}

AcDbObjectId AddBlock(const wchar_t* name) {
  AcDbBlockTable* table = nullptr;
  EXPECT_EQ(Working()->getBlockTable(table, AcDb::kForWrite), Acad::eOk);
  auto* record = new AcDbBlockTableRecord;
  record->setName(name);
  AcDbObjectId id;
  EXPECT_EQ(table->add(id, record), Acad::eOk);
  record->appendAcDbEntity(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
  record->close();
  table->close();
  return id;
}

ON_InstanceDefinition Definition(const wchar_t* name) {
  ON_InstanceDefinition definition;
  definition.SetName(name);
  definition.SetUuid(ON_CreateUuid());
  return definition;
}

struct BlockCase {
  const char* name;
  std::vector<const wchar_t*> definitions;
  int result;
  int matched;  // index of the definition whose uuid is taken, -1 for none
};

class GeometryCollectionBlock : public ::testing::TestWithParam<BlockCase> {
 protected:
  HostSession session_;
};

TEST_P(GeometryCollectionBlock, MatchesTheFirstDefinitionOfTheExactName) {
  const BlockCase& c = GetParam();
  const AcDbObjectId block = AddBlock(L"Bolt");
  auto* made = new AcDbBlockReference(AcGePoint3d(5, 6, 7), block);
  made->setRotation(0.5);
  const AcDbObjectId id = AddEntity(made);
  ON_ClassArray<ON_InstanceDefinition> definitions;
  for (const wchar_t* name : c.definitions) definitions.Append(Definition(name));

  AcDbBlockReference* reference = nullptr;
  ASSERT_EQ(acdbOpenObject(reference, id, AcDb::kForRead), Acad::eOk);
  const AcGeMatrix3d transform = reference->blockTransform();
  ON_InstanceRef instance;
  const ON_UUID before = ON_CreateUuid();
  instance.m_instance_definition_uuid = before;
  EXPECT_EQ(BlockReferenceToInstanceRef(reference, instance, definitions), c.result);
  // The transform is set whether a definition matched or not; translation in column 3.
  EXPECT_EQ(instance.m_xform.m_xform[0][3], 5.0);
  EXPECT_EQ(instance.m_xform.m_xform[2][3], 7.0);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) EXPECT_EQ(instance.m_xform.m_xform[i][j], transform.entry[i][j]);
  EXPECT_EQ(instance.m_instance_definition_uuid,
            c.matched >= 0 ? definitions[c.matched].Uuid() : before);

  GeometryList list;
  EXPECT_EQ(EntityToGeometry(reference, list.items, definitions), c.result);
  reference->close();
  EXPECT_EQ(list.Count(), c.result);
  if (c.result) {
    EXPECT_EQ(list.At<ON_InstanceRef>(0)->m_instance_definition_uuid,
              definitions[c.matched].Uuid());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Definitions, GeometryCollectionBlock,
    ::testing::Values(BlockCase{"None", {}, 0, -1},
                      BlockCase{"OtherNames", {L"Nut", L"Washer"}, 0, -1},
                      BlockCase{"CaseDiffers", {L"BOLT", L"bolt"}, 0, -1},
                      BlockCase{"FirstMatchWins", {L"Nut", L"Bolt", L"Bolt"}, 1, 1},
                      BlockCase{"CaseMatters", {L"BOLT", L"Bolt"}, 1, 1}),
    [](const ::testing::TestParamInfo<BlockCase>& info) { return std::string(info.param.name); });

TEST_F(GeometryCollection, BlockReferenceWithoutABlockIsLeftUntouched) {
  AcDbBlockReference reference;  // no block table record
  ON_ClassArray<ON_InstanceDefinition> definitions;
  definitions.Append(Definition(L""));
  ON_InstanceRef instance;
  instance.m_xform.m_xform[0][3] = 9;
  EXPECT_EQ(BlockReferenceToInstanceRef(&reference, instance, definitions), 0);
  EXPECT_EQ(instance.m_xform.m_xform[0][3], 9.0);
  EXPECT_TRUE(ON_UuidIsNil(instance.m_instance_definition_uuid));
}

// The openNURBS type each single-object row makes.
const std::map<std::wstring, std::string> kRowType = {{L"AcDbPoint", "ON_Point"},
                                                      {L"AcDbLine", "ON_LineCurve"},
                                                      {L"AcDbRay", "ON_LineCurve"},
                                                      {L"AcDbXline", "ON_LineCurve"},
                                                      {L"AcDbCircle", "ON_ArcCurve"},
                                                      {L"AcDbArc", "ON_ArcCurve"},
                                                      {L"AcDbEllipse", "ON_NurbsCurve"},
                                                      {L"AcDbPolyline", "ON_PolylineCurve"},
                                                      {L"AcDb3dPolyline", "ON_PolylineCurve"},
                                                      {L"AcDbSpline", "ON_NurbsCurve"},
                                                      {L"AcDbFace", "ON_Mesh"},
                                                      {L"AcDbPolyFaceMesh", "ON_Mesh"},
                                                      {L"AcDbPolygonMesh", "ON_Mesh"},
                                                      {L"AcDbSolid", "ON_NurbsSurface"},
                                                      {L"AcDbBlockReference", "ON_InstanceRef"},
                                                      {L"AcDbText", "ON_TextEntity2"}};

// What the host's explode gives, counted down to curves: lines of multilines and hatches, and
// the edge curves of modeller entities.
void CountPieces(const AcDbEntity& entity, bool linesOnly, std::map<std::string, int>& expected) {
  AcDbVoidPtrArray pieces;
  ASSERT_EQ(entity.explode(pieces), Acad::eOk);
  for (void* p : pieces) {
    std::unique_ptr<AcDbEntity> piece(static_cast<AcDbEntity*>(p));
    const std::wstring name = piece->isA()->name();
    if (linesOnly) {
      if (name == L"AcDbLine") ++expected["ON_LineCurve"];
    } else if (name == L"AcDb3dSolid" || name == L"AcDbBody" || name == L"AcDbRegion") {
      CountPieces(*piece, false, expected);
    } else if (kRowType.count(name)) {
      ++expected[kRowType.at(name)];
    }
  }
}

struct DrawingCase {
  const char* file;
  std::vector<const wchar_t*> classes;  // that the drawing holds at least once
};

class GeometryCollectionDrawing : public ::testing::TestWithParam<DrawingCase> {};

TEST_P(GeometryCollectionDrawing, ModelSpaceGivesOneObjectPerListedEntity) {
  HostSession session;
  ASSERT_EQ(ImportDXF(CString((CorpusDir() / GetParam().file).wstring().c_str()), 0), 1);

  // A definition for every named block, so that every reference finds its own.
  ON_ClassArray<ON_InstanceDefinition> definitions;
  AcDbBlockTable* table = nullptr;
  ASSERT_EQ(Working()->getBlockTable(table, AcDb::kForRead), Acad::eOk);
  AcDbBlockTableIterator* blocks = nullptr;
  table->newIterator(blocks);
  for (; !blocks->done(); blocks->step()) {
    AcDbBlockTableRecord* record = nullptr;
    ASSERT_EQ(blocks->getRecord(record, AcDb::kForRead), Acad::eOk);
    const ACHAR* name = nullptr;
    record->getName(name);
    definitions.Append(Definition(name));
    record->close();
  }
  delete blocks;
  table->close();

  std::map<std::wstring, int> classes;
  std::map<std::string, int> expected;
  GeometryList list;
  for (const AcDbObjectId& id : ModelSpaceIds()) {
    AcDbEntity* entity = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForRead), Acad::eOk);
    const std::wstring name = entity->isA()->name();
    ++classes[name];
    if (kRowType.count(name)) ++expected[kRowType.at(name)];
    if (name == L"AcDbMline" || name == L"AcDbHatch") CountPieces(*entity, true, expected);
    if (name == L"AcDb3dSolid" || name == L"AcDbBody" || name == L"AcDbRegion")
      CountPieces(*entity, false, expected);
    const int before = list.Count();
    const int result = EntityToGeometry(entity, list.items, definitions);
    entity->close();
    const bool listed = kRowType.count(name) || name == L"AcDbMline" || name == L"AcDbHatch" ||
                        name == L"AcDb3dSolid" || name == L"AcDbBody" || name == L"AcDbRegion";
    EXPECT_EQ(result, listed ? 1 : 0) << "an entity of class " << CString(name.c_str()).GetString();
    if (!listed) {
      EXPECT_EQ(list.Count(), before);
    }
  }
  for (const wchar_t* name : GetParam().classes)
    EXPECT_GT(classes[name], 0) << CString(name).GetString();
  EXPECT_EQ(list.Types(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, GeometryCollectionDrawing,
    ::testing::Values(DrawingCase{"libredwg_example_2000.dxf",
                                  {L"AcDbPoint", L"AcDbLine", L"AcDbRay", L"AcDbXline", L"AcDbArc",
                                   L"AcDbEllipse", L"AcDbPolyline", L"AcDbSpline", L"AcDbFace",
                                   L"AcDbSolid", L"AcDbMline", L"AcDbHatch", L"AcDbBlockReference",
                                   L"AcDbPolyFaceMesh", L"AcDb3dPolyline"}},
                      DrawingCase{"libredwg_example_r12.dxf",
                                  {L"AcDbLine", L"AcDbBlockReference"}}),
    [](const ::testing::TestParamInfo<DrawingCase>& info) {
      std::string name = info.param.file;
      return name.substr(0, name.find('.'));
    });

}  // namespace
