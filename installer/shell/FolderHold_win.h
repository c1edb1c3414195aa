// Folders a run writes into, held open for the run without delete sharing: none of
// them can be renamed or deleted, and so replaced by a link, until the run ends. Each
// folder is looked at once, when first held; a file costs no call of its own.
#pragma once
#include <map>
#include <string>

#include "AfxWin.h"

class CHeldFolders {
 public:
  enum Result { kHeld, kLink, kFailed };

  CHeldFolders() = default;
  ~CHeldFolders() { ReleaseAll(); }
  CHeldFolders(const CHeldFolders&) = delete;
  CHeldFolders& operator=(const CHeldFolders&) = delete;

  // The folder below which the run writes (judged before, whatever leads to it).
  BOOL HoldRoot(const std::string& folder);
  // Each level of `relative` ("a\b", below the root): held when it is a plain folder in
  // the one above it; with `bMake`, missing levels are made first. kLink when a level
  // is a junction or symbolic link (or reaches elsewhere), kFailed when one is missing
  // or cannot be made or held: nothing may be written below it.
  Result Hold(const std::string& relative, bool bMake);
  // Lets go of `relative` and the folders held below it.
  void Release(const std::string& relative);
  void ReleaseAll();

 private:
  struct Held {
    HANDLE h;
    std::string strFinal;  // its final path, "" where the system gives none
  };
  Result HoldLevel(const std::string& key, const std::string& parentKey, const std::string& name, bool bMake);

  std::string m_strRoot;            // without a final backslash
  std::map<std::string, Held> m_held;  // by relative name in lower case; "" is the root
};
