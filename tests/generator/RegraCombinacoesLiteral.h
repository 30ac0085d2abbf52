// The combination rule exactly as it is stated: the settled digits, the union of the open
// cells, and one pass over the combinations of the total. The program works it out with
// look-up tables instead; this is the oracle that the quick one must agree with.
#pragma once

#include "generator/GeradorInterno.h"

inline bool FiltrarPorCombinacoesLiteral(std::span<TConjuntoDigitos> AConjuntos, int32_t ASoma,
                                         std::array<uint8_t, CMaxComprimento>& AMudadas) {
    AMudadas.fill(0);
    const size_t n = AConjuntos.size();
    TConjuntoDigitos fixos = 0, uniaoAbertas = 0;
    bool haAbertas = false;
    for (const TConjuntoDigitos conjunto : AConjuntos) {
        if (ContarBits(conjunto) == 1) {
            if (fixos & conjunto) return false;
            fixos = static_cast<TConjuntoDigitos>(fixos | conjunto);
        } else {
            uniaoAbertas = static_cast<TConjuntoDigitos>(uniaoAbertas | conjunto);
            haAbertas = true;
        }
    }
    if (ASoma < 0 || ASoma > CMaxSoma) return false;
    const std::span<const TConjuntoDigitos> combinacoes =
        Combinacoes(static_cast<int32_t>(n), ASoma);
    if (!haAbertas) {
        for (const TConjuntoDigitos c : combinacoes)
            if (c == fixos) return true;
        return false;
    }
    TConjuntoDigitos permitidos = 0;
    for (const TConjuntoDigitos c : combinacoes) {
        if ((c & fixos) != fixos) continue;
        const auto resto = static_cast<TConjuntoDigitos>(c & ~fixos);
        if (resto & ~uniaoAbertas) continue;
        bool todasPartilham = true;
        for (const TConjuntoDigitos conjunto : AConjuntos)
            if (ContarBits(conjunto) != 1 && !(conjunto & resto)) todasPartilham = false;
        if (todasPartilham) permitidos = static_cast<TConjuntoDigitos>(permitidos | resto);
    }
    std::array<TConjuntoDigitos, CMaxComprimento> novos{};
    for (size_t i = 0; i < n; ++i) {
        novos[i] = AConjuntos[i];
        if (ContarBits(AConjuntos[i]) == 1) continue;
        novos[i] = static_cast<TConjuntoDigitos>(AConjuntos[i] & permitidos & ~fixos);
        if (novos[i] == 0) return false;
    }
    for (size_t i = 0; i < n; ++i)
        if (novos[i] != AConjuntos[i]) {
            AConjuntos[i] = novos[i];
            AMudadas[i] = 1;
        }
    return true;
}
