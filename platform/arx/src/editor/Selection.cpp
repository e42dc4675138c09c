// Selection sets and picks on the command line: acedSSGet's modes and its dialogue (keywords,
// points, implied windows, handles), the found/total messages, filters by DXF group code,
// acedEntSel and acdbEntDel.
#include <algorithm>
#include <cwctype>
#include <unordered_map>

#include "../db/Access.h"
#include "../runtime/Session.h"
#include "Editor.h"
#include "acedads.h"
#include "aced.h"
#include "dbsymtb.h"
#include "win32/text.h"
#include "win32/transcript.h"

namespace plx::editor {
namespace {

constexpr Adesk::LongPtr kSetMark = 0x5353;  // "SS": a selection set's name

// A set's members in order, and a mark per object slot of their drawing for constant-time
// membership that stays cache-friendly at a million entities.
struct SelectionSet {
  std::vector<AcDbObjectId> ids;
  std::vector<bool> marks;
  Adesk::UInt32 database = 0;

  bool Has(const AcDbObjectId& id) const {
    if (ids.empty() || id.DatabaseSerial() != database) return false;
    return id.Slot() < marks.size() && marks[id.Slot()];
  }
  bool Add(const AcDbObjectId& id) {
    if (ids.empty()) {
      database = id.DatabaseSerial();
      marks.assign(marks.size(), false);
    } else if (id.DatabaseSerial() != database) {
      return false;  // one drawing per set
    }
    if (Has(id)) return false;
    if (id.Slot() >= marks.size()) marks.resize(std::max<size_t>(id.Slot() + 1, marks.size() * 2), false);
    marks[id.Slot()] = true;
    ids.push_back(id);
    return true;
  }
  bool Remove(const AcDbObjectId& id) {
    if (!Has(id)) return false;
    marks[id.Slot()] = false;
    ids.erase(std::find(ids.begin(), ids.end(), id));
    return true;
  }
};

struct Sets {
  std::unordered_map<Adesk::LongPtr, SelectionSet> byName;
  Adesk::LongPtr next = 1;
  std::vector<AcDbObjectId> previous;
};

Sets& TheSets() {
  static Sets sets;
  return sets;
}

SelectionSet* Find(const ads_name name) {
  if (!name || name[1] != kSetMark) return nullptr;
  auto it = TheSets().byName.find(name[0]);
  return it == TheSets().byName.end() ? nullptr : &it->second;
}

void NewSet(SelectionSet set, ads_name name) {
  const Adesk::LongPtr key = TheSets().next++;
  TheSets().byName.emplace(key, std::move(set));
  name[0] = key;
  name[1] = kSetMark;
}

// Wildcards of the host's patterns: * any run, ? one character, # a digit, @ a letter,
// ` escapes the next; ~ at the start negates; commas separate alternatives. Any case.
bool MatchOne(const wchar_t* p, const wchar_t* t) {
  for (; *p; ++p) {
    switch (*p) {
      case L'*':
        for (const wchar_t* s = t;; ++s) {
          if (MatchOne(p + 1, s)) return true;
          if (!*s) return false;
        }
      case L'?':
        if (!*t++) return false;
        break;
      case L'#':
        if (!std::iswdigit(static_cast<wint_t>(*t++))) return false;
        break;
      case L'@':
        if (!std::iswalpha(static_cast<wint_t>(*t++))) return false;
        break;
      case L'`':
        if (p[1]) ++p;
        [[fallthrough]];
      default:
        if (std::towupper(static_cast<wint_t>(*p)) != std::towupper(static_cast<wint_t>(*t++))) return false;
    }
  }
  return *t == L'\0';
}

bool MatchPattern(const std::wstring& patterns, const std::wstring& text) {
  size_t begin = 0;
  for (;;) {
    size_t comma = patterns.find(L',', begin);
    while (comma != std::wstring::npos && comma > 0 && patterns[comma - 1] == L'`') comma = patterns.find(L',', comma + 1);
    std::wstring one = patterns.substr(begin, comma == std::wstring::npos ? std::wstring::npos : comma - begin);
    const bool negate = !one.empty() && one[0] == L'~';
    if (negate) one.erase(0, 1);
    if (MatchOne(one.c_str(), text.c_str()) != negate) return true;
    if (comma == std::wstring::npos) return false;
    begin = comma + 1;
  }
}

struct Filter {
  std::vector<std::wstring> types, layers;
  std::vector<int> colors;
  bool valid = true;

  explicit Filter(const resbuf* list) {
    for (const resbuf* rb = list; rb; rb = rb->rbnext) {
      if ((rb->restype == 0 || rb->restype == RTDXF0) && rb->resval.rstring) types.emplace_back(rb->resval.rstring);
      else if (rb->restype == 8 && rb->resval.rstring) layers.emplace_back(rb->resval.rstring);
      else if (rb->restype == 62) colors.push_back(rb->resval.rint);
      else valid = false;
    }
  }

  bool Empty() const { return types.empty() && layers.empty() && colors.empty(); }

  bool Accepts(const AcDbObjectId& id) const {
    if (Empty()) return true;
    const auto* entity = AcDbEntity::cast(plx::db::ObjectAt(id));
    if (!entity) return false;
    const AcRxClass* cls = entity->isA();
    const std::wstring type = cls->dxfName() ? cls->dxfName() : cls->name();
    for (const std::wstring& pattern : types)
      if (!MatchPattern(pattern, type)) return false;
    if (!layers.empty()) {
      const auto* layer = plx::db::ObjectAs<AcDbSymbolTableRecord>(entity->layerId());
      const std::wstring name = layer ? layer->Name() : L"";
      for (const std::wstring& pattern : layers)
        if (!MatchPattern(pattern, name)) return false;
    }
    for (int color : colors)
      if (entity->colorIndex() != color) return false;
    return true;
  }
};

std::vector<AcDbObjectId> Filtered(std::vector<AcDbObjectId> ids, const Filter& filter) {
  if (filter.Empty()) return ids;  // moved, not copied: a drawing may hold millions
  std::vector<AcDbObjectId> out;
  for (const AcDbObjectId& id : ids)
    if (filter.Accepts(id)) out.push_back(id);
  return out;
}

// Window: the entity's extents lie inside; crossing: they meet the box. In plan.
std::vector<AcDbObjectId> InBox(const AcGePoint3d& a, const AcGePoint3d& b, bool crossing) {
  const double x0 = std::min(a.x, b.x), x1 = std::max(a.x, b.x), y0 = std::min(a.y, b.y), y1 = std::max(a.y, b.y);
  std::vector<AcDbObjectId> found;
  for (const AcDbObjectId& id : SelectableEntities(true)) {
    const auto* entity = static_cast<const AcDbEntity*>(plx::db::ObjectAt(id));
    AcDbExtents box;
    if (entity->getGeomExtents(box) != Acad::eOk) continue;
    const AcGePoint3d& lo = box.minPoint();
    const AcGePoint3d& hi = box.maxPoint();
    const bool inside = lo.x >= x0 && hi.x <= x1 && lo.y >= y0 && hi.y <= y1;
    const bool meets = lo.x <= x1 && hi.x >= x0 && lo.y <= y1 && hi.y >= y0;
    if (crossing ? meets : inside) found.push_back(id);
  }
  return found;
}

std::vector<AcDbObjectId> LivePrevious() {
  std::vector<AcDbObjectId> ids;
  for (const AcDbObjectId& id : TheSets().previous)
    if (!SelectableByHandle(id.handle()).isNull() && id.database() == plx::db::WorkingDatabase()) ids.push_back(id);
  return ids;
}

const wchar_t* kExpects =
    L"*Invalid selection*\nExpects a point or\nWindow/Last/Crossing/BOX/ALL/Add/Remove/Previous/Undo/AUto/SIngle\n";

// One selection dialogue. Each answer is a step that adds or removes what it found, with the
// host's message; Undo takes back the last step.
class Dialogue {
 public:
  Dialogue(std::wstring addPrompt, std::wstring removePrompt, bool single, const Filter& filter)
      : addPrompt_(std::move(addPrompt)), removePrompt_(std::move(removePrompt)), single_(single), filter_(filter) {
    keywords_.keywords = {L"Window", L"Last", L"Crossing", L"BOX", L"ALL", L"Add", L"Remove", L"Previous",
                          L"Undo",   L"AUto", L"SIngle"};
  }

  // RTNORM (the set may be empty) or RTCAN.
  int Run() {
    for (;;) {
      const std::optional<std::wstring> line = plx::host::ReadInput(removing_ ? removePrompt_ : addPrompt_);
      if (!line) return RTCAN;
      if (line->empty()) return RTNORM;
      const int status = Answer(*line);
      if (status != RTNORM) return status;
      if (single_ && !set_.ids.empty()) return RTNORM;
    }
  }

  const SelectionSet& Set() const { return set_; }

 private:
  struct Step {
    std::vector<AcDbObjectId> changed;
    bool removed;
  };

  int Answer(const std::wstring& text) {
    if (const std::wstring* keyword = plx::host::MatchKeyword(keywords_, text)) return Keyword(*keyword);
    if (const std::optional<AcGePoint3d> point = ParsePointText(text)) {
      const AcDbObjectId hit = EntityAt(*point);
      if (!hit.isNull()) {
        Apply({hit});
        return RTNORM;
      }
      // Nothing there: the point is the first corner of an implied window, left to right a
      // window, right to left a crossing.
      ads_point base = {point->x, point->y, point->z}, other;
      const int status = acedGetCorner(base, L"Specify opposite corner: ", other);
      if (status == RTCAN) return RTCAN;
      if (status != RTNORM) return RTNORM;
      Apply(InBox(*point, AcGePoint3d(other[0], other[1], other[2]), other[0] < point->x));
      return RTNORM;
    }
    if (const std::optional<AcDbHandle> handle = ParseHandleText(text)) {
      const AcDbObjectId id = SelectableByHandle(*handle);
      if (id.isNull()) {
        plx::WriteTranscript(L"*Invalid selection*\nNo entity has the handle \"" + text + L"\".\n");
        return RTNORM;
      }
      Apply({id});
      return RTNORM;
    }
    plx::WriteTranscript(kExpects);
    return RTNORM;
  }

  int Keyword(const std::wstring& keyword) {
    if (keyword == L"Window" || keyword == L"Crossing" || keyword == L"BOX") {
      ads_point first, second;
      int status = acedGetPoint(nullptr, L"Specify first corner: ", first);
      if (status == RTCAN) return RTCAN;
      if (status != RTNORM) return RTNORM;
      status = acedGetCorner(first, L"Specify opposite corner: ", second);
      if (status == RTCAN) return RTCAN;
      if (status != RTNORM) return RTNORM;
      const bool crossing = keyword == L"Crossing" || (keyword == L"BOX" && second[0] < first[0]);
      Apply(InBox(AcGePoint3d(first[0], first[1], first[2]), AcGePoint3d(second[0], second[1], second[2]), crossing));
    } else if (keyword == L"Last") {
      const AcDbObjectId last = LastEntity();
      Apply(last.isNull() ? std::vector<AcDbObjectId>() : std::vector<AcDbObjectId>{last});
    } else if (keyword == L"ALL") {
      Apply(SelectableEntities(false));
    } else if (keyword == L"Previous") {
      if (TheSets().previous.empty()) plx::WriteTranscript(L"No previous selection set.\n");
      else Apply(LivePrevious());
    } else if (keyword == L"Add") {
      removing_ = false;
    } else if (keyword == L"Remove") {
      removing_ = true;
    } else if (keyword == L"SIngle") {
      single_ = true;
    } else if (keyword == L"Undo") {
      Undo();
    }
    return RTNORM;  // AUto: picks and implied windows are always on
  }

  void Apply(const std::vector<AcDbObjectId>& found) {
    const size_t before = set_.ids.size();
    Step step{{}, removing_};
    size_t duplicates = 0, filteredOut = 0;
    for (const AcDbObjectId& id : found) {
      if (!filter_.Accepts(id)) {
        ++filteredOut;
        continue;
      }
      const bool changed = removing_ ? set_.Remove(id) : set_.Add(id);
      if (changed) step.changed.push_back(id);
      else if (!removing_) ++duplicates;
    }
    std::wstring message = plx::FormatWide(L"%d found", static_cast<int>(found.size()));
    if (removing_) {
      message += plx::FormatWide(L", %d removed, %d total", static_cast<int>(step.changed.size()),
                                 static_cast<int>(set_.ids.size()));
    } else {
      if (duplicates) message += plx::FormatWide(L" (%d duplicate)", static_cast<int>(duplicates));
      if (before > 0) message += plx::FormatWide(L", %d total", static_cast<int>(set_.ids.size()));
    }
    plx::WriteTranscript(message + L"\n");
    if (filteredOut)
      plx::WriteTranscript(plx::FormatWide(filteredOut == 1 ? L"%d was filtered out.\n" : L"%d were filtered out.\n",
                                           static_cast<int>(filteredOut)));
    steps_.push_back(std::move(step));
  }

  void Undo() {
    if (steps_.empty()) {
      plx::WriteTranscript(L"All selection has been undone.\n");
      return;
    }
    const Step step = std::move(steps_.back());
    steps_.pop_back();
    for (const AcDbObjectId& id : step.changed) step.removed ? set_.Add(id) : set_.Remove(id);
    plx::WriteTranscript(plx::FormatWide(L"%d total\n", static_cast<int>(set_.ids.size())));
  }

  std::wstring addPrompt_, removePrompt_;
  bool single_;
  bool removing_ = false;
  const Filter& filter_;
  plx::host::InitGet keywords_;
  SelectionSet set_;
  std::vector<Step> steps_;
};

int Finish(SelectionSet set, ads_name ss) {
  if (set.ids.empty()) return RTERROR;
  TheSets().previous = set.ids;
  NewSet(std::move(set), ss);
  return RTNORM;
}

SelectionSet FromIds(const std::vector<AcDbObjectId>& ids) {
  SelectionSet set;
  set.ids.reserve(ids.size());
  if (!ids.empty()) set.marks.resize(plx::db::WorkingDatabase()->handseed().value(), false);
  for (const AcDbObjectId& id : ids) set.Add(id);
  return set;
}

}  // namespace

void ResetSelectionSets() { TheSets() = Sets{}; }
size_t SelectionSetCount() { return TheSets().byName.size(); }

}  // namespace plx::editor

using namespace plx::editor;

int acedSSGet(const ACHAR* str, const void* pt1, const void* pt2, const resbuf* filterList, ads_name ss) {
  plx::host::TakeInitGet();  // a pending acedInitGet does not reach into the selection
  if (!ss) return RTERROR;
  const Filter filter(filterList);
  if (!filter.valid) {
    plx::WriteTranscript(L"*Invalid selection filter*\n");
    return RTERROR;
  }
  std::wstring mode = str ? str : L"";
  if (!mode.empty() && mode[0] == L'_') mode.erase(0, 1);
  const std::wstring upper = plx::db::UpperName(mode);

  if (upper == L"A" || upper == L"X") return Finish(FromIds(Filtered(SelectableEntities(false), filter)), ss);
  if (upper == L"L") {
    const AcDbObjectId last = LastEntity();
    return Finish(FromIds(last.isNull() || !filter.Accepts(last) ? std::vector<AcDbObjectId>() : std::vector{last}), ss);
  }
  if (upper == L"P") return Finish(FromIds(Filtered(LivePrevious(), filter)), ss);
  if (upper == L"W" || upper == L"C") {
    if (!pt1 || !pt2) return RTERROR;
    const auto* a = static_cast<const ads_real*>(pt1);
    const auto* b = static_cast<const ads_real*>(pt2);
    return Finish(FromIds(Filtered(InBox(AcGePoint3d(a[0], a[1], a[2]), AcGePoint3d(b[0], b[1], b[2]), upper == L"C"),
                                   filter)),
                  ss);
  }

  bool prompts = false, single = false;
  for (size_t i = 0; i < upper.size();) {
    if (upper.compare(i, 2, L":$") == 0) prompts = true;
    else if (upper.compare(i, 2, L":S") == 0) single = true;
    else if (upper.compare(i, 2, L":N") != 0 && upper.compare(i, 2, L":U") != 0 && upper.compare(i, 2, L":E") != 0)
      return RTERROR;
    i += 2;
  }
  std::wstring addPrompt = L"Select objects: ", removePrompt = L"Remove objects: ";
  if (prompts) {
    const auto* pair = static_cast<const ACHAR* const*>(pt1);
    if (!pair) return RTERROR;
    if (pair[0]) addPrompt = pair[0];
    if (pair[1]) removePrompt = pair[1];
  }
  Dialogue dialogue(addPrompt, removePrompt, single, filter);
  const int status = dialogue.Run();
  if (status != RTNORM) return status;
  return Finish(dialogue.Set(), ss);
}

int acedSSFree(const ads_name sname) {
  if (!Find(sname)) return RTERROR;
  TheSets().byName.erase(sname[0]);
  return RTNORM;
}

int acedSSLength(const ads_name sname, Adesk::Int32* len) {
  const SelectionSet* set = Find(sname);
  if (!set || !len) return RTERROR;
  *len = static_cast<Adesk::Int32>(set->ids.size());
  return RTNORM;
}

int acedSSName(const ads_name ss, Adesk::Int32 i, ads_name entres) {
  const SelectionSet* set = Find(ss);
  if (!set || !entres || i < 0 || static_cast<size_t>(i) >= set->ids.size()) return RTERROR;
  return acdbGetAdsName(entres, set->ids[static_cast<size_t>(i)]) == Acad::eOk ? RTNORM : RTERROR;
}

int acedSSAdd(const ads_name ename, const ads_name sname, ads_name result) {
  if (!result) return RTERROR;
  AcDbObjectId id;
  if (ename && acdbGetObjectId(id, ename) != Acad::eOk) return RTERROR;
  if (!sname) {
    SelectionSet set;
    if (ename) set.Add(id);
    NewSet(std::move(set), result);
    return RTNORM;
  }
  SelectionSet* set = Find(sname);
  if (!set || !ename) return RTERROR;
  set->Add(id);
  result[0] = sname[0];
  result[1] = sname[1];
  return RTNORM;
}

int acedSSDel(const ads_name ename, const ads_name ss) {
  SelectionSet* set = Find(ss);
  AcDbObjectId id;
  if (!set || acdbGetObjectId(id, ename) != Acad::eOk) return RTERROR;
  return set->Remove(id) ? RTNORM : RTERROR;
}

int acedSSMemb(const ads_name ename, const ads_name ss) {
  const SelectionSet* set = Find(ss);
  AcDbObjectId id;
  if (!set || acdbGetObjectId(id, ename) != Acad::eOk) return RTERROR;
  return set->Has(id) ? RTNORM : RTERROR;
}

int acedEntSel(const ACHAR* str, ads_name entres, ads_point ptres) {
  const plx::host::InitGet init = plx::host::TakeInitGet();
  const std::optional<std::wstring> line = plx::host::ReadInput(str ? str : L"Select object: ");
  if (!line) return RTCAN;
  if (line->empty()) return RTERROR;
  if (const std::wstring* keyword = plx::host::MatchKeyword(init, *line)) {
    plx::host::SetLastKeyword(*keyword);
    return RTKWORD;
  }
  AcDbObjectId id;
  AcGePoint3d pick;
  if (const std::optional<AcGePoint3d> point = ParsePointText(*line)) {
    id = EntityAt(*point);
    pick = *point;
  } else if (const std::optional<AcDbHandle> handle = ParseHandleText(*line)) {
    id = SelectableByHandle(*handle);
    if (id.isNull()) plx::WriteTranscript(L"No entity has the handle \"" + *line + L"\".\n");
    pick = PickPointOf(id);
  } else if (init.flags & RSG_OTHER) {
    plx::host::SetLastKeyword(*line);
    return RTKWORD;
  } else {
    plx::WriteTranscript(L"*Invalid selection*\nExpects a point or an entity handle.\n");
    return RTERROR;
  }
  if (id.isNull() || !entres) return RTERROR;
  acdbGetAdsName(entres, id);
  if (ptres) {
    ptres[0] = pick.x;
    ptres[1] = pick.y;
    ptres[2] = pick.z;
  }
  return RTNORM;
}

int acdbEntDel(const ads_name ent) {
  AcDbObjectId id;
  if (acdbGetObjectId(id, ent) != Acad::eOk) return RTERROR;
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, id, AcDb::kForWrite, true) != Acad::eOk) return RTERROR;
  const Acad::ErrorStatus es = entity->erase(!entity->isErased());
  entity->close();
  return es == Acad::eOk ? RTNORM : RTERROR;
}
