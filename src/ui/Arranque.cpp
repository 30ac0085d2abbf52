#include "ui/Arranque.h"

#include "generator/UnitSomadoGenerator.h"
#include "render/UnitSomadoDesenho.h"
#include "ui/UnitMain.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QSettings>
#include <QTemporaryDir>
#include <QTranslator>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

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

void IsolarHistoricoDosDialogos() {
    // Qt's file dialog reads its history from the user's QtProject.conf when it opens and
    // writes it back when it closes: a FIFO there hung the first dialog, and a huge file cost
    // seconds and hundreds of megabytes. The program keeps its dialogs' folders itself, so
    // Qt's history lives in a folder of this run only, gone when the program ends.
    static QTemporaryDir pasta(QDir::tempPath() + QStringLiteral("/somado-XXXXXX"));
    // When Windows ends the session it kills the program right after announcing its end, before
    // static objects go: the folder goes at that announcement (after a normal close no dialog
    // is left to need it).
    if (QCoreApplication::instance())
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                         QCoreApplication::instance(), [] { pasta.remove(); });
    const QString caminho =
        pasta.isValid() ? pasta.path() : QDir::tempPath() + QStringLiteral("/somado-sem-pasta");
    for (const QSettings::Format formato : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(formato, QSettings::UserScope, caminho);
        QSettings::setPath(formato, QSettings::SystemScope, caminho);
    }
}

void PrepararAplicacao(TAplicacaoSomado& AAplicacao) {
    QApplication::setApplicationName(QStringLiteral("Somado"));
    IsolarHistoricoDosDialogos();
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
    auto formMain = std::make_unique<TFormMain>(GerarPuzzleComAleatorio);
    formMain->Jogo().ContinuarArranque(AFicheiro);
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

namespace {

#ifdef Q_OS_WIN
bool SemDestino(DWORD AQual) {
    const HANDLE destino = GetStdHandle(AQual);
    return destino == nullptr || destino == INVALID_HANDLE_VALUE ||
           GetFileType(destino) == FILE_TYPE_UNKNOWN;
}

// The parent's console, written to directly: the C library's streams were never tied to it.
void EscreverNaConsola(const QString& ATexto) {
    const HANDLE consola = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
    if (consola == INVALID_HANDLE_VALUE) return;
    const std::wstring texto =
        QString(ATexto).replace(u'\n', QStringLiteral("\r\n")).toStdWString();
    DWORD escritos = 0;
    WriteConsoleW(consola, texto.data(), static_cast<DWORD>(texto.size()), &escritos, nullptr);
    CloseHandle(consola);
}
#endif

void Escrever(std::FILE* ADestino, const QString& ATexto) {
    if (ATexto.isEmpty()) return;
    std::fputs(ATexto.toLocal8Bit().constData(), ADestino);
    std::fflush(ADestino);
}

} // namespace

void EscreverSaidaDaLinha(const TLinhaDeComandos& ALinha) {
#ifdef Q_OS_WIN
    // Nothing redirected and a console to attach to: the text goes there, both streams alike.
    if (SemDestino(STD_OUTPUT_HANDLE) && SemDestino(STD_ERROR_HANDLE) &&
        AttachConsole(ATTACH_PARENT_PROCESS)) {
        EscreverNaConsola(ALinha.Saida + ALinha.Erros);
        FreeConsole();
        return;
    }
#endif
    Escrever(stdout, ALinha.Saida);
    Escrever(stderr, ALinha.Erros);
}

TLinhaDeComandos InterpretarArgumentosEmBytes(const QList<QByteArray>& AArgumentos) {
    QStringList texto;
    texto.reserve(AArgumentos.size());
    for (const QByteArray& argumento : AArgumentos)
        texto << QFile::decodeName(argumento);
    TLinhaDeComandos linha = InterpretarLinhaDeComandos(texto);
    if (linha.Sair || linha.Ficheiro.isEmpty()) return linha;
    // The parser hands the file back as text, and two arguments may read the same with
    // different bytes (an option's value and the file). Any other word not starting with a
    // dash is parsed the same way in either place, so the file's own place is the one where
    // another word becomes the file.
    const QString outro = QStringLiteral("x") + linha.Ficheiro;
    for (qsizetype i = 1; i < texto.size(); ++i) {
        if (texto[i] != linha.Ficheiro) continue;
        QStringList prova = texto;
        prova[i] = outro;
        const TLinhaDeComandos comOutro = InterpretarLinhaDeComandos(prova);
        if (!comOutro.Sair && comOutro.Ficheiro == outro) {
            linha.FicheiroEmBytes = AArgumentos[i];
            break;
        }
    }
    return linha;
}

namespace {

#ifdef Q_OS_UNIX
// The link's name: the file's as the player reads it. Every byte shown as U+FFFD takes three
// in UTF-8, so a long name is shortened in the middle, keeping its end and extension, to what
// a file system takes.
QString NomeDaLigacao(const QString& ANome) {
    QString nome = QFileInfo(QDir::cleanPath(ANome)).fileName();
    if (nome.isEmpty() || nome == QStringLiteral(".") || nome == QStringLiteral(".."))
        nome = QStringLiteral("ficheiro");
    constexpr qsizetype CNomeMaximo = 255;
    if (QFile::encodeName(nome).size() <= CNomeMaximo) return nome;
    qsizetype tamanhoDoFim = std::min<qsizetype>(16, nome.size());
    if (nome.at(nome.size() - tamanhoDoFim).isLowSurrogate()) ++tamanhoDoFim;
    const QString fim = nome.right(tamanhoDoFim);
    QString inicio = nome.chopped(tamanhoDoFim);
    const auto encurtado = [&] { return inicio + QChar(0x2026) + fim; };
    while (!inicio.isEmpty() && QFile::encodeName(encurtado()).size() > CNomeMaximo) {
        inicio.chop(1);
        if (!inicio.isEmpty() && inicio.back().isHighSurrogate()) inicio.chop(1);
    }
    return encurtado();
}

// Qt keeps a file's name as text and gives it to the system as UTF-8, so no QString leads to
// a name whose bytes are no UTF-8 (a Latin-1 name from an old disk or archive). Such a file is
// reached through a symbolic link holding its bytes exactly, named as the player reads the
// name, in a folder of this run. When the link cannot be made the name stays as read, and
// opening it says why it failed.
void LigarAosBytes(TLinhaDeComandos& ALinha) {
    const QByteArray& bytes = ALinha.FicheiroEmBytes;
    if (bytes.isEmpty() || QFile::encodeName(ALinha.Ficheiro) == bytes) return;
    auto pasta =
        std::make_shared<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/somado-XXXXXX"));
    if (!pasta->isValid()) return;
    // A link's relative target would be read from the link's folder, not from here.
    QByteArray alvo = bytes;
    if (!alvo.startsWith('/')) {
        char* aqui = ::getcwd(nullptr, 0);
        if (!aqui) return;
        alvo = QByteArray(aqui) + '/' + alvo;
        std::free(aqui);
    }
    const QString ligacao = pasta->filePath(NomeDaLigacao(ALinha.Ficheiro));
    if (::symlink(alvo.constData(), QFile::encodeName(ligacao).constData()) != 0) return;
    ALinha.Ficheiro = ligacao;
    ALinha.PastaDaLigacao = std::move(pasta);
}
#endif

} // namespace

TLinhaDeComandos LerLinhaDeComandos(int& argc, char** argv) {
#ifdef Q_OS_UNIX
    // Taken before Qt sees them: its arguments() are text, and bytes that are no UTF-8 are
    // lost there.
    QList<QByteArray> bytes;
    for (int i = 0; i < argc; ++i)
        bytes << QByteArray(argv[i]);
#endif
    // The widget tests read a command line inside their own application.
    std::optional<QCoreApplication> nucleo;
    if (!QCoreApplication::instance()) {
        nucleo.emplace(argc, argv);
        // The parser's own words ("Usage", "Options") in Portuguese where Qt's translations
        // are.
        CarregarTraducoes(*nucleo);
    }
#ifdef Q_OS_UNIX
    TLinhaDeComandos linha = InterpretarArgumentosEmBytes(bytes);
    if (!linha.Sair) LigarAosBytes(linha);
    return linha;
#else
    return InterpretarLinhaDeComandos(QCoreApplication::arguments());
#endif
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
