#include "Shortcut.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "FolderRules.h"

namespace {

constexpr int kWideName = 260;

// The name in the ANSI code page as wide characters; false when it does not fit.
bool ToWide(const CString& name, WCHAR (&wide)[kWideName]) {
  int n = ::MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, nullptr, 0);
  if (n <= 0 || n > kWideName) return false;
  return ::MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, wide, kWideName) > 0;
}

// The drive and folder of the wide file name, back in the ANSI code page.
CString FolderOf(const WCHAR* wide) {
  char name[MAX_PATH * 2] = "";
  if (!::WideCharToMultiByte(CP_ACP, 0, wide, -1, name, sizeof name, nullptr, nullptr)) return CString();
  return setupinfo::DriveAndFolder(name);  // as _splitpath, on character boundaries
}

}  // namespace

BOOL CreateShortcut(CString linkPath, CString description, CString target) {
  ::CoInitialize(nullptr);
  BOOL result = FALSE;
  IShellLinkA* link = nullptr;
  if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      WCHAR wide[kWideName];
      if (SUCCEEDED(link->SetPath(target.c_str())) && SUCCEEDED(link->SetDescription(description.c_str())) &&
          ToWide(linkPath + ".lnk", wide)) {
        if (SUCCEEDED(file->Save(wide, TRUE))) {
          result = TRUE;
        } else {
          // a new program group: its folder is made on demand, one level only
          ::CreateDirectoryA(FolderOf(wide).c_str(), nullptr);
          result = SUCCEEDED(file->Save(wide, TRUE));
        }
      }
      file->Release();
    }
    link->Release();
  }
  ::CoUninitialize();
  return result;
}
