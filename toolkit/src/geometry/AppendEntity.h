// The last step of every writer: the new entity gets its layer and colour, goes into model
// space of the working database and is closed. Statuses are not read; an entity that could not
// be appended is outside any database, and closing it releases it.
#pragma once

#include "arx.h"
#include "toolkit/Layers.h"

inline void AppendAndClose(AcDbEntity* entity, const CString& layer, const AcCmColor& colour) {
  SetPropertiesAndAppend(entity, layer, colour, nullptr);
  entity->close();
}
