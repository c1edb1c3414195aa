#include "Cabinet_win.h"

#include <fci.h>
#include <fcntl.h>
#include <fdi.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <set>

namespace {

// The name the cabinet goes by in the calls below: no file can have it.
char kCabinetName[] = "|package|";

typedef HFCI(DIAMONDAPI* FciCreateFn)(PERF, PFNFCIFILEPLACED, PFNFCIALLOC, PFNFCIFREE, PFNFCIOPEN, PFNFCIREAD,
                                      PFNFCIWRITE, PFNFCICLOSE, PFNFCISEEK, PFNFCIDELETE, PFNFCIGETTEMPFILE, PCCAB,
                                      void*);
typedef BOOL(DIAMONDAPI* FciAddFileFn)(HFCI, char*, char*, BOOL, PFNFCIGETNEXTCABINET, PFNFCISTATUS,
                                       PFNFCIGETOPENINFO, TCOMP);
typedef BOOL(DIAMONDAPI* FciFlushCabinetFn)(HFCI, BOOL, PFNFCIGETNEXTCABINET, PFNFCISTATUS);
typedef BOOL(DIAMONDAPI* FciDestroyFn)(HFCI);
typedef HFDI(DIAMONDAPI* FdiCreateFn)(PFNALLOC, PFNFREE, PFNOPEN, PFNREAD, PFNWRITE, PFNCLOSE, PFNSEEK, int, PERF);
typedef BOOL(DIAMONDAPI* FdiCopyFn)(HFDI, char*, char*, int, PFNFDINOTIFY, PFNFDIDECRYPT, void*);
typedef BOOL(DIAMONDAPI* FdiDestroyFn)(HFDI);

// cabinet.dll of the system folder, by its full path.
HMODULE LoadCabinet() {
  char dir[MAX_PATH] = "";
  UINT n = ::GetSystemDirectoryA(dir, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  std::string path = std::string(dir, n) + "\\cabinet.dll";
  return ::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

template <typename T>
T Proc(HMODULE module, const char* name) {
  return module ? reinterpret_cast<T>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

// A file as the cabinet functions see it: a handle and a window on it. A window that
// begins at `nBase` of a bigger file shows the cabinet alone; `nLimit` bytes of it may
// be read (-1: to the file's end).
struct CCabFile {
  HANDLE h = INVALID_HANDLE_VALUE;
  bool bOwned = true;
  LONGLONG nBase = 0;
  LONGLONG nLimit = -1;
  LONGLONG nPos = 0;
  // Where the handle's pointer stands, -1 when not known; shared by every window on one
  // handle, which nothing else moves while the cabinet functions run.
  LONGLONG nOwnAt = -1;
  LONGLONG* pAt = &nOwnAt;
  std::string* pMemory = nullptr;  // written into memory instead of the handle

  ~CCabFile() {
    if (bOwned && h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
  }
  // The pointer is moved only when an access does not go on where the last one ended:
  // each move is a call to the system, dearer than copying a block.
  bool At() {
    if (*pAt == nBase + nPos) return true;
    LARGE_INTEGER to;
    to.QuadPart = nBase + nPos;
    if (!::SetFilePointerEx(h, to, nullptr, FILE_BEGIN)) {
      *pAt = -1;
      return false;
    }
    *pAt = to.QuadPart;
    return true;
  }
  UINT Read(void* p, UINT cb) {
    if (nLimit >= 0 && nPos + cb > nLimit) cb = nPos >= nLimit ? 0 : static_cast<UINT>(nLimit - nPos);
    DWORD got = 0;
    if (cb > 0 && (!At() || !::ReadFile(h, p, cb, &got, nullptr))) {
      *pAt = -1;
      return static_cast<UINT>(-1);
    }
    nPos += got;
    *pAt += got;
    return got;
  }
  UINT Write(const void* p, UINT cb) {
    if (pMemory) {
      pMemory->append(static_cast<const char*>(p), cb);
      return cb;
    }
    DWORD put = 0;
    if (!At() || !::WriteFile(h, p, cb, &put, nullptr) || put != cb) {
      *pAt = -1;
      return static_cast<UINT>(-1);
    }
    nPos += put;
    *pAt += put;
    return put;
  }
  long Seek(long dist, int from) {
    LONGLONG end = nLimit;
    if (end < 0) {
      LARGE_INTEGER size;
      if (!::GetFileSizeEx(h, &size)) return -1;
      end = size.QuadPart - nBase;
    }
    LONGLONG to = (from == SEEK_SET ? 0 : from == SEEK_CUR ? nPos : end) + dist;
    if (to < 0 || to > 0x7FFFFFFF) return -1;
    nPos = to;
    return static_cast<long>(to);
  }
};

CCabFile* FileOf(INT_PTR hf) { return reinterpret_cast<CCabFile*>(hf); }

INT_PTR OpenFile(const char* name, int oflag, bool bTemporary) {
  DWORD access = (oflag & (_O_WRONLY | _O_RDWR)) == 0 ? GENERIC_READ
                 : (oflag & _O_WRONLY)                 ? GENERIC_WRITE
                                                       : GENERIC_READ | GENERIC_WRITE;
  DWORD disposition = OPEN_EXISTING;
  if (oflag & _O_CREAT)
    // a working file of FCI's own was made empty and exclusively when it was named
    disposition = bTemporary ? CREATE_ALWAYS
                  : (oflag & _O_EXCL) ? CREATE_NEW
                  : (oflag & _O_TRUNC) ? CREATE_ALWAYS
                                       : OPEN_ALWAYS;
  else if (oflag & _O_TRUNC)
    disposition = TRUNCATE_EXISTING;
  HANDLE h = ::CreateFileA(name, access, FILE_SHARE_READ, nullptr, disposition,
                           bTemporary ? FILE_ATTRIBUTE_TEMPORARY : FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return -1;
  CCabFile* f = new CCabFile;
  f->h = h;
  return reinterpret_cast<INT_PTR>(f);
}

void* DIAMONDAPI Alloc(ULONG cb) { return std::malloc(cb); }
void DIAMONDAPI Free(void* p) { std::free(p); }

}  // namespace

// FCI's calls back into the writer.
struct CCabinetCalls {
  static CCabinetWriter* Writer(void* pv) { return static_cast<CCabinetWriter*>(pv); }

  static int DIAMONDAPI Placed(PCCAB, char*, long, BOOL, void*) { return 0; }
  static INT_PTR DIAMONDAPI Open(char* name, int oflag, int, int* err, void* pv) {
    CCabinetWriter* w = Writer(pv);
    if (std::string(name) == kCabinetName) {
      CCabFile* f = new CCabFile;
      f->h = w->m_hOut;
      f->bOwned = false;
      f->nBase = static_cast<LONGLONG>(w->m_nOffset);
      f->pAt = &w->m_nOutAt;
      return reinterpret_cast<INT_PTR>(f);
    }
    bool temporary = false;
    for (const std::string& t : w->m_temps) temporary = temporary || t == name;
    INT_PTR hf = OpenFile(name, oflag, temporary);
    if (hf == -1) *err = static_cast<int>(::GetLastError());
    return hf;
  }
  static UINT DIAMONDAPI Read(INT_PTR hf, void* p, UINT cb, int* err, void*) {
    UINT n = FileOf(hf)->Read(p, cb);
    if (n == static_cast<UINT>(-1)) *err = static_cast<int>(::GetLastError());
    return n;
  }
  static UINT DIAMONDAPI Write(INT_PTR hf, void* p, UINT cb, int* err, void*) {
    UINT n = FileOf(hf)->Write(p, cb);
    if (n == static_cast<UINT>(-1)) *err = static_cast<int>(::GetLastError());
    return n;
  }
  static int DIAMONDAPI Close(INT_PTR hf, int*, void*) {
    delete FileOf(hf);
    return 0;
  }
  static long DIAMONDAPI Seek(INT_PTR hf, long dist, int from, int* err, void*) {
    long at = FileOf(hf)->Seek(dist, from);
    if (at < 0) *err = EINVAL;
    return at;
  }
  static int DIAMONDAPI Delete(char* name, int* err, void* pv) {
    std::vector<std::string>& temps = Writer(pv)->m_temps;
    for (auto it = temps.begin(); it != temps.end(); ++it)
      if (*it == name) {
        temps.erase(it);
        break;
      }
    if (::DeleteFileA(name)) return 0;
    *err = static_cast<int>(::GetLastError());
    return -1;
  }
  // Each working file is made empty under a name of its own in the temporary folder.
  static BOOL DIAMONDAPI TempFile(char* name, int cbName, void* pv) {
    char dir[MAX_PATH] = "", path[MAX_PATH] = "";
    DWORD n = ::GetTempPathA(MAX_PATH, dir);
    if (n == 0 || n >= MAX_PATH || !::GetTempFileNameA(dir, "hbc", 0, path)) return FALSE;
    if (static_cast<int>(std::strlen(path)) >= cbName) {
      ::DeleteFileA(path);
      return FALSE;
    }
    std::strcpy(name, path);
    Writer(pv)->m_temps.push_back(path);
    return TRUE;
  }
  static BOOL DIAMONDAPI NextCabinet(PCCAB, ULONG, void*) { return FALSE; }  // one cabinet only
  static long DIAMONDAPI Status(UINT type, ULONG, ULONG cb2, void* pv) {
    CCabinetWriter* w = Writer(pv);
    if (type == statusFile && w->m_onBytes) w->m_onBytes(cb2);
    return type == statusCabinet ? static_cast<long>(cb2) : 0;
  }
  static INT_PTR DIAMONDAPI OpenInfo(char* name, USHORT* date, USHORT* time, USHORT* attributes, int* err, void*) {
    HANDLE h = ::CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                             nullptr);
    BY_HANDLE_FILE_INFORMATION info;
    FILETIME local;
    if (h == INVALID_HANDLE_VALUE || !::GetFileInformationByHandle(h, &info) ||
        !::FileTimeToLocalFileTime(&info.ftLastWriteTime, &local) || !::FileTimeToDosDateTime(&local, date, time)) {
      *err = static_cast<int>(::GetLastError());
      if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
      return -1;
    }
    *attributes = static_cast<USHORT>(info.dwFileAttributes & (_A_RDONLY | _A_HIDDEN | _A_SYSTEM | _A_ARCH));
    CCabFile* f = new CCabFile;
    f->h = h;
    return reinterpret_cast<INT_PTR>(f);
  }
};

namespace {

struct CFciCalls {
  FciCreateFn create;
  FciAddFileFn add;
  FciFlushCabinetFn flush;
  FciDestroyFn destroy;
};

CFciCalls FciOf(HMODULE m) {
  return {Proc<FciCreateFn>(m, "FCICreate"), Proc<FciAddFileFn>(m, "FCIAddFile"),
          Proc<FciFlushCabinetFn>(m, "FCIFlushCabinet"), Proc<FciDestroyFn>(m, "FCIDestroy")};
}

}  // namespace

CCabinetWriter::CCabinetWriter() = default;

CCabinetWriter::~CCabinetWriter() { End(); }

bool CCabinetWriter::Begin(HANDLE hFile, std::uint64_t offset) {
  End();
  m_hOut = hFile;
  m_nOffset = offset;
  m_nOutAt = -1;
  m_bFailed = false;
  m_hCabinet = LoadCabinet();
  CFciCalls fci = FciOf(m_hCabinet);
  if (!fci.create || !fci.add || !fci.flush || !fci.destroy) return false;
  CCAB cab = {};
  cab.cb = CB_MAX_DISK;
  cab.cbFolderThresh = CB_MAX_DISK;
  std::strcpy(cab.szCab, kCabinetName);
  ERF erf = {};
  m_hFci = fci.create(&erf, CCabinetCalls::Placed, Alloc, Free, CCabinetCalls::Open, CCabinetCalls::Read,
                      CCabinetCalls::Write, CCabinetCalls::Close, CCabinetCalls::Seek, CCabinetCalls::Delete,
                      CCabinetCalls::TempFile, &cab, this);
  return m_hFci != nullptr;
}

bool CCabinetWriter::Add(const CString& source, const CString& name) {
  if (!m_hFci || m_bFailed) return false;
  // MSZIP: the deflate method every cabinet.dll writes and reads
  m_bFailed = !FciOf(m_hCabinet).add(m_hFci, const_cast<char*>(source.c_str()), const_cast<char*>(name.c_str()),
                                      FALSE, CCabinetCalls::NextCabinet, CCabinetCalls::Status,
                                      CCabinetCalls::OpenInfo, tcompTYPE_MSZIP);
  return !m_bFailed;
}

bool CCabinetWriter::Finish() {
  if (!m_hFci || m_bFailed) return false;
  m_bFailed = !FciOf(m_hCabinet).flush(m_hFci, FALSE, CCabinetCalls::NextCabinet, CCabinetCalls::Status);
  bool ok = !m_bFailed;
  End();
  return ok;
}

void CCabinetWriter::End() {
  if (m_hFci) FciOf(m_hCabinet).destroy(m_hFci);
  m_hFci = nullptr;
  for (const std::string& t : m_temps) ::DeleteFileA(t.c_str());
  m_temps.clear();
  if (m_hCabinet) ::FreeLibrary(m_hCabinet);
  m_hCabinet = nullptr;
}

namespace {

// FDI's open and read calls carry no context: the one extraction running.
struct CExtraction {
  HANDLE hFile;
  LONGLONG nOffset, nSize;
  const std::function<CCabinetSink(const std::string&)>* create;
  const std::function<bool(const std::string&, const CCabinetSink&)>* finish;
  std::set<CCabFile*> open;  // files FDI has not closed yet
  bool bFailed = false;
  LONGLONG nFileAt = -1;     // where hFile's pointer stands
};
CExtraction* g_pExtraction = nullptr;

INT_PTR DIAMONDAPI FdiOpen(char* name, int oflag, int) {
  if (!g_pExtraction || std::string(name) != kCabinetName || (oflag & (_O_WRONLY | _O_RDWR))) return -1;
  CCabFile* f = new CCabFile;
  f->h = g_pExtraction->hFile;
  f->bOwned = false;
  f->nBase = g_pExtraction->nOffset;
  f->nLimit = g_pExtraction->nSize;
  f->pAt = &g_pExtraction->nFileAt;
  g_pExtraction->open.insert(f);
  return reinterpret_cast<INT_PTR>(f);
}
UINT DIAMONDAPI FdiRead(INT_PTR hf, void* p, UINT cb) { return FileOf(hf)->Read(p, cb); }
UINT DIAMONDAPI FdiWrite(INT_PTR hf, void* p, UINT cb) { return FileOf(hf)->Write(p, cb); }
int DIAMONDAPI FdiClose(INT_PTR hf) {
  if (g_pExtraction) g_pExtraction->open.erase(FileOf(hf));
  delete FileOf(hf);
  return 0;
}
long DIAMONDAPI FdiSeek(INT_PTR hf, long dist, int from) { return FileOf(hf)->Seek(dist, from); }

INT_PTR DIAMONDAPI Notify(FDINOTIFICATIONTYPE type, PFDINOTIFICATION n) {
  CExtraction* x = static_cast<CExtraction*>(n->pv);
  switch (type) {
    case fdintCOPY_FILE: {
      CCabinetSink sink = (*x->create)(n->psz1);
      if (!sink.IsValid()) {
        x->bFailed = true;
        return -1;
      }
      CCabFile* f = new CCabFile;
      f->h = sink.h;
      f->pMemory = sink.pMemory;
      x->open.insert(f);
      return reinterpret_cast<INT_PTR>(f);
    }
    case fdintCLOSE_FILE_INFO: {
      CCabFile* f = FileOf(n->hf);
      x->open.erase(f);
      CCabinetSink sink;
      sink.h = f->h;
      sink.pMemory = f->pMemory;
      bool ok = (*x->finish)(n->psz1, sink);
      f->h = INVALID_HANDLE_VALUE;  // closed by finish
      delete f;
      if (ok) return TRUE;
      x->bFailed = true;
      return -1;
    }
    case fdintNEXT_CABINET:
      x->bFailed = true;  // a package holds one cabinet
      return -1;
    default:
      return 0;
  }
}

}  // namespace

bool ExtractCabinet(HANDLE hFile, std::uint64_t offset, std::uint64_t size,
                    const std::function<CCabinetSink(const std::string&)>& create,
                    const std::function<bool(const std::string&, const CCabinetSink&)>& finish) {
  if (size > 0x7FFFFFFF) return false;
  HMODULE cabinet = LoadCabinet();
  FdiCreateFn fdiCreate = Proc<FdiCreateFn>(cabinet, "FDICreate");
  FdiCopyFn fdiCopy = Proc<FdiCopyFn>(cabinet, "FDICopy");
  FdiDestroyFn fdiDestroy = Proc<FdiDestroyFn>(cabinet, "FDIDestroy");
  bool ok = false;
  if (fdiCreate && fdiCopy && fdiDestroy) {
    CExtraction x{hFile, static_cast<LONGLONG>(offset), static_cast<LONGLONG>(size), &create, &finish, {}, false, -1};
    g_pExtraction = &x;
    ERF erf = {};
    if (HFDI fdi = fdiCreate(Alloc, Free, FdiOpen, FdiRead, FdiWrite, FdiClose, FdiSeek, cpuUNKNOWN, &erf)) {
      char path[] = "";
      ok = fdiCopy(fdi, kCabinetName, path, 0, Notify, nullptr, &x) && !x.bFailed;
      fdiDestroy(fdi);
    }
    for (CCabFile* f : x.open) delete f;
    g_pExtraction = nullptr;
  }
  if (cabinet) ::FreeLibrary(cabinet);
  return ok;
}
