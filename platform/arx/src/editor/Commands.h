// Shared steps of the host's drawing commands.
#pragma once

#include <string>

#include "dbmain.h"

namespace plx::editor {

// Appends a new entity to model space of the working drawing with the current layer, linetype
// and colour, and closes it. The null id (and the entity deleted) when it cannot be appended.
AcDbObjectId AppendToModelSpace(AcDbEntity* entity);
// Erases an entity that a command made (its Undo option).
void EraseEntity(const AcDbObjectId& id);
// A layer of the working drawing by name, or the null id.
AcDbObjectId FindLayer(const std::wstring& name);
std::wstring LayerName(const AcDbObjectId& layer);
// Asks for a colour as the host's colour prompts do (a number, a name, BYLAYER, BYBLOCK,
// Truecolor then r,g,b); an empty answer gives fallback. False when cancelled.
bool AskColor(const std::wstring& prompt, bool layerColor, const AcCmColor& fallback, AcCmColor& color);

void RegisterDrawCommands();
void RegisterPropertyCommands();
void RegisterEditCommands();

}  // namespace plx::editor
