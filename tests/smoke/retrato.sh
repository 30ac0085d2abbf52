#!/usr/bin/env bash
# A picture of the real program's window with a game in progress, taken on an X server with
# a window manager as a person would see it (for the README).
#
#   retrato.sh SOMADO OLHAR DESTINO.png
set -euo pipefail
source "$(dirname "$0")/ecra.sh"

somado=$(realpath "$1")
olhar=$(realpath "$2")
destino=$(realpath -m "$3")

iniciar_gestor_de_janelas
iniciar_somado "$somado" "$ecra_trabalho"
# Three hints, one wrong digit, then a check: right and wrong marks, and the cursor moved on.
for _ in 1 2 3; do clicar_botao 119; done
escrever 1
clicar_botao 88
# The pointer off the buttons, so none is drawn hovered.
xdotool mousemove "$((x0 + 5))" "$((y0 + 5))"
sleep 0.6
"$olhar" captura "$destino" "$x0" "$y0" "$largura" "$altura"
echo "$destino"
