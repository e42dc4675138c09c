// The maker's interface module: the About box and the registry of stored options.
#pragma once

#include "afx.h"

class TVKGUIUtils {
 public:
  // Shows the About box titled caption; window is the owner, or null for none.
  static void About(const CString& caption, HWND* window);
};

// Stored values under a registry key. The registry is a text file in the registry editor's
// export format (.reg version 5, written as UTF-8): $XDG_CONFIG_HOME/plovex/registry.reg, or
// ~/.config/plovex/registry.reg when XDG_CONFIG_HOME is unset or not an absolute path. Reads
// look at the file as it is now, so a value written by another process is seen. A write
// re-reads the file under a lock, then replaces it atomically (a new file beside it, renamed
// over it), so a failed write leaves the old file whole and concurrent writers lose nothing.
// Keys and value names compare without regard to case, as in the registry.
class TVKRegistry {
 public:
  // The roots that SetKey's second argument selects.
  enum Root { kClassesRoot = 0, kCurrentUser = 1, kLocalMachine = 2, kUsers = 3 };

  TVKRegistry();
  ~TVKRegistry();

  // Selects the key of later reads and writes: names separated by '\'
  // ("Software\TALVEK\Plovex for AutoCAD") under root (see Root). 1 on success; 0 for an empty
  // key or an unknown root, after which reads give their default and writes fail.
  int SetKey(CString key, int root);
  // The DWORD value name of the key, or defaultValue when the file, the key or the value is
  // missing or the value is not a DWORD.
  int ReadInt(CString name, int defaultValue);
  // Stores value as a DWORD under name, creating the key and the file as needed. 1 on success;
  // 0 when no key is selected, the name is empty or the file cannot be written (the old file
  // is then unchanged).
  int WriteInt(CString name, int value);

 private:
  CString key_;  // with its root's name ("HKEY_CURRENT_USER\..."); empty when none is selected
};
