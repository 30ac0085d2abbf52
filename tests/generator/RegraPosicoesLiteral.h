// The position rule exactly as it is stated: a matching test per combination, cell and digit.
// Slow on failing cases, which is why the program uses another formulation; kept here as
// the oracle that the fast one must agree with.
#pragma once

#include "generator/GeradorInterno.h"

inline bool ExisteEmparelhamento(std::span<const TConjuntoDigitos> AConjuntos, int32_t AFora,
                                 size_t APosicao, TConjuntoDigitos ADisponiveis) {
    if (APosicao == AConjuntos.size()) return true;
    if (static_cast<int32_t>(APosicao) == AFora)
        return ExisteEmparelhamento(AConjuntos, AFora, APosicao + 1, ADisponiveis);
    for (int32_t d = 1; d <= 9; ++d) {
        const auto bit = static_cast<TConjuntoDigitos>(1u << d);
        if ((AConjuntos[APosicao] & ADisponiveis & bit) &&
            ExisteEmparelhamento(AConjuntos, AFora, APosicao + 1,
                                 static_cast<TConjuntoDigitos>(ADisponiveis & ~bit)))
            return true;
    }
    return false;
}

inline bool FiltrarPorPosicoesLiteral(std::span<TConjuntoDigitos> AConjuntos, int32_t ASoma,
                                      std::array<uint8_t, CMaxComprimento>& AMudadas) {
    const size_t n = AConjuntos.size();
    std::array<TConjuntoDigitos, CMaxComprimento> suportados{};
    AMudadas.fill(0);
    if (ASoma < 0 || ASoma > CMaxSoma) return false;
    for (const TConjuntoDigitos c : Combinacoes(static_cast<int32_t>(n), ASoma)) {
        bool todasTocam = true;
        for (const TConjuntoDigitos conjunto : AConjuntos)
            todasTocam = todasTocam && (conjunto & c);
        if (!todasTocam || !ExisteEmparelhamento(AConjuntos, -1, 0, c)) continue;
        for (size_t i = 0; i < n; ++i)
            for (int32_t g = 1; g <= 9; ++g) {
                const auto bit = static_cast<TConjuntoDigitos>(1u << g);
                if (!(c & bit) || !(AConjuntos[i] & bit) || (suportados[i] & bit)) continue;
                if (ExisteEmparelhamento(AConjuntos, static_cast<int32_t>(i), 0,
                                         static_cast<TConjuntoDigitos>(c & ~bit)))
                    suportados[i] |= bit;
            }
    }
    for (size_t i = 0; i < n; ++i) {
        if (suportados[i] == 0) return false;
        if (suportados[i] != AConjuntos[i]) {
            AConjuntos[i] = suportados[i];
            AMudadas[i] = 1;
        }
    }
    return true;
}
