// Angles, object coordinates, elliptic boxes and carried frames for the curve entities.
#include "CurveMath.h"

#include <algorithm>

#include "win32/text.h"
#include "win32/transcript.h"

namespace plx::db {

double NormalizeAngle(double angle) {
  if (!std::isfinite(angle)) return angle;
  double a = std::fmod(angle, kTwoPi);
  if (a < 0) a += kTwoPi;
  if (a >= kTwoPi) a -= kTwoPi;
  return a;
}

double Sweep(double start, double end) {
  const double s = NormalizeAngle(end - start);
  return s <= 0 ? kTwoPi : s;
}

void OcsAxes(const AcGeVector3d& normal, AcGeVector3d& xAxis, AcGeVector3d& yAxis) {
  AcGePoint3d origin;
  AcGeVector3d z;
  AcGeMatrix3d::planeToWorld(normal).getCoordSystem(origin, xAxis, yAxis, z);
}

AcGePoint3d OcsToWorld(const AcGeVector3d& normal, const AcGePoint3d& ocs) {
  return AcGeMatrix3d::planeToWorld(normal) * ocs;
}

AcGePoint3d WorldToOcs(const AcGeVector3d& normal, const AcGePoint3d& world) {
  return AcGeMatrix3d::worldToPlane(normal) * world;
}

void AddEllipticExtents(AcDbExtents& extents, const AcGePoint3d& c, const AcGeVector3d& u,
                        const AcGeVector3d& v, double t0, double t1) {
  auto at = [&](double t) { return c + u * std::cos(t) + v * std::sin(t); };
  extents.addPoint(at(t0));
  extents.addPoint(at(t1));
  // Along axis i the coordinate is c_i + u_i cos t + v_i sin t: extreme where tan t = v_i/u_i.
  for (unsigned i = 0; i < 3; ++i) {
    if (u[i] == 0 && v[i] == 0) continue;
    const double base = std::atan2(v[i], u[i]);
    for (int k = 0; k < 2; ++k) {
      const double extreme = base + k * kPi;
      // The first occurrence of that angle at or after t0.
      const double t = t0 + NormalizeAngle(extreme - t0);
      if (t <= t1) extents.addPoint(at(t));
    }
  }
}

CarriedFrame CarryFrame(const AcGeMatrix3d& matrix, const AcGeVector3d& xAxis,
                        const AcGeVector3d& yAxis) {
  CarriedFrame frame;
  frame.xAxis = matrix * xAxis;
  frame.yAxis = matrix * yAxis;
  frame.normal = frame.xAxis.crossProduct(frame.yAxis).normal();
  return frame;
}

void ListLine(const std::wstring& text) { plx::WriteTranscript(text + L"\n"); }

std::wstring ListVector(const AcGeVector3d& v) {
  return plx::FormatWide(L"X=%10.4f  Y=%10.4f  Z=%10.4f", v.x, v.y, v.z);
}

}  // namespace plx::db
