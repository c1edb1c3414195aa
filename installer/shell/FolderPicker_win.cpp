#include <shlobj.h>

#include <cstring>

#include "FolderPicker.h"
#include "FolderRules.h"
#include "Mbcs.h"

int CALLBACK BrowseCallbackProc(HWND hWnd, UINT uMsg, LPARAM, LPARAM lpData) {
  if (uMsg == BFFM_INITIALIZED && lpData) ::SendMessageA(hWnd, BFFM_SETSELECTIONA, TRUE, lpData);
  return 0;
}

CString BrowseForFolder(CString initialFolder, CString title, HWND owner) {
  // stays valid while the browser is open: the callback gets it
  char initial[MAX_PATH] = "";
  std::string fit = mbcs::FitBuffer(initialFolder, sizeof initial);
  std::memcpy(initial, fit.c_str(), fit.size() + 1);

  // the browser needs COM on this thread; balance only what this call started
  HRESULT hrCom = ::CoInitialize(nullptr);
  BROWSEINFOA bi;
  std::memset(&bi, 0, sizeof bi);
  bi.hwndOwner = owner;
  bi.lpszTitle = title.c_str();
  bi.ulFlags = 0;
  bi.lpfn = BrowseCallbackProc;
  bi.lParam = reinterpret_cast<LPARAM>(initial);
  LPITEMIDLIST pidl = ::SHBrowseForFolderA(&bi);
  CString result;
  if (pidl) {
    char path[MAX_PATH + 1] = "";
    if (!::SHGetPathFromIDListA(pidl, path)) path[0] = '\0';
    path[MAX_PATH] = '\0';
    IMalloc* pMalloc = nullptr;
    if (SUCCEEDED(::SHGetMalloc(&pMalloc)) && pMalloc) {
      pMalloc->Free(pidl);
      pMalloc->Release();
    }
    result = setupinfo::PickedFolder(path, initialFolder);
  }
  if (SUCCEEDED(hrCom)) ::CoUninitialize();
  return result;
}
