// The game in play kept on disk for a program that is killed: when it is written and removed,
// what comes back at the next start, and that two programs keep separate games.
#include "FixtureJogo.h"
#include "VerificadorDePassos.h"

#include "game/Recuperacao.h"
#include "io/ProcessoFilho.h"
#include "io/UnitSomadoFicheiro.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <optional>

namespace {

using verificador::Bit;

const QString CPergunta =
    QStringLiteral("O Somado não terminou normalmente. Recuperar o jogo que estava em curso?");

QStringList JogosEm(const QString& APasta) {
    return QDir(APasta).entryList({QStringLiteral("*.smd")}, QDir::Files);
}

// A program's game: its own window and game, keeping it in the shared folder.
struct TPrograma {
    explicit TPrograma(const QString& APasta) {
        janela.Jogo = &jogo;
        jogo.DefinirFonteDeTempo([this] { return agora; });
        jogo.Iniciar();
        jogo.UsarRecuperacao(APasta);
    }
    void Escrever(int32_t r, int32_t c, char ADigito) {
        jogo.SeleccionarCelula(r, c);
        jogo.EscreverCaracter(QChar(ADigito));
    }
    void Marcar(int32_t r, int32_t c, int d) {
        jogo.SeleccionarCelula(r, c);
        jogo.AlternarNota(d);
    }

    int64_t agora = 1000;
    TJanelaFalsa janela;
    TJogo jogo{janela, [](TTamanhoTabuleiro, TNivelDificuldade, int64_t, TAleatorio&,
                          const std::atomic<bool>&) { return CriarPuzzleFixo(); }};
};

class Recuperacao : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Portugal));
        ASSERT_TRUE(raiz.isValid());
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    // A program that typed a digit and a mark, played 42 s, and was killed: its game stays.
    void ProgramaMorto(const QString& AFicheiroDoJogo = {}) {
        TPrograma morto(pasta);
        if (!AFicheiroDoJogo.isEmpty()) {
            morto.janela.FicheiroAbrir = AFicheiroDoJogo;
            morto.jogo.AbrirPuzzle();
        }
        morto.Escrever(2, 2, '5');
        morto.Marcar(2, 1, 7);
        morto.agora += 42000;
        morto.jogo.GuardarAntesDoFim();
    }

    QTemporaryDir raiz;
    const QString pasta = raiz.filePath(QStringLiteral("recuperacao"));
};

TEST_F(Recuperacao, TheGameIsKeptWithinASecondOfAChangeOnlyWhileItHasUnsavedMoves) {
    TPrograma programa(pasta);
    // A new puzzle, nothing typed: nothing to keep, nothing written.
    programa.janela.CorrerAdiadas();
    EXPECT_TRUE(JogosEm(pasta).isEmpty());

    programa.Escrever(2, 2, '5');
    programa.Escrever(2, 3, '6');
    // One write for the burst, when the timer runs.
    EXPECT_EQ(programa.janela.Adiadas.size(), 1u);
    EXPECT_TRUE(JogosEm(pasta).isEmpty());
    programa.janela.CorrerAdiadas();
    const QString ficheiro = programa.jogo.FicheiroDeRecuperacao();
    ASSERT_FALSE(ficheiro.isEmpty());
    EXPECT_EQ(JogosEm(pasta), QStringList{QFileInfo(ficheiro).fileName()});
    // Any reader of game files opens it as the game it holds.
    TEstadoDoJogo estado;
    const auto lido = LerFicheiroJogo(ficheiro, estado);
    EXPECT_EQ(lido->GetCell(2, 2).Value, 5);
    EXPECT_EQ(lido->GetCell(2, 3).Value, 6);

    // Saved: nothing left to lose, so nothing kept.
    programa.janela.FicheiroGuardar = raiz.filePath(QStringLiteral("g.smd"));
    ASSERT_TRUE(programa.jogo.GuardarPuzzle());
    programa.janela.CorrerAdiadas();
    EXPECT_TRUE(JogosEm(pasta).isEmpty());
    EXPECT_TRUE(programa.jogo.FicheiroDeRecuperacao().isEmpty());

    // A mark alone is a move too.
    programa.Marcar(2, 1, 4);
    programa.janela.CorrerAdiadas();
    EXPECT_EQ(JogosEm(pasta).size(), 1);
}

TEST_F(Recuperacao, EveryCleanEndRemovesTheGameAndOnlyAnEndFromOutsideKeepsIt) {
    struct TCaso {
        const char* Nome;
        std::function<void(TPrograma&)> Fim;
        bool Fica;
    };
    const TCaso casos[] = {
        {"fechado, respondendo \"Não\" a guardar",
         [](TPrograma& p) {
             p.janela.Respostas = {TResposta::Nao};
             EXPECT_TRUE(p.jogo.PodeFechar());
         },
         false},
        {"fechado sem pergunta (programa destruído)", [](TPrograma&) {}, false},
        {"terminado por um sinal", [](TPrograma& p) { p.jogo.GuardarAntesDoFim(); }, true},
        {"sessão a fechar, depois fechado pelo jogador",
         [](TPrograma& p) {
             p.jogo.GuardarAntesDoFim();
             p.janela.Respostas = {TResposta::Nao};
             EXPECT_TRUE(p.jogo.PodeFechar());
         },
         false},
    };
    for (const TCaso& caso : casos) {
        {
            TPrograma programa(pasta);
            programa.Escrever(2, 2, '5');
            programa.janela.CorrerAdiadas();
            ASSERT_EQ(JogosEm(pasta).size(), 1) << caso.Nome;
            caso.Fim(programa);
        }
        EXPECT_EQ(JogosEm(pasta).size(), caso.Fica ? 1 : 0) << caso.Nome;
        QDir(pasta).removeRecursively();
    }
}

TEST_F(Recuperacao, AnEndFromOutsideKeepsTheLatestMovesEvenBeforeTheTimerRuns) {
    {
        TPrograma programa(pasta);
        programa.Escrever(2, 2, '5');
        programa.janela.CorrerAdiadas();
        programa.Escrever(2, 3, '6'); // not yet written when the signal comes
        programa.jogo.GuardarAntesDoFim();
    }
    ASSERT_EQ(JogosEm(pasta).size(), 1);
    TEstadoDoJogo estado;
    const auto lido = LerFicheiroJogo(QDir(pasta).filePath(JogosEm(pasta).constFirst()), estado);
    EXPECT_EQ(lido->GetCell(2, 3).Value, 6);
}

TEST_F(Recuperacao, SimOpensTheGameAsItWasStillUnsavedAndTheOldCopyGoes) {
    const QString original = raiz.filePath(QStringLiteral("meu jogo.smd"));
    {
        TPrograma antes(pasta);
        antes.janela.FicheiroGuardar = original;
        ASSERT_TRUE(antes.jogo.GuardarPuzzle());
    }
    ProgramaMorto(original);

    TPrograma depois(pasta);
    depois.janela.Respostas = {TResposta::Sim};
    depois.jogo.ContinuarArranque({});
    EXPECT_EQ(depois.janela.Perguntas, QStringList{CPergunta});
    EXPECT_FALSE(depois.janela.ComCancelar.at(0));
    EXPECT_EQ(depois.jogo.Board()->GetCell(2, 2).Value, 5);
    EXPECT_EQ(depois.jogo.Notas(2, 1), Bit(7));
    EXPECT_EQ(depois.jogo.TempoDeJogoMs(), 42000);
    EXPECT_TRUE(depois.jogo.HaJogadasPorGravar());
    EXPECT_EQ(depois.jogo.Informacao(),
              (QStringList{QStringLiteral("Jogo recuperado: meu jogo.smd"),
                           QStringLiteral("As jogadas recuperadas ainda não foram guardadas.")}));
    // The game is now this program's own: one copy, its own, and it stays unsaved.
    EXPECT_EQ(JogosEm(pasta),
              QStringList{QFileInfo(depois.jogo.FicheiroDeRecuperacao()).fileName()});

    // It still belongs to its file: another program's change to that file is asked about.
    QFile outro(original);
    ASSERT_TRUE(outro.open(QIODevice::Append));
    outro.write("\r\n");
    outro.close();
    depois.janela.FicheiroGuardar = original;
    depois.janela.Respostas = {TResposta::Sim, TResposta::Nao};
    EXPECT_FALSE(depois.jogo.GuardarPuzzle());
    ASSERT_EQ(depois.janela.Perguntas.size(), 3);
    EXPECT_TRUE(depois.janela.Perguntas[2].contains(QStringLiteral("alterado por outro programa")))
        << depois.janela.Perguntas[2].toStdString();

    // The next start has nothing to offer while this program runs, nor after it ends cleanly.
    {
        TPrograma terceiro(pasta);
        terceiro.jogo.ContinuarArranque({});
        EXPECT_TRUE(terceiro.janela.Perguntas.isEmpty());
    }
}

TEST_F(Recuperacao, NaoDiscardsTheGameAndTheStartGoesOnAsUsual) {
    ProgramaMorto();
    const QString nomeado = raiz.filePath(QStringLiteral("nomeado.smd"));
    {
        TPrograma outro(pasta);
        outro.janela.FicheiroGuardar = nomeado;
        ASSERT_TRUE(outro.jogo.GuardarPuzzle());
    }
    ASSERT_EQ(JogosEm(pasta).size(), 1);
    TPrograma depois(pasta);
    depois.janela.Respostas = {TResposta::Nao};
    depois.jogo.ContinuarArranque(nomeado);
    EXPECT_EQ(depois.janela.Perguntas, QStringList{CPergunta});
    EXPECT_TRUE(JogosEm(pasta).isEmpty());
    EXPECT_EQ(depois.jogo.Board()->GetCell(2, 2).Value, 0);
    EXPECT_EQ(depois.jogo.Informacao(), QStringList{QStringLiteral("Puzzle aberto: nomeado.smd")});
}

TEST_F(Recuperacao, AQuestionDismissedKeepsTheGameForTheNextStart) {
    ProgramaMorto();
    {
        TPrograma depois(pasta);
        depois.janela.Respostas = {TResposta::Cancelar};
        depois.jogo.ContinuarArranque({});
        EXPECT_EQ(depois.jogo.Board()->GetCell(2, 2).Value, 0);
    }
    TPrograma seguinte(pasta);
    seguinte.janela.Respostas = {TResposta::Sim};
    seguinte.jogo.ContinuarArranque({});
    EXPECT_EQ(seguinte.jogo.Board()->GetCell(2, 2).Value, 5);
}

TEST_F(Recuperacao, AFileNamedAtStartWaitsWhenTheRecoveredGameTakesItsPlace) {
    ProgramaMorto();
    TPrograma depois(pasta);
    depois.janela.Respostas = {TResposta::Sim};
    depois.jogo.ContinuarArranque(raiz.filePath(QStringLiteral("pedido.smd")));
    EXPECT_EQ(depois.jogo.Board()->GetCell(2, 2).Value, 5);
    EXPECT_EQ(depois.jogo.Informacao().constLast(),
              QStringLiteral("O ficheiro \"pedido.smd\" não foi aberto, para não substituir o "
                             "jogo recuperado: abra-o com \"Abrir\" quando quiser."));
}

TEST_F(Recuperacao, TwoProgramsAtOnceKeepSeparateGamesAndNeverOfferEachOthers) {
    TPrograma primeiro(pasta), segundo(pasta);
    primeiro.Escrever(2, 2, '5');
    segundo.Escrever(2, 2, '8');
    primeiro.janela.CorrerAdiadas();
    segundo.janela.CorrerAdiadas();
    EXPECT_EQ(JogosEm(pasta).size(), 2);
    EXPECT_NE(primeiro.jogo.FicheiroDeRecuperacao(), segundo.jogo.FicheiroDeRecuperacao());
    // A third program started meanwhile has nothing to recover: both are alive.
    TPrograma terceiro(pasta);
    terceiro.jogo.ContinuarArranque({});
    EXPECT_TRUE(terceiro.janela.Perguntas.isEmpty());
}

#ifndef _WIN32
TEST_F(Recuperacao, AProgramKilledOutrightLeavesItsGameForTheNextStart) {
    // The child keeps its game and dies without any clean-up: its lock names a dead process.
    const std::optional<std::string> filho = NoFilho([this] {
        static std::optional<TPrograma> programa;
        programa.emplace(pasta);
        programa->Escrever(2, 2, '7');
        programa->janela.CorrerAdiadas();
        return programa->jogo.FicheiroDeRecuperacao().isEmpty() ? std::string("sem ficheiro")
                                                                : std::string("ok");
    });
    ASSERT_EQ(filho, std::optional<std::string>("ok"));
    EXPECT_EQ(QDir(pasta).entryList({QStringLiteral("*.lock")}, QDir::Files).size(), 1);

    TPrograma depois(pasta);
    depois.janela.Respostas = {TResposta::Sim};
    depois.jogo.ContinuarArranque({});
    EXPECT_EQ(depois.jogo.Board()->GetCell(2, 2).Value, 7);
}
#endif

TEST_F(Recuperacao, ADamagedKeptGameIsPutAsideAndTheStartGoesOn) {
    ASSERT_TRUE(QDir().mkpath(pasta));
    QFile estragado(QDir(pasta).filePath(QStringLiteral("morto.smd")));
    ASSERT_TRUE(estragado.open(QIODevice::WriteOnly));
    estragado.write("[SOMADO]\r\nlixo\r\n");
    estragado.close();

    TPrograma depois(pasta);
    depois.janela.Respostas = {TResposta::Sim};
    depois.jogo.ContinuarArranque({});
    EXPECT_EQ(depois.jogo.Informacao().constFirst(),
              QStringLiteral("O jogo que estava em curso não pôde ser recuperado."));
    EXPECT_TRUE(depois.jogo.Informacao().constLast().startsWith(
        QStringLiteral("O ficheiro ficou guardado à parte como ")));
    EXPECT_TRUE(JogosEm(pasta).isEmpty());
    EXPECT_EQ(QDir(pasta).entryList({QStringLiteral("morto.smd.danificado-*")}, QDir::Files).size(),
              1);
    // Never offered again.
    TPrograma seguinte(pasta);
    seguinte.jogo.ContinuarArranque({});
    EXPECT_TRUE(seguinte.janela.Perguntas.isEmpty());
}

TEST_F(Recuperacao, AFolderThatCannotBeWrittenIsToldOnceAndThePlayGoesOn) {
    // A file where the folder should be: nothing can be kept there.
    QFile ocupado(pasta);
    ASSERT_TRUE(ocupado.open(QIODevice::WriteOnly));
    ocupado.close();
    TPrograma programa(pasta);
    programa.Escrever(2, 2, '5');
    programa.janela.CorrerAdiadas();
    const QStringList informacao = programa.jogo.Informacao();
    ASSERT_FALSE(informacao.isEmpty());
    EXPECT_TRUE(informacao.constLast().startsWith(
        QStringLiteral("A cópia de segurança do jogo em curso não pôde ser guardada. ")))
        << informacao.join(u'|').toStdString();
    programa.Escrever(2, 3, '6');
    programa.janela.CorrerAdiadas();
    EXPECT_EQ(programa.jogo.Board()->GetCell(2, 3).Value, 6);
    EXPECT_LE(programa.jogo.Informacao().filter(QStringLiteral("cópia de segurança")).size(), 1);
}

} // namespace
