// The host's single-line text (TEXT): a string at a position in the plane of its normal, with
// height, rotation (about the normal from the object X axis), width factor and oblique angle.
// Our host has no fonts: extents take each character as 0.6 of the height wide (times the
// width factor), which is close to the host's simplex font.
#pragma once

#include <string>

#include "dbmain.h"

class AcDbText : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbText);
  AcDbText() = default;
  // A null text is taken as empty; the style is kept as given (our host has one style).
  AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId style = AcDbObjectId(),
           double height = 0, double rotation = 0);
  AcRxObject* clone() const override { return new AcDbText(*this); }

  AcGePoint3d position() const { return position_; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& position);
  AcGePoint3d alignmentPoint() const { return alignment_; }
  Acad::ErrorStatus setAlignmentPoint(const AcGePoint3d& point);
  bool isDefaultAlignment() const {
    return horizontal_ == AcDb::kTextLeft && vertical_ == AcDb::kTextBase;
  }
  AcGeVector3d normal() const { return normal_; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& normal);  // eInvalidInput for a zero vector
  double thickness() const { return thickness_; }
  Acad::ErrorStatus setThickness(double thickness);
  double oblique() const { return oblique_; }
  Acad::ErrorStatus setOblique(double angle);
  double rotation() const { return rotation_; }
  Acad::ErrorStatus setRotation(double angle);
  double height() const { return height_; }
  Acad::ErrorStatus setHeight(double height);  // eInvalidInput unless positive and finite
  double widthFactor() const { return widthFactor_; }
  Acad::ErrorStatus setWidthFactor(double factor);  // eInvalidInput unless positive
  bool isMirroredInX() const { return mirrorX_; }
  Acad::ErrorStatus mirrorInX(bool mirror);
  bool isMirroredInY() const { return mirrorY_; }
  Acad::ErrorStatus mirrorInY(bool mirror);
  AcDb::TextHorzMode horizontalMode() const { return horizontal_; }
  Acad::ErrorStatus setHorizontalMode(AcDb::TextHorzMode mode);
  AcDb::TextVertMode verticalMode() const { return vertical_; }
  Acad::ErrorStatus setVerticalMode(AcDb::TextVertMode mode);
  AcDbObjectId textStyle() const { return style_; }
  Acad::ErrorStatus setTextStyle(AcDbObjectId style);

  // A new copy (release with acutDelString), or the text's own string.
  ACHAR* textString() const;
  const ACHAR* textStringConst() const { return text_.c_str(); }
  Acad::ErrorStatus setTextString(const ACHAR* text);  // eInvalidInput for null

  // The box of the text's rectangle (see above); eInvalidExtents for an empty string.
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  // Moves, turns, mirrors (the text stays readable, turned) and scales uniformly;
  // eCannotScaleNonUniformly otherwise.
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix) override;

 protected:
  void ListGeometry() const override;

 private:
  std::wstring text_;
  AcGePoint3d position_, alignment_;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
  double thickness_ = 0, oblique_ = 0, rotation_ = 0, height_ = 0, widthFactor_ = 1;
  bool mirrorX_ = false, mirrorY_ = false;
  AcDb::TextHorzMode horizontal_ = AcDb::kTextLeft;
  AcDb::TextVertMode vertical_ = AcDb::kTextBase;
  AcDbObjectId style_;
};
