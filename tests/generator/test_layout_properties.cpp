// Properties of finished layouts and fillings over many random runs, for every board size.
#include "GrelhaDeTexto.h"

#include <gtest/gtest.h>

namespace {

class LayoutProperties : public ::testing::TestWithParam<int32_t> {};

template <typename TVisita> void ParaCadaCelula(const TSomadoGroup& ARun, TVisita AVisita) {
    for (int32_t k = 0; k < ARun.Length; ++k)
        AVisita(ARun.StartRow + (ARun.IsHorizontal ? 0 : k),
                ARun.StartCol + (ARun.IsHorizontal ? k : 0));
}

void VerificarLayout(const TSomadoBoard& ABoard) {
    const int32_t N = ABoard.Size();
    const TGrelhaBooleana g = GrelhaDoTabuleiro(ABoard);
    for (int32_t i = 0; i < N; ++i) {
        ASSERT_TRUE(g[0][i]) << "white cell in row 0";
        ASSERT_TRUE(g[i][0]) << "white cell in column 0";
    }
    for (int32_t r = 1; r < N; ++r)
        for (int32_t c = 1; c < N; ++c)
            ASSERT_EQ(g[r][c], g[N - r][N - c]) << r << "," << c;

    // Every white cell is in some run; every run is 2..9 long, maximal and has its clue.
    std::array<std::array<int, CLadoMaximo>, CLadoMaximo> runsPorCelula{};
    for (const auto* runs : {&ABoard.HorizontalGroups(), &ABoard.VerticalGroups()})
        for (const TSomadoGroup& run : *runs) {
            ASSERT_GE(run.Length, 2);
            ASSERT_LE(run.Length, 9);
            const int32_t dr = run.IsHorizontal ? 0 : 1, dc = run.IsHorizontal ? 1 : 0;
            const TSomadoCell pista = ABoard.GetCell(run.StartRow - dr, run.StartCol - dc);
            ASSERT_EQ(pista.CellType, TCellType::ctClue);
            const int32_t fimR = run.StartRow + run.Length * dr,
                          fimC = run.StartCol + run.Length * dc;
            if (fimR < N && fimC < N) {
                ASSERT_TRUE(g[fimR][fimC]) << "run is not maximal";
            }
            ParaCadaCelula(run, [&](int32_t r, int32_t c) {
                ASSERT_FALSE(g[r][c]);
                ++runsPorCelula[r][c];
            });
        }
    for (int32_t r = 0; r < N; ++r)
        for (int32_t c = 0; c < N; ++c)
            if (!g[r][c]) {
                ASSERT_GE(runsPorCelula[r][c], 1) << r << "," << c;
            }

    ASSERT_TRUE(BrancasLigadas(g, N));
    ASSERT_EQ(ContarGruposComSoltas(ABoard), 0);
}

void VerificarPreenchimento(const TSomadoBoard& ABoard) {
    const int32_t N = ABoard.Size();
    for (int32_t r = 0; r < N; ++r)
        for (int32_t c = 0; c < N; ++c) {
            const TSomadoCell cell = ABoard.GetCell(r, c);
            if (cell.CellType == TCellType::ctEmpty) {
                ASSERT_GE(cell.Solution, 1);
                ASSERT_LE(cell.Solution, 9);
            } else {
                ASSERT_EQ(cell.Solution, 0);
            }
        }
    for (const auto* runs : {&ABoard.HorizontalGroups(), &ABoard.VerticalGroups()})
        for (const TSomadoGroup& run : *runs) {
            unsigned vistos = 0;
            int32_t soma = 0;
            ParaCadaCelula(run, [&](int32_t r, int32_t c) {
                const int32_t d = ABoard.GetCell(r, c).Solution;
                ASSERT_EQ(vistos & (1u << d), 0u) << "digit repeated in a run";
                vistos |= 1u << d;
                soma += d;
            });
            ASSERT_EQ(run.Sum, soma);
            const int32_t dr = run.IsHorizontal ? 0 : 1, dc = run.IsHorizontal ? 1 : 0;
            const TSomadoCell pista = ABoard.GetCell(run.StartRow - dr, run.StartCol - dc);
            ASSERT_EQ(run.IsHorizontal ? pista.RightSum : pista.DownSum, soma);
        }
}

} // namespace

TEST_P(LayoutProperties, EveryLayoutAndFillingHolds) {
    const int32_t N = GetParam();
    const int vezes = N <= 12 ? 300 : 100;
    int feitos = 0;
    for (int vez = 0; vez < vezes; ++vez) {
        TSomadoBoard board(N);
        if (!GerarGrelha(board, AComprimentoMin, AComprimentoMax)) continue;
        ++feitos;
        ASSERT_NO_FATAL_FAILURE(VerificarLayout(board));
        if (!PreencherSolucao(board)) continue;
        CalcularSomas(board);
        ASSERT_NO_FATAL_FAILURE(VerificarPreenchimento(board));
    }
    EXPECT_GT(feitos, vezes / 2) << "layouts should seldom fail";
}

INSTANTIATE_TEST_SUITE_P(Sizes, LayoutProperties, ::testing::Values(6, 9, 12, 15, 16, 20, 25),
                         [](const auto& info) {
                             return std::string("N").append(std::to_string(info.param));
                         });
