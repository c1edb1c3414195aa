#include "AfxWin.h"

CDialog::CDialog(UINT nIDTemplate, CWnd* pParent) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParent) {}

CDialog::~CDialog() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CDialog* pDlg;
  if (msg == WM_INITDIALOG) {
    pDlg = reinterpret_cast<CDialog*>(lParam);
    pDlg->m_hWnd = hWnd;
    MapWindow(hWnd, pDlg);
    return pDlg->OnInitDialog();
  }
  pDlg = static_cast<CDialog*>(FromHandlePermanent(hWnd));
  if (!pDlg) return FALSE;

  MSG cur = {hWnd, msg, wParam, lParam, 0, {0, 0}};
  const MSG* prev = pDlg->m_pCurrentMsg;
  pDlg->m_pCurrentMsg = &cur;
  LRESULT r = 0;
  BOOL handled = pDlg->OnWndMsg(msg, wParam, lParam, &r);
  pDlg->m_pCurrentMsg = prev;

  if (msg == WM_NCDESTROY) {
    UnmapWindow(hWnd);
    pDlg->m_hWnd = nullptr;
    pDlg->PostNcDestroy();
    return FALSE;
  }
  if (!handled) return FALSE;
  switch (msg) {
    // these return their result directly rather than through DWLP_MSGRESULT
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC: case WM_COMPAREITEM:
    case WM_VKEYTOITEM: case WM_CHARTOITEM: case WM_QUERYDRAGICON:
      return static_cast<INT_PTR>(r);
    default:
      ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, r);
      return TRUE;
  }
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParent) {
  m_nIDTemplate = nIDTemplate;
  m_pParentWnd = pParent;
  HWND h = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDTemplate),
                                pParent ? pParent->m_hWnd : nullptr, DialogProc, reinterpret_cast<LPARAM>(this));
  return h != nullptr;
}

INT_PTR CDialog::DoModal() {
  // Without a parent the application's main window owns the dialog.
  HWND hOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
  if (!hOwner && AfxGetMainWnd() && AfxGetMainWnd() != this) hOwner = AfxGetMainWnd()->m_hWnd;
  BOOL bOwnerEnabled = hOwner && ::IsWindowEnabled(hOwner);
  if (bOwnerEnabled) ::EnableWindow(hOwner, FALSE);

  m_bModal = TRUE;
  m_bEnded = FALSE;
  m_nModalResult = -1;
  HWND h = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), hOwner, DialogProc,
                                reinterpret_cast<LPARAM>(this));
  if (h && !m_bEnded) {
    if (!::IsWindowVisible(h)) ::ShowWindow(h, SW_SHOWNORMAL);
    MSG msg;
    while (!m_bEnded) {
      BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
      if (got == 0) {
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      if (got < 0) break;
      if (AfxGetApp() && AfxGetApp()->PreTranslateMessage(&msg)) continue;
      if (PreTranslateMessage(&msg)) continue;
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
  if (bOwnerEnabled) ::EnableWindow(hOwner, TRUE);
  if (hOwner && m_hWnd && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(hOwner);
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  m_bModal = FALSE;
  return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
  m_nModalResult = nResult;
  m_bEnded = TRUE;
  if (m_hWnd) {
    ::ShowWindow(m_hWnd, SW_HIDE);
    ::PostMessageA(m_hWnd, WM_NULL, 0, 0);  // wake the modal loop
  }
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  UpdateData(TRUE);
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
  // dialog keys (Tab, Enter, Esc, mnemonics) for this dialog and its controls
  if (m_hWnd && (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) return ::IsDialogMessageA(m_hWnd, pMsg);
  // messages for other dialogs (a modeless window beside this one)
  HWND top = ::GetAncestor(pMsg->hwnd, GA_ROOT);
  if (top && top != m_hWnd) {
    CWnd* other = FromHandlePermanent(top);
    if (other && other != this) return other->PreTranslateMessage(pMsg);
  }
  return FALSE;
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (CWnd::OnCommand(wParam, lParam)) return TRUE;
  UINT nID = LOWORD(wParam), nCode = HIWORD(wParam);
  if (nCode != BN_CLICKED && nCode != 1) return FALSE;
  if (nID == IDOK) {
    OnOK();
    return TRUE;
  }
  if (nID == IDCANCEL) {
    OnCancel();
    return TRUE;
  }
  return FALSE;
}

// ---- data exchange --------------------------------------------------------------
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (rControl.m_hWnd) return;
  rControl.SubclassWindow(::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC));
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  if (pDX->m_bSaveAndValidate)
    value = pDX->m_pDlgWnd->GetDlgItemText(nIDC);
  else
    ::SetDlgItemTextA(pDX->m_pDlgWnd->m_hWnd, nIDC, value.c_str());
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
  if (pDX->m_bSaveAndValidate)
    value = atoi(pDX->m_pDlgWnd->GetDlgItemText(nIDC).c_str());
  else
    ::SetDlgItemTextA(pDX->m_pDlgWnd->m_hWnd, nIDC, std::to_string(value).c_str());
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
  HWND h = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC);
  if (pDX->m_bSaveAndValidate)
    value = static_cast<int>(::SendMessageA(h, BM_GETCHECK, 0, 0));
  else
    ::SendMessageA(h, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}
