// The records window (dialog 137, "成績"), modeless beside the main window: for one
// word list its best total and when, the last game's rates and a chart of its last
// games; below, every word list played with its best, choosing which one is charted.
// RecordsDlg.cpp: the window and its texts; RecordsChart.cpp: the chart.
#pragma once
#include <string>
#include <vector>

#include "AfxWin.h"
#include "BackBuffer.h"
#include "Records.h"

// The chart: drawn through an off-screen bitmap like the game view, so a resize does
// not flicker. It draws the totals it is given; the window chooses them.
class CRecordsChart : public CWnd {
 public:
  void SetGames(std::vector<int> totals, int nFirstGame, int nBest);
  ~CRecordsChart() override { m_back.Release(); }

 protected:
  void OnPaint();
  BOOL OnEraseBkgnd(HDC) { return TRUE; }
  void OnSize(UINT nType, int cx, int cy);
  void OnDestroy();
  void Draw(HDC dc, int cx, int cy);
  DECLARE_MESSAGE_MAP()

  std::vector<int> m_totals;  // oldest first
  int m_nFirstGame = 1;       // the number of the first one among the list's games
  int m_nBest = -1;           // the list's best total; -1 when it has no games
  CBackBuffer m_back;
};

class CRecordsDlg : public CDialog {
 public:
  CRecordsDlg();
  // Shows the window over `pOwner` (made on first use), charting the list of this
  // name and path, or the first one played when it has no games yet.
  void Show(CWnd* pOwner, const krrec::CRecordBook* pBook, const std::string& name, const std::string& path);
  // When open: the book again (a game was recorded), charting that list.
  void Refresh(const std::string& name, const std::string& path);
  bool IsOpen() const { return m_hWnd != nullptr; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override;  // Esc or the close box: the window goes
  void OnSize(UINT nType, int cx, int cy);
  LRESULT OnGetMinMaxInfo(WPARAM, LPARAM lParam);
  void OnItemChanged(NMHDR* pHdr, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

  // The list view's rows, the latest played first; selects the row of `list`.
  void FillLists(int list);
  // The texts and the chart of a list played (index in the book), or of a list of
  // that name without games (-1).
  void ShowList(int list, const std::string& name);
  void Layout(int cx, int cy);

  const krrec::CRecordBook* m_pBook = nullptr;
  std::string m_strName, m_strPath;  // the list asked for
  HWND m_hLists = nullptr;
  CRecordsChart m_wndChart;
  bool m_bFilling = false;
};
