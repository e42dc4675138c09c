// 3D polylines: straight segments through their vertices, open or closed.
#pragma once

#include "dbcurve.h"
#include "dbvertex.h"
#include "gept3dar.h"

class AcDb3dPolylineVertex : public AcDbVertex {
 public:
  ACRX_DECLARE_MEMBERS(AcDb3dPolylineVertex);
  AcDb3dPolylineVertex() = default;
  explicit AcDb3dPolylineVertex(const AcGePoint3d& position) : position_(position) {}
  AcRxObject* clone() const override { return new AcDb3dPolylineVertex(*this); }
  AcGePoint3d position() const { return position_; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& position);
  AcDb::Vertex3dType vertexType() const { return type_; }
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix) override;

 private:
  AcGePoint3d position_;
  AcDb::Vertex3dType type_ = AcDb::k3dSimpleVertex;
};

class AcDb3dPolyline : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDb3dPolyline);
  AcDb3dPolyline() = default;
  AcDb3dPolyline(AcDb::Poly3dType type, const AcGePoint3dArray& vertices, Adesk::Boolean closed = false);
  AcRxObject* clone() const override { return new AcDb3dPolyline(*this); }

  AcDb::Poly3dType polyType() const { return type_; }
  Acad::ErrorStatus setPolyType(AcDb::Poly3dType type);
  Acad::ErrorStatus makeClosed();
  Acad::ErrorStatus makeOpen();
  Adesk::Boolean isClosed() const override { return closed_; }
  // Parameter k at the k-th vertex that the curve passes (spline control vertices are skipped),
  // straight in between; the end parameter is the segment count.
  Acad::ErrorStatus getStartParam(double& param) const override;
  Acad::ErrorStatus getEndParam(double& param) const override;
  Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const override;
  Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const override;
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;

  Acad::ErrorStatus appendVertex(AcDb3dPolylineVertex* vertex);
  Acad::ErrorStatus appendVertex(AcDbObjectId& id, AcDb3dPolylineVertex* vertex);
  AcDbObjectIterator* vertexIterator() const;

  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix) override;

  const plx::db::VertexList& Vertices() const { return vertices_; }

 protected:
  void AddOwnedObjects() override;
  void ListGeometry() const override;

 private:
  plx::db::VertexList vertices_;
  AcDb::Poly3dType type_ = AcDb::k3dSimplePoly;
  bool closed_ = false;
};
