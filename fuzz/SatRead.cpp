// libFuzzer target: SAT text through the tokenizer and into the modeller. Any input must give a
// status with a reason or shapes that answer for their extents and tessellate (or refuse to)
// as the export road asks them to; never a crash or a leak.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "arxhost/Modeller.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Bodies of real drawings are a few kilobytes; longer inputs only slow the search.
  if (size > 64 * 1024) return 0;
  const plx::modeller::SatReadResult read =
      plx::modeller::ReadSatText(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!read.Ok() && read.reason.empty()) __builtin_trap();
  for (const plx::modeller::Shape& shape : read.bodies) {
    plx::modeller::Point3 low, high;
    if (shape.Extents(low, high) != Acad::eOk) continue;
    std::vector<plx::modeller::Triangle> triangles;
    shape.Tessellate(0.5, triangles);
  }
  return 0;
}
