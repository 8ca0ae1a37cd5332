; The installer of the Windows program: for the user who runs it, without
; administrator rights, into the user's own programs folder, with an entry
; in the Start menu and an uninstaller listed in the system's Apps. The
; uninstaller removes the program and leaves the high-score table (the
; registry key HKCU\Software\Tolp\Ruvo) where it is.
;   makensis -DVERSION=1.32 -DARCH=x86|x64 -DSOURCE=<folder with the program> -DICON=<icon> -DOUTFILE=<setup.exe> installer.nsi
Unicode true
!if ${ARCH} == x64
  Target amd64-unicode
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tolp.Ruvo"

Name "Ruvo Zelp!"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Ruvo"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Ruvo Zelp! ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "Ruvo Zelp!"
VIAddVersionKey "CompanyName" "Tolp"
VIAddVersionKey "FileDescription" "Ruvo Zelp! setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Tolp"

!include "MUI2.nsh"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\ruvo.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Ruvo"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${SOURCE}/ruvo.exe"
  File "${SOURCE}/RUVO.RTF"
  File "${SOURCE}/A_013GMW.MID"
  File "${SOURCE}/A_002GMW.MID"
  File "${SOURCE}/A_004GMW.MID"
  File "${SOURCE}/A_114GMW.MID"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Ruvo Zelp!.lnk" "$INSTDIR\ruvo.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Ruvo Zelp!"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Tolp"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ruvo.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" 1024
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\Ruvo Zelp!.lnk"
  Delete "$INSTDIR\ruvo.exe"
  Delete "$INSTDIR\RUVO.RTF"
  Delete "$INSTDIR\A_013GMW.MID"
  Delete "$INSTDIR\A_002GMW.MID"
  Delete "$INSTDIR\A_004GMW.MID"
  Delete "$INSTDIR\A_114GMW.MID"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
