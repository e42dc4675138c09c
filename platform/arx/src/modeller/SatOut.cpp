// Shapes to ACIS SAT text (version 700), one body per shape. Analytic geometry keeps its kind
// (planes, cylinders and cones as cone-surface, spheres, tori; lines, circles and ellipses);
// anything else goes out as B-splines. Locations are applied to every point, curve and surface.
// As real files do, seam edges and degenerate edges are left out: the loops of a face are
// rebuilt from its remaining edges by joining each to the one that starts where it ends, so a
// cylinder's side has two circular loops and a sphere or torus face no loop at all. A cone's
// apex stays as a loop of one coedge on an edge without a curve.
//
// Senses: a face is forward when its outward normal is the surface's natural normal. For
// planes and splines that is OCCT's own normal; for cones, spheres and tori the SAT normal
// points away from the axis, the centre or the tube, which is OCCT's normal when the
// placement is right-handed. A coedge is forward when it runs its edge from v0 to v1; edges
// run their curves forwards.
#include <BRepTools.hxx>
#include <BRepTools_WireExplorer.hxx>
#include <BRep_Tool.hxx>
#include <GeomConvert.hxx>
#include <Geom_BSplineCurve.hxx>
#include <Geom_BSplineSurface.hxx>
#include <Geom_Circle.hxx>
#include <Geom_ConicalSurface.hxx>
#include <Geom_CylindricalSurface.hxx>
#include <Geom_Ellipse.hxx>
#include <Geom_Line.hxx>
#include <Geom_Plane.hxx>
#include <Geom_RectangularTrimmedSurface.hxx>
#include <Geom_SphericalSurface.hxx>
#include <Geom_ToroidalSurface.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Iterator.hxx>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "ShapeImpl.h"
#include "sat/SatWriter.h"
#include "win32/text.h"

namespace plx::modeller {
namespace {

using sat::RecordText;
using sat::SatDocument;

RecordText& Put(RecordText& r, const gp_Pnt& p) { return r.Triple(p.X(), p.Y(), p.Z()); }
RecordText& Put(RecordText& r, const gp_XYZ& v) { return r.Triple(v.X(), v.Y(), v.Z()); }
RecordText& Put(RecordText& r, const gp_Dir& d) { return r.Triple(d.X(), d.Y(), d.Z()); }

// B-spline knots as SAT keeps them: distinct values with multiplicities, the end
// multiplicities one lower than OCCT's (SAT leaves out the extra end knots).
void PutKnots(RecordText& r, const TColStd_Array1OfReal& knots,
              const TColStd_Array1OfInteger& mults) {
  r.Int(knots.Length());
  for (int i = knots.Lower(); i <= knots.Upper(); ++i) {
    int m = mults(i);
    if (i == knots.Lower() || i == knots.Upper()) --m;
    r.Real(knots(i)).Int(m);
  }
}

void PutPole(RecordText& r, const gp_Pnt& p, bool rational, double weight) {
  Put(r, p);
  if (rational) r.Real(weight);
}

class BodyWriter {
 public:
  explicit BodyWriter(SatDocument& doc) : doc_(doc) {}

  void Write(const TopoDS_Shape& shape, bool solid) {
    singleSided_ = solid;
    const int64_t body = doc_.Reserve();
    const int64_t transform = doc_.Reserve();
    doc_.Set(transform, RecordText("transform", RecordText::Prefix::kTransform)
                            .Word("1 0 0 0 1 0 0 0 1 0 0 0 1 no_rotate no_reflect no_shear"));

    // Lumps: each solid; each shell outside a solid; all faces outside shells together.
    std::vector<std::vector<TopoDS_Shape>> lumps;  // the shells of each lump
    for (TopExp_Explorer it(shape, TopAbs_SOLID); it.More(); it.Next()) {
      std::vector<TopoDS_Shape> shells;
      for (TopoDS_Iterator sub(it.Current()); sub.More(); sub.Next())
        if (sub.Value().ShapeType() == TopAbs_SHELL) shells.push_back(sub.Value());
      if (!shells.empty()) lumps.push_back(std::move(shells));
    }
    for (TopExp_Explorer it(shape, TopAbs_SHELL, TopAbs_SOLID); it.More(); it.Next())
      lumps.push_back({it.Current()});
    std::vector<TopoDS_Shape> looseFaces;
    for (TopExp_Explorer it(shape, TopAbs_FACE, TopAbs_SHELL); it.More(); it.Next())
      looseFaces.push_back(it.Current());

    std::vector<int64_t> lumpRecords;
    for (size_t i = 0; i < lumps.size() + (looseFaces.empty() ? 0 : 1); ++i)
      lumpRecords.push_back(doc_.Reserve());
    doc_.Set(body, RecordText("body")
                       .Pointer(lumpRecords.empty() ? -1 : lumpRecords[0])
                       .Pointer(-1)
                       .Pointer(transform));
    doc_.CountBody();
    for (size_t i = 0; i < lumpRecords.size(); ++i) {
      const int64_t next = i + 1 < lumpRecords.size() ? lumpRecords[i + 1] : -1;
      std::vector<int64_t> shellRecords;
      const size_t shellCount = i < lumps.size() ? lumps[i].size() : 1;
      for (size_t s = 0; s < shellCount; ++s) shellRecords.push_back(doc_.Reserve());
      doc_.Set(lumpRecords[i],
               RecordText("lump").Pointer(next).Pointer(shellRecords[0]).Pointer(body));
      for (size_t s = 0; s < shellCount; ++s) {
        std::vector<TopoDS_Shape> faces;
        if (i < lumps.size()) {
          for (TopExp_Explorer it(lumps[i][s], TopAbs_FACE); it.More(); it.Next())
            faces.push_back(it.Current());
        } else {
          faces = looseFaces;
        }
        WriteShell(shellRecords[s], s + 1 < shellCount ? shellRecords[s + 1] : -1, lumpRecords[i],
                   faces);
      }
    }
  }

 private:
  struct Use {
    TopoDS_Edge edge;  // as used in the face, orientation composed
    int start, end;    // vertex map indices where this use starts and ends
  };

  void WriteShell(int64_t shell, int64_t next, int64_t lump,
                  const std::vector<TopoDS_Shape>& faces) {
    std::vector<int64_t> faceRecords;
    for (size_t f = 0; f < faces.size(); ++f) faceRecords.push_back(doc_.Reserve());
    doc_.Set(shell, RecordText("shell")
                        .Pointer(next)
                        .Pointer(-1)
                        .Pointer(faceRecords.empty() ? -1 : faceRecords[0])
                        .Pointer(-1)
                        .Pointer(lump));
    for (size_t f = 0; f < faces.size(); ++f)
      WriteFace(TopoDS::Face(faces[f]), faceRecords[f],
                f + 1 < faces.size() ? faceRecords[f + 1] : -1, shell);
  }

  int VertexIndex(const TopoDS_Vertex& v) { return vertices_.Add(v); }

  int64_t VertexRecord(int index) {
    if (static_cast<size_t>(index) > vertexRecords_.size()) vertexRecords_.resize(index, -1);
    if (vertexRecords_[index - 1] < 0) {
      vertexRecords_[index - 1] = doc_.Reserve();
      vertexPending_.push_back(index);
    }
    return vertexRecords_[index - 1];
  }

  void WriteFace(const TopoDS_Face& face, int64_t record, int64_t next, int64_t shell) {
    bool natural = true;  // the surface's SAT normal agrees with OCCT's
    bool cone = false;
    const int64_t surface = WriteSurface(face, natural, cone);
    const bool forward = (face.Orientation() != TopAbs_REVERSED) == natural;

    // A seam runs through the face twice, once each way. An edge that is closed on the face
    // but used once is a boundary that happens to lie on the seam (a sphere cut along its
    // seam meridian) and stays: another face shares it.
    std::map<const TopoDS_TShape*, int> useCount;
    for (TopExp_Explorer e(face, TopAbs_EDGE); e.More(); e.Next()) ++useCount[e.Current().TShape().get()];

    // The edges that stay, in wire order.
    std::vector<Use> uses;
    std::vector<TopoDS_Vertex> apexes;
    for (TopoDS_Iterator w(face); w.More(); w.Next()) {
      if (w.Value().ShapeType() != TopAbs_WIRE) continue;
      for (BRepTools_WireExplorer e(TopoDS::Wire(w.Value()), face); e.More(); e.Next()) {
        const TopoDS_Edge& edge = e.Current();
        if (BRep_Tool::Degenerated(edge)) {
          if (cone) apexes.push_back(TopExp::FirstVertex(edge));
          continue;
        }
        if (useCount[edge.TShape().get()] > 1 && BRep_Tool::IsClosed(edge, face)) continue;
        TopoDS_Vertex first, last;
        TopExp::Vertices(edge, first, last, true);
        if (first.IsNull() || last.IsNull()) continue;
        uses.push_back({edge, VertexIndex(first), VertexIndex(last)});
      }
    }

    // Loops: follow each use to one that starts where it ends, preferring wire order.
    std::vector<std::vector<size_t>> loops;
    std::vector<bool> used(uses.size(), false);
    for (size_t i = 0; i < uses.size(); ++i) {
      if (used[i]) continue;
      std::vector<size_t> loop{i};
      used[i] = true;
      size_t current = i;
      while (uses[current].end != uses[i].start) {
        size_t found = uses.size();
        for (size_t k = 1; k < uses.size() && found == uses.size(); ++k) {
          const size_t j = (current + k) % uses.size();
          if (!used[j] && uses[j].start == uses[current].end) found = j;
        }
        if (found == uses.size()) break;  // an open chain stays one loop
        used[found] = true;
        loop.push_back(found);
        current = found;
      }
      loops.push_back(std::move(loop));
    }

    std::vector<int64_t> loopRecords;
    for (size_t l = 0; l < loops.size() + apexes.size(); ++l) loopRecords.push_back(doc_.Reserve());
    RecordText faceText("face");
    faceText.Pointer(next)
        .Pointer(loopRecords.empty() ? -1 : loopRecords[0])
        .Pointer(shell)
        .Pointer(-1)
        .Pointer(surface)
        .Word(forward ? "forward" : "reversed");
    faceText.Word(singleSided_ ? "single" : "double out");
    doc_.Set(record, faceText);

    for (size_t l = 0; l < loops.size(); ++l) {
      const std::vector<size_t>& loop = loops[l];
      std::vector<int64_t> coedges;
      for (size_t k = 0; k < loop.size(); ++k) coedges.push_back(doc_.Reserve());
      doc_.Set(loopRecords[l], RecordText("loop")
                                   .Pointer(l + 1 < loopRecords.size() ? loopRecords[l + 1] : -1)
                                   .Pointer(coedges[0])
                                   .Pointer(record));
      for (size_t k = 0; k < loop.size(); ++k) {
        const Use& use = uses[loop[k]];
        const int edgeIndex = edges_.Add(use.edge);
        EdgeSlot& slot = EdgeAt(edgeIndex);
        slot.coedges.push_back(coedges[k]);
        Coedge c;
        c.record = coedges[k];
        c.next = coedges[(k + 1) % loop.size()];
        c.prev = coedges[(k + loop.size() - 1) % loop.size()];
        c.edge = edgeIndex;
        c.forward = use.edge.Orientation() != TopAbs_REVERSED;
        c.loop = loopRecords[l];
        coedges_.push_back(c);
      }
    }
    for (size_t a = 0; a < apexes.size(); ++a) {
      const size_t l = loops.size() + a;
      const int64_t coedge = doc_.Reserve();
      const int64_t edge = doc_.Reserve();
      const int64_t vertex = VertexRecord(VertexIndex(apexes[a]));
      doc_.Set(loopRecords[l], RecordText("loop")
                                   .Pointer(l + 1 < loopRecords.size() ? loopRecords[l + 1] : -1)
                                   .Pointer(coedge)
                                   .Pointer(record));
      doc_.Set(coedge, RecordText("coedge")
                           .Pointer(coedge)
                           .Pointer(coedge)
                           .Pointer(-1)
                           .Pointer(edge)
                           .Word("forward")
                           .Pointer(loopRecords[l])
                           .Pointer(-1));
      doc_.Set(edge, RecordText("edge")
                         .Pointer(vertex)
                         .Real(1)
                         .Pointer(vertex)
                         .Real(0)
                         .Pointer(coedge)
                         .Pointer(-1)
                         .Word("forward")
                         .String("unknown"));
      apexEdges_.push_back({vertex, edge});
    }
  }

  struct EdgeSlot {
    int64_t record = -1;
    std::vector<int64_t> coedges;
  };
  struct Coedge {
    int64_t record, next, prev, loop;
    int edge;
    bool forward;
  };

  EdgeSlot& EdgeAt(int index) {
    if (static_cast<size_t>(index) > edgeSlots_.size()) edgeSlots_.resize(index);
    EdgeSlot& slot = edgeSlots_[index - 1];
    if (slot.record < 0) slot.record = doc_.Reserve();
    return slot;
  }

  int64_t WriteSurface(const TopoDS_Face& face, bool& natural, bool& cone) {
    TopLoc_Location location;
    Handle(Geom_Surface) surface = BRep_Tool::Surface(face, location);
    if (!location.IsIdentity())
      surface = Handle(Geom_Surface)::DownCast(surface->Transformed(location.Transformation()));
    while (auto trimmed = Handle(Geom_RectangularTrimmedSurface)::DownCast(surface))
      surface = trimmed->BasisSurface();

    if (auto plane = Handle(Geom_Plane)::DownCast(surface)) {
      const gp_Ax3& ax = plane->Position();
      const gp_XYZ normal = ax.XDirection().XYZ().Crossed(ax.YDirection().XYZ());
      RecordText r("plane-surface");
      Put(r, ax.Location());
      Put(r, normal);
      Put(r, ax.XDirection());
      return doc_.Add(r.Word("forward_v I I I I"));
    }
    if (auto cylinder = Handle(Geom_CylindricalSurface)::DownCast(surface)) {
      const gp_Ax3& ax = cylinder->Position();
      natural = ax.Direct();
      return doc_.Add(ConeRecord(ax, cylinder->Radius(), 0, 1));
    }
    if (auto conical = Handle(Geom_ConicalSurface)::DownCast(surface)) {
      const gp_Ax3& ax = conical->Position();
      natural = ax.Direct();
      cone = true;
      const double angle = conical->SemiAngle();
      return doc_.Add(ConeRecord(ax, conical->RefRadius(), std::sin(angle), std::cos(angle)));
    }
    if (auto sphere = Handle(Geom_SphericalSurface)::DownCast(surface)) {
      const gp_Ax3& ax = sphere->Position();
      natural = ax.Direct();
      RecordText r("sphere-surface");
      Put(r, ax.Location()).Real(sphere->Radius());
      Put(r, ax.XDirection());
      Put(r, ax.Direction());
      return doc_.Add(r.Word("forward_v I I I I"));
    }
    if (auto torus = Handle(Geom_ToroidalSurface)::DownCast(surface)) {
      const gp_Ax3& ax = torus->Position();
      natural = ax.Direct();
      RecordText r("torus-surface");
      Put(r, ax.Location());
      Put(r, ax.Direction()).Real(torus->MajorRadius()).Real(torus->MinorRadius());
      Put(r, ax.XDirection());
      return doc_.Add(r.Word("forward_v I I I I"));
    }

    Handle(Geom_BSplineSurface) spline = Handle(Geom_BSplineSurface)::DownCast(surface);
    if (spline) {
      spline = Handle(Geom_BSplineSurface)::DownCast(spline->Copy());
    } else {
      double u0, u1, v0, v1;
      BRepTools::UVBounds(face, u0, u1, v0, v1);
      Handle(Geom_Surface) bounded = new Geom_RectangularTrimmedSurface(surface, u0, u1, v0, v1);
      spline = GeomConvert::SurfaceToBSplineSurface(bounded);
    }
    if (spline->IsUPeriodic()) spline->SetUNotPeriodic();
    if (spline->IsVPeriodic()) spline->SetVNotPeriodic();
    // SAT knots are clamped: a surface whose end knots are not (as periodic ones unrolled
    // are) is cut to its own range, which keeps its parameters.
    if (spline->UMultiplicity(1) != spline->UDegree() + 1 ||
        spline->UMultiplicity(spline->NbUKnots()) != spline->UDegree() + 1 ||
        spline->VMultiplicity(1) != spline->VDegree() + 1 ||
        spline->VMultiplicity(spline->NbVKnots()) != spline->VDegree() + 1) {
      double u0, u1, v0, v1;
      spline->Bounds(u0, u1, v0, v1);
      spline->Segment(u0, u1, v0, v1);
    }
    return doc_.Add(SplineSurfaceRecord(*spline));
  }

  static RecordText ConeRecord(const gp_Ax3& ax, double radius, double sine, double cosine) {
    RecordText r("cone-surface");
    Put(r, ax.Location());
    Put(r, ax.Direction());
    Put(r, ax.XDirection().XYZ() * radius).Real(1).Word("I I").Real(sine).Real(cosine).Real(radius);
    return r.Word("forward I I I I");
  }

  static RecordText SplineSurfaceRecord(const Geom_BSplineSurface& s) {
    const bool rational = s.IsURational() || s.IsVRational();
    RecordText r("spline-surface");
    r.Word("forward { exactsur full")
        .Word(rational ? "nurbs" : "nubs")
        .Int(s.UDegree())
        .Int(s.VDegree());
    r.Word("open open none none");
    r.Int(s.NbUKnots()).Int(s.NbVKnots());
    // Knot counts first, then the u knots, then the v knots.
    {
      const TColStd_Array1OfReal& knots = s.UKnots();
      const TColStd_Array1OfInteger& mults = s.UMultiplicities();
      for (int i = knots.Lower(); i <= knots.Upper(); ++i)
        r.Real(knots(i)).Int(mults(i) - (i == knots.Lower() || i == knots.Upper() ? 1 : 0));
    }
    {
      const TColStd_Array1OfReal& knots = s.VKnots();
      const TColStd_Array1OfInteger& mults = s.VMultiplicities();
      for (int i = knots.Lower(); i <= knots.Upper(); ++i)
        r.Real(knots(i)).Int(mults(i) - (i == knots.Lower() || i == knots.Upper() ? 1 : 0));
    }
    // u runs fastest.
    for (int j = 1; j <= s.NbVPoles(); ++j)
      for (int i = 1; i <= s.NbUPoles(); ++i) PutPole(r, s.Pole(i, j), rational, s.Weight(i, j));
    r.Word("0 0 0 0 0 0 0 F 1 F 0 F 1 F 0 }");
    return r.Word("I I I I");
  }

  // The edge's curve in world space and the parameters of its ends.
  int64_t WriteCurve(const TopoDS_Edge& edge, double& t0, double& t1) {
    TopLoc_Location location;
    double first = 0, last = 0;
    Handle(Geom_Curve) curve = BRep_Tool::Curve(edge, location, first, last);
    if (curve.IsNull()) return -1;
    if (!location.IsIdentity()) {
      const gp_Trsf trsf = location.Transformation();
      first = curve->TransformedParameter(first, trsf);
      last = curve->TransformedParameter(last, trsf);
      curve = Handle(Geom_Curve)::DownCast(curve->Transformed(trsf));
    }
    while (auto trimmed = Handle(Geom_TrimmedCurve)::DownCast(curve)) curve = trimmed->BasisCurve();
    t0 = first;
    t1 = last;

    if (auto line = Handle(Geom_Line)::DownCast(curve)) {
      RecordText r("straight-curve");
      Put(r, line->Position().Location());
      Put(r, line->Position().Direction());
      return doc_.Add(r.Word("I I"));
    }
    if (auto circle = Handle(Geom_Circle)::DownCast(curve)) {
      const gp_Ax2& ax = circle->Position();
      RecordText r("ellipse-curve");
      Put(r, ax.Location());
      Put(r, ax.Direction());
      Put(r, ax.XDirection().XYZ() * circle->Radius()).Real(1);
      return doc_.Add(r.Word("I I"));
    }
    if (auto ellipse = Handle(Geom_Ellipse)::DownCast(curve)) {
      const gp_Ax2& ax = ellipse->Position();
      RecordText r("ellipse-curve");
      Put(r, ax.Location());
      Put(r, ax.Direction());
      Put(r, ax.XDirection().XYZ() * ellipse->MajorRadius())
          .Real(ellipse->MinorRadius() / ellipse->MajorRadius());
      return doc_.Add(r.Word("I I"));
    }
    Handle(Geom_BSplineCurve) spline = Handle(Geom_BSplineCurve)::DownCast(curve);
    if (spline) {
      spline = Handle(Geom_BSplineCurve)::DownCast(spline->Copy());
    } else {
      spline = GeomConvert::CurveToBSplineCurve(new Geom_TrimmedCurve(curve, first, last));
      t0 = spline->FirstParameter();
      t1 = spline->LastParameter();
    }
    if (spline->IsPeriodic()) spline->SetNotPeriodic();
    if (spline->Multiplicity(1) != spline->Degree() + 1 ||
        spline->Multiplicity(spline->NbKnots()) != spline->Degree() + 1)
      spline->Segment(spline->FirstParameter(), spline->LastParameter());
    const bool rational = spline->IsRational();
    RecordText r("intcurve-curve");
    r.Word("forward { exactcur full")
        .Word(rational ? "nurbs" : "nubs")
        .Int(spline->Degree())
        .Word("open");
    PutKnots(r, spline->Knots(), spline->Multiplicities());
    for (int i = 1; i <= spline->NbPoles(); ++i)
      PutPole(r, spline->Pole(i), rational, spline->Weight(i));
    r.Word("0 null_surface null_surface nullbs nullbs I I }");
    return doc_.Add(r.Word("I I"));
  }

 public:
  // Edges, vertices and points, once every face has named its coedges.
  void Finish() {
    std::vector<int64_t> edgeOf(vertices_.Extent() + 1, -1);
    for (const Coedge& c : coedges_) {
      EdgeSlot& slot = edgeSlots_[c.edge - 1];
      int64_t partner = -1;
      if (slot.coedges.size() > 1)
        for (size_t k = 0; k < slot.coedges.size(); ++k)
          if (slot.coedges[k] == c.record) partner = slot.coedges[(k + 1) % slot.coedges.size()];
      doc_.Set(c.record, RecordText("coedge")
                             .Pointer(c.next)
                             .Pointer(c.prev)
                             .Pointer(partner)
                             .Pointer(slot.record)
                             .Word(c.forward ? "forward" : "reversed")
                             .Pointer(c.loop)
                             .Pointer(-1));
    }
    for (int e = 1; e <= edges_.Extent(); ++e) {
      const EdgeSlot& slot = edgeSlots_[e - 1];
      const TopoDS_Edge edge = TopoDS::Edge(edges_(e).Oriented(TopAbs_FORWARD));
      TopoDS_Vertex first, last;
      TopExp::Vertices(edge, first, last);
      double t0 = 0, t1 = 0;
      const int64_t curve = WriteCurve(edge, t0, t1);
      const int firstIndex = VertexIndex(first), lastIndex = VertexIndex(last);
      const int64_t v0 = VertexRecord(firstIndex), v1 = VertexRecord(lastIndex);
      if (edgeOf[firstIndex] < 0) edgeOf[firstIndex] = slot.record;
      if (edgeOf[lastIndex] < 0) edgeOf[lastIndex] = slot.record;
      doc_.Set(slot.record, RecordText("edge")
                                .Pointer(v0)
                                .Real(t0)
                                .Pointer(v1)
                                .Real(t1)
                                .Pointer(slot.coedges.front())
                                .Pointer(curve)
                                .Word("forward")
                                .String("unknown"));
    }
    for (const auto& [vertex, edge] : apexEdges_) {
      for (size_t i = 0; i < vertexRecords_.size(); ++i)
        if (vertexRecords_[i] == vertex && edgeOf[i + 1] < 0) edgeOf[i + 1] = edge;
    }
    for (int index : vertexPending_) {
      const gp_Pnt p = BRep_Tool::Pnt(TopoDS::Vertex(vertices_(index)));
      RecordText point("point");
      Put(point, p);
      const int64_t pointRecord = doc_.Add(point);
      doc_.Set(vertexRecords_[index - 1],
               RecordText("vertex").Pointer(edgeOf[index]).Pointer(pointRecord));
    }
  }

 private:
  SatDocument& doc_;
  bool singleSided_ = true;
  TopTools_IndexedMapOfShape vertices_, edges_;
  std::vector<int64_t> vertexRecords_;  // by vertex map index - 1
  std::vector<int> vertexPending_;      // vertex map indices whose record is reserved
  std::vector<EdgeSlot> edgeSlots_;     // by edge map index - 1
  std::vector<Coedge> coedges_;
  std::vector<std::pair<int64_t, int64_t>> apexEdges_;  // vertex record, edge record
};

}  // namespace

Acad::ErrorStatus SatText(const std::vector<const Shape*>& shapes, std::string& text,
                          std::wstring* reason) {
  for (const Shape* shape : shapes) {
    if (!shape || shape->IsNull()) {
      if (reason) *reason = L"A null body cannot be written as SAT.";
      return Acad::eInvalidInput;
    }
  }
  std::string result;
  const Acad::ErrorStatus status = Guarded(
      [&] {
        SatDocument doc;
        for (const Shape* shape : shapes) {
          BodyWriter writer(doc);
          writer.Write(ShapeAccess::Get(*shape), shape->Kind() == ShapeKind::kSolid);
          writer.Finish();
        }
        result = doc.Text();
        return Acad::eOk;
      },
      reason);
  if (status == Acad::eOk) text = std::move(result);
  return status;
}

Acad::ErrorStatus WriteSat(const std::wstring& path, const std::vector<const Shape*>& shapes,
                           std::wstring* reason) {
  std::string text;
  const Acad::ErrorStatus status = SatText(shapes, text, reason);
  if (status != Acad::eOk) return status;
  std::string error;
  if (!sat::WriteFileReplacing(plx::NativePath(path), text, error)) {
    if (reason) *reason = plx::WideFromUtf8(error);
    return Acad::eFileAccessErr;
  }
  return Acad::eOk;
}

}  // namespace plx::modeller
