// Block references and the block table records they show: the block transform (scaled,
// rotated, on a tilted normal, nested), its decomposition, extents and explode; and text and
// subdivision meshes, the other entities the toolkit reads.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "DrawingBuilders.h"
#include "TestSupport.h"
#include "arx.h"

using plx::test::AddToModelSpace;
using plx::test::HostSession;

namespace {

constexpr double kPi = 3.14159265358979323846;

void ExpectNear(const AcGePoint3d& a, const AcGePoint3d& b, double tol = 1e-9) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
  EXPECT_NEAR(a.z, b.z, tol);
}

// A new block of the working database with an origin, holding the given entities.
AcDbObjectId AddBlock(const wchar_t* name, const AcGePoint3d& origin,
                      std::vector<AcDbEntity*> entities) {
  AcDbBlockTable* table = nullptr;
  EXPECT_EQ(acdbHostApplicationServices()->workingDatabase()->getBlockTable(table, AcDb::kForWrite),
            Acad::eOk);
  auto* record = new AcDbBlockTableRecord;
  record->setName(name);
  record->setOrigin(origin);
  AcDbObjectId id;
  EXPECT_EQ(table->add(id, record), Acad::eOk);
  for (AcDbEntity* entity : entities) {
    EXPECT_EQ(record->appendAcDbEntity(entity), Acad::eOk);
    entity->close();
  }
  record->close();
  table->close();
  return id;
}

TEST(BlockReference, TransformScalesTurnsAndPlacesTheBlock) {
  HostSession session;
  const AcDbObjectId block = AddBlock(L"PEG", AcGePoint3d(1, 0, 0),
                                      {new AcDbLine(AcGePoint3d(1, 0, 0), AcGePoint3d(2, 0, 0))});
  AcDbBlockReference ref(AcGePoint3d(10, 10, 0), block);
  EXPECT_EQ(ref.blockTableRecord(), block);
  ref.setScaleFactors(AcGeScale3d(2, 3, 4));
  ref.setRotation(kPi / 2);
  const AcGeMatrix3d m = ref.blockTransform();
  // The block origin lands on the position; X of the block turns to +Y and doubles.
  ExpectNear(m * AcGePoint3d(1, 0, 0), AcGePoint3d(10, 10, 0));
  ExpectNear(m * AcGePoint3d(2, 0, 0), AcGePoint3d(10, 12, 0));
  ExpectNear(m * AcGePoint3d(1, 1, 0), AcGePoint3d(7, 10, 0));
  ExpectNear(m * AcGePoint3d(1, 0, 1), AcGePoint3d(10, 10, 4));
  AcDbExtents box;
  ASSERT_EQ(ref.getGeomExtents(box), Acad::eOk);
  ExpectNear(box.minPoint(), AcGePoint3d(10, 10, 0));
  ExpectNear(box.maxPoint(), AcGePoint3d(10, 12, 0));

  // On the normal +X the block's XY plane stands in world YZ.
  ref.setScaleFactors(AcGeScale3d(1));
  ref.setRotation(0);
  ref.setNormal(AcGeVector3d(1, 0, 0));
  ExpectNear(ref.blockTransform() * AcGePoint3d(2, 0, 0), AcGePoint3d(10, 11, 0));
  ExpectNear(ref.blockTransform() * AcGePoint3d(1, 1, 0), AcGePoint3d(10, 10, 1));
}

TEST(BlockReference, NestedReferencesComposeTheirTransforms) {
  HostSession session;
  const AcDbObjectId inner =
      AddBlock(L"INNER", AcGePoint3d(), {new AcDbPoint(AcGePoint3d(1, 0, 0))});
  auto* nested = new AcDbBlockReference(AcGePoint3d(5, 0, 0), inner);
  nested->setRotation(kPi / 2);
  const AcDbObjectId outer = AddBlock(L"OUTER", AcGePoint3d(), {nested});
  auto* top = new AcDbBlockReference(AcGePoint3d(0, 0, 1), outer);
  top->setScaleFactors(AcGeScale3d(2));
  const AcDbObjectId topId = AddToModelSpace(top);
  AcDbBlockReference* ref = nullptr;
  ASSERT_EQ(acdbOpenObject(ref, topId, AcDb::kForRead), Acad::eOk);
  // The point (1, 0, 0) turns to (0, 1, 0), moves to (5, 1, 0), doubles and rises by 1.
  AcDbExtents box;
  ASSERT_EQ(ref->getGeomExtents(box), Acad::eOk);
  ExpectNear(box.minPoint(), AcGePoint3d(10, 2, 1));
  AcDbVoidPtrArray pieces;
  ASSERT_EQ(ref->explode(pieces), Acad::eOk);
  ASSERT_EQ(pieces.length(), 1);
  std::unique_ptr<AcDbEntity> piece(static_cast<AcDbEntity*>(pieces[0]));
  const AcDbBlockReference* child = AcDbBlockReference::cast(piece.get());
  ASSERT_TRUE(child);
  EXPECT_EQ(child->blockTableRecord(), inner);
  ExpectNear(child->position(), AcGePoint3d(10, 0, 1));
  EXPECT_NEAR(child->rotation(), kPi / 2, 1e-12);
  EXPECT_TRUE(child->scaleFactors().isEqualTo(AcGeScale3d(2)));
  ExpectNear(child->blockTransform() * AcGePoint3d(1, 0, 0), AcGePoint3d(10, 2, 1));
  ref->close();
}

TEST(BlockReference, TransformByRecomposesAndRefusesShear) {
  HostSession session;
  const AcDbObjectId block =
      AddBlock(L"B", AcGePoint3d(), {new AcDbLine(AcGePoint3d(), AcGePoint3d(1, 0, 0))});
  AcDbBlockReference ref(AcGePoint3d(1, 2, 3), block);
  ref.setScaleFactors(AcGeScale3d(1, 2, 3));
  ref.setRotation(0.3);
  const AcGeMatrix3d m = AcGeMatrix3d::rotation(1.1, AcGeVector3d(0, 1, 1), AcGePoint3d(4, 0, 0)) *
                         AcGeMatrix3d::mirroring(AcGePoint3d(), AcGeVector3d::kXAxis);
  const AcGeMatrix3d expected = m * ref.blockTransform();
  ASSERT_EQ(ref.transformBy(m), Acad::eOk);
  EXPECT_TRUE(ref.blockTransform().isEqualTo(expected, [] {
    AcGeTol t;
    t.setEqualVector(1e-9);
    return t;
  }()));
  AcGeMatrix3d shear;
  shear.entry[0][1] = 1;
  EXPECT_EQ(ref.transformBy(shear), Acad::eCannotScaleNonUniformly);
  EXPECT_EQ(ref.setScaleFactors(AcGeScale3d(0, 1, 1)), Acad::eInvalidInput);
  EXPECT_EQ(ref.setBlockTableRecord(AcDbObjectId()), Acad::eNullObjectId);
}

TEST(BlockReference, ExplodeRefusesWhatItsPiecesCannotTake) {
  HostSession session;
  const AcDbObjectId block = AddBlock(L"C", AcGePoint3d(),
                                      {new AcDbLine(AcGePoint3d(), AcGePoint3d(1, 0, 0)),
                                       new AcDbCircle(AcGePoint3d(), AcGeVector3d::kZAxis, 1)});
  AcDbBlockReference ref(AcGePoint3d(), block);
  ref.setScaleFactors(AcGeScale3d(1, 2, 1));
  AcDbVoidPtrArray pieces;
  EXPECT_EQ(ref.explode(pieces), Acad::eCannotScaleNonUniformly);
  EXPECT_TRUE(pieces.isEmpty());
  ref.setScaleFactors(AcGeScale3d(2));
  ASSERT_EQ(ref.explode(pieces), Acad::eOk);
  ASSERT_EQ(pieces.length(), 2);
  EXPECT_DOUBLE_EQ(AcDbCircle::cast(static_cast<AcDbEntity*>(pieces[1]))->radius(), 2);
  for (void* p : pieces) delete static_cast<AcDbEntity*>(p);
}

TEST(Text, PositionRotationAndTransform) {
  AcDbText text(AcGePoint3d(1, 2, 0), L"ABCD", AcDbObjectId(), 2, 0);
  AcDbExtents box;
  ASSERT_EQ(text.getGeomExtents(box), Acad::eOk);
  ExpectNear(box.maxPoint(), AcGePoint3d(1 + 4 * 0.6 * 2, 4, 0));
  ASSERT_EQ(text.transformBy(AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis) *
                             AcGeMatrix3d::scaling(2)),
            Acad::eOk);
  ExpectNear(text.position(), AcGePoint3d(-4, 2, 0));
  EXPECT_NEAR(text.rotation(), kPi / 2, 1e-12);
  EXPECT_DOUBLE_EQ(text.height(), 4);
  ACHAR* copy = text.textString();
  EXPECT_STREQ(copy, L"ABCD");
  acutDelString(copy);
  EXPECT_EQ(text.setHeight(0), Acad::eInvalidInput);
  EXPECT_EQ(text.setTextString(nullptr), Acad::eInvalidInput);
}

TEST(SubDMesh, TakesAFaceListOfCountsAndIndices) {
  AcDbSubDMesh mesh;
  AcGePoint3dArray v;
  for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 1}, {2, 0}})
    v.append(AcGePoint3d(x, y, 0));
  AcArray<Adesk::Int32> faces;
  for (int i : {4, 0, 1, 2, 3, 3, 1, 4, 2}) faces.append(i);
  ASSERT_EQ(mesh.setSubDMesh(v, faces, 0), Acad::eOk);
  Adesk::Int32 n = 0;
  mesh.numOfFaces(n);
  EXPECT_EQ(n, 2);
  mesh.numOfVertices(n);
  EXPECT_EQ(n, 5);
  mesh.numOfEdges(n);
  EXPECT_EQ(n, 6);
  AcArray<Adesk::Int32> back;
  mesh.getFaceArray(back);
  EXPECT_EQ(back, faces);
  for (const std::vector<int>& bad : {std::vector<int>{2, 0, 1}, {3, 0, 1, 9}, {4, 0, 1, 2}}) {
    AcArray<Adesk::Int32> list;
    for (int i : bad) list.append(i);
    EXPECT_EQ(mesh.setSubDMesh(v, list, 0), Acad::eInvalidInput);
  }
  EXPECT_EQ(mesh.setSubDMesh(v, faces, 7), Acad::eInvalidInput);
  mesh.numOfFaces(n);
  EXPECT_EQ(n, 2);
  ASSERT_EQ(mesh.setSubDMesh(AcGePoint3dArray(), AcArray<Adesk::Int32>(), 0), Acad::eOk);
  AcDbExtents box;
  EXPECT_EQ(mesh.getGeomExtents(box), Acad::eInvalidExtents);
}

}  // namespace
