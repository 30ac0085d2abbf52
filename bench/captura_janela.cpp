// Starts the main window as the program does, waits for its first paint and saves a picture
// of it: captura_janela FICHEIRO.png [digitos]
// With "digitos" a few digits are typed first, so the picture shows a game in progress.
#include "generator/UnitSomadoGenerator.h"
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
    PrepararFontes();
    AplicarEstilo(aplicacao, QStringLiteral("Sky"));
    InicializarGerador();
    TFormMain janela(GerarPuzzle);
    janela.show();
    if (!QTest::qWaitForWindowExposed(&janela)) return 1;
    if (argc > 2 && QString(argv[2]) == "digitos") {
        janela.StringGrid1->setFocus();
        for (const char* tecla : {"3", "7", "9", "1"})
            QTest::keyClicks(janela.StringGrid1, tecla);
        janela.Jogo().Verificar();
    }
    QTest::qWait(200);
    return janela.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
