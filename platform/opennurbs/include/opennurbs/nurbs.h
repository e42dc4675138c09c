// ON_NurbsCurve and ON_NurbsSurface, stored as openNURBS stores them: control points of
// m_dim coordinates, followed by the weight when rational, in homogeneous form (w*x, w*y,
// w*z, w); a knot vector of order + CV count - 2 values, without the extra end knots of the
// textbook form. The domain runs from knot order - 2 to knot CV count - 1. Evaluation is
// de Boor's algorithm on the homogeneous points.
#pragma once

#include <vector>

#include "opennurbs/curve.h"

class ON_NurbsCurve : public ON_Curve {
 public:
  ON_NurbsCurve();
  ON_NurbsCurve(int dimension, bool is_rational, int order, int cv_count);

  // A curve with zero knots and zero control points (weights 1); false, leaving the curve
  // empty, unless dimension >= 1, order >= 2 and cv_count >= order.
  bool Create(int dimension, bool is_rational, int order, int cv_count);
  // A non-rational curve through the control points point[0 .. point_count - 1] with the
  // clamped uniform knots 0 (order - 1 times), d, 2d, ..., (point_count - order + 1) d
  // (order - 1 times), d being knot_delta > 0.
  bool CreateClampedUniformNurbs(int dimension, int order, int point_count, const ON_3dPoint* point,
                                 double knot_delta = 1.0);
  void Destroy();

  int Dimension() const { return m_dim; }
  int Order() const { return m_order; }
  int Degree() const { return m_order > 1 ? m_order - 1 : 0; }
  int CVCount() const { return m_cv_count; }
  int KnotCount() const { return m_order > 1 ? m_order + m_cv_count - 2 : 0; }
  int CVSize() const { return m_dim + (m_is_rat ? 1 : 0); }
  bool IsRational() const { return m_is_rat; }
  bool IsPeriodic() const;

  // Knot i (0 .. KnotCount() - 1); ON_UNSET_VALUE outside.
  double Knot(int knot_index) const;
  bool SetKnot(int knot_index, double knot_value);
  const double* KnotArray() const { return m_knot.data(); }
  // The control point in Euclidean form (divided by its weight).
  bool GetCV(int cv_index, ON_3dPoint& point) const;
  // Sets the Euclidean control point, keeping its weight.
  bool SetCV(int cv_index, const ON_3dPoint& point);
  // Sets the homogeneous control point (x, y, z already multiplied by w) and weight w; on a
  // non-rational curve only a weight of 1 is accepted.
  bool SetCV(int cv_index, const ON_3dPoint& homogeneous, double w);
  // 1.0 for a non-rational curve.
  double Weight(int cv_index) const;
  // Changes the weight keeping the Euclidean point; the curve must be rational.
  bool SetWeight(int cv_index, double weight);
  // Makes the curve rational with unit weights; true when it already is.
  bool MakeRational();
  // The raw control point: CVSize() doubles.
  const double* CV(int cv_index) const;

  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  bool Translate(const ON_3dVector& translation_vector) override;
  // The box of the control points, which holds the curve.
  ON_BoundingBox BoundingBox() const override;
  ON_Interval Domain() const override;
  bool SetDomain(double t0, double t1) override;
  bool EvPoint(double t, ON_3dPoint& point) const override;
  ON_Curve* DuplicateCurve() const override { return new ON_NurbsCurve(*this); }
  bool IsClosed() const override;

 private:
  int m_dim = 0;
  bool m_is_rat = false;
  int m_order = 0;
  int m_cv_count = 0;
  std::vector<double> m_knot;
  std::vector<double> m_cv;
};

class ON_NurbsSurface : public ON_Geometry {
 public:
  ON_NurbsSurface();
  ON_NurbsSurface(int dimension, bool is_rational, int order0, int order1, int cv_count0,
                  int cv_count1);

  // As ON_NurbsCurve::Create, in both directions.
  bool Create(int dimension, bool is_rational, int order0, int order1, int cv_count0,
              int cv_count1);
  void Destroy();

  int Dimension() const { return m_dim; }
  bool IsRational() const { return m_is_rat; }
  // dir 0 is u, 1 is v.
  int Order(int dir) const { return m_order[dir ? 1 : 0]; }
  int Degree(int dir) const { return Order(dir) > 1 ? Order(dir) - 1 : 0; }
  int CVCount(int dir) const { return m_cv_count[dir ? 1 : 0]; }
  int CVCount() const { return m_cv_count[0] * m_cv_count[1]; }
  int KnotCount(int dir) const { return Order(dir) > 1 ? Order(dir) + CVCount(dir) - 2 : 0; }
  double Knot(int dir, int knot_index) const;
  bool SetKnot(int dir, int knot_index, double knot_value);
  bool GetCV(int i, int j, ON_3dPoint& point) const;
  bool SetCV(int i, int j, const ON_3dPoint& point);
  double Weight(int i, int j) const;
  ON_Interval Domain(int dir) const;
  // The point at (s, t); an unset point when the surface is empty.
  ON_3dPoint PointAt(double s, double t) const;

  bool IsValid(ON_TextLog* text_log = nullptr) const override;
  bool Translate(const ON_3dVector& translation_vector) override;
  ON_BoundingBox BoundingBox() const override;

 private:
  int CVIndex(int i, int j) const { return (i * m_cv_count[1] + j) * (m_dim + (m_is_rat ? 1 : 0)); }

  int m_dim = 0;
  bool m_is_rat = false;
  int m_order[2] = {0, 0};
  int m_cv_count[2] = {0, 0};
  std::vector<double> m_knot[2];
  std::vector<double> m_cv;
};
