// NURBS curves and surfaces. Control points are stored homogeneous (w*x, w*y, w*z, w) when
// rational, and the knot vector has order + CV count - 2 values: the textbook vector without
// its first and last knot, which de Boor's algorithm never reads. Indexing that shortened
// vector at i - 1 gives the textbook knot i.
#include "opennurbs/nurbs.h"

#include <algorithm>
#include <cmath>

namespace {

// De Boor's algorithm on the homogeneous control points cv (cv_count of them, cv_size doubles
// each, stride doubles apart) with the shortened knot vector knot; out gets cv_size doubles.
// Outside the domain the first or last span is extended.
void DeBoor(const double* knot, int order, int cv_count, const double* cv, int stride, int cv_size,
            double t, double* out) {
  const int p = order - 1;
  // Textbook knot u[m] is knot[m - 1]; the span s runs from p to cv_count - 1.
  auto u = [knot](int m) { return knot[m - 1]; };
  int s = p;
  {
    int lo = p, hi = cv_count - 1;
    while (lo < hi) {
      const int mid = (lo + hi + 1) / 2;
      if (u(mid) <= t)
        lo = mid;
      else
        hi = mid - 1;
    }
    s = lo;
  }
  double work[16 * 5];
  std::vector<double> heap;
  double* d = work;
  if ((p + 1) * cv_size > static_cast<int>(sizeof(work) / sizeof(work[0]))) {
    heap.resize(static_cast<size_t>((p + 1) * cv_size));
    d = heap.data();
  }
  for (int j = 0; j <= p; ++j)
    for (int c = 0; c < cv_size; ++c) d[j * cv_size + c] = cv[(j + s - p) * stride + c];
  for (int r = 1; r <= p; ++r) {
    for (int j = p; j >= r; --j) {
      const int i = j + s - p;
      const double denom = u(i + p - r + 1) - u(i);
      const double alpha = denom == 0.0 ? 0.0 : (t - u(i)) / denom;
      for (int c = 0; c < cv_size; ++c)
        d[j * cv_size + c] = (1.0 - alpha) * d[(j - 1) * cv_size + c] + alpha * d[j * cv_size + c];
    }
  }
  for (int c = 0; c < cv_size; ++c) out[c] = d[p * cv_size + c];
}

// A homogeneous point of dim coordinates (and a weight when rational) as an ON_3dPoint.
ON_3dPoint Euclidean(const double* h, int dim, bool rational) {
  const double w = rational ? h[dim] : 1.0;
  const double scale = (w != 0.0) ? 1.0 / w : 1.0;
  ON_3dPoint p;
  for (int k = 0; k < dim && k < 3; ++k) p[k] = h[k] * scale;
  return p;
}

bool KnotsValid(const std::vector<double>& knot, int order, int cv_count) {
  for (double k : knot)
    if (!std::isfinite(k)) return false;
  for (size_t i = 1; i < knot.size(); ++i)
    if (knot[i] < knot[i - 1]) return false;
  // No knot more than order - 1 times inside, and a domain that is not empty.
  for (size_t i = 0; i + static_cast<size_t>(order) - 1 < knot.size(); ++i)
    if (!(knot[i] < knot[i + static_cast<size_t>(order) - 1])) return false;
  return knot[static_cast<size_t>(order) - 2] < knot[static_cast<size_t>(cv_count) - 1];
}

}  // namespace

ON_NurbsCurve::ON_NurbsCurve() = default;

ON_NurbsCurve::ON_NurbsCurve(int dimension, bool is_rational, int order, int cv_count) {
  Create(dimension, is_rational, order, cv_count);
}

bool ON_NurbsCurve::Create(int dimension, bool is_rational, int order, int cv_count) {
  Destroy();
  if (dimension < 1 || order < 2 || cv_count < order) return false;
  m_dim = dimension;
  m_is_rat = is_rational;
  m_order = order;
  m_cv_count = cv_count;
  m_knot.assign(static_cast<size_t>(KnotCount()), 0.0);
  m_cv.assign(static_cast<size_t>(cv_count * CVSize()), 0.0);
  if (m_is_rat)
    for (int i = 0; i < cv_count; ++i) m_cv[static_cast<size_t>(i * CVSize() + m_dim)] = 1.0;
  return true;
}

bool ON_NurbsCurve::CreateClampedUniformNurbs(int dimension, int order, int point_count,
                                              const ON_3dPoint* point, double knot_delta) {
  if (!point || !(knot_delta > 0.0) || !Create(dimension, false, order, point_count)) {
    Destroy();
    return false;
  }
  for (int i = 0; i < point_count; ++i) SetCV(i, point[i]);
  const int last = point_count - order + 1;
  int k = 0;
  for (int i = 0; i < order - 1; ++i) m_knot[static_cast<size_t>(k++)] = 0.0;
  for (int i = 1; i < last; ++i) m_knot[static_cast<size_t>(k++)] = i * knot_delta;
  for (int i = 0; i < order - 1; ++i) m_knot[static_cast<size_t>(k++)] = last * knot_delta;
  return true;
}

void ON_NurbsCurve::Destroy() {
  m_dim = 0;
  m_is_rat = false;
  m_order = 0;
  m_cv_count = 0;
  m_knot.clear();
  m_cv.clear();
}

bool ON_NurbsCurve::IsPeriodic() const {
  if (m_order <= 2 || m_cv_count < 2 * (m_order - 1)) return false;
  const int degree = m_order - 1;
  for (int i = 0; i < degree; ++i) {
    ON_3dPoint a, b;
    GetCV(i, a);
    GetCV(m_cv_count - degree + i, b);
    if (a != b || Weight(i) != Weight(m_cv_count - degree + i)) return false;
  }
  // The knot steps repeat one period (cv_count - degree knots) later.
  const int shift = m_cv_count - degree;
  const double tol = ON_ZERO_TOLERANCE * std::max(1.0, Domain().Length());
  for (int j = 0; j + 1 + shift < KnotCount(); ++j) {
    const double step = m_knot[static_cast<size_t>(j + 1)] - m_knot[static_cast<size_t>(j)];
    const double later =
        m_knot[static_cast<size_t>(j + 1 + shift)] - m_knot[static_cast<size_t>(j + shift)];
    if (std::fabs(step - later) > tol) return false;
  }
  return true;
}

double ON_NurbsCurve::Knot(int i) const {
  return i >= 0 && i < KnotCount() ? m_knot[static_cast<size_t>(i)] : ON_UNSET_VALUE;
}

bool ON_NurbsCurve::SetKnot(int i, double value) {
  if (i < 0 || i >= KnotCount()) return false;
  m_knot[static_cast<size_t>(i)] = value;
  return true;
}

const double* ON_NurbsCurve::CV(int i) const {
  return i >= 0 && i < m_cv_count ? m_cv.data() + static_cast<size_t>(i * CVSize()) : nullptr;
}

bool ON_NurbsCurve::GetCV(int i, ON_3dPoint& point) const {
  const double* cv = CV(i);
  if (!cv) return false;
  point = Euclidean(cv, m_dim, m_is_rat);
  return true;
}

bool ON_NurbsCurve::SetCV(int i, const ON_3dPoint& point) {
  if (i < 0 || i >= m_cv_count) return false;
  double* cv = m_cv.data() + static_cast<size_t>(i * CVSize());
  const double w = m_is_rat ? cv[m_dim] : 1.0;
  for (int k = 0; k < m_dim; ++k) cv[k] = k < 3 ? w * point[k] : 0.0;
  return true;
}

bool ON_NurbsCurve::SetCV(int i, const ON_3dPoint& homogeneous, double w) {
  if (i < 0 || i >= m_cv_count) return false;
  if (!m_is_rat && w != 1.0) return false;
  double* cv = m_cv.data() + static_cast<size_t>(i * CVSize());
  for (int k = 0; k < m_dim; ++k) cv[k] = k < 3 ? homogeneous[k] : 0.0;
  if (m_is_rat) cv[m_dim] = w;
  return true;
}

double ON_NurbsCurve::Weight(int i) const {
  const double* cv = CV(i);
  return cv && m_is_rat ? cv[m_dim] : 1.0;
}

bool ON_NurbsCurve::SetWeight(int i, double weight) {
  if (i < 0 || i >= m_cv_count || !m_is_rat || !(weight != 0.0) || !std::isfinite(weight))
    return false;
  double* cv = m_cv.data() + static_cast<size_t>(i * CVSize());
  const double scale = weight / cv[m_dim];
  for (int k = 0; k < m_dim; ++k) cv[k] *= scale;
  cv[m_dim] = weight;
  return true;
}

bool ON_NurbsCurve::MakeRational() {
  if (m_is_rat) return true;
  if (m_cv_count == 0) return false;
  std::vector<double> cv(static_cast<size_t>(m_cv_count * (m_dim + 1)));
  for (int i = 0; i < m_cv_count; ++i) {
    for (int k = 0; k < m_dim; ++k)
      cv[static_cast<size_t>(i * (m_dim + 1) + k)] = m_cv[static_cast<size_t>(i * m_dim + k)];
    cv[static_cast<size_t>(i * (m_dim + 1) + m_dim)] = 1.0;
  }
  m_cv.swap(cv);
  m_is_rat = true;
  return true;
}

bool ON_NurbsCurve::IsValid(ON_TextLog* text_log) const {
  if (m_dim < 1 || m_order < 2 || m_cv_count < m_order) {
    if (text_log) text_log->Print("ON_NurbsCurve: empty, or fewer control points than the order\n");
    return false;
  }
  if (!KnotsValid(m_knot, m_order, m_cv_count)) {
    if (text_log) text_log->Print("ON_NurbsCurve: the knot vector is not valid\n");
    return false;
  }
  for (int i = 0; i < m_cv_count; ++i) {
    const double* cv = CV(i);
    for (int k = 0; k < CVSize(); ++k)
      if (!std::isfinite(cv[k])) return false;
    if (m_is_rat && !(cv[m_dim] > 0.0)) {
      if (text_log) text_log->Print("ON_NurbsCurve: a weight is not positive\n");
      return false;
    }
  }
  return true;
}

bool ON_NurbsCurve::Translate(const ON_3dVector& v) {
  if (!v.IsValid()) return false;
  for (int i = 0; i < m_cv_count; ++i) {
    double* cv = m_cv.data() + static_cast<size_t>(i * CVSize());
    const double w = m_is_rat ? cv[m_dim] : 1.0;
    for (int k = 0; k < m_dim && k < 3; ++k) cv[k] += w * v[k];
  }
  return true;
}

ON_BoundingBox ON_NurbsCurve::BoundingBox() const {
  ON_BoundingBox box;
  for (int i = 0; i < m_cv_count; ++i) {
    ON_3dPoint p;
    GetCV(i, p);
    box.Set(p, true);
  }
  return box;
}

ON_Interval ON_NurbsCurve::Domain() const {
  if (m_order < 2 || m_cv_count < m_order) return {};
  return {m_knot[static_cast<size_t>(m_order - 2)], m_knot[static_cast<size_t>(m_cv_count - 1)]};
}

bool ON_NurbsCurve::SetDomain(double t0, double t1) {
  const ON_Interval d = Domain();
  if (!(t0 < t1) || !d.IsIncreasing()) return false;
  for (double& k : m_knot) {
    if (k == d[0])
      k = t0;
    else if (k == d[1])
      k = t1;
    else
      k = t0 + (k - d[0]) * (t1 - t0) / (d[1] - d[0]);
  }
  return true;
}

bool ON_NurbsCurve::EvPoint(double t, ON_3dPoint& point) const {
  if (m_order < 2 || m_cv_count < m_order || !std::isfinite(t)) return false;
  std::vector<double> h(static_cast<size_t>(CVSize()));
  DeBoor(m_knot.data(), m_order, m_cv_count, m_cv.data(), CVSize(), CVSize(), t, h.data());
  point = Euclidean(h.data(), m_dim, m_is_rat);
  return true;
}

bool ON_NurbsCurve::IsClosed() const {
  return m_order > 1 && m_cv_count > 2 && ON_Curve::IsClosed();
}

ON_NurbsSurface::ON_NurbsSurface() = default;

ON_NurbsSurface::ON_NurbsSurface(int dimension, bool is_rational, int order0, int order1,
                                 int cv_count0, int cv_count1) {
  Create(dimension, is_rational, order0, order1, cv_count0, cv_count1);
}

bool ON_NurbsSurface::Create(int dimension, bool is_rational, int order0, int order1, int cv_count0,
                             int cv_count1) {
  Destroy();
  if (dimension < 1 || order0 < 2 || order1 < 2 || cv_count0 < order0 || cv_count1 < order1)
    return false;
  m_dim = dimension;
  m_is_rat = is_rational;
  m_order[0] = order0;
  m_order[1] = order1;
  m_cv_count[0] = cv_count0;
  m_cv_count[1] = cv_count1;
  for (int dir = 0; dir < 2; ++dir) m_knot[dir].assign(static_cast<size_t>(KnotCount(dir)), 0.0);
  const int size = m_dim + (m_is_rat ? 1 : 0);
  m_cv.assign(static_cast<size_t>(cv_count0 * cv_count1 * size), 0.0);
  if (m_is_rat)
    for (int i = 0; i < cv_count0 * cv_count1; ++i)
      m_cv[static_cast<size_t>(i * size + m_dim)] = 1.0;
  return true;
}

void ON_NurbsSurface::Destroy() {
  m_dim = 0;
  m_is_rat = false;
  m_order[0] = m_order[1] = 0;
  m_cv_count[0] = m_cv_count[1] = 0;
  m_knot[0].clear();
  m_knot[1].clear();
  m_cv.clear();
}

double ON_NurbsSurface::Knot(int dir, int i) const {
  const int d = dir ? 1 : 0;
  return i >= 0 && i < KnotCount(d) ? m_knot[d][static_cast<size_t>(i)] : ON_UNSET_VALUE;
}

bool ON_NurbsSurface::SetKnot(int dir, int i, double value) {
  const int d = dir ? 1 : 0;
  if (i < 0 || i >= KnotCount(d)) return false;
  m_knot[d][static_cast<size_t>(i)] = value;
  return true;
}

bool ON_NurbsSurface::GetCV(int i, int j, ON_3dPoint& point) const {
  if (i < 0 || j < 0 || i >= m_cv_count[0] || j >= m_cv_count[1]) return false;
  point = Euclidean(m_cv.data() + CVIndex(i, j), m_dim, m_is_rat);
  return true;
}

bool ON_NurbsSurface::SetCV(int i, int j, const ON_3dPoint& point) {
  if (i < 0 || j < 0 || i >= m_cv_count[0] || j >= m_cv_count[1]) return false;
  double* cv = m_cv.data() + CVIndex(i, j);
  const double w = m_is_rat ? cv[m_dim] : 1.0;
  for (int k = 0; k < m_dim; ++k) cv[k] = k < 3 ? w * point[k] : 0.0;
  return true;
}

double ON_NurbsSurface::Weight(int i, int j) const {
  if (!m_is_rat || i < 0 || j < 0 || i >= m_cv_count[0] || j >= m_cv_count[1]) return 1.0;
  return m_cv[static_cast<size_t>(CVIndex(i, j) + m_dim)];
}

ON_Interval ON_NurbsSurface::Domain(int dir) const {
  const int d = dir ? 1 : 0;
  if (m_order[d] < 2) return {};
  return {m_knot[d][static_cast<size_t>(m_order[d] - 2)],
          m_knot[d][static_cast<size_t>(m_cv_count[d] - 1)]};
}

ON_3dPoint ON_NurbsSurface::PointAt(double s, double t) const {
  if (m_order[0] < 2 || m_order[1] < 2) return {ON_UNSET_VALUE, ON_UNSET_VALUE, ON_UNSET_VALUE};
  const int size = m_dim + (m_is_rat ? 1 : 0);
  // Each row of control points along v gives one point at t; those points, along u, give s.
  std::vector<double> rows(static_cast<size_t>(m_cv_count[0] * size));
  for (int i = 0; i < m_cv_count[0]; ++i)
    DeBoor(m_knot[1].data(), m_order[1], m_cv_count[1], m_cv.data() + CVIndex(i, 0), size, size, t,
           rows.data() + static_cast<size_t>(i * size));
  std::vector<double> h(static_cast<size_t>(size));
  DeBoor(m_knot[0].data(), m_order[0], m_cv_count[0], rows.data(), size, size, s, h.data());
  return Euclidean(h.data(), m_dim, m_is_rat);
}

bool ON_NurbsSurface::IsValid(ON_TextLog* text_log) const {
  if (m_dim < 1 || m_order[0] < 2 || m_order[1] < 2) {
    if (text_log) text_log->Print("ON_NurbsSurface: empty\n");
    return false;
  }
  for (int dir = 0; dir < 2; ++dir) {
    if (!KnotsValid(m_knot[dir], m_order[dir], m_cv_count[dir])) {
      if (text_log) text_log->Print("ON_NurbsSurface: a knot vector is not valid\n");
      return false;
    }
  }
  for (double c : m_cv)
    if (!std::isfinite(c)) return false;
  return true;
}

bool ON_NurbsSurface::Translate(const ON_3dVector& v) {
  if (!v.IsValid()) return false;
  const int size = m_dim + (m_is_rat ? 1 : 0);
  for (size_t i = 0; i + static_cast<size_t>(size) <= m_cv.size(); i += static_cast<size_t>(size)) {
    const double w = m_is_rat ? m_cv[i + static_cast<size_t>(m_dim)] : 1.0;
    for (int k = 0; k < m_dim && k < 3; ++k) m_cv[i + static_cast<size_t>(k)] += w * v[k];
  }
  return true;
}

ON_BoundingBox ON_NurbsSurface::BoundingBox() const {
  ON_BoundingBox box;
  for (int i = 0; i < m_cv_count[0]; ++i)
    for (int j = 0; j < m_cv_count[1]; ++j) {
      ON_3dPoint p;
      GetCV(i, j, p);
      box.Set(p, true);
    }
  return box;
}
