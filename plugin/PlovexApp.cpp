#include "PlovexApp.h"

#include <iterator>

#include "Caption.h"

namespace {

constexpr AcEdCommandEntry kPlovexCommands[] = {
    {L"TVK_Plovex", L"_Plovex", L"Plovex", ACRX_CMD_TRANSPARENT, Plovex, nullptr, -1},
    {L"TVK_Plovex", L"_PlovexHelp", L"PlovexHelp", ACRX_CMD_TRANSPARENT, PlovexHelp, nullptr, -1},
    {L"TVK_Plovex", L"_PlovexAbout", L"PlovexAbout", ACRX_CMD_TRANSPARENT, PlovexAbout, nullptr, -1},
};

}  // namespace

// Constant-initialised: the object is complete before any of the module's code runs.
constinit CPlovexApp theApp(&ModuleInstance, kPlovexCommands, std::size(kPlovexCommands));

IMPLEMENT_ARX_ENTRYPOINT(theApp)

AcRx::AppRetCode CPlovexApp::On_kInitAppMsg(void* pkt) {
  const AcRx::AppRetCode result = AcRxArxApp::On_kInitAppMsg(pkt);
  LoadPlovexMenu();
  return result;
}

AcRx::AppRetCode CPlovexApp::On_kUnloadAppMsg(void* pkt) { return AcRxArxApp::On_kUnloadAppMsg(pkt); }

void CPlovexApp::RegisterServerComponents() {}

void LoadPlovexMenu() {
  wchar_t modulePath[MAX_PATH] = {};
  GetModuleFileNameW(ModuleInstance, modulePath, MAX_PATH);
  wchar_t drive[_MAX_DRIVE], dir[_MAX_DIR], name[_MAX_FNAME], ext[_MAX_EXT];
  _wsplitpath(modulePath, drive, dir, name, ext);
  // Drive and directory fill at most _MAX_DRIVE + _MAX_DIR - 2 characters.
  wchar_t menuPath[_MAX_DRIVE + _MAX_DIR + 16];
  swprintf_s(menuPath, std::size(menuPath), L"%s%sPlovex.mnu", drive, dir);
  acedCommand(RTSTR, L"_menuload", RTSTR, menuPath, RTNONE);
  acedMenuCmd(L"P10=+Plovex.pop1");
}

void PlovexHelp() { ShowPlovexHelp(); }

void PlovexAbout() { ShowPlovexAbout(); }
