// CDialog from a compiled template, asked on the command line of a host session.
#include <gtest/gtest.h>

#include "DialogTestIds.h"
#include "TestSupport.h"
#include "afx.h"
#include "mfc/resources.h"
#include "win32/text.h"

using plx::test::HostSession;
using plx::test::ScriptedInput;
using plx::test::TranscriptCapture;

namespace {

// Every kind of control the command line asks: radio group, slider, check box, edit box.
class FormDialog : public CDialog {
 public:
  explicit FormDialog(UINT id = IDD_FORM) : CDialog(id) {}

  int speed = 0;
  int level = 10;
  int log = BST_UNCHECKED;
  int count = 3;
  int initCalls = 0;
  int applyCalls = 0;
  int okCalls = 0;
  int cancelCalls = 0;
  // Set by OnInitDialog, read back from the controls.
  LRESULT rangeMax = 100;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Radio(pDX, IDC_FAST, speed);
    DDX_Slider(pDX, IDC_LEVEL, level);
    DDX_Check(pDX, IDC_LOG, log);
    DDX_Text(pDX, IDC_COUNT, count);
  }
  BOOL OnInitDialog() override {
    ++initCalls;
    if (rangeMax != 100) SendDlgItemMessage(IDC_LEVEL, TBM_SETRANGEMAX, TRUE, rangeMax);
    return CDialog::OnInitDialog();
  }
  void OnOK() override {
    ++okCalls;
    CDialog::OnOK();
  }
  void OnCancel() override {
    ++cancelCalls;
    CDialog::OnCancel();
  }
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (LOWORD(wParam) == IDC_APPLY) {
      ++applyCalls;
      return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
  }
};

struct DialogRun {
  INT_PTR result;
  std::wstring transcript;
};

DialogRun RunDialog(CDialog& dialog, const std::vector<std::wstring>& lines) {
  ScriptedInput input(lines);
  TranscriptCapture transcript;
  const INT_PTR result = dialog.DoModal();
  return {result, transcript.Text()};
}

}  // namespace

TEST(Dialog, AsksEveryControlInTemplateOrderThenTheButtons) {
  HostSession session;
  FormDialog dialog;
  const DialogRun run = RunDialog(dialog, {L"Slow", L"75", L"Yes", L"12", L"OK"});
  EXPECT_EQ(run.result, IDOK);
  EXPECT_EQ(run.transcript,
            L"[Test Form]\n"
            L"Speed [Fast/Slow] <Fast>: Slow\n"
            L"Level (0 to 100) <10>: 75\n"
            L"Keep log [Yes/No] <No>: Yes\n"
            L"Count <3>: 12\n"
            L"Choose a button [OK/Cancel/Apply_now] <OK>: OK\n");
  EXPECT_EQ(dialog.speed, 1);
  EXPECT_EQ(dialog.level, 75);
  EXPECT_EQ(dialog.log, BST_CHECKED);
  EXPECT_EQ(dialog.count, 12);
  EXPECT_EQ(dialog.initCalls, 1);
  EXPECT_EQ(dialog.okCalls, 1);
  EXPECT_EQ(dialog.m_hWnd, nullptr);  // the window is gone after DoModal
}

TEST(Dialog, EmptyLinesKeepEveryValueAndTakeTheDefaultButton) {
  HostSession session;
  FormDialog dialog;
  dialog.speed = 1;
  dialog.level = 42;
  dialog.log = BST_CHECKED;
  dialog.count = 7;
  const DialogRun run = RunDialog(dialog, {L"", L"", L"", L"", L""});
  EXPECT_EQ(run.result, IDOK);
  EXPECT_EQ(dialog.speed, 1);
  EXPECT_EQ(dialog.level, 42);
  EXPECT_EQ(dialog.log, BST_CHECKED);
  EXPECT_EQ(dialog.count, 7);
}

TEST(Dialog, KeywordsMatchAsTheHostMatchesThemAndRefusalsAreAskedAgain) {
  HostSession session;
  FormDialog dialog;
  const DialogRun run =
      RunDialog(dialog, {L"slo", L"Medium", L"", L"y", L"", L"ap", L"", L"", L"", L"", L"c"});
  // "slo" is a start of Slow; "Medium" is no integer; "ap" presses Apply, which keeps the
  // dialog open; "c" is Cancel's abbreviation.
  EXPECT_EQ(run.result, IDCANCEL);
  EXPECT_NE(run.transcript.find(L"Requires an integer value.\n"), std::wstring::npos)
      << plx::Utf8FromWide(run.transcript);
  EXPECT_EQ(dialog.applyCalls, 1);
  EXPECT_EQ(dialog.cancelCalls, 1);
  EXPECT_EQ(dialog.okCalls, 0);
  EXPECT_EQ(dialog.speed, 0);  // Cancel takes nothing from the controls
}

TEST(Dialog, InvalidKeywordIsRefusedWithTheHostsMessage) {
  HostSession session;
  FormDialog dialog;
  const DialogRun run = RunDialog(dialog, {L"Off", L"Fast", L"", L"", L"", L"OK"});
  EXPECT_EQ(run.result, IDOK);
  // The disabled button is no choice.
  EXPECT_NE(run.transcript.find(L"Speed [Fast/Slow] <Fast>: Off\nInvalid option keyword.\nSpeed "
                                L"[Fast/Slow] <Fast>: Fast\n"),
            std::wstring::npos)
      << plx::Utf8FromWide(run.transcript);
  EXPECT_EQ(dialog.speed, 0);
}

struct SliderCase {
  int rangeMax;
  std::wstring answer;
  int expected;
};

class DialogSlider : public ::testing::TestWithParam<SliderCase> {};

TEST_P(DialogSlider, ClampsToTheControlsRange) {
  HostSession session;
  FormDialog dialog;
  dialog.rangeMax = GetParam().rangeMax;
  RunDialog(dialog, {L"", GetParam().answer, L"", L"", L"OK"});
  EXPECT_EQ(dialog.level, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Positions, DialogSlider,
                         ::testing::Values(SliderCase{100, L"100", 100},
                                           SliderCase{100, L"101", 100},
                                           SliderCase{100, L"250", 100}, SliderCase{100, L"-5", 0},
                                           SliderCase{100, L"0", 0}, SliderCase{20, L"50", 20},
                                           SliderCase{20, L"", 10}));

TEST(Dialog, SliderLoadedOutOfRangeShowsTheClampedPosition) {
  HostSession session;
  FormDialog dialog;
  dialog.level = 250;
  const DialogRun run = RunDialog(dialog, {L"", L"", L"", L"", L"OK"});
  EXPECT_NE(run.transcript.find(L"Level (0 to 100) <100>: \n"), std::wstring::npos)
      << plx::Utf8FromWide(run.transcript);
  EXPECT_EQ(dialog.level, 100);
}

TEST(Dialog, RadioGroupWithNothingCheckedOffersNoDefaultAndKeepsNone) {
  HostSession session;
  FormDialog dialog;
  dialog.speed = 7;
  const DialogRun run = RunDialog(dialog, {L"", L"", L"", L"", L"OK"});
  EXPECT_EQ(run.result, IDOK);
  EXPECT_NE(run.transcript.find(L"Speed [Fast/Slow]: \n"), std::wstring::npos)
      << plx::Utf8FromWide(run.transcript);
  EXPECT_EQ(dialog.speed, -1);
}

struct CancelCase {
  const char* name;
  std::vector<std::wstring> lines;
};

class DialogCancel : public ::testing::TestWithParam<CancelCase> {};

TEST_P(DialogCancel, EndsWithIdCancelAndKeepsTheMembers) {
  HostSession session;
  FormDialog dialog;
  const DialogRun run = RunDialog(dialog, GetParam().lines);
  EXPECT_EQ(run.result, IDCANCEL);
  EXPECT_EQ(dialog.cancelCalls, 1);
  EXPECT_EQ(dialog.okCalls, 0);
  EXPECT_EQ(dialog.speed, 0);
  EXPECT_EQ(dialog.level, 10);
  EXPECT_EQ(dialog.log, BST_UNCHECKED);
  EXPECT_EQ(dialog.count, 3);
}

INSTANTIATE_TEST_SUITE_P(
    Everywhere, DialogCancel,
    ::testing::Values(CancelCase{"EscAtTheRadioGroup", {L"^C"}},
                      CancelCase{"EscAtTheSlider", {L"Slow", L"^C"}},
                      CancelCase{"EscAtTheCheckBox", {L"Slow", L"5", L"^C"}},
                      CancelCase{"EscAtTheEditBox", {L"Slow", L"5", L"Yes", L"^C"}},
                      CancelCase{"EscAtTheButtons", {L"Slow", L"5", L"Yes", L"9", L"^C"}},
                      CancelCase{"CancelButton", {L"Slow", L"5", L"Yes", L"9", L"Cancel"}},
                      CancelCase{"EndOfTheScript", {L"Slow", L"5"}}, CancelCase{"EmptyScript", {}}),
    [](const ::testing::TestParamInfo<CancelCase>& info) { return std::string(info.param.name); });

TEST(Dialog, FailedExchangeKeepsTheDialogOpenAndAsksAgain) {
  HostSession session;
  FormDialog dialog;
  const DialogRun run =
      RunDialog(dialog, {L"", L"", L"", L"many", L"OK", L"", L"", L"", L"8", L"OK"});
  EXPECT_EQ(run.result, IDOK);
  EXPECT_EQ(dialog.okCalls, 2);
  EXPECT_NE(run.transcript.find(L"Count <3>: many\nChoose a button [OK/Cancel/Apply_now] <OK>: OK\n"
                                L"[Test Form] Please enter an integer.\n"),
            std::wstring::npos)
      << plx::Utf8FromWide(run.transcript);
  // The second round shows the text as the user left it.
  EXPECT_NE(run.transcript.find(L"Count <many>: 8\n"), std::wstring::npos)
      << plx::Utf8FromWide(run.transcript);
  EXPECT_EQ(dialog.count, 8);
}

TEST(Dialog, WithoutButtonsEnterIsOkAndEscIsCancel) {
  HostSession session;
  CDialog ok(IDD_BARE);
  const DialogRun accepted = RunDialog(ok, {L""});
  EXPECT_EQ(accepted.result, IDOK);
  EXPECT_EQ(accepted.transcript, L"[Bare]\nChoose a button [OK/Cancel] <OK>: \n");
  CDialog cancelled(IDD_BARE);
  EXPECT_EQ(RunDialog(cancelled, {L"Cancel"}).result, IDCANCEL);
}

TEST(Dialog, MissingTemplateReturnsMinusOneWithoutInitialising) {
  HostSession session;
  FormDialog dialog(IDD_MISSING);
  const DialogRun run = RunDialog(dialog, {L"Slow", L"OK"});
  EXPECT_EQ(run.result, -1);
  EXPECT_EQ(dialog.initCalls, 0);
  EXPECT_EQ(run.transcript, L"");
}

TEST(Dialog, ControlsAnswerThePlatformsMessagesWhileShown) {
  HostSession session;
  struct Probe : FormDialog {
    LRESULT position = -1, checked = -1, rangeMin = -1;
    CString text;
    BOOL OnInitDialog() override {
      FormDialog::OnInitDialog();
      CWnd* slider = GetDlgItem(IDC_LEVEL);
      slider->SendMessage(TBM_SETRANGE, TRUE, MAKELPARAM(5, 50));
      position = slider->SendMessage(TBM_GETPOS);  // 10 stays within 5 to 50
      rangeMin = slider->SendMessage(TBM_GETRANGEMIN);
      CheckRadioButton(IDC_FAST, IDC_OFF, IDC_SLOW);
      checked = IsDlgButtonChecked(IDC_SLOW);
      GetDlgItem(IDC_COUNT)->GetWindowText(text);
      EXPECT_EQ(CWnd::FromHandle(m_hWnd), this);
      EXPECT_EQ(GetDlgItem(IDC_LEVEL)->GetParent(), this);
      EXPECT_EQ(GetDlgItem(IDC_LEVEL)->GetDlgCtrlID(), IDC_LEVEL);
      EXPECT_EQ(GetDlgItem(12345), nullptr);
      return TRUE;
    }
  } dialog;
  const DialogRun run = RunDialog(dialog, {L"", L"", L"", L"", L"OK"});
  EXPECT_EQ(run.result, IDOK);
  EXPECT_EQ(dialog.position, 10);
  EXPECT_EQ(dialog.rangeMin, 5);
  EXPECT_EQ(dialog.checked, BST_CHECKED);
  EXPECT_EQ(dialog.text, L"3");
  EXPECT_EQ(dialog.speed, 1);
  EXPECT_NE(run.transcript.find(L"Level (5 to 50) <10>: "), std::wstring::npos);
}

TEST(Dialog, UpdateDataWithoutAWindowFails) {
  FormDialog dialog;
  EXPECT_FALSE(dialog.UpdateData(TRUE));
}

TEST(Window, FromHandleOfAForeignWindowGivesOneTemporaryObject) {
  HWND foreign = reinterpret_cast<HWND>(&foreign);
  CWnd* first = CWnd::FromHandle(foreign);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->m_hWnd, foreign);
  EXPECT_EQ(first->GetSafeHwnd(), foreign);
  EXPECT_EQ(CWnd::FromHandle(foreign), first);
  EXPECT_EQ(first->GetDlgItem(1), nullptr);  // not a window of ours: no controls, no crash
  EXPECT_EQ(first->SendMessage(TBM_GETPOS), 0);
  EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
}

TEST(Resources, LoadStringFindsTheProgramsStringTable) {
  CString greeting;
  ASSERT_TRUE(greeting.LoadString(IDS_GREETING));
  EXPECT_EQ(greeting, L"Hello, \"world\"\n");
  CString wide;
  ASSERT_TRUE(wide.LoadString(IDS_WIDE));
  EXPECT_EQ(wide, L"Gr\u00fc\u00dfe");
  CString kept(L"kept");
  EXPECT_FALSE(kept.LoadString(9999));
  EXPECT_EQ(kept, L"kept");
}
