// The application's part in single-document programs: profile settings in the
// registry, the document template, the command line, file new and open, the
// recent files, exit, and idle updates of the main frame.
#include "AfxDoc.h"
#include "Mbcs.h"
#include "SdiText.h"

int CWinApp::ExitInstance() {
  AfxDeleteDestroyedWnds();
  if (m_pRecentFileList) {
    SaveStdProfileSettings();
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
  }
  delete m_pDocTemplate;
  m_pDocTemplate = nullptr;
  return m_nExitCode;
}

BOOL CWinApp::OnIdle(LONG lCount) {
  AfxDeleteDestroyedWnds();  // no message is being handled now
  if (lCount == 0 && m_pMainWnd && m_pMainWnd->m_hWnd) {
    ::SendMessageA(m_pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
    return TRUE;
  }
  return FALSE;
}

BOOL CWinApp::OnCmdMsg(UINT nID, UINT nCode, CCmdUI* pCmdUI) {
  bool query = nCode == AFX_CN_QUERY_HANDLER && !pCmdUI;
  if (nID == ID_APP_EXIT) {
    if (pCmdUI) return FALSE;
    if (!query) OnAppExit();
    return TRUE;
  }
  if (m_pRecentFileList && nID >= ID_FILE_MRU_FILE1 &&
      nID < ID_FILE_MRU_FILE1 + static_cast<UINT>(m_pRecentFileList->GetSize())) {
    if (pCmdUI) {
      if (nID != ID_FILE_MRU_FILE1) return FALSE;
      m_pRecentFileList->UpdateMenu(pCmdUI);
      return TRUE;
    }
    if (!query) OnOpenRecentFile(nID);
    return TRUE;
  }
  return FALSE;
}

// ---- profile --------------------------------------------------------------------------
namespace {
// HKCU\Software\<key>\<application>\<section>, created on demand when writing.
HKEY OpenSectionKey(const CWinApp& app, const char* lpszSection, bool create, REGSAM access = KEY_READ) {
  if (app.m_strRegistryKey.empty() || app.m_strProfileName.empty()) return nullptr;
  std::string path = "Software\\" + app.m_strRegistryKey + "\\" + app.m_strProfileName + "\\" + lpszSection;
  HKEY h = nullptr;
  LONG r = create ? ::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      KEY_READ | KEY_WRITE, nullptr, &h, nullptr)
                  : ::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, access, &h);
  return r == ERROR_SUCCESS ? h : nullptr;
}
}  // namespace

void CWinApp::SetRegistryKey(const char* lpszRegistryKey) {
  m_strRegistryKey = lpszRegistryKey ? lpszRegistryKey : "";
  m_strProfileName = m_pszAppName ? m_pszAppName : "";
}

CString CWinApp::GetProfileString(const char* lpszSection, const char* lpszEntry, const char* lpszDefault) {
  CString def = lpszDefault ? lpszDefault : "";
  HKEY h = OpenSectionKey(*this, lpszSection, false);
  if (!h) return def;
  char buf[MAX_PATH] = "";  // values are paths: 260 bytes at most
  DWORD type = 0, size = sizeof buf;
  LONG r = ::RegQueryValueExA(h, lpszEntry, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
  ::RegCloseKey(h);
  if (r != ERROR_SUCCESS || type != REG_SZ) return def;
  buf[sizeof buf - 1] = '\0';
  return CString(buf, strnlen(buf, size));
}

BOOL CWinApp::WriteProfileString(const char* lpszSection, const char* lpszEntry, const char* lpszValue) {
  HKEY h = OpenSectionKey(*this, lpszSection, lpszValue != nullptr, KEY_READ | KEY_WRITE);
  if (!h) return lpszValue == nullptr;  // nothing to delete
  LONG r;
  if (lpszValue)
    r = ::RegSetValueExA(h, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                         static_cast<DWORD>(strlen(lpszValue) + 1));
  else
    r = ::RegDeleteValueA(h, lpszEntry);
  ::RegCloseKey(h);
  return r == ERROR_SUCCESS || (!lpszValue && r == ERROR_FILE_NOT_FOUND);
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
  if (nMaxMRU == 0) return;
  if (nMaxMRU > 16) nMaxMRU = 16;
  delete m_pRecentFileList;
  m_pRecentFileList = new CRecentFileList(0, afxtext::kRecentFileSection, "File", static_cast<int>(nMaxMRU));
  m_pRecentFileList->ReadList();
}

void CWinApp::SaveStdProfileSettings() {
  if (m_pRecentFileList) m_pRecentFileList->WriteList();
}

void CWinApp::AddToRecentFileList(const char* lpszPathName) {
  if (m_pRecentFileList && lpszPathName) m_pRecentFileList->Add(lpszPathName);
}

// ---- documents ----------------------------------------------------------------------------
void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
  if (m_pDocTemplate && m_pDocTemplate != pTemplate) delete m_pDocTemplate;
  m_pDocTemplate = pTemplate;
  pTemplate->LoadTemplate();
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
  std::vector<std::string> args = sdi::SplitCommandLine(m_lpCmdLine ? m_lpCmdLine : "");
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    BOOL bLast = i + 1 == args.size();
    if (!a.empty() && (a[0] == '-' || a[0] == '/'))
      rCmdInfo.ParseParam(a.c_str() + 1, TRUE, bLast);
    else
      rCmdInfo.ParseParam(a.c_str(), FALSE, bLast);
  }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
  switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
      if (!OnCmdMsg(ID_FILE_NEW, 0, nullptr)) OnFileNew();
      return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
      return OpenDocumentFile(rCmdInfo.m_strFileName.c_str()) != nullptr;
    default:
      return TRUE;
  }
}

CDocument* CWinApp::OpenDocumentFile(const char* lpszFileName) {
  if (!m_pDocTemplate || !lpszFileName) return nullptr;
  char full[MAX_PATH + 1] = "";
  char* filePart = nullptr;
  DWORD n = ::GetFullPathNameA(lpszFileName, MAX_PATH, full, &filePart);
  CString path = (n > 0 && n < MAX_PATH) ? CString(full, n) : CString(lpszFileName);
  // the file already open is not read again
  CDocument* pOpen = m_pDocTemplate->GetOnlyDocument();
  if (pOpen && !pOpen->GetPathName().empty() && mbcs::IEquals(pOpen->GetPathName(), path)) {
    if (CView* v = pOpen->GetFirstView())
      if (CFrameWnd* f = v->GetParentFrame()) f->ActivateFrame();
    return pOpen;
  }
  return m_pDocTemplate->OpenDocumentFile(path.c_str());
}

BOOL CWinApp::DoPromptFileName(CString& fileName, const char* lpszTitle, DWORD lFlags, BOOL bOpenFileDialog,
                               CDocTemplate* pTemplate) {
  if (!pTemplate) pTemplate = m_pDocTemplate;
  CString filterName, filterExt;
  if (pTemplate) {
    pTemplate->GetDocString(filterName, CDocTemplate::filterName);
    pTemplate->GetDocString(filterExt, CDocTemplate::filterExt);
  }
  std::string filter = sdi::FileDialogFilter(filterName, filterExt, afxtext::kAllFilter);
  std::string defExt = !filterExt.empty() && filterExt[0] == '.' ? filterExt.substr(1) : filterExt;
  char file[MAX_PATH] = "";
  std::string proposal = mbcs::FitBuffer(fileName, sizeof file);
  memcpy(file, proposal.c_str(), proposal.size() + 1);

  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrTitle = lpszTitle;
  ofn.lpstrDefExt = defExt.empty() ? nullptr : defExt.c_str();
  ofn.Flags = lFlags | OFN_EXPLORER | OFN_ENABLESIZING;
  BOOL ok = bOpenFileDialog ? ::GetOpenFileNameA(&ofn) : ::GetSaveFileNameA(&ofn);
  if (ok) fileName = file;
  return ok;
}

BOOL CWinApp::SaveAllModified() { return !m_pDocTemplate || m_pDocTemplate->SaveAllModified(); }

void CWinApp::CloseAllDocuments(BOOL bEndSession) {
  if (m_pDocTemplate) m_pDocTemplate->CloseAllDocuments(bEndSession);
}

void CWinApp::OnFileNew() {
  if (m_pDocTemplate) m_pDocTemplate->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen() {
  CString name;
  if (!DoPromptFileName(name, afxtext::kOpenTitle, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE, nullptr)) return;
  OpenDocumentFile(name.c_str());
}

void CWinApp::OnAppExit() {
  if (m_pMainWnd && m_pMainWnd->m_hWnd) ::SendMessageA(m_pMainWnd->m_hWnd, WM_CLOSE, 0, 0);
}

BOOL CWinApp::OnOpenRecentFile(UINT nID) {
  if (!m_pRecentFileList) return FALSE;
  int i = static_cast<int>(nID - ID_FILE_MRU_FILE1);
  if (i < 0 || i >= m_pRecentFileList->GetSize() || (*m_pRecentFileList)[i].empty()) return FALSE;
  std::string path = (*m_pRecentFileList)[i];
  if (!OpenDocumentFile(path.c_str())) {
    m_pRecentFileList->Remove(i);  // gone or unreadable: no use offering it again
    return FALSE;
  }
  return TRUE;
}
