#include "GrelhaDeTexto.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

TEST(OrdemDigitos, ShortRunsTryExtremeDigitsFirst) {
    std::set<int32_t> primeiros;
    for (int vez = 0; vez < 500; ++vez)
        for (int32_t curto : {2, 3, 4}) {
            const auto ordem = OrdemDigitos(curto);
            EXPECT_EQ(std::set<int32_t>(ordem.begin(), ordem.begin() + 6),
                      (std::set<int32_t>{1, 2, 3, 7, 8, 9}));
            EXPECT_EQ(std::set<int32_t>(ordem.begin() + 6, ordem.end()),
                      (std::set<int32_t>{4, 5, 6}));
            primeiros.insert(ordem[0]);
        }
    EXPECT_EQ(primeiros.size(), 6u);
}

TEST(OrdemDigitos, LongRunsTryAnyDigitFirst) {
    std::set<int32_t> primeiros;
    for (int vez = 0; vez < 500; ++vez) {
        auto ordem = OrdemDigitos(5);
        primeiros.insert(ordem[0]);
        std::sort(ordem.begin(), ordem.end());
        EXPECT_EQ(ordem, (std::array<int32_t, 9>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    }
    EXPECT_EQ(primeiros.size(), 9u);
}

TEST(CalcularSomas, WritesBothSumsOfAClueCell) {
    TSomadoBoard board(6);
    ASSERT_TRUE(AplicarGrelha(board, GrelhaDeTexto({
                                         "######",
                                         "##..##",
                                         "#.####",
                                         "#.####",
                                     })));
    const struct { int r, c, digito; } digitos[] = {{1, 2, 3}, {1, 3, 5}, {2, 1, 3}, {3, 1, 1}};
    for (const auto& d : digitos) {
        TSomadoCell cell = board.GetCell(d.r, d.c);
        cell.Solution = d.digito;
        board.SetCell(d.r, d.c, cell);
    }
    CalcularSomas(board);
    EXPECT_EQ(board.GetCell(1, 1).CellType, TCellType::ctClue);
    EXPECT_EQ(board.GetCell(1, 1).RightSum, 8);
    EXPECT_EQ(board.GetCell(1, 1).DownSum, 4);
    EXPECT_EQ(board.HorizontalGroups()[0].Sum, 8);
    EXPECT_EQ(board.VerticalGroups()[0].Sum, 4);
}

TEST(PreencherSolucao, OneDirectionCellsAreBoundByTheirOwnRunOnly) {
    // Nine cells in one across run and nothing else would need all nine digits; the two
    // down runs of two cells hanging below reuse digits freely.
    TSomadoBoard board(11);
    ASSERT_TRUE(AplicarGrelha(board, GrelhaDeTexto({
                                         "###########",
                                         "#.........#",
                                         "#.#######.#",
                                     })));
    for (int vez = 0; vez < 50; ++vez) {
        ASSERT_TRUE(PreencherSolucao(board));
        std::set<int32_t> linha;
        for (int c = 1; c <= 9; ++c)
            linha.insert(board.GetCell(1, c).Solution);
        EXPECT_EQ(linha.size(), 9u);
        EXPECT_NE(board.GetCell(2, 1).Solution, board.GetCell(1, 1).Solution);
        EXPECT_NE(board.GetCell(2, 9).Solution, board.GetCell(1, 9).Solution);
        // Clear for the next round: filling expects zero solutions.
        ASSERT_TRUE(AplicarGrelha(board, GrelhaDoTabuleiro(board)));
    }
}
