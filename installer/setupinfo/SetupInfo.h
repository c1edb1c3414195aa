// Setup.ini: section and key names, defaults, read limits and the path rules
// shared by authoring, install and uninstall. Portable: no OS calls here.
#pragma once
#include <cstddef>
#include <string>

namespace setupinfo {

constexpr const char* kFileName = "Setup.ini";

// Buffer sizes the readers use (a value is cut to size - 1 bytes).
constexpr int kBufTitle = 50;
constexpr int kBufVersion = 20;
constexpr int kBufName = 50;
constexpr int kBufPath = 260;

constexpr const char* kDefTitle = "<<Title/Application Name.>>";
constexpr const char* kDefVersion = "Ver 1.00";
constexpr const char* kDefName = "TOVANE Soft";

// Sections.
constexpr const char* kSecSetup = "Setup";
constexpr const char* kSecCommentary = "Commentary";
constexpr const char* kSecTree = "TreeCtrl";
constexpr const char* kSecOption = "Option";
constexpr const char* kSecAltitude = "Altitude";
constexpr const char* kSecGroup = "AltitudeGroup";
constexpr const char* kSecGrpSC = "AltitudeGrpSC";
constexpr const char* kSecSystem = "AltitudeSystem";

// Name of list entry `index` with the given prefix ("_t", "_f", "_g", "_c", "_s").
std::string EntryKey(const char* prefix, int index);

// Rebasing: when topRoot differs (case-sensitively) from setupDir, every occurrence
// of topRoot in value is replaced by setupDir; otherwise value is returned as is.
std::string Rebase(const std::string& value, const std::string& topRoot, const std::string& setupDir);

// How many entries of a stored list a reader looks up, install and removal alike: none
// for a count not above 0, and no more than the section holds keys, since every entry
// is a key of its own. The entries from there up to the count cannot all be present;
// they are not looked up one by one, and each counts as a missing entry.
int ListEntriesToRead(int count, std::size_t keysInSection);

// Relative form: every occurrence of topRoot is removed.
std::string RelativeForm(const std::string& value, const std::string& topRoot);

// Whether a name relative to a folder stays inside it: not empty, not rooted
// ("\x", "\\srv\x"), no drive or stream colon, no component of dots and blanks alone
// (".", "..", "..."), no device name (CON, NUL, COM1, ...).
bool IsInsideName(const std::string& relative);

// A _f entry: path, "|", attribute bits. Returns false for an entry without "|",
// which ends the reading of the tree.
struct TreeEntry {
  std::string strPath;
  unsigned long dwAttributes = 0;
};
bool ParseTreeEntry(const std::string& value, TreeEntry& out);
std::string FormatTreeEntry(const std::string& path, unsigned long attributes);

// The platform's GetPrivateProfileInt: leading blanks, optional sign, decimal digits;
// the default only when the key is absent (callers handle that), 0 for non-numbers.
int ParseProfileInt(const std::string& value);

}  // namespace setupinfo
