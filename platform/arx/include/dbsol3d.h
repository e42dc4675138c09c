// The host's modeller entities: 3D solids, bodies and regions, each holding one modeller body
// (an opaque pointer as the host hands it out through body() and takes it in setBody()).
#pragma once

#include <memory>

#include "acdb.h"
#include "dbmain.h"

namespace plx::modeller {
class Shape;
}

// Shared by the three classes: the body, its extents, transform, explode and listing.
class AcDbModelerEntity : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbModelerEntity);
  ~AcDbModelerEntity() override;

  // True when the entity holds no body.
  bool isNull() const;
  // The body, owned by the entity; null when there is none.
  void* body() const;
  // Takes a copy of the body (the caller keeps its own); null empties the entity.
  Acad::ErrorStatus setBody(const void* modelerBody);

  // Tight extents of the body; eNullExtents for an empty entity.
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix) override;
  // Solids and bodies give regions for their planar faces and bodies for curved ones; a region,
  // or a body of a single face, gives lines, circles, arcs, ellipses and splines for its edges
  // (seams and degenerate edges left out).
  Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const override;

  double volume() const;
  double area() const;

 protected:
  AcDbModelerEntity();
  AcDbModelerEntity(const AcDbModelerEntity& other);
  void ListGeometry() const override;
  plx::modeller::Shape& shape() const { return *shape_; }

 private:
  std::unique_ptr<plx::modeller::Shape> shape_;
};

class AcDb3dSolid : public AcDbModelerEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDb3dSolid);
  AcDb3dSolid() = default;
  AcDb3dSolid(const AcDb3dSolid& other) = default;
  AcRxObject* clone() const override { return new AcDb3dSolid(*this); }

  // Primitives about the origin, as the host makes them; eInvalidInput for a size that is not
  // positive and finite.
  Acad::ErrorStatus createBox(double xLen, double yLen, double zLen);
  Acad::ErrorStatus createSphere(double radius);
  Acad::ErrorStatus createTorus(double majorRadius, double minorRadius);
  Acad::ErrorStatus createWedge(double xLen, double yLen, double zLen);
  // A cylinder when topXRadius equals xRadius, else a cone; only round sections (yRadius is
  // taken to equal xRadius).
  Acad::ErrorStatus createFrustum(double height, double xRadius, double yRadius, double topXRadius);

  // Unites, intersects or subtracts the other solid into this one; the other is left empty.
  Acad::ErrorStatus booleanOper(AcDb::BoolOperType operation, AcDb3dSolid* solid);

  // Writes the body as an STL file (binary unless asciiFormat), its density from FACETRES.
  // Refused (eInvalidInput) for a body that reaches below zero in any coordinate, like the
  // host's own STL command; eFileAccessErr when the file cannot be written.
  Acad::ErrorStatus stlOut(const ACHAR* fileName, Adesk::Boolean asciiFormat, double maxSurfaceDeviation = 0.0) const;
};

class AcDbBody : public AcDbModelerEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbBody);
  AcDbBody() = default;
  AcDbBody(const AcDbBody& other) = default;
  AcRxObject* clone() const override { return new AcDbBody(*this); }
};

class AcDbRegion : public AcDbModelerEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbRegion);
  AcDbRegion() = default;
  AcDbRegion(const AcDbRegion& other) = default;
  AcRxObject* clone() const override { return new AcDbRegion(*this); }
};
