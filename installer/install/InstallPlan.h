// The install run's decisions without OS calls: the overwrite rule, where each listed
// entry goes and which shortcut it gets, the names of the executable's shortcuts, the
// failure tally and the report, the read-me to open, and which files are shared in the
// Windows folder. The run (InstallRun_win) reads files and controls, asks here, and acts.
#pragma once
#include <set>
#include <string>
#include <vector>

namespace installplan {

// ---- overwrite rule ---------------------------------------------------------------

// 1 copy, 0 keep the existing file, -1 copy this and every later file without asking.
constexpr int kKeep = 0;
constexpr int kCopy = 1;
constexpr int kCopyAll = -1;

// A file's last-write time in whole local seconds, when it could be opened and read.
struct FileStamp {
  bool bKnown = false;
  long long nSeconds = 0;
};

enum class OverwriteStep { Copy, Keep, Ask };

// A destination that cannot be read is replaced; a source that cannot be read is not
// copied; a source at least as new is copied; an older one keeps a newer destination,
// or the user is asked when `ask` allows it.
OverwriteStep DecideOverwrite(const FileStamp& existing, const FileStamp& fresh, bool ask);

// The question: the existing file by its name and extension alone.
std::string OverwriteQuestionText(const std::string& existingFile);
extern const char* const kOverwriteCaption;
// Yes keeps (the recommended answer), No copies, anything else (Cancel, Esc, the close
// box) copies from now on. Button ids as the platform numbers them.
int OverwriteAnswer(int buttonId);

// ---- tally and report ---------------------------------------------------------------

enum FailureFlag : unsigned { kFailCopy = 1, kFailSettings = 2, kFailRegistry = 4, kFailOption = 8 };

class CInstallTally {
 public:
  void Fail(FailureFlag flag) {
    ++m_nCount;
    m_flags |= flag;
  }
  int GetCount() const { return m_nCount; }
  bool Has(FailureFlag flag) const { return (m_flags & flag) != 0; }
  // The failure box's text: the count, then one line per flag set.
  std::string ReportText() const;

 private:
  int m_nCount = 0;
  unsigned m_flags = 0;
};

extern const char* const kSuccessText;
extern const char* const kSuccessRebootText;
extern const char* const kSuccessCaption;
extern const char* const kFailureCaption;
extern const char* const kErrorCaption;          // the two stops before anything is copied
extern const char* const kBadFolderText;
extern const char* const kSourceFolderText;
extern const char* const kSystemFileCaption;
std::string SystemFileText(const std::string& destName);

// ---- names and safety -------------------------------------------------------------

// The file name and extension: everything after the last "\" or "/".
std::string FileNameOf(const std::string& path);

// Whether a name relative to the install folder stays inside it: not empty, not rooted
// ("\x", "\\srv\x"), no drive or stream colon, no component of dots and blanks alone
// (".", "..", "..."), no device name (CON, NUL, COM1, ...).
bool IsInsideName(const std::string& relative);

// A delay that cannot be a real pause (negative) is none.
int StepDelay(int parsed);

// A stored Count below 0 or above this many entries cannot be a real list: the file is
// damaged. A smaller Count is read as far as its section holds keys; the entries
// beyond are missing (setupinfo::ListEntriesToRead).
constexpr int kMaxTreeEntries = 1000000;
bool IsRealListCount(int count);

// Above this many entries a group or Windows-folder list is damaged and is cut here.
constexpr int kMaxListEntries = 100000;
// The install form's list arrays hold every entry the file lists (up to that bound),
// so that every shortcut the uninstall will look for is made.
int InstallListCapacity(int baseCapacity, int largestStoredCount);

// ---- the plan -----------------------------------------------------------------------

struct PlanInputs {
  std::string strSetupDir;        // source folder, with "\"
  std::string strTopRoot;         // recorded root, with "\"
  std::string strInstallDir;      // with "\"
  std::string strWindowsDir;      // with "\"
  std::string strSelect;          // [TreeCtrl] Select as read
  std::string strProgramsFolder;  // "" when the program-group option is clear or the folder unknown
  std::string strPrgShortCut;
  std::string strPrgGroup;
  std::vector<std::string> groupFiles;   // rebased, entry 0 the list's root
  std::vector<std::string> groupNames;   // indexed like groupFiles
  std::vector<std::string> systemFiles;  // rebased, entry 0 the list's root
};

// One stored "_f" entry as read: the value cut to its buffer, and whether it was longer.
struct StoredEntry {
  std::string strValue;
  bool bOverLong = false;
};

enum class EntryAction { CreateFolder, CopyFile, Refuse };

struct EntryPlan {
  EntryAction action = EntryAction::Refuse;
  std::string strRelative;   // relative name
  std::string strSource;     // source folder + relative name
  std::string strDest;       // destination path
  std::string strDestName;   // destination name (relative name, or its file name in the Windows folder)
  bool bWindowsFolder = false;
  int nGroup = 0;            // index into the group lists, 0 = none
  std::string strGroupLink;  // link path (without ".lnk") of its group shortcut
};

struct InstallPlan {
  bool bSelectMissing = true;  // Select empty, or not a name inside the install folder
  std::string strExeTitle;
  std::string strRelativeExe;
  std::string strInstalledExe;
  std::string strGroupFolder;
  std::string strShortcutName;
  bool bListDamaged = false;  // Count 0, or no real list
  int nCount = 0;             // the Count the run goes by (0 when damaged)
  std::vector<EntryPlan> entries;  // entries 1 to Count - 1, as far as they were read
  int nMissing = 0;                // entries of the Count that were not read: each a copy failure
  std::string strInstalledIni;

  // The progress range's top: every step of a fully successful run.
  int ProgressTop() const { return nCount + 8; }
};

// `stored` holds the entries read from 0 on (missing keys as empty values), at most
// `count` of them.
InstallPlan MakePlan(const PlanInputs& in, int count, const std::vector<StoredEntry>& stored);

// The paths from `folder` down to `folder` + `relative`, one per name of `relative`
// (the folder itself not among them): a junction or symbolic link at any of them would
// lead a write below the folder to somewhere else.
std::vector<std::string> PathsBelow(const std::string& folder, const std::string& relative);

// The link path of the executable's shortcut in `folder` (start-up, desktop: the folder
// itself; program group: programs folder + group folder + "\"). "" when the folder is
// unknown: a relative link would land wherever the current folder happens to be.
std::string ExeLinkPath(const std::string& folder, const std::string& shortcutName);
std::string GroupLinkPath(const std::string& programsFolder, const std::string& groupFolder,
                          const std::string& name);

// The read-me to open after the install: below the install folder, or in the Windows
// folder by its file name when it is among the Windows-folder files. "" when there is
// none, or when its name would lead outside those folders.
std::string ReadMeTarget(const std::string& readMe, const std::string& setupDir, const std::string& installDir,
                         const std::string& windowsDir, const std::vector<std::string>& systemFiles);

// ---- shared files in the Windows folder ---------------------------------------------

// File names (lower case) that a list transfers into the Windows folder: the stored
// entries' relative names that match a Windows-folder file, the executable excepted.
// What an earlier install into the same folder transferred is counted already.
std::set<std::string> TransferredNames(const std::vector<std::string>& relativeNames,
                                       const std::vector<std::string>& systemFiles, const std::string& relativeExe);

// The use count after one more install: a file already there without a count was
// used by someone before, so it counts 1 before this one.
unsigned long NextUseCount(bool hasCount, unsigned long count, bool existedBefore);

}  // namespace installplan
