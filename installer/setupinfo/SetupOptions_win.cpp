#include "SetupOptions_win.h"

#include <algorithm>

#include "FolderRules.h"
#include "ProfileSection_win.h"
#include "SetupInfo_win.h"

namespace setupinfo {

namespace {

// Entries 0 to ClampListCount(Files) - 1 of a list section, rebased.
std::vector<std::string> ReadList(const CString& iniPath, const char* section, const char* prefix,
                                  const CString& topRoot, const CString& setupDir, int nListCapacity) {
  CProfileSection entries;
  ReadSection(iniPath, section, entries);
  std::vector<std::string> list(static_cast<std::size_t>(ClampListCount(entries.GetInt("Files", 0), nListCapacity)));
  for (std::size_t i = 0; i < list.size(); ++i)
    list[i] = Rebase(entries.GetString(EntryKey(prefix, static_cast<int>(i)), "", kBufPath), topRoot, setupDir);
  return list;
}

}  // namespace

CString ReadCompany(const CString& iniPath) {
  CString company = GetString(iniPath, kSecSetup, "Name", kDefName, kBufName);
  return company.empty() ? CString(kDefName) : company;
}

int LargestListCount(const CString& iniPath) {
  int nLargest = 0;
  for (const char* sec : {kSecGroup, kSecGrpSC, kSecSystem}) nLargest = std::max(nLargest, GetInt(iniPath, sec, "Files", 0));
  return nLargest;
}

SetupOptions ReadSetupOptions(const CString& iniPath, const CString& topRoot, const CString& setupDir,
                              int nListCapacity) {
  SetupOptions o;
  o.nStartUp = GetInt(iniPath, kSecOption, "StartUp", 0);
  o.nProgram = GetInt(iniPath, kSecOption, "Program", 1);
  o.nDesktop = GetInt(iniPath, kSecOption, "Desktop", 1);
  o.nSTime = GetInt(iniPath, kSecSetup, "STime", 100);
  o.nReboot = GetInt(iniPath, kSecOption, "Reboot", 0);
  o.nBlueBack = GetInt(iniPath, kSecOption, "BlueBack", 1);
  o.strInstallDir = WithBackslash(GetString(iniPath, kSecAltitude, "InstallDir", ""));
  o.strPrgShortCut = GetString(iniPath, kSecAltitude, "PrgShortCut", "");
  o.strPrgGroup = GetString(iniPath, kSecAltitude, "PrgGroup", "");
  o.groupFiles = ReadList(iniPath, kSecGroup, "_g", topRoot, setupDir, nListCapacity);
  o.groupShortcutNames = ReadList(iniPath, kSecGrpSC, "_c", topRoot, setupDir, nListCapacity);
  o.systemFiles = ReadList(iniPath, kSecSystem, "_s", topRoot, setupDir, nListCapacity);
  o.nExecute = GetInt(iniPath, kSecAltitude, "Execute", 0);
  o.strReadMe = Rebase(GetString(iniPath, kSecAltitude, "ReadMe", ""), topRoot, setupDir);
  return o;
}

}  // namespace setupinfo
