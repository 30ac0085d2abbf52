#include "ui/Arranque.h"

#include "game/Recuperacao.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The windows under test start exactly as the program's do: same fonts, translations and
// style sheet, so a test cannot see a window the user never gets.
int main(int argc, char** argv) {
#ifndef _WIN32
    // Qt for Windows has no offscreen platform: there the tests draw with the windows one.
    // The offscreen platform's own screen (800 × 600) is smaller than the window; the tests
    // get a common desktop's instead, 1920 × 1080 at 96 dpi.
    QTemporaryDir pasta;
    const QByteArray plataforma = qgetenv("QT_QPA_PLATFORM");
    if ((plataforma.isEmpty() || plataforma == "offscreen") && pasta.isValid()) {
        QFile ecra(pasta.filePath(QStringLiteral("ecra.json")));
        if (ecra.open(QIODevice::WriteOnly) &&
            ecra.write(R"({"screens": [{"name": "Ecra", "x": 0, "y": 0, "width": 1920,
                "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})") > 0) {
            ecra.close();
            qputenv("QT_QPA_PLATFORM",
                    "offscreen:configfile=" + QFile::encodeName(ecra.fileName()));
        } else {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
    }
#endif
    TAplicacaoSomado aplicacao(argc, argv);
    // The windows keep the player's statistics in the user's data folder: never the real one.
    QStandardPaths::setTestModeEnabled(true);
    PrepararAplicacao(aplicacao);
    // A test program that died mid-game left its game for recovery, and the next window would
    // ask about it with a box nobody answers: those are given up first.
    TRecuperacao recuperacao(TRecuperacao::PastaPredefinida());
    while (!recuperacao.TomarAbandonado().isEmpty())
        recuperacao.EsquecerAbandonado();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
