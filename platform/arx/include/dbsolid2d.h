// The host's 2D solid (SOLID): a filled triangle or quadrilateral whose corners run in a Z
// (0, 1, 3, 2 around the outline).
#pragma once

#include "dbmain.h"

class AcDbSolid : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbSolid);
  AcDbSolid() = default;
  AcDbSolid(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2, const AcGePoint3d& pt3);
  AcDbSolid(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2);
  AcRxObject* clone() const override { return new AcDbSolid(*this); }

  Acad::ErrorStatus getPointAt(Adesk::UInt16 index, AcGePoint3d& point) const;  // eInvalidIndex above 3
  Acad::ErrorStatus setPointAt(Adesk::UInt16 index, const AcGePoint3d& point);
  AcGeVector3d normal() const { return normal_; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
  double thickness() const { return thickness_; }
  Acad::ErrorStatus setThickness(double thickness);

  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix) override;

 protected:
  void ListGeometry() const override;

 private:
  AcGePoint3d corners_[4];
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
  double thickness_ = 0;
};
