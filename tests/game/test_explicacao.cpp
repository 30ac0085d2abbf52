// "Explicar um passo" on seeded puzzles of every size and level: every explained step is checked
// by brute force (VerificadorDePassos.h), and following the steps (writing each digit, removing
// the marks each removal names) must solve the board. Then the rule breaks and wrong digits that
// come before any step, the boards with no step, and the candidates for "Preencher notas".
#include "VerificadorDePassos.h"

#include "game/AjudasRegras.h"
#include "game/Explicacao.h"
#include "generator/UnitSomadoGenerator.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <ostream>

namespace {

using namespace verificador;
using TTipo = TPassoExplicado::TTipo;
using T = TTamanhoTabuleiro;
using N = TNivelDificuldade;

struct TPuzzleSemeado {
    T Tamanho;
    N Nivel;
    uint64_t Semente;
};

void PrintTo(const TPuzzleSemeado& APuzzle, std::ostream* ASaida) {
    *ASaida << LadoDoTabuleiro(APuzzle.Tamanho) << "-" << NomeNivel(APuzzle.Nivel) << "-"
            << APuzzle.Semente;
}

std::unique_ptr<TSomadoBoard> Gerar(const TPuzzleSemeado& APuzzle) {
    TAleatorio aleatorio(APuzzle.Semente);
    const std::atomic<bool> parar{false};
    return GerarPuzzleComAleatorio(APuzzle.Tamanho, APuzzle.Nivel, 0, aleatorio, parar);
}

std::vector<uint16_t> SemNotas(const TSomadoBoard& ABoard) {
    return std::vector<uint16_t>(static_cast<size_t>(ABoard.Size()) * ABoard.Size(), 0);
}

void Escrever(TSomadoBoard& ABoard, int32_t ARow, int32_t ACol, int32_t ADigito) {
    TSomadoCell cell = ABoard.GetCell(ARow, ACol);
    cell.Value = ADigito;
    ABoard.SetCell(ARow, ACol, cell);
}

int32_t Solucao(const TSomadoBoard& ABoard, int32_t ARow, int32_t ACol) {
    return ABoard.GetCell(ARow, ACol).Solution;
}

bool Resolvido(const TSomadoBoard& ABoard) {
    for (int32_t r = 0; r < ABoard.Size(); ++r)
        for (int32_t c = 0; c < ABoard.Size(); ++c)
            if (Branca(ABoard, r, c) && ABoard.GetCell(r, c).Value != Solucao(ABoard, r, c))
                return false;
    return true;
}

int32_t Vazias(const TSomadoBoard& ABoard) {
    int32_t vazias = 0;
    for (int32_t r = 0; r < ABoard.Size(); ++r)
        for (int32_t c = 0; c < ABoard.Size(); ++c)
            vazias += Branca(ABoard, r, c) && ABoard.GetCell(r, c).Value == 0;
    return vazias;
}

struct TSeguimento {
    int32_t Fixas = 0;
    int32_t Retiradas = 0;
    std::array<int32_t, 5> PorRaciocinio{};
    TPassoExplicado Ultimo;
};

// Follows the explained steps as a player would: writes each concluded digit, applies each
// removal to the marks. Every step is checked before it is followed; stops at the first that
// fails, at a step of another kind, or after AMaximo steps (0: until there is none).
TSeguimento SeguirPassos(TSomadoBoard& ABoard, std::vector<uint16_t>& ANotas, bool ANotasFieis,
                         int32_t AMaximo = 0) {
    TSeguimento seguimento;
    const int32_t limite = 20 * ABoard.Size() * ABoard.Size();
    for (int32_t passo = 0; AMaximo == 0 || passo < AMaximo; ++passo) {
        seguimento.Ultimo = ExplicarPasso(ABoard, ANotas);
        const TPassoExplicado& p = seguimento.Ultimo;
        if (p.Tipo != TTipo::FixaCelula && p.Tipo != TTipo::RetiraCandidatos) break;
        VerificarPasso({ABoard, ANotas, ANotasFieis}, p);
        if (::testing::Test::HasFailure() || passo > limite) {
            ADD_FAILURE() << "parou no passo " << passo;
            break;
        }
        ++seguimento.PorRaciocinio[static_cast<size_t>(p.Deducao.Raciocinio)];
        if (p.Tipo == TTipo::FixaCelula) {
            Escrever(ABoard, p.Row, p.Col, p.Digito);
            ++seguimento.Fixas;
        } else {
            for (const TMudancaNotas& m : p.NotasRetiradas)
                ANotas[static_cast<size_t>(m.Row) * ABoard.Size() + m.Col] = m.Depois;
            ++seguimento.Retiradas;
        }
    }
    return seguimento;
}

bool SoCombinacoes(N ANivel) {
    return ANivel == N::ndFacil || ANivel == N::ndMedio;
}

// ---- Following the steps to the end --------------------------------------------------------

class PassosSeguidos : public ::testing::TestWithParam<TPuzzleSemeado> {};

TEST_P(PassosSeguidos, SolveTheBoardWithTrueStepsOfItsLevel) {
    const std::unique_ptr<TSomadoBoard> board = Gerar(GetParam());
    ASSERT_NE(board, nullptr);
    const int32_t vazias = Vazias(*board);
    std::vector<uint16_t> notas = SemNotas(*board);
    const TSeguimento s = SeguirPassos(*board, notas, true);
    ASSERT_FALSE(HasFailure());

    EXPECT_EQ(s.Ultimo.Tipo, TTipo::Nenhum);
    EXPECT_TRUE(Diz(s.Ultimo.Linhas, "resolvido")) << Juntas(s.Ultimo.Linhas);
    EXPECT_TRUE(Resolvido(*board));
    EXPECT_EQ(s.Fixas, vazias);
    // The easier levels are solved by combinations; the harder ones need positions somewhere.
    const int32_t porPosicoes = s.PorRaciocinio[static_cast<size_t>(TRaciocinio::Posicoes)];
    if (SoCombinacoes(GetParam().Nivel)) {
        EXPECT_EQ(porPosicoes, 0);
    } else {
        EXPECT_GT(porPosicoes, 0);
    }
}

// Marks that leave out solution digits, or hold digits no run allows, never become premises: the
// steps stay true and still reach the solution.
class PassosComNotasErradas : public PassosSeguidos {};

TEST_P(PassosComNotasErradas, StayTrueAndReachTheSolution) {
    const std::unique_ptr<TSomadoBoard> board = Gerar(GetParam());
    ASSERT_NE(board, nullptr);
    std::vector<uint16_t> notas = SemNotas(*board);
    TAleatorio aleatorio(GetParam().Semente * 7919 + 1);
    int32_t semSolucao = 0;
    for (int32_t r = 0; r < board->Size(); ++r)
        for (int32_t c = 0; c < board->Size(); ++c)
            if (Branca(*board, r, c)) {
                auto& n = notas[static_cast<size_t>(r) * board->Size() + c];
                n = static_cast<uint16_t>(aleatorio.Inteiro(1024) & 0x3FE);
                if (aleatorio.Inteiro(3) == 0)
                    n &= static_cast<uint16_t>(~Bit(Solucao(*board, r, c)));
                semSolucao += (n & Bit(Solucao(*board, r, c))) == 0;
            }
    ASSERT_GT(semSolucao, 0);
    const TSeguimento s = SeguirPassos(*board, notas, false);
    ASSERT_FALSE(HasFailure());
    EXPECT_TRUE(Resolvido(*board)) << Juntas(s.Ultimo.Linhas);
}

// Every size the window offers at every level, from ASementes seeds each.
std::vector<TPuzzleSemeado> PuzzlesSemeados(uint64_t ASementes) {
    std::vector<TPuzzleSemeado> puzzles;
    for (const T tamanho : {T::tt6, T::tt9, T::tt12, T::tt15})
        for (const N nivel : {N::ndFacil, N::ndMedio, N::ndDificil, N::ndMuitoDificil})
            for (uint64_t semente = 1; semente <= ASementes; ++semente)
                puzzles.push_back({tamanho, nivel, semente});
    return puzzles;
}

std::string NomeDoCaso(const ::testing::TestParamInfo<TPuzzleSemeado>& AInfo) {
    static const char* const CNiveis[] = {"Facil", "Medio", "Dificil", "MuitoDificil"};
    std::string nome = "N";
    nome += std::to_string(LadoDoTabuleiro(AInfo.param.Tamanho));
    nome += '_';
    nome += CNiveis[static_cast<int>(AInfo.param.Nivel)];
    nome += '_';
    nome += std::to_string(AInfo.param.Semente);
    return nome;
}

INSTANTIATE_TEST_SUITE_P(Sementes, PassosSeguidos, ::testing::ValuesIn(PuzzlesSemeados(3)),
                         NomeDoCaso);
INSTANTIATE_TEST_SUITE_P(Sementes, PassosComNotasErradas, ::testing::ValuesIn(PuzzlesSemeados(1)),
                         NomeDoCaso);

// ---- What comes before any step ------------------------------------------------------------

const TPuzzleSemeado CNoveFacil{T::tt9, N::ndFacil, 2};

struct TRunDoTabuleiro {
    std::vector<std::pair<int32_t, int32_t>> Celulas;
    bool Horizontal = true;
};

// The first run of the board in that direction with at least AMinimo cells, in reading order.
TRunDoTabuleiro PrimeiroRun(const TSomadoBoard& ABoard, bool AHorizontal, size_t AMinimo) {
    for (int32_t r = 0; r < ABoard.Size(); ++r)
        for (int32_t c = 0; c < ABoard.Size(); ++c) {
            if (!Branca(ABoard, r, c)) continue;
            const TCorrida corrida = CorridaDe(ABoard, r, c, AHorizontal);
            if (corrida.Celulas.front() == std::pair{r, c} && corrida.Celulas.size() >= AMinimo)
                return {corrida.Celulas, AHorizontal};
        }
    return {};
}

TEST(Conflitos, ABrokenRuleIsExplainedFirstWithItsCellAndRun) {
    struct TCaso {
        const char* Nome;
        // Breaks a rule on the board and returns the run that breaks it.
        std::function<TRunDoTabuleiro(TSomadoBoard&)> Preparar;
        const char* Razao;
    };
    auto repetir = [](TSomadoBoard& b, bool horizontal) {
        const TRunDoTabuleiro run = PrimeiroRun(b, horizontal, 2);
        const auto [r0, c0] = run.Celulas[0];
        const auto [r1, c1] = run.Celulas[1];
        Escrever(b, r0, c0, Solucao(b, r0, c0));
        Escrever(b, r1, c1, Solucao(b, r0, c0));
        return run;
    };
    const TCaso casos[] = {
        {"a digit repeated across", [&](TSomadoBoard& b) { return repetir(b, true); },
         "também está nesta linha"},
        {"a digit repeated down", [&](TSomadoBoard& b) { return repetir(b, false); },
         "também está nesta coluna"},
        {"a full run adding up to another total",
         [](TSomadoBoard& b) {
             const TRunDoTabuleiro run = PrimeiroRun(b, true, 3);
             uint16_t usados = 0;
             for (const auto& [r, c] : run.Celulas) {
                 Escrever(b, r, c, Solucao(b, r, c));
                 usados |= Bit(Solucao(b, r, c));
             }
             // The last cell gets a digit the run does not hold: no repeat, another total.
             const auto [r, c] = run.Celulas.back();
             int32_t outro = 1;
             while (usados & Bit(outro))
                 ++outro;
             Escrever(b, r, c, outro);
             return run;
         },
         "está cheia e soma"},
        {"a repeat after a wrong digit that breaks no rule",
         [&](TSomadoBoard& b) {
             const TRunDoTabuleiro run = repetir(b, false);
             // A wrong digit in a cell that shares no run with the repeat, so it breaks no rule.
             auto partilha = [&](int32_t r, int32_t c) {
                 for (const bool horizontal : {true, false})
                     for (const auto& [rr, cc] : run.Celulas)
                         if (CorridaDe(b, r, c, horizontal).Contem(rr, cc)) return true;
                 return false;
             };
             for (int32_t r = 0; r < b.Size(); ++r)
                 for (int32_t c = 0; c < b.Size(); ++c)
                     if (Branca(b, r, c) && !partilha(r, c)) {
                         Escrever(b, r, c, Solucao(b, r, c) % 9 + 1);
                         return run;
                     }
             ADD_FAILURE() << "no cell apart from the repeat";
             return run;
         },
         "também está nesta coluna"},
    };
    const std::unique_ptr<TSomadoBoard> original = Gerar(CNoveFacil);
    ASSERT_NE(original, nullptr);
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.Nome);
        TSomadoBoard board = *original;
        const TRunDoTabuleiro run = caso.Preparar(board);
        ASSERT_FALSE(run.Celulas.empty());
        const auto [r, c] = run.Celulas.front();
        ASSERT_TRUE(DigitoEmConflito(board, r, c));

        const TPassoExplicado p = ExplicarPasso(board, SemNotas(board));
        EXPECT_EQ(p.Tipo, TTipo::Conflito);
        EXPECT_EQ(p.Row, r);
        EXPECT_EQ(p.Col, c);
        ASSERT_EQ(p.Corridas.size(), 1u);
        EXPECT_EQ(p.Corridas[0].Horizontal, run.Horizontal);
        EXPECT_EQ((std::pair{p.Corridas[0].Row, p.Corridas[0].Col}), run.Celulas.front());
        EXPECT_EQ(p.Corridas[0].Comprimento, static_cast<int32_t>(run.Celulas.size()));
        ASSERT_FALSE(p.Linhas.isEmpty());
        EXPECT_EQ(p.Linhas.first().toStdString(), Casa(r, c));
        EXPECT_TRUE(Diz(p.Linhas, caso.Razao)) << Juntas(p.Linhas);
        EXPECT_EQ(p.Digito, 0);
        EXPECT_TRUE(p.NotasRetiradas.empty());
    }
}

TEST(DigitoErrado, ADigitThatBreaksNoRuleIsReportedWithoutItsPlace) {
    const std::unique_ptr<TSomadoBoard> original = Gerar(CNoveFacil);
    ASSERT_NE(original, nullptr);
    // Half the board solved by following the steps, for the cases that need digits around.
    TSomadoBoard meio = *original;
    std::vector<uint16_t> notas = SemNotas(meio);
    SeguirPassos(meio, notas, true, Vazias(meio) / 2);
    ASSERT_FALSE(HasFailure());

    struct TCaso {
        const char* Nome;
        const TSomadoBoard* Board;
        // Which of the empty cells (in reading order, among those whose runs stay incomplete
        // and hold no other digit that would repeat) gets the wrong digit.
        int32_t Qual;
    };
    const TCaso casos[] = {
        {"the first cell of an empty board", original.get(), 0},
        {"a later cell of an empty board", original.get(), 7},
        {"a cell of a half-solved board", &meio, 0},
        {"another cell of a half-solved board", &meio, 3},
    };
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.Nome);
        TSomadoBoard board = *caso.Board;
        int32_t visto = 0, linha = -1, coluna = -1;
        for (int32_t r = 0; r < board.Size() && linha < 0; ++r)
            for (int32_t c = 0; c < board.Size() && linha < 0; ++c) {
                if (!Branca(board, r, c) || board.GetCell(r, c).Value != 0) continue;
                const TCorrida h = CorridaDe(board, r, c, true), v = CorridaDe(board, r, c, false);
                const size_t colocadosH = std::popcount(h.Colocados),
                             colocadosV = std::popcount(v.Colocados);
                // Runs that stay incomplete with the digit in: no total to break.
                if (h.Celulas.size() > 1 && colocadosH + 2 > h.Celulas.size()) continue;
                if (v.Celulas.size() > 1 && colocadosV + 2 > v.Celulas.size()) continue;
                for (int32_t d = 1; d <= 9 && linha < 0; ++d)
                    if (d != Solucao(board, r, c) && !((h.Colocados | v.Colocados) & Bit(d)) &&
                        visto++ == caso.Qual) {
                        Escrever(board, r, c, d);
                        linha = r;
                        coluna = c;
                    }
            }
        ASSERT_GE(linha, 0);
        ASSERT_FALSE(DigitoEmConflito(board, linha, coluna));

        const TPassoExplicado p = ExplicarPasso(board, SemNotas(board));
        EXPECT_EQ(p.Tipo, TTipo::DigitoErrado);
        EXPECT_TRUE(Diz(p.Linhas, "pelo menos um dígito errado")) << Juntas(p.Linhas);
        EXPECT_TRUE(Diz(p.Linhas, "\"Verificar\""));
        // Nothing says where.
        EXPECT_EQ(p.Row, -1);
        EXPECT_EQ(p.Col, -1);
        EXPECT_TRUE(p.Corridas.empty());
        EXPECT_FALSE(Diz(p.Linhas, "inha ")) << Juntas(p.Linhas);
        EXPECT_FALSE(Diz(p.Linhas, "oluna ")) << Juntas(p.Linhas);
        EXPECT_FALSE(Diz(p.Linhas, std::to_string(linha + 1))) << Juntas(p.Linhas);
    }
}

// ---- Boards with no step -------------------------------------------------------------------

TEST(SemPasso, SolvedEmptyAndBeyondTheLevel) {
    const std::unique_ptr<TSomadoBoard> resolvido = Gerar(CNoveFacil);
    ASSERT_NE(resolvido, nullptr);
    for (int32_t r = 0; r < resolvido->Size(); ++r)
        for (int32_t c = 0; c < resolvido->Size(); ++c)
            if (Branca(*resolvido, r, c)) Escrever(*resolvido, r, c, Solucao(*resolvido, r, c));
    const TSomadoBoard semBrancas(6);

    struct TCaso {
        const char* Nome;
        const TSomadoBoard* Board;
        const char* Texto;
    };
    const TCaso casos[] = {
        {"every digit in place", resolvido.get(), "resolvido"},
        {"no white cell", &semBrancas, "Não há casas"},
    };
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.Nome);
        const TPassoExplicado p = ExplicarPasso(*caso.Board, SemNotas(*caso.Board));
        EXPECT_EQ(p.Tipo, TTipo::Nenhum);
        EXPECT_TRUE(Diz(p.Linhas, caso.Texto)) << Juntas(p.Linhas);
        EXPECT_EQ(p.Row, -1);
        EXPECT_TRUE(p.Corridas.empty());
    }
}

// A board that needs positions, read as Fácil: only combinations explain it, so the steps stop
// short of the solution and say that the level's reasoning gets no further.
TEST(SemPasso, TheLevelDecidesTheRules) {
    for (const TPuzzleSemeado puzzle :
         {TPuzzleSemeado{T::tt9, N::ndMuitoDificil, 2}, TPuzzleSemeado{T::tt12, N::ndDificil, 3}}) {
        const std::unique_ptr<TSomadoBoard> board = Gerar(puzzle);
        ASSERT_NE(board, nullptr);
        for (const N nivel : {N::ndFacil, N::ndMedio}) {
            TSomadoBoard comoFacil = *board;
            comoFacil.SetDifficulty(nivel);
            std::vector<uint16_t> notas = SemNotas(comoFacil);
            const TSeguimento s = SeguirPassos(comoFacil, notas, true);
            ASSERT_FALSE(HasFailure());
            EXPECT_EQ(s.PorRaciocinio[static_cast<size_t>(TRaciocinio::Posicoes)], 0);
            EXPECT_FALSE(Resolvido(comoFacil));
            EXPECT_EQ(s.Ultimo.Tipo, TTipo::Nenhum);
            EXPECT_TRUE(Diz(s.Ultimo.Linhas, NomeNivel(nivel))) << Juntas(s.Ultimo.Linhas);

            // At its own level the same board goes on from there.
            comoFacil.SetDifficulty(puzzle.Nivel);
            const TPassoExplicado p = ExplicarPasso(comoFacil, notas);
            EXPECT_TRUE(p.Tipo == TTipo::FixaCelula || p.Tipo == TTipo::RetiraCandidatos);
            EXPECT_EQ(p.Deducao.Raciocinio, TRaciocinio::Posicoes);
            VerificarPasso({comoFacil, notas, true}, p);
        }
    }
}

// Boards read from files carry no run lists: the step is read from the cells alone.
TEST(PassoExplicado, BoardsWithoutRunListsGiveTheSameStep) {
    for (const TPuzzleSemeado puzzle :
         {CNoveFacil, TPuzzleSemeado{T::tt12, N::ndMuitoDificil, 1}}) {
        const std::unique_ptr<TSomadoBoard> board = Gerar(puzzle);
        ASSERT_NE(board, nullptr);
        std::vector<uint16_t> notas = SemNotas(*board);
        SeguirPassos(*board, notas, true, Vazias(*board) / 3);
        TSomadoBoard semListas = *board;
        semListas.SetGroups({}, {});
        const TPassoExplicado a = ExplicarPasso(*board, notas);
        const TPassoExplicado b = ExplicarPasso(semListas, notas);
        EXPECT_EQ(a.Tipo, b.Tipo);
        EXPECT_EQ(a.Linhas, b.Linhas);
        EXPECT_EQ(a.Row, b.Row);
        EXPECT_EQ(a.Col, b.Col);
        EXPECT_EQ(a.Digito, b.Digito);
        EXPECT_EQ(a.NotasRetiradas.size(), b.NotasRetiradas.size());
        EXPECT_FALSE(a.Linhas.isEmpty());
    }
}

// ---- "Preencher notas" ---------------------------------------------------------------------

TEST(CandidatosDasCorridas, AreTheDigitsEachRunAllowsByBruteForce) {
    struct TCaso {
        const char* Nome;
        TPuzzleSemeado Puzzle;
        // Per 16: how many of the white cells get their solution digit, and whether the marks
        // start random; a repeat puts one digit twice in a run.
        int32_t Colocadas;
        bool NotasAoAcaso;
        bool Repeticao;
    };
    const TCaso casos[] = {
        {"empty board, no marks", CNoveFacil, 0, false, false},
        {"a quarter placed, random marks", {T::tt12, N::ndMedio, 1}, 4, true, false},
        {"half placed, no marks", {T::tt15, N::ndDificil, 1}, 8, false, false},
        {"most placed, random marks", {T::tt9, N::ndMuitoDificil, 3}, 13, true, false},
        {"a repeated digit", {T::tt9, N::ndMedio, 1}, 4, true, true},
    };
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.Nome);
        const std::unique_ptr<TSomadoBoard> board = Gerar(caso.Puzzle);
        ASSERT_NE(board, nullptr);
        const int32_t lado = board->Size();
        TAleatorio aleatorio(caso.Puzzle.Semente + 101);
        std::vector<uint16_t> notas = SemNotas(*board);
        for (int32_t r = 0; r < lado; ++r)
            for (int32_t c = 0; c < lado; ++c) {
                if (!Branca(*board, r, c)) continue;
                if (aleatorio.Inteiro(16) < caso.Colocadas)
                    Escrever(*board, r, c, Solucao(*board, r, c));
                if (caso.NotasAoAcaso)
                    notas[static_cast<size_t>(r) * lado + c] =
                        static_cast<uint16_t>(aleatorio.Inteiro(1024) & 0x3FE);
            }
        if (caso.Repeticao) {
            const TRunDoTabuleiro run = PrimeiroRun(*board, true, 3);
            const auto [r0, c0] = run.Celulas[0];
            const auto [r1, c1] = run.Celulas[1];
            Escrever(*board, r0, c0, 5);
            Escrever(*board, r1, c1, 5);
            Escrever(*board, run.Celulas[2].first, run.Celulas[2].second, 0);
        }

        const std::vector<TMudancaNotas> mudancas = CandidatosDasCorridas(*board, notas);
        size_t i = 0, semCandidatos = 0;
        for (int32_t r = 0; r < lado; ++r)
            for (int32_t c = 0; c < lado; ++c) {
                if (!Branca(*board, r, c) || board->GetCell(r, c).Value != 0) continue;
                const uint16_t antes = notas[static_cast<size_t>(r) * lado + c];
                const uint16_t esperado = CandidatosPorForca(*board, r, c);
                semCandidatos += esperado == 0;
                EXPECT_TRUE(esperado & Bit(Solucao(*board, r, c)) || caso.Repeticao) << Casa(r, c);
                if (antes == esperado) continue;
                ASSERT_LT(i, mudancas.size()) << Casa(r, c);
                const TMudancaNotas& m = mudancas[i++];
                EXPECT_EQ((std::pair{m.Row, m.Col}), (std::pair{r, c}));
                EXPECT_EQ(m.Antes, antes) << Casa(r, c);
                EXPECT_EQ(m.Depois, esperado) << Casa(r, c) << Texto(m.Depois) << Texto(esperado);
            }
        // Exactly those cells, in reading order, and none that holds a digit.
        EXPECT_EQ(i, mudancas.size());
        // A run holding a digit twice allows nothing in its empty cells.
        if (caso.Repeticao) {
            EXPECT_GT(semCandidatos, 0u);
        }
    }
}

} // namespace
