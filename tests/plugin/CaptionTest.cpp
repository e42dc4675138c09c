// The product caption and the help and About commands, in-process.
#include <gtest/gtest.h>

#include "Caption.h"
#include "PlovexApp.h"
#include "TestSupport.h"

using plx::test::HostSession;
using plx::test::TranscriptCapture;

TEST(Caption, IsRebuiltFromTheRunningReleaseAtEveryCall) {
  HostSession session({L"E"});
  BuildCaption();
  EXPECT_STREQ(ProductCaption, L"Plovex for AutoCAD 2011 version 1.0");
  plx::host::ForceSysVarString(L"_VERNUM", L"T.0.0.0");
  BuildCaption();
  EXPECT_STREQ(ProductCaption, L"Plovex for AutoCAD 2000 version 1.0");
  plx::host::RemoveSysVar(L"_VERNUM");
  BuildCaption();
  EXPECT_STREQ(ProductCaption, L"Plovex for AutoCAD ???? version 1.0");
}

TEST(Caption, AboutBoxGetsTheCaption) {
  HostSession session({L"F"});
  TranscriptCapture transcript;
  ShowPlovexAbout();
  EXPECT_EQ(transcript.Text().rfind(L"[Plovex for AutoCAD 2012 version 1.0]\n", 0), 0u) << transcript.Utf8();
}

TEST(Caption, HelpLooksBesideTheModuleNotInTheCurrentFolder) {
  HostSession session({L"D"});
  TranscriptCapture transcript;
  plx::test::TempDir elsewhere;
  plx::test::WriteFile(elsewhere / "Plovex.chm", "help");
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(elsewhere.Path());
  ShowPlovexHelp();  // the module file is this test program; no help file lies beside it
  std::filesystem::current_path(previous);
  EXPECT_EQ(transcript.Text(),
            L"[Plovex for AutoCAD 2010 version 1.0] Error displaying Plovex for AutoCAD help file.\n");
}
