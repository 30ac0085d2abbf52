// The construction search on a fixed set of filled boards: its speed is the speed of the
// deduction model, which it calls tens of thousands of times per puzzle.
// Run: build/bench/bench_deducao --benchmark_repetitions=5 --benchmark_report_aggregates_only
#include "generator/GeradorInterno.h"

#include <benchmark/benchmark.h>

#include <map>

namespace {

struct TPreenchido {
    TModelo Modelo;
    std::vector<int32_t> Digitos;
};

const std::vector<TPreenchido>& Preenchidos(int32_t N) {
    static std::map<int32_t, std::vector<TPreenchido>> porLado;
    std::vector<TPreenchido>& lista = porLado[N];
    while (lista.size() < 64) {
        TSomadoBoard board(N);
        if (!GerarGrelha(board, AComprimentoMin, AComprimentoMax) || !PreencherSolucao(board))
            continue;
        TPreenchido p{ConstruirModelo(board), {}};
        for (int32_t k = 0; k < p.Modelo.NCel; ++k)
            p.Digitos.push_back(board.GetCell(p.Modelo.CelR[k], p.Modelo.CelC[k]).Solution);
        lista.push_back(std::move(p));
    }
    return lista;
}

void ProcuraSobreTabuleirosFixos(benchmark::State& state) {
    const auto N = static_cast<int32_t>(state.range(0));
    const bool soCombinacoes = state.range(1) != 0;
    const std::vector<TPreenchido>& preenchidos = Preenchidos(N);
    int64_t chamadas = 0;
    for (auto _ : state)
        for (const TPreenchido& p : preenchidos) {
            TContextoGeracao contexto;
            std::vector<int32_t> digitos = p.Digitos;
            benchmark::DoNotOptimize(
                ProcurarSolucaoUnica(contexto, p.Modelo, digitos, soCombinacoes, TCronometro(), 0));
            chamadas += contexto.ChamadasContarIndeterminadas;
        }
    state.counters["calls/s"] =
        benchmark::Counter(static_cast<double>(chamadas), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(ProcuraSobreTabuleirosFixos)
    ->ArgsProduct({{9, 15}, {1, 0}})
    ->ArgNames({"N", "combinacoes"})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
