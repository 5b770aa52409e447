; Tallyvane's per-user installer: no administrator rights, the user's local programs
; folder, a Start-menu shortcut, an optional start at sign-in, and an uninstaller
; registered for the user. The start date in HKCU\Software\Quillmark is the user's:
; uninstalling keeps it for a later install unless the user chooses to remove it.
;
; makensis -DARCH=x86|amd64 -DSOURCE_DIR=folder -DOUTFILE=setup.exe tallyvane.nsi
; where the folder holds Tallyvane.exe, LICENSE.txt and THIRD-PARTY-NOTICES.txt.
; Silent: setup.exe /S [/AUTOSTART | /NOAUTOSTART]     Uninstall.exe /S [/REMOVEDATE]
; Without either switch a silent install keeps the start at sign-in as it is.
; A Tallyvane running from the folder is closed first, as Windows' Restart Manager closes a
; program (a clicked setup asks first), and an install starts it again at the end. Nothing is
; changed before the chosen folder is known to be writable. An install into another folder
; first removes the copy in the registered one, and stops if it cannot. An uninstall that
; cannot delete the program removes nothing. Each refusal has an exit code of its own (the
; EXIT_ defines below), which winget's manifest declares (scripts/write-manifests.sh).

Unicode true
!ifndef ARCH | SOURCE_DIR | OUTFILE
  !error "define ARCH (x86 or amd64), SOURCE_DIR and OUTFILE"
!endif
Target ${ARCH}-unicode

; The version is the project's, from CMakeLists.txt's project() (as the program's own).
!searchparse /file "${__FILEDIR__}/../CMakeLists.txt" "project(Tallyvane VERSION " VERSION " "
!define EXIT_CANCELLED 1    ; the user chose Cancel (NSIS's own code for it)
!define EXIT_ABORTED 2      ; NSIS's own: the user chose Abort where a file could not be written
!define EXIT_IN_USE 3       ; Tallyvane runs and did not end when asked
!define EXIT_BAD_FOLDER 4   ; /D= names no folder below a root
!define EXIT_UNWRITABLE 5   ; the folder cannot be written
!define EXIT_NOT_REMOVED 6  ; a program that must go cannot be deleted
!define EXIT_NOT_REPLACED 7 ; the program cannot be written over

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tallyvane"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define DATE_KEY "Software\Quillmark"
; Where Windows' own start-up switch (Settings, Task Manager) records an entry of RUN_KEY
; as off, leaving the entry itself: a binary value of the same name whose first byte is odd.
; Windows writes 2 or 6 for on, and 3, 7 or others such as 0x63 for off: the low bit tells.
!define APPROVED_KEY "Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run"

Name "Tallyvane"
Caption "Tallyvane Setup"
UninstallCaption "Tallyvane Uninstall"
BrandingText "Tallyvane ${VERSION}"
OutFile "${OUTFILE}"
!ifdef SIGN_FILE  ; a signed release: the uninstaller is signed before it is stored in here
  !uninstfinalize '"${SIGN_FILE}" "%1" "${UNINSTALLER_SIGNATURE}"' = 0
!endif
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Tallyvane"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
!ifdef TEST_BUILD  ; page texts a test can read, and the box's state as the exit code
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
!include "WordFunc.nsh"
!include "Sections.nsh"
!include "nsDialogs.nsh"

!define PROCESS_QUERY_LIMITED_INFORMATION 0x1000
!define SYNCHRONIZE 0x00100000
!define ENDSESSION_CLOSEAPP 1
!define SMTO_ABORTIFHUNG 2
!define TOKEN_QUERY 8
!define TokenElevationType 18
!define TokenElevationTypeFull 2

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
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro PAGE DIRECTORY
!insertmacro PAGE INSTFILES
!insertmacro PAGE FINISH
UninstPage custom un.ConfirmPage un.ConfirmPageLeave
!insertmacro UNPAGE INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function PlainTitle
  SendMessage $HWNDPARENT ${WM_SETTEXT} 0 "STR:$(^SetupCaption)"
FunctionEnd
Function un.PlainTitle
  SendMessage $HWNDPARENT ${WM_SETTEXT} 0 "STR:$(^UninstallCaption)"
FunctionEnd

; The counter that runs $R0\Tallyvane.exe, or 0: found as a second copy finds it, by its
; dialog class and title, which finds only this session's. One run from another folder (a
; portable copy) holds no file of this one, and is left alone.
Var Counter
; The folder of the counter closed, to start it again from; empty while none was.
Var RestartFrom

!macro DEFINE_SHARED_FUNCTIONS UN
  Function ${UN}FindCounterIn
    FindWindow $Counter "#32770" "Tallyvane"
    StrCmp $Counter 0 done
    GetDlgItem $1 $Counter 1001  ; the date's line: a message box titled Tallyvane has none
    StrCmp $1 0 other
    System::Call 'user32::GetWindowThreadProcessId(p $Counter, *i .r1)'
    System::Call 'kernel32::OpenProcess(i ${PROCESS_QUERY_LIMITED_INFORMATION}, i 0, i r1) p .r2'
    StrCpy $3 ""
    ${If} $2 P<> 0
      System::Call 'kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r3, *i ${NSIS_MAX_STRLEN})'
      System::Call 'kernel32::CloseHandle(p r2)'
    ${EndIf}
    ; The folder in its long form, as the process's path is (StrCmp ignores case, as paths do).
    System::Call 'kernel32::GetLongPathNameW(w "$R0\Tallyvane.exe", w .r4, i ${NSIS_MAX_STRLEN}) i .r5'
    StrCmp $5 0 +2
      StrCmp $3 $4 done
    StrCmp $3 "$R0\Tallyvane.exe" done
    other:
    StrCpy $Counter 0
    done:
  FunctionEnd

  ; A running counter holds Tallyvane.exe open: it is asked to end as Windows' Restart
  ; Manager asks, and it ends as Exit Tallyvane ends it, saving nothing. Each message waits
  ; at most 5 seconds, and the process 10 more. One that does not end is refused: nothing has
  ; changed, and the user may end it and retry.
  Function ${UN}CloseCounterIn
    again:
    Call ${UN}FindCounterIn
    StrCmp $Counter 0 done
    System::Call 'user32::GetWindowThreadProcessId(p $Counter, *i .r1)'
    System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r1) p .r2'
    StrCpy $4 1  ; not ended
    System::Call 'user32::SendMessageTimeoutW(p $Counter, i ${WM_QUERYENDSESSION}, p 0, p ${ENDSESSION_CLOSEAPP}, i ${SMTO_ABORTIFHUNG}, i 5000, *p .r3) p .r5'
    ${If} $5 P<> 0
    ${AndIf} $3 P<> 0
      System::Call 'user32::SendMessageTimeoutW(p $Counter, i ${WM_ENDSESSION}, p 1, p ${ENDSESSION_CLOSEAPP}, i ${SMTO_ABORTIFHUNG}, i 5000, *p .r3)'
      System::Call 'kernel32::WaitForSingleObject(p r2, i 10000) i .r4'
    ${ElseIf} $5 P<> 0  ; it said no: the end is called off, as Windows tells it
      System::Call 'user32::SendMessageTimeoutW(p $Counter, i ${WM_ENDSESSION}, p 0, p ${ENDSESSION_CLOSEAPP}, i ${SMTO_ABORTIFHUNG}, i 5000, *p .r3)'
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r2)'
    ${If} $4 <> 0  ; not waited on, or not ended: ended only if its window has gone
      Call ${UN}FindCounterIn
      StrCmp $Counter 0 0 refuse
    ${EndIf}
    StrCpy $RestartFrom $R0
    Goto again  ; and none is left
    refuse:
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "Tallyvane is running and did not close when asked. Nothing was changed. End it (Exit Tallyvane in its notification-area menu, or Task Manager), then choose Retry." \
      /SD IDCANCEL IDRETRY again
    SetErrorLevel ${EXIT_IN_USE}
    Quit
    done:
  FunctionEnd

  ; $2 is 1 where this runs with an administrator's rights that the user was asked for (the
  ; elevated half of a split token); with UAC off the shell runs with the same rights.
  Function ${UN}RunsElevated
    System::Call 'advapi32::OpenProcessToken(p -1, i ${TOKEN_QUERY}, *p .r1)'
    StrCpy $2 0
    System::Call 'advapi32::GetTokenInformation(p r1, i ${TokenElevationType}, *i .r2, i 4, *i .r3)'
    System::Call 'kernel32::CloseHandle(p r1)'
    ${If} $2 = ${TokenElevationTypeFull}
      StrCpy $2 1
    ${Else}
      StrCpy $2 0
    ${EndIf}
  FunctionEnd

  ; Starts $R0\Tallyvane.exe as the user who runs this, unless elevated: the counter would run
  ; with rights that it never needs, and the shell, without them, could not reach it.
  Function ${UN}StartCounter
    StrCmp $R0 "" done
    Call ${UN}RunsElevated
    ${If} $2 = 0
    ${AndIf} ${FileExists} "$R0\Tallyvane.exe"
      Exec '"$R0\Tallyvane.exe"'
    ${EndIf}
    done:
  FunctionEnd
!macroend
!insertmacro DEFINE_SHARED_FUNCTIONS ""
!insertmacro DEFINE_SHARED_FUNCTIONS "un."

; Whether a file can be made in $INSTDIR, leaving it as it was: $R9 is 1 when it can,
; and otherwise the user is told. A folder under one that cannot be written cannot, nor
; can a file of the folder's name.
Function CheckFolderWritable
  StrCpy $R9 0
  StrCpy $R7 ""
  ${IfNot} ${FileExists} "$INSTDIR\*.*"
    CreateDirectory "$INSTDIR"
    StrCpy $R7 made
  ${EndIf}
  ClearErrors
  FileOpen $R8 "$INSTDIR\Tallyvane-setup.tmp" w
  ${IfNot} ${Errors}
    FileClose $R8
    Delete "$INSTDIR\Tallyvane-setup.tmp"
    StrCpy $R9 1
  ${EndIf}
  ${If} $R7 == made
    RMDir "$INSTDIR"
  ${EndIf}
  ${If} $R9 <> 1
    MessageBox MB_OK|MB_ICONSTOP "Tallyvane cannot be installed in $INSTDIR: that folder cannot be written. Choose another folder." /SD IDOK
  ${EndIf}
FunctionEnd
; A clicked setup says, before it closes the counter of $R0, that it will, and the user may
; go on or cancel: $R9 is 0 where they cancel. Asked once: only one counter runs.
Var CloseAgreed
Function AskToCloseCounter
  StrCpy $R9 1
  StrCmp $CloseAgreed 1 done
  Call FindCounterIn
  StrCmp $Counter 0 done
  Call RunsElevated
  StrCpy $1 "start it again once it is installed."
  StrCmp $2 0 +2
    StrCpy $1 "it will not start again by itself, as Setup runs as administrator."
  MessageBox MB_OKCANCEL|MB_ICONINFORMATION "Tallyvane is running. Setup will close it, and $1" IDOK +3
  StrCpy $R9 0
  Goto done
  StrCpy $CloseAgreed 1
  done:
FunctionEnd
Function DirectoryLeave
  Call CheckFolderWritable
  StrCmp $R9 1 +2
    Abort  ; stays on the page
  ; The folder chosen, or the counter started since the setup began, may mean another to close.
  StrCpy $R0 $INSTDIR
  Call AskToCloseCounter
  ReadRegStr $R0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  StrCmp $R9 0 +2
    Call AskToCloseCounter
  StrCmp $R9 1 +2
    Abort
FunctionEnd

; An install into another folder than the registered one first removes the copy there
; with its own uninstaller, run in place so that this waits for it; the start date stays.
; Without its uninstaller, the files it installed go, and nothing else of that folder;
; what else it registered is taken over below.
Function RemoveEarlierCopy
  ReadRegStr $R0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  StrCmp $R0 "" done
  StrCmp $R0 $INSTDIR done  ; StrCmp ignores case, as Windows paths do
  ${If} ${FileExists} "$R0\Uninstall.exe"
    ClearErrors
    ExecWait '"$R0\Uninstall.exe" /S _?=$R0' $R1
    IfErrors 0 +2
      StrCpy $R1 1  ; it did not run
  ${Else}
    Delete "$R0\Tallyvane.exe"  ; first: where it stays, so does everything else
    ${IfNot} ${FileExists} "$R0\Tallyvane.exe"
      Delete "$R0\LICENSE.txt"
      Delete "$R0\THIRD-PARTY-NOTICES.txt"
    ${EndIf}
    StrCpy $R1 0
  ${EndIf}
  ${If} $R1 <> 0
  ${OrIf} ${FileExists} "$R0\Tallyvane.exe"
    MessageBox MB_OK|MB_ICONSTOP \
      "The Tallyvane installed in $R0 could not be removed, so nothing was installed. Install into that folder instead, or delete that folder, then run this setup again." \
      /SD IDOK
    StrCpy $R0 $RestartFrom
    Call StartCounter  ; the copy closed for this, as it was
    SetErrorLevel ${EXIT_NOT_REMOVED}
    Quit
  ${EndIf}
  ; Run in place, the uninstaller cannot remove itself or its folder.
  Delete "$R0\Uninstall.exe"
  RMDir "$R0"
  done:
FunctionEnd

; A program that cannot be written over stops the install, keeping all the rest: a silent NSIS
; would go on without it and end as if it had installed.
Function NotReplaced
  MessageBox MB_OK|MB_ICONSTOP \
    "Tallyvane could not be installed: $INSTDIR\Tallyvane.exe cannot be replaced, perhaps because another program is using it. Close that program, then run this setup again." \
    /SD IDOK
  StrCpy $R0 $RestartFrom
  Call StartCounter  ; the counter closed for this, as it was
  SetErrorLevel ${EXIT_NOT_REPLACED}
  Quit
FunctionEnd

Section "Tallyvane" SecProgram
  SectionIn RO
  ; The counter of this folder or of the registered one, which goes below, ends first.
  StrCpy $R0 $INSTDIR
  Call CloseCounterIn
  ReadRegStr $R0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $R0 != ""
    Call CloseCounterIn
  ${EndIf}
  ; Known before the earlier copy goes, which a move would otherwise leave nowhere.
  ${If} ${FileExists} "$INSTDIR\Tallyvane.exe"
    SetFileAttributes "$INSTDIR\Tallyvane.exe" NORMAL  ; as File itself clears read-only
    ClearErrors
    FileOpen $R8 "$INSTDIR\Tallyvane.exe" a  ; for writing, changing nothing
    IfErrors 0 +2
      Call NotReplaced
    FileClose $R8
  ${EndIf}
  Call RemoveEarlierCopy
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  ClearErrors
  File "${SOURCE_DIR}/Tallyvane.exe"
  IfErrors 0 +2
    Call NotReplaced
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
  ; An unticked box means no start at sign-in; the next section adds it back if ticked,
  ; without the "off" record, which would keep it from starting.
  DeleteRegValue HKCU "${RUN_KEY}" "Tallyvane"
  DeleteRegValue HKCU "${APPROVED_KEY}" "Tallyvane"
SectionEnd

Section /o "Start at sign-in" SecAutostart
  WriteRegStr HKCU "${RUN_KEY}" "Tallyvane" '"$INSTDIR\Tallyvane.exe"'
SectionEnd

; NSIS stops an install by itself where a file cannot be written and the user chooses Abort
; (exit code 2): the counter closed for it starts again, from whichever program is there.
Function .onInstFailed
  StrCpy $R0 $RestartFrom
  Call StartCounter
FunctionEnd

; Last: the counter closed for the install starts again, from the new program.
Section "-StartAgain"
  StrCmp $RestartFrom "" +3
    StrCpy $R0 $INSTDIR
    Call StartCounter
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} \
    "The counter, a Start-menu shortcut and an uninstaller."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecAutostart} \
    "Tallyvane starts, and its window opens, each time you sign in to Windows. Closing the window keeps it counting in the notification area."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; NSIS takes for a folder only a path below the root of a drive or of a network share, but
; the /D= folder read below passes no check of NSIS's own. Anything else ($R1) ends the run
; at once with EXIT_BAD_FOLDER, before anything is written: a folder relative to wherever the setup was
; started from, "C:" alone, a drive's root, or a lone "\": the root of the current drive,
; which the install's size count would then walk whole.
Function CheckFullFolder
  ${GetRoot} $R1 $R2
  StrLen $R3 $R2
  StrCpy $R4 $R1 1 $R3  ; the backslash after the root
  IntOp $R3 $R3 + 1
  StrCpy $R5 $R1 1 $R3  ; the first letter of the folder below it
  ${If} $R2 == ""
  ${OrIf} $R4 != "\"
  ${OrIf} $R5 == ""
  ${OrIf} $R5 == "\"
    SetErrorLevel ${EXIT_BAD_FOLDER}
    Quit
  ${EndIf}
FunctionEnd

Function .onInit
  ; A clicked setup says first that it will close a running counter: Cancel changes nothing.
  ; $INSTDIR is the registered folder here, or the default.
  ${IfNot} ${Silent}
    StrCpy $R0 $INSTDIR
    Call AskToCloseCounter
    ${If} $R9 = 0
      SetErrorLevel ${EXIT_CANCELLED}
      Quit
    ${EndIf}
  ${EndIf}
  ${If} ${Silent}  ; no directory page to choose another folder on
    ; NSIS puts its default in place of a /D= folder that it cannot use (a file stands
    ; there), and ignores a quoted "/D=FOLDER", as tools pass a folder with spaces: a run
    ; asked for one folder must not install into another. /D= comes last, so the folder
    ; is the rest of the command line, up to a closing quote where there is one.
    System::Call 'kernel32::GetCommandLineW() t .R0'
    ClearErrors
    ${WordFind} $R0 "/D=" "E+1}" $R1
    ${If} ${Errors}
      StrCpy $R1 ""  ; no folder asked for
    ${Else}
      ${WordFind} $R1 '"' "+1{" $R1
    ${EndIf}
    ${If} $R1 != ""
      Call CheckFullFolder
      StrCpy $R2 $R1 "" -1
      ${If} $R2 == "\"  ; one trailing backslash, as NSIS's own /D= allows
        StrCpy $R1 $R1 -1
      ${EndIf}
      StrCpy $INSTDIR $R1
    ${EndIf}
    Call CheckFolderWritable
    ${If} $R9 <> 1
      SetErrorLevel ${EXIT_UNWRITABLE}
      Quit
    ${EndIf}
  ${EndIf}
  ; The box shows whether Tallyvane starts at sign-in now: the entry is there and Windows'
  ; own switch does not hold it off. /AUTOSTART and /NOAUTOSTART choose for a silent
  ; install, which otherwise keeps it as it is.
  ClearErrors
  ReadRegStr $R1 HKCU "${RUN_KEY}" "Tallyvane"
  ${IfNot} ${Errors}
    System::Alloc 16
    Pop $R4
    System::Call 'advapi32::RegGetValueW(p -2147483647, w "${APPROVED_KEY}", w "Tallyvane", i 8, p 0, p R4, *i 16) i .R3'
    System::Call '*$R4(&i1 .R2)'  ; the first byte
    System::Free $R4
    IntOp $R2 $R2 & 1
    ${If} $R3 <> 0  ; no record: nothing holds it off
    ${OrIf} $R2 = 0
      !insertmacro SelectSection ${SecAutostart}
    ${EndIf}
  ${EndIf}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/AUTOSTART" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecAutostart}
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/NOAUTOSTART" $R1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecAutostart}
  ${EndIf}
  !ifdef TEST_BUILD  ; ends with 11 where the components page would show the box ticked
    SectionGetFlags ${SecAutostart} $R1
    IntOp $R1 $R1 & ${SF_SELECTED}
    IntOp $R1 $R1 + 10
    SetErrorLevel $R1
    Quit
  !endif
FunctionEnd

; ${BST_CHECKED} when the start date goes too: the box on the confirm page, or /REMOVEDATE.
Var RemoveDate
Var RemoveDateBox

Function un.onInit
  StrCpy $RemoveDate ${BST_UNCHECKED}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/REMOVEDATE" $R1
  ${IfNot} ${Errors}
    StrCpy $RemoveDate ${BST_CHECKED}
  ${EndIf}
FunctionEnd

Function un.ConfirmPage
  Call un.PlainTitle
  !insertmacro MUI_HEADER_TEXT "Uninstall Tallyvane" "Remove Tallyvane from your computer."
  nsDialogs::Create 1018
  Pop $0
  ; Four lines: room for a folder name a few levels deep; an & in it shows as it is.
  ${NSD_CreateLabel} 0 0 100% 32u "Tallyvane will be removed from $INSTDIR. Choose Uninstall to continue."
  Pop $0
  ${NSD_AddStyle} $0 ${SS_NOPREFIX}
  ${NSD_CreateLabel} 0 36u 100% 30u "Your start date stays on this computer, so that Tallyvane counts on from it if you install it again. It is kept in the registry under HKEY_CURRENT_USER\Software\Quillmark."
  Pop $0
  ${NSD_CreateCheckbox} 0 72u 100% 12u "&Remove my start date too"
  Pop $RemoveDateBox
  ${NSD_SetState} $RemoveDateBox $RemoveDate
  StrCpy $R0 $INSTDIR
  Call un.FindCounterIn
  ${If} $Counter <> 0
    ${NSD_CreateLabel} 0 92u 100% 20u "Tallyvane is running. Uninstall will close it first."
    Pop $0
  ${EndIf}
  GetDlgItem $0 $HWNDPARENT 1
  SendMessage $0 ${WM_SETTEXT} 0 "STR:$(^UninstallBtn)"
  nsDialogs::Show
FunctionEnd
Function un.ConfirmPageLeave
  ${NSD_GetState} $RemoveDateBox $RemoveDate
FunctionEnd

Section "Uninstall"
  StrCpy $R0 $INSTDIR
  Call un.CloseCounterIn  ; it is not started again
  SetShellVarContext current
  ; The program first. Where it cannot be deleted (another program holds it open, or the user
  ; may not delete it), nothing else is removed either: the shortcut, the entry under Apps and
  ; the start at sign-in would otherwise be lost to a copy that stays.
  Delete "$INSTDIR\Tallyvane.exe"
  ${If} ${FileExists} "$INSTDIR\Tallyvane.exe"
    MessageBox MB_OK|MB_ICONSTOP \
      "Tallyvane could not be removed: $INSTDIR\Tallyvane.exe cannot be deleted, perhaps because another program is using it. Nothing was changed. Close that program, then uninstall again." \
      /SD IDOK
    StrCpy $R0 $RestartFrom
    Call un.StartCounter  ; the counter closed for this, as it was
    SetErrorLevel ${EXIT_NOT_REMOVED}
    Quit
  ${EndIf}
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Tallyvane.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "Tallyvane"
  DeleteRegValue HKCU "${APPROVED_KEY}" "Tallyvane"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; The start date stays for a later install unless the user chose to remove it: then
  ; its three values go, and the key only if nothing else is left in it.
  ${If} $RemoveDate == ${BST_CHECKED}
    DeleteRegValue HKCU "${DATE_KEY}" "Year"
    DeleteRegValue HKCU "${DATE_KEY}" "Month"
    DeleteRegValue HKCU "${DATE_KEY}" "Day"
    DeleteRegKey /ifempty HKCU "${DATE_KEY}"
  ${EndIf}
SectionEnd
