// The drawing database at scale: creating, selecting (ALL) and opening a drawing of 10 000 to
// 1 000 000 3D faces. Items are entities, so the rate per entity shows whether each step stays
// flat as the drawing grows; the last lines give, per benchmark, the time per entity of the
// largest drawing over that of the smallest (the median when run with repetitions).
//
// Wall time on a shared machine is noisy; instruction counts are not. Per entity, for one size:
//   valgrind --tool=callgrind --toggle-collect='*BM_CreateSelectOpenClose*' db_bench
//     --benchmark_filter='CreateSelectOpenClose/1000000$' --benchmark_min_time=0.000001
// runs one iteration; divide the collected Ir by the entity count.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>

#include "arx.h"
#include "arxhost/Drawing.h"
#include "arxhost/Host.h"

namespace {

void Fill(int count) {
  AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
  AcDbBlockTableRecord* space = nullptr;
  acdbOpenObject(space, database->modelSpaceId(), AcDb::kForWrite);
  for (int i = 0; i < count; ++i) {
    const double x = i % 1000, y = i / 1000;
    auto* face = new AcDbFace(AcGePoint3d(x, y, 0), AcGePoint3d(x + 1, y, 0), AcGePoint3d(x + 1, y + 1, 0),
                              AcGePoint3d(x, y + 1, 0));
    space->appendAcDbEntity(face);
    face->close();
  }
  space->close();
}

// Every entity of a selection set opened for read, one colour read each, and closed.
long OpenAll(const ads_name set) {
  Adesk::Int32 length = 0;
  acedSSLength(set, &length);
  long sum = 0;
  for (Adesk::Int32 i = 0; i < length; ++i) {
    ads_name name;
    AcDbObjectId id;
    AcDbEntity* entity = nullptr;
    if (acedSSName(set, i, name) != RTNORM || acdbGetObjectId(id, name) != Acad::eOk) continue;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) continue;
    sum += entity->colorIndex();
    entity->close();
  }
  return sum;
}

// The whole road once before the timing, so that every size starts with the memory that a
// drawing of it needs: otherwise only the large sizes, which run few iterations, would pay the
// system's first touch of new pages (and malloc's first large blocks), and the ratio would
// measure that.
void WarmUp(int count) {
  Fill(count);
  ads_name set;
  acedSSGet(L"A", nullptr, nullptr, nullptr, set);
  acedSSFree(set);
  plx::host::ResetDrawing();
}

void Report(benchmark::State& state, int count) {
  state.SetItemsProcessed(state.iterations() * count);
  // Time per entity: flat across the sizes when every step is constant time.
  state.counters["per_entity"] = benchmark::Counter(static_cast<double>(state.iterations()) * count,
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Create(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  plx::host::StartSession();
  WarmUp(count);
  for (auto _ : state) {
    state.PauseTiming();
    plx::host::ResetDrawing();
    state.ResumeTiming();
    Fill(count);
  }
  plx::host::EndSession();
  Report(state, count);
}

void BM_SelectAll(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  plx::host::StartSession();
  WarmUp(count);
  Fill(count);
  for (auto _ : state) {
    ads_name set;
    acedSSGet(L"A", nullptr, nullptr, nullptr, set);
    acedSSFree(set);
  }
  plx::host::EndSession();
  Report(state, count);
}

void BM_OpenSelected(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  plx::host::StartSession();
  WarmUp(count);
  Fill(count);
  ads_name set;
  acedSSGet(L"A", nullptr, nullptr, nullptr, set);
  for (auto _ : state) benchmark::DoNotOptimize(OpenAll(set));
  acedSSFree(set);
  plx::host::EndSession();
  Report(state, count);
}

// The whole road: a new drawing, filled, selected, every entity opened, the drawing closed.
void BM_CreateSelectOpenClose(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  plx::host::StartSession();
  WarmUp(count);
  for (auto _ : state) {
    Fill(count);
    ads_name set;
    acedSSGet(L"A", nullptr, nullptr, nullptr, set);
    benchmark::DoNotOptimize(OpenAll(set));
    acedSSFree(set);
    plx::host::ResetDrawing();
  }
  plx::host::EndSession();
  Report(state, count);
}

}  // namespace

BENCHMARK(BM_Create)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectAll)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenSelected)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CreateSelectOpenClose)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

namespace {

// The console's table, then the ratio of the largest drawing's time per entity to the
// smallest's for each benchmark.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred || run.iterations == 0) continue;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type == Run::RT_Aggregate && !median) continue;
      const double count = std::stod(run.run_name.args);
      PerEntity& slot = byName_[run.run_name.function_name][count];
      if (slot.median && !median) continue;
      const double seconds = 1.0 / benchmark::GetTimeUnitMultiplier(run.time_unit);
      slot = {run.GetAdjustedRealTime() * seconds / count, run.GetAdjustedCPUTime() * seconds / count, median};
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const auto& [name, bySize] : byName_) {
      if (bySize.size() < 2) continue;
      const auto& [smallCount, small] = *bySize.begin();
      const auto& [largeCount, large] = *bySize.rbegin();
      std::printf("%s: per entity %.0f ns at %.0f, %.0f ns at %.0f: ratio %.2f (CPU %.2f)\n", name.c_str(),
                  small.real * 1e9, smallCount, large.real * 1e9, largeCount, large.real / small.real,
                  large.cpu / small.cpu);
    }
    std::fflush(stdout);
  }

 private:
  struct PerEntity {
    double real = 0, cpu = 0;  // seconds
    bool median = false;
  };
  std::map<std::string, std::map<double, PerEntity>> byName_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
