#include "RemovalLog.h"

namespace uninstall {

namespace {
const char* Outcome(bool ok) { return ok ? quietrun::kOk : quietrun::kFailed; }
}  // namespace

bool CLoggedRemovalOs::DeleteFile(const std::string& path) {
  bool ok = m_os.DeleteFile(path);
  Log("delete", path, Outcome(ok));
  return ok;
}

bool CLoggedRemovalOs::RemoveFolder(const std::string& path) {
  bool ok = m_os.RemoveFolder(path);
  Log("remove folder", path, Outcome(ok));
  return ok;
}

bool CLoggedRemovalOs::WriteSharedCount(const std::string& valueName, unsigned long count) {
  bool ok = m_os.WriteSharedCount(valueName, count);
  Log("use count " + std::to_string(count), valueName, Outcome(ok));
  return ok;
}

bool CLoggedRemovalOs::DeleteSharedCount(const std::string& valueName) {
  bool ok = m_os.DeleteSharedCount(valueName);
  Log("use count removed", valueName, Outcome(ok));
  return ok;
}

bool CLoggedRemovalOs::DeleteUninstallKey(const std::string& subKey) {
  bool ok = m_os.DeleteUninstallKey(subKey);
  Log("registry", "HKEY_LOCAL_MACHINE\\" + subKey, Outcome(ok));
  return ok;
}

bool CLoggedRemovalOs::NoteRecordKept() {
  bool ok = m_os.NoteRecordKept();
  Log("kept for the next removal", "Setup.ini", Outcome(ok));
  return ok;
}

}  // namespace uninstall
