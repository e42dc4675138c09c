// The drawing's part of a host session: a fresh working database at start and end, the
// drawing commands, and what tests may read of highlights and selection sets.
#include "../db/Access.h"
#include "../runtime/Session.h"
#include "Commands.h"
#include "Editor.h"
#include "arxhost/Drawing.h"

namespace plx::host {

void ResetDrawing() {
  plx::editor::ResetSelectionSets();
  plx::db::ReplaceWorkingDatabase();
}

void RegisterDrawingCommands() {
  plx::editor::RegisterDrawCommands();
  plx::editor::RegisterPropertyCommands();
  plx::editor::RegisterEditCommands();
}

int HighlightCount(const AcDbObjectId& id) {
  const auto* entity = AcDbEntity::cast(plx::db::ObjectAt(id));
  return entity ? plx::db::ObjectAccess::Highlights(*entity) : 0;
}

bool IsHighlighted(const AcDbObjectId& id) {
  const auto* entity = AcDbEntity::cast(plx::db::ObjectAt(id));
  return entity && plx::db::ObjectAccess::Highlighted(*entity);
}

size_t OpenSelectionSets() { return plx::editor::SelectionSetCount(); }

}  // namespace plx::host
