; Included into CPack's installer script (CPACK_NSIS_DEFINES), before its pages.

; A 64-bit installer: it installs into the 64-bit Program Files and registers in
; the 64-bit registry, and Wine runs it without its 32-bit half.
Target amd64-unicode

; The finish page offers to start the console (CPACK_NSIS_MUI_FINISHPAGE_RUN)
; and, unticked, a desktop shortcut; a silent install shows no page. The
; uninstaller deletes the shortcut (CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS).
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
; (In English whatever the installer's language: a string for one language is
; empty in all the others CPack's script loads.)
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Create a desktop shortcut"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION CreateDesktopShortcut

Function CreateDesktopShortcut
  CreateShortCut "$DESKTOP\Velmora.lnk" "$INSTDIR\velmora.exe"
FunctionEnd

