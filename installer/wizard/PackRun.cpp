#include "PackRun.h"

#include "FolderRules.h"
#include "Mbcs.h"

namespace packrun {

const char* const kOfferCaption = "ｲﾝｽﾄｰﾙ情報設定の終了/ｲﾝｽﾄｰﾗ作成";

std::string DefaultName(const std::string& exeTitle) { return exeTitle + "-setup.exe"; }

std::string OutputPath(const std::string& text, const std::string& setupDir, const std::string& exeTitle,
                       const std::string& desktopDir) {
  if (!text.empty()) return setupinfo::EndsWithBackslash(text) ? text + DefaultName(exeTitle) : text;
  std::string dir = setupDir;
  if (setupinfo::EndsWithBackslash(dir)) dir.pop_back();
  // the folder above: none for a drive ("D:") or a share ("\\srv\share")
  const std::size_t slash = mbcs::FindLastChar(dir, '\\');
  const bool share = dir.compare(0, 2, "\\\\") == 0;
  const bool root = slash == std::string::npos || (share && slash <= mbcs::FindFirstChar(dir, '\\', 2));
  return (root ? desktopDir : dir.substr(0, slash + 1)) + DefaultName(exeTitle);
}

std::string ResultText(const Result& r) {
  switch (r.outcome) {
    case Outcome::Written:
      return "☆配布ﾌｫﾙﾀﾞを1つのｲﾝｽﾄｰﾗにまとめました。\n\n《 " + r.strOutput +
             " 》\n\nこのﾌｧｲﾙだけを配れば、ﾀﾞｳﾝﾛｰﾄﾞしてそのまま実行できます。";
    case Outcome::NotAuthored:
      return "☆ｾｯﾄｱｯﾌﾟ情報が欠落しているため実行できません...\n\n（注:先に -s ｵﾌﾟｼｮﾝでｲﾝｽﾄｰﾙ情報を設定して下さい。）";
    case Outcome::Damaged:
      return "☆ｾｯﾄｱｯﾌﾟ情報ﾌｧｲﾙ《 Setup.ini 》のﾌｧｲﾙ一覧が異常です。\n\n　　-s ｵﾌﾟｼｮﾝで設定し直して下さい。";
    case Outcome::MissingFile:
      return "☆配布ﾌｧｲﾙ《 " + r.strPath + " 》が見つかりません。\n\n　　-s ｵﾌﾟｼｮﾝで『初期化』し、設定し直して下さい。";
    case Outcome::WriteFailed:
      return "☆ｲﾝｽﾄｰﾗﾌｧｲﾙ《 " + r.strPath +
             " 》を書き込めません。\n\n　　書き込み先とﾃﾞｨｽｸの空き容量を確認して下さい。";
  }
  return std::string();
}

const char* ResultCaption(const Result& r) { return Failed(r) ? "Hanbell/Pack Error!!" : "ｲﾝｽﾄｰﾗ作成の終了"; }

bool Failed(const Result& r) { return r.outcome != Outcome::Written; }

std::string OfferText(const std::string& output) {
  return "☆配布ﾌｫﾙﾀﾞを1つのｲﾝｽﾄｰﾗにまとめますか？\n\n《 " + output +
         " 》\n\n(ﾀﾞｳﾝﾛｰﾄﾞしてそのまま実行できる1つのﾌｧｲﾙです。)";
}

}  // namespace packrun
