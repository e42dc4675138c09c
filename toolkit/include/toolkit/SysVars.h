// Typed wrappers of single host calls: system variables, a formatted message box, erasing and
// highlighting entities. A failure is told by the result alone: nothing is stored in a
// last-error text, printed or shown.
#pragma once

#include "afx.h"
#include "dbidar.h"

// A message box owned by the host's main window, its text formatted from format and the
// further arguments by CString::FormatV (%s takes a wide string). type is the Windows style
// (buttons and icon, e.g. MB_ICONEXCLAMATION). The button pressed is not reported.
void ShowFormattedMessage(CString caption, UINT type, const wchar_t* format, ...);

// Reading a system variable ("FACETRES") of the wrapper's own type: real, 16-bit integer or
// string. 1 with the value; 0 when the host does not know the name or reports it with another
// type, value then untouched.
int GetSysVarReal(const CString& name, double& value);
int GetSysVarInt(const CString& name, int& value);  // the 16-bit value widened with its sign
int GetSysVarString(const CString& name, CString& value);

// Writing a system variable: 1 when the host took the value; 0 when it refused it (out of
// range, read-only, unknown name), the variable then unchanged. SetSysVarInt sends the low 16
// bits of value, so only -32768 to 32767 arrive unchanged (70000 arrives as 4464).
int SetSysVarReal(const CString& name, double value);
int SetSysVarInt(const CString& name, int value);
int SetSysVarString(const CString& name, const CString& value);

// Erases the entity through its selection name; applied again to an entity it erased, while the
// drawing is open, it restores it. 1 when the host did so, 0 for an id without a selection name
// or a refused deletion.
int EraseEntity(const AcDbObjectId& id);
// EraseEntity for each id in order, passing over failures. Always 1, also for an empty list.
int EraseEntities(const AcDbObjectIdArray& ids);

// Highlights the whole entity; an id that does not open is passed over without a sign.
void HighlightEntity(const AcDbObjectId& id);
