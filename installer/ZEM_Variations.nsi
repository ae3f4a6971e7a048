; The setup of the plug-in, per machine. The module of the machine's own architecture (ARM64 on
; Windows on Arm, x64 elsewhere) and the action set go into the shared plug-in folder that every
; Creative Cloud Photoshop of that architecture reads, $COMMONFILES64\Adobe\Plug-Ins\CC (the
; directory page, or /D=, changes it). Each Photoshop found in the registry that does not read it
; gets its own copy: one older than Creative Cloud in its own Plug-ins folder, a 32-bit Creative
; Cloud one in the 32-bit shared folder, each with the module of its own architecture. The
; uninstaller removes exactly the files placed and the folders made, nothing a user added.
;
;   makensis -DVERSION=1.1.0 -DSTAGE=DIR -DOUTFILE=FILE installer/ZEM_Variations.nsi
; STAGE holds x64/, x86/ and arm64/, each with ZEM_Variations.8li, and x64/ZEM_Variations.atn.
; A licence page is shown when STAGE holds LICENSE.txt.
;
; Command line: /S silent; /D=FOLDER the shared folder instead (last on the line, unquoted);
; /TEST-PRETEND-ARM64, for tests only: decides as on an ARM64 machine, which cannot be had where
; the tests run.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh

!define PRODUCT ZEM_Variations
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define PHOTOSHOP_KEY "SOFTWARE\Adobe\Photoshop"
; The first Photoshop with a version key of its own that we serve (CS6) and the first that reads
; the shared Creative Cloud folder (CC).
!define FIRST_VERSION 60
!define FIRST_CC_VERSION 70

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$COMMONFILES64\Adobe\Plug-Ins\CC\${PRODUCT}"
BrandingText "${PRODUCT} ${VERSION}"
; Each file is stored with its time, which the installed copy keeps: the staged files carry the
; commit's, so that the setup is the same byte for byte from the same commit.
SetDateSave on

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PRODUCT}"

Var Arch        ; x64 or arm64: the module for the shared folder
Var Placed      ; what went where, for the finish page
Var FileCount   ; files placed, recorded under the uninstall key as File0, File1 ...
Var FolderCount ; folders made, shallowest first, as Folder0, Folder1 ...
Var Bytes       ; the size of everything placed
Var Placed32CC  ; whether the 32-bit shared folder has its module already

!define MUI_ABORTWARNING
!if /FileExists "${STAGE}/LICENSE.txt"
  !insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!endif
!define MUI_DIRECTORYPAGE_TEXT_TOP "The plug-in for this computer and its action set go into the folder below, which every Creative Cloud Photoshop reads; keep it unless you know better. Photoshop CS6 and 32-bit Photoshops found on this computer also get a copy of their own. The last page lists every place."
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "${PRODUCT} is installed"
!define MUI_FINISHPAGE_TEXT "Restart Photoshop, then find it under File > Automate > ${PRODUCT}.$\r$\n$\r$\n$Placed"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetShellVarContext all
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/TEST-PRETEND-ARM64" $R1
  ${IfNot} ${Errors}
    StrCpy $Arch arm64
  ${ElseIf} ${IsNativeARM64}
    StrCpy $Arch arm64
  ${Else}
    StrCpy $Arch x64
  ${EndIf}
FunctionEnd

; Records, under the uninstall key, each folder of $R0 and its parents that does not exist yet,
; shallowest first, then makes them.
Function MakeFolder
  Push $R0
  StrCpy $R9 0
  ${DoWhile} $R0 != ""
    ${If} ${FileExists} "$R0\*.*"
      ${Break}
    ${EndIf}
    Push $R0
    IntOp $R9 $R9 + 1
    ${GetParent} $R0 $R0
  ${Loop}
  ${DoWhile} $R9 > 0
    Pop $R0
    WriteRegStr HKLM64 "${UNINSTALL_KEY}" "Folder$FolderCount" $R0
    IntOp $FolderCount $FolderCount + 1
    IntOp $R9 $R9 - 1
  ${Loop}
  Pop $R0
  CreateDirectory $R0
FunctionEnd

; Records a placed file $R0 and adds its size.
Function RecordFile
  WriteRegStr HKLM64 "${UNINSTALL_KEY}" "File$FileCount" $R0
  IntOp $FileCount $FileCount + 1
  FileOpen $R8 $R0 r
  FileSeek $R8 0 END $R7
  FileClose $R8
  IntOp $Bytes $Bytes + $R7
FunctionEnd

; Places the module of architecture $R1 (x64, x86 or arm64) and the action set in folder $R0, for
; $R2 (which Photoshop).
Function PlaceModule
  Call MakeFolder
  SetOutPath $R0
  ${If} $R1 == x86
    File "${STAGE}/x86/ZEM_Variations.8li"
  ${ElseIf} $R1 == arm64
    File "${STAGE}/arm64/ZEM_Variations.8li"
  ${Else}
    File "${STAGE}/x64/ZEM_Variations.8li"
  ${EndIf}
  File "${STAGE}/x64/ZEM_Variations.atn"
  Push $R0
  StrCpy $R0 "$R0\ZEM_Variations.8li"
  Call RecordFile
  Pop $R0
  Push $R0
  StrCpy $R0 "$R0\ZEM_Variations.atn"
  Call RecordFile
  Pop $R0
  DetailPrint "$R1 module and action set for $R2: $R0"
  StrCpy $Placed "$Placed$R2 ($R1):$\r$\n  $R0$\r$\n"
FunctionEnd

; A path without its trailing backslash, as some versions write them.
!macro TrimSlash VAR
  ${If} ${VAR} != ""
    StrCpy $R8 ${VAR} "" -1
    ${If} $R8 == "\"
      StrCpy ${VAR} ${VAR} -1
    ${EndIf}
  ${EndIf}
!macroend

; Every Photoshop of one registry view ($R3: 64 or 32) that does not read the shared folder of the
; installer's architecture gets the module of its own: CS6 in its own Plug-ins folder, a 32-bit
; Creative Cloud one in the 32-bit shared folder.
!macro PlaceForPhotoshops ROOT
  StrCpy $R4 0
  ${Do}
    EnumRegKey $R5 ${ROOT} "${PHOTOSHOP_KEY}" $R4
    ${If} $R5 == ""
      ${Break}
    ${EndIf}
    IntOp $R4 $R4 + 1
    IntOp $R6 $R5 + 0 ; the major version: "60.0" is 60
    ${If} $R6 < ${FIRST_VERSION}
      ${Continue}
    ${EndIf}
    ReadRegStr $R0 ${ROOT} "${PHOTOSHOP_KEY}\$R5" "ApplicationPath"
    !insertmacro TrimSlash $R0
    ; A key left by a Photoshop that is gone gets nothing.
    ${IfNot} ${FileExists} "$R0\*.*"
      ${Continue}
    ${EndIf}
    ${If} $R3 == 64
      StrCpy $R1 x64
    ${Else}
      StrCpy $R1 x86
    ${EndIf}
    StrCpy $R2 "Photoshop $R5, $R3-bit"
    ${If} $R6 >= ${FIRST_CC_VERSION}
      ${If} $R3 == 32
      ${AndIf} $Placed32CC != 1
        StrCpy $Placed32CC 1
        StrCpy $R0 "$COMMONFILES32\Adobe\Plug-Ins\CC\${PRODUCT}"
        StrCpy $R2 "32-bit Creative Cloud Photoshop"
        Call PlaceModule
      ${EndIf}
      ${Continue}
    ${EndIf}
    ; Its plug-in folder: PluginPath as a value or as a subkey's default, else Plug-ins beside it.
    ReadRegStr $R7 ${ROOT} "${PHOTOSHOP_KEY}\$R5" "PluginPath"
    ${If} $R7 == ""
      ReadRegStr $R7 ${ROOT} "${PHOTOSHOP_KEY}\$R5\PluginPath" ""
    ${EndIf}
    !insertmacro TrimSlash $R7
    ${If} $R7 == ""
      StrCpy $R7 "$R0\Plug-ins"
    ${EndIf}
    StrCpy $R0 "$R7\${PRODUCT}"
    Call PlaceModule
  ${Loop}
!macroend

; An earlier installation is removed first, by its own uninstaller, so that its folders are
; recorded again as this one's.
Function RemoveEarlier
  ReadRegStr $R0 HKLM64 "${UNINSTALL_KEY}" "UninstallString"
  ${If} $R0 == ""
    Return
  ${EndIf}
  ReadRegStr $R1 HKLM64 "${UNINSTALL_KEY}" "UninstallerFolder"
  DetailPrint "Removing the installed version first"
  ExecWait '$R0 /S _?=$R1'
  Delete "$R1\uninstall.exe"
  RMDir $R1
FunctionEnd

Section "Install"
  SetShellVarContext all
  Call RemoveEarlier
  StrCpy $FileCount 0
  StrCpy $FolderCount 0
  StrCpy $Bytes 0
  StrCpy $Placed ""

  StrCpy $R0 $INSTDIR
  StrCpy $R1 $Arch
  StrCpy $R2 "Creative Cloud Photoshop"
  Call PlaceModule
  StrCpy $R3 64
  !insertmacro PlaceForPhotoshops HKLM64
  StrCpy $R3 32
  !insertmacro PlaceForPhotoshops HKLM32

  ; The uninstaller lives apart from the plug-ins, where Photoshop does not look.
  StrCpy $R0 "$PROGRAMFILES64\${PRODUCT}"
  CreateDirectory $R0
  WriteUninstaller "$R0\uninstall.exe"
  FileOpen $R8 "$R0\uninstall.exe" r
  FileSeek $R8 0 END $R7
  FileClose $R8
  IntOp $Bytes $Bytes + $R7
  IntOp $R7 $Bytes + 1023
  IntOp $R7 $R7 / 1024

  WriteRegStr HKLM64 "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION} (Photoshop plug-in)"
  WriteRegStr HKLM64 "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM64 "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegDWORD HKLM64 "${UNINSTALL_KEY}" "EstimatedSize" $R7
  WriteRegStr HKLM64 "${UNINSTALL_KEY}" "InstallLocation" $INSTDIR
  WriteRegStr HKLM64 "${UNINSTALL_KEY}" "UninstallerFolder" $R0
  WriteRegStr HKLM64 "${UNINSTALL_KEY}" "UninstallString" '"$R0\uninstall.exe"'
  WriteRegStr HKLM64 "${UNINSTALL_KEY}" "QuietUninstallString" '"$R0\uninstall.exe" /S'
  WriteRegDWORD HKLM64 "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM64 "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM64 "${UNINSTALL_KEY}" "FileCount" $FileCount
  WriteRegDWORD HKLM64 "${UNINSTALL_KEY}" "FolderCount" $FolderCount
SectionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

; Removes the files placed, then the folders made, deepest first; a folder that holds anything else
; stays.
Section "Uninstall"
  ReadRegDWORD $R0 HKLM64 "${UNINSTALL_KEY}" "FileCount"
  StrCpy $R1 0
  ${DoWhile} $R1 < $R0
    ReadRegStr $R2 HKLM64 "${UNINSTALL_KEY}" "File$R1"
    ${If} $R2 != ""
      Delete $R2
    ${EndIf}
    IntOp $R1 $R1 + 1
  ${Loop}
  ReadRegDWORD $R1 HKLM64 "${UNINSTALL_KEY}" "FolderCount"
  ${DoWhile} $R1 > 0
    IntOp $R1 $R1 - 1
    ReadRegStr $R2 HKLM64 "${UNINSTALL_KEY}" "Folder$R1"
    ${If} $R2 != ""
      RMDir $R2
    ${EndIf}
  ${Loop}
  Delete "$INSTDIR\uninstall.exe"
  RMDir $INSTDIR
  DeleteRegKey HKLM64 "${UNINSTALL_KEY}"
SectionEnd
