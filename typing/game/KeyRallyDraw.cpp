// The game view's picture: the three header lines and the word, drawn into an
// off-screen bitmap and copied to the screen in one piece, so nothing flickers.
#include "KeyRallyView.h"

namespace {
// Draws a line of text at (x, y) and gives the box it covers.
RECT DrawLine(HDC dc, const std::string& s, int x, int y) {
  ::TextOutA(dc, x, y, s.data(), static_cast<int>(s.size()));
  SIZE size = {0, 0};
  ::GetTextExtentPoint32A(dc, s.data(), static_cast<int>(s.size()), &size);
  return RECT{x, y, x + size.cx, y + size.cy};
}

SIZE Extent(HDC dc, const std::string& s) {
  SIZE size = {0, 0};
  ::GetTextExtentPoint32A(dc, s.data(), static_cast<int>(s.size()), &size);
  return size;
}
}  // namespace

void CKeyRallyView::OnDraw(CDC* pDC) {
  HDC dc = pDC->m_hDC;
  RECT client;
  GetClientRect(&client);
  const int W = client.right, H = client.bottom;
  COLORREF oldBk = ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
  CFont header, word;  // created for this drawing only
  header.CreatePointFont(krgame::kHeaderPointSize, "ＭＳ ゴシック");
  HGDIOBJ oldFont = ::SelectObject(dc, header);

  std::string bonus = krgame::BonusLine(m_game.Bonus());
  m_rcBonus = DrawLine(dc, bonus, 0, 0);
  std::string total = krgame::TotalLine(m_game.Total());
  m_rcTotal = DrawLine(dc, total, W - Extent(dc, total).cx, 0);
  std::string time = krgame::TimeLine(m_game.ShowRemaining());
  SIZE t = Extent(dc, time);
  m_rcTime = DrawLine(dc, time, (W - t.cx) / 2, 0);
  m_rcTime.right = (W + t.cx) / 2;

  std::string text;
  if (m_game.CurrentWord(GetDocument()->Words(), text)) {
    m_lfWord.lfHeight = m_game.WordSize();
    word.CreatePointFontIndirect(&m_lfWord);
    ::SelectObject(dc, word);
    COLORREF oldText = ::SetTextColor(dc, m_crWord);
    SIZE w = Extent(dc, text);
    RECT box = DrawLine(dc, text, (W - w.cx) / 2, (H - w.cy) / 2);
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(dc, &tm);
    // wide enough that the next, smaller word's repaint covers this one
    m_rcWord = RECT{box.left - tm.tmMaxCharWidth, box.top, box.right + tm.tmMaxCharWidth, box.bottom};
    ::SetTextColor(dc, oldText);
  }
  ::SetBkColor(dc, oldBk);
  ::SelectObject(dc, oldFont);
}

void CKeyRallyView::OnPaint() {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  RECT client, clip;
  GetClientRect(&client);
  ::GetClipBox(hdc, &clip);
  HDC mem = ::CreateCompatibleDC(hdc);
  HBITMAP bmp = mem && client.right > 0 && client.bottom > 0
                    ? ::CreateCompatibleBitmap(hdc, client.right, client.bottom)
                    : nullptr;
  // without a bitmap (no memory for one) the picture is drawn straight on the screen
  HDC target = bmp ? mem : hdc;
  HGDIOBJ oldBmp = bmp ? ::SelectObject(mem, bmp) : nullptr;
  if (bmp) ::IntersectClipRect(mem, clip.left, clip.top, clip.right, clip.bottom);
  CDC dc;
  dc.m_hDC = target;
  OnPrepareDC(&dc, nullptr);
  HBRUSH brush = ::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
  ::FillRect(target, &clip, brush);
  OnDraw(&dc);
  if (bmp) {
    ::BitBlt(hdc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, mem, clip.left, clip.top,
             SRCCOPY);
    ::SelectObject(mem, oldBmp);
    ::DeleteObject(bmp);
  }
  ::DeleteObject(brush);
  if (mem) ::DeleteDC(mem);
  ::EndPaint(m_hWnd, &ps);
}
