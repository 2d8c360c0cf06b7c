; The Tollivar installer and uninstaller (64-bit Windows).
; Built by the normal build: makensis -DPROGRAM_EXE=... -DUPDATER_EXE=... -DHELP_FILE=... -DDATA_DIR=...
;                                     -DVERSION=x.y.z -DOUT_FILE=... tollivar.nsi
;
;   tollivar-setup.exe [/S] [/D=folder]          /D last and unquoted, as Windows installers take it
;   uninstall.exe [/S] [/DELETEQUARANTINE]       a silent uninstall keeps quarantine\ unless told otherwise
;
; Exit codes of a silent run: 2 Tollivar is running, 3 not 64-bit Windows, 4 the folder holds another program's files.

; A 64-bit installer for the 64-bit program (it also runs where no 32-bit Windows layer is present).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "x64.nsh"

!define PRODUCT "Tollivar"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tollivar"
; The Application log's source: Event Viewer reads the event texts from the program's message table.
!define EVENT_SOURCE_KEY "SYSTEM\CurrentControlSet\Services\EventLog\Application\Tollivar"
!define PRODUCT_KEY "Software\Tollivar"
; The start-with-Windows value the program writes: its name, and the key used when settings.ini names none.
!define RUN_VALUE "Tollivar"
!define DEFAULT_RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; What this installer put into the install folder; the uninstaller removes what it lists and nothing else.
!define INSTALL_RECORD "install-record.ini"

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${PRODUCT_KEY}" "InstallFolder"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PRODUCT}"
VIAddVersionKey "LegalCopyright" "Copyright (C) ${PRODUCT}"

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\tollguard.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Tollivar now"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\Tollivar Help.chm"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the help"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE LeaveFolderPage
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Var RunKey
Var ForeignFile
Var Recorded

; A running Tollivar holds its program file: ask the user to shut it down (a silent run gives up).
!macro WaitUntilTollivarEnds UN
Function ${UN}WaitUntilTollivarEnds
  retry:
    FindWindow $0 "#32770" "${PRODUCT}"
    ${If} $0 <> 0
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Tollivar is running. Choose $\"Shutdown Security$\" in its tray menu, then press Retry." /SD IDCANCEL IDRETRY retry
        SetErrorLevel 2
        Quit
    ${EndIf}
FunctionEnd
!macroend
!insertmacro WaitUntilTollivarEnds ""
!insertmacro WaitUntilTollivarEnds "un."

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_ICONSTOP "This version of Tollivar needs 64-bit Windows." /SD IDOK
        SetErrorLevel 3
        Quit
    ${EndIf}
    SetRegView 64
    ; Another installed copy's folder comes back here from InstallDirRegKey, read in the 64-bit view.
    ReadRegStr $0 HKLM "${PRODUCT_KEY}" "InstallFolder"
    ${If} $0 != ""
    ${AndIf} $INSTDIR == "$PROGRAMFILES64\${PRODUCT}"
        StrCpy $INSTDIR $0
    ${EndIf}
FunctionEnd

; A file in the folder stops the search: it is not ours (the caller has ruled out an earlier Tollivar).
Function NoteForeignFile
    StrCpy $ForeignFile $R9
    Push "StopLocate"
FunctionEnd

; Sets $ForeignFile to a file in $INSTDIR that another program put there, or to "" when the folder is
; missing, holds only empty folders, or is an earlier Tollivar install: recognised by its install
; record, or (installed before there was one) by its program, its definitions and the uninstall entry
; that names this folder.
Function FindForeignFile
    StrCpy $ForeignFile ""
    ReadINIStr $0 "$INSTDIR\${INSTALL_RECORD}" "Tollivar" "Version"
    ${If} $0 != ""
        Return
    ${EndIf}
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == $INSTDIR
    ${AndIf} ${FileExists} "$INSTDIR\tollguard.exe"
    ${AndIf} ${FileExists} "$INSTDIR\def.uas"
        Return
    ${EndIf}
    ${If} ${FileExists} "$INSTDIR\*.*"
        ${Locate} "$INSTDIR" "/L=F /M=*.* /G=1" "NoteForeignFile"
        ClearErrors
    ${EndIf}
FunctionEnd

!define FOREIGN_FOLDER_TEXT "The folder $INSTDIR already holds files of another program, for example:$\r$\n$ForeignFile$\r$\n$\r$\nTollivar installs only into an empty folder or over an earlier Tollivar, so that its uninstaller never removes another program's files. Choose another folder."

Function LeaveFolderPage
    Call FindForeignFile
    ${If} $ForeignFile != ""
        MessageBox MB_ICONSTOP "${FOREIGN_FOLDER_TEXT}"
        Abort
    ${EndIf}
FunctionEnd

; Notes in the install record that a file or folder of the folder is ours.
!macro Record NAME
    WriteINIStr "$INSTDIR\${INSTALL_RECORD}" "Files" "${NAME}" "1"
!macroend

Section "Tollivar" SecMain
    SectionIn RO
    Call WaitUntilTollivarEnds
    ; A silent install gets no folder page: the same check, with an exit code.
    Call FindForeignFile
    ${If} $ForeignFile != ""
        MessageBox MB_ICONSTOP "${FOREIGN_FOLDER_TEXT}" /SD IDOK
        SetErrorLevel 4
        Quit
    ${EndIf}
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    ; def.uas may be marked read-only, hidden and system by an earlier copy.
    SetFileAttributes "$INSTDIR\def.uas" NORMAL
    File "/oname=tollguard.exe" "${PROGRAM_EXE}"
    File "/oname=KVRUpdate.exe" "${UPDATER_EXE}"
    File "/oname=Tollivar Help.chm" "${HELP_FILE}"
    ; Installing again never takes back newer definitions or the user's settings.
    ${IfNot} ${FileExists} "$INSTDIR\def.uas"
        File "/oname=def.uas" "${DATA_DIR}\def.uas"
    ${EndIf}
    SetOverwrite off
    File "/oname=settings.ini" "${DATA_DIR}\settings.ini"
    SetOverwrite on
    SetOutPath "$INSTDIR\bin"
    File "/oname=unscript.bat" "${DATA_DIR}\bin\unscript.bat"
    File "/oname=unstart.reg" "${DATA_DIR}\bin\unstart.reg"
    CreateDirectory "$INSTDIR\quarantine"
    SetOutPath "$INSTDIR"
    ; Every file is Tollivar's now: those written above, and def.uas and settings.ini kept from an earlier copy.
    WriteINIStr "$INSTDIR\${INSTALL_RECORD}" "Tollivar" "Version" "${VERSION}"
    !insertmacro Record "tollguard.exe"
    !insertmacro Record "KVRUpdate.exe"
    !insertmacro Record "Tollivar Help.chm"
    !insertmacro Record "def.uas"
    !insertmacro Record "settings.ini"
    !insertmacro Record "bin\unscript.bat"
    !insertmacro Record "bin\unstart.reg"
    !insertmacro Record "uninstall.exe"

    CreateDirectory "$SMPROGRAMS\${PRODUCT}"
    CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\tollguard.exe" "" "$INSTDIR\tollguard.exe" 0 \
        SW_SHOWNORMAL "" "USB Resident Shield"
    CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT} Help.lnk" "$INSTDIR\Tollivar Help.chm"
    CreateShortCut "$SMPROGRAMS\${PRODUCT}\Update Tollivar Definitions.lnk" "$INSTDIR\KVRUpdate.exe"

    WriteUninstaller "$INSTDIR\uninstall.exe"
    WriteRegStr HKLM "${PRODUCT_KEY}" "InstallFolder" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$\"$INSTDIR\tollguard.exe$\",0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\uninstall.exe$\""
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\uninstall.exe$\" /S"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegExpandStr HKLM "${EVENT_SOURCE_KEY}" "EventMessageFile" "$INSTDIR\tollguard.exe"
    WriteRegDWORD HKLM "${EVENT_SOURCE_KEY}" "TypesSupported" 7
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Function un.onInit
    SetRegView 64
FunctionEnd

!macro RemoveIfRecorded NAME
    ReadINIStr $0 "$INSTDIR\${INSTALL_RECORD}" "Files" "${NAME}"
    ${If} $0 == "1"
        Delete "$INSTDIR\${NAME}"
    ${EndIf}
!macroend

Section "Uninstall"
    Call un.WaitUntilTollivarEnds
    SetShellVarContext all

    ; The start-with-Windows value lives in the key settings.ini names (read before the file goes).
    ReadINIStr $RunKey "$INSTDIR\settings.ini" "SCAN" "ST"
    ${If} $RunKey != ""
        DeleteRegValue HKCU "$RunKey" "${RUN_VALUE}"
    ${EndIf}
    DeleteRegValue HKCU "${DEFAULT_RUN_KEY}" "${RUN_VALUE}"

    ; Only what the install record lists goes, and what the program itself writes beside it; without
    ; the record the folder cannot be told apart from another program's, so its files stay.
    ReadINIStr $Recorded "$INSTDIR\${INSTALL_RECORD}" "Tollivar" "Version"
    ${If} $Recorded == ""
        MessageBox MB_ICONEXCLAMATION "The record of what Tollivar installed is missing from $INSTDIR, so its files are left there. Delete them yourself if no other program uses that folder." /SD IDOK
    ${Else}
        SetFileAttributes "$INSTDIR\def.uas" NORMAL
        SetFileAttributes "$INSTDIR\def.uas.bak" NORMAL
        !insertmacro RemoveIfRecorded "tollguard.exe"
        !insertmacro RemoveIfRecorded "KVRUpdate.exe"
        !insertmacro RemoveIfRecorded "Tollivar Help.chm"
        !insertmacro RemoveIfRecorded "def.uas"
        !insertmacro RemoveIfRecorded "settings.ini"
        !insertmacro RemoveIfRecorded "bin\unscript.bat"
        !insertmacro RemoveIfRecorded "bin\unstart.reg"
        ; Written by the program and its update program, never by anyone else in this folder.
        Delete "$INSTDIR\def.uas.bak"
        Delete "$INSTDIR\def.uas.new"
        Delete "$INSTDIR\count.uas"
        RMDir "$INSTDIR\bin"
    ${EndIf}

    ; quarantine\ holds files taken from the user's computer: ask first, and keep it when not told.
    ${If} $Recorded != ""
        ${GetParameters} $0
        ClearErrors
        ${GetOptions} $0 "/DELETEQUARANTINE" $1
        ${IfNot} ${Errors}
            RMDir /r "$INSTDIR\quarantine"
        ${Else}
            RMDir "$INSTDIR\quarantine" ; only when empty
            ${If} ${FileExists} "$INSTDIR\quarantine\*.*"
                MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
                    "The quarantine folder still holds files that Tollivar took away from threats:$\r$\n$INSTDIR\quarantine$\r$\n$\r$\nDelete them too? Answer No to keep them." \
                    /SD IDNO IDNO keep
                RMDir /r "$INSTDIR\quarantine"
              keep:
            ${EndIf}
        ${EndIf}
    ${EndIf}

    Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT} Help.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\Update Tollivar Definitions.lnk"
    RMDir "$SMPROGRAMS\${PRODUCT}"

    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKLM "${EVENT_SOURCE_KEY}"
    DeleteRegKey HKLM "${PRODUCT_KEY}"
    ${If} $Recorded != ""
        !insertmacro RemoveIfRecorded "uninstall.exe"
        Delete "$INSTDIR\${INSTALL_RECORD}"
    ${EndIf}
    RMDir "$INSTDIR" ; stays while quarantine\ or files of the user's own are in it
SectionEnd
