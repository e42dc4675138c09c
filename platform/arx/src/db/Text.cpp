// Single-line text: position, alignment, rotation about the normal from the object X axis,
// and an extents rectangle from a nominal character width (our host has no fonts).
#include "win32/text.h"

#include <cmath>

#include "Access.h"
#include "CurveMath.h"
#include "dbtext.h"

using namespace plx::db;

ACRX_DXF_DEFINE_MEMBERS(AcDbText, AcDbEntity, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, TEXT,
                        ACAD)

namespace {
constexpr double kCharWidth = 0.6;  // of the height, for a width factor of 1
}

AcDbText::AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId style,
                   double height, double rotation)
    : text_(text ? text : L""),
      position_(position),
      alignment_(position),
      rotation_(rotation),
      height_(height),
      style_(style) {}

Acad::ErrorStatus AcDbText::setPosition(const AcGePoint3d& position) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(position)) return Acad::eInvalidInput;
  position_ = position;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setAlignmentPoint(const AcGePoint3d& point) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(point)) return Acad::eInvalidInput;
  alignment_ = point;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setNormal(const AcGeVector3d& normal) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(normal) || normal.isZeroLength()) return Acad::eInvalidInput;
  normal_ = normal.normal();
  return Acad::eOk;
}

namespace {

Acad::ErrorStatus SetReal(const AcDbObject& object, double& member, double value, bool positive) {
  if (!object.isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!std::isfinite(value) || (positive && value <= 0)) return Acad::eInvalidInput;
  member = value;
  return Acad::eOk;
}

}  // namespace

Acad::ErrorStatus AcDbText::setThickness(double thickness) {
  return SetReal(*this, thickness_, thickness, false);
}
Acad::ErrorStatus AcDbText::setOblique(double angle) {
  return SetReal(*this, oblique_, angle, false);
}
Acad::ErrorStatus AcDbText::setRotation(double angle) {
  return SetReal(*this, rotation_, angle, false);
}
Acad::ErrorStatus AcDbText::setHeight(double height) {
  return SetReal(*this, height_, height, true);
}
Acad::ErrorStatus AcDbText::setWidthFactor(double factor) {
  return SetReal(*this, widthFactor_, factor, true);
}

Acad::ErrorStatus AcDbText::mirrorInX(bool mirror) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  mirrorX_ = mirror;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::mirrorInY(bool mirror) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  mirrorY_ = mirror;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setHorizontalMode(AcDb::TextHorzMode mode) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (mode < AcDb::kTextLeft || mode > AcDb::kTextFit) return Acad::eInvalidInput;
  horizontal_ = mode;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setVerticalMode(AcDb::TextVertMode mode) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (mode < AcDb::kTextBase || mode > AcDb::kTextTop) return Acad::eInvalidInput;
  vertical_ = mode;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setTextStyle(AcDbObjectId style) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  style_ = style;
  return Acad::eOk;
}

ACHAR* AcDbText::textString() const {
  ACHAR* copy = nullptr;
  acutUpdString(text_.c_str(), copy);
  return copy;
}

Acad::ErrorStatus AcDbText::setTextString(const ACHAR* text) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!text) return Acad::eInvalidInput;
  text_ = text;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::getGeomExtents(AcDbExtents& extents) const {
  if (text_.empty()) return Acad::eInvalidExtents;
  AcGeVector3d x, y;
  OcsAxes(normal_, x, y);
  const AcGeVector3d along = x * std::cos(rotation_) + y * std::sin(rotation_);
  const AcGeVector3d up = normal_.crossProduct(along);
  const double width = kCharWidth * height_ * widthFactor_ * static_cast<double>(text_.size());
  AcDbExtents box;
  box.addPoint(position_);
  box.addPoint(position_ + along * width);
  box.addPoint(position_ + up * height_);
  box.addPoint(position_ + along * width + up * height_);
  extents = box;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::transformBy(const AcGeMatrix3d& matrix) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!matrix.isUniScaledOrtho()) return Acad::eCannotScaleNonUniformly;
  AcGeVector3d x, y;
  OcsAxes(normal_, x, y);
  const CarriedFrame frame = CarryFrame(matrix, x, y);
  const AcGeVector3d along = matrix * (x * std::cos(rotation_) + y * std::sin(rotation_));
  AcGeVector3d x2, y2;
  OcsAxes(frame.normal, x2, y2);
  position_.transformBy(matrix);
  alignment_.transformBy(matrix);
  height_ *= frame.xAxis.length();
  normal_ = frame.normal;
  rotation_ = NormalizeAngle(std::atan2(along.dotProduct(y2), along.dotProduct(x2)));
  return Acad::eOk;
}

void AcDbText::ListGeometry() const {
  ListLine(L"                  Text: " + text_);
  ListLine(L"                  Position: " + ListPoint(position_));
  ListLine(plx::FormatWide(L"                  Height: %10.4f", height_));
  ListLine(plx::FormatWide(L"                  Rotation: %10.4f", rotation_ * 180 / kPi));
  ListLine(plx::FormatWide(L"                  Width factor: %10.4f", widthFactor_));
}
