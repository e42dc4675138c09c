// The About box, drawn on the transcript: its title, then the product lines.
#include "TVKGUI.h"
#include "win32/transcript.h"

void TVKGUIUtils::About(const CString& caption, HWND*) {
  CString box;
  box.Format(L"[%s]\n"
             L"  %s\n"
             L"  Exports 3D faces, polyface and polygon meshes, 3D solids and bodies to STL.\n"
             L"  Copyright (c) TALVEK. All rights reserved.\n",
             caption.GetString(), caption.GetString());
  plx::WriteTranscript(box.GetString());
}
