// The host's drawing, for the host program and tests: the working database of the session,
// the record of highlights, and the selection sets in use.
#pragma once

#include <cstddef>

#include "dbid.h"

namespace plx::host {

// Replaces the working database by a new empty drawing and frees every selection set.
void ResetDrawing();
// How often AcDbEntity::highlight ran on the entity since it was made (0 for no entity), and
// whether it is highlighted now.
int HighlightCount(const AcDbObjectId& id);
bool IsHighlighted(const AcDbObjectId& id);
// Selection sets made and not yet freed.
size_t OpenSelectionSets();

}  // namespace plx::host
