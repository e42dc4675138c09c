// ON_Interval: a parameter interval [m_t[0], m_t[1]]; increasing when m_t[0] < m_t[1].
#pragma once

#include "opennurbs/defines.h"

class ON_Interval {
 public:
  ON_Interval() = default;
  ON_Interval(double t0, double t1) : m_t{t0, t1} {}

  double& operator[](int i) { return m_t[i <= 0 ? 0 : 1]; }
  double operator[](int i) const { return m_t[i <= 0 ? 0 : 1]; }

  void Set(double t0, double t1) {
    m_t[0] = t0;
    m_t[1] = t1;
  }
  double Min() const { return m_t[0] < m_t[1] ? m_t[0] : m_t[1]; }
  double Max() const { return m_t[0] < m_t[1] ? m_t[1] : m_t[0]; }
  // m_t[1] - m_t[0]: negative for a decreasing interval.
  double Length() const { return m_t[1] - m_t[0]; }
  bool IsIncreasing() const { return m_t[0] < m_t[1]; }
  bool IsDecreasing() const { return m_t[0] > m_t[1]; }
  // True when both ends are finite and set.
  bool IsValid() const;
  // The parameter at the fraction x of the way from m_t[0] to m_t[1].
  double ParameterAt(double x) const { return (1.0 - x) * m_t[0] + x * m_t[1]; }
  // The fraction of the way from m_t[0] to m_t[1] at which t lies; t itself when the interval
  // is empty.
  double NormalizedParameterAt(double t) const {
    return m_t[0] == m_t[1] ? t : (t - m_t[0]) / (m_t[1] - m_t[0]);
  }
  bool Includes(double t) const { return Min() <= t && t <= Max(); }

  friend bool operator==(const ON_Interval& a, const ON_Interval& b) {
    return a.m_t[0] == b.m_t[0] && a.m_t[1] == b.m_t[1];
  }
  friend bool operator!=(const ON_Interval& a, const ON_Interval& b) { return !(a == b); }

  double m_t[2] = {ON_UNSET_VALUE, ON_UNSET_VALUE};
};
