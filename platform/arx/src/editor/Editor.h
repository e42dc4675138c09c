// The editor's insides, shared by the selection functions and the host's drawing commands.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "dbmain.h"

namespace plx::editor {

// "x,y" or "x,y,z" (z 0 when left out); nullopt for anything else.
std::optional<AcGePoint3d> ParsePointText(const std::wstring& text);
// A handle in hex, optionally after '#'; nullopt for anything else.
std::optional<AcDbHandle> ParseHandleText(const std::wstring& text);

// The entity of a handle in the working drawing that a user may select: in model or paper
// space, not erased, its layer not frozen. Null id otherwise.
AcDbObjectId SelectableByHandle(const AcDbHandle& handle);
// Every selectable entity of the working drawing in drawing order (visibleOnly: its layer is
// also on).
std::vector<AcDbObjectId> SelectableEntities(bool visibleOnly);
// The entity drawn last whose extents hold the point (in plan), or the null id.
AcDbObjectId EntityAt(const AcGePoint3d& point);
// The selectable entity appended last, or the null id.
AcDbObjectId LastEntity();
// A point on the entity for a pick by handle: the middle of its extents.
AcGePoint3d PickPointOf(const AcDbObjectId& id);

// Colour answers as the host's colour prompts take them: a number 0 to 256, BYLAYER, BYBLOCK,
// a colour name (red ... white) or r,g,b. nullopt for anything else.
std::optional<AcCmColor> ParseColorText(const std::wstring& text);
// The host's name of a colour: "BYLAYER", "1 (red)", "42", "10,20,30".
std::wstring ColorName(const AcCmColor& color);

void ResetSelectionSets();
size_t SelectionSetCount();

}  // namespace plx::editor
