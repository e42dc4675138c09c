// `_dxfin` when memory runs out part-way: the command fails as other DXFIN failures do, says
// so, and the drawing is as it was. This executable replaces the global operator new so that a
// chosen allocation fails, wherever it falls (reading, tables, blocks, entities); it is kept
// apart from the other suites so that the failing allocator cannot reach them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "DrawingSnapshot.h"
#include "TestSupport.h"
#include "aced.h"
#include "dbsymtb.h"
#include "win32/text.h"
#include "win32/transcript.h"

namespace {

// Allocations until the one that fails (0: none fails). Only the one chosen fails, so that the
// roll-back after it can allocate again, as it would once the file's model is freed. The
// test's own transcript sink does not count (paused).
thread_local long allocationsToFailure = 0;
thread_local bool paused = false;

}  // namespace

void* operator new(std::size_t size) {
  if (!paused && allocationsToFailure > 0 && --allocationsToFailure == 0) throw std::bad_alloc();
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace {

namespace fs = std::filesystem;
using plx::test::HostSession;
using plx::test::TempDir;


std::string Section(const std::string& name, const std::string& body) {
  return "0\nSECTION\n2\n" + name + "\n" + body + "0\nENDSEC\n";
}

// Layers, linetypes, blocks and every kind of entity the import makes, enough of them to come
// in several batches.
std::string Drawing() {
  std::string tables =
      "0\nTABLE\n2\nLTYPE\n0\nLTYPE\n2\nDASHED\n3\n__ __\n72\n65\n73\n0\n40\n0\n0\nENDTAB\n"
      "0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nWalls\n70\n0\n62\n3\n6\nDASHED\n0\nENDTAB\n";
  std::string blocks =
      "0\nBLOCK\n2\nB\n70\n0\n10\n0\n20\n0\n30\n0\n0\nPOINT\n10\n1\n20\n2\n30\n3\n0\nENDBLK\n"
      "0\nBLOCK\n2\n*U1\n70\n1\n10\n0\n20\n0\n30\n0\n0\nLINE\n10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n"
      "31\n0\n0\nENDBLK\n";
  std::string entities;
  for (int i = 0; i < 3000; ++i)
    entities += "0\nLINE\n8\nWalls\n10\n" + std::to_string(i) + "\n20\n0\n30\n0\n11\n" +
                std::to_string(i) + "\n21\n1\n31\n0\n";
  entities +=
      "0\nINSERT\n2\nB\n10\n0\n20\n0\n30\n0\n70\n3\n71\n2\n44\n1\n45\n1\n"
      "0\nINSERT\n2\n*U1\n10\n0\n20\n0\n30\n0\n"
      "0\nLWPOLYLINE\n8\nNew\n90\n3\n70\n1\n10\n0\n20\n0\n10\n1\n20\n0\n10\n1\n20\n1\n"
      "0\nCIRCLE\n10\n0\n20\n0\n30\n0\n40\n2\n"
      "0\n3DFACE\n10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n0\n12\n1\n22\n1\n32\n0\n";
  return Section("TABLES", tables) + Section("BLOCKS", blocks) + Section("ENTITIES", entities) +
         "0\nEOF\n";
}

using Snapshot = plx::test::DrawingSnapshot;
constexpr auto Take = plx::test::TakeDrawingSnapshot;

// Runs _dxfin on the file; with failAt, the failAt-th allocation after the command's prompt
// fails. fired tells whether it did (the command needed that many).
int Dxfin(const fs::path& path, std::string& transcript, long failAt = 0, bool* fired = nullptr) {
  std::wstring text;
  const plx::TranscriptSink previous = plx::SetTranscriptSink([&](std::wstring_view part) {
    paused = true;
    text += part;
    paused = false;
    if (failAt > 0 && part.find(L"Enter name of file to import: ") != std::wstring_view::npos)
      allocationsToFailure = failAt;
  });
  const std::wstring wide = path.wstring();
  const int result = acedCommand(RTSTR, L"_dxfin", RTSTR, wide.c_str(), RTNONE);
  if (fired) *fired = failAt > 0 && allocationsToFailure == 0;
  allocationsToFailure = 0;
  plx::SetTranscriptSink(previous);
  transcript = plx::Utf8FromWide(text);
  return result;
}

// The failing allocation falls at points spread over the whole import (a few allocations in,
// then ever further), until the import needs fewer than that and succeeds.
TEST(DxfOutOfMemory, ImportFailsAndLeavesTheDrawingAsItWas) {
  HostSession session;
  TempDir dir;
  const fs::path path = dir / "drawing.dxf";
  plx::test::WriteFile(path, Drawing());
  // The user's own entities and a block *U1 of theirs, which the file's *U1 must not take.
  plx::test::WriteFile(dir / "mine.dxf",
                       Section("BLOCKS",
                               "0\nBLOCK\n2\n*U1\n70\n1\n10\n0\n20\n0\n30\n0\n0\nPOINT\n10\n0\n20\n"
                               "0\n30\n0\n0\nENDBLK\n") +
                           Section("ENTITIES", "0\nPOINT\n8\nMine\n10\n1\n20\n2\n30\n3\n") +
                           "0\nEOF\n");
  std::string text;
  ASSERT_EQ(Dxfin(dir / "mine.dxf", text), RTNORM) << text;
  const Snapshot before = Take();

  int failures = 0;
  for (long at = 1;; at = at < 64 ? at + 7 : at * 3 / 2) {
    bool fired = false;
    const int result = Dxfin(path, text, at, &fired);
    if (!fired || result == RTNORM) {
      // The import needed fewer allocations than at, or only its report ran short: the file
      // was imported whole.
      ASSERT_EQ(result, RTNORM) << text;
      EXPECT_TRUE(text.find("objects imported") != std::string::npos ||
                  text.find("DXFIN: not enough memory to report on the import; the file was "
                            "imported.\n") != std::string::npos)
          << text;
      break;
    }
    ++failures;
    ASSERT_EQ(result, RTERROR) << "failing allocation " << at << "\n" << text;
    EXPECT_TRUE(text.find("DXFIN: not enough memory to import " + path.string() +
                          "; the drawing is as it was.\n") != std::string::npos ||
                text.find("DXFIN: not enough memory to import the file; the drawing is as it "
                          "was.\n") != std::string::npos)
        << "failing allocation " << at << "\n"
        << text;
    EXPECT_EQ(text.find("Unhandled exception"), std::string::npos) << text;
    ASSERT_EQ(Take(), before) << "failing allocation " << at;
  }
  EXPECT_GT(failures, 10);
  // After all those failures the drawing takes the file as a first import would: 3012 entities
  // in model space and the two blocks.
  EXPECT_EQ(Take().entities, before.entities + 3000 + 6 + 1 + 3 + 2);
}

}  // namespace
