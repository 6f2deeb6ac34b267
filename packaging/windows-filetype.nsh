; The survey document type .ZLM, opened by zolm.exe and shown with its icon. Registered under
; HKEY_CURRENT_USER\Software\Classes so that a user without administrator rights can install
; and uninstall; included into CPack's installer script by packaging/windows.cmake.

!define ZOLM_EXTENSION ".ZLM"
!define ZOLM_PROGID "ZOLM.Survey"
!define ZOLM_CLASSES "Software\Classes"

; Tells Explorer that associations changed, so icons and "open" take effect without a logon.
!macro ZolmNotifyAssociations
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
!macroend

!macro ZolmRegisterFileType
  WriteRegStr HKCU "${ZOLM_CLASSES}\${ZOLM_PROGID}" "" "ZOLM 测斜数据"
  WriteRegStr HKCU "${ZOLM_CLASSES}\${ZOLM_PROGID}\DefaultIcon" "" "$INSTDIR\zolm.exe,0"
  WriteRegStr HKCU "${ZOLM_CLASSES}\${ZOLM_PROGID}\shell\open\command" "" '"$INSTDIR\zolm.exe" "%1"'
  WriteRegStr HKCU "${ZOLM_CLASSES}\${ZOLM_EXTENSION}" "" "${ZOLM_PROGID}"
  WriteRegStr HKCU "${ZOLM_CLASSES}\${ZOLM_EXTENSION}\OpenWithProgids" "${ZOLM_PROGID}" ""
  !insertmacro ZolmNotifyAssociations
!macroend

; Leaves .ZLM to another program if one has taken it over since.
!macro ZolmUnregisterFileType
  Push $0
  ReadRegStr $0 HKCU "${ZOLM_CLASSES}\${ZOLM_EXTENSION}" ""
  StrCmp $0 "${ZOLM_PROGID}" 0 +2
    DeleteRegValue HKCU "${ZOLM_CLASSES}\${ZOLM_EXTENSION}" ""
  DeleteRegValue HKCU "${ZOLM_CLASSES}\${ZOLM_EXTENSION}\OpenWithProgids" "${ZOLM_PROGID}"
  DeleteRegKey /ifempty HKCU "${ZOLM_CLASSES}\${ZOLM_EXTENSION}\OpenWithProgids"
  DeleteRegKey /ifempty HKCU "${ZOLM_CLASSES}\${ZOLM_EXTENSION}"
  DeleteRegKey HKCU "${ZOLM_CLASSES}\${ZOLM_PROGID}"
  Pop $0
  !insertmacro ZolmNotifyAssociations
!macroend
