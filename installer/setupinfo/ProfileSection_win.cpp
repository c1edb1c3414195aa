#include "ProfileSection_win.h"

namespace setupinfo {

namespace {

// Text as the profile functions see it after their round trip through UTF-16: bytes
// that are no code page 932 character come back as the platform replaces them.
std::string Normalize(const std::string& s) {
  if (s.empty()) return s;
  int nw = ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  if (nw <= 0) return s;
  std::wstring w(static_cast<std::size_t>(nw), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), &w[0], nw);
  int na = ::WideCharToMultiByte(CP_ACP, 0, w.data(), nw, nullptr, 0, nullptr, nullptr);
  if (na <= 0) return s;
  std::string out(static_cast<std::size_t>(na), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, w.data(), nw, &out[0], na, nullptr, nullptr);
  return out;
}

// A key or value as the profile write receives it: a lead byte without its trail at
// the very end is dropped by the platform's conversion of arguments.
std::string NormalizeArgument(const std::string& s) {
  std::size_t i = 0, last = 0;
  while (i < s.size()) {
    last = i;
    i += (IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(s[i])) && i + 1 < s.size()) ? 2 : 1;
  }
  if (!s.empty() && last == s.size() - 1 && IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(s[last])))
    return Normalize(s.substr(0, last));
  return Normalize(s);
}

// The whole file, or false when it cannot be opened (a missing file is "" and true).
bool ReadWholeFile(const CString& path, std::string& text, FILETIME& written, bool& exists) {
  text.clear();
  exists = false;
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    DWORD err = ::GetLastError();
    return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
  }
  exists = true;
  ::GetFileTime(h, nullptr, nullptr, &written);
  DWORD size = ::GetFileSize(h, nullptr);
  bool ok = size != INVALID_FILE_SIZE;
  if (ok && size > 0) {
    text.resize(size);
    DWORD got = 0;
    ok = ::ReadFile(h, &text[0], size, &got, nullptr) && got == size;
  }
  ::CloseHandle(h);
  return ok;
}

bool HasSignature(const std::string& t) {
  return (t.size() >= 3 && t.compare(0, 3, "\xEF\xBB\xBF") == 0) ||
         (t.size() >= 2 && (t.compare(0, 2, "\xFF\xFE") == 0 || t.compare(0, 2, "\xFE\xFF") == 0));
}

BOOL WriteKeyByKey(const CString& path, const char* section, const std::vector<ProfileWrite>& writes) {
  BOOL ok = TRUE;
  for (const ProfileWrite& w : writes)
    if (!::WritePrivateProfileStringA(section, w.first.c_str(), w.second.c_str(), path.c_str())) ok = FALSE;
  return ok;
}

}  // namespace

BOOL ReadSection(const CString& path, const char* section, CProfileSection& out) {
  out.Clear();
  WIN32_FILE_ATTRIBUTE_DATA fad;
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &fad)) return TRUE;  // no file: all defaults
  // The listing is never longer than twice the file (a lone byte may become two).
  std::size_t size = 2 * static_cast<std::size_t>(fad.nFileSizeLow) + 64;
  for (int tries = 0; tries < 4; ++tries) {
    std::vector<char> buf(size, '\0');
    DWORD n = ::GetPrivateProfileSectionA(section, buf.data(), static_cast<DWORD>(buf.size()), path.c_str());
    if (static_cast<std::size_t>(n) + 2 < buf.size()) {  // a full buffer reports size - 2
      out.Assign(buf.data(), n);
      return TRUE;
    }
    size *= 2;
  }
  return FALSE;
}

BOOL WriteSection(const CString& path, const char* section, const std::vector<ProfileWrite>& writes) {
  if (writes.empty()) return TRUE;
  std::string text;
  FILETIME before = {0, 0};
  bool exists = false;
  if (!ReadWholeFile(path, text, before, exists)) return WriteKeyByKey(path, section, writes);
  // Unicode files and files with zero bytes are rare; the platform handles them itself.
  if (HasSignature(text) || text.find('\0') != std::string::npos) return WriteKeyByKey(path, section, writes);

  std::vector<ProfileWrite> normalized;
  normalized.reserve(writes.size());
  for (const ProfileWrite& w : writes) normalized.emplace_back(NormalizeArgument(w.first), NormalizeArgument(w.second));
  bool changed = false;
  std::string result;
  if (!ApplyProfileWrites(Normalize(text), NormalizeArgument(section), normalized, result, changed))
    return WriteKeyByKey(path, section, writes);
  if (!changed) return TRUE;  // every value already in place: the file is left as it is

  // Created and written as the profile write does it, so attributes end up the same.
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return FALSE;
  DWORD put = 0;
  BOOL ok = result.empty() || (::WriteFile(h, result.data(), static_cast<DWORD>(result.size()), &put, nullptr) &&
                               put == result.size());
  // Readers that cache the file notice a change by its write time: make sure it moves.
  FILETIME after;
  if (ok && exists && ::GetFileTime(h, nullptr, nullptr, &after) && CompareFileTime(&after, &before) == 0) {
    ULARGE_INTEGER t;
    t.LowPart = after.dwLowDateTime;
    t.HighPart = after.dwHighDateTime;
    t.QuadPart += 1;
    after.dwLowDateTime = t.LowPart;
    after.dwHighDateTime = t.HighPart;
    ::SetFileTime(h, nullptr, nullptr, &after);
  }
  ::CloseHandle(h);
  return ok;
}

}  // namespace setupinfo
