#!/usr/bin/env bash
# The real somado.exe under wine, as a person on Windows meets it: taken from the ZIP and
# started on an X server with a window manager, driven from outside with the mouse and the
# keyboard, and checked on pictures of the screen and on the files it writes; then the
# installer, run silently, and the installed program. Printing goes through Windows' own print
# dialog to a CUPS server of the test's own (wine hands its print jobs to CUPS), whose cups-pdf
# printer writes the job as a PDF.
#
#   fumo-wine.sh ZIP INSTALADOR OLHAR PASTA_DAS_IMAGENS
#
# WINEPREFIX must name a prefix made by preparar_wine (tests/windows/wine.sh).
set -euo pipefail
aqui=$(dirname "$(realpath "$0")")
source "$aqui/../smoke/ecra.sh"
source "$aqui/../smoke/impressora.sh"
source "$aqui/wine.sh"
: "${WINEPREFIX:?WINEPREFIX must name the wine prefix}"

[ $# -eq 4 ] || { echo "uso: fumo-wine.sh ZIP INSTALADOR OLHAR PASTA_DAS_IMAGENS" >&2; exit 2; }
zip=$(realpath "$1")
instalador=$(realpath "$2")
olhar=$(realpath "$3")
imagens=$(realpath -m "$4")
rm -rf "$imagens" && mkdir -p "$imagens"
trap '"$wineserver" -k 2>/dev/null || true; cups_terminar; ecra_terminar' EXIT

titulo="SOMADO | by Quorvel"
# The highlight colour preparar_wine gives the prefix (0 120 215).
destaque="#0078d7"

captura() {
  sleep 0.5
  "$olhar" captura "$imagens/$1.png" 2>/dev/null
}
moldura_visivel() { # $1: picture
  local n
  n=$("$olhar" conta "$imagens/$1.png" "${grelha[@]}" "$destaque" 2>/dev/null)
  echo "  $1: $n pixels de moldura ($destaque)"
  [ "$n" -ge 100 ]
}
difere() { "$olhar" difere "$imagens/$1.png" "$imagens/$2.png" "${grelha[@]}" 2>/dev/null; }
# The program's visible windows (see iniciar_somado_wine for pid_janelas).
pid_janelas=""
janelas() { { xdotool search --onlyvisible --pid "${pid_janelas:-$pid}" 2>/dev/null || true; } | wc -l; }
mais_janelas() { [ "$(janelas)" -gt "$1" ]; }

# Starts somado.exe ($1) in the folder $2 and notes its window's client area; with "start /wait
# /unix" after them, $1 is a shortcut that wine's start follows, in the shortcut's own working
# folder.
iniciar_somado_wine() {
  cd "$2"
  if [ $# -gt 2 ]; then
    env -u QT_QPA_PLATFORM "$wine64" "${@:3}" "$1" >"$ecra_trabalho/somado.log" 2>&1 &
  else
    env -u QT_QPA_PLATFORM "$wine64" "$1" >"$ecra_trabalho/somado.log" 2>&1 &
  fi
  pid=$!
  esperar 60 bash -c "xdotool search --onlyvisible --name '^SOMADO \\| by Quorvel\$' >/dev/null" ||
    { captura falta-janela; falhou "a janela \"$titulo\" não apareceu"; }
  janela=$(xdotool search --onlyvisible --name '^SOMADO \| by Quorvel$' | head -1)
  [ "$(xdotool getwindowname "$janela")" = "$titulo" ] || falhou "título errado"
  # Started through "start", the program is another process than the one waited for: its
  # windows are counted by the window's own.
  pid_janelas=$(xdotool getwindowpid "$janela" 2>/dev/null || echo "$pid")
  activar_e_medir
}

# Types a path into the file dialog that is about to open, then Enter.
escolher_ficheiro() { # $1: windows before, $2: path, $3: picture name
  esperar 20 mais_janelas "$1" || { captura "$3-falta"; falhou "o diálogo de ficheiros não abriu"; }
  sleep 1
  escrever "$2"
  sleep 0.3
  captura "$3"
  xdotool key Return
  esperar 10 bash -c "[ \"\$(xdotool search --onlyvisible --pid ${pid_janelas:-$pid} 2>/dev/null | wc -l)\" -le $1 ]" ||
    { captura "$3-depois"; falhou "o diálogo de ficheiros ficou aberto depois de Enter"; }
}

# The digits of the VALUE section, one line per row.
valores() { tr -d '\r' <"$1" | awk '/^VALUE$/ {v = 1; next} /^[A-Z]+$/ {v = 0} v'; }

# Games kept for recovery by an earlier run of this prefix that was cut short would be offered
# at the first start.
recuperacao="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Somado/recuperacao"
rm -rf "$recuperacao"
# Documents: a folder of the prefix's own, emptied of what the test suites left there.
preparar_wine "$WINEPREFIX"
# Temporary folders of earlier runs cut short: the check after uninstalling sees this run's.
rm -rf "$WINEPREFIX"/drive_c/users/*/Temp/somado-*
# Qt's file dialogs keep their history in the registry on Windows: the program must leave none.
"$wine64" reg delete 'HKCU\Software\QtProject' /f >/dev/null 2>&1 || true
sem_chave() { ! "$wine64" reg query "$1" >/dev/null 2>&1; }
# What the registry and the disk hold of Somado's at a step of the install cycle, for the log.
retrato() {
  echo "  [$1]"
  local raiz chave
  for raiz in HKLM HKCU; do
    for chave in 'Software\Quorvel\Somado' 'Software\Microsoft\Windows\CurrentVersion\Uninstall\Somado' \
      'Software\Classes\.smd' 'Software\Classes\Quorvel.Somado.Puzzle'; do
      sem_chave "$raiz\\$chave" || echo "    registo: $raiz\\$chave"
    done
  done
  find "$WINEPREFIX/drive_c" -maxdepth 10 \( -ipath '*/Programas/Somado' -o -ipath '*/Programs/Somado' \
    -o -iname 'Somado.lnk' \) -not -ipath '*/AppData/Roaming/Somado*' 2>/dev/null |
    while read -r caminho; do
      if [ -d "$caminho" ]; then
        echo "    disco: ${caminho#"$WINEPREFIX/"}/ ($(find "$caminho" -type f | wc -l) ficheiros)"
      else
        echo "    disco: ${caminho#"$WINEPREFIX/"}"
      fi
    done
}

iniciar_gestor_de_janelas
# Before wine starts: it takes its printers from CUPS when it starts.
"$wineserver" -k 2>/dev/null || true
iniciar_impressora
pasta="$ecra_trabalho/jogos"
mkdir -p "$pasta" "$ecra_trabalho/zip"
(cd "$ecra_trabalho/zip" && unzip -q "$zip")
exe=$(ls "$ecra_trabalho"/zip/*/somado.exe)
avisos="$(dirname "$exe")/AVISOS.txt"
for licenca in 'GNU LESSER GENERAL PUBLIC LICENSE' 'Apache License' 'GCC RUNTIME LIBRARY EXCEPTION' \
  'Independent JPEG Group' 'qt6-base'; do
  grep -aq "$licenca" "$avisos" || falhou "AVISOS.txt do ZIP sem \"$licenca\""
done

echo "1. A janela \"$titulo\" abre com um puzzle e a moldura do foco"
iniciar_somado_wine "$exe" "$pasta"
captura 1-arranque
moldura_visivel 1-arranque || falhou "sem moldura de foco na grelha ao arrancar"

echo "2. Um dígito escrito chega ao tabuleiro"
escrever 5
captura 2-digito
n=$(difere 1-arranque 2-digito)
echo "  o 5 mudou $n pixels da grelha"
[ "$n" -gt 0 ] || falhou "o 5 não chegou ao tabuleiro"

echo "3. Guardar: caminho escrito no diálogo e Enter; CR LF e o 5 no ficheiro"
antes=$(janelas)
clicar_botao 213
escolher_ficheiro "$antes" "$(winepath_w "$pasta/saida.smd")" 3-dialogo-guardar
esperar 10 test -s "$pasta/saida.smd" || falhou "Guardar não escreveu saida.smd"
linhas=$(wc -l <"$pasta/saida.smd")
crlf=$(grep -c $'\r$' "$pasta/saida.smd")
echo "  $linhas linhas, $crlf terminadas em CR LF"
[ "$linhas" -gt 0 ] && [ "$linhas" -eq "$crlf" ] || falhou "saida.smd não tem CR LF em todas as linhas"
digitos=$(valores "$pasta/saida.smd" | tr ' ' '\n' | grep -v '^0*$' | tr '\n' ' ')
echo "  dígitos em VALUE: $digitos"
[ "$digitos" = "5 " ] || falhou "esperava só o 5 em VALUE, encontrei '$digitos'"
captura 3-guardado

echo "4. Gerar Puzzle: o tempo com vírgula decimal (definições regionais de Portugal)"
clicar_botao 26
sleep 3
captura 4-gerado
[ "$(difere 3-guardado 4-gerado)" -gt 0 ] || falhou "Gerar Puzzle não mudou o tabuleiro"
informacao=$(copiar_informacao)
echo "  informação: $informacao"
grep -Eq 'Tempo: [0-9]+,[0-9]s' <<<"$informacao" || falhou "o tempo não tem vírgula decimal"

echo "4b. Ctrl+H explica um passo do puzzle novo na caixa de informação"
xdotool mousemove "$((x0 + 5))" "$((y0 + 5))"
xdotool key ctrl+h
sleep 0.5
explicacao=$(copiar_informacao)
echo "  explicação: $explicacao"
grep -q 'Linha [0-9]*, coluna [0-9]*' <<<"$explicacao" || falhou "Ctrl+H não explicou um passo"

echo "5. Abrir saida.smd devolve o tabuleiro guardado, com o 5"
antes=$(janelas)
clicar_botao 244
escolher_ficheiro "$antes" "$(winepath_w "$pasta/saida.smd")" 5-dialogo-abrir
captura 5-aberto
n=$(difere 3-guardado 5-aberto)
echo "  $n pixels da grelha diferentes do tabuleiro guardado"
[ "$n" -eq 0 ] || falhou "Abrir não devolveu o tabuleiro guardado"
moldura_visivel 5-aberto || falhou "sem moldura de foco depois de Abrir"

echo "6. Exportar Puzzle: PDF A4 de 2 páginas, título, autor e todas as letras embutidas"
antes=$(janelas)
clicar_botao 275
escolher_ficheiro "$antes" "$(winepath_w "$pasta/puzzle.pdf")" 6-dialogo-exportar
esperar 20 test -s "$pasta/puzzle.pdf" || falhou "Exportar Puzzle não escreveu puzzle.pdf"
sleep 1
pdfinfo "$pasta/puzzle.pdf" >"$imagens/pdfinfo.txt"
pdffonts "$pasta/puzzle.pdf" >"$imagens/pdffonts.txt"
grep -E '^(Title|Author|Pages|Page size):' "$imagens/pdfinfo.txt" | sed 's/^/  /'
grep -Eq '^Title: +SOMADO$' "$imagens/pdfinfo.txt" || falhou "o PDF não tem o título SOMADO"
grep -Eq '^Author: +Quorvel$' "$imagens/pdfinfo.txt" || falhou "o PDF não tem o autor Quorvel"
grep -Eq '^Pages: +2$' "$imagens/pdfinfo.txt" || falhou "o PDF não tem 2 páginas"
grep -Eq '^Page size: +59[45](\.[0-9]+)? x 84[12](\.[0-9]+)? pts \(A4\)' "$imagens/pdfinfo.txt" ||
  falhou "as páginas do PDF não são A4"
fontes=$(tail -n +3 "$imagens/pdffonts.txt")
[ -n "$fontes" ] || falhou "o PDF não tem letras"
sed 's/^/  /' <<<"$fontes"
# Columns: name type encoding emb sub uni object ID; "emb" is the fourth from the end.
awk '{ if ($(NF-4) != "yes") exit 1 }' <<<"$fontes" || falhou "há letras por embutir no PDF"
pdftoppm -r 40 -png "$pasta/puzzle.pdf" "$imagens/6-pdf"

echo "6b. Imprimir: Ctrl+P, o puzzle e a solução, o diálogo de impressão do Windows; o trabalho chega ao CUPS"
marcar_impressao
# The file dialogs of the steps before may leave the window inactive; the keys go to the active
# one. The pointer off the buttons, so that no tooltip counts as a window.
xdotool windowactivate --sync "$janela" 2>/dev/null || true
xdotool mousemove "$((x0 + 5))" "$((y0 + 5))"
sleep 1.5
antes=$(janelas)
xdotool key ctrl+p
esperar 20 mais_janelas "$antes" || { captura 6b-falta; falhou "Ctrl+P não abriu a janela de impressão"; }
sleep 2
# The third choice: the puzzle and its solution page.
xdotool key Down Down
captura 6b-previsao
xdotool key Return
esperar 30 mais_janelas "$((antes + 1))" ||
  { captura 6b-sem-dialogo; falhou "o diálogo de impressão do Windows não abriu"; }
sleep 1
captura 6b-dialogo
xdotool key Return
esperar 30 bash -c "[ \"\$(xdotool search --onlyvisible --pid ${pid_janelas:-$pid} 2>/dev/null | wc -l)\" -le $antes ]" ||
  { captura 6b-depois; falhou "a janela de impressão ficou aberta depois de imprimir"; }
esperar_impressao 120 || { captura 6b-sem-trabalho; falhou "o trabalho de impressão não chegou ao cups-pdf"; }
cp "$impresso" "$imagens/6b-impresso.pdf"
paginas_impressas 2 || falhou "esperava 2 páginas impressas, o puzzle e a solução"
pagina "$impresso" 1 6b-pagina-1
pagina "$impresso" 2 6b-pagina-2
tem_tabuleiro 6b-pagina-1 || falhou "o tabuleiro não está na página impressa"
tem_tabuleiro 6b-pagina-2 || falhou "o tabuleiro não está na página da solução"
n=$(diferenca 6b-pagina-1 6b-pagina-2)
echo "  a página 2 difere da 1 em $n pixels"
[ "$n" -gt 1000 ] || falhou "a página 2 não mostra a solução"
informacao=$(copiar_informacao)
echo "  informação: $informacao"
grep -q '^Puzzle e solução impressos em "' <<<"$informacao" ||
  falhou "a caixa de informação não diz que o puzzle e a solução foram impressos"

echo "6c. Os diálogos de ficheiros não deixaram nada no registo"
sem_chave 'HKCU\Software\QtProject' ||
  falhou "ficou HKCU\Software\QtProject no registo: $("$wine64" reg query 'HKCU\Software\QtProject' /s 2>&1 | tr -d '\r' | head -5)"

echo "7. Sair termina o programa com o código 0"
clicar_botao 460
esperar 20 bash -c "! kill -0 $pid 2>/dev/null" || { captura 7-sair; falhou "o programa não terminou depois de Sair"; }
estado=0
wait "$pid" || estado=$?
pid=""
[ "$estado" -eq 0 ] || falhou "somado.exe terminou com o código $estado"

echo "7b. O fim da sessão do Windows guarda o jogo; o arranque seguinte recupera-o com \"Sim\""
iniciar_somado_wine "$exe" "$pasta"
escrever 7 # the first empty cell; the current one moves to the next
xdotool mousemove "$((x0 + 5))" "$((y0 + 5))"
captura 7b-antes-do-fim
# Windows' end-session messages, as at a logout or a shutdown; wine ends the processes after.
"$wine64" wineboot --end-session >/dev/null 2>&1 || true
esperar 30 bash -c "! kill -0 $pid 2>/dev/null" || falhou "o programa não terminou com o fim da sessão"
wait "$pid" || true
pid=""
ls "$recuperacao"/*.smd >/dev/null 2>&1 || falhou "o fim da sessão não deixou o jogo em $recuperacao"
cd "$pasta"
env -u QT_QPA_PLATFORM "$wine64" "$exe" >"$ecra_trabalho/somado.log" 2>&1 &
pid=$!
pid_janelas=""
esperar 60 bash -c "xdotool search --onlyvisible --name '^SOMADO\$' >/dev/null" ||
  { captura 7b-sem-pergunta; falhou "a pergunta da recuperação não apareceu"; }
captura 7b-pergunta
xdotool windowactivate --sync "$(xdotool search --onlyvisible --name '^SOMADO$' | head -1)" key Return 2>/dev/null
esperar 60 bash -c "xdotool search --onlyvisible --name '^SOMADO \| by Quorvel\$' >/dev/null" ||
  { captura 7b-sem-janela; falhou "a janela não apareceu depois de responder Sim"; }
janela=$(xdotool search --onlyvisible --name '^SOMADO \| by Quorvel$' | head -1)
activar_e_medir
xdotool mousemove "$((x0 + 5))" "$((y0 + 5))"
captura 7b-recuperado
n=$(difere 7b-antes-do-fim 7b-recuperado)
echo "  $n pixels da grelha diferentes da de antes do fim da sessão"
[ "$n" -eq 0 ] || falhou "o jogo recuperado não é o de antes do fim da sessão"
# Leaving without saving it: "Não" to the question (Tab to it, then Space) removes the copy.
antes=$(janelas)
clicar_botao 460
esperar 20 mais_janelas "$antes" || { captura 7b-sem-pergunta-sair; falhou "Sair não perguntou pelas jogadas por gravar"; }
sleep 0.5
xdotool key Tab space
esperar 20 bash -c "! kill -0 $pid 2>/dev/null" || { captura 7b-sair; falhou "o programa não terminou depois de Sair e Não"; }
estado=0
wait "$pid" || estado=$?
pid=""
[ "$estado" -eq 0 ] || falhou "somado.exe terminou com o código $estado"
! ls "$recuperacao"/*.smd >/dev/null 2>&1 || falhou "a cópia do jogo ficou depois de Sair e Não"

echo "8. O instalador em silêncio; o programa instalado arranca"
destino='C:\Programas\Somado'
"$wine64" "$instalador" /S "/D=$destino" || falhou "o instalador falhou (código $?)"
"$wineserver" -w
instalado="$WINEPREFIX/drive_c/Programas/Somado"
for f in somado.exe Desinstalar.exe AVISOS.txt qt.conf platforms/qwindows.dll styles/qwindowsvistastyle.dll \
  translations/qt_pt_PT.qm Qt6PrintSupport.dll ficheiros-instalados.txt; do
  [ -f "$instalado/$f" ] || falhou "o instalador não pôs $f em $destino"
done
atalho=$(find "$WINEPREFIX/drive_c" -path '*Start Menu*' -iname 'Somado.lnk' | head -1)
[ -n "$atalho" ] || falhou "sem atalho \"Somado\" no menu Iniciar"
echo "  atalho: ${atalho#"$WINEPREFIX/"}"
chave='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Somado'
registo=$("$wine64" reg query "$chave" 2>/dev/null | tr -d '\r')
grep -Eq 'DisplayVersion +REG_SZ +[0-9]' <<<"$registo" || falhou "sem versão em Adicionar ou remover programas"
grep -Eq 'Publisher +REG_SZ +Quorvel' <<<"$registo" || falhou "sem editor em Adicionar ou remover programas"
grep -Eiq 'InstallLocation +REG_SZ +C:\\Programas\\Somado' <<<"$registo" ||
  falhou "sem InstallLocation em Adicionar ou remover programas"
grep -Eq 'EstimatedSize +REG_DWORD +0x[0-9a-f]*[1-9a-f]' <<<"$registo" ||
  falhou "sem EstimatedSize em Adicionar ou remover programas"
grep -Eq 'URLInfoAbout +REG_SZ +https://' <<<"$registo" || falhou "sem a página do programa"
grep -Eq 'QuietUninstallString +REG_SZ +"C:\\Programas\\Somado\\Desinstalar.exe" /S' <<<"$registo" ||
  falhou "sem QuietUninstallString em Adicionar ou remover programas"
retrato "depois de instalar para todos os utilizadores"
abrir=$("$wine64" reg query 'HKLM\Software\Classes\Quorvel.Somado.Puzzle\shell\open\command' /ve 2>/dev/null | tr -d '\r')
grep -Fq 'somado.exe" "%1"' <<<"$abrir" || falhou "os ficheiros .smd não abrem com somado.exe"
"$wine64" reg query 'HKLM\Software\Classes\.smd' /ve 2>/dev/null | grep -q 'Quorvel.Somado.Puzzle' ||
  falhou ".smd não está associado ao Somado"
echo "  .smd abre com: $(grep -o '"[^"]*somado.exe" "%1"' <<<"$abrir")"
# From the Start-menu shortcut, as a person starts it: the working folder is the install folder,
# and the first "Guardar" must offer the user's Documents instead.
documentos="$WINEPREFIX/drive_c/users/$(whoami)/Documents"
rm -f "$documentos/atalho.smd"
iniciar_somado_wine "$atalho" "$pasta" start /wait /unix
captura 8-instalado
moldura_visivel 8-instalado || falhou "o programa instalado não mostra a moldura do foco"
antes=$(janelas)
clicar_botao 213
escolher_ficheiro "$antes" atalho.smd 8-dialogo-guardar
esperar 10 test -s "$documentos/atalho.smd" ||
  falhou "o primeiro Guardar não abriu nos Documentos ($(ls "$WINEPREFIX/drive_c/Programas/Somado" | grep -c atalho) em Programas)"
rm -f "$documentos/atalho.smd"
clicar_botao 460
esperar 20 bash -c "! kill -0 $pid 2>/dev/null" || falhou "o programa instalado não terminou depois de Sair"
estado=0
wait "$pid" || estado=$?
pid=""
[ "$estado" -eq 0 ] || falhou "o somado.exe instalado terminou com o código $estado"

echo "8b. --version numa consola do Windows (cmd) escreve a versão"
versao=$(cd "$pasta" && "$wine64" cmd /c "$(winepath_w "$instalado/somado.exe")" --version 2>/dev/null | tr -d '\r')
echo "  $versao"
[[ "$versao" == "Somado "[0-9]* ]] || falhou "somado.exe --version não escreveu a versão no cmd"
grep -aq 'PerMonitorV2' "$instalado/somado.exe" && grep -aq 'asInvoker' "$instalado/somado.exe" ||
  falhou "somado.exe sem o manifesto (PerMonitorV2, asInvoker)"

echo "8c. O instalador outra vez, por cima da cópia instalada: a mesma pasta, uma só entrada, sem ficheiros velhos"
# What an older version installed and this one no longer brings, on the old list: it goes.
# The player's own file in the folder, and lines of the list naming places outside it, stay.
mkdir -p "$instalado/antiga/pasta"
echo velho >"$instalado/antigo.dll"
echo velho >"$instalado/antiga/pasta/plugin.dll"
echo velho >"$instalado/Uninstall.exe"
echo meu >"$instalado/meu.txt"
echo alheio >"$WINEPREFIX/drive_c/alheio.txt"
printf 'antigo.dll\r\nantiga\\pasta\\plugin.dll\r\n..\\..\\alheio.txt\r\nC:\\alheio.txt\r\n\\alheio.txt\r\n' \
  >>"$instalado/ficheiros-instalados.txt"
"$wine64" "$instalador" /S || falhou "o segundo instalador falhou (código $?)"
"$wineserver" -w
[ -f "$instalado/somado.exe" ] || falhou "a cópia instalada desapareceu"
for velho in antigo.dll antiga Uninstall.exe; do
  [ ! -e "$instalado/$velho" ] || falhou "o segundo instalador deixou $velho da versão anterior"
done
[ -f "$instalado/meu.txt" ] || falhou "o segundo instalador apagou um ficheiro do jogador na pasta"
[ -f "$WINEPREFIX/drive_c/alheio.txt" ] || falhou "uma linha da lista apagou um ficheiro fora da pasta"
rm -f "$WINEPREFIX/drive_c/alheio.txt"
[ ! -e "$WINEPREFIX/drive_c/Program Files/Somado" ] ||
  falhou "o segundo instalador não usou a pasta da cópia anterior (ficou outra em Program Files)"
entradas=$("$wine64" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' 2>/dev/null |
  tr -d '\r' | grep -ci '\\Somado$' || true)
echo "  entradas de desinstalação: $entradas"
[ "$entradas" -eq 1 ] || falhou "esperava uma entrada de desinstalação, há $entradas"
retrato "depois de instalar outra vez por cima"

echo "8d. Só para este utilizador (/CurrentUser): na pasta de programas do utilizador, no seu registo"
utilizador="$WINEPREFIX/drive_c/users/$(whoami)"
pessoal="$utilizador/AppData/Local/Programs/Somado"
"$wine64" "$instalador" /S /CurrentUser || falhou "o instalador só para este utilizador falhou (código $?)"
"$wineserver" -w
[ -f "$pessoal/somado.exe" ] || falhou "sem somado.exe em AppData\Local\Programs\Somado"
[ -f "$utilizador/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Somado.lnk" ] ||
  falhou "sem atalho no menu Iniciar do utilizador"
pessoal_w='C:\users\'"$(whoami)"'\AppData\Local\Programs\Somado'
"$wine64" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Somado' /v InstallLocation 2>/dev/null |
  tr -d '\r' | grep -Fqi "$pessoal_w" || falhou "sem a entrada de desinstalação do utilizador"
"$wine64" reg query 'HKCU\Software\Classes\Quorvel.Somado.Puzzle\shell\open\command' /ve 2>/dev/null |
  tr -d '\r' | grep -Fqi "$pessoal_w\\somado.exe" || falhou ".smd não abre com a cópia do utilizador"
versao=$(cd "$pasta" && "$wine64" cmd /c "$(winepath_w "$pessoal/somado.exe")" --version 2>/dev/null | tr -d '\r')
[[ "$versao" == "Somado "[0-9]* ]] || falhou "a cópia do utilizador não arranca (--version: '$versao')"
retrato "depois de instalar também só para este utilizador"
"$wine64" "$pessoal/Desinstalar.exe" /S || falhou "o desinstalador do utilizador falhou (código $?)"
"$wineserver" -w
[ ! -e "$pessoal" ] || falhou "o desinstalador do utilizador deixou $(ls "$pessoal" | head -3)"
for chave_utilizador in 'HKCU\Software\Quorvel' 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Somado' \
  'HKCU\Software\Classes\.smd' 'HKCU\Software\Classes\Quorvel.Somado.Puzzle'; do
  sem_chave "$chave_utilizador" || falhou "ficou $chave_utilizador no registo depois de desinstalar a cópia do utilizador"
done
[ -f "$instalado/somado.exe" ] && ! sem_chave 'HKLM\Software\Quorvel\Somado' ||
  falhou "desinstalar a cópia do utilizador mexeu na de todos os utilizadores"
retrato "depois de desinstalar a cópia do utilizador"

echo "9. O desinstalador em silêncio não deixa nada do Somado"
"$wine64" "$instalado/Desinstalar.exe" /S || falhou "o desinstalador falhou (código $?)"
"$wineserver" -w
# The player's own file stays, and with it the folder; nothing else.
[ "$(ls -A "$instalado")" = "meu.txt" ] || falhou "o desinstalador deixou: $(ls -A "$instalado" | tr '\n' ' ')"
rm -rf "$instalado"
for chave in 'HKLM\Software\Quorvel' "$chave" 'HKLM\Software\Classes\.smd' \
  'HKLM\Software\Classes\Quorvel.Somado.Puzzle' 'HKCU\Software\QtProject'; do
  sem_chave "$chave" || falhou "ficou $chave no registo depois de desinstalar"
done
# The player's data (statistics, a recovered game) is theirs and stays; so do the test suites'.
restos=$(find "$WINEPREFIX/drive_c" -ipath '*somado*' -not -ipath '*/AppData/Roaming/Somado*' \
  -not -ipath '*/AppData/Roaming/qttest/*' -not -path "$pasta*" 2>/dev/null | head -5)
[ -z "$restos" ] || falhou "ficou do Somado depois de desinstalar: $restos"
retrato "depois de desinstalar"
echo "OK"
