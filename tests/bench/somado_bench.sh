#!/usr/bin/env bash
# Two runs saving into one folder keep every puzzle; a report or a puzzle that cannot be
# written, and a negative budget, end with a non-zero exit status.
set -u
bench="$1"
pasta="$(mktemp -d)"
trap 'rm -rf "$pasta"' EXIT
falhas=0
falhou() { echo "FALHOU: $*"; falhas=$((falhas + 1)); }

"$bench" --size 6 --level facil --count 40 --seed 1 --save "$pasta/p" >/dev/null & a=$!
"$bench" --size 6 --level facil --count 40 --seed 2 --save "$pasta/p" >/dev/null & b=$!
wait $a || falhou "first run exited with $?"
wait $b || falhou "second run exited with $?"
n=$(find "$pasta/p" -name '*.smd' | wc -l)
[ "$n" -eq 80 ] || falhou "80 puzzles saved, $n files left"
for f in "$pasta"/p/*.smd; do
  [ "$(tail -n 1 "$f" | tr -d '\r')" = "[/SOMADO]" ] || falhou "$f is cut short"
done

if "$bench" --size 6 --level facil --count 1 --seed 3 >/dev/full 2>/dev/null; then
  falhou "a report written to a full disk counted as success"
fi
touch "$pasta/ficheiro"
if "$bench" --size 6 --level facil --count 1 --seed 3 --save "$pasta/ficheiro/sub" >/dev/null 2>&1; then
  falhou "a folder that cannot be made counted as success"
fi
"$bench" --size 6 --level facil --count 1 --budget -5 >/dev/null 2>&1
[ $? -eq 2 ] || falhou "a negative budget was not refused"

[ "$falhas" -eq 0 ] && echo "somado-bench: tudo certo"
exit "$falhas"
