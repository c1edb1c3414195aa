// The removal run's system calls: files, folders, the shared-file counts, the
// uninstall key, Setup.ini's options, and the dialog's step indicators.
#pragma once
#include "AfxWin.h"
#include "FolderHold_win.h"
#include "Removal.h"

class CRemovalOs : public uninstall::IRemovalOs {
 public:
  // `hDlg`: the dialog holding the indicators (nullptr: none shown); `iniPath`: the
  // installed Setup.ini.
  CRemovalOs(HWND hDlg, const CString& iniPath) : m_hDlg(hDlg), m_strIniPath(iniPath) {}

  void EnableIndicator(uninstall::Indicator which) override;
  void CheckIndicator(uninstall::Indicator which) override;
  void Pause(int nMilliseconds) override { ::Sleep(static_cast<DWORD>(nMilliseconds)); }
  void SetNormalAttributes(const std::string& path) override;
  bool DeleteFile(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  bool HasSystemAttribute(const std::string& path) override;
  bool Exists(const std::string& path) override;
  unsigned long Attributes(const std::string& path) override;
  Hold HoldFolder(const std::string& root, const std::string& relative) override;
  void ReleaseFolder(const std::string& root, const std::string& relative) override;
  bool ReadSharedCount(const std::string& valueName, unsigned long& count) override;
  bool WriteSharedCount(const std::string& valueName, unsigned long count) override;
  bool DeleteSharedCount(const std::string& valueName) override;
  uninstall::RemovalOptions ReadOptions() override;
  bool DeleteUninstallKey(const std::string& subKey) override;
  bool NoteRecordKept() override;
  bool IsSystemFolder(const std::string& path) override;

  // The control id of an indicator in dialog 132.
  static int IndicatorId(uninstall::Indicator which);

 private:
  HWND m_hDlg;
  CString m_strIniPath;
  CHeldFolders m_held;       // below m_strHeldRoot
  std::string m_strHeldRoot;
  bool m_bRootHeld = false;
};

// The Windows folder with a final backslash.
CString WindowsFolder();

// [Setup] Removal in Setup.ini: 1 when a removal kept the application's record.
constexpr const char* kRemovalKeptKey = "Removal";
