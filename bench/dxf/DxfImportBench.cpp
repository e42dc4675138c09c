// Importing DXF drawings of 10 000 to 1 000 000 3D faces into a drawing database (read, then
// layers, faces and their properties into model space), next to assimp's DXF import of the
// same files. Every iteration runs both, alternately, and times the same work on each side:
// the import and freeing what it built. "ns_per_face" is our time per face (flat across sizes
// means the import is linear); "vs_assimp" is assimp's time over ours (goal >= 1.2).
#include <assimp/scene.h>
#include <benchmark/benchmark.h>

#include <assimp/Importer.hpp>
#include <chrono>
#include <memory>
#include <string>

#include "FaceDrawings.h"
#include "arxhost/DxfImport.h"
#include "dbmain.h"

namespace {

using Clock = std::chrono::steady_clock;
using plx::bench::TheDrawings;

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_ImportDxf(benchmark::State& state) {
  const int faces = static_cast<int>(state.range(0));
  const auto& path = TheDrawings().Get(faces);
  double oursTotal = 0, assimpTotal = 0;
  for (auto _ : state) {
    auto start = Clock::now();
    {
      auto database = std::make_unique<AcDbDatabase>();
      std::string error;
      plx::host::DxfImportReport report;
      if (!plx::host::ImportDxfFile(path, *database, error, &report) ||
          report.appended != static_cast<size_t>(faces)) {
        state.SkipWithError(("import failed: " + error).c_str());
        break;
      }
    }
    const double oursSeconds = Seconds(start);

    start = Clock::now();
    {
      Assimp::Importer importer;
      const aiScene* scene = importer.ReadFile(path.string(), 0);
      if (!scene) {
        state.SkipWithError(importer.GetErrorString());
        break;
      }
      benchmark::DoNotOptimize(scene->mNumMeshes);
    }
    assimpTotal += Seconds(start);

    oursTotal += oursSeconds;
    state.SetIterationTime(oursSeconds);
  }
  if (state.iterations() > 0 && oursTotal > 0) {
    state.counters["ns_per_face"] = oursTotal * 1e9 / state.iterations() / faces;
    state.counters["vs_assimp"] = assimpTotal / oursTotal;
  }
}

BENCHMARK(BM_ImportDxf)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->MinTime(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
