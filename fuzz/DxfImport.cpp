// The DXF import into a fresh drawing (reader, tables, blocks, every entity class): the file
// is checked, then streamed into the database, and a refused file leaves the drawing empty.
#include "arxhost/DxfImport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "FuzzFile.h"
#include "dbmain.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto& path = plx::fuzz::WriteInputFile(data, size, ".dxf");
  auto database = std::make_unique<AcDbDatabase>();
  std::string error;
  plx::host::DxfImportReport report;
  const bool ok = plx::host::ImportDxfFile(path, *database, error, &report);
  if (!ok && error.empty()) std::abort();
  return 0;
}
