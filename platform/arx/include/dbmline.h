// The host's multiline (MLINE): parallel lines along a path of vertices in the plane of its
// normal, drawn by a multiline style's elements (offsets to the left of the path, in drawing
// units times the multiline's scale), with optional caps and miter lines.
//
// Our host keeps no dictionary of styles: a multiline holds its own copy of its style, the
// "STANDARD" style (elements at +0.5 and -0.5, no caps) unless given another with SetStyle.
#pragma once

#include <string>
#include <vector>

#include "dbcurve.h"
#include "dbmain.h"

struct Mline {
  enum MlineJustification { kTop = 0, kZero = 1, kBottom = 2 };
};

class AcDbMlineStyle : public AcDbObject {
 public:
  ACRX_DECLARE_MEMBERS(AcDbMlineStyle);
  AcDbMlineStyle();  // as initMlineStyle()
  AcRxObject* clone() const override { return new AcDbMlineStyle(*this); }
  AcDbMlineStyle(const AcDbMlineStyle& other) = default;

  // Our own: takes every setting of the other style (objects cannot be assigned).
  void Assign(const AcDbMlineStyle& other);
  // The "STANDARD" style: two elements at +0.5 and -0.5 by layer, no caps, no miters.
  void initMlineStyle();
  const ACHAR* name() const { return name_.c_str(); }
  Acad::ErrorStatus setName(const ACHAR* name);  // eInvalidInput for null or empty
  const ACHAR* description() const { return description_.c_str(); }
  Acad::ErrorStatus setDescription(const ACHAR* description);

  // Elements are kept in descending order of offset; index receives the new element's place.
  // eInvalidInput for a non-finite offset.
  Acad::ErrorStatus addElement(int& index, double offset, const AcCmColor& color,
                               AcDbObjectId linetypeId, bool checkIfReferenced = true);
  Acad::ErrorStatus removeElementAt(int index);  // eInvalidIndex
  int numElements() const { return static_cast<int>(elements_.size()); }
  Acad::ErrorStatus getElementAt(int index, double& offset, AcCmColor& color,
                                 AcDbObjectId& linetypeId) const;

  bool showMiters() const { return showMiters_; }
  void setShowMiters(bool show) { showMiters_ = show; }
  bool startSquareCap() const { return startSquare_; }
  void setStartSquareCap(bool cap) { startSquare_ = cap; }
  bool startRoundCap() const { return startRound_; }
  void setStartRoundCap(bool cap) { startRound_ = cap; }
  bool startInnerArcs() const { return startInner_; }
  void setStartInnerArcs(bool arcs) { startInner_ = arcs; }
  bool endSquareCap() const { return endSquare_; }
  void setEndSquareCap(bool cap) { endSquare_ = cap; }
  bool endRoundCap() const { return endRound_; }
  void setEndRoundCap(bool cap) { endRound_ = cap; }
  bool endInnerArcs() const { return endInner_; }
  void setEndInnerArcs(bool arcs) { endInner_ = arcs; }
  bool filled() const { return filled_; }
  void setFilled(bool filled) { filled_ = filled; }
  AcCmColor fillColor() const { return fillColor_; }
  void setFillColor(const AcCmColor& color) { fillColor_ = color; }
  // Cap angles are kept for the file's sake; caps are drawn square to the path.
  double startAngle() const { return startAngle_; }
  void setStartAngle(double angle) { startAngle_ = angle; }
  double endAngle() const { return endAngle_; }
  void setEndAngle(double angle) { endAngle_ = angle; }

  struct Element {
    double offset = 0;
    AcCmColor color;
    AcDbObjectId linetype;
  };
  const std::vector<Element>& Elements() const { return elements_; }

 private:
  std::wstring name_, description_;
  std::vector<Element> elements_;
  bool showMiters_ = false, startSquare_ = false, startRound_ = false, startInner_ = false;
  bool endSquare_ = false, endRound_ = false, endInner_ = false, filled_ = false;
  AcCmColor fillColor_;
  double startAngle_ = 3.14159265358979323846 / 2, endAngle_ = 3.14159265358979323846 / 2;
};

class AcDbMline : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbMline);
  AcDbMline() = default;
  AcRxObject* clone() const override { return new AcDbMline(*this); }

  // Our own: the style whose elements, caps and miters the multiline draws (a copy is kept).
  Acad::ErrorStatus SetStyle(const AcDbMlineStyle& style);
  const AcDbMlineStyle& Style() const { return style_; }
  // The style's id in the drawing: always null in our host, which keeps no style dictionary.
  AcDbObjectId style() const { return AcDbObjectId(); }

  Mline::MlineJustification justification() const { return justification_; }
  Acad::ErrorStatus setJustification(Mline::MlineJustification justification);
  double scale() const { return scale_; }
  Acad::ErrorStatus setScale(double scale);  // eInvalidInput for zero or non-finite
  AcGeVector3d normal() const { return normal_; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& normal);  // eInvalidInput for a zero vector
  bool closedMline() const { return closed_; }
  Acad::ErrorStatus setClosedMline(bool closed);
  bool supressStartCaps() const { return noStartCaps_; }
  Acad::ErrorStatus setSupressStartCaps(bool suppress);
  bool supressEndCaps() const { return noEndCaps_; }
  Acad::ErrorStatus setSupressEndCaps(bool suppress);

  // Vertices are projected into the plane through the first vertex with the normal.
  Acad::ErrorStatus appendSeg(const AcGePoint3d& point);    // eInvalidInput for a non-finite point
  Acad::ErrorStatus removeLastSeg(AcGePoint3d& lastPoint);  // eInvalidIndex without vertices
  Acad::ErrorStatus moveVertexAt(int index, const AcGePoint3d& point);
  int numVertices() const { return static_cast<int>(vertices_.size()); }
  // The vertex, the unit direction of the segment that starts there (the last vertex: of the
  // segment that ends there) and the unit miter direction; origin and zero for a bad index.
  AcGePoint3d vertexAt(int index) const;
  AcGeVector3d axisAt(int index) const;
  AcGeVector3d miterAt(int index) const;

  // The box of the exploded pieces; eInvalidExtents without vertices.
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  // Moves, turns, mirrors and scales uniformly; eCannotScaleNonUniformly otherwise.
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix) override;
  // Lines: for each element, one per segment (in element order, then segment order); then the
  // miter lines (style with miters) at the inner vertices; then, unless the multiline is closed
  // or the caps suppressed, the caps: a square cap is a line across the outer elements, a round
  // cap a half-circle arc joining them, inner arcs join the inner elements pairwise. Pieces
  // take the multiline's properties and a colour of their element's own.
  Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const override;

 protected:
  void ListGeometry() const override;

 private:
  AcGePoint3d ElementPoint(int vertex, double offset) const;
  double Shift() const;
  AcDbMlineStyle style_;
  std::vector<AcGePoint3d> vertices_;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
  double scale_ = 1;
  Mline::MlineJustification justification_ = Mline::kTop;
  bool closed_ = false, noStartCaps_ = false, noEndCaps_ = false;
};
