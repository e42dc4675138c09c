// Multilines and their styles. An element at offset o (to the left of the path, times the
// scale, less the justification's shift) lies at each vertex along the miter direction, the
// bisector of the left normals of the two segments that meet there, at the distance that keeps
// it o away from both segments: o / (miter . left normal of the segment).
#include <algorithm>
#include <cmath>

#include "Access.h"
#include "CurveMath.h"
#include "dbarcs.h"
#include "dbents.h"
#include "dbmline.h"
#include "win32/text.h"

using namespace plx::db;

ACRX_DXF_DEFINE_MEMBERS(AcDbMlineStyle, AcDbObject, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0,
                        MLINESTYLE, ACAD)
ACRX_DXF_DEFINE_MEMBERS(AcDbMline, AcDbEntity, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, MLINE,
                        ACAD)

// Styles.

AcDbMlineStyle::AcDbMlineStyle() { initMlineStyle(); }

void AcDbMlineStyle::Assign(const AcDbMlineStyle& other) {
  name_ = other.name_;
  description_ = other.description_;
  elements_ = other.elements_;
  showMiters_ = other.showMiters_;
  startSquare_ = other.startSquare_;
  startRound_ = other.startRound_;
  startInner_ = other.startInner_;
  endSquare_ = other.endSquare_;
  endRound_ = other.endRound_;
  endInner_ = other.endInner_;
  filled_ = other.filled_;
  fillColor_ = other.fillColor_;
  startAngle_ = other.startAngle_;
  endAngle_ = other.endAngle_;
}

void AcDbMlineStyle::initMlineStyle() {
  name_ = L"STANDARD";
  description_.clear();
  elements_ = {Element{0.5, AcCmColor(), AcDbObjectId()},
               Element{-0.5, AcCmColor(), AcDbObjectId()}};
  showMiters_ = startSquare_ = startRound_ = startInner_ = false;
  endSquare_ = endRound_ = endInner_ = filled_ = false;
  fillColor_ = AcCmColor();
  startAngle_ = endAngle_ = kPi / 2;
}

Acad::ErrorStatus AcDbMlineStyle::setName(const ACHAR* name) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!name || !*name) return Acad::eInvalidInput;
  name_ = name;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMlineStyle::setDescription(const ACHAR* description) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  description_ = description ? description : L"";
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMlineStyle::addElement(int& index, double offset, const AcCmColor& color,
                                             AcDbObjectId linetypeId, bool) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!std::isfinite(offset)) return Acad::eInvalidInput;
  auto at = std::find_if(elements_.begin(), elements_.end(),
                         [&](const Element& e) { return e.offset < offset; });
  index = static_cast<int>(at - elements_.begin());
  elements_.insert(at, Element{offset, color, linetypeId});
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMlineStyle::removeElementAt(int index) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (index < 0 || index >= numElements()) return Acad::eInvalidIndex;
  elements_.erase(elements_.begin() + index);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMlineStyle::getElementAt(int index, double& offset, AcCmColor& color,
                                               AcDbObjectId& linetypeId) const {
  if (index < 0 || index >= numElements()) return Acad::eInvalidIndex;
  offset = elements_[static_cast<size_t>(index)].offset;
  color = elements_[static_cast<size_t>(index)].color;
  linetypeId = elements_[static_cast<size_t>(index)].linetype;
  return Acad::eOk;
}

// Multilines.

Acad::ErrorStatus AcDbMline::SetStyle(const AcDbMlineStyle& style) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  style_.Assign(style);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMline::setJustification(Mline::MlineJustification justification) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (justification < Mline::kTop || justification > Mline::kBottom) return Acad::eInvalidInput;
  justification_ = justification;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMline::setScale(double scale) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!std::isfinite(scale) || scale == 0) return Acad::eInvalidInput;
  scale_ = scale;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMline::setNormal(const AcGeVector3d& normal) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(normal) || normal.isZeroLength()) return Acad::eInvalidInput;
  normal_ = normal.normal();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMline::setClosedMline(bool closed) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  closed_ = closed;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMline::setSupressStartCaps(bool suppress) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  noStartCaps_ = suppress;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMline::setSupressEndCaps(bool suppress) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  noEndCaps_ = suppress;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMline::appendSeg(const AcGePoint3d& point) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(point)) return Acad::eInvalidInput;
  AcGePoint3d p = point;
  if (!vertices_.empty()) p -= normal_ * (p - vertices_.front()).dotProduct(normal_);
  vertices_.push_back(p);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMline::removeLastSeg(AcGePoint3d& lastPoint) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (vertices_.empty()) return Acad::eInvalidIndex;
  lastPoint = vertices_.back();
  vertices_.pop_back();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMline::moveVertexAt(int index, const AcGePoint3d& point) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (index < 0 || index >= numVertices()) return Acad::eInvalidIndex;
  if (!Finite(point)) return Acad::eInvalidInput;
  vertices_[static_cast<size_t>(index)] = point;
  return Acad::eOk;
}

AcGePoint3d AcDbMline::vertexAt(int index) const {
  return index >= 0 && index < numVertices() ? vertices_[static_cast<size_t>(index)]
                                             : AcGePoint3d();
}

AcGeVector3d AcDbMline::axisAt(int index) const {
  const int n = numVertices();
  if (index < 0 || index >= n || n < 2) return AcGeVector3d();
  if (index + 1 < n)
    return (vertices_[static_cast<size_t>(index + 1)] - vertices_[static_cast<size_t>(index)])
        .normal();
  if (closed_) return (vertices_.front() - vertices_.back()).normal();
  return (vertices_.back() - vertices_[static_cast<size_t>(n - 2)]).normal();
}

AcGeVector3d AcDbMline::miterAt(int index) const {
  const int n = numVertices();
  if (index < 0 || index >= n || n < 2) return AcGeVector3d();
  const AcGeVector3d out = normal_.crossProduct(axisAt(index));
  const bool hasIncoming = closed_ || index > 0;
  const bool hasOutgoing = closed_ || index + 1 < n;
  if (!hasIncoming || !hasOutgoing) return out;  // an open end: square to its segment
  const AcGeVector3d in = normal_.crossProduct(axisAt(index == 0 ? n - 1 : index - 1));
  const AcGeVector3d miter = in + out;
  // A path that turns back on itself has no bisector: keep the outgoing normal.
  return miter.isZeroLength(AcGeTol()) ? out : miter.normal();
}

double AcDbMline::Shift() const {
  const auto& elements = style_.Elements();
  if (elements.empty() || justification_ == Mline::kZero) return 0;
  double top = elements.front().offset, bottom = top;
  for (const auto& e : elements) {
    top = std::max(top, e.offset);
    bottom = std::min(bottom, e.offset);
  }
  return justification_ == Mline::kTop ? top : bottom;
}

AcGePoint3d AcDbMline::ElementPoint(int vertex, double offset) const {
  const AcGeVector3d miter = miterAt(vertex);
  const AcGeVector3d left = normal_.crossProduct(axisAt(vertex));
  const double along = miter.dotProduct(left);
  const double distance = (offset - Shift()) * scale_;
  return vertexAt(vertex) + miter * (std::abs(along) > 1e-9 ? distance / along : distance);
}

Acad::ErrorStatus AcDbMline::explode(AcDbVoidPtrArray& entities) const {
  const int n = numVertices();
  const auto& elements = style_.Elements();
  if (n < 2 || elements.empty()) return Acad::eOk;
  auto add = [&](AcDbEntity* piece, const AcCmColor* color) {
    piece->setPropertiesFrom(this);
    if (color && !color->isByLayer()) piece->setColor(*color);
    entities.append(piece);
  };
  auto line = [&](const AcGePoint3d& a, const AcGePoint3d& b, const AcCmColor* color) {
    if (a.isEqualTo(b)) return;
    auto* piece = new AcDbLine(a, b);
    piece->setNormal(normal_);
    add(piece, color);
  };
  // A half circle from point "from" to point "to", counter-clockwise about the normal.
  auto halfCircle = [&](const AcGePoint3d& from, const AcGePoint3d& to, const AcCmColor* color) {
    const AcGePoint3d center = from + (to - from) * 0.5;
    const double radius = from.distanceTo(to) / 2;
    if (radius <= 0) return;
    AcGeVector3d x, y;
    OcsAxes(normal_, x, y);
    const AcGeVector3d d = from - center;
    const double start = std::atan2(d.dotProduct(y), d.dotProduct(x));
    add(new AcDbArc(center, normal_, radius, start, start + kPi), color);
  };

  const int segments = closed_ ? n : n - 1;
  for (const auto& e : elements)
    for (int s = 0; s < segments; ++s)
      line(ElementPoint(s, e.offset), ElementPoint((s + 1) % n, e.offset), &e.color);

  // Elements in descending order of offset: the first is the leftmost.
  std::vector<double> offsets;
  for (const auto& e : elements) offsets.push_back(e.offset);
  std::sort(offsets.begin(), offsets.end(), std::greater<double>());
  const double top = offsets.front(), bottom = offsets.back();
  if (style_.showMiters())
    for (int v = closed_ ? 0 : 1; v < (closed_ ? n : n - 1); ++v)
      line(ElementPoint(v, top), ElementPoint(v, bottom), nullptr);
  if (closed_) return Acad::eOk;

  const size_t pairs = offsets.size() / 2;
  if (!noStartCaps_) {
    if (style_.startSquareCap()) line(ElementPoint(0, top), ElementPoint(0, bottom), nullptr);
    // Counter-clockwise from the left element turns backwards, away from the first segment.
    if (style_.startRoundCap()) halfCircle(ElementPoint(0, top), ElementPoint(0, bottom), nullptr);
    if (style_.startInnerArcs())
      for (size_t k = 1; k < pairs; ++k)
        halfCircle(ElementPoint(0, offsets[k]), ElementPoint(0, offsets[offsets.size() - 1 - k]),
                   nullptr);
  }
  if (!noEndCaps_) {
    const int last = n - 1;
    if (style_.endSquareCap()) line(ElementPoint(last, top), ElementPoint(last, bottom), nullptr);
    // Counter-clockwise from the right element turns forwards, beyond the last segment.
    if (style_.endRoundCap())
      halfCircle(ElementPoint(last, bottom), ElementPoint(last, top), nullptr);
    if (style_.endInnerArcs())
      for (size_t k = 1; k < pairs; ++k)
        halfCircle(ElementPoint(last, offsets[offsets.size() - 1 - k]),
                   ElementPoint(last, offsets[k]), nullptr);
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMline::getGeomExtents(AcDbExtents& extents) const {
  if (vertices_.empty()) return Acad::eInvalidExtents;
  AcDbExtents box;
  for (const AcGePoint3d& p : vertices_) box.addPoint(p);
  AcDbVoidPtrArray pieces;
  explode(pieces);
  for (void* piece : pieces) {
    auto* entity = static_cast<AcDbEntity*>(piece);
    AcDbExtents part;
    if (entity->getGeomExtents(part) == Acad::eOk) box.addExt(part);
    delete entity;
  }
  extents = box;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbMline::transformBy(const AcGeMatrix3d& matrix) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!matrix.isUniScaledOrtho()) return Acad::eCannotScaleNonUniformly;
  AcGeVector3d x, y;
  OcsAxes(normal_, x, y);
  // With the carried normal the left side stays the left side, a mirror included.
  const CarriedFrame frame = CarryFrame(matrix, x, y);
  for (AcGePoint3d& p : vertices_) p.transformBy(matrix);
  normal_ = frame.normal;
  scale_ *= frame.xAxis.length();
  return Acad::eOk;
}

void AcDbMline::ListGeometry() const {
  static const wchar_t* kJustifications[3] = {L"Top", L"Zero", L"Bottom"};
  ListLine(plx::FormatWide(L"                  Justification = %ls, Scale = %10.4f, Style = %ls",
                           kJustifications[justification_], scale_, style_.name()));
  ListLine(closed_ ? L"                  Closed" : L"                  Open");
  for (const AcGePoint3d& p : vertices_) ListLine(L"                  Vertex: " + ListPoint(p));
}
