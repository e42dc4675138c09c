// The host's 2D polyline (a POLYLINE that is neither 3D nor a mesh): vertices that own their
// place as sub-objects, in the object coordinate system of the normal at the polyline's
// elevation, with bulges and widths as in the lightweight polyline. Curve-fit and spline-fit
// polylines carry fit vertices (on the curve) and spline control vertices (off it): the curve
// queries walk the vertices that are not control vertices.
#pragma once

#include "dbcurve.h"
#include "dbvertex.h"
#include "gedblar.h"
#include "gept3dar.h"

class AcDb2dVertex : public AcDbVertex {
 public:
  ACRX_DECLARE_MEMBERS(AcDb2dVertex);
  AcDb2dVertex() = default;
  // position in object coordinates (its z is not used; the polyline's elevation is).
  explicit AcDb2dVertex(const AcGePoint3d& position, double bulge = 0, double startWidth = 0,
                        double endWidth = 0, double tangent = 0, Adesk::Int32 vertexIdentifier = 0);
  AcRxObject* clone() const override { return new AcDb2dVertex(*this); }

  AcDb::Vertex2dType vertexType() const { return type_; }
  // Our own: the host's readers mark fit and control vertices as a file gives them.
  Acad::ErrorStatus SetVertexType(AcDb::Vertex2dType type);
  AcGePoint3d position() const { return position_; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& position);
  double bulge() const { return bulge_; }
  Acad::ErrorStatus setBulge(double bulge);
  double startWidth() const { return startWidth_; }
  Acad::ErrorStatus setStartWidth(double width);
  double endWidth() const { return endWidth_; }
  Acad::ErrorStatus setEndWidth(double width);
  bool isTangentUsed() const { return tangentUsed_; }
  double tangent() const { return tangent_; }
  Acad::ErrorStatus setTangent(double tangent);
  Acad::ErrorStatus useTangent();
  Acad::ErrorStatus ignoreTangent();
  Adesk::Int32 vertexIdentifier() const { return id_; }
  Acad::ErrorStatus setVertexIdentifier(Adesk::Int32 id);

  // In object coordinates; the owner carries the vertex when it moves.
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix) override;

 private:
  AcGePoint3d position_;
  double bulge_ = 0, startWidth_ = 0, endWidth_ = 0, tangent_ = 0;
  bool tangentUsed_ = false;
  Adesk::Int32 id_ = 0;
  AcDb::Vertex2dType type_ = AcDb::k2dVertex;
};

class AcDb2dPolyline : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDb2dPolyline);
  AcDb2dPolyline() = default;
  // Vertices in object coordinates; bulges (one per vertex) may be null.
  AcDb2dPolyline(AcDb::Poly2dType type, const AcGePoint3dArray& vertices, double elevation = 0,
                 Adesk::Boolean closed = false, double defStartWidth = 0, double defEndWidth = 0,
                 const AcGeDoubleArray* bulges = nullptr);
  AcRxObject* clone() const override { return new AcDb2dPolyline(*this); }

  AcDb::Poly2dType polyType() const { return type_; }
  Acad::ErrorStatus setPolyType(AcDb::Poly2dType type);
  Acad::ErrorStatus makeClosed();
  Acad::ErrorStatus makeOpen();
  Adesk::Boolean isClosed() const override { return closed_; }
  double elevation() const { return elevation_; }
  Acad::ErrorStatus setElevation(double elevation);
  AcGeVector3d normal() const { return normal_; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& normal);  // eInvalidInput for a zero vector
  double thickness() const { return thickness_; }
  Acad::ErrorStatus setThickness(double thickness);
  double defaultStartWidth() const { return startWidth_; }
  Acad::ErrorStatus setDefaultStartWidth(double width);
  double defaultEndWidth() const { return endWidth_; }
  Acad::ErrorStatus setDefaultEndWidth(double width);

  Acad::ErrorStatus appendVertex(AcDb2dVertex* vertex);
  Acad::ErrorStatus appendVertex(AcDbObjectId& id, AcDb2dVertex* vertex);
  AcDbObjectIterator* vertexIterator() const;
  // A vertex's place in world coordinates (its x and y at the polyline's elevation).
  AcGePoint3d vertexPosition(const AcDb2dVertex& vertex) const;

  Acad::ErrorStatus getStartParam(double& param) const override;
  Acad::ErrorStatus getEndParam(double& param) const override;
  Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const override;
  Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const override;
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;

  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  // As the lightweight polyline: arcs need a uniform scale.
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix) override;
  Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const override;

  const plx::db::VertexList& Vertices() const { return vertices_; }

 protected:
  void AddOwnedObjects() override;
  void ListGeometry() const override;

 private:
  plx::db::VertexList vertices_;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
  double elevation_ = 0;
  double thickness_ = 0;
  double startWidth_ = 0, endWidth_ = 0;
  AcDb::Poly2dType type_ = AcDb::k2dSimplePoly;
  bool closed_ = false;
};
