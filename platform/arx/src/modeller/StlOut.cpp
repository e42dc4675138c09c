// STL output of a shape's tessellation. Binary: an 80-byte header that does not begin with
// "solid" (readers take such files for ASCII), a 32-bit little-endian facet count and 50 bytes
// a facet (normal, three corners as floats, a zero attribute word). ASCII: one solid block.
// The file is built in memory, written under a temporary name beside the target and renamed
// over it only when complete.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "ShapeImpl.h"
#include "win32/text.h"

namespace plx::modeller {

namespace {

static_assert(std::endian::native == std::endian::little, "binary STL is written as little-endian");

Point3 UnitNormal(const Triangle& t) {
  const double ux = t.v[1].x - t.v[0].x, uy = t.v[1].y - t.v[0].y, uz = t.v[1].z - t.v[0].z;
  const double vx = t.v[2].x - t.v[0].x, vy = t.v[2].y - t.v[0].y, vz = t.v[2].z - t.v[0].z;
  const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
  const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
  if (!(length > 0)) return {};
  return {nx / length, ny / length, nz / length};
}

void PutFloats(char*& out, const Point3& p) {
  const float f[3] = {static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)};
  std::memcpy(out, f, sizeof f);
  out += sizeof f;
}

std::string BinaryStl(const std::vector<Triangle>& triangles) {
  std::string data(84 + 50 * triangles.size(), '\0');
  static constexpr char kHeader[] = "Binary STL from the arxhost modeller";
  std::memcpy(data.data(), kHeader, sizeof kHeader - 1);
  const auto count = static_cast<std::uint32_t>(triangles.size());
  std::memcpy(data.data() + 80, &count, 4);
  char* out = data.data() + 84;
  for (const Triangle& t : triangles) {
    PutFloats(out, UnitNormal(t));
    for (const Point3& p : t.v) PutFloats(out, p);
    out += 2;  // attribute word stays zero
  }
  return data;
}

void AppendLine(std::string& data, const char* format, const Point3& p) {
  char line[128];
  const int n = std::snprintf(line, sizeof line, format, static_cast<float>(p.x), static_cast<float>(p.y),
                              static_cast<float>(p.z));
  data.append(line, static_cast<size_t>(n));
}

std::string AsciiStl(const std::vector<Triangle>& triangles) {
  std::string data;
  data.reserve(64 + 260 * triangles.size());
  data += "solid arxhost\n";
  for (const Triangle& t : triangles) {
    AppendLine(data, "  facet normal %.7e %.7e %.7e\n", UnitNormal(t));
    data += "    outer loop\n";
    for (const Point3& p : t.v) AppendLine(data, "      vertex %.7e %.7e %.7e\n", p);
    data += "    endloop\n  endfacet\n";
  }
  data += "endsolid arxhost\n";
  return data;
}

// Creates a new file beside target ("<dir>/.<name>.<pid>.<n>.tmp"); -1 when none can be made.
int CreateTemporary(const std::string& target, std::string& name) {
  static std::atomic<unsigned> counter{0};
  // Asked once: every solid the export road meshes comes through here. A child process that
  // inherits the number only meets names it can skip, since the file is made exclusively.
  static const pid_t pid = getpid();
  const size_t slash = target.rfind('/');
  const std::string dir = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = dir + "." + base + "." + std::to_string(pid) + "." + std::to_string(counter++) + ".tmp";
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool WriteAll(int fd, const std::string& data) {
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

Acad::ErrorStatus Shape::WriteStl(const std::wstring& path, bool binary, double facetres) const {
  if (path.empty()) return Acad::eInvalidInput;
  std::vector<Triangle> triangles;
  if (const Acad::ErrorStatus status = Tessellate(facetres, triangles); status != Acad::eOk) return status;
  if (binary && triangles.size() > UINT32_MAX) return Acad::eOutOfRange;
  const std::string data = binary ? BinaryStl(triangles) : AsciiStl(triangles);

  const std::string target = plx::NativePath(path);
  std::string temporary;
  const int fd = CreateTemporary(target, temporary);
  if (fd < 0) return Acad::eFileAccessErr;
  const bool written = WriteAll(fd, data);
  const bool closed = close(fd) == 0;
  if (!written || !closed || std::rename(temporary.c_str(), target.c_str()) != 0) {
    unlink(temporary.c_str());
    return Acad::eFileSystemErr;
  }
  return Acad::eOk;
}

Acad::ErrorStatus CheckPositiveOctant(const Shape& shape) {
  Point3 min, max;
  if (const Acad::ErrorStatus status = shape.Extents(min, max); status != Acad::eOk) return status;
  // Extents of free-form and toroidal faces are found numerically and may reach out by the
  // modeller's confusion distance (1e-7): a torus resting on a plane must still pass.
  const double size = std::max({std::abs(max.x - min.x), std::abs(max.y - min.y), std::abs(max.z - min.z)});
  const double tolerance = 1e-6 + 1e-9 * size;
  if (min.x < -tolerance || min.y < -tolerance || min.z < -tolerance) return Acad::eInvalidInput;
  return Acad::eOk;
}

}  // namespace plx::modeller
