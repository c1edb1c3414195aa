#include "FileTreeCtrl.h"

#include "FileTree.h"
#include "FileTreeIcons.h"
#include "Globals.h"
#include "LoadingDlg.h"
#include "Mbcs.h"
#include "ProfileSection_win.h"
#include "SetupInfo_win.h"

namespace {
inline HTREEITEM H(filetree::Item i) { return reinterpret_cast<HTREEITEM>(const_cast<void*>(i)); }
inline filetree::Item I(HTREEITEM h) { return h; }
}  // namespace

// The control seen through the tree rules' interface.
class CFileTreeAdapter : public filetree::IBuildTree {
 public:
  explicit CFileTreeAdapter(CFileTreeCtrl& tree) : m_tree(tree) {}

  filetree::Item GetRoot() const override { return I(m_tree.GetRootItem()); }
  filetree::Item GetFirstChild(filetree::Item i) const override { return I(m_tree.GetChildItem(H(i))); }
  filetree::Item GetNextSibling(filetree::Item i) const override { return I(m_tree.GetNextSiblingItem(H(i))); }
  filetree::Item GetParent(filetree::Item i) const override { return I(m_tree.GetParentItem(H(i))); }
  std::string GetLabel(filetree::Item i) const override {
    FileTreeItemData* d = Data(i);
    return d ? d->strSortKey.substr(3) : m_tree.GetItemText(H(i));
  }
  unsigned long GetAttributes(filetree::Item i) const override {
    FileTreeItemData* d = Data(i);
    return d ? d->dwAttributes : 0;
  }

  bool ListFolder(const std::string& folder, std::vector<filetree::DirEntry>& entries) override {
    m_strListed = folder;
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((folder + "*.*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return false;
    do {
      entries.push_back({fd.cFileName, fd.dwFileAttributes});
    } while (::FindNextFileA(h, &fd));
    ::FindClose(h);
    return true;
  }

  filetree::Item InsertItem(const std::string& fullPath, const std::string& label, filetree::Item parent,
                            unsigned long attributes) override {
    // Entries just listed exist as listed; others (the root, stored entries) are looked at.
    bool listed = parent && !m_strListed.empty() && fullPath.size() == m_strListed.size() + label.size() &&
                  fullPath.compare(0, m_strListed.size(), m_strListed) == 0;
    return I(m_tree.InsertListedItem(fullPath, label, parent ? H(parent) : TVI_ROOT, attributes, listed));
  }

  void SortChildren(filetree::Item parent) override {
    TVSORTCB sort = {};
    sort.hParent = H(parent);
    sort.lpfnCompare = &CFileTreeCtrl::CompareItems;
    sort.lParam = 0;
    m_tree.SendMessage(TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
  }

  // One pending message every few milliseconds keeps the windows alive; a look at the
  // queue for every item would cost more than the listing itself.
  void PumpMessages() override {
    DWORD now = ::GetTickCount();
    if (now - m_dwLastPump < kPumpIntervalMs) return;
    m_dwLastPump = now;
    PumpPendingMessage();
  }
  void BeginProgress(unsigned long limit) override {
    if (g_pLoadingDlg) g_pLoadingDlg->BeginProgress(static_cast<unsigned int>(limit), 1);
  }
  void AdvanceProgress() override {
    if (g_pLoadingDlg) g_pLoadingDlg->AdvanceProgress();
  }
  void ClearAll() override {
    m_lastItem = nullptr;  // handles may come back for new items
    m_tree.ClearTree();
  }

 private:
  // Label and attributes are asked one after the other; each look-up is a message to the
  // control, which is most of what walking the tree costs.
  FileTreeItemData* Data(filetree::Item i) const {
    if (i != m_lastItem) {
      m_lastData = m_tree.GetData(H(i));
      m_lastItem = i;
    }
    return m_lastData;
  }
  mutable filetree::Item m_lastItem = nullptr;
  mutable FileTreeItemData* m_lastData = nullptr;
  static constexpr DWORD kPumpIntervalMs = 10;
  CFileTreeCtrl& m_tree;
  std::string m_strListed;  // the folder listed last
  DWORD m_dwLastPump = ::GetTickCount() - kPumpIntervalMs;
};

CFileTreeCtrl::CFileTreeCtrl() : m_nFiles(0) {}

CFileTreeCtrl::~CFileTreeCtrl() = default;

FileTreeItemData* CFileTreeCtrl::GetData(HTREEITEM hItem) const {
  if (!hItem) return nullptr;
  return reinterpret_cast<FileTreeItemData*>(GetItemData(hItem));
}

HTREEITEM CFileTreeCtrl::InsertListedItem(const CString& strPath, const CString& strLabel, HTREEITEM hParent,
                                          DWORD dwAttributes, bool bListed) {
  CString label = strLabel;
  // One trailing "\" goes; a name ending in a character whose trail byte is 0x5C keeps it.
  if (!label.empty() && mbcs::FindLastChar(label, '\\') == label.size() - 1) label.erase(label.size() - 1);
  filetree::IconInfo icon;
  if (!filetree::LookUpIcon(strPath, dwAttributes, bListed, icon)) return nullptr;  // no icon: left out
  // The system list is the same for every item; the control keeps it once given.
  if (reinterpret_cast<HIMAGELIST>(SendMessage(TVM_GETIMAGELIST, TVSIL_NORMAL)) != icon.hImageList)
    SetImageList(icon.hImageList, TVSIL_NORMAL);
  m_itemData.push_back(std::unique_ptr<FileTreeItemData>(
      new FileTreeItemData{filetree::SortKey(label, dwAttributes), dwAttributes}));
  TVINSERTSTRUCTA is = {};
  is.hParent = hParent;
  is.hInsertAfter = TVI_LAST;
  is.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  is.item.pszText = const_cast<char*>(label.c_str());
  is.item.iImage = icon.nIcon;
  is.item.iSelectedImage = icon.nSelectedIcon;
  is.item.lParam = reinterpret_cast<LPARAM>(m_itemData.back().get());
  HTREEITEM h = CTreeCtrl::InsertItem(&is);
  if (!h) m_itemData.pop_back();
  return h;
}

HTREEITEM CFileTreeCtrl::InsertFileItem(const CString& strPath, const CString& strLabel, HTREEITEM hParent,
                                        DWORD dwAttributes) {
  return InsertListedItem(strPath, strLabel, hParent, dwAttributes, false);
}

int CALLBACK CFileTreeCtrl::CompareItems(LPARAM lParam1, LPARAM lParam2, LPARAM) {
  const FileTreeItemData* a = reinterpret_cast<const FileTreeItemData*>(lParam1);
  const FileTreeItemData* b = reinterpret_cast<const FileTreeItemData*>(lParam2);
  if (!a || !b) return 0;
  return filetree::CompareSortKeys(a->strSortKey, b->strSortKey);
}

int CFileTreeCtrl::FillFolder(HTREEITEM hParent, const CString& strFolder) {
  CFileTreeAdapter adapter(*this);
  return filetree::FillFolder(adapter, I(hParent), strFolder);
}

void CFileTreeCtrl::InsertPath(const CString& strPath, DWORD dwAttributes) {
  CFileTreeAdapter adapter(*this);
  filetree::InsertStoredEntry(adapter, strPath, dwAttributes, g_strSetupDir);
}

int CFileTreeCtrl::BuildTree(const CString& strSelectPath) {
  UINT n = GetCount();
  unsigned int limit = 100;  // a first build has no better estimate
  if (n > 0) {
    ClearTree();
    limit = n;
  }
  if (g_pLoadingDlg) g_pLoadingDlg->BeginProgress(limit, 1);
  CFileTreeAdapter adapter(*this);
  int files = filetree::BuildFromDisk(adapter, g_strSetupDir);
  SelectPath(strSelectPath);
  m_nFiles = files;
  return files;
}

int CFileTreeCtrl::LoadTree() {
  setupinfo::CProfileSection section;
  setupinfo::ReadSection(setupinfo::IniPath(g_strSetupDir), setupinfo::kSecTree, section);
  CFileTreeAdapter adapter(*this);
  filetree::LoadResult r = filetree::LoadStored(adapter, section, g_strSetupDir, g_strTopRoot);
  if (r.nCount == 0) return 0;
  if (!r.strSelect.empty()) SelectPath(r.strSelect);
  m_nFiles = r.nFiles;
  return r.nCount;
}

BOOL CFileTreeCtrl::SaveTree() {
  DWORD attr = 0;
  std::vector<setupinfo::ProfileWrite> writes;
  writes.emplace_back("Select", GetSelectedPath(attr));
  writes.emplace_back("TopRoot", g_strSetupDir);
  CFileTreeAdapter adapter(*this);
  std::vector<std::string> entries = filetree::SaveEntries(adapter);
  for (std::size_t i = 0; i < entries.size(); ++i)
    writes.emplace_back(setupinfo::EntryKey("_f", static_cast<int>(i)), entries[i]);
  writes.emplace_back("Count", std::to_string(entries.size()));
  writes.emplace_back("Files", std::to_string(m_nFiles));
  return setupinfo::WriteSection(setupinfo::IniPath(g_strSetupDir), setupinfo::kSecTree, writes);
}

CString CFileTreeCtrl::GetSelectedPath(DWORD& dwAttributes) const {
  HTREEITEM h = GetSelectedItem();
  if (!h) return CString();
  if (FileTreeItemData* d = GetData(h)) dwAttributes = d->dwAttributes;
  return GetItemPath(h);
}

void CFileTreeCtrl::SelectPath(const CString& strPath) {
  if (strPath.empty() || !GetRootItem()) return;
  CFileTreeAdapter adapter(*this);
  if (filetree::Item item = filetree::MatchSelectPath(adapter, strPath, g_strSetupDir.size())) SelectItem(H(item));
}

void CFileTreeCtrl::CheckPaths(const CString* pList) {
  if (!pList) return;
  std::vector<CString> list(1, pList[0]);
  for (const CString* p = pList + 1; !p->empty(); ++p) list.push_back(*p);
  CheckPaths(list);
}

void CFileTreeCtrl::CheckPaths(const std::vector<CString>& list) {
  if (!GetRootItem() || list.size() < 2 || list[1].empty()) return;
  CFileTreeAdapter adapter(*this);
  const std::size_t prefixLen = list[0].size();
  for (std::size_t i = 1; i < list.size() && !list[i].empty(); ++i) {
    filetree::Item item = filetree::FindTickPath(adapter, list[i], prefixLen);
    if (!item) continue;
    SetCheck(H(item), TRUE);
    if (i == 1) SelectItem(H(item));
  }
}

int CFileTreeCtrl::GetTickedPaths(std::vector<CString>& paths) const {
  CFileTreeAdapter adapter(const_cast<CFileTreeCtrl&>(*this));
  paths = filetree::TickedPaths(adapter, [this](filetree::Item i) { return GetCheck(H(i)) != FALSE; });
  return static_cast<int>(paths.size());
}

int CFileTreeCtrl::GetTickedPaths(CString* pPaths, int nMax) const {
  std::vector<CString> paths;
  GetTickedPaths(paths);
  int n = 0;
  for (; n < nMax && n < static_cast<int>(paths.size()); ++n) pPaths[n] = paths[static_cast<std::size_t>(n)];
  return n;
}

void CFileTreeCtrl::ClearTree() {
  if (m_hWnd && GetCount() > 0) DeleteAllItems();
  m_itemData.clear();
}

CString CFileTreeCtrl::GetItemPath(HTREEITEM hItem) const {
  CFileTreeAdapter adapter(const_cast<CFileTreeCtrl&>(*this));
  return filetree::ItemPath(adapter, I(hItem));
}
