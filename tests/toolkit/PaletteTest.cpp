// The colour-index palette and the packing of colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "toolkit/Properties.h"

namespace {

struct PaletteRow {
  int index;
  int red, green, blue;
  friend void PrintTo(const PaletteRow& row, std::ostream* os) { *os << "index " << row.index; }
};

class ACIPaletteRow : public ::testing::TestWithParam<PaletteRow> {};

TEST_P(ACIPaletteRow, HoldsTheHostColour) {
  const PaletteRow& row = GetParam();
  const auto& entry = ACIPalette[static_cast<size_t>(row.index - 1)];
  EXPECT_EQ(entry[0], row.red);
  EXPECT_EQ(entry[1], row.green);
  EXPECT_EQ(entry[2], row.blue);
  EXPECT_EQ(ACIToRGB(row.index), static_cast<PackedRGB>(row.red | row.green << 8 | row.blue << 16));
}

INSTANTIATE_TEST_SUITE_P(NamedColours, ACIPaletteRow,
                         ::testing::Values(PaletteRow{1, 255, 0, 0}, PaletteRow{2, 255, 255, 0},
                                           PaletteRow{3, 0, 255, 0}, PaletteRow{4, 0, 255, 255},
                                           PaletteRow{5, 0, 0, 255}, PaletteRow{6, 255, 0, 255},
                                           PaletteRow{7, 255, 255, 255},
                                           PaletteRow{8, 128, 128, 128},
                                           PaletteRow{9, 192, 192, 192}));

// The rows that the host's palette is known to hold.
INSTANTIATE_TEST_SUITE_P(
    KnownRows, ACIPaletteRow,
    ::testing::Values(PaletteRow{10, 255, 0, 0}, PaletteRow{11, 255, 128, 128},
                      PaletteRow{12, 166, 0, 0}, PaletteRow{13, 166, 83, 83},
                      PaletteRow{19, 38, 19, 19}, PaletteRow{20, 255, 64, 0},
                      PaletteRow{21, 255, 159, 128}, PaletteRow{22, 166, 41, 0},
                      PaletteRow{28, 38, 10, 0}, PaletteRow{41, 255, 223, 128},
                      PaletteRow{110, 0, 255, 128}, PaletteRow{112, 0, 166, 64},
                      PaletteRow{113, 83, 166, 124}, PaletteRow{114, 0, 128, 64},
                      PaletteRow{140, 0, 191, 255}, PaletteRow{141, 128, 223, 255},
                      PaletteRow{203, 145, 83, 166}, PaletteRow{249, 38, 19, 24}));

// Worked by hand from hue, value and saturation: a hue at each sector boundary, halves that
// round up (127: 76.5 gives 77), and the last shades.
INSTANTIATE_TEST_SUITE_P(ComputedRows, ACIPaletteRow,
                         ::testing::Values(PaletteRow{30, 255, 128, 0}, PaletteRow{50, 255, 255, 0},
                                           PaletteRow{90, 0, 255, 0}, PaletteRow{127, 38, 77, 67},
                                           PaletteRow{130, 0, 255, 255}, PaletteRow{170, 0, 0, 255},
                                           PaletteRow{210, 255, 0, 255},
                                           PaletteRow{215, 128, 64, 128},
                                           PaletteRow{248, 38, 0, 10}, PaletteRow{16, 77, 0, 0},
                                           PaletteRow{17, 77, 38, 38},
                                           PaletteRow{25, 128, 80, 64}));

INSTANTIATE_TEST_SUITE_P(
    GreysAndWhites, ACIPaletteRow,
    ::testing::Values(PaletteRow{250, 84, 84, 84}, PaletteRow{251, 118, 118, 118},
                      PaletteRow{252, 152, 152, 152}, PaletteRow{253, 187, 187, 187},
                      PaletteRow{254, 221, 221, 221}, PaletteRow{255, 255, 255, 255},
                      PaletteRow{256, 255, 255, 255}, PaletteRow{257, 255, 255, 255},
                      PaletteRow{258, 255, 255, 255}));

TEST(ACIPalette, EveryRowIsAColour) {
  for (size_t i = 0; i < ACIPalette.size(); ++i)
    for (const int32_t component : ACIPalette[i]) {
      EXPECT_GE(component, 0) << "index " << i + 1;
      EXPECT_LE(component, 255) << "index " << i + 1;
    }
}

// Each hue's ten shades: the full-saturation value falls shade by shade, and half saturation
// keeps the value (the largest component) of its full-saturation neighbour.
TEST(ACIPalette, ShadesOfAHueDarkenInSteps) {
  const int kValues[5] = {255, 166, 128, 77, 38};
  for (int hue = 1; hue <= 24; ++hue)
    for (int shade = 0; shade < 10; ++shade) {
      const int index = hue * 10 + shade;
      if (index == 112) continue;
      const auto& row = ACIPalette[static_cast<size_t>(index - 1)];
      const int largest = std::max({row[0], row[1], row[2]});
      // 76.5 rounds up, 38.25 down: the value of the last two pairs is 77 and 38.
      EXPECT_EQ(largest, kValues[shade / 2]) << "index " << index;
    }
}

TEST(ACIToRGB, IndexOutsideThePaletteIsWhite) {
  for (const int index : {0, 259, -1, 1000, INT_MIN, INT_MAX})
    EXPECT_EQ(ACIToRGB(index), kWhiteRGB) << index;
}

TEST(ACIToRGB, PacksRedInTheLowByte) {
  EXPECT_EQ(ACIToRGB(1), 0x0000FFu);
  EXPECT_EQ(ACIToRGB(5), 0xFF0000u);
  EXPECT_EQ(ACIToRGB(3), 0x00FF00u);
}

TEST(RGBToAcCmColor, IsAlwaysATrueColour) {
  const AcCmColor black = RGBToAcCmColor(0);
  EXPECT_TRUE(black.isByColor());
  EXPECT_EQ(black.red(), 0);
  EXPECT_EQ(black.green(), 0);
  EXPECT_EQ(black.blue(), 0);

  const AcCmColor colour = RGBToAcCmColor(PackRGB(10, 20, 30));
  EXPECT_TRUE(colour.isByColor());
  EXPECT_EQ(colour.red(), 10);
  EXPECT_EQ(colour.green(), 20);
  EXPECT_EQ(colour.blue(), 30);
}

TEST(RGBToAcCmColor, IgnoresTheTopByte) {
  const AcCmColor colour = RGBToAcCmColor(0xAB000080u);
  EXPECT_TRUE(colour.isByColor());
  EXPECT_EQ(colour.red(), 0x80);
  EXPECT_EQ(colour.green(), 0);
  EXPECT_EQ(colour.blue(), 0);
}

}  // namespace
