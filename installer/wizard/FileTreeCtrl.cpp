#include "FileTreeCtrl.h"

// First bodies so that callers link; the tree is filled in by the next commits.
CFileTreeCtrl::CFileTreeCtrl() : m_nFiles(0) {}
CFileTreeCtrl::~CFileTreeCtrl() = default;
int CFileTreeCtrl::BuildTree(const CString&) { return 0; }
int CFileTreeCtrl::LoadTree() { return 0; }
BOOL CFileTreeCtrl::SaveTree() { return FALSE; }
CString CFileTreeCtrl::GetSelectedPath(DWORD&) const { return CString(); }
void CFileTreeCtrl::SelectPath(const CString&) {}
void CFileTreeCtrl::CheckPaths(const CString*) {}
void CFileTreeCtrl::CheckPaths(const std::vector<CString>&) {}
int CFileTreeCtrl::GetTickedPaths(CString*, int) const { return 0; }
int CFileTreeCtrl::GetTickedPaths(std::vector<CString>&) const { return 0; }
void CFileTreeCtrl::ClearTree() {}
CString CFileTreeCtrl::GetItemPath(HTREEITEM) const { return CString(); }
int CFileTreeCtrl::FillFolder(HTREEITEM, const CString&) { return 0; }
HTREEITEM CFileTreeCtrl::InsertFileItem(const CString&, const CString&, HTREEITEM, DWORD) { return nullptr; }
void CFileTreeCtrl::InsertPath(const CString&, DWORD) {}
int CALLBACK CFileTreeCtrl::CompareItems(LPARAM, LPARAM, LPARAM) { return 0; }
FileTreeItemData* CFileTreeCtrl::GetData(HTREEITEM) const { return nullptr; }
