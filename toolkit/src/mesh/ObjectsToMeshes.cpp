// The export road's conversion of drawing objects to meshes. Solids are tessellated by the
// host itself: FACETRES is set for the call, the solid writes a binary STL file into the
// temporary folder ("%s\TVKTemp.stl") and the data-exchange module reads it back. The host
// refuses to write a solid that reaches below zero, so such a solid is written from a copy
// moved into positive space, and its mesh is moved back.
#include <cmath>

#include "QMLib.h"
#include "mesh/MeshModule.h"
#include "toolkit/ErrorStatusText.h"
#include "toolkit/Layers.h"
#include "toolkit/MeshConversion.h"
#include "toolkit/MeshReaders.h"
#include "toolkit/Properties.h"
#include "toolkit/SysVars.h"

int ObjectsToMeshes(const AcDbObjectIdArray& ids, ON_ClassArray<ON_Mesh>& meshes, const double* facetRes) {
  meshes.Destroy();
  ON_Mesh working;
  for (int i = 0; i < ids.length(); ++i)
    if (ObjectToMesh(ids[i], working, facetRes)) meshes.Append(working);
  return 1;
}

int ObjectToMesh(const AcDbObjectId& id, ON_Mesh& mesh, const double* facetRes) {
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead, false) != Acad::eOk) {
    MeshLastError.Set(L"Unable to read object");
    return 0;
  }
  if (!EntityToMesh(entity, mesh, facetRes)) {
    entity->close();
    return 0;
  }
  PackedRGB rgb = 0xFFFFFF;
  GetEntityRGB(id, rgb);  // an object without a colour comes out white
  ON_Color color;
  color.SetRGB(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
  mesh.m_C.Append(color);
  entity->close();
  return 1;
}

int EntityToMesh(AcDbEntity* entity, ON_Mesh& mesh, const double* facetRes) {
  // Exact names: classes derived from these are not converted.
  const std::wstring name = entity->isA()->name();
  if (name == L"AcDbFace") return FaceToMesh(static_cast<AcDbFace*>(entity), mesh);
  if (name == L"AcDbPolyFaceMesh") return PolyFaceMeshToMesh(static_cast<AcDbPolyFaceMesh*>(entity), mesh);
  if (name == L"AcDbPolygonMesh") return PolygonMeshToMesh(static_cast<AcDbPolygonMesh*>(entity), mesh);
  if (name == L"AcDb3dSolid") return SolidToMesh(static_cast<AcDb3dSolid*>(entity), mesh, facetRes);
  if (name == L"AcDbBody") return BodyToMesh(static_cast<AcDbBody*>(entity), mesh, facetRes);
  MeshLastError.Set(L"Entity is not a 3D Face, PolyFace Mesh, Polygon Mesh, Body or 3D Solid");
  return 0;
}

namespace {

// The shift that brings a coordinate below zero to zero; negative zero and NaN stay put.
double ShiftFor(double minimum) { return minimum < 0.0 ? -minimum : 0.0; }

// Restores FACETRES on every way out once it has been set.
class FacetResScope {
 public:
  explicit FacetResScope(const double* facetRes) {
    if (!facetRes) return;
    saved_ = GetSysVarReal(L"FACETRES", value_) != 0;
    SetSysVarReal(L"FACETRES", *facetRes);
    set_ = true;
  }
  ~FacetResScope() {
    if (set_ && saved_) SetSysVarReal(L"FACETRES", value_);
  }
  FacetResScope(const FacetResScope&) = delete;
  FacetResScope& operator=(const FacetResScope&) = delete;

 private:
  bool set_ = false;
  bool saved_ = false;
  double value_ = 0.0;
};

}  // namespace

int SolidToMesh(AcDb3dSolid* solid, ON_Mesh& mesh, const double* facetRes) {
  AcDbExtents extents;
  const Acad::ErrorStatus extentsStatus = solid->getGeomExtents(extents);
  if (extentsStatus != Acad::eOk) {
    MeshLastError.Set(ErrorStatusText(extentsStatus));
    return 0;
  }
  const AcGePoint3d low = extents.minPoint();
  const double sx = ShiftFor(low.x), sy = ShiftFor(low.y), sz = ShiftFor(low.z);
  const bool shifted = sx != 0.0 || sy != 0.0 || sz != 0.0;

  Acad::ErrorStatus written = Acad::eOk;
  CString path;
  {
    FacetResScope facetResScope(facetRes);
    const wchar_t* temp = _wgetenv(L"temp");
    if (!temp) {
      // No temporary folder is named: there is nowhere to write the solid.
      MeshLastError.Set(L"Unable to write temporary file");
      return 0;
    }
    path.Format(L"%s\\TVKTemp.stl", temp);
    if (!shifted) {
      written = solid->stlOut(path, false);
    } else {
      AcGeMatrix3d move;
      move.setToTranslation(AcGeVector3d(sx, sy, sz));
      auto* copy = AcDb3dSolid::cast(solid->clone());
      if (!copy) {
        MeshLastError.Set(L"Error processing solid");
        return 0;
      }
      copy->transformBy(move);
      AcDbObjectId copyId;
      AppendToModelSpace(copy, copyId, nullptr);
      written = copy->stlOut(path, false);
      copy->close();
      EraseEntity(copyId);
    }
  }
  if (written != Acad::eOk) {
    MeshLastError.Set(L"Unable to write temporary file");
    return 0;
  }
  if (!QMSTL::STLToMesh(path, mesh)) {
    MeshLastError.Set(QMSTL::GetError());
    return 0;
  }
  _wunlink(path);
  if (shifted) mesh.Translate(ON_3dVector(-sx, -sy, -sz));
  return 1;
}

AcDb3dSolid* SolidOfBody(AcDbBody* body) {
  auto* clone = AcDbBody::cast(body->clone());
  if (!clone) {
    MeshLastError.Set(L"Error processing solid");
    return nullptr;
  }
  auto* solid = new AcDb3dSolid;
  // The solid copies the body it is given, so the clone can go at once.
  solid->setBody(clone->body());
  delete clone;
  if (solid->isNull()) {
    solid->close();
    return nullptr;
  }
  return solid;
}

int BodyToMesh(AcDbBody* body, ON_Mesh& mesh, const double* facetRes) {
  AcDb3dSolid* solid = SolidOfBody(body);
  if (!solid) return 0;
  const int result = SolidToMesh(solid, mesh, facetRes);
  solid->close();
  return result;
}
