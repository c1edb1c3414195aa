#include "RemovalOs_win.h"

#include "InstallNames.h"
#include "ProtectedFolders_win.h"
#include "SetupInfo_win.h"
#include "resource.h"

using uninstall::Indicator;

int CRemovalOs::IndicatorId(Indicator which) {
  switch (which) {
    case Indicator::Files: return IDC_UNINSTALL_FILES;
    case Indicator::Folder: return IDC_UNINSTALL_FOLDER;
    case Indicator::Startup: return IDC_UNINSTALL_STARTUP;
    case Indicator::Desktop: return IDC_UNINSTALL_DESKTOP;
    case Indicator::Group: return IDC_UNINSTALL_GROUP;
    case Indicator::Registry: return IDC_UNINSTALL_REGISTRY;
  }
  return 0;
}

void CRemovalOs::EnableIndicator(Indicator which) {
  if (m_hDlg) ::EnableWindow(::GetDlgItem(m_hDlg, IndicatorId(which)), TRUE);
}

void CRemovalOs::CheckIndicator(Indicator which) {
  if (m_hDlg) ::SendDlgItemMessageA(m_hDlg, IndicatorId(which), BM_SETCHECK, 1, 0);
}

void CRemovalOs::SetNormalAttributes(const std::string& path) {
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The shell (and a virus scanner) may hold a file it has just seen open for a moment,
// shortcuts on the desktop above all: a deletion that meets such a share is tried again
// a few times before it counts as failed.
bool CRemovalOs::DeleteFile(const std::string& path) {
  for (int attempt = 0;; ++attempt) {
    if (::DeleteFileA(path.c_str())) return true;
    if (::GetLastError() != ERROR_SHARING_VIOLATION || attempt == 5) return false;
    ::Sleep(50);
  }
}

bool CRemovalOs::RemoveFolder(const std::string& path) { return ::RemoveDirectoryA(path.c_str()) != FALSE; }

bool CRemovalOs::HasSystemAttribute(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_SYSTEM) != 0;
}

bool CRemovalOs::Exists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

unsigned long CRemovalOs::Attributes(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes == INVALID_FILE_ATTRIBUTES ? uninstall::kNoAttributes : attributes;
}

CRemovalOs::Hold CRemovalOs::HoldFolder(const std::string& root, const std::string& relative) {
  if (root != m_strHeldRoot || !m_bRootHeld) {
    if (root == m_strHeldRoot && !m_strHeldRoot.empty()) return Hold::Unheld;  // tried already
    m_strHeldRoot = root;
    m_bRootHeld = m_held.HoldRoot(root) != FALSE;
    if (!m_bRootHeld) return Hold::Unheld;
  }
  switch (m_held.Hold(relative, false)) {
    case CHeldFolders::kHeld: return Hold::Held;
    case CHeldFolders::kLink: return Hold::Link;
    case CHeldFolders::kFailed: break;
  }
  return Hold::Unheld;
}

void CRemovalOs::ReleaseFolder(const std::string& root, const std::string& relative) {
  if (root != m_strHeldRoot) return;
  if (!relative.empty()) {
    m_held.Release(relative);
    return;
  }
  m_held.ReleaseAll();
  m_strHeldRoot.clear();
  m_bRootHeld = false;
}

namespace {
HKEY OpenSharedDlls(REGSAM access) {
  HKEY hKey = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, setupinfo::kSharedDllsKey, 0, access, &hKey) != ERROR_SUCCESS) return nullptr;
  return hKey;
}
}  // namespace

bool CRemovalOs::ReadSharedCount(const std::string& valueName, unsigned long& count) {
  HKEY hKey = OpenSharedDlls(KEY_QUERY_VALUE);
  if (!hKey) return false;
  DWORD type = 0, value = 0, cb = sizeof value;
  LONG r = ::RegQueryValueExA(hKey, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &cb);
  ::RegCloseKey(hKey);
  if (r != ERROR_SUCCESS || type != REG_DWORD || cb != sizeof value) return false;
  count = value;
  return true;
}

bool CRemovalOs::WriteSharedCount(const std::string& valueName, unsigned long count) {
  HKEY hKey = OpenSharedDlls(KEY_SET_VALUE);
  if (!hKey) return false;
  DWORD value = count;
  LONG r = ::RegSetValueExA(hKey, valueName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  ::RegCloseKey(hKey);
  return r == ERROR_SUCCESS;
}

bool CRemovalOs::DeleteSharedCount(const std::string& valueName) {
  HKEY hKey = OpenSharedDlls(KEY_SET_VALUE);
  if (!hKey) return false;
  LONG r = ::RegDeleteValueA(hKey, valueName.c_str());
  ::RegCloseKey(hKey);
  return r == ERROR_SUCCESS;
}

uninstall::RemovalOptions CRemovalOs::ReadOptions() {
  uninstall::RemovalOptions o;
  o.nStartUp = setupinfo::GetInt(m_strIniPath, setupinfo::kSecOption, "StartUp", 0);
  o.nDesktop = setupinfo::GetInt(m_strIniPath, setupinfo::kSecOption, "Desktop", 0);
  o.nProgram = setupinfo::GetInt(m_strIniPath, setupinfo::kSecOption, "Program", 0);
  return o;
}

bool CRemovalOs::DeleteUninstallKey(const std::string& subKey) {
  return ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, subKey.c_str()) == ERROR_SUCCESS;
}

bool CRemovalOs::IsSystemFolder(const std::string& path) { return IsProtectedInstallFolder(path) != FALSE; }

bool CRemovalOs::NoteRecordKept() {
  return setupinfo::PutString(m_strIniPath, setupinfo::kSecSetup, kRemovalKeptKey, "1") != FALSE;
}

CString WindowsFolder() {
  char buf[MAX_PATH] = "";
  UINT n = ::GetWindowsDirectoryA(buf, MAX_PATH);
  return CString(buf, n < MAX_PATH ? n : 0) + "\\";
}
