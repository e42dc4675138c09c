// Entity records of a DXF file into the drawing model.
//
// A record is the list of groups after its 0 group. Groups that belong to no entity type are
// taken apart first: 102 "{...}" application groups, extended data (1001 and after) and
// embedded objects (101 and after) end or interrupt the entity's own data. The common
// properties (5, 8, 6, 62, 420, 39, 67, 210/220/230) mean the same in every type held here;
// each type then reads its own groups, in file order where the order carries meaning
// (polyline vertices, spline knots, hatch loops, multiline vertices, mesh lists).
#include <algorithm>
#include <charconv>

#include "ParserParts.h"

namespace plx::dxf::detail {

std::string_view Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

uint64_t ParseHandle(std::string_view hex) {
  hex = Trim(hex);
  uint64_t value = 0;
  auto [end, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), value, 16);
  return (ec == std::errc() && end == hex.data() + hex.size()) ? value : 0;
}

EntityKind KindOfType(std::string_view type) {
  struct Entry {
    std::string_view name;
    EntityKind kind;
  };
  // Most common first: the faces and lines of large drawings.
  static constexpr Entry kKinds[] = {
      {"3DFACE", EntityKind::kFace},
      {"LINE", EntityKind::kLine},
      {"LWPOLYLINE", EntityKind::kLwPolyline},
      {"POLYLINE", EntityKind::kPolyline},
      {"POINT", EntityKind::kPoint},
      {"ARC", EntityKind::kArc},
      {"CIRCLE", EntityKind::kCircle},
      {"TEXT", EntityKind::kText},
      {"MTEXT", EntityKind::kMText},
      {"INSERT", EntityKind::kInsert},
      {"SOLID", EntityKind::kSolid},
      {"3DLINE", EntityKind::kLine},
      {"RAY", EntityKind::kRay},
      {"XLINE", EntityKind::kXline},
      {"ELLIPSE", EntityKind::kEllipse},
      {"SPLINE", EntityKind::kSpline},
      {"MLINE", EntityKind::kMline},
      {"HATCH", EntityKind::kHatch},
      {"TRACE", EntityKind::kTrace},
      {"3DSOLID", EntityKind::k3dSolid},
      {"BODY", EntityKind::kBody},
      {"REGION", EntityKind::kRegion},
      {"MESH", EntityKind::kMesh},
  };
  for (const Entry& e : kKinds)
    if (e.name == type) return e.kind;
  return EntityKind::kOther;
}

namespace {

using Groups = std::span<const Group>;

int AsInt(const Group& g) {
  int64_t v = g.integer;
  return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// Sets the coordinate of a point group (10..18, 20..28, 30..38 pick x, y, z of point code % 10).
void SetCoord(Vec3& p, const Group& g) {
  int axis = g.code / 10 % 10;  // 1, 2, 3 for 1x, 2x, 3x
  if (g.code >= 210) axis = (g.code - 200) / 10;
  if (axis == 1) p.x = g.real;
  if (axis == 2) p.y = g.real;
  if (axis == 3) p.z = g.real;
}

bool IsPointCode(int code, int base) {
  return code == base || code == base + 10 || code == base + 20;
}

// The groups of the entity's own data: up to extended data or an embedded object, without
// 102 application groups.
void OwnGroups(Groups groups, std::vector<Group>& out, bool& filtered, Groups& own) {
  size_t end = groups.size();
  bool hasBraces = false;
  for (size_t i = 0; i < groups.size(); ++i) {
    int c = groups[i].code;
    if (c >= 1000 || c == 101) {
      end = i;
      break;
    }
    if (c == 102) hasBraces = true;
  }
  filtered = hasBraces;
  if (!hasBraces) {
    own = groups.first(end);
    return;
  }
  out.clear();
  bool inside = false;
  for (size_t i = 0; i < end; ++i) {
    const Group& g = groups[i];
    if (g.code == 102) {
      std::string_view t = Trim(g.text);
      inside = !t.empty() && t[0] == '{';
      continue;
    }
    if (!inside) out.push_back(g);
  }
  own = out;
}

void ReadCommon(Groups groups, Entity& e, const ReadContext& cx) {
  bool haveHandle = false, haveLayer = false, haveColour = false;
  for (const Group& g : groups) {
    switch (g.code) {
      case 5:
        if (!haveHandle) e.handle = ParseHandle(g.text), haveHandle = true;
        break;
      case 8:
        if (!haveLayer) e.layer = cx.decoder.Decode(Trim(g.text)), haveLayer = true;
        break;
      case 6: e.linetype = cx.decoder.Decode(Trim(g.text)); break;
      case 62:
        if (!haveColour) e.colour = AsInt(g), haveColour = true;
        break;
      case 420: e.trueColour = static_cast<int32_t>(g.integer & 0xFFFFFF); break;
      case 39: e.thickness = g.real; break;
      case 67: e.paperSpace = g.integer != 0; break;
      case 210:
      case 220:
      case 230: SetCoord(e.extrusion, g); break;
      default: break;
    }
  }
}

void ReadPoint(Groups groups, PointData& d) {
  for (const Group& g : groups) {
    if (IsPointCode(g.code, 10)) SetCoord(d.position, g);
    if (g.code == 50) d.xAxisAngle = g.real;
  }
}

void ReadLine(Groups groups, LineData& d) {
  for (const Group& g : groups) {
    if (IsPointCode(g.code, 10)) SetCoord(d.start, g);
    if (IsPointCode(g.code, 11)) SetCoord(d.end, g);
  }
}

void ReadRay(Groups groups, RayData& d) {
  for (const Group& g : groups) {
    if (IsPointCode(g.code, 10)) SetCoord(d.base, g);
    if (IsPointCode(g.code, 11)) SetCoord(d.direction, g);
  }
}

void ReadCircle(Groups groups, CircleData& d, bool arc) {
  if (!arc) d.startAngle = 0, d.endAngle = 360;
  for (const Group& g : groups) {
    if (IsPointCode(g.code, 10)) SetCoord(d.center, g);
    if (g.code == 40) d.radius = g.real;
    if (arc && g.code == 50) d.startAngle = g.real;
    if (arc && g.code == 51) d.endAngle = g.real;
  }
}

void ReadEllipse(Groups groups, EllipseData& d) {
  for (const Group& g : groups) {
    if (IsPointCode(g.code, 10)) SetCoord(d.center, g);
    if (IsPointCode(g.code, 11)) SetCoord(d.majorAxis, g);
    if (g.code == 40) d.ratio = g.real;
    if (g.code == 41) d.startParam = g.real;
    if (g.code == 42) d.endParam = g.real;
  }
}

void ReadLwPolyline(Groups groups, LwPolylineData& d) {
  for (const Group& g : groups) {
    switch (g.code) {
      case 90:
        // The count is the file's claim; each vertex needs a group of the record, so the
        // record's size bounds what is worth reserving.
        if (g.integer > 0)
          d.vertices.reserve(
              std::min(static_cast<uint64_t>(g.integer), static_cast<uint64_t>(groups.size())));
        break;
      case 70: d.flags = AsInt(g); break;
      case 43: d.constantWidth = g.real; break;
      case 38: d.elevation = g.real; break;
      case 10:
        d.vertices.push_back({});
        d.vertices.back().x = g.real;
        break;
      case 20:
        if (!d.vertices.empty()) d.vertices.back().y = g.real;
        break;
      case 40:
        if (!d.vertices.empty()) d.vertices.back().startWidth = g.real;
        break;
      case 41:
        if (!d.vertices.empty()) d.vertices.back().endWidth = g.real;
        break;
      case 42:
        if (!d.vertices.empty()) d.vertices.back().bulge = g.real;
        break;
      default: break;
    }
  }
}

void ReadSpline(Groups groups, SplineData& d) {
  Vec3 start, end;
  bool hasStart = false, hasEnd = false;
  for (const Group& g : groups) {
    switch (g.code) {
      case 70: d.flags = AsInt(g); break;
      case 71: d.degree = AsInt(g); break;
      case 42: d.knotTolerance = g.real; break;
      case 43: d.controlTolerance = g.real; break;
      case 44: d.fitTolerance = g.real; break;
      case 40: d.knots.push_back(g.real); break;
      case 41: d.weights.push_back(g.real); break;
      case 10: d.controlPoints.push_back({g.real, 0, 0}); break;
      case 20:
      case 30:
        if (!d.controlPoints.empty()) SetCoord(d.controlPoints.back(), g);
        break;
      case 11: d.fitPoints.push_back({g.real, 0, 0}); break;
      case 21:
      case 31:
        if (!d.fitPoints.empty()) SetCoord(d.fitPoints.back(), g);
        break;
      case 12:
      case 22:
      case 32: SetCoord(start, g), hasStart = true; break;
      case 13:
      case 23:
      case 33: SetCoord(end, g), hasEnd = true; break;
      default: break;
    }
  }
  if (hasStart) d.startTangent = start;
  if (hasEnd) d.endTangent = end;
}

void ReadMline(Groups groups, MlineData& d, const ReadContext& cx) {
  for (const Group& g : groups) {
    MlineVertex* v = d.vertices.empty() ? nullptr : &d.vertices.back();
    switch (g.code) {
      case 2: d.styleName = cx.decoder.Decode(Trim(g.text)); break;
      case 340: d.styleHandle = ParseHandle(g.text); break;
      case 40: d.scale = g.real; break;
      case 70: d.justification = AsInt(g); break;
      case 71: d.flags = AsInt(g); break;
      case 73: d.styleElements = AsInt(g); break;
      case 10:
      case 20:
      case 30: SetCoord(d.start, g); break;
      case 11:
        d.vertices.push_back({});
        d.vertices.back().point.x = g.real;
        break;
      case 21:
      case 31:
        if (v) SetCoord(v->point, g);
        break;
      case 12:
      case 22:
      case 32:
        if (v) SetCoord(v->direction, g);
        break;
      case 13:
      case 23:
      case 33:
        if (v) SetCoord(v->miter, g);
        break;
      case 74:
        if (v) v->elementParams.emplace_back();
        break;
      case 41:
        if (v && !v->elementParams.empty()) v->elementParams.back().push_back(g.real);
        break;
      case 75:
        if (v) v->areaFillParams.emplace_back();
        break;
      case 42:
        if (v && !v->areaFillParams.empty()) v->areaFillParams.back().push_back(g.real);
        break;
      default: break;
    }
  }
}

// Reads groups in order; counts in the file say how many follow, but a count never makes the
// cursor read a group of another code.
class Cursor {
 public:
  explicit Cursor(Groups groups) : groups_(groups) {}
  bool At(int code) const { return i_ < groups_.size() && groups_[i_].code == code; }
  bool Done() const { return i_ >= groups_.size(); }
  const Group& Peek() const { return groups_[i_]; }
  void Skip() { ++i_; }
  double Real(int code, double fallback = 0) { return At(code) ? groups_[i_++].real : fallback; }
  int64_t Int(int code, int64_t fallback = 0) {
    return At(code) ? groups_[i_++].integer : fallback;
  }
  size_t Index() const { return i_; }
  Groups Rest() const { return groups_.subspan(i_); }

 private:
  Groups groups_;
  size_t i_ = 0;
};

void ReadHatchEdge(Cursor& c, HatchEdge& e) {
  switch (e.type) {
    case HatchEdge::kLine:
      e.x0 = c.Real(10), e.y0 = c.Real(20), e.x1 = c.Real(11), e.y1 = c.Real(21);
      break;
    case HatchEdge::kArc:
      e.x0 = c.Real(10), e.y0 = c.Real(20), e.radius = c.Real(40);
      e.startAngle = c.Real(50), e.endAngle = c.Real(51), e.counterClockwise = c.Int(73, 1) != 0;
      break;
    case HatchEdge::kEllipse:
      e.x0 = c.Real(10), e.y0 = c.Real(20), e.x1 = c.Real(11), e.y1 = c.Real(21),
      e.radius = c.Real(40);
      e.startAngle = c.Real(50), e.endAngle = c.Real(51), e.counterClockwise = c.Int(73, 1) != 0;
      break;
    case HatchEdge::kSpline: {
      e.degree = static_cast<int>(c.Int(94, 3));
      e.rational = c.Int(73) != 0;
      e.periodic = c.Int(74) != 0;
      int64_t knots = c.Int(95), controls = c.Int(96);
      for (int64_t k = 0; k < knots && c.At(40); ++k) e.knots.push_back(c.Real(40));
      for (int64_t k = 0; k < controls && c.At(10); ++k) {
        std::array<double, 2> p{c.Real(10), c.Real(20)};
        e.controlPoints.push_back(p);
        if (c.At(42)) e.weights.push_back(c.Real(42));
      }
      if (c.At(97)) {
        int64_t fits = c.Int(97);
        for (int64_t k = 0; k < fits && c.At(11); ++k)
          e.fitPoints.push_back({c.Real(11), c.Real(21)});
        if (c.At(12)) c.Real(12), c.Real(22);
        if (c.At(13)) c.Real(13), c.Real(23);
      }
      break;
    }
    default: break;
  }
}

void ReadHatch(Groups groups, HatchData& d, const ReadContext& cx) {
  Cursor c(groups);
  // Up to the loop count: the elevation point, pattern name and flags.
  while (!c.Done() && !c.At(91)) {
    const Group& g = c.Peek();
    if (g.code == 30) d.elevation = g.real;
    if (g.code == 2) d.pattern = cx.decoder.Decode(Trim(g.text));
    if (g.code == 70) d.solid = g.integer != 0;
    if (g.code == 71) d.associative = g.integer != 0;
    c.Skip();
  }
  int64_t loops = c.Int(91);
  for (int64_t l = 0; l < loops && c.At(92); ++l) {
    HatchLoop loop;
    loop.flags = static_cast<int>(c.Int(92));
    if (loop.flags & 2) {
      bool bulges = c.Int(72) != 0;
      loop.closed = c.Int(73, 1) != 0;
      int64_t n = c.Int(93);
      for (int64_t k = 0; k < n && c.At(10); ++k) {
        LwVertex v;
        v.x = c.Real(10), v.y = c.Real(20);
        if (bulges || c.At(42)) v.bulge = c.Real(42);
        loop.polyline.push_back(v);
      }
    } else {
      int64_t n = c.Int(93);
      for (int64_t k = 0; k < n && c.At(72); ++k) {
        HatchEdge e;
        e.type = static_cast<int>(c.Int(72));
        ReadHatchEdge(c, e);
        loop.edges.push_back(std::move(e));
      }
    }
    int64_t sources = c.Int(97);
    for (int64_t k = 0; k < sources && c.At(330); ++k) c.Skip();
    d.loops.push_back(std::move(loop));
  }
  bool seeds = false;
  for (const Group& g : c.Rest()) {
    HatchPatternLine* line = d.patternLines.empty() ? nullptr : &d.patternLines.back();
    switch (g.code) {
      case 75: d.style = AsInt(g); break;
      case 76: d.patternType = AsInt(g); break;
      case 52: d.patternAngle = g.real; break;
      case 41: d.patternScale = g.real; break;
      case 77: d.patternDouble = g.integer != 0; break;
      case 53:
        d.patternLines.push_back({});
        d.patternLines.back().angle = g.real;
        break;
      case 43:
        if (line) line->baseX = g.real;
        break;
      case 44:
        if (line) line->baseY = g.real;
        break;
      case 45:
        if (line) line->offsetX = g.real;
        break;
      case 46:
        if (line) line->offsetY = g.real;
        break;
      case 49:
        if (line) line->dashes.push_back(g.real);
        break;
      case 98: seeds = true; break;
      case 10:
        if (seeds) d.seeds.push_back({g.real, 0});
        break;
      case 20:
        if (seeds && !d.seeds.empty()) d.seeds.back()[1] = g.real;
        break;
      case 450: seeds = false; break;  // gradient data follows
      default: break;
    }
  }
}

void ReadCorners(Groups groups, CornerData& d, bool face) {
  bool hasFourth = false;
  for (const Group& g : groups) {
    int c = g.code;
    if (c >= 10 && c <= 33 && c % 10 <= 3) {
      SetCoord(d.corners[c % 10], g);
      if (c % 10 == 3) hasFourth = true;
    }
    if (face && c == 70) d.invisibleEdges = AsInt(g);
  }
  if (!hasFourth) d.corners[3] = d.corners[2];
}

void ReadText(Groups groups, TextData& d, const ReadContext& cx) {
  for (const Group& g : groups) {
    switch (g.code) {
      case 1: d.text = cx.decoder.Decode(g.text); break;
      case 7: d.style = cx.decoder.Decode(Trim(g.text)); break;
      case 10:
      case 20:
      case 30: SetCoord(d.position, g); break;
      case 11:
      case 21:
      case 31: SetCoord(d.alignment, g), d.hasAlignment = true; break;
      case 40: d.height = g.real; break;
      case 50: d.rotation = g.real; break;
      case 41: d.widthFactor = g.real; break;
      case 51: d.oblique = g.real; break;
      case 71: d.generation = AsInt(g); break;
      case 72: d.hAlign = AsInt(g); break;
      case 73: d.vAlign = AsInt(g); break;
      default: break;
    }
  }
}

void ReadMText(Groups groups, MTextData& d, const ReadContext& cx) {
  std::string raw, last;
  for (const Group& g : groups) {
    switch (g.code) {
      case 3: raw.append(g.text); break;
      case 1: last = std::string(g.text); break;
      case 7: d.style = cx.decoder.Decode(Trim(g.text)); break;
      case 10:
      case 20:
      case 30: SetCoord(d.position, g); break;
      case 11:
      case 21:
      case 31: SetCoord(d.direction, g), d.hasDirection = true; break;
      case 40: d.height = g.real; break;
      case 41: d.width = g.real; break;
      case 50: d.rotation = g.real; break;
      case 71: d.attachment = AsInt(g); break;
      default: break;
    }
  }
  // Decoded as a whole, so that an escape split between groups still resolves.
  d.text = cx.decoder.Decode(raw + last);
}

void ReadInsert(Groups groups, InsertData& d, const ReadContext& cx) {
  for (const Group& g : groups) {
    switch (g.code) {
      case 2: d.block = cx.decoder.Decode(Trim(g.text)); break;
      case 10:
      case 20:
      case 30: SetCoord(d.position, g); break;
      case 41: d.scale.x = g.real; break;
      case 42: d.scale.y = g.real; break;
      case 43: d.scale.z = g.real; break;
      case 50: d.rotation = g.real; break;
      case 66: d.hasAttributes = g.integer != 0; break;
      case 70: d.columns = AsInt(g); break;
      case 71: d.rows = AsInt(g); break;
      case 44: d.columnSpacing = g.real; break;
      case 45: d.rowSpacing = g.real; break;
      default: break;
    }
  }
}

void ReadModeler(Groups groups, ModelerData& d, const ReadContext& cx) {
  std::vector<std::string> lines;
  for (const Group& g : groups) {
    if (g.code == 70) d.version = AsInt(g);
    if (g.code == 1) lines.emplace_back(g.text);
    if (g.code == 3) {
      if (lines.empty()) lines.emplace_back();
      lines.back().append(g.text);
    }
  }
  size_t total = 0;
  for (const std::string& l : lines) total += l.size() + 1;
  d.sat.reserve(total);
  for (const std::string& l : lines) {
    d.sat += cx.enciphered ? DecipherSat(l) : l;
    d.sat += '\n';
  }
}

bool ReadMesh(Groups groups, MeshData& d, ReadContext& cx, size_t position) {
  enum { kNone, kVertices, kFaces, kEdges, kCreases, kOverrides } state = kNone;
  std::vector<int64_t> faceList, edgeList;
  int64_t expected = 0;
  for (const Group& g : groups) {
    switch (g.code) {
      case 71:
        if (state == kNone) d.version = AsInt(g);
        break;
      case 72:
        if (state == kNone) d.blendCrease = AsInt(g);
        break;
      case 91:
        if (state == kNone) d.subdivisionLevel = AsInt(g);
        break;
      case 92: state = kVertices; break;
      case 93: state = kFaces, expected = g.integer; break;
      case 94: state = kEdges, expected = g.integer * 2; break;
      case 95: state = kCreases; break;
      case 10:
        if (state == kVertices) d.vertices.push_back({g.real, 0, 0});
        break;
      case 20:
      case 30:
        if (state == kVertices && !d.vertices.empty()) SetCoord(d.vertices.back(), g);
        break;
      case 90:
        if (state == kFaces && static_cast<int64_t>(faceList.size()) < expected)
          faceList.push_back(g.integer);
        else if (state == kEdges && static_cast<int64_t>(edgeList.size()) < expected)
          edgeList.push_back(g.integer);
        else if (state == kCreases)
          state = kOverrides;
        break;
      case 140:
        if (state == kCreases) d.creases.push_back(g.real);
        break;
      default: break;
    }
  }
  auto bad = [&](const std::string& what) {
    cx.error = Cat({cx.At(position), "MESH ", what});
    return false;
  };
  int64_t n = static_cast<int64_t>(d.vertices.size());
  for (size_t i = 0; i < faceList.size();) {
    int64_t count = faceList[i++];
    if (count < 1 || count > static_cast<int64_t>(faceList.size() - i))
      return bad("has a broken face list");
    std::vector<int> face;
    for (int64_t k = 0; k < count; ++k) {
      int64_t index = faceList[i++];
      if (index < 0 || index >= n)
        return bad(
            Cat({"face refers to vertex ", std::to_string(index), " of ", std::to_string(n)}));
      face.push_back(static_cast<int>(index));
    }
    d.faces.push_back(std::move(face));
  }
  for (size_t i = 0; i + 1 < edgeList.size(); i += 2) {
    if (edgeList[i] < 0 || edgeList[i] >= n || edgeList[i + 1] < 0 || edgeList[i + 1] >= n)
      return bad("edge refers to a vertex it does not have");
    d.edges.push_back({static_cast<int>(edgeList[i]), static_cast<int>(edgeList[i + 1])});
  }
  return true;
}

void ReadPolylineHead(Groups groups, PolylineData& d) {
  for (const Group& g : groups) {
    switch (g.code) {
      case 30: d.elevation = g.real; break;
      case 70: d.flags = AsInt(g); break;
      case 71: d.meshM = AsInt(g); break;
      case 72: d.meshN = AsInt(g); break;
      case 73: d.smoothM = AsInt(g); break;
      case 74: d.smoothN = AsInt(g); break;
      case 75: d.curveType = AsInt(g); break;
      case 40: d.startWidth = g.real; break;
      case 41: d.endWidth = g.real; break;
      default: break;
    }
  }
  if (d.flags & 64) {
    d.kind = PolylineKind::kPolyface;
  } else if (d.flags & 16) {
    d.kind = PolylineKind::kPolygonMesh;
  } else if (d.flags & 8) {
    d.kind = PolylineKind::k3d;
  } else {
    d.kind = PolylineKind::k2d;
  }
}

}  // namespace

bool ReadEntity(Groups groups, Entity& e, ReadContext& cx) {
  std::vector<Group> buffer;
  bool filtered = false;
  Groups own;
  OwnGroups(groups, buffer, filtered, own);
  e.kind = KindOfType(e.type);
  ReadCommon(own, e, cx);
  switch (e.kind) {
    case EntityKind::kPoint: ReadPoint(own, e.data.emplace<PointData>()); break;
    case EntityKind::kLine: ReadLine(own, e.data.emplace<LineData>()); break;
    case EntityKind::kRay:
    case EntityKind::kXline: ReadRay(own, e.data.emplace<RayData>()); break;
    case EntityKind::kCircle: ReadCircle(own, e.data.emplace<CircleData>(), false); break;
    case EntityKind::kArc: ReadCircle(own, e.data.emplace<CircleData>(), true); break;
    case EntityKind::kEllipse: ReadEllipse(own, e.data.emplace<EllipseData>()); break;
    case EntityKind::kLwPolyline: ReadLwPolyline(own, e.data.emplace<LwPolylineData>()); break;
    case EntityKind::kPolyline: ReadPolylineHead(own, e.data.emplace<PolylineData>()); break;
    case EntityKind::kSpline: ReadSpline(own, e.data.emplace<SplineData>()); break;
    case EntityKind::kMline: ReadMline(own, e.data.emplace<MlineData>(), cx); break;
    case EntityKind::kHatch: ReadHatch(own, e.data.emplace<HatchData>(), cx); break;
    case EntityKind::kSolid:
    case EntityKind::kTrace: ReadCorners(own, e.data.emplace<CornerData>(), false); break;
    case EntityKind::kFace: ReadCorners(own, e.data.emplace<CornerData>(), true); break;
    case EntityKind::kText: ReadText(own, e.data.emplace<TextData>(), cx); break;
    case EntityKind::kMText: ReadMText(own, e.data.emplace<MTextData>(), cx); break;
    case EntityKind::kInsert: ReadInsert(own, e.data.emplace<InsertData>(), cx); break;
    case EntityKind::k3dSolid:
    case EntityKind::kBody:
    case EntityKind::kRegion: ReadModeler(own, e.data.emplace<ModelerData>(), cx); break;
    case EntityKind::kMesh: return ReadMesh(own, e.data.emplace<MeshData>(), cx, e.position);
    case EntityKind::kOther: break;
  }
  return true;
}

bool AddVertex(Groups groups, size_t position, Entity& polyline, ReadContext& cx) {
  auto& d = std::get<PolylineData>(polyline.data);
  std::vector<Group> buffer;
  bool filtered = false;
  Groups own;
  OwnGroups(groups, buffer, filtered, own);
  PolylineVertex v;
  std::array<int, 4> indices{};
  int colour = kColourByLayer;
  int32_t trueColour = kNoTrueColour;
  std::string layer;
  for (const Group& g : own) {
    switch (g.code) {
      case 10:
      case 20:
      case 30: SetCoord(v.point, g); break;
      case 40: v.startWidth = g.real; break;
      case 41: v.endWidth = g.real; break;
      case 42: v.bulge = g.real; break;
      case 70: v.flags = AsInt(g); break;
      case 71:
      case 72:
      case 73:
      case 74: indices[g.code - 71] = AsInt(g); break;
      case 62: colour = AsInt(g); break;
      case 420: trueColour = static_cast<int32_t>(g.integer & 0xFFFFFF); break;
      case 8: layer = cx.decoder.Decode(Trim(g.text)); break;
      default: break;
    }
  }
  if (d.kind == PolylineKind::kPolyface && (v.flags & 128) && !(v.flags & 64)) {
    PolyfaceFace face;
    face.indices = indices;
    face.colour = colour;
    face.trueColour = trueColour;
    if (layer != polyline.layer) face.layer = std::move(layer);
    if (face.indices[0] == 0) {
      cx.error = cx.At(position) + "polyface face record without a first vertex";
      return false;
    }
    d.faces.push_back(std::move(face));
  } else {
    d.vertices.push_back(v);
  }
  return true;
}

bool FinishPolyline(Entity& polyline, ReadContext& cx) {
  auto& d = std::get<PolylineData>(polyline.data);
  std::string where = cx.At(polyline.position);
  if (d.kind == PolylineKind::kPolyface) {
    int n = static_cast<int>(d.vertices.size());
    for (const PolyfaceFace& f : d.faces) {
      for (int64_t index : f.indices) {
        if (index > n || -index > n) {
          cx.error = Cat({where, "polyface face refers to vertex ",
                          std::to_string(index < 0 ? -index : index), " of ", std::to_string(n)});
          return false;
        }
      }
    }
  } else if (d.kind == PolylineKind::kPolygonMesh) {
    // A smoothed mesh holds its M x N control vertices (flag 16) and the surface vertices.
    int64_t size = int64_t{d.meshM} * d.meshN;
    int64_t all = static_cast<int64_t>(d.vertices.size());
    int64_t control = std::count_if(d.vertices.begin(), d.vertices.end(),
                                    [](const PolylineVertex& v) { return (v.flags & 16) != 0; });
    bool plain = all == size;
    bool smoothed = control == size && all - control == int64_t{d.smoothM} * d.smoothN;
    if (d.meshM < 1 || d.meshN < 1 || !(plain || smoothed)) {
      cx.error =
          Cat({where, "polygon mesh of ", std::to_string(d.meshM), " x ", std::to_string(d.meshN),
               " has ", std::to_string(d.vertices.size()), " vertices"});
      return false;
    }
  }
  return true;
}

}  // namespace plx::dxf::detail
