// Start-up pieces shared by the program and its widget tests.
#pragma once

#include <QApplication>
#include <QByteArray>
#include <QList>
#include <QStringList>

#include <functional>
#include <memory>

class QTemporaryDir;
class TFormMain;

// Maps the fonts the windows and the drawing ask for by name onto installed look-alikes where
// they are missing, and sets the windows' font.
void PrepararFontes();

// Applies the named visual style shipped with the program; false (and the default look)
// when it cannot be loaded.
bool AplicarEstilo(QApplication& AAplicacao, const QString& ANome);

// The program's general error report: a message box over the active window.
void MostrarErroGeral(const QString& AMensagem);

// The last resort: an error that escapes an event handler after all is shown by the general
// error report and the program goes on. The window's commands catch their own errors before
// they reach the toolkit's code.
class TAplicacaoSomado : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* ADestino, QEvent* AEvento) override;
};

// Qt's own texts (file dialogs, standard buttons, context menus) in Portuguese: the European
// translation Debian ships, with the Brazilian one under it for the texts the former lacks.
// False when neither is installed, and the texts stay in English.
bool CarregarTraducoes(QCoreApplication& AAplicacao);

// What the command line asks for. Either the program leaves at once (help, version or a
// mistake on the command line), printing Saida to the standard output and Erros to the
// standard error and ending with Estado; or it starts, opening Ficheiro when one is named.
struct TLinhaDeComandos {
    bool Sair = false;
    int Estado = 0;
    QString Saida;
    QString Erros;
    // The game file: a path Qt opens, whose name reads as the player's (bytes that are no
    // UTF-8 shown as U+FFFD).
    QString Ficheiro;
    // On POSIX, the file's name as the system passed it, byte for byte; empty when the
    // arguments came as text (from Windows, or through InterpretarLinhaDeComandos).
    QByteArray FicheiroEmBytes;
    // When those bytes are no UTF-8, the folder of this run holding the link Ficheiro is (see
    // LerLinhaDeComandos); removed with the last copy of the command line.
    std::shared_ptr<QTemporaryDir> PastaDaLigacao;
};

// Prints what the command line gave to print (Saida to the standard output, Erros to the
// standard error). On Windows the program has no console of its own: started from one (cmd,
// PowerShell), it writes to that console, in Unicode; redirected, to the file or pipe.
void EscreverSaidaDaLinha(const TLinhaDeComandos& ALinha);

// Interprets the program's arguments (the first being the program itself): --help, --version
// and at most one game file. Qt's own window-system options (-platform, -style…) are let
// through for the application object that follows.
TLinhaDeComandos InterpretarLinhaDeComandos(const QStringList& AArgumentos);

// The same for arguments as POSIX passes them, in bytes: they are read as text (bytes that
// are no UTF-8 as U+FFFD) and the file's own bytes are kept in FicheiroEmBytes.
TLinhaDeComandos InterpretarArgumentosEmBytes(const QList<QByteArray>& AArgumentos);

// The command line as the system passed it (on Windows in UTF-16, whatever the code page; on
// POSIX the bytes of argv), read with a bare core application when there is no application
// yet: nothing here opens a connection to a display, so --help and --version work without
// one. A file name whose bytes are no UTF-8 has no Qt path that leads back to them (Qt writes
// names out as UTF-8): Ficheiro is then a symbolic link to those very bytes, named as the
// player reads the name, in a folder of this run.
TLinhaDeComandos LerLinhaDeComandos(int& argc, char** argv);

// Keeps Qt's file dialogs away from the user's QtProject.conf, whatever it is (a FIFO, a
// huge file): they read and write their history in a folder of this run only.
void IsolarHistoricoDosDialogos();

// Everything the program sets up before its first window: name and icon, fonts,
// translations, the visual style "Sky" (a message box and the default look when it cannot be
// applied) and the generator. The widget tests start the same way.
void PrepararAplicacao(TAplicacaoSomado& AAplicacao);

// The main window with its first puzzle, then AFicheiro opened in it when one is named.
std::unique_ptr<TFormMain> CriarJanelaPrincipal(const QString& AFicheiro = {});

// The program's start: PrepararAplicacao, then CriarJanelaPrincipal.
std::unique_ptr<TFormMain> IniciarPrograma(TAplicacaoSomado& AAplicacao,
                                           const QString& AFicheiro = {});

// Ends the program cleanly when the system asks it to: SIGTERM, SIGINT and SIGHUP on POSIX
// run AAntes on the window's thread, then end every event loop without the close questions,
// so that everything is torn down as after a normal close (this run's temporary folders go).
// When the desktop session closes (on Windows, the session-end message), AAntes runs too.
// Needs the application object; once per process.
void TerminarAPedidoDoSistema(std::function<void()> AAntes);
// Whether the system asked the program to end: a signal came (the start-up looks before its
// event loop), or the desktop session is ending (the windows then close without questions).
bool FimPedidoPeloSistema();

// The application icon: a clue cell as the board drawing paints it.
QIcon IconeDaAplicacao();
