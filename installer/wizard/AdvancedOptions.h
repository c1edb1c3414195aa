// Decisions of the advanced options dialog that need no window: the fixed install
// folder's hint and normalisation, the shortcut names of the ticked group files, and
// what 登録 copies back into the wizard. Portable: the dialog reads its controls and
// trees and hands the values in.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace advanced {

// Shown in the fixed folder's edit while no folder is fixed.
extern const char* const kFolderHint;
// Shown where the open-after file would be while none is chosen.
extern const char* const kReadMeHint;
// Shortcut name 0 belongs to the group tree's root, which never gets a shortcut.
extern const char* const kRootShortcutName;

// The fixed folder after its edit lost the focus: the folder with a final "\", or ""
// when the edit was emptied or still shows the hint; and the edit's text then.
struct FixedFolder {
  std::string strFolder;
  std::string strText;
};
FixedFolder NormaliseFixedFolder(const std::string& text);

// The text that stands for a value: the value, or its hint when it is empty.
std::string FixedFolderText(const std::string& folder);
std::string ReadMeText(const std::string& readMe);

// A group file's own name: one final "\" dropped, then the name without folder and
// extension (a ticked folder is named after itself; a name that is all extension stays
// whole), cut to 255 bytes.
std::string DerivedName(const std::string& path);

// The shortcut names of the group files and the file each belongs to. Entry 0 is the
// root's, entry i (i >= 1) stands behind entry i - 1 of the name list. A name and its
// path are kept and moved together, so a name always stays with its own file.
class NameTable {
 public:
  // The wizard's names and the files they belong to, for a group tree of `items`
  // items: pairs are taken while there is room and the name is not empty, when the
  // first name is not empty. Returns the name list (entries 1 onwards).
  std::vector<std::string> Load(std::size_t items, const std::vector<std::string>& names,
                                const std::vector<std::string>& files);
  // Names for the ticked paths (root first): a name stays while its file stays
  // ticked, a newly ticked file is named after itself. Entries beyond the ticked ones
  // keep what they held. Returns the name list.
  std::vector<std::string> Refresh(const std::vector<std::string>& ticked);
  // The in-place editor committed `name` for list entry `entry`.
  void Rename(int entry, const std::string& name);
  void Clear();

  std::size_t Size() const { return m_names.size(); }
  const std::string& Name(std::size_t i) const { return m_names[i]; }
  const std::string& Path(std::size_t i) const { return m_paths[i]; }

 private:
  std::vector<std::string> m_names;
  std::vector<std::string> m_paths;
};

// What 登録 writes into the wizard's lists.
struct CopyBack {
  std::vector<std::string> groupFiles;     // the root, then the ticked group files
  std::vector<std::string> shortcutNames;  // kRootShortcutName, then one per list entry
  std::vector<std::string> shortcutFiles;  // the file of each shortcut name
  std::vector<std::string> systemFiles;    // the root, then the ticked Windows-folder files
};
// `listEntries` is the name list's count (negative, an error of the list, counts as
// none). Each list is cut so that it leaves one entry of `capacity` free; each holds
// at least its entry 0 (the root is `setupDir` when a tree gave none).
CopyBack MakeCopyBack(const std::vector<std::string>& tickedGroup, int listEntries, const NameTable& names,
                      const std::vector<std::string>& tickedSystem, const std::string& setupDir, int capacity);

}  // namespace advanced
