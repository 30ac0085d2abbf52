// A batch's puzzles generated on worker threads, each from its own random stream, so that a
// seed gives the same book whatever the number of threads.
#pragma once

#include "generator/UnitSomadoGenerator.h"
#include "model/UnitSomado.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

inline constexpr int32_t CTentativasPorPuzzleLote = 5;
inline constexpr int64_t CTempoLimiteLoteMs = 60000;

// Makes one puzzle drawing from AAleatorio (and leaves it advanced), giving up soon after
// AParar is set. It may run on a worker thread, several at once on different streams.
using TGeradorDePuzzles = std::function<std::unique_ptr<TSomadoBoard>(
    TTamanhoTabuleiro ATamanho, TNivelDificuldade ANivel, int64_t ATempoLimiteMs,
    TAleatorio& AAleatorio, const std::atomic<bool>& AParar)>;

// The cores the machine reports, at least one.
int32_t ThreadsDaMaquina();

// A batch's puzzles in book order: the level of each, the attempts and the budget of each
// attempt, the batch's seed and the worker threads (0: one per core).
struct TPedidoLote {
    TTamanhoTabuleiro Tamanho = TTamanhoTabuleiro::tt9;
    std::vector<TNivelDificuldade> Niveis;
    int32_t Tentativas = CTentativasPorPuzzleLote;
    int64_t TempoLimiteMs = CTempoLimiteLoteMs;
    uint64_t Semente = 0;
    int32_t Threads = 0;
};

// How far a batch has got: the puzzles finished, and the first puzzle not finished (in book
// order) with its attempt.
struct TProgressoLote {
    int32_t Concluidos = 0;
    int32_t Indice = 0;
    int32_t Tentativa = 1;
};

// Puzzles generated on worker threads from the moment it is made: a batch, or a single new
// puzzle as a batch of one. The workers take the puzzles in book order; puzzle k draws from its
// own stream, TAleatorio::DoPuzzle(Semente, k), so the book is the same whatever the number of
// threads and the order puzzles finish in. The real generator spreads each puzzle's attempts
// over the cores no worker is using (GerarPuzzleComAleatorio): a batch of one, or the last
// puzzles of a book, take every core, with the same puzzles. Destroying it stops the workers
// and waits for them.
class TGeracaoLote {
public:
    // AAoMudar, when given, is called on a worker thread after every change (an attempt
    // started, a puzzle finished, the end); it must only hand the news on.
    TGeracaoLote(TGeradorDePuzzles AGerador, TPedidoLote APedido,
                 std::function<void()> AAoMudar = {});
    ~TGeracaoLote();
    TGeracaoLote(const TGeracaoLote&) = delete;
    TGeracaoLote& operator=(const TGeracaoLote&) = delete;

    // Asks the workers to stop: no new puzzle or attempt starts, and the ones running give up.
    void Parar();
    bool Terminada() const;
    // Returns when something changed (an attempt started, a puzzle finished, the end) or
    // after AMaximo.
    void Esperar(std::chrono::milliseconds AMaximo);
    TProgressoLote Progresso() const;
    // Once it has ended: one board per puzzle in book order, none where all attempts failed
    // (or it was stopped). An error a worker met is raised here.
    std::vector<std::unique_ptr<TSomadoBoard>> Resultados();

private:
    void Trabalhar();
    void Avisar();

    TGeradorDePuzzles FGerador;
    std::function<void()> FAoMudar;
    const TPedidoLote FPedido;
    std::atomic<bool> FParar{false};
    std::atomic<int32_t> FProximo{0};
    mutable std::mutex FMutex;
    std::condition_variable FMudou;
    // Under FMutex.
    std::vector<std::unique_ptr<TSomadoBoard>> FResultados;
    std::vector<int32_t> FTentativas;
    std::vector<bool> FFeitos;
    int32_t FConcluidos = 0;
    int32_t FActivos = 0;
    int64_t FMudancas = 0;
    std::exception_ptr FErro;
    std::vector<std::thread> FTrabalhadores;
};
