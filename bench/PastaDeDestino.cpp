#include "PastaDeDestino.h"

#include "model/UnitSomado.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

ESomadoError FalhaDaPasta(const QString& APasta, const QString& AMotivo) {
    return ESomadoError(Format("Não foi possível criar a pasta \"%s\": %s",
                               APasta.toStdString().c_str(), AMotivo.toStdString().c_str()));
}

#ifdef Q_OS_UNIX
// The system's error codes in the words GravacaoSegura gives them; AAcima is the folder the
// failing one was to be made in.
QString MotivoDoErro(int AErro, const QString& AAcima) {
    switch (AErro) {
    case EROFS:
        return QStringLiteral("o disco só permite leitura");
    case EACCES:
    case EPERM:
        return QStringLiteral("sem permissão para criar pastas em \"%1\"").arg(AAcima);
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("o disco está cheio");
    case ENAMETOOLONG:
        return QStringLiteral("o nome da pasta é demasiado comprido");
    case ENOTDIR:
        return QStringLiteral("há um ficheiro no caminho, em vez de uma pasta");
    case EIO:
        return QStringLiteral("erro de escrita no disco");
    default:
        return QStringLiteral("erro inesperado do sistema de ficheiros");
    }
}
#endif

} // namespace

QDir CriarPastaDeDestino(const QString& APasta) {
    if (APasta.isEmpty()) throw FalhaDaPasta(APasta, QStringLiteral("falta o nome da pasta"));
    const QString absoluta = QDir(APasta).absolutePath();
#ifdef Q_OS_UNIX
    // One level at a time, so that the reason is the system's own for the level that failed;
    // QDir::mkpath only says that something did.
    QString caminho;
    for (const QString& parte : absoluta.split(u'/', Qt::SkipEmptyParts)) {
        const QString acima = caminho.isEmpty() ? QStringLiteral("/") : caminho;
        caminho += u'/' + parte;
        const QByteArray bytes = QFile::encodeName(caminho);
        struct stat info {};
        errno = 0;
        if (::stat(bytes.constData(), &info) == 0) {
            if (S_ISDIR(info.st_mode)) continue;
            throw FalhaDaPasta(
                APasta, caminho == absoluta
                            ? QStringLiteral("já existe um ficheiro com esse nome")
                            : QStringLiteral("\"%1\" é um ficheiro, não uma pasta").arg(caminho));
        }
        if (errno != ENOENT) throw FalhaDaPasta(APasta, MotivoDoErro(errno, acima));
        // Another run may make it at the same moment: that one's folder serves this one too.
        if (::mkdir(bytes.constData(), 0777) != 0 && errno != EEXIST)
            throw FalhaDaPasta(APasta, MotivoDoErro(errno, acima));
    }
#else
    if (QFileInfo(absoluta).exists() && !QFileInfo(absoluta).isDir())
        throw FalhaDaPasta(APasta, QStringLiteral("já existe um ficheiro com esse nome"));
    if (!QDir().mkpath(absoluta))
        throw FalhaDaPasta(APasta, QStringLiteral("erro inesperado do sistema de ficheiros"));
#endif
    return QDir(absoluta);
}
