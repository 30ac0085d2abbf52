// The play state the game owns: the current cell and its moves, the commands long work
// refuses, stopping that work, undo's availability and the finish going stale.
#include "FixtureJogo.h"

#include "game/Estatisticas.h"

#include <QTemporaryDir>

#include <memory>
#include <set>

namespace {

using R = TResposta;
using P = std::pair<int32_t, int32_t>;

P Cursor(const TJogo& AJogo) {
    return {AJogo.Cursor().Row, AJogo.Cursor().Col};
}

TEST_F(Jogo, ClicksSelectOnlyWhiteCells) {
    Iniciar();
    EXPECT_EQ(Cursor(jogo), P(1, 1)) << "the first empty white cell at start";
    // White, clue, black, and off the board.
    const struct {
        int32_t r, c;
        bool seleccionada;
    } casos[] = {{2, 5, true},   {1, 2, false}, {0, 0, false}, {8, 0, false},
                 {-1, 3, false}, {9, 9, false}, {8, 8, true}};
    P esperada = Cursor(jogo);
    for (const auto& caso : casos) {
        EXPECT_EQ(jogo.SeleccionarCelula(caso.r, caso.c), caso.seleccionada)
            << caso.r << "," << caso.c;
        if (caso.seleccionada) esperada = P(caso.r, caso.c);
        EXPECT_EQ(Cursor(jogo), esperada) << caso.r << "," << caso.c;
        EXPECT_EQ(P(janela.Row, janela.Col), esperada) << "the window reads the game's cell";
    }
}

TEST_F(Jogo, ArrowsJumpOverBlockedCellsAndTabWalksTheWhiteCellsInReadingOrder) {
    Iniciar();
    using M = TMovimento;
    const struct {
        P de;
        M movimento;
        P para;
        bool moveu;
    } casos[] = {
        {{1, 1}, M::Direita, {1, 3}, true},  // over the clue (1, 2)
        {{1, 3}, M::Cima, {1, 3}, false},    // the frame above
        {{1, 3}, M::Baixo, {2, 3}, true},    //
        {{7, 7}, M::Cima, {3, 7}, true},     // over three black cells
        {{1, 1}, M::Seguinte, {1, 3}, true}, // the next white cell, over the clue
        {{1, 4}, M::Seguinte, {2, 1}, true}, // on to the next row
        {{2, 1}, M::Anterior, {1, 4}, true}, // and back
        {{8, 8}, M::Seguinte, {1, 1}, true}, // round from the last white cell to the first
        {{1, 1}, M::Anterior, {8, 8}, true}, // and back round
    };
    for (const auto& caso : casos) {
        ASSERT_TRUE(jogo.SeleccionarCelula(caso.de.first, caso.de.second));
        EXPECT_EQ(jogo.MoverCursor(caso.movimento), caso.moveu)
            << caso.de.first << "," << caso.de.second;
        EXPECT_EQ(Cursor(jogo), caso.para) << caso.de.first << "," << caso.de.second;
    }
    // Tab goes through every white cell once before it comes back.
    const auto brancas = Brancas();
    ASSERT_TRUE(jogo.SeleccionarCelula(brancas.front().first, brancas.front().second));
    for (size_t i = 1; i <= brancas.size(); ++i) {
        jogo.MoverCursor(M::Seguinte);
        EXPECT_EQ(Cursor(jogo), brancas[i % brancas.size()]);
    }
}

TEST_F(Jogo, ACursorMoveIsOneNotificationThatNamesIt) {
    Iniciar();
    janela.Mudancas.clear();
    jogo.MoverCursor(TMovimento::Direita);
    ASSERT_EQ(janela.Mudancas.size(), 1u);
    EXPECT_EQ(janela.Mudancas[0], static_cast<uint32_t>(mCursor));
    // A move that goes nowhere says nothing.
    ASSERT_TRUE(jogo.SeleccionarCelula(1, 3));
    janela.Mudancas.clear();
    jogo.MoverCursor(TMovimento::Cima);
    EXPECT_TRUE(janela.Mudancas.empty());
}

TEST_F(Jogo, OnABoardWithoutWhiteCellsTheCursorRestsInTheCorner) {
    Iniciar();
    jogo.AplicarTamanhoSemPuzzle(TTamanhoTabuleiro::tt15);
    EXPECT_EQ(Cursor(jogo), P(0, 0));
    for (const auto m :
         {TMovimento::Direita, TMovimento::Baixo, TMovimento::Seguinte, TMovimento::Anterior})
        EXPECT_FALSE(jogo.MoverCursor(m));
    EXPECT_FALSE(jogo.SeleccionarCelula(3, 3));
    EXPECT_TRUE(jogo.EscreverCaracter(QChar(u'5')));
    EXPECT_EQ(Celula(0, 0).Value, 0);
}

// Long work held running until it is told to stop, so that commands can be tried meanwhile.
class Ocupado : public Jogo {
protected:
    void SetUp() override {
        Jogo::SetUp();
        ASSERT_TRUE(pasta.isValid());
        Iniciar();
        gerador.AtePararem = true;
    }
    // Ends the work the way closing the window does, and lets the close go on.
    void Parar() {
        int fechos = 0;
        janela.AoFechar = [&] {
            ++fechos;
            EXPECT_TRUE(jogo.PodeFechar());
        };
        EXPECT_FALSE(jogo.PodeFechar()) << "the window stays while the work runs";
        EXPECT_TRUE(janela.EsperarTrabalho());
        EXPECT_EQ(fechos, 1) << "the close is asked again once the work has stopped";
        janela.AoFechar = nullptr;
        gerador.AtePararem = false;
    }
    QTemporaryDir pasta;
};

// Which commands each kind of long work refuses. Buttons, shortcuts and the grid's menu all
// go through the game's one answer, so asking it is asking all three.
TEST_F(Ocupado, EachKindOfWorkRefusesItsCommandsAndNoOthers) {
    using C = TComando;
    const struct {
        C comando;
        bool recusadoAGerar, recusadoEmLote;
    } tabela[] = {
        {C::Gerar, true, true},        {C::VerSolucao, true, false},
        {C::Verificar, true, false},   {C::Dica, true, false},
        {C::Limpar, true, false},      {C::Guardar, false, false},
        {C::Abrir, true, true},        {C::ExportarPuzzle, false, false},
        {C::ExportarLote, true, true}, {C::Configurar, true, true},
        {C::Ajuda, false, false},      {C::Sobre, false, false},
        {C::Sair, false, false},       {C::Jogada, true, false},
    };
    for (const auto& linha : tabela)
        EXPECT_FALSE(jogo.Recusado(linha.comando)) << static_cast<int>(linha.comando);

    ASSERT_TRUE(jogo.GerarNovoPuzzle());
    ASSERT_EQ(jogo.Ocupacao(), TOcupacao::AGerar);
    for (const auto& linha : tabela)
        EXPECT_EQ(jogo.Recusado(linha.comando), linha.recusadoAGerar)
            << static_cast<int>(linha.comando);
    Parar();

    janela.FicheiroLotePdf = pasta.filePath("lote.pdf");
    jogo.FConfiguracao.QuantidadeLote = 2;
    gerador.AtePararem = true;
    jogo.BitBtnExportarLoteClick();
    ASSERT_EQ(jogo.Ocupacao(), TOcupacao::EmLote);
    for (const auto& linha : tabela)
        EXPECT_EQ(jogo.Recusado(linha.comando), linha.recusadoEmLote)
            << static_cast<int>(linha.comando);
    Parar();
}

// The work counts as busy from the moment the command returns: whatever comes next, typed at
// once, finds it so. A refused command changes nothing and asks nothing.
TEST_F(Ocupado, NothingSlipsInBetweenANewPuzzleAndItsWork) {
    Escrever(2, 3, '5');
    jogo.GuardarValoresBase();
    ASSERT_TRUE(jogo.SeleccionarCelula(2, 4));
    const auto valores = [this] {
        std::vector<int32_t> v;
        for (int32_t r = 0; r < 9; ++r)
            for (int32_t c = 0; c < 9; ++c)
                v.push_back(Celula(r, c).Value * 10 +
                            static_cast<int32_t>(Celula(r, c).DisplayState));
        return v;
    };
    const std::vector<int32_t> antes = valores();
    janela.FicheiroAbrir = pasta.filePath("qualquer.smd");
    janela.Editar = [](TConfiguracao&) { return true; };

    ASSERT_TRUE(jogo.GerarNovoPuzzle());
    const QStringList progresso = janela.Informacao;
    // The worker is inside the generator before anything else is tried.
    const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (gerador.Chamadas < 2 && std::chrono::steady_clock::now() < limite)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const int chamadas = gerador.Chamadas;
    ASSERT_EQ(chamadas, 2) << "the start-up puzzle and this one";
    for (const TComando comando :
         {TComando::Gerar, TComando::Abrir, TComando::Configurar, TComando::ExportarLote,
          TComando::VerSolucao, TComando::Verificar, TComando::Dica, TComando::Limpar,
          TComando::Desfazer, TComando::Refazer})
        jogo.Executar(comando);
    EXPECT_TRUE(jogo.EscreverCaracter(QChar(u'7')));
    jogo.ApagarCelulaActual();
    jogo.AlternarNota(3);
    jogo.ApagarNotas();
    EXPECT_FALSE(jogo.GerarNovoPuzzle());

    EXPECT_EQ(valores(), antes) << "the board about to be replaced takes no move";
    EXPECT_EQ(jogo.Notas(2, 4), 0);
    EXPECT_EQ(janela.Informacao, progresso) << "the progress lines stay";
    EXPECT_TRUE(janela.Perguntas.isEmpty());
    EXPECT_EQ(janela.DialogosAbrir, 0);
    EXPECT_FALSE(janela.Mostrada.has_value()) << "no configuration dialog";
    EXPECT_EQ(gerador.Chamadas, chamadas) << "no second generation";
    EXPECT_FALSE(jogo.HaJogadasPorGravar());
    EXPECT_FALSE(jogo.PodeExecutar(TComando::Desfazer));
    Parar();
}

TEST_F(Ocupado, ClosingStopsASingleGenerationAndKeepsTheBoard) {
    Escrever(2, 3, '5');
    ASSERT_TRUE(jogo.GerarNovoPuzzle());
    janela.Respostas = {R::Nao}; // leave without saving, once the work has stopped
    Parar();
    EXPECT_EQ(janela.Informacao, QStringList{"Geração interrompida."});
    EXPECT_EQ(Celula(2, 3).Value, 5) << "the board in play stays";
    EXPECT_EQ(jogo.Ocupacao(), TOcupacao::Livre);
    EXPECT_FALSE(janela.EmEspera);
    // The next generation runs to its end.
    EXPECT_TRUE(Gerar());
}

TEST_F(Ocupado, TheGameStopsItsWorkersWhenItGoesMidWork) {
    TJanelaFalsa outra;
    auto jogoAparte = std::make_unique<TJogo>(
        outra, [this](TTamanhoTabuleiro t, TNivelDificuldade n, int64_t l, TAleatorio&,
                      const std::atomic<bool>& p) { return gerador(t, n, l, &p); });
    outra.Jogo = jogoAparte.get();
    gerador.AtePararem = false;
    jogoAparte->Iniciar();
    gerador.AtePararem = true;
    ASSERT_TRUE(jogoAparte->GerarNovoPuzzle());
    // A window closed mid-task: the game goes, and its worker with it, without waiting for a
    // generation that only ends when told.
    jogoAparte.reset();
    gerador.AtePararem = false;
}

TEST_F(Jogo, UndoAndRedoAreOfferedOnlyWhenTheyCanAct) {
    Iniciar();
    EXPECT_FALSE(jogo.PodeExecutar(TComando::Desfazer));
    EXPECT_FALSE(jogo.PodeExecutar(TComando::Refazer)) << "nothing to redo on a new board";
    Escrever(2, 3, '5');
    EXPECT_TRUE(jogo.PodeExecutar(TComando::Desfazer));
    EXPECT_FALSE(jogo.PodeExecutar(TComando::Refazer));
    jogo.Desfazer();
    EXPECT_FALSE(jogo.PodeExecutar(TComando::Desfazer));
    EXPECT_TRUE(jogo.PodeExecutar(TComando::Refazer));
    jogo.VerSolucao();
    EXPECT_FALSE(jogo.PodeExecutar(TComando::Refazer)) << "not while the solution shows";
    jogo.VerSolucao();
    EXPECT_TRUE(jogo.PodeExecutar(TComando::Refazer));
    // A new move ends what could be redone.
    Escrever(2, 4, '1');
    EXPECT_FALSE(jogo.PodeExecutar(TComando::Refazer));
    // Each change to what undo can do tells the window.
    janela.Mudancas.clear();
    jogo.Desfazer();
    ASSERT_FALSE(janela.Mudancas.empty());
    EXPECT_TRUE(janela.Mudancas.back() & mHistorico);
}

TEST_F(Jogo, TheCongratulationGoesStaleOnceTheDigitsChange) {
    Iniciar();
    PreencherTudoCorrecto();
    ASSERT_EQ(janela.Informacao.constFirst(), "Parabéns! Puzzle resolvido correctamente.");
    ASSERT_EQ(jogo.GameState(), TGameState::gsSolved);
    const auto [r, c] = Brancas().front();
    ASSERT_TRUE(jogo.SeleccionarCelula(r, c));
    jogo.ApagarCelulaActual();
    EXPECT_EQ(jogo.GameState(), TGameState::gsPlaying);
    EXPECT_FALSE(janela.Informacao.join(u'\n').contains("Parabéns"))
        << janela.Informacao.join(u'\n').toStdString();
    EXPECT_EQ(janela.Informacao,
              QStringList{"O puzzle deixou de estar resolvido — o relógio voltou a contar."});
    // Finished again, it says so again.
    Escrever(r, c, static_cast<char>('0' + Celula(r, c).Solution));
    EXPECT_EQ(janela.Informacao.constFirst(), "Parabéns! Puzzle resolvido correctamente.");

    // The same after "Verificar" found the board solved.
    jogo.SeleccionarCelula(r, c);
    jogo.ApagarCelulaActual();
    Escrever(r, c, static_cast<char>('0' + Celula(r, c).Solution));
    jogo.Verificar();
    ASSERT_EQ(janela.Informacao, QStringList{"Parabéns! Puzzle resolvido correctamente."});
    jogo.SeleccionarCelula(r, c);
    jogo.ApagarCelulaActual();
    EXPECT_EQ(janela.Informacao,
              QStringList{"O puzzle deixou de estar resolvido — o relógio voltou a contar."});
}

TEST_F(Jogo, ABoardFinishedWithHintsSaysHowMany) {
    const struct {
        int dicas;
        const char* linha;
    } casos[] = {{0, nullptr}, {1, "Com 1 dica."}, {3, "Com 3 dicas."}};
    for (const auto& caso : casos) {
        Iniciar();
        const auto brancas = Brancas();
        for (size_t i = 0; i < brancas.size(); ++i) {
            const auto [r, c] = brancas[i];
            if (i + caso.dicas >= brancas.size()) {
                ASSERT_TRUE(jogo.SeleccionarCelula(r, c));
                jogo.Dica();
            } else {
                Escrever(r, c, static_cast<char>('0' + Celula(r, c).Solution));
            }
        }
        ASSERT_EQ(jogo.GameState(), TGameState::gsSolved) << caso.dicas;
        EXPECT_EQ(janela.Informacao.constFirst(), "Parabéns! Puzzle resolvido correctamente.");
        if (caso.linha)
            EXPECT_EQ(janela.Informacao.constLast(), caso.linha);
        else
            EXPECT_EQ(janela.Informacao.size(), 2) << "no word about hints without any";
    }
}

TEST_F(Jogo, ACellsMarksClearOnTheirOwnOrWithTheWholeBoard) {
    Iniciar();
    for (const auto& [r, c] : {P(2, 1), P(2, 3), P(3, 3)}) {
        ASSERT_TRUE(jogo.SeleccionarCelula(r, c));
        jogo.AlternarNota(4);
    }
    ASSERT_TRUE(jogo.SeleccionarCelula(2, 3));
    jogo.ApagarNotasDaCelula();
    EXPECT_EQ(jogo.Notas(2, 3), 0);
    EXPECT_EQ(jogo.Notas(2, 1), 1u << 4);
    EXPECT_EQ(jogo.Notas(3, 3), 1u << 4);
    jogo.Desfazer();
    EXPECT_EQ(jogo.Notas(2, 3), 1u << 4) << "one step of the history";
    jogo.ApagarNotas();
    for (const auto& [r, c] : {P(2, 1), P(2, 3), P(3, 3)})
        EXPECT_EQ(jogo.Notas(r, c), 0);
}

} // namespace

namespace {

// Pause: the clock stands, the board's moves wait, and only a board in play pauses.
TEST_F(Jogo, APauseStopsTheClockAndTheMovesUntilPlayResumes) {
    int64_t agora = 0;
    jogo.DefinirFonteDeTempo([&agora] { return agora; });
    Iniciar();
    agora += 3000;
    jogo.AlternarPausa();
    ASSERT_TRUE(jogo.EmPausa());
    EXPECT_EQ(janela.Informacao.constFirst(), "Jogo em pausa — o relógio parou.");
    agora += 60000;
    EXPECT_EQ(jogo.TempoDeJogoMs(), 3000);
    // Whatever would show or change the board waits; the files and settings do not.
    for (const TComando comando :
         {TComando::VerSolucao, TComando::Verificar, TComando::Dica, TComando::Limpar,
          TComando::Desfazer, TComando::Refazer, TComando::Jogada, TComando::ExplicarPasso,
          TComando::PreencherNotas})
        EXPECT_TRUE(jogo.Recusado(comando)) << static_cast<int>(comando);
    for (const TComando comando : {TComando::Guardar, TComando::Abrir, TComando::Gerar,
                                   TComando::Configurar, TComando::Pausa})
        EXPECT_FALSE(jogo.Recusado(comando)) << static_cast<int>(comando);
    ASSERT_TRUE(jogo.SeleccionarCelula(2, 3));
    jogo.EscreverCaracter(QChar(u'5'));
    jogo.AlternarNota(4);
    jogo.Dica();
    EXPECT_EQ(Celula(2, 3).Value, 0);
    EXPECT_EQ(jogo.Notas(2, 3), 0);
    EXPECT_EQ(jogo.DestaqueDe(2, 3), TDestaque::Nenhum) << "a hidden board points at nothing";

    jogo.AlternarPausa();
    EXPECT_FALSE(jogo.EmPausa());
    EXPECT_EQ(janela.Informacao, QStringList{"O jogo continua."});
    agora += 1000;
    EXPECT_EQ(jogo.TempoDeJogoMs(), 4000);
    jogo.EscreverCaracter(QChar(u'5'));
    EXPECT_EQ(Celula(2, 3).Value, 5);

    // With the solution shown there is no game in play to pause; a new board ends a pause.
    jogo.VerSolucao();
    jogo.AlternarPausa();
    EXPECT_FALSE(jogo.EmPausa());
    jogo.VerSolucao();
    jogo.AlternarPausa();
    ASSERT_TRUE(jogo.EmPausa());
    jogo.AplicarTamanhoSemPuzzle(TTamanhoTabuleiro::tt6);
    EXPECT_FALSE(jogo.EmPausa());
}

// The current cell's across and down runs are pointed at, and nothing else; switched off,
// nothing is.
TEST_F(Jogo, TheCurrentCellsRunsAreTinted) {
    Iniciar();
    ASSERT_TRUE(jogo.SeleccionarCelula(4, 4));
    // Row 4: the run of 4 from (4, 3); column 4: the run of 7 from (1, 4).
    std::set<P> esperadas;
    for (int32_t c = 3; c <= 6; ++c)
        esperadas.insert({4, c});
    for (int32_t r = 1; r <= 7; ++r)
        esperadas.insert({r, 4});
    for (int32_t r = 0; r < 9; ++r)
        for (int32_t c = 0; c < 9; ++c)
            EXPECT_EQ(jogo.DestaqueDe(r, c) == TDestaque::Corrida, esperadas.count({r, c}) == 1)
                << r << "," << c;
    jogo.DefinirMostrarCorridas(false);
    for (const auto& [r, c] : esperadas)
        EXPECT_EQ(jogo.DestaqueDe(r, c), TDestaque::Nenhum);
}

// The window celebrates a finish once: the digit that completes the board says so, the next
// moves do not.
TEST_F(Jogo, TheFinishIsAnnouncedOnceToTheWindow) {
    Iniciar();
    const auto brancas = Brancas();
    for (size_t i = 0; i + 1 < brancas.size(); ++i)
        Escrever(brancas[i].first, brancas[i].second,
                 static_cast<char>('0' + Celula(brancas[i].first, brancas[i].second).Solution));
    for (const uint32_t m : janela.Mudancas)
        EXPECT_FALSE(m & mFim);
    janela.Mudancas.clear();
    const auto [r, c] = brancas.back();
    Escrever(r, c, static_cast<char>('0' + Celula(r, c).Solution));
    ASSERT_FALSE(janela.Mudancas.empty());
    EXPECT_TRUE(janela.Mudancas.back() & mFim);
    janela.Mudancas.clear();
    jogo.Verificar();
    for (const uint32_t m : janela.Mudancas)
        EXPECT_FALSE(m & mFim) << "a check of a finished board is no new finish";
}

} // namespace

namespace {

// A clean finish goes into the statistics once, and a new best time is said; hints or the
// solution shown keep a board out of them.
TEST_F(Jogo, AFinishWithoutHelpGoesIntoTheStatisticsOnce) {
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    const QString ficheiro = pasta.filePath("dados/estatisticas.txt");
    int64_t agora = 0;
    jogo.DefinirFonteDeTempo([&agora] { return agora; });
    const struct {
        const char* caso;
        bool dica, solucao;
        int64_t tempoMs;
        int resolvidos;
        bool melhor;
    } casos[] = {
        {"first clean finish", false, false, 90000, 1, true},
        {"slower", false, false, 120000, 2, false},
        {"with a hint", true, false, 10000, 2, false},
        {"after the solution was shown", false, true, 10000, 2, false},
        {"faster", false, false, 60000, 3, true},
    };
    for (const auto& caso : casos) {
        agora = 0;
        Iniciar();
        jogo.UsarEstatisticas(ficheiro);
        if (caso.solucao) {
            jogo.VerSolucao();
            jogo.VerSolucao();
        }
        const auto brancas = Brancas();
        for (size_t i = 0; i < brancas.size(); ++i) {
            const auto [r, c] = brancas[i];
            if (i + 1 == brancas.size()) agora = caso.tempoMs;
            if (caso.dica && i + 1 == brancas.size()) {
                ASSERT_TRUE(jogo.SeleccionarCelula(r, c));
                jogo.Dica();
            } else {
                Escrever(r, c, static_cast<char>('0' + Celula(r, c).Solution));
            }
        }
        ASSERT_EQ(jogo.GameState(), TGameState::gsSolved) << caso.caso;
        ASSERT_NE(jogo.Estatisticas(), nullptr);
        EXPECT_EQ(jogo.Estatisticas()->Resumo(9, TNivelDificuldade::ndFacil).Resolvidos,
                  caso.resolvidos)
            << caso.caso;
        EXPECT_EQ(janela.Informacao.constLast() == "Novo melhor tempo em 9x9, Fácil!", caso.melhor)
            << caso.caso << ": " << janela.Informacao.join(u'|').toStdString();
        // Undone and finished again, the same board is not counted twice.
        const auto [r, c] = brancas.back();
        jogo.SeleccionarCelula(r, c);
        jogo.ApagarCelulaActual();
        Escrever(r, c, static_cast<char>('0' + Celula(r, c).Solution));
        EXPECT_EQ(jogo.Estatisticas()->Resumo(9, TNivelDificuldade::ndFacil).Resolvidos,
                  caso.resolvidos)
            << caso.caso;
    }
    // What was counted is in the file.
    TEstatisticas lidas;
    QString aviso;
    ASSERT_TRUE(lidas.Carregar(ficheiro, aviso)) << aviso.toStdString();
    const TEstatisticas::TResumo resumo = lidas.Resumo(9, TNivelDificuldade::ndFacil);
    EXPECT_EQ(resumo.Resolvidos, 3);
    EXPECT_EQ(resumo.MelhorMs, 60000);
    EXPECT_EQ(resumo.MedianaMs, 90000);
}

} // namespace
