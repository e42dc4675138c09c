// openNURBS NURBS curves written as entities: the simplest entity that describes the curve
// (line, circle, arc, 3D polyline), else a spline with the curve's NURBS data; and splines
// through fit points. New entities get the layer (an empty name leaves the current one) and
// colour, go into model space of the working database and are closed.
#pragma once

#include "afx.h"
#include "arx.h"
#include "opennurbs.h"

// Copies degree, rational, closed and periodic flags, the Euclidean control points, a weight
// per control point (1 when not rational) and the knots (openNURBS's knot vector with its
// first and last knot once more) into spline. 1, or 0 with "Enable to create Spline" in the
// geometry module's last-error text when the spline stays null.
int NurbsCurveToSpline(const ON_NurbsCurve& curve, AcDbSpline* spline);

// The first of TVKCurve::IsLine, IsCircle, IsArc and IsPolyline that accepts the curve decides
// the entity; a curve that none accepts becomes a spline, appended even when it stays null.
// Always 1.
int CurveToEntity(const ON_NurbsCurve& curve, const CString& layer, const AcCmColor& colour);
int CurveToEntity(const ON_ClassArray<ON_NurbsCurve>& curves, const CString& layer,
                  const AcCmColor& colour);

// A cubic spline through the points, in order, without end tangents. Fewer than two distinct
// points give a null spline, appended all the same. Always 1.
int FitPointsToSpline(const ON_3dPointArray& points, const CString& layer, const AcCmColor& colour);
