#include "AfxWin.h"
#include "SdiText.h"

namespace {
CWinApp* g_pApp = nullptr;
}

CWinApp::CWinApp(const char* pszAppName) : m_pszAppName(pszAppName) { g_pApp = this; }
CWinApp::~CWinApp() {
  if (g_pApp == this) g_pApp = nullptr;
}

CWinApp* AfxGetApp() { return g_pApp; }
CWnd* AfxGetMainWnd() { return g_pApp ? g_pApp->m_pMainWnd : nullptr; }
HINSTANCE AfxGetInstanceHandle() { return g_pApp ? g_pApp->m_hInstance : ::GetModuleHandleA(nullptr); }
HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

BOOL CWinApp::PreTranslateMessage(MSG* pMsg) {
  // the main window (a frame with accelerators, say) gets its chance first
  if (m_pMainWnd && m_pMainWnd->m_hWnd && pMsg->hwnd &&
      (pMsg->hwnd == m_pMainWnd->m_hWnd || ::IsChild(m_pMainWnd->m_hWnd, pMsg->hwnd)))
    return m_pMainWnd->PreTranslateMessage(pMsg);
  // a modeless window of the program's own beside it (a dialog: Tab, Enter, Esc)
  HWND top = pMsg->hwnd ? ::GetAncestor(pMsg->hwnd, GA_ROOT) : nullptr;
  CWnd* pTop = top ? CWnd::FromHandlePermanent(top) : nullptr;
  if (pTop && pTop != m_pMainWnd) return pTop->PreTranslateMessage(pMsg);
  return FALSE;
}

int CWinApp::Run() {
  MSG msg;
  LONG lIdle = 0;
  for (;;) {
    while (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(lIdle++)) break;
    }
    BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
      m_nExitCode = got == 0 ? static_cast<int>(msg.wParam) : 1;
      break;
    }
    if (!PreTranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    if (msg.message != WM_TIMER && msg.message != WM_PAINT) lIdle = 0;
  }
  return ExitInstance();
}

CString AfxLoadString(UINT nID) {
  char buf[1024];
  int n = ::LoadStringA(AfxGetResourceHandle(), nID, buf, sizeof buf);
  return CString(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

int AfxMessageBox(const char* text, UINT nType, UINT) {
  CWnd* pMain = AfxGetMainWnd();
  HWND hOwner = pMain ? pMain->m_hWnd : nullptr;
  if (hOwner) hOwner = ::GetLastActivePopup(hOwner);
  const char* caption = g_pApp && g_pApp->m_pszAppName ? g_pApp->m_pszAppName : "";
  if ((nType & MB_ICONMASK) == 0) {
    UINT btn = nType & MB_TYPEMASK;
    nType |= (btn == MB_OKCANCEL || btn == MB_YESNO || btn == MB_YESNOCANCEL) ? MB_ICONQUESTION : MB_ICONEXCLAMATION;
  }
  return ::MessageBoxA(hOwner, text, caption, nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
  return AfxMessageBox(AfxLoadString(nIDPrompt).c_str(), nType, nIDHelp);
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow) {
  CWinApp* app = AfxGetApp();
  if (!app) return 1;
  app->m_hInstance = hInstance;
  // The runtime's lpCmdLine drops double-byte characters right after the program
  // name (it compares signed chars with the blank); take the arguments from the full
  // line instead.
  static std::string s_strArgs;
  s_strArgs = sdi::ArgsAfterProgramName(::GetCommandLineA());
  app->m_lpCmdLine = lpCmdLine ? &s_strArgs[0] : lpCmdLine;
  app->m_nCmdShow = nCmdShow;
  if (!app->m_pszAppName) {  // a program without a name in code takes its title string
    static CString s_strTitle;
    s_strTitle = AfxLoadString(0xE000 /* AFX_IDS_APP_TITLE */);
    if (!s_strTitle.empty()) app->m_pszAppName = s_strTitle.c_str();
  }
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_TREEVIEW_CLASSES};
  ::InitCommonControlsEx(&icc);
  int code;
  if (!app->InitInstance()) {
    code = app->ExitInstance();
  } else {
    code = app->Run();
  }
  return code;
}
