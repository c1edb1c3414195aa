#include "InstallRun.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <vector>

#include "ConfirmOverwrite.h"
#include "FolderHold_win.h"
#include "FolderPath.h"
#include "FolderRules.h"
#include "Globals.h"
#include "InstallNames.h"
#include "InstallPlan.h"
#include "Mbcs.h"
#include "Package_win.h"
#include "ProfileSection_win.h"
#include "ProtectedFolders_win.h"
#include "SetupDirectory.h"
#include "SetupInfo_win.h"
#include "ShellFolders.h"
#include "Shortcut.h"

using namespace installplan;
using setupinfo::EntryKey;
using setupinfo::kBufPath;

namespace {

bool Exists(const CString& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

CString WindowsFolder() {
  char buf[kBufPath] = "";
  UINT n = ::GetWindowsDirectoryA(buf, sizeof buf);
  return n > 0 && n < sizeof buf ? CString(buf, n) + "\\" : CString();
}

// Whether two folders are one, however they are spelt: letter case, a short name or
// another drive letter for it would otherwise let the run copy the distribution onto
// itself and mark its own Setup.ini as an installed copy.
bool SameFolder(const CString& a, const CString& b) {
  if (mbcs::IEquals(a, b)) return true;
  shell::CFolderLookup fs;
  shell::FolderIdentity ia, ib;
  return fs.Identify(a, ia) == shell::Lookup::Found && fs.Identify(b, ib) == shell::Lookup::Found &&
         shell::IsSameFolder(ia, ib);
}

// Makes the install folder with the folders above it that are missing; when a level
// cannot be made, those made are removed again, so that a stop leaves nothing behind.
bool MakeInstallFolder(const CString& folder) {
  std::vector<std::string> made;
  for (const std::string& level : shell::FolderLevels(folder)) {
    if (::CreateDirectoryA(level.c_str(), nullptr)) {
      made.push_back(level);
      continue;
    }
    DWORD err = ::GetLastError();
    if (err == ERROR_ALREADY_EXISTS || err == ERROR_INVALID_NAME) continue;
    for (auto it = made.rbegin(); it != made.rend(); ++it) ::RemoveDirectoryA(it->c_str());
    return false;
  }
  return true;
}

// The attributes and last-write time of an open file, read through the handle alone
// (GetFileInformationByHandle asks for the volume too, which under some platforms costs
// more than copying a small file).
bool BasicInfoOf(HANDLE h, DWORD& attributes, FILETIME& written) {
  using Fn = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);
  static const Fn basicInfo =
      reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetFileInformationByHandleEx")));
  struct {
    LARGE_INTEGER created, accessed, written, changed;
    DWORD attributes;
  } basic;                                     // FILE_BASIC_INFO
  if (basicInfo && basicInfo(h, 0 /* FileBasicInfo */, &basic, sizeof basic)) {
    attributes = basic.attributes;
    written.dwLowDateTime = basic.written.LowPart;
    written.dwHighDateTime = static_cast<DWORD>(basic.written.HighPart);
    return true;
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (!::GetFileInformationByHandle(h, &info)) return false;
  attributes = info.dwFileAttributes;
  written = info.ftLastWriteTime;
  return true;
}

// The attributes a copy keeps: all but read-only (an installed file may be replaced).
constexpr DWORD kCopiedAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                                    FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// A file of the running package, written from memory as a copy of it would be.
bool WriteHeldFile(const package::CHeldFile& held, const CString& dest, unsigned long long& bytes) {
  const DWORD attributes = held.dwAttributes & kCopiedAttributes;
  HANDLE out = ::CreateFileA(dest.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                             attributes ? attributes : FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  for (std::size_t at = 0; ok && at < held.bytes.size();) {
    DWORD n = static_cast<DWORD>(std::min<std::size_t>(held.bytes.size() - at, 1u << 20)), put = 0;
    ok = ::WriteFile(out, held.bytes.data() + at, n, &put, nullptr) && put == n;
    at += put;
  }
  ok = ok && ::SetFileTime(out, nullptr, nullptr, &held.written);
  ok = ::CloseHandle(out) && ok;
  if (!ok) ::DeleteFileA(dest.c_str());
  bytes = ok ? held.bytes.size() : 0;
  return ok;
}

// A copy of a file as CopyFileA makes it (the bytes, the attributes, the last-write time
// the overwrite rule compares), but without its read-only attribute, through one buffer
// the run keeps: a large file goes in few reads and writes, a small one without the
// calls CopyFileA adds to each file. A copy that cannot be finished is deleted again.
// `bytes` is the size copied.
bool CopyFileData(const CString& source, const CString& dest, std::vector<char>& buffer, unsigned long long& bytes) {
  bytes = 0;
  if (const package::CHeldFile* held = package::HeldFiles().Find(source)) return WriteHeldFile(*held, dest, bytes);
  // no write sharing: a destination that is the source itself, however spelt, cannot be
  // opened to be emptied
  // no access hints: under some platforms each costs a call of its own per file, and a
  // sequential read is what the system expects anyway
  HANDLE in = ::CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            0, nullptr);
  if (in == INVALID_HANDLE_VALUE) return false;
  DWORD attributes = 0;
  FILETIME written;
  if (!BasicInfoOf(in, attributes, written)) {
    ::CloseHandle(in);
    return false;
  }
  attributes &= kCopiedAttributes;
  HANDLE out = ::CreateFileA(dest.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                             attributes ? attributes : FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) {
    ::CloseHandle(in);
    return false;
  }
  if (buffer.empty()) buffer.resize(1 << 20);
  bool ok = true;
  for (;;) {
    DWORD got = 0, put = 0;
    if (!::ReadFile(in, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
      ok = false;
      break;
    }
    if (got == 0) break;
    if (!::WriteFile(out, buffer.data(), got, &put, nullptr) || put != got) {
      ok = false;
      break;
    }
    bytes += got;
    if (got < buffer.size()) break;  // the end of the file: no read to find it
  }
  ok = ok && ::SetFileTime(out, nullptr, nullptr, &written);
  ::CloseHandle(in);
  ok = ::CloseHandle(out) && ok;
  if (!ok) ::DeleteFileA(dest.c_str());
  return ok;
}

// The stored entries 0 to count - 1 of a [TreeCtrl] section, as 260-byte reads give them.
std::vector<StoredEntry> StoredEntries(const setupinfo::CProfileSection& tree, int count) {
  std::vector<StoredEntry> entries(static_cast<std::size_t>(setupinfo::ListEntriesToRead(count, tree.GetKeyCount())));
  for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
    StoredEntry& e = entries[static_cast<std::size_t>(i)];
    e.strValue = tree.GetStringCut(EntryKey("_f", i), kBufPath, e.bOverLong);
  }
  return entries;
}

// The [TreeCtrl] Count a run goes by: 0 for what cannot be a real list.
int RealCount(BOOL read, const setupinfo::CProfileSection& tree) {
  int count = tree.GetInt("Count", 0);
  return read && IsRealListCount(count) ? count : 0;
}

// The Windows-folder files an earlier install into this folder counted already: what
// its installed copy (Mode 2) transferred by the same rule.
std::set<std::string> CountedBefore(const CString& installedIni) {
  if (setupinfo::GetInt(installedIni, setupinfo::kSecSetup, "Mode", 0) != 2) return {};
  setupinfo::CProfileSection tree, system;
  int count = RealCount(setupinfo::ReadSection(installedIni, setupinfo::kSecTree, tree), tree);
  setupinfo::ReadSection(installedIni, setupinfo::kSecSystem, system);
  CString root = setupinfo::WithBackslash(tree.GetString("TopRoot", "", kBufPath));
  std::vector<std::string> relatives;
  for (const StoredEntry& e : StoredEntries(tree, count)) {
    setupinfo::TreeEntry parsed;
    if (!e.bOverLong && setupinfo::ParseTreeEntry(e.strValue, parsed))
      relatives.push_back(setupinfo::RelativeForm(parsed.strPath, root));
  }
  std::vector<std::string> systemFiles;
  int nSystem = system.GetInt("Files", 0);
  if (nSystem > kMaxListEntries) nSystem = kMaxListEntries;
  for (int i = 0; i < nSystem; ++i) systemFiles.push_back(system.GetString(EntryKey("_s", i), "", kBufPath));
  std::string relativeExe = setupinfo::RelativeForm(tree.GetString("Select", "", kBufPath), root);
  return TransferredNames(relatives, systemFiles, relativeExe);
}

// One more use of a file in the Windows folder, under its full path as value name, unless
// `countedBefore` (an earlier install into the folder) and its count is there; false when
// the count could not be written.
bool CountSharedUse(const CString& path, bool existedBefore, bool countedBefore) {
  HKEY key = nullptr;
  if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, setupinfo::kSharedDllsKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  DWORD type = 0, value = 0, size = sizeof value;
  bool has = ::RegQueryValueExA(key, path.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
                 ERROR_SUCCESS &&
             type == REG_DWORD && size == sizeof value;
  DWORD next = NextUseCount(has, value, existedBefore);
  bool written = (countedBefore && has) ||
      ::RegSetValueExA(key, path.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&next), sizeof next) == ERROR_SUCCESS;
  ::RegCloseKey(key);
  return written;
}

void SetString(HKEY key, const char* name, const CString& value) {
  ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

void SetDword(HKEY key, const char* name, DWORD value) {
  ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void RequestRestart() {
  HANDLE token = nullptr;
  ::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token);
  TOKEN_PRIVILEGES tp = {};
  ::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &tp.Privileges[0].Luid);
  tp.PrivilegeCount = 1;
  tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  ::AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr);
  ::ExitWindowsEx(EWX_REBOOT, 0);
  if (token) ::CloseHandle(token);
}

class CRun {
 public:
  explicit CRun(const CInstallRequest& req) : m_req(req) {}

  BOOL Run() {
    const CString sourceIni = setupinfo::IniPath(m_req.strSetupDir);
    setupinfo::CProfileSection tree;
    const int count = RealCount(setupinfo::ReadSection(sourceIni, setupinfo::kSecTree, tree), tree);

    PlanInputs in;
    // the range goes beyond 16 bits for long lists
    ::SendMessageA(m_req.hProgress, PBM_SETRANGE32, 0, count + 8);
    ::SendMessageA(m_req.hProgress, PBM_SETPOS, 0, 0);
    ::SendMessageA(m_req.hProgress, PBM_SETSTEP, 1, 0);

    m_nDelay = StepDelay(setupinfo::ParseProfileInt(m_req.strDelay));
    in.strWindowsDir = WindowsFolder();
    in.strInstallDir = FullFolderPath(m_req.strInstallDir);
    // Every stop comes before anything is made or copied.
    if (in.strInstallDir.empty() || IsProtectedInstallFolder(in.strInstallDir)) return BadFolder();
    if (SameFolder(in.strInstallDir, FullFolderPath(m_req.strSetupDir))) {
      Beep();
      Box(kSourceFolderText, kErrorCaption, MB_ICONEXCLAMATION);
      return FALSE;
    }
    const bool installDirExisted = Exists(in.strInstallDir);
    if (m_req.bProgram) in.strProgramsFolder = GetProgramsFolder();

    in.strSetupDir = m_req.strSetupDir;
    in.strTopRoot = m_req.strTopRoot;
    in.strSelect = tree.GetString("Select", "", kBufPath);
    in.strPrgShortCut = m_req.strPrgShortCut;
    in.strPrgGroup = m_req.strPrgGroup;
    in.groupFiles = m_req.groupFiles;
    in.groupNames = m_req.groupNames;
    in.systemFiles = m_req.systemFiles;
    const InstallPlan plan = MakePlan(in, count, StoredEntries(tree, count));
    if (!ReadDestinations(plan, installDirExisted)) return FALSE;
    if (!MakeInstallFolder(in.strInstallDir) || !m_held.HoldRoot(in.strInstallDir)) return BadFolder();
    Note("install folder", in.strInstallDir, quietrun::kOk);
    Step();
    if (plan.bSelectMissing) {
      m_tally.Fail(kFailSettings);
      Note("executable", in.strSelect, quietrun::kFailed);
    }
    const std::set<std::string> counted = CountedBefore(plan.strInstalledIni);

    Step();
    if (plan.bListDamaged) {
      m_tally.Fail(kFailSettings);
      Note("file list", sourceIni, quietrun::kFailed);
    }

    InstallEntries(plan, counted);
    FinishEntries(plan.nMissing, sourceIni);
    CopyInstaller(in.strWindowsDir);

    Mark();
    if (Exists(plan.strInstalledIni)) ::SetFileAttributesA(plan.strInstalledIni.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (::CopyFileA(sourceIni.c_str(), plan.strInstalledIni.c_str(), FALSE))
      ::SetFileAttributesA(plan.strInstalledIni.c_str(), FILE_ATTRIBUTE_NORMAL);
    else
      m_tally.Fail(kFailSettings);
    Log("copy", plan.strInstalledIni);
    Step();

    if (m_tally.GetCount() == 0) {
      MakeOption(m_req.bStartup, "StartUp", ExeLinkPath(GetStartupFolder(), plan.strShortcutName), plan);
      MakeOption(m_req.bProgram, "Program",
                 GroupLinkPath(in.strProgramsFolder, plan.strGroupFolder, plan.strShortcutName), plan);
      MakeOption(m_req.bDesktop, "Desktop", ExeLinkPath(GetDesktopFolder(), plan.strShortcutName), plan);
      Register(sourceIni, plan, in);
    }

    Mark();
    if (!setupinfo::PutString(plan.strInstalledIni, setupinfo::kSecSetup, "Mode", "2")) m_tally.Fail(kFailSettings);
    Log("mark installed", plan.strInstalledIni);
    Step();
    CString root = m_req.strTopRoot;
    if (setupinfo::EndsWithBackslash(root)) root.pop_back();
    setupinfo::PutString(plan.strInstalledIni, setupinfo::kSecTree, "TopRoot", root);
    Mark();
    if (!WriteSetupDirectory(plan.strInstalledExe, plan.strRelativeExe)) m_tally.Fail(kFailRegistry);
    Log("record", in.strWindowsDir + setupinfo::kSetupDirectoryFile);
    m_held.ReleaseAll();  // written: the application started next may do with them as it likes

    Report(plan, in);
    ShowSteps();
    return TRUE;
  }

  int GetFailures() const { return m_tally.GetCount(); }

 private:
  // One step of the bar, then the pause. Moving the bar costs several milliseconds
  // under some platforms (a redraw per move), more than copying a small file, so steps
  // closer together than a redraw interval are shown together: a dozen moves a second
  // look as smooth as fifty and cost a quarter, and a pause of 100 ms still shows every
  // step.
  void Step() {
    ++m_nPendingSteps;
    DWORD now = ::GetTickCount();
    if (now - m_dwLastShown >= kRedrawIntervalMs) ShowSteps();
    // no pause is no pause: a sleep of 0 would hand the processor to whoever waits
    if (m_nDelay > 0) ::Sleep(static_cast<DWORD>(m_nDelay));
  }

  // One pending message every few milliseconds keeps the windows alive; a look at the
  // queue for every file would cost more than copying a small one.
  void PumpMessages() {
    DWORD now = ::GetTickCount();
    if (now - m_dwLastPump < kPumpIntervalMs) return;
    m_dwLastPump = now;
    PumpPendingMessage();
  }

  void ShowSteps() {
    m_dwLastShown = ::GetTickCount();
    if (m_nPendingSteps == 1)
      ::SendMessageA(m_req.hProgress, PBM_STEPIT, 0, 0);
    else if (m_nPendingSteps > 1)
      ::SendMessageA(m_req.hProgress, PBM_DELTAPOS, static_cast<WPARAM>(m_nPendingSteps), 0);
    m_nPendingSteps = 0;
  }

  // Every box shows the bar where the run stands. A quiet run logs the text instead
  // and takes the default answer: OK, or No to the restart.
  int Box(const std::string& text, const char* caption, UINT flags) {
    ShowSteps();
    if (m_req.pQuietLog) {
      m_req.pQuietLog->Report(text);
      return (flags & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
    }
    return ::MessageBoxA(m_req.hOwner, text.c_str(), caption, flags);
  }

  void Beep() {
    if (!m_req.pQuietLog) HbBeep();
  }

  // A step's line in a quiet run's log. Mark() notes the tally; Log() then says
  // failed when it has grown since, `done` otherwise.
  void Note(const char* step, const std::string& path, const char* outcome) {
    if (m_req.pQuietLog) m_req.pQuietLog->Step(step, path, outcome);
  }
  void Mark() { m_nMarked = m_tally.GetCount(); }
  void Log(const char* step, const std::string& path, const char* done = quietrun::kOk) {
    Note(step, path, m_tally.GetCount() > m_nMarked ? quietrun::kFailed : done);
  }
  static std::string LinkFile(const std::string& link) { return link.empty() ? link : link + ".lnk"; }

  // The install folder cannot be had: the first stop's box.
  BOOL BadFolder() {
    Note("install folder", m_req.strInstallDir, quietrun::kFailed);
    Beep();
    Box(kBadFolderText, kErrorCaption, MB_ICONEXCLAMATION);
    return FALSE;
  }

  // The attributes of every file destination, read once before anything is made: a
  // system file among them stops the run while nothing is done yet. Below an install
  // folder that did not exist there is nothing to read. FALSE after the stop's box.
  BOOL ReadDestinations(const InstallPlan& plan, bool installDirExisted) {
    std::set<std::string> seen;
    m_destAttributes.assign(plan.entries.size(), INVALID_FILE_ATTRIBUTES);
    for (std::size_t i = 0; i < plan.entries.size(); ++i) {
      const EntryPlan& e = plan.entries[i];
      if (e.action != EntryAction::CopyFile || (!e.bWindowsFolder && !installDirExisted)) continue;
      // a destination named twice is read again when its turn comes: the first copy made it
      if (!seen.insert(mbcs::ToLower(e.strDest)).second) {
        m_destAttributes[i] = kReadAgain;
        continue;
      }
      m_destAttributes[i] = ::GetFileAttributesA(e.strDest.c_str());
      if (m_destAttributes[i] != INVALID_FILE_ATTRIBUTES && (m_destAttributes[i] & FILE_ATTRIBUTE_SYSTEM)) {
        Box(SystemFileText(e.strDestName), kSystemFileCaption, MB_ICONHAND);
        return FALSE;
      }
    }
    return TRUE;
  }

  // The folder of an entry below the install folder, held for the rest of the run (a
  // folder entry's own folder made first): a write below it cannot pass a link.
  CHeldFolders::Result HoldFolderOf(const EntryPlan& e) {
    if (e.bWindowsFolder)
      return e.action == EntryAction::CreateFolder && !CreateFolderPath(e.strDest) ? CHeldFolders::kFailed
                                                                                   : CHeldFolders::kHeld;
    if (e.action == EntryAction::CreateFolder) return m_held.Hold(e.strRelative, true);
    return m_held.Hold(e.strRelative.substr(0, e.strRelative.size() - FileNameOf(e.strRelative).size()), false);
  }

  // The file loop.
  void InstallEntries(const InstallPlan& plan, const std::set<std::string>& counted) {
    int overwrite = kKeep;
    for (std::size_t i = 0; i < plan.entries.size(); ++i) {
      const EntryPlan& e = plan.entries[i];
      PumpMessages();
      Mark();
      const CHeldFolders::Result held = e.action == EntryAction::Refuse ? CHeldFolders::kLink : HoldFolderOf(e);
      if (held != CHeldFolders::kHeld) {
        m_tally.Fail(kFailCopy);
        if (held == CHeldFolders::kLink)
          Note("entry", e.strRelative, quietrun::kRefused);
        else
          Note(e.action == EntryAction::CreateFolder ? "folder" : "copy", e.strDest, quietrun::kFailed);
        Step();
        continue;
      }
      if (e.action == EntryAction::CopyFile) {
        const DWORD attributes =
            m_destAttributes[i] == kReadAgain ? ::GetFileAttributesA(e.strDest.c_str()) : m_destAttributes[i];
        const bool existed = attributes != INVALID_FILE_ATTRIBUTES;
        if (existed) ::SetFileAttributesA(e.strDest.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (overwrite != kCopyAll) {
          // nothing there to compare with is a copy, as the comparison would decide
          if (existed) {
            ShowSteps();  // a question may come
            // a quiet run keeps a newer file, as the question's default answer would
            overwrite = ConfirmOverwrite(m_req.hOwner, e.strSource, e.strDest, m_req.pQuietLog ? 0 : 1);
          } else {
            overwrite = kCopy;
          }
        }
        bool copied = false;
        unsigned long long bytes = 0;
        if (overwrite != kKeep) {
          copied = CopyFileData(e.strSource, e.strDest, m_buffer, bytes);
          if (!copied) m_tally.Fail(kFailCopy);
        }
        // the file there now, copied or kept
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (copied || ::GetFileAttributesExA(e.strDest.c_str(), GetFileExInfoStandard, &data)) {
          m_nBytes += copied ? bytes : (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
          // one use per file, however many entries name it
          if (e.bWindowsFolder && m_destAttributes[i] != kReadAgain)
            m_uses.push_back({e.strDest, existed, counted.count(mbcs::ToLower(e.strDestName)) != 0});
        }
      }
      Log(e.action == EntryAction::CreateFolder ? "folder" : "copy", e.strDest,
          e.action == EntryAction::CopyFile && overwrite == kKeep ? quietrun::kKept : quietrun::kOk);
      Mark();
      if (e.nGroup != 0 && (e.strGroupLink.empty() || !CreateShortcut(e.strGroupLink, "", e.strDest)))
        m_tally.Fail(kFailCopy);
      if (e.nGroup != 0) Log("shortcut", LinkFile(e.strGroupLink));
      Step();
    }
  }

  // The uses of the Windows-folder files, counted once the file loop went to its end
  // (a stopped run counts none), and the entries the list could not hold, each a copy
  // failure.
  void FinishEntries(int nMissing, const CString& sourceIni) {
    for (const SharedUse& use : m_uses) {
      Mark();
      if (!CountSharedUse(use.strPath, use.bExistedBefore, use.bCountedBefore)) m_tally.Fail(kFailRegistry);
      Log("use count", use.strPath);
    }
    for (int i = 0; i < nMissing; ++i) m_tally.Fail(kFailCopy);
    if (nMissing > 0) Note("missing entries", sourceIni, quietrun::kFailed);
    m_nPendingSteps += nMissing;
  }

  // The installer as shipped becomes Hanbell.exe in the Windows folder, unless a newer
  // one is there; the staged copy carries the shipped file's time into the comparison.
  void CopyInstaller(const CString& windowsDir) {
    const CString source = m_req.strSetupDir + setupinfo::kInstallerSource;
    const CString copy = windowsDir + setupinfo::kInstallerCopy;
    const CString staged = windowsDir + setupinfo::kInstallerStaging;
    Mark();
    if (Exists(copy)) ::SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::CopyFileA(source.c_str(), staged.c_str(), FALSE);
    int decision = ConfirmOverwrite(m_req.hOwner, staged, copy, 0);
    ::SetFileAttributesA(staged.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(staged.c_str());
    if (decision != kKeep) {
      if (::CopyFileA(source.c_str(), copy.c_str(), FALSE))
        ::SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
      else
        m_tally.Fail(kFailCopy);
    }
    Log("copy", copy, decision == kKeep ? quietrun::kKept : quietrun::kOk);
    Step();
  }

  // One of the executable's shortcuts when its box is checked, and the box's state in
  // the installed copy either way.
  void MakeOption(BOOL checked, const char* key, const CString& link, const InstallPlan& plan) {
    Mark();
    if (checked && (link.empty() || !CreateShortcut(link, "", plan.strInstalledExe))) m_tally.Fail(kFailOption);
    if (checked) Log("shortcut", LinkFile(link));
    setupinfo::PutString(plan.strInstalledIni, setupinfo::kSecOption, key, checked ? "1" : "0");
    Step();
  }

  void Register(const CString& sourceIni, const InstallPlan& plan, const PlanInputs& in) {
    using setupinfo::GetString;
    CString title = GetString(sourceIni, setupinfo::kSecSetup, "Title", setupinfo::kDefTitle, setupinfo::kBufTitle);
    HKEY key = nullptr;
    const std::string keyPath = "HKEY_LOCAL_MACHINE\\" + setupinfo::UninstallKey(plan.strExeTitle);
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, setupinfo::UninstallKey(plan.strExeTitle).c_str(), 0, const_cast<char*>(""),
                          0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
      m_tally.Fail(kFailRegistry);
      Note("registry", keyPath, quietrun::kFailed);
      return;
    }
    SetString(key, "DisplayName", title);
    SetString(key, "UninstallString", setupinfo::UninstallCommand(in.strWindowsDir, in.strInstallDir));
    // what package managers run to remove the program without a person
    SetString(key, "QuietUninstallString", setupinfo::QuietUninstallCommand(in.strWindowsDir, in.strInstallDir));
    // what the list of installed programs shows besides the name
    CString company = GetString(sourceIni, setupinfo::kSecSetup, "Name", setupinfo::kDefName, setupinfo::kBufName);
    SetString(key, "DisplayVersion",
              GetString(sourceIni, setupinfo::kSecSetup, "Version", setupinfo::kDefVersion, setupinfo::kBufVersion));
    SetString(key, "Publisher", company.empty() ? CString(setupinfo::kDefName) : company);
    SetString(key, "InstallLocation", in.strInstallDir);
    SetString(key, "DisplayIcon", plan.strInstalledExe);
    SetDword(key, "EstimatedSize", static_cast<DWORD>((m_nBytes + 1023) / 1024));
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char date[16];
    std::snprintf(date, sizeof date, "%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
    SetString(key, "InstallDate", date);
    // The uninstaller can only remove: the list offers no change or repair for it.
    SetDword(key, "NoModify", 1);
    SetDword(key, "NoRepair", 1);
    ::RegCloseKey(key);
    Note("registry", keyPath, quietrun::kOk);
    Step();
  }

  void Report(const InstallPlan& plan, const PlanInputs& in) {
    if (m_tally.GetCount() != 0) {
      Beep();
      Box(m_tally.ReportText(), kFailureCaption, MB_ICONHAND);
      return;
    }
    Beep();
    if (m_req.bReboot) {
      if (Box(kSuccessRebootText, kSuccessCaption, MB_YESNO | MB_ICONINFORMATION) == IDYES) RequestRestart();
    } else {
      Box(kSuccessText, kSuccessCaption, MB_ICONINFORMATION);
    }
    Beep();
    if (m_req.nExecute != 0)
      ::ShellExecuteA(nullptr, nullptr, plan.strInstalledExe.c_str(), nullptr, in.strInstallDir.c_str(), SW_SHOWNORMAL);
    std::vector<std::string> systemFiles(m_req.systemFiles.begin(), m_req.systemFiles.end());
    CString readMe = ReadMeTarget(m_req.strReadMe, m_req.strSetupDir, in.strInstallDir, in.strWindowsDir, systemFiles);
    if (!readMe.empty())
      ::ShellExecuteA(nullptr, nullptr, readMe.c_str(), nullptr, in.strInstallDir.c_str(), SW_SHOWNORMAL);
  }

  const CInstallRequest& m_req;
  int m_nDelay = 0;
  CInstallTally m_tally;
  unsigned long long m_nBytes = 0;  // the installed files, for the list of programs
  std::vector<char> m_buffer;       // the copies' own
  struct SharedUse {
    std::string strPath;
    bool bExistedBefore;  // there before this run: another program's file
    bool bCountedBefore;  // by an earlier install into the same folder
  };
  std::vector<SharedUse> m_uses;
  CHeldFolders m_held;                    // the install folder and the folders below it written into
  static constexpr DWORD kReadAgain = 0xFFFFFFFEu;
  std::vector<DWORD> m_destAttributes;    // per entry, as read before the run made anything
  static constexpr DWORD kRedrawIntervalMs = 80;
  static constexpr DWORD kPumpIntervalMs = 10;
  int m_nPendingSteps = 0;
  DWORD m_dwLastShown = ::GetTickCount() - kRedrawIntervalMs;
  DWORD m_dwLastPump = ::GetTickCount() - kPumpIntervalMs;
  int m_nMarked = 0;  // the tally at the last Mark()
};

}  // namespace

BOOL RunInstallRequest(const CInstallRequest& req, int* pnFailures) {
  CRun run(req);
  BOOL finished = run.Run();
  if (pnFailures) *pnFailures = run.GetFailures();
  return finished;
}
