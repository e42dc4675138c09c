// STL output. A quick count of the facets (so that the binary count is known up front), then
// one pass that checks each face and writes it through small buffers into an AtomicFile (large
// binary files: several threads, each writing its records at their place);
// a face that cannot be written abandons the file. Quads (a, b, c, d)
// are written as the triangles (a, b, c) and (a, c, d). Normals are computed in double from
// the float corners. ASCII numbers are the shortest text that reads back to the same float.
#include "stl_writer.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "atomic_file.h"
#include "stl_format.h"
#include "win32/text.h"

namespace qmlib {

static_assert(std::endian::native == std::endian::little, "binary STL fields are copied in host byte order");
static_assert(sizeof(ON_3fPoint) == 12, "a corner is copied as three packed floats");

namespace {

// Buffers small enough to stay in the cache while they are filled and copied into the file,
// large enough that the page cache takes few, large writes.
constexpr size_t kBufferSize = size_t{1} << 20;
constexpr size_t kBufferCount = 4;
constexpr size_t kScratchSize = kBufferSize * kBufferCount;
constexpr size_t kMaxAsciiFacetSize = 512;  // 12 numbers of at most 15 characters and the keywords
const char kAsciiName[] = "QMSTL";
const char kBinaryHeader[] = "QMSTL binary STL by QMLib90Ux64, facet colours VisCAM/SolidView";
static_assert(sizeof kBinaryHeader <= kHeaderSize);

// The buffers' memory is kept from one file to the next: touching fresh pages costs a page
// fault each, and on a virtual machine that is dearer than filling and writing the page
// (about 20 us a page, 20 ms for the buffers of every file). One block is kept; writers at
// the same time take fresh ones.
class ScratchStore {
 public:
  std::unique_ptr<char[]> Take() {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      if (kept_) return std::move(kept_);
    }
    return std::make_unique_for_overwrite<char[]>(kScratchSize);
  }
  void Give(std::unique_ptr<char[]> block) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!kept_) kept_ = std::move(block);
  }

 private:
  std::mutex mutex_;
  std::unique_ptr<char[]> kept_;
};

ScratchStore& Scratch() {
  static ScratchStore store;
  return store;
}

// A ring of buffers: the caller fills one while a helper thread copies the full ones into the
// file, so that building the records and the kernel's copy overlap instead of adding up. The
// helper starts with the first full buffer, so a file that fits in one buffer is written
// without it; without a thread (none can be started) each buffer is written in turn. A write
// error stops the helper and is reported by the next Room or Flush.
class BufferedOutput {
 public:
  explicit BufferedOutput(AtomicFile& file) : file_(file), scratch_(Scratch().Take()) { Select(0); }
  BufferedOutput(const BufferedOutput&) = delete;
  BufferedOutput& operator=(const BufferedOutput&) = delete;
  ~BufferedOutput() {
    // An abandoned output still waits for its helper: the file and the buffers must outlive
    // the write under way.
    if (writer_.joinable()) {
      {
        const std::lock_guard<std::mutex> lock(mutex_);
        abandoned_ = true;
      }
      filled_.notify_one();
      writer_.join();
    }
    Scratch().Give(std::move(scratch_));
  }

  // A place for at least n bytes (n <= kBufferSize), or null after a write failure.
  char* Room(size_t n, std::wstring& error) {
    if (static_cast<size_t>(end_ - pos_) < n && !Hand(error)) return nullptr;
    return pos_;
  }
  void Advance(char* end) { pos_ = end; }
  char* End() const { return end_; }

  // Writes everything handed over so far; true when all of it reached the file.
  bool Flush(std::wstring& error) {
    if (!writer_.joinable()) return file_.Write(begin_, static_cast<size_t>(pos_ - begin_), error);
    if (pos_ != begin_ && !Hand(error)) return false;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      closing_ = true;
    }
    filled_.notify_one();
    writer_.join();
    if (!failed_) return true;
    error = writeError_;
    return false;
  }

 private:
  void Select(size_t slot) {
    begin_ = scratch_.get() + slot * kBufferSize;
    pos_ = begin_;
    end_ = begin_ + kBufferSize;
  }

  // Queues the current buffer for the helper and moves on to the next free one.
  bool Hand(std::wstring& error) {
    const auto size = static_cast<size_t>(pos_ - begin_);
    if (!writer_.joinable() && !threadless_) {
      try {
        writer_ = std::thread([this] { Drain(); });
      } catch (const std::system_error&) {
        threadless_ = true;
      }
    }
    if (threadless_) {
      if (!file_.Write(begin_, size, error)) return false;
      pos_ = begin_;
      return true;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    sizes_[handed_ % kBufferCount] = size;
    ++handed_;
    filled_.notify_one();
    freed_.wait(lock, [this] { return handed_ - written_ < kBufferCount || failed_; });
    if (failed_) {
      error = writeError_;
      return false;
    }
    Select(handed_ % kBufferCount);
    return true;
  }

  // The helper: writes the queued buffers in order until told to stop or a write fails.
  void Drain() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      filled_.wait(lock, [this] { return written_ < handed_ || closing_ || abandoned_; });
      if (abandoned_ || written_ == handed_) return;
      const size_t slot = written_ % kBufferCount;
      const size_t size = sizes_[slot];
      lock.unlock();
      std::wstring error;
      const bool written = file_.Write(scratch_.get() + slot * kBufferSize, size, error);
      lock.lock();
      if (!written) {
        failed_ = true;
        writeError_ = std::move(error);
        freed_.notify_one();
        return;
      }
      ++written_;
      freed_.notify_one();
    }
  }

  AtomicFile& file_;
  std::unique_ptr<char[]> scratch_;
  char* begin_ = nullptr;
  char* pos_ = nullptr;
  char* end_ = nullptr;
  bool threadless_ = false;
  std::thread writer_;

  // Shared with the helper, under mutex_.
  std::mutex mutex_;
  std::condition_variable filled_, freed_;
  size_t sizes_[kBufferCount] = {};
  uint64_t handed_ = 0, written_ = 0;
  bool closing_ = false, abandoned_ = false, failed_ = false;
  std::wstring writeError_;
};

struct Facet {
  ON_3fPoint a, b, c;
  float normal[3];
};

// The unit normal of the facet (a, b, c) into normal; false when a corner has a coordinate
// that is not a finite number. The cross product is taken in double from the float corners
// (float differences would lose the normal of thin facets) and scaled by one reciprocal
// rather than three divisions; the result is rounded to float, as the file stores it, so it
// differs from the quotients by at most one unit in the last place of a float. Every
// coordinate reaches two components of the cross product through a product, so a coordinate
// that is infinite or NaN leaves the squared length infinite or NaN, while finite floats keep
// it below 1e157: one test of the squared length checks all nine coordinates.
inline bool UnitNormal(const ON_3fPoint& a, const ON_3fPoint& b, const ON_3fPoint& c, float* normal) {
  const double ux = double(b.x) - a.x, uy = double(b.y) - a.y, uz = double(b.z) - a.z;
  const double vx = double(c.x) - a.x, vy = double(c.y) - a.y, vz = double(c.z) - a.z;
  const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
  const double squared = nx * nx + ny * ny + nz * nz;
  if (!(squared <= DBL_MAX)) return false;
  if (squared > 0.0) {
    const double inverse = 1.0 / std::sqrt(squared);
    normal[0] = static_cast<float>(nx * inverse);
    normal[1] = static_cast<float>(ny * inverse);
    normal[2] = static_cast<float>(nz * inverse);
  } else {
    normal[0] = normal[1] = normal[2] = 0.0f;
  }
  return true;
}

// The unit normals of two facets at once, each exactly as UnitNormal computes it (the same
// operations in the same order, two lanes at a time: the square root and the division are most
// of a record's cost); false when a corner of either has a coordinate that is not finite.
inline bool UnitNormals(const ON_3fPoint& a0, const ON_3fPoint& b0, const ON_3fPoint& c0, float* n0,
                        const ON_3fPoint& a1, const ON_3fPoint& b1, const ON_3fPoint& c1, float* n1) {
#if defined(__SSE2__)
  const __m128d ax = _mm_setr_pd(a0.x, a1.x), ay = _mm_setr_pd(a0.y, a1.y), az = _mm_setr_pd(a0.z, a1.z);
  const __m128d ux = _mm_sub_pd(_mm_setr_pd(b0.x, b1.x), ax), uy = _mm_sub_pd(_mm_setr_pd(b0.y, b1.y), ay),
                uz = _mm_sub_pd(_mm_setr_pd(b0.z, b1.z), az);
  const __m128d vx = _mm_sub_pd(_mm_setr_pd(c0.x, c1.x), ax), vy = _mm_sub_pd(_mm_setr_pd(c0.y, c1.y), ay),
                vz = _mm_sub_pd(_mm_setr_pd(c0.z, c1.z), az);
  const __m128d nx = _mm_sub_pd(_mm_mul_pd(uy, vz), _mm_mul_pd(uz, vy));
  const __m128d ny = _mm_sub_pd(_mm_mul_pd(uz, vx), _mm_mul_pd(ux, vz));
  const __m128d nz = _mm_sub_pd(_mm_mul_pd(ux, vy), _mm_mul_pd(uy, vx));
  const __m128d squared = _mm_add_pd(_mm_add_pd(_mm_mul_pd(nx, nx), _mm_mul_pd(ny, ny)), _mm_mul_pd(nz, nz));
  if (_mm_movemask_pd(_mm_cmple_pd(squared, _mm_set1_pd(DBL_MAX))) != 3) return false;
  // A zero length gives +0 components, as in UnitNormal, whatever the signs of the products,
  // and divides by one, not zero, so that no floating-point exception is raised for it.
  const __m128d positive = _mm_cmpgt_pd(squared, _mm_setzero_pd());
  const __m128d length =
      _mm_or_pd(_mm_and_pd(positive, _mm_sqrt_pd(squared)), _mm_andnot_pd(positive, _mm_set1_pd(1.0)));
  const __m128d inverse = _mm_div_pd(_mm_set1_pd(1.0), length);
  double x[2], y[2], z[2];
  _mm_storeu_pd(x, _mm_and_pd(positive, _mm_mul_pd(nx, inverse)));
  _mm_storeu_pd(y, _mm_and_pd(positive, _mm_mul_pd(ny, inverse)));
  _mm_storeu_pd(z, _mm_and_pd(positive, _mm_mul_pd(nz, inverse)));
  n0[0] = static_cast<float>(x[0]);
  n0[1] = static_cast<float>(y[0]);
  n0[2] = static_cast<float>(z[0]);
  n1[0] = static_cast<float>(x[1]);
  n1[1] = static_cast<float>(y[1]);
  n1[2] = static_cast<float>(z[1]);
  return true;
#else
  return UnitNormal(a0, b0, c0, n0) && UnitNormal(a1, b1, c1, n1);
#endif
}

// A run of faces and the place of its records in a binary file.
struct Piece {
  int mesh, first, last;  // faces [first, last) of the mesh
  uint64_t firstFacet;    // the number of the piece's first facet in the file
};
constexpr int kPieceFaces = 1 << 16;

// The meshes' faces in pieces, found before anything is written so that the binary count is
// known up front and every piece's place in the file follows from the facets before it (a quad
// makes two); facetCount is the total. Reads only the last two indices of each face.
std::vector<Piece> FacetPieces(const ON_ClassArray<ON_Mesh>& meshes, uint64_t& facetCount) {
  std::vector<Piece> pieces;
  facetCount = 0;
  for (int m = 0; m < meshes.Count(); ++m) {
    const ON_MeshFace* faces = meshes[m].m_F.Array();
    const int faceCount = meshes[m].FaceCount();
    for (int first = 0; first < faceCount; first += kPieceFaces) {
      const int last = std::min(first + kPieceFaces, faceCount);
      pieces.push_back(Piece{m, first, last, facetCount});
      uint64_t quads = 0;
      for (int f = first; f < last; ++f) quads += faces[f].vi[2] != faces[f].vi[3];
      facetCount += static_cast<uint64_t>(last - first) + quads;
    }
  }
  return pieces;
}

// Negative indices become large unsigned ones, so one comparison checks both ends.
inline bool IndicesInRange(const int* vi, unsigned vertexCount) {
  return (static_cast<unsigned>(vi[0]) < vertexCount) & (static_cast<unsigned>(vi[1]) < vertexCount) &
         (static_cast<unsigned>(vi[2]) < vertexCount) & (static_cast<unsigned>(vi[3]) < vertexCount);
}

[[gnu::cold, gnu::noinline]] bool IndexError(const int* vi, int f, int m, int vertexCount, std::wstring& error) {
  for (int k = 0; k < 4; ++k) {
    if (static_cast<unsigned>(vi[k]) >= static_cast<unsigned>(vertexCount)) {
      error = plx::FormatWide(L"Unable to write the STL file: face %d of mesh %d names vertex %d, but the "
                              L"mesh has %d vertices",
                              f, m, vi[k], vertexCount);
      break;
    }
  }
  return false;
}

[[gnu::cold, gnu::noinline]] bool NotFiniteError(int f, int m, std::wstring& error) {
  error = plx::FormatWide(L"Unable to write the STL file: face %d of mesh %d has a corner whose coordinates "
                          L"are not finite numbers",
                          f, m);
  return false;
}

uint16_t ColourWord(const ON_Mesh& mesh) { return mesh.m_C.Count() > 0 ? StlColorWord(mesh.m_C[0]) : 0; }

// Calls emit(facet, colourWord) for every facet in order; stops and returns false when emit
// does, or with a reason when a face names a vertex the mesh lacks or a corner is not finite.
// The indices are checked here, in the one pass that reads the faces; a failure abandons the
// temporary file, so the target is left as it was.
template <class Emit>
bool ForEachFacet(const ON_ClassArray<ON_Mesh>& meshes, std::wstring& error, Emit&& emit) {
  for (int m = 0; m < meshes.Count(); ++m) {
    const ON_Mesh& mesh = meshes[m];
    const uint16_t colourWord = ColourWord(mesh);
    const ON_3fPoint* v = mesh.m_V.Array();
    const ON_MeshFace* faces = mesh.m_F.Array();
    const int vertexCount = mesh.VertexCount();
    const int faceCount = mesh.FaceCount();
    for (int f = 0; f < faceCount; ++f) {
      const int* vi = faces[f].vi;
      if (!IndicesInRange(vi, static_cast<unsigned>(vertexCount))) return IndexError(vi, f, m, vertexCount, error);
      Facet facet{v[vi[0]], v[vi[1]], v[vi[2]], {}};
      const bool quad = vi[2] != vi[3];
      Facet second{facet.a, facet.c, v[vi[3]], {}};
      // Both halves of a quad are checked before either is written.
      if (!UnitNormal(facet.a, facet.b, facet.c, facet.normal) ||
          (quad && !UnitNormal(second.a, second.b, second.c, second.normal)))
        return NotFiniteError(f, m, error);
      if (!emit(facet, colourWord)) return false;
      if (quad && !emit(second, colourWord)) return false;
    }
  }
  return true;
}

// One binary record: normal, the three corners and the attribute word, 50 bytes at q.
inline void PutRecord(char* q, const float* normal, const ON_3fPoint& a, const ON_3fPoint& b, const ON_3fPoint& c,
                      uint16_t colourWord) {
  std::memcpy(q, normal, 12);
  std::memcpy(q + 12, &a, 12);
  std::memcpy(q + 24, &b, 12);
  std::memcpy(q + 36, &c, 12);
  std::memcpy(q + 48, &colourWord, sizeof colourWord);
}

// The records of face f of mesh m at q, one or, for a quad, two; the end of what was put, or
// null with the reason when the face names a vertex the mesh lacks or a corner is not finite.
inline char* PutFace(char* q, const int* vi, const ON_3fPoint* v, int vertexCount, uint16_t colourWord, int f, int m,
                     std::wstring& error) {
  if (!IndicesInRange(vi, static_cast<unsigned>(vertexCount))) {
    IndexError(vi, f, m, vertexCount, error);
    return nullptr;
  }
  const ON_3fPoint &a = v[vi[0]], &b = v[vi[1]], &c = v[vi[2]];
  float normal[3];
  if (vi[2] == vi[3]) {
    if (!UnitNormal(a, b, c, normal)) {
      NotFiniteError(f, m, error);
      return nullptr;
    }
    PutRecord(q, normal, a, b, c, colourWord);
    return q + kFacetRecordSize;
  }
  const ON_3fPoint& d = v[vi[3]];
  float second[3];
  if (!UnitNormals(a, b, c, normal, a, c, d, second)) {
    NotFiniteError(f, m, error);
    return nullptr;
  }
  PutRecord(q, normal, a, b, c, colourWord);
  PutRecord(q + kFacetRecordSize, second, a, c, d, colourWord);
  return q + 2 * kFacetRecordSize;
}

// Two faces that are both triangles, their normals found together: the end of what was put, or
// null, with nothing said, when either is a quad or cannot be written (PutFace, face by face,
// then writes what it can and names the first failing face).
inline char* PutTriangles(char* q, const int* vi, const int* wi, const ON_3fPoint* v, int vertexCount,
                          uint16_t colourWord) {
  if (vi[2] != vi[3] || wi[2] != wi[3]) return nullptr;
  const auto count = static_cast<unsigned>(vertexCount);
  if (!IndicesInRange(vi, count) || !IndicesInRange(wi, count)) return nullptr;
  const ON_3fPoint &a0 = v[vi[0]], &b0 = v[vi[1]], &c0 = v[vi[2]];
  const ON_3fPoint &a1 = v[wi[0]], &b1 = v[wi[1]], &c1 = v[wi[2]];
  float n0[3], n1[3];
  if (!UnitNormals(a0, b0, c0, n0, a1, b1, c1, n1)) return nullptr;
  PutRecord(q, n0, a0, b0, c0, colourWord);
  PutRecord(q + kFacetRecordSize, n1, a1, b1, c1, colourWord);
  return q + 2 * kFacetRecordSize;
}

// The records of faces [first, last) of mesh m from q on, through room(q), which makes room for
// two records and returns where they go (null when it cannot). The end of what was put, or null
// with the reason.
template <class Room>
inline char* PutFaces(char* q, const ON_Mesh& mesh, int m, int first, int last, std::wstring& error, Room&& room) {
  const uint16_t colourWord = ColourWord(mesh);
  const ON_3fPoint* v = mesh.m_V.Array();
  const ON_MeshFace* faces = mesh.m_F.Array();
  const int vertexCount = mesh.VertexCount();
  for (int f = first; f < last;) {
    if (!(q = room(q))) return nullptr;
    if (f + 1 < last) {
      if (char* next = PutTriangles(q, faces[f].vi, faces[f + 1].vi, v, vertexCount, colourWord)) {
        q = next;
        f += 2;
        continue;
      }
    }
    if (!(q = PutFace(q, faces[f].vi, v, vertexCount, colourWord, f, m, error))) return nullptr;
    ++f;
  }
  return q;
}

// The binary facets, written straight into the output's buffers: room for the two records of
// a quad is made once per face. A record of a face that fails is left in the buffer; the
// failure abandons the whole file.
bool WriteBinaryFacets(const ON_ClassArray<ON_Mesh>& meshes, BufferedOutput& out, std::wstring& error) {
  constexpr size_t kFaceRoom = 2 * kFacetRecordSize;
  for (int m = 0; m < meshes.Count(); ++m) {
    char* q = out.Room(kFaceRoom, error);
    if (!q) return false;
    const char* limit = out.End() - kFaceRoom;
    q = PutFaces(q, meshes[m], m, 0, meshes[m].FaceCount(), error, [&](char* at) -> char* {
      if (at <= limit) return at;
      out.Advance(at);
      char* room = out.Room(kFaceRoom, error);
      if (room) limit = out.End() - kFaceRoom;
      return room;
    });
    if (!q) return false;
    out.Advance(q);
  }
  return true;
}

// Large binary files are formatted by several threads at once. Records have a fixed size, so
// every piece has its place in the file: the threads take the pieces in turn, format them and
// write each at its place. The kernel's copy into the file is then the limit, not the normals.
// A failing face stops the pieces after it; the message is that of the first failing piece,
// as writing in order would have found it.
constexpr uint64_t kParallelFacets = uint64_t{1} << 19;
// Two threads: the file system takes one write to a file at a time, so more of them only spin
// on its lock; large buffers make fewer, larger writes, which the page cache takes faster.
constexpr unsigned kMaxWorkers = 2;
constexpr size_t kWorkerBufferSize = kScratchSize / kMaxWorkers;  // halves of the kept block

class ParallelBinaryWriter {
 public:
  ParallelBinaryWriter(const ON_ClassArray<ON_Mesh>& meshes, const std::vector<Piece>& pieces, const AtomicFile& file)
      : meshes_(meshes), pieces_(pieces), file_(file) {}

  // False with error set when the file could not be written; false with error empty when no
  // thread could be started and nothing was written.
  bool Write(char* buffers, std::wstring& error) {
    const unsigned workers = std::clamp(std::thread::hardware_concurrency(), 1u, kMaxWorkers);
    std::vector<std::thread> threads;
    threads.reserve(workers);  // below, only starting a thread can fail
    for (unsigned w = 0; w < workers; ++w) {
      try {
        threads.emplace_back([this, buffer = buffers + w * kWorkerBufferSize] { FormatPieces(buffer); });
      } catch (const std::system_error&) {
        break;
      }
    }
    for (std::thread& thread : threads) thread.join();
    if (threads.empty()) return false;
    if (failedPiece_ != kNone) {
      error = failure_;
      return false;
    }
    return true;
  }

 private:
  static constexpr size_t kNone = SIZE_MAX;

  void FormatPieces(char* buffer) {
    for (size_t k; (k = nextFormat_.fetch_add(1)) < pieces_.size() && k < failedPiece_.load();) {
      std::wstring error;
      if (!FormatPiece(pieces_[k], buffer, error)) {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (k < failedPiece_.load()) {
          failedPiece_.store(k);
          failure_ = std::move(error);
        }
      }
    }
  }

  bool FormatPiece(const Piece& piece, char* buffer, std::wstring& error) const {
    uint64_t offset = kBinaryPreambleSize + piece.firstFacet * kFacetRecordSize;
    const char* limit = buffer + kWorkerBufferSize - 2 * kFacetRecordSize;
    const char* q = PutFaces(buffer, meshes_[piece.mesh], piece.mesh, piece.first, piece.last, error,
                             [&](char* at) -> char* {
                               if (at <= limit) return at;
                               if (!file_.WriteAt(offset, buffer, static_cast<size_t>(at - buffer), error)) return nullptr;
                               offset += static_cast<uint64_t>(at - buffer);
                               return buffer;
                             });
    return q && file_.WriteAt(offset, buffer, static_cast<size_t>(q - buffer), error);
  }

  const ON_ClassArray<ON_Mesh>& meshes_;
  const std::vector<Piece>& pieces_;
  const AtomicFile& file_;
  std::atomic<size_t> nextFormat_{0};
  std::atomic<size_t> failedPiece_{kNone};
  std::mutex mutex_;
  std::wstring failure_;  // of failedPiece_, under mutex_
};

void PutPreamble(char* p, uint64_t facetCount) {
  std::memset(p, ' ', kHeaderSize);
  std::memcpy(p, kBinaryHeader, sizeof kBinaryHeader - 1);
  const auto count32 = static_cast<uint32_t>(facetCount);
  std::memcpy(p + kHeaderSize, &count32, sizeof count32);
}

bool WriteBinary(const ON_ClassArray<ON_Mesh>& meshes, const std::vector<Piece>& pieces, uint64_t facetCount,
                 AtomicFile& file, std::wstring& error) {
  if (facetCount >= kParallelFacets) {
    std::unique_ptr<char[]> buffers = Scratch().Take();
    char preamble[kBinaryPreambleSize];
    PutPreamble(preamble, facetCount);
    ParallelBinaryWriter writer(meshes, pieces, file);
    const bool written = file.WriteAt(0, preamble, sizeof preamble, error) && writer.Write(buffers.get(), error);
    Scratch().Give(std::move(buffers));
    if (written || !error.empty()) return written;
    // No thread could be started: the buffered road below, from the start of the file.
  }
  BufferedOutput out(file);
  char* p = out.Room(kBinaryPreambleSize, error);
  if (!p) return false;
  PutPreamble(p, facetCount);
  out.Advance(p + kBinaryPreambleSize);
  return WriteBinaryFacets(meshes, out, error) && out.Flush(error);
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
  const bool binary = type == static_cast<int>(StlType::kBinary);
  uint64_t facetCount = 0;
  std::vector<Piece> pieces;
  if (binary) {
    pieces = FacetPieces(meshes, facetCount);
    if (!CheckBinaryFacetCount(facetCount, error)) return false;
  }

  AtomicFile file;
  if (!file.Create(target, shown, error)) return false;
  const bool written =
      binary ? WriteBinary(meshes, pieces, facetCount, file, error) : WriteAscii(meshes, file, error);
  return written && file.Commit(error);
}

}  // namespace qmlib
