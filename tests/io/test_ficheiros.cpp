// Saving and opening real files. The tests run as root, where permission bits do not stop a
// write, so failures are provoked with paths that cannot exist instead.
#include "ApoioSmd.h"

#include <gtest/gtest.h>

#include <cstring>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <array>
#include <map>
#include <string>

#include <filesystem>
#include <system_error>

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

// Every file and folder below the folder, with each file's bytes: a failed save must leave
// all of it as it was, with no temporary file behind.
std::map<QString, QByteArray> RetratoDaPasta(const QString& APasta) {
    std::map<QString, QByteArray> retrato;
    QDirIterator it(APasta, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString caminho = it.next();
        retrato[caminho] = it.fileInfo().isDir() ? QByteArray("<dir>") : ConteudoDe(caminho);
    }
    return retrato;
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

TEST_F(ioFicheiros, SavingOverALongerFileLeavesNothingOfIt) {
    Escrever(Caminho("puzzle.smd"), QByteArray(100000, 'x'));
    GravarFicheiroPuzzle(Caminho("puzzle.smd"), TabuleiroDoExemplo());
    EXPECT_EQ(ConteudoDe(Caminho("puzzle.smd")).toStdString(), BytesDoExemplo().toStdString());
}

// A file with several hard links is one file under several names: every name sees the new
// content, and the file stays one file.
TEST_F(ioFicheiros, SavingOverAHardLinkedFileChangesItUnderEveryName) {
#ifdef _WIN32
    GTEST_SKIP() << "on Windows a save replaces the file, so a second hard link keeps the old text";
#endif
    Escrever(Caminho("puzzle.smd"), QByteArray(50000, 'x')); // longer: the rest must go
    std::error_code erro;
    std::filesystem::create_hard_link(Caminho("puzzle.smd").toStdU16String(),
                                      Caminho("copia.smd").toStdU16String(), erro);
    ASSERT_FALSE(erro) << erro.message();
    const TSomadoBoard board = TabuleiroGerado(7, TNivelDificuldade::ndMedio, 3);
    GravarFicheiroPuzzle(Caminho("puzzle.smd"), board);
    EXPECT_EQ(ConteudoDe(Caminho("puzzle.smd")).toStdString(), TextoDoPuzzle(board).toStdString());
    EXPECT_EQ(ConteudoDe(Caminho("copia.smd")).toStdString(), TextoDoPuzzle(board).toStdString());
    EXPECT_EQ(std::filesystem::hard_link_count(Caminho("copia.smd").toStdU16String()), 2u);
    EXPECT_EQ(QDir(FPasta.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{"copia.smd", "puzzle.smd"}));
}

// A symbolic link is followed: its target gets the new content and the link stays a link.
TEST_F(ioFicheiros, SavingThroughASymbolicLinkWritesItsTarget) {
#ifdef _WIN32
    GTEST_SKIP() << "Qt makes a shortcut (.lnk) on Windows, not a symbolic link";
#endif
    Escrever(Caminho("alvo.smd"), BytesDoExemplo());
    ASSERT_TRUE(QFile::link(Caminho("alvo.smd"), Caminho("atalho.smd")));
    const TSomadoBoard board = TabuleiroGerado(8, TNivelDificuldade::ndFacil, 2);
    GravarFicheiroPuzzle(Caminho("atalho.smd"), board);
    EXPECT_TRUE(QFileInfo(Caminho("atalho.smd")).isSymLink());
    EXPECT_EQ(ConteudoDe(Caminho("alvo.smd")).toStdString(), TextoDoPuzzle(board).toStdString());
}

// Names up to the file system's limit of 255 bytes: saving over one (which needs a temporary
// file beside it) works as often as it is asked.
TEST_F(ioFicheiros, NamesUpToTheLimitCanBeSavedOverAgainAndAgain) {
#ifdef _WIN32
    GTEST_SKIP() << "a 255-byte name in the temporary folder passes Windows' 260-character path "
                    "limit";
#endif
    for (const int comprimento : {249, 250, 252, 255}) {
        const QString nome = QString(comprimento - 4, u'n') + QStringLiteral(".smd");
        SCOPED_TRACE(comprimento);
        for (int vez = 1; vez <= 3; ++vez) {
            const TSomadoBoard board = TabuleiroGerado(6, TNivelDificuldade::ndFacil, vez);
            EXPECT_EQ(MensagemDoErro([&] { GravarFicheiroPuzzle(Caminho(nome), board); }),
                      "(sem erro)");
            EXPECT_EQ(ConteudoDe(Caminho(nome)).toStdString(), TextoDoPuzzle(board).toStdString());
        }
        ASSERT_TRUE(QFile::remove(Caminho(nome)));
    }
    EXPECT_TRUE(QDir(FPasta.path()).isEmpty());
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

TEST_F(ioFicheiros, FailedSaveNamesTheFileAndLeavesEverythingAsItWas) {
    struct TCaso {
        const char* Alvo;
        const char* Nome;
    };
    static constexpr std::array<TCaso, 4> CCasos{{
        {"nao-existe/novo.smd", "novo.smd"},    // folder missing
        {"pasta.smd", "pasta.smd"},             // the target is a folder
        {"existente.smd/novo.smd", "novo.smd"}, // the "folder" is the existing puzzle
        {"", ""}, // no name at all: the temporary file opens, only the commit fails
    }};
    Escrever(Caminho("existente.smd"), BytesDoExemplo());
    ASSERT_TRUE(QDir(FPasta.path()).mkdir("pasta.smd"));
    Escrever(Caminho("pasta.smd/dentro.txt"), "conteúdo");
    const auto antes = RetratoDaPasta(FPasta.path());
    const TSomadoBoard board = TabuleiroGerado(6, TNivelDificuldade::ndFacil, 1);

    for (const TCaso& caso : CCasos) {
        SCOPED_TRACE(caso.Alvo);
        const QString alvo = *caso.Alvo != '\0' ? Caminho(caso.Alvo) : QString();
        const std::string mensagem = MensagemDoErro([&] { GravarFicheiroPuzzle(alvo, board); });
        const std::string inicio = Format("Não foi possível gravar o ficheiro \"%s\": ", caso.Nome);
        EXPECT_TRUE(ComecaPor(mensagem, inicio)) << mensagem;
        EXPECT_GT(mensagem.size(), inicio.size()) << "no reason given";
        EXPECT_EQ(mensagem.find(FPasta.path().toStdString()), std::string::npos) << mensagem;
        EXPECT_EQ(RetratoDaPasta(FPasta.path()), antes);
    }
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
