// MFC's window classes as far as a module's dialogs need them: CObject, CCmdTarget, CWnd,
// CDialog and dialog data exchange (DDX_*). There is no window system: a modal dialog is built
// from the module's compiled dialog template and asked on the host's command line (see
// CDialog::DoModal). Controls keep their state as the platform's controls do (check state,
// trackbar range and position, text) and answer the platform's messages.
#pragma once

#include <type_traits>

#include "afxres.h"
#include "afxstr.h"
#include "win32.h"

// Messages the stand-in's controls answer.
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_COMMAND 0x0111
#define WM_USER 0x0400
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BST_UNCHECKED 0x0000
#define BST_CHECKED 0x0001
#define BN_CLICKED 0
#define TBM_GETPOS (WM_USER)
#define TBM_GETRANGEMIN (WM_USER + 1)
#define TBM_GETRANGEMAX (WM_USER + 2)
#define TBM_SETPOS (WM_USER + 5)
#define TBM_SETRANGE (WM_USER + 6)
#define TBM_SETRANGEMIN (WM_USER + 7)
#define TBM_SETRANGEMAX (WM_USER + 8)

#define LOWORD(l) (static_cast<WORD>(static_cast<DWORD>(l) & 0xFFFF))
#define HIWORD(l) (static_cast<WORD>((static_cast<DWORD>(l) >> 16) & 0xFFFF))
#define MAKELONG(a, b) \
  (static_cast<LONG>(static_cast<WORD>(a) | (static_cast<DWORD>(static_cast<WORD>(b)) << 16)))
#define MAKEWPARAM(l, h) (static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(l, h))))
#define MAKELPARAM(l, h) (static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(l, h))))

// Message maps: the stand-in dispatches commands through OnCommand, so a map holds no entries.
#define DECLARE_MESSAGE_MAP()
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                    \
  static_assert(std::is_base_of_v<baseClass, theClass>, #theClass " must derive " \
                                                                  "from " #baseClass);
#define END_MESSAGE_MAP()
#define DECLARE_DYNAMIC(theClass)
#define IMPLEMENT_DYNAMIC(theClass, baseClass)

class CObject {
 public:
  CObject() = default;
  CObject(const CObject&) = delete;
  CObject& operator=(const CObject&) = delete;
  virtual ~CObject() = default;
};

class CCmdTarget : public CObject {};

class CWnd : public CCmdTarget {
 public:
  CWnd() = default;
  ~CWnd() override;

  // The window this object stands for; null when none.
  HWND m_hWnd = nullptr;

  // The object for a window handle: the permanent one attached to it, or a temporary one owned
  // by MFC (valid while the window lives; for a foreign handle, until the process ends).
  // Null for a null handle.
  static CWnd* FromHandle(HWND hWnd);

  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return GetSafeHwnd(); }  // NOLINT: as in MFC

  // The child control with the id, or null when there is none.
  CWnd* GetDlgItem(int nID) const;
  int GetDlgCtrlID() const;
  CWnd* GetParent() const;
  DWORD GetStyle() const;
  DWORD GetExStyle() const;

  void SetWindowText(LPCTSTR lpszString);
  void GetWindowText(CString& rString) const;
  int GetWindowTextLength() const;

  // The platform's messages to this window (see the list above); 0 for any other.
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

  void CheckDlgButton(int nIDButton, UINT nCheck);
  UINT IsDlgButtonChecked(int nIDButton) const;
  // Checks nIDCheckButton and clears the other buttons from nIDFirstButton to nIDLastButton.
  void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
  void SetDlgItemText(int nID, LPCTSTR lpszString);
  int GetDlgItemText(int nID, CString& rString) const;

  // A command from a control (LOWORD(wParam) its id); TRUE when handled.
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
};

class CDataExchange {
 public:
  CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
      : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

  BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
  CWnd* m_pDlgWnd;
  int m_idLastControl = 0;
  BOOL m_bEditLastControl = FALSE;

  // The control's handle; fails the exchange when the dialog has no such control.
  HWND PrepareCtrl(int nIDC);
  HWND PrepareEditCtrl(int nIDC);
  // Ends the exchange: UpdateData returns FALSE and the dialog stays open. Does not return.
  [[noreturn]] void Fail();
};

// A radio group that starts at nIDC (a button with WS_GROUP): value is the index of the checked
// button among the group's radio buttons, -1 when none is checked. Loading checks the button
// whose index equals value and clears the others (none is checked for another value).
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// A trackbar's position. Loading sets the position, which the control keeps within its range
// (0 to 100 unless the range was set).
void DDX_Slider(CDataExchange* pDX, int nIDC, int& value);
// A check box: BST_UNCHECKED or BST_CHECKED.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// Saving refuses text that is not an integer: a message box, then the exchange fails.
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);

// A modal dialog from a dialog template of the current resources (AfxGetResourceHandle, then
// the extension libraries' chain).
//
// On the command line DoModal prints the caption as "[caption]", then asks one line per control
// that takes input, in template order: a radio group as a keyword prompt of its buttons' texts
// (an empty line keeps the checked button, or none), a slider as an integer (an empty line
// keeps its position; out-of-range values are clamped as the control does), a check box as
// Yes/No, an edit box as a line of text; then the push buttons as one keyword prompt of their
// texts ("&" removed), whose default is the default push button. The chosen button goes to
// OnCommand (IDOK to OnOK, IDCANCEL to OnCancel); while the dialog has not ended, it is asked
// again. A cancelled prompt ("^C", or the end of the input) is the Esc key: OnCancel, and the
// dialog ends with IDCANCEL.
class CDialog : public CWnd {
 public:
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr)
      : m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd) {}
  ~CDialog() override;

  // IDOK, IDCANCEL or the value given to EndDialog; -1 when the template cannot be found or
  // the dialog cannot be shown (no host command line), without calling OnInitDialog.
  virtual INT_PTR DoModal();
  void EndDialog(int nResult);

  // TRUE when the exchange ran to its end. FALSE when a DDX routine failed or the dialog is
  // not shown.
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

  UINT m_nIDHelp;  // the template id
  CWnd* m_pParentWnd;

 protected:
  // Loads the controls from the members (UpdateData(FALSE)); returns TRUE.
  virtual BOOL OnInitDialog();
  // UpdateData(TRUE), then EndDialog(IDOK); when the exchange fails the dialog stays open.
  virtual void OnOK();
  virtual void OnCancel();
  virtual void DoDataExchange(CDataExchange* pDX);
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  void RunDialogue();

  bool ended_ = false;
  int result_ = IDCANCEL;
};
