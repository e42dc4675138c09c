// A solid or body tessellated as on the export road and written into a polyface mesh.
#include "mesh/MeshModule.h"
#include "toolkit/LastError.h"
#include "toolkit/MeshConversion.h"
#include "toolkit/MeshWriters.h"

int SolidToPolyFaceMesh(AcDb3dSolid* solid, AcDbPolyFaceMesh* target, const double* facetRes) {
  ON_Mesh mesh;
  if (!SolidToMesh(solid, mesh, facetRes)) return 0;
  if (!MeshToPolyFaceMesh(mesh, target)) {
    MeshLastError.Set(GetGeometryError());
    return 0;
  }
  return 1;
}

int SolidToPolyFaceMesh(AcDbBody* body, AcDbPolyFaceMesh* target, const double* facetRes) {
  AcDb3dSolid* solid = SolidOfBody(body);
  if (!solid) return 0;
  const int result = SolidToPolyFaceMesh(solid, target, facetRes);
  solid->close();
  return result;
}
