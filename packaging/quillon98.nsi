; Quillon 98 setup: installs for the current user alone, without
; administrator rights, into the user's own programs folder. The program
; writes its macro file beside itself, which a folder under Program Files
; would refuse.
;
; scripts/package.sh compiles this with:
;   VERSION  the release version (MAJOR.MINOR.PATCH)
;   OUTFILE  the setup program to write
;   FILES    the lists of the program folder's files (QLX_INSTALL_FILES,
;            QLX_REMOVE_FILES), made from the folder as it ships
;   MUTEX    the name of the program's single-instance mutex
;   ICON     the program's icon
;
; Command line: /S installs silently; /AUTOSTART also starts Quillon 98
; when Windows starts (a silent upgrade keeps the earlier choice).
; Uninstall.exe /S uninstalls silently and keeps the user's files.

Unicode true
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh
!include Sections.nsh
!include "${FILES}"

!define PRODUCT "Quillon 98"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillon 98"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Quillon 98"
!define SHORTCUT "$SMPROGRAMS\Quillon 98.lnk"
!define SYNCHRONIZE 0x00100000
!define RUNNING_TEXT "Quillon 98 is running.$\r$\n$\r$\nClose it first (File, Terminate Quillon 98 in its window, or Terminate and Unload in the menu of its tray icon), then click Retry. Cancel leaves Quillon 98 as it is."

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Quillon 98"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Quillon 98"
VIAddVersionKey /LANG=1033 "CompanyName" "Quillon"
VIAddVersionKey /LANG=1033 "FileDescription" "Quillon 98 setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Quillon"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_WELCOMEPAGE_TEXT "Setup installs Quillon 98 ${VERSION} for you alone, into a folder of your own; it needs no administrator rights.$\r$\n$\r$\nIf Quillon 98 is running, close it first. Your macro files are kept when you install over an earlier version.$\r$\n$\r$\nClick Next to continue."
!define MUI_COMPONENTSPAGE_TEXT_TOP "Quillon 98 itself is always installed. Tick the second box to have it start each time you sign in to Windows."

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\QUILX.EXE"
!define MUI_FINISHPAGE_RUN_TEXT "Start Quillon 98 now"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.TXT"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the read-me"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

UninstPage custom un.KeepFilesPage un.KeepFilesPageLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; --- a running copy --------------------------------------------------------

; Files of a running program are in use: nothing is written or removed while
; any copy runs. Retry looks again; Cancel (and a silent run) ends with exit
; code 2 and changes nothing.
!macro REFUSE_WHILE_RUNNING UN
Function ${UN}RefuseWhileRunning
  retry:
  System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${MUTEX}") p .r0'
  ${If} $0 P<> 0
    System::Call 'kernel32::CloseHandle(p r0)'
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${RUNNING_TEXT}" /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Quit
  ${EndIf}
FunctionEnd
!macroend
!insertmacro REFUSE_WHILE_RUNNING ""
!insertmacro REFUSE_WHILE_RUNNING "un."

; --- install ---------------------------------------------------------------

Section "Quillon 98" SecProgram
  SectionIn RO
  ; The user may have started it while the pages were shown.
  Call RefuseWhileRunning
  !insertmacro QLX_INSTALL_FILES
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortCut "${SHORTCUT}" "$INSTDIR\QUILX.EXE" "" "$INSTDIR\QUILX.EXE" 0 \
    SW_SHOWNORMAL "" "Quillon 98 macro utility"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Quillon 98"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Quillon"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\QUILX.EXE,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section /o "Start Quillon 98 when Windows starts" SecAutostart
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\QUILX.EXE"'
SectionEnd

Section "-autostart off"
  ${IfNot} ${SectionIsSelected} ${SecAutostart}
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
SectionEnd

Function .onInit
  Call RefuseWhileRunning
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/AUTOSTART" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecAutostart}
  ${Else}
    ReadRegStr $R1 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${If} $R1 != ""
      !insertmacro SelectSection ${SecAutostart}
    ${EndIf}
  ${EndIf}
FunctionEnd

; --- uninstall -------------------------------------------------------------

Var RemoveUserFiles
Var RemoveUserFilesBox

Function un.onInit
  Call un.RefuseWhileRunning
  StrCpy $RemoveUserFiles ${BST_UNCHECKED}
FunctionEnd

Function un.KeepFilesPage
  !insertmacro MUI_HEADER_TEXT "Uninstall Quillon 98" "Remove Quillon 98 from this computer."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 60u "Quillon 98 will be removed from $INSTDIR, from the Start menu and from the programs that start with Windows.$\r$\n$\r$\nYour macro files (*.QLX), key-remap files (*.QLS), sync files (*.MAS) and settings (QUILX.INI) are kept, so that a later installation finds them again."
  Pop $0
  ${NSD_CreateCheckbox} 0 70u 100% 12u "&Also remove my macro files, key-remap files, sync files and settings"
  Pop $RemoveUserFilesBox
  ${NSD_SetState} $RemoveUserFilesBox $RemoveUserFiles
  GetDlgItem $0 $HWNDPARENT 1
  SendMessage $0 ${WM_SETTEXT} 0 "STR:&Uninstall"
  nsDialogs::Show
FunctionEnd

Function un.KeepFilesPageLeave
  ${NSD_GetState} $RemoveUserFilesBox $RemoveUserFiles
FunctionEnd

Section "Uninstall"
  Call un.RefuseWhileRunning
  !insertmacro QLX_REMOVE_FILES
  Delete "$INSTDIR\Uninstall.exe"
  ${If} $RemoveUserFiles == ${BST_CHECKED}
    Delete "$INSTDIR\*.QLX"
    Delete "$INSTDIR\*.QLS"
    Delete "$INSTDIR\*.MAS"
    Delete "$INSTDIR\TempCap.Txt"
    Delete "$INSTDIR\QUILX.INI"
    ; Without a folder in its name the settings file is the Windows folder's.
    Delete "$WINDIR\QUILX.INI"
    ; A user who may not write there keeps it in their application data.
    Delete "$APPDATA\Quillon 98\QUILX.INI"
    RMDir "$APPDATA\Quillon 98"
  ${EndIf}
  ; Only when empty: the user's files keep the folder.
  RMDir "$INSTDIR"
  Delete "${SHORTCUT}"
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
