// Builders for tests of the host's drawing: entities appended to model space of the working
// database, and the entities that model space holds.
#pragma once

#include <string>
#include <vector>

#include "arx.h"

namespace plx::test {

// Appends a new entity to model space of the working database and closes it; its id.
AcDbObjectId AddToModelSpace(AcDbEntity* entity, const wchar_t* layer = nullptr);
// A layer of the working database, made when missing, with a colour index.
AcDbObjectId AddLayer(const wchar_t* name, Adesk::UInt16 colorIndex = 7);
// The entities of model space in drawing order, erased ones left out.
std::vector<AcDbObjectId> ModelSpaceIds();
// The handle of an id in hex, as scripts name it.
std::wstring HandleText(const AcDbObjectId& id);
// The ids of a selection set, in order.
std::vector<AcDbObjectId> SetIds(const ads_name set);

}  // namespace plx::test
