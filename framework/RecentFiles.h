// The recent-file list: the last opened or saved documents, newest first, kept in
// the application's profile and shown in the File menu.
#pragma once
#include <string>
#include <vector>

class CCmdUI;

class CRecentFileList {
 public:
  // nStart: the number of the first entry as shown (0 shows "&1"); entries are read
  // and written as section\File1..FileN.
  CRecentFileList(unsigned nStart, const char* lpszSection, const char* lpszEntryPrefix, int nSize,
                  int nMaxDispLen = 30);

  int GetSize() const { return static_cast<int>(m_arrNames.size()); }
  const std::string& operator[](int i) const { return m_arrNames[static_cast<size_t>(i)]; }
  // Puts a full path at the top; an entry naming the same file (in any letter case)
  // moves up instead of appearing twice; the oldest entry falls off the end.
  void Add(const std::string& pathName);
  void Remove(int i);
  bool IsEmpty() const { return m_arrNames.empty() || m_arrNames[0].empty(); }
  std::string GetDisplayName(int i, const std::string& curDir) const;
  std::string EntryName(int i) const { return m_strEntryPrefix + std::to_string(i + 1); }

  // Win32 half: the profile and the menu.
  void ReadList();
  void WriteList() const;
  void UpdateMenu(CCmdUI* pCmdUI);

  std::string m_strSectionName;
  std::string m_strEntryPrefix;
  std::string m_strOriginal;  // the menu item's own text, shown while the list is empty
  unsigned m_nStart;
  int m_nMaxDisplayLength;
  std::vector<std::string> m_arrNames;  // always GetSize() entries; unused ones are ""
};
