// Documents: the file commands' hooks, loading and saving through an archive, the
// save prompt and the standard failure messages. Files underneath.
#include <algorithm>

#include "AfxDoc.h"
#include "Mbcs.h"
#include "SdiText.h"

namespace afxtext {
const char kUntitled[] = "無題";
const char kOpenTitle[] = "ﾌｧｲﾙを開く";
const char kSaveTitle[] = "名前を付けて保存";
const char kAllFilter[] = "すべてのﾌｧｲﾙ (*.*)";
const char kFailedToOpen[] = "%1 を開けませんでした。\nﾌｧｲﾙがあるか、ほかのﾌﾟﾛｸﾞﾗﾑが使用中でないかを確かめてください。";
const char kFailedToLoad[] = "%1 を読み込めませんでした。\nﾌｧｲﾙの形式が違うか、ﾌｧｲﾙが壊れています。";
const char kFailedToSave[] = "%1 に保存できませんでした。\nﾃﾞｨｽｸの空きと書き込みの権限を確かめてください。";
const char kAskToSave[] = "%1 への変更を保存しますか?";
const char kRecentFileSection[] = "Recent File List";
}  // namespace afxtext

// ---- files ----------------------------------------------------------------------------
BOOL CFile::Open(const char* lpszFileName, UINT nOpenFlags) {
  Close();
  bool write = (nOpenFlags & modeWrite) != 0;
  m_hFile = ::CreateFileA(lpszFileName, write ? GENERIC_WRITE : GENERIC_READ, write ? 0 : FILE_SHARE_READ, nullptr,
                          (nOpenFlags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  m_dwError = m_hFile == INVALID_HANDLE_VALUE ? ::GetLastError() : 0;
  return m_hFile != INVALID_HANDLE_VALUE;
}

void CFile::Close() {
  if (m_hFile != INVALID_HANDLE_VALUE) ::CloseHandle(m_hFile);
  m_hFile = INVALID_HANDLE_VALUE;
}

size_t CFile::Read(void* p, size_t n) {
  size_t done = 0;
  while (done < n) {
    DWORD want = n - done > 0x40000000 ? 0x40000000 : static_cast<DWORD>(n - done);
    DWORD got = 0;
    if (!::ReadFile(m_hFile, static_cast<char*>(p) + done, want, &got, nullptr)) {
      m_dwError = ::GetLastError();
      break;
    }
    if (got == 0) break;
    done += got;
  }
  return done;
}

bool CFile::Write(const void* p, size_t n) {
  size_t done = 0;
  while (done < n) {
    DWORD want = n - done > 0x40000000 ? 0x40000000 : static_cast<DWORD>(n - done);
    DWORD put = 0;
    if (!::WriteFile(m_hFile, static_cast<const char*>(p) + done, want, &put, nullptr) || put == 0) {
      m_dwError = ::GetLastError();
      return false;
    }
    done += put;
  }
  return true;
}

DWORD CFile::GetLength() const { return ::GetFileSize(m_hFile, nullptr); }

size_t CFile::SizeHint() {
  DWORD size = ::GetFileSize(m_hFile, nullptr);
  DWORD pos = ::SetFilePointer(m_hFile, 0, nullptr, FILE_CURRENT);
  if (size == INVALID_FILE_SIZE || pos == INVALID_SET_FILE_POINTER || pos > size) return 0;
  return size - pos;
}

bool AfxWideToMultiByte(const uint16_t* pText, size_t nChars, std::string& out) {
  out.clear();
  if (nChars == 0) return true;
  if (nChars > 0x3FFFFFFF) return false;
  const wchar_t* w = reinterpret_cast<const wchar_t*>(pText);
  BOOL usedDefault = FALSE;
  int n = ::WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(nChars), nullptr, 0, nullptr, &usedDefault);
  if (n <= 0) return false;
  out.resize(static_cast<size_t>(n));
  n = ::WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(nChars), &out[0], n, nullptr, &usedDefault);
  out.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return n > 0;
}

// ---- document ---------------------------------------------------------------------------
CDocument::~CDocument() {
  for (CView* v : m_viewList) v->m_pDocument = nullptr;
  if (m_pDocTemplate) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(const char* lpszTitle) {
  m_strTitle = lpszTitle ? lpszTitle : "";
  UpdateFrameCounts();
}

void CDocument::SetPathName(const char* lpszPathName, BOOL bAddToMRU) {
  char full[MAX_PATH + 1] = "";
  char* filePart = nullptr;
  DWORD n = ::GetFullPathNameA(lpszPathName, MAX_PATH, full, &filePart);
  m_strPathName = (n > 0 && n < MAX_PATH) ? CString(full, n) : CString(lpszPathName);
  SetTitle(sdi::FileNameOf(m_strPathName).c_str());
  if (bAddToMRU && AfxGetApp()) AfxGetApp()->AddToRecentFileList(m_strPathName.c_str());
}

void CDocument::AddView(CView* pView) {
  if (std::find(m_viewList.begin(), m_viewList.end(), pView) != m_viewList.end()) return;
  m_viewList.push_back(pView);
  pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView) {
  m_viewList.erase(std::remove(m_viewList.begin(), m_viewList.end(), pView), m_viewList.end());
  pView->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
  for (CView* v : m_viewList)
    if (v != pSender) v->OnUpdate(pSender, lHint, pHint);
}

void CDocument::UpdateFrameCounts() {
  for (CView* v : m_viewList) {
    if (!v->m_hWnd || !::IsWindowVisible(v->m_hWnd)) continue;
    if (CFrameWnd* f = v->GetParentFrame()) f->OnUpdateFrameTitle(TRUE);
  }
}

BOOL CDocument::OnNewDocument() {
  DeleteContents();
  m_strPathName.clear();
  SetModifiedFlag(FALSE);
  return TRUE;
}

namespace {
void ReportFileProblem(const char* fmt, const char* lpszPathName) {
  AfxMessageBox(sdi::FormatString1(fmt, lpszPathName ? lpszPathName : "").c_str(), MB_OK | MB_ICONEXCLAMATION);
}
}  // namespace

BOOL CDocument::OnOpenDocument(const char* lpszPathName) {
  CFile file;
  if (!file.Open(lpszPathName, CFile::modeRead)) {
    ReportFileProblem(afxtext::kFailedToOpen, lpszPathName);
    return FALSE;
  }
  DeleteContents();
  SetModifiedFlag();  // what is loaded half-way is not the file
  bool ok;
  {
    CArchive ar(&file, CArchive::load);
    ar.m_pDocument = this;
    ar.m_pfnWideToMultiByte = AfxWideToMultiByte;
    HCURSOR old = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    Serialize(ar);
    ok = ar.Close();
    ::SetCursor(old);
  }
  file.Close();
  if (!ok) {
    DeleteContents();
    ReportFileProblem(afxtext::kFailedToLoad, lpszPathName);
    return FALSE;
  }
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::OnSaveDocument(const char* lpszPathName) {
  // Written beside the target under a temporary name and moved over it only when
  // complete, so a failed save leaves the old file as it was.
  CString path = lpszPathName;
  size_t sep = mbcs::FindLastChar(path, '\\');
  CString dir = sep == std::string::npos ? CString(".") : path.substr(0, sep + 1);
  char temp[MAX_PATH + 1] = "";
  // a read-only file is not replaced (some systems would let the move over it)
  DWORD attr = ::GetFileAttributesA(lpszPathName);
  bool ok = attr == INVALID_FILE_ATTRIBUTES || !(attr & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
  ok = ok && ::GetTempFileNameA(dir.c_str(), "wds", 0, temp) != 0;
  if (ok) {
    CFile file;
    ok = file.Open(temp, CFile::modeCreate | CFile::modeWrite) != FALSE;
    if (ok) {
      CArchive ar(&file, CArchive::store);
      ar.m_pDocument = this;
      Serialize(ar);
      ok = ar.Close();
    }
    file.Close();
    if (ok) ok = ::MoveFileExA(temp, lpszPathName, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != FALSE;
    if (!ok) ::DeleteFileA(temp);
  }
  if (!ok) {
    ReportFileProblem(afxtext::kFailedToSave, lpszPathName);
    return FALSE;
  }
  SetModifiedFlag(FALSE);
  return TRUE;
}

void CDocument::OnCloseDocument() {
  // the views go with their frames; keep this object until they are gone
  BOOL bAutoDelete = m_bAutoDelete;
  m_bAutoDelete = FALSE;
  while (!m_viewList.empty()) {
    CView* v = m_viewList.front();
    CFrameWnd* f = v->GetParentFrame();
    if (f && f->m_hWnd)
      f->DestroyWindow();
    else
      v->DestroyWindow();
    // a view that went with its window has left the list (and may be deleted)
    if (std::find(m_viewList.begin(), m_viewList.end(), v) != m_viewList.end()) RemoveView(v);
  }
  m_bAutoDelete = bAutoDelete;
  DeleteContents();
  if (m_bAutoDelete) delete this;
}

BOOL CDocument::SaveModified() {
  if (!IsModified()) return TRUE;
  CString name = m_strPathName.empty() ? m_strTitle : sdi::FileNameOf(m_strPathName);
  switch (AfxMessageBox(sdi::FormatString1(afxtext::kAskToSave, name).c_str(), MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL:
      return FALSE;
    case IDYES:
      return DoFileSave();
    default:
      return TRUE;
  }
}

BOOL CDocument::DoFileSave() {
  DWORD attr = m_strPathName.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesA(m_strPathName.c_str());
  if (attr == INVALID_FILE_ATTRIBUTES || (attr & FILE_ATTRIBUTE_READONLY)) return DoSave(nullptr);
  return DoSave(m_strPathName.c_str());
}

BOOL CDocument::DoSave(const char* lpszPathName, BOOL bReplace) {
  CString newName = lpszPathName ? lpszPathName : "";
  if (newName.empty()) {
    newName = m_strPathName;
    if (bReplace && newName.empty()) {
      // propose the title without characters a file name would choke on, plus the extension
      newName = m_strTitle;
      for (size_t i = 0; i < newName.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(newName[i]);
        if (mbcs::IsLeadByte(c)) {
          ++i;
          continue;
        }
        if (strchr(" #%;/\\", c)) {
          newName.resize(i);
          break;
        }
      }
      CString ext;
      if (m_pDocTemplate && m_pDocTemplate->GetDocString(ext, CDocTemplate::filterExt)) newName += ext;
    }
    if (!AfxGetApp() || !AfxGetApp()->DoPromptFileName(newName, afxtext::kSaveTitle,
                                                       OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT,
                                                       FALSE, m_pDocTemplate))
      return FALSE;
  }
  if (!OnSaveDocument(newName.c_str())) return FALSE;
  if (bReplace) SetPathName(newName.c_str());
  return TRUE;
}

BOOL CDocument::OnCmdMsg(UINT nID, UINT nCode, CCmdUI* pCmdUI) {
  if (nID != ID_FILE_SAVE && nID != ID_FILE_SAVE_AS) return FALSE;
  if (pCmdUI) return FALSE;  // always enabled: no update handler
  if (nCode == AFX_CN_QUERY_HANDLER) return TRUE;
  if (nID == ID_FILE_SAVE)
    OnFileSave();
  else
    OnFileSaveAs();
  return TRUE;
}

void AfxEnableControlContainer() {}  // no ActiveX controls: nothing to prepare
