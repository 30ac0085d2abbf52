#!/usr/bin/env bash
# Checks what "cmake --install" and "cpack -G DEB" make of a build folder.
#   verificar_instalacao.sh MODO BUILD_DIR CMAKE CPACK TIPO_MIME VERSION
#   ficheiros    an install under DESTDIR holds exactly the expected files, icons of their size
#   prefixo      an install under another prefix (as ~/.local) names its own program
#   validadores  desktop-file-validate, appstreamcli, update-mime-database and man accept the
#                menu entry, the metainfo, the saved games' type and the manual page
#   mime         with the installed type, a Somado file is a Somado game by name and by
#                content, and other files are not
#   deb          the .deb holds the same files and depends on Qt and QPDF
#   lintian      lintian finds no error and no warning in the .deb
set -euo pipefail
modo=$1 build=$2 cmake=$3 cpack=$4 tipo_mime=$5 versao=$6
id=pt.quorvel.Somado
tamanhos=(16 24 32 48 64 128 256)

esperados() {
  echo "usr/games/somado"
  echo "usr/share/applications/$id.desktop"
  for l in "${tamanhos[@]}"; do echo "usr/share/icons/hicolor/${l}x${l}/apps/$id.png"; done
  echo "usr/share/metainfo/$id.metainfo.xml"
  echo "usr/share/mime/packages/$id.xml"
  echo "usr/share/man/man6/somado.6.gz"
  echo "usr/share/doc/somado/copyright"
  echo "usr/share/doc/somado/changelog.gz"
  echo "usr/share/doc/somado/AVISOS.txt"
}

temp=$(mktemp -d)
trap 'rm -rf "$temp"' EXIT
raiz="$temp/raiz"

instalar() { # $1: the prefix, /usr by default
  DESTDIR="$raiz" "$cmake" --install "$build" --prefix "${1:-/usr}" >"$temp/install.log"
}

fazer_deb() {
  "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$temp" >"$temp/cpack.log" ||
    { cat "$temp/cpack.log"; falhar "cpack -G DEB"; }
  debs=("$temp"/somado_*.deb)
  [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || falhar "cpack não fez um somado_*.deb"
  deb=${debs[0]}
}

# A Somado game as the program writes it, the same without its extension, and a file that
# only shares the extension.
escrever_amostras() {
  printf '[SOMADO tamanho=6 dificuldade=1 score=80]\r\nTIPO\r\nB B B P B P\r\n' >"$1/jogo.smd"
  cp "$1/jogo.smd" "$1/jogo-sem-extensao"
  printf 'From: ana@example.org\r\nSubject: StarMail\r\n\r\nOla\r\n' >"$1/correio.smd"
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
  [ -x "$raiz/usr/games/somado" ] || falhar "usr/games/somado não é executável"
  for l in "${tamanhos[@]}"; do
    png="$raiz/usr/share/icons/hicolor/${l}x${l}/apps/$id.png"
    [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] || falhar "$png não é PNG"
    [ "$(lado_png "$png")" = "${l}x${l}" ] || falhar "$png tem $(lado_png "$png")"
  done
  # The menu entry starts the installed program by its full path, handing it the file it
  # was asked to open, and names the icon and the saved games' type.
  entrada="$raiz/usr/share/applications/$id.desktop"
  grep -qx "Exec=/usr/games/somado %f" "$entrada" || falhar "Exec: $(grep Exec= "$entrada")"
  grep -qx "Icon=$id" "$entrada" || falhar "Icon"
  grep -qx "MimeType=application/x-somado;" "$entrada" || falhar "MimeType"
  grep -q '<icon name="'"$id"'"/>' "$raiz/usr/share/mime/packages/$id.xml" || falhar "ícone do tipo"
  # The compressed documents are whole.
  zcat "$raiz/usr/share/doc/somado/changelog.gz" | grep -q "^somado ($versao) " || falhar "changelog"
  zcat "$raiz/usr/share/man/man6/somado.6.gz" | grep -q '^\.TH SOMADO 6 ' || falhar "manual"
  echo "Instalação em DESTDIR: $(esperados | wc -l) ficheiros, como esperado"
  ;;
prefixo)
  instalar "$temp/local"
  entrada="$raiz$temp/local/share/applications/$id.desktop"
  programa=$(sed -n 's/^Exec=\(.*\) %f$/\1/p' "$entrada")
  [[ "$programa" == "$temp/local/"* ]] || falhar "Exec fora do prefixo: $programa"
  [ -x "$raiz$programa" ] || falhar "Exec=$programa não é o programa instalado"
  echo "Instalação em $temp/local: Exec=$programa"
  ;;
validadores)
  instalar
  desktop-file-validate "$raiz/usr/share/applications/$id.desktop"
  echo "desktop-file-validate: sem erros"
  appstreamcli validate --no-net "$raiz/usr/share/metainfo/$id.metainfo.xml"
  xmllint --noout "$raiz/usr/share/mime/packages/$id.xml"
  # update-mime-database reads the definition as every desktop will and complains of any
  # element or attribute it does not know.
  XDG_DATA_DIRS="$raiz/usr/share:/usr/share" update-mime-database "$raiz/usr/share/mime" 2>"$temp/mime.log" ||
    { cat "$temp/mime.log"; falhar "update-mime-database"; }
  [ ! -s "$temp/mime.log" ] || { cat "$temp/mime.log"; falhar "update-mime-database queixou-se"; }
  grep -q 'application/x-somado' "$raiz/usr/share/mime/types" || falhar "o tipo não entrou na base"
  echo "update-mime-database: sem queixas"
  # The manual page formats without a warning.
  LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$raiz/usr/share/man/man6/somado.6.gz" \
    >"$temp/man.txt" 2>"$temp/man.log" || { cat "$temp/man.log"; falhar "man"; }
  [ ! -s "$temp/man.log" ] || { cat "$temp/man.log"; falhar "man avisou"; }
  grep -q -- "--version" "$temp/man.txt" || falhar "o manual não fala de --version"
  echo "man: sem avisos"
  ;;
mime)
  instalar
  # One database of the system's types and ours, as update-mime-database makes it on an
  # installed system: Qt takes each data folder's database as a whole, so two folders would
  # only show which comes first.
  cp /usr/share/mime/packages/freedesktop.org.xml "$raiz/usr/share/mime/packages/"
  XDG_DATA_DIRS="$raiz/usr/share" update-mime-database "$raiz/usr/share/mime"
  amostras="$temp/amostras"
  mkdir -p "$amostras" "$temp/vazio"
  escrever_amostras "$amostras"
  tipo() { # $1: data folders, $2: match mode, $3: file; prints name, comment and icon
    XDG_DATA_DIRS="$1" XDG_DATA_HOME="$temp/vazio" "$tipo_mime" "$2" "$3"
  }
  com="$raiz/usr/share"
  # Without the installed type the system's own .smd types take the file: what this fixes.
  [ "$(tipo /usr/share ambos "$amostras/jogo.smd" | head -1)" != application/x-somado ] ||
    falhar "a amostra já é Somado sem o tipo instalado"
  while read -r modo ficheiro esperado; do
    obtido=$(tipo "$com" "$modo" "$amostras/$ficheiro" | head -1)
    echo "  $modo $ficheiro: $obtido"
    [ "$obtido" = "$esperado" ] || falhar "$modo $ficheiro: $obtido, esperava $esperado"
  done <<FIM
nome jogo.smd application/x-somado
conteudo jogo.smd application/x-somado
ambos jogo.smd application/x-somado
conteudo jogo-sem-extensao application/x-somado
ambos jogo-sem-extensao application/x-somado
FIM
  # By content, a file that only shares the extension is not taken for a game.
  obtido=$(tipo "$com" conteudo "$amostras/correio.smd" | head -1)
  echo "  conteudo correio.smd: $obtido"
  [ "$obtido" != application/x-somado ] || falhar "correio.smd tomado por um jogo pelo conteúdo"
  mapfile -t descricao < <(tipo "$com" nome "$amostras/jogo.smd")
  [ "${descricao[1]}" = "Jogo Somado" ] || falhar "comentário: ${descricao[1]}"
  [ "${descricao[2]}" = "$id" ] || falhar "ícone: ${descricao[2]}"
  # The menu entry offers itself for the type.
  update-desktop-database "$raiz/usr/share/applications"
  grep -qx "application/x-somado=$id.desktop;" "$raiz/usr/share/applications/mimeinfo.cache" ||
    falhar "o menu não se oferece para abrir jogos Somado"
  echo "Tipo MIME instalado: reconhecido pelo nome e pelo conteúdo"
  ;;
lintian)
  fazer_deb
  set +e
  lintian --fail-on error,warning --display-info "$deb" >"$temp/lintian.log" 2>&1
  estado=$?
  set -e
  grep -v 'root privileges' "$temp/lintian.log" || true
  [ "$estado" -eq 0 ] || falhar "lintian terminou com $estado"
  if grep -Eq '^[EW]: ' "$temp/lintian.log"; then falhar "lintian com erros ou avisos"; fi
  # The hardening flags reach the program: lintian only mentions their absence as a note.
  if grep -q 'hardening-' "$temp/lintian.log"; then falhar "o programa não foi endurecido"; fi
  echo "lintian: sem erros nem avisos"
  ;;
deb)
  fazer_deb
  diff -u <(esperados | sort) <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | sort) ||
    falhar "o pacote não tem exactamente os ficheiros esperados"
  [ "$(dpkg-deb -f "$deb" Package)" = somado ] || falhar "nome do pacote"
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "Depends: $depends"
  # libqt6gui6 brings the X11 window-system plugin.
  for p in libqt6core6 libqt6gui6 libqt6widgets6 'libqpdf[0-9]+' libc6 libstdc\\+\\+6; do
    grep -Eq "(^|, )$p( |,|$)" <<<"$depends" || falhar "Depends sem $p"
  done
  recommends=$(dpkg-deb -f "$deb" Recommends)
  grep -Eq "(^|, )qt6-wayland(,|$)" <<<"$recommends" || falhar "Recommends sem qt6-wayland"
  [[ "$(dpkg-deb -f "$deb" Maintainer)" =~ ^.+\ \<.+@.+\>$ ]] || falhar "Maintainer sem endereço"
  # Nothing of the build machine's development packages may leak into the dependencies.
  if grep -Eq -- '-dev( |,|$)' <<<"$depends"; then falhar "Depends com pacotes -dev"; fi
  # The dependencies resolve from the Debian archive on a system that has nothing installed
  # (apt's own state replaced by an empty one; apt-get update must have run, as scripts/setup
  # makes sure). Without recommends, as a minimal system installs.
  ls /var/lib/apt/lists/*_Packages* >/dev/null 2>&1 || falhar "sem listas do apt: apt-get update"
  : >"$temp/status"
  apt-get install -s --no-install-recommends -o Dir::State::status="$temp/status" "$deb" \
    >"$temp/apt.log" 2>&1 || { cat "$temp/apt.log"; falhar "as dependências não se resolvem"; }
  grep -q '^Inst libqt6gui6 ' "$temp/apt.log" || falhar "apt não instalaria libqt6gui6"
  grep -q '^Inst somado ' "$temp/apt.log" || falhar "apt não instalaria o somado"
  echo "Num sistema vazio, apt instalaria $(grep -c '^Inst ' "$temp/apt.log") pacotes"
  echo "Pacote $(basename "$deb"): ficheiros e dependências como esperado"
  ;;
*)
  falhar "modo desconhecido: $modo"
  ;;
esac
