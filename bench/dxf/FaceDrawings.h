// Generated DXF drawings of N 3D faces for the DXF benchmarks, written once into the temporary
// folder and removed at exit, and the per-face counter that shows whether a cost is linear.
#pragma once

#include <assimp/scene.h>
#include <benchmark/benchmark.h>

#include <assimp/Importer.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace plx::bench {

namespace fs = std::filesystem;

// An R2000 drawing as AutoCAD writes it: handles, subclass markers, full-precision corners.
inline std::string MakeDrawing(int faces) {
  std::string out;
  out.reserve(static_cast<size_t>(faces) * 330 + 512);
  out +=
      "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  9\n$DWGCODEPAGE\n  3\nANSI_1252\n"
      "  0\nENDSEC\n  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n 70\n1\n"
      "  0\nLAYER\n  2\nFaces\n 70\n0\n 62\n3\n  6\nCONTINUOUS\n  0\nENDTAB\n  0\nENDSEC\n"
      "  0\nSECTION\n  2\nENTITIES\n";
  char buffer[512];
  for (int i = 0; i < faces; ++i) {
    double x = (i % 1000) * 0.125, y = (i / 1000) * 0.125, z = (i % 7) * 0.0625 + 0.1;
    int n = std::snprintf(
        buffer, sizeof buffer,
        "  0\n3DFACE\n  5\n%X\n330\n1F\n100\nAcDbEntity\n  8\nFaces\n100\nAcDbFace\n"
        " 10\n%.15g\n 20\n%.15g\n 30\n%.15g\n 11\n%.15g\n 21\n%.15g\n 31\n%.15g\n"
        " 12\n%.15g\n 22\n%.15g\n 32\n%.15g\n 13\n%.15g\n 23\n%.15g\n 33\n%.15g\n",
        i + 0x100, x, y, z, x + 0.1, y, z + 0.01, x + 0.1, y + 0.1, z, x, y + 0.1, z + 0.02);
    out.append(buffer, static_cast<size_t>(n));
  }
  out += "  0\nENDSEC\n  0\nEOF\n";
  return out;
}

// The drawing of a size, written once into the temporary folder and removed at exit.
class Drawings {
 public:
  ~Drawings() {
    std::error_code ec;
    for (const auto& [faces, path] : paths_) fs::remove(path, ec);
  }
  const fs::path& Get(int faces) {
    auto it = paths_.find(faces);
    if (it != paths_.end()) return it->second;
    fs::path path =
        fs::temp_directory_path() / ("plovex_dxf_bench_" + std::to_string(faces) + ".dxf");
    std::ofstream(path, std::ios::binary) << MakeDrawing(faces);
    return paths_[faces] = path;
  }

 private:
  std::map<int, fs::path> paths_;
};

inline Drawings& TheDrawings() {
  static Drawings drawings;
  return drawings;
}

inline void SetCounters(benchmark::State& state, int faces) {
  state.counters["per_face"] =
      benchmark::Counter(static_cast<double>(faces), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

// assimp's import of the same file: the peer both DXF benchmarks are measured against.
inline void RunAssimpImport(benchmark::State& state) {
  const int faces = static_cast<int>(state.range(0));
  const auto& path = TheDrawings().Get(faces);
  for (auto _ : state) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path.string(), 0);
    if (!scene) {
      state.SkipWithError(importer.GetErrorString());
      break;
    }
    benchmark::DoNotOptimize(scene->mNumMeshes);
  }
  SetCounters(state, faces);
}

}  // namespace plx::bench
