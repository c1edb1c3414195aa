#include "RecordsFile_win.h"

#include <shlobj.h>

#include <memory>
#include <new>

std::string CRecordsFile::DefaultFolder() {
  char buf[MAX_PATH] = "";
  if (FAILED(::SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, buf)) || !*buf)
    return std::string();
  std::string folder = buf;
  if (folder.back() != '\\') folder += '\\';
  return folder + "KeyRally\\";
}

CRecordsFile::CRecordsFile(const std::string& strFolder)
    : m_strFolder(strFolder), m_strPath(strFolder.empty() ? std::string() : strFolder + krrec::kFileName) {}

BOOL CRecordsFile::Read() {
  m_book.Clear();
  m_bReadable = FALSE;
  if (m_strPath.empty()) return FALSE;
  HANDLE h = ::CreateFileA(m_strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    DWORD err = ::GetLastError();
    m_bReadable = err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
    return m_bReadable;
  }
  DWORD high = 0, size = ::GetFileSize(h, &high);
  BOOL ok = size != INVALID_FILE_SIZE || ::GetLastError() == NO_ERROR;
  bool tooLarge = ok && (high != 0 || size > kMaxBytes);
  // in pieces through one buffer: a large file needs no room of its size
  std::unique_ptr<char[]> piece(ok && !tooLarge ? new (std::nothrow) char[kPiece] : nullptr);
  ok = ok && (tooLarge || piece);
  if (ok && !tooLarge) {
    m_book.Begin(size);
    for (DWORD got = 0; ok;) {
      ok = ::ReadFile(h, piece.get(), kPiece, &got, nullptr);
      if (!ok || got == 0 || !m_book.Feed(piece.get(), got)) break;
    }
  }
  ::CloseHandle(h);
  if (!ok) {
    m_book.Clear();
    return FALSE;
  }
  krrec::FileState state = tooLarge ? krrec::FileState::kUnusable : m_book.End();
  if (state == krrec::FileState::kUnusable) {
    // kept whole under a free name; the next game starts a new file
    std::string aside = krrec::AsideName(
        m_strFolder, [](const std::string& p) { return ::GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; });
    if (aside.empty() || !::MoveFileA(m_strPath.c_str(), aside.c_str())) return FALSE;
    m_strAside = aside;
    m_book.Clear();
  }
  m_bReadable = TRUE;
  return TRUE;
}

BOOL CRecordsFile::Record(const krrec::GameRecord& game, bool& bNewBest) {
  bNewBest = false;
  if (!Read()) return FALSE;  // never append to a file that was not understood
  bNewBest = m_book.IsNewBest(game);
  return Append(game);
}

BOOL CRecordsFile::Append(const krrec::GameRecord& game) {
  if (!m_bReadable || m_strPath.empty()) return FALSE;
  if (!::CreateDirectoryA(m_strFolder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return FALSE;
  // appending only: each write lands at the end, whatever else has the file open
  HANDLE h = ::CreateFileA(m_strPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return FALSE;
  // a file emptied or made since it was read gets its header
  DWORD high = 0, size = ::GetFileSize(h, &high);
  krrec::FileState state = size == 0 && high == 0 ? krrec::FileState::kEmpty : krrec::FileState::kUsable;
  std::string text = krrec::TextToAppend(state, m_book, game);
  DWORD written = 0;
  BOOL ok = ::WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
  ok = ::FlushFileBuffers(h) && ok;
  ::CloseHandle(h);
  if (!ok) return FALSE;
  m_book.Add(game);
  return TRUE;
}
