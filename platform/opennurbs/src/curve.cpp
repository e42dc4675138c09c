// Line, arc, polyline and polycurve curves: domains, evaluation, moving and bounds.
#include "opennurbs/curve.h"

#include <algorithm>
#include <cmath>

namespace {

// Start and end of a closed curve agree to round-off of the coordinates' size.
bool Coincide(const ON_3dPoint& a, const ON_3dPoint& b) {
  const double scale = std::max({1.0, std::fabs(a.x), std::fabs(a.y), std::fabs(a.z),
                                 std::fabs(b.x), std::fabs(b.y), std::fabs(b.z)});
  return a.DistanceTo(b) <= ON_ZERO_TOLERANCE * scale;
}

// The span i with t[i] <= value <= t[i + 1] of an increasing list of count >= 2 values;
// values outside fall to the first or last span.
int SpanIndex(const double* t, int count, double value) {
  const double* it = std::upper_bound(t + 1, t + count - 1, value);
  return static_cast<int>(it - t) - 1;
}

// Maps a list of parameters linearly from [old0, old1] onto [t0, t1], the ends exactly.
void Remap(double* t, int count, double old0, double old1, double t0, double t1) {
  for (int i = 0; i < count; ++i) {
    if (t[i] == old0)
      t[i] = t0;
    else if (t[i] == old1)
      t[i] = t1;
    else
      t[i] = t0 + (t[i] - old0) * (t1 - t0) / (old1 - old0);
  }
}

}  // namespace

bool ON_Curve::IsClosed() const {
  const ON_Interval d = Domain();
  if (!d.IsIncreasing()) return false;
  return Coincide(PointAt(d[0]), PointAt(d[1]));
}

ON_3dPoint ON_Curve::PointAt(double t) const {
  ON_3dPoint p;
  if (!EvPoint(t, p)) return {ON_UNSET_VALUE, ON_UNSET_VALUE, ON_UNSET_VALUE};
  return p;
}

ON_LineCurve::ON_LineCurve() : m_line({0, 0, 0}, {1, 0, 0}), m_t(0.0, 1.0) {}

ON_LineCurve::ON_LineCurve(const ON_3dPoint& from, const ON_3dPoint& to)
    : ON_LineCurve(ON_Line(from, to)) {}

ON_LineCurve::ON_LineCurve(const ON_Line& line) : m_line(line), m_t(0.0, line.Length()) {}

ON_LineCurve::ON_LineCurve(const ON_Line& line, double t0, double t1) : m_line(line), m_t(t0, t1) {}

bool ON_LineCurve::IsValid(ON_TextLog* text_log) const {
  if (!m_line.IsValid()) {
    if (text_log) text_log->Print("ON_LineCurve: the line has no length\n");
    return false;
  }
  if (!m_t.IsValid() || !m_t.IsIncreasing()) {
    if (text_log) text_log->Print("ON_LineCurve: the domain is not increasing\n");
    return false;
  }
  return true;
}

bool ON_LineCurve::Translate(const ON_3dVector& v) {
  if (!v.IsValid()) return false;
  m_line.from += v;
  m_line.to += v;
  return true;
}

ON_BoundingBox ON_LineCurve::BoundingBox() const {
  ON_BoundingBox box;
  box.Set(m_line.from, true);
  box.Set(m_line.to, true);
  return box;
}

bool ON_LineCurve::SetDomain(double t0, double t1) {
  if (!(t0 < t1)) return false;
  m_t.Set(t0, t1);
  return true;
}

bool ON_LineCurve::EvPoint(double t, ON_3dPoint& point) const {
  point = m_t[0] == m_t[1] ? m_line.from : m_line.PointAt(m_t.NormalizedParameterAt(t));
  return true;
}

ON_ArcCurve::ON_ArcCurve() : m_t(0.0, 2.0 * ON_PI) {}

ON_ArcCurve::ON_ArcCurve(const ON_Circle& circle)
    : ON_ArcCurve(circle, 0.0, 2.0 * ON_PI * circle.radius) {}

ON_ArcCurve::ON_ArcCurve(const ON_Circle& circle, double t0, double t1) : m_t(t0, t1) {
  m_arc.plane = circle.plane;
  m_arc.radius = circle.radius;
  m_arc.m_angle.Set(0.0, 2.0 * ON_PI);
}

ON_ArcCurve::ON_ArcCurve(const ON_Arc& arc) : m_arc(arc), m_t(arc.m_angle) {}

ON_ArcCurve::ON_ArcCurve(const ON_Arc& arc, double t0, double t1) : m_arc(arc), m_t(t0, t1) {}

bool ON_ArcCurve::IsValid(ON_TextLog* text_log) const {
  if (!m_arc.IsValid()) {
    if (text_log) text_log->Print("ON_ArcCurve: the arc is not valid\n");
    return false;
  }
  if (!m_t.IsValid() || !m_t.IsIncreasing()) {
    if (text_log) text_log->Print("ON_ArcCurve: the domain is not increasing\n");
    return false;
  }
  return true;
}

bool ON_ArcCurve::Translate(const ON_3dVector& v) {
  if (!v.IsValid()) return false;
  m_arc.plane.origin += v;
  return true;
}

ON_BoundingBox ON_ArcCurve::BoundingBox() const { return m_arc.BoundingBox(); }

bool ON_ArcCurve::SetDomain(double t0, double t1) {
  if (!(t0 < t1)) return false;
  m_t.Set(t0, t1);
  return true;
}

bool ON_ArcCurve::EvPoint(double t, ON_3dPoint& point) const {
  if (!m_t.IsIncreasing()) return false;
  point = m_arc.PointAt(m_arc.m_angle.ParameterAt(m_t.NormalizedParameterAt(t)));
  return true;
}

ON_PolylineCurve::ON_PolylineCurve() = default;

ON_PolylineCurve::ON_PolylineCurve(const ON_3dPointArray& points) {
  m_pline.Append(points.Count(), points.Array());
  m_t.Reserve(static_cast<size_t>(points.Count()));
  for (int i = 0; i < points.Count(); ++i) m_t.Append(static_cast<double>(i));
}

bool ON_PolylineCurve::IsValid(ON_TextLog* text_log) const {
  if (!m_pline.IsValid(0.0)) {
    if (text_log)
      text_log->Print("ON_PolylineCurve: fewer than two points, or two neighbours equal\n");
    return false;
  }
  if (m_t.Count() != m_pline.Count()) return false;
  for (int i = 1; i < m_t.Count(); ++i) {
    if (!(m_t[i - 1] < m_t[i])) {
      if (text_log) text_log->Print("ON_PolylineCurve: the parameters are not increasing\n");
      return false;
    }
  }
  return true;
}

bool ON_PolylineCurve::Translate(const ON_3dVector& v) {
  if (!v.IsValid()) return false;
  for (int i = 0; i < m_pline.Count(); ++i) m_pline[i] += v;
  return true;
}

ON_BoundingBox ON_PolylineCurve::BoundingBox() const { return m_pline.BoundingBox(); }

ON_Interval ON_PolylineCurve::Domain() const {
  if (m_t.Count() == 0) return {};
  return {m_t[0], m_t[m_t.Count() - 1]};
}

bool ON_PolylineCurve::SetDomain(double t0, double t1) {
  const ON_Interval d = Domain();
  if (!(t0 < t1) || !d.IsIncreasing()) return false;
  Remap(m_t.Array(), m_t.Count(), d[0], d[1], t0, t1);
  return true;
}

bool ON_PolylineCurve::EvPoint(double t, ON_3dPoint& point) const {
  const int n = m_pline.Count();
  if (n == 0 || m_t.Count() != n) return false;
  if (n == 1) {
    point = m_pline[0];
    return true;
  }
  const int i = SpanIndex(m_t.Array(), n, t);
  const double span = m_t[i + 1] - m_t[i];
  point =
      span == 0.0 ? m_pline[i] : ON_Line(m_pline[i], m_pline[i + 1]).PointAt((t - m_t[i]) / span);
  return true;
}

bool ON_PolylineCurve::IsClosed() const { return m_pline.IsClosed(0.0); }

ON_PolyCurve::ON_PolyCurve() = default;

ON_PolyCurve::ON_PolyCurve(const ON_PolyCurve& other) : ON_Curve(other) { *this = other; }

ON_PolyCurve& ON_PolyCurve::operator=(const ON_PolyCurve& other) {
  if (this == &other) return *this;
  Destroy();
  ON_Curve::operator=(other);
  m_segment.Reserve(static_cast<size_t>(other.Count()));
  for (int i = 0; i < other.Count(); ++i) m_segment.Append(other.m_segment[i]->DuplicateCurve());
  m_t = other.m_t;
  return *this;
}

ON_PolyCurve::~ON_PolyCurve() { Destroy(); }

void ON_PolyCurve::Destroy() {
  for (int i = 0; i < m_segment.Count(); ++i) delete m_segment[i];
  m_segment.Destroy();
  m_t.Destroy();
}

bool ON_PolyCurve::Append(ON_Curve* curve) {
  if (!curve) return false;
  const ON_Interval d = curve->Domain();
  if (m_t.Count() == 0) {
    m_t.Append(d[0]);
    m_t.Append(d[1]);
  } else {
    const double last = m_t[m_t.Count() - 1];
    m_t.Append(last + d.Length());
  }
  m_segment.Append(curve);
  return true;
}

ON_Interval ON_PolyCurve::SegmentDomain(int index) const {
  if (index < 0 || index >= Count()) return {};
  return {m_t[index], m_t[index + 1]};
}

bool ON_PolyCurve::IsValid(ON_TextLog* text_log) const {
  if (Count() == 0) {
    if (text_log) text_log->Print("ON_PolyCurve: no segments\n");
    return false;
  }
  for (int i = 0; i < Count(); ++i) {
    if (!m_segment[i]->IsValid(text_log)) return false;
  }
  return true;
}

bool ON_PolyCurve::Translate(const ON_3dVector& v) {
  if (!v.IsValid()) return false;
  for (int i = 0; i < Count(); ++i) m_segment[i]->Translate(v);
  return true;
}

ON_BoundingBox ON_PolyCurve::BoundingBox() const {
  ON_BoundingBox box;
  for (int i = 0; i < Count(); ++i) {
    const ON_BoundingBox b = m_segment[i]->BoundingBox();
    if (!b.IsValid()) continue;
    box.Set(b.m_min, true);
    box.Set(b.m_max, true);
  }
  return box;
}

ON_Interval ON_PolyCurve::Domain() const {
  if (m_t.Count() < 2) return {};
  return {m_t[0], m_t[m_t.Count() - 1]};
}

bool ON_PolyCurve::SetDomain(double t0, double t1) {
  const ON_Interval d = Domain();
  if (!(t0 < t1) || !d.IsIncreasing()) return false;
  Remap(m_t.Array(), m_t.Count(), d[0], d[1], t0, t1);
  return true;
}

bool ON_PolyCurve::EvPoint(double t, ON_3dPoint& point) const {
  if (Count() == 0) return false;
  const int i = SpanIndex(m_t.Array(), m_t.Count(), t);
  const ON_Interval span = SegmentDomain(i);
  const ON_Interval own = m_segment[i]->Domain();
  const double local = span[0] == span[1] ? own[0] : own.ParameterAt(span.NormalizedParameterAt(t));
  return m_segment[i]->EvPoint(local, point);
}
