// Game view benchmark: KeyRally's real frame, view and document (a window on the
// screen, a game running) drawing one full frame, and one timer tick with the repaint
// of the areas it invalidated, a few thousand times each, at the frame's default size
// and maximised. The plain OS references for the same work come from a plain window
// over the view: the platform's paint cycle copying a prepared picture (the whole area,
// and a tick's areas), and the same cycle drawing what the view draws (the texts with
// fonts made once; a tick's texts with the word's font made at its new size). The view
// and the references take turns in blocks, so that a load on the shared machine falls
// on all of them. Run by hand; see bench/README.md.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "KeyRallyDoc.h"
#include "KeyRallyView.h"
#include "MainFrm.h"
#include "resource.h"

namespace {

struct Stats {
  explicit Stats(const char* w) : what(w) {}
  const char* what;
  std::vector<double> v;
  double Median() const { return ::Median(v); }
  double P99() const {
    std::vector<double> s = v;
    std::sort(s.begin(), s.end());
    return s[s.size() * 99 / 100];
  }
};
std::string g_strSize;  // the view's size, for the profile names
template <class F>
void Time(Stats& s, int n, F step) {
  BenchStepBegin();
  for (int i = 0; i < n; ++i) {
    double t = Now();
    step();
    s.v.push_back(Now() - t);
  }
  BenchStepEnd(g_strSize + ": " + s.what);
}

class BenchApp : public CWinApp {
 public:
  BenchApp() : CWinApp("打鍵丸") {}
};
BenchApp theApp;

const char kWord[] = "たいぴんぐ";
const char* const kHeader[] = {"追加得点:  730", "総合得点:    4520", "残り時間　2:41"};

// The plain window's paint: BeginPaint, one copy of the invalidated part from a
// prepared picture, EndPaint. It can first draw into the picture what the view draws:
// the four texts with fonts made once (a full frame at the least), or the bonus line
// and the word with its font made for a new size (a tick at the least).
enum PlainDraw { kCopyOnly, kSameTexts, kWordAtSize };
PlainDraw g_plainDraw = kCopyOnly;
HDC g_hPicture = nullptr;
HFONT g_hHeader = nullptr, g_hWord = nullptr;
int g_nWordSize = 1000;  // tenths of a point, for kWordAtSize
LRESULT CALLBACK PlainPaintProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(h, &ps);
    const RECT& r = ps.rcPaint;
    if (g_plainDraw != kCopyOnly) {
      RECT client;
      ::GetClientRect(h, &client);
      const int W = client.right, H = client.bottom;
      ::FillRect(g_hPicture, &r, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
      ::SetBkColor(g_hPicture, ::GetSysColor(COLOR_BTNFACE));
      HGDIOBJ old = ::SelectObject(g_hPicture, g_hHeader);
      const int xs[] = {0, W - 180, W / 2 - 90};
      for (int i = 0; i < (g_plainDraw == kSameTexts ? 3 : 1); ++i)
        ::TextOutA(g_hPicture, xs[i], 0, kHeader[i], lstrlenA(kHeader[i]));
      CFont made;
      if (g_plainDraw == kWordAtSize) made.CreatePointFont(g_nWordSize, "ＭＳ Ｐゴシック", g_hPicture);
      ::SelectObject(g_hPicture, g_plainDraw == kWordAtSize ? made.m_hObject : g_hWord);
      SIZE s;
      ::GetTextExtentPoint32A(g_hPicture, kWord, lstrlenA(kWord), &s);
      ::TextOutA(g_hPicture, (W - s.cx) / 2, (H - s.cy) / 2, kWord, lstrlenA(kWord));
      ::SelectObject(g_hPicture, old);
    }
    ::BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, g_hPicture, r.left, r.top, SRCCOPY);
    ::EndPaint(h, &ps);
    return 0;
  }
  if (msg == WM_ERASEBKGND) return 1;
  return ::DefWindowProcA(h, msg, w, l);
}

struct Result {
  double full, tick, paintFull, paintTick, drawFull, drawTick;
};

Result Measure(const char* label, HWND view, int n) {
  RECT rc;
  ::GetClientRect(view, &rc);
  const int W = rc.right, H = rc.bottom;
  std::printf("\n%s: view %d x %d, %d frames each\n", label, W, H, n);

  HDC screen = ::GetDC(view);
  HDC mem = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, W, H);
  HGDIOBJ oldBmp = ::SelectObject(mem, bmp);
  ::ReleaseDC(view, screen);
  CFont header, word;
  header.CreatePointFont(150, "ＭＳ ゴシック");
  word.CreatePointFont(700, "ＭＳ Ｐゴシック");
  WNDCLASSA wc = {};
  wc.lpfnWndProc = PlainPaintProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = "GameBenchPlain";
  ::RegisterClassA(&wc);
  HWND plainWnd =
      ::CreateWindowExA(0, wc.lpszClassName, "", WS_CHILD, 0, 0, W, H, view, nullptr, wc.hInstance, nullptr);
  g_hPicture = mem;
  g_hHeader = header;
  g_hWord = word;
  // a tick's areas in the plain window: the bonus line and a word in the middle
  RECT bonusArea = {0, 0, 140, 20}, wordArea = {W / 2 - 230, H / 2 - 70, W / 2 + 230, H / 2 + 70};
  auto plainTick = [&] {
    ::InvalidateRect(plainWnd, &wordArea, FALSE);
    ::InvalidateRect(plainWnd, &bonusArea, TRUE);
    ::UpdateWindow(plainWnd);
  };
  auto plainFull = [&] { ::RedrawWindow(plainWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); };

  g_strSize = label;
  Stats full("full frame through the memory context"), tick("one tick and its invalidated areas"),
      paintFull("plain: paint cycle copying the whole area"), paintTick("plain: paint cycle copying a tick's areas"),
      drawFull("plain: paint cycle drawing the texts, fonts made once"),
      drawTick("plain: paint cycle drawing a tick's texts, word font new");
  // under callgrind one block, so that each step is one profile
  const int blocks = BenchUnderProfiler() ? 1 : 20, perBlock = std::max(1, n / blocks);
  for (int b = 0; b < blocks; ++b) {
    ::ShowWindow(plainWnd, SW_HIDE);
    ::UpdateWindow(view);
    Time(full, perBlock, [&] { ::RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); });
    // a tick as the timer brings it: the rules, the invalidated areas, their repaint
    // (every 95th tick retires the word and repaints everything)
    Time(tick, perBlock, [&] {
      ::SendMessageA(view, WM_TIMER, 100, 0);
      ::UpdateWindow(view);
    });
    ::ShowWindow(plainWnd, SW_SHOWNA);
    ::UpdateWindow(plainWnd);
    g_plainDraw = kCopyOnly;
    Time(paintFull, perBlock, plainFull);
    Time(paintTick, perBlock, plainTick);
    g_plainDraw = kSameTexts;
    Time(drawFull, perBlock, plainFull);
    g_plainDraw = kWordAtSize;
    Time(drawTick, perBlock, [&] {
      g_nWordSize = g_nWordSize <= 60 ? 1000 : g_nWordSize - 10;
      plainTick();
    });
    g_plainDraw = kCopyOnly;
  }
  ::DestroyWindow(plainWnd);
  ::SelectObject(mem, oldBmp);
  ::DeleteObject(bmp);
  ::DeleteDC(mem);

  std::printf("  %-56s %8s %8s\n", "", "median", "p99");
  for (const Stats* s : {&full, &tick, &paintFull, &paintTick, &drawFull, &drawTick})
    std::printf("  %-56s %6.3f ms %6.3f ms\n", s->what, s->Median(), s->P99());
  Result r = {full.Median(),      tick.Median(),     paintFull.Median(),
              paintTick.Median(), drawFull.Median(), drawTick.Median()};
  std::printf(
      "  medians: full frame / plain paint cycle %.2fx, / plain paint drawing %.2fx; tick / plain tick paint %.2fx, "
      "/ plain tick drawing %.2fx\n",
      r.full / r.paintFull, r.full / r.drawFull, r.tick / r.paintTick, r.tick / r.drawTick);
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  int n = argc > 1 ? std::atoi(argv[1]) : 3000;
  if (n < 20) n = 20;
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

  Measure("default frame size", view, n);
  ::ShowWindow(frame, SW_MAXIMIZE);
  ::UpdateWindow(frame);
  Result m = Measure("maximised (full screen)", view, n);

  ::SendMessageA(frame, WM_COMMAND, ID_GAME_STOP, 0);
  ::SendMessageA(frame, WM_CLOSE, 0, 0);
  // Aimed against the plain work that draws what the view draws; the copy-only cycles
  // leave out the glyphs a tick and a frame must draw, and stay as references.
  PrintRatio("game_tick_drawn", m.tick / m.drawTick, 1.1,
             "game tick, maximised / plain tick paint drawing the word at its new size");
  PrintRatio("game_frame_drawn", m.full / m.drawFull, 1.3,
             "full frame, maximised / plain paint cycle drawing the same texts");
  PrintRatio("game_tick", m.tick / m.paintTick, 0, "the same tick / plain tick paint copying its areas");
  PrintRatio("game_frame", m.full / m.paintFull, 0, "the same frame / plain paint cycle copying the whole area");
  return theApp.ExitInstance();
}
