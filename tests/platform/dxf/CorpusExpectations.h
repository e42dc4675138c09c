// The corpus of real DXF files and what each holds, for the reader's tests and the import's.
#pragma once

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace plx::test {

// What each corpus file holds, counted apart from the reader (a script over the groups):
// entities by type in the blocks and the entities (modelled or not), polyface totals (vertices,
// faces, four-sided faces, faces with an invisible edge, faces with their own colour), polygon
// meshes ("MxN/colour/closed flags"), modelled entities with a 62 group, the sum of those
// colours, those with a 420 group, layers, layers that are off.
struct Expected {
  const char* file;
  const char* types;
  std::array<int, 5> polyface;
  std::vector<std::string> meshes;
  int coloured, colourSum, trueColoured, layers, layersOff;
};

inline const std::vector<Expected>& Table() {
  static const std::vector<Expected> table = {
      {"assimp_PinkEggFromLW.dxf", "3DFACE:288", {0, 0, 0, 0, 0}, {}, 0, 0, 0, 0, 0},
      {"assimp_issue_2229.dxf",
       "POLYLINE:4 VIEWPORT:1",
       {768, 1290, 230, 158, 1290},
       {},
       4,
       271,
       0,
       1,
       0},
      {"assimp_wuson.dxf", "INSERT:1 POLYLINE:1", {3205, 3732, 0, 0, 3732}, {}, 0, 0, 0, 0, 0},
      {"dxfparser_extendeddata.dxf", "LINE:8 VIEWPORT:1", {0, 0, 0, 0, 0}, {}, 0, 0, 0, 1, 0},
      {"ezdxf_3dface.dxf",
       "3DFACE:46 LWPOLYLINE:6 MTEXT:16 TEXT:6",
       {0, 0, 0, 0, 0},
       {},
       0,
       0,
       0,
       1,
       0},
      {"ezdxf_3dsolids.dxf", "3DSOLID:5", {0, 0, 0, 0, 0}, {}, 1, 0, 0, 2, 0},
      {"ezdxf_Minimal_DXF_AC1006.dxf", "3DFACE:2 LINE:1", {0, 0, 0, 0, 0}, {}, 3, 3, 0, 2, 0},
      {"ezdxf_POLI-ALL210_12.dxf", "3DFACE:1 POLYLINE:30", {0, 0, 0, 0, 0}, {}, 31, 607, 0, 2, 0},
      {"ezdxf_bin_dxf_r2000.dxf", "TEXT:1", {0, 0, 0, 0, 0}, {}, 0, 0, 0, 2, 0},
      {"ezdxf_colors.dxf",
       "CIRCLE:10 INSERT:4 LWPOLYLINE:13 MTEXT:18",
       {0, 0, 0, 0, 0},
       {},
       24,
       735,
       8,
       3,
       0},
      {"ezdxf_hatches_2.dxf",
       "ARC:1 ELLIPSE:1 HATCH:2 LWPOLYLINE:4 MTEXT:2 SPLINE:1",
       {0, 0, 0, 0, 0},
       {},
       2,
       356,
       2,
       1,
       0},
      {"ezdxf_houses_of_parliament_georeferenced.dxf",
       "LWPOLYLINE:1",
       {0, 0, 0, 0, 0},
       {},
       0,
       0,
       0,
       1,
       0},
      {"ezdxf_small_r13.dxf", "POLYLINE:16", {0, 0, 0, 0, 0}, {}, 0, 0, 0, 3, 0},
      {"ezdxf_sphere_r2018.dxf", "3DSOLID:1", {0, 0, 0, 0, 0}, {}, 0, 0, 0, 2, 0},
      {"ezdxf_torus_r2000.dxf", "3DSOLID:1", {0, 0, 0, 0, 0}, {}, 0, 0, 0, 2, 0},
      {"ezdxf_torus_r2004.dxf", "3DSOLID:1", {0, 0, 0, 0, 0}, {}, 0, 0, 0, 2, 0},
      {"ezdxf_torus_r2010.dxf", "3DSOLID:1", {0, 0, 0, 0, 0}, {}, 0, 0, 0, 2, 0},
      {"ezdxf_uncommon.dxf",
       "3DSOLID:2 ARC:14 ARC_DIMENSION:1 ATTDEF:1 ATTRIB:1 CIRCLE:1 DIMENSION:13 INSERT:1 "
       "LARGE_RADIAL_DIMENSION:2 LINE:93 LWPOLYLINE:9 MESH:1 MTEXT:47 MULTILEADER:2 POINT:94 "
       "POLYLINE:2 "
       "RAY:3 SOLID:35 SPLINE:1 VIEWPORT:2 XLINE:2",
       {16, 3, 3, 0, 0},
       {},
       236,
       0,
       0,
       2,
       0},
      {"libredwg_2000_PolyLine2D.dxf",
       "LINE:4 POLYLINE:2 VIEWPORT:7",
       {0, 0, 0, 0, 0},
       {},
       6,
       0,
       0,
       2,
       0},
      {"libredwg_2000_PolyLine3D.dxf", "POLYLINE:1", {0, 0, 0, 0, 0}, {}, 0, 0, 0, 1, 0},
      {"libredwg_2000_TS1.dxf",
       "3DFACE:1 3DSOLID:1 ACAD_TABLE:1 ARC:5 ATTDEF:2 ATTRIB:1 CIRCLE:2 DIMENSION:6 ELLIPSE:1 "
       "HATCH:2 "
       "INSERT:1 LEADER:1 LINE:25 LWPOLYLINE:3 MLINE:1 MTEXT:9 OLE2FRAME:1 POINT:20 POLYLINE:1 "
       "RAY:1 "
       "REGION:1 SOLID:8 SPLINE:1 TEXT:1 TRACE:1",
       {0, 0, 0, 0, 0},
       {"3x4/256/0"},
       61,
       8,
       0,
       3,
       0},
      {"libredwg_example_2000.dxf",
       "3DFACE:2 3DSOLID:1 ACAD_TABLE:1 ARC:5 ARC_DIMENSION:1 ATTDEF:3 ATTRIB:2 CIRCLE:1 "
       "DIMENSION:9 "
       "ELLIPSE:1 HATCH:1 INSERT:10 LIGHT:1 LINE:68 LWPOLYLINE:11 MLINE:1 MTEXT:18 MULTILEADER:1 "
       "POINT:46 "
       "POLYLINE:2 RAY:1 REGION:2 SOLID:15 SPLINE:2 TEXT:2 TOLERANCE:1 VIEWPORT:2 WIPEOUT:2 "
       "XLINE:1",
       {6, 3, 1, 0, 0},
       {},
       123,
       8,
       0,
       5,
       0},
      {"libredwg_example_2013.dxf",
       "3DFACE:2 3DSOLID:1 ACAD_TABLE:1 ARC:5 ARC_DIMENSION:1 ATTDEF:3 ATTRIB:2 CIRCLE:1 "
       "DIMENSION:9 "
       "ELLIPSE:1 HATCH:1 INSERT:10 LIGHT:1 LINE:68 LWPOLYLINE:11 MLINE:1 MTEXT:18 MULTILEADER:1 "
       "POINT:46 "
       "POLYLINE:2 RAY:1 REGION:2 SOLID:15 SPLINE:2 TEXT:2 TOLERANCE:1 VIEWPORT:2 WIPEOUT:2 "
       "XLINE:1",
       {6, 3, 1, 0, 0},
       {},
       123,
       8,
       0,
       5,
       0},
      {"libredwg_example_r12.dxf",
       "3DFACE:2 ARC:7 ATTDEF:3 ATTRIB:2 CIRCLE:1 DIMENSION:9 INSERT:35 LINE:1454 POINT:46 "
       "POLYLINE:17 "
       "SOLID:18 TEXT:32 VIEWPORT:1",
       {6, 3, 1, 0, 0},
       {},
       1421,
       16,
       0,
       5,
       0},
      {"libredwg_r10_entities.dxf",
       "3DFACE:1 3DLINE:1 ARC:1 ATTDEF:2 ATTRIB:1 CIRCLE:1 DIMENSION:1 INSERT:2 LINE:6 POINT:4 "
       "POLYLINE:2 "
       "SHAPE:1 SOLID:3 TEXT:1 TRACE:1",
       {0, 0, 0, 0, 0},
       {},
       9,
       0,
       0,
       2,
       1},
      {"netdxf_sample.dxf",
       "3DFACE:1 ACAD_TABLE:1 ARC:12 ARC_DIMENSION:1 ATTDEF:1 ATTRIB:1 CIRCLE:5 DIMENSION:8 "
       "ELLIPSE:1 "
       "HATCH:3 IMAGE:1 INSERT:5 LEADER:1 LINE:66 LWPOLYLINE:2 MESH:1 MLINE:2 MTEXT:23 "
       "PDFUNDERLAY:1 "
       "POINT:45 POLYLINE:5 RAY:1 SHAPE:1 SOLID:18 SPLINE:1 TEXT:1 VIEWPORT:2 WIPEOUT:1 XLINE:1",
       {5, 2, 1, 2, 0},
       {"6x4/256/0"},
       150,
       643,
       0,
       7,
       0},
      {"threedxf_demo.dxf",
       "ARC:1 CIRCLE:2 INSERT:3 LINE:5 LWPOLYLINE:1 MTEXT:9 POINT:3 SOLID:7 SPLINE:5 TEXT:10",
       {0, 0, 0, 0, 0},
       {},
       6,
       20,
       0,
       2,
       0},
  };
  return table;
}

inline std::vector<std::string> CorpusFiles() {
  std::vector<std::string> files;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(plx::test::CorpusDir(), ec))
    if (entry.path().extension() == ".dxf") files.push_back(entry.path().filename().string());
  std::sort(files.begin(), files.end());
  return files;
}

// The row of a file, or null.
inline const Expected* FindExpected(const std::string& file) {
  for (const Expected& e : Table())
    if (file == e.file) return &e;
  return nullptr;
}

// A test name from a file name.
inline std::string CorpusTestName(const std::string& file) {
  std::string name = std::filesystem::path(file).stem().string();
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

}  // namespace plx::test
