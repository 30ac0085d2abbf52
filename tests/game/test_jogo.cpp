#include "FixtureJogo.h"
#include "io/ApoioSmd.h"

#include "io/UnitSomadoFicheiro.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <set>
#include <stdexcept>

TEST(Nomes, LevelNamesAndTimeLimits) {
    EXPECT_EQ(NomeDoNivel(TNivelDificuldade::ndFacil), "Fácil");
    EXPECT_EQ(NomeDoNivel(TNivelDificuldade::ndMedio), "Médio");
    EXPECT_EQ(NomeDoNivel(TNivelDificuldade::ndDificil), "Difícil");
    EXPECT_EQ(NomeDoNivel(TNivelDificuldade::ndMuitoDificil), "Muito Difícil");
    EXPECT_EQ(NomeDoNivel(static_cast<TNivelDificuldade>(7)), "Muito Difícil");
    using T = TTamanhoTabuleiro;
    for (const T t : {T::tt6, T::tt9, T::tt16, T::tt20, T::tt25})
        EXPECT_EQ(TempoLimiteGeracao(t), 30000);
    for (const T t : {T::tt12, T::tt15})
        EXPECT_EQ(TempoLimiteGeracao(t), 75000);
}

TEST(PuzzleFixo, IsTheExampleFileAndItsRunsAddUp) {
    const auto board = CriarPuzzleFixo();
    EXPECT_EQ(TextoDoPuzzle(*board), BytesDoExemplo());
    EXPECT_EQ(board->HorizontalGroups().size(), 8u);
    EXPECT_EQ(board->VerticalGroups().size(), 10u);
    for (const auto* runs : {&board->HorizontalGroups(), &board->VerticalGroups()})
        for (const TSomadoGroup& run : *runs) {
            const int32_t dr = run.IsHorizontal ? 0 : 1, dc = run.IsHorizontal ? 1 : 0;
            int32_t soma = 0;
            std::set<int32_t> digitos;
            for (int32_t k = 0; k < run.Length; ++k) {
                const TSomadoCell cell =
                    board->GetCell(run.StartRow + k * dr, run.StartCol + k * dc);
                EXPECT_EQ(cell.CellType, TCellType::ctEmpty);
                soma += cell.Solution;
                digitos.insert(cell.Solution);
            }
            EXPECT_EQ(soma, run.Sum);
            EXPECT_EQ(digitos.size(), static_cast<size_t>(run.Length));
            const TSomadoCell pista = board->GetCell(run.StartRow - dr, run.StartCol - dc);
            EXPECT_EQ(run.IsHorizontal ? pista.RightSum : pista.DownSum, run.Sum);
        }
}

TEST_F(Jogo, StartUpWithAGeneratedPuzzle) {
    Iniciar();
    EXPECT_EQ(gerador.Tamanho, TTamanhoTabuleiro::tt9);
    EXPECT_EQ(gerador.Nivel, TNivelDificuldade::ndFacil);
    EXPECT_EQ(gerador.Limite, 30000);
    EXPECT_EQ(janela.Informacao, QStringList{"Puzzle gerado: 9x9, Fácil."});
    EXPECT_EQ(janela.LegendaTamanho, "Tamanho seleccionado: 9x9");
    EXPECT_EQ(jogo.GameState(), TGameState::gsPlaying);
    EXPECT_FALSE(jogo.HaJogadasPorGravar());
    EXPECT_EQ(janela.Configuracoes, 1);
    EXPECT_EQ(janela.Esperas, 0) << "no hourglass at start-up";
}

TEST_F(Jogo, StartUpFallsBackToTheFixedPuzzleSilently) {
    Iniciar(true);
    ASSERT_NE(jogo.Board(), nullptr);
    EXPECT_EQ(TextoDoPuzzle(*jogo.Board()), BytesDoExemplo());
    EXPECT_TRUE(janela.Informacao.isEmpty());
    EXPECT_EQ(janela.LegendaTamanho, "Tamanho seleccionado: 9x9");
    EXPECT_EQ(jogo.FConfiguracao.Tamanho, TTamanhoTabuleiro::tt9);
    jogo.AvancarParaProximaVazia(0, -1);
    EXPECT_EQ(std::pair(janela.Row, janela.Col), std::pair(1, 1));
}

TEST_F(Jogo, ShowAndHideTheSolution) {
    Iniciar();
    Escrever(1, 1, '4');
    jogo.Verificar();
    EXPECT_EQ(Celula(1, 1).DisplayState, TCellDisplayState::cdsWrong);

    jogo.VerSolucao();
    EXPECT_EQ(jogo.GameState(), TGameState::gsSolutionShown);
    EXPECT_EQ(janela.LegendaVerSolucao, "Esconder Solução");
    EXPECT_EQ(janela.Informacao, QStringList{"Solução revelada. Clique novamente para esconder."});
    for (const auto& [r, c] : Brancas())
        EXPECT_EQ(Celula(r, c).DisplayState, TCellDisplayState::cdsRevealed);
    EXPECT_EQ(Celula(1, 1).Value, 4);

    jogo.VerSolucao();
    EXPECT_EQ(jogo.GameState(), TGameState::gsPlaying);
    EXPECT_EQ(janela.LegendaVerSolucao, "Ver Solução");
    EXPECT_EQ(janela.Informacao,
              QStringList{"Solução escondida — as suas jogadas continuam como estavam."});
    for (const auto& [r, c] : Brancas())
        EXPECT_EQ(Celula(r, c).DisplayState, TCellDisplayState::cdsNormal);
    EXPECT_EQ(Celula(1, 1).Value, 4);
    EXPECT_TRUE(jogo.HaJogadasPorGravar()) << "the 4 typed above";
}

TEST_F(Jogo, CheckCountsAndMarks) {
    Iniciar();
    // (2,1) 7, (2,2) 5, (2,3) 2 correct; (2,4) should be 4.
    Escrever(2, 1, '7');
    Escrever(2, 2, '5');
    Escrever(2, 3, '2');
    Escrever(2, 4, '9');
    const int32_t vazias = static_cast<int32_t>(Brancas().size()) - 4;
    jogo.Verificar();
    EXPECT_EQ(janela.Informacao,
              QStringList{QString("Correctas: 3. Erradas: 1. Por preencher: %1.").arg(vazias)});
    EXPECT_EQ(Celula(2, 1).DisplayState, TCellDisplayState::cdsCorrect);
    EXPECT_EQ(Celula(2, 4).DisplayState, TCellDisplayState::cdsWrong);
    EXPECT_EQ(jogo.GameState(), TGameState::gsPlaying);

    // Retyping a cell clears its mark only.
    Escrever(2, 4, '4');
    EXPECT_EQ(Celula(2, 4).DisplayState, TCellDisplayState::cdsNormal);
    EXPECT_EQ(Celula(2, 1).DisplayState, TCellDisplayState::cdsCorrect);
}

TEST_F(Jogo, CheckWhileTheSolutionIsShownChangesNothing) {
    Iniciar();
    Escrever(2, 4, '9');
    jogo.VerSolucao();
    jogo.Verificar();
    EXPECT_EQ(janela.Informacao,
              QStringList{"A solução já está visível — verificar não faz sentido agora."});
    EXPECT_EQ(Celula(2, 4).DisplayState, TCellDisplayState::cdsRevealed);
    EXPECT_EQ(jogo.GameState(), TGameState::gsSolutionShown);
}

TEST_F(Jogo, SolvedPuzzleAndBackToPlaying) {
    Iniciar();
    PreencherTudoCorrecto();
    jogo.Verificar();
    EXPECT_EQ(jogo.GameState(), TGameState::gsSolved);
    EXPECT_EQ(janela.Informacao, QStringList{"Parabéns! Puzzle resolvido correctamente."});
    // Still playable; showing and hiding returns to playing, not to solved.
    jogo.VerSolucao();
    jogo.VerSolucao();
    EXPECT_EQ(jogo.GameState(), TGameState::gsPlaying);
}

TEST_F(Jogo, ClearHidesTheSolutionAndSelectsTheFirstWhiteCell) {
    Iniciar();
    Escrever(2, 4, '9');
    jogo.VerSolucao();
    jogo.SeleccionarCelula(7, 7);
    jogo.Limpar();
    EXPECT_EQ(jogo.GameState(), TGameState::gsPlaying);
    EXPECT_EQ(janela.LegendaVerSolucao, "Ver Solução");
    EXPECT_EQ(Celula(2, 4).Value, 0);
    EXPECT_EQ(Celula(2, 4).DisplayState, TCellDisplayState::cdsNormal);
    EXPECT_EQ(Celula(2, 4).Solution, 4);
    EXPECT_EQ(std::pair(janela.Row, janela.Col), std::pair(1, 1));
    EXPECT_EQ(janela.Informacao,
              QStringList{"Puzzle limpo — a solução mantém-se, só as jogadas foram apagadas."});
    EXPECT_FALSE(jogo.HaJogadasPorGravar()) << "typed and cleared again: no digit differs";
}

TEST_F(Jogo, HintFillsTheCurrentEmptyCellAndMovesOn) {
    Iniciar();
    jogo.SeleccionarCelula(2, 3);
    janela.Informacao = QStringList{"antes"};
    jogo.Dica();
    EXPECT_EQ(Celula(2, 3).Value, 2);
    EXPECT_EQ(std::pair(janela.Row, janela.Col), std::pair(2, 4));
    EXPECT_EQ(janela.Informacao, QStringList{"antes"}) << "a hint writes no message";
    EXPECT_TRUE(jogo.HaJogadasPorGravar());
    EXPECT_EQ(jogo.GameState(), TGameState::gsPlaying);
}

TEST_F(Jogo, HintOnAFilledCellFillsARandomEmptyOne) {
    Iniciar();
    std::set<std::pair<int32_t, int32_t>> escolhidas;
    for (int vez = 0; vez < 40; ++vez) {
        Escrever(2, 4, '9'); // wrong, and the current cell
        jogo.SeleccionarCelula(2, 4);
        const auto antes = Brancas();
        jogo.Dica();
        EXPECT_EQ(Celula(2, 4).Value, 9) << "a wrong digit is left in place";
        int32_t preenchidas = 0;
        for (const auto& [r, c] : antes)
            if (Celula(r, c).Value == Celula(r, c).Solution && !(r == 2 && c == 4)) {
                ++preenchidas;
                escolhidas.insert({r, c});
            }
        EXPECT_EQ(preenchidas, 1);
        jogo.Limpar();
    }
    EXPECT_GT(escolhidas.size(), 5u) << "the hinted cell is drawn at random";
}

TEST_F(Jogo, HintDoesNothingWithoutEmptyCellsOrWithTheSolutionShown) {
    Iniciar();
    for (const auto& [r, c] : Brancas())
        Escrever(r, c, '1');
    janela.Informacao = QStringList{"antes"};
    jogo.Dica();
    EXPECT_EQ(Celula(2, 4).Value, 1);
    EXPECT_EQ(janela.Informacao, QStringList{"antes"});

    jogo.Limpar();
    jogo.VerSolucao();
    jogo.SeleccionarCelula(1, 1);
    jogo.Dica();
    EXPECT_EQ(Celula(1, 1).Value, 0);
}

TEST_F(Jogo, TypingDigitsAndOtherCharacters) {
    Iniciar();
    // A digit writes and moves to the next empty white cell in reading order.
    Escrever(2, 3, '5');
    EXPECT_EQ(Celula(2, 3).Value, 5);
    EXPECT_EQ(std::pair(janela.Row, janela.Col), std::pair(2, 4));
    // Anything else is consumed without effect.
    for (const char ch : {'0', 'a', ' '}) {
        jogo.SeleccionarCelula(2, 4);
        EXPECT_TRUE(jogo.EscreverCaracter(QChar(ch)));
        EXPECT_EQ(Celula(2, 4).Value, 0);
        EXPECT_EQ(std::pair(janela.Row, janela.Col), std::pair(2, 4));
    }
    // A black or clue cell never becomes the current cell, so no digit lands there.
    for (const auto& [r, c] : {std::pair(0, 0), std::pair(1, 2), std::pair(9, 0)}) {
        EXPECT_FALSE(jogo.SeleccionarCelula(r, c)) << r << "," << c;
        EXPECT_EQ(std::pair(janela.Row, janela.Col), std::pair(2, 4));
        EXPECT_TRUE(jogo.EscreverCaracter(QChar('3')));
        if (r < 9) {
            EXPECT_EQ(Celula(r, c).Value, 0);
        }
        EXPECT_EQ(Celula(2, 4).Value, 3);
        jogo.SeleccionarCelula(2, 4);
        jogo.ApagarCelulaActual();
    }
}

TEST_F(Jogo, TypingIntoTheLastEmptyCellKeepsTheSelection) {
    Iniciar();
    const auto brancas = Brancas();
    for (const auto& [r, c] : brancas)
        Escrever(r, c, '1');
    const auto [r, c] = brancas.back();
    Escrever(r, c, '2');
    EXPECT_EQ(std::pair(janela.Row, janela.Col), brancas.back());
    // Earlier empty cells are not searched again from the top.
    Escrever(1, 1, '1');
    jogo.SeleccionarCelula(8, 8);
    jogo.ApagarCelulaActual();
    jogo.SeleccionarCelula(1, 1);
    jogo.AvancarParaProximaVazia(8, 8);
    EXPECT_EQ(std::pair(janela.Row, janela.Col), std::pair(1, 1));
}

TEST_F(Jogo, ErasingOnlyTouchesWhiteCellsAndNotWhileTheSolutionIsShown) {
    Iniciar();
    Escrever(2, 3, '9');
    jogo.Verificar();
    jogo.SeleccionarCelula(2, 3);
    jogo.ApagarCelulaActual();
    EXPECT_EQ(Celula(2, 3).Value, 0);
    EXPECT_EQ(Celula(2, 3).DisplayState, TCellDisplayState::cdsNormal);
    EXPECT_EQ(std::pair(janela.Row, janela.Col), std::pair(2, 3));

    EXPECT_FALSE(jogo.SeleccionarCelula(1, 2));
    const TSomadoCell pista = Celula(1, 2);
    jogo.ApagarCelulaActual();
    EXPECT_EQ(Celula(1, 2), pista);

    Escrever(2, 3, '9');
    jogo.VerSolucao();
    jogo.SeleccionarCelula(2, 3);
    jogo.ApagarCelulaActual();
    EXPECT_TRUE(jogo.EscreverCaracter(QChar('4')));
    EXPECT_EQ(Celula(2, 3).Value, 9);
    jogo.VerSolucao();
    EXPECT_EQ(Celula(2, 3).Value, 9);
}

TEST_F(Jogo, OnlyWhiteCellsCanBeSelected) {
    Iniciar();
    EXPECT_TRUE(jogo.PodeSeleccionar(1, 1));
    EXPECT_TRUE(jogo.PodeSeleccionar(8, 8));
    EXPECT_FALSE(jogo.PodeSeleccionar(0, 0)); // black
    EXPECT_FALSE(jogo.PodeSeleccionar(1, 2)); // clue
    EXPECT_FALSE(jogo.PodeSeleccionar(9, 1));
    EXPECT_FALSE(jogo.PodeSeleccionar(-1, 1));
}

TEST_F(Jogo, ArrowsJumpOverBlockedCellsToTheNextWhiteOne) {
    Iniciar();
    const struct {
        int32_t r, c, dr, dc;
        bool anda;
        int32_t rDestino, cDestino;
    } casos[] = {
        {1, 1, 0, 1, true, 1, 3},   // over the clue (1, 2)
        {7, 7, -1, 0, true, 3, 7},  // over three black cells
        {1, 1, 1, 0, true, 2, 1},   // the neighbour itself
        {2, 1, -1, 0, true, 1, 1},  //
        {1, 4, 0, 1, false, 0, 0},  // only clues to the right
        {3, 3, 0, -1, false, 0, 0}, // a clue, then black to the edge
        {1, 1, -1, 0, false, 0, 0}, // the frame
        {8, 5, 1, 0, false, 0, 0},  // the board's edge
        {8, 8, 0, 1, false, 0, 0},  //
        {0, 0, 1, 1, true, 1, 1},   // from a blocked cell too
        {4, 4, 0, 0, false, 0, 0},  // no direction
    };
    for (const auto& caso : casos) {
        int32_t r = -7, c = -7;
        EXPECT_EQ(jogo.BrancaNaDireccao(caso.r, caso.c, caso.dr, caso.dc, r, c), caso.anda)
            << caso.r << "," << caso.c << " +" << caso.dr << "," << caso.dc;
        if (caso.anda) {
            EXPECT_EQ(std::pair(r, c), std::pair(caso.rDestino, caso.cDestino));
        }
    }
    // The empty board of a size change has no white cell to go to.
    jogo.AplicarTamanhoSemPuzzle(TTamanhoTabuleiro::tt6);
    int32_t r = 0, c = 0;
    EXPECT_FALSE(jogo.BrancaNaDireccao(1, 1, 0, 1, r, c));
}

TEST_F(Jogo, UnsavedMovesCompareDigitsNotActions) {
    Iniciar();
    EXPECT_FALSE(jogo.HaJogadasPorGravar());
    Escrever(2, 3, '5');
    EXPECT_TRUE(jogo.HaJogadasPorGravar());
    jogo.SeleccionarCelula(2, 3);
    jogo.ApagarCelulaActual();
    EXPECT_FALSE(jogo.HaJogadasPorGravar()) << "typed and erased again";
    jogo.VerSolucao();
    jogo.VerSolucao();
    jogo.Verificar();
    EXPECT_FALSE(jogo.HaJogadasPorGravar()) << "showing, hiding and checking change no digit";
    Escrever(2, 3, '5');
    jogo.GuardarValoresBase();
    EXPECT_FALSE(jogo.HaJogadasPorGravar());
    Escrever(2, 4, '1');
    EXPECT_TRUE(jogo.HaJogadasPorGravar());
}

TEST_F(Jogo, NewPuzzleReplacesTheBoardAndReportsTheTime) {
    Iniciar();
    jogo.FConfiguracao.Tamanho = TTamanhoTabuleiro::tt15;
    jogo.FConfiguracao.Nivel = TNivelDificuldade::ndMedio;
    Escrever(2, 3, '5');
    jogo.VerSolucao();
    gerador.Durante = [this] {
        EXPECT_TRUE(janela.EmEspera);
        EXPECT_EQ(janela.Informacao, (QStringList{"A gerar puzzle 15x15...",
                                                  "Pode demorar alguns segundos — aguarde."}));
    };
    EXPECT_TRUE(Gerar());
    EXPECT_FALSE(janela.EmEspera);
    EXPECT_EQ(gerador.Tamanho, TTamanhoTabuleiro::tt15);
    EXPECT_EQ(gerador.Nivel, TNivelDificuldade::ndMedio);
    EXPECT_EQ(gerador.Limite, 75000);
    EXPECT_EQ(janela.Informacao, QStringList{"Puzzle gerado: 15x15, Médio. Tempo: 0,0s."});
    EXPECT_EQ(janela.LegendaVerSolucao, "Ver Solução");
    EXPECT_EQ(jogo.GameState(), TGameState::gsPlaying);
    EXPECT_EQ(jogo.Board()->Size(), 15);
    EXPECT_FALSE(jogo.HaJogadasPorGravar());
}

TEST_F(Jogo, FailedNewPuzzleKeepsEverything) {
    Iniciar();
    Escrever(2, 3, '5');
    jogo.VerSolucao();
    gerador.Falhar = true;
    EXPECT_FALSE(Gerar());
    EXPECT_FALSE(janela.EmEspera);
    EXPECT_EQ(janela.Informacao,
              (QStringList{"Não foi possível gerar um puzzle com esta configuração.",
                           "Tente outra vez, ou escolha outro tamanho.",
                           "[Diagnóstico] Tempo até desistir: 0,0s."}));
    EXPECT_EQ(Celula(2, 3).Value, 5);
    EXPECT_EQ(jogo.GameState(), TGameState::gsSolutionShown);
    EXPECT_TRUE(jogo.HaJogadasPorGravar()) << "still compared with the old snapshot";
}

TEST_F(Jogo, AnErrorInsideGenerationRestoresTheWindowAndGoesOn) {
    Iniciar();
    gerador.Lancar = true;
    // Raised on a worker, it reaches the general error report on the window's thread.
    EXPECT_FALSE(Gerar());
    EXPECT_EQ(janela.Erros, QStringList{"falha interna"});
    EXPECT_FALSE(janela.EmEspera);
    EXPECT_EQ(janela.Informacao,
              QStringList{"Não foi possível gerar um puzzle com esta configuração."})
        << "no progress line stays behind";
}

// The command handles the error itself: it reaches the general error report without running
// back through the window toolkit, and the window is as after any other failure.
TEST_F(Jogo, AnErrorInAGenerateCommandGoesToTheGeneralReport) {
    Iniciar();
    Escrever(2, 3, '5');
    jogo.GuardarValoresBase();
    gerador.Lancar = true;
    EXPECT_NO_THROW(jogo.BitBtnGerarClick());
    EXPECT_NO_THROW(janela.EsperarTrabalho());
    EXPECT_EQ(janela.Erros, QStringList{"falha interna"});
    EXPECT_FALSE(janela.EmEspera);
    EXPECT_EQ(janela.Informacao,
              QStringList{"Não foi possível gerar um puzzle com esta configuração."});
    EXPECT_EQ(Celula(2, 3).Value, 5);
    EXPECT_FALSE(jogo.HaJogadasPorGravar());
}

TEST_F(Jogo, SizeChangeWithoutAPuzzleGivesAnEmptyBoard) {
    Iniciar();
    Escrever(2, 3, '5');
    jogo.AplicarTamanhoSemPuzzle(TTamanhoTabuleiro::tt15);
    ASSERT_EQ(jogo.Board()->Size(), 15);
    for (int32_t r = 0; r < 15; ++r)
        for (int32_t c = 0; c < 15; ++c)
            ASSERT_EQ(Celula(r, c).CellType, TCellType::ctBlack);
    EXPECT_EQ(janela.Informacao,
              QStringList{"Tamanho alterado para 15x15 — gere um puzzle novo quando quiser."});
    EXPECT_FALSE(jogo.HaJogadasPorGravar());
    jogo.Verificar();
    EXPECT_EQ(janela.Informacao, QStringList{"Parabéns! Puzzle resolvido correctamente."});
}

namespace {

// A sequence of player actions, one word each: "5@2,3" types 5 on (2, 3), "x@2,3" erases it,
// "d@2,3" asks a hint there, "L" clears, "Z" undoes, "Y" redoes, "S" shows or hides the
// solution, "V" checks, "G" marks the digits as saved, "N" installs a new board.
struct TCasoHistorico {
    const char* accoes;
    std::vector<std::pair<std::pair<int32_t, int32_t>, int32_t>> digitos;
    bool porGravar;
    std::pair<int32_t, int32_t> seleccionada;
};

} // namespace

TEST_F(Jogo, UndoAndRedoFollowTheChangesToTheDigits) {
    using P = std::pair<int32_t, int32_t>;
    const TCasoHistorico casos[] = {
        {"5@2,3 Z", {{{2, 3}, 0}}, false, {2, 3}},
        {"5@2,3 6@2,3 Z", {{{2, 3}, 5}}, true, {2, 3}},
        {"5@2,3 Z Y", {{{2, 3}, 5}}, true, {2, 3}},
        {"5@2,3 Z 1@2,4 Y", {{{2, 3}, 0}, {{2, 4}, 1}}, true, {2, 5}},
        {"5@2,3 x@2,3 Z", {{{2, 3}, 5}}, true, {2, 3}},
        {"5@2,3 x@2,3 Z Z", {{{2, 3}, 0}}, false, {2, 3}},
        {"d@1,1 Z", {{{1, 1}, 0}}, false, {1, 1}},
        {"d@1,1 Z Y", {{{1, 1}, 9}}, true, {1, 1}},
        // "Limpar" is one step, and its undo selects the first empty white cell.
        {"5@2,3 6@2,4 L Z", {{{2, 3}, 5}, {{2, 4}, 6}}, true, {1, 1}},
        {"5@1,1 L Z", {{{1, 1}, 5}}, true, {1, 3}},
        {"5@2,3 L Z Z", {{{2, 3}, 0}}, false, {2, 3}},
        {"5@2,3 L Z Y", {{{2, 3}, 0}}, false, {1, 1}},
        // Refused while the solution is shown, and the history waits.
        {"5@2,3 S Z", {{{2, 3}, 5}}, true, {2, 4}},
        {"5@2,3 S Z S Z", {{{2, 3}, 0}}, false, {2, 3}},
        // Back to the saved digits: nothing to save.
        {"5@2,3 G 6@2,3 Z", {{{2, 3}, 5}}, false, {2, 3}},
        {"5@2,3 G Z", {{{2, 3}, 0}}, true, {2, 3}},
        // A digit typed over the same digit changes nothing, so it is no step.
        {"5@2,3 5@2,3 Z", {{{2, 3}, 0}}, false, {2, 3}},
        // A new board starts a new history.
        {"5@2,3 N Z Y", {{{2, 3}, 0}, {{1, 1}, 0}}, false, {1, 1}},
        {"Z Y", {{{1, 1}, 0}}, false, {1, 1}},
    };
    for (const TCasoHistorico& caso : casos) {
        Iniciar();
        jogo.SeleccionarCelula(1, 1);
        for (const QString& accao : QString::fromLatin1(caso.accoes).split(u' ')) {
            const auto celula = [&accao] {
                const QStringList rc = accao.mid(2).split(u',');
                return P(rc[0].toInt(), rc[1].toInt());
            };
            const QChar letra = accao[0];
            if (letra.isDigit()) {
                Escrever(celula().first, celula().second, letra.toLatin1());
            } else if (letra == u'x') {
                jogo.SeleccionarCelula(celula().first, celula().second);
                jogo.ApagarCelulaActual();
            } else if (letra == u'd') {
                jogo.SeleccionarCelula(celula().first, celula().second);
                jogo.Dica();
            } else if (letra == u'L') {
                jogo.Limpar();
            } else if (letra == u'Z') {
                jogo.Desfazer();
            } else if (letra == u'Y') {
                jogo.Refazer();
            } else if (letra == u'S') {
                jogo.VerSolucao();
            } else if (letra == u'V') {
                jogo.Verificar();
            } else if (letra == u'G') {
                jogo.GuardarValoresBase();
            } else if (letra == u'N') {
                ASSERT_TRUE(Gerar());
            }
        }
        for (const auto& [rc, valor] : caso.digitos)
            EXPECT_EQ(Celula(rc.first, rc.second).Value, valor)
                << caso.accoes << " at " << rc.first << "," << rc.second;
        EXPECT_EQ(jogo.HaJogadasPorGravar(), caso.porGravar) << caso.accoes;
        EXPECT_EQ(P(janela.Row, janela.Col), caso.seleccionada) << caso.accoes;
    }
}

TEST_F(Jogo, UndoneDigitsLoseTheirCheckMarkLikeTypedOnes) {
    Iniciar();
    Escrever(2, 3, '5');
    Escrever(2, 3, '2'); // correct
    jogo.Verificar();
    ASSERT_EQ(Celula(2, 3).DisplayState, TCellDisplayState::cdsCorrect);
    jogo.Desfazer();
    EXPECT_EQ(Celula(2, 3).Value, 5);
    EXPECT_EQ(Celula(2, 3).DisplayState, TCellDisplayState::cdsNormal);
}

TEST(CombinacoesDaSoma, FromTheCombinationTable) {
    const struct {
        int32_t soma, casas;
        const char* texto;
    } casos[] = {
        {17, 2, "17 em 2 casas: 8+9"},
        {3, 2, "3 em 2 casas: 1+2"},
        {10, 3, "10 em 3 casas: 1+2+7, 1+3+6, 1+4+5, 2+3+5"},
        {10, 4, "10 em 4 casas: 1+2+3+4"},
        {30, 4, "30 em 4 casas: 6+7+8+9"},
        {15, 5, "15 em 5 casas: 1+2+3+4+5"},
        {39, 6, "39 em 6 casas: 4+5+6+7+8+9"},
        {40, 7, "40 em 7 casas: 1+4+5+6+7+8+9, 2+3+5+6+7+8+9"},
        {44, 8, "44 em 8 casas: 2+3+4+5+6+7+8+9"},
        {40, 8, "40 em 8 casas: 1+2+3+4+6+7+8+9"},
        {45, 9, "45 em 9 casas: 1+2+3+4+5+6+7+8+9"},
        {2, 2, "2 em 2 casas: nenhuma combinação"},
    };
    for (const auto& caso : casos)
        EXPECT_EQ(CombinacoesDaSoma(caso.soma, caso.casas), QString::fromUtf8(caso.texto));
}

TEST_F(Jogo, ClueTooltipsListBothSumsAndNothingElse) {
    Iniciar();
    const TSomadoBoard& b = *jogo.Board();
    // (5, 2) holds 30 across over four cells and 17 down over two.
    EXPECT_EQ(CombinacoesDaPista(b, 5, 2),
              QString::fromUtf8("→ 30 em 4 casas: 6+7+8+9\n↓ 17 em 2 casas: 8+9"));
    // (1, 2): across only, 4 in two cells.
    EXPECT_EQ(CombinacoesDaPista(b, 1, 2), QString::fromUtf8("→ 4 em 2 casas: 1+3"));
    // (0, 1): down only.
    EXPECT_EQ(CombinacoesDaPista(b, 0, 1), QString::fromUtf8("↓ 16 em 2 casas: 7+9"));
    for (const auto& [r, c] : {std::pair(0, 0), std::pair(1, 1), std::pair(9, 9), std::pair(-1, 0)})
        EXPECT_TRUE(CombinacoesDaPista(b, r, c).isEmpty()) << r << "," << c;
    // The same with the solution shown: the sums alone tell it.
    jogo.VerSolucao();
    EXPECT_EQ(CombinacoesDaPista(b, 1, 2), QString::fromUtf8("→ 4 em 2 casas: 1+3"));
}
