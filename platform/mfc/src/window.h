// The stand-in's windows: a dialog and its controls, each with the state that its platform
// control keeps. A window's handle is its address; only handles of live windows are ever taken
// back as windows, so a foreign handle (the host's main window) is never mistaken for one.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "afxwin.h"
#include "mfc/resources.h"

namespace plx::mfc {

enum class ControlKind {
  kOther,
  kPushButton,
  kRadioButton,
  kCheckBox,
  kGroupBox,
  kStatic,
  kEdit,
  kTrackbar
};

struct Window {
  Window* parent = nullptr;
  std::vector<std::unique_ptr<Window>> children;  // template order
  CWnd* attached = nullptr;                       // the permanent object, if any
  int id = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::wstring className;
  std::wstring text;
  ControlKind kind = ControlKind::kOther;
  int check = BST_UNCHECKED;
  int rangeMin = 0, rangeMax = 100, position = 0;  // a trackbar's defaults
};

// Builds a dialog window and its controls from a template; registered until DestroyWindowTree.
Window* CreateDialogWindow(const DialogResource& resource);
void DestroyWindowTree(Window* window);

// The live window behind a handle, or null.
Window* WindowFromHandle(HWND handle);
inline HWND HandleOf(const Window* window) {
  return reinterpret_cast<HWND>(const_cast<Window*>(window));
}

void Attach(CWnd* wnd, Window* window);
void Detach(CWnd* wnd);

Window* ChildById(const Window* parent, int id);

// The radio buttons of the group that holds button: from the control with WS_GROUP at or before
// it up to the next control with WS_GROUP, radio buttons only, in template order.
std::vector<Window*> RadioGroup(const Window* button);

// Text for display and keywords: "&" marks removed ("&&" stays one "&").
std::wstring StripMnemonic(const std::wstring& text);

}  // namespace plx::mfc
