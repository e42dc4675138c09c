// LAYER (the command-line form: Make, Set, New, Color, ON, OFF, Freeze, Thaw, LOck, Unlock, ?)
// and COLOR, with the host's prompts; and the shared steps of the drawing commands.
#include <vector>

#include "../db/Access.h"
#include "../runtime/Session.h"
#include "Commands.h"
#include "Editor.h"
#include "aced.h"
#include "dbsymtb.h"
#include "win32/text.h"
#include "win32/transcript.h"

namespace plx::editor {

AcDbObjectId AppendToModelSpace(AcDbEntity* entity) {
  AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
  AcDbBlockTableRecord* space = nullptr;
  AcDbObjectId id;
  if (acdbOpenObject(space, database->modelSpaceId(), AcDb::kForWrite) != Acad::eOk) {
    acutPrintf(L"Model space is open elsewhere; nothing was added.\n");
    delete entity;
    return id;
  }
  if (space->appendAcDbEntity(id, entity) == Acad::eOk) entity->close();
  else delete entity;
  space->close();
  return id;
}

void EraseEntity(const AcDbObjectId& id) {
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, id, AcDb::kForWrite) != Acad::eOk) return;
  entity->erase();
  entity->close();
}

AcDbObjectId FindLayer(const std::wstring& name) {
  const auto* table = plx::db::ObjectAs<AcDbLayerTable>(plx::db::WorkingDatabase()->layerTableId());
  AcDbObjectId id;
  if (!table || table->getAt(name.c_str(), id) != Acad::eOk) return AcDbObjectId();
  return id;
}

std::wstring LayerName(const AcDbObjectId& layer) {
  const auto* record = plx::db::ObjectAs<AcDbSymbolTableRecord>(layer);
  return record ? record->Name() : std::wstring();
}

bool AskColor(const std::wstring& prompt, bool layerColor, const AcCmColor& fallback, AcCmColor& color) {
  for (;;) {
    ACHAR answer[256];
    if (acedGetString(1, prompt.c_str(), answer, 256) != RTNORM) return false;
    std::wstring text = answer;
    if (text.empty()) {
      color = fallback;
      return true;
    }
    const std::wstring upper = plx::db::UpperName(text);
    if (upper == L"T" || upper == L"TRUECOLOR") {
      if (acedGetString(1, L"Red, Green, Blue: ", answer, 256) != RTNORM) return false;
      text = answer;
      if (text.find(L',') == std::wstring::npos) text = L"?";  // only r,g,b here
    } else if (upper == L"CO" || upper == L"COLORBOOK") {
      acutPrintf(L"Color books are not available on this host.\n");
      continue;
    }
    const std::optional<AcCmColor> parsed = ParseColorText(text);
    if (parsed && (!layerColor || parsed->isByACI() || parsed->isByColor())) {
      color = *parsed;
      return true;
    }
    acutPrintf(layerColor ? L"Requires an integer between 1 and 255, a color name or Truecolor.\n"
                          : L"Requires an integer between 0 and 256, a color name, BYLAYER, BYBLOCK or Truecolor.\n");
  }
}

namespace {

std::vector<std::wstring> SplitNames(const std::wstring& list) {
  std::vector<std::wstring> names;
  size_t begin = 0;
  for (;;) {
    const size_t comma = list.find(L',', begin);
    const std::wstring name = plx::host::Trim(list.substr(begin, comma == std::wstring::npos ? std::wstring::npos : comma - begin));
    if (!name.empty()) names.push_back(name);
    if (comma == std::wstring::npos) return names;
    begin = comma + 1;
  }
}

bool HasWildcard(const std::wstring& name) { return name.find_first_of(L"*?#@~") != std::wstring::npos; }

bool Wildcard(const wchar_t* p, const wchar_t* t) {
  if (!*p) return !*t;
  if (*p == L'*') return Wildcard(p + 1, t) || (*t && Wildcard(p, t + 1));
  if (!*t) return false;
  if (*p == L'?' || std::towupper(static_cast<wint_t>(*p)) == std::towupper(static_cast<wint_t>(*t)))
    return Wildcard(p + 1, t + 1);
  return false;
}

// The layers a name list names: plain names must exist (each missing one is reported),
// patterns may match none.
std::vector<AcDbObjectId> NamedLayers(const std::wstring& list) {
  std::vector<AcDbObjectId> ids;
  const auto* table = plx::db::ObjectAs<AcDbLayerTable>(plx::db::WorkingDatabase()->layerTableId());
  for (const std::wstring& name : SplitNames(list)) {
    if (!HasWildcard(name)) {
      const AcDbObjectId id = FindLayer(name);
      if (id.isNull()) acutPrintf(L"Cannot find layer \"%s\".\n", name.c_str());
      else ids.push_back(id);
      continue;
    }
    bool any = false;
    for (const AcDbObjectId& id : table->Data().records)
      if (!id.isErased() && Wildcard(name.c_str(), LayerName(id).c_str())) {
        ids.push_back(id);
        any = true;
      }
    if (!any) acutPrintf(L"No matching layer names found for \"%s\".\n", name.c_str());
  }
  return ids;
}

// Finds or makes a layer; the null id (with the host's message) for a name it cannot take.
AcDbObjectId MakeLayer(const std::wstring& name) {
  const AcDbObjectId existing = FindLayer(name);
  if (!existing.isNull()) return existing;
  AcDbLayerTable* table = nullptr;
  if (plx::db::WorkingDatabase()->getLayerTable(table, AcDb::kForWrite) != Acad::eOk) return AcDbObjectId();
  auto* record = new AcDbLayerTableRecord;
  AcDbObjectId id;
  if (record->setName(name.c_str()) != Acad::eOk || table->add(id, record) != Acad::eOk) {
    acutPrintf(L"Invalid layer name \"%s\".\n", name.c_str());
    delete record;
    table->close();
    return AcDbObjectId();
  }
  record->close();
  table->close();
  return id;
}

template <class Change>
void ChangeLayers(const std::wstring& list, Change change) {
  for (const AcDbObjectId& id : NamedLayers(list)) {
    AcDbLayerTableRecord* record = nullptr;
    if (acdbOpenObject(record, id, AcDb::kForWrite) != Acad::eOk) {
      acutPrintf(L"Layer \"%s\" is open elsewhere and was not changed.\n", LayerName(id).c_str());
      continue;
    }
    change(*record);
    record->close();
  }
}

bool AskNames(const wchar_t* prompt, std::wstring& names, const std::wstring& fallback = std::wstring()) {
  ACHAR answer[512];
  if (acedGetString(1, prompt, answer, 512) != RTNORM) return false;
  names = *answer ? answer : fallback;
  return true;
}

void ListLayers() {
  std::wstring pattern;
  if (!AskNames(L"Enter layer name(s) to list <*>: ", pattern, L"*")) return;
  acutPrintf(L"\nLayer name             State      Color      Linetype\n\n");
  for (const AcDbObjectId& id : NamedLayers(pattern)) {
    const auto* record = plx::db::ObjectAs<AcDbLayerTableRecord>(id);
    const std::wstring state = std::wstring(record->isOff() ? L"Off" : L"On") + (record->isFrozen() ? L" Frozen" : L"") +
                               (record->isLocked() ? L" Locked" : L"");
    const auto* linetype = plx::db::ObjectAs<AcDbSymbolTableRecord>(record->linetypeObjectId());
    acutPrintf(L"%-22s %-10s %-10s %s\n", record->Name().c_str(), state.c_str(), ColorName(record->color()).c_str(),
               linetype ? linetype->Name().c_str() : L"");
  }
  acutPrintf(L"\nCurrent layer: \"%s\"\n", LayerName(plx::db::WorkingDatabase()->clayer()).c_str());
}

void LayerCommand() {
  AcDbDatabase* database = plx::db::WorkingDatabase();
  acutPrintf(L"Current layer:  \"%s\"\n", LayerName(database->clayer()).c_str());
  for (;;) {
    acedInitGet(0, L"? Make Set New ON OFF Color Freeze Thaw LOck Unlock");
    ACHAR keyword[32];
    if (acedGetKword(L"Enter an option [?/Make/Set/New/ON/OFF/Color/Freeze/Thaw/LOck/Unlock]: ", keyword, 32) != RTNORM)
      return;
    const std::wstring option = keyword;
    const std::wstring current = LayerName(database->clayer());
    std::wstring names;
    if (option == L"?") {
      ListLayers();
    } else if (option == L"Make") {
      const std::wstring prompt = L"Enter name for new layer (becomes the current layer) <" + current + L">: ";
      if (!AskNames(prompt.c_str(), names, current)) return;
      const AcDbObjectId id = MakeLayer(names);
      if (id.isNull()) continue;
      if (plx::db::ObjectAs<AcDbLayerTableRecord>(id)->isFrozen()) {
        acutPrintf(L"Cannot set current layer to a frozen layer.\n");
        continue;
      }
      database->setClayer(id);
    } else if (option == L"Set") {
      if (!AskNames(L"Enter layer name to make current or <select object>: ", names)) return;
      if (names.empty()) continue;
      const AcDbObjectId id = FindLayer(names);
      if (id.isNull()) acutPrintf(L"Cannot find layer \"%s\".\n", names.c_str());
      else if (plx::db::ObjectAs<AcDbLayerTableRecord>(id)->isFrozen())
        acutPrintf(L"Cannot set current layer to a frozen layer.\n");
      else database->setClayer(id);
    } else if (option == L"New") {
      if (!AskNames(L"Enter name list for new layer(s): ", names)) return;
      for (const std::wstring& name : SplitNames(names)) MakeLayer(name);
    } else if (option == L"Color") {
      AcCmColor color;
      AcCmColor white;
      white.setColorIndex(7);
      if (!AskColor(L"New color [Truecolor/COlorbook] : ", true, white, color)) return;
      const std::wstring prompt =
          L"Enter name list of layer(s) for color " + ColorName(color) + L" <" + current + L">: ";
      if (!AskNames(prompt.c_str(), names, current)) return;
      ChangeLayers(names, [&](AcDbLayerTableRecord& record) { record.setColor(color); });
    } else if (option == L"ON" || option == L"OFF") {
      const bool off = option == L"OFF";
      if (!AskNames(off ? L"Enter name list of layer(s) to turn off or <select objects>: "
                        : L"Enter name list of layer(s) to turn on: ",
                    names))
        return;
      ChangeLayers(names, [&](AcDbLayerTableRecord& record) { record.setIsOff(off); });
    } else if (option == L"Freeze" || option == L"Thaw") {
      const bool freeze = option == L"Freeze";
      if (!AskNames(freeze ? L"Enter name list of layer(s) to freeze or <select objects>: "
                           : L"Enter name list of layer(s) to thaw: ",
                    names))
        return;
      ChangeLayers(names, [&](AcDbLayerTableRecord& record) {
        if (freeze && record.objectId() == database->clayer())
          acutPrintf(L"Cannot freeze layer \"%s\".  It is the CURRENT layer.\n", record.Name().c_str());
        else record.setIsFrozen(freeze);
      });
    } else if (option == L"LOck" || option == L"Unlock") {
      const bool lock = option == L"LOck";
      if (!AskNames(lock ? L"Enter name list of layer(s) to lock or <select objects>: "
                         : L"Enter name list of layer(s) to unlock or <select objects>: ",
                    names))
        return;
      ChangeLayers(names, [&](AcDbLayerTableRecord& record) { record.setIsLocked(lock); });
    }
  }
}

void ColorCommand() {
  AcDbDatabase* database = plx::db::WorkingDatabase();
  const std::wstring prompt = L"Enter default object color [Truecolor/COlorbook] <" + ColorName(database->cecolor()) + L">: ";
  AcCmColor color;
  if (!AskColor(prompt, false, database->cecolor(), color)) return;
  database->setCecolor(color);
}

}  // namespace

void RegisterPropertyCommands() {
  plx::host::AddHostCommand(L"LAYER", LayerCommand);
  plx::host::AddHostCommand(L"-LAYER", LayerCommand);
  plx::host::AddHostCommand(L"COLOR", ColorCommand);
  plx::host::AddHostCommand(L"-COLOR", ColorCommand);
}

}  // namespace plx::editor
