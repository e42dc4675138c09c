// SAT text of boxes written as each version of the format writes them, so that the reader's
// handling of every version is tested on one known shape: a body per entry of bodies, a lump
// per box, a second shell per box with a cavity, an optional body transform.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace plx::test {

struct SatBox {
  std::array<double, 3> min{0, 0, 0};
  std::array<double, 3> size{1, 1, 1};
  bool cavity = false;  // a hollow of half the size in the middle, as a second shell
  bool open = false;    // the bottom face left out of the shell (its records stay, unused)
};

struct SatBody {
  std::vector<SatBox> lumps;
  bool transformed = false;  // rows: images of the axes, then translation, then scale
  std::array<double, 12> transform{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
};

class SatBoxWriter {
 public:
  explicit SatBoxWriter(int version) : version_(version) {}

  std::string Write(const std::vector<SatBody>& bodies, bool endMarker = true) {
    records_.clear();
    if (version_ >= 20800) records_.push_back("asmheader $-1 -1 @12 223.0.1.1930");
    for (const SatBody& body : bodies) WriteBody(body);
    std::string text = std::to_string(version_) + " " + std::to_string(records_.size()) + " " +
                       std::to_string(bodies.size() + (version_ >= 20800 ? 1 : 0)) + " 0\n";
    if (version_ >= 700)
      text +=
          "@33 Open Design Alliance ACIS Builder @12 ACIS 32.0 NT @24 Fri May 13 10:01:59 2022 \n";
    else if (version_ >= 200)
      text += "16 Autodesk AutoCAD 20 ASM 223.0.1.1930 OSX 0\n";
    if (version_ >= 200) text += "1 9.9999999999999995e-007 1e-010 \n";
    for (const std::string& record : records_) text += record + " #\n";
    if (endMarker) text += "End-of-ACIS-data\n";
    return text;
  }

 private:
  static std::string P(long index) { return "$" + std::to_string(index); }
  static std::string N(double v) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", v);
    return buffer;
  }
  std::string Prefix(bool entity) const {
    if (version_ < 700) return " $-1";
    return entity ? " $-1 -1 $-1" : " $-1 -1";
  }
  std::string Sense(bool reversed) const {
    if (version_ < 200) return reversed ? " 1" : " 0";
    return reversed ? " reversed" : " forward";
  }
  long Reserve() {
    records_.emplace_back();
    return static_cast<long>(records_.size()) - 1;
  }

  void WriteBody(const SatBody& body) {
    const long bodyIndex = Reserve();
    const long transformIndex = body.transformed ? Reserve() : -1;
    long previousLump = -1;
    long firstLump = -1;
    for (const SatBox& box : body.lumps) {
      const long lump = Reserve();
      if (previousLump >= 0)
        records_[previousLump].replace(records_[previousLump].find("NEXT"), 4, P(lump));
      else
        firstLump = lump;
      const long outer = WriteShell(box.min, box.size, lump, false, box.open);
      long inner = -1;
      if (box.cavity) {
        const std::array<double, 3> min{box.min[0] + box.size[0] / 4, box.min[1] + box.size[1] / 4,
                                        box.min[2] + box.size[2] / 4};
        const std::array<double, 3> size{box.size[0] / 2, box.size[1] / 2, box.size[2] / 2};
        inner = WriteShell(min, size, lump, true, false);
        records_[inner].replace(records_[inner].find("NEXT"), 4, "$-1");
      }
      if (inner >= 0)
        records_[outer].replace(records_[outer].find("NEXT"), 4, P(inner));
      else
        records_[outer].replace(records_[outer].find("NEXT"), 4, "$-1");
      records_[lump] = "lump" + Prefix(true) + " NEXT " + P(outer) + " " + P(bodyIndex);
      previousLump = lump;
    }
    if (previousLump >= 0)
      records_[previousLump].replace(records_[previousLump].find("NEXT"), 4, "$-1");
    records_[bodyIndex] = "body" + Prefix(true) + " " + P(firstLump) + " $-1 " + P(transformIndex);
    if (transformIndex >= 0) {
      std::string t = "transform" + Prefix(false);
      for (double v : body.transform) t += " " + N(v);
      t += " 1 rotate no_reflect no_shear";
      records_[transformIndex] = t;
    }
  }

  // Six faces; inward (a cavity) turns every face and runs every loop the other way.
  long WriteShell(const std::array<double, 3>& min, const std::array<double, 3>& size, long lump,
                  bool inward, bool open) {
    static const int kFaces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                     {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    static const double kNormals[6][3] = {{0, 0, -1}, {0, 0, 1},  {0, -1, 0},
                                          {0, 1, 0},  {-1, 0, 0}, {1, 0, 0}};
    auto corner = [&](int i) {
      return std::array<double, 3>{min[0] + (i & 1) * size[0], min[1] + ((i >> 1) & 1) * size[1],
                                   min[2] + ((i >> 2) & 1) * size[2]};
    };
    const long shell = Reserve();
    long faces[6], loops[6], planes[6], coedges[6][4];
    for (int f = 0; f < 6; ++f) faces[f] = Reserve();
    for (int f = 0; f < 6; ++f) loops[f] = Reserve();
    for (int f = 0; f < 6; ++f) planes[f] = Reserve();
    for (int f = 0; f < 6; ++f)
      for (int k = 0; k < 4; ++k) coedges[f][k] = Reserve();
    // Edges: one per pair of corners a face side joins, from the lower corner to the higher.
    std::vector<std::array<int, 2>> pairs;
    std::vector<std::vector<long>> users;
    auto edgeOf = [&](int a, int b) {
      const std::array<int, 2> key{std::min(a, b), std::max(a, b)};
      for (std::size_t i = 0; i < pairs.size(); ++i)
        if (pairs[i] == key) return static_cast<int>(i);
      pairs.push_back(key);
      users.emplace_back();
      return static_cast<int>(pairs.size()) - 1;
    };
    int faceEdges[6][4];
    for (int f = 0; f < 6; ++f)
      for (int k = 0; k < 4; ++k) {
        faceEdges[f][k] = edgeOf(kFaces[f][k], kFaces[f][(k + 1) % 4]);
        users[faceEdges[f][k]].push_back(coedges[f][k]);
      }
    std::vector<long> edges, curves;
    for (std::size_t e = 0; e < pairs.size(); ++e) edges.push_back(Reserve());
    for (std::size_t e = 0; e < pairs.size(); ++e) curves.push_back(Reserve());
    long vertices[8], points[8];
    for (long& v : vertices) v = Reserve();
    for (long& p : points) p = Reserve();

    records_[shell] = "shell" + Prefix(true) + " NEXT $-1 " + P(faces[open ? 1 : 0]) +
                      (version_ >= 200 ? " $-1 " : " ") + P(lump);
    for (int f = 0; f < 6; ++f) {
      records_[faces[f]] = "face" + Prefix(true) + " " + P(f < 5 ? faces[f + 1] : -1) + " " +
                           P(loops[f]) + " " + P(shell) + " $-1 " + P(planes[f]) + Sense(inward) +
                           (version_ < 200 ? " 0" : " single");
      records_[loops[f]] = "loop" + Prefix(true) + " $-1 " + P(coedges[f][0]) + " " + P(faces[f]);
      const auto root = corner(kFaces[f][0]);
      const auto next = corner(kFaces[f][1]);
      std::string plane = "plane-surface" + Prefix(true);
      for (double v : root) plane += " " + N(v);
      for (double v : kNormals[f]) plane += " " + N(v);
      for (int i = 0; i < 3; ++i) plane += " " + N(next[i] - root[i]);
      plane += version_ < 200 ? " 0 0 0 0" : " forward_v I I I I";
      records_[planes[f]] = plane;
      for (int k = 0; k < 4; ++k) {
        // A cavity's loops run the other way round: its coedges go backwards.
        const int at = k;
        const int from = inward ? kFaces[f][(at + 1) % 4] : kFaces[f][at];
        const int e = faceEdges[f][at];
        const bool reversed = from != pairs[e][0];
        const long nextCoedge = inward ? coedges[f][(k + 3) % 4] : coedges[f][(k + 1) % 4];
        const long prevCoedge = inward ? coedges[f][(k + 1) % 4] : coedges[f][(k + 3) % 4];
        const long partner = users[e][0] == coedges[f][k] ? users[e][1] : users[e][0];
        records_[coedges[f][k]] = "coedge" + Prefix(true) + " " + P(nextCoedge) + " " +
                                  P(prevCoedge) + " " + P(partner) + " " + P(edges[e]) +
                                  Sense(reversed) + " " + P(loops[f]) + " $-1";
      }
    }
    for (std::size_t e = 0; e < pairs.size(); ++e) {
      const auto a = corner(pairs[e][0]);
      const auto b = corner(pairs[e][1]);
      double length = 0;
      for (int i = 0; i < 3; ++i) length += (b[i] - a[i]) * (b[i] - a[i]);
      length = std::sqrt(length);
      std::string edge = "edge" + Prefix(true) + " " + P(vertices[pairs[e][0]]);
      if (version_ >= 700) edge += " 0";
      edge += " " + P(vertices[pairs[e][1]]);
      if (version_ >= 700) edge += " " + N(length);
      edge += " " + P(users[e][0]) + " " + P(curves[e]) + Sense(false);
      if (version_ >= 700) edge += " @7 unknown";
      records_[edges[e]] = edge;
      std::string curve = "straight-curve" + Prefix(true);
      for (double v : a) curve += " " + N(v);
      for (int i = 0; i < 3; ++i) curve += " " + N((b[i] - a[i]) / length);
      curve += version_ < 200 ? " 0 0" : " I I";
      records_[curves[e]] = curve;
    }
    for (int v = 0; v < 8; ++v) {
      long anEdge = 0;
      for (std::size_t e = 0; e < pairs.size(); ++e)
        if (pairs[e][0] == v || pairs[e][1] == v) anEdge = edges[e];
      records_[vertices[v]] = "vertex" + Prefix(true) + " " + P(anEdge) +
                              (version_ >= 21200 ? " 1 " : " ") + P(points[v]);
      std::string point = "point" + Prefix(true);
      for (double c : corner(v)) point += " " + N(c);
      records_[points[v]] = point;
    }
    return shell;
  }

  int version_;
  std::vector<std::string> records_;
};

}  // namespace plx::test
