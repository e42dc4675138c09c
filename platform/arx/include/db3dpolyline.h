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
