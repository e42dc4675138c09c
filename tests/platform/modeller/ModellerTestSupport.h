// Builders shared by the modeller's tests: matrices, extents, volumes and admesh's report on
// an STL file.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "TestSupport.h"
#include "arxhost/Modeller.h"

namespace plx::modeller::testing {

inline constexpr double kPi = 3.14159265358979323846;

using Matrix = std::array<std::array<double, 4>, 4>;

inline Matrix Identity() {
  Matrix m{};
  for (int i = 0; i < 4; ++i) m[i][i] = 1;
  return m;
}

inline Matrix Scaling(double sx, double sy, double sz) {
  Matrix m = Identity();
  m[0][0] = sx;
  m[1][1] = sy;
  m[2][2] = sz;
  return m;
}

inline Matrix Translation(double x, double y, double z) {
  Matrix m = Identity();
  m[0][3] = x;
  m[1][3] = y;
  m[2][3] = z;
  return m;
}

inline Acad::ErrorStatus Apply(Shape& shape, const Matrix& m) {
  double raw[4][4];
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) raw[i][j] = m[i][j];
  return shape.Transform(raw);
}

inline void ExpectExtents(const Shape& shape, Point3 min, Point3 max, double tolerance = 1e-9) {
  Point3 lo, hi;
  ASSERT_EQ(shape.Extents(lo, hi), Acad::eOk);
  EXPECT_NEAR(lo.x, min.x, tolerance);
  EXPECT_NEAR(lo.y, min.y, tolerance);
  EXPECT_NEAR(lo.z, min.z, tolerance);
  EXPECT_NEAR(hi.x, max.x, tolerance);
  EXPECT_NEAR(hi.y, max.y, tolerance);
  EXPECT_NEAR(hi.z, max.z, tolerance);
}

inline Shape Made(ShapeResult result) {
  EXPECT_TRUE(result.Ok()) << std::string(result.reason.begin(), result.reason.end());
  return std::move(result.shape);
}

// Volume enclosed by triangles, positive when they face outwards.
inline double SignedVolume(const std::vector<Triangle>& triangles) {
  double volume = 0;
  for (const Triangle& t : triangles) {
    const Point3 &a = t.v[0], &b = t.v[1], &c = t.v[2];
    volume += a.x * (b.y * c.z - b.z * c.y) - a.y * (b.x * c.z - b.z * c.x) + a.z * (b.x * c.y - b.y * c.x);
  }
  return volume / 6.0;
}

// What admesh finds in an STL file (its checks only; nothing is written back).
struct AdmeshReport {
  std::string text;
  long facets = -1;
  long disconnected = -1;
  long parts = -1;
  long degenerate = -1;
  long reversed = -1;
  long backwards = -1;
  double volume = NAN;
  std::string fileType;
};

// The text after "label ... :" on its line, or empty.
inline std::string Field(const std::string& text, const std::string& label) {
  const size_t at = text.find(label);
  if (at == std::string::npos) return {};
  const size_t colon = text.find(':', at + label.size());
  const size_t end = text.find('\n', at);
  if (colon == std::string::npos || colon > end) return {};
  const size_t begin = text.find_first_not_of(' ', colon + 1);
  return begin < end ? text.substr(begin, end - begin) : std::string();
}

inline long Count(const std::string& text, const std::string& label) {
  const std::string value = Field(text, label);
  return value.empty() ? -1 : std::strtol(value.c_str(), nullptr, 10);
}

inline AdmeshReport RunAdmesh(const std::filesystem::path& file) {
  AdmeshReport report;
  const std::string command = "admesh '" + file.string() + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return report;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) report.text.append(buffer, n);
  pclose(pipe);
  // The "Original" column: what the file held before admesh repaired anything.
  report.facets = Count(report.text, "Number of facets");
  report.disconnected = Count(report.text, "Total disconnected facets");
  report.parts = Count(report.text, "Number of parts");
  report.degenerate = Count(report.text, "Degenerate facets");
  report.reversed = Count(report.text, "Facets reversed");
  report.backwards = Count(report.text, "Backwards edges");
  const std::string volume = Field(report.text, "Volume");
  if (!volume.empty()) report.volume = std::strtod(volume.c_str(), nullptr);
  report.fileType = Field(report.text, "File type");
  return report;
}

}  // namespace plx::modeller::testing
