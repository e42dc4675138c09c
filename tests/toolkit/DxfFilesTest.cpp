// DXF files into the drawing through the host's import command: one file, and a series that
// the import consumes, against real files on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TestDrawing.h"
#include "TestSupport.h"
#include "arxhost/DxfImport.h"
#include "toolkit/Exchange.h"

using namespace plx::test;
namespace fs = std::filesystem;

namespace {

// A drawing of n 3D faces.
std::string Faces(int n) {
  std::string entities;
  for (int i = 0; i < n; ++i) {
    const std::string x = std::to_string(i);
    entities += "0\n3DFACE\n8\nF\n10\n" + x + "\n20\n0\n30\n0\n11\n" + x +
                ".5\n21\n0\n31\n0\n12\n" + x + ".5\n22\n1\n32\n0\n13\n" + x + "\n23\n1\n33\n0\n";
  }
  return "0\nSECTION\n2\nENTITIES\n" + entities + "0\nENDSEC\n0\nEOF\n";
}

const std::string kDamaged = "0\nSECTION\n2\nENTITIES\n0\n3DFACE\n10\n";

int ModelSpaceCount() {
  AcDbBlockTableRecord* space = nullptr;
  EXPECT_EQ(acdbOpenObject(space, Working()->modelSpaceId(), AcDb::kForRead), Acad::eOk);
  AcDbBlockTableRecordIterator* it = nullptr;
  space->newIterator(it);
  int n = 0;
  for (; !it->done(); it->step()) ++n;
  delete it;
  space->close();
  return n;
}

CString Wide(const fs::path& path) { return CString(path.wstring().c_str()); }

class DxfFiles : public ::testing::Test {
 protected:
  HostSession session_;
  TempDir dir_;
};

TEST_F(DxfFiles, ImportDXFReadsARealFileAndZoomsWhenAsked) {
  TranscriptCapture transcript;
  EXPECT_EQ(ImportDXF(Wide(CorpusDir() / "ezdxf_Minimal_DXF_AC1006.dxf"), 0), 1);
  EXPECT_EQ(ModelSpaceCount(), 3);
  EXPECT_EQ(plx::host::ZoomCount(), 0);
  EXPECT_EQ(ImportDXF(Wide(CorpusDir() / "assimp_PinkEggFromLW.dxf"), 1), 1);
  EXPECT_EQ(ModelSpaceCount(), 3 + 288);
  EXPECT_EQ(plx::host::ZoomCount(), 1);
  EXPECT_EQ(plx::host::LastZoom(), L"Extents");
  EXPECT_NE(transcript.Utf8().find("Command: _zoom\n"), std::string::npos) << transcript.Utf8();
}

TEST_F(DxfFiles, ImportDXFOfADamagedFileGivesZeroWithoutZoom) {
  WriteFile(dir_ / "bad.dxf", kDamaged);
  TranscriptCapture transcript;
  EXPECT_EQ(ImportDXF(Wide(dir_ / "bad.dxf"), 1), 0);
  EXPECT_EQ(plx::host::ZoomCount(), 0);
  EXPECT_EQ(ModelSpaceCount(), 0);
  // The host names the line; the toolkit adds nothing of its own.
  EXPECT_NE(transcript.Utf8().find("DXFIN: line "), std::string::npos) << transcript.Utf8();
  EXPECT_EQ(transcript.Utf8().find("Unable"), std::string::npos) << transcript.Utf8();
  EXPECT_EQ(ImportDXF(Wide(dir_ / "missing.dxf"), 1), 0);
}

TEST_F(DxfFiles, SeriesImportsEachFileOfTheStemAndDeletesThemAll) {
  WriteFile(dir_ / "part.dxf", Faces(2));
  WriteFile(dir_ / "part1.dxf", kDamaged);
  WriteFile(dir_ / "part2.dxf", Faces(3));
  WriteFile(dir_ / "mypart.dxf", Faces(5));
  WriteFile(dir_ / "other2.dxf", Faces(7));
  TranscriptCapture transcript;
  int count = -1;
  EXPECT_EQ(ImportDXFSeries(Wide(dir_ / "part.txt"), count), 0);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(ModelSpaceCount(), 2 + 3);
  EXPECT_EQ(plx::host::ZoomCount(), 2);  // after each imported file
  const std::string text = transcript.Utf8();
  EXPECT_NE(text.find("Unable to read 2D data from part1.dxf"), std::string::npos) << text;
  EXPECT_EQ(text.find("Unable to read 2D data from part1.dxf\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("Unable to read 2D data from part.dxf"), std::string::npos) << text;
  EXPECT_FALSE(fs::exists(dir_ / "part.dxf"));
  EXPECT_FALSE(fs::exists(dir_ / "part1.dxf"));
  EXPECT_FALSE(fs::exists(dir_ / "part2.dxf"));
  EXPECT_TRUE(fs::exists(dir_ / "mypart.dxf"));
  EXPECT_TRUE(fs::exists(dir_ / "other2.dxf"));
}

TEST_F(DxfFiles, SeriesOfOneFilePicksOnlyNamesThatBeginWithTheStem) {
  WriteFile(dir_ / "part.dxf", Faces(2));
  WriteFile(dir_ / "mypart.dxf", Faces(5));
  WriteFile(dir_ / "other2.dxf", Faces(7));
  int count = 0;
  EXPECT_EQ(ImportDXFSeries(Wide(dir_ / "part.dxf"), count), 1);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(ModelSpaceCount(), 2);
  EXPECT_FALSE(fs::exists(dir_ / "part.dxf"));
  EXPECT_TRUE(fs::exists(dir_ / "mypart.dxf"));
  EXPECT_TRUE(fs::exists(dir_ / "other2.dxf"));
}

TEST_F(DxfFiles, SeriesWithoutAMatchSaysSoAndDeletesNothing) {
  WriteFile(dir_ / "other.dxf", Faces(1));
  WriteFile(dir_ / "part.txt", "not a drawing");
  TranscriptCapture transcript;
  int count = 5;
  EXPECT_EQ(ImportDXFSeries(Wide(dir_ / "part.dxf"), count), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(transcript.Utf8(), "Unable to read 2D data\n");
  EXPECT_TRUE(fs::exists(dir_ / "other.dxf"));
  EXPECT_TRUE(fs::exists(dir_ / "part.txt"));
  EXPECT_EQ(plx::host::ZoomCount(), 0);
  EXPECT_EQ(ModelSpaceCount(), 0);
}

}  // namespace
