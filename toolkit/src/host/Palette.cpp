// The AutoCAD colour-index palette, built at compile time. Indices 10 to 249 run through 24
// hues 15 degrees apart, ten shades each: five values (255 times 1, 0.65, 0.5, 0.3, 0.15), each
// at full and at half saturation, converted by the standard HSV formula with halves rounded
// up. Every value on the way is a multiple of 1/32, so the doubles are exact and the rounding
// never sits on a representation error.
#include "dbcolor.h"
#include "toolkit/Properties.h"

namespace {

using Palette = std::array<std::array<int32_t, 3>, 258>;

constexpr int32_t RoundHalfUp(double value) { return static_cast<int32_t>(value + 0.5); }

constexpr std::array<int32_t, 3> HueRow(int hueStep, int shade) {
  constexpr double kValues[5] = {255.0, 165.75, 127.5, 76.5, 38.25};
  const double v = kValues[shade / 2];
  const double s = shade % 2 == 0 ? 1.0 : 0.5;
  const double c = v * s;
  const double m = v - c;
  // H / 60 mod 2, with H a multiple of 15: a whole number of quarters.
  const double phase = (hueStep % 8) / 4.0;
  const double distance = phase < 1.0 ? 1.0 - phase : phase - 1.0;
  const double x = c * (1.0 - distance);
  // (r, g, b) in each 60-degree sector of the hue.
  const double sectors[6][3] = {{c, x, 0}, {x, c, 0}, {0, c, x}, {0, x, c}, {x, 0, c}, {c, 0, x}};
  const double* rgb = sectors[hueStep / 4];
  return {RoundHalfUp(rgb[0] + m), RoundHalfUp(rgb[1] + m), RoundHalfUp(rgb[2] + m)};
}

constexpr Palette BuildPalette() {
  Palette rows{};
  constexpr int32_t kFirstNine[9][3] = {{255, 0, 0},     {255, 255, 0},   {0, 255, 0},
                                        {0, 255, 255},   {0, 0, 255},     {255, 0, 255},
                                        {255, 255, 255}, {128, 128, 128}, {192, 192, 192}};
  for (int i = 0; i < 9; ++i) rows[i] = {kFirstNine[i][0], kFirstNine[i][1], kFirstNine[i][2]};
  for (int index = 10; index <= 249; ++index) rows[index - 1] = HueRow(index / 10 - 1, index % 10);
  // The host's own palette departs from the formula here.
  rows[112 - 1] = {0, 166, 64};
  constexpr int32_t kGreys[6] = {84, 118, 152, 187, 221, 255};
  for (int j = 0; j < 6; ++j) rows[250 + j - 1] = {kGreys[j], kGreys[j], kGreys[j]};
  for (int index = 256; index <= 258; ++index) rows[index - 1] = {255, 255, 255};
  return rows;
}

}  // namespace

constinit const Palette ACIPalette = BuildPalette();

PackedRGB ACIToRGB(int colorIndex) {
  if (colorIndex < 1 || colorIndex > 258) return kWhiteRGB;
  const auto& row = ACIPalette[static_cast<size_t>(colorIndex - 1)];
  return PackRGB(static_cast<uint32_t>(row[0]), static_cast<uint32_t>(row[1]),
                 static_cast<uint32_t>(row[2]));
}

AcCmColor RGBToAcCmColor(PackedRGB rgb) {
  AcCmColor color;
  color.setRGB(static_cast<Adesk::UInt8>(rgb & 0xFF), static_cast<Adesk::UInt8>(rgb >> 8 & 0xFF),
               static_cast<Adesk::UInt8>(rgb >> 16 & 0xFF));
  return color;
}
