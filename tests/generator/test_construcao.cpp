#include "GrelhaDeTexto.h"
#include "generator/GeradorInterno.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// A freshly laid-out and filled board with its model and digits.
struct TTabuleiroPreenchido {
    std::unique_ptr<TSomadoBoard> Board;
    TModelo Modelo;
    std::vector<int32_t> Digitos;
};

TTabuleiroPreenchido Preencher(int32_t N) {
    for (;;) {
        auto board = std::make_unique<TSomadoBoard>(N);
        if (!GerarGrelha(*board, 2, 9) || !PreencherSolucao(*board)) continue;
        TTabuleiroPreenchido t{std::move(board), {}, {}};
        t.Modelo = ConstruirModelo(*t.Board);
        for (int32_t k = 0; k < t.Modelo.NCel; ++k)
            t.Digitos.push_back(t.Board->GetCell(t.Modelo.CelR[k], t.Modelo.CelC[k]).Solution);
        return t;
    }
}

} // namespace

TEST(SortearAtribuicao, DrawsDistinctAllowedDigitsOrFails) {
    const std::vector<TConjuntoDigitos> permitidos{Bit(1) | Bit(2), Bit(1), Bit(2) | Bit(3)};
    std::set<std::vector<int32_t>> vistos;
    for (int vez = 0; vez < 200; ++vez) {
        std::vector<int32_t> digitos(3);
        ASSERT_TRUE(SortearAtribuicao(permitidos, digitos));
        EXPECT_EQ(digitos[1], 1);
        for (size_t i = 0; i < 3; ++i)
            EXPECT_TRUE(permitidos[i] & Bit(digitos[i]));
        EXPECT_EQ(std::set<int32_t>(digitos.begin(), digitos.end()).size(), 3u);
        vistos.insert(digitos);
    }
    // The middle cell must take 1, which leaves 2 and 3 for the others: one outcome only.
    EXPECT_EQ(vistos, (std::set<std::vector<int32_t>>{{2, 1, 3}}));
    std::vector<int32_t> digitos(2);
    EXPECT_FALSE(SortearAtribuicao(std::vector<TConjuntoDigitos>{Bit(4), Bit(4)}, digitos));
}

TEST(GerarPropostas, KeepsTheFillingValidAndTheTotalsNarrow) {
    for (int vez = 0; vez < 30; ++vez) {
        const TTabuleiroPreenchido t = Preencher(9);
        for (int32_t run = 0; run < t.Modelo.NRuns; ++run) {
            std::vector<TProposta> propostas{TProposta{-1, {}}}; // earlier entries stay
            GerarPropostas(t.Modelo, t.Digitos, run, CMaxPropostasPorRun, propostas);
            ASSERT_EQ(propostas.front().Run, -1);
            ASSERT_LE(propostas.size() - 1, static_cast<size_t>(CMaxPropostasPorRun + 1));
            const std::span<const int32_t> celulas = t.Modelo.CelulasDoRun(run);
            const size_t n = celulas.size();
            std::set<std::vector<int32_t>> distintas;
            for (size_t p = 1; p < propostas.size(); ++p) {
                ASSERT_EQ(propostas[p].Run, run);
                const std::vector<int32_t> novos(propostas[p].Digitos.begin(),
                                                 propostas[p].Digitos.begin() + n);
                distintas.insert(novos);
                std::vector<int32_t> digitos = t.Digitos;
                bool muda = false;
                int32_t soma = 0;
                for (size_t i = 0; i < n; ++i) {
                    muda = muda || digitos[celulas[i]] != novos[i];
                    digitos[celulas[i]] = novos[i];
                    soma += novos[i];
                }
                EXPECT_TRUE(muda);
                EXPECT_LE(ContarCombinacoes(static_cast<int32_t>(n), soma),
                          CMaxCombinacoesProposta);
                // No run repeats a digit after the change.
                for (int32_t q = 0; q < t.Modelo.NRuns; ++q) {
                    unsigned usados = 0;
                    for (const int32_t k : t.Modelo.CelulasDoRun(q)) {
                        ASSERT_FALSE(usados & (1u << digitos[k]));
                        usados |= 1u << digitos[k];
                    }
                }
            }
            EXPECT_EQ(distintas.size(), propostas.size() - 1);
        }
    }
}

TEST(GerarPropostas, RunsOfTwoGetOnlyTotalsWithOneOrTwoCombinations) {
    std::set<int32_t> totais;
    for (int vez = 0; vez < 40; ++vez) {
        const TTabuleiroPreenchido t = Preencher(9);
        for (int32_t run = 0; run < t.Modelo.NRuns; ++run) {
            if (t.Modelo.CelulasDoRun(run).size() != 2) continue;
            std::vector<TProposta> propostas;
            GerarPropostas(t.Modelo, t.Digitos, run, CMaxPropostasPorRun, propostas);
            for (const TProposta& p : propostas)
                totais.insert(p.Digitos[0] + p.Digitos[1]);
        }
    }
    const std::set<int32_t> permitidos{3, 4, 5, 6, 14, 15, 16, 17};
    EXPECT_TRUE(std::includes(permitidos.begin(), permitidos.end(), totais.begin(), totais.end()));
    EXPECT_GE(totais.size(), 6u);
}

TEST(ProcurarSolucaoUnica, SettledDigitsAreLeftAlone) {
    TContextoGeracao contexto;
    const std::unique_ptr<TSomadoBoard> board =
        GerarPuzzle(TTamanhoTabuleiro::tt9, TNivelDificuldade::ndFacil, 0);
    ASSERT_NE(board, nullptr);
    const TModelo modelo = ConstruirModelo(*board);
    std::vector<int32_t> digitos;
    for (int32_t k = 0; k < modelo.NCel; ++k)
        digitos.push_back(board->GetCell(modelo.CelR[k], modelo.CelC[k]).Solution);
    const std::vector<int32_t> antes = digitos;
    EXPECT_TRUE(ProcurarSolucaoUnica(contexto, modelo, digitos, true, TCronometro(), 0));
    EXPECT_EQ(digitos, antes);
}

TEST(ProcurarSolucaoUnica, SuccessMeansEveryCellSettled) {
    TContextoGeracao contexto;
    int sucessos = 0;
    for (const bool soCombinacoes : {true, false})
        for (int vez = 0; vez < 10; ++vez) {
            TTabuleiroPreenchido t = Preencher(9);
            if (!ProcurarSolucaoUnica(contexto, t.Modelo, t.Digitos, soCombinacoes, TCronometro(),
                                      0))
                continue;
            ++sucessos;
            TDominios dominios;
            EXPECT_EQ(ContarIndeterminadas(contexto, t.Modelo, t.Digitos, soCombinacoes, dominios),
                      0);
            for (int32_t k = 0; k < t.Modelo.NCel; ++k)
                EXPECT_EQ(dominios[k], Bit(t.Digitos[k]));
        }
    EXPECT_GT(sucessos, 0);
}

TEST(TCronometro, NoBudgetNeverRunsOut) {
    const TCronometro cronometro;
    EXPECT_FALSE(cronometro.Esgotado(0));
    EXPECT_FALSE(cronometro.Esgotado(-5));
    EXPECT_GE(cronometro.DecorridoMs(), 0);
}
