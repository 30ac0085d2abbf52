; Over a copy already installed: the installer starts in that copy's folder (InstallDirRegKey)
; and replaces it in place, its files overwritten only now, after the player agreed; nothing
; is uninstalled first, so cancelling leaves the old copy whole. Silent installs go on.
ReadRegStr $0 SHCTX "Software\Microsoft\Windows\CurrentVersion\Uninstall\Somado" "DisplayVersion"
ReadRegStr $1 SHCTX "Software\Quorvel\Somado" ""
StrCmp $0 "" somado_instalar
StrCmp $1 $INSTDIR 0 somado_outra_pasta
MessageBox MB_YESNO|MB_ICONQUESTION "O Somado $0 está instalado nesta pasta e vai ser substituído pela versão @PROJECT_VERSION@. Continuar?" /SD IDYES IDYES somado_instalar
Abort "A instalação foi cancelada; o Somado $0 ficou como estava."
somado_outra_pasta:
MessageBox MB_YESNO|MB_ICONQUESTION "O Somado $0 está instalado em $1. A versão @PROJECT_VERSION@ vai ficar em $INSTDIR e passa a ser a que abre os ficheiros .smd. Continuar?" /SD IDYES IDYES somado_instalar
Abort "A instalação foi cancelada; o Somado $0 ficou como estava."
somado_instalar:
