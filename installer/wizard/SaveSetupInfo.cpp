// Saving the authoring: every value of the wizard into Setup.ini, in the order a
// fresh file shows them. The first key is written alone (its result decides whether
// to go on); after it, each run of keys of one section, and each list, is written
// as one section write merged from the file's section, which leaves the same bytes as
// writing the keys one by one (every profile write rewrites the whole file, which is
// long with a big tree).
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "Globals.h"
#include "PackRun_win.h"
#include "ProfileSection_win.h"
#include "SetupInfo_win.h"
#include "SetupWizardDlg.h"
#include "WizardRules.h"

using namespace setupinfo;

namespace {

// Count key first, then the entries, as the key-by-key writes would put them.
void WriteList(const CString& path, const char* section, const char* countKey, const char* prefix,
               const CString* entries, int nCount) {
  std::vector<ProfileWrite> writes;
  writes.reserve(static_cast<size_t>(nCount) + 1);
  writes.emplace_back(countKey, std::to_string(nCount));
  for (int i = 0; i < nCount; ++i) writes.emplace_back(EntryKey(prefix, i), entries[i]);
  WriteSection(path, section, writes);
}

// Display line i of an edit box, without its break. The length the box reports may
// count characters rather than bytes, so the buffer has room for two bytes each.
std::string DisplayLine(const CEdit& edit, int i) {
  int nChars = static_cast<int>(edit.SendMessage(EM_LINELENGTH, edit.SendMessage(EM_LINEINDEX, i)));
  if (nChars <= 0) return std::string();
  std::vector<char> buf(static_cast<size_t>(nChars) * 2 + 2, '\0');
  *reinterpret_cast<WORD*>(buf.data()) = static_cast<WORD>(buf.size() > 0xFFFF ? 0xFFFF : buf.size());
  int n = static_cast<int>(edit.SendMessage(EM_GETLINE, i, reinterpret_cast<LPARAM>(buf.data())));
  if (n < 0) n = 0;
  if (static_cast<size_t>(n) > buf.size()) n = static_cast<int>(buf.size());
  return std::string(buf.data(), static_cast<size_t>(n));
}

const char* Checked(const CButton& box) { return box.GetCheck() == BST_CHECKED ? "1" : "0"; }

}  // namespace

BOOL CSetupWizardDlg::SaveSetupInfo() {
  const CString path = IniPath(g_strSetupDir);
  CString title = m_edtTitle.GetWindowText();
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);  // a read-only file is written too

  // only the first write is checked: when it fails, nothing else is tried
  if (!PutString(path, kSecSetup, "Title", title)) {
    MessageBox(
        "☆ｾｯﾄｱｯﾌﾟ情報ﾌｧｲﾙ《 Setup.ini 》に正しく記録できません。\n\n"
        "　　機器の接続状況等を確認してください。処理を中断します。",
        "☆ｾｯﾄｱｯﾌﾟ情報登録異常通知...", MB_OK | MB_ICONSTOP);
    return FALSE;
  }
  WriteSection(path, kSecSetup, {{"Version", m_edtVersion.GetWindowText()}, {"Name", m_edtCompany.GetWindowText()}});

  // the box's display lines (wrapped lines count), less the last one
  int nDisplay = m_edtCommentary.GetLineCount();
  if (nDisplay > wizardrules::kMaxCommentaryLines + 1) nDisplay = wizardrules::kMaxCommentaryLines + 1;
  std::vector<std::string> display;
  for (int i = 0; i < nDisplay; ++i) display.push_back(DisplayLine(m_edtCommentary, i));
  std::vector<std::string> lines = wizardrules::CommentaryLinesToStore(display);
  WriteList(path, kSecCommentary, "Count", "_t", lines.data(), static_cast<int>(lines.size()));

  m_treeFiles.SaveTree();

  WriteSection(
      path, kSecOption,
      {{"StartUp", Checked(m_chkStartup)}, {"Program", Checked(m_chkProgram)}, {"Desktop", Checked(m_chkDesktop)}});
  WriteSection(path, kSecSetup, {{"Mode", "1"}, {"STime", m_edtDelay.GetWindowText()}});
  WriteSection(path, kSecOption, {{"Reboot", Checked(m_chkReboot)}, {"BlueBack", Checked(m_chkBlueBack)}});

  WriteSection(path, kSecAltitude,
               {{"InstallDir", m_strInstallDir}, {"PrgShortCut", m_strPrgShortCut}, {"PrgGroup", m_strPrgGroup}});
  // the counts never exceed the arrays (they are cut on loading), but the advanced
  // options may set them: stay inside the arrays whatever they say
  auto inArray = [this](int n) { return n < 0 ? 0 : (n > m_nArrayCapacity ? m_nArrayCapacity : n); };
  WriteList(path, kSecGroup, "Files", "_g", m_pGroupFiles, inArray(m_nGroupFiles));
  WriteList(path, kSecGrpSC, "Files", "_c", m_pGroupShortcutNames, inArray(m_nGroupShortcuts));
  WriteList(path, kSecSystem, "Files", "_s", m_pSystemFiles, inArray(m_nSystemFiles));
  WriteSection(path, kSecAltitude, {{"Execute", std::to_string(m_nExecute)}, {"ReadMe", m_strReadMe}});

  HbBeep();
  MessageBox(
      "☆ｲﾝｽﾄｰﾙ情報を再設定するには、-s ｵﾌﾟｼｮﾝを指定して起動して下さい。\n\n"
      "(他の圧縮ｿﾌﾄを使って、ﾌｫﾙﾀﾞごと自己解凍形式で圧縮してね！)",
      "ｲﾝｽﾄｰﾙ情報設定の終了/その他情報", MB_OK | MB_ICONINFORMATION);
  return TRUE;
}

// The folder packed into one file for downloading, when the author wants it: the
// install form's bar shows the pack where the delay row and the two options stood.
void CSetupWizardDlg::OfferPack() {
  const CString output = PackOutputPath(g_strSetupDir, "");
  HbBeep();
  if (MessageBox(packrun::OfferText(output).c_str(), packrun::kOfferCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  for (CWnd* w : std::initializer_list<CWnd*>{&m_stcDelayLabel, &m_edtDelay, &m_chkReboot, &m_chkBlueBack})
    w->ShowWindow(SW_HIDE);
  constexpr int kRange = 1000;
  m_prgInstall.SendMessage(PBM_SETRANGE32, 0, kRange);
  m_prgInstall.SendMessage(PBM_SETPOS, 0);
  m_prgInstall.ShowWindow(SW_SHOW);
  DWORD last = ::GetTickCount();
  packrun::Result r = PackDistribution(g_strSetupDir, GetModulePath(), "", [&](std::uint64_t done, std::uint64_t total) {
    if (total == 0 || ::GetTickCount() - last < 30) return;  // a redraw costs more than a block
    last = ::GetTickCount();
    m_prgInstall.SendMessage(PBM_SETPOS, static_cast<WPARAM>(done * kRange / total));
    PumpPendingMessage();
  });
  if (!packrun::Failed(r)) m_prgInstall.SendMessage(PBM_SETPOS, kRange);
  HbBeep();
  MessageBox(packrun::ResultText(r).c_str(), packrun::ResultCaption(r),
             MB_OK | (packrun::Failed(r) ? MB_ICONSTOP : MB_ICONINFORMATION));
}
