// The options dialog over dialog template 200. The options live in the registry under the
// product's key; values go in and out unchecked, so what was stored is what the next run shows
// (the slider itself keeps its position within 0 to 100).
#include "PlovexOptionsDlg.h"

#include "TVKGUI.h"

namespace {

const wchar_t kOptionsKey[] = L"Software\\TALVEK\\Plovex for AutoCAD";
constexpr int kCurrentUser = 1;
constexpr int kDefaultType = 1;
constexpr int kDefaultResolution = 50;

}  // namespace

CPlovexOptionsDlg::CPlovexOptionsDlg(CWnd* pParent)
    : CDialog(CPlovexOptionsDlg::IDD, pParent), m_nType(-1), m_nResolution(0) {}

void CPlovexOptionsDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Radio(pDX, IDC_RADIO_ASCII, m_nType);
  DDX_Slider(pDX, IDC_SLIDER_RESOLUTION, m_nResolution);
}

BEGIN_MESSAGE_MAP(CPlovexOptionsDlg, CDialog)
END_MESSAGE_MAP()

BOOL CPlovexOptionsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TVKRegistry registry;
  registry.SetKey(kOptionsKey, kCurrentUser);
  m_nType = registry.ReadInt(L"Type", kDefaultType);
  m_nResolution = registry.ReadInt(L"Resolution", kDefaultResolution);
  UpdateData(FALSE);
  return TRUE;
}

void CPlovexOptionsDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  TVKRegistry registry;
  registry.SetKey(kOptionsKey, kCurrentUser);
  registry.WriteInt(L"Type", m_nType);
  registry.WriteInt(L"Resolution", m_nResolution);
  CDialog::OnOK();
}
