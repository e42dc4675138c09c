// The maker's interface module: the About box and the registry of stored options.
#pragma once

#include "afx.h"

class TVKGUIUtils {
 public:
  // Shows the About box titled caption; window is the owner, or null for none.
  static void About(const CString& caption, HWND* window);
};
