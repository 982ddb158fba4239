; The Windows installer: tarnyx.exe and tarnyx-headless.exe in Program Files\Tarnyx, a Start-menu
; entry, an uninstaller and an entry in Windows' list of installed programs.
; makensis is given VERSION (the version text), FILE_VERSION (four numbers), STAGE (the folder
; with the files to install), ICON and OUTFILE with -D.
; A 64-bit installer: it runs where only 64-bit Windows programs run (Wine without its 32-bit half).
Target amd64-unicode
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnyx"

Name "Tarnyx"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$PROGRAMFILES64\Tarnyx"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
ShowInstDetails show

VIProductVersion "${FILE_VERSION}"
VIAddVersionKey "ProductName" "Tarnyx"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Tarnyx ${VERSION} setup"
VIAddVersionKey "LegalCopyright" "2026 the Tarnyx developers (MIT)"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

; The files each section puts in place are the ones the uninstaller removes, name by name: a
; folder the player chose is never removed whole with whatever else is in it.
Section "Tarnyx"
  SetOutPath "$INSTDIR"
  File "${STAGE}\tarnyx.exe"
  File "${STAGE}\tarnyx-headless.exe"
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetShellVarContext all
  CreateShortcut "$SMPROGRAMS\Tarnyx.lnk" "$INSTDIR\tarnyx.exe" "" "$INSTDIR\tarnyx.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tarnyx"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "the Tarnyx developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tarnyx.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Tarnyx.lnk"
  Delete "$INSTDIR\tarnyx.exe"
  Delete "$INSTDIR\tarnyx-headless.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
