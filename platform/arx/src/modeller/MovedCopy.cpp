// MovedCopy: a shape moved by a gp_Trsf into new topology and geometry of its own, built as
// OCCT's BRepBuilderAPI_Transform (copy) builds it, in one walk.
//
// OCCT's transform goes through BRepTools_Modifier: a map of every sub-shape, two maps of
// ancestors, the new geometry computed in passes of their own, then a rebuild that scans every
// face's edges again for closed edges. For a box that bookkeeping costs more than the new
// geometry. Here one recursive walk (children in TopoDS_Iterator order, as the modifier goes)
// asks the same BRepTools_TrsfModification for every new point, curve, surface, parameter and
// pcurve, and makes the same BRep_Builder calls in the same order, so the result holds the same
// numbers, flags, orientations and locations; a sub-shape met twice stays one new sub-shape.
// Meshes of the result are therefore the same bit for bit. The few shapes the modifier treats
// in ways this walk does not repeat are left to it (see MovedCopy's declaration).
#include <BRepTools_TrsfModification.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <Geom2d_Curve.hxx>
#include <Geom2d_Line.hxx>
#include <Geom_Curve.hxx>
#include <Geom_Surface.hxx>
#include <TopAbs.hxx>
#include <TopExp_Explorer.hxx>
#include <TopLoc_Location.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Iterator.hxx>
#include <TopoDS_Vertex.hxx>
#include <gp.hxx>
#include <gp_Pnt.hxx>
#include <gp_Trsf.hxx>

#include <climits>
#include <cstddef>
#include <functional>
#include <unordered_map>
#include <vector>

#include "ShapeImpl.h"

namespace plx::modeller {

namespace {

// The flags OCCT's modifier carries from each shape to its copy.
void CopyFlags(const TopoDS_Shape& from, TopoDS_Shape& to) {
  to.Modified(from.Modified());
  to.Checked(from.Checked());
  to.Orientable(from.Orientable());
  to.Closed(from.Closed());
  to.Infinite(from.Infinite());
  to.Convex(from.Convex());
}

class Copier {
 public:
  explicit Copier(const gp_Trsf& trsf) : modification_(new BRepTools_TrsfModification(trsf)) {}

  TopoDS_Shape Run(const TopoDS_Shape& shape) {
    Copy(shape);
    if (unsupported_) return TopoDS_Shape();
    TopoDS_Shape result = Find(shape)->result;
    if (shape.ShapeType() == TopAbs_FACE && shape.Orientation() == TopAbs_REVERSED)
      result.Reverse();
    else
      result.Orientation(shape.Orientation());
    // Continuity between the two faces of an edge, as the original has it.
    BRep_Builder builder;
    for (const Entry* edge : edges_) {
      if (edge->faceCount < 2) continue;
      const TopoDS_Edge& newEdge = TopoDS::Edge(edge->result);
      const TopoDS_Face& newFace1 = TopoDS::Face(Find(edge->faces[0])->result);
      const TopoDS_Face& newFace2 = TopoDS::Face(Find(edge->faces[1])->result);
      const GeomAbs_Shape continuity =
          modification_->Continuity(TopoDS::Edge(edge->original), TopoDS::Face(edge->faces[0]),
                                    TopoDS::Face(edge->faces[1]), newEdge, newFace1, newFace2);
      if (continuity > GeomAbs_C0) builder.Continuity(newEdge, newFace1, newFace2, continuity);
    }
    return result;
  }

 private:
  // One sub-shape as placed in the whole shape (its TShape and its location from the root).
  struct Key {
    const TopoDS_TShape* tshape;
    TopLoc_Location location;
    bool operator==(const Key& other) const { return tshape == other.tshape && location.IsEqual(other.location); }
  };
  struct KeyHash {
    std::size_t operator()(const Key& key) const {
      return std::hash<const void*>()(key.tshape) ^ static_cast<std::size_t>(key.location.HashCode(INT_MAX));
    }
  };
  struct Entry {
    TopoDS_Shape original;  // as first met
    TopoDS_Shape result;
    TopoDS_Shape faces[2];  // edges: the first two faces met that hold the edge
    int faceCount = 0;
  };

  Entry* Find(const TopoDS_Shape& shape) {
    const auto found = entries_.find(Key{shape.TShape().get(), shape.Location()});
    return found == entries_.end() ? nullptr : &found->second;
  }

  Entry& Add(const TopoDS_Shape& shape) {
    Entry& entry = entries_[Key{shape.TShape().get(), shape.Location()}];
    entry.original = shape;
    if (shape.ShapeType() == TopAbs_EDGE) edges_.push_back(&entry);
    return entry;
  }

  // Copies shape (placed from the root, orientation as its parent holds it) unless done before;
  // true when its copy is a new shape.
  bool Copy(const TopoDS_Shape& shape);
  void CopyPCurves(const TopoDS_Face& face, const TopoDS_Face& newFace, bool revWires);
  void SetVertexParameters(const TopoDS_Edge& edge, const TopoDS_Shape& explored, const TopoDS_Edge& newEdge,
                           bool onlyNew);

  Handle(BRepTools_TrsfModification) modification_;
  std::unordered_map<Key, Entry, KeyHash> entries_;  // nodes stay put as the map grows
  std::vector<Entry*> edges_;                         // in the order first met
  bool unsupported_ = false;
};

bool Copier::Copy(const TopoDS_Shape& shape) {
  const TopAbs_ShapeEnum type = shape.ShapeType();
  BRep_Builder builder;
  if (type == TopAbs_VERTEX) {
    if (!Find(shape)) {
      Entry& entry = Add(shape);
      gp_Pnt point;
      double tolerance = 0;
      modification_->NewPoint(TopoDS::Vertex(shape), point, tolerance);
      TopoDS_Vertex vertex;
      builder.MakeVertex(vertex, point, tolerance);
      CopyFlags(shape, vertex);
      entry.result = vertex;
    }
    return true;
  }
  if (const Entry* done = Find(shape)) {
    // Edges are shared between faces; a face or a container met twice would also need the
    // ancestors the modifier counts per occurrence.
    if (type != TopAbs_EDGE) unsupported_ = true;
    return !shape.IsSame(done->result);
  }
  Entry& entry = Add(shape);
  TopoDS_Shape& result = entry.result;

  bool rebuild = false, revWires = false, no3dCurve = false;
  TopAbs_Orientation resultOrientation = TopAbs_FORWARD;
  double tolerance = 0;
  if (type == TopAbs_FACE) {
    const TopoDS_Face& face = TopoDS::Face(shape);
    Handle(Geom_Surface) surface;
    TopLoc_Location location;
    Standard_Boolean revFace = Standard_False, rev = Standard_False;
    rebuild = modification_->NewSurface(face, surface, location, tolerance, rev, revFace);
    revWires = rev;
    if (rebuild) {
      builder.MakeFace(TopoDS::Face(result), surface, location.Predivided(shape.Location()), tolerance);
      result.Location(shape.Location(), Standard_False);
      if (revFace) resultOrientation = TopAbs_REVERSED;
      builder.NaturalRestriction(TopoDS::Face(result), BRep_Tool::NaturalRestriction(face));
    }
  } else if (type == TopAbs_EDGE) {
    const TopoDS_Edge& edge = TopoDS::Edge(shape);
    Handle(Geom_Curve) curve;
    TopLoc_Location location;
    rebuild = modification_->NewCurve(edge, curve, location, tolerance);
    if (rebuild) {
      if (curve.IsNull()) {
        builder.MakeEdge(TopoDS::Edge(result));
        builder.Degenerated(TopoDS::Edge(result), BRep_Tool::Degenerated(edge));
        builder.UpdateEdge(TopoDS::Edge(result), tolerance);
        no3dCurve = true;
      } else {
        builder.MakeEdge(TopoDS::Edge(result), curve, location.Predivided(shape.Location()), tolerance);
      }
      result.Location(shape.Location(), Standard_False);
      builder.SameParameter(TopoDS::Edge(result), BRep_Tool::SameParameter(edge));
      builder.SameRange(TopoDS::Edge(result), BRep_Tool::SameRange(edge));
    }
  }

  const bool newGeometry = rebuild;
  for (TopoDS_Iterator it(shape, Standard_False); it.More(); it.Next()) {
    const bool childRebuilt = Copy(it.Value());
    if (unsupported_) return false;
    rebuild = childRebuilt || rebuild;
  }
  if (rebuild && !newGeometry) {
    result = shape.EmptyCopied();
    result.Orientation(TopAbs_FORWARD);
  }
  if (rebuild) {
    for (TopoDS_Iterator it(shape, Standard_False); it.More(); it.Next()) {
      TopAbs_Orientation orientation = it.Value().Orientation();
      const TopoDS_Shape& child = Find(it.Value())->result;
      if (revWires || child.Orientation() == TopAbs_REVERSED) orientation = TopAbs::Reverse(orientation);
      builder.Add(result, child.Oriented(orientation));
    }
    if (type == TopAbs_FACE) {
      CopyPCurves(TopoDS::Face(shape), TopoDS::Face(result), revWires);
      if (unsupported_) return false;
    } else if (type == TopAbs_EDGE && !no3dCurve) {
      const TopoDS_Edge& edge = TopoDS::Edge(shape);
      const TopAbs_Orientation orientation =
          edge.Orientation() == TopAbs_REVERSED ? TopAbs_REVERSED : TopAbs_FORWARD;
      SetVertexParameters(edge, edge.Oriented(orientation), TopoDS::Edge(result), true);
    }
  } else {
    result = shape;
  }
  result.Orientation(resultOrientation);
  CopyFlags(shape, result);
  return rebuild;
}

// The parameters of edge's vertices (met through explored, the edge as the caller's pass holds
// it) on newEdge. onlyNew: the edge's own pass, which leaves out vertices that were not copied
// (there are none here: every vertex gets a new point).
void Copier::SetVertexParameters(const TopoDS_Edge& edge, const TopoDS_Shape& explored, const TopoDS_Edge& newEdge,
                                 bool onlyNew) {
  BRep_Builder builder;
  for (TopExp_Explorer e(explored, TopAbs_VERTEX); e.More(); e.Next()) {
    const TopoDS_Vertex& vertex = TopoDS::Vertex(e.Current());
    double parameter = 0, tolerance = 0;
    if (!modification_->NewParameter(vertex, edge, parameter, tolerance)) {
      tolerance = BRep_Tool::Tolerance(vertex);
      parameter = BRep_Tool::Parameter(vertex, edge);
    }
    TopAbs_Orientation relative = vertex.Orientation();
    if (explored.Orientation() == TopAbs_REVERSED) relative = TopAbs::Reverse(relative);
    TopoDS_Vertex newVertex = TopoDS::Vertex(Find(vertex)->result);
    newVertex.Orientation(relative);
    if (!onlyNew || !newVertex.IsSame(vertex)) builder.UpdateVertex(newVertex, parameter, newEdge, tolerance);
  }
}

void Copier::CopyPCurves(const TopoDS_Face& face, const TopoDS_Face& newFace, bool revWires) {
  BRep_Builder builder;
  const TopAbs_Orientation faceOrientation =
      face.Orientation() == TopAbs_REVERSED ? TopAbs_REVERSED : TopAbs_FORWARD;
  std::vector<TopoDS_Edge> edges;
  for (TopExp_Explorer e(face.Oriented(faceOrientation), TopAbs_EDGE); e.More(); e.Next())
    edges.push_back(TopoDS::Edge(e.Current()));
  for (const TopoDS_Edge& edge : edges) {
    Entry& entry = *Find(edge);
    if (entry.faceCount < 2) entry.faces[entry.faceCount++] = face;
    const TopoDS_Edge newEdge = TopoDS::Edge(entry.result);
    Handle(Geom2d_Curve) pcurve;
    double tolerance = 0;
    if (!modification_->NewCurve2d(edge, face, newEdge, newFace, pcurve, tolerance)) continue;
    bool closed = false;
    if (BRep_Tool::IsClosed(edge, face)) {
      int occurrences = 0;
      for (const TopoDS_Edge& other : edges) occurrences += other.IsSame(edge) ? 1 : 0;
      // Closed on the surface without being the face's seam: the modifier looks for another
      // face on the same surface holding the edge; left to it.
      if (occurrences != 2) {
        unsupported_ = true;
        return;
      }
      closed = true;
    }
    if (closed) {
      TopoDS_Edge seam = newEdge;
      TopoDS_Shape forwardFace = newFace;
      forwardFace.Orientation(TopAbs_FORWARD);
      const TopoDS_Face& seamFace = TopoDS::Face(forwardFace);
      Handle(Geom2d_Curve) other;
      double first = 0, last = 0;
      // The first side met gets a placeholder for the other, replaced when that side comes.
      if (revWires == (faceOrientation == edge.Orientation())) {
        seam.Orientation(TopAbs_FORWARD);
        other = BRep_Tool::CurveOnSurface(seam, seamFace, first, last);
        if (other.IsNull()) other = new Geom2d_Line(gp::OX2d());
        builder.UpdateEdge(seam, other, pcurve, seamFace, 0.);
      } else {
        seam.Orientation(TopAbs_REVERSED);
        other = BRep_Tool::CurveOnSurface(seam, seamFace, first, last);
        if (other.IsNull()) other = new Geom2d_Line(gp::OX2d());
        builder.UpdateEdge(seam, pcurve, other, seamFace, 0.);
      }
      BRep_Tool::CurveOnSurface(seam, seamFace, first, last);
      builder.Range(seam, first, last);
    } else {
      builder.UpdateEdge(newEdge, pcurve, newFace, 0.);
    }
    TopLoc_Location location;
    double first = 0, last = 0;
    if (BRep_Tool::Curve(newEdge, location, first, last).IsNull()) SetVertexParameters(edge, edge, newEdge, false);
  }
}

}  // namespace

TopoDS_Shape MovedCopy(const TopoDS_Shape& shape, const gp_Trsf& trsf) {
  if (shape.IsNull()) return shape;
  Copier copier(trsf);
  return copier.Run(shape);
}

}  // namespace plx::modeller
