#include "ui/Arranque.h"
#include "ui/UnitMain.h"

int main(int argc, char** argv) {
    const TLinhaDeComandos linha = LerLinhaDeComandos(argc, argv);
    if (linha.Sair) {
        EscreverSaidaDaLinha(linha);
        return linha.Estado;
    }
    TAplicacaoSomado aplicacao(argc, argv);
    // Lets the desktop match the window to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(SOMADO_ID_APLICACAO));
    // linha lives as long as the window: the game may be read through a link it holds.
    std::unique_ptr<TFormMain> formMain;
    // Heard from the start: a signal during the first generation still ends cleanly.
    TerminarAPedidoDoSistema([&formMain] {
        if (formMain) formMain->Jogo().GuardarAntesDoFim();
    });
    formMain = IniciarPrograma(aplicacao, linha.Ficheiro);
    if (FimPedidoPeloSistema()) return 0;
    formMain->show();
    return aplicacao.exec();
}
