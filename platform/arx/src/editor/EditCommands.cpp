// ERASE, LIST and PEDIT (closing and opening polygon meshes and 3D polylines) over the
// selection dialogue.
#include <vector>

#include "../db/Access.h"
#include "../runtime/Session.h"
#include "Commands.h"
#include "Editor.h"
#include "acedads.h"
#include "aced.h"
#include "db3dpolyline.h"
#include "dbpolygonmesh.h"
#include "win32/transcript.h"

namespace plx::editor {
namespace {

// The ids the user selects with the host's own prompt; empty when cancelled or none.
std::vector<AcDbObjectId> SelectIds() {
  std::vector<AcDbObjectId> ids;
  ads_name set;
  if (acedSSGet(nullptr, nullptr, nullptr, nullptr, set) != RTNORM) return ids;
  Adesk::Int32 length = 0;
  acedSSLength(set, &length);
  for (Adesk::Int32 i = 0; i < length; ++i) {
    ads_name name;
    AcDbObjectId id;
    if (acedSSName(set, i, name) == RTNORM && acdbGetObjectId(id, name) == Acad::eOk) ids.push_back(id);
  }
  acedSSFree(set);
  return ids;
}

void EraseCommand() {
  for (const AcDbObjectId& id : SelectIds()) {
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForWrite) != Acad::eOk) {
      acutPrintf(L"An object is open elsewhere and was not erased.\n");
      continue;
    }
    entity->erase();
    entity->close();
  }
}

void ListCommand() {
  for (const AcDbObjectId& id : SelectIds()) {
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) continue;
    plx::WriteTranscript(L"\n");
    entity->list();
    entity->close();
  }
}

void EditMesh(AcDbPolygonMesh& mesh) {
  std::vector<std::pair<bool, bool>> history;
  for (;;) {
    const wchar_t* m = mesh.isMClosed() ? L"Mopen" : L"Mclose";
    const wchar_t* n = mesh.isNClosed() ? L"Nopen" : L"Nclose";
    const std::wstring keywords = std::wstring(m) + L" " + n + L" Undo";
    const std::wstring prompt = std::wstring(L"Enter an option [") + m + L"/" + n + L"/Undo]: ";
    acedInitGet(0, keywords.c_str());
    ACHAR keyword[16];
    if (acedGetKword(prompt.c_str(), keyword, 16) != RTNORM) return;
    const std::wstring option = keyword;
    if (option == L"Undo") {
      if (history.empty()) {
        acutPrintf(L"Nothing to undo.\n");
        continue;
      }
      history.back().first ? mesh.makeMClosed() : mesh.makeMOpen();
      history.back().second ? mesh.makeNClosed() : mesh.makeNOpen();
      history.pop_back();
      continue;
    }
    history.emplace_back(mesh.isMClosed(), mesh.isNClosed());
    if (option == L"Mclose") mesh.makeMClosed();
    else if (option == L"Mopen") mesh.makeMOpen();
    else if (option == L"Nclose") mesh.makeNClosed();
    else mesh.makeNOpen();
  }
}

void EditPolyline(AcDb3dPolyline& polyline) {
  std::vector<bool> history;
  for (;;) {
    const wchar_t* toggle = polyline.isClosed() ? L"Open" : L"Close";
    const std::wstring keywords = std::wstring(toggle) + L" Undo";
    const std::wstring prompt = std::wstring(L"Enter an option [") + toggle + L"/Undo]: ";
    acedInitGet(0, keywords.c_str());
    ACHAR keyword[16];
    if (acedGetKword(prompt.c_str(), keyword, 16) != RTNORM) return;
    if (std::wstring(keyword) == L"Undo") {
      if (history.empty()) {
        acutPrintf(L"Nothing to undo.\n");
        continue;
      }
      history.back() ? polyline.makeClosed() : polyline.makeOpen();
      history.pop_back();
      continue;
    }
    history.push_back(polyline.isClosed());
    polyline.isClosed() ? polyline.makeOpen() : polyline.makeClosed();
  }
}

void PeditCommand() {
  AcDbObjectId id;
  for (;;) {
    acedInitGet(0, L"Last");
    ads_name name;
    ads_point point;
    const int status = acedEntSel(L"Select polyline or [Last]: ", name, point);
    if (status == RTCAN) return;
    if (status == RTKWORD) {
      id = LastEntity();
      if (id.isNull()) {
        acutPrintf(L"The drawing holds no entity.\n");
        continue;
      }
      break;
    }
    if (status == RTNORM && acdbGetObjectId(id, name) == Acad::eOk) break;
    acutPrintf(L"Object not found.\n");
  }
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, id, AcDb::kForWrite) != Acad::eOk) {
    acutPrintf(L"The object is open elsewhere.\n");
    return;
  }
  if (auto* mesh = AcDbPolygonMesh::cast(entity)) EditMesh(*mesh);
  else if (auto* polyline = AcDb3dPolyline::cast(entity)) EditPolyline(*polyline);
  else acutPrintf(L"Object selected is not a polygon mesh or a 3D polyline.\n");
  entity->close();
}

}  // namespace

void RegisterEditCommands() {
  plx::host::AddHostCommand(L"ERASE", EraseCommand);
  plx::host::AddHostCommand(L"LIST", ListCommand);
  plx::host::AddHostCommand(L"PEDIT", PeditCommand);
}

}  // namespace plx::editor
