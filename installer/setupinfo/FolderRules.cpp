#include "FolderRules.h"

#include "Mbcs.h"
#include "SetupInfo.h"

namespace setupinfo {

namespace {

// Offset just past the last path separator ("\" or "/"), skipping trail bytes.
std::size_t NameStart(const std::string& path) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (mbcs::IsLeadByte(c) && i + 1 < path.size()) {
      ++i;
      continue;
    }
    if (c == '\\' || c == '/') start = i + 1;
  }
  return start;
}

std::size_t DriveLength(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' && !mbcs::IsLeadByte(static_cast<unsigned char>(path[0])) ? 2 : 0;
}

}  // namespace

std::string ExeTitle(const std::string& path) {
  std::size_t start = NameStart(path);
  if (start < DriveLength(path)) start = DriveLength(path);
  std::string name = path.substr(start);
  std::size_t dot = mbcs::FindLastChar(name, '.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string DriveAndFolder(const std::string& path) {
  std::size_t start = NameStart(path);
  if (start < DriveLength(path)) start = DriveLength(path);
  return path.substr(0, start);
}

std::string DriveRoot(const std::string& path) { return path.substr(0, DriveLength(path)) + "\\"; }

bool EndsWithBackslash(const std::string& path) {
  return !path.empty() && mbcs::FindLastChar(path, '\\') == path.size() - 1;
}

std::string WithBackslash(const std::string& path) {
  return path.empty() || EndsWithBackslash(path) ? path : path + "\\";
}

std::string CompanyFolderName(const std::string& company) {
  return company == kDefName ? std::string("TOVANE") : company;
}

std::string DefaultInstallDir(const std::string& programFiles, const std::string& company,
                              const std::string& exeTitle) {
  return programFiles + CompanyFolderName(company) + "\\" + exeTitle + "\\";
}

std::string ProposeInstallDir(const InstallDirInputs& in) {
  if (!in.strRecorded.empty()) return in.strRecorded;
  if (!in.strFixed.empty()) {
    bool unusable = in.nFixedDriveType == kDriveUnknown || in.nFixedDriveType == kDriveNoRootDir ||
                    in.nFixedDriveType == kDriveCdRom;
    // the author's drive letter is replaced by the Windows folder's drive
    if (unusable && !in.strWindowsDir.empty()) return in.strWindowsDir.substr(0, 1) + in.strFixed.substr(1);
    return in.strFixed;
  }
  return DefaultInstallDir(in.strProgramFiles, in.strCompany, in.strExeTitle);
}

std::string NormaliseInstallDir(const std::string& text, const std::string& programFiles, const std::string& company,
                                const std::string& exeTitle) {
  if (text.empty()) return DefaultInstallDir(programFiles, company, exeTitle);
  return WithBackslash(text);
}

std::string BrowseStartFolder(const std::string& fieldText) {
  std::string start = DriveAndFolder(fieldText);
  if (EndsWithBackslash(start)) start.pop_back();
  return start;
}

std::string PickedFolder(const std::string& path, const std::string& initialFolder) {
  if (path.size() >= static_cast<std::size_t>(kBufPath)) return initialFolder;
  return WithBackslash(path);
}

// ---- paths as the file system reads them ------------------------------------------

namespace {

// The characters of a path, each one or two bytes, with "/" read as "\".
std::vector<std::string> SplitAtSeparators(const std::string& s) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (mbcs::IsLeadByte(c) && i + 1 < s.size()) {
      parts.back() += s.substr(i++, 2);
      continue;
    }
    if (c == '\\' || c == '/') parts.emplace_back();
    else parts.back() += static_cast<char>(c);
  }
  return parts;
}

bool HasSingleByte(const std::string& s, const char* set) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (mbcs::IsLeadByte(c) && i + 1 < s.size()) {
      ++i;
      continue;
    }
    if (c < 0x20) return true;
    for (const char* p = set; *p; ++p)
      if (c == static_cast<unsigned char>(*p)) return true;
  }
  return false;
}

// The system drops a final "." or " " from a name, so "a." names "a" and ". ." names
// the folder itself: such names are refused rather than guessed at.
bool EndsShortenable(const std::string& name) {
  if (name.empty()) return false;
  char last = name.back();
  if (last != '.' && last != ' ') return false;
  return true;  // a trail byte is never "." or " ": both lie below the trail range
}

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

std::string ResolvedPath::Text() const {
  std::string s = strRoot;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i) s += "\\";
    s += parts[i];
  }
  return s;
}

bool ResolvePath(const std::string& path, ResolvedPath& out) {
  out = ResolvedPath();
  std::vector<std::string> raw = SplitAtSeparators(path);
  std::size_t next = 0;
  if (raw.size() >= 2 && raw[0].size() == 2 && IsAsciiLetter(raw[0][0]) && raw[0][1] == ':') {
    out.strRoot = raw[0] + "\\";  // "C:\..."
    next = 1;
  } else if (raw.size() >= 4 && raw[0].empty() && raw[1].empty()) {
    // "\\server\share\...": "\\?\" and "\\.\" reach devices and skip the name rules
    if (raw[2].empty() || raw[3].empty() || raw[2] == "?" || raw[2] == ".") return false;
    if (HasSingleByte(raw[2], ":*?\"<>|") || HasSingleByte(raw[3], ":*?\"<>|")) return false;
    out.strRoot = "\\\\" + raw[2] + "\\" + raw[3] + "\\";
    next = 4;
  } else {
    return false;  // relative, or rooted on the current drive
  }
  for (std::size_t i = next; i < raw.size(); ++i) {
    const std::string& part = raw[i];
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (out.parts.empty()) return false;
      out.parts.pop_back();
      continue;
    }
    if (EndsShortenable(part) || HasSingleByte(part, ":*?\"<>|")) return false;
    out.parts.push_back(part);
  }
  return true;
}

bool IsInsideFolder(const std::string& path, const std::string& folder) {
  ResolvedPath p, f;
  if (!ResolvePath(path, p) || !ResolvePath(folder, f)) return false;
  if (!mbcs::IEquals(p.strRoot, f.strRoot) || p.parts.size() <= f.parts.size()) return false;
  for (std::size_t i = 0; i < f.parts.size(); ++i)
    if (!mbcs::IEquals(p.parts[i], f.parts[i])) return false;
  return true;
}

std::string FileNamePart(const std::string& path) { return path.substr(DriveAndFolder(path).size()); }

bool IsPlainFileName(const std::string& name) {
  if (name.empty() || name == "." || name == ".." || EndsShortenable(name)) return false;
  return !HasSingleByte(name, "\\/:*?\"<>|");
}

}  // namespace setupinfo
