#include "io/GravacaoSegura.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>
#include <memory>
#include <string>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#endif

namespace {

std::string Utf8(const QString& ATexto) {
    return ATexto.toStdString();
}

// The longest name of one file and of a whole path most file systems take, in bytes.
constexpr qsizetype CNomeMaximo = 255;
constexpr qsizetype CCaminhoMaximo = 4095;

// The system's error codes say why; the player reads it in Portuguese (the system's own texts
// are English). Where the code alone is too vague the file system is asked again.
QString MotivoDoErro(int AErro) {
    switch (AErro) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("o disco está cheio");
    case EFBIG:
        return QStringLiteral("o ficheiro excede o tamanho máximo permitido");
    case EROFS:
        return QStringLiteral("o disco só permite leitura");
    case EIO:
        return QStringLiteral("erro de escrita no disco");
    case ENAMETOOLONG:
        return QStringLiteral("o nome do ficheiro é demasiado comprido");
    default:
        return QStringLiteral("erro inesperado do sistema de ficheiros");
    }
}

// Why the file (or the temporary file beside it) could not be created.
QString MotivoDaCriacao(const QString& ACaminho, int AErro) {
    const QFileInfo info(ACaminho);
    if (ACaminho.isEmpty()) return QStringLiteral("falta o nome do ficheiro");
    if (AErro == ENAMETOOLONG || NomeDemasiadoComprido(ACaminho))
        return QStringLiteral("o nome do ficheiro é demasiado comprido");
    if (info.isDir()) return QStringLiteral("já existe uma pasta com esse nome");
    const QFileInfo pasta(info.absolutePath());
    if (!pasta.isDir()) return QStringLiteral("a pasta não existe");
    if (info.exists() && !info.isWritable())
        return QStringLiteral("sem permissão para alterar o ficheiro");
    if (!pasta.isWritable() || AErro == EACCES || AErro == EPERM)
        return QStringLiteral("sem permissão para criar ficheiros nessa pasta");
    return MotivoDoErro(AErro);
}

ESomadoError FalhaDaGravacao(const QString& ACaminho, const QString& AMotivo) {
    return ESomadoError(Format("Não foi possível gravar o ficheiro \"%s\": %s",
                               Utf8(NomeSemPasta(ACaminho)).c_str(), Utf8(AMotivo).c_str()));
}

// The file exists and may be written, but its folder takes no new file, so no temporary
// file can be made beside it.
bool SoPodeEscreverPorCima(const QString& ACaminho, int AErro) {
    const QFileInfo info(ACaminho);
    return info.isFile() && info.isWritable() &&
           (AErro == EACCES || AErro == EPERM || !QFileInfo(info.absolutePath()).isWritable());
}

bool SincronizarComODisco(QFile& AFicheiro) {
#ifdef Q_OS_UNIX
    return ::fsync(AFicheiro.handle()) == 0;
#else
    return AFicheiro.flush();
#endif
}

// The old bytes of a file about to be written in place, to put back if the new ones do not
// fit. A small file is kept in memory; a larger one is copied in pieces to a temporary file
// (beside it where its folder allows, else in the system's temporary folder), so that the
// memory used stays bounded whatever the file's size.
class TCopiaDoAntigo {
public:
    static constexpr qint64 CEmMemoria = 1024 * 1024;
    static constexpr qint64 CPedaco = 1024 * 1024;

    // False when the copy could not be made (no room for it anywhere).
    bool Fazer(QFile& AFicheiro) {
        FTamanho = AFicheiro.size();
        if (!AFicheiro.seek(0)) return false;
        if (FTamanho <= CEmMemoria) {
            FBytes = AFicheiro.read(FTamanho);
            return FBytes.size() == FTamanho;
        }
        for (const QString& pasta :
             {QFileInfo(AFicheiro.fileName()).absolutePath(), QDir::tempPath()}) {
            FCopia = std::make_unique<QTemporaryFile>(pasta + QStringLiteral("/.somado-XXXXXX"));
            if (FCopia->open() && Copiar(AFicheiro, *FCopia)) return true;
        }
        FCopia.reset();
        return false;
    }

    bool Repor(QFile& AFicheiro) {
        if (!FCopia)
            return AFicheiro.seek(0) && AFicheiro.write(FBytes) == FBytes.size() &&
                   AFicheiro.resize(FTamanho);
        return Copiar(*FCopia, AFicheiro) && AFicheiro.resize(FTamanho);
    }

private:
    static bool Copiar(QFile& ADe, QFile& APara) {
        if (!ADe.seek(0) || !APara.seek(0)) return false;
        while (!ADe.atEnd()) {
            const QByteArray pedaco = ADe.read(CPedaco);
            if (pedaco.isEmpty() || APara.write(pedaco) != pedaco.size()) return false;
        }
        return ADe.error() == QFileDevice::NoError && APara.flush();
    }

    qint64 FTamanho = 0;
    QByteArray FBytes;
    std::unique_ptr<QTemporaryFile> FCopia;
};

// Where no temporary file can replace the file (its folder takes no new file, or other hard
// links must see the new content): the new bytes go over the old ones without cutting the
// file first, and if they do not all fit, the old bytes (which fit in the room they already
// had) go back. What remains unprotected is a crash or power cut in the middle of the write.
void GravarPorCima(const QString& ACaminho, const QString& AAlvo, const QByteArray& ABytes) {
    QFile ficheiro(AAlvo);
    if (!ficheiro.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        throw FalhaDaGravacao(ACaminho, MotivoDaCriacao(AAlvo, errno));
    TCopiaDoAntigo antigo;
    if (!antigo.Fazer(ficheiro))
        throw FalhaDaGravacao(ACaminho,
                              ficheiro.error() != QFileDevice::NoError
                                  ? QStringLiteral("erro de leitura no disco")
                                  : QStringLiteral("não há espaço para uma cópia de segurança do "
                                                   "ficheiro antigo"));
    const auto escrever = [&ficheiro](const QByteArray& ATexto) {
        return ficheiro.seek(0) && ficheiro.write(ATexto) == ATexto.size() &&
               ficheiro.resize(ATexto.size()) && SincronizarComODisco(ficheiro);
    };
    errno = 0;
    if (escrever(ABytes)) return;
    const int erro = errno;
    QString motivo = MotivoDoErro(erro);
    if (!antigo.Repor(ficheiro) || !SincronizarComODisco(ficheiro))
        motivo += QStringLiteral("; o ficheiro antigo pode ter ficado danificado");
    throw FalhaDaGravacao(ACaminho, motivo);
}

// The file a save really writes: a symbolic link is followed (the link stays a link and its
// target gets the new content), through any chain of links.
QString DestinoReal(const QString& ACaminho) {
    QString alvo = QFileInfo(ACaminho).absoluteFilePath();
    for (int passos = 0; passos < 40; ++passos) {
        const QFileInfo info(alvo);
        if (!info.isSymLink()) break;
        alvo = info.symLinkTarget();
    }
    return alvo;
}

bool DiscoSoDeLeitura(const QString& AAlvo) {
#ifdef Q_OS_UNIX
    struct statvfs disco {};
    const QFileInfo info(AAlvo);
    const QString onde = info.exists() ? AAlvo : info.absolutePath();
    return ::statvfs(QFile::encodeName(onde).constData(), &disco) == 0 &&
           (disco.f_flag & ST_RDONLY) != 0;
#else
    Q_UNUSED(AAlvo);
    return false;
#endif
}

// What can be told before writing a byte: the causes that no permission changes, so that
// they are named even for root, and a target that is no regular file.
void VerificarAntesDeGravar(const QString& ACaminho, const QString& AAlvo) {
    if (ACaminho.isEmpty())
        throw FalhaDaGravacao(ACaminho, QStringLiteral("falta o nome do ficheiro"));
    if (NomeDemasiadoComprido(ACaminho) || NomeDemasiadoComprido(AAlvo))
        throw FalhaDaGravacao(ACaminho, QStringLiteral("o nome do ficheiro é demasiado comprido"));
    const QFileInfo info(AAlvo);
    if (!QFileInfo(info.absolutePath()).isDir())
        throw FalhaDaGravacao(ACaminho, QStringLiteral("a pasta não existe"));
    if (DiscoSoDeLeitura(AAlvo))
        throw FalhaDaGravacao(ACaminho, QStringLiteral("o disco só permite leitura"));
    if (info.isDir())
        throw FalhaDaGravacao(ACaminho, QStringLiteral("já existe uma pasta com esse nome"));
    if (info.exists() && !info.isFile())
        throw FalhaDaGravacao(
            ACaminho,
            QStringLiteral("não é um ficheiro normal (pode ser um dispositivo ou um canal)"));
    // Replacing it through its folder would get round the file's own protection.
    if (info.exists() && !info.isWritable())
        throw FalhaDaGravacao(ACaminho, QStringLiteral("sem permissão para alterar o ficheiro"));
}

#ifdef Q_OS_UNIX
bool EscreverTudo(int AFd, const QByteArray& ABytes) {
    for (qsizetype feito = 0; feito < ABytes.size();) {
        const ssize_t n =
            ::write(AFd, ABytes.constData() + feito, static_cast<size_t>(ABytes.size() - feito));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        feito += n;
    }
    return true;
}

// The new file takes the old one's owner, group and permissions, as far as the user may set
// them; a new name gets what any new file of the user gets.
void HerdarDono(int AFd, const struct stat* AAntigo) {
    if (!AAntigo) {
        const mode_t mascara = ::umask(0);
        ::umask(mascara);
        ::fchmod(AFd, 0666 & ~mascara);
        return;
    }
    if (::fchown(AFd, AAntigo->st_uid, AAntigo->st_gid) != 0) {
        // Giving the file away takes privileges; the group may still be kept.
        [[maybe_unused]] const int grupo = ::fchown(AFd, static_cast<uid_t>(-1), AAntigo->st_gid);
    }
    ::fchmod(AFd, AAntigo->st_mode & 07777);
}

// The whole text goes to a temporary file beside the target, with a short name of its own
// (the target's name plus a suffix could pass the file system's limit), which takes the
// target's place only once every byte is on disk.
void GravarPorSubstituicao(const QString& ACaminho, const QString& AAlvo, const QByteArray& ABytes,
                           const struct stat* AAntigo) {
    QTemporaryFile temporario(QFileInfo(AAlvo).absolutePath() + QStringLiteral("/.somado-XXXXXX"));
    errno = 0;
    if (!temporario.open()) {
        const int erro = errno;
        if (SoPodeEscreverPorCima(AAlvo, erro)) {
            GravarPorCima(ACaminho, AAlvo, ABytes);
            return;
        }
        throw FalhaDaGravacao(ACaminho, MotivoDaCriacao(AAlvo, erro));
    }
    const int fd = temporario.handle();
    errno = 0;
    if (!EscreverTudo(fd, ABytes) || ::fsync(fd) != 0)
        throw FalhaDaGravacao(ACaminho, MotivoDoErro(errno));
    HerdarDono(fd, AAntigo);
    errno = 0;
    if (::rename(QFile::encodeName(temporario.fileName()).constData(),
                 QFile::encodeName(AAlvo).constData()) != 0) {
        const int erro = errno;
        throw FalhaDaGravacao(ACaminho, erro == EACCES || erro == EPERM
                                            ? MotivoDaCriacao(AAlvo, erro)
                                            : MotivoDoErro(erro));
    }
    temporario.setAutoRemove(false);
}
#else
// Windows: Qt's own safe save, whose temporary file replaces the old file on commit().
void GravarPorQSaveFile(const QString& ACaminho, const QString& AAlvo, const QByteArray& ABytes) {
    QSaveFile ficheiro(AAlvo);
    // Unbuffered, so that the result of write() is the file system's own. Through Qt's buffer
    // a full disk shows only inside commit(), which then still puts the cut-short temporary
    // file in place of the old one.
    if (!ficheiro.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const int erro = errno;
        if (SoPodeEscreverPorCima(AAlvo, erro)) {
            GravarPorCima(ACaminho, AAlvo, ABytes);
            return;
        }
        throw FalhaDaGravacao(ACaminho, MotivoDaCriacao(AAlvo, erro));
    }
    errno = 0;
    if (ficheiro.write(ABytes) != ABytes.size() || !ficheiro.flush() ||
        ficheiro.error() != QFileDevice::NoError) {
        const int erro = errno;
        // The temporary file goes with the object; the old file was never touched.
        ficheiro.cancelWriting();
        throw FalhaDaGravacao(ACaminho, MotivoDoErro(erro));
    }
    errno = 0;
    if (!ficheiro.commit()) {
        const int erro = errno;
        throw FalhaDaGravacao(ACaminho, erro == EACCES || erro == EPERM
                                            ? MotivoDaCriacao(AAlvo, erro)
                                            : MotivoDoErro(erro));
    }
}
#endif

} // namespace

bool NomeDemasiadoComprido(const QString& ACaminho) {
    const QFileInfo info(ACaminho);
    return QFile::encodeName(info.fileName()).size() > CNomeMaximo ||
           QFile::encodeName(info.absoluteFilePath()).size() > CCaminhoMaximo;
}

QString NomeSemPasta(const QString& ACaminho) {
    // Messages show only the file's name: the folder is known to the player and makes the
    // text too long for a dialog. A name may hold control characters, shown visibly.
    return TextoCitado(QFileInfo(ACaminho).fileName(), CNomeMaximo);
}

void VerificarDestino(const QString& ACaminho) {
    const QString alvo = DestinoReal(ACaminho);
    VerificarAntesDeGravar(ACaminho, alvo);
    QTemporaryFile prova(QFileInfo(alvo).absolutePath() + QStringLiteral("/.somado-XXXXXX"));
    errno = 0;
    if (prova.open()) return;
    const int erro = errno;
    if (!SoPodeEscreverPorCima(alvo, erro))
        throw FalhaDaGravacao(ACaminho, MotivoDaCriacao(alvo, erro));
}

void GravarFicheiroInteiro(const QString& ACaminho, const QByteArray& ABytes) {
    const QString alvo = DestinoReal(ACaminho);
    VerificarAntesDeGravar(ACaminho, alvo);
#ifdef Q_OS_UNIX
    struct stat antigo {};
    const bool existe = ::stat(QFile::encodeName(alvo).constData(), &antigo) == 0;
    // A file with other hard links is one file under several names: replacing it would leave
    // the others with the old content.
    if (existe && antigo.st_nlink > 1) {
        GravarPorCima(ACaminho, alvo, ABytes);
        return;
    }
    GravarPorSubstituicao(ACaminho, alvo, ABytes, existe ? &antigo : nullptr);
#else
    GravarPorQSaveFile(ACaminho, alvo, ABytes);
#endif
}

bool CriarFicheiroNovo(const QString& ACaminho, const QByteArray& ABytes) {
    if (ACaminho.isEmpty())
        throw FalhaDaGravacao(ACaminho, QStringLiteral("falta o nome do ficheiro"));
    QFile ficheiro(ACaminho);
    errno = 0;
    // NewOnly creates the name only if nobody has it yet, in the same step as checking.
    if (!ficheiro.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        const int erro = errno;
        if (erro == EEXIST || QFileInfo::exists(ACaminho)) return false;
        throw FalhaDaGravacao(ACaminho, MotivoDaCriacao(ACaminho, erro));
    }
    errno = 0;
    if (ficheiro.write(ABytes) != ABytes.size() || !SincronizarComODisco(ficheiro)) {
        const int erro = errno;
        ficheiro.remove();
        throw FalhaDaGravacao(ACaminho, MotivoDoErro(erro));
    }
    return true;
}

QString TextoCitado(const QString& ATexto, qsizetype AMaximo) {
    QString visivel;
    qsizetype citados = 0;
    for (qsizetype i = 0; i < ATexto.size(); ++i, ++citados) {
        if (citados == AMaximo) {
            visivel += QChar(0x2026);
            break;
        }
        char32_t codigo = ATexto[i].unicode();
        if (ATexto[i].isHighSurrogate() && i + 1 < ATexto.size() &&
            ATexto[i + 1].isLowSurrogate()) {
            codigo = QChar::surrogateToUcs4(ATexto[i], ATexto[i + 1]);
            ++i;
        }
        if (codigo < 0x20)
            visivel += QChar(static_cast<char16_t>(0x2400 + codigo)); // ␀ … ␟
        else if (codigo == 0x7F)
            visivel += QChar(0x2421); // ␡
        else if (!QChar::isPrint(codigo) || QChar::isSurrogate(codigo))
            visivel += QStringLiteral("<U+%1>").arg(
                QString::number(static_cast<uint>(codigo), 16).toUpper().rightJustified(4, u'0'));
        else
            visivel += QString::fromUcs4(&codigo, 1);
    }
    return visivel;
}

QString PorDeParteComData(const QString& ACaminho) {
    const QString base = ACaminho + QStringLiteral(".danificado-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const auto livre = [](const QString& ANome) {
        const QFileInfo info(ANome);
        return !info.exists() && !info.isSymLink();
    };
    QString destino = base;
    for (int n = 2; !livre(destino) && n <= 100; ++n)
        destino = base + QStringLiteral("-%1").arg(n);
    if (livre(destino) && QDir().rename(ACaminho, destino)) return destino;
    return {};
}
