#!/usr/bin/env bash
# The real program answers --help, --version and a wrong option without a display: no window
# system is asked for (with none reachable, asking would abort the program).
#   sem_ecra.sh SOMADO VERSION
set -uo pipefail
somado=$1 versao=$2
falhar() {
  echo "FALHOU: $*" >&2
  exit 1
}
temp=$(mktemp -d)
trap 'rm -rf "$temp"' EXIT
correr() {
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$temp" \
    "$somado" "$@" >"$temp/saida" 2>"$temp/erros"
}

for opcao in --help -h; do
  correr "$opcao"
  estado=$?
  [ "$estado" -eq 0 ] || falhar "$opcao terminou com $estado: $(cat "$temp/erros")"
  grep -q -- "--version" "$temp/saida" || falhar "$opcao não mostra as opções"
  grep -q "ficheiro" "$temp/saida" || falhar "$opcao não fala do ficheiro"
  [ ! -s "$temp/erros" ] || falhar "$opcao escreveu no erro padrão: $(cat "$temp/erros")"
done

correr --version
estado=$?
[ "$estado" -eq 0 ] || falhar "--version terminou com $estado"
[ "$(cat "$temp/saida")" = "Somado $versao" ] || falhar "--version: $(cat "$temp/saida")"

for errado in --nao-existe "-x" "um.smd outro.smd"; do
  # shellcheck disable=SC2086
  correr $errado
  estado=$?
  [ "$estado" -eq 2 ] || falhar "'$errado' terminou com $estado, não 2"
  grep -q -- "--help" "$temp/erros" || falhar "'$errado' não mostra o uso no erro padrão"
  [ ! -s "$temp/saida" ] || falhar "'$errado' escreveu na saída padrão"
done
# Arguments are bytes on POSIX: an option with Latin-1 bytes is named in the message as text,
# the bytes that are no UTF-8 as U+FFFD, never passed on as they are.
correr $'--op\xe7\xe3o'
estado=$?
[ "$estado" -eq 2 ] || falhar "uma opção em Latin-1 terminou com $estado, não 2"
grep -q "op��o" "$temp/erros" || falhar "a opção em Latin-1 não é nomeada: $(head -n 1 "$temp/erros")"
iconv -f UTF-8 -t UTF-8 "$temp/erros" >/dev/null 2>&1 || falhar "o erro padrão não é UTF-8"
echo "--help, --version e opções erradas sem ecrã: como esperado"
