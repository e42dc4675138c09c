// acedEntSel from scripted answers: a handle, a point, empty space, keywords and cancel.
#include <gtest/gtest.h>

#include "DrawingBuilders.h"
#include "TestSupport.h"
#include "arx.h"

using plx::test::HostSession;
using plx::test::ScriptedInput;
using plx::test::TranscriptCapture;

namespace {

struct Pick {
  int status;
  AcDbObjectId id;
  AcGePoint3d point;
};

Pick EntSel(const std::vector<std::wstring>& answers, const ACHAR* prompt = nullptr) {
  ScriptedInput script(answers);
  Pick pick{};
  ads_name name;
  ads_point point;
  pick.status = acedEntSel(prompt, name, point);
  if (pick.status == RTNORM) {
    EXPECT_EQ(acdbGetObjectId(pick.id, name), Acad::eOk);
    pick.point.set(point[0], point[1], point[2]);
  }
  return pick;
}

}  // namespace

TEST(EntSel, HandleOrPointPicksTheEntity) {
  HostSession session;
  TranscriptCapture transcript;
  const AcDbObjectId line = plx::test::AddToModelSpace(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(4, 2, 0)));
  Pick pick = EntSel({plx::test::HandleText(line)});
  EXPECT_EQ(pick.status, RTNORM);
  EXPECT_EQ(pick.id, line);
  EXPECT_EQ(pick.point, AcGePoint3d(2, 1, 0));  // a point on it
  pick = EntSel({L"1,0.5"}, L"Pick a line: ");
  EXPECT_EQ(pick.status, RTNORM);
  EXPECT_EQ(pick.id, line);
  EXPECT_EQ(pick.point, AcGePoint3d(1, 0.5, 0));
  EXPECT_NE(transcript.Text().find(L"Select object: "), std::wstring::npos);
  EXPECT_NE(transcript.Text().find(L"Pick a line: 1,0.5"), std::wstring::npos);
}

TEST(EntSel, NothingThereIsAnErrorAndCancelEnds) {
  HostSession session;
  TranscriptCapture transcript;
  const AcDbObjectId line = plx::test::AddToModelSpace(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(4, 2, 0)));
  EXPECT_EQ(EntSel({L"50,50"}).status, RTERROR);
  EXPECT_EQ(EntSel({L""}).status, RTERROR);
  EXPECT_EQ(EntSel({L"ABCDEF"}).status, RTERROR);
  EXPECT_NE(transcript.Text().find(L"No entity has the handle \"ABCDEF\"."), std::wstring::npos);
  EXPECT_EQ(EntSel({L"what?"}).status, RTERROR);
  EXPECT_EQ(EntSel({L"^C"}).status, RTCAN);
  EXPECT_EQ(EntSel({}).status, RTCAN);
  ads_name name;
  acdbGetAdsName(name, line);
  acdbEntDel(name);
  EXPECT_EQ(EntSel({plx::test::HandleText(line)}).status, RTERROR) << "an erased entity cannot be picked";
}

TEST(EntSel, KeywordsOfInitGet) {
  HostSession session;
  acedInitGet(0, L"Last Undo");
  EXPECT_EQ(EntSel({L"u"}).status, RTKWORD);
  ACHAR keyword[32];
  acedGetInput(keyword, 32);
  EXPECT_STREQ(keyword, L"Undo");
}
