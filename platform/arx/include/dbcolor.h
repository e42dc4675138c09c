// Colours of the host: a colour method (by layer, by block, a true colour, a colour index, ...)
// with its value. The index rules: 0 is by block, 256 by layer, 257 none, 1 to 255 a colour
// index; setRGB makes a true colour. A true colour reports as its index the nearest entry of
// the host's palette.
#pragma once

#include "acadstrc.h"
#include "adesk.h"

class AcCmEntityColor {
 public:
  enum ColorMethod {
    kByLayer = 0xC0,
    kByBlock = 0xC1,
    kByColor = 0xC2,
    kByACI = 0xC3,
    kByPen = 0xC4,
    kForeground = 0xC5,
    kLayerOff = 0xC6,
    kLayerFrozen = 0xC7,
    kNone = 0xC8,
  };
  enum ACIcolorMethod {
    kACIbyBlock = 0,
    kACIforeground = 7,
    kACIbyLayer = 256,
    kACIclear = 0,
    kACIRed = 1,
    kACIYellow = 2,
    kACIGreen = 3,
    kACICyan = 4,
    kACIBlue = 5,
    kACIMagenta = 6,
    kACIWhite = 7,
    kACIstandard = 7,
    kACImaxForeground = 255,
    kACInone = 257,
  };

  AcCmEntityColor() = default;  // by layer
  explicit AcCmEntityColor(ColorMethod method);
  AcCmEntityColor(Adesk::UInt8 red, Adesk::UInt8 green, Adesk::UInt8 blue);

  Acad::ErrorStatus setColorMethod(ColorMethod method);
  ColorMethod colorMethod() const { return static_cast<ColorMethod>(rgbm_ >> 24); }
  // The whole value: the method in bits 24-31, then red, green, blue (or the index in 0-15).
  Acad::ErrorStatus setColor(Adesk::UInt32 rgbm);
  Adesk::UInt32 color() const { return rgbm_; }
  // 0 by block, 256 by layer, 257 none, 1 to 255 an index; anything else is eInvalidInput.
  Acad::ErrorStatus setColorIndex(Adesk::Int16 index);
  Adesk::Int16 colorIndex() const;
  Acad::ErrorStatus setRGB(Adesk::UInt8 red, Adesk::UInt8 green, Adesk::UInt8 blue);
  // A true colour's own value; a colour index gives its palette entry; other methods 0.
  Adesk::UInt8 red() const;
  Adesk::UInt8 green() const;
  Adesk::UInt8 blue() const;

  bool isByColor() const { return colorMethod() == kByColor; }
  bool isByLayer() const { return colorMethod() == kByLayer; }
  bool isByBlock() const { return colorMethod() == kByBlock; }
  bool isByACI() const { return colorMethod() == kByACI; }
  bool isByPen() const { return colorMethod() == kByPen; }
  bool isForeground() const { return colorMethod() == kForeground; }
  bool isNone() const { return colorMethod() == kNone; }

  bool operator==(const AcCmEntityColor& other) const { return rgbm_ == other.rgbm_; }
  bool operator!=(const AcCmEntityColor& other) const { return rgbm_ != other.rgbm_; }

  // The palette: index 1 to 255 to 0x00RRGGBB (other indices give white); and the index of
  // the nearest palette entry to a colour (ties to the lower index).
  static Adesk::UInt32 lookUpRGB(Adesk::UInt8 colorIndex);
  static Adesk::UInt8 lookUpACI(Adesk::UInt8 red, Adesk::UInt8 green, Adesk::UInt8 blue);

 private:
  Adesk::UInt32 rgbm_ = static_cast<Adesk::UInt32>(kByLayer) << 24;
};

class AcCmColor {
 public:
  AcCmColor() = default;  // by layer

  Acad::ErrorStatus setColorMethod(AcCmEntityColor::ColorMethod method) { return color_.setColorMethod(method); }
  AcCmEntityColor::ColorMethod colorMethod() const { return color_.colorMethod(); }
  Acad::ErrorStatus setColor(Adesk::UInt32 rgbm) { return color_.setColor(rgbm); }
  Adesk::UInt32 color() const { return color_.color(); }
  Acad::ErrorStatus setColorIndex(Adesk::UInt16 index);
  Adesk::UInt16 colorIndex() const { return static_cast<Adesk::UInt16>(color_.colorIndex()); }
  Acad::ErrorStatus setRGB(Adesk::UInt8 red, Adesk::UInt8 green, Adesk::UInt8 blue) {
    return color_.setRGB(red, green, blue);
  }
  Adesk::UInt8 red() const { return color_.red(); }
  Adesk::UInt8 green() const { return color_.green(); }
  Adesk::UInt8 blue() const { return color_.blue(); }

  bool isByColor() const { return color_.isByColor(); }
  bool isByLayer() const { return color_.isByLayer(); }
  bool isByBlock() const { return color_.isByBlock(); }
  bool isByACI() const { return color_.isByACI(); }
  bool isByPen() const { return color_.isByPen(); }
  bool isForeground() const { return color_.isForeground(); }
  bool isNone() const { return color_.isNone(); }

  const AcCmEntityColor& entityColor() const { return color_; }

  bool operator==(const AcCmColor& other) const { return color_ == other.color_; }
  bool operator!=(const AcCmColor& other) const { return color_ != other.color_; }

 private:
  AcCmEntityColor color_;
};
