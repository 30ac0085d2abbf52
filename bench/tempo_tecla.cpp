// Time from a key press on the board to the repainted grid: a digit typed into the current
// cell (which moves on), the left arrow back to it and Delete, each followed by the grid's
// repaint, over and over. It starts as the program does and prints the median, 90th percentile
// and maximum in microseconds. The grid paints into memory on Qt's offscreen platform:
//   QT_QPA_PLATFORM=offscreen build/bench/tempo_tecla [N]
#include "ui/Arranque.h"
#include "ui/GrelhaTabuleiro.h"
#include "ui/UnitMain.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// One key through the application, as the keyboard delivers it, then the grid painted at
// once rather than when the event loop gets to it.
qint64 TeclaAteRepintar(QWidget& AGrelha, QWidget& AVista, int ATecla, Qt::KeyboardModifiers AMod,
                        const QString& ATexto) {
    QElapsedTimer cronometro;
    cronometro.start();
    QKeyEvent prima(QEvent::KeyPress, ATecla, AMod, ATexto);
    QApplication::sendEvent(&AGrelha, &prima);
    QKeyEvent solta(QEvent::KeyRelease, ATecla, AMod, ATexto);
    QApplication::sendEvent(&AGrelha, &solta);
    QApplication::sendPostedEvents();
    AVista.repaint();
    return cronometro.nsecsElapsed() / 1000;
}

} // namespace

int main(int argc, char** argv) {
    TAplicacaoSomado aplicacao(argc, argv);
    const int vezes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    const std::unique_ptr<TFormMain> formMain = IniciarPrograma(aplicacao);
    formMain->show();
    QTimer::singleShot(200, [&] {
        QWidget& grelha = *formMain->StringGrid1;
        QWidget& vista = *formMain->StringGrid1->viewport();
        grelha.setFocus();
        QApplication::processEvents();
        std::vector<qint64> tempos;
        for (int i = 0; i < vezes; ++i) {
            tempos.push_back(TeclaAteRepintar(grelha, vista, Qt::Key_5, Qt::NoModifier, "5"));
            tempos.push_back(TeclaAteRepintar(grelha, vista, Qt::Key_Left, Qt::NoModifier, {}));
            tempos.push_back(TeclaAteRepintar(grelha, vista, Qt::Key_Delete, Qt::NoModifier, {}));
        }
        std::sort(tempos.begin(), tempos.end());
        std::printf("%zu teclas: mediana %lld us, p90 %lld us, maximo %lld us\n", tempos.size(),
                    static_cast<long long>(tempos[tempos.size() / 2]),
                    static_cast<long long>(tempos[tempos.size() * 9 / 10]),
                    static_cast<long long>(tempos.back()));
        QCoreApplication::quit();
    });
    return aplicacao.exec();
}
