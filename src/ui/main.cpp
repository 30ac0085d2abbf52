#include "generator/UnitSomadoGenerator.h"
#include "ui/Arranque.h"
#include "ui/UnitMain.h"

#include <QMessageBox>

int main(int argc, char** argv) {
    TAplicacaoSomado aplicacao(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Somado"));
    PrepararFontes();
    if (!AplicarEstilo(aplicacao, QStringLiteral("Sky")))
        QMessageBox::warning(nullptr, QStringLiteral("SOMADO"),
                             QStringLiteral("Não foi possível aplicar o estilo visual \"Sky\"."));
    InicializarGerador();

    TFormMain formMain(GerarPuzzle);
    formMain.show();
    return aplicacao.exec();
}
