#!/usr/bin/env bash
# Checks what "cmake --install" and "cpack -G DEB" make of a build folder.
#   verificar_instalacao.sh ficheiros|validadores|deb BUILD_DIR CMAKE CPACK
#   ficheiros    an install under DESTDIR holds exactly the expected files, icons of their size
#   validadores  desktop-file-validate and appstreamcli accept the menu entry and the metainfo
#   deb          the .deb holds the same files and depends on Qt, QPDF and the Qt plugins
set -euo pipefail
modo=$1 build=$2 cmake=$3 cpack=$4
id=pt.quorvel.Somado
tamanhos=(16 24 32 48 64 128 256)

esperados() {
  echo "usr/bin/somado"
  echo "usr/share/applications/$id.desktop"
  for l in "${tamanhos[@]}"; do echo "usr/share/icons/hicolor/${l}x${l}/apps/$id.png"; done
  echo "usr/share/metainfo/$id.metainfo.xml"
}

temp=$(mktemp -d)
trap 'rm -rf "$temp"' EXIT
raiz="$temp/raiz"

instalar() {
  DESTDIR="$raiz" "$cmake" --install "$build" --prefix /usr >"$temp/install.log"
}

# Width and height from a PNG's header (bytes 16..23, big-endian).
lado_png() {
  local w h
  w=$(od -An -tu1 -j16 -N4 "$1" | awk '{print $1*16777216 + $2*65536 + $3*256 + $4}')
  h=$(od -An -tu1 -j20 -N4 "$1" | awk '{print $1*16777216 + $2*65536 + $3*256 + $4}')
  echo "${w}x${h}"
}

falhar() {
  echo "FALHOU: $*" >&2
  exit 1
}

case "$modo" in
ficheiros)
  instalar
  diff -u <(esperados | sort) <(cd "$raiz" && find . \( -type f -o -type l \) | sed 's|^\./||' | sort) ||
    falhar "a instalação não tem exactamente os ficheiros esperados"
  [ -x "$raiz/usr/bin/somado" ] || falhar "usr/bin/somado não é executável"
  for l in "${tamanhos[@]}"; do
    png="$raiz/usr/share/icons/hicolor/${l}x${l}/apps/$id.png"
    [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] || falhar "$png não é PNG"
    [ "$(lado_png "$png")" = "${l}x${l}" ] || falhar "$png tem $(lado_png "$png")"
  done
  # The menu entry starts the installed program with no arguments and names the icon.
  grep -qx "Exec=somado" "$raiz/usr/share/applications/$id.desktop" || falhar "Exec"
  grep -qx "Icon=$id" "$raiz/usr/share/applications/$id.desktop" || falhar "Icon"
  echo "Instalação em DESTDIR: $(esperados | wc -l) ficheiros, como esperado"
  ;;
validadores)
  instalar
  desktop-file-validate "$raiz/usr/share/applications/$id.desktop"
  echo "desktop-file-validate: sem erros"
  appstreamcli validate --no-net "$raiz/usr/share/metainfo/$id.metainfo.xml"
  ;;
deb)
  "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$temp" >"$temp/cpack.log" ||
    { cat "$temp/cpack.log"; falhar "cpack -G DEB"; }
  debs=("$temp"/somado_*.deb)
  [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || falhar "cpack não fez um somado_*.deb"
  deb=${debs[0]}
  diff -u <(esperados | sort) <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | sort) ||
    falhar "o pacote não tem exactamente os ficheiros esperados"
  [ "$(dpkg-deb -f "$deb" Package)" = somado ] || falhar "nome do pacote"
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "Depends: $depends"
  for p in libqt6core6 libqt6gui6 libqt6widgets6 'libqpdf[0-9]+' qt6-qpa-plugins libc6 libstdc\\+\\+6; do
    grep -Eq "(^|, )$p( |,|$)" <<<"$depends" || falhar "Depends sem $p"
  done
  # Nothing of the build machine's development packages may leak into the dependencies.
  if grep -Eq -- '-dev( |,|$)' <<<"$depends"; then falhar "Depends com pacotes -dev"; fi
  echo "Pacote $(basename "$deb"): ficheiros e dependências como esperado"
  ;;
*)
  falhar "modo desconhecido: $modo"
  ;;
esac
