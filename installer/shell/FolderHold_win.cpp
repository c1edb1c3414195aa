#include "FolderHold_win.h"

#include <vector>

#include "Mbcs.h"
#include "ProtectedFolders_win.h"

namespace {

// Reading the folder counts as a use that delete sharing is checked against (an open
// for attributes alone would not keep a rename out); a link is opened as itself.
HANDLE OpenHeld(const std::string& path, DWORD flags) {
  return ::CreateFileA(path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
}

// The names of `relative` ("a\b"), level by level (a trail byte may be "\").
std::vector<std::string> Levels(const std::string& relative) {
  std::vector<std::string> levels;
  std::string name;
  for (std::size_t i = 0; i <= relative.size(); ++i) {
    const bool end = i == relative.size();
    if (!end && mbcs::IsLeadByte(static_cast<unsigned char>(relative[i])) && i + 1 < relative.size()) {
      name.append(relative, i++, 2);
      continue;
    }
    if (!end && relative[i] != '\\') {
      name += relative[i];
      continue;
    }
    if (!name.empty()) levels.push_back(name);
    name.clear();
  }
  return levels;
}

}  // namespace

BOOL CHeldFolders::HoldRoot(const std::string& folder) {
  ReleaseAll();
  m_strRoot = folder;
  if (!m_strRoot.empty() && mbcs::FindLastChar(m_strRoot, '\\') == m_strRoot.size() - 1) m_strRoot.pop_back();
  HANDLE h = OpenHeld(m_strRoot, 0);
  if (h == INVALID_HANDLE_VALUE) return FALSE;
  m_held[std::string()] = {h, shell::FinalPathOf(h)};
  return TRUE;
}

CHeldFolders::Result CHeldFolders::Hold(const std::string& relative, bool bMake) {
  if (!m_held.count(std::string())) return kFailed;
  std::string key, parentKey;
  for (const std::string& name : Levels(relative)) {
    key += (key.empty() ? "" : "\\") + mbcs::ToLower(name);
    if (!m_held.count(key)) {
      Result r = HoldLevel(key, parentKey, name, bMake);
      if (r != kHeld) return r;
    }
    parentKey = key;
  }
  return kHeld;
}

CHeldFolders::Result CHeldFolders::HoldLevel(const std::string& key, const std::string& parentKey,
                                             const std::string& name, bool bMake) {
  const std::string path = m_strRoot + "\\" + key.substr(0, key.size() - name.size()) + name;
  HANDLE h = OpenHeld(path, FILE_FLAG_OPEN_REPARSE_POINT);
  if (h == INVALID_HANDLE_VALUE && bMake && ::CreateDirectoryA(path.c_str(), nullptr))
    h = OpenHeld(path, FILE_FLAG_OPEN_REPARSE_POINT);
  if (h == INVALID_HANDLE_VALUE) return kFailed;
  BY_HANDLE_FILE_INFORMATION info;
  if (!::GetFileInformationByHandle(h, &info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ::CloseHandle(h);
    return kFailed;
  }
  // a link opened as itself shows so; where one is followed all the same (Wine), it
  // shows by leading somewhere other than into the folder above
  Held held = {h, shell::FinalPathOf(h)};
  const std::string& parentFinal = m_held[parentKey].strFinal;
  bool link = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  if (!link && !held.strFinal.empty() && !parentFinal.empty())
    link = shell::ComparableFolder(held.strFinal) != shell::ComparableFolder(parentFinal + "\\" + name);
  if (link) {
    ::CloseHandle(h);
    return kLink;
  }
  m_held[key] = held;
  return kHeld;
}

void CHeldFolders::Release(const std::string& relative) {
  std::string key;
  for (const std::string& level : Levels(relative)) key += (key.empty() ? "" : "\\") + mbcs::ToLower(level);
  if (key.empty()) return;
  for (auto it = m_held.lower_bound(key); it != m_held.end() && it->first.compare(0, key.size(), key) == 0;) {
    if (it->first.size() > key.size() && it->first[key.size()] != '\\') {
      ++it;
      continue;
    }
    ::CloseHandle(it->second.h);
    it = m_held.erase(it);
  }
}

void CHeldFolders::ReleaseAll() {
  for (auto& held : m_held) ::CloseHandle(held.second.h);
  m_held.clear();
}
