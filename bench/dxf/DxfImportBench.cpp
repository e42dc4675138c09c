// Importing DXF drawings of 10 000 to 1 000 000 3D faces into a drawing database (read, then
// layers, faces and their properties into model space), next to assimp's DXF import of the
// same files. The figure that matters is the time per face ("per_face"): flat across sizes
// means the import is linear, and ours should not exceed assimp's.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "FaceDrawings.h"
#include "arxhost/DxfImport.h"
#include "dbmain.h"

namespace {

using plx::bench::SetCounters;
using plx::bench::TheDrawings;

void BM_PlovexImportDxf(benchmark::State& state) {
  const int faces = static_cast<int>(state.range(0));
  const auto& path = TheDrawings().Get(faces);
  for (auto _ : state) {
    auto database = std::make_unique<AcDbDatabase>();
    std::string error;
    plx::host::DxfImportReport report;
    if (!plx::host::ImportDxfFile(path, *database, error, &report) ||
        report.appended != static_cast<size_t>(faces)) {
      state.SkipWithError(("import failed: " + error).c_str());
      break;
    }
    // Freeing the drawing is not part of the import.
    state.PauseTiming();
    database.reset();
    state.ResumeTiming();
  }
  SetCounters(state, faces);
}

void BM_AssimpImportDxf(benchmark::State& state) { plx::bench::RunAssimpImport(state); }

BENCHMARK(BM_PlovexImportDxf)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->MinTime(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AssimpImportDxf)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->MinTime(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace
