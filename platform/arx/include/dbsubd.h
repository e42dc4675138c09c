// The host's subdivision mesh (MESH): vertices and faces, each face given in a face list as
// its corner count followed by that many vertex indices counted from 0, and a smoothing level.
// Our host keeps the control mesh only: the level is recorded, not applied.
#pragma once

#include "acarray.h"
#include "dbmain.h"
#include "gept3dar.h"

class AcDbSubDMesh : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbSubDMesh);
  AcDbSubDMesh() = default;
  AcRxObject* clone() const override { return new AcDbSubDMesh(*this); }

  // eInvalidInput (nothing changes) for a non-finite vertex, a face of fewer than three
  // corners, a corner index outside the vertex array, a face list that ends inside a face, or
  // a level outside 0 to 4. Empty arrays give an empty mesh.
  Acad::ErrorStatus setSubDMesh(const AcGePoint3dArray& vertexArray,
                                const AcArray<Adesk::Int32>& faceArray, int subDLevel);
  Acad::ErrorStatus setSmoothLevel(int level);  // eInvalidInput outside 0 to 4
  Acad::ErrorStatus subDLevel(Adesk::Int32& level) const;
  Acad::ErrorStatus numOfVertices(Adesk::Int32& count) const;
  Acad::ErrorStatus numOfFaces(Adesk::Int32& count) const;
  Acad::ErrorStatus numOfEdges(Adesk::Int32& count) const;  // distinct vertex pairs of face sides
  Acad::ErrorStatus getVertices(AcGePoint3dArray& vertexArray) const;
  Acad::ErrorStatus getFaceArray(AcArray<Adesk::Int32>& faceArray) const;
  Acad::ErrorStatus getVertexAt(Adesk::Int32 index, AcGePoint3d& vertex) const;  // eInvalidIndex
  Acad::ErrorStatus setVertexAt(Adesk::Int32 index, const AcGePoint3d& vertex);

  // eInvalidExtents without vertices.
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& matrix) override;  // any affine map

 protected:
  void ListGeometry() const override;

 private:
  AcGePoint3dArray vertices_;
  AcArray<Adesk::Int32> faces_;
  int faceCount_ = 0;
  int level_ = 0;
};
