// Shared by the wizard's GUI tests: a distribution folder of the test's own with the
// program as Setup.exe, the wizard started in it, and Setup.ini read back in order.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "resource.h"
#include "uitest.h"

namespace hbtest {

constexpr const char* kWizardCaption = "Hanbell Ver4.00/System Install Wizard.";
constexpr const char* kLoadingCaption = "Hanbell/InstallWizard...Data Loading Message.";
constexpr const char* kBackdropCaption = "Hanbell/TOVANE Soft(TVS)'s System Installer&Uninstaller...";
constexpr const char* kAdvancedCaption = "Hanbell/高度な設定（Option）";
constexpr const char* kAfterInstallCaption = "ｲﾝｽﾄｰﾙ後に開くﾌｧｲﾙの指定";
constexpr const char* kSavedCaption = "ｲﾝｽﾄｰﾙ情報設定の終了/その他情報";
constexpr const char* kSavedText =
    "☆ｲﾝｽﾄｰﾙ情報を再設定するには、-s ｵﾌﾟｼｮﾝを指定して起動して下さい。\n\n"
    "(他の圧縮ｿﾌﾄを使って、ﾌｫﾙﾀﾞごと自己解凍形式で圧縮してね！)";
// After the save, the offer to pack the folder into one file for downloading.
constexpr const char* kOfferCaption = "ｲﾝｽﾄｰﾙ情報設定の終了/ｲﾝｽﾄｰﾗ作成";
constexpr const char* kOfferText = "☆配布ﾌｫﾙﾀﾞを1つのｲﾝｽﾄｰﾗにまとめますか？\n\n《 ";

inline std::string ProgramPath() { return uitest::ModuleDir() + "Hanbell.exe"; }

// A fresh folder under %TEMP% holding the program as Setup.exe; removed at the end.
class Dist {
 public:
  explicit Dist(const std::string& name) : m_dir(uitest::TempDir(name)) {
    EXPECT_TRUE(::CopyFileA(ProgramPath().c_str(), (m_dir + "Setup.exe").c_str(), FALSE));
  }
  ~Dist() { uitest::RemoveTree(m_dir); }
  Dist(const Dist&) = delete;
  Dist& operator=(const Dist&) = delete;

  const std::string& Dir() const { return m_dir; }
  std::string Exe() const { return m_dir + "Setup.exe"; }
  std::string IniPath() const { return m_dir + "Setup.ini"; }
  std::string Ini() const {
    std::string text;
    uitest::ReadFile(IniPath(), text);
    return text;
  }
  void SetIni(const std::string& text) const {
    ::SetFileAttributesA(IniPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(uitest::WriteFile(IniPath(), text));
  }
  // A file (with its folders) below the distribution folder.
  void File(const std::string& rel, const std::string& bytes = "x", DWORD attributes = 0) const {
    std::string path = m_dir + rel;
    std::size_t slash = path.rfind('\\');
    uitest::MakeDirs(path.substr(0, slash));
    ASSERT_TRUE(uitest::WriteFile(path, bytes)) << rel;
    if (attributes) ::SetFileAttributesA(path.c_str(), attributes);
  }
  void Folder(const std::string& rel) const { uitest::MakeDirs(m_dir + rel); }

 private:
  std::string m_dir;
};

// The wizard of a started program, once it is shown (it shows after its initialisation).
inline HWND WaitWizard(const uitest::Process& p, DWORD timeoutMs = uitest::kDefaultTimeoutMs) {
  return uitest::WaitWindow(p.Pid(), kWizardCaption, "#32770", timeoutMs);
}

inline bool HasWindow(DWORD pid, const std::string& caption) {
  for (HWND h : uitest::TopWindows(pid, true))
    if (uitest::GetText(h) == caption) return true;
  return false;
}

inline HWND FindWindowOf(DWORD pid, const std::string& caption, bool visibleOnly) {
  for (HWND h : uitest::TopWindows(pid, visibleOnly))
    if (uitest::GetText(h) == caption) return h;
  return nullptr;
}

// Setup.ini as written: sections in file order, each with its keys in order.
struct IniKey {
  std::string key, value;
  bool operator==(const IniKey& o) const { return key == o.key && value == o.value; }
};
struct IniSection {
  std::string name;
  std::vector<IniKey> keys;
};

inline std::vector<IniSection> ParseIni(const std::string& text) {
  std::vector<IniSection> out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line.front() == '[' && line.back() == ']') {
      out.push_back({line.substr(1, line.size() - 2), {}});
      continue;
    }
    if (out.empty()) out.push_back({"", {}});
    std::size_t eq = line.find('=');
    out.back().keys.push_back(
        {line.substr(0, eq), eq == std::string::npos ? std::string("<no=>") : line.substr(eq + 1)});
  }
  return out;
}

inline std::string Describe(const std::vector<IniKey>& keys) {
  std::string s;
  for (const IniKey& k : keys) s += "  " + k.key + "=" + k.value + "\n";
  return s;
}

// Compares every section and key, in order, and says where they part.
inline void ExpectIni(const std::string& text, const std::vector<IniSection>& expected) {
  std::vector<IniSection> got = ParseIni(text);
  std::vector<std::string> gotNames, wantNames;
  for (const IniSection& s : got) gotNames.push_back(s.name);
  for (const IniSection& s : expected) wantNames.push_back(s.name);
  ASSERT_EQ(gotNames, wantNames) << text;
  for (std::size_t i = 0; i < got.size(); ++i)
    EXPECT_TRUE(got[i].keys == expected[i].keys) << "[" << got[i].name << "] is\n"
                                                 << Describe(got[i].keys) << "expected\n"
                                                 << Describe(expected[i].keys);
}

// Items of the wizard's tree as "depth:label" lines, for whole-tree comparisons.
inline std::vector<std::string> TreeLines(HWND tree, DWORD pid) {
  std::vector<std::string> lines;
  for (const uitest::TreeItem& it : uitest::TreeItems(tree, pid))
    lines.push_back(std::to_string(it.depth) + ":" + it.text);
  return lines;
}

// The item reached by following labels from the root's children down.
inline HTREEITEM FindTreeItem(HWND tree, DWORD pid, const std::vector<std::string>& labels) {
  std::vector<uitest::TreeItem> items = uitest::TreeItems(tree, pid);
  std::size_t next = 0;
  int depth = 1;
  HTREEITEM found = nullptr;
  for (const uitest::TreeItem& it : items) {
    if (next == labels.size()) break;
    if (it.depth < depth && found) break;
    if (it.depth == depth && it.text == labels[next]) {
      found = it.item;
      ++next;
      ++depth;
    }
  }
  return next == labels.size() ? found : nullptr;
}

inline std::string SelectedLabel(HWND tree, DWORD pid) {
  HTREEITEM sel = uitest::TreeSelected(tree);
  for (const uitest::TreeItem& it : uitest::TreeItems(tree, pid))
    if (it.item == sel) return it.text;
  return std::string();
}

// Moves the keyboard focus inside the wizard to a control, as Tab would.
inline void FocusControl(HWND wizard, int id) {
  ::SendMessageA(wizard, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(wizard, id)), TRUE);
}

// Asks hbfontprobe.dll, hooked into the program's thread, about a window of the
// program (`what`: a control id, or kProbeBeeps); "" when there was no answer.
constexpr LPARAM kProbeBeeps = -2;
inline std::string ProbeInside(HWND dlg, LPARAM what) {
  std::string text;
  bool got = uitest::AskProbe(dlg, "hbfontprobe.dll", "HbFontProbe", "HanbellTestFontProbe", "hbfont", what, text);
  return got ? text : std::string("no answer");
}

// The font of a control of the wizard as the program made it, read inside the program:
// "height width weight italic charset face" separated by tabs.
inline std::string ControlFont(HWND dlg, int id) { return ProbeInside(dlg, id); }

// The beeps the program sounded since the first call ("500/10 500/10"); the first call
// starts the recording and answers "".
inline std::string Beeps(HWND dlg) { return ProbeInside(dlg, kProbeBeeps); }

// Presses 登録 and expects the closing information box, then declines the offer to
// pack; the program then ends. With `beep`, also that the box comes with one short beep.
inline void SaveAndExpectEnd(uitest::Process& p, HWND wizard, bool beep = false) {
  if (beep) {
    ASSERT_EQ(Beeps(wizard), "");
  }
  ASSERT_TRUE(uitest::Click(wizard, IDOK));
  uitest::MessageBoxInfo box = uitest::WaitMessageBox(p.Pid());
  ASSERT_TRUE(box.hwnd) << "no box after 登録";
  if (beep) {
    EXPECT_EQ(Beeps(wizard), "500/10");
  }
  // the save locks the controls; the wizard closes after the box, so they stay locked
  for (int id : {IDOK, IDCANCEL, IDC_REFRESH, IDC_ALTITUDE, IDC_STARTUP, IDC_PROGRAM, IDC_DESKTOP})
    EXPECT_FALSE(uitest::IsEnabled(wizard, id)) << id << " enabled during the save";
  EXPECT_EQ(::GetWindow(box.hwnd, GW_OWNER), wizard) << "the box belongs to the wizard";
  EXPECT_EQ(box.caption, kSavedCaption);
  EXPECT_EQ(box.text, kSavedText);
  EXPECT_EQ(box.icon, uitest::Icon::Information);
  ASSERT_TRUE(uitest::Answer(box, IDOK));
  ASSERT_TRUE(uitest::WaitGone(box.hwnd));
  uitest::MessageBoxInfo offer = uitest::WaitMessageBox(p.Pid());
  ASSERT_TRUE(offer.hwnd) << "no offer to pack";
  EXPECT_EQ(offer.caption, kOfferCaption);
  EXPECT_EQ(offer.text.compare(0, std::string(kOfferText).size(), kOfferText), 0) << offer.text;
  EXPECT_EQ(offer.icon, uitest::Icon::Question);
  EXPECT_EQ(::GetWindow(offer.hwnd, GW_OWNER), wizard);
  ASSERT_TRUE(uitest::Answer(offer, IDNO));
  DWORD code = 1;
  EXPECT_TRUE(p.WaitExit(uitest::kDefaultTimeoutMs, &code)) << "program did not end after saving";
}

// Presses 高度な設定 and waits for the advanced options dialog; nullptr when it did
// not come.
inline HWND OpenAdvanced(const uitest::Process& p, HWND wizard) {
  if (!uitest::Click(wizard, IDC_ALTITUDE)) return nullptr;
  return uitest::WaitWindow(p.Pid(), kAdvancedCaption, "#32770", 60000);
}

// A dialog of the process that is none of `known` (the folder browser, say).
inline HWND WaitOtherDialog(DWORD pid, std::initializer_list<HWND> known) {
  HWND found = nullptr;
  uitest::WaitFor([&] {
    for (HWND h : uitest::TopWindows(pid, true))
      if (uitest::ClassOf(h) == "#32770" && std::find(known.begin(), known.end(), h) == known.end()) found = h;
    return found != nullptr;
  });
  return found;
}

// The first child of `parent` showing this text, or nullptr.
inline HWND ChildWithText(HWND parent, const std::string& text) {
  for (HWND c = ::GetWindow(parent, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
    if (uitest::GetText(c) == text) return c;
  return nullptr;
}

// The first child of `parent` with this window class.
inline HWND ChildOfClass(HWND parent, const std::string& cls) {
  for (HWND c = ::GetWindow(parent, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
    if (uitest::ClassOf(c) == cls) return c;
  return nullptr;
}

// Authoring steps as a user takes them, shared by the wizard's tests and the journey.

// Types into an edit as a user does: the edit gets the focus, then the focus moves on
// to `next`, which runs the edit's focus-lost handling.
inline void TypeInto(HWND dlg, int id, const std::string& text, int next) {
  FocusControl(dlg, id);
  ASSERT_TRUE(uitest::SetText(dlg, id, text)) << id;
  FocusControl(dlg, next);
}

inline void Tick(HWND tree, DWORD pid, const std::vector<std::string>& labels, bool on = true) {
  HTREEITEM item = FindTreeItem(tree, pid, labels);
  ASSERT_TRUE(item) << labels.back() << " not in the tree";
  ASSERT_TRUE(uitest::TreeSetCheck(tree, pid, item, on)) << labels.back();
}

inline void SelectExe(HWND wizard, DWORD pid, const std::string& name = "app.exe") {
  HWND tree = ::GetDlgItem(wizard, IDC_FILETREE);
  HTREEITEM exe = FindTreeItem(tree, pid, {name});
  ASSERT_TRUE(exe);
  ASSERT_TRUE(uitest::TreeSelect(tree, exe));
}

// Opens the open-after-install file dialog from 設定 (1053).
inline HWND OpenFileDialog(const uitest::Process& p, HWND a) {
  if (!uitest::Click(a, IDC_ALT_SETREADME)) return nullptr;
  return uitest::WaitWindow(p.Pid(), kAfterInstallCaption, "#32770", 60000);
}

// Selects an item of the file dialog's tree and presses 設定.
inline void ChooseInFileDialog(HWND f, DWORD pid, const std::vector<std::string>& labels) {
  HWND tree = ::GetDlgItem(f, IDC_AI_TREE);
  HTREEITEM item = FindTreeItem(tree, pid, labels);
  ASSERT_TRUE(item) << labels.back();
  ASSERT_TRUE(uitest::TreeSelect(tree, item));
  ASSERT_TRUE(uitest::Click(f, IDOK));
  ASSERT_TRUE(uitest::WaitGone(f));
}

inline void ExpectReadMe(HWND a, const std::string& text) {
  EXPECT_TRUE(uitest::WaitFor([&] { return uitest::GetText(a, IDC_ALT_READMETEXT) == text; }, 5000))
      << uitest::GetText(a, IDC_ALT_READMETEXT) << " instead of " << text;
}

// Closes the dialog with 登録 and waits for the wizard to be enabled again.
inline void Confirm(HWND a, HWND wizard) {
  ASSERT_TRUE(uitest::Click(a, IDOK));
  ASSERT_TRUE(uitest::WaitGone(a));
  ASSERT_TRUE(uitest::WaitFor([&] { return ::IsWindowEnabled(wizard) != FALSE; })) << "the wizard stays disabled";
}

}  // namespace hbtest
