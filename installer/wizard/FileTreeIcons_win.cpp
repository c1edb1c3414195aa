#include "FileTreeIcons.h"

#include <shellapi.h>

#include <map>

#include "FileTree.h"
#include "Mbcs.h"

namespace filetree {

namespace {

const UINT kSmall = SHGFI_SYSICONINDEX | SHGFI_SMALLICON;

// The icon of a type, and of an ordinary folder, do not change while the program runs.
std::map<CString, IconInfo>& TypeCache() {
  static std::map<CString, IconInfo> cache;
  return cache;
}
std::map<CString, bool>& PerFileCache() {
  static std::map<CString, bool> cache;
  return cache;
}
bool g_bFolderKnown = false;
IconInfo g_folderIcon;

CString ExtensionOf(const CString& name) {
  std::size_t dot = mbcs::FindLastChar(name, '.');
  std::size_t slash = mbcs::FindLastChar(name, '\\');
  if (dot == CString::npos || (slash != CString::npos && dot < slash)) return CString();
  return mbcs::ToLower(name.substr(dot));
}

CString RegDefault(HKEY root, const CString& subKey) {
  HKEY h = nullptr;
  if (::RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return CString();
  char buf[260] = {0};
  DWORD cb = sizeof(buf) - 1;
  LONG r = ::RegQueryValueExA(h, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &cb);
  ::RegCloseKey(h);
  return r == ERROR_SUCCESS ? CString(buf) : CString();
}

bool RegKeyExists(HKEY root, const CString& subKey) {
  HKEY h = nullptr;
  if (::RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  ::RegCloseKey(h);
  return true;
}

}  // namespace

bool HasIconPerFile(const CString& ext) {
  auto it = PerFileCache().find(ext);
  if (it != PerFileCache().end()) return it->second;
  // Programs, icons, cursors and shortcuts show their own icon; other types say so by a
  // default icon of "%1" or an icon handler of their own.
  static const char* const kOwn[] = {".exe", ".ico", ".cur", ".ani", ".lnk", ".pif", ".url", ".scr", ".cpl", ".msi"};
  bool own = false;
  for (const char* e : kOwn) own = own || ext == e;
  if (!own && !ext.empty()) {
    CString progId = RegDefault(HKEY_CLASSES_ROOT, ext);
    for (const CString& cls : {ext, progId}) {
      if (cls.empty()) continue;
      if (RegDefault(HKEY_CLASSES_ROOT, cls + "\\DefaultIcon").find("%1") != CString::npos ||
          RegKeyExists(HKEY_CLASSES_ROOT, cls + "\\shellex\\IconHandler"))
        own = true;
    }
  }
  PerFileCache()[ext] = own;
  return own;
}

bool LookUpIconByPath(const CString& path, DWORD attributes, IconInfo& out) {
  SHFILEINFOA sfi = {};
  out.hImageList = reinterpret_cast<HIMAGELIST>(::SHGetFileInfoA(path.c_str(), 0, &sfi, sizeof sfi, kSmall));
  if (!out.hImageList) return false;
  out.nIcon = out.nSelectedIcon = sfi.iIcon;
  if (IsFolder(attributes)) {
    SHFILEINFOA open = {};
    ::SHGetFileInfoA(path.c_str(), 0, &open, sizeof open, kSmall | SHGFI_OPENICON);
    out.nSelectedIcon = open.iIcon;
  }
  return true;
}

bool LookUpIcon(const CString& path, DWORD attributes, bool listed, IconInfo& out) {
  DWORD actual = attributes;
  if (!listed) {
    // The path call gives nothing for a path that is not there; what is there decides.
    actual = ::GetFileAttributesA(path.c_str());
    if (actual == INVALID_FILE_ATTRIBUTES) return false;
  }
  // one pass over the path for its last "\"
  const std::size_t slash = mbcs::FindLastChar(path, '\\');
  CString name = slash == CString::npos ? path : path.substr(slash + 1);
  // Where the answer depends on the item itself, ask for it: the tree's root (its path
  // ends with "\", and it may be a drive), overlong paths, folders that a desktop.ini
  // may dress (read-only or system ones) or that name a shell object ("name.{CLSID}"),
  // files of types with icons of their own.
  bool perPath = path.empty() || slash == path.size() - 1 || path.size() >= MAX_PATH - 1;
  if (!perPath && IsFolder(actual))
    perPath = (actual & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM)) != 0 || name.find(".{") != CString::npos;
  const CString ext = ExtensionOf(name);
  if (!perPath && !IsFolder(actual)) perPath = HasIconPerFile(ext);
  if (perPath) return LookUpIconByPath(path, attributes, out);

  if (IsFolder(actual)) {
    // Every ordinary folder shows the same pair; the first one listed is asked for it.
    if (!g_bFolderKnown) {
      if (!LookUpIconByPath(path, attributes, g_folderIcon)) return false;
      g_bFolderKnown = true;
    }
    out = g_folderIcon;
    if (!IsFolder(attributes)) out.nSelectedIcon = out.nIcon;  // stored as a file: no open icon
    return true;
  }
  auto it = TypeCache().find(ext);
  if (it == TypeCache().end()) {
    IconInfo info;
    SHFILEINFOA sfi = {};
    CString probe = "file" + ext;  // the type call looks at the name only
    info.hImageList = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoA(probe.c_str(), FILE_ATTRIBUTE_NORMAL, &sfi, sizeof sfi, kSmall | SHGFI_USEFILEATTRIBUTES));
    if (!info.hImageList) return LookUpIconByPath(path, attributes, out);  // no type answer: ask the file
    info.nIcon = info.nSelectedIcon = sfi.iIcon;
    it = TypeCache().emplace(ext, info).first;
  }
  out = it->second;
  return true;
}

}  // namespace filetree
