# Sourced by the benches: an NSIS installer of a folder's files, made by Debian's
# makensis natively, as a peer to compare Hanbell with. Installs the package `nsis`
# when makensis is missing (the benches alone need it, the tests never do).
#
#   nsis_build [--peer] TREE OUT [NAME...]
#                                   an installer OUT that puts every file below TREE
#                                   into $INSTDIR as TREE lays them out, with NSIS's
#                                   default compression (zlib, each file on its own);
#                                   the NAMEs (relative paths) are left out. With --peer,
#                                   as an installer is made to be compared with ours:
#                                   stored without compression, with an uninstall key
#                                   and the uninstaller NSIS writes ($INSTDIR\uninst.exe,
#                                   which deletes the key and RMDir /r $INSTDIR)
#   nsis_target                     the stub OUT is built on: x86-unicode where this
#                                   machine runs i386 code, amd64-unicode elsewhere
#
# The stub alone (an empty TREE) gives the installer's fixed part: the payload of
# OUT is its size less that of an installer of an empty folder.

nsis_ensure() {
  command -v makensis >/dev/null 2>&1 && return 0
  echo "nsis: installing Debian's nsis for makensis" >&2
  (apt-get install -y nsis >/dev/null 2>&1 || { apt-get update >/dev/null 2>&1 && apt-get install -y nsis >/dev/null 2>&1; }) ||
    { echo "nsis: cannot install the package nsis" >&2; return 1; }
}

nsis_target() {
  if [[ "${HB_WIN_RUN:-32}" == 64 ]]; then echo amd64-unicode; else echo x86-unicode; fi
}

nsis_build() {
  local peer=0
  if [[ "${1:-}" == --peer ]]; then peer=1; shift; fi
  local tree="$1" out="$2"
  shift 2
  nsis_ensure || return 1
  local script excludes=() name title key
  script="$(mktemp --suffix=.nsi)"
  for name in "$@"; do excludes+=("/x" "\"$name\""); done
  title="$(basename "$out" .exe)"
  key="Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$title"
  {
    echo "Unicode true"
    echo "Target $(nsis_target)"
    ((peer)) && printf "SetCompress off\nSetDatablockOptimize off\n"
    echo "Name \"$title\""
    echo "OutFile \"$out\""
    echo "InstallDir \"\$PROGRAMFILES\\$title\""
    echo "RequestExecutionLevel admin"
    echo "Section"
    echo "  SetOutPath \"\$INSTDIR\""
    if [[ -n "$(ls -A "$tree" 2>/dev/null)" ]]; then echo "  File /r ${excludes[*]} \"$tree/*\""; fi
    if ((peer)); then
      echo "  WriteUninstaller \"\$INSTDIR\\uninst.exe\""
      echo "  WriteRegStr HKLM \"$key\" \"DisplayName\" \"$title\""
      echo "  WriteRegStr HKLM \"$key\" \"UninstallString\" '\"\$INSTDIR\\uninst.exe\"'"
      echo "  WriteRegStr HKLM \"$key\" \"QuietUninstallString\" '\"\$INSTDIR\\uninst.exe\" /S'"
    fi
    echo "SectionEnd"
    if ((peer)); then
      echo "Section \"Uninstall\""
      echo "  DeleteRegKey HKLM \"$key\""
      echo "  RMDir /r \"\$INSTDIR\""
      echo "SectionEnd"
    fi
  } >"$script"
  local rc=0
  makensis -V2 "$script" >&2 || rc=$?
  rm -f "$script"
  return $rc
}
