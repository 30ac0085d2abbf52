// The safe whole-file write: replacing a file, links, long names, and saves that fail
// half-way: a full disk, a file size limit, files and folders the player may not change. Each
// failure must report the real cause and leave the old file byte for byte, with no temporary
// file behind. Limits and lost privileges live in a child process, so the rest of the test
// program keeps its own. The bytes written are puzzle texts, as a save writes them.
#include "ApoioFicheiros.h"
#include "ApoioSmd.h"
#include "ProcessoFilho.h"
#include "io/GravacaoSegura.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>

#ifndef _WIN32
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

namespace {

std::string Falha(const char* ANome, const char* AMotivo) {
    return Format("Não foi possível gravar o ficheiro \"%s\": %s", ANome, AMotivo);
}

// The save in the child: the error's message, or "(sem erro)".
std::string GravarNoFilho(const QString& ACaminho, const TSomadoBoard& ABoard,
                          const TOpcoesFilho& AOpcoes) {
    return NoFilho(
               [&] {
                   return MensagemDoErro(
                       [&] { GravarFicheiroInteiro(ACaminho, TextoDoPuzzle(ABoard)); });
               },
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

namespace {

// Every file and folder below the folder, with each file's bytes: a failed save must leave
// all of it as it was, with no temporary file behind.
std::map<QString, QByteArray> RetratoDaPasta(const QString& APasta) {
    std::map<QString, QByteArray> retrato;
    QDirIterator it(APasta, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString caminho = it.next();
        retrato[caminho] = it.fileInfo().isDir() ? QByteArray("<dir>") : ConteudoOuNaoAbre(caminho);
    }
    return retrato;
}

class ioGravacaoSegura : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(FPasta.isValid()); }
    QString Caminho(const QString& ANome) const { return FPasta.filePath(ANome); }

    QTemporaryDir FPasta;
};

} // namespace

TEST_F(ioGravacaoSegura, SavingOverALongerFileLeavesNothingOfIt) {
    Escrever(Caminho("puzzle.smd"), QByteArray(100000, 'x'));
    GravarFicheiroInteiro(Caminho("puzzle.smd"), TextoDoPuzzle(TabuleiroDoExemplo()));
    EXPECT_EQ(ConteudoOuNaoAbre(Caminho("puzzle.smd")).toStdString(),
              BytesDoExemplo().toStdString());
}

// A file with several hard links is one file under several names: every name sees the new
// content, and the file stays one file.
TEST_F(ioGravacaoSegura, SavingOverAHardLinkedFileChangesItUnderEveryName) {
#ifdef _WIN32
    GTEST_SKIP() << "on Windows a save replaces the file, so a second hard link keeps the old text";
#endif
    Escrever(Caminho("puzzle.smd"), QByteArray(50000, 'x')); // longer: the rest must go
    std::error_code erro;
    std::filesystem::create_hard_link(Caminho("puzzle.smd").toStdU16String(),
                                      Caminho("copia.smd").toStdU16String(), erro);
    ASSERT_FALSE(erro) << erro.message();
    const TSomadoBoard board = TabuleiroGerado(7, TNivelDificuldade::ndMedio, 3);
    GravarFicheiroInteiro(Caminho("puzzle.smd"), TextoDoPuzzle(board));
    EXPECT_EQ(ConteudoOuNaoAbre(Caminho("puzzle.smd")).toStdString(),
              TextoDoPuzzle(board).toStdString());
    EXPECT_EQ(ConteudoOuNaoAbre(Caminho("copia.smd")).toStdString(),
              TextoDoPuzzle(board).toStdString());
    EXPECT_EQ(std::filesystem::hard_link_count(Caminho("copia.smd").toStdU16String()), 2u);
    EXPECT_EQ(QDir(FPasta.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{"copia.smd", "puzzle.smd"}));
}

// A symbolic link is followed: its target gets the new content and the link stays a link.
TEST_F(ioGravacaoSegura, SavingThroughASymbolicLinkWritesItsTarget) {
#ifdef _WIN32
    GTEST_SKIP() << "Qt makes a shortcut (.lnk) on Windows, not a symbolic link";
#endif
    Escrever(Caminho("alvo.smd"), BytesDoExemplo());
    ASSERT_TRUE(QFile::link(Caminho("alvo.smd"), Caminho("atalho.smd")));
    const TSomadoBoard board = TabuleiroGerado(8, TNivelDificuldade::ndFacil, 2);
    GravarFicheiroInteiro(Caminho("atalho.smd"), TextoDoPuzzle(board));
    EXPECT_TRUE(QFileInfo(Caminho("atalho.smd")).isSymLink());
    EXPECT_EQ(ConteudoOuNaoAbre(Caminho("alvo.smd")).toStdString(),
              TextoDoPuzzle(board).toStdString());
}

// Names up to the file system's limit of 255 bytes: saving over one (which needs a temporary
// file beside it) works as often as it is asked.
TEST_F(ioGravacaoSegura, NamesUpToTheLimitCanBeSavedOverAgainAndAgain) {
#ifdef _WIN32
    GTEST_SKIP() << "a 255-byte name in the temporary folder passes Windows' 260-character path "
                    "limit";
#endif
    for (const int comprimento : {249, 250, 252, 255}) {
        const QString nome = QString(comprimento - 4, u'n') + QStringLiteral(".smd");
        SCOPED_TRACE(comprimento);
        for (int vez = 1; vez <= 3; ++vez) {
            const TSomadoBoard board = TabuleiroGerado(6, TNivelDificuldade::ndFacil, vez);
            EXPECT_EQ(
                MensagemDoErro([&] { GravarFicheiroInteiro(Caminho(nome), TextoDoPuzzle(board)); }),
                "(sem erro)");
            EXPECT_EQ(ConteudoOuNaoAbre(Caminho(nome)).toStdString(),
                      TextoDoPuzzle(board).toStdString());
        }
        ASSERT_TRUE(QFile::remove(Caminho(nome)));
    }
    EXPECT_TRUE(QDir(FPasta.path()).isEmpty());
}

TEST_F(ioGravacaoSegura, FailedSaveNamesTheFileAndLeavesEverythingAsItWas) {
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
        const std::string mensagem =
            MensagemDoErro([&] { GravarFicheiroInteiro(alvo, TextoDoPuzzle(board)); });
        const std::string inicio = Format("Não foi possível gravar o ficheiro \"%s\": ", caso.Nome);
        EXPECT_TRUE(ComecaPor(mensagem, inicio)) << mensagem;
        EXPECT_GT(mensagem.size(), inicio.size()) << "no reason given";
        EXPECT_EQ(mensagem.find(FPasta.path().toStdString()), std::string::npos) << mensagem;
        EXPECT_EQ(RetratoDaPasta(FPasta.path()), antes);
    }
}

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
    EXPECT_EQ(ConteudoOuNaoAbre(Caminho("puzzle.smd")).toStdString(),
              BytesDoExemplo().toStdString());
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
    EXPECT_EQ(ConteudoOuNaoAbre(Caminho("so-leitura.smd")).toStdString(),
              BytesDoExemplo().toStdString());
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
    EXPECT_EQ(ConteudoOuNaoAbre(alvo).toStdString(),
              TextoDoPuzzle(TabuleiroGrande()).toStdString());
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
    EXPECT_EQ(ConteudoOuNaoAbre(alvo).toStdString(), BytesDoExemplo().toStdString());
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
    EXPECT_EQ(MensagemDoErro([&] {
                  GravarFicheiroInteiro(Caminho("puzzle.smd"), TextoDoPuzzle(TabuleiroGrande()));
              }),
              Falha("puzzle.smd", "o disco está cheio"));
    EXPECT_EQ(ConteudoOuNaoAbre(Caminho("puzzle.smd")).toStdString(),
              BytesDoExemplo().toStdString());
    EXPECT_EQ(Nomes(FPasta.path()), (QStringList{"enchimento", "puzzle.smd"}));

    // A text small enough for Qt's buffer (as a single-puzzle PDF is) fails the same way.
    const QByteArray pequeno(3000, 'p');
    EXPECT_EQ(MensagemDoErro([&] { GravarFicheiroInteiro(Caminho("puzzle.smd"), pequeno); }),
              Falha("puzzle.smd", "o disco está cheio"));
    EXPECT_EQ(ConteudoOuNaoAbre(Caminho("puzzle.smd")).toStdString(),
              BytesDoExemplo().toStdString());
    EXPECT_EQ(Nomes(FPasta.path()), (QStringList{"enchimento", "puzzle.smd"}));
}

#ifndef _WIN32
namespace {

// A tmpfs of the given size that the test mounts; only root may mount one.
class ioDiscoMontado : public ::testing::Test {
protected:
    void Montar(const char* AOpcoes) {
        ASSERT_TRUE(FPasta.isValid());
        if (::geteuid() != 0) GTEST_SKIP() << "mounting a tmpfs needs root";
        FPonto = QFile::encodeName(FPasta.path());
        if (::mount("tmpfs", FPonto.constData(), "tmpfs", MS_NOSUID | MS_NODEV, AOpcoes) != 0)
            GTEST_SKIP() << "mount not permitted here: " << std::strerror(errno);
        FMontado = true;
    }
    void TearDown() override {
        if (FMontado) ::umount2(FPonto.constData(), MNT_DETACH);
    }
    QString Caminho(const QString& ANome) const { return FPasta.filePath(ANome); }

    QTemporaryDir FPasta;
    QByteArray FPonto;
    bool FMontado = false;
};

} // namespace

// Root may write anywhere the permission bits are concerned, but not on a read-only disk;
// the message says so instead of blaming permissions.
TEST_F(ioDiscoMontado, AReadOnlyDiskIsNamedAsSuchEvenForRoot) {
    Montar("size=1m");
    if (!FMontado) return;
    Escrever(Caminho("puzzle.smd"), BytesDoExemplo());
    ASSERT_EQ(::mount("tmpfs", FPonto.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=1m"), 0)
        << std::strerror(errno);
    const TSomadoBoard board = TabuleiroGerado(6, TNivelDificuldade::ndFacil, 1);
    EXPECT_EQ(
        MensagemDoErro([&] { GravarFicheiroInteiro(Caminho("puzzle.smd"), TextoDoPuzzle(board)); }),
        Falha("puzzle.smd", "o disco só permite leitura"));
    EXPECT_EQ(
        MensagemDoErro([&] { GravarFicheiroInteiro(Caminho("novo.smd"), TextoDoPuzzle(board)); }),
        Falha("novo.smd", "o disco só permite leitura"));
    EXPECT_EQ(MensagemDoErro([&] { VerificarDestino(Caminho("novo.pdf")); }),
              Falha("novo.pdf", "o disco só permite leitura"));
    EXPECT_EQ(ConteudoOuNaoAbre(Caminho("puzzle.smd")).toStdString(),
              BytesDoExemplo().toStdString());
}

// An old file larger than what the in-place route keeps in memory: its copy goes to a
// temporary file (here, the full disk has no room beside it, so to the system's temporary
// folder), and comes back in full when the new bytes do not fit.
TEST_F(ioDiscoMontado, InPlaceWriteOfALargeFileOnAFullDiskPutsEveryOldByteBack) {
    Montar("size=4m");
    if (!FMontado) return;
    QByteArray antigo(2 * 1024 * 1024 + 123, 'a');
    for (qsizetype i = 0; i < antigo.size(); i += 997)
        antigo[i] = static_cast<char>('0' + i % 10);
    Escrever(Caminho("lote.pdf"), antigo);
    // A second name makes the save go in place.
    ASSERT_EQ(::link(QFile::encodeName(Caminho("lote.pdf")).constData(),
                     QFile::encodeName(Caminho("outro.pdf")).constData()),
              0);
    {
        QFile enchimento(Caminho("enchimento"));
        ASSERT_TRUE(enchimento.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray bloco(4096, 'z');
        while (enchimento.write(bloco) == bloco.size()) {}
        while (enchimento.write(bloco.left(1)) == 1) {}
    }
    const QByteArray novo(3 * 1024 * 1024, 'n');
    EXPECT_EQ(MensagemDoErro([&] { GravarFicheiroInteiro(Caminho("lote.pdf"), novo); }),
              Falha("lote.pdf", "o disco está cheio"));
    EXPECT_TRUE(ConteudoOuNaoAbre(Caminho("lote.pdf")) == antigo);
    EXPECT_TRUE(ConteudoOuNaoAbre(Caminho("outro.pdf")) == antigo);
    EXPECT_EQ(Nomes(FPasta.path()), (QStringList{"enchimento", "lote.pdf", "outro.pdf"}));
}

namespace {

struct stat Estado(const QString& ACaminho) {
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(ACaminho).constData(), &info), 0);
    return info;
}

} // namespace

// Root saving over another user's file leaves it that user's, with its permissions.
TEST_F(ioGravacaoFalha, TheReplacedFileKeepsItsOwnerGroupAndPermissions) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a file to another user needs root";
    const QString alvo = Caminho("dele.smd");
    Escrever(alvo, BytesDoExemplo());
    ASSERT_EQ(::chown(QFile::encodeName(alvo).constData(), CNinguem, CNinguem), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(alvo).constData(), 0640), 0);
    const TSomadoBoard board = TabuleiroGerado(6, TNivelDificuldade::ndFacil, 1);
    GravarFicheiroInteiro(alvo, TextoDoPuzzle(board));
    const struct stat depois = Estado(alvo);
    EXPECT_EQ(depois.st_uid, CNinguem);
    EXPECT_EQ(depois.st_gid, CNinguem);
    EXPECT_EQ(depois.st_mode & 07777, 0640u);
    EXPECT_EQ(ConteudoOuNaoAbre(alvo).toStdString(), TextoDoPuzzle(board).toStdString());
}

// A new file gets what any new file of the user gets: read and write for all, less the
// user's mask.
TEST_F(ioGravacaoFalha, ANewFileGetsTheUsersUsualPermissions) {
    const mode_t mascara = ::umask(022);
    GravarFicheiroInteiro(Caminho("novo.smd"),
                          TextoDoPuzzle(TabuleiroGerado(6, TNivelDificuldade::ndFacil, 1)));
    ::umask(mascara);
    EXPECT_EQ(Estado(Caminho("novo.smd")).st_mode & 07777, 0644u);
}

// Only a regular file is ever replaced: a device, a FIFO or a link to one stays what it was.
// Only devices made in the test's own folder are used, so that a save that wrongly goes
// ahead can never touch the system's own.
TEST_F(ioGravacaoFalha, DevicesFifosAndLinksToThemAreNeverReplaced) {
    const QString fifo = Caminho("canal.smd");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0666), 0);
    ASSERT_TRUE(QFile::link(fifo, Caminho("para-canal.pdf")));
    std::vector<std::pair<QString, const char*>> casos = {
        {fifo, "canal.smd"}, {Caminho("para-canal.pdf"), "para-canal.pdf"}};
    const QString dispositivo = Caminho("disp.smd");
    if (::geteuid() == 0 &&
        ::mknod(QFile::encodeName(dispositivo).constData(), S_IFCHR | 0666, ::makedev(1, 3)) == 0) {
        ASSERT_TRUE(QFile::link(dispositivo, Caminho("para-disp.smd")));
        casos.emplace_back(dispositivo, "disp.smd");
        casos.emplace_back(Caminho("para-disp.smd"), "para-disp.smd");
    }
    const TSomadoBoard board = TabuleiroGerado(6, TNivelDificuldade::ndFacil, 1);
    for (const auto& [caminho, nome] : casos) {
        SCOPED_TRACE(nome);
        const std::string esperado =
            Falha(nome, "não é um ficheiro normal (pode ser um dispositivo ou um canal)");
        EXPECT_EQ(MensagemDoErro([&] { GravarFicheiroInteiro(caminho, TextoDoPuzzle(board)); }),
                  esperado);
        EXPECT_EQ(MensagemDoErro([&] { VerificarDestino(caminho); }), esperado);
    }
    for (const auto& [caminho, nome] : casos) {
        SCOPED_TRACE(nome);
        const QFileInfo info(caminho);
        EXPECT_FALSE(info.isFile());
        EXPECT_EQ(info.isSymLink(), QString::fromLatin1(nome).startsWith("para-"));
    }
    EXPECT_EQ(Nomes(FPasta.path()).size(), static_cast<qsizetype>(casos.size()));
}

// A link into a folder that does not exist names the missing folder.
TEST_F(ioGravacaoFalha, ALinkIntoAMissingFolderSaysTheFolderDoesNotExist) {
    ASSERT_TRUE(QFile::link(Caminho("sumiu/alvo.smd"), Caminho("atalho.smd")));
    EXPECT_EQ(MensagemDoErro([&] {
                  GravarFicheiroInteiro(
                      Caminho("atalho.smd"),
                      TextoDoPuzzle(TabuleiroGerado(6, TNivelDificuldade::ndFacil, 1)));
              }),
              Falha("atalho.smd", "a pasta não existe"));
    EXPECT_EQ(Nomes(FPasta.path()), QStringList{"atalho.smd"});
}
#else

// What these need has no Windows counterpart the tests could use: mounting a file system,
// another user, POSIX permission bits, FIFOs and devices, symbolic links made without special
// rights.
#define SOMADO_SO_POSIX_F(ASuite, ANome, AMotivo)                                                  \
    TEST_F(ASuite, ANome) {                                                                        \
        GTEST_SKIP() << AMotivo;                                                                   \
    }
#define SOMADO_SO_POSIX(ASuite, ANome, AMotivo)                                                    \
    TEST(ASuite, ANome) {                                                                          \
        GTEST_SKIP() << AMotivo;                                                                   \
    }
SOMADO_SO_POSIX(ioDiscoMontado, AReadOnlyDiskIsNamedAsSuchEvenForRoot,
                "a read-only disk is a tmpfs mounted for the test: Linux only")
SOMADO_SO_POSIX(ioDiscoMontado, InPlaceWriteOfALargeFileOnAFullDiskPutsEveryOldByteBack,
                "a small full disk is a tmpfs mounted for the test: Linux only")
SOMADO_SO_POSIX_F(ioGravacaoFalha, TheReplacedFileKeepsItsOwnerGroupAndPermissions,
                  "owners and POSIX permission bits: not on Windows")
SOMADO_SO_POSIX_F(ioGravacaoFalha, ANewFileGetsTheUsersUsualPermissions,
                  "the umask and POSIX permission bits: not on Windows")
SOMADO_SO_POSIX_F(ioGravacaoFalha, DevicesFifosAndLinksToThemAreNeverReplaced,
                  "FIFOs and device files: not on Windows")
SOMADO_SO_POSIX_F(ioGravacaoFalha, ALinkIntoAMissingFolderSaysTheFolderDoesNotExist,
                  "symbolic links: Qt makes shortcuts on Windows")
#undef SOMADO_SO_POSIX
#undef SOMADO_SO_POSIX_F
#endif
