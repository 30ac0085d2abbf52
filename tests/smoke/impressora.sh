# Shared by the print tests (tests/smoke/imprimir.sh, tests/windows/fumo-wine.sh): a CUPS server of the run's own, on a socket in the run's folder,
# with one queue, "PDF", on the cups-pdf virtual printer, which writes each job as a PDF file.
# The programs started afterwards find it through CUPS_SERVER (wine's too: wine hands its print
# jobs to CUPS). Needs ecra.sh's $ecra_trabalho and falhou.
#
# cups-pdf writes into the "PDF" folder in the home of the user who printed (its Out setting in
# /etc/cups/cups-pdf.conf); a job is recognised there as the PDF newer than the mark set before it.

pid_cups=""
cups_terminar() {
  if [ -n "$pid_cups" ]; then
    kill "$pid_cups" 2>/dev/null || true
    wait "$pid_cups" 2>/dev/null || true
  fi
  pid_cups=""
}

# Installs cups and cups-pdf when they are missing (Debian, as root or through sudo).
instalar_impressora() {
  source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/pacotes.sh"
  instalar_em_falta cups printer-driver-cups-pdf ghostscript
}

iniciar_impressora() {
  local raiz="$ecra_trabalho/cups"
  mkdir -p "$raiz"/{etc/ppd,spool/tmp,cache,state,log}
  # The filters run as the unprivileged user of cupsd.
  chmod 755 "$ecra_trabalho" "$raiz" "$raiz"/*
  chmod 1777 "$raiz/spool/tmp"
  cat >"$raiz/etc/cupsd.conf" <<CONF
LogLevel warn
Listen $raiz/cups.sock
Browsing No
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
  cat >"$raiz/etc/cups-files.conf" <<CONF
ServerRoot $raiz/etc
RequestRoot $raiz/spool
TempDir $raiz/spool/tmp
CacheDir $raiz/cache
StateDir $raiz/state
ErrorLog $raiz/log/error_log
AccessLog $raiz/log/access_log
PageLog $raiz/log/page_log
SystemGroup root
CONF
  cupsd -f -c "$raiz/etc/cupsd.conf" -s "$raiz/etc/cups-files.conf" 2>"$raiz/log/cupsd.log" &
  pid_cups=$!
  export CUPS_SERVER="$raiz/cups.sock"
  esperar 20 bash -c 'lpstat -r 2>/dev/null | grep -q "scheduler is running"' ||
    { cat "$raiz/log/cupsd.log" "$raiz/log/error_log" >&2 2>/dev/null; falhou "o CUPS não arrancou"; }
  lpadmin -p PDF -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd -E 2>/dev/null ||
    falhou "não foi possível criar a impressora PDF"
  lpadmin -d PDF
  # Poppler turns the job into PostScript for cups-pdf keeping the text as text, so the pages
  # that come out can be read back (Ghostscript's way draws the letters as shapes).
  lpadmin -p PDF -o pdftops-renderer-default=pdftops
  cups_saida=$(getent passwd "$(id -un)" | cut -d: -f6)/PDF
  mkdir -p "$cups_saida"
  cups_marca="$raiz/marca"
}

# Before a print job: what is older than this is not its output.
marcar_impressao() { touch "$cups_marca"; sleep 1; }

# The PDF cups-pdf wrote after the mark, once CUPS has no job left; sets impresso.
impresso=""
esperar_impressao() { # $1: seconds
  local fim=$((SECONDS + $1))
  impresso=""
  while ((SECONDS < fim)); do
    if [ -z "$(lpstat -o 2>/dev/null)" ]; then
      impresso=$(find "$cups_saida" -maxdepth 1 -name '*.pdf' -newer "$cups_marca" -printf '%T@ %p\n' 2>/dev/null |
        sort -n | tail -1 | cut -d' ' -f2-)
      if [ -n "$impresso" ]; then
        # Taken out of the user's PDF folder into the test's own, which goes when it ends.
        mv "$impresso" "$ecra_trabalho/cups/" && impresso="$ecra_trabalho/cups/$(basename "$impresso")"
        return 0
      fi
    fi
    sleep 0.5
  done
  sed 's/^/  cups: /' "$ecra_trabalho/cups/log/error_log" >&2 2>/dev/null || true
  return 1
}

# ---- The pages that came out. Need $olhar, the picture tool, and $imagens.

# cups-pdf's PDF keeps the letters' shapes but not which letters they are, so the pages are
# compared as pictures: page $2 of $1 at 50 dpi, as $3.png.
pagina() {
  pdftoppm -r 50 -png -singlefile -f "$2" -l "$2" "$1" "$imagens/$3"
}
# The width and height of a PNG picture, from its header.
tamanho_png() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ print ($1 * 16777216 + $2 * 65536 + $3 * 256 + $4), ($5 * 16777216 + $6 * 65536 + $7 * 256 + $8) }'
}
# Pixels that differ between two page pictures.
diferenca() {
  local largura altura
  read -r largura altura < <(tamanho_png "$imagens/$1.png")
  "$olhar" difere "$imagens/$1.png" "$imagens/$2.png" 0 0 "$largura" "$altura"
}
# The board is on the page: the grey (80, 80, 80) of its black and clue cells covers a good part
# of it. Wine's PostScript driver rounds it to (79, 79, 79).
tem_tabuleiro() {
  local n m largura altura
  read -r largura altura < <(tamanho_png "$imagens/$1.png")
  n=$("$olhar" conta "$imagens/$1.png" 0 0 "$largura" "$altura" '#505050')
  m=$("$olhar" conta "$imagens/$1.png" 0 0 "$largura" "$altura" '#4f4f4f')
  n=$((n + m))
  echo "  $1: $n pixels cinzentos"
  [ "$n" -gt 2000 ]
}
# The pages of the job just printed: $1 expected.
paginas_impressas() {
  local n
  n=$(pdfinfo "$impresso" | awk '/^Pages:/ {print $2}')
  echo "  $impresso: $n página(s), $(pdfinfo "$impresso" | awk -F': *' '/^Page size/ {print $2}')"
  [ "$n" = "$1" ]
}
