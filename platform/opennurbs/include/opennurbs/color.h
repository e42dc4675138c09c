// ON_Color: an RGB colour packed as openNURBS packs it, 0xAABBGGRR (red in the low byte,
// alpha in the high byte, 0 = opaque). Converts to and from that unsigned int.
#pragma once

class ON_Color {
 public:
  constexpr ON_Color() = default;  // black, opaque
  constexpr ON_Color(unsigned int packed) : color_(packed) {}  // NOLINT: implicit as in openNURBS
  // Channels outside 0..255 are clamped.
  ON_Color(int red, int green, int blue);
  ON_Color(int red, int green, int blue, int alpha);

  constexpr operator unsigned int() const { return color_; }  // NOLINT: as in openNURBS

  int Red() const { return static_cast<int>(color_ & 0xFFu); }
  int Green() const { return static_cast<int>((color_ >> 8) & 0xFFu); }
  int Blue() const { return static_cast<int>((color_ >> 16) & 0xFFu); }
  int Alpha() const { return static_cast<int>((color_ >> 24) & 0xFFu); }
  double FractionRed() const { return Red() / 255.0; }
  double FractionGreen() const { return Green() / 255.0; }
  double FractionBlue() const { return Blue() / 255.0; }

  // Sets the three channels (clamped to 0..255) and makes the colour opaque.
  void SetRGB(int red, int green, int blue);
  // Sets the alpha channel (clamped to 0..255), keeping red, green and blue.
  void SetAlpha(int alpha);

 private:
  unsigned int color_ = 0;
};
