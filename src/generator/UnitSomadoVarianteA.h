// Puzzle construction and grading: the deduction model (candidate digit sets, the table of
// digit combinations, the two per-run rules and their propagation), the local search that
// makes the sums determine every cell, and the difficulty grading.
#pragma once

#include "model/UnitSomado.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// ---- Digit sets: bit d stands for digit d (1..9) ------------------------------------

using TConjuntoDigitos = uint16_t;
inline constexpr TConjuntoDigitos CDominioCompleto = 0x03FE;
inline constexpr int32_t CIndeterminadasContradicao = 2147483647;

// A table rather than the popcount builtin: without a popcnt instruction in the target, the
// builtin is a library call, and these counts sit in the innermost loops.
inline constexpr auto CBitsDoConjunto = [] {
    std::array<uint8_t, 1024> bits{};
    for (int m = 1; m < 1024; ++m)
        bits[m] = static_cast<uint8_t>(bits[m >> 1] + (m & 1));
    return bits;
}();

inline int32_t ContarBits(TConjuntoDigitos AConjunto) {
    return CBitsDoConjunto[AConjunto & 1023];
}

inline bool UmSoDigito(TConjuntoDigitos AConjunto) {
    return AConjunto != 0 && (AConjunto & (AConjunto - 1)) == 0;
}

// ---- Table of digit combinations ------------------------------------------------------

inline constexpr int32_t CMaxComprimento = 9;
inline constexpr int32_t CMaxSoma = 45;

// Every set of L distinct digits adding up to S, for L in 1..9 and S in 0..45, each list in
// increasing order of the set's word. Built at compile time, read-only ever after.
struct TTabelaCombinacoes {
    std::array<TConjuntoDigitos, 511> Conjuntos{};
    // Start of each (L, S) list in Conjuntos and its length.
    std::array<std::array<int16_t, CMaxSoma + 1>, CMaxComprimento + 1> Inicio{};
    std::array<std::array<int16_t, CMaxSoma + 1>, CMaxComprimento + 1> Quantidade{};
};

constexpr TTabelaCombinacoes PreencherTabelaCombinacoes() {
    TTabelaCombinacoes t;
    auto digitosESoma = [](int m, int& digitos, int& soma) {
        digitos = soma = 0;
        for (int d = 1; d <= 9; ++d)
            if (m & (1 << (d - 1))) {
                ++digitos;
                soma += d;
            }
    };
    for (int m = 1; m <= 511; ++m) {
        int digitos = 0, soma = 0;
        digitosESoma(m, digitos, soma);
        ++t.Quantidade[digitos][soma];
    }
    int16_t proximo = 0;
    for (int L = 0; L <= CMaxComprimento; ++L)
        for (int S = 0; S <= CMaxSoma; ++S) {
            t.Inicio[L][S] = proximo;
            proximo = static_cast<int16_t>(proximo + t.Quantidade[L][S]);
        }
    std::array<std::array<int16_t, CMaxSoma + 1>, CMaxComprimento + 1> preenchidos{};
    for (int m = 1; m <= 511; ++m) {
        int digitos = 0, soma = 0;
        digitosESoma(m, digitos, soma);
        t.Conjuntos[t.Inicio[digitos][soma] + preenchidos[digitos][soma]++] =
            static_cast<TConjuntoDigitos>(m * 2);
    }
    return t;
}

inline constexpr TTabelaCombinacoes TabelaCombinacoes = PreencherTabelaCombinacoes();

inline int32_t ContarCombinacoes(int32_t L, int32_t S) {
    if (L < 1 || L > CMaxComprimento || S < 0 || S > CMaxSoma) return 0;
    return TabelaCombinacoes.Quantidade[L][S];
}

// The combinations of (L, S); empty outside the table.
inline std::span<const TConjuntoDigitos> Combinacoes(int32_t L, int32_t S) {
    if (L < 1 || L > CMaxComprimento || S < 0 || S > CMaxSoma) return {};
    return std::span(TabelaCombinacoes.Conjuntos)
        .subspan(static_cast<size_t>(TabelaCombinacoes.Inicio[L][S]),
                 static_cast<size_t>(TabelaCombinacoes.Quantidade[L][S]));
}

// ---- The model ------------------------------------------------------------------------

// White cells in row-major order; runs across first (board order), then down.
struct TModelo {
    int32_t NCel = 0;
    int32_t NRuns = 0;
    std::vector<int32_t> CelR;
    std::vector<int32_t> CelC;
    std::vector<std::vector<int32_t>> CelRun;
    std::vector<std::vector<int32_t>> RunCel;
    // The same lists laid out flat for the propagation's inner loops: the cells of run r are
    // RunCelPlano[RunInicio[r] .. RunInicio[r+1]), and the runs of cell k are CelRunPar[k]
    // (-1 for a missing second run).
    std::vector<int32_t> RunInicio;
    std::vector<int32_t> RunCelPlano;
    std::vector<std::array<int32_t, 2>> CelRunPar;
};

using TDominios = std::vector<TConjuntoDigitos>;

TModelo ConstruirModelo(const TSomadoBoard& ABoard);
std::vector<int32_t> SomasDosRuns(const TModelo& AModelo, std::span<const int32_t> ADigitos);
std::vector<int32_t> SomasDoTabuleiro(const TSomadoBoard& ABoard);

// The two rules on the candidate sets of one run of n cells (n <= 9), in place. AMudadas[i]
// is 1 when cell i's set narrowed. False on a contradiction.
bool FiltrarPorCombinacoes(std::span<TConjuntoDigitos> AConjuntos, int32_t ASoma,
                           std::array<uint8_t, CMaxComprimento>& AMudadas);
bool FiltrarPorPosicoes(std::span<TConjuntoDigitos> AConjuntos, int32_t ASoma,
                        std::array<uint8_t, CMaxComprimento>& AMudadas);

bool FiltrarRun(bool ASoCombinacoes, const TModelo& AModelo, int32_t ARun, int32_t ASoma,
                TDominios& ADominios, bool& AMudou, std::array<uint8_t, CMaxComprimento>& AMudadas);
bool Propagar(const TModelo& AModelo, std::span<const int32_t> ASomas, bool ASoCombinacoes,
              TDominios& ADominios);
// Cells left with more than one candidate after propagating the totals of ADigitos, or
// CIndeterminadasContradicao.
int32_t ContarIndeterminadas(const TModelo& AModelo, std::span<const int32_t> ADigitos,
                             bool ASoCombinacoes, TDominios& ADominios);

// The same count for totals that differ from those of a known state only in the runs
// ARunsMudados. ABase must come from PropagarSemRuns with exactly those runs left out (and the
// same other totals): every digit the full propagation keeps is still in it, so filtering
// from there ends in the same sets as starting from scratch, only sooner.
bool PropagarSemRuns(const TModelo& AModelo, std::span<const int32_t> ASomas, bool ASoCombinacoes,
                     std::span<const uint8_t> AFora, TDominios& ADominios);
int32_t ContarIndeterminadasDesde(const TModelo& AModelo, std::span<const int32_t> ASomas,
                                  bool ASoCombinacoes, const TDominios& ABase,
                                  std::span<const int32_t> ARunsMudados, TDominios& ADominios);

// Number of ContarIndeterminadas calls so far in this process (for the benchmarks).
int64_t ChamadasContarIndeterminadas();

// ---- Construction search --------------------------------------------------------------

inline constexpr int32_t CMaxPassosUnicidade = 100;
inline constexpr int32_t CRunsPorPasso = 8;
inline constexpr int32_t CMaxPropostasPorRun = 4;
inline constexpr int32_t CMaxCombinacoesProposta = 2;

using TArr9I = std::array<int32_t, 9>;

struct TProposta {
    int32_t Run = 0;
    TArr9I Digitos{};
};

// A monotonic stopwatch in milliseconds, started when made.
class TCronometro {
public:
    TCronometro() : FInicio(std::chrono::steady_clock::now()) {}
    int64_t DecorridoMs() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - FInicio)
            .count();
    }
    // The budget is spent when it is positive and the whole milliseconds passed exceed it.
    bool Esgotado(int64_t ALimiteMs) const { return ALimiteMs > 0 && DecorridoMs() > ALimiteMs; }

private:
    std::chrono::steady_clock::time_point FInicio;
};

bool SortearAtribuicao(std::span<const TConjuntoDigitos> APermitidos, std::span<int32_t> ADigitos);
void GerarPropostas(const TModelo& AModelo, std::span<const int32_t> ADigitos, int32_t ARun,
                    int32_t AMaximo, std::vector<TProposta>& APropostas);
bool ProcurarSolucaoUnica(const TModelo& AModelo, std::vector<int32_t>& ADigitos,
                          bool ASoCombinacoes, const TCronometro& ACronometro, int64_t ALimiteMs);

// ---- Grading --------------------------------------------------------------------------

inline constexpr double CLimiarFacil = 0.45;
inline constexpr double CLimiarDificil = 0.25;

struct TAvaliacao {
    double FracResolvidasCombinacoes = 0;
    bool ResolvidoCombinacoes = false;
    double FracRunsCombinacaoUnica = 0;
};

TAvaliacao AvaliarDificuldade(const TSomadoBoard& ABoard);
TNivelDificuldade NivelDaAvaliacao(const TAvaliacao& AAvaliacao);
int32_t PontuacaoDaAvaliacao(const TAvaliacao& AAvaliacao);

// ---- Candidate construction -----------------------------------------------------------

inline constexpr int32_t CMaxTabuleiros = 50;

bool NivelSoCombinacoes(TNivelDificuldade ANivel);
std::unique_ptr<TSomadoBoard> ConstruirPuzzle(TTamanhoTabuleiro ATamanho, bool ASoCombinacoes,
                                              const TCronometro& ACronometro, int64_t ALimiteMs);
