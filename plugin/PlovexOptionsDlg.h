// The export options dialog: STL file type and tessellation resolution, offered from the values
// stored at the last confirmed run and stored again when the user confirms with OK.
#pragma once

#include "afx.h"
#include "resource.h"

class CPlovexOptionsDlg : public CDialog {
 public:
  enum { IDD = IDD_PLOVEX_OPTIONS };

  // pParent: the owner window, may be null.
  explicit CPlovexOptionsDlg(CWnd* pParent = nullptr);

  int m_nType;        // index of the checked file type: 0 ASCII, 1 binary, -1 none
  int m_nResolution;  // slider position, 0 (Low) to 100 (High)

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  // Loads both options from the registry (defaults: binary, 50) into the controls.
  BOOL OnInitDialog() override;
  // Takes the controls' values and stores both options, then closes with IDOK.
  void OnOK() override;

  DECLARE_MESSAGE_MAP()
};
