// The uninstall's decisions without windows: what the dialog reads from the installed
// Setup.ini, and the removal run itself, which deletes only through IRemovalOs, so that
// every rule (which path goes, from which folder, which indicator, which counter,
// which box) is the same under native tests and in the program. Portable.
#pragma once
#include <string>
#include <vector>

#include "FolderRules.h"
#include "ProfileSection.h"

namespace uninstall {

// ---- what the dialog reads when it opens ------------------------------------------

// The recorded top folder for rebasing: the stored TopRoot with a final backslash
// added, or the install folder when none is stored (nothing is then rebased).
std::string TopRootForRemoval(const std::string& storedTopRoot, const std::string& setupDir);

// How many entries of a stored list are read: none for a count not above 0, and no
// more than the section holds keys, since entries beyond cannot all be present (a
// damaged count must not size an array or a loop).
int ListReadCount(int nStored, std::size_t nKeys);

// Entry `index` of a list section ("_g", "_c", "_s"), read as a 260-byte buffer would
// hold it and rebased.
std::string ListEntry(const setupinfo::CProfileSection& section, const char* prefix, int index,
                      const std::string& topRoot, const std::string& setupDir);

// ---- paths --------------------------------------------------------------------

// The removal judges every path it deletes by the path rules the install and the
// shell share (FolderRules.h).
using setupinfo::FileNamePart;
using setupinfo::IsInsideFolder;
using setupinfo::IsPlainFileName;
using setupinfo::ResolvedPath;
using setupinfo::ResolvePath;

// ---- the removal run ------------------------------------------------------------

// The six step indicators, in the order the run reaches them.
enum class Indicator { Files, Folder, Startup, Desktop, Group, Registry };

struct RemovalOptions {
  int nStartUp = 0;
  int nDesktop = 0;
  int nProgram = 0;
};

constexpr unsigned long kNoAttributes = 0xFFFFFFFFul;
constexpr unsigned long kReadOnlyAttribute = 0x1;
constexpr unsigned long kLinkAttribute = 0x400;  // a reparse point

// What the run does to the system. Paths are handed over exactly as they are to be
// used; the run has judged them already.
class IRemovalOs {
 public:
  virtual ~IRemovalOs() = default;
  virtual void EnableIndicator(Indicator which) = 0;
  virtual void CheckIndicator(Indicator which) = 0;
  virtual void Pause(int nMilliseconds) = 0;  // only called with a value above 0
  virtual void SetNormalAttributes(const std::string& path) = 0;
  virtual bool DeleteFile(const std::string& path) = 0;
  virtual bool RemoveFolder(const std::string& path) = 0;
  virtual bool HasSystemAttribute(const std::string& path) = 0;
  virtual bool Exists(const std::string& path) = 0;
  // The attributes of a file or folder, kNoAttributes when there is none. A junction or
  // symbolic link shows kLinkAttribute: a deletion or attribute change through one
  // reaches whatever it points at.
  virtual unsigned long Attributes(const std::string& path) = 0;
  // Holds the folder `relative` ("a\b") below `root`, with each level on the way, open
  // until released, so that none of them can be renamed, and so replaced by a link: a
  // held folder need not be looked at again for each path below it. Link when a level
  // is a junction or symbolic link (or leads elsewhere), Unheld when one cannot be held
  // (it is missing, say): the paths below are then looked at one by one.
  enum class Hold { Held, Link, Unheld };
  virtual Hold HoldFolder(const std::string& root, const std::string& relative) = 0;
  // Lets go of the held folder `relative` below `root` and those below it (before it
  // is removed), or of every held folder for "".
  virtual void ReleaseFolder(const std::string& root, const std::string& relative) = 0;
  // The use count of a shared file (value `valueName` of the shared-file key); false
  // when there is none that can be read as a number.
  virtual bool ReadSharedCount(const std::string& valueName, unsigned long& count) = 0;
  // False when the count could not be written or deleted.
  virtual bool WriteSharedCount(const std::string& valueName, unsigned long count) = 0;
  virtual bool DeleteSharedCount(const std::string& valueName) = 0;
  // [Option] StartUp, Desktop and Program of Setup.ini as it is now.
  virtual RemovalOptions ReadOptions() = 0;
  // Deletes the HKEY_LOCAL_MACHINE subkey.
  virtual bool DeleteUninstallKey(const std::string& subKey) = 0;
  // Whether the folder is one of the system's (the start-up folder, say), which no
  // removal may take away, whatever name the program group gives it.
  virtual bool IsSystemFolder(const std::string& path) = 0;
  // Notes in Setup.ini that this removal kept the application's record because some of
  // its files stayed (RemovalInputs::bResumed of the next one).
  virtual bool NoteRecordKept() = 0;
};

// Everything the dialog prepared (lists already rebased), and the folders of the run.
struct RemovalInputs {
  std::string strSetupDir;     // the install folder, with its final backslash
  std::string strTopRoot;      // with its final backslash
  std::string strWindowsDir;   // with its final backslash
  std::string strExeTitle;
  std::string strPrgShortCut;
  std::string strPrgGroup;
  const std::string* pGroupFiles = nullptr;          // nGroupFiles + 1 entries
  const std::string* pGroupShortcutNames = nullptr;  // nGroupFiles + 1 entries
  int nGroupFiles = 0;
  const std::string* pSystemFiles = nullptr;  // nSystemFiles + 1 entries
  int nSystemFiles = 0;
  std::string strStartupFolder;   // the special folders, each with a final backslash, or ""
  std::string strDesktopFolder;
  std::string strProgramsFolder;
  // An earlier removal of this install kept its record: what it deleted already is done.
  bool bResumed = false;
};

struct RemovalCounts {
  int nFiles = 0;
  int nFolders = 0;
  int nShortcuts = 0;
};

// STime as stored: -1 (missing key, unreadable file) stops the run before anything
// is removed.
inline bool SetupInfoMissing(int nSTime) { return nSTime == -1; }

// The removal from the tree entries to the registry key, with `tree` the [TreeCtrl]
// section read as the run starts and `nSTime` the stored pause (a negative one waits
// nothing). Nothing outside the install folder, the Windows folder's listed files and
// the shortcut folders is touched, and nothing through a link below those folders.
// A removal either finishes or can be run again: while a listed file stays (held open
// by a running program), so do Setup.ini, the shortcuts, the uninstall key and every
// use count as it was (a shared file whose last use this was keeps its count), and
// Setup.ini notes it; the same command later (or after an install into the same folder,
// which does not count the uses twice) deletes what is left and takes what the first
// run deleted as done.
RemovalCounts RunRemovalSteps(const RemovalInputs& in, const setupinfo::CProfileSection& tree, int nSTime,
                              IRemovalOs& os);

// ---- boxes ----------------------------------------------------------------------

enum class BoxIcon { Information, Exclamation, Question, Stop };
struct BoxText {
  std::string strCaption;
  std::string strText;
  BoxIcon icon = BoxIcon::Information;
};

// The box at the end of the run, by the first counter that is above 0: files,
// shortcuts, folders; otherwise the completion box.
BoxText ResultBox(const RemovalCounts& counts);
BoxText CancelBox();
BoxText SetupInfoMissingBox();

}  // namespace uninstall
