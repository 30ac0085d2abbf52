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
    EXPECT_EQ(jogo.FTamanhoConfigurado, TTamanhoTabuleiro::tt9);
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
    janela.SeleccionarCelula(7, 7);
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
    janela.SeleccionarCelula(2, 3);
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
        janela.SeleccionarCelula(2, 4);
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
    janela.SeleccionarCelula(1, 1);
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
        janela.SeleccionarCelula(2, 4);
        EXPECT_TRUE(jogo.EscreverCaracter(QChar(ch)));
        EXPECT_EQ(Celula(2, 4).Value, 0);
        EXPECT_EQ(std::pair(janela.Row, janela.Col), std::pair(2, 4));
    }
    // A digit on a black or clue cell changes nothing.
    for (const auto& [r, c] : {std::pair(0, 0), std::pair(1, 2)}) {
        janela.SeleccionarCelula(r, c);
        EXPECT_TRUE(jogo.EscreverCaracter(QChar('3')));
        EXPECT_EQ(Celula(r, c).Value, 0);
    }
    // Outside the board the key is left to the grid.
    janela.SeleccionarCelula(9, 0);
    EXPECT_FALSE(jogo.EscreverCaracter(QChar('3')));
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
    janela.SeleccionarCelula(8, 8);
    jogo.ApagarCelulaActual();
    janela.SeleccionarCelula(1, 1);
    jogo.AvancarParaProximaVazia(8, 8);
    EXPECT_EQ(std::pair(janela.Row, janela.Col), std::pair(1, 1));
}

TEST_F(Jogo, ErasingOnlyTouchesWhiteCellsAndNotWhileTheSolutionIsShown) {
    Iniciar();
    Escrever(2, 3, '9');
    jogo.Verificar();
    janela.SeleccionarCelula(2, 3);
    jogo.ApagarCelulaActual();
    EXPECT_EQ(Celula(2, 3).Value, 0);
    EXPECT_EQ(Celula(2, 3).DisplayState, TCellDisplayState::cdsNormal);
    EXPECT_EQ(std::pair(janela.Row, janela.Col), std::pair(2, 3));

    janela.SeleccionarCelula(1, 2);
    const TSomadoCell pista = Celula(1, 2);
    jogo.ApagarCelulaActual();
    EXPECT_EQ(Celula(1, 2), pista);

    Escrever(2, 3, '9');
    jogo.VerSolucao();
    janela.SeleccionarCelula(2, 3);
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

TEST_F(Jogo, UnsavedMovesCompareDigitsNotActions) {
    Iniciar();
    EXPECT_FALSE(jogo.HaJogadasPorGravar());
    Escrever(2, 3, '5');
    EXPECT_TRUE(jogo.HaJogadasPorGravar());
    janela.SeleccionarCelula(2, 3);
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
    jogo.FTamanhoConfigurado = TTamanhoTabuleiro::tt15;
    jogo.FNivelConfigurado = TNivelDificuldade::ndMedio;
    Escrever(2, 3, '5');
    jogo.VerSolucao();
    gerador.Durante = [this] {
        EXPECT_TRUE(janela.EmEspera);
        EXPECT_EQ(janela.Informacao, (QStringList{"A gerar puzzle 15x15...",
                                                  "Pode demorar alguns segundos — aguarde."}));
    };
    EXPECT_TRUE(jogo.GerarNovoPuzzle());
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
    EXPECT_FALSE(jogo.GerarNovoPuzzle());
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
    EXPECT_THROW(jogo.GerarNovoPuzzle(), ESomadoError);
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
