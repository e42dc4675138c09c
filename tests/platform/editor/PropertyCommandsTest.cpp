// LAYER, COLOR, ERASE and LIST run from scripts.
#include <gtest/gtest.h>

#include <cwctype>

#include "DrawingBuilders.h"
#include "TestSupport.h"
#include "arx.h"
#include "win32/text.h"

using plx::test::HostSession;
using plx::test::ModelSpaceIds;
using plx::test::ScriptedInput;
using plx::test::TranscriptCapture;

namespace {

AcDbDatabase* Db() { return acdbHostApplicationServices()->workingDatabase(); }

void Command(const std::wstring& command, const std::vector<std::wstring>& answers) {
  ScriptedInput script(answers);
  ASSERT_TRUE(plx::host::RunCommand(command));
}

AcCmColor LayerColor(const wchar_t* name) {
  AcDbLayerTable* table = nullptr;
  Db()->getLayerTable(table, AcDb::kForRead);
  AcDbLayerTableRecord* record = nullptr;
  AcCmColor color;
  if (table->getAt(name, record, AcDb::kForRead) == Acad::eOk) {
    color = record->color();
    record->close();
  }
  table->close();
  return color;
}

bool HasLayer(const wchar_t* name) {
  AcDbLayerTable* table = nullptr;
  Db()->getLayerTable(table, AcDb::kForRead);
  const bool has = table->has(name);
  table->close();
  return has;
}

}  // namespace

TEST(LayerCommand, MakeNewColorAndSet) {
  HostSession session;
  TranscriptCapture transcript;
  Command(L"-LAYER", {L"M", L"Walls", L"C", L"1", L"", L"N", L"Roof, Floor", L"c", L"T", L"10,20,30", L"R*", L"S",
                  L"Missing", L"s", L"floor", L""});
  EXPECT_TRUE(HasLayer(L"Walls") && HasLayer(L"Roof") && HasLayer(L"Floor"));
  EXPECT_EQ(LayerColor(L"Walls").colorIndex(), 1);
  const AcCmColor roof = LayerColor(L"Roof");
  EXPECT_TRUE(roof.isByColor());
  EXPECT_EQ(roof.green(), 20);
  EXPECT_EQ(LayerColor(L"Floor").colorIndex(), 7);
  EXPECT_EQ(Db()->clayer(), plx::test::AddLayer(L"Floor"));
  EXPECT_NE(transcript.Text().find(L"Enter name list of layer(s) for color 1 (red) <Walls>: \n"), std::wstring::npos);
  EXPECT_NE(transcript.Text().find(L"Cannot find layer \"Missing\"."), std::wstring::npos);
}

TEST(LayerCommand, RefusesWhatTheHostRefuses) {
  HostSession session;
  TranscriptCapture transcript;
  Command(L"LAYER", {L"Color", L"BYLAYER", L"300", L"3", L"NoSuch", L"M", L"bad<name", L"F", L"0", L"Bogus", L""});
  EXPECT_EQ(LayerColor(L"0").colorIndex(), 7);
  EXPECT_NE(transcript.Text().find(L"Requires an integer between 1 and 255, a color name or Truecolor."),
            std::wstring::npos);
  EXPECT_NE(transcript.Text().find(L"Invalid layer name \"bad<name\"."), std::wstring::npos);
  EXPECT_NE(transcript.Text().find(L"Cannot freeze layer \"0\".  It is the CURRENT layer."), std::wstring::npos);
  EXPECT_NE(transcript.Text().find(L"Invalid option keyword."), std::wstring::npos);
}

TEST(LayerCommand, OffFreezeAndLock) {
  HostSession session;
  Command(L"LAYER", {L"New", L"A1,A2", L"OFF", L"A1", L"F", L"A2", L"LO", L"A*", L""});
  AcDbLayerTable* table = nullptr;
  Db()->getLayerTable(table, AcDb::kForRead);
  AcDbLayerTableRecord *a1 = nullptr, *a2 = nullptr;
  table->getAt(L"A1", a1, AcDb::kForRead);
  table->getAt(L"A2", a2, AcDb::kForRead);
  EXPECT_TRUE(a1->isOff() && !a1->isFrozen() && a1->isLocked());
  EXPECT_TRUE(!a2->isOff() && a2->isFrozen() && a2->isLocked());
  a1->close();
  a2->close();
  table->close();
}

TEST(ColorCommand, SetsTheColourOfNewEntities) {
  HostSession session;
  TranscriptCapture transcript;
  Command(L"COLOR", {L"red"});
  Command(L"POINT", {L"0,0"});
  Command(L"COLOR", {L"T", L"10,20,30"});
  Command(L"POINT", {L"1,0"});
  Command(L"-COLOR", {L"purple", L"bylayer"});
  Command(L"POINT", {L"2,0"});
  Command(L"COLOR", {L"0"});
  Command(L"POINT", {L"3,0"});
  const std::vector<AcDbObjectId> ids = ModelSpaceIds();
  ASSERT_EQ(ids.size(), 4u);
  std::vector<AcCmColor> colors;
  for (const AcDbObjectId& id : ids) {
    AcDbEntity* e = nullptr;
    acdbOpenAcDbEntity(e, id, AcDb::kForRead);
    colors.push_back(e->color());
    e->close();
  }
  EXPECT_EQ(colors[0].colorIndex(), 1);
  EXPECT_TRUE(colors[1].isByColor());
  EXPECT_EQ(colors[1].blue(), 30);
  EXPECT_TRUE(colors[2].isByLayer());
  EXPECT_TRUE(colors[3].isByBlock());
  EXPECT_NE(transcript.Text().find(L"Enter default object color [Truecolor/COlorbook] <10,20,30>: purple\n"
                                   L"Requires an integer between 0 and 256"),
            std::wstring::npos);
}

TEST(EraseCommand, ErasesTheSelection) {
  HostSession session;
  Command(L"POINT", {L"0,0"});
  Command(L"POINT", {L"5,5"});
  Command(L"ERASE", {L"L", L""});
  EXPECT_EQ(ModelSpaceIds().size(), 1u);
  Command(L"ERASE", {L"^C"});
  EXPECT_EQ(ModelSpaceIds().size(), 1u);
}

TEST(ListCommand, ShowsHandleClassLayerAndColour) {
  HostSession session;
  plx::test::AddLayer(L"Walls", 1);
  Command(L"LAYER", {L"S", L"Walls", L""});
  Command(L"3DFACE", {L"0,0,0", L"1,0,0", L"1,1,0", L"", L""});
  Command(L"COLOR", {L"5"});
  Command(L"LINE", {L"0,0", L"3,4", L""});
  TranscriptCapture transcript;
  Command(L"LIST", {L"ALL", L""});
  const std::vector<AcDbObjectId> ids = ModelSpaceIds();
  const std::wstring face = plx::test::HandleText(ids[0]), line = plx::test::HandleText(ids[1]);
  std::wstring lowerFace = face, lowerLine = line;
  for (wchar_t& c : lowerFace) c = static_cast<wchar_t>(std::towlower(c));
  for (wchar_t& c : lowerLine) c = static_cast<wchar_t>(std::towlower(c));
  const std::wstring& text = transcript.Text();
  EXPECT_NE(text.find(L"                  3DFACE     Layer: \"Walls\"\n"
                      L"                            Space: Model space\n"
                      L"                   Color: BYLAYER    Linetype: \"BYLAYER\"\n"
                      L"                   Handle = " +
                      lowerFace + L"\n                   Class = AcDbFace\n"),
            std::wstring::npos)
      << plx::Utf8FromWide(text);
  EXPECT_NE(text.find(L"                   Color: 5 (blue)    Linetype: \"BYLAYER\"\n                   Handle = " +
                      lowerLine + L"\n                   Class = AcDbLine\n"),
            std::wstring::npos);
  EXPECT_NE(text.find(L"Length =     5.0000"), std::wstring::npos);
}
