// System variables, the formatted message box, erasing and highlighting.
#include <gtest/gtest.h>

#include "TestDrawing.h"
#include "TestSupport.h"
#include "arxhost/Drawing.h"
#include "toolkit/Layers.h"
#include "toolkit/SysVars.h"

using namespace plx::test;

namespace {

class SysVars : public ::testing::Test {
 protected:
  HostSession session_;
};

TEST_F(SysVars, RealReadsAndWrites) {
  double value = -1;
  EXPECT_EQ(GetSysVarReal(L"FACETRES", value), 1);
  EXPECT_EQ(value, 0.5);
  EXPECT_EQ(SetSysVarReal(L"FACETRES", 2.25), 1);
  EXPECT_EQ(GetSysVarReal(L"FACETRES", value), 1);
  EXPECT_EQ(value, 2.25);
}

TEST_F(SysVars, RefusedRealLeavesTheVariable) {
  EXPECT_EQ(SetSysVarReal(L"FACETRES", 20.0), 0);
  EXPECT_EQ(SetSysVarReal(L"FACETRES", 0.001), 0);
  double value = -1;
  EXPECT_EQ(GetSysVarReal(L"FACETRES", value), 1);
  EXPECT_EQ(value, 0.5);
}

TEST_F(SysVars, UnknownNameLeavesTheValue) {
  double real = 7.5;
  EXPECT_EQ(GetSysVarReal(L"NOSUCHVAR", real), 0);
  EXPECT_EQ(real, 7.5);
  int integer = 12;
  EXPECT_EQ(GetSysVarInt(L"NOSUCHVAR", integer), 0);
  EXPECT_EQ(integer, 12);
  CString text = L"kept";
  EXPECT_EQ(GetSysVarString(L"NOSUCHVAR", text), 0);
  EXPECT_EQ(text, L"kept");
  EXPECT_EQ(SetSysVarReal(L"NOSUCHVAR", 1.0), 0);
  EXPECT_EQ(SetSysVarInt(L"NOSUCHVAR", 1), 0);
  EXPECT_EQ(SetSysVarString(L"NOSUCHVAR", L"x"), 0);
}

TEST_F(SysVars, VariableOfAnotherTypeIsNotRead) {
  int integer = 12;
  EXPECT_EQ(GetSysVarInt(L"FACETRES", integer), 0);
  EXPECT_EQ(integer, 12);
  CString text = L"kept";
  EXPECT_EQ(GetSysVarString(L"FACETRES", text), 0);
  EXPECT_EQ(text, L"kept");
  double real = 7.5;
  EXPECT_EQ(GetSysVarReal(L"ISOLINES", real), 0);
  EXPECT_EQ(real, 7.5);
}

struct IntCase {
  int sent;
  int arrives;
};

class SysVarInt : public ::testing::TestWithParam<IntCase> {
 protected:
  HostSession session_;
};

// PDMODE takes the whole 16-bit range, so what arrives is what the buffer carried.
TEST_P(SysVarInt, SendsTheLow16Bits) {
  EXPECT_EQ(SetSysVarInt(L"PDMODE", GetParam().sent), 1);
  int value = 12345;
  EXPECT_EQ(GetSysVarInt(L"PDMODE", value), 1);
  EXPECT_EQ(value, GetParam().arrives);
}

INSTANTIATE_TEST_SUITE_P(Values, SysVarInt,
                         ::testing::Values(IntCase{70000, 4464}, IntCase{-1, -1},
                                           IntCase{32767, 32767}, IntCase{-32768, -32768},
                                           IntCase{32768, -32768}, IntCase{65536, 0},
                                           IntCase{65535, -1}, IntCase{3, 3}));

TEST_F(SysVars, RefusedIntLeavesTheVariable) {
  EXPECT_EQ(SetSysVarInt(L"ISOLINES", 5000), 0);
  // 67537 arrives as 2001, inside the range.
  EXPECT_EQ(SetSysVarInt(L"ISOLINES", 67537), 1);
  int value = 0;
  EXPECT_EQ(GetSysVarInt(L"ISOLINES", value), 1);
  EXPECT_EQ(value, 2001);
}

TEST_F(SysVars, StringReadsBackWhatWasSet) {
  ASSERT_FALSE(GetOrCreateLayer(L"Walls", 1).isNull());  // a layer the host accepts as current
  const CString layer = L"Walls";
  EXPECT_EQ(SetSysVarString(L"CLAYER", layer), 1);
  EXPECT_EQ(layer, L"Walls");
  CString value;
  EXPECT_EQ(GetSysVarString(L"CLAYER", value), 1);
  EXPECT_EQ(value, L"Walls");
}

TEST_F(SysVars, ReadOnlyStringIsRefused) {
  CString before;
  ASSERT_EQ(GetSysVarString(L"_VERNUM", before), 1);
  EXPECT_EQ(SetSysVarString(L"_VERNUM", L"Z.0"), 0);
  CString after;
  EXPECT_EQ(GetSysVarString(L"_VERNUM", after), 1);
  EXPECT_EQ(after, before);
}

TEST_F(SysVars, MessageIsFormattedBeforeItIsShown) {
  TranscriptCapture transcript;
  ShowFormattedMessage(L"Plovex", MB_ICONEXCLAMATION, L"%d objects on %s", 3, L"Walls");
  EXPECT_EQ(transcript.Text(), L"[Plovex] 3 objects on Walls\n");
}

TEST_F(SysVars, EraseTwiceRestores) {
  const AcDbObjectId id = AddLine();
  EXPECT_EQ(EraseEntity(id), 1);
  EXPECT_TRUE(id.isErased());
  EXPECT_EQ(EraseEntity(id), 1);
  EXPECT_FALSE(id.isErased());
}

TEST_F(SysVars, EraseWithoutSelectionNameFails) { EXPECT_EQ(EraseEntity(AcDbObjectId::kNull), 0); }

TEST_F(SysVars, EraseOfAnOpenEntityIsRefused) {
  const AcDbObjectId id = AddLine();
  AcDbEntity* entity = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(EraseEntity(id), 0);
  entity->close();
  EXPECT_FALSE(id.isErased());
}

TEST_F(SysVars, EraseEntitiesPassesOverFailures) {
  AcDbObjectIdArray ids;
  EXPECT_EQ(EraseEntities(ids), 1);
  const AcDbObjectId a = AddLine(0);
  const AcDbObjectId b = AddLine(1);
  ids.append(a);
  ids.append(AcDbObjectId::kNull);
  ids.append(b);
  EXPECT_EQ(EraseEntities(ids), 1);
  EXPECT_TRUE(a.isErased());
  EXPECT_TRUE(b.isErased());
}

TEST_F(SysVars, HighlightMarksTheEntity) {
  const AcDbObjectId id = AddLine();
  EXPECT_FALSE(plx::host::IsHighlighted(id));
  HighlightEntity(id);
  EXPECT_TRUE(plx::host::IsHighlighted(id));
  EXPECT_EQ(plx::host::HighlightCount(id), 1);
  HighlightEntity(AcDbObjectId::kNull);  // passed over
  // The entity was closed again: it opens for write.
  AcDbEntity* entity = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForWrite), Acad::eOk);
  entity->close();
}

}  // namespace
