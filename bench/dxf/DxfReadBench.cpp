// Reading DXF drawings of 10 000 to 1 000 000 3D faces: our reader against assimp's DXF
// importer on the same files. The figure that matters is the time per face (the
// "per_face" counter): flat across sizes means linear, and ours should not exceed assimp's.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "FaceDrawings.h"
#include "arxhost/Dxf.h"

namespace {

namespace fs = std::filesystem;

using plx::bench::SetCounters;
using plx::bench::TheDrawings;

void BM_PlovexReadDxf(benchmark::State& state) {
  int faces = static_cast<int>(state.range(0));
  const fs::path& path = TheDrawings().Get(faces);
  for (auto _ : state) {
    std::string error;
    auto drawing = plx::dxf::ReadDxfFile(path, error);
    if (!drawing || drawing->entities.size() != static_cast<size_t>(faces)) {
      state.SkipWithError(("read failed: " + error).c_str());
      break;
    }
    benchmark::DoNotOptimize(drawing->entities.data());
  }
  SetCounters(state, faces);
}

void BM_AssimpReadDxf(benchmark::State& state) { plx::bench::RunAssimpImport(state); }

BENCHMARK(BM_PlovexReadDxf)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->MinTime(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AssimpReadDxf)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->MinTime(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace
