// An in-memory tree and disk for the file tree's portable rules.
#pragma once
#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "FileTree.h"

class CMemTree : public filetree::IBuildTree {
 public:
  struct Node {
    std::string strLabel;
    unsigned long dwAttr = 0;
    Node* pParent = nullptr;
    std::vector<Node*> children;
    bool bTicked = false;
  };

  // The disk: folder path (ending with "\") -> its listing. Folders not here cannot be listed.
  std::map<std::string, std::vector<filetree::DirEntry>> m_disk;
  std::set<std::string> m_noIcon;  // full paths the shell gives no icon
  int m_nPumps = 0, m_nAdvances = 0, m_nLists = 0;
  unsigned long m_nProgressLimit = 0;

  // Adds a folder (and its parents below `top`) or a file to the disk.
  void AddFolder(const std::string& path) {
    if (m_disk.count(path)) return;
    m_disk[path];
    std::size_t cut = path.find_last_of('\\', path.size() - 2);
    if (cut == std::string::npos || cut + 1 <= 3) return;  // a drive root's child is the top
    std::string parent = path.substr(0, cut + 1);
    AddFolder(parent);
    AddEntry(parent, path.substr(cut + 1, path.size() - cut - 2), 0x10);
  }
  void AddFile(const std::string& path, unsigned long attr = 0x20) {
    std::size_t cut = path.find_last_of('\\');
    std::string folder = path.substr(0, cut + 1);
    if (m_disk.count(folder) == 0) AddFolder(folder);
    AddEntry(folder, path.substr(cut + 1), attr);
  }
  void AddEntry(const std::string& folder, const std::string& name, unsigned long attr) {
    std::vector<filetree::DirEntry>& list = m_disk[folder];
    for (const filetree::DirEntry& e : list)
      if (e.strName == name) return;
    list.push_back({name, attr});
  }

  // Item helpers.
  Node* N(filetree::Item i) const { return const_cast<Node*>(static_cast<const Node*>(i)); }
  std::vector<std::string> ChildLabels(filetree::Item i) const {
    std::vector<std::string> r;
    for (Node* c : N(i)->children) r.push_back(c->strLabel);
    return r;
  }
  filetree::Item Child(filetree::Item parent, const std::string& label) const {
    if (!parent) return nullptr;
    for (Node* c : N(parent)->children)
      if (c->strLabel == label) return c;
    return nullptr;
  }
  std::size_t Count() const { return m_nodes.size(); }

  // ITree
  filetree::Item GetRoot() const override { return m_roots.empty() ? nullptr : m_roots.front(); }
  filetree::Item GetFirstChild(filetree::Item i) const override {
    return N(i)->children.empty() ? nullptr : N(i)->children.front();
  }
  filetree::Item GetNextSibling(filetree::Item i) const override {
    const std::vector<Node*>& sibs = N(i)->pParent ? N(i)->pParent->children : m_roots;
    auto it = std::find(sibs.begin(), sibs.end(), N(i));
    return (it == sibs.end() || it + 1 == sibs.end()) ? nullptr : *(it + 1);
  }
  filetree::Item GetParent(filetree::Item i) const override { return N(i)->pParent; }
  std::string GetLabel(filetree::Item i) const override { return N(i)->strLabel; }
  unsigned long GetAttributes(filetree::Item i) const override { return N(i)->dwAttr; }

  // IBuildTree
  bool ListFolder(const std::string& folder, std::vector<filetree::DirEntry>& entries) override {
    ++m_nLists;
    auto it = m_disk.find(folder);
    if (it == m_disk.end()) return false;
    entries = it->second;
    entries.insert(entries.begin(), {{".", 0x10}, {"..", 0x10}});
    return true;
  }
  filetree::Item InsertItem(const std::string& fullPath, const std::string& label, filetree::Item parent,
                            unsigned long attr) override {
    if (m_noIcon.count(fullPath)) return nullptr;
    m_nodes.push_back(std::make_unique<Node>());
    Node* n = m_nodes.back().get();
    n->strLabel = label;
    n->dwAttr = attr;
    n->pParent = N(parent);
    (parent ? N(parent)->children : m_roots).push_back(n);
    return n;
  }
  void SortChildren(filetree::Item parent) override {
    std::vector<Node*>& c = N(parent)->children;
    std::stable_sort(c.begin(), c.end(), [](Node* a, Node* b) {
      return filetree::CompareSortKeys(filetree::SortKey(a->strLabel, a->dwAttr), filetree::SortKey(b->strLabel, b->dwAttr)) < 0;
    });
  }
  void PumpMessages() override { ++m_nPumps; }
  void BeginProgress(unsigned long limit) override { m_nProgressLimit = limit; }
  void AdvanceProgress() override { ++m_nAdvances; }
  void ClearAll() override {
    m_roots.clear();
    m_nodes.clear();
  }

 private:
  std::vector<std::unique_ptr<Node>> m_nodes;
  std::vector<Node*> m_roots;
};
