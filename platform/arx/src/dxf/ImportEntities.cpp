// One entity of the DXF model into database objects.
//
// Coordinates: LINE, POINT, 3DFACE, ELLIPSE, SPLINE, MLINE, MESH, 3D polylines and meshes are
// in world coordinates in the file; CIRCLE, ARC, SOLID, TEXT, INSERT, LWPOLYLINE, 2D polylines
// and HATCH are in the object coordinate system of their extrusion (210), whose X axis the
// arbitrary-axis rule picks (AcGeMatrix3d::planeToWorld). The classes that keep a normal with
// an elevation (polylines, hatches) take object coordinates as they are; the others get world
// points. Angles in the file are degrees; the classes take radians.
//
// Complex entities (polylines and meshes) are appended before their vertices, so that each
// vertex goes straight into the database (cost per vertex flat, however large the mesh).
#include <algorithm>
#include <cmath>
#include <memory>
#include <type_traits>

#include "Import.h"
#include "db2dpolyline.h"
#include "db3dpolyline.h"
#include "dbarcs.h"
#include "dbblkref.h"
#include "dbents.h"
#include "dbhatch.h"
#include "dbmline.h"
#include "dbpl.h"
#include "dbpolyfacemesh.h"
#include "dbpolygonmesh.h"
#include "dbsolid2d.h"
#include "dbspline.h"
#include "dbsubd.h"
#include "dbtext.h"
#include "win32/text.h"

namespace plx::dxf {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRadians = kPi / 180;
// Straight edges per full turn of a hatch's ellipse edge.
constexpr int kEllipseEdgeSteps = 64;

using EntityPtr = std::unique_ptr<AcDbEntity>;

AcGePoint3d P(const Vec3& v) { return {v.x, v.y, v.z}; }
AcGeVector3d V(const Vec3& v) { return {v.x, v.y, v.z}; }

bool Finite(const Vec3& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// The extrusion as a unit vector; a missing or zero one is Z, as the host reads it.
AcGeVector3d NormalOf(const Entity& entity) {
  const AcGeVector3d n = V(entity.extrusion);
  if (!Finite(entity.extrusion) || n.length() < 1e-12) return AcGeVector3d::kZAxis;
  return n / n.length();
}

bool IsDefaultNormal(const AcGeVector3d& n) { return n.x == 0 && n.y == 0 && n.z == 1; }

// Object coordinates to world coordinates.
class Ocs {
 public:
  explicit Ocs(const AcGeVector3d& normal)
      : plain_(IsDefaultNormal(normal)),
        toWorld_(plain_ ? AcGeMatrix3d() : AcGeMatrix3d::planeToWorld(normal)) {}
  AcGePoint3d World(const Vec3& p) const { return plain_ ? P(p) : toWorld_ * P(p); }
  AcGePoint3d World(const AcGePoint3d& p) const { return plain_ ? p : toWorld_ * p; }

 private:
  bool plain_;
  AcGeMatrix3d toWorld_;
};

AcCmColor ColorOf(int index, int32_t trueColour) {
  AcCmColor color;
  if (trueColour != kNoTrueColour) {
    color.setRGB(static_cast<Adesk::UInt8>(trueColour >> 16 & 0xFF),
                 static_cast<Adesk::UInt8>(trueColour >> 8 & 0xFF),
                 static_cast<Adesk::UInt8>(trueColour & 0xFF));
    return color;
  }
  // A negative colour only means "layer off" in the layer table; on an entity it is its index.
  index = std::abs(index);
  if (index >= 0 && index <= 255)
    color.setColorIndex(static_cast<Adesk::UInt16>(index));
  else
    color.setColorMethod(AcCmEntityColor::kByLayer);
  return color;
}

// Layer, linetype and colour as the file gives them, so that appending fills in nothing of the
// drawing's current settings.
bool SetProperties(AcDbEntity& target, const Entity& source, ImportTables& tables,
                   std::string& error) {
  const AcDbObjectId layer = tables.Layer(source.layer);
  if (layer.isNull()) return error = tables.Error(), false;
  const AcDbObjectId linetype = tables.Linetype(source.linetype);
  if (linetype.isNull()) return error = tables.Error(), false;
  target.setLayer(layer);
  target.setLinetype(linetype);
  target.setColor(ColorOf(source.colour, source.trueColour));
  return true;
}

std::wstring Wide(const std::string& text) { return plx::WideFromUtf8(text); }

// ---------------------------------------------------------------------------------------------
// Simple entities: made whole, then appended.

EntityPtr MakePoint(const Entity& e, const PointData& d) {
  auto point = std::make_unique<AcDbPoint>(P(d.position));
  point->setNormal(NormalOf(e));
  point->setThickness(e.thickness);
  return point;
}

EntityPtr MakeLine(const Entity& e, const LineData& d) {
  auto line = std::make_unique<AcDbLine>(P(d.start), P(d.end));
  line->setNormal(NormalOf(e));
  line->setThickness(e.thickness);
  return line;
}

template <class Line>
EntityPtr MakeUnbounded(const RayData& d) {
  auto line = std::make_unique<Line>();
  line->setBasePoint(P(d.base));
  if (line->setUnitDir(V(d.direction)) != Acad::eOk) return nullptr;
  return line;
}

EntityPtr MakeCircle(const Entity& e, const CircleData& d) {
  const AcGeVector3d n = NormalOf(e);
  auto circle = std::make_unique<AcDbCircle>();
  circle->setCenter(Ocs(n).World(d.center));
  if (circle->setNormal(n) != Acad::eOk || circle->setRadius(d.radius) != Acad::eOk) return nullptr;
  circle->setThickness(e.thickness);
  return circle;
}

EntityPtr MakeArc(const Entity& e, const CircleData& d) {
  const AcGeVector3d n = NormalOf(e);
  auto arc = std::make_unique<AcDbArc>();
  arc->setCenter(Ocs(n).World(d.center));
  if (arc->setNormal(n) != Acad::eOk || arc->setRadius(d.radius) != Acad::eOk ||
      arc->setStartAngle(d.startAngle * kRadians) != Acad::eOk ||
      arc->setEndAngle(d.endAngle * kRadians) != Acad::eOk)
    return nullptr;
  arc->setThickness(e.thickness);
  return arc;
}

EntityPtr MakeEllipse(const Entity& e, const EllipseData& d) {
  const AcGeVector3d n = NormalOf(e);
  // Files written with single precision leave the major axis a little off the plane.
  AcGeVector3d major = V(d.majorAxis);
  major -= n * major.dotProduct(n);
  auto ellipse = std::make_unique<AcDbEllipse>();
  if (ellipse->set(P(d.center), n, major, d.ratio) != Acad::eOk) return nullptr;
  const bool full =
      std::abs(d.endParam - d.startParam - 2 * kPi) < 1e-12 || d.startParam == d.endParam;
  if (!full && ellipse->set(P(d.center), n, major, d.ratio, ellipse->angleAtParam(d.startParam),
                            ellipse->angleAtParam(d.endParam)) != Acad::eOk)
    return nullptr;
  return ellipse;
}

EntityPtr MakeLwPolyline(const Entity& e, const LwPolylineData& d) {
  auto polyline = std::make_unique<AcDbPolyline>(static_cast<unsigned>(d.vertices.size()));
  if (polyline->setNormal(NormalOf(e)) != Acad::eOk) return nullptr;
  polyline->setElevation(d.elevation);
  polyline->setThickness(e.thickness);
  if (d.constantWidth != 0) polyline->setConstantWidth(d.constantWidth);
  for (const LwVertex& v : d.vertices) {
    const bool own = v.startWidth != 0 || v.endWidth != 0;
    if (polyline->addVertexAt(polyline->numVerts(), AcGePoint2d(v.x, v.y), v.bulge,
                              own ? v.startWidth : -1., own ? v.endWidth : -1.) != Acad::eOk)
      return nullptr;
  }
  polyline->setClosed((d.flags & 1) != 0);
  return polyline;
}

EntityPtr MakeSpline(const SplineData& d) {
  std::unique_ptr<AcDbSpline> spline;
  if (!d.controlPoints.empty()) {
    AcGePoint3dArray controls(static_cast<int>(d.controlPoints.size()));
    for (const Vec3& p : d.controlPoints) controls.append(P(p));
    AcGeDoubleArray knots(static_cast<int>(d.knots.size())),
        weights(static_cast<int>(d.weights.size()));
    for (double k : d.knots) knots.append(k);
    for (double w : d.weights) weights.append(w);
    const bool rational = !d.weights.empty();
    spline =
        std::make_unique<AcDbSpline>(d.degree, rational, (d.flags & 1) != 0, (d.flags & 2) != 0,
                                     controls, knots, weights, d.controlTolerance, d.knotTolerance);
  } else {
    AcGePoint3dArray fit(static_cast<int>(d.fitPoints.size()));
    for (const Vec3& p : d.fitPoints) fit.append(P(p));
    const int order = std::clamp(d.degree, 1, 25) + 1;
    if (d.startTangent && d.endTangent)
      spline = std::make_unique<AcDbSpline>(fit, V(*d.startTangent), V(*d.endTangent), order,
                                            d.fitTolerance);
    else
      spline = std::make_unique<AcDbSpline>(fit, order, d.fitTolerance);
  }
  if (spline->isNull()) return nullptr;
  return spline;
}

EntityPtr MakeMline(const Entity& e, const MlineData& d, ImportTables& tables) {
  auto mline = std::make_unique<AcDbMline>();
  if (const MlineStyle* fileStyle = tables.FindMlineStyle(d.styleName, d.styleHandle)) {
    AcDbMlineStyle style;
    style.setName(TableName(fileStyle->name).c_str());
    while (style.numElements() > 0) style.removeElementAt(0);
    for (const MlineStyleElement& element : fileStyle->elements) {
      int index = 0;
      style.addElement(index, element.offset, ColorOf(element.colour, kNoTrueColour),
                       tables.Linetype(element.linetype));
    }
    const int f = fileStyle->flags;
    style.setFilled((f & 1) != 0);
    style.setShowMiters((f & 2) != 0);
    style.setStartSquareCap((f & 16) != 0);
    style.setStartInnerArcs((f & 32) != 0);
    style.setStartRoundCap((f & 64) != 0);
    style.setEndSquareCap((f & 256) != 0);
    style.setEndInnerArcs((f & 512) != 0);
    style.setEndRoundCap((f & 1024) != 0);
    style.setStartAngle(fileStyle->startAngle * kRadians);
    style.setEndAngle(fileStyle->endAngle * kRadians);
    mline->SetStyle(style);
  }
  if (mline->setNormal(NormalOf(e)) != Acad::eOk) return nullptr;
  if (d.scale != 0 && mline->setScale(d.scale) != Acad::eOk) return nullptr;
  mline->setJustification(
      static_cast<Mline::MlineJustification>(std::clamp(d.justification, 0, 2)));
  mline->setClosedMline((d.flags & 2) != 0);
  mline->setSupressStartCaps((d.flags & 4) != 0);
  mline->setSupressEndCaps((d.flags & 8) != 0);
  for (const MlineVertex& v : d.vertices)
    if (mline->appendSeg(P(v.point)) != Acad::eOk) return nullptr;
  return mline;
}

// Ellipse and spline edges, which the hatch does not take, become chains of straight edges
// through points of the curve.
void AppendEllipseEdge(const HatchEdge& edge, std::vector<AcGePoint2d>& points) {
  const AcGeVector2d major(edge.x1, edge.y1);
  const AcGeVector2d minor = AcGeVector2d(-edge.y1, edge.x1) * edge.radius;
  // An edge sweeps at most one turn, whatever angles the file gives (1e9 degrees would ask for
  // millions of points, 1e300 for more steps than an int counts).
  // fmod is exact: a start of 1e300 degrees still gives distinct points.
  const double start = std::fmod(edge.startAngle, 360) * kRadians;
  double sweep = (edge.endAngle - edge.startAngle) * kRadians;
  if (!(std::abs(sweep) <= 2 * kPi)) sweep = 2 * kPi;
  if (sweep <= 0) sweep += 2 * kPi;
  const int steps = std::max(8, static_cast<int>(std::ceil(kEllipseEdgeSteps * sweep / (2 * kPi))));
  const double turn = edge.counterClockwise ? 1 : -1;
  for (int i = 0; i <= steps; ++i) {
    const double t = start + sweep * i / steps;
    points.push_back(AcGePoint2d(edge.x0, edge.y0) + major * std::cos(t) +
                     minor * (turn * std::sin(t)));
  }
}

void AppendSplineEdge(const HatchEdge& edge, std::vector<AcGePoint2d>& points) {
  AcGePoint3dArray controls;
  for (const auto& c : edge.controlPoints) controls.append(AcGePoint3d(c[0], c[1], 0));
  AcGeDoubleArray knots, weights;
  for (double k : edge.knots) knots.append(k);
  for (double w : edge.weights) weights.append(w);
  AcDbSpline spline(edge.degree, edge.rational && !edge.weights.empty(), false, edge.periodic,
                    controls, knots, weights);
  double start = 0, end = 0;
  if (!spline.isNull() && spline.getStartParam(start) == Acad::eOk &&
      spline.getEndParam(end) == Acad::eOk) {
    const int steps = std::max(8, 8 * controls.length());
    for (int i = 0; i <= steps; ++i) {
      AcGePoint3d p;
      if (spline.getPointAtParam(start + (end - start) * i / steps, p) == Acad::eOk)
        points.emplace_back(p.x, p.y);
    }
    return;
  }
  // No valid curve: its fit points or control polygon still close the loop.
  for (const auto& c : edge.fitPoints.empty() ? edge.controlPoints : edge.fitPoints)
    points.emplace_back(c[0], c[1]);
}

bool AppendHatchLoop(AcDbHatch& hatch, const HatchLoop& loop) {
  if (loop.flags & 2) {
    AcGePoint2dArray vertices(static_cast<int>(loop.polyline.size()));
    AcGeDoubleArray bulges(static_cast<int>(loop.polyline.size()));
    for (const LwVertex& v : loop.polyline) {
      vertices.append(AcGePoint2d(v.x, v.y));
      bulges.append(v.bulge);
    }
    return hatch.appendLoop(loop.flags, vertices, bulges) == Acad::eOk;
  }
  std::vector<std::unique_ptr<AcGeLineSeg2d>> lines;
  std::vector<std::unique_ptr<AcGeCircArc2d>> arcs;
  AcGeVoidPointerArray pointers;
  AcGeIntArray types;
  auto addLine = [&](const AcGePoint2d& a, const AcGePoint2d& b) {
    if (a == b) return;
    lines.push_back(std::make_unique<AcGeLineSeg2d>(a, b));
    pointers.append(lines.back().get());
    types.append(AcDbHatch::kLine);
  };
  for (const HatchEdge& edge : loop.edges) {
    if (edge.type == HatchEdge::kLine) {
      addLine(AcGePoint2d(edge.x0, edge.y0), AcGePoint2d(edge.x1, edge.y1));
    } else if (edge.type == HatchEdge::kArc) {
      arcs.push_back(std::make_unique<AcGeCircArc2d>(
          AcGePoint2d(edge.x0, edge.y0), edge.radius, edge.startAngle * kRadians,
          edge.endAngle * kRadians, AcGeVector2d::kXAxis, !edge.counterClockwise));
      pointers.append(arcs.back().get());
      types.append(AcDbHatch::kCirArc);
    } else {
      std::vector<AcGePoint2d> points;
      if (edge.type == HatchEdge::kEllipse)
        AppendEllipseEdge(edge, points);
      else
        AppendSplineEdge(edge, points);
      for (size_t i = 1; i < points.size(); ++i) addLine(points[i - 1], points[i]);
    }
  }
  return hatch.appendLoop(loop.flags, pointers, types) == Acad::eOk;
}

EntityPtr MakeHatch(const Entity& e, const HatchData& d) {
  auto hatch = std::make_unique<AcDbHatch>();
  if (hatch->setNormal(NormalOf(e)) != Acad::eOk) return nullptr;
  hatch->setElevation(d.elevation);
  hatch->setAssociative(d.associative);
  hatch->setHatchStyle(static_cast<AcDbHatch::HatchStyle>(std::clamp(d.style, 0, 2)));
  const auto type = static_cast<AcDbHatch::HatchPatternType>(std::clamp(d.patternType, 0, 2));
  const std::wstring name = d.solid ? std::wstring(L"SOLID") : Wide(d.pattern);
  if (hatch->setPattern(d.solid ? AcDbHatch::kPreDefined : type, name.c_str()) != Acad::eOk)
    return nullptr;
  hatch->setPatternAngle(d.patternAngle * kRadians);
  if (d.patternScale > 0) hatch->setPatternScale(d.patternScale);
  hatch->setPatternDouble(d.patternDouble);
  if (!d.solid)
    for (const HatchPatternLine& line : d.patternLines) {
      AcGeDoubleArray dashes;
      for (double dash : line.dashes) dashes.append(dash);
      // A family the hatch refuses (no distance between its lines) draws nothing anyway.
      hatch->AppendPatternDefinition(line.angle * kRadians, line.baseX, line.baseY, line.offsetX,
                                     line.offsetY, dashes);
    }
  for (const HatchLoop& loop : d.loops)
    if (!AppendHatchLoop(*hatch, loop)) return nullptr;
  return hatch;
}

EntityPtr MakeCorners(const Entity& e, const CornerData& d) {
  if (e.kind == EntityKind::kFace) {
    const auto& c = d.corners;
    auto face = std::make_unique<AcDbFace>(P(c[0]), P(c[1]), P(c[2]), P(c[3]));
    for (Adesk::UInt16 i = 0; i < 4; ++i)
      if (d.invisibleEdges & (1 << i)) face->makeEdgeInvisibleAt(i);
    return face;
  }
  const AcGeVector3d n = NormalOf(e);
  const Ocs ocs(n);
  const auto& c = d.corners;
  auto solid = std::make_unique<AcDbSolid>(ocs.World(c[0]), ocs.World(c[1]), ocs.World(c[2]),
                                           ocs.World(c[3]));
  solid->setNormal(n);
  solid->setThickness(e.thickness);
  return solid;
}

EntityPtr MakeText(const Entity& e, const TextData& d) {
  const AcGeVector3d n = NormalOf(e);
  const Ocs ocs(n);
  const std::wstring text = Wide(d.text);
  auto entity = std::make_unique<AcDbText>(ocs.World(d.position), text.c_str());
  entity->setNormal(n);
  entity->setThickness(e.thickness);
  if (d.height > 0) entity->setHeight(d.height);
  entity->setRotation(d.rotation * kRadians);
  if (d.widthFactor > 0) entity->setWidthFactor(d.widthFactor);
  entity->setOblique(d.oblique * kRadians);
  entity->setHorizontalMode(static_cast<AcDb::TextHorzMode>(std::clamp(d.hAlign, 0, 5)));
  entity->setVerticalMode(static_cast<AcDb::TextVertMode>(std::clamp(d.vAlign, 0, 3)));
  if (d.hasAlignment) entity->setAlignmentPoint(ocs.World(d.alignment));
  if (d.generation & 2) entity->mirrorInX(true);
  if (d.generation & 4) entity->mirrorInY(true);
  return entity;
}

EntityPtr MakeSubDMesh(const MeshData& d) {
  AcGePoint3dArray vertices(static_cast<int>(d.vertices.size()));
  for (const Vec3& v : d.vertices) vertices.append(P(v));
  AcArray<Adesk::Int32> faces;
  for (const std::vector<int>& face : d.faces) {
    faces.append(static_cast<Adesk::Int32>(face.size()));
    for (int index : face) faces.append(index);
  }
  auto mesh = std::make_unique<AcDbSubDMesh>();
  if (mesh->setSubDMesh(vertices, faces, std::clamp(d.subdivisionLevel, 0, 4)) != Acad::eOk)
    return nullptr;
  return mesh;
}

// ---------------------------------------------------------------------------------------------
// Appending

bool Append(AcDbBlockTableRecord& record, EntityPtr entity, ImportTables& tables,
            const Entity& source, ImportCounts& counts, std::string& error,
            AcDbEntity** keepOpen = nullptr) {
  if (!SetProperties(*entity, source, tables, error)) return false;
  AcDbObjectId id;
  const Acad::ErrorStatus es = record.appendAcDbEntity(id, entity.get());
  if (es != Acad::eOk) {
    error = "the drawing refused a " + source.type + " (status " +
            std::to_string(static_cast<int>(es)) + ")";
    return false;
  }
  ++counts.appended;
  AcDbEntity* appended = entity.release();
  if (keepOpen)
    *keepOpen = appended;
  else
    appended->close();
  return true;
}

// Closes an entity kept open for its vertices however the appending ends (out of memory
// included), so that nothing stays open for write behind the import.
class CloseWhenDone {
 public:
  explicit CloseWhenDone(AcDbEntity* entity) : entity_(entity) {}
  ~CloseWhenDone() { entity_->close(); }
  CloseWhenDone(const CloseWhenDone&) = delete;
  CloseWhenDone& operator=(const CloseWhenDone&) = delete;

 private:
  AcDbEntity* entity_;
};

bool LeaveOut(const Entity& source, ImportCounts& counts) {
  ++counts.leftOut[source.type];
  return true;
}

// Appends the vertex to the open owner, then closes it.
template <class Owner, class Vertex>
bool AppendVertex(Owner& owner, Vertex* vertex, std::string& error) {
  std::unique_ptr<Vertex> owned(vertex);
  AcDbObjectId id;
  Acad::ErrorStatus es;
  if constexpr (std::is_same_v<Vertex, AcDbFaceRecord>)
    es = owner.appendFaceRecord(id, vertex);
  else
    es = owner.appendVertex(id, vertex);
  if (es != Acad::eOk) {
    error = "the drawing refused a vertex";
    return false;
  }
  owned.release()->close();
  return true;
}

bool AppendPolyface(const Entity& e, const PolylineData& d, AcDbBlockTableRecord& record,
                    ImportTables& tables, ImportCounts& counts, std::string& error) {
  // Face records hold 16-bit vertex numbers.
  if (d.vertices.size() > 32767) return LeaveOut(e, counts);
  AcDbEntity* open = nullptr;
  if (!Append(record, std::make_unique<AcDbPolyFaceMesh>(), tables, e, counts, error, &open))
    return false;
  auto& mesh = static_cast<AcDbPolyFaceMesh&>(*open);
  const CloseWhenDone closer(open);
  bool ok = true;
  for (const PolylineVertex& v : d.vertices)
    if (!(ok = AppendVertex(mesh, new AcDbPolyFaceMeshVertex(P(v.point)), error))) break;
  for (size_t i = 0; ok && i < d.faces.size(); ++i) {
    const PolyfaceFace& f = d.faces[i];
    auto* face = new AcDbFaceRecord(
        static_cast<Adesk::Int16>(f.indices[0]), static_cast<Adesk::Int16>(f.indices[1]),
        static_cast<Adesk::Int16>(f.indices[2]), static_cast<Adesk::Int16>(f.indices[3]));
    // A face without a colour or layer of its own shows the mesh's.
    if (f.colour != kColourByLayer || f.trueColour != kNoTrueColour)
      face->setColor(ColorOf(f.colour, f.trueColour));
    if (!f.layer.empty() && f.layer != e.layer) {
      const AcDbObjectId layer = tables.Layer(f.layer);
      if (layer.isNull()) {
        delete face;
        error = tables.Error();
        ok = false;
        break;
      }
      face->setLayer(layer);
    }
    ok = AppendVertex(mesh, face, error);
  }
  return ok;
}

bool AppendPolygonMesh(const Entity& e, const PolylineData& d, AcDbBlockTableRecord& record,
                       ImportTables& tables, ImportCounts& counts, std::string& error) {
  if (d.meshM < 1 || d.meshN < 1 || d.meshM > 32767 || d.meshN > 32767) return LeaveOut(e, counts);
  AcDb::PolyMeshType type = AcDb::kSimpleMesh;
  if (d.flags & 4)
    type = d.curveType == 5   ? AcDb::kQuadSurfaceMesh
           : d.curveType == 8 ? AcDb::kBezierSurfaceMesh
                              : AcDb::kCubicSurfaceMesh;
  // A smoothed mesh keeps its M x N control vertices as the grid; the surface vertices the
  // file adds are the host's own rendering of it.
  const bool controlsOnly =
      std::any_of(d.vertices.begin(), d.vertices.end(),
                  [](const PolylineVertex& v) { return (v.flags & 16) != 0; });
  AcDbEntity* open = nullptr;
  auto made = std::make_unique<AcDbPolygonMesh>(
      type, static_cast<Adesk::Int16>(d.meshM), static_cast<Adesk::Int16>(d.meshN),
      AcGePoint3dArray(), (d.flags & 1) != 0, (d.flags & 32) != 0);
  if (!Append(record, std::move(made), tables, e, counts, error, &open)) return false;
  auto& mesh = static_cast<AcDbPolygonMesh&>(*open);
  const CloseWhenDone closer(open);
  bool ok = true;
  for (const PolylineVertex& v : d.vertices)
    if (!controlsOnly || (v.flags & 16))
      if (!(ok = AppendVertex(mesh, new AcDbPolygonMeshVertex(P(v.point)), error))) break;
  return ok;
}

bool Append3dPolyline(const Entity& e, const PolylineData& d, AcDbBlockTableRecord& record,
                      ImportTables& tables, ImportCounts& counts, std::string& error) {
  AcDb::Poly3dType type = AcDb::k3dSimplePoly;
  if (d.flags & 4) type = d.curveType == 5 ? AcDb::k3dQuadSplinePoly : AcDb::k3dCubicSplinePoly;
  AcDbEntity* open = nullptr;
  auto made = std::make_unique<AcDb3dPolyline>(type, AcGePoint3dArray(), (d.flags & 1) != 0);
  if (!Append(record, std::move(made), tables, e, counts, error, &open)) return false;
  auto& polyline = static_cast<AcDb3dPolyline&>(*open);
  const CloseWhenDone closer(open);
  bool ok = true;
  // The frame of a spline-fit polyline (vertex flag 16) is not a place the curve passes.
  for (const PolylineVertex& v : d.vertices)
    if (!(v.flags & 16))
      if (!(ok = AppendVertex(polyline, new AcDb3dPolylineVertex(P(v.point)), error))) break;
  return ok;
}

bool Append2dPolyline(const Entity& e, const PolylineData& d, AcDbBlockTableRecord& record,
                      ImportTables& tables, ImportCounts& counts, std::string& error) {
  AcDb::Poly2dType type = AcDb::k2dSimplePoly;
  if (d.flags & 2) type = AcDb::k2dFitCurvePoly;
  if (d.flags & 4) type = d.curveType == 5 ? AcDb::k2dQuadSplinePoly : AcDb::k2dCubicSplinePoly;
  auto made = std::make_unique<AcDb2dPolyline>(type, AcGePoint3dArray(), d.elevation,
                                               (d.flags & 1) != 0, d.startWidth, d.endWidth);
  if (made->setNormal(NormalOf(e)) != Acad::eOk) return LeaveOut(e, counts);
  made->setThickness(e.thickness);
  AcDbEntity* open = nullptr;
  if (!Append(record, std::move(made), tables, e, counts, error, &open)) return false;
  auto& polyline = static_cast<AcDb2dPolyline&>(*open);
  const CloseWhenDone closer(open);
  bool ok = true;
  for (const PolylineVertex& v : d.vertices) {
    auto* vertex = new AcDb2dVertex(AcGePoint3d(v.point.x, v.point.y, d.elevation), v.bulge,
                                    v.startWidth, v.endWidth);
    if (v.flags & 16)
      vertex->SetVertexType(AcDb::k2dSplineCtlVertex);
    else if (v.flags & 8)
      vertex->SetVertexType(AcDb::k2dSplineFitVertex);
    else if (v.flags & 1)
      vertex->SetVertexType(AcDb::k2dCurveFitVertex);
    if (!(ok = AppendVertex(polyline, vertex, error))) break;
  }
  return ok;
}

// An INSERT, and each copy of a MINSERT array: the array runs along the reference's own
// (rotated) X and Y axes in its object coordinate system.
bool AppendInsert(const Entity& e, const InsertData& d, AcDbBlockTableRecord& record,
                  ImportTables& tables, ImportCounts& counts, std::string& error) {
  const AcDbObjectId block = tables.Block(d.block);
  // A layout is no block a reference can show (and model space inserting itself would hold
  // itself).
  if (block.isNull() || block == tables.Database().modelSpaceId() ||
      block == tables.Database().paperSpaceId())
    return LeaveOut(e, counts);
  const AcGeVector3d n = NormalOf(e);
  const Ocs ocs(n);
  const double angle = d.rotation * kRadians;
  const double c = std::cos(angle), s = std::sin(angle);
  const int columns = std::max(d.columns, 1), rows = std::max(d.rows, 1);
  const uint64_t copies = static_cast<uint64_t>(columns) * static_cast<uint64_t>(rows);
  if (copies > 1) {
    if (copies > kMaxArrayCopies - counts.arrayCopies) {
      error = tables.At(e.position) + "an INSERT array of " + std::to_string(rows) + " rows by " +
              std::to_string(columns) + " columns would make " + std::to_string(copies) +
              " block references, more than the " + std::to_string(kMaxArrayCopies) +
              " that arrays may make in one import";
      return false;
    }
    counts.arrayCopies += copies;
  }
  for (int row = 0; row < rows; ++row)
    for (int column = 0; column < columns; ++column) {
      const double dx = column * d.columnSpacing, dy = row * d.rowSpacing;
      const AcGePoint3d at(d.position.x + dx * c - dy * s, d.position.y + dx * s + dy * c,
                           d.position.z);
      auto reference = std::make_unique<AcDbBlockReference>(ocs.World(at), block);
      if (reference->setBlockTableRecord(block) != Acad::eOk ||
          reference->setNormal(n) != Acad::eOk ||
          reference->setScaleFactors(AcGeScale3d(d.scale.x, d.scale.y, d.scale.z)) != Acad::eOk ||
          reference->setRotation(angle) != Acad::eOk)
        return LeaveOut(e, counts);
      if (!Append(record, std::move(reference), tables, e, counts, error)) return false;
    }
  return true;
}

}  // namespace

bool IsHeldKind(EntityKind kind) {
  switch (kind) {
    case EntityKind::kOther:
    case EntityKind::kTrace:
    case EntityKind::kMText: return false;
    default: return true;
  }
}

bool AppendEntity(const Entity& entity, AcDbBlockTableRecord& record, ImportTables& tables,
                  ImportCounts& counts, std::string& error) {
  if (const auto* d = std::get_if<ModelerData>(&entity.data)) {
    std::string reason;
    std::vector<EntityPtr> made = MakeModelers(entity, *d, reason);
    if (made.empty()) {
      counts.unreadable.push_back(UnreadableText(entity, reason));
      return true;
    }
    for (EntityPtr& modeler : made)
      if (!Append(record, std::move(modeler), tables, entity, counts, error)) return false;
    return true;
  }
  if (!IsHeldKind(entity.kind)) {
    ++counts.skipped[entity.type];
    return true;
  }
  if (const auto* d = std::get_if<PolylineData>(&entity.data)) {
    switch (d->kind) {
      case PolylineKind::kPolyface:
        return AppendPolyface(entity, *d, record, tables, counts, error);
      case PolylineKind::kPolygonMesh:
        return AppendPolygonMesh(entity, *d, record, tables, counts, error);
      case PolylineKind::k3d: return Append3dPolyline(entity, *d, record, tables, counts, error);
      case PolylineKind::k2d: return Append2dPolyline(entity, *d, record, tables, counts, error);
    }
  }
  if (const auto* d = std::get_if<InsertData>(&entity.data))
    return AppendInsert(entity, *d, record, tables, counts, error);

  EntityPtr made;
  const EntityData& data = entity.data;
  switch (entity.kind) {
    case EntityKind::kPoint: made = MakePoint(entity, std::get<PointData>(data)); break;
    case EntityKind::kLine: made = MakeLine(entity, std::get<LineData>(data)); break;
    case EntityKind::kRay: made = MakeUnbounded<AcDbRay>(std::get<RayData>(data)); break;
    case EntityKind::kXline: made = MakeUnbounded<AcDbXline>(std::get<RayData>(data)); break;
    case EntityKind::kCircle: made = MakeCircle(entity, std::get<CircleData>(data)); break;
    case EntityKind::kArc: made = MakeArc(entity, std::get<CircleData>(data)); break;
    case EntityKind::kEllipse: made = MakeEllipse(entity, std::get<EllipseData>(data)); break;
    case EntityKind::kLwPolyline:
      made = MakeLwPolyline(entity, std::get<LwPolylineData>(data));
      break;
    case EntityKind::kSpline: made = MakeSpline(std::get<SplineData>(data)); break;
    case EntityKind::kMline: made = MakeMline(entity, std::get<MlineData>(data), tables); break;
    case EntityKind::kHatch: made = MakeHatch(entity, std::get<HatchData>(data)); break;
    case EntityKind::kSolid:
    case EntityKind::kFace: made = MakeCorners(entity, std::get<CornerData>(data)); break;
    case EntityKind::kText: made = MakeText(entity, std::get<TextData>(data)); break;
    case EntityKind::kMesh: made = MakeSubDMesh(std::get<MeshData>(data)); break;
    default: break;
  }
  if (!made) return LeaveOut(entity, counts);
  return Append(record, std::move(made), tables, entity, counts, error);
}

}  // namespace plx::dxf
