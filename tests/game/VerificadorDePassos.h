// Checks an explained step against the board by brute force, sharing nothing with the code that
// found it: the runs are walked from the cells here, the combinations enumerated from all 511
// sets of digits, and every conclusion tried against every way to fill the run.
#pragma once

#include "game/Explicacao.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <set>
#include <string>
#include <vector>

namespace verificador {

constexpr uint16_t Bit(int d) {
    return static_cast<uint16_t>(1u << d);
}

inline std::string Texto(uint32_t AConjunto) {
    std::string texto = "{";
    for (int d = 1; d <= 9; ++d)
        if (AConjunto >> d & 1) texto += std::to_string(d);
    return texto + "}";
}

// Every set of ACasas distinct digits adding up to ASoma, tried among all 511 sets (once: the
// checks ask for them at every cell of every step).
inline const std::vector<uint16_t>& CombinacoesPorForca(int32_t ACasas, int32_t ASoma) {
    static const auto tabela = [] {
        std::vector<std::vector<uint16_t>> porCasasESoma(10 * 46);
        for (uint32_t m = 1; m < 512; ++m) {
            int32_t casas = 0, soma = 0;
            for (int d = 1; d <= 9; ++d)
                if (m >> (d - 1) & 1) {
                    ++casas;
                    soma += d;
                }
            porCasasESoma[casas * 46 + soma].push_back(static_cast<uint16_t>(m << 1));
        }
        return porCasasESoma;
    }();
    static const std::vector<uint16_t> nenhuma;
    if (ACasas < 0 || ACasas > 9 || ASoma < 0 || ASoma > 45) return nenhuma;
    return tabela[ACasas * 46 + ASoma];
}

// A run walked from the cells: its cells in order, its clue and the digits placed in it.
struct TCorrida {
    std::vector<std::pair<int32_t, int32_t>> Celulas;
    int32_t Soma = 0;
    bool Horizontal = true;
    uint16_t Colocados = 0;
    bool Repetido = false;

    bool Contem(int32_t ARow, int32_t ACol) const {
        return std::find(Celulas.begin(), Celulas.end(), std::pair{ARow, ACol}) != Celulas.end();
    }
};

inline bool Branca(const TSomadoBoard& ABoard, int32_t r, int32_t c) {
    return r >= 0 && c >= 0 && r < ABoard.Size() && c < ABoard.Size() &&
           ABoard.GetCell(r, c).CellType == TCellType::ctEmpty;
}

inline TCorrida CorridaDe(const TSomadoBoard& ABoard, int32_t ARow, int32_t ACol,
                          bool AHorizontal) {
    TCorrida corrida;
    corrida.Horizontal = AHorizontal;
    const int32_t dr = AHorizontal ? 0 : 1, dc = AHorizontal ? 1 : 0;
    int32_t r = ARow, c = ACol;
    while (Branca(ABoard, r - dr, c - dc)) {
        r -= dr;
        c -= dc;
    }
    const TSomadoCell pista = ABoard.GetCell(r - dr, c - dc);
    corrida.Soma = AHorizontal ? pista.RightSum : pista.DownSum;
    for (; Branca(ABoard, r, c); r += dr, c += dc) {
        corrida.Celulas.push_back({r, c});
        if (const int32_t v = ABoard.GetCell(r, c).Value; v != 0) {
            corrida.Repetido = corrida.Repetido || (corrida.Colocados & Bit(v));
            corrida.Colocados |= Bit(v);
        }
    }
    return corrida;
}

// The digits the run leaves for its empty cells: those of the combinations holding every
// placed digit, less the placed ones.
inline uint16_t AdmitePorForca(const TCorrida& ACorrida) {
    if (ACorrida.Repetido) return 0;
    uint16_t admite = 0;
    for (const uint16_t c :
         CombinacoesPorForca(static_cast<int32_t>(ACorrida.Celulas.size()), ACorrida.Soma))
        if ((c & ACorrida.Colocados) == ACorrida.Colocados) admite |= c;
    return static_cast<uint16_t>(admite & ~ACorrida.Colocados);
}

// A cell's candidates from its runs (those with a clue and two cells or more), each on its
// own: a digit stays when each run has a combination holding it and the run's placed digits.
inline uint16_t CandidatosPorForca(const TSomadoBoard& ABoard, int32_t ARow, int32_t ACol) {
    uint16_t candidatos = 0;
    for (int d = 1; d <= 9; ++d) {
        bool cabe = true;
        for (const bool horizontal : {true, false}) {
            const TCorrida corrida = CorridaDe(ABoard, ARow, ACol, horizontal);
            if (corrida.Celulas.size() < 2 || corrida.Soma <= 0) continue;
            bool algumaCombinacao = false;
            if (!corrida.Repetido && !(corrida.Colocados & Bit(d)))
                for (const uint16_t c : CombinacoesPorForca(
                         static_cast<int32_t>(corrida.Celulas.size()), corrida.Soma))
                    algumaCombinacao = algumaCombinacao || (c & (corrida.Colocados | Bit(d))) ==
                                                               (corrida.Colocados | Bit(d));
            cabe = cabe && algumaCombinacao;
        }
        if (cabe) candidatos |= Bit(d);
    }
    return candidatos;
}

// Every way to fill the run with distinct digits, one from each cell's set, adding up to the
// clue: tried digit by digit, with no pruning to get wrong.
inline void Preencher(const std::vector<uint16_t>& AConjuntos, size_t APosicao,
                      std::vector<int8_t>& AActual, int32_t ASoma,
                      std::vector<std::vector<int8_t>>& APreenchimentos) {
    if (APosicao == AConjuntos.size()) {
        int32_t soma = 0;
        uint16_t usados = 0;
        for (const int8_t d : AActual) {
            soma += d;
            if (usados & Bit(d)) return;
            usados |= Bit(d);
        }
        if (soma == ASoma) APreenchimentos.push_back(AActual);
        return;
    }
    for (int d = 1; d <= 9; ++d)
        if (AConjuntos[APosicao] & Bit(d)) {
            AActual[APosicao] = static_cast<int8_t>(d);
            Preencher(AConjuntos, APosicao + 1, AActual, ASoma, APreenchimentos);
        }
}

inline uint16_t DigitosDe(const std::vector<int8_t>& APreenchimento) {
    uint16_t digitos = 0;
    for (const int8_t d : APreenchimento)
        digitos |= Bit(d);
    return digitos;
}

inline std::string Juntas(const QStringList& ALinhas) {
    return ALinhas.join(u'\n').toStdString();
}

inline bool Diz(const QStringList& ALinhas, const std::string& ATexto) {
    return Juntas(ALinhas).find(ATexto) != std::string::npos;
}

// Rows and columns as the player counts them, the clue frame being the first.
inline std::string Casa(int32_t ARow, int32_t ACol) {
    return "Linha " + std::to_string(ARow + 1) + ", coluna " + std::to_string(ACol + 1) + ":";
}

struct TContexto {
    const TSomadoBoard& Board;
    const std::vector<uint16_t>& Notas;
    // The marks never leave out a cell's solution digit, as when they only ever lost what
    // explained steps ruled out: a hypothesis from them is then exactly what they keep.
    bool NotasFieis = true;
};

inline uint16_t NotasDe(const TContexto& AContexto, int32_t ARow, int32_t ACol) {
    return AContexto.Notas[static_cast<size_t>(ARow) * AContexto.Board.Size() + ACol];
}

// A run the step names is the board's run through those cells, with its clue, its placed
// digits, exactly the table's combinations that hold them all, and what those leave.
inline void VerificarCorridaNomeada(const TContexto& AContexto, const TCorridaDoPasso& ANomeada) {
    const TCorridaDaCelula& c = ANomeada.Corrida;
    const TCorrida corrida = CorridaDe(AContexto.Board, c.Row, c.Col, c.Horizontal);
    ASSERT_FALSE(corrida.Celulas.empty());
    EXPECT_EQ(corrida.Celulas.front(), (std::pair{c.Row, c.Col}));
    EXPECT_EQ(static_cast<int32_t>(corrida.Celulas.size()), c.Comprimento);
    EXPECT_EQ(corrida.Soma, c.Soma);
    EXPECT_EQ(ANomeada.Colocados, corrida.Colocados);
    std::vector<uint16_t> esperadas;
    for (const uint16_t comb : CombinacoesPorForca(c.Comprimento, c.Soma))
        if ((comb & corrida.Colocados) == corrida.Colocados) esperadas.push_back(comb);
    std::vector<uint16_t> ditas(ANomeada.Combinacoes.begin(), ANomeada.Combinacoes.end());
    std::sort(ditas.begin(), ditas.end());
    EXPECT_EQ(ditas, esperadas) << c.Soma << " em " << c.Comprimento;
    EXPECT_EQ(ANomeada.Admite, AdmitePorForca(corrida));
}

inline void VerificarCruzamento(const TContexto& AContexto, const TPassoExplicado& APasso) {
    const TPassoDeducao& d = APasso.Deducao;
    ASSERT_GE(d.Corridas.size(), 1u);
    ASSERT_LE(d.Corridas.size(), 2u);
    uint16_t comum = 0x3FE;
    for (const TCorridaDoPasso& nomeada : d.Corridas) {
        const TCorrida corrida = CorridaDe(AContexto.Board, nomeada.Corrida.Row,
                                           nomeada.Corrida.Col, nomeada.Corrida.Horizontal);
        EXPECT_TRUE(corrida.Contem(d.Row, d.Col));
        comum &= AdmitePorForca(corrida);
    }
    EXPECT_EQ(comum, Bit(d.Digito)) << Texto(comum);
    if (d.Corridas.size() == 2) {
        EXPECT_NE(d.Corridas[0].Corrida.Horizontal, d.Corridas[1].Corrida.Horizontal);
    }
}

inline void VerificarNotas(const TContexto& AContexto, const TPassoExplicado& APasso) {
    const TPassoDeducao& d = APasso.Deducao;
    EXPECT_TRUE(d.Corridas.empty());
    ASSERT_EQ(d.Hipoteses.size(), 1u);
    EXPECT_EQ(d.Hipoteses[0].Conjunto, Bit(d.Digito));
    const uint16_t notas = NotasDe(AContexto, d.Row, d.Col);
    EXPECT_NE(notas, 0);
    if (AContexto.NotasFieis) {
        EXPECT_EQ(notas & CandidatosPorForca(AContexto.Board, d.Row, d.Col), Bit(d.Digito));
    }
}

// One rule on one run: the hypotheses are true, the combinations that serve are those the
// rule keeps, and the conclusion holds in every filling of the run they allow.
inline void VerificarRegra(const TContexto& AContexto, const TPassoExplicado& APasso) {
    const TSomadoBoard& board = AContexto.Board;
    const TPassoDeducao& d = APasso.Deducao;
    ASSERT_GE(d.Corridas.size(), 1u);
    const TCorridaDaCelula& nomeada = d.Corridas[0].Corrida;
    const TCorrida run = CorridaDe(board, nomeada.Row, nomeada.Col, nomeada.Horizontal);
    const uint16_t admite = AdmitePorForca(run);
    const auto n = run.Celulas.size();

    // What the step takes for each cell: its digit, its hypothesis, or what the run admits.
    std::vector<uint16_t> entradas(n);
    std::vector<bool> aberta(n);
    for (size_t k = 0; k < n; ++k) {
        const int32_t v = board.GetCell(run.Celulas[k].first, run.Celulas[k].second).Value;
        aberta[k] = v == 0;
        entradas[k] = v != 0 ? Bit(v) : admite;
    }
    std::set<int32_t> cruzadasUsadas;
    for (const THipoteseDoPasso& h : d.Hipoteses) {
        SCOPED_TRACE(Casa(h.Row, h.Col));
        const auto onde =
            std::find(run.Celulas.begin(), run.Celulas.end(), std::pair{h.Row, h.Col});
        ASSERT_NE(onde, run.Celulas.end());
        const auto k = static_cast<size_t>(onde - run.Celulas.begin());
        ASSERT_TRUE(aberta[k]);
        const uint16_t solucao = Bit(board.GetCell(h.Row, h.Col).Solution);
        EXPECT_TRUE(h.Conjunto & solucao) << Texto(h.Conjunto);
        const TCorrida cruzada = CorridaDe(board, h.Row, h.Col, !run.Horizontal);
        const uint16_t porCorridas =
            admite & (cruzada.Celulas.size() >= 2 && cruzada.Soma > 0 ? AdmitePorForca(cruzada)
                                                                      : uint16_t{0x3FE});
        if (h.Corrida >= 0) {
            ASSERT_LT(static_cast<size_t>(h.Corrida), d.Corridas.size());
            EXPECT_TRUE(cruzadasUsadas.insert(h.Corrida).second);
            const TCorridaDaCelula& origem = d.Corridas[h.Corrida].Corrida;
            EXPECT_EQ(origem.Horizontal, !run.Horizontal);
            EXPECT_EQ((std::pair{origem.Row, origem.Col}), cruzada.Celulas.front());
            EXPECT_EQ(h.Conjunto, porCorridas) << Texto(h.Conjunto) << Texto(porCorridas);
        } else {
            const uint16_t notas = NotasDe(AContexto, h.Row, h.Col);
            EXPECT_NE(notas & 0x3FE, 0);
            EXPECT_EQ(h.Conjunto & ~porCorridas, 0);
            if (AContexto.NotasFieis) {
                EXPECT_EQ(h.Conjunto, porCorridas & notas);
            }
        }
        entradas[k] = h.Conjunto;
    }
    // Every run after the first is the crossing run of one hypothesis.
    EXPECT_EQ(cruzadasUsadas.size() + 1, d.Corridas.size());

    std::vector<std::vector<int8_t>> preenchimentos;
    std::vector<int8_t> actual(n, 0);
    Preencher(entradas, 0, actual, run.Soma, preenchimentos);
    ASSERT_FALSE(preenchimentos.empty());

    const bool posicoes = d.Raciocinio == TRaciocinio::Posicoes;
    std::set<uint16_t> servem;
    if (posicoes) {
        for (const auto& p : preenchimentos)
            servem.insert(DigitosDe(p));
        const auto quantos = static_cast<int32_t>(preenchimentos.size());
        EXPECT_EQ(d.NPreenchimentos, std::min(quantos, CMaxPreenchimentosListados + 1));
        if (quantos <= CMaxPreenchimentosListados) {
            std::set<std::vector<int8_t>> ditos;
            for (const auto& p : d.Preenchimentos)
                ditos.insert(std::vector<int8_t>(p.begin(), p.begin() + static_cast<long>(n)));
            EXPECT_EQ(ditos,
                      std::set<std::vector<int8_t>>(preenchimentos.begin(), preenchimentos.end()));
        } else {
            EXPECT_TRUE(d.Preenchimentos.empty());
        }
    } else {
        // The combination rule: a combination serves when it holds the placed digits, its other
        // digits all fit some empty cell, and every empty cell can take one of them.
        uint16_t uniao = 0;
        for (size_t k = 0; k < n; ++k)
            if (aberta[k]) uniao |= entradas[k];
        for (const uint16_t c : CombinacoesPorForca(static_cast<int32_t>(n), run.Soma)) {
            if ((c & run.Colocados) != run.Colocados) continue;
            const auto resto = static_cast<uint16_t>(c & ~run.Colocados);
            bool serve = (resto & ~uniao) == 0;
            for (size_t k = 0; k < n; ++k)
                serve = serve && (!aberta[k] || (entradas[k] & resto));
            if (serve) servem.insert(c);
        }
    }
    EXPECT_EQ(std::set<uint16_t>(d.CombinacoesQueServem.begin(), d.CombinacoesQueServem.end()),
              servem);

    // What each empty cell can still be under the step's rule.
    uint16_t permitidos = 0;
    for (const uint16_t c : servem)
        permitidos |= c & ~run.Colocados;
    auto podeSer = [&](size_t k) {
        if (!posicoes) return static_cast<uint16_t>(entradas[k] & permitidos);
        uint16_t digitos = 0;
        for (const auto& p : preenchimentos)
            digitos |= Bit(p[k]);
        return digitos;
    };
    auto posicao = [&](int32_t ARow, int32_t ACol) {
        return static_cast<size_t>(
            std::find(run.Celulas.begin(), run.Celulas.end(), std::pair{ARow, ACol}) -
            run.Celulas.begin());
    };

    if (d.Digito != 0) {
        const size_t alvo = posicao(d.Row, d.Col);
        ASSERT_LT(alvo, n);
        ASSERT_TRUE(aberta[alvo]);
        EXPECT_EQ(podeSer(alvo), Bit(d.Digito)) << Texto(podeSer(alvo));
        EXPECT_TRUE(d.Retiradas.empty());
        if (d.DigitoNumaSoCasa) {
            for (const uint16_t c : servem)
                EXPECT_TRUE(c & Bit(d.Digito));
            for (size_t k = 0; k < n; ++k)
                if (k != alvo && aberta[k]) {
                    EXPECT_FALSE(entradas[k] & Bit(d.Digito));
                }
        }
        return;
    }
    ASSERT_FALSE(d.Retiradas.empty());
    for (const TRetiradaDoPasso& r : d.Retiradas) {
        SCOPED_TRACE(Casa(r.Row, r.Col));
        const size_t k = posicao(r.Row, r.Col);
        ASSERT_LT(k, n);
        ASSERT_TRUE(aberta[k]);
        const auto retirados = static_cast<uint16_t>(r.Antes & ~r.Depois);
        EXPECT_NE(retirados, 0);
        EXPECT_EQ(r.Depois & ~r.Antes, 0);
        EXPECT_EQ(podeSer(k) & retirados, 0) << Texto(retirados);
        EXPECT_TRUE(r.Depois & Bit(board.GetCell(r.Row, r.Col).Solution));
    }
}

// The marks a removal rules out: a marked cell loses exactly the digits ruled out, an unmarked
// one gets what the step leaves it.
inline void VerificarNotasRetiradas(const TContexto& AContexto, const TPassoExplicado& APasso) {
    std::vector<TMudancaNotas> esperadas;
    for (const TRetiradaDoPasso& r : APasso.Deducao.Retiradas) {
        const uint16_t notas = NotasDe(AContexto, r.Row, r.Col);
        const auto retirados = static_cast<uint16_t>(r.Antes & ~r.Depois);
        if (notas & 0x3FE) {
            if (notas & retirados)
                esperadas.push_back(
                    {r.Row, r.Col, notas, static_cast<uint16_t>(notas & ~retirados)});
        } else {
            esperadas.push_back({r.Row, r.Col, notas, r.Depois});
        }
    }
    ASSERT_EQ(APasso.NotasRetiradas.size(), esperadas.size());
    for (size_t i = 0; i < esperadas.size(); ++i) {
        EXPECT_EQ(APasso.NotasRetiradas[i].Row, esperadas[i].Row);
        EXPECT_EQ(APasso.NotasRetiradas[i].Col, esperadas[i].Col);
        EXPECT_EQ(APasso.NotasRetiradas[i].Antes, esperadas[i].Antes);
        EXPECT_EQ(APasso.NotasRetiradas[i].Depois, esperadas[i].Depois);
    }
}

// A fixing or removing step is true, by the rules of the level, and says what it found.
inline void VerificarPasso(const TContexto& AContexto, const TPassoExplicado& APasso) {
    SCOPED_TRACE(Juntas(APasso.Linhas));
    const TSomadoBoard& board = AContexto.Board;
    const TPassoDeducao& d = APasso.Deducao;
    ASSERT_TRUE(APasso.Tipo == TPassoExplicado::TTipo::FixaCelula ||
                APasso.Tipo == TPassoExplicado::TTipo::RetiraCandidatos);
    ASSERT_FALSE(APasso.Linhas.isEmpty());

    // The runs to highlight are the runs the step names, each the board's own.
    ASSERT_EQ(APasso.Corridas.size(), d.Corridas.size());
    for (size_t i = 0; i < d.Corridas.size(); ++i) {
        const TCorridaDaCelula& a = APasso.Corridas[i];
        const TCorridaDaCelula& b = d.Corridas[i].Corrida;
        EXPECT_TRUE(a.Row == b.Row && a.Col == b.Col && a.Comprimento == b.Comprimento &&
                    a.Soma == b.Soma && a.Horizontal == b.Horizontal);
        VerificarCorridaNomeada(AContexto, d.Corridas[i]);
        EXPECT_TRUE(Diz(APasso.Linhas, std::to_string(b.Soma) + " em " +
                                           std::to_string(b.Comprimento) + " casas"));
    }

    // A rule of a harder level never explains an easier board.
    const bool soCombinacoes = board.Difficulty() == TNivelDificuldade::ndFacil ||
                               board.Difficulty() == TNivelDificuldade::ndMedio;
    if (soCombinacoes) {
        EXPECT_NE(d.Raciocinio, TRaciocinio::Posicoes);
    }

    // A cell that its two runs alone settle comes before any other step.
    if (d.Raciocinio != TRaciocinio::Cruzamento)
        for (int32_t r = 0; r < board.Size(); ++r)
            for (int32_t c = 0; c < board.Size(); ++c)
                if (Branca(board, r, c) && board.GetCell(r, c).Value == 0) {
                    EXPECT_FALSE(std::has_single_bit(CandidatosPorForca(board, r, c)))
                        << Casa(r, c);
                }

    if (APasso.Tipo == TPassoExplicado::TTipo::FixaCelula) {
        EXPECT_EQ(APasso.Row, d.Row);
        EXPECT_EQ(APasso.Col, d.Col);
        EXPECT_EQ(APasso.Digito, d.Digito);
        ASSERT_TRUE(Branca(board, d.Row, d.Col));
        EXPECT_EQ(board.GetCell(d.Row, d.Col).Value, 0);
        EXPECT_EQ(d.Digito, board.GetCell(d.Row, d.Col).Solution);
        EXPECT_EQ(APasso.Linhas.first().toStdString(), Casa(d.Row, d.Col));
        EXPECT_EQ(APasso.Linhas.last().toStdString(),
                  "Logo esta casa é " + std::to_string(d.Digito) + ".");
    } else {
        EXPECT_EQ(d.Digito, 0);
        ASSERT_FALSE(d.Retiradas.empty());
        EXPECT_EQ(APasso.Row, d.Retiradas.front().Row);
        EXPECT_EQ(APasso.Col, d.Retiradas.front().Col);
        VerificarNotasRetiradas(AContexto, APasso);
    }

    switch (d.Raciocinio) {
    case TRaciocinio::Cruzamento:
        VerificarCruzamento(AContexto, APasso);
        break;
    case TRaciocinio::Notas:
        VerificarNotas(AContexto, APasso);
        break;
    case TRaciocinio::Combinacoes:
    case TRaciocinio::Posicoes:
        VerificarRegra(AContexto, APasso);
        break;
    case TRaciocinio::Nenhum:
        ADD_FAILURE() << "a step with no reasoning";
        break;
    }
}

} // namespace verificador
