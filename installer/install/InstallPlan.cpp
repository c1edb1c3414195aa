#include "InstallPlan.h"

#include "FolderRules.h"
#include "InstallNames.h"
#include "Mbcs.h"
#include "SetupInfo.h"

namespace installplan {

const char* const kOverwriteCaption = "★ｲﾝｽﾄｰﾙ先ﾌｧｲﾙ上書きの確認★";
const char* const kSuccessText = "★ｲﾝｽﾄｰﾙは正常に終了しました。";
const char* const kSuccessRebootText = "★ｲﾝｽﾄｰﾙは正常に終了しました。\n  ｳｲﾝﾄﾞｳｽﾞを再起動しますか？";
const char* const kSuccessCaption = "ｲﾝｽﾄｰﾙ作業の終了";
const char* const kFailureCaption = "ｲﾝｽﾄｰﾙ作業の異常終了";
const char* const kErrorCaption = "Hanbell/Install Error!!";
const char* const kBadFolderText = "ｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞの指定に誤りがあります。";
const char* const kSourceFolderText =
    "☆現在のﾌｫﾙﾀﾞをｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞには指定できません！\n　　『登録先』を別のﾌｫﾙﾀﾞ名に変更してください。";
const char* const kSystemFileCaption = "☆ｲﾝｽﾄｰﾙ先ﾌｧｲﾙの確認！-ｲﾝｽﾄｰﾙ中止-";

namespace {

constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

std::size_t CharWidth(const std::string& s, std::size_t i) {
  return (mbcs::IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
}

// Path components split at "\" and "/" on character boundaries.
std::vector<std::string> Components(const std::string& path) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < path.size();) {
    std::size_t w = CharWidth(path, i);
    if (w == 1 && (path[i] == '\\' || path[i] == '/'))
      parts.emplace_back();
    else
      parts.back().append(path, i, w);
    i += w;
  }
  return parts;
}

// An element of a group or Windows-folder list without the list root's length.
std::string ListRelative(const std::vector<std::string>& list, std::size_t j) {
  std::size_t rootLen = list[0].size();
  return list[j].size() > rootLen ? list[j].substr(rootLen) : std::string();
}

bool IsFolderElement(const std::string& element) { return setupinfo::EndsWithBackslash(element); }

bool IsWindowsFolderFile(const std::string& relative, const std::vector<std::string>& systemFiles,
                         const std::string& relativeExe) {
  if (mbcs::IEquals(relative, relativeExe)) return false;  // the executable is never transferred
  for (std::size_t j = 1; j < systemFiles.size(); ++j)
    if (!IsFolderElement(systemFiles[j]) && mbcs::IEquals(relative, ListRelative(systemFiles, j))) return true;
  return false;
}

// A name ending in "." or " ", which Windows drops when it makes the file or folder.
bool HasShortenedName(const std::string& relative) {
  for (const std::string& part : Components(relative))
    if (!part.empty() && (part.back() == '.' || part.back() == ' ')) return true;
  return false;
}

// The installer's own files in the Windows folder are never replaced by a listed file.
bool IsInstallerFile(const std::string& name) {
  return mbcs::IEquals(name, setupinfo::kInstallerCopy) || mbcs::IEquals(name, setupinfo::kInstallerStaging) ||
         mbcs::IEquals(name, setupinfo::kSetupDirectoryFile);
}

}  // namespace

// ---- overwrite rule ---------------------------------------------------------------

OverwriteStep DecideOverwrite(const FileStamp& existing, const FileStamp& fresh, bool ask) {
  if (!existing.bKnown) return OverwriteStep::Copy;
  if (!fresh.bKnown) return OverwriteStep::Keep;
  if (fresh.nSeconds >= existing.nSeconds) return OverwriteStep::Copy;
  return ask ? OverwriteStep::Ask : OverwriteStep::Keep;
}

std::string OverwriteQuestionText(const std::string& existingFile) {
  return "ｾｯﾄｱｯﾌﾟ先ﾌｫﾙﾀﾞに最新日付のﾌｧｲﾙ《 " + FileNameOf(existingFile) +
         " 》があります。\nこのﾌｧｲﾙを上書きせずに残しておきますか？(推奨)\n\n"
         "今後このﾁｪｯｸを出さないで全て上書きするには『 ｷｬﾝｾﾙ 』ﾎﾞﾀﾝを押してください。";
}

int OverwriteAnswer(int buttonId) {
  if (buttonId == kIdYes) return kKeep;
  if (buttonId == kIdNo) return kCopy;
  return kCopyAll;
}

// ---- tally and report ---------------------------------------------------------------

std::string CInstallTally::ReportText() const {
  std::string text = "★ｲﾝｽﾄｰﾙを正常におこなえませんでした(Err: " + std::to_string(m_nCount) + " )\n";
  if (Has(kFailCopy))
    text += "    ・ｲﾝｽﾄｰﾙﾌｧｲﾙをｺﾋﾟｰ出来ません。\n旧ﾊﾞｰｼﾞｮﾝのｱﾌﾟﾘｹｰｼｮﾝが起動していませんか？\n\n"
            "(☆)解決しない場合はWindowsを再起動してみてください。\n";
  if (Has(kFailSettings)) text += "    ・Setup.iniﾌｧｲﾙが異常です。\n";
  if (Has(kFailRegistry)) text += "    ・ﾚｼﾞｽﾄﾘﾃﾞｰﾀﾍﾞｰｽをｱｸｾｽできません。\n";
  if (Has(kFailOption)) text += "    ・ｵﾌﾟｼｮﾝ設定の一部を実行できませんでした。\n";
  return text;
}

std::string SystemFileText(const std::string& destName) {
  return "転送先のﾌｧｲﾙにｳｲﾝﾄﾞｳｽﾞｼｽﾃﾑﾌｧｲﾙ<" + destName + ">が含まれています！\nｲﾝｽﾄｰﾙ先及び転送ﾌｧｲﾙ等を確認してください。";
}

// ---- names and safety -------------------------------------------------------------

std::string FileNameOf(const std::string& path) { return Components(path).back(); }

bool IsInsideName(const std::string& relative) { return setupinfo::IsInsideName(relative); }

int StepDelay(int parsed) { return parsed < 0 ? 0 : parsed; }

bool IsRealListCount(int count) { return count >= 0 && count <= kMaxTreeEntries; }

int InstallListCapacity(int baseCapacity, int largestStoredCount) {
  int need = (largestStoredCount < kMaxListEntries ? largestStoredCount : kMaxListEntries) + 1;
  return need > baseCapacity ? need : baseCapacity;
}

// ---- the plan -----------------------------------------------------------------------

std::string ExeLinkPath(const std::string& folder, const std::string& shortcutName) {
  if (folder.empty() || !IsInsideName(shortcutName)) return std::string();
  return folder + shortcutName;
}

std::string GroupLinkPath(const std::string& programsFolder, const std::string& groupFolder,
                          const std::string& name) {
  if (programsFolder.empty() || !IsInsideName(groupFolder) || !IsInsideName(name)) return std::string();
  return programsFolder + groupFolder + "\\" + name;
}

InstallPlan MakePlan(const PlanInputs& in, int count, const std::vector<StoredEntry>& stored) {
  InstallPlan plan;
  plan.strInstalledIni = in.strInstallDir + setupinfo::kFileName;

  plan.strRelativeExe = setupinfo::RelativeForm(in.strSelect, in.strTopRoot);
  plan.bSelectMissing = in.strSelect.empty() || !IsInsideName(plan.strRelativeExe);
  if (!plan.bSelectMissing) {
    plan.strExeTitle = setupinfo::ExeTitle(in.strSelect);
    plan.strInstalledExe = in.strInstallDir + plan.strRelativeExe;
    plan.strGroupFolder = setupinfo::GroupFolderName(in.strPrgGroup, plan.strExeTitle);
    plan.strShortcutName = setupinfo::ShortcutName(in.strPrgShortCut, plan.strExeTitle);
  }

  plan.bListDamaged = count == 0 || !IsRealListCount(count);
  plan.nCount = plan.bListDamaged ? 0 : count;
  const int present = stored.size() < static_cast<std::size_t>(plan.nCount) ? static_cast<int>(stored.size()) : plan.nCount;
  if (plan.nCount > 0) plan.nMissing = plan.nCount - (present > 1 ? present : 1);
  // A group whose folder cannot be made gets no shortcuts; the program-group option
  // then tells of it.
  const bool groupMade = plan.bSelectMissing || !plan.strGroupFolder.empty();

  for (int i = 1; i < present; ++i) {
    EntryPlan e;
    setupinfo::TreeEntry parsed;
    const StoredEntry& s = stored[static_cast<std::size_t>(i)];
    // A cut entry may have lost digits of its attribute word: like one without "|".
    bool readable = !s.bOverLong && setupinfo::ParseTreeEntry(s.strValue, parsed);
    if (readable) e.strRelative = setupinfo::RelativeForm(parsed.strPath, in.strTopRoot);

    // which group file and whether it goes into the Windows folder
    if (readable && !in.strProgramsFolder.empty() && groupMade)
      for (std::size_t j = 1; j < in.groupFiles.size(); ++j)
        if (mbcs::IEquals(e.strRelative, ListRelative(in.groupFiles, j))) e.nGroup = static_cast<int>(j);
    e.bWindowsFolder = readable && IsWindowsFolderFile(e.strRelative, in.systemFiles, plan.strRelativeExe);

    const bool folder = (parsed.dwAttributes & 0x10) != 0;
    e.strDestName = e.bWindowsFolder ? FileNameOf(e.strRelative) : e.strRelative;
    // a name the file system would shorten could not be found again by the removal
    bool safe = readable && IsInsideName(e.strRelative) && !HasShortenedName(e.strRelative) &&
                !e.strDestName.empty() &&
                (folder || !FileNameOf(e.strRelative).empty()) && !(e.bWindowsFolder && IsInstallerFile(e.strDestName));
    if (!safe) {
      e.action = EntryAction::Refuse;
      e.nGroup = 0;
      plan.entries.push_back(std::move(e));
      continue;
    }
    e.action = folder ? EntryAction::CreateFolder : EntryAction::CopyFile;
    e.strDest = (e.bWindowsFolder ? in.strWindowsDir : in.strInstallDir) + e.strDestName;
    e.strSource = in.strSetupDir + e.strRelative;
    if (e.nGroup != 0) {
      std::size_t k = static_cast<std::size_t>(e.nGroup);
      std::string given = k < in.groupNames.size() ? in.groupNames[k] : std::string();
      std::string name = setupinfo::GroupLinkName(given, in.groupFiles[k]);
      e.strGroupLink = GroupLinkPath(in.strProgramsFolder, plan.strGroupFolder, name);
    }
    plan.entries.push_back(std::move(e));
  }
  return plan;
}

std::vector<std::string> PathsBelow(const std::string& folder, const std::string& relative) {
  std::vector<std::string> paths;
  std::string path = folder;
  for (const std::string& part : Components(relative)) {
    if (part.empty()) continue;
    if (!paths.empty()) path += "\\";
    path += part;
    paths.push_back(path);
  }
  return paths;
}

std::string ReadMeTarget(const std::string& readMe, const std::string& setupDir, const std::string& installDir,
                         const std::string& windowsDir, const std::vector<std::string>& systemFiles) {
  if (readMe.empty()) return std::string();
  std::string relative = readMe.size() > setupDir.size() ? readMe.substr(setupDir.size()) : std::string();
  std::string base = installDir;
  for (std::size_t j = 1; j < systemFiles.size(); ++j) {
    if (!IsFolderElement(systemFiles[j]) && mbcs::IEquals(ListRelative(systemFiles, j), relative)) {
      base = windowsDir;
      relative = FileNameOf(relative);
      break;
    }
  }
  return IsInsideName(relative) ? base + relative : std::string();
}

// ---- shared files in the Windows folder ---------------------------------------------

std::set<std::string> TransferredNames(const std::vector<std::string>& relativeNames,
                                       const std::vector<std::string>& systemFiles, const std::string& relativeExe) {
  std::set<std::string> names;
  for (const std::string& relative : relativeNames)
    if (IsWindowsFolderFile(relative, systemFiles, relativeExe)) names.insert(mbcs::ToLower(FileNameOf(relative)));
  return names;
}

unsigned long NextUseCount(bool hasCount, unsigned long count, bool existedBefore) {
  if (!hasCount) return existedBefore ? 2 : 1;
  return count == 0xFFFFFFFFul ? count : count + 1;
}

}  // namespace installplan
