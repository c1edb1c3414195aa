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

}  // namespace setupinfo
