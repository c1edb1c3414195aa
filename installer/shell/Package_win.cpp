#include "Package_win.h"

#include <ntsecapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>

#include "Cabinet_win.h"
#include "Globals.h"
#include "InstallNames.h"
#include "Mbcs.h"
#include "Package.h"
#include "SetupInfo.h"
#include "Sha256.h"
#include "ShellFolders.h"

namespace package {

namespace {

constexpr DWORD kChunk = 1 << 20;
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

std::uint64_t TimeOf(const FILETIME& t) { return (std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime; }

FILETIME FileTimeOf(std::uint64_t t) {
  FILETIME f;
  f.dwLowDateTime = static_cast<DWORD>(t);
  f.dwHighDateTime = static_cast<DWORD>(t >> 32);
  return f;
}

bool Seek(HANDLE h, std::uint64_t at) {
  LARGE_INTEGER to;
  to.QuadPart = static_cast<LONGLONG>(at);
  return ::SetFilePointerEx(h, to, nullptr, FILE_BEGIN) != FALSE;
}

bool WriteAll(HANDLE h, const void* p, std::size_t size) {
  const char* bytes = static_cast<const char*>(p);
  while (size > 0) {
    DWORD n = size > kChunk ? kChunk : static_cast<DWORD>(size), put = 0;
    if (!::WriteFile(h, bytes, n, &put, nullptr) || put != n) return false;
    bytes += n;
    size -= n;
  }
  return true;
}

bool ReadAll(HANDLE h, void* p, std::size_t size) {
  char* bytes = static_cast<char*>(p);
  while (size > 0) {
    DWORD n = size > kChunk ? kChunk : static_cast<DWORD>(size), got = 0;
    if (!::ReadFile(h, bytes, n, &got, nullptr) || got != n) return false;
    bytes += n;
    size -= n;
  }
  return true;
}

// Feeds `size` bytes of `h` from where it stands into the digest.
bool HashFrom(HANDLE h, std::uint64_t size, CSha256& sha, const std::function<void(std::uint64_t)>& step) {
  std::vector<char> buf(kChunk);
  while (size > 0) {
    DWORD n = size > kChunk ? kChunk : static_cast<DWORD>(size);
    if (!ReadAll(h, buf.data(), n)) return false;
    sha.Update(buf.data(), n);
    size -= n;
    if (step) step(n);
  }
  return true;
}

bool FileSize(HANDLE h, std::uint64_t& size) {
  LARGE_INTEGER s;
  if (!::GetFileSizeEx(h, &s)) return false;
  size = static_cast<std::uint64_t>(s.QuadPart);
  return true;
}

bool ReadWhole(const CString& path, std::string& bytes, FILETIME& written) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  std::uint64_t size = 0;
  bool ok = FileSize(h, size) && size < 0x7FFFFFFF && ::GetFileTime(h, nullptr, nullptr, &written);
  if (ok) {
    bytes.resize(static_cast<std::size_t>(size));
    ok = ReadAll(h, &bytes[0], bytes.size());
  }
  ::CloseHandle(h);
  return ok;
}

CString FullPath(const CString& path) {
  char buf[2 * MAX_PATH] = "";
  DWORD n = ::GetFullPathNameA(path.c_str(), sizeof buf, buf, nullptr);
  return n > 0 && n < sizeof buf ? CString(buf, n) : path;
}

CString FolderOfPath(const CString& path) {
  std::size_t slash = mbcs::FindLastChar(path, '\\');
  return slash == std::string::npos ? CString() : path.substr(0, slash + 1);
}

// The package's bytes after the installer and its header, into `h` (made for it).
WriteResult WriteBody(HANDLE h, const std::string& installer, std::uint64_t installerTime,
                      const std::vector<CSourceFile>& files, const std::vector<Entry>& entries, CString& failed,
                      const Progress& progress) {
  std::string marked = installer;
  WriteMark(reinterpret_cast<unsigned char*>(&marked[0]), static_cast<std::uint32_t>(installer.size()));
  const std::uint64_t cabinetAt = installer.size() + kHeaderSize;
  if (!WriteAll(h, marked.data(), marked.size()) || !WriteAll(h, std::string(kHeaderSize, '\0').data(), kHeaderSize))
    return WriteResult::Failed;

  std::uint64_t total = 0, done = 0;
  for (const Entry& e : entries) total += e.nSize;
  CCabinetWriter cabinet;
  cabinet.m_onBytes = [&](unsigned long n) {
    done += n;
    if (progress) progress(done, total);
  };
  if (!cabinet.Begin(h, cabinetAt)) return WriteResult::Failed;
  for (const CSourceFile& f : files)
    if (!cabinet.Add(f.strPath, f.strName)) {
      // a source that went away while it was read is named, as one missing before
      if (::GetFileAttributesA(f.strPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
        failed = f.strPath;
        return WriteResult::SourceMissing;
      }
      return WriteResult::Failed;
    }
  if (!cabinet.Finish()) return WriteResult::Failed;

  Header header;
  std::uint64_t size = 0;
  if (!FileSize(h, size) || size <= cabinetAt) return WriteResult::Failed;
  header.nCabinetSize = size - cabinetAt;
  const std::string index = EncodeIndex(entries);
  header.nIndexSize = index.size();
  header.nInstallerTime = installerTime;
  if (!Seek(h, size) || !WriteAll(h, index.data(), index.size())) return WriteResult::Failed;

  // the digest over what a package's start will read: the installer as it was, the
  // cabinet as it now lies in the file, the index
  CSha256 sha;
  sha.Update(installer.data(), installer.size());
  if (!Seek(h, cabinetAt) || !HashFrom(h, header.nCabinetSize, sha, nullptr)) return WriteResult::Failed;
  sha.Update(index.data(), index.size());
  sha.Final(header.digest);
  const std::string bytes = EncodeHeader(header);
  if (!Seek(h, installer.size()) || !WriteAll(h, bytes.data(), bytes.size()) || !::FlushFileBuffers(h))
    return WriteResult::Failed;
  return WriteResult::Written;
}

}  // namespace

WriteResult WritePackage(const CString& installer, const std::vector<CSourceFile>& files, const CString& output,
                         CString& failed, const Progress& progress) {
  failed = output;
  const CString target = FullPath(output);
  std::string plain;
  FILETIME installerTime;
  if (!ReadWhole(installer, plain, installerTime)) {
    failed = installer;
    return WriteResult::SourceMissing;
  }
  if (!IsPlainInstaller(reinterpret_cast<const unsigned char*>(plain.data()), plain.size())) return WriteResult::Failed;
  // what is packed is never written over
  if (mbcs::IEquals(target, FullPath(installer))) return WriteResult::Failed;

  std::vector<Entry> entries;
  for (const CSourceFile& f : files) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(f.strPath.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      failed = f.strPath;
      return WriteResult::SourceMissing;
    }
    if (mbcs::IEquals(target, FullPath(f.strPath))) return WriteResult::Failed;
    Entry e;
    e.strName = f.strName;
    e.nSize = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    e.nWriteTime = TimeOf(data.ftLastWriteTime);
    e.dwAttributes = data.dwFileAttributes & kKeptAttributes;
    entries.push_back(e);
  }

  // made beside the target under a name of its own, put in its place when whole
  char temp[MAX_PATH] = "";
  const CString folder = FolderOfPath(target);
  if (folder.empty() || !CreateFolderPath(folder) || !::GetTempFileNameA(folder.c_str(), "hbp", 0, temp))
    return WriteResult::Failed;
  HANDLE h = ::CreateFileA(temp, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  WriteResult result = WriteResult::Failed;
  if (h != INVALID_HANDLE_VALUE) {
    result = WriteBody(h, plain, TimeOf(installerTime), files, entries, failed, progress);
    ::CloseHandle(h);
  }
  if (result == WriteResult::Written && !::MoveFileExA(temp, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
    result = WriteResult::Failed;
  if (result != WriteResult::Written) ::DeleteFileA(temp);
  return result;
}

std::uint32_t RunningPayloadOffset() {
  return ReadMark(reinterpret_cast<const unsigned char*>(::GetModuleHandleA(nullptr)));
}

namespace {

// A name no folder under the temporary folder has had: random, made exclusively.
CString MakeOwnFolder() {
  char dir[MAX_PATH] = "";
  DWORD n = ::GetTempPathA(MAX_PATH, dir);
  if (n == 0 || n >= MAX_PATH) return CString();
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned char random[8] = {};
    if (!RtlGenRandom(random, sizeof random)) {
      LARGE_INTEGER t;
      ::QueryPerformanceCounter(&t);
      for (int i = 0; i < 8; ++i) random[i] = static_cast<unsigned char>((t.QuadPart >> (8 * i)) ^ ::GetCurrentProcessId() ^ attempt);
    }
    char name[32];
    std::snprintf(name, sizeof name, "Hanbell-%02x%02x%02x%02x%02x%02x%02x%02x", random[0], random[1], random[2],
                  random[3], random[4], random[5], random[6], random[7]);
    CString folder = CString(dir, n) + name;
    if (::CreateDirectoryA(folder.c_str(), nullptr)) return folder + "\\";
    if (::GetLastError() != ERROR_ALREADY_EXISTS) return CString();
  }
  return CString();
}

// The checked payload: the plain installer and the index.
struct CChecked {
  std::string installer;
  Header header;
  std::vector<Entry> entries;
};

bool Check(HANDLE h, std::uint32_t installerSize, CChecked& out, const std::function<void(std::uint64_t)>& step) {
  std::uint64_t size = 0;
  if (installerSize < kDosHeaderSize || !FileSize(h, size) || size < std::uint64_t{installerSize} + kHeaderSize)
    return false;
  out.installer.resize(installerSize);
  unsigned char head[kHeaderSize];
  if (!Seek(h, 0) || !ReadAll(h, &out.installer[0], installerSize) || !ReadAll(h, head, kHeaderSize)) return false;
  unsigned char* dos = reinterpret_cast<unsigned char*>(&out.installer[0]);
  if (ReadMark(dos) != installerSize || !DecodeHeader(head, kHeaderSize, out.header) ||
      !FitsFile(out.header, installerSize, size))
    return false;
  ClearMark(dos);

  CSha256 sha;
  sha.Update(out.installer.data(), out.installer.size());
  if (!HashFrom(h, out.header.nCabinetSize, sha, step)) return false;
  std::string index(static_cast<std::size_t>(out.header.nIndexSize), '\0');
  if (!index.empty() && !ReadAll(h, &index[0], index.size())) return false;
  sha.Update(index.data(), index.size());
  unsigned char digest[kDigestSize];
  sha.Final(digest);
  return std::memcmp(digest, out.header.digest, kDigestSize) == 0 && DecodeIndex(index, out.entries);
}

bool WriteInstaller(const CString& path, const CChecked& checked) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  FILETIME t = FileTimeOf(checked.header.nInstallerTime);
  bool ok = WriteAll(h, checked.installer.data(), checked.installer.size()) && ::SetFileTime(h, nullptr, nullptr, &t);
  return ::CloseHandle(h) && ok;
}

}  // namespace

// Writes a package's files from its cabinet, after Setup.ini, on a thread of its own;
// it owns the package's handle from then on.
class CPackageWriter {
 public:
  CPackageWriter(HANDLE h, CChecked checked, std::uint32_t installerSize, const CString& folder, CHeldFiles& files)
      : m_h(h), m_checked(std::move(checked)), m_nInstallerSize(installerSize), m_strFolder(folder), m_files(files) {
    for (const Entry& e : m_checked.entries) m_entries[mbcs::ToLower(e.strName)] = &e;
  }
  ~CPackageWriter() { ::CloseHandle(m_h); }

  static DWORD WINAPI Main(LPVOID self) {
    static_cast<CPackageWriter*>(self)->Run();
    return 0;
  }
  void Run();
  void Stop() { ::InterlockedExchange(&m_nStop, 1); }
  std::uint64_t Written() const { return static_cast<std::uint64_t>(::InterlockedCompareExchange(&m_nWritten, 0, 0)); }

 private:
  CCabinetSink Create(const std::string& name);
  bool Finish(const std::string& name, const CCabinetSink& sink);

  HANDLE m_h;
  CChecked m_checked;
  std::uint32_t m_nInstallerSize;
  CString m_strFolder;
  CHeldFiles& m_files;
  std::map<std::string, const Entry*> m_entries;  // the index by lower-case name
  std::set<std::string> m_made;                 // folders made below the folder
  volatile LONG m_nStop = 0;
  mutable volatile LONG m_nWritten = 0;  // KB written, for the progress of a start that waits
};

CCabinetSink CPackageWriter::Create(const std::string& name) {
  CCabinetSink sink;
  auto slot = m_files.m_files.find(mbcs::ToLower(name));
  // a name twice, or one the index lacks, fails the whole; so does a stop
  if (m_nStop || slot == m_files.m_files.end() || slot->second.state != CHeldFiles::State::Pending) return sink;
  if (slot->second.bHeld) {
    slot->second.file.bytes.reserve(static_cast<std::size_t>(m_entries[slot->first]->nSize));
    sink.pMemory = &slot->second.file.bytes;
    return sink;
  }
  std::size_t slash = mbcs::FindLastChar(name, '\\');
  if (slash != std::string::npos && m_made.insert(name.substr(0, slash)).second &&
      !CreateFolderPath(m_strFolder + name.substr(0, slash)))
    return sink;
  sink.h = ::CreateFileA((m_strFolder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  return sink;
}

bool CPackageWriter::Finish(const std::string& name, const CCabinetSink& sink) {
  const std::string lower = mbcs::ToLower(name);
  CHeldFiles::CSlot& slot = m_files.m_files[lower];
  const Entry& e = *m_entries[lower];
  bool ok = true;
  if (sink.pMemory) {
    slot.file.written = FileTimeOf(e.nWriteTime);
    slot.file.dwAttributes = e.dwAttributes | FILE_ATTRIBUTE_ARCHIVE;  // as a new file on a disk would have it
    ok = sink.pMemory->size() == e.nSize;
  } else {
    std::uint64_t size = 0;
    FILETIME t = FileTimeOf(e.nWriteTime);
    ok = FileSize(sink.h, size) && size == e.nSize && ::SetFileTime(sink.h, nullptr, nullptr, &t);
    ok = ::CloseHandle(sink.h) && ok;
    // a new file is one to archive already; the other bits are set as they were
    if (ok && (e.dwAttributes & ~FILE_ATTRIBUTE_ARCHIVE) != 0)
      ok = ::SetFileAttributesA((m_strFolder + name).c_str(), e.dwAttributes) != FALSE;
    if (!ok) ::DeleteFileA((m_strFolder + name).c_str());
  }
  ::InterlockedExchangeAdd(&m_nWritten, static_cast<LONG>(e.nSize >> 10));
  m_files.Settle(slot, ok);
  return ok;
}

void CPackageWriter::Run() {
  ExtractCabinet(
      m_h, std::uint64_t{m_nInstallerSize} + kHeaderSize, m_checked.header.nCabinetSize,
      [this](const std::string& name) { return Create(name); },
      [this](const std::string& name, const CCabinetSink& sink) { return Finish(name, sink); });
  // what the cabinet did not give whole is not there: a file begun in the folder goes
  for (auto& [name, slot] : m_files.m_files)
    if (slot.state == CHeldFiles::State::Pending) {
      if (!slot.bHeld) ::DeleteFileA((m_strFolder + name).c_str());
      m_files.Settle(slot, false);
    }
}

CHeldFiles::CHeldFiles() {
  ::InitializeCriticalSection(&m_lock);
  m_hSettled = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

CHeldFiles::~CHeldFiles() {
  Stop();
  if (m_hSettled) ::CloseHandle(m_hSettled);
  ::DeleteCriticalSection(&m_lock);
}

const CHeldFiles::CSlot* CHeldFiles::SlotOf(const CString& path) const {
  if (m_files.empty() || path.size() <= m_strFolder.size()) return nullptr;
  const std::string lower = mbcs::ToLower(path);
  if (lower.compare(0, m_strFolder.size(), m_strFolder) != 0) return nullptr;
  auto it = m_files.find(lower.substr(m_strFolder.size()));
  return it == m_files.end() ? nullptr : &it->second;
}

CHeldFiles::State CHeldFiles::WaitFor(const CSlot& slot, const std::function<void()>& tick) const {
  for (;;) {
    ::EnterCriticalSection(&m_lock);
    const State state = slot.state;
    ::LeaveCriticalSection(&m_lock);
    if (state != State::Pending) return state;
    // the windows are answered while the run waits for a large file
    if (::MsgWaitForMultipleObjects(1, &m_hSettled, FALSE, 30, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) PumpPendingMessage();
    if (tick) tick();
  }
}

void CHeldFiles::Settle(CSlot& slot, bool written) {
  ::EnterCriticalSection(&m_lock);
  slot.state = written ? State::Written : State::Failed;
  ::LeaveCriticalSection(&m_lock);
  ::SetEvent(m_hSettled);
}

const CHeldFile* CHeldFiles::Find(const CString& path) const {
  const CSlot* slot = SlotOf(path);
  if (!slot) return nullptr;
  return WaitFor(*slot, nullptr) == State::Written && slot->bHeld ? &slot->file : nullptr;
}

void CHeldFiles::Stop() {
  if (!m_hThread) return;
  m_pWriter->Stop();
  ::WaitForSingleObject(m_hThread, INFINITE);
  ::CloseHandle(m_hThread);
  m_hThread = nullptr;
}

std::uint64_t HeldBudget() {
  MEMORYSTATUSEX memory = {};
  memory.dwLength = sizeof memory;
  const std::uint64_t eighth = ::GlobalMemoryStatusEx(&memory) ? memory.ullTotalPhys / 8 : 0;
  return std::min(std::max(eighth, std::uint64_t{32} << 20), std::uint64_t{512} << 20);
}

CHeldFiles& HeldFiles() {
  static CHeldFiles files;
  return files;
}

OpenResult ExtractPackage(const CString& path, std::uint32_t installerSize, CString& folder, const Progress& progress,
                          CHeldFiles& files, std::uint64_t budget) {
  folder.clear();
  files.Stop();
  files.m_pWriter.reset();
  files.m_files.clear();
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                           nullptr);
  if (h == INVALID_HANDLE_VALUE) return OpenResult::Damaged;
  // the bar's first half follows the check of the cabinet, its second half the files
  // written before the run can begin
  CChecked checked;
  std::uint64_t checkedBytes = 0, cabinetBytes = 1, all = 1;
  auto show = [&](std::uint64_t written) {
    if (progress) progress(checkedBytes * 1000 / cabinetBytes + written * 1000 / all, 2000);
  };
  if (!Check(h, installerSize, checked, [&](std::uint64_t n) {
        checkedBytes += n;
        cabinetBytes = checked.header.nCabinetSize > 0 ? checked.header.nCabinetSize : 1;
        show(0);
      })) {
    ::CloseHandle(h);
    return OpenResult::Damaged;
  }
  checkedBytes = cabinetBytes = 1;
  for (const Entry& e : checked.entries) all += e.nSize >> 10;

  folder = MakeOwnFolder();
  if (folder.empty() || !WriteInstaller(folder + setupinfo::kInstallerSource, checked)) {
    ::CloseHandle(h);
    return OpenResult::NoFolder;
  }
  // Setup.ini is read by its path from the start on; the rest only by the copies
  files.m_strFolder = mbcs::ToLower(folder);
  std::uint64_t heldBytes = 0;
  for (const Entry& e : checked.entries) {
    CHeldFiles::CSlot& slot = files.m_files[mbcs::ToLower(e.strName)];
    slot.bHeld = !mbcs::IEquals(e.strName, setupinfo::kFileName) && e.nSize <= budget - heldBytes;
    if (slot.bHeld) heldBytes += e.nSize;
  }
  auto ini = files.m_files.find(mbcs::ToLower(setupinfo::kFileName));
  if (ini == files.m_files.end()) {
    ::CloseHandle(h);
    files.m_files.clear();
    return OpenResult::Damaged;  // no install goes without it
  }
  files.m_pWriter.reset(new CPackageWriter(h, std::move(checked), installerSize, folder, files));
  files.m_hThread = ::CreateThread(nullptr, 0, CPackageWriter::Main, files.m_pWriter.get(), 0, nullptr);
  if (!files.m_hThread) files.m_pWriter->Run();  // no thread to be had: all of it first
  const CPackageWriter& writer = *files.m_pWriter;
  return files.WaitFor(ini->second, [&] { show(writer.Written()); }) == CHeldFiles::State::Written
             ? OpenResult::Extracted
             : OpenResult::NoFolder;
}

bool RemoveFolderTree(const CString& folder) {
  if (folder.empty()) return false;
  WIN32_FIND_DATAA fd;
  HANDLE find = ::FindFirstFileA((folder + "*").c_str(), &fd);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      const CString path = folder + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
          ::RemoveDirectoryA(path.c_str());
        else
          RemoveFolderTree(path + "\\");
      } else {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_READONLY) ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(path.c_str());
      }
    } while (::FindNextFileA(find, &fd));
    ::FindClose(find);
  }
  ::SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  return ::RemoveDirectoryA(folder.c_str()) != FALSE;
}

}  // namespace package
