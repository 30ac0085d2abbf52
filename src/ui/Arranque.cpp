#include "ui/Arranque.h"

#include "generator/UnitSomadoGenerator.h"
#include "render/UnitSomadoDesenho.h"
#include "ui/UnitMain.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>

#include <exception>

void SubstituirFonteEmFalta(const QString& ANome, const QStringList& ASubstitutos) {
    if (QFontDatabase::families().contains(ANome, Qt::CaseInsensitive)) return;
    QFont::insertSubstitutions(ANome, ASubstitutos);
}

void PrepararFontes() {
    // Windows has the named fonts; elsewhere metric look-alikes from Debian's font packages
    // stand in. "Arial" already resolves to Liberation Sans through fontconfig.
    SubstituirFonteEmFalta(QStringLiteral("Segoe UI"),
                           {QStringLiteral("Open Sans"), QStringLiteral("DejaVu Sans")});
    SubstituirFonteEmFalta(QStringLiteral("Consolas"),
                           {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono")});
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
    // The icon's numbers are drawn in the program's fonts.
    PrepararFontes();
    QApplication::setWindowIcon(IconeDaAplicacao());
    if (!AplicarEstilo(AAplicacao, QStringLiteral("Sky")))
        QMessageBox::warning(nullptr, QStringLiteral("SOMADO"),
                             QStringLiteral("Não foi possível aplicar o estilo visual \"Sky\"."));
    InicializarGerador();
    return std::make_unique<TFormMain>(GerarPuzzle);
}

QIcon IconeDaAplicacao() {
    QIcon icone;
    // The sizes of the hicolor theme, so the installed icons are these very images.
    for (const int lado : {16, 24, 32, 48, 64, 128, 256}) {
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
