// Decisions of the main wizard that need no window: the normalisation of the delay,
// the description's lines and the banner font. Portable: the dialog reads the
// controls, files and registry and hands the values in.
#pragma once
#include <string>
#include <vector>

#include "FolderRules.h"
#include "SetupOptions.h"

namespace wizardrules {

// The install folder field is proposed, normalised and browsed from by the name and
// folder rules the runs share (a quiet install proposes the same folder), and the
// advanced lists are counted as every reader of the setup's options counts them.
using setupinfo::BrowseStartFolder;
using setupinfo::ClampListCount;
using setupinfo::DriveAndFolder;
using setupinfo::DriveRoot;
using setupinfo::EndsWithBackslash;
using setupinfo::ExeTitle;
using setupinfo::InstallDirInputs;
using setupinfo::kDriveCdRom;
using setupinfo::kDriveNoRootDir;
using setupinfo::kDriveUnknown;
using setupinfo::NormaliseInstallDir;
using setupinfo::PickedFolder;
using setupinfo::ProposeInstallDir;
using setupinfo::WithBackslash;

// Shown in the description box when Setup.ini stores no line.
extern const char* const kDefaultCommentary;

// A description line is fetched from the box into a buffer of this many bytes
// (no terminating zero), so longer display lines are cut here.
constexpr std::size_t kLineBuffer = 260;

// Lines of the description box beyond this are neither loaded nor saved: a damaged
// count must not keep the wizard busy for hours.
constexpr int kMaxCommentaryLines = 10000;

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

}  // namespace wizardrules
