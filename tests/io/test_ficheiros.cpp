// Saving and opening real files. The tests run as root, where permission bits do not stop a
// write, so failures are provoked with paths that cannot exist instead.
#include "ApoioSmd.h"

#include <gtest/gtest.h>

#include <cstring>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <array>
#include <string>

namespace {

QByteArray ConteudoDe(const QString& ACaminho) {
    QFile ficheiro(ACaminho);
    if (!ficheiro.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot open " << ACaminho.toStdString();
        return {};
    }
    return ficheiro.readAll();
}

void Escrever(const QString& ACaminho, const QByteArray& ABytes) {
    QFile ficheiro(ACaminho);
    ASSERT_TRUE(ficheiro.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(ficheiro.write(ABytes), ABytes.size());
}

bool ComecaPor(const std::string& ATexto, const std::string& AInicio) {
    return ATexto.compare(0, AInicio.size(), AInicio) == 0;
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
