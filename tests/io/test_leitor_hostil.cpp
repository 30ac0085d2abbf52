// Files that are no puzzle at all: each must be refused with its message at once, without
// reading it whole. Each case reads in a child process, so that a hang (a FIFO waits for a
// writer, /dev/zero never ends) is cut short instead of stopping the suite.
#include "ApoioSmd.h"
#include "ProcessoFilho.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

constexpr qint64 CMegabyte = 1024 * 1024;

// Writes AQuantos bytes: AInicio, then AEnchimento over and over.
void EscreverGrande(const QString& ACaminho, const QByteArray& AInicio, char AEnchimento,
                    qint64 AQuantos) {
    QFile ficheiro(ACaminho);
    ASSERT_TRUE(ficheiro.open(QIODevice::WriteOnly));
    ASSERT_EQ(ficheiro.write(AInicio), AInicio.size());
    const QByteArray bloco(CMegabyte, AEnchimento);
    for (qint64 resta = AQuantos - AInicio.size(); resta > 0; resta -= bloco.size())
        ASSERT_EQ(ficheiro.write(bloco.left(std::min<qint64>(resta, bloco.size()))),
                  std::min<qint64>(resta, bloco.size()));
}

const std::string CDemasiadoGrande = "é demasiado grande para ser um puzzle (mais de 1 MB)";
const std::string CNaoNormal = "não é um ficheiro normal (pode ser um dispositivo ou um canal)";
const QByteArray CCabecalho = "[SOMADO tamanho=9 dificuldade=0 score=0]\r\n";

struct TCasoHostil {
    const char* Nome;
    // Makes the input in the folder and gives its path.
    std::function<QString(const QDir&)> Criar;
    std::string Mensagem;
};

std::string NaoLe(const char* ANome, const std::string& AMotivo) {
    return Format("Não foi possível ler o ficheiro \"%s\": %s", ANome, AMotivo.c_str());
}

std::vector<TCasoHostil> CasosHostis() {
    const std::string quarenta(40, 'A');
    return {
        {"Fifo",
         [](const QDir& d) {
             const QString caminho = d.filePath("x.smd");
#ifndef _WIN32
             EXPECT_EQ(::mkfifo(QFile::encodeName(caminho).constData(), 0600), 0);
#endif
             return caminho;
         },
         NaoLe("x.smd", CNaoNormal)},
        {"DevZero", [](const QDir&) { return QStringLiteral("/dev/zero"); },
         NaoLe("zero", CNaoNormal)},
        {"Directory",
         [](const QDir& d) {
             EXPECT_TRUE(d.mkdir("pasta.smd"));
             return d.filePath("pasta.smd");
         },
         NaoLe("pasta.smd", "é uma pasta, não um ficheiro")},
        {"JustOverTheBound",
         [](const QDir& d) {
             EscreverGrande(d.filePath("grande.smd"), BytesDoExemplo(), '\n',
                            CTamanhoMaximoFicheiro + 1);
             return d.filePath("grande.smd");
         },
         NaoLe("grande.smd", CDemasiadoGrande)},
        {"FiftyMegabyteLine",
         [](const QDir& d) {
             EscreverGrande(d.filePath("linha.smd"), CCabecalho, 'A', 50 * CMegabyte);
             return d.filePath("linha.smd");
         },
         NaoLe("linha.smd", CDemasiadoGrande)},
        {"FiftyMegabytesOfEmptyLines",
         [](const QDir& d) {
             EscreverGrande(d.filePath("vazias.smd"), CCabecalho, '\n', 50 * CMegabyte);
             return d.filePath("vazias.smd");
         },
         NaoLe("vazias.smd", CDemasiadoGrande)},
        // Just under the bound the file is read, and the message quotes only the line's start.
        {"LongLineUnderTheBound",
         [](const QDir& d) {
             EscreverGrande(d.filePath("quase.smd"), CCabecalho, 'A', CTamanhoMaximoFicheiro);
             return d.filePath("quase.smd");
         },
         "Ficheiro .smd com a estrutura errada — esperava \"TIPO\", encontrei \"" + quarenta +
             "…\"."},
        {"EmptyLinesUnderTheBound",
         [](const QDir& d) {
             EscreverGrande(d.filePath("quase.smd"), CCabecalho, '\n', CTamanhoMaximoFicheiro);
             return d.filePath("quase.smd");
         },
         "Ficheiro .smd com a estrutura errada — esperava \"TIPO\", encontrei \"\"."},
    };
}

void PrintTo(const TCasoHostil& ACaso, std::ostream* ASaida) {
    *ASaida << ACaso.Nome;
}

class ioLeitorHostil : public ::testing::TestWithParam<TCasoHostil> {};

} // namespace

TEST_P(ioLeitorHostil, RefusedWithItsMessage) {
#ifdef _WIN32
    const std::string nome = GetParam().Nome;
    if (nome == "Fifo" || nome == "DevZero")
        GTEST_SKIP() << "Windows has no FIFO in the file system and no /dev/zero";
#endif
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    const QString caminho = GetParam().Criar(QDir(pasta.path()));
    TOpcoesFilho opcoes;
    opcoes.Prazo = 30;
    const auto mensagem =
        NoFilho([&] { return MensagemDoErro([&] { LerFicheiroPuzzle(caminho); }); }, opcoes);
    ASSERT_TRUE(mensagem.has_value()) << "the reader hung or died";
    EXPECT_EQ(*mensagem, GetParam().Mensagem);
}

INSTANTIATE_TEST_SUITE_P(Inputs, ioLeitorHostil, ::testing::ValuesIn(CasosHostis()),
                         [](const ::testing::TestParamInfo<TCasoHostil>& AInfo) {
                             return AInfo.param.Nome;
                         });

// The bound leaves every valid file alone: the largest puzzle, padded with ignored lines up
// to the bound itself, opens.
TEST(ioLeitorLimite, AFileOfExactlyTheBoundStillOpens) {
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    const TSomadoBoard board = TabuleiroGerado(25, TNivelDificuldade::ndMuitoDificil, 9);
    const QString caminho = pasta.filePath("cheio.smd");
    EscreverGrande(caminho, TextoDoPuzzle(board), '\n', CTamanhoMaximoFicheiro);
    ASSERT_EQ(QFileInfo(caminho).size(), CTamanhoMaximoFicheiro);
    EsperarMesmoTabuleiro(board, *LerFicheiroPuzzle(caminho));
}
