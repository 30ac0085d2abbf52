// Start-up pieces shared by the program and its widget tests.
#pragma once

#include <QApplication>

// Maps the fonts the windows and the drawing ask for by name ("Segoe UI", "Consolas") onto
// installed look-alikes, and sets the windows' font.
void PrepararFontes();

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
