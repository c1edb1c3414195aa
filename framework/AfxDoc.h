// The single-document part of our MFC stand-in: document, view, frame with status
// bar, document template, files and archives over them, dynamic creation.
#pragma once
// clang-format off
#include "AfxWin.h"  // windows.h first: commdlg.h needs it
#include <commdlg.h>
// clang-format on

#include <type_traits>
#include <vector>

#include "AfxRes.h"
#include "Archive.h"
#include "RecentFiles.h"

class CDocument;
class CView;
class CFrameWnd;
class CDocTemplate;

// ---- dynamic creation -----------------------------------------------------------
class CObject {
 public:
  virtual ~CObject() = default;
};

// Names a class the framework creates by itself: documents (CObject) and frames and
// views (CWnd).
struct CRuntimeClass {
  const char* m_lpszClassName;
  CObject* (*m_pfnCreateObject)();
  CWnd* (*m_pfnCreateWnd)();
};

template <class T>
CObject* AfxNewObject() {
  if constexpr (std::is_base_of_v<CObject, T>) return new T;
  return nullptr;
}
template <class T>
CWnd* AfxNewWnd() {
  if constexpr (std::is_base_of_v<CWnd, T>) return new T;
  return nullptr;
}

#define DECLARE_DYNCREATE(theClass)     \
 public:                                \
  static CRuntimeClass class##theClass; \
  template <class T>                    \
  friend CObject* AfxNewObject();       \
  template <class T>                    \
  friend CWnd* AfxNewWnd();
#define IMPLEMENT_DYNCREATE(theClass, baseClass) \
  CRuntimeClass theClass::class##theClass = {#theClass, &AfxNewObject<theClass>, &AfxNewWnd<theClass>};
#define RUNTIME_CLASS(theClass) (&theClass::class##theClass)

// Handed from the template through frame creation to the view's creation.
struct CCreateContext {
  CRuntimeClass* m_pNewViewClass = nullptr;
  CDocument* m_pCurrentDoc = nullptr;
  CDocTemplate* m_pNewDocTemplate = nullptr;
  CFrameWnd* m_pCurrentFrame = nullptr;
};

// OnCmdMsg code asking only whether some target has a handler for a command; the
// frame greys menu items that nobody handles.
constexpr UINT AFX_CN_QUERY_HANDLER = 0xFFFFFFFD;

// Registers (once) and names a window class with these attributes.
const char* AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                                HICON hIcon = nullptr);
// Creates the window of a framework object so that its message map sees WM_CREATE.
BOOL AfxCreateWnd(CWnd* pWnd, CREATESTRUCTA& cs);
// After a failed LoadFrame or view Create: whether a window existed for a moment.
// Frames and views then deleted themselves (PostNcDestroy); otherwise the caller
// still owns the object.
extern BOOL g_bAfxCreateHadWindow;
// A frame or view whose window goes while one of its own messages is still being
// handled (closing from a command, say) is deleted only when that message is done:
// the window procedure still touches the object on its way out. AfxDeleteWndLater
// keeps it; AfxDeleteDestroyedWnds deletes what was kept, when no message is being
// handled (the application calls it when idle and at exit).
void AfxDeleteWndLater(CWnd* pWnd);
void AfxDeleteDestroyedWnds();

// ---- files --------------------------------------------------------------------------
class CFile : public CArchiveStream {
 public:
  enum OpenFlags { modeRead = 0x0000, modeWrite = 0x0001, modeCreate = 0x1000 };
  CFile() = default;
  ~CFile() override { Close(); }
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  BOOL Open(const char* lpszFileName, UINT nOpenFlags);
  void Close();
  size_t Read(void* p, size_t n) override;
  bool Write(const void* p, size_t n) override;
  size_t SizeHint() override;
  DWORD GetLength() const;

  HANDLE m_hFile = INVALID_HANDLE_VALUE;
  DWORD m_dwError = 0;  // the last system error
};

// UTF-16 to the ANSI code page, for archived wide strings.
bool AfxWideToMultiByte(const uint16_t* pText, size_t nChars, std::string& out);

// ---- device context (thin) ------------------------------------------------------------
class CDC {
 public:
  HDC m_hDC = nullptr;
  operator HDC() const { return m_hDC; }
};

// ---- document --------------------------------------------------------------------------
class CDocument : public CObject {
 public:
  CDocument() = default;
  ~CDocument() override;

  const CString& GetTitle() const { return m_strTitle; }
  virtual void SetTitle(const char* lpszTitle);
  const CString& GetPathName() const { return m_strPathName; }
  virtual void SetPathName(const char* lpszPathName, BOOL bAddToMRU = TRUE);
  CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
  BOOL IsModified() const { return m_bModified; }
  void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

  void AddView(CView* pView);
  void RemoveView(CView* pView);
  CView* GetFirstView() const { return m_viewList.empty() ? nullptr : m_viewList.front(); }
  void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);
  void UpdateFrameCounts();

  // Hooks of the file commands.
  virtual void DeleteContents() {}
  virtual void Serialize(CArchive& ar) {}
  virtual BOOL OnNewDocument();
  virtual BOOL OnOpenDocument(const char* lpszPathName);
  virtual BOOL OnSaveDocument(const char* lpszPathName);
  virtual void OnCloseDocument();
  // Asks to save a modified document; FALSE when the user cancels or saving fails.
  virtual BOOL SaveModified();
  virtual BOOL DoSave(const char* lpszPathName, BOOL bReplace = TRUE);
  virtual BOOL DoFileSave();
  virtual BOOL OnCmdMsg(UINT nID, UINT nCode, CCmdUI* pCmdUI);

  void OnFileSave() { DoFileSave(); }
  void OnFileSaveAs() { DoSave(nullptr); }

  CString m_strTitle;
  CString m_strPathName;
  CDocTemplate* m_pDocTemplate = nullptr;
  std::vector<CView*> m_viewList;
  BOOL m_bModified = FALSE;
  BOOL m_bAutoDelete = TRUE;
};

// ---- view ----------------------------------------------------------------------------------
class CView : public CWnd {
 public:
  CDocument* GetDocument() const { return m_pDocument; }
  CFrameWnd* GetParentFrame() const;
  BOOL Create(const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
              UINT nID, CCreateContext* pContext);
  virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
  virtual void OnDraw(CDC* pDC) = 0;
  virtual void OnPrepareDC(CDC* pDC, void* pInfo = nullptr) {}
  virtual void OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }
  virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) { Invalidate(TRUE); }
  BOOL OnCmdMsg(UINT nID, UINT nCode, CCmdUI* pCmdUI) override;

  ~CView() override;
  CDocument* m_pDocument = nullptr;

 protected:
  int OnCreate(LPCREATESTRUCT lpcs);
  void OnPaint();
  LRESULT OnInitialUpdateMsg(WPARAM, LPARAM);
  void PostNcDestroy() override;
  DECLARE_MESSAGE_MAP()
};

// ---- status bar -----------------------------------------------------------------------------
// Window style bits the frame reads as bar placement (MFC's values); kept out of the
// window's own style.
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_BORDER_TOP = 0x0200;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;

class CStatusBar : public CWnd {
 public:
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
  // Panes with these ids; ID_SEPARATOR is the stretching message pane, the others
  // are as wide as their string (their text when on).
  BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
  BOOL SetPaneText(int nIndex, const char* lpszNewText);
  CString GetPaneText(int nIndex) const;
  UINT GetItemID(int nIndex) const { return m_arrIDs[static_cast<size_t>(nIndex)]; }
  int GetCount() const { return static_cast<int>(m_arrIDs.size()); }
  // Lays the panes out for the current width.
  void RecalcPanes();
  int GetHeight() const;

  std::vector<UINT> m_arrIDs;
  std::vector<CString> m_arrTexts;  // indicator texts (from the string table)
  std::vector<int> m_arrWidths;
};

// ---- frame ----------------------------------------------------------------------------------
constexpr DWORD FWS_ADDTOTITLE = 0x00008000;
constexpr DWORD FWS_PREFIXTITLE = 0x00004000;

class CFrameWnd : public CWnd {
 public:
  CFrameWnd() = default;
  virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
  virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
  CView* GetActiveView() const { return m_pViewActive; }
  void SetActiveView(CView* pView);
  CDocument* GetActiveDocument() const { return m_pViewActive ? m_pViewActive->GetDocument() : nullptr; }
  void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
  virtual void ActivateFrame(int nCmdShow = -1);
  virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
  virtual void RecalcLayout();
  void SetMessageText(const char* lpszText);
  void SetMessageText(UINT nID);
  // The prompt of a command: its string up to the first '\n'.
  virtual CString GetMessageString(UINT nID) const;
  CStatusBar* GetStatusBar() const;

  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnCmdMsg(UINT nID, UINT nCode, CCmdUI* pCmdUI) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

  HACCEL m_hAccelTable = nullptr;
  CString m_strTitle;        // the application part of the title
  DWORD m_dwFrameStyle = 0;  // FWS_ bits
  UINT m_nIDHelp = 0;

 protected:
  CView* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
  int OnCreate(LPCREATESTRUCT lpcs);
  void OnSize(UINT nType, int cx, int cy);
  void OnClose();
  LRESULT OnQueryEndSession(WPARAM wParam, LPARAM lParam);
  void OnSetFocus(HWND hOld);
  LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);
  LRESULT OnMenuSelect(WPARAM wParam, LPARAM lParam);
  LRESULT OnExitMenuLoop(WPARAM wParam, LPARAM lParam);
  LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
  LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  void OnViewStatusBar();
  void OnUpdateViewStatusBar(CCmdUI* pCmdUI);
  void OnUpdateKeyIndicator(CCmdUI* pCmdUI);
  void PostNcDestroy() override;
  // Greys or enables, checks and renames the items of a menu before it opens.
  void UpdateMenuItems(HMENU hMenu);
  DECLARE_MESSAGE_MAP()

  CView* m_pViewActive = nullptr;
  UINT m_nIDTracking = 0;  // the command whose prompt the status bar shows
};

// ---- document template ------------------------------------------------------------------
class CDocTemplate {
 public:
  enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };
  CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass);
  virtual ~CDocTemplate() = default;
  CDocTemplate(const CDocTemplate&) = delete;
  CDocTemplate& operator=(const CDocTemplate&) = delete;

  virtual void LoadTemplate();
  BOOL GetDocString(CString& rString, DocStringIndex index) const;
  virtual CDocument* CreateNewDocument();
  virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
  virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
  virtual CDocument* OpenDocumentFile(const char* lpszPathName, BOOL bMakeVisible = TRUE) = 0;
  virtual void SetDefaultTitle(CDocument* pDocument) = 0;
  virtual CDocument* GetOnlyDocument() const = 0;
  virtual void RemoveDocument(CDocument* pDoc) = 0;
  virtual BOOL SaveAllModified();
  virtual void CloseAllDocuments(BOOL bEndSession);

  UINT m_nIDResource;
  CRuntimeClass* m_pDocClass;
  CRuntimeClass* m_pFrameClass;
  CRuntimeClass* m_pViewClass;
  CString m_strDocStrings;
};

class CSingleDocTemplate : public CDocTemplate {
 public:
  using CDocTemplate::CDocTemplate;
  ~CSingleDocTemplate() override;
  CDocument* OpenDocumentFile(const char* lpszPathName, BOOL bMakeVisible = TRUE) override;
  void SetDefaultTitle(CDocument* pDocument) override;
  CDocument* GetOnlyDocument() const override { return m_pOnlyDoc; }
  void RemoveDocument(CDocument* pDoc) override;

 protected:
  CDocument* m_pOnlyDoc = nullptr;
};

// ---- command line -----------------------------------------------------------------------
class CCommandLineInfo {
 public:
  enum { FileNew, FileOpen, FileNothing = -1 };
  virtual ~CCommandLineInfo() = default;
  // Called for each argument; flags ("/x", "-x") come without their sign.
  virtual void ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast);
  int m_nShellCommand = FileNew;
  CString m_strFileName;
};

// The framework's standard texts.
namespace afxtext {
extern const char kUntitled[];
extern const char kOpenTitle[];
extern const char kSaveTitle[];
extern const char kAllFilter[];
extern const char kFailedToOpen[];
extern const char kFailedToLoad[];
extern const char kFailedToSave[];
extern const char kAskToSave[];
extern const char kRecentFileSection[];
}  // namespace afxtext

void AfxEnableControlContainer();
