// QMSTL::STLToMesh on a file of the input bytes (binary when the size fits the facet count,
// ASCII otherwise): a bad file fails with a reason and leaves the caller's mesh as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "FuzzFile.h"
#include "QMLib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto& path = plx::fuzz::WriteInputFile(data, size, ".stl");
  ON_Mesh mesh;
  if (QMSTL::STLToMesh(CString(path.wstring().c_str()), mesh) == 1) {
    // Every face names vertices the mesh has.
    const int vertices = mesh.m_V.Count();
    for (int i = 0; i < mesh.m_F.Count(); ++i)
      for (int corner : mesh.m_F[i].vi)
        if (corner < 0 || corner >= vertices) std::abort();
  } else if (mesh.m_V.Count() != 0 || mesh.m_F.Count() != 0) {
    std::abort();  // a failure leaves the mesh as it was (empty)
  }
  return 0;
}
