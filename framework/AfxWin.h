// Our small stand-in for MFC: windows with message maps, dialogs with a modal loop
// and data exchange, the application object. Only what the programs use.
#pragma once
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <commctrl.h>

#include <string>

typedef std::string CString;

class CWnd;
class CDataExchange;
class CDocTemplate;
class CDocument;
class CRecentFileList;
class CCommandLineInfo;

// ---- message maps -------------------------------------------------------------
typedef LRESULT (*AFX_THUNK)(CWnd* pThis, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;  // window message (WM_COMMAND, WM_NOTIFY, ... or an AFXM_ value)
  UINT nCode;     // notification code for WM_COMMAND / WM_NOTIFY
  UINT nID;       // first control or command id
  UINT nLastID;   // last id of a range
  AFX_THUNK pfn;
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// Pseudo messages of the map: all WM_CTLCOLOR* kinds, a command from a menu or an
// accelerator, its update handler, and reflected notifications.
constexpr UINT AFXM_CTLCOLOR = 0x7FFF0001;
constexpr UINT AFXM_UPDATE_COMMAND_UI = 0x7FFF0002;
constexpr UINT AFXM_REFLECT_NOTIFY = 0x7FFF0003;
constexpr UINT AFXM_REFLECT_COMMAND = 0x7FFF0004;
constexpr UINT AFX_ANY_COMMAND_CODE = 0xFFFFFFFF;

#define DECLARE_MESSAGE_MAP()                        \
 protected:                                          \
  static const AFX_MSGMAP* GetThisMessageMap();      \
  const AFX_MSGMAP* GetMessageMap() const override;  \
                                                     \
 private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                           \
    typedef theClass ThisClass;                                               \
    typedef baseClass TheBaseClass;                                           \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                            \
  {0, 0, 0, 0, nullptr}                                                              \
  }                                                                                  \
  ;                                                                                  \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
  return &messageMap;                                                                \
  }

#define AFX_CMD_ENTRY(code, id, last, fn) \
  {WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(last), [](CWnd* p, WPARAM, LPARAM) -> LRESULT { static_cast<ThisClass*>(p)->fn(); return 0; }},
#define ON_COMMAND(id, fn) AFX_CMD_ENTRY(AFX_ANY_COMMAND_CODE, id, id, fn)
#define ON_CONTROL(code, id, fn) AFX_CMD_ENTRY(code, id, id, fn)
#define ON_BN_CLICKED(id, fn) AFX_CMD_ENTRY(BN_CLICKED, id, id, fn)
#define ON_BN_DOUBLECLICKED(id, fn) AFX_CMD_ENTRY(BN_DOUBLECLICKED, id, id, fn)
#define ON_EN_CHANGE(id, fn) AFX_CMD_ENTRY(EN_CHANGE, id, id, fn)
#define ON_EN_KILLFOCUS(id, fn) AFX_CMD_ENTRY(EN_KILLFOCUS, id, id, fn)
#define ON_EN_SETFOCUS(id, fn) AFX_CMD_ENTRY(EN_SETFOCUS, id, id, fn)
#define ON_LBN_SELCHANGE(id, fn) AFX_CMD_ENTRY(LBN_SELCHANGE, id, id, fn)
#define ON_LBN_DBLCLK(id, fn) AFX_CMD_ENTRY(LBN_DBLCLK, id, id, fn)
#define ON_COMMAND_RANGE(id, last, fn)                                                                   \
  {WM_COMMAND, AFX_ANY_COMMAND_CODE, (UINT)(id), (UINT)(last), [](CWnd* p, WPARAM w, LPARAM) -> LRESULT { \
     static_cast<ThisClass*>(p)->fn(LOWORD(w));                                                          \
     return 0;                                                                                           \
   }},
#define ON_UPDATE_COMMAND_UI(id, fn)                                                                 \
  {AFXM_UPDATE_COMMAND_UI, 0, (UINT)(id), (UINT)(id), [](CWnd* p, WPARAM, LPARAM l) -> LRESULT { \
     static_cast<ThisClass*>(p)->fn(reinterpret_cast<CCmdUI*>(l));                                  \
     return 0;                                                                                       \
   }},
#define ON_NOTIFY(code, id, fn)                                                              \
  {WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(id), [](CWnd* p, WPARAM, LPARAM l) -> LRESULT { \
     LRESULT r = 0;                                                                          \
     static_cast<ThisClass*>(p)->fn(reinterpret_cast<NMHDR*>(l), &r);                        \
     return r;                                                                               \
   }},
#define ON_NOTIFY_REFLECT(code, fn)                                                         \
  {AFXM_REFLECT_NOTIFY, (UINT)(code), 0, 0xFFFF, [](CWnd* p, WPARAM, LPARAM l) -> LRESULT { \
     LRESULT r = 0;                                                                         \
     static_cast<ThisClass*>(p)->fn(reinterpret_cast<NMHDR*>(l), &r);                       \
     return r;                                                                              \
   }},
#define ON_MESSAGE(msg, fn) \
  {(UINT)(msg), 0, 0, 0, [](CWnd* p, WPARAM w, LPARAM l) -> LRESULT { return static_cast<ThisClass*>(p)->fn(w, l); }},
#define ON_WM_CTLCOLOR()                                                                     \
  {AFXM_CTLCOLOR, 0, 0, 0, [](CWnd* p, WPARAM w, LPARAM l) -> LRESULT {                       \
     return reinterpret_cast<LRESULT>(static_cast<ThisClass*>(p)->OnCtlColor(                 \
         reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l), CWnd::s_nCurrentCtlColor));     \
   }},
#define AFX_VOID_ENTRY(msg, call) \
  {(UINT)(msg), 0, 0, 0, [](CWnd* p, WPARAM w, LPARAM l) -> LRESULT { (void)w; (void)l; static_cast<ThisClass*>(p)->call; return 0; }},
#define ON_WM_DESTROY() AFX_VOID_ENTRY(WM_DESTROY, OnDestroy())
#define ON_WM_CLOSE() AFX_VOID_ENTRY(WM_CLOSE, OnClose())
#define ON_WM_PAINT() AFX_VOID_ENTRY(WM_PAINT, OnPaint())
#define ON_WM_TIMER() AFX_VOID_ENTRY(WM_TIMER, OnTimer(static_cast<UINT_PTR>(w)))
#define ON_WM_SIZE() AFX_VOID_ENTRY(WM_SIZE, OnSize(static_cast<UINT>(w), (short)LOWORD(l), (short)HIWORD(l)))
#define ON_WM_SETFOCUS() AFX_VOID_ENTRY(WM_SETFOCUS, OnSetFocus(reinterpret_cast<HWND>(w)))
#define ON_WM_CONTEXTMENU() \
  AFX_VOID_ENTRY(WM_CONTEXTMENU, OnContextMenu(reinterpret_cast<HWND>(w), POINT{(short)LOWORD(l), (short)HIWORD(l)}))
#define ON_WM_SYSCOMMAND() AFX_VOID_ENTRY(WM_SYSCOMMAND, OnSysCommand(static_cast<UINT>(w), l))
#define ON_WM_CREATE()                                                                            \
  {WM_CREATE, 0, 0, 0, [](CWnd* p, WPARAM, LPARAM l) -> LRESULT {                                  \
     return static_cast<ThisClass*>(p)->OnCreate(reinterpret_cast<LPCREATESTRUCT>(l));             \
   }},
#define ON_WM_ERASEBKGND()                                                                        \
  {WM_ERASEBKGND, 0, 0, 0, [](CWnd* p, WPARAM w, LPARAM) -> LRESULT {                              \
     return static_cast<ThisClass*>(p)->OnEraseBkgnd(reinterpret_cast<HDC>(w));                    \
   }},
#define ON_WM_QUERYDRAGICON()                                                                     \
  {WM_QUERYDRAGICON, 0, 0, 0, [](CWnd* p, WPARAM, LPARAM) -> LRESULT {                             \
     return reinterpret_cast<LRESULT>(static_cast<ThisClass*>(p)->OnQueryDragIcon());              \
   }},

class CCmdUI;

// ---- windows ------------------------------------------------------------------
class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;
  operator HWND() const { return m_hWnd; }
  HWND GetSafeHwnd() const { return m_hWnd; }

  static CWnd* FromHandlePermanent(HWND hWnd);
  BOOL Attach(HWND hWnd);
  HWND Detach();
  // Routes the window's messages through this object's message map; unhandled ones
  // go to the window's own procedure.
  BOOL SubclassWindow(HWND hWnd);
  BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
  HWND UnsubclassWindow();

  BOOL DestroyWindow();
  CString GetWindowText() const;
  void GetWindowText(CString& str) const { str = GetWindowText(); }
  void SetWindowText(const char* text) { ::SetWindowTextA(m_hWnd, text); }
  HWND GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
  CString GetDlgItemText(int nID) const;
  void SetDlgItemText(int nID, const char* text) { ::SetDlgItemTextA(m_hWnd, nID, text); }
  BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
  BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  BOOL SetWindowPos(HWND hAfter, int x, int y, int cx, int cy, UINT flags) {
    return ::SetWindowPos(m_hWnd, hAfter, x, y, cx, cy, flags);
  }
  void MoveWindow(int x, int y, int cx, int cy, BOOL bRepaint = TRUE) { ::MoveWindow(m_hWnd, x, y, cx, cy, bRepaint); }
  void GetWindowRect(RECT* r) const { ::GetWindowRect(m_hWnd, r); }
  // Centres the window on the screen's work area (kept inside it when larger).
  void CenterOnWorkArea();
  void GetClientRect(RECT* r) const { ::GetClientRect(m_hWnd, r); }
  LRESULT SendMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessageA(m_hWnd, msg, w, l); }
  BOOL PostMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) const { return ::PostMessageA(m_hWnd, msg, w, l); }
  void SetFont(HFONT hFont, BOOL bRedraw = TRUE) { SendMessage(WM_SETFONT, (WPARAM)hFont, bRedraw); }
  HFONT GetFont() const { return (HFONT)SendMessage(WM_GETFONT); }
  HICON SetIcon(HICON hIcon, BOOL bBig) { return (HICON)SendMessage(WM_SETICON, bBig ? ICON_BIG : ICON_SMALL, (LPARAM)hIcon); }
  void SetFocus() { ::SetFocus(m_hWnd); }
  void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
  void InvalidateRect(const RECT* r, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, r, bErase); }
  // Window timers: ticks arrive as WM_TIMER; the result is the timer's id, 0 on failure.
  UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse) { return ::SetTimer(m_hWnd, nIDEvent, nElapse, nullptr); }
  BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
  void UpdateWindow() { ::UpdateWindow(m_hWnd); }
  HWND GetParent() const { return ::GetParent(m_hWnd); }
  int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK);
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

  // Message handling: the map first, then the default.
  virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // Searches the map for a command (menus, accelerators, buttons); used by frames to
  // route commands to the view and the document.
  virtual BOOL OnCmdMsg(UINT nID, UINT nCode, CCmdUI* pCmdUI);
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  virtual LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  virtual void DoDataExchange(CDataExchange* pDX) {}
  virtual void PostNcDestroy() {}

  static UINT s_nCurrentCtlColor;  // CTLCOLOR_* of the WM_CTLCOLOR message being dispatched

 protected:
  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;
  // Finds the map entry for a message; nullptr when none handles it.
  const AFX_MSGMAP_ENTRY* FindEntry(UINT nMessage, UINT nCode, UINT nID) const;
  LRESULT Default();

  WNDPROC m_pfnSuper = nullptr;  // the window's own procedure when subclassed
  const MSG* m_pCurrentMsg = nullptr;

  friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
  friend class CDialog;
  static void MapWindow(HWND hWnd, CWnd* pWnd);
  static void UnmapWindow(HWND hWnd);
};

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Enables and checks menu items (and other command targets) before they are shown.
class CCmdUI {
 public:
  UINT m_nID = 0;
  HMENU m_hMenu = nullptr;
  UINT m_nIndex = 0;
  BOOL m_bEnableChanged = FALSE;
  virtual ~CCmdUI() = default;
  virtual void Enable(BOOL bOn = TRUE);
  virtual void SetCheck(int nCheck = 1);
  virtual void SetText(const char* text);
};

// ---- dialogs ------------------------------------------------------------------
class CDialog : public CWnd {
 public:
  explicit CDialog(UINT nIDTemplate = 0, CWnd* pParent = nullptr);
  ~CDialog() override;

  // Modal run with our own loop, so that PreTranslateMessage sees every message.
  virtual INT_PTR DoModal();
  // Modeless creation from the template.
  BOOL Create(UINT nIDTemplate, CWnd* pParent = nullptr);
  void EndDialog(int nResult);

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  LRESULT DefWindowProc(UINT, WPARAM, LPARAM) override { return 0; }

  UINT m_nIDTemplate;
  CWnd* m_pParentWnd;

 protected:
  static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
  BOOL m_bModal = FALSE;
  BOOL m_bEnded = FALSE;
  INT_PTR m_nModalResult = -1;
};

// ---- data exchange --------------------------------------------------------------
class CDataExchange {
 public:
  CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;
};

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);

// ---- the application ------------------------------------------------------------
class CWinApp {
 public:
  explicit CWinApp(const char* pszAppName = nullptr);
  virtual ~CWinApp();

  virtual BOOL InitInstance() { return TRUE; }
  virtual int Run();
  // Saves the recent-file list and frees the document template (WinAppSdi.cpp).
  virtual int ExitInstance();
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  // Lets a frame main window update its status bar and title (WinAppSdi.cpp).
  virtual BOOL OnIdle(LONG lCount);
  void Enable3dControls() {}  // the controls draw in 3-D on every system we run on

  // ---- single-document programs (WinAppSdi.cpp) ----
  // Commands the application handles: exit and the recent files; programs add
  // their own (file new, file open, about) by overriding and calling this.
  virtual BOOL OnCmdMsg(UINT nID, UINT nCode, CCmdUI* pCmdUI);
  // Settings go to HKEY_CURRENT_USER\Software\<key>\<application name>.
  void SetRegistryKey(const char* lpszRegistryKey);
  void LoadStdProfileSettings(UINT nMaxMRU = 4);
  void SaveStdProfileSettings();
  CString GetProfileString(const char* lpszSection, const char* lpszEntry, const char* lpszDefault = nullptr);
  BOOL WriteProfileString(const char* lpszSection, const char* lpszEntry, const char* lpszValue);
  void AddDocTemplate(CDocTemplate* pTemplate);
  void ParseCommandLine(CCommandLineInfo& rCmdInfo);
  BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
  virtual CDocument* OpenDocumentFile(const char* lpszFileName);
  virtual void AddToRecentFileList(const char* lpszPathName);
  // The file dialogs of the document commands; fileName is the proposal and the result.
  virtual BOOL DoPromptFileName(CString& fileName, const char* lpszTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                CDocTemplate* pTemplate);
  BOOL SaveAllModified();
  void CloseAllDocuments(BOOL bEndSession);
  void OnFileNew();
  void OnFileOpen();
  void OnAppExit();
  BOOL OnOpenRecentFile(UINT nID);

  CString m_strRegistryKey;   // empty: no settings are kept
  CString m_strProfileName;   // the application's subkey
  CRecentFileList* m_pRecentFileList = nullptr;
  CDocTemplate* m_pDocTemplate = nullptr;  // the programs have one document type

  HINSTANCE m_hInstance = nullptr;
  char* m_lpCmdLine = nullptr;
  int m_nCmdShow = SW_SHOWNORMAL;
  CWnd* m_pMainWnd = nullptr;
  const char* m_pszAppName = nullptr;
  int m_nExitCode = 0;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
// Message box owned by the main window, captioned with the application's name.
int AfxMessageBox(const char* text, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
CString AfxLoadString(UINT nID);

// Entry point shared by the programs (compiled into each executable).
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrev, LPSTR lpCmdLine, int nCmdShow);
// DLLs from the system folder only, never from the program's own or the current folder:
// the first call of each program.
void AfxHardenDllSearch();
