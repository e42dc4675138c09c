// Hatches: boundary loops, pattern families and the pattern's lines. Each family is a set of
// parallel lines B + k D + t u (u at the family's angle, k any integer); every line is cut by
// the boundary's segments, the crossings sorted along it, and the pieces between the first and
// second, third and fourth ... crossing kept (even-odd rule), then broken by the dashes.
// A crossing counts when exactly one end of a segment lies strictly above the line (measured
// across it), so a line through a vertex or along an edge counts each crossing once; arcs are
// cut first into pieces that rise or fall monotonically across the lines.
#include <algorithm>
#include <cmath>
#include <memory>

#include "Access.h"
#include "CurveMath.h"
#include "PlanarPath.h"
#include "dbarcs.h"
#include "dbents.h"
#include "dbhatch.h"
#include "win32/text.h"

using namespace plx::db;

ACRX_DXF_DEFINE_MEMBERS(AcDbHatch, AcDbEntity, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, HATCH,
                        ACAD)

struct AcDbHatch::Edge {
  int type = kLine;
  AcGeLineSeg2d line;
  AcGeCircArc2d arc;
  void* Pointer() { return type == kLine ? static_cast<void*>(&line) : static_cast<void*>(&arc); }
};

struct AcDbHatch::Loop {
  Adesk::Int32 type = kDefault;
  bool polyline = false;
  AcGePoint2dArray vertices;
  AcGeDoubleArray bulges;
  std::vector<std::unique_ptr<Edge>> edges;
  // The segments of a polyline loop as edges, made when the edge form of getLoopAt asks.
  mutable std::vector<std::unique_ptr<Edge>> derived;

  Loop() = default;
  Loop(const Loop& other)
      : type(other.type), polyline(other.polyline), vertices(other.vertices), bulges(other.bulges) {
    for (const auto& e : other.edges) edges.push_back(std::make_unique<Edge>(*e));
  }
};

namespace {

using Lines = std::vector<std::pair<AcGePoint2d, AcGePoint2d>>;
constexpr size_t kMaxLines = 1000000;

double Deg(double degrees) { return degrees * kPi / 180; }

AcGeVector2d Rotate(const AcGeVector2d& v, double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  return {c * v.x - s * v.y, s * v.x + c * v.y};
}

// A boundary piece in traversal order: a line from a to b, or an arc over the counter-
// clockwise angle range a0 .. a1 about center, traversed counter-clockwise unless reversed.
struct Piece {
  bool arc = false;
  AcGePoint2d a, b;
  AcGePoint2d center;
  double radius = 0, a0 = 0, a1 = 0;
  bool reversed = false;
  AcGePoint2d At(double angle) const {
    return center + AcGeVector2d(std::cos(angle), std::sin(angle)) * radius;
  }
};

Piece LinePiece(const AcGePoint2d& a, const AcGePoint2d& b) {
  Piece p;
  p.a = a;
  p.b = b;
  return p;
}

Piece ArcPiece(const AcGePoint2d& center, double radius, double a0, double a1, bool reversed) {
  Piece p;
  p.arc = true;
  p.center = center;
  p.radius = radius;
  p.a0 = a0;
  p.a1 = a1;
  p.reversed = reversed;
  p.a = p.At(reversed ? a1 : a0);
  p.b = p.At(reversed ? a0 : a1);
  return p;
}

std::vector<Piece> PiecesOf(const AcDbHatch::Loop& loop) {
  std::vector<Piece> pieces;
  if (loop.polyline) {
    const int n = loop.vertices.length();
    for (int i = 0; i < n; ++i) {
      const AcGePoint2d& a = loop.vertices[i];
      const AcGePoint2d& b = loop.vertices[(i + 1) % n];
      const double bulge = loop.bulges.length() == n ? loop.bulges[i] : 0.0;
      if (a.isEqualTo(b)) continue;
      if (!IsArcSegment(a, b, bulge)) {
        pieces.push_back(LinePiece(a, b));
        continue;
      }
      const BulgeArc arc = ArcOfBulge(a, b, bulge);
      if (arc.sweep > 0)
        pieces.push_back(
            ArcPiece(arc.center, arc.radius, arc.startAngle, arc.startAngle + arc.sweep, false));
      else
        pieces.push_back(
            ArcPiece(arc.center, arc.radius, arc.startAngle + arc.sweep, arc.startAngle, true));
    }
    return pieces;
  }
  for (const auto& e : loop.edges) {
    if (e->type == AcDbHatch::kLine) {
      pieces.push_back(LinePiece(e->line.startPoint(), e->line.endPoint()));
      continue;
    }
    const AcGeCircArc2d& arc = e->arc;
    const double ref = std::atan2(arc.refVec().y, arc.refVec().x);
    if (arc.isClockWise())
      pieces.push_back(
          ArcPiece(arc.center(), arc.radius(), ref - arc.endAng(), ref - arc.startAng(), true));
    else
      pieces.push_back(
          ArcPiece(arc.center(), arc.radius(), ref + arc.startAng(), ref + arc.endAng(), false));
  }
  return pieces;
}

// Twice the signed area of a loop (counter-clockwise positive).
double TwiceArea(const std::vector<Piece>& pieces) {
  double twice = 0;
  for (const Piece& p : pieces) {
    twice += p.a.x * p.b.y - p.b.x * p.a.y;
    if (p.arc) {
      const double theta = p.a1 - p.a0;
      const double segment = p.radius * p.radius * (theta - std::sin(theta));  // twice its area
      twice += p.reversed ? -segment : segment;
    }
  }
  return twice;
}

// The crossings, along direction u, of the line {h = level} (h measured along n) with a piece.
void Crossings(const Piece& piece, const AcGeVector2d& u, const AcGeVector2d& n, double level,
               std::vector<double>& out) {
  auto h = [&](const AcGePoint2d& p) { return p.x * n.x + p.y * n.y; };
  auto t = [&](const AcGePoint2d& p) { return p.x * u.x + p.y * u.y; };
  if (!piece.arc) {
    const double ha = h(piece.a), hb = h(piece.b);
    if ((ha > level) == (hb > level)) return;
    const double f = (level - ha) / (hb - ha);
    out.push_back(t(piece.a) + (t(piece.b) - t(piece.a)) * f);
    return;
  }
  // Split where the arc runs along the lines: there h(angle) = c.n + r sin(angle - theta) turns.
  const double theta = std::atan2(u.y, u.x);
  std::vector<double> cuts = {piece.a0};
  for (double turn = theta + kPi / 2 + kPi * std::floor((piece.a0 - theta - kPi / 2) / kPi) + kPi;
       turn < piece.a1; turn += kPi)
    if (turn > piece.a0) cuts.push_back(turn);
  cuts.push_back(piece.a1);
  for (size_t i = 0; i + 1 < cuts.size(); ++i) {
    double lo = cuts[i], hi = cuts[i + 1];
    const double hlo = h(piece.At(lo)), hhi = h(piece.At(hi));
    if ((hlo > level) == (hhi > level)) continue;
    // Monotone on [lo, hi]: solve sin(angle - theta) = v there. The closed form keeps a
    // tangent line's two crossings on one point, where bisection would leave a sliver.
    const double v = std::clamp(
        (level - (piece.center.x * n.x + piece.center.y * n.y)) / piece.radius, -1.0, 1.0);
    const double mid = 0.5 * (lo + hi);
    bool found = false;
    for (double candidate : {theta + std::asin(v), theta + kPi - std::asin(v)}) {
      candidate += kTwoPi * std::round((mid - candidate) / kTwoPi);
      if (candidate >= lo - 1e-12 && candidate <= hi + 1e-12) {
        out.push_back(t(piece.At(candidate)));
        found = true;
        break;
      }
    }
    if (found) continue;
    const bool rising = hhi > hlo;
    for (int k = 0; k < 80; ++k) {
      const double m = 0.5 * (lo + hi);
      if ((h(piece.At(m)) > level) == rising)
        hi = m;
      else
        lo = m;
    }
    out.push_back(t(piece.At(0.5 * (lo + hi))));
  }
}

// Is p inside the pieces of a loop (crossings of the line through p along X, to its right)?
bool Inside(const std::vector<Piece>& pieces, const AcGePoint2d& p) {
  std::vector<double> ts;
  for (const Piece& piece : pieces)
    Crossings(piece, AcGeVector2d(1, 0), AcGeVector2d(0, 1), p.y, ts);
  size_t right = 0;
  for (double t : ts)
    if (t > p.x) ++right;
  return right % 2 == 1;
}

}  // namespace

AcDbHatch::AcDbHatch() = default;

AcDbHatch::AcDbHatch(const AcDbHatch& other)
    : AcDbEntity(other),
      given_(other.given_),
      lines_(other.lines_),
      origin_(other.origin_),
      patternName_(other.patternName_),
      patternType_(other.patternType_),
      style_(other.style_),
      normal_(other.normal_),
      elevation_(other.elevation_),
      patternAngle_(other.patternAngle_),
      patternScale_(other.patternScale_),
      patternSpace_(other.patternSpace_),
      patternDouble_(other.patternDouble_),
      associative_(other.associative_) {
  for (const Loop* loop : other.loops_) loops_.push_back(new Loop(*loop));
}

AcDbHatch::~AcDbHatch() { ClearLoops(); }

void AcDbHatch::ClearLoops() {
  for (Loop* loop : loops_) delete loop;
  loops_.clear();
}

Acad::ErrorStatus AcDbHatch::setElevation(double elevation) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!std::isfinite(elevation)) return Acad::eInvalidInput;
  elevation_ = elevation;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::setNormal(const AcGeVector3d& normal) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!Finite(normal) || normal.isZeroLength()) return Acad::eInvalidInput;
  normal_ = normal.normal();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::setAssociative(bool associative) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  associative_ = associative;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::setHatchStyle(HatchStyle style) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (style < kNormal || style > kIgnore) return Acad::eInvalidInput;
  style_ = style;
  return Acad::eOk;
}

int AcDbHatch::numLoops() const { return static_cast<int>(loops_.size()); }

Acad::ErrorStatus AcDbHatch::insertLoopAt(int loopIndex, Adesk::Int32 loopType,
                                          const AcGePoint2dArray& vertices,
                                          const AcGeDoubleArray& bulges) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (loopIndex < 0 || loopIndex > numLoops()) return Acad::eInvalidIndex;
  if (vertices.length() < 2 || (bulges.length() != 0 && bulges.length() != vertices.length()))
    return Acad::eInvalidInput;
  for (const AcGePoint2d& p : vertices)
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return Acad::eInvalidInput;
  for (double b : bulges)
    if (!std::isfinite(b)) return Acad::eInvalidInput;
  auto loop = std::make_unique<Loop>();
  loop->type = loopType | kPolyline;
  loop->polyline = true;
  loop->vertices = vertices;
  // A closing vertex equal to the first adds nothing: the loop closes by itself.
  if (loop->vertices.length() > 2 && loop->vertices.first().isEqualTo(loop->vertices.last())) {
    loop->vertices.removeLast();
    if (bulges.length() != 0) {
      AcGeDoubleArray trimmed = bulges;
      trimmed.removeLast();
      loop->bulges = trimmed;
    }
  } else {
    loop->bulges = bulges;
  }
  loops_.insert(loops_.begin() + loopIndex, loop.release());
  lines_.clear();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::appendLoop(Adesk::Int32 loopType, const AcGePoint2dArray& vertices,
                                        const AcGeDoubleArray& bulges) {
  return insertLoopAt(numLoops(), loopType, vertices, bulges);
}

Acad::ErrorStatus AcDbHatch::appendLoop(Adesk::Int32 loopType, const AcGeVoidPointerArray& edgePtrs,
                                        const AcGeIntArray& edgeTypes) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (edgePtrs.isEmpty() || edgePtrs.length() != edgeTypes.length()) return Acad::eInvalidInput;
  auto loop = std::make_unique<Loop>();
  loop->type = loopType & ~kPolyline;
  for (int i = 0; i < edgePtrs.length(); ++i) {
    if (!edgePtrs[i]) return Acad::eInvalidInput;
    auto edge = std::make_unique<Edge>();
    edge->type = edgeTypes[i];
    if (edgeTypes[i] == kLine) {
      edge->line = *static_cast<const AcGeLineSeg2d*>(edgePtrs[i]);
      const AcGePoint2d a = edge->line.startPoint(), b = edge->line.endPoint();
      if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y))
        return Acad::eInvalidInput;
    } else if (edgeTypes[i] == kCirArc) {
      edge->arc = *static_cast<const AcGeCircArc2d*>(edgePtrs[i]);
      if (!(edge->arc.radius() > 0) || !std::isfinite(edge->arc.radius()) ||
          !std::isfinite(edge->arc.center().x) || !std::isfinite(edge->arc.center().y) ||
          !std::isfinite(edge->arc.endAng()))
        return Acad::eInvalidInput;
    } else {
      return Acad::eInvalidInput;  // elliptic and spline edges are not held by our host
    }
    loop->edges.push_back(std::move(edge));
  }
  loops_.push_back(loop.release());
  lines_.clear();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::removeLoopAt(int loopIndex) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (loopIndex < 0 || loopIndex >= numLoops()) return Acad::eInvalidIndex;
  delete loops_[static_cast<size_t>(loopIndex)];
  loops_.erase(loops_.begin() + loopIndex);
  lines_.clear();
  return Acad::eOk;
}

Adesk::Int32 AcDbHatch::loopTypeAt(int loopIndex) const {
  return loopIndex >= 0 && loopIndex < numLoops() ? loops_[static_cast<size_t>(loopIndex)]->type
                                                  : 0;
}

Acad::ErrorStatus AcDbHatch::getLoopAt(int loopIndex, Adesk::Int32& loopType,
                                       AcGePoint2dArray& vertices, AcGeDoubleArray& bulges) const {
  if (loopIndex < 0 || loopIndex >= numLoops()) return Acad::eInvalidIndex;
  const Loop& loop = *loops_[static_cast<size_t>(loopIndex)];
  if (!loop.polyline) return Acad::eInvalidInput;
  loopType = loop.type;
  vertices = loop.vertices;
  bulges = loop.bulges;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::getLoopAt(int loopIndex, Adesk::Int32& loopType,
                                       AcGeVoidPointerArray& edgePtrs,
                                       AcGeIntArray& edgeTypes) const {
  if (loopIndex < 0 || loopIndex >= numLoops()) return Acad::eInvalidIndex;
  const Loop& loop = *loops_[static_cast<size_t>(loopIndex)];
  loopType = loop.type;
  edgePtrs.removeAll();
  edgeTypes.removeAll();
  const std::vector<std::unique_ptr<Edge>>* edges = &loop.edges;
  if (loop.polyline) {
    loop.derived.clear();
    for (const Piece& p : PiecesOf(loop)) {
      auto edge = std::make_unique<Edge>();
      if (p.arc) {
        edge->type = kCirArc;
        edge->arc.set(p.center, p.radius, p.reversed ? -p.a1 : p.a0, p.reversed ? -p.a0 : p.a1,
                      AcGeVector2d::kXAxis, p.reversed);
      } else {
        edge->type = kLine;
        edge->line.set(p.a, p.b);
      }
      loop.derived.push_back(std::move(edge));
    }
    edges = &loop.derived;
  }
  for (const auto& e : *edges) {
    edgePtrs.append(e->Pointer());
    edgeTypes.append(e->type);
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::setPattern(HatchPatternType type, const ACHAR* name) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (type < kUserDefined || type > kCustomDefined) return Acad::eInvalidInput;
  if (type != kUserDefined && (!name || !*name)) return Acad::eInvalidInput;
  patternType_ = type;
  patternName_ = type == kUserDefined ? (name && *name ? name : L"_USER") : name;
  given_.clear();
  lines_.clear();
  return Acad::eOk;
}

bool AcDbHatch::isSolidFill() const {
  return patternType_ == kPreDefined && UpperName(patternName_) == L"SOLID";
}

Acad::ErrorStatus AcDbHatch::setPatternAngle(double angle) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!std::isfinite(angle)) return Acad::eInvalidInput;
  patternAngle_ = angle;
  lines_.clear();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::setPatternScale(double scale) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!std::isfinite(scale) || scale <= 0) return Acad::eInvalidInput;
  patternScale_ = scale;
  lines_.clear();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::setPatternSpace(double space) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!std::isfinite(space) || space <= 0) return Acad::eInvalidInput;
  patternSpace_ = space;
  lines_.clear();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::setPatternDouble(bool isDouble) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  patternDouble_ = isDouble;
  lines_.clear();
  return Acad::eOk;
}

std::vector<AcDbHatch::Family> AcDbHatch::Families() const {
  if (!given_.empty()) return given_;
  struct Definition {
    double angle, x, y, dx, dy;
  };
  // The pattern file's lines: angle (degrees), origin, and the step to the next line measured
  // along and across the line.
  std::vector<Definition> definitions;
  double scale = patternScale_;
  if (patternType_ == kUserDefined) {
    definitions.push_back({0, 0, 0, 0, 1});
    if (patternDouble_) definitions.push_back({90, 0, 0, 0, 1});
    scale = patternSpace_;
  } else {
    const std::wstring name = UpperName(patternName_);
    if (name == L"ANSI31" || name == L"LINE") {
      definitions.push_back({name == L"LINE" ? 0.0 : 45.0, 0, 0, 0, 0.125});
    } else if (name == L"ANSI37") {
      definitions.push_back({45, 0, 0, 0, 0.125});
      definitions.push_back({135, 0, 0, 0, 0.125});
    } else if (name == L"NET") {
      definitions.push_back({0, 0, 0, 0, 0.125});
      definitions.push_back({90, 0, 0, 0, 0.125});
    }
  }
  std::vector<Family> families;
  for (const Definition& d : definitions) {
    Family f;
    f.angle = Deg(d.angle) + patternAngle_;
    const AcGeVector2d base = Rotate(AcGeVector2d(d.x, d.y), patternAngle_) * scale;
    const AcGeVector2d offset = Rotate(AcGeVector2d(d.dx, d.dy), f.angle) * scale;
    f.baseX = origin_.x + base.x;
    f.baseY = origin_.y + base.y;
    f.offsetX = offset.x;
    f.offsetY = offset.y;
    families.push_back(f);
  }
  return families;
}

int AcDbHatch::numPatternDefinitions() const {
  return isSolidFill() ? 0 : static_cast<int>(Families().size());
}

Acad::ErrorStatus AcDbHatch::getPatternDefinitionAt(int index, double& angle, double& baseX,
                                                    double& baseY, double& offsetX, double& offsetY,
                                                    AcGeDoubleArray& dashes) const {
  const std::vector<Family> families = Families();
  if (isSolidFill() || index < 0 || index >= static_cast<int>(families.size()))
    return Acad::eInvalidIndex;
  const Family& f = families[static_cast<size_t>(index)];
  angle = f.angle;
  baseX = f.baseX;
  baseY = f.baseY;
  offsetX = f.offsetX;
  offsetY = f.offsetY;
  dashes.removeAll();
  for (double d : f.dashes) dashes.append(d);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::AppendPatternDefinition(double angle, double baseX, double baseY,
                                                     double offsetX, double offsetY,
                                                     const AcGeDoubleArray& dashes) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  for (double v : {angle, baseX, baseY, offsetX, offsetY})
    if (!std::isfinite(v)) return Acad::eInvalidInput;
  // The step across the lines must not vanish, or the family would be one line repeated.
  if (std::abs(-std::sin(angle) * offsetX + std::cos(angle) * offsetY) < 1e-12)
    return Acad::eInvalidInput;
  Family f{angle, baseX, baseY, offsetX, offsetY, {}};
  for (double d : dashes) {
    if (!std::isfinite(d)) return Acad::eInvalidInput;
    f.dashes.push_back(d);
  }
  given_.push_back(f);
  lines_.clear();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::ComputeLines(Lines& lines) const {
  lines.clear();
  if (isSolidFill() || loops_.empty()) return Acad::eOk;
  std::vector<Piece> pieces;
  for (const Loop* loop : loops_) {
    const std::vector<Piece> loopPieces = PiecesOf(*loop);
    pieces.insert(pieces.end(), loopPieces.begin(), loopPieces.end());
  }
  // The boundary's box, arcs by their full circles (enough to bound the line range).
  double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
  auto grow = [&](const AcGePoint2d& p, double r) {
    minX = std::min(minX, p.x - r);
    maxX = std::max(maxX, p.x + r);
    minY = std::min(minY, p.y - r);
    maxY = std::max(maxY, p.y + r);
  };
  for (const Piece& p : pieces) {
    grow(p.a, 0);
    grow(p.b, 0);
    if (p.arc) grow(p.center, p.radius);
  }
  if (pieces.empty()) return Acad::eOk;
  std::vector<double> ts;
  for (const Family& f : Families()) {
    const AcGeVector2d u(std::cos(f.angle), std::sin(f.angle)), n(-u.y, u.x);
    const AcGeVector2d step(f.offsetX, f.offsetY);
    const double spacing = step.dotProduct(n);
    if (std::abs(spacing) < 1e-12) continue;
    const double baseH = f.baseX * n.x + f.baseY * n.y, baseT = f.baseX * u.x + f.baseY * u.y;
    double hMin = 1e300, hMax = -1e300;
    for (const AcGePoint2d& c : {AcGePoint2d(minX, minY), AcGePoint2d(maxX, minY),
                                 AcGePoint2d(minX, maxY), AcGePoint2d(maxX, maxY)}) {
      const double h = c.x * n.x + c.y * n.y;
      hMin = std::min(hMin, h);
      hMax = std::max(hMax, h);
    }
    double k0 = (hMin - baseH) / spacing, k1 = (hMax - baseH) / spacing;
    if (k0 > k1) std::swap(k0, k1);
    const double first = std::ceil(k0), last = std::floor(k1);
    if (last - first + 1 > static_cast<double>(kMaxLines - lines.size()))
      return Acad::eHatchTooDense;
    double period = 0;
    for (double d : f.dashes) period += std::abs(d);
    for (double k = first; k <= last; ++k) {
      const double level = baseH + k * spacing;
      ts.clear();
      for (const Piece& p : pieces) Crossings(p, u, n, level, ts);
      std::sort(ts.begin(), ts.end());
      auto emit = [&](double t0, double t1) {
        if (t1 - t0 <= 1e-12) return true;
        if (lines.size() >= kMaxLines) return false;
        lines.emplace_back(AcGePoint2d(u.x * t0 + n.x * level, u.y * t0 + n.y * level),
                           AcGePoint2d(u.x * t1 + n.x * level, u.y * t1 + n.y * level));
        return true;
      };
      // Where this line's dash pattern begins: its family origin moved k steps.
      const double origin = baseT + k * step.dotProduct(u);
      for (size_t i = 0; i + 1 < ts.size(); i += 2) {
        const double t0 = ts[i], t1 = ts[i + 1];
        if (f.dashes.empty() || period <= 0) {
          if (!emit(t0, t1)) return Acad::eHatchTooDense;
          continue;
        }
        double at = origin + std::floor((t0 - origin) / period) * period;
        while (at < t1) {
          for (double d : f.dashes) {
            const double next = at + std::abs(d);
            if (d > 0 && next > t0 && at < t1 && !emit(std::max(at, t0), std::min(next, t1)))
              return Acad::eHatchTooDense;
            at = next;
            if (at >= t1) break;
          }
        }
      }
    }
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::evaluateHatch(bool) {
  Lines lines;
  const Acad::ErrorStatus es = ComputeLines(lines);
  if (es != Acad::eOk) return es;
  lines_ = std::move(lines);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::getHatchLineDataAt(int index, AcGePoint2d& startPoint,
                                                AcGePoint2d& endPoint) const {
  if (index < 0 || index >= numHatchLines()) return Acad::eInvalidIndex;
  startPoint = lines_[static_cast<size_t>(index)].first;
  endPoint = lines_[static_cast<size_t>(index)].second;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::getArea(double& area) const {
  std::vector<std::vector<Piece>> loops;
  for (const Loop* loop : loops_) loops.push_back(PiecesOf(*loop));
  area = 0;
  for (size_t i = 0; i < loops.size(); ++i) {
    if (loops[i].empty()) continue;
    // A loop inside an odd number of others is a hole.
    const AcGePoint2d probe = loops[i].front().a;
    int depth = 0;
    for (size_t j = 0; j < loops.size(); ++j)
      if (j != i && Inside(loops[j], probe)) ++depth;
    const double a = std::abs(TwiceArea(loops[i])) / 2;
    area += depth % 2 == 0 ? a : -a;
  }
  area = std::max(area, 0.0);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::getGeomExtents(AcDbExtents& extents) const {
  if (loops_.empty()) return Acad::eInvalidExtents;
  AcGeVector3d x, y;
  OcsAxes(normal_, x, y);
  AcDbExtents box;
  for (const Loop* loop : loops_)
    for (const Piece& p : PiecesOf(*loop)) {
      box.addPoint(OcsToWorld(normal_, AcGePoint3d(p.a.x, p.a.y, elevation_)));
      box.addPoint(OcsToWorld(normal_, AcGePoint3d(p.b.x, p.b.y, elevation_)));
      if (p.arc)
        AddEllipticExtents(box,
                           OcsToWorld(normal_, AcGePoint3d(p.center.x, p.center.y, elevation_)),
                           x * p.radius, y * p.radius, p.a0, p.a1);
    }
  extents = box;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::transformBy(const AcGeMatrix3d& matrix) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!matrix.isUniScaledOrtho()) return Acad::eCannotScaleNonUniformly;
  // In object coordinates the map is a similarity: turn by delta, scale by s, move by t.
  AcGeVector3d x, y;
  OcsAxes(normal_, x, y);
  const CarriedFrame frame = CarryFrame(matrix, x, y);
  AcGeVector3d x2, y2;
  OcsAxes(frame.normal, x2, y2);
  const double delta = std::atan2(frame.xAxis.dotProduct(y2), frame.xAxis.dotProduct(x2));
  const double s = frame.xAxis.length();
  const AcGePoint3d moved =
      WorldToOcs(frame.normal, matrix * OcsToWorld(normal_, AcGePoint3d(0, 0, elevation_)));
  const AcGeVector2d t(moved.x, moved.y);
  auto map = [&](const AcGePoint2d& p) {
    return AcGePoint2d::kOrigin + t + Rotate(p - AcGePoint2d::kOrigin, delta) * s;
  };
  for (Loop* loop : loops_) {
    for (AcGePoint2d& p : loop->vertices) p = map(p);
    for (auto& e : loop->edges) {
      if (e->type == kLine) {
        e->line.set(map(e->line.startPoint()), map(e->line.endPoint()));
      } else {
        AcGeCircArc2d& arc = e->arc;
        arc.set(map(arc.center()), arc.radius() * s, arc.startAng(), arc.endAng(),
                Rotate(arc.refVec(), delta), arc.isClockWise());
      }
    }
    loop->derived.clear();
  }
  for (Family& f : given_) {
    const AcGePoint2d base = map(AcGePoint2d(f.baseX, f.baseY));
    const AcGeVector2d offset = Rotate(AcGeVector2d(f.offsetX, f.offsetY), delta) * s;
    f.angle += delta;
    f.baseX = base.x;
    f.baseY = base.y;
    f.offsetX = offset.x;
    f.offsetY = offset.y;
    for (double& d : f.dashes) d *= s;
  }
  for (auto& line : lines_) line = {map(line.first), map(line.second)};
  origin_ = map(origin_);
  patternAngle_ += delta;
  if (patternType_ == kUserDefined)
    patternSpace_ *= s;
  else
    patternScale_ *= s;
  normal_ = frame.normal;
  elevation_ = moved.z;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::explode(AcDbVoidPtrArray& entities) const {
  Lines lines;
  const Acad::ErrorStatus es = ComputeLines(lines);
  if (es != Acad::eOk) return es;
  auto world = [&](const AcGePoint2d& p) {
    return OcsToWorld(normal_, AcGePoint3d(p.x, p.y, elevation_));
  };
  auto add = [&](AcDbEntity* piece) {
    piece->setPropertiesFrom(this);
    entities.append(piece);
  };
  for (const Loop* loop : loops_)
    for (const Piece& p : PiecesOf(*loop)) {
      if (!p.arc) {
        if (p.a.isEqualTo(p.b)) continue;
        auto* line = new AcDbLine(world(p.a), world(p.b));
        line->setNormal(normal_);
        add(line);
      } else if (p.a1 - p.a0 >= kTwoPi - 1e-12) {
        add(new AcDbCircle(world(p.center), normal_, p.radius));
      } else {
        add(new AcDbArc(world(p.center), normal_, p.radius, p.a0, p.a1));
      }
    }
  for (const auto& [a, b] : lines) {
    auto* line = new AcDbLine(world(a), world(b));
    line->setNormal(normal_);
    add(line);
  }
  return Acad::eOk;
}

void AcDbHatch::ListGeometry() const {
  static const wchar_t* kTypes[3] = {L"User defined", L"Predefined", L"Custom"};
  ListLine(plx::FormatWide(L"                  Hatch pattern %ls (%ls)", patternName_.c_str(),
                           kTypes[patternType_]));
  if (!isSolidFill()) {
    if (patternType_ == kUserDefined)
      ListLine(plx::FormatWide(L"                  Hatch spacing %10.4f", patternSpace_));
    else
      ListLine(plx::FormatWide(L"                  Hatch scale %10.4f", patternScale_));
    ListLine(plx::FormatWide(L"                  Hatch angle %10.4f", patternAngle_ * 180 / kPi));
  }
  double area = 0;
  getArea(area);
  ListLine(plx::FormatWide(L"                  Area %10.4f", area));
  ListLine(plx::FormatWide(L"                  Boundary loops: %d", numLoops()));
  if (elevation_ != 0) ListLine(plx::FormatWide(L"                  Elevation %10.4f", elevation_));
  ListLine(associative_ ? L"                  Associative" : L"                  Non-associative");
}
