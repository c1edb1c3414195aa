// The program side of the test probes (hbfontprobe.dll, krmenuprobe.dll): a
// probe hooked into the program's thread answers a posted question (wParam: the
// question's number) in %TEMP%\<prefix>_<pid>_<number>.txt, which
// uitest::AskProbe waits for.
#pragma once
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

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
// import. An import by delay (winmm) is found by its delay-load descriptor; its slot
// may still hold the loading stub, so the function itself is returned.
inline void *PatchProgramImport(const char *dll, const char *function,
                                void *replacement) {
  BYTE *base = reinterpret_cast<BYTE *>(::GetModuleHandleA(nullptr));
  auto *nt = reinterpret_cast<IMAGE_NT_HEADERS *>(
      base + reinterpret_cast<IMAGE_DOS_HEADER *>(base)->e_lfanew);
  struct Table {
    const char *name;
    IMAGE_THUNK_DATA *names, *slots;
    bool delayed;
  };
  std::vector<Table> tables;
  const IMAGE_DATA_DIRECTORY &dir =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto *imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(
           base + dir.VirtualAddress);
       dir.VirtualAddress && imp->Name; ++imp)
    if (imp->OriginalFirstThunk)
      tables.push_back({reinterpret_cast<char *>(base + imp->Name),
                        reinterpret_cast<IMAGE_THUNK_DATA *>(base + imp->OriginalFirstThunk),
                        reinterpret_cast<IMAGE_THUNK_DATA *>(base + imp->FirstThunk), false});
  // the linker names no delay-load table in the header: its descriptors are looked
  // for in the image, by their RVA form and the DLL name they point at
  const DWORD size = nt->OptionalHeader.SizeOfImage;
  for (DWORD at = 0; at + sizeof(IMAGE_DELAYLOAD_DESCRIPTOR) <= size; at += 4) {
    auto *d = reinterpret_cast<IMAGE_DELAYLOAD_DESCRIPTOR *>(base + at);
    if (d->Attributes.AllAttributes != 1 || d->DllNameRVA >= size || d->ImportNameTableRVA >= size ||
        d->ImportAddressTableRVA >= size || !d->DllNameRVA || !d->ImportNameTableRVA)
      continue;
    if (lstrcmpiA(reinterpret_cast<char *>(base + d->DllNameRVA), dll) == 0)
      tables.push_back({reinterpret_cast<char *>(base + d->DllNameRVA),
                        reinterpret_cast<IMAGE_THUNK_DATA *>(base + d->ImportNameTableRVA),
                        reinterpret_cast<IMAGE_THUNK_DATA *>(base + d->ImportAddressTableRVA), true});
  }
  for (const Table &t : tables) {
    if (lstrcmpiA(t.name, dll) != 0)
      continue;
    IMAGE_THUNK_DATA *names = t.names, *slots = t.slots;
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
      void *was = t.delayed ? reinterpret_cast<void *>(::GetProcAddress(::LoadLibraryA(dll), function))
                            : reinterpret_cast<void *>(slots->u1.Function);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      ::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old,
                       &old);
      return was;
    }
  }
  return nullptr;
}
