// The installer packed into one file (see Package.h): writing one, and a package's
// start, where its payload is checked and its files are written into a folder of
// their own that the run then uses as its distribution folder.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
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

class CPackageWriter;

// Every file of a running package, held in memory or written into its folder. The
// package's start writes them on a thread of its own while the run goes on (its
// cabinet is read in one pass, Setup.ini first), so a look-up waits for its file.
class CHeldFiles {
 public:
  CHeldFiles();
  ~CHeldFiles();
  CHeldFiles(const CHeldFiles&) = delete;
  CHeldFiles& operator=(const CHeldFiles&) = delete;

  // The file at `path` (a path in the package's folder) once it is written, keeping
  // the windows alive meanwhile. nullptr when it is not held in memory: it lies in the
  // folder by then, could not be written, or is none of the package's.
  const CHeldFile* Find(const CString& path) const;
  // Ends the writing at the next file and waits for it; what is not written by then
  // stays unwritten. Before the folder is removed.
  void Stop();

 private:
  friend class CPackageWriter;
  friend OpenResult ExtractPackage(const CString&, std::uint32_t, CString&, const Progress&, CHeldFiles&,
                                   std::uint64_t);
  enum class State { Pending, Written, Failed };
  struct CSlot {
    CHeldFile file;
    bool bHeld = false;  // in memory; in the folder otherwise
    State state = State::Pending;
  };
  // The slot of `path` in the folder, nullptr for none.
  const CSlot* SlotOf(const CString& path) const;
  // Waits for a slot to be settled, calling `tick` every few milliseconds meanwhile.
  State WaitFor(const CSlot& slot, const std::function<void()>& tick) const;
  // Settles a slot, by the writer alone, and wakes the run if it waits.
  void Settle(CSlot& slot, bool written);

  CString m_strFolder;                  // the package's folder, lower case
  std::map<std::string, CSlot> m_files;  // by relative name, lower case
  mutable CRITICAL_SECTION m_lock;      // over the slots' states
  HANDLE m_hSettled = nullptr;          // set whenever a slot is settled
  HANDLE m_hThread = nullptr;           // the writer's, while it runs
  std::unique_ptr<CPackageWriter> m_pWriter;
};

// The running package's files (none for a distribution folder).
CHeldFiles& HeldFiles();

// What a run keeps in memory at most: an eighth of the machine's memory, between 32 MB
// and 512 MB; the files beyond it are written to the folder, to be copied from there.
std::uint64_t HeldBudget();

// Checks the package `path`, whose payload begins at `installerSize`, against its
// digest before anything is written; then writes the plain installer as Setup.exe into
// a new folder under the temporary folder, made for this run alone under a random
// name, and Setup.ini beside it, and returns. Its other files go on being written into
// `files` on a thread of their own: into memory as far as `budget` allows, into the
// folder beyond, each with its time and attributes. `folder` (with its backslash) is
// set once the folder was made, whatever follows; it is the caller's to remove, after
// `files.Stop()`.
OpenResult ExtractPackage(const CString& path, std::uint32_t installerSize, CString& folder,
                          const Progress& progress, CHeldFiles& files, std::uint64_t budget = HeldBudget());

// Removes a folder and everything below it; a link found inside is removed, never
// followed.
bool RemoveFolderTree(const CString& folder);

}  // namespace package
