// Saving, opening, the unsaved-moves questions, leaving and the configuration command.
#include "FixtureJogo.h"

#include "io/ProcessoFilho.h"
#include "io/UnitSomadoFicheiro.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

using R = TResposta;
const QString CPerguntaGerar = "Há jogadas por gravar. Guardar antes de gerar um puzzle novo?";
const QString CPerguntaAbrir = "Há jogadas por gravar. Guardar antes de abrir outro puzzle?";
const QString CPerguntaSair = "Há jogadas por gravar. Guardar antes de sair?";
const QString CPerguntaConfigurar =
    "A configuração mudou — vai ser gerado um puzzle novo, que substitui o actual.\r\n"
    "Há jogadas por gravar. Guardar antes de continuar?";

class Ficheiros : public Jogo {
protected:
    void SetUp() override {
        Jogo::SetUp();
        ASSERT_TRUE(pasta.isValid());
        Iniciar();
    }
    QString Caminho(const char* ANome) const { return pasta.filePath(ANome); }
    QByteArray Conteudo(const QString& ACaminho) const {
        QFile f(ACaminho);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void Gravar(const QString& ACaminho, const QByteArray& ABytes) {
        QFile f(ACaminho);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(ABytes);
    }

    QTemporaryDir pasta;
};

} // namespace

TEST_F(Ficheiros, SaveWritesTheBoardAndMarksTheDigitsSaved) {
    Escrever(2, 3, '2');
    jogo.VerSolucao(); // the player's digits are saved, not the solution
    janela.FicheiroGuardar = Caminho("jogo.smd");
    EXPECT_TRUE(jogo.GuardarPuzzle());
    EXPECT_TRUE(janela.Perguntas.isEmpty()) << "a new file needs no question";
    EXPECT_EQ(janela.Informacao, QStringList{"Puzzle guardado: jogo.smd"});
    EXPECT_FALSE(jogo.HaJogadasPorGravar());
    const auto lido = LerFicheiroPuzzle(Caminho("jogo.smd"));
    EXPECT_EQ(lido->GetCell(2, 3).Value, 2);
    EXPECT_EQ(lido->GetCell(2, 4).Value, 0);
    jogo.VerSolucao();
    Escrever(2, 4, '1');
    EXPECT_TRUE(jogo.HaJogadasPorGravar()) << "one more digit is unsaved again";
}

TEST_F(Ficheiros, SaveOverAnExistingFileAsksFirst) {
    const QString caminho = Caminho("velho.smd");
    Gravar(caminho, "conteudo antigo");
    Escrever(2, 3, '2');
    janela.FicheiroGuardar = caminho;
    struct {
        TResposta resposta;
        bool gravado;
    } casos[] = {{R::Nao, false}, {R::Cancelar, false}, {R::Sim, true}};
    for (const auto& caso : casos) {
        janela.Informacao = QStringList{"antes"};
        janela.Perguntas.clear();
        janela.Respostas = {caso.resposta};
        EXPECT_EQ(jogo.GuardarPuzzle(), caso.gravado);
        EXPECT_EQ(janela.Perguntas, QStringList{"O ficheiro \"velho.smd\" já existe. Substituir?"});
        EXPECT_EQ(janela.ComCancelar, std::vector<bool>(janela.ComCancelar.size(), false));
        EXPECT_EQ(Conteudo(caminho) == "conteudo antigo", !caso.gravado);
        EXPECT_EQ(janela.Informacao.first() == "antes", !caso.gravado);
    }
}

TEST_F(Ficheiros, CancelledSaveDialogWritesNothing) {
    Escrever(2, 3, '2');
    janela.FicheiroGuardar.reset();
    EXPECT_FALSE(jogo.GuardarPuzzle());
    EXPECT_TRUE(jogo.HaJogadasPorGravar());
    EXPECT_TRUE(QDir(pasta.path()).isEmpty());
}

TEST_F(Ficheiros, AFailedWriteRaisesAndLeavesTheDigitsUnsaved) {
    Escrever(2, 3, '2');
    janela.FicheiroGuardar = Caminho("nao-existe/jogo.smd");
    EXPECT_THROW(jogo.GuardarPuzzle(), ESomadoError);
    EXPECT_TRUE(jogo.HaJogadasPorGravar());
}

// A save that fails is reported by the general error report, and whatever asked for it (a
// new puzzle, closing the window) does not go on.
TEST_F(Ficheiros, AFailedSaveIsReportedAndStopsWhatAskedForIt) {
    Escrever(2, 3, '2');
    janela.FicheiroGuardar = Caminho("nao-existe/jogo.smd");
    const QString erro = "Não foi possível gravar o ficheiro \"jogo.smd\": a pasta não existe";

    EXPECT_NO_THROW(jogo.BitBtnGuardarClick());
    EXPECT_EQ(janela.Erros, QStringList{erro});

    janela.Respostas = {R::Sim};
    jogo.BitBtnGerarClick();
    EXPECT_EQ(gerador.Chamadas, 1) << "only the start-up generation";

    janela.Respostas = {R::Sim};
    EXPECT_FALSE(jogo.PodeFechar());
    EXPECT_EQ(janela.Erros, (QStringList{erro, erro, erro}));
    EXPECT_TRUE(jogo.HaJogadasPorGravar());
    EXPECT_EQ(Celula(2, 3).Value, 2);
}

// A disk that cannot take the whole file: the old file stays, the error is reported and the
// moves stay unsaved, so leaving asks again. The file size limit stands in for a full disk.
TEST_F(Ficheiros, SavingOnAFullDiskKeepsTheOldFileAndTheMovesUnsaved) {
    // An earlier save of a smaller board: the 9 × 9 text is longer than the limit.
    const QByteArray antigo = TextoDoPuzzle(TSomadoBoard(6));
    Gravar(Caminho("jogo.smd"), antigo);
    SOMADO_PRECISA_DE_LIMITES_NO_FILHO();
    TOpcoesFilho opcoes;
    opcoes.LimiteFicheiro = antigo.size() + 10;
    ASSERT_GT(TextoDoPuzzle(*CriarPuzzleFixo()).size(), opcoes.LimiteFicheiro);
    const auto resultado = NoFilho(
        [&] {
            Escrever(2, 3, '2');
            Escrever(2, 4, '4');
            janela.FicheiroGuardar = Caminho("jogo.smd");
            janela.Respostas = {R::Sim};
            jogo.BitBtnGuardarClick();
            return (janela.Erros.join('|') + "|" +
                    (jogo.HaJogadasPorGravar() ? "por gravar" : "gravado"))
                .toStdString();
        },
        opcoes);
    EXPECT_EQ(resultado, "Não foi possível gravar o ficheiro \"jogo.smd\": o ficheiro excede o "
                         "tamanho máximo permitido|por gravar");
    EXPECT_EQ(Conteudo(Caminho("jogo.smd")), antigo);
    EXPECT_EQ(QDir(pasta.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"jogo.smd"});
}

TEST_F(Ficheiros, OpenInstallsTheBoardWithItsDigitsAsSaved) {
    auto board = CriarPuzzleFixo();
    TSomadoCell cell = board->GetCell(2, 3);
    cell.Value = 7;
    board->SetCell(2, 3, cell);
    board->SetDifficulty(TNivelDificuldade::ndDificil);
    GravarFicheiroPuzzle(Caminho("guardado.smd"), *board);

    jogo.VerSolucao();
    janela.FicheiroAbrir = Caminho("guardado.smd");
    jogo.BitBtnAbrirClick();
    EXPECT_EQ(janela.Informacao, QStringList{"Puzzle aberto: guardado.smd"});
    EXPECT_EQ(Celula(2, 3).Value, 7);
    EXPECT_EQ(jogo.Board()->Difficulty(), TNivelDificuldade::ndDificil);
    EXPECT_EQ(jogo.GameState(), TGameState::gsPlaying);
    EXPECT_EQ(janela.LegendaVerSolucao, "Ver Solução");
    EXPECT_FALSE(jogo.HaJogadasPorGravar());
    EXPECT_EQ(std::pair(janela.Row, janela.Col), std::pair(1, 1));

    // Clearing the opened digits is an unsaved move: the next "Gerar Puzzle" asks.
    jogo.Limpar();
    janela.Respostas = {R::Cancelar};
    jogo.BitBtnGerarClick();
    EXPECT_EQ(janela.Perguntas, QStringList{CPerguntaGerar});
    EXPECT_EQ(gerador.Chamadas, 1) << "only the start-up generation";
}

TEST_F(Ficheiros, AFailedOpenKeepsEverythingAndReportsTwoLines) {
    Escrever(2, 3, '2');
    const TSomadoBoard antes = *jogo.Board();
    struct {
        const char* nome;
        QByteArray bytes;
        const char* mensagem;
    } casos[] = {
        {"curto.smd", "[SOMADO tamanho=9 dificuldade=0 score=0]\r\n",
         "Ficheiro .smd truncado — faltam linhas."},
        {"pequeno.smd", "[SOMADO tamanho=5 dificuldade=0 score=0]\r\n",
         "Tamanho de tabuleiro fora do intervalo [6..25]: 5"},
    };
    for (const auto& caso : casos) {
        Gravar(Caminho(caso.nome), caso.bytes);
        janela.FicheiroAbrir = Caminho(caso.nome);
        janela.Respostas = {R::Nao};
        jogo.AbrirPuzzle();
        EXPECT_EQ(janela.Informacao,
                  (QStringList{"Não foi possível abrir este ficheiro.", caso.mensagem}));
        EXPECT_EQ(Celula(2, 3).Value, 2);
        EXPECT_EQ(jogo.Board()->Size(), antes.Size());
        EXPECT_TRUE(jogo.HaJogadasPorGravar());
    }
    // A file that is not there gives the reader's own message, naming the file.
    janela.FicheiroAbrir = Caminho("sumiu.smd");
    janela.Respostas = {R::Nao};
    jogo.AbrirPuzzle();
    ASSERT_EQ(janela.Informacao.size(), 2);
    EXPECT_TRUE(janela.Informacao[1].contains("sumiu.smd"));
    EXPECT_FALSE(janela.Informacao[1].contains(pasta.path())) << "no folder in messages";
}

// Every branch of the unsaved-moves question before opening another puzzle.
TEST_F(Ficheiros, QuestionBeforeOpening) {
    const QString outro = Caminho("outro.smd");
    GravarFicheiroPuzzle(outro, *CriarPuzzleFixo());
    struct Caso {
        const char* nome;
        TResposta resposta;
        std::optional<QString> guardarEm; // the save dialog's answer after "Sim"
        bool abre;
        bool gravou;
    };
    const Caso casos[] = {
        {"Sim and saved", R::Sim, Caminho("salvo.smd"), true, true},
        {"Sim, save cancelled", R::Sim, std::nullopt, false, false},
        {"Não", R::Nao, std::nullopt, true, false},
        {"Cancelar or dismissed", R::Cancelar, std::nullopt, false, false},
    };
    for (const Caso& caso : casos) {
        Iniciar();
        QFile::remove(Caminho("salvo.smd"));
        janela.Perguntas.clear();
        janela.DialogosAbrir = 0;
        Escrever(2, 3, '2');
        janela.Respostas = {caso.resposta};
        janela.FicheiroGuardar = caso.guardarEm;
        janela.FicheiroAbrir = outro;
        jogo.BitBtnAbrirClick();
        EXPECT_EQ(janela.Perguntas, QStringList{CPerguntaAbrir}) << caso.nome;
        EXPECT_EQ(janela.ComCancelar, std::vector<bool>(janela.ComCancelar.size(), true));
        EXPECT_EQ(janela.DialogosAbrir, caso.abre ? 1 : 0) << caso.nome;
        EXPECT_EQ(Celula(2, 3).Value, caso.abre ? 0 : 2) << caso.nome;
        EXPECT_EQ(QFile::exists(Caminho("salvo.smd")), caso.gravou) << caso.nome;
        janela.ComCancelar.clear();
    }
}

TEST_F(Ficheiros, NoQuestionWithoutUnsavedMoves) {
    jogo.BitBtnGerarClick();
    janela.EsperarTrabalho();
    EXPECT_EQ(gerador.Chamadas, 2);
    EXPECT_TRUE(jogo.PodeSair());
    janela.FicheiroAbrir.reset();
    jogo.BitBtnAbrirClick();
    EXPECT_TRUE(janela.Perguntas.isEmpty());
    // A hint is a digit like any other.
    jogo.Dica();
    janela.Respostas = {R::Cancelar};
    EXPECT_FALSE(jogo.PodeSair());
    EXPECT_EQ(janela.Perguntas, QStringList{CPerguntaSair});
}

TEST_F(Ficheiros, LeavingAsksAndOnlyAWrittenFileLetsSimGoOn) {
    struct {
        TResposta resposta;
        std::optional<QString> guardarEm;
        bool sai;
    } casos[] = {{R::Nao, std::nullopt, true},
                 {R::Cancelar, std::nullopt, false},
                 {R::Sim, std::nullopt, false},
                 {R::Sim, Caminho("saida.smd"), true}};
    for (const auto& caso : casos) {
        Iniciar();
        Escrever(2, 3, '2');
        janela.Respostas = {caso.resposta};
        janela.FicheiroGuardar = caso.guardarEm;
        EXPECT_EQ(jogo.PodeSair(), caso.sai);
    }
    EXPECT_TRUE(QFile::exists(Caminho("saida.smd")));
    jogo.BitBtnSairClick();
    EXPECT_EQ(janela.PedidosDeFecho, 1);
}

namespace {

class Configuracao : public Jogo {
protected:
    void SetUp() override {
        Jogo::SetUp();
        Iniciar();
    }
    // The user's edit of the dialog, and OK.
    void Configurar(std::function<void(TConfiguracao&)> AEdicao, bool AOk = true) {
        janela.Editar = [AEdicao, AOk](TConfiguracao& c) {
            AEdicao(c);
            return AOk;
        };
        jogo.BitBtnConfigurarClick();
        janela.EsperarTrabalho();
    }
};

} // namespace

TEST_F(Configuracao, TheDialogShowsTheCurrentSettings) {
    Configurar([](TConfiguracao&) {}, false);
    ASSERT_TRUE(janela.Mostrada);
    EXPECT_EQ(janela.Mostrada->Tamanho, TTamanhoTabuleiro::tt9);
    EXPECT_EQ(janela.Mostrada->Nivel, TNivelDificuldade::ndFacil);
    EXPECT_EQ(janela.Mostrada->TamanhoLote, TTamanhoTabuleiro::tt9);
    EXPECT_EQ(janela.Mostrada->ModoLote, TModoDificuldadeLote::mdlProgressivo);
    EXPECT_EQ(janela.Mostrada->QuantidadeLote, 40);
    EXPECT_TRUE(janela.Mostrada->TituloLote.isEmpty());
}

TEST_F(Configuracao, CancelChangesNothing) {
    Configurar(
        [](TConfiguracao& c) {
            c.Nivel = TNivelDificuldade::ndDificil;
            c.QuantidadeLote = 7;
        },
        false);
    EXPECT_EQ(jogo.FConfiguracao.Nivel, TNivelDificuldade::ndFacil);
    EXPECT_EQ(jogo.FConfiguracao.QuantidadeLote, 40);
    EXPECT_EQ(gerador.Chamadas, 1);
}

TEST_F(Configuracao, OkWithoutChangesOrWithBatchChangesOnlyGeneratesNothing) {
    janela.Informacao = QStringList{"antes"};
    Configurar([](TConfiguracao&) {});
    EXPECT_EQ(gerador.Chamadas, 1);
    EXPECT_EQ(janela.Informacao, QStringList{"antes"});

    Escrever(2, 3, '2');
    Configurar([](TConfiguracao& c) {
        c.TamanhoLote = TTamanhoTabuleiro::tt6;
        c.ModoLote = TModoDificuldadeLote::mdlFixa;
        c.DificuldadeLote = TNivelDificuldade::ndMedio;
        c.QuantidadeLote = 12;
        c.TituloLote = "Verão";
    });
    EXPECT_EQ(gerador.Chamadas, 1);
    EXPECT_TRUE(janela.Perguntas.isEmpty());
    EXPECT_EQ(jogo.FConfiguracao.TamanhoLote, TTamanhoTabuleiro::tt6);
    EXPECT_EQ(jogo.FConfiguracao.ModoLote, TModoDificuldadeLote::mdlFixa);
    EXPECT_EQ(jogo.FConfiguracao.DificuldadeLote, TNivelDificuldade::ndMedio);
    EXPECT_EQ(jogo.FConfiguracao.QuantidadeLote, 12);
    EXPECT_EQ(jogo.FConfiguracao.TituloLote, "Verão");
    EXPECT_EQ(Celula(2, 3).Value, 2);
}

TEST_F(Configuracao, ALevelChangeGeneratesAtOnce) {
    Configurar([](TConfiguracao& c) { c.Nivel = TNivelDificuldade::ndDificil; });
    EXPECT_EQ(gerador.Chamadas, 2);
    EXPECT_EQ(gerador.Nivel, TNivelDificuldade::ndDificil);
    EXPECT_EQ(jogo.Board()->Difficulty(), TNivelDificuldade::ndDificil);
    EXPECT_TRUE(janela.Perguntas.isEmpty());
}

// The question before a change replaces a board with unsaved moves, branch by branch.
TEST_F(Configuracao, QuestionBeforeAChange) {
    QTemporaryDir pasta;
    struct Caso {
        const char* nome;
        TResposta resposta;
        std::optional<QString> guardarEm;
        bool gera;
    };
    const Caso casos[] = {
        {"Cancelar", R::Cancelar, std::nullopt, false},
        {"Sim, save cancelled", R::Sim, std::nullopt, false},
        {"Sim and saved", R::Sim, pasta.filePath("antes.smd"), true},
        {"Não", R::Nao, std::nullopt, true},
    };
    for (const Caso& caso : casos) {
        Iniciar();
        gerador.Chamadas = 0;
        janela.Perguntas.clear();
        Escrever(2, 3, '2');
        janela.Respostas = {caso.resposta};
        janela.FicheiroGuardar = caso.guardarEm;
        Configurar([](TConfiguracao& c) {
            c.Tamanho = TTamanhoTabuleiro::tt6;
            c.Nivel = TNivelDificuldade::ndMedio;
            c.QuantidadeLote = 9;
        });
        EXPECT_EQ(janela.Perguntas, QStringList{CPerguntaConfigurar}) << caso.nome;
        EXPECT_EQ(jogo.FConfiguracao.QuantidadeLote, 9)
            << "batch settings stay whatever the answer";
        EXPECT_EQ(gerador.Chamadas, caso.gera ? 1 : 0) << caso.nome;
        EXPECT_EQ(jogo.FConfiguracao.Nivel,
                  caso.gera ? TNivelDificuldade::ndMedio : TNivelDificuldade::ndFacil)
            << caso.nome;
        EXPECT_EQ(jogo.FConfiguracao.Tamanho,
                  caso.gera ? TTamanhoTabuleiro::tt6 : TTamanhoTabuleiro::tt9)
            << caso.nome;
        EXPECT_EQ(jogo.Board()->Size(), caso.gera ? 6 : 9) << caso.nome;
        EXPECT_EQ(janela.LegendaTamanho,
                  caso.gera ? "Tamanho seleccionado: 6x6" : "Tamanho seleccionado: 9x9");
    }
}

TEST_F(Configuracao, FailedGenerationAfterASizeChangeGivesAnEmptyBoard) {
    gerador.Falhar = true;
    Configurar([](TConfiguracao& c) { c.Tamanho = TTamanhoTabuleiro::tt15; });
    ASSERT_EQ(jogo.Board()->Size(), 15);
    EXPECT_EQ(janela.LegendaTamanho, "Tamanho seleccionado: 15x15");
    EXPECT_EQ(janela.Informacao,
              QStringList{"Tamanho alterado para 15x15 — gere um puzzle novo quando quiser."});
    EXPECT_EQ(jogo.FConfiguracao.Tamanho, TTamanhoTabuleiro::tt15);
}

TEST_F(Configuracao, FailedGenerationAfterALevelChangeKeepsThePuzzle) {
    Escrever(2, 3, '2');
    jogo.GuardarValoresBase();
    gerador.Falhar = true;
    Configurar([](TConfiguracao& c) { c.Nivel = TNivelDificuldade::ndMuitoDificil; });
    EXPECT_EQ(jogo.Board()->Size(), 9);
    EXPECT_EQ(Celula(2, 3).Value, 2);
    EXPECT_EQ(janela.Informacao.size(), 3);
    EXPECT_EQ(jogo.FConfiguracao.Nivel, TNivelDificuldade::ndMuitoDificil);
}

// A game named at start-up opens as "Abrir" opens it, but with no question and no dialog,
// even over unsaved moves (there are none at start-up; the flow must not ask either way).
TEST_F(Ficheiros, AFileNamedAtStartUpOpensWithoutQuestionOrDialog) {
    auto board = CriarPuzzleFixo();
    TSomadoCell cell = board->GetCell(2, 3);
    cell.Value = 4;
    board->SetCell(2, 3, cell);
    board->SetDifficulty(TNivelDificuldade::ndMedio);
    // A name as a desktop hands it over: accented, with spaces, in a folder of its own.
    ASSERT_TRUE(QDir(pasta.path()).mkpath("Jogos guardados"));
    const QString caminho = Caminho("Jogos guardados/Pássaro ção 1.smd");
    GravarFicheiroPuzzle(caminho, *board);

    jogo.AbrirFicheiroIndicado(caminho);
    EXPECT_EQ(janela.Informacao, QStringList{"Puzzle aberto: Pássaro ção 1.smd"});
    EXPECT_EQ(Celula(2, 3).Value, 4);
    EXPECT_EQ(jogo.Board()->Difficulty(), TNivelDificuldade::ndMedio);
    EXPECT_EQ(jogo.GameState(), TGameState::gsPlaying);
    EXPECT_FALSE(jogo.HaJogadasPorGravar());
    EXPECT_EQ(std::pair(janela.Row, janela.Col), std::pair(1, 1));
    EXPECT_TRUE(janela.Perguntas.isEmpty());
    EXPECT_EQ(janela.DialogosAbrir, 0);
    EXPECT_TRUE(janela.Erros.isEmpty());
    EXPECT_EQ(gerador.Chamadas, 1) << "only the start-up generation";
}

TEST_F(Ficheiros, AFileNamedAtStartUpThatCannotBeReadLeavesTheFirstPuzzle) {
    Gravar(Caminho("estragado.smd"), "[SOMADO tamanho=5 dificuldade=0 score=0]\r\n");
    Gravar(Caminho("binario.smd"), QByteArray("\x7f"
                                              "ELF\0\0\xff\xfe",
                                              8));
    struct {
        QString caminho;
        QString mensagem; // the reader's own second line; empty: checked by name below
    } casos[] = {
        {Caminho("estragado.smd"), "Tamanho de tabuleiro fora do intervalo [6..25]: 5"},
        {Caminho("binario.smd"), {}},
        {Caminho("não existe.smd"), {}},
        {pasta.path(), {}}, // a folder
    };
    for (const auto& caso : casos) {
        Iniciar();
        const TSomadoBoard primeiro = *jogo.Board();
        jogo.AbrirFicheiroIndicado(caso.caminho);
        ASSERT_EQ(janela.Informacao.size(), 2) << caso.caminho.toStdString();
        EXPECT_EQ(janela.Informacao[0], "Não foi possível abrir este ficheiro.");
        if (caso.mensagem.isEmpty()) {
            EXPECT_FALSE(janela.Informacao[1].isEmpty());
        } else {
            EXPECT_EQ(janela.Informacao[1], caso.mensagem);
        }
        EXPECT_TRUE(janela.Erros.isEmpty()) << "a reading error is no general error";
        EXPECT_TRUE(janela.Perguntas.isEmpty());
        EXPECT_EQ(janela.DialogosAbrir, 0);
        // The first puzzle stays, ready to play.
        EXPECT_EQ(jogo.Board()->Size(), primeiro.Size());
        for (int32_t r = 0; r < primeiro.Size(); ++r)
            for (int32_t c = 0; c < primeiro.Size(); ++c)
                EXPECT_EQ(Celula(r, c).CellType, primeiro.GetCell(r, c).CellType);
        EXPECT_EQ(jogo.GameState(), TGameState::gsPlaying);
        EXPECT_FALSE(jogo.HaJogadasPorGravar());
    }
}

#ifndef _WIN32
// While "Guardar" asks about replacing the file, another program puts a link to another file,
// or another folder, in its place: the save must not follow the name into that file unasked.
TEST_F(Ficheiros, ANameThatLeadsElsewhereByTheTimeOfTheAnswerIsAskedAbout) {
    const std::pair<const char*, std::function<void(const QString&)>> trocas[] = {
        {"ligação para outro ficheiro",
         [this](const QString& AJogo) {
             ASSERT_TRUE(QFile::remove(AJogo));
             ASSERT_TRUE(QFile::link(Caminho("vitima.txt"), AJogo));
         }},
        {"pasta trocada por uma ligação",
         [this](const QString&) {
             ASSERT_TRUE(QDir(pasta.path()).rename(QStringLiteral("d"), QStringLiteral("d.velha")));
             ASSERT_TRUE(QDir(pasta.path()).mkdir(QStringLiteral("outra")));
             ASSERT_TRUE(QFile::copy(Caminho("d.velha/g.smd"), Caminho("outra/g.smd")));
             ASSERT_TRUE(QFile::link(Caminho("outra"), Caminho("d")));
         }},
    };
    for (const auto& [nome, trocar] : trocas) {
        SCOPED_TRACE(nome);
        QDir(pasta.path()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(Caminho("d")));
        const QString jogoEm = Caminho("d/g.smd");
        GravarFicheiroPuzzle(jogoEm, *CriarPuzzleFixo());
        QFile vitima(Caminho("vitima.txt"));
        ASSERT_TRUE(vitima.open(QIODevice::WriteOnly));
        vitima.write("o que outro programa lá tinha\n");
        vitima.close();
        janela.FicheiroAbrir = jogoEm;
        jogo.AbrirPuzzle();
        Escrever(2, 3, '2');

        janela.FicheiroGuardar = jogoEm;
        janela.Perguntas.clear();
        janela.DurantePergunta = [&, trocar = trocar] { trocar(jogoEm); };
        janela.Respostas = {R::Sim, R::Nao};
        EXPECT_FALSE(jogo.GuardarPuzzle());
        ASSERT_EQ(janela.Perguntas.size(), 2);
        EXPECT_TRUE(janela.Perguntas[1].contains(QStringLiteral("alterado por outro programa")));
        EXPECT_EQ(Conteudo(Caminho("vitima.txt")), QByteArray("o que outro programa lá tinha\n"));
        EXPECT_TRUE(jogo.HaJogadasPorGravar());
        janela.Respostas = {R::Nao};
        jogo.Limpar();
    }
}
#endif

// Two copies of the program on one file: the second save over it asks first, instead of
// silently dropping what the other copy saved.
TEST_F(Ficheiros, SavingOverAFileChangedBySomeoneElseAsksFirst) {
    const QString caminho = Caminho("partilhado.smd");
    const QString alterado =
        "O ficheiro \"partilhado.smd\" foi alterado por outro programa depois de aberto ou "
        "guardado aqui. Substituir mesmo assim?";
    const QString existe = "O ficheiro \"partilhado.smd\" já existe. Substituir?";
    GravarFicheiroPuzzle(caminho, *CriarPuzzleFixo());
    janela.FicheiroAbrir = caminho;
    jogo.AbrirPuzzle();
    Escrever(2, 3, '2');
    janela.FicheiroGuardar = caminho;

    // The other copy saves its own moves (a different text) meanwhile.
    auto outro = CriarPuzzleFixo();
    TSomadoCell cell = outro->GetCell(2, 1);
    cell.Value = 7;
    outro->SetCell(2, 1, cell);
    GravarFicheiroPuzzle(caminho, *outro);
    const QByteArray doOutro = Conteudo(caminho);

    janela.Respostas = {R::Sim, R::Nao};
    EXPECT_FALSE(jogo.GuardarPuzzle());
    EXPECT_EQ(janela.Perguntas, (QStringList{existe, alterado}));
    EXPECT_EQ(Conteudo(caminho), doOutro);
    EXPECT_TRUE(jogo.HaJogadasPorGravar());

    janela.Perguntas.clear();
    janela.Respostas = {R::Sim, R::Sim};
    EXPECT_TRUE(jogo.GuardarPuzzle());
    EXPECT_EQ(janela.Perguntas, (QStringList{existe, alterado}));
    EXPECT_EQ(LerFicheiroPuzzle(caminho)->GetCell(2, 3).Value, 2);

    // Unchanged since this save: only the usual question.
    Escrever(2, 4, '4');
    janela.Perguntas.clear();
    janela.Respostas = {R::Sim};
    EXPECT_TRUE(jogo.GuardarPuzzle());
    EXPECT_EQ(janela.Perguntas, QStringList{existe});
}

// Another program's write of the same size, with the modification time it had before (a
// write within the file system's clock tick), is still seen: the content differs.
TEST_F(Ficheiros, AChangeThatKeepsSizeAndTimeIsStillSeen) {
    const QString caminho = Caminho("partilhado.smd");
    GravarFicheiroPuzzle(caminho, *CriarPuzzleFixo());
    janela.FicheiroAbrir = caminho;
    jogo.AbrirPuzzle();
    const QDateTime antes = QFileInfo(caminho).lastModified();
    Escrever(2, 3, '2');

    QByteArray texto = Conteudo(caminho);
    const qsizetype linha = texto.indexOf("VALUE");
    ASSERT_GE(linha, 0);
    texto[texto.indexOf('0', linha)] = '5';
    QFile outro(caminho);
    ASSERT_TRUE(outro.open(QIODevice::ReadWrite));
    ASSERT_EQ(outro.write(texto), texto.size());
    ASSERT_TRUE(outro.flush());
    ASSERT_TRUE(outro.setFileTime(antes, QFileDevice::FileModificationTime));
    outro.close();
    ASSERT_EQ(QFileInfo(caminho).lastModified(), antes);

    janela.FicheiroGuardar = caminho;
    janela.Respostas = {R::Sim, R::Nao};
    EXPECT_FALSE(jogo.GuardarPuzzle());
    EXPECT_EQ(janela.Perguntas.size(), 2) << janela.Perguntas.join('|').toStdString();
    EXPECT_EQ(Conteudo(caminho), texto) << "the other program's write stays";
}

// After a failed save no earlier "Puzzle guardado" line stays as if it were this one's.
TEST_F(Ficheiros, AFailedSaveLeavesNoEarlierSuccessLine) {
    Escrever(2, 3, '2');
    janela.FicheiroGuardar = Caminho("jogo.smd");
    ASSERT_TRUE(jogo.GuardarPuzzle());
    ASSERT_EQ(janela.Informacao, QStringList{"Puzzle guardado: jogo.smd"});
    Escrever(2, 4, '4');
    janela.FicheiroGuardar = Caminho("nao-existe/jogo.smd");
    jogo.BitBtnGuardarClick();
    EXPECT_EQ(janela.Erros,
              QStringList{"Não foi possível gravar o ficheiro \"jogo.smd\": a pasta não existe"});
    EXPECT_EQ(janela.Informacao, QStringList{"O puzzle não foi guardado."});
}
