// A test's view of SAT 700 text as the writers produce it: records split into tokens, and a
// structural check of the topology (pointers in range and of the right kind, loops that close,
// partners paired with opposite senses, edge ends on their curves) that returns the problems
// found as text, so a failing test says what is wrong.
#pragma once

#include <array>
#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace plx::test {

struct SatRecord {
  std::string name;
  std::vector<std::string> fields;  // after the 700 prefix, up to the closing "#"
};

struct SatFile {
  long version = 0, declaredRecords = 0, declaredBodies = 0;
  std::vector<SatRecord> records;
  bool ended = false;  // "End-of-ACIS-data" follows the records
  std::string error;   // set when the text cannot be split into records

  size_t Count(const std::string& name) const {
    size_t n = 0;
    for (const auto& r : records) n += r.name == name;
    return n;
  }
};

inline SatFile SplitSat(const std::string& text) {
  SatFile file;
  std::istringstream in(text);
  std::string line;
  std::getline(in, line);
  std::istringstream header(line);
  header >> file.version >> file.declaredRecords >> file.declaredBodies;
  std::getline(in, line);  // producer
  std::getline(in, line);  // units and tolerances
  size_t pos = static_cast<size_t>(in.tellg());
  auto skipSpace = [&] {
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
  };
  auto token = [&] {
    skipSpace();
    const size_t start = pos;
    while (pos < text.size() && !std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
    return text.substr(start, pos - start);
  };
  for (;;) {
    std::string name = token();
    if (name.empty()) {
      file.error = "no End-of-ACIS-data";
      break;
    }
    if (name == "End-of-ACIS-data") {
      file.ended = true;
      break;
    }
    SatRecord record{name, {}};
    const size_t prefix = name == "transform" ? 2 : 3;
    for (size_t i = 0; i < prefix; ++i) token();
    for (;;) {
      std::string t = token();
      if (t.empty()) {
        file.error = "record " + std::to_string(file.records.size()) + " has no end";
        return file;
      }
      if (t == "#") break;
      if (t[0] == '@') {
        const size_t length = std::strtoul(t.c_str() + 1, nullptr, 10);
        ++pos;  // the one space before the text
        t = text.substr(pos, length);
        pos += length;
      }
      record.fields.push_back(t);
    }
    file.records.push_back(std::move(record));
  }
  return file;
}

// A point of the B-spline that an intcurve-curve carries ("forward { exactcur full nubs|nurbs
// degree open knot-count (knot multiplicity)... points... }"), by de Boor's algorithm; false
// when the data cannot be followed. SAT end knots carry multiplicity degree, one less than the
// clamped knot vector needs.
inline bool EvaluateIntcurve(const std::vector<std::string>& f, double t, double out[3]) {
  if (f.size() < 8 || f[0] != "forward" || f[1] != "{" || f[2] != "exactcur" || f[3] != "full")
    return false;
  const bool rational = f[4] == "nurbs";
  const int degree = std::atoi(f[5].c_str());
  const int knotCount = std::atoi(f[7].c_str());
  std::vector<double> knots;
  size_t at = 8;
  for (int i = 0; i < knotCount; ++i, at += 2) {
    if (at + 1 >= f.size()) return false;
    int mult = std::atoi(f[at + 1].c_str());
    if (i == 0 || i == knotCount - 1) ++mult;
    for (int m = 0; m < mult; ++m) knots.push_back(std::strtod(f[at].c_str(), nullptr));
  }
  const int poles = static_cast<int>(knots.size()) - degree - 1;
  const int stride = rational ? 4 : 3;
  if (poles < degree + 1 || at + static_cast<size_t>(poles * stride) > f.size()) return false;
  std::vector<std::array<double, 4>> p(poles);
  for (int i = 0; i < poles; ++i) {
    const double w = rational ? std::strtod(f[at + i * stride + 3].c_str(), nullptr) : 1.0;
    for (int k = 0; k < 3; ++k) p[i][k] = std::strtod(f[at + i * stride + k].c_str(), nullptr) * w;
    p[i][3] = w;
  }
  int span = degree;
  while (span < poles - 1 && t >= knots[span + 1]) ++span;
  std::vector<std::array<double, 4>> d(degree + 1);
  for (int j = 0; j <= degree; ++j) d[j] = p[span - degree + j];
  for (int r = 1; r <= degree; ++r)
    for (int j = degree; j >= r; --j) {
      const int i = span - degree + j;
      const double span_ = knots[i + degree - r + 1] - knots[i];
      const double a = span_ > 0 ? (t - knots[i]) / span_ : 0;
      for (int k = 0; k < 4; ++k) d[j][k] = (1 - a) * d[j - 1][k] + a * d[j][k];
    }
  for (int k = 0; k < 3; ++k) out[k] = d[degree][k] / d[degree][3];
  return true;
}

// Structural problems of a SAT text; empty when none. closedSolids: every edge of every body
// must have exactly two coedges.
inline std::vector<std::string> CheckSatStructure(const SatFile& file, bool closedSolids,
                                                  double tolerance = 1e-7) {
  std::vector<std::string> problems;
  auto fail = [&](size_t index, const std::string& what) {
    problems.push_back("record " + std::to_string(index) + " (" +
                       (index < file.records.size() ? file.records[index].name : std::string("?")) +
                       "): " + what);
  };
  if (!file.error.empty()) problems.push_back(file.error);
  if (!file.ended) problems.push_back("no End-of-ACIS-data");
  if (file.declaredRecords != static_cast<long>(file.records.size()))
    problems.push_back("header counts " + std::to_string(file.declaredRecords) +
                       " records, file has " + std::to_string(file.records.size()));
  if (file.declaredBodies != static_cast<long>(file.Count("body")))
    problems.push_back("header body count wrong");

  const long n = static_cast<long>(file.records.size());
  auto ptr = [&](size_t index, size_t field, const char* kind) -> long {
    const SatRecord& r = file.records[index];
    if (field >= r.fields.size() || r.fields[field].empty() || r.fields[field][0] != '$') {
      fail(index, "field " + std::to_string(field) + " is not a pointer");
      return -1;
    }
    const long target = std::strtol(r.fields[field].c_str() + 1, nullptr, 10);
    if (target < -1 || target >= n) {
      fail(index, "pointer out of range: " + r.fields[field]);
      return -1;
    }
    if (target >= 0 && kind && file.records[target].name.find(kind) == std::string::npos)
      fail(index, "field " + std::to_string(field) + " names a " + file.records[target].name +
                      ", not " + kind);
    return target;
  };
  auto real = [&](size_t index, size_t field) {
    return std::strtod(file.records[index].fields[field].c_str(), nullptr);
  };
  auto point = [&](long vertex, double p[3]) {
    const long pt = ptr(vertex, 1, "point");
    for (int k = 0; k < 3; ++k) p[k] = pt >= 0 ? real(pt, k) : NAN;
  };

  std::map<long, std::vector<long>> coedgesOfEdge;
  for (long i = 0; i < n; ++i) {
    const SatRecord& r = file.records[i];
    for (size_t f = 0; f < r.fields.size(); ++f)
      if (!r.fields[f].empty() && r.fields[f][0] == '$') ptr(i, f, nullptr);
    if (r.name == "body") {
      ptr(i, 0, "lump");
      ptr(i, 2, "transform");
    } else if (r.name == "lump") {
      ptr(i, 0, "lump");
      ptr(i, 1, "shell");
      ptr(i, 2, "body");
    } else if (r.name == "shell") {
      ptr(i, 2, "face");
      ptr(i, 4, "lump");
    } else if (r.name == "face") {
      ptr(i, 0, "face");
      const long loop = ptr(i, 1, "loop");
      if (loop >= 0 && ptr(loop, 2, "face") != i) fail(i, "its loop belongs to another face");
      ptr(i, 2, "shell");
      ptr(i, 4, "surface");
    } else if (r.name == "loop") {
      const long first = ptr(i, 1, "coedge");
      long c = first;
      for (size_t steps = 0; c >= 0; ++steps) {
        if (steps > file.records.size()) {
          fail(i, "coedge chain does not close");
          break;
        }
        if (ptr(c, 5, "loop") != i) fail(c, "names another loop");
        const long next = ptr(c, 0, "coedge");
        if (next >= 0 && ptr(next, 1, "coedge") != c) fail(c, "next's prev is not this coedge");
        c = next;
        if (c == first) break;
      }
    } else if (r.name == "coedge") {
      const long edge = ptr(i, 3, "edge");
      if (edge >= 0) coedgesOfEdge[edge].push_back(i);
      const long partner = ptr(i, 2, "coedge");
      if (partner >= 0 && partner == i) fail(i, "is its own partner");
      // Each coedge ends where the next one starts.
      const long next = ptr(i, 0, "coedge");
      if (edge >= 0 && next >= 0) {
        const long nextEdge = ptr(next, 3, "edge");
        if (nextEdge >= 0) {
          const bool forward = r.fields[4] == "forward";
          const long end = ptr(edge, forward ? 2 : 0, "vertex");
          const bool nextForward = file.records[next].fields[4] == "forward";
          const long start = ptr(nextEdge, nextForward ? 0 : 2, "vertex");
          if (end != start) fail(i, "ends at a vertex where the next coedge does not start");
        }
      }
    } else if (r.name == "edge") {
      const long v0 = ptr(i, 0, "vertex"), v1 = ptr(i, 2, "vertex");
      const long curve = ptr(i, 5, "curve");
      if (v0 < 0 || v1 < 0 || curve < 0) continue;
      double p0[3], p1[3];
      point(v0, p0);
      point(v1, p1);
      const SatRecord& c = file.records[curve];
      auto at = [&](double t, double out[3]) {
        if (c.name == "straight-curve") {
          for (int k = 0; k < 3; ++k) out[k] = real(curve, k) + t * real(curve, 3 + k);
          return true;
        }
        if (c.name == "ellipse-curve") {
          const double nrm[3] = {real(curve, 3), real(curve, 4), real(curve, 5)};
          const double m[3] = {real(curve, 6), real(curve, 7), real(curve, 8)};
          const double ratio = real(curve, 9);
          const double nm[3] = {nrm[1] * m[2] - nrm[2] * m[1], nrm[2] * m[0] - nrm[0] * m[2],
                                nrm[0] * m[1] - nrm[1] * m[0]};
          for (int k = 0; k < 3; ++k)
            out[k] = real(curve, k) + std::cos(t) * m[k] + std::sin(t) * ratio * nm[k];
          return true;
        }
        if (c.name == "intcurve-curve") return EvaluateIntcurve(c.fields, t, out);
        return false;
      };
      double q[3];
      const double scale = 1 + std::fabs(p0[0]) + std::fabs(p0[1]) + std::fabs(p0[2]);
      if (at(real(i, 1), q) &&
          std::hypot(q[0] - p0[0], q[1] - p0[1], q[2] - p0[2]) > tolerance * scale)
        fail(i, "start is not on its curve");
      if (at(real(i, 3), q) &&
          std::hypot(q[0] - p1[0], q[1] - p1[1], q[2] - p1[2]) > tolerance * scale)
        fail(i, "end is not on its curve");
    } else if (r.name == "vertex") {
      const long edge = ptr(i, 0, "edge");
      if (edge >= 0 && ptr(edge, 0, "vertex") != i && ptr(edge, 2, "vertex") != i)
        fail(i, "its edge does not end here");
    }
  }
  for (const auto& [edge, coedges] : coedgesOfEdge) {
    if (closedSolids && coedges.size() != 2 && file.records[edge].fields[5] != "$-1")
      fail(edge, std::to_string(coedges.size()) + " coedges on a solid's edge");
    if (coedges.size() == 2) {
      const SatRecord& a = file.records[coedges[0]];
      const SatRecord& b = file.records[coedges[1]];
      if (a.fields[2] != "$" + std::to_string(coedges[1]) ||
          b.fields[2] != "$" + std::to_string(coedges[0]))
        fail(edge, "its two coedges are not partners");
      else if (a.fields[4] == b.fields[4])
        fail(edge, "its partner coedges have the same sense");
    }
  }
  return problems;
}

inline std::string JoinProblems(const std::vector<std::string>& problems) {
  std::string text;
  for (const auto& p : problems) text += p + "\n";
  return text;
}

}  // namespace plx::test
