; The installer of the Windows program, one for every player: on 64-bit
; Windows it installs the x86_64 program, on 32-bit Windows the i686 one.
; For the user who runs it, without administrator rights, into the user's
; own programs folder (a folder that would need them is refused), with an
; entry in the Start menu and an uninstaller listed in the system's Apps.
; A running game (its window class RuvoWClass) is to be closed first. The
; uninstaller removes the program and leaves the high-score table (the
; registry key HKCU\Software\Tolp\Ruvo) where it is. The player reads the
; licence before choosing the folder; it and the notices of the parts of
; others that the programs carry are installed beside the game. Replay files
; (.ruvo-replay) open with the game, for this user only (under
; HKCU\Software\Classes); the uninstaller takes that back too.
;   makensis -DVERSION=1.32 -DSOURCE32=<i686 program folder> -DSOURCE64=<x86_64 program folder>
;            -DICON=<icon> -DOUTFILE=<setup.exe> installer.nsi
; SPDX-License-Identifier: MIT
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tolp.Ruvo"
!define REPLAY_CLASS "Tolp.Ruvo.Replay"
!define CLASSES "Software\Classes"
!define COPYRIGHT "Copyright (c) 2026 Tolp"

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
VIAddVersionKey "LegalCopyright" "${COPYRIGHT}"

!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "x64.nsh"
!include "MUI2.nsh"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\ruvo.exe"
; The MIT licence asks nothing of a player: the page informs, with Next.
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Ruvo Zelp! is free software under this licence. THIRD_PARTY_NOTICES.txt, installed with the game, names the parts of others it carries. Click Next to continue."
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!insertmacro MUI_PAGE_LICENSE "${SOURCE32}/LICENSE.txt"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE RefuseFolderNotOurs
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Asks the player to close a running game, until it is closed or the player
; gives up (silently: gives up at once, with status 2).
!macro CloseRunningGame un
Function ${un}CloseRunningGame
  ${Do}
    FindWindow $0 "RuvoWClass"
    ${If} $0 = 0
      Return
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Ruvo Zelp! is running. Please close the game, then choose Retry." /SD IDCANCEL IDRETRY +3
    SetErrorLevel 2
    Quit
  ${Loop}
FunctionEnd
!macroend
!insertmacro CloseRunningGame ""
!insertmacro CloseRunningGame "un."

; $R0 is "ok" when the player may write in $INSTDIR without administrator rights.
Function ProbeFolder
  StrCpy $R0 ""
  ClearErrors
  CreateDirectory "$INSTDIR"
  FileOpen $R1 "$INSTDIR\ruvo-setup.probe" w
  ${IfNot} ${Errors}
    FileClose $R1
    Delete "$INSTDIR\ruvo-setup.probe"
    StrCpy $R0 "ok"
  ${Else}
    RMDir "$INSTDIR"
  ${EndIf}
FunctionEnd

!define REFUSED "Ruvo Zelp! cannot be installed in $INSTDIR: you may not write there without administrator rights, and this installer does not ask for them. Please choose a folder of your own, such as $LOCALAPPDATA\Programs\Ruvo."

Function RefuseFolderNotOurs
  Call ProbeFolder
  ${If} $R0 != "ok"
    MessageBox MB_OK|MB_ICONSTOP "${REFUSED}"
    Abort
  ${EndIf}
FunctionEnd

Function .onInit
  Call CloseRunningGame
  ; Silently there is no page to refuse the folder on: it is refused here.
  ${If} ${Silent}
    Call ProbeFolder
    ${If} $R0 != "ok"
      MessageBox MB_OK|MB_ICONSTOP "${REFUSED}" /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

Function un.onInit
  Call un.CloseRunningGame
FunctionEnd

Section "Ruvo"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  ${If} ${IsNativeAMD64}
    File "${SOURCE64}/ruvo.exe"
  ${Else}
    File "${SOURCE32}/ruvo.exe"
  ${EndIf}
  File "${SOURCE32}/RUVO.RTF"
  File "${SOURCE32}/A_013GMW.MID"
  File "${SOURCE32}/A_002GMW.MID"
  File "${SOURCE32}/A_004GMW.MID"
  File "${SOURCE32}/A_114GMW.MID"
  File "${SOURCE32}/LICENSE.txt"
  File "${SOURCE32}/THIRD_PARTY_NOTICES.txt"
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
  ; A double-click on a replay plays it; the game is offered beside any
  ; other program the player chose for them.
  WriteRegStr HKCU "${CLASSES}\${REPLAY_CLASS}" "" "Ruvo Zelp! replay"
  WriteRegStr HKCU "${CLASSES}\${REPLAY_CLASS}\DefaultIcon" "" "$INSTDIR\ruvo.exe,0"
  WriteRegStr HKCU "${CLASSES}\${REPLAY_CLASS}\shell\open" "" "Open with Ruvo"
  WriteRegStr HKCU "${CLASSES}\${REPLAY_CLASS}\shell\open\command" "" '"$INSTDIR\ruvo.exe" "%1"'
  WriteRegStr HKCU "${CLASSES}\.ruvo-replay" "" "${REPLAY_CLASS}"
  WriteRegStr HKCU "${CLASSES}\.ruvo-replay" "Content Type" "application/x-ruvo-replay"
  WriteRegStr HKCU "${CLASSES}\.ruvo-replay\OpenWithProgids" "${REPLAY_CLASS}" ""
  ; SHCNE_ASSOCCHANGED: Explorer shows the new icon and verb at once.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  ; What the folder holds now, in KiB, as Apps shows it.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
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
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\THIRD_PARTY_NOTICES.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; The replays' association, and the extension's key where nothing else
  ; was put in it.
  DeleteRegKey HKCU "${CLASSES}\${REPLAY_CLASS}"
  DeleteRegValue HKCU "${CLASSES}\.ruvo-replay\OpenWithProgids" "${REPLAY_CLASS}"
  DeleteRegKey /ifempty HKCU "${CLASSES}\.ruvo-replay\OpenWithProgids"
  ReadRegStr $0 HKCU "${CLASSES}\.ruvo-replay" ""
  ${If} $0 == "${REPLAY_CLASS}"
    DeleteRegValue HKCU "${CLASSES}\.ruvo-replay" ""
    DeleteRegValue HKCU "${CLASSES}\.ruvo-replay" "Content Type"
  ${EndIf}
  DeleteRegKey /ifempty HKCU "${CLASSES}\.ruvo-replay"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
