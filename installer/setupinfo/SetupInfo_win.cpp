#include "SetupInfo_win.h"

#include "Mbcs.h"

namespace setupinfo {

CString GetString(const CString& path, const char* section, const char* key, const char* def, int size) {
  std::vector<char> buf(static_cast<size_t>(size > 0 ? size : 1), '\0');
  ::GetPrivateProfileStringA(section, key, def, buf.data(), static_cast<DWORD>(buf.size()), path.c_str());
  buf.back() = '\0';
  // A value cut inside a double-byte character may end in half a character (or in
  // an undefined byte counted in the result): keep whole characters only.
  return mbcs::FitBuffer(CString(buf.data()), buf.size());
}

int GetInt(const CString& path, const char* section, const char* key, int def) {
  return static_cast<int>(::GetPrivateProfileIntA(section, key, def, path.c_str()));
}

BOOL PutString(const CString& path, const char* section, const char* key, const CString& value) {
  return ::WritePrivateProfileStringA(section, key, value.c_str(), path.c_str());
}

BOOL PutInt(const CString& path, const char* section, const char* key, int value) {
  return PutString(path, section, key, std::to_string(value));
}

}  // namespace setupinfo
