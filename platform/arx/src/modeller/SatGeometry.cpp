// ACIS geometry records as OCCT geometry. Frames and senses as the records carry them:
// planes by root, normal and u direction; cones by the centre and major axis of their base
// ellipse, the axis, and sine and cosine of the half angle (radius at axial offset h is
// |major| + h * sine / cosine; sine 0 is a cylinder); spheres and tori by centre, pole or axis
// and u origin; ellipses as centre + cos t * major + sin t * ratio * (normal x major). B-spline
// data ("exactsur"/"exactcur" blocks) writes end knots with multiplicity = degree, one less than
// OCCT wants, and lists surface points with u running fastest.
#include "SatGeometry.h"

#include <Geom_BSplineCurve.hxx>
#include <Geom_BSplineSurface.hxx>
#include <Geom_Circle.hxx>
#include <Geom_ConicalSurface.hxx>
#include <Geom_CylindricalSurface.hxx>
#include <Geom_Ellipse.hxx>
#include <Geom_Line.hxx>
#include <Geom_Plane.hxx>
#include <Geom_SphericalSurface.hxx>
#include <Geom_SurfaceOfLinearExtrusion.hxx>
#include <Geom_ToroidalSurface.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColStd_Array2OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <TColgp_Array2OfPnt.hxx>
#include <cmath>
#include <gp_Ax2.hxx>
#include <gp_Ax3.hxx>
#include <vector>

namespace plx::modeller::satin {

namespace {

// Coordinates and lengths beyond this are taken as damaged data rather than geometry: a double
// holds them no finer than the files' own tolerance of 1e-6, and the healer's projections on
// surfaces that large run for seconds.
constexpr double kLargest = 1e10;
constexpr double kTiny = 1e-12;
constexpr int kMaxDegree = 25;

gp_Pnt Point(sat::Cursor& c) {
  const sat::Vec3 v = c.Triple();
  if (std::abs(v.x) > kLargest || std::abs(v.y) > kLargest || std::abs(v.z) > kLargest)
    c.Fail("a position is out of range");
  return gp_Pnt(v.x, v.y, v.z);
}

gp_Vec Vector(sat::Cursor& c) {
  const gp_Pnt p = Point(c);
  return gp_Vec(p.XYZ());
}

gp_Dir Direction(sat::Cursor& c, const char* what) {
  const gp_Vec v = Vector(c);
  if (v.Magnitude() < kTiny) c.Fail(std::string("the ") + what + " is a zero vector");
  return gp_Dir(v);
}

double Length(sat::Cursor& c, const char* what) {
  const double value = c.Real();
  if (std::abs(value) > kLargest) c.Fail(std::string("the ") + what + " is out of range");
  return value;
}

// A frame from a main direction and a reference direction that need not be exactly
// perpendicular to it; a parallel reference leaves OCCT to choose one.
gp_Ax3 Frame(sat::Cursor& c, const gp_Pnt& origin, const gp_Dir& main, const gp_Vec& reference) {
  if (reference.Magnitude() < kTiny) c.Fail("a reference direction is a zero vector");
  const gp_Vec perpendicular = reference - gp_Vec(main) * reference.Dot(gp_Vec(main));
  if (perpendicular.Magnitude() < 1e-9 * reference.Magnitude()) return gp_Ax3(origin, main);
  return gp_Ax3(origin, main, gp_Dir(perpendicular));
}

struct Knots {
  std::vector<double> values;
  std::vector<int> mults;
  int poles = 0;
};

// count (value, multiplicity) pairs.
Knots ReadKnots(sat::Cursor& c, std::int64_t count, int degree, bool periodic) {
  if (count < 2 || static_cast<std::uint64_t>(count) > c.Remaining())
    c.Fail("a knot count is out of range");
  Knots k;
  int sum = 0;
  for (std::int64_t i = 0; i < count; ++i) {
    const double value = Length(c, "knot");
    const std::int64_t mult = c.Integer();
    if (mult < 1 || mult > degree + 1) c.Fail("a knot multiplicity is out of range");
    if (!k.values.empty() && !(value > k.values.back())) c.Fail("the knots do not increase");
    k.values.push_back(value);
    k.mults.push_back(static_cast<int>(mult));
    sum += static_cast<int>(mult);
  }
  if (periodic) c.Fail("periodic B-spline data is not supported");
  // The ends carry degree (or degree + 1) knots; OCCT wants degree + 1.
  if (k.mults.front() == degree) {
    ++k.mults.front();
    ++sum;
  }
  if (k.mults.back() == degree) {
    ++k.mults.back();
    ++sum;
  }
  k.poles = sum - degree - 1;
  if (k.poles < 2 || k.mults.front() != degree + 1 || k.mults.back() != degree + 1)
    c.Fail("the knots do not fit the degree");
  return k;
}

void FillKnots(const Knots& k, TColStd_Array1OfReal& values, TColStd_Array1OfInteger& mults) {
  for (std::size_t i = 0; i < k.values.size(); ++i) {
    values.SetValue(static_cast<int>(i) + 1, k.values[i]);
    mults.SetValue(static_cast<int>(i) + 1, k.mults[i]);
  }
}

// The opening of B-spline data: "{ <kind> full nubs|nurbs"; true for rational data.
bool OpenSplineBlock(sat::Cursor& c) {
  c.Open();
  const std::string kind = c.Word();
  if (kind == "ref") c.Fail("shared B-spline data (ref) is not supported");
  const std::string form = c.Word();
  if (form != "full")
    c.Fail(std::string("B-spline data of ") + kind + " is not given as control points");
  const std::string type = c.Word();
  if (type != "nubs" && type != "nurbs") c.Fail("\"" + type + "\" is not nubs or nurbs");
  return type == "nurbs";
}

int Degree(sat::Cursor& c) {
  const std::int64_t degree = c.Integer();
  if (degree < 1 || degree > kMaxDegree) c.Fail("a degree is out of range");
  return static_cast<int>(degree);
}

bool Closure(sat::Cursor& c) { return c.Choice({"open", "closed", "periodic"}) == 2; }

Handle(Geom_Surface) Plane(sat::Cursor& c) {
  const gp_Pnt root = Point(c);
  const gp_Dir normal = Direction(c, "normal");
  const gp_Vec uDir = Vector(c);
  return new Geom_Plane(
      Frame(c, root, normal, uDir.Magnitude() < kTiny ? gp_Vec(normal.XYZ()) : uDir));
}

Handle(Geom_Surface) Cone(sat::Cursor& c, bool& flipped) {
  const gp_Pnt centre = Point(c);
  const gp_Dir axis = Direction(c, "axis");
  const gp_Vec major = Vector(c);
  const double ratio = Length(c, "ratio");
  c.Bound();
  c.Bound();
  const double sine = Length(c, "sine");
  const double cosine = Length(c, "cosine");
  c.Real();  // the u parameter scale
  flipped = c.Choice({"forward", "reversed"}) == 1;
  const double radius = major.Magnitude();
  if (radius < kTiny) c.Fail("the base radius is zero");
  if (!(ratio > kTiny)) c.Fail("the radius ratio is not positive");
  const gp_Ax3 frame = Frame(c, centre, axis, major);
  if (std::abs(sine) < 1e-12) {
    if (std::abs(ratio - 1.0) < 1e-12) return new Geom_CylindricalSurface(frame, radius);
    // An elliptic cylinder: the base ellipse swept along the axis.
    const double other = radius * ratio;
    gp_Ax2 ellipseFrame(centre, axis, frame.XDirection());
    if (other > radius) ellipseFrame = gp_Ax2(centre, axis, frame.YDirection());
    Handle(Geom_Ellipse) base =
        new Geom_Ellipse(ellipseFrame, std::max(radius, other), std::min(radius, other));
    // OCCT's extrusion normal is the curve tangent times the direction: it points into the
    // cylinder for a counter-clockwise section, so the natural normal is the inward one.
    flipped = !flipped;
    return new Geom_SurfaceOfLinearExtrusion(base, axis);
  }
  if (std::abs(ratio - 1.0) > 1e-9) c.Fail("elliptic cones are not supported");
  if (std::abs(cosine) < 1e-12) c.Fail("the cone is flat");
  const double angle = std::atan(sine / cosine);
  if (std::abs(angle) < 1e-9 || std::abs(angle) > M_PI / 2 - 1e-9)
    c.Fail("the cone angle is out of range");
  return new Geom_ConicalSurface(frame, angle, radius);
}

Handle(Geom_Surface) Sphere(sat::Cursor& c, bool& flipped) {
  const gp_Pnt centre = Point(c);
  const double radius = Length(c, "radius");
  const gp_Vec uOrigin = Vector(c);
  const gp_Dir pole = Direction(c, "pole");
  if (std::abs(radius) < kTiny) c.Fail("the radius is zero");
  // A negative radius turns the normal inwards.
  flipped = radius < 0;
  return new Geom_SphericalSurface(Frame(c, centre, pole, uOrigin), std::abs(radius));
}

Handle(Geom_Surface) Torus(sat::Cursor& c, bool& flipped) {
  const gp_Pnt centre = Point(c);
  const gp_Dir axis = Direction(c, "axis");
  const double major = Length(c, "major radius");
  const double minor = Length(c, "minor radius");
  const gp_Vec uOrigin = Vector(c);
  if (!(major > kTiny) || std::abs(minor) < kTiny) c.Fail("the radii do not make a torus");
  flipped = minor < 0;
  return new Geom_ToroidalSurface(Frame(c, centre, axis, uOrigin), major, std::abs(minor));
}

Handle(Geom_Surface) SplineSurface(sat::Cursor& c, bool& flipped) {
  flipped = c.Choice({"forward", "reversed"}) == 1;
  const bool rational = OpenSplineBlock(c);
  const int du = Degree(c);
  const int dv = Degree(c);
  const bool periodicU = Closure(c);
  const bool periodicV = Closure(c);
  c.Word();  // singularity in u
  c.Word();  // and in v
  // Both knot counts come before both knot lists.
  const std::int64_t nu = c.Integer();
  const std::int64_t nv = c.Integer();
  const Knots ku = ReadKnots(c, nu, du, periodicU);
  const Knots kv = ReadKnots(c, nv, dv, periodicV);
  // Each point takes at least one token (three in text): a count beyond what is left is damage.
  if (static_cast<std::uint64_t>(ku.poles) * static_cast<std::uint64_t>(kv.poles) > c.Remaining())
    c.Fail("the control points do not fit the record");
  TColgp_Array2OfPnt poles(1, ku.poles, 1, kv.poles);
  TColStd_Array2OfReal weights(1, ku.poles, 1, kv.poles);
  for (int j = 1; j <= kv.poles; ++j)
    for (int i = 1; i <= ku.poles; ++i) {
      poles.SetValue(i, j, Point(c));
      double w = 1.0;
      if (rational) {
        w = c.Real();
        if (!(w > 0)) c.Fail("a weight is not positive");
      }
      weights.SetValue(i, j, w);
    }
  while (!c.AtClose()) c.Skip();
  c.Close();
  TColStd_Array1OfReal uKnots(1, static_cast<int>(ku.values.size())),
      vKnots(1, static_cast<int>(kv.values.size()));
  TColStd_Array1OfInteger uMults(1, static_cast<int>(ku.mults.size())),
      vMults(1, static_cast<int>(kv.mults.size()));
  FillKnots(ku, uKnots, uMults);
  FillKnots(kv, vKnots, vMults);
  if (rational)
    return new Geom_BSplineSurface(poles, weights, uKnots, vKnots, uMults, vMults, du, dv);
  return new Geom_BSplineSurface(poles, uKnots, vKnots, uMults, vMults, du, dv);
}

Handle(Geom_Curve) Straight(sat::Cursor& c) {
  const gp_Pnt root = Point(c);
  const gp_Dir direction = Direction(c, "direction");
  return new Geom_Line(root, direction);
}

Handle(Geom_Curve) Ellipse(sat::Cursor& c) {
  const gp_Pnt centre = Point(c);
  const gp_Dir normal = Direction(c, "normal");
  const gp_Vec major = Vector(c);
  const double ratio = Length(c, "ratio");
  const double radius = major.Magnitude();
  if (radius < kTiny) c.Fail("the radius is zero");
  if (!(ratio > kTiny)) c.Fail("the radius ratio is not positive");
  const gp_Ax3 frame = Frame(c, centre, normal, major);
  const gp_Ax2 axes = frame.Ax2();
  if (std::abs(ratio - 1.0) < 1e-12) return new Geom_Circle(axes, radius);
  if (ratio < 1.0) return new Geom_Ellipse(axes, radius, radius * ratio);
  // The major vector is the short axis here: OCCT wants the long one first.
  return new Geom_Ellipse(gp_Ax2(centre, normal, frame.YDirection()), radius * ratio, radius);
}

Handle(Geom_Curve) IntCurve(sat::Cursor& c) {
  const bool reversed = c.Choice({"forward", "reversed"}) == 1;
  const bool rational = OpenSplineBlock(c);
  const int degree = Degree(c);
  const bool periodic = Closure(c);
  const Knots k = ReadKnots(c, c.Integer(), degree, periodic);
  if (static_cast<std::size_t>(k.poles) > c.Remaining())
    c.Fail("the control points do not fit the record");
  TColgp_Array1OfPnt poles(1, k.poles);
  TColStd_Array1OfReal weights(1, k.poles);
  for (int i = 1; i <= k.poles; ++i) {
    poles.SetValue(i, Point(c));
    double w = 1.0;
    if (rational) {
      w = c.Real();
      if (!(w > 0)) c.Fail("a weight is not positive");
    }
    weights.SetValue(i, w);
  }
  while (!c.AtClose()) c.Skip();
  c.Close();
  TColStd_Array1OfReal values(1, static_cast<int>(k.values.size()));
  TColStd_Array1OfInteger mults(1, static_cast<int>(k.mults.size()));
  FillKnots(k, values, mults);
  Handle(Geom_Curve) curve = rational ? new Geom_BSplineCurve(poles, weights, values, mults, degree)
                                      : new Geom_BSplineCurve(poles, values, mults, degree);
  if (reversed) curve = curve->Reversed();
  return curve;
}

}  // namespace

std::string_view Kind(const std::string& name) {
  const std::string_view view(name);
  const auto dash = view.rfind('-');
  return dash == std::string_view::npos ? view : view.substr(dash + 1);
}

Handle(Geom_Surface) ReadSurface(const sat::File& file, std::size_t index, bool& flipped) {
  sat::Cursor c(file, index);
  const std::string& name = c.record().name;
  flipped = false;
  if (name == "plane-surface") return Plane(c);
  if (name == "cone-surface") return Cone(c, flipped);
  if (name == "sphere-surface") return Sphere(c, flipped);
  if (name == "torus-surface") return Torus(c, flipped);
  if (name == "spline-surface") return SplineSurface(c, flipped);
  if (Kind(name) == "surface") c.Fail("this kind of surface is not supported");
  c.Fail("a surface was expected");
}

Handle(Geom_Curve) ReadCurve(const sat::File& file, std::size_t index) {
  sat::Cursor c(file, index);
  const std::string& name = c.record().name;
  if (name == "straight-curve") return Straight(c);
  if (name == "ellipse-curve") return Ellipse(c);
  if (name == "intcurve-curve") return IntCurve(c);
  if (Kind(name) == "curve") c.Fail("this kind of curve is not supported");
  c.Fail("a curve was expected");
}

}  // namespace plx::modeller::satin
