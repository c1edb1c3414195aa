// An off-screen picture of a window's client area, kept between paints: the memory
// context and its bitmap are made again only when the size changes. It knows where
// earlier drawings may have left ink, so that a paint fills only those parts of its
// area; everywhere else the bitmap still holds the background.
#pragma once
#include <windows.h>

#include <vector>

class CBackBuffer {
 public:
  CBackBuffer() = default;
  ~CBackBuffer() { Release(); }
  CBackBuffer(const CBackBuffer&) = delete;
  CBackBuffer& operator=(const CBackBuffer&) = delete;

  // The memory context holding a bitmap of cx by cy compatible with `screen`, clipped
  // to `area`, and `area` filled with `background` as far as it is not already; null
  // when none can be made (an empty view, no memory).
  HDC Begin(HDC screen, int cx, int cy, HRGN area, COLORREF background);
  // Where the drawing after Begin may have put something other than the background.
  void AddInk(const RECT& r);
  // Copies the rectangles of `area` to the same place on `screen`.
  void CopyTo(HDC screen, HRGN area);
  void Release();

 private:
  HDC m_hDC = nullptr;
  HBITMAP m_hBitmap = nullptr;
  HGDIOBJ m_hOldBitmap = nullptr;
  int m_cx = 0, m_cy = 0;
  HBRUSH m_hBackground = nullptr;
  COLORREF m_crBackground = CLR_INVALID;
  HRGN m_rgnInk = nullptr;      // outside it every pixel is the background
  HRGN m_rgnWork = nullptr;     // scratch
  std::vector<char> m_rgnData;  // the area's rectangles, kept for the next paint
};
