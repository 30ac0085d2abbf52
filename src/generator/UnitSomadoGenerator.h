// New boards: grid layout, run extraction, loose-cell repair, solution filling and sums.
// Failures are reported by a false result, never by an exception.
#pragma once

#include "generator/Aleatorio.h"
#include "generator/ConjuntoDigitos.h"
#include "model/UnitSomado.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

// true = blocked (black or clue), false = white. Only the first N rows and columns of a
// board of side N are used.
using TGrelhaBooleana = std::array<std::array<bool, CLadoMaximo>, CLadoMaximo>;

TGrelhaBooleana GrelhaBloqueada();
// The board's current layout as a pattern.
TGrelhaBooleana GrelhaDoTabuleiro(const TSomadoBoard& ABoard);

// ---- Run extraction ------------------------------------------------------------------

inline constexpr int32_t CComprimentoMaximoRun = 9;

// Visits the cells of a run in order along it, as AVisita(row, column).
template <typename TVisita> void ParaCadaCelulaDoRun(const TSomadoGroup& ARun, TVisita&& AVisita) {
    const int32_t dr = ARun.IsHorizontal ? 0 : 1, dc = ARun.IsHorizontal ? 1 : 0;
    for (int32_t i = 0; i < ARun.Length; ++i)
        AVisita(ARun.StartRow + i * dr, ARun.StartCol + i * dc);
}

bool ExtrairGrupos(const TGrelhaBooleana& g, int32_t N, TSomadoGroupArray& AAcross,
                   TSomadoGroupArray& ADown);
// Writes the layout of g into the board; false (board untouched) when g breaks the run rules.
bool AplicarGrelha(TSomadoBoard& ABoard, const TGrelhaBooleana& g);
int32_t MaiorRegiaoBranca(const TGrelhaBooleana& g, int32_t N);
bool BrancasLigadas(const TGrelhaBooleana& g, int32_t N);

// ---- Grid layout ---------------------------------------------------------------------

inline constexpr int32_t AComprimentoMin = 2;
inline constexpr int32_t AComprimentoMax = 9;
inline constexpr double CDensidadePretas = 0.45;
inline constexpr int32_t CSorteiosComprimento = 1;
inline constexpr int32_t CMaxTentativasGrelha = 1000;
inline constexpr int32_t CMaxFalhasSeguidas = 30;
inline constexpr double CProbabilidadeBarraTocante = 0.9;
inline constexpr double CFracaoMinimaAlvo = 0.95;
inline constexpr double CProbabilidadeHorizontal = 0.5;

struct TCandidatoBarra {
    int32_t LinhaFixa = 0;
    int32_t Inicio = 0;
    int32_t ComprimentoMax = 0;
    friend bool operator==(const TCandidatoBarra&, const TCandidatoBarra&) = default;
};

struct TBarraEscolhida {
    int32_t LinhaFixa = 0;
    int32_t Inicio = 0;
    int32_t Comprimento = 0;
    friend bool operator==(const TBarraEscolhida&, const TBarraEscolhida&) = default;
};

// White cells the first pass aims at, and the fewest it accepts.
int32_t AlvoBrancas(int32_t N);
int32_t MinimoBrancas(int32_t N);

std::vector<TCandidatoBarra> ListarCandidatosBarra(const TGrelhaBooleana& g, int32_t N,
                                                   bool AHorizontal, int32_t AMin, int32_t AMax);
// The same into ACandidatos, whose storage is reused.
void ListarCandidatosBarra(const TGrelhaBooleana& g, int32_t N, bool AHorizontal, int32_t AMin,
                           int32_t AMax, std::vector<TCandidatoBarra>& ACandidatos);
bool BarraTocaBranca(const TGrelhaBooleana& g, int32_t N, bool AHorizontal, int32_t ALinha,
                     int32_t AInicio, int32_t AComprimento);
bool ColocarBarra(TGrelhaBooleana& g, int32_t N, int32_t ALinha, int32_t AColuna, bool AHorizontal,
                  int32_t AComprimento);
void RetirarBarra(TGrelhaBooleana& g, bool AHorizontal, const TBarraEscolhida& ABarra);
TBarraEscolhida EspelharBarra(int32_t N, const TBarraEscolhida& ABarra);
bool BarraAutoEspelhada(int32_t N, const TBarraEscolhida& ABarra);

// The steps that draw take the stream to draw from; by default the process-wide one, which
// only the interface thread may use.
bool GerarGrelhaPorBarras(TSomadoBoard& ABoard, int32_t AMin, int32_t AMax,
                          TAleatorio& AAleatorio = AleatorioDoProcesso());
void AdensarGrelha(TSomadoBoard& ABoard, int32_t AMin, int32_t AMax,
                   TAleatorio& AAleatorio = AleatorioDoProcesso());
bool GerarGrelha(TSomadoBoard& ABoard, int32_t AMin, int32_t AMax,
                 TAleatorio& AAleatorio = AleatorioDoProcesso());

// ---- Loose-cell repair ---------------------------------------------------------------

inline constexpr int32_t CMaxPassosSoltas = 200;

struct TPosicaoGrelha {
    int32_t R = 0;
    int32_t C = 0;
    friend bool operator==(const TPosicaoGrelha&, const TPosicaoGrelha&) = default;
};

void MarcarCelulasEmGrupos(const TSomadoBoard& ABoard, TGrelhaBooleana& AEmHorizontal,
                           TGrelhaBooleana& AEmVertical);
// Lists the loose cells of every run holding two or more of them; returns the number of
// such runs.
int32_t ListarCelulasSoltas(const TSomadoBoard& ABoard, std::vector<TPosicaoGrelha>& ALista,
                            TGrelhaBooleana& AEmHorizontal, TGrelhaBooleana& AEmVertical);
int32_t ContarGruposComSoltas(const TSomadoBoard& ABoard);
void CopiarGrelha(const TGrelhaBooleana& AOrigem, TGrelhaBooleana& ADestino);
bool RepararCelulasSoltas(TSomadoBoard& ABoard, TAleatorio& AAleatorio = AleatorioDoProcesso());

// ---- Solution filling and run sums ---------------------------------------------------

inline constexpr int64_t CMaxColocacoes = 50000;

struct TCelulaVazia {
    int32_t Row = 0;
    int32_t Col = 0;
};

// The order in which a cell tries its digits, given the length of its shorter run:
// extreme digits first for short runs, where they narrow the sums the most.
std::array<int32_t, 9> OrdemDigitos(int32_t AMaisCurto,
                                    TAleatorio& AAleatorio = AleatorioDoProcesso());

bool PreencherSolucao(TSomadoBoard& ABoard, TAleatorio& AAleatorio = AleatorioDoProcesso());
void CalcularSomas(TSomadoBoard& ABoard);

// ---- Generation entry -----------------------------------------------------------------

inline constexpr int32_t CMaxCandidatos = 30;

struct TContextoGeracao;

// A finished puzzle of the given size whose graded level is ANivel, or none when 30
// candidates or the budget (ATempoLimiteMs > 0) ran out. Never throws for a bad outcome.
std::unique_ptr<TSomadoBoard> GerarPuzzle(TTamanhoTabuleiro ATamanho, TNivelDificuldade ANivel,
                                          int64_t ATempoLimiteMs);
// The same drawing from AAleatorio (left advanced past the draws), and giving up when AParar
// (if any) is set from another thread: what a worker thread calls, each with its own stream.
std::unique_ptr<TSomadoBoard> GerarPuzzleComAleatorio(TTamanhoTabuleiro ATamanho,
                                                      TNivelDificuldade ANivel,
                                                      int64_t ATempoLimiteMs,
                                                      TAleatorio& AAleatorio,
                                                      const std::atomic<bool>& AParar);
// The same with a context of the caller's, whose counters the benchmarks read afterwards.
std::unique_ptr<TSomadoBoard> GerarPuzzleNoContexto(TTamanhoTabuleiro ATamanho,
                                                    TNivelDificuldade ANivel,
                                                    int64_t ATempoLimiteMs,
                                                    TContextoGeracao& AContexto);

// The levels known to generate reliably for a size.
std::vector<TNivelDificuldade> NiveisSeguros(TTamanhoTabuleiro ATamanho);
