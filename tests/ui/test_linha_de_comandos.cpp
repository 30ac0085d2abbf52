// The command line: what it asks for, and the window it starts with a game named on it.
#include "game/UnitSomadoJogo.h"
#include "io/UnitSomadoFicheiro.h"
#include "ui/Arranque.h"
#include "ui/UnitMain.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
