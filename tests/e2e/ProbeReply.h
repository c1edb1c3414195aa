// The program side of the test probes (hbfontprobe.dll, krmenuprobe.dll): a
// probe hooked into the program's thread answers a posted question (wParam: the
// question's number) in %TEMP%\<prefix>_<pid>_<number>.txt, which
// uitest::AskProbe waits for.
#pragma once
#include <windows.h>

#include <cstdio>
#include <string>

inline void WriteProbeReply(const char *prefix, WPARAM number,
                            const std::string &text) {
  char dir[MAX_PATH] = "";
  ::GetTempPathA(MAX_PATH, dir);
  std::string path = std::string(dir) + prefix + "_" +
                     std::to_string(::GetCurrentProcessId()) + "_" +
                     std::to_string(static_cast<unsigned>(number)) + ".txt";
  std::string tmp = path + ".part";
  if (FILE *f = std::fopen(tmp.c_str(), "wb")) {
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    ::MoveFileA(tmp.c_str(),
                path.c_str()); // the test sees the whole file or none
  }
}

// Points the program's own import of `function` from `dll` at `replacement` and pins
// the calling probe DLL in the process (the patched slot must never point into an
// unloaded DLL). Returns the function the slot held, nullptr when there is no such
// import.
inline void *PatchProgramImport(const char *dll, const char *function,
                                void *replacement) {
  BYTE *base = reinterpret_cast<BYTE *>(::GetModuleHandleA(nullptr));
  auto *nt = reinterpret_cast<IMAGE_NT_HEADERS *>(
      base + reinterpret_cast<IMAGE_DOS_HEADER *>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY &dir =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress)
    return nullptr;
  for (auto *imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(
           base + dir.VirtualAddress);
       imp->Name; ++imp) {
    if (lstrcmpiA(reinterpret_cast<char *>(base + imp->Name), dll) != 0 ||
        !imp->OriginalFirstThunk)
      continue;
    auto *names =
        reinterpret_cast<IMAGE_THUNK_DATA *>(base + imp->OriginalFirstThunk);
    auto *slots = reinterpret_cast<IMAGE_THUNK_DATA *>(base + imp->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
        continue;
      auto *byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME *>(
          base + names->u1.AddressOfData);
      if (lstrcmpA(reinterpret_cast<char *>(byName->Name), function) != 0)
        continue;
      HMODULE self = nullptr;
      ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<LPCSTR>(replacement), &self);
      DWORD old = 0;
      if (!::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function,
                            PAGE_READWRITE, &old))
        return nullptr;
      void *was = reinterpret_cast<void *>(slots->u1.Function);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      ::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old,
                       &old);
      return was;
    }
  }
  return nullptr;
}
