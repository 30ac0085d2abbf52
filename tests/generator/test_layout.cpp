#include "GrelhaDeTexto.h"

#include <gtest/gtest.h>

TEST(AlvoBrancas, TargetAndLeastAcceptedPerSize) {
    const struct {
        int32_t N, alvo, minimo;
    } casos[] = {{6, 14, 13},    {9, 35, 33},    {12, 67, 64},  {15, 108, 103},
                 {16, 124, 118}, {20, 199, 189}, {25, 317, 301}};
    for (const auto& caso : casos) {
        EXPECT_EQ(AlvoBrancas(caso.N), caso.alvo) << caso.N;
        EXPECT_EQ(MinimoBrancas(caso.N), caso.minimo) << caso.N;
    }
}

TEST(ListarCandidatosBarra, FullyBlockedLineReachesBothEdges) {
    const TGrelhaBooleana g = GrelhaBloqueada();
    const auto candidatos = ListarCandidatosBarra(g, 9, true, 2, 9);
    ASSERT_EQ(candidatos.size(), 8u * 7u);
    for (int32_t k = 0; k < 7; ++k)
        EXPECT_EQ(candidatos[k], (TCandidatoBarra{1, k + 1, 8 - k}));
    EXPECT_EQ(candidatos.back(), (TCandidatoBarra{8, 7, 2}));
}

TEST(ListarCandidatosBarra, KeepsOneBlockedCellBesideWhiteCells) {
    // Row 4 (and, read down, column 4) is blocked at 1..3 and 6..8 and white at 4..5.
    TGrelhaBooleana g = GrelhaBloqueada();
    g[4][4] = g[4][5] = false;
    const auto across = ListarCandidatosBarra(g, 9, true, 2, 9);
    std::vector<TCandidatoBarra> linha4;
    for (const auto& c : across)
        if (c.LinhaFixa == 4) linha4.push_back(c);
    EXPECT_EQ(linha4, (std::vector<TCandidatoBarra>{{4, 1, 2}, {4, 7, 2}}));

    TGrelhaBooleana t = GrelhaBloqueada();
    t[4][4] = t[5][4] = false;
    std::vector<TCandidatoBarra> coluna4;
    for (const auto& c : ListarCandidatosBarra(t, 9, false, 2, 9))
        if (c.LinhaFixa == 4) coluna4.push_back(c);
    EXPECT_EQ(coluna4, linha4);
}

TEST(ListarCandidatosBarra, CapsLengthAtTheMaximum) {
    const auto candidatos = ListarCandidatosBarra(GrelhaBloqueada(), 16, true, 2, 9);
    EXPECT_EQ(candidatos.front(), (TCandidatoBarra{1, 1, 9}));
    EXPECT_EQ(candidatos[6], (TCandidatoBarra{1, 7, 9}));
    EXPECT_EQ(candidatos[7], (TCandidatoBarra{1, 8, 8}));
}

TEST(EspelharBarra, HalfTurnMirror) {
    EXPECT_EQ(EspelharBarra(9, {2, 1, 3}), (TBarraEscolhida{7, 6, 3}));
    EXPECT_TRUE(BarraAutoEspelhada(6, {3, 2, 3}));
    EXPECT_FALSE(BarraAutoEspelhada(6, {3, 1, 3}));
    // With odd N the middle line N/2 never equals N - N/2, so no bar is its own mirror.
    for (int32_t N : {9, 15, 25})
        for (int32_t L = 1; L < N; ++L)
            for (int32_t I = 1; I < N; ++I)
                for (int32_t C = 2; I + C - 1 < N && C <= 9; ++C)
                    EXPECT_FALSE(BarraAutoEspelhada(N, {L, I, C}));
}

TEST(ColocarBarra, PlacesOnlyOnBlockedCellsAwayFromWhiteEnds) {
    struct Caso {
        const char* nome;
        int32_t linha, coluna;
        bool horizontal;
        int32_t comprimento;
        bool aceite;
    };
    // Existing white cells: (3,3) and (3,4).
    const Caso casos[] = {
        {"free spot", 5, 1, true, 4, true},
        {"touches a white cell at its end", 3, 1, true, 2, false},
        {"touches a white cell at its start", 3, 5, true, 2, false},
        {"overlaps a white cell", 1, 3, false, 3, false},
        {"reaches the frame", 0, 2, true, 2, false},
        {"leaves the board", 5, 7, true, 3, false},
        {"side by side is allowed", 4, 3, true, 2, true},
        {"at the edge of the playing area", 1, 8, false, 8, true},
    };
    for (const Caso& caso : casos) {
        TGrelhaBooleana g = GrelhaBloqueada();
        g[3][3] = g[3][4] = false;
        const TGrelhaBooleana antes = g;
        EXPECT_EQ(ColocarBarra(g, 9, caso.linha, caso.coluna, caso.horizontal, caso.comprimento),
                  caso.aceite)
            << caso.nome;
        if (!caso.aceite) {
            EXPECT_EQ(g, antes) << caso.nome;
            continue;
        }
        for (int32_t i = 0; i < caso.comprimento; ++i) {
            const int32_t r = caso.linha + (caso.horizontal ? 0 : i);
            const int32_t c = caso.coluna + (caso.horizontal ? i : 0);
            EXPECT_FALSE(g[r][c]) << caso.nome;
        }
        RetirarBarra(g, caso.horizontal,
                     {caso.horizontal ? caso.linha : caso.coluna,
                      caso.horizontal ? caso.coluna : caso.linha, caso.comprimento});
        EXPECT_EQ(g, antes) << caso.nome;
    }
}

TEST(BarraTocaBranca, LooksAcrossTheBarOnlyAndNeverAtTheFrame) {
    TGrelhaBooleana g = GrelhaBloqueada();
    g[3][5] = false;
    EXPECT_TRUE(BarraTocaBranca(g, 9, true, 4, 4, 2));  // (3,5) is above
    EXPECT_TRUE(BarraTocaBranca(g, 9, true, 2, 5, 1));  // below
    EXPECT_FALSE(BarraTocaBranca(g, 9, true, 3, 6, 2)); // in line only
    EXPECT_TRUE(BarraTocaBranca(g, 9, false, 4, 2, 3)); // (3,5) is right of (3,4)
    EXPECT_FALSE(BarraTocaBranca(g, 9, false, 5, 4, 2));
    g[0][2] = false; // frame cells are never looked at
    EXPECT_FALSE(BarraTocaBranca(g, 9, true, 1, 2, 1));
}

TEST(GerarGrelhaPorBarras, AcceptedPassReachesTheLeastCount) {
    for (const int32_t N : {6, 25})
        for (int vez = 0; vez < 30; ++vez) {
            TSomadoBoard board(N);
            if (!GerarGrelhaPorBarras(board, 2, 9)) continue;
            int32_t brancas = 0;
            for (int32_t r = 0; r < N; ++r)
                for (int32_t c = 0; c < N; ++c)
                    brancas += board.GetCell(r, c).CellType == TCellType::ctEmpty;
            EXPECT_GE(brancas, MinimoBrancas(N));
            EXPECT_TRUE(BrancasLigadas(GrelhaDoTabuleiro(board), N));
        }
}
