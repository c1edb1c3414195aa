#include "ProfileSection_win.h"

namespace setupinfo {

BOOL ReadSection(const CString& path, const char* section, CProfileSection& out) {
  out.Clear();
  std::vector<char> buf(32768);
  for (;;) {
    DWORD n = ::GetPrivateProfileSectionA(section, buf.data(), static_cast<DWORD>(buf.size()), path.c_str());
    // A full buffer reports size - 2: read again with more room.
    if (n + 2 < buf.size()) {
      out.Assign(buf.data(), n + 1);
      return TRUE;
    }
    if (buf.size() >= (64u << 20)) return FALSE;
    buf.resize(buf.size() * 4);
  }
}

BOOL WriteSection(const CString& path, const char* section, const std::vector<ProfileWrite>& writes) {
  for (const ProfileWrite& w : writes)
    if (!::WritePrivateProfileStringA(section, w.first.c_str(), w.second.c_str(), path.c_str())) return FALSE;
  return TRUE;
}

}  // namespace setupinfo
