; Tallyvane's per-user installer: no administrator rights, the user's local programs
; folder, a Start-menu shortcut, an optional start at sign-in, and an uninstaller
; registered for the user. The start date in HKCU\Software\Quillmark is the user's
; and stays when Tallyvane is uninstalled.
;
; makensis -DARCH=x86|amd64 -DSOURCE_EXE=path\to\Tallyvane.exe -DOUTFILE=setup.exe tallyvane.nsi
; Silent: setup.exe /S [/AUTOSTART]     Uninstall.exe /S

Unicode true
!ifndef ARCH | SOURCE_EXE | OUTFILE
  !error "define ARCH (x86 or amd64), SOURCE_EXE and OUTFILE"
!endif
Target ${ARCH}-unicode

!define VERSION "1.0.0.1"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tallyvane"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "Tallyvane"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Tallyvane"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
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
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Tallyvane" SecProgram
  SectionIn RO
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "/oname=Tallyvane.exe" "${SOURCE_EXE}"
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

Section /o "Start Tallyvane when I sign in" SecAutostart
  WriteRegStr HKCU "${RUN_KEY}" "Tallyvane" '"$INSTDIR\Tallyvane.exe"'
SectionEnd

Function .onInit
  ; A silent install chooses the start at sign-in with /AUTOSTART.
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/AUTOSTART" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecAutostart}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$INSTDIR\Tallyvane.exe"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Tallyvane.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "Tallyvane"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; HKCU\Software\Quillmark is left alone: someone reinstalling keeps their date.
SectionEnd
