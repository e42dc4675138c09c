// What the user can point at in the working drawing: entities by handle, by place and the last
// one, and the text forms of points, handles and colours.
#include <cmath>
#include <cwchar>
#include <unordered_map>

#include "../db/Access.h"
#include "Editor.h"
#include "dbsymtb.h"
#include "win32/text.h"

namespace plx::editor {
namespace {

bool ParseNumber(const std::wstring& text, double& value) {
  size_t begin = 0, end = text.size();
  while (begin < end && std::iswspace(static_cast<wint_t>(text[begin]))) ++begin;
  while (end > begin && std::iswspace(static_cast<wint_t>(text[end - 1]))) --end;
  if (begin == end) return false;
  const std::wstring part = text.substr(begin, end - begin);
  wchar_t* stop = nullptr;
  value = std::wcstod(part.c_str(), &stop);
  return stop && *stop == L'\0' && std::isfinite(value);
}

// Frozen layers hide their entities from every selection, off layers from picks and windows.
class LayerState {
 public:
  bool Hidden(const AcDbEntity& entity, bool visibleOnly) {
    const AcDbObjectId layer = entity.layerId();
    auto it = cache_.find(layer);
    if (it == cache_.end()) {
      const auto* record = plx::db::ObjectAs<AcDbLayerTableRecord>(layer);
      const int state = record ? (record->isFrozen() ? 2 : record->isOff() ? 1 : 0) : 0;
      it = cache_.emplace(layer, state).first;
    }
    return it->second == 2 || (visibleOnly && it->second == 1);
  }

 private:
  std::unordered_map<AcDbObjectId, int> cache_;
};

template <class Visit>
void ForEachSelectable(bool visibleOnly, Visit&& visit) {
  AcDbDatabase* database = plx::db::WorkingDatabase();
  LayerState layers;
  for (const AcDbObjectId& space : {database->modelSpaceId(), database->paperSpaceId()}) {
    const auto* record = plx::db::ObjectAs<AcDbBlockTableRecord>(space);
    if (!record) continue;
    for (const AcDbObjectId& id : record->Entities().ids) {
      const auto* entity = static_cast<const AcDbEntity*>(plx::db::ObjectAt(id));
      if (!entity || entity->isErased() || layers.Hidden(*entity, visibleOnly)) continue;
      if (!visit(id, *entity)) return;
    }
  }
}

bool InSpace(const AcDbEntity& entity) {
  const AcDbDatabase* database = entity.database();
  return database && (entity.ownerId() == database->modelSpaceId() || entity.ownerId() == database->paperSpaceId());
}

}  // namespace

std::optional<AcGePoint3d> ParsePointText(const std::wstring& text) {
  double v[3] = {0, 0, 0};
  int count = 0;
  size_t begin = 0;
  for (;;) {
    const size_t comma = text.find(L',', begin);
    const std::wstring part = text.substr(begin, comma == std::wstring::npos ? std::wstring::npos : comma - begin);
    if (count == 3 || !ParseNumber(part, v[count])) return std::nullopt;
    ++count;
    if (comma == std::wstring::npos) break;
    begin = comma + 1;
  }
  if (count < 2) return std::nullopt;
  return AcGePoint3d(v[0], v[1], v[2]);
}

std::optional<AcDbHandle> ParseHandleText(const std::wstring& text) {
  const std::wstring digits = !text.empty() && text[0] == L'#' ? text.substr(1) : text;
  if (digits.empty() || digits.size() > 16) return std::nullopt;
  for (wchar_t c : digits)
    if (!std::iswxdigit(static_cast<wint_t>(c))) return std::nullopt;
  const AcDbHandle handle(digits.c_str());
  if (handle.isNull()) return std::nullopt;
  return handle;
}

AcDbObjectId SelectableByHandle(const AcDbHandle& handle) {
  AcDbDatabase* database = plx::db::WorkingDatabase();
  AcDbObjectId id;
  if (database->getAcDbObjectId(id, false, handle) != Acad::eOk) return AcDbObjectId();
  const auto* entity = AcDbEntity::cast(plx::db::ObjectAt(id));
  if (!entity || entity->isErased() || !InSpace(*entity)) return AcDbObjectId();
  LayerState layers;
  return layers.Hidden(*entity, false) ? AcDbObjectId() : id;
}

std::vector<AcDbObjectId> SelectableEntities(bool visibleOnly) {
  std::vector<AcDbObjectId> ids;
  ForEachSelectable(visibleOnly, [&](const AcDbObjectId& id, const AcDbEntity&) {
    ids.push_back(id);
    return true;
  });
  return ids;
}

AcDbObjectId EntityAt(const AcGePoint3d& point) {
  AcDbObjectId hit;
  ForEachSelectable(true, [&](const AcDbObjectId& id, const AcDbEntity& entity) {
    AcDbExtents box;
    if (entity.getGeomExtents(box) != Acad::eOk) return true;
    const double tolerance = 1e-6 * (1 + std::abs(point.x) + std::abs(point.y));
    if (point.x >= box.minPoint().x - tolerance && point.x <= box.maxPoint().x + tolerance &&
        point.y >= box.minPoint().y - tolerance && point.y <= box.maxPoint().y + tolerance)
      hit = id;  // the last one drawn lies on top
    return true;
  });
  return hit;
}

AcDbObjectId LastEntity() {
  AcDbDatabase* database = plx::db::WorkingDatabase();
  const auto* record = plx::db::ObjectAs<AcDbBlockTableRecord>(database->modelSpaceId());
  if (!record) return AcDbObjectId();
  LayerState layers;
  const auto& ids = record->Entities().ids;
  for (auto it = ids.rbegin(); it != ids.rend(); ++it) {
    const auto* entity = static_cast<const AcDbEntity*>(plx::db::ObjectAt(*it));
    if (entity && !entity->isErased() && !layers.Hidden(*entity, false)) return *it;
  }
  return AcDbObjectId();
}

AcGePoint3d PickPointOf(const AcDbObjectId& id) {
  const auto* entity = AcDbEntity::cast(plx::db::ObjectAt(id));
  AcDbExtents box;
  if (!entity || entity->getGeomExtents(box) != Acad::eOk) return AcGePoint3d::kOrigin;
  return box.minPoint() + (box.maxPoint() - box.minPoint()) * 0.5;
}

std::optional<AcCmColor> ParseColorText(const std::wstring& text) {
  static const wchar_t* kNames[8] = {L"", L"RED", L"YELLOW", L"GREEN", L"CYAN", L"BLUE", L"MAGENTA", L"WHITE"};
  const std::wstring upper = plx::db::UpperName(text);
  AcCmColor color;
  if (upper == L"BYLAYER") return color;
  if (upper == L"BYBLOCK") {
    color.setColorIndex(0);
    return color;
  }
  for (Adesk::UInt16 i = 1; i <= 7; ++i)
    if (upper == kNames[i]) {
      color.setColorIndex(i);
      return color;
    }
  if (text.find(L',') != std::wstring::npos) {
    double v[3];
    size_t begin = 0;
    for (int k = 0; k < 3; ++k) {
      const size_t comma = text.find(L',', begin);
      if ((k < 2) != (comma != std::wstring::npos)) return std::nullopt;
      if (!ParseNumber(text.substr(begin, comma == std::wstring::npos ? std::wstring::npos : comma - begin), v[k]) ||
          v[k] < 0 || v[k] > 255 || v[k] != std::floor(v[k]))
        return std::nullopt;
      begin = comma + 1;
    }
    color.setRGB(static_cast<Adesk::UInt8>(v[0]), static_cast<Adesk::UInt8>(v[1]), static_cast<Adesk::UInt8>(v[2]));
    return color;
  }
  double number = 0;
  if (!ParseNumber(text, number) || number != std::floor(number) || number < 0 || number > 256) return std::nullopt;
  color.setColorIndex(static_cast<Adesk::UInt16>(number));
  return color;
}

std::wstring ColorName(const AcCmColor& color) {
  static const wchar_t* kNames[8] = {L"", L"red", L"yellow", L"green", L"cyan", L"blue", L"magenta", L"white"};
  if (color.isByLayer()) return L"BYLAYER";
  if (color.isByBlock()) return L"BYBLOCK";
  if (color.isNone()) return L"NONE";
  if (color.isByColor()) return plx::FormatWide(L"%d,%d,%d", color.red(), color.green(), color.blue());
  const int index = color.colorIndex();
  if (index >= 1 && index <= 7) return plx::FormatWide(L"%d (%ls)", index, kNames[index]);
  return std::to_wstring(index);
}

}  // namespace plx::editor
