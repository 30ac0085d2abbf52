#!/usr/bin/env bash
# tempo_lote from outside, without a display: it makes its folder and writes its three
# documents; a destination that cannot be written ends the run before the generation, and a
# batch without a single puzzle after it, with status 1 and the reason; a mistake on the
# command line with status 2 and the usage; none of them with an abort.
#   tempo_lote.sh TEMPO_LOTE
set -u
ferramenta="$1"
pasta="$(mktemp -d)"
trap 'chmod -R u+w "$pasta"; rm -rf "$pasta"' EXIT
# Open to the other user of the "outro" cases.
chmod 755 "$pasta"
falhas=0
# shellcheck source=casos.sh
. "$(dirname "$0")/casos.sh"
# The documents are drawn, not shown: no display is needed.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
mkdir -m 700 "$pasta/xdg"
export XDG_RUNTIME_DIR="$pasta/xdg"

"$ferramenta" "$pasta/nova/sub" 6 --count 1 --seed 18446744073709551615 >"$pasta/saida" 2>"$pasta/erros" ||
  falhou "a new folder: exit status $?: $(head -c 600 "$pasta/erros")"
grep -q "^6x6 progressivo, 1 puzzles" "$pasta/saida" || falhou "no report: $(cat "$pasta/saida")"
for documento in lote.pdf puzzle.pdf lote6.pdf; do
  [ "$(head -c 5 "$pasta/nova/sub/$documento" 2>/dev/null)" = "%PDF-" ] ||
    falhou "$documento not written in the new folder"
done

touch "$pasta/ficheiro"
mkdir -m 555 "$pasta/fechada"
# Already there, so that the run gets as far as its batch.
mkdir "$pasta/existente"
correr_casos "$ferramenta" "$pasta" <<'FIM'
# estado canal antes meio argumentos | mensagem
0 saida - - --help | uso: tempo_lote [PASTA] [LADO]
0 saida - - {p}/x 6 -h | uso: tempo_lote [PASTA] [LADO]
2 erros - - {p}/x 6 --count | falta o valor de --count
2 erros - - {p}/x 6 --count 500 | opção ou valor inválido: --count 500
2 erros - - {p}/x 6 --budget -1 | valor inválido para --budget: -1
2 erros - - {p}/x 6 --seed -1 | valor inválido para --seed: -1
2 erros - - {p}/x 6 --frobnicar 1 | opção ou valor inválido: --frobnicar 1
2 erros - - {p}/x 7 | lado inválido (6, 9, 12 ou 15)
2 erros - - {p}/x 6 outro | demasiados argumentos: outro
1 erros antes - {p}/ficheiro 6 --count 1 | Não foi possível criar a pasta "{p}/ficheiro": já existe um ficheiro com esse nome
1 erros antes - {p}/ficheiro/sub 6 --count 1 | Não foi possível criar a pasta "{p}/ficheiro/sub": "{p}/ficheiro" é um ficheiro, não uma pasta
1 erros antes so-leitura {p}/montagem 6 --count 1 | Não foi possível gravar o ficheiro "lote.pdf": o disco só permite leitura
1 erros antes so-leitura {p}/montagem/sub 6 --count 1 | Não foi possível criar a pasta "{p}/montagem/sub": o disco só permite leitura
1 erros antes outro {p}/fechada 6 --count 1 | Não foi possível gravar o ficheiro "lote.pdf": sem permissão para criar ficheiros nessa pasta
1 erros - cheio:16k {p}/montagem 6 --count 1 | Não foi possível gravar o ficheiro "lote.pdf": o disco está cheio
1 erros - - {p}/existente 15 --count 1 --budget 1 --seed 1 | nenhum puzzle 15x15 foi gerado (pedidos: 1; 5 tentativas de 1 ms por puzzle); não há lote a gravar
FIM

[ "$falhas" -eq 0 ] && echo "tempo_lote: tudo certo"
exit "$falhas"
