// The name and folder rules that the wizard, the install, the removal and the shell
// share: the parts of a path as _splitpath gives them, the final backslash, the install
// folder proposed and normalised, and a path as the file system will read it. Portable:
// callers read the controls, files and registry and hand the values in.
#pragma once
#include <string>
#include <vector>

namespace setupinfo {

// Drive types that cannot hold an install folder (GetDriveTypeA's numbers).
constexpr unsigned kDriveUnknown = 0;
constexpr unsigned kDriveNoRootDir = 1;
constexpr unsigned kDriveCdRom = 5;

// The file name without folder and extension, as _splitpath's name part
// ("C:\dist\bin\demo.exe" -> "demo"; a folder path ending in "\" -> "").
std::string ExeTitle(const std::string& path);

// Drive and folder part, as _splitpath's drive + directory ("C:\Apps\demo.exe" -> "C:\Apps\").
std::string DriveAndFolder(const std::string& path);

// The root of the path's drive ("D:\Apps" -> "D:\"); "\" when the path names no drive.
std::string DriveRoot(const std::string& path);

// True when the last character (not a trail byte) is a backslash.
bool EndsWithBackslash(const std::string& path);
std::string WithBackslash(const std::string& path);  // appends one when missing (an empty path stays empty)

// The company part of the default install folder: "TOVANE Soft" is shortened to "TOVANE".
std::string CompanyFolderName(const std::string& company);

// Program Files + company + "\" + executable title + "\".
std::string DefaultInstallDir(const std::string& programFiles, const std::string& company, const std::string& exeTitle);

// What proposing the install folder takes: the wizard's 1068 starts with the folder,
// and a quiet install without -t takes it.
struct InstallDirInputs {
  std::string strRecorded;       // drive and folder of the recorded install (Hanbell.ini), or ""
  std::string strFixed;          // [Altitude] InstallDir with its final backslash, or ""
  unsigned nFixedDriveType = 0;  // GetDriveTypeA of the fixed folder's drive root
  std::string strWindowsDir;     // the Windows folder
  std::string strProgramFiles;   // GetProgramFilesFolder, may be ""
  std::string strCompany;        // [Setup] Name as the wizard shows it
  std::string strExeTitle;       // the executable's title
};

// The recorded folder; else the author's fixed folder (moved to the Windows drive
// when its own drive is a CD-ROM or unknown); else the default folder.
std::string ProposeInstallDir(const InstallDirInputs& in);

// 1068 after losing the focus: empty becomes the default folder, and a final
// backslash is added when missing.
std::string NormaliseInstallDir(const std::string& text, const std::string& programFiles, const std::string& company,
                                const std::string& exeTitle);

// The folder browser's start for the install folder field: its drive and folder
// part without the final backslash ("C:\Apps\Sample" -> "C:\Apps").
std::string BrowseStartFolder(const std::string& fieldText);

// The browser's answer in the installer's convention: the chosen path with a final
// backslash ("" stays ""), or the initial folder when the path fills 260 bytes.
std::string PickedFolder(const std::string& path, const std::string& initialFolder);

// ---- paths as the file system reads them ------------------------------------------

// A path as the file system will read it: "/" taken as "\", repeated separators
// merged, "." and ".." resolved. False for anything that cannot be judged safely: a
// path without a drive or share, a device path (\\?\, \\.\), ".." above the root, or
// a part that the system would shorten (ending in "." or " ") or that names a stream.
struct ResolvedPath {
  std::string strRoot;             // "C:\" or "\\server\share\"
  std::vector<std::string> parts;  // the names below the root
  std::string Text() const;        // root + parts joined by "\" (no final "\")
};
bool ResolvePath(const std::string& path, ResolvedPath& out);

// True when `path` lies below `folder` (not the folder itself) once both are
// resolved; names are compared without regard to ASCII case.
bool IsInsideFolder(const std::string& path, const std::string& folder);

// The file name and extension of a path, as _splitpath gives them.
std::string FileNamePart(const std::string& path);

// A bare file name that names one file directly in a folder: no separators, no
// drive or stream, no wildcards, nothing the system would shorten or climb with.
bool IsPlainFileName(const std::string& name);

}  // namespace setupinfo
