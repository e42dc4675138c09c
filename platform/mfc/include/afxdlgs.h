// MFC's common file dialog, asked on the host's command line as the host asks for a file when
// its file dialogs are off.
#pragma once

#include "afxstr.h"
#include "afxwin.h"
#include "win32.h"

#define OFN_READONLY 0x00000001
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_NOCHANGEDIR 0x00000008
#define OFN_NOVALIDATE 0x00000100
#define OFN_ALLOWMULTISELECT 0x00000200
#define OFN_EXTENSIONDIFFERENT 0x00000400
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000
#define OFN_CREATEPROMPT 0x00002000
#define OFN_NOREADONLYRETURN 0x00008000
#define OFN_EXPLORER 0x00080000
#define OFN_ENABLESIZING 0x00800000

struct OPENFILENAMEW {
  DWORD lStructSize;
  HWND hwndOwner;
  HINSTANCE hInstance;
  LPCWSTR lpstrFilter;  // pairs of description and pattern, each ended by '\0', then '\0'
  LPWSTR lpstrCustomFilter;
  DWORD nMaxCustFilter;
  DWORD nFilterIndex;
  LPWSTR lpstrFile;  // the initial name, and the chosen full path after IDOK
  DWORD nMaxFile;
  LPWSTR lpstrFileTitle;
  DWORD nMaxFileTitle;
  LPCWSTR lpstrInitialDir;  // the folder that relative names are taken in; null: the current one
  LPCWSTR lpstrTitle;
  DWORD Flags;
  WORD nFileOffset;     // where the file name starts in lpstrFile
  WORD nFileExtension;  // where the extension starts (after the dot); 0 without one
  LPCWSTR lpstrDefExt;
  LPARAM lCustData;
  void* lpfnHook;
  LPCWSTR lpTemplateName;
};
typedef OPENFILENAMEW OPENFILENAME;

// On the command line: "Enter file name <default>: ", one line. An empty line takes the default
// name; quotes around a name are removed; a name without an extension gets the default
// extension; a relative name is taken in lpstrInitialDir or the current folder. A folder, a name
// in a folder that does not exist, or (opening, with OFN_FILEMUSTEXIST) a missing file is
// refused with a message and asked again. Saving over an existing file with OFN_OVERWRITEPROMPT
// asks "Replace it? [Yes/No] <No>": No asks for the name again. A cancelled prompt ("^C", or the
// end of the input) is IDCANCEL.
class CFileDialog : public CDialog {
 public:
  // lpszDefExt without its dot, lpszFileName the initial name, lpszFilter as in MFC
  // ("Text (*.txt)|*.txt||"); each may be null. dwSize and bVistaStyle change nothing here.
  explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr,
                       LPCTSTR lpszFileName = nullptr,
                       DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       LPCTSTR lpszFilter = nullptr, CWnd* pParentWnd = nullptr, DWORD dwSize = 0,
                       BOOL bVistaStyle = TRUE);

  // IDOK with the chosen path, or IDCANCEL.
  INT_PTR DoModal() override;

  OPENFILENAME& GetOFN() { return m_ofn; }
  const OPENFILENAME& GetOFN() const { return m_ofn; }
  // After IDOK the full path of the chosen file ("/work/out/Export.stl"); before, the initial
  // name as given, as lpstrFile holds it.
  CString GetPathName() const;
  CString GetFileName() const;   // "Export.stl"
  CString GetFileExt() const;    // "stl"
  CString GetFileTitle() const;  // "Export"
  CString GetFolderPath() const;
  BOOL GetReadOnlyPref() const { return (m_ofn.Flags & OFN_READONLY) != 0; }

  OPENFILENAME m_ofn;
  BOOL m_bOpenFileDialog;

 private:
  wchar_t fileName_[_MAX_PATH] = {};
  CString filter_;
  CString defExt_;
};
