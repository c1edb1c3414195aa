// The game view's records: each finished game goes into the records file after its
// end box; the records window shows them for the word list that is open.
#include <cstdio>

#include "KeyRallyView.h"

namespace {
std::string LocalTimeText() {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                t.wSecond);
  return buf;
}
}  // namespace

void CKeyRallyView::RecordGame() {
  CKeyRallyDoc* pDoc = GetDocument();
  krrec::GameRecord game;
  game.when = LocalTimeText();
  game.path = pDoc->GetPathName();
  game.name = krrec::ListNameOf(game.path, pDoc->GetTitle());
  game.total = m_game.Total();
  game.right = m_game.RightWords();
  game.wrong = m_game.WrongWords();
  game.chars = m_game.RightChars();
  bool bNewBest = false;
  std::string text;
  if (m_records.Record(game, bNewBest)) {
    if (bNewBest) text = "自己最高得点です!";
  } else if (!m_bRecordFailShown) {  // once: the game goes on without its records
    m_bRecordFailShown = true;
    text = m_records.Path().empty() ? "成績を記録できません" : "成績を記録できません: " + m_records.Path();
  }
  CFrameWnd* pFrame = m_hWnd ? GetParentFrame() : nullptr;
  if (pFrame && !text.empty()) pFrame->SetMessageText(text.c_str());
  m_dlgRecords.Refresh(game.name, game.path);
}

void CKeyRallyView::OnGameRecords() {
  // read again: the file may have changed since (another copy of the program, a hand)
  m_records.Read();
  CKeyRallyDoc* pDoc = GetDocument();
  std::string path = pDoc->GetPathName();
  m_dlgRecords.Show(AfxGetMainWnd(), &m_records.Book(), krrec::ListNameOf(path, pDoc->GetTitle()), path);
}

void CKeyRallyView::OnInitialUpdate() {
  CView::OnInitialUpdate();
  // another word list: an open records window charts it
  if (!m_dlgRecords.IsOpen()) return;
  CKeyRallyDoc* pDoc = GetDocument();
  std::string path = pDoc->GetPathName();
  m_dlgRecords.Refresh(krrec::ListNameOf(path, pDoc->GetTitle()), path);
}
