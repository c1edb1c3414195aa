// The file tree of the setup folder: folders before files with the shell's small
// icons, saved to and rebuilt from the [TreeCtrl] section of Setup.ini, selection by
// path, ticks from and to lists of paths. Used by four controls in three dialogs.
#pragma once
#include <memory>
#include <vector>

#include "AfxCtrl.h"

// Item data of every tree item, owned by the tree until ClearTree.
struct FileTreeItemData {
  CString strSortKey;  // "00_" + label for a folder, "01_" + label for anything else
  DWORD dwAttributes;  // file attribute word as listed (or as stored)
  // The item's place, kept beside the control's own: walking the tree then asks the
  // control nothing (each question is a message, which costs more than the walk).
  HTREEITEM hItem = nullptr;
  FileTreeItemData* pParent = nullptr;
  FileTreeItemData* pFirstChild = nullptr;
  FileTreeItemData* pLastChild = nullptr;
  FileTreeItemData* pNextSibling = nullptr;
};

class CFileTreeCtrl : public CTreeCtrl {
 public:
  CFileTreeCtrl();
  ~CFileTreeCtrl() override;

  // Lists g_strSetupDir from the disk (ten folder levels deep), selects
  // strSelectPath and returns the number of files.
  int BuildTree(const CString& strSelectPath);
  // Rebuilds the tree from [TreeCtrl] of g_strSetupDir + "Setup.ini", rebasing stored
  // paths from g_strTopRoot. Returns Count, or 0 when nothing (or not all) was loaded.
  int LoadTree();
  // Writes Select, TopRoot, the _f entries, Count and Files. FALSE when the file could
  // not be written.
  BOOL SaveTree();

  // Path of the selected item ("" when none); its attribute word goes to dwAttributes
  // (left untouched when nothing is selected).
  CString GetSelectedPath(DWORD& dwAttributes) const;
  // Selects the deepest item matching strPath (letter case ignored).
  void SelectPath(const CString& strPath);
  // Ticks the items of a list: element 0 is a prefix (only its length is used), the
  // paths follow up to the first empty string. The item of element 1 is also selected.
  void CheckPaths(const CString* pList);
  void CheckPaths(const std::vector<CString>& list);  // ends at "" or at the list's end
  // Root path, then the paths of the ticked items in saved order. The pointer form
  // writes at most nMax entries. Returns the number of entries.
  int GetTickedPaths(CString* pPaths, int nMax) const;
  int GetTickedPaths(std::vector<CString>& paths) const;
  // Releases every item's data and deletes all items.
  void ClearTree();
  // Labels from the root down joined with "\", plus "\" for a folder.
  CString GetItemPath(HTREEITEM hItem) const;

  int m_nFiles;  // files counted by the last BuildTree, or the stored count after LoadTree

 protected:
  int FillFolder(HTREEITEM hParent, const CString& strFolder);
  HTREEITEM InsertFileItem(const CString& strPath, const CString& strLabel, HTREEITEM hParent, DWORD dwAttributes);
  void InsertPath(const CString& strPath, DWORD dwAttributes);
  static int CALLBACK CompareItems(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

  FileTreeItemData* GetData(HTREEITEM hItem) const;

 private:
  friend class CFileTreeAdapter;
  // InsertFileItem for an entry just listed (known to exist) or not (looked at first).
  FileTreeItemData* InsertListedItem(const CString& strPath, const CString& strLabel, FileTreeItemData* pParent,
                                     DWORD dwAttributes, bool bListed);
  // Sorts the children of `pParent` with CompareItems, in the control and in the data.
  void SortChildren(FileTreeItemData* pParent);
  // Drops the kept items when the control no longer holds them.
  void CheckKept();
  // Every item's data, released by ClearTree (and with the object, should a dialog
  // never have cleared it).
  std::vector<std::unique_ptr<FileTreeItemData>> m_itemData;
  FileTreeItemData* m_pRoot = nullptr;  // the first root inserted
  HIMAGELIST m_hImageList = nullptr;    // the list last given to the control
};
