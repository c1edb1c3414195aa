// Texts of the single-document framework that need no window: document strings,
// frame titles, file dialog filters, recent-file display names, command lines.
#pragma once
#include <string>
#include <vector>

namespace sdi {

// Substring i of a '\n'-separated document string; false when there is none.
bool ExtractSubString(std::string& out, const std::string& full, int i, char sep = '\n');

// Replaces every "%1" of fmt by arg.
std::string FormatString1(const std::string& fmt, const std::string& arg);

// "document - application" (prefix form) or "application - document".
std::string FrameTitle(const std::string& docTitle, const std::string& appTitle, bool bPrefix = true);

// A file dialog filter: name and "*ext" for the document type, then name and "*.*"
// for all files; each part ends with a zero and the list with a second one.
std::string FileDialogFilter(const std::string& filterName, const std::string& filterExt,
                             const std::string& allFilterName);

// Last path component (after the last backslash or slash, double-byte aware).
std::string FileNameOf(const std::string& path);

// Shortens a path to nMax bytes by replacing leading folders after the root with
// "...", keeping the file name; a file name longer than nMax is kept whole when
// bAtLeastName, otherwise cut.
std::string AbbreviatePath(const std::string& path, size_t nMax, bool bAtLeastName = true);

// What a recent-file entry shows: the bare name for a file in curDir (a folder path
// ending in a backslash), otherwise the abbreviated path; '&' is doubled.
std::string RecentDisplayName(const std::string& path, const std::string& curDir, size_t nMax = 30);

// Splits a command line (after the program name) like the C runtime: blanks
// separate, quotes group, backslashes escape only before a quote. Double-byte
// characters are kept whole.
std::vector<std::string> SplitCommandLine(const std::string& cmdLine);

// What follows the program name in a full command line (GetCommandLineA), blanks
// after the name skipped. Bytes of double-byte characters are never taken for blanks.
std::string ArgsAfterProgramName(const std::string& fullCmdLine);

}  // namespace sdi
