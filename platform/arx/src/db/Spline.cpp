// Splines: NURBS data, evaluation and arc length, and interpolation through fit points.
// Evaluation works in homogeneous coordinates with the B-spline basis and its first
// derivative (Cox-de Boor). Fit points are interpolated globally: chord-length parameters on
// [0, 1], knots by averaging the parameters, clamped ends; given end tangents add one
// derivative condition at each end and one control point each. The system is banded and, for
// these knots, totally positive, so elimination without pivoting is stable.
#include <algorithm>
#include <cmath>
#include <vector>

#include "Access.h"
#include "CurveMath.h"
#include "dbspline.h"
#include "win32/text.h"

using namespace plx::db;

ACRX_DXF_DEFINE_MEMBERS(AcDbSpline, AcDbCurve, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0,
                        SPLINE, ACAD)

namespace {

constexpr int kMaxDegree = 25;

// The span index i with knots[i] <= u < knots[i + 1], within degree .. n - 1 (n controls).
int FindSpan(const AcGeDoubleArray& knots, int degree, int n, double u) {
  if (u >= knots[n]) {
    int span = n - 1;
    while (span > degree && knots[span] >= knots[n]) --span;
    return span;
  }
  if (u <= knots[degree]) {
    int span = degree;
    while (span < n - 1 && knots[span + 1] <= u) ++span;
    return span;
  }
  int lo = degree, hi = n;
  while (hi - lo > 1) {
    const int mid = (lo + hi) / 2;
    if (u < knots[mid])
      hi = mid;
    else
      lo = mid;
  }
  return lo;
}

// The degree + 1 non-zero basis functions at u and their first derivatives.
void BasisWithDerivative(const AcGeDoubleArray& knots, int span, int degree, double u,
                         std::vector<double>& basis, std::vector<double>& derivative) {
  const int p = degree;
  std::vector<std::vector<double>> ndu(p + 1, std::vector<double>(p + 1, 0.0));
  std::vector<double> left(p + 1), right(p + 1);
  ndu[0][0] = 1;
  for (int j = 1; j <= p; ++j) {
    left[j] = u - knots[span + 1 - j];
    right[j] = knots[span + j] - u;
    double saved = 0;
    for (int r = 0; r < j; ++r) {
      ndu[j][r] = right[r + 1] + left[j - r];  // lower triangle: knot differences
      const double temp = ndu[j][r] != 0 ? ndu[r][j - 1] / ndu[j][r] : 0;
      ndu[r][j] = saved + right[r + 1] * temp;
      saved = left[j - r] * temp;
    }
    ndu[j][j] = saved;
  }
  basis.assign(p + 1, 0);
  derivative.assign(p + 1, 0);
  for (int j = 0; j <= p; ++j) basis[j] = ndu[j][p];
  if (p == 0) return;
  // N'_{i,p} = p (N_{i,p-1} / (u_{i+p} - u_i) - N_{i+1,p-1} / (u_{i+p+1} - u_{i+1})).
  for (int r = 0; r <= p; ++r) {
    double d = 0;
    if (r >= 1 && ndu[p][r - 1] != 0) d += ndu[r - 1][p - 1] / ndu[p][r - 1];
    if (r <= p - 1 && ndu[p][r] != 0) d -= ndu[r][p - 1] / ndu[p][r];
    derivative[r] = d * p;
  }
}

bool ValidKnots(const AcGeDoubleArray& knots, int degree, int controls) {
  if (knots.length() != controls + degree + 1) return false;
  for (int i = 0; i < knots.length(); ++i) {
    if (!std::isfinite(knots[i])) return false;
    if (i > 0 && knots[i] < knots[i - 1]) return false;
  }
  return knots[controls] > knots[degree];
}

// Solves the banded square system a x = b in place (rows of half-width band); false when a
// pivot vanishes.
bool SolveBanded(std::vector<std::vector<double>>& a, std::vector<AcGeVector3d>& b, int band) {
  const int n = static_cast<int>(b.size());
  for (int k = 0; k < n; ++k) {
    const double pivot = a[k][k];
    if (std::abs(pivot) < 1e-300) return false;
    const int last = std::min(n - 1, k + band);
    for (int i = k + 1; i <= last; ++i) {
      const double f = a[i][k] / pivot;
      if (f == 0) continue;
      for (int j = k; j <= last; ++j) a[i][j] -= f * a[k][j];
      b[i] -= b[k] * f;
    }
  }
  for (int k = n - 1; k >= 0; --k) {
    AcGeVector3d sum = b[k];
    for (int j = k + 1; j <= std::min(n - 1, k + band); ++j) sum -= b[j] * a[k][j];
    b[k] = sum / a[k][k];
  }
  return true;
}

}  // namespace

AcDbSpline::AcDbSpline(int degree, Adesk::Boolean rational, Adesk::Boolean closed,
                       Adesk::Boolean periodic, const AcGePoint3dArray& controlPoints,
                       const AcGeDoubleArray& knots, const AcGeDoubleArray& weights,
                       double controlPtTol, double knotTol) {
  setNurbsData(degree, rational, closed, periodic, controlPoints, knots, weights, controlPtTol,
               knotTol);
}

AcDbSpline::AcDbSpline(const AcGePoint3dArray& fitPoints, int order, double fitTolerance) {
  if (order >= 2 && order <= kMaxDegree + 1 &&
      Interpolate(fitPoints, order - 1, nullptr, nullptr)) {
    fitTol_ = fitTolerance;
  }
}

AcDbSpline::AcDbSpline(const AcGePoint3dArray& fitPoints, const AcGeVector3d& startTangent,
                       const AcGeVector3d& endTangent, int order, double fitTolerance) {
  if (order >= 2 && order <= kMaxDegree + 1 &&
      Interpolate(fitPoints, order - 1, &startTangent, &endTangent)) {
    fitTol_ = fitTolerance;
  }
}

Acad::ErrorStatus AcDbSpline::setNurbsData(int degree, Adesk::Boolean rational,
                                           Adesk::Boolean closed, Adesk::Boolean periodic,
                                           const AcGePoint3dArray& controlPoints,
                                           const AcGeDoubleArray& knots,
                                           const AcGeDoubleArray& weights, double controlPtTol,
                                           double knotTol) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (degree < 1 || degree > kMaxDegree || controlPoints.length() < degree + 1)
    return Acad::eInvalidInput;
  for (const AcGePoint3d& p : controlPoints)
    if (!Finite(p)) return Acad::eInvalidInput;
  if (!ValidKnots(knots, degree, controlPoints.length())) return Acad::eInvalidInput;
  if (rational) {
    if (weights.length() != controlPoints.length()) return Acad::eInvalidInput;
    for (double w : weights)
      if (!std::isfinite(w) || w <= 0) return Acad::eInvalidInput;
  }
  degree_ = degree;
  rational_ = rational;
  closed_ = closed;
  periodic_ = periodic;
  controls_ = controlPoints;
  knots_ = knots;
  weights_ = rational ? weights : AcGeDoubleArray();
  controlTol_ = controlPtTol;
  knotTol_ = knotTol;
  hasFit_ = false;
  fitPoints_.removeAll();
  tangents_ = false;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getNurbsData(int& degree, Adesk::Boolean& rational,
                                           Adesk::Boolean& closed, Adesk::Boolean& periodic,
                                           AcGePoint3dArray& controlPoints, AcGeDoubleArray& knots,
                                           AcGeDoubleArray& weights, double& controlPtTol,
                                           double& knotTol) const {
  degree = degree_;
  rational = rational_;
  closed = closed_;
  periodic = periodic_;
  controlPoints = controls_;
  knots = knots_;
  weights.removeAll();
  for (int i = 0; i < controls_.length(); ++i) weights.append(weightAt(i));
  controlPtTol = controlTol_;
  knotTol = knotTol_;
  return Acad::eOk;
}

bool AcDbSpline::Interpolate(const AcGePoint3dArray& fitPoints, int degree,
                             const AcGeVector3d* startTangent, const AcGeVector3d* endTangent) {
  const bool tangents =
      startTangent && endTangent && !startTangent->isZeroLength() && !endTangent->isZeroLength();
  const int m = fitPoints.length() - 1;
  if (m < 1) return false;
  for (const AcGePoint3d& q : fitPoints)
    if (!Finite(q)) return false;
  if ((startTangent && !Finite(*startTangent)) || (endTangent && !Finite(*endTangent)))
    return false;
  // Chord-length parameters; repeated points would share a parameter and make the system
  // singular.
  double total = 0;
  std::vector<double> chord(m + 1, 0.0);
  for (int k = 1; k <= m; ++k) {
    const double d = fitPoints[k].distanceTo(fitPoints[k - 1]);
    if (!(d > 0)) return false;
    total += d;
    chord[k] = total;
  }
  std::vector<double> ubar(m + 1);
  for (int k = 0; k <= m; ++k) ubar[k] = chord[k] / total;
  ubar[m] = 1;

  const int n = tangents ? m + 3 : m + 1;  // control points
  const int p = std::min(degree, n - 1);
  AcGeDoubleArray knots;
  for (int i = 0; i <= p; ++i) knots.append(0.0);
  if (!tangents) {
    for (int j = 1; j <= m - p; ++j) {
      double sum = 0;
      for (int i = j; i <= j + p - 1; ++i) sum += ubar[i];
      knots.append(sum / p);
    }
  } else {
    for (int j = 1; j <= m - p + 2; ++j) {
      double sum = 0;
      for (int i = j - 1; i <= j + p - 2; ++i) sum += ubar[std::clamp(i, 0, m)];
      knots.append(sum / p);
    }
  }
  for (int i = 0; i <= p; ++i) knots.append(1.0);
  if (knots.length() != n + p + 1) return false;

  std::vector<std::vector<double>> a(n, std::vector<double>(n, 0.0));
  std::vector<AcGeVector3d> b(n);
  std::vector<double> basis, derivative;
  auto basisRow = [&](int row, double u) {
    const int span = FindSpan(knots, p, n, u);
    BasisWithDerivative(knots, span, p, u, basis, derivative);
    for (int j = 0; j <= p; ++j) a[row][span - p + j] = basis[j];
  };
  if (!tangents) {
    for (int k = 0; k <= m; ++k) {
      basisRow(k, ubar[k]);
      b[k] = fitPoints[k].asVector();
    }
  } else {
    // Derivatives with respect to the [0, 1] parameter: a unit tangent times the chord length.
    const AcGeVector3d d0 = startTangent->normal() * total, d1 = endTangent->normal() * total;
    a[0][0] = 1;
    b[0] = fitPoints[0].asVector();
    a[1][0] = -1;
    a[1][1] = 1;
    b[1] = d0 * (knots[p + 1] / p);
    for (int k = 1; k <= m - 1; ++k) {
      basisRow(k + 1, ubar[k]);
      b[k + 1] = fitPoints[k].asVector();
    }
    a[n - 2][n - 2] = -1;
    a[n - 2][n - 1] = 1;
    b[n - 2] = d1 * ((1 - knots[n - 1]) / p);  // the last knot below the clamped end
    a[n - 1][n - 1] = 1;
    b[n - 1] = fitPoints[m].asVector();
  }
  if (!SolveBanded(a, b, p + 2)) return false;

  degree_ = p;
  rational_ = false;
  closed_ = false;
  periodic_ = false;
  controls_.removeAll();
  for (const AcGeVector3d& v : b) controls_.append(AcGePoint3d(v.x, v.y, v.z));
  knots_ = knots;
  weights_.removeAll();
  controlTol_ = knotTol_ = 0;
  hasFit_ = true;
  fitPoints_ = fitPoints;
  fitDegree_ = degree;
  tangents_ = tangents;
  startTangent_ = tangents ? startTangent->normal() : AcGeVector3d();
  endTangent_ = tangents ? endTangent->normal() : AcGeVector3d();
  return true;
}

Acad::ErrorStatus AcDbSpline::setFitData(const AcGePoint3dArray& fitPoints, int degree,
                                         double fitTolerance, const AcGeVector3d& startTangent,
                                         const AcGeVector3d& endTangent) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (degree < 1 || degree > kMaxDegree) return Acad::eInvalidInput;
  AcDbSpline trial;
  if (!trial.Interpolate(fitPoints, degree, &startTangent, &endTangent)) return Acad::eInvalidInput;
  degree_ = trial.degree_;
  rational_ = closed_ = periodic_ = false;
  controls_ = trial.controls_;
  knots_ = trial.knots_;
  weights_.removeAll();
  hasFit_ = true;
  fitPoints_ = trial.fitPoints_;
  fitDegree_ = degree;
  fitTol_ = fitTolerance;
  tangents_ = trial.tangents_;
  startTangent_ = trial.startTangent_;
  endTangent_ = trial.endTangent_;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getFitData(AcGePoint3dArray& fitPoints, int& degree,
                                         double& fitTolerance, Adesk::Boolean& tangentsExist,
                                         AcGeVector3d& startTangent,
                                         AcGeVector3d& endTangent) const {
  if (!hasFit_) return Acad::eNotApplicable;
  fitPoints = fitPoints_;
  degree = fitDegree_;
  fitTolerance = fitTol_;
  tangentsExist = tangents_;
  startTangent = startTangent_;
  endTangent = endTangent_;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getFitPointAt(int index, AcGePoint3d& point) const {
  if (!hasFit_ || index < 0 || index >= fitPoints_.length()) return Acad::eInvalidIndex;
  point = fitPoints_[index];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getControlPointAt(int index, AcGePoint3d& point) const {
  if (index < 0 || index >= controls_.length()) return Acad::eInvalidIndex;
  point = controls_[index];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::setControlPointAt(int index, const AcGePoint3d& point) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (index < 0 || index >= controls_.length()) return Acad::eInvalidIndex;
  if (!Finite(point)) return Acad::eInvalidInput;
  controls_[index] = point;
  hasFit_ = false;  // the curve no longer passes its fit points
  return Acad::eOk;
}

double AcDbSpline::weightAt(int index) const {
  return rational_ && index >= 0 && index < weights_.length() ? weights_[index] : 1.0;
}

Acad::ErrorStatus AcDbSpline::setWeightAt(int index, double weight) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (index < 0 || index >= controls_.length()) return Acad::eInvalidIndex;
  if (!std::isfinite(weight) || weight <= 0) return Acad::eInvalidInput;
  if (!rational_) {
    weights_.removeAll();
    for (int i = 0; i < controls_.length(); ++i) weights_.append(1.0);
    rational_ = true;
  }
  weights_[index] = weight;
  hasFit_ = false;
  return Acad::eOk;
}

void AcDbSpline::Evaluate(double u, AcGePoint3d& point, AcGeVector3d& derivative) const {
  const int n = controls_.length();
  const int span = FindSpan(knots_, degree_, n, u);
  std::vector<double> basis, dbasis;
  BasisWithDerivative(knots_, span, degree_, u, basis, dbasis);
  AcGeVector3d a, da;
  double w = 0, dw = 0;
  for (int j = 0; j <= degree_; ++j) {
    const int i = span - degree_ + j;
    const double wi = weightAt(i);
    a += controls_[i].asVector() * (basis[j] * wi);
    da += controls_[i].asVector() * (dbasis[j] * wi);
    w += basis[j] * wi;
    dw += dbasis[j] * wi;
  }
  const AcGeVector3d c = a / w;
  point = AcGePoint3d(c.x, c.y, c.z);
  derivative = (da - c * dw) / w;
}

Adesk::Boolean AcDbSpline::isClosed() const {
  if (isNull()) return false;
  if (closed_ || periodic_) return true;
  AcGePoint3d s, e;
  getStartPoint(s);
  getEndPoint(e);
  return s.isEqualTo(e);
}

Acad::ErrorStatus AcDbSpline::getStartParam(double& param) const {
  if (isNull()) return Acad::eDegenerateGeometry;
  param = knots_[degree_];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getEndParam(double& param) const {
  if (isNull()) return Acad::eDegenerateGeometry;
  param = knots_[controls_.length()];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getStartPoint(AcGePoint3d& point) const {
  double u = 0;
  if (getStartParam(u) != Acad::eOk) return Acad::eDegenerateGeometry;
  return getPointAtParam(u, point);
}

Acad::ErrorStatus AcDbSpline::getEndPoint(AcGePoint3d& point) const {
  double u = 0;
  if (getEndParam(u) != Acad::eOk) return Acad::eDegenerateGeometry;
  return getPointAtParam(u, point);
}

Acad::ErrorStatus AcDbSpline::getPointAtParam(double param, AcGePoint3d& point) const {
  if (isNull()) return Acad::eDegenerateGeometry;
  const double lo = knots_[degree_], hi = knots_[controls_.length()];
  const double slack = kParamSlack * std::max(1.0, hi - lo);
  if (!std::isfinite(param) || param < lo - slack || param > hi + slack) return Acad::eInvalidInput;
  AcGeVector3d derivative;
  Evaluate(std::clamp(param, lo, hi), point, derivative);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getDistAtParam(double param, double& dist) const {
  if (isNull()) return Acad::eDegenerateGeometry;
  const double lo = knots_[degree_], hi = knots_[controls_.length()];
  const double slack = kParamSlack * std::max(1.0, hi - lo);
  if (!std::isfinite(param) || param < lo - slack || param > hi + slack) return Acad::eInvalidInput;
  const double to = std::clamp(param, lo, hi);
  auto speed = [&](double u) {
    AcGePoint3d p;
    AcGeVector3d d;
    Evaluate(u, p, d);
    return d.length();
  };
  // Span by span: the integrand is smooth inside a span, kinked only at knots.
  dist = 0;
  for (int i = degree_; i < controls_.length() && knots_[i] < to; ++i) {
    const double a = knots_[i], b = std::min(knots_[i + 1], to);
    if (b > a) dist += Integrate(speed, a, b, 2 + 2 * degree_);
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getGeomExtents(AcDbExtents& extents) const {
  if (isNull()) return Acad::eInvalidExtents;
  extents = AcDbExtents();
  for (const AcGePoint3d& p : controls_) extents.addPoint(p);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::transformBy(const AcGeMatrix3d& matrix) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  for (AcGePoint3d& p : controls_) p.transformBy(matrix);
  for (AcGePoint3d& p : fitPoints_) p.transformBy(matrix);
  if (tangents_) {
    startTangent_ = (matrix * startTangent_).normal();
    endTangent_ = (matrix * endTangent_).normal();
  }
  return Acad::eOk;
}

void AcDbSpline::ListGeometry() const {
  if (isNull()) {
    ListLine(L"                  Null spline");
    return;
  }
  ListLine(plx::FormatWide(L"                  Degree: %d", degree_));
  ListLine(plx::FormatWide(L"                  Properties: %ls%ls%ls",
                           rational_ ? L"Rational" : L"Non-rational",
                           isClosed() ? L", Closed" : L", Open", periodic_ ? L", Periodic" : L""));
  double u0 = 0, u1 = 0, length = 0;
  getStartParam(u0);
  getEndParam(u1);
  getDistAtParam(u1, length);
  ListLine(plx::FormatWide(L"                  Parametric Range: Start %10.4f", u0));
  ListLine(plx::FormatWide(L"                                      End %10.4f", u1));
  ListLine(plx::FormatWide(L"                  Length: %10.4f", length));
  ListLine(plx::FormatWide(L"                  Number of control points: %d", controls_.length()));
  for (int i = 0; i < controls_.length(); ++i)
    ListLine(plx::FormatWide(L"                  Control point %d, ", i + 1) +
             ListPoint(controls_[i]));
  if (hasFit_) {
    ListLine(plx::FormatWide(L"                  Number of fit points: %d", fitPoints_.length()));
    for (int i = 0; i < fitPoints_.length(); ++i)
      ListLine(plx::FormatWide(L"                  Fit point %d, ", i + 1) +
               ListPoint(fitPoints_[i]));
  }
}
