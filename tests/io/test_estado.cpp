// The game's own section after the board: the pencil marks and the time. What the writer puts
// there must come back; damage to one part must cost only that part, and say so.
#include "ApoioSmd.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int32_t CLado = 7;
constexpr int64_t CTempo = 4321000;

const QString CAvisoNotas =
    QStringLiteral("As notas guardadas não puderam ser lidas e foram deixadas de fora.");
const QString CAvisoTempo =
    QStringLiteral("O tempo de jogo guardado não pôde ser lido e recomeça do zero.");

// Every cell its own marks, from none to all nine, so that a row read into the wrong place
// shows.
std::vector<uint16_t> NotasDeExemplo() {
    std::vector<uint16_t> notas(static_cast<size_t>(CLado) * CLado);
    for (size_t i = 0; i < notas.size(); ++i)
        notas[i] = static_cast<uint16_t>((i * 37) << 1) & CTodasAsNotas;
    return notas;
}

const TSomadoBoard& Tabuleiro() {
    static const TSomadoBoard CBoard = TabuleiroGerado(CLado, TNivelDificuldade::ndMedio, 77);
    return CBoard;
}

QByteArray TextoComSeccao(const QStringList& ASeccao, const char* AFimDeLinha = "\r\n") {
    QByteArray texto = JuntarLinhas(LinhasDoPuzzle(Tabuleiro()), AFimDeLinha);
    if (!ASeccao.isEmpty()) texto += JuntarLinhas(ASeccao, AFimDeLinha);
    return texto;
}

} // namespace

// Earlier versions take a time up to a thousand hours and drop the whole section past it: the
// limit may never grow, or files saved now would lose their marks there.
TEST(ioEstadoDoJogo, TheTimeLimitIsTheOneEarlierVersionsRead) {
    EXPECT_EQ(CTempoMaximoMs, int64_t{1000} * 60 * 60 * 1000);
}

TEST(ioEstadoDoJogo, TheTimeIsWrittenWithinTheLimitAndReadsBack) {
    struct TCaso {
        const char* Nome;
        int64_t Tempo;
        int64_t Escrito;
    };
    const TCaso casos[] = {
        {"zero", 0, 0},
        {"a game's time", CTempo, CTempo},
        {"just under the limit", CTempoMaximoMs - 1, CTempoMaximoMs - 1},
        {"the limit", CTempoMaximoMs, CTempoMaximoMs},
        {"just past the limit", CTempoMaximoMs + 1, CTempoMaximoMs},
        {"past the limit, as a game left running wrote it", 3600036828, CTempoMaximoMs},
        {"the largest time", INT64_MAX, CTempoMaximoMs},
        {"negative", -5, 0},
        {"the smallest time", INT64_MIN, 0},
    };
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.Nome);
        const TEstadoDoJogo estado{NotasDeExemplo(), caso.Tempo, {}};
        EXPECT_EQ(LinhasDoEstado(estado, CLado).last().toStdString(),
                  "TEMPO=" + std::to_string(caso.Escrito));
        const TEstadoDoJogo lido = LerEstadoDoTexto(TextoDoJogo(Tabuleiro(), estado), CLado);
        EXPECT_EQ(lido.TempoMs, caso.Escrito);
        EXPECT_EQ(lido.Notas, NotasDeExemplo());
        EXPECT_EQ(lido.Avisos, QStringList());
    }
}

// Whatever the section holds, the board's text before it is what a reader that knows no
// section reads: byte for byte the puzzle's text, and the same board.
TEST(ioEstadoDoJogo, TheBoardPartIsUnchangedForAnOlderReader) {
    struct TCaso {
        const char* Nome;
        TEstadoDoJogo Estado;
    };
    const std::vector<TCaso> casos = {
        {"no marks, no time", {}},
        {"marks and time", {NotasDeExemplo(), CTempo, {}}},
        {"a time past the limit", {NotasDeExemplo(), INT64_MAX, {}}},
        {"a negative time", {{}, -1, {}}},
        {"marks outside the nine digits", {std::vector<uint16_t>(CLado * CLado, 0xFFFF), 1, {}}},
        {"warnings, which are never written", {{}, 0, {CAvisoNotas, CAvisoTempo}}},
    };
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.Nome);
        const QByteArray texto = TextoDoJogo(Tabuleiro(), caso.Estado);
        const QByteArray puzzle = TextoDoPuzzle(Tabuleiro());
        EXPECT_EQ(texto.left(puzzle.size()), puzzle);
        EXPECT_EQ(texto.sliced(puzzle.size()),
                  TextoComSeccao(LinhasDoEstado(caso.Estado, CLado)).sliced(puzzle.size()));
        EsperarMesmoTabuleiro(Tabuleiro(), *LerPuzzleDoTexto(texto));
    }
    // The example file as written by hand, followed by a section.
    const TEstadoDoJogo estado{std::vector<uint16_t>(81, 0x0C), CTempo, {}};
    EXPECT_TRUE(TextoDoJogo(TabuleiroDoExemplo(), estado).startsWith(BytesDoExemplo()));
}

namespace {

// What the reader must give for a section damaged one way.
struct TDano {
    const char* Nome;
    // From the section as written (title, CLado rows, time line) to the one in the file.
    std::function<QStringList(QStringList)> Danificar;
    bool ComNotas;
    bool ComTempo;
    QStringList Avisos;
    const char* FimDeLinha = "\r\n";
};

void PrintTo(const TDano& ADano, std::ostream* ASaida) {
    *ASaida << ADano.Nome;
}

std::function<QStringList(QStringList)> Trocar(qsizetype AIndice, const char* ALinha) {
    return [AIndice, ALinha](QStringList ASeccao) {
        ASeccao[AIndice] = QString::fromUtf8(ALinha);
        return ASeccao;
    };
}

std::function<QStringList(QStringList)> Tirar(qsizetype AIndice) {
    return [AIndice](QStringList ASeccao) {
        ASeccao.removeAt(AIndice < 0 ? ASeccao.size() + AIndice : AIndice);
        return ASeccao;
    };
}

constexpr qsizetype CLinhaTempo = CLado + 1;

const std::vector<TDano>& Danos() {
    const QStringList nenhum;
    const QStringList notas{CAvisoNotas};
    const QStringList tempo{CAvisoTempo};
    const QStringList ambos{CAvisoNotas, CAvisoTempo};
    static const std::vector<TDano> CDanos = {
        {"Intact", [](QStringList s) { return s; }, true, true, nenhum},
        {"IntactWithLfLineEnds", [](QStringList s) { return s; }, true, true, nenhum, "\n"},
        {"IntactWithEmptyLinesAfter",
         [](QStringList s) {
             return s << ""
                      << "";
         },
         true, true, nenhum},
        {"NoSection", [](QStringList) { return QStringList(); }, false, false, nenhum},
        {"TimePastTheLimit", Trocar(CLinhaTempo, "TEMPO=3600036828"), true, false, tempo},
        {"TimeOneTooMany", Trocar(CLinhaTempo, "TEMPO=3600000001"), true, false, tempo},
        {"TimeNegative", Trocar(CLinhaTempo, "TEMPO=-5"), true, false, tempo},
        {"TimeWithASign", Trocar(CLinhaTempo, "TEMPO=+5"), true, false, tempo},
        {"TimeWithABlank", Trocar(CLinhaTempo, "TEMPO= 5"), true, false, tempo},
        {"TimeNotANumber", Trocar(CLinhaTempo, "TEMPO=x"), true, false, tempo},
        {"TimeEmpty", Trocar(CLinhaTempo, "TEMPO="), true, false, tempo},
        {"TimeLineLost", Tirar(CLinhaTempo), true, false, tempo},
        {"TimeLineCutShort", Trocar(CLinhaTempo, "TEM"), true, false, tempo},
        {"RowTooShort", Trocar(3, "0 0 0"), false, true, notas},
        {"MarkOutsideTheNineDigits", Trocar(2, "1 0 0 0 0 0 0"), false, true, notas},
        {"MarkPastNine", Trocar(2, "0 0 0 1024 0 0 0"), false, true, notas},
        {"MarkNotANumber", Trocar(CLado, "0 0 x 0 0 0 0"), false, true, notas},
        {"RowLost", Tirar(4), false, true, notas},
        {"RowTooMany",
         [](QStringList s) {
             s.insert(4, s[4]);
             return s;
         },
         false, true, notas},
        {"TitleLost", Tirar(0), false, true, notas},
        {"TitleDamaged", Trocar(0, "[NOTAS"), false, true, notas},
        {"CutShortInTheRows", [](QStringList s) { return s.mid(0, 3); }, false, false, ambos},
        {"CutShortAfterTheTitle", [](QStringList s) { return s.mid(0, 1); }, false, false, ambos},
        {"BinaryAfterTheTitle",
         [](QStringList s) {
             return QStringList{s[0], QString::fromLatin1(QByteArray("\xff\x00\x01", 3))};
         },
         false, false, ambos},
        {"RowAndTimeDamaged",
         [](QStringList s) {
             s[1] = QStringLiteral("0 0");
             s.last() = QStringLiteral("TEMPO=?");
             return s;
         },
         false, false, ambos},
    };
    return CDanos;
}

class ioSeccaoDanificada : public ::testing::TestWithParam<TDano> {};

} // namespace

TEST_P(ioSeccaoDanificada, KeepsWhatIsWholeAndSaysWhatWasLeftOut) {
    const TDano& dano = GetParam();
    const TEstadoDoJogo escrito{NotasDeExemplo(), CTempo, {}};
    const QByteArray texto =
        TextoComSeccao(dano.Danificar(LinhasDoEstado(escrito, CLado)), dano.FimDeLinha);
    const std::vector<uint16_t> notasEsperadas =
        dano.ComNotas ? NotasDeExemplo() : std::vector<uint16_t>();
    const int64_t tempoEsperado = dano.ComTempo ? CTempo : 0;

    const TEstadoDoJogo lido = LerEstadoDoTexto(texto, CLado);
    EXPECT_EQ(lido.Notas, notasEsperadas);
    EXPECT_EQ(lido.TempoMs, tempoEsperado);
    EXPECT_EQ(lido.Avisos, dano.Avisos);

    // From a file the same, with the board whole: the section never stops the opening.
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    const QString caminho = pasta.filePath(QStringLiteral("jogo.smd"));
    {
        QFile ficheiro(caminho);
        ASSERT_TRUE(ficheiro.open(QIODevice::WriteOnly));
        ASSERT_EQ(ficheiro.write(texto), texto.size());
    }
    TEstadoDoJogo doFicheiro;
    std::unique_ptr<TSomadoBoard> board;
    EXPECT_EQ(MensagemDoErro([&] { board = LerFicheiroJogo(caminho, doFicheiro); }), "(sem erro)");
    ASSERT_NE(board, nullptr);
    EsperarMesmoTabuleiro(Tabuleiro(), *board);
    EXPECT_EQ(doFicheiro.Notas, notasEsperadas);
    EXPECT_EQ(doFicheiro.TempoMs, tempoEsperado);
    EXPECT_EQ(doFicheiro.Avisos, dano.Avisos);
}

INSTANTIATE_TEST_SUITE_P(Danos, ioSeccaoDanificada, ::testing::ValuesIn(Danos()),
                         [](const ::testing::TestParamInfo<TDano>& AInfo) {
                             return std::string(AInfo.param.Nome);
                         });

// A damaged board is still refused as before, whatever the section after it holds.
TEST(ioEstadoDoJogo, ADamagedBoardIsStillRefused) {
    const TEstadoDoJogo estado{NotasDeExemplo(), CTempo, {}};
    QStringList linhas = LinhasDoPuzzle(Tabuleiro());
    linhas[LinhaDaFila(CLado, sValue, 2)] = QStringLiteral("0 0");
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    const QString caminho = pasta.filePath(QStringLiteral("jogo.smd"));
    {
        QFile ficheiro(caminho);
        ASSERT_TRUE(ficheiro.open(QIODevice::WriteOnly));
        const QByteArray texto =
            JuntarLinhas(linhas, "\r\n") + JuntarLinhas(LinhasDoEstado(estado, CLado), "\r\n");
        ASSERT_EQ(ficheiro.write(texto), texto.size());
    }
    TEstadoDoJogo lido;
    EXPECT_EQ(MensagemDoErro([&] { LerFicheiroJogo(caminho, lido); }),
              "Ficheiro .smd inválido — a linha 2 de \"VALUE\" não tem 7 valores.");
}

// ---- A game kept for recovery: the file the game belongs to travels after the time.

namespace {

TIdentidadeFicheiro FicheiroDeExemplo(const QString& ANome) {
    TIdentidadeFicheiro ficheiro;
    ficheiro.Caminho = ANome;
    ficheiro.CaminhoDoNome = ANome + QStringLiteral(".ligacao");
    ficheiro.Dispositivo = 2049;
    ficheiro.NumeroDoFicheiro = 9876543210ULL;
    ficheiro.Tamanho = 3141;
    ficheiro.Modificado = QDateTime::fromMSecsSinceEpoch(1765400000123);
    ficheiro.Resumo = QByteArray::fromHex("00ff10ab");
    return ficheiro;
}

} // namespace

TEST(ioJogoGuardado, TheGameAndItsFileComeBackWhateverTheFilesName) {
    const TEstadoDoJogo estado{NotasDeExemplo(), CTempo};
    const QString nomes[] = {
        QStringLiteral("/home/ana/jogos/fácil.smd"),
        QStringLiteral("C:/Users/João/Documents/jogo com espaços.smd"),
        QStringLiteral("/tmp/nome=com%sinais\r\n[NOTAS]\r\nTEMPO=1.smd"),
        QStringLiteral("/tmp/latin\uFFFD.smd"),
    };
    for (const QString& nome : nomes) {
        const TIdentidadeFicheiro ficheiro = FicheiroDeExemplo(nome);
        const QByteArray texto = TextoDoJogoGuardado(Tabuleiro(), estado, ficheiro);
        // Any reader of games takes it as the game it is, the marks and time included.
        const TEstadoDoJogo comoJogo = LerEstadoDoTexto(texto, CLado);
        EXPECT_EQ(comoJogo.Notas, estado.Notas);
        EXPECT_EQ(comoJogo.TempoMs, CTempo);
        EXPECT_TRUE(comoJogo.Avisos.isEmpty());

        TEstadoDoJogo lido;
        TIdentidadeFicheiro ficheiroLido;
        const auto board = LerJogoGuardadoDoTexto(texto, lido, ficheiroLido);
        EXPECT_EQ(LinhasDoPuzzle(*board), LinhasDoPuzzle(Tabuleiro()));
        EXPECT_EQ(lido.Notas, estado.Notas);
        EXPECT_EQ(lido.TempoMs, CTempo);
        EXPECT_TRUE(lido.Avisos.isEmpty()) << lido.Avisos.join(u'|').toStdString();
        EXPECT_EQ(ficheiroLido, ficheiro) << nome.toStdString();
    }
    // A game that belongs to no file has no record, and reads back with none.
    TEstadoDoJogo lido;
    TIdentidadeFicheiro ficheiroLido = FicheiroDeExemplo(QStringLiteral("/x"));
    LerJogoGuardadoDoTexto(TextoDoJogoGuardado(Tabuleiro(), estado, {}), lido, ficheiroLido);
    EXPECT_EQ(ficheiroLido, TIdentidadeFicheiro{});
    EXPECT_TRUE(lido.Avisos.isEmpty());
}

TEST(ioJogoGuardado, ADamagedFileRecordLeavesTheGameWholeAndSaysTheNameIsLost) {
    const TEstadoDoJogo estado{NotasDeExemplo(), CTempo};
    const QStringList inteiro =
        QString::fromLatin1(
            TextoDoJogoGuardado(Tabuleiro(), estado, FicheiroDeExemplo(QStringLiteral("/a/b.smd"))))
            .split(QStringLiteral("\r\n"));
    const qsizetype inicio = inteiro.indexOf(QStringLiteral("[FICHEIRO]"));
    ASSERT_GT(inicio, 0);
    const std::pair<const char*, std::function<void(QStringList&)>> danos[] = {
        {"cortado", [&](QStringList& l) { l = l.mid(0, inicio + 3); }},
        {"chave trocada", [&](QStringList& l) { l[inicio + 1].replace(0, 7, "NOME=X"); }},
        {"nome vazio", [&](QStringList& l) { l[inicio + 1] = QStringLiteral("CAMINHO="); }},
        {"nome com espaço", [&](QStringList& l) { l[inicio + 2] += QStringLiteral(" x"); }},
        {"nome que não é UTF-8", [&](QStringList& l) { l[inicio + 1] += QStringLiteral("%FF"); }},
        {"NUL no nome", [&](QStringList& l) { l[inicio + 1] += QStringLiteral("%00"); }},
        {"número negativo",
         [&](QStringList& l) { l[inicio + 3] = QStringLiteral("DISPOSITIVO=-1"); }},
        {"número enorme",
         [&](QStringList& l) { l[inicio + 5] = QStringLiteral("TAMANHO=99999999999999999999"); }},
        {"resumo ímpar", [&](QStringList& l) { l[inicio + 7] += QStringLiteral("a"); }},
        {"resumo não hexadecimal", [&](QStringList& l) { l[inicio + 7] += QStringLiteral("zz"); }},
    };
    for (const auto& [nome, danificar] : danos) {
        QStringList linhas = inteiro;
        danificar(linhas);
        TEstadoDoJogo lido;
        TIdentidadeFicheiro ficheiro;
        const auto board =
            LerJogoGuardadoDoTexto(linhas.join(QStringLiteral("\r\n")).toLatin1(), lido, ficheiro);
        EXPECT_EQ(LinhasDoPuzzle(*board), LinhasDoPuzzle(Tabuleiro())) << nome;
        EXPECT_EQ(lido.Notas, estado.Notas) << nome;
        EXPECT_EQ(lido.TempoMs, CTempo) << nome;
        EXPECT_EQ(ficheiro, TIdentidadeFicheiro{}) << nome;
        EXPECT_EQ(lido.Avisos,
                  QStringList{QStringLiteral("Não foi possível saber a que ficheiro pertencia o "
                                             "jogo recuperado: ao guardá-lo, escolha o nome.")})
            << nome;
    }
}
