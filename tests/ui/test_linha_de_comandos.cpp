// The command line: what it asks for, and the window it starts with a game named on it.
#include "game/UnitSomadoJogo.h"
#include "io/UnitSomadoFicheiro.h"
#include "ui/Arranque.h"
#include "ui/UnitMain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

TLinhaDeComandos Interpretar(QStringList AArgumentos) {
    AArgumentos.prepend(QStringLiteral("/usr/games/somado"));
    return InterpretarLinhaDeComandos(AArgumentos);
}

} // namespace

TEST(LinhaDeComandos, WhatEachCommandLineAsksFor) {
    struct Caso {
        QStringList argumentos;
        bool sair;
        int estado;
        QString ficheiro;
    };
    const Caso casos[] = {
        {{}, false, 0, {}},
        {{"jogo.smd"}, false, 0, "jogo.smd"},
        // Names as file managers hand them over: absolute, with spaces and accents.
        {{"/home/ana/Jogos guardados/Pássaro ção.smd"},
         false,
         0,
         "/home/ana/Jogos guardados/Pássaro ção.smd"},
        {{"C:\\Users\\Zé\\Documentos\\jogo.smd"}, false, 0, "C:\\Users\\Zé\\Documentos\\jogo.smd"},
        // A name that starts with a dash, after the end of the options.
        {{"--", "-jogo.smd"}, false, 0, "-jogo.smd"},
        // Qt's own options stay Qt's.
        {{"-platform", "offscreen", "jogo.smd"}, false, 0, "jogo.smd"},
        {{"-style", "fusion", "-reverse"}, false, 0, {}},
        {{"--help"}, true, 0, {}},
        {{"-h"}, true, 0, {}},
        {{"--version"}, true, 0, {}},
        {{"-v", "jogo.smd"}, true, 0, {}},
        {{"--frobnicar"}, true, 2, {}},
        {{"-x", "jogo.smd"}, true, 2, {}},
        {{"um.smd", "outro.smd"}, true, 2, {}},
    };
    for (const Caso& caso : casos) {
        const std::string nome = caso.argumentos.join(' ').toStdString();
        const TLinhaDeComandos linha = Interpretar(caso.argumentos);
        EXPECT_EQ(linha.Sair, caso.sair) << nome;
        EXPECT_EQ(linha.Estado, caso.estado) << nome;
        EXPECT_EQ(linha.Ficheiro, caso.ficheiro) << nome;
        if (!linha.Sair) {
            EXPECT_TRUE(linha.Saida.isEmpty() && linha.Erros.isEmpty()) << nome;
        }
        // A mistake goes to the standard error with the usage; nothing to the standard output.
        if (linha.Estado == 2) {
            EXPECT_TRUE(linha.Saida.isEmpty()) << nome;
            EXPECT_TRUE(linha.Erros.startsWith("somado: ")) << nome;
            EXPECT_TRUE(linha.Erros.contains("--help")) << nome;
        }
    }
}

// Arguments as POSIX passes them: the file is the very argument the parser took as the file,
// byte for byte, even where another argument reads the same.
TEST(LinhaDeComandos, TheFileKeepsTheBytesOfItsOwnArgument) {
#ifndef Q_OS_UNIX
    // There bytes are read in the ANSI code page, and the program reads its UTF-16 instead.
    GTEST_SKIP() << "o Windows passa a linha de comandos em UTF-16, não em bytes";
#endif
    struct Caso {
        QList<QByteArray> argumentos;
        int estado;
        QString ficheiro;
        QByteArray emBytes;
        QString erros = {};
    };
    const Caso casos[] = {
        {{}, 0, {}, {}},
        {{"jogo.smd"}, 0, "jogo.smd", "jogo.smd"},
        {{"/home/ana/P\xc3\xa1ssaro.smd"},
         0,
         "/home/ana/Pássaro.smd",
         "/home/ana/P\xc3\xa1ssaro.smd"},
        {{"latin\xe9.smd"}, 0, QStringLiteral("latin\uFFFD.smd"), "latin\xe9.smd"},
        // A value of one of Qt's options that reads as the file does.
        {{"-stylesheet", "a\xe9", "a\xe8"}, 0, QStringLiteral("a\uFFFD"), "a\xe8"},
        {{"a\xe8", "-stylesheet", "a\xe9"}, 0, QStringLiteral("a\uFFFD"), "a\xe8"},
        {{"-stylesheet=a\xe9", "a\xe8"}, 0, QStringLiteral("a\uFFFD"), "a\xe8"},
        {{"--", "-a\xe9"}, 0, QStringLiteral("-a\uFFFD"), "-a\xe9"},
        {{"--version", "a\xe9"}, 0, {}, {}},
        {{"a\xe9", "a\xe8"}, 2, {}, {}},
        // Named in the message as text, the stray bytes as U+FFFD.
        {{"--op\xe7\xe3o"}, 2, {}, {}, QStringLiteral("'op\uFFFD\uFFFDo'")},
    };
    for (const Caso& caso : casos) {
        QList<QByteArray> argumentos = caso.argumentos;
        const std::string nome = argumentos.join(' ').toHex(' ').toStdString();
        argumentos.prepend("/usr/games/somado");
        const TLinhaDeComandos linha = InterpretarArgumentosEmBytes(argumentos);
        EXPECT_EQ(linha.Estado, caso.estado) << nome;
        EXPECT_EQ(linha.Ficheiro, caso.ficheiro) << nome;
        EXPECT_EQ(linha.FicheiroEmBytes, caso.emBytes) << nome;
        // Interpreting makes nothing on disk.
        EXPECT_EQ(linha.PastaDaLigacao, nullptr) << nome;
        EXPECT_TRUE(linha.Erros.contains(caso.erros)) << nome << ": " << linha.Erros.toStdString();
    }
}

TEST(LinhaDeComandos, HelpNamesTheOptionsAndTheFileButNotQtsOwn) {
    const TLinhaDeComandos ajuda = Interpretar({"--help"});
    for (const char* texto : {"-h, --help", "-v, --version", "ficheiro", ".smd"})
        EXPECT_TRUE(ajuda.Saida.contains(texto)) << texto;
    for (const char* texto : {"platform", "style", "reverse"})
        EXPECT_FALSE(ajuda.Saida.contains(texto)) << texto;
    EXPECT_TRUE(ajuda.Erros.isEmpty());
    EXPECT_EQ(Interpretar({"--version"}).Saida, "Somado " SOMADO_VERSAO_TESTE "\n");
}

namespace {

class JanelaComFicheiro : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(pasta.isValid()); }
    QStringList Informacao() const {
        return janela->MemoInformacao->toPlainText().split('\n', Qt::SkipEmptyParts);
    }
    QTemporaryDir pasta;
    std::unique_ptr<TFormMain> janela;
};

} // namespace

// The program's own start-up with a game named on the command line.
TEST_F(JanelaComFicheiro, TheNamedGameIsOpenInTheStartedWindow) {
    auto board = CriarPuzzleFixo();
    TSomadoCell cell = board->GetCell(2, 3);
    cell.Value = 6;
    board->SetCell(2, 3, cell);
    board->SetDifficulty(TNivelDificuldade::ndDificil);
    const QString caminho = pasta.filePath("Jogo de sábado.smd");
    GravarFicheiroPuzzle(caminho, *board);

    janela = CriarJanelaPrincipal(caminho);
    janela->show();
    EXPECT_EQ(Informacao(), QStringList{"Puzzle aberto: Jogo de sábado.smd"});
    const TSomadoBoard& aberto = *janela->Jogo().Board();
    EXPECT_EQ(aberto.Size(), 9);
    EXPECT_EQ(aberto.Difficulty(), TNivelDificuldade::ndDificil);
    EXPECT_EQ(aberto.GetCell(2, 3).Value, 6);
    for (int32_t r = 0; r < 9; ++r)
        for (int32_t c = 0; c < 9; ++c)
            EXPECT_EQ(aberto.GetCell(r, c).CellType, board->GetCell(r, c).CellType);
    EXPECT_FALSE(janela->Jogo().HaJogadasPorGravar());
}

TEST_F(JanelaComFicheiro, AGameThatCannotBeReadLeavesTheUsualFirstPuzzleAndSaysWhy) {
    const QString caminho = pasta.filePath("estragado.smd");
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[SOMADO tamanho=5 dificuldade=0 score=0]\r\n");
    f.close();

    janela = CriarJanelaPrincipal(caminho);
    janela->show();
    EXPECT_EQ(Informacao(), (QStringList{"Não foi possível abrir este ficheiro.",
                                         "Tamanho de tabuleiro fora do intervalo [6..25]: 5"}));
    // The generated 9 × 9 start-up puzzle, ready to play.
    ASSERT_NE(janela->Jogo().Board(), nullptr);
    EXPECT_EQ(janela->Jogo().Board()->Size(), 9);
    EXPECT_EQ(janela->Jogo().GameState(), TGameState::gsPlaying);
}

TEST_F(JanelaComFicheiro, WithoutAFileTheStartIsTheUsualOne) {
    janela = CriarJanelaPrincipal();
    const QStringList informacao = Informacao();
    ASSERT_EQ(informacao.size(), 1);
    EXPECT_TRUE(informacao[0].startsWith("Puzzle gerado: 9x9")) << informacao[0].toStdString();
}

#ifdef Q_OS_UNIX
namespace {

// Games under names given in bytes, and the window the command line starts with one of them.
class JanelaComNomeEmBytes : public JanelaComFicheiro {
protected:
    void TearDown() override {
        // Qt cannot name these files to remove them with the folder.
        for (const QByteArray& nome : FCriados)
            std::remove(nome.constData());
    }

    QByteArray EmBytes(const QByteArray& ANome) const {
        return QFile::encodeName(pasta.path()) + '/' + ANome;
    }

    // The game to find (9 × 9 Difícil with a 6) or a decoy (Fácil with a 7), written under
    // ANome in the folder; the system's error when it could not be named so, else 0.
    int Gravar(const QByteArray& ANome, bool AVerdadeiro) {
        auto board = CriarPuzzleFixo();
        TSomadoCell cell = board->GetCell(2, 3);
        cell.Value = AVerdadeiro ? 6 : 7;
        board->SetCell(2, 3, cell);
        board->SetDifficulty(AVerdadeiro ? TNivelDificuldade::ndDificil
                                         : TNivelDificuldade::ndFacil);
        const QString provisorio = pasta.filePath("provisorio.smd");
        GravarFicheiroPuzzle(provisorio, *board);
        const QByteArray destino = EmBytes(ANome);
        errno = 0;
        if (std::rename(QFile::encodeName(provisorio).constData(), destino.constData()) != 0)
            return errno;
        FCriados << destino;
        return 0;
    }

    // Some file systems (Apple's, some network shares) take only UTF-8 names.
    static bool SoUtf8(int AErro) { return AErro == EILSEQ || AErro == EINVAL; }

    // The window as the program starts it with AArgumento on its command line; ACaminho gets
    // the path the window was given to open.
    void Abrir(QByteArray AArgumento, QString& ACaminho) {
        QByteArray programa = "/usr/games/somado";
        char* argv[] = {programa.data(), AArgumento.data(), nullptr};
        int argc = 2;
        janela.reset();
        const TLinhaDeComandos linha = LerLinhaDeComandos(argc, argv);
        ASSERT_FALSE(linha.Sair) << linha.Erros.toStdString();
        ACaminho = linha.Ficheiro;
        janela = CriarJanelaPrincipal(linha.Ficheiro);
    }

    bool AbriuOVerdadeiro() const {
        const TSomadoBoard& aberto = *janela->Jogo().Board();
        return aberto.Difficulty() == TNivelDificuldade::ndDificil &&
               aberto.GetCell(2, 3).Value == 6;
    }

    QList<QByteArray> FCriados;
};

} // namespace
#endif

// On POSIX the system passes the command line as bytes, which need not be UTF-8: a Latin-1
// name from an old disk or archive reaches the program through a file manager's %f as it is.
// That very file must be read, its name shown readably, the stray bytes as U+FFFD. Beside
// each file lies a decoy under the name as shown, which a program that looked the file up by
// its shown name would open instead.
#ifdef Q_OS_UNIX
TEST_F(JanelaComNomeEmBytes, ANameThatIsNotUtf8OpensThatVeryFile) {
    struct Caso {
        QByteArray nome;
        bool existe;
        bool relativo;
        QStringList informacao;
    };
    const Caso casos[] = {
        {"latin\xe9.smd", true, false, {QStringLiteral("Puzzle aberto: latin\uFFFD.smd")}},
        {"S\xe1"
         "bado \xe0 noite.smd",
         true,
         false,
         {QStringLiteral("Puzzle aberto: S\uFFFDbado \uFFFD noite.smd")}},
        // Named from the folder it is in, as a shell started there passes it.
        {"rel\xe9.smd", true, true, {QStringLiteral("Puzzle aberto: rel\uFFFD.smd")}},
        {"nada\xe9.smd",
         false,
         false,
         {QStringLiteral("Não foi possível abrir este ficheiro."),
          QStringLiteral(
              "Não foi possível ler o ficheiro \"nada\uFFFD.smd\": o ficheiro não existe")}},
    };
    const QString pastaDeTrabalho = QDir::currentPath();
    for (const Caso& caso : casos) {
        const QString mostrado = QFile::decodeName(caso.nome);
        const std::string nomeDoCaso = mostrado.toStdString();
        const int erro = caso.existe ? Gravar(caso.nome, true) : 0;
        if (SoUtf8(erro)) GTEST_SKIP() << "o sistema de ficheiros só aceita nomes em UTF-8";
        ASSERT_EQ(erro, 0) << nomeDoCaso << ": " << std::strerror(erro);
        ASSERT_EQ(Gravar(QFile::encodeName(mostrado), false), 0) << nomeDoCaso;

        if (caso.relativo) {
            ASSERT_TRUE(QDir::setCurrent(pasta.path()));
        }
        QString caminho;
        Abrir(caso.relativo ? caso.nome : EmBytes(caso.nome), caminho);
        QDir::setCurrent(pastaDeTrabalho);
        ASSERT_TRUE(janela) << nomeDoCaso;
        EXPECT_EQ(Informacao().join(u'\n').toStdString(),
                  caso.informacao.join(u'\n').toStdString());
        if (caso.existe) {
            EXPECT_TRUE(AbriuOVerdadeiro()) << nomeDoCaso;
        } else {
            // The usual start-up puzzle, not the decoy.
            EXPECT_EQ(janela->Jogo().Board()->GetCell(2, 3).Value, 0) << nomeDoCaso;
        }
        // Whatever the program made to reach the file went with the command line.
        if (!caminho.startsWith(pasta.path())) {
            EXPECT_FALSE(QFileInfo::exists(QFileInfo(caminho).path())) << nomeDoCaso;
        }
    }
}

// Each byte shown as U+FFFD takes three in UTF-8: a name that the file system takes in
// Latin-1 can be too long for it as shown, and is shortened to show, not refused.
TEST_F(JanelaComNomeEmBytes, ALongLatin1NameIsShortenedToShowAndStillOpens) {
    const QByteArray nome = QByteArray(200, '\xe9') + ".smd";
    const int erro = Gravar(nome, true);
    if (SoUtf8(erro)) GTEST_SKIP() << "o sistema de ficheiros só aceita nomes em UTF-8";
    ASSERT_EQ(erro, 0) << std::strerror(erro);
    QString caminho;
    Abrir(EmBytes(nome), caminho);
    ASSERT_TRUE(janela);
    EXPECT_TRUE(AbriuOVerdadeiro());
    const QStringList informacao = Informacao();
    ASSERT_EQ(informacao.size(), 1);
    const QString mostrado = informacao[0];
    const QString prefixo = QStringLiteral("Puzzle aberto: ");
    ASSERT_TRUE(mostrado.startsWith(prefixo + QChar(0xFFFD))) << mostrado.toStdString();
    EXPECT_TRUE(mostrado.endsWith(QStringLiteral("\uFFFD.smd"))) << mostrado.toStdString();
    EXPECT_TRUE(mostrado.contains(QChar(0x2026))) << mostrado.toStdString();
    EXPECT_LE(mostrado.mid(prefixo.size()).toUtf8().size(), 255) << mostrado.toStdString();
}
#else
TEST(LinhaDeComandos, ANameThatIsNotUtf8OpensThatVeryFile) {
    GTEST_SKIP() << "o Windows passa a linha de comandos em UTF-16, não em bytes";
}
#endif
