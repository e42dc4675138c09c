// A module of the test build, not of the product: its UNITESELECTED command unites the selected
// objects into one new 3D solid in model space and erases them, so that scripts can hand the
// product a solid made by the toolkit's Booleans.
#include "Toolkit.h"
#include "arx.h"
#include "toolkit/Layers.h"
#include "toolkit/SolidConversion.h"

namespace {

void UniteSelected() {
  AcDbObjectIdArray ids(0, 8);
  if (!SelectObjects(L"", 0, ids)) {
    acutPrintf(L"Failure [%s]\n", static_cast<LPCWSTR>(GetHostError()));
    return;
  }
  auto* united = new AcDb3dSolid;
  if (!UniteObjects(ids, united) || AppendToModelSpace(united, nullptr) != Acad::eOk) {
    acutPrintf(L"Failure [%s]\n", static_cast<LPCWSTR>(GetMeshError()));
    delete united;
    return;
  }
  united->close();
  for (int i = 0; i < ids.length(); ++i) {
    ads_name name;
    if (acdbGetAdsName(name, ids[i]) == Acad::eOk) acdbEntDel(name);
  }
  acutPrintf(L"United %d objects\n", ids.length());
}

HINSTANCE Instance = nullptr;

class CSolidsTestApp : public AcRxArxApp {
 public:
  using AcRxArxApp::AcRxArxApp;
  void RegisterServerComponents() override {}
};

constexpr AcEdCommandEntry kCommands[] = {
    {L"PLX_SolidsTest", L"_UniteSelected", L"UNITESELECTED", ACRX_CMD_MODAL, UniteSelected, nullptr, -1},
};

constinit CSolidsTestApp theApp(&Instance, kCommands, 1);

}  // namespace

IMPLEMENT_ARX_ENTRYPOINT(theApp)

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID) {
  Instance = instance;
  return TRUE;
}
