// "Explicar um passo" answers a key press, so it has to fit well within a frame (16 ms):
// ExplicarPasso on the largest boards the window offers (15 × 15 Muito Difícil) and the
// largest of all (25 × 25 Difícil), at the start and halfway, the half reached by following the
// explained steps themselves (digits written, marks removed). Each iteration explains one step
// on one board, the boards taken in turn, so the time shown is the time of one call.
// Run: build/bench/bench_explicacao --benchmark_repetitions=5 --benchmark_report_aggregates_only
#include "game/Explicacao.h"
#include "generator/UnitSomadoGenerator.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <map>
#include <memory>
#include <utility>

namespace {

struct TJogoEmCurso {
    std::unique_ptr<TSomadoBoard> Board;
    std::vector<uint16_t> Notas;
};

int32_t Vazias(const TSomadoBoard& ABoard) {
    int32_t vazias = 0;
    for (int32_t r = 0; r < ABoard.Size(); ++r)
        for (int32_t c = 0; c < ABoard.Size(); ++c)
            vazias += CelulaBranca(ABoard, r, c) && ABoard.GetCell(r, c).Value == 0;
    return vazias;
}

// Follows explained steps until half the empty cells hold their digit.
void AteMeio(TJogoEmCurso& AJogo) {
    TSomadoBoard& board = *AJogo.Board;
    const int32_t alvo = Vazias(board) / 2;
    for (int32_t escritas = 0; escritas < alvo;) {
        const TPassoExplicado p = ExplicarPasso(board, AJogo.Notas);
        if (p.Tipo == TPassoExplicado::TTipo::FixaCelula) {
            TSomadoCell cell = board.GetCell(p.Row, p.Col);
            cell.Value = p.Digito;
            board.SetCell(p.Row, p.Col, cell);
            ++escritas;
        } else if (p.Tipo == TPassoExplicado::TTipo::RetiraCandidatos) {
            for (const TMudancaNotas& m : p.NotasRetiradas)
                AJogo.Notas[static_cast<size_t>(m.Row) * board.Size() + m.Col] = m.Depois;
        } else {
            return;
        }
    }
}

// Seeds that generate in well under a second without a time budget.
const std::vector<TJogoEmCurso>& Jogos(int32_t ALado, bool AMeio) {
    static std::map<std::pair<int32_t, bool>, std::vector<TJogoEmCurso>> cache;
    std::vector<TJogoEmCurso>& jogos = cache[{ALado, AMeio}];
    if (!jogos.empty()) return jogos;
    const bool grande = ALado == 25;
    const TTamanhoTabuleiro tamanho = grande ? TTamanhoTabuleiro::tt25 : TTamanhoTabuleiro::tt15;
    const TNivelDificuldade nivel =
        grande ? TNivelDificuldade::ndDificil : TNivelDificuldade::ndMuitoDificil;
    const std::atomic<bool> parar{false};
    for (const uint64_t semente :
         grande ? std::vector<uint64_t>{7} : std::vector<uint64_t>{1, 2, 3}) {
        TAleatorio aleatorio(semente);
        TJogoEmCurso jogo{GerarPuzzleComAleatorio(tamanho, nivel, 0, aleatorio, parar), {}};
        if (!jogo.Board) continue;
        jogo.Notas.assign(static_cast<size_t>(ALado) * ALado, 0);
        if (AMeio) AteMeio(jogo);
        jogos.push_back(std::move(jogo));
    }
    return jogos;
}

// Runs AAccao over the boards of the size and fill the benchmark's arguments name, in turn.
template <typename TAccao> void SobreOsJogos(benchmark::State& state, TAccao AAccao) {
    const std::vector<TJogoEmCurso>& jogos =
        Jogos(static_cast<int32_t>(state.range(0)), state.range(1) != 0);
    if (jogos.empty()) {
        state.SkipWithError("no board");
        return;
    }
    size_t i = 0;
    for (auto _ : state) {
        const TJogoEmCurso& jogo = jogos[i];
        benchmark::DoNotOptimize(AAccao(*jogo.Board, jogo.Notas));
        i = i + 1 == jogos.size() ? 0 : i + 1;
    }
}

void ExplicarUmPasso(benchmark::State& state) {
    SobreOsJogos(state, [](const TSomadoBoard& ABoard, const std::vector<uint16_t>& ANotas) {
        return ExplicarPasso(ABoard, ANotas);
    });
}

void CandidatosParaAsNotas(benchmark::State& state) {
    SobreOsJogos(state, [](const TSomadoBoard& ABoard, const std::vector<uint16_t>& ANotas) {
        return CandidatosDasCorridas(ABoard, ANotas);
    });
}

} // namespace

BENCHMARK(ExplicarUmPasso)
    ->ArgsProduct({{15, 25}, {0, 1}})
    ->ArgNames({"N", "meio"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(CandidatosParaAsNotas)
    ->ArgsProduct({{15, 25}, {0, 1}})
    ->ArgNames({"N", "meio"})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
