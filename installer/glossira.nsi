; The setup of Глоссира and its uninstaller unins000.exe.
;   tools/make-setup FOLDER SETUP.exe (defines VERSION, FILE_VERSION, FILES, OUTFILE, ICON
;   and, when the release is signed, SIGN: the command that signs a file in place)
; tavrex.dll and glossira.chm are installed when they are in FILES.
; The script is UTF-8 with a byte-order mark, as makensis reads Unicode scripts.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!ifndef VERSION | FILE_VERSION | FILES | OUTFILE
  !error "VERSION, FILE_VERSION, FILES and OUTFILE must be defined"
!endif
!ifndef ICON
  !define ICON "${__FILEDIR__}\..\res\icons\glossira.ico"
!endif

!define PROGRAM "Глоссира"
!define PUBLISHER "Orvik"
!define UNINSTALLER "unins000.exe"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Glossira"
!define START_LINK "Глоссира — установки.lnk"
!define SENDTO_LINK "Глоссира.lnk"
!define SETTINGS_KEY "Software\Orvik\Glossira"
!define CLASS_ID "{AECEEFEA-3DF8-11D1-9577-0000837A2FDA}"
!define FILE_CLASS "GlossiraFile"

Name "${PROGRAM}"
Caption "Установка программы «${PROGRAM}» ${VERSION}"
UninstallCaption "Удаление программы «${PROGRAM}»"
BrandingText "${PROGRAM} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Glossira"
; An upgrade goes to the folder of the installation it replaces.
InstallDirRegKey HKLM "${UNINST_KEY}" "InstallLocation"

VIProductVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=1049 "ProductName" "${PROGRAM}"
VIAddVersionKey /LANG=1049 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "FileDescription" "Установка программы «${PROGRAM}»"
VIAddVersionKey /LANG=1049 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1049 "LegalCopyright" "${PUBLISHER}"

!include MUI2.nsh
!include FileFunc.nsh
!include StrFunc.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TITLE "Установка программы «${PROGRAM}»"
!define MUI_WELCOMEPAGE_TEXT "«${PROGRAM}» ${VERSION} хранит комментарий к любому файлу рядом с ним, в текстовом файле того же имени: комментарий к setup.zip лежит в setup.txt.$\r$\n$\r$\nПосле установки откройте окно установок и включите пункт «Отправить» или контекстное меню Проводника.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_HEADER_SUBTEXT "Выберите папку, в которую будет установлена программа."
!define MUI_DIRECTORYPAGE_TEXT_TOP "Программа «${PROGRAM}» будет установлена в указанную папку. Чтобы выбрать другую, нажмите кнопку «Обзор». Нажмите кнопку «Установить», чтобы начать установку."
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "Программа «${PROGRAM}» установлена"
!define MUI_FINISHPAGE_TEXT "Окно установок открывается и позже, из меню «Пуск»: «Глоссира — установки».$\r$\n$\r$\nНажмите кнопку «Готово» для выхода из программы установки."
!define MUI_FINISHPAGE_RUN "$INSTDIR\glossira.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Открыть окно установок"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Russian"

; ---- Windows 11's own context menu: the signed package beside the program ----
; tools/release puts glossira-menu.msix and menu-package.ps1 into FILES only
; when it signs (an unsigned package cannot be installed). On Windows 11
; (build 22000 and later) the setup registers the package for the installing
; user, confirmed by the package manager's own answer, and Active Setup does
; the same for every other user at the next logon; the uninstaller removes it
; for every user. A failed registration costs nothing: the classic menu stays.
!if /FileExists "${FILES}\glossira-menu.msix"
!if /FileExists "${FILES}\menu-package.ps1"
  !define MENU_PACKAGE
  !define ACTIVE_SETUP_KEY "Software\Microsoft\Active Setup\Installed Components\Glossira.Menu"
  !define POWERSHELL '"$SYSDIR\WindowsPowerShell\v1.0\powershell.exe" -NoProfile -NonInteractive -ExecutionPolicy Bypass'
  ${StrStr}
!endif
!endif
!ifdef SIGN
  ; The uninstaller and the setup signed as they are written.
  !uninstfinalize '"${SIGN}" "%1"' = 0
  !finalize '"${SIGN}" "%1"' = 0
!endif
!ifdef MENU_PACKAGE
!searchreplace ACTIVE_SETUP_VERSION "${FILE_VERSION}" "." ","
Function RegisterMenuPackage
  ReadRegStr $0 HKLM "SOFTWARE\Microsoft\Windows NT\CurrentVersion" "CurrentBuildNumber"
  IntCmp $0 22000 0 done 0
  WriteRegStr HKLM "${ACTIVE_SETUP_KEY}" "" "${PROGRAM}: пункт меню Windows 11"
  WriteRegStr HKLM "${ACTIVE_SETUP_KEY}" "StubPath" '${POWERSHELL} -WindowStyle Hidden -File "$INSTDIR\menu-package.ps1" register'
  WriteRegStr HKLM "${ACTIVE_SETUP_KEY}" "Version" "${ACTIVE_SETUP_VERSION}"
  WriteRegDWORD HKLM "${ACTIVE_SETUP_KEY}" "IsInstalled" 1
  nsExec::ExecToStack '${POWERSHELL} -File "$INSTDIR\menu-package.ps1" register'
  Pop $1  ; the exit code: a stand-in answers 0 to anything
  Pop $2  ; the output, which names the package the package manager holds
  ${StrStr} $3 $2 "registered: Glossira_"
  StrCmp $3 "" 0 registered
    DetailPrint "Пункт меню Windows 11 не зарегистрирован; действует классическое меню"
    Goto done
  registered:
    DetailPrint "Пункт меню Windows 11 зарегистрирован"
    ; This user has it now: Active Setup need not do it again at the next logon.
    WriteRegStr HKCU "${ACTIVE_SETUP_KEY}" "Version" "${ACTIVE_SETUP_VERSION}"
  done:
FunctionEnd
Function un.RemoveMenuPackage
  ReadRegStr $0 HKLM "SOFTWARE\Microsoft\Windows NT\CurrentVersion" "CurrentBuildNumber"
  IntCmp $0 22000 0 keys 0
  IfFileExists "$INSTDIR\menu-package.ps1" 0 keys
  nsExec::ExecToStack '${POWERSHELL} -File "$INSTDIR\menu-package.ps1" remove-all'
  Pop $1
  Pop $2
  keys:
  DeleteRegKey HKLM "${ACTIVE_SETUP_KEY}"
  DeleteRegKey HKCU "${ACTIVE_SETUP_KEY}"
FunctionEnd
!endif
; ---- end of Windows 11's own context menu ----

; The files the setup installs and the uninstaller removes: the same list.
!macro ProgramFiles action
  !insertmacro ${action} "glossira.exe"
  !if /FileExists "${FILES}\tavrex.dll"
    !insertmacro ${action} "tavrex.dll"
  !endif
  !if /FileExists "${FILES}\glossira.chm"
    !insertmacro ${action} "glossira.chm"
  !endif
  !ifdef MENU_PACKAGE
    !insertmacro ${action} "glossira-menu.msix"
    !insertmacro ${action} "menu-package.ps1"
  !endif
!macroend
!macro InstallFile name
  ; A running program or a handler library that Explorer has loaded cannot
  ; be overwritten, but it can be renamed: the old copy goes at once or at
  ; the next restart.
  IfFileExists "$INSTDIR\${name}" 0 +4
    Delete "$INSTDIR\${name}.old"
    Rename "$INSTDIR\${name}" "$INSTDIR\${name}.old"
    Delete /REBOOTOK "$INSTDIR\${name}.old"
  File "${FILES}\${name}"
!macroend
!macro RemoveFile name
  Delete /REBOOTOK "$INSTDIR\${name}"
  Delete /REBOOTOK "$INSTDIR\${name}.old"
!macroend

Section "Глоссира" Main
  SectionIn RO
  SetOutPath "$INSTDIR"
  !insertmacro ProgramFiles InstallFile
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  !ifdef MENU_PACKAGE
    Call RegisterMenuPackage
  !endif

  SetShellVarContext all
  CreateShortCut "$SMPROGRAMS\${START_LINK}" "$INSTDIR\glossira.exe" "" "$INSTDIR\glossira.exe" 0

  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "${PROGRAM}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\glossira.exe,0"
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

; Started from Add/Remove Programs, from the Start menu or by RunOnce after
; full removal (bare path, no arguments): one question unless silent.
Function un.onInit
  MessageBox MB_YESNO|MB_ICONQUESTION "Удалить программу «${PROGRAM}» из системы?$\r$\n$\r$\nФайлы комментариев останутся на своих местах." /SD IDYES IDYES +2
  Abort
FunctionEnd

; Deletes the default value of every extension key that still names the
; program's file type, and the key when nothing else is left in it.
Function un.RemoveExtensionKeys
  StrCpy $0 0
  count:
    EnumRegKey $1 HKCR "" $0
    StrCmp $1 "" walk
    IntOp $0 $0 + 1
    Goto count
  walk:
    ; From the last key down, so a deleted key shifts no key still to visit.
    IntOp $0 $0 - 1
    IntCmp $0 0 0 done
    EnumRegKey $1 HKCR "" $0
    StrCpy $2 $1 1
    StrCmp $2 "." 0 walk
    ReadRegStr $2 HKCR $1 ""
    StrCmp $2 "${FILE_CLASS}" 0 walk
    DeleteRegValue HKCR $1 ""
    DeleteRegKey /ifempty /ifnovalues HKCR $1
    Goto walk
  done:
FunctionEnd

Section "Uninstall"
  SetAutoClose true
  ; What the program itself wrote: Send To, the context menu, the
  ; application path, the file type, its settings, a pending removal.
  SetShellVarContext current
  Delete "$SENDTO\${SENDTO_LINK}"
  DeleteRegKey HKCR "CLSID\${CLASS_ID}"
  DeleteRegKey HKCR "*\shellex\ContextMenuHandlers\Glossira"
  DeleteRegKey HKLM "SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\glossira.exe"
  Call un.RemoveExtensionKeys
  DeleteRegKey HKCR "${FILE_CLASS}"
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty /ifnovalues HKLM "Software\Orvik"
  DeleteRegValue HKLM "Software\Microsoft\Windows\CurrentVersion\RunOnce" "glossira"
  ; SHCNE_ASSOCCHANGED: Explorer forgets the menu entry and the file type.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  ; What the setup wrote.
  !ifdef MENU_PACKAGE
    Call un.RemoveMenuPackage
  !endif
  SetShellVarContext all
  Delete "$SMPROGRAMS\${START_LINK}"
  DeleteRegKey HKLM "${UNINST_KEY}"
  !insertmacro ProgramFiles RemoveFile
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only when empty: whatever else the folder holds is not ours.
  RMDir /REBOOTOK "$INSTDIR"
SectionEnd
