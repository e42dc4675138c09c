// CDialog and dialog data exchange. A modal dialog is a window tree built from its template;
// instead of a message loop, DoModal asks the controls on the host's command line, one prompt
// per control that takes input in template (tab) order, then the push buttons, until a command
// ends the dialog. A prompt's label is the static text to the left of the control on its row,
// or the group box around it, as a user reading the dialog would pair them.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cwchar>
#include <cwctype>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "host_prompts.h"
#include "win32/transcript.h"
#include "window.h"

namespace plx::mfc {
namespace {

// Thrown by CDataExchange::Fail, caught by UpdateData: the platform's way out of an exchange.
struct DataExchangeFailure {};

constexpr size_t kAnswerLength = 512;

struct WindowTreeDeleter {
  void operator()(Window* window) const { DestroyWindowTree(window); }
};

bool TakesInput(const Window& w) { return (w.style & WS_VISIBLE) && !(w.style & WS_DISABLED); }

bool IsTextStatic(const Window& w) {
  if (w.kind != ControlKind::kStatic || w.text.empty()) return false;
  const DWORD type = w.style & SS_TYPEMASK;
  return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE ||
         type == SS_LEFTNOWORDWRAP;
}

std::wstring CleanLabel(const std::wstring& text) {
  std::wstring label = StripMnemonic(text);
  while (!label.empty() &&
         (label.back() == L':' || std::iswspace(static_cast<wint_t>(label.back()))))
    label.pop_back();
  return label;
}

std::wstring LabelFor(const Window& dialog, const Window& control, const wchar_t* fallback) {
  const Window* best = nullptr;
  for (const auto& c : dialog.children) {
    if (!IsTextStatic(*c) || c->x >= control.x) continue;
    const bool sameRow = c->y < control.y + control.cy && control.y < c->y + c->cy;
    if (sameRow && (!best || c->x > best->x)) best = c.get();
  }
  if (!best)
    for (const auto& c : dialog.children)
      if (c->kind == ControlKind::kGroupBox && !c->text.empty() && c->x <= control.x &&
          c->y <= control.y && c->x + c->cx >= control.x + control.cx &&
          c->y + c->cy >= control.y + control.cy)
        best = c.get();
  std::wstring label = best ? CleanLabel(best->text) : std::wstring();
  return label.empty() ? std::wstring(fallback) : label;
}

// A control's text as a keyword of the host's prompts: no "&", no blanks.
std::wstring KeywordOf(const Window& control) {
  std::wstring keyword = StripMnemonic(control.text);
  for (wchar_t& c : keyword)
    if (std::iswspace(static_cast<wint_t>(c))) c = L'_';
  return keyword.empty() ? L"Button" + std::to_wstring(control.id) : keyword;
}

enum class Answer { kChosen, kKept, kCancelled };

// A keyword prompt over the choices, current (or -1) shown as the default; index receives the
// chosen one. An empty line keeps the current choice, or none when allowEmpty.
Answer AskKeyword(const std::wstring& label, const std::vector<std::wstring>& keywords, int current,
                  bool allowEmpty, int& index) {
  std::wstring list, brackets;
  for (const std::wstring& k : keywords) {
    list += (list.empty() ? L"" : L" ") + k;
    brackets += (brackets.empty() ? L"" : L"/") + k;
  }
  std::wstring prompt = label + L" [" + brackets + L"]";
  if (current >= 0) prompt += L" <" + keywords[static_cast<size_t>(current)] + L">";
  prompt += L": ";
  ACHAR answer[kAnswerLength] = {};
  acedInitGet(current >= 0 || allowEmpty ? 0 : RSG_NONULL, list.c_str());
  const int status = acedGetKword(prompt.c_str(), answer, kAnswerLength);
  if (status == RTNONE) return Answer::kKept;
  if (status != RTNORM) return Answer::kCancelled;
  for (size_t i = 0; i < keywords.size(); ++i)
    if (keywords[i] == answer) {
      index = static_cast<int>(i);
      return Answer::kChosen;
    }
  return Answer::kCancelled;  // the host returned a keyword it was not given
}

Answer AskRadioGroup(const Window& dialog, const std::vector<Window*>& group) {
  std::vector<Window*> buttons;
  for (Window* b : group)
    if (TakesInput(*b)) buttons.push_back(b);
  if (buttons.empty()) return Answer::kKept;
  std::vector<std::wstring> keywords;
  int current = -1;
  for (Window* b : buttons) {
    if (b->check == BST_CHECKED && current < 0) current = static_cast<int>(keywords.size());
    keywords.push_back(KeywordOf(*b));
  }
  // With nothing checked an empty line keeps "none", as the dialog would.
  int index = -1;
  const Answer answer =
      AskKeyword(LabelFor(dialog, *buttons.front(), L"Choose"), keywords, current, true, index);
  if (answer == Answer::kChosen)
    for (Window* b : group)
      b->check = b == buttons[static_cast<size_t>(index)] ? BST_CHECKED : BST_UNCHECKED;
  return answer;
}

Answer AskCheckBox(Window& box) {
  int index = -1;
  const std::wstring label = CleanLabel(box.text);
  const Answer answer = AskKeyword(label.empty() ? L"Check" : label, {L"Yes", L"No"},
                                   box.check == BST_CHECKED ? 0 : 1, true, index);
  if (answer == Answer::kChosen) box.check = index == 0 ? BST_CHECKED : BST_UNCHECKED;
  return answer;
}

Answer AskSlider(const Window& dialog, Window& slider) {
  const std::wstring prompt =
      LabelFor(dialog, slider, L"Position") + L" (" + std::to_wstring(slider.rangeMin) + L" to " +
      std::to_wstring(slider.rangeMax) + L") <" + std::to_wstring(slider.position) + L">: ";
  int value = 0;
  acedInitGet(0, nullptr);
  const int status = acedGetInt(prompt.c_str(), &value);
  if (status == RTNONE) return Answer::kKept;
  if (status != RTNORM) return Answer::kCancelled;
  CWnd::FromHandle(HandleOf(&slider))->SendMessage(TBM_SETPOS, TRUE, value);
  return Answer::kChosen;
}

Answer AskEdit(const Window& dialog, Window& edit) {
  const std::wstring prompt = LabelFor(dialog, edit, L"Text") + L" <" + edit.text + L">: ";
  ACHAR answer[kAnswerLength] = {};
  acedInitGet(0, nullptr);
  const int status = acedGetString(1, prompt.c_str(), answer, kAnswerLength);
  if (status != RTNORM) return Answer::kCancelled;
  if (!answer[0]) return Answer::kKept;
  edit.text = answer;
  return Answer::kChosen;
}

// The push buttons; without any, the Enter and Esc keys still give OK and Cancel.
Answer AskButtons(const Window& dialog, int& id, Window*& button) {
  std::vector<Window*> buttons;
  for (const auto& c : dialog.children)
    if (c->kind == ControlKind::kPushButton && TakesInput(*c)) buttons.push_back(c.get());
  std::vector<std::wstring> keywords;
  std::vector<int> ids;
  int current = -1;
  for (Window* b : buttons) {
    const std::wstring keyword = KeywordOf(*b);
    if (std::find(keywords.begin(), keywords.end(), keyword) != keywords.end()) continue;
    if (current < 0 && (b->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
      current = static_cast<int>(keywords.size());
    keywords.push_back(keyword);
    ids.push_back(b->id);
  }
  if (keywords.empty()) {
    keywords = {L"OK", L"Cancel"};
    ids = {IDOK, IDCANCEL};
    current = 0;
  }
  int index = -1;
  const Answer answer = AskKeyword(L"Choose a button", keywords, current, false, index);
  if (answer == Answer::kKept) index = current;
  if (answer == Answer::kCancelled) return answer;
  id = ids[static_cast<size_t>(index)];
  button = ChildById(&dialog, id);
  return Answer::kChosen;
}

}  // namespace
}  // namespace plx::mfc

using plx::mfc::Answer;
using plx::mfc::ControlKind;
using plx::mfc::Window;
using plx::mfc::WindowFromHandle;

// ---- data exchange -------------------------------------------------------------------------

HWND CDataExchange::PrepareCtrl(int nIDC) {
  CWnd* control = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(nIDC) : nullptr;
  if (!control) Fail();
  m_idLastControl = nIDC;
  m_bEditLastControl = FALSE;
  return control->m_hWnd;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
  HWND handle = PrepareCtrl(nIDC);
  m_bEditLastControl = TRUE;
  return handle;
}

void CDataExchange::Fail() { throw plx::mfc::DataExchangeFailure{}; }

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
  Window* first = WindowFromHandle(pDX->PrepareCtrl(nIDC));
  if (!first || first->kind != ControlKind::kRadioButton) pDX->Fail();
  const std::vector<Window*> group = plx::mfc::RadioGroup(first);
  if (pDX->m_bSaveAndValidate) {
    value = -1;
    for (size_t i = 0; i < group.size(); ++i)
      if (group[i]->check == BST_CHECKED) value = static_cast<int>(i);
  } else {
    for (size_t i = 0; i < group.size(); ++i)
      group[i]->check = static_cast<int>(i) == value ? BST_CHECKED : BST_UNCHECKED;
  }
}

void DDX_Slider(CDataExchange* pDX, int nIDC, int& value) {
  CWnd* slider = CWnd::FromHandle(pDX->PrepareCtrl(nIDC));
  if (pDX->m_bSaveAndValidate)
    value = static_cast<int>(slider->SendMessage(TBM_GETPOS));
  else
    slider->SendMessage(TBM_SETPOS, TRUE, value);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
  CWnd* box = CWnd::FromHandle(pDX->PrepareCtrl(nIDC));
  if (pDX->m_bSaveAndValidate)
    value = static_cast<int>(box->SendMessage(BM_GETCHECK));
  else
    box->SendMessage(BM_SETCHECK, static_cast<WPARAM>(value));
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  CWnd* edit = CWnd::FromHandle(pDX->PrepareEditCtrl(nIDC));
  if (pDX->m_bSaveAndValidate)
    edit->GetWindowText(value);
  else
    edit->SetWindowText(value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
  CWnd* edit = CWnd::FromHandle(pDX->PrepareEditCtrl(nIDC));
  if (!pDX->m_bSaveAndValidate) {
    edit->SetWindowText(std::to_wstring(value).c_str());
    return;
  }
  CString text;
  edit->GetWindowText(text);
  text.Trim();
  wchar_t* end = nullptr;
  errno = 0;
  const long parsed = std::wcstol(text.GetString(), &end, 10);
  if (text.IsEmpty() || *end || errno || parsed < INT32_MIN || parsed > INT32_MAX) {
    CString caption;
    if (pDX->m_pDlgWnd) pDX->m_pDlgWnd->GetWindowText(caption);
    MessageBoxW(pDX->m_pDlgWnd ? pDX->m_pDlgWnd->m_hWnd : nullptr, L"Please enter an integer.",
                caption, MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
  }
  value = static_cast<int>(parsed);
}

// ---- CDialog -------------------------------------------------------------------------------

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal() {
  const plx::mfc::DialogResource* resource = plx::mfc::FindDialogResource(m_nIDHelp);
  if (!resource || !plx::mfc::HostPromptsAvailable()) return -1;
  std::unique_ptr<Window, plx::mfc::WindowTreeDeleter> window(
      plx::mfc::CreateDialogWindow(*resource));
  plx::mfc::Attach(this, window.get());
  ended_ = false;
  result_ = IDCANCEL;
  OnInitDialog();
  if (!ended_) {
    plx::WriteTranscript(L"[" + window->text + L"]\n");
    RunDialogue();
  }
  return result_;
}

void CDialog::RunDialogue() {
  while (!ended_) {
    Window* dialog = WindowFromHandle(m_hWnd);
    if (!dialog) return;
    std::set<const Window*> asked;
    Answer answer = Answer::kKept;
    for (size_t i = 0; i < dialog->children.size() && answer != Answer::kCancelled; ++i) {
      Window& control = *dialog->children[i];
      if (!plx::mfc::TakesInput(control) || asked.count(&control)) continue;
      switch (control.kind) {
        case ControlKind::kRadioButton: {
          const std::vector<Window*> group = plx::mfc::RadioGroup(&control);
          asked.insert(group.begin(), group.end());
          answer = plx::mfc::AskRadioGroup(*dialog, group);
          break;
        }
        case ControlKind::kTrackbar: answer = plx::mfc::AskSlider(*dialog, control); break;
        case ControlKind::kCheckBox: answer = plx::mfc::AskCheckBox(control); break;
        case ControlKind::kEdit: answer = plx::mfc::AskEdit(*dialog, control); break;
        default: break;
      }
    }
    int id = 0;
    Window* button = nullptr;
    if (answer != Answer::kCancelled) answer = plx::mfc::AskButtons(*dialog, id, button);
    if (answer == Answer::kCancelled) {
      // The Esc key: the dialog's own OnCancel, and the dialog ends whatever it does, since a
      // command line cannot keep asking once its input is gone.
      OnCancel();
      if (!ended_) EndDialog(IDCANCEL);
      return;
    }
    OnCommand(MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(plx::mfc::HandleOf(button)));
  }
}

void CDialog::EndDialog(int nResult) {
  ended_ = true;
  result_ = nResult;
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
  if (!WindowFromHandle(m_hWnd)) return FALSE;
  CDataExchange dx(this, bSaveAndValidate);
  try {
    DoDataExchange(&dx);
  } catch (const plx::mfc::DataExchangeFailure&) {
    return FALSE;
  }
  return TRUE;
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM) {
  switch (LOWORD(wParam)) {
    case IDOK: OnOK(); return TRUE;
    case IDCANCEL: OnCancel(); return TRUE;
    default: return FALSE;
  }
}
