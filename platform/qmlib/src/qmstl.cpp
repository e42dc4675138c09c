// QMSTL: the module's STL door. Converts the caller's path, keeps the last error text, and
// turns every exception (an allocation that fails on a huge file) into a failure with a
// reason, since none may leave the module.
#include <exception>
#include <new>

#include "QMLib.h"
#include "stl_reader.h"
#include "stl_writer.h"
#include "win32/text.h"

namespace {

std::wstring& LastError() {
  static std::wstring text;
  return text;
}

template <class Operation>
int Run(const CString& path, const wchar_t* doing, Operation&& operation) {
  std::wstring error;
  bool ok = false;
  try {
    ok = operation(plx::NativePath(path.Str()), path.Str(), error);
  } catch (const std::bad_alloc&) {
    error = plx::FormatWide(L"Out of memory while %s %s", doing, path.GetString());
  } catch (const std::exception& e) {
    error = plx::FormatWide(L"Failure while %s %s: %s", doing, path.GetString(), plx::WideFromUtf8(e.what()).c_str());
  }
  if (!ok && error.empty()) error = plx::FormatWide(L"Failure while %s %s", doing, path.GetString());
  LastError() = ok ? std::wstring() : error;
  return ok ? 1 : 0;
}

}  // namespace

int QMSTL::MeshToSTL(const ON_ClassArray<ON_Mesh>& meshes, CString path, int type) {
  return Run(path, L"writing", [&](const std::string& target, const std::wstring& shown, std::wstring& error) {
    return qmlib::WriteStl(meshes, target, shown, type, error);
  });
}

int QMSTL::STLToMesh(CString path, ON_Mesh& mesh) {
  return Run(path, L"reading", [&](const std::string& source, const std::wstring& shown, std::wstring& error) {
    return qmlib::ReadStl(source, shown, mesh, error);
  });
}

CString QMSTL::GetError() { return CString(LastError()); }
