// The host's lightweight polyline (LWPOLYLINE): 2D vertices in the object coordinate system of
// its normal, at one elevation, each with a bulge and widths for the segment that starts there.
//
// Segment i runs from vertex i to vertex i + 1, and for a closed polyline the last one back to
// vertex 0. A bulge b is tan(theta/4) of the segment's included angle theta: 0 is straight, a
// positive bulge turns counter-clockwise about the normal, 1 is a half circle. Parameter k is
// at vertex k, the end parameter the segment count; along an arc the parameter grows with the
// angle.
#pragma once

#include <vector>

#include "dbcurve.h"
#include "gearc2d.h"
#include "gearc3d.h"
#include "gelnsg2d.h"
#include "gelnsg3d.h"
#include "gepnt2d.h"

class AcDbPolyline : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDbPolyline);
  enum SegType { kLine = 0, kArc = 1, kCoincident = 2, kPoint = 3, kEmpty = 4 };

  AcDbPolyline() = default;
  explicit AcDbPolyline(unsigned int numVerts);  // room for so many vertices, none yet
  AcRxObject* clone() const override { return new AcDbPolyline(*this); }

  unsigned int numVerts() const { return static_cast<unsigned int>(vertices_.size()); }
  // Inserts before index (numVerts() appends): eInvalidIndex above numVerts(); eInvalidInput
  // for a non-finite point or bulge. A negative width takes the constant width.
  Acad::ErrorStatus addVertexAt(unsigned int index, const AcGePoint2d& point, double bulge = 0.,
                                double startWidth = -1., double endWidth = -1.,
                                Adesk::Int32 vertexIdentifier = 0);
  Acad::ErrorStatus removeVertexAt(unsigned int index);  // eInvalidIndex
  // Empties the polyline, or (reuse) keeps the first numVerts vertices.
  Acad::ErrorStatus reset(Adesk::Boolean reuse, unsigned int numVerts);

  // The vertex in object coordinates, or (3D) in world coordinates at the elevation.
  Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint2d& point) const;
  Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint3d& point) const;
  Acad::ErrorStatus setPointAt(unsigned int index, const AcGePoint2d& point);
  Acad::ErrorStatus getBulgeAt(unsigned int index, double& bulge) const;
  Acad::ErrorStatus setBulgeAt(unsigned int index, double bulge);
  Acad::ErrorStatus getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const;
  Acad::ErrorStatus setWidthsAt(unsigned int index, double startWidth, double endWidth);
  Acad::ErrorStatus getVertexIdentifierAt(unsigned int index, Adesk::Int32& id) const;

  // kEmpty without vertices, kPoint for a single vertex or the last vertex of an open
  // polyline, kCoincident for a segment whose ends are equal, else kArc or kLine by the bulge.
  // An index at or above numVerts() gives kEmpty.
  SegType segType(unsigned int index) const;
  // The segment starting at vertex index: eInvalidIndex where there is none, eNotApplicable for
  // a segment of the other kind. The 3D forms are in world coordinates; an arc's normal is the
  // polyline's for a positive bulge and the reverse for a negative one, so that the arc always
  // runs counter-clockwise from the segment's start to its end.
  Acad::ErrorStatus getLineSegAt(unsigned int index, AcGeLineSeg2d& line) const;
  Acad::ErrorStatus getLineSegAt(unsigned int index, AcGeLineSeg3d& line) const;
  Acad::ErrorStatus getArcSegAt(unsigned int index, AcGeCircArc2d& arc) const;
  Acad::ErrorStatus getArcSegAt(unsigned int index, AcGeCircArc3d& arc) const;

  Adesk::Boolean isClosed() const override { return closed_; }
  void setClosed(Adesk::Boolean closed);
  Adesk::Boolean isOnlyLines() const;
  Adesk::Boolean hasBulges() const { return !isOnlyLines(); }
  Adesk::Boolean hasWidth() const;
  // eInvalidInput unless every segment has the same start and end width.
  Acad::ErrorStatus getConstantWidth(double& width) const;
  Acad::ErrorStatus setConstantWidth(double width);
  double elevation() const { return elevation_; }
  Acad::ErrorStatus setElevation(double elevation);
  AcGeVector3d normal() const { return normal_; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& normal);  // eInvalidInput for a zero vector
  double thickness() const { return thickness_; }
  Acad::ErrorStatus setThickness(double thickness);
  // The enclosed area (positive), arcs included; as if closed.
  Acad::ErrorStatus getArea(double& area) const;

  Acad::ErrorStatus getStartParam(double& param) const override;
  Acad::ErrorStatus getEndParam(double& param) const override;
  Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const override;
  Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const override;
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;

  // The tight box, arcs included; eInvalidExtents without vertices.
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  // Any affine map for straight polylines; with arcs, eCannotScaleNonUniformly unless uniform.
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix) override;
  // Lines and arcs in world coordinates, one per segment (points and coincident ends give none).
  Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const override;

  struct Vertex {
    AcGePoint2d point;
    double bulge = 0;
    double startWidth = 0;
    double endWidth = 0;
    Adesk::Int32 id = 0;
  };

 protected:
  void ListGeometry() const override;

 private:
  std::vector<Vertex> vertices_;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
  double elevation_ = 0;
  double thickness_ = 0;
  double constantWidth_ = 0;
  bool closed_ = false;
};
