// Saving and opening real files. The tests run as root, where permission bits do not stop a
// write, so failures are provoked with paths that cannot exist instead.
#include "ApoioFicheiros.h"
#include "ApoioSmd.h"
#include "ProcessoFilho.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

QByteArray ConteudoDe(const QString& ACaminho) {
    QFile ficheiro(ACaminho);
    if (!ficheiro.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot open " << ACaminho.toStdString();
        return {};
    }
    return ficheiro.readAll();
}

class ioFicheiros : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(FPasta.isValid()); }
    QString Caminho(const QString& ANome) const { return FPasta.filePath(ANome); }

    QTemporaryDir FPasta;
};

} // namespace

TEST_F(ioFicheiros, SavedFileHoldsExactlyTheTextAndReadsBack) {
    const TSomadoBoard board = TabuleiroGerado(12, TNivelDificuldade::ndDificil, 321);
    GravarFicheiroPuzzle(Caminho("puzzle.smd"), board);

    EXPECT_EQ(ConteudoDe(Caminho("puzzle.smd")).toStdString(), TextoDoPuzzle(board).toStdString());
    EXPECT_EQ(QDir(FPasta.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"puzzle.smd"});
    EsperarMesmoTabuleiro(board, *LerFicheiroPuzzle(Caminho("puzzle.smd")));
}

TEST_F(ioFicheiros, OpensTheExampleWrittenByAnotherEditor) {
    // UTF-16 little-endian with a mark and LF line ends, as some Windows editors save it.
    QByteArray bytes("\xFF\xFE", 2);
    // A named copy: replace() returns a reference into its object, which as a temporary
    // would be gone before the loop starts.
    const QByteArray comLf = QByteArray(BytesDoExemplo()).replace("\r\n", "\n");
    for (const char byte : comLf) {
        bytes += byte;
        bytes += '\0';
    }
    Escrever(Caminho("outro.smd"), bytes);
    EsperarMesmoTabuleiro(TabuleiroDoExemplo(), *LerFicheiroPuzzle(Caminho("outro.smd")));
}

TEST_F(ioFicheiros, ContentErrorsOfAFileComeThroughUnchanged) {
    Escrever(Caminho("curto.smd"), BytesDoExemplo().left(200));
    EXPECT_EQ(MensagemDoErro([&] { LerFicheiroPuzzle(Caminho("curto.smd")); }),
              "Ficheiro .smd truncado — faltam linhas.");
}

TEST_F(ioFicheiros, FailedOpenNamesTheFileWithoutItsFolder) {
    struct TCaso {
        const char* Alvo;
        const char* Nome;
    };
    static constexpr std::array<TCaso, 3> CCasos{{
        {"falta.smd", "falta.smd"},
        {"nao-existe/falta.smd", "falta.smd"},
        {"pasta.smd", "pasta.smd"},
    }};
    ASSERT_TRUE(QDir(FPasta.path()).mkdir("pasta.smd"));
    for (const TCaso& caso : CCasos) {
        SCOPED_TRACE(caso.Alvo);
        const std::string mensagem = MensagemDoErro([&] { LerFicheiroPuzzle(Caminho(caso.Alvo)); });
        const std::string inicio = Format("Não foi possível ler o ficheiro \"%s\": ", caso.Nome);
        EXPECT_TRUE(ComecaPor(mensagem, inicio)) << mensagem;
        EXPECT_GT(mensagem.size(), inicio.size()) << "no reason given";
        EXPECT_EQ(mensagem.find(FPasta.path().toStdString()), std::string::npos) << mensagem;
    }
}

TEST_F(ioFicheiros, TheReasonIsSaidInPortuguese) {
    // 300 characters: longer than any file system takes for one name.
    static const std::string CNomeLongo = std::string(296, 'n') + ".smd";
    const char* const CNomeComprido = CNomeLongo.c_str();
    ASSERT_TRUE(QDir(FPasta.path()).mkdir("pasta.smd"));
    Escrever(Caminho("existente.smd"), BytesDoExemplo());
    const TSomadoBoard board = TabuleiroGerado(6, TNivelDificuldade::ndFacil, 1);
    const struct {
        const char* alvo;
        bool gravar;
        const char* motivo;
    } casos[] = {
        {"nao-existe/novo.smd", true, "a pasta não existe"},
        {"pasta.smd", true, "já existe uma pasta com esse nome"},
        {"", true, "falta o nome do ficheiro"},
        {"falta.smd", false, "o ficheiro não existe"},
        {"pasta.smd", false, "é uma pasta, não um ficheiro"},
        {"existente.smd/novo.smd", true, "a pasta não existe"},
        {CNomeComprido, true, "o nome do ficheiro é demasiado comprido"},
        {CNomeComprido, false, "o nome do ficheiro é demasiado comprido"},
    };
    for (const auto& caso : casos) {
        const QString alvo = *caso.alvo != '\0' ? Caminho(caso.alvo) : QString();
        const std::string mensagem = MensagemDoErro([&] {
            if (caso.gravar)
                GravarFicheiroPuzzle(alvo, board);
            else
                LerFicheiroPuzzle(alvo);
        });
        EXPECT_TRUE(mensagem.size() > std::strlen(caso.motivo) &&
                    mensagem.compare(mensagem.size() - std::strlen(caso.motivo), std::string::npos,
                                     caso.motivo) == 0)
            << caso.alvo << ": " << mensagem;
    }
}

// ---- The identity of a game file: what a later save compares, to notice another program's
// change.

namespace {

std::string Texto(const QDateTime& AMomento) {
    return AMomento.toString(Qt::ISODateWithMs).toStdString();
}

// Field by field, so that a failure names the one that differs.
void EsperarMesmaIdentidade(const TIdentidadeFicheiro& AEsperada,
                            const TIdentidadeFicheiro& AObtida) {
    EXPECT_EQ(AObtida.Caminho, AEsperada.Caminho);
    EXPECT_EQ(AObtida.CaminhoDoNome, AEsperada.CaminhoDoNome);
    EXPECT_EQ(AObtida.Dispositivo, AEsperada.Dispositivo);
    EXPECT_EQ(AObtida.NumeroDoFicheiro, AEsperada.NumeroDoFicheiro);
    EXPECT_EQ(AObtida.Tamanho, AEsperada.Tamanho);
    EXPECT_TRUE(AObtida.Modificado == AEsperada.Modificado)
        << Texto(AObtida.Modificado) << " instead of " << Texto(AEsperada.Modificado);
    EXPECT_EQ(AObtida.Resumo.toHex().toStdString(), AEsperada.Resumo.toHex().toStdString());
    EXPECT_TRUE(AObtida == AEsperada);
}

// Writes ABytes over the start of the file without truncating it, then gives the file the
// modification time AMomento: another program's write within the same clock tick.
void EscreverPorCimaComHora(const QString& ACaminho, const QByteArray& ABytes,
                            const QDateTime& AMomento) {
    QFile ficheiro(ACaminho);
    ASSERT_TRUE(ficheiro.open(QIODevice::ReadWrite));
    ASSERT_EQ(ficheiro.write(ABytes), ABytes.size());
    ASSERT_TRUE(ficheiro.flush());
    ASSERT_TRUE(ficheiro.setFileTime(AMomento, QFileDevice::FileModificationTime));
}

TEstadoDoJogo EstadoDeExemplo(int32_t ALado) {
    TEstadoDoJogo estado;
    estado.Notas.assign(static_cast<size_t>(ALado) * ALado, 0);
    estado.Notas[1] = 0x0C;
    estado.TempoMs = 123456;
    return estado;
}

// Where the identity comes from: the save that wrote the file, or the reading of it.
struct TOrigem {
    const char* Nome;
    std::function<TIdentidadeFicheiro(const QString&, const TSomadoBoard&, const TEstadoDoJogo&)>
        Obter;
};

const std::array<TOrigem, 2>& Origens() {
    static const std::array<TOrigem, 2> COrigens{{
        {"written",
         [](const QString& ACaminho, const TSomadoBoard& ABoard, const TEstadoDoJogo& AEstado) {
             return GravarFicheiroJogo(ACaminho, ABoard, AEstado);
         }},
        {"read",
         [](const QString& ACaminho, const TSomadoBoard& ABoard, const TEstadoDoJogo& AEstado) {
             GravarFicheiroJogo(ACaminho, ABoard, AEstado);
             TEstadoDoJogo lido;
             TIdentidadeFicheiro identidade;
             LerFicheiroJogo(ACaminho, lido, &identidade);
             return identidade;
         }},
    }};
    return COrigens;
}

} // namespace

TEST_F(ioFicheiros, SavingAndReadingGiveTheIdentityOfTheFileAsItIsNow) {
    ASSERT_TRUE(QDir(FPasta.path()).mkdir("sub"));
    const TSomadoBoard board = TabuleiroGerado(9, TNivelDificuldade::ndMedio, 55);
    const TEstadoDoJogo estado = EstadoDeExemplo(9);
    // Spelt the long way: the identity holds the one name every spelling leads to.
    const QString caminho = Caminho("sub/../jogo.smd");
    for (const TOrigem& origem : Origens()) {
        SCOPED_TRACE(origem.Nome);
        const TIdentidadeFicheiro identidade = origem.Obter(caminho, board, estado);
        const QString canonico = QFileInfo(Caminho("jogo.smd")).canonicalFilePath();
        ASSERT_FALSE(canonico.isEmpty());
        EXPECT_EQ(identidade.Caminho, canonico);
        EXPECT_EQ(identidade.CaminhoDoNome, QFileInfo(Caminho("jogo.smd")).absoluteFilePath());
#ifndef _WIN32
        struct stat numero {};
        ASSERT_EQ(::stat(QFile::encodeName(canonico).constData(), &numero), 0);
        EXPECT_EQ(identidade.NumeroDoFicheiro, static_cast<quint64>(numero.st_ino));
        EXPECT_EQ(identidade.Dispositivo, static_cast<quint64>(numero.st_dev));
#endif
        EXPECT_EQ(identidade.Tamanho, TextoDoJogo(board, estado).size());
        EXPECT_FALSE(identidade.Resumo.isEmpty());
        EsperarMesmaIdentidade(IdentidadeDoFicheiro(Caminho("jogo.smd")), identidade);
        EXPECT_FALSE(AlteradoDesde(identidade, caminho));
    }
}

// Each change another program may make, seen whichever way the identity was taken. The
// same-size writes keep the old modification time, as a write within the file system's clock
// tick does: only the content can tell them apart.
TEST_F(ioFicheiros, AnotherProgramsChangeIsSeenEvenWhenSizeAndTimeStay) {
    struct TMudanca {
        const char* Nome;
        // The bytes the other program writes, from the old ones; none for no write.
        std::function<QByteArray(QByteArray)> Bytes;
        bool OutraHora;
        bool Alterado;
    };
    const std::array<TMudanca, 6> casos{{
        {"nothing written", nullptr, false, false},
        {"same bytes written again", [](QByteArray ABytes) { return ABytes; }, false, false},
        {"one byte changed",
         [](QByteArray ABytes) {
             const qsizetype ultimo = ABytes.size() - 3; // the last digit of the time line
             ABytes[ultimo] = ABytes[ultimo] == '1' ? '2' : '1';
             return ABytes;
         },
         false, true},
        {"a line longer", [](QByteArray ABytes) { return ABytes + "\r\n"; }, false, true},
        {"same bytes, later time", [](QByteArray ABytes) { return ABytes; }, true, true},
        {"nothing written, later time", nullptr, true, true},
    }};
    const TSomadoBoard board = TabuleiroGerado(7, TNivelDificuldade::ndFacil, 3);
    const TEstadoDoJogo estado = EstadoDeExemplo(7);
    const QString caminho = Caminho("partilhado.smd");
    for (const TOrigem& origem : Origens())
        for (const TMudanca& caso : casos) {
            SCOPED_TRACE(std::string(origem.Nome) + ", " + caso.Nome);
            const TIdentidadeFicheiro identidade = origem.Obter(caminho, board, estado);
            const QByteArray antes = ConteudoDe(caminho);
            const QByteArray novos = caso.Bytes ? caso.Bytes(antes) : QByteArray();
            const QDateTime hora =
                caso.OutraHora ? identidade.Modificado.addSecs(5) : identidade.Modificado;
            EscreverPorCimaComHora(caminho, novos, hora);
            const QFileInfo depois(caminho);
            ASSERT_EQ(depois.size(), std::max(antes.size(), novos.size()));
            ASSERT_EQ(depois.lastModified() == identidade.Modificado, !caso.OutraHora);
            EXPECT_EQ(AlteradoDesde(identidade, caminho), caso.Alterado);
        }
}

// Only the very file the identity was taken from can have changed under it: another file, a
// file gone or an empty identity give no warning, while another spelling of the same file is
// still that file.
TEST_F(ioFicheiros, AnIdentityOnlySpeaksOfItsOwnFile) {
    const TSomadoBoard board = TabuleiroGerado(6, TNivelDificuldade::ndFacil, 1);
    const TSomadoBoard outroBoard = TabuleiroGerado(8, TNivelDificuldade::ndDificil, 2);
    ASSERT_TRUE(QDir(FPasta.path()).mkdir("sub"));
    const QString proprio = Caminho("a.smd");
    struct TCaso {
        const char* Nome;
        // With the identity taken from a.smd, which has changed since: the path asked about,
        // after whatever else the case does to the identity or the files.
        std::function<QString(TIdentidadeFicheiro&)> Preparar;
        bool Alterado;
    };
    const std::vector<TCaso> casos = {
        {"the file itself", [&](TIdentidadeFicheiro&) { return proprio; }, true},
        {"the same file spelt otherwise",
         [&](TIdentidadeFicheiro&) { return Caminho("sub/../a.smd"); }, true},
#ifndef _WIN32
        {"a symbolic link to the file",
         [&](TIdentidadeFicheiro&) {
             EXPECT_TRUE(QFile::link(proprio, Caminho("atalho.smd")));
             return Caminho("atalho.smd");
         },
         true},
#endif
        {"another file",
         [&](TIdentidadeFicheiro&) {
             GravarFicheiroJogo(Caminho("outro.smd"), outroBoard, {});
             return Caminho("outro.smd");
         },
         false},
        {"the file removed",
         [&](TIdentidadeFicheiro&) {
             EXPECT_TRUE(QFile::remove(proprio));
             return proprio;
         },
         false},
        {"an empty identity",
         [&](TIdentidadeFicheiro& AIdentidade) {
             AIdentidade = {};
             return proprio;
         },
         false},
    };
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.Nome);
        TIdentidadeFicheiro identidade = GravarFicheiroJogo(proprio, board, {});
        GravarFicheiroJogo(proprio, outroBoard, {});
        const QString perguntado = caso.Preparar(identidade);
        EXPECT_EQ(AlteradoDesde(identidade, perguntado), caso.Alterado);
    }
}

// A reading that fails gives the game no identity to remember: the one it had stays.
TEST_F(ioFicheiros, AFailedReadLeavesTheIdentityAlone) {
    const TSomadoBoard board = TabuleiroGerado(6, TNivelDificuldade::ndFacil, 1);
    const TIdentidadeFicheiro anterior = GravarFicheiroJogo(Caminho("bom.smd"), board, {});
    Escrever(Caminho("curto.smd"), TextoDoJogo(board, {}).left(100));
    TIdentidadeFicheiro identidade = anterior;
    TEstadoDoJogo estado;
    EXPECT_EQ(MensagemDoErro([&] { LerFicheiroJogo(Caminho("curto.smd"), estado, &identidade); }),
              "Ficheiro .smd truncado — faltam linhas.");
    EsperarMesmaIdentidade(anterior, identidade);
}

// Past CMaximoParaResumo the content is not read to compare: size and time alone tell a
// change. Sparse files, so the test writes almost nothing.
TEST_F(ioFicheiros, AFileTooLargeToDigestIsJudgedBySizeAndTimeAlone) {
    struct TCaso {
        qint64 Tamanho;
        bool ComResumo;
    };
    for (const TCaso& caso :
         {TCaso{CMaximoParaResumo, true}, TCaso{CMaximoParaResumo + 1, false}}) {
        SCOPED_TRACE(caso.Tamanho);
        const QString caminho = Caminho("grande.smd");
        {
            QFile ficheiro(caminho);
            ASSERT_TRUE(ficheiro.open(QIODevice::WriteOnly | QIODevice::Truncate));
            ASSERT_TRUE(ficheiro.resize(caso.Tamanho));
        }
        const TIdentidadeFicheiro identidade = IdentidadeDoFicheiro(caminho);
        EXPECT_EQ(identidade.Tamanho, caso.Tamanho);
        EXPECT_EQ(!identidade.Resumo.isEmpty(), caso.ComResumo);
        EscreverPorCimaComHora(caminho, "x", identidade.Modificado);
        EXPECT_EQ(AlteradoDesde(identidade, caminho), caso.ComResumo);
        EscreverPorCimaComHora(caminho, "x", identidade.Modificado.addSecs(5));
        EXPECT_TRUE(AlteradoDesde(identidade, caminho));
    }
}

// A FIFO is never opened (that waits for a writer): no digest, and no change to report. In a
// child process, so that a hang is cut short.
TEST_F(ioFicheiros, AFifoGetsNoDigestAndNeverBlocks) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no FIFO in the file system";
#else
    const QString fifo = Caminho("canal.smd");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    TOpcoesFilho opcoes;
    opcoes.Prazo = 30;
    const auto resultado = NoFilho(
        [&] {
            const TIdentidadeFicheiro identidade = IdentidadeDoFicheiro(fifo);
            return Format("caminho=%d resumo=%s alterado=%d", !identidade.Caminho.isEmpty(),
                          identidade.Resumo.toHex().constData(), AlteradoDesde(identidade, fifo));
        },
        opcoes);
    ASSERT_TRUE(resultado.has_value()) << "the identity hung or died";
    EXPECT_EQ(*resultado, "caminho=1 resumo= alterado=0");
#endif
}

// ---- A name that now leads to another file. The game's file is d/g.smd in a folder of the
// case's own; each case does what another program may do between this game's reading or
// saving and its next save, then asks about a path. A save follows the name wherever it
// leads, so a name now leading to another file must be a change even when size, time and
// bytes all agree; another path, or nothing left under the name, is none.

namespace {

QString NaPasta(const QDir& APasta, const char* ANome) {
    return APasta.filePath(QString::fromUtf8(ANome));
}

// Another file that neither size, time nor content tell from the first.
void CopiarComHora(const QString& ADe, const QString& APara) {
    ASSERT_TRUE(QFile::copy(ADe, APara)) << APara.toStdString();
    QFile copia(APara);
    ASSERT_TRUE(copia.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        copia.setFileTime(QFileInfo(ADe).lastModified(), QFileDevice::FileModificationTime));
}

void Ligar(const QString& AAlvo, const QString& ANome) {
    ASSERT_TRUE(QFile::link(AAlvo, ANome)) << ANome.toStdString();
}

// In one step, as a program that saves through a temporary file does.
void PorPorCima(const QString& ADe, const QString& APara) {
    ASSERT_EQ(std::rename(QFile::encodeName(ADe).constData(), QFile::encodeName(APara).constData()),
              0)
        << APara.toStdString();
}

void Apagar(const QString& ACaminho) {
    ASSERT_TRUE(QFile::remove(ACaminho)) << ACaminho.toStdString();
}

void TrocarPasta(const QDir& APasta) {
    ASSERT_TRUE(QDir(APasta).rename(QStringLiteral("d"), QStringLiteral("d.antiga")));
    ASSERT_TRUE(APasta.mkdir(QStringLiteral("d")));
}

constexpr const char* CSemLigacoes =
    "making symbolic links on Windows needs a privilege the tests do not have";
constexpr const char* CSemNumero =
    "Windows gives no file number here: only size, time and bytes tell another file";

struct TTroca {
    const char* Nome;
    // Why the case cannot run on Windows; null where it runs everywhere.
    const char* SemWindows;
    // Whether d/g.smd is, when the identity is taken, a link to d/alvo.smd.
    bool PorLigacao;
    // Changes the files in the case's folder and gives the path asked about.
    std::function<QString(const QDir&)> Fazer;
    bool Alterado;
    // Whether the path asked about leads to a file of the identity's size, time and bytes, so
    // that only the name or the file's number can tell it apart.
    bool MesmoConteudo;
};

void PrintTo(const TTroca& ATroca, std::ostream* ASaida) {
    *ASaida << ATroca.Nome;
}

const std::vector<TTroca>& Trocas() {
    static const std::vector<TTroca> CTrocas = {
        {"NothingDone", nullptr, false, [](const QDir& p) { return NaPasta(p, "d/g.smd"); }, false,
         true},
        {"TheSameNameSpeltOtherwise", nullptr, false,
         [](const QDir& p) { return NaPasta(p, "d/../d/./g.smd"); }, false, true},
        {"RewrittenInPlaceWithTheSameBytesAndTime", nullptr, false,
         [](const QDir& p) {
             const QString g = NaPasta(p, "d/g.smd");
             const QDateTime hora = QFileInfo(g).lastModified();
             EscreverPorCimaComHora(g, ConteudoDe(g), hora);
             return g;
         },
         false, true},
        {"Deleted", nullptr, false,
         [](const QDir& p) {
             Apagar(NaPasta(p, "d/g.smd"));
             return NaPasta(p, "d/g.smd");
         },
         false, false},
        {"SavedElsewhereOverACopy", nullptr, false,
         [](const QDir& p) {
             CopiarComHora(NaPasta(p, "d/g.smd"), NaPasta(p, "d/outro.smd"));
             return NaPasta(p, "d/outro.smd");
         },
         false, true},
        {"ALinkToAnotherFileInItsPlace", CSemLigacoes, false,
         [](const QDir& p) {
             CopiarComHora(NaPasta(p, "d/g.smd"), NaPasta(p, "vitima.txt"));
             Apagar(NaPasta(p, "d/g.smd"));
             Ligar(NaPasta(p, "vitima.txt"), NaPasta(p, "d/g.smd"));
             return NaPasta(p, "d/g.smd");
         },
         true, true},
        {"ALinkToNothingInItsPlace", CSemLigacoes, false,
         [](const QDir& p) {
             Apagar(NaPasta(p, "d/g.smd"));
             Ligar(NaPasta(p, "nada.txt"), NaPasta(p, "d/g.smd"));
             return NaPasta(p, "d/g.smd");
         },
         true, false},
        {"ALinkToTheSameFileInItsPlace", CSemLigacoes, false,
         [](const QDir& p) {
             PorPorCima(NaPasta(p, "d/g.smd"), NaPasta(p, "d/g2.smd"));
             Ligar(NaPasta(p, "d/g2.smd"), NaPasta(p, "d/g.smd"));
             return NaPasta(p, "d/g.smd");
         },
         true, true},
        {"AnotherFileRenamedOverIt", CSemNumero, false,
         [](const QDir& p) {
             CopiarComHora(NaPasta(p, "d/g.smd"), NaPasta(p, "d/novo.tmp"));
             PorPorCima(NaPasta(p, "d/novo.tmp"), NaPasta(p, "d/g.smd"));
             return NaPasta(p, "d/g.smd");
         },
         true, true},
        {"TheFolderReplacedWithTheSameBytesAndTime", CSemNumero, false,
         [](const QDir& p) {
             TrocarPasta(p);
             CopiarComHora(NaPasta(p, "d.antiga/g.smd"), NaPasta(p, "d/g.smd"));
             return NaPasta(p, "d/g.smd");
         },
         true, true},
        {"TheFolderReplacedWithOtherBytes", nullptr, false,
         [](const QDir& p) {
             TrocarPasta(p);
             GravarFicheiroJogo(NaPasta(p, "d/g.smd"),
                                TabuleiroGerado(6, TNivelDificuldade::ndDificil, 9), {});
             return NaPasta(p, "d/g.smd");
         },
         true, false},
        {"TheFolderReplacedByALink", CSemLigacoes, false,
         [](const QDir& p) {
             EXPECT_TRUE(QDir(p).rename(QStringLiteral("d"), QStringLiteral("d.antiga")));
             EXPECT_TRUE(p.mkdir(QStringLiteral("outra")));
             CopiarComHora(NaPasta(p, "d.antiga/g.smd"), NaPasta(p, "outra/g.smd"));
             Ligar(NaPasta(p, "outra"), NaPasta(p, "d"));
             return NaPasta(p, "d/g.smd");
         },
         true, true},
        {"AskedByALinkToIt", CSemLigacoes, false,
         [](const QDir& p) {
             Ligar(NaPasta(p, "d/g.smd"), NaPasta(p, "atalho.smd"));
             return NaPasta(p, "atalho.smd");
         },
         false, true},
        {"AskedByALinkToItAfterAnotherFileWasRenamedOverIt", CSemLigacoes, false,
         [](const QDir& p) {
             CopiarComHora(NaPasta(p, "d/g.smd"), NaPasta(p, "d/novo.tmp"));
             PorPorCima(NaPasta(p, "d/novo.tmp"), NaPasta(p, "d/g.smd"));
             Ligar(NaPasta(p, "d/g.smd"), NaPasta(p, "atalho.smd"));
             return NaPasta(p, "atalho.smd");
         },
         true, true},
        {"ItsLinkKept", CSemLigacoes, true, [](const QDir& p) { return NaPasta(p, "d/g.smd"); },
         false, true},
        {"ItsLinkAskedByTheTargetsOwnName", CSemLigacoes, true,
         [](const QDir& p) { return NaPasta(p, "d/alvo.smd"); }, false, true},
        {"ItsLinkPointedAtAnotherFile", CSemLigacoes, true,
         [](const QDir& p) {
             CopiarComHora(NaPasta(p, "d/alvo.smd"), NaPasta(p, "d/outro.smd"));
             Apagar(NaPasta(p, "d/g.smd"));
             Ligar(NaPasta(p, "d/outro.smd"), NaPasta(p, "d/g.smd"));
             return NaPasta(p, "d/g.smd");
         },
         true, true},
        {"ItsLinkReplacedByAPlainFile", CSemLigacoes, true,
         [](const QDir& p) {
             Apagar(NaPasta(p, "d/g.smd"));
             CopiarComHora(NaPasta(p, "d/alvo.smd"), NaPasta(p, "d/g.smd"));
             return NaPasta(p, "d/g.smd");
         },
         true, true},
        {"ItsLinksTargetReplacedByAnotherFile", CSemLigacoes, true,
         [](const QDir& p) {
             CopiarComHora(NaPasta(p, "d/alvo.smd"), NaPasta(p, "d/novo.tmp"));
             PorPorCima(NaPasta(p, "d/novo.tmp"), NaPasta(p, "d/alvo.smd"));
             return NaPasta(p, "d/g.smd");
         },
         true, true},
    };
    return CTrocas;
}

class ioNomeQueLevaAOutroFicheiro : public ::testing::TestWithParam<TTroca> {};

} // namespace

TEST_P(ioNomeQueLevaAOutroFicheiro, IsAChangeOnlyUnderTheIdentitysOwnName) {
    const TTroca& troca = GetParam();
#ifdef _WIN32
    if (troca.SemWindows) GTEST_SKIP() << troca.SemWindows;
#endif
    const TSomadoBoard board = TabuleiroGerado(6, TNivelDificuldade::ndFacil, 4);
    for (const TOrigem& origem : Origens()) {
        SCOPED_TRACE(origem.Nome);
        QTemporaryDir temporaria;
        ASSERT_TRUE(temporaria.isValid());
        const QDir pasta(temporaria.path());
        ASSERT_TRUE(pasta.mkdir(QStringLiteral("d")));
        const QString jogo = NaPasta(pasta, "d/g.smd");
        if (troca.PorLigacao) {
            GravarFicheiroJogo(NaPasta(pasta, "d/alvo.smd"), board, {});
            Ligar(NaPasta(pasta, "d/alvo.smd"), jogo);
        }
        const TIdentidadeFicheiro identidade = origem.Obter(jogo, board, EstadoDeExemplo(6));
        ASSERT_EQ(QFileInfo(jogo).isSymLink(), troca.PorLigacao);
        const QString perguntado = troca.Fazer(pasta);
        if (troca.MesmoConteudo) {
            const TIdentidadeFicheiro agora = IdentidadeDoFicheiro(perguntado);
            ASSERT_EQ(agora.Tamanho, identidade.Tamanho);
            ASSERT_TRUE(agora.Modificado == identidade.Modificado)
                << Texto(agora.Modificado) << " instead of " << Texto(identidade.Modificado);
            ASSERT_EQ(agora.Resumo, identidade.Resumo);
        }
        EXPECT_EQ(AlteradoDesde(identidade, perguntado), troca.Alterado);
    }
}

INSTANTIATE_TEST_SUITE_P(Trocas, ioNomeQueLevaAOutroFicheiro, ::testing::ValuesIn(Trocas()),
                         [](const ::testing::TestParamInfo<TTroca>& AInfo) {
                             return std::string(AInfo.param.Nome);
                         });
