#include "GrelhaDeTexto.h"

#include <gtest/gtest.h>

TEST(ExtrairGrupos, AcceptsOrRejectsPatternsByTheRunRules) {
    struct Caso {
        const char* nome;
        std::vector<std::string> linhas;
        bool aceite;
    };
    const Caso casos[] = {
        {"run of nine", {"###########", "#.........#", "#.........#"}, true},
        {"run of ten", {"############", "#..........#", "#..........#"}, false},
        {"single cell inside a down run",
         {"#######", "###.###", "#.#.#.#", "#.#.#.#", "#######"},
         true},
        {"isolated white cell",
         {"######", "#..###", "#..#.#", "######", "######", "######"},
         false},
        {"no white cell", {"######", "######", "######", "######", "######", "######"}, true},
    };
    for (const Caso& caso : casos) {
        const int32_t N = static_cast<int32_t>(std::max(caso.linhas.size(), caso.linhas[0].size()));
        TSomadoGroupArray across, down;
        EXPECT_EQ(ExtrairGrupos(GrelhaDeTexto(caso.linhas), N, across, down), caso.aceite)
            << caso.nome;
    }
}

TEST(ExtrairGrupos, OrdersAcrossByRowAndDownByColumn) {
    // Two across runs in row 1 and a cross shape below.
    const TGrelhaBooleana g = GrelhaDeTexto({
        "#######",
        "#..#..#",
        "#..#..#",
        "#######",
        "#######",
        "#######",
        "#######",
    });
    TSomadoGroupArray across, down;
    ASSERT_TRUE(ExtrairGrupos(g, 7, across, down));
    const TSomadoGroupArray acrossEsperado{
        {1, 1, 2, 0, true}, {1, 4, 2, 0, true}, {2, 1, 2, 0, true}, {2, 4, 2, 0, true}};
    const TSomadoGroupArray downEsperado{
        {1, 1, 2, 0, false}, {1, 2, 2, 0, false}, {1, 4, 2, 0, false}, {1, 5, 2, 0, false}};
    EXPECT_EQ(across, acrossEsperado);
    EXPECT_EQ(down, downEsperado);
}

TEST(AplicarGrelha, WritesKindsCluesAndRuns) {
    TSomadoBoard board(6);
    const TGrelhaBooleana g = GrelhaDeTexto({
        "######",
        "#...##",
        "#.#.##",
        "#.#.##",
        "######",
        "######",
    });
    ASSERT_TRUE(AplicarGrelha(board, g));
    const char* esperado[] = {"#P#P##", "P...##", "#.#.##", "#.#.##", "######", "######"};
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 6; ++c) {
            const TCellType tipo = board.GetCell(r, c).CellType;
            const char letra = tipo == TCellType::ctEmpty  ? '.'
                               : tipo == TCellType::ctClue ? 'P'
                                                           : '#';
            EXPECT_EQ(letra, esperado[r][c]) << r << "," << c;
        }
    EXPECT_EQ(board.HorizontalGroups().size(), 1u);
    EXPECT_EQ(board.VerticalGroups().size(), 2u);
}

TEST(AplicarGrelha, ResetsNumbersButKeepsIsGiven) {
    TSomadoBoard board(6);
    TSomadoCell cell;
    cell.CellType = TCellType::ctEmpty;
    cell.Value = 4;
    cell.Solution = 7;
    cell.RightSum = 3;
    cell.IsGiven = true;
    cell.DisplayState = TCellDisplayState::cdsWrong;
    board.SetCell(1, 1, cell);
    ASSERT_TRUE(AplicarGrelha(board, GrelhaDeTexto({"######", "#..###", "#..###"})));
    const TSomadoCell depois = board.GetCell(1, 1);
    EXPECT_EQ(depois.Value, 0);
    EXPECT_EQ(depois.Solution, 0);
    EXPECT_EQ(depois.RightSum, 0);
    EXPECT_TRUE(depois.IsGiven);
    EXPECT_EQ(depois.DisplayState, TCellDisplayState::cdsNormal);
}

TEST(AplicarGrelha, RejectedPatternLeavesTheBoardAsItWas) {
    TSomadoBoard board(6);
    ASSERT_TRUE(AplicarGrelha(board, GrelhaDeTexto({"######", "#..###", "#..###"})));
    const TSomadoBoard antes = board;
    EXPECT_FALSE(AplicarGrelha(board, GrelhaDeTexto({"######", "#.#.##", "######"})));
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 6; ++c)
            EXPECT_EQ(board.GetCell(r, c), antes.GetCell(r, c));
    EXPECT_EQ(board.HorizontalGroups(), antes.HorizontalGroups());
    EXPECT_EQ(board.VerticalGroups(), antes.VerticalGroups());
}

TEST(MaiorRegiaoBranca, MeasuresTheLargestFourConnectedRegion) {
    struct Caso {
        std::vector<std::string> linhas;
        int32_t maior;
        bool ligadas;
    };
    const Caso casos[] = {
        {{"######", "######", "######", "######", "######", "######"}, 0, true},
        {{"######", "#...##", "#.####", "######", "###..#", "######"}, 4, false},
        // Diagonal neighbours do not connect.
        {{"######", "#..###", "###..#", "######", "######", "######"}, 2, false},
        {{"######", "#....#", "#.##.#", "#....#", "######", "######"}, 10, true},
    };
    for (const Caso& caso : casos) {
        const TGrelhaBooleana g = GrelhaDeTexto(caso.linhas);
        EXPECT_EQ(MaiorRegiaoBranca(g, 6), caso.maior);
        EXPECT_EQ(BrancasLigadas(g, 6), caso.ligadas);
    }
}
