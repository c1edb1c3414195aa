// The whole journey through the shipped programs, as a newcomer meets it: the sample
// distribution authored in the wizard and its advanced options and packed into one file,
// that file installed over the backdrop from a folder of downloads, the read-me and the
// game started by the install, and everything removed again through the registered
// uninstall command. `make demo` runs this same journey and takes a picture of every
// step.
//
// HB_JOURNEY_DIST  the distribution folder (default: the one the build lays out for it)
// HB_JOURNEY_SHOTS a folder a screenshot script watches (uitest::RequestShot)
// HB_JOURNEY_ONLY  "author": stop once Setup.ini is written and the package made
#include <cstdio>
#include <cstring>
#include <map>

#include "UninstallHelpers.h"
#include "typing_game.h"

#include <tlhelp32.h>  // after windows.h

using namespace uitest;
using namespace hbtest;
using untest::ShellFolder;

namespace {

const char kTitle[] = "打鍵丸", kVersion[] = "Ver 1.20", kCompany[] = "打鍵工房";
const char kShortcut[] = "打鍵丸で遊ぶ", kGroup[] = "打鍵丸", kReadMeLink[] = "お読みください";
const char* const kDescription[] = {"<<打鍵丸 ｲﾝｽﾄｰﾙ>>", "180 秒間のタイピング練習ゲームです。",
                                    "英単語とローマ字の単語リストが付いています。"};
const char kExe[] = "KeyRally.exe";
const char kExeTitle[] = "KeyRally";
const char kPackage[] = "KeyRally-setup.exe";  // beside the distribution folder
// what the distribution holds besides Setup.exe and Setup.ini, as the tree lists it
const char* const kShipped[] = {"KeyRally.exe", "ReadMe.txt", "words\\english.wds", "words\\romaji.wds",
                                "Openin.wav", "bark.wav"};

std::string Env(const char* name) {
  char buf[MAX_PATH] = "";
  DWORD n = ::GetEnvironmentVariableA(name, buf, sizeof buf);
  return n > 0 && n < sizeof buf ? std::string(buf) : std::string();
}

std::string WithSlash(std::string dir) {
  if (!dir.empty() && dir.back() != '\\') dir += '\\';
  return dir;
}

std::string FullPath(const std::string& path) {
  char buf[MAX_PATH] = "";
  DWORD n = ::GetFullPathNameA(path.c_str(), MAX_PATH, buf, nullptr);
  return n > 0 && n < MAX_PATH ? std::string(buf) : path;
}

void Say(const std::string& line) {
  std::printf("journey: %s\n", line.c_str());
  std::fflush(stdout);
}

// A picture of the screen for the demo; nothing when no script watches.
void Shot(const char* name, const char* caption) {
  static const std::string dir = Env("HB_JOURNEY_SHOTS");
  if (dir.empty()) return;
  ::Sleep(500);  // let the last change paint
  EXPECT_TRUE(RequestShot(dir, name, caption)) << "no picture of " << name;
}

// Files below `dir`, relative, folders with their final backslash.
void ListTree(const std::string& dir, const std::string& rel, std::vector<std::string>& out) {
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((dir + rel + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      out.push_back(rel + name + "\\");
      ListTree(dir, rel + name + "\\", out);
    } else {
      out.push_back(rel + name);
    }
  } while (::FindNextFileA(h, &fd));
  ::FindClose(h);
}

// A visible top-level window of any process whose class begins with `cls` and whose
// caption holds `part`.
struct TopSearch {
  std::string cls, part;
  HWND found;
};
BOOL CALLBACK MatchTop(HWND h, LPARAM l) {
  auto* s = reinterpret_cast<TopSearch*>(l);
  if (::IsWindowVisible(h) && ClassOf(h).compare(0, s->cls.size(), s->cls) == 0 &&
      GetText(h).find(s->part) != std::string::npos) {
    s->found = h;
    return FALSE;
  }
  return TRUE;
}
HWND FindTop(const std::string& cls, const std::string& part) {
  TopSearch s = {cls, part, nullptr};
  ::EnumWindows(MatchTop, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

// Ends the programs the install and the uninstall command started (the game, the
// read-me's editor, the installer's copy) when a failure left them running, before the
// prefix is put back; a program left running would also hold the test's output open.
class EndLeftovers {
 public:
  EndLeftovers() { m_before = Pids(); }
  ~EndLeftovers() {
    for (DWORD pid : Pids())
      if (std::find(m_before.begin(), m_before.end(), pid) == m_before.end())
        if (HANDLE h = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
          ::TerminateProcess(h, 255);
          ::WaitForSingleObject(h, 5000);
          ::CloseHandle(h);
        }
  }

 private:
  static std::vector<DWORD> Pids() {
    std::vector<DWORD> pids;
    HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 pe = {};
    pe.dwSize = sizeof pe;
    for (BOOL ok = ::Process32First(snap, &pe); ok; ok = ::Process32Next(snap, &pe))
      if (::lstrcmpiA(pe.szExeFile, kExe) == 0 || ::lstrcmpiA(pe.szExeFile, "notepad.exe") == 0 ||
          ::lstrcmpiA(pe.szExeFile, "Hanbell.exe") == 0)
        pids.push_back(pe.th32ProcessID);
    ::CloseHandle(snap);
    return pids;
  }
  std::vector<DWORD> m_before;
};

// The author's session: the executable chosen, title, version, company, description
// and pause typed, the advanced options set (names, the read-me as a group file under a
// name of its own, the game started after the install, the read-me opened), saved, and
// the folder packed into one file as the wizard offers.
void Author(const std::string& dist) {
  Process p;
  ASSERT_TRUE(p.Start(dist + "Setup.exe", "-s", dist));
  HWND w = WaitWizard(p, 60000);
  ASSERT_TRUE(w) << "no wizard";
  SelectExe(w, p.Pid(), kExe);
  ASSERT_TRUE(SetText(w, IDC_TITLE, kTitle));
  ASSERT_TRUE(SetText(w, IDC_VERSION, kVersion));
  ASSERT_TRUE(SetText(w, IDC_COMPANY, kCompany));
  std::string description;
  for (const char* line : kDescription) description += std::string(line) + "\r\n";  // the last line ends too
  ASSERT_TRUE(SetText(w, IDC_COMMENTARY, description));
  ASSERT_TRUE(SetText(w, IDC_DELAY, "150"));  // a pause per step that lets the bar be seen
  EXPECT_EQ(GetText(w, IDC_FILECOUNT), "6") << "the files shipped beside Setup.exe";
  FocusControl(w, IDC_FILETREE);
  Shot("01-authoring", "1. The author runs Setup.exe -s: the game's executable, title, company, description");

  HWND a = OpenAdvanced(p, w);
  ASSERT_TRUE(a) << "no advanced options";
  TypeInto(a, IDC_ALT_SHORTCUT, kShortcut, IDC_ALT_GROUP);
  TypeInto(a, IDC_ALT_GROUP, kGroup, IDC_ALT_GROUPTREE);
  HWND group = ::GetDlgItem(a, IDC_ALT_GROUPTREE);
  Tick(group, p.Pid(), {"ReadMe.txt"});
  ::SendMessageA(group, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(FindTreeItem(group, p.Pid(), {"ReadMe.txt"})));
  ASSERT_TRUE(Click(a, IDC_ALT_REFRESHNAMES));
  HWND list = ::GetDlgItem(a, IDC_ALT_NAMELIST);
  ASSERT_TRUE(WaitFor([&] { return ListTexts(list) == std::vector<std::string>{"ReadMe"}; }, 5000));
  ASSERT_TRUE(DoubleClickListEntry(list, 0));
  ASSERT_TRUE(WaitFor([&] { return FocusOf(a) == ::GetDlgItem(a, IDC_ALT_NAMEEDIT); }, 5000)) << "no name editor";
  ASSERT_TRUE(SetText(a, IDC_ALT_NAMEEDIT, kReadMeLink));
  FocusControl(a, IDC_ALT_EXECUTE);
  ASSERT_TRUE(WaitFor([&] { return ListTexts(list) == std::vector<std::string>{kReadMeLink}; }, 5000));
  ASSERT_TRUE(Click(a, IDC_ALT_EXECUTE));
  ASSERT_TRUE(WaitFor([&] { return GetCheck(a, IDC_ALT_EXECUTE) == BST_CHECKED; }, 5000));
  HWND f = OpenFileDialog(p, a);
  ASSERT_TRUE(f) << "no open-after file dialog";
  ChooseInFileDialog(f, p.Pid(), {"ReadMe.txt"});
  ExpectReadMe(a, dist + "ReadMe.txt");
  Shot("02-advanced", "2. Advanced options: shortcut and group names, the read-me in the group, start after install");
  Confirm(a, w);

  ASSERT_TRUE(Click(w, IDOK));
  MessageBoxInfo box = WaitMessageBox(p.Pid(), 60000);
  ASSERT_TRUE(box.hwnd) << "no box after 登録";
  EXPECT_EQ(box.caption, kSavedCaption);
  Shot("03-authored", "3. The author's 登録 writes Setup.ini beside the files");
  ASSERT_TRUE(Answer(box, IDOK));
  ASSERT_TRUE(WaitGone(box.hwnd));
  box = WaitMessageBox(p.Pid(), 60000);
  ASSERT_TRUE(box.hwnd) << "no offer to pack";
  EXPECT_EQ(box.caption, kOfferCaption);
  const std::string package = FullPath(dist + "..\\" + kPackage);
  EXPECT_EQ(box.text.find(kOfferText + package + " 》"), 0u) << box.text;
  Shot("04-offer", "4. The wizard offers to pack the folder into one file for downloading");
  ASSERT_TRUE(Answer(box, IDYES));
  ASSERT_TRUE(WaitGone(box.hwnd));
  box = WaitMessageBox(p.Pid(), 60000);
  ASSERT_TRUE(box.hwnd) << "no box after packing";
  EXPECT_EQ(box.caption, "ｲﾝｽﾄｰﾗ作成の終了");
  EXPECT_EQ(box.text.find("☆配布ﾌｫﾙﾀﾞを1つのｲﾝｽﾄｰﾗにまとめました。\n\n《 " + package + " 》"), 0u) << box.text;
  EXPECT_EQ(ProgressPos(w), 1000) << "the bar went to its end";
  Shot("05-packed", "5. KeyRally-setup.exe beside the folder: the one file the author ships");
  ASSERT_TRUE(Answer(box, IDOK));
  EXPECT_TRUE(p.WaitExit());
  EXPECT_TRUE(Exists(package));

  const std::string ini = dist + "Setup.ini";
  const std::map<std::string, std::string> expected = {
      {"Setup/Mode", "1"},          {"Setup/Title", kTitle},
      {"Setup/Version", kVersion},  {"Setup/Name", kCompany},
      {"Setup/STime", "150"},       {"Commentary/Count", "3"},
      {"Commentary/_t2", kDescription[2]},
      {"TreeCtrl/Select", dist + kExe},
      {"TreeCtrl/Count", "8"},  // the root, words\ and the six files
      {"TreeCtrl/Files", "6"},      {"Option/Program", "1"},
      {"Option/Desktop", "1"},      {"Option/StartUp", "0"},
      {"Option/BlueBack", "1"},     {"Altitude/PrgShortCut", kShortcut},
      {"Altitude/PrgGroup", kGroup}, {"Altitude/Execute", "1"},
      {"Altitude/ReadMe", dist + "ReadMe.txt"},
      {"AltitudeGroup/Files", "2"}, {"AltitudeGroup/_g1", dist + "ReadMe.txt"},
      {"AltitudeGrpSC/_c1", kReadMeLink}};
  for (const auto& e : expected) {
    std::string section = e.first.substr(0, e.first.find('/')), key = e.first.substr(e.first.find('/') + 1);
    EXPECT_EQ(IniValue(ini, section.c_str(), key.c_str()), e.second) << e.first;
  }
  Say("authored " + ini + ": " + kTitle + " " + kVersion + " by " + kCompany + ", " +
      IniValue(ini, "TreeCtrl", "Files") + " files");
  Say("packed " + package + " (" + std::to_string(Bytes(package).size()) + " bytes)");
}

// What the install left, for the summary and for the check after the removal.
struct Installed {
  std::string folder;
  std::vector<std::string> files;  // below the folder
  std::vector<std::string> links;  // full paths of the shortcut files
  std::string key;                 // the uninstall entry
};

// The user's install from the package alone, downloaded into a folder of its own.
void Install(const std::string& dist, const std::string& package, Installed& out) {
  const std::string win = WindowsDir(), programs = ShellFolder("Programs"), desktop = ShellFolder("Desktop");
  const std::string target =
      WithSlash(RegValue(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir")) +
      kCompany + "\\" + kExeTitle + "\\";
  Process p;
  ASSERT_TRUE(p.Start(package, "", package.substr(0, package.rfind('\\') + 1)));
  HWND w = WaitWizard(p, 60000);
  ASSERT_TRUE(w) << "no wizard";
  EXPECT_TRUE(FindWindowOf(p.Pid(), kBackdropCaption, true)) << "no backdrop behind the wizard";
  EXPECT_EQ(GetText(w, IDC_BANNER), std::string(kTitle) + " " + kVersion);
  EXPECT_EQ(GetText(w, IDC_COMPANY_LABEL), kCompany);
  EXPECT_EQ(GetText(w, IDC_INSTALLDIR), target) << "Program Files, the company, the executable's title";
  EXPECT_EQ(GetText(w, IDC_COMMENTARY),
            std::string(kDescription[0]) + "\r\n" + kDescription[1] + "\r\n" + kDescription[2] + "\r\n");
  EXPECT_EQ(GetCheck(w, IDC_STARTUP), BST_UNCHECKED);
  EXPECT_EQ(GetCheck(w, IDC_PROGRAM), BST_CHECKED);
  EXPECT_EQ(GetCheck(w, IDC_DESKTOP), BST_CHECKED);
  Shot("06-install", "6. The user runs the downloaded KeyRally-setup.exe: the install form over the backdrop");

  ASSERT_TRUE(Click(w, IDOK));
  EXPECT_TRUE(WaitFor([&] { return ProgressPos(w) >= 4; }, 30000)) << "the bar did not move";
  Shot("07-installing", "7. 登録: the files are copied, the bar moves");
  MessageBoxInfo box = WaitMessageBox(p.Pid(), 60000);
  ASSERT_TRUE(box.hwnd) << "no box at the end of the install";
  EXPECT_EQ(box.caption, "ｲﾝｽﾄｰﾙ作業の終了");
  EXPECT_EQ(box.text, "★ｲﾝｽﾄｰﾙは正常に終了しました。");
  EXPECT_EQ(ProgressPos(w), 8 + 8) << "every step done";
  Shot("08-installed", "8. The install reports success");
  ASSERT_TRUE(Answer(box, IDOK));
  EXPECT_TRUE(p.WaitExit()) << "the installer did not end";

  out.folder = target;
  ListTree(target, "", out.files);
  std::vector<std::string> expected = {"words\\", "Setup.ini"};
  for (const char* f : kShipped) expected.push_back(f);
  for (const std::string& f : expected) {
    EXPECT_NE(std::find(out.files.begin(), out.files.end(), f), out.files.end()) << f << " not installed";
    if (f.back() != '\\' && f != "Setup.ini") {
      EXPECT_EQ(Bytes(target + f), Bytes(dist + f)) << f;
    }
  }
  EXPECT_EQ(out.files.size(), expected.size()) << "nothing else in the install folder";
  EXPECT_EQ(IniValue(target + "Setup.ini", "Setup", "Mode"), "2");
  EXPECT_EQ(Bytes(win + "Hanbell.exe"), Bytes(dist + "Setup.exe")) << "the plain installer, not the package";
  EXPECT_EQ(IniValue(win + "Hanbell.ini", "SetupDirectory", kExe), target + kExe);
  out.links = {desktop + kShortcut + ".lnk", programs + kGroup + "\\" + kShortcut + ".lnk",
               programs + kGroup + "\\" + kReadMeLink + ".lnk"};
  const std::string targets[] = {target + kExe, target + kExe, target + "ReadMe.txt"};
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(::lstrcmpiA(ShortcutTarget(out.links[i]).c_str(), targets[i].c_str()), 0)
        << out.links[i] << " -> " << ShortcutTarget(out.links[i]);
  out.key = kUninstallBase + std::string(kExeTitle);
  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, out.key, "DisplayName"), kTitle);
  EXPECT_EQ(RegValue(HKEY_LOCAL_MACHINE, out.key, "UninstallString"), win + "Hanbell.exe -d -t" + target);

  Say("installed from " + package + " into " + target + ":");
  for (const std::string& f : out.files) Say("  " + f);
  for (const std::string& l : out.links) Say("  shortcut " + l);
  Say("  uninstall entry HKLM\\" + out.key + " (" + RegValue(HKEY_LOCAL_MACHINE, out.key, "UninstallString") + ")");
  Say("  " + win + "Hanbell.exe, and the install folder recorded in " + win + "Hanbell.ini");
}

// The program file of the process that owns `wnd`.
std::string ExePath(HWND wnd) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(wnd, &pid);
  HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
  MODULEENTRY32 me = {};
  me.dwSize = sizeof me;
  std::string path = snap != INVALID_HANDLE_VALUE && ::Module32First(snap, &me) ? me.szExePath : "<unknown>";
  if (snap != INVALID_HANDLE_VALUE) ::CloseHandle(snap);
  return path;
}

// After the install the shell has started the installed game and opened the read-me in
// the editor it has for text files; the editor is closed again.
HWND Started(const Installed& in) {
  HWND frame = nullptr, notepad = nullptr;
  EXPECT_TRUE(WaitFor([&] { return (frame = FindTop("Afx:", "")) != nullptr && ::GetMenu(frame) != nullptr; }, 30000))
      << "the game was not started";
  EXPECT_TRUE(WaitFor([&] { return (notepad = FindTop("Notepad", "ReadMe")) != nullptr; }, 30000))
      << "the read-me was not opened";
  if (notepad) {
    EXPECT_NE(GetText(::FindWindowExA(notepad, nullptr, "Edit", nullptr)).find("打鍵丸"), std::string::npos)
        << "the read-me shows in Japanese";
    // moved aside as a person would, so that the game shows beside it
    ::SetWindowPos(notepad, HWND_TOP, 470, 230, 550, 480, SWP_SHOWWINDOW);
    ::SetForegroundWindow(notepad);
  }
  Shot("09-started", "9. The install starts the game and opens the read-me");
  if (notepad) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(notepad, &pid);
    HANDLE h = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
    ::PostMessageA(notepad, WM_CLOSE, 0, 0);
    EXPECT_TRUE(h && ::WaitForSingleObject(h, 15000) == WAIT_OBJECT_0) << "the editor did not close";
    if (h) ::CloseHandle(h);
  }
  if (frame) {
    EXPECT_EQ(::lstrcmpiA(ExePath(frame).c_str(), (in.folder + kExe).c_str()), 0) << ExePath(frame);
  }
  return frame;
}

// The words of a ".wds" file: a count, then each word with its length before it.
std::vector<std::string> WdsWords(const std::string& bytes) {
  std::vector<std::string> words;
  auto le = [&](std::size_t at, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    return v;
  };
  if (bytes.size() < 4) return words;
  std::size_t at = 4;
  for (uint32_t n = le(0, 4); n > 0 && at < bytes.size(); --n) {
    uint32_t len = static_cast<unsigned char>(bytes[at++]);
    if (len == 0xFF) {
      len = le(at, 2);
      at += 2;
    }
    words.push_back(bytes.substr(at, len));
    at += len;
  }
  return words;
}

// Types a word into the game's box key by key and presses Enter; false when the game
// did not take it (the box is emptied for a taken word).
// With `shot`, a picture is taken when half the word is typed.
bool TypeWord(HWND frame, const std::string& word, const char* shot = nullptr, const char* caption = nullptr) {
  HWND edit = krtest::WordEdit(frame);
  for (std::size_t i = 0; i < word.size(); ++i) {
    ::PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(word[i]), 0);
    if (shot && i + 1 == word.size() / 2 && WaitFor([&] { return GetText(edit) == word.substr(0, i + 1); }, 5000))
      Shot(shot, caption);
  }
  if (!WaitFor([&] { return GetText(edit) == word; }, 5000)) return false;
  krtest::PressKeys(frame, {VK_RETURN});
  return WaitFor([&] { return GetText(edit).empty(); }, 5000);
}

// The game the install started: the English word list opened from the install folder,
// a game started, a wrong word barked at, a few words typed right, each adding to the
// total; then the game closed.
void Play(HWND frame, const Installed& in) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(frame, &pid);
  const std::string list = in.folder + "words\\english.wds";
  const std::vector<std::string> words = WdsWords(Bytes(list));
  EXPECT_GE(words.size(), 200u) << "the English word list";
  for (int attempt = 0; attempt < 3; ++attempt) {  // a key can be lost while the activation settles
    krtest::PressKeys(frame, {VK_CONTROL, 'O'});
    if (WaitWindow(pid, krtest::kOpenCaption, "#32770", 5000)) break;
  }
  ASSERT_TRUE(krtest::ChooseFile(pid, krtest::kOpenCaption, list)) << "the open dialog";
  EXPECT_TRUE(krtest::WaitTitle(frame, "english.wds - KeyRally")) << GetText(frame);
  ASSERT_EQ(krtest::Sounds(frame), "");

  krtest::PressKeys(frame, {VK_CONTROL, 'A'});
  krtest::DrawnFrame drawn;
  ASSERT_TRUE(WaitFor([&] { return !(drawn = krtest::Draw(frame)).Word().text.empty(); }, 10000)) << "no word shown";
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(krtest::WordEdit(frame)) != FALSE; }, 5000));
  EXPECT_NE(krtest::Sounds(frame).find("Openin.wav"), std::string::npos) << "the music loop";

  EXPECT_FALSE(TypeWord(frame, "zzz")) << "a wrong word stays in the box";
  EXPECT_TRUE(WaitFor([&] { return krtest::Sounds(frame).find("bark.wav") != std::string::npos; }, 5000))
      << "a wrong word barks";
  ::SetWindowTextA(krtest::WordEdit(frame), "");
  int total = krtest::Draw(frame).Value(1), typed = 0;
  EXPECT_EQ(total, 0);
  for (int i = 0; i < 3; ++i) {
    const std::string word = krtest::Draw(frame).Word().text;
    EXPECT_NE(std::find(words.begin(), words.end(), word), words.end()) << word << " is not from the list";
    if (!TypeWord(frame, word, i == 2 ? "10-playing" : nullptr,
                  "10. The game: the English word list loaded, words typed, points won")) {
      ADD_FAILURE() << word << " was not taken";
      break;
    }
    int now = krtest::Draw(frame).Value(1);
    EXPECT_GT(now, total) << word << " added nothing";
    total = now;
    ++typed;
  }
  Say("played: " + std::to_string(typed) + " words typed from " + list + " (" + std::to_string(words.size()) +
      " words), total " + std::to_string(total) + " points");

  ::PostMessageA(frame, WM_CLOSE, 0, 0);
  HANDLE h = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
  EXPECT_TRUE(h && ::WaitForSingleObject(h, 15000) == WAIT_OBJECT_0) << "the game did not close";
  if (h) ::CloseHandle(h);
  EXPECT_EQ(krtest::RegString(krtest::kRecentKey, "File1"), list) << "the game remembers the list it opened";
}

// The removal through the command the install registered, as the system's list of
// programs starts it; then nothing of the install is left but what stays by design.
void Uninstall(const Installed& in) {
  const std::string win = WindowsDir();
  Process p;
  HWND dlg = untest::StartRegisteredCommand(p, in.key);
  ASSERT_TRUE(dlg) << "no uninstall dialog";
  EXPECT_EQ(GetText(dlg, IDC_UNINSTALL_TITLE), std::string(kExeTitle) + "/ｼｽﾃﾑのｱﾝｲﾝｽﾄｰﾙを実行します！");
  EXPECT_EQ(GetText(dlg, IDC_UNINSTALL_COMPANY), kCompany);
  RECT rc, work;
  ::GetWindowRect(dlg, &rc);
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_LE(std::abs((rc.left + rc.right) - (work.left + work.right)), 1) << "centred across";
  EXPECT_LE(std::abs((rc.top + rc.bottom) - (work.top + work.bottom)), 1) << "centred down";
  Shot("11-uninstall", "11. The registered uninstall command opens the uninstaller");
  ASSERT_TRUE(Click(dlg, IDOK));
  MessageBoxInfo box = WaitMessageBox(p.Pid(), 60000);
  ASSERT_TRUE(box.hwnd) << "no box after 実行";
  EXPECT_EQ(box.caption, "ｱﾝｲﾝｽﾄｰﾙの終了");
  EXPECT_EQ(box.text, "☆ｱﾝｲﾝｽﾄｰﾙが完了しました。");
  EXPECT_EQ(box.icon, Icon::Information);
  EXPECT_EQ(untest::IndicatorStates(dlg), "cc-ccc") << "every step but the start-up shortcut, which was not made";
  ::GetWindowRect(dlg, &rc);
  ::SetWindowPos(box.hwnd, nullptr, rc.left + 60, rc.bottom + 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // the steps in view
  Shot("12-uninstalled", "12. 実行: every step done, the game removed");
  untest::CloseAndExpectEnd(p, box);

  Say("removed:");
  for (const std::string& f : in.files) {
    EXPECT_FALSE(Exists(in.folder + f)) << f;
    if (!Exists(in.folder + f)) Say("  " + in.folder + f);
  }
  EXPECT_FALSE(Exists(in.folder)) << "the install folder";
  for (const std::string& l : in.links) {
    EXPECT_FALSE(Exists(l)) << l;
    if (!Exists(l)) Say("  shortcut " + l);
  }
  const std::string group = ShellFolder("Programs") + kGroup;
  EXPECT_FALSE(Exists(group)) << "the program group";
  EXPECT_FALSE(untest::KeyExists(in.key)) << "the uninstall entry";
  if (!Exists(in.folder)) Say("  the install folder " + in.folder);
  if (!Exists(group)) Say("  the program group " + group);
  if (!untest::KeyExists(in.key)) Say("  the uninstall entry HKLM\\" + in.key);
  // the installer's copy and its record stay for the next install, and so do the
  // game's own settings and the company folder the install made above the folder
  EXPECT_TRUE(Exists(win + "Hanbell.exe"));
  EXPECT_EQ(IniValue(win + "Hanbell.ini", "SetupDirectory", kExe), in.folder + kExe);
  const std::string company = in.folder.substr(0, in.folder.size() - std::strlen(kExeTitle) - 1);
  Say("left, as the uninstaller leaves them: " + win + "Hanbell.exe, the record in " + win + "Hanbell.ini, " +
      "the game's recent-file list in HKCU\\" + krtest::kRecentKey + (Exists(company) ? ", the folder " + company : ""));
}

}  // namespace

TEST(Journey, AuthoredInstalledPlayedUninstalled) {
  PrefixRestore restore;
  EndLeftovers leftovers;
  krtest::SettingsGuard settings;
  const std::string dist = WithSlash(FullPath(Env("HB_JOURNEY_DIST").empty() ? ModuleDir() + "..\\journey\\dist"
                                                                              : Env("HB_JOURNEY_DIST")));
  for (const char* f : kShipped) ASSERT_TRUE(Exists(dist + f)) << dist << f << " missing: lay out the distribution first";
  ::SetFileAttributesA((dist + "Setup.ini").c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileA((dist + "Setup.ini").c_str());  // the journey starts unauthored
  Say("distribution folder " + dist);
  ASSERT_NO_FATAL_FAILURE(Author(dist));
  if (Env("HB_JOURNEY_ONLY") == "author") return;

  // what the install and the programs it starts leave, put back at the end
  const std::string programFiles =
      WithSlash(RegValue(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir"));
  restore.Remove(programFiles + kCompany);
  restore.Remove(ShellFolder("Programs") + kGroup);
  restore.Remove(ShellFolder("Desktop") + kShortcut + ".lnk");
  restore.Key(HKEY_LOCAL_MACHINE, kUninstallBase + std::string(kExeTitle));
  restore.Values(HKEY_CURRENT_USER, "Software\\Microsoft\\Notepad");
  // the package downloaded into a folder of its own; the install needs nothing else
  const std::string downloads = TempDir("hb_journey_downloads");
  restore.Remove(downloads);
  ASSERT_TRUE(::CopyFileA(FullPath(dist + "..\\" + kPackage).c_str(), (downloads + kPackage).c_str(), FALSE));
  Installed installed;
  ASSERT_NO_FATAL_FAILURE(Install(dist, downloads + kPackage, installed));
  HWND game = Started(installed);
  ASSERT_TRUE(game);
  ASSERT_NO_FATAL_FAILURE(Play(game, installed));
  Uninstall(installed);
}
