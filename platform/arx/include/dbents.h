// The host's simple entities: points, lines, circles and 3D faces.
#pragma once

#include "dbcurve.h"
#include "dbmain.h"

class AcDbPoint : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbPoint);
  AcDbPoint() = default;
  explicit AcDbPoint(const AcGePoint3d& position);
  AcRxObject* clone() const override { return new AcDbPoint(*this); }

  AcGePoint3d position() const { return position_; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& position);
  AcGeVector3d normal() const { return normal_; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
  double thickness() const { return thickness_; }
  Acad::ErrorStatus setThickness(double thickness);

  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix) override;

 protected:
  void ListGeometry() const override;

 private:
  AcGePoint3d position_;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
  double thickness_ = 0;
};

class AcDbLine : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLine);
  AcDbLine() = default;
  AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end);
  AcRxObject* clone() const override { return new AcDbLine(*this); }

  AcGePoint3d startPoint() const { return start_; }
  Acad::ErrorStatus setStartPoint(const AcGePoint3d& point);
  AcGePoint3d endPoint() const { return end_; }
  Acad::ErrorStatus setEndPoint(const AcGePoint3d& point);
  AcGeVector3d normal() const { return normal_; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
  double thickness() const { return thickness_; }
  Acad::ErrorStatus setThickness(double thickness);

  // Parameter: 0 at the start to the length at the end.
  Acad::ErrorStatus getStartParam(double& param) const override;
  Acad::ErrorStatus getEndParam(double& param) const override;
  Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const override;
  Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const override;
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;

  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix) override;

 protected:
  void ListGeometry() const override;

 private:
  AcGePoint3d start_, end_;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
  double thickness_ = 0;
};

class AcDbCircle : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDbCircle);
  AcDbCircle() = default;
  AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius);
  AcRxObject* clone() const override { return new AcDbCircle(*this); }

  AcGePoint3d center() const { return center_; }
  Acad::ErrorStatus setCenter(const AcGePoint3d& center);
  double radius() const { return radius_; }
  Acad::ErrorStatus setRadius(double radius);  // eInvalidInput unless positive and finite
  AcGeVector3d normal() const { return normal_; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& normal);  // eInvalidInput for a zero vector
  double thickness() const { return thickness_; }
  Acad::ErrorStatus setThickness(double thickness);

  Adesk::Boolean isClosed() const override { return true; }
  Adesk::Boolean isPeriodic() const override { return true; }
  // Parameter: the angle 0 to 2 pi about the normal from the object's X axis (arbitrary axis).
  Acad::ErrorStatus getStartParam(double& param) const override;
  Acad::ErrorStatus getEndParam(double& param) const override;
  Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const override;
  Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const override;
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;

  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  // Moves, turns and scales uniformly; a non-uniform matrix gives eCannotScaleNonUniformly.
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix) override;

 protected:
  void ListGeometry() const override;

 private:
  AcGePoint3d center_;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
  double radius_ = 0;
  double thickness_ = 0;
};

// A 3D face: four corners (the fourth equal to the third for a triangle); an invisible edge
// runs from the corner of its index to the next.
class AcDbFace : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbFace);
  AcDbFace() = default;
  AcDbFace(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2, const AcGePoint3d& pt3,
           Adesk::Boolean e0vis = true, Adesk::Boolean e1vis = true, Adesk::Boolean e2vis = true,
           Adesk::Boolean e3vis = true);
  AcDbFace(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2, Adesk::Boolean e0vis = true,
           Adesk::Boolean e1vis = true, Adesk::Boolean e2vis = true, Adesk::Boolean e3vis = true);
  AcRxObject* clone() const override { return new AcDbFace(*this); }

  // index 0 to 3; eInvalidIndex otherwise.
  Acad::ErrorStatus getVertexAt(Adesk::UInt16 index, AcGePoint3d& point) const;
  Acad::ErrorStatus setVertexAt(Adesk::UInt16 index, const AcGePoint3d& point);
  Acad::ErrorStatus makeEdgeInvisibleAt(Adesk::UInt16 index);
  Acad::ErrorStatus makeEdgeVisibleAt(Adesk::UInt16 index);
  Acad::ErrorStatus isEdgeVisibleAt(Adesk::UInt16 index, Adesk::Boolean& visible) const;

  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix) override;

 protected:
  void ListGeometry() const override;

 private:
  AcGePoint3d corners_[4];
  bool visible_[4] = {true, true, true, true};
};
