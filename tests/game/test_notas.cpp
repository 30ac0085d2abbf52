// Pencil marks, the current cell's runs, rule conflicts, the play clock and the finish, on the
// fixed 9 × 9 puzzle.
#include "FixtureJogo.h"
#include "VerificadorDePassos.h"

#include "io/UnitSomadoFicheiro.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

using verificador::Bit;

class Notas : public Jogo {
protected:
    void SetUp() override {
        Jogo::SetUp();
        ASSERT_TRUE(pasta.isValid());
        jogo.DefinirFonteDeTempo([this] { return agora; });
        Iniciar();
    }
    void Marcar(int32_t r, int32_t c, int d) {
        jogo.SeleccionarCelula(r, c);
        jogo.AlternarNota(d);
    }
    QString Caminho(const char* ANome) const { return pasta.filePath(ANome); }
    void GuardarEm(const QString& ACaminho) {
        janela.FicheiroGuardar = ACaminho;
        ASSERT_TRUE(jogo.GuardarPuzzle());
    }
    void AbrirDe(const QString& ACaminho) {
        janela.FicheiroAbrir = ACaminho;
        jogo.AbrirPuzzle();
    }

    int64_t agora = 1000;
    QTemporaryDir pasta;
};

TEST_F(Notas, ToggleOnlyInEmptyWhiteCellsAndNotWhileTheSolutionIsShown) {
    Marcar(2, 1, 3);
    Marcar(2, 1, 7);
    EXPECT_EQ(jogo.Notas(2, 1), Bit(3) | Bit(7));
    Marcar(2, 1, 3);
    EXPECT_EQ(jogo.Notas(2, 1), Bit(7));
    Marcar(0, 0, 5); // black
    Marcar(1, 2, 5); // clue
    EXPECT_EQ(jogo.Notas(0, 0), 0);
    EXPECT_EQ(jogo.Notas(1, 2), 0);
    Escrever(2, 2, '5');
    Marcar(2, 2, 4); // holds a digit
    EXPECT_EQ(jogo.Notas(2, 2), 0);
    jogo.VerSolucao();
    Marcar(2, 1, 1);
    EXPECT_EQ(jogo.Notas(2, 1), Bit(7));
    jogo.VerSolucao();
    EXPECT_TRUE(jogo.HaJogadasPorGravar());
}

TEST_F(Notas, AMarkStaysUnderADigitAndShowsAgainWhenItIsErased) {
    Marcar(2, 1, 7);
    Escrever(2, 1, '6');
    EXPECT_EQ(jogo.Notas(2, 1), Bit(7));
    jogo.SeleccionarCelula(2, 1);
    jogo.ApagarCelulaActual();
    EXPECT_EQ(jogo.Notas(2, 1), Bit(7));
}

TEST_F(Notas, PlacingADigitTakesItOffTheMarksOfItsTwoRunsOnlyAndUndoPutsThemBack) {
    // (2, 1) is in the across run of row 2 and the down run of column 1.
    Marcar(1, 1, 7); // same down run
    Marcar(2, 8, 7); // same across run, far end
    Marcar(2, 8, 9); // another digit
    Marcar(3, 3, 7); // neither run
    Marcar(6, 1, 7); // column 1, but another down run
    Escrever(2, 1, '7');
    EXPECT_EQ(jogo.Notas(1, 1), 0);
    EXPECT_EQ(jogo.Notas(2, 8), Bit(9));
    EXPECT_EQ(jogo.Notas(3, 3), Bit(7));
    EXPECT_EQ(jogo.Notas(6, 1), Bit(7));
    jogo.Desfazer(); // one step: the digit and the marks it removed
    EXPECT_EQ(Celula(2, 1).Value, 0);
    EXPECT_EQ(jogo.Notas(1, 1), Bit(7));
    EXPECT_EQ(jogo.Notas(2, 8), Bit(7) | Bit(9));
    jogo.Refazer();
    EXPECT_EQ(Celula(2, 1).Value, 7);
    EXPECT_EQ(jogo.Notas(1, 1), 0);
    // Back past the digit and the marks at (6, 1) and (3, 3) to the mark 9 at (2, 8).
    for (int i = 0; i < 4; ++i)
        jogo.Desfazer();
    EXPECT_EQ(jogo.Notas(2, 8), Bit(7));
    EXPECT_EQ(janela.Row, 2);
    EXPECT_EQ(janela.Col, 8);
}

TEST_F(Notas, ClearAndClearMarksAreOneStepEach) {
    Marcar(2, 1, 7);
    Marcar(3, 3, 5);
    Escrever(4, 3, '4');
    jogo.Limpar();
    EXPECT_EQ(jogo.Notas(2, 1), 0);
    EXPECT_EQ(jogo.Notas(3, 3), 0);
    EXPECT_EQ(Celula(4, 3).Value, 0);
    jogo.Desfazer();
    EXPECT_EQ(jogo.Notas(2, 1), Bit(7));
    EXPECT_EQ(jogo.Notas(3, 3), Bit(5));
    EXPECT_EQ(Celula(4, 3).Value, 4);
    jogo.ApagarNotas();
    EXPECT_EQ(jogo.Notas(2, 1), 0);
    EXPECT_EQ(Celula(4, 3).Value, 4);
    jogo.Desfazer();
    EXPECT_EQ(jogo.Notas(3, 3), Bit(5));
}

TEST_F(Notas, MarksAndClockSurviveSaveAndReopen) {
    Marcar(2, 1, 7);
    Marcar(7, 8, 1);
    Marcar(7, 8, 9);
    agora += 125000;
    const QString caminho = Caminho("notas.smd");
    GuardarEm(caminho);
    EXPECT_FALSE(jogo.HaJogadasPorGravar());
    // The board part is exactly what any reader of the format expects.
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith(TextoDoPuzzle(*jogo.Board())));
    EXPECT_NE(LerPuzzleDoTexto(bytes), nullptr);

    jogo.ApagarNotas();
    agora += 50000;
    janela.Respostas.push_back(TResposta::Nao);
    AbrirDe(caminho);
    EXPECT_EQ(jogo.Notas(2, 1), Bit(7));
    EXPECT_EQ(jogo.Notas(7, 8), Bit(1) | Bit(9));
    EXPECT_EQ(jogo.TempoDeJogoMs(), 125000);
    EXPECT_FALSE(jogo.HaJogadasPorGravar());
    agora += 3000;
    EXPECT_EQ(jogo.TempoDeJogoMs(), 128000);
}

TEST_F(Notas, ADamagedSectionLosesOnlyItsDamagedPartAndSaysSo) {
    const QByteArray puzzle = TextoDoPuzzle(*jogo.Board());
    const std::vector<uint16_t> marcas(81, Bit(5));
    QStringList seccao = LinhasDoEstado({marcas, 7000}, 9);
    const auto texto = [&](const QStringList& ALinhas) {
        return puzzle + ALinhas.join(QStringLiteral("\r\n")).toLatin1() + "\r\n";
    };
    QStringList linhaCurta = seccao, valorForaDoIntervalo = seccao, semTempo = seccao,
                tempoNegativo = seccao;
    linhaCurta[3] = QStringLiteral("0 0 0");
    valorForaDoIntervalo[2].replace(0, 2, QStringLiteral("1"));
    semTempo.removeLast();
    tempoNegativo.last() = QStringLiteral("TEMPO=-5");
    const QString avisoNotas =
        QStringLiteral("As notas guardadas não puderam ser lidas e foram deixadas de fora.");
    const QString avisoTempo =
        QStringLiteral("O tempo de jogo guardado não pôde ser lido e recomeça do zero.");
    const std::vector<uint16_t> nenhuma;
    struct TCaso {
        const char* Nome;
        QByteArray Bytes;
        std::vector<uint16_t> Notas;
        int64_t TempoMs;
        QStringList Avisos;
    };
    const TCaso casos[] = {
        {"sem secção", puzzle, nenhuma, 0, {}},
        {"inteira", texto(seccao), marcas, 7000, {}},
        {"linha curta", texto(linhaCurta), nenhuma, 7000, {avisoNotas}},
        {"marca fora do intervalo", texto(valorForaDoIntervalo), nenhuma, 7000, {avisoNotas}},
        {"sem tempo", texto(semTempo), marcas, 0, {avisoTempo}},
        {"tempo negativo", texto(tempoNegativo), marcas, 0, {avisoTempo}},
        {"binário",
         puzzle + QByteArray("[NOTAS]\r\n\xff\x00\x01", 12),
         nenhuma,
         0,
         {avisoNotas, avisoTempo}},
    };
    for (const TCaso& caso : casos) {
        const TEstadoDoJogo estado = LerEstadoDoTexto(caso.Bytes, 9);
        EXPECT_EQ(estado.Notas.empty() ? nenhuma : estado.Notas, caso.Notas) << caso.Nome;
        EXPECT_EQ(estado.TempoMs, caso.TempoMs) << caso.Nome;
        EXPECT_EQ(estado.Avisos, caso.Avisos) << caso.Nome;
    }

    // Opened in the game: the marks kept, the lost time said in the information box; and
    // marks only ever land in white cells.
    const QString caminho = Caminho("velho.smd");
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(texto(tempoNegativo));
    f.close();
    AbrirDe(caminho);
    EXPECT_EQ(jogo.Notas(2, 1), Bit(5));
    EXPECT_EQ(jogo.Notas(0, 0), 0);
    EXPECT_EQ(jogo.Notas(1, 2), 0);
    EXPECT_TRUE(jogo.Informacao().contains(avisoTempo))
        << jogo.Informacao().join(u'|').toStdString();
}

TEST_F(Notas, RunsOfTheCurrentCellKeepOnlyCombinationsWithThePlacedDigits) {
    // (4, 4): across 18 in 4 cells from (4, 3), down 42 in 7 cells from (1, 4).
    EXPECT_EQ(CorridasDaCelula(*jogo.Board(), 4, 4),
              QStringLiteral("→ 18 em 4 casas: 1+2+6+9, 1+2+7+8, 1+3+5+9, 1+3+6+8, 1+4+5+8, "
                             "1+4+6+7, 2+3+4+9, 2+3+5+8, 2+3+6+7, 2+4+5+7, 3+4+5+6\n"
                             "↓ 42 em 7 casas: 3+4+5+6+7+8+9"));
    Escrever(4, 3, '4');
    Escrever(4, 6, '5');
    EXPECT_EQ(CorridasDaCelula(*jogo.Board(), 4, 4).section(u'\n', 0, 0),
              QStringLiteral("→ 18 em 4 casas: 1+4+5+8, 2+4+5+7, 3+4+5+6"));
    Escrever(4, 5, '5'); // a repeated digit leaves no combination
    EXPECT_EQ(CorridasDaCelula(*jogo.Board(), 4, 4).section(u'\n', 0, 0),
              QStringLiteral("→ 18 em 4 casas: nenhuma combinação"));
    EXPECT_EQ(CorridasDaCelula(*jogo.Board(), 0, 0), QString());
    EXPECT_EQ(CorridasDaCelula(*jogo.Board(), 1, 2), QString());
}

TEST_F(Notas, ConflictsComeFromTheRulesAloneAndCanBeSwitchedOff) {
    // A repeat in the across run of row 4 (18 in 4): both cells, nothing else.
    Escrever(4, 3, '6'); // wrong (solution 4) but breaks no rule
    EXPECT_FALSE(jogo.CelulaEmConflito(4, 3));
    Escrever(4, 5, '6');
    EXPECT_TRUE(jogo.CelulaEmConflito(4, 3));
    EXPECT_TRUE(jogo.CelulaEmConflito(4, 5));
    EXPECT_FALSE(jogo.CelulaEmConflito(4, 4));
    jogo.DefinirMostrarConflitos(false);
    EXPECT_FALSE(jogo.CelulaEmConflito(4, 3));
    jogo.DefinirMostrarConflitos(true);
    Escrever(4, 5, '3');
    EXPECT_FALSE(jogo.CelulaEmConflito(4, 3));
    // A full run with the wrong total: every filled cell of it, and only once it is full.
    Escrever(1, 3, '2'); // across 4 in 2: (1, 3), (1, 4)
    EXPECT_FALSE(jogo.CelulaEmConflito(1, 3));
    Escrever(1, 4, '1');
    EXPECT_TRUE(jogo.CelulaEmConflito(1, 3));
    EXPECT_TRUE(jogo.CelulaEmConflito(1, 4));
    // Correct digits that happen to differ from the solution are no conflict: swap 1 and 3.
    Escrever(1, 3, '3');
    EXPECT_FALSE(jogo.CelulaEmConflito(1, 3));
    jogo.VerSolucao();
    Escrever(4, 5, '6');
    EXPECT_FALSE(jogo.CelulaEmConflito(4, 3));
}

TEST_F(Notas, TheFinishIsToldAtOnceWithTheTimeAndStopsTheClock) {
    agora += 61000;
    auto brancas = Brancas();
    const auto [ur, uc] = brancas.back();
    brancas.pop_back();
    for (const auto& [r, c] : brancas)
        Escrever(r, c, static_cast<char>('0' + Celula(r, c).Solution));
    EXPECT_EQ(jogo.GameState(), TGameState::gsPlaying);
    Escrever(ur, uc, Celula(ur, uc).Solution == 1 ? '2' : '1'); // full, one wrong: no finish
    EXPECT_EQ(jogo.GameState(), TGameState::gsPlaying);
    agora += 4000;
    Escrever(ur, uc, static_cast<char>('0' + Celula(ur, uc).Solution));
    EXPECT_EQ(jogo.GameState(), TGameState::gsSolved);
    EXPECT_EQ(janela.Informacao,
              QStringList({QStringLiteral("Parabéns! Puzzle resolvido correctamente."),
                           QStringLiteral("Tempo de jogo: 1:05.")}));
    agora += 100000;
    EXPECT_EQ(jogo.TempoDeJogoMs(), 65000);
    // Verificar still answers as it always has.
    jogo.Verificar();
    EXPECT_EQ(janela.Informacao,
              QStringList({QStringLiteral("Parabéns! Puzzle resolvido correctamente.")}));
}

TEST_F(Notas, TheClockStandsWhileMinimisedAndStartsAgainOnANewBoard) {
    agora += 2000;
    jogo.PausarRelogio();
    agora += 50000;
    jogo.RetomarRelogio();
    agora += 1000;
    EXPECT_EQ(jogo.TempoDeJogoMs(), 3000);
    EXPECT_TRUE(Gerar());
    EXPECT_EQ(jogo.TempoDeJogoMs(), 0);
    EXPECT_EQ(TJogo::TextoDoTempo(3723000), QStringLiteral("1:02:03"));
    EXPECT_EQ(TJogo::TextoDoTempo(59999), QStringLiteral("0:59"));
}

TEST_F(Notas, ChecksCountsAreMarkedOutOfDateOnceADigitChanges) {
    Escrever(2, 1, '1');
    jogo.Verificar();
    ASSERT_TRUE(
        janela.Informacao.constFirst().startsWith(QStringLiteral("Correctas: 0. Erradas: 1.")));
    Escrever(2, 1, '7');
    EXPECT_EQ(janela.Informacao,
              QStringList({QStringLiteral("As jogadas mudaram desde a última verificação — "
                                          "carregue em Verificar de novo.")}));
    // A mark is no digit: the lines of a fresh check stay.
    jogo.Verificar();
    const QStringList depois = janela.Informacao;
    Marcar(3, 3, 5);
    EXPECT_EQ(janela.Informacao, depois);
}

TEST_F(Notas, ABoardWithoutEmptyCellsStartsOnItsFirstWhiteCell) {
    PreencherTudoCorrecto();
    jogo.SeleccionarCelula(0, 0);
    jogo.IrParaPrimeiraVazia();
    EXPECT_EQ(janela.Row, 1);
    EXPECT_EQ(janela.Col, 1);
}

} // namespace
