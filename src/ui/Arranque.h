// Start-up pieces shared by the program and its widget tests.
#pragma once

#include <QApplication>

#include <memory>

class TFormMain;

// Maps the fonts the windows and the drawing ask for by name ("Segoe UI", "Consolas") onto
// installed look-alikes, and sets the windows' font.
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

// The program's start: fonts, the visual style "Sky" (a message box and the default look
// when it cannot be applied), the generator, and the main window with its first puzzle.
std::unique_ptr<TFormMain> IniciarPrograma(TAplicacaoSomado& AAplicacao);

// The application icon: a clue cell as the board drawing paints it.
QIcon IconeDaAplicacao();
