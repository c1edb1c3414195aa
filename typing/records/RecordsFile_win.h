// The records file on disk, %APPDATA%\KeyRally\records.tsv (not beside the program,
// which a user may not write in Program Files): read whole, and appended to and
// flushed one game at a time, so that a crash loses at most the game being written.
// A file that is not a records file is renamed aside and a new one started.
#pragma once
#include <windows.h>

#include <string>

#include "Records.h"

class CRecordsFile {
 public:
  // The program's folder in the user's application-data folder, ending in a
  // backslash; empty when the system names none.
  static std::string DefaultFolder();
  explicit CRecordsFile(const std::string& strFolder);

  // Reads the file into the book; a missing file is an empty book. A file that is not
  // a records file is renamed aside (AsideName()) and the book left empty. FALSE when
  // the file is there but cannot be read or set aside: the book is empty then, and
  // nothing is appended to that file.
  BOOL Read();
  // Reads the file again, tells whether the game beats its list's best, and appends
  // the game, making the folder when it is missing. FALSE when it could not be
  // written whole.
  BOOL Record(const krrec::GameRecord& game, bool& bNewBest);

  const krrec::CRecordBook& Book() const { return m_book; }
  const std::string& Path() const { return m_strPath; }
  // The name the last unusable file was kept under; empty when none was.
  const std::string& AsideName() const { return m_strAside; }

  // Files larger than this are not read: taken as unusable, kept aside.
  static constexpr DWORD kMaxBytes = 64u << 20;
  static constexpr DWORD kPiece = 256u << 10;  // read this much at a time

 private:
  BOOL Append(const krrec::GameRecord& game);

  std::string m_strFolder, m_strPath, m_strAside;
  krrec::CRecordBook m_book;
  BOOL m_bReadable = TRUE;
};
