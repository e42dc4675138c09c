// The Plovex command: select objects, ask for the target file and the options, convert the
// objects to meshes through the toolkit and write them with the data-exchange module.
#include "ExportCommand.h"

#include "Caption.h"
#include "PlovexApp.h"
#include "PlovexOptionsDlg.h"
#include "QMLib.h"
#include "Toolkit.h"
#include "afxdlgs.h"
#include "arx.h"

namespace {

// Makes the module's resources current for as long as it lives.
class ResourceOverride {
 public:
  ResourceOverride() { acDocManagerPtr()->pushResourceHandle(ModuleInstance); }
  ~ResourceOverride() { acDocManagerPtr()->popResourceHandle(); }
  ResourceOverride(const ResourceOverride&) = delete;
  ResourceOverride& operator=(const ResourceOverride&) = delete;
};

}  // namespace

double FacetResFromResolution(int resolution) { return static_cast<double>(resolution) / 100.0 * 9.99 + 0.01; }

int ExportToSTL() {
  AcDbObjectIdArray ids(0, 8);
  if (!SelectObjects(CString(), 1, ids)) {
    acutPrintf(L"Failure [%s]\n", GetHostError().GetString());
    return 0;
  }

  CFileDialog saveAs(FALSE, L"stl", L"Export.stl", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                     L"Stereolithography STL Files (*.stl)|*.stl||", nullptr);
  if (saveAs.DoModal() == IDCANCEL) {
    acutPrintf(L"Failure [Command cancelled]\n");
    return 0;
  }

  ResourceOverride resources;
  CPlovexOptionsDlg options(CWnd::FromHandle(adsw_acadMainWnd()));
  if (options.DoModal() == IDCANCEL) {
    acutPrintf(L"Failure [Command cancelled]\n");
    return 0;
  }

  const double facetRes = FacetResFromResolution(options.m_nResolution);
  ON_ClassArray<ON_Mesh> meshes;
  ObjectsToMeshes(ids, meshes, &facetRes);
  if (!QMSTL::MeshToSTL(meshes, saveAs.GetPathName(), options.m_nType)) {
    MessageBoxW(adsw_acadMainWnd(), QMSTL::GetError(), ProductCaption, MB_OK | MB_ICONEXCLAMATION);
    return 0;
  }
  acutPrintf(L"Successfully exported %d meshes to a STL file\n", meshes.Count());
  return 1;
}

void Plovex() {
  BuildCaption();
  ExportToSTL();
}
