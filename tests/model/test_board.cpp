#include "model/UnitSomado.h"

#include <gtest/gtest.h>

namespace {

// A 6 × 6 board with white cells at (1,1), (1,2), (2,1), (2,2) and their clues.
TSomadoBoard QuadradoPequeno() {
    TSomadoBoard board(6);
    const int32_t solucao[2][2] = {{1, 3}, {2, 4}};
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 2; ++c) {
            TSomadoCell cell;
            cell.CellType = TCellType::ctEmpty;
            cell.Solution = solucao[r - 1][c - 1];
            board.SetCell(r, c, cell);
        }
    TSomadoCell pista;
    pista.CellType = TCellType::ctClue;
    pista.RightSum = 4;
    board.SetCell(1, 0, pista);
    return board;
}

std::string MensagemDeCriar(int32_t ASize) {
    try {
        TSomadoBoard board(ASize);
    } catch (const ESomadoError& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(TSomadoBoard, CreateRejectsSizesOutsideSixToTwentyFive) {
    EXPECT_EQ(MensagemDeCriar(5), "Tamanho de tabuleiro fora do intervalo [6..25]: 5");
    EXPECT_EQ(MensagemDeCriar(26), "Tamanho de tabuleiro fora do intervalo [6..25]: 26");
    EXPECT_EQ(MensagemDeCriar(-3), "Tamanho de tabuleiro fora do intervalo [6..25]: -3");
    for (int32_t size : {6, 7, 25})
        EXPECT_EQ(MensagemDeCriar(size), "") << size;
}

TEST(TSomadoBoard, NewBoardIsAllBlackAndZero) {
    TSomadoBoard board(7);
    EXPECT_EQ(board.Size(), 7);
    for (int r = 0; r < 7; ++r)
        for (int c = 0; c < 7; ++c)
            EXPECT_EQ(board.GetCell(r, c), TSomadoCell{});
    EXPECT_EQ(TSomadoCell{}.CellType, TCellType::ctBlack);
    EXPECT_TRUE(board.HorizontalGroups().empty());
    EXPECT_TRUE(board.VerticalGroups().empty());
    EXPECT_EQ(board.Difficulty(), TNivelDificuldade::ndFacil);
    EXPECT_EQ(board.DifficultyScore(), 0);
}

TEST(TSomadoBoard, ClearKeepsSizeAndLevelButResetsScoreCellsAndRuns) {
    TSomadoBoard board = QuadradoPequeno();
    board.SetGroups({{1, 1, 2, 4, true}}, {{1, 1, 2, 3, false}});
    board.SetDifficulty(TNivelDificuldade::ndDificil);
    board.SetDifficultyScore(150);
    board.Clear();
    EXPECT_EQ(board.Size(), 6);
    EXPECT_EQ(board.Difficulty(), TNivelDificuldade::ndDificil);
    EXPECT_EQ(board.DifficultyScore(), 0);
    EXPECT_TRUE(board.HorizontalGroups().empty());
    EXPECT_TRUE(board.VerticalGroups().empty());
    EXPECT_EQ(board.GetCell(1, 1), TSomadoCell{});
}

TEST(TSomadoBoard, SetGroupsKeepsItsOwnCopy) {
    TSomadoBoard board(6);
    TSomadoGroupArray across{{1, 1, 2, 0, true}};
    board.SetGroups(across, {});
    across[0].Length = 5;
    EXPECT_EQ(board.HorizontalGroups()[0].Length, 2);
}

TEST(TSomadoBoard, AtualizarSomaGrupoTouchesOnlyTheRun) {
    TSomadoBoard board = QuadradoPequeno();
    board.SetGroups({{1, 1, 2, 4, true}}, {{1, 1, 2, 3, false}});
    board.AtualizarSomaGrupo(true, 0, 11);
    board.AtualizarSomaGrupo(false, 0, 12);
    EXPECT_EQ(board.HorizontalGroups()[0].Sum, 11);
    EXPECT_EQ(board.VerticalGroups()[0].Sum, 12);
    EXPECT_EQ(board.GetCell(1, 0).RightSum, 4);
}

TEST(TSomadoBoard, LadoDoTabuleiroFollowsTheOrdinals) {
    const std::pair<TTamanhoTabuleiro, int32_t> casos[] = {
        {TTamanhoTabuleiro::tt9, 9},   {TTamanhoTabuleiro::tt12, 12}, {TTamanhoTabuleiro::tt15, 15},
        {TTamanhoTabuleiro::tt20, 20}, {TTamanhoTabuleiro::tt25, 25}, {TTamanhoTabuleiro::tt6, 6},
        {TTamanhoTabuleiro::tt16, 16}};
    for (const auto& [tamanho, lado] : casos)
        EXPECT_EQ(LadoDoTabuleiro(tamanho), lado);
    EXPECT_EQ(static_cast<int>(TTamanhoTabuleiro::tt6), 5);
    EXPECT_EQ(sizeof(TTamanhoTabuleiro), 1u);
}

TEST(VerificarJogadas, BoardWithoutWhiteCellsIsSolved) {
    TSomadoBoard board(6);
    int32_t corretas = -1, erradas = -1, porPreencher = -1;
    EXPECT_TRUE(board.VerificarJogadas(corretas, erradas, porPreencher));
    EXPECT_EQ(corretas, 0);
    EXPECT_EQ(erradas, 0);
    EXPECT_EQ(porPreencher, 0);
}

TEST(VerificarJogadas, CountsAndMarksEveryWhiteCell) {
    struct Caso {
        int32_t valores[4]; // (1,1), (1,2), (2,1), (2,2)
        bool resolvido;
        int32_t corretas, erradas, porPreencher;
        TCellDisplayState estados[4];
    };
    using S = TCellDisplayState;
    const Caso casos[] = {
        {{1, 3, 2, 4}, true, 4, 0, 0, {S::cdsCorrect, S::cdsCorrect, S::cdsCorrect, S::cdsCorrect}},
        {{1, 3, 2, 9}, false, 3, 1, 0, {S::cdsCorrect, S::cdsCorrect, S::cdsCorrect, S::cdsWrong}},
        {{1, 0, 2, 4}, false, 3, 0, 1, {S::cdsCorrect, S::cdsNormal, S::cdsCorrect, S::cdsCorrect}},
        {{0, 0, 0, 0}, false, 0, 0, 4, {S::cdsNormal, S::cdsNormal, S::cdsNormal, S::cdsNormal}},
    };
    for (const Caso& caso : casos) {
        TSomadoBoard board = QuadradoPequeno();
        for (int i = 0; i < 4; ++i) {
            TSomadoCell cell = board.GetCell(1 + i / 2, 1 + i % 2);
            cell.Value = caso.valores[i];
            cell.DisplayState = S::cdsRevealed; // any earlier mark must go
            board.SetCell(1 + i / 2, 1 + i % 2, cell);
        }
        int32_t corretas, erradas, porPreencher;
        EXPECT_EQ(board.VerificarJogadas(corretas, erradas, porPreencher), caso.resolvido);
        EXPECT_EQ(corretas, caso.corretas);
        EXPECT_EQ(erradas, caso.erradas);
        EXPECT_EQ(porPreencher, caso.porPreencher);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(board.GetCell(1 + i / 2, 1 + i % 2).DisplayState, caso.estados[i]) << i;
        EXPECT_EQ(board.GetCell(1, 0).DisplayState, S::cdsNormal);
    }
}

TEST(LimparJogadas, ClearsDigitsAndMarksOnlyOfWhiteCells) {
    TSomadoBoard board = QuadradoPequeno();
    for (int i = 0; i < 4; ++i) {
        TSomadoCell cell = board.GetCell(1 + i / 2, 1 + i % 2);
        cell.Value = 5;
        cell.DisplayState = TCellDisplayState::cdsWrong;
        board.SetCell(1 + i / 2, 1 + i % 2, cell);
    }
    board.LimparJogadas();
    int32_t corretas, erradas, porPreencher;
    EXPECT_FALSE(board.VerificarJogadas(corretas, erradas, porPreencher));
    EXPECT_EQ(porPreencher, 4);
    EXPECT_EQ(board.GetCell(1, 2).Solution, 3);
    EXPECT_EQ(board.GetCell(1, 0).RightSum, 4);
}

TEST(Arredondar, HalvesGoToTheEvenNeighbour) {
    const std::pair<double, int64_t> casos[] = {{0.5, 0},  {1.5, 2},   {2.5, 2},    {87.5, 88},
                                                {-0.5, 0}, {-1.5, -2}, {13.75, 14}, {33.25, 33},
                                                {2.49, 2}, {2.51, 3}};
    for (const auto& [valor, esperado] : casos)
        EXPECT_EQ(Arredondar(valor), esperado) << valor;
}
