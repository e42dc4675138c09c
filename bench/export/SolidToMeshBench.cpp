// One solid of each host primitive through the export road (ObjectsToMeshes: extents, the shift
// into positive space, the host's STL output at FACETRES 0.5 and 10 and reading it back) against
// meshing the same shape directly with OCCT at the same deflections and collecting its
// triangles. Both run alternately in every iteration; "vs_occt" is our time over OCCT's
// (goal <= 1.1 for every primitive). The primitives sit centred on the origin, as the host's
// commands place them, so every one takes the road through a shifted copy. The last shape is
// no primitive but a solid of 3 120 flat triangles, as a mesh turned into a solid is.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <BRepBndLib.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakePolygon.hxx>
#include <BRepBuilderAPI_MakeSolid.hxx>
#include <BRepBuilderAPI_Sewing.hxx>
#include <BRepMesh_IncrementalMesh.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCone.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakeSphere.hxx>
#include <BRepPrimAPI_MakeTorus.hxx>
#include <BRepPrimAPI_MakeWedge.hxx>
#include <BRepTools.hxx>
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <Poly_Triangulation.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <gp_Ax2.hxx>
#include <string>
#include <vector>

#include "arx.h"
#include "arxhost/Host.h"
#include "arxhost/Modeller.h"
#include "dbsol3d.h"
#include "opennurbs.h"
#include "toolkit/LastError.h"
#include "toolkit/MeshConversion.h"
#include "toolkit/SolidConversion.h"
#include "win32/text.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The host's default FACETRES and its finest, where meshing outweighs the road around it.
const double kFacetRes[] = {0.5, 10.0};

enum Primitive { kBox, kSphere, kCylinder, kCone, kTorus, kWedge, kFaceted };
const char* const kNames[] = {"box", "sphere", "cylinder", "cone", "torus", "wedge", "faceted"};

// A sphere of radius 25 as 40 x 40 flat triangles less the poles' slivers: 3 120 faces.
std::vector<std::vector<plx::modeller::Point3>> FacetedSphere() {
  constexpr int n = 40;
  const auto corner = [](int i, int j) {
    const double theta = M_PI * i / n, phi = 2 * M_PI * j / n;
    return plx::modeller::Point3{25 * std::sin(theta) * std::cos(phi), 25 * std::sin(theta) * std::sin(phi),
                                 25 * std::cos(theta)};
  };
  std::vector<std::vector<plx::modeller::Point3>> triangles;
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      if (i > 0) triangles.push_back({corner(i, j), corner(i + 1, j), corner(i, j + 1)});
      if (i < n - 1) triangles.push_back({corner(i + 1, j), corner(i + 1, j + 1), corner(i, j + 1)});
    }
  return triangles;
}

TopoDS_Shape OcctFaceted() {
  BRepBuilderAPI_Sewing sewing;
  for (const auto& triangle : FacetedSphere()) {
    BRepBuilderAPI_MakePolygon polygon;
    for (const auto& p : triangle) polygon.Add(gp_Pnt(p.x, p.y, p.z));
    polygon.Close();
    sewing.Add(BRepBuilderAPI_MakeFace(polygon.Wire(), /*OnlyPlane=*/true).Face());
  }
  sewing.Perform();
  return BRepBuilderAPI_MakeSolid(TopoDS::Shell(sewing.SewedShape())).Solid();
}

// The host's solid of a primitive, and the same shape built directly with OCCT.
AcDb3dSolid* HostSolid(Primitive primitive) {
  auto* solid = new AcDb3dSolid;
  switch (primitive) {
    case kBox: solid->createBox(40, 30, 20); break;
    case kSphere: solid->createSphere(25); break;
    case kCylinder: solid->createFrustum(40, 15, 15, 15); break;
    case kCone: solid->createFrustum(40, 15, 15, 0); break;
    case kTorus: solid->createTorus(30, 8); break;
    case kWedge: solid->createWedge(40, 30, 20); break;
    case kFaceted: {
      // By the toolkit's road from a mesh to a solid, through a SAT file.
      ON_Mesh mesh;
      for (const auto& triangle : FacetedSphere()) {
        const int first = mesh.VertexCount();
        for (const auto& p : triangle) mesh.m_V.Append(ON_3fPoint(float(p.x), float(p.y), float(p.z)));
        mesh.m_F.Append(ON_MeshFace{{first, first + 1, first + 2, first + 2}});
      }
      if (!MeshToSolid(mesh, solid)) std::abort();
      break;
    }
  }
  return solid;
}

TopoDS_Shape OcctShape(Primitive primitive) {
  const gp_Ax2 base(gp_Pnt(0, 0, -20), gp::DZ());
  switch (primitive) {
    case kBox: return BRepPrimAPI_MakeBox(gp_Pnt(-20, -15, -10), gp_Pnt(20, 15, 10)).Shape();
    case kSphere: return BRepPrimAPI_MakeSphere(gp_Pnt(0, 0, 0), 25).Shape();
    case kCylinder: return BRepPrimAPI_MakeCylinder(base, 15, 40).Shape();
    case kCone: return BRepPrimAPI_MakeCone(base, 15, 0, 40).Shape();
    case kTorus: return BRepPrimAPI_MakeTorus(gp_Ax2(gp_Pnt(0, 0, 0), gp::DZ()), 30, 8).Shape();
    case kWedge: return BRepPrimAPI_MakeWedge(40, 20, 30, 0).Shape();
    case kFaceted: return OcctFaceted();
  }
  return {};
}

// The folder the road writes its temporary STL file into (TEMP), removed at exit.
class TempFolder {
 public:
  TempFolder()
      : path_(std::filesystem::temp_directory_path() /
              ("plovex-solid-bench-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path_);
    ::setenv("TEMP", path_.c_str(), 1);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

 private:
  std::filesystem::path path_;
};

// OCCT's side: the same work the tessellation does, without the road around it.
size_t MeshWithOcct(const TopoDS_Shape& shape, const plx::modeller::MeshDensity& density) {
  BRepTools::Clean(shape);
  BRepMesh_IncrementalMesh mesher(shape, density.linear, false, density.angular, false);
  std::vector<gp_Pnt> corners;
  for (TopExp_Explorer e(shape, TopAbs_FACE); e.More(); e.Next()) {
    TopLoc_Location location;
    const Handle(Poly_Triangulation) mesh =
        BRep_Tool::Triangulation(TopoDS::Face(e.Current()), location);
    if (mesh.IsNull()) continue;
    const gp_Trsf trsf = location.Transformation();
    for (int i = 1; i <= mesh->NbTriangles(); ++i) {
      int n[3];
      mesh->Triangle(i).Get(n[0], n[1], n[2]);
      for (int k : n) corners.push_back(mesh->Node(k).Transformed(trsf));
    }
  }
  return corners.size() / 3;
}

void BM_SolidToMesh(benchmark::State& state) {
  const auto primitive = static_cast<Primitive>(state.range(0));
  const double facetRes = kFacetRes[state.range(1)];
  state.SetLabel(std::string(kNames[primitive]) + (state.range(1) ? " fine" : " default"));
  static const TempFolder temp;
  plx::host::StartSession();
  AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
  AcDbBlockTableRecord* space = nullptr;
  acdbOpenObject(space, database->modelSpaceId(), AcDb::kForWrite);
  AcDbObjectId id;
  AcDb3dSolid* solid = HostSolid(primitive);
  space->appendAcDbEntity(id, solid);
  solid->close();
  space->close();
  AcDbObjectIdArray ids(0, 1);
  ids.append(id);

  const TopoDS_Shape shape = OcctShape(primitive);
  Bnd_Box box;
  BRepBndLib::AddOptimal(shape, box, false, false);
  double x0, y0, z0, x1, y1, z1;
  box.Get(x0, y0, z0, x1, y1, z1);
  const plx::modeller::MeshDensity density =
      plx::modeller::DensityFor(facetRes, std::hypot(x1 - x0, y1 - y0, z1 - z0));

  double oursTotal = 0, occtTotal = 0;
  int ourTriangles = 0;
  size_t occtTriangles = 0;
  for (auto _ : state) {
    auto start = Clock::now();
    {
      ON_ClassArray<ON_Mesh> meshes;
      ObjectsToMeshes(ids, meshes, &facetRes);
      if (meshes.Count() != 1) {
        state.SkipWithError(
            ("the solid did not convert: " + plx::Utf8FromWide(GetMeshError().GetString()))
                .c_str());
        break;
      }
      ourTriangles = meshes[0].TriangleCount();
    }
    const double oursSeconds = Seconds(start);

    start = Clock::now();
    occtTriangles = MeshWithOcct(shape, density);
    occtTotal += Seconds(start);

    oursTotal += oursSeconds;
    state.SetIterationTime(oursSeconds);
  }
  plx::host::EndSession();
  if (oursTotal > 0) state.counters["vs_occt"] = oursTotal / occtTotal;
  state.counters["triangles"] = ourTriangles;
  state.counters["occt_triangles"] = static_cast<double>(occtTriangles);
}

BENCHMARK(BM_SolidToMesh)
    ->ArgsProduct({benchmark::CreateDenseRange(kBox, kWedge, 1), {0, 1}})
    ->MinTime(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
// OCCT takes tens of times our time on the faceted solid: a short minimum keeps the run short.
BENCHMARK(BM_SolidToMesh)
    ->ArgsProduct({{kFaceted}, {0, 1}})
    ->MinTime(0.05)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
