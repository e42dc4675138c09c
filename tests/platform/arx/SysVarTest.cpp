// System variables: types, ranges, read-only values, and the SETVAR dialogue.
#include <gtest/gtest.h>

#include <cmath>

#include "TestSupport.h"
#include "arx.h"

using plx::test::HostSession;
using plx::test::ScriptedInput;
using plx::test::TranscriptCapture;

namespace {
double FacetRes() {
  resbuf rb{};
  EXPECT_EQ(acedGetVar(L"FACETRES", &rb), RTNORM);
  EXPECT_EQ(rb.restype, RTREAL);
  return rb.resval.rreal;
}
int SetReal(const wchar_t* name, double value) {
  resbuf rb{};
  rb.restype = RTREAL;
  rb.resval.rreal = value;
  return acedSetVar(name, &rb);
}
}  // namespace

TEST(SysVars, FacetResIsARealFrom001To10) {
  HostSession session;
  EXPECT_DOUBLE_EQ(FacetRes(), 0.5);
  EXPECT_EQ(SetReal(L"facetres", 10.0), RTNORM);
  EXPECT_EQ(SetReal(L"FACETRES", 0.01), RTNORM);
  EXPECT_EQ(SetReal(L"FACETRES", 10.01), RTERROR);
  EXPECT_EQ(SetReal(L"FACETRES", 0.0), RTERROR);
  EXPECT_EQ(SetReal(L"FACETRES", std::nan("")), RTERROR);
  EXPECT_DOUBLE_EQ(FacetRes(), 0.01);
  resbuf text{};
  text.restype = RTSTR;
  text.resval.rstring = const_cast<ACHAR*>(L"1");
  EXPECT_EQ(acedSetVar(L"FACETRES", &text), RTERROR);
}

TEST(SysVars, VernumIsAReadOnlyStringOfTheRelease) {
  HostSession session({L"E"});
  resbuf* rb = acutNewRb(RTSTR);
  ASSERT_EQ(acedGetVar(L"_VERNUM", rb), RTNORM);
  EXPECT_EQ(rb->resval.rstring[0], L'E');
  acutRelRb(rb);
  resbuf value{};
  value.restype = RTSTR;
  value.resval.rstring = const_cast<ACHAR*>(L"F.1");
  EXPECT_EQ(acedSetVar(L"_VERNUM", &value), RTERROR);
  resbuf unknown{};
  EXPECT_EQ(acedGetVar(L"NOSUCHVAR", &unknown), RTERROR);
}

TEST(SysVars, EmptyReleaseGivesAnEmptyVernum) {
  HostSession session({L""});
  resbuf* rb = acutNewRb(RTSTR);
  ASSERT_EQ(acedGetVar(L"_VERNUM", rb), RTNORM);
  EXPECT_STREQ(rb->resval.rstring, L"");
  acutRelRb(rb);
}

TEST(SysVars, SetvarAsksAgainUntilTheValueFits) {
  HostSession session;
  TranscriptCapture transcript;
  ScriptedInput script({L"FACETRES", L"20", L"abc", L"2"});
  plx::host::RunCommand(L"SETVAR");
  EXPECT_DOUBLE_EQ(FacetRes(), 2.0);
  EXPECT_NE(transcript.Text().find(L"Requires a value between 0.0100 and 10.0000."), std::wstring::npos);
}

TEST(SysVars, ShortVariablesTakeIntegersOnly) {
  HostSession session;
  resbuf rb{};
  rb.restype = RTSHORT;
  rb.resval.rint = 1;
  EXPECT_EQ(acedSetVar(L"CMDECHO", &rb), RTNORM);
  rb.resval.rint = 2;
  EXPECT_EQ(acedSetVar(L"CMDECHO", &rb), RTERROR);
  EXPECT_EQ(SetReal(L"CMDECHO", 0.5), RTERROR);
}
