// ACIS SAT into OCCT shapes: body -> lumps -> shells -> faces -> loops -> coedges -> edges ->
// vertices -> points, following the records' pointers. Each edge and vertex record becomes one
// OCCT edge or vertex shared by every face that uses it, so a closed ACIS shell is closed in
// OCCT without sewing. A face is its surface (turned by its sense) with its loops as wires;
// a cone's apex (an edge without a curve) becomes a degenerate edge, and OCCT's own seams and
// pcurves are added by healing the whole body at once (healing single faces without pcurves
// crashes on a cone's apex). Faces without loops are the whole closed surface.
#include <BRepAdaptor_Surface.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepGProp.hxx>
#include <BRepLib.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <ElCLib.hxx>
#include <GProp_GProps.hxx>
#include <GeomAPI_ProjectPointOnCurve.hxx>
#include <ElSLib.hxx>
#include <Geom2d_Line.hxx>
#include <Geom_Circle.hxx>
#include <Geom_ConicalSurface.hxx>
#include <Geom_Ellipse.hxx>
#include <Geom_Line.hxx>
#include <Precision.hxx>
#include <ShapeFix_Face.hxx>
#include <ShapeFix_Shape.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Iterator.hxx>
#include <TopoDS_Shell.hxx>
#include <TopoDS_Solid.hxx>
#include <TopoDS_Vertex.hxx>
#include <TopoDS_Wire.hxx>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <unordered_map>
#include <unordered_set>

#include "SatGeometry.h"
#include "ShapeImpl.h"
#include "sat/Sat.h"
#include "win32/text.h"

namespace plx::modeller {

namespace {

using satin::Kind;

constexpr double kTolerance = 1e-7;

class Builder {
 public:
  explicit Builder(const sat::File& file) : file_(file) {}

  struct BodyData {
    TopoDS_Shape shape;  // null for a body without faces
    bool hasTransform = false;
    double matrix[4][4];
  };

  BodyData Body(std::size_t index) {
    BodyData body;
    sat::Cursor c(file_, index);
    const std::int64_t firstLump = c.Pointer();
    c.Pointer();  // wire
    const std::int64_t transformIndex = c.Pointer();
    TopoDS_Compound lumps;
    builder_.MakeCompound(lumps);
    bool any = false;
    for (std::int64_t lump : Chain(firstLump, "lump", c)) {
      sat::Cursor lc(file_, static_cast<std::size_t>(lump));
      lc.Pointer();  // next
      const std::int64_t firstShell = lc.Pointer();
      TopoDS_Solid solid;
      builder_.MakeSolid(solid);
      bool lumpHasFaces = false;
      for (std::int64_t shell : Chain(firstShell, "shell", lc)) {
        TopoDS_Shell made = Shell(static_cast<std::size_t>(shell));
        if (made.IsNull()) continue;
        builder_.Add(solid, made);
        lumpHasFaces = true;
      }
      if (!lumpHasFaces) continue;
      builder_.Add(lumps, solid);
      any = true;
    }
    if (transformIndex >= 0) {
      ReadTransform(static_cast<std::size_t>(transformIndex), body.matrix);
      body.hasTransform = true;
    }
    if (any) body.shape = lumps;
    return body;
  }

 private:
  // The records of a chain of next pointers, each checked to be of kind; a chain that comes
  // back on itself is damaged data.
  std::vector<std::int64_t> Chain(std::int64_t first, const char* kind, const sat::Cursor& from) {
    std::vector<std::int64_t> chain;
    std::unordered_set<std::int64_t> seen;
    for (std::int64_t at = first; at >= 0;) {
      Expect(at, kind, from);
      if (!seen.insert(at).second)
        from.Fail(std::string("the chain of ") + kind + "s runs in a circle");
      chain.push_back(at);
      sat::Cursor c(file_, static_cast<std::size_t>(at));
      at = c.Pointer();
    }
    return chain;
  }

  void Expect(std::int64_t index, const char* kind, const sat::Cursor& from) {
    if (index < 0 || Kind(file_.records[static_cast<std::size_t>(index)].name) != kind)
      from.Fail(std::string("a ") + kind + " was expected at $" + std::to_string(index));
  }

  TopoDS_Shell Shell(std::size_t index) {
    sat::Cursor c(file_, index);
    c.Pointer();  // next
    c.Pointer();  // subshell
    const std::int64_t firstFace = c.Pointer();
    TopoDS_Shell shell;
    builder_.MakeShell(shell);
    bool any = false;
    for (std::int64_t face : Chain(firstFace, "face", c)) {
      TopoDS_Face made = Face(static_cast<std::size_t>(face));
      if (made.IsNull()) continue;
      builder_.Add(shell, made);
      any = true;
    }
    if (!any) return TopoDS_Shell();
    return shell;
  }

  TopoDS_Face Face(std::size_t index) {
    sat::Cursor c(file_, index);
    c.Pointer();  // next
    const std::int64_t firstLoop = c.Pointer();
    c.Pointer();  // shell
    c.Pointer();  // subshell
    const std::int64_t surfaceIndex = c.Pointer();
    const bool reversedFace = c.Choice({"forward", "reversed"}) == 1;
    if (surfaceIndex < 0) c.Fail("the face has no surface");
    bool flipped = false;
    Handle(Geom_Surface) surface =
        satin::ReadSurface(file_, static_cast<std::size_t>(surfaceIndex), flipped);
    const bool reversed = reversedFace != flipped;

    TopoDS_Face face;
    if (firstLoop < 0) {
      // The whole surface, which must be bounded (a sphere, a torus).
      double u1, u2, v1, v2;
      surface->Bounds(u1, u2, v1, v2);
      if (Precision::IsInfinite(u1) || Precision::IsInfinite(u2) || Precision::IsInfinite(v1) ||
          Precision::IsInfinite(v2))
        c.Fail("a face without loops lies on an unbounded surface");
      BRepBuilderAPI_MakeFace make(surface, kTolerance);
      if (!make.IsDone()) c.Fail("the face cannot be made on its surface");
      face = make.Face();
    } else {
      builder_.MakeFace(face, surface, kTolerance);
      bool any = false;
      const VertexData* apex = nullptr;
      for (std::int64_t loop : Chain(firstLoop, "loop", c)) {
        TopoDS_Wire wire = Loop(static_cast<std::size_t>(loop), apex);
        if (wire.IsNull()) continue;
        // Loops run anticlockwise about the outward normal; OCCT keeps them about the
        // surface's normal and turns the face instead.
        builder_.Add(face, reversed ? TopoDS_Shape(wire.Reversed()) : TopoDS_Shape(wire));
        any = true;
      }
      if (!any) return TopoDS_Face();
      if (apex) AddApex(face, *apex);
    }
    if (reversed) face.Reverse();
    return face;
  }

  struct VertexData {
    TopoDS_Vertex vertex;
    gp_Pnt point;
  };

  // A cone's apex becomes OCCT's degenerate edge, running round the apex against the face's
  // other loops. Left to the healer, a cone face with holes besides its base gets no seam.
  void AddApex(TopoDS_Face& face, const VertexData& apex) {
    auto cone = Handle(Geom_ConicalSurface)::DownCast(BRep_Tool::Surface(face));
    if (cone.IsNull()) return;
    const gp_Cone geometry = cone->Cone();
    if (geometry.Apex().Distance(apex.point) > 1e-6 * std::max(1.0, geometry.RefRadius())) return;
    double u = 0.0, vApex = 0.0;
    ElSLib::Parameters(geometry, geometry.Apex(), u, vApex);
    // The face lies on one side of the apex along the cone's lines: its material is to the
    // left of every loop in the surface's parameters.
    double vOther = vApex;
    for (TopExp_Explorer e(face, TopAbs_VERTEX); e.More() && vOther == vApex; e.Next()) {
      double uv = 0.0, v = 0.0;
      ElSLib::Parameters(geometry, BRep_Tool::Pnt(TopoDS::Vertex(e.Current())), uv, v);
      if (std::abs(v - vApex) > kTolerance) vOther = v;
    }
    if (vOther == vApex) return;
    const double du = vOther > vApex ? 1.0 : -1.0;
    Handle(Geom2d_Line) line =
        new Geom2d_Line(gp_Pnt2d(du > 0 ? 0.0 : 2 * M_PI, vApex), gp_Dir2d(du, 0.0));
    TopoDS_Edge edge;
    builder_.MakeEdge(edge);
    builder_.Add(edge, apex.vertex.Oriented(TopAbs_FORWARD));
    builder_.Add(edge, apex.vertex.Oriented(TopAbs_REVERSED));
    builder_.UpdateEdge(edge, line, face, kTolerance);
    builder_.Range(edge, 0.0, 2 * M_PI);
    builder_.Degenerated(edge, true);
    TopoDS_Wire wire;
    builder_.MakeWire(wire);
    builder_.Add(wire, edge);
    builder_.Add(face, wire);
  }

  // apex is set when the loop is a cone's apex: one coedge on an edge without a curve.
  TopoDS_Wire Loop(std::size_t index, const VertexData*& apex) {
    sat::Cursor c(file_, index);
    c.Pointer();  // next
    const std::int64_t first = c.Pointer();
    TopoDS_Wire wire;
    builder_.MakeWire(wire);
    bool any = false;
    std::unordered_set<std::int64_t> seen;
    for (std::int64_t at = first; at >= 0;) {
      Expect(at, "coedge", c);
      if (!seen.insert(at).second)
        c.Fail("the coedges of the loop run in a circle that misses its first");
      sat::Cursor e(file_, static_cast<std::size_t>(at));
      const std::int64_t next = e.Pointer();
      e.Pointer();  // previous
      e.Pointer();  // partner
      const std::int64_t edgeIndex = e.Pointer();
      const bool reversed = e.Choice({"forward", "reversed"}) == 1;
      Expect(edgeIndex, "edge", e);
      const TopoDS_Edge edge = Edge(static_cast<std::size_t>(edgeIndex));
      if (edge.IsNull() && next == at) apex = ApexOf(static_cast<std::size_t>(edgeIndex), e);
      if (!edge.IsNull()) {
        builder_.Add(wire, reversed ? TopoDS_Shape(edge.Reversed()) : TopoDS_Shape(edge));
        any = true;
      }
      if (next == first) break;
      at = next;
    }
    if (!any) return TopoDS_Wire();
    return wire;
  }

  // A real number next (edge parameters of 700 and later, a vertex's extra integer of 21200).
  static bool NumberNext(const sat::Cursor& c) {
    const sat::Token* t = c.Peek();
    return t && (t->kind == sat::Token::Kind::kNumber || t->kind == sat::Token::Kind::kReal ||
                 t->kind == sat::Token::Kind::kInteger);
  }

  const VertexData& Vertex(std::size_t index, const sat::Cursor& from) {
    Expect(static_cast<std::int64_t>(index), "vertex", from);
    auto found = vertices_.find(index);
    if (found != vertices_.end()) return found->second;
    sat::Cursor c(file_, index);
    c.Pointer();  // edge
    if (NumberNext(c)) c.Integer();
    const std::int64_t pointIndex = c.Pointer();
    Expect(pointIndex, "point", c);
    sat::Cursor p(file_, static_cast<std::size_t>(pointIndex));
    const sat::Vec3 v = p.Triple();
    if (std::abs(v.x) > 1e12 || std::abs(v.y) > 1e12 || std::abs(v.z) > 1e12)
      p.Fail("the point is out of range");
    VertexData data;
    data.point = gp_Pnt(v.x, v.y, v.z);
    builder_.MakeVertex(data.vertex, data.point, kTolerance);
    return vertices_.emplace(index, data).first->second;
  }

  static double Parameter(const Handle(Geom_Curve) & curve, const gp_Pnt& p, const sat::Cursor& c) {
    if (auto line = Handle(Geom_Line)::DownCast(curve)) return ElCLib::Parameter(line->Lin(), p);
    if (auto circle = Handle(Geom_Circle)::DownCast(curve))
      return ElCLib::Parameter(circle->Circ(), p);
    if (auto ellipse = Handle(Geom_Ellipse)::DownCast(curve))
      return ElCLib::Parameter(ellipse->Elips(), p);
    GeomAPI_ProjectPointOnCurve projection(p, curve);
    if (projection.NbPoints() == 0) c.Fail("a vertex does not lie on the edge's curve");
    return projection.LowerDistanceParameter();
  }

  // An edge record's vertices and curve, the cursor left at the curve's sense.
  struct EdgeEnds {
    std::int64_t v0, v1, curve;
  };
  static EdgeEnds ReadEdgeEnds(sat::Cursor& c) {
    EdgeEnds e;
    e.v0 = c.Pointer();
    if (NumberNext(c)) c.Real();
    e.v1 = c.Pointer();
    if (NumberNext(c)) c.Real();
    c.Pointer();  // coedge
    e.curve = c.Pointer();
    return e;
  }

  // The vertex of an edge without a curve that starts and ends there, else null.
  const VertexData* ApexOf(std::size_t index, const sat::Cursor& from) {
    sat::Cursor c(file_, index);
    const EdgeEnds e = ReadEdgeEnds(c);
    if (e.curve >= 0 || e.v0 < 0 || e.v0 != e.v1) return nullptr;
    return &Vertex(static_cast<std::size_t>(e.v0), from);
  }

  // The edge runs from its first vertex to its second; null for an edge without a curve (a
  // cone's apex) or of no length.
  TopoDS_Edge Edge(std::size_t index) {
    auto found = edges_.find(index);
    if (found != edges_.end()) return found->second;
    sat::Cursor c(file_, index);
    const auto [v0, v1, curveIndex] = ReadEdgeEnds(c);
    const bool reversed = c.Choice({"forward", "reversed"}) == 1;
    if (v0 < 0 || v1 < 0) c.Fail("the edge lacks a vertex");
    const VertexData start = Vertex(static_cast<std::size_t>(v0), c);
    const VertexData end = Vertex(static_cast<std::size_t>(v1), c);

    TopoDS_Edge edge;
    if (curveIndex >= 0) {
      Handle(Geom_Curve) curve = satin::ReadCurve(file_, static_cast<std::size_t>(curveIndex));
      if (reversed) curve = curve->Reversed();
      double t0 = Parameter(curve, start.point, c);
      double t1 = Parameter(curve, end.point, c);
      bool flip = false;
      if (curve->IsPeriodic()) {
        const double period = curve->Period();
        if (v0 == v1) t1 = t0 + period;
        else if (t1 <= t0 + 1e-12) t1 += period;
      } else if (v0 == v1 && curve->IsClosed()) {
        // A closed B-spline loop (round a cylinder, say): both ends project to one parameter.
        t0 = curve->FirstParameter();
        t1 = curve->LastParameter();
      } else if (t1 < t0) {
        // Vertices against the curve's direction: keep the curve, turn the edge.
        std::swap(t0, t1);
        flip = true;
      }
      if (t1 - t0 > 1e-12) {
        builder_.MakeEdge(edge, curve, kTolerance);
        const VertexData& first = flip ? end : start;
        const VertexData& last = flip ? start : end;
        builder_.Add(edge, first.vertex.Oriented(TopAbs_FORWARD));
        builder_.Add(edge, last.vertex.Oriented(TopAbs_REVERSED));
        builder_.Range(edge, t0, t1);
        // The vertices' tolerance covers the distance from their point to the curve's ends.
        builder_.UpdateVertex(first.vertex,
                              std::max(kTolerance, 1.01 * curve->Value(t0).Distance(first.point)));
        builder_.UpdateVertex(last.vertex,
                              std::max(kTolerance, 1.01 * curve->Value(t1).Distance(last.point)));
        if (flip) edge.Reverse();
      }
    }
    edges_.emplace(index, edge);
    return edge;
  }

  // ACIS writes the rotation rows as the images of the axes (points are row vectors); the
  // host's matrix wants them as columns. The scale multiplies the rotation only.
  void ReadTransform(std::size_t index, double m[4][4]) {
    sat::Cursor c(file_, index);
    if (c.record().name != "transform") c.Fail("a transform was expected");
    double values[13];
    const sat::Token* first = c.Peek();
    if (first && first->kind == sat::Token::Kind::kString) {
      // Binary files of one producer hold the numbers as one string of text.
      const std::string text = c.String();
      std::size_t at = 0;
      for (double& v : values) {
        while (at < text.size() && text[at] == ' ') ++at;
        const auto [end, ec] = std::from_chars(text.data() + at, text.data() + text.size(), v);
        if (ec != std::errc() || !std::isfinite(v))
          c.Fail("the transform's numbers cannot be read");
        at = static_cast<std::size_t>(end - text.data());
      }
    } else {
      // Text gives thirteen numbers; binary gives the rows and the translation as vectors.
      for (int k = 0; k < 4; ++k) {
        const sat::Vec3 v = c.Triple();
        values[3 * k] = v.x;
        values[3 * k + 1] = v.y;
        values[3 * k + 2] = v.z;
      }
      values[12] = c.Real();
    }
    double a[3][3];
    for (int r = 0; r < 3; ++r)
      for (int k = 0; k < 3; ++k) a[r][k] = values[3 * r + k];
    const sat::Vec3 t{values[9], values[10], values[11]};
    const double scale = values[12];
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j) m[i][j] = scale * a[j][i];
    }
    m[0][3] = t.x;
    m[1][3] = t.y;
    m[2][3] = t.z;
    m[3][0] = m[3][1] = m[3][2] = 0;
    m[3][3] = 1;
  }

  const sat::File& file_;
  BRep_Builder builder_;
  std::unordered_map<std::size_t, VertexData> vertices_;
  std::unordered_map<std::size_t, TopoDS_Edge> edges_;
};

int Count(const TopoDS_Shape& shape, TopAbs_ShapeEnum type, TopAbs_ShapeEnum avoid = TopAbs_SHAPE) {
  int n = 0;
  for (TopExp_Explorer e(shape, type, avoid); e.More(); e.Next()) ++n;
  return n;
}

// A compound of one shape is that shape.
TopoDS_Shape Unwrap(TopoDS_Shape shape) {
  while (!shape.IsNull() && shape.ShapeType() == TopAbs_COMPOUND) {
    TopoDS_Iterator it(shape);
    if (!it.More()) return shape;
    const TopoDS_Shape only = it.Value();
    it.Next();
    if (it.More()) return shape;
    shape = only;
  }
  return shape;
}

std::wstring Wide(const std::string& text) { return plx::WideFromUtf8(text); }

// Solids that enclose a negative volume turned outward; false when one cannot be.
bool OrientSolids(TopoDS_Shape& shape) {
  if (shape.ShapeType() == TopAbs_SOLID) {
    GProp_GProps props;
    BRepGProp::VolumeProperties(shape, props);
    if (props.Mass() >= 0) return true;
    TopoDS_Solid solid = TopoDS::Solid(shape);
    if (!BRepLib::OrientClosedSolid(solid)) return false;
    BRepGProp::VolumeProperties(solid, props);
    shape = solid;
    return props.Mass() >= 0;
  }
  if (shape.ShapeType() != TopAbs_COMPOUND) return true;
  TopoDS_Compound out;
  BRep_Builder builder;
  builder.MakeCompound(out);
  for (TopoDS_Iterator it(shape); it.More(); it.Next()) {
    TopoDS_Shape child = it.Value();
    if (!OrientSolids(child)) return false;
    builder.Add(out, child);
  }
  shape = out;
  return true;
}

// Shells and loose faces are checked before the solids: the solid check classifies points
// against the shells and leaks what it built when a damaged shell makes it throw.
bool IsValidShape(const TopoDS_Shape& shape) {
  for (TopExp_Explorer e(shape, TopAbs_SHELL); e.More(); e.Next())
    if (!BRepCheck_Analyzer(e.Current()).IsValid()) return false;
  for (TopExp_Explorer e(shape, TopAbs_FACE, TopAbs_SHELL); e.More(); e.Next())
    if (!BRepCheck_Analyzer(e.Current()).IsValid()) return false;
  return BRepCheck_Analyzer(shape).IsValid();
}

SatReadResult Unreadable(std::wstring reason) {
  SatReadResult result;
  result.status = Acad::eCannotRestoreFromAcisFile;
  result.reason = std::move(reason);
  return result;
}

}  // namespace

ShapeKind ClassifyGeometry(const TopoDS_Shape& shape) {
  if (shape.IsNull()) return ShapeKind::kNull;
  const int faces = Count(shape, TopAbs_FACE);
  if (Count(shape, TopAbs_SOLID) > 0 && Count(shape, TopAbs_FACE, TopAbs_SOLID) == 0) {
    bool closed = true;
    for (TopExp_Explorer e(shape, TopAbs_SHELL); e.More() && closed; e.Next())
      closed = BRep_Tool::IsClosed(e.Current());
    if (closed) return ShapeKind::kSolid;
  }
  if (faces == 1) {
    TopExp_Explorer e(shape, TopAbs_FACE);
    if (BRepAdaptor_Surface(TopoDS::Face(e.Current()), false).GetType() == GeomAbs_Plane)
      return ShapeKind::kRegion;
  }
  return ShapeKind::kBody;
}

void Shape::Reclassify() {
  if (IsNull()) return;
  ShapeKind kind = impl_->kind;
  if (Guarded([&] {
        kind = ClassifyGeometry(impl_->shape);
        return Acad::eOk;
      }) == Acad::eOk)
    impl_->kind = kind;
}

SatReadResult ReadSat(const sat::File& file) {
  SatReadResult result;
  std::size_t current = 0;
  try {
    Builder builder(file);
    for (std::size_t i = 0; i < file.records.size(); ++i) {
      if (file.records[i].name != "body") continue;
      current = i;
      Builder::BodyData body = builder.Body(i);
      if (body.shape.IsNull()) {
        result.bodies.push_back(Shape());
        continue;
      }
      ShapeFix_Shape fix(body.shape);
      // The loops' senses say which side of them a face lies on; left to itself the healer
      // turns a lone loop on a sphere round so that it bounds the smaller piece.
      fix.FixFaceTool()->FixOrientationMode() = 0;
      fix.Perform();
      TopoDS_Shape healed = Unwrap(fix.Shape());
      if (healed.IsNull() || Count(healed, TopAbs_FACE) == 0)
        return Unreadable(Wide(sat::Describe(file, i) + ": the body holds no usable face"));
      if (!IsValidShape(healed))
        return Unreadable(Wide(sat::Describe(file, i) + ": the body is not a valid shape"));
      if (!OrientSolids(healed))
        return Unreadable(Wide(sat::Describe(file, i) + ": the body is a solid turned inside out"));
      Shape shape = ShapeAccess::Make(healed, ClassifyGeometry(healed));
      if (body.hasTransform) {
        if (shape.Transform(body.matrix) != Acad::eOk)
          return Unreadable(Wide(sat::Describe(file, i) + ": its transform cannot be applied"));
      }
      result.bodies.push_back(std::move(shape));
    }
  } catch (const sat::FormatError& e) {
    return Unreadable(Wide(e.what()));
  } catch (const Standard_Failure& failure) {
    return Unreadable(Wide(sat::Describe(file, current) + ": ") + FailureText(failure));
  } catch (const std::bad_alloc&) {
    SatReadResult out;
    out.status = Acad::eOutOfMemory;
    out.reason = L"Out of memory reading the SAT data.";
    return out;
  } catch (const std::exception& e) {
    return Unreadable(Wide(sat::Describe(file, current) + ": " + e.what()));
  }
  return result;
}

SatReadResult ReadSatText(std::string_view text) {
  sat::File file;
  try {
    file = sat::ParseText(text);
  } catch (const sat::FormatError& e) {
    return Unreadable(Wide(e.what()));
  } catch (const std::bad_alloc&) {
    SatReadResult out;
    out.status = Acad::eOutOfMemory;
    out.reason = L"Out of memory reading the SAT data.";
    return out;
  }
  return ReadSat(file);
}

SatReadResult ReadSatFile(const std::wstring& path) {
  SatReadResult result;
  if (path.empty()) {
    result.status = Acad::eInvalidInput;
    result.reason = L"No file name was given.";
    return result;
  }
  const std::string native = plx::NativePath(path);
  std::error_code error;
  if (!std::filesystem::exists(native, error)) {
    result.status = Acad::eFileNotFound;
    result.reason = L"File not found: " + path;
    return result;
  }
  std::ifstream in(native, std::ios::binary);
  std::string text;
  if (in && !std::filesystem::is_directory(native, error))
    text.assign(std::istreambuf_iterator<char>(in), {});
  if (!in || std::filesystem::is_directory(native, error)) {
    result.status = Acad::eFileAccessErr;
    result.reason = L"The file cannot be read: " + path;
    return result;
  }
  if (text.rfind("ACIS BinaryFile", 0) == 0 || text.rfind("ASM BinaryFile", 0) == 0)
    return Unreadable(L"Binary SAB files are not read here: " + path);
  return ReadSatText(text);
}

}  // namespace plx::modeller
