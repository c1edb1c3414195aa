// The game view: one word at a time in large type, shrinking every tenth of a
// second, typed into the box at the bottom and judged on Enter; 180 seconds a game.
// The rules are CGameRules'; this class turns them into windows, paint and sound.
// KeyRallyView.cpp: creation, commands, timer and sound; KeyRallyDraw.cpp: painting;
// KeyRallyRecords.cpp: the finished games' records and their window.
#pragma once
#include "AfxCtrl.h"
#include "AfxDoc.h"
#include "BackBuffer.h"
#include "GameRules.h"
#include "KeyRallyDoc.h"
#include "RecordsDlg.h"
#include "RecordsFile_win.h"

class CKeyRallyView : public CView {
 protected:
  CKeyRallyView();
  DECLARE_DYNCREATE(CKeyRallyView)

 public:
  CKeyRallyDoc* GetDocument() const { return static_cast<CKeyRallyDoc*>(m_pDocument); }
  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
  void OnDraw(CDC* pDC) override;
  void OnInitialUpdate() override;

 protected:
  int OnCreate(LPCREATESTRUCT lpcs);
  void OnDestroy();
  void OnSize(UINT nType, int cx, int cy);
  void OnPaint();
  void OnTimer(UINT_PTR nIDEvent);
  void OnSetFocus(HWND hOld);
  void OnContextMenu(HWND hWnd, POINT pt);
  void OnJudge();
  void OnGameStart();
  void OnGameStop();
  void OnGameResume();
  void OnWordFont();
  void OnWordList();
  void OnGameRecords();
  void OnUpdateGameStop(CCmdUI* pCmdUI);
  void OnUpdateGameResume(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

  // Invalidates what a step of the rules changed, and ends the game when it says so.
  void Apply(unsigned nChanges);
  void PlayLoop();
  void StopSound();
  RECT DrawLine(HDC dc, const std::string& s, int x, int y, SIZE size, const TEXTMETRICA& tm);
  // After the end box of a finished game: its line in the records file, and on the
  // status bar a new best or, the first time, a file that cannot be written.
  void RecordGame();

  krgame::CGameRules m_game;
  CEdit m_wndEdit;  // the typing box (a plain child window, not subclassed)
  LOGFONTA m_lfWord = {};
  COLORREF m_crWord = 0;
  RECT m_rcWord = {}, m_rcTotal = {}, m_rcBonus = {}, m_rcTime = {};

  // What a paint needs, kept across paints: made again only when the view's size, the
  // word's size or font change.
  CBackBuffer m_back;
  CFont m_fontHeader;
  CFont m_fontWord;
  LOGFONTA m_lfWordMade = {};  // the attributes m_fontWord was made from
  HRGN m_rgnPaint = nullptr;   // the area of the paint in progress

  CRecordsFile m_records{CRecordsFile::DefaultFolder()};
  CRecordsDlg m_dlgRecords;
  bool m_bRecordFailShown = false;
};
