// QMSTL against its peers on the same meshes: binary writing against one fwrite of the same
// bytes and against assimp's "stlb" exporter, ASCII writing against assimp's "stl" exporter,
// and reading against assimp's importer joining identical vertices. Each benchmark times
// both sides in every iteration, the same work on each (building and freeing the result
// included), and reports the ratios as counters (manual time is ours): vs_fwrite = fwrite
// time / our time (goal >= 0.7), vs_assimp = assimp time / our time (goal > 1: we are
// faster). Reading also reports ns_per_triangle, which should stay flat from 10 k to 10 M.
// assimp runs only up to kMaxPeerTriangles: its importer needs about 2 GB per million
// triangles, more than the machine can spare at 10 M; the label says when it was left out.
// Binary writing: both sides write a new file in the same folder, without fsync, after the
// file system's dirty pages have been written back; ours also makes its temporary file and
// renames it over the target, as every save does. Meshes are wavy triangulated grids,
// generated deterministically.
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <assimp/Exporter.hpp>
#include <assimp/Importer.hpp>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>

#include "QMLib.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kMaxPeerTriangles = 1'000'000;
const char kPeerLeftOut[] = "assimp left out above 1 M triangles (memory)";

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// A grid of triangleCount triangles over a wavy surface; every inner vertex is shared by six.
const ON_ClassArray<ON_Mesh>& GridMeshes(int triangleCount) {
  static std::map<int, ON_ClassArray<ON_Mesh>> cache;
  auto found = cache.find(triangleCount);
  if (found != cache.end()) return found->second;
  const int cols = static_cast<int>(std::ceil(std::sqrt(triangleCount / 2.0)));
  const int rows = (triangleCount / 2 + cols - 1) / cols + 1;
  ON_ClassArray<ON_Mesh>& meshes = cache[triangleCount];
  ON_Mesh& mesh = meshes.AppendNew();
  mesh.m_V.Reserve(static_cast<size_t>(rows + 1) * (cols + 1));
  mesh.m_F.Reserve(static_cast<size_t>(triangleCount));
  for (int r = 0; r <= rows; ++r)
    for (int c = 0; c <= cols; ++c)
      mesh.m_V.Append(ON_3fPoint(c * 0.5f, r * 0.5f, static_cast<float>(10 * std::sin(c * 0.01) * std::cos(r * 0.013))));
  for (int r = 0; r < rows && mesh.FaceCount() < triangleCount; ++r) {
    for (int c = 0; c < cols && mesh.FaceCount() < triangleCount; ++c) {
      const int d = r * (cols + 1) + c;
      mesh.m_F.Append(ON_MeshFace{{d, d + 1, d + cols + 2, d + cols + 2}});
      if (mesh.FaceCount() < triangleCount) mesh.m_F.Append(ON_MeshFace{{d, d + cols + 2, d + cols + 1, d + cols + 1}});
    }
  }
  mesh.m_C.Append(ON_Color(200, 120, 40));
  return meshes;
}

// The same mesh as an assimp scene (built outside the timed part).
std::unique_ptr<aiScene> AssimpScene(const ON_Mesh& source) {
  auto scene = std::make_unique<aiScene>();
  scene->mRootNode = new aiNode();
  scene->mRootNode->mNumMeshes = 1;
  scene->mRootNode->mMeshes = new unsigned[1]{0};
  scene->mNumMaterials = 1;
  scene->mMaterials = new aiMaterial*[1]{new aiMaterial()};
  scene->mNumMeshes = 1;
  scene->mMeshes = new aiMesh*[1]{new aiMesh()};
  aiMesh* mesh = scene->mMeshes[0];
  mesh->mMaterialIndex = 0;
  mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
  mesh->mNumVertices = static_cast<unsigned>(source.VertexCount());
  mesh->mVertices = new aiVector3D[mesh->mNumVertices];
  for (int i = 0; i < source.VertexCount(); ++i) mesh->mVertices[i] = aiVector3D(source.m_V[i].x, source.m_V[i].y, source.m_V[i].z);
  mesh->mNumFaces = static_cast<unsigned>(source.FaceCount());
  mesh->mFaces = new aiFace[mesh->mNumFaces];
  for (int f = 0; f < source.FaceCount(); ++f) {
    aiFace& face = mesh->mFaces[f];
    face.mNumIndices = 3;
    face.mIndices = new unsigned[3]{static_cast<unsigned>(source.m_F[f].vi[0]), static_cast<unsigned>(source.m_F[f].vi[1]),
                                    static_cast<unsigned>(source.m_F[f].vi[2])};
  }
  return scene;
}

std::string BenchPath(const char* name) {
  return (std::filesystem::temp_directory_path() / ("qmlib-bench-" + std::to_string(::getpid()) + "-" + name)).string();
}

CString Wide(const std::string& path) { return CString(path.c_str()); }

// Writes back every dirty page of the benchmark's file system, outside the timed part, so that
// each side starts from the same state instead of paying for the other side's writeback: at
// 10 M triangles (500 MB a file) the second writer was throttled while the first one's pages
// went to the disk. Neither side flushes its own file inside the timed part.
void SettleDisk(const std::string& path) {
  const int fd = ::open(std::filesystem::path(path).parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::syncfs(fd);
  ::close(fd);
}

void ReportRatio(benchmark::State& state, const char* name, double peerSeconds, double ourSeconds) {
  state.counters[name] = ourSeconds > 0 ? peerSeconds / ourSeconds : 0;
}

void BM_WriteBinary(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const ON_ClassArray<ON_Mesh>& meshes = GridMeshes(n);
  const bool peerRuns = n <= kMaxPeerTriangles;
  const std::unique_ptr<aiScene> scene = peerRuns ? AssimpScene(meshes[0]) : nullptr;
  const std::string ours = BenchPath("ours.stl"), plain = BenchPath("fwrite.stl"), peer = BenchPath("assimp.stl");
  if (!QMSTL::MeshToSTL(meshes, Wide(ours), 1)) state.SkipWithError("MeshToSTL failed");
  std::string bytes;
  {
    std::ifstream in(ours, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // One untimed fwrite too, so that neither side's first timed write is the process's first
  // write of that size (the first one waits for the kernel to find the page cache its room).
  if (FILE* file = std::fopen(plain.c_str(), "wb")) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) state.SkipWithError("fwrite failed");
    std::fclose(file);
  }
  Assimp::Exporter exporter;
  if (!peerRuns) state.SetLabel(kPeerLeftOut);
  double oursTotal = 0, fwriteTotal = 0, assimpTotal = 0;
  for (auto _ : state) {
    std::filesystem::remove(ours);
    SettleDisk(ours);
    auto start = Clock::now();
    if (!QMSTL::MeshToSTL(meshes, Wide(ours), 1)) state.SkipWithError("MeshToSTL failed");
    const double oursSeconds = Seconds(start);

    std::filesystem::remove(plain);
    SettleDisk(plain);
    start = Clock::now();
    FILE* file = std::fopen(plain.c_str(), "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) state.SkipWithError("fwrite failed");
    if (file) std::fclose(file);
    fwriteTotal += Seconds(start);

    if (peerRuns) {
      std::filesystem::remove(peer);
      SettleDisk(peer);
      start = Clock::now();
      if (exporter.Export(scene.get(), "stlb", peer) != AI_SUCCESS) state.SkipWithError("assimp export failed");
      assimpTotal += Seconds(start);
    }

    oursTotal += oursSeconds;
    state.SetIterationTime(oursSeconds);
  }
  ReportRatio(state, "vs_fwrite", fwriteTotal, oursTotal);
  if (peerRuns) ReportRatio(state, "vs_assimp", assimpTotal, oursTotal);
  state.counters["MB/s"] = benchmark::Counter(static_cast<double>(bytes.size()) * state.iterations() / 1e6 / oursTotal);
  state.counters["triangles"] = n;
  for (const std::string& path : {ours, plain, peer}) std::filesystem::remove(path);
}

void BM_WriteAscii(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const ON_ClassArray<ON_Mesh>& meshes = GridMeshes(n);
  const std::unique_ptr<aiScene> scene = AssimpScene(meshes[0]);
  const std::string ours = BenchPath("ours.stl"), peer = BenchPath("assimp.stl");
  Assimp::Exporter exporter;
  double oursTotal = 0, assimpTotal = 0;
  for (auto _ : state) {
    std::filesystem::remove(ours);
    auto start = Clock::now();
    if (!QMSTL::MeshToSTL(meshes, Wide(ours), 0)) state.SkipWithError("MeshToSTL failed");
    const double oursSeconds = Seconds(start);

    std::filesystem::remove(peer);
    start = Clock::now();
    if (exporter.Export(scene.get(), "stl", peer) != AI_SUCCESS) state.SkipWithError("assimp export failed");
    assimpTotal += Seconds(start);

    oursTotal += oursSeconds;
    state.SetIterationTime(oursSeconds);
  }
  ReportRatio(state, "vs_assimp", assimpTotal, oursTotal);
  state.counters["triangles"] = n;
  for (const std::string& path : {ours, peer}) std::filesystem::remove(path);
}

// Reads the same file with both, each joining identical vertices.
void ReadBenchmark(benchmark::State& state, int type) {
  const int n = static_cast<int>(state.range(0));
  const std::string path = BenchPath(type ? "read-binary.stl" : "read-ascii.stl");
  if (!QMSTL::MeshToSTL(GridMeshes(n), Wide(path), type)) state.SkipWithError("MeshToSTL failed");
  const bool peerRuns = n <= kMaxPeerTriangles;
  if (!peerRuns) state.SetLabel(kPeerLeftOut);
  double oursTotal = 0, assimpTotal = 0;
  for (auto _ : state) {
    // Both sides build their result and free it again inside the timed part.
    auto start = Clock::now();
    {
      ON_Mesh mesh;
      if (!QMSTL::STLToMesh(Wide(path), mesh)) state.SkipWithError("STLToMesh failed");
      benchmark::DoNotOptimize(mesh.m_V.Array());
      if (mesh.FaceCount() != n) state.SkipWithError("wrong facet count");
    }
    const double oursSeconds = Seconds(start);

    if (peerRuns) {
      start = Clock::now();
      {
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(path, aiProcess_JoinIdenticalVertices);
        if (!scene) state.SkipWithError("assimp import failed");
        benchmark::DoNotOptimize(scene);
      }
      assimpTotal += Seconds(start);
    }

    oursTotal += oursSeconds;
    state.SetIterationTime(oursSeconds);
  }
  if (peerRuns) ReportRatio(state, "vs_assimp", assimpTotal, oursTotal);
  if (state.iterations() > 0) state.counters["ns_per_triangle"] = oursTotal * 1e9 / state.iterations() / n;
  state.counters["triangles"] = n;
  std::filesystem::remove(path);
}

void BM_ReadBinary(benchmark::State& state) { ReadBenchmark(state, 1); }
void BM_ReadAscii(benchmark::State& state) { ReadBenchmark(state, 0); }

}  // namespace

BENCHMARK(BM_WriteBinary)->Arg(10'000)->Arg(1'000'000)->Arg(10'000'000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteAscii)->Arg(10'000)->Arg(1'000'000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBinary)->Arg(10'000)->Arg(1'000'000)->Arg(10'000'000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAscii)->Arg(10'000)->Arg(1'000'000)->UseManualTime()->Unit(benchmark::kMillisecond);
