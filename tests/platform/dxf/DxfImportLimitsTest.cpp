// `_dxfin` on small hostile files: each asks for far more than its size (an array of a billion
// references, a hatch edge of a million turns, a block that holds itself, thousands of blocks
// of one anonymous name, polylines that claim millions of vertices). Each is refused with a
// message that names the line, or imported at a cost bounded by what the file holds, and a
// refused file leaves the drawing as it was. The suite's CTest timeout stands for "no hang";
// the counts checked here (objects made, points and vertices held) show the bound.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "DrawingSnapshot.h"
#include "TestSupport.h"
#include "aced.h"
#include "arxhost/Dxf.h"
#include "dbblkref.h"
#include "dbhatch.h"
#include "dbpl.h"
#include "dbsymtb.h"

namespace {

namespace fs = std::filesystem;
using plx::test::HostSession;
using plx::test::TempDir;
using plx::test::TranscriptCapture;

AcDbDatabase* Db() { return acdbHostApplicationServices()->workingDatabase(); }

std::string Section(const std::string& name, const std::string& body) {
  return "0\nSECTION\n2\n" + name + "\n" + body + "0\nENDSEC\n";
}

std::string Dxf(const std::string& entities, const std::string& blocks = "") {
  return (blocks.empty() ? "" : Section("BLOCKS", blocks)) + Section("ENTITIES", entities) +
         "0\nEOF\n";
}

std::string Block(const std::string& name, const std::string& entities) {
  return "0\nBLOCK\n2\n" + name + "\n70\n0\n10\n0\n20\n0\n30\n0\n" + entities + "0\nENDBLK\n";
}

std::string Insert(const std::string& block, double x = 0, const std::string& more = "") {
  return "0\nINSERT\n2\n" + block + "\n10\n" + std::to_string(x) + "\n20\n0\n30\n0\n" + more;
}

const std::string kPoint = "0\nPOINT\n10\n1\n20\n2\n30\n3\n";

// The line of the 0 group of the first record whose type line starts what ("INSERT\n2\nB").
size_t LineOf(const std::string& text, const std::string& what) {
  const size_t at = text.find("\n" + what);
  EXPECT_NE(at, std::string::npos) << what;
  return static_cast<size_t>(std::count(text.begin(), text.begin() + static_cast<long>(at), '\n')) +
         1;
}

using Snapshot = plx::test::DrawingSnapshot;
constexpr auto Take = plx::test::TakeDrawingSnapshot;

// Objects made since the handle seed was read: every object made takes a handle, erased or not.
uint64_t Made(const AcDbHandle& since) {
  return static_cast<uint64_t>(Db()->handseed()) - static_cast<uint64_t>(since);
}

class DxfImportLimits : public testing::Test {
 protected:
  void SetUp() override {
    // Something of the user's that a refused file must not touch.
    ASSERT_EQ(Import(Dxf(kPoint + "0\nLINE\n8\nMine\n10\n0\n20\n0\n30\n0\n11\n1\n21\n1\n31\n0\n",
                         Block("Mine", kPoint)),
                     "mine.dxf"),
              RTNORM)
        << text_;
  }

  int Import(const std::string& content, const std::string& name = "drawing.dxf") {
    const fs::path path = dir_ / name;
    plx::test::WriteFile(path, content);
    TranscriptCapture transcript;
    const std::wstring wide = path.wstring();
    const int result = acedCommand(RTSTR, L"_dxfin", RTSTR, wide.c_str(), RTNONE);
    text_ = transcript.Utf8();
    return result;
  }

  // Imports a file that must be refused with message and checks that nothing changed.
  void ExpectRefused(const std::string& content, const std::string& message,
                     uint64_t maxMade = 100) {
    const Snapshot before = Take();
    const AcDbHandle seed = Db()->handseed();
    EXPECT_EQ(Import(content, "hostile.dxf"), RTERROR);
    EXPECT_NE(text_.find("DXFIN: " + message + "\n"), std::string::npos) << text_;
    EXPECT_EQ(text_.find("objects imported"), std::string::npos) << text_;
    EXPECT_EQ(Take(), before);
    EXPECT_LE(Made(seed), maxMade);
  }

  // The entities of a block table record (model space by default), open for read until the
  // test ends.
  std::vector<AcDbEntity*> EntitiesOf(AcDbObjectId recordId = AcDbObjectId()) {
    if (recordId.isNull()) recordId = Db()->modelSpaceId();
    std::vector<AcDbEntity*> all;
    AcDbBlockTableRecord* record = nullptr;
    EXPECT_EQ(acdbOpenObject(record, recordId, AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecordIterator* it = nullptr;
    record->newIterator(it);
    for (; !it->done(); it->step()) {
      AcDbEntity* e = nullptr;
      it->getEntity(e, AcDb::kForRead);
      all.push_back(e);
      open_.push_back(e);
    }
    delete it;
    record->close();
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

// A 32767 x 32767 array is a billion references: refused before the first copy, naming the
// line. The budget counts every array of the file, so a second array past it undoes the first.
TEST_F(DxfImportLimits, ArrayPastTheBudgetIsRefusedNamingItsLine) {
  const std::string huge = Dxf("0\nLINE\n8\nNew\n10\n0\n20\n0\n30\n0\n11\n1\n21\n1\n31\n0\n" +
                                   Insert("B", 0, "70\n32767\n71\n32767\n44\n1\n45\n1\n"),
                               Block("B", kPoint));
  ExpectRefused(huge, "line " + std::to_string(LineOf(huge, "INSERT")) +
                          ": an INSERT array of 32767 rows by 32767 columns would make "
                          "1073676289 block references, more than the 1000000 that arrays may "
                          "make in one import");

  // 200 x 100 fits; 30 x 32767 more does not.
  const std::string second = Dxf(Insert("B", 0, "70\n100\n71\n200\n44\n1\n45\n1\n") + kPoint +
                                     Insert("B", 5, "70\n32767\n71\n30\n44\n1\n45\n1\n"),
                                 Block("B", kPoint));
  ExpectRefused(second,
                "line " + std::to_string(LineOf(second, "INSERT\n2\nB\n10\n5.")) +
                    ": an INSERT array of 30 rows by 32767 columns would make 983010 block "
                    "references, more than the 1000000 that arrays may make in one import",
                // The first array's 20000 copies were made, then taken back with their handles.
                0);
}

// An array inside a block counts as well; one within the budget imports whole.
TEST_F(DxfImportLimits, ArraysWithinTheBudgetImport) {
  ASSERT_EQ(Import(Dxf(Insert("Grid") + Insert("B", 0, "70\n40\n71\n25\n44\n1\n45\n1\n"),
                       Block("B", kPoint) + Block("Grid", Insert("B", 0, "70\n3\n71\n2\n")))),
            RTNORM)
      << text_;
  // 1000 array copies, the plain insert of Grid, and the block's 6 copies and 1 point.
  EXPECT_NE(text_.find("DXFIN: 1008 objects imported.\n"), std::string::npos) << text_;
}

// Ellipse edges whose end angle is 1e9 or 1e300 degrees sweep one turn: a bounded chain of
// straight edges, not millions of points (or an int that overflows).
TEST_F(DxfImportLimits, HatchEllipseEdgeSweepsAtMostOneTurn) {
  auto hatch = [](const std::string& start, const std::string& end) {
    return "0\nHATCH\n10\n0\n20\n0\n30\n0\n2\nSOLID\n70\n1\n71\n0\n91\n1\n92\n1\n93\n1\n"
           "72\n3\n10\n0\n20\n0\n11\n2\n21\n0\n40\n0.5\n50\n" +
           start + "\n51\n" + end + "\n73\n1\n97\n0\n75\n0\n76\n1\n98\n0\n";
  };
  ASSERT_EQ(Import(Dxf(hatch("0", "1e9") + hatch("0", "1e300") + hatch("1e300", "-1e300") +
                       hatch("-720", "-810") + hatch("0", "90"))),
            RTNORM)
      << text_;
  const std::vector<AcDbEntity*> all = EntitiesOf();
  ASSERT_EQ(all.size(), 7u) << text_;  // the user's point and line first
  std::vector<int> edges;
  for (size_t i = 2; i < all.size(); ++i) {
    const auto* h = AcDbHatch::cast(all[i]);
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(h->numLoops(), 1);
    Adesk::Int32 type = 0;
    AcGeVoidPointerArray pointers;
    AcGeIntArray types;
    ASSERT_EQ(h->getLoopAt(0, type, pointers, types), Acad::eOk);
    edges.push_back(pointers.length());
  }
  // A full turn in 64 straight edges; -720 to -810 degrees is three quarters of a turn
  // counter-clockwise, 90 degrees a quarter (at least 8 edges).
  EXPECT_EQ(edges, (std::vector<int>{64, 64, 64, 48, 16}));
}

// A block that inserts itself, directly or through another, is refused at import; a model
// space that inserts itself is left out.
TEST_F(DxfImportLimits, BlockThatInsertsItselfIsRefused) {
  const std::string direct =
      Dxf(Insert("Self"), Block("Self", kPoint + Insert("Self") + Insert("Self", 1)));
  ExpectRefused(direct, "line " + std::to_string(LineOf(direct, "INSERT\n2\nSelf\n10\n0.")) +
                            ": the block Self inserts itself (Self > Self); a block cannot "
                            "contain itself");
  const std::string through = Dxf(
      kPoint, Block("A", Insert("B")) + Block("B", kPoint + Insert("C")) + Block("C", Insert("A")));
  ExpectRefused(through, "line " + std::to_string(LineOf(through, "INSERT\n2\nA\n")) +
                             ": the block A inserts itself (A > B > C > A); a block cannot "
                             "contain itself");

  ASSERT_EQ(Import(Dxf(kPoint + Insert("*Model_Space") + Insert("*Paper_Space"))), RTNORM) << text_;
  EXPECT_NE(text_.find("DXFIN: left out 2 INSERT"), std::string::npos) << text_;
  EXPECT_NE(text_.find("DXFIN: 1 objects imported.\n"), std::string::npos) << text_;
}

// Sixty blocks, each inserting the next twice one unit apart, are 2^60 references deep: the
// extents of the top insert visit each reference once.
TEST_F(DxfImportLimits, ExtentsOfDoublingNestedBlocksCostOneVisitPerReference) {
  constexpr int kDepth = 60;
  std::string blocks =
      Block("L" + std::to_string(kDepth), "0\nLINE\n10\n0\n20\n0\n30\n0\n11\n1\n21\n1\n31\n0\n");
  for (int i = 0; i < kDepth; ++i) {
    const std::string next = "L" + std::to_string(i + 1);
    blocks += Block("L" + std::to_string(i), Insert(next) + Insert(next, 1));
  }
  ASSERT_EQ(Import(Dxf(Insert("L0", 10), blocks)), RTNORM) << text_;
  const std::vector<AcDbEntity*> all = EntitiesOf();
  ASSERT_EQ(all.size(), 3u);
  AcDbExtents box;
  ASSERT_EQ(all[2]->getGeomExtents(box), Acad::eOk);
  EXPECT_NEAR(box.minPoint().x, 10, 1e-9);
  EXPECT_NEAR(box.maxPoint().x, 10 + kDepth + 1, 1e-9);
  EXPECT_NEAR(box.maxPoint().y, 1, 1e-9);
  // The same answer again, and for a nested reference on its own (in its block's frame).
  AcDbExtents again;
  ASSERT_EQ(all[2]->getGeomExtents(again), Acad::eOk);
  EXPECT_EQ(again.maxPoint(), box.maxPoint());
  const auto* top = AcDbBlockReference::cast(all[2]);
  ASSERT_NE(top, nullptr);
  const std::vector<AcDbEntity*> inner = EntitiesOf(top->blockTableRecord());
  ASSERT_EQ(inner.size(), 2u);
  AcDbExtents second;
  ASSERT_EQ(inner[1]->getGeomExtents(second), Acad::eOk);
  EXPECT_NEAR(second.minPoint().x, 1, 1e-9);
  EXPECT_NEAR(second.maxPoint().x, kDepth + 1, 1e-9);
}

// Twenty thousand anonymous blocks of one name each get the next free number, found without
// searching from 1 each time.
TEST_F(DxfImportLimits, ManyAnonymousBlocksOfOneNameGetTheNextFreeNumbers) {
  ASSERT_EQ(Import(Dxf(Insert("*U1"), Block("*U1", kPoint)), "first.dxf"), RTNORM) << text_;
  constexpr int kBlocks = 20000;
  std::string blocks;
  for (int i = 0; i < kBlocks; ++i) blocks += Block("*U1", kPoint);
  const Snapshot before = Take();
  ASSERT_EQ(Import(Dxf(kPoint, blocks)), RTNORM) << text_;
  const Snapshot after = Take();
  ASSERT_EQ(after.blocks.size(), before.blocks.size() + kBlocks);
  // *U1 was taken by the first file's block; the next ones are *U2, *U3, ...
  EXPECT_EQ(after.blocks[before.blocks.size()], L"*U2");
  EXPECT_EQ(after.blocks.back(), L"*U" + std::to_wstring(kBlocks + 1));
}

// LWPOLYLINEs that each claim 16777215 vertices but hold two: the reader keeps room for what
// the record holds, not what it claims, and the import makes the two.
TEST_F(DxfImportLimits, PolylineClaimingMillionsOfVerticesHoldsWhatItHas) {
  std::string entities;
  for (int i = 0; i < 50; ++i)
    entities += "0\nLWPOLYLINE\n90\n16777215\n70\n0\n10\n0\n20\n0\n10\n" + std::to_string(i + 1) +
                "\n20\n1\n";
  const std::string file = Dxf(entities);
  std::string error;
  const std::optional<plx::dxf::Drawing> drawing = plx::dxf::ReadDxf(file, error);
  ASSERT_TRUE(drawing) << error;
  ASSERT_EQ(drawing->entities.size(), 50u);
  for (const plx::dxf::Entity& e : drawing->entities) {
    const auto& d = std::get<plx::dxf::LwPolylineData>(e.data);
    EXPECT_EQ(d.vertices.size(), 2u);
    EXPECT_LE(d.vertices.capacity(), 8u);  // the record's groups
  }
  ASSERT_EQ(Import(file), RTNORM) << text_;
  EXPECT_NE(text_.find("DXFIN: 50 objects imported.\n"), std::string::npos) << text_;
  const std::vector<AcDbEntity*> all = EntitiesOf();
  ASSERT_EQ(all.size(), 52u);
  const auto* last = AcDbPolyline::cast(all.back());
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->numVerts(), 2u);
}

}  // namespace
