// Shared by the tests of runs without a person: the sample distribution's Setup.ini as
// the journey's author saves it, a quiet start watched for windows from its first
// instruction to its end, its exit code and its log.
#pragma once
#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "UninstallHelpers.h"

#include <tlhelp32.h>  // after windows.h

namespace qtest {

using namespace uitest;
using namespace hbtest;

constexpr char kTitle[] = "打鍵丸", kExeTitle[] = "KeyRally", kShortcut[] = "打鍵丸で遊ぶ", kGroup[] = "打鍵丸";
constexpr char kReadMeLink[] = "お読みください";
constexpr const char* kShipped[] = {"KeyRally.exe", "ReadMe.txt", "words\\english.wds", "words\\romaji.wds",
                                "Openin.wav", "bark.wav"};
constexpr char kInstallLog[] = "Hanbell-install.log", kUninstallLog[] = "Hanbell-uninstall.log";
constexpr char kPackLog[] = "Hanbell-pack.log";
constexpr char kNoSetupInfo[] = "☆ｾｯﾄｱｯﾌﾟ情報が欠落しているため実行できません...";

inline std::string TempFolder() {
  char buf[MAX_PATH + 1] = "";
  DWORD n = ::GetTempPathA(sizeof buf, buf);
  return std::string(buf, n);
}

// A box's text as lines of the log: each ends with CR LF.
inline std::string Lines(const std::string& text) {
  std::string s;
  for (char c : text) s += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return text.back() == '\n' ? s : s + "\r\n";
}

inline bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

inline std::string AsciiLower(std::string s) {
  for (char& c : s) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
  return s;
}

// One quiet start: the exit code, and every top-level window of the process that was
// visible at any moment of its life ("class caption"), looked at from before its first
// instruction until its end. The log it was to write is removed first.
struct QuietResult {
  bool bEnded = false;
  DWORD dwCode = 0xFFFF;
  std::set<std::string> shown;
  std::string log;
};

// Watches a started process until it ends or Stop() is called.
class CShownWindows {
 public:
  CShownWindows(HANDLE process, DWORD pid) {
    m_thread = std::thread([this, process, pid] {
      do {
        for (HWND h : TopWindows(pid, true)) {
          char caption[256] = "";
          ::GetWindowTextA(h, caption, sizeof caption);  // read without a message to the busy program
          std::lock_guard<std::mutex> lock(m_mutex);
          m_shown.insert(ClassOf(h) + " " + caption);
        }
      } while (!m_stop && ::WaitForSingleObject(process, 1) == WAIT_TIMEOUT);
    });
  }
  ~CShownWindows() { Stop(); }
  std::set<std::string> Stop() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_shown;
  }
  std::set<std::string> Now() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_shown;
  }

 private:
  std::thread m_thread;
  std::mutex m_mutex;
  std::set<std::string> m_shown;
  std::atomic<bool> m_stop{false};
};

inline QuietResult RunQuiet(const std::string& exe, const std::string& args, const std::string& dir, const char* logName) {
  QuietResult r;
  const std::string logPath = TempFolder() + logName;
  ::DeleteFileA(logPath.c_str());
  std::string cmd = "\"" + exe + "\" " + args;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!::CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, dir.c_str(), &si, &pi)) {
    ADD_FAILURE() << "cannot start " << cmd;
    return r;
  }
  {
    CShownWindows watch(pi.hProcess, pi.dwProcessId);
    ::ResumeThread(pi.hThread);
    r.bEnded = ::WaitForSingleObject(pi.hProcess, 120000) == WAIT_OBJECT_0;
    r.shown = watch.Stop();
  }
  if (!r.bEnded) ::TerminateProcess(pi.hProcess, 255);
  ::GetExitCodeProcess(pi.hProcess, &r.dwCode);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  ReadFile(logPath, r.log);
  return r;
}

inline void ExpectQuiet(const QuietResult& r, DWORD code, const std::string& lastText) {
  EXPECT_TRUE(r.bEnded) << "still running";
  EXPECT_EQ(r.dwCode, code);
  EXPECT_TRUE(r.shown.empty()) << "shown: " << *r.shown.begin();
  EXPECT_TRUE(EndsWith(r.log, Lines(lastText))) << "the log ends\n" << r.log;
}

// Processes of these program files running now.
inline std::vector<DWORD> Running(std::initializer_list<const char*> names) {
  std::vector<DWORD> pids;
  HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 pe = {};
  pe.dwSize = sizeof pe;
  for (BOOL ok = ::Process32First(snap, &pe); ok; ok = ::Process32Next(snap, &pe))
    for (const char* name : names)
      if (::lstrcmpiA(pe.szExeFile, name) == 0) pids.push_back(pe.th32ProcessID);
  ::CloseHandle(snap);
  return pids;
}

inline void EndProcess(DWORD pid) {
  if (HANDLE h = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
    ::TerminateProcess(h, 255);
    ::WaitForSingleObject(h, 5000);
    ::CloseHandle(h);
  }
}

// The logs as they were, back at the end.
inline void KeepLogs(PrefixRestore& restore) {
  for (const char* name : {kInstallLog, kUninstallLog, kPackLog}) {
    std::string path = TempFolder() + name, bytes;
    bool had = ReadFile(path, bytes);
    restore.Later([=] {
      if (had)
        WriteFile(path, bytes);
      else
        ::DeleteFileA(path.c_str());
    });
  }
}

// Setup.ini as the journey's author saves it for the sample distribution: the game's
// shortcut and group names, the read-me in the group under a name of its own, the game
// and the read-me started after a person's install.
inline std::string AuthoredIni(const std::string& dist) {
  const std::string tree[] = {dist + "|16",        dist + "KeyRally.exe|32",      dist + "ReadMe.txt|32",
                              dist + "words\\|16", dist + "words\\english.wds|32", dist + "words\\romaji.wds|32",
                              dist + "Openin.wav|32", dist + "bark.wav|32"};
  std::string ini = std::string("[Setup]\r\nTitle=") + kTitle + "\r\nVersion=Ver 1.20\r\nName=打鍵工房\r\nMode=1\r\nSTime=150\r\n" +
                    "[TreeCtrl]\r\nSelect=" + dist + "KeyRally.exe\r\n";
  for (int i = 0; i < 8; ++i) ini += "_f" + std::to_string(i) + "=" + tree[i] + "\r\n";
  return ini + "Count=8\r\nFiles=6\r\n[Option]\r\nStartUp=0\r\nProgram=1\r\nDesktop=1\r\nReboot=0\r\nBlueBack=1\r\n" +
         "[Altitude]\r\nPrgShortCut=" + kShortcut + "\r\nPrgGroup=" + kGroup + "\r\nExecute=1\r\nReadMe=" + dist +
         "ReadMe.txt\r\n[AltitudeGroup]\r\nFiles=2\r\n_g0=" + dist + "\r\n_g1=" + dist + "ReadMe.txt\r\n" +
         "[AltitudeGrpSC]\r\nFiles=2\r\n_c0=Dummy\r\n_c1=" + kReadMeLink + "\r\n[AltitudeSystem]\r\nFiles=1\r\n_s0=" +
         dist + "\r\n";
}

}  // namespace qtest
