// The recent-file list in the profile and in the File menu.
#include "AfxDoc.h"

void CRecentFileList::ReadList() {
  CWinApp* pApp = AfxGetApp();
  if (!pApp) return;
  for (int i = 0; i < GetSize(); ++i)
    m_arrNames[static_cast<size_t>(i)] = pApp->GetProfileString(m_strSectionName.c_str(), EntryName(i).c_str(), "");
}

void CRecentFileList::WriteList() const {
  CWinApp* pApp = AfxGetApp();
  if (!pApp) return;
  for (int i = 0; i < GetSize(); ++i) {
    const std::string& name = m_arrNames[static_cast<size_t>(i)];
    // an unused entry is removed rather than left empty
    pApp->WriteProfileString(m_strSectionName.c_str(), EntryName(i).c_str(), name.empty() ? nullptr : name.c_str());
  }
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI) {
  if (!pCmdUI->m_hMenu) {  // asked only whether the first entry may be chosen
    pCmdUI->Enable(!IsEmpty());
    return;
  }
  HMENU hMenu = pCmdUI->m_hMenu;
  if (m_strOriginal.empty()) {
    char text[256] = "";
    ::GetMenuStringA(hMenu, pCmdUI->m_nID, text, sizeof text, MF_BYCOMMAND);
    m_strOriginal = text;
  }
  for (int i = 0; i < GetSize(); ++i) ::DeleteMenu(hMenu, pCmdUI->m_nID + static_cast<UINT>(i), MF_BYCOMMAND);
  if (IsEmpty()) {
    ::InsertMenuA(hMenu, pCmdUI->m_nIndex, MF_BYPOSITION | MF_STRING | MF_GRAYED, pCmdUI->m_nID, m_strOriginal.c_str());
    return;
  }
  char cur[MAX_PATH + 2] = "";
  DWORD n = ::GetCurrentDirectoryA(MAX_PATH, cur);
  std::string curDir(cur, n < MAX_PATH ? n : 0);
  if (!curDir.empty() && curDir.back() != '\\') curDir += '\\';
  UINT index = pCmdUI->m_nIndex;
  UINT id = pCmdUI->m_nID;
  for (int i = 0; i < GetSize(); ++i) {
    if (m_arrNames[static_cast<size_t>(i)].empty()) break;
    std::string text = "&" + std::to_string(static_cast<unsigned>(i) + 1 + m_nStart) + " " + GetDisplayName(i, curDir);
    ::InsertMenuA(hMenu, index++, MF_BYPOSITION | MF_STRING, id++, text.c_str());
  }
  pCmdUI->m_nIndex = index - 1;  // the caller goes on after the last entry
  pCmdUI->m_bEnableChanged = TRUE;
}
