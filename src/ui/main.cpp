#include "ui/Arranque.h"
#include "ui/UnitMain.h"

int main(int argc, char** argv) {
    TAplicacaoSomado aplicacao(argc, argv);
    // Lets the desktop match the window to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(SOMADO_ID_APLICACAO));
    const std::unique_ptr<TFormMain> formMain = IniciarPrograma(aplicacao);
    formMain->show();
    return aplicacao.exec();
}
