// The host release from the first letter of _VERNUM. The letters do not follow the alphabet:
// T, U, K, V, N, Z for 2000 to 2006, then A to F for 2007 to 2012.
#include "toolkit/Release.h"

#include "aced.h"
#include "host/HostModule.h"

const wchar_t* const kReleaseNameTexts[kAcadReleaseCount] = {
    L"AutoCAD ????", L"AutoCAD 2000", L"AutoCAD 2000i", L"AutoCAD 2002", L"AutoCAD 2004",
    L"AutoCAD 2005", L"AutoCAD 2006", L"AutoCAD 2007", L"AutoCAD 2008", L"AutoCAD 2009",
    L"AutoCAD 2010", L"AutoCAD 2011", L"AutoCAD 2012"};

const CString ReleaseNames[kAcadReleaseCount] = {
    kReleaseNameTexts[0], kReleaseNameTexts[1], kReleaseNameTexts[2],  kReleaseNameTexts[3],
    kReleaseNameTexts[4], kReleaseNameTexts[5], kReleaseNameTexts[6],  kReleaseNameTexts[7],
    kReleaseNameTexts[8], kReleaseNameTexts[9], kReleaseNameTexts[10], kReleaseNameTexts[11],
    kReleaseNameTexts[12]};

int GetAcadRelease() {
  CString version;
  resbuf* buffer = acutNewRb(RTSTR);
  if (acedGetVar(L"_VERNUM", buffer) == RTNORM && buffer->restype == RTSTR && buffer->resval.rstring)
    version = buffer->resval.rstring;
  acutRelRb(buffer);

  // Only the low byte of the first character counts; an empty text gives its terminator.
  const unsigned char first = static_cast<unsigned char>(version.GetString()[0] & 0xFF);
  static const char kLetters[] = "TUKVNZABCDEF";
  for (int i = 0; kLetters[i]; ++i)
    if (first == static_cast<unsigned char>(kLetters[i])) return i + 1;
  return 0;
}

int CheckAcadRelease(int wanted) {
  if (GetAcadRelease() == wanted) return 1;
  // An index that names no release must not read past the table: it names the unknown one.
  const int named = wanted >= 0 && wanted < kAcadReleaseCount ? wanted : 0;
  CString text;
  text.Format(L"This plug-in is designed to work with %s based products only",
              ReleaseNames[named].GetString());
  MessageBoxW(adsw_acadMainWnd(), text, L"Incompatible AutoCAD Version", MB_OK | MB_ICONEXCLAMATION);
  return 0;
}
