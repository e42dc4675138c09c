// Colours: the colour-method rules and the host's 255-entry palette. Indices 10 to 249 are
// 24 hues of 15 degrees, five values (1, 0.65, 0.5, 0.3, 0.15) at full and half saturation,
// converted by the standard HSV formula with halves rounded up; 250 to 255 are greys.
#include <array>
#include <cmath>

#include "dbcolor.h"

namespace {

struct Rgb {
  int r, g, b;
};

Rgb HsvRow(int index) {
  const int h = index / 10, k = index % 10;
  static const double kValues[5] = {1.0, 0.65, 0.5, 0.3, 0.15};
  const double hue = (h - 1) * 15.0;
  const double v = 255.0 * kValues[k / 2];
  const double s = k % 2 == 0 ? 1.0 : 0.5;
  const double c = v * s, m = v - c;
  const double x = c * (1 - std::abs(std::fmod(hue / 60.0, 2.0) - 1));
  double r = 0, g = 0, b = 0;
  if (hue < 60) r = c, g = x;
  else if (hue < 120) r = x, g = c;
  else if (hue < 180) g = c, b = x;
  else if (hue < 240) g = x, b = c;
  else if (hue < 300) r = x, b = c;
  else r = c, b = x;
  auto round = [](double value) { return static_cast<int>(std::floor(value + 0.5)); };
  return {round(r + m), round(g + m), round(b + m)};
}

const std::array<Rgb, 256>& Palette() {
  static const std::array<Rgb, 256> palette = [] {
    std::array<Rgb, 256> p{};
    const Rgb fixed[10] = {{0, 0, 0},     {255, 0, 0},   {255, 255, 0},   {0, 255, 0},     {0, 255, 255},
                           {0, 0, 255},   {255, 0, 255}, {255, 255, 255}, {128, 128, 128}, {192, 192, 192}};
    for (int i = 0; i < 10; ++i) p[i] = fixed[i];
    for (int i = 10; i < 250; ++i) p[i] = HsvRow(i);
    p[112] = {0, 166, 64};  // the host's palette departs from the rule here
    const int greys[6] = {84, 118, 152, 187, 221, 255};
    for (int j = 0; j < 6; ++j) p[250 + j] = {greys[j], greys[j], greys[j]};
    return p;
  }();
  return palette;
}

Adesk::UInt32 Method(AcCmEntityColor::ColorMethod m) { return static_cast<Adesk::UInt32>(m) << 24; }

bool KnownMethod(int m) { return m >= AcCmEntityColor::kByLayer && m <= AcCmEntityColor::kNone; }

}  // namespace

AcCmEntityColor::AcCmEntityColor(ColorMethod method) { setColorMethod(method); }

AcCmEntityColor::AcCmEntityColor(Adesk::UInt8 red, Adesk::UInt8 green, Adesk::UInt8 blue) {
  setRGB(red, green, blue);
}

Acad::ErrorStatus AcCmEntityColor::setColorMethod(ColorMethod method) {
  if (!KnownMethod(method)) return Acad::eInvalidInput;
  switch (method) {
    case kByLayer: rgbm_ = Method(kByLayer) | kACIbyLayer; break;
    case kByBlock: rgbm_ = Method(kByBlock) | kACIbyBlock; break;
    case kForeground: rgbm_ = Method(kForeground) | kACIforeground; break;
    case kNone: rgbm_ = Method(kNone) | kACInone; break;
    case kByACI:
      // Keeps a true colour's look as its nearest index.
      rgbm_ = Method(kByACI) | static_cast<Adesk::UInt16>(colorIndex() >= 1 && colorIndex() <= 255 ? colorIndex() : 7);
      break;
    default: rgbm_ = Method(method) | (rgbm_ & 0x00FFFFFF); break;
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcCmEntityColor::setColor(Adesk::UInt32 rgbm) {
  if (!KnownMethod(static_cast<int>(rgbm >> 24))) return Acad::eInvalidInput;
  rgbm_ = rgbm;
  return Acad::eOk;
}

Acad::ErrorStatus AcCmEntityColor::setColorIndex(Adesk::Int16 index) {
  if (index == kACIbyBlock) rgbm_ = Method(kByBlock) | kACIbyBlock;
  else if (index == kACIbyLayer) rgbm_ = Method(kByLayer) | kACIbyLayer;
  else if (index == kACInone) rgbm_ = Method(kNone) | kACInone;
  else if (index >= 1 && index <= 255) rgbm_ = Method(kByACI) | static_cast<Adesk::UInt16>(index);
  else return Acad::eInvalidInput;
  return Acad::eOk;
}

Adesk::Int16 AcCmEntityColor::colorIndex() const {
  switch (colorMethod()) {
    case kByLayer: return kACIbyLayer;
    case kByBlock: return kACIbyBlock;
    case kForeground: return kACIforeground;
    case kNone: return kACInone;
    case kByColor: return lookUpACI(red(), green(), blue());
    default: return static_cast<Adesk::Int16>(rgbm_ & 0xFFFF);
  }
}

Acad::ErrorStatus AcCmEntityColor::setRGB(Adesk::UInt8 red, Adesk::UInt8 green, Adesk::UInt8 blue) {
  rgbm_ = Method(kByColor) | (static_cast<Adesk::UInt32>(red) << 16) | (static_cast<Adesk::UInt32>(green) << 8) | blue;
  return Acad::eOk;
}

Adesk::UInt8 AcCmEntityColor::red() const {
  if (isByColor()) return static_cast<Adesk::UInt8>(rgbm_ >> 16);
  if (isByACI() || isForeground()) return static_cast<Adesk::UInt8>(lookUpRGB(static_cast<Adesk::UInt8>(colorIndex())) >> 16);
  return 0;
}

Adesk::UInt8 AcCmEntityColor::green() const {
  if (isByColor()) return static_cast<Adesk::UInt8>(rgbm_ >> 8);
  if (isByACI() || isForeground()) return static_cast<Adesk::UInt8>(lookUpRGB(static_cast<Adesk::UInt8>(colorIndex())) >> 8);
  return 0;
}

Adesk::UInt8 AcCmEntityColor::blue() const {
  if (isByColor()) return static_cast<Adesk::UInt8>(rgbm_);
  if (isByACI() || isForeground()) return static_cast<Adesk::UInt8>(lookUpRGB(static_cast<Adesk::UInt8>(colorIndex())));
  return 0;
}

Adesk::UInt32 AcCmEntityColor::lookUpRGB(Adesk::UInt8 colorIndex) {
  if (colorIndex == 0) return 0xFFFFFF;
  const Rgb& c = Palette()[colorIndex];
  return (static_cast<Adesk::UInt32>(c.r) << 16) | (static_cast<Adesk::UInt32>(c.g) << 8) | static_cast<Adesk::UInt32>(c.b);
}

Adesk::UInt8 AcCmEntityColor::lookUpACI(Adesk::UInt8 red, Adesk::UInt8 green, Adesk::UInt8 blue) {
  int best = 1;
  long bestDistance = -1;
  for (int i = 1; i <= 255; ++i) {
    const Rgb& c = Palette()[static_cast<size_t>(i)];
    const long dr = c.r - red, dg = c.g - green, db = c.b - blue;
    const long d = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return static_cast<Adesk::UInt8>(best);
}

Acad::ErrorStatus AcCmColor::setColorIndex(Adesk::UInt16 index) {
  if (index > AcCmEntityColor::kACInone) return Acad::eInvalidInput;
  return color_.setColorIndex(static_cast<Adesk::Int16>(index));
}
