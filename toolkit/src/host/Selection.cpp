// Selection sets and picks. A caller's prompt reaches acedSSGet through the mode ":$" with a
// pair of fixed prompt buffers (adding, removing); every set made here is freed before the
// operation returns, and entities are opened for read one at a time.
#include "toolkit/Selection.h"

#include <cwchar>

#include "aced.h"
#include "acedads.h"
#include "dbents.h"
#include "host/HostModule.h"
#include "toolkit/Layers.h"
#include "toolkit/Properties.h"
#include "toolkit/SysVars.h"

namespace {

constexpr size_t kPromptBufferLength = kMaxSelectionPrompt + 1;

// The two prompts of the ":$" mode, in the fixed buffers that the host is handed.
struct PromptPair {
  wchar_t adding[kPromptBufferLength] = {};
  wchar_t removing[kPromptBufferLength] = {};
  const wchar_t* pair[2] = {adding, removing};

  explicit PromptPair(const wchar_t* prompt) {
    wcsncpy(adding, prompt, kPromptBufferLength - 1);
    wcsncpy(removing, L"Remove objects", kPromptBufferLength - 1);
  }
};

// acedSSGet with the caller's prompt, or with the host's own when it is empty.
int GetSelection(const CString& prompt, ads_name set) {
  if (prompt.IsEmpty()) return acedSSGet(nullptr, nullptr, nullptr, nullptr, set);
  const PromptPair prompts(prompt);
  return acedSSGet(L":$", prompts.pair, nullptr, nullptr, set);
}

// The id of the set's entry; false when the entry or its id cannot be had.
bool EntryId(const ads_name set, Adesk::Int32 index, AcDbObjectId& id) {
  ads_name entity = {0, 0};
  if (acedSSName(set, index, entity) != RTNORM) return false;
  return acdbGetObjectId(id, entity) == Acad::eOk;
}

Adesk::Int32 SetLength(const ads_name set) {
  Adesk::Int32 length = 0;
  if (acedSSLength(set, &length) != RTNORM) return 0;
  return length;
}

}  // namespace

int SelectObjects(const CString& prompt, int highlight, AcDbObjectIdArray& ids) {
  ads_name set = {0, 0};
  if (GetSelection(prompt, set) != RTNORM) {
    HostLastError.Set(L"No entities selected");
    return 0;
  }
  const Adesk::Int32 length = SetLength(set);
  for (Adesk::Int32 i = 0; i < length; ++i) {
    AcDbObjectId id;
    if (!EntryId(set, i, id)) continue;
    ids.append(id);
    if (highlight) HighlightEntity(id);
  }
  acedSSFree(set);
  // The test is on the whole array: ids that the caller brought count.
  if (ids.isEmpty()) {
    HostLastError.Set(L"No objects selected");
    return 0;
  }
  return 1;
}

int SelectObjectsOfClasses(const CString& prompt, int highlight, const CStringArray& classNames,
                           AcDbObjectIdArray& ids) {
  ads_name set = {0, 0};
  if (GetSelection(prompt, set) != RTNORM) {
    HostLastError.Set(L"No entities selected");
    return 0;
  }
  int filtered = 0;
  const Adesk::Int32 length = SetLength(set);
  for (Adesk::Int32 i = 0; i < length; ++i) {
    AcDbObjectId id;
    if (!EntryId(set, i, id)) continue;
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead, false) != Acad::eOk) continue;
    if (FindStringIndex(classNames, entity->isA()->name()) < 0) {
      ++filtered;
    } else {
      ids.append(id);
      if (highlight) entity->highlight(kWholeEntity, false);
    }
    entity->close();
  }
  acedSSFree(set);
  if (filtered > 0) acutPrintf(L"%d object(s) were filtered out\n", filtered);
  if (ids.isEmpty()) {
    HostLastError.Set(L"No valid objects selected");
    return 0;
  }
  return 1;
}

int SelectPoints(AcGePoint3dArray& points) {
  wchar_t pointType[] = L"POINT";
  resbuf filter;
  filter.rbnext = nullptr;
  filter.restype = RTDXF0;
  filter.resval.rstring = pointType;
  const PromptPair prompts(L"Select points: ");
  ads_name set = {0, 0};
  if (acedSSGet(L":$", prompts.pair, nullptr, &filter, set) != RTNORM) {
    HostLastError.Set(L"No entities selected");
    return 0;
  }
  const Adesk::Int32 length = SetLength(set);
  for (Adesk::Int32 i = 0; i < length; ++i) {
    AcDbObjectId id;
    if (!EntryId(set, i, id)) continue;
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead, false) != Acad::eOk) continue;
    if (wcscmp(entity->isA()->name(), L"AcDbPoint") == 0)
      points.append(static_cast<AcDbPoint*>(entity)->position());
    entity->close();
  }
  acedSSFree(set);
  return 1;
}

int SelectAll(AcDbObjectIdArray& ids) {
  ads_name set = {0, 0};
  if (acedSSGet(L"A", nullptr, nullptr, nullptr, set) != RTNORM) {
    HostLastError.Set(L"Drawing empty");
    return 0;
  }
  ids.removeAll();
  const Adesk::Int32 length = SetLength(set);
  for (Adesk::Int32 i = 0; i < length; ++i) {
    AcDbObjectId id;
    if (EntryId(set, i, id)) ids.append(id);
  }
  acedSSFree(set);
  return 1;
}

int PickObject(const CString& prompt, int highlight, AcDbObjectId& id, AcGePoint3d& pickPoint) {
  const CString text = prompt.IsEmpty() ? CString(L"Select an object:") : prompt;
  for (;;) {
    ads_name entity = {0, 0};
    ads_point point = {0, 0, 0};
    const int status = acedEntSel(text, entity, point);
    if (status == RTCAN) {
      HostLastError.Set(L"Object selection cancelled");
      return 0;
    }
    if (status == RTERROR) {
      acutPrintf(L"\nObject not selected\n");
      continue;
    }
    acdbGetObjectId(id, entity);
    pickPoint.set(point[0], point[1], point[2]);
    if (highlight == 1) HighlightEntity(id);
    return 1;
  }
}

int PickObject(const CString& prompt, int highlight, AcDbObjectId& id) {
  AcGePoint3d scratch;
  return PickObject(prompt, highlight, id, scratch);
}

int PickObjectOfClasses(const CString& prompt, int highlight, const CStringArray& classNames,
                        AcDbObjectId& id, AcGePoint3d& pickPoint) {
  for (;;) {
    if (!PickObject(prompt, 0, id, pickPoint)) return 0;
    if (FindStringIndex(classNames, GetEntityClassName(id)) >= 0) {
      if (highlight == 1) HighlightEntity(id);
      return 1;
    }
    acutPrintf(L"\nObject was filtered out\n");
  }
}

int PickObjectOfClasses(const CString& prompt, int highlight, const CStringArray& classNames,
                        AcDbObjectId& id) {
  AcGePoint3d scratch;
  return PickObjectOfClasses(prompt, highlight, classNames, id, scratch);
}

int PickObjectOfClasses(const CString& prompt, int highlight, const CString& className,
                        AcDbObjectId& id, AcGePoint3d& pickPoint) {
  CStringArray classNames;
  classNames.Add(className);
  return PickObjectOfClasses(prompt, highlight, classNames, id, pickPoint);
}

int PickObjectOfClasses(const CString& prompt, int highlight, const CString& className,
                        AcDbObjectId& id) {
  AcGePoint3d scratch;
  return PickObjectOfClasses(prompt, highlight, className, id, scratch);
}
