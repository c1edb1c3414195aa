// A setup's options as its Setup.ini stores them, as a plain value: the install form's
// check boxes and pause, the author's fixed install folder, the shortcut and group
// names, the advanced lists and what is opened after the install. The wizard shows and
// edits them; every install, with a person or without, starts from them. Portable.
#pragma once
#include <string>
#include <vector>

namespace setupinfo {

struct SetupOptions {
  // [Option]: check box states (1 checked); [Setup] STime: the pause per install step
  int nStartUp = 0;
  int nProgram = 1;
  int nDesktop = 1;
  int nSTime = 100;
  int nReboot = 0;
  int nBlueBack = 1;
  // [Altitude]
  std::string strInstallDir;  // the author's fixed install folder with its final backslash, or ""
  std::string strPrgShortCut;
  std::string strPrgGroup;
  int nExecute = 0;
  std::string strReadMe;  // rebased
  // [AltitudeGroup] _g, [AltitudeGrpSC] _c, [AltitudeSystem] _s, each rebased
  std::vector<std::string> groupFiles;
  std::vector<std::string> groupShortcutNames;
  std::vector<std::string> systemFiles;
};

// A stored list count made safe for an array of `capacity` entries: negative counts
// give 0, and one entry always stays free so that an empty entry follows the last used.
int ClampListCount(int nStored, int capacity);

}  // namespace setupinfo
