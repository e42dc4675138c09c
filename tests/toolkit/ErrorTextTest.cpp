// The words of host error statuses and the modules' last-error texts.
#include <gtest/gtest.h>

#include "Toolkit.h"
#include "toolkit/ErrorStatusText.h"

struct StatusCase {
  int code;
  const wchar_t* words;
  friend void PrintTo(const StatusCase& c, std::ostream* os) { *os << c.code; }
};

class ErrorStatusWords : public ::testing::TestWithParam<StatusCase> {};

TEST_P(ErrorStatusWords, MatchTheTable) {
  EXPECT_EQ(ErrorStatusText(static_cast<Acad::ErrorStatus>(GetParam().code)), GetParam().words)
      << GetParam().code;
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ErrorStatusWords,
    ::testing::Values(StatusCase{0, L"Success"}, StatusCase{1, L"Not Yet Implemented"},
                      StatusCase{432, L"Make Me Proxy And Resurrect"}, StatusCase{65, L"Dwg CRC Does Not Match"},
                      StatusCase{395, L"Must Be 0 To 2"}, StatusCase{364, L"Cant Open File"},
                      StatusCase{388, L"Undefine Shape Name"}, StatusCase{80, L"Was Erased"},
                      StatusCase{92, L"Is XRef Object"}, StatusCase{375, L"Invalid Dxf 2d Point"},
                      // gaps inside the range, and codes outside it
                      StatusCase{19, L""}, StatusCase{78, L""}, StatusCase{121, L""}, StatusCase{313, L""},
                      StatusCase{433, L""}, StatusCase{100000, L""}, StatusCase{-1, L""}));

TEST(ErrorStatusWords, EnumeratorsKeepTheHostValues) {
  EXPECT_EQ(ErrorStatusText(Acad::eWasErased), L"Was Erased");
  EXPECT_EQ(ErrorStatusText(Acad::eOk), L"Success");
  EXPECT_EQ(static_cast<int>(Acad::eMustBe0to2), 395);
}

TEST(LastError, EmptyBeforeAnyFailure) {
  EXPECT_TRUE(GetMeshError().IsEmpty());
  EXPECT_TRUE(GetGeometryError().IsEmpty());
  EXPECT_TRUE(GetHostError().IsEmpty());
}

TEST(LastError, EachModuleKeepsItsOwnTextUntilReplaced) {
  SetMeshError(L"first");
  const CString copy = GetMeshError();
  SetMeshError(L"second");
  EXPECT_EQ(copy, L"first");
  EXPECT_EQ(GetMeshError(), L"second");
  EXPECT_EQ(GetMeshError(), L"second");  // reading does not clear
  SetHostError(L"No entities selected");
  SetGeometryError(GetHostError());
  EXPECT_EQ(GetGeometryError(), L"No entities selected");
  EXPECT_EQ(GetMeshError(), L"second");
}
