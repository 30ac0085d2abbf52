// Small fixtures: a pattern drawn as text, '#' blocked and '.' white, row 0 first.
#pragma once

#include "generator/GeradorInterno.h"

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

// A 6 × 6 board whose only white cells are the 2 × 2 block at (1..2, 1..2), with these
// solution digits in reading order and the sums that follow from them.
inline TSomadoBoard BlocoDoisPorDois(const std::array<int32_t, 4>& ADigitos) {
    TSomadoBoard board(6);
    AplicarGrelha(board, GrelhaDeTexto({"######", "#..###", "#..###"}));
    for (int i = 0; i < 4; ++i) {
        TSomadoCell cell = board.GetCell(1 + i / 2, 1 + i % 2);
        cell.Solution = ADigitos[i];
        board.SetCell(1 + i / 2, 1 + i % 2, cell);
    }
    CalcularSomas(board);
    return board;
}
