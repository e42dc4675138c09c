// DXF import through the host's commands: one file, or a series of files that share a name
// stem ("part.dxf", "part1.dxf", "part2.dxf"), each consumed by its import.
#include "aced.h"
#include "toolkit/Exchange.h"
#include "win32.h"

namespace {

// acedCommand sends its strings as the user would type them, so a path is one answer.
int RunDxfin(const CString& path) {
  return acedCommand(RTSTR, L"_dxfin", RTSTR, static_cast<LPCWSTR>(path), RTNONE);
}

void ZoomExtents() { acedCommand(RTSTR, L"_zoom", RTSTR, L"_extents", RTNONE); }

}  // namespace

int ImportDXF(const CString& path, int zoom) {
  if (RunDxfin(path) != RTNORM) return 0;
  if (zoom) ZoomExtents();
  return 1;
}

int ImportDXFSeries(const CString& path, int& count) {
  count = 0;
  int result = 1;
  wchar_t drive[_MAX_DRIVE], dir[256], name[256], ext[256];
  _wsplitpath(path, drive, dir, name, ext);
  CString folder, stem, pattern;
  folder.Format(L"%s%s", drive, dir);
  stem.Format(L"%s%s%s", drive, dir, name);
  pattern.Format(L"%s*.dxf", static_cast<LPCWSTR>(stem));

  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(pattern, &found);
  if (find == INVALID_HANDLE_VALUE) {
    acutPrintf(L"Unable to read 2D data\n");
    return 0;
  }
  do {
    CString file;
    file.Format(L"%s%s", static_cast<LPCWSTR>(folder), found.cFileName);
    if (RunDxfin(file) == RTNORM) {
      ZoomExtents();
      ++count;
    } else {
      acutPrintf(L"Unable to read 2D data from %s", found.cFileName);
      result = 0;
    }
    _wunlink(file);
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return result;
}
