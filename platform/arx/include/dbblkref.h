// The host's block reference (INSERT): a block table record shown at a position, scaled along
// its three axes, turned about the normal and placed in the plane of the normal. The block
// transform takes the block's coordinates into the reference's space:
//   translation(position) x planeToWorld(normal) x rotation(rotation about Z) x
//   scaling(scale factors) x translation(-block origin).
#pragma once

#include "dbmain.h"
#include "gescl3d.h"

class AcDbBlockReference : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbBlockReference);
  AcDbBlockReference() = default;
  AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRecord);
  AcRxObject* clone() const override { return new AcDbBlockReference(*this); }

  AcDbObjectId blockTableRecord() const { return block_; }
  // eNullObjectId; eWrongObjectType for an id that is not a block table record.
  Acad::ErrorStatus setBlockTableRecord(AcDbObjectId block);
  AcGePoint3d position() const { return position_; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& position);
  AcGeScale3d scaleFactors() const { return scale_; }
  // eInvalidInput for a zero or non-finite factor (negative factors mirror).
  Acad::ErrorStatus setScaleFactors(const AcGeScale3d& scale);
  double rotation() const { return rotation_; }
  Acad::ErrorStatus setRotation(double angle);
  AcGeVector3d normal() const { return normal_; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& normal);  // eInvalidInput for a zero vector

  AcGeMatrix3d blockTransform() const;
  // Takes position, normal, rotation and scale factors apart from the matrix;
  // eCannotScaleNonUniformly for a matrix with shear, eInvalidInput for a singular one.
  Acad::ErrorStatus setBlockTransform(const AcGeMatrix3d& transform);

  // The block's entities' boxes through the block transform (nested references included);
  // eInvalidExtents for an empty or missing block.
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  // The reference's transform is composed with the matrix; eCannotScaleNonUniformly when the
  // result would shear.
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix) override;
  // Copies of the block's entities through the block transform, outside any database; a piece
  // that cannot take the transform (a circle under a non-uniform scale) fails the whole
  // explode with its status and nothing is handed out. eNullObjectId without a block.
  Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const override;

 protected:
  void ListGeometry() const override;

 private:
  // The extents through the block's entities (getGeomExtents keeps them per query).
  Acad::ErrorStatus BlockExtents(AcDbExtents& extents) const;
  AcDbObjectId block_;
  AcGePoint3d position_;
  AcGeScale3d scale_;
  double rotation_ = 0;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
};
