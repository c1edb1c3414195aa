// A quiet removal's log: every deletion, folder removal, use count and key change of
// the run as one line with its outcome, on its way to the real system (no log: none).
// Portable.
#pragma once
#include "QuietRun.h"
#include "Removal.h"

namespace uninstall {

class CLoggedRemovalOs : public IRemovalOs {
 public:
  CLoggedRemovalOs(IRemovalOs& os, quietrun::CQuietLog* pLog) : m_os(os), m_pLog(pLog) {}

  void EnableIndicator(Indicator which) override { m_os.EnableIndicator(which); }
  void CheckIndicator(Indicator which) override { m_os.CheckIndicator(which); }
  void Pause(int nMilliseconds) override { m_os.Pause(nMilliseconds); }
  void SetNormalAttributes(const std::string& path) override { m_os.SetNormalAttributes(path); }
  bool DeleteFile(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  bool HasSystemAttribute(const std::string& path) override { return m_os.HasSystemAttribute(path); }
  bool Exists(const std::string& path) override { return m_os.Exists(path); }
  unsigned long Attributes(const std::string& path) override { return m_os.Attributes(path); }
  Hold HoldFolder(const std::string& root, const std::string& relative) override {
    return m_os.HoldFolder(root, relative);
  }
  void ReleaseFolder(const std::string& root, const std::string& relative) override {
    m_os.ReleaseFolder(root, relative);
  }
  bool ReadSharedCount(const std::string& valueName, unsigned long& count) override {
    return m_os.ReadSharedCount(valueName, count);
  }
  bool WriteSharedCount(const std::string& valueName, unsigned long count) override;
  bool DeleteSharedCount(const std::string& valueName) override;
  RemovalOptions ReadOptions() override { return m_os.ReadOptions(); }
  bool DeleteUninstallKey(const std::string& subKey) override;
  bool NoteRecordKept() override;
  bool IsSystemFolder(const std::string& path) override { return m_os.IsSystemFolder(path); }

 private:
  IRemovalOs& m_os;
  quietrun::CQuietLog* m_pLog;

  void Log(const std::string& step, const std::string& path, const char* outcome) {
    if (m_pLog) m_pLog->Step(step, path, outcome);
  }
};

}  // namespace uninstall
