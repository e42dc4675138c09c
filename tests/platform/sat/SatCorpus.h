// The SAT texts of the corpus drawings' 3D solids, bodies and regions, deciphered from the DXF
// groups apart from the host's reader: group 1 starts a line, group 3 continues it; "^ " is
// "^", then every character c other than a space stands for 159 - c.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "TestSupport.h"

namespace plx::test {

struct CorpusSat {
  std::string drawing;  // file name in the corpus
  int index = 0;        // among the drawing's solids, bodies and regions, 0-based
  std::string entity;   // 3DSOLID, BODY or REGION
  std::string text;     // the SAT text, one record a line
  std::string Name() const {
    return drawing.substr(0, drawing.size() - 4) + "_" + std::to_string(index);
  }
};

inline void PrintTo(const CorpusSat& sat, std::ostream* out) { *out << sat.Name(); }

inline std::string DecipherSatLine(std::string_view line) {
  std::string plain;
  for (std::size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (c == '^' && i + 1 < line.size() && line[i + 1] == ' ') ++i;
    if (c == ' ') {
      plain += ' ';
      continue;
    }
    plain += static_cast<char>(159 - static_cast<unsigned char>(c));
  }
  return plain;
}

inline std::vector<CorpusSat> CorpusSatTexts(const std::string& drawing) {
  std::ifstream in(CorpusDir() / drawing, std::ios::binary);
  const std::string all((std::istreambuf_iterator<char>(in)), {});
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < all.size()) {
    std::size_t end = all.find('\n', pos);
    if (end == std::string::npos) end = all.size();
    std::string line = all.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    pos = end + 1;
  }
  std::vector<CorpusSat> found;
  CorpusSat* current = nullptr;
  for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
    std::string code = lines[i];
    code.erase(0, code.find_first_not_of(' '));
    const std::string& value = lines[i + 1];
    if (code == "0") {
      current = nullptr;
      if (value == "3DSOLID" || value == "BODY" || value == "REGION") {
        found.push_back({drawing, static_cast<int>(found.size()), value, ""});
        current = &found.back();
      }
    } else if (current && code == "1") {
      current->text += DecipherSatLine(value) + "\n";
    } else if (current && code == "3" && !current->text.empty()) {
      current->text.pop_back();
      current->text += DecipherSatLine(value) + "\n";
    }
  }
  return found;
}

inline const std::vector<std::string>& SatDrawings() {
  static const std::vector<std::string> drawings = {
      "ezdxf_3dsolids.dxf",    "ezdxf_torus_r2000.dxf",     "ezdxf_torus_r2004.dxf",
      "ezdxf_torus_r2010.dxf", "libredwg_example_2000.dxf", "libredwg_2000_TS1.dxf"};
  return drawings;
}

inline std::vector<CorpusSat> AllCorpusSat() {
  std::vector<CorpusSat> all;
  for (const std::string& drawing : SatDrawings())
    for (CorpusSat& sat : CorpusSatTexts(drawing)) all.push_back(std::move(sat));
  return all;
}

// Saves the text as a SAT file in dir and gives its path.
inline std::filesystem::path SaveSat(const TempDir& dir, const CorpusSat& sat) {
  const std::filesystem::path path = dir / (sat.Name() + ".sat");
  WriteFile(path, sat.text);
  return path;
}

}  // namespace plx::test
