// The name and folder rules that the wizard, the install, the removal and the shell
// share: the parts of a path as _splitpath gives them, the final backslash, and the
// install folder proposed and normalised. Portable: callers read the controls, files
// and registry and hand the values in.
#pragma once
#include <string>

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

}  // namespace setupinfo
