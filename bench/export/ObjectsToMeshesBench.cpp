// Objects to meshes over drawings of 1 000 to 100 000 small polyface meshes (four vertices, two
// triangles each). Items are objects, so the time per object shows whether the conversion
// stays flat as the drawing grows; the ratio of the largest to the smallest drawing is what
// matters.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "arx.h"
#include "arxhost/Drawing.h"
#include "arxhost/Host.h"
#include "opennurbs.h"
#include "toolkit/MeshConversion.h"

namespace {

AcDbObjectIdArray FillPolyFaces(int count) {
  AcDbObjectIdArray ids(0, 8);
  ids.setPhysicalLength(count);
  AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
  AcDbBlockTableRecord* space = nullptr;
  acdbOpenObject(space, database->modelSpaceId(), AcDb::kForWrite);
  for (int i = 0; i < count; ++i) {
    const double x = i % 1000, y = i / 1000;
    auto* mesh = new AcDbPolyFaceMesh;
    mesh->appendVertex(new AcDbPolyFaceMeshVertex(AcGePoint3d(x, y, 0)));
    mesh->appendVertex(new AcDbPolyFaceMeshVertex(AcGePoint3d(x + 1, y, 0)));
    mesh->appendVertex(new AcDbPolyFaceMeshVertex(AcGePoint3d(x + 1, y + 1, 0.5)));
    mesh->appendVertex(new AcDbPolyFaceMeshVertex(AcGePoint3d(x, y + 1, 0)));
    mesh->appendFaceRecord(new AcDbFaceRecord(1, 2, 3, 0));
    mesh->appendFaceRecord(new AcDbFaceRecord(1, -3, 4, 0));
    AcDbObjectId id;
    space->appendAcDbEntity(id, mesh);
    mesh->close();
    ids.append(id);
  }
  space->close();
  return ids;
}

void BM_ObjectsToMeshes(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  plx::host::StartSession();
  const AcDbObjectIdArray ids = FillPolyFaces(count);
  int converted = 0;
  for (auto _ : state) {
    ON_ClassArray<ON_Mesh> meshes;
    ObjectsToMeshes(ids, meshes, nullptr);
    converted = meshes.Count();
    benchmark::DoNotOptimize(meshes.Count());
  }
  plx::host::EndSession();
  if (converted != count) state.SkipWithError("not every polyface mesh converted");
  state.SetItemsProcessed(state.iterations() * count);
  // Time per object: flat across the sizes when every step is constant time.
  state.counters["per_object"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * count,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_ObjectsToMeshes)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The console's report, and the time per object of the largest drawing over the smallest.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (!run.error_occurred && run.run_type == Run::RT_Iteration) {
        const auto found = run.counters.find("per_object");
        if (found != run.counters.end()) perObject_[run.benchmark_name()] = found->second.value;
      }
    ConsoleReporter::ReportRuns(runs);
  }
  void PrintRatio() const {
    double first = 0, last = 0;
    for (const auto& [name, value] : perObject_) {
      if (name.find("/1000") != std::string::npos && name.find("/10000") == std::string::npos &&
          name.find("/100000") == std::string::npos)
        first = value;
      if (name.find("/100000") != std::string::npos) last = value;
    }
    if (first > 0 && last > 0)
      std::printf("ObjectsToMeshes per object, 100 000 over 1 000 polyface meshes: %.2f\n",
                  last / first);
  }

 private:
  std::map<std::string, double> perObject_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatio();
  benchmark::Shutdown();
  return 0;
}
