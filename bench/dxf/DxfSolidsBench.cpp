// Importing drawings of 10 to 1 000 3D solids, each a copy of a corpus solid: the torus of the
// R2010 drawing (SAT text, enciphered) and the sphere of the R2018 drawing (SAB data in
// ACDSDATA). The figure that matters is the time per solid ("per_solid"): flat across sizes
// means each solid costs the same however many the drawing holds.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "arxhost/DxfImport.h"
#include "dbmain.h"

namespace {

namespace fs = std::filesystem;

fs::path CorpusDir() {
  if (const char* dir = std::getenv("PLOVEX_CORPUS_DIR")) return dir;
  return PLOVEX_CORPUS_DIR;
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// A record of the file, from the 0 group that starts it (start) up to the next 0 group.
struct Record {
  size_t at = 0;
  std::string text;
};

Record Find(const std::string& file, const std::string& start) {
  const size_t from = file.find(start);
  if (from == std::string::npos) return {};
  const size_t to = file.find("\n  0\n", from + 1);
  return {from, file.substr(from, to + 1 - from)};
}

// The record with its handle group (handleGroup, handle) given a new handle.
std::string WithHandle(const std::string& record, const std::string& handleGroup,
                       const std::string& handle, unsigned newHandle) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "%X", newHandle);
  const std::string group = handleGroup + "\n" + handle + "\n";
  std::string out = record;
  return out.replace(out.find(group), group.size(), handleGroup + "\n" + hex + "\n");
}

// The corpus drawing with its one solid (and, for SAB, its ACIS record) repeated.
std::string MakeDrawing(const char* name, bool sab, int solids) {
  const std::string file = ReadAll(CorpusDir() / name);
  const Record solid = Find(file, "  0\n3DSOLID\n");
  const Record acis = sab ? Find(file, "  0\nACDSRECORD\n 90\n        1\n") : Record{};
  if (solid.text.empty() || (sab && acis.text.empty())) return {};
  std::string solidsText, acisText;
  for (int i = 0; i < solids; ++i) {
    const unsigned handle = 0x10000 + static_cast<unsigned>(i);
    solidsText += WithHandle(solid.text, "  5", "9C", handle);
    if (sab) acisText += WithHandle(acis.text, "320", "9C", handle);
  }
  // ACDSDATA comes after the entities: replace it first.
  std::string out = file;
  if (sab) out.replace(acis.at, acis.text.size(), acisText);
  return out.replace(solid.at, solid.text.size(), solidsText);
}

const fs::path& Drawing(const char* name, bool sab, int solids) {
  static std::map<std::string, fs::path> paths;
  static struct Cleanup {
    ~Cleanup() {
      std::error_code ec;
      for (const auto& [key, path] : paths) fs::remove(path, ec);
    }
  } cleanup;
  const std::string key = std::string(name) + "_" + std::to_string(solids);
  auto it = paths.find(key);
  if (it != paths.end()) return it->second;
  const fs::path path = fs::temp_directory_path() / ("plovex_solids_bench_" + key);
  std::ofstream(path, std::ios::binary) << MakeDrawing(name, sab, solids);
  return paths[key] = path;
}

void ImportSolids(benchmark::State& state, const char* name, bool sab) {
  const int solids = static_cast<int>(state.range(0));
  const fs::path& path = Drawing(name, sab, solids);
  for (auto _ : state) {
    auto database = std::make_unique<AcDbDatabase>();
    std::string error;
    plx::host::DxfImportReport report;
    if (!plx::host::ImportDxfFile(path, *database, error, &report) || !report.unreadable.empty()) {
      state.SkipWithError(("import failed: " + error +
                           (report.unreadable.empty() ? "" : report.unreadable.front()))
                              .c_str());
      break;
    }
    state.PauseTiming();
    database.reset();
    state.ResumeTiming();
  }
  state.counters["per_solid"] = benchmark::Counter(
      solids, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ImportSolidsSat(benchmark::State& state) { ImportSolids(state, "ezdxf_torus_r2010.dxf", false); }
void BM_ImportSolidsSab(benchmark::State& state) { ImportSolids(state, "ezdxf_sphere_r2018.dxf", true); }

BENCHMARK(BM_ImportSolidsSat)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportSolidsSab)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
