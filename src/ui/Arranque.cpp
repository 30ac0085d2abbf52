#include "ui/Arranque.h"

#include "generator/UnitSomadoGenerator.h"
#include "render/UnitSomadoDesenho.h"
#include "ui/UnitMain.h"

#include <QCommandLineParser>
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

bool CarregarTraducoes(QCoreApplication& AAplicacao) {
    const QString pasta = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    bool algumaCarregada = false;
    // Installed later means searched first, so the European texts win where both have one.
    for (const char* nome : {"qtbase_pt_BR", "qt_pt_PT"}) {
        auto tradutor = std::make_unique<QTranslator>();
        if (!tradutor->load(QString::fromLatin1(nome), pasta)) continue;
        // The application keeps it for the whole run.
        tradutor->setParent(&AAplicacao);
        QCoreApplication::installTranslator(tradutor.release());
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

std::unique_ptr<TFormMain> CriarJanelaPrincipal(const QString& AFicheiro) {
    auto formMain = std::make_unique<TFormMain>(GerarPuzzle);
    if (!AFicheiro.isEmpty()) formMain->Jogo().AbrirFicheiroIndicado(AFicheiro);
    return formMain;
}

std::unique_ptr<TFormMain> IniciarPrograma(TAplicacaoSomado& AAplicacao, const QString& AFicheiro) {
    PrepararAplicacao(AAplicacao);
    return CriarJanelaPrincipal(AFicheiro);
}

namespace {

// The options QGuiApplication and QApplication take out of the command line themselves
// (those with a value, then those without); the program's parser must not call them unknown.
const char* const COpcoesQtComValor[] = {
    "platform",        "platformpluginpath", "platformtheme", "plugin",
    "qwindowgeometry", "qwindowicon",        "qwindowtitle",  "session",
    "style",           "stylesheet",         "display",       "geometry",
};
const char* const COpcoesQtSemValor[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

} // namespace

TLinhaDeComandos InterpretarLinhaDeComandos(const QStringList& AArgumentos) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Gera, resolve e imprime puzzles de somas cruzadas."));
    // Qt's own options are spelled with one dash and a whole word.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption ajuda({QStringLiteral("h"), QStringLiteral("help")},
                                   QStringLiteral("Mostra esta ajuda e termina."));
    const QCommandLineOption versao({QStringLiteral("v"), QStringLiteral("version")},
                                    QStringLiteral("Mostra a versão do programa e termina."));
    parser.addOption(ajuda);
    parser.addOption(versao);
    for (const char* nome : COpcoesQtComValor) {
        QCommandLineOption opcao(QString::fromLatin1(nome), {}, QStringLiteral("valor"));
        opcao.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(opcao);
    }
    for (const char* nome : COpcoesQtSemValor) {
        QCommandLineOption opcao(QString::fromLatin1(nome));
        opcao.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(opcao);
    }
    parser.addPositionalArgument(QStringLiteral("ficheiro"),
                                 QStringLiteral("Um jogo guardado (.smd) a abrir ao iniciar."),
                                 QStringLiteral("[ficheiro]"));

    TLinhaDeComandos linha;
    const auto erro = [&](const QString& AMensagem) {
        linha.Sair = true;
        linha.Estado = 2;
        linha.Erros = QStringLiteral("somado: %1\n\n%2").arg(AMensagem, parser.helpText());
        return linha;
    };
    if (!parser.parse(AArgumentos)) return erro(parser.errorText());
    if (parser.isSet(ajuda)) {
        linha.Sair = true;
        linha.Saida = parser.helpText();
        return linha;
    }
    if (parser.isSet(versao)) {
        linha.Sair = true;
        linha.Saida = QStringLiteral("Somado %1\n").arg(QStringLiteral(SOMADO_VERSAO));
        return linha;
    }
    const QStringList ficheiros = parser.positionalArguments();
    if (ficheiros.size() > 1)
        return erro(QStringLiteral("só se abre um jogo de cada vez: %1 ficheiros indicados.")
                        .arg(ficheiros.size()));
    if (!ficheiros.isEmpty()) linha.Ficheiro = ficheiros.constFirst();
    return linha;
}

TLinhaDeComandos LerLinhaDeComandos(int& argc, char** argv) {
    QCoreApplication nucleo(argc, argv);
    // The parser's own words ("Usage", "Options") in Portuguese where Qt's translations are.
    CarregarTraducoes(nucleo);
    return InterpretarLinhaDeComandos(QCoreApplication::arguments());
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
