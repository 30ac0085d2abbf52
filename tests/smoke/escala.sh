#!/usr/bin/env bash
# The main window on a 1920 × 1080 screen at 100 %, 150 % and 200 % scaling, with a window
# manager: the widget test checks, inside the program, that the frame lies on the screen and
# every control of the side panel inside the window; the real program's frame is then measured
# from outside and a picture taken at each scaling.
#
#   escala.sh SOMADO TEST_UI OLHAR PASTA_DAS_IMAGENS
set -euo pipefail
ecra_resolucao=1920x1080x24
source "$(dirname "$0")/ecra.sh"

somado=$(realpath "$1")
test_ui=$(realpath "$2")
olhar=$(realpath "$3")
imagens=$(realpath -m "$4")
rm -rf "$imagens" && mkdir -p "$imagens"

iniciar_gestor_de_janelas

# The frame's edges from the window manager's extents around the client area: left right top
# bottom, in screen pixels.
margens_da_moldura() {
  xprop -id "$janela" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ',' || true
}
moldura_no_ecra() {
  activar_e_medir
  local m
  read -ra m <<<"$(margens_da_moldura)"
  ((${#m[@]} == 4)) || return 1
  esquerda=$((x0 - m[0])) topo=$((y0 - m[2]))
  direita=$((x0 + largura + m[1])) fundo=$((y0 + altura + m[3]))
  ((esquerda >= 0 && topo >= 0 && direita <= 1920 && fundo <= 1080))
}

for escala in 1 1.5 2; do
  echo "== escala $escala"
  QT_SCALE_FACTOR=$escala "$test_ui" --gtest_brief=1 --gtest_filter='Ecra.*' ||
    falhou "a janela não cabe no ecrã a $escala"
  QT_SCALE_FACTOR=$escala iniciar_somado "$somado" "$ecra_trabalho"
  esperar 5 moldura_no_ecra ||
    falhou "a moldura da janela a $escala sai do ecrã: $esquerda,$topo até $direita,$fundo"
  echo "  moldura de $esquerda,$topo até $direita,$fundo; cliente ${largura}x$altura"
  if [ "$escala" = 1 ]; then
    ((largura == 955 && altura == 735)) || falhou "a 100 % a janela não tem 955 x 735"
  fi
  sleep 0.5
  "$olhar" captura "$imagens/escala-$escala.png"
  kill "$pid" && wait "$pid" 2>/dev/null || true
  pid=""
done
