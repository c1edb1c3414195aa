#include "BackBuffer.h"

HDC CBackBuffer::Begin(HDC screen, int cx, int cy, HRGN area, COLORREF background) {
  if (cx <= 0 || cy <= 0) return nullptr;
  if (!m_hBitmap || cx != m_cx || cy != m_cy) {
    Release();
    m_hDC = ::CreateCompatibleDC(screen);
    m_hBitmap = m_hDC ? ::CreateCompatibleBitmap(screen, cx, cy) : nullptr;
    m_rgnInk = ::CreateRectRgn(0, 0, 0, 0);
    m_rgnWork = ::CreateRectRgn(0, 0, 0, 0);
    if (!m_hBitmap || !m_rgnInk || !m_rgnWork) {
      Release();
      return nullptr;
    }
    m_hOldBitmap = ::SelectObject(m_hDC, m_hBitmap);
    m_cx = cx;
    m_cy = cy;
  }
  ::SelectClipRgn(m_hDC, nullptr);
  if (background != m_crBackground || !m_hBackground) {
    // a new bitmap or another colour: all of it once
    if (m_hBackground) ::DeleteObject(m_hBackground);
    m_hBackground = ::CreateSolidBrush(background);
    m_crBackground = background;
    RECT all = {0, 0, cx, cy};
    ::FillRect(m_hDC, &all, m_hBackground);
    ::SetRectRgn(m_rgnInk, 0, 0, 0, 0);
  } else if (::CombineRgn(m_rgnWork, area, m_rgnInk, RGN_AND) > NULLREGION) {
    ::FillRgn(m_hDC, m_rgnWork, m_hBackground);
    ::CombineRgn(m_rgnInk, m_rgnInk, area, RGN_DIFF);
  }
  ::SelectClipRgn(m_hDC, area);  // a copy: the last paint's clip goes
  return m_hDC;
}

void CBackBuffer::AddInk(const RECT& r) {
  if (!m_rgnInk) return;
  ::SetRectRgn(m_rgnWork, r.left, r.top, r.right, r.bottom);
  ::CombineRgn(m_rgnInk, m_rgnInk, m_rgnWork, RGN_OR);
}

void CBackBuffer::CopyTo(HDC screen, HRGN area) {
  DWORD size = ::GetRegionData(area, 0, nullptr);
  if (size > m_rgnData.size()) m_rgnData.resize(size);
  RGNDATA* data = reinterpret_cast<RGNDATA*>(m_rgnData.data());
  if (size == 0 || ::GetRegionData(area, size, data) != size) {
    RECT box;
    ::GetRgnBox(area, &box);
    ::BitBlt(screen, box.left, box.top, box.right - box.left, box.bottom - box.top, m_hDC, box.left, box.top, SRCCOPY);
    return;
  }
  const RECT* r = reinterpret_cast<const RECT*>(data->Buffer);
  for (DWORD i = 0; i < data->rdh.nCount; ++i)
    ::BitBlt(screen, r[i].left, r[i].top, r[i].right - r[i].left, r[i].bottom - r[i].top, m_hDC, r[i].left, r[i].top,
             SRCCOPY);
}

void CBackBuffer::Release() {
  if (m_hDC && m_hOldBitmap) ::SelectObject(m_hDC, m_hOldBitmap);
  if (m_hBitmap) ::DeleteObject(m_hBitmap);
  if (m_hDC) ::DeleteDC(m_hDC);
  for (HGDIOBJ h :
       {static_cast<HGDIOBJ>(m_hBackground), static_cast<HGDIOBJ>(m_rgnInk), static_cast<HGDIOBJ>(m_rgnWork)})
    if (h) ::DeleteObject(h);
  m_hDC = nullptr;
  m_hBitmap = nullptr;
  m_hOldBitmap = nullptr;
  m_hBackground = nullptr;
  m_crBackground = CLR_INVALID;
  m_rgnInk = m_rgnWork = nullptr;
  m_cx = m_cy = 0;
}
