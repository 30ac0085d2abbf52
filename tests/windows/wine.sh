# Shared by the Windows test scripts: wine64 and a wine prefix set up like a Portuguese
# player's Windows, with the fonts the program asks for.

wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
export WINEDEBUG=-all
# No offer to install Mono or Gecko: the program needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="

# A Unix path as wine's Windows programs see it (wine maps / to drive Z:).
winepath_w() { printf 'Z:%s' "${1//\//\\}"; }

registar() { # KEY NAME VALUE
  "$wine64" reg add "$1" /v "$2" /t REG_SZ /d "$3" /f >/dev/null 2>&1
}

# Makes the prefix $1 once (about 20 s) and sets it up; later runs reuse it.
preparar_wine() {
  export WINEPREFIX=$1
  if [ ! -f "$WINEPREFIX/.somado" ]; then
    rm -rf "$WINEPREFIX"
    (unset DISPLAY WAYLAND_DISPLAY; "$wine64" wineboot --init >/dev/null 2>&1) || true
    # A fresh prefix has no family Qt can list as Arial, "MS Shell Dlg" or "Segoe UI", so Qt
    # would fall back to a serif: alias them to Liberation Sans and fonts-wine's Tahoma.
    local substituto
    for substituto in "Arial=Liberation Sans" "MS Shell Dlg=Tahoma" "MS Shell Dlg 2=Tahoma" \
      "Segoe UI=Tahoma"; do
      registar 'HKCU\Software\Wine\Fonts\Replacements' "${substituto%%=*}" "${substituto#*=}"
    done
    # The regional setting of a player in Portugal: decimal comma.
    registar 'HKCU\Control Panel\International' Locale 00000816
    registar 'HKCU\Control Panel\International' LocaleName pt-PT
    registar 'HKCU\Control Panel\International' sDecimal ,
    registar 'HKCU\Control Panel\International' sThousand ' '
    # A known highlight colour, so pictures can find the focus frame drawn in it.
    registar 'HKCU\Control Panel\Colors' Hilight '0 120 215'
    "$wineserver" -w
    touch "$WINEPREFIX/.somado"
  fi
  # Wine links the user's Documents to the home folder; the program's dialogs open there
  # first, so the tests get a folder of the prefix's own, emptied at every run.
  local documentos
  for documentos in "$WINEPREFIX"/drive_c/users/*/Documents; do
    if [ -L "$documentos" ]; then rm "$documentos"; fi
    rm -rf "$documentos" && mkdir -p "$documentos"
  done
}
