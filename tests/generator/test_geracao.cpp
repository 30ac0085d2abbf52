#include "ContadorDeSolucoes.h"
#include "GrelhaDeTexto.h"
#include "generator/GeradorInterno.h"

#include <gtest/gtest.h>

TEST(ContadorDeSolucoes, TellsUniqueFromAmbiguous) {
    // 2 4 / 1 5 and 1 5 / 2 4 share their totals; 1 2 / 3 1 is the only filling of its own.
    for (const auto& [digitos, esperado] : {std::pair{std::array<int32_t, 4>{2, 4, 1, 5}, 2},
                                            std::pair{std::array<int32_t, 4>{1, 2, 3, 1}, 1}}) {
        const TSomadoBoard board = BlocoDoisPorDois(digitos);
        EXPECT_EQ(TContadorDeSolucoes(board).Contar(), esperado);
    }
}

TEST(NiveisSeguros, AllLevelsForTheOfferedSizesOnlyDificilForTheLargeOnes) {
    using N = TNivelDificuldade;
    const std::vector<N> todos{N::ndFacil, N::ndMedio, N::ndDificil, N::ndMuitoDificil};
    for (const auto t : {TTamanhoTabuleiro::tt6, TTamanhoTabuleiro::tt9, TTamanhoTabuleiro::tt12,
                         TTamanhoTabuleiro::tt15})
        EXPECT_EQ(NiveisSeguros(t), todos);
    for (const auto t : {TTamanhoTabuleiro::tt16, TTamanhoTabuleiro::tt20, TTamanhoTabuleiro::tt25})
        EXPECT_EQ(NiveisSeguros(t), std::vector<N>{N::ndDificil});
}

TEST(NivelSoCombinacoes, EasierLevelsUseCombinationsOnly) {
    EXPECT_TRUE(NivelSoCombinacoes(TNivelDificuldade::ndFacil));
    EXPECT_TRUE(NivelSoCombinacoes(TNivelDificuldade::ndMedio));
    EXPECT_FALSE(NivelSoCombinacoes(TNivelDificuldade::ndDificil));
    EXPECT_FALSE(NivelSoCombinacoes(TNivelDificuldade::ndMuitoDificil));
}

TEST(GerarPuzzle, SpentBudgetGivesNoBoard) {
    // A 25 × 25 "Muito Difícil" takes far longer than a millisecond to build.
    EXPECT_EQ(GerarPuzzle(TTamanhoTabuleiro::tt25, TNivelDificuldade::ndMuitoDificil, 1), nullptr);
}

class PuzzlesGerados
    : public ::testing::TestWithParam<std::tuple<TTamanhoTabuleiro, TNivelDificuldade>> {};

// Every generated puzzle has exactly one solution, found by a solver that knows nothing of
// the program's reasoning; it is the board's own; and grading it again gives its level.
TEST_P(PuzzlesGerados, HaveOneSolutionAndTheirOwnGrade) {
    TContextoGeracao contexto;
    const auto [tamanho, nivel] = GetParam();
    for (int vez = 0; vez < 6; ++vez) {
        const std::unique_ptr<TSomadoBoard> board = GerarPuzzle(tamanho, nivel, 0);
        ASSERT_NE(board, nullptr);
        const int32_t N = board->Size();
        ASSERT_EQ(N, LadoDoTabuleiro(tamanho));
        EXPECT_EQ(board->Difficulty(), nivel);

        TContadorDeSolucoes contador(*board);
        ASSERT_EQ(contador.Contar(), 1);
        for (int32_t r = 0; r < N; ++r)
            for (int32_t c = 0; c < N; ++c) {
                const TSomadoCell cell = board->GetCell(r, c);
                if (cell.CellType != TCellType::ctEmpty) continue;
                EXPECT_EQ(cell.Solution, contador.PrimeiraSolucao()[r * N + c]);
                EXPECT_EQ(cell.Value, 0);
                EXPECT_EQ(cell.DisplayState, TCellDisplayState::cdsNormal);
            }
        for (const TSomadoGroup& run : board->HorizontalGroups())
            EXPECT_EQ(board->GetCell(run.StartRow, run.StartCol - 1).RightSum, run.Sum);
        for (const TSomadoGroup& run : board->VerticalGroups())
            EXPECT_EQ(board->GetCell(run.StartRow - 1, run.StartCol).DownSum, run.Sum);

        const TAvaliacao avaliacao = AvaliarDificuldade(*board);
        EXPECT_EQ(NivelDaAvaliacao(avaliacao), board->Difficulty());
        EXPECT_EQ(PontuacaoDaAvaliacao(avaliacao), board->DifficultyScore());

        // The reasoning of the level settles every cell from the totals alone.
        const TModelo modelo = ConstruirModelo(*board);
        std::vector<int32_t> digitos;
        for (int32_t k = 0; k < modelo.NCel; ++k)
            digitos.push_back(board->GetCell(modelo.CelR[k], modelo.CelC[k]).Solution);
        TDominios dominios;
        EXPECT_EQ(
            ContarIndeterminadas(contexto, modelo, digitos, NivelSoCombinacoes(nivel), dominios),
            0);
    }
}

std::string NomeDoCaso(
    const ::testing::TestParamInfo<std::tuple<TTamanhoTabuleiro, TNivelDificuldade>>& AInfo) {
    static const char* const niveis[] = {"Facil", "Medio", "Dificil", "MuitoDificil"};
    return std::string("N")
        .append(std::to_string(LadoDoTabuleiro(std::get<0>(AInfo.param))))
        .append(niveis[static_cast<int>(std::get<1>(AInfo.param))]);
}

INSTANTIATE_TEST_SUITE_P(
    SizesAndLevels, PuzzlesGerados,
    ::testing::Combine(::testing::Values(TTamanhoTabuleiro::tt6, TTamanhoTabuleiro::tt9),
                       ::testing::Values(TNivelDificuldade::ndFacil, TNivelDificuldade::ndMedio,
                                         TNivelDificuldade::ndDificil,
                                         TNivelDificuldade::ndMuitoDificil)),
    NomeDoCaso);
