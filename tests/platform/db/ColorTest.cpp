// Colours: the colour methods' values, the index rules and the palette.
#include <gtest/gtest.h>

#include "arx.h"

TEST(Color, MethodsHaveTheHostsValues) {
  EXPECT_EQ(AcCmEntityColor::kByLayer, 0xC0);
  EXPECT_EQ(AcCmEntityColor::kByBlock, 0xC1);
  EXPECT_EQ(AcCmEntityColor::kByColor, 0xC2);
  EXPECT_EQ(AcCmEntityColor::kByACI, 0xC3);
  EXPECT_EQ(AcCmEntityColor::kForeground, 0xC5);
  EXPECT_EQ(AcCmEntityColor::kNone, 0xC8);
  AcCmColor color;
  EXPECT_TRUE(color.isByLayer());
  EXPECT_EQ(color.colorIndex(), 256);
}

struct IndexCase {
  int index;
  AcCmEntityColor::ColorMethod method;
  bool accepted;
};

class ColorIndex : public ::testing::TestWithParam<IndexCase> {};

TEST_P(ColorIndex, SelectsTheMethod) {
  AcCmColor color;
  color.setRGB(1, 2, 3);
  const IndexCase c = GetParam();
  EXPECT_EQ(color.setColorIndex(static_cast<Adesk::UInt16>(c.index)) == Acad::eOk, c.accepted);
  EXPECT_EQ(color.colorMethod(), c.method);
  if (c.accepted) {
    EXPECT_EQ(color.colorIndex(), c.index);
  }
}

INSTANTIATE_TEST_SUITE_P(Rules, ColorIndex,
                         ::testing::Values(IndexCase{0, AcCmEntityColor::kByBlock, true},
                                           IndexCase{256, AcCmEntityColor::kByLayer, true},
                                           IndexCase{257, AcCmEntityColor::kNone, true},
                                           IndexCase{1, AcCmEntityColor::kByACI, true},
                                           IndexCase{7, AcCmEntityColor::kByACI, true},
                                           IndexCase{255, AcCmEntityColor::kByACI, true},
                                           IndexCase{258, AcCmEntityColor::kByColor, false},
                                           IndexCase{1000, AcCmEntityColor::kByColor, false}));

TEST(Color, TrueColourKeepsItsValueAndReportsTheNearestIndex) {
  AcCmColor color;
  ASSERT_EQ(color.setRGB(10, 20, 30), Acad::eOk);
  EXPECT_TRUE(color.isByColor());
  EXPECT_FALSE(color.isByACI());
  EXPECT_EQ(color.red(), 10);
  EXPECT_EQ(color.green(), 20);
  EXPECT_EQ(color.blue(), 30);
  color.setRGB(0, 255, 0);
  EXPECT_EQ(color.colorIndex(), 3);
  color.setRGB(254, 1, 1);
  EXPECT_EQ(color.colorIndex(), 1);
  color.setRGB(0, 0, 0);
  EXPECT_TRUE(color.isByColor());  // black stays a true colour
  EXPECT_EQ(color.colorIndex(), 18);  // the darkest red is nearest
}

TEST(Color, AnIndexReportsItsPaletteColour) {
  AcCmColor color;
  color.setColorIndex(5);
  EXPECT_EQ(color.red(), 0);
  EXPECT_EQ(color.blue(), 255);
  AcCmColor byLayer;
  EXPECT_EQ(byLayer.red(), 0);
  EXPECT_NE(byLayer, color);
  AcCmColor five;
  five.setColorIndex(5);
  EXPECT_EQ(five, color);
}

TEST(Palette, RowsOfTheHostsTable) {
  const struct {
    int index;
    Adesk::UInt32 rgb;
  } rows[] = {{1, 0xFF0000},  {2, 0xFFFF00},  {3, 0x00FF00},  {5, 0x0000FF},  {7, 0xFFFFFF},  {8, 0x808080},
              {9, 0xC0C0C0},  {10, 0xFF0000}, {11, 0xFF8080}, {12, 0xA60000}, {13, 0xA65353}, {19, 0x261313},
              {20, 0xFF4000}, {21, 0xFF9F80}, {22, 0xA62900}, {28, 0x260A00}, {41, 0xFFDF80}, {110, 0x00FF80},
              {112, 0x00A640}, {113, 0x53A67C}, {114, 0x008040}, {140, 0x00BFFF}, {141, 0x80DFFF}, {203, 0x9153A6},
              {249, 0x261318}, {250, 0x545454}, {255, 0xFFFFFF}};
  for (const auto& row : rows)
    EXPECT_EQ(AcCmEntityColor::lookUpRGB(static_cast<Adesk::UInt8>(row.index)), row.rgb) << "index " << row.index;
  EXPECT_EQ(AcCmEntityColor::lookUpACI(0xA6, 0x00, 0x00), 12);
}
