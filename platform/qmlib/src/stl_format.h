// Layout constants of STL files and the VisCAM/SolidView colour word, shared by the writer
// and the reader. Binary STL: an 80-byte header, a little-endian uint32 facet count, then per
// facet 12 little-endian floats (normal, three corners) and a 16-bit attribute word.
#pragma once

#include <cstdint>
#include <string>

#include "opennurbs.h"

namespace qmlib {

constexpr int kHeaderSize = 80;
constexpr int kBinaryPreambleSize = 84;  // header and facet count
constexpr int kFacetRecordSize = 50;
constexpr uint64_t kMaxBinaryFacets = 0xFFFFFFFFull;

// Bit 15 marks the colour as valid; each channel keeps its top five bits.
inline uint16_t StlColorWord(ON_Color color) {
  const auto r = static_cast<unsigned>(color.Red()) >> 3;
  const auto g = static_cast<unsigned>(color.Green()) >> 3;
  const auto b = static_cast<unsigned>(color.Blue()) >> 3;
  return static_cast<uint16_t>(0x8000u | (r << 10) | (g << 5) | b);
}

// False with a reason when facetCount does not fit the 32-bit count of a binary file.
bool CheckBinaryFacetCount(uint64_t facetCount, std::wstring& error);

}  // namespace qmlib
