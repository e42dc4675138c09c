// Point and curve entities read into openNURBS objects. Each reader takes an entity open for
// read (the caller closes it) and an output object, which it overwrites (PolylineToPolyCurve
// appends instead); coordinates are the entity's world coordinates, except the 2D polyline's,
// which stay in its own system. Every reader returns 1: the host's statuses are not looked at.
#pragma once

#include "arx.h"
#include "opennurbs.h"

// ON_Point at the position.
int PointToONPoint(AcDbPoint* point, ON_Point& onPoint);
// The line from start to end, over [0, length].
int LineToLineCurve(AcDbLine* line, ON_LineCurve& lineCurve);
// The unit segment from the base point B along the direction D: B to B + D.
int RayToLineCurve(AcDbRay* ray, ON_LineCurve& lineCurve);
// The segment from B + D to B - D, centred on the base point, against the direction.
int XlineToLineCurve(AcDbXline* xline, ON_LineCurve& lineCurve);
// The full circle about the normal, starting on the x axis openNURBS picks for the normal,
// over [0, 2 pi radius].
int CircleToArcCurve(AcDbCircle* circle, ON_ArcCurve& arcCurve);
// The arc from the start point counter-clockwise about the normal to the end point (a full
// circle when the two coincide), over its angle interval in radians.
int ArcToArcCurve(AcDbArc* arc, ON_ArcCurve& arcCurve);
// The rational quadratic form: a closed ellipse gives the 9-point form over [0, 2 pi]; an
// elliptical arc gives only the arc, from the entity's start point to its end point, over
// [p0, p1] where p0 and p1 are the ellipse parameters of the start and end angles (p1 taken a
// turn further when it is not above p0).
int EllipseToNurbsCurve(AcDbEllipse* ellipse, ON_NurbsCurve& nurbsCurve);
// Appends one new line or arc curve per line or arc segment (other segments add nothing);
// the segments the polycurve held stay in front. The polycurve owns what is appended.
int PolylineToPolyCurve(AcDbPolyline* polyline, ON_PolyCurve& polyCurve);
// The spline's control points and knot vector (without its first and last knot) as a
// non-rational curve of the same degree: weights, flags and tolerances are not carried over.
int SplineToNurbsCurve(AcDbSpline* spline, ON_NurbsCurve& nurbsCurve);
// The vertices in order (bulges ignored), the first repeated at the end when closed; point k
// at parameter k.
int PolylineToPolylineCurve(AcDbPolyline* polyline, ON_PolylineCurve& polylineCurve);
// Every vertex the iterator yields, x and y of its position with the elevation as z, in the
// polyline's own coordinates; the first repeated at the end when closed. A vertex that cannot
// be opened adds no point.
int Polyline2dToPolylineCurve(AcDb2dPolyline* polyline, ON_PolylineCurve& polylineCurve);
// Every vertex the iterator yields, at its position; the first repeated at the end when closed.
int Polyline3dToPolylineCurve(AcDb3dPolyline* polyline, ON_PolylineCurve& polylineCurve);

// A new point array (the caller's) with the points in order.
ON_3dPointArray PointsToPointArray(const AcGePoint3dArray& points);

// Appends points along the curve to points (which is not emptied): from the start parameter in
// steps of step / length of the parameter range while below the end parameter, then always
// the end point. step must be positive. Returns 1.
int SampleCurve(const AcDbCurve* curve, double step, AcGePoint3dArray& points);
