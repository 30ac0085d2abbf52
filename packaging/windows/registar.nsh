; What Windows' list of installed programs shows beyond CPack's own entries: where Somado is
; and how much room it takes.
!include "FileFunc.nsh"
WriteRegStr SHCTX "Software\Microsoft\Windows\CurrentVersion\Uninstall\Somado" "InstallLocation" "$INSTDIR"
${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
IntFmt $0 "0x%08X" $0
WriteRegDWORD SHCTX "Software\Microsoft\Windows\CurrentVersion\Uninstall\Somado" "EstimatedSize" "$0"
