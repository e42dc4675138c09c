// The host's arcs, ellipses and unbounded lines.
//
// Arcs lie in the plane through their centre with their normal; their angles are measured
// counter-clockwise about the normal from the object X axis that the arbitrary-axis rule gives
// for the normal, and the arc runs counter-clockwise from the start angle to the end angle.
// Ellipses distinguish angles (the direction of a point seen from the centre, from the major
// axis about the normal) from parameters (t in centre + cos t major + sin t minor); the two
// agree at multiples of pi/2.
#pragma once

#include "dbcurve.h"
#include "dbmain.h"

// A ray: from a base point along a unit direction without end. Parameter: the distance from
// the base point. The end has neither parameter nor point (eNotApplicable).
class AcDbRay : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDbRay);
  AcDbRay() = default;  // at the origin along X
  AcRxObject* clone() const override { return new AcDbRay(*this); }

  AcGePoint3d basePoint() const { return base_; }
  Acad::ErrorStatus setBasePoint(const AcGePoint3d& point);
  AcGeVector3d unitDir() const { return dir_; }
  // Stored as a unit vector; eInvalidInput for a zero or non-finite vector.
  Acad::ErrorStatus setUnitDir(const AcGeVector3d& direction);
  // The point one unit along the ray; setting it sets the direction towards it.
  AcGePoint3d secondPoint() const { return base_ + dir_; }
  Acad::ErrorStatus setSecondPoint(const AcGePoint3d& point);

  Acad::ErrorStatus getStartParam(double& param) const override;
  Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const override;
  // Any parameter not below 0; eInvalidInput for a negative one.
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const override;
  Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;

  // No finite box: eInvalidExtents.
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix) override;

 protected:
  void ListGeometry() const override;

 private:
  AcGePoint3d base_;
  AcGeVector3d dir_ = AcGeVector3d::kXAxis;
};

// A construction line: through a base point along a unit direction, both ways without end.
// Parameter: the signed distance from the base point; there is no start or end.
class AcDbXline : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDbXline);
  AcDbXline() = default;
  AcRxObject* clone() const override { return new AcDbXline(*this); }

  AcGePoint3d basePoint() const { return base_; }
  Acad::ErrorStatus setBasePoint(const AcGePoint3d& point);
  AcGeVector3d unitDir() const { return dir_; }
  Acad::ErrorStatus setUnitDir(const AcGeVector3d& direction);  // eInvalidInput for zero
  AcGePoint3d secondPoint() const { return base_ + dir_; }
  Acad::ErrorStatus setSecondPoint(const AcGePoint3d& point);

  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const override;

  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;  // eInvalidExtents
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix) override;

 protected:
  void ListGeometry() const override;

 private:
  AcGePoint3d base_;
  AcGeVector3d dir_ = AcGeVector3d::kXAxis;
};

// A circular arc. Angles are kept in 0 .. 2 pi; equal start and end angles are a full turn.
// Parameter: the angle, from the start angle to the end parameter, which is the end angle plus
// 2 pi when the arc passes the object X axis.
class AcDbArc : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDbArc);
  AcDbArc() = default;
  AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle);
  AcDbArc(const AcGePoint3d& center, const AcGeVector3d& normal, double radius, double startAngle,
          double endAngle);
  AcRxObject* clone() const override { return new AcDbArc(*this); }

  AcGePoint3d center() const { return center_; }
  Acad::ErrorStatus setCenter(const AcGePoint3d& center);
  double radius() const { return radius_; }
  Acad::ErrorStatus setRadius(double radius);  // eInvalidInput unless positive and finite
  AcGeVector3d normal() const { return normal_; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& normal);  // eInvalidInput for a zero vector
  double startAngle() const { return start_; }
  Acad::ErrorStatus setStartAngle(
      double angle);  // reduced to 0 .. 2 pi; eInvalidInput if not finite
  double endAngle() const { return end_; }
  Acad::ErrorStatus setEndAngle(double angle);
  // The sweep from start to end, in (0, 2 pi].
  double totalAngle() const;
  double length() const { return radius_ * totalAngle(); }
  double thickness() const { return thickness_; }
  Acad::ErrorStatus setThickness(double thickness);

  Acad::ErrorStatus getStartParam(double& param) const override;
  Acad::ErrorStatus getEndParam(double& param) const override;
  Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const override;
  Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const override;
  // eInvalidInput for a parameter outside start .. end.
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const override;
  Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;

  // The tight box of the arc itself.
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  // Moves, turns, mirrors and scales uniformly; eCannotScaleNonUniformly otherwise.
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix) override;

 protected:
  void ListGeometry() const override;

 private:
  AcGePoint3d center_;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
  double radius_ = 0;
  double start_ = 0;
  double end_ = 0;
  double thickness_ = 0;
};

// An ellipse or elliptical arc: centre, unit normal, major axis (from the centre to the curve,
// perpendicular to the normal), the minor/major radius ratio (0 to 1) and the start and end
// angles. The start angle is kept in 0 .. 2 pi and the end angle above it, within one turn:
// a full ellipse runs from 0 to 2 pi.
class AcDbEllipse : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDbEllipse);
  AcDbEllipse() = default;
  AcDbEllipse(const AcGePoint3d& center, const AcGeVector3d& unitNormal,
              const AcGeVector3d& majorAxis, double radiusRatio, double startAngle = 0.0,
              double endAngle = 2 * 3.14159265358979323846);
  AcRxObject* clone() const override { return new AcDbEllipse(*this); }

  // eInvalidInput for a zero or non-finite normal or major axis, a major axis that is not
  // perpendicular to the normal, a ratio outside (0, 1] or a non-finite angle; nothing changes.
  Acad::ErrorStatus set(const AcGePoint3d& center, const AcGeVector3d& unitNormal,
                        const AcGeVector3d& majorAxis, double radiusRatio, double startAngle = 0.0,
                        double endAngle = 2 * 3.14159265358979323846);
  Acad::ErrorStatus get(AcGePoint3d& center, AcGeVector3d& unitNormal, AcGeVector3d& majorAxis,
                        double& radiusRatio, double& startAngle, double& endAngle) const;

  AcGePoint3d center() const { return center_; }
  Acad::ErrorStatus setCenter(const AcGePoint3d& center);
  AcGeVector3d normal() const { return normal_; }
  AcGeVector3d majorAxis() const { return major_; }
  // normal x majorAxis, scaled by the ratio.
  AcGeVector3d minorAxis() const;
  double majorRadius() const { return major_.length(); }
  double minorRadius() const { return major_.length() * ratio_; }
  double radiusRatio() const { return ratio_; }
  Acad::ErrorStatus setRadiusRatio(double ratio);  // eInvalidInput outside (0, 1]

  double startAngle() const { return start_; }
  double endAngle() const { return start_ + sweep_; }
  Acad::ErrorStatus setStartAngle(double angle);  // keeps the end where it was
  Acad::ErrorStatus setEndAngle(double angle);
  double startParam() const { return paramAtAngle(startAngle()); }
  double endParam() const { return paramAtAngle(endAngle()); }
  Acad::ErrorStatus setStartParam(double param) { return setStartAngle(angleAtParam(param)); }
  Acad::ErrorStatus setEndParam(double param) { return setEndAngle(angleAtParam(param)); }
  // The parameter of the point in the direction of the angle, and the other way round; whole
  // turns carry over (the angle 2 pi gives the parameter 2 pi).
  double paramAtAngle(double angle) const;
  double angleAtParam(double param) const;
  bool isNull() const { return major_.isZeroLength(); }

  Adesk::Boolean isClosed() const override;
  Adesk::Boolean isPeriodic() const override { return isClosed(); }
  // Parameters from startParam() to endParam().
  Acad::ErrorStatus getStartParam(double& param) const override;
  Acad::ErrorStatus getEndParam(double& param) const override;
  Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const override;
  Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const override;
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const override;
  Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;

  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  // Moves, turns, mirrors and scales uniformly; eCannotScaleNonUniformly otherwise.
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix) override;

 protected:
  void ListGeometry() const override;

 private:
  AcGePoint3d PointAt(double param) const;
  AcGePoint3d center_;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
  AcGeVector3d major_;  // zero: a null ellipse until set
  double ratio_ = 1;
  double start_ = 0;
  double sweep_ = 2 * 3.14159265358979323846;
};
