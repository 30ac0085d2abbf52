// New puzzles, and the table of digit combinations that the hints share with the generator.
// Failures are reported by no board, never by an exception. The generator's own steps and
// working types are in GeradorInterno.h, for the generator, its tests and its benchmarks.
#pragma once

#include "generator/Aleatorio.h"
#include "model/UnitSomado.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// ---- Generation -----------------------------------------------------------------------

// A finished puzzle of the given size whose graded level is ANivel, or none when 30
// candidates or the budget (ATempoLimiteMs > 0) ran out. Its attempts run on the cores the
// process's other generations leave idle; the puzzle depends only on the seed, drawn from the
// process-wide stream, so only the interface thread may call it.
std::unique_ptr<TSomadoBoard> GerarPuzzle(TTamanhoTabuleiro ATamanho, TNivelDificuldade ANivel,
                                          int64_t ATempoLimiteMs);
// The same with the seed drawn from AAleatorio (left advanced past that one draw), giving up
// when AParar is set from another thread: what a worker thread calls, each with its own
// stream. The same stream gives the same puzzle however many cores take part.
std::unique_ptr<TSomadoBoard> GerarPuzzleComAleatorio(TTamanhoTabuleiro ATamanho,
                                                      TNivelDificuldade ANivel,
                                                      int64_t ATempoLimiteMs,
                                                      TAleatorio& AAleatorio,
                                                      const std::atomic<bool>& AParar);

// The levels known to generate reliably for a size.
std::vector<TNivelDificuldade> NiveisSeguros(TTamanhoTabuleiro ATamanho);

// ---- Table of digit combinations --------------------------------------------------------

// A set of digits: bit d stands for digit d (1..9); bit 0 and bits 10..15 are always clear.
using TConjuntoDigitos = uint16_t;

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

inline constexpr TTabelaCombinacoes TabelaCombinacoes = [] {
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
}();

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
