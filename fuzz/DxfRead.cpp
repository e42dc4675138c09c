// The DXF reader on bytes held in memory: ASCII and binary files, every section and entity.
// A damaged file must give an error that names where, never a crash, a hang or a leak.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "arxhost/Dxf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  const auto drawing =
      plx::dxf::ReadDxf(std::string_view(reinterpret_cast<const char*>(data), size), error);
  // A failure always says why.
  if (!drawing && error.empty()) std::abort();
  return 0;
}
