// Points along a curve at a distance step. The step is turned into a parameter step as if the
// parameter grew in proportion to the distance along the curve.
#include "toolkit/CurveReaders.h"

int SampleCurve(const AcDbCurve* curve, double step, AcGePoint3dArray& points) {
  double start = 0.0, end = 0.0, length = 0.0;
  curve->getStartParam(start);
  curve->getEndParam(end);
  curve->getDistAtParam(end, length);
  const double increment = step / length * (end - start);
  AcGePoint3d point;
  // A step that does not advance would never end: only the end point is taken then.
  if (increment > 0.0) {
    for (double t = start; end > t; t += increment) {
      curve->getPointAtParam(t, point);
      points.append(point);
    }
  }
  curve->getPointAtParam(end, point);
  points.append(point);
  return 1;
}
