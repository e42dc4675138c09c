// A module of the test build only: its command PLXWRITE writes one entity of each writer's kind
// into model space through the toolkit's writers, so that the host's LIST can show them.
#include <iterator>

#include "arx.h"
#include "toolkit/CurveWriters.h"
#include "toolkit/EntityWriters.h"
#include "toolkit/Layers.h"
#include "toolkit/MeshWriters.h"

namespace {

HINSTANCE WriterModuleInstance = nullptr;

AcCmColor IndexColour(Adesk::UInt16 index) {
  AcCmColor colour;
  colour.setColorIndex(index);
  return colour;
}

// A unit square of two triangles at height z.
ON_Mesh Square(double z) {
  ON_Mesh mesh;
  mesh.SetVertex(0, ON_3dPoint(0, 0, z));
  mesh.SetVertex(1, ON_3dPoint(1, 0, z));
  mesh.SetVertex(2, ON_3dPoint(1, 1, z));
  mesh.SetVertex(3, ON_3dPoint(0, 1, z));
  mesh.SetTriangle(0, 0, 1, 2);
  mesh.SetQuad(1, 0, 2, 3, 3);
  return mesh;
}

void WriteEntities() {
  PointToEntity(ON_3dPoint(1, 2, 3), L"Points", IndexColour(1));
  LineToEntity(ON_3dPoint(0, 0, 0), ON_3dPoint(3, 4, 0), L"Lines", IndexColour(2));
  CircleToEntity(ON_Circle(ON_3dPoint(5, 5, 0), ON_3dVector(0, 0, 1), 2), L"Curves",
                 IndexColour(3));
  // A quarter arc about (10, 0, 0) from +Y to -X, in a plane whose x axis is +X.
  const ON_Plane plane(ON_3dPoint(10, 0, 0), ON_3dVector(1, 0, 0), ON_3dVector(0, 1, 0));
  ArcToEntity(ON_Arc(ON_Circle(plane, 1.5), ON_Interval(ON_PI / 2, ON_PI)), L"Curves",
              IndexColour(3));

  ON_Polyline square;
  for (const ON_3dPoint& p : {ON_3dPoint(0, 0, 1), ON_3dPoint(1, 0, 1), ON_3dPoint(1, 1, 1),
                              ON_3dPoint(0, 1, 1), ON_3dPoint(0, 0, 1)})
    square.Append(p);
  PolylineToEntity(square, L"Curves", IndexColour(30));

  // A clamped cubic: no simpler entity describes it.
  ON_NurbsCurve cubic(3, false, 4, 4);
  const ON_3dPoint controls[4] = {{0, 0, 0}, {1, 2, 0}, {3, 2, 0}, {4, 0, 0}};
  for (int i = 0; i < 4; ++i) cubic.SetCV(i, controls[i]);
  const double knots[6] = {0, 0, 0, 1, 1, 1};
  for (int i = 0; i < 6; ++i) cubic.SetKnot(i, knots[i]);
  CurveToEntity(cubic, L"Splines", IndexColour(140));
  ON_3dPointArray fit;
  for (const ON_3dPoint& p : {ON_3dPoint(0, 0, 0), ON_3dPoint(2, 1, 0), ON_3dPoint(4, 0, 0)})
    fit.Append(p);
  FitPointsToSpline(fit, L"Splines", IndexColour(140));

  ON_Mesh triangle;
  triangle.SetVertex(0, ON_3dPoint(0, 0, 0));
  triangle.SetVertex(1, ON_3dPoint(4, 0, 0));
  triangle.SetVertex(2, ON_3dPoint(0, 3, 0));
  triangle.SetTriangle(0, 0, 1, 2);
  MeshToFaces(triangle, L"Faces", IndexColour(5));
  MeshEdgesToLines(triangle, L"Edges", IndexColour(2));
  MeshVerticesToPoints(triangle, L"Corners", IndexColour(1));

  // The polyface mesh writer fills a mesh that its caller made and appends.
  auto* polyface = new AcDbPolyFaceMesh;
  MeshToPolyFaceMesh(Square(2), polyface);
  SetPropertiesAndAppend(polyface, L"Meshes", IndexColour(6), nullptr);
  polyface->close();

  MeshToSubDMesh(Square(5), L"Meshes", IndexColour(4));
  acutPrintf(L"Written.\n");
}

constexpr AcEdCommandEntry kWriterCommands[] = {
    {L"PLX_TEST", L"_PLXWRITE", L"PLXWRITE", ACRX_CMD_TRANSPARENT, WriteEntities, nullptr, -1},
};

class WriterTestApp : public AcRxArxApp {
 public:
  constexpr WriterTestApp(HINSTANCE const* instance, const AcEdCommandEntry* commands, size_t count)
      : AcRxArxApp(instance, commands, count) {}
  void RegisterServerComponents() override {}
};

constinit WriterTestApp theApp(&WriterModuleInstance, kWriterCommands, std::size(kWriterCommands));

}  // namespace

IMPLEMENT_ARX_ENTRYPOINT(theApp)

extern "C" __attribute__((visibility("default"))) BOOL WINAPI DllMain(HINSTANCE instance,
                                                                      DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) WriterModuleInstance = instance;
  return TRUE;
}
