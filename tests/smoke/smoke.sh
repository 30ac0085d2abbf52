#!/usr/bin/env bash
# The real program as a person meets it: started on an X server with a window manager, driven
# from outside with the mouse and the keyboard, and checked on pictures of the screen and on
# the files it writes.
#
#   smoke.sh SOMADO OLHAR PUZZLE.smd PASTA_DAS_IMAGENS
#
# Runs on an Xvfb of its own, with openbox.
set -euo pipefail
source "$(dirname "$0")/ecra.sh"

somado=$(realpath "$1")
olhar=$(realpath "$2")
semente=$(realpath "$3")
imagens=$(realpath -m "$4")
rm -rf "$imagens" && mkdir -p "$imagens"

iniciar_gestor_de_janelas
cp "$semente" "$ecra_trabalho/puzzle.smd"
iniciar_somado "$somado" "$ecra_trabalho"
destaque=$("$olhar" destaque)

captura() {
  sleep 0.4
  "$olhar" captura "$imagens/$1.png"
}
moldura_visivel() { # $1: picture
  local n
  n=$("$olhar" conta "$imagens/$1.png" "${grelha[@]}" "$destaque")
  echo "  $1: $n pixels de moldura ($destaque)"
  [ "$n" -ge 100 ]
}
escolher_ficheiro() { # types a name in the file dialog that is about to open, then Enter
  esperar 10 ha_janelas 2 || falhou "o diálogo de ficheiros não abriu"
  sleep 0.5
  escrever "$1"
  sleep 0.3
  captura "$2"
  xdotool key Return
  esperar 5 ha_janelas 1 ||
    { captura "$2-depois"; falhou "ficou outra janela aberta depois de Enter no diálogo ($(janelas) janelas)"; }
}

# Line $3 (from 1) after the line that is exactly $2 in the saved game $1.
linha_depois_de() {
  tr -d '\r' <"$1" | awk -v titulo="$2" -v n="$3" '$0 == titulo { for (i = 0; i < n; ++i) getline; print; exit }'
}

sair_pelo_botao() { # "Sair" with nothing unsaved; the program must end with status 0
  clicar_botao 460
  esperar 10 bash -c "! kill -0 $pid 2>/dev/null" || falhou "o programa não terminou depois de Sair"
  # Its exit status too: a sanitizer build reports leaks and errors through it.
  wait "$pid" || falhou "o programa terminou com o código $?"
  pid=""
}
guardar_como() { # "Guardar" to the name $1, the dialog's picture as $2
  clicar_botao 213
  escolher_ficheiro "$1" "$2"
  esperar 5 test -s "$1" || falhou "Guardar não escreveu $1"
}
# Row $3 (from 1) of the section titled $2 in the saved game $1 must read $4.
conferir_linha() {
  local linha
  linha=$(linha_depois_de "$1" "$2" "$3")
  echo "  $2, linha $(($3 - 1)) de $1: $linha"
  [ "$linha" = "$4" ] || falhou "esperava '$4' na linha $(($3 - 1)) de $2 em $1, não '$linha'"
}

digito_chega() { # types digit $1 and compares the board's pictures $2 (before) and $3 (after)
  escrever "$1"
  captura "$3"
  local n
  n=$("$olhar" difere "$imagens/$2.png" "$imagens/$3.png" "${grelha[@]}")
  echo "  o $1 mudou $n pixels da grelha"
  [ "$n" -gt 0 ]
}

echo "1. A moldura do foco vê-se ao arrancar"
captura 1-arranque
moldura_visivel 1-arranque || falhou "sem moldura de foco na grelha ao arrancar"

echo "2. Abrir com o nome escrito e Enter; o dígito seguinte vai para o tabuleiro"
clicar_botao 244
escolher_ficheiro puzzle.smd 2-dialogo-abrir
captura 2-aberto
moldura_visivel 2-aberto || falhou "sem moldura de foco depois de Abrir"
digito_chega 5 2-aberto 2-digito || falhou "o 5 escrito depois de Abrir não chegou ao tabuleiro"

echo "3. Depois de Verificar, o dígito vai para o tabuleiro"
clicar_botao 88
captura 3-verificado
digito_chega 7 3-verificado 3-digito ||
  falhou "o 7 escrito depois de Verificar não chegou ao tabuleiro"

echo "4. Ctrl+Z desfaz o 7 e Ctrl+Y volta a pô-lo"
xdotool key ctrl+z
captura 4-desfeito
n=$("$olhar" difere "$imagens/3-verificado.png" "$imagens/4-desfeito.png" "${grelha[@]}")
echo "  depois de desfazer, $n pixels diferentes do tabuleiro antes do 7"
[ "$n" -eq 0 ] || falhou "Ctrl+Z não devolveu o tabuleiro de antes do 7"
xdotool key ctrl+y

echo "5. Guardar: o ficheiro tem os dois dígitos onde foram escritos"
guardar_como saida.smd 4-dialogo-guardar
# The first empty white cells of the puzzle are (1, 3) and then (1, 5).
conferir_linha saida.smd VALUE 2 "0 0 0 5 0 7"

echo "6. Sobre uma pista, a dica lista as combinações da soma"
# (0, 3) of the 6 × 6 puzzle: 15 down over two cells, in a grid of 64-unit cells centred in
# the board's panel.
xdotool mousemove "$((x0 + (grelha[2] - 6 * 64) / 2 + 3 * 64 + 32))" "$((y0 + (altura - 6 * 64) / 2 + 32))"
esperar 10 ha_janelas 2 || falhou "a dica da pista não apareceu"
captura 6-dica-da-pista
xdotool mousemove "$((x0 + 5))" "$((y0 + 5))"

# The centre of cell (r, c) of the 6 × 6 board, 64-unit cells centred in the board's panel.
lado=$((6 * 64))
centro_x() { echo "$((x0 + (grelha[2] - lado) / 2 + $1 * 64 + 32))"; }
centro_y() { echo "$((y0 + (altura - lado) / 2 + $1 * 64 + 32))"; }
memo=("$((x0 + largura - 220))" "$((y0 + altura - 126))" 220 126)
# Clicks cell (r, r) and takes the pointer off the board again, so no hint hides the picture.
clicar_casa() {
  xdotool mousemove "$(centro_x "$1")" "$(centro_y "$1")" click 1
  xdotool mousemove "$((x0 + 5))" "$((y0 + 5))"
}

echo "7. Ctrl+3 numa casa vazia põe a nota 3, que se vê, se guarda e volta ao abrir"
clicar_casa 2
captura 7-sem-nota
xdotool key ctrl+3
captura 7-nota
n=$("$olhar" difere "$imagens/7-sem-nota.png" "$imagens/7-nota.png" "${grelha[@]}")
echo "  a nota mudou $n pixels da grelha"
[ "$n" -gt 0 ] || falhou "a nota 3 não se viu na casa (2, 2)"
guardar_como notas.smd 7-dialogo-guardar
conferir_linha notas.smd '[NOTAS]' 3 "0 0 8 0 0 0"
clicar_botao 150 # Limpar: the mark goes too
captura 7-limpo
n=$("$olhar" difere "$imagens/7-sem-nota.png" "$imagens/7-limpo.png" "${grelha[@]}")
[ "$n" -gt 0 ] || falhou "Limpar não mudou o tabuleiro"
xdotool key ctrl+z
clicar_botao 244
# Limpar and its undo leave nothing unsaved: straight to the dialog.
escolher_ficheiro notas.smd 7-dialogo-abrir
clicar_casa 2
captura 7-reaberto
# Cell (2, 2) only: the red of the earlier check is not saved, by design.
casa=("$((x0 + (grelha[2] - lado) / 2 + 2 * 64))" "$((y0 + (altura - lado) / 2 + 2 * 64))" 64 64)
n=$("$olhar" difere "$imagens/7-nota.png" "$imagens/7-reaberto.png" "${casa[@]}")
echo "  depois de reabrir, $n pixels diferentes do tabuleiro com a nota"
[ "$n" -eq 0 ] || falhou "a nota 3 não voltou ao reabrir notas.smd"

echo "7b. Um clique numa casa, Tab para a branca seguinte, e o dígito vai para lá"
# (2, 5) is the last white cell of its row; Tab passes the clue (3, 0) and stops on (3, 1).
xdotool mousemove "$(centro_x 5)" "$(centro_y 2)" click 1
xdotool mousemove "$((x0 + 5))" "$((y0 + 5))"
xdotool key Tab
captura 7b-tab
moldura_visivel 7b-tab || falhou "sem moldura de foco na grelha depois de Tab"
digito_chega 4 7b-tab 7b-digito || falhou "o 4 escrito depois de Tab não chegou ao tabuleiro"
guardar_como tab.smd 7b-dialogo-guardar
conferir_linha tab.smd VALUE 4 "0 4 0 0 0 0"

echo "7c. Ctrl+H explica um passo na caixa de informação; Ctrl+M preenche as notas"
clicar_botao 150 # Limpar: a board without digits, so the step is a deduction
xdotool key ctrl+h
captura 7c-explicado
explicacao=$(copiar_informacao)
echo "  explicação: $explicacao"
grep -q '^Linha [0-9], coluna [0-9]' <<<"$explicacao" ||
  falhou "Ctrl+H não explicou um passo na caixa de informação"
grep -q 'Logo esta casa é [1-9]\.' <<<"$explicacao" || falhou "a explicação não conclui um algarismo"
xdotool key ctrl+m
captura 7c-notas
n=$("$olhar" difere "$imagens/7c-explicado.png" "$imagens/7c-notas.png" "${grelha[@]}")
echo "  as notas mudaram $n pixels da grelha"
[ "$n" -gt 2000 ] || falhou "Ctrl+M não pôs notas no tabuleiro"

echo "8. Escrever a solução inteira: o fim é anunciado e o relógio pára"
clicar_botao 150
escrever 862789969731261
captura 8-quase
escrever 9
captura 8-fim
n=$("$olhar" difere "$imagens/8-quase.png" "$imagens/8-fim.png" "${memo[@]}")
echo "  o último dígito mudou $n pixels da caixa de informação"
[ "$n" -gt 0 ] || falhou "o fim não apareceu na caixa de informação"
guardar_como fim1.smd 8-dialogo-guardar
sleep 2
guardar_como fim2.smd 8-dialogo-guardar-2
t1=$(tr -d '\r' <fim1.smd | grep '^TEMPO=')
t2=$(tr -d '\r' <fim2.smd | grep '^TEMPO=')
echo "  $t1, dois segundos depois $t2"
[ -n "$t1" ] && [ "$t1" = "$t2" ] || falhou "o relógio não parou no fim"
conferir_linha fim2.smd VALUE 2 "0 0 0 8 0 6"

echo "9. Sair fecha o programa (nada por gravar)"
sair_pelo_botao

echo "8. 'somado FICHEIRO' arranca com o jogo aberto, tal como Abrir o abriu no passo 2"
# A name as a file manager hands it over: full path, a space and accents.
jogo="$ecra_trabalho/Jogo de sábado.smd"
cp puzzle.smd "$jogo"
iniciar_somado "$somado" "$ecra_trabalho" "$jogo"
captura 8-linha-de-comandos
moldura_visivel 8-linha-de-comandos || falhou "sem moldura de foco ao arrancar com um ficheiro"
n=$("$olhar" difere "$imagens/2-aberto.png" "$imagens/8-linha-de-comandos.png" "${grelha[@]}")
echo "  $n pixels do tabuleiro diferentes do aberto com Abrir"
[ "$n" -eq 0 ] || falhou "o tabuleiro não é o do ficheiro indicado"
sair_pelo_botao

echo "10. Terminado com SIGTERM, o jogo volta no arranque seguinte com o dígito e a nota"
export TMPDIR="$ecra_trabalho/tmp"
mkdir -p "$TMPDIR"
recuperacao="$XDG_DATA_HOME/Somado/recuperacao"
iniciar_somado "$somado" "$ecra_trabalho" "$jogo"
escrever 5 # (1, 3), the first empty cell
clicar_casa 2
xdotool key ctrl+3
# The current cell where the recovered game will put it, the first empty one: (1, 5).
xdotool mousemove "$(centro_x 5)" "$(centro_y 1)" click 1
xdotool mousemove "$((x0 + 5))" "$((y0 + 5))"
captura 10-antes-do-sinal
kill -TERM "$pid"
esperar 10 bash -c "! kill -0 $pid 2>/dev/null" || falhou "o programa não terminou com SIGTERM"
wait "$pid" || falhou "depois de SIGTERM o programa terminou com o código $?"
pid=""
ls "$recuperacao"/*.smd >/dev/null 2>&1 || falhou "nenhum jogo guardado em $recuperacao"
restos=$(find "$TMPDIR" -mindepth 1 -maxdepth 1)
[ -z "$restos" ] || falhou "ficaram pastas temporárias depois de SIGTERM: $restos"

cd "$ecra_trabalho"
"$somado" >"$ecra_trabalho/somado.log" 2>&1 &
pid=$!
esperar 30 ha_janelas 1 || falhou "a pergunta da recuperação não apareceu"
pergunta=$(xdotool search --onlyvisible --pid "$pid" | head -1)
captura 10-pergunta
xdotool windowactivate --sync "$pergunta" key Return # "Sim", the default
esperar 30 bash -c "xdotool search --onlyvisible --pid $pid | grep -vqx $pergunta" ||
  falhou "a janela principal não apareceu depois de responder Sim"
janela=$(xdotool search --onlyvisible --pid "$pid" | grep -vx "$pergunta" | head -1)
activar_e_medir
xdotool mousemove "$((x0 + 5))" "$((y0 + 5))"
captura 10-recuperado
n=$("$olhar" difere "$imagens/10-antes-do-sinal.png" "$imagens/10-recuperado.png" "${grelha[@]}")
echo "  $n pixels do tabuleiro recuperado diferentes do de antes do sinal"
[ "$n" -eq 0 ] || falhou "o tabuleiro recuperado não é o de antes do sinal"
guardar_como recuperado.smd 10-dialogo-guardar
conferir_linha recuperado.smd VALUE 2 "0 0 0 5 0 0"
conferir_linha recuperado.smd '[NOTAS]' 3 "0 0 8 0 0 0"
sair_pelo_botao
! ls "$recuperacao"/*.smd >/dev/null 2>&1 || falhou "o jogo guardado ficou depois de uma saída normal"
echo "OK"
