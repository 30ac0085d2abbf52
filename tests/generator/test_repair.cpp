#include "GrelhaDeTexto.h"

#include <gtest/gtest.h>

TEST(ListarCelulasSoltas, ListsLooseCellsOfBadRunsAcrossFirst) {
    // Row 1 holds an across run whose cells (1,2) and (1,3) have no down run; column 1 holds
    // a down run whose cells (2,1) and (3,1) have no across run. Column 5 holds a down run
    // with one loose cell only, which is fine.
    TSomadoBoard board(7);
    ASSERT_TRUE(AplicarGrelha(board, GrelhaDeTexto({
                                         "#######",
                                         "#...#..",
                                         "#.###.#",
                                         "#.###..",
                                         "#######",
                                     })));
    std::vector<TPosicaoGrelha> lista;
    TGrelhaBooleana emH, emV;
    EXPECT_EQ(ListarCelulasSoltas(board, lista, emH, emV), 2);
    EXPECT_EQ(lista, (std::vector<TPosicaoGrelha>{{1, 2}, {1, 3}, {2, 1}, {3, 1}}));
    EXPECT_TRUE(emH[1][1] && emV[1][1]);
    EXPECT_TRUE(emH[1][2] && !emV[1][2]);
    EXPECT_EQ(ContarGruposComSoltas(board), 2);
}

TEST(RepararCelulasSoltas, BoardWithoutBadRunsIsLeftAlone) {
    TSomadoBoard board(6);
    ASSERT_TRUE(AplicarGrelha(board, GrelhaDeTexto({
                                         "######",
                                         "#..###",
                                         "#..###",
                                         "######",
                                         "####..",
                                         "####..",
                                     })));
    const TSomadoBoard antes = board;
    EXPECT_TRUE(RepararCelulasSoltas(board));
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 6; ++c)
            EXPECT_EQ(board.GetCell(r, c), antes.GetCell(r, c));
    EXPECT_EQ(board.HorizontalGroups(), antes.HorizontalGroups());
}

TEST(RepararCelulasSoltas, RepairedLayoutsStayValidSymmetricAndConnected) {
    int reparados = 0, comRunsRuins = 0;
    for (const int32_t N : {6, 9, 12})
        for (int vez = 0; vez < 60; ++vez) {
            TSomadoBoard board(N);
            if (!GerarGrelhaPorBarras(board, 2, 9)) continue;
            comRunsRuins += ContarGruposComSoltas(board) > 0;
            const bool ok = RepararCelulasSoltas(board);
            const TGrelhaBooleana g = GrelhaDoTabuleiro(board);
            // Whatever the outcome, the board holds a valid, symmetric, connected layout.
            TSomadoGroupArray across, down;
            EXPECT_TRUE(ExtrairGrupos(g, N, across, down));
            EXPECT_EQ(across, board.HorizontalGroups());
            EXPECT_EQ(down, board.VerticalGroups());
            EXPECT_TRUE(BrancasLigadas(g, N));
            for (int32_t r = 1; r < N; ++r)
                for (int32_t c = 1; c < N; ++c)
                    ASSERT_EQ(g[r][c], g[N - r][N - c]);
            for (int32_t i = 0; i < N; ++i)
                EXPECT_TRUE(g[0][i] && g[i][0]);
            if (ok) {
                ++reparados;
                EXPECT_EQ(ContarGruposComSoltas(board), 0);
            }
        }
    // The fixture must really exercise the repair.
    EXPECT_GT(comRunsRuins, 0);
    EXPECT_GT(reparados, 0);
}
