// The drawing database: open and close rules, erasing, ids and handles, appending entities.
#include <gtest/gtest.h>

#include <cwctype>
#include <unordered_set>

#include "DrawingBuilders.h"
#include "TestSupport.h"
#include "arx.h"
#include "arxhost/Drawing.h"

using plx::test::AddToModelSpace;
using plx::test::HostSession;

namespace {

AcDbDatabase* Db() { return acdbHostApplicationServices()->workingDatabase(); }

AcDbObjectId NewLine() { return AddToModelSpace(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0))); }

}  // namespace

TEST(OpenRules, ManyReadersOrOneWriter) {
  HostSession session;
  const AcDbObjectId id = NewLine();
  AcDbEntity *a = nullptr, *b = nullptr, *w = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(a, id, AcDb::kForRead), Acad::eOk);
  ASSERT_EQ(acdbOpenAcDbEntity(b, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(a, b);
  EXPECT_TRUE(a->isReadEnabled());
  EXPECT_FALSE(a->isWriteEnabled());
  EXPECT_EQ(acdbOpenAcDbEntity(w, id, AcDb::kForWrite), Acad::eWasOpenForRead);
  EXPECT_EQ(w, nullptr);
  EXPECT_EQ(a->upgradeOpen(), Acad::eWasOpenForRead);  // another reader holds it
  EXPECT_EQ(AcDbLine::cast(a)->setStartPoint(AcGePoint3d(5, 5, 5)), Acad::eNotOpenForWrite);
  EXPECT_EQ(b->close(), Acad::eOk);
  EXPECT_EQ(a->upgradeOpen(), Acad::eOk);
  EXPECT_TRUE(a->isWriteEnabled());
  EXPECT_EQ(acdbOpenAcDbEntity(b, id, AcDb::kForRead), Acad::eWasOpenForWrite);
  EXPECT_EQ(acdbOpenAcDbEntity(b, id, AcDb::kForWrite), Acad::eWasOpenForWrite);
  EXPECT_EQ(a->downgradeOpen(), Acad::eOk);
  EXPECT_EQ(a->downgradeOpen(), Acad::eNotOpenForWrite);
  EXPECT_EQ(a->close(), Acad::eOk);
  EXPECT_EQ(a->close(), Acad::eNotOpenForRead);
  ASSERT_EQ(acdbOpenAcDbEntity(w, id, AcDb::kForWrite), Acad::eOk);
  AcDbEntity* notify = nullptr;
  EXPECT_EQ(acdbOpenAcDbEntity(notify, id, AcDb::kForNotify), Acad::eOk);  // always opens
  EXPECT_TRUE(notify->isNotifyEnabled());
  EXPECT_EQ(w->close(), Acad::eOk);
  EXPECT_EQ(notify->close(), Acad::eOk);
  EXPECT_FALSE(notify->isNotifyEnabled());
}

TEST(OpenRules, ErasedObjectsOpenOnlyWhenAskedTo) {
  HostSession session;
  const AcDbObjectId id = NewLine();
  AcDbEntity* e = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(e->erase(), Acad::eOk);
  EXPECT_EQ(e->erase(), Acad::eWasErased);
  EXPECT_EQ(e->close(), Acad::eOk);
  EXPECT_TRUE(id.isErased());
  EXPECT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForRead), Acad::eWasErased);
  EXPECT_EQ(e, nullptr);
  ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite, true), Acad::eOk);
  EXPECT_TRUE(e->isErased());
  EXPECT_EQ(e->erase(false), Acad::eOk);
  EXPECT_EQ(e->erase(false), Acad::eNotApplicable);
  e->close();
  EXPECT_FALSE(id.isErased());
}

TEST(OpenRules, ClassAndIdChecks) {
  HostSession session;
  const AcDbObjectId id = NewLine();
  AcDbObject* object = nullptr;
  EXPECT_EQ(acdbOpenAcDbObject(object, AcDbObjectId::kNull, AcDb::kForRead), Acad::eNullObjectId);
  EXPECT_EQ(acdbOpenAcDbObject(object, id, AcDb::kForRead, false, AcDbFace::desc()), Acad::eNotThatKindOfClass);
  EXPECT_EQ(object, nullptr);
  AcDbCurve* curve = nullptr;
  ASSERT_EQ(acdbOpenObject(curve, id, AcDb::kForRead), Acad::eOk);  // a base class opens
  curve->close();
  AcDbEntity* entity = nullptr;
  EXPECT_EQ(acdbOpenAcDbEntity(entity, Db()->layerZero(), AcDb::kForRead), Acad::eNotAnEntity);
}

TEST(OpenRules, TheDrawingsOwnRecordsCannotBeErased) {
  HostSession session;
  for (const AcDbObjectId& id : {Db()->layerZero(), Db()->modelSpaceId(), Db()->continuousLinetype()}) {
    AcDbObject* object = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(object, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(object->erase(), Acad::eCannotBeErasedByCaller);
    object->close();
  }
}

TEST(ObjectIds, HandlesNameObjectsInBothDirections) {
  HostSession session;
  const AcDbObjectId id = NewLine();
  const std::wstring hex = plx::test::HandleText(id);
  AcDbObjectId found;
  ASSERT_EQ(Db()->getAcDbObjectId(found, false, AcDbHandle(hex.c_str())), Acad::eOk);
  EXPECT_EQ(found, id);
  // Any case, leading zeros.
  std::wstring lower = L"000" + hex;
  for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
  ASSERT_EQ(Db()->getAcDbObjectId(found, false, AcDbHandle(lower.c_str())), Acad::eOk);
  EXPECT_EQ(found, id);
  EXPECT_EQ(Db()->getAcDbObjectId(found, false, AcDbHandle()), Acad::eNullHandle);
  EXPECT_EQ(Db()->getAcDbObjectId(found, false, AcDbHandle(L"FFFFFF")), Acad::eUnknownHandle);
  EXPECT_TRUE(AcDbHandle(L"12G").isNull());
  EXPECT_EQ(id.objectClass(), AcDbLine::desc());
  EXPECT_EQ(id.database(), Db());
}

TEST(ObjectIds, CompareHashAndSurviveAsOldIds) {
  HostSession session;
  const AcDbObjectId a = NewLine(), b = NewLine();
  EXPECT_NE(a, b);
  EXPECT_TRUE(a < b || b < a);
  EXPECT_TRUE(AcDbObjectId().isNull());
  AcDbObjectId back;
  back.setFromOldId(a.asOldId());
  EXPECT_EQ(back, a);
  std::unordered_set<AcDbObjectId> set{a, b, a};
  EXPECT_EQ(set.size(), 2u);
}

TEST(ObjectIds, IdsOfAnEndedDrawingFindNothing) {
  AcDbObjectId id;
  {
    HostSession session;
    id = NewLine();
    EXPECT_TRUE(id.isValid());
  }
  HostSession session;
  EXPECT_FALSE(id.isValid());
  AcDbEntity* e = nullptr;
  EXPECT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForRead), Acad::eUnknownHandle);
  ads_name name;
  EXPECT_EQ(acdbGetAdsName(name, id), Acad::eUnknownHandle);
}

TEST(ObjectIds, SelectionNamesRoundTrip) {
  HostSession session;
  const AcDbObjectId id = NewLine();
  ads_name name;
  ASSERT_EQ(acdbGetAdsName(name, id), Acad::eOk);
  AcDbObjectId back;
  ASSERT_EQ(acdbGetObjectId(back, name), Acad::eOk);
  EXPECT_EQ(back, id);
  ads_name bogus = {12345, 6789};
  EXPECT_EQ(acdbGetObjectId(back, bogus), Acad::eInvalidAdsName);
  EXPECT_EQ(acdbGetAdsName(name, AcDbObjectId()), Acad::eNullObjectId);
}

TEST(EntDel, ErasesThenRestores) {
  HostSession session;
  const AcDbObjectId id = NewLine();
  ads_name name;
  acdbGetAdsName(name, id);
  EXPECT_EQ(acdbEntDel(name), RTNORM);
  EXPECT_TRUE(id.isErased());
  EXPECT_EQ(acdbEntDel(name), RTNORM);
  EXPECT_FALSE(id.isErased());
  AcDbEntity* e = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(acdbEntDel(name), RTERROR);  // open elsewhere: nothing changes
  e->close();
  EXPECT_FALSE(id.isErased());
  ads_name bogus = {1, 2};
  EXPECT_EQ(acdbEntDel(bogus), RTERROR);
}

TEST(Append, NewEntitiesTakeTheCurrentPropertiesAndStayOpenUntilClosed) {
  HostSession session;
  const AcDbObjectId walls = plx::test::AddLayer(L"Walls", 1);
  ASSERT_EQ(Db()->setClayer(walls), Acad::eOk);
  AcCmColor green;
  green.setColorIndex(3);
  Db()->setCecolor(green);
  AcDbBlockTableRecord* space = nullptr;
  ASSERT_EQ(acdbOpenObject(space, Db()->modelSpaceId(), AcDb::kForWrite), Acad::eOk);
  auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  auto* red = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(0, 1, 0));
  red->setColorIndex(1);
  AcDbObjectId lineId, redId;
  ASSERT_EQ(space->appendAcDbEntity(lineId, line), Acad::eOk);
  ASSERT_EQ(space->appendAcDbEntity(redId, red), Acad::eOk);
  EXPECT_EQ(space->appendAcDbEntity(line), Acad::eAlreadyInDb);
  EXPECT_EQ(space->appendAcDbEntity(nullptr), Acad::eNullEntityPointer);
  EXPECT_TRUE(line->isWriteEnabled());
  EXPECT_EQ(line->objectId(), lineId);
  EXPECT_EQ(line->blockId(), Db()->modelSpaceId());
  EXPECT_EQ(line->ownerId(), Db()->modelSpaceId());
  EXPECT_EQ(line->layerId(), walls);
  EXPECT_EQ(line->colorIndex(), 3);
  EXPECT_EQ(red->colorIndex(), 1);
  EXPECT_EQ(line->linetypeId(), Db()->byLayerLinetype());
  line->close();
  red->close();
  space->close();
}

TEST(Append, RefusedEntityStaysTheCallersAndCloseReleasesIt) {
  HostSession session;
  AcDbBlockTableRecord* space = nullptr;
  ASSERT_EQ(acdbOpenObject(space, Db()->modelSpaceId(), AcDb::kForRead), Acad::eOk);
  auto* point = new AcDbPoint(AcGePoint3d(1, 2, 3));
  EXPECT_EQ(space->appendAcDbEntity(point), Acad::eNotOpenForWrite);
  space->close();
  EXPECT_TRUE(point->isWriteEnabled());
  EXPECT_TRUE(point->objectId().isNull());
  EXPECT_EQ(point->close(), Acad::eOk);  // outside a database, close releases it (LeakSanitizer checks)
}

TEST(Append, IteratorWalksEntitiesInOrderAndSkipsErased) {
  HostSession session;
  std::vector<AcDbObjectId> ids;
  for (int i = 0; i < 5; ++i) ids.push_back(AddToModelSpace(new AcDbPoint(AcGePoint3d(i, 0, 0))));
  ads_name name;
  acdbGetAdsName(name, ids[2]);
  acdbEntDel(name);
  std::vector<AcDbObjectId> expected = {ids[0], ids[1], ids[3], ids[4]};
  EXPECT_EQ(plx::test::ModelSpaceIds(), expected);

  AcDbBlockTableRecord* space = nullptr;
  ASSERT_EQ(acdbOpenObject(space, Db()->modelSpaceId(), AcDb::kForRead), Acad::eOk);
  AcDbBlockTableRecordIterator* it = nullptr;
  space->newIterator(it, false, false);  // from the end, erased included
  std::vector<AcDbObjectId> backwards;
  for (; !it->done(); it->step(false, false)) {
    AcDbObjectId id;
    it->getEntityId(id);
    backwards.push_back(id);
  }
  EXPECT_EQ(backwards, std::vector<AcDbObjectId>(ids.rbegin(), ids.rend()));
  EXPECT_EQ(it->seek(ids[1]), Acad::eOk);
  AcDbEntity* entity = nullptr;
  ASSERT_EQ(it->getEntity(entity, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(entity->objectId(), ids[1]);
  entity->close();
  delete it;
  space->close();
}

// Enough entities to fill several pages of the database's lists: order, handles, lookups and
// the object count hold across the page boundaries, and a later drawing that reuses the memory
// of a dropped one finds none of the old ids.
TEST(Append, ThousandsOfEntitiesKeepTheirOrderHandlesAndCount) {
  HostSession session;
  constexpr int kCount = 5000;
  const Adesk::UInt32 before = Db()->approxNumObjects();
  std::vector<AcDbObjectId> ids;
  for (int i = 0; i < kCount; ++i) ids.push_back(AddToModelSpace(new AcDbPoint(AcGePoint3d(i, 0, 0))));
  EXPECT_EQ(Db()->approxNumObjects(), before + kCount);
  EXPECT_EQ(plx::test::ModelSpaceIds(), ids);
  for (int i = 0; i < kCount; i += 997) {
    AcDbObjectId found;
    ASSERT_EQ(Db()->getAcDbObjectId(found, false, ids[i].handle()), Acad::eOk);
    EXPECT_EQ(found, ids[i]);
    AcDbPoint* point = nullptr;
    ASSERT_EQ(acdbOpenObject(point, found, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(point->position().x, i);
    point->close();
  }
  EXPECT_EQ(Db()->handseed().value(), ids.back().handle().value() + 1);

  plx::host::ResetDrawing();
  const AcDbObjectId fresh = AddToModelSpace(new AcDbPoint(AcGePoint3d(7, 7, 7)));
  EXPECT_FALSE(ids.front().isValid());
  EXPECT_FALSE(ids.back().isValid());
  AcDbEntity* entity = nullptr;
  EXPECT_EQ(acdbOpenAcDbEntity(entity, ids[kCount / 2], AcDb::kForRead), Acad::eUnknownHandle);
  ASSERT_EQ(acdbOpenAcDbEntity(entity, fresh, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(entity->isA(), AcDbPoint::desc());
  entity->close();
}

TEST(Highlight, IsRecordedPerEntity) {
  HostSession session;
  const AcDbObjectId id = NewLine();
  EXPECT_EQ(plx::host::HighlightCount(id), 0);
  AcDbEntity* e = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(e->highlight(), Acad::eOk);
  EXPECT_EQ(e->highlight(kNullSubent, false), Acad::eOk);
  EXPECT_TRUE(plx::host::IsHighlighted(id));
  e->unhighlight();
  e->close();
  EXPECT_EQ(plx::host::HighlightCount(id), 2);
  EXPECT_FALSE(plx::host::IsHighlighted(id));
}

TEST(WorkingDatabase, SessionsStartWithAFreshDrawing) {
  {
    HostSession session;
    NewLine();
    EXPECT_EQ(plx::test::ModelSpaceIds().size(), 1u);
  }
  HostSession session;
  EXPECT_TRUE(plx::test::ModelSpaceIds().empty());
  AcDbDatabase other;
  acdbHostApplicationServices()->setWorkingDatabase(&other);
  EXPECT_EQ(acdbHostApplicationServices()->workingDatabase(), &other);
  acdbHostApplicationServices()->setWorkingDatabase(nullptr);
  EXPECT_NE(acdbHostApplicationServices()->workingDatabase(), &other);
}
