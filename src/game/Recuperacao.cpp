#include "game/Recuperacao.h"

#include "io/GravacaoSegura.h"
#include "model/UnitSomado.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QUuid>

namespace {

const QString CExtensaoJogo = QStringLiteral(".smd");
const QString CExtensaoBloqueio = QStringLiteral(".lock");

QString BloqueioDe(const QString& AJogo) {
    return AJogo.chopped(CExtensaoJogo.size()) + CExtensaoBloqueio;
}

// A lock held by no running program, now held by this one; null while a program holds it.
// The lock never goes stale with age: a game may be played for days.
std::unique_ptr<QLockFile> TomarSeLivre(const QString& ACaminho) {
    auto bloqueio = std::make_unique<QLockFile>(ACaminho);
    bloqueio->setStaleLockTime(0);
    if (!bloqueio->tryLock(0)) return nullptr;
    return bloqueio;
}

} // namespace

TRecuperacao::TRecuperacao(QString APasta) : FPasta(std::move(APasta)) {
    const QString sessao = QUuid::createUuid().toString(QUuid::WithoutBraces);
    FFicheiro = QDir(FPasta).filePath(sessao + CExtensaoJogo);
}

TRecuperacao::~TRecuperacao() {
    if (!FManter) Descartar();
    // The locks go with their objects; a game kept stays without one, for the next start.
}

QString TRecuperacao::PastaPredefinida() {
    const QString pasta = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (pasta.isEmpty()) return {};
    return QDir(pasta).filePath(QStringLiteral("recuperacao"));
}

void TRecuperacao::Bloquear() {
    if (FBloqueio) return;
    if (!QDir().mkpath(FPasta))
        throw ESomadoError(Format("Não foi possível criar a pasta \"%s\".",
                                  NomeSemPasta(FPasta).toUtf8().constData()));
    auto bloqueio = TomarSeLivre(BloqueioDe(FFicheiro));
    if (!bloqueio)
        throw ESomadoError(Format("Não foi possível criar o ficheiro \"%s\".",
                                  NomeSemPasta(BloqueioDe(FFicheiro)).toUtf8().constData()));
    FBloqueio = std::move(bloqueio);
}

void TRecuperacao::Guardar(const QByteArray& ATexto) {
    Bloquear();
    GravarFicheiroInteiro(FFicheiro, ATexto);
    FTemJogo = true;
}

void TRecuperacao::Descartar() {
    if (!FTemJogo) return;
    QFile::remove(FFicheiro);
    FTemJogo = false;
}

QString TRecuperacao::TomarAbandonado() {
    LargarAbandonado();
    const QDir pasta(FPasta);
    if (FPasta.isEmpty() || !pasta.exists()) return {};
    const QFileInfoList jogos =
        pasta.entryInfoList({QLatin1Char('*') + CExtensaoJogo}, QDir::Files, QDir::Time);
    for (const QFileInfo& jogo : jogos) {
        const QString caminho = jogo.absoluteFilePath();
        if (caminho == QFileInfo(FFicheiro).absoluteFilePath()) continue;
        auto bloqueio = TomarSeLivre(BloqueioDe(caminho));
        // Another program may have recovered it between the listing and the lock.
        if (!bloqueio || !QFileInfo::exists(caminho)) continue;
        FAbandonado = caminho;
        FBloqueioAbandonado = std::move(bloqueio);
        return FAbandonado;
    }
    return {};
}

void TRecuperacao::EsquecerAbandonado() {
    if (FAbandonado.isEmpty()) return;
    QFile::remove(FAbandonado);
    LargarAbandonado();
}

QString TRecuperacao::PorDeParteAbandonado() {
    if (FAbandonado.isEmpty()) return {};
    const QString destino = PorDeParteComData(FAbandonado);
    LargarAbandonado();
    return destino;
}

void TRecuperacao::LargarAbandonado() {
    FAbandonado.clear();
    FBloqueioAbandonado.reset();
}
