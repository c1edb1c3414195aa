// Decisions of the main wizard that need no window: the proposed install folder,
// the normalisation of edited fields, the description's lines and the banner font.
// Portable: the dialog reads the controls, files and registry and hands the values in.
#pragma once
#include <string>
#include <vector>

namespace wizardrules {

// Shown in the description box when Setup.ini stores no line.
extern const char* const kDefaultCommentary;

// A description line is fetched from the box into a buffer of this many bytes
// (no terminating zero), so longer display lines are cut here.
constexpr std::size_t kLineBuffer = 260;

// Lines of the description box beyond this are neither loaded nor saved: a damaged
// count must not keep the wizard busy for hours.
constexpr int kMaxCommentaryLines = 10000;

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

// What the wizard needs to propose the install folder in 1068.
struct InstallDirInputs {
  std::string strRecorded;       // drive and folder of the recorded install (Hanbell.ini), or ""
  std::string strFixed;          // [Altitude] InstallDir with its final backslash, or ""
  unsigned nFixedDriveType = 0;  // GetDriveTypeA of the fixed folder's drive root
  std::string strWindowsDir;     // the Windows folder
  std::string strProgramFiles;   // GetProgramFilesFolder, may be ""
  std::string strCompany;        // [Setup] Name as the wizard shows it
  std::string strExeTitle;       // m_strExeTitle
};

// The recorded folder; else the author's fixed folder (moved to the Windows drive
// when its own drive is a CD-ROM or unknown); else the default folder.
std::string ProposeInstallDir(const InstallDirInputs& in);

// 1068 after losing the focus: empty becomes the default folder, and a final
// backslash is added when missing.
std::string NormaliseInstallDir(const std::string& text, const std::string& programFiles, const std::string& company,
                                const std::string& exeTitle);

// 1037 after losing the focus: "0" when the text read as a decimal number (leading
// blanks, a sign, digits) is not above 0, otherwise the text unchanged. A number too
// big for an int is still above 0.
std::string NormaliseDelay(const std::string& text);

// Average character width of the install form's banner font.
int BannerFontWidth(int nWindowRight, int nBannerBytes);

// How many stored description lines are read for a stored Count: none for a Count
// that is not above 0, at most kMaxCommentaryLines.
int CommentaryLinesToLoad(int nStoredCount);

// The description box's text for the stored Count and the lines read for it: each
// line ends with "\r\n"; a Count of 0 gives the default text, and a negative Count
// (a damaged file) leaves the box empty.
std::string CommentaryText(int nStoredCount, const std::vector<std::string>& lines);

// The stored lines for the box's display lines: every line but the last, each cut
// to the fetch buffer without splitting a double-byte character.
std::vector<std::string> CommentaryLinesToStore(const std::vector<std::string>& displayLines);

// The folder browser's start for the install folder field: its drive and folder
// part without the final backslash ("C:\Apps\Sample" -> "C:\Apps").
std::string BrowseStartFolder(const std::string& fieldText);

// The browser's answer in the installer's convention: the chosen path with a final
// backslash ("" stays ""), or the initial folder when the path fills 260 bytes.
std::string PickedFolder(const std::string& path, const std::string& initialFolder);

// A stored list count made safe for an array of `capacity` entries: negative counts
// give 0, and one entry always stays free so that an empty entry follows the last used.
int ClampListCount(int nStored, int capacity);

}  // namespace wizardrules
