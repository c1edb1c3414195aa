// Where the programs find their DLLs. A program started from a Downloads folder would
// otherwise load a version.dll or uxtheme.dll that lies beside it: the programs import
// only DLLs that Windows always takes from its own folder (its known DLLs, and common
// controls through the manifest), and load every other one from the system folder.
#include "AfxWin.h"  // windows.h first: the delay-load header builds on it

#include <delayimp.h>

#include <cstring>

void AfxHardenDllSearch() {
  HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
  // looked up: Windows has it from 8 on (and 7 with its update), Wine too
  using SetDefault = BOOL(WINAPI*)(DWORD);
  auto setDefault = reinterpret_cast<SetDefault>(
      reinterpret_cast<void (*)()>(::GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefault && setDefault(0x800 /* LOAD_LIBRARY_SEARCH_SYSTEM32 */)) return;
  // before that, at least the current folder is no longer searched
  using SetDirectory = BOOL(WINAPI*)(LPCSTR);
  auto setDirectory =
      reinterpret_cast<SetDirectory>(reinterpret_cast<void (*)()>(::GetProcAddress(kernel, "SetDllDirectoryA")));
  if (setDirectory) setDirectory("");
}

namespace {

// The DLLs imported by delay (the sound functions of winmm) come from the system
// folder by their full path, whatever the search order of this Windows.
FARPROC WINAPI LoadFromSystemFolder(unsigned notification, PDelayLoadInfo info) {
  if (notification != dliNotePreLoadLibrary || !info || !info->szDll) return nullptr;
  char path[MAX_PATH] = "";
  const UINT n = ::GetSystemDirectoryA(path, MAX_PATH);
  const std::size_t name = std::strlen(info->szDll);
  if (n == 0 || n + 1 + name >= MAX_PATH) return nullptr;
  path[n] = '\\';
  std::memcpy(path + n + 1, info->szDll, name + 1);
  return reinterpret_cast<FARPROC>(::LoadLibraryA(path));
}

}  // namespace

PfnDliHook __pfnDliNotifyHook2 = LoadFromSystemFolder;
