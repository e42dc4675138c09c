// Writes a list of meshes as one STL file (QMSTL::MeshToSTL).
#pragma once

#include <string>

#include "opennurbs.h"

namespace qmlib {

enum class StlType { kAscii = 0, kBinary = 1 };

// target: the Linux path; shown: the caller's path for messages. False with a reason in
// error; the target is then as it was.
bool WriteStl(const ON_ClassArray<ON_Mesh>& meshes, const std::string& target, const std::wstring& shown,
              int type, std::wstring& error);

}  // namespace qmlib
