#include "RecentFiles.h"

#include "Mbcs.h"
#include "SdiText.h"

CRecentFileList::CRecentFileList(unsigned nStart, const char* lpszSection, const char* lpszEntryPrefix, int nSize,
                                 int nMaxDispLen)
    : m_strSectionName(lpszSection),
      m_strEntryPrefix(lpszEntryPrefix),
      m_nStart(nStart),
      m_nMaxDisplayLength(nMaxDispLen),
      m_arrNames(static_cast<size_t>(nSize > 0 ? nSize : 0)) {}

void CRecentFileList::Add(const std::string& pathName) {
  if (m_arrNames.empty() || pathName.empty()) return;
  size_t i = 0;
  while (i + 1 < m_arrNames.size() && !mbcs::IEquals(m_arrNames[i], pathName)) ++i;
  // i is the entry to drop: the same file, or the oldest
  for (; i > 0; --i) m_arrNames[i] = m_arrNames[i - 1];
  m_arrNames[0] = pathName;
}

void CRecentFileList::Remove(int i) {
  if (i < 0 || i >= GetSize()) return;
  m_arrNames.erase(m_arrNames.begin() + i);
  m_arrNames.push_back(std::string());
}

std::string CRecentFileList::GetDisplayName(int i, const std::string& curDir) const {
  if (i < 0 || i >= GetSize() || m_arrNames[static_cast<size_t>(i)].empty()) return std::string();
  return sdi::RecentDisplayName(m_arrNames[static_cast<size_t>(i)], curDir, static_cast<size_t>(m_nMaxDisplayLength));
}
