# Sourced by the scripts: instalar_em_falta PACOTE... installs, with apt, the Debian packages
# that are not installed yet (as root, or through sudo). Quiet and quick when all are there.
instalar_em_falta() {
  local missing=() p sudo=""
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  ((${#missing[@]})) || return 0
  echo "A instalar: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
