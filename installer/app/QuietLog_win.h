// A quiet run's log file in the temporary folder, made anew for each run. A log that
// cannot be made or written is left out; the run goes on.
#pragma once
#include "AfxWin.h"
#include "QuietRun.h"

class CQuietLogFile : public quietrun::CQuietLog {
 public:
  explicit CQuietLogFile(const char* name);
  ~CQuietLogFile() override;
  CQuietLogFile(const CQuietLogFile&) = delete;
  CQuietLogFile& operator=(const CQuietLogFile&) = delete;

 protected:
  void Write(const std::string& bytes) override;

 private:
  HANDLE m_hFile = INVALID_HANDLE_VALUE;
};
