// The game view as a test sees it, read inside the program by krmenuprobe.dll: the
// sounds played, the texts of one repaint, the open pop-up menu, the view's class;
// and from outside: the typing box, the game menu's states, list box items.
#pragma once
#include <map>
#include <sstream>

#include "typing_helpers.h"

namespace krtest {

constexpr LPARAM kGameSounds = 1, kGameFrame = 2, kGamePopup = 3, kGameView = 4, kGameListBox = 5,
                 kGameClockAhead = 6, kGameListView = 7;

inline std::string AskGame(HWND frame, LPARAM what) {
  std::string text;
  bool got = uitest::AskProbe(frame, "krmenuprobe.dll", "KrMenuProbe", "KeyRallyTestGameProbe", "krgame", what, text);
  return got ? text : std::string("no answer");
}

// Sounds and beeps since the last call, one a line: "play<TAB>name<TAB>flags" or
// "beep<TAB>type". The first call starts the recording and answers "".
inline std::string Sounds(HWND frame) { return AskGame(frame, kGameSounds); }

inline HWND ViewOf(HWND frame) { return ::GetDlgItem(frame, AFX_IDW_PANE_FIRST); }
inline HWND WordEdit(HWND frame) { return ::GetDlgItem(ViewOf(frame), IDC_WORD_EDIT); }

// One TextOutA of a repaint: place, extent, font height and face, colour, text.
struct DrawnText {
  int x = 0, y = 0, w = 0, h = 0, fontHeight = 0;
  unsigned long color = 0;
  std::string face, text;
};
// The view repainted once, with its client size; the texts in drawing order: the
// bonus, total and time lines, then the word when there is one.
struct DrawnFrame {
  int W = -1, H = -1;
  std::vector<DrawnText> texts;
  std::string Line(size_t i) const { return i < texts.size() ? texts[i].text : "<none>"; }
  const DrawnText& Word() const {
    static const DrawnText none;
    return texts.size() > 3 ? texts[3] : none;
  }
  // The number at the end of a header line.
  int Value(size_t i) const { return i < texts.size() ? std::atoi(texts[i].text.c_str() + 9) : -1; }
};

inline DrawnFrame Draw(HWND frame) {
  DrawnFrame f;
  std::istringstream in(AskGame(frame, kGameFrame));
  std::string line;
  if (!std::getline(in, line) || std::sscanf(line.c_str(), "%d\t%d", &f.W, &f.H) != 2) return f;
  while (std::getline(in, line)) {
    DrawnText t;
    std::istringstream fields(line);
    std::string v[8];
    for (int i = 0; i < 7; ++i) std::getline(fields, v[i], '\t');
    std::getline(fields, v[7]);  // the text may hold anything but a line break
    t.x = std::atoi(v[0].c_str());
    t.y = std::atoi(v[1].c_str());
    t.w = std::atoi(v[2].c_str());
    t.h = std::atoi(v[3].c_str());
    t.fontHeight = std::atoi(v[4].c_str());
    t.color = std::strtoul(v[5].c_str(), nullptr, 10);
    t.face = v[6];
    t.text = v[7];
    f.texts.push_back(t);
  }
  return f;
}

// The items of the pop-up menu that is open: "text" or "text (grayed)" each.
inline std::vector<std::string> OpenPopup(HWND frame) {
  std::vector<std::string> items;
  std::string answer;
  uitest::WaitFor([&] { return (answer = AskGame(frame, kGamePopup)) != "no popup"; }, 10000);
  std::istringstream in(answer);
  std::string line;
  while (std::getline(in, line)) {
    unsigned id = 0, grayed = 0;
    char text[200] = "";
    if (std::sscanf(line.c_str(), "%u\t%u\t%199[^\n]", &id, &grayed, text) == 3)
      items.push_back(std::string(text) + (grayed ? " (grayed)" : ""));
  }
  return items;
}

// The view's class and styles as "name value" lines, by name.
inline std::map<std::string, std::string> ViewFacts(HWND frame) {
  std::map<std::string, std::string> facts;
  std::istringstream in(AskGame(frame, kGameView));
  std::string line;
  while (std::getline(in, line)) {
    size_t sp = line.rfind(' ');
    if (sp != std::string::npos) facts[line.substr(0, sp)] = line.substr(sp + 1);
  }
  return facts;
}

// Moves the program's clock on by a game's 180 seconds: a running game ends at its
// next tick. The program's own time, not the machine's, so nothing else is touched.
inline bool MoveClockOn(HWND frame) { return AskGame(frame, kGameClockAhead).compare(0, 6, "ahead ") == 0; }

// The rows of the records window's list of word lists, read inside the program:
// "*" before a selected row, " " before the others, then the columns, tab-separated.
inline std::vector<std::string> RecordRows(HWND records) {
  std::vector<std::string> rows;
  std::istringstream in(AskGame(records, kGameListView));
  std::string line;
  while (std::getline(in, line)) rows.push_back(line);
  return rows;
}

// ゲーム's 停止 and 再開 as the menu bar shows them: "停止 on, 再開 off" and so on.
inline std::string StopResumeStates(HWND frame) {
  Menu game = PopupItems(ReadMenu(frame), 2);
  if (game.size() < 3) return "<no game menu>";
  auto on = [](const MenuItem& i) { return (i.state & MF_GRAYED) ? " off" : " on"; };
  return "停止" + std::string(on(game[1])) + ", 再開" + on(game[2]);
}

// The words in the word list editor's list box, read inside the program.
inline std::vector<std::string> ListItems(HWND editor) {
  std::vector<std::string> items;
  std::istringstream in(AskGame(editor, kGameListBox));
  std::string line;
  std::getline(in, line);
  int n = std::atoi(line.c_str());
  while (n-- > 0 && std::getline(in, line)) items.push_back(line);
  return items;
}

// The typing box's rectangle in the view's client coordinates.
inline RECT EditPlace(HWND frame) {
  RECT r = {};
  ::GetWindowRect(WordEdit(frame), &r);
  ::MapWindowPoints(nullptr, ViewOf(frame), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace krtest
