// The running host release, from the first letter of _VERNUM.
#pragma once

// 0 for an unknown release, 1 to 12 for AutoCAD 2000 to AutoCAD 2012.
int GetAcadRelease();

// 1 when the running release is wanted (0 to 12); otherwise 0 after a message box that names
// the wanted release ("AutoCAD ????" for an index outside 0 to 12).
int CheckAcadRelease(int wanted);

constexpr int kAcadReleaseCount = 13;

// The product name of each release index, "AutoCAD ????" for 0.
extern const wchar_t* const kReleaseNameTexts[kAcadReleaseCount];
