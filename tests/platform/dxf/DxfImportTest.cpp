// `_dxfin` through acedCommand, as the toolkit calls it: every corpus drawing into the working
// database, checked against what the file holds; then files written here for the corners
// (object coordinates, colours, blocks and arrays, meshes, damage, a drawing that refuses).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "CorpusExpectations.h"
#include "TestSupport.h"
#include "aced.h"
#include "arxhost/Dxf.h"
#include "arxhost/DxfImport.h"
#include "db2dpolyline.h"
#include "db3dpolyline.h"
#include "dbarcs.h"
#include "dbblkref.h"
#include "dbents.h"
#include "dbpl.h"
#include "dbpolyfacemesh.h"
#include "dbpolygonmesh.h"
#include "dbsol3d.h"
#include "dbsymtb.h"
#include "dbtext.h"
#include "win32/text.h"

namespace {

namespace fs = std::filesystem;
using plx::test::HostSession;
using plx::test::TempDir;
using plx::test::TranscriptCapture;

AcDbDatabase* Db() { return acdbHostApplicationServices()->workingDatabase(); }

int Dxfin(const fs::path& path) {
  const std::wstring wide = path.wstring();
  return acedCommand(RTSTR, L"_dxfin", RTSTR, wide.c_str(), RTNONE);
}

// The DXF type of each class the import makes.
std::string DxfTypeOf(const std::wstring& className) {
  static const std::map<std::wstring, std::string> types = {
      {L"AcDbFace", "3DFACE"},
      {L"AcDbLine", "LINE"},
      {L"AcDbPoint", "POINT"},
      {L"AcDbCircle", "CIRCLE"},
      {L"AcDbArc", "ARC"},
      {L"AcDbEllipse", "ELLIPSE"},
      {L"AcDbRay", "RAY"},
      {L"AcDbXline", "XLINE"},
      {L"AcDbPolyline", "LWPOLYLINE"},
      {L"AcDb2dPolyline", "POLYLINE"},
      {L"AcDb3dPolyline", "POLYLINE"},
      {L"AcDbPolyFaceMesh", "POLYLINE"},
      {L"AcDbPolygonMesh", "POLYLINE"},
      {L"AcDbSpline", "SPLINE"},
      {L"AcDbMline", "MLINE"},
      {L"AcDbHatch", "HATCH"},
      {L"AcDbSolid", "SOLID"},
      {L"AcDbText", "TEXT"},
      {L"AcDbBlockReference", "INSERT"},
      {L"AcDbSubDMesh", "MESH"},
      {L"AcDb3dSolid", "3DSOLID"},
      {L"AcDbBody", "BODY"},
      {L"AcDbRegion", "REGION"},
  };
  const auto it = types.find(className);
  return it == types.end() ? "?" + plx::Utf8FromWide(className) : it->second;
}

// What the drawing holds, in the terms of the corpus table.
struct Census {
  std::map<std::string, int> types;
  std::map<std::wstring, int> classes;
  std::array<int, 5> polyface{};
  std::vector<std::string> meshes;
  int aciColoured = 0, aciSum = 0, trueColoured = 0;
  int entities = 0;
  int blocks = 0;
  std::vector<std::wstring> layers;
  int layersOff = 0;
};

template <class Visit>
void ForEachEntity(Visit visit) {
  AcDbBlockTable* table = nullptr;
  ASSERT_EQ(Db()->getBlockTable(table, AcDb::kForRead), Acad::eOk);
  AcDbBlockTableIterator* records = nullptr;
  table->newIterator(records);
  for (; !records->done(); records->step()) {
    AcDbBlockTableRecord* record = nullptr;
    ASSERT_EQ(records->getRecord(record, AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecordIterator* entities = nullptr;
    record->newIterator(entities);
    for (; !entities->done(); entities->step()) {
      AcDbEntity* entity = nullptr;
      ASSERT_EQ(entities->getEntity(entity, AcDb::kForRead), Acad::eOk);
      visit(*record, *entity);
      entity->close();
    }
    delete entities;
    record->close();
  }
  delete records;
  table->close();
}

Census TakeCensus() {
  Census c;
  ForEachEntity([&](const AcDbBlockTableRecord&, const AcDbEntity& e) {
    const std::wstring name = e.isA()->name();
    ++c.entities;
    ++c.classes[name];
    ++c.types[DxfTypeOf(name)];
    if (e.color().isByColor())
      ++c.trueColoured;
    else if (!e.color().isByLayer())
      ++c.aciColoured, c.aciSum += e.colorIndex();
    if (const auto* mesh = AcDbPolyFaceMesh::cast(&e)) {
      c.polyface[0] += static_cast<int>(mesh->Vertices().Size());
      c.polyface[1] += static_cast<int>(mesh->Faces().Size());
      for (size_t i = 0; i < mesh->Faces().Size(); ++i) {
        const auto* face = AcDbFaceRecord::cast(mesh->Faces().At(i));
        Adesk::Int16 v[4];
        for (Adesk::UInt16 k = 0; k < 4; ++k) face->getVertexAt(k, v[k]);
        c.polyface[2] += v[0] && v[1] && v[2] && v[3];
        c.polyface[3] += v[0] < 0 || v[1] < 0 || v[2] < 0 || v[3] < 0;
        c.polyface[4] += !face->color().isByLayer();
      }
    }
    if (const auto* mesh = AcDbPolygonMesh::cast(&e)) {
      c.meshes.push_back(
          std::to_string(mesh->mSize()) + "x" + std::to_string(mesh->nSize()) + "/" +
          std::to_string(mesh->colorIndex()) + "/" +
          std::to_string((mesh->isMClosed() ? 1 : 0) | (mesh->isNClosed() ? 32 : 0)));
      EXPECT_EQ(static_cast<int>(mesh->Vertices().Size()), mesh->mSize() * mesh->nSize());
    }
  });
  std::sort(c.meshes.begin(), c.meshes.end());
  AcDbLayerTable* layers = nullptr;
  EXPECT_EQ(Db()->getLayerTable(layers, AcDb::kForRead), Acad::eOk);
  AcDbLayerTableIterator* it = nullptr;
  layers->newIterator(it);
  for (; !it->done(); it->step()) {
    AcDbLayerTableRecord* layer = nullptr;
    it->getRecord(layer, AcDb::kForRead);
    c.layers.push_back(layer->Name());
    c.layersOff += layer->isOff();
    layer->close();
  }
  delete it;
  layers->close();
  AcDbBlockTable* blocks = nullptr;
  Db()->getBlockTable(blocks, AcDb::kForRead);
  AcDbBlockTableIterator* bit = nullptr;
  blocks->newIterator(bit);
  for (; !bit->done(); bit->step()) ++c.blocks;
  delete bit;
  blocks->close();
  return c;
}

// "DXFIN: skipped N TYPE" and "DXFIN: left out N TYPE ..." lines of the transcript.
std::map<std::string, int> Reported(const std::string& transcript, const std::string& what,
                                    std::map<std::string, int>* lines = nullptr) {
  std::map<std::string, int> counts;
  const std::regex line("DXFIN: " + what + " (\\d+) (\\S+)");
  for (std::sregex_iterator it(transcript.begin(), transcript.end(), line), end; it != end; ++it) {
    counts[(*it)[2]] += std::stoi((*it)[1]);
    if (lines) ++(*lines)[(*it)[2]];
  }
  return counts;
}

std::map<std::string, int> ParseTypes(const std::string& text) {
  std::map<std::string, int> types;
  const std::regex item("(\\S+):(\\d+)");
  for (std::sregex_iterator it(text.begin(), text.end(), item), end; it != end; ++it)
    types[(*it)[1]] += std::stoi((*it)[2]);
  return types;
}

// Types the drawing model does not hold, so the import names and skips them.
bool HeldType(const std::string& type, const std::map<std::string, int>& skipped) {
  return !skipped.count(type);
}

class DxfImportCorpus : public testing::TestWithParam<std::string> {};

TEST_P(DxfImportCorpus, ModelSpaceAndBlocksHoldWhatTheFileHolds) {
  const plx::test::Expected* expected = plx::test::FindExpected(GetParam());
  ASSERT_NE(expected, nullptr);
  const fs::path path = plx::test::CorpusDir() / GetParam();
  HostSession session;
  TranscriptCapture transcript;
  ASSERT_EQ(Dxfin(path), RTNORM) << transcript.Utf8();
  const Census c = TakeCensus();
  const std::string text = transcript.Utf8();

  std::map<std::string, int> skippedLines;
  const std::map<std::string, int> skipped = Reported(text, "skipped", &skippedLines);
  const std::map<std::string, int> leftOut = Reported(text, "left out");
  for (const auto& [type, lines] : skippedLines)
    EXPECT_EQ(lines, 1) << type << " named more than once";
  EXPECT_TRUE(leftOut.empty()) << text;

  // Every type of the file is either in the drawing, entity for entity, or named as skipped.
  std::map<std::string, int> expectedTypes = ParseTypes(expected->types);
  if (expectedTypes.count("3DLINE"))
    expectedTypes["LINE"] += expectedTypes["3DLINE"], expectedTypes.erase("3DLINE");
  std::map<std::string, int> found = c.types;
  for (const auto& [type, count] : skipped) found[type] += count;
  for (const auto& [type, count] : leftOut) found[type] += count;
  EXPECT_EQ(found, expectedTypes) << text;
  // Every solid, body and region comes in from its ACIS data.
  for (const char* solid : {"3DSOLID", "BODY", "REGION"}) {
    EXPECT_EQ(skipped.count(solid), 0u) << solid;
    EXPECT_EQ(text.find(std::string("DXFIN: ") + solid + " "), std::string::npos) << text;
  }

  EXPECT_EQ(c.polyface, expected->polyface);
  std::vector<std::string> meshes = expected->meshes;
  std::sort(meshes.begin(), meshes.end());
  EXPECT_EQ(c.meshes, meshes);

  // The table counts colours over every entity the reader models; the drawing has those of
  // the held types, and a true colour in place of the index written beside it.
  std::string error;
  const auto drawing = plx::dxf::ReadDxfFile(path, error);
  ASSERT_TRUE(drawing) << error;
  int coloured = expected->coloured, colourSum = expected->colourSum,
      trueColoured = expected->trueColoured;
  auto adjust = [&](const plx::dxf::Entity& e) {
    const bool held = HeldType(e.type, skipped);
    const bool aci = e.colour != plx::dxf::kColourByLayer;
    if (!held || e.trueColour != plx::dxf::kNoTrueColour) {
      if (aci) --coloured, colourSum -= e.colour;
      if (!held && e.trueColour != plx::dxf::kNoTrueColour) --trueColoured;
    } else if (aci && e.colour < 0) {
      colourSum += -2 * e.colour;
    }
  };
  for (const auto& block : drawing->blocks)
    for (const auto& e : block.entities) adjust(e);
  for (const auto& e : drawing->entities) adjust(e);
  EXPECT_EQ(c.aciColoured, coloured);
  EXPECT_EQ(c.aciSum, colourSum);
  EXPECT_EQ(c.trueColoured, trueColoured);

  // The file's layers are all there (the new drawing's layer 0 besides, and layers that only
  // entities name), off where the file has them off.
  EXPECT_GE(static_cast<int>(c.layers.size()), expected->layers);
  for (const auto& layer : drawing->layers)
    EXPECT_TRUE(std::find_if(c.layers.begin(), c.layers.end(),
                             [&](const std::wstring& name) {
                               return plx::Utf8FromWide(name) == layer.name ||
                                      (layer.name == "0" && name == L"0");
                             }) != c.layers.end())
        << layer.name;
  EXPECT_EQ(c.layersOff, expected->layersOff);
}

INSTANTIATE_TEST_SUITE_P(Files, DxfImportCorpus, testing::ValuesIn(plx::test::CorpusFiles()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           return plx::test::CorpusTestName(info.param);
                         });

// ---------------------------------------------------------------------------------------------
// Files written here

std::string Section(const std::string& name, const std::string& body) {
  return "0\nSECTION\n2\n" + name + "\n" + body + "0\nENDSEC\n";
}

std::string Dxf(const std::string& entities, const std::string& tables = "",
                const std::string& blocks = "") {
  std::string out;
  if (!tables.empty()) out += Section("TABLES", tables);
  if (!blocks.empty()) out += Section("BLOCKS", blocks);
  return out + Section("ENTITIES", entities) + "0\nEOF\n";
}

class DxfImport : public testing::Test {
 protected:
  // Writes the file and imports it; the transcript of the import in text_.
  int Import(const std::string& content, const std::string& name = "drawing.dxf") {
    const fs::path path = dir_ / name;
    plx::test::WriteFile(path, content);
    TranscriptCapture transcript;
    const int result = Dxfin(path);
    text_ = transcript.Utf8();
    return result;
  }
  // The entities of model space in order, open for read until the test ends.
  std::vector<AcDbEntity*> ModelSpace() {
    std::vector<AcDbEntity*> all;
    AcDbBlockTableRecord* space = nullptr;
    EXPECT_EQ(acdbOpenObject(space, Db()->modelSpaceId(), AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecordIterator* it = nullptr;
    space->newIterator(it);
    for (; !it->done(); it->step()) {
      AcDbEntity* e = nullptr;
      it->getEntity(e, AcDb::kForRead);
      all.push_back(e);
      open_.push_back(e);
    }
    delete it;
    space->close();
    return all;
  }
  void TearDown() override {
    for (AcDbEntity* e : open_) e->close();
  }

  HostSession session_;
  TempDir dir_;
  std::string text_;
  std::vector<AcDbEntity*> open_;
};

void ExpectNear(const AcGePoint3d& a, const AcGePoint3d& b, const char* what) {
  EXPECT_NEAR(a.x, b.x, 1e-9) << what;
  EXPECT_NEAR(a.y, b.y, 1e-9) << what;
  EXPECT_NEAR(a.z, b.z, 1e-9) << what;
}

TEST_F(DxfImport, PlacesObjectCoordinatesByTheArbitraryAxisRule) {
  // Extrusion (1, 0, 0): the object X axis is world Y (the normal is far from Z), Y is world Z.
  const std::string ext = "210\n1\n220\n0\n230\n0\n";
  ASSERT_EQ(Import(Dxf("0\nCIRCLE\n10\n1\n20\n2\n30\n3\n40\n0.5\n" + ext +
                       "0\nARC\n10\n0\n20\n0\n30\n0\n40\n2\n50\n0\n51\n90\n" + ext +
                       "0\nLWPOLYLINE\n90\n2\n70\n1\n38\n5\n10\n1\n20\n0\n10\n0\n20\n1\n42\n1\n" +
                       ext + "0\nLINE\n10\n1\n20\n2\n30\n3\n11\n4\n21\n5\n31\n6\n" + ext)),
            RTNORM)
      << text_;
  const auto all = ModelSpace();
  ASSERT_EQ(all.size(), 4u);
  const auto* circle = AcDbCircle::cast(all[0]);
  ASSERT_NE(circle, nullptr);
  ExpectNear(circle->center(), AcGePoint3d(3, 1, 2), "circle centre");
  EXPECT_EQ(circle->normal(), AcGeVector3d(1, 0, 0));
  const auto* arc = AcDbArc::cast(all[1]);
  ASSERT_NE(arc, nullptr);
  AcGePoint3d start, end;
  arc->getStartPoint(start);
  arc->getEndPoint(end);
  ExpectNear(start, AcGePoint3d(0, 2, 0), "arc start");  // along the object X axis
  ExpectNear(end, AcGePoint3d(0, 0, 2), "arc end");
  const auto* polyline = AcDbPolyline::cast(all[2]);
  ASSERT_NE(polyline, nullptr);
  EXPECT_TRUE(polyline->isClosed());
  EXPECT_EQ(polyline->elevation(), 5);
  AcGePoint3d second;
  polyline->getPointAt(1, second);
  ExpectNear(second, AcGePoint3d(5, 0, 1), "polyline vertex");
  EXPECT_EQ(polyline->segType(1), AcDbPolyline::kArc);
  // A line is in world coordinates whatever its extrusion.
  const auto* line = AcDbLine::cast(all[3]);
  ASSERT_NE(line, nullptr);
  ExpectNear(line->startPoint(), AcGePoint3d(1, 2, 3), "line start");
}

TEST_F(DxfImport, TakesColoursLayersAndLinetypes) {
  const std::string tables =
      "0\nTABLE\n2\nLTYPE\n0\nLTYPE\n2\nDASHED\n3\n__ __ "
      "__\n72\n65\n73\n2\n40\n1\n49\n0.5\n49\n-0.5\n0\nENDTAB\n"
      "0\nTABLE\n2\nLAYER\n"
      "0\nLAYER\n2\nRed\n70\n0\n62\n1\n6\nDASHED\n"
      "0\nLAYER\n2\nHidden\n70\n0\n62\n-5\n6\nCONTINUOUS\n"
      "0\nLAYER\n2\nTinted\n70\n4\n62\n3\n420\n1122867\n6\nCONTINUOUS\n"
      "0\nENDTAB\n";
  const std::string face =
      "10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n0\n12\n1\n22\n1\n32\n0\n13\n0\n23\n1\n33\n0\n";
  ASSERT_EQ(Import(Dxf("0\n3DFACE\n8\nRed\n" + face + "0\n3DFACE\n8\nRed\n62\n0\n" + face +
                           "0\n3DFACE\n8\nHidden\n62\n256\n" + face +
                           "0\n3DFACE\n8\nTinted\n62\n5\n420\n16711935\n" + face +
                           "0\n3DFACE\n8\nNew\n62\n4\n6\nCENTER\n" + face,
                       tables)),
            RTNORM)
      << text_;
  const auto all = ModelSpace();
  ASSERT_EQ(all.size(), 5u);
  EXPECT_TRUE(all[0]->color().isByLayer());
  EXPECT_TRUE(all[1]->color().isByBlock());
  EXPECT_TRUE(all[2]->color().isByLayer());
  EXPECT_TRUE(all[3]->color().isByColor());
  EXPECT_EQ(all[3]->color().red(), 255);
  EXPECT_EQ(all[3]->color().green(), 0);
  EXPECT_EQ(all[3]->color().blue(), 255);
  EXPECT_EQ(all[4]->colorIndex(), 4);

  auto layer = [](const AcDbEntity* e) {
    AcDbLayerTableRecord* record = nullptr;
    EXPECT_EQ(acdbOpenObject(record, e->layerId(), AcDb::kForRead), Acad::eOk);
    return record;
  };
  AcDbLayerTableRecord* red = layer(all[0]);
  EXPECT_EQ(red->Name(), L"Red");
  EXPECT_EQ(red->color().colorIndex(), 1);
  EXPECT_FALSE(red->isOff());
  AcDbLinetypeTableRecord* dashed = nullptr;
  ASSERT_EQ(acdbOpenObject(dashed, red->linetypeObjectId(), AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(dashed->Name(), L"DASHED");
  const ACHAR* comments = nullptr;
  dashed->comments(comments);
  EXPECT_STREQ(comments, L"__ __ __");
  dashed->close();
  red->close();
  AcDbLayerTableRecord* hidden = layer(all[2]);
  EXPECT_TRUE(hidden->isOff());
  EXPECT_EQ(hidden->color().colorIndex(), 5);
  hidden->close();
  AcDbLayerTableRecord* tinted = layer(all[3]);
  EXPECT_TRUE(tinted->color().isByColor());
  EXPECT_EQ(tinted->color().red(), 0x11);
  EXPECT_EQ(tinted->color().green(), 0x22);
  EXPECT_EQ(tinted->color().blue(), 0x33);
  EXPECT_TRUE(tinted->isLocked());
  tinted->close();
  // A layer and a linetype that only the entity names are made.
  AcDbLayerTableRecord* made = layer(all[4]);
  EXPECT_EQ(made->Name(), L"New");
  EXPECT_EQ(made->color().colorIndex(), 7);
  made->close();
  AcDbLinetypeTableRecord* center = nullptr;
  ASSERT_EQ(acdbOpenObject(center, all[4]->linetypeId(), AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(center->Name(), L"CENTER");
  center->close();
  EXPECT_EQ(all[0]->linetypeId(), Db()->byLayerLinetype());
}

// A block of a block, inserted scaled and turned, and a 2 x 3 array of it.
TEST_F(DxfImport, InsertsNestedScaledTurnedAndArrayedBlocks) {
  const std::string blocks =
      "0\nBLOCK\n2\nInner\n70\n0\n10\n1\n20\n0\n30\n0\n"
      "0\nPOINT\n10\n2\n20\n0\n30\n0\n0\nENDBLK\n"
      "0\nBLOCK\n2\nOuter\n70\n0\n10\n0\n20\n0\n30\n0\n"
      "0\nINSERT\n2\nInner\n10\n0\n20\n0\n30\n0\n0\nLINE\n10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n0"
      "\n0\nENDBLK\n";
  ASSERT_EQ(
      Import(Dxf("0\nINSERT\n2\nOuter\n10\n10\n20\n0\n30\n0\n41\n2\n42\n2\n43\n2\n50\n90\n"
                 "0\nINSERT\n2\nInner\n10\n0\n20\n0\n30\n0\n70\n2\n71\n3\n44\n5\n45\n7\n50\n90\n"
                 "0\nINSERT\n2\nMissing\n10\n0\n20\n0\n30\n0\n",
                 "", blocks)),
      RTNORM)
      << text_;
  EXPECT_NE(text_.find("DXFIN: left out 1 INSERT"), std::string::npos) << text_;
  const auto all = ModelSpace();
  ASSERT_EQ(all.size(), 7u);
  const auto* outer = AcDbBlockReference::cast(all[0]);
  ASSERT_NE(outer, nullptr);
  // The inner block's point (2, 0) with base (1, 0) lies at 1 along the outer block's X axis,
  // which is scaled by 2 and turned to world Y, from (10, 0).
  AcDbBlockTableRecord* block = nullptr;
  ASSERT_EQ(acdbOpenObject(block, outer->blockTableRecord(), AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(block->Name(), L"Outer");
  AcDbBlockTableRecordIterator* it = nullptr;
  block->newIterator(it);
  AcDbEntity* first = nullptr;
  ASSERT_EQ(it->getEntity(first, AcDb::kForRead), Acad::eOk);
  const auto* inner = AcDbBlockReference::cast(first);
  ASSERT_NE(inner, nullptr);
  AcGePoint3d point = (outer->blockTransform() * inner->blockTransform()) * AcGePoint3d(2, 0, 0);
  ExpectNear(point, AcGePoint3d(10, 2, 0), "nested point");
  first->close();
  delete it;
  block->close();
  // The array runs along the turned axes: two columns 5 apart along world Y, three rows 7 apart
  // along world -X.
  std::set<std::pair<long, long>> places;
  for (size_t i = 1; i < 7; ++i) {
    const auto* ref = AcDbBlockReference::cast(all[i]);
    ASSERT_NE(ref, nullptr);
    EXPECT_NEAR(ref->rotation(), 3.14159265358979 / 2, 1e-12);
    places.emplace(std::lround(ref->position().x), std::lround(ref->position().y));
  }
  EXPECT_EQ(places, (std::set<std::pair<long, long>>{
                        {0, 0}, {0, 5}, {-7, 0}, {-7, 5}, {-14, 0}, {-14, 5}}));
}

TEST_F(DxfImport, BuildsPolyfaceAndPolygonMeshes) {
  const std::string polyface =
      "0\nPOLYLINE\n8\nMesh\n62\n3\n66\n1\n70\n64\n71\n5\n72\n3\n"
      "0\nVERTEX\n10\n0\n20\n0\n30\n0\n70\n192\n0\nVERTEX\n10\n1\n20\n0\n30\n0\n70\n192\n"
      "0\nVERTEX\n10\n1\n20\n1\n30\n0\n70\n192\n0\nVERTEX\n10\n0\n20\n1\n30\n0\n70\n192\n"
      "0\nVERTEX\n10\n2\n20\n2\n30\n1\n70\n192\n"
      "0\nVERTEX\n8\nMesh\n70\n128\n71\n1\n72\n2\n73\n-3\n74\n4\n"
      "0\nVERTEX\n8\nFaces\n62\n1\n70\n128\n71\n3\n72\n4\n73\n5\n"
      "0\nVERTEX\n8\nMesh\n70\n128\n71\n5\n0\nSEQEND\n";
  std::string smoothed = "0\nPOLYLINE\n66\n1\n70\n21\n71\n2\n72\n3\n73\n2\n74\n2\n75\n6\n";
  for (int i = 0; i < 6; ++i)
    smoothed += "0\nVERTEX\n10\n" + std::to_string(i % 3) + "\n20\n" + std::to_string(i / 3) +
                "\n30\n0\n70\n80\n";
  for (int i = 0; i < 4; ++i) smoothed += "0\nVERTEX\n10\n0.5\n20\n0.5\n30\n0\n70\n64\n";
  smoothed += "0\nSEQEND\n";
  ASSERT_EQ(Import(Dxf(polyface + smoothed)), RTNORM) << text_;
  const auto all = ModelSpace();
  ASSERT_EQ(all.size(), 2u);
  const auto* mesh = AcDbPolyFaceMesh::cast(all[0]);
  ASSERT_NE(mesh, nullptr);
  EXPECT_EQ(mesh->numVertices(), 5);
  EXPECT_EQ(mesh->numFaces(), 3);
  EXPECT_EQ(mesh->colorIndex(), 3);
  const auto* quad = AcDbFaceRecord::cast(mesh->Faces().At(0));
  Adesk::Int16 index = 0;
  quad->getVertexAt(2, index);
  EXPECT_EQ(index, -3);
  Adesk::Boolean visible = true;
  quad->isEdgeVisibleAt(2, visible);
  EXPECT_FALSE(visible);
  EXPECT_EQ(quad->colorIndex(), 3);  // none of its own: the mesh's
  const auto* own = AcDbFaceRecord::cast(mesh->Faces().At(1));
  EXPECT_EQ(own->colorIndex(), 1);
  ACHAR* layer = own->layer();
  EXPECT_STREQ(layer, L"Faces");
  acutDelString(layer);
  const auto* single = AcDbFaceRecord::cast(mesh->Faces().At(2));
  single->getVertexAt(1, index);
  EXPECT_EQ(index, 0);

  const auto* grid = AcDbPolygonMesh::cast(all[1]);
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->mSize(), 2);
  EXPECT_EQ(grid->nSize(), 3);
  EXPECT_TRUE(grid->isMClosed());
  EXPECT_FALSE(grid->isNClosed());
  EXPECT_EQ(grid->polyMeshType(), AcDb::kCubicSurfaceMesh);
  ASSERT_EQ(grid->Vertices().Size(), 6u);  // the control vertices, not the surface's
  const auto* last = AcDbPolygonMeshVertex::cast(grid->Vertices().At(5));
  ExpectNear(last->position(), AcGePoint3d(2, 1, 0), "last control vertex");
}

TEST_F(DxfImport, AnImportIntoADrawingKeepsWhatTheDrawingHas) {
  const std::string tables =
      "0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nWalls\n70\n0\n62\n1\n6\nCONTINUOUS\n0\nENDTAB\n";
  const std::string blocks =
      "0\nBLOCK\n2\nDoor\n70\n0\n10\n0\n20\n0\n30\n0\n0\nPOINT\n10\n1\n20\n0\n30\n0\n0\nENDBLK\n"
      "0\nBLOCK\n2\n*U1\n70\n1\n10\n0\n20\n0\n30\n0\n0\nPOINT\n10\n2\n20\n0\n30\n0\n0\nENDBLK\n";
  const std::string entities =
      "0\nINSERT\n8\nWalls\n2\nDoor\n10\n0\n20\n0\n30\n0\n0\nINSERT\n2\n*U1\n10\n0\n20\n0\n30\n0\n";
  ASSERT_EQ(Import(Dxf(entities, tables, blocks)), RTNORM) << text_;
  const std::string changed =
      "0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nWalls\n70\n0\n62\n5\n6\nCONTINUOUS\n0\nENDTAB\n";
  ASSERT_EQ(Import(Dxf(entities, changed, blocks), "again.dxf"), RTNORM) << text_;
  const Census c = TakeCensus();
  EXPECT_EQ(c.classes.at(L"AcDbBlockReference"), 4);
  // Door once (the drawing's is kept), the anonymous block twice under two names.
  EXPECT_EQ(c.classes.at(L"AcDbPoint"), 3);
  EXPECT_EQ(c.blocks, 2 + 3);
  AcDbLayerTable* layers = nullptr;
  Db()->getLayerTable(layers, AcDb::kForRead);
  AcDbLayerTableRecord* walls = nullptr;
  ASSERT_EQ(layers->getAt(L"WALLS", walls, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(walls->color().colorIndex(), 1);
  walls->close();
  layers->close();
}

TEST_F(DxfImport, NamesEachSkippedTypeOnce) {
  ASSERT_EQ(Import(Dxf("0\nMTEXT\n1\na\n0\nTRACE\n0\nMTEXT\n1\nb\n0\nEXTRUDEDSURFACE\n0\nLINE\n"
                       "0\nDIMENSION\n0\nDIMENSION\n0\nPLANESURFACE\n0\nPLANESURFACE\n")),
            RTNORM)
      << text_;
  EXPECT_EQ(text_,
            "Command: _dxfin\nEnter name of file to import: " + (dir_ / "drawing.dxf").string() +
                "\nDXFIN: skipped 2 DIMENSION\nDXFIN: skipped 1 EXTRUDEDSURFACE\n"
                "DXFIN: skipped 2 MTEXT\nDXFIN: skipped 2 PLANESURFACE\nDXFIN: skipped 1 TRACE\n"
                "DXFIN: 1 objects imported.\n");
  EXPECT_EQ(ModelSpace().size(), 1u);
}

// A solid whose ACIS data cannot be read is named with the reason and left out; the rest of
// the drawing comes in.
TEST_F(DxfImport, NamesSolidsWhoseAcisDataCannotBeRead) {
  ASSERT_EQ(Import(Dxf("0\n3DSOLID\n5\n2A\n0\nLINE\n11\n1\n0\nREGION\n5\n2b\n70\n1\n"
                       "0\nBODY\n5\n2C\n1\n\n")),
            RTNORM)
      << text_;
  EXPECT_NE(text_.find("\nDXFIN: 3DSOLID 2A: it holds no ACIS data\n"
                       "DXFIN: REGION 2B: it holds no ACIS data\n"
                       "DXFIN: BODY 2C: its ACIS data cannot be read ("),
            std::string::npos)
      << text_;
  EXPECT_NE(text_.find("DXFIN: 1 objects imported.\n"), std::string::npos) << text_;
  EXPECT_EQ(ModelSpace().size(), 1u);

  struct Case {
    const char* file;
    const char* from;  // replaced by to
    const char* to;
    const char* message;
  };
  // A byte count the hex lines do not match, data cut short with its count made to fit, and
  // SAT text whose header line is damaged.
  const std::string sphere = "ezdxf_sphere_r2018.dxf";
  const std::string sphereText = plx::test::ReadFile(plx::test::CorpusDir() / sphere);
  const size_t lastChunk = sphereText.rfind("\n310\n");
  const size_t chunkEnd = sphereText.find('\n', lastChunk + 5);
  const std::string chunk = sphereText.substr(lastChunk, chunkEnd - lastChunk);
  const int cutSize = 567 - static_cast<int>((chunk.size() - 5) / 2);
  const std::string cut =
      [&] {
        std::string s = sphereText;
        s.erase(lastChunk, chunk.size());
        const std::string count = "\n 94\n      567\n";
        s.replace(s.find(count), count.size(), "\n 94\n" + std::to_string(cutSize) + "\n");
        return s;
      }();
  const std::vector<std::pair<std::string, std::string>> damaged = {
      {[&] {
         std::string s = sphereText;
         const std::string count = "\n 94\n      567\n";
         return s.replace(s.find(count), count.size(), "\n 94\n566\n");
       }(),
       "DXFIN: 3DSOLID 9C: its ACIS data holds 567 bytes, not the 566 its count gives\n"},
      {cut, "DXFIN: 3DSOLID 9C: its ACIS data cannot be read (byte " + std::to_string(cutSize) +
                ": the data ends"},
      {[&] {
         std::string s = plx::test::ReadFile(plx::test::CorpusDir() / "ezdxf_torus_r2010.dxf");
         return s.replace(s.find("hoo o n o "), 10, "xyz");
       }(),
       "DXFIN: 3DSOLID 9C: its ACIS data cannot be read (not a SAT file"},
  };
  for (const auto& [content, message] : damaged) {
    ASSERT_EQ(Import(content, "damaged.dxf"), RTNORM) << text_;
    EXPECT_NE(text_.find(message), std::string::npos) << message << "\n" << text_;
    EXPECT_EQ(text_.find("skipped 1 3DSOLID"), std::string::npos) << text_;
  }
}

// ---------------------------------------------------------------------------------------------
// Solids from their ACIS data

struct SolidFigures {
  std::wstring className, block, layer;
  int colour = 0;
  double volume = 0, area = 0;
};

// The solids, bodies and regions of a corpus drawing imported into a drawing of its own, block
// by block (model space among them), in the order of each block.
std::vector<SolidFigures> SolidsOf(const std::string& file, std::string* transcript = nullptr) {
  std::vector<SolidFigures> solids;
  AcDbDatabase database;
  std::string error;
  plx::host::DxfImportReport report;
  EXPECT_TRUE(plx::host::ImportDxfFile(plx::test::CorpusDir() / file, database, error, &report))
      << error;
  if (transcript)
    for (const std::string& line : report.unreadable) *transcript += line + "\n";
  AcDbBlockTable* table = nullptr;
  if (database.getBlockTable(table, AcDb::kForRead) != Acad::eOk) return solids;
  AcDbBlockTableIterator* records = nullptr;
  table->newIterator(records);
  for (; !records->done(); records->step()) {
    AcDbBlockTableRecord* record = nullptr;
    if (records->getRecord(record, AcDb::kForRead) != Acad::eOk) continue;
    AcDbBlockTableRecordIterator* it = nullptr;
    record->newIterator(it);
    for (; !it->done(); it->step()) {
      AcDbEntity* entity = nullptr;
      if (it->getEntity(entity, AcDb::kForRead) != Acad::eOk) continue;
      if (const auto* modeler = AcDbModelerEntity::cast(entity)) {
        SolidFigures f;
        f.className = entity->isA()->name();
        f.block = record->Name();
        ACHAR* layer = entity->layer();
        f.layer = layer;
        acutDelString(layer);
        f.colour = entity->colorIndex();
        f.volume = modeler->volume();
        f.area = modeler->area();
        solids.push_back(f);
      }
      entity->close();
    }
    delete it;
    record->close();
  }
  delete records;
  table->close();
  return solids;
}

// The same drawing saved by several versions (SAT 400, 700 and 20800 text, SAB) gives the same
// solids; the torus and the sphere have the volumes their radii give.
TEST(DxfImportSolids, EveryVersionGivesTheSameVolumes) {
  constexpr double kPi = 3.14159265358979323846;
  std::vector<double> tori;
  for (const char* file :
       {"ezdxf_torus_r2000.dxf", "ezdxf_torus_r2004.dxf", "ezdxf_torus_r2010.dxf"}) {
    const std::vector<SolidFigures> solids = SolidsOf(file);
    ASSERT_EQ(solids.size(), 1u) << file;
    EXPECT_EQ(solids[0].className, L"AcDb3dSolid");
    tori.push_back(solids[0].volume);
  }
  EXPECT_NEAR(tori[0], 2 * kPi * kPi * 32 * 10 * 10, 1e-6 * tori[0]);
  EXPECT_NEAR(tori[1], tori[0], 1e-9 * tori[0]);
  EXPECT_NEAR(tori[2], tori[0], 1e-9 * tori[0]);
  const std::vector<SolidFigures> sphere = SolidsOf("ezdxf_sphere_r2018.dxf");
  ASSERT_EQ(sphere.size(), 1u);
  EXPECT_NEAR(sphere[0].volume, 4.0 / 3.0 * kPi * 125, 1e-6 * sphere[0].volume);

  // A solid and two regions, saved as R2000 (SAT text) and as R2013 (SAB).
  const std::vector<SolidFigures> r2000 = SolidsOf("libredwg_example_2000.dxf");
  const std::vector<SolidFigures> r2013 = SolidsOf("libredwg_example_2013.dxf");
  ASSERT_EQ(r2000.size(), 3u);
  ASSERT_EQ(r2013.size(), r2000.size());
  for (size_t i = 0; i < r2000.size(); ++i) {
    EXPECT_EQ(r2013[i].className, r2000[i].className);
    EXPECT_EQ(r2013[i].layer, r2000[i].layer);
    EXPECT_NEAR(r2013[i].volume, r2000[i].volume, 1e-9 * std::max(1.0, r2000[i].volume));
    EXPECT_NEAR(r2013[i].area, r2000[i].area, 1e-9 * std::max(1.0, r2000[i].area));
    EXPECT_GT(r2000[i].area, 0);
  }
  int regions = 0;
  for (const SolidFigures& f : r2000) {
    regions += f.className == L"AcDbRegion";
    if (f.className == L"AcDb3dSolid") {
      EXPECT_GT(f.volume, 0);
    }
    EXPECT_EQ(f.layer, L"Tavolo 3");
  }
  EXPECT_EQ(regions, 2);
}

// Five solids, one of them in a block; the two SAB solids of the uncommon drawing; the box of
// the inch drawing beside its region. Each is of the class the file names, on its layer.
TEST(DxfImportSolids, SolidsComeInModelSpaceAndBlocks) {
  const std::vector<SolidFigures> five = SolidsOf("ezdxf_3dsolids.dxf");
  ASSERT_EQ(five.size(), 5u);
  int inModelSpace = 0;
  for (const SolidFigures& f : five) {
    EXPECT_EQ(f.className, L"AcDb3dSolid");
    EXPECT_GT(f.volume, 0);
    inModelSpace += f.block == L"*Model_Space";
  }
  EXPECT_EQ(inModelSpace, 4);
  const std::vector<SolidFigures> uncommon = SolidsOf("ezdxf_uncommon.dxf");
  ASSERT_EQ(uncommon.size(), 2u);
  for (const SolidFigures& f : uncommon) EXPECT_GT(f.volume, 0);
  const std::vector<SolidFigures> ts1 = SolidsOf("libredwg_2000_TS1.dxf");
  ASSERT_EQ(ts1.size(), 2u);
  std::map<std::wstring, int> classes;
  for (const SolidFigures& f : ts1) ++classes[f.className];
  EXPECT_EQ(classes[L"AcDb3dSolid"], 1);
  EXPECT_EQ(classes[L"AcDbRegion"], 1);
}

// The class follows the file's entity type, not the geometry: a torus written as a BODY is a
// body, and keeps the colour written for it.
TEST_F(DxfImport, SolidKeepsTheClassTheFileNames) {
  std::string torus = plx::test::ReadFile(plx::test::CorpusDir() / "ezdxf_torus_r2010.dxf");
  const std::string type = "\n3DSOLID\n  5\n9C\n";
  const size_t at = torus.find(type);
  ASSERT_NE(at, std::string::npos);
  torus.replace(at, type.size(), "\nBODY\n  5\n9C\n 62\n     3\n");
  ASSERT_EQ(Import(torus), RTNORM) << text_;
  EXPECT_NE(text_.find("DXFIN: 1 objects imported.\n"), std::string::npos) << text_;
  const std::vector<AcDbEntity*> all = ModelSpace();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_STREQ(all[0]->isA()->name(), L"AcDbBody");
  EXPECT_EQ(all[0]->colorIndex(), 3);
  AcDbExtents extents;
  ASSERT_EQ(all[0]->getGeomExtents(extents), Acad::eOk);
  // The header's extents of the drawing (the body's transform places it), to the modeller's
  // numerical extents of a torus.
  const double low[] = {86, 93, -10}, high[] = {170, 177, 10};
  for (int a = 0; a < 3; ++a) {
    EXPECT_NEAR(extents.minPoint()[a], low[a], 1e-6) << a;
    EXPECT_NEAR(extents.maxPoint()[a], high[a], 1e-6) << a;
  }
}

// A drawing large enough to stream in batches hands its R2013 solids on before the reader has
// come to ACDSDATA; they still come in with their binary data.
TEST_F(DxfImport, StreamedR2013SolidsComeIn) {
  std::string whole = plx::test::ReadFile(plx::test::CorpusDir() / "libredwg_example_2013.dxf");
  std::string points;
  for (int i = 0; i < 3000; ++i)
    points += "0\nPOINT\n8\n0\n10\n" + std::to_string(i) + "\n20\n0\n30\n0\n";
  const size_t entities = whole.find("\nENTITIES");
  ASSERT_NE(entities, std::string::npos);
  const size_t endsec = whole.find("\nENDSEC", entities);
  whole.insert(whole.rfind('\n', endsec - 1) + 1, points);
  ASSERT_EQ(Import(whole), RTNORM) << text_;
  EXPECT_EQ(text_.find("DXFIN: 3DSOLID"), std::string::npos) << text_;
  EXPECT_EQ(text_.find("DXFIN: REGION"), std::string::npos) << text_;
  std::map<std::wstring, int> classes;
  for (const AcDbEntity* e : ModelSpace()) ++classes[e->isA()->name()];
  EXPECT_EQ(classes[L"AcDb3dSolid"], 1);
  EXPECT_EQ(classes[L"AcDbRegion"], 2);
  EXPECT_GE(classes[L"AcDbPoint"], 3000);
}

// Flipped characters of the SAT text (each spot of the torus's records in turn, a few hundred
// drawings) give the solid or its named skip, never a failed import or a crash.
TEST(DxfImportSolids, FlippedSatTextGivesTheSolidOrItsReason) {
  const std::string whole = plx::test::ReadFile(plx::test::CorpusDir() / "ezdxf_torus_r2010.dxf");
  const size_t first = whole.find("\n  1\nhoo o n o \n");
  const size_t last = whole.find("\n  0\n", first);
  ASSERT_NE(first, std::string::npos);
  TempDir dir;
  const fs::path path = dir / "flipped.dxf";
  int taken = 0, named = 0;
  // Spots in the values of the group-1 lines only, so that the groups stay as they are.
  std::vector<size_t> spots;
  for (size_t line = first + 1; line < last;) {
    const size_t value = whole.find('\n', line) + 1;
    const size_t end = whole.find('\n', value);
    if (whole.compare(line, value - line, "  1\n") == 0)
      for (size_t at = value; at < end; at += 7) spots.push_back(at);
    line = end + 1;
  }
  ASSERT_GT(spots.size(), 100u);
  for (const size_t at : spots) {
    std::string changed = whole;
    changed[at] = static_cast<char>(whole[at] == 'o' ? 'n' : whole[at] ^ 0x05);
    if (changed[at] == '\n' || changed[at] == '\r') continue;
    plx::test::WriteFile(path, changed);
    AcDbDatabase database;
    std::string error;
    plx::host::DxfImportReport report;
    ASSERT_TRUE(plx::host::ImportDxfFile(path, database, error, &report)) << at << ": " << error;
    if (report.unreadable.empty()) {
      EXPECT_EQ(report.appended, 1u) << at;
      ++taken;
    } else {
      ASSERT_EQ(report.unreadable.size(), 1u);
      EXPECT_EQ(report.unreadable[0].rfind("3DSOLID 9C: ", 0), 0u) << report.unreadable[0];
      EXPECT_EQ(report.appended, 0u) << at;
      ++named;
    }
  }
  EXPECT_GT(named, 0);
  EXPECT_GT(taken, 0);
}

// A damaged file fails with the reader's message, naming the line, and changes nothing.
TEST_F(DxfImport, DamagedFileNamesTheLineAndChangesNothing) {
  ASSERT_EQ(Dxfin(plx::test::CorpusDir() / "ezdxf_Minimal_DXF_AC1006.dxf"), RTNORM);
  const Census before = TakeCensus();
  const AcDbHandle seed = Db()->handseed();
  const std::string whole = plx::test::ReadFile(plx::test::CorpusDir() / "assimp_issue_2229.dxf");
  EXPECT_EQ(Import(whole.substr(0, whole.size() / 2)), RTERROR);
  EXPECT_NE(text_.find("DXFIN: line "), std::string::npos) << text_;
  EXPECT_NE(text_.find("(cut short?)"), std::string::npos) << text_;
  EXPECT_EQ(Import(Dxf("0\nLAYER\n0\n3DFACE\n8\nNewLayer\n10\nx\n")), RTERROR);
  EXPECT_NE(text_.find("DXFIN: line 12: 'x' is not a finite number (group 10)\n"),
            std::string::npos)
      << text_;
  const Census after = TakeCensus();
  EXPECT_EQ(after.entities, before.entities);
  EXPECT_EQ(after.layers, before.layers);
  EXPECT_EQ(after.blocks, before.blocks);
  EXPECT_EQ(Db()->handseed(), seed);
}

// Points at x = first, first + 1, ... on layer Pts: enough of them that the import takes the
// entities in several batches while it reads.
std::string Points(int first, int count) {
  std::string out;
  for (int i = first; i < first + count; ++i)
    out += "0\nPOINT\n8\nPts\n10\n" + std::to_string(i) + "\n20\n0\n30\n0\n";
  return out;
}

const char kPtsLayer[] =
    "0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nPts\n70\n0\n62\n3\n6\nCONTINUOUS\n0\nENDTAB\n";

// A damaged or cut-short file far into its entities changes nothing either.
TEST_F(DxfImport, LargeDamagedFileChangesNothing) {
  ASSERT_EQ(Dxfin(plx::test::CorpusDir() / "ezdxf_Minimal_DXF_AC1006.dxf"), RTNORM);
  const Census before = TakeCensus();
  const AcDbHandle seed = Db()->handseed();
  const std::string tables = Section("TABLES", kPtsLayer);
  const std::string many = Points(0, 5000);
  const std::string bad = tables + Section("ENTITIES", many + "0\nPOINT\n10\n1.5q\n") + "0\nEOF\n";
  EXPECT_EQ(Import(bad), RTERROR);
  const size_t lines = static_cast<size_t>(std::count(bad.begin(), bad.end(), '\n'));
  EXPECT_NE(text_.find("DXFIN: line " + std::to_string(lines - 4) + ": '1.5q' is not a finite"),
            std::string::npos)
      << text_;
  EXPECT_EQ(Import(tables + "0\nSECTION\n2\nENTITIES\n" + many, "cut.dxf"), RTERROR);
  EXPECT_NE(text_.find("(cut short?)"), std::string::npos) << text_;
  const Census after = TakeCensus();
  EXPECT_EQ(after.entities, before.entities);
  EXPECT_EQ(after.layers, before.layers);
  EXPECT_EQ(Db()->handseed(), seed);
}

// A file damaged at its very end, after it brought a linetype, layers, a named and an anonymous
// block, a polyface mesh with its vertices and thousands of points: all of it is taken back,
// so that the names are free again (not even erased records remain) and the handle seed is
// where it was; the mended file then imports under the same names.
TEST_F(DxfImport, DamagedFileLeavesNoTraceOfWhatItBrought) {
  const std::string tables =
      "0\nTABLE\n2\nLTYPE\n0\nLTYPE\n2\nGone\n3\n__ __\n72\n65\n73\n0\n40\n0\n"
      "0\nENDTAB\n" +
      std::string(kPtsLayer) +
      "0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nFresh\n70\n0\n62\n5\n6\nGone\n0\nENDTAB\n";
  const std::string polyface =
      "0\nPOLYLINE\n8\nFresh\n66\n1\n70\n64\n71\n3\n72\n1\n"
      "0\nVERTEX\n10\n0\n20\n0\n30\n0\n70\n192\n0\nVERTEX\n10\n1\n20\n0\n30\n0\n70\n192\n"
      "0\nVERTEX\n10\n0\n20\n1\n30\n0\n70\n192\n0\nVERTEX\n70\n128\n71\n1\n72\n2\n73\n3\n"
      "0\nSEQEND\n";
  const std::string blocks =
      "0\nBLOCK\n2\nNamed\n70\n0\n10\n0\n20\n0\n30\n0\n" + polyface + "0\nENDBLK\n" +
      "0\nBLOCK\n2\n*U7\n70\n1\n10\n0\n20\n0\n30\n0\n0\nPOINT\n10\n1\n20\n2\n30\n3\n"
      "0\nENDBLK\n";
  const std::string entities = Points(0, 2500) + polyface +
                               "0\nINSERT\n2\nNamed\n10\n0\n20\n0\n30\n0\n"
                               "0\nINSERT\n2\n*U7\n10\n0\n20\n0\n30\n0\n" +
                               Points(2500, 10);
  const std::string head = Section("TABLES", tables) + Section("BLOCKS", blocks) +
                           "0\nSECTION\n2\nENTITIES\n" + entities;
  const Census before = TakeCensus();
  const AcDbHandle seed = Db()->handseed();
  EXPECT_EQ(Import(head + "0\nPOINT\n10\nq\n0\nENDSEC\n0\nEOF\n", "late.dxf"), RTERROR);
  EXPECT_NE(text_.find("'q' is not a finite number"), std::string::npos) << text_;
  EXPECT_EQ(Import(head + "0\nENDSEC\n", "no_eof.dxf"), RTERROR);
  EXPECT_NE(text_.find("(cut short?)"), std::string::npos) << text_;
  const Census after = TakeCensus();
  EXPECT_EQ(after.entities, before.entities);
  EXPECT_EQ(after.layers, before.layers);
  EXPECT_EQ(after.blocks, before.blocks);
  EXPECT_EQ(Db()->handseed(), seed);
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(Db()->getLayerTable(layers, AcDb::kForRead), Acad::eOk);
  AcDbObjectId id;
  EXPECT_EQ(layers->getAt(L"Fresh", id, true), Acad::eKeyNotFound);
  layers->close();
  AcDbBlockTable* blockTable = nullptr;
  ASSERT_EQ(Db()->getBlockTable(blockTable, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(blockTable->getAt(L"Named", id, true), Acad::eKeyNotFound);
  EXPECT_EQ(blockTable->getAt(L"*U7", id, true), Acad::eKeyNotFound);
  blockTable->close();

  ASSERT_EQ(Import(head + "0\nENDSEC\n0\nEOF\n", "mended.dxf"), RTNORM) << text_;
  ASSERT_EQ(Db()->getBlockTable(blockTable, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(blockTable->has(L"Named"));
  EXPECT_TRUE(blockTable->has(L"*U7"));
  blockTable->close();
}

// A drawing's erased layer of a name the file brings anew is found by that name again, erased,
// once the damaged file is taken back.
TEST_F(DxfImport, DamagedFileGivesAnErasedLayerItsNameBack) {
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(Db()->getLayerTable(layers, AcDb::kForWrite), Acad::eOk);
  auto* record = new AcDbLayerTableRecord;
  ASSERT_EQ(record->setName(L"Fresh"), Acad::eOk);
  AcDbObjectId erased;
  ASSERT_EQ(layers->add(erased, record), Acad::eOk);
  ASSERT_EQ(record->erase(), Acad::eOk);
  record->close();
  layers->close();

  const std::string tables = "0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nFresh\n70\n0\n62\n5\n0\nENDTAB\n";
  const std::string file = Section("TABLES", tables) + "0\nSECTION\n2\nENTITIES\n" +
                           "0\nPOINT\n8\nFresh\n10\n1\n20\n2\n30\n3\n0\nPOINT\n10\nq\n0\nENDSEC\n0\nEOF\n";
  EXPECT_EQ(Import(file), RTERROR);
  ASSERT_EQ(Db()->getLayerTable(layers, AcDb::kForRead), Acad::eOk);
  AcDbObjectId id;
  EXPECT_EQ(layers->getAt(L"Fresh", id, true), Acad::eOk);
  EXPECT_EQ(id, erased);
  EXPECT_EQ(layers->getAt(L"Fresh", id, false), Acad::eKeyNotFound);
  layers->close();
}

// The drawing refuses a step well before the file turns out damaged: the damage is what the
// user hears of, as the file is at fault; without the damage, the refusal. Either way the
// drawing is as it was, down to its handle seed, though thousands of points were taken.
TEST_F(DxfImport, DamageBeyondARefusedStepIsReportedFirst) {
  ASSERT_EQ(Dxfin(plx::test::CorpusDir() / "ezdxf_Minimal_DXF_AC1006.dxf"), RTNORM);
  const Census before = TakeCensus();
  const AcDbHandle seed = Db()->handseed();
  const std::string head =
      Section("TABLES", kPtsLayer) +
      Section("BLOCKS", "0\nBLOCK\n2\nB\n70\n0\n10\n0\n20\n0\n30\n0\n0\nENDBLK\n") +
      "0\nSECTION\n2\nENTITIES\n" + Points(0, 3000) +
      "0\nINSERT\n2\nB\n10\n0\n20\n0\n30\n0\n70\n32767\n71\n32767\n" + Points(3000, 3000);
  const std::string damaged = head + "0\nPOINT\n10\n1.5q\n0\nENDSEC\n0\nEOF\n";
  EXPECT_EQ(Import(damaged), RTERROR);
  const size_t lines = static_cast<size_t>(std::count(damaged.begin(), damaged.end(), '\n'));
  EXPECT_NE(text_.find("DXFIN: line " + std::to_string(lines - 4) + ": '1.5q' is not a finite"),
            std::string::npos)
      << text_;
  EXPECT_EQ(text_.find("INSERT array"), std::string::npos) << text_;
  EXPECT_EQ(Db()->handseed(), seed);

  EXPECT_EQ(Import(head + "0\nENDSEC\n0\nEOF\n", "refused.dxf"), RTERROR);
  EXPECT_NE(text_.find("INSERT array of 32767 rows by 32767 columns"), std::string::npos) << text_;
  const Census after = TakeCensus();
  EXPECT_EQ(after.entities, before.entities);
  EXPECT_EQ(after.layers, before.layers);
  EXPECT_EQ(after.blocks, before.blocks);
  EXPECT_EQ(Db()->handseed(), seed);
}

// Entities keep the file's order across batches, and an insert of a block that the file
// defines only after its entities still finds it.
TEST_F(DxfImport, LargeDrawingKeepsOrderAndLateBlocks) {
  const std::string blocks =
      "0\nBLOCK\n2\nLate\n70\n0\n10\n0\n20\n0\n30\n0\n0\nPOINT\n10\n-1\n20\n0\n30\n0\n"
      "0\nENDBLK\n";
  const std::string entities =
      Points(0, 3000) + "0\nINSERT\n2\nLate\n10\n0\n20\n5\n30\n0\n" + Points(3000, 2000);
  ASSERT_EQ(Import(Section("TABLES", kPtsLayer) + Section("ENTITIES", entities) +
                   Section("BLOCKS", blocks) + "0\nEOF\n"),
            RTNORM)
      << text_;
  // The block's point counts too.
  EXPECT_NE(text_.find("DXFIN: 5002 objects imported.\n"), std::string::npos) << text_;
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(Db()->getLayerTable(layers, AcDb::kForRead), Acad::eOk);
  AcDbObjectId pts;
  EXPECT_EQ(layers->getAt(L"Pts", pts), Acad::eOk);
  layers->close();
  const std::vector<AcDbEntity*> all = ModelSpace();
  ASSERT_EQ(all.size(), 5001u);
  int expected = 0;
  for (size_t i = 0; i < all.size(); ++i) {
    if (i == 3000) {
      auto* insert = AcDbBlockReference::cast(all[i]);
      ASSERT_NE(insert, nullptr);
      EXPECT_FALSE(insert->blockTableRecord().isNull());
      EXPECT_NEAR(insert->position().y, 5, 1e-12);
      continue;
    }
    auto* point = AcDbPoint::cast(all[i]);
    ASSERT_NE(point, nullptr) << i;
    EXPECT_EQ(point->position().x, expected++) << i;
    EXPECT_EQ(point->layerId(), pts) << i;
  }
}

TEST_F(DxfImport, MissingFileAndCancelFail) {
  TranscriptCapture transcript;
  EXPECT_EQ(Dxfin(dir_ / "none.dxf"), RTERROR);
  EXPECT_NE(transcript.Utf8().find("DXFIN: cannot open " + (dir_ / "none.dxf").string() + "\n"),
            std::string::npos)
      << transcript.Utf8();
  // A name without extension means the .dxf file.
  plx::test::WriteFile(dir_ / "plain.dxf", Dxf("0\nPOINT\n10\n1\n20\n2\n30\n3\n"));
  EXPECT_EQ(Dxfin(dir_ / "plain"), RTNORM);
  EXPECT_EQ(ModelSpace().size(), 1u);
  EXPECT_EQ(acedCommand(RTSTR, L"_dxfin", RTNONE), RTERROR);  // the answers end: cancelled
}

// A drawing whose model space is open elsewhere refuses the import before anything is added.
TEST_F(DxfImport, DrawingThatRefusesKeepsAsItWas) {
  AcDbBlockTableRecord* space = nullptr;
  ASSERT_EQ(acdbOpenObject(space, Db()->modelSpaceId(), AcDb::kForRead), Acad::eOk);
  const Census before = TakeCensus();
  EXPECT_EQ(
      Import(
          Dxf("0\nPOINT\n8\nOther\n10\n1\n20\n2\n30\n3\n",
              "0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nOther\n70\n0\n62\n1\n6\nCONTINUOUS\n0\nENDTAB\n")),
      RTERROR);
  space->close();
  EXPECT_NE(text_.find("DXFIN: the drawing's tables or spaces are open elsewhere"),
            std::string::npos)
      << text_;
  const Census after = TakeCensus();
  EXPECT_EQ(after.layers, before.layers);
  EXPECT_EQ(after.entities, 0);
}

// ---------------------------------------------------------------------------------------------
// ZOOM

struct ZoomCase {
  std::vector<std::wstring> answers;
  const wchar_t* option;
};

class Zoom : public testing::TestWithParam<ZoomCase> {};

TEST_P(Zoom, TakesTheHostsAnswersAndKeepsTheOption) {
  HostSession session;
  TranscriptCapture transcript;
  plx::test::ScriptedInput input(GetParam().answers);
  EXPECT_TRUE(plx::host::RunCommand(L"_ZOOM"));
  EXPECT_EQ(plx::host::LastZoom(), GetParam().option) << transcript.Utf8();
  EXPECT_EQ(plx::host::ZoomCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(Answers, Zoom,
                         testing::Values(ZoomCase{{L"_extents"}, L"Extents"},
                                         ZoomCase{{L"a"}, L"All"}, ZoomCase{{L"P"}, L"Previous"},
                                         ZoomCase{{L"2x"}, L"Scale"},
                                         ZoomCase{{L"s", L"nonsense", L"0.5XP"}, L"Scale"},
                                         ZoomCase{{L"1,1", L"5,5"}, L"Window"},
                                         ZoomCase{{L"W", L"1,1", L"5,5,0"}, L"Window"},
                                         ZoomCase{{L"bad", L"C", L"3,3", L""}, L"Center"},
                                         ZoomCase{{L"O", L""}, L"Object"},
                                         ZoomCase{{L""}, L"Realtime"}),
                         [](const testing::TestParamInfo<ZoomCase>& info) {
                           return plx::Utf8FromWide(info.param.option) + std::to_string(info.index);
                         });

TEST(ZoomCommand, RemembersEachOption) {
  HostSession session;
  EXPECT_EQ(plx::host::ZoomCount(), 0);
  EXPECT_EQ(plx::host::LastZoom(), L"");
  for (const ZoomCase& c : {ZoomCase{{L"W", L"1,1", L"5,5"}, L"Window"},
                            ZoomCase{{L"e"}, L"Extents"}, ZoomCase{{L"3"}, L"Scale"}}) {
    std::vector<std::wstring> answers = c.answers;
    plx::test::ScriptedInput input(answers);
    EXPECT_TRUE(plx::host::RunCommand(L"ZOOM"));
    EXPECT_EQ(plx::host::LastZoom(), c.option);
  }
  EXPECT_EQ(plx::host::ZoomCount(), 3);
  plx::test::ScriptedInput cancel({L"^C"});
  plx::host::RunCommand(L"_ZOOM");
  EXPECT_EQ(plx::host::ZoomCount(), 3);
}

}  // namespace
