; Vantisk setup: a per-user installation that needs no administrator rights.
;
; Built by cmake/packaging.cmake (target package_installer), which passes:
;   VERSION      the product version, e.g. 1.0.0
;   FILEVERSION  the same with four parts, e.g. 1.0.0.0
;   ARCH         win32 (x86 stub) or win64 (amd64 stub)
;   EXE          the Vantisk.exe to install
;   README       the README.txt to install beside it
;   ICON         the setup and uninstaller icon
;   OUTFILE      the setup exe to write

!macro REQUIRE_DEFINE NAME
  !ifndef ${NAME}
    !error "makensis needs -D${NAME}=..."
  !endif
!macroend
!insertmacro REQUIRE_DEFINE VERSION
!insertmacro REQUIRE_DEFINE FILEVERSION
!insertmacro REQUIRE_DEFINE ARCH
!insertmacro REQUIRE_DEFINE EXE
!insertmacro REQUIRE_DEFINE README
!insertmacro REQUIRE_DEFINE ICON
!insertmacro REQUIRE_DEFINE OUTFILE

!if "${ARCH}" == "win64"
  Target amd64-unicode
!else if "${ARCH}" == "win32"
  Target x86-unicode
!else
  !error "ARCH must be win32 or win64, not ${ARCH}"
!endif

!define PRODUCT "Vantisk"
!define PUBLISHER "Tessanor LTD"
!define PROGRAM_EXE "Vantisk.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantisk"
!define SETTINGS_KEY "Software\Vantisk"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; Where the program parks its machine-wide Run value while "Load with windows" is off.
!define PARKING_KEY "Software\Microsoft\Windows\CurrentVersion\Run-"
!define AUTOSTART_VALUE "Vantisk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
ManifestDPIAware true
BrandingText "${PRODUCT} ${VERSION} - ${PUBLISHER}"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TEXT "Setup will install ${PRODUCT} ${VERSION} for you alone, in your user profile; it needs no administrator rights.$\r$\n$\r$\nA ${PRODUCT} that runs from the chosen folder is closed first.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM_EXE}"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT}"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${FILEVERSION}"
VIFileVersion "${FILEVERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${PUBLISHER}"

; Ends every running process whose image is $INSTDIR\Vantisk.exe, and only
; those: a copy of Vantisk elsewhere (a portable one) keeps running. Closing the
; program's windows is not enough, as closing only hides them.
!macro DEFINE_STOP_RUNNING PREFIX
Function ${PREFIX}StopRunning
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  Push $6
  Push $7
  Push $8
  Push $9

  StrCpy $9 "$INSTDIR\${PROGRAM_EXE}"
  ${If} ${FileExists} "$9"
    ; Compare long forms, so that a short path in $INSTDIR still matches.
    System::Call 'kernel32::GetLongPathNameW(w r9, w .r7, i ${NSIS_MAX_STRLEN}) i .r0'
    ${If} $0 > 0
    ${AndIf} $0 < ${NSIS_MAX_STRLEN}
      StrCpy $9 $7
    ${EndIf}

    ; Process ids: 16384 of them fit.
    System::Alloc 65536
    Pop $1
    System::Call 'psapi::EnumProcesses(p r1, i 65536, *i .r2) i .r0'
    ${If} $0 = 0
      StrCpy $2 0
    ${EndIf}
    IntOp $2 $2 / 4
    StrCpy $3 0
    ${While} $3 < $2
      IntOp $4 $3 * 4
      IntPtrOp $4 $1 + $4
      System::Call '*$4(i .r5)'
      ; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE
      System::Call 'kernel32::OpenProcess(i 0x101001, i 0, i r5) p .r6'
      ${If} $6 P<> 0
        StrCpy $8 ${NSIS_MAX_STRLEN}
        System::Call 'kernel32::QueryFullProcessImageNameW(p r6, i 0, w .r7, *i r8) i .r0'
        ${If} $0 <> 0
          System::Call 'kernel32::GetLongPathNameW(w r7, w .r8, i ${NSIS_MAX_STRLEN}) i .r0'
          ${If} $0 > 0
          ${AndIf} $0 < ${NSIS_MAX_STRLEN}
            StrCpy $7 $8
          ${EndIf}
          ${If} $7 == $9
            DetailPrint "Ending the running ${PRODUCT} (process $5)"
            System::Call 'kernel32::TerminateProcess(p r6, i 0) i .r0'
            ${If} $0 <> 0
              System::Call 'kernel32::WaitForSingleObject(p r6, i 10000) i .r0'
            ${EndIf}
          ${EndIf}
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p r6)'
      ${EndIf}
      IntOp $3 $3 + 1
    ${EndWhile}
    System::Free $1
  ${EndIf}

  Pop $9
  Pop $8
  Pop $7
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_STOP_RUNNING ""
!insertmacro DEFINE_STOP_RUNNING "un."

Section "${PRODUCT}" SecProgram
  SectionIn RO
  SetShellVarContext current
  ; A running Vantisk of this folder holds its exe open: end it, or the copy
  ; below fails. "Start Vantisk" on the finish page starts the new one.
  Call StopRunning

  SetOutPath "$INSTDIR"
  ClearErrors
  File "/oname=${PROGRAM_EXE}" "${EXE}"
  File "/oname=README.txt" "${README}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  ${If} ${Errors}
    ; Silent setups would otherwise skip the file and still end with success.
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} could not be written to $INSTDIR. If ${PRODUCT} is running, exit it and run Setup again." /SD IDOK
    Abort "${PRODUCT} could not be written to $INSTDIR."
  ${EndIf}

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${PROGRAM_EXE}" "" "$INSTDIR\${PROGRAM_EXE}" 0
  ${If} ${Errors}
    DetailPrint "The Start-menu shortcut could not be created."
  ${EndIf}

  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  ClearErrors
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM_EXE},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "The uninstall entry of ${PRODUCT} could not be written." /SD IDOK
    Abort "The uninstall entry of ${PRODUCT} could not be written."
  ${EndIf}
SectionEnd

; In: a Run command such as "C:\dir\Vantisk.exe" (with or without quotes, with
; or without arguments). Out: the program path.
Function un.CommandProgram
  Exch $0
  Push $1
  Push $2
  StrCpy $1 $0 1
  ${If} $1 == '"'
    StrCpy $0 $0 "" 1
    StrCpy $2 0
    ${Do}
      StrCpy $1 $0 1 $2
      ${IfThen} $1 == '"' ${|} ${ExitDo} ${|}
      ${IfThen} $1 == "" ${|} ${ExitDo} ${|}
      IntOp $2 $2 + 1
    ${Loop}
    StrCpy $0 $0 $2
  ${EndIf}
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Removes the Run value unless it starts another Vantisk that still exists (a
; portable copy): this installation's exe is already gone at this point.
!macro REMOVE_AUTOSTART ROOT KEY
  ClearErrors
  ReadRegStr $0 ${ROOT} "${KEY}" "${AUTOSTART_VALUE}"
  ${IfNot} ${Errors}
    Push $0
    Call un.CommandProgram
    Pop $1
    ${If} $1 != ""
    ${AndIf} ${FileExists} "$1"
      DetailPrint "Kept ${ROOT}\${KEY}\${AUTOSTART_VALUE}: it starts $1"
    ${Else}
      DeleteRegValue ${ROOT} "${KEY}" "${AUTOSTART_VALUE}"
      ${If} ${Errors}
        DetailPrint "Could not remove ${ROOT}\${KEY}\${AUTOSTART_VALUE} (administrator rights needed)"
      ${EndIf}
    ${EndIf}
  ${EndIf}
!macroend

Section "Uninstall"
  SetShellVarContext current
  Call un.StopRunning

  ; The program first: while it cannot be removed, everything else stays, so
  ; that the uninstall entry is there for another try.
  StrCpy $2 0
  ${Do}
    ClearErrors
    Delete "$INSTDIR\${PROGRAM_EXE}"
    ${IfNotThen} ${Errors} ${|} ${ExitDo} ${|}
    IntOp $2 $2 + 1
    ${If} $2 >= 20
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$INSTDIR\${PROGRAM_EXE} cannot be removed. Close ${PRODUCT} and choose Retry." /SD IDCANCEL IDRETRY retry
      Abort "$INSTDIR\${PROGRAM_EXE} could not be removed."
      retry:
      StrCpy $2 0
    ${EndIf}
    Sleep 250
  ${Loop}
  Delete "$INSTDIR\README.txt"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"

  !insertmacro REMOVE_AUTOSTART HKCU "${RUN_KEY}"
  ; The machine-wide values need administrator rights; without them they stay.
  !insertmacro REMOVE_AUTOSTART HKLM "${RUN_KEY}"
  !insertmacro REMOVE_AUTOSTART HKLM "${PARKING_KEY}"

  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON1 "Keep your ${PRODUCT} settings (hotkeys, checker list, window position) for a later installation?" /SD IDYES IDYES keepSettings
    DeleteRegKey HKCU "${SETTINGS_KEY}"
  keepSettings:

  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  Delete "$INSTDIR\Uninstall.exe"
  ; Only an empty folder goes: files of the user's stay where they are.
  RMDir "$INSTDIR"
SectionEnd
