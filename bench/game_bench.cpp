// Game view benchmark: KeyRally's real frame, view and document (a window on the
// screen, a game running) drawing one full frame through the memory context, and one
// timer tick with the repaint of the areas it invalidated, a few thousand times each,
// at the frame's default size and maximised. As the plain OS reference for the same
// picture: the same texts drawn with fonts made once, and the bare copy of the client
// area to the screen. Run by hand; see bench/README.md.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <vector>

#include "BenchClock.h"
#include "KeyRallyDoc.h"
#include "KeyRallyView.h"
#include "MainFrm.h"
#include "resource.h"

namespace {

struct Stats {
  double median, p99, mean;
};
template <class F>
Stats Time(int n, F step) {
  std::vector<double> v;
  v.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    double t = Now();
    step(i);
    v.push_back(Now() - t);
  }
  double sum = 0;
  for (double x : v) sum += x;
  std::sort(v.begin(), v.end());
  return {v[v.size() / 2], v[v.size() * 99 / 100], sum / static_cast<double>(v.size())};
}

class BenchApp : public CWinApp {
 public:
  BenchApp() : CWinApp("打鍵丸") {}
};
BenchApp theApp;

// The same picture the plain way: the fonts made once, four lines drawn straight into a
// memory context the size of the view, then copied.
void PlainFrame(HWND view, HDC mem, HFONT header, HFONT word, int W, int H) {
  RECT r = {0, 0, W, H};
  HBRUSH brush = ::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
  ::FillRect(mem, &r, brush);
  ::DeleteObject(brush);
  ::SetBkColor(mem, ::GetSysColor(COLOR_BTNFACE));
  HGDIOBJ old = ::SelectObject(mem, header);
  const char* lines[] = {"追加得点:  730", "総合得点:    4520", "残り時間　2:41"};
  int xs[] = {0, W - 180, W / 2 - 90};
  for (int i = 0; i < 3; ++i) ::TextOutA(mem, xs[i], 0, lines[i], lstrlenA(lines[i]));
  ::SelectObject(mem, word);
  ::TextOutA(mem, W / 2 - 150, H / 2 - 50, "たいぴんぐ", 10);
  ::SelectObject(mem, old);
  HDC dc = ::GetDC(view);
  ::BitBlt(dc, 0, 0, W, H, mem, 0, 0, SRCCOPY);
  ::ReleaseDC(view, dc);
}

// A plain window over the view whose paint copies a prepared picture: the OS's own
// paint cycle (BeginPaint, one copy of the invalidated part, EndPaint).
HDC g_hPicture = nullptr;
LRESULT CALLBACK PlainPaintProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(h, &ps);
    const RECT& r = ps.rcPaint;
    ::BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, g_hPicture, r.left, r.top, SRCCOPY);
    ::EndPaint(h, &ps);
    return 0;
  }
  if (msg == WM_ERASEBKGND) return 1;
  return ::DefWindowProcA(h, msg, w, l);
}

void Measure(const char* label, HWND frame, HWND view, int n) {
  RECT rc;
  ::GetClientRect(view, &rc);
  const int W = rc.right, H = rc.bottom;
  std::printf("\n%s: view %d x %d, %d frames each\n", label, W, H, n);

  Stats full = Time(n, [&](int) { ::RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); });
  // a tick as the timer brings it: the rules, the invalidated areas, their repaint
  // (every 95th tick retires the word and repaints everything)
  Stats tick = Time(n, [&](int) {
    ::SendMessageA(view, WM_TIMER, 100, 0);
    ::UpdateWindow(view);
  });

  HDC screen = ::GetDC(view);
  HDC mem = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, W, H);
  HGDIOBJ oldBmp = ::SelectObject(mem, bmp);
  ::ReleaseDC(view, screen);
  CFont header, word;
  header.CreatePointFont(150, "ＭＳ ゴシック");
  word.CreatePointFont(700, "ＭＳ Ｐゴシック");
  Stats plain = Time(n, [&](int) { PlainFrame(view, mem, header, word, W, H); });
  Stats copy = Time(n, [&](int) {
    HDC dc = ::GetDC(view);
    ::BitBlt(dc, 0, 0, W, H, mem, 0, 0, SRCCOPY);
    ::ReleaseDC(view, dc);
  });
  // the paint cycle alone, for the whole area and for areas the size of a tick's
  WNDCLASSA wc = {};
  wc.lpfnWndProc = PlainPaintProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = "GameBenchPlain";
  ::RegisterClassA(&wc);
  HWND plainWnd = ::CreateWindowExA(0, wc.lpszClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, W, H, view, nullptr,
                                    wc.hInstance, nullptr);
  g_hPicture = mem;
  ::UpdateWindow(plainWnd);
  Stats paintFull = Time(n, [&](int) { ::RedrawWindow(plainWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); });
  RECT bonusArea = {0, 0, 140, 20}, wordArea = {W / 2 - 230, H / 2 - 70, W / 2 + 230, H / 2 + 70};
  Stats paintTick = Time(n, [&](int) {
    ::InvalidateRect(plainWnd, &wordArea, FALSE);
    ::InvalidateRect(plainWnd, &bonusArea, TRUE);
    ::UpdateWindow(plainWnd);
  });
  ::DestroyWindow(plainWnd);
  ::SelectObject(mem, oldBmp);
  ::DeleteObject(bmp);
  ::DeleteDC(mem);

  std::printf("  %-44s %8s %8s %8s\n", "", "median", "p99", "mean");
  auto row = [](const char* what, const Stats& s) {
    std::printf("  %-44s %6.3f ms %6.3f ms %6.3f ms\n", what, s.median, s.p99, s.mean);
  };
  row("full frame through the memory context", full);
  row("one tick and its invalidated areas", tick);
  row("plain: same texts, fonts made once", plain);
  row("plain: bare copy of the client area", copy);
  row("plain: paint cycle copying the whole area", paintFull);
  row("plain: paint cycle copying a tick's areas", paintTick);
  std::printf("  medians: full frame / plain drawing %.2fx, / plain paint cycle %.2fx; tick / plain tick paint %.2fx\n",
              full.median / plain.median, full.median / paintFull.median, tick.median / paintTick.median);
}

}  // namespace

int main(int argc, char** argv) {
  int n = argc > 1 ? std::atoi(argv[1]) : 3000;
  if (n < 10) n = 10;
  theApp.m_hInstance = ::GetModuleHandleA(nullptr);
  theApp.m_nCmdShow = SW_SHOWNORMAL;
  CSingleDocTemplate* t = new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CKeyRallyDoc), RUNTIME_CLASS(CMainFrame),
                                                 RUNTIME_CLASS(CKeyRallyView));
  theApp.AddDocTemplate(t);
  CKeyRallyDoc* doc = static_cast<CKeyRallyDoc*>(t->OpenDocumentFile(nullptr));
  if (!doc || !theApp.m_pMainWnd) {
    std::fprintf(stderr, "game_bench: no main window (is there a display?)\n");
    return 1;
  }
  for (const char* w : {"apple", "keyboard", "たいぴんぐ", "打鍵丸", "window", "ﾀｲﾋﾟﾝｸﾞ", "練習"}) doc->AddWord(w);
  HWND frame = theApp.m_pMainWnd->m_hWnd;
  HWND view = ::GetDlgItem(frame, AFX_IDW_PANE_FIRST);
  ::SendMessageA(frame, WM_COMMAND, ID_GAME_START, 0);  // a game runs; its own timer is never pumped
  ::UpdateWindow(view);

  Measure("default frame size", frame, view, n);
  ::ShowWindow(frame, SW_MAXIMIZE);
  ::UpdateWindow(frame);
  Measure("maximised (full screen)", frame, view, n);

  ::SendMessageA(frame, WM_COMMAND, ID_GAME_STOP, 0);
  ::SendMessageA(frame, WM_CLOSE, 0, 0);
  return theApp.ExitInstance();
}
