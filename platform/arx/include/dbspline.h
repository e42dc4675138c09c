// The host's spline: a NURBS curve of degree 1 to 25 given by control points, a knot vector of
// (control points + degree + 1) non-decreasing values and, for a rational spline, one positive
// weight per control point; or made through fit points. The parameter is the knot parameter,
// from knot[degree] to knot[numControlPoints]. A spline made by the default constructor, or
// whose data were refused, holds nothing: isNull().
#pragma once

#include "dbcurve.h"
#include "gedblar.h"
#include "gept3dar.h"

class AcDbSpline : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDbSpline);
  AcDbSpline() = default;
  // As setNurbsData; invalid data leave a null spline.
  AcDbSpline(int degree, Adesk::Boolean rational, Adesk::Boolean closed, Adesk::Boolean periodic,
             const AcGePoint3dArray& controlPoints, const AcGeDoubleArray& knots,
             const AcGeDoubleArray& weights, double controlPtTol = 0.0, double knotTol = 0.0);
  // The spline of degree order - 1 through the fit points (global interpolation, chord-length
  // parameters from 0 to 1, averaged knots, clamped ends), with the end tangents when given.
  // The degree drops when there are too few points for it; fewer than two distinct points, or
  // an order outside 2 to 26, give a null spline. The fit tolerance is kept, and the curve
  // passes through every fit point whatever it is.
  explicit AcDbSpline(const AcGePoint3dArray& fitPoints, int order = 4, double fitTolerance = 0.0);
  AcDbSpline(const AcGePoint3dArray& fitPoints, const AcGeVector3d& startTangent,
             const AcGeVector3d& endTangent, int order = 4, double fitTolerance = 0.0);
  AcRxObject* clone() const override { return new AcDbSpline(*this); }

  // eNotOpenForWrite; eInvalidInput (nothing changes) for a degree outside 1 to 25, fewer than
  // degree + 1 control points, a knot count other than controls + degree + 1, decreasing or
  // non-finite knots, a domain of no length, or for a rational spline a weight count other than
  // the control count or a weight that is not positive. The weights of a non-rational spline
  // are not read (they may be empty). Fit data are dropped.
  Acad::ErrorStatus setNurbsData(int degree, Adesk::Boolean rational, Adesk::Boolean closed,
                                 Adesk::Boolean periodic, const AcGePoint3dArray& controlPoints,
                                 const AcGeDoubleArray& knots, const AcGeDoubleArray& weights,
                                 double controlPtTol = 0.0, double knotTol = 0.0);
  // The weights come back one per control point (1.0 for a non-rational spline).
  Acad::ErrorStatus getNurbsData(int& degree, Adesk::Boolean& rational, Adesk::Boolean& closed,
                                 Adesk::Boolean& periodic, AcGePoint3dArray& controlPoints,
                                 AcGeDoubleArray& knots, AcGeDoubleArray& weights,
                                 double& controlPtTol, double& knotTol) const;
  // eInvalidInput as for the fit-point constructor; nothing changes on failure.
  Acad::ErrorStatus setFitData(const AcGePoint3dArray& fitPoints, int degree, double fitTolerance,
                               const AcGeVector3d& startTangent, const AcGeVector3d& endTangent);
  // eNotApplicable for a spline that was not made through fit points.
  Acad::ErrorStatus getFitData(AcGePoint3dArray& fitPoints, int& degree, double& fitTolerance,
                               Adesk::Boolean& tangentsExist, AcGeVector3d& startTangent,
                               AcGeVector3d& endTangent) const;
  Adesk::Boolean hasFitData() const { return hasFit_; }
  int numFitPoints() const { return hasFit_ ? fitPoints_.length() : 0; }
  Acad::ErrorStatus getFitPointAt(int index, AcGePoint3d& point) const;  // eInvalidIndex

  Adesk::Boolean isNull() const { return controls_.isEmpty(); }
  int degree() const { return degree_; }
  Adesk::Boolean isRational() const { return rational_; }
  int numControlPoints() const { return controls_.length(); }
  Acad::ErrorStatus getControlPointAt(int index, AcGePoint3d& point) const;  // eInvalidIndex
  Acad::ErrorStatus setControlPointAt(int index, const AcGePoint3d& point);
  double weightAt(int index) const;  // 1.0 for a non-rational spline or a bad index
  Acad::ErrorStatus setWeightAt(int index, double weight);  // makes the spline rational

  // Closed when so flagged, periodic, or when its ends meet.
  Adesk::Boolean isClosed() const override;
  Adesk::Boolean isPeriodic() const override { return periodic_; }
  // eDegenerateGeometry for a null spline.
  Acad::ErrorStatus getStartParam(double& param) const override;
  Acad::ErrorStatus getEndParam(double& param) const override;
  Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const override;
  Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const override;
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  // Arc length by Gauss-Legendre quadrature over the knot spans.
  Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;

  // The box of the control points, which holds the curve.
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  // Any affine map: control and fit points move, weights stay.
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix) override;

 protected:
  void ListGeometry() const override;

 private:
  // The point and first derivative at u (in the domain).
  void Evaluate(double u, AcGePoint3d& point, AcGeVector3d& derivative) const;
  bool Interpolate(const AcGePoint3dArray& fitPoints, int degree, const AcGeVector3d* startTangent,
                   const AcGeVector3d* endTangent);

  int degree_ = 0;
  bool rational_ = false, closed_ = false, periodic_ = false;
  AcGePoint3dArray controls_;
  AcGeDoubleArray knots_;
  AcGeDoubleArray weights_;
  double controlTol_ = 0, knotTol_ = 0;
  bool hasFit_ = false;
  AcGePoint3dArray fitPoints_;
  int fitDegree_ = 3;
  double fitTol_ = 0;
  bool tangents_ = false;
  AcGeVector3d startTangent_, endTangent_;
};
