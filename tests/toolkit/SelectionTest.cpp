// Selection sets and picks, answered on the command line as a user would.
#include <gtest/gtest.h>

#include <string>

#include "TestDrawing.h"
#include "TestSupport.h"
#include "arxhost/Drawing.h"
#include "toolkit/LastError.h"
#include "toolkit/Selection.h"
#include "win32/text.h"

using namespace plx::test;

namespace {

// An entity as typed at a prompt: its handle, marked so that it never reads as a keyword.
std::wstring Typed(const AcDbObjectId& id) { return L"#" + HandleOf(id); }

AcDbObjectIdArray Ids(std::initializer_list<AcDbObjectId> ids) {
  AcDbObjectIdArray array;
  for (const AcDbObjectId& id : ids) array.append(id);
  return array;
}

CStringArray Names(std::initializer_list<const wchar_t*> names) {
  CStringArray array;
  for (const wchar_t* name : names) array.Add(name);
  return array;
}

class Selection : public ::testing::Test {
 protected:
  void SetUp() override { SetHostError(L""); }
  void TearDown() override { EXPECT_EQ(plx::host::OpenSelectionSets(), 0u); }
  HostSession session_;
};

TEST_F(Selection, OwnPromptSelectsAndHighlights) {
  const AcDbObjectId a = AddLine(0), b = AddLine(2), c = AddLine(4);
  ScriptedInput input({Typed(b), Typed(a), L""});
  TranscriptCapture transcript;
  AcDbObjectIdArray ids;
  EXPECT_EQ(SelectObjects(L"Select lines to export: ", 1, ids), 1);
  EXPECT_EQ(ids, Ids({b, a}));
  EXPECT_TRUE(plx::host::IsHighlighted(a));
  EXPECT_TRUE(plx::host::IsHighlighted(b));
  EXPECT_FALSE(plx::host::IsHighlighted(c));
  EXPECT_EQ(transcript.Text(), L"Select lines to export: " + Typed(b) +
                                   L"\n1 found\nSelect lines to export: " + Typed(a) +
                                   L"\n1 found, 2 total\nSelect lines to export: \n");
  EXPECT_EQ(GetHostError(), L"");
}

TEST_F(Selection, EmptyPromptAsksWithTheHostsOwn) {
  const AcDbObjectId a = AddLine();
  ScriptedInput input({Typed(a), L""});
  TranscriptCapture transcript;
  AcDbObjectIdArray ids;
  EXPECT_EQ(SelectObjects(L"", 1, ids), 1);
  EXPECT_EQ(transcript.Text().rfind(L"Select objects: " + Typed(a) + L"\n", 0), 0u);
}

TEST_F(Selection, RemovingShowsTheRemovePrompt) {
  const AcDbObjectId a = AddLine(0), b = AddLine(2);
  ScriptedInput input({L"ALL", L"R", Typed(a), L""});
  TranscriptCapture transcript;
  AcDbObjectIdArray ids;
  EXPECT_EQ(SelectObjects(L"Choose: ", 0, ids), 1);
  EXPECT_EQ(ids, Ids({b}));
  EXPECT_NE(transcript.Text().find(L"\nRemove objects" + Typed(a) + L"\n"), std::wstring::npos)
      << plx::Utf8FromWide(transcript.Text());
}

TEST_F(Selection, PromptOf254CharactersIsShownWhole) {
  const AcDbObjectId a = AddLine();
  const std::wstring prompt(kMaxSelectionPrompt, L'p');
  ScriptedInput input({Typed(a), L""});
  TranscriptCapture transcript;
  AcDbObjectIdArray ids;
  EXPECT_EQ(SelectObjects(prompt.c_str(), 0, ids), 1);
  EXPECT_EQ(transcript.Text().rfind(prompt + Typed(a) + L"\n", 0), 0u);
}

TEST_F(Selection, LongerPromptIsCutTo254Characters) {
  const AcDbObjectId a = AddLine();
  const std::wstring prompt = std::wstring(kMaxSelectionPrompt, L'p') + L"TAIL: ";
  ScriptedInput input({Typed(a), L""});
  TranscriptCapture transcript;
  AcDbObjectIdArray ids;
  EXPECT_EQ(SelectObjects(prompt.c_str(), 0, ids), 1);
  EXPECT_EQ(transcript.Text().rfind(std::wstring(kMaxSelectionPrompt, L'p') + Typed(a) + L"\n", 0),
            0u);
}

TEST_F(Selection, NewIdsFollowTheOldOnes) {
  const AcDbObjectId a = AddLine(0), b = AddLine(2);
  ScriptedInput input({Typed(b), L""});
  AcDbObjectIdArray ids = Ids({a});
  EXPECT_EQ(SelectObjects(L"Select: ", 0, ids), 1);
  EXPECT_EQ(ids, Ids({a, b}));
}

TEST_F(Selection, HighlightFlagIsAnyNonZero) {
  const AcDbObjectId a = AddLine(0), b = AddLine(2);
  {
    ScriptedInput input({Typed(a), L""});
    AcDbObjectIdArray ids;
    EXPECT_EQ(SelectObjects(L"Select: ", 0, ids), 1);
    EXPECT_FALSE(plx::host::IsHighlighted(a));
  }
  {
    ScriptedInput input({Typed(b), L""});
    AcDbObjectIdArray ids;
    EXPECT_EQ(SelectObjects(L"Select: ", 2, ids), 1);
    EXPECT_TRUE(plx::host::IsHighlighted(b));
  }
}

struct NothingCase {
  const char* name;
  std::vector<std::wstring> lines;
  friend void PrintTo(const NothingCase& c, std::ostream* os) { *os << c.name; }
};

class SelectNothing : public ::testing::TestWithParam<NothingCase> {
 protected:
  HostSession session_;
};

// Enter at once, Esc, or the end of the script: nothing selected, the array kept.
TEST_P(SelectNothing, LeavesTheArrayAndSaysSo) {
  const AcDbObjectId a = AddLine();
  AcDbObjectIdArray ids = Ids({a});
  {
    ScriptedInput input(GetParam().lines);
    EXPECT_EQ(SelectObjects(L"Select: ", 1, ids), 0);
  }
  EXPECT_EQ(GetHostError(), L"No entities selected");
  EXPECT_EQ(ids, Ids({a}));
  EXPECT_FALSE(plx::host::IsHighlighted(a));

  SetHostError(L"");
  CStringArray faces = Names({L"AcDbFace"});
  {
    ScriptedInput input(GetParam().lines);
    EXPECT_EQ(SelectObjectsOfClasses(L"Select: ", 1, faces, ids), 0);
  }
  EXPECT_EQ(GetHostError(), L"No entities selected");
  EXPECT_EQ(ids, Ids({a}));
  EXPECT_EQ(plx::host::OpenSelectionSets(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Answers, SelectNothing,
                         ::testing::Values(NothingCase{"Enter", {L""}}, NothingCase{"Esc", {L"^C"}},
                                           NothingCase{"EndOfScript", {}}),
                         [](const ::testing::TestParamInfo<NothingCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(Selection, ClassesKeepOnlyExactMatchesAndCountTheRest) {
  const AcDbObjectId f1 = AddFace(0), l1 = AddLine(2), f2 = AddFace(4), l2 = AddLine(6),
                     f3 = AddFace(8);
  ScriptedInput input({L"ALL", L""});
  TranscriptCapture transcript;
  AcDbObjectIdArray ids;
  EXPECT_EQ(SelectObjectsOfClasses(L"Select faces: ", 1, Names({L"AcDbFace"}), ids), 1);
  EXPECT_EQ(ids, Ids({f1, f2, f3}));
  EXPECT_TRUE(plx::host::IsHighlighted(f2));
  EXPECT_FALSE(plx::host::IsHighlighted(l1));
  EXPECT_FALSE(plx::host::IsHighlighted(l2));
  EXPECT_EQ(transcript.Text(),
            L"Select faces: ALL\n5 found\nSelect faces: \n2 object(s) were filtered out\n");
  EXPECT_EQ(GetHostError(), L"");
}

TEST_F(Selection, ClassesWithNothingLeftFail) {
  AddLine(0);
  AddLine(2);
  ScriptedInput input({L"ALL", L""});
  TranscriptCapture transcript;
  AcDbObjectIdArray ids;
  EXPECT_EQ(
      SelectObjectsOfClasses(L"Select faces: ", 1, Names({L"AcDbFace", L"AcDbPolyFaceMesh"}), ids),
      0);
  EXPECT_TRUE(ids.isEmpty());
  EXPECT_EQ(GetHostError(), L"No valid objects selected");
  EXPECT_NE(transcript.Text().find(L"\n2 object(s) were filtered out\n"), std::wstring::npos);
}

TEST_F(Selection, ClassesMatchNoBaseClass) {
  AddLine(0);
  AddFace(2);
  ScriptedInput input({L"ALL", L""});
  AcDbObjectIdArray ids;
  EXPECT_EQ(SelectObjectsOfClasses(L"Select: ", 0,
                                   Names({L"AcDbEntity", L"AcDbCurve", L"acdbline"}), ids),
            0);
  EXPECT_EQ(GetHostError(), L"No valid objects selected");
}

TEST_F(Selection, ClassesWithoutFilteringPrintNoCount) {
  const AcDbObjectId f = AddFace();
  ScriptedInput input({Typed(f), L""});
  TranscriptCapture transcript;
  AcDbObjectIdArray ids;
  EXPECT_EQ(SelectObjectsOfClasses(L"Select: ", 0, Names({L"AcDbFace"}), ids), 1);
  EXPECT_EQ(transcript.Text().find(L"filtered"), std::wstring::npos);
}

TEST_F(Selection, PointsTakeTheirPositions) {
  AddPoint(1, 2, 3);
  AddLine(0);
  AddPoint(-4, 5.5, 0);
  ScriptedInput input({L"ALL", L""});
  TranscriptCapture transcript;
  AcGePoint3dArray points;
  points.append(AcGePoint3d(9, 9, 9));
  EXPECT_EQ(SelectPoints(points), 1);
  ASSERT_EQ(points.length(), 3);
  EXPECT_EQ(points[0], AcGePoint3d(9, 9, 9));
  EXPECT_EQ(points[1], AcGePoint3d(1, 2, 3));
  EXPECT_EQ(points[2], AcGePoint3d(-4, 5.5, 0));
  EXPECT_EQ(transcript.Text().rfind(L"Select points: ALL\n", 0), 0u);
}

TEST_F(Selection, PointsWithoutAPointFail) {
  AddLine(0);
  ScriptedInput input({L"ALL", L""});
  AcGePoint3dArray points;
  EXPECT_EQ(SelectPoints(points), 0);
  EXPECT_EQ(GetHostError(), L"No entities selected");
  EXPECT_TRUE(points.isEmpty());
}

TEST_F(Selection, AllOfAnEmptyDrawing) {
  const AcDbObjectId stale = AcDbObjectId::FromParts(1, 99);
  AcDbObjectIdArray ids = Ids({stale});
  EXPECT_EQ(SelectAll(ids), 0);
  EXPECT_EQ(GetHostError(), L"Drawing empty");
  EXPECT_EQ(ids, Ids({stale}));
}

TEST_F(Selection, AllReplacesTheArray) {
  const AcDbObjectId a = AddLine(0), b = AddFace(2);
  AcDbObjectIdArray ids = Ids({AcDbObjectId::FromParts(1, 99)});
  TranscriptCapture transcript;
  EXPECT_EQ(SelectAll(ids), 1);
  EXPECT_EQ(ids, Ids({a, b}));
  EXPECT_FALSE(plx::host::IsHighlighted(a));
  EXPECT_TRUE(transcript.Text().empty());  // asks nothing
}

class Picking : public Selection {};

TEST_F(Picking, EmptySpaceIsAskedAgainThenCancelled) {
  AddLine(0);
  ScriptedInput input({L"", L"500,500", L"^C"});
  TranscriptCapture transcript;
  AcDbObjectId id;
  EXPECT_EQ(PickObject(L"", 1, id), 0);
  EXPECT_EQ(GetHostError(), L"Object selection cancelled");
  EXPECT_EQ(
      transcript.Text(),
      L"Select an object:\n\nObject not selected\nSelect an object:500,500\n\nObject not selected\n"
      L"Select an object:^C\n*Cancel*\n");
}

TEST_F(Picking, PickGivesTheEntityAndThePoint) {
  const AcDbObjectId line = AddEntity(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)));
  ScriptedInput input({L"4,0,0"});
  AcDbObjectId id;
  AcGePoint3d point;
  EXPECT_EQ(PickObject(L"Pick a line: ", 1, id, point), 1);
  EXPECT_EQ(id, line);
  EXPECT_EQ(point, AcGePoint3d(4, 0, 0));
  EXPECT_TRUE(plx::host::IsHighlighted(line));
}

TEST_F(Picking, HighlightOnlyForOne) {
  const AcDbObjectId line = AddLine();
  ScriptedInput input({Typed(line)});
  AcDbObjectId id;
  EXPECT_EQ(PickObject(L"Pick: ", 2, id), 1);
  EXPECT_EQ(id, line);
  EXPECT_FALSE(plx::host::IsHighlighted(line));
}

TEST_F(Picking, WrongClassIsFilteredOutAndAskedAgain) {
  const AcDbObjectId line = AddLine(0), face = AddFace(4);
  ScriptedInput input({Typed(line), Typed(face)});
  TranscriptCapture transcript;
  AcDbObjectId id;
  AcGePoint3d point;
  const CStringArray meshes = Names({L"AcDbFace", L"AcDbPolyFaceMesh", L"AcDbPolygonMesh"});
  EXPECT_EQ(PickObjectOfClasses(L"Pick a mesh: ", 1, meshes, id, point), 1);
  EXPECT_EQ(id, face);
  EXPECT_TRUE(plx::host::IsHighlighted(face));
  EXPECT_FALSE(plx::host::IsHighlighted(line));
  EXPECT_EQ(transcript.Text(), L"Pick a mesh: " + Typed(line) +
                                   L"\n\nObject was filtered out\nPick a mesh: " + Typed(face) +
                                   L"\n");
}

TEST_F(Picking, OneClassForms) {
  const AcDbObjectId line = AddLine(0), face = AddFace(4);
  {
    ScriptedInput input({Typed(face), Typed(line)});
    AcDbObjectId id;
    EXPECT_EQ(PickObjectOfClasses(L"Pick a line: ", 0, CString(L"AcDbLine"), id), 1);
    EXPECT_EQ(id, line);
  }
  {
    ScriptedInput input({Typed(face)});
    AcDbObjectId id;
    AcGePoint3d point;
    EXPECT_EQ(PickObjectOfClasses(L"Pick a face: ", 2, CString(L"AcDbFace"), id, point), 1);
    EXPECT_EQ(id, face);
    EXPECT_FALSE(plx::host::IsHighlighted(face));
  }
}

TEST_F(Picking, EmptyClassListEndsOnlyWithACancel) {
  const AcDbObjectId line = AddLine(0);
  ScriptedInput input({Typed(line), Typed(line)});
  TranscriptCapture transcript;
  AcDbObjectId id;
  EXPECT_EQ(PickObjectOfClasses(L"Pick: ", 1, CStringArray(), id), 0);
  EXPECT_EQ(GetHostError(), L"Object selection cancelled");
  EXPECT_FALSE(plx::host::IsHighlighted(line));
  const std::wstring& text = transcript.Text();
  size_t count = 0;
  for (size_t at = text.find(L"\nObject was filtered out\n"); at != std::wstring::npos;
       at = text.find(L"\nObject was filtered out\n", at + 1))
    ++count;
  EXPECT_EQ(count, 2u);
}

TEST_F(Picking, SuccessKeepsTheEarlierReason) {
  const AcDbObjectId line = AddLine();
  SetHostError(L"Drawing empty");
  ScriptedInput input({Typed(line)});
  AcDbObjectId id;
  EXPECT_EQ(PickObject(L"Pick: ", 0, id), 1);
  EXPECT_EQ(GetHostError(), L"Drawing empty");
}

}  // namespace
