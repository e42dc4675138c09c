// The user chooses drawing objects on the command line: selection sets (acedSSGet) and single
// picks (acedEntSel). Each returns 1 on success and 0 on failure, the reason then readable
// with GetHostError(); a success leaves that text as it was. Highlighting marks the whole
// entity and is never removed here.
#pragma once

#include "afx.h"
#include "dbidar.h"
#include "gepnt3d.h"
#include "gept3dar.h"

// Longest own prompt that a selection shows; a longer one is cut to its first 254 characters.
constexpr int kMaxSelectionPrompt = 254;

// Asks for a selection set, with the caller's prompt (and "Remove objects" while removing), or
// the host's own prompt when prompt is empty. The ids of the set are appended to ids in set
// order, highlighted when highlight is non-zero; what ids held stays. 0 with "No entities
// selected" when nothing was selected or the user cancelled (ids untouched), 0 with "No objects
// selected" when ids is empty afterwards.
int SelectObjects(const CString& prompt, int highlight, AcDbObjectIdArray& ids);

// As SelectObjects, keeping only entities whose exact run-time class name ("AcDbFace") is in
// classNames (a derived class does not match its base). The count of the others is printed as
// "<n> object(s) were filtered out". 0 with "No valid objects selected" when ids is empty
// afterwards.
int SelectObjectsOfClasses(const CString& prompt, int highlight, const CStringArray& classNames,
                           AcDbObjectIdArray& ids);

// Asks "Select points: " for a selection of point entities; their positions (world
// coordinates) are appended to points. 0 with "No entities selected" when no point was
// selected, 1 otherwise.
int SelectPoints(AcGePoint3dArray& points);

// Every entity of the drawing: ids is emptied and filled in drawing order, nothing highlighted.
// 0 with "Drawing empty", ids untouched, when the drawing has no entity.
int SelectAll(AcDbObjectIdArray& ids);

// One pick with the caller's prompt, or "Select an object:" when it is empty. A pick in empty
// space prints "Object not selected" and asks again; a cancel gives 0 with "Object selection
// cancelled". The entity is highlighted only when highlight equals 1.
int PickObject(const CString& prompt, int highlight, AcDbObjectId& id, AcGePoint3d& pickPoint);
int PickObject(const CString& prompt, int highlight, AcDbObjectId& id);

// PickObject until the picked entity's exact class name is in classNames; any other pick
// prints "Object was filtered out" and asks again. An empty list accepts nothing, so only a
// cancel (0, "Object selection cancelled") ends it.
int PickObjectOfClasses(const CString& prompt, int highlight, const CStringArray& classNames,
                        AcDbObjectId& id, AcGePoint3d& pickPoint);
int PickObjectOfClasses(const CString& prompt, int highlight, const CStringArray& classNames,
                        AcDbObjectId& id);
int PickObjectOfClasses(const CString& prompt, int highlight, const CString& className,
                        AcDbObjectId& id, AcGePoint3d& pickPoint);
int PickObjectOfClasses(const CString& prompt, int highlight, const CString& className,
                        AcDbObjectId& id);
