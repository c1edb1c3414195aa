// hbrecorder.exe: a program that tells how it was started. It writes its command line
// and its working folder, one per line, to its own path + ".txt", and ends.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char self[MAX_PATH] = "", cwd[MAX_PATH] = "";
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  ::GetCurrentDirectoryA(MAX_PATH, cwd);
  std::string text = std::string(::GetCommandLineA()) + "\n" + cwd + "\n";
  std::string path = std::string(self) + ".txt", part = path + ".part";
  HANDLE h = ::CreateFileA(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 1;
  DWORD put = 0;
  ::WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &put, nullptr);
  ::CloseHandle(h);
  return ::MoveFileExA(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;  // whole or not at all
}
