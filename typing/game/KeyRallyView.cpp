#include "KeyRallyView.h"

#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "AfxDlgs.h"
#include "WordListDlg.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(CKeyRallyView, CView)

BEGIN_MESSAGE_MAP(CKeyRallyView, CView)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_SIZE()
ON_WM_PAINT()
ON_WM_TIMER()
ON_WM_SETFOCUS()
ON_WM_CONTEXTMENU()
ON_COMMAND(ID_GAME_JUDGE, OnJudge)
ON_COMMAND(ID_GAME_START, OnGameStart)
ON_COMMAND(ID_GAME_STOP, OnGameStop)
ON_COMMAND(ID_GAME_RESUME, OnGameResume)
ON_COMMAND(ID_WORD_FONT, OnWordFont)
ON_COMMAND(ID_WORD_LIST, OnWordList)
ON_COMMAND(ID_GAME_RECORDS, OnGameRecords)
ON_UPDATE_COMMAND_UI(ID_GAME_STOP, OnUpdateGameStop)
ON_UPDATE_COMMAND_UI(ID_GAME_RESUME, OnUpdateGameResume)
END_MESSAGE_MAP()

CKeyRallyView::CKeyRallyView()
    : m_game([] { return static_cast<int64_t>(std::time(nullptr)); }, [] { return std::rand(); }) {
  std::srand(static_cast<unsigned>(std::time(nullptr)));
}

BOOL CKeyRallyView::PreCreateWindow(CREATESTRUCTA& cs) {
  // no background brush: the system never erases the view, every pixel is painted
  cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(nullptr, IDC_ARROW));
  if (!cs.lpszClass) return FALSE;
  cs.dwExStyle |= WS_EX_CLIENTEDGE;
  cs.style &= ~WS_BORDER;
  cs.style |= WS_CLIPCHILDREN;  // a repainted view leaves the typing box alone
  return CView::PreCreateWindow(cs);
}

int CKeyRallyView::OnCreate(LPCREATESTRUCT lpcs) {
  if (CView::OnCreate(lpcs) == -1) return -1;
  CFont seed;
  if (seed.CreatePointFont(krgame::kSeedPointSize, "ＭＳ Ｐゴシック")) seed.GetLogFont(&m_lfWord);
  seed.DeleteObject();
  m_crWord = RGB(0, 0, 0);
  // no font of its own: the box keeps the system's default font
  m_wndEdit.m_hWnd = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 0, 0,
                                       m_hWnd, reinterpret_cast<HMENU>(IDC_WORD_EDIT), AfxGetInstanceHandle(), nullptr);
  m_wndEdit.EnableWindow(FALSE);
  return 0;
}

void CKeyRallyView::OnDestroy() {
  if (m_game.IsRunning()) {
    KillTimer(krgame::kTimerId);
    StopSound();
  }
  m_wndEdit.m_hWnd = nullptr;  // goes with the view
  if (m_dlgRecords.IsOpen()) m_dlgRecords.DestroyWindow();
  m_back.Release();
  if (m_rgnPaint) ::DeleteObject(m_rgnPaint);
  m_rgnPaint = nullptr;
  Default();
}

void CKeyRallyView::OnSize(UINT, int cx, int cy) {
  Default();
  if (!m_wndEdit.m_hWnd) return;
  HDC dc = ::GetDC(m_wndEdit.m_hWnd);
  SIZE text = {0, 0};
  ::GetTextExtentPoint32A(dc, "gM", 2, &text);
  ::ReleaseDC(m_wndEdit.m_hWnd, dc);
  krgame::BoxPlace b = krgame::PlaceWordEdit(cx, cy, text.cy, ::GetSystemMetrics(SM_CYEDGE));
  m_wndEdit.MoveWindow(b.x, b.y, b.cx, b.cy, TRUE);
}

void CKeyRallyView::OnSetFocus(HWND) {
  // during a game the keyboard goes back to the typing box (after a box or a dialog)
  if (m_wndEdit.m_hWnd && ::IsWindowEnabled(m_wndEdit.m_hWnd))
    ::SetFocus(m_wndEdit.m_hWnd);
  else
    Default();
}

void CKeyRallyView::PlayLoop() { ::PlaySoundA("Openin.wav", nullptr, SND_FILENAME | SND_ASYNC | SND_LOOP); }
void CKeyRallyView::StopSound() { ::PlaySoundA(nullptr, nullptr, SND_FILENAME); }

void CKeyRallyView::Apply(unsigned nChanges) {
  if (nChanges & krgame::kNewWord) {
    m_wndEdit.SetWindowText("");
    Invalidate(TRUE);
  }
  if (nChanges & krgame::kWordArea) InvalidateRect(&m_rcWord, FALSE);
  if (nChanges & krgame::kTimeArea) InvalidateRect(&m_rcTime, TRUE);
  if (nChanges & krgame::kBonusArea) InvalidateRect(&m_rcBonus, TRUE);
  if (nChanges & krgame::kTotalArea) InvalidateRect(&m_rcTotal, TRUE);
  if (nChanges & krgame::kGameOver) {
    m_wndEdit.EnableWindow(FALSE);
    KillTimer(krgame::kTimerId);
    StopSound();
    char text[64];
    std::snprintf(text, sizeof text, "得点は %d 点です", m_game.Total());
    AfxMessageBox(text, MB_ICONINFORMATION);
    RecordGame();
  }
}

void CKeyRallyView::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != static_cast<UINT_PTR>(krgame::kTimerId)) {
    Default();
    return;
  }
  Apply(m_game.Tick(GetDocument()->Words()));
}

void CKeyRallyView::OnJudge() {
  unsigned changes = m_game.Judge(m_wndEdit.GetWindowText(), GetDocument()->Words());
  if (changes & krgame::kCorrect) ::MessageBeep(MB_OK);
  if (changes & krgame::kMiss) {
    ::PlaySoundA("bark.wav", nullptr, SND_FILENAME);  // returns when the bark has ended
    // a paused game stays silent: 停止 is greyed then, so a loop started here could
    // not be stopped
    if (m_game.IsRunning()) PlayLoop();
  }
  Apply(changes);
}

void CKeyRallyView::OnGameStart() {
  if (!m_game.Start(GetDocument()->Words())) {
    AfxMessageBox("まず単語ファイルを読み込んでからゲームを始めるのだ!", MB_ICONEXCLAMATION);
    return;
  }
  m_wndEdit.EnableWindow(TRUE);
  m_wndEdit.SetFocus();
  Apply(krgame::kNewWord);
  m_game.Started(static_cast<int>(SetTimer(krgame::kTimerId, krgame::kTimerInterval)));
  PlayLoop();
}

void CKeyRallyView::OnGameStop() {
  if (!m_game.Pause()) return;
  KillTimer(krgame::kTimerId);
  StopSound();
}

void CKeyRallyView::OnGameResume() {
  // asked before the timer is set, so that a refused 再開 leaves no timer running
  if (!m_game.CanResume()) return;
  m_game.Resume(static_cast<int>(SetTimer(krgame::kTimerId, krgame::kTimerInterval)));
  if (m_game.IsRunning()) PlayLoop();
}

void CKeyRallyView::OnUpdateGameStop(CCmdUI* pCmdUI) { pCmdUI->Enable(m_game.CanPause()); }
void CKeyRallyView::OnUpdateGameResume(CCmdUI* pCmdUI) { pCmdUI->Enable(m_game.CanResume()); }

void CKeyRallyView::OnContextMenu(HWND, POINT pt) {
  HMENU menu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_GAMEMENU));
  if (!menu) return;
  if (pt.x == -1 && pt.y == -1) {  // the context key: at the middle of the view
    RECT r;
    GetClientRect(&r);
    pt = {r.right / 2, r.bottom / 2};
    ::ClientToScreen(m_hWnd, &pt);
  }
  // owned by the main window, so the items follow the frame's update rules and the
  // commands come through the frame
  CWnd* pMain = AfxGetMainWnd();
  if (HMENU popup = ::GetSubMenu(menu, 0))
    ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, pt.x, pt.y, 0, pMain ? pMain->m_hWnd : GetParent(), nullptr);
  ::DestroyMenu(menu);
}

void CKeyRallyView::OnWordFont() {
  // the size chosen here has no effect: drawing sets the height from the word size
  CFontDialog dlg(&m_lfWord, CF_EFFECTS | CF_SCREENFONTS);
  dlg.m_cf.rgbColors = m_crWord;
  if (dlg.DoModal() != IDOK) return;
  dlg.GetCurrentFont(&m_lfWord);
  m_crWord = dlg.GetColor();
}

void CKeyRallyView::OnWordList() {
  CWordListDlg dlg;
  dlg.SetDocument(GetDocument());
  dlg.DoModal();
}
