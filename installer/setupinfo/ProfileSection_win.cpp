#include "ProfileSection_win.h"

namespace setupinfo {

namespace {

// The whole file as bytes; false when it exists but cannot be read ("" for no file).
bool ReadWholeFile(const CString& path, std::string& text) {
  text.clear();
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    DWORD err = ::GetLastError();
    return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
  }
  DWORD size = ::GetFileSize(h, nullptr), got = 0;
  bool ok = size != INVALID_FILE_SIZE;
  if (ok && size > 0) {
    text.resize(size);
    ok = ::ReadFile(h, &text[0], size, &got, nullptr) && got == size;
  }
  ::CloseHandle(h);
  return ok;
}

// Whether the profile functions see `s` as these very bytes: a lead byte without its
// trail, or a second spelling of a character, comes back otherwise from their round
// trip through UTF-16 (and a lone lead byte would swallow the zero after it in a
// section text).
bool SurvivesConversion(const std::string& s) {
  bool ascii = true;
  for (char c : s) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return true;
  int nw = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, s.data(), static_cast<int>(s.size()), nullptr, 0);
  if (nw <= 0) return false;
  std::wstring w(static_cast<std::size_t>(nw), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), &w[0], nw);
  std::string back(s.size() + 1, '\0');
  int na = ::WideCharToMultiByte(CP_ACP, 0, w.data(), nw, &back[0], static_cast<int>(back.size()), nullptr, nullptr);
  return na == static_cast<int>(s.size()) && back.compare(0, s.size(), s) == 0;
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
  // The section is read and written whole where that leaves what one write per key
  // would (each rewrites the whole file); elsewhere the keys go one by one.
  std::string text, merged;
  CProfileSection current;
  std::vector<std::size_t> changed;
  bool fits = ReadWholeFile(path, text) && SectionWriteFits(text, section) && ReadSection(path, section, current);
  for (std::size_t i = 0; fits && i < writes.size(); ++i)
    fits = SurvivesConversion(writes[i].first) && SurvivesConversion(writes[i].second);
  if (!fits || !MergeProfileWrites(current, writes, merged, changed)) return WriteKeyByKey(path, section, writes);
  if (changed.empty()) return TRUE;  // every value already in place: the file is left as it is
  // The platform appends each key of a section write after all the keys before it, so
  // the write of n keys costs about n / 1000 file rewrites: fewer changed keys are
  // written alone (the writes that change nothing are skipped, as they would do nothing).
  if (changed.size() <= 1 + current.GetKeyCount() / 1000) {
    std::vector<ProfileWrite> alone;
    for (std::size_t i : changed) alone.push_back(writes[i]);
    return WriteKeyByKey(path, section, alone);
  }
  return ::WritePrivateProfileSectionA(section, merged.data(), path.c_str());
}

}  // namespace setupinfo
