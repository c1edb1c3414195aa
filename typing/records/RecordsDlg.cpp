#include "RecordsDlg.h"

#include <algorithm>
#include <iterator>

#include "resource.h"

namespace {
const char kNoGames[] = "まだ記録がありません";

const char* const kColumns[] = {"単語ファイル", "最高得点", "日時", "ゲーム数", "パス"};
const int kRightAligned[] = {1, 3};  // the numbers

void SetItem(HWND list, int row, int column, const std::string& text) {
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  ::SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}
}  // namespace

BEGIN_MESSAGE_MAP(CRecordsDlg, CDialog)
ON_WM_SIZE()
ON_MESSAGE(WM_GETMINMAXINFO, OnGetMinMaxInfo)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_RECORDS_LISTS, OnItemChanged)
END_MESSAGE_MAP()

CRecordsDlg::CRecordsDlg() : CDialog(IDD_RECORDS) {}

void CRecordsDlg::DoDataExchange(CDataExchange* pDX) { DDX_Control(pDX, IDC_RECORDS_CHART, m_wndChart); }

void CRecordsDlg::Show(CWnd* pOwner, const krrec::CRecordBook* pBook, const std::string& name,
                       const std::string& path) {
  m_pBook = pBook;
  m_strName = name;
  m_strPath = path;
  if (!m_hWnd && !Create(IDD_RECORDS, pOwner)) return;
  Refresh(name, path);
  if (::IsIconic(m_hWnd)) ::ShowWindow(m_hWnd, SW_RESTORE);
  ShowWindow(SW_SHOW);
  ::SetForegroundWindow(m_hWnd);
}

BOOL CRecordsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_hLists = GetDlgItem(IDC_RECORDS_LISTS);
  ::SendMessageA(m_hLists, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
  for (int i = 0; i < static_cast<int>(sizeof kColumns / sizeof kColumns[0]); ++i) {
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT | LVCF_FMT;
    col.fmt = std::count(std::begin(kRightAligned), std::end(kRightAligned), i) ? LVCFMT_RIGHT : LVCFMT_LEFT;
    col.pszText = const_cast<char*>(kColumns[i]);
    ::SendMessageA(m_hLists, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
  }
  HICON icon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDI_KEYRALLY));
  SetIcon(icon, TRUE);
  SetIcon(icon, FALSE);
  RECT r;
  GetClientRect(&r);
  Layout(r.right, r.bottom);
  return TRUE;
}

void CRecordsDlg::OnCancel() { DestroyWindow(); }

void CRecordsDlg::Refresh(const std::string& name, const std::string& path) {
  if (!m_hWnd || !m_pBook) return;
  m_strName = name;
  m_strPath = path;
  int list = m_pBook->FindList(name, path);
  FillLists(list);
  ShowList(list, name);
}

void CRecordsDlg::FillLists(int list) {
  m_bFilling = true;  // the rows' own selection changes chart nothing
  ::SendMessageA(m_hLists, LVM_DELETEALLITEMS, 0, 0);
  const auto& lists = m_pBook->Lists();
  std::vector<int> order(lists.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::sort(order.begin(), order.end(), [&](int a, int b) { return lists[a].last > lists[b].last; });
  for (int row = 0; row < static_cast<int>(order.size()); ++row) {
    const krrec::ListSummary& l = lists[static_cast<size_t>(order[row])];
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.pszText = const_cast<char*>(l.name.c_str());
    item.lParam = order[row];
    ::SendMessageA(m_hLists, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    SetItem(m_hLists, row, 1, krrec::Thousands(m_pBook->Total(l.best)));
    SetItem(m_hLists, row, 2, m_pBook->Game(l.best).when);
    SetItem(m_hLists, row, 3, krrec::Thousands(l.games));
    SetItem(m_hLists, row, 4, l.path);
    if (order[row] == list) {
      LVITEMA state = {};
      state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
      ::SendMessageA(m_hLists, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
      ::SendMessageA(m_hLists, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    }
  }
  // each column as wide as its widest text or its header, whichever is wider; the last
  // one takes what room is left besides
  const int columns = static_cast<int>(sizeof kColumns / sizeof kColumns[0]);
  for (int c = 0; c < columns; ++c) {
    int width = 0;
    for (int how : {LVSCW_AUTOSIZE, LVSCW_AUTOSIZE_USEHEADER}) {
      ::SendMessageA(m_hLists, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c), how);
      width =
          std::max(width, static_cast<int>(::SendMessageA(m_hLists, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c), 0)));
    }
    ::SendMessageA(m_hLists, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c), c + 1 < columns ? width + 4 : width);
  }
  m_bFilling = false;
}

void CRecordsDlg::ShowList(int list, const std::string& name) {
  if (list < 0) {
    SetDlgItemText(IDC_RECORDS_NAME, ("単語ファイル: " + name).c_str());
    SetDlgItemText(IDC_RECORDS_BEST, kNoGames);
    SetDlgItemText(IDC_RECORDS_LAST, "");
    m_wndChart.SetGames({}, 1, -1);
    return;
  }
  const krrec::ListSummary& l = m_pBook->Lists()[static_cast<size_t>(list)];
  krrec::GameRecord best = m_pBook->Game(l.best), last = m_pBook->Game(l.last);
  SetDlgItemText(IDC_RECORDS_NAME, ("単語ファイル: " + l.name).c_str());
  SetDlgItemText(IDC_RECORDS_BEST, ("最高得点: " + krrec::Thousands(best.total) + " 点 (" + best.when + ")").c_str());
  int accuracy = krrec::AccuracyTenths(last.right, last.wrong);
  SetDlgItemText(IDC_RECORDS_LAST,
                 ("前回のゲーム: " + krrec::Tenths(krrec::CpmTenths(last.chars)) + " 文字/分、正確さ " +
                  (accuracy < 0 ? std::string("-") : krrec::Tenths(accuracy) + "%"))
                     .c_str());
  std::vector<int> totals = m_pBook->LastTotals(list);
  int first = l.games - static_cast<int>(totals.size()) + 1;
  m_wndChart.SetGames(std::move(totals), first, best.total);
}

void CRecordsDlg::OnItemChanged(NMHDR* pHdr, LRESULT* pResult) {
  *pResult = 0;
  const NMLISTVIEW* nm = reinterpret_cast<const NMLISTVIEW*>(pHdr);
  if (m_bFilling || !m_pBook || !(nm->uChanged & LVIF_STATE) || !(nm->uNewState & LVIS_SELECTED) ||
      (nm->uOldState & LVIS_SELECTED))
    return;
  int list = static_cast<int>(nm->lParam);
  if (list >= 0 && static_cast<size_t>(list) < m_pBook->Lists().size()) ShowList(list, std::string());
}

// Texts at the top, the chart in the middle taking what room there is, the lists
// below at a third of the height.
void CRecordsDlg::Layout(int cx, int cy) {
  if (!m_hLists || cx <= 0 || cy <= 0) return;
  RECT unit = {7, 9, 0, 12};  // the margin; a text line's height; its pitch
  ::MapDialogRect(m_hWnd, &unit);
  const int m = unit.left, h = unit.top, pitch = unit.bottom, w = cx - 2 * m;
  int y = m;
  for (int id : {IDC_RECORDS_NAME, IDC_RECORDS_BEST, IDC_RECORDS_LAST}) {
    ::MoveWindow(GetDlgItem(id), m, y, w, h, TRUE);
    y += pitch;
  }
  y += m / 2;
  ::MoveWindow(GetDlgItem(IDC_RECORDS_CHART_LABEL), m, y, w, h, TRUE);
  y += h + 2;
  int listHeight = std::max(cy / 3, 4 * pitch);
  int listTop = cy - m - listHeight;
  int chartBottom = listTop - h - 2 - m;
  ::MoveWindow(m_wndChart.m_hWnd, m, y, w, std::max(chartBottom - y, 0), TRUE);
  ::MoveWindow(GetDlgItem(IDC_RECORDS_LISTS_LABEL), m, listTop - h - 2, w, h, TRUE);
  ::MoveWindow(m_hLists, m, listTop, w, listHeight, TRUE);
}

void CRecordsDlg::OnSize(UINT nType, int cx, int cy) {
  if (nType != SIZE_MINIMIZED) Layout(cx, cy);
}

LRESULT CRecordsDlg::OnGetMinMaxInfo(WPARAM, LPARAM lParam) {
  RECT least = {0, 0, 220, 200};  // in dialog units: room for the texts, a chart and a few rows
  ::MapDialogRect(m_hWnd, &least);
  MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
  info->ptMinTrackSize.x = least.right;
  info->ptMinTrackSize.y = least.bottom;
  return 0;
}
