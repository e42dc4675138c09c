// CWnd over the stand-in's windows: handles, the permanent and temporary objects that stand for
// them, and the messages that the controls answer as the platform's controls do.
#include <algorithm>
#include <cwctype>
#include <unordered_map>
#include <unordered_set>

#include "window.h"

namespace plx::mfc {
namespace {

struct WindowState {
  std::unordered_set<const Window*> live;
  // Objects that FromHandle made for handles without a permanent one.
  std::unordered_map<HWND, std::unique_ptr<CWnd>> temporary;
};

WindowState& State() {
  // Never destroyed: CWnd objects of modules and tests end during static destruction too.
  static auto* state = new WindowState;
  return *state;
}

bool SameClass(const std::wstring& a, const wchar_t* b) {
  const std::wstring other(b);
  return a.size() == other.size() &&
         std::equal(a.begin(), a.end(), other.begin(), [](wchar_t x, wchar_t y) {
           return std::towlower(static_cast<wint_t>(x)) == std::towlower(static_cast<wint_t>(y));
         });
}

ControlKind KindOf(const std::wstring& className, DWORD style) {
  if (SameClass(className, L"Button")) {
    switch (style & BS_TYPEMASK) {
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE: return ControlKind::kCheckBox;
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON: return ControlKind::kRadioButton;
      case BS_GROUPBOX: return ControlKind::kGroupBox;
      default: return ControlKind::kPushButton;
    }
  }
  if (SameClass(className, L"Static")) return ControlKind::kStatic;
  if (SameClass(className, L"Edit")) return ControlKind::kEdit;
  if (SameClass(className, L"msctls_trackbar32")) return ControlKind::kTrackbar;
  return ControlKind::kOther;
}

void ClampPosition(Window& w) {
  w.position = std::max(w.rangeMin, std::min(w.position, w.rangeMax));
}

void Forget(Window* window) {
  for (auto& child : window->children) Forget(child.get());
  auto& state = State();
  if (window->attached) window->attached->m_hWnd = nullptr;
  state.temporary.erase(HandleOf(window));
  state.live.erase(window);
}

}  // namespace

Window* CreateDialogWindow(const DialogResource& resource) {
  auto dialog = std::make_unique<Window>();
  dialog->style = resource.style;
  dialog->exStyle = resource.exStyle;
  dialog->x = resource.x;
  dialog->y = resource.y;
  dialog->cx = resource.cx;
  dialog->cy = resource.cy;
  dialog->className = L"#32770";
  dialog->text = resource.caption;
  for (int i = 0; i < resource.itemCount; ++i) {
    const DialogItemResource& item = resource.items[i];
    auto control = std::make_unique<Window>();
    control->parent = dialog.get();
    control->id = item.id;
    control->style = item.style;
    control->exStyle = item.exStyle;
    control->x = item.x;
    control->y = item.y;
    control->cx = item.cx;
    control->cy = item.cy;
    control->className = item.className;
    control->text = item.text;
    control->kind = KindOf(control->className, control->style);
    State().live.insert(control.get());
    dialog->children.push_back(std::move(control));
  }
  State().live.insert(dialog.get());
  return dialog.release();
}

void DestroyWindowTree(Window* window) {
  if (!window) return;
  Forget(window);
  delete window;
}

Window* WindowFromHandle(HWND handle) {
  auto* window = reinterpret_cast<Window*>(handle);
  return handle && State().live.count(window) ? window : nullptr;
}

void Attach(CWnd* wnd, Window* window) {
  window->attached = wnd;
  wnd->m_hWnd = HandleOf(window);
  State().temporary.erase(HandleOf(window));
}

void Detach(CWnd* wnd) {
  if (Window* window = WindowFromHandle(wnd->m_hWnd))
    if (window->attached == wnd) window->attached = nullptr;
  wnd->m_hWnd = nullptr;
}

Window* ChildById(const Window* parent, int id) {
  if (!parent) return nullptr;
  for (const auto& child : parent->children)
    if (child->id == id) return child.get();
  return nullptr;
}

std::vector<Window*> RadioGroup(const Window* button) {
  std::vector<Window*> group;
  const Window* dialog = button ? button->parent : nullptr;
  if (!dialog) return group;
  const auto& controls = dialog->children;
  size_t at = 0;
  while (at < controls.size() && controls[at].get() != button) ++at;
  if (at == controls.size()) return group;
  size_t first = at;
  while (first > 0 && !(controls[first]->style & WS_GROUP)) --first;
  for (size_t i = first; i < controls.size(); ++i) {
    if (i > first && (controls[i]->style & WS_GROUP)) break;
    if (controls[i]->kind == ControlKind::kRadioButton) group.push_back(controls[i].get());
  }
  return group;
}

std::wstring StripMnemonic(const std::wstring& text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'&')
      out += text[i];
    else if (i + 1 < text.size() && text[i + 1] == L'&')
      out += text[++i];
  }
  return out;
}

}  // namespace plx::mfc

using plx::mfc::ControlKind;
using plx::mfc::Window;
using plx::mfc::WindowFromHandle;

CWnd::~CWnd() {
  if (m_hWnd) plx::mfc::Detach(this);
}

CWnd* CWnd::FromHandle(HWND hWnd) {
  if (!hWnd) return nullptr;
  if (Window* window = WindowFromHandle(hWnd))
    if (window->attached) return window->attached;
  auto& temporary = plx::mfc::State().temporary;
  auto it = temporary.find(hWnd);
  if (it == temporary.end()) {
    auto wnd = std::make_unique<CWnd>();
    wnd->m_hWnd = hWnd;
    it = temporary.emplace(hWnd, std::move(wnd)).first;
  }
  return it->second.get();
}

CWnd* CWnd::GetDlgItem(int nID) const {
  Window* child = plx::mfc::ChildById(WindowFromHandle(m_hWnd), nID);
  return child ? FromHandle(plx::mfc::HandleOf(child)) : nullptr;
}

int CWnd::GetDlgCtrlID() const {
  const Window* window = WindowFromHandle(m_hWnd);
  return window ? window->id : 0;
}

CWnd* CWnd::GetParent() const {
  const Window* window = WindowFromHandle(m_hWnd);
  return window && window->parent ? FromHandle(plx::mfc::HandleOf(window->parent)) : nullptr;
}

DWORD CWnd::GetStyle() const {
  const Window* window = WindowFromHandle(m_hWnd);
  return window ? window->style : 0;
}

DWORD CWnd::GetExStyle() const {
  const Window* window = WindowFromHandle(m_hWnd);
  return window ? window->exStyle : 0;
}

void CWnd::SetWindowText(LPCTSTR lpszString) {
  SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpszString));
}

void CWnd::GetWindowText(CString& rString) const {
  const Window* window = WindowFromHandle(m_hWnd);
  rString = window ? CString(window->text) : CString();
}

int CWnd::GetWindowTextLength() const {
  const Window* window = WindowFromHandle(m_hWnd);
  return window ? static_cast<int>(window->text.size()) : 0;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = WindowFromHandle(m_hWnd);
  if (!w) return 0;
  const bool checkable = w->kind == ControlKind::kRadioButton || w->kind == ControlKind::kCheckBox;
  const bool trackbar = w->kind == ControlKind::kTrackbar;
  switch (message) {
    case WM_SETTEXT: w->text = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L""; return TRUE;
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<wchar_t*>(lParam);
      if (!buffer || wParam == 0) return 0;
      const size_t n = std::min(w->text.size(), static_cast<size_t>(wParam) - 1);
      std::copy_n(w->text.begin(), n, buffer);
      buffer[n] = L'\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
    case BM_GETCHECK: return checkable ? w->check : BST_UNCHECKED;
    case BM_SETCHECK:
      if (checkable) w->check = static_cast<int>(wParam);
      return 0;
    case TBM_GETPOS: return trackbar ? w->position : 0;
    case TBM_GETRANGEMIN: return trackbar ? w->rangeMin : 0;
    case TBM_GETRANGEMAX: return trackbar ? w->rangeMax : 0;
    case TBM_SETPOS:
      if (trackbar) {
        w->position = static_cast<int>(
            std::clamp<LPARAM>(lParam, w->rangeMin, std::max(w->rangeMin, w->rangeMax)));
      }
      return 0;
    case TBM_SETRANGE:
      if (trackbar) {
        w->rangeMin = static_cast<short>(LOWORD(lParam));
        w->rangeMax = static_cast<short>(HIWORD(lParam));
        plx::mfc::ClampPosition(*w);
      }
      return 0;
    case TBM_SETRANGEMIN:
      if (trackbar) {
        w->rangeMin = static_cast<int>(lParam);
        plx::mfc::ClampPosition(*w);
      }
      return 0;
    case TBM_SETRANGEMAX:
      if (trackbar) {
        w->rangeMax = static_cast<int>(lParam);
        plx::mfc::ClampPosition(*w);
      }
      return 0;
    default: return 0;
  }
}

LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* item = GetDlgItem(nID);
  return item ? item->SendMessage(message, wParam, lParam) : 0;
}

void CWnd::CheckDlgButton(int nIDButton, UINT nCheck) {
  SendDlgItemMessage(nIDButton, BM_SETCHECK, nCheck);
}

UINT CWnd::IsDlgButtonChecked(int nIDButton) const {
  CWnd* item = GetDlgItem(nIDButton);
  return item ? static_cast<UINT>(item->SendMessage(BM_GETCHECK)) : 0;
}

void CWnd::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
  Window* window = WindowFromHandle(m_hWnd);
  if (!window) return;
  for (const auto& child : window->children)
    if (child->id >= nIDFirstButton && child->id <= nIDLastButton &&
        (child->kind == ControlKind::kRadioButton || child->kind == ControlKind::kCheckBox))
      child->check = child->id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED;
}

void CWnd::SetDlgItemText(int nID, LPCTSTR lpszString) {
  if (CWnd* item = GetDlgItem(nID)) item->SetWindowText(lpszString);
}

int CWnd::GetDlgItemText(int nID, CString& rString) const {
  CWnd* item = GetDlgItem(nID);
  if (!item) {
    rString.Empty();
    return 0;
  }
  item->GetWindowText(rString);
  return rString.GetLength();
}

BOOL CWnd::OnCommand(WPARAM, LPARAM) { return FALSE; }
