#include "ui/Arranque.h"
#include "ui/UnitMain.h"

int main(int argc, char** argv) {
    TAplicacaoSomado aplicacao(argc, argv);
    const std::unique_ptr<TFormMain> formMain = IniciarPrograma(aplicacao);
    formMain->show();
    return aplicacao.exec();
}
