// "Exportar Puzzle" and "Exportar Lote" through the game, with a recording window.
#include "FixtureJogo.h"

#include "io/ProcessoFilho.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "generator/UnitSomadoGenerator.h"
#include "io/UnitSomadoFicheiro.h"

#include <set>

namespace {

using R = TResposta;

int Paginas(const QString& AFicheiro) {
#ifdef _WIN32
    // No poppler on Windows: the page objects are counted in the file itself. QPdfWriter keeps
    // them as plain dictionaries, one "/Type /Page" each ("/Pages" is the tree above them).
    QFile ficheiro(AFicheiro);
    if (!ficheiro.open(QIODevice::ReadOnly)) return -1;
    const QString texto = QString::fromLatin1(ficheiro.readAll());
    const auto paginas = QRegularExpression(R"(/Type\s*/Page(?![A-Za-z]))").globalMatch(texto);
    int n = 0;
    for (auto i = paginas; i.hasNext(); i.next())
        ++n;
    return n > 0 ? n : -1;
#else
    QProcess pdfinfo;
    pdfinfo.start("pdfinfo", {AFicheiro});
    pdfinfo.waitForFinished();
    const auto m = QRegularExpression(R"(Pages:\s+(\d+))")
                       .match(QString::fromUtf8(pdfinfo.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
#endif
}

class Exportar : public Jogo {
protected:
    void SetUp() override {
        Jogo::SetUp();
        ASSERT_TRUE(pasta.isValid());
        Iniciar();
    }
    QString Caminho(const char* ANome) const { return pasta.filePath(ANome); }
    QTemporaryDir pasta;
};

} // namespace

TEST(NivelProgressivo, LevelsClimbInBlocks) {
    using N = TNivelDificuldade;
    const struct {
        int32_t n;
        std::array<int, 4> porNivel;
    } casos[] = {{1, {1, 0, 0, 0}}, {2, {1, 1, 0, 0}},  {4, {1, 1, 1, 1}},
                 {5, {2, 1, 1, 1}}, {10, {3, 3, 2, 2}}, {40, {10, 10, 10, 10}}};
    for (const auto& caso : casos) {
        std::array<int, 4> contagem{};
        int anterior = 0;
        for (int32_t k = 0; k < caso.n; ++k) {
            const int nivel = static_cast<int>(NivelProgressivo(k, caso.n));
            EXPECT_GE(nivel, anterior) << "levels never go down";
            anterior = nivel;
            ++contagem[static_cast<size_t>(nivel)];
        }
        EXPECT_EQ(contagem, caso.porNivel) << caso.n;
    }
    EXPECT_EQ(NivelProgressivo(7, 4), N::ndMuitoDificil);
}

TEST(CodigoLote, ModeOrLevelCodes) {
    using N = TNivelDificuldade;
    using M = TModoDificuldadeLote;
    EXPECT_EQ(CodigoLote(M::mdlProgressivo, N::ndDificil), "P");
    EXPECT_EQ(CodigoLote(M::mdlFixa, N::ndFacil), "F");
    EXPECT_EQ(CodigoLote(M::mdlFixa, N::ndMedio), "M");
    EXPECT_EQ(CodigoLote(M::mdlFixa, N::ndDificil), "D");
    EXPECT_EQ(CodigoLote(M::mdlFixa, N::ndMuitoDificil), "MD");
}

TEST_F(Exportar, SinglePuzzleExport) {
    janela.FicheiroPdf = Caminho("um.pdf");
    jogo.BitBtnExportarPuzzleClick();
    EXPECT_EQ(Paginas(Caminho("um.pdf")), 2);
    EXPECT_EQ(janela.Informacao, QStringList{"Puzzle exportado: um.pdf"});

    // An existing file: "Não" leaves it alone.
    janela.Respostas = {R::Nao};
    QFile::remove(Caminho("um.pdf"));
    QFile antigo(Caminho("um.pdf"));
    ASSERT_TRUE(antigo.open(QIODevice::WriteOnly));
    antigo.write("velho");
    antigo.close();
    jogo.BitBtnExportarPuzzleClick();
    EXPECT_EQ(janela.Perguntas.last(), "O ficheiro \"um.pdf\" já existe. Substituir?");
    ASSERT_TRUE(antigo.open(QIODevice::ReadOnly));
    EXPECT_EQ(antigo.readAll(), "velho");

    // A cancelled dialog does nothing.
    janela.FicheiroPdf.reset();
    janela.Informacao = QStringList{"antes"};
    jogo.BitBtnExportarPuzzleClick();
    EXPECT_EQ(janela.Informacao, QStringList{"antes"});
}

TEST_F(Exportar, DefaultProgressiveBatchOfForty) {
    janela.FicheiroLotePdf = Caminho("Somado_P_9x9_40.pdf");
    jogo.BitBtnExportarLoteClick();
    janela.EsperarTrabalho();
    EXPECT_EQ(janela.NomeProposto, "Somado_P_9x9_40");
    EXPECT_EQ(Paginas(Caminho("Somado_P_9x9_40.pdf")), 52);
    EXPECT_EQ(janela.Informacao, QStringList{"Lote exportado: 40 puzzles em Somado_P_9x9_40.pdf"});
    EXPECT_GE(janela.EventosProcessados, 1);
    EXPECT_FALSE(janela.EmLote);
    EXPECT_EQ(gerador.Limite, 60000);
    EXPECT_EQ(gerador.Chamadas, 1 + 40);
    ASSERT_FALSE(janela.TodaAInformacao.isEmpty());
    EXPECT_EQ(janela.TodaAInformacao.first(),
              "A gerar puzzle 1 de 40, Fácil (tentativa 1 de 5)...");
    // Whenever the window looks, the line counts the finished puzzles and names the level of
    // the first one still being made.
    const QRegularExpression progresso(
        R"(^A gerar puzzle (\d+) de 40, (Fácil|Médio|Difícil|Muito Difícil) \(tentativa 1 de 5\)\.\.\.$)");
    int anterior = 0;
    for (const QString& linha : janela.TodaAInformacao) {
        const auto m = progresso.match(linha);
        ASSERT_TRUE(m.hasMatch()) << linha.toStdString();
        EXPECT_GE(m.captured(1).toInt(), anterior) << "finished puzzles never go down";
        anterior = m.captured(1).toInt();
    }
    EXPECT_TRUE(janela.Perguntas.isEmpty()) << "a progressive batch is never warned about";
}

TEST_F(Exportar, FailedPuzzlesAreRetriedThenSkipped) {
    jogo.FConfiguracao.ModoLote = TModoDificuldadeLote::mdlFixa;
    jogo.FConfiguracao.TamanhoLote = TTamanhoTabuleiro::tt9;
    jogo.FConfiguracao.QuantidadeLote = 4;
    // One worker takes the puzzles in order: puzzles 2 and 3 never come out; the others do at
    // the first attempt.
    jogo.FThreadsLote = 1;
    int chamada = 0;
    gerador.Durante = [&] {
        ++chamada;
        gerador.Falhar = chamada >= 2 && chamada <= 11;
    };
    janela.FicheiroLotePdf = Caminho("lote.pdf");
    jogo.BitBtnExportarLoteClick();
    janela.EsperarTrabalho();
    EXPECT_EQ(chamada, 1 + 5 + 5 + 1);
    EXPECT_EQ(janela.Informacao, QStringList{"Lote exportado: 2 puzzles (2 falharam) em lote.pdf"});
    // Cover, rules, section, 2 puzzle pages, example, section, 1 solutions page.
    EXPECT_EQ(Paginas(Caminho("lote.pdf")), 8);
}

TEST_F(Exportar, NothingGeneratedWritesNothing) {
    QFile existente(Caminho("lote.pdf"));
    ASSERT_TRUE(existente.open(QIODevice::WriteOnly));
    existente.write("velho");
    existente.close();
    jogo.FConfiguracao.QuantidadeLote = 3;
    gerador.Falhar = true;
    janela.Respostas = {R::Sim}; // replace it
    janela.FicheiroLotePdf = Caminho("lote.pdf");
    jogo.BitBtnExportarLoteClick();
    janela.EsperarTrabalho();
    EXPECT_EQ(janela.Informacao,
              QStringList{"Não foi possível gerar nenhum puzzle com esta configuração — PDF não "
                          "criado."});
    ASSERT_TRUE(existente.open(QIODevice::ReadOnly));
    EXPECT_EQ(existente.readAll(), "velho");
    EXPECT_FALSE(janela.EmLote);
    EXPECT_EQ(gerador.Chamadas, 1 + 3 * 5);
}

// The batch asks the save's question before replacing a file; "Não" stops it before anything
// is generated, and the old file keeps its bytes.
TEST_F(Exportar, ABatchAsksBeforeReplacingAFile) {
    QFile existente(Caminho("lote.pdf"));
    ASSERT_TRUE(existente.open(QIODevice::WriteOnly));
    existente.write("velho");
    existente.close();
    janela.Informacao = QStringList{"antes"};
    janela.Respostas = {R::Nao};
    janela.FicheiroLotePdf = Caminho("lote.pdf");
    jogo.BitBtnExportarLoteClick();
    janela.EsperarTrabalho();
    EXPECT_EQ(janela.Perguntas, QStringList{"O ficheiro \"lote.pdf\" já existe. Substituir?"});
    EXPECT_EQ(gerador.Chamadas, 1) << "only the start-up generation";
    EXPECT_EQ(janela.Lotes, 0);
    EXPECT_EQ(janela.Informacao, QStringList{"antes"});
    ASSERT_TRUE(existente.open(QIODevice::ReadOnly));
    EXPECT_EQ(existente.readAll(), "velho");
}

TEST_F(Exportar, WarningForLevelsThatMayNotGenerate) {
    using T = TTamanhoTabuleiro;
    using N = TNivelDificuldade;
    const struct {
        T tamanho;
        N nivel;
        bool avisa;
    } casos[] = {{T::tt20, N::ndFacil, true},
                 {T::tt20, N::ndDificil, false},
                 {T::tt9, N::ndMuitoDificil, false}};
    for (const auto& caso : casos) {
        jogo.FConfiguracao.ModoLote = TModoDificuldadeLote::mdlFixa;
        jogo.FConfiguracao.TamanhoLote = caso.tamanho;
        jogo.FConfiguracao.DificuldadeLote = caso.nivel;
        janela.Perguntas.clear();
        janela.Respostas = {R::Nao};
        janela.FicheiroLotePdf = Caminho("aviso.pdf");
        gerador.Chamadas = 0;
        gerador.Falhar = true; // nothing to write; only the question matters here
        jogo.FConfiguracao.QuantidadeLote = 1;
        jogo.BitBtnExportarLoteClick();
        janela.EsperarTrabalho();
        EXPECT_EQ(!janela.Perguntas.isEmpty(), caso.avisa);
        EXPECT_EQ(gerador.Chamadas, caso.avisa ? 0 : 5) << "a declined warning stops it";
        if (caso.avisa) {
            EXPECT_EQ(janela.Perguntas.first(),
                      "A combinação 20x20 / Fácil não é conhecida por gerar sempre com sucesso.\r\n"
                      "Isto pode demorar bastante, e alguns puzzles podem não sair. Avançar mesmo "
                      "assim?");
        }
        janela.Respostas.clear();
    }
}

TEST_F(Exportar, AnErrorInsideTheBatchGivesTheWindowBack) {
    gerador.Lancar = true;
    janela.FicheiroLotePdf = Caminho("erro.pdf");
    EXPECT_NO_THROW(jogo.BitBtnExportarLoteClick());
    janela.EsperarTrabalho();
    EXPECT_EQ(janela.Erros, QStringList{"falha interna"}) << "the general error report";
    EXPECT_FALSE(janela.EmLote);
    EXPECT_FALSE(jogo.LoteEmCurso());
    EXPECT_FALSE(QFile::exists(Caminho("erro.pdf")));
    EXPECT_EQ(janela.Informacao, QStringList{"Não foi possível exportar o lote — PDF não criado."})
        << "no progress line stays behind";
}

// A place that cannot take the file is found out before the first puzzle is generated, with
// the message the save would give at the end.
TEST_F(Exportar, ABatchToAPlaceThatCannotBeWrittenFailsBeforeGenerating) {
    janela.FicheiroLotePdf = Caminho("nao-existe/lote.pdf");
    janela.Informacao = QStringList{"antes"};
    EXPECT_NO_THROW(jogo.BitBtnExportarLoteClick());
    janela.EsperarTrabalho();
    EXPECT_EQ(gerador.Chamadas, 1) << "only the start-up generation";
    EXPECT_EQ(janela.Erros, QStringList{"Não foi possível gravar o ficheiro \"lote.pdf\": a "
                                        "pasta não existe"});
    EXPECT_EQ(janela.Lotes, 0);
    EXPECT_FALSE(jogo.LoteEmCurso());
}

// Settings changed while the batch runs do not reach it: the cover, the pages and the result
// line all tell of the batch that was started.
TEST_F(Exportar, ABatchWorksOnTheSettingsItStartedWith) {
    jogo.FConfiguracao.ModoLote = TModoDificuldadeLote::mdlFixa;
    jogo.FConfiguracao.DificuldadeLote = TNivelDificuldade::ndMedio;
    jogo.FConfiguracao.QuantidadeLote = 3;
    std::vector<std::pair<TTamanhoTabuleiro, TNivelDificuldade>> pedidos;
    gerador.Durante = [&] {
        pedidos.emplace_back(gerador.Tamanho, gerador.Nivel);
        jogo.FConfiguracao.TamanhoLote = TTamanhoTabuleiro::tt20;
        jogo.FConfiguracao.DificuldadeLote = TNivelDificuldade::ndDificil;
        jogo.FConfiguracao.QuantidadeLote = 9;
        jogo.FConfiguracao.ModoLote = TModoDificuldadeLote::mdlProgressivo;
    };
    janela.FicheiroLotePdf = Caminho("lote.pdf");
    jogo.BitBtnExportarLoteClick();
    janela.EsperarTrabalho();
    using P = std::pair<TTamanhoTabuleiro, TNivelDificuldade>;
    EXPECT_EQ(pedidos, std::vector<P>(3, P(TTamanhoTabuleiro::tt9, TNivelDificuldade::ndMedio)));
    EXPECT_EQ(janela.Informacao, QStringList{"Lote exportado: 3 puzzles em lote.pdf"});
    for (const QString& linha : janela.TodaAInformacao)
        EXPECT_TRUE(linha.contains(" de 3, Médio (tentativa 1 de 5)...")) << linha.toStdString();
    // Cover, rules, section, 3 puzzle pages, section, 1 solutions page.
    EXPECT_EQ(Paginas(Caminho("lote.pdf")), 8);
}

// While the batch lets events through, the commands that would change the settings or the
// board or start other long work do nothing; saving and exporting the current puzzle still
// work.
TEST_F(Exportar, CommandsThatWouldDisturbABatchAreRefusedWhileItRuns) {
    jogo.FConfiguracao.QuantidadeLote = 2;
    Escrever(2, 3, '2');
    janela.FicheiroLotePdf = Caminho("lote.pdf");
    janela.FicheiroAbrir = Caminho("lote.pdf");
    janela.FicheiroGuardar = Caminho("durante.smd");
    // One worker, held inside its first puzzle while the commands are tried.
    jogo.FThreadsLote = 1;
    std::atomic<bool> dentro{false}, comandosFeitos{false};
    gerador.Durante = [&] {
        dentro = true;
        while (!comandosFeitos)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    int geradosAntes = 0;
    bool comandosTentados = false;
    janela.DuranteEventos = [&] {
        if (comandosTentados) return;
        comandosTentados = true;
        while (!dentro)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_TRUE(jogo.LoteEmCurso());
        geradosAntes = gerador.Chamadas;
        janela.Editar = [](TConfiguracao& c) {
            c.Tamanho = TTamanhoTabuleiro::tt6;
            return true;
        };
        jogo.BitBtnConfigurarClick();
        jogo.BitBtnGerarClick();
        EXPECT_FALSE(jogo.GerarNovoPuzzle());
        jogo.BitBtnAbrirClick();
        jogo.BitBtnExportarLoteClick();
        EXPECT_EQ(gerador.Chamadas, geradosAntes);
        EXPECT_FALSE(janela.Mostrada.has_value()) << "no configuration dialog";
        EXPECT_EQ(janela.DialogosAbrir, 0);
        EXPECT_TRUE(janela.Perguntas.isEmpty());
        jogo.BitBtnGuardarClick();
        comandosFeitos = true;
    };
    jogo.BitBtnExportarLoteClick();
    janela.EsperarTrabalho();
    EXPECT_TRUE(comandosTentados);
    EXPECT_EQ(janela.Lotes, 1) << "no second batch";
    EXPECT_EQ(gerador.Chamadas, geradosAntes + 1);
    EXPECT_EQ(jogo.Board()->Size(), 9);
    EXPECT_EQ(jogo.FConfiguracao.Tamanho, TTamanhoTabuleiro::tt9);
    EXPECT_TRUE(QFile::exists(Caminho("durante.smd")));
    EXPECT_EQ(janela.Informacao, QStringList{"Lote exportado: 2 puzzles em lote.pdf"});
    EXPECT_FALSE(jogo.LoteEmCurso());
}

// Closing the window during a batch stops it before the next attempt; nothing is written, the
// information box says so, and then the window closes the usual way, asking about unsaved
// moves.
TEST_F(Exportar, ClosingDuringABatchStopsItAndThenAsksAsUsual) {
    Escrever(2, 3, '2');
    QFile antigo(Caminho("lote.pdf"));
    ASSERT_TRUE(antigo.open(QIODevice::WriteOnly));
    antigo.write("velho");
    antigo.close();
    janela.Respostas = {R::Sim}; // replace the old file
    janela.FicheiroLotePdf = Caminho("lote.pdf");
    // Two workers, each in a puzzle that takes until it is told to stop.
    jogo.FThreadsLote = 2;
    gerador.AtePararem = true;
    std::vector<bool> respostasAoFecho;
    janela.DuranteEventos = [&] {
        if (respostasAoFecho.empty() && gerador.Chamadas == 1 + 2)
            respostasAoFecho.push_back(jogo.PodeFechar());
    };
    janela.AoFechar = [&] {
        janela.Respostas = {R::Nao};
        respostasAoFecho.push_back(jogo.PodeFechar());
    };
    jogo.BitBtnExportarLoteClick();
    janela.EsperarTrabalho();

    EXPECT_EQ(gerador.Chamadas, 1 + 2) << "no other puzzle or attempt starts";
    EXPECT_EQ(respostasAoFecho, (std::vector<bool>{false, true}))
        << "refused during the batch, allowed after the question";
    EXPECT_EQ(janela.Informacao, QStringList{"Exportação do lote interrompida."});
    EXPECT_EQ(janela.PedidosDeFecho, 1);
    EXPECT_EQ(janela.Perguntas.last(), "Há jogadas por gravar. Guardar antes de sair?");
    EXPECT_FALSE(janela.EmLote);
    ASSERT_TRUE(antigo.open(QIODevice::ReadOnly));
    EXPECT_EQ(antigo.readAll(), "velho");
    // Windows replaces no file that is open.
    antigo.close();
    EXPECT_EQ(QDir(pasta.path()).entryList(QDir::Files), QStringList{"lote.pdf"});

    // The next batch runs to its end again.
    gerador.AtePararem = false;
    janela.AoFechar = nullptr;
    janela.DuranteEventos = nullptr;
    jogo.FConfiguracao.QuantidadeLote = 1;
    janela.Respostas = {R::Sim};
    jogo.BitBtnExportarLoteClick();
    janela.EsperarTrabalho();
    EXPECT_EQ(janela.Informacao, QStringList{"Lote exportado: 1 puzzles em lote.pdf"});
}

// A PDF that does not fit (the file size limit stands in for a full disk) is reported, and the
// old file is left as it was, with no temporary file beside it.
TEST_F(Exportar, APdfThatDoesNotFitIsReportedAndTheOldFileStays) {
    QFile antigo(Caminho("um.pdf"));
    ASSERT_TRUE(antigo.open(QIODevice::WriteOnly));
    antigo.write("velho");
    antigo.close();
    SOMADO_PRECISA_DE_LIMITES_NO_FILHO();
    TOpcoesFilho opcoes;
    opcoes.LimiteFicheiro = 4096; // a puzzle's PDF is larger, with its fonts
    const auto resultado = NoFilho(
        [&] {
            janela.FicheiroPdf = Caminho("um.pdf");
            janela.Respostas = {R::Sim};
            janela.Informacao = QStringList{"antes"};
            jogo.BitBtnExportarPuzzleClick();
            return (janela.Erros.join('|') + "|" + janela.Informacao.join('|')).toStdString();
        },
        opcoes);
    EXPECT_EQ(resultado, "Não foi possível gravar o ficheiro \"um.pdf\": o ficheiro excede o "
                         "tamanho máximo permitido|antes");
    ASSERT_TRUE(antigo.open(QIODevice::ReadOnly));
    EXPECT_EQ(antigo.readAll(), "velho");
    EXPECT_EQ(QDir(pasta.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"um.pdf"});
}

namespace {

// The .smd files of a seeded batch of the real generator, made with AThreads workers, saved
// to a folder of their own and read back.
std::vector<QByteArray> FicheirosDoLote(uint64_t ASemente, int32_t AThreads,
                                        TTamanhoTabuleiro ATamanho, int32_t AQuantos) {
    TPedidoLote pedido;
    pedido.Tamanho = ATamanho;
    for (int32_t k = 0; k < AQuantos; ++k)
        pedido.Niveis.push_back(NivelProgressivo(k, AQuantos));
    pedido.Semente = ASemente;
    pedido.Threads = AThreads;
    TGeracaoLote geracao(GerarPuzzleComAleatorio, std::move(pedido));
    QTemporaryDir pasta;
    std::vector<QByteArray> ficheiros;
    int32_t k = 0;
    for (const std::unique_ptr<TSomadoBoard>& board : geracao.Resultados()) {
        if (!board) {
            ficheiros.emplace_back("falhou");
            continue;
        }
        EXPECT_EQ(board->Difficulty(), NivelProgressivo(k, AQuantos)) << "the level of its place";
        const QString caminho = pasta.filePath(QStringLiteral("p%1.smd").arg(k++));
        GravarFicheiroPuzzle(caminho, *board);
        QFile ficheiro(caminho);
        EXPECT_TRUE(ficheiro.open(QIODevice::ReadOnly));
        ficheiros.push_back(ficheiro.readAll());
    }
    return ficheiros;
}

} // namespace

// Each puzzle draws from a stream of its own, made from the batch's seed and its place in the
// book: the files are the same whatever the number of workers and whichever finishes first.
TEST(GeracaoLote, TheSameSeedGivesTheSameFilesWithOneThreadOrMany) {
    for (const auto tamanho : {TTamanhoTabuleiro::tt6, TTamanhoTabuleiro::tt9}) {
        const std::vector<QByteArray> umThread = FicheirosDoLote(20261211, 1, tamanho, 8);
        ASSERT_EQ(umThread.size(), 8u);
        EXPECT_EQ(std::count(umThread.begin(), umThread.end(), QByteArray("falhou")), 0);
        for (const int32_t threads : {2, 3, 8})
            EXPECT_EQ(FicheirosDoLote(20261211, threads, tamanho, 8), umThread) << threads;
        // Another seed is another book, and no two puzzles of one book are alike.
        EXPECT_NE(FicheirosDoLote(20261212, 2, tamanho, 8), umThread);
        EXPECT_EQ(std::set<QByteArray>(umThread.begin(), umThread.end()).size(), umThread.size());
    }
}

// A stop reaches the workers inside their generations: a batch of large boards that is stopped
// at once ends with nothing, whatever its budget.
TEST(GeracaoLote, AStopEndsTheWorkersInsideTheirPuzzles) {
    TPedidoLote pedido;
    pedido.Tamanho = TTamanhoTabuleiro::tt15;
    pedido.Niveis.assign(50, TNivelDificuldade::ndMuitoDificil);
    pedido.TempoLimiteMs = 0; // no budget: only the stop ends it
    pedido.Semente = 7;
    pedido.Threads = 2;
    TGeracaoLote geracao(GerarPuzzleComAleatorio, std::move(pedido));
    geracao.Esperar(std::chrono::milliseconds(50));
    // Some of these puzzles take a few milliseconds, others minutes: whatever finished before
    // the stop may stand.
    const int32_t antes = geracao.Progresso().Concluidos;
    geracao.Parar();
    while (!geracao.Terminada())
        geracao.Esperar(std::chrono::milliseconds(20));
    // The two under way end with no board, or with one they were just finishing.
    EXPECT_LE(geracao.Progresso().Concluidos, antes + 2) << "no puzzle starts after the stop";
    int feitos = 0;
    for (const auto& board : geracao.Resultados())
        feitos += board ? 1 : 0;
    EXPECT_LE(feitos, antes + 2);
}

// An error in a worker stops the others and comes out where the results are taken.
TEST(GeracaoLote, AWorkersErrorReachesTheCaller) {
    std::atomic<int> chamadas{0};
    TPedidoLote pedido;
    pedido.Niveis.assign(20, TNivelDificuldade::ndFacil);
    pedido.Threads = 3;
    TGeracaoLote geracao(
        [&](TTamanhoTabuleiro, TNivelDificuldade, int64_t, TAleatorio&,
            const std::atomic<bool>&) -> std::unique_ptr<TSomadoBoard> {
            if (++chamadas == 4) throw ESomadoError("avaria");
            return CriarPuzzleFixo();
        },
        std::move(pedido));
    EXPECT_THROW(geracao.Resultados(), ESomadoError);
}

// A dialog runs the window's loop under the command that opened it: a new puzzle finished
// meanwhile waits until the command is done, so the board the command works on stays.
TEST_F(Exportar, ANewPuzzleFinishedWhileADialogIsOpenWaitsForTheCommand) {
    Escrever(2, 3, '5');
    jogo.GuardarValoresBase();
    ASSERT_TRUE(jogo.GerarNovoPuzzle());
    janela.FicheiroPdf = Caminho("puzzle.pdf");
    bool durante = false;
    janela.DuranteDialogoPdf = [&] {
        durante = true;
        janela.CorrerPendentes(std::chrono::milliseconds(300));
        EXPECT_EQ(jogo.Ocupacao(), TOcupacao::AGerar) << "the news waits";
        EXPECT_EQ(Celula(2, 3).Value, 5) << "the board under the dialog stays";
    };
    jogo.BitBtnExportarPuzzleClick();
    EXPECT_TRUE(durante);
    EXPECT_TRUE(QFile::exists(Caminho("puzzle.pdf")));
    EXPECT_EQ(jogo.Ocupacao(), TOcupacao::Livre) << "handled once the command ended";
    EXPECT_EQ(Celula(2, 3).Value, 0) << "the new puzzle is in place";
    EXPECT_TRUE(janela.Informacao.constFirst().startsWith("Puzzle gerado: 9x9"));
}

// The file a running batch will write is taken: neither "Exportar Puzzle" nor "Guardar" may
// write it meanwhile (the book would silently replace it), whatever the spelling of the path;
// another name still works.
TEST_F(Exportar, TheBatchsFileIsRefusedToOtherCommandsWhileItRuns) {
    jogo.FConfiguracao.QuantidadeLote = 1;
    jogo.FThreadsLote = 1;
    janela.FicheiroLotePdf = Caminho("b5.pdf");
    std::atomic<bool> dentro{false}, feito{false};
    gerador.Durante = [&] {
        dentro = true;
        while (!feito)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    const QString mensagem = QStringLiteral(
        "O lote em curso vai gravar \"b5.pdf\" quando terminar: escolha outro nome.");
    bool tentado = false;
    janela.DuranteEventos = [&] {
        if (tentado) return;
        tentado = true;
        while (!dentro)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        for (const QString& mesmo : {Caminho("b5.pdf"), pasta.path() + "/./sub/../b5.pdf"}) {
            janela.FicheiroPdf = mesmo;
            jogo.BitBtnExportarPuzzleClick();
            janela.FicheiroGuardar = mesmo;
            jogo.BitBtnGuardarClick();
        }
        EXPECT_EQ(janela.Erros, QStringList(4, mensagem));
        EXPECT_FALSE(QFile::exists(Caminho("b5.pdf"))) << "nothing written under the book's name";
        janela.FicheiroPdf = Caminho("outro.pdf");
        jogo.BitBtnExportarPuzzleClick();
        EXPECT_TRUE(QFile::exists(Caminho("outro.pdf")));
        feito = true;
    };
    QDir(pasta.path()).mkdir("sub");
    jogo.BitBtnExportarLoteClick();
    janela.EsperarTrabalho();
    EXPECT_TRUE(tentado);
    EXPECT_EQ(janela.Informacao, QStringList{"Lote exportado: 1 puzzles em b5.pdf"});
    EXPECT_EQ(Paginas(Caminho("b5.pdf")), 6) << "the book, not the single puzzle";
    // Once the batch has ended the name is free again.
    janela.Erros.clear();
    janela.FicheiroPdf = Caminho("b5.pdf");
    janela.Respostas = {TResposta::Sim};
    jogo.BitBtnExportarPuzzleClick();
    EXPECT_TRUE(janela.Erros.isEmpty());
}
