; The Windows installer, made by `cmake --build <build> --target installer` with
;   makensis -DVERSION=<version> -DSTAGE=<installed folder> -DLISTS=<folder of the file lists>
;            -DICON=<the program's icon file>
;            -DOUTFILE=<installer> tessaluma.nsi
; It installs for the user who runs it, without administrator rights: the program folder under
; the user's local application data, a Start-menu shortcut that starts the program in the user's
; Documents folder (the program keeps its settings file, Tessaluma.ini, in the folder it starts
; in), and the entry in the list of installed programs. The uninstaller removes those and the
; files the installer wrote, one by one, and nothing else: a folder is removed only when empty.
; /S installs and uninstalls without a window.

; A 64-bit installer for the 64-bit program (a 32-bit one would also need Wine's 32-bit half).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define PRODUCT "Tessaluma"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1040 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1040 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "FileDescription" "Installazione di ${PRODUCT} ${VERSION}"
VIAddVersionKey /LANG=1040 "CompanyName" "Tessaluma developers"
VIAddVersionKey /LANG=1040 "LegalCopyright" "Copyright (c) 2026 Tessaluma developers, MIT License"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\tessaluma.exe"
!define MUI_FINISHPAGE_RUN_FUNCTION StartFromShortcutFolder
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

Section
    !include "${LISTS}\install-files.nsh"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; The shortcut's working folder is the folder current when it is made.
    SetOutPath "$DOCUMENTS"
    CreateShortCut "${SHORTCUT}" "$INSTDIR\tessaluma.exe" "" "$INSTDIR\tessaluma.exe" 0
    SetOutPath "$INSTDIR"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tessaluma.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Tessaluma developers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; "Avvia" on the last page starts the program where the shortcut does.
Function StartFromShortcutFolder
    SetOutPath "$DOCUMENTS"
    Exec '"$INSTDIR\tessaluma.exe"'
    SetOutPath "$INSTDIR"
FunctionEnd

Section "Uninstall"
    Delete "${SHORTCUT}"
    !include "${LISTS}\uninstall-files.nsh"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
