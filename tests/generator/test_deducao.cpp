#include "GrelhaDeTexto.h"
#include "RegraCombinacoesLiteral.h"
#include "RegraPosicoesLiteral.h"
#include "generator/GeradorInterno.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace {

constexpr TConjuntoDigitos Digitos(std::initializer_list<int> ADigitos) {
    TConjuntoDigitos conjunto = 0;
    for (const int d : ADigitos)
        conjunto = static_cast<TConjuntoDigitos>(conjunto | (1u << d));
    return conjunto;
}

using TRegra = bool (*)(std::span<TConjuntoDigitos>, int32_t, std::array<uint8_t, 9>&);

} // namespace

TEST(TabelaCombinacoes, CountsOfKnownTotals) {
    const struct {
        int32_t L, S, quantas;
    } casos[] = {{2, 3, 1}, {2, 10, 4},  {3, 6, 1},  {9, 45, 1}, {2, 46, 0},
                 {0, 0, 0}, {10, 45, 0}, {2, 17, 1}, {3, 15, 8}, {1, 9, 1}};
    for (const auto& caso : casos)
        EXPECT_EQ(ContarCombinacoes(caso.L, caso.S), caso.quantas) << caso.L << "/" << caso.S;
    const auto dez = Combinacoes(2, 10);
    EXPECT_EQ(std::vector<TConjuntoDigitos>(dez.begin(), dez.end()),
              (std::vector<TConjuntoDigitos>{Digitos({4, 6}), Digitos({3, 7}), Digitos({2, 8}),
                                             Digitos({1, 9})}));
}

TEST(TabelaCombinacoes, ListsEverySetOnceInIncreasingOrder) {
    int32_t total = 0;
    for (int32_t L = 1; L <= 9; ++L)
        for (int32_t S = 0; S <= 45; ++S) {
            TConjuntoDigitos anterior = 0;
            for (const TConjuntoDigitos c : Combinacoes(L, S)) {
                EXPECT_GT(c, anterior);
                anterior = c;
                EXPECT_EQ(ContarBits(c), L);
                int32_t soma = 0;
                for (int d = 1; d <= 9; ++d)
                    soma += (c >> d & 1) * d;
                EXPECT_EQ(soma, S);
                EXPECT_EQ(c & ~CDominioCompleto, 0);
                ++total;
            }
        }
    EXPECT_EQ(total, 511);
}

TEST(Regras, OnlyThePositionRuleFindsTheNineOfTwentyFour) {
    // Three cells totalling 24 can only be 7, 8, 9; two of them hold only 7 or 8.
    std::array<TConjuntoDigitos, 3> conjuntos{Digitos({7, 8}), Digitos({7, 8}), Digitos({7, 8, 9})};
    std::array<uint8_t, 9> mudadas;
    auto porCombinacoes = conjuntos;
    EXPECT_TRUE(FiltrarPorCombinacoes(porCombinacoes, 24, mudadas));
    EXPECT_EQ(porCombinacoes, conjuntos);
    EXPECT_EQ(mudadas[2], 0);
    auto porPosicoes = conjuntos;
    EXPECT_TRUE(FiltrarPorPosicoes(porPosicoes, 24, mudadas));
    EXPECT_EQ(porPosicoes[2], Digitos({9}));
    EXPECT_EQ((std::array<uint8_t, 3>{mudadas[0], mudadas[1], mudadas[2]}),
              (std::array<uint8_t, 3>{0, 0, 1}));
}

TEST(Regras, ContradictionsAndNarrowing) {
    struct Caso {
        const char* nome;
        std::vector<TConjuntoDigitos> conjuntos;
        int32_t soma;
        bool combinacoes; // expected result of each rule
        bool posicoes;
        std::vector<TConjuntoDigitos> depoisCombinacoes; // when true
    };
    const TConjuntoDigitos todos = CDominioCompleto;
    const Caso casos[] = {
        {"repeated fixed digit", {Digitos({4}), Digitos({4})}, 8, false, false, {}},
        {"fixed digits with another total", {Digitos({1}), Digitos({5})}, 7, false, false, {}},
        {"fixed digits with their total",
         {Digitos({1}), Digitos({5})},
         6,
         true,
         true,
         {Digitos({1}), Digitos({5})}},
        {"total above 45", {todos, todos}, 46, false, false, {}},
        {"negative total", {todos, todos}, -1, false, false, {}},
        {"two cells of 3", {todos, todos}, 3, true, true, {Digitos({1, 2}), Digitos({1, 2})}},
        {"fixed digit removed from the others",
         {Digitos({1}), todos},
         4,
         true,
         true,
         {Digitos({1}), Digitos({3})}},
        {"no combination fits the sets", {Digitos({1, 2}), Digitos({1, 2})}, 17, false, false, {}},
    };
    for (const Caso& caso : casos) {
        std::array<uint8_t, 9> mudadas;
        auto a = caso.conjuntos;
        EXPECT_EQ(FiltrarPorCombinacoes(a, caso.soma, mudadas), caso.combinacoes) << caso.nome;
        if (caso.combinacoes) {
            EXPECT_EQ(a, caso.depoisCombinacoes) << caso.nome;
        }
        auto b = caso.conjuntos;
        EXPECT_EQ(FiltrarPorPosicoes(b, caso.soma, mudadas), caso.posicoes) << caso.nome;
    }
}

// The program's position rule against the literal one, on many random runs: the same
// result, the same sets and the same changed flags.
TEST(Regras, PositionRuleEqualsTheLiteralMatchingRule) {
    int32_t aceites = 0, contradicoes = 0;
    for (int vez = 0; vez < 200000; ++vez) {
        const int32_t n = 2 + Aleatorio(8);
        std::array<TConjuntoDigitos, 9> conjuntos{};
        for (int32_t i = 0; i < n; ++i) {
            // Mostly small sets, as propagation produces them, sometimes full ones.
            TConjuntoDigitos conjunto = 0;
            if (Aleatorio(6) == 0) {
                conjunto = CDominioCompleto;
            } else {
                const int32_t quantos = 1 + Aleatorio(5);
                for (int32_t k = 0; k < quantos; ++k)
                    conjunto = static_cast<TConjuntoDigitos>(conjunto | (2u << Aleatorio(9)));
            }
            conjuntos[i] = conjunto;
        }
        const int32_t minimo = n * (n + 1) / 2, maximo = n * (19 - n) / 2;
        const int32_t soma = Aleatorio(50) == 0 ? 46 : minimo + Aleatorio(maximo - minimo + 1);

        auto rapido = conjuntos, literal = conjuntos;
        std::array<uint8_t, 9> mudadasRapido, mudadasLiteral;
        const std::span<TConjuntoDigitos> r(rapido.data(), static_cast<size_t>(n));
        const std::span<TConjuntoDigitos> l(literal.data(), static_cast<size_t>(n));
        const bool okRapido = FiltrarPorPosicoes(r, soma, mudadasRapido);
        const bool okLiteral = FiltrarPorPosicoesLiteral(l, soma, mudadasLiteral);
        ASSERT_EQ(okRapido, okLiteral) << "n=" << n << " soma=" << soma;
        if (!okLiteral) {
            ++contradicoes;
            continue;
        }
        ++aceites;
        ASSERT_EQ(rapido, literal) << "n=" << n << " soma=" << soma;
        ASSERT_EQ(mudadasRapido, mudadasLiteral);
    }
    // Both outcomes must be well represented for the comparison to mean anything.
    EXPECT_GT(aceites, 10000);
    EXPECT_GT(contradicoes, 10000);
}

namespace {

// The digits of all combinations of (n, S).
TConjuntoDigitos UniaoDasCombinacoes(int32_t n, int32_t ASoma) {
    TConjuntoDigitos uniao = 0;
    for (const TConjuntoDigitos c : Combinacoes(n, ASoma))
        uniao = static_cast<TConjuntoDigitos>(uniao | c);
    return uniao;
}

// One random run as propagation meets it: mostly small sets, some settled (now and then
// repeating a digit), some holding every digit of the total and more, now and then an empty
// one; the total mostly one that n distinct digits can make.
struct TRunAoAcaso {
    int32_t n = 0;
    int32_t Soma = 0;
    std::array<TConjuntoDigitos, CMaxComprimento> Conjuntos{};
};

TRunAoAcaso RunAoAcaso(TAleatorio& AAleatorio) {
    TRunAoAcaso run;
    run.n = 2 + AAleatorio.Inteiro(8);
    const int32_t minimo = run.n * (run.n + 1) / 2, maximo = run.n * (19 - run.n) / 2;
    const int32_t escolha = AAleatorio.Inteiro(60);
    run.Soma = escolha == 0   ? 46
               : escolha == 1 ? -1
               : escolha == 2 ? AAleatorio.Inteiro(CMaxSoma + 1)
                              : minimo + AAleatorio.Inteiro(maximo - minimo + 1);
    const TConjuntoDigitos daSoma = UniaoDasCombinacoes(run.n, std::clamp(run.Soma, 0, CMaxSoma));
    for (int32_t i = 0; i < run.n; ++i) {
        TConjuntoDigitos conjunto = 0;
        switch (AAleatorio.Inteiro(8)) {
        case 0:
            conjunto = CDominioCompleto;
            break;
        case 1:
            conjunto = static_cast<TConjuntoDigitos>(daSoma | 2u << AAleatorio.Inteiro(9));
            break;
        case 2:
            conjunto = static_cast<TConjuntoDigitos>(2u << AAleatorio.Inteiro(9));
            break;
        case 3:
            conjunto = AAleatorio.Inteiro(20) == 0 ? TConjuntoDigitos{0} : daSoma;
            break;
        default:
            for (int32_t k = 1 + AAleatorio.Inteiro(5); k > 0; --k)
                conjunto = static_cast<TConjuntoDigitos>(conjunto | 2u << AAleatorio.Inteiro(9));
        }
        run.Conjuntos[i] = conjunto;
    }
    // Some runs wholly settled, so that the check of a settled run is met too.
    if (AAleatorio.Inteiro(10) == 0)
        for (int32_t i = 0; i < run.n; ++i)
            run.Conjuntos[i] = static_cast<TConjuntoDigitos>(2u << AAleatorio.Inteiro(9));
    return run;
}

} // namespace

// The program's combination rule against the literal one: the same result and, when the run
// holds, the same sets and the same changed flags.
TEST(Regras, CombinationRuleEqualsTheLiteralRule) {
    TAleatorio aleatorio(29);
    int32_t aceites = 0, contradicoes = 0, estreitadas = 0;
    for (int vez = 0; vez < 300000; ++vez) {
        const TRunAoAcaso run = RunAoAcaso(aleatorio);
        auto rapido = run.Conjuntos, literal = run.Conjuntos;
        std::array<uint8_t, 9> mudadasRapido, mudadasLiteral;
        const size_t n = static_cast<size_t>(run.n);
        const bool okRapido =
            FiltrarPorCombinacoes(std::span(rapido.data(), n), run.Soma, mudadasRapido);
        const bool okLiteral =
            FiltrarPorCombinacoesLiteral(std::span(literal.data(), n), run.Soma, mudadasLiteral);
        ASSERT_EQ(okRapido, okLiteral) << "n=" << run.n << " soma=" << run.Soma;
        if (!okLiteral) {
            ++contradicoes;
            continue;
        }
        ++aceites;
        ASSERT_EQ(rapido, literal) << "n=" << run.n << " soma=" << run.Soma;
        ASSERT_EQ(mudadasRapido, mudadasLiteral);
        estreitadas += rapido != run.Conjuntos;
    }
    EXPECT_GT(aceites, 30000);
    EXPECT_GT(contradicoes, 30000);
    EXPECT_GT(estreitadas, 10000);
}

// FiltrarRun, with its shortcuts (settled runs, cells that hold every digit of the total,
// pairs, remembered answers), against the literal rules on the same run: the same result and,
// when the run holds, the same sets and changed cells. The other cells are never touched.
TEST(FiltrarRun, EqualsTheLiteralRulesOnTheRunsSets) {
    TAleatorio aleatorio(2929);
    TContextoGeracao contexto{TAleatorio(1)};
    // A model of one run of each length, its cells numbered one run after another.
    TModelo modelo;
    modelo.RunInicio.push_back(0);
    for (int32_t n = 2; n <= CMaxComprimento; ++n) {
        for (int32_t i = 0; i < n; ++i) {
            modelo.RunCel.push_back(modelo.NCel++);
            modelo.CelRun.push_back({modelo.NRuns, -1});
        }
        modelo.RunInicio.push_back(static_cast<int32_t>(modelo.RunCel.size()));
        ++modelo.NRuns;
    }
    int32_t aceites = 0, contradicoes = 0;
    // Each case twice: the second time the position rule's answer may come from memory.
    for (int vez = 0; vez < 200000; ++vez) {
        const TRunAoAcaso run = RunAoAcaso(aleatorio);
        const int32_t r = run.n - 2;
        for (const bool soCombinacoes : {true, false})
            for (int repeticao = 0; repeticao < 2; ++repeticao) {
                TDominios dominios(static_cast<size_t>(modelo.NCel), Digitos({5}));
                const std::span<const int32_t> celulas = modelo.CelulasDoRun(r);
                for (size_t i = 0; i < celulas.size(); ++i)
                    dominios[celulas[i]] = run.Conjuntos[i];
                TDominios esperado = dominios;
                auto literal = run.Conjuntos;
                std::array<uint8_t, 9> mudadasLiteral;
                const std::span<TConjuntoDigitos> l(literal.data(), celulas.size());
                const bool okLiteral =
                    soCombinacoes ? FiltrarPorCombinacoesLiteral(l, run.Soma, mudadasLiteral)
                                  : FiltrarPorPosicoesLiteral(l, run.Soma, mudadasLiteral);
                uint32_t mudadas = 0;
                const bool ok =
                    FiltrarRun(contexto, soCombinacoes, modelo, r, run.Soma, dominios, mudadas);
                ASSERT_EQ(ok, okLiteral) << "n=" << run.n << " soma=" << run.Soma;
                if (!okLiteral) {
                    ++contradicoes;
                    continue;
                }
                ++aceites;
                uint32_t mudadasEsperadas = 0;
                for (size_t i = 0; i < celulas.size(); ++i) {
                    esperado[celulas[i]] = literal[i];
                    mudadasEsperadas |= uint32_t{mudadasLiteral[i]} << i;
                }
                ASSERT_EQ(dominios, esperado) << "n=" << run.n << " soma=" << run.Soma;
                ASSERT_EQ(mudadas, mudadasEsperadas);
            }
    }
    EXPECT_GT(aceites, 100000);
    EXPECT_GT(contradicoes, 100000);
}

TEST(ConstruirModelo, NumbersCellsRowByRowAndRunsAcrossFirst) {
    TSomadoBoard board(6);
    ASSERT_TRUE(AplicarGrelha(board, GrelhaDeTexto({"######", "#..###", "#..###"})));
    const TModelo modelo = ConstruirModelo(board);
    EXPECT_EQ(modelo.NCel, 4);
    EXPECT_EQ(modelo.NRuns, 4);
    EXPECT_EQ(modelo.CelR, (std::vector<int32_t>{1, 1, 2, 2}));
    EXPECT_EQ(modelo.CelC, (std::vector<int32_t>{1, 2, 1, 2}));
    std::vector<std::vector<int32_t>> celulasDosRuns, runsDasCelulas;
    for (int32_t r = 0; r < modelo.NRuns; ++r)
        celulasDosRuns.emplace_back(modelo.CelulasDoRun(r).begin(), modelo.CelulasDoRun(r).end());
    for (int32_t k = 0; k < modelo.NCel; ++k)
        runsDasCelulas.emplace_back(modelo.RunsDaCelula(k).begin(), modelo.RunsDaCelula(k).end());
    EXPECT_EQ(celulasDosRuns, (std::vector<std::vector<int32_t>>{{0, 1}, {2, 3}, {0, 2}, {1, 3}}));
    EXPECT_EQ(runsDasCelulas, (std::vector<std::vector<int32_t>>{{0, 2}, {0, 3}, {1, 2}, {1, 3}}));
    const std::vector<int32_t> digitos{1, 2, 3, 1};
    EXPECT_EQ(SomasDosRuns(modelo, digitos), (std::vector<int32_t>{3, 4, 4, 3}));
}

TEST(ContarIndeterminadas, SolvesASmallBlockUnderBothRules) {
    TContextoGeracao contexto;
    // 1 2 / 3 1: totals 3, 4 across and 4, 3 down each have one combination, and each
    // cell's two combinations share one digit only.
    TSomadoBoard board(6);
    ASSERT_TRUE(AplicarGrelha(board, GrelhaDeTexto({"######", "#..###", "#..###"})));
    const TModelo modelo = ConstruirModelo(board);
    for (const bool soCombinacoes : {true, false}) {
        TDominios dominios;
        EXPECT_EQ(ContarIndeterminadas(contexto, modelo, std::vector<int32_t>{1, 2, 3, 1},
                                       soCombinacoes, dominios),
                  0);
        EXPECT_EQ(dominios, (TDominios{Digitos({1}), Digitos({2}), Digitos({3}), Digitos({1})}));
        // 2 4 / 1 5 and 1 5 / 2 4 share all four totals.
        EXPECT_GT(ContarIndeterminadas(contexto, modelo, std::vector<int32_t>{2, 4, 1, 5},
                                       soCombinacoes, dominios),
                  0);
    }
}

TEST(ContarIndeterminadas, TwoCellsOfOneRunOnlyNeverSettle) {
    TContextoGeracao contexto;
    TSomadoBoard board(6);
    ASSERT_TRUE(AplicarGrelha(board, GrelhaDeTexto({"######", "#..###"})));
    const TModelo modelo = ConstruirModelo(board);
    for (const bool soCombinacoes : {true, false}) {
        TDominios dominios;
        EXPECT_EQ(ContarIndeterminadas(contexto, modelo, std::vector<int32_t>{1, 2}, soCombinacoes,
                                       dominios),
                  2);
        EXPECT_EQ(dominios, (TDominios{Digitos({1, 2}), Digitos({1, 2})}));
    }
}

TEST(Propagar, ReportsImpossibleTotals) {
    TContextoGeracao contexto;
    TSomadoBoard board(6);
    ASSERT_TRUE(AplicarGrelha(board, GrelhaDeTexto({"######", "#..###", "#..###"})));
    const TModelo modelo = ConstruirModelo(board);
    TDominios dominios;
    // Across totals 3 and 3 need 1 and 2 in both rows; down totals 3 and 17 cannot hold.
    for (const bool soCombinacoes : {true, false})
        EXPECT_FALSE(
            Propagar(contexto, modelo, std::vector<int32_t>{3, 3, 3, 17}, soCombinacoes, dominios));
}

namespace {

// Propagation written out plainly, with the rules applied directly (no shortcuts, no memory
// of earlier results), to check the program's propagation against.
int32_t ContarIndeterminadasDeReferencia(const TModelo& AModelo,
                                         const std::vector<int32_t>& ADigitos, bool ASoCombinacoes,
                                         TDominios& ADominios) {
    const std::vector<int32_t> somas = SomasDosRuns(AModelo, ADigitos);
    ADominios.assign(static_cast<size_t>(AModelo.NCel), CDominioCompleto);
    std::vector<int32_t> fila;
    std::vector<bool> naFila(static_cast<size_t>(AModelo.NRuns), true);
    for (int32_t r = 0; r < AModelo.NRuns; ++r)
        fila.push_back(r);
    for (size_t cabeca = 0; cabeca < fila.size(); ++cabeca) {
        const int32_t r = fila[cabeca];
        naFila[r] = false;
        std::vector<TConjuntoDigitos> conjuntos;
        for (const int32_t celula : AModelo.CelulasDoRun(r))
            conjuntos.push_back(ADominios[celula]);
        std::array<uint8_t, 9> mudadas;
        const bool ok = ASoCombinacoes ? FiltrarPorCombinacoesLiteral(conjuntos, somas[r], mudadas)
                                       : FiltrarPorPosicoesLiteral(conjuntos, somas[r], mudadas);
        if (!ok) return CIndeterminadasContradicao;
        for (size_t i = 0; i < conjuntos.size(); ++i) {
            if (!mudadas[i]) continue;
            const int32_t celula = AModelo.CelulasDoRun(r)[i];
            ADominios[celula] = conjuntos[i];
            for (const int32_t q : AModelo.RunsDaCelula(celula)) {
                if (naFila[q] || (q == r && !ASoCombinacoes)) continue;
                naFila[q] = true;
                fila.push_back(q);
            }
        }
    }
    int32_t indeterminadas = 0;
    for (const TConjuntoDigitos conjunto : ADominios)
        indeterminadas += ContarBits(conjunto) > 1;
    return indeterminadas;
}

// A random filled board of side N as the search sees it: its model and the solution's digits
// in cell order. False when the layout or the filling gave up.
bool ModeloComSolucao(int32_t N, TModelo& AModelo, std::vector<int32_t>& ADigitos) {
    TSomadoBoard board(N);
    if (!GerarGrelha(board, 2, 9) || !PreencherSolucao(board)) return false;
    AModelo = ConstruirModelo(board);
    ADigitos.clear();
    for (int32_t k = 0; k < AModelo.NCel; ++k)
        ADigitos.push_back(board.GetCell(AModelo.CelR[k], AModelo.CelC[k]).Solution);
    return true;
}

} // namespace

TEST(ContarIndeterminadas, AgreesWithAPlainPropagation) {
    TContextoGeracao contexto;
    int32_t comparacoes = 0, contradicoes = 0, resolvidas = 0;
    for (const int32_t N : {6, 9, 12})
        for (int vez = 0; vez < 40; ++vez) {
            TModelo modelo;
            std::vector<int32_t> digitos;
            if (!ModeloComSolucao(N, modelo, digitos)) continue;
            // Valid fillings, then ones with random digits that often contradict themselves.
            for (int mutacao = 0; mutacao < 30; ++mutacao) {
                for (const bool soCombinacoes : {true, false}) {
                    TDominios esperado, obtido;
                    const int32_t referencia =
                        ContarIndeterminadasDeReferencia(modelo, digitos, soCombinacoes, esperado);
                    ASSERT_EQ(
                        ContarIndeterminadas(contexto, modelo, digitos, soCombinacoes, obtido),
                        referencia);
                    if (referencia != CIndeterminadasContradicao) {
                        ASSERT_EQ(obtido, esperado);
                    }
                    contradicoes += referencia == CIndeterminadasContradicao;
                    resolvidas += referencia == 0;
                    ++comparacoes;
                }
                digitos[static_cast<size_t>(Aleatorio(modelo.NCel))] = 1 + Aleatorio(9);
            }
        }
    EXPECT_GT(comparacoes, 1000);
    EXPECT_GT(contradicoes, 0);
}

TEST(ContarIndeterminadasDesde, EndsWhereTheFullPropagationEnds) {
    // New digits for one run change its total and those of the runs crossing it; starting
    // from the propagation of all other runs must give the same count and sets as starting
    // from scratch, for valid fillings and for digits that contradict the others.
    TContextoGeracao contexto;
    int32_t comparacoes = 0, contradicoes = 0;
    for (const int32_t N : {6, 9, 12})
        for (int vez = 0; vez < 15; ++vez) {
            TModelo modelo;
            std::vector<int32_t> digitos;
            if (!ModeloComSolucao(N, modelo, digitos)) continue;
            for (int32_t run = 0; run < modelo.NRuns; ++run) {
                std::vector<int32_t> mudados{run};
                std::vector<uint8_t> fora(static_cast<size_t>(modelo.NRuns), 0);
                for (const int32_t celula : modelo.CelulasDoRun(run))
                    for (const int32_t q : modelo.RunsDaCelula(celula))
                        if (q != run) mudados.push_back(q);
                for (const int32_t q : mudados)
                    fora[q] = 1;
                std::vector<int32_t> novos = digitos;
                for (const int32_t celula : modelo.CelulasDoRun(run))
                    novos[celula] = 1 + Aleatorio(9);
                for (const bool soCombinacoes : {true, false}) {
                    TDominios base, esperado, obtido;
                    const int32_t referencia =
                        ContarIndeterminadas(contexto, modelo, novos, soCombinacoes, esperado);
                    if (!PropagarSemRuns(contexto, modelo, SomasDosRuns(modelo, digitos),
                                         soCombinacoes, fora, base)) {
                        EXPECT_EQ(referencia, CIndeterminadasContradicao);
                        continue;
                    }
                    ASSERT_EQ(ContarIndeterminadasDesde(contexto, modelo,
                                                        SomasDosRuns(modelo, novos), soCombinacoes,
                                                        base, mudados, obtido),
                              referencia);
                    if (referencia != CIndeterminadasContradicao) {
                        ASSERT_EQ(obtido, esperado);
                    }
                    contradicoes += referencia == CIndeterminadasContradicao;
                    ++comparacoes;
                }
            }
        }
    EXPECT_GT(comparacoes, 1000);
    EXPECT_GT(contradicoes, 0);
}

TEST(PropagarSemRunsDesde, EndsWherePropagatingWithoutTheRunsEnds) {
    // A base that leaves out the runs of several proposals, then given back all but the runs
    // of one of them, must be the base made for that one alone: the same contradictions and,
    // otherwise, the same sets.
    TContextoGeracao contexto;
    int32_t comparacoes = 0;
    for (const int32_t N : {6, 9, 12})
        for (int vez = 0; vez < 15; ++vez) {
            TModelo modelo;
            std::vector<int32_t> digitos;
            if (!ModeloComSolucao(N, modelo, digitos)) continue;
            // Some wrong digits too, so that some bases contradict.
            if (vez % 3 == 0)
                digitos[static_cast<size_t>(Aleatorio(modelo.NCel))] = 1 + Aleatorio(9);
            const std::vector<int32_t> somas = SomasDosRuns(modelo, digitos);
            auto marcarRun = [&](int32_t ARun, std::vector<uint8_t>& AFora,
                                 std::vector<int32_t>* ALista) {
                std::vector<int32_t> runs{ARun};
                for (const int32_t celula : modelo.CelulasDoRun(ARun))
                    for (const int32_t q : modelo.RunsDaCelula(celula))
                        if (q != ARun) runs.push_back(q);
                for (const int32_t q : runs) {
                    if (ALista && !AFora[q]) ALista->push_back(q);
                    AFora[q] = 1;
                }
            };
            std::vector<int32_t> escolhidos;
            for (int i = 0; i < 8; ++i)
                escolhidos.push_back(Aleatorio(modelo.NRuns));
            std::vector<uint8_t> foraTodos(static_cast<size_t>(modelo.NRuns), 0);
            std::vector<int32_t> runsTodos;
            for (const int32_t run : escolhidos)
                marcarRun(run, foraTodos, &runsTodos);
            for (const bool soCombinacoes : {true, false}) {
                TDominios comum;
                const bool comumValida =
                    PropagarSemRuns(contexto, modelo, somas, soCombinacoes, foraTodos, comum);
                for (const int32_t run : escolhidos) {
                    std::vector<uint8_t> fora(static_cast<size_t>(modelo.NRuns), 0);
                    marcarRun(run, fora, nullptr);
                    TDominios esperado, obtido;
                    const bool valida =
                        PropagarSemRuns(contexto, modelo, somas, soCombinacoes, fora, esperado);
                    const bool obtidaValida =
                        comumValida && PropagarSemRunsDesde(contexto, modelo, somas, soCombinacoes,
                                                            comum, runsTodos, fora, obtido);
                    ASSERT_EQ(obtidaValida, valida);
                    if (valida) {
                        ASSERT_EQ(obtido, esperado);
                    }
                    ++comparacoes;
                }
            }
        }
    EXPECT_GT(comparacoes, 500);
}
