#include "GrelhaDeTexto.h"
#include "generator/GeradorInterno.h"

#include <gtest/gtest.h>

TEST(Avaliacao, LevelAndScoreFromTheRecord) {
    using N = TNivelDificuldade;
    const struct {
        const char* nome;
        TAvaliacao avaliacao;
        N nivel;
        int32_t pontuacao;
    } casos[] = {
        {"every total single, solved", {1.0, true, 1.0}, N::ndFacil, 0},
        {"9 of 20 single", {1.0, true, 9.0 / 20}, N::ndFacil, 55},
        {"11 of 25 single", {1.0, true, 11.0 / 25}, N::ndMedio, 56},
        {"1 of 8 single: 87.5 rounds to 88", {1.0, true, 1.0 / 8}, N::ndMedio, 88},
        {"10 of 40 cells by combinations", {10.0 / 40, false, 0.5}, N::ndDificil, 175},
        {"no cell by combinations", {0.0, false, 0.3}, N::ndMuitoDificil, 200},
        {"empty record", {}, N::ndMuitoDificil, 200},
    };
    for (const auto& caso : casos) {
        EXPECT_EQ(NivelDaAvaliacao(caso.avaliacao), caso.nivel) << caso.nome;
        EXPECT_EQ(PontuacaoDaAvaliacao(caso.avaliacao), caso.pontuacao) << caso.nome;
    }
}

TEST(AvaliarDificuldade, MeasuresCombinationReasoning) {
    // 1 2 / 3 1: four single-combination totals, solved by combinations.
    const TAvaliacao facil = AvaliarDificuldade(BlocoDoisPorDois({1, 2, 3, 1}));
    EXPECT_TRUE(facil.ResolvidoCombinacoes);
    EXPECT_DOUBLE_EQ(facil.FracResolvidasCombinacoes, 1.0);
    EXPECT_DOUBLE_EQ(facil.FracRunsCombinacaoUnica, 1.0);
    EXPECT_EQ(NivelDaAvaliacao(facil), TNivelDificuldade::ndFacil);

    // 2 4 / 1 5 has two fillings: nothing settles; one total (3 down) is single.
    const TAvaliacao aberto = AvaliarDificuldade(BlocoDoisPorDois({2, 4, 1, 5}));
    EXPECT_FALSE(aberto.ResolvidoCombinacoes);
    EXPECT_DOUBLE_EQ(aberto.FracResolvidasCombinacoes, 0.0);
    EXPECT_DOUBLE_EQ(aberto.FracRunsCombinacaoUnica, 0.25);
    EXPECT_EQ(PontuacaoDaAvaliacao(aberto), 200);
}

TEST(AvaliarDificuldade, BoardWithoutWhiteCellsGivesTheEmptyRecord) {
    const TAvaliacao avaliacao = AvaliarDificuldade(TSomadoBoard(6));
    EXPECT_EQ(avaliacao.FracResolvidasCombinacoes, 0.0);
    EXPECT_FALSE(avaliacao.ResolvidoCombinacoes);
    EXPECT_EQ(avaliacao.FracRunsCombinacaoUnica, 0.0);
}

TEST(AvaliarDificuldade, ContradictoryTotalsAreNotSolved) {
    TSomadoBoard board = BlocoDoisPorDois({1, 2, 3, 1});
    board.AtualizarSomaGrupo(false, 1, 17); // 2 + 1 cannot make 17
    const TAvaliacao avaliacao = AvaliarDificuldade(board);
    EXPECT_FALSE(avaliacao.ResolvidoCombinacoes);
}
