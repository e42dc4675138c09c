// Curves: entities with a parameter along them. The defaults answer eNotApplicable, so that a
// curve class says only what it knows.
#pragma once

#include "dbmain.h"

class AcDbCurve : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbCurve);
  virtual Adesk::Boolean isClosed() const { return false; }
  virtual Adesk::Boolean isPeriodic() const { return false; }
  virtual Acad::ErrorStatus getStartParam(double& param) const;
  virtual Acad::ErrorStatus getEndParam(double& param) const;
  virtual Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const;
  virtual Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const;
  virtual Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const;
  virtual Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const;
  virtual Acad::ErrorStatus getDistAtParam(double param, double& dist) const;

 protected:
  AcDbCurve() = default;
  AcDbCurve(const AcDbCurve&) = default;
};
