#!/usr/bin/env bash
# "Imprimir" from the real program, as a person prints: Ctrl+P, a choice in the preview, Enter
# on "Imprimir…", Enter on the system's print dialog; the job goes to a CUPS server of the run's
# own, whose cups-pdf printer writes it as a PDF, and the pages are read back. Then a stopped
# printer: a message, nothing printed, nothing lost.
#
#   imprimir.sh SOMADO OLHAR PUZZLE.smd PASTA_DAS_IMAGENS
#
# Installs cups and cups-pdf when they are missing; runs on an Xvfb of its own, with openbox.
set -euo pipefail
source "$(dirname "$0")/ecra.sh"
source "$(dirname "$0")/impressora.sh"
trap 'cups_terminar; ecra_terminar' EXIT

somado=$(realpath "$1")
olhar=$(realpath "$2")
semente=$(realpath "$3")
imagens=$(realpath -m "$4")
rm -rf "$imagens" && mkdir -p "$imagens"

instalar_impressora
iniciar_gestor_de_janelas
iniciar_impressora
cp "$semente" "$ecra_trabalho/puzzle.smd"
iniciar_somado "$somado" "$ecra_trabalho" "$ecra_trabalho/puzzle.smd"

captura() {
  sleep 0.4
  "$olhar" captura "$imagens/$1.png"
}

# Prints with the choice $1 places down the list (0, 1 or 2); $2 names the pictures.
imprimir() {
  marcar_impressao
  xdotool key ctrl+p
  esperar 15 ha_janelas 2 || { captura "$2-sem-previsao"; falhou "Ctrl+P não abriu a janela de impressão"; }
  sleep 1
  local i
  for ((i = 0; i < $1; ++i)); do xdotool key Down; done
  captura "$2-previsao"
  xdotool key Return
  esperar 15 ha_janelas 3 || { captura "$2-sem-dialogo"; falhou "Imprimir… não abriu o diálogo de impressão do sistema"; }
  sleep 1
  captura "$2-dialogo"
  xdotool key Return
}

# Line 1 of the information box is $1.
informacao_diz() {
  local texto
  texto=$(copiar_informacao)
  echo "  informação: $texto"
  [ "$texto" = "$1" ]
}

echo "1. O puzzle como está: uma página A4, com o dígito do jogador"
# The first empty white cell of the puzzle is (1, 3): the 5 goes there.
escrever 5
imprimir 0 1
esperar_impressao 60 || falhou "o trabalho não chegou ao cups-pdf"
cp "$impresso" "$imagens/1-como-esta.pdf"
paginas_impressas 1 || falhou "esperava 1 página"
pdfinfo "$impresso" | grep -q '(A4)' || falhou "a página não é A4, o papel da impressora"
pagina "$impresso" 1 1-pagina
tem_tabuleiro 1-pagina || falhou "o tabuleiro não está na página impressa"
esperar 10 ha_janelas 1 || falhou "a janela de impressão ficou aberta"
informacao_diz 'Puzzle impresso em "PDF".' || falhou "a caixa de informação não diz que o puzzle foi impresso"

echo "2. Uma cópia em branco: uma página, só as pistas"
imprimir 1 2
esperar_impressao 60 || falhou "o trabalho em branco não chegou ao cups-pdf"
cp "$impresso" "$imagens/2-em-branco.pdf"
paginas_impressas 1 || falhou "esperava 1 página em branco"
pagina "$impresso" 1 2-pagina
tem_tabuleiro 2-pagina || falhou "o tabuleiro não está na cópia em branco"
n=$(diferenca 1-pagina 2-pagina)
echo "  $n pixels diferentes da página com o 5"
[ "$n" -gt 0 ] && [ "$n" -lt 400 ] || falhou "a cópia em branco devia diferir só pelo dígito do jogador"
informacao_diz 'Cópia em branco impressa em "PDF".' || falhou "a informação não fala da cópia em branco"
# Without the player's digit the puzzle as it stands is exactly the blank copy.
xdotool key ctrl+z
imprimir 0 2b
esperar_impressao 60 || falhou "o trabalho sem dígitos não chegou ao cups-pdf"
pagina "$impresso" 1 2b-pagina
n=$(diferenca 2-pagina 2b-pagina)
echo "  sem o 5, $n pixels diferentes da cópia em branco"
[ "$n" -eq 0 ] || falhou "a cópia em branco não é o puzzle sem dígitos"
xdotool key ctrl+y

echo "3. O puzzle e a solução: duas páginas, a segunda com a solução"
imprimir 2 3
esperar_impressao 60 || falhou "o trabalho com a solução não chegou ao cups-pdf"
cp "$impresso" "$imagens/3-com-solucao.pdf"
paginas_impressas 2 || falhou "esperava 2 páginas"
pagina "$impresso" 1 3-pagina-1
pagina "$impresso" 2 3-pagina-2
n=$(diferenca 1-pagina 3-pagina-1)
echo "  página 1: $n pixels diferentes do puzzle como está"
[ "$n" -eq 0 ] || falhou "a página 1 não é o puzzle como está"
tem_tabuleiro 3-pagina-2 || falhou "a página da solução não tem o tabuleiro"
n=$(diferenca 3-pagina-1 3-pagina-2)
echo "  página 2: $n pixels diferentes da página 1"
[ "$n" -gt 1000 ] || falhou "a página 2 não mostra a solução"
informacao_diz 'Puzzle e solução impressos em "PDF".' || falhou "a informação não fala da solução"

echo "4. Cancelar na previsão e no diálogo do sistema não imprime nada"
marcar_impressao
xdotool key ctrl+p
esperar 15 ha_janelas 2 || falhou "Ctrl+P não abriu a janela de impressão"
sleep 1
xdotool key Return
esperar 15 ha_janelas 3 || falhou "Imprimir… não abriu o diálogo de impressão do sistema"
sleep 1
xdotool key Escape
esperar 10 ha_janelas 2 || falhou "Esc não fechou o diálogo de impressão"
xdotool key Escape
esperar 10 ha_janelas 1 || falhou "Esc não fechou a janela de impressão"
sleep 2
[ -z "$(find "$cups_saida" -maxdepth 1 -name '*.pdf' -newer "$cups_marca")" ] ||
  falhou "cancelar imprimiu"
informacao_diz 'Puzzle e solução impressos em "PDF".' || falhou "cancelar mudou a caixa de informação"

echo "5. Uma impressora parada: uma mensagem clara, nada impresso, nada perdido"
cupsdisable PDF
imprimir 0 5
esperar 15 ha_janelas 2 || falhou "não apareceu a mensagem da impressora parada"
sleep 0.5
captura 5-mensagem
xdotool key Return
esperar 10 ha_janelas 1 || falhou "a mensagem não fechou"
sleep 2
[ -z "$(find "$cups_saida" -maxdepth 1 -name '*.pdf' -newer "$cups_marca")" ] ||
  falhou "a impressora parada imprimiu"
[ -z "$(lpstat -o 2>/dev/null)" ] || falhou "ficou um trabalho na fila da impressora parada"
informacao_diz 'Puzzle e solução impressos em "PDF".' || falhou "o erro mudou a caixa de informação"
cupsenable PDF

echo "5b. Sem nenhuma impressora: uma mensagem clara, e nada mais muda"
lpadmin -x PDF
xdotool key ctrl+p
esperar 15 ha_janelas 2 || falhou "Ctrl+P não abriu a janela de impressão"
sleep 1
xdotool key Return
sleep 1
captura 5b-sem-impressoras
# The print window gives way to the message.
esperar 10 ha_janelas 2 || falhou "não apareceu a mensagem de não haver impressoras"
xdotool key Return
esperar 10 ha_janelas 1 || falhou "a mensagem não fechou"
informacao_diz 'Puzzle e solução impressos em "PDF".' || falhou "a falta de impressoras mudou a caixa de informação"

echo "6. Guardar: o 5 do jogador continua no tabuleiro"
xdotool key ctrl+s
esperar 10 ha_janelas 2 || falhou "o diálogo de guardar não abriu"
sleep 0.5
escrever depois.smd
xdotool key Return
esperar 10 test -s depois.smd || falhou "Guardar não escreveu depois.smd"
linha=$(tr -d '\r' <depois.smd | awk '$0 == "VALUE" { getline; getline; print; exit }')
echo "  VALUE, linha 1: $linha"
[ "$linha" = "0 0 0 5 0 0" ] || falhou "esperava '0 0 0 5 0 0' na linha 1 de VALUE"

echo "7. Sair"
esperar 5 ha_janelas 1 || true
clicar_botao 460
esperar 10 bash -c "! kill -0 $pid 2>/dev/null" || falhou "o programa não terminou depois de Sair"
wait "$pid" || falhou "o programa terminou com o código $?"
pid=""
echo "OK"
