#include "ConfirmOverwrite.h"

#include "InstallPlan.h"
#include "Package_win.h"

namespace {

// A last-write time in whole local seconds.
installplan::FileStamp StampOfTime(const FILETIME& written) {
  installplan::FileStamp stamp;
  FILETIME local;
  if (!::FileTimeToLocalFileTime(&written, &local)) return stamp;
  ULARGE_INTEGER t;
  t.LowPart = local.dwLowDateTime;
  t.HighPart = local.dwHighDateTime;
  stamp.bKnown = true;
  stamp.nSeconds = static_cast<long long>(t.QuadPart / 10000000ull);
  return stamp;
}

// The last-write time of a file; unknown when it cannot be opened alone (another
// program holds it) or its time cannot be read.
installplan::FileStamp StampOf(HANDLE h) {
  FILETIME written;
  if (h == INVALID_HANDLE_VALUE || !::GetFileTime(h, nullptr, nullptr, &written)) return installplan::FileStamp();
  return StampOfTime(written);
}

HANDLE OpenAlone(const CString& path) {
  return ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

int ConfirmOverwrite(HWND owner, CString newFile, CString existingFile, int ask) {
  HANDLE hExisting = OpenAlone(existingFile);
  // a file of the running package is there once written; held in memory, its time is there
  const package::CHeldFile* held = package::HeldFiles().Find(newFile);
  HANDLE hNew = held ? INVALID_HANDLE_VALUE : OpenAlone(newFile);
  int decision = installplan::kCopy;
  switch (installplan::DecideOverwrite(StampOf(hExisting), held ? StampOfTime(held->written) : StampOf(hNew), ask != 0)) {
    case installplan::OverwriteStep::Copy:
      decision = installplan::kCopy;
      break;
    case installplan::OverwriteStep::Keep:
      decision = installplan::kKeep;
      break;
    case installplan::OverwriteStep::Ask:
      decision = installplan::OverwriteAnswer(
          ::MessageBoxA(owner, installplan::OverwriteQuestionText(existingFile).c_str(), installplan::kOverwriteCaption,
                        MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON1));
      break;
  }
  if (hExisting != INVALID_HANDLE_VALUE) ::CloseHandle(hExisting);
  if (hNew != INVALID_HANDLE_VALUE) ::CloseHandle(hNew);
  return decision;
}
