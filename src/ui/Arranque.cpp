#include "ui/Arranque.h"

#include "generator/UnitSomadoGenerator.h"
#include "render/UnitSomadoDesenho.h"
#include "ui/UnitMain.h"

#include <QFile>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QTranslator>

#include <exception>

void PrepararFontes() {
    SubstituirFontesEmFalta();
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

void MostrarErroGeral(const QString& AMensagem) {
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("SOMADO"), AMensagem);
}

bool TAplicacaoSomado::notify(QObject* ADestino, QEvent* AEvento) {
    try {
        return QApplication::notify(ADestino, AEvento);
    } catch (const std::exception& e) {
        MostrarErroGeral(QString::fromUtf8(e.what()));
    } catch (...) {
        MostrarErroGeral(QStringLiteral("Ocorreu um erro inesperado."));
    }
    return false;
}

bool CarregarTraducoes(QApplication& AAplicacao) {
    const QString pasta = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    bool algumaCarregada = false;
    // Installed later means searched first, so the European texts win where both have one.
    for (const char* nome : {"qtbase_pt_BR", "qt_pt_PT"}) {
        auto tradutor = std::make_unique<QTranslator>();
        if (!tradutor->load(QString::fromLatin1(nome), pasta)) continue;
        // The application keeps it for the whole run.
        tradutor->setParent(&AAplicacao);
        QApplication::installTranslator(tradutor.release());
        algumaCarregada = true;
    }
    return algumaCarregada;
}

void PrepararAplicacao(TAplicacaoSomado& AAplicacao) {
    QApplication::setApplicationName(QStringLiteral("Somado"));
    // The icon's numbers are drawn in the program's fonts.
    PrepararFontes();
    QApplication::setWindowIcon(IconeDaAplicacao());
    CarregarTraducoes(AAplicacao);
    if (!AplicarEstilo(AAplicacao, QStringLiteral("Sky")))
        QMessageBox::warning(nullptr, QStringLiteral("SOMADO"),
                             QStringLiteral("Não foi possível aplicar o estilo visual \"Sky\"."));
    SemearAleatorio();
}

std::unique_ptr<TFormMain> IniciarPrograma(TAplicacaoSomado& AAplicacao) {
    PrepararAplicacao(AAplicacao);
    return std::make_unique<TFormMain>(GerarPuzzleComAleatorio);
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
