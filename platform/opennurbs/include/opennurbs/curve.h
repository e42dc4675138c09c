// ON_Curve and its simple kinds. A curve maps its domain (an increasing interval) into space;
// each kind keeps openNURBS's domain: a line curve runs over [0, length], an arc curve made
// from a circle over [0, 2pi * radius], a polyline curve of n points over [0, n - 1] with
// point k at parameter k. A polycurve owns its segments and runs through them in order.
#pragma once

#include "opennurbs/array.h"
#include "opennurbs/interval.h"
#include "opennurbs/object.h"
#include "opennurbs/plane.h"

class ON_Curve : public ON_Geometry {
 public:
  virtual ON_Interval Domain() const = 0;
  // Maps the domain linearly onto [t0, t1]; fails, changing nothing, unless t0 < t1.
  virtual bool SetDomain(double t0, double t1) = 0;
  bool SetDomain(const ON_Interval& domain) { return SetDomain(domain[0], domain[1]); }
  // The point at parameter t; false when the curve cannot be evaluated there.
  virtual bool EvPoint(double t, ON_3dPoint& point) const = 0;
  // A copy on the heap, owned by the caller.
  virtual ON_Curve* DuplicateCurve() const = 0;
  // Start and end coincide (and the curve is not a single point or segment).
  virtual bool IsClosed() const;

  // The point at t, or an unset point (every coordinate ON_UNSET_VALUE) when EvPoint fails.
  ON_3dPoint PointAt(double t) const;
  ON_3dPoint PointAtStart() const { return PointAt(Domain()[0]); }
  ON_3dPoint PointAtEnd() const { return PointAt(Domain()[1]); }

 protected:
  ON_Curve() = default;
  ON_Curve(const ON_Curve&) = default;
  ON_Curve& operator=(const ON_Curve&) = default;
};

class ON_LineCurve : public ON_Curve {
 public:
  ON_LineCurve();
  ON_LineCurve(const ON_3dPoint& from, const ON_3dPoint& to);
  explicit ON_LineCurve(const ON_Line& line);
  ON_LineCurve(const ON_Line& line, double t0, double t1);

  // False for a line of zero length or a domain that is not increasing.
  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  bool Translate(const ON_3dVector& translation_vector) override;
  ON_BoundingBox BoundingBox() const override;
  ON_Interval Domain() const override { return m_t; }
  bool SetDomain(double t0, double t1) override;
  bool EvPoint(double t, ON_3dPoint& point) const override;
  ON_Curve* DuplicateCurve() const override { return new ON_LineCurve(*this); }
  bool IsClosed() const override { return false; }

  ON_Line m_line;
  ON_Interval m_t;
  int m_dim = 3;
};

class ON_ArcCurve : public ON_Curve {
 public:
  ON_ArcCurve();
  // The full circle over [0, 2pi * radius].
  explicit ON_ArcCurve(const ON_Circle& circle);
  ON_ArcCurve(const ON_Circle& circle, double t0, double t1);
  // The arc over its angle interval in radians.
  explicit ON_ArcCurve(const ON_Arc& arc);
  ON_ArcCurve(const ON_Arc& arc, double t0, double t1);

  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  bool Translate(const ON_3dVector& translation_vector) override;
  ON_BoundingBox BoundingBox() const override;
  ON_Interval Domain() const override { return m_t; }
  bool SetDomain(double t0, double t1) override;
  bool EvPoint(double t, ON_3dPoint& point) const override;
  ON_Curve* DuplicateCurve() const override { return new ON_ArcCurve(*this); }
  bool IsClosed() const override { return m_arc.IsCircle(); }

  bool IsCircle() const { return m_arc.IsCircle(); }
  double Radius() const { return m_arc.radius; }
  double AngleRadians() const { return m_arc.AngleRadians(); }

  ON_Arc m_arc;
  ON_Interval m_t;  // the curve's domain, mapped linearly onto m_arc.m_angle
  int m_dim = 3;
};

class ON_PolylineCurve : public ON_Curve {
 public:
  ON_PolylineCurve();
  // Point k at parameter k.
  explicit ON_PolylineCurve(const ON_3dPointArray& points);

  // At least two points, no two neighbours equal, parameters increasing.
  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  bool Translate(const ON_3dVector& translation_vector) override;
  ON_BoundingBox BoundingBox() const override;
  // [first parameter, last parameter]; unset for an empty curve.
  ON_Interval Domain() const override;
  bool SetDomain(double t0, double t1) override;
  bool EvPoint(double t, ON_3dPoint& point) const override;
  ON_Curve* DuplicateCurve() const override { return new ON_PolylineCurve(*this); }
  bool IsClosed() const override;

  int PointCount() const { return m_pline.Count(); }

  ON_Polyline m_pline;
  ON_SimpleArray<double> m_t;  // one parameter per point
  int m_dim = 3;
};

class ON_PolyCurve : public ON_Curve {
 public:
  ON_PolyCurve();
  ON_PolyCurve(const ON_PolyCurve& other);  // copies every segment
  ON_PolyCurve& operator=(const ON_PolyCurve& other);
  ~ON_PolyCurve() override;

  // Adds the segment at the end; from then on the polycurve owns it and deletes it. The
  // segment takes a span as long as its own domain. False (ownership not taken) for null.
  bool Append(ON_Curve* curve);
  // Deletes every segment.
  void Destroy();

  int Count() const { return m_segment.Count(); }
  int SegmentCount() const { return m_segment.Count(); }
  // The segment at index, or null outside 0 .. Count() - 1.
  ON_Curve* SegmentCurve(int index) const {
    return index >= 0 && index < Count() ? m_segment[index] : nullptr;
  }
  ON_Curve* operator[](int index) const { return SegmentCurve(index); }
  ON_Interval SegmentDomain(int index) const;

  // At least one segment and every segment valid.
  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  bool Translate(const ON_3dVector& translation_vector) override;
  ON_BoundingBox BoundingBox() const override;
  ON_Interval Domain() const override;
  bool SetDomain(double t0, double t1) override;
  bool EvPoint(double t, ON_3dPoint& point) const override;
  ON_Curve* DuplicateCurve() const override { return new ON_PolyCurve(*this); }

 private:
  ON_SimpleArray<ON_Curve*> m_segment;
  ON_SimpleArray<double> m_t;  // Count() + 1 span boundaries
};
