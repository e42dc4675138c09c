// The drawing database at scale: creating, selecting (ALL) and opening a drawing of 10 000 to
// 1 000 000 3D faces. Items are entities, so the rate per entity shows whether each step stays
// flat as the drawing grows; the ratio of the largest to the smallest drawing is reported.
#include <benchmark/benchmark.h>

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

void Report(benchmark::State& state, int count) {
  state.SetItemsProcessed(state.iterations() * count);
  // Time per entity: flat across the sizes when every step is constant time.
  state.counters["per_entity"] = benchmark::Counter(static_cast<double>(state.iterations()) * count,
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Create(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  plx::host::StartSession();
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

BENCHMARK_MAIN();
