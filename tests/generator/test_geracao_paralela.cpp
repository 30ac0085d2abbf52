// One generation's attempts on several threads: the result is the one a single thread making
// the attempts in turn would find, whatever the number of threads and the order they finish in.
#include "generator/GeradorInterno.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using D = TDesfecho;

// Attempts whose outcomes are set in advance, finishing in a scrambled order: some wait a
// little, so that higher attempts often finish before lower ones.
struct TTentativasFixas {
    std::map<int32_t, D> Desfechos; // every other attempt fails to build
    std::optional<int32_t> Lancar;

    TResultadoTentativa operator()(int32_t AIndice, TContextoGeracao&) const {
        if (AIndice % 3 == 0) std::this_thread::sleep_for(std::chrono::microseconds(300));
        if (Lancar && AIndice == *Lancar) throw std::runtime_error("avaria");
        TResultadoTentativa resultado;
        const auto desfecho = Desfechos.find(AIndice);
        resultado.Desfecho = desfecho == Desfechos.end() ? D::dfFalhaConstrucao : desfecho->second;
        if (resultado.Desfecho == D::dfSucesso) {
            // The attempt's number goes with its board, to tell which one came back.
            resultado.Board = std::make_unique<TSomadoBoard>(6);
            resultado.Board->SetDifficultyScore(AIndice);
        }
        return resultado;
    }
};

std::map<int32_t, D> Seguidos(int32_t ADe, int32_t AQuantos, D ADesfecho) {
    std::map<int32_t, D> desfechos;
    for (int32_t k = ADe; k < ADe + AQuantos; ++k)
        desfechos[k] = ADesfecho;
    return desfechos;
}

std::map<int32_t, D> Juntar(std::map<int32_t, D> A, const std::map<int32_t, D>& B) {
    A.insert(B.begin(), B.end());
    return A;
}

// -1 for no board.
int32_t Vencedora(const TTentativasFixas& ATentativas, int32_t AThreads,
                  TEstatisticasGeracao* AEstatisticas = nullptr) {
    const std::atomic<bool> nunca{false};
    const std::unique_ptr<TSomadoBoard> board =
        CorrerTentativas(ATentativas, 1, AThreads, nunca, AEstatisticas);
    return board ? board->DifficultyScore() : -1;
}

} // namespace

TEST(CorrerTentativas, TheLowestAttemptThatEndsTheGenerationDecidesWithAnyNumberOfThreads) {
    struct TCaso {
        const char* Nome;
        std::map<int32_t, D> Desfechos;
        int32_t Esperada;
    };
    const std::vector<TCaso> casos = {
        {"the first success", {{7, D::dfSucesso}}, 7},
        {"two successes: the lower", {{5, D::dfSucesso}, {3, D::dfSucesso}}, 3},
        {"success in the 30th candidate",
         Juntar(Seguidos(0, 29, D::dfFalhaNivel), {{29, D::dfSucesso}}), 29},
        {"30 candidates graded wrongly: none after",
         Juntar(Seguidos(0, 30, D::dfFalhaNivel), {{30, D::dfSucesso}}), -1},
        {"50 boards that fail end a candidate",
         Juntar(Seguidos(0, 29, D::dfFalhaNivel), {{29 + 49, D::dfSucesso}}), 29 + 49},
        {"the 51st board of the last candidate is too late",
         Juntar(Seguidos(0, 29, D::dfFalhaNivel), {{29 + 50, D::dfSucesso}}), -1},
        {"a graded board starts the count of boards again",
         Juntar(Seguidos(0, 28, D::dfFalhaNivel), {{38, D::dfFalhaNivel}, {88, D::dfSucesso}}), 88},
        {"interrupted before a success", {{4, D::dfInterrompida}, {6, D::dfSucesso}}, -1},
        {"a success before an interruption", {{2, D::dfSucesso}, {4, D::dfInterrompida}}, 2},
        {"nothing ever built", {}, -1},
    };
    for (const TCaso& caso : casos)
        for (const int32_t threads : {1, 2, 8, 0}) {
            TTentativasFixas tentativas;
            tentativas.Desfechos = caso.Desfechos;
            EXPECT_EQ(Vencedora(tentativas, threads), caso.Esperada)
                << caso.Nome << ", " << threads << " threads";
        }
}

TEST(CorrerTentativas, OneThreadMakesTheAttemptsInTurnAndNoneAfterTheDecision) {
    TTentativasFixas tentativas;
    tentativas.Desfechos = {{12, D::dfSucesso}};
    TEstatisticasGeracao estatisticas;
    EXPECT_EQ(Vencedora(tentativas, 1, &estatisticas), 12);
    EXPECT_EQ(estatisticas.TentativasComecadas, 13);
    // 30 candidates of 50 boards each, and not one more.
    EXPECT_EQ(Vencedora(TTentativasFixas{}, 1, &estatisticas), -1);
    EXPECT_EQ(estatisticas.TentativasComecadas, CMaxTentativas);
}

TEST(CorrerTentativas, AnAttemptsExceptionReachesTheCallerUnlessALowerAttemptDecidedFirst) {
    for (const int32_t threads : {1, 2, 8}) {
        TTentativasFixas tentativas;
        tentativas.Lancar = 5;
        tentativas.Desfechos = {{9, D::dfSucesso}};
        EXPECT_THROW(Vencedora(tentativas, threads), std::runtime_error) << threads;
        tentativas.Desfechos = {{2, D::dfSucesso}};
        EXPECT_EQ(Vencedora(tentativas, threads), 2) << threads;
    }
}

TEST(CorrerTentativas, EachAttemptDrawsFromTheStreamOfItsSeedAndNumber) {
    std::mutex mutex;
    std::map<int32_t, uint64_t> primeiros;
    bool numerosCertos = true;
    const TFazerTentativa fazer = [&](int32_t AIndice, TContextoGeracao& AContexto) {
        const uint64_t primeiro = AContexto.Aleatorio.Proximo();
        std::lock_guard bloqueio(mutex);
        primeiros[AIndice] = primeiro;
        numerosCertos = numerosCertos && AContexto.Tentativa == AIndice;
        TResultadoTentativa resultado;
        resultado.Desfecho = AIndice == 20 ? D::dfSucesso : D::dfFalhaConstrucao;
        if (AIndice == 20) resultado.Board = std::make_unique<TSomadoBoard>(6);
        return resultado;
    };
    const std::atomic<bool> nunca{false};
    ASSERT_NE(CorrerTentativas(fazer, 77, 4, nunca), nullptr);
    EXPECT_TRUE(numerosCertos);
    for (int32_t k = 0; k <= 20; ++k) {
        ASSERT_EQ(primeiros.count(k), 1u) << k;
        EXPECT_EQ(primeiros[k], TAleatorio::DaTentativa(77, static_cast<uint64_t>(k)).Proximo());
    }
    EXPECT_NE(TAleatorio::DaTentativa(77, 0).Proximo(), TAleatorio::DaTentativa(78, 0).Proximo());
    EXPECT_NE(TAleatorio::DaTentativa(77, 0).Proximo(), TAleatorio::DoPuzzle(77, 0).Proximo());
}

// Attempts that run until they are told to give up: a stop reaches each of them, and no
// attempt starts after it.
TEST(CorrerTentativas, AStopReachesEveryRunningAttemptAndStartsNoOther) {
    for (const bool antes : {false, true}) {
        std::atomic<bool> parar{antes};
        std::atomic<int32_t> aCorrer{0};
        const TCronometro cronometro;
        const TFazerTentativa fazer = [&](int32_t, TContextoGeracao& AContexto) {
            ++aCorrer;
            while (!AContexto.Interromper(cronometro, 0))
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return TResultadoTentativa{};
        };
        std::thread quemPara([&] {
            while (aCorrer < 4 && !antes)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            parar = true;
        });
        TEstatisticasGeracao estatisticas;
        EXPECT_EQ(CorrerTentativas(fazer, 3, 4, parar, &estatisticas), nullptr);
        quemPara.join();
        EXPECT_EQ(estatisticas.TentativasComecadas, antes ? 0 : 4) << antes;
    }
}

namespace {

// What tells two puzzles apart: every cell's kind, solution and sums, the level and the score.
std::vector<int32_t> Conteudo(const TSomadoBoard& ABoard) {
    std::vector<int32_t> conteudo{ABoard.Size(), static_cast<int32_t>(ABoard.Difficulty()),
                                  ABoard.DifficultyScore()};
    for (int32_t r = 0; r < ABoard.Size(); ++r)
        for (int32_t c = 0; c < ABoard.Size(); ++c) {
            const TSomadoCell cell = ABoard.GetCell(r, c);
            conteudo.insert(conteudo.end(), {static_cast<int32_t>(cell.CellType), cell.Solution,
                                             cell.RightSum, cell.DownSum});
        }
    return conteudo;
}

} // namespace

TEST(GerarPuzzleEmParalelo, TheSameSeedGivesTheSamePuzzleWithOneTwoOrEightThreads) {
    using T = TTamanhoTabuleiro;
    using N = TNivelDificuldade;
    const std::atomic<bool> nunca{false};
    for (const auto& [tamanho, nivel] :
         {std::pair{T::tt6, N::ndFacil}, std::pair{T::tt9, N::ndMedio},
          std::pair{T::tt9, N::ndDificil}, std::pair{T::tt12, N::ndMuitoDificil}})
        for (const uint64_t semente : {1u, 2u}) {
            const std::unique_ptr<TSomadoBoard> umThread =
                GerarPuzzleEmParalelo(tamanho, nivel, 0, semente, 1, nunca);
            ASSERT_NE(umThread, nullptr);
            EXPECT_EQ(umThread->Difficulty(), nivel);
            for (const int32_t threads : {2, 8, 0}) {
                const std::unique_ptr<TSomadoBoard> board =
                    GerarPuzzleEmParalelo(tamanho, nivel, 0, semente, threads, nunca);
                ASSERT_NE(board, nullptr);
                EXPECT_EQ(Conteudo(*board), Conteudo(*umThread))
                    << LadoDoTabuleiro(tamanho) << " level " << static_cast<int>(nivel) << " seed "
                    << semente << ", " << threads << " threads";
            }
            const std::unique_ptr<TSomadoBoard> outra =
                GerarPuzzleEmParalelo(tamanho, nivel, 0, semente + 100, 2, nunca);
            ASSERT_NE(outra, nullptr);
            EXPECT_NE(Conteudo(*outra), Conteudo(*umThread)) << "another seed, another puzzle";
        }
}

TEST(GerarPuzzleComAleatorio, TakesOneDrawForItsSeed) {
    TAleatorio aleatorio(5), copia(5);
    const std::atomic<bool> nunca{false};
    const std::unique_ptr<TSomadoBoard> board = GerarPuzzleComAleatorio(
        TTamanhoTabuleiro::tt6, TNivelDificuldade::ndMedio, 0, aleatorio, nunca);
    ASSERT_NE(board, nullptr);
    const std::unique_ptr<TSomadoBoard> mesmo = GerarPuzzleEmParalelo(
        TTamanhoTabuleiro::tt6, TNivelDificuldade::ndMedio, 0, copia.Proximo(), 1, nunca);
    ASSERT_NE(mesmo, nullptr);
    EXPECT_EQ(Conteudo(*board), Conteudo(*mesmo));
    EXPECT_EQ(aleatorio.Proximo(), copia.Proximo());
}

// A stop reaches the attempts inside their construction search: a large board with no budget,
// stopped soon after it started, ends with nothing. On a loaded machine the stop may come before
// any attempt began, which proves nothing, so the wait grows until one did.
TEST(GerarPuzzleEmParalelo, AStopEndsEveryAttemptOfALargeBoard) {
    TEstatisticasGeracao estatisticas;
    for (const int esperaMs : {50, 250, 1000, 4000}) {
        std::atomic<bool> parar{false};
        std::thread quemPara([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(esperaMs));
            parar = true;
        });
        estatisticas = {};
        EXPECT_EQ(GerarPuzzleEmParalelo(TTamanhoTabuleiro::tt25, TNivelDificuldade::ndMuitoDificil,
                                        0, 9, 4, parar, &estatisticas),
                  nullptr)
            << "stopped after " << esperaMs << " ms";
        quemPara.join();
        if (estatisticas.TentativasComecadas >= 1) break;
    }
    EXPECT_GE(estatisticas.TentativasComecadas, 1);
}
