// Start-up pieces shared by the program and its widget tests.
#pragma once

#include <QApplication>

#include <memory>

class TFormMain;

// Maps the fonts the windows and the drawing ask for by name ("Segoe UI", "Consolas") onto
// installed look-alikes, and sets the windows' font.
void PrepararFontes();

// Makes ASubstitutos stand in for the font family ANome unless that family is installed.
void SubstituirFonteEmFalta(const QString& ANome, const QStringList& ASubstitutos);

// Applies the named visual style shipped with the program; false (and the default look)
// when it cannot be loaded.
bool AplicarEstilo(QApplication& AAplicacao, const QString& ANome);

// The program's general error report: an error that escapes an event handler is shown in a
// message box and the program goes on.
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
