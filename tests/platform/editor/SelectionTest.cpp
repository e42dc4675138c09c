// acedSSGet from scripted answers: ALL, Last, handles, windows, implied windows, Remove, Undo,
// the prompt pair, filters, cancel and the host's messages.
#include <gtest/gtest.h>

#include "DrawingBuilders.h"
#include "TestSupport.h"
#include "arx.h"
#include "arxhost/Drawing.h"

using plx::test::AddToModelSpace;
using plx::test::HandleText;
using plx::test::HostSession;
using plx::test::ScriptedInput;
using plx::test::SetIds;
using plx::test::TranscriptCapture;

namespace {

// Two faces on layer "Walls" in 0..1 and 2..3, a line in 10..12, a point at (20, 20).
class Selection : public ::testing::Test {
 protected:
  void SetUp() override {
    plx::test::AddLayer(L"Walls", 1);
    face1_ = AddToModelSpace(new AcDbFace(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0), AcGePoint3d(1, 1, 0)), L"Walls");
    face2_ = AddToModelSpace(new AcDbFace(AcGePoint3d(2, 2, 0), AcGePoint3d(3, 2, 0), AcGePoint3d(3, 3, 0)), L"Walls");
    line_ = AddToModelSpace(new AcDbLine(AcGePoint3d(10, 10, 0), AcGePoint3d(12, 11, 0)));
    point_ = AddToModelSpace(new AcDbPoint(AcGePoint3d(20, 20, 0)));
  }

  // Runs acedSSGet on the answers; the ids selected (the set freed), and the status.
  std::vector<AcDbObjectId> Select(const std::vector<std::wstring>& answers, int expected = RTNORM,
                                   const wchar_t* mode = nullptr, const void* pt1 = nullptr,
                                   const resbuf* filter = nullptr) {
    ScriptedInput script(answers);
    ads_name set;
    const int status = acedSSGet(mode, pt1, nullptr, filter, set);
    EXPECT_EQ(status, expected);
    if (status != RTNORM) return {};
    std::vector<AcDbObjectId> ids = SetIds(set);
    EXPECT_EQ(acedSSFree(set), RTNORM);
    return ids;
  }

  HostSession session_;
  AcDbObjectId face1_, face2_, line_, point_;
};

}  // namespace

TEST_F(Selection, AllTakesEveryEntityInDrawingOrder) {
  TranscriptCapture transcript;
  EXPECT_EQ(Select({L"all", L""}), (std::vector<AcDbObjectId>{face1_, face2_, line_, point_}));
  EXPECT_EQ(transcript.Text(), L"Select objects: all\n4 found\nSelect objects: \n");
  EXPECT_EQ(plx::host::OpenSelectionSets(), 0u);
}

TEST_F(Selection, LastHandlesAndDuplicates) {
  TranscriptCapture transcript;
  EXPECT_EQ(Select({L"L", HandleText(face1_), L"#" + HandleText(face1_), L""}),
            (std::vector<AcDbObjectId>{point_, face1_}));
  EXPECT_NE(transcript.Text().find(L"Select objects: L\n1 found\n"), std::wstring::npos);
  EXPECT_NE(transcript.Text().find(L"1 found, 2 total\n"), std::wstring::npos);
  EXPECT_NE(transcript.Text().find(L"1 found (1 duplicate), 2 total\n"), std::wstring::npos);
}

TEST_F(Selection, UnknownHandlesAndWordsAreRefusedAndAskedAgain) {
  TranscriptCapture transcript;
  EXPECT_EQ(Select({L"FFFF", L"nonsense", L"1", HandleText(line_), L""}), (std::vector<AcDbObjectId>{line_}));
  EXPECT_NE(transcript.Text().find(L"No entity has the handle \"FFFF\"."), std::wstring::npos);
  EXPECT_NE(transcript.Text().find(L"No entity has the handle \"1\"."), std::wstring::npos) << "a table is no entity";
  EXPECT_NE(transcript.Text().find(L"*Invalid selection*\nExpects a point or\nWindow/Last/Crossing"), std::wstring::npos);
}

struct BoxCase {
  std::vector<std::wstring> answers;
  int expectedCount;
};

class Boxes : public Selection, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(Boxes, WindowHoldsWhatLiesInsideCrossingWhatMeetsIt) {
  std::vector<std::wstring> answers = GetParam().answers;
  answers.push_back(L"");
  const int count = GetParam().expectedCount;
  EXPECT_EQ(static_cast<int>(Select(answers, count ? RTNORM : RTERROR).size()), count);
}

INSTANTIATE_TEST_SUITE_P(Modes, Boxes,
                         ::testing::Values(BoxCase{{L"W", L"-1,-1", L"2.5,2.5"}, 1},
                                           BoxCase{{L"C", L"-1,-1", L"2.5,2.5"}, 2},
                                           BoxCase{{L"Window", L"-1,-1", L"30,30"}, 4},
                                           BoxCase{{L"box", L"2.5,2.5", L"-1,-1"}, 2},  // right to left: crossing
                                           BoxCase{{L"-1,-1", L"2.5,2.5"}, 1},           // implied window
                                           BoxCase{{L"4,2.5", L"-1,-1"}, 2},             // implied crossing
                                           BoxCase{{L"W", L"40,40", L"50,50"}, 0}));

TEST_F(Selection, PickAtAPointTakesTheEntityThere) {
  EXPECT_EQ(Select({L"11,10.5", L""}), (std::vector<AcDbObjectId>{line_}));
}

TEST_F(Selection, RemoveAddAndUndo) {
  TranscriptCapture transcript;
  EXPECT_EQ(Select({L"ALL", L"R", HandleText(line_), L"A", L"u", L""}),
            (std::vector<AcDbObjectId>{face1_, face2_, point_, line_}));
  EXPECT_EQ(Select({L"ALL", L"U", L"L", L""}), (std::vector<AcDbObjectId>{point_}));
  EXPECT_NE(transcript.Text().find(L"Remove objects: " + HandleText(line_) + L"\n1 found, 1 removed, 3 total\n"),
            std::wstring::npos);
}

TEST_F(Selection, PromptPairOfTheCaller) {
  TranscriptCapture transcript;
  const ACHAR* prompts[2] = {L"Select faces to export: ", L"Remove objects"};
  EXPECT_EQ(Select({L"L", L"R", L"L", L"A", HandleText(face2_), L""}, RTNORM, L":$", prompts),
            (std::vector<AcDbObjectId>{face2_}));
  EXPECT_NE(transcript.Text().find(L"Select faces to export: L\n"), std::wstring::npos);
  EXPECT_NE(transcript.Text().find(L"Remove objectsL\n"), std::wstring::npos);
  EXPECT_EQ(transcript.Text().find(L"Select objects"), std::wstring::npos);
}

TEST_F(Selection, CancelOrNothingMakesNoSet) {
  TranscriptCapture transcript;
  Select({L"ALL", L"^C"}, RTCAN);
  Select({L""}, RTERROR);
  Select({L"W", L"40,40", L"50,50", L""}, RTERROR);
  Select({L"W", L"^C"}, RTCAN);
  Select({}, RTCAN);  // the script ended
  EXPECT_EQ(plx::host::OpenSelectionSets(), 0u);
}

TEST_F(Selection, AllModeAsksNothingAndSkipsErasedAndFrozen) {
  TranscriptCapture transcript;
  ads_name name;
  acdbGetAdsName(name, line_);
  acdbEntDel(name);
  EXPECT_EQ(Select({}, RTNORM, L"A"), (std::vector<AcDbObjectId>{face1_, face2_, point_}));
  EXPECT_EQ(transcript.Text(), L"");
  AcDbLayerTableRecord* walls = nullptr;
  ASSERT_EQ(acdbOpenObject(walls, plx::test::AddLayer(L"Walls"), AcDb::kForWrite), Acad::eOk);
  walls->setIsFrozen(true);
  walls->close();
  EXPECT_EQ(Select({}, RTNORM, L"_A"), (std::vector<AcDbObjectId>{point_}));
  EXPECT_EQ(Select({L"#" + HandleText(face1_), L""}, RTERROR), std::vector<AcDbObjectId>{});
}

TEST_F(Selection, AllModeOnAnEmptyDrawingFails) {
  plx::host::ResetDrawing();
  Select({}, RTERROR, L"A");
}

TEST_F(Selection, PreviousIsTheLastCompletedSet) {
  Select({HandleText(face2_), HandleText(point_), L""});
  EXPECT_EQ(Select({L"P", L""}), (std::vector<AcDbObjectId>{face2_, point_}));
  EXPECT_EQ(Select({}, RTNORM, L"P"), (std::vector<AcDbObjectId>{face2_, point_}));
}

TEST_F(Selection, SingleEndsAfterTheFirstFind) {
  EXPECT_EQ(Select({L"W", L"40,40", L"50,50", L"L"}, RTNORM, L":S"), (std::vector<AcDbObjectId>{point_}));
}

struct FilterCase {
  short code;
  const wchar_t* value;
  size_t expected;
};

class Filters : public Selection, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(Filters, KeepOnlyWhatMatches) {
  resbuf filter{};
  filter.restype = GetParam().code;
  std::wstring value = GetParam().value;
  filter.resval.rstring = value.data();
  EXPECT_EQ(Select({}, GetParam().expected ? RTNORM : RTERROR, L"X", nullptr, &filter).size(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Codes, Filters,
                         ::testing::Values(FilterCase{0, L"3DFACE", 2}, FilterCase{RTDXF0, L"3dface", 2},
                                           FilterCase{0, L"LINE,POINT", 2}, FilterCase{0, L"*FACE", 2},
                                           FilterCase{0, L"~3DFACE", 2}, FilterCase{0, L"CIRCLE", 0},
                                           FilterCase{8, L"walls", 2}, FilterCase{8, L"0", 2}));

TEST_F(Selection, FilteredOutObjectsAreCountedInTheDialogue) {
  TranscriptCapture transcript;
  resbuf filter{};
  filter.restype = 0;
  std::wstring type = L"POINT";
  filter.resval.rstring = type.data();
  EXPECT_EQ(Select({L"ALL", L""}, RTNORM, nullptr, nullptr, &filter), (std::vector<AcDbObjectId>{point_}));
  EXPECT_NE(transcript.Text().find(L"4 found\n3 were filtered out.\n"), std::wstring::npos);
  resbuf bad{};
  bad.restype = 1001;
  Select({}, RTERROR, L"X", nullptr, &bad);
}

TEST_F(Selection, SetFunctions) {
  ads_name set, name;
  ScriptedInput script({L"ALL", L""});
  ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, set), RTNORM);
  Adesk::Int32 length = 0;
  EXPECT_EQ(acedSSLength(set, &length), RTNORM);
  EXPECT_EQ(length, 4);
  EXPECT_EQ(acedSSName(set, 4, name), RTERROR);
  EXPECT_EQ(acedSSName(set, -1, name), RTERROR);
  ASSERT_EQ(acedSSName(set, 2, name), RTNORM);
  EXPECT_EQ(acedSSMemb(name, set), RTNORM);
  EXPECT_EQ(acedSSDel(name, set), RTNORM);
  EXPECT_EQ(acedSSMemb(name, set), RTERROR);
  ads_name same;
  EXPECT_EQ(acedSSAdd(name, set, same), RTNORM);
  EXPECT_EQ(SetIds(set).back(), line_);
  EXPECT_EQ(acedSSFree(set), RTNORM);
  EXPECT_EQ(acedSSFree(set), RTERROR);
  EXPECT_EQ(acedSSLength(set, &length), RTERROR);
  ads_name fresh;
  ASSERT_EQ(acedSSAdd(nullptr, nullptr, fresh), RTNORM);
  EXPECT_EQ(acedSSLength(fresh, &length), RTNORM);
  EXPECT_EQ(length, 0);
  acedSSFree(fresh);
}
