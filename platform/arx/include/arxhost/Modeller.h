// The host's solid modeller: the shapes that 3D solids, bodies and regions hold, their
// primitives, Booleans, extents, transforms, explode, tessellation and STL output. The modeller
// behind it stays out of this header; no call here throws, every failure is a status.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "acadstrc.h"

namespace plx::sat {
struct File;
}

namespace plx::modeller {

struct Point3 {
  double x = 0, y = 0, z = 0;
};

// What a shape stands for: a 3D solid (closed volumes), a body (sheets, open shells) or a
// region (planar faces). A null shape holds nothing.
enum class ShapeKind { kNull, kSolid, kBody, kRegion };

enum class BoolOp { kUnite = 0, kIntersect = 1, kSubtract = 2 };  // AcDb::BoolOperType order

// One triangle of a tessellation, corners counter-clockwise seen from outside.
struct Triangle {
  Point3 v[3];
};

// An edge of a region as the host's curve entities describe it.
struct Curve {
  enum class Type { kLine, kCircle, kArc, kEllipse, kSpline };
  Type type = Type::kLine;
  Point3 start, end;     // the ends along the edge's direction; equal for a closed curve
  Point3 center;         // circle, arc, ellipse
  Point3 normal;         // circle, arc, ellipse: unit normal, the curve runs counter-clockwise about it
  Point3 majorAxis;      // ellipse: from the centre to the end of the major axis
  double radius = 0;     // circle, arc
  double radiusRatio = 1;  // ellipse: minor over major radius
  // Arc and ellipse: angles in radians counter-clockwise about normal, measured from refAxis
  // (arc) or majorAxis (ellipse); endAngle > startAngle.
  Point3 refAxis;
  double startAngle = 0, endAngle = 0;
  std::vector<Point3> points;  // spline: points along the edge, start and end included
};

// Linear deflection (drawing units) and angular deflection (radians) of a tessellation.
struct MeshDensity {
  double linear = 0, angular = 0;
};

struct ShapeResult;

// A value type holding one modeller shape. Copies are cheap: they share the modeller's data,
// which no operation changes in place (Booleans and Clean work on a private copy while it is
// shared), so a copy may be moved, combined or released freely without touching the others.
// Tessellating keeps its mesh in that shared data (each tessellation starts afresh), so a
// shape and its copies may be used by one thread at a time.
class Shape {
 public:
  Shape();  // null
  Shape(const Shape& other);
  Shape& operator=(const Shape& other);
  Shape(Shape&& other) noexcept;  // leaves other null
  Shape& operator=(Shape&& other) noexcept;
  ~Shape();

  bool IsNull() const;
  ShapeKind Kind() const;
  // Sets the kind from the geometry: closed shells bounding solids make a 3D solid, one planar
  // face a region, anything else a body.
  void Reclassify();
  // Merges faces that lie on one surface (removing the edges and vertices between them) and
  // classifies the shape again: eOk when the result is a 3D solid, eNotApplicable when it is
  // not; eInvalidInput for a null shape; eGeneralModelingFailure, the shape unchanged, when the
  // modeller fails.
  Acad::ErrorStatus Clean();

  // Primitives, placed as the host's commands place them (axes along the world Z axis).
  // Sizes must be finite; a zero or negative size gives eInvalidInput (non-finite input) or
  // eDegenerateGeometry, with the reason in the result.
  // Box: opposite corners, which must differ in every coordinate.
  static ShapeResult Box(const Point3& corner, const Point3& otherCorner);
  static ShapeResult Sphere(const Point3& centre, double radius);
  // Cylinder and cone: radius > 0; height non-zero, a negative height goes down the Z axis.
  static ShapeResult Cylinder(const Point3& baseCentre, double radius, double height);
  static ShapeResult Cone(const Point3& baseCentre, double baseRadius, double height);
  // Torus: 0 < tubeRadius < radius (radius from the centre to the tube's axis).
  static ShapeResult Torus(const Point3& centre, double radius, double tubeRadius);
  // Wedge: a box between the corners cut by the plane from the top edge above the first
  // corner's X to the bottom edge at the other corner's X; corners differ in every coordinate.
  static ShapeResult Wedge(const Point3& corner, const Point3& otherCorner);

  // Planar polygons (corners in order, the loop closes itself) to a shape: vertices that are
  // equal are welded, repeated corners and zero-area polygons dropped, polygons turned to agree
  // with their neighbours. Every edge shared by exactly two polygons: a 3D solid oriented
  // outwards; otherwise an open body. eInvalidInput for non-finite coordinates or nothing left,
  // eNonPlanarEntity for a polygon that is not planar.
  static ShapeResult FromPolygons(const std::vector<std::vector<Point3>>& polygons);

  // The tight box around the shape (exact for planar and most analytic faces; found numerically,
  // within 1e-7, for tori and free-form faces). eNullExtents for a null shape.
  Acad::ErrorStatus Extents(Point3& min, Point3& max) const;

  // Applies a host matrix (row-major, translation in the last column, points as columns).
  // Rotations, mirrors, uniform scales and translations keep the shape's geometry exact;
  // other affine maps turn it into free-form geometry. A projective or singular matrix gives
  // eInvalidInput and leaves the shape as it was; a null shape stays null.
  Acad::ErrorStatus Transform(const double (&matrix)[4][4]);

  // Combines this shape with other into result (this and other unchanged); both non-null and of
  // the same kind, else eInvalidInput. A result with no volume (solids) or no face (bodies,
  // regions), such as an empty intersection, is eOk with a null shape.
  ShapeResult Boolean(BoolOp op, const Shape& other) const;

  // A solid or body into its faces: planar faces as regions, curved faces as bodies. A null
  // shape or a region gives eInvalidInput; pieces is replaced.
  Acad::ErrorStatus Explode(std::vector<Shape>& pieces) const;
  // A region, or a body of a single face, into the curves of its edges, each edge once; seam
  // and degenerate edges are left out. eInvalidInput for other shapes. curves is replaced.
  Acad::ErrorStatus ExplodeToCurves(std::vector<Curve>& curves) const;

  // Enclosed volume (solids) or 0; surface area of the faces or 0.
  double Volume() const;
  double Area() const;

  // Triangles of the faces at the host's FACETRES density (0.01 to 10, else eOutOfRange),
  // relative to the shape's size. eInvalidInput for a null shape. triangles is replaced.
  Acad::ErrorStatus Tessellate(double facetres, std::vector<Triangle>& triangles) const;

  // Writes the tessellation as an STL file: binary or ASCII (one solid block). The file is
  // written beside path under a temporary name and renamed over path when complete, so a
  // failure leaves any old file untouched. eFileAccessErr when the file cannot be created,
  // eFileSystemErr when it cannot be written or renamed; Tessellate's statuses otherwise.
  Acad::ErrorStatus WriteStl(const std::wstring& path, bool binary, double facetres) const;

 private:
  struct Impl;
  explicit Shape(std::unique_ptr<Impl> impl);
  friend struct ShapeAccess;
  std::unique_ptr<Impl> impl_;
};

struct ShapeResult {
  Acad::ErrorStatus status = Acad::eOk;
  Shape shape;          // null when status is not eOk
  std::wstring reason;  // why, when status is not eOk
  bool Ok() const { return status == Acad::eOk; }
};

// Bodies read from ACIS SAT data, one shape per body record in file order (a body without
// faces gives a null shape), each classified by its geometry and placed by its transform.
struct SatReadResult {
  Acad::ErrorStatus status = Acad::eOk;
  std::vector<Shape> bodies;  // empty unless status is eOk
  std::wstring reason;        // why, naming the record, when status is not eOk
  bool Ok() const { return status == Acad::eOk; }
};

// Records already tokenized (text or binary): eCannotRestoreFromAcisFile for a record the
// reader does not know where a topology or geometry record belongs, a broken pointer, values
// the modeller cannot use or a body that does not make a valid shape.
SatReadResult ReadSat(const plx::sat::File& file);
// SAT text: as ReadSat, and eCannotRestoreFromAcisFile for text that is not SAT.
SatReadResult ReadSatText(std::string_view text);
// A SAT file: eInvalidInput for an empty name, eFileNotFound for a missing file,
// eFileAccessErr for one that cannot be read, eCannotRestoreFromAcisFile for an empty file, a
// binary (SAB) file and everything ReadSatText refuses.
SatReadResult ReadSatFile(const std::wstring& path);

// The host's STL output takes only shapes in the positive octant: eInvalidInput when the tight
// extents reach below zero in any coordinate by more than 1e-6 (the extents' own slack, plus
// 1e-9 of the shape's size), eNullExtents for a null shape.
Acad::ErrorStatus CheckPositiveOctant(const Shape& shape);

// Mesh parameters for FACETRES r and the diagonal of the tight box.
MeshDensity DensityFor(double facetres, double diagonal);

// Volume (solids; 0 otherwise), area and centroid of a shape: the centre of its volume for a
// solid, of its faces' area for a body or region. eInvalidInput for a null shape.
struct MassProperties {
  double volume = 0, area = 0;
  Point3 centroid;
};
Acad::ErrorStatus GetMassProperties(const Shape& shape, MassProperties& properties);

// The shapes as ACIS SAT text, version 700: one body per shape, in order, with the analytic
// surfaces and curves kept (planes; cylinders and cones as cone-surface; spheres; tori; lines,
// circles, ellipses) and B-splines for the rest; solids get single-sided faces, bodies and
// regions double-sided ones. eInvalidInput (with a reason) for a null pointer or a null shape.
Acad::ErrorStatus SatText(const std::vector<const Shape*>& shapes, std::string& text, std::wstring* reason = nullptr);
// SatText written to path (replaced only when the new file is complete); eFileAccessErr when
// it cannot be created, written or put in place.
Acad::ErrorStatus WriteSat(const std::wstring& path, const std::vector<const Shape*>& shapes,
                           std::wstring* reason = nullptr);

}  // namespace plx::modeller

namespace plx::host {

// Appends a new 3D solid (body, region: by the shape's kind) holding shape to model space of
// the working drawing, with the current layer and colour. The primitive commands end here.
Acad::ErrorStatus AppendSolid(plx::modeller::Shape shape);

// Registers BOX, SPHERE, CYLINDER, CONE, TORUS and WEDGE as host commands, and ACISIN.
void RegisterSolidCommands();
void RegisterAcisinCommand();

// Registers ACISOUT (selected solids, bodies and regions to a SAT file) and MASSPROP.
void RegisterAcisOutCommands();

}  // namespace plx::host
