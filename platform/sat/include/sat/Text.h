// The SAT text tokenizer: header lines and records as the versions in real files write them.
#pragma once

#include <string_view>

#include "sat/Records.h"

namespace plx::sat {

// Parses SAT text: the version line (version, record count, body count and a flag word), for
// versions from 200 on a line of three counted strings (product, modeller version, date) and
// a line of three reals, then records, each a name, tokens and "#", up to End-of-ACIS-data or
// the end of the text. Counted strings are "@N text" from 700 on, read as exactly N characters
// (spaces included); before 700 they are plain numbers that Cursor::String reads through.
// Throws FormatError for text that is not SAT (no version line), a header that cannot be read,
// a record without its closing "#", or a token that cannot be read.
File ParseText(std::string_view text);

// True when the text begins as a SAT file does (a version number first).
bool LooksLikeText(std::string_view text);

}  // namespace plx::sat
