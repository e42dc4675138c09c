// SAT files through the host's modeller: bodies read into model space where the file has them
// or moved, a file without bodies, a damaged file, and export then import keeping the solids.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "MeshDrawing.h"
#include "TestSupport.h"
#include "arxhost/DxfImport.h"
#include "toolkit/ErrorStatusText.h"
#include "toolkit/Exchange.h"
#include "toolkit/LastError.h"

using namespace plx::test;
namespace fs = std::filesystem;

namespace {

const wchar_t kUnchanged[] = L"unchanged";

CString Wide(const fs::path& path) { return CString(path.wstring().c_str()); }

AcDbObjectIdArray Ids(const std::vector<AcDbObjectId>& list) {
  AcDbObjectIdArray ids(0, 8);
  for (const AcDbObjectId& id : list) ids.append(id);
  return ids;
}

void Erase(const AcDbObjectId& id) {
  AcDbEntity* entity = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(entity->erase(), Acad::eOk);
  entity->close();
}

struct Measure {
  double volume = 0;
  AcGePoint3d low, high;
};

Measure MeasureOf(const AcDbObjectId& id) {
  AcDbEntity* entity = nullptr;
  EXPECT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForRead), Acad::eOk);
  Measure m;
  if (!entity) return m;
  AcDbExtents extents;
  EXPECT_EQ(entity->getGeomExtents(extents), Acad::eOk);
  m.low = extents.minPoint();
  m.high = extents.maxPoint();
  m.volume = static_cast<AcDbModelerEntity*>(entity)->volume();
  entity->close();
  return m;
}

void ExpectSame(const Measure& a, const Measure& b, const AcGeVector3d& shift = AcGeVector3d(0, 0, 0)) {
  EXPECT_NEAR(a.volume, b.volume, 1e-6 * b.volume);
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(a.low[i], b.low[i] + shift[i], 1e-6);
    EXPECT_NEAR(a.high[i], b.high[i] + shift[i], 1e-6);
  }
}

class SatFiles : public ::testing::Test {
 protected:
  void SetUp() override { SetHostError(kUnchanged); }

  // Two solids written to one file and erased from the drawing; their measures.
  std::vector<Measure> WriteTwoSolids(const fs::path& path) {
    const AcDbObjectId box = AddEntity(NewBox(AcGePoint3d(1, 2, 3), 1, 2, 3));
    const AcDbObjectId ball = AddEntity(NewSphere(AcGePoint3d(10, 0, 0), 2));
    std::vector<Measure> measures{MeasureOf(box), MeasureOf(ball)};
    EXPECT_EQ(ExportSAT(Ids({box, ball}), Wide(path)), 1) << GetHostError().GetString();
    for (const AcDbObjectId& id : {box, ball}) Erase(id);
    return measures;
  }

  HostSession session_;
  TempDir dir_;
};

}  // namespace

TEST_F(SatFiles, ImportPlacesTheBodiesWhereTheFileHasThem) {
  const std::vector<Measure> written = WriteTwoSolids(dir_ / "two.sat");
  ASSERT_EQ(ImportSAT(Wide(dir_ / "two.sat"), AcGeMatrix3d::kIdentity, 0), 1) << GetHostError().GetString();
  const std::vector<AcDbObjectId> read = ModelSpaceEntities();
  ASSERT_EQ(read.size(), 2u);
  ExpectSame(MeasureOf(read[0]), written[0]);
  ExpectSame(MeasureOf(read[1]), written[1]);
  EXPECT_EQ(plx::host::ZoomCount(), 0);
  EXPECT_EQ(GetHostError(), kUnchanged);
}

TEST_F(SatFiles, ImportMovesTheBodiesByTheTransform) {
  const std::vector<Measure> written = WriteTwoSolids(dir_ / "two.sat");
  AcGeMatrix3d move;
  move.setToTranslation(AcGeVector3d(5, -6, 7));
  ASSERT_EQ(ImportSAT(Wide(dir_ / "two.sat"), move, 1), 1) << GetHostError().GetString();
  const std::vector<AcDbObjectId> read = ModelSpaceEntities();
  ASSERT_EQ(read.size(), 2u);
  ExpectSame(MeasureOf(read[0]), written[0], AcGeVector3d(5, -6, 7));
  ExpectSame(MeasureOf(read[1]), written[1], AcGeVector3d(5, -6, 7));
  EXPECT_EQ(plx::host::ZoomCount(), 1);
}

TEST_F(SatFiles, AFileWithoutBodiesZoomsThenImportsNothing) {
  WriteFile(dir_ / "empty.sat",
            "700 0 0 0\n@6 Plovex @12 ACIS 7.0 NT @24 Thu Dec 10 15:00:00 2026\n"
            "1 9.9999999999999995e-007 1e-010\nEnd-of-ACIS-data\n");
  EXPECT_EQ(ImportSAT(Wide(dir_ / "empty.sat"), AcGeMatrix3d::kIdentity, 1), 0);
  EXPECT_EQ(GetHostError(), L"No entites imported");
  EXPECT_EQ(plx::host::ZoomCount(), 1);
  EXPECT_TRUE(ModelSpaceEntities().empty());
}

TEST_F(SatFiles, UnreadableFilesGiveTheWordsOfTheirStatus) {
  WriteFile(dir_ / "damaged.sat", "700 0 1 0\n@3 abc\nbody $1 -1 $-1 $7 $-1 $-1 #\n");
  WriteFile(dir_ / "text.sat", "this is no SAT file\n");
  for (const char* name : {"damaged.sat", "text.sat", "missing.sat"}) {
    SetHostError(kUnchanged);
    EXPECT_EQ(ImportSAT(Wide(dir_ / name), AcGeMatrix3d::kIdentity, 1), 0) << name;
    EXPECT_NE(GetHostError(), kUnchanged) << name;
    EXPECT_FALSE(GetHostError().IsEmpty()) << name;
  }
  EXPECT_EQ(plx::host::ZoomCount(), 0);
  EXPECT_TRUE(ModelSpaceEntities().empty());
}

TEST_F(SatFiles, ExportLeavesOutAnErasedObject) {
  const AcDbObjectId kept = AddEntity(NewBox(AcGePoint3d(0, 0, 0), 1, 1, 1));
  const AcDbObjectId erased = AddEntity(NewBox(AcGePoint3d(5, 0, 0), 1, 1, 1));
  Erase(erased);
  ASSERT_EQ(ExportSAT(Ids({kept, erased}), Wide(dir_ / "one.sat")), 1) << GetHostError().GetString();
  AcDbVoidPtrArray entities;
  ASSERT_EQ(AcDbBody::acisIn(Wide(dir_ / "one.sat"), entities), Acad::eOk);
  EXPECT_EQ(entities.length(), 1);
  for (int i = 0; i < entities.length(); ++i) delete static_cast<AcDbEntity*>(entities[i]);
}

TEST_F(SatFiles, ExportThenImportKeepsBooleansOfCurvedSolids) {
  AcDb3dSolid* ball = NewSphere(AcGePoint3d(0, 0, 0), 2);
  AcDb3dSolid* box = NewBox(AcGePoint3d(0, 0, 0), 3, 3, 3);
  ASSERT_EQ(ball->booleanOper(AcDb::kBoolSubtract, box), Acad::eOk);
  delete box;
  const AcDbObjectId carved = AddEntity(ball);
  const Measure before = MeasureOf(carved);
  ASSERT_EQ(ExportSAT(Ids({carved}), Wide(dir_ / "carved.sat")), 1) << GetHostError().GetString();
  Erase(carved);
  ASSERT_EQ(ImportSAT(Wide(dir_ / "carved.sat"), AcGeMatrix3d::kIdentity, 0), 1) << GetHostError().GetString();
  const std::vector<AcDbObjectId> read = ModelSpaceEntities();
  ASSERT_EQ(read.size(), 1u);
  ExpectSame(MeasureOf(read[0]), before);
}
