// Document templates: one resource id for menu, accelerators and document string,
// and the classes of document, frame and view. The single-document template keeps
// one document and one frame and reuses them for every new or opened file.
#include "AfxDoc.h"
#include "Mbcs.h"
#include "SdiText.h"

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass) {}

void CDocTemplate::LoadTemplate() {
  if (m_strDocStrings.empty()) m_strDocStrings = AfxLoadString(m_nIDResource);
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const {
  return sdi::ExtractSubString(rString, m_strDocStrings, static_cast<int>(index));
}

CDocument* CDocTemplate::CreateNewDocument() {
  CObject* p = m_pDocClass && m_pDocClass->m_pfnCreateObject ? m_pDocClass->m_pfnCreateObject() : nullptr;
  CDocument* pDoc = static_cast<CDocument*>(p);  // the template names a document class
  if (pDoc) pDoc->m_pDocTemplate = this;
  return pDoc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
  CCreateContext context;
  context.m_pCurrentFrame = pOther;
  context.m_pCurrentDoc = pDoc;
  context.m_pNewViewClass = m_pViewClass;
  context.m_pNewDocTemplate = this;
  CWnd* pWnd = m_pFrameClass && m_pFrameClass->m_pfnCreateWnd ? m_pFrameClass->m_pfnCreateWnd() : nullptr;
  if (!pWnd) return nullptr;
  CFrameWnd* pFrame = static_cast<CFrameWnd*>(pWnd);  // the template names a frame class
  if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
    if (!g_bAfxCreateHadWindow) delete pFrame;  // otherwise PostNcDestroy deleted it
    return nullptr;
  }
  return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
  pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

BOOL CDocTemplate::SaveAllModified() {
  CDocument* pDoc = GetOnlyDocument();
  return !pDoc || pDoc->SaveModified();
}

void CDocTemplate::CloseAllDocuments(BOOL) {
  if (CDocument* pDoc = GetOnlyDocument()) pDoc->OnCloseDocument();
}

CSingleDocTemplate::~CSingleDocTemplate() {
  if (m_pOnlyDoc) {
    m_pOnlyDoc->m_pDocTemplate = nullptr;
    delete m_pOnlyDoc;
  }
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc) {
  if (m_pOnlyDoc == pDoc) m_pOnlyDoc = nullptr;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* pDocument) {
  CString name;
  if (!GetDocString(name, docName) || name.empty()) name = afxtext::kUntitled;
  pDocument->SetTitle(name.c_str());
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const char* lpszPathName, BOOL bMakeVisible) {
  CDocument* pDocument = nullptr;
  CFrameWnd* pFrame = nullptr;
  BOOL bCreated = FALSE;
  BOOL bWasModified = FALSE;

  if (m_pOnlyDoc) {
    pDocument = m_pOnlyDoc;
    if (!pDocument->SaveModified()) return nullptr;
    CWnd* pMain = AfxGetMainWnd();
    if (pMain && pDocument->GetFirstView()) pFrame = pDocument->GetFirstView()->GetParentFrame();
  } else {
    pDocument = CreateNewDocument();
    if (!pDocument) return nullptr;
    m_pOnlyDoc = pDocument;
    bCreated = TRUE;
  }
  if (!pFrame) {
    bCreated = TRUE;
    pFrame = CreateNewFrame(pDocument, nullptr);
    if (!pFrame) {
      delete pDocument;  // leaves m_pOnlyDoc through RemoveDocument
      return nullptr;
    }
  }
  // A failure in a frame made just now takes frame and document away.
  auto dropNew = [&]() {
    if (!bCreated) return;
    pDocument->m_bAutoDelete = FALSE;
    if (pFrame->m_hWnd) pFrame->DestroyWindow();
    delete pDocument;
  };

  if (!lpszPathName) {
    SetDefaultTitle(pDocument);
    if (!pDocument->OnNewDocument()) {
      dropNew();
      return nullptr;
    }
  } else {
    bWasModified = pDocument->IsModified();
    pDocument->SetModifiedFlag(FALSE);
    if (!pDocument->OnOpenDocument(lpszPathName)) {
      if (bCreated) {
        dropNew();
      } else if (!pDocument->IsModified()) {
        pDocument->SetModifiedFlag(bWasModified);  // the file never opened: the old list is intact
      } else {
        // the old list was emptied for a load that failed: start afresh
        SetDefaultTitle(pDocument);
        pDocument->OnNewDocument();
      }
      return nullptr;
    }
    pDocument->SetPathName(lpszPathName);
  }

  CWinApp* pApp = AfxGetApp();
  if (bCreated && pApp && !pApp->m_pMainWnd) pApp->m_pMainWnd = pFrame;
  InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
  return pDocument;
}

// ---- command line ---------------------------------------------------------------------
void CCommandLineInfo::ParseParam(const char* pszParam, BOOL bFlag, BOOL) {
  if (bFlag || !m_strFileName.empty()) return;  // one file; no options of our own
  m_strFileName = pszParam;
  m_nShellCommand = FileOpen;
}
