; The setup of Глоссира and its uninstaller unins000.exe.
;   tools/make-setup FOLDER SETUP.exe (defines VERSION, FILE_VERSION, FILES, OUTFILE, ICON)
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
!define DROP_CLASS_ID "{B53500FB-FCA5-4D56-B161-E17C5A5D564F}"
!define FILE_CLASS "GlossiraFile"
!define CLASSES "Software\Classes"
; Beside the class in an extension key the program took over: the class that
; was there before, and 1 when the program created the key itself.
!define PREVIOUS_CLASS "Glossira.PreviousClass"
!define KEY_CREATED "Glossira.Created"
!define PROFILE_LIST "SOFTWARE\Microsoft\Windows NT\CurrentVersion\ProfileList"
!define SENDTO_IN_PROFILE "AppData\Roaming\Microsoft\Windows\SendTo"
; What Windows installers answer when the work ends at the next restart.
!define ERROR_SUCCESS_REBOOT_REQUIRED 3010

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
!define MUI_FINISHPAGE_TEXT_REBOOT "Программа «${PROGRAM}» установлена, но её прежние файлы ещё заняты: новые займут их место после перезагрузки компьютера. Перезагрузить его сейчас?"
!define MUI_FINISHPAGE_REBOOTLATER_DEFAULT
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Russian"

; The files the setup installs and the uninstaller removes: the same list.
!macro ProgramFiles action
  !insertmacro ${action} "glossira.exe"
  !if /FileExists "${FILES}\tavrex.dll"
    !insertmacro ${action} "tavrex.dll"
  !endif
  !if /FileExists "${FILES}\glossira.chm"
    !insertmacro ${action} "glossira.chm"
  !endif
!macroend
!macro InstallFile name
  File "/oname=$INSTDIR\${name}.new" "${FILES}\${name}"
  Push "${name}"
  Call PutInPlace
!macroend
!macro RemoveFile name
  Delete /REBOOTOK "$INSTDIR\${name}"
  Delete /REBOOTOK "$INSTDIR\${name}.new"
  Delete /REBOOTOK "$INSTDIR\${name}.old"
  Delete /REBOOTOK "$INSTDIR\${name}.*.old"
!macroend

; Puts the new copy NAME.new (the name on the stack) in the place of NAME.
; A running program or a handler library that Explorer has loaded cannot be
; overwritten, but it can be renamed: it moves aside under a name of its own
; (an earlier copy may still be loaded too) and goes now or at the restart.
; A file that cannot even be renamed is replaced at the restart, and the
; setup says a restart is needed.
Function PutInPlace
  Exch $0
  Push $1
  IfFileExists "$INSTDIR\$0" 0 move
    ; Copies of earlier upgrades that nothing holds any more.
    Delete "$INSTDIR\$0.old"
    Delete "$INSTDIR\$0.*.old"
    StrCpy $1 1
    free:
      IfFileExists "$INSTDIR\$0.$1.old" 0 +3
      IntOp $1 $1 + 1
      Goto free
    ClearErrors
    Rename "$INSTDIR\$0" "$INSTDIR\$0.$1.old"
    IfErrors move
    Delete "$INSTDIR\$0.$1.old"
    IfFileExists "$INSTDIR\$0.$1.old" 0 move
      ; MOVEFILE_DELAY_UNTIL_REBOOT: nothing waits for it, so no restart is asked for.
      System::Call 'kernel32::MoveFileExW(w "$INSTDIR\$0.$1.old", p 0, i 4) i'
  move:
  ClearErrors
  Rename "$INSTDIR\$0.new" "$INSTDIR\$0"
  IfErrors 0 done
    DetailPrint "Файл $0 занят: он будет заменён после перезагрузки компьютера."
    Rename /REBOOTOK "$INSTDIR\$0.new" "$INSTDIR\$0"
  done:
  Pop $1
  Pop $0
FunctionEnd

; Whether the installation folder is to be given the protection of Program
; Files: "new" when it lies outside them and the setup creates it or finds
; it empty, "ours" when it holds an earlier installation, "" otherwise. A
; folder that holds other things keeps its rights (the program then
; registers itself for its user alone).
Function FolderToProtect
  Push $0
  Push $1
  StrLen $0 "$PROGRAMFILES64\"
  StrCpy $1 "$INSTDIR" $0
  StrCmp $1 "$PROGRAMFILES64\" no
  StrLen $0 "$PROGRAMFILES32\"
  StrCpy $1 "$INSTDIR" $0
  StrCmp $1 "$PROGRAMFILES32\" no
  IfFileExists "$INSTDIR\*.*" 0 new
  StrCpy $0 "ours"
  IfFileExists "$INSTDIR\${UNINSTALLER}" end
  FindFirst $0 $1 "$INSTDIR\*.*"
  entry:
    StrCmp $1 "" empty
    StrCmp $1 "." next
    StrCmp $1 ".." next
    FindClose $0
    Goto no
  next:
    FindNext $0 $1
    Goto entry
  empty:
  FindClose $0
  new:
    StrCpy $0 "new"
    Goto end
  no:
    StrCpy $0 ""
  end:
  Pop $1
  Exch $0
FunctionEnd

; Inherited rights removed; the Administrators and SYSTEM may do anything,
; the Users read and run; the Administrators own it. By well-known SIDs,
; which every language of Windows knows. The files of an earlier
; installation take their rights from the folder again. $R0: what
; FolderToProtect said.
Function ProtectFolder
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR" /setowner *S-1-5-32-544 /T /C /Q'
  Pop $0
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR" /inheritance:r /grant:r *S-1-5-32-544:(OI)(CI)F *S-1-5-18:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX /Q'
  Pop $1
  StrCpy $2 0
  StrCmp $R0 "ours" 0 +3
    nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR\*" /reset /T /C /Q'
    Pop $2
  StrCmp "$0 $1 $2" "0 0 0" +2
    DetailPrint "Не удалось закрыть папку программы от изменения пользователями (icacls: $0 $1 $2)."
FunctionEnd

Section "Глоссира" Main
  SectionIn RO
  Call FolderToProtect
  Pop $R0
  SetOutPath "$INSTDIR"
  StrCmp $R0 "" +2
    Call ProtectFolder
  !insertmacro ProgramFiles InstallFile
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

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

; A file replaced only at the restart: the finish page offers the restart,
; and a silent setup ends with the code installers give for it.
Function .onInstSuccess
  IfRebootFlag 0 +2
    SetErrorLevel ${ERROR_SUCCESS_REBOOT_REQUIRED}
FunctionEnd

; Started from Add/Remove Programs, from the Start menu or by RunOnce after
; full removal (bare path, no arguments): one question unless silent.
Function un.onInit
  MessageBox MB_YESNO|MB_ICONQUESTION "Удалить программу «${PROGRAM}» из системы?$\r$\n$\r$\nФайлы комментариев останутся на своих местах." /SD IDYES IDYES +2
  Abort
FunctionEnd

; Gives every extension key that still names the program's file type its
; previous class back (or none, when it had none); the key itself goes only
; when the program created it and nothing else is left in it. A key another
; program has taken back keeps its class and loses only our record. Keys
; from before the record was kept go when nothing else is left in them.
; HKLM's classes by name: the merged HKCR would reach the user's own keys.
Function un.RestoreExtensionKeys
  StrCpy $0 0
  count:
    EnumRegKey $1 HKLM "${CLASSES}" $0
    StrCmp $1 "" walk
    IntOp $0 $0 + 1
    Goto count
  walk:
    ; From the last key down, so a deleted key shifts no key still to visit.
    IntOp $0 $0 - 1
    IntCmp $0 0 0 done
    EnumRegKey $1 HKLM "${CLASSES}" $0
    StrCpy $2 $1 1
    StrCmp $2 "." 0 walk
    StrCpy $1 "${CLASSES}\$1"
    ClearErrors
    ReadRegStr $3 HKLM $1 "${PREVIOUS_CLASS}"
    IfErrors 0 +2
      StrCpy $3 "<none>"
    ReadRegDWORD $4 HKLM $1 "${KEY_CREATED}"
    ReadRegStr $2 HKLM $1 ""
    StrCmp $2 "${FILE_CLASS}" ours
    ; Another program's class, or none of ours: at most our record goes.
    StrCmp $3 "<none>" 0 +2
    StrCmp $4 "" walk
    DeleteRegValue HKLM $1 "${PREVIOUS_CLASS}"
    DeleteRegValue HKLM $1 "${KEY_CREATED}"
    Goto walk
  ours:
    DeleteRegValue HKLM $1 "${PREVIOUS_CLASS}"
    DeleteRegValue HKLM $1 "${KEY_CREATED}"
    StrCmp $3 "<none>" +3
      WriteRegStr HKLM $1 "" $3
      Goto +2
      DeleteRegValue HKLM $1 ""
    StrCmp $4 1 remove
    ; Recorded as not created by the program: the key stays.
    StrCmp $4 "" 0 walk
    StrCmp $3 "<none>" 0 walk
    remove:
      DeleteRegKey /ifempty /ifnovalues HKLM $1
    Goto walk
  done:
FunctionEnd

; The Send To shortcut of every profile of the machine, not only the
; uninstalling user's.
Function un.RemoveSendToLinks
  StrCpy $0 0
  profile:
    EnumRegKey $1 HKLM "${PROFILE_LIST}" $0
    StrCmp $1 "" done
    IntOp $0 $0 + 1
    ReadRegStr $2 HKLM "${PROFILE_LIST}\$1" "ProfileImagePath"
    StrCmp $2 "" profile
    ExpandEnvStrings $2 $2
    Delete "$2\${SENDTO_IN_PROFILE}\${SENDTO_LINK}"
    Goto profile
  done:
FunctionEnd

; The context-menu and right-drag handlers' classes and keys, for every
; user (HKLM) or for one (HKCU).
!macro RemoveShellClasses ROOT
  DeleteRegKey ${ROOT} "${CLASSES}\CLSID\${CLASS_ID}"
  DeleteRegKey ${ROOT} "${CLASSES}\*\shellex\ContextMenuHandlers\Glossira"
  DeleteRegKey ${ROOT} "${CLASSES}\CLSID\${DROP_CLASS_ID}"
  DeleteRegKey ${ROOT} "${CLASSES}\Directory\shellex\DragDropHandlers\Glossira"
  DeleteRegKey ${ROOT} "${CLASSES}\Drive\shellex\DragDropHandlers\Glossira"
  DeleteRegKey ${ROOT} "${CLASSES}\Folder\shellex\DragDropHandlers\Glossira"
!macroend

Section "Uninstall"
  SetAutoClose true
  ; What the program itself wrote: Send To, the context menu (for every
  ; user or for this one), the application path, the file type, its
  ; settings, a pending removal.
  SetShellVarContext current
  Delete "$SENDTO\${SENDTO_LINK}"
  Call un.RemoveSendToLinks
  !insertmacro RemoveShellClasses HKLM
  !insertmacro RemoveShellClasses HKCU
  DeleteRegKey HKLM "SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\glossira.exe"
  DeleteRegKey HKCU "SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\glossira.exe"
  Call un.RestoreExtensionKeys
  DeleteRegKey HKLM "${CLASSES}\${FILE_CLASS}"
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty /ifnovalues HKLM "Software\Orvik"
  ; The viewer's colours of the user who uninstalls.
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty /ifnovalues HKCU "Software\Orvik"
  DeleteRegValue HKLM "Software\Microsoft\Windows\CurrentVersion\RunOnce" "glossira"
  DeleteRegValue HKCU "Software\Microsoft\Windows\CurrentVersion\RunOnce" "glossira"
  ; SHCNE_ASSOCCHANGED: Explorer forgets the menu entry and the file type.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  ; What the setup wrote.
  SetShellVarContext all
  Delete "$SMPROGRAMS\${START_LINK}"
  DeleteRegKey HKLM "${UNINST_KEY}"
  !insertmacro ProgramFiles RemoveFile
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only when empty: whatever else the folder holds is not ours. When files
  ; in use go at the restart, the folder goes after them.
  IfRebootFlag later
    RMDir "$INSTDIR"
    Goto done
  later:
    RMDir /REBOOTOK "$INSTDIR"
    SetErrorLevel ${ERROR_SUCCESS_REBOOT_REQUIRED}
    MessageBox MB_OK|MB_ICONINFORMATION "Программа «${PROGRAM}» удалена. Часть её файлов ещё занята: они будут удалены после перезагрузки компьютера." /SD IDOK
  done:
SectionEnd
