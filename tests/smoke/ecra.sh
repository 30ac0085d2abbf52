# Shared by the smoke test and the screenshot script: an X server of their own with a window
# manager, the real program started on it, and the means to look at it and drive it from
# outside.

export QT_QPA_PLATFORM=xcb
unset QT_QPA_PLATFORMTHEME

ecra_trabalho=$(mktemp -d)
export XDG_RUNTIME_DIR="$ecra_trabalho/xdg"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# The program keeps its statistics in the user's data folder: a folder of the run's own.
export XDG_DATA_HOME="$ecra_trabalho/dados"
# The file dialogs first open in the user's documents: here, the folder the tests work in.
export XDG_CONFIG_HOME="$ecra_trabalho/configuracao"
mkdir -p "$XDG_CONFIG_HOME"
printf 'XDG_DOCUMENTS_DIR="%s"\n' "$ecra_trabalho" >"$XDG_CONFIG_HOME/user-dirs.dirs"
pid_x=""
pid_wm=""
pid=""
ecra_terminar() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  [ -n "$pid_wm" ] && kill "$pid_wm" 2>/dev/null || true
  [ -n "$pid_x" ] && kill "$pid_x" 2>/dev/null || true
  rm -rf "$ecra_trabalho"
}
trap ecra_terminar EXIT

falhou() {
  echo "FALHOU: $*" >&2
  [ -n "${imagens:-}" ] && echo "imagens em $imagens" >&2
  [ -f "$ecra_trabalho/somado.log" ] && sed 's/^/  somado: /' "$ecra_trabalho/somado.log" >&2
  exit 1
}

# Polls a condition for up to $1 seconds.
esperar() {
  local limite=$1
  shift
  local fim=$((SECONDS + limite))
  until "$@"; do
    ((SECONDS < fim)) || return 1
    sleep 0.1
  done
}

# An Xvfb of its own: the server picks a free display itself and says which once it is ready,
# so runs side by side never meet on one display (xvfb-run -a can race for a number).
iniciar_x() {
  local numero="$ecra_trabalho/display"
  Xvfb -displayfd 3 -screen 0 "${ecra_resolucao:-1280x1024x24}" -nolisten tcp 3>"$numero" 2>"$ecra_trabalho/xvfb.log" &
  pid_x=$!
  esperar 30 test -s "$numero" || { cat "$ecra_trabalho/xvfb.log" >&2; falhou "o Xvfb não arrancou"; }
  export DISPLAY=":$(tr -d '[:space:]' <"$numero")"
  unset XAUTHORITY
}

gestor_pronto() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }

# openbox, once more if the first start does not take within half a minute (seen once on a
# loaded machine, with nothing in its log): the test is about the program, not the manager.
iniciar_gestor_de_janelas() {
  iniciar_x
  local tentativa
  for tentativa in 1 2; do
    openbox >"$ecra_trabalho/openbox.log" 2>&1 &
    pid_wm=$!
    esperar 30 gestor_pronto && return 0
    {
      echo "  openbox não ficou pronto (tentativa $tentativa):"
      kill -0 "$pid_wm" 2>/dev/null && echo "  openbox ainda corre" || echo "  openbox terminou"
      kill -0 "$pid_x" 2>/dev/null && echo "  o Xvfb ainda corre" || echo "  o Xvfb terminou"
      sed 's/^/  openbox: /' "$ecra_trabalho/openbox.log"
    } >&2
    kill "$pid_wm" 2>/dev/null || true
    wait "$pid_wm" 2>/dev/null || true
  done
  falhou "openbox não arrancou"
}

janelas() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l; }
ha_janelas() { [ "$(janelas)" -eq "$1" ]; }

# Starts the program ($1) in the working folder ($2), with the arguments that follow, and
# notes its window's client area.
iniciar_somado() {
  cd "$2"
  "$1" "${@:3}" >"$ecra_trabalho/somado.log" 2>&1 &
  pid=$!
  esperar 30 ha_janelas 1 || falhou "a janela principal não apareceu"
  janela=$(xdotool search --onlyvisible --pid "$pid" | head -1)
  activar_e_medir
}

# Activates the window $janela and sets x0, y0, largura, altura from its client area, and
# grelha to the board's panel: the client area left of the 220-wide side panel.
activar_e_medir() {
  esperar 5 bash -c "xdotool getactivewindow | grep -qx $janela" ||
    xdotool windowactivate --sync "$janela"
  local geometria
  geometria=$(xwininfo -id "$janela")
  x0=$(awk '/Absolute upper-left X/ {print $4}' <<<"$geometria")
  y0=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$geometria")
  largura=$(awk '/Width:/ {print $2}' <<<"$geometria")
  altura=$(awk '/Height:/ {print $2}' <<<"$geometria")
  grelha=("$x0" "$y0" "$((largura - 220))" "$altura")
}

clicar_botao() { # a side-panel button by its top edge
  xdotool mousemove "$((x0 + largura - 220 + 64 + 50))" "$((y0 + $1 + 12))" click 1
}
escrever() { xdotool type --delay 40 "$1"; }

# The information box never takes the keyboard from the board, so its text is copied through its
# own context menu: the last item selects everything, the first one copies it.
# Needs $olhar, the picture tool, and the window measured by activar_e_medir.
copiar_informacao() {
  xdotool mousemove "$((x0 + largura - 110))" "$((y0 + altura - 60))" click 3
  sleep 0.7
  xdotool key Up Return
  sleep 0.3
  xdotool click 3
  sleep 0.7
  xdotool key Down Return
  sleep 0.5
  xdotool mousemove "$((x0 + 5))" "$((y0 + 5))"
  "$olhar" copiado 2>/dev/null
}
