#include "ui/Arranque.h"

#include "generator/UnitSomadoGenerator.h"
#include "render/UnitSomadoDesenho.h"
#include "ui/UnitMain.h"

#include <QFile>
#include <QFont>
#include <QIcon>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>

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

std::unique_ptr<TFormMain> IniciarPrograma(TAplicacaoSomado& AAplicacao) {
    QApplication::setApplicationName(QStringLiteral("Somado"));
    QApplication::setWindowIcon(IconeDaAplicacao());
    PrepararFontes();
    if (!AplicarEstilo(AAplicacao, QStringLiteral("Sky")))
        QMessageBox::warning(nullptr, QStringLiteral("SOMADO"),
                             QStringLiteral("Não foi possível aplicar o estilo visual \"Sky\"."));
    SemearAleatorio();
    return std::make_unique<TFormMain>(GerarPuzzle);
}

QIcon IconeDaAplicacao() {
    QIcon icone;
    for (const int lado : {16, 32, 64, 128}) {
        QPixmap imagem(lado, lado);
        imagem.fill(Qt::white);
        QPainter pintor(&imagem);
        pintor.setRenderHint(QPainter::TextAntialiasing);
        TSomadoCell pista;
        pista.CellType = TCellType::ctClue;
        pista.RightSum = 45;
        pista.DownSum = 9;
        DesenharCelula(pintor, {0, 0, lado, lado}, pista, false, true);
        pintor.end();
        icone.addPixmap(imagem);
    }
    return icone;
}
