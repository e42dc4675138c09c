// CFileDialog on the command line, as the host asks for a file name when its file dialogs are
// off: one line, the default name on Enter, the default extension added, and the platform's
// checks (folder exists, file exists when opening, overwrite question when saving).
#include <unistd.h>

#include <cwctype>
#include <filesystem>

#include "afxdlgs.h"
#include "host_prompts.h"
#include "win32/text.h"
#include "win32/transcript.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kAnswerLength = 4096;

bool IsSeparator(wchar_t c) { return c == L'/' || c == L'\\'; }

bool IsAbsolute(const std::wstring& path) {
  return (!path.empty() && IsSeparator(path[0])) ||
         (path.size() >= 2 && path[1] == L':' && std::iswalpha(static_cast<wint_t>(path[0])));
}

std::wstring CurrentFolder() {
  std::error_code ec;
  const fs::path cwd = fs::current_path(ec);
  return ec ? std::wstring(L".") : plx::WideFromUtf8(cwd.string());
}

// The name part of a path: after the last separator.
size_t NameOffset(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"/\\");
  return slash == std::wstring::npos ? 0 : slash + 1;
}

// Where the extension starts (after its dot) in the name part; npos without one.
size_t ExtensionOffset(const std::wstring& path) {
  const size_t name = NameOffset(path);
  const size_t dot = path.rfind(L'.');
  return dot == std::wstring::npos || dot < name || dot + 1 == path.size() ? std::wstring::npos
                                                                           : dot + 1;
}

std::wstring Trimmed(const std::wstring& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && std::iswspace(static_cast<wint_t>(text[begin]))) ++begin;
  while (end > begin && std::iswspace(static_cast<wint_t>(text[end - 1]))) --end;
  std::wstring out = text.substr(begin, end - begin);
  if (out.size() >= 2 && out.front() == L'"' && out.back() == L'"')
    out = out.substr(1, out.size() - 2);
  return out;
}

std::wstring Normalised(const std::wstring& path) {
  std::wstring out = path;
  for (wchar_t& c : out)
    if (c == L'\\') c = L'/';
  return plx::WideFromUtf8(fs::path(plx::Utf8FromWide(out)).lexically_normal().string());
}

}  // namespace

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName,
                         DWORD dwFlags, LPCTSTR lpszFilter, CWnd* pParentWnd, DWORD, BOOL)
    : CDialog(0, pParentWnd), m_ofn(), m_bOpenFileDialog(bOpenFileDialog) {
  m_ofn.lStructSize = sizeof(OPENFILENAME);
  m_ofn.hwndOwner = pParentWnd ? pParentWnd->m_hWnd : nullptr;
  m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLESIZING;
  m_ofn.lpstrFile = fileName_;
  m_ofn.nMaxFile = _MAX_PATH;
  if (lpszDefExt) {
    defExt_ = lpszDefExt;
    m_ofn.lpstrDefExt = defExt_.GetString();
  }
  if (lpszFileName) wcsncpy(fileName_, lpszFileName, _MAX_PATH - 1);
  if (lpszFilter) {
    // MFC's '|' separators become the structure's '\0' separators.
    filter_ = lpszFilter;
    const int length = filter_.GetLength();
    wchar_t* buffer = filter_.GetBuffer(length + 1);
    for (int i = 0; i < length; ++i)
      if (buffer[i] == L'|') buffer[i] = L'\0';
    buffer[length] = L'\0';
    m_ofn.lpstrFilter = buffer;
    m_ofn.nFilterIndex = 1;
  }
}

INT_PTR CFileDialog::DoModal() {
  if (!plx::mfc::HostPromptsAvailable()) return IDCANCEL;
  const std::wstring initial = fileName_;
  const std::wstring defaultExt = m_ofn.lpstrDefExt ? m_ofn.lpstrDefExt : L"";
  std::wstring prompt = L"Enter file name";
  if (!initial.empty()) prompt += L" <" + initial + L">";
  prompt += L": ";
  for (;;) {
    ACHAR answer[kAnswerLength] = {};
    acedInitGet(0, nullptr);
    const int status = acedGetString(1, prompt.c_str(), answer, kAnswerLength);
    if (status == RTCAN) return IDCANCEL;
    if (status != RTNORM) {
      plx::WriteTranscript(L"The file name is too long.\n");
      continue;
    }
    std::wstring name = Trimmed(answer);
    if (name.empty()) name = initial;
    if (name.empty()) {
      plx::WriteTranscript(L"Requires a file name.\n");
      continue;
    }
    if (!IsSeparator(name.back()) && ExtensionOffset(name) == std::wstring::npos &&
        !defaultExt.empty())
      name += L"." + defaultExt;
    const std::wstring folder =
        m_ofn.lpstrInitialDir ? std::wstring(m_ofn.lpstrInitialDir) : CurrentFolder();
    const std::wstring path = Normalised(IsAbsolute(name) ? name : folder + L"/" + name);
    const std::string native = plx::NativePath(path);
    std::error_code ec;
    if (IsSeparator(name.back()) || fs::is_directory(native, ec)) {
      std::wstring folderName = path;
      while (folderName.size() > 1 && IsSeparator(folderName.back())) folderName.pop_back();
      plx::WriteTranscript(folderName + L" is a folder.\n");
      continue;
    }
    const std::string parent = fs::path(native).parent_path().string();
    if (!parent.empty() && !fs::is_directory(parent, ec)) {
      plx::WriteTranscript(L"The folder " + plx::WideFromUtf8(parent) + L" does not exist.\n");
      continue;
    }
    const bool exists = fs::exists(native, ec);
    if (m_bOpenFileDialog && (m_ofn.Flags & OFN_FILEMUSTEXIST) && !exists) {
      plx::WriteTranscript(path + L" was not found.\n");
      continue;
    }
    if (path.size() >= m_ofn.nMaxFile) {
      plx::WriteTranscript(L"The file name is too long.\n");
      continue;
    }
    if (!m_bOpenFileDialog && exists && (m_ofn.Flags & OFN_OVERWRITEPROMPT)) {
      ACHAR reply[32] = {};
      acedInitGet(0, L"Yes No");
      const std::wstring question = path + L" already exists. Replace it? [Yes/No] <No>: ";
      const int replace = acedGetKword(question.c_str(), reply, 32);
      if (replace == RTCAN) return IDCANCEL;
      if (replace != RTNORM || std::wstring(reply) != L"Yes") continue;
    }
    wcsncpy(fileName_, path.c_str(), _MAX_PATH - 1);
    fileName_[_MAX_PATH - 1] = L'\0';
    m_ofn.nFileOffset = static_cast<WORD>(NameOffset(path));
    const size_t ext = ExtensionOffset(path);
    m_ofn.nFileExtension = static_cast<WORD>(ext == std::wstring::npos ? 0 : ext);
    return IDOK;
  }
}

CString CFileDialog::GetPathName() const { return CString(fileName_); }

CString CFileDialog::GetFileName() const { return CString(fileName_ + m_ofn.nFileOffset); }

CString CFileDialog::GetFileExt() const {
  return m_ofn.nFileExtension ? CString(fileName_ + m_ofn.nFileExtension) : CString();
}

CString CFileDialog::GetFileTitle() const {
  const CString name = GetFileName();
  return m_ofn.nFileExtension ? name.Left(m_ofn.nFileExtension - m_ofn.nFileOffset - 1) : name;
}

CString CFileDialog::GetFolderPath() const {
  // Without the separator before the name, except for the root folder itself.
  return CString(fileName_, m_ofn.nFileOffset > 1 ? m_ofn.nFileOffset - 1 : m_ofn.nFileOffset);
}
