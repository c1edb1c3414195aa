// The file tree's rules without windows: what a folder listing contributes, the order
// of items, the ten-level walk shared by building, saving and collecting ticks, item
// paths, and the matching of stored or given paths against the tree. The control
// (CFileTreeCtrl) and the native tests' in-memory tree both implement ITree.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "ProfileSection.h"

namespace filetree {

typedef const void* Item;  // a tree item; nullptr is none

constexpr unsigned long kFolderBit = 0x10;
constexpr int kMaxDepth = 10;  // folder levels below the setup folder that are opened

inline bool IsFolder(unsigned long attributes) { return (attributes & kFolderBit) != 0; }

// Read access to a tree.
class ITree {
 public:
  virtual ~ITree() = default;
  virtual Item GetRoot() const = 0;
  virtual Item GetFirstChild(Item item) const = 0;
  virtual Item GetNextSibling(Item item) const = 0;
  virtual Item GetParent(Item item) const = 0;
  virtual std::string GetLabel(Item item) const = 0;
  virtual unsigned long GetAttributes(Item item) const = 0;
};

// One entry of a folder listing.
struct DirEntry {
  std::string strName;
  unsigned long dwAttributes = 0;
};

// A tree that can be filled from the disk: what building needs besides reading.
class IBuildTree : public ITree {
 public:
  // The entries of `folder` (ending with "\"), "." and ".." included or not; false when
  // it cannot be listed.
  virtual bool ListFolder(const std::string& folder, std::vector<DirEntry>& entries) = 0;
  // Inserts `label` as the last child of `parent` (nullptr: a root); none when the item
  // could not be inserted (no icon for it).
  virtual Item InsertItem(const std::string& fullPath, const std::string& label, Item parent,
                          unsigned long attributes) = 0;
  virtual void SortChildren(Item parent) = 0;
  // Keeps the windows alive and moves the progress bar during long fills.
  virtual void PumpMessages() {}
  virtual void BeginProgress(unsigned long limit) {}
  virtual void AdvanceProgress() {}
  // Removes every item.
  virtual void ClearAll() = 0;
};

// ---- rules --------------------------------------------------------------------

// Whether a listed entry goes into the tree: not "." or "..", and no file named
// Setup.exe or Setup.ini in any letter case (a folder of that name is listed).
bool IsListed(const std::string& name, unsigned long attributes);
// "00_" + label for a folder, "01_" + label for anything else.
std::string SortKey(const std::string& label, unsigned long attributes);
// Sort keys compared without regard to ASCII case, character by character.
int CompareSortKeys(const std::string& a, const std::string& b);

// The labels from the root down joined with "\", plus "\" for a folder.
std::string ItemPath(const ITree& tree, Item item);
// The root label for a setup folder: the folder without its final "\".
std::string RootLabel(const std::string& setupDir);

// ---- the bounded walk ---------------------------------------------------------

struct WalkHooks {
  std::function<void()> onPass;     // at the start of every pass
  std::function<void()> onDescend;  // at every step down
};

// Depth-first from the root with a stack of at most kMaxDepth items; `visit` gets every
// folder reached down to kMaxDepth levels below the root (children first pushed on the
// way down, then next siblings). Children that `visit` adds are walked too.
void BoundedWalk(const ITree& tree, const std::function<void(Item)>& visit, const WalkHooks& hooks = WalkHooks());

// ---- building, saving, collecting -----------------------------------------------

// Lists `folder` under `parent`, sorts the new children and returns the number of
// files (counted even when their insertion fails). 0 for a path without final "\" or
// a folder that cannot be listed.
int FillFolder(IBuildTree& tree, Item parent, const std::string& folder);
// Inserts the root for `setupDir`, fills it and walks it; returns the file count.
int BuildFromDisk(IBuildTree& tree, const std::string& setupDir);

// The "_f" entry values in save order: the root, its children, then the children of
// every walked folder ("path|attributes").
std::vector<std::string> SaveEntries(const ITree& tree);
// The root's path, then the paths of ticked items in save order.
std::vector<std::string> TickedPaths(const ITree& tree, const std::function<bool(Item)>& isTicked);

// What a load read besides the items.
struct LoadResult {
  int nCount = 0;          // the stored Count when every entry was read, else 0
  std::string strSelect;   // Select, rebased ("" when nothing was selected or read)
  int nFiles = 0;          // the stored Files
};
// Rebuilds the tree from a [TreeCtrl] section: clears it, inserts the "_f" entries
// (rebased from topRoot to setupDir) until Count or the first entry without "|" or
// longer than the 259 bytes a read keeps.
// A Count of 0 or below loads nothing and leaves the tree as it is.
LoadResult LoadStored(IBuildTree& tree, const setupinfo::CProfileSection& section, const std::string& setupDir,
                      const std::string& topRoot);
// Inserts one stored entry where PlaceStoredEntry puts it; none when dropped.
Item InsertStoredEntry(IBuildTree& tree, const std::string& path, unsigned long attributes, const std::string& setupDir);

// ---- matching -----------------------------------------------------------------

// The deepest item along `path` matched without regard to case, starting with the root
// (whose label is the setup folder less its "\"), or none.
Item MatchSelectPath(const ITree& tree, const std::string& path, std::size_t setupDirLen);

// Where a stored entry goes: as the root of an empty tree, under an existing folder
// (labels matched exactly), or nowhere.
struct InsertPlace {
  enum Kind { kRoot, kChild, kDrop } kind = kDrop;
  Item parent = nullptr;
  std::string strFullPath;  // the path without its final "\"
  std::string strLabel;     // the last component
};
InsertPlace PlaceStoredEntry(const ITree& tree, const std::string& path, const std::string& setupDir);

// The item a path of a tick list names (the prefix length cut from its start), or none.
Item FindTickPath(const ITree& tree, const std::string& path, std::size_t prefixLen);

}  // namespace filetree
