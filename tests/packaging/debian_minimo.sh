#!/usr/bin/env bash
# The .deb installed with apt into a minimal Debian 12 made by debootstrap, as a user's
# machine would have it: the program starts, the menu entry names it, the icon and the saved
# games' type are in place. Needs root and the network (about five minutes); not run by CI.
#   debian_minimo.sh SOMADO.deb [CHROOT]
# CHROOT (a fresh folder by default) is made with "debootstrap --variant=minbase bookworm"
# when it holds no system yet.
set -euo pipefail
deb=$(realpath "$1")
raiz=${2:-$(mktemp -d)}
falhar() {
  echo "FALHOU: $*" >&2
  exit 1
}
[ "$(id -u)" -eq 0 ] || falhar "precisa de root"
if [ ! -x "$raiz/usr/bin/apt-get" ]; then
  command -v debootstrap >/dev/null || apt-get install -y -qq --no-install-recommends debootstrap
  debootstrap --variant=minbase bookworm "$raiz" http://deb.debian.org/debian >/dev/null
fi
cp /etc/resolv.conf "$raiz/etc/resolv.conf"
cp "$deb" "$raiz/tmp/somado.deb"
na_raiz() { chroot "$raiz" env -i PATH=/usr/local/bin:/usr/bin:/bin:/usr/games LANG=C.UTF-8 "$@"; }
na_raiz apt-get update -qq
na_raiz env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq /tmp/somado.deb >/dev/null

id=pt.quorvel.Somado
entrada=/usr/share/applications/$id.desktop
programa=$(na_raiz sed -n 's/^Exec=\(.*\) %f$/\1/p' "$entrada")
[ "$programa" = /usr/games/somado ] || falhar "Exec=$programa"
[ "$(na_raiz "$programa" --version)" = "Somado $(dpkg-deb -f "$deb" Version)" ] || falhar "--version"
na_raiz test -f /usr/share/icons/hicolor/48x48/apps/$id.png || falhar "ícone"
# The triggers of shared-mime-info and desktop-file-utils, when installed, registered the type.
if na_raiz test -f /usr/share/mime/types; then
  na_raiz grep -qx application/x-somado /usr/share/mime/types || falhar "tipo MIME"
fi
# The window starts and stays up on Qt's offscreen platform (the X11 one is in the same
# package): still running after five seconds, as timeout reports with 124.
set +e
na_raiz env QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=/tmp timeout 5 "$programa" >/dev/null 2>&1
estado=$?
set -e
[ "$estado" -eq 124 ] || falhar "o programa terminou com $estado"
echo "Instalado num Debian 12 mínimo: $programa arranca; menu, ícone e tipo no sítio"
