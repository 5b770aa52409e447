; Tallyvane's per-user installer: no administrator rights, the user's local programs
; folder, a Start-menu shortcut, an optional start at sign-in, and an uninstaller
; registered for the user. The start date in HKCU\Software\Quillmark is the user's
; and stays when Tallyvane is uninstalled.
;
; makensis -DARCH=x86|amd64 -DSOURCE_DIR=folder -DOUTFILE=setup.exe tallyvane.nsi
; where the folder holds Tallyvane.exe, LICENSE.txt and THIRD-PARTY-NOTICES.txt.
; Silent: setup.exe /S [/AUTOSTART]     Uninstall.exe /S
; Neither changes anything while Tallyvane runs: they ask to end it first (Retry or
; Cancel); silent runs end at once with exit code 2.

Unicode true
!ifndef ARCH | SOURCE_DIR | OUTFILE
  !error "define ARCH (x86 or amd64), SOURCE_DIR and OUTFILE"
!endif
Target ${ARCH}-unicode

!define VERSION "1.0.0.1"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tallyvane"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "Tallyvane"
Caption "Tallyvane Setup"
UninstallCaption "Tallyvane Uninstall"
BrandingText "Tallyvane ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Tallyvane"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
!ifdef UNCOMPRESSED  ; only to read the page texts in a test
  SetCompress off
!else
  SetCompressor /SOLID lzma
!endif
ManifestDPIAware true

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "Tallyvane"
VIAddVersionKey /LANG=1033 "FileDescription" "Tallyvane installer"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 Tallyvane"

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"

!define MUI_ICON "..\res\tallyvane.ico"
!define MUI_UNICON "..\res\tallyvane.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tallyvane.exe"
; Every page appends its sub-caption " " to the title; each page puts the plain title back.
!macro PAGE KIND
  !define MUI_PAGE_CUSTOMFUNCTION_SHOW PlainTitle
  !insertmacro MUI_PAGE_${KIND}
!macroend
!macro UNPAGE KIND
  !define MUI_PAGE_CUSTOMFUNCTION_SHOW un.PlainTitle
  !insertmacro MUI_UNPAGE_${KIND}
!macroend
; The licence asks nothing of the user, so its page has Next rather than I Agree.
!define MUI_PAGE_CUSTOMFUNCTION_SHOW PlainTitle
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Tallyvane is free to use, copy and pass on under this licence. Choose Next to continue."
!insertmacro MUI_PAGE_LICENSE "${SOURCE_DIR}/LICENSE.txt"
!insertmacro PAGE COMPONENTS
!insertmacro PAGE DIRECTORY
!insertmacro PAGE INSTFILES
!insertmacro PAGE FINISH
!insertmacro UNPAGE CONFIRM
!insertmacro UNPAGE INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function PlainTitle
  SendMessage $HWNDPARENT ${WM_SETTEXT} 0 "STR:$(^SetupCaption)"
FunctionEnd
Function un.PlainTitle
  SendMessage $HWNDPARENT ${WM_SETTEXT} 0 "STR:$(^UninstallCaption)"
FunctionEnd

!macro DEFINE_SHARED_FUNCTIONS UN
  ; A running counter holds Tallyvane.exe open: nothing is changed until it has ended.
  ; It is found as a second copy finds it, by its dialog class and title.
  Function ${UN}CheckNotRunning
    check:
      FindWindow $0 "#32770" "Tallyvane"
      StrCmp $0 0 done
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Tallyvane is running. Choose Exit Tallyvane in its notification-area menu, then choose Retry." \
        /SD IDCANCEL IDRETRY check
      SetErrorLevel 2
      Quit
    done:
  FunctionEnd
!macroend
!insertmacro DEFINE_SHARED_FUNCTIONS ""
!insertmacro DEFINE_SHARED_FUNCTIONS "un."

Section "Tallyvane" SecProgram
  SectionIn RO
  Call CheckNotRunning
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${SOURCE_DIR}/Tallyvane.exe"
  File "${SOURCE_DIR}/LICENSE.txt"
  File "${SOURCE_DIR}/THIRD-PARTY-NOTICES.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortCut "$SMPROGRAMS\Tallyvane.lnk" "$INSTDIR\Tallyvane.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tallyvane"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Tallyvane"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tallyvane.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "Start at sign-in" SecAutostart
  WriteRegStr HKCU "${RUN_KEY}" "Tallyvane" '"$INSTDIR\Tallyvane.exe"'
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} \
    "The counter, a Start-menu shortcut and an uninstaller."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecAutostart} \
    "Start Tallyvane in the notification area each time you sign in to Windows."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
  Call CheckNotRunning
  ; A silent install chooses the start at sign-in with /AUTOSTART.
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/AUTOSTART" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecAutostart}
  ${EndIf}
FunctionEnd

Function un.onInit
  Call un.CheckNotRunning
FunctionEnd

Section "Uninstall"
  Call un.CheckNotRunning
  SetShellVarContext current
  Delete "$INSTDIR\Tallyvane.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Tallyvane.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "Tallyvane"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; HKCU\Software\Quillmark is left alone: someone reinstalling keeps their date.
SectionEnd
