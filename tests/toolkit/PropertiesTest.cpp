// Entity properties and the effective colour of entities, on a real drawing.
#include <gtest/gtest.h>

#include "TestDrawing.h"
#include "TestSupport.h"
#include "toolkit/Properties.h"

using namespace plx::test;

namespace {

struct IndexCase {
  Adesk::UInt16 index;
  PackedRGB rgb;
  friend void PrintTo(const IndexCase& c, std::ostream* os) { *os << "index " << c.index; }
};

class EntityRGBByIndex : public ::testing::TestWithParam<IndexCase> {};

TEST_P(EntityRGBByIndex, GoesThroughThePalette) {
  HostSession session;
  const AcDbObjectId id = AddLine();
  Recolour(id, IndexColour(GetParam().index));
  PackedRGB rgb = 0x123456;
  EXPECT_EQ(GetEntityRGB(id, rgb), Acad::eOk);
  EXPECT_EQ(rgb, GetParam().rgb);
  EXPECT_EQ(GetEntityRGB(id), GetParam().rgb);
}

INSTANTIATE_TEST_SUITE_P(Indices, EntityRGBByIndex,
                         ::testing::Values(IndexCase{1, 0x0000FF}, IndexCase{5, 0xFF0000},
                                           IndexCase{7, 0xFFFFFF}, IndexCase{8, 0x808080},
                                           IndexCase{250, 0x545454},
                                           IndexCase{112, PackRGB(0, 166, 64)},
                                           IndexCase{11, PackRGB(255, 128, 128)}));

class Properties : public ::testing::Test {
 protected:
  HostSession session_;
};

TEST_F(Properties, TrueColourKeepsItsComponents) {
  const AcDbObjectId id = AddLine();
  AcCmColor colour;
  colour.setRGB(10, 20, 30);
  Recolour(id, colour);
  PackedRGB rgb = 0;
  EXPECT_EQ(GetEntityRGB(id, rgb), Acad::eOk);
  EXPECT_EQ(rgb, 0x1E140Au);
}

TEST_F(Properties, ByLayerTakesTheLayerColourIndex) {
  AddLayer(L"Green", 3);
  const AcDbObjectId id = AddLine();
  MoveToLayer(id, L"Green");
  ASSERT_TRUE(GetEntityColor(id).isByLayer());
  PackedRGB rgb = 0;
  EXPECT_EQ(GetEntityRGB(id, rgb), Acad::eOk);
  EXPECT_EQ(rgb, 0x00FF00u);
}

TEST_F(Properties, ByLayerOfATrueColourLayerTakesItsNearestIndex) {
  const AcDbObjectId layer = AddLayer(L"Almost red", 1);
  AcDbLayerTableRecord* record = nullptr;
  ASSERT_EQ(acdbOpenObject(record, layer, AcDb::kForWrite), Acad::eOk);
  AcCmColor colour;
  colour.setRGB(250, 5, 5);
  record->setColor(colour);
  record->close();
  const AcDbObjectId id = AddLine();
  MoveToLayer(id, L"Almost red");
  EXPECT_EQ(GetEntityRGB(id), 0x0000FFu);  // index 1, not (250, 5, 5)
}

// The layer is looked up by name in the working database, not through the entity's layer id.
TEST_F(Properties, ByLayerLooksTheLayerUpByNameInTheWorkingDatabase) {
  AcDbDatabase other;
  const AcDbObjectId sharedThere = AddLayer(L"Shared", 1, &other);
  const AcDbObjectId onlyThere = AddLayer(L"OnlyThere", 1, &other);
  AddLayer(L"Shared", 5);  // blue in the working drawing
  AcDbLine* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  ASSERT_EQ(line->setLayer(sharedThere), Acad::eOk);
  const AcDbObjectId shared = AddEntity(line, &other);
  EXPECT_EQ(GetEntityRGB(shared), 0xFF0000u);

  AcDbLine* lonely = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  ASSERT_EQ(lonely->setLayer(onlyThere), Acad::eOk);
  const AcDbObjectId missing = AddEntity(lonely, &other);
  ASSERT_EQ(GetEntityLayer(missing), L"OnlyThere");
  PackedRGB rgb = 0;
  EXPECT_EQ(GetEntityRGB(missing, rgb), Acad::eOk);
  EXPECT_EQ(rgb, kWhiteRGB);
}

TEST_F(Properties, ByBlockStaysWhite) {
  AddLayer(L"Red", 1);
  const AcDbObjectId id = AddLine();
  MoveToLayer(id, L"Red");
  Recolour(id, IndexColour(0));
  ASSERT_TRUE(GetEntityColor(id).isByBlock());
  PackedRGB rgb = 0;
  EXPECT_EQ(GetEntityRGB(id, rgb), Acad::eOk);
  EXPECT_EQ(rgb, kWhiteRGB);
}

TEST_F(Properties, OtherColourMethodsAreWhite) {
  const AcDbObjectId id = AddLine();
  AcCmColor none;
  ASSERT_EQ(none.setColorMethod(AcCmEntityColor::kNone), Acad::eOk);
  Recolour(id, none);
  PackedRGB rgb = 0;
  EXPECT_EQ(GetEntityRGB(id, rgb), Acad::eOk);
  EXPECT_EQ(rgb, kWhiteRGB);
}

TEST_F(Properties, EntityThatDoesNotOpenIsWhiteWithTheOpenStatus) {
  PackedRGB rgb = 0x123456;
  EXPECT_EQ(GetEntityRGB(AcDbObjectId::kNull, rgb), Acad::eNullObjectId);
  EXPECT_EQ(rgb, kWhiteRGB);
  EXPECT_EQ(GetEntityRGB(AcDbObjectId::kNull), kWhiteRGB);

  const AcDbObjectId id = AddLine();
  Recolour(id, IndexColour(1));
  AcDbEntity* entity = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForWrite), Acad::eOk);
  entity->erase();
  entity->close();
  rgb = 0;
  EXPECT_EQ(GetEntityRGB(id, rgb), Acad::eWasErased);
  EXPECT_EQ(rgb, kWhiteRGB);
}

TEST_F(Properties, ReadsAnEntityThatTheCallerHoldsOpenForRead) {
  const AcDbObjectId id = AddLine();
  Recolour(id, IndexColour(3));
  AcDbEntity* held = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(held, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(GetEntityRGB(id), 0x00FF00u);
  EXPECT_EQ(GetEntityClassName(id), L"AcDbLine");
  EXPECT_EQ(held->close(), Acad::eOk);
  // Every open made by the getters was closed: the entity opens for write again.
  AcDbEntity* writer = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(writer, id, AcDb::kForWrite), Acad::eOk);
  writer->close();
}

TEST_F(Properties, SetEntityColorTurnsBlackIntoIndexSeven) {
  AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  EXPECT_EQ(SetEntityColor(&line, 0), Acad::eOk);
  EXPECT_TRUE(line.color().isByACI());
  EXPECT_EQ(line.colorIndex(), 7);

  EXPECT_EQ(SetEntityColor(&line, 0x0000FF), Acad::eOk);
  EXPECT_TRUE(line.color().isByColor());
  EXPECT_EQ(line.color().red(), 255);
  EXPECT_EQ(line.color().green(), 0);
  EXPECT_EQ(line.color().blue(), 0);
}

TEST_F(Properties, LayerColourIndexAndRGB) {
  AddLayer(L"Cyan", 4);
  int index = 0;
  EXPECT_EQ(GetLayerColorIndex(L"Cyan", index), Acad::eOk);
  EXPECT_EQ(index, 4);
  EXPECT_EQ(GetLayerColorIndex(L"Cyan"), 4);
  EXPECT_EQ(GetLayerColorIndex(L"0"), 7);
  PackedRGB rgb = 0;
  EXPECT_EQ(GetLayerRGB(L"Cyan", rgb), Acad::eOk);
  EXPECT_EQ(rgb, 0xFFFF00u);
  EXPECT_EQ(GetLayerRGB(L"Cyan"), 0xFFFF00u);
}

TEST_F(Properties, MissingLayerLeavesTheOutputAlone) {
  int index = 42;
  EXPECT_EQ(GetLayerColorIndex(L"Nowhere", index), Acad::eKeyNotFound);
  EXPECT_EQ(index, 42);
  EXPECT_EQ(GetLayerColorIndex(L"Nowhere"), -1);
  PackedRGB rgb = 0x123456;
  EXPECT_EQ(GetLayerRGB(L"Nowhere", rgb), Acad::eKeyNotFound);
  EXPECT_EQ(rgb, 0x123456u);
  EXPECT_EQ(GetLayerRGB(L"Nowhere"), kWhiteRGB);
}

TEST_F(Properties, LayerTableThatDoesNotOpenLeavesTheIndex) {
  AcDbLayerTable* held = nullptr;
  ASSERT_EQ(Working()->getSymbolTable(held, AcDb::kForWrite), Acad::eOk);
  int index = 42;
  EXPECT_EQ(GetLayerColorIndex(L"0", index), Acad::eWasOpenForWrite);
  EXPECT_EQ(index, 42);
  held->close();
}

TEST_F(Properties, SingleProperties) {
  const AcDbObjectId layer = AddLayer(L"Walls", 2);
  const AcDbObjectId id = AddFace();
  MoveToLayer(id, L"Walls");
  Recolour(id, IndexColour(6));

  EXPECT_EQ(GetEntityLayer(id), L"Walls");
  EXPECT_EQ(GetEntityLayerId(id), layer);
  EXPECT_EQ(GetEntityClassName(id), L"AcDbFace");
  EXPECT_EQ(GetEntityColor(id).colorIndex(), 6);
  EXPECT_EQ(GetEntityBlockId(id), Working()->modelSpaceId());
  EXPECT_EQ(GetEntityBlockName(id), L"*Model_Space");
  EXPECT_EQ(GetEntityLinetypeId(id), Working()->byLayerLinetype());
  EXPECT_EQ(GetEntityLinetype(id), L"ByLayer");

  CString name;
  AcCmColor colour;
  GetEntityLayerAndColor(id, name, colour);
  EXPECT_EQ(name, L"Walls");
  EXPECT_EQ(colour.colorIndex(), 6);
}

TEST_F(Properties, OutParametersStayWhenTheEntityDoesNotOpen) {
  const AcDbObjectId bad = AcDbObjectId::kNull;
  CString text = L"kept";
  GetEntityLayer(bad, text);
  EXPECT_EQ(text, L"kept");
  GetEntityLinetype(bad, text);
  EXPECT_EQ(text, L"kept");
  AcCmColor colour = IndexColour(3);
  GetEntityColor(bad, colour);
  EXPECT_EQ(colour.colorIndex(), 3);
  GetEntityLayerAndColor(bad, text, colour);
  EXPECT_EQ(text, L"kept");
  EXPECT_EQ(colour.colorIndex(), 3);
  const AcDbObjectId layerZero = Working()->layerZero();
  AcDbObjectId out = layerZero;
  GetEntityLayerId(bad, out);
  GetEntityLinetypeId(bad, out);
  GetEntityBlockId(bad, out);
  EXPECT_EQ(out, layerZero);
  EXPECT_EQ(GetEntityBlockName(bad, text), Acad::eNullObjectId);
  EXPECT_EQ(text, L"kept");

  EXPECT_EQ(GetEntityLayer(bad), L"");
  EXPECT_EQ(GetEntityLinetype(bad), L"");
  EXPECT_TRUE(GetEntityColor(bad).isByLayer());
  EXPECT_TRUE(GetEntityLayerId(bad).isNull());
  EXPECT_TRUE(GetEntityLinetypeId(bad).isNull());
  EXPECT_TRUE(GetEntityBlockId(bad).isNull());
  EXPECT_EQ(GetEntityClassName(bad), L"");
  EXPECT_EQ(GetEntityBlockName(bad), L"");
}

TEST_F(Properties, BlockNameOfAnEntityInABlock) {
  AcDbBlockTable* table = nullptr;
  ASSERT_EQ(Working()->getSymbolTable(table, AcDb::kForWrite), Acad::eOk);
  auto* block = new AcDbBlockTableRecord;
  block->setName(L"Door");
  AcDbObjectId blockId;
  ASSERT_EQ(table->add(blockId, block), Acad::eOk);
  table->close();
  AcDbLine* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  AcDbObjectId id;
  ASSERT_EQ(block->appendAcDbEntity(id, line), Acad::eOk);
  line->close();
  block->close();

  CString name;
  EXPECT_EQ(GetEntityBlockName(id, name), Acad::eOk);
  EXPECT_EQ(name, L"Door");
  EXPECT_EQ(GetEntityBlockId(id), blockId);
}

}  // namespace
