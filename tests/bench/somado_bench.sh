#!/usr/bin/env bash
# somado-bench from outside. Two runs saving into one folder keep every puzzle. A destination
# that cannot be written ends the run before its first puzzle, with status 1 and the reason; a
# mistake on the command line with status 2 and the usage; none of them with an abort. A huge
# --count streams its report from the first puzzle instead of making room for all of them.
#   somado_bench.sh SOMADO-BENCH
set -u
bench="$1"
pasta="$(mktemp -d)"
trap 'chmod -R u+w "$pasta"; rm -rf "$pasta"' EXIT
# Open to the other user of the "outro" cases.
chmod 755 "$pasta"
falhas=0
# shellcheck source=casos.sh
. "$(dirname "$0")/casos.sh"

"$bench" --size 6 --level facil --count 40 --seed 1 --save "$pasta/p" >/dev/null & a=$!
"$bench" --size 6 --level facil --count 40 --seed 2 --save "$pasta/p" >/dev/null & b=$!
wait $a || falhou "first run exited with $?"
wait $b || falhou "second run exited with $?"
n=$(find "$pasta/p" -name '*.smd' | wc -l)
[ "$n" -eq 80 ] || falhou "80 puzzles saved, $n files left"
for f in "$pasta"/p/*.smd; do
  [ "$(tail -n 1 "$f" | tr -d '\r')" = "[/SOMADO]" ] || falhou "$f is cut short"
done

# A folder that does not exist yet is made, with the folders above it.
"$bench" --size 6 --level facil --count 2 --seed 1 --save "$pasta/nova/sub" >/dev/null ||
  falhou "a new folder: exit status $?"
[ "$(find "$pasta/nova/sub" -name '*.smd' | wc -l)" -eq 2 ] || falhou "a new folder: not 2 files"

touch "$pasta/ficheiro"
mkdir -m 555 "$pasta/fechada"
correr_casos "$bench" "$pasta" <<'FIM'
# estado canal antes meio argumentos | mensagem
0 saida - - --help | uso: somado-bench --size N
0 saida - - --size 6 -h | uso: somado-bench --size N
2 erros - - --size 6 --level facil --count 1 --budget -5 | orçamento inválido
2 erros - - --size 6 --level facil --count 0 | contagem inválida
2 erros - - --size 6 --level facil --count 99999999999999999999 | contagem inválida
2 erros - - --size 7 --level facil --count 1 | tamanho inválido
2 erros - - --frobnicar 1 | opção desconhecida: --frobnicar
2 erros - - --size 6 --level facil --count | falta o valor de --count
1 erros antes - --size 6 --level facil --count 1 --save {p}/ficheiro | Não foi possível criar a pasta "{p}/ficheiro": já existe um ficheiro com esse nome
1 erros antes - --size 6 --level facil --count 1 --save {p}/ficheiro/sub | Não foi possível criar a pasta "{p}/ficheiro/sub": "{p}/ficheiro" é um ficheiro, não uma pasta
1 erros antes so-leitura --size 6 --level facil --count 1 --save {p}/montagem | Não foi possível gravar o ficheiro "somado-6x6-facil-0001.smd": o disco só permite leitura
1 erros antes so-leitura --size 6 --level facil --count 1 --save {p}/montagem/sub | Não foi possível criar a pasta "{p}/montagem/sub": o disco só permite leitura
1 erros antes outro --size 6 --level facil --count 1 --save {p}/fechada | Não foi possível gravar o ficheiro "somado-6x6-facil-0001.smd": sem permissão para criar ficheiros nessa pasta
1 erros antes outro --size 6 --level facil --count 1 --save {p}/fechada/sub | Não foi possível criar a pasta "{p}/fechada/sub": sem permissão para criar pastas em "{p}/fechada"
1 erros - cheio:4k --size 6 --level facil --count 3 --seed 1 --save {p}/montagem | o disco está cheio
1 erros - relatorio-cheio --size 6 --level facil --count 1000000000 --budget 100 | não foi possível escrever o relatório
FIM

# Far more puzzles than memory could hold: the report starts at once and goes on until the
# run is stopped (here by timeout's SIGTERM, status 124), rather than aborting first.
timeout 2 "$bench" --size 6 --level facil --count 1000000000 --budget 100 --seed 1 \
  >"$pasta/saida" 2>"$pasta/erros"
estado=$?
[ "$estado" -eq 124 ] || falhou "--count 1000000000 ended with $estado: $(head -c 300 "$pasta/erros")"
grep -qE '^ +1  (sucesso|nenhum) ' "$pasta/saida" ||
  falhou "--count 1000000000 printed no first line within 2 s"

[ "$falhas" -eq 0 ] && echo "somado-bench: tudo certo"
exit "$falhas"
