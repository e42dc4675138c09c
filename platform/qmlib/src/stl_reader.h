// Reads an STL file into a mesh (QMSTL::STLToMesh).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "opennurbs.h"

namespace qmlib {

// path: the Linux path; shown: the caller's path for messages. On success mesh is replaced by
// the file's triangles; on failure mesh is untouched and error holds the reason.
bool ReadStl(const std::string& path, const std::wstring& shown, ON_Mesh& mesh, std::wstring& error);

// Reads ASCII STL text into mesh, which must be empty: first the preamble already read from
// the file, then the rest of fd. fileSize only sizes the arrays. Never reads outside the data.
bool ReadAsciiStl(int fd, const char* preamble, size_t preambleSize, uint64_t fileSize, const std::wstring& shown,
                  ON_Mesh& mesh, std::wstring& error);

}  // namespace qmlib
