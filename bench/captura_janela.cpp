// Starts the main window as the program does, waits for its first paint and saves a picture
// of it: captura_janela FICHEIRO.png [digitos]
// With "digitos" a few digits are entered and checked first: a game in progress.
#include "ui/Arranque.h"
#include "ui/GrelhaTabuleiro.h"
#include "ui/UnitMain.h"

#include <QTest>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "uso: captura_janela FICHEIRO.png [digitos]\n");
        return 2;
    }
    TAplicacaoSomado aplicacao(argc, argv);
    const std::unique_ptr<TFormMain> formMain = IniciarPrograma(aplicacao);
    TFormMain& janela = *formMain;
    janela.show();
    if (!QTest::qWaitForWindowExposed(&janela)) return 1;
    if (argc > 2 && QString(argv[2]) == "digitos") {
        // Four hints and one wrong digit, then a check: both marks show.
        janela.StringGrid1->setFocus();
        for (int dica = 0; dica < 4; ++dica)
            janela.Jogo().Dica();
        int32_t r = 0, c = 0;
        janela.CelulaActual(r, c);
        const int32_t errado = janela.Jogo().Board()->GetCell(r, c).Solution % 9 + 1;
        QTest::keyClicks(janela.StringGrid1, QString::number(errado));
        janela.Jogo().Verificar();
        janela.StringGrid1->setFocus();
    }
    QTest::qWait(200);
    return janela.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
