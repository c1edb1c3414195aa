// The installer packed into one file (see Package.h): writing one, and a package's
// start, where its payload is checked and its files are written into a folder of
// their own that the run then uses as its distribution folder.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "AfxWin.h"

namespace package {

// Progress of a long step: bytes done of all of them.
using Progress = std::function<void(std::uint64_t done, std::uint64_t total)>;

struct CSourceFile {
  CString strPath;  // where it is read
  CString strName;  // its name in the package, relative
};

enum class WriteResult { Written, SourceMissing, Failed };

// Writes the plain installer `installer` and the files into one package at `output`,
// replacing what is there. The package is made under another name beside `output` and
// takes its place only when whole, so that nothing half-written is ever left. `failed`
// names the file at fault: a source that cannot be read, or the output.
WriteResult WritePackage(const CString& installer, const std::vector<CSourceFile>& files, const CString& output,
                         CString& failed, const Progress& progress = nullptr);

// Where the running program's payload begins (its plain installer's size), read from
// its own image; 0 for a plain installer.
std::uint32_t RunningPayloadOffset();

enum class OpenResult {
  Extracted,  // the files lie in the new folder
  Damaged,    // cut, changed, or no package of ours: nothing was written
  NoFolder,   // the files could not be written into a folder of their own
};

// A package's files kept in memory for its run: an install writes each straight to
// its destination, from the one package file, as if it lay in the package's folder.
// Under the platform a file read from a folder costs as many requests as the copy it
// makes; from memory a file costs only its copy.
struct CHeldFile {
  std::string bytes;
  FILETIME written = {};
  std::uint32_t dwAttributes = 0;
};

class CHeldFiles {
 public:
  // The file at `path` (a path in the package's folder), nullptr when it is not held.
  const CHeldFile* Find(const CString& path) const;
  bool IsEmpty() const { return m_files.empty(); }
  // Empty, for the files of the package's folder `folder` (with its backslash).
  void Reset(const CString& folder);
  // The file of the relative `name`, made empty when it was not held yet.
  CHeldFile& Hold(const std::string& name);

 private:
  CString m_strFolder;                       // the package's folder, lower case
  std::map<std::string, CHeldFile> m_files;  // by relative name, lower case
};

// The running package's held files (none for a distribution folder).
CHeldFiles& HeldFiles();

// What a run keeps in memory at most; the files beyond it are written to the folder.
constexpr std::uint64_t kHeldBytes = 128ull << 20;

// Checks the package `path`, whose payload begins at `installerSize`, against its
// digest before anything is written; then writes the plain installer as Setup.exe and
// every file with its time and attributes into a new folder under the temporary
// folder, made for this run alone under a random name. With `held`, the files but
// Setup.ini go into it instead, as far as kHeldBytes allows. `folder` (with its
// backslash) is set once the folder was made, whatever follows; it is the caller's to
// remove.
OpenResult ExtractPackage(const CString& path, std::uint32_t installerSize, CString& folder,
                          const Progress& progress = nullptr, CHeldFiles* held = nullptr);

// Removes a folder and everything below it; a link found inside is removed, never
// followed.
bool RemoveFolderTree(const CString& folder);

}  // namespace package
