// STL input: tells binary from ASCII, and reads binary facets in chunks of whole records, or a
// small file whole (ASCII text goes to stl_ascii_reader.cpp).
// The form is decided by size alone first: a file of exactly 84 + 50 n bytes, n being the
// count in its header, is binary even when its header begins with "solid" (several writers
// do that); anything else must be ASCII text beginning with "solid". Counts are checked
// against the file size before anything is allocated from them. A facet dropped for coinciding
// corners may leave vertices that no kept facet uses; they go before the mesh is handed over.
#include "stl_reader.h"

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "stl_format.h"
#include "vertex_welder.h"
#include "win32/text.h"

namespace qmlib {

static_assert(std::endian::native == std::endian::little, "binary STL fields are read in host byte order");

namespace {

constexpr size_t kChunkRecords = 1 << 14;  // about 800 KiB, kept in cache
// How far ahead the welder is told of coming corners: enough for their slots to arrive
// from memory by the time they are looked up.
constexpr uint32_t kPrefetchRecords = 8;
// Files up to this size are read whole, in one read asking for a byte more than the file
// holds, which also sees that it ends there: the export road reads one small file back for
// every solid, and on a virtual machine each system call counts.
constexpr size_t kWholeFileBytes = size_t{64} << 10;
// Arrays this large come fresh from the system at every allocation (beyond glibc's largest
// mmap threshold), so their pages are all faulted in: huge pages make that 512 times fewer
// faults. Smaller ones are mostly reused from the heap, where huge pages would only be split.
constexpr size_t kFreshArrayBytes = size_t{32} << 20;

std::wstring ErrnoText(int code) { return plx::WideFromUtf8(std::strerror(code)); }

class FileHandle {
 public:
  explicit FileHandle(int fd) : fd_(fd) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (fd_ >= 0) ::close(fd_);
  }
  int Get() const { return fd_; }

 private:
  int fd_;
};

// Reads exactly size bytes; false at an error or an early end of file.
bool ReadFully(int fd, char* data, size_t size, const std::wstring& shown, std::wstring& error) {
  while (size > 0) {
    const ssize_t n = ::read(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = plx::FormatWide(L"Unable to read file %s: %s", shown.c_str(), ErrnoText(errno).c_str());
      return false;
    }
    if (n == 0) {
      error = plx::FormatWide(L"Unable to read file %s: it ended early (it changed while being read)", shown.c_str());
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool Grew(const std::wstring& shown, std::wstring& error) {
  error = plx::FormatWide(L"Unable to read file %s: it grew while being read", shown.c_str());
  return false;
}

// True when the file ends where reading stopped; false, with the reason, when it goes on.
bool AtEnd(int fd, const std::wstring& shown, std::wstring& error) {
  char extra;
  return ::read(fd, &extra, 1) <= 0 || Grew(shown, error);
}

// Reads the whole file of size bytes into data, which has room for one byte more; false at an
// error or when the file turns out shorter or longer than size. One read asking for a byte
// more than size usually does it all: coming back with size bytes, it has also met the end.
// A short, interrupted or failed read takes the general road, which says what went wrong.
bool ReadWhole(int fd, char* data, size_t size, const std::wstring& shown, std::wstring& error) {
  const ssize_t n = ::read(fd, data, size + 1);
  if (n == static_cast<ssize_t>(size)) return true;
  if (n > static_cast<ssize_t>(size)) return Grew(shown, error);
  const size_t got = n > 0 ? static_cast<size_t>(n) : 0;
  return ReadFully(fd, data + got, size - got, shown, error) && AtEnd(fd, shown, error);
}

// True when the text begins with "solid" after white space, or is white space as far as it
// goes and more follows (the ASCII parser then decides).
bool MayBeAscii(const char* data, size_t size, bool more) {
  size_t i = 0;
  while (i < size && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n' || data[i] == '\f' ||
                      data[i] == '\v'))
    ++i;
  if (i == size) return more;
  return size - i >= 5 && strncasecmp(data + i, "solid", 5) == 0;
}

// Joins the corners of count facet records at data, the first of them facet first + 1 of the file.
// Inlined where it is used: as a call of its own the loop ran 3% slower on a file of 10 k facets.
[[gnu::always_inline]] inline bool JoinRecords(const char* data, uint32_t count, uint32_t first,
                                               VertexWelder& welder, ON_Mesh& mesh, const std::wstring& shown,
                                               std::wstring& error) {
  const char* corners = data + 12;  // the corners follow the normal
  for (uint32_t r = 0; r < count; ++r) {
    if (r + kPrefetchRecords < count) {
      float ahead[9];
      std::memcpy(ahead, corners + size_t{r + kPrefetchRecords} * kFacetRecordSize, sizeof ahead);
      for (int k = 0; k < 3; ++k) welder.Prefetch(ahead[3 * k], ahead[3 * k + 1], ahead[3 * k + 2]);
    }
    float xyz[9];
    std::memcpy(xyz, corners + size_t{r} * kFacetRecordSize, sizeof xyz);
    int corner[3];
    for (int k = 0; k < 3; ++k) {
      const float x = xyz[3 * k], y = xyz[3 * k + 1], z = xyz[3 * k + 2];
      if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) {
        error = plx::FormatWide(L"Binary STL file %s: facet %u has a corner whose coordinates are not finite numbers",
                                shown.c_str(), first + r + 1);
        return false;
      }
      corner[k] = welder.IndexOf(x, y, z);
      if (corner[k] < 0) {
        error = plx::FormatWide(L"Binary STL file %s has more vertices than one mesh can hold", shown.c_str());
        return false;
      }
    }
    // A facet whose corners coincide has no area and no valid mesh face can hold it.
    if (corner[0] != corner[1] && corner[1] != corner[2] && corner[2] != corner[0])
      mesh.m_F.Append(ON_MeshFace{{corner[0], corner[1], corner[2], corner[2]}});
  }
  return true;
}

// The facets of a binary file: from records when the whole file is already in memory, else
// read from fd, which stands just after the preamble.
bool ReadBinary(int fd, const char* records, uint32_t facetCount, const std::wstring& shown, ON_Mesh& mesh,
                std::wstring& error) {
  if (facetCount > static_cast<uint32_t>(INT_MAX)) {
    error = plx::FormatWide(L"Binary STL file %s holds %u facets, more than one mesh can hold (%d)", shown.c_str(),
                            facetCount, INT_MAX);
    return false;
  }
  mesh.m_F.Reserve(facetCount);
  // A closed triangulated surface has about half as many vertices as facets.
  const size_t expectedVertices = facetCount / 2 + 3;
  // Open surfaces have somewhat more: room for them spares growing the list by reallocation
  // (which would copy a list on huge pages), and room never touched takes no memory.
  const size_t vertexRoom = expectedVertices + facetCount / 16;
  mesh.m_V.Reserve(vertexRoom);
  std::vector<MemoryRange> fresh;
  for (auto [data, bytes] : {MemoryRange{mesh.m_F.Array(), sizeof(ON_MeshFace) * facetCount},
                             MemoryRange{mesh.m_V.Array(), sizeof(ON_3fPoint) * expectedVertices}}) {
    if (bytes < kFreshArrayBytes) continue;
    AdviseHugePages(data, bytes);
    fresh.emplace_back(data, bytes);
  }
  VertexWelder welder(mesh.m_V, expectedVertices);
  // The arrays are filled front to back side by side. Declared after the arrays it touches, so
  // that it has stopped before they can go.
  const std::jthread prefault = fresh.empty() ? std::jthread() : PrefaultAhead(std::move(fresh));

  if (records) return JoinRecords(records, facetCount, 0, welder, mesh, shown, error);
  const size_t chunkSize = std::min<size_t>(facetCount, kChunkRecords) * kFacetRecordSize;
  auto chunk = std::make_unique_for_overwrite<char[]>(chunkSize > 0 ? chunkSize : 1);
  uint32_t done = 0;
  while (done < facetCount) {
    const uint32_t count = static_cast<uint32_t>(std::min<size_t>(facetCount - done, kChunkRecords));
    if (!ReadFully(fd, chunk.get(), size_t{count} * kFacetRecordSize, shown, error)) return false;
    if (!JoinRecords(chunk.get(), count, done, welder, mesh, shown, error)) return false;
    done += count;
  }
  return AtEnd(fd, shown, error);
}

}  // namespace

bool ReadStl(const std::string& path, const std::wstring& shown, ON_Mesh& mesh, std::wstring& error) {
  if (path.empty()) {
    error = L"Unable to read the STL file: no file name was given";
    return false;
  }
  FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.Get() < 0) {
    error = plx::FormatWide(L"Unable to open file %s: %s", shown.c_str(), ErrnoText(errno).c_str());
    return false;
  }
  struct stat info {};
  if (::fstat(file.Get(), &info) != 0) {
    error = plx::FormatWide(L"Unable to read file %s: %s", shown.c_str(), ErrnoText(errno).c_str());
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    error = plx::FormatWide(L"Unable to read file %s: it is not a regular file", shown.c_str());
    return false;
  }
  const auto size = static_cast<uint64_t>(info.st_size);
  if (size == 0) {
    error = plx::FormatWide(L"STL file %s is empty", shown.c_str());
    return false;
  }

  // The preamble alone, or the whole of a small file.
  char preamble[kBinaryPreambleSize];
  std::unique_ptr<char[]> whole;
  const char* head = preamble;
  size_t headSize = static_cast<size_t>(std::min<uint64_t>(size, kBinaryPreambleSize));
  if (size <= kWholeFileBytes) {
    whole = std::make_unique_for_overwrite<char[]>(static_cast<size_t>(size) + 1);
    if (!ReadWhole(file.Get(), whole.get(), static_cast<size_t>(size), shown, error)) return false;
    head = whole.get();
    headSize = static_cast<size_t>(size);
  } else if (!ReadFully(file.Get(), preamble, headSize, shown, error)) {
    return false;
  }
  const size_t preambleSize = std::min<size_t>(headSize, kBinaryPreambleSize);

  ON_Mesh result;
  if (size >= kBinaryPreambleSize) {
    uint32_t facetCount;
    std::memcpy(&facetCount, head + kHeaderSize, sizeof facetCount);
    if (size == kBinaryPreambleSize + uint64_t{kFacetRecordSize} * facetCount) {
      const char* records = whole ? whole.get() + kBinaryPreambleSize : nullptr;
      if (!ReadBinary(file.Get(), records, facetCount, shown, result, error)) return false;
      // Every vertex comes from a facet: only a dropped facet can leave one unused.
      if (result.m_F.Count() != static_cast<int>(facetCount)) result.CullUnusedVertices();
      mesh = std::move(result);
      return true;
    }
  }
  if (!MayBeAscii(head, preambleSize, size > preambleSize)) {
    if (size < kBinaryPreambleSize) {
      error = plx::FormatWide(L"File %s is not an STL file: it has %llu bytes, too few for a binary STL file, and "
                              L"does not begin with \"solid\"",
                              shown.c_str(), static_cast<unsigned long long>(size));
    } else {
      uint32_t facetCount;
      std::memcpy(&facetCount, head + kHeaderSize, sizeof facetCount);
      error = plx::FormatWide(L"Binary STL file %s is truncated or inconsistent: its header counts %u facets, which "
                              L"take %llu bytes, but the file has %llu bytes",
                              shown.c_str(), facetCount,
                              static_cast<unsigned long long>(kBinaryPreambleSize + uint64_t{kFacetRecordSize} * facetCount),
                              static_cast<unsigned long long>(size));
    }
    return false;
  }
  if (!ReadAsciiStl(file.Get(), head, headSize, size, shown, result, error)) return false;
  result.CullUnusedVertices();
  mesh = std::move(result);
  return true;
}

}  // namespace qmlib
