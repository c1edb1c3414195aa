#include "Removal.h"

#include <climits>

#include "FolderRules.h"
#include "InstallNames.h"
#include "Mbcs.h"
#include "SetupInfo.h"

namespace uninstall {

using setupinfo::CProfileSection;

std::string TopRootForRemoval(const std::string& storedTopRoot, const std::string& setupDir) {
  // An empty TopRoot would otherwise become "\" and rebase every backslash.
  return storedTopRoot.empty() ? setupDir : setupinfo::WithBackslash(storedTopRoot);
}

int ListReadCount(int nStored, std::size_t nKeys) { return setupinfo::ListEntriesToRead(nStored, nKeys); }

std::string ListEntry(const CProfileSection& section, const char* prefix, int index, const std::string& topRoot,
                      const std::string& setupDir) {
  return setupinfo::Rebase(section.GetString(setupinfo::EntryKey(prefix, index), "", setupinfo::kBufPath), topRoot,
                           setupDir);
}

// ---- the removal run ------------------------------------------------------------

namespace {

void Add(int& counter, long long n) {
  long long sum = static_cast<long long>(counter) + n;
  counter = sum > INT_MAX ? INT_MAX : static_cast<int>(sum);
}

class CRun {
 public:
  CRun(const RemovalInputs& in, int nSTime, IRemovalOs& os)
      : m_in(in), m_os(os), m_nPause(nSTime > 0 ? nSTime : 0) {}

  void Pause() {
    if (m_nPause > 0) m_os.Pause(m_nPause);
  }

  // `path` as it is handed to the system, when it lies below `folder` and no name on
  // the way below `folder`, itself included, is a link: the install makes none, and
  // through one a deletion or an attribute change would land outside. With `bHold`,
  // the folders on the way are held (each looked at once for the whole run), the path
  // itself is looked at every time; `relative` is the path below `folder`, and
  // `attributes` the path's own as looked at.
  bool JudgeBelow(const std::string& path, const std::string& folder, std::string& target, bool bHold = false,
                  std::string* relative = nullptr, unsigned long* attributes = nullptr) {
    ResolvedPath p, f;
    if (!IsInsideFolder(path, folder) || !ResolvePath(path, p) || !ResolvePath(folder, f)) return false;
    ResolvedPath step = p;
    step.parts.resize(f.parts.size());
    std::string below;
    unsigned long seen = kNoAttributes;
    for (std::size_t i = f.parts.size(); i < p.parts.size(); ++i) {
      step.parts.push_back(p.parts[i]);
      below += (below.empty() ? "" : "\\") + p.parts[i];
      if (bHold && i + 1 < p.parts.size()) {
        IRemovalOs::Hold hold = m_os.HoldFolder(folder, below);
        if (hold == IRemovalOs::Hold::Link) return false;
        if (hold == IRemovalOs::Hold::Held) continue;
      }
      seen = m_os.Attributes(step.Text());
      if (seen != kNoAttributes && (seen & kLinkAttribute)) return false;
    }
    target = p.Text();
    if (relative) *relative = below;
    if (attributes) *attributes = seen;
    return true;
  }

  // A path of the tree list: deleted (or removed, for a folder) only inside the
  // install folder, with the path as resolved, so that what was judged is what goes.
  bool RemoveInsideInstall(const std::string& path, bool bFolder) {
    std::string target, relative;
    unsigned long attributes = kNoAttributes;
    if (!JudgeBelow(path, m_in.strSetupDir, target, true, &relative, &attributes)) return false;
    if (bFolder) m_os.ReleaseFolder(m_in.strSetupDir, relative);  // a held folder cannot go
    if (bFolder ? RemoveFolder(target) : DeleteFile(target, attributes)) return true;
    if (!m_os.Exists(target)) return m_in.bResumed;  // deleted by the run that kept the record
    if (!bFolder) m_bKeepRecord = true;  // held open: the application is still there
    return false;
  }

  // A file the install put into the Windows folder: only its own name there, never the
  // installer's copy or record, never a file of Windows itself, and only when this was
  // its last counted use.
  bool RemoveWindowsFolderFile(const std::string& listed) {
    std::string name = FileNamePart(listed);
    if (!IsPlainFileName(name) || mbcs::IEquals(name, setupinfo::kInstallerCopy) ||
        mbcs::IEquals(name, setupinfo::kSetupDirectoryFile))
      return false;
    std::string path = m_in.strWindowsDir + name;
    if (m_os.HasSystemAttribute(path)) return false;
    unsigned long nUses = 0;
    if (!m_os.ReadSharedCount(path, nUses) || nUses == 0)  // not this install's to delete
      return m_in.bResumed && !m_os.Exists(path);           // or deleted with its count already
    if (nUses > 1) {  // still used by another install: it stays
      if (!m_os.WriteSharedCount(path, nUses - 1)) return false;
      m_lowered.emplace_back(path, nUses);
      return true;
    }
    if (!DeleteFile(path)) {
      // held open: the count stays for a later uninstall; gone already: nothing to keep
      if (m_os.Exists(path)) {
        m_bKeepRecord = true;
        return false;
      }
      m_os.DeleteSharedCount(path);
      return m_in.bResumed;
    }
    return m_os.DeleteSharedCount(path);
  }

  // A shortcut file `name` in `folder`. A folder that is not known ("") would make it a
  // file of the current folder: refused like any path outside its folder.
  bool DeleteShortcut(const std::string& folder, const std::string& name) {
    std::string target;
    unsigned long attributes = kNoAttributes;
    return JudgeBelow(folder + name, folder, target, false, nullptr, &attributes) && DeleteFile(target, attributes);
  }

  // Only the read-only attribute keeps a file from being deleted: a file looked at
  // already keeps its other attributes, and costs no attribute change.
  bool DeleteFile(const std::string& path, unsigned long attributes = kNoAttributes) {
    if (attributes == kNoAttributes || (attributes & kReadOnlyAttribute)) m_os.SetNormalAttributes(path);
    return m_os.DeleteFile(path);
  }
  bool RemoveFolder(const std::string& path) {
    m_os.SetNormalAttributes(path);
    return m_os.RemoveFolder(path);
  }

  // The listed Windows-folder file the path stands for: the first entry 1 onward equal
  // to it, unless it is the application's own executable.
  const std::string* WindowsFolderEntry(const std::string& path, const std::string& select) const {
    if (mbcs::IEquals(path, select)) return nullptr;
    for (int j = 1; j < m_in.nSystemFiles; ++j)
      if (mbcs::IEquals(path, m_in.pSystemFiles[j])) return &m_in.pSystemFiles[j];
    return nullptr;
  }

  void ApplicationFiles(const CProfileSection& tree) {
    std::string select =
        setupinfo::Rebase(tree.GetString("Select", "", setupinfo::kBufPath), m_in.strTopRoot, m_in.strSetupDir);
    int nCount = tree.GetInt("Count", 0);
    if (nCount <= 0) return;
    m_os.EnableIndicator(Indicator::Files);
    // Entries at or above the section's key count cannot all be there; those are
    // counted as not deleted instead of being looked up one by one.
    int nRead = ListReadCount(nCount, tree.GetKeyCount());
    if (nRead < 1) nRead = 1;
    Add(m_counts.nFiles, static_cast<long long>(nCount) - nRead);
    for (int i = nRead - 1; i >= 1; --i) {
      std::string value = setupinfo::Rebase(tree.GetString(setupinfo::EntryKey("_f", i), "", setupinfo::kBufPath),
                                            m_in.strTopRoot, m_in.strSetupDir);
      setupinfo::TreeEntry entry;
      if (!setupinfo::ParseTreeEntry(value, entry)) entry.strPath = value;  // no "|": a path without attributes
      bool bFolder = (entry.dwAttributes & 0x10) != 0 || setupinfo::EndsWithBackslash(entry.strPath);
      if (bFolder) {
        if (!RemoveInsideInstall(entry.strPath, true)) Add(m_counts.nFolders, 1);
      } else if (const std::string* listed = WindowsFolderEntry(entry.strPath, select)) {
        if (!RemoveWindowsFolderFile(*listed)) Add(m_counts.nFiles, 1);
      } else if (!RemoveInsideInstall(entry.strPath, false)) {
        Add(m_counts.nFiles, 1);
      }
      Pause();
    }
    // Setup.ini stays with a use kept: what it lists must count as it did, so that the
    // next uninstall lowers each count once
    if (m_bKeepRecord)
      for (const auto& lowered : m_lowered)
        if (!m_os.WriteSharedCount(lowered.first, lowered.second)) Add(m_counts.nFiles, 1);
    if (m_counts.nFiles == 0) m_os.CheckIndicator(Indicator::Files);
  }

  void SetupInfoAndFolder() {
    if (m_bKeepRecord)
      m_os.NoteRecordKept();
    else if (!RemoveInsideInstall(m_in.strSetupDir + setupinfo::kFileName, false))
      Add(m_counts.nFiles, 1);
    Pause();
    m_os.EnableIndicator(Indicator::Folder);
    m_os.ReleaseFolder(m_in.strSetupDir, "");
    if (!RemoveFolder(m_in.strSetupDir)) Add(m_counts.nFolders, 1);
    if (m_counts.nFolders == 0) m_os.CheckIndicator(Indicator::Folder);
    Pause();
  }

  void Shortcuts(const RemovalOptions& options) {
    std::string link = setupinfo::ShortcutName(m_in.strPrgShortCut, m_in.strExeTitle) + ".lnk";
    std::string group = setupinfo::GroupFolderName(m_in.strPrgGroup, m_in.strExeTitle);
    if (options.nStartUp != 0) OneShortcut(Indicator::Startup, m_in.strStartupFolder, link);
    if (options.nDesktop != 0) OneShortcut(Indicator::Desktop, m_in.strDesktopFolder, link);
    if (options.nProgram == 0) return;
    if (m_bKeepRecord) {  // they stay with the files they start
      m_os.EnableIndicator(Indicator::Group);
      Pause();
      return;
    }
    // The group folder must lie in the programs folder, and its links in it.
    std::string folder;
    bool bGroupOk = JudgeBelow(m_in.strProgramsFolder + group, m_in.strProgramsFolder, folder);
    std::string prefix = bGroupOk ? folder + "\\" : std::string();
    for (int j = 1; j < m_in.nGroupFiles; ++j) {
      std::string name = setupinfo::GroupLinkName(m_in.pGroupShortcutNames[j], m_in.pGroupFiles[j]) + ".lnk";
      if (!DeleteShortcut(prefix, name)) Add(m_counts.nShortcuts, 1);
    }
    m_os.EnableIndicator(Indicator::Group);
    Pause();
    if (!DeleteShortcut(prefix, link)) Add(m_counts.nShortcuts, 1);
    // a group named after a folder of the system's (PrgGroup=Startup) is that folder: its
    // links go, the folder stays
    if (bGroupOk && (m_os.IsSystemFolder(folder) || RemoveFolder(folder))) m_os.CheckIndicator(Indicator::Group);
    else Add(m_counts.nShortcuts, 1);
  }

  void OneShortcut(Indicator which, const std::string& folder, const std::string& link) {
    m_os.EnableIndicator(which);
    Pause();
    if (m_bKeepRecord) return;
    if (DeleteShortcut(folder, link)) m_os.CheckIndicator(which);
    else Add(m_counts.nShortcuts, 1);
  }

  void RegistryEntry() {
    m_os.EnableIndicator(Indicator::Registry);
    Pause();
    if (m_in.strExeTitle.empty() || m_bKeepRecord) return;
    if (m_os.DeleteUninstallKey(setupinfo::UninstallKey(m_in.strExeTitle))) m_os.CheckIndicator(Indicator::Registry);
    else Add(m_counts.nFiles, 1);
  }

  RemovalCounts m_counts;

 private:
  const RemovalInputs& m_in;
  IRemovalOs& m_os;
  int m_nPause;
  bool m_bKeepRecord = false;  // a listed file stays: the record stays with it
  std::vector<std::pair<std::string, unsigned long>> m_lowered;  // shared counts lowered, as they were
};

}  // namespace

RemovalCounts RunRemovalSteps(const RemovalInputs& in, const CProfileSection& tree, int nSTime, IRemovalOs& os) {
  CRun run(in, nSTime, os);
  run.ApplicationFiles(tree);
  RemovalOptions options = os.ReadOptions();  // while Setup.ini is still there
  run.SetupInfoAndFolder();
  run.Shortcuts(options);
  run.RegistryEntry();
  os.ReleaseFolder(in.strSetupDir, "");
  return run.m_counts;
}

// ---- boxes ----------------------------------------------------------------------

namespace {
const char kLeftFilesNote[] = "\n\nなお､ｲﾝｽﾄｰﾙ後に作成された幾つかのﾌｧｲﾙは削除されていません。";
}

BoxText ResultBox(const RemovalCounts& counts) {
  if (counts.nFiles > 0)
    return {"ｱﾝｲﾝｽﾄｰﾙの異常終了",
            "☆ｱﾝｲﾝｽﾄｰﾙを完全には行えませんでした。(err:" + std::to_string(counts.nFiles) +
                ")\n\nｱﾌﾟﾘｹｰｼｮﾝが起動中か､あるいは既に削除されているか"
                "\nまたはﾌｧｲﾙの保存場所が移動された可能性があります。"
                "\n存置されたﾌｧｲﾙがある場合は手動で削除して下さい。" +
                kLeftFilesNote,
            BoxIcon::Exclamation};
  if (counts.nShortcuts > 0)
    return {"ｱﾝｲﾝｽﾄｰﾙの終了",
            "☆ｱﾝｲﾝｽﾄｰﾙ対象のｼｮｰﾄｶｯﾄﾌｧｲﾙが見つかりませんでした。(err:" + std::to_string(counts.nShortcuts) +
                ")\n\nﾌﾟﾛｸﾞﾗﾑｸﾞﾙｰﾌﾟやﾃﾞｨｽｸﾄｯﾌﾟ等に登録されたｼｮｰﾄｶｯﾄﾌｧｲﾙが、"
                "\n既に削除されているか、あるいは移動されている可能性"
                "\nがあります。(特に支障はありません)" +
                kLeftFilesNote,
            BoxIcon::Question};
  if (counts.nFolders > 0)
    return {"ｱﾝｲﾝｽﾄｰﾙの終了/その他情報",
            "☆ｱﾝｲﾝｽﾄｰﾙが完了しました。\n  ｲﾝｽﾄｰﾙ後に作成された幾つかのﾌｧｲﾙは削除されていません。",
            BoxIcon::Exclamation};
  return {"ｱﾝｲﾝｽﾄｰﾙの終了", "☆ｱﾝｲﾝｽﾄｰﾙが完了しました。", BoxIcon::Information};
}

BoxText CancelBox() {
  return {"ｱﾝｲﾝｽﾄｰﾙのｷｬﾝｾﾙ", "☆ｱﾝｲﾝｽﾄｰﾙはｷｬﾝｾﾙされました。", BoxIcon::Information};
}

BoxText SetupInfoMissingBox() {
  return {"☆ｾｯﾄｱｯﾌﾟ情報登録欠落通知...",
          "☆ｾｯﾄｱｯﾌﾟ情報ﾌｧｲﾙ《 Setup.ini 》等を正しく呼出しできません。\n\n"
          "　　機器の接続状況等を確認してください。処理を中断します。",
          BoxIcon::Stop};
}

}  // namespace uninstall
