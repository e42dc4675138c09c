// STL output. A quick count of the facets (so that the binary count is known up front), then
// one pass that checks each face and writes it through large buffers into an AtomicFile;
// a face that cannot be written abandons the file. Quads (a, b, c, d)
// are written as the triangles (a, b, c) and (a, c, d). Normals are computed in double from
// the float corners. ASCII numbers are the shortest text that reads back to the same float.
#include "stl_writer.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <system_error>
#include <thread>

#include "atomic_file.h"
#include "stl_format.h"
#include "win32/text.h"

namespace qmlib {

static_assert(std::endian::native == std::endian::little, "binary STL fields are copied in host byte order");
static_assert(sizeof(ON_3fPoint) == 12, "a corner is copied as three packed floats");

namespace {

constexpr size_t kBufferSize = size_t{4} << 20;
constexpr size_t kMaxAsciiFacetSize = 512;  // 12 numbers of at most 15 characters and the keywords
const char kAsciiName[] = "QMSTL";
const char kBinaryHeader[] = "QMSTL binary STL by QMLib90Ux64, facet colours VisCAM/SolidView";
static_assert(sizeof kBinaryHeader <= kHeaderSize);

// Two buffers: while one is written to the file by a helper thread, the facets go into the
// other, so that building the records and copying them into the file overlap instead of
// adding up. The helper writes one buffer and ends; a write error is reported by the next
// Flush. Without a thread (none can be started) each buffer is written in turn.
class BufferedOutput {
 public:
  explicit BufferedOutput(AtomicFile& file) : file_(file) {
    for (auto& buffer : buffers_) buffer = std::make_unique_for_overwrite<char[]>(kBufferSize);
    pos_ = buffers_[0].get();
  }
  BufferedOutput(const BufferedOutput&) = delete;
  BufferedOutput& operator=(const BufferedOutput&) = delete;
  ~BufferedOutput() {
    // An abandoned output still waits for its helper: the file must outlive the write.
    if (writer_.joinable()) writer_.join();
  }

  // A place for at least n bytes (n <= kBufferSize), or null after a write failure.
  char* Room(size_t n, std::wstring& error) {
    if (static_cast<size_t>(buffers_[current_].get() + kBufferSize - pos_) < n && !Hand(error)) return nullptr;
    return pos_;
  }
  void Advance(char* end) { pos_ = end; }

  // Writes everything handed over so far; true when all of it reached the file.
  bool Flush(std::wstring& error) {
    const char* data = buffers_[current_].get();
    const size_t size = static_cast<size_t>(pos_ - data);
    if (!Wait(error)) return false;
    pos_ = buffers_[current_].get();
    return file_.Write(data, size, error);
  }

 private:
  // Starts writing the current buffer and switches to the other one.
  bool Hand(std::wstring& error) {
    if (!Wait(error)) return false;
    const char* data = buffers_[current_].get();
    const size_t size = static_cast<size_t>(pos_ - data);
    current_ ^= 1;
    pos_ = buffers_[current_].get();
    try {
      writer_ = std::thread([this, data, size] { written_ = file_.Write(data, size, writeError_); });
      return true;
    } catch (const std::system_error&) {
      return file_.Write(data, size, error);
    }
  }

  // Waits for the helper's write, if one is under way, and passes on its failure.
  bool Wait(std::wstring& error) {
    if (!writer_.joinable()) return true;
    writer_.join();
    if (written_) return true;
    error = writeError_;
    return false;
  }

  AtomicFile& file_;
  std::unique_ptr<char[]> buffers_[2];
  int current_ = 0;
  char* pos_ = nullptr;
  std::thread writer_;
  bool written_ = true;
  std::wstring writeError_;
};

struct Facet {
  ON_3fPoint a, b, c;
  float normal[3];
};

// The cross product in double from the float corners (float differences would lose the
// normal of thin facets), scaled by one reciprocal rather than three divisions; the result
// is rounded to float, as the file stores it, so it differs from the quotients by at most
// one unit in the last place of a float.
void ComputeNormal(Facet& facet) {
  const double ux = double(facet.b.x) - facet.a.x, uy = double(facet.b.y) - facet.a.y,
               uz = double(facet.b.z) - facet.a.z;
  const double vx = double(facet.c.x) - facet.a.x, vy = double(facet.c.y) - facet.a.y,
               vz = double(facet.c.z) - facet.a.z;
  const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
  const double squared = nx * nx + ny * ny + nz * nz;
  if (squared > 0.0) {
    const double inverse = 1.0 / std::sqrt(squared);
    facet.normal[0] = static_cast<float>(nx * inverse);
    facet.normal[1] = static_cast<float>(ny * inverse);
    facet.normal[2] = static_cast<float>(nz * inverse);
  } else {
    facet.normal[0] = facet.normal[1] = facet.normal[2] = 0.0f;
  }
}

bool IsFinite(const ON_3fPoint& p) {
  // x * 0 is 0 for a finite x and NaN otherwise; one comparison tests all three.
  const float zero = p.x * 0.0f + p.y * 0.0f + p.z * 0.0f;
  return zero == 0.0f;
}

// The number of facets the meshes make (a quad makes two), found before anything is written so
// that the binary count is known up front. Reads only the last two indices of each face.
uint64_t CountFacets(const ON_ClassArray<ON_Mesh>& meshes) {
  uint64_t facetCount = 0;
  for (int m = 0; m < meshes.Count(); ++m) {
    const ON_MeshFace* faces = meshes[m].m_F.Array();
    const int faceCount = meshes[m].FaceCount();
    uint64_t quads = 0;
    for (int f = 0; f < faceCount; ++f) quads += faces[f].vi[2] != faces[f].vi[3];
    facetCount += static_cast<uint64_t>(faceCount) + quads;
  }
  return facetCount;
}

// Calls emit(facet, colourWord) for every facet in order; stops and returns false when emit
// does, or with a reason when a face names a vertex the mesh lacks or a corner is not finite.
// The indices are checked here, in the one pass that reads the faces; a failure abandons the
// temporary file, so the target is left as it was.
template <class Emit>
bool ForEachFacet(const ON_ClassArray<ON_Mesh>& meshes, std::wstring& error, Emit&& emit) {
  for (int m = 0; m < meshes.Count(); ++m) {
    const ON_Mesh& mesh = meshes[m];
    const uint16_t colourWord = mesh.m_C.Count() > 0 ? StlColorWord(mesh.m_C[0]) : 0;
    const ON_3fPoint* v = mesh.m_V.Array();
    const ON_MeshFace* faces = mesh.m_F.Array();
    const int vertexCount = mesh.VertexCount();
    const int faceCount = mesh.FaceCount();
    for (int f = 0; f < faceCount; ++f) {
      const int* vi = faces[f].vi;
      // Negative indices become large unsigned ones, so one comparison checks both ends.
      const auto limit = static_cast<unsigned>(vertexCount);
      if ((static_cast<unsigned>(vi[0]) >= limit) | (static_cast<unsigned>(vi[1]) >= limit) |
          (static_cast<unsigned>(vi[2]) >= limit) | (static_cast<unsigned>(vi[3]) >= limit)) {
        for (int k = 0; k < 4; ++k) {
          if (static_cast<unsigned>(vi[k]) >= limit) {
            error = plx::FormatWide(L"Unable to write the STL file: face %d of mesh %d names vertex %d, but the "
                                    L"mesh has %d vertices",
                                    f, m, vi[k], vertexCount);
            break;
          }
        }
        return false;
      }
      Facet facet{v[vi[0]], v[vi[1]], v[vi[2]], {}};
      const ON_3fPoint& d = v[vi[3]];
      if (!IsFinite(facet.a) || !IsFinite(facet.b) || !IsFinite(facet.c) || !IsFinite(d)) {
        error = plx::FormatWide(L"Unable to write the STL file: face %d of mesh %d has a corner whose coordinates "
                                L"are not finite numbers",
                                f, m);
        return false;
      }
      ComputeNormal(facet);
      if (!emit(facet, colourWord)) return false;
      if (vi[2] != vi[3]) {
        facet.b = facet.c;
        facet.c = d;
        ComputeNormal(facet);
        if (!emit(facet, colourWord)) return false;
      }
    }
  }
  return true;
}

bool WriteBinary(const ON_ClassArray<ON_Mesh>& meshes, uint64_t facetCount, AtomicFile& file,
                 std::wstring& error) {
  BufferedOutput out(file);
  char* p = out.Room(kBinaryPreambleSize, error);
  if (!p) return false;
  std::memset(p, ' ', kHeaderSize);
  std::memcpy(p, kBinaryHeader, sizeof kBinaryHeader - 1);
  const auto count32 = static_cast<uint32_t>(facetCount);
  std::memcpy(p + kHeaderSize, &count32, sizeof count32);
  out.Advance(p + kBinaryPreambleSize);

  const bool written = ForEachFacet(meshes, error, [&](const Facet& facet, uint16_t colourWord) {
    char* q = out.Room(kFacetRecordSize, error);
    if (!q) return false;
    std::memcpy(q, facet.normal, sizeof facet.normal);
    std::memcpy(q + 12, &facet.a, 12);
    std::memcpy(q + 24, &facet.b, 12);
    std::memcpy(q + 36, &facet.c, 12);
    std::memcpy(q + 48, &colourWord, sizeof colourWord);
    out.Advance(q + kFacetRecordSize);
    return true;
  });
  return written && out.Flush(error);
}

char* PutText(char* p, const char* text) {
  const size_t n = std::strlen(text);
  std::memcpy(p, text, n);
  return p + n;
}

char* PutTriple(char* p, float x, float y, float z) {
  // 16 bytes suffice for the shortest form of any float ("-1.1754944e-38").
  *p++ = ' ';
  p = std::to_chars(p, p + 16, x).ptr;
  *p++ = ' ';
  p = std::to_chars(p, p + 16, y).ptr;
  *p++ = ' ';
  p = std::to_chars(p, p + 16, z).ptr;
  *p++ = '\n';
  return p;
}

bool WriteAscii(const ON_ClassArray<ON_Mesh>& meshes, AtomicFile& file, std::wstring& error) {
  BufferedOutput out(file);
  char* p = out.Room(64, error);
  if (!p) return false;
  p = PutText(PutText(PutText(p, "solid "), kAsciiName), "\n");
  out.Advance(p);

  const bool written = ForEachFacet(meshes, error, [&](const Facet& facet, uint16_t) {
    char* q = out.Room(kMaxAsciiFacetSize, error);
    if (!q) return false;
    q = PutText(q, "  facet normal");
    q = PutTriple(q, facet.normal[0], facet.normal[1], facet.normal[2]);
    q = PutText(q, "    outer loop\n      vertex");
    q = PutTriple(q, facet.a.x, facet.a.y, facet.a.z);
    q = PutText(q, "      vertex");
    q = PutTriple(q, facet.b.x, facet.b.y, facet.b.z);
    q = PutText(q, "      vertex");
    q = PutTriple(q, facet.c.x, facet.c.y, facet.c.z);
    q = PutText(q, "    endloop\n  endfacet\n");
    out.Advance(q);
    return true;
  });
  if (!written) return false;
  p = out.Room(64, error);
  if (!p) return false;
  p = PutText(PutText(PutText(p, "endsolid "), kAsciiName), "\n");
  out.Advance(p);
  return out.Flush(error);
}

}  // namespace

bool CheckBinaryFacetCount(uint64_t facetCount, std::wstring& error) {
  if (facetCount <= kMaxBinaryFacets) return true;
  error = plx::FormatWide(L"Unable to write a binary STL file of %llu facets: the format counts at most %llu",
                          static_cast<unsigned long long>(facetCount),
                          static_cast<unsigned long long>(kMaxBinaryFacets));
  return false;
}

bool WriteStl(const ON_ClassArray<ON_Mesh>& meshes, const std::string& target, const std::wstring& shown,
              int type, std::wstring& error) {
  if (type != static_cast<int>(StlType::kAscii) && type != static_cast<int>(StlType::kBinary)) {
    error = plx::FormatWide(L"Unknown STL file type %d: use 0 for ASCII or 1 for binary", type);
    return false;
  }
  const uint64_t facetCount = CountFacets(meshes);
  const bool binary = type == static_cast<int>(StlType::kBinary);
  if (binary && !CheckBinaryFacetCount(facetCount, error)) return false;

  AtomicFile file;
  if (!file.Create(target, shown, error)) return false;
  const bool written = binary ? WriteBinary(meshes, facetCount, file, error) : WriteAscii(meshes, file, error);
  return written && file.Commit(error);
}

}  // namespace qmlib
