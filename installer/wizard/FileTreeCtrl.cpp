#include "FileTreeCtrl.h"

#include "FileTree.h"
#include "FileTreeIcons.h"
#include "Globals.h"
#include "LoadingWindow.h"
#include "Mbcs.h"
#include "ProfileSection_win.h"
#include "SetupInfo_win.h"

namespace {
inline FileTreeItemData* D(filetree::Item i) { return static_cast<FileTreeItemData*>(const_cast<void*>(i)); }
inline HTREEITEM H(filetree::Item i) { return i ? D(i)->hItem : nullptr; }
}  // namespace

// The control seen through the tree rules' interface. Items are the item data, whose
// links answer every question about the tree's shape.
class CFileTreeAdapter : public filetree::IBuildTree {
 public:
  explicit CFileTreeAdapter(CFileTreeCtrl& tree) : m_tree(tree) {}

  filetree::Item GetRoot() const override { return m_tree.m_pRoot; }
  filetree::Item GetFirstChild(filetree::Item i) const override { return D(i)->pFirstChild; }
  filetree::Item GetNextSibling(filetree::Item i) const override { return D(i)->pNextSibling; }
  filetree::Item GetParent(filetree::Item i) const override { return D(i)->pParent; }
  std::string GetLabel(filetree::Item i) const override { return D(i)->strSortKey.substr(3); }
  unsigned long GetAttributes(filetree::Item i) const override { return D(i)->dwAttributes; }

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
    return m_tree.InsertListedItem(fullPath, label, D(parent), attributes, listed);
  }

  void SortChildren(filetree::Item parent) override { m_tree.SortChildren(D(parent)); }

  // One pending message every few milliseconds keeps the windows alive; a look at the
  // queue for every item would cost more than the listing itself.
  void PumpMessages() override {
    DWORD now = ::GetTickCount();
    if (now - m_dwLastPump < kPumpIntervalMs) return;
    m_dwLastPump = now;
    PumpPendingMessage();
  }
  void BeginProgress(unsigned long limit) override {
    if (ILoadingWindow* pLoading = GetLoadingWindow()) pLoading->BeginProgress(static_cast<unsigned int>(limit), 1);
  }
  void AdvanceProgress() override {
    if (ILoadingWindow* pLoading = GetLoadingWindow()) pLoading->AdvanceProgress();
  }
  void ClearAll() override { m_tree.ClearTree(); }

 private:
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

void CFileTreeCtrl::CheckKept() {
  // The items are kept beside the control; a control emptied behind the tree's back
  // (another window subclassed) leaves nothing of them valid.
  if (m_pRoot && (!m_hWnd || GetRootItem() != m_pRoot->hItem)) {
    m_pRoot = nullptr;
    m_itemData.clear();
    m_hImageList = nullptr;
  }
}

FileTreeItemData* CFileTreeCtrl::InsertListedItem(const CString& strPath, const CString& strLabel,
                                                  FileTreeItemData* pParent, DWORD dwAttributes, bool bListed) {
  CString label = strLabel;
  // One trailing "\" goes; a name ending in a character whose trail byte is 0x5C keeps it.
  if (!label.empty() && mbcs::FindLastChar(label, '\\') == label.size() - 1) label.erase(label.size() - 1);
  filetree::IconInfo icon;
  if (!filetree::LookUpIcon(strPath, dwAttributes, bListed, icon)) return nullptr;  // no icon: left out
  // The system list is the same for every item; the control keeps it once given.
  if (icon.hImageList != m_hImageList) {
    if (reinterpret_cast<HIMAGELIST>(SendMessage(TVM_GETIMAGELIST, TVSIL_NORMAL)) != icon.hImageList)
      SetImageList(icon.hImageList, TVSIL_NORMAL);
    m_hImageList = icon.hImageList;
  }
  std::unique_ptr<FileTreeItemData> data(new FileTreeItemData{filetree::SortKey(label, dwAttributes), dwAttributes});
  TVINSERTSTRUCTA is = {};
  is.hParent = pParent ? pParent->hItem : TVI_ROOT;
  is.hInsertAfter = TVI_LAST;
  is.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  is.item.pszText = const_cast<char*>(label.c_str());
  is.item.iImage = icon.nIcon;
  is.item.iSelectedImage = icon.nSelectedIcon;
  is.item.lParam = reinterpret_cast<LPARAM>(data.get());
  data->hItem = CTreeCtrl::InsertItem(&is);
  if (!data->hItem) return nullptr;
  FileTreeItemData* d = data.get();
  m_itemData.push_back(std::move(data));
  d->pParent = pParent;
  if (!pParent) {
    if (!m_pRoot) m_pRoot = d;  // a second root is the control's, never walked
  } else {
    if (pParent->pLastChild)
      pParent->pLastChild->pNextSibling = d;
    else
      pParent->pFirstChild = d;
    pParent->pLastChild = d;
  }
  return d;
}

HTREEITEM CFileTreeCtrl::InsertFileItem(const CString& strPath, const CString& strLabel, HTREEITEM hParent,
                                        DWORD dwAttributes) {
  CheckKept();
  FileTreeItemData* d =
      InsertListedItem(strPath, strLabel, hParent == TVI_ROOT ? nullptr : GetData(hParent), dwAttributes, false);
  return d ? d->hItem : nullptr;
}

int CALLBACK CFileTreeCtrl::CompareItems(LPARAM lParam1, LPARAM lParam2, LPARAM) {
  const FileTreeItemData* a = reinterpret_cast<const FileTreeItemData*>(lParam1);
  const FileTreeItemData* b = reinterpret_cast<const FileTreeItemData*>(lParam2);
  if (!a || !b) return 0;
  return filetree::CompareSortKeys(a->strSortKey, b->strSortKey);
}

void CFileTreeCtrl::SortChildren(FileTreeItemData* pParent) {
  if (!pParent || !pParent->pFirstChild) return;
  TVSORTCB sort = {};
  sort.hParent = pParent->hItem;
  sort.lpfnCompare = &CFileTreeCtrl::CompareItems;
  sort.lParam = 0;
  SendMessage(TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
  // The same order in the kept links: the control's sort settles the order of keys
  // that compare equal (names differing in case only), so those are asked of it.
  std::vector<FileTreeItemData*> children;
  for (FileTreeItemData* c = pParent->pFirstChild; c; c = c->pNextSibling) children.push_back(c);
  std::stable_sort(children.begin(), children.end(), [](const FileTreeItemData* a, const FileTreeItemData* b) {
    return filetree::CompareSortKeys(a->strSortKey, b->strSortKey) < 0;
  });
  bool ties = false;
  for (std::size_t i = 1; i < children.size() && !ties; ++i)
    ties = filetree::CompareSortKeys(children[i - 1]->strSortKey, children[i]->strSortKey) == 0;
  if (ties) {
    children.clear();
    for (HTREEITEM h = GetChildItem(pParent->hItem); h; h = GetNextSiblingItem(h)) children.push_back(GetData(h));
  }
  pParent->pFirstChild = children.front();
  pParent->pLastChild = children.back();
  for (std::size_t i = 0; i < children.size(); ++i)
    children[i]->pNextSibling = i + 1 < children.size() ? children[i + 1] : nullptr;
}

int CFileTreeCtrl::FillFolder(HTREEITEM hParent, const CString& strFolder) {
  CheckKept();
  CFileTreeAdapter adapter(*this);
  return filetree::FillFolder(adapter, GetData(hParent), strFolder);
}

void CFileTreeCtrl::InsertPath(const CString& strPath, DWORD dwAttributes) {
  CheckKept();
  CFileTreeAdapter adapter(*this);
  filetree::InsertStoredEntry(adapter, strPath, dwAttributes, g_strSetupDir);
}

int CFileTreeCtrl::BuildTree(const CString& strSelectPath) {
  CheckKept();
  UINT n = GetCount();
  unsigned int limit = 100;  // a first build has no better estimate
  if (n > 0) {
    ClearTree();
    limit = n;
  }
  if (ILoadingWindow* pLoading = GetLoadingWindow()) pLoading->BeginProgress(limit, 1);
  CFileTreeAdapter adapter(*this);
  int files = filetree::BuildFromDisk(adapter, g_strSetupDir);
  SelectPath(strSelectPath);
  m_nFiles = files;
  return files;
}

int CFileTreeCtrl::LoadTree() {
  CheckKept();
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
  CheckKept();
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
  CheckKept();
  if (strPath.empty() || !m_pRoot) return;
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
  CheckKept();
  if (!m_pRoot || list.size() < 2 || list[1].empty()) return;
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
  const_cast<CFileTreeCtrl*>(this)->CheckKept();
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
  m_pRoot = nullptr;
  m_itemData.clear();
  m_hImageList = nullptr;
}

CString CFileTreeCtrl::GetItemPath(HTREEITEM hItem) const {
  CFileTreeAdapter adapter(const_cast<CFileTreeCtrl&>(*this));
  return filetree::ItemPath(adapter, GetData(hItem));
}
