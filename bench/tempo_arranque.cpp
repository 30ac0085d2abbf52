// Time from process start to the main window's first paint, start-up generation included.
// It starts exactly as the program does and prints the milliseconds, then quits.
// Run under a real display server, for example: xvfb-run -a build/bench/tempo_arranque
#include "ui/Arranque.h"
#include "ui/GrelhaTabuleiro.h"
#include "ui/UnitMain.h"

#include <QTimer>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

// Milliseconds since the kernel started this process (its start time has a 10 ms grain).
double MilissegundosDesdeOInicio() {
    std::ifstream stat("/proc/self/stat");
    std::string linha;
    std::getline(stat, linha);
    // The fields after the command name (which may hold spaces) start after the last ')'.
    std::istringstream campos(linha.substr(linha.rfind(')') + 2));
    std::string campo;
    for (int i = 3; i <= 22; ++i)
        campos >> campo; // field 22: start time in clock ticks
    const double inicio = std::stod(campo) / static_cast<double>(sysconf(_SC_CLK_TCK));
    timespec agora{};
    clock_gettime(CLOCK_BOOTTIME, &agora);
    return (static_cast<double>(agora.tv_sec) + agora.tv_nsec / 1e9 - inicio) * 1000.0;
}

class TPrimeiraPintura : public QObject {
protected:
    bool eventFilter(QObject* AObjecto, QEvent* AEvento) override {
        if (AEvento->type() == QEvent::Paint && !FVista) {
            FVista = true;
            std::printf("%.0f\n", MilissegundosDesdeOInicio());
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(AObjecto, AEvento);
    }

private:
    bool FVista = false;
};

} // namespace

int main(int argc, char** argv) {
    TAplicacaoSomado aplicacao(argc, argv);
    const std::unique_ptr<TFormMain> formMain = IniciarPrograma(aplicacao);
    TPrimeiraPintura observador;
    formMain->StringGrid1->viewport()->installEventFilter(&observador);
    formMain->show();
    return aplicacao.exec();
}
