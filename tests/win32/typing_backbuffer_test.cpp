// The game view's off-screen picture against the real GDI: what a paint finds in it,
// what it fills again, what it copies.
#include <gtest/gtest.h>

#include "BackBuffer.h"

namespace {

const COLORREF kFace = RGB(240, 240, 240), kInk = RGB(0, 0, 0), kOther = RGB(200, 0, 0);

void Paint(HDC dc, int l, int t, int r, int b, COLORREF c) {
  RECT rc = {l, t, r, b};
  HBRUSH brush = ::CreateSolidBrush(c);
  ::FillRect(dc, &rc, brush);
  ::DeleteObject(brush);
}

}  // namespace

TEST(BackBuffer, APaintFindsTheBackgroundWhereverItDrawsAndCopiesOnlyItsArea) {
  HDC screen = ::GetDC(nullptr);
  HRGN all = ::CreateRectRgn(0, 0, 200, 100), left = ::CreateRectRgn(0, 0, 100, 100);
  CBackBuffer buffer;
  EXPECT_FALSE(buffer.Begin(screen, 0, 100, all, kFace)) << "no picture of an empty view";

  HDC mem = buffer.Begin(screen, 200, 100, all, kFace);
  ASSERT_TRUE(mem);
  EXPECT_EQ(kFace, ::GetPixel(mem, 150, 90)) << "a new bitmap is all background";
  Paint(mem, 10, 10, 50, 50, kInk);
  buffer.AddInk(RECT{10, 10, 50, 50});
  Paint(mem, 110, 10, 150, 50, kInk);  // drawn, but not said: nothing fills it again

  mem = buffer.Begin(screen, 200, 100, left, kFace);
  EXPECT_EQ(kFace, ::GetPixel(mem, 20, 20)) << "ink inside the area is filled again";
  EXPECT_EQ(kInk, ::GetPixel(mem, 120, 20)) << "only what may hold ink is filled";
  Paint(mem, 0, 0, 200, 100, kOther);
  EXPECT_EQ(kOther, ::GetPixel(mem, 20, 20));
  EXPECT_EQ(kInk, ::GetPixel(mem, 120, 20)) << "drawing stays inside the area";

  // the copy goes to the area's place only
  HDC target = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, 200, 100);
  HGDIOBJ old = ::SelectObject(target, bmp);
  Paint(target, 0, 0, 200, 100, kFace);
  buffer.CopyTo(target, left);
  EXPECT_EQ(kOther, ::GetPixel(target, 60, 80));
  EXPECT_EQ(kFace, ::GetPixel(target, 120, 20));

  mem = buffer.Begin(screen, 200, 100, all, kInk);
  EXPECT_EQ(kInk, ::GetPixel(mem, 60, 80)) << "another background colour fills everything";
  mem = buffer.Begin(screen, 300, 100, all, kInk);
  EXPECT_EQ(kInk, ::GetPixel(mem, 250, 50)) << "a new size is a new bitmap, all background";

  buffer.Release();
  ::SelectObject(target, old);
  ::DeleteObject(bmp);
  ::DeleteDC(target);
  ::DeleteObject(all);
  ::DeleteObject(left);
  ::ReleaseDC(nullptr, screen);
}
