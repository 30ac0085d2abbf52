// Small fixtures: a pattern drawn as text, '#' blocked and '.' white, row 0 first.
#pragma once

#include "generator/UnitSomadoGenerator.h"

#include <string>
#include <vector>

inline TGrelhaBooleana GrelhaDeTexto(const std::vector<std::string>& ALinhas) {
    TGrelhaBooleana g = GrelhaBloqueada();
    for (size_t r = 0; r < ALinhas.size(); ++r)
        for (size_t c = 0; c < ALinhas[r].size(); ++c)
            g[r][c] = ALinhas[r][c] != '.';
    return g;
}

inline std::vector<std::string> TextoDaGrelha(const TGrelhaBooleana& g, int32_t N) {
    std::vector<std::string> linhas(N, std::string(N, '#'));
    for (int32_t r = 0; r < N; ++r)
        for (int32_t c = 0; c < N; ++c)
            if (!g[r][c]) linhas[r][c] = '.';
    return linhas;
}
