// main() for the test programs that paint (drawing, PDF pages): text needs a
// QGuiApplication before any test runs, and no display is needed or may be available.
#include "render/UnitSomadoDesenho.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
#ifndef _WIN32
    // Qt for Windows has no offscreen platform: there the tests draw with the windows one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    testing::InitGoogleTest(&argc, argv);
    QGuiApplication aplicacao(argc, argv);
    // Same mapping as the program's start-up: the board font is not installed on Linux.
    SubstituirFontesEmFalta();
    return RUN_ALL_TESTS();
}
