// The records window's chart: the totals of a word list's last games as a line over
// a value axis, the best total as a dashed line and, when it is among them, a red
// mark on its game.
#include <algorithm>

#include "RecordsDlg.h"

namespace {
const COLORREF kLine = RGB(0, 84, 192), kBest = RGB(208, 0, 0), kGrid = RGB(222, 222, 222), kAxis = RGB(0, 0, 0);

SIZE Extent(HDC dc, const std::string& s) {
  SIZE size = {0, 0};
  ::GetTextExtentPoint32A(dc, s.data(), static_cast<int>(s.size()), &size);
  return size;
}
void Text(HDC dc, int x, int y, const std::string& s) { ::TextOutA(dc, x, y, s.data(), static_cast<int>(s.size())); }
void Line(HDC dc, int x0, int y0, int x1, int y1) {
  ::MoveToEx(dc, x0, y0, nullptr);
  ::LineTo(dc, x1, y1);
}
}  // namespace

BEGIN_MESSAGE_MAP(CRecordsChart, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_DESTROY()
ON_WM_SIZE()
END_MESSAGE_MAP()

void CRecordsChart::SetGames(std::vector<int> totals, int nFirstGame, int nBest) {
  m_totals = std::move(totals);
  m_nFirstGame = nFirstGame;
  m_nBest = nBest;
  if (m_hWnd) Invalidate(FALSE);
}

void CRecordsChart::OnSize(UINT, int, int) {
  Default();
  Invalidate(FALSE);  // every part moves with the size: all of it is painted again
}

void CRecordsChart::OnDestroy() {
  m_back.Release();
  Default();
}

void CRecordsChart::OnPaint() {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  RECT r;
  GetClientRect(&r);
  // the whole chart each time: it is small, and every part of it moves with the data
  HRGN area = ::CreateRectRgn(0, 0, r.right, r.bottom);
  HDC mem = area ? m_back.Begin(hdc, r.right, r.bottom, area, ::GetSysColor(COLOR_WINDOW)) : nullptr;
  if (mem) {
    Draw(mem, r.right, r.bottom);
    m_back.AddInk(r);
    m_back.CopyTo(hdc, area);
  } else {
    ::FillRect(hdc, &r, ::GetSysColorBrush(COLOR_WINDOW));
    Draw(hdc, r.right, r.bottom);
  }
  if (area) ::DeleteObject(area);
  ::EndPaint(m_hWnd, &ps);
}

void CRecordsChart::Draw(HDC dc, int cx, int cy) {
  HFONT font = reinterpret_cast<HFONT>(::SendMessageA(GetParent(), WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = ::SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
  int oldMode = ::SetBkMode(dc, TRANSPARENT);
  COLORREF oldText = ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
  HPEN frame = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DSHADOW));
  HPEN grid = ::CreatePen(PS_SOLID, 1, kGrid), axis = ::CreatePen(PS_SOLID, 1, kAxis);
  HPEN line = ::CreatePen(PS_SOLID, 2, kLine), best = ::CreatePen(PS_DOT, 1, kBest);
  HBRUSH dot = ::CreateSolidBrush(kLine), bestDot = ::CreateSolidBrush(kBest);
  HGDIOBJ oldPen = ::SelectObject(dc, frame);
  HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
  ::Rectangle(dc, 0, 0, cx, cy);

  TEXTMETRICA tm = {};
  ::GetTextMetricsA(dc, &tm);
  const int th = tm.tmHeight;
  if (m_nBest < 0) {
    std::string none = "まだ記録がありません";
    SIZE s = Extent(dc, none);
    Text(dc, (cx - s.cx) / 2, (cy - s.cy) / 2, none);
  } else {
    int most = m_nBest;
    for (int t : m_totals) most = std::max(most, t);
    krrec::ValueAxis va = krrec::AxisFor(most);
    const int left = Extent(dc, krrec::Thousands(va.top)).cx + 12, top = th / 2 + 8;
    const int right = cx - 16, bottom = cy - th - 10;
    const int w = right - left, h = bottom - top;
    if (w > 20 && h > 20) {
      // the value axis: a grid line and a label at each step
      for (int v = 0; v <= va.top; v += va.step) {
        int y = krrec::PlotY(v, va, top, h);
        ::SelectObject(dc, v ? grid : axis);
        Line(dc, left, y, right, y);
        std::string label = krrec::Thousands(v);
        Text(dc, left - 6 - Extent(dc, label).cx, y - th / 2, label);
      }
      ::SelectObject(dc, axis);
      Line(dc, left, top, left, bottom + 1);
      // a tick every ten games; the numbers of the first and the last game shown
      for (int i = 0; i < krrec::kChartGames; i += 10) {
        int x = left + i * w / (krrec::kChartGames - 1);
        Line(dc, x, bottom, x, bottom + 4);
      }
      Line(dc, right, bottom, right, bottom + 4);
      std::vector<krrec::ChartPoint> pts = krrec::PlotPoints(m_totals, va, left, top, w, h);
      if (!pts.empty()) {
        std::string last = std::to_string(m_nFirstGame + static_cast<int>(pts.size()) - 1) + " 回目";
        SIZE ls = Extent(dc, last);
        int lx = std::min(pts.back().x - static_cast<int>(ls.cx) / 2, cx - 4 - static_cast<int>(ls.cx));
        Text(dc, lx, bottom + 5, last);
        std::string first = std::to_string(m_nFirstGame) + " 回目";
        SIZE fs = Extent(dc, first);
        int fx = std::max(pts[0].x - static_cast<int>(fs.cx) / 2, 2);
        if (pts.size() > 1 && fx + fs.cx + 8 < lx) Text(dc, fx, bottom + 5, first);
      }
      // the best: a dashed line across, labelled at its right end
      int by = krrec::PlotY(m_nBest, va, top, h);
      ::SelectObject(dc, best);
      ::SetBkMode(dc, OPAQUE);
      ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
      Line(dc, left + 1, by, right, by);
      ::SetBkMode(dc, TRANSPARENT);
      std::string bestLabel = "最高 " + krrec::Thousands(m_nBest);
      SIZE bs = Extent(dc, bestLabel);
      // at the right end, or at the left when the best game's mark is there
      int bx = right - bs.cx;
      for (size_t i = 0; i < pts.size(); ++i)
        if (m_totals[i] == m_nBest && pts[i].x + 8 >= bx) bx = left + 6;
      ::SetTextColor(dc, kBest);
      Text(dc, bx, by - th - 1 >= 0 ? by - th - 1 : by + 2, bestLabel);
      ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
      // the games
      if (pts.size() > 1) {
        ::SelectObject(dc, line);
        ::Polyline(dc, reinterpret_cast<const POINT*>(pts.data()), static_cast<int>(pts.size()));
      }
      ::SelectObject(dc, ::GetStockObject(NULL_PEN));
      bool bestMarked = false;
      for (size_t i = 0; i < pts.size(); ++i) {
        const krrec::ChartPoint& p = pts[i];
        bool isBest = !bestMarked && m_totals[i] == m_nBest;
        bestMarked = bestMarked || isBest;
        int r = isBest ? 5 : 3;
        ::SelectObject(dc, isBest ? bestDot : dot);
        ::Ellipse(dc, p.x - r, p.y - r, p.x + r + 1, p.y + r + 1);
      }
    }
  }
  ::SelectObject(dc, oldPen);
  ::SelectObject(dc, oldBrush);
  ::SelectObject(dc, oldFont);
  ::SetBkMode(dc, oldMode);
  ::SetTextColor(dc, oldText);
  for (HGDIOBJ o :
       {static_cast<HGDIOBJ>(frame), static_cast<HGDIOBJ>(grid), static_cast<HGDIOBJ>(axis), static_cast<HGDIOBJ>(line),
        static_cast<HGDIOBJ>(best), static_cast<HGDIOBJ>(dot), static_cast<HGDIOBJ>(bestDot)})
    ::DeleteObject(o);
}
