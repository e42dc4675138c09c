// The host's modeller entities: 3D solids, bodies and regions, each holding one modeller body
// (an opaque pointer as the host hands it out through body() and takes it in setBody()).
#pragma once

#include <memory>

#include "acdb.h"
#include "dbmain.h"
#include "dbptrar.h"

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
  // Takes a copy of the body (the caller keeps its own); null empties the entity. The body is
  // classified by its geometry, whatever entity it came from: closed volumes are a 3D solid's,
  // one planar face a region's, anything else a body's (so a 3D solid given a body's closed
  // volume can take part in Booleans with other solids).
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

  // Removes redundant edges and vertices (faces that lie on one surface are merged): eOk for
  // any body, closed or open; eInvalidInput when the solid holds no body;
  // eGeneralModelingFailure when the modeller fails, the body then being left as it was;
  // eNotOpenForWrite when the solid is not open for write. Asked after setBody to learn
  // whether the solid received a usable body.
  Acad::ErrorStatus cleanBody();

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

  // Reads an ACIS SAT file (versions 106 to 21500) and appends one new entity per body, in
  // file order: an AcDb3dSolid for closed volumes, an AcDbRegion for a single planar face, an
  // AcDbBody for anything else (and for a body without faces, which stays empty). The entities
  // are in no database and belong to the caller. A valid file without bodies gives eOk and
  // appends nothing. On failure nothing is appended: eInvalidInput for a null or empty name,
  // eFileNotFound for a missing file, eFileAccessErr for one that cannot be read,
  // eCannotRestoreFromAcisFile for an empty file, text that is not SAT, a binary (SAB) file, or
  // data the modeller cannot read (an unknown surface or curve, a broken pointer).
  static Acad::ErrorStatus acisIn(const ACHAR* fileName, AcDbVoidPtrArray& entities);

  // Writes one ACIS SAT file (text, version 700) at fileName holding one body for each entity
  // of the list, in list order: the 3D solids, bodies and regions given (classes derived from
  // them included), as void pointers to AcDbEntity as the host's arrays hold them. The file is
  // written beside its target under a temporary name and replaces it only when complete; on
  // any failure no file is written and an existing one is left as it was.
  // eInvalidInput for a null or empty file name or an empty list (no file is written);
  // eNullEntityPointer for a null element; eWrongObjectType for an element of any other class;
  // eNotApplicable for a solid, body or region that holds no body; eFileAccessErr when the
  // file cannot be created, written or put in place.
  static Acad::ErrorStatus acisOut(const ACHAR* fileName, const AcDbVoidPtrArray& entities);
};

class AcDbRegion : public AcDbModelerEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbRegion);
  AcDbRegion() = default;
  AcDbRegion(const AcDbRegion& other) = default;
  AcRxObject* clone() const override { return new AcDbRegion(*this); }
};
