#include "opennurbs/color.h"

namespace {

unsigned int ClampChannel(int value) {
  return static_cast<unsigned int>(value < 0 ? 0 : (value > 255 ? 255 : value));
}

}  // namespace

ON_Color::ON_Color(int red, int green, int blue) { SetRGB(red, green, blue); }

ON_Color::ON_Color(int red, int green, int blue, int alpha) {
  SetRGB(red, green, blue);
  SetAlpha(alpha);
}

void ON_Color::SetRGB(int red, int green, int blue) {
  color_ = ClampChannel(red) | (ClampChannel(green) << 8) | (ClampChannel(blue) << 16);
}

void ON_Color::SetAlpha(int alpha) { color_ = (color_ & 0x00FFFFFFu) | (ClampChannel(alpha) << 24); }
