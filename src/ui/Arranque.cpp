#include "ui/Arranque.h"

#include <QFile>
#include <QFont>
#include <QMessageBox>

#include <exception>

void PrepararFontes() {
    // Metric look-alikes from Debian's font packages; "Arial" already resolves to Liberation
    // Sans through fontconfig.
    QFont::insertSubstitutions(QStringLiteral("Segoe UI"),
                               {QStringLiteral("Open Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Consolas"), {QStringLiteral("DejaVu Sans Mono"),
                                                            QStringLiteral("Liberation Mono")});
    QFont fonte(QStringLiteral("Segoe UI"));
    fonte.setPixelSize(12);
    QApplication::setFont(fonte);
}

bool AplicarEstilo(QApplication& AAplicacao, const QString& ANome) {
    // The styles live in a static library, whose resources must be registered by hand.
    Q_INIT_RESOURCE(recursos);
    QFile ficheiro(QStringLiteral(":/estilos/%1.qss").arg(ANome));
    if (!ficheiro.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    AAplicacao.setStyleSheet(QString::fromUtf8(ficheiro.readAll()));
    return true;
}

namespace {

void MostrarErro(const QString& AMensagem) {
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("SOMADO"), AMensagem);
}

} // namespace

bool TAplicacaoSomado::notify(QObject* ADestino, QEvent* AEvento) {
    try {
        return QApplication::notify(ADestino, AEvento);
    } catch (const std::exception& e) {
        MostrarErro(QString::fromUtf8(e.what()));
    } catch (...) {
        MostrarErro(QStringLiteral("Ocorreu um erro inesperado."));
    }
    return false;
}
