// Saves that fail half-way: a full disk, a file size limit, files and folders the player may
// not change. Each must report the real cause and leave the old file byte for byte, with no
// temporary file behind. Limits and lost privileges live in a child process, so the rest of
// the test program keeps its own.
#include "ApoioSmd.h"
#include "ProcessoFilho.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

#ifndef _WIN32
#include <sys/mount.h>
#include <unistd.h>
#endif

namespace {

QByteArray ConteudoDe(const QString& ACaminho) {
    QFile ficheiro(ACaminho);
    return ficheiro.open(QIODevice::ReadOnly) ? ficheiro.readAll() : QByteArray("<não abre>");
}

void Escrever(const QString& ACaminho, const QByteArray& ABytes) {
    QFile ficheiro(ACaminho);
    ASSERT_TRUE(ficheiro.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(ficheiro.write(ABytes), ABytes.size());
}

QStringList Nomes(const QString& APasta) {
    return QDir(APasta).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

std::string Falha(const char* ANome, const char* AMotivo) {
    return Format("Não foi possível gravar o ficheiro \"%s\": %s", ANome, AMotivo);
}

// The save in the child: the error's message, or "(sem erro)".
std::string GravarNoFilho(const QString& ACaminho, const TSomadoBoard& ABoard,
                          const TOpcoesFilho& AOpcoes) {
    return NoFilho([&] { return MensagemDoErro([&] { GravarFicheiroPuzzle(ACaminho, ABoard); }); },
                   AOpcoes)
        .value_or("(the child hung or died)");
}

// A 25 × 25 board: its text (about 10 KB) is far larger than the 9 × 9 example it replaces.
const TSomadoBoard& TabuleiroGrande() {
    static const TSomadoBoard board = TabuleiroGerado(25, TNivelDificuldade::ndDificil, 77);
    return board;
}

class ioGravacaoFalha : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FPasta.isValid());
        SOMADO_PRECISA_DE_LIMITES_NO_FILHO();
#ifndef _WIN32
        if (::geteuid() == 0)
            for (QDir acima(FPasta.path()); acima.cdUp();)
                if (!(QFileInfo(acima.path()).permissions() & QFileDevice::ExeOther))
                    GTEST_SKIP() << "\"nobody\" cannot reach the temporary folder";
#endif
        // Reachable by "nobody" in the tests that drop root.
        ASSERT_TRUE(QFile::setPermissions(FPasta.path(),
                                          QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                              QFileDevice::WriteOther | QFileDevice::ExeOther));
    }
    QString Caminho(const QString& ANome) const {
        return FPasta.filePath(ANome);
    }
    QTemporaryDir FPasta;
};

constexpr QFileDevice::Permissions CTodos = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                            QFileDevice::ReadOther | QFileDevice::WriteOther;
constexpr QFileDevice::Permissions CSoLeitura =
    QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
constexpr QFileDevice::Permissions CPastaSoLeitura =
    CSoLeitura | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;

} // namespace

// Qt's buffer hid the failed write until commit(), which then renamed the cut-short file over
// the old one and reported success.
TEST_F(ioGravacaoFalha, AFileSizeLimitLeavesTheOldFileAndNoTemporaryFile) {
    Escrever(Caminho("puzzle.smd"), BytesDoExemplo());
    TOpcoesFilho opcoes;
    opcoes.LimiteFicheiro = 4096; // above the old file, below the new one
    ASSERT_LT(BytesDoExemplo().size(), opcoes.LimiteFicheiro);
    ASSERT_GT(TextoDoPuzzle(TabuleiroGrande()).size(), opcoes.LimiteFicheiro);

    EXPECT_EQ(GravarNoFilho(Caminho("puzzle.smd"), TabuleiroGrande(), opcoes),
              Falha("puzzle.smd", "o ficheiro excede o tamanho máximo permitido"));
    EXPECT_EQ(ConteudoDe(Caminho("puzzle.smd")).toStdString(), BytesDoExemplo().toStdString());
    EXPECT_EQ(Nomes(FPasta.path()), QStringList{"puzzle.smd"});
}

TEST_F(ioGravacaoFalha, PermissionsNameTheFileOrTheFolder) {
    ASSERT_TRUE(QDir(FPasta.path()).mkdir("fechada"));
    Escrever(Caminho("so-leitura.smd"), BytesDoExemplo());
    ASSERT_TRUE(QFile::setPermissions(Caminho("so-leitura.smd"), CSoLeitura));
    ASSERT_TRUE(QFile::setPermissions(Caminho("fechada"), CPastaSoLeitura));
    TOpcoesFilho opcoes;
    opcoes.SemPrivilegios = true;
    const TSomadoBoard board = TabuleiroGerado(6, TNivelDificuldade::ndFacil, 1);

    EXPECT_EQ(GravarNoFilho(Caminho("so-leitura.smd"), board, opcoes),
              Falha("so-leitura.smd", "sem permissão para alterar o ficheiro"));
    EXPECT_EQ(ConteudoDe(Caminho("so-leitura.smd")).toStdString(), BytesDoExemplo().toStdString());
    EXPECT_EQ(GravarNoFilho(Caminho("fechada/novo.smd"), board, opcoes),
              Falha("novo.smd", "sem permissão para criar ficheiros nessa pasta"));
    EXPECT_TRUE(Nomes(Caminho("fechada")).isEmpty());
}

// A file the player may write, in a folder where no new file (so no temporary file) can be
// made: it is written in place.
TEST_F(ioGravacaoFalha, AWritableFileInAClosedFolderIsWrittenInPlace) {
    ASSERT_TRUE(QDir(FPasta.path()).mkdir("fechada"));
    const QString alvo = Caminho("fechada/jogo.smd");
    Escrever(alvo, QByteArray(20000, 'x')); // longer than the new text: the rest must go
    ASSERT_TRUE(QFile::setPermissions(alvo, CTodos));
    ASSERT_TRUE(QFile::setPermissions(Caminho("fechada"), CPastaSoLeitura));
    TOpcoesFilho opcoes;
    opcoes.SemPrivilegios = true;

    EXPECT_EQ(GravarNoFilho(alvo, TabuleiroGrande(), opcoes), "(sem erro)");
    EXPECT_EQ(ConteudoDe(alvo).toStdString(), TextoDoPuzzle(TabuleiroGrande()).toStdString());
    EXPECT_EQ(Nomes(Caminho("fechada")), QStringList{"jogo.smd"});
}

// Written in place and running out of room: the old bytes go back.
TEST_F(ioGravacaoFalha, InPlaceWriteThatDoesNotFitPutsTheOldBytesBack) {
    ASSERT_TRUE(QDir(FPasta.path()).mkdir("fechada"));
    const QString alvo = Caminho("fechada/jogo.smd");
    Escrever(alvo, BytesDoExemplo());
    ASSERT_TRUE(QFile::setPermissions(alvo, CTodos));
    ASSERT_TRUE(QFile::setPermissions(Caminho("fechada"), CPastaSoLeitura));
    TOpcoesFilho opcoes;
    opcoes.SemPrivilegios = true;
    opcoes.LimiteFicheiro = 4096;

    EXPECT_EQ(GravarNoFilho(alvo, TabuleiroGrande(), opcoes),
              Falha("jogo.smd", "o ficheiro excede o tamanho máximo permitido"));
    EXPECT_EQ(ConteudoDe(alvo).toStdString(), BytesDoExemplo().toStdString());
    EXPECT_EQ(Nomes(Caminho("fechada")), QStringList{"jogo.smd"});
}

namespace {

// A 64 KB tmpfs that the test mounts and fills; only root may mount one.
class ioDiscoCheio : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FPasta.isValid());
#ifdef _WIN32
        GTEST_SKIP() << "a small full disk is a tmpfs mounted for the test: Linux only";
#else
        if (::geteuid() != 0) GTEST_SKIP() << "mounting a tmpfs needs root";
        FPonto = QFile::encodeName(FPasta.path());
        if (::mount("tmpfs", FPonto.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") != 0)
            GTEST_SKIP() << "mount not permitted here: " << std::strerror(errno);
        FMontado = true;
#endif
    }
    void TearDown() override {
#ifndef _WIN32
        if (FMontado) ::umount2(FPonto.constData(), MNT_DETACH);
#endif
    }
    QString Caminho(const QString& ANome) const {
        return FPasta.filePath(ANome);
    }
    // Takes every free byte, whatever the page size and the file system's own overhead.
    void Encher() {
        QFile enchimento(Caminho("enchimento"));
        ASSERT_TRUE(enchimento.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray bloco(512, 'z');
        while (enchimento.write(bloco) == bloco.size()) {}
        while (enchimento.write(bloco.left(1)) == 1) {}
    }

    QTemporaryDir FPasta;
    QByteArray FPonto;
    bool FMontado = false;
};

} // namespace

TEST_F(ioDiscoCheio, SavingOverAFileOnAFullDiskKeepsItAndSaysTheDiskIsFull) {
    Escrever(Caminho("puzzle.smd"), BytesDoExemplo());
    Encher();
    EXPECT_EQ(
        MensagemDoErro([&] { GravarFicheiroPuzzle(Caminho("puzzle.smd"), TabuleiroGrande()); }),
        Falha("puzzle.smd", "o disco está cheio"));
    EXPECT_EQ(ConteudoDe(Caminho("puzzle.smd")).toStdString(), BytesDoExemplo().toStdString());
    EXPECT_EQ(Nomes(FPasta.path()), (QStringList{"enchimento", "puzzle.smd"}));

    // A text small enough for Qt's buffer (as a single-puzzle PDF is) fails the same way.
    const QByteArray pequeno(3000, 'p');
    EXPECT_EQ(MensagemDoErro([&] { GravarFicheiroInteiro(Caminho("puzzle.smd"), pequeno); }),
              Falha("puzzle.smd", "o disco está cheio"));
    EXPECT_EQ(ConteudoDe(Caminho("puzzle.smd")).toStdString(), BytesDoExemplo().toStdString());
    EXPECT_EQ(Nomes(FPasta.path()), (QStringList{"enchimento", "puzzle.smd"}));
}
