// QMACISMesh: the module's SAT door. Meshes become faceted bodies (mesh_to_sat), written as
// SAT text by the SAT library; every exception becomes a failure with a reason.
#include <exception>
#include <new>

#include "QMLib.h"
#include "mesh_to_sat.h"
#include "sat/SatWriter.h"
#include "win32/text.h"

namespace {

std::wstring& LastError() {
  static std::wstring text;
  return text;
}

// Appends the bodies of the meshes to document: one body per mesh, or one for all.
bool AddBodies(const ON_Mesh* const* meshes, int count, bool orient, bool bodyPerMesh,
               bool numbered, plx::sat::SatDocument& document, std::wstring& error) {
  std::vector<std::vector<plx::sat::Polyhedron>> all(count);
  bool allClosed = true;
  for (int i = 0; i < count; ++i) {
    bool closed = false;
    if (!qmlib::MeshToPolyhedra(*meshes[i], orient, all[i], closed, error)) {
      if (numbered) error = plx::FormatWide(L"Mesh %d: %s", i, error.c_str());
      return false;
    }
    allClosed = allClosed && closed;
    if (bodyPerMesh) {
      std::vector<const plx::sat::Polyhedron*> lumps;
      for (const auto& part : all[i]) lumps.push_back(&part);
      plx::sat::AddPolyhedralBody(document, lumps, closed);
      all[i].clear();
    }
  }
  if (!bodyPerMesh) {
    std::vector<const plx::sat::Polyhedron*> lumps;
    for (const auto& parts : all)
      for (const auto& part : parts) lumps.push_back(&part);
    plx::sat::AddPolyhedralBody(document, lumps, allClosed);
  }
  return true;
}

template <class Operation>
int Run(const CString& path, Operation&& operation) {
  std::wstring error;
  bool ok = false;
  try {
    plx::sat::SatDocument document;
    if (operation(document, error)) {
      std::string fileError;
      ok = plx::sat::WriteFileReplacing(plx::NativePath(path.Str()), document.Text(), fileError);
      if (!ok) error = plx::WideFromUtf8(fileError);
    }
  } catch (const std::bad_alloc&) {
    error = plx::FormatWide(L"Out of memory while writing %s", path.GetString());
  } catch (const std::exception& e) {
    error = plx::FormatWide(L"Failure while writing %s: %s", path.GetString(),
                            plx::WideFromUtf8(e.what()).c_str());
  }
  if (!ok && error.empty()) error = plx::FormatWide(L"Failure while writing %s", path.GetString());
  LastError() = ok ? std::wstring() : error;
  return ok ? 1 : 0;
}

}  // namespace

int QMACISMesh::MeshToSAT(const ON_Mesh& mesh, CString path, int orient) {
  return Run(path, [&](plx::sat::SatDocument& document, std::wstring& error) {
    const ON_Mesh* one = &mesh;
    return AddBodies(&one, 1, orient != 0, true, false, document, error);
  });
}

int QMACISMesh::MeshToSAT(const ON_ClassArray<ON_Mesh>& meshes, CString path, int orient,
                          int bodyPerMesh) {
  return Run(path, [&](plx::sat::SatDocument& document, std::wstring& error) {
    if (meshes.Count() == 0) {
      error = L"The mesh list is empty.";
      return false;
    }
    std::vector<const ON_Mesh*> list;
    for (int i = 0; i < meshes.Count(); ++i) list.push_back(&meshes[i]);
    return AddBodies(list.data(), meshes.Count(), orient != 0, bodyPerMesh != 0, true, document,
                     error);
  });
}

CString QMACISMesh::GetError() { return CString(LastError()); }
