// Lightweight polylines, 2D polylines with their vertices, and the curve queries of 3D
// polylines. The planar ones share PlanarPath (bulges, parameters, boxes, transforms); a
// spline-fit 2D or 3D polyline is walked through the vertices that lie on its curve.
#include <algorithm>
#include <cmath>

#include "Access.h"
#include "CurveMath.h"
#include "PlanarPath.h"
#include "db2dpolyline.h"
#include "db3dpolyline.h"
#include "dbents.h"
#include "dbpl.h"
#include "win32/text.h"

using namespace plx::db;

ACRX_DXF_DEFINE_MEMBERS(AcDbPolyline, AcDbCurve, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0,
                        LWPOLYLINE, ACAD)
ACRX_DXF_DEFINE_MEMBERS(AcDb2dPolyline, AcDbCurve, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0,
                        POLYLINE, ACAD)
ACRX_DXF_DEFINE_MEMBERS(AcDb2dVertex, AcDbVertex, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0,
                        VERTEX, ACAD)

namespace {

bool Finite2(const AcGePoint2d& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

}  // namespace

// Lightweight polylines.

AcDbPolyline::AcDbPolyline(unsigned int numVerts) { vertices_.reserve(numVerts); }

Acad::ErrorStatus AcDbPolyline::addVertexAt(unsigned int index, const AcGePoint2d& point,
                                            double bulge, double startWidth, double endWidth,
                                            Adesk::Int32 vertexIdentifier) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (index > vertices_.size()) return Acad::eInvalidIndex;
  if (!Finite2(point) || !std::isfinite(bulge) || !std::isfinite(startWidth) ||
      !std::isfinite(endWidth))
    return Acad::eInvalidInput;
  Vertex v;
  v.point = point;
  v.bulge = bulge;
  v.startWidth = startWidth < 0 ? constantWidth_ : startWidth;
  v.endWidth = endWidth < 0 ? constantWidth_ : endWidth;
  v.id = vertexIdentifier;
  vertices_.insert(vertices_.begin() + index, v);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::removeVertexAt(unsigned int index) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (index >= vertices_.size()) return Acad::eInvalidIndex;
  vertices_.erase(vertices_.begin() + index);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::reset(Adesk::Boolean reuse, unsigned int numVerts) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!reuse)
    vertices_.clear();
  else if (numVerts < vertices_.size())
    vertices_.resize(numVerts);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint2d& point) const {
  if (index >= vertices_.size()) return Acad::eInvalidIndex;
  point = vertices_[index].point;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint3d& point) const {
  if (index >= vertices_.size()) return Acad::eInvalidIndex;
  point = OcsToWorld(normal_,
                     AcGePoint3d(vertices_[index].point.x, vertices_[index].point.y, elevation_));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setPointAt(unsigned int index, const AcGePoint2d& point) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (index >= vertices_.size()) return Acad::eInvalidIndex;
  if (!Finite2(point)) return Acad::eInvalidInput;
  vertices_[index].point = point;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getBulgeAt(unsigned int index, double& bulge) const {
  if (index >= vertices_.size()) return Acad::eInvalidIndex;
  bulge = vertices_[index].bulge;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setBulgeAt(unsigned int index, double bulge) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (index >= vertices_.size()) return Acad::eInvalidIndex;
  if (!std::isfinite(bulge)) return Acad::eInvalidInput;
  vertices_[index].bulge = bulge;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getWidthsAt(unsigned int index, double& startWidth,
                                            double& endWidth) const {
  if (index >= vertices_.size()) return Acad::eInvalidIndex;
  startWidth = vertices_[index].startWidth;
  endWidth = vertices_[index].endWidth;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setWidthsAt(unsigned int index, double startWidth,
                                            double endWidth) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (index >= vertices_.size()) return Acad::eInvalidIndex;
  if (!std::isfinite(startWidth) || !std::isfinite(endWidth) || startWidth < 0 || endWidth < 0)
    return Acad::eInvalidInput;
  vertices_[index].startWidth = startWidth;
  vertices_[index].endWidth = endWidth;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getVertexIdentifierAt(unsigned int index, Adesk::Int32& id) const {
  if (index >= vertices_.size()) return Acad::eInvalidIndex;
  id = vertices_[index].id;
  return Acad::eOk;
}

AcDbPolyline::SegType AcDbPolyline::segType(unsigned int index) const {
  if (vertices_.empty() || index >= vertices_.size()) return kEmpty;
  if (vertices_.size() == 1 || (!closed_ && index + 1 == vertices_.size())) return kPoint;
  const Vertex& a = vertices_[index];
  const Vertex& b = vertices_[(index + 1) % vertices_.size()];
  if (a.point.isEqualTo(b.point)) return kCoincident;
  return IsArcSegment(a.point, b.point, a.bulge) ? kArc : kLine;
}

namespace {

PlanarPath PathOf(const std::vector<AcDbPolyline::Vertex>& vertices, bool closed, double elevation,
                  const AcGeVector3d& normal) {
  PlanarPath path;
  path.vertices.reserve(vertices.size());
  for (const AcDbPolyline::Vertex& v : vertices)
    path.vertices.push_back({v.point, v.bulge, v.startWidth, v.endWidth});
  path.closed = closed;
  path.elevation = elevation;
  path.normal = normal;
  return path;
}

}  // namespace

Acad::ErrorStatus AcDbPolyline::getLineSegAt(unsigned int index, AcGeLineSeg2d& line) const {
  const SegType type = segType(index);
  if (type == kEmpty || type == kPoint) return Acad::eInvalidIndex;
  if (type == kArc) return Acad::eNotApplicable;
  line.set(vertices_[index].point, vertices_[(index + 1) % vertices_.size()].point);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getLineSegAt(unsigned int index, AcGeLineSeg3d& line) const {
  AcGeLineSeg2d flat;
  const Acad::ErrorStatus es = getLineSegAt(index, flat);
  if (es != Acad::eOk) return es;
  const AcGePoint2d a = flat.startPoint(), b = flat.endPoint();
  line.set(OcsToWorld(normal_, AcGePoint3d(a.x, a.y, elevation_)),
           OcsToWorld(normal_, AcGePoint3d(b.x, b.y, elevation_)));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getArcSegAt(unsigned int index, AcGeCircArc2d& arc) const {
  const SegType type = segType(index);
  if (type == kEmpty || type == kPoint) return Acad::eInvalidIndex;
  if (type != kArc) return Acad::eNotApplicable;
  const Vertex& a = vertices_[index];
  const BulgeArc b = ArcOfBulge(a.point, vertices_[(index + 1) % vertices_.size()].point, a.bulge);
  const AcGeVector2d ref = (a.point - b.center).normal();
  arc.set(b.center, b.radius, 0, std::abs(b.sweep), ref, b.sweep < 0);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getArcSegAt(unsigned int index, AcGeCircArc3d& arc) const {
  const SegType type = segType(index);
  if (type == kEmpty || type == kPoint) return Acad::eInvalidIndex;
  if (type != kArc) return Acad::eNotApplicable;
  arc = PathOf(vertices_, closed_, elevation_, normal_).WorldArc(index);
  return Acad::eOk;
}

void AcDbPolyline::setClosed(Adesk::Boolean closed) {
  if (isWriteEnabled()) closed_ = closed;
}

Adesk::Boolean AcDbPolyline::isOnlyLines() const {
  for (const Vertex& v : vertices_)
    if (std::abs(v.bulge) > 1e-12) return false;
  return true;
}

Adesk::Boolean AcDbPolyline::hasWidth() const {
  for (const Vertex& v : vertices_)
    if (v.startWidth != 0 || v.endWidth != 0) return true;
  return false;
}

Acad::ErrorStatus AcDbPolyline::getConstantWidth(double& width) const {
  if (vertices_.empty()) {
    width = constantWidth_;
    return Acad::eOk;
  }
  const double w = vertices_[0].startWidth;
  for (const Vertex& v : vertices_)
    if (v.startWidth != w || v.endWidth != w) return Acad::eInvalidInput;
  width = w;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setConstantWidth(double width) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!std::isfinite(width) || width < 0) return Acad::eInvalidInput;
  constantWidth_ = width;
  for (Vertex& v : vertices_) v.startWidth = v.endWidth = width;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setElevation(double elevation) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!std::isfinite(elevation)) return Acad::eInvalidInput;
  elevation_ = elevation;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setNormal(const AcGeVector3d& normal) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(normal) || normal.isZeroLength()) return Acad::eInvalidInput;
  normal_ = normal.normal();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setThickness(double thickness) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  thickness_ = thickness;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getArea(double& area) const {
  area = std::abs(PathOf(vertices_, closed_, elevation_, normal_).SignedArea()) / 2;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getStartParam(double& param) const {
  if (vertices_.empty()) return Acad::eDegenerateGeometry;
  param = 0;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getEndParam(double& param) const {
  if (vertices_.empty()) return Acad::eDegenerateGeometry;
  param = static_cast<double>(PathOf(vertices_, closed_, elevation_, normal_).SegmentCount());
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getStartPoint(AcGePoint3d& point) const {
  if (vertices_.empty()) return Acad::eDegenerateGeometry;
  return getPointAt(0, point);
}

Acad::ErrorStatus AcDbPolyline::getEndPoint(AcGePoint3d& point) const {
  if (vertices_.empty()) return Acad::eDegenerateGeometry;
  return getPointAt(closed_ ? 0 : numVerts() - 1, point);
}

Acad::ErrorStatus AcDbPolyline::getPointAtParam(double param, AcGePoint3d& point) const {
  return PathOf(vertices_, closed_, elevation_, normal_).PointAtParam(param, point);
}

Acad::ErrorStatus AcDbPolyline::getDistAtParam(double param, double& dist) const {
  return PathOf(vertices_, closed_, elevation_, normal_).DistAtParam(param, dist);
}

Acad::ErrorStatus AcDbPolyline::getGeomExtents(AcDbExtents& extents) const {
  return PathOf(vertices_, closed_, elevation_, normal_).Extents(extents);
}

Acad::ErrorStatus AcDbPolyline::transformBy(const AcGeMatrix3d& matrix) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  PlanarPath path = PathOf(vertices_, closed_, elevation_, normal_);
  const Acad::ErrorStatus es = path.Transform(matrix);
  if (es != Acad::eOk) return es;
  for (size_t i = 0; i < vertices_.size(); ++i) {
    vertices_[i].point = path.vertices[i].point;
    vertices_[i].startWidth = path.vertices[i].startWidth;
    vertices_[i].endWidth = path.vertices[i].endWidth;
  }
  elevation_ = path.elevation;
  normal_ = path.normal;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::explode(AcDbVoidPtrArray& entities) const {
  PathOf(vertices_, closed_, elevation_, normal_).Explode(*this, entities);
  return Acad::eOk;
}

void AcDbPolyline::ListGeometry() const {
  ListLine(closed_ ? L"                  Closed" : L"                  Open");
  double width = 0;
  if (getConstantWidth(width) == Acad::eOk)
    ListLine(plx::FormatWide(L"          Constant width %10.4f", width));
  double area = 0, length = 0, end = 0;
  getArea(area);
  if (getEndParam(end) == Acad::eOk) getDistAtParam(end, length);
  ListLine(plx::FormatWide(L"                  area %10.4f", area));
  ListLine(
      plx::FormatWide(L"             %ls %10.4f", closed_ ? L"perimeter" : L"   length", length));
  if (elevation_ != 0) ListLine(plx::FormatWide(L"               elevation %10.4f", elevation_));
  for (unsigned i = 0; i < numVerts(); ++i) {
    AcGePoint3d p;
    getPointAt(i, p);
    ListLine(L"                  at point " + ListPoint(p));
    if (std::abs(vertices_[i].bulge) > 1e-12)
      ListLine(plx::FormatWide(L"                     bulge %10.4f", vertices_[i].bulge));
  }
}

// 2D vertices.

AcDb2dVertex::AcDb2dVertex(const AcGePoint3d& position, double bulge, double startWidth,
                           double endWidth, double tangent, Adesk::Int32 vertexIdentifier)
    : position_(position),
      bulge_(bulge),
      startWidth_(startWidth),
      endWidth_(endWidth),
      tangent_(tangent),
      id_(vertexIdentifier) {}

namespace {

template <class T>
Acad::ErrorStatus SetFinite(const AcDbObject& object, T& member, double value) {
  if (!object.isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!std::isfinite(value)) return Acad::eInvalidInput;
  member = value;
  return Acad::eOk;
}

}  // namespace

Acad::ErrorStatus AcDb2dVertex::SetVertexType(AcDb::Vertex2dType type) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  type_ = type;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dVertex::setPosition(const AcGePoint3d& position) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(position)) return Acad::eInvalidInput;
  position_ = position;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dVertex::setBulge(double bulge) { return SetFinite(*this, bulge_, bulge); }
Acad::ErrorStatus AcDb2dVertex::setStartWidth(double width) {
  return SetFinite(*this, startWidth_, width);
}
Acad::ErrorStatus AcDb2dVertex::setEndWidth(double width) {
  return SetFinite(*this, endWidth_, width);
}

Acad::ErrorStatus AcDb2dVertex::setTangent(double tangent) {
  const Acad::ErrorStatus es = SetFinite(*this, tangent_, tangent);
  if (es == Acad::eOk) tangentUsed_ = true;
  return es;
}

Acad::ErrorStatus AcDb2dVertex::useTangent() {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  tangentUsed_ = true;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dVertex::ignoreTangent() {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  tangentUsed_ = false;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dVertex::setVertexIdentifier(Adesk::Int32 id) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  id_ = id;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dVertex::getGeomExtents(AcDbExtents& extents) const {
  extents = AcDbExtents();
  extents.addPoint(position_);
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dVertex::transformBy(const AcGeMatrix3d& matrix) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  position_.transformBy(matrix);
  return Acad::eOk;
}

// 2D polylines.

AcDb2dPolyline::AcDb2dPolyline(AcDb::Poly2dType type, const AcGePoint3dArray& vertices,
                               double elevation, Adesk::Boolean closed, double defStartWidth,
                               double defEndWidth, const AcGeDoubleArray* bulges)
    : elevation_(elevation),
      startWidth_(defStartWidth),
      endWidth_(defEndWidth),
      type_(type),
      closed_(closed) {
  for (int i = 0; i < vertices.length(); ++i) {
    const double bulge = bulges && i < bulges->length() ? (*bulges)[i] : 0.0;
    vertices_.Append(*this, new AcDb2dVertex(vertices[i], bulge, defStartWidth, defEndWidth),
                     nullptr);
  }
}

Acad::ErrorStatus AcDb2dPolyline::setPolyType(AcDb::Poly2dType type) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  type_ = type;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::makeClosed() {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  closed_ = true;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::makeOpen() {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  closed_ = false;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::setElevation(double elevation) {
  return SetFinite(*this, elevation_, elevation);
}

Acad::ErrorStatus AcDb2dPolyline::setNormal(const AcGeVector3d& normal) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(normal) || normal.isZeroLength()) return Acad::eInvalidInput;
  normal_ = normal.normal();
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::setThickness(double thickness) {
  return SetFinite(*this, thickness_, thickness);
}
Acad::ErrorStatus AcDb2dPolyline::setDefaultStartWidth(double width) {
  return SetFinite(*this, startWidth_, width);
}
Acad::ErrorStatus AcDb2dPolyline::setDefaultEndWidth(double width) {
  return SetFinite(*this, endWidth_, width);
}

Acad::ErrorStatus AcDb2dPolyline::appendVertex(AcDb2dVertex* vertex) {
  return vertices_.Append(*this, vertex, nullptr);
}
Acad::ErrorStatus AcDb2dPolyline::appendVertex(AcDbObjectId& id, AcDb2dVertex* vertex) {
  return vertices_.Append(*this, vertex, &id);
}

AcDbObjectIterator* AcDb2dPolyline::vertexIterator() const {
  return new VertexIterator(&vertices_);
}

void AcDb2dPolyline::AddOwnedObjects() { vertices_.AddToDatabase(*this); }

AcGePoint3d AcDb2dPolyline::vertexPosition(const AcDb2dVertex& vertex) const {
  return OcsToWorld(normal_, AcGePoint3d(vertex.position().x, vertex.position().y, elevation_));
}

namespace {

// The vertices that the curve passes, as a planar path.
PlanarPath PathOf2d(const VertexList& list, bool closed, double elevation,
                    const AcGeVector3d& normal) {
  PlanarPath path;
  path.closed = closed;
  path.elevation = elevation;
  path.normal = normal;
  path.vertices.reserve(list.Size());
  for (size_t i = 0; i < list.Size(); ++i) {
    const AcDb2dVertex* v = AcDb2dVertex::cast(list.At(i));
    if (!v || v->isErased() || v->vertexType() == AcDb::k2dSplineCtlVertex) continue;
    path.vertices.push_back({AcGePoint2d(v->position().x, v->position().y), v->bulge(),
                             v->startWidth(), v->endWidth()});
  }
  return path;
}

}  // namespace

Acad::ErrorStatus AcDb2dPolyline::getStartParam(double& param) const {
  if (PathOf2d(vertices_, closed_, elevation_, normal_).vertices.empty())
    return Acad::eDegenerateGeometry;
  param = 0;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::getEndParam(double& param) const {
  const PlanarPath path = PathOf2d(vertices_, closed_, elevation_, normal_);
  if (path.vertices.empty()) return Acad::eDegenerateGeometry;
  param = static_cast<double>(path.SegmentCount());
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::getStartPoint(AcGePoint3d& point) const {
  const PlanarPath path = PathOf2d(vertices_, closed_, elevation_, normal_);
  if (path.vertices.empty()) return Acad::eDegenerateGeometry;
  point = path.World(path.vertices.front().point);
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::getEndPoint(AcGePoint3d& point) const {
  const PlanarPath path = PathOf2d(vertices_, closed_, elevation_, normal_);
  if (path.vertices.empty()) return Acad::eDegenerateGeometry;
  point = path.World((closed_ ? path.vertices.front() : path.vertices.back()).point);
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::getPointAtParam(double param, AcGePoint3d& point) const {
  return PathOf2d(vertices_, closed_, elevation_, normal_).PointAtParam(param, point);
}

Acad::ErrorStatus AcDb2dPolyline::getDistAtParam(double param, double& dist) const {
  return PathOf2d(vertices_, closed_, elevation_, normal_).DistAtParam(param, dist);
}

Acad::ErrorStatus AcDb2dPolyline::getGeomExtents(AcDbExtents& extents) const {
  return PathOf2d(vertices_, closed_, elevation_, normal_).Extents(extents);
}

Acad::ErrorStatus AcDb2dPolyline::transformBy(const AcGeMatrix3d& matrix) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  // Every vertex moves, control vertices too: carry them all as one path.
  PlanarPath path;
  path.closed = closed_;
  path.elevation = elevation_;
  path.normal = normal_;
  std::vector<AcDb2dVertex*> live;
  for (size_t i = 0; i < vertices_.Size(); ++i)
    if (auto* v = AcDb2dVertex::cast(vertices_.At(i))) {
      live.push_back(v);
      path.vertices.push_back({AcGePoint2d(v->position().x, v->position().y), v->bulge(),
                               v->startWidth(), v->endWidth()});
    }
  const Acad::ErrorStatus es = path.Transform(matrix);
  if (es != Acad::eOk) return es;
  for (size_t i = 0; i < live.size(); ++i) {
    const PathVertex& moved = path.vertices[i];
    ObjectAccess::AsWriter(*live[i], [&] {
      live[i]->setPosition(AcGePoint3d(moved.point.x, moved.point.y, path.elevation));
      live[i]->setStartWidth(moved.startWidth);
      return live[i]->setEndWidth(moved.endWidth);
    });
  }
  elevation_ = path.elevation;
  normal_ = path.normal;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::explode(AcDbVoidPtrArray& entities) const {
  PathOf2d(vertices_, closed_, elevation_, normal_).Explode(*this, entities);
  return Acad::eOk;
}

void AcDb2dPolyline::ListGeometry() const {
  static const wchar_t* kTypes[4] = {L"", L"Curve fit", L"Quadratic spline", L"Cubic spline"};
  ListLine(plx::FormatWide(
      L"                  %ls%ls", closed_ ? L"Closed" : L"Open",
      type_ == AcDb::k2dSimplePoly ? L"" : (std::wstring(L" ") + kTypes[type_]).c_str()));
  if (elevation_ != 0) ListLine(plx::FormatWide(L"               elevation %10.4f", elevation_));
  const PlanarPath path = PathOf2d(vertices_, closed_, elevation_, normal_);
  double length = 0;
  if (!path.vertices.empty()) path.DistAtParam(static_cast<double>(path.SegmentCount()), length);
  ListLine(plx::FormatWide(L"                  area %10.4f", std::abs(path.SignedArea()) / 2));
  ListLine(
      plx::FormatWide(L"             %ls %10.4f", closed_ ? L"perimeter" : L"   length", length));
  for (const PathVertex& v : path.vertices)
    ListLine(L"                  at point " + ListPoint(path.World(v.point)));
}

// The curve queries of 3D polylines: straight segments through the vertices on the curve.

namespace {

std::vector<AcGePoint3d> CurvePoints(const VertexList& list) {
  std::vector<AcGePoint3d> points;
  points.reserve(list.Size());
  for (size_t i = 0; i < list.Size(); ++i) {
    const AcDb3dPolylineVertex* v = AcDb3dPolylineVertex::cast(list.At(i));
    if (v && !v->isErased() && v->vertexType() != AcDb::k3dControlVertex)
      points.push_back(v->position());
  }
  return points;
}

size_t Segments(const std::vector<AcGePoint3d>& points, bool closed) {
  if (points.empty()) return 0;
  return closed ? points.size() : points.size() - 1;
}

}  // namespace

Acad::ErrorStatus AcDb3dPolyline::getStartParam(double& param) const {
  if (CurvePoints(vertices_).empty()) return Acad::eDegenerateGeometry;
  param = 0;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::getEndParam(double& param) const {
  const std::vector<AcGePoint3d> points = CurvePoints(vertices_);
  if (points.empty()) return Acad::eDegenerateGeometry;
  param = static_cast<double>(Segments(points, closed_));
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::getStartPoint(AcGePoint3d& point) const {
  const std::vector<AcGePoint3d> points = CurvePoints(vertices_);
  if (points.empty()) return Acad::eDegenerateGeometry;
  point = points.front();
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::getEndPoint(AcGePoint3d& point) const {
  const std::vector<AcGePoint3d> points = CurvePoints(vertices_);
  if (points.empty()) return Acad::eDegenerateGeometry;
  point = closed_ ? points.front() : points.back();
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::getPointAtParam(double param, AcGePoint3d& point) const {
  const std::vector<AcGePoint3d> points = CurvePoints(vertices_);
  const double end = static_cast<double>(Segments(points, closed_));
  if (points.empty() || !std::isfinite(param) || param < -kParamSlack || param > end + kParamSlack)
    return Acad::eInvalidInput;
  const double t = std::clamp(param, 0.0, end);
  const size_t s = std::min(static_cast<size_t>(t), points.size() - 1);
  const AcGePoint3d& a = points[s];
  const AcGePoint3d& b = points[(s + 1) % points.size()];
  point = a + (b - a) * (t - static_cast<double>(s));
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::getDistAtParam(double param, double& dist) const {
  const std::vector<AcGePoint3d> points = CurvePoints(vertices_);
  const double end = static_cast<double>(Segments(points, closed_));
  if (points.empty() || !std::isfinite(param) || param < -kParamSlack || param > end + kParamSlack)
    return Acad::eInvalidInput;
  const double t = std::clamp(param, 0.0, end);
  dist = 0;
  for (size_t s = 0; s < Segments(points, closed_); ++s) {
    const double length = points[s].distanceTo(points[(s + 1) % points.size()]);
    if (static_cast<double>(s + 1) <= t) {
      dist += length;
    } else {
      dist += length * (t - static_cast<double>(s));
      break;
    }
  }
  return Acad::eOk;
}
