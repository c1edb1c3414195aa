#include "FileTree.h"

#include <unordered_map>

#include "Mbcs.h"
#include "SetupInfo.h"

namespace filetree {

namespace {

std::string DropTrailingSlash(const std::string& path) {
  if (!path.empty() && mbcs::FindLastChar(path, '\\') == path.size() - 1) return path.substr(0, path.size() - 1);
  return path;
}

// Components split at every "\" (character-aware).
std::vector<std::string> SplitComponents(const std::string& rest) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t slash = mbcs::FindFirstChar(rest, '\\', start);
    if (slash == std::string::npos) {
      parts.push_back(rest.substr(start));
      return parts;
    }
    parts.push_back(rest.substr(start, slash - start));
    start = slash + 1;
  }
}

Item FindChildExact(const ITree& tree, Item parent, const std::string& label) {
  for (Item c = tree.GetFirstChild(parent); c; c = tree.GetNextSibling(c))
    if (tree.GetLabel(c) == label) return c;
  return nullptr;
}

}  // namespace

// ---- rules --------------------------------------------------------------------

bool IsListed(const std::string& name, unsigned long attributes) {
  if (IsFolder(attributes)) return name != "." && name != "..";
  return !mbcs::IEquals(name, "Setup.exe") && !mbcs::IEquals(name, "Setup.ini");
}

std::string SortKey(const std::string& label, unsigned long attributes) {
  return (IsFolder(attributes) ? "00_" : "01_") + label;
}

int CompareSortKeys(const std::string& a, const std::string& b) { return mbcs::ICompare(a, b); }

std::string RootLabel(const std::string& setupDir) { return DropTrailingSlash(setupDir); }

std::string ItemPath(const ITree& tree, Item item) {
  if (!item) return std::string();
  std::vector<Item> chain;
  for (Item i = item; i; i = tree.GetParent(i)) chain.push_back(i);
  std::string path;
  for (std::size_t k = chain.size(); k-- > 0;) {
    path += tree.GetLabel(chain[k]);
    if (k > 0) path += '\\';
  }
  if (IsFolder(tree.GetAttributes(item))) path += '\\';
  return path;
}

// ---- the bounded walk ---------------------------------------------------------

void BoundedWalk(const ITree& tree, const std::function<void(Item)>& visit, const WalkHooks& hooks) {
  Item stack[kMaxDepth];
  int depth = 0;
  Item current = tree.GetRoot();
  while (current || depth > 0) {
    if (hooks.onPass) hooks.onPass();
    // Down: first children, as far as the stack allows.
    while (current && depth < kMaxDepth) {
      if (hooks.onDescend) hooks.onDescend();
      Item child = tree.GetFirstChild(current);
      if (!child) {
        current = nullptr;
        break;
      }
      stack[depth++] = child;
      visit(child);
      current = child;
    }
    // Across: the next sibling of the deepest item, or one level up.
    if (depth > 0) {
      Item next = tree.GetNextSibling(stack[--depth]);
      if (next) {
        stack[depth++] = next;
        if (IsFolder(tree.GetAttributes(next))) visit(next);
      }
      current = next;
    }
  }
}

// ---- building, saving, collecting -----------------------------------------------

int FillFolder(IBuildTree& tree, Item parent, const std::string& folder) {
  if (folder.empty() || mbcs::FindLastChar(folder, '\\') != folder.size() - 1) return 0;
  std::vector<DirEntry> entries;
  if (!tree.ListFolder(folder, entries)) return 0;
  int files = 0;
  for (const DirEntry& e : entries) {
    if (!IsListed(e.strName, e.dwAttributes)) continue;
    tree.InsertItem(folder + e.strName, e.strName, parent, e.dwAttributes);
    if (!IsFolder(e.dwAttributes)) ++files;  // counted even when the insertion failed
  }
  tree.SortChildren(parent);
  return files;
}

int BuildFromDisk(IBuildTree& tree, const std::string& setupDir) {
  Item root = tree.InsertItem(setupDir, RootLabel(setupDir), nullptr, kFolderBit);
  if (!root) return 0;
  int files = FillFolder(tree, root, setupDir);
  WalkHooks hooks;
  hooks.onPass = [&tree] {
    tree.PumpMessages();
    tree.AdvanceProgress();
  };
  hooks.onDescend = [&tree] { tree.PumpMessages(); };
  BoundedWalk(tree, [&](Item item) { files += FillFolder(tree, item, ItemPath(tree, item)); }, hooks);
  return files;
}

namespace {
// Appends the path of each ticked child of `parent`, in tree order.
void CollectTickedChildren(const ITree& tree, Item parent, const std::function<bool(Item)>& isTicked,
                           std::vector<std::string>& out) {
  for (Item c = tree.GetFirstChild(parent); c; c = tree.GetNextSibling(c))
    if (isTicked(c)) out.push_back(ItemPath(tree, c));
}
}  // namespace

std::vector<std::string> SaveEntries(const ITree& tree) {
  std::vector<std::string> out;
  Item root = tree.GetRoot();
  if (!root) return out;
  out.push_back(ItemPath(tree, root) + "|" + std::to_string(tree.GetAttributes(root)));
  // The order of BoundedWalk (each item reached lists its children), in one pass that
  // asks the tree for each item only once: every question is a message to a control.
  struct Child {
    Item item;
    std::string label;
  };
  struct Level {
    std::string prefix;  // its items' parent path with "\", whatever the parent's stored word
    std::vector<Child> children;
    std::size_t next = 0;
  };
  auto listChildren = [&tree, &out](Item first, Level& level) {
    for (Item c = first; c; c = tree.GetNextSibling(c)) {
      unsigned long attr = tree.GetAttributes(c);
      std::string label = tree.GetLabel(c);
      out.push_back(level.prefix + label + (IsFolder(attr) ? "\\" : "") + "|" + std::to_string(attr));
      level.children.push_back({c, std::move(label)});
    }
  };
  std::vector<Level> levels(1);
  levels[0].prefix = tree.GetLabel(root) + "\\";
  listChildren(tree.GetFirstChild(root), levels[0]);
  while (!levels.empty()) {
    Level& top = levels.back();
    if (top.next == top.children.size()) {
      levels.pop_back();
      continue;
    }
    const Child& c = top.children[top.next++];
    Item first = tree.GetFirstChild(c.item);
    if (!first) continue;
    Level below;
    below.prefix = top.prefix + c.label + "\\";
    listChildren(first, below);
    // Items kMaxDepth levels down list their children but are not opened further.
    if (levels.size() < static_cast<std::size_t>(kMaxDepth)) levels.push_back(std::move(below));
  }
  return out;
}

std::vector<std::string> TickedPaths(const ITree& tree, const std::function<bool(Item)>& isTicked) {
  std::vector<std::string> out;
  Item root = tree.GetRoot();
  if (!root) return out;
  out.push_back(ItemPath(tree, root));
  CollectTickedChildren(tree, root, isTicked, out);
  BoundedWalk(tree, [&](Item item) { CollectTickedChildren(tree, item, isTicked, out); });
  return out;
}

Item InsertStoredEntry(IBuildTree& tree, const std::string& path, unsigned long attributes, const std::string& setupDir) {
  InsertPlace place = PlaceStoredEntry(tree, path, setupDir);
  switch (place.kind) {
    case InsertPlace::kRoot:
      return tree.InsertItem(setupDir, RootLabel(setupDir), nullptr, attributes);
    case InsertPlace::kChild:
      return tree.InsertItem(place.strFullPath, place.strLabel, place.parent, attributes);
    default:
      return nullptr;
  }
}

LoadResult LoadStored(IBuildTree& tree, const setupinfo::CProfileSection& section, const std::string& setupDir,
                      const std::string& topRoot) {
  LoadResult result;
  int count = section.GetInt("Count", 0);
  if (count <= 0) return result;  // a negative count is damage: nothing to load
  if (tree.GetRoot()) tree.ClearAll();
  tree.BeginProgress(static_cast<unsigned long>(count));
  // The items inserted by their path below the setup folder, the first of a path kept:
  // what the exact label search among each folder's children finds, component by
  // component from the root, since nothing is sorted while loading.
  std::unordered_map<std::string, Item> inserted;
  Item root = nullptr;
  for (int i = 0; i < count; ++i) {
    tree.PumpMessages();
    tree.AdvanceProgress();
    bool cut = false;
    const std::string value = section.GetStringCut(setupinfo::EntryKey("_f", i), setupinfo::kBufPath, cut);
    setupinfo::TreeEntry entry;
    // A missing key reads as "" and ends the load too, so a huge count stops at the
    // first index the file does not hold.
    if (!setupinfo::ParseTreeEntry(value, entry)) return result;
    // A value longer than the read keeps has lost its end, the last digits of its
    // attribute word with it ("|16" read as "|1" makes a folder a file): as unreadable
    // as one without "|", so the tree is built from the disk instead.
    if (cut) return result;
    std::string path = DropTrailingSlash(setupinfo::Rebase(entry.strPath, topRoot, setupDir));
    if (path.empty()) continue;
    if (!root) {
      root = tree.InsertItem(setupDir, RootLabel(setupDir), nullptr, entry.dwAttributes);
      continue;
    }
    // Only entries inside the setup folder belong below the root.
    if (path.size() <= setupDir.size() || !mbcs::IEquals(path.substr(0, setupDir.size()), setupDir)) continue;
    std::string rel = path.substr(setupDir.size());
    std::size_t slash = mbcs::FindLastChar(rel, '\\');
    Item parent = root;
    if (slash != std::string::npos) {
      auto it = inserted.find(rel.substr(0, slash));
      if (it == inserted.end()) continue;  // its folder is not in the tree
      parent = it->second;
    }
    std::string label = slash == std::string::npos ? rel : rel.substr(slash + 1);
    if (label.empty()) continue;
    if (Item item = tree.InsertItem(path, label, parent, entry.dwAttributes)) inserted.emplace(std::move(rel), item);
  }
  result.strSelect = setupinfo::Rebase(section.GetString("Select", "", setupinfo::kBufPath), topRoot, setupDir);
  result.nFiles = section.GetInt("Files", 0);
  result.nCount = count;
  return result;
}

// ---- matching -----------------------------------------------------------------

Item MatchSelectPath(const ITree& tree, const std::string& pathIn, std::size_t setupDirLen) {
  if (pathIn.empty()) return nullptr;
  std::string path = DropTrailingSlash(pathIn);
  // The first component is the setup folder itself, "\" included in it where the
  // folder is a drive root's child like C:\DIST.
  std::size_t from = setupDirLen > 0 ? setupDirLen - 1 : 0;
  std::size_t slash = mbcs::FindFirstChar(path, '\\', from);
  std::vector<std::string> parts;
  if (slash == std::string::npos) {
    parts.push_back(path);
  } else {
    parts.push_back(path.substr(0, slash));
    std::vector<std::string> rest = SplitComponents(path.substr(slash + 1));
    parts.insert(parts.end(), rest.begin(), rest.end());
  }
  Item matched = nullptr;
  Item item = tree.GetRoot();
  for (const std::string& part : parts) {
    Item found = nullptr;
    for (Item i = item; i; i = tree.GetNextSibling(i)) {
      if (mbcs::IEquals(tree.GetLabel(i), part)) {
        found = i;
        break;
      }
    }
    if (!found) break;
    matched = found;
    item = tree.GetFirstChild(found);
  }
  return matched;
}

InsertPlace PlaceStoredEntry(const ITree& tree, const std::string& pathIn, const std::string& setupDir) {
  InsertPlace place;
  if (pathIn.empty()) return place;
  std::string path = DropTrailingSlash(pathIn);
  place.strFullPath = path;
  Item root = tree.GetRoot();
  if (!root) {
    place.kind = InsertPlace::kRoot;
    return place;
  }
  // Only entries inside the setup folder belong below the root.
  if (path.size() <= setupDir.size() || !mbcs::IEquals(path.substr(0, setupDir.size()), setupDir)) return place;
  std::vector<std::string> parts = SplitComponents(path.substr(setupDir.size()));
  Item current = root;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    current = FindChildExact(tree, current, parts[i]);
    if (!current) return place;
  }
  if (parts.back().empty()) return place;
  place.kind = InsertPlace::kChild;
  place.parent = current;
  place.strLabel = parts.back();
  return place;
}

Item FindTickPath(const ITree& tree, const std::string& path, std::size_t prefixLen) {
  Item current = tree.GetRoot();
  if (!current || path.size() < prefixLen) return nullptr;
  std::string rest = DropTrailingSlash(path.substr(prefixLen));
  for (;;) {
    std::size_t slash = mbcs::FindFirstChar(rest, '\\');
    if (slash == std::string::npos) break;
    current = FindChildExact(tree, current, rest.substr(0, slash));
    if (!current) return nullptr;
    rest = rest.substr(slash + 1);
  }
  if (tree.GetLabel(current) == rest) return current;
  return FindChildExact(tree, current, rest);
}

}  // namespace filetree
