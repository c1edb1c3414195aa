#include "ConfirmOverwrite.h"

#include "InstallPlan.h"

namespace {

// The last-write time in whole local seconds; unknown when the file cannot be opened
// alone (another program holds it) or its time cannot be read.
installplan::FileStamp StampOf(HANDLE h) {
  installplan::FileStamp stamp;
  FILETIME written, local;
  if (h == INVALID_HANDLE_VALUE || !::GetFileTime(h, nullptr, nullptr, &written) ||
      !::FileTimeToLocalFileTime(&written, &local))
    return stamp;
  ULARGE_INTEGER t;
  t.LowPart = local.dwLowDateTime;
  t.HighPart = local.dwHighDateTime;
  stamp.bKnown = true;
  stamp.nSeconds = static_cast<long long>(t.QuadPart / 10000000ull);
  return stamp;
}

HANDLE OpenAlone(const CString& path) {
  return ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

int ConfirmOverwrite(HWND owner, CString newFile, CString existingFile, int ask) {
  HANDLE hExisting = OpenAlone(existingFile);
  HANDLE hNew = OpenAlone(newFile);
  int decision = installplan::kCopy;
  switch (installplan::DecideOverwrite(StampOf(hExisting), StampOf(hNew), ask != 0)) {
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
