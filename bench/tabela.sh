#!/usr/bin/env bash
# The generator's table: every size and level the window offers (50 runs each), the large
# sizes at "Difícil" (20 runs) and 25 × 25 at 30 s and 60 s budgets.
set -euo pipefail
bench="${1:-build/bench/somado-bench}"
resumo() { "$bench" "$@" | sed -n '/^$/,$p' | tr '\n' ' '; echo; }
for n in 6 9 12 15; do
  for l in facil medio dificil muito-dificil; do resumo --size "$n" --level "$l" --count 50; done
done
for n in 16 20; do resumo --size "$n" --level dificil --count 20; done
resumo --size 25 --level dificil --count 10 --budget 30000
resumo --size 25 --level dificil --count 10 --budget 60000
