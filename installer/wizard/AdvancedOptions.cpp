#include "AdvancedOptions.h"

#include "FolderRules.h"
#include "InstallNames.h"
#include "Mbcs.h"

namespace advanced {

const char* const kFolderHint = "☆初回ｲﾝｽﾄｰﾙ時のみ有効です。";
const char* const kReadMeHint = "☆ReadMe.txt等を指定します。";
const char* const kRootShortcutName = "Dummy";

namespace {

// _splitpath's name part has room for 256 bytes with its terminating zero.
constexpr std::size_t kNameBuffer = 256;

}  // namespace

FixedFolder NormaliseFixedFolder(const std::string& text) {
  if (text.empty() || text == kFolderHint) return {std::string(), kFolderHint};
  std::string folder = setupinfo::WithBackslash(text);
  return {folder, folder};
}

std::string FixedFolderText(const std::string& folder) { return folder.empty() ? kFolderHint : folder; }

std::string ReadMeText(const std::string& readMe) { return readMe.empty() ? kReadMeHint : readMe; }

std::string DerivedName(const std::string& path) {
  std::string name = setupinfo::GroupLinkName(std::string(), path);
  // A name that is all extension (".config") would leave an empty entry, and the names
  // read back on the next opening end at the first empty one: it keeps its whole name.
  if (name.empty()) {
    std::string file = path;
    if (setupinfo::EndsWithBackslash(file)) file.pop_back();
    name = file.substr(setupinfo::DriveAndFolder(file).size());
  }
  return mbcs::FitBuffer(name, kNameBuffer);
}

std::vector<std::string> NameTable::Load(std::size_t items, const std::vector<std::string>& names,
                                         const std::vector<std::string>& files) {
  m_names.assign(items, std::string());
  m_paths.assign(items, std::string());
  std::vector<std::string> list;
  if (names.empty() || names[0].empty()) return list;
  for (std::size_t i = 0; i < items && i < names.size() && !names[i].empty(); ++i) {
    m_names[i] = names[i];
    m_paths[i] = i < files.size() ? files[i] : std::string();
    if (i >= 1) list.push_back(names[i]);
  }
  return list;
}

std::vector<std::string> NameTable::Refresh(const std::vector<std::string>& ticked) {
  std::vector<std::string> found(ticked.size());
  for (std::size_t k = 0; k < ticked.size(); ++k) {
    for (std::size_t i = 0; i < m_paths.size() && !m_paths[i].empty(); ++i) {
      if (m_paths[i] == ticked[k]) {
        found[k] = m_names[i];
        break;
      }
    }
  }
  // a tree rebuilt from the disk may hold more ticked files than there were items
  if (ticked.size() > m_names.size()) {
    m_names.resize(ticked.size());
    m_paths.resize(ticked.size());
  }
  std::vector<std::string> list;
  for (std::size_t k = 0; k < ticked.size(); ++k) {
    if (found[k].empty()) found[k] = DerivedName(ticked[k]);
    m_names[k] = found[k];
    m_paths[k] = ticked[k];
    if (k >= 1) list.push_back(found[k]);
  }
  return list;
}

void NameTable::Rename(int entry, const std::string& name) {
  if (entry < 0) return;
  std::size_t i = static_cast<std::size_t>(entry) + 1;
  if (i < m_names.size()) m_names[i] = name;
}

void NameTable::Clear() {
  m_names.clear();
  m_paths.clear();
}

CopyBack MakeCopyBack(const std::vector<std::string>& tickedGroup, int listEntries, const NameTable& names,
                      const std::vector<std::string>& tickedSystem, const std::string& setupDir, int capacity) {
  const std::size_t limit = capacity > 1 ? static_cast<std::size_t>(capacity - 1) : 1;
  auto files = [&](const std::vector<std::string>& ticked) {
    std::vector<std::string> out = ticked.empty() ? std::vector<std::string>{setupDir} : ticked;
    if (out.size() > limit) out.resize(limit);
    return out;
  };
  CopyBack r;
  r.groupFiles = files(tickedGroup);
  r.systemFiles = files(tickedSystem);

  std::size_t count = 1 + (listEntries > 0 ? static_cast<std::size_t>(listEntries) : 0);
  if (count > limit) count = limit;
  r.shortcutNames.push_back(kRootShortcutName);
  r.shortcutFiles.push_back(r.groupFiles[0]);
  for (std::size_t i = 1; i < count; ++i) {
    r.shortcutNames.push_back(i < names.Size() ? names.Name(i) : std::string());
    r.shortcutFiles.push_back(i < names.Size() ? names.Path(i) : std::string());
  }
  return r;
}

}  // namespace advanced
