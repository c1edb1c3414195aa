// The game view's picture: the three header lines and the word, drawn into an
// off-screen bitmap and copied to the screen in one piece, so nothing flickers.
#include "KeyRallyView.h"

#include <cstring>

namespace {
SIZE Extent(HDC dc, const std::string& s) {
  SIZE size = {0, 0};
  ::GetTextExtentPoint32A(dc, s.data(), static_cast<int>(s.size()), &size);
  return size;
}
}  // namespace

// Draws a line of text of the given extent at (x, y) and gives the box it covers. Its
// glyphs may reach past that box (an italic face): a line whose box, widened by a
// character on every side, lies wholly outside the area being painted is only
// measured. What the drawing touched, as the context counts it, may now hold ink.
RECT CKeyRallyView::DrawLine(HDC dc, const std::string& s, int x, int y, SIZE size, const TEXTMETRICA& tm) {
  RECT box = {x, y, x + size.cx, y + size.cy};
  RECT reach = {box.left - tm.tmMaxCharWidth, box.top - tm.tmHeight, box.right + tm.tmMaxCharWidth,
                box.bottom + tm.tmHeight};
  if (::RectVisible(dc, &reach)) {
    ::SetBoundsRect(dc, nullptr, DCB_RESET | DCB_ENABLE);
    ::TextOutA(dc, x, y, s.data(), static_cast<int>(s.size()));
    RECT touched;
    if (::GetBoundsRect(dc, &touched, DCB_RESET) & DCB_SET) m_back.AddInk(touched);
    m_back.AddInk(box);
  }
  return box;
}

void CKeyRallyView::OnDraw(CDC* pDC) {
  HDC dc = pDC->m_hDC;
  RECT client;
  GetClientRect(&client);
  const int W = client.right, H = client.bottom;
  COLORREF oldBk = ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
  if (!m_fontHeader.m_hObject) m_fontHeader.CreatePointFont(krgame::kHeaderPointSize, "ＭＳ ゴシック");
  HGDIOBJ oldFont = ::SelectObject(dc, m_fontHeader);
  TEXTMETRICA tm = {};
  ::GetTextMetricsA(dc, &tm);

  std::string bonus = krgame::BonusLine(m_game.Bonus());
  m_rcBonus = DrawLine(dc, bonus, 0, 0, Extent(dc, bonus), tm);
  std::string total = krgame::TotalLine(m_game.Total());
  SIZE s = Extent(dc, total);
  m_rcTotal = DrawLine(dc, total, W - s.cx, 0, s, tm);
  std::string time = krgame::TimeLine(m_game.ShowRemaining());
  s = Extent(dc, time);
  m_rcTime = DrawLine(dc, time, (W - s.cx) / 2, 0, s, tm);
  m_rcTime.right = (W + s.cx) / 2;

  std::string text;
  if (m_game.CurrentWord(GetDocument()->Words(), text)) {
    m_lfWord.lfHeight = m_game.WordSize();
    // the word shrinks every tick, so its font is made again for each new size (in
    // the units of the context drawn on, which has the screen's resolution)
    if (!m_fontWord.m_hObject || std::memcmp(&m_lfWord, &m_lfWordMade, sizeof m_lfWord) != 0) {
      m_fontWord.CreatePointFontIndirect(&m_lfWord, dc);
      m_lfWordMade = m_lfWord;
    }
    ::SelectObject(dc, m_fontWord);
    COLORREF oldText = ::SetTextColor(dc, m_crWord);
    ::GetTextMetricsA(dc, &tm);
    s = Extent(dc, text);
    RECT box = DrawLine(dc, text, (W - s.cx) / 2, (H - s.cy) / 2, s, tm);
    // wide enough that the next, smaller word's repaint covers this one
    m_rcWord = RECT{box.left - tm.tmMaxCharWidth, box.top, box.right + tm.tmMaxCharWidth, box.bottom};
    ::SetTextColor(dc, oldText);
  }
  ::SetBkColor(dc, oldBk);
  ::SelectObject(dc, oldFont);
}

void CKeyRallyView::OnPaint() {
  // The invalidated area, asked before BeginPaint empties it: only its rectangles are
  // filled and copied, not the whole box around them (a tick's areas lie far apart).
  if (!m_rgnPaint) m_rgnPaint = ::CreateRectRgn(0, 0, 0, 0);
  bool haveRgn = m_rgnPaint && ::GetUpdateRgn(m_hWnd, m_rgnPaint, FALSE) > NULLREGION;
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  RECT client, clip;
  GetClientRect(&client);
  ::GetClipBox(hdc, &clip);
  if (!haveRgn) ::SetRectRgn(m_rgnPaint, clip.left, clip.top, clip.right, clip.bottom);
  // without a bitmap (no memory for one) the picture is drawn straight on the screen
  COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  HDC mem = m_rgnPaint ? m_back.Begin(hdc, client.right, client.bottom, m_rgnPaint, face) : nullptr;
  if (!mem) {
    CBrush brush(face);
    ::FillRect(hdc, &clip, brush);
  }
  CDC dc;
  dc.m_hDC = mem ? mem : hdc;
  OnPrepareDC(&dc, nullptr);
  OnDraw(&dc);
  if (mem) m_back.CopyTo(hdc, m_rgnPaint);
  ::EndPaint(m_hWnd, &ps);
}
