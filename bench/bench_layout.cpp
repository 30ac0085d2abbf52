// Layout and filling of one new board, per board size.
// Run: build/bench/bench_layout --benchmark_repetitions=10 --benchmark_report_aggregates_only
#include "generator/GeradorInterno.h"

#include <benchmark/benchmark.h>

static void LayoutAndFilling(benchmark::State& state) {
    const auto N = static_cast<int32_t>(state.range(0));
    int64_t falhas = 0;
    for (auto _ : state) {
        TSomadoBoard board(N);
        const bool ok = GerarGrelha(board, AComprimentoMin, AComprimentoMax) &&
                        RepararCelulasSoltas(board) && PreencherSolucao(board);
        if (ok)
            CalcularSomas(board);
        else
            ++falhas;
        benchmark::DoNotOptimize(board);
    }
    state.counters["failures"] = static_cast<double>(falhas);
}
BENCHMARK(LayoutAndFilling)
    ->Arg(6)
    ->Arg(9)
    ->Arg(12)
    ->Arg(15)
    ->Arg(16)
    ->Arg(20)
    ->Arg(25)
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
