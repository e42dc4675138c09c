#include "Caption.h"

#include <iterator>

#include "PlovexApp.h"
#include "TVKGUI.h"
#include "Toolkit.h"
#include "arx.h"

wchar_t ProductCaption[kProductCaptionSize] = {};

namespace {

constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 0;

// The plug-in's own copy of the release names.
const CString ReleaseNames[kAcadReleaseCount] = {
    kReleaseNameTexts[0], kReleaseNameTexts[1], kReleaseNameTexts[2],  kReleaseNameTexts[3],
    kReleaseNameTexts[4], kReleaseNameTexts[5], kReleaseNameTexts[6],  kReleaseNameTexts[7],
    kReleaseNameTexts[8], kReleaseNameTexts[9], kReleaseNameTexts[10], kReleaseNameTexts[11],
    kReleaseNameTexts[12]};

}  // namespace

void BuildCaption() {
  const wchar_t* prefix = L"Plovex for";
  const int release = GetAcadRelease();
  swprintf_s(ProductCaption, std::size(ProductCaption), L"%s %s version %d.%d", prefix,
             ReleaseNames[release].GetString(), kVersionMajor, kVersionMinor);
}

void ShowPlovexHelp() {
  BuildCaption();
  wchar_t modulePath[MAX_PATH] = {};
  GetModuleFileNameW(ModuleInstance, modulePath, MAX_PATH);
  wchar_t drive[_MAX_DRIVE], dir[_MAX_DIR], name[_MAX_FNAME], ext[_MAX_EXT];
  _wsplitpath(modulePath, drive, dir, name, ext);
  wchar_t helpPath[_MAX_DRIVE + _MAX_DIR + 16];
  swprintf_s(helpPath, std::size(helpPath), L"%s%sPlovex.chm", drive, dir);
  const HINSTANCE result = ShellExecuteW(nullptr, L"open", helpPath, L"", nullptr, SW_SHOW);
  if (reinterpret_cast<UINT_PTR>(result) <= 32)
    MessageBoxW(adsw_acadMainWnd(), L"Error displaying Plovex for AutoCAD help file.", ProductCaption,
                MB_OK | MB_ICONEXCLAMATION);
}

void ShowPlovexAbout() {
  BuildCaption();
  TVKGUIUtils::About(CString(ProductCaption), nullptr);
}
