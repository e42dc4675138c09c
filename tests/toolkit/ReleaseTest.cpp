// The host release from _VERNUM and the release check.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "win32/text.h"
#include "Toolkit.h"

using plx::test::HostSession;
using plx::test::TranscriptCapture;

struct ReleaseCase {
  const wchar_t* vernum;
  int release;
  friend void PrintTo(const ReleaseCase& c, std::ostream* os) { *os << plx::Utf8FromWide(c.vernum); }
};

class AcadRelease : public ::testing::TestWithParam<ReleaseCase> {};

TEST_P(AcadRelease, ComesFromTheFirstLetter) {
  HostSession session;
  plx::host::ForceSysVarString(L"_VERNUM", GetParam().vernum);
  EXPECT_EQ(GetAcadRelease(), GetParam().release) << GetParam().vernum;
}

INSTANTIATE_TEST_SUITE_P(
    Letters, AcadRelease,
    ::testing::Values(ReleaseCase{L"T.0", 1}, ReleaseCase{L"U.0", 2}, ReleaseCase{L"K.0", 3},
                      ReleaseCase{L"V.0", 4}, ReleaseCase{L"N.0", 5}, ReleaseCase{L"Z.0", 6},
                      ReleaseCase{L"A.0", 7}, ReleaseCase{L"B.0", 8}, ReleaseCase{L"C.0", 9},
                      ReleaseCase{L"D.215.0.0 (UNICODE)", 10}, ReleaseCase{L"E.206.0.0 (UNICODE)", 11},
                      ReleaseCase{L"F.107.0.0 (UNICODE)", 12}, ReleaseCase{L"e.206", 0},
                      ReleaseCase{L"f", 0}, ReleaseCase{L"1.0", 0}, ReleaseCase{L"G.0", 0},
                      ReleaseCase{L"R.46", 0}, ReleaseCase{L"", 0},
                      // only the low byte of the character counts
                      ReleaseCase{L"\x0145", 11}, ReleaseCase{L"\x0246rest", 12}));

TEST(AcadRelease, UnreadableVersionIsUnknown) {
  HostSession session;
  plx::host::RemoveSysVar(L"_VERNUM");
  EXPECT_EQ(GetAcadRelease(), 0);
}

TEST(AcadRelease, NamesRunFromUnknownTo2012) {
  EXPECT_STREQ(kReleaseNameTexts[0], L"AutoCAD ????");
  EXPECT_STREQ(kReleaseNameTexts[2], L"AutoCAD 2000i");
  EXPECT_STREQ(kReleaseNameTexts[11], L"AutoCAD 2011");
  EXPECT_STREQ(kReleaseNameTexts[12], L"AutoCAD 2012");
}

TEST(CheckAcadRelease, MatchingReleaseShowsNothing) {
  HostSession session({L"E"});
  TranscriptCapture transcript;
  EXPECT_EQ(CheckAcadRelease(11), 1);
  EXPECT_TRUE(transcript.Text().empty());
}

TEST(CheckAcadRelease, OtherReleaseNamesTheWantedOne) {
  HostSession session({L"E"});
  TranscriptCapture transcript;
  EXPECT_EQ(CheckAcadRelease(12), 0);
  EXPECT_EQ(transcript.Text(),
            L"[Incompatible AutoCAD Version] This plug-in is designed to work with AutoCAD 2012 based "
            L"products only\n");
}

// No release has these indices: the message names the unknown release rather than reading
// past the table.
TEST(CheckAcadRelease, IndexOutsideTheTableNamesTheUnknownRelease) {
  HostSession session({L"E"});
  for (const int wanted : {13, -1, 1000}) {
    TranscriptCapture transcript;
    EXPECT_EQ(CheckAcadRelease(wanted), 0) << wanted;
    EXPECT_EQ(transcript.Text(),
              L"[Incompatible AutoCAD Version] This plug-in is designed to work with AutoCAD ???? "
              L"based products only\n")
        << wanted;
  }
}
