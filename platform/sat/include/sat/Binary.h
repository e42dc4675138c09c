// The SAB tokenizer: the binary form of ACIS data (DXF from R2013 keeps its solids so) into the
// same record model as SAT text, one token for each token the text form writes.
#pragma once

#include <cstdint>
#include <span>

#include "sat/Records.h"

namespace plx::sat {

// Parses SAB: 15 magic bytes ("ACIS BinaryFile" or "ASM BinaryFile4"), the four header numbers
// as little-endian int32 (version, record count, body count, flags), product, modeller version
// and date as strings, three reals (units scale, resabs, resnor), then records up to the end
// marker ("End-of-ASM-data" or "End-of-ACIS-data"). Each value sits behind one tag byte:
// 04 int32, 06 float64, 07 string with a 1-byte length, 12 string with a 4-byte length,
// 0C pointer (int32, -1 for none), 0E and 0D name parts (0D the last), 0B and 0A the two sides
// of a logical (forward/reversed, single/double, I/F, ...), 13 position and 14 vector (three
// float64), 11 end of record. A transform written as one string of its fields gives the tokens
// of that text. Throws FormatError, naming the byte offset, for data that is not SAB, is cut
// short (no end marker), or holds an unknown tag.
File ParseBinary(std::span<const std::uint8_t> data);

// True when the data begins with one of the SAB magic strings.
bool LooksLikeBinary(std::span<const std::uint8_t> data);

}  // namespace plx::sat
