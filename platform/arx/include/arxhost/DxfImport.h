// The host's DXF import, for `_dxfin`, tests and benchmarks: a DXF file read with the reader of
// arxhost/Dxf.h and turned into database objects of a drawing. And what the ZOOM command keeps,
// as our host has no view to change.
#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

class AcDbDatabase;

namespace plx::host {

struct DxfImportReport {
  size_t appended = 0;  // entities appended to model space, paper space and blocks
  // Entities the drawing model does not hold, by DXF type (the reader's and the import's).
  std::map<std::string, int> skipped;
  // Entities of a held type whose data the classes refuse (a zero radius, knots that do not
  // add up, an insert of a block the file lacks), by DXF type.
  std::map<std::string, int> leftOut;
  // 3D solids, bodies and regions whose ACIS data cannot be read, each "<type> <handle>:
  // <reason>" (the handle in hexadecimal), in file order.
  std::vector<std::string> unreadable;
};

// Reads the DXF file and adds its layers, linetypes, blocks and entities to the database:
// ENTITIES into model space (paper space for those marked so), blocks as block table records.
// Layers, linetypes and (named) blocks that the database already has keep their settings.
// False with a message in error for a file that cannot be read or is damaged (it names the
// line) and when the database refuses a step; the database is then left as it was.
bool ImportDxfFile(const std::filesystem::path& path, AcDbDatabase& database, std::string& error,
                   DxfImportReport* report = nullptr);

// The option of the last ZOOM ("Extents", "All", "Window", "Scale", ...; empty before any) and
// how many ZOOM commands finished in this session.
std::wstring LastZoom();
int ZoomCount();

}  // namespace plx::host
