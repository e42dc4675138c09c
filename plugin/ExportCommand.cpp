// The Plovex command.
#include "Caption.h"
#include "PlovexApp.h"
#include "arx.h"

void Plovex() {
  BuildCaption();
  // The export road is not part of this build yet: say so rather than pretend to export.
  acutPrintf(L"Failure [%s]\n", L"STL export is not available in this build");
}
